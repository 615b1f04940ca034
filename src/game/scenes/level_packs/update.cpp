// One update of the level packs: the slide in and out, the panel slides, the page turn, and
// the clicks of the screen that is in front. The keys come here too, and the request for the
// next scene.
#include "engine/log.h"
#include "engine/sound.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
#include "game/level_results.h"
#include "game/scenes/level_packs/layout.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game/scenes/scene_widgets.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "platform/key_codes.h"

namespace layout = level_packs_layout;

namespace {

using platform::LEFT_BUTTON;
using platform::KEY_O;  // the developer's way back to the main menu

void playSound(int32_t slot) { QEL::QC_SOUND::fPlayFromStart(gSounds[slot]); }

}  // namespace

void SCENE_CARD_GAME_LEVELPACKS::fUpdate() {
  timeStep = sceneTimeStep();

  if ((slideState == SLIDE::IN || slideState == SLIDE::OUT) &&
      runSlide(slideOffset, static_cast<float>(slideDistance), timeStep)) {
    if (slideState == SLIDE::OUT) {
      applyNextSceneType();
      return;
    }
    slideState = SLIDE::IDLE;
  }

  if ((panelState == PANEL::SLIDING_IN || panelState == PANEL::SLIDING_OUT) &&
      runSlide(panelOffset, static_cast<float>(panelDistance), timeStep)) {
    if (panelState == PANEL::SLIDING_IN) {
      panelState = PANEL::SHOWN;
    } else {
      panelState = PANEL::NONE;
      panelOffset = static_cast<float>(panelDistance);
      if (nextSceneType != NEXT_SCENE::NONE) applyNextSceneType();
      return;
    }
  }

  // A page turn moves at the pace of the slide in and out over the whole page width.
  if (slideState == SLIDE::PAGING && runSlide(pageOffset, static_cast<float>(slideDistance), timeStep)) endPaging();

  if (panelState == PANEL::NONE) {
    updateMainScreen();
  } else if (panelKind == PANEL_KIND::INFORMATION) {
    updateInformationPanel();
  } else if (panelKind == PANEL_KIND::PROFESSIONAL) {
    updateProfessionalPanel();
  }
}

void SCENE_CARD_GAME_LEVELPACKS::updateMainScreen() {
  mainContainer->fUpdate();
  if (mainContainer->fGetEventCode() != QEL::GUI_EVENT_CLICK) return;
  const int32_t id = mainContainer->fGetEventId();
  // Nothing on this screen reacts while it slides in, out or pages: a page turn begun during
  // the slide would leave everything stranded part-way.
  if (slideState != SLIDE::IDLE) return;
  if (id == BACK) {
    playSound(kSoundButtonClick);
    noteHintSeen();
    startLeaving(NEXT_SCENE::MAIN_MENU);
  } else if (id == LEFT_ARROW && page == 1) {
    playSound(kSoundButtonClick);
    startPaging();
  } else if (id == RIGHT_ARROW && page == 0) {
    playSound(kSoundButtonClick);
    noteHintSeen();
    startPaging();
  } else if (id >= FIRST_PACK && id < FIRST_PACK + kPackCount) {
    onPackClicked(id - FIRST_PACK);
  }
}

void SCENE_CARD_GAME_LEVELPACKS::onPackClicked(int32_t pack) {
  // Only an open pack's button reports a click; the test stands so that no other way in
  // can ever start a closed pack.
  if (!isPackUnlocked(pack)) {
    QEL::fLog("Pack ", pack, " is closed");
    openPanel(PANEL_KIND::INFORMATION);
    return;
  }
  playSound(kSoundButtonClick);
  noteHintSeen();
  gCurrentPack = pack;
  if (gGameMode == 0)
    startLeaving(NEXT_SCENE::FRAMES);
  else
    openPanel(PANEL_KIND::PROFESSIONAL);
}

void SCENE_CARD_GAME_LEVELPACKS::startPaging() {
  pageOffset = static_cast<float>(pageWidth);
  leftButton->fSetPosition(layout::LEFT_ARROW_PARKED.x, layout::LEFT_ARROW_PARKED.y, 0.0f);
  rightButton->fSetPosition(layout::RIGHT_ARROW_PARKED.x, layout::RIGHT_ARROW_PARKED.y, 0.0f);
  slideState = SLIDE::PAGING;
  playSound(kSoundGuiFly);
}

void SCENE_CARD_GAME_LEVELPACKS::endPaging() {
  page = 1 - page;
  if (page == 1) {
    leftButton->fSetPosition(layout::LEFT_ARROW.x, layout::LEFT_ARROW.y, 0.0f);
    rightButton->fSetPosition(layout::RIGHT_ARROW_PARKED.x, layout::RIGHT_ARROW_PARKED.y, 0.0f);
  } else {
    leftButton->fSetPosition(layout::LEFT_ARROW_PARKED.x, layout::LEFT_ARROW_PARKED.y, 0.0f);
    rightButton->fSetPosition(layout::RIGHT_ARROW.x, layout::RIGHT_ARROW.y, 0.0f);
  }
  slideState = SLIDE::IDLE;
}

void SCENE_CARD_GAME_LEVELPACKS::startLeaving(NEXT_SCENE next) {
  nextSceneType = next;
  slideState = SLIDE::OUT;
  slideOffset = static_cast<float>(slideDistance);
  playSound(kSoundGuiFly);
}

void SCENE_CARD_GAME_LEVELPACKS::openPanel(PANEL_KIND kind) {
  panelKind = kind;
  panelState = PANEL::SLIDING_IN;
  panelOffset = static_cast<float>(panelDistance);
}

void SCENE_CARD_GAME_LEVELPACKS::closePanel(NEXT_SCENE next) {
  nextSceneType = next;
  panelState = PANEL::SLIDING_OUT;
  panelOffset = static_cast<float>(panelDistance);
}

void SCENE_CARD_GAME_LEVELPACKS::noteHintSeen() {
  if (showPackHint) gHintShown[hint_step::CHOOSE_PACK] = 1;
}

void SCENE_CARD_GAME_LEVELPACKS::fKeyDown(int32_t code) {
  if (code == KEY_O && gIsCheat) {
    gCheatKeyUsed = 1;
    nextSceneType = NEXT_SCENE::MAIN_MENU;
    applyNextSceneType();
    return;
  }
  // The press is looked at during any slide: the pack under the pointer is found where it
  // is drawn now.
  if (code == LEFT_BUTTON && panelState == PANEL::NONE) pressClosedPack();
}

void SCENE_CARD_GAME_LEVELPACKS::applyNextSceneType() {
  switch (nextSceneType) {
    case NEXT_SCENE::MAIN_MENU:
      requestScene(scene_kind::MAIN_MENU);
      break;
    case NEXT_SCENE::FRAMES:
      requestScene(scene_kind::FRAMES);
      break;
    case NEXT_SCENE::LEVEL:
      // A level starts only when its pack is open and the level itself is.
      if (!isPackUnlocked(gCurrentPack) || !hasLevelResult(gCurrentLevel) ||
          gCurrentLevel / kLevelsPerPack != gCurrentPack) {
        QEL::fLog("Level ", gCurrentLevel, " is closed and is not started");
        nextSceneType = NEXT_SCENE::NONE;
        return;
      }
      requestScene(scene_kind::LEVEL);
      break;
    case NEXT_SCENE::NONE:
      break;
  }
}
