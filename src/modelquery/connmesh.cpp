// CONMSH: the mesh along a line, which the chain builder of the connections asks for
// every line of a chain: the line's own elements, or those elements of the first surface
// bounded by the line that have two or more nodes on it.
#include <algorithm>
#include <array>
#include <unordered_set>
#include <vector>

#include "modeldb/elnord.h"
#include "modeldb/entrec.h"
#include "modelquery/adjqry.h"
#include "modelquery/connect.h"
#include "modelquery/facsel.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "runtime/modcnt.h"

namespace kvr {
namespace {

constexpr int32_t kDone = 0;
constexpr int32_t kOutOfRange = 1;
constexpr int32_t kNoElements = 3;
constexpr int32_t kFull = 9;
constexpr int32_t kLineKind = 2;
constexpr int32_t kSurfaceKind = 3;
constexpr int32_t kQU9 = 10;
constexpr int32_t kTR15 = 27;
constexpr int32_t kFirstInterfaceLine = 43;  // IL32 to IL55 list their ends first too
constexpr int32_t kLastInterfaceLine = 46;
constexpr int32_t kPositions = 9;

// An element's nodes in the order of the queries (ELCONN, then ELRORD).
struct Element {
  std::array<int32_t, kElementNodes> nodes{};
  int32_t count = 0;
  int32_t shape = 0;
};
bool readElement(int32_t e, Element& el) {
  std::array<int32_t, kElementNodes> stored{};
  int32_t stat = 0;
  ELCONN(e, stored, el.count, el.shape, stat);
  if (stat != 0) return false;
  ELRORD(std::span<const int32_t>(stored).first(static_cast<size_t>(el.count)), el.shape, el.nodes, stat);
  return stat == 0;
}

// The nodes an element's local positions set aside from the line: the centre node of
// QU9 and the three interior nodes of TR15, the last in their node lists.
int32_t setAside(int32_t shape) {
  if (shape == kQU9) return 1;
  if (shape == kTR15) return 3;
  return 0;
}

}  // namespace

void CONMSH(const int32_t& kind, const int32_t& id, int32_t& okind, int32_t& onum,
            int32_t& count, std::span<int32_t, 9> positions, int32_t& face, int32_t& word,
            int32_t& elements, std::span<int32_t> list, const int32_t& capacity,
            int32_t& status) {
  // 1. Nothing is written for a refused call.
  if (kind != kLineKind || !entityHeld(kArrLines, kLineWords, id, MODCNT.word(kCntLines))) {
    status = kOutOfRange;
    return;
  }
  if (capacity < kMeshCapacity) {
    status = kFull;
    return;
  }
  count = face = elements = 0;
  word = 1;
  std::fill(positions.begin(), positions.end(), 0);
  okind = kind;
  onum = id;
  // The upper half of the capacity is the line's node scratch: at most 40000 elements.
  const auto room = static_cast<int32_t>(std::min<int64_t>(
      {kMeshElementsMax, capacity, static_cast<int64_t>(list.size())}));
  std::vector<int32_t> listed;

  // 2. The line's own elements, their first element's nodes the ends first.
  int32_t first = 0, last = 0, sub = 0;
  ELRNGL(id, first, last, sub);
  if (first > 0) {
    if (int64_t{last} - first + 1 > room) {
      status = kFull;
      return;
    }
    for (int32_t e = first; e <= last; ++e) listed.push_back(e);
    Element el;
    if (!listed.empty()) {
      if (!readElement(first, el)) {
        status = kNoElements;
        return;
      }
      count = el.count;
      const int32_t n = std::min(el.count, kPositions);
      if (n >= 1) positions[0] = 1;
      if (n >= 2) positions[1] = el.count;
      for (int32_t k = 3; k <= n; ++k) positions[static_cast<size_t>(k - 1)] = k - 1;
    }
  } else {
    // Else the first surface the line bounds, and those of its elements with two or
    // more nodes on the line.
    int32_t surface = 0;
    // Only the surfaces the store holds: a damaged count would make the walk run on.
    for (int32_t s = 1;
         surface == 0 && entityHeld(kArrSurfaces, kSurfaceWords, s, MODCNT.word(kCntSurfaces));
         ++s) {
      if (lineWaysOnSurface(id, s) > 0) surface = s;
    }
    if (surface == 0) {
      status = kNoElements;
      return;
    }
    okind = kSurfaceKind;
    onum = surface;
    std::vector<int32_t> lineNodes(static_cast<size_t>(std::max(highestNode(), 1)));
    int32_t n = 0, stat = 0;
    NDLIN(id, n, lineNodes, static_cast<int32_t>(lineNodes.size()), stat);
    const std::unordered_set<int32_t> onLine(lineNodes.begin(),
                                             lineNodes.begin() + std::clamp<int64_t>(n, 0, static_cast<int64_t>(lineNodes.size())));
    ELRNGS(surface, first, last, sub);
    for (int32_t e = first; e >= 1 && e <= last; ++e) {
      Element el;
      if (!readElement(e, el)) {
        status = kNoElements;
        return;
      }
      const int32_t considered = el.count - setAside(el.shape);
      std::vector<int32_t> on;
      for (int32_t p = 1; p <= considered; ++p) {
        if (onLine.contains(el.nodes[static_cast<size_t>(p - 1)])) on.push_back(p);
      }
      if (on.size() < 2) continue;
      if (static_cast<int64_t>(listed.size()) == room) {
        status = kFull;
        return;
      }
      listed.push_back(e);
      if (listed.size() > 1) continue;
      // The first listed element: its positions on the line, the two ends first.
      count = static_cast<int32_t>(on.size());
      if (on.size() >= 3 && (on.back() != considered ||
                             (el.shape >= kFirstInterfaceLine && el.shape <= kLastInterfaceLine))) {
        std::rotate(on.begin() + 1, on.end() - 1, on.end());
      }
      std::copy_n(on.begin(), std::min<size_t>(on.size(), kPositions), positions.begin());
    }
    // 3. The face or edge those positions make up.
    if (!listed.empty()) {
      Element el;
      if (!readElement(listed.front(), el)) {
        status = kNoElements;
        return;
      }
      std::array<int32_t, kMarkedPositions> marked{};
      std::copy(positions.begin(), positions.end(), marked.begin());
      int32_t orientation = 0, fs = 0;
      FACSEL(std::span<const int32_t>(el.nodes).first(static_cast<size_t>(el.count)), el.count,
             el.shape, count, marked, face, orientation, fs);
      word = orientation;
    }
  }

  // 4. The elements in the host's numbering.
  if (listed.empty()) {
    status = kNoElements;
    return;
  }
  for (size_t k = 0; k < listed.size(); ++k) list[k] = clampWord(int64_t{listed[k]} + elementOffset());
  elements = static_cast<int32_t>(listed.size());
  status = kDone;
}

}  // namespace kvr
