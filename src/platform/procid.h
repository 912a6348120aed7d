// The id of this process: the mark of the database write lock that this process holds.
#pragma once

#include <cstdint>
#include <optional>

namespace kvr::os {

// The process id (getpid).
int32_t processId();

// Test seam: while set, processId answers ID; std::nullopt restores the real id.
void setProcessIdOverride(std::optional<int32_t> id);

}  // namespace kvr::os
