// DBLEVL: the database session block.
//
// The words held here so far:
//  - the record-layout word: the type code of the open database (0 while none is open);
//    5000 selects the long element-entry layout that ELTBLD builds;
//  - the page-buffer slots of the dataset loaders: the loaders keep up to two data-file
//    pages in one work buffer of 2 x P words. Per slot (1 and 2) the offset of the slot's
//    first word in the buffer (1 and P + 1), the page held (0 none; negative: held and
//    modified, to be written back before the slot takes another page) and its class;
//  - the current data page size P, which the loaders read;
//  - the open and create words: the lock holder remembered (the process id read from or
//    written to word 18 of index page 1, 0 for none), the type code of the database
//    opened last (set as soon as its index page 1 is read, before it is checked), the
//    type code that new databases get (5006 after start-up), the data page size the host
//    asked for (0 or below: the numbered setting decides), and the user-level and
//    project-level open flags;
//  - the numbering words of the data-page accessors: the numbering mode (1: stored node
//    and element numbers are used as they are) and the node and element numbering
//    offsets that the walk over an assembly's components sets;
//  - the loader-page words that start-up sets (resetDatabaseWords): the header area H of
//    a loader-written data page (entries start at word H + 1) and the length of a node
//    entry of the nodal coordinate dataset (3w + 4, w the integer words per REAL);
//  - the words that the object lists of the command interpreter read: the number of
//    selected load cases with the name of the selected case, the level mode word (2: the
//    lists and checks of sets, symbol sets and montages open the database of level 1
//    first and that of level 2 afterwards) and the two 20-character level names. Nothing
//    in the library sets them.
//
// Everything is 0 (names blank) at load; PAGSET sets the page-buffer words whenever the
// data page size is set.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/codtxt.h"

namespace kvr {

struct DbLevl {
  static constexpr int32_t kBufferSlots = 2;
  static constexpr int32_t kCaseNameCodes = 6;
  static constexpr int32_t kLevelNameCodes = 20;
  static constexpr int32_t kLevelMode = 2;  // the level mode word that brackets the lists

  // A code line of N blank codes.
  template <std::size_t N>
  static constexpr std::array<int32_t, N> blankCodes() {
    std::array<int32_t, N> codes{};
    codes.fill(kBlankCode);
    return codes;
  }

  int32_t recordLayout = 0;  // type code of the open database
  int32_t dataPageSize = 0;  // P, the data-file page size in words
  std::array<int32_t, kBufferSlots> slotOffsets{};  // first word of each slot in the buffer
  std::array<int32_t, kBufferSlots> heldPages{};    // page held; negative when modified
  std::array<int32_t, kBufferSlots> heldClasses{};  // class of the page held

  int32_t lockHolder = 0;        // process id of the write-lock holder, 0 for none
  int32_t openTypeCode = 0;      // type code of the database opened last
  int32_t currentTypeCode = 0;   // type code of new databases
  int32_t hostPageSize = 0;      // data page size asked for by the host
  int32_t userLevelOpen = 0;     // 1 once the user level is found or made
  int32_t projectLevelOpen = 0;  // 1 once the project level is found or made
  int32_t numberingMode = 0;     // 1: stored node and element numbers used as they are
  int32_t nodeOffset = 0;        // added to stored node sequence numbers
  int32_t elementOffset = 0;     // added to stored element sequence numbers
  int32_t pageHeaderWords = 0;   // H: words of a loader page before its first entry
  int32_t nodeEntryWords = 0;    // words of a node entry

  int32_t selectedCases = 0;     // load cases selected, 0 none
  std::array<int32_t, kCaseNameCodes> selectedCase = blankCodes<kCaseNameCodes>();
  int32_t levelMode = 0;         // 2: the object lists open level 1 first, level 2 after
  std::array<int32_t, kLevelNameCodes> levelName1 = blankCodes<kLevelNameCodes>();
  std::array<int32_t, kLevelNameCodes> levelName2 = blankCodes<kLevelNameCodes>();

  // The name of level kind K (1 or 2); any other K gives that of level 2.
  std::array<int32_t, kLevelNameCodes>& levelName(int32_t k) { return k == 1 ? levelName1 : levelName2; }

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
