// MNUTAB: the menu keyword table of the command language, 15000 words from word 1.
//
//  - Keyword area, words 1 to the menu-area start - 1: entries back to back, each a header
//    (keyword number x 64 + character count) and one word per character. As built a word
//    holds the character's value (ASCII 40 to 90); MNUCNV turns them into code-line words.
//    The first nine entries are the token classes: one word holding the class code 1..9
//    (every character value is above 10).
//  - Menu area, from the menu-area start to the menu-area end - 1: records back to back,
//    each the menu id, the entry count n and n pairs (item, link). Item > 0 the word index
//    of a keyword entry; 0 any text; < 0 a typed argument of kind -item. Link > 0 the word
//    index of the next menu record; < 0 the same, its input optional; 0 the command is
//    complete.
//  - From the menu-area end on: free words; a trailing list of text entries may lie there
//    (its count is a word of MNUCTL; no table here has one).
//
// The table is rebuilt at every model opening (MNUTBA or MNUTBB, then MNUCNV) and read by
// the parse loop and the prompts; its control words live in MNUCTL (mnuctl.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct MnuTab {
  static constexpr int32_t kWords = 15000;
  std::array<int32_t, kWords> words{};

  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
};

inline MnuTab MNUTAB;

// Word K of the table, 0 outside words 1..15000: for walks led by indices read from the
// table itself, which a damaged or half-built table could send anywhere.
inline int32_t mnuWord(int32_t k) { return k >= 1 && k <= MnuTab::kWords ? MNUTAB.word(k) : 0; }

// Header word of a keyword entry: number x 64 + count.
inline constexpr int32_t kKeywordHeaderBase = 64;

// Write the whole table and the six table words of MNUCTL: MNUTBA the ordinary
// vocabulary (keyword 220 MESHING; menu area 1263 to 1882), MNUTBB the grid vocabulary
// (keyword 220 GRID; every later word three less). Words past the menu area keep what
// they held.
void MNUTBA();
void MNUTBB();

// Converts the keyword characters of the keyword area (and of a trailing list) from their
// values 40 to 90 into the code-line words of CHRTAB. STATUS 0 when every character was
// converted; 1 at the first value outside 40..90, the words before it staying converted.
// A table already converted answers 1.
void MNUCNV(int32_t& status);

}  // namespace kvr
