// Projection onto patch surfaces: PRJQAD, PRJTRI, PCHCRN, PCHPNT and the three stages of the
// parameter search (levels, bisector, three ties).
#include "geometry/prjpch.h"

#include <algorithm>
#include <cmath>

#include "geometry/chnlin.h"
#include "geometry/georec.h"
#include "geometry/vector3.h"
#include "modeldb/entrec.h"
#include "runtime/machcn.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

using FV = std::array<float, 3>;

constexpr int32_t kSurfaceLines = 2;  // words 2 .. 5: the boundary lines
constexpr int32_t kSurfaceType = 6;
constexpr int32_t kLastPatchType = 4;

constexpr int32_t kProbes = 16;
constexpr int32_t kLevels = 9;

// The 16 centroids of a triangle cut into 16 equal triangles, in twelfths (a, b): probe j
// of the upright pattern lies at (a, b) / 12, of the inverted one at (8 - a, 8 - b) / 12.
constexpr std::array<std::array<int32_t, 2>, kProbes> kTriangleProbes = {{
    {1, 1}, {1, 4}, {1, 7}, {1, 10}, {2, 2}, {2, 5}, {2, 8}, {4, 1}, {4, 4}, {4, 7},  // 1
    {5, 2}, {5, 5}, {7, 1}, {7, 4}, {8, 2}, {10, 1},                                  // 11
}};
// Whether probe j lies in a small triangle turned the other way from its level's.
constexpr std::array<bool, kProbes> kTurnedProbe = {
    false, false, false, false, true, true, true, false, false, false,  // 1
    true,  true,  false, false, true, false,                            // 11
};
constexpr float kInvertedSum = 8.0f;
constexpr float kTwelfth = 12.0f;
constexpr float kTriangleScale = 0.25f;  // each level's triangle a quarter of the last's

// The 4 x 4 grid: probe j (from 0) at (c_u + a(j div 4) h, c_v + a(j mod 4) h), h = 0.5^e
// with e = 3 on the first level and two more on each next.
constexpr std::array<float, 4> kGridSteps = {-3.0f, -1.0f, 1.0f, 3.0f};
constexpr float kFirstGridStep = 0.125f;
constexpr float kGridScale = 0.25f;

constexpr int32_t kSamples = 130;   // the bisector is sampled at k / 130
constexpr int32_t kHalvings = 17;
constexpr float kBelowTop = 0.99999f;

float epsilon() { return MACHCN.real(kMachEpsilon); }

bool coincide(const FV& a, const FV& b) {
  const float eps = epsilon();
  return std::fabs(a[0] - b[0]) < eps && std::fabs(a[1] - b[1]) < eps &&
         std::fabs(a[2] - b[2]) < eps;
}

// A side line with its points at relative positions 0 and 1.
struct SideEnds {
  int32_t line = 0;
  FV start{};
  FV end{};
};

// T, or 1 - T on a side run against its line.
float along(const Patch& patch, int32_t side, float t) {
  return patch.direction(side) < 0 ? 1.0f - t : t;
}

// Whether (U, V) lies in the parameter domain of a patch of N sides, for the bisector's
// samples.
bool inside(int32_t n, float u, float v) {
  if (n == 4) return u >= 0.0f && u <= 1.0f && v >= 0.0f && v <= 1.0f;
  return u >= 0.0f && u < 1.0f && v >= 0.0f && v <= 1.0f - u;
}

// The probe of a triangle level whose small triangle holds the target's parameters, or -1.
// Centroids are not the cells of their subdivision: the nearest probe may lie in a small
// triangle beside the one that holds the point, and a descent by the nearest probe leaves
// the point for good. The parameters come from the plane fitted to the 16 probe points
// (P in the level's own coordinates: offsets from its centre in units of its size, the
// upright pattern's directions), the target projected onto it.
int32_t containingProbe(const std::array<FV, kProbes>& p, std::span<const float, 3> target) {
  std::array<float, 2> x{};
  FV mean{};
  for (const FV& q : p) {
    for (size_t i = 0; i < 3; ++i) mean[i] += q[i] / static_cast<float>(kProbes);
  }
  // The plane mean + du Pu + dv Pv by least squares; the offsets of the pattern have mean 0.
  float suu = 0.0f, suv = 0.0f, svv = 0.0f;
  FV su{}, sv{};
  for (size_t k = 0; k < static_cast<size_t>(kProbes); ++k) {
    x = {static_cast<float>(kTriangleProbes[k][0]) / kTwelfth - 1.0f / 3.0f,
         static_cast<float>(kTriangleProbes[k][1]) / kTwelfth - 1.0f / 3.0f};
    suu += x[0] * x[0];
    suv += x[0] * x[1];
    svv += x[1] * x[1];
    for (size_t i = 0; i < 3; ++i) {
      su[i] += x[0] * (p[k][i] - mean[i]);
      sv[i] += x[1] * (p[k][i] - mean[i]);
    }
  }
  const float det = suu * svv - suv * suv;
  FV pu{}, pv{}, t{};
  for (size_t i = 0; i < 3; ++i) {
    pu[i] = (svv * su[i] - suv * sv[i]) / det;
    pv[i] = (suu * sv[i] - suv * su[i]) / det;
    t[i] = target[i] - mean[i];
  }
  auto dot = [](const FV& a, const FV& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
  const float g11 = dot(pu, pu), g12 = dot(pu, pv), g22 = dot(pv, pv);
  const float g = g11 * g22 - g12 * g12;
  if (!(g > MACHCN.real(kMachTolerance) * g11 * g22) || !std::isfinite(g)) return -1;
  const float du = (g22 * dot(pu, t) - g12 * dot(pv, t)) / g;
  const float dv = (g11 * dot(pv, t) - g12 * dot(pu, t)) / g;
  // Barycentric coordinates in the level's triangle (corners (-1/3, 2/3), (-1/3, -1/3)
  // and (2/3, -1/3)), then the small triangle among 4 x 4 that holds them.
  const std::array<float, 3> lambda = {dv + 1.0f / 3.0f, 1.0f / 3.0f - du - dv, du + 1.0f / 3.0f};
  std::array<int32_t, 3> cell{};
  int32_t sum = 0;
  for (size_t i = 0; i < 3; ++i) {
    if (!(lambda[i] >= 0.0f && lambda[i] <= 1.0f)) return -1;
    cell[i] = std::min(3, static_cast<int32_t>(4.0f * lambda[i]));
    sum += cell[i];
  }
  // Upright small triangles have corner sums of 3, turned ones of 2; the centroid of
  // either, in twelfths, names the probe.
  if (sum != 2 && sum != 3) return -1;
  const int32_t third = sum == 3 ? 1 : 2;
  const int32_t a = 3 * cell[2] + third;
  const int32_t b = 3 * cell[0] + third;
  for (size_t k = 0; k < static_cast<size_t>(kProbes); ++k) {
    if (kTriangleProbes[k][0] == a && kTriangleProbes[k][1] == b) return static_cast<int32_t>(k);
  }
  return -1;
}

// A bisector of two ties in the parameter plane: a line of constant u (vertical), or v =
// slope u + offset.
struct Bisector {
  bool vertical = false;
  float u = 0.0f;
  float slope = 0.0f;
  float offset = 0.0f;
};

Bisector bisectorOf(float u1, float v1, float u2, float v2, bool vertical) {
  Bisector b;
  b.vertical = vertical;
  b.u = (u1 + u2) / 2.0f;
  if (!vertical) {
    b.slope = (u1 - u2) / (v2 - v1);
    b.offset = ((v1 + v2) - (u1 + u2) * b.slope) / 2.0f;
  }
  return b;
}

// The point of bisector B at sample position S.
void sampleAt(const Bisector& b, float s, float& u, float& v) {
  if (b.vertical) {
    u = b.u;
    v = s;
  } else {
    u = s;
    v = b.slope * s + b.offset;
  }
}

void project(int32_t n, int32_t surface, std::span<const float, 3> point,
             std::span<float, 3> moved, int32_t& status) {
  const FV target = {point[0], point[1], point[2]};
  Patch patch;
  PCHCRN(surface, patch, status);
  if (status != 0) return;
  // A surface of the other number of sides is no patch of the kind asked for.
  status = 1;
  if (patch.sides != n) return;

  BoundaryWork work;
  PatchTies ties;
  patchLevels(n, patch, target, work, ties, moved);
  if (ties.count >= 3) {
    float u = 0.0f, v = 0.0f;
    threeTieParameters(n, ties.u, ties.v, u, v);
    FV p{};
    float d = 0.0f;
    int32_t stat = 1;
    PCHPNT(n, target, u, v, patch, work, p, d, stat);
    if (stat != 0) return;
    moved[0] = p[0];
    moved[1] = p[1];
    moved[2] = p[2];
    status = 0;
  } else if (ties.count == 2) {
    bisectorSearch(n, patch, target, work, ties.u[0], ties.v[0], ties.u[1], ties.v[1], moved,
                   status);
  } else {
    // Without a single probe evaluated the given point would pass for a point of the patch.
    status = ties.found ? 0 : 1;
  }
}

}  // namespace

void PCHCRN(int32_t surface, Patch& patch, int32_t& status) {
  status = 1;
  // 1. The surface record and its patch type.
  std::array<int32_t, kSurfaceWords> rec{};
  if (!readSurfaceRecord(surface, rec)) return;
  const int32_t type = (rec[kSurfaceType - 1] / 100) % 100;
  if (type < 1 || type > kLastPatchType) return;
  const int32_t n = type % 2 == 1 ? 4 : 3;

  // 2. Each side at both ends; sides closed on themselves to the back.
  std::array<SideEnds, Patch::kMaxSides> work{};
  int32_t front = 0;
  int32_t back = n;
  for (int32_t k = 1; k <= n; ++k) {
    SideEnds e;
    e.line = rec[static_cast<size_t>(kSurfaceLines + k - 2)];
    int32_t s0 = 1, s1 = 1;
    CHNPNT(e.line, 0.0f, e.start, s0);
    if (s0 == 0) CHNPNT(e.line, 1.0f, e.end, s1);
    if (s0 != 0 || s1 != 0) return;
    work[static_cast<size_t>(coincide(e.start, e.end) ? --back : front++)] = e;
  }

  // 3. and 4. Side 1 as it runs, then each next side from the corner the last one reached.
  patch.sides = n;
  patch.line(1) = work[0].line;
  patch.direction(1) = 1;
  patch.corner(1) = work[0].start;
  patch.corner(2) = work[0].end;
  std::array<bool, Patch::kMaxSides> used{};
  for (int32_t k = 2; k <= n; ++k) {
    bool joined = false;
    for (int32_t e = 2; e <= n && !joined; ++e) {
      const SideEnds& s = work[static_cast<size_t>(e - 1)];
      if (used[static_cast<size_t>(e - 1)]) continue;
      if (coincide(s.start, patch.corner(k))) {
        patch.direction(k) = 1;
        patch.corner(k + 1) = s.end;
      } else if (coincide(s.end, patch.corner(k))) {
        patch.direction(k) = -1;
        patch.corner(k + 1) = s.start;
      } else {
        continue;
      }
      patch.line(k) = s.line;
      used[static_cast<size_t>(e - 1)] = true;
      joined = true;
    }
    if (!joined) return;
  }

  // 5. The boundary closes.
  status = coincide(patch.corner(n + 1), patch.corner(1)) ? 0 : 1;
}

void PCHPNT(int32_t n, std::span<const float, 3> target, float u, float v, const Patch& patch,
            BoundaryWork& work, std::span<float, 3> point, float& distance, int32_t& status) {
  status = 1;
  if (n != 3 && n != 4) return;
  bool failed = false;
  auto boundary = [&](int32_t b, int32_t side, float t) {
    int32_t stat = 1;
    CHNPNT(patch.line(side), along(patch, side, t), work.point(b), stat);
    // Any side that failed, not only the last evaluated, leaves a stale boundary point in
    // the blend.
    if (stat != 0) failed = true;
  };
  FV p{};
  if (n == 4) {
    boundary(1, 1, u);
    boundary(2, 2, v);
    boundary(3, 3, 1.0f - u);
    boundary(4, 4, 1.0f - v);
    const FV& c1 = patch.corner(1);
    const FV& c2 = patch.corner(2);
    const FV& c3 = patch.corner(3);
    const FV& c4 = patch.corner(4);
    for (size_t i = 0; i < 3; ++i) {
      p[i] = (1.0f - v) * work.point(1)[i] + u * work.point(2)[i] + v * work.point(3)[i] +
             (1.0f - u) * work.point(4)[i] - (1.0f - u) * (1.0f - v) * c1[i] -
             u * (1.0f - v) * c2[i] - u * v * c3[i] - (1.0f - u) * v * c4[i];
    }
  } else {
    const float w = 1.0f - u - v;
    const float du = 1.0f - u;
    const float dv = 1.0f - v;
    const float dw = 1.0f - w;
    // At a corner the blend divides by 0: the corner is the patch's point there.
    if (du == 0.0f) {
      p = patch.corner(3);
    } else if (dv == 0.0f) {
      p = patch.corner(1);
    } else if (dw == 0.0f) {
      p = patch.corner(2);
    } else {
      boundary(1, 1, 1.0f - v);
      boundary(2, 2, u);
      boundary(3, 3, 1.0f - u);
      boundary(4, 1, w);
      boundary(5, 2, 1.0f - w);
      boundary(6, 3, v);
      const FV& c1 = patch.corner(1);
      const FV& c2 = patch.corner(2);
      const FV& c3 = patch.corner(3);
      for (size_t i = 0; i < 3; ++i) {
        p[i] = 0.5f * ((u * work.point(5)[i] + v * work.point(4)[i]) / dw +
                       (w * work.point(1)[i] + u * work.point(6)[i]) / dv +
                       (w * work.point(2)[i] + v * work.point(3)[i]) / du - u * c3[i] -
                       v * c1[i] - w * c2[i]);
      }
    }
  }
  point[0] = p[0];
  point[1] = p[1];
  point[2] = p[2];
  distance = PDIST(target[0], target[1], target[2], p[0], p[1], p[2]);
  status = failed ? 1 : 0;
}

void patchLevels(int32_t n, const Patch& patch, std::span<const float, 3> target,
                 BoundaryWork& work, PatchTies& ties, std::span<float, 3> result) {
  ties = {};
  const float eps = epsilon();
  float best = MACHCN.real(kMachLargestReal);
  float cu = n == 4 ? 0.5f : 1.0f / 3.0f;
  float cv = cu;
  bool turned = false;  // the triangle's orientation: the inverted pattern
  float scale = n == 4 ? kFirstGridStep : 1.0f;

  std::array<float, kProbes> u{}, v{}, d{};
  std::array<FV, kProbes> p{};
  for (int32_t level = 1; level <= kLevels; ++level) {
    const bool levelTurned = turned;
    int32_t placed = 0;
    for (int32_t j = 0; j < kProbes; ++j) {
      const auto k = static_cast<size_t>(j);
      if (n == 4) {
        u[k] = cu + kGridSteps[k / 4] * scale;
        v[k] = cv + kGridSteps[k % 4] * scale;
      } else {
        float a = static_cast<float>(kTriangleProbes[k][0]);
        float b = static_cast<float>(kTriangleProbes[k][1]);
        if (turned) {
          a = kInvertedSum - a;
          b = kInvertedSum - b;
        }
        u[k] = cu + scale * (a / kTwelfth - 1.0f / 3.0f);
        v[k] = cv + scale * (b / kTwelfth - 1.0f / 3.0f);
      }
      int32_t stat = 1;
      PCHPNT(n, target, u[k], v[k], patch, work, p[k], d[k], stat);
      if (stat == 0) ++placed;
      if (stat == 0 && d[k] <= best) best = d[k];
    }

    // The ties of this level, against the smallest distance found so far.
    int32_t count = 0;
    bool nextTurned = turned;
    for (size_t k = 0; k < static_cast<size_t>(kProbes); ++k) {
      if (!(std::fabs(d[k] - best) < eps)) continue;
      ++count;
      if (count > 3) continue;
      ties.u[static_cast<size_t>(count - 1)] = u[k];
      ties.v[static_cast<size_t>(count - 1)] = v[k];
      result[0] = p[k][0];
      result[1] = p[k][1];
      result[2] = p[k][2];
      ties.found = true;
      nextTurned = n == 3 && kTurnedProbe[k] ? !turned : turned;
    }
    ties.count = count;
    if (count >= 2) return;
    if (count == 1) {
      cu = ties.u[0];
      cv = ties.v[0];
      turned = nextTurned;
      // On three sides, down into the small triangle that holds the point rather than the
      // one of the nearest centroid, when every probe was placed.
      const int32_t held = n == 3 && placed == kProbes ? containingProbe(p, target) : -1;
      if (held >= 0) {
        const auto k = static_cast<size_t>(held);
        cu = u[k];
        cv = v[k];
        turned = kTurnedProbe[k] ? !levelTurned : levelTurned;
      }
    }
    scale *= n == 4 ? kGridScale : kTriangleScale;
  }
}

void bisectorSearch(int32_t n, const Patch& patch, std::span<const float, 3> target,
                    BoundaryWork& work, float u1, float v1, float u2, float v2,
                    std::span<float, 3> result, int32_t& status) {
  status = 0;
  const Bisector b = bisectorOf(u1, v1, u2, v2, std::fabs(v2 - v1) <= epsilon());
  auto sample = [&](int32_t k) { return static_cast<float>(k) / static_cast<float>(kSamples); };
  auto sampleInside = [&](int32_t k) {
    float u = 0.0f, v = 0.0f;
    sampleAt(b, sample(k), u, v);
    return inside(n, u, v);
  };

  // The ends, among the samples strictly between the bisector's ends at 0 and 1: a scan
  // without bound would run for ever on a bisector that misses the patch.
  int32_t ka = 0;
  for (int32_t k = 1; k < kSamples && ka == 0; ++k) {
    if (sampleInside(k)) ka = k;
  }
  int32_t kb = 0;
  int32_t seen = 0;
  for (int32_t k = kSamples - 1; k >= 1 && kb == 0; --k) {
    if (sampleInside(k) && ++seen == 2) kb = k;
  }
  if (ka == 0 || kb == 0) return;

  // The halvings towards the nearer end.
  float sa = sample(ka);
  float sb = sample(kb);
  FV pm{};
  int32_t statM = 1;
  for (int32_t step = 1; step <= kHalvings; ++step) {
    const float sm = (sa + sb) / 2.0f;
    FV pa{}, pb{};
    float da = 0.0f, db = 0.0f, dm = 0.0f;
    float u = 0.0f, v = 0.0f;
    int32_t stat = 1;
    sampleAt(b, sa, u, v);
    PCHPNT(n, target, u, v, patch, work, pa, da, stat);
    sampleAt(b, sb, u, v);
    PCHPNT(n, target, u, v, patch, work, pb, db, stat);
    sampleAt(b, sm, u, v);
    PCHPNT(n, target, u, v, patch, work, pm, dm, statM);
    if (db < da) {
      sa = sm;
    } else {
      sb = sm;
    }
  }
  if (statM != 0) {
    status = 1;
    return;
  }
  result[0] = pm[0];
  result[1] = pm[1];
  result[2] = pm[2];
}

void threeTieParameters(int32_t n, std::span<const float, 3> u, std::span<const float, 3> v,
                        float& uOut, float& vOut) {
  const float eps = epsilon();
  const Bisector b1 = bisectorOf(u[0], v[0], u[1], v[1], std::fabs(v[1] - v[0]) < eps);
  const Bisector b2 = bisectorOf(u[1], v[1], u[2], v[2], std::fabs(v[2] - v[1]) < eps);
  if (b1.vertical && b2.vertical) {
    uOut = (u[0] + u[1] + u[2]) / 3.0f;
    vOut = v[0];
  } else if (b1.vertical || b2.vertical) {
    // A bisector of constant u meets the other at its own u, halfway between its two ties;
    // the u of tie 2 would give a point nearer one tie than the others.
    const Bisector& line = b1.vertical ? b2 : b1;
    uOut = b1.vertical ? b1.u : b2.u;
    vOut = line.slope * uOut + line.offset;
  } else if (std::fabs(b2.slope - b1.slope) >= eps) {
    uOut = (b1.offset - b2.offset) / (b2.slope - b1.slope);
    vOut = b1.slope * uOut + b1.offset;
  } else {
    uOut = (u[0] + u[1] + u[2]) / 3.0f;
    vOut = (v[0] + v[1] + v[2]) / 3.0f;
  }
  if (n == 3 && vOut == 1.0f) vOut = kBelowTop;
}

void PRJQAD(int32_t surface, std::span<const float, 3> point, std::span<float, 3> moved,
            int32_t& status) {
  project(4, surface, point, moved, status);
}

void PRJTRI(int32_t surface, std::span<const float, 3> point, std::span<float, 3> moved,
            int32_t& status) {
  project(3, surface, point, moved, status);
}

}  // namespace kvr
