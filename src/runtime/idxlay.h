// IDXLAY: the layout of a database's index file, set at start-up: the record lengths of
// the control-record classes 101-107 (words 73-79), their entries per page and name
// words, the lengths of the two lists of class 104, and, in its first words, the
// high-water marks of the page layer's scratch files. Words 1..82, addressed by number.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct IdxLay {
  static constexpr int32_t kWords = 82;
  std::array<int32_t, kWords> words{};

  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
  // The record length of control-record class 101..107.
  int32_t& recordLength(int32_t cls) { return word(73 + cls - 101); }
};

inline IdxLay IDXLAY;

}  // namespace kvr
