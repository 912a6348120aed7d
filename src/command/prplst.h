// The property-word argument kinds 301 to 400: the words and values of a material or
// physical-property definition, in the order its expected-answer sequence gives.
//
// Interim: no property word is offered or accepted yet. PRPLST adds nothing and answers
// status 0; PRPCHK answers no match (-1).
#pragma once

#include <cstdint>
#include <span>

#include "command/argval.h"

namespace kvr {

// Appends the entries of property KIND to LIST. STATUS 0 done, 2 the list is full.
void PRPLST(int32_t kind, ValueList& list, int32_t& status);

// Checks the token FIRST..LAST of LINE (the upper-cased work copy of the command line)
// against property KIND.
void PRPCHK(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check);

}  // namespace kvr
