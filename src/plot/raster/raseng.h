// The raster engine: the software rasteriser of the raster drivers. It turns the drawing
// primitives of the plot protocol (one-pixel lines, thick lines, polylines, filled
// polygons, dot-matrix text, marker symbols) into pixels, and stores every pixel through
// the pixel sink of its context: the TIFF driver's sink hands them to the TIFF writer, a
// printer driver's to its page bitmap.
//
// The engine works in device units and maps them to pixels itself: device point (x, y)
// lies in pixel column X = trunc(x sx) + 1 and at pixel height Y = trunc(y sy) + 1,
// X counted from the left, Y from the bottom.
//
// Each driver owns one context (RasterEngine): its scales, the pixels its sink keeps,
// the glyph cell, the colours, the marker rule and the work arrays of the fill, which
// every fill reuses: no drawing call allocates. The clip window of thick lines and of the
// whole-box marker rule is the window of the defined transformation (PLTDEV) mapped
// through the page mapping (PLXFRM).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace kvr {

struct RasterEngine;

// Stores one pixel: column X, height Y, colour value.
using PixelSink = void (*)(const RasterEngine& engine, int32_t x, int32_t y, int32_t colour);

// The fill's work arrays: the vertices in pixels, two endpoint entries per edge (vertex
// and partner), their sorted order, the active entries and the crossings of a row.
struct RasterFill {
  static constexpr int32_t kVertices = 24;
  static constexpr int32_t kEnds = 40;
  static constexpr int32_t kActive = 20;
  static constexpr int32_t kCrossings = 24;

  std::array<int64_t, kVertices> x{};
  std::array<int64_t, kVertices> y{};
  std::array<int32_t, kEnds> vertex{};
  std::array<int32_t, kEnds> partner{};
  std::array<int32_t, kEnds> order{};     // entries by ascending Y
  std::array<int32_t, kEnds> position{};  // place of each entry in the order
  std::array<int32_t, kActive> active{};
  std::array<int64_t, kCrossings> crossing{};
};

struct RasterEngine {
  float sx = 0.0f;  // pixels per device unit across
  float sy = 0.0f;  // pixels per device unit up
  // The pixels the sink keeps: columns 1..columns, heights lowest..highest. The engine
  // spends no work on pixels outside them; the sink still drops any that come.
  int32_t columns = 0;
  int32_t lowest = 1;
  int32_t highest = 0;
  int32_t cw = 0;  // glyph cell width and height in pixels
  int32_t ch = 0;
  int32_t gx = 0;  // gap after a character, and between lines
  int32_t gy = 0;
  int32_t sizeCode = 0;  // character size of the last RASCSZ
  int32_t textColour = 0;
  int32_t lineColour = 0;
  // Markers are drawn only when their whole box lies inside the clip window.
  bool wholeBoxMarkers = false;
  PixelSink sink = nullptr;
  RasterFill fill;
  // The copies RASTHK has drawn so far: the work a thick line costs.
  int64_t thickCopies = 0;
};

// Marker numbers.
inline constexpr int32_t kMarkerPlus = 1;
inline constexpr int32_t kMarkerPlusCross = 2;
inline constexpr int32_t kMarkerCross = 3;
inline constexpr int32_t kMarkerSquare = 4;
inline constexpr int32_t kMarkerDiamond = 5;
inline constexpr int32_t kMarkerCrossSquare = 6;
inline constexpr int32_t kMarkerTriangle = 7;
inline constexpr int32_t kMarkerDash = 8;

// One-pixel line from (X1, Y1) to (X2, Y2) in the line colour by Bresenham's rule, both
// ends included; nothing when both ends fall on one pixel or an end is not a number. In the x-major case an error of
// exactly 0 steps in y.
void RASLIN(RasterEngine& e, float x1, float y1, float x2, float y2);

// N copies of the segment on each side (not the segment itself), copy i moved by i
// device units: up and down for a horizontal segment, left and right for a vertical one,
// diagonally for a sloped one; copy ends that would leave the clip window are pressed
// onto its edge. Nothing for N below 1, nor for a point that is not a number. The segment
// is first cut to the clip window widened by N (an infinite end is the farthest real);
// each copy is drawn by its part on the kept pixels, a copy with the pixels of the one
// before is not drawn again, and copies that cannot reach the kept pixels cost nothing:
// a record costs what its visible copies cost, whatever its far end.
void RASTHK(RasterEngine& e, float x1, float y1, float x2, float y2, int32_t n);

// Polyline through points 1..N of X and Y: the one-pixel segments, then, with WIDTH of 1
// or more, their thick copies. Nothing for fewer than 2 points.
void RASPLN(RasterEngine& e, int32_t n, std::span<const float> x, std::span<const float> y,
            int32_t width);

// Filled polygon of points 1..N (at most 20) in COLOUR, by scan lines: the edges sorted
// by the height of their ends, every row between two events painted from each active
// edge's crossing to the next (from the first to the third of exactly three crossings).
// A horizontal edge takes part in no row. Nothing for fewer than 3 points.
void RASFIL(RasterEngine& e, int32_t n, std::span<const float> x, std::span<const float> y,
            int32_t colour);

// Paints row ROW (a pixel height) of a fill from the first COUNT crossings of the work
// arrays, in any order: sorted, exactly three paint from the first to the third, any
// other count the spans first-second, third-fourth and so on, an odd last dropped; a span
// paints its columns inclusive, nothing when it runs backwards. (The active edges of a
// closed polygon cross a row an even number of times; three come only from a caller.)
void paintFillRow(RasterEngine& e, int32_t count, int64_t row, int32_t colour);

// Dot-matrix text: characters 1..LENGTH of TEXT in the text colour, the lower-left corner
// of the first cell at device point (X, Y); every dot a diagonal of M pixels; the cell
// advances by cw + gx pixels a character.
void RASTXT(RasterEngine& e, float x, float y, std::string_view text, int32_t m, int32_t length);

// The glyph of character CODE (60 characters "0"/"1"): codes 33..127 glyph code - 31,
// any other glyph 1 (blank); the large font for size code 1, the small one otherwise.
std::string_view RASGLY(const RasterEngine& e, int32_t code);

// Marker K around device point (X, Y), half-size D, as polylines of WIDTH: 1 plus, 2 plus
// and cross, 3 cross, 4 square, 5 diamond, 6 cross and square, 7 triangle, 8 dash, any
// other plus, cross and square.
void RASSYM(RasterEngine& e, float x, float y, int32_t k, float d, int32_t width);

// The glyph cell of size code S with multiplier M: 5M wide, 12M high for sizes 1 and 3
// and 7M for any other, gaps 2M; S goes into the engine and into the character size
// number of PLTDEV. WIDTH and HEIGHT receive the cell with its gaps in picture units
// (pixels / scale / page scale), 0.0 while the engine has no scale.
void RASCSZ(RasterEngine& e, int32_t s, int32_t m, float& width, float& height);

}  // namespace kvr
