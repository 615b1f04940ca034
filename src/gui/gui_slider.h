#pragma once
// A slider whose thumb moves along a straight track between two end caps that step the value
// down and up, and the slider drawn from one strip of 12 frames: 0-2 the start cap (idle,
// over, pressed), 3-5 the end cap, 6-8 the thumb, 9-11 the track.
#include <cstdint>

#include "engine/vectors.h"
#include "gui/gui_object.h"
#include "primitives/hit_shape.h"
#include "primitives/sprite.h"

namespace QEL {

class QC_TEXTURE;

struct QS_SLIDER_PARAMS {
  float startX = 0.0f, startY = 0.0f;
  float endX = 0.0f, endY = 0.0f;
  float thickness = 0.0f;
  float radius = 0.0f;  // of the caps and the thumb
  float factor = 1.0f;  // margin = thickness x factor, kept free at each end of the track
  float minimum = 0.0f, maximum = 0.0f, step = 1.0f, value = 0.0f;
};

class QC_BASESLIDER : public QC_GUI_OBJECT {
 public:
  // The widget's node goes to the midpoint of the track; the ends are kept relative to it.
  QC_BASESLIDER(int32_t id, const QS_SLIDER_PARAMS& params);
  ~QC_BASESLIDER() override;

  // Ends relative to the widget's node.
  void fSetEnds(float startX, float startY, float endX, float endY);
  void fSetRange(float minimum, float maximum);
  void fSetRadius(float radius);
  // Clamped to the range; the thumb follows.
  void fSetValue(float value);
  void fStep(int32_t steps);
  float fGetValue() const { return _value; }
  float fGetMin() const { return _minimum; }
  float fGetMax() const { return _maximum; }
  float fGetRadius() const { return _startShape->_width; }
  float fGetThickness() const { return _thickness; }
  float fGetLength() const;
  void fDrawDebug();

  int32_t fGetStartState() const { return _startState; }
  int32_t fGetEndState() const { return _endState; }
  int32_t fGetThumbState() const { return _thumbState; }
  bool fIsDragging() const { return _dragging; }
  QS_TRANSFORM3* fGetStartNode() const { return _startNode; }
  QS_TRANSFORM3* fGetEndNode() const { return _endNode; }
  QS_TRANSFORM3* fGetThumbNode() const { return _thumbNode; }
  QS_HIT_SHAPE* fGetThumbShape() const { return _thumbShape; }
  QS_VECTOR2 fGetDirection() const { return _direction; }

  // A pressed cap or thumb returns the record in every update, with code 0 when nothing
  // else happened.
  QS_GUI_EVENT* fUpdate() override;

 protected:
  QS_VECTOR2 startPosition() const { return _startNode->fGetPosition(); }
  QS_VECTOR2 endPosition() const { return _endNode->fGetPosition(); }
  void computeBounds();
  // One cap's part of the update; true when the update ends with the record.
  bool updateCap(int32_t& state, QS_HIT_SHAPE* shape, int32_t direction, bool over);

  float _margin = 0.0f;
  float _minimum = 0.0f, _maximum = 0.0f, _step = 1.0f, _value = 0.0f;
  int32_t* _mouseX = nullptr;
  int32_t* _mouseY = nullptr;
  float _thickness = 0.0f;
  int32_t _startState = 0, _endState = 0, _thumbState = 0;
  bool _dragging = false;
  int32_t _bounds[4] = {0, 0, 0, 0};
  QS_VECTOR2 _stepVector{0.0f, 0.0f};
  QS_VECTOR2 _offsetVector{0.0f, 0.0f};
  QS_VECTOR2 _direction{1.0f, 0.0f};
  QS_HIT_SHAPE* _startShape = nullptr;
  QS_HIT_SHAPE* _endShape = nullptr;
  QS_HIT_SHAPE* _thumbShape = nullptr;
  QS_TRANSFORM3* _startNode = nullptr;
  QS_TRANSFORM3* _endNode = nullptr;
  QS_TRANSFORM3* _thumbNode = nullptr;
};

class QC_GUI_SLIDER12 : public QC_BASESLIDER {
 public:
  QC_GUI_SLIDER12(int32_t id, QC_TEXTURE* strip, const QS_SLIDER_PARAMS& params);
  ~QC_GUI_SLIDER12() override;

  QS_GUI_EVENT* fUpdate() override;
  void fDraw() override;
  // The extent of the turned track.
  float fGetWidth() override;
  float fGetHeight() override;
  QC_SPRITE* fGetThumbSprite() const { return _thumbSprite; }

 private:
  void placeTrack();

  QC_TEXTURE* _strip = nullptr;
  QC_SPRITE* _startSprite = nullptr;
  QC_SPRITE* _endSprite = nullptr;
  QC_SPRITE* _thumbSprite = nullptr;
  QC_SPRITE* _trackSprites[3] = {nullptr, nullptr, nullptr};
  QS_TRANSFORM3* _trackNodes[3] = {nullptr, nullptr, nullptr};
};

}  // namespace QEL
