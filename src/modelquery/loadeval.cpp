// Load evaluation: ULEVAL, DSTFUN and VAREVL, in REAL arithmetic.
#include "modelquery/loadeval.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "geometry/axes3.h"
#include "modeldb/attlst.h"
#include "modelquery/coordsys.h"
#include "modelquery/entpar.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "platform/fmtedit.h"
#include "runtime/modcnt.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kDistributionType = -8;
constexpr int32_t kVariationType = -9;
constexpr int32_t kSystemType = 8;
constexpr int32_t kSystemValues = 4;
constexpr float kNodeRounding = 0.1f;  // integers held as reals: value + 0.1, truncated

// ULEVAL statuses.
constexpr int32_t kDone = 0;
constexpr int32_t kFailed = 1;
constexpr int32_t kRecordTooLong = 9;

constexpr int32_t kLine = 1;
constexpr int32_t kSurface = 2;
constexpr int32_t kBody = 3;
constexpr int32_t kSpatial = 4;
constexpr int32_t kParametersGiven = -5;  // the position holds the parametric coordinates

// Record words.
constexpr int32_t kWordKind = 1;
constexpr int32_t kWordFunction = 2;  // line function, surface or body form, spatial direction
constexpr int32_t kWordForm = 3;      // spatial form
constexpr int32_t kWordCount = 4;     // count of table or corner values
constexpr int32_t kWordT0 = 5;
constexpr int32_t kWordT1 = 6;
constexpr int32_t kWordSystem = 9;
constexpr int32_t kWordData = 11;  // amplitude, corner values, table, sub-records
constexpr int32_t kSubRecord = 11;
constexpr int32_t kVariationWords = 16;
constexpr int32_t kWordBoxSystem = 2;
constexpr int32_t kWordLimits = 11;

constexpr int32_t kTableFunction = 7;
constexpr int32_t kTableCode = 70;

constexpr float kPi = 3.1415925f;       // the distribution functions' own pi
constexpr float kRootTwoPi = 2.5066283f;  // the Gaussian's sqrt(2 pi)

using F3 = std::array<float, 3>;

// The words of a record up to a limit: a word beyond it counts as 0.
struct Words {
  std::span<const int32_t> w;
  int32_t word(int32_t k) const {
    return k >= 1 && static_cast<size_t>(k) <= w.size() ? w[static_cast<size_t>(k - 1)] : 0;
  }
  float real(int32_t k) const { return WRDREA(word(k)); }
  // The pairs of a table of COUNT pairs from word FIRST that lie within the record.
  int32_t pairs(int32_t first, int32_t count) const {
    const int64_t held = (static_cast<int64_t>(w.size()) - first + 1) / 2;
    return static_cast<int32_t>(std::clamp<int64_t>(std::min<int64_t>(count, held), 0, count < 0 ? 0 : count));
  }
};

Words limited(std::span<const int32_t> record, int32_t size) {
  const auto n = static_cast<size_t>(std::clamp<int64_t>(size, 0, static_cast<int64_t>(record.size())));
  return {record.first(n)};
}

// The frame of a system by rows, as the variation box and the spatial distribution build
// it: type from value 1, axis 3 towards node 2, axis 2 normal to the plane with node 3.
struct RowSystem {
  bool present = false;
  int32_t type = 0;
  F3 origin{};
  RowAxes frame;
};

RowSystem rowSystem(int32_t number) {
  RowSystem s;
  if (number < 1) return s;
  std::array<float, kSystemValues> v{};
  int32_t count = kSystemValues;
  ATTVLR(kRead, kSystemType, number, 1, count, v);
  if (count == 0) return s;
  // A defining node outside the model leaves the system without a frame: no node is read.
  F3 onAxis{}, inPlane{};
  int32_t status = 0;
  systemPoints(number, s.origin, onAxis, inPlane, status);
  if (status != 0) return s;
  FRMAXN(s.origin, 3, onAxis, 2, inPlane, s.frame, status);
  if (status != 0) return s;
  s.type = intOf(double{v[0]} + kNodeRounding);
  s.present = true;
  return s;
}

// ULEVAL's cache, from the last call that read the records.
struct LoadCache {
  bool valid = false;
  int32_t systemType = 1;
  F3 systemOrigin{};
  ColumnAxes systemFrame;
  int32_t kind = kSpatial;  // the distribution kind
  int32_t values = 0;       // the distribution entry's value count
  bool variation = false;
  int32_t variationKind = 0;
  bool inverted = false;
  bool box = false;
  std::array<float, 6> limits{};
  RowSystem boxSystem;
};

// VAREVL's last spatial system.
struct SpatialCache {
  bool valid = false;
  int32_t number = 0;
  RowSystem system;
};

LoadCache gLoad;
SpatialCache gSpatial;

// Line functions 1 to 6 at P (t = T0 + P (T1 - T0)) with amplitude F and exponent word N;
// false for another function.
bool lineFunction(int32_t function, float p, float t0, float t1, float f, float nWord,
                  float& value) {
  const float t = t0 + p * (t1 - t0);
  switch (function) {
    case 1:
      value = p <= 0.5f ? 2 * f * p : 2 * f * (1 - p);
      return true;
    case 2: {
      int32_t n = intOf(nWord);
      if (n == 0) n = 2;
      value = f - f * std::pow(2 * t - 1, static_cast<float>(n));
      return true;
    }
    case 3: {
      const float s = 2 * std::fabs(t - 0.5f);
      // Beyond the span the ellipse has no height (the root of a negative number).
      value = f * std::sqrt(std::max(0.0f, 1 - s * s));
      return true;
    }
    case 4: {
      const float sigma = 0.5f / f;
      const float z = (t - 0.5f) / sigma;
      value = std::exp(-z * z / 2) / (sigma * kRootTwoPi);
      return true;
    }
    case 5:
      value = f * std::sin(kPi * t);
      return true;
    case 6:
      value = f - f * std::sin(kPi * t);
      return true;
    default:
      return false;
  }
}

// A DSTFUN table of COUNT pairs from word FIRST at P: x_i = P gives y_i, below x_1 y_1,
// between two abscissae the linear interpolation; above the last VALUE is unchanged.
void lineTable(const Words& r, int32_t first, int32_t count, float p, float& value) {
  const int32_t n = r.pairs(first, count);
  for (int32_t i = 1; i <= n; ++i) {
    const float x = r.real(first + 2 * (i - 1));
    const float y = r.real(first + 2 * (i - 1) + 1);
    if (p == x) {
      value = y;
      return;
    }
    if (p < x) {
      if (i == 1) {
        value = y;
      } else {
        const float x0 = r.real(first + 2 * (i - 2));
        const float y0 = r.real(first + 2 * (i - 2) + 1);
        value = y0 + (y - y0) * (p - x0) / (x - x0);
      }
      return;
    }
  }
}

// A VAREVL table: as lineTable, but 0 below the first and above the last abscissa.
float spatialTable(const Words& r, int32_t first, int32_t count, float x) {
  const int32_t n = r.pairs(first, count);
  for (int32_t i = 1; i <= n; ++i) {
    const float xi = r.real(first + 2 * (i - 1));
    const float yi = r.real(first + 2 * (i - 1) + 1);
    if (x == xi) return yi;
    if (x < xi) {
      if (i == 1) return 0.0f;
      const float x0 = r.real(first + 2 * (i - 2));
      const float y0 = r.real(first + 2 * (i - 2) + 1);
      return y0 + (yi - y0) * (x - x0) / (xi - x0);
    }
  }
  return 0.0f;
}

// Spatial functions 1 to 6 at X over LO..HI with amplitude A and exponent word N; false
// for another function.
bool spatialFunction(int32_t function, float x, float lo, float hi, float a, float nWord,
                     float& f) {
  if (function < 1 || function > 6) return false;
  if (x < lo || x > hi) {
    f = 0.0f;
    return true;
  }
  const float mid = (lo + hi) / 2;
  const float half = (hi - lo) / 2;
  switch (function) {
    case 1:
      f = x <= mid ? a * (x - lo) / (mid - lo) : a - a * (x - mid) / (hi - mid);
      break;
    case 2: {
      int32_t n = intOf(nWord);
      if (n == 0) n = 2;
      f = a - a * std::pow((x - mid) / half, static_cast<float>(n));
      break;
    }
    case 3: {
      const float s = std::clamp((x - mid) / half, -1.0f, 1.0f);
      f = a * std::sqrt(1 - s * s);
      break;
    }
    case 4: {
      const float sigma = half / a;
      const float z = (x - mid) / sigma;
      f = std::exp(-z * z / 2) / (sigma * kRootTwoPi);
      break;
    }
    case 5:
      f = a * std::sin(kPi * (x - lo) / (hi - lo));
      break;
    default:
      f = a - a * std::sin(kPi * (x - lo) / (hi - lo));
      break;
  }
  return true;
}

// The surface form 2: the edge values combined over the edges that have a function.
void surfaceEdges(const Words& r, float u, float v, float& value) {
  std::array<float, 5> e{};
  std::array<bool, 5> present{};
  const std::array<float, 5> param = {0.0f, u, v, 1 - u, 1 - v};
  for (int32_t i = 1; i <= 4; ++i) {
    const int32_t at = kSubRecord * i;
    const int32_t code = r.word(at);
    const int32_t function = code / 10;
    float ei = value;
    bool has = true;
    if (function == kTableFunction) {
      lineTable(r, at + 3, (code - kTableCode) / 2, param[static_cast<size_t>(i)], ei);
    } else {
      has = lineFunction(function, param[static_cast<size_t>(i)], r.real(at + 1), r.real(at + 2),
                         r.real(at + 3), r.real(at + 4), ei);
      if (!has) ei = value;
    }
    e[static_cast<size_t>(i)] = ei;
    present[static_cast<size_t>(i)] = has;
  }
  const int32_t count = static_cast<int32_t>(std::count(present.begin() + 1, present.end(), true));
  const auto cross13 = [&] { return e[1] + (e[3] - e[1]) * v; };
  const auto cross24 = [&] { return e[4] + (e[2] - e[4]) * u; };
  if (count == 1) {
    for (size_t i = 1; i <= 4; ++i) {
      if (present[i]) value = e[i];
    }
  } else if (count == 2) {
    if (present[1] && present[3]) {
      value = cross13();
    } else if (present[2] && present[4]) {
      value = cross24();
    } else {
      value = 1.0f;
      for (size_t i = 1; i <= 4; ++i) {
        if (present[i]) value *= e[i];
      }
    }
  } else if (count >= 3) {
    value = (cross13() + cross24()) / 2;
  }
}

// Reads the records of a fresh evaluation into the cache; false with STATUS on a failure.
bool readRecords(const int32_t& variation, int32_t& distribution, const int32_t& system,
                 std::span<int32_t> record, const int32_t& size, int32_t& status) {
  gLoad = {};
  if (system != 0) {
    int32_t failed = 0;
    LCSFRM(system, gLoad.systemType, gLoad.systemOrigin, gLoad.systemFrame, failed);
    if (failed != 0) {
      status = kFailed;
      return false;
    }
  }
  if (distribution != 0) {
    std::array<int32_t, 2> label{};
    int32_t key = distribution;
    int32_t count = 0;
    ATTFND(kRead, label, kDistributionType, key, count);
    if (count > size || static_cast<int64_t>(count) > static_cast<int64_t>(record.size())) {
      status = kRecordTooLong;
      return false;
    }
    if (count <= 0) {
      distribution = 0;
    } else {
      int32_t n = count;
      ATTVLI(kRead, kDistributionType, distribution, 1, n, record.first(static_cast<size_t>(count)));
      gLoad.values = n;
      gLoad.kind = Words{record.first(static_cast<size_t>(n))}.word(kWordKind);
    }
  }
  if (variation != 0) {
    std::array<int32_t, 2> label{};
    int32_t key = variation;
    int32_t count = 0;
    ATTFND(kRead, label, kVariationType, key, count);
    // A variation without entry is no variation: nothing of an earlier one is tested.
    if (count > 0) {
      std::array<int32_t, kVariationWords> v{};
      int32_t n = std::min(count, kVariationWords);
      ATTVLI(kRead, kVariationType, variation, 1, n, std::span<int32_t>(v).first(static_cast<size_t>(n)));
      const Words w{v};
      gLoad.variation = true;
      gLoad.variationKind = std::abs(w.word(kWordKind));
      gLoad.inverted = w.word(kWordKind) < 0;
      for (int32_t k = 0; k < 6; ++k) gLoad.limits[static_cast<size_t>(k)] = w.real(kWordLimits + k);
      gLoad.box = gLoad.variationKind > 3;
      if (w.word(kWordBoxSystem) != 0) gLoad.boxSystem = rowSystem(w.word(kWordBoxSystem));
    }
  }
  gLoad.valid = true;
  return true;
}

// True when the point passes the cached variation test.
bool insideVariation(std::span<const float, 3> position, const F3& c, int32_t count) {
  const auto lo = [](int32_t i) { return gLoad.limits[static_cast<size_t>(2 * (i - 1))]; };
  const auto hi = [](int32_t i) { return gLoad.limits[static_cast<size_t>(2 * (i - 1) + 1)]; };
  if (!gLoad.box) {
    const int32_t k = gLoad.variationKind;
    if (count < k) return false;
    if (!gLoad.inverted) {
      for (int32_t i = 1; i <= k; ++i) {
        const float x = c[static_cast<size_t>(i - 1)];
        if (x < lo(i) || x > hi(i)) return false;
      }
      return true;
    }
    for (int32_t i = 1; i <= k; ++i) {
      const float x = c[static_cast<size_t>(i - 1)];
      if (x <= lo(i) || x >= hi(i)) return true;
    }
    return false;
  }
  F3 local = {position[0], position[1], position[2]};
  if (gLoad.boxSystem.present) {
    int32_t st = 0;
    F3 l{};
    LCSCRD(gLoad.boxSystem.type, gLoad.boxSystem.origin, gLoad.boxSystem.frame, position, l, st);
    if (st == 0) local = l;
  }
  bool strictlyInside = true;
  for (int32_t i = 1; i <= 3; ++i) {
    if (lo(i) == 0.0f && hi(i) == 0.0f) continue;
    const float x = local[static_cast<size_t>(i - 1)];
    if (!gLoad.inverted && (x < lo(i) || x > hi(i))) return false;
    if (!(x > lo(i) && x < hi(i))) strictlyInside = false;
  }
  return gLoad.inverted ? !strictlyInside : true;
}

}  // namespace

void DSTFUN(std::span<const float, 3> parameters, std::span<const int32_t> record, int32_t size,
            float& value, int32_t& status) {
  status = kDone;
  const Words r = limited(record, size);
  const float u = parameters[0], v = parameters[1], w = parameters[2];
  switch (r.word(kWordKind)) {
    case kLine: {
      const int32_t function = r.word(kWordFunction);
      if (function == kTableFunction) {
        lineTable(r, kWordData, r.word(kWordCount) / 2, u, value);
      } else if (!lineFunction(function, u, r.real(kWordT0), r.real(kWordT1), r.real(kWordData),
                               r.real(kWordData + 1), value)) {
        status = kFailed;
      }
      return;
    }
    case kSurface: {
      const int32_t form = r.word(kWordFunction);
      if (form == 1) {
        const auto g = [&r](int32_t k) { return k <= r.word(kWordCount) ? r.real(kWordData + k - 1) : 0.0f; };
        const float m = g(1) + (g(2) - g(1)) * u;
        value = m + (g(4) + u * (g(3) - g(4)) - m) * v;
      } else if (form == 2) {
        surfaceEdges(r, u, v, value);
      }
      return;
    }
    case kBody: {
      if (r.word(kWordFunction) != 1) {
        status = kFailed;
        return;
      }
      const auto g = [&r](int32_t k) { return k <= r.word(kWordCount) ? r.real(kWordData + k - 1) : 0.0f; };
      const float a = g(1) + (g(2) - g(1)) * u;
      const float b = g(4) + (g(3) - g(4)) * u;
      const float c = g(5) + (g(6) - g(5)) * u;
      const float d = g(8) + (g(7) - g(8)) * u;
      const float bottom = a + (b - a) * v;
      const float top = c + (d - c) * v;
      value = bottom + (top - bottom) * w;
      return;
    }
    default:
      return;
  }
}

void VAREVL(std::span<float, 3> position, std::span<const int32_t> record, int32_t size,
            float& value, int32_t& status) {
  const Words r = limited(record, size);
  if (r.word(kWordKind) != kSpatial) {
    status = kFailed;
    return;
  }
  status = kDone;
  std::array<float, 3> f = {1.0f, 1.0f, 1.0f};
  const int32_t number = r.word(kWordSystem);
  if (number != 0) {
    if (!gSpatial.valid || gSpatial.number != number) {
      gSpatial.system = rowSystem(number);
      gSpatial.number = number;
      gSpatial.valid = true;
    }
    const RowSystem& s = gSpatial.system;
    if (s.present) {
      F3 local{};
      int32_t st = 0;
      LCSCRD(s.type, s.origin, s.frame, position, local, st);
      if (st == 0) {
        std::copy(local.begin(), local.end(), position.begin());
      } else {
        status = kFailed;
      }
    }
  }
  const bool table = r.word(kWordForm) == 2;
  int32_t first = 1, last = 3;
  if (table) {
    first = last = r.word(kWordFunction);
    // A direction outside 1..3 has no coordinate.
    if (first < 1 || first > 3) {
      status = kFailed;
      return;
    }
  }
  for (int32_t d = first; d <= last; ++d) {
    const float x = position[static_cast<size_t>(d - 1)];
    float& fd = f[static_cast<size_t>(d - 1)];
    if (table) {
      fd = spatialTable(r, kWordData, r.word(kWordCount) / 2, x);
      continue;
    }
    const int32_t at = kSubRecord * d;
    const int32_t code = r.word(at);
    const int32_t function = code / 10;
    if (function == 0) continue;
    if (function == kTableFunction) {
      fd = spatialTable(r, at + 3, (code - kTableCode) / 2, x);
    } else if (!spatialFunction(function, x, r.real(at + 1), r.real(at + 2), r.real(at + 3),
                                r.real(at + 4), fd)) {
      status = kFailed;
      return;
    }
  }
  value = f[0] * f[1] * f[2];
}

void ULEVAL(int32_t& mode, const int32_t& variation, int32_t& distribution,
            const int32_t& system, std::span<const float, 3> position, const int32_t& kind,
            const int32_t& entity, int32_t& applies, float& value, std::span<float, 9> axes,
            std::span<int32_t> record, const int32_t& size, int32_t& status) {
  value = 1.0f;
  ColumnAxes identity;
  std::copy(identity.values.begin(), identity.values.end(), axes.begin());
  applies = 0;
  const F3 point = {position[0], position[1], position[2]};
  // A negative number would pass the range test and name no record.
  if (variation < 0 || distribution < 0 || variation > MODCNT.word(kCntKind41) ||
      distribution > MODCNT.word(kCntKind40) || system > MODCNT.word(kCntCoordSystems)) {
    status = kFailed;
    return;
  }
  status = kDone;
  // Without a cache of this session every call reads the records afresh.
  int32_t flag = gLoad.valid ? mode : 0;
  if (flag == 0 && !readRecords(variation, distribution, system, record, size, status)) return;

  const bool variationTest = variation != 0 && gLoad.variation;
  F3 c{};
  int32_t count = 0;
  if (kind == kParametersGiven) {
    c = point;
    count = entity;
  } else if ((distribution != 0 && gLoad.kind != kSpatial) || (variationTest && !gLoad.box)) {
    int32_t st = 0;
    const F3 copy = point;
    ENTPAR(flag, kind, entity, copy, c, count, st);
    mode = flag;  // the geometry cache flag, set by the parametric position
    if (st != 0) {
      status = kFailed;
      return;
    }
  }
  if (variationTest && !insideVariation(point, c, count)) return;

  if (distribution == 0) {
    applies = 1;
  } else if (gLoad.kind >= kLine && gLoad.kind <= kBody) {
    applies = 1;
    if (variationTest && !gLoad.box) {
      const auto lo = [](size_t i) { return gLoad.limits[2 * i]; };
      const auto hi = [](size_t i) { return gLoad.limits[2 * i + 1]; };
      if (!gLoad.inverted) {
        for (size_t i = 0; i < 3; ++i) {
          if (lo(i) < hi(i)) c[i] = (c[i] - lo(i)) / (hi(i) - lo(i));
        }
      } else if (gLoad.variationKind != 2) {
        const size_t axesRescaled = static_cast<size_t>(gLoad.kind);
        for (size_t i = 0; i < axesRescaled; ++i) {
          if (lo(i) == 0.0f || hi(i) == 1.0f) {
            applies = 0;
            return;
          }
          c[i] = c[i] <= lo(i) ? c[i] / lo(i) : (c[i] - hi(i)) / (1 - hi(i));
        }
      }
    }
    int32_t st = 0;
    const auto held = std::min<size_t>(record.size(), static_cast<size_t>(std::max(gLoad.values, 0)));
    DSTFUN(c, record.first(held), size, value, st);
    if (st != 0) status = kFailed;
  } else if (gLoad.kind == kSpatial) {
    applies = 1;
    int32_t st = 0;
    F3 copy = point;
    const auto held = std::min<size_t>(record.size(), static_cast<size_t>(std::max(gLoad.values, 0)));
    VAREVL(copy, record.first(held), size, value, st);
    if (st != 0) status = kFailed;
  } else {
    applies = 1;
  }
  if (status != kDone) return;

  if (system != 0) {
    ColumnAxes out;
    int32_t st = 0;
    LCSAXP(gLoad.systemType, gLoad.systemOrigin, gLoad.systemFrame, 0.0f, point, out, st);
    std::copy(out.values.begin(), out.values.end(), axes.begin());
  }
  mode = 1;
}

void resetLoadEvaluation() {
  gLoad = {};
  gSpatial = {};
}

}  // namespace kvr
