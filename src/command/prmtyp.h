// The prompt list: what a prompt shows the user the current menu accepts. PRMTYP builds it
// from a menu record (keywords, the words of token classes and free text, the value lists
// of typed arguments) and PRMDSP turns it into PRMLST, which the console prompt prints.
//
// The prompt list is a value list (argval.h) of at most 100 entries with 80-character
// texts, whose entry kind column holds each entry's display code:
//   1 the /TERMINATOR keyword as a blank (menu levels other than 2)
//   2 a keyword other than a pick keyword, or a value of a typed argument's list
//   4 a pick or cursor keyword (numbers 10 to 25, and 244)
//   5 a placeholder word: a token class, free text, a free-text entry of a value list
// negated for an entry whose item is optional (its link is negative); an entry value is
// the number of characters to show.
#pragma once

#include <cstdint>
#include <span>

#include "command/argval.h"

namespace kvr {

inline constexpr int32_t kPromptEntries = 100;
inline constexpr int32_t kPromptTextLength = 80;
inline constexpr int32_t kNoMenuRecord = -999;  // PRMTYP: an empty display list

// Builds the prompt list of the menu record at word RECORD of MNUTAB and displays it
// (PRMDSP). CONTEXT goes to the value-list builders. When a list would pass 100 entries,
// message M804 reports 100 and what was gathered is displayed. STOP 1 when a graph file
// holds no columns (nothing is displayed, PRMLST stays as it was), else 0. RECORD -999
// displays an empty list.
void PRMTYP(int32_t record, std::span<int32_t> context, int32_t& stop);

// PRMLST receives the entries of LIST: each display code, and the first min(value, 25)
// characters of each text, blank-padded (none for a value of 0 or less).
void PRMDSP(ValueList& list);

// Copies COUNT words of SOURCE into TARGET after POSITION and advances POSITION by the
// words copied; the copy stops at the end of SOURCE and of TARGET.
void CODAPP(std::span<const int32_t> source, int32_t count, std::span<int32_t> target,
            int32_t& position);

}  // namespace kvr
