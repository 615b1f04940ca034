#pragma once
// The scene in which one frame (one level) is played. This is the scene's skeleton: the card
// model it owns (piles, flights, layout slots), the frame's counters that the piles read and
// write, its start-up as far as the card model goes, and the operations the piles call back.
// The widgets, drawing, input, results, hints and windows are still to be built; the members
// that stand for them say so.
#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "game/level_results.h"
#include "game/scenes/base_scene.h"

namespace QEL {
class QC_GUI_WLABEL;
}  // namespace QEL
class CARD;
class CARD_PILES;
class CARD_FLIGHTS;

// The tenth frame's bonus balls are played in a new level scene; these carry its state
// across the replacement of one level scene by another.
extern uint8_t gTenthFrameBonus;  // the tenth frame is being replayed for its bonus balls
extern uint8_t gTenthFrameSecondBonus;  // the second bonus ball after a bonus strike
extern int32_t gTenthFrameKind;  // 3 spare or 4 strike: the result that granted the bonus
extern int32_t gTenthFrameBall1;  // the tenth frame's first ball, kept for the spare's bonus

// The level's geometry shares the editor's segment and crossing tests (editor/card_geometry.h).

// Plays the "gui_fly" effect from its start.
void playGuiFlySound();
// Rewrites the running score of every played frame of the current pack (current player and
// mode), by ten-pin rules.
void calculatePackScore();

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
  // Sets the scene kind, creates the piles and flights, the frame's tuning numbers, the
  // attempt count and the tutorial flag, then loads the current level.
  void fInit() override;
  void fMouseMove() override;
  void fKeyDown(int32_t code) override;
  void fKeyUp(int32_t code) override;

  // Parses Levels/Level_<index>.xml, lays it out and deals the stock and piles.
  void loadLevel(int32_t index);
  // Parses the level file relative to the current directory into levelDocument; a missing
  // or broken file is logged and leaves the document empty (an empty level).
  void loadLevelDocument(int32_t index);
  void removeAllCards();
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

  // Writes Statistics/<session>/level_number_<level>_<attempt>_<result>.txt for the frame
  // just finished (nothing on the tenth frame until its bonus balls are played).
  void saveStatisticsOfLevel();
  // The result part of the statistics file's name; false when the frame writes no file.
  bool statisticsResultCode(std::string& code) const;

  // Called back by the piles.
  void finishLevel();
  void showResultBanner(int32_t kind);
  void showHint(int32_t n);
  void closeHint();

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

  // Labels the piles write; created with the scene's widgets (null until then).
  QEL::QC_GUI_WLABEL* rollLabels[3] = {};
  QEL::QC_GUI_WLABEL* turnoversLabel = nullptr;
};
