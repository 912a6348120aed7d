#include "geometry/edgmat.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "geometry/geodsp.h"
#include "geometry/vector3.h"
#include "runtime/geosta.h"
#include "runtime/modcon.h"

namespace kvr {

void noNodeCoordinates(const int32_t&, std::span<float, 3>, int32_t& status) { status = 1; }

namespace {

// EDGMAT statuses.
constexpr int32_t kDone = 0;
constexpr int32_t kCountsDiffer = 1;
constexpr int32_t kShortSegment = 2;
constexpr int32_t kNoCoordinates = 3;

// The GEOCON word of the general tolerance 0.001.
constexpr int32_t kGeoToleranceWord = 3;
// Below this sine of their angle two segments count as parallel.
constexpr float kParallelSine = 0.0002f;

using Vec = std::array<double, 3>;

Vec minus(const Vec& p, const Vec& q) { return {p[0] - q[0], p[1] - q[1], p[2] - q[2]}; }
double dot(const Vec& p, const Vec& q) { return p[0] * q[0] + p[1] * q[1] + p[2] * q[2]; }

// The matched nodes of one chain: every STEP-th entry of LIST from position FIRST on,
// M of them; counted from the chain's end when FROMEND is set.
struct Chain {
  std::span<const int32_t> list;
  std::size_t first = 0;  // 0-based position of the chain's first node
  int32_t step = 1;
  int32_t m = 0;

  int32_t node(int32_t j, bool fromEnd) const {
    const int32_t k = fromEnd ? m + 1 - j : j;
    return list[first + static_cast<std::size_t>((k - 1) * step)];
  }
};

// A frame at a chain end: origin, unit axes x, y, z (y and z zero when no matched node
// lies off the first segment's line), the first segment's length, and the place in the
// chain of the node that gave the normal (0 when none did).
struct EndFrame {
  Vec origin{}, x{}, y{}, z{};
  double length = 0.0;
  int32_t normalAt = 0;
};

bool coordinates(int32_t node, Vec& p) {
  std::array<float, 3> xyz{};
  int32_t stat = 1;
  GEODSP.nodeCoordinates(node, xyz, stat);
  if (stat != 0) return false;
  p = {xyz[0], xyz[1], xyz[2]};
  return true;
}

int32_t buildFrame(const Chain& chain, bool fromEnd, double tol, EndFrame& f) {
  Vec second{};
  if (!coordinates(chain.node(1, fromEnd), f.origin) ||
      !coordinates(chain.node(2, fromEnd), second)) {
    return kNoCoordinates;
  }
  const Vec d = minus(second, f.origin);
  f.length = std::sqrt(dot(d, d));
  if (f.length < tol) return kShortSegment;
  int32_t stat = 0;
  DVUNIT(d, f.x, stat);
  for (int32_t k = 3; k <= chain.m; ++k) {
    Vec p{};
    if (!coordinates(chain.node(k, fromEnd), p)) return kNoCoordinates;
    Vec c{};
    DVCRS(f.x, minus(p, f.origin), c);
    if (std::sqrt(dot(c, c)) < tol) continue;  // on the line of the first segment
    DVUNIT(c, f.z, stat);
    DVCRS(f.z, f.x, f.y);
    f.normalAt = k;
    break;
  }
  return kDone;
}

Vec local(const EndFrame& f, const Vec& p) {
  const Vec d = minus(p, f.origin);
  return {dot(d, f.x) / f.length, dot(d, f.y) / f.length, dot(d, f.z) / f.length};
}

bool apart(const Vec& p, const Vec& q, double tol) {
  const Vec d = minus(p, q);
  return std::sqrt(dot(d, d)) > tol;
}

}  // namespace

void SEGINT(std::span<const float, 3> p1, std::span<const float, 3> p2,
            std::span<const float, 3> p3, std::span<const float, 3> p4, float tol,
            std::span<float, 3> point, int32_t& code) {
  const std::array<float, 3> a{p1[0], p1[1], p1[2]};
  const std::array<float, 3> u{p2[0] - a[0], p2[1] - a[1], p2[2] - a[2]};
  const std::array<float, 3> v{p4[0] - p3[0], p4[1] - p3[1], p4[2] - p3[2]};
  const std::array<float, 3> w3{p3[0] - a[0], p3[1] - a[1], p3[2] - a[2]};
  const std::array<float, 3> w4{p4[0] - a[0], p4[1] - a[1], p4[2] - a[2]};
  const float lu = RVLEN(u), lv = RVLEN(v);
  if (lu < tol || lv < tol) {
    code = kSegTooShort;
    return;
  }
  auto atP1 = [&](int32_t c) {
    point[0] = a[0];
    point[1] = a[1];
    point[2] = a[2];
    code = c;
  };
  // Positions of P3 and P4 along u.
  const float g = RVDOT(w3, u) / lu;
  const float h = RVDOT(w4, u) / lu;
  std::array<float, 3> n{};
  VCRS3(u, v, n);
  const float ln = RVLEN(n);
  if (ln / (lu * lv) < kParallelSine) {
    std::array<float, 3> off{};
    VCRS3(u, w3, off);
    if (RVLEN(off) / lu > tol) {
      code = kSegParallel;
    } else if ((g < -tol && h < -tol) || (g > lu && h > lu)) {
      code = kSegCollinear;
    } else {
      atP1(kSegOverlap);
    }
    return;
  }
  if (std::fabs(RVDOT(w3, n) / ln) >= tol) {
    code = kSegSkew;
    return;
  }
  // Signed in-plane distances of P3 and P4 from the line of u.
  std::array<float, 3> c3{}, c4{};
  VCRS3(u, w3, c3);
  VCRS3(u, w4, c4);
  const float e3 = RVDOT(n, c3) / (lu * ln);
  const float e4 = RVDOT(n, c4) / (lu * ln);
  if (std::fabs(e4 - e3) > tol) {
    const float gc = g - e3 * (h - g) / (e4 - e3);
    const float f = gc / lu;
    point[0] = a[0] + f * u[0];
    point[1] = a[1] + f * u[1];
    point[2] = a[2] + f * u[2];
    if (gc <= -tol || gc >= lu + tol) {
      code = kSegLinesCross;
    } else {
      code = e3 * e4 < 0.0f ? kSegCross : kSegLinesCross;
    }
  } else if (std::fabs(e3) > 2.0f * tol || std::fabs(e4) > 2.0f * tol) {
    code = kSegParallel;
  } else if ((g < -2.0f * tol && h < -2.0f * tol) || (g > lu && h > lu)) {
    code = kSegCollinear;
  } else {
    atP1(kSegOverlap);
  }
}

void EDGMAT(int32_t a, int32_t b, int32_t& reversed, int32_t& agreement,
            std::span<const int32_t> list, int32_t& status) {
  reversed = 0;
  agreement = 0;
  status = kCountsDiffer;
  if (a < 2 || b < 2 || list.size() < static_cast<std::size_t>(a) + static_cast<std::size_t>(b)) {
    return;
  }
  Chain c1{list, 0, 1, a};
  Chain c2{list, static_cast<std::size_t>(a), 1, a};
  if (b > a) {
    c2.step = (b - 1) / (a - 1);
    if ((a - 1) * c2.step + 1 != b) return;
  } else if (a > b) {
    c1.step = (a - 1) / (b - 1);
    if ((b - 1) * c1.step + 1 != a) return;
    c1.m = c2.m = b;
  }
  const int32_t m = c1.m;
  const double tol = GEOCON.real(kGeoToleranceWord);

  EndFrame f1, f2, f3;
  status = buildFrame(c1, false, tol, f1);
  if (status == kDone) status = buildFrame(c2, false, tol, f2);
  if (status == kDone) status = buildFrame(c2, true, tol, f3);
  if (status != kDone) return;

  // The same-way candidate (F2) and the opposite-way one (F3) stand only when their
  // normal comes from the same place in the chain as F1's.
  bool same = f2.normalAt == f1.normalAt;
  bool opposite = f3.normalAt == f1.normalAt;
  for (int32_t j = 2; j <= m && (same || opposite); ++j) {
    Vec p{};
    if (!coordinates(c1.node(j, false), p)) {
      status = kNoCoordinates;
      return;
    }
    const Vec l1 = local(f1, p);
    if (same) {
      if (!coordinates(c2.node(j, false), p)) {
        status = kNoCoordinates;
        return;
      }
      same = !apart(l1, local(f2, p), tol);
    }
    if (opposite) {
      if (!coordinates(c2.node(j, true), p)) {
        status = kNoCoordinates;
        return;
      }
      opposite = !apart(l1, local(f3, p), tol);
    }
  }
  agreement = (same ? 1 : 0) + (opposite ? 1 : 0);
  if (agreement == 1) {
    reversed = opposite ? 1 : 0;
    return;
  }
  // The shapes do not decide: chains that run opposite ways make the segments joining
  // their first nodes and their last nodes cross.
  std::array<float, 3> first1{}, first2{}, last1{}, last2{}, point{};
  int32_t stat = 0;
  GEODSP.nodeCoordinates(list[0], first1, stat);
  if (stat == 0) GEODSP.nodeCoordinates(list[static_cast<std::size_t>(a)], first2, stat);
  if (stat == 0) GEODSP.nodeCoordinates(list[static_cast<std::size_t>(a - 1)], last1, stat);
  if (stat == 0) GEODSP.nodeCoordinates(list[static_cast<std::size_t>(a + b - 1)], last2, stat);
  if (stat != 0) {
    status = kNoCoordinates;
    return;
  }
  int32_t code = kSegTooShort;
  SEGINT(first1, first2, last1, last2, GEOSTA.real(kGeoModelTolerance), point, code);
  reversed = code == kSegCross ? 1 : 0;
}

}  // namespace kvr
