// PLTCAP: the description of the output device in use. Each device writes its own when it
// is opened; the console device's is set by its opcode 1. In order: the device name (a
// 64-character field of which the first 40 are used), 18 integer words (word 10 the
// display switch: 1 asks the graphics mode to fetch the device matrix first), a scale
// 1.0 and the reciprocal of the page width, the page extents, the coordinate limits and
// a last integer word.
//
// Two words that devices do not write are read by the console: the prompt length of a
// line read (opcode 21) and the host-dialogue word (above 1000 message boxes go to the
// host's dialogue entry and text output is silent; nothing in the library sets it).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

struct PltCap {
  static constexpr int32_t kNameField = 64;
  static constexpr int32_t kNameLength = 40;
  static constexpr int32_t kIntegerWords = 18;

  std::array<char, kNameField> name = blank();
  std::array<int32_t, kIntegerWords> words{};
  float scale = 0.0f;
  float inverseWidth = 0.0f;
  float xMin = 0.0f;  // page extents
  float xMax = 0.0f;
  float yMin = 0.0f;
  float yMax = 0.0f;
  float coordMin = 0.0f;
  float coordMax = 0.0f;
  int32_t last = 0;

  int32_t promptLength = 0;
  int32_t hostDialogue = 0;

  // Integer word K (1..18).
  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
  FText deviceName() { return FText(name.data(), kNameLength); }

 private:
  static constexpr std::array<char, kNameField> blank() {
    std::array<char, kNameField> a{};
    a.fill(' ');
    return a;
  }
};

inline constexpr int32_t kCapDisplaySwitch = 10;
inline constexpr int32_t kHostDialogueThreshold = 1000;

inline PltCap PLTCAP;

}  // namespace kvr
