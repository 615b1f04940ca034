#pragma once
// The scene in which one frame (one level) is played. This is the scene's skeleton: the card
// model it owns (piles, flights, layout slots), the frame's counters that the piles read and
// write, its start-up as far as the card model goes, and the operations the piles call back.
// The widgets, drawing, input, level-file reading, results, hints and windows are still to
// be built; the members that stand for them say so.
#include <cstdint>

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

class SCENE_CARD_GAME_LEVEL : public BASE_SCENE {
 public:
  static constexpr int32_t MAX_LAYOUT_CARDS = 300;
  static constexpr int32_t CARD_WIDTH = 75;
  static constexpr int32_t CARD_HEIGHT = 116;

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
  void removeAllCards();
  void readLevel();
  void dealRandomValues();

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

  // Labels the piles write; created with the scene's widgets (null until then).
  QEL::QC_GUI_WLABEL* rollLabels[3] = {};
  QEL::QC_GUI_WLABEL* turnoversLabel = nullptr;
};
