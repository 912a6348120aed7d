// What the queries share in reading the loaded model: the numbering offsets, the guard
// that keeps every record number taken from the host or from stored data away from the
// store unless the store holds that record (a read beyond it would end the host's run),
// and the two-word names.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "modeldb/entrec.h"
#include "runtime/ftext.h"
#include "runtime/modcnt.h"
#include "runtime/reghed.h"

namespace kvr {

inline int32_t highestNode() { return MODCNT.word(kCntHighestNode); }
inline int32_t highestElement() { return MODCNT.word(kCntHighestElement); }
inline int32_t nodeOffset() { return MODCNT.word(kCntNodeOffset); }
inline int32_t elementOffset() { return MODCNT.word(kCntElementOffset); }
// L: the most nodes collected for one entity.
inline int32_t nodeLimit() { return MODCNT.word(kCntNodeListBound); }

// V held to the int32_t range.
inline int32_t clampWord(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

// True when named array K of the registry in force holds records FIRST..LAST (FIRST at
// least 1).
inline bool recordsHeld(int32_t k, int64_t first, int64_t last) {
  return k >= 1 && k <= REGHED.top && first >= 1 && first <= last && last <= REGHED.ARRLEN(k);
}

// True when entity ID of a one-word-record array K of records WIDTH words wide lies within
// 1..COUNT and its words are held.
inline bool entityHeld(int32_t k, int32_t width, int32_t id, int32_t count) {
  return id >= 1 && id <= count &&
         recordsHeld(k, int64_t{id - 1} * width + 1, int64_t{id} * width);
}

// The highest element whose connectivity record the store holds, at most the highest
// element: a walk over an element range stops there, so that a damaged count or range
// cannot make it run longer than the stored records.
inline int32_t elementsHeld() {
  const int64_t words = int64_t{MODCNT.word(kCntElementNodes)} + 1;
  if (words < 1 || REGHED.top < kArrConnectivity) return 0;
  const int64_t held = REGHED.ARRLEN(kArrConnectivity) / words;
  return static_cast<int32_t>(std::min<int64_t>(held, std::max(highestElement(), 0)));
}

// The two name words of record ID of name array K; false (WORDS untouched) when the array
// does not hold it.
bool nameWords(int32_t k, int32_t id, std::array<int32_t, 2>& words);

// The eight characters of two name words into NAME (cut at its length).
void writeName(const std::array<int32_t, 2>& words, FText name);

// The numbers 1..COUNT that have an entry of attribute TYPE, ascending and each once: the
// numbers a walk over 1..COUNT would find entries for, read from the entries the store
// holds, so that a count from a damaged file cannot make the walk longer than the list.
std::vector<int32_t> attributeIds(int32_t type, int32_t count);

}  // namespace kvr
