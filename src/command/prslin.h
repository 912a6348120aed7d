// The parse loop: PRSLIN reads one answer line token by token and walks the menu records
// of MNUTAB with it. MNUMAT matches one token against the items of the current menu
// record and stores its answer record; ANSSET writes the command as understood into the
// echo line and LOGTKN keeps it in the command log. At the end PRSLIN leaves the input
// state of MNUCTL, which tells the answer-line reader how the line ended:
//
//   0 a ";" ended the command; the rest of the line is pending
//   1 the command is complete and the line is used up
//   2 the line was rejected or cancelled; nothing is pending
//   3 the line ended but the command needs more input
//   4 the line ended with ":" (continuation)
//   5 the line ended with "=" (continuation)
//   6 a graphics pick or cursor item was reached
//
// The line comes either from the pending rest of the command line or a command file
// (input mode 1) or from a reply typed at a prompt (input mode 4).
#pragma once

#include <cstdint>
#include <span>

#include "runtime/ftext.h"

namespace kvr {

// Input modes of the parse loop.
inline constexpr int32_t kParsePending = 1;   // the pending line or a command-file line
inline constexpr int32_t kParseKeyboard = 4;  // a reply typed at a prompt

// Input states.
inline constexpr int32_t kStateMorePending = 0;
inline constexpr int32_t kStateComplete = 1;
inline constexpr int32_t kStateRejected = 2;
inline constexpr int32_t kStateNeedsMore = 3;
inline constexpr int32_t kStateColon = 4;
inline constexpr int32_t kStateEquals = 5;
inline constexpr int32_t kStateGraphics = 6;

// Match kinds of MNUMAT beyond those of ANSSET (cmdlog.h): none, and the graphics items.
inline constexpr int32_t kMatchNone = 0;
inline constexpr int32_t kMatchPick = 4;
inline constexpr int32_t kMatchCursor = 5;
inline constexpr int32_t kMatchGraphics = 8;

// Switches of the parse loop that its caller sets. While FREETEXTASTYPED is 1 a free-text
// item (item 0) stores its word as typed instead of upper-cased, whole up to the next
// blank ("/" included: a path): the answer-line reader sets it for a caller that keeps the
// answer in its own case.
struct ParseSwitches {
  int32_t freeTextAsTyped = 0;
};

inline ParseSwitches gParseSwitches;

// Parses one answer line. A new command (unless a line of input mode 1 continues one after
// ":", or after "=" while a command file is the input) starts in the menu record of MENUID
// (negative: the answer is optional) with the answer records cleared. Unless a rest of the
// command line is pending, TEXT becomes the command line from position 1. CONTEXT goes to
// the typed-argument checks. NEXTLINK receives the link of the last item matched (0 when
// the command is complete); the input state of MNUCTL tells how the line ended. A rejected
// line is reported: at the keyboard with E3200, otherwise with M824 marking the offending
// token and to the host through HCCMD3; from a command file the input then returns to the
// keyboard, the file staying open.
void PRSLIN(std::span<int32_t> context, int32_t menuId, FText text, int32_t inputMode,
            int32_t& nextLink);

// Matches the token FIRST..LAST of the command line, of lexer kind TOKENKIND and values
// IVALUE and RVALUE, against the items of the current menu record, in their order, and
// stores its answer in a new answer record. MATCHKIND: 0 none, 1 text, 2 integer, 3 real,
// 4, 5 and 8 graphics items, 6 keyword, 7 typed argument; NEXTLINK the matched item's
// link. After a text or file class item LAST becomes the end of the text taken. RESULT 0;
// 1 the token was refused (ambiguous, E3210); -2 the line is dropped; -3 the line is
// dropped and command-file input ends (a memory failure).
void MNUMAT(int32_t inputMode, std::span<int32_t> context, int32_t tokenKind, int32_t first,
            int32_t& last, int32_t ivalue, float rvalue, int32_t& matchKind, int32_t& nextLink,
            int32_t& result);

// RECORD: the word index of the menu record with id |MENUID|, searched from the menu-area
// start in record order; the menu-area start when no record has that id.
void MNUFND(int32_t menuId, int32_t& record);

// FOUND 1 when the word FIRST..LAST of LINE is, exactly or as the only abbreviation, one
// of the keyword items of menu MENUID (keyword numbers 26 and 601 to 607 excepted) or one
// of the names of argument kinds 201 and 202; else 0. The search stops without a result at
// the first token-class item.
void MNUCHK(int32_t menuId, std::span<const int32_t> line, int32_t first, int32_t last,
            int32_t& found);

}  // namespace kvr
