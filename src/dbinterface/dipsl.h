// The loaders of a load case's scan (key 31, DIPSL) and combination (key 29, DIPCL). Both
// write a dataset of type 100 and record its first page in word 9 of the current load
// case (record 104), which the processing has registered before (registerLoadCase); a
// load case holds one scan or one combination.
//
// Streams: a scan is a record of 2 words (tag -1, n) and records of 8 words (tag -2, the
// load-case name as 6 codes, an integer); a combination is records of 9 words (tag -1,
// the name as 6 codes, an integer, a REAL factor).
//
// Scan dataset: page 1 words 39-41 = -2, the number of entries, n; entries of 8 words (the
// 6 name codes, the integer or -1 when it is 0 or below, 0) from word 42 on page 1 and
// from word 39 on the pages after it. Combination dataset: page 1 word 39 = the number
// of entries; entries of 9 words (the same and the factor) from word 40 on page 1.
//
// Reports under "DILIM ": DIPSL 263 (the load case has a scan or combination already), 264
// (fewer than two entries); DIPCL 244 (the same as 263), 245 (no entry); 225 a failed
// stream read. A record with the wrong tag: 299 under the loader's name, location 9200.
// LASTTAG receives the tag of every record read (-3 after a normal end).
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

void DIPSL(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& lastTag, int32_t& ierr);
void DIPCL(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& lastTag, int32_t& ierr);

}  // namespace kvr
