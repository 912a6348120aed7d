// SHPDEF: the shape record, the geometric definition that lines and surfaces refer to by
// number: 20 REAL words, record ID of the shape array of the model. Word 2 is the type;
// the other words hold, by type, entity numbers, values, parameter references and further
// integers. Integers are held as REAL values: stored as n + 0.001 and read by truncation
// toward zero, so that a value that went through a REAL still reads as n.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/fmtedit.h"

namespace kvr {

struct ShpDef {
  static constexpr int32_t kWords = 20;
  std::array<float, kWords> words{};

  float& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
  // Word K read as an integer.
  int32_t integer(int32_t k) const { return intOf(words[static_cast<std::size_t>(k - 1)]); }
};

inline constexpr int32_t kShapeTypeWord = 2;
inline constexpr int32_t kShapeRef1Word = 18;  // parameter reference of the first value
inline constexpr int32_t kShapeRef2Word = 19;  // parameter reference of the second value

// The REAL word that holds integer N.
inline float shapeInteger(int32_t n) { return static_cast<float>(n) + 0.001f; }

}  // namespace kvr
