#pragma once
// The scene in which one frame (one level) is played: the card model it owns (piles, flights,
// layout slots), the frame's counters, the play screen's sprites, buttons and labels, the
// dealing and gathering of the cards, the card and pile under the pointer, the clicks that
// select and match cards, the removal of a pair with its rewards, the windows (pause, shop,
// finish, options, trophy, credits, hints, banner, purchase panel, points pop-ups) and the
// drawing. Each window's widgets are built by its own file (window_*.cpp, banner.cpp, ...);
// the update and the show operations fill and open them. The frame's course lives in the
// update: the deal-in and leave phases, the window state machine, the action points, the
// landings and the end of the frame; the results, trophies, bonuses, hints, shop and scene
// transitions each have their own file.
#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "game/level_results.h"
#include "game/scenes/base_scene.h"
#include "game/scenes/scene_widgets.h"

namespace QEL {
class QC_FONT;
class QC_GUI_BUTTON5;
class QC_GUI_CONTAINER;
class QC_GUI_OBJECT;
class QC_GUI_WLABEL;
class QC_SPRITE;
class QC_TEXTURE;
}  // namespace QEL
class CARD;
class CARD_PILES;
struct PLAYER_RECORD;
class CARD_FLIGHTS;

// The tenth frame's bonus balls are played in a new level scene; these carry its state
// across the replacement of one level scene by another.
extern uint8_t gTenthFrameBonus;  // the tenth frame is being replayed for its bonus balls
extern uint8_t gTenthFrameSecondBonus;  // the second bonus ball after a bonus strike
extern int32_t gTenthFrameKind;  // 3 spare or 4 strike: the result that granted the bonus
extern int32_t gTenthFrameBall1;  // the tenth frame's first ball, kept for the spare's bonus
// The tenth frame's first play was stored as the level's result: its bonus balls complete that
// record whatever the stored best was, so no ball of the frame is lost.
extern uint8_t gTenthFrameRecorded;

// The level's geometry shares the editor's segment and crossing tests (editor/card_geometry.h).

// Plays the "gui_fly" effect from its start.
void playGuiFlySound();
// A random point 100 beyond one of the picture's four edges.
void pickPointBeyondEdge(float& x, float& y);
// The roll notation of a frame's result for the current level: "X" a strike, "/" a spare or a
// separator, numbers for the balls ("7/2", "X/5/3", "XXX").
std::wstring formatResultText(const LEVEL_RESULT& result);
// Rewrites the running score of every played frame of the current pack (current player and
// mode), by ten-pin rules.
void calculatePackScore();

// windowState: each window is open, sliding in or sliding out (the banner fades in and out).
namespace window_state {
constexpr int32_t NONE = 0;
constexpr int32_t SHOP_OPEN = 1, SHOP_OPENING = 2, SHOP_CLOSING = 3;
constexpr int32_t PAUSE_OPEN = 4, PAUSE_OPENING = 5, PAUSE_CLOSING = 6;
constexpr int32_t FINISH_OPEN = 7, FINISH_OPENING = 8, FINISH_CLOSING = 9;
constexpr int32_t OPTIONS_OPEN = 10, OPTIONS_OPENING = 11, OPTIONS_CLOSING = 12;
constexpr int32_t TROPHY_OPEN = 13, TROPHY_OPENING = 14, TROPHY_CLOSING = 15;
constexpr int32_t CREDITS_OPEN = 16, CREDITS_OPENING = 17, CREDITS_CLOSING = 18;
constexpr int32_t BANNER_SHOWN = 19, BANNER_FADING_IN = 20, BANNER_FADING_OUT = 21;
}  // namespace window_state

// messageState: the purchase panel that stands over the shop.
namespace message_state {
constexpr int32_t NONE = 0, OPEN = 1, OPENING = 2, CLOSING = 3;
}  // namespace message_state

// One rising "+points" pop-up: a label and a coin drawn with it.
struct POINTS_POPUP {
  static constexpr float FREE = -100.0f;
  QEL::QC_GUI_WLABEL* label = nullptr;  // in the pop-ups' container
  QEL::QC_SPRITE* coin = nullptr;  // owned by the scene
  float rise = FREE;  // pixels still to rise
  int32_t points = 0;
};

class SCENE_CARD_GAME_LEVEL : public BASE_SCENE {
 public:
  static constexpr int32_t MAX_LAYOUT_CARDS = 300;
  static constexpr int32_t CARD_WIDTH = 75;
  static constexpr int32_t CARD_HEIGHT = 116;
  static constexpr int32_t TOP_Z_LAYER = 100;
  static constexpr int32_t BOTTOM_Z_LAYER = -100;

  SCENE_CARD_GAME_LEVEL();
  ~SCENE_CARD_GAME_LEVEL() override;

  void fUpdate() override;
  void fDraw() override;
  // Builds the whole scene in one pass: the frame's state, the card model, the level, the
  // play screen and every window; it ends with the layout waiting to be dealt in.
  void fInit() override;
  void fMouseMove() override;
  void fKeyDown(int32_t code) override;
  void fKeyUp(int32_t code) override;

  // Start-up of the frame's counters and the pointer's state, of the cards, piles, flights
  // and sprites, then of the play screen: its sprites, then (after the level is loaded) its
  // buttons and labels.
  void resetFrameState();
  void resetSelection();
  void createCardModel();
  void createPlayScreenSprites();
  void createPlayScreenWidgets();
  // Start-up of the windows, in the order the start-up builds them. Every window rests in
  // place from the start; its window state and slide decide whether and where it shows.
  void createPauseWindow();
  void createShopWindow();
  // The shop's prices with the player's trophy discount, fixed for the scene's life.
  void computeShopPrices();
  void createFinishWindow();
  void createOptionsWindow();
  void createTrophyWindow();
  void createCreditsWindow();
  void createBanner();
  void createPurchasePanel();
  void createHintPanel();
  void createPointsPopups();
  // The last stretch of the start-up: resting places, slide distances and the deal-in phase.
  void finishStartUp();
  void recordRestingPlaces();

  // The options window's volume sliders. One mapping serves opening the window, a click on a
  // track, a drag and its release: volume 0 at sliderMinX, 1 at sliderMaxX.
  float knobXForVolume(float volume) const;
  float volumeForKnobX(float x) const;
  // Both knobs to the current player's volumes (done as the options window opens).
  void placeVolumeKnobs();

  // Group animations of the cards through the flights; each sets the flights' busy flag and
  // animationState. Off the screen: the layout and the piles' holders.
  void dealOutCards();
  // From the deck back to where each card lay, with its angle.
  void dealInCards();
  // Every card on the table and every pile holder to the deck.
  void gatherPileCards();
  // Step to the next or previous level (0-200) and leave this one.
  void nextLevel();
  void previousLevel();
  // A card whose fly-away flight has ended leaves the table (layout card) or its pile.
  void removeFlownCard(CARD* card);
  void updatePointsPopups();
  // Number of table cards that card i overlaps; moves its zLayer just above (below) them.
  int32_t layerAboveOverlapping(int32_t cardId);
  int32_t layerBelowOverlapping(int32_t cardId);

  // Parses Levels/Level_<index>.xml, lays it out and deals the stock and piles.
  void loadLevel(int32_t index);
  // Parses the level file relative to the current directory into levelDocument; a missing
  // or broken file is logged and leaves the document empty (an empty level).
  void loadLevelDocument(int32_t index);
  void removeAllCards();
  // The developer's export of the layout as it lies: the cards on the table with their dealt
  // values (and the level's own numbers) into levelDocument, then into the current level's
  // file. False, logged, when the file could not be written; the old file then stays.
  void writeLevel();
  bool saveLevel();
  // Lays out levelDocument: the level's numbers (corrected where the play cannot use them)
  // and every card with its over and under lists.
  void readLevel();
  // Values for the random cards; the cards nothing covers turn face up.
  void dealRandomValues();

  // Play rules and geometric tests.
  // How many cards of the over list are still on the table; 0: the card is free.
  int32_t countCardsOver(int32_t cardId) const;
  // Ranks (value % 13 + 2, 777 the joker); never a pair while the joker is being placed.
  bool isMatchingPair(int32_t rankA, int32_t rankB) const;
  // Whether levelResult beats bestLevelResult (an equal one counts as better).
  bool isBetterResult() const;
  // Bounds included.
  static bool isPointInRect(float x, float y, float centreX, float centreY, float width,
                            float height);
  bool isPointerOverCard(int32_t cardId) const;
  // Whether a corner of card a lies inside card b: not symmetric.
  bool cardsOverlap(int32_t cardA, int32_t cardB) const;
  // Frame of the card atlas: set 0 faces, 1 skittle faces, 2 backs (by back number), 3 joker.
  static int32_t getCardFrame(int32_t value, int32_t set);
  void setPauseWindowOpen();

  // Drawing. The card pictures sit off the card's centre by (-3, -7) turned with the card.
  static float rotatedImageOffsetX(float angle);
  static float rotatedImageOffsetY(float angle);
  // One picture of the current card atlas, 75 x 116 about its centre, at the card's place.
  void drawCardPicture(int32_t frame, float x, float y, float angle, float scaleX, uint32_t color);
  void drawHighlight(float x, float y, float angle, float scaleX, uint32_t alpha);
  void drawLayoutCard(const CARD& card);
  void drawStock();
  void drawReservePiles();
  void drawFlyingCards();
  // The layout cards on the table, by layer and in id order within a layer.
  void drawLayout();
  // Brings layerOrder up to date when a card has changed layer or left or joined the table;
  // otherwise it costs one pass over the slots.
  void refreshLayerOrder();
  void placeBarsAndWindows(int32_t gaugeFrame);
  // The y a window is drawn at: it comes down while opening and goes back up on leaving.
  static float windowOffset(float slide, bool slidingOut, float range);
  int32_t multiplierGaugeFrame() const;
  // Each window's pieces at their slid places; called by fDraw in its order.
  void drawShopWindow();
  void drawPauseWindow();
  void drawFinishWindow();
  void drawOptionsWindow();
  void drawTrophyWindow();
  void drawCreditsWindow();
  void drawPurchasePanel();
  void drawBanner();
  void drawPointsPopups();
  // The hint strip, its text and the highlights and arrow of the hint on show (under the
  // windows), and the shop's own guides (over the purchase panel).
  void drawHintLayers();
  void drawShopHintGuides();
  // The hint arrow with its tip at (x, y), bobbing.
  void drawHintArrowAt(float x, float y);
  // The tutorial's shared blink: moves towards the bound it is heading for and turns there.
  float nextBlinkAlpha(float low, float high);
  static uint32_t whiteWithAlpha(float alpha);
  // The current player's record, or a blank one when no player is current.
  static const PLAYER_RECORD& currentPlayerOrBlank();
  // The play screen's and the finish window's texts of the pack's name and the frame's number.
  static std::wstring packNameText();
  static std::wstring frameNumberText();

  // Writes Statistics/<session>/level_number_<level>_<attempt>_<result>.txt for the frame
  // just finished (nothing on the tenth frame until its bonus balls are played).
  void saveStatisticsOfLevel();
  // The result part of the statistics file's name; false when the frame writes no file.
  bool statisticsResultCode(std::string& code) const;

  // Called back by the piles.
  void finishLevel();
  // A turnover has ended a ball: the skittles it knocked down go into levelResult and the
  // ball boxes. The one place a ball of the frame is recorded before the frame ends.
  void recordBall();
  void showResultBanner(int32_t kind);
  void showHint(int32_t n);
  void closeHint();

  // Clicks. The left button plays the frame: the volume sliders of the options window, the
  // stock, selecting a card, matching a pair, placing the joker.
  void onLeftClick();
  // Each returns true when the click was its own (the click goes no further).
  bool clickVolumeSliders(float x, float y);
  bool clickStock();
  bool clickReservePileTop();
  // False when the hovered card cannot be taken (blocked, filtered, none).
  bool clickLayoutCard();
  // The tutorial steps that name the cards they let the player take.
  bool isTakeableInTutorial(int32_t cardId) const;

  // Where removePair takes a card from: a layout slot, or the top of a reserve pile (by its
  // 0-based index); NO_CARD (index -1) as the partner of one card alone.
  enum PAIR_SOURCE : int32_t { NO_CARD = -1, LAYOUT_SLOT = 1, PILE_TOP = 2 };
  // Takes a matched pair off the table and pays for it; kind B NO_CARD: one card alone (the
  // developer's D key). The caller has tested the match and clears its own selection.
  void removePair(int32_t kindA, int32_t indexA, int32_t kindB, int32_t indexB);
  // The cards under a removed layout card lose it from their over lists.
  void releaseCardsUnder(int32_t cardId);
  // The steps of a pair's removal, in the order removePair takes them.
  bool isRemovableCard(int32_t kind, int32_t index) const;
  void pickPointBeyondEdgeForPair(float& edgeX, float& edgeY);
  void closeHintsEndedByPair(int32_t kindA, int32_t indexA, int32_t kindB, int32_t indexB);
  void showHintedCardsPlain();
  void flyPairAway(int32_t kindA, int32_t indexA, int32_t kindB, int32_t indexB, float edgeX, float edgeY,
                   float& popupX, float& popupY);
  void payForPair(int32_t kindA, int32_t indexA, int32_t kindB, int32_t indexB, float popupX, float popupY);
  void drawBonusCardsOfPair(int32_t kindA, int32_t indexA, int32_t kindB, int32_t indexB);
  void flyLayoutCardAway(int32_t cardId, float edgeX, float edgeY);
  void flyPileTopAway(int32_t pile, float x, float y);
  // One more action point; the multiplier follows and the countdown to the next loss restarts.
  void addActionPoint();
  // The bonus-card lottery for a draw of 0-99.
  void payBonusCardPrize(int32_t draw);

  // The layout and the card model, owned.
  pugi::xml_document levelDocument;
  CARD* cards[MAX_LAYOUT_CARDS] = {};
  CARD_PILES* cardPiles = nullptr;
  CARD_FLIGHTS* cardFlights = nullptr;
  int32_t cardWidth = CARD_WIDTH;
  int32_t cardHeight = CARD_HEIGHT;
  int32_t selectedCard = -1;
  int32_t animationState = 0;

  // The level file's numbers (read by readLevel).
  int32_t countOfCards = 0;
  int32_t cardsLeft = 0;  // layout cards still on the table
  int32_t maximumCardID = -1;
  int32_t numberOfBonusCards = 0;
  int32_t numberOfCardsInStockPile = 0;
  int32_t numberOfReservePiles = 0;

  // The frame.
  int32_t turnoversAtStart = 0;
  int32_t turnoversLeft = 0;  // 99 or more: unlimited
  int32_t countOfSpecialCardsOnScene = 0;  // skittles still standing
  bool isInstantStrike = false;
  bool isLevelFinished = false;
  bool isJokerMode = false;
  bool needToFinishAfterMessage = false;
  LEVEL_RESULT levelResult;
  LEVEL_RESULT bestLevelResult;  // score unused
  bool isTutorial = false;
  int32_t hintStep = 0;

  // Play economy.
  float defaultTimeToDecreaseActionPointsByOnePoint = 0.0f;
  int32_t numberOfActionPointsToIncreaseMultiplier = 0;
  int32_t clockMs = 0;  // milliseconds of play in this frame
  int32_t levelMoney = 0;  // money earned in this frame

  // Statistics of the frame: cardsLeft at each use, in order of use.
  int32_t reshufflesUsed = 0;
  int32_t jokersUsed = 0;
  int32_t cardsLeftAtReshuffle[MAX_LAYOUT_CARDS] = {};
  int32_t cardsLeftAtJoker[MAX_LAYOUT_CARDS] = {};

  // Shop counters of the frame.
  int32_t shopMoneySpent = 0;
  int32_t placesBought = 0;
  int32_t reshufflesBought = 0;
  int32_t jokersBought = 0;

  // Slides and windows.
  int32_t cardSlideDistance = 0;
  int32_t windowSlideDistance = 0;
  int32_t bannerSlideDistance = 0;
  float sliderMinX = 0.0f;
  float sliderMaxX = 0.0f;
  bool isRestartPending = false;
  int32_t messageState = 0;
  int32_t windowState = 0;  // 0 none; open, sliding in, sliding out: 1-3 shop, 4-6 pause, ...
  bool isInitFinished = false;  // the interface exists: reloading a level refreshes its labels

  float nextSceneType = 0.0f;  // what to do when the closing window has gone
  // Each window's slide: starts at its slide distance and is run down to 0 in 0.3 s.
  float shopSlide = 0.0f;
  float pauseSlide = 0.0f;
  float finishSlide = 0.0f;
  float optionsSlide = 0.0f;
  float trophySlide = 0.0f;
  float creditsSlide = 0.0f;
  float purchaseSlide = 0.0f;
  int32_t trophyId = 0;
  int32_t shopMessageItem = 0;  // 0 reserve place, 1 reshuffle, 2 joker
  int32_t bonusCardType = 0;  // 1-5
  // The one card tutorial step 27 lets the player take (with a reserve-pile card).
  static constexpr int32_t TUTORIAL_ONLY_SLOT = 10;
  int32_t hintedCardA = -1;  // the two slots tutorial steps 2, 3 and 9 let the player take
  int32_t hintedCardB = -1;
  int32_t hintPileIndex = -1;  // the reserve pile whose bonus card the tutorial points at
  bool isFrameFinished = false;  // the frame is over; the update ends it
  bool isFreePairOnTable = false;
  int32_t isBonusBanner = 0;  // 1 the banner shows a bonus card, 0 a frame result
  int32_t bonusMoney = 0;  // what a money bonus card gave
  int32_t nextActionPointDecreaseMs = 0;  // clockMs at which the next action point is lost
  int32_t transitionState = 0;  // 0 in play, 1 the layout flies in, 2 it flies out
  float leaveTimer = 0.0f;  // slide of the interface bars: 0 in view, 200 out of view
  float frameTime = 0.0f;  // seconds of the current update step
  float savedAngles[MAX_LAYOUT_CARDS] = {};  // the layout's angles while it is gathered
  float bannerFade = 200.0f;  // slide of the banner: 200 while none is up, falls to 0 as it shows
  float blinkAlpha = 255.0f;  // the tutorial highlights' shared blink value and direction
  float blinkDirection = -1.0f;
  float hintArrowPhase = 0.0f;  // seconds of the hint arrow's bob; showHint starts it at 0

  // Selection, pointer and layers.
  int32_t selectedPileCard = -1;  // the selected reserve-pile top as pile index + 1, -1 none
  int32_t hoveredCard = -1;
  int32_t hoveredPile = -1;  // 0 the stock, k reserve pile k
  bool isLeftButtonDown = false;
  bool isRightButtonDown = false;
  int32_t zLayerMax = TOP_Z_LAYER;
  int32_t zLayerMin = BOTTOM_Z_LAYER;
  // The slots on the table ordered by (zLayer, id): the drawing order, and read from the end
  // layer by layer, the hover's search order (refreshLayerOrder).
  int32_t layerOrder[MAX_LAYOUT_CARDS] = {};
  int32_t layerOrderCount = 0;
  int32_t draggedSlider = -1;  // 0 sound, 1 music
  float dragOffset = 0.0f;  // pointer x minus knob x when the drag began

  // Economy and drawing values of the start-up.
  int32_t currentMultiplier = 1;
  int32_t highestMultiplier = 1;
  int32_t actionPoints = 0;
  float pulseSpeed = 50.0f;
  int32_t cardShadowOffsetX = -3;
  int32_t cardShadowOffsetY = -7;
  int32_t highlightOffsetX = 0;
  int32_t highlightOffsetY = 0;

  // Sprites, owned.
  QEL::QC_SPRITE* cardsLibrarySprites[3] = {};  // by card type
  QEL::QC_SPRITE* multiplierSprites[19] = {};  // 1-18
  QEL::QC_SPRITE* highlightSprite = nullptr;
  QEL::QC_SPRITE* specialCardSprite = nullptr;
  QEL::QC_SPRITE* backingSprite = nullptr;
  QEL::QC_SPRITE* backingDeckSprite = nullptr;
  QEL::QC_SPRITE* cardBackSprite2 = nullptr;
  QEL::QC_SPRITE* cardBackSprite10 = nullptr;
  QEL::QC_SPRITE* bonusCoverSprite = nullptr;
  QEL::QC_SPRITE* backgroundSprite = nullptr;
  QEL::QC_SPRITE* frameNumberMoneyBackgroundSprite = nullptr;
  QEL::QC_SPRITE* resultPackNameBackgroundSprite = nullptr;
  QEL::QC_SPRITE* resultFrameSprites[3] = {};
  QEL::QC_SPRITE* skittleSprites[11] = {};
  QEL::QC_SPRITE* shadowSprite = nullptr;

  // The 13 widget containers, owned with their widget trees.
  QEL::QC_GUI_CONTAINER* guiContainer1 = nullptr;  // play-screen labels
  QEL::QC_GUI_CONTAINER* guiContainer2 = nullptr;  // play-screen buttons
  QEL::QC_GUI_CONTAINER* stockContainer = nullptr;  // the labels on the stock
  QEL::QC_GUI_CONTAINER* pauseContainer = nullptr;
  QEL::QC_GUI_CONTAINER* shopContainer = nullptr;
  QEL::QC_GUI_CONTAINER* moneyContainer = nullptr;
  QEL::QC_GUI_CONTAINER* finishContainer = nullptr;
  QEL::QC_GUI_CONTAINER* optionsContainer = nullptr;
  QEL::QC_GUI_CONTAINER* trophyContainer = nullptr;
  QEL::QC_GUI_CONTAINER* creditsContainer = nullptr;
  QEL::QC_GUI_CONTAINER* hintContainer = nullptr;
  QEL::QC_GUI_CONTAINER* bannerContainer = nullptr;
  QEL::QC_GUI_CONTAINER* purchaseContainer = nullptr;

  // Play-screen buttons and labels (in the containers' trees).
  QEL::QC_GUI_BUTTON5* reshuffleButton = nullptr;
  QEL::QC_GUI_BUTTON5* jokerButton = nullptr;
  QEL::QC_GUI_BUTTON5* pauseButton = nullptr;
  QEL::QC_GUI_BUTTON5* shopButton = nullptr;
  QEL::QC_GUI_WLABEL* reshufflesLabel = nullptr;
  QEL::QC_GUI_WLABEL* jokersLabel = nullptr;
  QEL::QC_GUI_WLABEL* rollLabels[3] = {};
  QEL::QC_GUI_WLABEL* packNameLabel = nullptr;
  QEL::QC_GUI_WLABEL* frameLabel = nullptr;
  QEL::QC_GUI_WLABEL* moneyLabel = nullptr;
  QEL::QC_GUI_WLABEL* multiplierLabel = nullptr;
  QEL::QC_GUI_WLABEL* turnoversLabel = nullptr;
  QEL::QC_GUI_WLABEL* turnoversTextLabel = nullptr;
  QEL::QC_TEXTURE* imageForButton = nullptr;  // scratch of the start-up

  // Where the sliding sprites rest, read back from them at the end of the start-up; the
  // drawing places each at its resting y minus its slide.
  float frameNumberMoneyBackgroundHomeY = 0.0f;
  float resultPackNameBackgroundHomeY = 0.0f;
  float multiplierHomeY = 0.0f;
  float pauseBackgroundHomeY = 0.0f;
  float shopBackgroundHomeY = 0.0f;
  float finishBackgroundHomeY = 0.0f;
  float optionsBackgroundHomeY = 0.0f;
  float trophyBackgroundHomeY = 0.0f;
  float trophyImageHomeY = 0.0f;
  float orangeStripeHomeY = 0.0f;
  float creditsBackgroundHomeY = 0.0f;
  float purchaseBackgroundHomeY = 0.0f;
  float resultFrameHomeY = 0.0f;
  float soundSliderLineHomeY = 0.0f;
  float musicSliderLineHomeY = 0.0f;

  // ---- Pause window (pauseContainer, ids 15-25) ----
  QEL::QC_SPRITE* pauseBackground = nullptr;
  QEL::QC_GUI_BUTTON5* continueButton = nullptr;  // 15
  QEL::QC_GUI_BUTTON5* restartButton = nullptr;  // 16
  QEL::QC_GUI_BUTTON5* optionsButton = nullptr;  // 17
  QEL::QC_GUI_BUTTON5* framesButton = nullptr;  // 18, disabled in professional mode
  QEL::QC_GUI_BUTTON5* mainMenuButton = nullptr;  // 19

  // ---- Shop window (shopContainer, ids 26-28 and 31-35) ----
  QEL::QC_SPRITE* shopBackground = nullptr;
  QEL::QC_GUI_BUTTON5* placeButton = nullptr;  // 26: one more reserve pile
  QEL::QC_GUI_BUTTON5* shopReshuffleButton = nullptr;  // 27
  QEL::QC_GUI_BUTTON5* shopJokerButton = nullptr;  // 28
  QEL::QC_GUI_BUTTON5* shopCloseButton = nullptr;  // 31
  QEL::QC_GUI_WLABEL* placePriceLabel = nullptr;  // 32, child of the place button
  QEL::QC_GUI_WLABEL* reshufflePriceLabel = nullptr;  // 33
  QEL::QC_GUI_WLABEL* jokerPriceLabel = nullptr;  // 34
  // Price of one more reserve pile by the number in play (1-5); 5 repeats the fifth price.
  int32_t placePrices[6] = {};
  int32_t reshufflePrice = 0;
  int32_t jokerPrice = 0;
  float priceFactor = 1.0f;  // the trophy discount already in the prices: 1, 0.95 or 0.9

  // ---- Finish window (finishContainer, ids 36-45) ----
  QEL::QC_SPRITE* finishBackground = nullptr;
  QEL::QC_GUI_BUTTON5* finishContinueButton = nullptr;  // 36
  QEL::QC_GUI_BUTTON5* finishRestartButton = nullptr;  // 37
  QEL::QC_GUI_BUTTON5* finishFramesButton = nullptr;  // 38, disabled in professional mode
  QEL::QC_GUI_WLABEL* finishFrameLabel = nullptr;  // 39
  QEL::QC_GUI_WLABEL* finishResultLabel = nullptr;  // 40
  QEL::QC_GUI_WLABEL* finishBestResultLabel = nullptr;  // 41
  QEL::QC_GUI_WLABEL* finishPackNameLabel = nullptr;  // 42

  // ---- Options window (optionsContainer, ids 46-74) ----
  QEL::QC_SPRITE* optionsBackground = nullptr;
  QEL::QC_GUI_BUTTON5* optionsCloseButton = nullptr;  // 46
  QEL::QC_GUI_BUTTON5* creditsButton = nullptr;  // 53
  QEL::QC_SPRITE* soundSliderLine = nullptr;
  QEL::QC_SPRITE* musicSliderLine = nullptr;
  QEL::QC_GUI_BUTTON5* soundKnob = nullptr;  // 51
  QEL::QC_GUI_BUTTON5* musicKnob = nullptr;  // 52
  QEL::QC_GUI_BUTTON5* backButtons[12] = {};  // 60-71, by back number - 1; the chosen one disabled
  QEL::QC_GUI_BUTTON5* typeButtons[3] = {};  // 72-74, by card type; the chosen one disabled
  // Each box exists unticked and ticked; the one showing the setting stands at the box's
  // place (box + (33, 40)), the other out of sight.
  int32_t fullscreenBoxX = 0;
  int32_t fullscreenBoxY = 0;
  int32_t muteAllBoxX = 0;
  int32_t muteAllBoxY = 0;
  QEL::QC_GUI_BUTTON5* fullscreenButton = nullptr;  // 47
  QEL::QC_GUI_BUTTON5* muteAllButton = nullptr;  // 48
  QEL::QC_GUI_BUTTON5* fullscreenTickedButton = nullptr;  // 49
  QEL::QC_GUI_BUTTON5* muteAllTickedButton = nullptr;  // 50
  // The rows of six skittles beside the sliders, white or green by the volume; owned, drawn
  // by the window.
  QEL::QC_SPRITE* soundSkittlesWhite[6] = {};
  QEL::QC_SPRITE* soundSkittlesGreen[6] = {};
  QEL::QC_SPRITE* musicSkittlesWhite[6] = {};
  QEL::QC_SPRITE* musicSkittlesGreen[6] = {};
  float skittleRowDistance = 0.0f;  // the music row lies this far below the sound row
  float soundSkittleY[6] = {};  // resting y of the sound row's places

  // ---- Trophy window (trophyContainer, ids 75-79) ----
  QEL::QC_SPRITE* trophyBackground = nullptr;
  QEL::QC_SPRITE* trophyImage = nullptr;  // the frame the trophy's picture stands in
  QEL::QC_SPRITE* orangeStripe = nullptr;
  QEL::QC_GUI_BUTTON5* trophyCloseButton = nullptr;  // 75
  QEL::QC_GUI_WLABEL* trophyNameLabel = nullptr;  // 76
  QEL::QC_GUI_WLABEL* trophyDescriptionLabel = nullptr;  // 77
  QEL::QC_GUI_WLABEL* trophyPrizeLabel = nullptr;  // 78
  QEL::QC_SPRITE* trophyImages[24] = {};  // trophy k's picture at k - 1, all at one place
  // Beside the prize text; showTrophyWindow places it at rest, the drawing slides it.
  QEL::QC_SPRITE* trophyDollar = nullptr;

  // ---- Credits window (creditsContainer, ids 80-81) ----
  QEL::QC_SPRITE* creditsBackground = nullptr;
  QEL::QC_GUI_BUTTON5* creditsCloseButton = nullptr;  // 80

  // ---- Result banner and bonus-card window (bannerContainer, id 82) ----
  QEL::QC_GUI_WLABEL* bannerLabel = nullptr;  // 82
  // Above 0: the banner's text is a sum of money and the big dollar stands left of it.
  int32_t bannerDollarMode = 0;
  QEL::QC_SPRITE* bannerDollar = nullptr;

  // ---- Purchase panel over the shop (purchaseContainer, ids 83-86; messageState) ----
  QEL::QC_SPRITE* purchaseBackground = nullptr;
  QEL::QC_GUI_BUTTON5* purchaseConfirmButton = nullptr;  // 83
  QEL::QC_GUI_BUTTON5* purchaseCloseButton = nullptr;  // 84
  QEL::QC_GUI_WLABEL* purchaseTextLabel = nullptr;  // 85
  QEL::QC_GUI_WLABEL* purchaseTitleLabel = nullptr;  // 86

  // ---- Hint panel (hintContainer, id 87) ----
  QEL::QC_GUI_WLABEL* hintLabel = nullptr;  // 87
  QEL::QC_SPRITE* hintShade = nullptr;  // the dark strip behind the hint text
  QEL::QC_SPRITE* hintArrow = nullptr;  // points down; drawn where the hint on show points
  QEL::QC_SPRITE* shopHighlight = nullptr;  // on the shop button
  QEL::QC_SPRITE* jokerHighlight = nullptr;  // on the joker button
  QEL::QC_SPRITE* shopJokerHighlight = nullptr;  // on the shop's joker button

  // ---- Points pop-ups (moneyContainer, ids 88-92) ----
  // Five slots, each a label in moneyContainer and an owned coin; rise FREE is a free slot.
  POINTS_POPUP pointsPopup[5];

  // ---- The frame's course: update, windows, results, trophies, bonuses, hints, shop ----

  // nextSceneType: what applyNextSceneType does once a window has closed (exact values).
  enum NEXT_SCENE : int32_t {
    BACK_TO_PLAY = 0,
    TO_FRAMES = 1,
    RESTART = 3,
    TO_OPTIONS = 4,
    TO_MAIN_MENU = 5,
    TO_NEXT_LEVEL = 6,
    TO_PAUSE = 7,
    TO_CREDITS = 9,
    TO_FINISH = 10,
    WAIT_FOR_FINISH_BUTTON = 12,  // the tenth frame's finish window in professional mode
    TO_BONUS_BALLS = 13,
  };
  // transitionState.
  enum PHASE : int32_t { IN_PLAY = 0, DEALING_IN = 1, LEAVING = 2 };
  // animationState.
  enum DEAL : int32_t { NO_DEAL = 0, GATHERING = 1, DEALING_BACK = 2, RESHUFFLING = 3, FLYING_IN = 4,
                        FLYING_OUT = 5 };
  // Result kinds of a frame (LEVEL_RESULT::result).
  using enum LEVEL_RESULT::FRAME_KIND;

  // One update with the given time step (seconds); fUpdate passes the scene's own.
  void updateLevel(float timeStep);
  // The steps of an update; each returns false when the update ends there.
  void pauseOnFocusLoss();
  bool runScenePhase();
  bool runDealIn();
  bool runLeave();
  bool runWindowSlides();
  void onWindowOpened(int32_t openState);
  // What follows a window's closing; false when the update ends there.
  bool onWindowClosed(int32_t closingState);
  // A window's button slides it out (with the swish, unless another window follows at once).
  void slideWindowOut(int32_t closingState, float& slide, bool swish);  bool runBannerFade();
  bool runPurchasePanelSlide();
  void decayActionPoints();
  bool readPlayScreenButtons();
  bool readWindowButtons();
  void advanceReshuffle();
  bool landFlownCards();
  void checkFrameEnd();
  void landPileHolders();
  bool isWindowOpen() const { return windowState != window_state::NONE; }
  bool noCardFlies() const;

  // Windows' buttons, by widget id (the update reads the ids from the containers).
  bool onPlayScreenButton(int32_t id);
  void onPauseButton(int32_t id);
  void onFinishButton(int32_t id);
  void onOptionsButton(int32_t id);
  void onCreditsButton(int32_t id);
  void onTrophyButton(int32_t id);
  void onShopButton(int32_t id);
  void onPurchaseButton(int32_t id);
  void openShop();
  void openPauseWindow();
  void showShopItemHints();
  void setFullscreen(bool on);
  void setMuteAll(bool on);
  void chooseCardBack(int32_t back);
  void chooseCardType(int32_t type);

  // Results and the end of a frame.
  void saveResultsOfLevel();
  void scoreOrdinaryFrame();
  void scoreBonusPlay();
  void storeResultIfBetter();
  void writeRollLabels();
  void writeFirstBallLabels(int32_t knocked);
  void openNextLevel();
  // Skittles down in the frame for the "knocked_down" texts of a kind.
  int32_t knockedDownCount(int32_t kind) const;
  void showFinishWindow();
  bool isTenthFrame() const;

  // Trophies. checkTrophies: -1 when it has started the tenth frame's bonus balls (the scene
  // is leaving), else 0.
  int32_t checkTrophies();
  void checkMoneyTrophies();
  void showTrophyWindow(int32_t id);

  // Bonus cards, jokers, reshuffles and pop-ups.
  void showBonusCardWindow(int32_t type);
  void showPointsPopup(int32_t points, float x, float y);
  void useJoker();
  void useReshuffle();
  void reshuffleCards();

  // Hints and the shop's purchase panel.
  bool findFreePair() const;
  void showShopMessage(int32_t item);
  void buyShopItem(int32_t item);
  void refreshShopItems();
  int32_t priceOf(int32_t item) const;

  // Scene transitions.
  void applyNextSceneType();
  void startLeave();
  void restartInPlace();
  void reloadAfterLeave();
  void refreshLabels();
  // The two labels on the stock follow it wherever the piles put it.
  void placeStockLabels();
  void flyCardsIn();
  // The piles' own count of reserve piles in play (a bought pile counts).
  int32_t reservePilesInPlay() const;

  // The level file was read and lays at least one skittle: only such a level can end a frame
  // with a result.
  bool isLevelPlayable = false;
  int32_t loadedLevel = -1;  // the level the layout was last read from
  // The deck card each reserve pile's holder is flying away with (null: none): the landing
  // takes that card off its pile even when the stock has been dealt onto the pile meanwhile.
  CARD* flyingPileCards[5] = {};
  float bannerHoldUntil = 0.0f;  // clockMs until which the banner stays fully shown
  int32_t isPurchaseAllowed = 0;  // 1 while the open purchase panel offers a purchase
};
