// The name lookups in the display datasets of the model database, and the database level
// switch around them.
//
// Datasets read here (first page from the dataset directory, DSDIRF; each page names the
// next in its word 4, read by RECW3 at the page's first word; records from word H + 1, H
// the page-header words of DBLEVL; P the data page size):
//   2   sets: fixed records of 46 words, word 1 the state, words 6-13 the name;
//   11  montages: fixed records of 98 words, word 1 the state, word 3 the record type (3 a
//       montage), words 8-15 the name;
//   51  shapes and coordinate systems: fixed records of 20 n + 16 words (n the integer
//       words per REAL), word 1 the state, word 3 the object type (1-4 a shape, 11-14 a
//       coordinate system), words 4-11 the name;
//   52  line objects and 53 symbol sets: records chained within each page: word 1 the
//       position of the next record (negative: this one is deleted and the magnitude
//       leads on; 0: the end of the list), word 2 the record type (above 2: the end of the
//       list), words 3-10 the name. A link that does not lead to a later record wholly
//       inside the page goes on at word H + 1 of the next page.
// State word of a fixed record: 1 in use, -1 deleted (skipped), 0 the end of the list,
// any other value a damaged list. Names are 8 character codes, compared as whole words.
//
// Every walk ends: a page chain stops at a page it has read already, or at a page number
// the data file does not hold; such an end is a damaged list.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

namespace kvr {

// Dataset keys and record layouts.
inline constexpr int32_t kSetDataset = 2;
inline constexpr int32_t kMontageDataset = 11;
inline constexpr int32_t kShapeDataset = 51;
inline constexpr int32_t kLineObjectDataset = 52;
inline constexpr int32_t kSymbolDataset = 53;
inline constexpr int32_t kSetRecordWords = 46;
inline constexpr int32_t kSetNameWord = 6;
inline constexpr int32_t kMontageRecordWords = 98;
inline constexpr int32_t kMontageRecordType = 3;
inline constexpr int32_t kMontageNameWord = 8;
inline constexpr int32_t kShapeNameWord = 4;
inline constexpr int32_t kChainedNameWord = 3;
inline constexpr int32_t kObjectNameCodes = 8;

// The words of a shape or coordinate-system record: 20 n + 16.
int32_t shapeRecordWords();

// How a walk of a display dataset ended.
enum class WalkEnd { ListEnd, Stopped, Damaged };

// Receives the words of a record from its word 1; answers true to stop the walk.
using RecordVisit = std::function<bool(std::span<const int32_t> record)>;

// Hands every record in use of dataset KEY, laid out in fixed records of RECORDWORDS
// words, to VISIT. WORK is the caller's work array; a page is read into it when it holds
// one, else into a buffer of the walk's own.
WalkEnd walkFixedRecords(int32_t key, int32_t recordWords, std::span<int32_t> work,
                         const RecordVisit& visit);

// Hands every record in use of the chained dataset KEY (52 or 53) to VISIT (its link,
// type and name words, 10 words).
WalkEnd walkChainedRecords(int32_t key, std::span<int32_t> work, const RecordVisit& visit);

// Opens the model database of the name held for level kind LEVEL (1 or 2) in DBLEVL
// (TLBOPN with CONTEXT, the caller's work array, or a page buffer of its own when
// CONTEXT cannot hold a page of the largest size). FAILED 1 when the open fails, else 0.
void LVLCHK(std::span<int32_t> context, int32_t level, int32_t& failed);

// Whether a montage named NAME (8 codes) exists. STATUS 0 it does, 1 it does not, 2 the
// montage list is damaged or, with the level mode word 2, the database of level 1 could
// not be opened. With the level mode word 2 the search runs in the database of level 1
// and the database of level 2 is opened again after a search that ended with 0 or 1.
void MONFND(std::span<const int32_t> name, std::span<int32_t> work, int32_t& status);

// Whether a symbol set named NAME (8 codes, exactly) exists: STATUS 0, else 1.
void SYMFND(std::span<const int32_t> name, std::span<int32_t> work, int32_t& status);

// Looks NAME (8 codes; its codes up to the last non-blank compared, CODCMP) up among the
// shapes (SELECTION 1, object types 1-4) or the coordinate systems (2, types 11-14).
// RESULT 0 an exact match, n > 0 the only name it abbreviates (n codes), -2 it
// abbreviates more than one, -1 none. MATCHED (8 codes) and TYPE receive the name and
// object type of the exact match or of the first abbreviation. A damaged list gives
// "E3320: Shape index corrupt", FAILURE 1 and RESULT -1; else FAILURE 0.
void SHPFND(std::span<int32_t> work, int32_t selection, std::span<const int32_t> name,
            int32_t& result, std::span<int32_t> matched, int32_t& type, int32_t& failure);

// As SHPFND for the line objects (dataset 52); a damaged list ends the search.
void LINFND(std::span<int32_t> work, std::span<const int32_t> name, int32_t& result,
            std::span<int32_t> matched);

}  // namespace kvr
