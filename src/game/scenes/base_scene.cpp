#include "game/scenes/base_scene.h"

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/render.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/scenes/main_menu/main_menu_scene.h"

BASE_SCENE::~BASE_SCENE() = default;

void BASE_SCENE::fUpdate() {}

void BASE_SCENE::fDraw() {}

void BASE_SCENE::fReserved5() {}

void BASE_SCENE::fMouseMove() {}

void BASE_SCENE::fReserved7() {}

void BASE_SCENE::fReserved8() {}

void BASE_SCENE::fKeyDown(int32_t) {}

void BASE_SCENE::fKeyUp(int32_t) {}

void BASE_SCENE::fReserved11() {}

void BASE_SCENE::fOnError(int32_t) {}

float sceneTimeStepFor(int32_t updatesPerSecond) {
  if (updatesPerSecond <= 0) return 0.0f;
  const float step = 1.0f / static_cast<float>(updatesPerSecond);
  return step > 0.5f ? 0.0f : step;
}

float sceneTimeStep() {
  if (QEL::qcGAME == nullptr) return 0.0f;
  return sceneTimeStepFor(QEL::qcGAME->_settings._updatesPerSecond);
}

void changeScene(BASE_SCENE* oldScene, BASE_SCENE* nextScene) {
  gCurrentScene = nextScene;
  if (nextScene != nullptr) nextScene->fInit();
  // Nothing of the old scene is touched after this.
  if (oldScene != nextScene) delete oldScene;
  // The pictures of the scene left that the next one does not draw give their memory back.
  if (QEL::qcRENDER != nullptr) QEL::qcRENDER->fNoteScreenChange();
}

void createMainMenuScene() {
  if (!gIsGameInited) return;
  gCurrentScene = new SCENE_CARD_GAME_MAINMENU();
  gCurrentScene->fInit();
  gIsGameReady = 1;
}

void onSplashFinished() { createMainMenuScene(); }

void subscribeScenePacks(std::initializer_list<const char*> packs) {
  for (const char* pack : packs) subscribePack(pack);
}
