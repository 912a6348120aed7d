// The words of the command-file reader that the switch of the command input sets: the
// line counter of the current command file (reset when a command file is opened, raised
// for every line read, blank lines too), the in-use flag of the reader's name map (freed
// on the return to the terminal when set), and a command-file state word (cleared on
// that return). The input unit and the input mode themselves live in IOMODE.
#pragma once

#include <cstdint>

namespace kvr {

struct CommandFileWords {
  int32_t lineCounter = 0;
  int32_t nameMapInUse = 0;
  int32_t state = 0;
};

inline CommandFileWords gCommandFile;

}  // namespace kvr
