// Line evaluation at a relative position: LINEVL, the graded divisions GRDPOS and GRDINV,
// the spline arc-length routines SPLLEN, CRVDRV, SPLNEW and CRVBIS, and ELLANG.
#include "geometry/linevl.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "geometry/arccon.h"
#include "geometry/curvsrf.h"
#include "geometry/georec.h"
#include "geometry/linegeo.h"
#include "modeldb/arrreg.h"
#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "platform/fmtedit.h"
#include "runtime/machcn.h"
#include "runtime/msgarg.h"

namespace kvr {
namespace {

using FV = std::array<float, 3>;

constexpr int32_t kRead = 1;
constexpr int32_t kLineKind = 2;
constexpr int32_t kUnevenNodes = 46;
constexpr int32_t kEllipseLengthSteps = 10000;
constexpr int32_t kEllipseAngleSteps = 100000;
constexpr int32_t kTotalLengthSteps = 50;
constexpr int32_t kSearchLengthSteps = 10;
constexpr int32_t kNewtonSteps = 16;
constexpr int32_t kBisections = 100;
constexpr int32_t kEqualArcLength = 1000;
constexpr float kArcLengthShare = 400.0f;  // the search tolerance: the total length / 400
constexpr float kLeastDistance = 0.0001f;
constexpr float kStepShare = 0.05f;
constexpr int32_t kGeoWordClosure = 18;

// The GEOREC definition types LINEVL evaluates (the code mod 10).
constexpr int32_t kDefinitionClass = 1;
constexpr int32_t kStraightDefinition = 1;
constexpr int32_t kIntersectionCurve = 3;
constexpr int32_t kSplineCurve = 5;

ArcLengthSearch gSearch = SPLNEW;

float tiny() { return MACHCN.real(kMachTolerance); }

// Record ID of point array K (2, 12 or 25) into P; false when the store does not hold it.
bool pointOf(int32_t k, int64_t id, FV& p) {
  if (!geoRecordsHeld(k, id, id)) return false;
  ARRREC(kRead, k, static_cast<int32_t>(id), p);
  return true;
}

void put(std::span<float, 3> out, const FV& p) { std::copy(p.begin(), p.end(), out.begin()); }

FV along(const FV& s, const FV& e, float t) {
  return {s[0] + t * (e[0] - s[0]), s[1] + t * (e[1] - s[1]), s[2] + t * (e[2] - s[2])};
}

FV minus(const FV& a, const FV& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
float dot(const FV& a, const FV& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
FV cross(const FV& a, const FV& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
// U = V / |V|; false when V is shorter than the smallest real.
bool unitOf(const FV& v, FV& u) {
  const float l = std::sqrt(dot(v, v));
  if (!(l >= tiny()) || l == 0.0f) return false;
  u = {v[0] / l, v[1] / l, v[2] / l};
  return true;
}

// The point of curve C at U, rational when its first weight is not 0.
FV curvePoint(const SplineCurve& c, float u) {
  FV p{};
  int32_t stat = 0;
  if (c.w0 != 0) {
    NRBCRV(u, c.k - 1, c.n, c.c0, c.w0, c.knots, p[0], p[1], p[2], stat);
  } else {
    BSPCRV(u, c.k - 1, c.n, c.c0, c.knots, p[0], p[1], p[2], stat);
  }
  return p;
}

float distance(const FV& a, const FV& b) {
  const FV d = minus(a, b);
  return std::sqrt(dot(d, d));
}

// The elliptic arc from S to E about Q, its first axis in the plane towards P3; false when
// the points determine no ellipse.
bool ellipticArc(const FV& s, const FV& e, const FV& q, const FV& p3, float t, FV& point) {
  FV us{}, ue{}, up{}, n{}, u{}, v{};
  if (!unitOf(minus(s, q), us) || !unitOf(minus(e, q), ue) || !unitOf(minus(p3, q), up) ||
      !unitOf(cross(us, ue), n) || !unitOf(cross(n, up), v) || !unitOf(cross(v, n), u)) {
    return false;
  }
  const float x1 = dot(minus(s, q), u), y1 = dot(minus(s, q), v);
  const float x2 = dot(minus(e, q), u), y2 = dot(minus(e, q), v);
  const float X1 = x1 * x1, Y1 = y1 * y1, X2 = x2 * x2, Y2 = y2 * y2;
  if (std::fabs(Y2 - Y1) < tiny() || std::fabs(X2 - X1) < tiny()) return false;
  const float a2 = (X1 * Y2 - X2 * Y1) / (Y2 - Y1);
  const float b2 = (Y1 * X2 - Y2 * X1) / (X2 - X1);
  if (!(a2 >= tiny()) || !(b2 >= tiny())) return false;
  const float a = std::sqrt(a2);
  const float b = std::sqrt(b2);
  if (a < tiny() || b < tiny()) return false;
  const float theta1 = std::atan2(y1 / b, x1 / a);
  const float theta2 = ellipticArcEnd(theta1, std::atan2(y2 / b, x2 / a));
  float length = 0.0f;
  ELLLEN(a, b, kEllipseLengthSteps, theta1, theta2, length);
  float theta = theta2;
  ELLANG(a, b, kEllipseAngleSteps, theta1, theta2, std::fabs(length) * t, theta);
  const float c = a * std::cos(theta);
  const float d = b * std::sin(theta);
  point = {q[0] + c * u[0] + d * v[0], q[1] + c * u[1] + d * v[1], q[2] + c * u[2] + d * v[2]};
  return true;
}

// The stored point I (from 1) of a line of type 4 (array 12 from record FIRST) or of type 3
// or 5 (array 25 after the header record FIRST), within the COUNT points it stores.
bool storedPoint(bool polyline, int32_t first, int32_t count, int32_t i, FV& p) {
  if (i < 1 || i > count) return false;
  return polyline ? pointOf(kArrGeoNodes, int64_t{first} + i - 1, p)
                  : pointOf(kArrGeoLinePoints, int64_t{first} + i, p);
}

// The stored-point lines: types 4, 3 and 5.
bool storedPointLine(LinRec& rec, int32_t start, FV s, FV e, float& t, int32_t n,
                     int32_t& code, FV& point) {
  const bool polyline = lineTypeOf(rec.word(kLnType)) == 4;
  if (std::abs(int64_t{rec.word(kLnEnd1)}) != start) {
    t = 1.0f - t;
    code = -code;
    std::swap(s, e);
  }
  int32_t first = 0;
  int32_t count = 0;
  if (polyline) {
    first = rec.word(kLnWord5);
    count = rec.word(kLnWord6) >= first ? rec.word(kLnWord6) - first + 1 : 0;
  } else {
    first = rec.word(kLnWord15);
    FV header{};
    if (pointOf(kArrGeoLinePoints, first, header)) count = std::abs(intOf(header[1]) % 100) - 1;
  }
  int32_t i = 0;
  float f = 0.0f;
  GRDINV(n, code, t, i, f);
  FV pa = s, pb = e;
  // An index beyond the points the line stores would read another line's points, or ones
  // the store does not hold: the line is taken as straight.
  if (n < 1 || i < 0 || i > n - 1 || (i > 0 && !storedPoint(polyline, first, count, i, pa)) ||
      (i < n - 1 && !storedPoint(polyline, first, count, i + 1, pb))) {
    point = along(s, e, t);
    return true;
  }
  point = along(pa, pb, f);
  return true;
}

// The spline of definition DEF between LS and LE (line words 5 and 6).
bool splineLine(ShpDef& def, int32_t line, float ls, float le, float& t, int32_t n,
                int32_t code, FV& point) {
  const int32_t p = def.integer(kGeoWordDegree);
  const int32_t last = def.integer(kGeoWordLastIndex);
  const int32_t c0 = def.integer(kGeoWordControl);
  const int32_t knotRecord = def.integer(kGeoWordKnots);
  const int32_t w0 = def.integer(kGeoWordWeights);
  const float t0 = def.word(kGeoWordStart);
  const float t1 = def.word(kGeoWordEnd);
  ls = std::max(ls, t0);
  le = std::min(le, t1);
  float T = ls + (le - ls) * t;
  int32_t stat = 0;

  if (knotRecord <= 0 && w0 <= 0) {
    const float span = t1 - t0;
    const float s = span > tiny() ? (T - t0) / span : 0.0f;
    BEZCRV(s, p, c0, point[0], point[1], point[2], stat);
    return stat == 0;
  }

  std::span<float> knots;
  if (splineKnots(def, knots) != LineEval::kDone) return false;
  const SplineCurve curve{last, p + 1, knots, c0, std::max(w0, 0)};

  if (code == kEqualArcLength) {
    const float total = SPLLEN(ls, le, curve, kTotalLengthSteps);
    int32_t success = 0;
    const float guess = std::max(ls + t * (le - ls), ls);
    T = gSearch(ls, le, ls, total * t, total / kArcLengthShare, success, curve, guess);
    if (success == 0) {
      MSGENT(kUnevenNodes, line, kLineKind);
      T = ls + t * (le - ls);
    }
  }
  // An empty parameter range has no relative position but its start.
  if (n == -1) t = std::fabs(le - ls) > tiny() ? (T - ls) / (le - ls) : 0.0f;
  if (w0 > 0) {
    NRBCRV(T, p, last, c0, w0, knots, point[0], point[1], point[2], stat);
  } else {
    BSPCRV(T, p, last, c0, knots, point[0], point[1], point[2], stat);
  }
  return stat == 0;
}

// A line of type 6 from S to E: false when nothing is written.
bool definitionLine(LinRec& rec, int32_t line, int32_t end, FV s, FV e, float& t, int32_t n,
                    int32_t code, FV& point) {
  // Evaluated from its last end: t is turned round, and so are the ends of the straight
  // form, or its positions would be mirrored.
  if (std::abs(int64_t{rec.word(kLnEnd1)}) == end) {
    t = 1.0f - t;
    std::swap(s, e);
  }
  const int32_t id = rec.word(kLnWord15);
  const int32_t q = rec.word(kLnWord16);
  const float ls = std::bit_cast<float>(rec.word(kLnWord5));
  const float le = std::bit_cast<float>(rec.word(kLnWord6));
  ShpDef def;
  if (!readGeoRecord(id, def)) return false;
  const int32_t c = def.integer(kGeoWordCode);
  if (c / 100 != kDefinitionClass) return false;
  switch (c % 10) {
    case kStraightDefinition: {
      if (def.integer(kGeoWordNoPoints) > 0) return false;
      const float T = ls + (le - ls) * t;
      point = {def.word(3) + T * def.word(6), def.word(4) + T * def.word(7),
               def.word(5) + T * def.word(8)};
      return true;
    }
    case kIntersectionCurve: {
      // Closed unless the hundreds digit of word 18 is 1 or 2: the parameter wraps from 1 to 0.
      const int32_t digit = def.integer(kGeoWordClosure) / 100 % 10;
      const bool closed = digit != 1 && digit != 2;
      float T = 0.0f;
      if (q >= 0 ? le > ls : le < ls) {
        T = ls + (le - ls) * t;
      } else if (!closed) {
        point = along(s, e, t);
        return true;
      } else if (q >= 0) {
        T = ls + (1.0f - ls + le) * t;
        if (T > 1.0f) T -= 1.0f;
      } else {
        T = ls - (ls + 1.0f - le) * t;
        if (T < 0.0f) T += 1.0f;
      }
      int32_t stat = 0;
      LINDEF(T, std::abs(q), id, point, stat);
      if (stat != 0) point = along(s, e, t);
      return true;
    }
    case kSplineCurve:
      return splineLine(def, line, ls, le, t, n, code, point);
    default:
      return false;
  }
}

}  // namespace

bool LINEVL(int32_t start, int32_t end, float& t, int32_t line, std::span<float, 3> point,
            int32_t n, int32_t& code) {
  FV s{}, e{};
  // 1. The end snap (before start-up there is no scale, and no snap).
  const int32_t scale = MACHCN.word(kMachLineScale);
  if (scale > 0) {
    const float snap = 1.0f / static_cast<float>(scale);
    if (std::fabs(t) > 1.0f - snap) {
      if (!pointOf(kArrGeoPoints, end, e)) return false;
      put(point, e);
      return true;
    }
    if (std::fabs(t) < snap) {
      if (!pointOf(kArrGeoPoints, start, s)) return false;
      put(point, s);
      return true;
    }
  }

  // 2. The ends, and the line's record.
  if (!pointOf(kArrGeoPoints, start, s) || !pointOf(kArrGeoPoints, end, e)) return false;
  LinRec rec;
  if (LINEXS(line) != 0 &&
      geoRecordsHeld(kArrLines, int64_t{line - 1} * kLineWords + 1, int64_t{line} * kLineWords)) {
    RECIO(kRead, kArrLines, line, rec.words);
  }
  FV p = along(s, e, t);
  switch (lineTypeOf(rec.word(kLnType))) {
    case kCompositeLine:
      return false;
    case 2: {
      FV q{}, p3{};
      if (!pointOf(kArrGeoPoints, rec.word(kLnWord6), q)) break;
      if (rec.word(kLnWord5) > 0) {
        if (pointOf(kArrGeoPoints, rec.word(kLnWord5), p3)) ellipticArc(s, e, q, p3, t, p);
      } else {
        arcPoint(q, s, e, t, p);
      }
      break;
    }
    case 3:
    case 5:
      if (rec.word(kLnWord15) != 0) storedPointLine(rec, start, s, e, t, n, code, p);
      break;
    case 4:
      storedPointLine(rec, start, s, e, t, n, code, p);
      break;
    case 6:
      if (!definitionLine(rec, line, end, s, e, t, n, code, p)) return false;
      break;
    default:
      break;
  }
  put(point, p);
  return true;
}

void GRDPOS(int32_t n, int32_t code, float& s) {
  const int32_t r = code % 10;
  if (n <= 1 || std::abs(r) <= 1) return;
  const float ratio = r > 0 ? static_cast<float>(r) : 1.0f / static_cast<float>(-r);
  const float q = std::pow(ratio, 1.0f / static_cast<float>(n - 1));
  s = (std::pow(q, static_cast<float>(n) * s) - 1.0f) / (std::pow(q, static_cast<float>(n)) - 1.0f);
}

void GRDINV(int32_t n, int32_t code, float b, int32_t& i, float& f) {
  const int32_t r = code % 10;
  float e = 0.0f;
  if (n == 1 || std::abs(r) < 2) {
    e = static_cast<float>(n) * b;
  } else {
    const float ratio = r > 0 ? static_cast<float>(r) : 1.0f / static_cast<float>(-r);
    const float q = std::pow(ratio, 1.0f / static_cast<float>(n - 1));
    const float arg = 1.0f + b * (std::pow(q, static_cast<float>(n)) - 1.0f);
    // A position before the line's start has no logarithm.
    e = arg > 0.0f ? std::log(arg) / std::log(q) : 0.0f;
    if (!(e >= 0.0f)) e = 0.0f;
  }
  i = intOf(e);
  if (i == n) i = n - 1;
  f = e - static_cast<float>(i);
}

float SPLLEN(float t0, float t1, const SplineCurve& curve, int32_t m) {
  if (m <= 1) return distance(curvePoint(curve, t1), curvePoint(curve, t0));
  float length = 0.0f;
  FV from = curvePoint(curve, t0);
  for (int32_t i = 1; i <= m; ++i) {
    const FV to = curvePoint(curve, t0 + (t1 - t0) * static_cast<float>(i) / static_cast<float>(m));
    length += distance(to, from);
    from = to;
  }
  return length;
}

float CRVDRV(float t, float t0, float t1, const SplineCurve& curve) {
  const float d = std::max(std::min(t - t0, t1 - t), kLeastDistance);
  const float h = kStepShare * std::min(d, t1 - t0);
  return distance(curvePoint(curve, t + h), curvePoint(curve, t - h)) / (2.0f * h);
}

float SPLNEW(float t0, float upper, float lower, float target, float tolerance,
             int32_t& success, const SplineCurve& curve, float guess) {
  float best = guess;
  float bestResidual = MACHCN.real(kMachLargestReal);
  success = -1;
  float t = guess;
  for (int32_t step = 0; step < kNewtonSteps; ++step) {
    const float f = SPLLEN(t0, t, curve, kSearchLengthSteps) - target;
    if (std::fabs(f) < std::fabs(bestResidual)) {
      best = t;
      bestResidual = f;
    }
    if (std::fabs(f) <= tolerance) return t;
    const float d = CRVDRV(t, t0, upper, curve);
    if (!(std::fabs(d) > tiny())) break;
    const float next = t - f / d;
    if (!(next >= lower && next <= upper)) break;
    t = next;
  }
  float bisected = best;
  float residual = 0.0f;
  CRVBIS(t0, upper, -target, t0, tolerance, target, success, curve, bisected, residual);
  if (success == -1) return bisected;
  success = 0;
  return best;
}

void CRVBIS(float low, float high, float fl, float t0, float tolerance, float target,
            int32_t& success, const SplineCurve& curve, float& t, float& residual) {
  success = 0;
  for (int32_t k = 0; k < kBisections; ++k) {
    const float mid = 0.5f * (low + high);
    const float f = SPLLEN(t0, mid, curve, kSearchLengthSteps) - target;
    residual = f;
    if (std::fabs(f) < tolerance) {
      t = mid;
      success = -1;
      return;
    }
    if (f * fl >= 0.0f) {
      low = mid;
      fl = f;
    } else {
      high = mid;
    }
  }
}

void ELLANG(float a, float b, int32_t steps, float theta0, float theta1, float length,
            float& theta) {
  theta = theta1;
  if (steps <= 0) return;
  const float h = (theta1 - theta0) / static_cast<float>(steps);
  float sum = 0.0f;
  for (int32_t i = 0; i < steps; ++i) {
    const float ti = theta0 + static_cast<float>(i) * (theta1 - theta0) / static_cast<float>(steps);
    sum += ELLRAD(a, b, ti);
    if (std::fabs(h * sum) >= length) {
      theta = ti;
      return;
    }
  }
}

void setArcLengthSearch(ArcLengthSearch search) { gSearch = search != nullptr ? search : SPLNEW; }

}  // namespace kvr
