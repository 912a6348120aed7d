#include "geometry/vector3.h"

#include <cmath>

namespace kvr {

void DVUNIT(std::span<const double, 3> v, std::span<double, 3> u, int32_t& stat) {
  const double x = v[0], y = v[1], z = v[2];
  const double q = x * x + y * y + z * z;
  if (std::fabs(q) < 1.0e-10) {
    u[0] = u[1] = u[2] = 0.0;
    stat = 1;
    return;
  }
  const double len = std::sqrt(q);
  u[0] = x / len;
  u[1] = y / len;
  u[2] = z / len;
  stat = 0;
}

void DVCRS(std::span<const double, 3> a, std::span<const double, 3> b, std::span<double, 3> c) {
  const double x = a[1] * b[2] - a[2] * b[1];
  const double y = a[2] * b[0] - a[0] * b[2];
  const double z = a[0] * b[1] - a[1] * b[0];
  c[0] = x;
  c[1] = y;
  c[2] = z;
}

void ANGL3P(std::span<const float, 3> vertex, std::span<const float, 3> p1,
            std::span<const float, 3> p2, float& angle) {
  float dot = 0.0f, aa = 0.0f, bb = 0.0f;
  for (int k = 0; k < 3; ++k) {
    const float a = p1[k] - vertex[k];
    const float b = p2[k] - vertex[k];
    dot += a * b;
    aa += a * a;
    bb += b * b;
  }
  const float lengths = std::sqrt(aa) * std::sqrt(bb);
  if (lengths < 1.0e-32f) {
    angle = 0.0f;
    return;
  }
  const float c = dot / lengths;
  if (c >= 1.0f) {
    angle = 0.0f;
  } else if (c <= -1.0f) {
    angle = 180.0f;
  } else {
    angle = std::acos(c) * 57.2958f;
  }
}

}  // namespace kvr
