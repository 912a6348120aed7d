#include "plot/defcol.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/filcls.h"
#include "runtime/filtyp.h"
#include "runtime/fouvre.h"
#include "runtime/ftext.h"
#include "runtime/iounit.h"
#include "runtime/nxttkn.h"
#include "runtime/pltcap.h"
#include "runtime/pltctb.h"
#include "runtime/resget.h"

namespace kvr {
namespace {

// Colour tables 1 to 10: shades and the palette index of shade 1.
struct TableDef {
  int32_t shades;
  int32_t firstIndex;
};

constexpr TableDef kTables[PltCtb::kTables] = {
    {31, 13},  {21, 149}, {21, 44},  {21, 65}, {21, 86},
    {21, 107}, {21, 128}, {21, 149}, {21, 170}, {12, 1},
};

struct Rgb {
  int32_t r, g, b;
};

// The twelve basic colours, palette entries 1 to 12.
constexpr Rgb kBasicColours[12] = {
    {255, 255, 255}, {210, 0, 0},     {255, 178, 0},   {255, 255, 0},
    {0, 255, 0},     {0, 0, 255},     {255, 0, 255},   {0, 0, 0},
    {110, 110, 110}, {140, 140, 140}, {160, 160, 160}, {210, 210, 210},
};

// The ramps of the built-in palette, in this order: each of the second to fourth starts on
// the last entry of the one before and writes it again with the same colour.
struct Ramp {
  int32_t first, last;
  Rgb from, to;
};
constexpr Ramp kRamps[] = {
    {13, 22, {73, 109, 255}, {36, 243, 255}},
    {23, 26, {36, 255, 243}, {36, 255, 109}},
    {26, 29, {36, 255, 109}, {109, 255, 36}},
    {29, 33, {109, 255, 36}, {243, 255, 36}},
    {34, 43, {255, 243, 36}, {255, 109, 73}},
    {44, 64, {80, 80, 80}, {220, 220, 220}},
    {65, 74, {165, 0, 0}, {255, 0, 0}},
    {75, 85, {255, 10, 10}, {255, 110, 110}},
    {86, 95, {165, 80, 0}, {255, 125, 0}},
    {96, 106, {255, 130, 10}, {255, 180, 110}},  // 10
    {107, 116, {165, 165, 0}, {255, 255, 0}},
    {117, 127, {255, 255, 10}, {255, 255, 110}},
    {128, 137, {0, 165, 0}, {0, 255, 0}},
    {138, 148, {10, 255, 10}, {110, 255, 110}},
    {149, 158, {0, 0, 165}, {0, 0, 255}},
    {159, 169, {10, 10, 255}, {110, 110, 255}},
    {170, 179, {165, 0, 165}, {255, 0, 255}},
    {180, 190, {255, 10, 255}, {255, 110, 255}},
};

constexpr int32_t kBuiltInEntries = 190;
constexpr int32_t kDeviceColourBase = 64;
constexpr int32_t kEmptyEntry = -1;
constexpr int32_t kBlackShade = 8;

// The colour map file.
constexpr int32_t kColourMapType = 28;
constexpr int32_t kFormatted = 1;
constexpr int32_t kReadOnly = 4;
constexpr int32_t kLineLength = 80;
constexpr int32_t kSettingLength = 80;
constexpr std::string_view kLetters = "CWROYGBVP";

bool gColourMapTaken = false;

void setEntry(PaletteArray a, int32_t index, int32_t value) {
  a[static_cast<size_t>(index - 1)] = value;
}

bool textAt(const std::array<int32_t, kLineLength>& codes, int32_t first, std::string_view s) {
  for (size_t k = 0; k < s.size(); ++k) {
    if (codes[static_cast<size_t>(first - 1) + k] != codeOf(s[k])) return false;
  }
  return true;
}

// Takes one line of the colour map; false when it is wrong.
bool takeLine(const std::array<int32_t, kLineLength>& codes, PaletteArray red,
              PaletteArray green, PaletteArray blue) {
  int32_t kind = 0;
  int32_t first = 0;
  int32_t last = 0;
  int32_t ivalue = 0;
  float rvalue = 0.0f;
  NXTTKN(codes, 1, 6, kLexName, kind, first, last, ivalue, rvalue);
  if (kind != kTokenText) return false;

  int32_t letterAt = 0;
  if (textAt(codes, 1, "U S C ")) {
    letterAt = 7;
  } else if (textAt(codes, 1, "U S COL ")) {
    letterAt = 9;
  } else {
    return false;
  }
  const size_t place = kLetters.find(charOf(codes[static_cast<size_t>(letterAt - 1)]));
  if (place == std::string_view::npos) return false;
  const int32_t table = place == 0 ? 1 : static_cast<int32_t>(place) + 2;

  NXTTKN(codes, letterAt + 1, letterAt + 3, kLexInteger, kind, first, last, ivalue, rvalue);
  if (kind != kTokenInteger) return false;
  const int32_t shade = ivalue;

  float rgb[3] = {};
  int32_t next = last + 1;
  for (float& component : rgb) {
    rvalue = 0.0f;
    NXTTKN(codes, next, kLineLength, kLexNumber, kind, first, last, ivalue, rvalue);
    component = rvalue;
    next = last + 1;
  }

  // A shade the table does not have, or a palette index outside the palette, would be
  // read or written outside the tables.
  if (shade < 1 || shade > std::min(PLTCTB.count(table), PltCtb::kShades)) return false;
  const int32_t index = PLTCTB.shade(table, 1, shade);
  if (index < 1 || index > PlRgb::kEntries) return false;
  setEntry(red, index, intOf(rgb[0] * 255.0f + 0.5f));
  setEntry(green, index, intOf(rgb[1] * 255.0f + 0.5f));
  setEntry(blue, index, intOf(rgb[2] * 255.0f + 0.5f));
  return true;
}

// The file the device's setting "Colourmap" names (its characters before the first
// blank), or an empty name.
std::string colourMapName() {
  const std::string_view device = PLTCAP.deviceName().view();
  const std::string_view section = device.substr(0, device.find(' '));
  if (section.empty()) return {};
  FixedText app(6, "Quorin");
  FixedText prog(1, "*");
  FixedText sectionText(static_cast<int32_t>(section.size()), section);
  FixedText key(9, "Colourmap");
  FixedText value(kSettingLength);
  int32_t status = 0;
  RESGET(app, prog, sectionText, key, false, value, status);
  if (status < 1) return {};
  const std::string_view v = value.view();
  return std::string(v.substr(0, v.find(' ')));
}

}  // namespace

void DEFCOL() {
  for (int32_t t = 1; t <= PltCtb::kTables; ++t) {
    const TableDef& def = kTables[t - 1];
    PLTCTB.count(t) = def.shades;
    for (int32_t row = 1; row <= 3; ++row) {
      for (int32_t j = 1; j <= def.shades; ++j) PLTCTB.shade(t, row, j) = def.firstIndex + j - 1;
    }
  }

  int32_t count = 0;
  CMAPRD(PLRGB.reds, PLRGB.greens, PLRGB.blues, count);
  gColourMapTaken = count >= 1;
  if (count >= 1) {
    PLRGB.highest = count;
    for (int32_t i = 1; i <= count; ++i) PLRGB.deviceColour(i) = kDeviceColourBase + i;
    return;
  }

  for (int32_t i = 1; i <= 12; ++i) {
    const Rgb& c = kBasicColours[i - 1];
    PLRGB.red(i) = c.r;
    PLRGB.green(i) = c.g;
    PLRGB.blue(i) = c.b;
  }
  for (const Ramp& ramp : kRamps) {
    CRAMP(ramp.from.r, ramp.from.g, ramp.from.b, ramp.to.r, ramp.to.g, ramp.to.b,
          ramp.last - ramp.first + 1, ramp.first, PLRGB.reds, PLRGB.greens, PLRGB.blues);
  }
  for (int32_t i = kBuiltInEntries + 1; i <= PlRgb::kEntries; ++i) {
    PLRGB.red(i) = kEmptyEntry;
    PLRGB.green(i) = kEmptyEntry;
    PLRGB.blue(i) = kEmptyEntry;
  }
  PLRGB.highest = kBuiltInEntries;
  for (int32_t i = 1; i <= kBuiltInEntries; ++i) PLRGB.deviceColour(i) = kDeviceColourBase + i;
}

bool colourMapTaken() { return gColourMapTaken; }

void CMAPRD(PaletteArray red, PaletteArray green, PaletteArray blue, int32_t& count) {
  count = 0;
  const std::string name = colourMapName();
  std::vector<int32_t> codes;
  for (char c : name) codes.push_back(codeOf(c));
  const int32_t n = static_cast<int32_t>(codes.size());

  int32_t status = 0;
  FOUVRE(-kColourMapType, codes, n, 0, 0, status);
  if (status != 1) return;
  FOUVRE(kColourMapType, codes, n, kFormatted, kReadOnly, status);
  if (status != 0) {
    FILCLS(kColourMapType);
    return;
  }

  const int32_t unit = IOUNIT.slot(fileTypeRow(kColourMapType)->openSlot);
  char line[kLineLength];
  std::array<int32_t, kLineLength> lineCodes{};
  for (;;) {
    const int32_t ios = io::readRecord(unit, line, kLineLength);
    if (ios == io::kIosEnd) break;
    std::transform(line, line + kLineLength, lineCodes.begin(), codeOf);
    if (ios != io::kIosOk || !takeLine(lineCodes, red, green, blue)) {
      count = 0;
      break;
    }
    // Only 256 entries have device colour numbers: later lines still set their entries.
    if (count < PlRgb::kEntries) ++count;
  }
  FILCLS(kColourMapType);
}

void CRAMP(int32_t r1, int32_t g1, int32_t b1, int32_t r2, int32_t g2, int32_t b2, int32_t n,
           int32_t start, PaletteArray red, PaletteArray green, PaletteArray blue) {
  if (n < 1) return;
  // A ramp of one entry has no steps (N - 1 would divide by zero).
  const int64_t d = n - 1;
  const int64_t steps[3] = {d > 0 ? (int64_t{r2} - r1) / d : 0, d > 0 ? (int64_t{g2} - g1) / d : 0,
                            d > 0 ? (int64_t{b2} - b1) / d : 0};
  const int64_t firsts[3] = {r1 < 0 ? -int64_t{r1} : r1, g1 < 0 ? -int64_t{g1} : g1,
                             b1 < 0 ? -int64_t{b1} : b1};
  const PaletteArray arrays[3] = {red, green, blue};
  // Only the entries inside the palette are written, so a long ramp ends at entry 256.
  const int64_t from = std::max<int64_t>(0, 1 - int64_t{start});
  const int64_t to = std::min<int64_t>(d, PlRgb::kEntries - int64_t{start});
  for (int64_t k = from; k <= to; ++k) {
    const size_t at = static_cast<size_t>(start + k - 1);
    for (int c = 0; c < 3; ++c) arrays[c][at] = static_cast<int32_t>(firsts[c] + k * steps[c]);
  }
}

int32_t PENCOL(int32_t table, int32_t colour, int32_t row) {
  int32_t t = kBasicColourTable;
  int64_t shade = colour;
  if (colour == 0) {
    shade = kBlackShade;
  } else if (colour < 0) {
    t = table;
    shade = -int64_t{colour};
  }
  // Table 0 (the one in use after every opcode 1), a shade past the 32 of a row or a row
  // outside 1..3 would read outside the colour tables.
  if (t < 1 || t > PltCtb::kTables || shade > PltCtb::kShades || row < 1 || row > 3) return 0;
  const int32_t index = PLTCTB.shade(t, row, static_cast<int32_t>(shade));
  if (index < 1) return index;
  if (index > PlRgb::kEntries) return 0;
  return PLRGB.deviceColour(index) - 1;
}

}  // namespace kvr
