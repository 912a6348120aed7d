// Graphics picks: menu items whose keywords stand for picking a point, line, surface, body,
// node or element, or for a cursor hit (keyword numbers 10 to 32, /TERMINATOR 26 aside).
// PCKPRM and PCKDLG offer such a pick through the host's dialogue callback HCDLG, PCKLBL
// labels one answered at the keyboard, PCKTXT gives their codes and texts, PCKRST keeps a
// small pick memory so that a repeated command can offer its last pick again, and RPTCNT
// counts repeated list answers. The menu table has no pick keyword, so with it the pick
// routines find nothing to offer.
//
// The pick memory holds, for answer positions 1 to 10, the keyword numbers of the last
// command's answers with a remembered value and flag each; beside them the pending values
// and flags gathered while a command is parsed. The pick counters (cleared at the start of
// every command) are the pick count (set by keywords 334 to 338), the picks made and the
// repeat counter.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

struct PickMemory {
  static constexpr int32_t kPositions = 10;
  std::array<int32_t, kPositions> keywords{};
  std::array<int32_t, kPositions> values{};
  std::array<int32_t, kPositions> flags{};
  std::array<int32_t, kPositions> pendingValues{};
  std::array<int32_t, kPositions> pendingFlags{};
  int32_t remembered = 0;  // positions 1..remembered hold the last command

  // Position K, 1..10.
  int32_t& keyword(int32_t k) { return keywords[static_cast<std::size_t>(k - 1)]; }
  int32_t& value(int32_t k) { return values[static_cast<std::size_t>(k - 1)]; }
  int32_t& flag(int32_t k) { return flags[static_cast<std::size_t>(k - 1)]; }
  int32_t& pendingValue(int32_t k) { return pendingValues[static_cast<std::size_t>(k - 1)]; }
  int32_t& pendingFlag(int32_t k) { return pendingFlags[static_cast<std::size_t>(k - 1)]; }
};

inline PickMemory gPickMemory;

struct PickCounters {
  int32_t pickCount = 0;  // picks a command asks for (4 or 3), 0 none
  int32_t picksMade = 0;
  int32_t repeats = 0;    // list answers repeated with "+"
};

inline PickCounters gPickCounters;

// Pick types of PCKPRM: 1 point, 2 line, 3 surface, 4 body, 5 node, 6 element; -2 a
// geometry pick and -1 any pick or cursor hit, both asking the pick memory first.
inline constexpr int32_t kPickAny = -1;
inline constexpr int32_t kPickGeometry = -2;

// PCKRST modes.
inline constexpr int32_t kPickForget = 1;
inline constexpr int32_t kPickRemember = 2;
inline constexpr int32_t kPickAsk = 3;
inline constexpr int32_t kPickPending = 4;

// Offers the pick of PICKTYPE for the menu record |NEXTLINK|, which becomes the current
// menu record: the first keyword item serving the type (the search ending at /TERMINATOR)
// goes with its pick code and text, the command so far and, for the positive types, the
// rest of the line, to HCDLG, and is noted as the pending value of the answer position (the
// answer count, plus one for the negative types). FOUND 1 when a pick was offered, else 0.
void PCKPRM(int32_t nextLink, int32_t pickType, int32_t& found);

// Offers the pick of pick KEYWORD just matched in a pending or command-file line to HCDLG:
// the command line from the parse start to the pending position, the rest of the line
// after the word that follows, the pick text; notes KEYWORD as the pending value of
// position ANSWERCOUNT.
void PCKDLG(int32_t keyword, int32_t answerCount);

// Keeps the pick code and text of pick KEYWORD, answered at the keyboard, beside PRMLST.
void PCKLBL(int32_t keyword);

// CODE and TEXT (blank-padded) of pick KEYWORD: "cursor hit", "pick point", ...; 0 and a
// blank for any other keyword.
void PCKTXT(int32_t keyword, int32_t& code, FText text);

// The pick memory by MODE: 1 forget everything; 2 remember the command just parsed (the
// keyword numbers of its first min(answer count, 10) answers, and the pending values and
// flags, which are cleared); 3 ask: when the answers so far, fewer than the positions
// remembered, have the remembered keywords, FOUND is 1 with the next position's value
// when its flag is set, else 2 when its value is 0, else 3 with its value, and otherwise
// 0; 4 VALUE becomes the pending value of POSITION; any other mode sets its pending flag
// (positions outside 1..10 ignored). Every mode but 3 answers FOUND 0 and REMEMBERED 0.
void PCKRST(int32_t mode, int32_t position, int32_t value, int32_t& found, int32_t& remembered);

// Counts a list answer (ITEM -1 or -2) while the command asks for picks: with OPER 1 the
// repeat counter grows, and past 18 the answer is refused with E1200 (VERDICT -1); any
// other operator counts one more pick. While fewer picks than asked have been made,
// NEXTLINK is made positive. VERDICT 1 for a counted answer, 0 when there was nothing to
// count.
void RPTCNT(int32_t& nextLink, int32_t& verdict);

}  // namespace kvr
