#include "game/scenes/editor/editor_scene.h"

#include "game/card.h"
#include "game/game_globals.h"

SCENE_CARD_GAME_EDITOR::SCENE_CARD_GAME_EDITOR() = default;

SCENE_CARD_GAME_EDITOR::~SCENE_CARD_GAME_EDITOR() {
  for (CARD*& card : cards) {
    delete card;
    card = nullptr;
  }
}

void SCENE_CARD_GAME_EDITOR::fUpdate() {
  // Built with the editor.
}

void SCENE_CARD_GAME_EDITOR::fDraw() {
  // Built with the editor.
}

void SCENE_CARD_GAME_EDITOR::fInit() {
  gSceneKind = 5;
  subscribeScenePacks({"", "cards", "interface/backgrounds", "cards/editor", "cards/editor/cards",
                       "cards/editor/cards/diamonds", "cards/editor/cards/clubs",
                       "cards/editor/cards/hearts", "cards/editor/cards/spades",
                       "cards/editor/cards/back", "cards/editor/special_cards",
                       "cards/editor/special_cards/diamonds", "cards/editor/special_cards/clubs",
                       "cards/editor/special_cards/hearts", "cards/editor/special_cards/spades",
                       "cards/editor/special_cards/back"});
  // Editor cards are drawn see-through and are moved where they are drawn.
  for (int32_t i = 0; i < MAX_CARDS; ++i) {
    delete cards[i];
    cards[i] = new CARD();
    cards[i]->init(i);
    cards[i]->editorCard = true;
    cards[i]->setZLayerRange(TOP_LAYER, BOTTOM_LAYER);
  }
  // The screen size, card images, widgets and the level loading are built with the editor.
}

void SCENE_CARD_GAME_EDITOR::fMouseMove() {
  // Built with the editor.
}

void SCENE_CARD_GAME_EDITOR::fKeyDown(int32_t) {
  // Built with the editor.
}

void SCENE_CARD_GAME_EDITOR::fKeyUp(int32_t) {
  // Built with the editor.
}
