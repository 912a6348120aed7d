// REGHED: the head of the named-array registry in force. Per named array k (1..57) six
// words: its sign word (ARRSGN), the records allocated so far (ARRLEN), the record width
// (ARRWID), the store array number (ARRCOR), the records per page (ARRPPG) and one
// further word that the registry neither sets nor reads; then the set-up mode in force
// (REGMOD: 0 none, 1 writing road, 2 full model, 3 two-array layout), the highest valid
// named-array number (REGTOP: 8, 57 or 2) and the store file holding the arrays (REGFIL,
// 2..50). The display state keeps one copy per window slot.
//
// ARRDSC: the head of the answer store of the command interpreter, the same five
// per-array words for its 4 arrays, its highest number (4) and its store file (always 1).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct RegHed {
  static constexpr int32_t kArrays = 57;
  static constexpr int32_t kArrayWords = 6;

  // words[w - 1][k - 1]: per-array word w (1..6) of named array k.
  std::array<std::array<int32_t, kArrays>, kArrayWords> words{};
  int32_t mode = 0;  // REGMOD
  int32_t top = 0;   // REGTOP
  int32_t file = 0;  // REGFIL

  int32_t& word(int32_t w, int32_t k) {
    return words[static_cast<std::size_t>(w - 1)][static_cast<std::size_t>(k - 1)];
  }
  int32_t& ARRSGN(int32_t k) { return word(1, k); }
  int32_t& ARRLEN(int32_t k) { return word(2, k); }
  int32_t& ARRWID(int32_t k) { return word(3, k); }
  int32_t& ARRCOR(int32_t k) { return word(4, k); }
  int32_t& ARRPPG(int32_t k) { return word(5, k); }
};

inline RegHed REGHED;

struct ArrDsc {
  static constexpr int32_t kArrays = 4;
  static constexpr int32_t kArrayWords = 5;
  static constexpr int32_t kStoreFile = 1;

  std::array<std::array<int32_t, kArrays>, kArrayWords> words{};
  int32_t top = 0;   // the highest array number
  int32_t file = 0;  // the store file

  int32_t& word(int32_t w, int32_t k) {
    return words[static_cast<std::size_t>(w - 1)][static_cast<std::size_t>(k - 1)];
  }
  int32_t& ARRSGN(int32_t k) { return word(1, k); }
  int32_t& ARRLEN(int32_t k) { return word(2, k); }
  int32_t& ARRWID(int32_t k) { return word(3, k); }
  int32_t& ARRCOR(int32_t k) { return word(4, k); }
  int32_t& ARRPPG(int32_t k) { return word(5, k); }
};

inline ArrDsc ARRDSC;

}  // namespace kvr
