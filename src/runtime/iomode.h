// IOMODE: the output state of the message catalogues. The words held here are the
// library's version words, which the version texts read, and the input-mode word, which
// chooses the flag handed to the line writers.
#pragma once

#include <array>
#include <cstdint>

namespace kvr {

struct IoMode {
  int32_t version = 0;        // version number, 9300 for 9.3
  int32_t release = 0;        // release number
  int32_t releaseLetter = 0;  // 0 no letter, k the k-th capital letter
  std::array<int32_t, 20> programName{};  // program-name text, a code line
  int32_t programNameLength = 0;
  int32_t inputMode = 0;      // 1 while commands come from a command file
};

inline IoMode IOMODE;

}  // namespace kvr
