// The analysis-program argument kinds above 400: the program names of the filter prompts
// and the translator options of kind 403.
//
//   401, 404   the name of a program that is switched on (404: its options may follow)
//   402        "SELVO" alone, when it is switched on
//   405        "FILTER-" and the name of a program that is switched on
//   403        an option name of the program that answer 3, else answer 1, names as a
//              kind-404 program, else of the model's analysis program (MODCNT word 72)
//
// The candidates of a filter kind run from code 1 to the program count NAPRG (at most 52);
// a code counts when its APRFLG field is not 0 and the program table gives it a code.
// Codes 36 to 38 never count, nor code 29 for kinds 401, 404 and 405. This library never
// sets NAPRG or APRFLG, so the filter lists stay empty; the translators offer no option,
// so kind 403 lists nothing.
#pragma once

#include <cstdint>
#include <span>

#include "command/argval.h"

namespace kvr {

inline constexpr int32_t kProgramNameKind = 401;
inline constexpr int32_t kSelvoKind = 402;
inline constexpr int32_t kOptionKind = 403;
inline constexpr int32_t kProgramOptionsKind = 404;
inline constexpr int32_t kFilterKind = 405;

// Appends the programs of filter KIND (401, 402, 404 or 405; any other kind adds nothing)
// to LIST in code order: entry kind -KIND, the name (after "FILTER-" for kind 405) and
// value 8 (15 for kind 405). STATUS 0 done, 2 the list is full.
void FLTLST(int32_t kind, ValueList& list, int32_t& status);

// Appends the option names of the kind-403 program to LIST: entry kind -403, the
// 10-character name, value 10. Any other KIND adds nothing. STATUS 0 done, 2 full.
void K403LS(int32_t kind, ValueList& list, int32_t& status);

// Checks the token FIRST..LAST of LINE (the upper-cased work copy of the command line)
// against the programs of filter KIND. An exact name gives status 0, a token that
// abbreviates one name the number of its characters, one that abbreviates two names -1;
// the list value is the program code (value code 1). A kind-404 program without options
// ends the command: next menu and sign out 0.
void FLTCHK(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check);

// Checks the token against the option names of the kind-403 program: only an exact name
// is taken (status 0, value code 1, list value the entry number); anything else -1.
void K403CK(std::span<const int32_t> line, int32_t first, int32_t last, ArgumentCheck& check);

}  // namespace kvr
