#include "geometry/matrix4.h"

#include <algorithm>
#include <cmath>

#include "geometry/vector3.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

// Position of element (i, j), both 1..4.
constexpr std::size_t at(int i, int j) { return Matrix4x4<float, AnyMatrix>::at(i, j); }

template <typename T>
void identity(std::span<T, kMatrix4Values> m) {
  std::fill(m.begin(), m.end(), T{0});
  for (int k = 1; k <= 4; ++k) m[at(k, k)] = T{1};
}

template <typename T>
void transformPoint(const std::array<T, kMatrix4Values>& m, std::span<const T, 3> p,
                    std::span<T, 3> q) {
  const T x = p[0], y = p[1], z = p[2];
  T h[4];
  for (int i = 1; i <= 4; ++i) {
    h[i - 1] = m[at(i, 1)] * x + m[at(i, 2)] * y + m[at(i, 3)] * z + m[at(i, 4)];
  }
  q[0] = h[0] / h[3];
  q[1] = h[1] / h[3];
  q[2] = h[2] / h[3];
}

template <typename T>
void invertRigid(const std::array<T, kMatrix4Values>& m, std::array<T, kMatrix4Values>& r) {
  const T w = m[at(4, 4)];
  // Before start-up the smallest real is 0; a zero or non-finite scale would divide by
  // zero or spread NaN through the whole inverse, so it is refused as well.
  const T tiny = static_cast<T>(MACHCN.real(kMachTolerance));
  if (!std::isfinite(w) || w == T{0} || std::fabs(w) < tiny) return;
  std::array<T, kMatrix4Values> out{};
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) out[at(i, j)] = m[at(j, i)];
    out[at(i, 4)] =
        -(m[at(1, i)] * m[at(1, 4)] + m[at(2, i)] * m[at(2, 4)] + m[at(3, i)] * m[at(3, 4)]) / w;
    out[at(4, i)] = m[at(4, i)];
  }
  out[at(4, 4)] = T{1} / w;
  r = out;
}

}  // namespace

void IDNT4D(std::span<double, kMatrix4Values> m) { identity(m); }
void IDNT4R(std::span<float, kMatrix4Values> m) { identity(m); }

void TRFPNT(const Frame4D& m, std::span<const double, 3> p, std::span<double, 3> q) {
  transformPoint(m.values, p, q);
}
void TRFPNT(const InvFrame4D& m, std::span<const double, 3> p, std::span<double, 3> q) {
  transformPoint(m.values, p, q);
}

void TRFINV(const Frame4D& m, InvFrame4D& r) { invertRigid(m.values, r.values); }
void TRFINV(const InvFrame4D& m, Frame4D& r) { invertRigid(m.values, r.values); }
void TRFIVR(const Frame4R& m, InvFrame4R& r) { invertRigid(m.values, r.values); }
void TRFIVR(const InvFrame4R& m, Frame4R& r) { invertRigid(m.values, r.values); }

void MATM4R(std::array<float, kMatrix4Values>& a, std::array<float, kMatrix4Values>& b,
            int32_t k) {
  std::array<float, kMatrix4Values> w{};
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 4; ++j) {
      float sum = 0.0f;
      for (int m = 1; m <= 4; ++m) sum += a[at(i, m)] * b[at(m, j)];
      w[at(i, j)] = sum;
    }
  }
  if (k == 2) {
    b = w;
  } else {
    a = w;
  }
}

void TRNS4R(Matrix4R& m) {
  for (int i = 1; i <= 4; ++i) {
    for (int j = i + 1; j <= 4; ++j) std::swap(m(i, j), m(j, i));
  }
}

void FRM3PT(std::span<const double, 3> p0, std::span<const double, 3> p1,
            std::span<const double, 3> p2, InvFrame4D& m) {
  std::array<double, 3> x{p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
  std::array<double, 3> d{p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
  std::array<double, 3> z{}, y{};
  int32_t stat = 0;
  DVUNIT(x, x, stat);
  DVCRS(x, d, z);
  DVUNIT(z, z, stat);
  DVCRS(z, x, y);
  DVUNIT(y, y, stat);
  InvFrame4D out{};
  for (int j = 1; j <= 3; ++j) {
    const std::size_t k = static_cast<std::size_t>(j - 1);
    out(1, j) = x[k];
    out(2, j) = y[k];
    out(3, j) = z[k];
  }
  out(4, 4) = 1.0;
  m = out;
}

void FRM2AX(std::span<const float, 3> p0, int32_t b, std::span<const float, 3> pb, int32_t c,
            std::span<const float, 3> pc, int32_t ld, std::span<float> r, int32_t& stat) {
  stat = 1;
  // Three columns of LD values must fit, and must not overlap.
  if (ld < 3 || r.size() < static_cast<std::size_t>(2 * ld + 3)) return;
  auto column = [&](int32_t j, const std::array<double, 3>& v) {
    for (int32_t i = 1; i <= 3; ++i) {
      r[static_cast<std::size_t>((j - 1) * ld + i - 1)] =
          static_cast<float>(v[static_cast<std::size_t>(i - 1)]);
    }
  };
  auto fail = [&] {
    column(1, {1.0, 0.0, 0.0});
    column(2, {0.0, 1.0, 0.0});
    column(3, {0.0, 0.0, 1.0});
    stat = 1;
  };
  // Axis numbers outside 1 to 3 would place a column outside R.
  if (b == c || b < 1 || b > 3 || c < 1 || c > 3) {
    fail();
    return;
  }
  const int32_t t = 6 - b - c;
  const bool cyclic = b - t == -1 || b - t == 2;
  std::array<double, 3> ub{double{pb[0]} - p0[0], double{pb[1]} - p0[1], double{pb[2]} - p0[2]};
  std::array<double, 3> uc{double{pc[0]} - p0[0], double{pc[1]} - p0[1], double{pc[2]} - p0[2]};
  std::array<double, 3> n{}, e{};
  int32_t s1 = 0, s2 = 0, s3 = 0, s4 = 0;
  DVUNIT(ub, ub, s1);
  DVUNIT(uc, uc, s2);
  if (cyclic) {
    DVCRS(ub, uc, n);
  } else {
    DVCRS(uc, ub, n);
  }
  DVUNIT(n, n, s3);
  if (cyclic) {
    DVCRS(n, ub, e);
  } else {
    DVCRS(ub, n, e);
  }
  DVUNIT(e, e, s4);
  if (s1 != 0 || s2 != 0 || s3 != 0 || s4 != 0) {
    fail();
    return;
  }
  column(b, ub);
  column(c, n);
  column(t, e);
  stat = 0;
}

}  // namespace kvr
