// The five "+points" pop-ups that rise from a removed pair: a label each in moneyContainer and
// a coin beside it. Built by the start-up out of sight; showPointsPopup takes a free slot and
// updatePointsPopups lifts it and frees it again.
#include "game/fonts_sounds.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level/widget_ids.h"
#include "gui/gui_container.h"
#include "primitives/sprite.h"

namespace {

constexpr float PARKED = -200.0f;

}  // namespace

void SCENE_CARD_GAME_LEVEL::createPointsPopups() {
  deleteSceneContainer(moneyContainer);
  moneyContainer = new QEL::QC_GUI_CONTAINER();
  int32_t id = points_popup_widget::FIRST_LABEL;
  for (POINTS_POPUP& popup : pointsPopup) {
    popup.label = createLabel(id++, L"", PARKED, PARKED, moneyContainer, findFont(36, 0), 0);
    delete popup.coin;
    popup.coin = makeSceneSprite("interface dollar.png", PARKED, PARKED, 0);
    popup.rise = POINTS_POPUP::FREE;
    popup.points = 0;
  }
}

void SCENE_CARD_GAME_LEVEL::drawPointsPopups() {
  if (moneyContainer != nullptr) moneyContainer->fDraw();
  for (const POINTS_POPUP& popup : pointsPopup) {
    if (popup.rise != POINTS_POPUP::FREE && popup.coin != nullptr) popup.coin->fDraw();
  }
}
