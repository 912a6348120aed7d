// Surface patch classification: SRFCLS, BNDLIN with EDGORD, WARP4 and IXMXMN.
#include "geometry/srfcls.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "geometry/geodsp.h"
#include "geometry/matrix4.h"
#include "geometry/vector3.h"
#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "runtime/geosta.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

using FV = std::array<float, 3>;
using DV = std::array<double, 3>;

constexpr int32_t kStraight = 1;
constexpr int32_t kArc = 2;
constexpr int32_t kLargestMode = 1;
constexpr int32_t kSmallestMode = 0;
constexpr int32_t kDescWords = 16;
constexpr int32_t kDescType = 14;
constexpr float kChordStart = 1.0e12f;
constexpr float kToleranceShare = 1000.0f;
constexpr float kStraightJoint = 0.1f;     // a joint bent by no more than this is straight
constexpr float kRightAngleWindow = 0.1f;  // the cylinder's axis within this of square
constexpr int32_t kNameLength = 8;

float epsilon() { return MACHCN.real(kMachEpsilon); }
float tiny() { return MACHCN.real(kMachTolerance); }

// The coordinates of point P through the point query; false when it cannot be read.
bool pointOf(int32_t p, FV& xyz) {
  char name[kNameLength];
  int32_t stat = 1;
  GEODSP.pointCoordinates(p, FText(name, kNameLength), xyz, stat);
  return stat == 0;
}

DV toDouble(const FV& p) { return {p[0], p[1], p[2]}; }
double dist(const DV& a, const DV& b) {
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                   (a[2] - b[2]) * (a[2] - b[2]));
}
FV toFloat(const DV& p) {
  return {static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2])};
}

// The tolerance of a classification: a thousandth of LENGTH, or the model tolerance when
// LENGTH is below the real epsilon.
float toleranceOf(float length) {
  return length >= epsilon() ? length / kToleranceShare : GEOSTA.real(kGeoModelTolerance);
}

// The coordinates in the plane of the frame of three points (FRM3PT), origin at ORIGIN.
struct PlaneFrame {
  InvFrame4D rotation{};
  DV origin{};

  PlaneFrame(const DV& p0, const DV& p1, const DV& p2, const DV& o) {
    FRM3PT(p0, p1, p2, rotation);
    TRFPNT(rotation, o, origin);
  }
  double heightOf(const DV& p) const {
    DV l{};
    TRFPNT(rotation, p, l);
    return l[2] - origin[2];
  }
};

// One side of a surface: its kind and its points (centre 0 for a straight side).
struct Side {
  int32_t kind = 0;
  int32_t first = 0;
  int32_t second = 0;
  int32_t centre = 0;
  void reverse() { std::swap(first, second); }
};

void reverseRow(EdgeTable& t, int32_t r) { std::swap(t.at(r, 1), t.at(r, 2)); }

// The composite line's members chained from P0 into TABLE; false when they do not chain.
bool chainMembers(int32_t line, int32_t p0, EdgeTable& table, int32_t& m, int32_t& kind) {
  const int32_t count = LNG06E(line);
  // More members than the edge table holds would be cut without a word.
  if (count < 1 || count > EdgeTable::kRows) return false;
  std::array<int32_t, EdgeTable::kRows> members{};
  LNG08B(line, members, m);
  if (m < 1 || m != count) return false;
  kind = LNG07B(members[0]);
  if (kind != kStraight && kind != kArc) return false;
  for (int32_t i = 1; i <= m; ++i) {
    const int32_t member = members[static_cast<size_t>(i - 1)];
    if (LNG07B(member) != kind) return false;
    table.at(i, 1) = std::abs(LNG02(member));
    table.at(i, 2) = LNG03(member);
    table.at(i, 3) = kind == kArc ? LNG06(member) : 0;
  }
  // Rows that cannot be chained from the first end point would leave the table holding
  // rows of no member.
  if (EDGORD(table, m, p0) != m) return false;
  if (m >= 2 && table.at(1, 2) != table.at(2, 1) && table.at(1, 2) != table.at(2, 2)) {
    reverseRow(table, 1);
  }
  for (int32_t i = 2; i <= m; ++i) {
    if (table.at(i, 1) != table.at(i - 1, 2)) reverseRow(table, i);
    if (table.at(i, 1) != table.at(i - 1, 2)) return false;
  }
  return true;
}

// Straight members: every joint bent by at most 0.1 degree (or folded back onto itself).
bool straightChain(EdgeTable& t, int32_t m) {
  for (int32_t i = 2; i <= m; ++i) {
    FV before{}, joint{}, after{};
    if (!pointOf(t.at(i - 1, 1), before) || !pointOf(t.at(i, 1), joint) ||
        !pointOf(t.at(i, 2), after)) {
      return false;
    }
    float angle = 0.0f;
    ANGL3P(joint, before, after, angle);
    if (angle > kStraightJoint && angle < 180.0f - kStraightJoint) return false;
  }
  return true;
}

// Arc members: one circle of the first member's radius about its centre, in its plane.
bool circularChain(EdgeTable& t, int32_t m, float tol) {
  FV s{}, e{}, q{};
  if (!pointOf(t.at(1, 1), s) || !pointOf(t.at(1, 2), e) || !pointOf(t.at(1, 3), q)) return false;
  const DV S = toDouble(s), E = toDouble(e), Q = toDouble(q);
  const double r = dist(S, Q);
  if (std::fabs(dist(E, Q) - r) > tol) return false;
  const PlaneFrame frame(S, E, Q, Q);
  for (int32_t i = 2; i <= m; ++i) {
    FV si{}, ei{}, qi{};
    if (!pointOf(t.at(i, 1), si) || !pointOf(t.at(i, 2), ei) || !pointOf(t.at(i, 3), qi)) {
      return false;
    }
    const DV Si = toDouble(si), Ei = toDouble(ei), Qi = toDouble(qi);
    if (dist(Qi, Q) > tol || std::fabs(dist(Si, Qi) - r) > tol ||
        std::fabs(dist(Ei, Qi) - r) > tol || std::fabs(frame.heightOf(Si)) > tol ||
        std::fabs(frame.heightOf(Ei)) > tol) {
      return false;
    }
  }
  return true;
}

// Side K (straight, arc or composite) of a surface; false when it is none of these.
bool sideOf(int32_t line, Side& side) {
  switch (LNG07B(line)) {
    case kStraight:
      side = {kStraight, std::abs(LNG02(line)), LNG03(line), 0};
      return true;
    case kArc:
      side = {kArc, std::abs(LNG02(line)), LNG03(line), LNG06(line)};
      return true;
    case kCompositeLine: {
      int32_t stat = 1;
      BNDLIN(line, side.kind, side.first, side.second, side.centre, stat);
      return stat == 0;
    }
    default:
      return false;
  }
}

// The rows of the classification: the degenerate side (0 none), the kinds of sides 1 to 4
// (0 any), and the sides whose centres are A and B (0 none). Classes 4 and 5 follow 2 and
// 3 with the same kinds: they are tried when a centre lies out of the plane.
struct PatchRule {
  int32_t patchClass;
  int32_t degenerate;
  std::array<int32_t, 4> kinds;
  int32_t sideA;
  int32_t sideB;
};
constexpr std::array<PatchRule, 9> kRules = {{
    {1, 0, {1, 1, 1, 1}, 0, 0},
    {2, 0, {2, 1, 2, 1}, 1, 3},
    {4, 0, {2, 1, 2, 1}, 1, 3},
    {3, 0, {1, 2, 1, 2}, 2, 4},
    {5, 0, {1, 2, 1, 2}, 2, 4},
    {6, 1, {0, 1, 2, 1}, 0, 3},
    {7, 2, {1, 0, 1, 2}, 0, 4},
    {8, 3, {2, 1, 0, 1}, 1, 0},
    {9, 4, {1, 2, 1, 0}, 2, 0},
}};

bool squareAt(const DV& vertex, const DV& p, const DV& q) {
  float angle = 0.0f;
  ANGL3P(toFloat(vertex), toFloat(p), toFloat(q), angle);
  return std::fabs(angle - 90.0f) <= kRightAngleWindow;
}

// The cylinder of class 4 (arcs on sides 1 and 3) or 5 (arcs on sides 2 and 4): equal
// radii, and the axis AB square to the arcs' ends.
bool cylinder(const PatchGeometry& g, int32_t patchClass, float tol) {
  const auto same = [tol](double x, double y) { return std::fabs(x - y) <= tol; };
  if (patchClass == 5) {
    return same(dist(g.p2, g.a), dist(g.p3, g.a)) && same(dist(g.p4, g.b), dist(g.p1, g.b)) &&
           same(dist(g.p2, g.a), dist(g.p1, g.b)) && squareAt(g.a, g.p2, g.b) &&
           squareAt(g.a, g.p3, g.b);
  }
  return same(dist(g.p1, g.a), dist(g.p2, g.a)) && same(dist(g.p3, g.b), dist(g.p4, g.b)) &&
         same(dist(g.p1, g.a), dist(g.p4, g.b)) && squareAt(g.b, g.p3, g.a) &&
         squareAt(g.b, g.p4, g.a);
}

}  // namespace

void SRFCLS(int32_t surface, PatchGeometry& patch, int32_t& status) {
  status = 1;
  std::array<int32_t, kDescWords> desc{};
  char name[kNameLength];
  int32_t stat = 1;
  GEODSP.surfaceDescription(surface, FText(name, kNameLength), desc, stat);
  if (stat != 0) return;
  const int32_t type = desc[kDescType - 1];
  if (type != 1 && type != 3) return;

  // 2. The sides, and the tolerance from the shortest chord.
  std::array<Side, 4> sides{};
  float shortest = kChordStart;
  for (size_t k = 0; k < 4; ++k) {
    if (!sideOf(desc[k + 1], sides[k])) return;
    FV a{}, b{};
    if (!pointOf(sides[k].first, a) || !pointOf(sides[k].second, b)) return;
    shortest = std::min(shortest, RDIST(a, b));
  }
  const float tol = toleranceOf(shortest);

  // 3. The sides in loop order, and the corners.
  if (sides[1].first != sides[0].second && sides[1].second != sides[0].second) sides[0].reverse();
  for (size_t k = 1; k < 4; ++k) {
    if (sides[k].first != sides[k - 1].second) sides[k].reverse();
  }
  std::array<FV, 4> corners{};
  for (size_t k = 0; k < 4; ++k) {
    if (!pointOf(sides[k].first, corners[k])) return;
  }
  PatchGeometry g;
  g.p1 = toDouble(corners[0]);
  g.p2 = toDouble(corners[1]);
  g.p3 = toDouble(corners[2]);
  g.p4 = toDouble(corners[3]);
  const std::array<const DV*, 4> p = {&g.p1, &g.p2, &g.p3, &g.p4};
  int32_t degenerate = 0;
  int32_t degenerateCount = 0;
  for (size_t k = 0; k < 4; ++k) {
    if (dist(*p[k], *p[(k + 1) % 4]) <= tol) {
      degenerate = static_cast<int32_t>(k) + 1;
      ++degenerateCount;
    }
  }
  if (degenerateCount > 1) return;

  // 4. The class.
  float warp = 0.0f;
  WARP4(corners[0], corners[1], corners[2], corners[3], warp);
  for (const PatchRule& rule : kRules) {
    if (rule.degenerate != degenerate) continue;
    bool kinds = true;
    for (size_t k = 0; k < 4; ++k) {
      if (rule.kinds[k] != 0 && rule.kinds[k] != sides[k].kind) kinds = false;
    }
    if (!kinds) continue;
    g.a = {};
    g.b = {};
    FV c{};
    if (rule.sideA != 0) {
      if (!pointOf(sides[static_cast<size_t>(rule.sideA - 1)].centre, c)) return;
      g.a = toDouble(c);
    }
    if (rule.sideB != 0) {
      if (!pointOf(sides[static_cast<size_t>(rule.sideB - 1)].centre, c)) return;
      g.b = toDouble(c);
    }
    if (rule.degenerate == 0) {
      if (warp > tol) return;
      if (rule.patchClass == 2 || rule.patchClass == 3) {
        const PlaneFrame frame(g.p1, g.p2, g.p3, g.p1);
        if (std::fabs(frame.heightOf(g.a)) > tol || std::fabs(frame.heightOf(g.b)) > tol) continue;
      } else if ((rule.patchClass == 4 || rule.patchClass == 5) &&
                 !cylinder(g, rule.patchClass, tol)) {
        return;
      }
    }
    g.patchClass = rule.patchClass;
    patch = g;
    status = 0;
    return;
  }
}

void BNDLIN(int32_t line, int32_t& kind, int32_t& first, int32_t& second, int32_t& centre,
            int32_t& status) {
  status = 1;
  const int32_t a = std::abs(LNG02(line));
  const int32_t b = LNG03(line);
  FV pa{}, pb{};
  if (LNG07B(line) != kCompositeLine || !pointOf(a, pa) || !pointOf(b, pb)) return;
  const float tol = toleranceOf(RDIST(pa, pb));
  EdgeTable table;
  int32_t m = 0;
  int32_t k = 0;
  if (!chainMembers(line, a, table, m, k)) return;
  if (k == kStraight ? !straightChain(table, m) : !circularChain(table, m, tol)) return;
  kind = k;
  centre = k == kArc ? table.at(m, 3) : 0;
  first = a;
  second = b;
  status = 0;
}

int32_t EDGORD(EdgeTable& table, int32_t n, int32_t p0) {
  n = std::min(n, EdgeTable::kRows);
  if (n <= 0) return 0;
  EdgeTable chain;
  int32_t placed = 0;
  const auto place = [&](int32_t r) {
    ++placed;
    for (int32_t c = 1; c <= 3; ++c) chain.at(placed, c) = table.at(r, c);
    table.at(r, 1) = 0;
    table.at(r, 2) = 0;
  };
  for (int32_t r = 1; r <= n; ++r) {
    if (table.at(r, 1) == p0 || table.at(r, 2) == p0) {
      place(r);
      break;
    }
  }
  for (int32_t pass = 2; pass <= n && placed > 0; ++pass) {
    const int32_t s = chain.at(placed, 1);
    const int32_t e = chain.at(placed, 2);
    for (int32_t r = 1; r <= n; ++r) {
      const int32_t rs = table.at(r, 1);
      const int32_t re = table.at(r, 2);
      // A placed row is cleared to 0 at both ends; no point is numbered 0.
      if (rs == 0 && re == 0) continue;
      if (rs == s || re == s || rs == e || re == e) {
        place(r);
        break;
      }
    }
  }
  for (int32_t r = 1; r <= n; ++r) table.rows[static_cast<size_t>(r - 1)] = chain.rows[static_cast<size_t>(r - 1)];
  return placed;
}

void WARP4(std::span<const float, 3> p1, std::span<const float, 3> p2,
           std::span<const float, 3> p3, std::span<const float, 3> p4, float& warp) {
  const FV d1 = {p3[0] - p1[0], p3[1] - p1[1], p3[2] - p1[2]};
  const FV d2 = {p4[0] - p2[0], p4[1] - p2[1], p4[2] - p2[2]};
  FV n{};
  VCRS3(d1, d2, n);
  float length = 0.0f;
  VLEN3(n, length);
  warp = 0.0f;
  if (length < tiny() || length == 0.0f) return;
  n = {n[0] / length, n[1] / length, n[2] / length};
  std::array<float, 4> h{};
  VDOT3(p1, n, h[0]);
  VDOT3(p2, n, h[1]);
  VDOT3(p3, n, h[2]);
  VDOT3(p4, n, h[3]);
  int32_t high = 1;
  int32_t low = 1;
  IXMXMN(kLargestMode, h, 4, high);
  IXMXMN(kSmallestMode, h, 4, low);
  warp = h[static_cast<size_t>(high - 1)] - h[static_cast<size_t>(low - 1)];
}

void IXMXMN(int32_t mode, std::span<const float> values, int32_t n, int32_t& index) {
  n = std::min(n, static_cast<int32_t>(values.size()));
  index = 1;
  if (n <= 1) return;
  float extreme = values[0];
  for (int32_t i = 2; i <= n; ++i) {
    const float v = values[static_cast<size_t>(i - 1)];
    if (mode == kLargestMode ? v > extreme : v < extreme) extreme = v;
  }
  for (int32_t i = 1; i <= n; ++i) {
    if (values[static_cast<size_t>(i - 1)] == extreme) {
      index = i;
      return;
    }
  }
}

}  // namespace kvr
