// PLRGB: the palette shared by the colour devices: red, green and blue components (0 to
// 255; -1 marks an empty entry) of 256 entries, the device colour number of each entry
// (64 + the entry after the colour set-up), and the highest colour index in use.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct PlRgb {
  static constexpr int32_t kEntries = 256;

  std::array<int32_t, kEntries> reds{};
  std::array<int32_t, kEntries> greens{};
  std::array<int32_t, kEntries> blues{};
  std::array<int32_t, kEntries> deviceColours{};
  int32_t highest = 0;

  // Entry I (1..256).
  int32_t& red(int32_t i) { return reds[static_cast<std::size_t>(i - 1)]; }
  int32_t& green(int32_t i) { return greens[static_cast<std::size_t>(i - 1)]; }
  int32_t& blue(int32_t i) { return blues[static_cast<std::size_t>(i - 1)]; }
  int32_t& deviceColour(int32_t i) { return deviceColours[static_cast<std::size_t>(i - 1)]; }
};

inline PlRgb PLRGB;

}  // namespace kvr
