// SLTTAB: the window-slot table of the display state. Each of the 20 window slots keeps
// the display state and the named-array registry of one window; a slot is in use while
// its key word is non-zero.
//
// Only the key words are declared so far; the slot ages, the further per-slot words, the
// slot count and the current window-slot word belong here too. The block is zero at load.
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

  std::array<int32_t, kSlots> keys{};
};

inline SlotTable SLTTAB{};

}  // namespace kvr
