// Rigid placements for the geometry tests: a rotation about a unit axis followed by a
// translation, applied to points and directions in double precision. The fixed table holds
// the identity, a pure translation, rotations about the three axes and about a skew axis
// with a translation; random placements come from a seeded generator, so every run sees the
// same ones.
#pragma once

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace kvr::test {

using D3 = std::array<double, 3>;

inline D3 add(const D3& a, const D3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
inline D3 sub(const D3& a, const D3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
inline D3 scaled(const D3& a, double s) { return {a[0] * s, a[1] * s, a[2] * s}; }
inline double dot3(const D3& a, const D3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline D3 cross3(const D3& a, const D3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
inline double norm3(const D3& a) { return std::sqrt(dot3(a, a)); }
inline D3 unit3(const D3& a) { return scaled(a, 1.0 / norm3(a)); }

struct Placement {
  std::string name;
  std::array<D3, 3> rows{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};  // rotation, by rows
  D3 shift{0, 0, 0};

  D3 direction(const D3& v) const { return {dot3(rows[0], v), dot3(rows[1], v), dot3(rows[2], v)}; }
  D3 point(const D3& p) const { return add(direction(p), shift); }
  std::array<float, 3> pointF(const D3& p) const {
    const D3 q = point(p);
    return {static_cast<float>(q[0]), static_cast<float>(q[1]), static_cast<float>(q[2])};
  }
};

// The rotation by ANGLE radians about AXIS, then the shift.
inline Placement placed(const std::string& name, D3 axis, double angle, D3 shift) {
  axis = unit3(axis);
  const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
  const double x = axis[0], y = axis[1], z = axis[2];
  Placement p;
  p.name = name;
  p.rows = {{{t * x * x + c, t * x * y - s * z, t * x * z + s * y},
             {t * x * y + s * z, t * y * y + c, t * y * z - s * x},
             {t * x * z - s * y, t * y * z + s * x, t * z * z + c}}};
  p.shift = shift;
  return p;
}

inline std::vector<Placement> placementTable() {
  return {
      placed("identity", {0, 0, 1}, 0.0, {0, 0, 0}),
      placed("shifted", {0, 0, 1}, 0.0, {3.5, -2.25, 1.75}),
      placed("about z", {0, 0, 1}, 0.7, {0, 0, 0}),
      placed("about x", {1, 0, 0}, 2.1, {-1, 0.5, 2}),
      placed("about y", {0, 1, 0}, -1.3, {0.25, 4, -3}),
      placed("skew", {1, 2, 3}, 0.9, {2, -1, 0.5}),
      placed("skew turned over", {-3, 1, 2}, 2.8, {-4, 3, 1}),
  };
}

// Random rigid placements: a uniform axis, any angle, shifts within +-SPREAD.
class RandomPlacements {
 public:
  explicit RandomPlacements(unsigned seed, double spread = 5.0) : engine_(seed), spread_(spread) {}
  Placement next() {
    std::normal_distribution<double> normal;
    std::uniform_real_distribution<double> angle(-M_PI, M_PI);
    std::uniform_real_distribution<double> shift(-spread_, spread_);
    D3 axis{normal(engine_), normal(engine_), normal(engine_)};
    if (norm3(axis) < 1.0e-9) axis = {0, 0, 1};
    const double a = angle(engine_);
    const D3 t{shift(engine_), shift(engine_), shift(engine_)};
    return placed("random", axis, a, t);
  }
  double uniform(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(engine_);
  }

 private:
  std::mt19937 engine_;
  double spread_;
};

}  // namespace kvr::test
