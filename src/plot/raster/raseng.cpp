#include "plot/raster/raseng.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <span>
#include <string_view>
#include <utility>

#include "platform/fmtedit.h"
#include "plot/pltdrv.h"
#include "plot/plxfrm.h"
#include "plot/raster/rasfnt.h"
#include "runtime/pltdev.h"

namespace kvr {
namespace {

// Products of two pixel distances need more than 64 bits: a pixel coordinate is any
// int32 value, so a distance takes 33 bits and a doubled product 67.
using Wide = __int128;

constexpr int32_t kGlyphColumns = 5;
constexpr int32_t kGlyphRows = 12;
constexpr int32_t kLargeSize = 1;
constexpr int32_t kTallSize = 3;
constexpr int32_t kFirstDrawn = 33;
constexpr int32_t kLastDrawn = 127;
constexpr int32_t kMaxFillPoints = 20;

int64_t column(const RasterEngine& e, float x) { return int64_t{intOf(x * e.sx)} + 1; }
int64_t height(const RasterEngine& e, float y) { return int64_t{intOf(y * e.sy)} + 1; }

void plot(const RasterEngine& e, int64_t x, int64_t y, int32_t colour) {
  if (x < 1 || x > e.columns || y < e.lowest || y > e.highest || e.sink == nullptr) return;
  e.sink(e, static_cast<int32_t>(x), static_cast<int32_t>(y), colour);
}

// The minor-axis offset of Bresenham's walk after K major steps of a line rising A over
// a run of B (0 <= A <= B, B > 0): floor((2AK + B) / 2B), an error of exactly 0 stepping.
int64_t offsetAfter(int64_t k, int64_t a, int64_t b) {
  return static_cast<int64_t>((Wide{2} * a * k + b) / (Wide{2} * b));
}

// The error word of the walk before major step K + 1, with offset O after step K.
int64_t errorBefore(int64_t k, int64_t o, int64_t a, int64_t b) {
  return static_cast<int64_t>(Wide{2} * a * (k + 1) - b - Wide{2} * b * o);
}

// The clip window: the window of the defined transformation on the page.
struct Clip {
  float xa, xb, ya, yb;
};

Clip clipWindow() {
  const PlotWindow& w = PLTDEV.transformWindow;
  return {pageX(w.xMin), pageX(w.xMax), pageY(w.yMin), pageY(w.yMax)};
}

// One side of the copies of a thick line: the direction each axis moves in (-1, 0, +1).
struct Side {
  int mx, my;
};

// A thick line's segment in device units.
struct Segment {
  double x1, y1, x2, y2;
};

float moved(float v, int direction, float d, float low, float high) {
  if (direction < 0) return std::max(v - d, low);
  if (direction > 0) return std::min(v + d, high);
  return v;
}

bool pressed(float v, int direction, float d, float low, float high) {
  if (direction < 0) return v - d <= low;
  if (direction > 0) return v + d >= high;
  return true;
}

// A coordinate off the page without end: the farthest one a real holds.
double finite(float v) {
  return std::clamp(static_cast<double>(v), -static_cast<double>(std::numeric_limits<float>::max()),
                    static_cast<double>(std::numeric_limits<float>::max()));
}

// Cuts S to the box [XLOW, XHIGH] x [YLOW, YHIGH] (Liang and Barsky); false when nothing
// of it lies inside.
bool clipTo(Segment& s, double xLow, double xHigh, double yLow, double yHigh) {
  const double dx = s.x2 - s.x1;
  const double dy = s.y2 - s.y1;
  double t0 = 0.0;
  double t1 = 1.0;
  auto edge = [&](double p, double q) {
    if (p == 0.0) return q >= 0.0;
    const double t = q / p;
    if (p < 0.0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
    return true;
  };
  if (!edge(-dx, s.x1 - xLow) || !edge(dx, xHigh - s.x1) || !edge(-dy, s.y1 - yLow) ||
      !edge(dy, yHigh - s.y1)) {
    return false;
  }
  const Segment whole = s;
  if (t1 < 1.0) {
    s.x2 = whole.x1 + t1 * dx;
    s.y2 = whole.y1 + t1 * dy;
  }
  if (t0 > 0.0) {
    s.x1 = whole.x1 + t0 * dx;
    s.y1 = whole.y1 + t0 * dy;
  }
  return true;
}

// The device units whose pixels the engine keeps: column trunc(x sx) + 1 lies in
// 1..columns, height trunc(y sy) + 1 in lowest..highest. Empty without a scale.
struct KeptBox {
  double xLow, xHigh, yLow, yHigh;
  bool empty;
};

KeptBox keptBox(const RasterEngine& e) {
  if (!(e.sx > 0.0f) || !(e.sy > 0.0f) || e.columns < 1 || e.highest < e.lowest) {
    return {0.0, 0.0, 0.0, 0.0, true};
  }
  const double sx = e.sx;
  const double sy = e.sy;
  return {-1.0 / sx, e.columns / sx, (e.lowest - 2.0) / sy, e.highest / sy, false};
}

// How far (device units, per axis the larger) copy C lies outside box K: 0 when it may
// reach a kept pixel.
double gapTo(const Segment& c, const KeptBox& k) {
  const double gx = std::max({k.xLow - std::max(c.x1, c.x2), std::min(c.x1, c.x2) - k.xHigh, 0.0});
  const double gy = std::max({k.yLow - std::max(c.y1, c.y2), std::min(c.y1, c.y2) - k.yHigh, 0.0});
  return std::max(gx, gy);
}

// The copies of one side of a thick line.
struct ThickSide {
  static constexpr int32_t kAllPressed = 15;

  const RasterEngine& e;
  const Clip& c;
  const KeptBox& kept;
  Side side;
  std::array<float, 4> ends;  // x1, y1, x2, y2

  std::array<float, 4> copyAt(int64_t i) const {
    const auto d = static_cast<float>(i);
    return {moved(ends[0], side.mx, d, c.xa, c.xb), moved(ends[1], side.my, d, c.ya, c.yb),
            moved(ends[2], side.mx, d, c.xa, c.xb), moved(ends[3], side.my, d, c.ya, c.yb)};
  }

  // One bit a coordinate of copy I pressed onto the window (or not moving): x1, y1, x2,
  // y2 from the lowest bit. Once pressed, a coordinate stays.
  int32_t pressedState(int64_t i) const {
    const auto d = static_cast<float>(i);
    return (pressed(ends[0], side.mx, d, c.xa, c.xb) ? 1 : 0) |
           (pressed(ends[1], side.my, d, c.ya, c.yb) ? 2 : 0) |
           (pressed(ends[2], side.mx, d, c.xa, c.xb) ? 4 : 0) |
           (pressed(ends[3], side.my, d, c.ya, c.yb) ? 8 : 0);
  }

  // The pixels of the ends of COPY's part on the kept pixels; false when it has none.
  bool shown(const std::array<float, 4>& copy, std::array<int64_t, 4>& pixels) const {
    Segment part{copy[0], copy[1], copy[2], copy[3]};
    if (!clipTo(part, kept.xLow, kept.xHigh, kept.yLow, kept.yHigh)) return false;
    pixels = {column(e, static_cast<float>(part.x1)), height(e, static_cast<float>(part.y1)),
              column(e, static_cast<float>(part.x2)), height(e, static_cast<float>(part.y2))};
    return true;
  }

  bool outside(float x, float y) const {
    return x <= kept.xLow || x >= kept.xHigh || y <= kept.yLow || y >= kept.yHigh;
  }

  // How many copies after copy I show what it shows (PIXELS) while one end of the copies
  // stands still and the other, off the kept pixels, moves on one straight line: seen from
  // the still end the moving one turns one way only, so copies that show the same at both
  // ends of a run show it all through. Found by doubling steps; 0 outside such a fan.
  int64_t sameFan(int64_t i, int64_t n, const std::array<int64_t, 4>& pixels) const {
    const int32_t state = pressedState(i);
    const bool firstStill = (state & 3) == 3;
    const bool secondStill = (state & 12) == 12;
    if (firstStill == secondStill) return 0;
    const size_t far = firstStill ? 2 : 0;
    int64_t same = 0;
    for (int64_t step = 1; i + same + step <= n;) {
      const int64_t j = i + same + step;
      const std::array<float, 4> copy = copyAt(j);
      std::array<int64_t, 4> seen{};
      if (pressedState(j) == state && outside(copy[far], copy[far + 1]) && shown(copy, seen) &&
          seen == pixels) {
        same += step;
        step *= 2;
      } else if (step > 1) {
        step = 1;
      } else {
        break;
      }
    }
    return same;
  }
};

// Paints row ROW of a fill with the crossings of its active entries.
void paintRow(RasterEngine& e, int32_t activeCount, int64_t row, int32_t colour) {
  RasterFill& f = e.fill;
  for (int32_t k = 0; k < activeCount; ++k) {
    const int32_t entry = f.active[static_cast<size_t>(k)];
    const auto v1 = static_cast<size_t>(f.vertex[static_cast<size_t>(entry)]);
    const auto v2 = static_cast<size_t>(f.vertex[static_cast<size_t>(f.partner[static_cast<size_t>(entry)])]);
    const int64_t x1 = f.x[v1], y1 = f.y[v1], x2 = f.x[v2], y2 = f.y[v2];
    // An active edge always spans more than one height; this keeps a division by zero
    // out whatever the order.
    f.crossing[static_cast<size_t>(k)] =
        y2 == y1 ? x1
                 : static_cast<int64_t>((Wide{x1} * (y2 - row) + Wide{x2} * (row - y1)) / (y2 - y1));
  }
  paintFillRow(e, activeCount, row, colour);
}

}  // namespace

void paintFillRow(RasterEngine& e, int32_t count, int64_t row, int32_t colour) {
  RasterFill& f = e.fill;
  const auto n = static_cast<size_t>(std::clamp(count, 0, RasterFill::kCrossings));
  std::sort(f.crossing.begin(), f.crossing.begin() + static_cast<std::ptrdiff_t>(n));
  auto span = [&](int64_t left, int64_t right) {
    for (int64_t x = std::max<int64_t>(left, 1); x <= std::min<int64_t>(right, e.columns); ++x) {
      plot(e, x, row, colour);
    }
  };
  if (n == 3) {
    span(f.crossing[0], f.crossing[2]);
    return;
  }
  for (size_t k = 0; k + 1 < n; k += 2) span(f.crossing[k], f.crossing[k + 1]);
}

void RASLIN(RasterEngine& e, float x1, float y1, float x2, float y2) {
  // A point that is not a number lies nowhere on the page.
  if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return;
  int64_t X1 = column(e, x1);
  int64_t Y1 = height(e, y1);
  int64_t X2 = column(e, x2);
  int64_t Y2 = height(e, y2);
  if (X1 > X2) {
    std::swap(X1, X2);
    std::swap(Y1, Y2);
  }
  if (X1 == X2 && Y1 == Y2) return;
  const int64_t dx = X2 - X1;
  const int64_t dy = Y2 >= Y1 ? Y2 - Y1 : Y1 - Y2;
  const int64_t step = Y2 >= Y1 ? 1 : -1;
  const int32_t colour = e.lineColour;
  plot(e, X1, Y1, colour);

  // The walk starts at the first step whose pixel can be kept and ends after the last
  // one, with the offset and error it would have reached there, so a line running far
  // outside the kept pixels costs no more than the part inside.
  if (dx >= dy) {
    const int64_t first = std::max<int64_t>(1, 1 - X1);
    const int64_t last = std::min<int64_t>(dx, int64_t{e.columns} - X1);
    if (first > last) return;
    int64_t o = offsetAfter(first - 1, dy, dx);
    int64_t err = errorBefore(first - 1, o, dy, dx);
    for (int64_t i = first; i <= last; ++i) {
      if (err < 0) {
        err += 2 * dy;
      } else {
        ++o;
        err += 2 * dy - 2 * dx;
      }
      plot(e, X1 + i, Y1 + step * o, colour);
    }
  } else {
    const int64_t first = std::max<int64_t>(1, step > 0 ? e.lowest - Y1 : Y1 - e.highest);
    const int64_t last = std::min<int64_t>(dy, step > 0 ? e.highest - Y1 : Y1 - e.lowest);
    if (first > last) return;
    int64_t o = offsetAfter(first - 1, dx, dy);
    int64_t err = errorBefore(first - 1, o, dx, dy);
    for (int64_t j = first; j <= last; ++j) {
      if (err < 0) {
        err += 2 * dx;
      } else {
        ++o;
        err += 2 * dx - 2 * dy;
      }
      plot(e, X1 + o, Y1 + step * j, colour);
    }
  }
}

void RASTHK(RasterEngine& e, float x1, float y1, float x2, float y2, int32_t n) {
  if (n < 1) return;
  // A point that is not a number lies nowhere on the page: no copy reaches it.
  if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return;
  const Clip c = clipWindow();
  std::array<Side, 2> sides{};
  if (x2 - x1 == 0.0f) {
    sides = {Side{-1, 0}, Side{1, 0}};
  } else if (y2 - y1 == 0.0f) {
    sides = {Side{0, 1}, Side{0, -1}};
  } else if ((y2 - y1) / (x2 - x1) >= 0.0f) {
    sides = {Side{-1, 1}, Side{1, -1}};
  } else {
    sides = {Side{-1, -1}, Side{1, 1}};
  }

  // No copy moves further than N: what lies beyond the window widened by N can reach it
  // only by being pressed onto its edge, so the segment is first cut to that band, and a
  // far end costs no more than one at its edge.
  const double width = n;
  Segment s{finite(x1), finite(y1), finite(x2), finite(y2)};
  if (!clipTo(s, std::min<double>(c.xa, c.xb) - width, std::max<double>(c.xa, c.xb) + width,
              std::min<double>(c.ya, c.yb) - width, std::max<double>(c.ya, c.yb) + width)) {
    return;
  }

  // A copy that shows the kept pixels what the one before showed (the same ends of its
  // part on them) is not drawn again, and copies beyond the kept pixels are stepped over
  // as many at a time as cannot reach them: every end moves one unit a copy at most.
  const KeptBox kept = keptBox(e);
  if (kept.empty) return;
  // Unless cut, the ends are the record's own.
  const std::array<float, 4> ends{static_cast<float>(s.x1), static_cast<float>(s.y1),
                                  static_cast<float>(s.x2), static_cast<float>(s.y2)};
  for (const Side side : sides) {
    const ThickSide t{e, c, kept, side, ends};
    std::array<int64_t, 4> shownBefore{};
    bool drawn = false;
    for (int64_t i = 1; i <= n;) {
      const std::array<float, 4> copy = t.copyAt(i);
      const double gap = gapTo(Segment{copy[0], copy[1], copy[2], copy[3]}, kept);
      if (gap >= 4.0) {
        // Half the gap: far out a real's spacing may add to a step.
        i += static_cast<int64_t>(gap / 2.0);
        continue;
      }
      std::array<int64_t, 4> pixels{};
      if (t.shown(copy, pixels)) {
        if (!drawn || pixels != shownBefore) {
          RASLIN(e, copy[0], copy[1], copy[2], copy[3]);
          ++e.thickCopies;
          shownBefore = pixels;
          drawn = true;
        } else {
          i += t.sameFan(i, n, pixels);
        }
      }
      const int32_t state = t.pressedState(i);
      // Every moving end pressed onto the window: the copies that follow are this one.
      if (state == ThickSide::kAllPressed) break;
      ++i;
    }
  }
}

void RASPLN(RasterEngine& e, int32_t n, std::span<const float> x, std::span<const float> y,
            int32_t width) {
  const int64_t points = std::min<int64_t>({n, static_cast<int64_t>(x.size()), static_cast<int64_t>(y.size())});
  if (points < 2) return;
  const auto last = static_cast<size_t>(points - 1);
  for (size_t i = 0; i < last; ++i) RASLIN(e, x[i], y[i], x[i + 1], y[i + 1]);
  if (width < 1) return;
  for (size_t i = 0; i < last; ++i) RASTHK(e, x[i], y[i], x[i + 1], y[i + 1], width);
}

void RASFIL(RasterEngine& e, int32_t n, std::span<const float> x, std::span<const float> y,
            int32_t colour) {
  // The work arrays hold the 20 points of a record.
  const int32_t points = static_cast<int32_t>(std::min<int64_t>(
      {n, kMaxFillPoints, static_cast<int64_t>(x.size()), static_cast<int64_t>(y.size())}));
  if (points < 3) return;
  RasterFill& f = e.fill;
  for (int32_t i = 0; i < points; ++i) {
    const auto k = static_cast<size_t>(i);
    f.x[k] = column(e, x[k]);
    f.y[k] = height(e, y[k]);
  }

  // Two endpoint entries per edge, each the other's partner; edge j closes to vertex 1.
  const int32_t ends = 2 * points;
  for (int32_t j = 0; j < points; ++j) {
    const auto a = static_cast<size_t>(2 * j);
    f.vertex[a] = j;
    f.vertex[a + 1] = (j + 1) % points;
    f.partner[a] = 2 * j + 1;
    f.partner[a + 1] = 2 * j;
  }
  // Bubble sort by the height of the vertex, swapping only a strictly greater first
  // entry, so that entries of one height keep their order.
  for (int32_t k = 0; k < ends; ++k) f.order[static_cast<size_t>(k)] = k;
  auto heightOf = [&](int32_t entry) { return f.y[static_cast<size_t>(f.vertex[static_cast<size_t>(entry)])]; };
  for (int32_t pass = 0; pass < ends - 1; ++pass) {
    for (int32_t k = 0; k + 1 < ends - pass; ++k) {
      auto& a = f.order[static_cast<size_t>(k)];
      auto& b = f.order[static_cast<size_t>(k + 1)];
      if (heightOf(a) > heightOf(b)) std::swap(a, b);
    }
  }
  for (int32_t k = 0; k < ends; ++k) f.position[static_cast<size_t>(f.order[static_cast<size_t>(k)])] = k;

  int64_t ylast = 0;
  int32_t activeCount = 0;
  for (int32_t k = 0; k < ends; ++k) {
    const int32_t entry = f.order[static_cast<size_t>(k)];
    const int64_t y0 = heightOf(entry);
    if (y0 > ylast) {
      if (activeCount > 0) {
        const int64_t from = std::max<int64_t>(ylast, e.lowest);
        const int64_t to = std::min<int64_t>(y0, e.highest);
        for (int64_t row = from; row <= to; ++row) paintRow(e, activeCount, row, colour);
      }
      ylast = y0;
    }
    const int32_t partner = f.partner[static_cast<size_t>(entry)];
    if (f.position[static_cast<size_t>(partner)] > k) {
      f.active[static_cast<size_t>(activeCount++)] = entry;
    } else {
      const auto begin = f.active.begin();
      const auto end = std::remove(begin, begin + activeCount, partner);
      activeCount = static_cast<int32_t>(end - begin);
    }
  }
}

void RASTXT(RasterEngine& e, float x, float y, std::string_view text, int32_t m, int32_t length) {
  const int64_t count = std::min<int64_t>(length, static_cast<int64_t>(text.size()));
  if (count <= 0 || m < 1) return;
  const int32_t columns = std::min((e.cw + m - 1) / m, kGlyphColumns);
  const int32_t rows = std::min((e.ch + m - 1) / m, kGlyphRows);
  int64_t x0 = column(e, x);
  const int64_t y0 = intOf(y * e.sy);
  for (int64_t c = 0; c < count; ++c) {
    const std::string_view glyph = RASGLY(e, static_cast<unsigned char>(text[static_cast<size_t>(c)]));
    for (int32_t i = 1; i <= rows; ++i) {
      for (int32_t j = 1; j <= columns; ++j) {
        const auto dot = static_cast<size_t>((i - 1) * kGlyphColumns + (j - 1));
        if (dot >= glyph.size() || glyph[dot] != '1') continue;
        const int64_t px = x0 + int64_t{j - 1} * m;
        const int64_t py = y0 + e.ch - int64_t{i - 1} * m;
        for (int32_t p = 1; p <= m; ++p) plot(e, px + p - 1, py - p + 1, e.textColour);
      }
    }
    x0 += e.cw + e.gx;
  }
}

std::string_view RASGLY(const RasterEngine& e, int32_t code) {
  const int32_t glyph = code >= kFirstDrawn && code <= kLastDrawn ? code - 31 : 1;
  const auto k = static_cast<size_t>(glyph - 1);
  return e.sizeCode == kLargeSize ? RASFNT.large[k] : RASFNT.small[k];
}

void RASSYM(RasterEngine& e, float x, float y, int32_t k, float d, int32_t width) {
  const float l = x - d;
  const float r = x + d;
  const float b = y - d;
  const float t = y + d;
  if (e.wholeBoxMarkers) {
    const Clip c = clipWindow();
    if (!(c.xa <= l && r <= c.xb && c.ya <= b && t <= c.yb)) return;
  }
  auto line = [&](std::initializer_list<float> xs, std::initializer_list<float> ys) {
    RASPLN(e, static_cast<int32_t>(xs.size()), std::span<const float>(xs.begin(), xs.size()),
           std::span<const float>(ys.begin(), ys.size()), width);
  };
  auto plus = [&] {
    line({l, r}, {y, y});
    line({x, x}, {b, t});
  };
  auto cross = [&] {
    line({l, r}, {t, b});
    line({l, r}, {b, t});
  };
  auto square = [&] { line({l, r, r, l, l}, {b, b, t, t, b}); };
  switch (k) {
    case kMarkerPlus: plus(); break;
    case kMarkerPlusCross: plus(); cross(); break;
    case kMarkerCross: cross(); break;
    case kMarkerSquare: square(); break;
    case kMarkerDiamond: line({l, x, r, x, l}, {y, b, y, t, y}); break;
    case kMarkerCrossSquare: cross(); square(); break;
    case kMarkerTriangle: line({l, r, x, l}, {b, b, t, b}); break;
    case kMarkerDash: line({l, r}, {y, y}); break;
    default: plus(); cross(); square(); break;
  }
}

void RASCSZ(RasterEngine& e, int32_t s, int32_t m, float& width, float& height) {
  e.sizeCode = s;
  PLTDEV.characterSizeBase = s;
  e.cw = 5 * m;
  e.ch = (s == kLargeSize || s == kTallSize ? 12 : 7) * m;
  e.gx = 2 * m;
  e.gy = 2 * m;
  // Without a scale (a raster that could not be made) a cell has no size in the picture.
  const bool scaled = e.sx > 0.0f && e.sy > 0.0f && PLXFRM.pageScale > 0.0f;
  width = scaled ? static_cast<float>(e.cw + e.gx) / e.sx / PLXFRM.pageScale : 0.0f;
  height = scaled ? static_cast<float>(e.ch + e.gy) / e.sy / PLXFRM.pageScale : 0.0f;
}

}  // namespace kvr
