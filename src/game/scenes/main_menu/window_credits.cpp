// The credits window, reached from the options window and leading back to it.
#include "game/scenes/main_menu/main_menu_scene.h"

#include "game/fonts_sounds.h"
#include "game/scenes/main_menu/menu_widgets.h"
#include "game/scenes/scene_widgets.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "primitives/sprite.h"

namespace {

constexpr float kBackgroundX = 153.0f;
constexpr float kBackgroundY = 45.0f;
constexpr float kCentreX = 495.0f;
constexpr float kTitleY = 97.0f;
constexpr float kCloseX = 688.0f;
constexpr float kCloseY = 628.0f;

struct CREDIT_ROW {
  float y;
  const wchar_t* key;
  int32_t fontSize;
  int32_t fontVariant;
};

// The two studio lines, then each role over the name under it.
constexpr CREDIT_ROW kLines[] = {
    {194.0f, L"credits_Ostvane", 36, 3},       {240.0f, L"credits_producer", 20, 0},
    {265.0f, L"credits_producer_name", 14, 0}, {338.0f, L"credits_partner_studio", 36, 3},
    {387.0f, L"credits_game_designer", 20, 0}, {412.0f, L"credits_game_designer_name", 14, 0},
    {459.0f, L"credits_2d_art", 20, 0},        {484.0f, L"credits_2d_art_name", 14, 0},
    {531.0f, L"credits_music", 20, 0},         {556.0f, L"credits_music_name", 14, 0},
    {603.0f, L"credits_tech", 20, 0},          {628.0f, L"credits_tessaro", 14, 0},
};

}  // namespace

void SCENE_CARD_GAME_MAINMENU::createCreditsWindow() {
  creditsContainer = new QEL::QC_GUI_CONTAINER();
  creditsBackground = makeSceneSprite("interface/credits background.png", kBackgroundX, kBackgroundY, 1);
  createLabel(CREDITS_LINE, getText(L"credits"), kCentreX, kTitleY, creditsContainer, findFont(42, 0), 0);
  for (const CREDIT_ROW& line : kLines)
    createLabel(CREDITS_LINE, getText(line.key), kCentreX, line.y, creditsContainer,
                findFont(line.fontSize, line.fontVariant), 0);
  creditsCloseButton =
      addSceneButton(creditsContainer, CREDITS_CLOSE_BUTTON, "interface button_close.png", kCloseX, kCloseY);
}

void SCENE_CARD_GAME_MAINMENU::onCreditsClick(int32_t id) {
  if (id == CREDITS_CLOSE_BUTTON) closeWindow(NEXT_OPTIONS);
}

void SCENE_CARD_GAME_MAINMENU::drawCreditsWindow(float distance) {
  main_menu::drawRaised(creditsBackground, homeY.creditsBackground, distance);
  creditsContainer->fSetPosition(0.0f, -distance, 0.0f);
  creditsContainer->fDraw();
}
