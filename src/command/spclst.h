// The special argument kinds 1 to 100: current items, named arrays, attribute values, new
// names and name sequences.
//
// Interim: no special kind offers a value or accepts a token yet. SPCLST adds nothing and
// answers status 0; SPCCHK answers no match (-1).
#pragma once

#include <cstdint>
#include <span>

#include "command/argval.h"

namespace kvr {

// Appends the values of special KIND to LIST. STATUS 0 done, 1 no list can be offered,
// 2 the list is full.
void SPCLST(int32_t kind, ValueList& list, int32_t& status);

// Checks the token FIRST..LAST of LINE (the upper-cased work copy of the command line)
// against special KIND. INPUTMODE is the parse loop's (1 a pending or command-file line,
// 4 a reply typed at a prompt).
void SPCCHK(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            int32_t inputMode, ArgumentCheck& check);

}  // namespace kvr
