// ENTPAR: the parametric position of a point in a line, a surface patch or a hexahedral
// body, with its geometry cache.
#include "modelquery/entpar.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "geometry/linevl.h"
#include "geometry/matrix4.h"
#include "geometry/srfcls.h"
#include "geometry/srftop.h"
#include "geometry/vector3.h"
#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "modelquery/linlen.h"
#include "modelquery/patchpar.h"
#include "modelquery/queries.h"
#include "runtime/geosta.h"
#include "runtime/machcn.h"
#include "runtime/modcon.h"

namespace kvr {
namespace {

using P = PatchPoint;
using FV = std::array<float, 3>;

constexpr int32_t kGeoTolerance = 3;  // GEOCON word 3: 0.001
constexpr int32_t kNameLength = 8;
constexpr int32_t kDescWords = 16;
constexpr int32_t kDescBodyType = 14;
constexpr int32_t kHexahedron = 1;
constexpr int32_t kMaxDivisions = 99;  // the division count is word 4 mod 100
constexpr int32_t kFaces = 6;

// The faces of a body by its bottom corners a1..a4 (1..4) and top corners b1..b4 (5..8),
// with the mean edge that crosses each (1 E1, 2 E2, 3 E3) and the parameters (1 u, 2 v,
// 3 w) to which the fractions from c1 towards c4 and towards c2 add.
struct FaceRule {
  std::array<int32_t, 4> corners;
  int32_t edge;
  int32_t towardsC4;
  int32_t towardsC2;
};
constexpr std::array<FaceRule, kFaces> kBodyFaces = {{
    {{1, 2, 3, 4}, 3, 2, 1},
    {{5, 6, 7, 8}, 3, 2, 1},
    {{1, 2, 6, 5}, 2, 3, 1},
    {{2, 3, 7, 6}, 1, 3, 2},
    {{4, 3, 7, 8}, 2, 3, 1},
    {{1, 4, 8, 5}, 1, 3, 2},
}};

struct LineGeometry {
  int32_t start = 0;
  int32_t end = 0;
  int32_t divisions = 0;
  int32_t grading = 0;
};

struct BodyGeometry {
  std::array<std::array<P, 4>, kFaces> faces{};
  std::array<P, 3> edges{};  // E1, E2, E3
};

// The geometry of the last computing call. KIND is 0 while nothing completed is held, so
// that a cached call never reads a half-filled cache or the geometry of another kind.
struct EntityCache {
  int32_t kind = 0;
  LineGeometry line;
  PatchGeometry patch;
  double size = 0.0;
  BodyGeometry body;
};

EntityCache gCache;

// Keeps the caller's model tolerance and puts it back, bit for bit, on every return.
class ToleranceGuard {
 public:
  ToleranceGuard() : saved_(GEOSTA.word(kGeoModelTolerance)) {}
  ~ToleranceGuard() { GEOSTA.word(kGeoModelTolerance) = saved_; }
  ToleranceGuard(const ToleranceGuard&) = delete;
  ToleranceGuard& operator=(const ToleranceGuard&) = delete;

 private:
  int32_t saved_;
};

P toDouble(std::span<const float, 3> p) { return {p[0], p[1], p[2]}; }

// ---- Lines ---------------------------------------------------------------------------

// The point of the cached line at relative position S; false when it could not be placed.
bool placeOnLine(int32_t line, float s, FV& at) {
  const LineGeometry& g = gCache.line;
  float t = s;
  int32_t code = g.grading;
  // The line evaluation may write its position and code back; the cache keeps its own.
  return LINEVL(g.start, g.end, t, line, at, g.divisions, code);
}

bool lineParameter(int32_t& flag, int32_t line, std::span<const float, 3> point, float& t) {
  if (flag == 0) {
    gCache.kind = 0;
    float length = 0.0f;
    int32_t stat = 1;
    LINLEN(line, length, stat);
    if (stat != 0 || LNG07B(line) == kCompositeLine) return false;
    gCache.line = {std::abs(LNG02(line)), LNG03(line), std::abs(LNG04(line)), LNG04B(line)};
    gCache.kind = kEntityLine;
    flag = 1;
  } else if (gCache.kind != kEntityLine) {
    return false;
  }
  const int32_t n = gCache.line.divisions;
  // Without divisions there are no samples to interpolate between.
  if (n < 1 || n > kMaxDivisions) return false;

  std::array<float, kMaxDivisions + 1> s{};
  std::array<float, kMaxDivisions + 1> d{};
  for (int32_t i = 0; i <= n; ++i) {
    float si = static_cast<float>(i) / static_cast<float>(n);
    GRDPOS(n, gCache.line.grading, si);
    FV at{};
    if (!placeOnLine(line, si, at)) return false;
    s[static_cast<size_t>(i)] = si;
    d[static_cast<size_t>(i)] = RDIST(at, point);
  }
  auto nearest = [&](int32_t skip) {
    float best = MACHCN.real(kMachLargestReal);
    int32_t at = -1;
    for (int32_t i = 0; i <= n; ++i) {
      if (i != skip && d[static_cast<size_t>(i)] < best) {
        best = d[static_cast<size_t>(i)];
        at = i;
      }
    }
    return at;
  };
  const int32_t i1 = nearest(-1);
  const int32_t i2 = i1 < 0 ? -1 : nearest(i1);
  if (i2 < 0) return false;
  const float lo = std::min(s[static_cast<size_t>(i1)], s[static_cast<size_t>(i2)]);
  const float hi = std::max(s[static_cast<size_t>(i1)], s[static_cast<size_t>(i2)]);
  FV plo{}, phi{};
  if (!placeOnLine(line, lo, plo) || !placeOnLine(line, hi, phi)) return false;
  const float span = RDIST(plo, phi);
  // Two samples at one place (a closed line) leave nothing to interpolate.
  t = span == 0.0f ? lo : lo + (hi - lo) * RDIST(plo, point) / span;
  return true;
}

// ---- Surfaces ------------------------------------------------------------------------

bool surfaceParameters(int32_t& flag, int32_t surface, std::span<const float, 3> point,
                       double& u, double& v) {
  if (flag == 0) {
    gCache.kind = 0;
    PatchGeometry patch;
    int32_t stat = 1;
    SRFCLS(surface, patch, stat);
    if (stat != 0) return false;
    double spread = 0.0;
    for (size_t k = 0; k < 3; ++k) {
      spread = std::max({spread, std::abs(patch.p1[k] - patch.p3[k]),
                         std::abs(patch.p2[k] - patch.p4[k])});
    }
    gCache.patch = patch;
    gCache.size = spread * GEOCON.real(kGeoTolerance);
    gCache.kind = kEntitySurface;
    flag = 1;
  } else if (gCache.kind != kEntitySurface) {
    return false;
  }
  GEOSTA.setReal(kGeoModelTolerance, static_cast<float>(gCache.size));
  return patchParameters(gCache.patch, toDouble(point), u, v);
}

// ---- Bodies --------------------------------------------------------------------------

bool pointOf(int32_t number, P& xyz) {
  char name[kNameLength];
  FV at{};
  int32_t stat = 1;
  UPNT2(number, FText(name, kNameLength), at, stat);
  if (stat != 0) return false;
  xyz = {at[0], at[1], at[2]};
  return true;
}

// The faces and mean edges of hexahedron BODY into the cache.
bool bodyGeometry(int32_t body) {
  char name[kNameLength];
  std::array<int32_t, kDescWords> desc{};
  int32_t stat = 1;
  UBODY2(body, FText(name, kNameLength), desc, stat);
  if (stat != 0 || desc[kDescBodyType - 1] != kHexahedron) return false;
  for (size_t k = 1; k <= kFaces; ++k) {
    PatchGeometry patch;
    SRFCLS(desc[k], patch, stat);
    if (stat != 0 || patch.patchClass != 1) return false;
  }
  SidTab bottom, top, edges;
  BodFac faces;
  BODTOP(body, bottom, top, edges, faces, stat);
  if (stat != 0) return false;
  std::array<P, 9> c{};  // a1..a4 in 1..4, b1..b4 in 5..8
  for (int32_t i = 1; i <= 4; ++i) {
    if (!pointOf(bottom.chain(i).at(2, 1), c[static_cast<size_t>(i)]) ||
        !pointOf(top.chain(i).at(2, 1), c[static_cast<size_t>(i + 4)])) {
      return false;
    }
  }
  BodyGeometry& g = gCache.body;
  for (size_t f = 0; f < kFaces; ++f) {
    for (size_t j = 0; j < 4; ++j) g.faces[f][j] = c[static_cast<size_t>(kBodyFaces[f].corners[j])];
  }
  // The mean edges: E1 along a1-a2, E2 along a1-a4 (both from the bottom and the top), E3
  // from the bottom up.
  auto edge = [&c](std::array<std::array<int32_t, 2>, 4> pairs) {
    P e{};
    for (auto [from, to] : pairs) {
      for (size_t k = 0; k < 3; ++k) e[k] += c[static_cast<size_t>(to)][k] - c[static_cast<size_t>(from)][k];
    }
    for (double& x : e) x /= 4.0;
    return e;
  };
  g.edges[0] = edge({{{1, 2}, {4, 3}, {5, 6}, {8, 7}}});
  g.edges[1] = edge({{{1, 4}, {2, 3}, {5, 8}, {6, 7}}});
  g.edges[2] = edge({{{1, 5}, {2, 6}, {4, 8}, {3, 7}}});
  return true;
}

bool bodyParameters(int32_t& flag, int32_t body, std::span<const float, 3> point,
                    std::array<float, 3>& uvw) {
  if (flag == 0) {
    // The flag is 1 from here on, also when the computation fails below.
    flag = 1;
    gCache.kind = 0;
    if (!bodyGeometry(body)) return false;
    gCache.kind = kEntityBody;
  } else if (gCache.kind != kEntityBody) {
    return false;
  }
  const P q = toDouble(point);
  std::array<float, 3> sums{};
  for (size_t f = 0; f < kFaces; ++f) {
    const FaceRule& rule = kBodyFaces[f];
    const std::array<P, 4>& c = gCache.body.faces[f];
    const P& e = gCache.body.edges[static_cast<size_t>(rule.edge - 1)];
    // The point moved along the mean edge, summed in single precision.
    const FV moved = {point[0] + static_cast<float>(e[0]), point[1] + static_cast<float>(e[1]),
                      point[2] + static_cast<float>(e[2])};
    const P r = toDouble(moved);
    InvFrame4D frame{};
    FRM3PT(c[0], c[1], c[3], frame);
    P origin{}, lq{}, lr{};
    TRFPNT(frame, c[0], origin);
    TRFPNT(frame, q, lq);
    TRFPNT(frame, r, lr);
    const double zq = lq[2] - origin[2];
    const double dz = (lr[2] - origin[2]) - zq;
    if (dz == 0.0) return false;
    const double lambda = -zq / dz;
    const P x = {q[0] + lambda * (r[0] - q[0]), q[1] + lambda * (r[1] - q[1]),
                 q[2] + lambda * (r[2] - q[2])};
    PatchGeometry face;
    face.p1 = c[0];
    face.p2 = c[1];
    face.p3 = c[2];
    face.p4 = c[3];
    face.patchClass = 1;
    double towardsC2 = 0.0, towardsC4 = 0.0;
    if (!straightSidedPatch(face, x, towardsC2, towardsC4)) return false;
    sums[static_cast<size_t>(rule.towardsC4 - 1)] += static_cast<float>(towardsC4);
    sums[static_cast<size_t>(rule.towardsC2 - 1)] += static_cast<float>(towardsC2);
  }
  for (size_t k = 0; k < 3; ++k) uvw[k] = std::max(std::min(sums[k] / 4.0f, 1.0f), 0.0f);
  return true;
}

}  // namespace

void ENTPAR(int32_t& flag, int32_t kind, int32_t entity, std::span<const float, 3> point,
            std::span<float, 3> parameters, int32_t& count, int32_t& status) {
  const ToleranceGuard guard;
  if (flag != 0 && flag != 1) flag = 0;
  status = 1;
  switch (kind) {
    case kEntityLine: {
      float t = 0.0f;
      if (!lineParameter(flag, entity, point, t)) return;
      parameters[0] = t;
      parameters[1] = 0.0f;
      parameters[2] = 0.0f;
      count = 1;
      break;
    }
    case kEntitySurface: {
      double u = 0.0, v = 0.0;
      if (!surfaceParameters(flag, entity, point, u, v)) return;
      parameters[0] = static_cast<float>(u);
      parameters[1] = static_cast<float>(v);
      parameters[2] = 0.0f;
      count = 2;
      break;
    }
    case kEntityBody: {
      std::array<float, 3> uvw{};
      if (!bodyParameters(flag, entity, point, uvw)) return;
      std::copy(uvw.begin(), uvw.end(), parameters.begin());
      count = 3;
      break;
    }
    default:
      return;
  }
  status = 0;
}

void resetEntityCache() { gCache = {}; }

}  // namespace kvr
