// The synonyms: a user's short word for a longer command text. SYNCMD carries every
// synonym operation over the table of SYNSTA (synsta.h), told by a sub-command which:
//
//   1 (and any value other than 2..6)  read the synonym file (SYNRD)
//   2 ADD     define a synonym            5 expand a typed command line
//   3 LIST    list synonyms               6 SAVE  write every synonym to a file
//   4 DELETE  delete a synonym
//
// ADD, LIST, DELETE and SAVE read the answers of the command UTILITY SETUP SYNONYMS ...
// from the answer store: answers 1 to 4 are its keywords, answer 5 the name, the list
// text or the file name, the first integer the search number and answer 7 the
// substitution of ADD.
//
// The synonym file (file type 19; without a name $KVRSYN/kvrsyn.syn) is read as records
// of 80 characters. A line is a comment (first word ";", "*" or "!") or a synonym line:
// "+" or the prefix UTILITY SETUP SYNONYM ADD (each word abbreviated at will), the
// synonym word (at most 12 characters), its search number 1 to 7 and the substitution
// (the rest of the line). Anything else, a blank line among them, stops the reading.
//
// A typed word finds entry i when, upper-cased, it equals the entry's name or abbreviates
// it by at least the entry's search number of characters; search number 7 marks a
// priority synonym, which only the file defines and neither ADD nor DELETE changes.
#pragma once

#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

inline constexpr int32_t kSynonymRead = 1;
inline constexpr int32_t kSynonymAdd = 2;
inline constexpr int32_t kSynonymList = 3;
inline constexpr int32_t kSynonymDelete = 4;
inline constexpr int32_t kSynonymExpand = 5;
inline constexpr int32_t kSynonymSave = 6;

// Runs SUBCOMMAND. TEXT is the command line that sub-command 5 expands; the others do not
// read it. STATUS:
//  - read: SYNRD's status;
//  - ADD and SAVE: 0;
//  - LIST and DELETE: 1 when there are no synonyms at all and a text was given (nothing
//    is reported), else 0;
//  - expand: 1 the line was not expanded; 0 the expansion waits as the pending command
//    line (CMDLIN, pending position 1); -1 the prompt for a missing parameter was
//    cancelled.
void SYNCMD(int32_t subcommand, FText text, int32_t& status);

// Reads the synonym file into an emptied table. A missing file gives no synonyms and no
// message. STATUS 0, or 1 after a syntax error (reported with the line and the position
// of the first character of the word that failed, 1 for a line without a word); the
// synonyms read before it stay.
void SYNRD(int32_t& status);

// Writes entry I as one message line: "(ST)EP = UTILITY SETUP" for STEP with search
// number 2, "*** HELP *** UTILITY SETUP" for the priority synonym HELP.
void SYNLST(int32_t i);

}  // namespace kvr
