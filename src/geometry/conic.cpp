#include "geometry/conic.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "runtime/machcn.h"
#include "runtime/modcon.h"

namespace kvr {
namespace {

constexpr int32_t kGeoDegToRad = 2;
constexpr int32_t kGeoSlopeTolerance = 5;  // a slope below it is a cylinder
// Both |beta / alpha| and |gamma / alpha| below this: the discriminant counts as 0.
constexpr float kTinyRatio = 1.0e-6f;
// A discriminant within this part of beta^2 or |4 alpha gamma| is a double root. The
// limit is relative only: an absolute one has the units of the coefficients squared and
// would merge the two roots of every small enough model.
constexpr float kRelativeDouble = 1.0e-4f;

constexpr int32_t kCartesian = 1;
constexpr int32_t kSpherical = 2;
constexpr int32_t kCylindrical = 3;
constexpr int32_t kConical = 4;

float p(std::span<const float, 12> q, int32_t k) { return q[static_cast<std::size_t>(k - 1)]; }

}  // namespace

void CONRAD(std::span<const float, 12> q, float angle, float a, float b, int32_t& roots,
            std::span<float, 6> l, int32_t& status) {
  const float theta = angle * GEOCON.real(kGeoDegToRad);
  const float cs = std::cos(theta);
  const float sn = std::sin(theta);
  const float x0 = a * cs;
  const float y0 = a * sn;
  const float gamma = p(q, 1) * x0 * x0 + p(q, 2) * y0 * y0 + p(q, 4) * x0 * y0 +
                      p(q, 7) * x0 + p(q, 8) * y0 + p(q, 10);
  float beta = p(q, 5) * x0 + p(q, 6) * y0 + p(q, 9);
  float alpha = p(q, 3);
  if (std::fabs(b) > GEOCON.real(kGeoSlopeTolerance)) {
    const float c = b * cs;
    const float s = b * sn;
    beta = beta + p(q, 7) * c + p(q, 8) * s +
           2.0f * (p(q, 1) * x0 * c + p(q, 2) * y0 * s + p(q, 4) * y0 * c);
    alpha = p(q, 1) * c * c + p(q, 2) * s * s + p(q, 3) + p(q, 4) * s * c + p(q, 5) * c +
            p(q, 6) * s;
  }
  const float smallest = MACHCN.real(kMachTolerance);
  auto candidate = [&](std::size_t first, float z) {
    l[first] = a + b * z;
    l[first + 1] = angle;
    l[first + 2] = z;
  };

  if (std::fabs(alpha) < smallest) {
    if (std::fabs(beta) < smallest) {
      roots = 0;
      status = 1;
      return;
    }
    candidate(0, -gamma / beta);
    roots = 1;
    status = 0;
    return;
  }

  float delta = beta * beta - 4.0f * alpha * gamma;
  if (std::fabs(beta / alpha) < kTinyRatio && std::fabs(gamma / alpha) < kTinyRatio) delta = 0.0f;
  const float scale = std::max(beta * beta, std::fabs(4.0f * alpha * gamma));
  if (std::fabs(delta) < kRelativeDouble * scale) {
    const float z = -beta / (2.0f * alpha);
    candidate(0, z);
    candidate(3, z);
  } else if (delta < 0.0f) {
    roots = -2;
    status = 2;
    return;
  } else {
    const float root = std::sqrt(delta);
    candidate(0, (-beta - root) / (2.0f * alpha));
    candidate(3, (root - beta) / (2.0f * alpha));
  }
  roots = 2;
  status = 0;
}

void LOCGLB(int32_t kind, std::span<const float, 3> origin, int32_t ld, std::span<const float> f,
            std::span<const float, 3> local, std::span<float, 3> point, int32_t& status) {
  status = 1;
  // Three columns of LD values must lie within F.
  if (ld < 3 || f.size() < static_cast<std::size_t>(2 * ld + 3)) return;
  const float toRad = GEOCON.real(kGeoDegToRad);
  std::array<float, 3> c{};
  switch (kind) {
    case kCartesian:
      c = {local[0], local[1], local[2]};
      break;
    case kSpherical: {
      const float t = local[1] * toRad;
      const float ph = local[2] * toRad;
      c = {local[0] * std::sin(t) * std::cos(ph), local[0] * std::sin(t) * std::sin(ph),
           local[0] * std::cos(t)};
      break;
    }
    case kCylindrical:
    case kConical: {
      const float t = local[1] * toRad;
      c = {local[0] * std::cos(t), local[0] * std::sin(t), local[2]};
      break;
    }
    default:
      return;
  }
  auto axis = [&](int32_t k, int32_t i) {
    return f[static_cast<std::size_t>((i - 1) * ld + k - 1)];
  };
  std::array<float, 3> out{};
  for (int32_t i = 1; i <= 3; ++i) {
    out[static_cast<std::size_t>(i - 1)] = origin[static_cast<std::size_t>(i - 1)] +
                                           c[0] * axis(1, i) + c[1] * axis(2, i) +
                                           c[2] * axis(3, i);
  }
  std::copy(out.begin(), out.end(), point.begin());
  status = 0;
}

}  // namespace kvr
