// The professional-mode panel of the level packs: an open pack offers to start afresh (its
// professional results cleared), to continue at its first open frame, or to cancel. Either
// start goes straight to the level once the panel has slid out; there is no score sheet in
// between.
#include "engine/sound.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/level_results.h"
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

constexpr const char* PANEL_BUTTON_IMAGE = "levelpacks professional_mode_panel_button.png";

// A panel button with its caption, which carries the button's id.
QEL::QC_GUI_BUTTON5* addCaptionedButton(QEL::QC_GUI_CONTAINER* container, int32_t id, const wchar_t* caption,
                                        layout::PLACE place) {
  QEL::QC_GUI_BUTTON5* button = addSceneButton(container, id, PANEL_BUTTON_IMAGE, place.x, place.y);
  createChildLabel(id, getText(caption), layout::PANEL_CAPTION.x, layout::PANEL_CAPTION.y, button, findFont(36, 0),
                   0);
  return button;
}

}  // namespace

void SCENE_CARD_GAME_LEVELPACKS::createProfessionalPanel() {
  professionalPanelContainer = new QEL::QC_GUI_CONTAINER();
  professionalPanelBackground = makeSceneSprite("main_menu/change_player/panel background.png",
                                                layout::PANEL_BACKGROUND.x, layout::PANEL_BACKGROUND.y, 1);
  startButton = addCaptionedButton(professionalPanelContainer, START, L"start", layout::START);
  continueButton = addCaptionedButton(professionalPanelContainer, CONTINUE, L"continue", layout::CONTINUE);
  cancelButton = addCaptionedButton(professionalPanelContainer, CANCEL, L"cancel", layout::CANCEL);
  professionalTitleLabel = createLabel(PROFESSIONAL_TITLE, L"", layout::PROFESSIONAL_TITLE.x,
                                       layout::PROFESSIONAL_TITLE.y, professionalPanelContainer, findFont(42, 0), 0);
}

void SCENE_CARD_GAME_LEVELPACKS::updateProfessionalPanel() {
  professionalPanelContainer->fUpdate();
  if (panelState != PANEL::SHOWN) return;
  if (professionalPanelContainer->fGetEventCode() != QEL::GUI_EVENT_CLICK) return;
  switch (professionalPanelContainer->fGetEventId()) {
    case START:
      QEL::QC_SOUND::fPlayFromStart(gSounds[kSoundButtonClick]);
      resetPack(gCurrentPack);
      gCurrentLevel = gCurrentPack * kLevelsPerPack;
      closePanel(NEXT_SCENE::LEVEL);
      break;
    case CONTINUE:
      QEL::QC_SOUND::fPlayFromStart(gSounds[kSoundButtonClick]);
      gCurrentLevel = firstOpenLevelOfPack(gCurrentPack);
      closePanel(NEXT_SCENE::LEVEL);
      break;
    case CANCEL:
      QEL::QC_SOUND::fPlayFromStart(gSounds[kSoundButtonClick]);
      closePanel(NEXT_SCENE::NONE);
      break;
    default:
      break;
  }
}
