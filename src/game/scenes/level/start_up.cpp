// The level's start-up: the frame's state, the card model and the level, the play screen
// (its sprites, and after the level is loaded, since the stock labels follow where the level
// put the stock, its buttons and labels), then each window in turn (their own files) and the
// end: where the sliding pieces rest and the deal-in phase the first update starts from.
#include <cstdlib>
#include <ctime>
#include <string>

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/transform.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/fonts_sounds.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
#include "game/picture_size.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level/widget_ids.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/font.h"
#include "primitives/sprite.h"

namespace {

constexpr uint32_t ANISOTROPIC_FILTER = 3;
constexpr float TURNOVERS_TEXT_TURN = 0.9250245f;  // 53 degrees
constexpr float PARKED = -200.0f;  // out of sight until used

QEL::QC_SPRITE* makeFilteredSprite(const std::string& name) {
  QEL::QC_SPRITE* sprite = makeSceneSprite(name, 0.0f, 0.0f, 0);
  sprite->_renderState._filter = ANISOTROPIC_FILTER;
  return sprite;
}

QEL::QC_GUI_BUTTON5* makeButton(int32_t id, const char* image, float x, float y,
                                QEL::QC_TEXTURE*& imageForButton, QEL::QC_GUI_CONTAINER* container) {
  // The scene keeps the image of the button being built, as its start-up always has.
  imageForButton = getImage(image);
  auto* button = new QEL::QC_GUI_BUTTON5(id, imageForButton);
  button->fSetPosition(x, y, 0.0f);
  container->fAdd(button);
  return button;
}

float xOf(const QEL::QC_SPRITE* sprite) { return sprite->_node->_position.x; }
float yOf(const QEL::QC_SPRITE* sprite) {
  return sprite != nullptr && sprite->_node != nullptr ? sprite->_node->_position.y : 0.0f;
}

}  // namespace

void SCENE_CARD_GAME_LEVEL::fInit() {
  gSceneKind = scene_kind::LEVEL;
  isInitFinished = false;
  isFrameFinished = false;
  isLevelFinished = false;
  cardShadowOffsetX = -3;
  cardShadowOffsetY = -7;
  highlightOffsetX = 0;
  highlightOffsetY = 0;

  // The tenth frame's bonus balls replay an attempt already counted.
  const bool levelInRange = gCurrentLevel >= 0 && gCurrentLevel < kLevelCount;
  if (!gTenthFrameBonus && levelInRange) ++gLevelAttempts[gCurrentLevel];
  QEL::fLog("START INIT! --- SCENE_CARD_GAME_LEVEL");

  const bool playerInRange = gCurrentPlayer >= 0 && gCurrentPlayer < kMaxPlayers;
  if (playerInRange && !gPlayers[gCurrentPlayer].isFullscreen && QEL::qcGAME != nullptr) {
    QEL::qcGAME->fSetResolution(kPictureWidth, kPictureHeight, false);
  }

  resetFrameState();
  isTutorial = gCurrentLevel == 0 && gGameMode == 0 &&
               getLevelResult(gCurrentPlayer, 1, kResultField) == LOCKED;
  subscribeScenePacks({"", "interface", "interface/pause_window", "interface/shop",
                       "interface/options", "interface/options/skittles",
                       "interface/options/backs", "interface/options/types",
                       "interface/finish_window", "interface/trophy", "interface/trophy/trophies",
                       "interface/credits", "interface/skittles", "interface/multiplier",
                       "interface/backgrounds", "interface/hints", "cards",
                       "main_menu/change_player/panel"});
  // Every random choice of the level (dealing, reshuffles, the bonus lottery) draws from here.
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  resetSelection();
  createCardModel();

  loadLevel(gCurrentLevel);

  // The tutorial hands out a joker until its joker hint has been shown in this run; the
  // player file is not written here.
  if (isTutorial && !gHintShown[hint_step::CHOOSE_SHOP_JOKER] && playerInRange &&
      gPlayers[gCurrentPlayer].jokers == 0) {
    gPlayers[gCurrentPlayer].jokers = 1;
  }

  createPlayScreenWidgets();
  createPauseWindow();
  createShopWindow();
  createFinishWindow();
  createOptionsWindow();
  createTrophyWindow();
  createCreditsWindow();
  createBanner();
  createPurchasePanel();
  createHintPanel();
  finishStartUp();
}

void SCENE_CARD_GAME_LEVEL::resetFrameState() {
  animationState = 0;
  countOfSpecialCardsOnScene = 0;
  levelResult = LEVEL_RESULT{-1, -1, -1, 0, -1};
  levelMoney = 0;
  currentMultiplier = 1;
  highestMultiplier = 1;
  actionPoints = 0;
  clockMs = 0;
  defaultTimeToDecreaseActionPointsByOnePoint = getTextFloat(L"defaultTimeToDecreaseActionPointsByOnePoint");
  numberOfActionPointsToIncreaseMultiplier = getTextIntW(L"numberOfActionPointsToIncreaseMultiplier");

  isInstantStrike = false;
  draggedSlider = -1;
  isRestartPending = false;
  messageState = message_state::NONE;
  pulseSpeed = 50.0f;
  jokersUsed = 0;
  reshufflesUsed = 0;
  for (int32_t i = 0; i < MAX_LAYOUT_CARDS; ++i) {
    cardsLeftAtReshuffle[i] = 0;
    cardsLeftAtJoker[i] = 0;
  }
}

void SCENE_CARD_GAME_LEVEL::resetSelection() {
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
}

void SCENE_CARD_GAME_LEVEL::createCardModel() {
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
}

void SCENE_CARD_GAME_LEVEL::createPlayScreenSprites() {
  for (int32_t k = 1; k <= 3; ++k) {
    delete cardsLibrarySprites[k - 1];
    cardsLibrarySprites[k - 1] = makeFilteredSprite("cards cardsLibrary" + std::to_string(k) + ".png");
  }
  for (int32_t i = 1; i <= 18; ++i) {
    delete multiplierSprites[i];
    multiplierSprites[i] =
        makeSceneSprite("interface/multiplier " + std::to_string(i) + ".png", 915.0f, 14.0f, 1);
  }

  const float stockX = cardPiles != nullptr ? cardPiles->stockX : CARD_PILES::STOCK_X;
  const float stockY = cardPiles != nullptr ? cardPiles->stockY : CARD_PILES::STOCK_Y;
  delete highlightSprite;
  highlightSprite = makeFilteredSprite("cards highlighting.png");
  delete specialCardSprite;
  specialCardSprite = makeFilteredSprite("cards special.png");
  delete backingSprite;
  backingSprite = makeSceneSprite("interface backing.png", stockX, stockY, 0);
  delete backingDeckSprite;
  backingDeckSprite = makeSceneSprite("interface backingDeck.png", stockX, stockY, 0);
  delete cardBackSprite2;
  cardBackSprite2 = makeSceneSprite("cards/back 2.png", stockX, stockY, 0);
  delete cardBackSprite10;
  cardBackSprite10 = makeSceneSprite("cards/back 10.png", stockX, stockY, 0);
  delete bonusCoverSprite;
  bonusCoverSprite = makeSceneSprite("bonusCover.png", -500.0f, -500.0f, 0);
  delete backgroundSprite;
  backgroundSprite =
      makeSceneSprite("interface/backgrounds " + std::to_string(gCurrentPack + 1) + ".png", 0.0f, 0.0f, 1);
  backgroundSprite->fSetColor(0xFFD2D2D2u);
  delete frameNumberMoneyBackgroundSprite;
  frameNumberMoneyBackgroundSprite =
      makeSceneSprite("interface background_frameNumber_money.png", 536.0f, 12.0f, 1);
  delete resultPackNameBackgroundSprite;
  resultPackNameBackgroundSprite = makeSceneSprite("interface background_result_packName.png", 10.0f, 12.0f, 1);
  for (int32_t k = 0; k < 3; ++k) {
    delete resultFrameSprites[k];
    resultFrameSprites[k] =
        makeSceneSprite("interface result_frame.png", 157.0f + 25.0f * static_cast<float>(k), 40.0f, 0);
  }
  for (int32_t k = 0; k <= 10; ++k) {
    delete skittleSprites[k];
    skittleSprites[k] = makeSceneSprite("interface/skittles k" + std::to_string(k) + ".png", 1.0f, -1.0f, 1);
  }
}

void SCENE_CARD_GAME_LEVEL::createPlayScreenWidgets() {
  delete shadowSprite;
  shadowSprite = makeSceneSprite("interface shadow_black_square.png", 0.0f, 0.0f, 1);
  shadowSprite->fSetScale(kShadeWidth, kShadeHeight, 1.0f);
  shadowSprite->fSetColor(0x64000000u);

  deleteSceneContainer(guiContainer1);
  guiContainer1 = new QEL::QC_GUI_CONTAINER();
  deleteSceneContainer(guiContainer2);
  guiContainer2 = new QEL::QC_GUI_CONTAINER();

  const bool playerInRange = gCurrentPlayer >= 0 && gCurrentPlayer < kMaxPlayers;
  const PLAYER_RECORD noPlayer{};
  const PLAYER_RECORD& player = playerInRange ? gPlayers[gCurrentPlayer] : noPlayer;

  reshuffleButton = makeButton(play_screen_widget::RESHUFFLE_BUTTON, "interface button_reshuffles.png", 96.0f, 717.0f,
                               imageForButton, guiContainer2);
  reshufflesLabel = createChildLabel(play_screen_widget::RESHUFFLES_LABEL, numberToWString(player.reshuffles), 52.0f,
                                     24.0f, reshuffleButton, findFont(30, 0), 0);
  jokerButton = makeButton(play_screen_widget::JOKER_BUTTON, "interface button_joker.png", 933.0f, 713.0f,
                           imageForButton, guiContainer2);
  jokersLabel = createChildLabel(play_screen_widget::JOKERS_LABEL, numberToWString(player.jokers), -51.0f, 28.0f,
                                 jokerButton, findFont(30, 0), 0);
  pauseButton = makeButton(play_screen_widget::PAUSE_BUTTON, "interface button_pause.png", 64.0f, 624.0f,
                           imageForButton, guiContainer2);
  shopButton = makeButton(play_screen_widget::SHOP_BUTTON, "interface button_shop.png", 960.0f, 622.0f, imageForButton,
                          guiContainer2);

  std::wstring rollTexts[3];
  if (gTenthFrameBonus) {
    if (gTenthFrameKind == STRIKE) {
      rollTexts[0] = L"X";
      if (gTenthFrameSecondBonus) rollTexts[1] = L"X";
    } else if (gTenthFrameKind == SPARE) {
      rollTexts[0] = numberToWString(gTenthFrameBall1);
      rollTexts[1] = L"/";
    }
  }
  for (int32_t k = 0; k < 3; ++k) {
    // The ball box's position plus (0.2, 9), in double precision as the boxes were laid out.
    const float boxX = resultFrameSprites[k] != nullptr ? xOf(resultFrameSprites[k]) : 0.0f;
    const float boxY = resultFrameSprites[k] != nullptr ? yOf(resultFrameSprites[k]) : 0.0f;
    const float labelX = static_cast<float>(static_cast<double>(boxX) + 1.2);
    const float labelY = static_cast<float>(static_cast<double>(boxY) + 1.0);
    rollLabels[k] = createLabel(play_screen_widget::FIRST_BALL_LABEL + k, rollTexts[k], labelX - 1.0f, labelY + 8.0f,
                                guiContainer1, findFont(14, 0), 0);
  }

  packNameLabel = createLabel(play_screen_widget::PACK_NAME_LABEL, packNameText(), 363.0f, 62.0f, guiContainer1,
                              findFont(20, 0), 0);
  frameLabel =
      createLabel(play_screen_widget::FRAME_LABEL, frameNumberText(), 670.0f, 62.0f, guiContainer1, findFont(20, 0), 0);
  moneyLabel = createLabel(play_screen_widget::MONEY_LABEL, numberToWString(player.money), 835.0f, 38.0f, guiContainer1,
                           findFont(20, 0), 1);
  // The gauge's picture is laid out round where this font shows the multiplier from here.
  multiplierLabel = createLabel(play_screen_widget::MULTIPLIER_LABEL, L"x" + numberToWString(currentMultiplier), 974.0f,
                                68.0f, guiContainer1, findFont(42, 0), 0);

  deleteSceneContainer(stockContainer);
  stockContainer = new QEL::QC_GUI_CONTAINER();
  const float stockX = cardPiles != nullptr ? cardPiles->stockX : CARD_PILES::STOCK_X;
  const float stockY = cardPiles != nullptr ? cardPiles->stockY : CARD_PILES::STOCK_Y;
  turnoversLabel = createLabel(play_screen_widget::TURNOVERS_LABEL, numberToWString(turnoversLeft),
                               stockX - static_cast<float>(cardWidth / 2) - 18.0f,
                               stockY + static_cast<float>(cardHeight / 2) - 20.0f, stockContainer, findFont(20, 0), 0);
  turnoversTextLabel =
      createLabel(play_screen_widget::TURNOVERS_TEXT_LABEL, replaceBarsWithNewlines(getText(L"hint_18")), stockX - 7.0f,
                  stockY + 8.0f, stockContainer, findFont(14, 0), 0);
  QEL::QS_TRANSFORM3* turn = turnoversTextLabel->fGetTransform();
  turn->fSetRotationZ(turn->_rotation.z + TURNOVERS_TEXT_TURN);
}

std::wstring SCENE_CARD_GAME_LEVEL::packNameText() {
  return removeBars(getTextW(L"pack" + std::to_wstring(gCurrentPack + 1) + L"_name"));
}

std::wstring SCENE_CARD_GAME_LEVEL::frameNumberText() {
  const int32_t frame = ((gCurrentLevel % 10) + 10) % 10 + 1;
  return getText(L"frame") + L" " + numberToWString(frame);
}

void SCENE_CARD_GAME_LEVEL::finishStartUp() {
  hintedCardA = -1;
  hintedCardB = -1;
  bannerDollarMode = 0;
  delete bannerDollar;
  bannerDollar = makeSceneSprite("interface dollar_big.png", PARKED, PARKED, 0);
  createPointsPopups();
  delete trophyDollar;
  trophyDollar = makeSceneSprite("interface dollar.png", 0.0f, 0.0f, 0);

  // The card and pile under the pointer agree with where the pointer already is.
  fMouseMove();

  currentMultiplier = 1;
  cardSlideDistance = 200;
  windowSlideDistance = 700;
  bannerSlideDistance = 200;
  leaveTimer = static_cast<float>(cardSlideDistance);
  pauseSlide = static_cast<float>(windowSlideDistance);
  shopSlide = static_cast<float>(windowSlideDistance);
  finishSlide = static_cast<float>(windowSlideDistance);
  bannerFade = static_cast<float>(bannerSlideDistance);
  recordRestingPlaces();

  transitionState = 1;
  windowState = window_state::NONE;
  messageState = message_state::NONE;
  // The tenth frame's bonus balls deal in with the interface already in place.
  if (gCurrentLevel % 10 == 9 && gTenthFrameBonus) leaveTimer = 0.0f;

  // From here on a level read again (a restart in place) also rewrites the interface's labels.
  isInitFinished = true;
  QEL::fLog("END INIT! - SCENE_CARD_GAME_LEVEL");
}

void SCENE_CARD_GAME_LEVEL::recordRestingPlaces() {
  frameNumberMoneyBackgroundHomeY = yOf(frameNumberMoneyBackgroundSprite);
  resultPackNameBackgroundHomeY = yOf(resultPackNameBackgroundSprite);
  multiplierHomeY = yOf(multiplierSprites[1]);
  pauseBackgroundHomeY = yOf(pauseBackground);
  shopBackgroundHomeY = yOf(shopBackground);
  finishBackgroundHomeY = yOf(finishBackground);
  optionsBackgroundHomeY = yOf(optionsBackground);
  trophyBackgroundHomeY = yOf(trophyBackground);
  trophyImageHomeY = yOf(trophyImage);
  orangeStripeHomeY = yOf(orangeStripe);
  creditsBackgroundHomeY = yOf(creditsBackground);
  purchaseBackgroundHomeY = yOf(purchaseBackground);
  resultFrameHomeY = yOf(resultFrameSprites[0]);
  soundSliderLineHomeY = yOf(soundSliderLine);
  musicSliderLineHomeY = yOf(musicSliderLine);
}
