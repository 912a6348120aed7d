// The CGM driver, device 10: writes a plot job as one Computer Graphics Metafile, one
// picture per page, in the binary or the character encoding (setting "Encoding" of
// section "CGM", else TL_CGM_ENCODING; a value beginning with "c" in either case chooses
// the character encoding). Pictures use integer VDC from 0 to 32767 on both axes, the
// centre of the picture window (its top raised by two character heights) at 16383.5;
// colours are indexes into the colour table that every picture starts with (the CGM
// index of palette entry i is its device colour number minus 1). Attributes are cached
// by the encoder and written only when changed, just before the next primitive that uses
// them. The element encoder (cgmenc.h) turns the elements into bytes and sends them
// through the raster byte file.
//
// Settings of section "CGM": Debug (else TL_DEBUG), Encoding, StripBorder, FontSizeScale,
// SmallFontSizeScale, TitleFontSizeScale, SymbolScale, Background ("black" in any case as
// its first word for a black background).
//
// CGMSTA keeps the driver's state from call to call. Its drawing switch is off at
// process start, is set by every opcode 25 and outlives jobs.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "plot/cgm/cgmenc.h"
#include "plot/plrgb.h"
#include "runtime/ftext.h"
#include "runtime/pltctb.h"

namespace kvr {

struct CgmSta {
  bool open = false;                 // between opcode 1 and opcode 2
  int32_t encoding = kCgmNoEncoding;  // chosen at job start
  bool debug = false;                // progress lines on unit 6 at job start
  int32_t stripKind = -1;            // object kind whose lines, fills and texts are dropped
  bool drawing = false;              // lines, fills, texts and polylines are written
  float fontScale = 1.0f;            // FontSizeScale
  float smallFontScale = 1.0f;       // SmallFontSizeScale
  float titleFontScale = 1.0f;       // TitleFontSizeScale
  float symbolScale = 1.0f;          // SymbolScale
  int32_t colourMaximum = 255;       // largest colour component: 255 binary, 63 character
  std::array<int32_t, 3> background{};  // BACKGROUND COLOUR, direct
  float x = 0.0f;                    // current point, VDC
  float y = 0.0f;

  // The palette index of each device colour number 1..256, set by the colour table of
  // every picture.
  std::array<int32_t, PlRgb::kEntries> paletteIndex{};

  // The colour state before the job, given back at its close.
  std::array<int32_t, PltCtb::kTables + 1> savedCounts{};
  decltype(PltCtb::shades) savedShades{};
  PlRgb savedPalette;
  std::array<int32_t, PlRgb::kEntries> savedPaletteIndex{};
};

inline CgmSta CGMSTA;

// The driver entry: the shared step of the plot protocol, then opcodes 1, 2, 8, 10, 11,
// 12, 14, 15, 16, 18, 19, 25, 29, 31, 33 and 35 (operands in PLTPAR); every other value
// returns at once.
void CGMDRV(int32_t opcode);

// The setting KEY of section "CGM" into VALUE (RESGET with application "Quorin", program
// "*"); STATUS below 1 when the key is not set. ISSWITCH for the on/off keys.
void CGMSET(FText key, bool isSwitch, FText value, int32_t& status);

// Trades the plot file for the metafile's byte stream: closes the plot unit deleting its
// file, sets the encoder's ENCODING and its defaults, and opens the plot file's name as
// the raw stream.
void CGMOPN(int32_t encoding);

// Character size SIZE: 1 and 3 the normal size (1.5 % of the VDC extent x FONTSCALE),
// 2 and 4 the small size (1.125 % x SMALLSCALE), -3 the title size (1.5 % x TITLESCALE).
// The height h becomes the CHARACTER HEIGHT (its VDC integer), WIDTH := 0.85 h and
// HEIGHT := 1.3 h in picture units, and SIZE the character size number. Any other size
// changes nothing.
void CGMCSZ(int32_t size, float& width, float& height, float fontScale, float smallScale,
            float titleScale);

// Marker MARKER at X, Y (VDC reals) with half size S, as one to three POLYLINE elements:
// 1 plus, 2 plus and cross, 3 cross, 4 square, 5 diamond, 6 cross and square, 7 triangle,
// 8 dash, any other plus, cross and square.
void CGMSYM(float x, float y, int32_t marker, float s);

// The changed line attributes, then one POLYLINE through the first N integer points.
void CGMPLN(int32_t n, std::span<const float> x, std::span<const float> y,
            std::span<const int32_t> ix, std::span<const int32_t> iy);

}  // namespace kvr
