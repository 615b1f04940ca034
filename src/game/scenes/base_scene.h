#pragma once
// Every screen after the splash screen is a scene. Exactly one is current (gCurrentScene);
// the engine callbacks hand it the update, draw, key, pointer and error events. A scene that
// leads to another only asks for it by its kind (requestScene); once the scene's update or
// input handler has returned, the game's entry makes the switch (switchToRequestedScene):
// the next scene is created, made current and initialised, and only then is the old one
// deleted. So no scene is ever deleted while one of its own operations runs, and no scene
// knows another's class: scene_switch.cpp is the one file that includes and creates them.
#include <cstdint>
#include <initializer_list>
#include <optional>

// The kinds of screen, numbered as gSceneKind holds them; each scene's start-up sets its own.
// The splash screen is no scene and is never asked for.
namespace scene_kind {
enum KIND : int32_t { SPLASH = 0, MAIN_MENU = 1, LEVEL_PACKS = 2, FRAMES = 3, LEVEL = 4, EDITOR = 5 };
}  // namespace scene_kind

class BASE_SCENE {
 public:
  BASE_SCENE() = default;
  BASE_SCENE(const BASE_SCENE&) = delete;
  BASE_SCENE& operator=(const BASE_SCENE&) = delete;

  // The operations keep this order; the unused slots do nothing.
  virtual ~BASE_SCENE();
  virtual void fUpdate();
  virtual void fDraw();
  virtual void fInit() = 0;
  virtual void fReserved5();
  // The pointer position is read from the input object.
  virtual void fMouseMove();
  virtual void fReserved7();
  virtual void fReserved8();
  // Windows virtual-key codes; mouse buttons 1 left, 2 right, 4 middle.
  virtual void fKeyDown(int32_t code);
  virtual void fKeyUp(int32_t code);
  virtual void fReserved11();
  virtual void fOnError(int32_t code);

  // The scene this one has asked to make way for; empty while it stays.
  std::optional<scene_kind::KIND> requestedScene() const { return requestedKind; }

 protected:
  // Asks for a new scene of the kind in place of this one. The switch waits until the
  // operation under way has returned to the game's entry; this scene stays current and whole
  // until then, and whatever its code does after the request still happens.
  void requestScene(scene_kind::KIND kind) { requestedKind = kind; }

 private:
  std::optional<scene_kind::KIND> requestedKind;
};

// The scenes' time step for a given updates-per-second figure: 1 / figure, and 0 when that
// exceeds half a second (a stall, or no figure yet).
float sceneTimeStepFor(int32_t updatesPerSecond);
// The same for the figure of the game object's previous second.
float sceneTimeStep();

// The switch itself (scene_switch.cpp): nextScene becomes gCurrentScene, is initialised, and
// then oldScene is deleted. No scene calls it on itself; it asks with requestScene. The
// pictures that the next scene's first frames do not draw then give their textures back.
void changeScene(BASE_SCENE* oldScene, BASE_SCENE* nextScene);
// The game's entry calls it after each call into the current scene: when that scene has asked
// for another, a new scene of the kind replaces it through changeScene. Otherwise nothing.
void switchToRequestedScene();

// Subscribes the packs in order ("" is the main repository). A pack already subscribed is
// harmless: every scene subscribes its packs at every start-up.
void subscribeScenePacks(std::initializer_list<const char*> packs);

// The first scene (scene_switch.cpp): once the game is initialised, creates the main menu
// behind the splash screen, makes it current, initialises it and marks the game ready.
// Deletes nothing.
void createMainMenuScene();
// The splash screen's hand-over hook.
void onSplashFinished();
