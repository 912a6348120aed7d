// Interim load-case search for the results selection of the assembly walk, until the
// load-case list is built: it finds nothing.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Looks the load case NAME up (NUMBER -1: any number). RESULT 0 exact match, n above 0 an
// abbreviation of n characters, -1 not found, -2 ambiguous; POSITION the entries walked.
// This stand-in answers -1 and 0 and leaves FULLNAME as it is.
void LCFIND(std::span<const int32_t> name, int32_t number, std::span<int32_t> fullName,
            int32_t& result, int32_t& position);

}  // namespace kvr
