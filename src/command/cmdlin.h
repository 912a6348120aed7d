// CMDLIN: the command line block. The current command line (255 codes), the position where
// its unparsed rest begins (0: nothing pending), where the current parse started, the word
// index of the current menu record, and the number of lines joined by ":" into this
// command; then the answer text store: 255 codes holding the free texts of the answers,
// filled from position 1 to the fill position (0 when empty). An answer names its text by
// the reference -(256 x start + length).
//
// The last values given, which a "," stands for in place of a value: the last integer,
// real, x, y and z coordinate and the pair of ndc values.
//
// All 0 at load; CMDINI clears the pending position, the continuation count and the last
// values.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct CmdLin {
  static constexpr int32_t kLineCodes = 255;
  static constexpr int32_t kTextCodes = 255;

  std::array<int32_t, kLineCodes> lineCodes{};  // a code line
  int32_t pending = 0;
  int32_t parseStart = 0;
  int32_t currentMenu = 0;
  int32_t continuations = 0;
  std::array<int32_t, kTextCodes> textCodes{};  // a code line
  int32_t textFill = 0;

  // Position K (1..255) of the command line and of the answer text store.
  int32_t& line(int32_t k) { return lineCodes[static_cast<std::size_t>(k - 1)]; }
  int32_t& text(int32_t k) { return textCodes[static_cast<std::size_t>(k - 1)]; }
};

inline CmdLin CMDLIN;

struct LastValues {
  int32_t integer = 0;
  float real = 0.0f;
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  std::array<float, 2> ndc{};
};

inline LastValues gLastValues;

}  // namespace kvr
