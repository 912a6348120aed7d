// The switch of the command input between the terminal and a command file, and the words
// of the command-file reader that it sets: the line counter of the current command file
// (reset when a command file is opened, raised for every line read, blank lines too), the
// in-use flag of the reader's name map (freed on the return to the terminal when set), and
// a command-file state word (cleared on that return).
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

struct CommandFileWords {
  int32_t lineCounter = 0;
  int32_t nameMapInUse = 0;
  int32_t state = 0;
};

inline CommandFileWords gCommandFile;

// With a name (N > 0 codes of NAME) the command file of that name (file type 14) becomes
// the input: a command file being read is closed first; the name is stored in IOMODE,
// the line counter reset, the input mode set to 1 and the input unit to the command
// file's. A name that cannot be opened, or one longer than the 80 positions of the stored
// name, posts E3370 "Failed to open batch file" and returns the input to the terminal.
// With N = 0 at the terminal the default command file is opened. With N <= 0 while a
// command file is read, N < 0, or input mode 2, the input returns to the terminal: the
// terminal input unit, input mode 0, the reader's name map freed when in use, the
// display switches restored when saved, the command-file state word cleared.
void INPSRC(std::span<const int32_t> name, int32_t n);

}  // namespace kvr
