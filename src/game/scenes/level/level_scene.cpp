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
#include "game/scenes/editor/editor_scene.h"
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

namespace {

template <typename T>
void deleteAndClear(T*& object) {
  delete object;
  object = nullptr;
}

}  // namespace

SCENE_CARD_GAME_LEVEL::~SCENE_CARD_GAME_LEVEL() {
  QEL::fLog("START ~SCENE_CARD_GAME_LEVEL()");
  for (QEL::QC_SPRITE*& sprite : cardsLibrarySprites) deleteAndClear(sprite);
  for (QEL::QC_SPRITE*& sprite : multiplierSprites) deleteAndClear(sprite);
  deleteAndClear(highlightSprite);
  deleteAndClear(specialCardSprite);
  deleteAndClear(backingSprite);
  deleteAndClear(backingDeckSprite);
  deleteAndClear(cardBackSprite2);
  deleteAndClear(cardBackSprite10);
  deleteAndClear(bonusCoverSprite);
  deleteAndClear(backgroundSprite);
  deleteAndClear(frameNumberMoneyBackgroundSprite);
  deleteAndClear(resultPackNameBackgroundSprite);
  for (QEL::QC_SPRITE*& sprite : resultFrameSprites) deleteAndClear(sprite);
  for (QEL::QC_SPRITE*& sprite : skittleSprites) deleteAndClear(sprite);
  deleteAndClear(shadowSprite);
  deleteAndClear(cardPiles);
  for (CARD*& card : cards) deleteAndClear(card);
  deleteAndClear(cardFlights);
  // A container leaves its widget tree in place (the widgets may hold images the next scene
  // uses); only the containers go.
  for (QEL::QC_GUI_CONTAINER** container :
       {&guiContainer1, &guiContainer2, &stockContainer, &pauseContainer, &shopContainer,
        &moneyContainer, &finishContainer, &optionsContainer, &trophyContainer,
        &creditsContainer, &hintContainer, &bannerContainer, &purchaseContainer}) {
    deleteAndClear(*container);
  }
  for (POINTS_POPUP& popup : pointsPopup) deleteAndClear(popup.coin);
  gIsPaused = 0;
  QEL::fLog("END ~SCENE_CARD_GAME_LEVEL()");
}

void SCENE_CARD_GAME_LEVEL::fInit() {
  gSceneKind = 4;
  isInitFinished = false;
  isLevelFinished = false;
  cardShadowOffsetX = -3;
  cardShadowOffsetY = -7;
  highlightOffsetX = 0;
  highlightOffsetY = 0;

  const bool levelInRange = gCurrentLevel >= 0 && gCurrentLevel < kLevelCount;
  if (!gTenthFrameBonus && levelInRange) ++gLevelAttempts[gCurrentLevel];
  QEL::fLog("START INIT! --- SCENE_CARD_GAME_LEVEL");

  const bool playerInRange = gCurrentPlayer >= 0 && gCurrentPlayer < kMaxPlayers;
  if (playerInRange && !gPlayers[gCurrentPlayer].isFullscreen && QEL::qcGAME != nullptr) {
    QEL::qcGAME->fSetResolution(1024, 768, false);
  }

  animationState = 0;
  countOfSpecialCardsOnScene = 0;
  levelResult = LEVEL_RESULT{-1, -1, -1, 0, -1};
  levelMoney = 0;
  currentMultiplier = 1;
  highestMultiplier = 1;
  actionPoints = 0;
  clockMs = 0;
  defaultTimeToDecreaseActionPointsByOnePoint =
      getTextFloat(L"defaultTimeToDecreaseActionPointsByOnePoint");
  numberOfActionPointsToIncreaseMultiplier = getTextIntW(L"numberOfActionPointsToIncreaseMultiplier");

  isInstantStrike = false;
  draggedSlider = -1;
  isRestartPending = false;
  pulseSpeed = 50.0f;
  jokersUsed = 0;
  reshufflesUsed = 0;
  for (int32_t i = 0; i < MAX_LAYOUT_CARDS; ++i) {
    cardsLeftAtReshuffle[i] = 0;
    cardsLeftAtJoker[i] = 0;
  }

  isTutorial = gCurrentLevel == 0 && gGameMode == 0 &&
               getLevelResult(gCurrentPlayer, 1, kResultField) == 0;

  subscribeScenePacks({"", "interface", "interface/pause_window", "interface/shop",
                       "interface/options", "interface/options/skittles",
                       "interface/options/backs", "interface/options/types",
                       "interface/finish_window", "interface/trophy", "interface/trophy/trophies",
                       "interface/credits", "interface/skittles", "interface/multiplier",
                       "interface/backgrounds", "interface/hints", "cards",
                       "main_menu/change_player/panel"});
  std::srand(static_cast<unsigned>(std::time(nullptr)));

  selectedCard = -1;
  selectedPileCard = -1;
  hoveredCard = -1;
  hoveredPile = -1;
  isLeftButtonDown = false;
  isRightButtonDown = false;
  isJokerMode = false;
  // The font table is global: every later user of this font sees it white.
  if (QEL::QC_FONT* font = findFont(100, 3)) font->fSetColor(0xFFFFFFFFu);
  zLayerMax = TOP_Z_LAYER;
  zLayerMin = BOTTOM_Z_LAYER;

  cardWidth = CARD_WIDTH;
  cardHeight = CARD_HEIGHT;
  for (int32_t i = 0; i < MAX_LAYOUT_CARDS; ++i) {
    delete cards[i];
    cards[i] = new CARD();
    cards[i]->init(i);
    cards[i]->setZLayerRange(zLayerMax, zLayerMin);
  }
  delete cardPiles;
  cardPiles = new CARD_PILES();
  cardPiles->setCardWidth(cardWidth);
  cardPiles->init();
  cardPiles->setScene(this);

  createPlayScreenSprites();

  delete cardFlights;
  cardFlights = new CARD_FLIGHTS();
  cardFlights->init();

  cardSlideDistance = 200;
  windowSlideDistance = 700;
  bannerSlideDistance = 200;
  sliderMinX = 317.0f;
  sliderMaxX = 673.0f;
  messageState = 0;

  loadLevel(gCurrentLevel);

  // The tutorial hands out a joker until its joker hint has been shown in this run; the
  // player file is not written here.
  if (isTutorial && !gHintShown[7] && playerInRange && gPlayers[gCurrentPlayer].jokers == 0) {
    gPlayers[gCurrentPlayer].jokers = 1;
  }

  createPlayScreenWidgets();
  // The pause, shop, finish, options, trophy, credits and hint windows, the banner, the
  // purchase panel, the points pop-ups and the end of the start-up are built with the
  // level's windows.
}
