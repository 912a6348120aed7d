// Projection onto shapes: PTONSH, PRJQUA, PRJPAR.
#include "geometry/ptonsh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

#include "geometry/curvsrf.h"
#include "geometry/georec.h"
#include "geometry/prjpch.h"
#include "modeldb/entrec.h"
#include "modeldb/shpdef.h"
#include "runtime/geosta.h"
#include "runtime/machcn.h"
#include "runtime/modcon.h"
#include "runtime/msgarg.h"

namespace kvr {
namespace {

using FV = std::array<float, 3>;

constexpr int32_t kRead = 1;
constexpr int32_t kSurfaceShape = 1;  // word 1 div 100: the shape
constexpr int32_t kSurfaceType = 6;   // word 6 div 100 mod 100: the type

// Shape kinds.
constexpr int32_t kParametricKinds = 200;  // 200 to 299
constexpr int32_t kLaterKinds = 300;
constexpr int32_t kQuadricKinds = 100;     // below: a quadric

// The shape words.
constexpr int32_t kKindWord = 2;
constexpr int32_t kFirstCoefficient = 6;
constexpr int32_t kGridWord = 1;
constexpr int32_t kDegreeU = 3, kCountU = 4, kKnotsU = 5, kLowU = 6, kHighU = 7;
constexpr int32_t kLowV = 8, kHighV = 9, kWeights = 16;
constexpr int32_t kDegreeV = 18, kCountV = 19, kKnotsV = 20;

// GEOCON words.
constexpr int32_t kGeoTolerance = 3;     // 0.001
constexpr int32_t kGeoSmallQuadric = 6;  // 1.0e-7

constexpr int32_t kQuadricSteps = 3;
constexpr int32_t kParametricSteps = 6;
constexpr float kDifferenceShare = 100.0f;  // a difference step is 1/100 of a cell
constexpr float kHalf = 0.5f;
constexpr float kQuarter = 0.25f;
constexpr int32_t kFailedToMove = 1036;

float dot(const FV& a, const FV& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
FV minus(const FV& a, const FV& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

// The value, the gradient and the quadratic part of the quadric C (words 6..15 as c[0..9]).
struct Quadric {
  std::span<const float, kQuadricCoefficients> c;

  float value(const FV& p) const {
    return c[0] * p[0] * p[0] + c[1] * p[1] * p[1] + c[2] * p[2] * p[2] + c[3] * p[0] * p[1] +
           c[4] * p[0] * p[2] + c[5] * p[1] * p[2] + c[6] * p[0] + c[7] * p[1] + c[8] * p[2] +
           c[9];
  }
  FV gradient(const FV& p) const {
    return {2.0f * c[0] * p[0] + c[3] * p[1] + c[4] * p[2] + c[6],
            2.0f * c[1] * p[1] + c[3] * p[0] + c[5] * p[2] + c[7],
            2.0f * c[2] * p[2] + c[4] * p[0] + c[5] * p[1] + c[8]};
  }
  float quadratic(const FV& g) const {
    return c[0] * g[0] * g[0] + c[1] * g[1] * g[1] + c[2] * g[2] * g[2] + c[3] * g[0] * g[1] +
           c[4] * g[0] * g[2] + c[5] * g[1] * g[2];
  }
};

// A parameter direction of a parametric shape: its range, its knots and its cell count.
struct Direction {
  int32_t degree = 0;
  int32_t count = 0;  // points less one
  float low = 0.0f;
  float high = 0.0f;
  std::vector<float> knots;
};

// The knots of one direction: COUNT + DEGREE + 2 reals from record FIRST of array 16, or
// half of them the lowest and half the highest parameter.
bool knotsOf(Direction& d, int32_t first) {
  const int64_t n = int64_t{d.count} + d.degree + 2;
  if (first >= 1) {
    if (!geoRecordsHeld(kArrGeoValues, first, first + n - 1)) return false;
    d.knots.assign(static_cast<size_t>(n), 0.0f);
    for (int64_t k = 0; k < n; ++k) {
      std::array<float, 1> r{};
      ARRREC(kRead, kArrGeoValues, static_cast<int32_t>(first + k), r);
      d.knots[static_cast<size_t>(k)] = r[0];
    }
    return true;
  }
  const auto h = static_cast<size_t>(n / 2);
  d.knots.assign(h, d.low);
  d.knots.insert(d.knots.end(), h, d.high);
  return true;
}

// The surface point at (U, V) of the parametric shape.
struct Parametric {
  Direction u, v;
  int32_t grid = 0;
  int32_t weights = 0;
  bool bezier = false;

  bool at(float pu, float pv, FV& p) const {
    int32_t stat = 1;
    if (bezier) {
      BEZSRF(pu, pv, u.degree, v.degree, grid, p[0], p[1], p[2], stat);
    } else if (weights >= 1) {
      NRBSRF(pu, pv, u.degree, u.count, v.degree, v.count, grid, weights, u.knots, v.knots, p[0],
             p[1], p[2], stat);
    } else {
      BSPSRF(pu, pv, u.degree, u.count, v.degree, v.count, grid, u.knots, v.knots, p[0], p[1],
             p[2], stat);
    }
    return stat == 0;
  }
};

FV controlPoint(int32_t record) {
  FV p{};
  ARRREC(kRead, kArrGeoControlPoints, record, p);
  return p;
}

// The difference step of a direction: P' = P + H, both kept within the range by starting
// from HIGH - H when P + H would pass it.
void stepFrom(float& p, float& pStep, float h, float high) {
  pStep = p + h;
  if (pStep > high) {
    p = high - h;
    pStep = high;
  }
}

}  // namespace

void PRJQUA(int32_t node, std::span<float, 3> xyz,
            std::span<const float, kQuadricCoefficients> coefficients, float size) {
  const Quadric q{coefficients};
  const float share = GEOCON.real(kGeoTolerance) * size;
  const float valueTol = share * share;
  const float stepTol = std::min(GEOSTA.real(kGeoModelTolerance), share);
  const float small = GEOCON.real(kGeoSmallQuadric);

  FV p = {xyz[0], xyz[1], xyz[2]};
  float f = q.value(p);
  if (node >= 1 && std::fabs(f) <= valueTol) return;
  for (int32_t step = 1; step <= kQuadricSteps; ++step) {
    // Along p + s g the value is f + b s + a s^2.
    const FV g = q.gradient(p);
    const float b = dot(g, g);
    const float a = q.quadratic(g);
    float s = 0.0f;
    if (a >= small) {
      const float s0 = -b / (2.0f * a);
      const float r = std::sqrt(std::fabs(b * b / (4.0f * a * a) - f / a));
      s = std::fabs(s0 - r) < std::fabs(s0 + r) ? s0 - r : s0 + r;
    } else if (b <= small) {
      break;
    } else {
      s = -f / b;
    }
    if (std::fabs(s) * std::sqrt(b) < stepTol) break;
    for (size_t i = 0; i < 3; ++i) p[i] += s * g[i];
    xyz[0] = p[0];
    xyz[1] = p[1];
    xyz[2] = p[2];
    f = q.value(p);
    if (std::fabs(f) <= valueTol) break;
  }
  if (std::fabs(f) > valueTol && node != 0) MSGQRL(kFailedToMove, node);
}

void PRJPAR(int32_t shape, std::span<const float, 3> point, float& u, float& v,
            std::span<float, 3> moved, int32_t& status) {
  const FV target = {point[0], point[1], point[2]};
  const float tol = GEOSTA.real(kGeoModelTolerance) * GEOSTA.real(kGeoModelTolerance);
  status = 1;

  // 1. and 2. The shape record, in the geometry buffer.
  if (!geoRecordHeld(shape)) return;
  ARRREC(kRead, kArrGeoRecords, shape, ENTBUF.shape);
  ShpDef rec;
  std::copy(ENTBUF.shape.begin(), ENTBUF.shape.end(), rec.words.begin());
  Parametric s;
  s.grid = rec.integer(kGridWord);
  s.u = {rec.integer(kDegreeU), rec.integer(kCountU), rec.word(kLowU), rec.word(kHighU), {}};
  s.v = {rec.integer(kDegreeV), rec.integer(kCountV), rec.word(kLowV), rec.word(kHighV), {}};
  s.weights = rec.integer(kWeights);
  if (s.grid < 1) return;
  // Without a cell along u or v there is no starting cell, and the cell width divides by 0.
  if (s.u.count < 1 || s.v.count < 1) return;
  const int64_t rowLength = int64_t{s.u.count} + 1;
  const int64_t gridEnd = int64_t{s.grid} + rowLength * (int64_t{s.v.count} + 1) - 1;
  if (!geoRecordsHeld(kArrGeoControlPoints, s.grid, gridEnd)) return;

  // 3. The starting cell: the nearest cell centre, j outer, i inner, the first on ties.
  int32_t ci = 1, cj = 1;
  float nearest = MACHCN.real(kMachLargestReal);
  for (int32_t j = 1; j <= s.v.count; ++j) {
    for (int32_t i = 1; i <= s.u.count; ++i) {
      const int64_t base = s.grid + (i - 1) + rowLength * (j - 1);
      const FV p00 = controlPoint(static_cast<int32_t>(base));
      const FV p10 = controlPoint(static_cast<int32_t>(base + 1));
      const FV p01 = controlPoint(static_cast<int32_t>(base + rowLength));
      const FV p11 = controlPoint(static_cast<int32_t>(base + rowLength + 1));
      FV mean{};
      for (size_t k = 0; k < 3; ++k) mean[k] = (p00[k] + p10[k] + p01[k] + p11[k]) * kQuarter;
      const FV d = minus(mean, target);
      const float d2 = dot(d, d);
      if (d2 < nearest) {
        nearest = d2;
        ci = i;
        cj = j;
      }
    }
  }

  // 4. The evaluator and its knots.
  const int32_t knotsU = rec.integer(kKnotsU);
  const int32_t knotsV = rec.integer(kKnotsV);
  s.bezier = knotsU < 1 && knotsV < 1 && s.weights < 1;
  if (s.bezier) {
    s.u.low = s.v.low = 0.0f;
    s.u.high = s.v.high = 1.0f;
  } else {
    // A degree outside 0..n is refused by the evaluator; refused here, it also bounds the
    // knot vectors filled from the range words.
    if (s.u.degree < 0 || s.u.degree > s.u.count || s.v.degree < 0 || s.v.degree > s.v.count) {
      return;
    }
    if (!knotsOf(s.u, knotsU) || !knotsOf(s.v, knotsV)) return;
  }

  // 5. The centre of the starting cell, and the difference steps.
  const float du = (s.u.high - s.u.low) / static_cast<float>(s.u.count);
  const float dv = (s.v.high - s.v.low) / static_cast<float>(s.v.count);
  u = (static_cast<float>(ci) - kHalf) * du + s.u.low;
  v = (static_cast<float>(cj) - kHalf) * dv + s.v.low;
  const float hu = du / kDifferenceShare;
  const float hv = dv / kDifferenceShare;
  float uStep = u + hu;
  if (uStep > s.u.high) {
    u = s.u.high - hu;
    uStep = u + hu;
  }
  float vStep = v + hv;
  if (vStep > s.v.high) {
    v = s.v.high - hv;
    vStep = v + hv;
  }

  // 6. Steps along the parameter tangents.
  const float tiny = MACHCN.real(kMachTolerance);
  FV result{}, previous{};
  for (int32_t step = 1; step <= kParametricSteps; ++step) {
    FV p0{}, pu{}, pv{};
    if (!s.at(u, v, p0) || !s.at(uStep, v, pu) || !s.at(u, vStep, pv)) return;
    const FV tu = minus(pu, p0);
    const FV tv = minus(pv, p0);
    const float lu = dot(tu, tu);
    const float lv = dot(tv, tv);
    if (lu < tiny || lv < tiny) return;
    const FV d = minus(target, p0);
    const float nu = u + dot(tu, d) * (uStep - u) / lu;
    const float nv = v + dot(tv, d) * (vStep - v) / lv;
    u = std::clamp(nu, s.u.low, s.u.high);
    v = std::clamp(nv, s.v.low, s.v.high);
    if (!s.at(u, v, result)) return;

    const FV off = minus(target, result);
    const FV moveBy = minus(result, previous);
    if (dot(off, off) < tol || (step >= 2 && dot(moveBy, moveBy) < tiny)) break;
    previous = result;
    stepFrom(u, uStep, hu, s.u.high);
    stepFrom(v, vStep, hv, s.v.high);
  }
  moved[0] = result[0];
  moved[1] = result[1];
  moved[2] = result[2];
  status = 0;
}

void PTONSH(int32_t surface, std::span<const float, 3> point, std::span<float, 3> moved,
            int32_t& status) {
  // 1. The moved point starts as the point.
  const FV target = {point[0], point[1], point[2]};
  moved[0] = target[0];
  moved[1] = target[1];
  moved[2] = target[2];
  status = 1;

  // 2. and 3. The surface record, its type and its shape.
  std::array<int32_t, kSurfaceWords> rec{};
  if (!readSurfaceRecord(surface, rec)) return;
  const int32_t type = (rec[kSurfaceType - 1] / 100) % 100;
  const int32_t shape = rec[kSurfaceShape - 1] / 100;
  const bool hasShape = shape >= 1;
  ShpDef def;
  if (hasShape && !readGeoRecord(shape, def)) return;
  const int32_t kind = hasShape ? def.integer(kKindWord) : 0;
  std::array<float, kQuadricCoefficients> coefficients{};
  for (int32_t k = 0; k < kQuadricCoefficients; ++k) {
    coefficients[static_cast<size_t>(k)] = def.word(kFirstCoefficient + k);
  }

  // 4. The projection by type and shape.
  auto byKind = [&]() {
    if (kind < kQuadricKinds) {
      PRJQUA(0, moved, coefficients, GEOSTA.real(kGeoModelSize));
      status = 0;
    } else if (kind >= kParametricKinds && kind < kLaterKinds) {
      float u = 0.0f, v = 0.0f;
      PRJPAR(shape, target, u, v, moved, status);
    }
  };
  auto onPatch = [&]() {
    if (type % 2 == 1) {
      PRJQAD(surface, target, moved, status);
    } else {
      PRJTRI(surface, target, moved, status);
    }
  };
  switch (type) {
    case 1:
    case 2:
      if (hasShape) {
        byKind();
      } else {
        onPatch();
      }
      break;
    case 3:
    case 4:
      if (hasShape) onPatch();
      break;
    case 5:
    case 6:
    case 7:
    case 8:
      if (hasShape) byKind();
      break;
    default:
      break;
  }
}

}  // namespace kvr
