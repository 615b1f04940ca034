#pragma once
// Interpolation curves, point rotation, local frames and polygon tests.
// Two kinds of curve ends: "exact" forms return the first/last point at t == 0 / t == 1 and
// extrapolate beyond; "clamped" forms (vector lerp, every transform form) return them for
// t <= 0 / t >= 1. A NaN t is never an end.
#include <cstdint>
#include <list>

#include "engine/transform.h"
#include "engine/vectors.h"

namespace QEL {

float fLerp(float a, float b, float t);                                        // exact ends
QS_VECTOR2 fLerp(const QS_VECTOR2& a, const QS_VECTOR2& b, float t);           // clamped
QS_VECTOR3 fLerp(const QS_VECTOR3& a, const QS_VECTOR3& b, float t);           // clamped
// Only the numbers in which a and b differ are written between the ends.
void fLerp(QS_TRANSFORM3& out, const QS_TRANSFORM3& a, const QS_TRANSFORM3& b, float t);

float fBezier2(float p0, float p1, float p2, float t);
QS_VECTOR2 fBezier2(const QS_VECTOR2& p0, const QS_VECTOR2& p1, const QS_VECTOR2& p2, float t);
QS_VECTOR3 fBezier2(const QS_VECTOR3& p0, const QS_VECTOR3& p1, const QS_VECTOR3& p2, float t);
void fBezier2(QS_TRANSFORM3& out, const QS_TRANSFORM3& p0, const QS_TRANSFORM3& p1,
              const QS_TRANSFORM3& p2, float t);

float fBezier3(float p0, float p1, float p2, float p3, float t);
QS_VECTOR2 fBezier3(const QS_VECTOR2& p0, const QS_VECTOR2& p1, const QS_VECTOR2& p2,
                    const QS_VECTOR2& p3, float t);
QS_VECTOR3 fBezier3(const QS_VECTOR3& p0, const QS_VECTOR3& p1, const QS_VECTOR3& p2,
                    const QS_VECTOR3& p3, float t);
void fBezier3(QS_TRANSFORM3& out, const QS_TRANSFORM3& p0, const QS_TRANSFORM3& p1,
              const QS_TRANSFORM3& p2, const QS_TRANSFORM3& p3, float t);

// Bernstein sums over n points. A count of 0 gives zero (or leaves the output unchanged).
QS_VECTOR2 fBezierN(const QS_VECTOR2* points, int32_t count, float t);
QS_VECTOR2 fBezierN(const std::list<QS_VECTOR2>& points, float t);
QS_VECTOR3 fBezierN(const QS_VECTOR3* points, int32_t count, float t);
QS_VECTOR3 fBezierN(const std::list<QS_VECTOR3>& points, float t);
float fBezierN(const float* points, int32_t count, float t);
// Copies the first or last transform at the ends; between them the output is left as it is.
void fBezierN(QS_TRANSFORM3& out, const QS_TRANSFORM3* points, int32_t count, float t);

// Angles in radians, counter-clockwise in a y-up frame (clockwise on the y-down screen).
QS_VECTOR2 fRotatePointAround(float cx, float cy, float x, float y, float angle);
void fRotatePoint(float cx, float cy, float& x, float& y, float angle);
void fRotateIntPoint(float cx, float cy, QS_POINT& point, float angle);

// Maps a screen point into the transform's own frame (used by hit tests).
void fWorldToLocal(float& x, float& y, const QS_TRANSFORM3& transform);
QS_POINT fWorldToLocalPoint(QS_POINT point, const QS_TRANSFORM3& transform);

float fClamp(float value, float min, float max);
float fDampedOscillation(float t, float frequency, float amplitude, float damping);
QS_VECTOR3 fZeroVector3();

// Crossing-count test; the transform forms subtract the transform's world position only.
bool fIsInsidePolygon(const std::list<QS_VECTOR2>& polygon, float x, float y);
bool fIsInsidePolygon(const std::list<QS_POINT>& polygon, int32_t x, int32_t y);
bool fIsInsidePolygon(const std::list<QS_VECTOR2>& polygon, const QS_VECTOR2& point,
                      const QS_TRANSFORM3& transform);
bool fIsInsidePolygon(const std::list<QS_POINT>& polygon, const QS_POINT& point,
                      const QS_TRANSFORM3& transform);

// Weighted mean of the vertices with weights r^3, r drawn from the engine's generator
// (one draw per vertex, in order). An empty list gives (0, 0).
QS_VECTOR2 fRandomPointInPolygon(const std::list<QS_VECTOR2>& polygon);
QS_POINT fRandomPointInPolygon(const std::list<QS_POINT>& polygon);

}  // namespace QEL
