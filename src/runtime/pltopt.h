// PLTOPT: the plot options that start-up sets and the drivers read, and the interrupt
// words.
//
// Words 1-33, addressed by number as the drivers address them:
//   1      colour-count option (-1 after start-up; 1 or more asks a driver for that many
//          colours)
//   2      1 after start-up
//   3-15   the character-size tables of the neutral plot file: 4, then the heights 120,
//          90, 60, 60, the widths 90, 60, 50, 50, and a third row 1, 1, 1, 1
//   16     the colour switch of the HP-GL/2 driver (-1 colour, 0 monochrome), set from
//          the plotter format
//   17-18  100, 100
//   19-33  the codes 5001, 5002, 2301, 5003, 4605, 4603, 4602, 5005, 6001, 6002, 2105,
//          6004, 49, 6003, 2000
//
// The interrupt words: the flag that the interrupt signal handler sets (to the value
// word) and the command-file reader polls and clears, the value word itself, and a word
// that records that an interrupt ended input. The handler runs asynchronously, so the
// two words it touches are volatile sig_atomic_t.
#pragma once

#include <array>
#include <csignal>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct PltOpt {
  static constexpr int32_t kWords = 33;

  std::array<int32_t, kWords> words{};
  volatile std::sig_atomic_t interruptFlag = 0;
  volatile std::sig_atomic_t interruptValue = 0;
  int32_t interruptEndedInput = 0;

  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
};

inline constexpr int32_t kOptColourCount = 1;
inline constexpr int32_t kOptSecond = 2;
inline constexpr int32_t kOptSizeTables = 3;    // first of words 3-15
inline constexpr int32_t kOptSizeFactor = 3;    // the character-size factor, 4
inline constexpr int32_t kOptHeights = 4;       // heights of sizes 1-4: words 4-7
inline constexpr int32_t kOptWidths = 8;        // widths of sizes 1-4: words 8-11
inline constexpr int32_t kOptThirdRow = 12;     // third row of sizes 1-4: words 12-15
inline constexpr int32_t kOptHpgl2Colour = 16;
inline constexpr int32_t kOptAfterColour = 17;  // first of words 17-33

inline PltOpt PLTOPT;

}  // namespace kvr
