#include "game/scenes/level/level_scene.h"

#include <cstdlib>
#include <ctime>
#include <string>

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/players.h"
#include "game/texts.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/font.h"
#include "primitives/sprite.h"

uint8_t gTenthFrameBonus = 0;
uint8_t gTenthFrameSecondBonus = 0;
int32_t gTenthFrameKind = 0;
int32_t gTenthFrameBall1 = 0;
uint8_t gTenthFrameRecorded = 0;

SCENE_CARD_GAME_LEVEL::SCENE_CARD_GAME_LEVEL() = default;

SCENE_CARD_GAME_LEVEL::~SCENE_CARD_GAME_LEVEL() {
  QEL::fLog("START ~SCENE_CARD_GAME_LEVEL()");
  // The sprites: the play screen's, then the windows' in the order the start-up made them.
  for (QEL::QC_SPRITE*& sprite : cardsLibrarySprites) deleteOwned(sprite);
  for (QEL::QC_SPRITE*& sprite : multiplierSprites) deleteOwned(sprite);
  for (QEL::QC_SPRITE** sprite :
       {&highlightSprite, &specialCardSprite, &backingSprite, &backingDeckSprite, &cardBackSprite2, &cardBackSprite10,
        &bonusCoverSprite, &backgroundSprite, &frameNumberMoneyBackgroundSprite, &resultPackNameBackgroundSprite}) {
    deleteOwned(*sprite);
  }
  for (QEL::QC_SPRITE*& sprite : resultFrameSprites) deleteOwned(sprite);
  for (QEL::QC_SPRITE*& sprite : skittleSprites) deleteOwned(sprite);
  for (QEL::QC_SPRITE** sprite : {&shadowSprite, &pauseBackground, &shopBackground, &finishBackground,
                                  &optionsBackground, &soundSliderLine, &musicSliderLine}) {
    deleteOwned(*sprite);
  }
  for (QEL::QC_SPRITE** row : {soundSkittlesWhite, musicSkittlesWhite, soundSkittlesGreen, musicSkittlesGreen}) {
    for (int32_t i = 0; i < 6; ++i) deleteOwned(row[i]);
  }
  for (QEL::QC_SPRITE** sprite : {&trophyBackground, &trophyImage, &orangeStripe}) deleteOwned(*sprite);
  for (QEL::QC_SPRITE*& sprite : trophyImages) deleteOwned(sprite);
  for (QEL::QC_SPRITE** sprite : {&creditsBackground, &purchaseBackground, &hintShade, &hintArrow, &shopHighlight,
                                  &jokerHighlight, &shopJokerHighlight, &bannerDollar, &trophyDollar}) {
    deleteOwned(*sprite);
  }
  deleteOwned(cardPiles);
  for (CARD*& card : cards) deleteOwned(card);
  deleteOwned(cardFlights);
  // The widget trees go with their containers; an image a widget hands back stays loaded
  // while the next scene, already built, counts on it.
  for (QEL::QC_GUI_CONTAINER** container :
       {&guiContainer1, &guiContainer2, &stockContainer, &pauseContainer, &shopContainer, &finishContainer,
        &optionsContainer, &trophyContainer, &creditsContainer, &bannerContainer, &purchaseContainer, &hintContainer,
        &moneyContainer}) {
    deleteSceneContainer(*container);
  }
  for (POINTS_POPUP& popup : pointsPopup) {
    deleteOwned(popup.coin);
    popup.label = nullptr;  // went with moneyContainer
  }
  gIsPaused = 0;
  QEL::fLog("END ~SCENE_CARD_GAME_LEVEL()");
}
