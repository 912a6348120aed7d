// The character-set tables that both roads set up at start, each an array of code-line
// words read by the number conversions and the command lexer:
//  - LEXCOD (16 words, 1-15 set): the codes of "0" to "9", then the blank, "-", ".",
//    "E" and "e"; word 11 is the blank code;
//  - CHRTAB (51 words): word k is the code of the k-th character of
//    "()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ" ("*" word 3, "0" word 9,
//    the k-th capital letter word 25 + k);
//  - LEXSPC (14 words): the codes of / + ; : , = * ! $ ? @ # " and the apostrophe.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

template <int32_t N>
struct CodeTable {
  std::array<int32_t, N> words{};
  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
};

inline CodeTable<16> LEXCOD;
inline CodeTable<51> CHRTAB;
inline CodeTable<14> LEXSPC;

// Fills LEXCOD, CHRTAB and LEXSPC.
void CHRSET();

}  // namespace kvr
