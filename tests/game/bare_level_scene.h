#pragma once
// A level scene with its piles, flights and 300 empty card slots, as its start-up makes them,
// but without a renderer, resources or level file: the play logic's tests and the level
// reader's fuzz target start from here. Needs nothing of the test framework.
#include <memory>

#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/scenes/level/level_scene.h"

inline std::unique_ptr<SCENE_CARD_GAME_LEVEL> makeBareLevelScene() {
  gNumberOfPlayers = 1;
  for (uint8_t& shown : gHintShown) shown = 0;
  auto scene = std::make_unique<SCENE_CARD_GAME_LEVEL>();
  scene->cardPiles = new CARD_PILES();
  scene->cardPiles->setCardWidth(75);
  scene->cardPiles->init();
  scene->cardPiles->setScene(scene.get());
  scene->cardFlights = new CARD_FLIGHTS();
  scene->cardFlights->init();
  for (int32_t i = 0; i < SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS; ++i) {
    scene->cards[i] = new CARD();
    scene->cards[i]->init(i);
    scene->cards[i]->setZLayerRange(100, -100);
  }
  scene->numberOfActionPointsToIncreaseMultiplier = 5;
  scene->cardSlideDistance = 200;
  scene->windowSlideDistance = 700;
  scene->bannerSlideDistance = 200;
  return scene;
}
