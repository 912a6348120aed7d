// The set member writers SETSRF and SETLIN, the chained list store FACSRC with its
// cursor, and PNTELM.
#include "modelquery/setlst.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <unordered_set>
#include <vector>

#include "modeldb/arrreg.h"
#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "modeldb/setrec.h"
#include "modelquery/qrydata.h"
#include "modelquery/setqry.h"
#include "runtime/modcnt.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kWrite = -1;
constexpr int32_t kIntegers = -1;
constexpr int32_t kFailed = 1;
constexpr int32_t kKindLine = 2;
constexpr int32_t kKindSurface = 3;
constexpr int32_t kPointElementShape = 20;
constexpr int32_t kPointElementWord = 5;

int32_t magnitude(int32_t v) {
  return v == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max()
                                                  : std::abs(v);
}

// ---- Set member writers ---------------------------------------------------------------

// The writer of both: the members of KIND (2 lines, 3 surfaces) of stored set |SET| with
// direction S into the search work array from POSITION on.
void writeSetMembers(int32_t set, int32_t& position, int32_t kind, int32_t s) {
  const int32_t first = position;
  if (first < 1) return;
  position = first - 1;
  const int32_t stored = magnitude(set);
  SetRec r;
  if (SETEXS(stored) == 0 || !recordsHeld(kArrSets, stored, stored)) return;
  RECIO(kRead, kArrSets, stored, r.words);

  const bool pairKinds = SETMXD(r.word(kSetType));
  if (!pairKinds && r.word(kSetKind) != kind) return;
  int32_t at = first - 1;
  walkSetPairs(r, [&](int32_t word, int32_t member) {
    int64_t value = int64_t{s} * member;
    if (pairKinds) {
      if (word != kind) return true;
    } else if (kind == kKindSurface) {
      if (word < 0) value = -value;
    } else {
      value *= word;
    }
    if (kind == kKindLine && entityHeld(kArrLines, kLineWords, member, MODCNT.word(kCntLines)) &&
        LNG07B(member) == kCompositeLine) {
      return true;
    }
    // The array grows one word at a time; the set walk bounds how far.
    if (at == std::numeric_limits<int32_t>::max()) return false;
    int32_t v = clampWord(value);
    NAWORD(kWrite, kArrSearchWork, ++at, v);
    return true;
  });
  position = at;

  if (s > 0) return;
  for (int32_t a = first, b = at; a < b; ++a, --b) {
    int32_t x = 0;
    int32_t y = 0;
    NAWORD(kRead, kArrSearchWork, a, x);
    NAWORD(kRead, kArrSearchWork, b, y);
    NAWORD(kWrite, kArrSearchWork, a, y);
    NAWORD(kWrite, kArrSearchWork, b, x);
  }
}

// ---- The chained list store -------------------------------------------------------------

// The reading cursor: the list started, the current block, its entry count, the entries
// of it read so far, and the entries read since the start.
struct ListCursor {
  int32_t start = 0;
  int32_t block = 0;
  int32_t entries = 0;
  int32_t offset = 0;
  int32_t consumed = 0;
};

ListCursor gCursor;

// Word access to array 17 that never asks the store for a word it does not hold.
bool listWord(int32_t position, int32_t& value) {
  if (!recordsHeld(kArrListStore, position, position)) return false;
  int32_t stat = 0;
  ARRIO(kRead, kArrListStore, position, 1, kIntegers, std::span<int32_t>(&value, 1), {}, stat);
  return true;
}

bool putListWord(int32_t position, int32_t value) {
  if (!recordsHeld(kArrListStore, position, position)) return false;
  int32_t stat = 0;
  ARRIO(kWrite, kArrListStore, position, 1, kIntegers, std::span<int32_t>(&value, 1), {}, stat);
  return true;
}

// A block of a ring: its position, the next block, the header's sign, the position of
// its first entry and its entry count.
struct Block {
  int32_t at = 0;
  int32_t next = 0;
  bool single = true;
  int32_t firstEntry = 0;
  int32_t entries = 0;
  int32_t words() const { return single ? 2 : 2 + entries; }
};

// The block at AT; false when the store does not hold its header and count.
bool readBlock(int32_t at, Block& b) {
  int32_t header = 0;
  if (!listWord(at, header)) return false;
  b.at = at;
  b.next = magnitude(header);
  b.single = header > 0;
  if (b.single) {
    b.firstEntry = at + 1;
    b.entries = 1;
    return recordsHeld(kArrListStore, b.firstEntry, b.firstEntry);
  }
  int32_t k = 0;
  if (at == std::numeric_limits<int32_t>::max() || !listWord(at + 1, k)) return false;
  b.firstEntry = at + 2;
  b.entries = std::max(k, 0);
  return true;
}

// The words a walk may visit: as many as array 17 holds. A ring that has not come back
// by then is damaged.
int64_t walkBudget() { return REGHED.ARRLEN(kArrListStore); }

// Calls VISIT(block) for every block of the ring at START, first block first; false when
// a block cannot be read or the ring does not come back within the budget.
template <typename Visit>
bool walkRing(int32_t start, Visit visit) {
  int64_t budget = walkBudget();
  int32_t at = start;
  do {
    Block b;
    if (!readBlock(at, b)) return false;
    budget -= b.words();
    if (budget < 0) return false;
    if (!visit(b)) return true;
    at = b.next;
  } while (at != start);
  return true;
}

// Allocates a block of the COUNT entries of VALUES at the end of array 17, its header
// pointing to NEXT (its own position when NEXT is 0); answers its position.
int32_t newBlock(int32_t count, std::span<const int32_t> values, int32_t next) {
  const int32_t words = count == 1 ? 2 : count + 2;
  int32_t at = 0;
  int32_t stat = 0;
  ARRALC(kArrListStore, words, at, stat);
  const int32_t target = next == 0 ? at : next;
  std::vector<int32_t> block;
  block.reserve(static_cast<size_t>(words));
  if (count == 1) {
    block = {target, values[0]};
  } else {
    block = {-target, count};
    block.insert(block.end(), values.begin(), values.begin() + count);
  }
  ARRIO(kWrite, kArrListStore, at, words, kIntegers, block, {}, stat);
  return at;
}

void listStart(int32_t position, int32_t& countOut, int32_t& status) {
  Block b;
  if (!readBlock(position, b)) {
    status = kFailed;
    return;
  }
  gCursor = {position, position, b.entries, 0, 0};
  countOut = 0;
}

void listRead(int32_t count, std::span<int32_t> values, int32_t& countOut, int32_t& status) {
  if (gCursor.start == 0) {
    status = kFailed;
    return;
  }
  const ListCursor kept = gCursor;
  const int32_t wanted = std::clamp<int32_t>(count, 0, static_cast<int32_t>(values.size()));
  int64_t budget = walkBudget();
  Block b;
  if (!readBlock(gCursor.block, b)) {
    status = kFailed;
    return;
  }
  int32_t n = 0;
  while (n < wanted) {
    if (gCursor.offset >= gCursor.entries) {
      // The current block is read: on to the next, unless the ring is back at its start.
      budget -= b.words();
      if (b.next == gCursor.start) {
        countOut = -1;
        return;
      }
      if (budget < 0 || !readBlock(b.next, b)) {
        gCursor = kept;
        status = kFailed;
        return;
      }
      gCursor.block = b.at;
      gCursor.entries = b.entries;
      gCursor.offset = 0;
      continue;
    }
    int32_t entry = 0;
    if (!listWord(b.firstEntry + gCursor.offset, entry)) {
      gCursor = kept;
      status = kFailed;
      return;
    }
    values[static_cast<size_t>(n++)] = entry;
    ++gCursor.offset;
    ++gCursor.consumed;
  }
  const auto end = std::remove(values.begin(), values.begin() + n, 0);
  countOut = static_cast<int32_t>(end - values.begin());
}

void listWrite(int32_t& position, int32_t count, std::span<const int32_t> values, int32_t& status) {
  if (count < 0 || count > static_cast<int32_t>(values.size())) {
    status = kFailed;
    return;
  }
  if (position <= 0) {
    position = newBlock(count, values, 0);
    return;
  }
  Block last;
  if (!walkRing(position, [&](const Block& b) {
        last = b;
        return true;
      })) {
    status = kFailed;
    return;
  }
  int32_t header = 0;
  listWord(last.at, header);
  const int32_t at = newBlock(count, values, position);
  putListWord(last.at, header > 0 ? at : -at);
}

void listRemove(int32_t position, int32_t count, std::span<const int32_t> values, int32_t& status) {
  if (position < 1 || count < 1) {
    status = kFailed;
    return;
  }
  const std::unordered_set<int32_t> gone(
      values.begin(), values.begin() + std::min<size_t>(static_cast<size_t>(count), values.size()));
  std::vector<int32_t> cleared;
  const bool whole = walkRing(position, [&](const Block& b) {
    for (int32_t k = 0; k < b.entries; ++k) {
      int32_t entry = 0;
      if (!listWord(b.firstEntry + k, entry)) return false;
      if (entry != 0 && gone.contains(entry)) cleared.push_back(b.firstEntry + k);
    }
    return true;
  });
  // A ring that cannot be walked to its end is left as it was.
  if (!whole) {
    status = kFailed;
    return;
  }
  for (const int32_t at : cleared) putListWord(at, 0);
}

void listReread(int32_t count, std::span<int32_t> values, int32_t& countOut, int32_t& status) {
  Block b;
  if (gCursor.start == 0 || !readBlock(gCursor.block, b)) {
    status = kFailed;
    return;
  }
  const int32_t n =
      std::clamp<int32_t>(std::min(count, gCursor.offset), 0, static_cast<int32_t>(values.size()));
  for (int32_t k = 0; k < n; ++k) {
    int32_t entry = 0;
    if (!listWord(b.firstEntry + gCursor.offset - n + k, entry)) {
      status = kFailed;
      return;
    }
    values[static_cast<size_t>(k)] = entry;
  }
  countOut = n;
}

}  // namespace

void SETSRF(int32_t set, int32_t& position) {
  writeSetMembers(set, position, kKindSurface, set < 0 ? -1 : 1);
}

void SETLIN(int32_t set, int32_t& position) {
  writeSetMembers(set, position, kKindLine, set <= 0 ? -1 : 1);
}

void FACSRC(int32_t operation, int32_t& position, int32_t count, std::span<int32_t> values,
            int32_t& countOut, int32_t& status) {
  status = 0;
  switch (operation) {
    case kListStart:
      listStart(position, countOut, status);
      break;
    case kListRead:
      listRead(count, values, countOut, status);
      break;
    case kListWrite:
      listWrite(position, count, values, status);
      break;
    case kListRemove:
      listRemove(position, count, values, status);
      break;
    case kListReread:
      listReread(count, values, countOut, status);
      break;
    default:
      status = kFailed;
      break;
  }
}

void resetListCursor() { gCursor = {}; }

void PNTELM(int32_t point, int32_t& first, int32_t& last, int32_t& type) {
  first = 0;
  last = 0;
  type = 0;
  if (!entityHeld(kArrPoints, kPointWords, point, MODCNT.word(kCntPoints))) return;
  RECIO(kRead, kArrPoints, point, ENTBUF.point);
  const int32_t w = magnitude(ENTBUF.point[kPointElementWord - 1]);
  if (w > highestElement()) return;
  first = w;
  last = w;
  type = kPointElementShape;
}

}  // namespace kvr
