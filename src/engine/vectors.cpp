#include "engine/vectors.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/text_utils.h"

namespace QEL {
namespace {

std::vector<std::string> tokens(const char* text) {
  std::string copy = text ? text : "";
  auto list = fSplitString(copy, ' ', true);
  return {list.begin(), list.end()};
}

}  // namespace

float QS_VECTOR2::fLength() const { return std::sqrt(x * x + y * y); }

float QS_VECTOR2::fNormalize() {
  float length = fLength();
  if (length == 0.0f) return 0.0f;
  x /= length;
  y /= length;
  return length;
}

float QS_VECTOR2::fAngle(const QS_VECTOR2& a, const QS_VECTOR2& b) {
  float c = fDot(a, b) / (b.fLength() * a.fLength());
  c = std::fmax(-1.0f, std::fmin(1.0f, c));  // rounding must not push acos out of its domain
  float angle = std::acos(c);
  return (a.x * b.y - a.y * b.x > 0.0f) ? angle : 2.0f * QC_PI - angle;
}

float QS_VECTOR2::fDirection() const {
  if (x > 0.0f) return y >= 0.0f ? std::atan(y / x) : std::atan(y / x) + 2.0f * QC_PI;
  if (x < 0.0f) return std::atan(y / x) + QC_PI;
  if (y > 0.0f) return QC_PI / 2.0f;
  if (y < 0.0f) return 3.0f * QC_PI / 2.0f;
  return 0.0f;
}

const char* QS_VECTOR2::fToString() const {
  static char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%.*f %.*f", 3, x, 3, y);
  return buffer;
}

void QS_VECTOR2::fParse(const char* text) {
  auto t = tokens(text);
  if (t.size() < 2) return;
  x = static_cast<float>(std::atof(t[0].c_str()));
  y = static_cast<float>(std::atof(t[1].c_str()));
}

float QS_VECTOR3::fLength() const { return std::sqrt(x * x + y * y + z * z); }

float QS_VECTOR3::fNormalize() {
  float length = fLength();
  if (length == 0.0f) return 0.0f;
  x /= length;
  y /= length;
  z /= length;
  return length;
}

float QS_VECTOR3::fAngle(const QS_VECTOR3& a, const QS_VECTOR3& b) {
  float c = fDot(a, b) / (a.fLength() * b.fLength());
  c = std::fmax(-1.0f, std::fmin(1.0f, c));
  float angle = std::acos(c);
  return (a.x * b.y * a.z - a.y * b.x * b.z > 0.0f) ? angle : 2.0f * QC_PI - angle;
}

float QS_VECTOR3::fMinComponent() const { return std::fmin(x, std::fmin(y, z)); }
float QS_VECTOR3::fMaxComponent() const { return std::fmax(x, std::fmax(y, z)); }

const char* QS_VECTOR3::fToString() const {
  static char buffer[144];
  std::snprintf(buffer, sizeof buffer, "%.*f %.*f %.*f", 3, x, 3, y, 3, z);
  return buffer;
}

void QS_VECTOR3::fParse(const char* text) {
  auto t = tokens(text);
  if (t.size() < 3) return;
  x = static_cast<float>(std::atof(t[0].c_str()));
  y = static_cast<float>(std::atof(t[1].c_str()));
  z = static_cast<float>(std::atof(t[2].c_str()));
}

float QS_POINT::fLength() const {
  return std::sqrt(static_cast<float>(x) * static_cast<float>(x) + static_cast<float>(y) * static_cast<float>(y));
}

int32_t QS_POINT::fLengthDifference(const QS_POINT& a, const QS_POINT& b) {
  return static_cast<int32_t>(std::fabs(a.fLength() - b.fLength()));
}

const char* QS_POINT::fToString() const {
  static char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.*i %.*i", 3, x, 3, y);
  return buffer;
}

void QS_POINT::fParse(const char* text) {
  auto t = tokens(text);
  if (t.size() < 2) return;
  x = std::atoi(t[0].c_str());
  y = std::atoi(t[1].c_str());
}

}  // namespace QEL
