// The page output of the PCL printer driver: the page bitmap sent as one complete PCL
// job, from the printer reset to the end of raster graphics, through the raw byte stream;
// a file of several pages is the concatenation of their jobs. Numbers are written with a
// fixed count of digits and leading zeros (in full when they have more digits).
//
// Printer rows: in portrait printer row k is bitmap row k, its pixels columns 1..Wpix;
// in landscape the page is turned: printer row k is bitmap column Wpix - k + 1, its pixels
// bitmap rows 1..output rows from the top. The leftmost pixel goes into the most
// significant bit of the first byte. One row (one plane row) is assembled at a time.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// The job of the current model (PCLLJR, PCLPJJ or PCLDJJ); with CLOSE the raw stream is
// closed afterwards.
void PCLPAG(bool close, bool debug, int32_t dpi);

// Laserjet job: reset, cursor, resolution, raster rows (ESC *b nnn W and the row's bytes:
// in portrait assembled bit by bit from the bands, in landscape the band bytes of the
// column as they stand), end of raster, and a reset as form feed when it is on.
void PCLLJR(bool debug, int32_t dpi);

// Paintjet job: the Quality and Transparency settings of section "Paintjet", reset,
// resolution, planes (3 with dithering, 4 with the palette at 90 dpi, whose 16 entries are
// sent as printer levels), cursor, raster width, compression when run-length is on, the
// plane rows, end of raster and compression off, the form feed.
void PCLPJJ(bool debug, int32_t dpi);

// Deskjet job: the Depletion (1..3, else 2), Shingle (0..2, else 0), Quality and
// Transparency settings of section "Deskjet", reset, resolution, three planes, cursor,
// raster width, depletion and shingling, quality, transparency (only with Shingle 0),
// the plane rows, end of raster and compression off, the form feed.
void PCLDJJ(bool debug, int32_t dpi);

// Compresses DATA by PCL method 1 into PAIRS: each run of up to 256 equal bytes becomes
// the pair (run - 1, byte). LENGTH receives the bytes of pairs written; PAIRS holds up to
// twice the bytes of DATA, and nothing is written past its end.
void PCLRLE(std::span<const uint8_t> data, std::span<uint8_t> pairs, int32_t& length);

// Writes one plane record, ESC "*b" nnn LETTER and the bytes of DATA (compressed with
// RUNLENGTH, the count then that of the pairs).
void writePlaneRecord(char letter, std::span<const uint8_t> data, bool runLength);

}  // namespace kvr
