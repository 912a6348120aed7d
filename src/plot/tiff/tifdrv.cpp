#include "plot/tiff/tifdrv.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>

#include "command/cmdlin.h"
#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "plot/defcol.h"
#include "plot/plrgb.h"
#include "plot/pltdrv.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "plot/raster/rasfile.h"
#include "plot/tiff/tifras.h"
#include "plot/tiff/tifsta.h"
#include "plot/tiff/tifwrite.h"
#include "runtime/codtxt.h"
#include "runtime/envirn.h"
#include "runtime/ftext.h"
#include "runtime/pltctb.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"
#include "runtime/resget.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kSettingLength = 80;
constexpr int32_t kTextLength = 80;  // codes of a text drawn, and of the image text
constexpr int32_t kBlackShade = 8;
constexpr int32_t kWhiteShade = 1;
constexpr int32_t kGreyTable = 1;
constexpr int32_t kFullValue = 255;  // grey mode: colour 8, and channel 2 of kinds 2 and 9
constexpr int32_t kPaletteBase = 63;  // pixel value of palette entry i is 63 + i
constexpr int32_t kFillRangeLow = 512;
constexpr int32_t kFillRangeHigh = -512;
constexpr float kLeastBand = 50.0f;  // room above the picture, device units
constexpr int32_t kDescriptionKind = 1;
constexpr int32_t kSoftwareKind = 2;
constexpr int32_t kPrivateKind = 3;
constexpr int32_t kVersionLayout = 3;
constexpr int32_t kBuildLayout = 4;

// Grey mode colour set-up.
constexpr int32_t kGreyFirst = 13;  // palette entries of the grey ramp
constexpr int32_t kGreyLast = 43;
constexpr int32_t kGreyStart = 96;
constexpr int32_t kGreyStep = 5;
constexpr int32_t kBuiltInEntries = 190;
constexpr int32_t kDeviceColourBase = 64;

bool isMarkedKind(int32_t kind) { return kind == 2 || kind == 9; }

bool beginsWithT(FText value) { return value.length() > 0 && (value.at(1) == 'T' || value.at(1) == 't'); }

void setting(std::string_view key, bool isSwitch, FixedText& value, int32_t& status) {
  FixedText k(static_cast<int32_t>(key.size()), key);
  TIFSET(k, isSwitch, value, status);
}

void debugLine(const std::string& line) {
  if (TIFSTA.debug) io::writeRecord(io::kStdoutUnit, line);
}

void saveColourTables() {
  TIFSTA.savedCounts = PLTCTB.counts;
  TIFSTA.savedShades = PLTCTB.shades;
  TIFSTA.savedPalette = PLRGB;
}

// Tables 1 to 10 and the palette as they were before the job; the text answer word is
// the protocol's, not the colour set-up's, and stays.
void restoreColourTables() {
  for (int32_t t = 1; t <= PltCtb::kTables; ++t) PLTCTB.count(t) = TIFSTA.savedCounts[static_cast<size_t>(t)];
  PLTCTB.shades = TIFSTA.savedShades;
  PLRGB = TIFSTA.savedPalette;
}

// The first word of the setting Background names black when it reads "BLACK" in any case.
bool blackBackground() {
  FixedText value(kSettingLength);
  int32_t status = 0;
  setting("Background", false, value, status);
  if (status < 1) return false;
  std::string word(value.view().substr(0, value.view().find(' ')));
  std::transform(word.begin(), word.end(), word.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return word == "BLACK";
}

void exchangeWhiteAndBlack() {
  for (int32_t row = 1; row <= 3; ++row) {
    std::swap(PLTCTB.shade(kBasicColourTable, row, kWhiteShade),
              PLTCTB.shade(kBasicColourTable, row, kBlackShade));
  }
}

// The pixel value of colour 8: the device colour of shade 8 of table 10, row 3.
int32_t backgroundValue() {
  const int32_t e = PLTCTB.shade(kBasicColourTable, 3, kBlackShade);
  if (e <= 0) return e;
  // A palette index past the palette has no device colour.
  if (e > PlRgb::kEntries) return 0;
  return PLRGB.deviceColour(e) - 1;
}

// The image text: the first 80 codes of the pending command line stripped within their
// first 79 characters; a blank line gives one blank. The grey mode turns each "_" into a
// NUL and keeps the closing NUL in the private block.
void imageText() {
  FixedText text(kTextLength);
  CODTXT(CMDLIN.lineCodes, kTextLength, text);
  FText head(text.text().data(), kTifMaxText);
  int32_t n = kTifMaxText;
  STRIPB(head, n);
  const char c = head.at(1);
  if (n <= 0 || (n == 1 && (c == ' ' || c == '\t' || c == '\0'))) {
    head.fill(' ');
    n = 1;
  }
  std::string s(head.data(), static_cast<size_t>(n));
  if (!TIFSTA.grey) {
    TifText(s, kDescriptionKind);
    return;
  }
  std::replace(s.begin(), s.end(), '_', '\0');
  s.push_back('\0');
  TifText(s, kPrivateKind);
}

// The software text: the version text of layout 3, that of layout 4 and one blank.
void softwareText() {
  std::array<int32_t, kTextLength> codes{};
  std::string s;
  for (int32_t layout : {kVersionLayout, kBuildLayout}) {
    codes.fill(kBlankCode);
    int32_t last = 0;
    VERTXT(codes, layout, 1, last);
    for (int32_t k = 1; k <= last; ++k) s.push_back(charOf(codes[static_cast<size_t>(k - 1)]));
  }
  s.push_back(' ');
  TifText(s, kSoftwareKind);
}

// Gives back what an open job took over, writing nothing: a second opcode 1 then saves
// the previous device's words and colour tables, not this driver's.
void abandonJob() {
  restoreColourTables();
  closeDriver(false);
  TIFSTA.open = false;
}

void jobStart() {
  endOpenJob();
  openDriver({"TIFF", DeviceRow::Tiff, 0});

  FixedText value(kSettingLength);
  int32_t status = 0;
  setting("Debug", true, value, status);
  if (status < 1) {
    FixedText name(8, "TL_DEBUG");
    ENVIRN(name, value);
  }
  TIFSTA.debug = beginsWithT(value);

  value.text().fill(' ');
  setting("SymbolScale", false, value, status);
  TIFSTA.symbolScale = status >= 1 ? TXTREL(value, std::max(1, value.text().trimmedLength())) : 1.0f;
  PLTPAR.markerScale = 1.0f;

  saveColourTables();

  value.text().fill(' ');
  setting("Aviris", true, value, status);
  TIFSTA.grey = status >= 1 && beginsWithT(value);

  const bool black = TIFSTA.grey || blackBackground();
  debugLine(black ? "TIFDRV: Using BLACK background" : "TIFDRV: Using WHITE background");

  if (TIFSTA.grey) {
    TIFAVR();
  } else {
    DEFCOL();
  }
  for (int32_t i = 1; i <= std::min(PLRGB.highest, PlRgb::kEntries); ++i) {
    TIFCMP(PLRGB.red(i), PLRGB.green(i), PLRGB.blue(i), PLRGB.deviceColour(i) - 1, 1);
  }
  if (!black) exchangeWhiteAndBlack();

  PLTDEV.colourCount = PLTCTB.count(kBasicColourTable);
  TIFSTA.fillSmallest = kFillRangeLow;
  TIFSTA.fillLargest = kFillRangeHigh;
  TIFSTA.engine.lineColour = 0;
  TIFSTA.engine.textColour = 0;
  TIFSTA.secondValue = 0;
  if (TIFSTA.grey) {
    TIFSTA.background = 0;
    PLTDEV.colourCount2 = 0;
  } else {
    PLTDEV.colourCount2 = PLTCTB.count(kBasicColourTable);
    TIFSTA.background = backgroundValue();
  }

  TIFOPN(TIFSTA.grey);

  const float band = std::max(2.0f * PLXFRM.cellHeight, kLeastBand);
  const auto w = static_cast<float>(TIFSTA.width);
  const auto h = static_cast<float>(TIFSTA.height);
  mapPage(PLTDEV.window, band, w, h, w / 2.0f, h / 2.0f);

  TIFSTA.m = 1;
  TIFCSZ(1, TIFSTA.m);
  TIFSTA.lineWidth = 0;

  imageText();
  softwareText();
  debugLine(fmt::listDirected({"SymbolScale is", TIFSTA.symbolScale}));
  TIFSTA.open = true;
  jobOpened(abandonJob);
}

void jobEnd() {
  TIFEND(TIFSTA.fillLargest, TIFSTA.fillSmallest);
  restoreColourTables();
  closeDriver(false);
  TIFSTA.open = false;
}

// A point of opcode 14, 15 or 29 on the page: the selected transformation when its
// number is above 1, then the page mapping.
void devicePoint(float& x, float& y) {
  transformPoint(x, y, true);
  x = pageX(x);
  y = pageY(y);
}

// The points of PLTPAR on the page, written back; ABOVEONE as for devicePoint, else the
// transformation applies to every number but 1.
void devicePoints(bool aboveOne) {
  for (int32_t i = 0; i < PLTPAR.pointCount; ++i) {
    float& x = PLTPAR.x[static_cast<size_t>(i)];
    float& y = PLTPAR.y[static_cast<size_t>(i)];
    transformPoint(x, y, aboveOne);
    x = pageX(x);
    y = pageY(y);
  }
}

std::span<const float> xs() { return std::span<const float>(PLTPAR.x).first(static_cast<size_t>(PLTPAR.pointCount)); }
std::span<const float> ys() { return std::span<const float>(PLTPAR.y).first(static_cast<size_t>(PLTPAR.pointCount)); }

void fill() {
  if (PLTPAR.pointCount < 3) return;
  const int32_t colour = PLTPAR.colour;
  int32_t value = PENCOL(PLTPAR.colourTable, colour, 3);
  if (TIFSTA.grey) {
    if (colour < 0) value -= kPaletteBase;
    if (colour == kBlackShade) value = kFullValue;
    if (isMarkedKind(PLTPAR.objectKind)) {
      TIFSTA.fillSmallest = std::min(TIFSTA.fillSmallest, value);
      TIFSTA.fillLargest = std::max(TIFSTA.fillLargest, value);
    }
  }
  devicePoints(false);
  TIFFIL(PLTPAR.pointCount, xs(), ys(), value);
}

void text() {
  const int32_t n = std::min(PLTPAR.textCount, kTextLength);
  if (n < 1) return;
  // Only the first 80 codes are taken: the text is converted into 80 characters.
  FixedText t(kTextLength);
  CODTXT(PLTPAR.text, n, t);
  const float x = TIFSTA.currentX + PLTPAR.textOffsetX * PLTDEV.cellWidth * PLXFRM.pageScale;
  const float y = TIFSTA.currentY + PLTPAR.textOffsetY * PLTDEV.cellHeight * PLXFRM.pageScale;
  TIFTXT(x, y, t.view(), TIFSTA.m, n);
}

void marker() {
  PLTDEV.currentColour = PLTPAR.colour;
  TIFSTA.engine.lineColour = PENCOL(PLTPAR.colourTable, PLTPAR.colour, 2);
  PLTDEV.lineAttribute = 1;
  const float d = 0.25f * PLTDEV.cellHeight * TIFSTA.symbolScale * PLTPAR.markerScale;
  TIFSYM(TIFSTA.currentX, TIFSTA.currentY, PLTPAR.marker, d, 0);
}

}  // namespace

void TIFDRV(int32_t opcode) {
  if (sharedStep(opcode, true)) return;
  if (opcode == kOpOpen) {
    jobStart();
    return;
  }
  // Without a job nothing of the driver's own is set, drawn or written.
  if (!TIFSTA.open) return;
  const bool raster = TifImageOpen();
  switch (opcode) {
    case kOpClose: jobEnd(); break;
    case kOpColour: {
      const int32_t value =
          TIFSTA.grey ? 0 : PENCOL(PLTDEV.colourTableCount, PLTDEV.currentColour, 2);
      TIFSTA.engine.lineColour = value;
      TIFSTA.engine.textColour = value;
      break;
    }
    case kOpLineAttribute: {
      const int32_t a = PLTPAR.lineAttribute;
      // -a of the least integer would overflow.
      if (a <= 0) TIFSTA.lineWidth = a == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max() : -a;
      break;
    }
    case kOpCharacterSize: TIFCSZ(PLTPAR.characterSize, TIFSTA.m); break;
    case kOpMove: {
      float x = PLTPAR.pointX;
      float y = PLTPAR.pointY;
      devicePoint(x, y);
      TIFSTA.currentX = x;
      TIFSTA.currentY = y;
      break;
    }
    case kOpDraw: {
      if (!raster) break;
      devicePoint(PLTPAR.pointX, PLTPAR.pointY);
      const float x = PLTPAR.pointX;
      const float y = PLTPAR.pointY;
      TIFLIN(TIFSTA.currentX, TIFSTA.currentY, x, y);
      if (TIFSTA.lineWidth >= 1) TIFTHK(TIFSTA.currentX, TIFSTA.currentY, x, y, TIFSTA.lineWidth);
      TIFSTA.currentX = x;
      TIFSTA.currentY = y;
      break;
    }
    case kOpFill:
      if (raster) fill();
      break;
    case kOpText:
      if (raster) text();
      break;
    case kOpMarker:
      if (raster) marker();
      break;
    case kOpObjectKind: TIFSTA.secondValue = isMarkedKind(PLTPAR.objectKind) ? kFullValue : 0; break;
    case kOpPolyline:
      if (!raster) break;
      devicePoints(true);
      TIFPLN(PLTPAR.pointCount, xs(), ys(), TIFSTA.lineWidth);
      break;
    case kOpColourTable:
      // A table outside 0..10 leaves both counts as the shared step did.
      if (TIFSTA.grey && PLTPAR.colourTable >= 0 && PLTPAR.colourTable <= PltCtb::kTables) {
        PLTDEV.colourCount2 = 0;
      }
      break;
    default: break;
  }
}

void TIFSET(FText key, bool isSwitch, FText value, int32_t& status) {
  FixedText app(6, "Quorin");
  FixedText prog(1, "*");
  FixedText section(4, "TIFF");
  RESGET(app, prog, section, key, isSwitch, value, status);
}

void TIFAVR() {
  DEFCOL();
  const bool builtIn = !colourMapTaken();
  for (int32_t j = 1; j <= PLTCTB.count(kBasicColourTable); ++j) {
    PLTCTB.shade(kBasicColourTable, 1, j) = j == kBlackShade ? kFullValue : 0;
  }
  for (int32_t row = 2; row <= 3; ++row) PLTCTB.shade(kBasicColourTable, row, kBlackShade) = kFullValue;
  if (builtIn) {
    for (int32_t i = kGreyFirst; i <= kGreyLast; ++i) {
      const int32_t level = kGreyStart + kGreyStep * (i - kGreyFirst);
      PLRGB.red(i) = level;
      PLRGB.green(i) = level;
      PLRGB.blue(i) = level;
    }
    for (int32_t i = kBuiltInEntries + 1; i <= PlRgb::kEntries; ++i) {
      PLRGB.red(i) = kFullValue;
      PLRGB.green(i) = kFullValue;
      PLRGB.blue(i) = kFullValue;
    }
  }
  for (int32_t i = 1; i <= PlRgb::kEntries; ++i) PLRGB.deviceColour(i) = kDeviceColourBase + i;
  for (int32_t row = 1; row <= 3; ++row) {
    for (int32_t j = 1; j <= kGreyLast - kGreyFirst + 1; ++j) {
      PLTCTB.shade(kGreyTable, row, j) = PLRGB.red(kGreyFirst + j - 1);
    }
  }
}

void TIFCMP(int32_t red, int32_t green, int32_t blue, int32_t index, int32_t count) {
  const std::array<int32_t, 1> r{red};
  const std::array<int32_t, 1> g{green};
  const std::array<int32_t, 1> b{blue};
  TifColMap(r, g, b, index, std::min(count, 1));
}

void TIFOPN(bool grey) {
  const PlotWindow& page = PLTDEV.window2;
  const int32_t across = intOf(page.xMax - page.xMin);
  const int32_t up = intOf(page.yMax - page.yMin);
  const int64_t w = int64_t{across} + 1;
  const int64_t h = int64_t{up} + 1;
  TIFSTA.width = static_cast<int32_t>(std::clamp<int64_t>(w, 0, std::numeric_limits<int32_t>::max()));
  TIFSTA.height = static_cast<int32_t>(std::clamp<int64_t>(h, 0, std::numeric_limits<int32_t>::max()));
  // A raster the writer refuses gets no scale: nothing is drawn into it.
  const bool fits = w >= 1 && w <= kTifMaxSide && h >= 1 && h <= kTifMaxSide;
  RasterEngine& e = TIFSTA.engine;
  e.sx = fits ? static_cast<float>(across) / static_cast<float>(w) : 0.0f;
  e.sy = fits ? static_cast<float>(up) / static_cast<float>(h) : 0.0f;
  e.columns = TIFSTA.width;
  e.lowest = 1;
  e.highest = TIFSTA.height;

  closePlotFileDeleting();
  TifOpen(plotStreamName(), TIFSTA.width, TIFSTA.height, grey ? 1 : 0, grey ? 1 : 0,
          static_cast<uint16_t>(TIFSTA.background));
}

void TIFEND(int32_t largest, int32_t smallest) {
  // The three reals are words of the graphics layer's view defaults and of the drivers'
  // save area that nothing in the library sets: they are 0.0.
  TifSetHdr(static_cast<int16_t>(smallest), static_cast<int16_t>(largest), 0.0f, 0.0f, 0.0f);
  TifFlush();
  TifClose();
}

void TIFBMS(int32_t& width, int32_t& height) {
  FixedText value(kSettingLength);
  int32_t status = 0;
  setting("BitmapSize", false, value, status);
  if (status < 1) return;
  std::string_view v = value.view();
  v = v.substr(0, v.find(' '));
  const size_t x = v.find_first_of("xX");
  if (v.size() < 3 || x == std::string_view::npos) return;
  // Every character counts as a digit; the sums are held to the integer range.
  auto number = [](std::string_view digits) {
    int64_t n = 0;
    for (char c : digits) {
      n = std::clamp<int64_t>(n * 10 + (c - '0'), std::numeric_limits<int32_t>::min(),
                              std::numeric_limits<int32_t>::max());
    }
    return static_cast<int32_t>(n);
  };
  const int32_t w = number(v.substr(0, x));
  const int32_t h = number(v.substr(x + 1));
  if (w != 0) width = w;
  if (h != 0) height = h;
}

}  // namespace kvr
