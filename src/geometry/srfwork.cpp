#include "geometry/srfwork.h"

#include <cmath>
#include <cstddef>

#include "geometry/vector3.h"

namespace kvr::srf {
namespace {

// 1 - |n_x| at most this: the normal lies near x, and the in-plane axes start from z.
constexpr float kNearX = 0.1f;

}  // namespace

float length(const V3& a) { return std::sqrt(dot(a, a)); }

bool unit(const V3& v, V3& u) {
  const std::array<double, 3> d = {v[0], v[1], v[2]};
  std::array<double, 3> e{};
  int32_t stat = 0;
  DVUNIT(d, e, stat);
  u = {static_cast<float>(e[0]), static_cast<float>(e[1]), static_cast<float>(e[2])};
  return stat == 0;
}

V3 row(const InvFrame4R& m, int32_t k) { return {m(k, 1), m(k, 2), m(k, 3)}; }

void setRow(InvFrame4R& m, int32_t k, const V3& v) {
  for (int32_t j = 1; j <= 3; ++j) m(k, j) = v[static_cast<std::size_t>(j - 1)];
}

void setIdentity(InvFrame4R& m) {
  m.values = {};
  for (int32_t i = 1; i <= 4; ++i) m(i, i) = 1.0f;
}

bool inPlaneAxes(const V3& n, V3& u, V3& v) {
  if (1.0f - std::fabs(n[0]) <= kNearX) {
    return unit({n[2], 0.0f, -n[0]}, u) && unit(cross(n, u), v);
  }
  return unit({0.0f, n[2], -n[1]}, v) && unit(cross(v, n), u);
}

void setResultFrame(IsxTyp& r, const V3& e1, const V3& e2, const V3& e3, const V3& origin) {
  r.frame = {};
  for (int32_t i = 1; i <= 3; ++i) {
    const auto c = static_cast<std::size_t>(i - 1);
    r.F(1, i) = e1[c];
    r.F(2, i) = e2[c];
    r.F(3, i) = e3[c];
    r.F(4, i) = origin[c];
  }
  r.F(4, 4) = 1.0f;
}

V3 resultRow(const IsxTyp& r, int32_t k) { return {r.F(k, 1), r.F(k, 2), r.F(k, 3)}; }

void quadricInResult(const Matrix4R& q, const InvFrame4R& own, IsxTyp& r) {
  // G maps the result frame's local coordinates to global ones: the axes as columns, the
  // origin in column 4. T = OWN G maps them into the quadric's own coordinates, and the
  // quadric there is T' Q T.
  std::array<float, kMatrix4Values> t{};
  Frame4R g;
  for (int32_t i = 1; i <= 3; ++i) {
    for (int32_t j = 1; j <= 3; ++j) g(i, j) = r.F(j, i);
    g(i, 4) = r.F(4, i);
  }
  g(4, 4) = 1.0f;
  t = g.values;
  std::array<float, kMatrix4Values> m = own.values;
  MATM4R(m, t, 2);  // t := OWN G
  std::array<float, kMatrix4Values> qt = t;
  std::array<float, kMatrix4Values> qa = q.values;
  MATM4R(qa, qt, 2);  // qt := Q T
  Matrix4R tt;
  tt.values = t;
  TRNS4R(tt);
  MATM4R(tt.values, qt, 2);  // qt := T' Q T
  Matrix4R l;
  l.values = qt;
  r.P(1) = l(1, 1);
  r.P(2) = l(2, 2);
  r.P(3) = l(3, 3);
  r.P(4) = l(1, 2) + l(2, 1);
  r.P(5) = l(1, 3) + l(3, 1);
  r.P(6) = l(2, 3) + l(3, 2);
  r.P(7) = l(1, 4) + l(4, 1);
  r.P(8) = l(2, 4) + l(4, 2);
  r.P(9) = l(3, 4) + l(4, 3);
  r.P(10) = l(4, 4);
}

}  // namespace kvr::srf
