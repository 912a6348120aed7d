// GETINP: asks the user for an answer. It obtains an answer line from the first source
// that has one: the pending rest of the command line, the next line of the open command
// file, or a reply typed at a prompt; has the parse loop match it against a menu; and
// returns the command as understood as the answer text.
#pragma once

#include <cstdint>
#include <span>

#include "modeldb/parser.h"
#include "runtime/ftext.h"

namespace kvr {

// Results: kInputGiven, kInputEmpty, kInputCancelled, with the model database's entry to
// the parser (modeldb/parser.h).

// Journal modes of a channel.
inline constexpr int32_t kJournalNone = 0;
inline constexpr int32_t kJournalPlain = 2;    // the prompt journalled unchanged
inline constexpr int32_t kJournalComment = 4;  // prompt and answer behind " ! "

// Asks for an answer in menu MENUID (negative: the answer is optional) with the first
// PROMPTLENGTH codes of PROMPT (at most 255).
//
// JOURNAL2 and JOURNAL1 say what channel 2 (the log file) and channel 1 (the journal file)
// receive: 0 nothing; 2 the prompt; 3 or 4 the prompt behind " ! "; then modes 1 to 3 the
// answer and mode 4 the answer behind " ! "; a cancelled prompt " /" in every mode above 0.
//
// At the keyboard the prompt (trimmed, " (optional)" after it for an optional answer where
// it fits in 255 characters) is shown by the menu prompt, above it the current menu's value
// list when LISTMODE is 0; with ECHO above 0 it is first written as a line of its own. A
// comment reply, a rejected line and a graphics item prompt again; a reply that leaves the
// command wanting more is followed by the next, one blank after it (after "=" and ":" the
// sign is blanked first); the answer line is cut at 255 characters.
//
// ANSWER is blank-filled to ANSWERMAX (cut at its capacity); RESULT 1 with the echo line of
// the command in ANSWER, upper-cased when UPCASE is 1 (with UPCASE 0 free text keeps the
// case it was typed in); 0 when the line held no answer (empty, or beginning with ";");
// -1 when cancelled ("/", the end of input, a rejected pending or command-file line). The
// synonyms-active flag is cleared while it works and then put back. TITLE is handed to the
// prompt routine, which does not show it.
void GETINP(int32_t echo, int32_t journal2, int32_t journal1, int32_t listMode,
            int32_t menuId, FText title, std::span<const int32_t> prompt,
            int32_t promptLength, int32_t upcase, std::span<int32_t> answer,
            int32_t answerMax, int32_t& result);

}  // namespace kvr
