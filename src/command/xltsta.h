// XLTSTA: the name-translation state of a replayed command file. A file written with name
// translation refers to new objects by placeholder names ("#NEW") and to existing ones by
// numbered references; while it is replayed, the special-kind checks map them to the
// model's own names and numbers.
//
// The translation flag itself is the command-file state word (gCommandFile.state,
// cmdfile.h), which the input sources clear when a command file ends; this block holds the
// rest. Nothing in the library turns translation on.
#pragma once

#include <array>
#include <cstdint>

#include "command/cmdfile.h"

namespace kvr {

struct XltSta {
  // New-object kinds with a flag: index k - 20 for kinds 21 to 39 (up to 28), k - 50 for
  // kinds 70 to 78 (the code conversion 5 of CODMAP); 1, 0 or -1.
  static constexpr int32_t kKindFlags = 28;
  static constexpr int32_t kTextCodes = 8;

  std::array<int32_t, kKindFlags> kindFlags{};
  int32_t meshLock = 0;     // above 0: node and element numbers are refused
  int32_t nodeBase = 0;     // the node numbering base of the file being replayed
  int32_t elementBase = 0;  // the element numbering base of the file being replayed
  // The translated answer text that the journal records in place of what the file said.
  std::array<int32_t, kTextCodes> text{};

  // Flag of index I, 1..28.
  int32_t& kindFlag(int32_t i) { return kindFlags[static_cast<size_t>(i - 1)]; }
  // 1 while a command file is replayed with name translation.
  static int32_t& translating() { return gCommandFile.state; }
};

inline XltSta XLTSTA;

}  // namespace kvr
