// The frames scene's start-up and its end: the pack's background and name, the ten frame
// buttons with their number and balls (a frame not yet open is disabled), the close button
// and the score sheet. Everything begins 700 units out of place and slides in.
#include <string>

#include "engine/log.h"
#include "game/fonts_sounds.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/scene_widgets.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"

namespace {

constexpr int32_t TOP_LEFT = 1;
constexpr int32_t CENTRE = 0;
constexpr int32_t FRAMES_PER_ROW = 5;
constexpr int32_t TENTH = kLevelsPerPack - 1;

using PLACE = SCREEN_PLACE;
constexpr PLACE PACK_NAME_PLATE{326.0f, 28.0f};
constexpr PLACE SHEET_PLATE{82.0f, 602.0f};
constexpr PLACE CLOSE_PLACE{957.0f, 696.0f};
constexpr PLACE PACK_TITLE_PLACE{512.0f, 79.0f};
// Frame buttons: five a row, 174 apart from x 167; the upper row at y 236, the lower at 456.
constexpr float FRAME_X = 167.0f;
constexpr float FRAME_STEP = 174.0f;
constexpr float UPPER_ROW_Y = 236.0f;
constexpr float LOWER_ROW_Y = 456.0f;
// On a frame button, relative to its centre; the tenth frame has three ball boxes, which
// its card, wider to the left, has room for.
constexpr PLACE FRAME_NUMBER{51.0f, -60.0f};
constexpr PLACE BALL1{-43.0f, 83.0f};
constexpr PLACE BALL2{23.0f, 83.0f};
constexpr PLACE TENTH_BALL1{-53.0f, 83.0f};
constexpr PLACE TENTH_BALL2{-11.0f, 83.0f};
constexpr PLACE TENTH_BALL3{32.0f, 83.0f};

}  // namespace

SCENE_CARD_GAME_FRAMES::SCENE_CARD_GAME_FRAMES() = default;

SCENE_CARD_GAME_FRAMES::~SCENE_CARD_GAME_FRAMES() {
  deleteSceneContainer(lowerContainer);
  deleteSceneContainer(upperContainer);
  deleteOwned(panelImage);
  deleteOwned(packNameImage);
  deleteOwned(background);
}

void SCENE_CARD_GAME_FRAMES::fInit() {
  gSceneKind = scene_kind::FRAMES;
  QEL::fLog("Start fInit() - SCENE_CARD_GAME_FRAMES");
  subscribeScenePacks({"", "main_menu/change_player", "levelpacks", "frames_selection", "frames_selection/buttons",
                       "frames_selection/buttons_10th_frame", "interface", "interface/backgrounds"});
  nextSceneType = NEXT_SCENE::NONE;
  if (gCurrentPack < 0 || gCurrentPack >= kPackCount) {
    QEL::fLog("SCENE_CARD_GAME_FRAMES: no pack ", gCurrentPack, ", the first pack is shown");
    gCurrentPack = 0;
  }
  const std::string pack = std::to_string(gCurrentPack + 1);

  background = makeSceneSprite("interface/backgrounds " + pack + ".png", 0.0f, 0.0f, TOP_LEFT);
  packNameImage = makeSceneSprite("frames_selection pack_name.png", PACK_NAME_PLATE.x, PACK_NAME_PLATE.y, TOP_LEFT);
  panelImage = makeSceneSprite("frames_selection panel.png", SHEET_PLATE.x, SHEET_PLATE.y, TOP_LEFT);
  upperContainer = new QEL::QC_GUI_CONTAINER();
  lowerContainer = new QEL::QC_GUI_CONTAINER();
  createFrameButtons();
  closeButton = addSceneButton(lowerContainer, CLOSE, "interface button_close.png", CLOSE_PLACE.x, CLOSE_PLACE.y);
  createLabel(PACK_TITLE, replaceBarsWithNewlines(getTextW(L"pack" + numberToWString(gCurrentPack + 1) + L"_name")),
              PACK_TITLE_PLACE.x, PACK_TITLE_PLACE.y, upperContainer, findFont(33, 0), CENTRE);
  createScoreSheet();

  slideDistance = 700;
  readBackRestingPlaces();
  slideOffset = static_cast<float>(slideDistance);
  slideState = SLIDE::IN;
  QEL::fLog("End fInit() - SCENE_CARD_GAME_FRAMES");
}

void SCENE_CARD_GAME_FRAMES::createFrameButtons() {
  const std::string pack = std::to_string(gCurrentPack + 1);
  QEL::QC_FONT* font = findFont(30, 0);
  for (int32_t frame = 0; frame < kLevelsPerPack; ++frame) {
    const bool isTenth = frame == TENTH;
    const bool isUpper = frame < FRAMES_PER_ROW;
    const std::string folder = isTenth ? "buttons_10th_frame" : "buttons";
    imageForButton = getImage(("frames_selection/" + folder + " " + pack + ".png").c_str());
    auto* button = new QEL::QC_GUI_BUTTON5(FIRST_FRAME + frame, imageForButton);
    button->fSetPosition(FRAME_X + FRAME_STEP * static_cast<float>(frame % FRAMES_PER_ROW),
                         isUpper ? UPPER_ROW_Y : LOWER_ROW_Y, 0.0f);
    (isUpper ? upperContainer : lowerContainer)->fAdd(button);
    frameButtons[frame] = button;

    const FRAME_BALLS balls = frameBalls(frameResult(frame), isTenth);
    createChildLabel(FIRST_FRAME_NUMBER + frame, numberToWString(frame + 1), FRAME_NUMBER.x, FRAME_NUMBER.y, button,
                     font, CENTRE);
    const PLACE ball1 = isTenth ? TENTH_BALL1 : BALL1;
    const PLACE ball2 = isTenth ? TENTH_BALL2 : BALL2;
    createChildLabel(FIRST_BUTTON_BALL1 + frame, balls.first, ball1.x, ball1.y, button, font, CENTRE);
    createChildLabel(FIRST_BUTTON_BALL2 + frame, balls.second, ball2.x, ball2.y, button, font, CENTRE);
    if (isTenth) createChildLabel(BUTTON_BALL3, balls.third, TENTH_BALL3.x, TENTH_BALL3.y, button, font, CENTRE);
    // A frame is open once the frame before it has been played.
    if (!hasLevelResult(gCurrentPack * kLevelsPerPack + frame)) button->fDisable();
  }
}

void SCENE_CARD_GAME_FRAMES::readBackRestingPlaces() {
  packNameY = packNameImage->_node->fGetPosition().y;
  panelY = panelImage->_node->fGetPosition().y;
}
