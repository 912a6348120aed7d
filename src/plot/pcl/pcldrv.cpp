#include "plot/pcl/pcldrv.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "command/cmdlin.h"
#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "plot/pcl/pclctb.h"
#include "plot/pcl/pclgeo.h"
#include "plot/pcl/pclpag.h"
#include "plot/pcl/pclsta.h"
#include "plot/pcl/raspag.h"
#include "plot/pltdrv.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "plot/raster/raseng.h"
#include "plot/raster/rasfile.h"
#include "runtime/codtxt.h"
#include "runtime/envirn.h"
#include "runtime/ftext.h"
#include "runtime/pltcap.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"
#include "runtime/resget.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kSettingLength = 80;
constexpr int32_t kTextLength = 80;  // codes of a text drawn, and of the title
constexpr int32_t kDescriptionWord2 = 2;
constexpr int32_t kMonochromeColours = 15;
constexpr int32_t kGreyStep = 15;  // monochrome fill grey value per colour index
constexpr int32_t kPaperColour = 8;
constexpr int32_t kLargeSize = 1;
constexpr float kLandscapeTitleY = -60.0f;  // device units, in the rows below the picture

// The model table: name, settings section, and the values fixed at opcode 1.
struct Model {
  std::string_view name;
  std::string_view section;
};

Model modelOf(int32_t word) {
  switch (word) {
    case kModelPaint: return {"Paintjet", "Paintjet"};
    case kModelDesk: return {"Deskjet ", "Deskjet"};
    default: return {"Laserjet", "Laserjet"};
  }
}

bool beginsWith(FText value, char upper) {
  const char c = value.length() > 0 ? value.at(1) : ' ';
  return c == upper || c == upper - 'A' + 'a';
}

// The setting KEY (a switch when ISSWITCH); false when it is not set.
bool setting(std::string_view key, bool isSwitch, FixedText& value) {
  FixedText k(static_cast<int32_t>(key.size()), key);
  value.text().fill(' ');
  int32_t length = 0;
  PCLSET(k, value, isSwitch, length);
  return length >= 1;
}

FixedText variable(std::string_view name) {
  FixedText n(static_cast<int32_t>(name.size()), name);
  FixedText value(kSettingLength);
  ENVIRN(n, value);
  return value;
}

void debugLine(const std::vector<fmt::Item>& items) {
  if (PCLSTA.debug) io::writeRecord(io::kStdoutUnit, fmt::listDirected(items));
}

// The colour value of colour index C for texts, lines and markers: T(c) for c in 1..7,
// N(-c) for -c in 1..32. An index outside the tables has none and leaves the colours as
// they are (reading past T, N or R would take another table's values).
bool tableColour(int32_t c, int32_t& value) {
  if (c >= 1 && c <= PclCtb::kPositive) {
    value = PCLCTB.T(c);
    return true;
  }
  if (c < 0 && c >= -PclCtb::kShades) {
    value = PCLCTB.N(-c);
    return true;
  }
  return false;
}

// The fill colour of colour index C.
int32_t fillColour(int32_t c) {
  const PclSta& s = PCLSTA;
  const bool paper = c == 0 || c == kPaperColour;
  if (s.monochrome) {
    if (paper) return s.backgroundWord;
    const int64_t grey = kGreyStep * std::abs(int64_t{c});
    return static_cast<int32_t>(std::min<int64_t>(grey, std::numeric_limits<int32_t>::max()));
  }
  // An index outside the tables takes the paper colour N(0).
  if (paper) return PCLCTB.N(0);
  const int32_t table = PLTDEV.colourTableCount;
  const int64_t k = std::abs(int64_t{c});
  if (table == 1) {
    int32_t value = PCLCTB.N(0);
    tableColour(c, value);
    return value;
  }
  if (table >= 2 && k <= PclCtb::kShades) return PCLCTB.R(static_cast<int32_t>(k));
  return PCLCTB.N(0);
}

// A point of opcode 14, 15 or 29 on the page: the selected transformation when its
// number is above 1 (any number but 1 with ABOVEONE false), then the page mapping.
void devicePoint(float& x, float& y, bool aboveOne = true) {
  transformPoint(x, y, aboveOne);
  x = pageX(x);
  y = pageY(y);
}

void devicePoints(bool aboveOne) {
  for (int32_t i = 0; i < PLTPAR.pointCount; ++i) {
    devicePoint(PLTPAR.x[static_cast<size_t>(i)], PLTPAR.y[static_cast<size_t>(i)], aboveOne);
  }
}

std::span<const float> xs() { return std::span<const float>(PLTPAR.x).first(static_cast<size_t>(PLTPAR.pointCount)); }
std::span<const float> ys() { return std::span<const float>(PLTPAR.y).first(static_cast<size_t>(PLTPAR.pointCount)); }

// The title: the first 80 codes of the pending command line, stripped, centred below the
// picture (in the rows only a landscape page sends) or at its foot in portrait. A blank
// command line has none.
void drawTitle() {
  PclSta& s = PCLSTA;
  FixedText text(kTextLength);
  CODTXT(CMDLIN.lineCodes, kTextLength, text);
  int32_t n = kTextLength;
  STRIPB(text, n);
  const char first = text.view()[0];
  // STRIPB leaves one character of a blank text.
  if (n < 1 || (n == 1 && (first == ' ' || first == '\t' || first == '\0'))) n = 0;
  s.titleLength = n;
  std::copy_n(text.view().begin(), PclSta::kTitleLength, s.title.begin());
  if (n < 1) return;
  const float x = PLXFRM.pageOffsetX - static_cast<float>(n) * PLTDEV.cellWidth * PLXFRM.pageScale * 0.5f;
  const float y = s.landscape ? kLandscapeTitleY : 0.0f;
  RASTXT(pclEngine(), x, y, std::string_view(s.title.data(), s.title.size()), s.m, n);
}

// A page: its geometry and cleared bitmap, the page mapping, the device words, the
// character cell, the colour tables, the title.
void pageSetUp() {
  PclSta& s = PCLSTA;
  PCLREP(s.debug, s.dpi, s.backgroundByte);
  const float raise = 2.0f * PLXFRM.cellHeight;
  mapPage(PLTDEV.window, raise, s.wdev, s.hdev, s.wdev / 2.0f, s.hdev / 2.0f);

  if (s.monochrome) {
    PLTDEV.colourCount = kMonochromeColours;
    PLTCAP.word(kDescriptionWord2) = 0;
    PLTDEV.colourCount2 = 0;
  } else {
    PLTCAP.word(kDescriptionWord2) = -9;
  }
  PLTDEV.currentColour = 0;
  PLTDEV.colourTableCount = 0;
  PLTDEV.lineAttribute = 0;
  RASCSZ(pclEngine(), kLargeSize, s.m, PLTDEV.cellWidth, PLTDEV.cellHeight);
  PLTPAR.textOffsetX = 0.0f;
  PLTPAR.textOffsetY = 0.0f;

  RasterEngine& e = pclEngine();
  if (s.monochrome) {
    e.textColour = 0;
    e.lineColour = 0;
  } else {
    int32_t count = 0;
    if (s.dithering) {
      PLTCAP.word(kDescriptionWord2) = 9;
      RASGRY(0, count);
      RASGRY(1, count);
    } else {
      RASCTB(0, count);
      RASCTB(1, count);
    }
    // Black in either scheme; the line colour stays as it was.
    e.textColour = 1;
    PLTDEV.colourCount = count;
    PLTDEV.colourCount2 = count;
  }
  s.lineWidth = 0;
  drawTitle();

  if (s.highRes) {
    debugLine({"High resolution mode :", s.dpi, " DPI"});
  } else {
    debugLine({"Normal resolution mode :", s.dpi, " DPI"});
  }
  debugLine({s.dithering ? "Dithering will be used" : "Dithering will NOT be used"});
  debugLine({s.runLength ? "Using Run Length Encoding" : "Not using Run Length Encoding"});
  debugLine({s.formFeed ? "Will terminate plot with FF" : "Will not terminate plot with FF"});
  debugLine({"SymbolScale is", s.symbolScale});
}

// Gives back what an open job took over without sending its page: a second opcode 1
// then saves the previous device's words, not this driver's.
void abandonJob() {
  PCLCTB = PCLSTA.savedColours;
  closeDriver(false);
  PCLSTA.open = false;
}

void jobStart() {
  PclSta& s = PCLSTA;
  endOpenJob();
  openDriver({"Raster", DeviceRow::Pcl, 0, 0});

  FixedText value(kSettingLength);
  if (!setting("Debug", true, value)) value = variable("TL_DEBUG");
  s.debug = beginsWith(value, 'T');

  s.highRes = true;
  if (beginsWith(variable("TL_RAS180"), 'F')) s.highRes = false;
  if (setting("HighRes", true, value) && beginsWith(value, 'T')) s.highRes = true;
  if (setting("LowRes", true, value) && beginsWith(value, 'T')) s.highRes = false;

  if (setting("Orientation", false, value)) {
    std::string v(value.view());
    for (char& c : v) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    s.landscape = v.find("portrait") == std::string::npos;
  } else {
    s.landscape = !beginsWith(variable("TL_RASLAND"), 'F');
  }

  s.symbolScale = 1.0f;
  if (setting("SymbolScale", false, value)) {
    s.symbolScale = TXTREL(value, std::max(1, std::min(value.text().trimmedLength(), 99)));
  }
  PLTPAR.markerScale = 1.0f;

  s.runLength = !beginsWith(variable("TL_RASRLE"), 'F');
  s.formFeed = !beginsWith(variable("TL_RASFF"), 'F');

  s.savedColours = PCLCTB;

  const Model model = modelOf(s.model);
  switch (s.model) {
    case kModelPaint:
      s.dpi = s.highRes ? 180 : 90;
      s.m = s.highRes ? 2 : 1;
      s.backgroundByte = s.highRes ? 7 : 0;
      s.backgroundWord = s.backgroundByte;
      s.dithering = s.highRes;
      break;
    case kModelDesk:
      s.dpi = 150;
      s.m = 2;
      s.backgroundByte = 7;
      s.backgroundWord = 7;
      s.dithering = true;
      break;
    default:
      s.dpi = s.highRes ? 300 : 150;
      s.m = s.highRes ? 3 : 2;
      s.backgroundByte = 0;
      s.backgroundWord = 255;
      s.dithering = true;
      s.runLength = false;
      break;
  }
  PLTCAP.deviceName().assign(model.name);

  const bool named = setting("Model", false, value);
  FText modelText(s.modelText.data(), PclSta::kModelTextLength);
  modelText.assign(named ? value.view() : "Unknown");

  debugLine({});
  debugLine({"KAVRO PCL Driver:  Driver Version 29"});
  debugLine({});
  const std::string_view text = modelText.view();
  const size_t blank = text.find(' ');
  debugLine({model.name, " Model ", blank == std::string_view::npos ? text : text.substr(0, blank + 1)});

  RASOPN();
  s.open = true;
  jobOpened(abandonJob);
  pageSetUp();
}

void jobEnd() {
  PclSta& s = PCLSTA;
  PCLPAG(true, s.debug, s.dpi);
  closeDriver(false);
  PCLCTB = s.savedColours;
  s.open = false;
}

void colour() {
  int32_t value = 0;
  const int32_t c = PLTDEV.currentColour;
  if (PCLSTA.monochrome || c == 0 || c == kPaperColour || !tableColour(c, value)) return;
  RasterEngine& e = pclEngine();
  e.textColour = value;
  e.lineColour = value;
}

void marker() {
  PclSta& s = PCLSTA;
  const int32_t c = PLTPAR.colour;
  PLTDEV.currentColour = c;
  RasterEngine& e = pclEngine();
  if (!s.monochrome) {
    int32_t value = 0;
    if (c == 0 || c == kPaperColour) {
      e.lineColour = s.backgroundWord;
    } else if (tableColour(c, value)) {
      e.lineColour = value;
    }
  }
  const float d = PLTDEV.cellHeight * s.symbolScale * PLTPAR.markerScale;
  PLTDEV.lineAttribute = 1;
  RASSYM(e, s.currentX, s.currentY, PLTPAR.marker, d, 0);
}

void text() {
  // Only the first 80 codes are taken: the text is converted into 80 characters.
  const int32_t n = std::min(PLTPAR.textCount, kTextLength);
  FixedText t(kTextLength);
  CODTXT(PLTPAR.text, n, t);
  const PclSta& s = PCLSTA;
  const float x = PLXFRM.pageScale * PLTPAR.textOffsetX * PLTDEV.cellWidth + s.currentX;
  const float y = PLXFRM.pageScale * PLTPAR.textOffsetY * PLTDEV.cellHeight + s.currentY;
  if (n >= 1) RASTXT(pclEngine(), x, y, t.view(), s.m, n);
}

void colourTable() {
  PclSta& s = PCLSTA;
  if (s.monochrome || !s.dithering) return;
  int32_t count = 0;
  RASGRY(PLTDEV.colourTableCount, count);
  PLTDEV.colourCount = count;
}

}  // namespace

void PCLLAS(int32_t opcode) {
  PCLSTA.model = kModelLaser;
  PCLSTA.monochrome = true;
  PCLDRV(opcode);
}

void PCLPNT(int32_t opcode) {
  PCLSTA.model = kModelPaint;
  PCLSTA.monochrome = false;
  PCLDRV(opcode);
}

void PCLDSK(int32_t opcode) {
  PCLSTA.model = kModelDesk;
  PCLSTA.monochrome = false;
  PCLDRV(opcode);
}

void PCLDRV(int32_t opcode) {
  if (!pageDriverOpcode(opcode)) return;
  // The colour counts are the driver's own: opcode 35 changes them only where the model
  // has dither tables.
  if (sharedStep(opcode, false)) return;
  if (opcode == kOpOpen) {
    jobStart();
    return;
  }
  // Without a job there is no stream, no page and no multiplier.
  PclSta& s = PCLSTA;
  if (!s.open) return;
  RasterEngine& e = pclEngine();
  switch (opcode) {
    case kOpClose: jobEnd(); break;
    case kOpNewPage:
      PCLPAG(false, s.debug, s.dpi);
      pageSetUp();
      break;
    case kOpColour: colour(); break;
    case kOpLineAttribute: {
      const int32_t a = PLTPAR.lineAttribute;
      // -a of the least integer would overflow.
      if (a <= 0) s.lineWidth = a == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max() : -a;
      break;
    }
    case kOpCharacterSize: RASCSZ(e, PLTPAR.characterSize, s.m, PLTDEV.cellWidth, PLTDEV.cellHeight); break;
    case kOpMove: {
      float x = PLTPAR.pointX;
      float y = PLTPAR.pointY;
      devicePoint(x, y);
      s.currentX = x;
      s.currentY = y;
      break;
    }
    case kOpDraw: {
      devicePoint(PLTPAR.pointX, PLTPAR.pointY);
      const float x = PLTPAR.pointX;
      const float y = PLTPAR.pointY;
      RASLIN(e, s.currentX, s.currentY, x, y);
      if (s.lineWidth >= 1) RASTHK(e, s.currentX, s.currentY, x, y, s.lineWidth);
      s.currentX = x;
      s.currentY = y;
      break;
    }
    case kOpFill: {
      if (PLTPAR.pointCount < 3) break;
      const int32_t c = fillColour(PLTPAR.colour);
      devicePoints(false);
      RASFIL(e, PLTPAR.pointCount, xs(), ys(), c);
      break;
    }
    case kOpText: text(); break;
    case kOpMarker: marker(); break;
    case kOpPolyline:
      if (PLTPAR.pointCount < 1) break;
      devicePoints(true);
      RASPLN(e, PLTPAR.pointCount, xs(), ys(), s.lineWidth);
      break;
    case kOpColourTable: colourTable(); break;
    default: break;
  }
}

void PCLSET(FText key, FText value, bool isSwitch, int32_t& length) {
  const std::string_view section = modelOf(PCLSTA.model).section;
  FixedText app(6, "Quorin");
  FixedText prog(1, "*");
  FixedText sect(static_cast<int32_t>(section.size()), section);
  RESGET(app, prog, sect, key, isSwitch, value, length);
}

}  // namespace kvr
