// The raster byte file: the one raw output stream of the drivers that write bytes rather
// than records (the PCL printer jobs, both CGM encodings). One stream handle serves the
// whole process; at most one raw stream is open at a time. The file is created, or
// truncated, with mode "wb", and every byte passes untranslated.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kvr {

// Opens NAME (up to its first NUL) as the raw stream, closing an open stream first so
// that none of its bytes is lost. A file that cannot be created prints "Raster Driver:
// Could not create <name>" on unit 6 and leaves no stream.
void RasOpen(const std::string& name);

// Writes the first N bytes of BYTES (at most its size) to the stream, unchanged. Nothing
// without a stream or for N of 0 or less.
void RasWrite(int32_t n, std::span<const uint8_t> bytes);

// Closes the stream; nothing without one.
void RasClose();

// Trades the plot file for a raw stream under its name: closes the plot unit (file type
// 3) deleting its file, then opens the plot file's name as the raw stream.
void RASOPN();

// Closes the plot unit (file type 3) and deletes its file; the type is no longer open.
void closePlotFileDeleting();

// The plot file's name as a byte stream opens it: the name kept in IOUNIT without its
// leading and trailing blanks, tabs and NULs.
std::string plotStreamName();

}  // namespace kvr
