// The document-frame driver: its opcode dispatch, the records of the frame and the
// dashes of its dashed lines.
#include "plot/frame/ilfdrv.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "plot/pltdrv.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "runtime/codtxt.h"
#include "runtime/ftext.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"

namespace kvr {
namespace {

// The frame: 6.6 inches square, the picture's centre at its centre.
constexpr float kFrameSize = 6.6f;
constexpr float kFrameCentre = 3.3f;

constexpr int32_t kColourCount = 6;
constexpr int32_t kColourCount2 = 1;
constexpr float kCharacterWidth = 0.0833333f;  // 6 and 10 points of the frame, in inches
constexpr float kCharacterHeight = 0.138889f;
constexpr float kPointsPerInch = 72.0f;
constexpr int32_t kSolid = 1;
constexpr float kDash = 0.132f;
// A dashed line longer than this is written as one segment: its end points lie beyond
// any frame coordinate that fits its field, it would take thousands of dashes, and past
// about a million inches the dash position stops growing in single precision, so the
// dash loop would never end.
constexpr float kLongestDashedLine = 2000.0f;
constexpr float kMarkerShift = 0.0416667f;  // a marker's glyph is 1/24 inch wide and high

constexpr int32_t kFillPoints = 9;
constexpr int32_t kFillBase = 13;  // pattern = colour count - |colour| + 13
// The patterns of the frame's fills: 13 for the last colour of the table .. 20 for the
// background. A colour index past the table is held to the last colour.
constexpr int64_t kFirstPattern = 13;
constexpr int64_t kLastPattern = 20;
constexpr int32_t kMaxTextCodes = 80;
constexpr size_t kMaxTextChars = 39;

constexpr std::string_view kTextFont = "typw10";
constexpr std::string_view kSmallFont = "typw8 ";
constexpr std::string_view kSymbolFont = "symb10";

constexpr std::string_view kHead[] = {
    "<!OPS, Version = 4.0>",
    "<fgplot>",
    "<Frame, Placement =    At Anchor,",
    "        Width     =    6.6 inches,",
    "        Height    =    6.6 inches,",
    "        Vertical Alignment  = 0 inches>",
    "V4,",
    "(g9,1,0",
};

void put(std::string_view record) { io::writeRecord(PLTPAR.outUnit, record); }

std::string number(int32_t n) { return fmt::editI(n, 5); }
std::string inches(float v) { return fmt::editF(v, 9, 5); }

void nextObject() {
  if (ILFSTA.object < std::numeric_limits<int32_t>::max()) ++ILFSTA.object;
}

float frameX(float x) {
  return PLXFRM.pageOffsetX + (x - PLXFRM.pageOriginX) * PLXFRM.pageScale;
}
float frameY(float y) {
  return (kFrameSize - PLXFRM.pageOffsetY) - (y - PLXFRM.pageOriginY) * PLXFRM.pageScale;
}

// Before the first opcode 1 no page is mapped: a scale of 0 would make the cell infinite.
float pageScale() { return PLXFRM.pageScale > 0.0f ? PLXFRM.pageScale : 1.0f; }

// One segment from X1, Y1 to X2, Y2 under OBJECT: DRAWN for a drawn line, else an edge
// of a fill or polyline.
void segment(int32_t unit, float x1, float y1, float x2, float y2, int32_t object, bool drawn) {
  io::writeRecord(unit, "(v4," + number(object) + ",0," + inches(x1) + "," + inches(y1) + "," +
                            inches(x2) + "," + inches(y2) + "," + (drawn ? "17,1,0)" : "17,0,0)"));
}

int32_t magnitude(int32_t v) {
  return v == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max()
                                                  : (v < 0 ? -v : v);
}

// A text or marker record at X, Y in FONT.
void textRecord(float x, float y, std::string_view font, std::string_view text) {
  put("(t8," + number(ILFSTA.object) + ",4," + inches(x) + "," + inches(y) + ",0,17," +
      std::string(font) + "," + std::string(text) + ")");
}

// TEXT with a backslash before every blank, ",", "<", ">", "(", ")" and backslash, cut to
// at most 39 characters.
std::string escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    const bool special = c == ' ' || c == ',' || c == '<' || c == '>' || c == '(' || c == ')' ||
                         c == '\\';
    const size_t unit = special ? 2 : 1;
    // Cut between whole units: a lone backslash at the end would escape the closing ")".
    if (out.size() + unit > kMaxTextChars) break;
    if (special) out += '\\';
    out += c;
  }
  return out;
}

// A second opcode 1 gives back what the open frame took over, writing nothing.
void abandonJob() {
  closeDriver(true);
  ILFSTA.open = false;
}

void open() {
  endOpenJob();
  // The page extents across; up from their bottom to the top of the picture window,
  // raised by two character heights of the device open before.
  const PlotWindow window{PLTDEV.window2.xMin, PLTDEV.window2.xMax, PLTDEV.window2.yMin,
                          PLTDEV.window.yMax};
  mapPage(window, 2.0f * PLTDEV.cellHeight, kFrameSize, kFrameSize, kFrameCentre, kFrameCentre);
  openDriver({"Interleaf", DeviceRow::Interleaf, kColourCount, 0, true});
  PLTDEV.colourCount2 = kColourCount2;
  PLTDEV.cellWidth = kCharacterWidth / PLXFRM.pageScale;
  PLTDEV.cellHeight = kCharacterHeight / PLXFRM.pageScale;
  ILFSTA.textFont = kTextFont;
  PLTPAR.markerScale = 1.0f;
  ILFSTA.lineStyle = 0;
  for (std::string_view line : kHead) put(line);
  ILFSTA.object = 1;
  ILFSTA.open = true;
  jobOpened(abandonJob);
}

void close() {
  // Without a frame the saved words are not this driver's: giving them back would wipe
  // the description of the device in use.
  if (!ILFSTA.open) return;
  closeDriver(true);
  put(")");
  put("<End Frame>");
  ILFSTA.open = false;
}

void characterSize(int32_t k) {
  const bool normal = k == 1 || k == 3;
  ILFSTA.cellWidth = normal ? 6 : 5;
  ILFSTA.cellHeight = normal ? 10 : 8;
  ILFSTA.textFont = normal ? kTextFont : kSmallFont;
  PLTDEV.cellWidth = static_cast<float>(ILFSTA.cellWidth) / kPointsPerInch / pageScale();
  PLTDEV.cellHeight = static_cast<float>(ILFSTA.cellHeight) / kPointsPerInch / pageScale();
}

// Moves (DRAW false) or draws to the point of PLTPAR, which becomes the current point; a
// draw puts the frame point back into the operands.
void moveOrDraw(bool draw) {
  float x = PLTPAR.pointX;
  float y = PLTPAR.pointY;
  transformPoint(x, y, true);
  const float fx = frameX(x);
  const float fy = frameY(y);
  if (draw) {
    PLTPAR.pointX = fx;
    PLTPAR.pointY = fy;
    const int32_t unit = PLTPAR.outUnit;
    if (ILFSTA.lineStyle == kSolid) {
      segment(unit, ILFSTA.x, ILFSTA.y, fx, fy, ILFSTA.object, true);
    } else {
      put("(g9," + number(ILFSTA.object) + ",0");
      ILFDSH(unit, ILFSTA.x, ILFSTA.y, fx, fy, ILFSTA.object, kDash);
      put(")");
    }
    nextObject();
  }
  ILFSTA.x = fx;
  ILFSTA.y = fy;
}

// The first N points of PLTPAR onto the frame (transformed in place when the selected
// transformation is not 1); answers N.
int32_t pointsToFrame() {
  const int32_t n = std::clamp(PLTPAR.pointCount, 0, PltPar::kMaxPoints);
  for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
    transformPoint(PLTPAR.x[i], PLTPAR.y[i]);
    ILFSTA.frameX[i] = frameX(PLTPAR.x[i]);
    ILFSTA.frameY[i] = frameY(PLTPAR.y[i]);
  }
  return n;
}

void edge(int32_t i, int32_t j, int32_t object) {
  segment(PLTPAR.outUnit, ILFSTA.frameX[static_cast<size_t>(i)], ILFSTA.frameY[static_cast<size_t>(i)],
          ILFSTA.frameX[static_cast<size_t>(j)], ILFSTA.frameY[static_cast<size_t>(j)], object, false);
}

void fill() {
  PLTDEV.currentColour = PLTPAR.colour;
  int64_t pattern = std::clamp(int64_t{PLTDEV.colourCount} - magnitude(PLTPAR.colour) + kFillBase,
                               kFirstPattern, kLastPattern);
  if (pattern == 20) {
    pattern = 17;
  } else if (pattern >= 17 && pattern <= 19) {
    ++pattern;
  }
  int32_t n = pointsToFrame();
  n = std::min(n, kFillPoints);
  PLTPAR.pointCount = n;
  // Without points there is no outline to close: nothing is written, no number taken.
  if (n < 1) return;
  const std::string object = number(ILFSTA.object);
  put("(p6," + object + ",24," + fmt::editI(pattern, 2));
  put("  (g9," + object + ",0");
  for (int32_t i = 0; i + 1 < n; ++i) edge(i, i + 1, ILFSTA.object);
  edge(n - 1, 0, ILFSTA.object);
  put("))");
  nextObject();
}

void polyline() {
  const int32_t n = pointsToFrame();
  put("  (g9," + number(ILFSTA.object) + ",0");
  for (int32_t i = 0; i + 1 < n; ++i) {
    edge(i, i + 1, ILFSTA.object);
    nextObject();
  }
  put(")");
  nextObject();
}

void text() {
  const float x = ILFSTA.x + static_cast<float>(ILFSTA.cellWidth) / kPointsPerInch * PLTPAR.textOffsetX;
  const float y = ILFSTA.y - static_cast<float>(ILFSTA.cellHeight) / kPointsPerInch * PLTPAR.textOffsetY;
  const int32_t n = std::clamp(PLTPAR.textCount, 0, kMaxTextCodes);
  FixedText chars(kMaxTextCodes);
  CODTXT(PLTPAR.text, n, chars);
  textRecord(x, y, ILFSTA.textFont, escaped(chars.view().substr(0, static_cast<size_t>(n))));
  PLTPAR.textOffsetX = 0.0f;
  PLTPAR.textOffsetY = 0.0f;
  nextObject();
}

void marker() {
  static constexpr char kGlyphs[] = {'g', ':', 'L', 'j', 'Z', 'Y', 'Y'};
  const int32_t m = PLTPAR.marker;
  ILFSTA.markerFont = m == 8 ? kTextFont : kSymbolFont;
  ILFSTA.glyph = m == 8 ? '-' : m >= 1 && m <= 7 ? kGlyphs[m - 1] : 'g';
  textRecord(ILFSTA.x - kMarkerShift, ILFSTA.y + kMarkerShift, ILFSTA.markerFont,
             std::string_view(&ILFSTA.glyph, 1));
  nextObject();
}

bool acts(int32_t opcode) {
  switch (opcode) {
    case kOpOpen: case kOpClose: case kOpColour: case kOpLineAttribute: case kOpCharacterSize:
    case kOpMove: case kOpDraw: case kOpFill: case kOpText: case kOpMarker: case kOpObjectKind:
    case kOpPolyline: case kOpSelectTransform: case kOpDefineTransform: case kOpColourTable:
      return true;
    default: return false;
  }
}

}  // namespace

void ILFDRV(int32_t opcode) {
  if (!acts(opcode)) return;
  if (sharedStep(opcode, false)) return;
  switch (opcode) {
    case kOpOpen: open(); break;
    case kOpClose: close(); break;
    case kOpLineAttribute:
      if (PLTPAR.lineAttribute >= 1) ILFSTA.lineStyle = PLTPAR.lineAttribute;
      break;
    case kOpCharacterSize: characterSize(PLTPAR.characterSize); break;
    case kOpMove: moveOrDraw(false); break;
    case kOpDraw: moveOrDraw(true); break;
    case kOpFill: fill(); break;
    case kOpText: text(); break;
    case kOpMarker: marker(); break;
    case kOpPolyline: polyline(); break;
    default: break;  // 10, 25, 31, 33, 35: the shared step is all
  }
}

void ILFDSH(int32_t unit, float x1, float y1, float x2, float y2, int32_t object, float dash) {
  const float dx = x2 - x1;
  const float dy = y2 - y1;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (!(length >= dash) || !(dash > 0.0f) || length > kLongestDashedLine) {
    segment(unit, x1, y1, x2, y2, object, true);
    return;
  }
  const float ux = dx * dash / length;
  const float uy = dy * dash / length;
  float sx = x1;
  float sy = y1;
  float ex = x1 + ux;
  float ey = y1 + uy;
  float t = dash;
  for (;;) {
    segment(unit, sx, sy, ex, ey, object, true);
    t += dash;  // the gap
    if (t > length) return;
    sx = ex + ux;
    sy = ey + uy;
    t += dash;
    if (t > length) {
      segment(unit, sx, sy, x2, y2, object, true);
      return;
    }
    ex = sx + ux;
    ey = sy + uy;
  }
}

}  // namespace kvr
