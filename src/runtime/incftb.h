// INCFTB: per window slot, the head of the named-array registry saved with that slot
// (REGHED): its set-up mode, its highest array number, the store file it keeps its arrays
// in (0 when none was saved), and the six per-array words of arrays 1 to that number. The
// block is zero at load.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/reghed.h"
#include "runtime/slttab.h"

namespace kvr {

// One saved registry head.
struct SavedRegistry {
  int32_t mode = 0;
  int32_t top = 0;
  std::array<std::array<int32_t, RegHed::kArrays>, RegHed::kArrayWords> words{};
};

struct SlotRegistryTable {
  // Store file saved with slot S (1..20).
  int32_t& storeFile(int32_t s) { return storeFiles[static_cast<std::size_t>(s - 1)]; }
  int32_t storeFile(int32_t s) const { return storeFiles[static_cast<std::size_t>(s - 1)]; }
  SavedRegistry& registry(int32_t s) { return registries[static_cast<std::size_t>(s - 1)]; }

  std::array<int32_t, SlotTable::kSlots> storeFiles{};
  std::array<SavedRegistry, SlotTable::kSlots> registries{};
};

inline SlotRegistryTable INCFTB{};

}  // namespace kvr
