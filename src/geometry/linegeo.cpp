// Line geometry by line type: LINPTS and LINDEF over the geometry definition records, and
// the elliptic and parabolic arc lengths ELLRAD, ELLLEN and PARLEN.
#include "geometry/linegeo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "geometry/conic.h"
#include "geometry/curvsrf.h"
#include "geometry/georec.h"
#include "geometry/isxtyp.h"
#include "geometry/srfint.h"
#include "modeldb/arrreg.h"
#include "modeldb/entrec.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kRealWords = 1;
constexpr int32_t kDefinitionClass = 1;
constexpr int32_t kStraight = 1;
constexpr int32_t kNoEvaluation = 2;
constexpr int32_t kIntersection = 3;
constexpr int32_t kSpline = 5;

float tiny() { return MACHCN.real(kMachTolerance); }

// The knot vector of the spline being evaluated: n + p + 2 knots, grown to the largest
// spline met and then reused.
std::vector<float> gKnots;

void put(std::span<float> points, int32_t i, float x, float y, float z) {
  const auto k = static_cast<size_t>(3 * i);
  points[k] = x;
  points[k + 1] = y;
  points[k + 2] = z;
}

// The spline of record REC at the N parameters T. The forms: knots stored from word 5
// (rational when word 16 is positive); no knots but weights: a rational curve on the
// knots t0 ... t0 t1 ... t1; neither: the Bezier curve of degree p on (t - t0) / (t1 - t0).
LineEval splinePoints(ShpDef& rec, int32_t n, std::span<const float> t, std::span<float> points) {
  const int32_t p = rec.integer(kGeoWordDegree);
  const int32_t last = rec.integer(kGeoWordLastIndex);
  const int32_t c0 = rec.integer(kGeoWordControl);
  const int32_t knotRecord = rec.integer(kGeoWordKnots);
  const int32_t w0 = rec.integer(kGeoWordWeights);
  const float t0 = rec.word(kGeoWordStart);
  const float t1 = rec.word(kGeoWordEnd);

  if (knotRecord <= 0 && w0 <= 0) {
    if (p < 0 || p > kMaxBezierDegree) return LineEval::kFailed;
    if (!geoRecordsHeld(kArrGeoControlPoints, c0, int64_t{c0} + p)) return LineEval::kOutOfStore;
    const float span = t1 - t0;
    for (int32_t i = 0; i < n; ++i) {
      const float s = std::fabs(span) > tiny() ? (t[static_cast<size_t>(i)] - t0) / span : 0.0f;
      float x = 0, y = 0, z = 0;
      int32_t stat = 0;
      BEZCRV(s, p, c0, x, y, z, stat);
      put(points, i, x, y, z);
    }
    return LineEval::kDone;
  }

  std::span<float> knots;
  if (const LineEval got = splineKnots(rec, knots); got != LineEval::kDone) return got;
  for (int32_t i = 0; i < n; ++i) {
    float x = 0, y = 0, z = 0;
    int32_t stat = 0;
    const float u = t[static_cast<size_t>(i)];
    if (w0 > 0) {
      NRBCRV(u, p, last, c0, w0, knots, x, y, z, stat);
    } else {
      BSPCRV(u, p, last, c0, knots, x, y, z, stat);
    }
    put(points, i, x, y, z);
  }
  return LineEval::kDone;
}

// The intersection curve of the two surfaces of record REC at the N parameters T: one of
// its straight lines (forms 1 and 2), or its points on the generators at 360 t degrees of
// the cylinder or cone it lies on (forms 3 to 8, two branches from form 5 on). SINGLE
// keeps branch Q for every t; otherwise a t above 1 takes branch 2 at t - 1.
LineEval intersectionPoints(ShpDef& rec, int32_t n, std::span<const float> t, int32_t q,
                            bool single, std::span<float> points) {
  IsxTyp x;
  SRFINT(rec.integer(kGeoWordSurface1), rec.integer(kGeoWordSurface2), x);
  if (x.status != 0) return LineEval::kFailed;
  if (x.form == 1 || x.form == 2) {
    int32_t base = 0;
    if (q == 1) {
      base = 1;
    } else if (q == 2 && x.form == 2) {
      base = 7;
    } else {
      return LineEval::kFailed;
    }
    for (int32_t i = 0; i < n; ++i) {
      const float s = t[static_cast<size_t>(i)];
      put(points, i, x.P(base) + s * x.P(base + 3), x.P(base + 1) + s * x.P(base + 4),
          x.P(base + 2) + s * x.P(base + 5));
    }
    return LineEval::kDone;
  }
  if (x.form < 3 || x.form > 8) return LineEval::kFailed;
  const bool twoBranches = x.form >= 5;
  const std::array<float, 3> origin = x.origin();
  for (int32_t i = 0; i < n; ++i) {
    const float ti = t[static_cast<size_t>(i)];
    int32_t branch = twoBranches ? q : 1;
    float angle = 360.0f * ti;
    if (twoBranches && !single && ti > 1.0f) {
      branch = 2;
      angle = 360.0f * (ti - 1.0f);
    }
    if (branch != 1 && branch != 2) return LineEval::kFailed;
    std::array<float, 6> l{};
    int32_t roots = 0;
    int32_t stat = 0;
    CONRAD(x.conic(), angle, x.P(11), x.P(12), roots, l, stat);
    if (stat != 0) return LineEval::kFailed;
    // A single root fills only the first candidate: the second branch passes through it
    // too, rather than through whatever the second candidate held.
    if (roots == 1) std::copy(l.begin(), l.begin() + 3, l.begin() + 3);
    const std::span<const float, 3> local(l.data() + 3 * (branch - 1), 3);
    std::array<float, 3> p{};
    LOCGLB(3, origin, IsxTyp::kFrameLd, x.frame, local, p, stat);
    if (stat != 0) return LineEval::kFailed;
    put(points, i, p[0], p[1], p[2]);
  }
  return LineEval::kDone;
}

// LINPTS (SINGLE false) and LINDEF (SINGLE true) on the N parameters T.
LineEval evaluate(int32_t n, std::span<const float> t, int32_t q, int32_t id, bool single,
                  std::span<float> points) {
  ShpDef rec;
  if (!readGeoRecord(id, rec)) return LineEval::kOutOfStore;
  const int32_t code = rec.integer(kGeoWordCode);
  if (code / 100 != kDefinitionClass) return LineEval::kFailed;
  switch (code % 100) {
    case kStraight: {
      if (rec.integer(kGeoWordNoPoints) > 0) return LineEval::kDone;
      for (int32_t i = 0; i < n; ++i) {
        const float s = t[static_cast<size_t>(i)];
        put(points, i, rec.word(3) + s * rec.word(6), rec.word(4) + s * rec.word(7),
            rec.word(5) + s * rec.word(8));
      }
      return LineEval::kDone;
    }
    case kNoEvaluation:
      return LineEval::kDone;
    case kIntersection:
      return intersectionPoints(rec, n, t, q, single, points);
    case kSpline:
      return splinePoints(rec, n, t, points);
    default:
      return LineEval::kFailed;
  }
}

}  // namespace

bool readGeoRecord(int32_t id, ShpDef& rec) {
  if (!geoRecordHeld(id)) return false;
  ARRREC(kRead, kArrGeoRecords, id, rec.words);
  return true;
}

bool readSurfaceRecord(int32_t surface, std::span<int32_t, kSurfaceWords> rec) {
  constexpr int32_t kKindSurface = 3;
  if (surface < 1 || ENTEXS(surface, kKindSurface) == 0 ||
      !geoRecordsHeld(kArrSurfaces, int64_t{surface - 1} * kSurfaceWords + 1,
                      int64_t{surface} * kSurfaceWords)) {
    return false;
  }
  RECIO(kRead, kArrSurfaces, surface, rec);
  return true;
}

LineEval linePoints(int32_t n, std::span<const float> t, int32_t q, int32_t rec,
                    std::span<float> points) {
  const int32_t count =
      std::clamp(n, 0, static_cast<int32_t>(std::min(t.size(), points.size() / 3)));
  return evaluate(count, t, q, rec, false, points);
}

LineEval splineKnots(ShpDef& def, std::span<float>& knots) {
  const int32_t p = def.integer(kGeoWordDegree);
  const int32_t last = def.integer(kGeoWordLastIndex);
  const int32_t c0 = def.integer(kGeoWordControl);
  const int32_t knotRecord = def.integer(kGeoWordKnots);
  const int32_t w0 = def.integer(kGeoWordWeights);
  if (p < 0 || p > last) return LineEval::kFailed;
  const int64_t count = int64_t{last} + p + 2;
  if (!geoRecordsHeld(kArrGeoControlPoints, c0, int64_t{c0} + last) ||
      (w0 > 0 && !geoRecordsHeld(kArrGeoValues, w0, int64_t{w0} + last)) ||
      (knotRecord > 0 && !geoRecordsHeld(kArrGeoValues, knotRecord, knotRecord + count - 1))) {
    return LineEval::kOutOfStore;
  }
  if (gKnots.size() < static_cast<size_t>(count)) gKnots.resize(static_cast<size_t>(count));
  knots = std::span<float>(gKnots).first(static_cast<size_t>(count));
  if (knotRecord > 0) {
    int32_t stat = 0;
    ARRIO(kRead, kArrGeoValues, knotRecord, static_cast<int32_t>(count), kRealWords, {}, knots,
          stat);
  } else {
    const auto h = static_cast<std::ptrdiff_t>(count / 2);
    std::fill(knots.begin(), knots.begin() + h, def.word(kGeoWordStart));
    std::fill(knots.begin() + h, knots.end(), def.word(kGeoWordEnd));
  }
  return LineEval::kDone;
}

void LINPTS(int32_t n, std::span<const float> t, int32_t q, int32_t rec, std::span<float> points,
            int32_t& status) {
  status = linePoints(n, t, q, rec, points) == LineEval::kDone ? 0 : 1;
}

void LINDEF(float t, int32_t q, int32_t rec, std::span<float, 3> point, int32_t& status) {
  const std::array<float, 1> one = {t};
  status = evaluate(1, one, q, rec, true, point) == LineEval::kDone ? 0 : 1;
}

float ELLRAD(float a, float b, float t) {
  const float s = std::sin(t);
  const float c = std::cos(t);
  return std::sqrt(a * a * s * s + b * b * c * c);
}

void ELLLEN(float a, float b, int32_t n, float t0, float t1, float& length) {
  length = 0.0f;
  // No steps: no length (the step width would be a division by zero).
  if (n <= 0) return;
  const float step = (t1 - t0) / static_cast<float>(n);
  float sum = 0.0f;
  for (int32_t i = 0; i < n; ++i) sum += ELLRAD(a, b, t0 + static_cast<float>(i) * step);
  length = step * sum;
}

void PARLEN(float x0, float x1, float k, float& length, int32_t& status) {
  length = 0.0f;
  if (std::fabs(k) < 1.0e-6f) {
    status = 1;
    return;
  }
  const float d = (x1 - x0) / k;
  if (std::fabs(d) < 1.0e-6f) {
    status = 2;
    return;
  }
  const float d2 = d * d;
  auto g = [d2](float x) {
    const float r = std::sqrt(x * x + d2);
    return x * r + d2 * std::log(x + r);
  };
  length = 0.5f * (g(x1) - g(x0)) / d;
  status = 0;
}

}  // namespace kvr
