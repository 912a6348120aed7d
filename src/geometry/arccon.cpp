// Line and arc constructions: OFFTRF, CRVINT with LLINTS, LCINTS and CCINTS, and ARCPNT.
#include "geometry/arccon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <initializer_list>

#include "geometry/curent.h"
#include "geometry/vector3.h"
#include "modeldb/cmptrf.h"
#include "runtime/geosta.h"
#include "runtime/msgarg.h"

namespace kvr {
namespace {

using DV = std::array<double, 3>;
using FV = std::array<float, 3>;

constexpr double kDegrees = 57.2958;
constexpr double kLowAngle = 0.1;
constexpr double kHighAngle = 179.9;
constexpr double kSmallest = 1.0e-32;
constexpr double kEpsilon = 1.1920929e-7;  // 2^-23
constexpr float kNoDirection = 1.0e-10f;   // a squared length DVUNIT cannot normalise

// The messages of the constructions, each with its reinforcement wording, and the status
// of the intersection routines that CRVINT reports with it (0: none).
struct Refusal {
  int32_t status;
  int32_t line;
  int32_t reinforcement;
};
constexpr Refusal kInvalidKind{0, 2140, 2331};
constexpr Refusal kGuideOnArc{0, 2143, 2332};
constexpr Refusal kArcTooSmall{0, 2144, 2144};
constexpr std::array<Refusal, 6> kIntersectionRefusals = {{
    {1, 2142, 2142},  // collinear points
    {2, 2148, 2335},  // skew
    {3, 2141, 2141},  // arc not of constant radius
    {4, 2149, 2149},  // coincident arc centres
    {5, 2150, 2336},  // no intersection
    {6, 2151, 2337},  // parallel
}};
constexpr const Refusal& kCollinear = kIntersectionRefusals[0];
constexpr const Refusal& kNotConstantRadius = kIntersectionRefusals[2];

float modelTolerance() { return GEOSTA.real(kGeoModelTolerance); }

// Tangent and touching curves are told by distances within this many REAL roundings of
// the size of their data: the points come in single precision, and in general position
// no exact comparison survives their frame.
constexpr double kTouchingRoundings = 16.0;

// The distance within which two curves touch: the roundings above of the largest of the
// radii and the coordinates of the points.
double touchingDistance(std::initializer_list<const DV*> points, std::initializer_list<double> radii) {
  double size = 0.0;
  for (const DV* p : points) {
    for (double c : *p) size = std::max(size, std::fabs(c));
  }
  for (double r : radii) size = std::max(size, std::fabs(r));
  return kTouchingRoundings * kEpsilon * size;
}

// True while the current entity is a reinforcement.
bool reinforcement() {
  int32_t word2 = 0;
  int32_t word1 = 0;
  CURENT(word2, word1);
  return word1 == kReinforcementClass;
}

void post(const Refusal& r, bool reinforced, int32_t& status) {
  MSGQIN(reinforced ? r.reinforcement : r.line, 0);
  status = 1;
}

DV toDouble(Point3R p) { return {p[0], p[1], p[2]}; }
DV minus(const DV& a, const DV& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(const DV& a, const DV& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double norm(const DV& a) { return std::sqrt(dot(a, a)); }

// The angle in degrees at VERTEX between the directions to P and Q, as ANGL3P computes it,
// in double precision.
double angleAt(const DV& vertex, const DV& p, const DV& q) {
  const DV a = minus(p, vertex);
  const DV b = minus(q, vertex);
  const double lengths = norm(a) * norm(b);
  if (lengths < kSmallest) return 0.0;
  const double c = dot(a, b) / lengths;
  if (c >= 1.0) return 0.0;
  if (c <= -1.0) return 180.0;
  return std::acos(c) * kDegrees;
}

bool spansPlane(double angle) { return angle > kLowAngle && angle < kHighAngle; }

// The frame of three points, origin O: local coordinates are the components along the
// rows of ROTATION of the difference to O.
struct LocalFrame {
  DV origin{};
  InvFrame4D rotation{};

  LocalFrame(const DV& o, const DV& p1, const DV& p2) : origin(o) { FRM3PT(o, p1, p2, rotation); }
  DV local(const DV& p) const {
    DV l{};
    TRFPNT(rotation, minus(p, origin), l);
    return l;
  }
  DV global(const DV& l) const {
    DV g = origin;
    for (int32_t k = 1; k <= 3; ++k) {
      for (int32_t i = 1; i <= 3; ++i) g[static_cast<size_t>(k - 1)] += rotation(i, k) * l[static_cast<size_t>(i - 1)];
    }
    return g;
  }
};

void put(std::span<double, 3> out, const DV& p) {
  out[0] = p[0];
  out[1] = p[1];
  out[2] = p[2];
}

// The nearer of the two candidates A and B to G; A on a tie.
const DV& nearer(const DV& a, const DV& b, const DV& g) {
  return norm(minus(b, g)) < norm(minus(a, g)) ? b : a;
}

// A float unit vector of V; false when V has no length.
bool unitOf(const FV& v, FV& u) {
  const float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (!(l >= static_cast<float>(kSmallest))) return false;
  u = {v[0] / l, v[1] / l, v[2] / l};
  return true;
}

FV cross(const FV& a, const FV& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

}  // namespace

void OFFTRF(Point3R p1, Point3R p2, Point3R centre, int32_t kind, Point3R guide, float distance,
            std::span<float, 3> q1, std::span<float, 3> q2, std::span<float, 3> qguide,
            Frame4D& matrix, int32_t& status) {
  status = 0;
  const bool reinforced = reinforcement();
  const float tol = modelTolerance();
  Frame4D m{};
  IDNT4D(m.values);
  const DV a = toDouble(p1);
  const DV b = toDouble(p2);
  const DV g = toDouble(guide);

  if (kind == kCurveLine) {
    float angle = 0.0f;
    ANGL3P(p1, p2, guide, angle);
    if (angle == 0.0f || angle == 180.0f) return post(kCollinear, reinforced, status);
    const DV u = minus(b, a);
    const DV w = minus(g, a);
    DV uw{}, across{}, n{};
    DVCRS(u, w, uw);
    DVCRS(uw, u, across);
    int32_t stat = 0;
    DVUNIT(across, n, stat);
    // A guide nearly on the line leaves no perpendicular: the line would stay unmoved.
    if (stat != 0) return post(kCollinear, reinforced, status);
    for (int32_t i = 1; i <= 3; ++i) m(i, 4) = distance * n[static_cast<size_t>(i - 1)];
  } else if (kind == kCurveArc) {
    const DV c = toDouble(centre);
    const double d = norm(minus(a, c));
    // An arc of no radius cannot be scaled about its centre (the factor would divide by 0).
    if (std::fabs(d - norm(minus(b, c))) >= tol || d < kSmallest) {
      return post(kNotConstantRadius, reinforced, status);
    }
    const double r = norm(minus(g, c));
    if (std::fabs(d - r) < tol) return post(kGuideOnArc, reinforced, status);
    const double f = r > d ? (d + distance) / d : (d - distance) / d;
    if (f <= kEpsilon) return post(kArcTooSmall, reinforced, status);
    Frame4D toCentre{}, scale{}, fromCentre{};
    IDNT4D(toCentre.values);
    IDNT4D(scale.values);
    IDNT4D(fromCentre.values);
    for (int32_t i = 1; i <= 3; ++i) {
      toCentre(i, 4) = c[static_cast<size_t>(i - 1)];
      fromCentre(i, 4) = -c[static_cast<size_t>(i - 1)];
    }
    scale(4, 4) = 1.0 / f;
    MAT44M(toCentre.values, scale.values, m.values);
    MAT44M(m.values, fromCentre.values, m.values);
  } else {
    return post(kInvalidKind, reinforced, status);
  }

  DV out{};
  TRFPNT(m, a, out);
  for (size_t k = 0; k < 3; ++k) q1[k] = static_cast<float>(out[k]);
  TRFPNT(m, b, out);
  for (size_t k = 0; k < 3; ++k) q2[k] = static_cast<float>(out[k]);
  if (kind == kCurveArc) {
    TRFPNT(m, g, out);
    for (size_t k = 0; k < 3; ++k) qguide[k] = static_cast<float>(out[k]);
  }
  matrix = m;
}

void CRVINT(Point3R a1, Point3R a2, Point3R ac, int32_t kinda, Point3R b1, Point3R b2,
            Point3R bc, int32_t kindb, Point3R guide, std::span<float, 3> point,
            int32_t& status) {
  status = 0;
  const bool reinforced = reinforcement();
  const auto known = [](int32_t k) { return k == kCurveLine || k == kCurveArc; };
  if (!known(kinda) || !known(kindb)) return post(kInvalidKind, reinforced, status);
  const DV da1 = toDouble(a1), da2 = toDouble(a2), dac = toDouble(ac);
  const DV db1 = toDouble(b1), db2 = toDouble(b2), dbc = toDouble(bc);
  const DV g = toDouble(guide);
  DV p{};
  int32_t stat = 0;
  if (kinda == kCurveLine && kindb == kCurveLine) {
    LLINTS(da1, da2, db1, db2, p, stat);
  } else if (kinda == kCurveArc && kindb == kCurveLine) {
    LCINTS(da1, da2, dac, db1, db2, g, p, stat);
  } else if (kinda == kCurveLine) {
    LCINTS(db1, db2, dbc, da1, da2, g, p, stat);
  } else {
    CCINTS(da1, da2, dac, db1, db2, dbc, g, p, stat);
  }
  if (stat != 0) {
    for (const Refusal& r : kIntersectionRefusals) {
      if (r.status == stat) return post(r, reinforced, status);
    }
    status = 1;
    return;
  }
  for (size_t k = 0; k < 3; ++k) point[k] = static_cast<float>(p[k]);
}

void LLINTS(Point3D a1, Point3D a2, Point3D b1, Point3D b2, std::span<double, 3> point,
            int32_t& status) {
  status = 0;
  const DV A1 = {a1[0], a1[1], a1[2]}, A2 = {a2[0], a2[1], a2[2]};
  const DV B1 = {b1[0], b1[1], b1[2]}, B2 = {b2[0], b2[1], b2[2]};
  const DV* third = nullptr;
  if (spansPlane(angleAt(A1, A2, B1))) {
    third = &B1;
  } else if (spansPlane(angleAt(A1, A2, B2))) {
    third = &B2;
  } else {
    status = 1;
    return;
  }
  const LocalFrame frame(A1, A2, *third);
  const DV l1 = frame.local(B1);
  const DV l2 = frame.local(B2);
  const double tol = modelTolerance();
  if (std::fabs(l1[2]) > tol || std::fabs(l2[2]) > tol) {
    status = 2;
    return;
  }
  if (std::fabs(l1[1] - l2[1]) <= tol) {
    status = 6;
    return;
  }
  const double x = l1[0] + l1[1] * (l2[0] - l1[0]) / (l1[1] - l2[1]);
  put(point, frame.global({x, 0.0, 0.0}));
}

void LCINTS(Point3D p1, Point3D p2, Point3D centre, Point3D l1, Point3D l2, Point3D guide,
            std::span<double, 3> point, int32_t& status) {
  status = 0;
  const DV S = {p1[0], p1[1], p1[2]}, E = {p2[0], p2[1], p2[2]};
  const DV Q = {centre[0], centre[1], centre[2]};
  const double angle = angleAt(Q, S, E);
  if (angle < kLowAngle || angle > kHighAngle) {
    status = 1;
    return;
  }
  const LocalFrame frame(Q, S, E);
  const DV a = frame.local({l1[0], l1[1], l1[2]});
  const DV b = frame.local({l2[0], l2[1], l2[2]});
  const double tol = modelTolerance();
  if (std::fabs(a[2]) > tol || std::fabs(b[2]) > tol) {
    status = 2;
    return;
  }
  const double r = norm(frame.local(S));
  if (std::fabs(r - norm(frame.local(E))) >= tol) {
    status = 3;
    return;
  }
  const double dx = b[0] - a[0];
  const double dy = b[1] - a[1];
  const double qa = dx * dx + dy * dy;
  const double qb = 2.0 * (a[0] * dx + a[1] * dy);
  const double qe = a[0] * a[0] + a[1] * a[1] - r * r;
  const double disc = qb * qb - 4.0 * qa * qe;
  if (qa == 0.0) {
    status = 5;
    return;
  }
  const auto at = [&](double s) { return DV{a[0] + s * dx, a[1] + s * dy, 0.0}; };
  // Tangency by the distance of the line from the centre: the sign of the discriminant of
  // a tangent line is only that of the rounding.
  const DV foot = at(-qb / (2.0 * qa));
  const double gap = norm(foot) - r;
  const DV L1 = {l1[0], l1[1], l1[2]}, L2 = {l2[0], l2[1], l2[2]};
  const double touching = touchingDistance({&S, &E, &Q, &L1, &L2}, {r});
  if (gap > touching) {
    status = 5;
    return;
  }
  DV chosen{};
  if (gap >= -touching || disc <= 0.0) {
    chosen = foot;
  } else {
    const double root = std::sqrt(disc);
    const DV c1 = at((-qb + root) / (2.0 * qa));
    const DV c2 = at((-qb - root) / (2.0 * qa));
    chosen = nearer(c1, c2, frame.local({guide[0], guide[1], guide[2]}));
  }
  put(point, frame.global(chosen));
}

void CCINTS(Point3D a1, Point3D a2, Point3D ac, Point3D b1, Point3D b2, Point3D bc,
            Point3D guide, std::span<double, 3> point, int32_t& status) {
  status = 0;
  const DV A1 = {a1[0], a1[1], a1[2]}, A2 = {a2[0], a2[1], a2[2]}, AC = {ac[0], ac[1], ac[2]};
  const DV B1 = {b1[0], b1[1], b1[2]}, B2 = {b2[0], b2[1], b2[2]}, BC = {bc[0], bc[1], bc[2]};
  const double tol = modelTolerance();
  // Coincident centres are told as such before the frame, which they would leave without a
  // direction.
  const double L = norm(minus(BC, AC));
  if (L < tol) {
    status = 4;
    return;
  }
  const DV* third = nullptr;
  for (const DV* c : {&A1, &A2, &B1, &B2}) {
    if (spansPlane(angleAt(AC, BC, *c))) {
      third = c;
      break;
    }
  }
  if (third == nullptr) {
    status = 1;
    return;
  }
  const LocalFrame frame(AC, BC, *third);
  for (const DV* c : {&A1, &A2, &AC, &B1, &B2, &BC}) {
    if (std::fabs(frame.local(*c)[2]) > tol) {
      status = 2;
      return;
    }
  }
  const double r1 = norm(minus(A1, AC));
  const double r2 = norm(minus(B1, BC));
  if (std::fabs(r1 - norm(minus(A2, AC))) >= tol || std::fabs(r2 - norm(minus(B2, BC))) >= tol) {
    status = 3;
    return;
  }
  // Touching by the distance of the centres against the sum and the difference of the
  // radii: x is exactly -1 or 1 only for data that stays exact in the frame.
  const double touching = touchingDistance({&A1, &A2, &AC, &B1, &B2, &BC}, {r1, r2});
  const double apart = L - (r1 + r2);
  const double within = std::fabs(r1 - r2) - L;
  if (apart > touching || within > touching) {
    status = 5;
    return;
  }
  const double x = (r1 * r1 - r2 * r2 - L * L) / (2.0 * r2 * L);
  DV chosen{};
  if (std::fabs(apart) <= touching || std::fabs(within) <= touching || x <= -1.0 || x >= 1.0) {
    chosen = {L + r2 * (x < 0.0 ? -1.0 : 1.0), 0.0, 0.0};
  } else {
    const double h = r2 * std::sin(std::acos(x));
    const DV up = {L + r2 * x, h, 0.0};
    const DV down = {L + r2 * x, -h, 0.0};
    chosen = nearer(up, down, frame.local({guide[0], guide[1], guide[2]}));
  }
  put(point, frame.global(chosen));
}

bool arcPoint(Point3R centre, Point3R start, Point3R end, float t, std::span<float, 3> point) {
  const FV u = {start[0] - centre[0], start[1] - centre[1], start[2] - centre[2]};
  const FV w = {end[0] - centre[0], end[1] - centre[1], end[2] - centre[2]};
  FV u1{}, w1{};
  if (!unitOf(u, u1) || !unitOf(w, w1)) return false;
  const float ru = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
  const float rw = std::sqrt(w[0] * w[0] + w[1] * w[1] + w[2] * w[2]);
  const FV n = cross(u1, w1);
  const float s = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  const float c = u1[0] * w1[0] + u1[1] * w1[1] + u1[2] * w1[2];
  const float phi = std::atan2(s, c);
  FV v{};
  if (!(s >= static_cast<float>(kSmallest)) && c < 0.0f) {
    // Opposite ends leave the plane of the arc open: it turns counter-clockwise about z,
    // or about x for ends on the z axis.
    FV axis = cross({0.0f, 0.0f, 1.0f}, u1);
    if (axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2] < kNoDirection) {
      axis = cross({1.0f, 0.0f, 0.0f}, u1);
    }
    unitOf(axis, v);
  } else {
    float sphi = std::sin(phi);
    if (sphi == 0.0f) sphi = 1.0f;
    const float cphi = std::cos(phi);
    v = {(w1[0] - cphi * u1[0]) / sphi, (w1[1] - cphi * u1[1]) / sphi,
         (w1[2] - cphi * u1[2]) / sphi};
  }
  const float r = ru + t * (rw - ru);
  const float ct = std::cos(t * phi);
  const float st = std::sin(t * phi);
  for (size_t k = 0; k < 3; ++k) point[k] = centre[k] + r * (ct * u1[k] + st * v[k]);
  return true;
}

void ARCPNT(Point3R centre, Point3R start, Point3R end, float t, std::span<float, 3> point,
            int32_t& status) {
  status = 1;
  if (!(t >= 0.0f && t <= 1.0f)) return;
  if (arcPoint(centre, start, end, t, point)) status = 0;
}

}  // namespace kvr
