// The database-side words that the writing road's start-up (GFXDEF) puts into their
// start state, all through one routine so that each block's owner adds its own words
// here: new databases get the current type code 5006, the loader pages get their header
// area of 38 words and their node entries 3w + 4 words (w the integer words per REAL of
// MACHCN), the database session forgets the write-lock holder, and the pseudo-units start
// with nothing written.
#pragma once

#include <cstdint>

namespace kvr {

void resetDatabaseWords();

// Integer words per REAL, as start-up found them (1..kMaxWordsPerReal; a REAL of this
// library is one word).
inline constexpr int32_t kMaxWordsPerReal = 2;
int32_t loaderWordsPerReal();

}  // namespace kvr
