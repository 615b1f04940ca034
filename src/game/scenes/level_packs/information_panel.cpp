// The information panel of the level packs: a press on a closed pack slides it in with the
// reason the pack is closed; its confirm button slides it out again. A closed pack's button
// is disabled and reports no click, so the press is found by the pointer itself.
#include "engine/input.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/scenes/level_packs/layout.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game/scenes/scene_widgets.h"
#include "game/texts.h"
#include "engine/sound.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "level_geometry/card_geometry.h"
#include "primitives/sprite.h"

namespace layout = level_packs_layout;

void SCENE_CARD_GAME_LEVELPACKS::createInformationPanel() {
  informationPanelContainer = new QEL::QC_GUI_CONTAINER();
  informationPanelBackground = makeSceneSprite("main_menu/change_player/panel background.png",
                                               layout::PANEL_BACKGROUND.x, layout::PANEL_BACKGROUND.y, 1);
  informationConfirmButton = addSceneButton(informationPanelContainer, CONFIRM,
                                            "main_menu/change_player/panel button_confirm.png", layout::CONFIRM.x,
                                            layout::CONFIRM.y);
  informationTitleLabel = createLabel(INFORMATION_TITLE, getText(L"information"), layout::INFORMATION_TITLE.x,
                                      layout::INFORMATION_TITLE.y, informationPanelContainer, findFont(42, 0), 0);
  informationTextLabel =
      createLabel(INFORMATION_TEXT, replaceBarsWithNewlines(getText(L"hint_21")), layout::INFORMATION_TEXT.x,
                  layout::INFORMATION_TEXT.y, informationPanelContainer, findFont(25, 0), 0);
}

bool SCENE_CARD_GAME_LEVELPACKS::isMouseInRect(int32_t mode, float x, float y, float w, float h) const {
  if (QEL::qcMOUSE_POSITION == nullptr) return false;
  const float centreX = mode == 0 ? x + w / 2.0f : x;
  const float centreY = mode == 0 ? y + h / 2.0f : y;
  return isPointInRect(static_cast<float>(QEL::qcMOUSE_POSITION->x), static_cast<float>(QEL::qcMOUSE_POSITION->y),
                       centreX, centreY, w, h);
}

void SCENE_CARD_GAME_LEVELPACKS::pressClosedPack() {
  for (int32_t pack = 0; pack < kPackCount; ++pack) {
    const QEL::QS_VECTOR2 at = packButtons[pack]->fGetTransform()->fGetPosition();
    if (!isMouseInRect(1, at.x, at.y, layout::PACK_WIDTH, layout::PACK_HEIGHT)) continue;
    // No sound: the closed pack gives no click; the current pack stays what it was.
    if (!isPackUnlocked(pack)) openPanel(PANEL_KIND::INFORMATION);
    return;
  }
}

void SCENE_CARD_GAME_LEVELPACKS::updateInformationPanel() {
  informationPanelContainer->fUpdate();
  if (panelState != PANEL::SHOWN) return;
  if (informationPanelContainer->fGetEventCode() != QEL::GUI_EVENT_CLICK) return;
  if (informationPanelContainer->fGetEventId() != CONFIRM) return;
  QEL::QC_SOUND::fPlayFromStart(gSounds[kSoundButtonClick]);
  closePanel(NEXT_SCENE::NONE);
}
