// The current-entity context table: three-word entries, the first word of the table also
// holding the index of the current entry. Word 1 of an entry is the class of the entity
// being worked on; a class of 801 marks a reinforcement, for which the line and arc
// constructions word their messages for reinforcements instead of lines. No routine of
// the library fills the table, so the current entry is entry 0 and its class 0.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct CurEntTable {
  static constexpr int32_t kEntries = 16;
  static constexpr int32_t kWords = 3 * (kEntries + 1);
  std::array<int32_t, kWords> words{};

  // Word K (1..kWords).
  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
};

inline constexpr int32_t kReinforcementClass = 801;

inline CurEntTable CURTAB;

// WORD2 and WORD1 = words 2 and 1 of the current entry (words 3i + 2 and 3i + 1 of the
// table, i its first word). An index outside the table answers 0 and 0.
void CURENT(int32_t& word2, int32_t& word1);

}  // namespace kvr
