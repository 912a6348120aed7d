// ARGKWD: the keyword that stands for an argument-type code in a value list, where the
// user is to type a name ("'set-old'", "'model'"): the placeholder entry of the list
// builders of the object types, the special kinds and the graph-file columns.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kvr {

// ARGKWD statuses.
inline constexpr int32_t kKeywordWritten = 0;
inline constexpr int32_t kNoKeyword = 1;

// The keyword of CODE with its apostrophes, in the grid vocabulary's form when GRIDMD
// answers 1; empty for a code without one (and for 0 and below, and 100).
std::string_view argumentKeyword(int32_t code);

// Writes the keyword of CODE into the code line LINE from POSITION on (cut at its end);
// LAST receives the last position filled, 0 when nothing is written. STATUS 0, or 1 for
// a code without keyword; codes of 0 and below and code 100 write nothing with status 0.
void ARGKWD(int32_t code, int32_t position, std::span<int32_t> line, int32_t& last,
            int32_t& status);

}  // namespace kvr
