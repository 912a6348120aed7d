// The packed symbol-set block, its listing and the texts of a symbol set.
//
// Packed block from position S of a page array (version 2, 588 words):
//   S version 2; S+1..S+8 the set name; S+9..S+16 the attribute name; S+17 the
//   description flag (SYMTAB's header word: 0 the listing shows the range test, else the
//   description); S+18..S+20 the counts 18, 8, 10 (entries, codes per user shape name,
//   user shape names); S+21..S+38 the recently-used order; from S+39 per entry 1..18:
//   state, code, value A, value B, description (20 codes), colour, size mode; S+507..S+586
//   the user shape names; S+587 their count.
// A version-1 block (227 words, any version but 2) has no description flag and no
// descriptions. A block whose counts are not 18, 8, 10, whose order holds a number outside
// 1..18, whose user shape count lies outside 0..10 or which runs past the end of its page
// array is incompatible: E5170 is posted and the block skipped by 27 words per entry
// count, 8 per name count and 1 (version 1: 7 per entry count) after its counts.
//
// Listing lines pass through LSTLIN with listing flag 1: nothing is printed while the
// display listing switch is 0. They go to the listing file (file type 4) as well as the
// message unit when the results display's listing-file switch is 1.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

inline constexpr int32_t kSymbolBlockWords = 588;
inline constexpr int32_t kSymbolBlockWordsVersion1 = 227;

// Modes of SYMLST.
inline constexpr int32_t kSymbolPack = 1;
inline constexpr int32_t kSymbolUnpack = 2;

// MODE 1 packs SETNAME (8 codes) and SYMTAB into PAGE at POSITION; MODE 2 unpacks the
// block at POSITION into SYMTAB (reset first); any other mode lists the block at
// POSITION. POSITION is advanced past the block, never beyond the size of PAGE + 1;
// nothing outside PAGE is read or written (a word outside reads as 0).
void SYMLST(int32_t mode, std::span<const int32_t> setName, std::span<int32_t> page,
            int32_t& position);

// Moves ENTRY to the front of SYMTAB's recently-used order; nothing when it is first or
// not in the order.
void SYMMRU(int32_t entry);

// Appends the text of range-test CODE with VALUEA and VALUEB (REAL texts with the display
// state's range digits) to the code line from FIRST on; LAST receives the last position
// written (FIRST - 1 for none). A digit outside 1..4 writes nothing for its part.
void RNGTXT(int32_t code, float valueA, float valueB, int32_t first, std::span<int32_t> codes,
            int32_t& last);

// Prints codes 1..LENGTH of TEXT (at most MAXLENGTH, up to the last non-blank) as one line.
// LISTING 1 prints nothing while the display listing switch is 0. MODE 1 or more writes
// the listing-file line: two blanks and the text, its blanks after a non-blank turned to
// "," with SEPARATOR 1, else "; " and the text with LISTING 1. A MODE other than 1 prints
// the text as a message line.
void LSTLIN(std::span<const int32_t> text, int32_t length, int32_t mode, int32_t separator,
            int32_t listing, int32_t maxLength);

}  // namespace kvr
