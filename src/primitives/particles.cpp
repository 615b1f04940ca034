#include "primitives/particles.h"

#include <cmath>
#include <cstring>

#include "engine/globals.h"
#include "engine/log.h"
#include "engine/random.h"
#include "engine/render.h"
#include "engine/texture.h"

namespace QEL {
namespace {

constexpr float kTwoPi = 6.28318530718f;

// The engine's generator; a system used before the game made one gets one of its own.
QC_RANDOM& engineRandom() {
  if (qcRANDOM_INSTANCE != nullptr) return *qcRANDOM_INSTANCE;
  static QC_RANDOM* fallback = new QC_RANDOM(0);
  return *fallback;
}

int32_t textureHeight(QC_TEXTURE* texture) { return texture != nullptr ? texture->fGetSize().y : 0; }

}  // namespace

QC_PARTICLE_SYSTEM::QC_PARTICLE_SYSTEM(const char* texturePath, const QS_PARTICLE_PARAMS* params) {
  QC_TEXTURE* texture =
      qcRENDER_INSTANCE != nullptr && texturePath != nullptr ? qcRENDER_INSTANCE->fLoadTexture(texturePath) : nullptr;
  fSetup(texture, params);
}

QC_PARTICLE_SYSTEM::QC_PARTICLE_SYSTEM(QC_TEXTURE* texture, const QS_PARTICLE_PARAMS* params) {
  fSetup(texture, params);
}

void QC_PARTICLE_SYSTEM::fSetup(QC_TEXTURE* texture, const QS_PARTICLE_PARAMS* params) {
  _renderState.fReset();
  _renderState._blend = 1;
  _renderState._additive = 1;
  _renderState._filter = QS_RENDER_STATE::FILTER_POINT;
  _renderState._textured = 1;
  _renderState._primitive = QS_RENDER_STATE::PRIMITIVE_SPRITES;
  _texture = texture;
  _textureHeight = textureHeight(texture);
  if (params != nullptr) {
    _startPosition = params->_position;
    _size = params->_size;
    _colorWord = params->_color;
    _startLife = params->_life;
    _lifetime = params->_lifetime;
    _startVelocity = params->_velocity;
    for (int i = 0; i < 5; ++i) _words[i] = params->_words[i];
  } else {
    _startPosition = QS_VECTOR3(0.0f, 0.0f, 0.0f);
    _size = static_cast<float>(_textureHeight);
    _startLife = 1.0f;
    _lifetime = 2.0f;
    _startVelocity = _emitVelocity;
  }
}

QC_PARTICLE_SYSTEM::~QC_PARTICLE_SYSTEM() {
  fFreeList(_live);
  fFreeList(_dead);
}

void QC_PARTICLE_SYSTEM::fFreeList(QS_PARTICLE* head) {
  while (head != nullptr) {
    QS_PARTICLE* next = head->_next;
    delete head;
    head = next;
  }
}

void QC_PARTICLE_SYSTEM::fOnEmit(QS_PARTICLE*) {}

void QC_PARTICLE_SYSTEM::fOnMove(QS_PARTICLE*) {}

void QC_PARTICLE_SYSTEM::fEmit() {
  auto* p = new QS_PARTICLE;
  p->_position = _startPosition;
  p->_size = _size;
  p->_life = _startLife;
  p->_lifetime = _lifetime;
  p->_velocity = _startVelocity;
  for (int i = 0; i < 3; ++i) {
    float word;
    static_assert(sizeof word == sizeof _words[i]);
    std::memcpy(&word, &_words[i], sizeof word);
    p->_user[i] = word;
  }
  p->_color = _birthColor.fToARGB();

  QC_RANDOM& random = engineRandom();
  if (_x1 == 0.0f) {
    const float r = random.fGetFloat(0.0f, _radius);
    const float a = random.fGetFloat(0.0f, kTwoPi);
    p->_position.x = _x0 + r * std::cos(a);
    p->_position.y = _y0 + r * std::sin(a);
  } else {
    p->_position.x = static_cast<float>(random.fGetInt(static_cast<int32_t>(_x0), static_cast<int32_t>(_x1)));
    p->_position.y = static_cast<float>(random.fGetInt(static_cast<int32_t>(_y0), static_cast<int32_t>(_y1)));
  }

  const float a = random.fGetFloat(0.0f, _spread);
  const float turn = 0.5f * _spread - a;
  const float c = std::cos(turn);
  const float s = std::sin(turn);
  p->_velocity.x = _emitVelocity.x * c - _emitVelocity.y * s;
  p->_velocity.y = _emitVelocity.x * s + _emitVelocity.y * c;
  p->_velocity.z = _startVelocity.z;

  fOnEmit(p);
  p->_previous = nullptr;
  p->_next = _live;
  if (_live != nullptr) _live->_previous = p;
  _live = p;
  ++_liveCount;
}

void QC_PARTICLE_SYSTEM::fUpdate() {
  const float dt = qcFRAME_DELTA;
  QS_PARTICLE* p = _live;
  while (p != nullptr) {
    QS_PARTICLE* next = p->_next;
    if (p->_life < 0.0f) {
      if (p->_previous != nullptr) p->_previous->_next = p->_next;
      else _live = p->_next;
      if (p->_next != nullptr) p->_next->_previous = p->_previous;
      --_liveCount;
      p->_previous = nullptr;
      p->_next = _dead;
      _dead = p;
    } else {
      // A particle without a lifetime has no age to count: it ends at once.
      p->_life = p->_lifetime > 0.0f ? p->_life - dt / p->_lifetime : -1.0f;
      QS_FCOLOR color;
      if (p->_life > 0.5f) {
        color = _birthColor + (_halfColor - _birthColor) * (2.0f * (1.0f - p->_life));
      } else {
        color = _halfColor + (_deathColor - _halfColor) * (1.0f - 2.0f * p->_life);
      }
      p->_color = color.fToARGB();
      p->_velocity += _acceleration * dt;
      p->_position += p->_velocity * dt;
      fOnMove(p);
    }
    p = next;
  }

  _timer += dt;
  if (_emitting != 0 && _liveCount < _capacity && _interval <= _timer) {
    fEmit();
    _timer = 0.0f;
  }

  fFreeList(_dead);
  _dead = nullptr;
}

void QC_PARTICLE_SYSTEM::fStart() {
  _emitting = 1;
  _timer = _interval;
  if (_liveCount < _capacity) {
    fEmit();
    _timer = 0.0f;
  }
}

void QC_PARTICLE_SYSTEM::fStop() { _emitting = 0; }

void QC_PARTICLE_SYSTEM::fSetRate(float rate) {
  _rate = rate;
  _interval = 1.0f / rate;
}

void QC_PARTICLE_SYSTEM::fSetEmitRect(float cx, float cy, float w, float h) {
  _x0 = cx - 0.5f * w;
  _y0 = cy - 0.5f * h;
  _x1 = cx + 0.5f * w;
  _y1 = cy + 0.5f * h;
  _radius = 0.0f;
}

void QC_PARTICLE_SYSTEM::fSetEmitCircle(float x, float y, float radius) {
  _x0 = x;
  _y0 = y;
  _x1 = 0.0f;
  _y1 = 0.0f;
  _radius = radius;
}

void QC_PARTICLE_SYSTEM::fMoveEmitter(float x, float y) {
  if (_x1 != 0.0f && _y1 != 0.0f) {
    fSetEmitRect(x, y, _x1 - _x0, _y1 - _y0);
  } else {
    _x0 = x;
    _y0 = y;
    _x1 = 0.0f;
    _y1 = 0.0f;
  }
}

void QC_PARTICLE_SYSTEM::fSetTexture(QC_TEXTURE* texture) {
  _texture = texture;
  _textureHeight = textureHeight(texture);
}

void QC_PARTICLE_SYSTEM::fBurst(int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if (_emitting != 0) fEmit();
  }
}

void QC_PARTICLE_SYSTEM::fBurstAt(int32_t n, int32_t x, int32_t y) {
  const float x0 = _x0, y0 = _y0, x1 = _x1, y1 = _y1, radius = _radius;
  _x0 = static_cast<float>(x);
  _y0 = static_cast<float>(y);
  _x1 = _y1 = _radius = 0.0f;
  fBurst(n);
  _x0 = x0;
  _y0 = y0;
  _x1 = x1;
  _y1 = y1;
  _radius = radius;
}

void QC_PARTICLE_SYSTEM::fDraw() {
  if (qcRENDER_INSTANCE == nullptr) return;
  qcRENDER_INSTANCE->fDrawPoints(_live, _texture, &_renderState, _liveCount);
}

void QC_PARTICLE_SYSTEM::fDebugDump() const {
  fLog("==== PARTIC_DEBUG ==============");
  for (const QS_PARTICLE* p = _live; p != nullptr; p = p->_next) {
    fLog(static_cast<const void*>(p->_previous), " <- [", p->_life, "] -> ", static_cast<const void*>(p->_next));
  }
}

}  // namespace QEL
