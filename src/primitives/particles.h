#pragma once
// Point-sprite particles emitted from an area, at a steady rate or in bursts, moved and
// coloured over their lives. Subclasses hook into the emission and motion of each particle.
#include <cstddef>
#include <cstdint>

#include "engine/color.h"
#include "engine/fcolor.h"
#include "engine/render_state.h"
#include "engine/vectors.h"

namespace QEL {

class QC_TEXTURE;

// The first three fields are the renderer's point vertex (20 bytes); it walks the list
// through _next.
struct QS_PARTICLE {
  QS_VECTOR3 _position;
  float _size;  // pixels
  QS_COLOR _color;
  float _life;      // from 1.0 down; dead below 0
  float _lifetime;  // seconds
  QS_VECTOR3 _velocity;  // pixels per second
  float _user[3];        // for subclasses
  QS_PARTICLE* _next;
  QS_PARTICLE* _previous;
};

// Fifteen 32-bit words that set up every particle a system emits.
struct QS_PARTICLE_PARAMS {
  QS_VECTOR3 _position;
  float _size;
  uint32_t _color;  // not used: particles start with the birth colour
  float _life;
  float _lifetime;
  QS_VECTOR3 _velocity;
  uint32_t _words[5];  // copied into each particle; the last two become its links
};

static_assert(offsetof(QS_PARTICLE, _size) == 12 && offsetof(QS_PARTICLE, _color) == 16,
              "a particle starts with the renderer's 20-byte point vertex");

static_assert(sizeof(QS_PARTICLE_PARAMS) == 15 * 4, "the parameter block is 15 words");

class QC_PARTICLE_SYSTEM {
 public:
  static constexpr int32_t kCapacity = 8096;

  QC_PARTICLE_SYSTEM(const char* texturePath, const QS_PARTICLE_PARAMS* params);
  QC_PARTICLE_SYSTEM(QC_TEXTURE* texture, const QS_PARTICLE_PARAMS* params);
  virtual ~QC_PARTICLE_SYSTEM();
  QC_PARTICLE_SYSTEM(const QC_PARTICLE_SYSTEM&) = delete;
  QC_PARTICLE_SYSTEM& operator=(const QC_PARTICLE_SYSTEM&) = delete;

  // Once per update with qcFRAME_DELTA: ages and moves the live particles, emits at most one.
  virtual void fUpdate();
  virtual void fOnEmit(QS_PARTICLE* particle);
  virtual void fOnMove(QS_PARTICLE* particle);

  void fStart();
  void fStop();
  void fSetRate(float rate);
  void fSetEmitRect(float cx, float cy, float w, float h);
  void fSetEmitCircle(float x, float y, float radius);
  void fMoveEmitter(float x, float y);
  void fSetTexture(QC_TEXTURE* texture);
  void fBurst(int32_t n);
  void fBurstAt(int32_t n, int32_t x, int32_t y);
  void fDraw();
  void fDebugDump() const;

  int32_t _liveCount = 0;
  int32_t _capacity = kCapacity;
  QS_VECTOR3 _acceleration{0.0f, 140.0f, 0.0f};
  QS_VECTOR3 _emitVelocity{0.0f, 150.0f, 0.0f};
  float _spread = 0.0f;
  QS_FCOLOR _birthColor{0xFFFFFFFFu};
  QS_FCOLOR _halfColor{0xFF00FF00u};
  QS_FCOLOR _deathColor{0x88FFF700u};
  QS_RENDER_STATE _renderState;
  QS_VECTOR3 _startPosition{0.0f, 0.0f, 0.0f};
  float _size = 0.0f;
  uint32_t _colorWord = 0;
  float _startLife = 1.0f;
  float _lifetime = 2.0f;
  QS_VECTOR3 _startVelocity{0.0f, 0.0f, 0.0f};
  uint32_t _words[5] = {0, 0, 0, 0, 0};
  QS_PARTICLE* _live = nullptr;
  QS_PARTICLE* _dead = nullptr;
  uint8_t _emitting = 0;
  float _rate = 1.0f;
  float _interval = 1.0f;
  float _timer = 0.0f;
  QC_TEXTURE* _texture = nullptr;
  int32_t _textureHeight = 0;
  float _x0 = 0.0f, _y0 = 0.0f, _x1 = 0.0f, _y1 = 0.0f, _radius = 0.0f;

 private:
  void fSetup(QC_TEXTURE* texture, const QS_PARTICLE_PARAMS* params);
  void fEmit();
  static void fFreeList(QS_PARTICLE* head);
};

}  // namespace QEL
