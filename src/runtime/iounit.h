// IOUNIT: the I/O state of the runtime, and inside it DBPARM, the database parameters.
//
// In block order: the start-up switches and the I/O debug word; the unit slots (one per
// file-type slot, numbered from 1; file type and slot are different numbers, FILTYP maps
// one to the other); the database parameters; one open flag per file type 1 to 28; the
// plot mode word, the plot-file name and the plot-file command; channel 1's second enable
// word, which journal channel 1 needs beside its own enable word.
//
// Everything is zero, blank or "OFF" at load. The unit slots receive their default units
// from setDefaultUnitSlots, which start-up calls first; the switches, the plot mode and
// the plot-file command are set by start-up; the open flags by the file-type opener and
// closer; the plot-file name by each open of the plot file.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "runtime/ftext.h"

namespace kvr {

template <size_t N>
constexpr std::array<char, N> blankChars() {
  std::array<char, N> a{};
  a.fill(' ');
  return a;
}

// One database file slot of DBPARM: six words.
struct DbFileSlot {
  int32_t unit = 0;      // 1: unit of the file (negative: a pseudo-unit on scratch files)
  int32_t pageSize = 0;  // 2: page size in words
  int32_t word3 = 0;     // 3, 4: not read by the page layer
  int32_t word4 = 0;
  int32_t nextPage = 0;  // 5: first page never used (page count + 1)
  int32_t freeHead = 0;  // 6: first page of the free-page chain, 0 when empty
  // True when a page was handed out since words 5 and 6 were last read from or written
  // to the file's page 1: the close writes them, so that a reopening hands out no page twice.
  bool headerBehind = false;
};

// DBPARM: the database parameters. Start values come from start-up.
struct DbParm {
  int32_t formatCode = 0;        // current model-file format code
  int32_t pageFactor1 = 0;       // the model page size in words is the product of
  int32_t pageFactor2 = 0;       //   these two factors
  int32_t type18Unit = 0;        // the unit of file type 18
  int32_t pageHeaderLength = 0;  // words of a page before its first entry
  int32_t bufferSize = 0;        // words of the in-memory store's buffer
  std::array<DbFileSlot, 2> fileSlots{};  // 1 the index file, 2 the data file
  int32_t recordLength = 0;      // base record size B of the page-layer scratch files
  int32_t scratchSize1 = 0;      // scratch-area size S1 (half-buffer file)
  int32_t scratchSize2 = 0;      // scratch-area size S2 (streams)

  DbFileSlot& fileSlot(int32_t k) { return fileSlots[static_cast<size_t>(k - 1)]; }
  // The page size of model files and dumps: the product of the two factors.
  int32_t modelPageSize() const {
    return static_cast<int32_t>(static_cast<int64_t>(pageFactor1) * pageFactor2);
  }
  // The page size of the data file (file slot 2).
  int32_t dataPageSize() const { return fileSlots[1].pageSize; }
};

struct IoUnit {
  static constexpr int32_t kSlots = 27;
  static constexpr int32_t kFileTypes = 28;
  static constexpr int32_t kCommandLength = 128;

  // Logical switches: 0 false, non-zero true.
  int32_t noBells = 0;           // no warning bells (WarnBeep's bells-off switch)
  int32_t flushOtherInput = 0;   // flush journals while input comes from elsewhere
  int32_t flushCommandFile = 0;  // flush journals while commands come from a file
  int32_t forceFlush = 0;        // flush as for command files whatever the input
  std::array<char, 3> ioDebug{'O', 'F', 'F'};  // "OFF", "ON " or "TFM"

  std::array<int32_t, kSlots> slots{};  // unit of each slot; 0 for none

  DbParm dbparm;

  std::array<int32_t, kFileTypes> openFlags{};  // 1 while the type is open

  std::array<char, 4> plotMode = blankChars<4>();  // "NONE", "HARD", "PLOT", "BOTH"
  // The name of the plot file, whole: the plot-file command must get the file written.
  std::string plotFileName;
  std::array<char, kCommandLength> plotCommand = blankChars<kCommandLength>();

  int32_t journal1Enable = 0;  // channel 1's second enable word

  int32_t& slot(int32_t k) { return slots[static_cast<size_t>(k - 1)]; }
  int32_t& openFlag(int32_t type) { return openFlags[static_cast<size_t>(type - 1)]; }
  FText ioDebugWord() { return FText(ioDebug.data(), 3); }
  FText plotModeWord() { return FText(plotMode.data(), 4); }
  FText plotCommandText() { return FText(plotCommand.data(), kCommandLength); }
};

// Slots of the file types that the message output and the closer read.
inline constexpr int32_t kSlotTerminalInput = 1;   // file type 1
inline constexpr int32_t kSlotTerminalOutput = 2;  // file type 2
inline constexpr int32_t kSlotPlotFile = 3;        // file type 3
inline constexpr int32_t kSlotLogFile = 5;         // file type 5, journal channel 2
inline constexpr int32_t kSlotJournalFile = 25;    // file type 26, journal channel 1

inline IoUnit IOUNIT;
inline DbParm& DBPARM = IOUNIT.dbparm;

// Gives every unit slot its default unit (slot 15, which no file type uses, gets 0).
// Start-up runs it first; the writing road stores its database units after it.
void setDefaultUnitSlots();

}  // namespace kvr
