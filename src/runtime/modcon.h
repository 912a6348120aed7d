// The model constants MODCON and the geometric constants GEOCON, set only by the model
// start-up (MDLCON). REAL words are held as their bits.
//
// MODCON, 57 words: 4; the count 47; the code-line words of the 47 characters
// " 0123456789-+=*/(),.ABCDEFGHIJKLMNOPQRSTUVWXYZ'" (words 3-49, so word 17 is the code of
// "*", the marker of deleted entity and attribute records); 0; 1 (words per attribute
// value); 1.0e6; 32767.0 (the longest line the line length query reports); 6; 6; 9.0; 3.
//
// GEOCON, 10 words: pi (the REAL with the bits 0x40490FDC), degrees to radians
// 0.01745329, 0.001, 0.001, 1.0e-5, 1.0e-7, the integer 10, 15.0, 165.0, the integer 12.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace kvr {

template <int32_t N>
struct ConstantWords {
  static constexpr int32_t kWords = N;
  std::array<int32_t, N> words{};

  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
  float real(int32_t k) const {
    return std::bit_cast<float>(words[static_cast<std::size_t>(k - 1)]);
  }
  void setReal(int32_t k, float value) { word(k) = std::bit_cast<int32_t>(value); }
};

inline constexpr int32_t kModCharacters = 47;
inline constexpr int32_t kModFirstCode = 3;       // words 3-49: the 47 character codes
inline constexpr int32_t kModDeletedMarker = 17;  // the code of "*"
inline constexpr int32_t kModWordsPerValue = 51;
inline constexpr int32_t kModLongestLine = 53;

inline ConstantWords<57> MODCON;
inline ConstantWords<10> GEOCON;
// The current work-array length, the word beside MODCON: 0 at load, set by nothing here.
inline int32_t MODWRK = 0;

}  // namespace kvr
