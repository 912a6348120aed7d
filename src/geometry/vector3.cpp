#include "geometry/vector3.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "runtime/machcn.h"

// The single-precision routines of the kernel must give the same bits under every
// compiler: no fused multiply-add (the build sets -ffp-contract=off) and no reordering.
#if defined(__FAST_MATH__)
#error "the geometry kernel must not be built with -ffast-math"
#endif

namespace kvr {

void VLEN3(std::span<const float, 3> v, float& length) { length = RVLEN(v); }

float RVLEN(std::span<const float, 3> v) {
  return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

void VLENN(std::span<const float> v, int32_t n, float& length, int32_t& stat) {
  stat = 0;
  if (n <= 0) return;
  const std::size_t count = std::min(static_cast<std::size_t>(n), v.size());
  float sum = 0.0f;
  for (std::size_t k = 0; k < count; ++k) sum += v[k] * v[k];
  const float big = MACHCN.real(kMachRootLargestReal);
  // Before start-up the machine constants are 0 and give no scale: the plain length.
  if (!(big > 0.0f)) {
    length = std::sqrt(sum);
    return;
  }
  const float floor = 1.0f / (big * big);
  if (sum > floor) {
    length = std::sqrt(sum);
    return;
  }
  float scaled = 0.0f;
  for (std::size_t k = 0; k < count; ++k) {
    const float c = v[k] * big;
    scaled += c * c;
  }
  length = scaled > floor ? std::sqrt(scaled) / big : 0.0f;
}

void VDOT3(std::span<const float, 3> a, std::span<const float, 3> b, float& product) {
  product = RVDOT(a, b);
}

float RVDOT(std::span<const float, 3> a, std::span<const float, 3> b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void VCRS3(std::span<const float, 3> a, std::span<const float, 3> b, std::span<float, 3> c) {
  const float x = a[1] * b[2] - a[2] * b[1];
  const float y = a[2] * b[0] - a[0] * b[2];
  const float z = a[0] * b[1] - a[1] * b[0];
  c[0] = x;
  c[1] = y;
  c[2] = z;
}

void RVCRS(std::span<const float, 3> a, std::span<const float, 3> b, std::span<float, 3> c) {
  VCRS3(a, b, c);
}

double DDIST(std::span<const double, 3> p, std::span<const double, 3> q) {
  const double dx = p[0] - q[0], dy = p[1] - q[1], dz = p[2] - q[2];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

float RDIST(std::span<const float, 3> p, std::span<const float, 3> q) {
  return PDIST(p[0], p[1], p[2], q[0], q[1], q[2]);
}

float PDIST(float x1, float y1, float z1, float x2, float y2, float z2) {
  const float dx = x1 - x2, dy = y1 - y2, dz = z1 - z2;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

float DET3R(std::span<const float, 3> u, std::span<const float, 3> v,
            std::span<const float, 3> w) {
  return u[0] * (v[1] * w[2] - v[2] * w[1]) + u[1] * (v[2] * w[0] - v[0] * w[2]) +
         u[2] * (v[0] * w[1] - v[1] * w[0]);
}

void PLNCOF(std::span<const float, 3> x, std::span<const float, 3> y,
            std::span<const float, 3> z, float& a, float& b, float& c, float& d) {
  static constexpr float kOnes[3] = {1.0f, 1.0f, 1.0f};
  const std::span<const float, 3> e(kOnes);
  const float ra = DET3R(y, z, e);
  const float rb = -DET3R(x, z, e);
  const float rc = DET3R(x, y, e);
  const float rd = -DET3R(x, y, z);
  a = ra;
  b = rb;
  c = rc;
  d = rd;
}

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
