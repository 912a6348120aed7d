#include "plot/pcl/pclgeo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "plot/pcl/pcldrv.h"
#include "plot/pcl/pclsta.h"
#include "plot/pcl/raspag.h"
#include "runtime/envirn.h"
#include "runtime/ftext.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr float kLandscapeWidth = 10.0f;  // inches
constexpr float kPortraitWidth = 7.5f;
constexpr float kPageHeight = 7.5f;
constexpr float kDefaultXOffset = 0.17777778f;  // 128 decipoints
constexpr float kDefaultYOffset = 0.26666668f;  // 192 decipoints
constexpr float kDecipoints = 720.0f;            // an inch
constexpr float kDeviceUnits = 300.0f;           // an inch
constexpr int32_t kWidestInches = 10;
constexpr int32_t kHighestInches = 8;
constexpr int32_t kSettingLength = 80;
constexpr size_t kLeastWord = 3;
constexpr int32_t kLongestReal = 99;

// The first word of TEXT: up to its first blank.
std::string_view firstWord(std::string_view text) { return text.substr(0, text.find(' ')); }

// How the characters of a number of the geometry readers count.
enum class Digits {
  Only,      // only digits; other characters are passed over
  AllButX,   // every character but "X" (and ".") is a digit
  All,       // every character (but ".") is a digit
};

// A number of the readers: digits accumulate (held to the integer range); "." starts
// the decimals and every character after it counts as a decimal place.
float number(std::string_view s, Digits rule) {
  int64_t value = 0;
  int32_t decimals = 0;
  bool fraction = false;
  for (char c : s) {
    if (fraction) ++decimals;
    if (c == '.' && !fraction) {
      fraction = true;
      continue;
    }
    const bool digit = rule == Digits::All || (rule == Digits::AllButX && c != 'X' && c != '.') ||
                       (c >= '0' && c <= '9');
    if (!digit || c == '.') continue;
    // A long run of digits would overflow the sum.
    value = std::clamp<int64_t>(value * 10 + (static_cast<unsigned char>(c) - '0'),
                                std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
  }
  return static_cast<float>(static_cast<double>(value) / std::pow(10.0, decimals));
}

// A real read from S (TXTREL), 0.0 for an empty text.
float realOf(std::string_view s) {
  const auto n = static_cast<int32_t>(std::min<size_t>(s.size(), kLongestReal));
  if (n == 0) return 0.0f;
  FixedText t(n, s);
  return TXTREL(t, n);
}

// TARGET := V when V is a size or offset at all: above 0 and finite. A value of 0 or
// below (from "-8x10", say) would make a page of no or negative pixels.
void take(float& target, float v) {
  if (v > 0.0f && std::isfinite(v)) target = v;
}

void setting(std::string_view key, FixedText& value, int32_t& length) {
  FixedText k(static_cast<int32_t>(key.size()), key);
  value.text().fill(' ');
  PCLSET(k, value, false, length);
}

std::string lowerCase(std::string_view s) {
  std::string t(s);
  for (char& c : t) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return t;
}

std::string upperCase(std::string_view s) {
  std::string t(s);
  for (char& c : t) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return t;
}

void debugLine(bool debug, const std::vector<fmt::Item>& items) {
  if (debug) io::writeRecord(io::kStdoutUnit, fmt::listDirected(items));
}

// Cut down to a multiple of 8.
int32_t whole8(int32_t v) { return v - v % 8; }

}  // namespace

void PCLGST(std::string_view word, float& width, float& height, float& xOffset, float& yOffset,
            int32_t& status) {
  status = 1;
  if (word.size() < kLeastWord) return;
  const size_t plus = word.find('+');
  const std::string_view size = word.substr(0, plus);
  float w = 0.0f;
  float h = 0.0f;
  if (!size.empty()) {
    const size_t x = size.find_first_of("Xx");
    if (x == std::string_view::npos) return;
    w = number(size.substr(0, x), Digits::Only);
    h = number(size.substr(x + 1), Digits::Only);
  }
  float xo = 0.0f;
  float yo = 0.0f;
  if (plus != std::string_view::npos) {
    const std::string_view offsets = word.substr(plus + 1);
    const size_t second = offsets.find('+');
    xo = number(offsets.substr(0, second), Digits::All);
    if (second != std::string_view::npos) {
      const std::string_view rest = offsets.substr(second + 1);
      yo = number(rest.substr(0, rest.find('+')), Digits::All);
    }
  }
  width = w;
  height = h;
  xOffset = xo;
  yOffset = yo;
  status = 0;
}

void PCLSIZ(std::string_view word, float& width, float& height, int32_t& status) {
  status = 1;
  const size_t x = word.find('X');
  if (word.size() < kLeastWord || x == std::string_view::npos) return;
  width = number(word.substr(0, x), Digits::AllButX);
  height = number(word.substr(x + 1), Digits::AllButX);
  status = 0;
}

void PCLMRG(std::string_view word, float unit, float& xOffset, float& yOffset, int32_t& status) {
  status = 1;
  const size_t plus = word.find('+');
  if (word.size() < kLeastWord || plus == std::string_view::npos || plus < 1) return;
  float x = realOf(word.substr(0, plus));
  float y = realOf(word.substr(plus + 1));
  if (unit != 0.0f) {
    x /= unit;
    y /= unit;
  }
  xOffset = x;
  yOffset = y;
  status = 0;
}

void PCLGEO(float& width, float& height, float& xOffset, float& yOffset) {
  FixedText value(kSettingLength);
  FixedText name(10, "TL_RASGEOM");
  ENVIRN(name, value);
  if (value.view()[0] != ' ') {
    float w = 0.0f, h = 0.0f, x = 0.0f, y = 0.0f;
    int32_t status = 1;
    PCLGST(firstWord(value.view()), w, h, x, y, status);
    if (status != 0) return;
    take(width, w);
    take(height, h);
    take(xOffset, x);
    take(yOffset, y);
    return;
  }

  int32_t length = 0;
  float unit = 1.0f;
  setting("PageSizeUnits", value, length);
  if (length >= 1) {
    const std::string units = lowerCase(value.view());
    if (units.find("inch") != std::string::npos) {
      unit = 1.0f;
    } else if (units.find("mm") != std::string::npos) {
      unit = 25.4f;
    } else if (units.find("point") != std::string::npos) {
      unit = 72.0f;
    }
  }

  setting("PageSize", value, length);
  if (length >= 1) {
    float w = 0.0f, h = 0.0f;
    int32_t status = 1;
    PCLSIZ(upperCase(firstWord(value.view())), w, h, status);
    if (status == 0) {
      take(width, w / unit);
      take(height, h / unit);
    }
  }

  setting("PageMargins", value, length);
  if (length >= 1) {
    float x = 0.0f, y = 0.0f;
    int32_t status = 1;
    PCLMRG(firstWord(value.view()), unit, x, y, status);
    if (status == 0) {
      take(xOffset, x);
      take(yOffset, y);
    }
  }
}

void PCLREP(bool debug, int32_t dpi, int32_t backgroundByte) {
  PclSta& s = PCLSTA;
  float width = s.landscape ? kLandscapeWidth : kPortraitWidth;
  float height = kPageHeight;
  float xOffset = kDefaultXOffset;
  float yOffset = kDefaultYOffset;
  PCLGEO(width, height, xOffset, yOffset);

  s.xOffset = intOf(xOffset * kDecipoints);
  s.yOffset = intOf(yOffset * kDecipoints);
  const auto perInch = static_cast<float>(dpi);
  s.wpix = std::min(whole8(intOf(width * perInch)), kWidestInches * dpi);
  s.hpix = std::min(whole8(intOf(height * perInch)), kHighestInches * dpi);
  s.outputRows = s.landscape ? kHighestInches * dpi : s.hpix;
  s.wdev = width * kDeviceUnits;
  s.hdev = height * kDeviceUnits;

  debugLine(debug, {s.landscape ? "Orientation : Landscape" : "Orientation : Portrait"});
  debugLine(debug, {"Page size   :", width, " by", height});
  debugLine(debug, {"Page offsets:", xOffset, " and", yOffset});

  // Clear what the page uses of the bitmap, in the model's layout.
  const auto fill = static_cast<uint8_t>(backgroundByte & 0xFF);
  if (s.monochrome && s.dithering) {
    const int32_t bands = std::min(intOf(static_cast<float>(s.outputRows) / 8.0f + 0.5f), RasPag::kBands);
    const int32_t columns = std::min(s.wpix, RasPag::kBandBytes);
    for (int32_t b = 1; b <= bands && columns > 0; ++b) std::memset(&RASPAG.band(b, 1), fill, static_cast<size_t>(columns));
  } else {
    const int32_t rows = std::min(s.outputRows, RasPag::kRows);
    const int32_t columns = std::min(s.wpix, RasPag::kRowBytes);
    for (int32_t r = 1; r <= rows && columns > 0; ++r) std::memset(&RASPAG.pixel(1, r), fill, static_cast<size_t>(columns));
  }

  RasterEngine& e = pclEngine();
  e.sx = (static_cast<float>(s.wpix) - 1.0f) / s.wdev;
  e.sy = (static_cast<float>(s.hpix) - 1.0f) / s.hdev;
  // The pixels RASPIX keeps: columns 1..Wpix, bitmap rows 1..output rows.
  e.columns = s.wpix;
  e.highest = s.hpix;
  e.lowest = s.hpix - s.outputRows + 1;
}

}  // namespace kvr
