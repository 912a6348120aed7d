#include "plot/neutral/plfdrv.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "command/cmdlin.h"
#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "plot/pltdrv.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "runtime/codtxt.h"
#include "runtime/pltdev.h"
#include "runtime/pltopt.h"
#include "runtime/pltpar.h"

namespace kvr {
namespace {

// Record codes.
constexpr int32_t kRecHead = 1;
constexpr int32_t kRecMove = 2;
constexpr int32_t kRecDraw = 3;
constexpr int32_t kRecLine = 4;
constexpr int32_t kRecPen = 5;
constexpr int32_t kRecText = 6;
constexpr int32_t kRecFill = 7;
constexpr int32_t kRecEnd = 8;
constexpr int32_t kRecObject = 10;
constexpr int32_t kRecMarker = 11;
constexpr int32_t kRecFrame = 13;
constexpr int32_t kRecSize = 14;
constexpr int32_t kRecSizeNumber = 15;

constexpr float kGrid = 9999.0f;     // the device grid, 0 to 9999 on both axes
constexpr float kCentre = 5000.0f;   // the page offsets
constexpr int32_t kMaxColours = 31;  // the most colours the file can ask for
constexpr int32_t kFillPoints = 9;   // the most points of a fill record
constexpr int32_t kTitleCodes = 80;  // the command-line record
constexpr int32_t kTextRecord = 80;  // codes per text record
constexpr int32_t kSizes = 4;        // character sizes 1 to 4

// The pen of a colour: the colour itself, or for a negative one |c| + 8 (draws, fills and
// texts) or |c| (markers).
enum class PenUse { Stroke, Marker };

void write(const std::string& record) { io::writeRecord(PLTPAR.outUnit, record); }

void header(int32_t code, int32_t follow) { write(fmt::editI(code, 2) + fmt::editI(follow, 2)); }

std::string i4(int32_t v) { return fmt::editI(v, 4); }

// The device point of the picture point X, Y after the selected transformation.
void devicePoint(float x, float y, int32_t& dx, int32_t& dy) {
  transformPoint(x, y);
  dx = deviceX(x);
  dy = deviceY(y);
}

void penRecord(PenUse use) {
  const int64_t c = PLTDEV.currentColour;  // 64 bits: the magnitude of any colour fits
  int64_t pen = c;
  if (c < 0) pen = use == PenUse::Marker ? -c : -c + 8;
  const int64_t table = PLTDEV.colourTableCount;
  if (pen == PLFSTA.lastPen && table == PLFSTA.lastTable) return;
  header(kRecPen, 1);
  write(fmt::editI(pen, 2) + fmt::editI(-table, 2));
  PLFSTA.lastPen = pen;
  PLFSTA.lastTable = table;
}

// The move to the current point before a draw: written when it is always due, or when its
// device point differs from the last one written.
void pendingMove() {
  if (PLFSTA.moveState == 0) return;
  int32_t dx = 0;
  int32_t dy = 0;
  devicePoint(PLFSTA.currentX, PLFSTA.currentY, dx, dy);
  if (PLFSTA.moveState == -1 || dx != PLFSTA.lastX || dy != PLFSTA.lastY) {
    header(kRecMove, 1);
    write(i4(dx) + i4(dy));
  }
  PLFSTA.moveState = 0;
}

// The move record to the current point, shifted by DX and DY picture units, that comes
// before a text or a marker.
void moveBefore(float shiftX, float shiftY) {
  float x = PLFSTA.currentX;
  float y = PLFSTA.currentY;
  transformPoint(x, y);
  header(kRecMove, 1);
  write(i4(deviceX(x + shiftX)) + i4(deviceY(y + shiftY)));
}

// A second opcode 1 gives back what the open job took over, writing nothing.
void abandonJob() { closeDriver(true); }

void open() {
  endOpenJob();
  const int32_t option = PLTOPT.word(kOptColourCount);
  const int32_t colours = option >= 1 ? std::min(option, kMaxColours) : PLTDEV.colourCount;
  header(kRecHead, 2);
  write(i4(2) + i4(6) + i4(1) + i4(colours));
  std::array<char, kTitleCodes> title{};
  CODTXT(CMDLIN.lineCodes, kTitleCodes, FText(title.data(), kTitleCodes));
  write(std::string(title.data(), title.size()));

  openDriver({"Plotter", DeviceRow::NeutralPlotFile, colours, 0, true});
  const float raise = 2.0f * PLXFRM.cellHeight;
  mapPage(PLTDEV.window, raise, kGrid, kGrid, kCentre, kCentre);
  PLFSTA = {};
  if (PLXFRM.pageScale > 0.0f) PLFSTA.scale = PLXFRM.pageScale;

  const float factor = static_cast<float>(PLTOPT.word(kOptSizeFactor));
  PLTDEV.cellWidth *= factor;
  PLTDEV.cellHeight *= factor;

  const PlotWindow& w = PLTDEV.window;
  header(kRecFrame, 1);
  write(i4(deviceX(w.xMin)) + i4(deviceX(w.xMax)) + i4(deviceY(w.yMin)) +
        i4(deviceY(w.yMax + raise)));
  for (int32_t k = 1; k <= kSizes; ++k) {
    header(kRecSize, 1);
    write(fmt::editI(k, 2) + i4(PLTOPT.word(kOptWidths + k - 1)) +
          i4(PLTOPT.word(kOptHeights + k - 1)) + fmt::editI(PLTOPT.word(kOptThirdRow + k - 1), 2));
  }
  sharedStep(kOpColourTable, false);  // the table number of PLTPAR, 1
  jobOpened(abandonJob);
}

void lineAttribute() {
  const int32_t v = PLTPAR.lineAttribute;
  if (v < 1 || v == PLFSTA.lastLine) return;
  header(kRecLine, 1);
  write(fmt::editI(v, 2));
  PLFSTA.lastLine = v;
}

void characterSize() {
  const int32_t k = PLTPAR.characterSize;
  if (k == PLFSTA.lastSize) return;
  header(kRecSizeNumber, 1);
  write(fmt::editI(k, 2));
  PLTDEV.cellWidth = static_cast<float>(PLTOPT.word(kOptWidths + k - 1)) / PLFSTA.scale;
  PLTDEV.cellHeight = static_cast<float>(PLTOPT.word(kOptHeights + k - 1)) / PLFSTA.scale;
  PLFSTA.lastSize = k;
}

void draw() {
  penRecord(PenUse::Stroke);
  pendingMove();
  PLFSTA.currentX = PLTPAR.pointX;
  PLFSTA.currentY = PLTPAR.pointY;
  header(kRecDraw, 1);
  transformPoint(PLTPAR.pointX, PLTPAR.pointY);
  PLFSTA.lastX = deviceX(PLTPAR.pointX);
  PLFSTA.lastY = deviceY(PLTPAR.pointY);
  write(i4(PLFSTA.lastX) + i4(PLFSTA.lastY));
}

void fill() {
  PLTDEV.currentColour = PLTPAR.colour;
  penRecord(PenUse::Stroke);
  const int32_t n = std::min(PLTPAR.pointCount, kFillPoints);
  PLTPAR.pointCount = n;
  std::string xs;
  std::string ys;
  for (int32_t i = 0; i < n; ++i) {
    float& x = PLTPAR.x[static_cast<size_t>(i)];
    float& y = PLTPAR.y[static_cast<size_t>(i)];
    transformPoint(x, y);
    xs += i4(deviceX(x));
    ys += i4(deviceY(y));
  }
  header(kRecFill, 2);
  write(i4(n));
  write(xs + ys);
  PLFSTA.moveState = -1;
}

void text() {
  penRecord(PenUse::Stroke);
  moveBefore(PLTPAR.textOffsetX * PLTDEV.cellWidth, PLTPAR.textOffsetY * PLTDEV.cellHeight);
  const int32_t n = std::min(PLTPAR.textCount, PltPar::kMaxText);
  header(kRecText, 2);
  write(fmt::editI(n, 2));  // a length above 99 shows as "**"
  std::string record;
  for (int32_t k = 0; k < n; ++k) {
    record += charOf(PLTPAR.text[static_cast<size_t>(k)]);
    if (static_cast<int32_t>(record.size()) == kTextRecord) {
      write(record);
      record.clear();
    }
  }
  if (!record.empty() || n == 0) write(record);
  PLFSTA.moveState = -1;
}

void marker() {
  penRecord(PenUse::Marker);
  moveBefore(0.0f, 0.0f);
  header(kRecMarker, 1);
  write(fmt::editI(PLTPAR.marker, 2));
  PLFSTA.moveState = -1;
}

}  // namespace

void PLFDRV(int32_t opcode) {
  // A size number outside the four of the size tables would index past them: such a
  // record changes nothing, the size number included.
  if (opcode == kOpCharacterSize && (PLTPAR.characterSize < 1 || PLTPAR.characterSize > kSizes)) {
    return;
  }
  if (sharedStep(opcode, false)) return;
  switch (opcode) {
    case kOpOpen: open(); break;
    case kOpClose:
      header(kRecEnd, 1);
      closeDriver(true);
      break;
    case kOpLineAttribute: lineAttribute(); break;
    case kOpCharacterSize: characterSize(); break;
    case kOpMove:
      PLFSTA.currentX = PLTPAR.pointX;
      PLFSTA.currentY = PLTPAR.pointY;
      if (PLFSTA.moveState == 0) PLFSTA.moveState = 1;
      break;
    case kOpDraw: draw(); break;
    case kOpFill: fill(); break;
    case kOpText: text(); break;
    case kOpMarker: marker(); break;
    case kOpObjectKind:
      header(kRecObject, 1);
      write(fmt::editI(PLTPAR.objectKind, 2));
      break;
    default: break;
  }
}

}  // namespace kvr
