#include "engine/curves.h"

#include <cmath>
#include <vector>

#include "engine/globals.h"
#include "engine/random.h"

namespace QEL {
namespace {

bool atOrBelowStart(float t) { return t <= 0.0f; }
bool atOrAboveEnd(float t) { return t >= 1.0f; }

// The twelve numbers of a transform in a fixed order, for the component-wise forms.
float* numbers(QS_TRANSFORM3& t, int i) {
  switch (i / 3) {
    case 0: return (i % 3 == 0) ? &t._pivot.x : (i % 3 == 1) ? &t._pivot.y : &t._pivot.z;
    case 1: return (i % 3 == 0) ? &t._rotation.x : (i % 3 == 1) ? &t._rotation.y : &t._rotation.z;
    case 2: return (i % 3 == 0) ? &t._scale.x : (i % 3 == 1) ? &t._scale.y : &t._scale.z;
    default: return (i % 3 == 0) ? &t._position.x : (i % 3 == 1) ? &t._position.y : &t._position.z;
  }
}
float number(const QS_TRANSFORM3& t, int i) { return *numbers(const_cast<QS_TRANSFORM3&>(t), i); }

void copyNumbers(QS_TRANSFORM3& out, const QS_TRANSFORM3& from) {
  out._pivot = from._pivot;
  out._rotation = from._rotation;
  out._scale = from._scale;
  out._position = from._position;
}

float bezier2(float p0, float p1, float p2, float t) {
  const float u = 1.0f - t;
  return u * u * p0 + 2.0f * t * u * p1 + t * t * p2;
}

float bezier3(float p0, float p1, float p2, float p3, float t) {
  const float u = 1.0f - t;
  return u * u * u * p0 + 3.0f * t * u * u * p1 + 3.0f * t * t * u * p2 + t * t * t * p3;
}

// Sum of P_i * C(n-1, i) * t^i * (1-t)^(n-1-i), built incrementally.
template <class V, class It>
V bernstein(It first, int32_t n, float t, V zero) {
  V sum = zero;
  float powerT = 1.0f;
  float binomial = 1.0f;
  float powerU = std::pow(1.0f - t, static_cast<float>(n - 1));
  It it = first;
  for (int32_t i = 0; i < n; ++i, ++it) {
    sum = sum + (*it) * (powerT * binomial * powerU);
    powerT *= t;
    powerU /= (1.0f - t);
    binomial = binomial * static_cast<float>(n - 1 - i) / static_cast<float>(i + 1);
  }
  return sum;
}

}  // namespace

float fLerp(float a, float b, float t) {
  if (t == 0.0f) return a;
  if (t == 1.0f) return b;
  return (b - a) * t + a;
}

QS_VECTOR2 fLerp(const QS_VECTOR2& a, const QS_VECTOR2& b, float t) {
  if (atOrBelowStart(t)) return a;
  if (atOrAboveEnd(t)) return b;
  return {(b.x - a.x) * t + a.x, (b.y - a.y) * t + a.y};
}

QS_VECTOR3 fLerp(const QS_VECTOR3& a, const QS_VECTOR3& b, float t) {
  if (atOrBelowStart(t)) return a;
  if (atOrAboveEnd(t)) return b;
  return {(b.x - a.x) * t + a.x, (b.y - a.y) * t + a.y, (b.z - a.z) * t + a.z};
}

void fLerp(QS_TRANSFORM3& out, const QS_TRANSFORM3& a, const QS_TRANSFORM3& b, float t) {
  if (atOrBelowStart(t)) return copyNumbers(out, a);
  if (atOrAboveEnd(t)) return copyNumbers(out, b);
  for (int i = 0; i < 12; ++i) {
    const float va = number(a, i), vb = number(b, i);
    if (va != vb) *numbers(out, i) = (vb - va) * t + va;
  }
}

float fBezier2(float p0, float p1, float p2, float t) {
  if (t == 0.0f) return p0;
  if (t == 1.0f) return p2;
  return bezier2(p0, p1, p2, t);
}

QS_VECTOR2 fBezier2(const QS_VECTOR2& p0, const QS_VECTOR2& p1, const QS_VECTOR2& p2, float t) {
  if (t == 0.0f) return p0;
  if (t == 1.0f) return p2;
  return {bezier2(p0.x, p1.x, p2.x, t), bezier2(p0.y, p1.y, p2.y, t)};
}

QS_VECTOR3 fBezier2(const QS_VECTOR3& p0, const QS_VECTOR3& p1, const QS_VECTOR3& p2, float t) {
  if (t == 0.0f) return p0;
  if (t == 1.0f) return p2;
  return {bezier2(p0.x, p1.x, p2.x, t), bezier2(p0.y, p1.y, p2.y, t), bezier2(p0.z, p1.z, p2.z, t)};
}

void fBezier2(QS_TRANSFORM3& out, const QS_TRANSFORM3& p0, const QS_TRANSFORM3& p1,
              const QS_TRANSFORM3& p2, float t) {
  if (atOrBelowStart(t)) return copyNumbers(out, p0);
  if (atOrAboveEnd(t)) return copyNumbers(out, p2);
  for (int i = 0; i < 12; ++i) *numbers(out, i) = bezier2(number(p0, i), number(p1, i), number(p2, i), t);
}

float fBezier3(float p0, float p1, float p2, float p3, float t) {
  if (t == 0.0f) return p0;
  if (t == 1.0f) return p3;
  return bezier3(p0, p1, p2, p3, t);
}

QS_VECTOR2 fBezier3(const QS_VECTOR2& p0, const QS_VECTOR2& p1, const QS_VECTOR2& p2,
                    const QS_VECTOR2& p3, float t) {
  if (t == 0.0f) return p0;
  if (t == 1.0f) return p3;
  return {bezier3(p0.x, p1.x, p2.x, p3.x, t), bezier3(p0.y, p1.y, p2.y, p3.y, t)};
}

QS_VECTOR3 fBezier3(const QS_VECTOR3& p0, const QS_VECTOR3& p1, const QS_VECTOR3& p2,
                    const QS_VECTOR3& p3, float t) {
  if (t == 0.0f) return p0;
  if (t == 1.0f) return p3;
  return {bezier3(p0.x, p1.x, p2.x, p3.x, t), bezier3(p0.y, p1.y, p2.y, p3.y, t),
          bezier3(p0.z, p1.z, p2.z, p3.z, t)};
}

void fBezier3(QS_TRANSFORM3& out, const QS_TRANSFORM3& p0, const QS_TRANSFORM3& p1,
              const QS_TRANSFORM3& p2, const QS_TRANSFORM3& p3, float t) {
  if (atOrBelowStart(t)) return copyNumbers(out, p0);
  if (atOrAboveEnd(t)) return copyNumbers(out, p3);
  for (int i = 0; i < 12; ++i)
    *numbers(out, i) = bezier3(number(p0, i), number(p1, i), number(p2, i), number(p3, i), t);
}

QS_VECTOR2 fBezierN(const QS_VECTOR2* points, int32_t count, float t) {
  if (!points || count <= 0) return QS_VECTOR2(0.0f, 0.0f);
  if (t == 0.0f) return points[0];
  if (t == 1.0f) return points[count - 1];
  return bernstein(points, count, t, QS_VECTOR2(0.0f, 0.0f));
}

QS_VECTOR2 fBezierN(const std::list<QS_VECTOR2>& points, float t) {
  if (points.empty()) return QS_VECTOR2(0.0f, 0.0f);
  if (t == 0.0f) return points.front();
  if (t == 1.0f) return points.back();
  return bernstein(points.begin(), static_cast<int32_t>(points.size()), t, QS_VECTOR2(0.0f, 0.0f));
}

QS_VECTOR3 fBezierN(const QS_VECTOR3* points, int32_t count, float t) {
  if (!points || count <= 0) return QS_VECTOR3(0.0f, 0.0f, 0.0f);
  if (t == 0.0f) return points[0];
  if (t == 1.0f) return points[count - 1];
  return bernstein(points, count, t, QS_VECTOR3(0.0f, 0.0f, 0.0f));
}

QS_VECTOR3 fBezierN(const std::list<QS_VECTOR3>& points, float t) {
  if (points.empty()) return QS_VECTOR3(0.0f, 0.0f, 0.0f);
  if (t == 0.0f) return points.front();
  if (t == 1.0f) return points.back();
  return bernstein(points.begin(), static_cast<int32_t>(points.size()), t, QS_VECTOR3(0.0f, 0.0f, 0.0f));
}

float fBezierN(const float* points, int32_t count, float t) {
  if (!points || count <= 0) return 0.0f;
  if (t == 0.0f) return points[0];
  if (t == 1.0f) return points[count - 1];
  return bernstein(points, count, t, 0.0f);
}

void fBezierN(QS_TRANSFORM3& out, const QS_TRANSFORM3* points, int32_t count, float t) {
  if (!points || count <= 0) return;
  if (atOrBelowStart(t)) return copyNumbers(out, points[0]);
  if (atOrAboveEnd(t)) return copyNumbers(out, points[count - 1]);
}

QS_VECTOR2 fRotatePointAround(float cx, float cy, float x, float y, float angle) {
  if (angle == 0.0f) return {x, y};
  const double c = std::cos(static_cast<double>(angle)), s = std::sin(static_cast<double>(angle));
  const double dx = static_cast<double>(x) - cx, dy = static_cast<double>(y) - cy;
  return {static_cast<float>(c * dx - s * dy + cx), static_cast<float>(s * dx + c * dy + cy)};
}

void fRotatePoint(float cx, float cy, float& x, float& y, float angle) {
  if (angle == 0.0f) return;
  const float c = std::cos(angle), s = std::sin(angle);
  const float dx = x - cx, dy = y - cy;
  x = c * dx - s * dy + cx;
  y = s * dx + c * dy + cy;
}

void fRotateIntPoint(float cx, float cy, QS_POINT& point, float angle) {
  if (angle == 0.0f) return;
  const float c = std::cos(angle), s = std::sin(angle);
  const float dx = static_cast<float>(point.x) - cx, dy = static_cast<float>(point.y) - cy;
  point.x = static_cast<int32_t>(c * dx - s * dy + cx);
  point.y = static_cast<int32_t>(s * dx + c * dy + cy);
}

void fWorldToLocal(float& x, float& y, const QS_TRANSFORM3& t) {
  fRotatePoint(t._position.x, t._position.y, x, y, -t._rotation.z);
  x = (t._position.x - x + t._pivot.x) * t._scale.x;
  y = (t._position.y - y + t._pivot.y) * t._scale.y;
}

QS_POINT fWorldToLocalPoint(QS_POINT p, const QS_TRANSFORM3& t) {
  fRotateIntPoint(t._position.x, t._position.y, p, -t._rotation.z);
  return {static_cast<int32_t>((t._position.x - static_cast<float>(p.x)) + t._pivot.x * t._scale.x),
          static_cast<int32_t>((t._position.y - static_cast<float>(p.y)) + t._pivot.y * t._scale.y)};
}

float fClamp(float value, float min, float max) {
  if (min >= value) return min;
  if (value >= max) return max;
  return value;
}

float fDampedOscillation(float t, float frequency, float amplitude, float damping) {
  const float twoPi = 6.2831855f;
  const float divisor = std::exp(twoPi * t * damping);
  if (std::fabs(divisor) < 0.001f) return 0.0f;  // the oscillation has died out
  return std::sin(twoPi * frequency * t) * amplitude / divisor;
}

QS_VECTOR3 fZeroVector3() { return {0.0f, 0.0f, 0.0f}; }

bool fIsInsidePolygon(const std::list<QS_VECTOR2>& polygon, float x, float y) {
  bool inside = false;
  if (polygon.empty()) return false;
  auto j = std::prev(polygon.end());
  for (auto i = polygon.begin(); i != polygon.end(); j = i, ++i) {
    const float xi = i->x, yi = i->y, xj = j->x, yj = j->y;
    if ((yi < y && y <= yj) || (yj < y && y <= yi)) {
      if (x > xi + (y - yi) * (xj - xi) / (yj - yi)) inside = !inside;
    }
  }
  return inside;
}

bool fIsInsidePolygon(const std::list<QS_POINT>& polygon, int32_t x, int32_t y) {
  bool inside = false;
  if (polygon.empty()) return false;
  auto j = std::prev(polygon.end());
  for (auto i = polygon.begin(); i != polygon.end(); j = i, ++i) {
    const int32_t xi = i->x, yi = i->y, xj = j->x, yj = j->y;
    if ((yi < y && y <= yj) || (yj < y && y <= yi)) {
      if (x > xi + (xj - xi) * (y - yi) / (yj - yi)) inside = !inside;
    }
  }
  return inside;
}

bool fIsInsidePolygon(const std::list<QS_VECTOR2>& polygon, const QS_VECTOR2& point,
                      const QS_TRANSFORM3& transform) {
  const QS_TRANSFORM3 world = transform.fGetWorld(false, false, false);
  return fIsInsidePolygon(polygon, point.x - world._position.x, point.y - world._position.y);
}

bool fIsInsidePolygon(const std::list<QS_POINT>& polygon, const QS_POINT& point,
                      const QS_TRANSFORM3& transform) {
  const QS_TRANSFORM3 world = transform.fGetWorld(false, false, false);
  return fIsInsidePolygon(polygon, point.x - static_cast<int32_t>(world._position.x),
                          point.y - static_cast<int32_t>(world._position.y));
}

namespace {

// r^3 with r from the engine's generator; without one every vertex weighs the same.
float randomWeight() {
  if (!qcRANDOM_INSTANCE) return 1.0f;
  const float r = qcRANDOM_INSTANCE->fGetFloat(0.0f, 1.0f);
  return r * r * r;
}

}  // namespace

QS_VECTOR2 fRandomPointInPolygon(const std::list<QS_VECTOR2>& polygon) {
  float sx = 0.0f, sy = 0.0f, total = 0.0f;
  for (const QS_VECTOR2& v : polygon) {
    const float w = randomWeight();
    sx += w * v.x;
    sy += w * v.y;
    total += w;
  }
  if (total == 0.0f) {
    // Every draw came out 0 (or the list is empty): the plain mean is still inside.
    if (polygon.empty()) return {0.0f, 0.0f};
    for (const QS_VECTOR2& v : polygon) { sx += v.x; sy += v.y; }
    const float n = static_cast<float>(polygon.size());
    return {sx / n, sy / n};
  }
  return {sx / total, sy / total};
}

QS_POINT fRandomPointInPolygon(const std::list<QS_POINT>& polygon) {
  float sx = 0.0f, sy = 0.0f, total = 0.0f;
  for (const QS_POINT& p : polygon) {
    const float w = randomWeight();
    sx += w * static_cast<float>(p.x);
    sy += w * static_cast<float>(p.y);
    total += w;
  }
  if (total == 0.0f) {
    if (polygon.empty()) return {0, 0};
    for (const QS_POINT& p : polygon) { sx += static_cast<float>(p.x); sy += static_cast<float>(p.y); }
    const float n = static_cast<float>(polygon.size());
    return {static_cast<int32_t>(sx / n), static_cast<int32_t>(sy / n)};
  }
  return {static_cast<int32_t>(sx / total), static_cast<int32_t>(sy / total)};
}

}  // namespace QEL
