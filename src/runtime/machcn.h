// MACHCN: the machine constants, set by start-up. Words 1-13, all 32 bits, REAL words
// held as their bits:
//   1  bits per integer word less one (31)      8  largest real (3.4028235e38)
//   2  integer words per real word (1)          9  its square root (1.8446743e19)
//   3  bytes per integer word (4)              10  smallest real used as a tolerance
//   4  bytes per real word (4)                 11  real epsilon (2**-23)
//   5  largest integer (2147483647)            12  decimal exponent of the largest real
//   6  the largest integer again               13  that of the smallest normal real
//   7  2**30
// Words 14 and 15 are two limits of the model constants: the line-position scale 15000
// and 9.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct MachCn {
  static constexpr int32_t kWords = 15;
  std::array<int32_t, kWords> words{};

  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
  float real(int32_t k) const {
    return std::bit_cast<float>(words[static_cast<std::size_t>(k - 1)]);
  }
  void setReal(int32_t k, float value) { word(k) = std::bit_cast<int32_t>(value); }
};

inline constexpr int32_t kMachBitsLessOne = 1;
inline constexpr int32_t kMachWordsPerReal = 2;
inline constexpr int32_t kMachIntegerBytes = 3;
inline constexpr int32_t kMachRealBytes = 4;
inline constexpr int32_t kMachLargestInteger = 5;
inline constexpr int32_t kMachLargestInteger2 = 6;
inline constexpr int32_t kMachPowerThirty = 7;
inline constexpr int32_t kMachLargestReal = 8;
inline constexpr int32_t kMachRootLargestReal = 9;
inline constexpr int32_t kMachTolerance = 10;
inline constexpr int32_t kMachEpsilon = 11;
inline constexpr int32_t kMachLargestExponent = 12;
inline constexpr int32_t kMachSmallestExponent = 13;
inline constexpr int32_t kMachLineScale = 14;
inline constexpr int32_t kMachLineLimit = 15;

inline MachCn MACHCN;

}  // namespace kvr
