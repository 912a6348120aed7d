// UFACG2, the face search over sets and entities, and NODORD.
#include "modelquery/facsrch.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <span>
#include <unordered_set>
#include <vector>

#include "modeldb/elnord.h"
#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "modeldb/loctop.h"
#include "modeldb/setrec.h"
#include "modelquery/adjqry.h"
#include "modelquery/elfaces.h"
#include "modelquery/facsel.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "modelquery/setlst.h"
#include "modelquery/setqry.h"
#include "runtime/modcnt.h"

namespace kvr {
namespace {

constexpr int32_t kDone = 0;
constexpr int32_t kOutOfRange = 1;
constexpr int32_t kNoCarrier = 3;
constexpr int32_t kFull = 9;
constexpr int32_t kRead = 1;
constexpr int32_t kKindPoint = 1;
constexpr int32_t kKindLine = 2;
constexpr int32_t kKindSurface = 3;
constexpr int32_t kKindBody = 4;
constexpr int32_t kKindSet = 7;
constexpr int32_t kEdgeWalk = 1;
constexpr int32_t kFaceNodesCleared = 9;
constexpr int32_t kPointNodeWord = 6;
constexpr int32_t kBodyTypeWord = 8;
constexpr int32_t kQU9 = 10;
constexpr int32_t kTR15 = 27;
constexpr int32_t kHE27 = 18;
constexpr int32_t kIS84 = 49;

int32_t countOf(int32_t kind) {
  switch (kind) {
    case kKindPoint: return MODCNT.word(kCntPoints);
    case kKindLine: return MODCNT.word(kCntLines);
    case kKindSurface: return MODCNT.word(kCntSurfaces);
    case kKindBody: return MODCNT.word(kCntBodies);
    default: return 0;
  }
}

bool held(int32_t kind, int32_t id) {
  switch (kind) {
    case kKindPoint: return entityHeld(kArrPoints, kPointWords, id, MODCNT.word(kCntPoints));
    case kKindLine: return entityHeld(kArrLines, kLineWords, id, MODCNT.word(kCntLines));
    case kKindSurface: return entityHeld(kArrSurfaces, kSurfaceWords, id, MODCNT.word(kCntSurfaces));
    case kKindBody: return entityHeld(kArrBodies, kBodyWords, id, MODCNT.word(kCntBodies));
    default: return false;
  }
}

// The element range of entity ID of KIND (0, 0 for one the store does not hold).
void elementRange(int32_t kind, int32_t id, int32_t& first, int32_t& last) {
  first = last = 0;
  if (!held(kind, id)) return;
  int32_t word = 0;
  switch (kind) {
    case kKindPoint: PNTELM(id, first, last, word); break;
    case kKindLine: ELRNGL(id, first, last, word); break;
    case kKindSurface: ELRNGS(id, first, last, word); break;
    case kKindBody: ELRNGB(id, first, last, word); break;
    default: break;
  }
}

struct Element {
  std::array<int32_t, kElementNodes> nodes{};
  int32_t count = 0;
  int32_t shape = 0;
};

bool readElement(int32_t e, Element& el) {
  int32_t stat = 0;
  ELCONN(e, el.nodes, el.count, el.shape, stat);
  return stat == 0 && el.count >= 1 && el.count <= kElementNodes;
}

// How the elements of the carrier are listed.
enum class Case { kNone, kPointElement, kLineEnds, kLineElements, kSurfaceElements,
                  kSurfaceEdges, kBodyEdges, kBodyFaces };

Case caseOf(int32_t kind, int32_t carrier) {
  if (kind == kKindLine && carrier == kKindLine) return Case::kLineElements;
  if (kind == kKindLine && carrier == kKindSurface) return Case::kSurfaceEdges;
  if (kind == kKindLine && carrier == kKindBody) return Case::kBodyEdges;
  if (kind == kKindSurface && carrier == kKindSurface) return Case::kSurfaceElements;
  if (kind == kKindSurface && carrier == kKindBody) return Case::kBodyFaces;
  if (kind == kKindPoint && carrier == kKindPoint) return Case::kPointElement;
  if (kind == kKindPoint && carrier == kKindLine) return Case::kLineEnds;
  return Case::kNone;
}

// The candidates of one kind: a set's members of that kind, or every number of the kind.
struct Candidates {
  bool fromSet = false;
  std::vector<int32_t> lines, surfaces, bodies;

  std::vector<int32_t> of(int32_t kind) const {
    if (fromSet) return kind == kKindLine ? lines : kind == kKindSurface ? surfaces : bodies;
    // The walk ends at the first number the store does not hold: a count from a damaged
    // file would otherwise make it run for every number up to that count.
    std::vector<int32_t> all;
    for (int32_t id = 1; held(kind, id); ++id) all.push_back(id);
    return all;
  }
};

// The search of the carrier of entity NUMBER of KIND among the candidates; the first hit
// ends it. True with CARRIER and ID set when one is found.
bool search(int32_t kind, int32_t number, const Candidates& c, int32_t& carrier, int32_t& id) {
  if (kind == kKindPoint) {
    for (const int32_t l : c.of(kKindLine)) {
      if (!held(kKindLine, l) || LNG07B(l) == kCompositeLine || LNG08(l) <= 0) continue;
      if (std::abs(LNG02(l)) == number || LNG03(l) == number) {
        carrier = kKindLine;
        id = l;
        return true;
      }
    }
    return false;
  }
  if (kind == kKindLine) {
    for (const int32_t s : c.of(kKindSurface)) {
      if (!held(kKindSurface, s)) continue;
      RECIO(kRead, kArrSurfaces, s, ENTBUF.surface);
      const int32_t type = ENTBUF.surface[5] / 100 % 100;
      if (type < 1 || type > 8 || lineWaysOnSurface(number, s) <= 0) continue;
      carrier = kKindSurface;
      id = s;
      return true;
    }
    for (const int32_t b : c.of(kKindBody)) {
      for (const int32_t s : surfacesOfBody(b)) {
        if (lineWaysOnSurface(number, s) > 0) {
          carrier = kKindBody;
          id = b;
          return true;
        }
      }
    }
    return false;
  }
  for (const int32_t b : c.of(kKindBody)) {
    const std::vector<int32_t> s = surfacesOfBody(b);
    if (std::find(s.begin(), s.end(), number) != s.end()) {
      carrier = kKindBody;
      id = b;
      return true;
    }
  }
  return false;
}

// The nodes of an entity's list, for the test of every element of a carrier: a flag per
// node number up to the highest node, a set for any other number the list holds.
class NodeFlags {
 public:
  explicit NodeFlags(std::span<const int32_t> list)
      : flags_(static_cast<size_t>(std::max(highestNode(), 0)) + 1, 0) {
    for (const int32_t n : list) {
      if (n >= 1 && static_cast<size_t>(n) < flags_.size()) {
        flags_[static_cast<size_t>(n)] = 1;
      } else {
        others_.insert(n);
      }
    }
  }
  bool contains(int32_t n) const {
    if (n >= 1 && static_cast<size_t>(n) < flags_.size()) return flags_[static_cast<size_t>(n)] != 0;
    return others_.contains(n);
  }

 private:
  std::vector<uint8_t> flags_;
  std::unordered_set<int32_t> others_;
};

// The corner positions of a solid of SHAPE among N nodes, by the order and corner rules of
// the face extraction (FACES: the face rule, which sets aside the centres of HE27).
bool solidCorner(int32_t shape, int32_t p, bool faces) {
  const SolidClass c = solidClassOf(shape);
  if (interfaceShape(shape) && c.order == 1) return p % 2 != 0 || (shape == kIS84 && p > 8);
  if (faces && shape == kHE27 && p > 20) return false;
  return p <= c.corners;
}

}  // namespace

int32_t planeFaceOrder(int32_t shape, int32_t n, std::span<int32_t> order) {
  std::vector<int32_t> list;
  int32_t m = 0;
  if (shape <= 6 || shape == 42) {
    for (int32_t p = 1; p <= n; ++p) list.push_back(p);
  } else if ((shape >= 43 && shape <= 46) || shape == 60 || shape == 61) {
    m = shape == 43 || shape == 44 ? 1 : shape == 45 || shape == 60 ? 2 : 3;
    list = {1, m + 2, n, m + 3, 2};
    if (shape != 43) {
      if (m == 1) list.push_back(5);
      if (m == 2) list.insert(list.end(), {3, 6, 7});
      if (m == 3) list.insert(list.end(), {3, 4, 7, 8, 9});
    }
  } else if (shape == 7 || shape == 8 || shape == 9 || shape == kQU9 || shape == 23 ||
             shape == 24 || shape == 25 || shape == kTR15) {
    m = shape <= kQU9 ? 1 : shape <= 24 ? 2 : 3;
    const int32_t boundary = n - (shape == kQU9 ? 1 : shape == kTR15 ? 3 : 0);
    for (int32_t p = 1; p <= boundary; p += m + 1) list.push_back(p);
    for (int32_t p = 1; p <= boundary; p += m + 1) {
      for (int32_t k = 1; k <= m && p + k <= boundary; ++k) list.push_back(p + k);
    }
    if (shape == kTR15) list.insert(list.end(), {13, 14, 15});
    if (shape == kQU9) list.push_back(9);
  } else {
    // The sixteen-node shape and any other: the stored order.
    for (int32_t p = 1; p <= n; ++p) list.push_back(p);
  }
  const auto count = static_cast<int32_t>(std::min(list.size(), order.size()));
  std::copy_n(list.begin(), count, order.begin());
  return count;
}

void NODORD(int32_t shape, std::span<const int32_t> in, int32_t n, int32_t direction,
            std::span<int32_t> out, int32_t& reversed) {
  reversed = 0;
  const auto count = static_cast<size_t>(std::clamp<int64_t>(n, 0, std::min(in.size(), out.size())));
  std::copy_n(in.begin(), count, out.begin());
  std::array<int32_t, kOrderNodes> stored{}, turned{}, back{};
  int32_t stat = 0;
  ELNPRM(in.first(count), shape, stored, stat);
  if (stat != 0) return;
  const int32_t offset = nodeOffset();
  for (size_t k = 0; k < count && k < stored.size(); ++k) stored[k] = clampWord(int64_t{stored[k]} - offset);
  int32_t flip = 0;
  turned = stored;
  ELORNT(shape, stored, static_cast<int32_t>(count), direction, turned, flip);
  for (size_t k = 0; k < count && k < turned.size(); ++k) turned[k] = clampWord(int64_t{turned[k]} + offset);
  ELRORD(std::span<const int32_t>(turned).first(std::min(count, turned.size())), shape, back, stat);
  if (stat != 0) return;
  std::copy_n(back.begin(), std::min(count, back.size()), out.begin());
  reversed = flip;
}

void UFACG2(const int32_t& kind, const int32_t& number, const int32_t& rkind,
            const int32_t& rnumber, int32_t& carrierKind, int32_t& carrierNumber,
            int32_t& faceNodeCount, std::span<int32_t> faceNodes, int32_t& face,
            int32_t& orientation, int32_t& elementCount, std::span<int32_t> work,
            const int32_t& size, int32_t& status) {
  // 1. The entity and the work array.
  if (kind < kKindPoint || kind > kKindSurface || number < 1 || number > countOf(kind)) {
    status = kOutOfRange;
    return;
  }
  const auto room = static_cast<int32_t>(std::min<int64_t>(size, static_cast<int64_t>(work.size())));
  if (room < kFaceSearchWork) {
    status = kFull;
    return;
  }
  // 2. The restriction: none (open mode), an entity (entity mode) or a set (set mode).
  enum class Mode { kOpen, kEntity, kSet } mode = Mode::kOpen;
  int32_t carrier = kind, id = number;
  if (rnumber > 0) {
    if (rkind >= kKindPoint && rkind <= kKindBody) {
      if (rnumber > countOf(rkind)) {
        status = kOutOfRange;
        return;
      }
      mode = Mode::kEntity;
      carrier = rkind;
      id = rnumber;
    } else if (rkind == kKindSet) {
      const int64_t stored = int64_t{rnumber} + 1;
      if (stored < 2 || stored > MODCNT.word(kCntSets)) {
        status = kOutOfRange;
        return;
      }
      mode = Mode::kSet;
      carrier = kKindSet;
      id = static_cast<int32_t>(stored);
    } else {
      status = kOutOfRange;
      return;
    }
  }
  // 3. The outputs cleared; is the carrier meshed?
  carrierKind = carrier;
  carrierNumber = id;
  elementCount = 0;
  faceNodeCount = 0;
  face = 0;
  orientation = 1;
  std::fill_n(faceNodes.begin(), std::min<size_t>(kFaceNodesCleared, faceNodes.size()), 0);
  status = kDone;
  int32_t first = 0, last = 0;
  if (mode != Mode::kSet) elementRange(carrier, id, first, last);
  const std::span<int32_t> scratch =
      work.subspan(kFaceSearchElements, static_cast<size_t>(room - kFaceSearchElements));

  // 4. The carrier and the way its elements are listed.
  Case how = Case::kNone;
  if (mode == Mode::kEntity) {
    if (first <= 0) {
      status = kNoCarrier;
      return;
    }
    how = caseOf(kind, carrier);
  } else if (mode == Mode::kOpen && first > 0) {
    how = caseOf(kind, kind);
  } else {
    Candidates c;
    if (mode == Mode::kSet) {
      // The members go into the scratch words, at most as many as they hold.
      if (SETNMB(id) > static_cast<int32_t>(scratch.size())) {
        status = kFull;
        return;
      }
      int32_t mkind = 0, a = 0, b = 0;
      SETMBR(id, scratch, static_cast<int32_t>(scratch.size()), mkind, a, b);
      const int32_t points = SETCNT.word(kSetCntPoints), lines = SETCNT.word(kSetCntLines);
      const int32_t composites = SETCNT.word(kSetCntComposites);
      const int32_t surfaces = SETCNT.word(kSetCntSurfaces), bodies = SETCNT.word(kSetCntBodies);
      auto slice = [&](int32_t skip, int32_t n) {
        const auto total = static_cast<int64_t>(scratch.size());
        const int64_t from = std::clamp<int64_t>(skip, 0, total);
        const int64_t to = std::clamp<int64_t>(int64_t{skip} + n, from, total);
        return std::vector<int32_t>(scratch.begin() + from, scratch.begin() + to);
      };
      c.fromSet = true;
      c.lines = slice(points, lines);
      c.surfaces = slice(points + lines + composites, surfaces);
      c.bodies = slice(points + lines + composites + surfaces, bodies);
    }
    if (!search(kind, number, c, carrier, id)) {
      carrierKind = carrier = 0;
      carrierNumber = id = 0;
      status = kNoCarrier;
      return;
    }
    carrierKind = carrier;
    carrierNumber = id;
    elementRange(carrier, id, first, last);
    how = caseOf(kind, carrier);
  }
  if (how == Case::kNone) {
    status = kNoCarrier;
    return;
  }

  // 5. The element list and the face of its first element.
  const int32_t limit = std::min(kFaceSearchElements, room);
  std::vector<int32_t> listed;
  auto fullRange = [&]() {
    if (first <= 0) return false;
    if (int64_t{last} - first + 1 > limit) {
      status = kFull;
      return false;
    }
    for (int32_t e = first; e <= last; ++e) listed.push_back(e);
    return true;
  };
  switch (how) {
    case Case::kPointElement:
      if (first > 0) listed.push_back(first);
      faceNodeCount = 1;
      if (!faceNodes.empty()) faceNodes[0] = 1;
      break;
    case Case::kLineEnds: {
      RECIO(kRead, kArrPoints, number, ENTBUF.point);
      const int32_t node = ENTBUF.point[kPointNodeWord - 1];
      // A point without a node has no element ends.
      if (node < 1) return;
      faceNodeCount = 1;
      const int32_t held = elementsHeld();
      for (int32_t e = std::max(first, 1); e <= last && e <= held; ++e) {
        Element el;
        if (!readElement(e, el)) continue;
        const auto end = el.nodes.begin() + el.count;
        const auto at = std::find(el.nodes.begin(), end, node);
        if (at == end) continue;
        if (static_cast<int32_t>(listed.size()) == limit) {
          status = kFull;
          return;
        }
        if (listed.empty() && !faceNodes.empty()) {
          const bool lastNode = at == end - 1;
          face = lastNode ? 2 : 1;
          faceNodes[0] = lastNode ? el.count : 1;
        }
        listed.push_back(e);
      }
      break;
    }
    case Case::kLineElements: {
      if (!fullRange()) break;
      Element el;
      if (!readElement(first, el)) {
        status = kNoCarrier;
        return;
      }
      faceNodeCount = el.count;
      std::vector<int32_t> order = {1};
      if (el.count > 1) order.push_back(el.count);
      for (int32_t p = 2; p < el.count; ++p) order.push_back(p);
      std::copy_n(order.begin(), std::min(order.size(), faceNodes.size()), faceNodes.begin());
      break;
    }
    case Case::kSurfaceElements: {
      if (!fullRange()) break;
      Element el;
      if (!readElement(first, el)) {
        status = kNoCarrier;
        return;
      }
      std::array<int32_t, kMarkedPositions> marked{};
      const int32_t n = planeFaceOrder(el.shape, el.count, marked);
      faceNodeCount = el.count;
      std::copy_n(marked.begin(), std::min<size_t>(static_cast<size_t>(n), faceNodes.size()),
                  faceNodes.begin());
      int32_t fs = 0;
      FACSEL(std::span<const int32_t>(el.nodes).first(static_cast<size_t>(el.count)), el.count,
             el.shape, el.count, marked, face, orientation, fs);
      break;
    }
    case Case::kSurfaceEdges:
    case Case::kBodyEdges:
    case Case::kBodyFaces: {
      const int32_t target = how == Case::kSurfaceEdges ? kTargetPlaneEdges
                             : how == Case::kBodyEdges  ? kTargetSolidEdges
                                                        : kTargetSolidFaces;
      int32_t count = 0;
      if (how == Case::kBodyFaces) {
        NDSRF(number, count, scratch, static_cast<int32_t>(scratch.size()), status);
      } else {
        NDLIN(number, count, scratch, static_cast<int32_t>(scratch.size()), status);
      }
      if (status != kDone) return;
      if (count <= 0) {
        status = kNoCarrier;
        return;
      }
      const NodeFlags on(std::span<const int32_t>(scratch).first(static_cast<size_t>(count)));
      // The carrier's element type word as a solid shape code.
      int32_t solidShape = 0;
      if (carrier == kKindBody) {
        RECIO(kRead, kArrBodies, id, ENTBUF.body);
        solidShape = ENTBUF.body[kBodyTypeWord - 1] % 100 + 10;
      }
      const SolidClass sc = solidClassOf(solidShape);
      // The corner positions of the carrier's solid, the same for each of its elements.
      std::array<bool, kElementNodes + 1> corner{};
      for (int32_t p = 1; p <= kElementNodes; ++p) {
        corner[static_cast<size_t>(p)] = solidCorner(solidShape, p, how == Case::kBodyFaces);
      }
      const int32_t offset = elementOffset();
      int32_t callMode = 0;
      const int32_t held = elementsHeld();
      for (int32_t e = std::max(first, 1); e <= last && e <= held; ++e) {
        Element el;
        if (!readElement(e, el)) continue;
        int32_t onCount = 0;
        if (how == Case::kSurfaceEdges) {
          std::array<int32_t, kOrderNodes> walk{};
          int32_t stat = 0;
          ELRORD(std::span<const int32_t>(el.nodes).first(static_cast<size_t>(el.count)), el.shape,
                 walk, stat);
          if (stat != 0) continue;
          const int32_t boundary = el.count - (el.shape == kQU9 ? 1 : el.shape == kTR15 ? 3 : 0);
          for (int32_t p = 1; p <= boundary; ++p) onCount += on.contains(walk[static_cast<size_t>(p - 1)]) ? 1 : 0;
        } else {
          for (int32_t p = 1; p <= el.count; ++p) {
            if (corner[static_cast<size_t>(p)]) onCount += on.contains(el.nodes[static_cast<size_t>(p - 1)]) ? 1 : 0;
          }
        }
        const bool candidate = how == Case::kBodyFaces
                                   ? onCount > 2 && !(onCount == 3 && sc.corners == 8)
                                   : onCount > 1;
        if (!candidate) continue;
        FaceList faces{};
        int32_t fc = 0, st = 0;
        const int32_t host = clampWord(int64_t{e} + offset);
        UEFAC2(callMode, host, el.shape, kind, number, rkind, rnumber, target, count, work, room,
               kFaceSearchElements, faces, fc, st);
        callMode = 1;
        if (st != kDone) continue;
        if (static_cast<int32_t>(listed.size()) == limit) {
          status = kFull;
          return;
        }
        listed.push_back(e);
      }
      if (listed.empty()) break;
      // The face of the first listed element, asked once more.
      Element el;
      if (!readElement(listed.front(), el)) {
        status = kNoCarrier;
        return;
      }
      FaceList faces{};
      int32_t fc = 0, st = 0;
      UEFAC2(1, clampWord(int64_t{listed.front()} + offset), el.shape, kind, number, rkind,
             rnumber, target, count, work, room, kFaceSearchElements, faces, fc, st);
      face = how == Case::kBodyEdges ? -faces[0] : faces[0];
      std::array<int32_t, kMaxLocalList> local{};
      int32_t n = 0;
      LOCTOP(el.shape, face, kEdgeWalk, local, n, st);
      if (st != 0) n = 0;
      faceNodeCount = n;
      std::copy_n(local.begin(), std::min<size_t>(static_cast<size_t>(n), faceNodes.size()),
                  faceNodes.begin());
      if (how == Case::kSurfaceEdges) {
        orientation = 0;
        break;
      }
      std::array<int32_t, kOrderNodes> walk{}, turned{};
      int32_t stat = 0;
      ELRORD(std::span<const int32_t>(el.nodes).first(static_cast<size_t>(el.count)), el.shape, walk,
             stat);
      for (int32_t k = 0; k < el.count; ++k) {
        walk[static_cast<size_t>(k)] = clampWord(int64_t{walk[static_cast<size_t>(k)]} + nodeOffset());
      }
      int32_t reversed = 0;
      NODORD(el.shape, walk, el.count, 1, turned, reversed);
      orientation = reversed != 0 ? -1 : 1;
      if (how == Case::kBodyFaces && (face == 1 || face == 2) && orientation == -1) {
        // The corners turned the other way round after the first.
        const SolidClass ec = solidClassOf(el.shape);
        const int32_t corners = ec.corners == 8 ? 4 : 3;
        const auto span = std::min<size_t>(static_cast<size_t>(n), faceNodes.size());
        if (static_cast<size_t>(corners) <= span) {
          std::reverse(faceNodes.begin() + 1, faceNodes.begin() + corners);
          if (el.shape >= 49 && el.shape <= 51 && span > static_cast<size_t>(corners)) {
            std::reverse(faceNodes.begin() + corners, faceNodes.begin() + static_cast<std::ptrdiff_t>(span));
          }
        }
      }
      break;
    }
    case Case::kNone:
      break;
  }
  if (status != kDone) return;

  // 6. The elements in the host's numbering.
  if (listed.empty()) {
    status = kNoCarrier;
    return;
  }
  for (size_t k = 0; k < listed.size(); ++k) work[k] = clampWord(int64_t{listed[k]} + elementOffset());
  elementCount = static_cast<int32_t>(listed.size());
}

}  // namespace kvr
