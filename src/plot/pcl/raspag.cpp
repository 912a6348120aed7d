#include "plot/pcl/raspag.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "platform/fmtedit.h"
#include "plot/pcl/pclsta.h"
#include "plot/raster/raseng.h"

namespace kvr {

RasPag RASPAG;

const std::array<std::array<uint8_t, 4>, 17> RASDTB{{
    {{0xF, 0xF, 0xF, 0xF}},  // 0: solid ink
    {{0xF, 0xF, 0xF, 0xE}},
    {{0xF, 0xF, 0xF, 0x6}},
    {{0xE, 0xF, 0xF, 0x6}},
    {{0x6, 0xF, 0xF, 0x6}},
    {{0x6, 0xF, 0xF, 0x2}},
    {{0x6, 0xE, 0xF, 0x2}},
    {{0x6, 0xE, 0xF, 0x0}},
    {{0x6, 0xE, 0xE, 0x0}},
    {{0x6, 0xE, 0x6, 0x0}},
    {{0x4, 0xE, 0x6, 0x0}},  // 10
    {{0x4, 0x6, 0x6, 0x0}},
    {{0x0, 0x6, 0x6, 0x0}},
    {{0x0, 0x6, 0x4, 0x0}},
    {{0x0, 0x6, 0x0, 0x0}},
    {{0x0, 0x4, 0x0, 0x0}},
    {{0x0, 0x0, 0x0, 0x0}},  // 16: no ink
}};

namespace {

constexpr int32_t kInk = 0;
constexpr int32_t kNoInk = 255;
constexpr float kLevelsPerValue = 0.0627451f;  // 16/255
constexpr int32_t kLastLevel = 16;
constexpr int32_t kDitherBase = 50;
constexpr int32_t kCells = 4;

// The non-negative remainder of V by 4: the table row of bitmap row r is (-r) mod 4 and
// its bit for column X (-X) mod 4, which a truncating remainder would make negative.
int32_t mod4(int64_t v) { return static_cast<int32_t>(((v % kCells) + kCells) % kCells); }

void sink(const RasterEngine&, int32_t x, int32_t y, int32_t c) { RASPIX(x, y, c); }

}  // namespace

RasterEngine& pclEngine() {
  RasterEngine& e = PCLSTA.engine;
  e.sink = sink;
  e.wholeBoxMarkers = false;
  return e;
}

void RASPIX(int32_t x, int32_t y, int32_t c) {
  const PclSta& s = PCLSTA;
  const int64_t r = int64_t{s.hpix} - y + 1;
  // The engine stores wherever a pixel falls; only the page's pixels are kept. The
  // rows below Hpix belong to the page: the landscape title lies there.
  if (x < 1 || x > s.wpix || r < 1 || r > s.outputRows) return;
  const auto row = static_cast<int32_t>(r);
  if (!s.dithering || !s.monochrome) {
    if (x > RasPag::kRowBytes || row > RasPag::kRows) return;
    int32_t value = c;
    if (s.dithering) RASDIT(c, 1 + (x % 2 != 0 ? 1 : 0) + (row % 2 != 0 ? 2 : 0), value);
    RASPAG.pixel(x, row) = static_cast<uint8_t>(value & 0xFF);
    return;
  }
  const int32_t band = (row - 1) / 8 + 1;
  if (x > RasPag::kBandBytes || band > RasPag::kBands) return;
  bool ink = c == kInk;
  if (c != kInk && c != kNoInk) {
    // Grey values beyond 255 would leave the table.
    const int32_t level = std::clamp(intOf(static_cast<float>(c) * kLevelsPerValue), 0, kLastLevel);
    const uint8_t pattern = RASDTB[static_cast<size_t>(level)][static_cast<size_t>(mod4(-r))];
    ink = ((pattern >> mod4(-int64_t{x})) & 1) != 0;
  }
  const auto bit = static_cast<uint8_t>(0x80 >> ((row - 1) % 8));
  uint8_t& byte = RASPAG.band(band, x);
  byte = ink ? static_cast<uint8_t>(byte | bit) : static_cast<uint8_t>(byte & ~bit);
}

void RASDIT(int32_t v, int32_t k, int32_t& value) {
  const int64_t t = int64_t{v} - kDitherBase;
  const int64_t q = t / 25;
  const int64_t s = t - 25 * q;
  const int64_t p = s / 5;
  const int64_t u = s - 5 * p;
  // The pointer walks the four counters round; a loop of n steps gives each counter
  // n div 4 steps and one more to the first n mod 4 counters from where it stands, so
  // no code makes a loop run long.
  std::array<int64_t, kCells> counter{1, 1, 1, 1};
  int64_t at = 0;
  const std::array<std::pair<int64_t, int64_t>, 3> loops{{{q, 1}, {p, 2}, {u, 4}}};
  for (const auto& [n, add] : loops) {
    if (n <= 0) continue;
    for (int64_t i = 0; i < kCells; ++i) {
      const int64_t hits = n / kCells + (((i - at) % kCells + kCells) % kCells < n % kCells ? 1 : 0);
      counter[static_cast<size_t>(i)] += hits * add;
    }
    at = (at + n) % kCells;
  }
  value = k >= 1 && k <= kCells ? static_cast<int32_t>(counter[static_cast<size_t>(k - 1)] - 1) : 0;
}

}  // namespace kvr
