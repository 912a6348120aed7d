// The analysis programs by code: the program table APRTAB (codes 1 to 52) and the packed
// flag words that switch programs on (APRFLG, beside the program count NAPRG in NAPBLK,
// modeldb/entqry.h). The program prompts and their checkers (fltlst.h) and the translator
// messages (trndsp.h) name programs through APRGNM.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kvr {

inline constexpr int32_t kProgramCodes = 52;  // codes 1..52 have a row
inline constexpr int32_t kFlagFieldsPerWord = 13;
inline constexpr int32_t kFlagWords = 4;      // APRFLG: codes 1..52

// The name of program CODE as the table holds it (one blank for the blank rows 36 to 38);
// empty for a code outside 1..52.
std::string_view programName(int32_t code);

// Writes the name of program |CODE| into LINE from position FIRST on (one blank for the
// blank rows) and gives LAST the position of its last character and CODEA, CODEB the row's
// two code outputs (the code; 0 for the blank rows). Any other code writes nothing: LAST
// is FIRST and both codes 0. The name is cut where LINE ends.
void APRGNM(int32_t code, int32_t first, std::span<int32_t> line, int32_t& last, int32_t& codeA,
            int32_t& codeB);

// VALUE receives packed field FIELD of WORDS, FIELDS fields per word: field k lies in word
// (k - 1) / FIELDS + 1 at position j = k - FIELDS * ((k - 1) / FIELDS). Positions below
// FIELDS are single bits of the word's magnitude (position j is bit j - 1); position FIELDS
// is the magnitude shifted right by FIELDS - 1. A field below 1, a word beyond WORDS, or
// FIELDS outside 1..32 gives 0.
void PKBITS(std::span<const int32_t> words, int32_t field, int32_t& value, int32_t fields);

}  // namespace kvr
