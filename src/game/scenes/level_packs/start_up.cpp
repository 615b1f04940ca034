// The level packs scene's start-up and its end: the background and title, the twelve pack
// buttons with their names and scores, the arrows and the back button, the two panels (built
// in their own files) and the hint and shade sprites. Everything begins 500 units out of
// place and slides in.
#include <string>

#include "engine/log.h"
#include "engine/transform.h"
#include "game/fonts_sounds.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/picture_size.h"
#include "game/scenes/level_packs/layout.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game/scenes/scene_widgets.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"

namespace layout = level_packs_layout;

namespace {

constexpr int32_t TOP_LEFT = 1;
constexpr int32_t CENTRE = 0;
constexpr uint32_t HINT_STRIP_COLOUR = 0xD2000000u;  // black, alpha 210
constexpr uint32_t FADE_SHADE_COLOUR = 0x64000000u;  // black, alpha 100

std::wstring packNumber(int32_t pack) { return numberToWString(pack + 1); }

}  // namespace

SCENE_CARD_GAME_LEVELPACKS::SCENE_CARD_GAME_LEVELPACKS() = default;

SCENE_CARD_GAME_LEVELPACKS::~SCENE_CARD_GAME_LEVELPACKS() {
  deleteOwned(fadeShade);
  deleteOwned(hintArrow);
  deleteOwned(hintStrip);
  deleteOwned(professionalPanelBackground);
  deleteSceneContainer(professionalPanelContainer);
  deleteOwned(informationPanelBackground);
  deleteSceneContainer(informationPanelContainer);
  deleteSceneContainer(titleContainer);
  deleteSceneContainer(mainContainer);
  deleteOwned(difficultyImage);
  deleteOwned(packHighlight);
  deleteOwned(background);
}

void SCENE_CARD_GAME_LEVELPACKS::fInit() {
  gSceneKind = scene_kind::LEVEL_PACKS;
  nextSceneType = NEXT_SCENE::NONE;
  // A new player has not yet finished the first frame in junior mode.
  showPackHint = getLevelResult(gCurrentPlayer, 1, kResultField, 0) == LEVEL_RESULT::LOCKED;
  QEL::fLog("Start fInit() LEVELPACKS");
  subscribeScenePacks({"", "main_menu", "main_menu/change_player", "main_menu/change_player/panel",
                       "levelpacks", "levelpacks/buttons", "interface", "interface/hints"});
  page = 0;
  pageWidth = kPictureWidth;
  pulseSpeed = 50.0f;

  createScreen();
  createInformationPanel();
  createProfessionalPanel();
  createOverlays();

  slideDistance = 500;
  panelDistance = 750;
  readBackRestingPlaces();
  slideOffset = static_cast<float>(slideDistance);
  panelOffset = static_cast<float>(panelDistance);
  slideState = SLIDE::IN;
  panelState = PANEL::NONE;
  QEL::fLog("currentPlayer: ", gCurrentPlayer);
  QEL::fLog("End fInit() LEVELPACKS");
}

void SCENE_CARD_GAME_LEVELPACKS::createScreen() {
  background = makeSceneSprite("main_menu background.png", layout::BACKGROUND.x, layout::BACKGROUND.y, TOP_LEFT);
  // Out of sight until a panel opens.
  packHighlight = makeSceneSprite("interface/hints pack_button_highlighting.png", -300.0f, -300.0f, CENTRE);
  difficultyImage = makeSceneSprite("levelpacks difficulty_level.png", layout::DIFFICULTY_PLATE.x,
                                    layout::DIFFICULTY_PLATE.y, TOP_LEFT);
  mainContainer = new QEL::QC_GUI_CONTAINER();
  titleContainer = new QEL::QC_GUI_CONTAINER();
  createModeTitle();

  leftButton = addSceneButton(mainContainer, LEFT_ARROW, "levelpacks button_left.png", layout::LEFT_ARROW.x,
                              layout::LEFT_ARROW.y);
  rightButton = addSceneButton(mainContainer, RIGHT_ARROW, "levelpacks button_right.png", layout::RIGHT_ARROW.x,
                               layout::RIGHT_ARROW.y);
  createPackButtons();
  // Page 0 is shown first: only the right arrow turns it.
  leftButton->fSetPosition(layout::LEFT_ARROW_PARKED.x, layout::LEFT_ARROW_PARKED.y, 0.0f);
  rightButton->fSetPosition(layout::RIGHT_ARROW.x, layout::RIGHT_ARROW.y, 0.0f);
  backButton = addSceneButton(mainContainer, BACK, "levelpacks button_back.png", layout::BACK.x, layout::BACK.y);
}

void SCENE_CARD_GAME_LEVELPACKS::createModeTitle() {
  std::wstring title;
  if (gGameMode == 0) title = getText(L"junior");
  if (gGameMode == 1) title = getText(L"professional");
  const bool isLong = title.size() > static_cast<size_t>(layout::LONGEST_TITLE_IN_LARGE_FONT);
  const layout::PLACE place = isLong ? layout::MODE_TITLE_SMALL : layout::MODE_TITLE;
  createLabel(MODE_TITLE, title, place.x, place.y, titleContainer, findFont(isLong ? 36 : 42, 0), CENTRE);
}

void SCENE_CARD_GAME_LEVELPACKS::createPackButtons() {
  const std::wstring mode = gGameMode == 0 ? L"junior" : L"professional";
  for (int32_t pack = 0; pack < kPackCount; ++pack) {
    const int32_t column = pack % PACKS_PER_ROW;
    const bool lowerRow = pack % PACKS_PER_PAGE >= PACKS_PER_ROW;
    const float homeX = (pack < PACKS_PER_PAGE ? layout::PACK_COLUMN0_X : layout::PACK_PAGE1_COLUMN0_X) +
                        layout::PACK_COLUMN_STEP * static_cast<float>(column);
    const float y = lowerRow ? layout::PACK_ROW1_Y_AT_START : layout::PACK_ROW0_Y;
    imageForButton = getImage(("levelpacks/buttons " + std::to_string(pack + 1) + ".png").c_str());
    auto* button = new QEL::QC_GUI_BUTTON5(FIRST_PACK + pack, imageForButton);
    button->fSetPosition(homeX, y, 0.0f);
    mainContainer->fAdd(button);
    packButtons[pack] = button;

    const std::wstring name = replaceBarsWithNewlines(getTextW(L"pack" + packNumber(pack) + L"_name"));
    createChildLabel(FIRST_PACK_NAME + pack, name, layout::PACK_NAME.x, layout::PACK_NAME.y, button,
                     findFont(20, 0), CENTRE);
    // The goal is shown as the texts give it; the opening rule reads the same text as a number.
    const std::wstring goal = getTextW(mode + L"_pack" + packNumber(pack) + L"_goal");
    const std::wstring score = numberToWString(getPackResult(pack)) + L"/" + goal;
    createChildLabel(FIRST_PACK_SCORE + pack, score, layout::PACK_SCORE.x, layout::PACK_SCORE.y, button,
                     findFont(25, 0), CENTRE);
    // The test may open the pack on the way, when the pack before it reached its goal.
    if (!isPackUnlocked(pack)) button->fDisable();
  }
}

void SCENE_CARD_GAME_LEVELPACKS::createOverlays() {
  hintStrip = makeSceneSprite("interface shadow_black_square.png", layout::HINT_STRIP.x, layout::HINT_STRIP.y,
                              TOP_LEFT);
  hintStrip->fSetScale(kShadeWidth, layout::HINT_STRIP_HEIGHT, 1.0f);
  hintStrip->fSetColor(HINT_STRIP_COLOUR);
  const QEL::QS_VECTOR2 firstPack = packButtons[0]->fGetTransform()->fGetPosition();
  hintArrow = makeSceneSprite("interface/hints arrow.png", firstPack.x, firstPack.y + layout::HINT_ARROW_BELOW_PACK,
                              TOP_LEFT);
  fadeShade = makeSceneSprite("interface shadow_black_square.png", 0.0f, 0.0f, TOP_LEFT);
  fadeShade->fSetScale(kShadeWidth, kShadeHeight, 1.0f);
  fadeShade->fSetColor(FADE_SHADE_COLOUR);
}

void SCENE_CARD_GAME_LEVELPACKS::readBackRestingPlaces() {
  arrowsY = leftButton->fGetTransform()->fGetPosition().y;
  backY = backButton->fGetTransform()->fGetPosition().y;
  difficultyY = difficultyImage->_node->fGetPosition().y;
  panelY = informationPanelBackground->_node->fGetPosition().y;
  row0Y = layout::PACK_ROW0_Y;
  row1Y = layout::PACK_ROW1_Y;
  column0X = layout::PACK_COLUMN0_X;
}
