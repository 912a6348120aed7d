// The member counts of the last set sorted, which the set queries write and the surface
// topology reads, and the named array of the searches' work, which both fill.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

// SETCNT: the member counts by kind of the set that SETMBR sorted last. Word 1 is the
// index word of the face and adjacency searches and words 9 and 10 belong to them too;
// SETMBR writes words 2 to 8.
struct SetCnt {
  static constexpr int32_t kWords = 10;
  std::array<int32_t, kWords> words{};
  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
};

inline constexpr int32_t kSetCntPoints = 2;
inline constexpr int32_t kSetCntLines = 3;       // lines other than composite lines
inline constexpr int32_t kSetCntComposites = 4;  // composite lines
inline constexpr int32_t kSetCntSurfaces = 5;
inline constexpr int32_t kSetCntNone = 6;        // always 0
inline constexpr int32_t kSetCntBodies = 7;
inline constexpr int32_t kSetCntCleared = 8;

inline SetCnt SETCNT;

// The work array of the face and adjacency searches.
inline constexpr int32_t kArrSearchWork = 21;

}  // namespace kvr
