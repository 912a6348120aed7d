// CODCMP: the comparison of a stored word with a pattern, both held as character codes
// (code lines), by which names are found in the control records and elsewhere. A
// pattern matches a stored word exactly or as its abbreviation.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Compares codes FIRSTA..LASTA of A, the stored word, with codes FIRSTB..LASTB of B, the
// pattern. Both are walked from their first positions while the codes are equal; a
// different code gives RESULT -1. When A runs out, RESULT is 0 if B has run out too or
// its next code is the blank code, else -1. When B runs out after N matched codes, RESULT
// is 0 if A's next code is the blank code (an exact match), else N (B abbreviates A).
// An empty pattern gives -1; an empty stored word gives 0 when the pattern is empty or
// begins with a blank, else -1. Positions outside A or B count as past their end.
void CODCMP(std::span<const int32_t> a, int32_t firstA, int32_t lastA, std::span<const int32_t> b,
            int32_t firstB, int32_t lastB, int32_t& result);

}  // namespace kvr
