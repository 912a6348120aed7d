// The HP-GL/2 driver: its opcode dispatch, the job start that every page repeats, and
// the settings it reads.
#include "plot/hpgl/hg2drv.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "command/cmdlin.h"
#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "plot/defcol.h"
#include "plot/hpgl/hg2buf.h"
#include "plot/pltdrv.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "runtime/codtxt.h"
#include "runtime/envirn.h"
#include "runtime/iounit.h"
#include "runtime/pltcap.h"
#include "runtime/pltdev.h"
#include "runtime/pltopt.h"
#include "runtime/pltpar.h"
#include "runtime/resget.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

// Opcodes above this one are dropped before the shared step.
constexpr int32_t kLastOpcode = 36;

constexpr char kEsc = '\x1B';
constexpr int32_t kValueLength = 80;  // settings values and environment variables
constexpr int32_t kTitleLength = 80;
constexpr int32_t kMaxLabel = 80;

// The page: HP-GL/2 user units between the scaling points, the picture's centre at
// 5000, 3600.
constexpr float kPageWidth = 9999.0f;
constexpr float kPageHeight = 7070.0f;
constexpr float kCentreX = 5000.0f;
constexpr float kCentreY = 3600.0f;

constexpr int32_t kColourWord = 2;  // device description word of the colour output
constexpr int32_t kColourWordValue = 9;
constexpr int32_t kPenRow = 2;      // colour table rows of pens and of filled areas
constexpr int32_t kFillRow = 3;
constexpr int32_t kWhiteShade = 1;  // basic colours that trade palette entries
constexpr int32_t kBlackShade = 8;
constexpr int32_t kFillTable = 1;   // colour 8 of table 1 fills with level 0
constexpr int32_t kNormalClass = 1;
constexpr int32_t kTitleClass = -3;
constexpr float kMaxLineWidth = 9.99f;

// A progress line on unit 6, list-directed.
void say(const std::vector<fmt::Item>& items) {
  io::writeRecord(io::kStdoutUnit, fmt::listDirected(items));
}

bool beginsWith(FText value, char upper) {
  return value.length() >= 1 && (value.at(1) == upper || value.at(1) == upper + ('a' - 'A'));
}

// The value of environment variable NAME, blank when it is not set.
FixedText variable(std::string_view name) {
  FixedText value(kValueLength);
  FixedText n(static_cast<int32_t>(name.size()), name);
  ENVIRN(n, value);
  return value;
}

// The value of KEY of the section; when it is absent, that of the variable FALLBACK (none
// when empty), else blank.
FixedText option(std::string_view key, bool isSwitch, std::string_view fallback) {
  FixedText value(kValueLength);
  int32_t status = 0;
  HG2SET(key, isSwitch, value, status);
  if (status < 1 && !fallback.empty()) return variable(fallback);
  return value;
}

// The valued key KEY read as a real, or DEFAULTVALUE when it is absent.
float realOption(std::string_view key, float defaultValue) {
  FixedText value(kValueLength);
  int32_t status = 0;
  HG2SET(key, false, value, status);
  return status >= 1 ? TXTREL(value, kValueLength) : defaultValue;
}

// A line width in millimetres, held to 0.0..9.99 (a value that is not a number gives 0).
float lineWidth(std::string_view key, float defaultValue) {
  const float w = realOption(key, defaultValue);
  return w > kMaxLineWidth ? kMaxLineWidth : w >= 0.0f ? w : 0.0f;
}

int32_t magnitude(int32_t v) {
  return v == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max()
                                                  : (v < 0 ? -v : v);
}

void setCharacterSize(int32_t sizeClass) {
  HG2CSZ(sizeClass, PLTDEV.cellWidth, PLTDEV.cellHeight, HG2STA.fontScale,
         HG2STA.smallFontScale, HG2STA.titleFontScale);
}

void setWidth(int32_t widthClass) {
  HG2PW(widthClass, HG2STA.widths[0], HG2STA.widths[1], HG2STA.widths[2]);
}

// The pending command line, centred under the plot in the title size. A blank line has
// no title: STRIPB leaves one filler character of it.
void writeTitle() {
  FixedText title(kTitleLength);
  CODTXT(std::span<const int32_t>(CMDLIN.lineCodes).first(kTitleLength), kTitleLength, title);
  int32_t n = kTitleLength;
  STRIPB(title, n);
  const char first = title.text().at(1);
  if (n == 1 && (first == ' ' || first == '\t' || first == '\0')) n = 0;
  if (n <= 0) return;
  setCharacterSize(kTitleClass);
  const float x = kCentreX - static_cast<float>(n) * PLTDEV.cellWidth * PLXFRM.pageScale * 0.5f;
  const float y = PLTDEV.cellHeight * PLXFRM.pageScale * -1.5f;
  HG2XY(x, y, false);
  HG2LBL(title.view(), n);
  setCharacterSize(kNormalClass);
}

// The job start from the initialisation on, which every new page repeats: commands, the
// palette, the colour words, the settings, the pen width, transparency and the title.
void pageStart() {
  HG2INI(HG2STA.debug);

  PLTPAR.colourTable = 1;
  PLTCAP.word(kColourWord) = kColourWordValue;
  DEFCOL();
  const int32_t highest = std::clamp(PLRGB.highest, 0, PlRgb::kEntries);
  for (int32_t i = 1; i <= highest; ++i) {
    // An entry the colour map left empty (-1) is written as black.
    const bool empty = PLRGB.red(i) < 0 || PLRGB.green(i) < 0 || PLRGB.blue(i) < 0;
    HG2PC(empty ? 0 : PLRGB.red(i), empty ? 0 : PLRGB.green(i), empty ? 0 : PLRGB.blue(i),
          PLRGB.deviceColour(i) - 1);
  }
  // Basic colours 1 and 8 trade palette entries: white pen 63 draws black on paper.
  for (int32_t row = 1; row <= 3; ++row) {
    std::swap(PLTCTB.shade(kBasicColourTable, row, kWhiteShade),
              PLTCTB.shade(kBasicColourTable, row, kBlackShade));
  }
  PLTDEV.colourCount = PLTCTB.count(kBasicColourTable);
  PLTDEV.colourCount2 = PLTDEV.colourCount;
  PLTDEV.currentColour = 0;
  PLTDEV.colourTableCount = 0;
  PLTDEV.lineAttribute = 0;
  HG2STA.widthClass = 0;

  HG2STA.fontScale = realOption("FontSizeScale", 1.0f);
  HG2STA.smallFontScale = realOption("SmallFontSizeScale", 1.0f);
  HG2STA.titleFontScale = realOption("TitleFontSizeScale", HG2STA.fontScale);
  HG2STA.symbolScale = realOption("SymbolScale", 1.0f);
  PLTPAR.markerScale = 1.0f;
  if (HG2STA.debug) {
    say({" FontSizeScale      : ", HG2STA.fontScale});
    say({" SmallFontSizeScale : ", HG2STA.smallFontScale});
    say({" TitleFontSizeScale : ", HG2STA.titleFontScale});
    say({" SymbolScale        : ", HG2STA.symbolScale});
  }

  HG2STA.widths = {lineWidth("NormalLineWidth", 0.0f), lineWidth("ThickLineWidth", 0.15f),
                   lineWidth("ThickestLineWidth", 0.35f)};
  if (HG2STA.debug) {
    say({" Normal Line Width   : ", HG2STA.widths[0]});
    say({" Thick Line Width    : ", HG2STA.widths[1]});
    say({" Thickest Line Width : ", HG2STA.widths[2]});
  }

  PLTPAR.textOffsetX = 0.0f;
  PLTPAR.textOffsetY = 0.0f;

  // The plotter format chose colour or monochrome; each of these overrides the one before.
  HG2STA.monochrome = PLTOPT.word(kOptHpgl2Colour) == 0;
  if (beginsWith(variable("TL_GLMONO"), 'T')) HG2STA.monochrome = true;
  if (beginsWith(option("Colour", true, {}), 'T')) HG2STA.monochrome = false;
  if (beginsWith(option("Monochrome", true, {}), 'T')) HG2STA.monochrome = true;
  if (HG2STA.debug) {
    say({HG2STA.monochrome ? " Assuming MONOCHROME output device"
                           : " Assuming COLOUR output device"});
  }

  HG2FT(Hg2Sta::kNoFill);
  setWidth(0);

  if (beginsWith(option("Acetate", true, "TL_TRANSP"), 'T')) {
    HG2PUT("VS10;");
    if (HG2STA.debug) say({" Transparency mode ON"});
  }

  writeTitle();
}

void giveBackTables() {
  PLTCTB.counts = HG2STA.savedCounts;
  PLTCTB.shades = HG2STA.savedShades;
  PLRGB = HG2STA.savedPalette;
}

// A second opcode 1 gives back what the open job took over; nothing of it is written,
// its collected commands neither.
void abandonJob() {
  HG2BUF.text.clear();
  giveBackTables();
  closeDriver(false);
  HG2STA.open = false;
}

void jobStart() {
  endOpenJob();
  mapPage(PLTDEV.window, 2.0f * PLTDEV.cellHeight, kPageWidth, kPageHeight, kCentreX, kCentreY);
  openDriver({"HPGL2", DeviceRow::CgmHpgl2, PLTDEV.colourCount, 0, false});

  HG2STA.debug = beginsWith(option("Debug", true, "TL_DEBUG"), 'T');
  if (HG2STA.debug) {
    say({});
    say({"KAVRO HPGL/2 Driver:  Driver Version 18"});
    say({});
  }
  HG2BUF.unit = IOUNIT.slot(kSlotPlotFile);

  // Taken once per job: a new page rebuilds the tables but gives back what was there
  // before the job only at the close.
  HG2STA.savedCounts = PLTCTB.counts;
  HG2STA.savedShades = PLTCTB.shades;
  HG2STA.savedPalette = PLRGB;
  HG2STA.open = true;
  jobOpened(abandonJob);

  pageStart();
}

void close() {
  // Without a job there is nothing to finish, and the saved tables and device words are
  // not this driver's: giving them back would wipe the palette and the description.
  if (!HG2STA.open) return;
  HG2PAG();
  giveBackTables();
  closeDriver(false);
  HG2STA.open = false;
}

void newPage() {
  // Without a job the colour tables were not saved, and a page start would change them
  // for good.
  if (!HG2STA.open) return;
  HG2PAG();
  pageStart();
}

void lineAttribute(int32_t previous) {
  const int32_t a = PLTPAR.lineAttribute;
  if (a > 0) {
    // The shared step has made A current already: compare with the one before it.
    if (a != previous) HG2LTY(a);
    return;
  }
  const int32_t widthClass = magnitude(a);
  if (widthClass == HG2STA.widthClass) return;
  HG2STA.widthClass = widthClass;
  setWidth(widthClass);
}

// Moves (pen up) or draws (pen down) to the point of PLTPAR, which becomes the current
// position; a draw puts the device point back into the operands.
void moveOrDraw(bool draw) {
  float x = PLTPAR.pointX;
  float y = PLTPAR.pointY;
  transformPoint(x, y, true);
  HG2STA.x = pageX(x);
  HG2STA.y = pageY(y);
  if (draw) {
    PLTPAR.pointX = HG2STA.x;
    PLTPAR.pointY = HG2STA.y;
  }
  HG2XY(HG2STA.x, HG2STA.y, draw);
}

// The first N points of PLTPAR onto the page, in place; ONLYABOVEONE as transformPoint.
int32_t pointsToPage(bool onlyAboveOne) {
  const int32_t n = std::clamp(PLTPAR.pointCount, 0, PltPar::kMaxPoints);
  for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
    transformPoint(PLTPAR.x[i], PLTPAR.y[i], onlyAboveOne);
    PLTPAR.x[i] = pageX(PLTPAR.x[i]);
    PLTPAR.y[i] = pageY(PLTPAR.y[i]);
  }
  return n;
}

void fill() {
  if (PLTPAR.pointCount < 2) return;
  const int32_t pen = PENCOL(PLTPAR.colourTable, PLTPAR.colour, kFillRow);
  const int32_t n = pointsToPage(false);
  const int32_t previous = HG2BUF.pen;
  HG2PEN(pen);
  if (HG2STA.monochrome) {
    HG2FT(PLTPAR.colourTable == kFillTable && PLTPAR.colour == kBlackShade ? 0
                                                                             : magnitude(PLTPAR.colour));
  }
  HG2FIL(n, PLTPAR.x, PLTPAR.y);
  if (previous >= 0) HG2PEN(previous);
}

void text() {
  // The label holds at most 80 characters: a longer text is cut to its first 80.
  const int32_t n = std::min(PLTPAR.textCount, kMaxLabel);
  FixedText label(kMaxLabel);
  CODTXT(PLTPAR.text, n, label);
  const float x = HG2STA.x + PLTPAR.textOffsetX * PLTDEV.cellWidth * PLXFRM.pageScale;
  const float y = HG2STA.y + PLTPAR.textOffsetY * PLTDEV.cellHeight * PLXFRM.pageScale;
  HG2XY(x, y, false);
  HG2LBL(label.view(), n);
}

void marker() {
  const float half = PLTDEV.cellHeight * PLXFRM.pageScale / 3.0f * HG2STA.symbolScale *
                     PLTPAR.markerScale;
  PLTDEV.currentColour = PLTPAR.colour;
  HG2LTY(1);
  PLTDEV.lineAttribute = 1;
  if (HG2STA.widthClass != 0) setWidth(0);
  HG2SYM(HG2STA.x, HG2STA.y, PLTPAR.marker, half);
  if (HG2STA.widthClass != 0) setWidth(HG2STA.widthClass);
}

}  // namespace

void HG2DRV(int32_t opcode) {
  if (opcode < 1 || opcode > kLastOpcode) return;
  const int32_t lineBefore = PLTDEV.lineAttribute;
  const int32_t sizeBefore = PLTDEV.characterSizeBase;
  if (sharedStep(opcode, true)) return;
  switch (opcode) {
    case kOpOpen: jobStart(); break;
    case kOpClose: close(); break;
    case kOpNewPage: newPage(); break;
    case kOpColour: HG2PEN(PENCOL(PLTDEV.colourTableCount, PLTDEV.currentColour, kPenRow)); break;
    case kOpLineAttribute: lineAttribute(lineBefore); break;
    case kOpCharacterSize:
      // The size number changes only with a size the driver knows (HG2CSZ sets it).
      PLTDEV.characterSizeBase = sizeBefore;
      setCharacterSize(PLTPAR.characterSize);
      break;
    case kOpMove: moveOrDraw(false); break;
    case kOpDraw: moveOrDraw(true); break;
    case kOpFill: fill(); break;
    case kOpText: text(); break;
    case kOpMarker: marker(); break;
    case kOpPolyline: HG2PTS(pointsToPage(true), PLTPAR.x, PLTPAR.y); break;
    default: break;  // 25, 31, 33, 35: the shared step is all
  }
}

void HG2SET(std::string_view key, bool isSwitch, FText value, int32_t& status) {
  FixedText app(6, "Quorin");
  FixedText prog(1, "*");
  FixedText section(5, "HPGL2");
  FixedText k(static_cast<int32_t>(key.size()), key);
  RESGET(app, prog, section, k, isSwitch, value, status);
}

void HG2INI(bool debug) {
  HG2BUF.reset();

  FixedText value(kValueLength);
  int32_t status = 0;
  HG2SET("Orientation", false, value, status);
  bool portrait = false;
  if (status >= 1) {
    FixedText lower(kValueLength);
    FixedText mode(1, "L");
    CPYCAS(value, mode, lower);
    portrait = lower.view().find("portrait") != std::string_view::npos;
  } else {
    portrait = beginsWith(variable("TL_GLLAND"), 'F');
  }
  HG2PUT(std::string(1, kEsc) + (portrait ? "&l0O" : "&l1O"));
  if (debug) say({portrait ? " Portrait Orientation" : " Landscape Orientation"});

  if (beginsWith(option("AutoSwitch", true, "TL_GL2_AUTO"), 'T')) {
    if (debug) say({" Assuming auto switch to HPGL/2"});
  } else {
    HG2PUT(std::string(1, kEsc) + "%-1B;");
    if (debug) say({" Forcing switch to HPGL/2"});
  }

  HG2PUT(std::string(1, kEsc) + ".I127;;17:" + kEsc + ".N;19:" +
         "IN;NP256;PW0;SP1;SC 0,9999,0,7070,1;PA;TR0;");

  FixedText layout = option("PageLayout", false, "TL_GLSCALE");
  std::string command = "IR";
  const std::string_view v = layout.view();
  if (v.empty() || v.front() == ' ') {
    command += "5,5,90,90;";
  } else {
    command += v.substr(0, v.find(' '));
    command += "; ";
  }
  HG2PUT(command);
  if (debug) say({" PageLayout : ", std::string_view(command)});
}

}  // namespace kvr
