// The banner over the table: a frame's result ("Strike!") or a bonus card's prize, and for a
// prize in money the big dollar beside it. Built by the start-up empty; showResultBanner and
// showBonusCardWindow write it, the update fades it in and out, the drawing slides it.
#include "game/fonts_sounds.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level/widget_ids.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"

namespace {

constexpr float LABEL_X = 522.0f;
constexpr float LABEL_Y = 344.0f;
constexpr float DOLLAR_GAP = 50.0f;  // from the text's left end to the dollar's centre

}  // namespace

void SCENE_CARD_GAME_LEVEL::createBanner() {
  deleteSceneContainer(bannerContainer);
  bannerContainer = new QEL::QC_GUI_CONTAINER();
  bannerLabel = createLabel(banner_widget::LABEL, L"", LABEL_X, LABEL_Y, bannerContainer, findFont(100, 3), 0);
}

void SCENE_CARD_GAME_LEVEL::drawBanner() {
  if (bannerContainer != nullptr) bannerContainer->fDraw();
  if (bannerDollarMode <= 0 || bannerDollar == nullptr || bannerLabel == nullptr) return;
  // Left of the centred text, on its line, wherever the banner has slid to.
  const QEL::QS_TRANSFORM3 label = bannerLabel->fGetTransform()->fGetWorld(false, false, false);
  bannerDollar->fSetPosition(label._position.x - bannerLabel->fGetWidth() / 2.0f - DOLLAR_GAP, label._position.y, 0.0f);
  bannerDollar->fDraw();
}
