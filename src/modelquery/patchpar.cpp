// The parametric position of a point in a surface patch: the shared steps (straight and
// arc fractions, pencil point, sweep circle) and the constructions of the nine classes.
#include "modelquery/patchpar.h"

#include <algorithm>
#include <cmath>

#include "geometry/arccon.h"
#include "geometry/matrix4.h"
#include "geometry/vector3.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

using P = PatchPoint;

constexpr double kLowAngle = 0.1;      // the smallest arc angle, degrees
constexpr double kHighAngle = 179.9;   // the largest
constexpr float kSweepAngle = 1.0f;    // a sweep point this near Q turns to the fallback
constexpr double kPi = 3.14159;        // the arc lengths' own pi
constexpr float kPiReal = 3.14159f;

double epsilon() { return MACHCN.real(kMachEpsilon); }

P plus(const P& a, const P& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
P minus(const P& a, const P& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
P scaled(const P& a, double s) { return {a[0] * s, a[1] * s, a[2] * s}; }
P midpoint(const P& a, const P& b) { return scaled(plus(a, b), 0.5); }
double dot(const P& a, const P& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double dist(const P& a, const P& b) { return DDIST(a, b); }

// ANGL3P on double points: the angle at VERTEX in degrees, in single precision.
float angle(const P& vertex, const P& p, const P& q) {
  auto real = [](const P& x) {
    return std::array<float, 3>{static_cast<float>(x[0]), static_cast<float>(x[1]),
                                static_cast<float>(x[2])};
  };
  float a = 0.0f;
  ANGL3P(real(vertex), real(p), real(q), a);
  return a;
}

bool lineCrossing(const P& a1, const P& a2, const P& b1, const P& b2, P& x) {
  int32_t status = 1;
  LLINTS(a1, a2, b1, b2, x, status);
  return status == 0;
}

// X = the crossing of the circle of the arc S-E about K with the line L1-L2 nearer H.
bool circleCrossing(const P& s, const P& e, const P& k, const P& l1, const P& l2, const P& h,
                    P& x) {
  int32_t status = 1;
  LCINTS(s, e, k, l1, l2, h, x, status);
  return status == 0;
}

// The coordinates of X relative to ORIGIN in the rotation FRAME of FRM3PT.
P localOf(const InvFrame4D& frame, const P& origin, const P& x) {
  P lx{};
  P lo{};
  TRFPNT(frame, x, lx);
  TRFPNT(frame, origin, lo);
  return minus(lx, lo);
}

// The corners and side midpoints of a patch, numbered from 1 as the sides are.
struct Corners {
  std::array<P, 5> p{};
  std::array<P, 5> n{};
  explicit Corners(const PatchGeometry& g) {
    p = {P{}, g.p1, g.p2, g.p3, g.p4};
    for (size_t i = 1; i <= 4; ++i) n[i] = midpoint(p[i], p[i % 4 + 1]);
  }
  const P& at(int32_t i) const { return p[static_cast<size_t>(i)]; }
  const P& mid(int32_t i) const { return n[static_cast<size_t>(i)]; }
};

// The result of a class: (u, v), and whether it is a sector's apex (left unlimited).
struct Coordinates {
  double u = 0.0;
  double v = 0.0;
  bool apex = false;
};

// Class 2: flat, arcs on sides 1 (about A) and 3 (about B).
bool flatArcsAcross(const PatchGeometry& g, const P& q, Coordinates& c) {
  const Corners k(g);
  const P m = midpoint(g.a, g.b);
  P x1{}, x3{};
  if (!circleCrossing(k.at(1), k.at(2), g.a, m, q, k.mid(1), x1)) return false;
  if (!circleCrossing(k.at(3), k.at(4), g.b, m, q, k.mid(3), x3)) return false;
  double g1 = 0.0, g3 = 0.0;
  if (!arcFraction(x1, g.a, k.at(1), k.at(2), dist(k.at(1), g.a), g1) ||
      !arcFraction(x3, g.b, k.at(4), k.at(3), dist(k.at(4), g.b), g3)) {
    return false;
  }
  c.u = (g1 + g3) / 2.0;
  P r{};
  if (!sweepCircle(m, k.mid(2), m, k.mid(4), q, r)) return false;
  P z4{}, z2{};
  if (!circleCrossing(q, r, m, k.at(1), k.at(4), q, z4)) return false;
  if (!circleCrossing(q, r, m, k.at(2), k.at(3), q, z2)) return false;
  double f4 = 0.0, f2 = 0.0;
  if (!straightFraction(z4, k.at(1), k.at(4), f4) || !straightFraction(z2, k.at(2), k.at(3), f2)) {
    return false;
  }
  c.v = (f4 + f2) / 2.0;
  return true;
}

// Class 3: flat, arcs on sides 2 (about A) and 4 (about B); u measured from side 2.
bool flatArcsAlong(const PatchGeometry& g, const P& q, Coordinates& c) {
  const Corners k(g);
  const P m = midpoint(g.a, g.b);
  P x2{}, x4{};
  if (!circleCrossing(k.at(2), k.at(3), g.a, m, q, k.mid(2), x2)) return false;
  if (!circleCrossing(k.at(4), k.at(1), g.b, m, q, k.mid(4), x4)) return false;
  double g2 = 0.0, g4 = 0.0;
  if (!arcFraction(x2, g.a, k.at(2), k.at(3), dist(k.at(2), g.a), g2) ||
      !arcFraction(x4, g.b, k.at(1), k.at(4), dist(k.at(1), g.b), g4)) {
    return false;
  }
  c.v = (g2 + g4) / 2.0;
  P r{};
  if (!sweepCircle(m, k.mid(3), m, k.mid(1), q, r)) return false;
  P z1{}, z3{};
  if (!circleCrossing(q, r, m, k.at(2), k.at(1), q, z1)) return false;
  if (!circleCrossing(q, r, m, k.at(4), k.at(3), q, z3)) return false;
  double f1 = 0.0, f3 = 0.0;
  if (!straightFraction(z1, k.at(2), k.at(1), f1) || !straightFraction(z3, k.at(3), k.at(4), f3)) {
    return false;
  }
  c.u = (f1 + f3) / 2.0;
  return true;
}

// Classes 4 and 5: a cylinder whose arcs (about A) lie on sides 1 and 3 (ACROSS) or on
// sides 2 and 4. The straight coordinate is Q's signed distance along the axis, the other
// the angle of Q about A, projected into the plane of the arc, over the arc's angle.
bool cylinder(const PatchGeometry& g, const P& q, bool across, Coordinates& c) {
  InvFrame4D frame{};
  FRM3PT(g.p1, g.p2, g.p4, frame);
  const P local = localOf(frame, g.p1, q);
  const double length = dist(across ? g.p4 : g.p2, g.p1);
  if (length < epsilon()) return false;
  const double straight = (across ? local[1] : local[0]) / length;

  const P& s = across ? g.p1 : g.p2;
  const P& e = across ? g.p2 : g.p3;
  InvFrame4D arcFrame{};
  FRM3PT(g.a, s, e, arcFrame);
  const P ls = localOf(arcFrame, g.a, s);
  const P le = localOf(arcFrame, g.a, e);
  P lq = localOf(arcFrame, g.a, q);
  lq[2] = 0.0;
  const P origin{};
  const float alpha = angle(origin, ls, le);
  if (alpha < kLowAngle) return false;
  const double swept = static_cast<double>(angle(origin, ls, lq)) / alpha;
  c.u = across ? swept : straight;
  c.v = across ? straight : swept;
  return true;
}

// The sectors, classes 6 to 9: the apex E, the arc (its two ends as handed to the circle
// crossing, its centre A or B), the hint, the apex's (u, v), whether the arc gives u, the
// arc's start and end and the corner whose distance from the centre is its radius, the
// sweep's midpoints about the centre and from the apex, and the two straight sides (start,
// end) whose fractions give the other coordinate. Corners and midpoints by number.
struct SectorRule {
  int32_t apex;
  int32_t arcFirst, arcSecond;
  bool centreA;
  int32_t hint;
  double apexU, apexV;
  bool arcGivesU;
  int32_t arcStart, arcEnd, radiusCorner;
  int32_t sweepMid, fallbackMid;
  int32_t side1Start, side1End, side2Start, side2End;
};
constexpr std::array<SectorRule, 4> kSectors = {{
    {1, 3, 4, false, 3, 0.5, 0.0, true, 4, 3, 3, 2, 4, 1, 4, 2, 3},
    {2, 1, 4, false, 4, 1.0, 0.5, false, 1, 4, 1, 3, 1, 1, 2, 4, 3},
    {3, 1, 2, true, 1, 0.5, 1.0, true, 1, 2, 2, 4, 2, 2, 3, 1, 4},
    {4, 3, 2, true, 2, 0.0, 0.5, false, 2, 3, 2, 1, 3, 1, 2, 4, 3},
}};

bool sector(const PatchGeometry& g, const P& q, const SectorRule& rule, Coordinates& c) {
  const Corners k(g);
  const P& e = k.at(rule.apex);
  const P& centre = rule.centreA ? g.a : g.b;
  const P& hint = k.mid(rule.hint);
  if (dist(e, q) < epsilon()) {
    c = {rule.apexU, rule.apexV, true};
    return true;
  }
  P x{};
  if (!circleCrossing(k.at(rule.arcFirst), k.at(rule.arcSecond), centre, e, q, hint, x)) {
    return false;
  }
  const double radius = dist(k.at(rule.radiusCorner), centre);
  double along = 0.0;
  if (!arcFraction(x, centre, k.at(rule.arcStart), k.at(rule.arcEnd), radius, along)) {
    return false;
  }
  P r{};
  if (!sweepCircle(centre, k.mid(rule.sweepMid), e, k.mid(rule.fallbackMid), q, r)) return false;
  P z1{}, z2{};
  if (!circleCrossing(q, r, centre, k.at(rule.side1Start), k.at(rule.side1End), hint, z1) ||
      !circleCrossing(q, r, centre, k.at(rule.side2Start), k.at(rule.side2End), hint, z2)) {
    return false;
  }
  double f1 = 0.0, f2 = 0.0;
  if (!straightFraction(z1, k.at(rule.side1Start), k.at(rule.side1End), f1) ||
      !straightFraction(z2, k.at(rule.side2Start), k.at(rule.side2End), f2)) {
    return false;
  }
  const double across = (f1 + f2) / 2.0;
  c.u = rule.arcGivesU ? along : across;
  c.v = rule.arcGivesU ? across : along;
  return true;
}

}  // namespace

bool straightFraction(const P& z, const P& s, const P& e, double& f) {
  const P side = minus(e, s);
  if (dist(e, s) < epsilon()) return false;
  const double length2 = dot(side, side);
  // Signed: a point beyond S lies at a negative fraction, which the caller's limit cuts to
  // 0; the distance alone would mirror it into the patch.
  f = dot(minus(z, s), side) / length2;
  return true;
}

bool arcFraction(const P& x, const P& k, const P& s, const P& e, double r, double& g) {
  if (r < epsilon()) return false;
  const float alpha = angle(k, s, e);
  if (alpha < kLowAngle || alpha > kHighAngle) return false;
  const float beta = angle(k, s, x);
  const double part = static_cast<double>(beta) / 360.0 * 2.0 * kPi * r;
  const float whole = alpha / 360.0f * 2.0f * kPiReal * static_cast<float>(r);
  g = part / whole;
  return true;
}

void pencilPoint(const P& a1, const P& a2, const P& b1, const P& b2, const P& q, const P& d,
                 P& w) {
  if (!lineCrossing(a1, a2, b1, b2, w)) w = plus(q, d);
}

bool sweepCircle(const P& k, const P& mid, const P& k2, const P& mid2, const P& q, P& r) {
  const double d = dist(k, q);
  P direction{};
  int32_t stat = 1;
  DVUNIT(minus(mid, k), direction, stat);
  if (stat != 0) return false;
  r = plus(k, scaled(direction, d));
  if (std::fabs(angle(k, q, r)) < kSweepAngle) {
    DVUNIT(minus(mid2, k2), direction, stat);
    if (stat != 0) return false;
    r = plus(k2, scaled(direction, d));
  }
  return true;
}

bool straightSidedPatch(const PatchGeometry& g, const P& q, double& u, double& v) {
  P w{};
  pencilPoint(g.p1, g.p2, g.p3, g.p4, q, minus(g.p3, g.p4), w);
  P y4{}, y2{};
  if (!lineCrossing(g.p1, g.p4, q, w, y4) || !lineCrossing(g.p2, g.p3, q, w, y2)) return false;
  double f4 = 0.0, f2 = 0.0;
  if (!straightFraction(y4, g.p1, g.p4, f4) || !straightFraction(y2, g.p2, g.p3, f2)) return false;

  pencilPoint(g.p2, g.p3, g.p1, g.p4, q, minus(g.p4, g.p1), w);
  P z1{}, z3{};
  if (!lineCrossing(g.p1, g.p2, q, w, z1) || !lineCrossing(g.p4, g.p3, q, w, z3)) return false;
  double f1 = 0.0, f3 = 0.0;
  if (!straightFraction(z1, g.p1, g.p2, f1) || !straightFraction(z3, g.p4, g.p3, f3)) return false;
  v = (f4 + f2) / 2.0;
  u = (f1 + f3) / 2.0;
  return true;
}

bool patchParameters(const PatchGeometry& g, const P& q, double& u, double& v) {
  Coordinates c;
  bool done = false;
  switch (g.patchClass) {
    case 1: done = straightSidedPatch(g, q, c.u, c.v); break;
    case 2: done = flatArcsAcross(g, q, c); break;
    case 3: done = flatArcsAlong(g, q, c); break;
    case 4: done = cylinder(g, q, true, c); break;
    case 5: done = cylinder(g, q, false, c); break;
    case 6: case 7: case 8: case 9:
      done = sector(g, q, kSectors[static_cast<size_t>(g.patchClass - 6)], c);
      break;
    default: break;
  }
  if (!done) return false;
  if (!c.apex) {
    c.u = std::max(std::min(c.u, 1.0), 0.0);
    c.v = std::max(std::min(c.v, 1.0), 0.0);
  }
  u = c.u;
  v = c.v;
  return true;
}

}  // namespace kvr
