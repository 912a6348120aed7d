// Element node orders and orientation over constant permutation tables.
#include "modeldb/elnord.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <initializer_list>

#include "modeldb/elttab.h"
#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "runtime/modcnt.h"

namespace kvr {

namespace {

// A permutation P of a shape: out(i) = in(P(i)).
struct Perm {
  int32_t shape;
  std::initializer_list<int32_t> p;
};

// Corner-first to edge-walk order.
const Perm kEdgeWalk[] = {
    {28, {1, 5, 6, 2, 7, 8, 3, 9, 10, 11, 13, 15, 12, 14, 16, 4}},
    {29, {1, 7, 8, 2, 9, 10, 3, 11, 12, 19, 21, 23, 20, 22, 24, 4, 13, 14, 5, 15, 16, 6, 17, 18}},
    {30, {1, 9, 10, 2, 11, 12, 3, 13, 14, 4, 15, 16, 25, 27, 29, 31,
          26, 28, 30, 32, 5, 17, 18, 6, 19, 20, 7, 21, 22, 8, 23, 24}},
};

// Edge-walk to corner-first order.
const Perm kCornerFirstSolid[] = {
    {28, {1, 4, 7, 16, 2, 3, 5, 6, 8, 9, 10, 13, 11, 14, 12, 15}},
    {29, {1, 4, 7, 16, 19, 22, 2, 3, 5, 6, 8, 9, 17, 18, 20, 21, 23, 24, 10, 13, 11, 14, 12, 15}},
    {30, {1, 4, 7, 10, 21, 24, 27, 30, 2, 3, 5, 6, 8, 9, 11, 12,
          22, 23, 25, 26, 28, 29, 31, 32, 13, 17, 14, 18, 15, 19, 16, 20}},
};

// The second side reversed: the same in both directions.
const Perm kSecondSide[] = {
    {42, {1, 2, 4, 3}},
    {43, {1, 2, 3, 5, 4}},
    {44, {1, 2, 3, 6, 5, 4}},
    {45, {1, 2, 3, 4, 8, 7, 6, 5}},
    {60, {1, 2, 3, 4, 8, 7, 6, 5}},
    {46, {1, 2, 3, 4, 5, 10, 9, 8, 7, 6}},
    {61, {1, 2, 3, 4, 5, 10, 9, 8, 7, 6}},
};

const Perm kCornersFirst[] = {
    {49, {1, 3, 5, 7, 9, 10, 11, 12, 2, 4, 6, 8}},
    {50, {1, 3, 5, 7, 9, 11, 2, 4, 6, 8, 10, 12}},
    {51, {1, 3, 5, 7, 9, 11, 13, 15, 2, 4, 6, 8, 10, 12, 14, 16}},
};

// The reversed lists of an inverted element.
const Perm kReversed[] = {
    {3, {1, 3, 2}},
    {5, {1, 4, 3, 2}},
    {7, {1, 6, 5, 4, 3, 2}},
    {9, {1, 8, 7, 6, 5, 4, 3, 2}},
    {10, {1, 8, 7, 6, 5, 4, 3, 2, 9}},
    {23, {1, 9, 8, 7, 6, 5, 4, 3, 2}},
    {24, {1, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}},
    {25, {1, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}},
    {26, {1, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}},
    {27, {1, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 13, 15, 14}},
    {11, {4, 5, 6, 1, 2, 3}},
    {47, {4, 5, 6, 1, 2, 3}},
    {12, {1, 3, 2, 4}},
    {13, {5, 6, 7, 8, 1, 2, 3, 4}},
    {48, {5, 6, 7, 8, 1, 2, 3, 4}},
    {14, {4, 5, 6, 1, 2, 3, 10, 11, 12, 7, 8, 9, 13, 14, 15}},
    {15, {5, 6, 7, 8, 1, 2, 3, 4, 13, 14, 15, 16, 9, 10, 11, 12}},
    {16, {1, 3, 2, 4, 7, 6, 5, 8, 10, 9}},
    {17, {5, 6, 7, 8, 1, 2, 3, 4, 13, 14, 15, 16, 9, 10, 11, 12, 17, 18, 19, 20}},
    {18, {5, 6, 7, 8, 1, 2, 3, 4, 13, 14, 15, 16, 9, 10, 11, 12, 17, 18, 19, 20,
          22, 21, 23, 24, 25, 26, 27}},
    {28, {1, 3, 2, 4, 10, 9, 8, 7, 6, 5, 11, 12, 15, 16, 13, 14}},
    {29, {4, 5, 6, 1, 2, 3, 13, 14, 15, 16, 17, 18, 7, 8, 9, 10, 11, 12,
          20, 19, 22, 21, 24, 23}},
    {30, {5, 6, 7, 8, 1, 2, 3, 4, 17, 18, 19, 20, 21, 22, 23, 24, 9, 10, 11, 12,
          13, 14, 15, 16, 26, 25, 28, 27, 30, 29, 32, 31}},
    {49, {1, 8, 7, 6, 5, 4, 3, 2, 9, 12, 11, 10}},
    {50, {7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6}},
    {51, {9, 10, 11, 12, 13, 14, 15, 16, 1, 2, 3, 4, 5, 6, 7, 8}},
};

template <std::size_t K>
const Perm* find(const Perm (&table)[K], int32_t shape) {
  for (const Perm& p : table)
    if (p.shape == shape) return &p;
  return nullptr;
}

// The shapes ELNPRM and CRNFST take: 1-30, 41-51, 60, 61.
bool ordered(int32_t shape) {
  return (shape >= 1 && shape <= 30) || (shape >= 41 && shape <= 51) || shape == 60 ||
         shape == 61;
}

// OUT = IN through P (or a copy without P) over the shape's node count; STAT 1 when the
// count is 0 or larger than either list.
void permute(std::span<const int32_t> in, int32_t shape, const Perm* p, std::span<int32_t> out,
             int32_t& stat) {
  const int32_t n = SHPNOD(shape);
  stat = 1;
  if (n < 1 || static_cast<std::size_t>(n) > in.size() || static_cast<std::size_t>(n) > out.size())
    return;
  std::array<int32_t, kOrderNodes> work{};
  for (int32_t i = 0; i < n; ++i) {
    const int32_t from = p != nullptr ? *(p->p.begin() + i) : i + 1;
    work[static_cast<std::size_t>(i)] = in[static_cast<std::size_t>(from - 1)];
  }
  std::copy_n(work.begin(), n, out.begin());
  stat = 0;
}

constexpr float kDegrees = 57.29578F;

struct Vec {
  float x = 0, y = 0, z = 0;
};

Vec minus(const Vec& a, const Vec& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// The orientation class of a shape: corner positions for the plane test, or base and top
// corners with the reference angles for the solid test.
struct Corners {
  int32_t count = 0;                  // 3 for the plane test; base corners for solids
  std::array<int32_t, 4> base{};      // positions in the (corner-first) list
  std::array<int32_t, 4> top{};       // above each base corner; the apex for a tetrahedron
  bool solid = false;
  bool tetra = false;
  std::array<float, 3> ref{};
};

bool cornersOf(int32_t shape, Corners& c) {
  auto plane = [&](int32_t a, int32_t b, int32_t d) {
    c.count = 3;
    c.base = {a, b, d, 0};
    return true;
  };
  switch (shape) {
    case 3: case 5: return plane(1, 2, 3);
    case 7: case 9: case 10: return plane(1, 3, 5);
    case 23: case 24: return plane(1, 4, 7);
    case 25: case 26: case 27: return plane(1, 5, 9);
    case 12: case 16: case 28:
      c = {3, {1, 2, 3, 0}, {4, 4, 4, 0}, true, true, {60, 60, 60}};
      return true;
    case 11: case 14: case 29: case 47: case 50:
      c = {3, {1, 2, 3, 0}, {4, 5, 6, 0}, true, false, {60, 90, 90}};
      return true;
    case 13: case 15: case 17: case 18: case 30: case 48: case 49: case 51:
      c = {4, {1, 2, 3, 4}, {5, 6, 7, 8}, true, false, {90, 90, 90}};
      return true;
    default: return false;
  }
}

bool copiedClass(int32_t shape) {
  return shape < 1 || shape == 1 || shape == 2 || shape == 21 || shape == 22 ||
         (shape >= 41 && shape <= 46) || shape == 60 || shape == 61;
}

Vec coordinates(int32_t node) {
  std::array<float, 3> r{};
  ARRREC(1, kArrNodeCoordinates, node, r);
  return {r[0], r[1], r[2]};
}

float angleSum(const Vec& u, const Vec& v, const Vec& w, int32_t& stat) {
  const float a[3] = {u.x, u.y, u.z}, b[3] = {v.x, v.y, v.z}, d[3] = {w.x, w.y, w.z};
  float deg = 0;
  ANGSUM(a, b, d, deg, stat);
  return deg;
}

void copyOver(std::span<const int32_t> in, int32_t n, std::span<int32_t> out) {
  const auto k = std::min({static_cast<std::size_t>(std::max(n, 0)), in.size(), out.size()});
  std::copy_n(in.begin(), k, out.begin());
}

}  // namespace

void ELRORD(std::span<const int32_t> in, int32_t shape, std::span<int32_t> out, int32_t& stat) {
  stat = 1;
  if (shape < 1 || shape > 61) return;
  const Perm* p = find(kEdgeWalk, shape);
  permute(in, shape, p != nullptr ? p : find(kSecondSide, shape), out, stat);
}

void ELNPRM(std::span<const int32_t> in, int32_t shape, std::span<int32_t> out, int32_t& stat) {
  stat = 1;
  if (!ordered(shape)) return;
  const Perm* p = find(kCornerFirstSolid, shape);
  permute(in, shape, p != nullptr ? p : find(kSecondSide, shape), out, stat);
}

void CRNFST(std::span<const int32_t> in, int32_t shape, std::span<int32_t> out, int32_t& stat) {
  stat = 1;
  if (!ordered(shape)) return;
  permute(in, shape, find(kCornersFirst, shape), out, stat);
}

void ANGSUM(const float u[3], const float v[3], const float w[3], float& deg, int32_t& stat) {
  auto dot = [](const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
  const float lw = std::sqrt(dot(w, w));
  const float uw = std::sqrt(dot(u, u)) * lw;
  const float vw = std::sqrt(dot(v, v)) * lw;
  const float tiny = TINYRL();
  // A zero length never divides, whatever the machine constants hold.
  if (uw < tiny || vw < tiny || uw <= 0 || vw <= 0) {
    deg = 0;
    stat = 1;
    return;
  }
  const float cu = std::clamp(dot(u, w) / uw, -1.0F, 1.0F);
  const float cv = std::clamp(dot(v, w) / vw, -1.0F, 1.0F);
  deg = (std::acos(cu) + std::acos(cv)) * kDegrees;
  stat = 0;
}

void ELORNT(int32_t shape, std::span<const int32_t> in, int32_t n, int32_t mode,
            std::span<int32_t> out, int32_t& flip) {
  flip = 0;
  const int32_t count = n > kOrderNodes ? SHPNOD(shape) : n;
  if (copiedClass(shape)) {
    copyOver(in, count, out);
    return;
  }
  if (shape == 20) {
    if (!in.empty() && !out.empty()) out[0] = in[0];
    return;
  }
  Corners c;
  if (!cornersOf(shape, c)) {
    // Shapes 4, 6, 8 and 19 have no corner layout: copied. The rest leave OUT as it is.
    if (shape == 4 || shape == 6 || shape == 8 || shape == 19) copyOver(in, count, out);
    return;
  }
  // Every node of the list must be a node of the model before any coordinates are read.
  const int32_t nodes = SHPNOD(shape);
  const int32_t highest = MODCNT.word(kCntHighestNode);
  bool known = nodes >= 1 && static_cast<std::size_t>(nodes) <= in.size();
  for (int32_t i = 0; known && i < nodes; ++i) {
    const int32_t node = in[static_cast<std::size_t>(i)];
    known = node >= 1 && node <= highest;
  }
  if (!known) {
    copyOver(in, count, out);
    return;
  }
  bool inverted = false;
  if (!c.solid) {
    const Vec p1 = coordinates(in[static_cast<std::size_t>(c.base[0] - 1)]);
    const Vec p2 = coordinates(in[static_cast<std::size_t>(c.base[1] - 1)]);
    const Vec p3 = coordinates(in[static_cast<std::size_t>(c.base[2] - 1)]);
    const float z = (p2.x - p1.x) * (p3.y - p1.y) - (p3.x - p1.x) * (p2.y - p1.y);
    inverted = mode != 1 && z < 0;
  } else {
    std::array<int32_t, kOrderNodes> list{};
    int32_t stat = 0;
    CRNFST(in, shape, list, stat);
    auto at = [&](int32_t pos) { return coordinates(list[static_cast<std::size_t>(pos - 1)]); };
    const int32_t nb = c.count;
    float best = 388800.0F;
    Vec cNx, cPv, cUp;
    for (int32_t i = 1; i <= nb; ++i) {
      const int32_t next = i % nb + 1;
      const int32_t prev = (i + nb - 2) % nb + 1;
      const int32_t opp = nb == 4 ? (i + 1) % 4 + 1 : prev;
      const auto idx = [](int32_t k) { return static_cast<std::size_t>(k - 1); };
      const Vec k = at(c.base[idx(i)]);
      const Vec nx = minus(at(c.base[idx(next)]), k);
      const Vec pv = minus(at(c.base[idx(prev)]), k);
      const Vec up = minus(at(c.top[idx(i)]), k);
      const Vec op = minus(at(c.base[idx(opp)]), k);
      const Vec pu = minus(at(c.top[idx(prev)]), k);
      const Vec nu = c.tetra ? nx : minus(at(c.top[idx(next)]), k);
      int32_t s1 = 0, s2 = 0, s3 = 0;
      const float a1 = angleSum(nx, pv, op, s1);
      const float a2 = angleSum(pv, up, pu, s2);
      const float a3 = angleSum(up, nx, nu, s3);
      if (i == 1) {
        cNx = nx;
        cPv = pv;
        cUp = up;
      }
      if (s1 != 0 || s2 != 0 || s3 != 0) continue;
      const float d = (c.ref[0] - a1) * (c.ref[0] - a1) + (c.ref[1] - a2) * (c.ref[1] - a2) +
                      (c.ref[2] - a3) * (c.ref[2] - a3);
      if (d < best) {
        best = d;
        cNx = nx;
        cPv = pv;
        cUp = up;
      }
    }
    const Vec cr = {cNx.y * cPv.z - cNx.z * cPv.y, cNx.z * cPv.x - cNx.x * cPv.z,
                    cNx.x * cPv.y - cNx.y * cPv.x};
    inverted = cr.x * cUp.x + cr.y * cUp.y + cr.z * cUp.z < 0;
  }
  if (!inverted) {
    copyOver(in, count, out);
    return;
  }
  flip = 1;
  const Perm* r = find(kReversed, shape);
  int32_t stat = 0;
  permute(in, shape, r, out, stat);
}

}  // namespace kvr
