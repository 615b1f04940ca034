// One update of the frames scene: the slide in and out, a click on an open frame (which
// starts its level) or on close, the developer key, and the request for the next scene.
#include "engine/log.h"
#include "engine/sound.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/scene_widgets.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "platform/key_codes.h"

namespace {

using platform::KEY_O;  // the developer's way back to the main menu

void playSound(int32_t slot) { QEL::QC_SOUND::fPlayFromStart(gSounds[slot]); }

bool isFrameButton(int32_t id) {
  return id >= SCENE_CARD_GAME_FRAMES::FIRST_FRAME && id < SCENE_CARD_GAME_FRAMES::FIRST_FRAME + kLevelsPerPack;
}

}  // namespace

void SCENE_CARD_GAME_FRAMES::fUpdate() {
  timeStep = sceneTimeStep();
  if ((slideState == SLIDE::IN || slideState == SLIDE::OUT) &&
      runSlide(slideOffset, static_cast<float>(slideDistance), timeStep)) {
    if (slideState == SLIDE::OUT) {
      applyNextSceneType();
      return;
    }
    slideState = SLIDE::IDLE;
  }

  // Clicks count only while the sheet stands still.
  upperContainer->fUpdate();
  if (slideState == SLIDE::IDLE && upperContainer->fGetEventCode() == QEL::GUI_EVENT_CLICK &&
      isFrameButton(upperContainer->fGetEventId()))
    onFrameClicked(upperContainer->fGetEventId());

  lowerContainer->fUpdate();
  if (slideState != SLIDE::IDLE || lowerContainer->fGetEventCode() != QEL::GUI_EVENT_CLICK) return;
  const int32_t id = lowerContainer->fGetEventId();
  if (id == CLOSE) {
    playSound(kSoundButtonClick);
    startLeaving(NEXT_SCENE::LEVEL_PACKS);
  } else if (isFrameButton(id)) {
    onFrameClicked(id);
  }
}

void SCENE_CARD_GAME_FRAMES::onFrameClicked(int32_t id) {
  const int32_t level = id - FIRST_FRAME + gCurrentPack * kLevelsPerPack;
  // Only an open frame's button reports a click; the test stands so that no other way in
  // can start a frame that is not open.
  if (!hasLevelResult(level)) {
    QEL::fLog("Level ", level, " is closed");
    return;
  }
  playSound(kSoundButtonClick);
  gCurrentLevel = level;
  startLeaving(NEXT_SCENE::LEVEL);
}

void SCENE_CARD_GAME_FRAMES::startLeaving(NEXT_SCENE next) {
  nextSceneType = next;
  slideState = SLIDE::OUT;
  slideOffset = static_cast<float>(slideDistance);
  playSound(kSoundGuiFly);
}

void SCENE_CARD_GAME_FRAMES::fKeyDown(int32_t code) {
  if (code != KEY_O || !gIsCheat) return;
  gCheatKeyUsed = 1;
  nextSceneType = NEXT_SCENE::MAIN_MENU;
  applyNextSceneType();
}

void SCENE_CARD_GAME_FRAMES::applyNextSceneType() {
  switch (nextSceneType) {
    case NEXT_SCENE::LEVEL:
      requestScene(scene_kind::LEVEL);
      break;
    case NEXT_SCENE::LEVEL_PACKS:
      requestScene(scene_kind::LEVEL_PACKS);
      break;
    case NEXT_SCENE::MAIN_MENU:
      requestScene(scene_kind::MAIN_MENU);
      break;
    case NEXT_SCENE::NONE:
      break;
  }
}
