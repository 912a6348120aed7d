// The curve geometry query: UCURVT and the fillets of CRVGEO.
#include "modelquery/curvqry.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <vector>

#include "geometry/arccon.h"
#include "geometry/matrix4.h"
#include "geometry/vector3.h"
#include "modeldb/attlst.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "runtime/machcn.h"
#include "runtime/modcnt.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kCurveType = -7;

// UCURVT statuses.
constexpr int32_t kDone = 0;
constexpr int32_t kNoCurve = 1;
constexpr int32_t kBadCurve = 3;
constexpr int32_t kValuesTooSmall = 4;
constexpr int32_t kNoRoom = 9;

// Curve record words.
constexpr int32_t kWordType = 1;
constexpr int32_t kWordXOffset = 2;
constexpr int32_t kWordYOffset = 3;
constexpr int32_t kWordXScale = 4;
constexpr int32_t kWordYScale = 5;
constexpr int32_t kWordLower = 6;
constexpr int32_t kWordUpper = 7;
constexpr int32_t kWordFillet = 8;
constexpr int32_t kWordRepeats = 9;
constexpr int32_t kWordTableCount = 10;
constexpr int32_t kWordData = 11;
constexpr int32_t kHeaderWords = 15;  // the record words read whatever the type
constexpr int32_t kTypeFactor = 10000;

constexpr int32_t kTable = 1;
constexpr int32_t kStep = 2;
constexpr int32_t kRamp = 3;
constexpr int32_t kSine = 4;
constexpr int32_t kExponential = 5;

constexpr float kPi = 3.14159f;          // the sine's own pi
constexpr float kRangeFraction = 10000;  // the clipping tolerance is the span over this
constexpr float kStraightAngle = 178;    // degrees: a corner this near straight is kept
constexpr int32_t kArcPoints = 9;
constexpr float kArcStep = 0.125f;

// A point list (x, y pairs).
using Points = std::vector<std::array<float, 2>>;

float distance2(float ax, float ay, float bx, float by) {
  return std::sqrt((ax - bx) * (ax - bx) + (ay - by) * (ay - by));
}

// The CRVREC words 1..kHeaderWords and the data from word 11 on, words beyond the entry's
// value count 0.
struct CurveRecord {
  std::vector<int32_t> words;
  int32_t word(int32_t k) const {
    return k >= 1 && static_cast<size_t>(k) <= words.size() ? words[static_cast<size_t>(k - 1)] : 0;
  }
  float real(int32_t k) const { return WRDREA(word(k)); }
};

// The tolerance of a list: its x span / 10000.
float tolerance(const Points& p) {
  if (p.empty()) return 0.0f;
  float lo = p.front()[0], hi = p.front()[0];
  for (const auto& q : p) {
    lo = std::min(lo, q[0]);
    hi = std::max(hi, q[0]);
  }
  return (hi - lo) / kRangeFraction;
}

// Cuts P to the x range LOWER..UPPER with tolerance TOL: the first point that reaches an
// end within TOL stops there; a segment across it is cut at the end; a list that starts
// above the lower end gains (lower, first y), one that stays below the upper end gains
// (upper, last y).
void clipToRange(Points& p, float lower, float upper, float tol) {
  if (p.empty()) return;
  for (size_t i = 0; i < p.size(); ++i) {
    const float x = p[i][0];
    if (x < lower - tol) continue;
    if (std::fabs(x - lower) <= tol) {
      p.erase(p.begin(), p.begin() + static_cast<std::ptrdiff_t>(i));
    } else if (i == 0) {
      p.insert(p.begin(), {lower, p.front()[1]});
    } else {
      const auto& a = p[i - 1];
      const auto& b = p[i];
      const float y = a[1] + (b[1] - a[1]) * (lower - a[0]) / (b[0] - a[0]);
      p[i - 1] = {lower, y};
      p.erase(p.begin(), p.begin() + static_cast<std::ptrdiff_t>(i - 1));
    }
    break;
  }
  for (size_t i = 0; i < p.size(); ++i) {
    const float x = p[i][0];
    if (x < upper - tol) {
      if (i + 1 == p.size()) p.push_back({upper, p.back()[1]});
      continue;
    }
    if (i == 0) {
      p = {{upper, p.front()[1]}};
    } else if (std::fabs(x - upper) <= tol) {
      p.resize(i + 1);
    } else {
      const auto& a = p[i - 1];
      const auto& b = p[i];
      const float y = a[1] + (b[1] - a[1]) * (upper - a[0]) / (b[0] - a[0]);
      p[i] = {upper, y};
      p.resize(i + 1);
    }
    break;
  }
}

// CRVGEO on a point list, through a work array of ROOM words: the status of CRVGEO.
int32_t roundCorners(Points& p, int64_t room, float factor) {
  const auto n = static_cast<int32_t>(p.size());
  // The new list never holds more than the old one and nine points a corner.
  const int64_t most = 2 * int64_t{n} + 2 * int64_t{kArcPoints} * n + 2;
  std::vector<float> w(static_cast<size_t>(std::clamp<int64_t>(room, 0, most)));
  if (static_cast<int64_t>(w.size()) < 2 * int64_t{n}) return kNoRoom;
  for (size_t k = 0; k < p.size(); ++k) {
    w[2 * k] = p[k][0];
    w[2 * k + 1] = p[k][1];
  }
  int32_t count = n;
  int32_t status = 0;
  CRVGEO(w, static_cast<int32_t>(w.size()), count, factor, status);
  if (status != 0) return status;
  p.resize(static_cast<size_t>(count));
  for (size_t k = 0; k < p.size(); ++k) p[k] = {w[2 * k], w[2 * k + 1]};
  return 0;
}

}  // namespace

void CRVGEO(std::span<float> w, int32_t size, int32_t& n, float factor, int32_t& status) {
  status = 0;
  const int64_t room = std::min<int64_t>(size, static_cast<int64_t>(w.size()));
  if (n < 3 || 2 * int64_t{n} > room) return;
  const float eps = MACHCN.real(kMachEpsilon);
  const auto at = [&w](int64_t i) -> float& { return w[static_cast<size_t>(i)]; };
  // The new list is built from word 2n + 1 on.
  const int64_t base = 2 * int64_t{n};
  int64_t m = 0;
  auto append = [&](float x, float y) {
    if (base + 2 * m + 2 > room) return false;
    at(base + 2 * m) = x;
    at(base + 2 * m + 1) = y;
    ++m;
    return true;
  };
  append(at(0), at(1));
  std::array<float, 3> a = {at(0), at(1), 0.0f};
  for (int32_t i = 2; i < n; ++i) {
    const std::array<float, 3> b = {at(2 * (i - 1)), at(2 * (i - 1) + 1), 0.0f};
    const std::array<float, 3> d = {at(2 * i), at(2 * i + 1), 0.0f};
    const float d1 = distance2(a[0], a[1], b[0], b[1]);
    const float d2 = distance2(d[0], d[1], b[0], b[1]);
    const float r = std::fabs(factor) * std::min(d1, d2);
    if (r < eps) {
      status = 1;
      return;
    }
    float angle = 0.0f;
    ANGL3P(b, a, d, angle);
    if (angle < eps || angle > kStraightAngle) {
      if (!append(b[0], b[1])) {
        status = kNoRoom;
        return;
      }
      a = b;
      continue;
    }
    // Both sides move by R towards the inside of the corner; their crossing is the centre.
    const std::array<float, 3> mid = {(a[0] + d[0]) / 2, (a[1] + d[1]) / 2, 0.0f};
    std::array<float, 3> qa1{}, qa2{}, qd1{}, qd2{}, unused{}, centre{};
    Frame4D ma{}, md{};
    int32_t st = 0;
    OFFTRF(b, a, b, kCurveLine, mid, r, qa1, qa2, unused, ma, st);
    if (st == 0) OFFTRF(b, d, b, kCurveLine, mid, r, qd1, qd2, unused, md, st);
    if (st == 0) CRVINT(qa1, qa2, qa1, kCurveLine, qd1, qd2, qd1, kCurveLine, mid, centre, st);
    if (st != 0) {
      status = 1;
      return;
    }
    // The centre moved back by each offset is the tangent point on that side.
    InvFrame4D ia{}, id{};
    TRFINV(ma, ia);
    TRFINV(md, id);
    const std::array<double, 3> c = {centre[0], centre[1], centre[2]};
    std::array<double, 3> t1d{}, t2d{};
    TRFPNT(ia, c, t1d);
    TRFPNT(id, c, t2d);
    const std::array<float, 3> t1 = {static_cast<float>(t1d[0]), static_cast<float>(t1d[1]), 0.0f};
    const std::array<float, 3> t2 = {static_cast<float>(t2d[0]), static_cast<float>(t2d[1]), 0.0f};
    if (distance2(t1[0], t1[1], b[0], b[1]) > d1 || distance2(t2[0], t2[1], b[0], b[1]) > d2) {
      status = 1;
      return;
    }
    for (int32_t k = 0; k < kArcPoints; ++k) {
      std::array<float, 3> q{};
      int32_t sa = 0;
      ARCPNT(centre, t1, t2, static_cast<float>(k) * kArcStep, q, sa);
      if (sa != 0) {
        status = 1;
        return;
      }
      if (!append(q[0], q[1])) {
        status = kNoRoom;
        return;
      }
    }
    a = t2;
  }
  if (!append(at(2 * (n - 1)), at(2 * (n - 1) + 1))) {
    status = kNoRoom;
    return;
  }
  for (int64_t k = 0; k < 2 * m; ++k) at(k) = at(base + k);
  n = static_cast<int32_t>(m);
}

void UCURVT(const int32_t& number, const int32_t& mode, FText name, int32_t& type,
            float& fillet, int32_t& repeat, std::span<int32_t> work, const int32_t& wsize,
            std::span<float> values, const int32_t& vsize, int32_t& written,
            int32_t& status) {
  type = 0;
  fillet = 0.0f;
  repeat = 0;
  written = 0;
  if (number < 1 || number > MODCNT.word(kCntCurves)) {
    status = kNoCurve;
    return;
  }
  if (mode != 0 && mode != 1) {
    status = kBadCurve;
    return;
  }
  status = kDone;
  std::array<int32_t, 2> label{};
  int32_t key = number;
  int32_t count = 0;
  ATTFND(kRead, label, kCurveType, key, count);
  if (count <= 0) {
    status = kNoCurve;
    return;
  }
  writeName(label, name);
  const int64_t room = std::min<int64_t>(wsize, static_cast<int64_t>(work.size()));
  // The record is read only into a W that holds it.
  if (count > room) {
    status = kBadCurve;
    return;
  }
  CurveRecord rec;
  rec.words.resize(static_cast<size_t>(count));
  int32_t n = count;
  ATTVLI(kRead, kCurveType, number, 1, n, rec.words);
  rec.words.resize(static_cast<size_t>(std::max(n, 0)));
  std::copy(rec.words.begin(), rec.words.end(), work.begin());

  type = rec.word(kWordType) / kTypeFactor;
  const int32_t m = rec.word(kWordType) % kTypeFactor;
  const float xOffset = rec.real(kWordXOffset), yOffset = rec.real(kWordYOffset);
  const float xScale = rec.real(kWordXScale), yScale = rec.real(kWordYScale);
  float lower = rec.real(kWordLower), upper = rec.real(kWordUpper);
  fillet = rec.real(kWordFillet);
  repeat = rec.word(kWordRepeats);
  const int32_t tableCount = rec.word(kWordTableCount);
  // A table that claims more values than the entry holds would be read from beyond it;
  // a function without points to generate would divide by m.
  if (xScale == 0.0f || yScale == 0.0f || repeat < 0 || tableCount == 0 ||
      (type == kTable && (tableCount < 0 || tableCount > n - kWordData + 1)) ||
      ((type == kSine || type == kExponential) && m < 1)) {
    status = kBadCurve;
    return;
  }
  const int64_t copies = std::max(1, repeat);
  int64_t need = (type == kTable ? 4 * int64_t{tableCount} : 8 * int64_t{m}) * copies + kHeaderWords;
  if (fillet > 0.0f) need += 8 * int64_t{tableCount} * copies;
  if (room < need) {
    status = kBadCurve;
    return;
  }
  const int64_t area = room - count;  // the output area beside the record

  auto put = [&](const float* v, int32_t k) {
    if (vsize < k || static_cast<int32_t>(values.size()) < k) {
      status = kValuesTooSmall;
      return;
    }
    std::copy(v, v + k, values.begin());
    written = k;
  };
  const float p1 = rec.real(kWordData), p2 = rec.real(kWordData + 1),
              p3 = rec.real(kWordData + 2), p4 = rec.real(kWordData + 3),
              p5 = rec.real(kWordData + 4);
  if (mode == 0 && type >= kStep && type <= kExponential) {
    const std::array<float, 5> v = {p1, p2, p3, p4, p5};
    put(v.data(), type <= kRamp ? 4 : 5);
    return;
  }

  Points pts;
  switch (type) {
    case kTable:
      for (int32_t k = 0; k + 1 < tableCount; k += 2) {
        pts.push_back({(rec.real(kWordData + k) + xOffset) * xScale,
                       (rec.real(kWordData + k + 1) + yOffset) * yScale});
      }
      break;
    case kStep:
    case kRamp: {
      const float a = p1, b = p2, c = p3, d = p4;
      if (c == 0.0f) {
        if (type == kStep) pts = {{0.0f, b}, {a, b}};
        else pts = {{0.0f, 0.0f}, {a, b}};
      } else {
        if (type == kStep && a < c) {
          status = kBadCurve;
          return;
        }
        if (type == kStep) pts = {{0.0f, 0.0f}, {c, 0.0f}, {c, b}, {a + c, b}};
        else pts = {{0.0f, 0.0f}, {c, 0.0f}, {a + c, b}};
      }
      if (d != 0.0f) {
        if (d <= pts.back()[0]) {
          status = kBadCurve;
          return;
        }
        pts.push_back({d, b});
      }
      lower = 0.0f;
      upper = type == kStep ? pts.back()[0] : std::max(a + c, d);
      break;
    }
    case kSine: {
      const float period = p1, amplitude = p2, phase = p3, offset = p4;
      if (period == 0.0f) {
        status = kBadCurve;
        return;
      }
      const float duration = p5 <= 0.0f ? period : p5;
      for (int32_t i = 0; i <= m; ++i) {
        const float x = static_cast<float>(i) * duration / static_cast<float>(m);
        pts.push_back({x, amplitude * std::sin(2 * kPi * x / period + 2 * kPi * phase / period) + offset});
      }
      lower = 0.0f;
      upper = duration;
      break;
    }
    case kExponential: {
      if (p3 < 0.0f || p4 == 0.0f || p5 <= p3) {
        status = kBadCurve;
        return;
      }
      const float step = (p5 - p3) / static_cast<float>(m);
      if (p3 > 0.0f) pts = {{0.0f, p1}, {p3, p1}};
      for (int32_t i = 0; i <= m; ++i) {
        const float x = p3 + static_cast<float>(i) * step;
        pts.push_back({x, p2 * std::exp((x - p3) / (-p4)) + p1});
      }
      lower = 0.0f;
      upper = p5;
      break;
    }
    default:
      lower = upper = 0.0f;
      break;
  }
  if (fillet > 0.0f && (type == kTable || type == kRamp)) {
    const int32_t st = roundCorners(pts, area, fillet);
    if (st != 0) {
      status = st == kNoRoom ? kNoRoom : kBadCurve;
      return;
    }
  }
  const float tol = tolerance(pts);
  if (type == kTable) clipToRange(pts, lower, upper, tol);
  if (repeat > 1 && !pts.empty()) {
    const Points once = pts;
    const bool closed = std::fabs(once.front()[0] - once.back()[0]) <= tol;
    for (int32_t k = 1; k < repeat; ++k) {
      const float shift = static_cast<float>(k) * (upper - lower);
      for (size_t i = closed ? 1 : 0; i < once.size(); ++i) {
        pts.push_back({once[i][0] + shift, once[i][1]});
      }
    }
  }
  const int64_t words = 2 * static_cast<int64_t>(pts.size());
  if (words > area) {
    status = kBadCurve;
    return;
  }
  std::vector<float> out(static_cast<size_t>(words));
  const float x0 = type == kTable ? lower : 0.0f;
  for (size_t i = 0; i < pts.size(); ++i) {
    out[2 * i] = pts[i][0] - x0;
    out[2 * i + 1] = pts[i][1];
  }
  // The points also stand in W beside the record, as REAL bits.
  for (size_t i = 0; i < out.size(); ++i) {
    work[static_cast<size_t>(count) + i] = std::bit_cast<int32_t>(out[i]);
  }
  put(out.data(), static_cast<int32_t>(words));
}

}  // namespace kvr
