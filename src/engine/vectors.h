#pragma once
// Small value types copied freely: 2D and 3D float vectors and a 2D integer point.
// QS_VECTOR2 compares by length (== included), QS_POINT compares the sums x + y for
// ordering; both habits are relied on by the code that uses them.
#include <cstdint>

namespace QEL {

constexpr float QC_PI = 3.1415927f;

struct QS_VECTOR2 {
  float x, y;  // left unset by the default constructor

  QS_VECTOR2() = default;
  QS_VECTOR2(float x_, float y_) : x(x_), y(y_) {}
  explicit QS_VECTOR2(float v) : x(v), y(v) {}
  void fSet(float x_, float y_) { x = x_; y = y_; }

  QS_VECTOR2 operator+(const QS_VECTOR2& o) const { return {x + o.x, y + o.y}; }
  QS_VECTOR2 operator-(const QS_VECTOR2& o) const { return {x - o.x, y - o.y}; }
  QS_VECTOR2 operator*(const QS_VECTOR2& o) const { return {x * o.x, y * o.y}; }
  QS_VECTOR2 operator/(const QS_VECTOR2& o) const { return {x / o.x, y / o.y}; }
  QS_VECTOR2 operator+(float s) const { return {x + s, y + s}; }
  QS_VECTOR2 operator-(float s) const { return {x - s, y - s}; }
  QS_VECTOR2 operator*(float s) const { return {x * s, y * s}; }
  QS_VECTOR2 operator/(float s) const { return {x / s, y / s}; }
  QS_VECTOR2& operator+=(const QS_VECTOR2& o) { x += o.x; y += o.y; return *this; }
  QS_VECTOR2& operator-=(const QS_VECTOR2& o) { x -= o.x; y -= o.y; return *this; }
  QS_VECTOR2& operator*=(const QS_VECTOR2& o) { x *= o.x; y *= o.y; return *this; }
  QS_VECTOR2& operator/=(const QS_VECTOR2& o) { x /= o.x; y /= o.y; return *this; }
  QS_VECTOR2& operator+=(float s) { x += s; y += s; return *this; }
  QS_VECTOR2& operator-=(float s) { x -= s; y -= s; return *this; }
  QS_VECTOR2& operator*=(float s) { x *= s; y *= s; return *this; }
  QS_VECTOR2& operator/=(float s) { x /= s; y /= s; return *this; }
  QS_VECTOR2 operator-() const { return {-x, -y}; }
  float operator[](int i) const { return i == 0 ? x : i == 1 ? y : 0.0f; }

  // By length, not by component.
  bool operator==(const QS_VECTOR2& o) const { return fLength() == o.fLength(); }
  bool operator!=(const QS_VECTOR2& o) const { return fLength() != o.fLength(); }
  bool operator<(const QS_VECTOR2& o) const { return fLength() < o.fLength(); }
  bool operator>(const QS_VECTOR2& o) const { return fLength() > o.fLength(); }
  bool operator<=(const QS_VECTOR2& o) const { return fLength() <= o.fLength(); }
  bool operator>=(const QS_VECTOR2& o) const { return fLength() >= o.fLength(); }
  bool operator==(int n) const { return fLength() == static_cast<float>(n); }
  bool operator!=(int n) const { return fLength() != static_cast<float>(n); }
  bool operator<(int n) const { return fLength() < static_cast<float>(n); }
  bool operator>(int n) const { return fLength() > static_cast<float>(n); }
  bool operator<=(int n) const { return fLength() <= static_cast<float>(n); }
  bool operator>=(int n) const { return fLength() >= static_cast<float>(n); }
  bool fIsZero() const { return x == 0.0f && y == 0.0f; }

  float fLength() const;
  float fLengthSquared() const { return x * x + y * y; }
  float fNormalize();
  static float fDot(const QS_VECTOR2& a, const QS_VECTOR2& b) { return a.x * b.x + a.y * b.y; }
  // The angle from a to b in (0, 2π]: two vectors of the same direction give 2π.
  static float fAngle(const QS_VECTOR2& a, const QS_VECTOR2& b);
  static QS_VECTOR2 fPerpendicular(const QS_VECTOR2& v) { return {-v.y, v.x}; }
  // The direction of the vector in [0, 2π), quadrant by quadrant.
  float fDirection() const;
  static float fDistance(const QS_VECTOR2& a, const QS_VECTOR2& b) { return (a - b).fLength(); }

  // "%.3f %.3f" into a buffer overwritten by the next call.
  const char* fToString() const;
  // Reads two blank-separated numbers; with fewer the vector is left unchanged.
  void fParse(const char* text);
};

struct QS_VECTOR3 {
  float x = 0.0f, y = 0.0f, z = 0.0f;

  QS_VECTOR3() = default;
  QS_VECTOR3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
  explicit QS_VECTOR3(float v) : x(v), y(v), z(v) {}
  void fSet(float x_, float y_, float z_) { x = x_; y = y_; z = z_; }

  QS_VECTOR3 operator+(const QS_VECTOR3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  QS_VECTOR3 operator-(const QS_VECTOR3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  QS_VECTOR3 operator*(const QS_VECTOR3& o) const { return {x * o.x, y * o.y, z * o.z}; }
  QS_VECTOR3 operator/(const QS_VECTOR3& o) const { return {x / o.x, y / o.y, z / o.z}; }
  QS_VECTOR3 operator+(float s) const { return {x + s, y + s, z + s}; }
  QS_VECTOR3 operator-(float s) const { return {x - s, y - s, z - s}; }
  QS_VECTOR3 operator*(float s) const { return {x * s, y * s, z * s}; }
  QS_VECTOR3 operator/(float s) const { return {x / s, y / s, z / s}; }
  QS_VECTOR3& operator+=(const QS_VECTOR3& o) { x += o.x; y += o.y; z += o.z; return *this; }
  QS_VECTOR3& operator-=(const QS_VECTOR3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
  QS_VECTOR3& operator*=(const QS_VECTOR3& o) { x *= o.x; y *= o.y; z *= o.z; return *this; }
  QS_VECTOR3& operator/=(const QS_VECTOR3& o) { x /= o.x; y /= o.y; z /= o.z; return *this; }
  QS_VECTOR3& operator+=(float s) { x += s; y += s; z += s; return *this; }
  QS_VECTOR3& operator-=(float s) { x -= s; y -= s; z -= s; return *this; }
  QS_VECTOR3& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
  QS_VECTOR3& operator/=(float s) { x /= s; y /= s; z /= s; return *this; }
  QS_VECTOR3 operator-() const { return {-x, -y, -z}; }
  float operator[](int i) const { return i == 0 ? x : i == 1 ? y : i == 2 ? z : 0.0f; }

  // Exact by component; the orderings and the integer forms compare lengths.
  bool operator==(const QS_VECTOR3& o) const { return x == o.x && y == o.y && z == o.z; }
  bool operator!=(const QS_VECTOR3& o) const { return !(*this == o); }
  bool operator<(const QS_VECTOR3& o) const { return fLength() < o.fLength(); }
  bool operator>(const QS_VECTOR3& o) const { return fLength() > o.fLength(); }
  bool operator<=(const QS_VECTOR3& o) const { return fLength() <= o.fLength(); }
  bool operator>=(const QS_VECTOR3& o) const { return fLength() >= o.fLength(); }
  bool operator==(int n) const { return fLength() == static_cast<float>(n); }
  bool operator!=(int n) const { return fLength() != static_cast<float>(n); }
  bool operator<(int n) const { return fLength() < static_cast<float>(n); }
  bool operator>(int n) const { return fLength() > static_cast<float>(n); }
  bool operator<=(int n) const { return fLength() <= static_cast<float>(n); }
  bool operator>=(int n) const { return fLength() >= static_cast<float>(n); }

  float fLength() const;
  float fLengthSquared() const { return x * x + y * y + z * z; }
  float fNormalize();
  static float fDot(const QS_VECTOR3& a, const QS_VECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
  static QS_VECTOR3 fCross(const QS_VECTOR3& a, const QS_VECTOR3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  }
  static float fAngle(const QS_VECTOR3& a, const QS_VECTOR3& b);
  static QS_VECTOR3 fPerpendicular(const QS_VECTOR3& v) { return {-v.y, v.x, v.z}; }
  float fMinComponent() const;
  float fMaxComponent() const;

  const char* fToString() const;
  void fParse(const char* text);
};

struct QS_POINT {
  int32_t x, y;  // left unset by the default constructor

  QS_POINT() = default;
  QS_POINT(int32_t x_, int32_t y_) : x(x_), y(y_) {}
  void fSet(int32_t x_, int32_t y_) { x = x_; y = y_; }
  void fSet(int32_t v) { x = v; y = v; }

  QS_POINT operator+(const QS_POINT& o) const { return {x + o.x, y + o.y}; }
  QS_POINT operator-(const QS_POINT& o) const { return {x - o.x, y - o.y}; }
  QS_POINT operator*(const QS_POINT& o) const { return {x * o.x, y * o.y}; }
  QS_POINT operator/(const QS_POINT& o) const { return {x / o.x, y / o.y}; }
  QS_POINT operator+(int32_t s) const { return {x + s, y + s}; }
  QS_POINT operator-(int32_t s) const { return {x - s, y - s}; }
  QS_POINT operator*(int32_t s) const { return {x * s, y * s}; }
  QS_POINT operator/(int32_t s) const { return {x / s, y / s}; }
  QS_POINT& operator+=(const QS_POINT& o) { x += o.x; y += o.y; return *this; }
  QS_POINT& operator-=(const QS_POINT& o) { x -= o.x; y -= o.y; return *this; }
  QS_POINT& operator*=(const QS_POINT& o) { x *= o.x; y *= o.y; return *this; }
  QS_POINT& operator/=(const QS_POINT& o) { x /= o.x; y /= o.y; return *this; }
  QS_POINT& operator+=(int32_t s) { x += s; y += s; return *this; }
  QS_POINT& operator-=(int32_t s) { x -= s; y -= s; return *this; }
  QS_POINT& operator*=(int32_t s) { x *= s; y *= s; return *this; }
  QS_POINT& operator/=(int32_t s) { x /= s; y /= s; return *this; }
  QS_POINT operator-() const { return {-x, -y}; }
  int32_t operator[](int i) const { return i == 0 ? x : i == 1 ? y : 0; }

  bool operator==(const QS_POINT& o) const { return x == o.x && y == o.y; }
  bool operator!=(const QS_POINT& o) const { return !(*this == o); }
  // Orderings compare the sums x + y.
  bool operator<(const QS_POINT& o) const { return x + y < o.x + o.y; }
  bool operator>(const QS_POINT& o) const { return x + y > o.x + o.y; }
  bool operator<=(const QS_POINT& o) const { return x + y <= o.x + o.y; }
  bool operator>=(const QS_POINT& o) const { return x + y >= o.x + o.y; }
  bool fIsZero() const { return x == 0 && y == 0; }
  float fLength() const;
  // |length(a) - length(b)| truncated.
  static int32_t fLengthDifference(const QS_POINT& a, const QS_POINT& b);

  // "%.3i %.3i": 5 prints as 005, -3 as -003.
  const char* fToString() const;
  void fParse(const char* text);
};

}  // namespace QEL
