// GETINP: asks the user for an answer line. This is the keyboard road alone: the prompt
// is shown on the terminal output unit and one reply is read from the terminal input
// unit; the reply is taken as it stands, without menus, command files or journals.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/ftext.h"

namespace kvr {

// Results.
inline constexpr int32_t kInputGiven = 1;
inline constexpr int32_t kInputEmpty = 0;
inline constexpr int32_t kInputCancelled = -1;

// Prompts with the first PROMPTLENGTH codes of PROMPT (at most 255), from its first to
// its last non-blank character: with ECHO above 0 first as a line of its own, then
// without a new line. Reads one reply line. RESULT 1 with the reply from its first to
// its last non-blank character, cut at a NUL and at ANSWERMAX, upper-cased when UPCASE
// is 1; 0 for an empty reply; -1 for a lone "/" and at the end of input. ANSWER is
// blank-filled to ANSWERMAX (never past its capacity). The journal modes, the list mode,
// the menu id and the title are accepted and not used. The synonyms-active flag is
// cleared while it works and then put back.
void GETINP(int32_t echo, int32_t journal2, int32_t journal1, int32_t listMode,
            int32_t menuId, FText title, std::span<const int32_t> prompt,
            int32_t promptLength, int32_t upcase, std::span<int32_t> answer,
            int32_t answerMax, int32_t& result);

}  // namespace kvr
