// The numbered settings: SETGET reads setting 1 to 44 of SETNUM as a ready-made integer,
// real or text; RESRD asks the host's resource reader for a section and key.
#pragma once

#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

// Setting NUMBER into INTEGER, REAL and TEXT. On entry the results are 0, 0.0 and a blank
// work text of 255 characters, and TEXT receives that work text at the end (at most 255
// characters are set), so it is blank except for the settings that deliver a text. For
// number 43 TEXT is also the input: the filter name. A number outside 1..44 answers 0,
// 0.0 and a blank text. Never fails: whatever gives nothing takes the row's default.
void SETGET(int32_t number, int32_t& integer, float& real, FText text);

// The value of SECTION and KEY from the host's resource reader: it is handed the integers
// 1 and 2, both texts in 25-character fields without leading blanks and ended by a NUL,
// and a 255-character answer buffer with its length. VALUE receives the answer up to its
// first NUL (all 255 characters when it holds none), blank-padded. The reader's status
// is not looked at.
void RESRD(FText section, FText key, FText value);

// The host resource reader, as RESHST is called.
using HostResourceReader = void (*)(int32_t& lead1, int32_t& lead2, FText section, FText key,
                                    FText value, int32_t& length, int32_t& status);
// Test seam: READER answers in place of RESHST; nullptr restores RESHST.
void setHostResourceReader(HostResourceReader reader);

// The highest node and element numbers of the database being written, which setting 2
// compares with 9999. The node and element loaders keep them; until a source is set the
// answer is 0 and 0.
struct WrittenHighest {
  int32_t node = 0;
  int32_t element = 0;
};
using WrittenHighestSource = WrittenHighest (*)();
// SOURCE answers from now on; nullptr restores 0 and 0.
void setWrittenHighestSource(WrittenHighestSource source);
WrittenHighest writtenHighest();

}  // namespace kvr
