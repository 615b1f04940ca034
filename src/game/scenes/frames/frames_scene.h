#pragma once
// The current pack as a bowling score sheet: ten frame buttons, one per level of the pack,
// each showing the balls of its frame, and below them the sheet with every frame's balls,
// its running score and the pack's total. A click on an open frame starts its level; the
// close button goes back to the level packs.
// Files: start_up.cpp builds the screen, score_sheet.cpp the balls and the sheet,
// update.cpp runs the slide, the clicks and the request for the next scene, drawing.cpp draws.
#include <cstdint>
#include <string>

#include "game/level_results.h"
#include "game/scenes/base_scene.h"

namespace QEL {
class QC_GUI_BUTTON5;
class QC_GUI_CONTAINER;
class QC_SPRITE;
class QC_TEXTURE;
}  // namespace QEL

// What the sheet writes for one frame's balls: "X" a strike, "/" a spare, "-" a ball that
// knocked nothing down, the count otherwise, and nothing for a ball not (yet) played. The
// tenth frame's three balls are read from the counts themselves, whatever kind is stored.
struct FRAME_BALLS {
  std::wstring first;
  std::wstring second;
  std::wstring third;  // the tenth frame only
};
FRAME_BALLS frameBalls(const LEVEL_RESULT& frame, bool isTenthFrame);

class SCENE_CARD_GAME_FRAMES : public BASE_SCENE {
 public:
  // Widget ids, unique within their container. Frame i (0-9) has the button FIRST_FRAME + i
  // with the labels FIRST_FRAME_NUMBER + i, FIRST_BUTTON_BALL1 + i and FIRST_BUTTON_BALL2 + i;
  // on the sheet, column k (0-10, 10 the total) has FIRST_HEAD + k and FIRST_SCORE + k, and
  // frame i its balls FIRST_SHEET_BALL1 + i and FIRST_SHEET_BALL2 + i.
  enum WIDGET_ID : int32_t {
    CLOSE = 0,
    FIRST_FRAME = 1,
    FIRST_FRAME_NUMBER = 11,
    FIRST_BUTTON_BALL1 = 21,
    FIRST_BUTTON_BALL2 = 31,
    BUTTON_BALL3 = 41,
    PACK_TITLE = 42,
    FIRST_HEAD = 43,
    FIRST_SCORE = 54,
    FIRST_SHEET_BALL1 = 65,
    FIRST_SHEET_BALL2 = 75,
    SHEET_BALL3 = 85,
  };
  enum class SLIDE : int32_t { IDLE = 0, IN = 1, OUT = 2 };
  enum class NEXT_SCENE : int32_t { NONE = -1, LEVEL_PACKS = 0, LEVEL = 1, MAIN_MENU = 2 };

  SCENE_CARD_GAME_FRAMES();
  ~SCENE_CARD_GAME_FRAMES() override;

  void fInit() override;
  void fUpdate() override;
  void fDraw() override;
  // Only the developer key 'O' acts.
  void fKeyDown(int32_t code) override;

  // Asks for the scene nextSceneType names (this scene's own numbers, NONE asks for nothing).
  void applyNextSceneType();

  QEL::QC_TEXTURE* imageForButton = nullptr;  // the image of the widget being built
  QEL::QC_SPRITE* background = nullptr;  // the pack's own background
  QEL::QC_SPRITE* packNameImage = nullptr;  // the plate under the pack's name
  QEL::QC_SPRITE* panelImage = nullptr;  // the plate under the score sheet
  QEL::QC_GUI_CONTAINER* upperContainer = nullptr;  // frames 1-5 and the pack's name
  QEL::QC_GUI_CONTAINER* lowerContainer = nullptr;  // frames 6-10, close and the sheet
  QEL::QC_GUI_BUTTON5* closeButton = nullptr;
  QEL::QC_GUI_BUTTON5* frameButtons[kLevelsPerPack] = {};
  SLIDE slideState = SLIDE::IDLE;
  int32_t slideDistance = 700;
  // Resting places read back at the end of the start-up; the slides move from them.
  float panelY = 0.0f;
  float packNameY = 0.0f;
  float slideOffset = 700.0f;  // what remains of the slide, falling to 0
  float timeStep = 0.0f;  // seconds of this update
  NEXT_SCENE nextSceneType = NEXT_SCENE::NONE;

 private:
  void createFrameButtons();
  void createScoreSheet();
  // The current player's stored result of frame i (0-9) of the current pack, current mode.
  LEVEL_RESULT frameResult(int32_t frame) const;
  void readBackRestingPlaces();
  // A click on frame button id of either container.
  void onFrameClicked(int32_t id);
  void startLeaving(NEXT_SCENE next);
};
