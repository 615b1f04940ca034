// The pause window: continue, restart, options, the frames and the main menu, over the dimmed
// table. Built once by the start-up at its resting place; the update opens it and answers its
// buttons, the drawing slides it.
#include <iterator>

#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level/widget_ids.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "primitives/sprite.h"

namespace {

struct PAUSE_BUTTON {
  int32_t id;
  const char* image;
  float y;
  const wchar_t* caption;
};

constexpr float BACKGROUND_X = 153.0f;
constexpr float BACKGROUND_Y = 45.0f;
constexpr float TITLE_X = 525.0f;
constexpr float TITLE_Y = 96.0f;
constexpr float BUTTON_X = 510.0f;
constexpr float CAPTION_X = 23.0f;  // relative to its button
constexpr float CAPTION_Y = 5.0f;

constexpr PAUSE_BUTTON BUTTONS[] = {
    {pause_widget::CONTINUE, "interface/pause_window button_continue.png", 213.0f, L"continue"},
    {pause_widget::RESTART, "interface/pause_window button_restart.png", 312.0f, L"restart"},
    {pause_widget::OPTIONS, "interface/pause_window button_options.png", 413.0f, L"options"},
    {pause_widget::FRAMES, "interface/pause_window button_frames.png", 507.0f, L"frames"},
    {pause_widget::MAIN_MENU, "interface/pause_window button_menu.png", 603.0f, L"main_menu"},
};

}  // namespace

void SCENE_CARD_GAME_LEVEL::createPauseWindow() {
  startSceneWindow(pauseContainer, pauseBackground, "interface/pause_window background.png", BACKGROUND_X,
                   BACKGROUND_Y);
  createLabel(pause_widget::TITLE, getText(L"pause"), TITLE_X, TITLE_Y, pauseContainer, findFont(42, 0), 0);

  QEL::QC_GUI_BUTTON5** members[] = {&continueButton, &restartButton, &optionsButton, &framesButton,
                                     &mainMenuButton};
  for (size_t i = 0; i < std::size(BUTTONS); ++i) {
    const PAUSE_BUTTON& row = BUTTONS[i];
    QEL::QC_GUI_BUTTON5* button = addSceneButton(nullptr, row.id, row.image, BUTTON_X, row.y);
    // The frames scene belongs to the junior mode: the button shows but never answers.
    if (row.id == pause_widget::FRAMES && gGameMode == 1) button->fDisable();
    pauseContainer->fAdd(button);
    createChildLabel(pause_widget::FIRST_CAPTION + static_cast<int32_t>(i), getText(row.caption), CAPTION_X, CAPTION_Y,
                     button, findFont(33, 0), 0);
    *members[i] = button;
  }
}

void SCENE_CARD_GAME_LEVEL::drawPauseWindow() {
  drawSceneWindow(pauseBackground, pauseContainer);
}
