#include "command/pckprm.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

#include "command/ansrec.h"
#include "command/cmdlin.h"
#include "command/mnuctl.h"
#include "command/mnutab.h"
#include "messages/catalog.h"
#include "runtime/codtxt.h"
#include "runtime/hostcb.h"
#include "runtime/nxttkn.h"
#include "runtime/prmlst.h"

namespace kvr {
namespace {

constexpr int32_t kTerminatorKeyword = 26;
constexpr int32_t kFirstPickKeyword = 10;
constexpr int32_t kLastPickKeyword = 32;
constexpr int32_t kMenuCountBase = 64;
constexpr int32_t kLineCodes = CmdLin::kLineCodes;
constexpr int32_t kPickTextLength = 30;
constexpr int32_t kRepeatLimit = 18;
constexpr int32_t kE1200 = 200;  // Too many component lines specified

// The pick code of keyword NUMBER is NUMBER + offset, and its text; rows in keyword order.
struct PickRow {
  int32_t first;
  int32_t last;
  int32_t offset;
  std::array<std::string_view, 7> texts;  // by NUMBER - first; one text for a whole row
};
constexpr std::array<PickRow, 6> kPickRows = {{
    {10, 16, 10, {"cursor hit"}},
    {17, 21, -16, {"pick point", "pick line", "pick surface", "pick body", "pick geometry"}},
    {22, 25, -14, {"pick node", "pick element", "pick node or element", "pick element"}},
    {27, 29, -15, {"pick geometry", "pick node", "pick element"}},
    {30, 30, -10, {"pick entity"}},
    {31, 32, -16, {"pick point", "pick line"}},
}};

// Whether keyword NUMBER serves PICKTYPE: any pick or cursor keyword serves type -1; the
// others are served by their own keyword (points 17, lines 18, surfaces 19, bodies 20,
// nodes 22, elements 23; 21 for type -2) and by the general picks 24, 28, 29, 31 and 32.
bool serves(int32_t pickType, int32_t number) {
  if (pickType == kPickAny) {
    return number >= kFirstPickKeyword && number <= kLastPickKeyword &&
           number != kTerminatorKeyword;
  }
  constexpr std::array<int32_t, 6> kOwn = {17, 18, 19, 20, 22, 23};
  constexpr std::array<int32_t, 5> kGeneral = {24, 28, 29, 31, 32};
  int32_t own = 0;
  if (pickType == kPickGeometry) {
    own = 21;
  } else if (pickType >= 1 && pickType <= static_cast<int32_t>(kOwn.size())) {
    own = kOwn[static_cast<std::size_t>(pickType - 1)];
  } else {
    return false;
  }
  return number == own || std::find(kGeneral.begin(), kGeneral.end(), number) != kGeneral.end();
}

// A NUL after the last non-blank character of TEXT, when that lies inside it.
void terminate(FText text) {
  const int32_t n = text.trimmedLength();
  if (n < text.length()) text.at(n + 1) = '\0';
}

// TEXT receives positions F..L of the command line, blank-padded, with a NUL after its last
// non-blank character when that lies inside it: the form a host's dialogue reads.
void hostText(int32_t f, int32_t l, FText text) {
  f = std::max(f, 1);
  l = std::min(l, kLineCodes);
  text.fill(' ');
  if (f <= l) {
    CODTXT(std::span<const int32_t>(CMDLIN.lineCodes).subspan(static_cast<std::size_t>(f - 1)),
           l - f + 1, text);
  }
  terminate(text);
}

// The rest of the command line from the second position after the end of the word that
// follows the pending position (lexer MODE), into TEXT; blank when there is none.
void restOfLine(int32_t mode, FText text) {
  int32_t kind = kTokenNone;
  int32_t first = 0;
  int32_t last = 0;
  int32_t ivalue = 0;
  float rvalue = 0.0f;
  if (CMDLIN.pending >= 1) {
    NXTTKN(CMDLIN.lineCodes, CMDLIN.pending, kLineCodes, mode, kind, first, last, ivalue, rvalue);
  }
  if (kind == kTokenNone) {
    hostText(1, 0, text);
    return;
  }
  hostText(last + 2, kLineCodes, text);
}

}  // namespace

void PCKPRM(int32_t nextLink, int32_t pickType, int32_t& found) {
  found = 0;
  const int32_t record = std::abs(nextLink);
  CMDLIN.currentMenu = record;
  const int32_t position = MNUCTL.answerCount + (pickType < 0 ? 1 : 0);

  int32_t number = 0;
  const int32_t items = mnuWord(record + 1) % kMenuCountBase;
  for (int32_t k = 1; k <= items && number == 0; ++k) {
    const int32_t item = mnuWord(record + 2 * k);
    if (item <= 0) continue;
    const int32_t keyword = mnuWord(item) / kKeywordHeaderBase;
    if (keyword == kTerminatorKeyword) return;
    if (serves(pickType, keyword)) number = keyword;
  }
  if (number == 0) return;

  int32_t memory = 0;
  if (pickType < 0) {
    int32_t remembered = 0;
    PCKRST(kPickAsk, position, 0, memory, remembered);
    if (memory == 1 || memory == 3) number = remembered;
  }
  int32_t code = 0;
  FixedText pick(kPickTextLength);
  PCKTXT(number, code, pick);
  if (memory == 2 || memory == 3) code = -code;

  FixedText command(kLineCodes);
  FixedText rest(kLineCodes);
  hostText(CMDLIN.parseStart, CMDLIN.pending - 1, command);
  if (pickType > 0) {
    restOfLine(kLexName, rest);
  } else {
    hostText(1, 0, rest);
  }
  terminate(pick);
  HCDLG(position, code, command, rest, pick);

  int32_t ignored = 0;
  PCKRST(kPickPending, position, number, ignored, ignored);
  found = 1;
}

void PCKDLG(int32_t keyword, int32_t answerCount) {
  FixedText command(kLineCodes);
  FixedText rest(kLineCodes);
  hostText(CMDLIN.parseStart, CMDLIN.pending, command);
  restOfLine(kLexWord, rest);
  int32_t code = 0;
  FixedText pick(kPickTextLength);
  PCKTXT(keyword, code, pick);
  terminate(pick);
  HCDLG(answerCount, code, command, rest, pick);
  int32_t ignored = 0;
  PCKRST(kPickPending, answerCount, keyword, ignored, ignored);
}

void PCKLBL(int32_t keyword) { PCKTXT(keyword, gPickLabel.code, gPickLabel.text()); }

void PCKTXT(int32_t keyword, int32_t& code, FText text) {
  code = 0;
  text.fill(' ');
  for (const PickRow& row : kPickRows) {
    if (keyword < row.first || keyword > row.last) continue;
    code = keyword + row.offset;
    const auto k = static_cast<std::size_t>(keyword - row.first);
    text.assign(row.texts[k].empty() ? row.texts[0] : row.texts[k]);
    return;
  }
}

void PCKRST(int32_t mode, int32_t position, int32_t value, int32_t& found, int32_t& remembered) {
  found = 0;
  remembered = 0;
  PickMemory& m = gPickMemory;
  const bool inMemory = position >= 1 && position <= PickMemory::kPositions;
  switch (mode) {
    case kPickForget:
      m = {};
      break;
    case kPickRemember: {
      m.remembered = std::clamp(MNUCTL.answerCount, 0, PickMemory::kPositions);
      for (int32_t k = 1; k <= m.remembered; ++k) {
        m.keyword(k) = ITEM(k);
        m.value(k) = m.pendingValue(k);
        m.flag(k) = m.pendingFlag(k);
      }
      m.pendingValues.fill(0);
      m.pendingFlags.fill(0);
      break;
    }
    case kPickAsk: {
      const int32_t answers = MNUCTL.answerCount;
      if (answers < 0 || answers >= m.remembered) break;
      for (int32_t k = 1; k <= answers; ++k) {
        if (ITEM(k) != m.keyword(k)) return;
      }
      const int32_t next = answers + 1;
      if (m.flag(next) == 1) {
        found = 1;
        remembered = m.value(next);
      } else if (m.value(next) == 0) {
        found = 2;
      } else {
        found = 3;
        remembered = m.value(next);
      }
      break;
    }
    case kPickPending:
      if (inMemory) m.pendingValue(position) = value;
      break;
    default:
      if (inMemory) m.pendingFlag(position) = 1;
      break;
  }
}

void RPTCNT(int32_t& nextLink, int32_t& verdict) {
  verdict = 0;
  PickCounters& c = gPickCounters;
  if (c.pickCount <= 0) return;
  const int32_t answer = MNUCTL.answerCount;
  const int32_t item = ITEM(answer);
  if (item != -1 && item != -2) return;
  if (MMOPER(answer) == 1) {
    if (c.repeats > kRepeatLimit) {
      MSGE1(kE1200);
      verdict = -1;
      return;
    }
    ++c.repeats;
  } else {
    c.repeats = 0;
    ++c.picksMade;
  }
  if (c.picksMade < c.pickCount) nextLink = std::abs(nextLink);
  verdict = 1;
}

}  // namespace kvr
