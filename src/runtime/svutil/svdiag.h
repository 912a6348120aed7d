// Small helpers shared by the Sv routines: the allocation tag of a source line, integers
// in message texts, and one-line messages on the standard error stream.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#define SV_TAG_STR2(x) #x
#define SV_TAG_STR(x) SV_TAG_STR2(x)
// The tag every Sv allocation passes, naming its source file (without extension) and
// line: SV_TAG("strings") gives "file=strings line=123".
#define SV_TAG(file) "file=" file " line=" SV_TAG_STR(__LINE__)

namespace kvr::sv {

// VALUE in the fewest digits, as a message shows it.
std::string number(int64_t value);

// Writes TEXT and a newline to the standard error stream.
void errorLine(std::string_view text);

}  // namespace kvr::sv
