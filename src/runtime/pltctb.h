// PLTCTB: the colour tables shared by the colour devices. Tables 1 to 10 name palette
// entries by shade; table 10 holds the twelve basic colours. Each table has three rows
// of 32 shades (row 2 for the current colour and markers, row 3 for filled areas).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct PltCtb {
  static constexpr int32_t kTables = 10;
  static constexpr int32_t kShades = 32;

  std::array<int32_t, kTables + 1> counts{};  // shades of tables 0 to 10
  std::array<std::array<std::array<int32_t, kShades>, 3>, kTables> shades{};
  int32_t textAnswer = 0;  // -99 after a text inquiry

  int32_t& count(int32_t table) { return counts[static_cast<std::size_t>(table)]; }
  // Palette index of shade J of TABLE (1..10) in ROW (1..3).
  int32_t& shade(int32_t table, int32_t row, int32_t j) {
    return shades[static_cast<std::size_t>(table - 1)][static_cast<std::size_t>(row - 1)]
                 [static_cast<std::size_t>(j - 1)];
  }
};

inline constexpr int32_t kBasicColourTable = 10;
inline constexpr int32_t kTextInquiryAnswer = -99;

inline PltCtb PLTCTB;

}  // namespace kvr
