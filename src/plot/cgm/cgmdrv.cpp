// The CGM driver: its opcode dispatch, the job start with the metafile and picture
// starts, the close, and the primitives.
#include "plot/cgm/cgmdrv.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "command/cmdlin.h"
#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "plot/cgm/cgmenc.h"
#include "plot/defcol.h"
#include "plot/pltdrv.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "plot/raster/rasfile.h"
#include "runtime/codtxt.h"
#include "runtime/envirn.h"
#include "runtime/pltcap.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"
#include "runtime/resget.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kDriverVersion = 26;
constexpr int32_t kSettingLength = 80;
constexpr int32_t kTextLength = 80;  // codes of a text, and of the picture name
constexpr int32_t kWorkPoints = 24;

// VDC: integers from 0 to 32767 on both axes; the page's centre at 16383.5.
constexpr float kVdcExtent = 32767.0f;
constexpr float kVdcCentre = 16383.5f;
constexpr int32_t kVdcTop = 32767;

// Character sizes: 1.5 % and 1.125 % of the VDC extent.
constexpr float kNormalHeight = 491.505f;
constexpr float kSmallHeight = 368.62875f;
constexpr float kCellWidth = 0.85f;
constexpr float kCellHeight = 1.3f;

constexpr int32_t kStripKind = 3;
constexpr int32_t kNoStripKind = -1;
constexpr int32_t kPenRow = 2;   // colour table rows of lines, texts and markers
constexpr int32_t kFillRow = 3;  // and of filled areas
constexpr int32_t kWhiteShade = 1;
constexpr int32_t kBlackShade = 8;
constexpr int32_t kColourWord = 2;  // device description word of the colour output
constexpr int32_t kColourWordValue = 9;
constexpr int32_t kBinaryMaximum = 255;
constexpr int32_t kCharacterMaximum = 63;
constexpr int32_t kMaximumColourIndex = 255;
constexpr int32_t kSolid = 1;         // line type
constexpr int32_t kSolidInterior = 1;  // interior style
constexpr int32_t kStrokeText = 2;     // text precision
constexpr int32_t kFinal = 1;          // TEXT's final flag
constexpr uint8_t kEsc = 0x1B;

constexpr std::string_view kMetafileName = "Quorin Metafile";
constexpr std::string_view kDescription = "Quorin Ltd Metafile Driver V1.24";

bool character() { return CGMSTA.encoding == kCgmCharacter; }

bool beginsWith(FText value, char upper) {
  return value.length() >= 1 && (value.at(1) == upper || value.at(1) == upper + ('a' - 'A'));
}

void say(const std::vector<fmt::Item>& items) {
  io::writeRecord(io::kStdoutUnit, fmt::listDirected(items));
}

// The value of KEY into VALUE (blanked first); false when the key is not set.
bool setting(std::string_view key, bool isSwitch, FixedText& value) {
  value.text().fill(' ');
  FixedText k(static_cast<int32_t>(key.size()), key);
  int32_t status = 0;
  CGMSET(k, isSwitch, value, status);
  return status >= 1;
}

void variable(std::string_view name, FixedText& value) {
  FixedText n(static_cast<int32_t>(name.size()), name);
  ENVIRN(n, value);
}

// The valued key KEY read as a real, or DEFAULTVALUE when it is not set.
float realSetting(std::string_view key, float defaultValue) {
  FixedText value(kSettingLength);
  return setting(key, false, value) ? TXTREL(value, kSettingLength) : defaultValue;
}

// A VDC real as its integer: the real plus 0.5, truncated toward zero.
int32_t vdc(float v) { return intOf(v + 0.5f); }

// An element of enumerated or integer parameters.
void enumerated(int32_t code, std::initializer_list<int32_t> values) {
  CGMBEG(code);
  for (int32_t v : values) CGMI16(v);
  CGMEND();
}
void integers(int32_t code, std::initializer_list<int32_t> values) {
  CGMBEG(code);
  for (int32_t v : values) CGMINP(v);
  CGMEND();
}

// A precision element of the REAL PRECISION kind: four integers in the character
// encoding, the form and two integers in the binary one.
void realPrecision(int32_t code, std::array<int32_t, 4>& word) {
  if (character()) {
    word = {10, -10, -10, 1};
    integers(code, {10, -10, -10, 1});
  } else {
    word[0] = 1;
    word[1] = 16;
    word[2] = 16;
    CGMBEG(code);
    CGMI16(1);
    CGMINP(16);
    CGMINP(16);
    CGMEND();
  }
}

void saveColourTables() {
  CGMSTA.savedCounts = PLTCTB.counts;
  CGMSTA.savedShades = PLTCTB.shades;
  CGMSTA.savedPalette = PLRGB;
  CGMSTA.savedPaletteIndex = CGMSTA.paletteIndex;
}

// Tables 1 to 10, the palette and its reverse map as they were before the job.
void restoreColourTables() {
  for (int32_t t = 1; t <= PltCtb::kTables; ++t) PLTCTB.count(t) = CGMSTA.savedCounts[static_cast<size_t>(t)];
  PLTCTB.shades = CGMSTA.savedShades;
  PLRGB = CGMSTA.savedPalette;
  CGMSTA.paletteIndex = CGMSTA.savedPaletteIndex;
}

void metafileStart() {
  CGMBEG(kCgmBeginMetafile);
  // The character encoding has ESC "\" right after the opcode, before the name.
  if (character()) CGCPUT(std::array<uint8_t, 2>{kEsc, '\\'});
  CGMSTR(kMetafileName);
  CGMEND();
  integers(kCgmMetafileVersion, {1});
  CGMBEG(kCgmMetafileDescription);
  CGMSTR(kDescription);
  CGMEND();
  enumerated(kCgmVdcType, {0});
  CGMENC.vdcType = 0;

  const int32_t integer = character() ? 10 : 16;
  integers(kCgmIntegerPrecision, {integer});
  CGMENC.integerPrecision = integer;
  realPrecision(kCgmRealPrecision, CGMENC.realPrecision);
  integers(kCgmIndexPrecision, {character() ? 10 : 16});
  const int32_t colour = character() ? 6 : 8;
  integers(kCgmColourPrecision, {colour});
  CGMENC.colourPrecision = colour;
  const int32_t colourIndex = character() ? 10 : 16;
  integers(kCgmColourIndexPrecision, {colourIndex});
  CGMENC.colourIndexPrecision = colourIndex;

  // Set for every job: a job in the other encoding may have left the other value.
  CGMSTA.colourMaximum = character() ? kCharacterMaximum : kBinaryMaximum;
  CGMBEG(kCgmMaximumColourIndex);
  CGMCOI(kMaximumColourIndex);
  CGMEND();
  CGMENC.maximumColourIndex = kMaximumColourIndex;

  const int32_t top = CGMSTA.colourMaximum;
  CGMENC.colourMinimum = {0, 0, 0};
  CGMENC.colourMaximum = {top, top, top};
  CGMBEG(kCgmColourValueExtent);
  CGMDCL(CGMENC.colourMinimum, CGMENC.colourPrecision);
  CGMDCL(CGMENC.colourMaximum, CGMENC.colourPrecision);
  CGMEND();

  // One entry: the drawing-plus-control set, (-1, 1).
  CGMBEG(kCgmMetafileElementList);
  if (character()) {
    CGCPUT(std::array<uint8_t, 2>{kEsc, 'X'});
    CGCINT(1);
    CGCPUT(std::array<uint8_t, 2>{kEsc, '\\'});
  } else {
    CGMINP(1);
    CGMIXP(-1);
    CGMIXP(1);
  }
  CGMEND();
}

// The picture's name: the first 80 codes of the pending command line, stripped. A blank
// line gives one NUL.
std::string pictureName() {
  FixedText text(kTextLength);
  CODTXT(CMDLIN.lineCodes, kTextLength, text);
  int32_t n = kTextLength;
  STRIPB(text, n);
  const char first = text.text().at(1);
  // STRIPB leaves one character of a blank text: it is not a name.
  if (n <= 0 || (n == 1 && (first == ' ' || first == '\t' || first == '\0'))) return std::string(1, '\0');
  return std::string(text.view().substr(0, static_cast<size_t>(n)));
}

// The first word of the setting Background names black when it reads "BLACK" in any case.
bool blackBackground() {
  FixedText value(kSettingLength);
  if (!setting("Background", false, value)) return false;
  FixedText upper(kSettingLength);
  FixedText mode(1, "U");
  CPYCAS(value, mode, upper);
  const std::string_view v = upper.view();
  return v.substr(0, v.find(' ')) == "BLACK";
}

// A palette component (0..255) on the colour maximum of the encoding.
int32_t component(int32_t v) {
  if (!character()) return v;
  return intOf(static_cast<float>(v) / 255.0f * static_cast<float>(kCharacterMaximum) + 0.5f);
}

void colourTable() {
  const int32_t highest = std::min(PLRGB.highest, PlRgb::kEntries);
  for (int32_t i = 1; i <= highest; ++i) {
    const int32_t c = PLRGB.deviceColour(i);
    // A CGM index past MAXIMUM COLOUR INDEX 255 (more than 192 map lines) would be
    // invalid in the metafile and would run past the reverse map.
    if (c < 1 || c > PlRgb::kEntries) continue;
    CGMSTA.paletteIndex[static_cast<size_t>(c - 1)] = i;
    CGMBEG(kCgmColourTable);
    CGMCOI(c - 1);
    if (character()) CGCINT(0);
    CGMDCL({component(PLRGB.red(i)), component(PLRGB.green(i)), component(PLRGB.blue(i))},
           CGMENC.colourPrecision);
    CGMEND();
  }
}

void pictureStart(bool firstPicture) {
  CGMBEG(kCgmBeginPicture);
  CGMSTR(pictureName());
  CGMEND();
  // The reader has every attribute at its default again.
  cgmPictureAttributes();

  CGMBEG(kCgmScalingMode);
  CGMI16(0);
  CGMREA(0.0f);
  CGMEND();
  enumerated(kCgmColourSelectionMode, {0});
  CGMENC.colourSelectionMode = 0;
  enumerated(kCgmLineWidthMode, {1});
  enumerated(kCgmMarkerSizeMode, {0});
  CGMBEG(kCgmVdcExtent);
  CGMPNT(0.0f, 0.0f, 0, 0);
  CGMPNT(kVdcExtent, kVdcExtent, kVdcTop, kVdcTop);
  CGMEND();

  const bool black = blackBackground();
  const int32_t top = CGMSTA.colourMaximum;
  CGMSTA.background = black ? std::array<int32_t, 3>{0, 0, 0} : std::array<int32_t, 3>{top, top, top};
  if (firstPicture && CGMSTA.debug) {
    say({black ? "CGMDRV: Using BLACK background" : "CGMDRV: Using WHITE background"});
  }
  CGMBEG(kCgmBackgroundColour);
  CGMDCL(CGMSTA.background, CGMENC.colourPrecision);
  CGMEND();
  CGMBEG(kCgmBeginPictureBody);
  CGMEND();

  PLTCAP.word(kColourWord) = kColourWordValue;
  DEFCOL();
  colourTable();
  if (!black) {
    // Basic colours 1 and 8 trade palette entries: white draws black on the white page.
    for (int32_t row = 1; row <= 3; ++row) {
      std::swap(PLTCTB.shade(kBasicColourTable, row, kWhiteShade),
                PLTCTB.shade(kBasicColourTable, row, kBlackShade));
    }
  }
  PLTDEV.colourCount = PLTCTB.count(kBasicColourTable);
  PLTDEV.colourCount2 = PLTDEV.colourCount;

  realPrecision(kCgmVdcRealPrecision, CGMENC.vdcRealPrecision);
  enumerated(kCgmTransparency, {1});
  enumerated(kCgmClipIndicator, {1});

  cgmSetAttribute(CgmAttribute::InteriorStyle, kSolidInterior);
  cgmSetAttribute(CgmAttribute::TextPrecision, kStrokeText);
  CGMCSZ(1, PLTDEV.cellWidth, PLTDEV.cellHeight, CGMSTA.fontScale, CGMSTA.smallFontScale,
         CGMSTA.titleFontScale);
}

void readSettings() {
  FixedText value(kSettingLength);
  if (!setting("Debug", true, value)) variable("TL_DEBUG", value);
  CGMSTA.debug = beginsWith(value, 'T');

  if (!setting("Encoding", false, value)) variable("TL_CGM_ENCODING", value);
  CGMSTA.encoding = beginsWith(value, 'C') ? kCgmCharacter : kCgmBinary;

  const bool strip = setting("StripBorder", true, value) && beginsWith(value, 'T');
  CGMSTA.stripKind = strip ? kStripKind : kNoStripKind;

  CGMSTA.fontScale = realSetting("FontSizeScale", 1.0f);
  CGMSTA.smallFontScale = realSetting("SmallFontSizeScale", 1.0f);
  CGMSTA.titleFontScale = realSetting("TitleFontSizeScale", CGMSTA.fontScale);
  CGMSTA.symbolScale = realSetting("SymbolScale", 1.0f);
  PLTPAR.markerScale = 1.0f;

  if (!CGMSTA.debug) return;
  say({"CGMDRV: CGM Driver Version ", kDriverVersion});
  say({character() ? "CGMDRV: Character encoding" : "CGMDRV: Binary encoding"});
  say({CGMSTA.stripKind == kStripKind ? "CGMDRV: Border will NOT be drawn"
                                      : "CGMDRV: Border will be drawn"});
  say({"CGMDRV: FontSizeScale      : ", CGMSTA.fontScale});
  say({"CGMDRV: SmallFontSizeScale : ", CGMSTA.smallFontScale});
  say({"CGMDRV: TitleFontSizeScale : ", CGMSTA.titleFontScale});
  say({"CGMDRV: SymbolScale        : ", CGMSTA.symbolScale});
}

void jobEnd();

void jobStart() {
  // A job still open is ended first: its metafile is finished and what it took over is
  // given back, so that this job saves the caller's state and not the driver's.
  endOpenJob();
  openDriver({"CGM", DeviceRow::CgmHpgl2, PLTDEV.colourCount, 0, false});
  readSettings();
  CGMOPN(CGMSTA.encoding);
  mapPage(PLTDEV.window, 2.0f * PLXFRM.cellHeight, kVdcExtent, kVdcExtent, kVdcCentre, kVdcCentre);
  saveColourTables();
  CGMSTA.open = true;
  jobOpened(jobEnd);
  metafileStart();
  pictureStart(true);
}

void jobEnd() {
  CGMBEG(kCgmEndPicture);
  CGMEND();
  CGMBEG(kCgmEndMetafile);
  CGMEND();
  RasClose();
  restoreColourTables();
  closeDriver(false);
  CGMSTA.open = false;
}

// A point of the picture in VDC: through the selected transformation unless it is 1,
// then through the page mapping.
void toVdc(float& x, float& y) {
  transformPoint(x, y);
  x = pageX(x);
  y = pageY(y);
}

// The points of PLTPAR in VDC, written back, and their integers; answers their number.
int32_t pointsToVdc(std::array<int32_t, kWorkPoints>& ix, std::array<int32_t, kWorkPoints>& iy) {
  const int32_t n = std::clamp(PLTPAR.pointCount, 0, PltPar::kMaxPoints);
  for (size_t k = 0; k < static_cast<size_t>(n); ++k) {
    toVdc(PLTPAR.x[k], PLTPAR.y[k]);
    ix[k] = vdc(PLTPAR.x[k]);
    iy[k] = vdc(PLTPAR.y[k]);
  }
  return n;
}

void draw() {
  toVdc(PLTPAR.pointX, PLTPAR.pointY);
  const std::array<float, 2> x{CGMSTA.x, PLTPAR.pointX};
  const std::array<float, 2> y{CGMSTA.y, PLTPAR.pointY};
  if (CGMSTA.drawing) {
    const std::array<int32_t, 2> ix{vdc(x[0]), vdc(x[1])};
    const std::array<int32_t, 2> iy{vdc(y[0]), vdc(y[1])};
    CGMPLN(2, x, y, ix, iy);
  }
  CGMSTA.x = x[1];
  CGMSTA.y = y[1];
}

void fill() {
  if (PLTPAR.pointCount <= 2) return;
  cgmSetAttribute(CgmAttribute::FillColour, PENCOL(PLTPAR.colourTable, PLTPAR.colour, kFillRow));
  std::array<int32_t, kWorkPoints> ix{};
  std::array<int32_t, kWorkPoints> iy{};
  const int32_t n = pointsToVdc(ix, iy);
  if (!CGMSTA.drawing) return;
  cgmWriteAttributes(kCgmPolygon);
  CGMBEG(kCgmPolygon);
  CGMPTS(n, PLTPAR.x, PLTPAR.y, ix, iy);
  CGMEND();
}

void polyline() {
  std::array<int32_t, kWorkPoints> ix{};
  std::array<int32_t, kWorkPoints> iy{};
  const int32_t n = pointsToVdc(ix, iy);
  if (CGMSTA.drawing) CGMPLN(n, PLTPAR.x, PLTPAR.y, ix, iy);
}

void text() {
  // The text is taken into 80 characters: a longer one is cut to its first 80.
  const int32_t n = std::min(PLTPAR.textCount, kTextLength);
  FixedText t(kTextLength);
  CODTXT(PLTPAR.text, n, t);
  const float x = CGMSTA.x + PLTPAR.textOffsetX * PLTDEV.cellWidth * PLXFRM.pageScale;
  const float y = CGMSTA.y + PLTPAR.textOffsetY * PLTDEV.cellHeight * PLXFRM.pageScale;
  if (!CGMSTA.drawing) return;
  cgmWriteAttributes(kCgmText);
  CGMBEG(kCgmText);
  CGMPNT(x, y, vdc(x), vdc(y));
  CGMI16(kFinal);
  CGMSTR(t.view().substr(0, static_cast<size_t>(std::max(n, 0))));
  CGMEND();
}

void marker() {
  PLTDEV.currentColour = PLTPAR.colour;
  cgmSetAttribute(CgmAttribute::LineColour, PENCOL(PLTPAR.colourTable, PLTPAR.colour, kPenRow));
  const float s = PLTDEV.cellHeight * PLXFRM.pageScale / 3.0f * CGMSTA.symbolScale * PLTPAR.markerScale;
  if (PLTDEV.lineAttribute != kSolid) {
    PLTDEV.lineAttribute = kSolid;
    cgmSetAttribute(CgmAttribute::LineType, kSolid);
  }
  CGMSYM(CGMSTA.x, CGMSTA.y, PLTPAR.marker, s);
}

}  // namespace

void CGMDRV(int32_t opcode) {
  if (!pageDriverOpcode(opcode)) return;
  const int32_t sizeBefore = PLTDEV.characterSizeBase;
  if (sharedStep(opcode, true)) return;
  switch (opcode) {
    case kOpOpen: jobStart(); break;
    case kOpClose:
      // Without a job the saved tables and device words are not this driver's.
      if (CGMSTA.open) jobEnd();
      break;
    case kOpNewPage:
      // Without a job a picture start would rebuild the caller's colour tables for good.
      if (!CGMSTA.open) break;
      CGMBEG(kCgmEndPicture);
      CGMEND();
      pictureStart(false);
      break;
    case kOpColour: {
      const int32_t index = PENCOL(PLTDEV.colourTableCount, PLTDEV.currentColour, kPenRow);
      cgmSetAttribute(CgmAttribute::LineColour, index);
      cgmSetAttribute(CgmAttribute::TextColour, index);
      break;
    }
    case kOpLineAttribute:
      if (PLTPAR.lineAttribute > 0) cgmSetAttribute(CgmAttribute::LineType, PLTPAR.lineAttribute);
      break;
    case kOpCharacterSize:
      // The size number changes only with a size CGMCSZ knows.
      PLTDEV.characterSizeBase = sizeBefore;
      CGMCSZ(PLTPAR.characterSize, PLTDEV.cellWidth, PLTDEV.cellHeight, CGMSTA.fontScale,
             CGMSTA.smallFontScale, CGMSTA.titleFontScale);
      break;
    case kOpMove: {
      float x = PLTPAR.pointX;
      float y = PLTPAR.pointY;
      toVdc(x, y);
      CGMSTA.x = x;
      CGMSTA.y = y;
      break;
    }
    case kOpDraw: draw(); break;
    case kOpFill: fill(); break;
    case kOpText: text(); break;
    case kOpMarker: marker(); break;
    case kOpObjectKind: CGMSTA.drawing = PLTPAR.objectKind != CGMSTA.stripKind; break;
    case kOpPolyline: polyline(); break;
    default: break;  // 31, 33, 35: the shared step is all
  }
}

void CGMSET(FText key, bool isSwitch, FText value, int32_t& status) {
  FixedText app(6, "Quorin");
  FixedText prog(1, "*");
  FixedText section(3, "CGM");
  RESGET(app, prog, section, key, isSwitch, value, status);
}

void CGMOPN(int32_t encoding) {
  closePlotFileDeleting();
  const std::string name = plotStreamName();
  CGMENC.encoding = encoding;
  CGMDEF();
  RasOpen(name);
}

void CGMCSZ(int32_t size, float& width, float& height, float fontScale, float smallScale,
            float titleScale) {
  float h = 0.0f;
  switch (size) {
    case 1: case 3: h = kNormalHeight * fontScale; break;
    case 2: case 4: h = kSmallHeight * smallScale; break;
    case -3: h = kNormalHeight * titleScale; break;
    // An unknown size would leave a VDC height in the picture-unit word.
    default: return;
  }
  cgmSetAttribute(CgmAttribute::CharacterHeight, vdc(h));
  width = kCellWidth * h / PLXFRM.pageScale;
  height = kCellHeight * h / PLXFRM.pageScale;
  PLTDEV.characterSizeBase = size;
}

void CGMSYM(float x, float y, int32_t marker, float s) {
  auto part = [](std::initializer_list<std::pair<float, float>> points) {
    std::array<float, 5> px{};
    std::array<float, 5> py{};
    std::array<int32_t, 5> ix{};
    std::array<int32_t, 5> iy{};
    size_t n = 0;
    for (const auto& [u, v] : points) {
      px[n] = u;
      py[n] = v;
      ix[n] = vdc(u);
      iy[n] = vdc(v);
      ++n;
    }
    CGMPLN(static_cast<int32_t>(n), px, py, ix, iy);
  };
  auto plus = [&] {
    part({{x - s, y}, {x + s, y}});
    part({{x, y - s}, {x, y + s}});
  };
  auto cross = [&] {
    part({{x - s, y + s}, {x + s, y - s}});
    part({{x - s, y - s}, {x + s, y + s}});
  };
  auto square = [&] { part({{x - s, y - s}, {x + s, y - s}, {x + s, y + s}, {x - s, y + s}, {x - s, y - s}}); };
  switch (marker) {
    case 1: plus(); break;
    case 2: plus(); cross(); break;
    case 3: cross(); break;
    case 4: square(); break;
    case 5: part({{x - s, y}, {x, y - s}, {x + s, y}, {x, y + s}, {x - s, y}}); break;
    case 6: cross(); square(); break;
    case 7: part({{x - s, y - s}, {x + s, y - s}, {x, y + s}, {x - s, y - s}}); break;
    case 8: part({{x - s, y}, {x + s, y}}); break;
    default: plus(); cross(); square(); break;
  }
}

void CGMPLN(int32_t n, std::span<const float> x, std::span<const float> y,
            std::span<const int32_t> ix, std::span<const int32_t> iy) {
  cgmWriteAttributes(kCgmPolyline);
  CGMBEG(kCgmPolyline);
  CGMPTS(n, x, y, ix, iy);
  CGMEND();
}

}  // namespace kvr
