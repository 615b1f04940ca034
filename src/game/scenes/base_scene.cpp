#include "game/scenes/base_scene.h"

#include "engine/game.h"
#include "engine/globals.h"
#include "game/game_entry.h"

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

void subscribeScenePacks(std::initializer_list<const char*> packs) {
  for (const char* pack : packs) subscribePack(pack);
}
