// The PostScript driver: devices 2 (PSMONO, monochrome) and 4 (PSCOLR, colour), one
// driver body LASPLT. Opcode 1 reads the section "Postscript" of the settings, lays the
// picture out on the page and writes the prolog with its procedure sets (pssetup.cpp);
// the drawing opcodes write lines that call those procedures, in integer coordinates
// 0 to 31500 (psdraw.cpp); opcode 8 ends a page and opcode 2 the document.
//
// The driver writes to the plot unit of PLTPAR, which its caller opened; it opens and
// closes only the logo file a setting names. Before its first opcode 1 it runs on its
// load state (integer and page scale 1.0), and every line goes through the unit layer,
// which refuses a unit that is not connected.
//
// LASSTA holds the driver state; PSCSAV the colour save area: the palette, the map from
// device colour number to palette index, the colour counts and shade rows of tables 1 to
// 10 as they were before opcode 1, given back at opcode 2.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "plot/plrgb.h"
#include "runtime/ftext.h"
#include "runtime/pltctb.h"

namespace kvr {

// Device colour numbers run from 1 to 64 + 256: the PostScript colour table and its map
// back to palette indexes hold them all, so a colour map of any length stays inside.
inline constexpr int32_t kPsDeviceColours = 64 + PlRgb::kEntries;

// The last grey when none is known. Not -1: that is the colour index of shade 1, whose
// first fill would otherwise keep whatever grey was set before it.
inline constexpr int32_t kNoGrey = INT32_MIN;

struct LasSta {
  bool colour = false;           // colour output
  bool debug = false;
  bool blackBackground = false;
  int32_t textGrey = 0;          // 1 on black, 0 on white: lines and texts in monochrome
  bool transferPending = false;  // the black-background transfer is still to be written
  std::string largeFont;         // PostScript font names, trimmed
  std::string smallFont;
  std::string titleFont;
  float fontSize = 0.0f;         // points
  float smallFontSize = 0.0f;
  float titleFontSize = 0.0f;
  float symbolScale = 1.0f;
  float pageWidth = 0.0f;        // points, before any rotation
  float pageHeight = 0.0f;
  float marginX = 0.0f;
  float marginY = 0.0f;
  int32_t rotation = 0;          // 0 or 90
  float q = 1.0f;                // picture units per integer unit of the file
  float s = 1.0f;                // the page scale: points per picture unit
  int32_t pageCount = 0;
  int32_t currentSize = 0;       // the character size number in use
  int32_t pen = 0;               // device colour number of the current colour
  int32_t lastPen = -1;          // -1: none written
  int32_t lastGrey = kNoGrey;
  int32_t widthFactor = 1;       // 1 for the thinnest line
  float currentX = 0.0f;         // the current point, after the transformation
  float currentY = 0.0f;
  // PSCTAB: red, green and blue 0.0 to 1.0 of device colour numbers 1..320, and the
  // palette index each was made from.
  std::array<float, kPsDeviceColours> reds{};
  std::array<float, kPsDeviceColours> greens{};
  std::array<float, kPsDeviceColours> blues{};
  std::array<int32_t, kPsDeviceColours> paletteOf{};

  static constexpr bool isDeviceColour(int32_t n) { return n >= 1 && n <= kPsDeviceColours; }
  float& red(int32_t n) { return reds[static_cast<std::size_t>(n - 1)]; }
  float& green(int32_t n) { return greens[static_cast<std::size_t>(n - 1)]; }
  float& blue(int32_t n) { return blues[static_cast<std::size_t>(n - 1)]; }
  int32_t& palette(int32_t n) { return paletteOf[static_cast<std::size_t>(n - 1)]; }
};

inline LasSta LASSTA;

struct PsColourSave {
  bool saved = false;
  PlRgb palette;
  std::array<int32_t, kPsDeviceColours> paletteOf{};
  std::array<int32_t, PltCtb::kTables + 1> counts{};  // tables 1 to 10 are given back
  decltype(PltCtb::shades) shades{};
};

inline PsColourSave PSCSAV;

// The device entries: at opcode 1 they clear (PSMONO) or set (PSCOLR) the colour
// switch, then hand every record to LASPLT.
void PSMONO(int32_t opcode);
void PSCOLR(int32_t opcode);

// The driver body. Acts on opcodes 1, 2, 8, 10, 11, 12, 14, 15, 16, 18, 19, 25, 29, 31,
// 33 and 35; ignores every other.
void LASPLT(int32_t opcode);

// Looks KEY up in the section "Postscript" (application "Quorin", program "*"). VALUE (80
// characters) receives the value; STATUS its length, below 1 when the key is not set.
void PSSET(std::string_view key, FText value, int32_t& status);

// The page settings: "PageSizeUnits", "PageSize", "PageMargins" and "Orientation". In
// and out in inches; ORIENTATION 0 portrait, -1 landscape (also when not set).
void PSPAGE(float& width, float& height, float& marginX, float& marginY, int32_t& orientation);

// Paper size from TEXT (upper case, up to its first blank): a named size (A5 to A0,
// QUARTO, in inches whatever the unit) or a width and a height joined by "X", each
// divided by UNIT. A size of 0 keeps the one given. STATUS 1 when TEXT gave a size, else 0.
void PSPAPR(std::string_view text, float& width, float& height, float unit, int32_t& status);

// Two margins joined by "+" (after the first character): each read as a real and
// divided by UNIT; a margin of 0 keeps the one given. STATUS 1 when TEXT had the form,
// else 0.
void PSMARG(std::string_view text, float& marginX, float& marginY, float unit, int32_t& status);

// Puts the palette colour RED, GREEN, BLUE (0 to 255) into the PostScript colour table
// as device colour number N, divided by 255. A number outside 1..320 is not stored.
void PSCTAB(int32_t red, int32_t green, int32_t blue, int32_t n);

// Writes on UNIT the colour operator of R, G, B (0.0 to 1.0): a grey as "0 setgray",
// "1 setgray" or its level and " setgray", otherwise the three and " C".
void PSCOLW(int32_t unit, float r, float g, float b);

// Makes characters 1..LENGTH of TEXT a PostScript string body: "(", ")" and "\" each get
// a backslash before them. The result is cut to CAPACITY (and to TEXT's length) between
// whole escaped characters, so a cut never leaves a lone backslash; LENGTH becomes the
// new length.
void PSESC(FText text, int32_t& length, int32_t capacity);

// The name of object kind KIND for the "%%BeginObject: " lines.
std::string_view PSOBJK(int32_t kind);

}  // namespace kvr
