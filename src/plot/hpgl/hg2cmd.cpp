// The command writers of the HP-GL/2 driver that need more than the buffer: pens and
// their colours, fill shading, character size, line type and width, filled polygons and
// the page end. Each builds one command and appends it with HG2PUT.
#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/fmtedit.h"
#include "plot/hpgl/hg2buf.h"
#include "plot/hpgl/hg2drv.h"
#include "plot/plxfrm.h"
#include "runtime/pltdev.h"

namespace kvr {
namespace {

constexpr char kEsc = '\x1B';

// Character size factors in percent of the distance between the scaling points.
constexpr float kNormalWidth = 0.6f;
constexpr float kNormalHeight = 1.25f;
constexpr float kSmallWidth = 0.4f;
constexpr float kSmallHeight = 0.83f;
constexpr int32_t kTitleClass = -3;
constexpr float kPageWidth = 9999.0f;
constexpr float kPageHeight = 7070.0f;
constexpr float kCellFactor = 1.5f;  // a character cell is 1.5 characters each way

constexpr int32_t kWhiteLevel = 100;

// Three digits with leading zeros (I3.3).
std::string digits3(int32_t value) { return fmt::format1("(I3.3)", {value}); }

}  // namespace

void HG2PAG() {
  HG2PUT(std::string("SP0;") + kEsc + "E");
  HG2WRT(HG2BUF.text);
}

void HG2PC(int32_t red, int32_t green, int32_t blue, int32_t pen) {
  HG2PUT("PC" + digits3(pen) + "," + digits3(red) + "," + digits3(green) + "," +
         digits3(blue) + ";");
}

void HG2FT(int32_t colour) {
  if (colour == Hg2Sta::kNoFill) {
    HG2STA.fillColour = Hg2Sta::kNoFill;
    return;
  }
  if (colour == HG2STA.fillColour) return;
  const int32_t n = PLTDEV.colourCount;
  // Without colours (table 0 after opcode 35) the level would divide by zero.
  if (n < 1) return;
  int32_t level = 0;
  if (colour != 0) {
    level = kWhiteLevel - intOf(100.0f * static_cast<float>(colour) / static_cast<float>(n) + 0.5f);
    // A colour beyond the table gives a level below 0, which no fill type accepts.
    level = std::clamp(level, 0, kWhiteLevel);
  }
  HG2PUT("FT10," + digits3(level) + ";");
  HG2STA.fillColour = colour;
}

void HG2CSZ(int32_t sizeClass, float& width, float& height, float fontScale, float smallScale,
            float titleScale) {
  float f = 0.0f;
  float w = 0.0f;
  float t = 0.0f;
  switch (sizeClass) {
    case 1:
    case 3: f = fontScale, w = kNormalWidth, t = kNormalHeight; break;
    case 2:
    case 4: f = smallScale, w = kSmallWidth, t = kSmallHeight; break;
    case kTitleClass: f = titleScale, w = kNormalWidth, t = kNormalHeight; break;
    default: return;
  }
  w *= f;
  t *= f;
  HG2PUT("SR" + fmt::editF(w, 5, 2) + "," + fmt::editF(t, 5, 2) + ";");
  // Before the first job start no page is mapped: a scale of 0 would make the cell
  // infinite.
  const float scale = PLXFRM.pageScale > 0.0f ? PLXFRM.pageScale : 1.0f;
  width = (w / 100.0f * kPageWidth) / scale * kCellFactor;
  height = (t / 100.0f * kPageHeight) / scale * kCellFactor;
  PLTDEV.characterSizeBase = sizeClass;
}

void HG2PEN(int32_t pen) {
  if (pen == HG2BUF.pen) return;
  HG2PUT("PUSP" + digits3(pen) + ";");
  HG2BUF.pen = pen;
}

void HG2LTY(int32_t type) {
  switch (type) {
    case 2: HG2PUT("LT2,3,1;"); break;
    case 3: HG2PUT("LT3,3,1;"); break;
    default: HG2PUT("LT;"); break;
  }
}

void HG2PW(int32_t widthClass, float normal, float thick, float thickest) {
  const float width = widthClass == 1 ? thick : widthClass == 2 ? thickest : normal;
  HG2PUT("PW" + fmt::editF(width, 4, 2) + ";");
}

void HG2FIL(int32_t n, std::span<const float> x, std::span<const float> y) {
  const int64_t count = std::min<int64_t>(n, static_cast<int64_t>(std::min(x.size(), y.size())));
  if (count < 1) return;
  HG2XY(x[0], y[0], false);
  HG2PUT("PM;");
  for (int64_t i = 1; i < count; ++i) {
    HG2XY(x[static_cast<size_t>(i)], y[static_cast<size_t>(i)], true);
  }
  HG2XY(x[0], y[0], true);
  HG2PUT("PM2;FP;");
}

}  // namespace kvr
