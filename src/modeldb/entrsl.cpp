// Entity node selection and flag merge.
#include "modeldb/entrsl.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <unordered_set>

#include "modeldb/attlst.h"
#include "modeldb/entrec.h"
#include "modeldb/setrec.h"
#include "runtime/modcnt.h"
#include "runtime/msgarg.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kSetKindCode = 7;
constexpr int32_t kNodeKindCode = 8;
constexpr int32_t kTooManyNodes = 2025;
constexpr int32_t kNoMesh = 1;  // MODCNT word 57 of a model without packed lists

// The node collector of entity KIND 1..4; nullptr for any other kind.
NodeCollector collectorOf(int32_t kind) {
  switch (kind) {
    case 1:
      return DSCDSP.pointNodes;
    case 2:
      return DSCDSP.lineNodes;
    case 3:
      return DSCDSP.surfaceNodes;
    case 4:
      return DSCDSP.bodyNodes;
    default:
      return nullptr;
  }
}

// Removes duplicates from a growing list as LSTUNQ does from the whole of it: the front
// already made unique is remembered, so each node is looked at once however often the
// list is cut back.
class UniqueFront {
 public:
  int32_t apply(std::span<int32_t> list, int32_t count) {
    for (int32_t i = kept_; i < count; ++i) {
      const int32_t node = list[static_cast<size_t>(i)];
      if (seen_.insert(node).second) list[static_cast<size_t>(kept_++)] = node;
    }
    return kept_;
  }

 private:
  std::unordered_set<int32_t> seen_;
  int32_t kept_ = 0;
};

int32_t clampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

void ENTRSL(int32_t kind, int32_t number, std::span<int32_t> list, int32_t capacity,
            int32_t& count, int32_t& none) {
  count = 0;
  none = 1;
  if (MODCNT.word(kCntPackedListEnd) == kNoMesh) return;
  const auto room = static_cast<int32_t>(
      std::clamp<int64_t>(capacity, 0, static_cast<int64_t>(list.size())));
  if (kind == kNodeKindCode) {
    if (room < 1) return;
    const int64_t node = int64_t{number} - MODCNT.word(kCntNodeOffset);
    list[0] = clampToInt32(node);
    if (node >= 1 && node <= MODCNT.word(kCntHighestNode)) {
      count = 1;
      none = 0;
    }
    return;
  }
  NodeCollector collect = collectorOf(kind);
  if (collect == nullptr && kind != kSetKindCode) return;
  // A collector given no room would still write the first node past the list.
  if (room < 1) return;
  none = 0;
  int32_t stat = 0;
  if (kind == kSetKindCode) {
    SETNDL(number, count, list, room, stat);
  } else {
    collect(number, count, list.first(static_cast<size_t>(room)), room, stat);
    count = std::min(count, room);
  }
  if (count <= 0) none = 1;
}

void SETNDL(int32_t number, int32_t& count, std::span<int32_t> list, int32_t capacity,
            int32_t& stat) {
  count = 0;
  if (number == std::numeric_limits<int32_t>::min()) return;
  const int32_t set = std::abs(number);
  // A set within the count whose record the store does not hold is no set.
  if (ENTEXS(set, kSetKindCode) == 0 || set > setsHeld()) return;
  SetRec r;
  RECIO(kRead, kArrSets, set, r.words);
  const int32_t type = std::abs(r.word(kSetType));
  const bool kindFromPair = type == 1 || type == 2 || type == 6;
  const std::span<int32_t> room = list.first(static_cast<size_t>(
      std::clamp<int64_t>(capacity, 0, static_cast<int64_t>(list.size()))));
  const int64_t bound = MODCNT.word(kCntNodeListBound);
  UniqueFront unique;
  auto tooMany = [&] {
    MSGENT(-kTooManyNodes, set, kSetKindCode);
    MSGQRL(kTooManyNodes, clampToInt32(4 * bound));
  };

  // The shared walk ends at the blocks the store holds: a damaged chain or word 54 cannot
  // make it read a block that is not there.
  bool full = false;
  walkSetPairs(r, [&](int32_t first, int32_t member) {
    const int32_t kind = kindFromPair ? first : r.word(kSetKind);
    NodeCollector collect = collectorOf(kind);
    if (collect != nullptr && ENTEXS(member, kind) != 0) {
      const int64_t left = static_cast<int64_t>(room.size()) - count - 1;
      // With no room left a collector would still write its first node past the list.
      if (left < 1) {
        full = true;
        return false;
      }
      int32_t n = 0;
      collect(member, n, room.subspan(static_cast<size_t>(count)), static_cast<int32_t>(left),
              stat);
      if (stat == 0) count += static_cast<int32_t>(std::clamp<int64_t>(n, 0, left));
    }
    if (count > 3 * bound) {
      count = unique.apply(room, count);
      full = count > 4 * bound;
    }
    return !full;
  });
  if (full) {
    tooMany();
    return;
  }
  count = unique.apply(room, count);
}

void FLGMRG(int32_t& word, int32_t mask) {
  constexpr uint32_t kFlagBits = 0x7FFFFFFFu;
  auto w = static_cast<uint32_t>(word);
  const auto m = static_cast<uint32_t>(mask);
  if (mask > 0) {
    w |= m;
  } else if (mask < 0) {
    // The magnitude taken unsigned: -2147483648 has none as an int32.
    w &= ~(0u - m);
  }
  word = static_cast<int32_t>(w & kFlagBits);
}

}  // namespace kvr
