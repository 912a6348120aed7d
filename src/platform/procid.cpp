#include "platform/procid.h"

#include <unistd.h>

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

void setProcessIdOverride(std::optional<int32_t> id) { processIdOverride() = id; }

}  // namespace kvr::os
