// Element ownership and element data: UELEMG, UGELEM with its owner cache, ELCORD.
#include "modelquery/elemown.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "geometry/inshape.h"
#include "modeldb/attlst.h"
#include "modeldb/entrec.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "runtime/idpack.h"
#include "runtime/modcnt.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;

// UELEMG statuses; UGELEM uses the first two.
constexpr int32_t kDone = 0;
constexpr int32_t kOutOfRange = 1;
constexpr int32_t kMissing = 2;
constexpr int32_t kComposite = 3;
constexpr int32_t kNotMeshed = 4;

constexpr int32_t kWholeModel = 0;
constexpr int32_t kPoint = 1;
constexpr int32_t kLine = 2;
constexpr int32_t kSurface = 3;
constexpr int32_t kBody = 4;

// The element type of a meshed point, and the steps from a surface's and a body's
// element-type code to the element type.
constexpr int32_t kPointElementType = 20;
constexpr int32_t kSurfaceTypeStep = 2;
constexpr int32_t kBodyTypeStep = 10;

// The owner words of each kind: its record array and width, its count word, and the
// words of the first and last element, the element-type code (the word mod 100), the
// material and property and the group (group x 100 + units part). A point has one
// element and its element-type code in its group word.
struct OwnerWords {
  int32_t array;
  int32_t width;
  int32_t countWord;
  int32_t first;
  int32_t last;
  int32_t code;
  int32_t materialProperty;
  int32_t group;
};

constexpr std::array<OwnerWords, 4> kOwnerWords = {{
    {kArrPoints, kPointWords, kCntPoints, 5, 5, 8, 7, 8},
    {kArrLines, kLineWords, kCntLines, 8, 9, 7, 11, 12},
    {kArrSurfaces, kSurfaceWords, kCntSurfaces, 7, 8, 6, 11, 10},
    {kArrBodies, kBodyWords, kCntBodies, 9, 10, 8, 12, 13},
}};

// The record buffer of ENTBUF that holds an entity of KIND.
std::span<int32_t> buffer(int32_t kind) {
  switch (kind) {
    case kPoint: return ENTBUF.point;
    case kLine: return ENTBUF.line;
    case kSurface: return ENTBUF.surface;
    default: return ENTBUF.body;
  }
}

// The entities of KIND a walk may visit: its count, but never more than the store holds.
int32_t walkCount(int32_t kind) {
  const OwnerWords& w = kOwnerWords[static_cast<std::size_t>(kind - 1)];
  const int64_t held = int64_t{REGHED.ARRLEN(w.array)} / w.width;
  return static_cast<int32_t>(std::clamp<int64_t>(MODCNT.word(w.countWord), 0, held));
}

// The owner cache of UGELEM.
struct OwnerCache {
  bool valid = false;
  int32_t kind = 0, number = 0, eltype = 0, units = 0, material = 0, property = 0,
          group = 0, first = 0, last = 0;
};
OwnerCache gOwner;

// The answer of UELEMG for one entity, as the owner search reads it.
struct Range {
  int32_t first = 0, last = 0, eltype = 0, units = 0, material = 0, property = 0, group = 0;
  int32_t status = kOutOfRange;
};

Range elementRange(int32_t kind, int32_t number) {
  Range r;
  UELEMG(kind, number, r.first, r.last, r.eltype, r.units, r.material, r.property, r.group,
         r.status);
  return r;
}

// ---- ELCORD's region tests ----------------------------------------------------------

constexpr int32_t kRegionValues = 93;
constexpr int32_t kPolygon2D = 1;
constexpr int32_t kBox = 2;
constexpr int32_t kPrism = 3;
constexpr int32_t kSegment = 4;
constexpr int32_t kCentroid = 1;
constexpr int32_t kAnyNode = 2;

struct Region {
  int32_t kind = 0;
  int32_t n = 0;  // vertices of a polygon or prism
  std::array<float, kRegionValues> v{};
  std::array<float, kRegionVertices> u{}, w{}, s{};  // vertex coordinates by axis
};

// Prepares region R from its N values; false when it is of another kind, has more than
// kRegionVertices vertices or too few values for its kind.
bool prepare(Region& r, int32_t n) {
  switch (r.kind) {
    case kPolygon2D:
      r.n = n / 2;
      if (r.n < 1 || r.n > kRegionVertices) return false;
      for (int32_t i = 0; i < r.n; ++i) {
        r.u[static_cast<std::size_t>(i)] = r.v[static_cast<std::size_t>(2 * i)];
        r.w[static_cast<std::size_t>(i)] = r.v[static_cast<std::size_t>(2 * i + 1)];
      }
      return true;
    case kBox: return n >= 6;
    case kPrism:
      r.n = (n - 3) / 3;
      if (r.n < 3 || r.n > kRegionVertices) return false;
      for (int32_t i = 0; i < r.n; ++i) {
        r.u[static_cast<std::size_t>(i)] = r.v[static_cast<std::size_t>(3 * i)];
        r.w[static_cast<std::size_t>(i)] = r.v[static_cast<std::size_t>(3 * i + 1)];
        r.s[static_cast<std::size_t>(i)] = r.v[static_cast<std::size_t>(3 * i + 2)];
      }
      return true;
    case kSegment: return n >= 7;
    default: return false;
  }
}

bool holds(const Region& r, float px, float py, float pz) {
  const auto& v = r.v;
  int32_t result = 0;
  switch (r.kind) {
    case kPolygon2D:
      PINP2D(px, py, r.n, r.u, r.w, result);
      return result >= 0;
    case kBox:
      PINBOX(px, py, pz, v[0], v[1], v[2], v[3], v[4], v[5], result);
      return result == 1;
    case kPrism: {
      const std::size_t q = static_cast<std::size_t>(3 * r.n);
      PINPOL(px, py, pz, r.n, r.u, r.w, r.s, v[q], v[q + 1], v[q + 2], result);
      return result == 1;
    }
    default:
      PONSEG(px, py, pz, v[0], v[1], v[2], v[3], v[4], v[5], v[6], result);
      return result == 1;
  }
}

}  // namespace

void resetOwnerCache() { gOwner = {}; }

void UELEMG(const int32_t& kind, const int32_t& number, int32_t& first, int32_t& last,
            int32_t& eltype, int32_t& units, int32_t& material, int32_t& property,
            int32_t& group, int32_t& status) {
  const int32_t offset = elementOffset();
  if (kind == kWholeModel) {
    first = clampWord(int64_t{offset} + 1);
    last = clampWord(int64_t{highestElement()} + offset);
    eltype = units = material = property = group = 0;
    status = kDone;
    return;
  }
  units = 0;
  group = 0;
  if (kind < kPoint || kind > kBody) {
    status = kOutOfRange;
    return;
  }
  const OwnerWords& w = kOwnerWords[static_cast<std::size_t>(kind - 1)];
  if (number < 1 || number > MODCNT.word(w.countWord)) {
    status = kOutOfRange;
    return;
  }
  // A record the store does not hold is no entity (reading it would end the run).
  if (!entityHeld(w.array, w.width, number, MODCNT.word(w.countWord)) ||
      ENTEXS(number, kind) == 0) {
    status = kMissing;
    return;
  }
  const std::span<int32_t> rec = buffer(kind);
  RECIO(kRead, w.array, number, rec);
  auto word = [&rec](int32_t k) { return rec[static_cast<std::size_t>(k - 1)]; };
  if (kind == kLine && word(7) / 100 == kCompositeLine) {
    status = kComposite;
    return;
  }
  const int32_t firstElement = word(w.first);
  if (firstElement == 0) {
    first = 0;
    last = kind == kPoint ? 0 : word(w.last);
    status = kNotMeshed;
    return;
  }
  const int32_t code = word(w.code) % 100;
  const int32_t groupWord = word(w.group);
  first = clampWord(int64_t{firstElement} + offset);
  last = clampWord(int64_t{word(w.last)} + offset);
  switch (kind) {
    case kPoint:
      eltype = code != 0 ? kPointElementType : 0;
      units = code;
      break;
    case kLine: eltype = code; break;
    case kSurface: eltype = code != 0 ? code + kSurfaceTypeStep : 0; break;
    default: eltype = code != 0 ? code + kBodyTypeStep : 0; break;
  }
  if (kind != kPoint) units = groupWord % 100 == 0 ? 1 : groupWord % 100;
  // Before start-up the modulus is 0: the word is then the material alone.
  const int32_t modulus = IDPACK.modulus > 0 ? IDPACK.modulus : 1;
  material = word(w.materialProperty) / modulus;
  property = word(w.materialProperty) % modulus;
  group = groupWord / 100;
  status = kDone;
}

void UGELEM(const int32_t& element, int32_t& kind, int32_t& number, int32_t& eltype,
            int32_t& units, int32_t& material, int32_t& property, int32_t& group,
            int32_t& status) {
  kind = number = eltype = units = material = property = group = 0;
  status = kDone;
  std::array<int32_t, kElementNodes> nodes{};
  int32_t count = 0;
  int32_t stat = 0;
  UELEM(element, nodes, count, stat);
  if (stat != 0) {
    status = kOutOfRange;
    return;
  }

  auto answer = [&](const OwnerCache& c) {
    kind = c.kind;
    number = c.number;
    eltype = c.eltype;
    units = c.units;
    material = c.material;
    property = c.property;
    group = c.group;
  };
  const bool cached = gOwner.valid && element >= gOwner.first && element <= gOwner.last;
  if (cached) {
    answer(gOwner);
  } else {
    // A search from the cached owner on, when the element lies above its range; once
    // more from the first point when that finds nothing.
    const bool ahead = gOwner.valid && element > gOwner.last;
    const int32_t startKind = ahead ? gOwner.kind : kPoint;
    const int32_t startNumber = ahead ? gOwner.number : 1;
    auto search = [&](int32_t fromKind, int32_t fromNumber) {
      for (int32_t k = fromKind; k <= kBody; ++k) {
        const int32_t n = walkCount(k);
        for (int32_t i = k == fromKind ? fromNumber : 1; i <= n; ++i) {
          const Range r = elementRange(k, i);
          if (r.status != kDone || element < r.first || element > r.last) continue;
          gOwner = {true, k, i, r.eltype, r.units, r.material, r.property, r.group, r.first,
                    r.last};
          return true;
        }
      }
      gOwner.valid = false;
      return false;
    };
    bool found = search(startKind, startNumber);
    if (!found && (startKind != kPoint || startNumber != 1)) found = search(kPoint, 1);
    // An element no entity owns is answered with owner 0 and no element data, not with
    // whatever the last entity looked at left behind.
    if (found) answer(gOwner);
  }

  std::array<float, kElcordPoints> x{}, y{}, z{};
  int32_t points = 0;
  int32_t inRegion = 0;
  int32_t regionMaterial = material, regionProperty = property;
  ELCORD(clampWord(int64_t{element} - elementOffset()), x, y, z, points, inRegion,
         regionMaterial, regionProperty);
  if (inRegion == 1) {
    material = regionMaterial;
    property = regionProperty;
  }
}

void ELCORD(int32_t element, std::span<float> x, std::span<float> y, std::span<float> z,
            int32_t& count, int32_t& found, int32_t& material, int32_t& property) {
  found = 0;
  const int32_t regions = MODCNT.word(kCntKind44);
  if (regions <= 0) return;
  const std::size_t room = std::min({x.size(), y.size(), z.size()});

  int32_t n = 0;
  if (element >= 1) {
    std::array<int32_t, kElementNodes> nodes{};
    int32_t shape = 0, stat = 0;
    ELCONN(element, nodes, n, shape, stat);
    if (stat != 0) return;
    n = std::min<int32_t>(n, static_cast<int32_t>(room));
    for (int32_t i = 0; i < n; ++i) {
      const int32_t node = nodes[static_cast<std::size_t>(i)];
      // A node the store does not hold has no coordinates (reading it would end the run).
      if (node < 1 || node > highestNode() || !recordsHeld(kArrNodeCoordinates, node, node)) {
        return;
      }
      std::array<float, 3> xyz{};
      ARRREC(kRead, kArrNodeCoordinates, node, xyz);
      x[static_cast<std::size_t>(i)] = xyz[0];
      y[static_cast<std::size_t>(i)] = xyz[1];
      z[static_cast<std::size_t>(i)] = xyz[2];
    }
    count = n;
  } else {
    n = std::clamp<int32_t>(count, 0, static_cast<int32_t>(room));
  }
  // A test over no points passes no region (a centroid of nothing does not exist, and
  // "every node" of none would pass them all).
  if (n < 1) return;
  const std::span<const float> px = x.first(static_cast<std::size_t>(n));
  const std::span<const float> py = y.first(static_cast<std::size_t>(n));
  const std::span<const float> pz = z.first(static_cast<std::size_t>(n));
  float cx = 0.0f, cy = 0.0f, cz = 0.0f;
  PTMEAN(px, py, pz, n, cx, cy, cz);

  // Every region is an attribute entry: a count from a damaged file cannot make the walk
  // longer than the entries the store holds.
  const int32_t walk = std::min(regions, REGHED.ARRLEN(kArrEntries));
  Region r;
  for (int32_t j = 1; j <= walk; ++j) {
    std::array<int32_t, 2> name{};
    int32_t mode = 0, regionMaterial = 0, regionProperty = 0, values = 0, stat = 0;
    r.v.fill(0.0f);
    ATTELM(j, kRegionValues, name, r.kind, mode, regionMaterial, regionProperty, values, r.v,
           stat);
    if (stat != 0 || !prepare(r, values)) continue;
    bool passes = false;
    if (mode == kCentroid) {
      passes = holds(r, cx, cy, cz);
    } else if (mode == kAnyNode) {
      for (int32_t i = 0; i < n && !passes; ++i) passes = holds(r, px[i], py[i], pz[i]);
    } else {
      passes = true;
      for (int32_t i = 0; i < n && passes; ++i) passes = holds(r, px[i], py[i], pz[i]);
    }
    if (passes) {
      found = 1;
      material = regionMaterial;
      property = regionProperty;
      return;
    }
  }
}

}  // namespace kvr
