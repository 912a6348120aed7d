// Entity node lists: NDPNT, NDLIN, NDSRF, NDBOD and the host's node query UNODEG.
//
// A line or surface keeps its nodes in a packed list of named array 23 (a line of type 4
// as a range of node numbers), a type-99 line or surface and every body in the
// connectivity of the elements of its mesh. The collectors append node by node: while the
// list has room a node goes at its end (duplicates too); a full list is first cut to its
// distinct nodes, and a node that finds no room even then ends the collection with status
// 9, unless it is among them already. A collection from elements stops with message 0025
// as soon as it holds more than L/2 distinct nodes (L the node limit, MODCNT word 16).
#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <unordered_set>

#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "modeldb/nodcol.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "modelquery/setqry.h"
#include "runtime/msgarg.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kTooSmall = 9;
constexpr int32_t kBadKind = 1;
constexpr int32_t kMessagePosted = 2;
constexpr int32_t kNoNode = 3;
constexpr int32_t kNoList = 99;     // the line type and surface type of a mesh-only entity
constexpr int32_t kRangeLine = 4;   // the line type whose nodes are a range of numbers
constexpr int32_t kTooManyNodes = 2025;
constexpr int32_t kKindLine = 2;
constexpr int32_t kKindSurface = 3;
constexpr int32_t kKindBody = 4;

int32_t magnitude(int32_t v) {
  return v == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max()
                                                  : std::abs(v);
}

// The list being collected: LIST(1..COUNT) within SIZE (held to what LIST holds). The
// cut to distinct nodes remembers the front it has already cut, so each node is looked
// at once however often a full list is cut again.
class NodeList {
 public:
  NodeList(std::span<int32_t> list, int32_t size, int32_t& count, int32_t& status)
      : list_(list),
        size_(static_cast<int32_t>(std::clamp<int64_t>(size, 0, static_cast<int64_t>(list.size())))),
        count_(count),
        status_(status) {
    count_ = 0;
    status_ = 0;
  }

  // Appends NODE; false when it finds no room (status 9, count 0): the collection ends.
  bool append(int32_t node) {
    if (count_ < size_) {
      list_[static_cast<size_t>(count_++)] = node;
      return true;
    }
    compact();
    if (count_ < size_) {
      list_[static_cast<size_t>(count_++)] = node;
      return true;
    }
    if (seen_.contains(node)) return true;
    status_ = kTooSmall;
    count_ = 0;
    return false;
  }

  // The list cut to its distinct nodes, each kept where it first stood.
  void compact() {
    for (int32_t i = kept_; i < count_; ++i) {
      const int32_t node = list_[static_cast<size_t>(i)];
      if (seen_.insert(node).second) list_[static_cast<size_t>(kept_++)] = node;
    }
    count_ = kept_;
  }

  int32_t count() const { return count_; }
  bool failed() const { return status_ != 0; }
  void fail(int32_t status) {
    status_ = status;
    count_ = 0;
  }

 private:
  std::span<int32_t> list_;
  int32_t size_;
  int32_t& count_;
  int32_t& status_;
  std::unordered_set<int32_t> seen_;
  int32_t kept_ = 0;
};

// Appends the nodes of elements FIRST..LAST of the mesh of entity NUMBER of KIND. A range
// that starts below 1 or above the highest element is no mesh: nothing. An element that
// cannot be read is passed over, but when it is the last of the range the collection
// ends with its status and count 0. More than L/2 distinct nodes end it with message
// 0025 naming the entity, the nodes gathered so far kept.
void collectElements(int32_t number, int32_t kind, int32_t first, int32_t last, NodeList& nodes) {
  if (first < 1 || first > highestElement() || first > last) return;
  const int32_t limit = nodeLimit();
  const int32_t half = limit / 2;
  const int32_t top = std::min(last, elementsHeld());
  std::array<int32_t, kElementNodes> element{};
  int32_t stat = 0;
  for (int32_t e = first; e <= top; ++e) {
    int32_t nnod = 0;
    int32_t shape = 0;
    ELCONN(e, element, nnod, shape, stat);
    if (stat != 0) continue;
    for (int32_t i = 0; i < nnod; ++i) {
      if (!nodes.append(element[static_cast<size_t>(i)])) return;
    }
    if (nodes.count() >= half) {
      nodes.compact();
      if (nodes.count() > half) {
        MSGENT(-kTooManyNodes, number, kind);
        MSGQRL(kTooManyNodes, limit);
        return;
      }
    }
  }
  // Elements beyond the highest, or beyond the records the store holds, cannot be read.
  if (last > top) stat = 1;
  if (stat != 0) {
    nodes.fail(stat);
    return;
  }
  nodes.compact();
}

// Appends the entries of the packed list at POS, at most L of them, up to the first
// entry that is 0 or above the highest node. True when L entries were taken without
// such an end.
bool appendList(int32_t pos, NodeList& nodes) {
  std::array<int32_t, kListBlockWords> block{};
  int32_t value = -1;  // the first entry reads its block
  const int32_t limit = nodeLimit();
  for (int32_t k = 1; k <= limit; ++k) {
    LSTNXT(pos, block, value);
    if (value == 0 || value > highestNode()) return false;
    if (!nodes.append(value)) return false;
  }
  return true;
}

// Appends the nodes A..B of a line given by a range of node numbers.
void appendRange(int32_t a, int32_t b, NodeList& nodes) {
  for (int64_t n = a; n <= b; ++n) {
    if (!nodes.append(static_cast<int32_t>(n))) return;
  }
}

// The highest number of an entity of KIND 1..4 or 7 (sets as the queries number them);
// -1 for any other kind.
int32_t highestOfKind(int32_t kind) {
  switch (kind) {
    case 1: return MODCNT.word(kCntPoints);
    case 2: return MODCNT.word(kCntLines);
    case 3: return MODCNT.word(kCntSurfaces);
    case 4: return MODCNT.word(kCntBodies);
    case 7: return std::max(MODCNT.word(kCntSets) - 1, 0);
    default: return -1;
  }
}

}  // namespace

void NDPNT(const int32_t& point, int32_t& count, std::span<int32_t> list, const int32_t& size,
           int32_t& status) {
  NodeList nodes(list, size, count, status);
  // A number that is no point collects nothing.
  if (!entityHeld(kArrPoints, kPointWords, point, MODCNT.word(kCntPoints))) return;
  RECIO(kRead, kArrPoints, point, ENTBUF.point);
  const int32_t node = magnitude(ENTBUF.point[5]);
  if (node != 0 && node <= highestNode()) nodes.append(node);
}

void NDLIN(const int32_t& line, int32_t& count, std::span<int32_t> list, const int32_t& size,
           int32_t& status) {
  NodeList nodes(list, size, count, status);
  // A number that is no line collects nothing.
  if (!entityHeld(kArrLines, kLineWords, line, MODCNT.word(kCntLines))) return;
  const int32_t type = LNG07B(line);
  if (type == kNoList) {
    collectElements(line, kKindLine, LNG08(line), LNG09(line), nodes);
    return;
  }
  std::array<int32_t, kMaxMembers> members{line};
  int32_t n = 1;
  // A composite line lists at most 20 members.
  if (type == kCompositeLine) LNG08B(line, members, n);
  for (int32_t k = 0; k < n && !nodes.failed(); ++k) {
    const int32_t member = members[static_cast<size_t>(k)];
    if (LNG07B(member) == kRangeLine) {
      appendRange(LNG05C(member), LNG06C(member), nodes);
    } else if (const int32_t pos = LNG13B(member); pos != 0) {
      appendList(magnitude(pos), nodes);
    }
  }
  if (!nodes.failed()) nodes.compact();
}

void NDSRF(const int32_t& surface, int32_t& count, std::span<int32_t> list,
           const int32_t& size, int32_t& status) {
  NodeList nodes(list, size, count, status);
  // A number that is no surface collects nothing.
  if (!entityHeld(kArrSurfaces, kSurfaceWords, surface, MODCNT.word(kCntSurfaces))) return;
  RECIO(kRead, kArrSurfaces, surface, ENTBUF.surface);
  const std::array<int32_t, kSurfaceWords> s = ENTBUF.surface;
  if (s[5] / 100 != kNoList) {
    if (s[12] == 0) return;
    // A list that ends before L entries is the surface's whole list, as it was read.
    if (!appendList(magnitude(s[12]), nodes)) return;
  }
  collectElements(surface, kKindSurface, s[6], s[7], nodes);
}

void NDBOD(const int32_t& body, int32_t& count, std::span<int32_t> list, const int32_t& size,
           int32_t& status) {
  NodeList nodes(list, size, count, status);
  // A number that is no body collects nothing.
  if (!entityHeld(kArrBodies, kBodyWords, body, MODCNT.word(kCntBodies))) return;
  RECIO(kRead, kArrBodies, body, ENTBUF.body);
  collectElements(body, kKindBody, ENTBUF.body[8], ENTBUF.body[9], nodes);
}

void UNODEG(const int32_t& kind, const int32_t& number, int32_t& count,
            std::span<int32_t> nodes, const int32_t& size, int32_t& status) {
  const auto room = static_cast<int32_t>(
      std::clamp<int64_t>(size, 0, static_cast<int64_t>(nodes.size())));
  std::span<int32_t> list = nodes.first(static_cast<size_t>(room));
  std::fill(list.begin(), list.end(), 0);
  // Status 2 reports a message of this collection only, not one posted before the call.
  MSGARG.errorFlag() = 0;
  count = 0;
  status = 0;
  // A number that is no entity of its kind is out of range.
  if (const int32_t highest = highestOfKind(kind); highest >= 0 && (number < 1 || number > highest)) {
    status = kBadKind;
    MSGARG.errorFlag() = 0;
    return;
  }
  switch (kind) {
    case 1: NDPNT(number, count, list, room, status); break;
    case 2: NDLIN(number, count, list, room, status); break;
    case 3: NDSRF(number, count, list, room, status); break;
    case 4: NDBOD(number, count, list, room, status); break;
    case 7: NDSET(clampWord(int64_t{number} + 1), count, list, room, status); break;
    case 0: {
      const int32_t n = highestNode();
      // Every node of the model must fit: nothing is written past the host's array.
      if (n > room) {
        status = kTooSmall;
        break;
      }
      count = std::max(n, 0);
      for (int32_t i = 1; i <= count; ++i) {
        list[static_cast<size_t>(i - 1)] = clampWord(int64_t{i} + nodeOffset());
      }
      break;
    }
    default:
      status = kBadKind;
      break;
  }
  if (status != 0) {
    count = 0;
    MSGARG.errorFlag() = 0;
    return;
  }
  if (MSGARG.errorFlag() != 0) status = kMessagePosted;
  if (kind == 7) {
    // The marks become the list of the marked nodes.
    const int32_t highest = std::min(count, room);
    int32_t c = 0;
    for (int32_t i = 1; i <= highest; ++i) {
      if (list[static_cast<size_t>(i - 1)] > 0) {
        list[static_cast<size_t>(c++)] = clampWord(int64_t{i} + nodeOffset());
      }
    }
    count = c;
  } else if (kind != 0) {
    for (int32_t i = 0; i < count; ++i) {
      list[static_cast<size_t>(i)] = clampWord(int64_t{list[static_cast<size_t>(i)]} + nodeOffset());
    }
  }
  if (count == 0) status = kNoNode;
  MSGARG.errorFlag() = 0;
}

}  // namespace kvr
