#include "gui/gui_slider.h"

#include <algorithm>
#include <cmath>

#include "engine/render.h"
#include "engine/texture.h"
#include "gui/gui_input.h"

namespace QEL {

namespace {
float length(const QS_VECTOR2& v) { return std::sqrt(v.x * v.x + v.y * v.y); }
}  // namespace

QC_BASESLIDER::QC_BASESLIDER(int32_t id, const QS_SLIDER_PARAMS& p) : QC_GUI_OBJECT(id) {
  QS_VECTOR2 start(p.startX, p.startY);
  QS_VECTOR2 end(p.endX, p.endY);
  const QS_VECTOR2 d = end - start;
  const float len = length(d);
  const QS_VECTOR2 dir = len > 0.0f ? d / len : QS_VECTOR2(1.0f, 0.0f);
  start += dir * (0.5f * p.thickness);
  end -= dir * (0.5f * p.thickness);
  const QS_VECTOR2 mid = (start + end) * 0.5f;
  _node->fSetPosition(mid.x, mid.y, 0.0f);
  start -= mid;
  end -= mid;

  _startNode = new QS_TRANSFORM3;
  _endNode = new QS_TRANSFORM3;
  _thumbNode = new QS_TRANSFORM3;
  _startNode->_parent = _node;
  _endNode->_parent = _node;
  _thumbNode->_parent = _node;
  _startShape = new QS_HIT_SHAPE(QS_HIT_SHAPE::TYPE_CIRCLE, _startNode, p.radius, 0.0f, 0, 0);
  _endShape = new QS_HIT_SHAPE(QS_HIT_SHAPE::TYPE_CIRCLE, _endNode, p.radius, 0.0f, 0, 0);
  _thumbShape = new QS_HIT_SHAPE(QS_HIT_SHAPE::TYPE_CIRCLE, _thumbNode, p.radius, 0.0f, 0, 0);
  _thickness = p.thickness;
  _margin = p.thickness * p.factor;
  _minimum = p.minimum;
  _maximum = p.maximum;
  _step = p.step;
  _value = p.value;
  fSetEnds(start.x, start.y, end.x, end.y);
  _mouseX = gui_input::fMouseX();
  _mouseY = gui_input::fMouseY();
  _startState = _endState = _thumbState = 0;
  _dragging = false;
}

QC_BASESLIDER::~QC_BASESLIDER() {
  delete _startShape;
  delete _endShape;
  delete _thumbShape;
  delete _startNode;
  delete _endNode;
  delete _thumbNode;
}

void QC_BASESLIDER::computeBounds() {
  const QS_VECTOR2 s = startPosition();
  const QS_VECTOR2 e = endPosition();
  const int32_t r = static_cast<int32_t>(fGetRadius());
  _bounds[0] = static_cast<int32_t>(std::min(s.x, e.x)) - r;
  _bounds[1] = static_cast<int32_t>(std::min(s.y, e.y)) - r;
  _bounds[2] = static_cast<int32_t>(std::max(s.x, e.x)) + r;
  _bounds[3] = static_cast<int32_t>(std::max(s.y, e.y)) + r;
}

void QC_BASESLIDER::fSetEnds(float startX, float startY, float endX, float endY) {
  _startNode->fSetPosition(startX, startY, 0.0f);
  _endNode->fSetPosition(endX, endY, 0.0f);
  const QS_VECTOR2 d(endX - startX, endY - startY);
  const float len = length(d);
  _direction = len > 0.0f ? d / len : QS_VECTOR2(1.0f, 0.0f);
  computeBounds();
  fSetRange(_minimum, _maximum);
}

void QC_BASESLIDER::fSetRange(float minimum, float maximum) {
  _minimum = minimum;
  _maximum = maximum;
  const float len = length(endPosition() - startPosition());
  const float span = std::fabs(maximum - minimum);
  // An empty range keeps the thumb at the start of the track.
  _stepVector = span > 0.0f ? _direction * ((len - 2.0f * _margin) / span) : QS_VECTOR2(0.0f, 0.0f);
  _offsetVector = _direction * _margin;
  fSetValue(_value);
}

void QC_BASESLIDER::fSetRadius(float radius) {
  _startShape->fSetWidth(radius);
  _endShape->fSetWidth(radius);
  _thumbShape->fSetWidth(radius);
  computeBounds();
  fSetRange(_minimum, _maximum);
}

void QC_BASESLIDER::fSetValue(float value) {
  _value = std::max(_minimum, std::min(value, _maximum));
  const QS_VECTOR2 thumb = startPosition() + _offsetVector + _stepVector * (_value - _minimum);
  _thumbNode->fSetPosition(thumb.x, thumb.y, 0.0f);
}

void QC_BASESLIDER::fStep(int32_t steps) { fSetValue(_value + static_cast<float>(steps) * _step); }

float QC_BASESLIDER::fGetLength() const { return length(endPosition() - startPosition()) + _thickness; }

void QC_BASESLIDER::fDrawDebug() {
  if (qcRENDER_INSTANCE == nullptr) return;
  const QS_HIT_SHAPE* shapes[3] = {_startShape, _endShape, _thumbShape};
  const int32_t states[3] = {_startState, _endState, _thumbState};
  const uint32_t colours[3] = {0xFF0000FFu, 0xFFFF0000u, 0xFF00FF00u};
  for (int part = 0; part < 3; ++part) {
    const QS_VECTOR2 c = shapes[part]->_node->fGetWorld(false, false, false).fGetPosition();
    // The renderer draws one-pixel lines: a wider outline is drawn as nested rings.
    for (int32_t ring = 0; ring <= states[part]; ++ring) {
      const float r = shapes[part]->_width + static_cast<float>(ring);
      for (int segment = 0; segment < 90; ++segment) {
        const float a0 = static_cast<float>(segment);
        const float a1 = a0 + 1.0f;
        qcRENDER_INSTANCE->fDrawLine(static_cast<int32_t>(c.x + r * std::cos(a0)), static_cast<int32_t>(c.y + r * std::sin(a0)),
                                     static_cast<int32_t>(c.x + r * std::cos(a1)), static_cast<int32_t>(c.y + r * std::sin(a1)),
                                     colours[part]);
      }
    }
  }
  const QS_VECTOR2 o = _node->fGetWorld(false, false, false).fGetPosition();
  const int32_t l = static_cast<int32_t>(o.x) + _bounds[0];
  const int32_t t = static_cast<int32_t>(o.y) + _bounds[1];
  const int32_t r = static_cast<int32_t>(o.x) + _bounds[2];
  const int32_t b = static_cast<int32_t>(o.y) + _bounds[3];
  qcRENDER_INSTANCE->fDrawLine(l, t, r, t, 0xFFFF0000u);
  qcRENDER_INSTANCE->fDrawLine(r, t, r, b, 0xFFFF0000u);
  qcRENDER_INSTANCE->fDrawLine(r, b, l, b, 0xFFFF0000u);
  qcRENDER_INSTANCE->fDrawLine(l, b, l, t, 0xFFFF0000u);
}

bool QC_BASESLIDER::updateCap(int32_t& state, QS_HIT_SHAPE*, int32_t direction, bool over) {
  using namespace gui_input;
  if (state == 0) {
    if (over) {
      state = 1;
      _event.code = GUI_EVENT_ENTER;
    }
    return false;
  }
  if (state == 1) {
    if (!over) {
      state = 0;
      _dragging = false;
      _event.code = GUI_EVENT_LEAVE;
      return false;
    }
    if (fWentDown(kLeftButton)) {
      state = 2;
      _dragging = true;
      _event.code = GUI_EVENT_PRESS;
      return true;
    }
    return false;
  }
  // Pressed.
  if (fReleased(kLeftButton)) {
    _dragging = false;
    state = 1;
    if (over) {
      fStep(direction);
      _event.code = GUI_EVENT_CLICK;
    }
  }
  return true;
}

QS_GUI_EVENT* QC_BASESLIDER::fUpdate() {
  using namespace gui_input;
  _event.code = GUI_EVENT_NONE;
  const float mx = static_cast<float>(*_mouseX);
  const float my = static_cast<float>(*_mouseY);
  if (updateCap(_startState, _startShape, -1, _startShape->fIsInside(mx, my))) return &_event;
  if (updateCap(_endState, _endShape, 1, _endShape->fIsInside(mx, my))) return &_event;

  const bool over = _thumbShape->fIsInside(mx, my);
  if (_thumbState == 0) {
    if (over) {
      _thumbState = 1;
      _event.code = GUI_EVENT_ENTER;
    }
    return nullptr;
  }
  if (_thumbState == 1) {
    if (!over) {
      _thumbState = 0;
      _dragging = false;
      _event.code = GUI_EVENT_LEAVE;
      return nullptr;
    }
    if (fWentDown(kLeftButton)) {
      _thumbState = 2;
      _dragging = true;
      _event.code = GUI_EVENT_PRESS;
      return &_event;
    }
    return nullptr;
  }
  // Pressed: the thumb follows the pointer's projection on the track.
  if (_dragging) {
    _event.code = GUI_EVENT_CHANGE;
    const QS_VECTOR2 start = startPosition();
    const QS_VECTOR2 startWorld = _startNode->fGetWorld(false, false, false).fGetPosition();
    const QS_VECTOR2 toPointer(mx - startWorld.x, my - startWorld.y);
    const float along = std::max(0.0f, toPointer.x * _direction.x + toPointer.y * _direction.y);
    QS_VECTOR2 thumb = start + _direction * along;
    _thumbNode->fSetPosition(thumb.x, thumb.y, 0.0f);
    const float stepLength = length(_stepVector);
    float value = stepLength > 0.0f ? std::floor((along - _margin) / stepLength + _minimum) : _minimum;
    const int32_t roundedStep = static_cast<int32_t>(std::lround(_step));
    if (roundedStep != 0) value -= static_cast<float>(static_cast<int32_t>(std::lround(value)) % roundedStep);
    if (value > _maximum - _step) {
      value = _maximum;
      thumb = endPosition() - _offsetVector;
      _thumbNode->fSetPosition(thumb.x, thumb.y, 0.0f);
    } else if (value < _minimum + _step) {
      value = _minimum;
      thumb = start + _offsetVector;
      _thumbNode->fSetPosition(thumb.x, thumb.y, 0.0f);
    }
    _value = value;
  }
  if (fReleased(kLeftButton)) {
    _dragging = false;
    _thumbState = 1;
    fSetValue(_value);
    _event.code = GUI_EVENT_CLICK;
  }
  return &_event;
}

// ---- the 12-frame slider -------------------------------------------------------------------

QC_GUI_SLIDER12::QC_GUI_SLIDER12(int32_t id, QC_TEXTURE* strip, const QS_SLIDER_PARAMS& params)
    : QC_BASESLIDER(id, params), _strip(strip) {
  const QS_POINT size = strip != nullptr ? strip->fGetSize() : QS_POINT(0, 0);
  const int32_t frameWidth = size.x / 12;
  auto makePart = [&](QS_TRANSFORM3* node, int32_t frame) {
    auto* sprite = new QC_SPRITE(strip, node);
    sprite->fSetSize(frameWidth, size.y);
    sprite->fSetAnchor(0, 0.0f, 0.0f);
    sprite->fSetFrame(12, 1, frame);
    return sprite;
  };
  _startSprite = makePart(_startNode, 0);
  _endSprite = makePart(_endNode, 3);
  _thumbSprite = makePart(_thumbNode, 6);
  for (int i = 0; i < 3; ++i) {
    _trackNodes[i] = new QS_TRANSFORM3;
    _trackNodes[i]->_parent = _node;
    _trackSprites[i] = makePart(_trackNodes[i], 9 + i);
  }
  placeTrack();
}

QC_GUI_SLIDER12::~QC_GUI_SLIDER12() {
  delete _startSprite;
  delete _endSprite;
  delete _thumbSprite;
  for (int i = 0; i < 3; ++i) {
    delete _trackSprites[i];
    delete _trackNodes[i];
  }
}

// The track's two ends sit under the caps and its middle piece stretches between them.
void QC_GUI_SLIDER12::placeTrack() {
  const QS_VECTOR2 s = startPosition();
  const QS_VECTOR2 e = endPosition();
  const float angle = std::atan2(_direction.y, _direction.x);
  const QS_VECTOR2 places[3] = {s, (s + e) * 0.5f, e};
  const int32_t frameHeight = _trackSprites[0]->_height;
  for (int i = 0; i < 3; ++i) {
    _trackNodes[i]->fSetPosition(places[i].x, places[i].y, 0.0f);
    _trackNodes[i]->fSetRotationZ(angle);
  }
  const int32_t middle = static_cast<int32_t>(length(e - s));
  _trackSprites[1]->fSetSize(middle, frameHeight);
  _trackSprites[1]->fSetAnchor(0, 0.0f, 0.0f);
}

QS_GUI_EVENT* QC_GUI_SLIDER12::fUpdate() {
  QS_GUI_EVENT* result = QC_BASESLIDER::fUpdate();
  _startSprite->fSetFrame(12, 1, _startState);
  _endSprite->fSetFrame(12, 1, _endState + 3);
  _thumbSprite->fSetFrame(12, 1, _thumbState + 6);
  return result;
}

void QC_GUI_SLIDER12::fDraw() {
  placeTrack();
  for (QC_SPRITE* sprite : _trackSprites) sprite->fDrawWorld();
  _startSprite->fDrawWorld();
  _endSprite->fDrawWorld();
  _thumbSprite->fDrawWorld();
}

float QC_GUI_SLIDER12::fGetWidth() {
  const float a = std::atan2(_direction.y, _direction.x);
  const float h = static_cast<float>(_thumbSprite->_height);
  return std::fabs(fGetLength() * std::cos(a)) + std::fabs(h * std::sin(a));
}

float QC_GUI_SLIDER12::fGetHeight() {
  const float a = std::atan2(_direction.y, _direction.x);
  const float h = static_cast<float>(_thumbSprite->_height);
  return std::fabs(fGetLength() * std::sin(a)) + std::fabs(h * std::cos(a));
}

}  // namespace QEL
