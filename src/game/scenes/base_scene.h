#pragma once
// Every screen after the splash screen is a scene. Exactly one is current (gCurrentScene);
// the engine callbacks hand it the update, draw, key, pointer and error events. A scene
// changes scene itself: it creates the next one, makes it current, initialises it and
// deletes itself as its last act (changeScene).
#include <cstdint>
#include <initializer_list>

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
};

// The scenes' time step for a given updates-per-second figure: 1 / figure, and 0 when that
// exceeds half a second (a stall, or no figure yet).
float sceneTimeStepFor(int32_t updatesPerSecond);
// The same for the figure of the game object's previous second.
float sceneTimeStep();

// The switching protocol: nextScene becomes gCurrentScene, is initialised, and then
// oldScene is deleted. Called by a scene on itself, it must be that scene's last act. The
// pictures that the next scene's first frames do not draw then give their textures back.
void changeScene(BASE_SCENE* oldScene, BASE_SCENE* nextScene);

// Subscribes the packs in order ("" is the main repository). A pack already subscribed is
// harmless: every scene subscribes its packs at every start-up.
void subscribeScenePacks(std::initializer_list<const char*> packs);

// The first scene: once the game is initialised, creates the main menu behind the splash
// screen, makes it current, initialises it and marks the game ready. Deletes nothing.
void createMainMenuScene();
// The splash screen's hand-over hook.
void onSplashFinished();
