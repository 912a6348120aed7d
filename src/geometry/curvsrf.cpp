// The curve and surface evaluators: the span search and the basis functions of the
// B-splines, the Bernstein form, and the points of the six curve and surface forms.
#include "geometry/curvsrf.h"

#include <algorithm>
#include <array>
#include <vector>

#include "geometry/georec.h"
#include "modeldb/entrec.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;

// The work storage of the evaluators: the basis values along u and v and the two
// differences of the basis recursion, grown to the largest degree met and then reused.
struct Work {
  std::vector<float> nu;
  std::vector<float> nv;
  std::vector<float> left;
  std::vector<float> right;
};
Work gWork;

std::span<float> sized(std::vector<float>& v, int32_t n) {
  if (v.size() < static_cast<size_t>(n)) v.resize(static_cast<size_t>(n));
  return std::span<float>(v).first(static_cast<size_t>(n));
}

float tiny() { return MACHCN.real(kMachTolerance); }

float knotAt(std::span<const float> knots, int32_t k) { return knots[static_cast<size_t>(k - 1)]; }

// Control point RECORD of array 26.
std::array<float, 3> controlPoint(int64_t record) {
  std::array<float, 3> p{};
  ARRREC(kRead, kArrGeoControlPoints, static_cast<int32_t>(record), p);
  return p;
}

float weight(int64_t record) {
  std::array<float, 1> w{};
  ARRREC(kRead, kArrGeoValues, static_cast<int32_t>(record), w);
  return w[0];
}

// True when a B-spline of degree P on N + 1 points can be evaluated on KNOTS: 0 <= P <= N
// and the knot vector holds its n + p + 2 knots.
bool splineUsable(int32_t p, int32_t n, std::span<const float> knots) {
  return p >= 0 && p <= n && int64_t{n} + p + 2 <= static_cast<int64_t>(knots.size());
}

// True when arrays 26 (and 16 when W0 is given) hold COUNT records from c0 (and w0).
bool netHeld(int32_t c0, int64_t count, const int32_t* w0) {
  if (!geoRecordsHeld(kArrGeoControlPoints, c0, c0 + count - 1)) return false;
  return w0 == nullptr || geoRecordsHeld(kArrGeoValues, *w0, *w0 + count - 1);
}

void clear(float& x, float& y, float& z, int32_t& status) {
  x = y = z = 0.0f;
  status = 1;
}

// A B-spline curve, rational when W0 is given.
void curve(float u, int32_t p, int32_t n, int32_t c0, const int32_t* w0,
           std::span<const float> knots, float& x, float& y, float& z, int32_t& status) {
  clear(x, y, z, status);
  // A degree from stored data outside 0..n, or a net the store does not hold, would read
  // knots and records that are not there.
  if (!splineUsable(p, n, knots) || !netHeld(c0, int64_t{n} + 1, w0)) return;
  float t = u;
  const int32_t s = KNTSPN(n + 1, p + 1, t, knots);
  const std::span<float> basis = sized(gWork.nu, p + 1);
  BSPBAS(s, t, p, knots, basis);
  std::array<float, 3> sum{};
  float total = 0.0f;
  for (int32_t i = s - p - 1; i <= s - 1; ++i) {
    const float b = basis[static_cast<size_t>(i - s + p + 1)];
    if (!(b > tiny())) continue;
    const float h = w0 != nullptr ? b * weight(int64_t{*w0} + i) : b;
    const std::array<float, 3> pt = controlPoint(int64_t{c0} + i);
    for (size_t k = 0; k < 3; ++k) sum[k] += h * pt[k];
    total += h;
  }
  if (w0 == nullptr) {
    x = sum[0];
    y = sum[1];
    z = sum[2];
    status = 0;
    return;
  }
  if (!(total > tiny())) return;
  x = sum[0] / total;
  y = sum[1] / total;
  z = sum[2] / total;
  status = 0;
}

// A B-spline surface, rational when W0 is given.
void surface(float u, float v, int32_t p, int32_t n, int32_t q, int32_t m, int32_t c0,
             const int32_t* w0, std::span<const float> uknots, std::span<const float> vknots,
             float& x, float& y, float& z, int32_t& status) {
  clear(x, y, z, status);
  if (!splineUsable(p, n, uknots) || !splineUsable(q, m, vknots) ||
      !netHeld(c0, (int64_t{n} + 1) * (int64_t{m} + 1), w0)) {
    return;
  }
  float tu = u;
  float tv = v;
  const int32_t su = KNTSPN(n + 1, p + 1, tu, uknots);
  const int32_t sv = KNTSPN(m + 1, q + 1, tv, vknots);
  const std::span<float> nu = sized(gWork.nu, p + 1);
  const std::span<float> nv = sized(gWork.nv, q + 1);
  BSPBAS(su, tu, p, uknots, nu);
  BSPBAS(sv, tv, q, vknots, nv);
  std::array<float, 3> sum{};
  float total = 0.0f;
  for (int32_t i = sv - q - 1; i <= sv - 1; ++i) {
    const float bv = nv[static_cast<size_t>(i - sv + q + 1)];
    if (!(bv > tiny())) continue;
    for (int32_t j = su - p - 1; j <= su - 1; ++j) {
      const float bu = nu[static_cast<size_t>(j - su + p + 1)];
      if (!(bu > tiny())) continue;
      const int64_t r = int64_t{i} * (n + 1) + j;
      const float h = w0 != nullptr ? bu * weight(*w0 + r) * bv : bu * bv;
      const std::array<float, 3> pt = controlPoint(c0 + r);
      for (size_t k = 0; k < 3; ++k) sum[k] += h * pt[k];
      total += h;
    }
  }
  if (!(total > tiny())) return;
  x = sum[0] / total;
  y = sum[1] / total;
  z = sum[2] / total;
  status = 0;
}

}  // namespace

int32_t KNTSPN(int32_t last, int32_t first, float& u, std::span<const float> knots) {
  if (first < 1 || last < first || int64_t{last} + 1 > static_cast<int64_t>(knots.size())) {
    return first;
  }
  if (u <= knotAt(knots, first)) {
    u = knotAt(knots, first);
    return first;
  }
  if (u >= knotAt(knots, last + 1)) {
    u = knotAt(knots, last + 1);
    return last;
  }
  int32_t low = first;
  int32_t high = last + 1;
  int32_t mid = (low + high) / 2;
  // A knot vector that is not non-decreasing could keep the bisection going for ever.
  for (size_t step = 0; step < knots.size(); ++step) {
    if (u < knotAt(knots, mid)) {
      high = mid;
    } else if (u < knotAt(knots, mid + 1)) {
      return mid;
    } else {
      low = mid;
    }
    mid = (low + high) / 2;
  }
  return std::clamp(mid, first, last);
}

void BSPBAS(int32_t span, float u, int32_t p, std::span<const float> knots,
            std::span<float> basis) {
  if (basis.empty()) return;
  const int32_t degree = std::max(p, 0);
  if (static_cast<int64_t>(basis.size()) < int64_t{degree} + 1 || int64_t{span} - degree + 1 < 1 ||
      int64_t{span} + degree > static_cast<int64_t>(knots.size())) {
    std::fill(basis.begin(), basis.end(), 0.0f);
    return;
  }
  basis[0] = 1.0f;
  if (degree == 0) return;
  const std::span<float> left = sized(gWork.left, degree + 1);
  const std::span<float> right = sized(gWork.right, degree + 1);
  for (int32_t j = 1; j <= degree; ++j) {
    left[static_cast<size_t>(j)] = u - knotAt(knots, span + 1 - j);
    right[static_cast<size_t>(j)] = knotAt(knots, span + j) - u;
    float saved = 0.0f;
    for (int32_t r = 0; r <= j - 1; ++r) {
      const float d = right[static_cast<size_t>(r + 1)] + left[static_cast<size_t>(j - r)];
      const float temp = d >= tiny() ? basis[static_cast<size_t>(r)] / d : 0.0f;
      basis[static_cast<size_t>(r)] = saved + right[static_cast<size_t>(r + 1)] * temp;
      saved = left[static_cast<size_t>(j - r)] * temp;
    }
    basis[static_cast<size_t>(j)] = saved;
  }
}

void BERNST(int32_t n, std::span<const float> c, float t, float& value) {
  value = 0.0f;
  if (n < 0 || static_cast<int64_t>(c.size()) < int64_t{n} + 1) return;
  // Every degree takes the true Bernstein form: the first degree (0) holds one
  // coefficient only, and the linear form would be a wrong point for any degree above 1.
  const float s = 1.0f - t;
  float binomial = 1.0f;
  for (int32_t k = 0; k <= n; ++k) {
    float term = binomial * c[static_cast<size_t>(k)];
    for (int32_t e = 0; e < k; ++e) term *= t;
    for (int32_t e = 0; e < n - k; ++e) term *= s;
    value += term;
    binomial = binomial * static_cast<float>(n - k) / static_cast<float>(k + 1);
  }
}

void BSPCRV(float u, int32_t p, int32_t n, int32_t c0, std::span<const float> knots, float& x,
            float& y, float& z, int32_t& status) {
  curve(u, p, n, c0, nullptr, knots, x, y, z, status);
}

void NRBCRV(float u, int32_t p, int32_t n, int32_t c0, int32_t w0, std::span<const float> knots,
            float& x, float& y, float& z, int32_t& status) {
  curve(u, p, n, c0, &w0, knots, x, y, z, status);
}

void BEZCRV(float t, int32_t n, int32_t c0, float& x, float& y, float& z, int32_t& status) {
  clear(x, y, z, status);
  // The work storage holds eight points: a higher degree would overrun it.
  if (n < 0 || n > kMaxBezierDegree || !netHeld(c0, int64_t{n} + 1, nullptr)) return;
  std::array<std::array<float, kMaxBezierDegree + 1>, 3> coef{};
  for (int32_t i = 0; i <= n; ++i) {
    const std::array<float, 3> pt = controlPoint(int64_t{c0} + i);
    for (size_t k = 0; k < 3; ++k) coef[k][static_cast<size_t>(i)] = pt[k];
  }
  BERNST(n, coef[0], t, x);
  BERNST(n, coef[1], t, y);
  BERNST(n, coef[2], t, z);
  status = 0;
}

void BSPSRF(float u, float v, int32_t p, int32_t n, int32_t q, int32_t m, int32_t c0,
            std::span<const float> uknots, std::span<const float> vknots, float& x, float& y,
            float& z, int32_t& status) {
  surface(u, v, p, n, q, m, c0, nullptr, uknots, vknots, x, y, z, status);
}

void NRBSRF(float u, float v, int32_t p, int32_t n, int32_t q, int32_t m, int32_t c0,
            int32_t w0, std::span<const float> uknots, std::span<const float> vknots, float& x,
            float& y, float& z, int32_t& status) {
  surface(u, v, p, n, q, m, c0, &w0, uknots, vknots, x, y, z, status);
}

void BEZSRF(float u, float v, int32_t n, int32_t m, int32_t c0, float& x, float& y, float& z,
            int32_t& status) {
  clear(x, y, z, status);
  if (n < 0 || n > kMaxBezierDegree || m < 0 || m > kMaxBezierDegree ||
      !netHeld(c0, (int64_t{n} + 1) * (int64_t{m} + 1), nullptr)) {
    return;
  }
  std::array<std::array<float, kMaxBezierDegree + 1>, 3> rows{};
  for (int32_t i = 0; i <= m; ++i) {
    std::array<std::array<float, kMaxBezierDegree + 1>, 3> row{};
    for (int32_t j = 0; j <= n; ++j) {
      const std::array<float, 3> pt = controlPoint(int64_t{c0} + int64_t{i} * (n + 1) + j);
      for (size_t k = 0; k < 3; ++k) row[k][static_cast<size_t>(j)] = pt[k];
    }
    for (size_t k = 0; k < 3; ++k) BERNST(n, row[k], u, rows[k][static_cast<size_t>(i)]);
  }
  BERNST(m, rows[0], v, x);
  BERNST(m, rows[1], v, y);
  BERNST(m, rows[2], v, z);
  status = 0;
}

}  // namespace kvr
