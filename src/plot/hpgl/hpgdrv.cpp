// The HP-GL pen-plotter driver: its opcode dispatch, the job start and its options, and
// the command writers of its own (initialisation, job end, pens, sizes, line types).
#include "plot/hpgl/hpgdrv.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>

#include "command/cmdlin.h"
#include "platform/fmtedit.h"
#include "plot/hpgl/hg2buf.h"
#include "plot/pltdrv.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "runtime/codtxt.h"
#include "runtime/envirn.h"
#include "runtime/ftext.h"
#include "runtime/iounit.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr char kEsc = '\x1B';
constexpr int32_t kValueLength = 80;  // environment variables
constexpr int32_t kTitleLength = 80;
constexpr int32_t kMaxLabel = 80;

// The page: plotter units between the scaling points, the picture's centre at 5000, 3600.
constexpr float kPageWidth = 9999.0f;
constexpr float kPageHeight = 7200.0f;
constexpr float kCentreX = 5000.0f;
constexpr float kCentreY = 3600.0f;

// Pens: one digit on the plotter; 6 unless TL_NUMPENS names another count.
constexpr int32_t kDefaultPens = 6;
constexpr int32_t kMaxPens = 9;
constexpr int64_t kReadLimit = 1'000'000'000;  // a count read digit by digit saturates here

// Character sizes in device units (normal, small) and what a cell holds.
constexpr int32_t kNormalWidth = 75;
constexpr int32_t kNormalHeight = 108;
constexpr int32_t kSmallWidth = 50;
constexpr int32_t kSmallHeight = 71;
constexpr float kCellFactor = 1.5f;
constexpr float kCentimetres = 0.002f;  // device units to centimetres
constexpr int32_t kNormalClass = 1;

bool beginsWith(std::string_view value, char upper) {
  return !value.empty() && (value.front() == upper || value.front() == upper + ('a' - 'A'));
}

// The value of environment variable NAME, blank when it is not set.
FixedText variable(std::string_view name) {
  FixedText value(kValueLength);
  FixedText n(static_cast<int32_t>(name.size()), name);
  ENVIRN(n, value);
  return value;
}

// The number of pens TL_NUMPENS gives: the characters before its first blank, read digit
// by digit (any character counts as a digit). A count outside 1..9 could not be written
// as one digit, and one that is not a number would overflow: both keep 6 pens.
int32_t penCount() {
  const FixedText value = variable("TL_NUMPENS");
  const std::string_view v = value.view();
  if (v.empty() || v.front() == ' ') return kDefaultPens;
  int64_t p = 0;
  for (char c : v.substr(0, v.find(' '))) {
    p = std::clamp<int64_t>(p * 10 + (c - '0'), -kReadLimit, kReadLimit);
  }
  return p >= 1 && p <= kMaxPens ? static_cast<int32_t>(p) : kDefaultPens;
}

void setCharacterSize(int32_t sizeClass) { HPGCSZ(sizeClass, PLTDEV.cellWidth, PLTDEV.cellHeight); }

void writeTitle() {
  if (HPGSTA.title.empty()) return;
  HPGXY(HPGSTA.titleX, HPGSTA.titleY, false);
  HPGLBL(HPGSTA.title, static_cast<int32_t>(HPGSTA.title.size()));
}

// The pending command line, centred half a character height above the bottom of the
// page. A blank line has no title: STRIPB leaves one filler character of it.
void takeTitle() {
  FixedText title(kTitleLength);
  CODTXT(std::span<const int32_t>(CMDLIN.lineCodes).first(kTitleLength), kTitleLength, title);
  int32_t n = kTitleLength;
  STRIPB(title, n);
  const char first = title.text().at(1);
  if (n == 1 && (first == ' ' || first == '\t' || first == '\0')) n = 0;
  HPGSTA.title = std::string(title.view().substr(0, static_cast<size_t>(std::max(n, 0))));
  HPGSTA.titleX = kCentreX - static_cast<float>(n) * PLTDEV.cellWidth * PLXFRM.pageScale * 0.5f;
  HPGSTA.titleY = 0.5f * PLTDEV.cellHeight * PLXFRM.pageScale;
}

// A second opcode 1 gives back what the open job took over; nothing of it is written,
// its collected commands neither.
void abandonJob() {
  HG2BUF.text.clear();
  closeDriver(false);
  HPGSTA.open = false;
}

void jobStart() {
  endOpenJob();
  openDriver({"HPGL", DeviceRow::Hpgl, kDefaultPens - 1, 0, false});
  const int32_t pens = penCount();
  PLTDEV.colourCount = pens - 1;
  PLTDEV.colourCount2 = pens - 1;
  mapPage(PLTDEV.window, 2.0f * PLTDEV.cellHeight, kPageWidth, kPageHeight, kCentreX, kCentreY);
  HPGSTA.yCable = beginsWith(variable("TL_YCABLE").view(), 'T');
  HG2BUF.unit = IOUNIT.slot(kSlotPlotFile);
  HPGINI(HPGSTA.yCable);
  setCharacterSize(kNormalClass);
  PLTPAR.textOffsetX = 0.0f;
  PLTPAR.textOffsetY = 0.0f;
  if (beginsWith(variable("TL_TRANSP").view(), 'T')) HPGPUT("VS10;");
  takeTitle();
  writeTitle();
  PLTPAR.markerScale = 1.0f;
  HPGSTA.open = true;
  jobOpened(abandonJob);
}

void close() {
  // Without a job the saved device words are not this driver's: giving them back would
  // wipe the description of the device in use.
  if (!HPGSTA.open) return;
  HPGEND(HPGSTA.yCable);
  closeDriver(false);
  HPGSTA.open = false;
}

void newPage() {
  if (!HPGSTA.open) return;
  HPGPUT("PG;");
  writeTitle();
}

int32_t magnitude(int32_t v) {
  return v == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max()
                                                  : (v < 0 ? -v : v);
}

// The pen of the current colour: c > 0 pen c, c < 0 the shade counted down from the last
// pen, both limited by the number of pens; colour 0 selects no pen.
void colour() {
  const int32_t c = PLTDEV.currentColour;
  if (c == 0) return;
  int64_t p = c > 0 ? int64_t{c} : int64_t{PLTDEV.colourCount2} + 1 - magnitude(c);
  p = std::min(p, int64_t{PLTDEV.colourCount} + 1);
  if (p <= 0) p = 1;
  HPGPEN(static_cast<int32_t>(std::min<int64_t>(p, kMaxPens)));
}

// Moves (pen up) or draws (pen down) to the point of PLTPAR, which becomes the current
// position; a draw puts the device point back into the operands.
void moveOrDraw(bool draw) {
  float x = PLTPAR.pointX;
  float y = PLTPAR.pointY;
  transformPoint(x, y, true);
  HPGSTA.x = pageX(x);
  HPGSTA.y = pageY(y);
  if (draw) {
    PLTPAR.pointX = HPGSTA.x;
    PLTPAR.pointY = HPGSTA.y;
  }
  HPGXY(HPGSTA.x, HPGSTA.y, draw);
}

void polyline() {
  const int32_t n = std::clamp(PLTPAR.pointCount, 0, PltPar::kMaxPoints);
  for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
    transformPoint(PLTPAR.x[i], PLTPAR.y[i], true);
    PLTPAR.x[i] = pageX(PLTPAR.x[i]);
    PLTPAR.y[i] = pageY(PLTPAR.y[i]);
  }
  HPGPTS(n, PLTPAR.x, PLTPAR.y);
}

void text() {
  // The label holds at most 80 characters: a longer text is cut to its first 80.
  const int32_t n = std::min(PLTPAR.textCount, kMaxLabel);
  FixedText label(kMaxLabel);
  CODTXT(PLTPAR.text, n, label);
  const float x = HPGSTA.x + PLTPAR.textOffsetX * PLTDEV.cellWidth * PLXFRM.pageScale;
  const float y = HPGSTA.y + PLTPAR.textOffsetY * PLTDEV.cellHeight * PLXFRM.pageScale;
  HPGXY(x, y, false);
  HPGLBL(label.view(), n);
}

void marker() {
  const float half = PLTDEV.cellHeight * PLXFRM.pageScale / 3.0f * PLTPAR.markerScale;
  PLTDEV.currentColour = PLTPAR.colour;
  HPGLTY(1);
  PLTDEV.lineAttribute = 1;
  HPGSYM(HPGSTA.x, HPGSTA.y, PLTPAR.marker, half);
}

bool acts(int32_t opcode) {
  switch (opcode) {
    case kOpOpen: case kOpClose: case kOpNewPage: case kOpColour: case kOpLineAttribute:
    case kOpCharacterSize: case kOpMove: case kOpDraw: case kOpText: case kOpMarker:
    case kOpObjectKind: case kOpPolyline: case kOpSelectTransform: case kOpDefineTransform:
    case kOpColourTable:
      return true;
    default: return false;
  }
}

}  // namespace

void HPGDRV(int32_t opcode) {
  if (!acts(opcode)) return;
  const int32_t lineBefore = PLTDEV.lineAttribute;
  if (sharedStep(opcode, false)) return;
  switch (opcode) {
    case kOpOpen: jobStart(); break;
    case kOpClose: close(); break;
    case kOpNewPage: newPage(); break;
    case kOpColour: colour(); break;
    case kOpLineAttribute: {
      // The shared step has made the attribute current already: compare with the one
      // before it. Line widths (0 and below) mean nothing to a pen plotter.
      const int32_t a = PLTPAR.lineAttribute;
      if (a > 0 && a != lineBefore) HPGLTY(a);
      break;
    }
    case kOpCharacterSize: setCharacterSize(PLTPAR.characterSize); break;
    case kOpMove: moveOrDraw(false); break;
    case kOpDraw: moveOrDraw(true); break;
    case kOpText: text(); break;
    case kOpMarker: marker(); break;
    case kOpPolyline: polyline(); break;
    default: break;  // 25, 31, 33, 35: the shared step is all
  }
}

void HPGINI(bool yCable) {
  HG2BUF.reset();
  if (yCable) HPGPUT(std::string(1, kEsc) + ".Y");
  HPGPUT(std::string(1, kEsc) + ".I127;;17:" + kEsc + ".N;19:" + "IN;SP1;SC 0,9999,0,7200;PA;");
}

void HPGEND(bool yCable) {
  HPGPUT("SP0");
  HPGWRT(HG2BUF.text);
  if (!yCable) return;
  HPGPUT(std::string(1, kEsc) + ".Z");
  HPGWRT(HG2BUF.text);
}

void HPGPEN(int32_t pen) {
  // The plotter reads one digit.
  const int32_t p = std::clamp(pen, 1, kMaxPens);
  if (p == HG2BUF.pen) return;
  HPGPUT("PUSP" + fmt::editI(p, 1) + ";");
  HG2BUF.pen = p;
}

void HPGCSZ(int32_t sizeClass, float& width, float& height) {
  const bool normal = sizeClass == 1 || sizeClass == 3;
  const float a = static_cast<float>(normal ? kNormalWidth : kSmallWidth);
  const float b = static_cast<float>(normal ? kNormalHeight : kSmallHeight);
  HPGPUT("SI" + fmt::editF(a * kCentimetres, 6, 4) + "," + fmt::editF(b * kCentimetres, 6, 4) + ";");
  // Before the first job start no page is mapped: a scale of 0 would make the cell
  // infinite.
  const float scale = PLXFRM.pageScale > 0.0f ? PLXFRM.pageScale : 1.0f;
  width = a * kCellFactor / scale;
  height = b * kCellFactor / scale;
  PLTDEV.characterSizeBase = sizeClass;
}

void HPGLTY(int32_t type) {
  switch (type) {
    case 2: HPGPUT("LT2,3,1;"); break;
    case 3: HPGPUT("LT3,3,1;"); break;
    default: HPGPUT("LT,;"); break;
  }
}

}  // namespace kvr
