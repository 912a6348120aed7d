// SYNCMD: the synonym commands, told by a sub-command which to do (1 read the synonym
// file, 2 add, 3 list, 4 delete, 5 expand a command line, 6 save).
//
// Interim: no synonym is read, defined or expanded yet. Every sub-command changes nothing
// and answers status 0; the calls are counted so that tests see who asks for the file.
#pragma once

#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

inline constexpr int32_t kSynonymRead = 1;

// TEXT is the command line that sub-command 5 expands; the others do not read it.
void SYNCMD(int32_t subcommand, FText text, int32_t& status);

// The interim's record of its calls: how many, and the last sub-command.
struct SyncmdCalls {
  int32_t count = 0;
  int32_t lastSubcommand = 0;
};
inline SyncmdCalls gSyncmdCalls;

}  // namespace kvr
