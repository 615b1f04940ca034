// The finish window: the frame's result and the best result so far, and the way on (the next
// frame, a restart, the frames). Built once by the start-up; showFinishWindow writes its texts
// and opens it, the update answers its buttons.
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level/widget_ids.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "primitives/sprite.h"

namespace {

constexpr float BACKGROUND_X = 153.0f;
constexpr float BACKGROUND_Y = 45.0f;
constexpr float BUTTON_X = 513.0f;
constexpr float CONTINUE_Y = 407.0f;
constexpr float FRAMES_Y = 514.0f;
constexpr float RESTART_Y = 620.0f;
constexpr float CAPTION_X = 30.0f;  // relative to its button
constexpr float CAPTION_Y = 8.0f;
constexpr float LABEL_X = 512.0f;
constexpr float PACK_NAME_X = 515.0f;
constexpr float PACK_NAME_Y = 99.0f;
constexpr float FRAME_Y = 182.0f;
constexpr float RESULT_Y = 265.0f;
constexpr float BEST_RESULT_Y = 312.0f;

}  // namespace

void SCENE_CARD_GAME_LEVEL::createFinishWindow() {
  startSceneWindow(finishContainer, finishBackground, "interface/finish_window background.png", BACKGROUND_X,
                   BACKGROUND_Y);

  finishContinueButton = addSceneButton(finishContainer, finish_widget::CONTINUE,
                                        "interface/finish_window button_continue.png", BUTTON_X, CONTINUE_Y);
  finishFramesButton =
      addSceneButton(nullptr, finish_widget::FRAMES, "interface/finish_window button_frames.png", BUTTON_X, FRAMES_Y);
  // The frames scene belongs to the junior mode: the button shows but never answers.
  if (gGameMode == 1) finishFramesButton->fDisable();
  finishContainer->fAdd(finishFramesButton);
  finishRestartButton = addSceneButton(finishContainer, finish_widget::RESTART,
                                       "interface/finish_window button_restart.png", BUTTON_X, RESTART_Y);
  QEL::QC_FONT* captionFont = findFont(36, 0);
  createChildLabel(finish_widget::CONTINUE_CAPTION, getText(L"continue"), CAPTION_X, CAPTION_Y, finishContinueButton,
                   captionFont, 0);
  createChildLabel(finish_widget::RESTART_CAPTION, getText(L"restart"), CAPTION_X, CAPTION_Y, finishRestartButton,
                   captionFont, 0);
  createChildLabel(finish_widget::FRAMES_CAPTION, getText(L"frames"), CAPTION_X, CAPTION_Y, finishFramesButton,
                   captionFont, 0);

  finishPackNameLabel = createLabel(finish_widget::PACK_NAME_LABEL, packNameText(), PACK_NAME_X, PACK_NAME_Y,
                                    finishContainer, findFont(42, 0), 0);
  finishFrameLabel =
      createLabel(finish_widget::FRAME_LABEL, frameNumberText(), LABEL_X, FRAME_Y, finishContainer, findFont(36, 3), 0);
  finishResultLabel = createLabel(finish_widget::RESULT_LABEL, getText(L"result") + L": ", LABEL_X, RESULT_Y,
                                  finishContainer, findFont(36, 0), 0);
  finishBestResultLabel = createLabel(finish_widget::BEST_RESULT_LABEL, getText(L"best_result") + L": ", LABEL_X,
                                      BEST_RESULT_Y, finishContainer, findFont(36, 1), 0);
}

void SCENE_CARD_GAME_LEVEL::drawFinishWindow() {
  drawSceneWindow(finishBackground, finishContainer);
}
