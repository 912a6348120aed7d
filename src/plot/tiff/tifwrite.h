// The TIFF file writer: one raster image in memory, written at the end as an
// uncompressed, big-endian baseline TIFF file (header, image data in strips, one image
// file directory with its offset data behind it). Two configurations: a palette image
// (one 8-bit sample a pixel, a 256-entry colour map, a description and a software text)
// and a grey image of two samples a pixel (value and an associated alpha sample) with
// four private tags: 65000 a value range, 65001 two reals, 65002 one real, 65003 a data
// block.
//
// Calling order: TifOpen; any number of TifPixel, TifColMap and TifText; TifSetHdr;
// TifFlush; TifClose. The rasters hold 16-bit cells of which the file gets the low byte.
// The colour map, the description and the software text persist from image to image
// until they are set again.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kvr {

// Widths and heights a TIFF SHORT can hold.
inline constexpr int32_t kTifMaxSide = 65535;
// Characters a description or software text keeps before its NUL.
inline constexpr int32_t kTifMaxText = 79;
// Bytes the private block keeps.
inline constexpr int32_t kTifMaxBlock = 80;

// Starts an image of WIDTH x HEIGHT pixels: the raster with every cell BACKGROUND, with
// TWOCHANNELS a second raster of zeros, the photometric interpretation grey with GREY
// (else palette), and the file NAME (up to its first NUL) created with mode "wb". An image
// still open is released first, writing nothing. A size outside 1..65535, a file that
// would pass 4 GiB, a raster that cannot be had or a file that cannot be created prints
// "TIFF Driver: Could not create <name>" on unit 6; only the last leaves the rasters, and
// drawing then goes on in memory without a file.
void TifOpen(const std::string& name, int32_t width, int32_t height, int32_t twoChannels,
             int32_t grey, uint16_t background);

// True while an image has its rasters (from a good TifOpen to TifClose).
bool TifImageOpen();

// Cell X, Y (from 1; Y counted from the top) := VALUE, and with two channels the second
// raster's cell := SECOND. A position outside the raster, or no raster, changes nothing.
void TifPixel(int32_t x, int32_t y, uint16_t value, uint16_t second);

// Colour-map entries FIRST .. FIRST + COUNT - 1 := (RED(i), GREEN(i), BLUE(i)) x 257, each
// cut to 16 bits, for i from 0; an entry outside 0..255 is skipped, and COUNT is held to
// the arrays.
void TifColMap(std::span<const int32_t> red, std::span<const int32_t> green,
               std::span<const int32_t> blue, int32_t first, int32_t count);

// KIND 1: TEXT up to its first NUL (at most 79 characters) becomes the description;
// KIND 2: the software text. Any other kind: the bytes of TEXT (at most 80) become the
// private block, replacing the one before.
void TifText(std::string_view text, int32_t kind);

// The private values: tag 65000 FIRST and SECOND, tag 65001 R1 and R2, tag 65002 R3.
void TifSetHdr(int16_t first, int16_t second, float r1, float r2, float r3);

// Writes the whole file; nothing without a file or without rasters.
void TifFlush();

// Closes the file and releases the rasters.
void TifClose();

}  // namespace kvr
