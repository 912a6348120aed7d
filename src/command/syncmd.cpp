#include "command/syncmd.h"

namespace kvr {

void SYNCMD(int32_t subcommand, FText /*text*/, int32_t& status) {
  ++gSyncmdCalls.count;
  gSyncmdCalls.lastSubcommand = subcommand;
  status = 0;
}

}  // namespace kvr
