#include "platform/procid.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace kvr::os {
namespace {

std::optional<int32_t>& processIdOverride() {
  static std::optional<int32_t> id;
  return id;
}

}  // namespace

int32_t processId() {
  if (processIdOverride()) return *processIdOverride();
  return static_cast<int32_t>(::getpid());
}

bool processExists(int32_t id) {
  if (id <= 0) return true;
  return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
}

void setProcessIdOverride(std::optional<int32_t> id) { processIdOverride() = id; }

}  // namespace kvr::os
