// The walk over the leaf components of an assembly.
//
// An assembly model lists its components in control records of class 107, chained from
// word 54 of its record 103 (one record per index page; record word k is page word
// k + 4, word 1 the page's last used word, page word 4 the next page of the list, 0 or
// below for none). From record word 2 on, one entry per component:
//   - the component's name: 6 codes in databases of type code below 5004, else 20;
//   - a count n;
//   - n >= 1: n further words, the transformation flag, the 16 REALs of the component's
//     matrix (column by column), the node and the element numbering offset: name + n +
//     20 words;
//   - n <= 0: the node and the element numbering offset: name + 3 words.
// A component may be an assembly itself (record 103 word 1 is 2; 1 is a plain model).
//
// RESLVL returns one leaf per call with its database open, the transformation in force
// in CMPTRF (the product of the matrices on the path from the starting model) and the
// numbering offsets in DBLEVL (the sums of the offsets on the path), which RECNOD and
// RECELM add to stored sequence numbers. A caller walks like this:
//
//   int32_t level = 0, results = 0, second = 0, done = 0, error = 0;
//   for (;;) {
//     RESLVL(page, resultsPage, 0, level, results, second, done, error);
//     if (done != 0 || error != 0) break;
//     ... read the component's datasets ...
//   }
//   RESLVL(page, resultsPage, 0, level = -1, results, second, done, error);
//
// The last call reopens the starting model's database. Between walks the transformation
// in force stays as the last component left it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "modeldb/cmptrf.h"

namespace kvr {

inline constexpr int32_t kWalkNameLevels = 20;  // the deepest level a walk enters
inline constexpr int32_t kWalkLevels = 24;
inline constexpr int32_t kWalkNameCodes = 20;
inline constexpr int32_t kComponentListWords = 96;  // record 107

// The state of one level of the walk: the assembly whose list is walked there.
struct WalkLevel {
  int32_t listPage = 0;     // the page of its list being walked
  int32_t position = 0;     // record word of the entry last taken
  int32_t entryLength = 0;  // and its length
  int32_t pagesRead = 0;    // pages of the list read so far
  int32_t flag = 0;         // the transformation in force at the level
  std::array<float, kMatrixValues> matrix{};
  int32_t nodeOffset = 0;   // the numbering offsets in force at the level
  int32_t elementOffset = 0;
  int32_t resultsWord = -1; // -1 none
};

// RESWLK: the walk state, kept from one RESLVL call to the next.
struct ResWlk {
  int32_t depth = 0;  // the level being walked, 0 when no walk is in progress
  std::array<std::array<int32_t, kWalkNameCodes>, kWalkNameLevels> names{};
  std::array<WalkLevel, kWalkLevels> levels{};
  std::array<double, kMatrixValues> accumulated{};
  // The model the walk started from, reopened at its end, as the host named it.
  std::array<int32_t, kWalkNameCodes> returnName{};
  std::array<int32_t, 6> loadCase{};  // the current load case's name at the start
  // The list page of the deepest level, as read: its record words, the page's last used
  // word, its next page and the name codes of its entries.
  std::array<int32_t, kComponentListWords> list{};
  int32_t lastUsed = 0;
  int32_t nextPage = 0;
  int32_t nameCodes = 0;

  WalkLevel& level(int32_t d) { return levels[static_cast<size_t>(d - 1)]; }
  std::array<int32_t, kWalkNameCodes>& name(int32_t d) { return names[static_cast<size_t>(d - 1)]; }
};

inline ResWlk RESWLK;

// One step of the walk. PAGE is a work buffer of one data page of the largest size;
// RESULTSPAGE one for the results selection. MODE 0 selects no results; 2 selects into
// RESSE2 (RESSL2), any other value into RESSEL (RESSL1). LEVEL (in and out): 0 starts a
// walk from the current model (the model of the dataset header accepted last) and returns
// its first leaf; 1 or more returns the next leaf of the walk in progress; -1 ends the
// walk and reopens the starting model. On return LEVEL is the depth of the leaf. RESULTS
// receives word 12 of the selected attribute's record 106, or -1; SECOND 0. DONE becomes
// 1 when no further component remains (else 0); ERROR 1 when a database could not be
// opened (M007 with the current model's name), the list is damaged (M012), or the walk
// would go deeper than 20 levels (a nesting that deep, or a list that names one of its
// own assemblies). After an error the walk is over and the starting model is reopened.
void RESLVL(std::span<int32_t> page, std::span<int32_t> resultsPage, int32_t mode,
            int32_t& level, int32_t& results, int32_t& second, int32_t& done, int32_t& error);

}  // namespace kvr
