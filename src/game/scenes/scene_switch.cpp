// The one place that knows every scene: it creates the scene a scene asks for and carries out
// the switch once the asking scene's operation has returned to the game's entry, and it
// creates the first scene, the main menu, behind the splash screen.
#include "engine/globals.h"
#include "engine/render.h"
#include "game/game_globals.h"
#include "game/scenes/base_scene.h"
#include "game/scenes/editor/editor_scene.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game/scenes/main_menu/main_menu_scene.h"

namespace {

BASE_SCENE* createScene(scene_kind::KIND kind) {
  switch (kind) {
    case scene_kind::MAIN_MENU:
      return new SCENE_CARD_GAME_MAINMENU();
    case scene_kind::LEVEL_PACKS:
      return new SCENE_CARD_GAME_LEVELPACKS();
    case scene_kind::FRAMES:
      return new SCENE_CARD_GAME_FRAMES();
    case scene_kind::LEVEL:
      return new SCENE_CARD_GAME_LEVEL();
    case scene_kind::EDITOR:
      return new SCENE_CARD_GAME_EDITOR();
    case scene_kind::SPLASH:
      break;
  }
  return nullptr;
}

}  // namespace

void changeScene(BASE_SCENE* oldScene, BASE_SCENE* nextScene) {
  gCurrentScene = nextScene;
  if (nextScene != nullptr) nextScene->fInit();
  // Only now: the old scene's end is logged after the new one's start-up.
  if (oldScene != nextScene) delete oldScene;
  // The pictures of the scene left that the next one does not draw give their memory back.
  if (QEL::qcRENDER != nullptr) QEL::qcRENDER->fNoteScreenChange();
}

void switchToRequestedScene() {
  if (gCurrentScene == nullptr) return;
  const std::optional<scene_kind::KIND> kind = gCurrentScene->requestedScene();
  if (!kind.has_value()) return;
  BASE_SCENE* next = createScene(*kind);
  if (next != nullptr) changeScene(gCurrentScene, next);
}

void createMainMenuScene() {
  if (!gIsGameInited) return;
  gCurrentScene = createScene(scene_kind::MAIN_MENU);
  gCurrentScene->fInit();
  gIsGameReady = 1;
}

void onSplashFinished() { createMainMenuScene(); }
