// The drawing opcodes of the PostScript driver, its objects, pages and the end of the
// document. Coordinates are written as integers: a picture coordinate (after the
// selected transformation when it is not 1) divided by the integer scale Q of the
// prolog, truncated toward zero.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "command/cmdlin.h"
#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "plot/defcol.h"
#include "plot/pltdrv.h"
#include "plot/pltdsp.h"
#include "plot/postscript/lasopn.h"
#include "plot/postscript/lasplt.h"
#include "runtime/codtxt.h"
#include "runtime/pltctb.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kTextCapacity = 80;   // characters of a text string
constexpr int32_t kTitleCapacity = 78;  // characters of the title string
constexpr int32_t kTitleCodes = 80;     // command-line codes the title is taken from
constexpr int32_t kPairsPerLine = 5;    // fill points per line
constexpr int32_t kMarkers = 8;
constexpr int32_t kBorderKind = 3;      // an object kind that closes no object
constexpr int32_t kStrokeRow = 2;       // colour table rows: lines and markers, fills
constexpr int32_t kFillRow = 3;
constexpr int32_t kWhite = 8;           // basic colours drawn as the paper
constexpr float kGreyRange = 0.96f;

constexpr std::array<std::string_view, kMarkers> kMarkerNames = {" pl", " as", " cr", " sq",
                                                                 " di", " xs", " tr", "mi "};

std::string i5(int64_t v) { return psI(v, 5); }
std::string i6(int64_t v) { return psI(v, 6); }

// A picture coordinate as an integer of the file.
int32_t whole(float v) { return intOf(v / LASSTA.q); }

// The line width of the thinnest line, in integer units.
int32_t thinnest() { return intOf(0.5f / LASSTA.q); }

void selectPen() {
  LasSta& st = LASSTA;
  if (st.pen == st.lastPen) return;
  st.lastGrey = kNoGrey;
  st.lastPen = st.pen;
  if (st.colour) {
    // A pen outside the colour table (no colour chosen yet) draws black.
    const bool known = LasSta::isDeviceColour(st.pen);
    PSCOLW(PLTPAR.outUnit, known ? st.red(st.pen) : 0.0f, known ? st.green(st.pen) : 0.0f,
           known ? st.blue(st.pen) : 0.0f);
  } else {
    psLine(fmt::editI(st.textGrey, 1) + " setgray");
  }
}

// Transforms points 1..N of PLTPAR in place and answers false when nothing is to be
// drawn: no point, or integer points whose offsets from the first sum to 0 on both axes.
bool takePoints(int32_t n, std::array<int32_t, PltPar::kMaxPoints>& xs,
                std::array<int32_t, PltPar::kMaxPoints>& ys) {
  int64_t sumX = 0;
  int64_t sumY = 0;
  for (int32_t i = 0; i < n; ++i) {
    const size_t k = static_cast<size_t>(i);
    transformPoint(PLTPAR.x[k], PLTPAR.y[k]);
    xs[k] = whole(PLTPAR.x[k]);
    ys[k] = whole(PLTPAR.y[k]);
    sumX += static_cast<int64_t>(xs[k]) - xs[0];
    sumY += static_cast<int64_t>(ys[k]) - ys[0];
  }
  return n >= 1 && (sumX != 0 || sumY != 0);
}

void titleBlock() {
  const LasSta& st = LASSTA;
  std::array<char, kTitleCodes> codes{};
  FText title(codes.data(), kTitleCodes);
  CODTXT(CMDLIN.lineCodes, kTitleCodes, title);
  // STRIPB answers 1 for a blank text, so a blank line is found before it.
  if (std::all_of(codes.begin(), codes.end(),
                  [](char c) { return c == ' ' || c == '\t' || c == '\0'; })) {
    return;
  }
  int32_t n = kTitleCodes;
  STRIPB(title, n);
  PSESC(title, n, kTitleCapacity);
  const PlotWindow& w = PLTDEV.window;
  const int64_t x = whole(w.xMin);
  const int64_t y = whole(w.yMin) - 2 * static_cast<int64_t>(intOf(st.titleFontSize / st.s / st.q));
  psLine("gsave");
  psLine("TitleFont setfont");
  psLine(i6(x) + i6(y) + " moveto");
  psLine(fmt::editI(st.textGrey, 1) + " setgray");
  psLine("(" + std::string(codes.data(), static_cast<size_t>(n)) + ")");
  psLine("centretext");
  psLine("grestore");
}

// What a job took over: basic colours 1 and 8 exchanged back on white paper, the colour
// tables and the device words. A second opcode 1 gives them back, writing nothing.
void giveBack() {
  if (LASSTA.colour && !LASSTA.blackBackground) psSwapWhiteAndBlack();
  psRestoreColours();
  closeDriver(false);
}

void close() {
  LasSta& st = LASSTA;
  titleBlock();
  psLine("%%EndObject");
  psLine("showpage");
  psLine("saveobj restore");
  psLine("%%Trailer");
  psLine("%%Pages: " + fmt::editI(st.pageCount, 3));
  giveBack();
}

void newPage() {
  titleBlock();
  psLine("%%EndObject");
  psLine("copypage");
  psLine("erasepage");
  ++LASSTA.pageCount;
  // The erase leaves the next page white: on black paper its first object turns it black
  // again, or its white lines and title would not show.
  if (LASSTA.blackBackground) LASSTA.transferPending = true;
}

void lineAttribute() {
  const int32_t v = PLTPAR.lineAttribute;
  if (v >= 1) {
    if (v == 1) psLine("[] 0 setdash");
    if (v == 2) psLine("[150] 0 setdash");
    if (v == 3) psLine("[300] 0 setdash");
    return;
  }
  const int64_t factor = std::min<int64_t>(1 - static_cast<int64_t>(v), INT32_MAX);
  LASSTA.widthFactor = static_cast<int32_t>(factor);
  psLine(i5(factor * thinnest()) + " setlinewidth");
}

void characterSize() {
  LasSta& st = LASSTA;
  const int32_t k = PLTPAR.characterSize;
  if (k != st.currentSize) {
    const float size = k == 1 || k == 3 ? st.fontSize : st.smallFontSize;
    PLTDEV.cellHeight = size / st.s;
    PLTDEV.cellWidth = 0.6f * size / st.s;
    st.currentSize = k;
  }
  PLTDEV.characterSizeBase = st.currentSize;
}

void draw() {
  LasSta& st = LASSTA;
  transformPoint(PLTPAR.pointX, PLTPAR.pointY);
  const int32_t x = whole(PLTPAR.pointX);
  const int32_t y = whole(PLTPAR.pointY);
  const int32_t cx = whole(st.currentX);
  const int32_t cy = whole(st.currentY);
  if (x != cx || y != cy) {
    selectPen();
    psLine(i6(x) + i6(y) + i6(cx) + i6(cy) + " gv");
  }
  st.currentX = PLTPAR.pointX;
  st.currentY = PLTPAR.pointY;
}

void fill() {
  LasSta& st = LASSTA;
  const int32_t c = PLTPAR.colour;
  // The table the record names (word 624), not the one the device last selected.
  const int32_t fillPen = st.colour ? PENCOL(PLTPAR.colourTable, c, kFillRow) + 1 : 0;
  const int32_t n = PLTPAR.pointCount;
  std::array<int32_t, PltPar::kMaxPoints> xs{};
  std::array<int32_t, PltPar::kMaxPoints> ys{};
  if (!takePoints(n, xs, ys)) return;
  if (st.colour) {
    if (fillPen != st.lastPen) {
      st.lastGrey = kNoGrey;
      st.lastPen = fillPen;
      const bool known = LasSta::isDeviceColour(fillPen);
      PSCOLW(PLTPAR.outUnit, known ? st.red(fillPen) : 0.0f, known ? st.green(fillPen) : 0.0f,
             known ? st.blue(fillPen) : 0.0f);
    }
  } else if (c != st.lastGrey) {
    st.lastGrey = c;
    st.lastPen = -1;
    float grey = 0.0f;
    if (c == 0 || c == kWhite) {
      grey = st.blackBackground ? 0.0f : 1.0f;
    } else {
      const int32_t count = std::max(PLTDEV.colourCount, 1);  // no table: no division by 0
      grey = static_cast<float>(std::abs(static_cast<int64_t>(c))) / static_cast<float>(count) *
             kGreyRange;
    }
    psLine(psF(grey, 7, 4) + " setgray");
  }
  std::string line;
  for (int32_t i = 0; i < n; ++i) {
    line += i6(xs[static_cast<size_t>(i)]) + i6(ys[static_cast<size_t>(i)]);
    if ((i + 1) % kPairsPerLine == 0 && i + 1 < n) {
      psLine(line);
      line.clear();
    }
  }
  psLine(line + psI(n, n < 6 ? 2 : 3) + " gp");
}

void text() {
  LasSta& st = LASSTA;
  const int64_t x = static_cast<int64_t>(whole(st.currentX)) +
                    whole(PLTDEV.cellWidth * PLTPAR.textOffsetX);
  const int64_t y = static_cast<int64_t>(whole(st.currentY)) +
                    whole(PLTDEV.cellHeight * PLTPAR.textOffsetY);
  std::array<char, kTextCapacity> codes{};
  FText t(codes.data(), kTextCapacity);
  int32_t n = std::min(PLTPAR.textCount, kTextCapacity);
  CODTXT(PLTPAR.text, n, t);
  PSESC(t, n, kTextCapacity);
  PLTPAR.textCount = n;
  selectPen();
  // Sizes 2 and 4 use the small font that the prolog made current.
  const bool large = st.currentSize != 2 && st.currentSize != 4;
  if (large) {
    psLine("gsave");
    psLine("LargeFont setfont");
  }
  psLine("(" + std::string(codes.data(), static_cast<size_t>(n)) + ")" + i5(x) + " " + i5(y) +
         " gt");
  if (large) psLine("grestore");
}

void marker() {
  LasSta& st = LASSTA;
  PLTPAR.marker = std::clamp(PLTPAR.marker, 1, kMarkers);
  if (PLTDEV.lineAttribute != 1) {
    PLTDEV.lineAttribute = 1;
    psLine("[] 0 setdash");
  }
  if (st.widthFactor != 1) psLine(i5(thinnest()) + " setlinewidth");
  selectPen();
  const std::string scale = psF(PLTPAR.markerScale, 12, 5);
  psLine(scale + scale + " " + i5(whole(st.currentX)) + " " + i5(whole(st.currentY)) + " " +
         std::string(kMarkerNames[static_cast<size_t>(PLTPAR.marker - 1)]));
  if (st.widthFactor != 1) {
    psLine(i5(static_cast<int64_t>(st.widthFactor) * thinnest()) + " setlinewidth");
  }
}

void objectKind() {
  LasSta& st = LASSTA;
  const int32_t kind = PLTPAR.objectKind;
  if (kind != kBorderKind) psLine("%%EndObject");
  if (st.blackBackground && st.transferPending) {
    psLine("gsave {1 exch sub}");
    psLine(" currenttransfer concatprocs");
    psLine("settransfer");
    psLine("erasepage grestore");
    st.transferPending = false;
  }
  std::string name(PSOBJK(kind));
  name.resize(std::max<size_t>(name.size(), 26), ' ');
  psLine("%%BeginObject: " + name + fmt::editI(kind, 3));
}

void polyline() {
  const int32_t n = PLTPAR.pointCount;
  std::array<int32_t, PltPar::kMaxPoints> xs{};
  std::array<int32_t, PltPar::kMaxPoints> ys{};
  if (!takePoints(n, xs, ys)) return;
  selectPen();
  for (int32_t i = 0; i < n; ++i) {
    psLine(i5(xs[static_cast<size_t>(i)]) + " " + i5(ys[static_cast<size_t>(i)]));
  }
  psLine(i5(n) + " gpv");
}

}  // namespace

void psLine(std::string_view line) { io::writeRecord(PLTPAR.outUnit, line); }

std::string psI(int64_t value, int w) {
  std::string field = fmt::editI(value, w);
  if (field.empty() || field[0] != '*') return field;
  return " " + fmt::editI(value, 0);
}

std::string psF(float value, int w, int d) {
  std::string field = fmt::editF(value, w, d);
  if (field.empty() || field[0] != '*') return field;
  constexpr int kWidest = 60;  // a float with its decimals fits
  field = fmt::editF(value, kWidest, d);
  return " " + field.substr(field.find_first_not_of(' '));
}

void PSMONO(int32_t opcode) {
  if (opcode == kOpOpen) {
    endOpenJob();  // before the colour switch: an open job ends with its own
    LASSTA.colour = false;
  }
  LASPLT(opcode);
}

void PSCOLR(int32_t opcode) {
  if (opcode == kOpOpen) {
    endOpenJob();
    LASSTA.colour = true;
  }
  LASPLT(opcode);
}

void LASPLT(int32_t opcode) {
  if (sharedStep(opcode, LASSTA.colour)) return;
  LasSta& st = LASSTA;
  switch (opcode) {
    case kOpOpen:
      LASOPN();
      jobOpened(giveBack);
      break;
    case kOpClose: close(); break;
    case kOpNewPage: newPage(); break;
    case kOpColour:
      st.pen = PENCOL(PLTDEV.colourTableCount, PLTDEV.currentColour, kStrokeRow) + 1;
      break;
    case kOpLineAttribute: lineAttribute(); break;
    case kOpCharacterSize: characterSize(); break;
    case kOpMove:
      st.currentX = PLTPAR.pointX;
      st.currentY = PLTPAR.pointY;
      transformPoint(st.currentX, st.currentY);
      break;
    case kOpDraw: draw(); break;
    case kOpFill: fill(); break;
    case kOpText: text(); break;
    case kOpMarker: marker(); break;
    case kOpObjectKind: objectKind(); break;
    case kOpPolyline: polyline(); break;
    default: break;
  }
}


void PSCOLW(int32_t unit, float r, float g, float b) {
  const int32_t ir = intOf(1000.0f * r);
  if (ir == intOf(1000.0f * g) && ir == intOf(1000.0f * b)) {
    if (ir == 0) {
      io::writeRecord(unit, "0 setgray");
    } else if (ir == 1000) {
      io::writeRecord(unit, "1 setgray");
    } else {
      io::writeRecord(unit, psF(r, 7, 4) + " setgray");
    }
    return;
  }
  io::writeRecord(unit, psF(r, 7, 4) + psF(g, 7, 4) + psF(b, 7, 4) + " C");
}

void PSESC(FText text, int32_t& length, int32_t capacity) {
  const int32_t n = std::clamp(length, 0, text.length());
  const int32_t room = std::clamp(capacity, 0, text.length());
  std::string out;
  for (int32_t k = 1; k <= n; ++k) {
    const char c = text.at(k);
    // A backslash of the text itself is escaped too: left alone it would escape the
    // character after it, or the closing parenthesis.
    const bool escaped = c == '(' || c == ')' || c == '\\';
    if (static_cast<int32_t>(out.size()) + (escaped ? 2 : 1) > room) break;
    if (escaped) out += '\\';
    out += c;
  }
  text.assign(out);
  length = static_cast<int32_t>(out.size());
}

std::string_view PSOBJK(int32_t kind) {
  static constexpr std::array<std::string_view, 15> kKinds = {
      "ERROR_PRINTOUTS",
      "PURE_GRAPHICS_(MODEL)",
      "BORDER_TO_SCREEN/TABLE_ETC",
      "PROMPTS",
      "MENU",
      "TABLE_HEADER",
      "TABLE_DATA",
      "INFORMATION/MESSAGE",
      "RESULTS_(PURE_GRAPHICS)",
      "ANNOTATION(TO_RESULTS)",  // 10
      "RESULTS_MONITOR",
      "LABELS",
      "AXES",
      "CURSOR_FLASH",
      "HELP_DISPLAY",
  };
  if (kind < 1 || kind > static_cast<int32_t>(kKinds.size())) return "UNKNOWN_OBJECT_TYPE";
  return kKinds[static_cast<size_t>(kind - 1)];
}

}  // namespace kvr
