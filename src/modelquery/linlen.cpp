// LINLEN: the length of a line by its type, and the length code it keeps in the line
// record.
#include "modelquery/linlen.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>

#include "geometry/georec.h"
#include "geometry/linegeo.h"
#include "geometry/vector3.h"
#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "modelquery/qrydata.h"
#include "platform/fmtedit.h"
#include "runtime/geosta.h"
#include "runtime/machcn.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"

namespace kvr {
namespace {

using Vec = std::array<float, 3>;
using DVec = std::array<double, 3>;

constexpr int32_t kRead = 1;
constexpr int32_t kEllipseSteps = 10000;
constexpr float kSameRadius = 1.0e-6f;
constexpr int32_t kCurveSamples = 9;
constexpr int32_t kGeoWordClosure = 18;
constexpr int32_t kWrapsAbove = 300;

constexpr int32_t kDone = 0;
constexpr int32_t kShort = 1;
constexpr int32_t kChord = 2;
constexpr int32_t kNoType = 3;

float tiny() { return MACHCN.real(kMachTolerance); }

// Record ID of the point array K (2, 12 or 25) into P; false when the store lacks it.
bool pointOf(int32_t k, int64_t id, Vec& p) {
  if (!geoRecordsHeld(k, id, id)) return false;
  ARRREC(kRead, k, static_cast<int32_t>(id), p);
  return true;
}

Vec minus(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

float lengthOf(const Vec& v) {
  float l = 0.0f;
  int32_t stat = 0;
  VLENN(v, 3, l, stat);
  return l;
}

float distance(const Vec& a, const Vec& b) { return lengthOf(minus(a, b)); }

// Circular arc from A to B about the centre M, or the Archimedean spiral between them
// when the two radii differ; false when the points give no arc.
bool circularArc(const Vec& a, const Vec& b, const Vec& m, float& length) {
  const Vec u = minus(a, m);
  const Vec v = minus(b, m);
  const float r1 = lengthOf(u);
  const float r2 = lengthOf(v);
  if (r1 < tiny() || r2 < tiny()) return false;
  const Vec e1 = {u[0] / r1, u[1] / r1, u[2] / r1};
  const Vec e2 = {v[0] / r2, v[1] / r2, v[2] / r2};
  Vec n{};
  VCRS3(e1, e2, n);
  const float sine = lengthOf(n);
  if (sine < tiny()) return false;
  const float theta = std::atan2(sine, RVDOT(e1, e2));
  length = std::fabs(theta) * (r1 + r2) * 0.5f;
  if (std::fabs(r1 - r2) > kSameRadius) {
    float spiral = 0.0f;
    int32_t stat = 0;
    PARLEN(r1, r2, theta, spiral, stat);
    if (stat == 0) length = spiral;
  }
  return true;
}

DVec dvec(const Vec& a, const Vec& b) {
  return {double{a[0]} - b[0], double{a[1]} - b[1], double{a[2]} - b[2]};
}
double ddot(const DVec& a, const DVec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Elliptic arc from A to B about the centre M, its first axis towards D; false when the
// points determine no ellipse.
bool ellipticArc(const Vec& a, const Vec& b, const Vec& m, const Vec& d, float& length) {
  const DVec am = dvec(a, m);
  const DVec bm = dvec(b, m);
  DVec e1{}, e2{}, z{}, x{}, y{}, w{};
  int32_t s1 = 0, s2 = 0, s3 = 0, s4 = 0, s5 = 0, s6 = 0;
  DVUNIT(am, e1, s1);
  DVUNIT(bm, e2, s2);
  DVCRS(e1, e2, w);
  DVUNIT(w, z, s3);
  DVUNIT(dvec(d, m), x, s4);
  DVCRS(z, x, w);
  DVUNIT(w, y, s5);
  DVCRS(y, z, w);
  DVUNIT(w, x, s6);
  if ((s1 | s2 | s3 | s4 | s5 | s6) != 0) return false;
  const double xa = ddot(am, x), ya = ddot(am, y);
  const double xb = ddot(bm, x), yb = ddot(bm, y);
  const double den1 = yb * yb - ya * ya;
  const double den2 = xb * xb - xa * xa;
  if (std::fabs(den1) < tiny() || std::fabs(den2) < tiny()) return false;
  const double r1sq = (xa * xa * yb * yb - xb * xb * ya * ya) / den1;
  const double r2sq = (ya * ya * xb * xb - yb * yb * xa * xa) / den2;
  if (r1sq < tiny() || r2sq < tiny()) return false;
  const double r1 = std::sqrt(r1sq);
  const double r2 = std::sqrt(r2sq);
  if (r1 < tiny() || r2 < tiny()) return false;
  const double ta = std::atan2(ya / r2, xa / r1);
  const double tb = ellipticArcEnd(ta, std::atan2(yb / r2, xb / r1));
  float l = 0.0f;
  ELLLEN(static_cast<float>(r1), static_cast<float>(r2), kEllipseSteps, static_cast<float>(ta),
         static_cast<float>(tb), l);
  length = std::fabs(l);
  return true;
}

// A line of type 3 or 5 through the points stored from record C of array 25 on: record C
// is a header whose second value gives n; records C + 1 .. C + n - 1 are the points.
bool storedPoints(const Vec& a, const Vec& b, int32_t c, float& length) {
  Vec header{};
  if (!pointOf(kArrGeoLinePoints, c, header)) return false;
  const int32_t n = std::abs(intOf(header[1]) % 100);
  if (n >= 2 && !geoRecordsHeld(kArrGeoLinePoints, int64_t{c} + 1, int64_t{c} + n - 1)) {
    return false;
  }
  Vec from = a;
  length = 0.0f;
  for (int32_t i = 1; i <= n - 1; ++i) {
    Vec p{};
    pointOf(kArrGeoLinePoints, int64_t{c} + i, p);
    length += distance(from, p);
    from = p;
  }
  length += distance(from, b);
  return true;
}

// A line of type 4 through nodes I1 .. I2 (only the chord when I1 > I2).
bool throughNodes(const Vec& a, const Vec& b, int32_t i1, int32_t i2, float& length) {
  if (i1 > i2) {
    length = distance(a, b);
    return true;
  }
  if (i1 < 1 || i2 > highestNode() || !geoRecordsHeld(kArrGeoNodes, i1, i2)) return false;
  Vec from = a;
  length = 0.0f;
  for (int32_t i = i1; i <= i2; ++i) {
    Vec p{};
    pointOf(kArrGeoNodes, i, p);
    length += distance(from, p);
    from = p;
  }
  length += distance(from, b);
  return true;
}

enum class Curve { kDone, kChord, kZero };

// A line of type 6 on geometry record word 15, branch and direction word 16, parameter
// range words 5 and 6 (REAL bits): the polygon through nine points of the curve.
Curve modelCurve(const Vec& a, const Vec& b, LinRec& rec, float& length) {
  const int32_t g = rec.word(kLnWord15);
  int32_t q = rec.word(kLnWord16);
  const bool forward = q >= 0;
  q = std::abs(q);
  const float t0 = std::bit_cast<float>(rec.word(kLnWord5));
  const float t1 = std::bit_cast<float>(rec.word(kLnWord6));
  ShpDef def;
  if (!readGeoRecord(g, def)) return Curve::kChord;
  const int32_t code = def.integer(kGeoWordCode);
  if (code / 100 != 1) return Curve::kChord;
  const bool wraps = code % 10 == 3 && def.integer(kGeoWordClosure) > kWrapsAbove;
  std::array<float, kCurveSamples> t{};
  for (int32_t i = 1; i <= kCurveSamples; ++i) {
    const float f = static_cast<float>(i) / 10.0f;
    float& ti = t[static_cast<size_t>(i - 1)];
    if (forward ? t0 < t1 : t0 > t1) {
      ti = t0 + (t1 - t0) * f;
    } else if (!wraps) {
      return Curve::kChord;
    } else if (forward) {
      ti = t0 + ((1.0f - t0) + t1) * f;
      if (ti > 1.0f) ti -= 1.0f;
    } else {
      ti = t0 - ((t0 + 1.0f) - t1) * f;
      if (ti < 0.0f) ti += 1.0f;
    }
  }
  std::array<float, 3 * kCurveSamples> p{};
  switch (linePoints(kCurveSamples, t, q, g, p)) {
    case LineEval::kOutOfStore:
      return Curve::kChord;
    case LineEval::kFailed:
      length = 0.0f;
      return Curve::kZero;
    case LineEval::kDone:
      break;
  }
  Vec from = a;
  length = 0.0f;
  for (size_t i = 0; i < kCurveSamples; ++i) {
    const Vec pi = {p[3 * i], p[3 * i + 1], p[3 * i + 2]};
    length += distance(from, pi);
    from = pi;
  }
  length += distance(from, b);
  return Curve::kDone;
}

}  // namespace

void LINLEN(const int32_t& line, float& length, int32_t& status) {
  length = 0.0f;
  status = kNoType;
  if (!entityHeld(kArrLines, kLineWords, line, MODCNT.word(kCntLines))) return;
  LinRec rec;
  RECIO(kRead, kArrLines, line, rec.words);
  // The type straight from word 7: types 7 and 8 are measured, though the line accessors
  // know no such type.
  const int32_t type = rec.word(kLnType) / 100;
  if (type < 1 || type > 8) return;
  Vec a{}, b{};
  if (!pointOf(kArrGeoPoints, std::abs(int64_t{rec.word(kLnEnd1)}), a) ||
      !pointOf(kArrGeoPoints, std::abs(int64_t{rec.word(kLnEnd2)}), b)) {
    return;
  }
  const float tolerance = GEOSTA.real(kGeoModelTolerance);

  float l = distance(a, b);
  bool measured = true;
  switch (type) {
    case 2: {
      const int32_t axis = rec.word(kLnWord5);
      Vec m{}, d{};
      measured = pointOf(kArrGeoPoints, rec.word(kLnWord6), m) &&
                 (axis < 1 ? circularArc(a, b, m, l)
                           : pointOf(kArrGeoPoints, axis, d) && ellipticArc(a, b, m, d, l));
      break;
    }
    case 3:
    case 5:
      if (rec.word(kLnWord15) != 0) measured = storedPoints(a, b, rec.word(kLnWord15), l);
      break;
    case 4:
      measured = throughNodes(a, b, rec.word(kLnWord5), rec.word(kLnWord6), l);
      break;
    case 6:
      switch (modelCurve(a, b, rec, l)) {
        case Curve::kDone:
        case Curve::kZero:
          break;
        case Curve::kChord:
          measured = false;
          break;
      }
      break;
    default:
      break;
  }
  if (!measured) {
    length = distance(a, b);
    status = length >= tolerance ? kChord : kShort;
    return;
  }
  length = l;
  if (l < tolerance) {
    status = kShort;
    return;
  }
  status = kDone;
  // A model size of 0 would divide by zero, and a huge ratio overflow the code.
  const float size = GEOSTA.real(kGeoModelSize);
  if (!(size >= tiny())) return;
  int32_t stat = 0;
  LNP01(line, intOf(l / size * MODCON.real(kModLongestLine)), stat);
}

}  // namespace kvr
