#include "plot/tiff/tifras.h"

#include "plot/raster/raseng.h"
#include "plot/tiff/tifsta.h"
#include "plot/tiff/tifwrite.h"
#include "runtime/pltdev.h"

namespace kvr {
namespace {

void sink(const RasterEngine&, int32_t x, int32_t y, int32_t value) { TIFPIX(x, y, value); }

// The context the members draw on, with the TIFF sink and its marker rule.
RasterEngine& engine() {
  RasterEngine& e = TIFSTA.engine;
  e.sink = sink;
  e.wholeBoxMarkers = true;
  return e;
}

}  // namespace

void TIFPIX(int32_t x, int32_t y, int32_t value) {
  const int32_t row = TIFSTA.height - y + 1;
  if (x < 1 || x > TIFSTA.width || row < 1 || row > TIFSTA.height) return;
  TifPixel(x, row, static_cast<uint16_t>(value), static_cast<uint16_t>(TIFSTA.secondValue));
}

void TIFLIN(float x1, float y1, float x2, float y2) { RASLIN(engine(), x1, y1, x2, y2); }

void TIFTHK(float x1, float y1, float x2, float y2, int32_t n) {
  RASTHK(engine(), x1, y1, x2, y2, n);
}

void TIFPLN(int32_t n, std::span<const float> x, std::span<const float> y, int32_t width) {
  RASPLN(engine(), n, x, y, width);
}

void TIFFIL(int32_t n, std::span<const float> x, std::span<const float> y, int32_t value) {
  RASFIL(engine(), n, x, y, value);
}

void TIFTXT(float x, float y, std::string_view text, int32_t m, int32_t length) {
  RASTXT(engine(), x, y, text, m, length);
}

std::string_view TIFGLY(int32_t code) { return RASGLY(engine(), code); }

void TIFSYM(float x, float y, int32_t k, float d, int32_t width) {
  RASSYM(engine(), x, y, k, d, width);
}

void TIFCSZ(int32_t s, int32_t m) { RASCSZ(engine(), s, m, PLTDEV.cellWidth, PLTDEV.cellHeight); }

}  // namespace kvr
