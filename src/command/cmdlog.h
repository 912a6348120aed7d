// The command echo and the command log. While the parse loop matches a line it writes the
// command as understood into the echo line: keywords in full with the sign before them,
// numbers as text, typed arguments as typed. ANSSET adds one answer at a time. LOGTKN
// keeps the command log, which collects the echo lines of a command and can be written to
// the journal channels; the echo lines of the second and later continuation lines of a
// command go to the spill area, named array 3 of the answer store's file, as entries of a
// length word and that many codes.
//
// The echo line is cleared at the start of every line parsed; the log and the spill word
// count at the start of every command (LOGTKN mode 0).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "runtime/codtxt.h"

namespace kvr {

struct EchoLine {
  static constexpr int32_t kCodes = 255;
  std::array<int32_t, kCodes> codes = blankLine<kCodes>();  // a code line
  int32_t length = 0;

  template <int32_t N>
  static constexpr std::array<int32_t, N> blankLine() {
    std::array<int32_t, N> line{};
    line.fill(kBlankCode);
    return line;
  }
};

inline EchoLine gEchoLine;

struct CommandLog {
  static constexpr int32_t kCodes = 2000;
  static constexpr int32_t kLineCodes = 255;
  std::array<int32_t, kCodes> codes = EchoLine::blankLine<kCodes>();       // a code line
  int32_t length = 0;
  std::array<int32_t, kLineCodes> line = EchoLine::blankLine<kLineCodes>();  // output line
  int32_t spillWords = 0;  // words stored in the spill area
};

inline CommandLog gCommandLog;

// Match kinds of the parse loop that ANSSET appends.
inline constexpr int32_t kMatchText = 1;
inline constexpr int32_t kMatchInteger = 2;
inline constexpr int32_t kMatchReal = 3;
inline constexpr int32_t kMatchKeyword = 6;
inline constexpr int32_t kMatchTyped = 7;

// LOGTKN modes (a negative mode -k inserts before the k-th token).
inline constexpr int32_t kLogReset = 0;
inline constexpr int32_t kLogAppend = 1;
inline constexpr int32_t kLogWriteBoth = 2;
inline constexpr int32_t kLogCut = 3;
inline constexpr int32_t kLogWriteLogFile = 4;
inline constexpr int32_t kLogWriteJournal = 5;
inline constexpr int32_t kLogSpill = 6;

// Appends the answer just stored in the current answer record (the answer count's) to the
// echo line ECHO of LENGTH codes (at most 255): by MATCHKIND 1 its text; 2 the command's
// last integer; 3 its last real (7 significant digits); 6 "+" or "-" by its operator and the
// keyword of its menu entry in full (keywords 334 and 337 then set the pick count to 4, 335
// and 338 to 3); 7 the token FIRST..LAST of the command line, upper-cased there first unless
// the answer's value type is 5. Other kinds add nothing. A text is cut at position 255; an
// answer of kinds 2, 3, 6 or 7 that does not fit flushes the line first: shown on the
// message unit while the echo flag is set, appended to the log, then blanked.
void ANSSET(int32_t matchKind, int32_t first, int32_t last, int32_t& length,
            std::span<int32_t> echo);

// The command log by MODE: 0 reset (log and spill area empty); 1 append positions
// FIRST..LAST of LINE after a blank; 3 cut the log after its |FIRST|-th token; -k insert
// the first token of positions FIRST..LAST before the log's k-th token, followed by a blank;
// 6 spill positions FIRST..LAST into the spill area; 2, 4 and 5 write the log and then the
// spill area to both journal channels, the log file only, or the journal file only: a log
// of up to 255 codes as one line, a longer one split into lines that end in "=" before
// position 79, each spill entry as one line. A log with fewer than |FIRST| tokens is not
// cut. STATUS 0, or 1 when an append or insert would pass 2000 codes, an insert finds no
// token to insert or no k-th token (nothing changes), or the spill area failed (M830
// naming LOGTKN). Other modes do nothing.
void LOGTKN(int32_t mode, int32_t first, int32_t last, std::span<const int32_t> line,
            int32_t& status);

}  // namespace kvr
