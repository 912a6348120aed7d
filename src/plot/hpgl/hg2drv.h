// The HP-GL/2 driver, device 8 (plotter formats "HPGL2 Mono" and "HPGL2 Colour"): plot
// opcode records become HP-GL/2 commands in the plot file, after the escape sequences
// that set the page orientation and switch a PCL printer into HP-GL/2. Device points run
// from 0 to 9999 across and 0 to 7070 up ("SC 0,9999,0,7070,1"), the centre of the
// picture at 5000, 3600; pens are palette entries (pen 63 + i for entry i, defined with
// "PC" at every job start); character sizes are relative ("SR"). Options come from the
// settings section "HPGL2", with TL_ environment variables where a key is absent.
//
// HG2STA keeps the driver's state from call to call; the command buffer is HG2BUF.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "plot/plrgb.h"
#include "runtime/ftext.h"
#include "runtime/pltctb.h"

namespace kvr {

struct Hg2Sta {
  static constexpr int32_t kNoFill = -99;

  int32_t fillColour = kNoFill;  // the colour of the last "FT"
  float fontScale = 1.0f;        // FontSizeScale
  float smallFontScale = 1.0f;   // SmallFontSizeScale
  float titleFontScale = 1.0f;   // TitleFontSizeScale
  float symbolScale = 1.0f;      // SymbolScale
  std::array<float, 3> widths = {0.0f, 0.15f, 0.35f};  // normal, thick, thickest (mm)
  int32_t widthClass = 0;        // 0 normal, 1 thick, 2 thickest
  bool monochrome = false;       // fills shaded with "FT10"
  bool debug = false;            // progress lines on unit 6
  bool open = false;             // between opcode 1 and opcode 2
  float x = 0.0f;                // current position, device units
  float y = 0.0f;

  // The caller's colour tables and palette, taken at opcode 1, given back at opcode 2.
  decltype(PltCtb::counts) savedCounts{};
  decltype(PltCtb::shades) savedShades{};
  PlRgb savedPalette;
};

inline Hg2Sta HG2STA;

// The driver entry: acts on opcodes 1, 2, 8, 10, 11, 12, 14, 15, 16, 18, 19, 25, 29, 31,
// 33 and 35 (operands in PLTPAR), after the shared step of every device; any other value
// returns at once.
void HG2DRV(int32_t opcode);

// Looks KEY up in the settings section "HPGL2" into VALUE. ISSWITCH for the on/off keys
// (Debug, Colour, Monochrome, Acetate, AutoSwitch): a bare "-Key" on the command line
// then reads "TRUE". STATUS 1 or more when found.
void HG2SET(std::string_view key, bool isSwitch, FText value, int32_t& status);

// Empties the buffer (no last pair, no pen) and writes the initialisation: the
// orientation (ESC "&l0O" portrait, ESC "&l1O" landscape), ESC "%-1B;" unless the printer
// switches to HP-GL/2 by itself, the handshake and "IN;NP256;PW0;SP1;SC 0,9999,0,7070,1;
// PA;TR0;", and the page layout "IR...;". DEBUG writes what was chosen on unit 6.
void HG2INI(bool debug);

// Page end: "SP0;" ESC "E", and the buffer is written.
void HG2PAG();

// Pen PEN gets the colour RED, GREEN, BLUE (0..255): "PCppp,rrr,ggg,bbb;".
void HG2PC(int32_t red, int32_t green, int32_t blue, int32_t pen);

// Fill shading for colour COLOUR in monochrome: "FT10,lll;" with level 0 for colour 0,
// else 100 - trunc(100 x COLOUR / N + 0.5) held to 0..100, N the colour count. -99
// forgets the fill colour; the colour of the last "FT" writes nothing, and so does any
// colour while the colour count is below 1.
void HG2FT(int32_t colour);

// Character size class SIZECLASS: 1 and 3 normal (FONTSCALE, 0.6 wide, 1.25 high in
// percent of the page), 2 and 4 small (SMALLSCALE, 0.4 by 0.83), -3 the title
// (TITLESCALE, 0.6 by 1.25): "SR w,h;", WIDTH and HEIGHT receive the character cell in
// picture units and the class becomes the character size number. Any other class does
// nothing.
void HG2CSZ(int32_t sizeClass, float& width, float& height, float fontScale, float smallScale,
            float titleScale);

// Selects PEN ("PUSPppp;") unless it is the current pen.
void HG2PEN(int32_t pen);

// Line type TYPE: "LT2,3,1;", "LT3,3,1;", solid "LT;" for any other type.
void HG2LTY(int32_t type);

// Pen width of WIDTHCLASS in millimetres: "PWw.ww;" with THICK for 1, THICKEST for 2 and
// NORMAL for any other class.
void HG2PW(int32_t widthClass, float normal, float thick, float thickest);

// A filled polygon of the first N points: pen up to the first, "PM;", pen down through
// the others and back to the first, "PM2;FP;". Nothing for N below 1.
void HG2FIL(int32_t n, std::span<const float> x, std::span<const float> y);

}  // namespace kvr
