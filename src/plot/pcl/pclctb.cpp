#include "plot/pcl/pclctb.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/fmtedit.h"
#include "plot/pcl/pclsta.h"

namespace kvr {
namespace {

// Dither codes 50 + 25a + 5b + c: 50 black, 174 white, 150 red, 160 orange, 170 yellow,
// 70 green, 54 blue, 79 blue-violet.
constexpr std::array<int32_t, 7> kGreyPositive{50, 150, 160, 170, 70, 54, 79};
constexpr int32_t kGreyPaper = 174;
constexpr std::array<int32_t, 19> kGreyNegative{104, 79, 54, 59, 64, 69, 74, 73, 72, 71,
                                                70, 95, 120, 145, 170, 165, 160, 155, 150};
constexpr std::array<int32_t, 19> kGreyRange{54, 54, 54, 54, 59, 59, 59, 59, 64, 64,
                                             64, 69, 69, 69, 74, 74, 74, 99, 124};
constexpr int32_t kGreyCount = 19;

// The colour ranges of tables 3 to 9.
struct GreyRange {
  int32_t count;
  std::array<int32_t, 7> values;
};
constexpr std::array<GreyRange, 7> kGreyRanges{{
    {5, {50, 81, 112, 143, 174}},             // 3
    {7, {100, 125, 150, 156, 162, 168, 174}},  // 4
    {5, {105, 130, 155, 160, 165}},            // 5
    {5, {110, 140, 170, 171, 172}},            // 6
    {6, {60, 65, 70, 96, 127, 158}},           // 7
    {7, {54, 59, 64, 69, 74, 99, 124}},        // 8
    {5, {76, 77, 78, 79, 104}},                // 9
}};
constexpr int32_t kFirstRangeTable = 3;
constexpr int32_t kLastRangeTable = 9;

// Palette entries 0..15: white, black, then a scale from dark blue through green and
// yellow to dark red.
constexpr std::array<std::array<int32_t, 3>, 16> kPalette{{
    {{255, 255, 255}}, {{0, 0, 0}}, {{5, 6, 48}}, {{0, 9, 64}}, {{-2, 18, 129}},
    {{5, 27, 138}}, {{17, 36, 148}}, {{-5, 54, 187}}, {{2, 78, 119}}, {{20, 106, 48}},
    {{77, 148, 32}}, {{252, 239, 22}}, {{204, 112, 32}}, {{171, 51, 22}}, {{157, 24, 22}},
    {{145, 9, 32}},
}};
constexpr std::array<int32_t, 7> kPalettePositive{1, 15, 13, 11, 9, 6, 2};
constexpr std::array<int32_t, 14> kPaletteRange{2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 6, 6, 7};
constexpr int32_t kPaletteCount = 14;
constexpr int32_t kPaletteFill = 0;
constexpr int32_t kPaletteSet = 1;

}  // namespace

void RASGRY(int32_t n, int32_t& count) {
  PclCtb& t = PCLCTB;
  if (n >= kFirstRangeTable && n <= kLastRangeTable) {
    const GreyRange& g = kGreyRanges[static_cast<size_t>(n - kFirstRangeTable)];
    for (int32_t k = 1; k <= g.count; ++k) t.R(k) = g.values[static_cast<size_t>(k - 1)];
    t.count = g.count;
  } else {
    for (int32_t c = 1; c <= PclCtb::kPositive; ++c) t.T(c) = kGreyPositive[static_cast<size_t>(c - 1)];
    t.N(0) = kGreyPaper;
    for (int32_t k = 1; k <= kGreyCount; ++k) {
      t.N(k) = kGreyNegative[static_cast<size_t>(k - 1)];
      t.R(k) = kGreyRange[static_cast<size_t>(k - 1)];
    }
    t.count = kGreyCount;
  }
  count = t.count;
}

void RASCTB(int32_t n, int32_t& count) {
  PclCtb& t = PCLCTB;
  if (n == kPaletteFill) {
    for (int32_t i = 0; i < PclCtb::kLevels; ++i) {
      for (int32_t component = 1; component <= 3; ++component) {
        t.colour(component, i) = kPalette[static_cast<size_t>(i)][static_cast<size_t>(component - 1)];
      }
    }
  } else if (n == kPaletteSet) {
    t.count = kPaletteCount;
    for (int32_t i = 0; i < PclCtb::kLevels; ++i) {
      PCLLEV(t.colour(1, i), t.colour(2, i), t.colour(3, i), t.level(1, i), t.level(2, i), t.level(3, i));
    }
    for (int32_t c = 1; c <= PclCtb::kPositive; ++c) t.T(c) = kPalettePositive[static_cast<size_t>(c - 1)];
    t.N(0) = 0;
    for (int32_t k = 1; k <= kPaletteCount; ++k) {
      t.N(k) = k + 1;
      t.R(k) = kPaletteRange[static_cast<size_t>(k - 1)];
    }
  }
  count = t.count;
}

void PCLLEV(int32_t red, int32_t green, int32_t blue, int32_t& redLevel, int32_t& greenLevel,
            int32_t& blueLevel) {
  redLevel = intOf(static_cast<float>(red) / 255.0f * 86.0f + 4.5f);
  greenLevel = intOf(static_cast<float>(green) / 255.0f * 84.0f + 4.5f);
  blueLevel = intOf(static_cast<float>(blue) / 255.0f * 79.0f + 6.5f);
}

}  // namespace kvr
