// The credits window, opened from the options window: who made the game, one row per role.
// Built once by the start-up; the update answers its close button.
#include "game/fonts_sounds.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level/widget_ids.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "primitives/sprite.h"

namespace {

struct CREDITS_ROW {
  float y;
  int32_t fontSize;
  int32_t fontVariant;
  const wchar_t* key;
};

constexpr float BACKGROUND_X = 153.0f;
constexpr float BACKGROUND_Y = 45.0f;
constexpr float ROWS_X = 495.0f;
constexpr float CLOSE_X = 688.0f;
constexpr float CLOSE_Y = 628.0f;

// Studio names large, role headings medium, the names under them small.
constexpr CREDITS_ROW ROWS[] = {
    {97.0f, 42, 0, L"credits"},
    {194.0f, 36, 3, L"credits_Ostvane"},
    {240.0f, 20, 0, L"credits_producer"},
    {265.0f, 14, 0, L"credits_producer_name"},
    {338.0f, 36, 3, L"credits_partner_studio"},
    {387.0f, 20, 0, L"credits_game_designer"},
    {412.0f, 14, 0, L"credits_game_designer_name"},
    {459.0f, 20, 0, L"credits_2d_art"},
    {484.0f, 14, 0, L"credits_2d_art_name"},
    {531.0f, 20, 0, L"credits_music"},
    {556.0f, 14, 0, L"credits_music_name"},
    {603.0f, 20, 0, L"credits_tech"},
    {628.0f, 14, 0, L"credits_tessaro"},
};

}  // namespace

void SCENE_CARD_GAME_LEVEL::createCreditsWindow() {
  startSceneWindow(creditsContainer, creditsBackground, "interface/credits background.png", BACKGROUND_X,
                   BACKGROUND_Y);
  for (const CREDITS_ROW& row : ROWS) {
    createLabel(credits_widget::ROWS, getText(row.key), ROWS_X, row.y, creditsContainer,
                findFont(row.fontSize, row.fontVariant), 0);
  }
  creditsCloseButton =
      addSceneButton(creditsContainer, credits_widget::CLOSE, "interface button_close.png", CLOSE_X, CLOSE_Y);
}

void SCENE_CARD_GAME_LEVEL::drawCreditsWindow() {
  drawSceneWindow(creditsBackground, creditsContainer);
}
