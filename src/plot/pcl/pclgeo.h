// The page geometry of the PCL printer driver: the page size and print offsets in
// inches, from the defaults, TL_RASGEOM or the model's settings, turned into the page
// in device units and in pixels.
#pragma once

#include <cstdint>
#include <string_view>

namespace kvr {

// The page of the current model: 10 x 7.5 inches in landscape, 7.5 x 7.5 in portrait,
// offsets of 128 and 192 decipoints, unless PCLGEO says otherwise. Sets the offsets in
// decipoints, Wpix and Hpix (cut down to a multiple of 8, at most 10 and 8 inches of
// DPI), the output rows (8 inches in landscape, Hpix in portrait), Wdev and Hdev (300
// device units an inch) and the engine's pixel scales, and clears the bitmap with
// BACKGROUNDBYTE. With DEBUG the orientation, page size and offsets go to unit 6.
void PCLREP(bool debug, int32_t dpi, int32_t backgroundByte);

// The page size and offsets from outside, each taken only when it is above 0: the first
// word of TL_RASGEOM when it is set and does not begin with a blank ("WxH+X+Y", inches;
// the settings are then not read), else the model's settings PageSizeUnits ("inch",
// "mm", "point"), PageSize ("WxH") and PageMargins ("X+Y"), in those units.
void PCLGEO(float& width, float& height, float& xOffset, float& yOffset);

// The readers of the three forms. Each needs at least 3 characters; STATUS comes back 0
// when the word parses and 1 when it does not, the values then untouched. Digits
// accumulate with saturation at the integer range; "." starts the decimals and every
// later character of the number counts as a decimal place.
//
// PCLGST: "W x H + X + Y": the part before the first "+" must contain "X" or "x" unless
// it is empty (then only offsets are read); only digits count in W and H; in the offsets
// every character other than "+" and "." counts as a digit (its code minus that of "0").
// Values not given come back 0.
void PCLGST(std::string_view word, float& width, float& height, float& xOffset, float& yOffset,
            int32_t& status);

// PCLSIZ: "W X H" (upper case): every character other than "X" and "." counts as a digit.
void PCLSIZ(std::string_view word, float& width, float& height, int32_t& status);

// PCLMRG: "X + Y" with the "+" at position 2 or later: the two texts read as reals,
// each divided by UNIT when it is not 0.
void PCLMRG(std::string_view word, float unit, float& xOffset, float& yOffset, int32_t& status);

}  // namespace kvr
