// The id of this process: the mark of the database write lock that this process holds.
#pragma once

#include <cstdint>
#include <optional>

namespace kvr::os {

// The process id (getpid).
int32_t processId();

// False when no process of ID exists on this machine (kill with signal 0 answers ESRCH).
// An id of 0 or below names no single process and answers true.
bool processExists(int32_t id);

// Test seam: while set, processId answers ID; std::nullopt restores the real id.
void setProcessIdOverride(std::optional<int32_t> id);

}  // namespace kvr::os
