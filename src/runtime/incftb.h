// INCFTB: per window slot, the records of the named-array registry saved with that slot.
//
// Only the saved store file is declared so far (the store file the slot's registry keeps
// its arrays in; 0 when none was saved). The block is zero at load.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/slttab.h"

namespace kvr {

struct SlotRegistryTable {
  // Store file saved with slot S (1..20).
  int32_t& storeFile(int32_t s) { return storeFiles[static_cast<std::size_t>(s - 1)]; }
  int32_t storeFile(int32_t s) const { return storeFiles[static_cast<std::size_t>(s - 1)]; }

  std::array<int32_t, SlotTable::kSlots> storeFiles{};
};

inline SlotRegistryTable INCFTB{};

}  // namespace kvr
