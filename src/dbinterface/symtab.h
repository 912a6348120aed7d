// SYMTAB: the symbol set being loaded, packed or unpacked. A symbol set tells how results
// values are marked: 18 entries, each a marker shape with a state, a range test, a colour,
// a size mode and a description, and the results attribute the set belongs to. Entries 1
// to 8 are the built-in shapes (PLUS, ASTERISK, CROSS, SQUARE, DIAMOND, FLAG, TRIANGLE,
// MINUS), entries 9 to 18 the user shapes 1 to 10, named in the table.
//
// Range-test (operator) codes: units digit the lower test (1 >, 2 >=, 3 ABS>, 4 ABS>=),
// tens digit the conjunction (1 AND, 2 OR), hundreds digit the upper test (1 <, 2 <=,
// 3 ABS<, 4 ABS<=); 0 none, 901 =, 902 #, 908 default, 909 all values. A lower test
// compares with value A, an upper test with value B.
//
// DIPSY loads the symbol sets of a model (key 53) into dataset type 53: per set it fills
// SYMTAB from the stream's texts and packs it with SYMLST into a page built in area 3 of
// LDPAGE. From word 39 a page holds a sequence of sets, each a link word followed by its
// packed block; the link word holds the page position of the word after the block, where
// the next link word or the terminating 0 stands; a link word of -39 continues the
// sequence at word 39 of the next page. Word 5 of a page is the position of its
// terminating word (of the -39 link word on a page that continues).
//
// Stream records: the set header (19 words: tag -1, set name 8 codes, attribute name 8
// codes, definition count g, the header word) and g definitions (65 words: tag -2, shape
// 8 codes, state 3, first comparison 7, value 1, conjunction 3, second comparison 7,
// value 2, colour 8, size mode 6, description 20). Only the first 18 definitions of a set
// are used; a definition that names a user shape when ten are held is read and ignored.
// Reports: 267 under "DILIM " when dataset 53 is already recorded, 268 under "DILIM "
// when a set does not fit a page, 299 under "DIPSY " with location 9200 for a record with
// the wrong tag, 225 under "DILIM " with the unit for a failed read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kvr {

inline constexpr int32_t kSymbolSetDataset = 53;

struct SymbolEntry {
  static constexpr int32_t kDescriptionCodes = 20;

  int32_t state = 0;     // 1 on, 0 off
  int32_t code = 0;      // range-test code
  int32_t valueA = 0;    // REAL words, moved bit for bit
  int32_t valueB = 0;
  int32_t colour = 0;    // 1 white .. 7 violet, 0 modulate
  int32_t sizeMode = 0;  // 0 fixed, 1 scaled, 2 absolute maximum
  std::array<int32_t, kDescriptionCodes> description{};  // a code line

  bool operator==(const SymbolEntry&) const = default;
};

struct SymTab {
  static constexpr int32_t kEntries = 18;
  static constexpr int32_t kBuiltInShapes = 8;
  static constexpr int32_t kUserShapes = 10;
  static constexpr int32_t kNameCodes = 8;

  std::array<SymbolEntry, kEntries> entries{};
  std::array<int32_t, kUserShapes * kNameCodes> userShapeNames{};  // name j at 8j-7..8j
  int32_t userShapeCount = 0;
  std::array<int32_t, kNameCodes> attribute{};  // associated results attribute name
  std::array<int32_t, kEntries> order{};        // recently-used order, most recent first
  int32_t headerWord = 0;                       // packed as the description flag

  // Entry F (1..18), place K (1..18) of the order, code J (1..80) of the user shape names.
  SymbolEntry& entry(int32_t f) { return entries[static_cast<std::size_t>(f - 1)]; }
  int32_t& orderAt(int32_t k) { return order[static_cast<std::size_t>(k - 1)]; }
  int32_t& nameCode(int32_t j) { return userShapeNames[static_cast<std::size_t>(j - 1)]; }

  bool operator==(const SymTab&) const = default;
};

inline SymTab SYMTAB;

// Resets SYMTAB: entries off with code 0, values 0.0, colour 0, blank descriptions, size
// mode 2 for entries 1-8 and 0 for 9-18; no user shapes (blank names); a blank attribute
// name; the order 1..18; the header word 0. MODE 1 then switches entry 7 on with code 909.
void SYMINI(int32_t mode);

// The symbol-set loader. LASTTAG receives the tag of each record read.
void DIPSY(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& lastTag, int32_t& ierr);

}  // namespace kvr
