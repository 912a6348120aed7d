// MODCNT: the model size counts, 93 INTEGER words: per entity kind the number of entities
// and of deleted ones, the highest node and element numbers, the numbering offsets and
// further limits and state words. Zero at load; reset at start-up, filled by the model
// load and the entity setters, and read everywhere.
#pragma once

#include <array>
#include <cstdint>

namespace kvr {

struct ModCnt {
  static constexpr int32_t kWords = 93;
  std::array<int32_t, kWords> words{};

  int32_t& word(int32_t k) { return words[static_cast<size_t>(k - 1)]; }
};

inline constexpr int32_t kCntHighestNode = 10;
inline constexpr int32_t kCntHighestElement = 11;
inline constexpr int32_t kCntNodeOffset = 61;     // external node = internal + offset
inline constexpr int32_t kCntElementOffset = 62;  // external element = internal + offset

inline ModCnt MODCNT;

}  // namespace kvr
