// The help window: two pages of pictures with their texts, turned by a left and a right arrow.
#include "game/scenes/main_menu/main_menu_scene.h"

#include <string>

#include "game/fonts_sounds.h"
#include "game/scenes/main_menu/menu_widgets.h"
#include "game/scenes/scene_widgets.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"

using main_menu::drawRaised;
using main_menu::kParkedX;
using main_menu::kParkedY;
using main_menu::placeSprite;
using main_menu::placeWidget;

namespace {

constexpr SCREEN_PLACE kBackground{153.0f, 45.0f};
constexpr SCREEN_PLACE kTitle{505.0f, 97.0f};
constexpr SCREEN_PLACE kClose{688.0f, 628.0f};
constexpr SCREEN_PLACE kLeftArrow{346.0f, 644.0f};
constexpr SCREEN_PLACE kRightArrow{414.0f, 644.0f};
constexpr SCREEN_PLACE kParkedLabel{-100.0f, -100.0f};
constexpr SCREEN_PLACE kImagePositions[SCENE_CARD_GAME_MAINMENU::HELP_IMAGE_COUNT] = {
    {255.0f, 190.0f}, {257.0f, 267.0f}, {267.0f, 347.0f}, {256.0f, 425.0f}, {266.0f, 505.0f},
    {255.0f, 255.0f}, {256.0f, 342.0f}, {263.0f, 428.0f}, {247.0f, 166.0f}};
// The first page shows pictures 1-5 with texts 1-6, the second pictures 6-9 with texts 8-12.
constexpr SCREEN_PLACE kFirstPageTexts[6] = {{340.0f, 150.0f}, {340.0f, 202.0f}, {340.0f, 268.0f},
                                             {340.0f, 364.0f}, {340.0f, 433.0f}, {340.0f, 523.0f}};
constexpr SCREEN_PLACE kSecondPageTexts[5] = {
    {340.0f, 190.0f}, {340.0f, 263.0f}, {340.0f, 346.0f}, {340.0f, 432.0f}, {340.0f, 520.0f}};
constexpr int32_t kFirstPageImages = 5;
constexpr int32_t kSecondPageFirstText = 8;

std::wstring helpText(int32_t number) {
  return replaceBarsWithNewlines(getTextW(L"help_message_" + std::to_wstring(number)));
}

}  // namespace

void SCENE_CARD_GAME_MAINMENU::createHelpWindow() {
  helpContainer = new QEL::QC_GUI_CONTAINER();
  helpBackground = makeSceneSprite("main_menu/help background.png", kBackground.x, kBackground.y, 1);
  for (int32_t label = 0; label < HELP_LABEL_COUNT; ++label)
    helpLabels[label] = createLabel(FIRST_HELP_LABEL + label, L"", kParkedLabel.x, kParkedLabel.y, helpContainer,
                                    findFont(label == 0 ? 20 : 16, 0), 1);
  for (int32_t image = 0; image < HELP_IMAGE_COUNT; ++image)
    helpImages[image] =
        makeSceneSprite("main_menu/help image" + std::to_string(image + 1) + ".png", kParkedX, kParkedY, 1);
  createLabel(HELP_TITLE, getText(L"help"), kTitle.x, kTitle.y, helpContainer, findFont(42, 0), 0);
  helpCloseButton = addSceneButton(helpContainer, HELP_CLOSE_BUTTON, "interface button_close.png", kClose.x, kClose.y);
  helpLeftButton =
      addSceneButton(helpContainer, HELP_LEFT_BUTTON, "main_menu/help button_left.png", kParkedX, kParkedY);
  helpRightButton =
      addSceneButton(helpContainer, HELP_RIGHT_BUTTON, "main_menu/help button_right.png", kRightArrow.x, kRightArrow.y);
}

void SCENE_CARD_GAME_MAINMENU::showHelpPage() {
  for (QEL::QC_SPRITE* image : helpImages) placeSprite(image, kParkedX, kParkedY);
  const bool first = helpPage == 0;
  const int32_t firstImage = first ? 0 : kFirstPageImages;
  const int32_t lastImage = first ? kFirstPageImages : HELP_IMAGE_COUNT;
  for (int32_t image = firstImage; image < lastImage; ++image)
    placeSprite(helpImages[image], kImagePositions[image].x, kImagePositions[image].y);
  const SCREEN_PLACE* places = first ? kFirstPageTexts : kSecondPageTexts;
  const int32_t texts = first ? 6 : 5;
  for (int32_t label = 0; label < HELP_LABEL_COUNT; ++label) {
    if (label < texts) {
      placeWidget(helpLabels[label], places[label].x, places[label].y);
      helpLabels[label]->fSetText(helpText(first ? label + 1 : kSecondPageFirstText + label));
    } else {
      helpLabels[label]->fSetText(L"");
    }
  }
}

void SCENE_CARD_GAME_MAINMENU::onHelpClick(int32_t id) {
  if (id == HELP_CLOSE_BUTTON) {
    closeWindow(NEXT_MAIN_BUTTONS);
    return;
  }
  if (id != HELP_LEFT_BUTTON && id != HELP_RIGHT_BUTTON) return;
  playSound(kSoundButtonClick);
  helpPage = id == HELP_RIGHT_BUTTON ? 1 : 0;
  showHelpPage();
  placeWidget(helpLeftButton, helpPage == 1 ? kLeftArrow.x : kParkedX, helpPage == 1 ? kLeftArrow.y : kParkedY);
  placeWidget(helpRightButton, helpPage == 0 ? kRightArrow.x : kParkedX, helpPage == 0 ? kRightArrow.y : kParkedY);
}

void SCENE_CARD_GAME_MAINMENU::drawHelpWindow(float distance) {
  drawRaised(helpBackground, homeY.helpBackground, distance);
  const int32_t firstImage = helpPage == 0 ? 0 : kFirstPageImages;
  const int32_t lastImage = helpPage == 0 ? kFirstPageImages : HELP_IMAGE_COUNT;
  for (int32_t image = firstImage; image < lastImage; ++image)
    drawRaised(helpImages[image], kImagePositions[image].y, distance);
  helpContainer->fSetPosition(0.0f, -distance, 0.0f);
  helpContainer->fDraw();
}
