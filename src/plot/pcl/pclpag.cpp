#include "plot/pcl/pclpag.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "plot/pcl/pcldrv.h"
#include "plot/pcl/pclsta.h"
#include "plot/pcl/raspag.h"
#include "plot/raster/rasfile.h"
#include "runtime/ftext.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr char kEsc = '\x1b';
constexpr int32_t kSettingLength = 80;

// The row buffers: a printer row holds at most 10 inches of pixels, 375 bytes at 300 dpi
// (a plane row 225 at 180 dpi); a portrait page 10 inches wide needs them all.
constexpr int32_t kMaxRowBytes = 10 * 300 / 8;
constexpr int32_t kMaxPlanes = 4;
constexpr size_t kRecordHead = 16;

std::array<uint8_t, kMaxRowBytes> gRow{};
std::array<std::array<uint8_t, kMaxRowBytes>, kMaxPlanes> gPlanes{};
std::array<uint8_t, kRecordHead + 2 * kMaxRowBytes> gRecord{};

void send(std::string_view bytes) {
  RasWrite(static_cast<int32_t>(bytes.size()),
           std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

// VALUE in WIDTH digits with leading zeros; a value with more digits is written in full.
std::string digits(int32_t value, int width) {
  const std::string w = std::to_string(width);
  std::string s = fmt::format1("(I" + w + "." + w + ")", {value});
  if (s.find('*') != std::string::npos) s = fmt::editI(value, 0);
  return s;
}

// A resolution: 3 digits from 100 dpi on, 2 below.
std::string resolution(int32_t dpi) { return digits(dpi, dpi >= 100 ? 3 : 2); }

void debugLine(bool debug, const std::vector<fmt::Item>& items) {
  if (debug) io::writeRecord(io::kStdoutUnit, fmt::listDirected(items));
}

// The setting KEY of the model's section; false when it is not set.
bool setting(std::string_view key, bool isSwitch, FixedText& value) {
  FixedText k(static_cast<int32_t>(key.size()), key);
  value.text().fill(' ');
  int32_t length = 0;
  PCLSET(k, value, isSwitch, length);
  return length >= 1;
}

std::string lowerCase(std::string_view s) {
  std::string t(s);
  for (char& c : t) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return t;
}

bool beginsWithT(const FixedText& value) {
  const char c = value.view().empty() ? ' ' : value.view()[0];
  return c == 'T' || c == 't';
}

bool contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

// The integer of the first word of a setting, or FALLBACK when it is not set or lies
// outside LOW..HIGH.
int32_t integerSetting(std::string_view key, int32_t low, int32_t high, int32_t fallback) {
  FixedText value(kSettingLength);
  if (!setting(key, false, value)) return fallback;
  const std::string_view v = value.view();
  const auto n = static_cast<int32_t>(std::min<size_t>(v.find(' ') == std::string_view::npos ? v.size() : v.find(' '), 99));
  const int32_t k = n > 0 ? TXTINT(value, n) : 0;
  return k >= low && k <= high ? k : fallback;
}

// The printer rows of the page: their number and their bytes.
int32_t printerRows() { return PCLSTA.landscape ? PCLSTA.wpix : PCLSTA.hpix; }

int32_t rowBytes(int32_t dpi) {
  const PclSta& s = PCLSTA;
  const int32_t n = s.landscape ? s.outputRows / 8 : s.wpix / 8;
  return std::clamp(n, 0, std::min(10 * dpi / 8, kMaxRowBytes));
}

// Pixel I (1 on) of printer row K of the byte layout.
uint8_t rowPixel(int32_t k, int32_t i) {
  const PclSta& s = PCLSTA;
  return s.landscape ? RASPAG.pixel(s.wpix - k + 1, i) : RASPAG.pixel(i, k);
}

// Splits printer row K into PLANES plane rows of N bytes: plane p holds bit p - 1 of
// each pixel byte.
void splitRow(int32_t k, int32_t n, int32_t planes) {
  for (int32_t p = 0; p < planes; ++p) std::fill_n(gPlanes[static_cast<size_t>(p)].begin(), n, uint8_t{0});
  for (int32_t i = 1; i <= 8 * n; ++i) {
    const uint8_t pixel = rowPixel(k, i);
    const auto byte = static_cast<size_t>((i - 1) / 8);
    const auto bit = static_cast<uint8_t>(0x80 >> ((i - 1) % 8));
    for (int32_t p = 0; p < planes; ++p) {
      if ((pixel >> p) & 1) gPlanes[static_cast<size_t>(p)][byte] |= bit;
    }
  }
}

void sendPlaneRows(int32_t dpi, int32_t planes) {
  const int32_t n = rowBytes(dpi);
  const int32_t rows = printerRows();
  for (int32_t k = 1; k <= rows; ++k) {
    splitRow(k, n, planes);
    for (int32_t p = 0; p < planes; ++p) {
      writePlaneRecord(p + 1 < planes ? 'V' : 'W',
                       std::span<const uint8_t>(gPlanes[static_cast<size_t>(p)]).first(static_cast<size_t>(n)),
                       PCLSTA.runLength);
    }
  }
}

// The cursor position in decipoints.
void sendOffsets() {
  send(std::string(1, kEsc) + "&a" + digits(PCLSTA.xOffset, 4) + "H");
  send(std::string(1, kEsc) + "&a" + digits(PCLSTA.yOffset, 4) + "V");
}

void sendRasterWidth(int32_t dpi) { send(std::string(1, kEsc) + "*r" + digits(8 * rowBytes(dpi), 4) + "S"); }

void sendEnd() {
  send(std::string(1, kEsc) + "*r0B");
  send(std::string(1, kEsc) + "*b0M");
  if (PCLSTA.formFeed) send(std::string(1, kEsc) + "E");
}

}  // namespace

void PCLRLE(std::span<const uint8_t> data, std::span<uint8_t> pairs, int32_t& length) {
  length = 0;
  if (data.empty()) return;
  size_t out = 0;
  auto emit = [&](uint8_t count, uint8_t byte) {
    if (out + 2 > pairs.size()) return;
    pairs[out++] = count;
    pairs[out++] = byte;
  };
  uint8_t current = data[0];
  int32_t repeat = 0;
  for (size_t i = 1; i < data.size(); ++i) {
    if (data[i] == current && repeat < 255) {
      ++repeat;
    } else {
      emit(static_cast<uint8_t>(repeat), current);
      current = data[i];
      repeat = 0;
    }
  }
  emit(static_cast<uint8_t>(repeat), current);
  length = static_cast<int32_t>(out);
}

void writePlaneRecord(char letter, std::span<const uint8_t> data, bool runLength) {
  // Compressed bytes go to their own buffer: method 1 may double the row, and an
  // encoding in place would overwrite bytes not yet read.
  std::span<const uint8_t> body = data.first(std::min<size_t>(data.size(), kMaxRowBytes));
  std::array<uint8_t, 2 * kMaxRowBytes> pairs{};
  if (runLength) {
    int32_t n = 0;
    PCLRLE(body, pairs, n);
    body = std::span<const uint8_t>(pairs).first(static_cast<size_t>(n));
  }
  const std::string head = std::string(1, kEsc) + "*b" + digits(static_cast<int32_t>(body.size()), 3) + letter;
  const size_t total = std::min(head.size(), kRecordHead) + body.size();
  std::copy_n(head.begin(), std::min(head.size(), kRecordHead), gRecord.begin());
  std::copy(body.begin(), body.end(), gRecord.begin() + static_cast<std::ptrdiff_t>(std::min(head.size(), kRecordHead)));
  RasWrite(static_cast<int32_t>(total), std::span<const uint8_t>(gRecord).first(total));
}

void PCLPAG(bool close, bool debug, int32_t dpi) {
  switch (PCLSTA.model) {
    case kModelLaser: PCLLJR(debug, dpi); break;
    case kModelPaint: PCLPJJ(debug, dpi); break;
    case kModelDesk: PCLDJJ(debug, dpi); break;
    default: break;
  }
  if (close) RasClose();
}

void PCLLJR(bool, int32_t dpi) {
  const PclSta& s = PCLSTA;
  send(std::string(1, kEsc) + "E");
  sendOffsets();
  send(std::string(1, kEsc) + "*t" + resolution(dpi) + "R");
  send(std::string(1, kEsc) + "*r1A");
  const int32_t n = rowBytes(dpi);
  const int32_t rows = printerRows();
  const std::string head = std::string(1, kEsc) + "*b" + digits(n, 3) + "W";
  for (int32_t k = 1; k <= rows; ++k) {
    if (s.landscape) {
      // A band byte already holds 8 vertically adjacent pixels, the top one first.
      const int32_t x = s.wpix - k + 1;
      for (int32_t b = 1; b <= n; ++b) gRow[static_cast<size_t>(b - 1)] = RASPAG.band(b, x);
    } else {
      const int32_t band = (k - 1) / 8 + 1;
      const auto bit = static_cast<uint8_t>(0x80 >> ((k - 1) % 8));
      for (int32_t b = 1; b <= n; ++b) {
        uint8_t byte = 0;
        for (int32_t i = 0; i < 8; ++i) {
          if (RASPAG.band(band, 8 * (b - 1) + i + 1) & bit) byte |= static_cast<uint8_t>(0x80 >> i);
        }
        gRow[static_cast<size_t>(b - 1)] = byte;
      }
    }
    send(head);
    RasWrite(n, std::span<const uint8_t>(gRow).first(static_cast<size_t>(n)));
  }
  send(std::string(1, kEsc) + "*rB");
  if (s.formFeed) send(std::string(1, kEsc) + "E");
}

void PCLPJJ(bool debug, int32_t dpi) {
  PclSta& s = PCLSTA;
  FixedText value(kSettingLength);
  std::string quality;
  std::string_view qualityLine = "Presentation Mode is as per keypad";
  if (setting("Quality", false, value)) {
    const std::string q = lowerCase(value.view());
    if (contains(q, "presentation")) {
      quality = std::string(1, kEsc) + "*o1Q";
      qualityLine = "Presentation Mode is ON";
    } else if (contains(q, "normal")) {
      quality = std::string(1, kEsc) + "*o0Q";
      qualityLine = "Presentation Mode is OFF";
    }
  }
  std::string transparency;
  std::string_view transparencyLine = "Transparency Mode is as per keypad";
  if (setting("Transparency", true, value)) {
    if (beginsWithT(value)) {
      transparency = std::string(1, kEsc) + "&k3W";
      transparencyLine = "Transparency Mode is ON";
    } else {
      transparencyLine = "Transparency Mode is OFF";
    }
  }
  debugLine(debug, {qualityLine});
  debugLine(debug, {transparencyLine});

  const int32_t planes = s.dithering ? 3 : 4;
  send(std::string(1, kEsc) + "E");
  send(std::string(1, kEsc) + "*t" + resolution(dpi) + "R");
  send(std::string(1, kEsc) + "*r" + std::to_string(planes) + "U");
  send(quality);
  send(transparency);
  if (!s.dithering) {
    for (int32_t k = 0; k < PclCtb::kLevels; ++k) {
      send(std::string(1, kEsc) + "*v" + digits(PCLCTB.level(1, k), 2) + "A");
      send(std::string(1, kEsc) + "*v" + digits(PCLCTB.level(2, k), 2) + "B");
      send(std::string(1, kEsc) + "*v" + digits(PCLCTB.level(3, k), 2) + "C");
      send(std::string(1, kEsc) + "*v" + digits(k, 2) + "I");
    }
  }
  sendOffsets();
  sendRasterWidth(dpi);
  send(std::string(1, kEsc) + "*r1A");
  if (s.runLength) send(std::string(1, kEsc) + "*b1M");
  sendPlaneRows(dpi, planes);
  sendEnd();
}

void PCLDJJ(bool debug, int32_t dpi) {
  const PclSta& s = PCLSTA;
  const int32_t depletion = integerSetting("Depletion", 1, 3, 2);
  const int32_t shingle = integerSetting("Shingle", 0, 2, 0);
  FixedText value(kSettingLength);
  std::string quality;
  std::string_view qualityLine = "Graphics Quality is as per keypad";
  if (setting("Quality", false, value)) {
    const std::string q = lowerCase(value.view());
    if (contains(q, "draft")) {
      quality = std::string(1, kEsc) + "*r1Q";
      qualityLine = "Graphics Quality is Draft";
    } else if (contains(q, "high")) {
      quality = std::string(1, kEsc) + "*r2Q";
      qualityLine = "Graphics Quality is High";
    }
  }
  const bool transparent = setting("Transparency", true, value) && beginsWithT(value);
  // Transparency is shingling 1, which only a Shingle of 0 leaves free.
  const std::string transparency = transparent && shingle == 0 ? std::string(1, kEsc) + "*o1Q" : "";

  debugLine(debug, {"Graphics Depletion is", depletion});
  debugLine(debug, {"Graphics Shingling is", shingle});
  debugLine(debug, {qualityLine});
  debugLine(debug, {transparent ? "Transparency Mode is ON" : "Transparency Mode is OFF"});
  if (!transparency.empty()) debugLine(debug, {"Graphics Shingling reset to 1"});

  send(std::string(1, kEsc) + "E");
  send(std::string(1, kEsc) + "*t" + resolution(dpi) + "R");
  send(std::string(1, kEsc) + "*r+3U");
  sendOffsets();
  sendRasterWidth(dpi);
  send(std::string(1, kEsc) + "*o" + digits(depletion, 1) + "D");
  send(std::string(1, kEsc) + "*o" + digits(shingle, 1) + "Q");
  send(quality);
  send(transparency);
  send(std::string(1, kEsc) + "*r1A");
  if (s.runLength) send(std::string(1, kEsc) + "*b1M");
  sendPlaneRows(dpi, 3);
  sendEnd();
}

}  // namespace kvr
