// The analysis-program argument kinds above 400: the program names of the filter prompts
// (kinds 401, 402, 404 and 405) and the translator options of kind 403.
//
// Interim: no program or option is offered or accepted yet. FLTLST and K403LS add nothing
// and answer status 0; FLTCHK and K403CK answer no match (-1).
#pragma once

#include <cstdint>
#include <span>

#include "command/argval.h"

namespace kvr {

// Append the entries of filter KIND (FLTLST) or of kind 403 (K403LS) to LIST. STATUS 0
// done, 2 the list is full.
void FLTLST(int32_t kind, ValueList& list, int32_t& status);
void K403LS(int32_t kind, ValueList& list, int32_t& status);

// Check the token FIRST..LAST of LINE (the upper-cased work copy of the command line)
// against filter KIND (FLTCHK) or kind 403 (K403CK).
void FLTCHK(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check);
void K403CK(std::span<const int32_t> line, int32_t first, int32_t last, ArgumentCheck& check);

}  // namespace kvr
