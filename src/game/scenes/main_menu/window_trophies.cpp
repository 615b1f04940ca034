// The trophies window: the 24 trophies six to a page in two columns and three rows, turned
// by the right arrow through four pages; a trophy not earned is covered.
#include "game/scenes/main_menu/main_menu_scene.h"

#include <string>

#include "game/fonts_sounds.h"
#include "game/players.h"
#include "game/scenes/main_menu/menu_widgets.h"
#include "game/scenes/scene_widgets.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"

using main_menu::placeSprite;
using main_menu::xOf;
using main_menu::yOf;

namespace {

constexpr float kBackgroundX = 6.0f;
constexpr float kBackgroundY = 46.0f;
constexpr float kProgressBallX = 378.0f;
constexpr float kProgressBallY = 632.0f;
constexpr float kProgressBallStep = 91.0f;  // one page further right
constexpr float kTitleX = 341.0f;
constexpr float kTitleY = 97.0f;
constexpr float kCloseX = 883.0f;
constexpr float kCloseY = 628.0f;
constexpr float kRightArrowX = 760.0f;
constexpr float kRightArrowY = 633.0f;
constexpr float kParked = -200.0f;
constexpr float kFirstRowY = 173.0f;
// From a trophy picture's corner: its name and description, its frame and its cover.
constexpr float kLabelOffsetX = 182.0f;
constexpr float kNameOffsetY = 14.0f;
constexpr float kDescriptionOffsetY = 54.0f;
constexpr float kFrameOffsetX = -34.0f;
constexpr float kFrameOffsetY = -20.0f;
constexpr float kCoverOffsetX = -25.0f;
constexpr float kCoverOffsetY = -10.0f;

std::wstring trophyText(int32_t number, const wchar_t* part) {
  return replaceBarsWithNewlines(getTextW(L"trophy_" + std::to_wstring(number) + part));
}

}  // namespace

void SCENE_CARD_GAME_MAINMENU::createTrophiesWindow() {
  trophiesContainer = new QEL::QC_GUI_CONTAINER();
  trophiesBackground = makeSceneSprite("main_menu/trophies background.png", kBackgroundX, kBackgroundY, 1);
  progressBall = makeSceneSprite("main_menu/trophies progress_ball.png", kProgressBallX, kProgressBallY, 0);
  dollarImage = makeSceneSprite("main_menu/trophies dollar.png", main_menu::kParkedX, main_menu::kParkedY, 0);
  hiddenTrophyImage = makeSceneSprite("main_menu/trophies hidden_trophy.png", 0.0f, 0.0f, 1);
  trophyImageBackground = makeSceneSprite("main_menu/trophies trophy_image_background.png", 0.0f, 0.0f, 1);
  trophyEarnedImage = makeSceneSprite("main_menu/trophies earned.png", 0.0f, 0.0f, 1);
  trophyNotEarnedImage = makeSceneSprite("main_menu/trophies not_earned.png", 0.0f, 0.0f, 1);
  createLabel(TROPHIES_TITLE, getText(L"trophies"), kTitleX, kTitleY, trophiesContainer, findFont(42, 0), 0);
  trophyGridX = 176;
  trophyColumnStep = 395;
  trophyRowStep = 139;
  trophyOffset = -7;
  for (int32_t t = 0; t < TROPHY_COUNT; ++t) {
    const bool firstPage = t < TROPHIES_PER_PAGE;
    const int32_t slot = t % TROPHIES_PER_PAGE;
    const float x = firstPage ? static_cast<float>(trophyGridX + (slot % 2) * trophyColumnStep) : kParked;
    const float y = firstPage ? kFirstRowY + static_cast<float>((slot / 2) * trophyRowStep) : kParked;
    trophyImages[t] = makeSceneSprite("main_menu/trophies/trophy_images " + std::to_string(t + 1) + ".png", x, y, 1);
    trophyLabels[t][0] = createLabel(FIRST_TROPHY_LABEL + 3 * t, L"Trophy name", x + kLabelOffsetX, y + kNameOffsetY,
                                     trophiesContainer, findFont(14, 0), 0);
    trophyLabels[t][1] = createLabel(FIRST_TROPHY_LABEL + 3 * t + 1, L"Description", x + kLabelOffsetX,
                                     y + kDescriptionOffsetY, trophiesContainer, findFont(13, 1), 0);
  }
  trophiesCloseButton =
      addSceneButton(trophiesContainer, TROPHIES_CLOSE_BUTTON, "interface button_close.png", kCloseX, kCloseY);
  trophiesLeftButton =
      addSceneButton(trophiesContainer, TROPHIES_LEFT_BUTTON, "main_menu/trophies button_left.png", kParked, kParked);
  trophiesRightButton = addSceneButton(trophiesContainer, TROPHIES_RIGHT_BUTTON, "main_menu/trophies button_right.png",
                                       kRightArrowX, kRightArrowY);
}

// The first six pictures' labels show whichever six trophies the page holds.
void SCENE_CARD_GAME_MAINMENU::fillTrophiesPage() {
  for (QEL::QC_SPRITE* image : trophyImages) placeSprite(image, kParked, kParked);
  for (int32_t slot = 0; slot < TROPHIES_PER_PAGE; ++slot) {
    const int32_t number = TROPHIES_PER_PAGE * trophiesPage + slot + 1;
    placeSprite(trophyImages[number - 1], static_cast<float>(trophyGridX + (slot % 2) * trophyColumnStep),
                kFirstRowY + static_cast<float>((slot / 2) * trophyRowStep));
    trophyLabels[slot][0]->fSetText(trophyText(number, L"_name"));
    trophyLabels[slot][1]->fSetText(trophyText(number, L"_description"));
  }
}

void SCENE_CARD_GAME_MAINMENU::onTrophiesClick(int32_t id) {
  if (id == TROPHIES_CLOSE_BUTTON) {
    closeWindow(NEXT_MAIN_BUTTONS);
  } else if (id == TROPHIES_RIGHT_BUTTON) {
    playSound(kSoundButtonClick);
    trophiesPage = (trophiesPage + 1) % TROPHY_PAGES;
    fillTrophiesPage();
  }
}

void SCENE_CARD_GAME_MAINMENU::drawTrophiesWindow(float distance) {
  main_menu::drawRaised(trophiesBackground, homeY.trophiesBackground, distance);
  placeSprite(progressBall, kProgressBallX + kProgressBallStep * static_cast<float>(trophiesPage),
              homeY.progressBall - distance);
  progressBall->fDraw();
  for (int32_t slot = 0; slot < TROPHIES_PER_PAGE; ++slot) {
    const int32_t number = TROPHIES_PER_PAGE * trophiesPage + slot + 1;
    QEL::QC_SPRITE* image = trophyImages[number - 1];
    const float x = xOf(image);
    const float y = homeY.firstTrophy + static_cast<float>((slot / 2) * trophyRowStep) - distance;
    placeSprite(trophyImageBackground, x + kFrameOffsetX, y + kFrameOffsetY);
    trophyImageBackground->fDraw();
    placeSprite(image, x + static_cast<float>(trophyOffset), y);
    image->fDraw();
    placeSprite(image, x, y);
    if (!getTrophy(number)) {
      placeSprite(hiddenTrophyImage, x + kCoverOffsetX, y + kCoverOffsetY);
      hiddenTrophyImage->fDraw();
    }
  }
  trophiesContainer->fSetPosition(0.0f, -distance, 0.0f);
  trophiesContainer->fDraw();
}
