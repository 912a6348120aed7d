// DBLEVL: the database session block.
//
// The words held here so far:
//  - the record-layout word: the type code of the open database (0 while none is open);
//    5000 selects the long element-entry layout that ELTBLD builds;
//  - the page-buffer slots of the dataset loaders: the loaders keep up to two data-file
//    pages in one work buffer of 2 x P words. Per slot (1 and 2) the offset of the slot's
//    first word in the buffer (1 and P + 1), the page held (0 none; negative: held and
//    modified, to be written back before the slot takes another page) and its class;
//  - the current data page size P, which the loaders read.
//
// Everything is 0 at load; PAGSET sets the page-buffer words whenever the data page size
// is set.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct DbLevl {
  static constexpr int32_t kBufferSlots = 2;

  int32_t recordLayout = 0;  // type code of the open database
  int32_t dataPageSize = 0;  // P, the data-file page size in words
  std::array<int32_t, kBufferSlots> slotOffsets{};  // first word of each slot in the buffer
  std::array<int32_t, kBufferSlots> heldPages{};    // page held; negative when modified
  std::array<int32_t, kBufferSlots> heldClasses{};  // class of the page held

  // Words of page-buffer slot S (1 or 2).
  int32_t& slotOffset(int32_t s) { return slotOffsets[index(s)]; }
  int32_t& heldPage(int32_t s) { return heldPages[index(s)]; }
  int32_t& heldClass(int32_t s) { return heldClasses[index(s)]; }

  static constexpr bool isBufferSlot(int32_t s) { return s >= 1 && s <= kBufferSlots; }

 private:
  static size_t index(int32_t s) { return static_cast<size_t>(s - 1); }
};

inline DbLevl DBLEVL;

}  // namespace kvr
