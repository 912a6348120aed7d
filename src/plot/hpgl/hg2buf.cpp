#include "plot/hpgl/hg2buf.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "platform/fmtedit.h"
#include "platform/unitio.h"

namespace kvr {
namespace {

constexpr char kLabelEnd = '\x03';  // ends the text of "LB"

// A corner of a marker's box: across -1 left, 0 centre, 1 right; up -1 bottom, 0 centre,
// 1 top.
struct Corner {
  int8_t across;
  int8_t up;
};

// One coordinate list of a marker.
struct Stroke {
  int32_t count;
  std::array<Corner, 5> corners;
};

enum StrokeId : int8_t { kHorizontal, kVertical, kFalling, kRising, kSquare, kDiamond, kTriangle };

constexpr std::array<Stroke, 7> kStrokes{{
    {2, {{{-1, 0}, {1, 0}}}},                              // (xl,y)(xr,y)
    {2, {{{0, -1}, {0, 1}}}},                              // (x,yb)(x,yt)
    {2, {{{-1, 1}, {1, -1}}}},                             // (xl,yt)(xr,yb)
    {2, {{{-1, -1}, {1, 1}}}},                             // (xl,yb)(xr,yt)
    {5, {{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}}}},  // square
    {5, {{{-1, 0}, {0, -1}, {1, 0}, {0, 1}, {-1, 0}}}},     // diamond
    {4, {{{-1, -1}, {1, -1}, {0, 1}, {-1, -1}}}},           // triangle
}};

// The coordinate lists of each marker, in the order they are written.
struct Shape {
  int32_t count;
  std::array<StrokeId, 5> strokes;
};

constexpr Shape kOtherShape = {5, {kHorizontal, kVertical, kFalling, kRising, kSquare}};

constexpr std::array<Shape, 8> kShapes{{
    {2, {kHorizontal, kVertical}},                      // 1 plus
    {4, {kHorizontal, kVertical, kFalling, kRising}},  // 2 plus and cross
    {2, {kFalling, kRising}},                           // 3 cross
    {1, {kSquare}},                                     // 4 square
    {1, {kDiamond}},                                    // 5 diamond
    {3, {kFalling, kRising, kSquare}},                  // 6 cross in a square
    {1, {kTriangle}},                                   // 7 triangle
    {1, {kHorizontal}},                                 // 8 dash
}};

}  // namespace

void HG2PUT(std::string_view text) {
  if (static_cast<int64_t>(text.size()) > HG2BUF.freeCount()) HG2WRT(HG2BUF.text);
  HG2BUF.text.append(text);
}

void HG2WRT(std::string_view text) {
  if (HG2BUF.unit > 0) io::writeRecord(HG2BUF.unit, text);
  HG2BUF.text.clear();
}

void HG2XY(float x, float y, bool penDown) {
  const int32_t ix = intOf(x);
  const int32_t iy = intOf(y);
  if (ix == HG2BUF.lastX && iy == HG2BUF.lastY) return;
  // Minimal width: a coordinate off the page is written whole, never as asterisks.
  std::string command = penDown ? "PD" : "PU";
  command += fmt::editI(ix, 0);
  command += ',';
  command += fmt::editI(iy, 0);
  command += ';';
  HG2PUT(command);
  HG2BUF.lastX = ix;
  HG2BUF.lastY = iy;
}

void HG2PTS(int32_t n, std::span<const float> x, std::span<const float> y) {
  const int64_t given = static_cast<int64_t>(std::min(x.size(), y.size()));
  const int64_t count = std::min<int64_t>(n, given);
  // No points: the list has no first point to start from, so nothing is written.
  if (count < 1) return;
  HG2XY(x[0], y[0], false);
  for (int64_t i = 1; i < count; ++i) {
    HG2XY(x[static_cast<size_t>(i)], y[static_cast<size_t>(i)], true);
  }
}

void HG2SYM(float x, float y, int32_t symbol, float half) {
  const Shape& shape =
      symbol >= 1 && symbol <= static_cast<int32_t>(kShapes.size()) ? kShapes[static_cast<size_t>(symbol - 1)]
                                                                   : kOtherShape;
  const std::array<float, 3> across = {x - half, x, x + half};
  const std::array<float, 3> up = {y - half, y, y + half};
  for (int32_t s = 0; s < shape.count; ++s) {
    const Stroke& stroke = kStrokes[static_cast<size_t>(shape.strokes[static_cast<size_t>(s)])];
    std::array<float, 5> xs{};
    std::array<float, 5> ys{};
    for (int32_t k = 0; k < stroke.count; ++k) {
      const Corner c = stroke.corners[static_cast<size_t>(k)];
      xs[static_cast<size_t>(k)] = across[static_cast<size_t>(c.across + 1)];
      ys[static_cast<size_t>(k)] = up[static_cast<size_t>(c.up + 1)];
    }
    HG2PTS(stroke.count, xs, ys);
  }
}

void HG2LBL(std::string_view text, int32_t length) {
  const size_t n = static_cast<size_t>(std::clamp<int64_t>(length, 0, static_cast<int64_t>(text.size())));
  std::string command = "LB";
  command.append(text.substr(0, n));
  command += kLabelEnd;
  HG2PUT(command);
  HG2BUF.lastX = Hg2Buf::kNoPoint;
  HG2BUF.lastY = Hg2Buf::kNoPoint;
}

}  // namespace kvr
