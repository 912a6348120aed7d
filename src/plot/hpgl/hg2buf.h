// HG2BUF: the command buffer of the HP-GL drivers, and the writers that need nothing but
// it. Commands are collected into one text and written to the plot file as records of
// at most 80 characters: a command never splits across two records, and the one command
// longer than a record (a long label or page layout) makes a record of its own length.
//
// The pen plotter driver and the HP-GL/2 driver share the record: only one of them is
// open at a time, and each empties it at its job start. The writers below read nothing
// else, so both drivers use them unchanged, marker shapes included.
//
// Coordinates are device units, truncated toward zero and written in their minimal width
// ("PU4955,3600;"). A pair equal to the last pair written is not written again; writing
// a label forgets the last pair, since the label moves the pen.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kvr {

struct Hg2Buf {
  static constexpr int32_t kRecordLength = 80;
  static constexpr int32_t kNoPoint = -1;
  static constexpr int32_t kNoPen = -1;

  std::string text;                  // the commands collected for the next record
  int32_t capacity = kRecordLength;  // characters a record may hold
  int32_t unit = 0;                  // the plot unit, copied at job start; 0 writes nowhere
  int32_t lastX = kNoPoint;          // the last pair written by "PU" or "PD"
  int32_t lastY = kNoPoint;
  int32_t pen = kNoPen;              // the pen last selected with "SP"

  // 1-based position of the next free character (1: empty).
  int32_t nextPosition() const { return static_cast<int32_t>(text.size()) + 1; }
  // Characters still free; negative after a command longer than a record.
  int32_t freeCount() const { return capacity - static_cast<int32_t>(text.size()); }
  // The buffer at job start: empty, capacity 80, no last pair, no pen.
  void reset() {
    text.clear();
    capacity = kRecordLength;
    lastX = kNoPoint;
    lastY = kNoPoint;
    pen = kNoPen;
  }
};

inline Hg2Buf HG2BUF;

// Appends TEXT, a whole command, to the buffer. When it is longer than the free count,
// what the buffer holds is written first as one record (an empty record when it holds
// nothing) and the buffer starts again.
void HG2PUT(std::string_view text);

// Writes TEXT, exactly its characters (ESC and code 3 included, no line-end character of
// its own), as one record on the plot unit, then empties the buffer. The drivers pass
// the buffer's text. Without a plot unit nothing is written.
void HG2WRT(std::string_view text);

// One coordinate pair: "PD" with PENDOWN, else "PU", then x "," y ";" with X and Y
// truncated toward zero, each in its minimal width. Nothing when the pair equals the
// last pair written; otherwise it becomes the last pair.
void HG2XY(float x, float y, bool penDown);

// A coordinate list of the first N points of X and Y: the first pen up, the others pen
// down. Nothing for N of 0 or less; N is held to the points given.
void HG2PTS(int32_t n, std::span<const float> x, std::span<const float> y);

// Marker SYMBOL at X, Y with half size HALF, as coordinate lists over the box from
// x - HALF to x + HALF and y - HALF to y + HALF: 1 plus, 2 plus and cross, 3 cross, 4
// square, 5 diamond, 6 cross in a square, 7 triangle, 8 dash, any other number plus,
// cross and square.
void HG2SYM(float x, float y, int32_t symbol, float half);

// A label: "LB", the first LENGTH characters of TEXT (held to 0..its size), code 3. It
// forgets the last pair.
void HG2LBL(std::string_view text, int32_t length);

}  // namespace kvr
