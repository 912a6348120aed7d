// The cylinder and cone cases of the surface intersection and the angle scan behind them.
#include "geometry/sixcyl.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

#include "geometry/conic.h"
#include "geometry/srfwork.h"
#include "runtime/machcn.h"
#include "runtime/modcon.h"

namespace kvr {
namespace {

using srf::V3;

constexpr int32_t kGeoDegToRad = 2;
// An axis this near to parallel to a plane, a slope or an offset this small.
constexpr float kParallelPlane = 0.0001f;
// 1 - |cos| at most this: the axis stands square to the plane.
constexpr float kSquareToPlane = 0.001f;
// Radii and distances equal within this touch.
constexpr float kTouch = 1.0e-8f;
// Scan angles below this in magnitude count as none.
constexpr float kNoAngle = 1.0e-9f;

constexpr int32_t kScanSteps = 400;
constexpr float kScanStep = 0.9f;
constexpr int32_t kBisections = 10;
constexpr int32_t kTwoRanges = 4;

float smallest() { return MACHCN.real(kMachTolerance); }
float degrees(float radians) { return radians / GEOCON.real(kGeoDegToRad); }

V3 v3(std::span<const float, 3> s) { return {s[0], s[1], s[2]}; }

void setAngles(IsxTyp& r, float start, float end) {
  r.P(13) = start;
  r.P(14) = end;
}

// True when CONRAD finds a point of the curve P on the generator at ANGLE (degrees).
bool pointAt(std::span<const float, 14> p, float angle) {
  int32_t roots = 0;
  int32_t stat = 0;
  std::array<float, 6> l{};
  CONRAD(p.first<12>(), angle, p[10], p[11], roots, l, stat);
  return roots >= 1;
}

// The quadric x^2 + y^2 - (slope z + radius)^2 = 0 of a cylinder or cone in its own frame.
Matrix4R axialQuadric(const AxialSurface& s) {
  Matrix4R q;
  q(1, 1) = 1.0f;
  q(2, 2) = 1.0f;
  q(3, 3) = -s.slope * s.slope;
  q(4, 4) = -s.radius * s.radius;
  q(3, 4) = -s.slope * s.radius;
  q(4, 3) = -s.slope * s.radius;
  return q;
}

// The frame about the first surface's axis for a pair of cylinders or cones: axes e1, e2,
// u1 (rows), the origin where the second axis crosses the plane of the first (parallel
// axes: at the first surface's base, or a cone's apex), the first radius written back as
// the radius there, and S the distance of the second axis along e2 (not negative).
// PARALLEL tells parallel, distinct axes. False when the frame cannot be built, or for
// two coaxial cylinders.
bool pairFrame(AxialSurface& first, const AxialSurface& second, IsxTyp& r, float& s,
               bool& parallel) {
  V3 u1{}, w{};
  if (!srf::unit(v3(first.axis), u1)) return false;
  const V3 m2 = srf::row(second.frame, 3);
  const V3 d = srf::sub(v3(second.base), v3(first.base));
  parallel = false;
  if (!srf::unit(srf::cross(u1, m2), w)) {
    // Parallel axes: w across the axes, along the part of the offset square to axis 1, so
    // that e2 carries the offset (w = u1 x offset would put e2 across it and S to 0, and
    // parallel cylinders would never meet).
    if (srf::unit(srf::sub(d, srf::scale(u1, srf::dot(d, u1))), w)) {
      parallel = true;
    } else {
      const bool cones = std::fabs(first.slope) > smallest() || std::fabs(second.slope) > smallest();
      if (!cones) return false;
      if (!srf::unit({u1[2], 0.0f, -u1[0]}, w) && !srf::unit({0.0f, u1[2], -u1[1]}, w)) {
        return false;
      }
    }
  }
  V3 e1{}, e2{};
  if (!srf::unit(srf::cross(w, u1), e1) || !srf::unit(srf::cross(u1, e1), e2)) return false;
  V3 a2{};
  if (!srf::unit(v3(second.axis), a2)) a2 = m2;
  V3 q{};
  srf::unit({srf::dot(e1, a2), 0.0f, srf::dot(u1, a2)}, q);
  float z0 = 0.0f;
  if (std::fabs(q[0]) > smallest()) {
    z0 = srf::dot(d, u1) - srf::dot(d, e1) * q[2] / q[0];
  } else if (std::fabs(q[2]) <= smallest()) {
    z0 = srf::dot(d, u1);
  } else if (std::fabs(first.slope) > smallest()) {
    z0 = -first.radius / first.slope;
  }
  const V3 origin = srf::add(v3(first.base), srf::scale(u1, z0));
  first.radius = first.radius + first.slope * z0;
  s = srf::dot(d, e2);
  if (s < 0.0f) {
    e1 = srf::neg(e1);
    e2 = srf::neg(e2);
    s = -s;
  }
  srf::setResultFrame(r, e1, e2, u1, origin);
  return true;
}

// The second surface as a quadric in the result frame, and the first's radius and slope.
void pairQuadric(const AxialSurface& first, const AxialSurface& second, IsxTyp& r) {
  srf::quadricInResult(axialQuadric(second), second.frame, r);
  r.P(11) = first.radius;
  r.P(12) = first.slope;
}

// The form and generator range of a sphere of radius R on a cone of radius R0 >= 0 and
// slope K at the foot of the centre, the centre at D >= 0 from the axis towards the
// generator at 90 degrees. False when they do not meet.
//
// The generator at angle t (s = sin t), the whole line through the apex, meets the sphere
// where f(s) = k^2 d^2 s^2 + 2 d r s - r^2 - (1 + k^2)(d^2 - R^2) >= 0, that is for s at
// or beyond the roots s- <= s+ of f. A negative discriminant (the apex inside the sphere)
// or s+ <= -1 leaves every generator two points: two closed branches; s+ within -1..1 the
// range about 90 degrees on the foot's side; otherwise only s <= s- is left, the range
// about 270 degrees on the other side of the apex. The distance from the centre to the
// cone, |d - r| / sqrt(1 + k^2), decides whether they meet at all: a test of the sphere
// against the radius the cone has at the foot holds only for a cylinder.
bool coneRange(float d, float r, float k, float R, int32_t& form, float& start, float& end) {
  const float k2 = k * k;
  const float rho = r / std::sqrt(k2 + 1.0f);
  if (std::fabs(d - r) / std::sqrt(k2 + 1.0f) > R + kTouch) return false;
  start = 0.0f;
  end = 0.0f;
  if (d <= kTouch) {
    // The centre on the axis: every generator alike.
    if (std::fabs(rho - R) <= kTouch) {
      form = 8;
      start = 90.0f;
      end = 270.0f;
    } else {
      form = 5;
    }
    return true;
  }
  // The generator at 270 degrees touches the sphere from inside where s+ = -1.
  if (std::fabs((d + r) / std::sqrt(k2 + 1.0f) - R) <= kTouch) {
    form = 7;
    start = 270.0f;
    end = 270.0f;
    return true;
  }
  const float radicand = ((r * r - R * R * k2) + k2 * d * d) * (k2 + 1.0f);
  if (radicand < 0.0f || d + rho < R) {
    form = 5;
    return true;
  }
  const float root = std::sqrt(radicand);
  const float upper = (root - r) / (d * k2);
  if (upper <= -1.0f) {
    form = 5;
    return true;
  }
  form = 6;
  if (upper <= 1.0f) {
    const float theta = degrees(std::asin(upper));
    start = theta < 0.0f ? theta + 360.0f : theta;
    end = 180.0f - theta;
    return true;
  }
  const float lower = (-r - root) / (d * k2);
  if (lower < -1.0f) return false;
  const float theta = degrees(std::asin(lower));
  start = 180.0f - theta;
  end = 360.0f + theta;
  return true;
}

}  // namespace

void SIXCS4(const InvFrame4R& plane, std::span<const float, 3> base,
            std::span<const float, 3> axis, float radius, float slope, IsxTyp& result,
            int32_t& found) {
  found = 0;
  result.x = std::fabs(slope) > smallest() ? 14 : 13;
  V3 a{}, t{}, e1{}, e2{};
  if (!srf::unit(v3(axis), a)) return;
  const V3 n = srf::row(plane, 3);
  if (!srf::unit(srf::cross(a, n), t)) t = srf::row(plane, 2);
  if (!srf::unit(srf::cross(t, a), e1) || !srf::unit(srf::cross(a, e1), e2)) return;
  const V3 A = v3(base);
  const float c = srf::dot(a, n);
  const float e = -(srf::dot(n, A) + plane(3, 4));

  if (std::fabs(c) < kParallelPlane &&
      (std::fabs(slope) < kParallelPlane || std::fabs(e) <= kParallelPlane)) {
    // The axis runs along the plane: two generators.
    if (radius <= std::fabs(e)) return;
    result.form = 2;
    const float h = std::sqrt(radius * radius - e * e);
    const V3 foot = srf::add(A, srf::scale(e1, e));
    const V3 base1 = srf::add(foot, srf::scale(e2, h));
    const V3 base2 = srf::sub(foot, srf::scale(e2, h));
    V3 dir1 = a, dir2 = a;
    if (result.x == 14) {
      srf::unit(srf::add(a, srf::scale(e2, slope)), dir1);
      srf::unit(srf::sub(a, srf::scale(e2, slope)), dir2);
    }
    for (int32_t k = 1; k <= 3; ++k) {
      const auto i = static_cast<std::size_t>(k - 1);
      result.P(k) = base1[i];
      result.P(k + 3) = dir1[i];
      result.P(k + 6) = base2[i];
      result.P(k + 9) = dir2[i];
    }
    setAngles(result, 0.0f, 0.0f);
    srf::setResultFrame(result, e1, e2, a, A);
    found = 1;
    return;
  }

  float z0 = 0.0f;
  auto apex = [&] {
    result.form = 4;
    z0 = -radius / slope;
  };
  if (std::fabs(c) <= kParallelPlane) {
    // A cone reaches here, or a cylinder whose axis lies exactly at the tolerance: the
    // latter has no apex, and its plane misses or holds it along a generator.
    if (std::fabs(slope) <= smallest()) return;
    apex();
  } else if (1.0f - std::fabs(c) <= kSquareToPlane) {
    result.form = 3;
    z0 = e / c;
  } else if (std::fabs(slope) < std::fabs(c) / srf::length(srf::cross(a, n))) {
    result.form = 3;
    z0 = e / c;
  } else {
    apex();
  }
  srf::setResultFrame(result, e1, e2, a, srf::add(A, srf::scale(a, z0)));
  Matrix4R q;
  q(3, 4) = 0.5f;
  q(4, 3) = 0.5f;
  srf::quadricInResult(q, plane, result);
  // The signed radius: where the plane cuts the axis beyond the apex the radius there is
  // negative, and its magnitude would put the curve on the cone mirrored through the plane
  // square to the axis.
  const float r0 = radius + slope * z0;
  result.P(11) = r0;
  result.P(12) = slope;
  setAngles(result, 0.0f, 0.0f);
  if (result.form == 4) {
    const float k = slope;
    const float alpha = result.P(9) - k * result.P(7) - r0 * result.P(5) + 2.0f * k * r0 * result.P(1);
    const float beta = 2.0f * (2.0f * k * r0 * (2.0f * result.P(2) - result.P(1)) + result.P(9));
    const float gamma = result.P(9) + k * result.P(7) + r0 * result.P(5) + 2.0f * k * r0 * result.P(1);
    float w = -1.0f;
    if (std::fabs(alpha) >= smallest()) {
      const float delta = beta * beta - 4.0f * alpha * gamma;
      if (std::fabs(delta) >= smallest()) {
        if (delta < 0.0f) return;
        float w1 = (-beta - std::sqrt(delta)) / (2.0f * alpha);
        float w2 = (-beta + std::sqrt(delta)) / (2.0f * alpha);
        if (w2 < w1) std::swap(w1, w2);
        // The larger positive root is taken last.
        if (w1 > 0.0f) w = w1;
        if (w2 > 0.0f) w = w2;
      } else {
        w = -beta / (2.0f * alpha);
      }
    } else if (std::fabs(beta) >= smallest()) {
      w = -gamma / beta;
    }
    if (w < 0.0f) return;
    const float theta = degrees(2.0f * std::atan(std::sqrt(w)));
    setAngles(result, -theta < 0.0f ? 360.0f - theta : -theta, theta);
  }
  found = 1;
}

void SIXCS3(std::span<const float, 3> centre, float sphereRadius, const InvFrame4R&,
            std::span<const float, 3> base, std::span<const float, 3> axis, float& radius,
            float slope, const InvFrame4R& cylinder, IsxTyp& result, int32_t& found) {
  const bool cone = std::fabs(slope) > smallest();
  result.x = cone ? 24 : 23;
  V3 a{};
  if (!srf::unit(v3(axis), a)) {
    found = -1;
    return;
  }
  const V3 Q = v3(centre);
  const V3 A = v3(base);
  V3 w{}, e1{}, e2{};
  const bool off = srf::unit(srf::sub(Q, A), w) && srf::unit(srf::cross(w, a), e1);
  if (!off) {
    // The centre lies on the axis: any direction across it.
    const bool across = (srf::unit({a[2], 0.0f, -a[0]}, w) && srf::unit(srf::cross(w, a), e1)) ||
                        (srf::unit({0.0f, a[2], -a[1]}, w) && srf::unit(srf::cross(w, a), e1));
    if (!across) {
      found = 99;
      return;
    }
  }
  if (!srf::unit(srf::cross(a, e1), e2)) {
    found = 99;
    return;
  }
  const float z0 = srf::dot(srf::sub(Q, A), srf::row(cylinder, 3));
  const V3 origin = srf::add(A, srf::scale(a, z0));
  if (srf::dot(srf::sub(Q, origin), e2) < 0.0f) {
    e1 = srf::neg(e1);
    e2 = srf::neg(e2);
  }
  const float d = srf::dot(srf::sub(Q, origin), e2);
  radius = radius + slope * z0;
  const float R = sphereRadius;
  // The cone x^2 + y^2 = (r + k z)^2 is the same with (-r, -k): a foot beyond the apex
  // (a negative radius there) is taken with the radius made positive, so that the
  // generator at 90 degrees runs towards the centre on the foot's side.
  const float r = cone && radius < 0.0f ? -radius : radius;
  const float k = cone && radius < 0.0f ? -slope : slope;
  const float rho = r / std::sqrt(k * k + 1.0f);

  found = 0;
  float start = 0.0f, end = 0.0f;
  bool ranged = false;
  if (cone) {
    if (!coneRange(d, r, k, R, result.form, start, end)) return;
  } else if (d <= kTouch) {
    if (std::fabs(rho - R) <= kTouch) {
      result.form = 8;
      start = 90.0f;
      end = 270.0f;
    } else if (rho < R) {
      result.form = 5;
    } else {
      result.form = 6;
      ranged = true;
    }
  } else {
    if (rho + R <= d) return;
    if (std::fabs(d + rho - R) <= kTouch) {
      result.form = 7;
      start = 270.0f;
      end = 270.0f;
    } else if (d + rho < R) {
      result.form = 5;
    } else {
      result.form = 6;
      ranged = true;
    }
  }
  if (ranged) {
    float theta = 0.0f;
    if (r > smallest()) {
      if (d <= smallest()) {
        found = 99;
        return;
      }
      const float s = (r * r + d * d - R * R) / (2.0f * d * r);
      if (!(std::fabs(s) <= 1.0f)) {
        found = 99;
        return;
      }
      theta = degrees(std::asin(s));
    }
    end = 180.0f - theta;
    start = theta < 0.0f ? theta + 360.0f : theta;
  }
  srf::setResultFrame(result, e1, e2, a, origin);
  Matrix4R q;
  for (int32_t i = 1; i <= 3; ++i) {
    q(i, i) = 1.0f;
    q(i, 4) = -Q[static_cast<std::size_t>(i - 1)];
    q(4, i) = -Q[static_cast<std::size_t>(i - 1)];
  }
  q(4, 4) = srf::dot(Q, Q) - R * R;
  InvFrame4R global;
  srf::setIdentity(global);
  srf::quadricInResult(q, global, result);
  result.P(11) = r;
  result.P(12) = k;
  setAngles(result, start, end);
  found = 1;
}

void SIXFR2(AxialSurface& first, const AxialSurface& second, IsxTyp& result, int32_t& status) {
  float s = 0.0f;
  bool parallel = false;
  status = 1;
  if (!pairFrame(first, second, result, s, parallel)) return;
  pairQuadric(first, second, result);
  status = 0;
}

void SIXCS1(AxialSurface& first, AxialSurface& second, IsxTyp& result, int32_t& found) {
  found = 0;
  const bool cone1 = std::fabs(first.slope) > smallest();
  const bool cone2 = std::fabs(second.slope) > smallest();
  result.x = cone1 && cone2 ? 44 : (cone1 || cone2 ? 34 : 33);
  float s = 0.0f;
  bool parallel = false;
  if (!pairFrame(first, second, result, s, parallel)) return;
  const float r1 = first.radius;
  const float r2 = second.radius;
  float start = 0.0f, end = 0.0f;
  result.form = 6;
  if (result.x != 44) {
    bool angled = false;
    if (s <= kTouch) {
      if (parallel) return;
      if (std::fabs(r1 - r2) <= kTouch) {
        result.form = 8;
        start = 90.0f;
        end = 270.0f;
      } else if (r1 < r2) {
        result.form = 5;
      } else {
        angled = true;
      }
    } else if (std::fabs(r2 - (r1 + s)) <= kTouch) {
      if (parallel) return;
      result.form = 7;
      start = 270.0f;
      end = 270.0f;
    } else if (r2 > r1 + s) {
      result.form = parallel ? 2 : 5;
    } else if (parallel) {
      result.form = 2;
    } else {
      angled = true;
    }
    if (angled) {
      float theta = 0.0f;
      if (r1 > smallest()) {
        const float ratio = std::fabs(s - r2) / r1;
        if (ratio > 1.0f) return;
        theta = degrees(std::asin(ratio));
        if (s < r2) theta = -theta;
      }
      start = theta < 0.0f ? theta + 360.0f : theta;
      end = 180.0f - theta;
    }
  }

  if (result.form == 2) {
    const float u = (r1 * r1 - r2 * r2) / (2.0f * s) + s / 2.0f;
    const float h2 = r1 * r1 - u * u;
    if (h2 < 0.0f) return;
    const float h = std::sqrt(h2);
    const V3 o = result.origin();
    const V3 e1 = srf::resultRow(result, 1);
    const V3 along = srf::add(o, srf::scale(srf::resultRow(result, 2), u));
    const V3 base1 = srf::add(along, srf::scale(e1, h));
    const V3 base2 = srf::sub(along, srf::scale(e1, h));
    for (int32_t k = 1; k <= 3; ++k) {
      const auto i = static_cast<std::size_t>(k - 1);
      result.P(k) = base1[i];
      result.P(k + 3) = first.axis[i];
      result.P(k + 6) = base2[i];
      result.P(k + 9) = first.axis[i];
    }
    setAngles(result, 0.0f, 0.0f);
    found = 1;
    return;
  }

  pairQuadric(first, second, result);
  if ((result.x == 33 && result.form == 6) || result.x == 44) {
    int32_t flag = 0;
    ANGSCN(result.params, start, end, flag);
    if (flag == kTwoRanges) return;
    // A scan without a change at all leaves (0, 0) whether it found a point at every angle
    // or at none: the latter is no curve, and would pass for two closed branches.
    if (flag == 0 && start == 0.0f && end == 0.0f && !pointAt(result.params, 0.0f)) return;
    if (result.x == 44 &&
        (flag != 0 || (std::fabs(start) < kNoAngle && std::fabs(end) < kNoAngle))) {
      result.form = 5;
      start = 0.0f;
      end = 0.0f;
    }
  }
  setAngles(result, start, end);
  found = 1;
}

void SIXCS2(AxialSurface& first, AxialSurface& second, IsxTyp& result, int32_t& found) {
  // A cone of slope 0 (a cone record with equal radii) has no apex: the pair is two
  // cylinders.
  if (std::fabs(second.slope) <= smallest()) {
    first.slope = 0.0f;
    second.slope = 0.0f;
    SIXCS1(first, second, result, found);
    return;
  }
  found = 0;
  result.x = 34;
  V3 u1{}, w{};
  if (!srf::unit(v3(first.axis), u1)) return;
  const V3 m2 = srf::row(second.frame, 3);
  bool coneFirst = false;
  if (!srf::unit(srf::cross(u1, m2), w)) {
    result.form = 5;
  } else {
    V3 e1{}, e2{}, a2{}, q{};
    if (!srf::unit(srf::cross(w, u1), e1) || !srf::unit(srf::cross(u1, e1), e2)) return;
    if (!srf::unit(v3(second.axis), a2)) a2 = m2;
    const V3 apex = srf::sub(v3(second.base), srf::scale(a2, second.radius / second.slope));
    const V3 t = srf::sub(v3(first.base), apex);
    if (srf::dot(t, e2) < 0.0f) {
      e1 = srf::neg(e1);
      e2 = srf::neg(e2);
    }
    if (!srf::unit({srf::dot(e1, a2), srf::dot(e2, a2), srf::dot(u1, a2)}, q)) return;
    if (std::atan2(std::fabs(q[0]), std::fabs(q[2])) - std::fabs(std::atan(second.slope)) <= 0.0f) {
      // The cylinder's axis lies within the cone's opening.
      result.form = 5;
    } else {
      const float tx = srf::dot(e1, t);
      const float ty = srf::dot(e2, t);
      // The outline of the cone seen along the cylinder's axis: y = +-s x with
      // s = sin(alpha) / sqrt(sin^2(beta) - sin^2(alpha)) for the half-angle alpha and the
      // angle beta between the axes; k2 / sin(beta) holds only for square axes.
      const float k2 = second.slope * second.slope;
      const float sinAlpha2 = k2 / (1.0f + k2);
      const float sinBeta2 = q[0] * q[0] + q[1] * q[1];
      const float s = std::sqrt(sinAlpha2 / std::max(sinBeta2 - sinAlpha2, smallest()));
      const float g = std::sqrt(1.0f + s * s);
      const float gx = 1.0f / g;
      const float gy = s / g;
      const float d1 = std::fabs(gx * ty - gy * tx);
      const float d2 = std::fabs(gx * ty + gy * tx);
      const float r1 = first.radius;
      const bool on1 = std::fabs(r1 - d1) <= kTouch;
      const bool on2 = std::fabs(r1 - d2) <= kTouch;
      const float reach = s * std::fabs(tx);
      if (on1 || on2) {
        if (reach < ty) return;
        result.form = on1 && on2 ? 8 : 7;
      } else if (r1 < d1 && r1 < d2) {
        if (reach <= ty) return;
        result.form = 5;
      } else if (r1 > d1 && r1 > d2) {
        result.form = 5;
        coneFirst = true;
      } else {
        result.form = 6;
        coneFirst = reach < ty;
      }
    }
  }
  int32_t stat = 0;
  if (coneFirst) {
    SIXFR2(second, first, result, stat);
  } else {
    SIXFR2(first, second, result, stat);
  }
  if (stat != 0) return;
  float start = 0.0f, end = 0.0f;
  if (result.form == 6) {
    int32_t flag = 0;
    ANGSCN(result.params, start, end, flag);
    if (flag == 0 && start == 0.0f && end == 0.0f && !pointAt(result.params, 0.0f)) return;
  } else if (result.form == 7) {
    start = 270.0f;
    end = 270.0f;
  } else if (result.form == 8) {
    start = 90.0f;
    end = 270.0f;
  }
  setAngles(result, start, end);
  found = 1;
}

void ANGSCN(std::span<const float, 14> p, float& start, float& end, int32_t& flag) {
  auto hasPoint = [&](float angle) { return pointAt(p, angle); };
  start = 0.0f;
  end = 0.0f;
  int32_t changes = 0;
  bool before = hasPoint(0.0f);
  for (int32_t i = 1; i <= kScanSteps; ++i) {
    const float angle = kScanStep * static_cast<float>(i);
    const bool now = hasPoint(angle);
    if (now == before) continue;
    float lo = kScanStep * static_cast<float>(i - 1);
    float hi = angle;
    for (int32_t b = 0; b < kBisections; ++b) {
      const float mid = 0.5f * (lo + hi);
      if (hasPoint(mid) == before) {
        lo = mid;
      } else {
        hi = mid;
      }
    }
    if (now) {
      start = hi;
    } else {
      end = lo;
    }
    ++changes;
    before = now;
  }
  flag = changes == kTwoRanges ? kTwoRanges : (changes <= 2 ? 0 : changes);
}

}  // namespace kvr
