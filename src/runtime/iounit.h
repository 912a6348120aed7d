// IOUNIT: the I/O state of the runtime. The words held here are the unit slots (one per
// file-type slot, numbered from 1) and channel 1's second enable word, which journal
// channel 1 needs beside its own enable word.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct IoUnit {
  static constexpr int32_t kSlots = 27;
  std::array<int32_t, kSlots> slots{};  // unit of each slot; 0 for none
  int32_t journal1Enable = 0;           // channel 1's second enable word

  int32_t& slot(int32_t k) { return slots[static_cast<std::size_t>(k - 1)]; }
};

// Slots of the file types that the message output reads.
inline constexpr int32_t kSlotTerminalInput = 1;   // file type 1
inline constexpr int32_t kSlotTerminalOutput = 2;  // file type 2
inline constexpr int32_t kSlotPlotFile = 3;        // file type 3
inline constexpr int32_t kSlotLogFile = 5;         // file type 5, journal channel 2
inline constexpr int32_t kSlotJournalFile = 25;    // file type 26, journal channel 1

inline IoUnit IOUNIT;

}  // namespace kvr
