// SLTTAB: the window-slot table of the display state. Each of the 20 window slots keeps
// the display state (WINSTA) and the named-array registry (INCFTB) of one window; a slot
// is in use while its key word is non-zero.
//
// Five parallel arrays of 20 words: the key (0 = free), the age (1 the slot saved last,
// higher the longer ago; 0 for a free slot) and three further per-slot words; then the
// number of slots in use, the current window-slot word and its companion word. The
// block is zero at load; the display reset (DSPRST mode 1) clears it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct SlotTable {
  static constexpr int32_t kSlots = 20;

  // Key word of slot S (1..20); 0 = free.
  int32_t& key(int32_t s) { return keys[static_cast<std::size_t>(s - 1)]; }
  int32_t key(int32_t s) const { return keys[static_cast<std::size_t>(s - 1)]; }
  int32_t& age(int32_t s) { return ages[static_cast<std::size_t>(s - 1)]; }
  // Further per-slot word W (1..3) of slot S.
  int32_t& further(int32_t w, int32_t s) {
    return furtherWords[static_cast<std::size_t>(w - 1)][static_cast<std::size_t>(s - 1)];
  }

  std::array<int32_t, kSlots> keys{};
  std::array<int32_t, kSlots> ages{};
  std::array<std::array<int32_t, kSlots>, 3> furtherWords{};
  int32_t count = 0;        // slots in use
  int32_t current = 0;      // the current window-slot word
  int32_t companion = 0;
};

inline SlotTable SLTTAB{};

}  // namespace kvr
