#include "command/prslin.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <string>
#include <string_view>

#include "command/ansrec.h"
#include "command/argval.h"
#include "command/cmdfile.h"
#include "command/cmdlin.h"
#include "command/cmdlog.h"
#include "command/mnuctl.h"
#include "command/mnutab.h"
#include "command/pckprm.h"
#include "command/prmtyp.h"
#include "command/vallst.h"
#include "messages/catalog.h"
#include "messages/synsta.h"
#include "modeldb/attlst.h"
#include "modeldb/codcmp.h"
#include "platform/fmtedit.h"
#include "runtime/codtxt.h"
#include "runtime/hostcb.h"
#include "runtime/iomode.h"
#include "runtime/nxttkn.h"
#include "runtime/pltdev.h"

namespace kvr {
namespace {

constexpr int32_t kLineCodes = CmdLin::kLineCodes;
constexpr int32_t kTextCodes = CmdLin::kTextCodes;
constexpr int32_t kEchoCodes = EchoLine::kCodes;
constexpr int32_t kMenuCountBase = 64;  // a record's entry count is taken modulo 64
constexpr int32_t kClearedRecords = 100;

// Keyword numbers.
constexpr int32_t kLastTokenClass = 9;
constexpr int32_t kTerminatorKeyword = 26;
constexpr int32_t kFirstSkippedKeyword = 601;
constexpr int32_t kLastSkippedKeyword = 607;
constexpr int32_t kFirstPickKeyword = 10;
constexpr int32_t kLastPickKeyword = 32;
constexpr int32_t kPickPointKeyword = 11;
constexpr int32_t kLastCursorKeyword = 16;
constexpr int32_t kCursorKeyword = 30;

// Token classes.
constexpr int32_t kClassInteger = 1;
constexpr int32_t kClassReal = 2;
constexpr int32_t kClassNdcFirst = 3;
constexpr int32_t kClassNdcSecond = 4;
constexpr int32_t kClassText = 5;
constexpr int32_t kClassFile = 6;
constexpr int32_t kClassX = 7;
constexpr int32_t kClassY = 8;
constexpr int32_t kClassZ = 9;

// The name kinds that MNUCHK knows: kind k names slot k - 199 of IOMODE.
constexpr int32_t kFirstNameKind = 201;
constexpr int32_t kLastNameKind = 202;
constexpr int32_t kNameSlotBase = 199;

// Operators.
constexpr int32_t kOperNone = 0;
constexpr int32_t kOperPlus = 1;
constexpr int32_t kOperMinus = 2;

// Value types of a typed argument's answer (UTYP).
constexpr int32_t kTypeList = -1;
constexpr int32_t kTypeText = 0;
constexpr int32_t kTypeInteger = 2;
constexpr int32_t kTypeReal = 3;
constexpr int32_t kTypeQuoted = -2;
constexpr int32_t kTypeAsTyped = 5;

// Catalogue numbers.
constexpr int32_t kE3200 = 200;   // MSGE3: Incorrect command
constexpr int32_t kE3210 = 210;   // MSGE3: Ambiguous command
constexpr int32_t kE2100 = 1100;  // MSGE1: Error with dynamic memory allocation
constexpr int32_t kE2130 = 1130;  // MSGE1: Insufficient memory currently available
constexpr int32_t kW2300 = 1300;  // MSGW1
constexpr int32_t kW2310 = 1310;
constexpr int32_t kW2320 = 1320;
constexpr int32_t kM824 = 824;

// The placeholder words of the object pick prompts, by pick type (1 point .. 6 element).
struct Placeholder {
  std::string_view word;
  int32_t pickType;
};
constexpr std::array<Placeholder, 8> kPlaceholders = {{
    {"'point-old'", 1},
    {"'line-old'", 2},
    {"'surf-old'", 3},
    {"'body-old'", 4},
    {"'node-old'", 5},
    {"'vertex-old'", 5},
    {"'elem-old'", 6},
    {"'cell-old'", 6},
}};

// The fixed menu switches: answers naming a material or property definition lead to a menu
// that depends on whether the model has any.
constexpr int32_t kDefineKeyword = 118;
constexpr int32_t kListKeyword = 119;
constexpr int32_t kMaterialKeyword = 281;
constexpr int32_t kPropertyKeyword = 282;
constexpr int32_t kBothKeyword = 283;
constexpr std::array<int32_t, 2> kTableKeywords = {295, 296};
constexpr int32_t kMaterialTableKeyword = 432;
constexpr int32_t kPropertyTableKeyword = 434;
constexpr int32_t kStateWordMode = 2;

struct Token {
  int32_t kind = kTokenNone;
  int32_t first = 0;
  int32_t last = 0;
  int32_t ivalue = 0;
  float rvalue = 0.0f;
};

// The next token of the command line from START on, in lexer MODE.
Token readToken(int32_t start, int32_t mode) {
  Token t;
  t.first = start;
  t.last = start - 1;
  NXTTKN(CMDLIN.lineCodes, start, kLineCodes, mode, t.kind, t.first, t.last, t.ivalue, t.rvalue);
  return t;
}

// The position of the last non-blank code of the command line, 0 for a blank line.
int32_t lineEnd() {
  int32_t n = kLineCodes;
  while (n > 0 && CMDLIN.line(n) == kBlankCode) --n;
  return n;
}

bool isCode(int32_t code, char c) { return code == codeOf(c); }

// |K| without the overflow of the most negative word.
int32_t magnitude(int32_t k) {
  return k == INT32_MIN ? INT32_MAX : std::abs(k);
}

// The entry count of the menu record at word RECORD, taken modulo 64.
int32_t itemCount(int32_t record) {
  const int32_t n = mnuWord(record + 1) % kMenuCountBase;
  return n < 0 ? n + kMenuCountBase : n;
}

// The echo line as a text for the host callbacks, with SUFFIX after it.
std::string echoText(std::string_view suffix = {}) {
  std::string s;
  const int32_t n = std::clamp(gEchoLine.length, 0, kEchoCodes);
  for (int32_t k = 0; k < n; ++k) s.push_back(charOf(gEchoLine.codes[static_cast<std::size_t>(k)]));
  s.append(suffix);
  return s;
}

// The command line as a text of its 255 characters.
std::string lineText() {
  std::string s;
  for (int32_t code : CMDLIN.lineCodes) s.push_back(charOf(code));
  return s;
}

void appendEcho(char c) {
  if (gEchoLine.length >= 0 && gEchoLine.length < kEchoCodes) {
    gEchoLine.codes[static_cast<std::size_t>(gEchoLine.length++)] = codeOf(c);
  }
}

// Copies CODES into the answer text store from its next free position, cut to the room
// left, and answers the text reference of what was copied.
int32_t storeText(std::span<const int32_t> codes) {
  const int32_t fill = std::clamp(CMDLIN.textFill, 0, kTextCodes);
  const int32_t n = std::min(static_cast<int32_t>(codes.size()), kTextCodes - fill);
  std::copy_n(codes.begin(), n, CMDLIN.textCodes.begin() + fill);
  CMDLIN.textFill = fill + n;
  return textReference(fill + 1, n);
}

// The reference of the next COUNT codes of the answer text store, which a typed-argument
// check has copied there; the fill position moves past them.
int32_t takeCheckedText(int32_t count) {
  const int32_t fill = std::clamp(CMDLIN.textFill, 0, kTextCodes);
  const int32_t n = std::clamp(count, 0, kTextCodes - fill);
  CMDLIN.textFill = fill + n;
  return textReference(fill + 1, n);
}

// Starts a new command in menu MENUID: the answer records cleared, the counters, the text
// store, the pick counters and the continuation count reset, the log emptied. False when
// a record could not be cleared (the store has failed; M830 was written).
bool startCommand(int32_t menuId) {
  MNUFND(menuId, CMDLIN.currentMenu);
  const int32_t rows = std::max(kClearedRecords, MNUCTL.answerCount);
  for (int32_t i = 1; i <= rows; ++i) {
    int32_t status = 0;
    for (auto put : {P4ITEM, P4MNOF, P4ULST, P4OPER, P4ULS2}) {
      put(i, 0, status);
      if (status != 0) return false;
    }
  }
  MNUCTL.answerCount = 0;
  MNUCTL.integerCount = 0;
  MNUCTL.realCount = 0;
  CMDLIN.textFill = 0;
  CMDLIN.textCodes.fill(kBlankCode);
  gPickCounters = {};
  CMDLIN.continuations = 0;
  int32_t status = 0;
  LOGTKN(kLogReset, 0, 0, {}, status);
  return true;
}

// Ends the parse with the line rejected: state 2, nothing pending.
void reject() {
  MNUCTL.inputState = kStateRejected;
  CMDLIN.pending = 0;
}

// Returns the input from a command file to the keyboard, the file staying open.
void leaveCommandFile() {
  if (IOMODE.inputMode != kInputTerminal) CMFEND(0);
}

// Shows the rejected line to the host with the position of the offending token.
void showRejected(int32_t position) {
  std::string line = lineText();
  std::string echo = echoText();
  HCCMD3(FText(line), position, FText(echo));
}

// The pick type that the token FIRST..LAST names as a placeholder word, 0 for none.
int32_t placeholderType(int32_t first, int32_t last) {
  for (const Placeholder& p : kPlaceholders) {
    if (last - first + 1 != static_cast<int32_t>(p.word.size())) continue;
    bool same = true;
    for (int32_t k = 0; k < static_cast<int32_t>(p.word.size()) && same; ++k) {
      same = isCode(CMDLIN.line(first + k), p.word[static_cast<std::size_t>(k)]);
    }
    if (same) return p.pickType;
  }
  return 0;
}

// The report of a line that matched nothing, the offending token beginning at FIRST.
void reportIncorrect(int32_t inputMode, int32_t first) {
  CMDLIN.pending = 0;
  if (inputMode == kParseKeyboard) {
    MSGE3(kE3200);
    return;
  }
  const Token offending = readToken(first, kLexToken);
  if (offending.kind != kTokenNone) {
    const int32_t type = placeholderType(offending.first, offending.last);
    if (type != 0) {
      int32_t found = 0;
      PCKPRM(CMDLIN.currentMenu, type, found);
      if (found == 1) return;
    }
  }
  const int32_t start = std::clamp(CMDLIN.parseStart, 1, kLineCodes);
  const int32_t n = std::max(lineEnd() - start + 1, 0);
  const std::array<int32_t, 2> marks = {offending.first - start + 1, offending.last - start + 1};
  const std::array<int32_t, 1> length = {n};
  MSGM(kM824, marks, {}, std::span<const int32_t>(CMDLIN.lineCodes).subspan(static_cast<std::size_t>(start - 1)),
       length);
  showRejected(offending.first);
}

// Appends the echo line to the command log, or spills it from the third continuation line
// of a command on.
void logEcho(int32_t mode) {
  int32_t status = 0;
  LOGTKN(mode, 1, gEchoLine.length, gEchoLine.codes, status);
}

void buildPrompt(std::span<int32_t> context, int32_t link) {
  int32_t stop = 0;
  PRMTYP(magnitude(link), context, stop);
}

// Codes FIRST..LAST of the command line.
std::span<const int32_t> lineCodes(int32_t first, int32_t last) {
  return std::span<const int32_t>(CMDLIN.lineCodes)
      .subspan(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

// The text an argument takes from position FIRST: the rest of the line (lexer mode 5) or
// the word up to the next blank (mode 7). Any token starts one, a "," or "$" too; a "/"
// standing alone (the cancel) does not. False when nothing is taken.
bool wholeText(int32_t first, int32_t mode, Token& text) {
  text = readToken(first, mode);
  if (text.kind == kTokenText) return true;
  if (text.kind != kTokenComma && text.kind != kTokenDollar) return false;
  // A separator of its own to the lexer, but the first character of the text here.
  int32_t end = mode == kLexRest ? lineEnd() : text.first;
  while (mode != kLexRest && end < kLineCodes && CMDLIN.line(end + 1) != kBlankCode) ++end;
  text.last = std::max(end, text.first);
  text.kind = kTokenText;
  return true;
}

// --- MNUMAT -------------------------------------------------------------------------------

// One token being matched: its work copy and what the search has found so far.
struct Match {
  std::array<int32_t, kLineCodes> work{};  // the token, upper-cased, from position 1
  int32_t length = 0;
  int32_t answer = 0;   // the answer record of this token
  int32_t keyword = 0;  // the keyword matched
  int32_t kind = kMatchNone;
  int32_t link = 0;
  int32_t result = 0;
  int32_t status = 0;  // the first failed put
  bool ended = false;

  void put(void (*field)(int32_t, int32_t, int32_t&), int32_t value) {
    int32_t s = 0;
    field(answer, value, s);
    if (s != 0) status = s;
  }
  void putReal(int32_t row, float value) {
    int32_t s = 0;
    P4REAL(row, value, s);
    if (s != 0) status = s;
  }
  void putInt(int32_t row, int32_t value) {
    int32_t s = 0;
    P4INT(row, value, s);
    if (s != 0) status = s;
  }
};

// An ambiguous or refused token: its record cleared and given back, no link, result 1.
void refuse(Match& m) {
  m.put(P4ITEM, 0);
  m.put(P4MNOF, 0);
  m.put(P4OPER, 0);
  --MNUCTL.answerCount;
  m.link = 0;
  m.result = 1;
  m.ended = true;
}

void ambiguous(Match& m) {
  MSGE3(kE3210);
  refuse(m);
}

// A keyword item: the token, after an operator sign, equal to the keyword or a leading part
// of it.
void matchKeyword(Match& m, int32_t entry, int32_t position, int32_t link) {
  const int32_t header = mnuWord(entry);
  const int32_t number = header / kKeywordHeaderBase;
  if (number == kTerminatorKeyword ||
      (number >= kFirstSkippedKeyword && number <= kLastSkippedKeyword)) {
    return;
  }
  int32_t oper = kOperNone;
  int32_t from = 1;
  if (m.length >= 1) {
    const int32_t c = m.work[0];
    if (isCode(c, '*') || isCode(c, '+') || isCode(c, '-')) {
      oper = isCode(c, '+') ? kOperPlus : isCode(c, '-') ? kOperMinus : kOperNone;
      from = 2;
    }
  }
  const int32_t count = header % kKeywordHeaderBase * std::max(MNUCTL.charsPerWord, 1);
  int32_t compared = -1;
  CODCMP(MNUTAB.words, entry + 1, entry + count, m.work, from, m.length, compared);
  if (compared < 0) return;
  if (compared > 0 && m.kind != kMatchNone) {
    ambiguous(m);
    return;
  }
  m.put(P4ITEM, number);
  m.put(P4MNOF, position);
  m.put(P4OPER, oper);
  m.keyword = number;
  m.kind = kMatchKeyword;
  m.link = link;
  m.ended = compared == 0;
}

// A token-class item. LAST may move to the end of the text a text or file class takes.
void matchClass(Match& m, int32_t tokenClass, int32_t position, int32_t link, int32_t tokenKind,
                int32_t first, int32_t& last, int32_t ivalue, float rvalue) {
  const bool comma = tokenKind == kTokenComma;
  const bool integer = tokenKind == kTokenInteger;
  const bool number = integer || tokenKind == kTokenReal;
  LastValues& lastValues = gLastValues;

  switch (tokenClass) {
    case kClassInteger: {
      if (!integer && !comma) return;
      const int32_t value = comma ? lastValues.integer : ivalue;
      lastValues.integer = value;
      m.putInt(++MNUCTL.integerCount, value);
      m.kind = kMatchInteger;
      break;
    }
    case kClassReal:
    case kClassNdcFirst:
    case kClassNdcSecond:
    case kClassX:
    case kClassY:
    case kClassZ: {
      if (!number && !comma) return;
      float* remembered = &lastValues.real;
      if (tokenClass == kClassNdcFirst || tokenClass == kClassNdcSecond) {
        remembered = &lastValues.ndc[static_cast<std::size_t>(tokenClass - kClassNdcFirst)];
      } else if (tokenClass >= kClassX) {
        remembered = tokenClass == kClassX ? &lastValues.x : tokenClass == kClassY ? &lastValues.y : &lastValues.z;
      }
      const float value = comma ? *remembered : rvalue;
      *remembered = value;
      const int32_t row = ++MNUCTL.realCount;
      m.putReal(row, value);
      // The first of a pair or a triple clears the reals that follow it.
      const int32_t cleared = tokenClass == kClassNdcFirst ? 1 : tokenClass == kClassX ? 2 : 0;
      for (int32_t k = 1; k <= cleared; ++k) m.putReal(row + k, 0.0f);
      m.kind = kMatchReal;
      break;
    }
    case kClassText:
    case kClassFile: {
      if (m.kind != kMatchNone) return;
      // The text runs from the token's start to the end of the line, or to the next blank:
      // the parse goes on after it.
      Token text;
      if (!wholeText(first, tokenClass == kClassText ? kLexRest : kLexWord, text)) return;
      last = text.last;
      m.put(P4ITEM, storeText(lineCodes(text.first, text.last)));
      m.put(P4MNOF, position);
      m.kind = kMatchText;
      m.link = link;
      m.ended = true;
      return;
    }
    default:
      return;
  }
  m.put(P4ITEM, tokenClass);
  m.put(P4MNOF, position);
  m.link = link;
  m.ended = true;
}

// A free-text item: the token, upper-cased unless its case is kept, while nothing has
// matched yet; a later item may still match. Kept as typed, it is a name the caller uses
// as given (a file name at the dump-file prompt): the word is taken whole up to the next
// blank, "/" included, and the parse goes on after it.
void matchFreeText(Match& m, int32_t first, int32_t& last, int32_t position, int32_t link) {
  if (m.kind != kMatchNone) return;
  std::span<const int32_t> codes;
  if (gParseSwitches.freeTextAsTyped == 1) {
    Token word;
    if (!wholeText(first, kLexWord, word)) return;
    last = word.last;
    codes = lineCodes(word.first, word.last);
  } else {
    codes = std::span<const int32_t>(m.work).first(static_cast<std::size_t>(last - first + 1));
  }
  const int32_t c = CMDLIN.line(first);
  m.put(P4ITEM, storeText(codes));
  m.put(P4MNOF, position);
  m.put(P4OPER, isCode(c, '+') ? kOperPlus : isCode(c, '-') ? kOperMinus : kOperNone);
  m.kind = kMatchText;
  m.link = link;
}

// Stores the answer of an exact typed-argument check by its value code.
void storeChecked(Match& m, int32_t kind, const ArgumentCheck& check) {
  const int32_t code = check.valueCode;
  const int32_t oper = check.oper - 1;
  if (code > 8) return;
  m.put(P4ITEM, code < 0 ? code : -kind);
  switch (code) {
    case 0:
    case 4:
    case 5:
      m.put(P4UTYP, code == 0 ? kTypeText : code == 4 ? kTypeQuoted : kTypeAsTyped);
      m.put(P4ULST, takeCheckedText(check.listValue));
      m.put(P4OPER, oper);
      break;
    case 2:
    case 6:
      m.put(P4UTYP, kTypeInteger);
      m.putInt(++MNUCTL.integerCount, code == 2 ? check.listValue : intOf(check.real));
      if (code == 6) m.put(P4ULST, check.listValue);
      m.put(P4OPER, 0);
      break;
    case 3:
    case 7:
      m.put(P4UTYP, kTypeReal);
      m.putReal(++MNUCTL.realCount, check.real);
      if (code == 7) m.put(P4ULST, check.listValue);
      m.put(P4OPER, 0);
      break;
    case 8:
      m.put(P4UTYP, kTypeAsTyped);
      m.put(P4ULST, check.listValue);
      m.put(P4ULS2, takeCheckedText(intOf(check.real)));
      m.put(P4OPER, 0);
      break;
    default:  // below 0, and 1: a list answer
      m.put(P4UTYP, kTypeList);
      m.put(P4ULST, check.listValue);
      m.put(P4OPER, oper);
      break;
  }
}

// A check that failed below -1000: the line is dropped, after a message for the memory
// failures (which also end command-file input) and the warnings.
void checkFailed(Match& m, int32_t status) {
  m.result = -2;
  m.ended = true;
  switch (status) {
    case -1001:
    case -1003:
      MSGE1(kE2100);
      m.result = -3;
      break;
    case -1002:
    case -1004:
      MSGE1(kE2130);
      m.result = -3;
      break;
    case -1010:
      MSGW1(kW2310);
      break;
    case -1020:
      MSGW1(kW2300);
      break;
    case -1030:
      MSGW1(kW2320);
      break;
    default:
      break;
  }
}

// A typed-argument item of KIND, checked by VALCHK.
void matchTyped(Match& m, std::span<int32_t> context, int32_t inputMode, int32_t kind,
                int32_t first, int32_t last, int32_t position, int32_t link) {
  ArgumentCheck check;
  const int32_t fill = std::clamp(CMDLIN.textFill, 0, kTextCodes);
  check.text = std::span<int32_t>(CMDLIN.textCodes).subspan(static_cast<std::size_t>(fill));
  check.nextMenu = link == 0 ? 0 : mnuWord(magnitude(link));
  check.sign = link < 0 ? -1 : 1;
  VALCHK(context, kind, CMDLIN.lineCodes, first, last, inputMode, check);
  if (check.status == kCheckNoMatch) return;
  if (check.status == kCheckAmbiguous) {
    ambiguous(m);
    return;
  }
  if (check.status < -1000) {
    checkFailed(m, check.status);
    return;
  }
  int32_t next = 0;
  if (check.nextMenu != 0) {
    MNUFND(check.nextMenu, next);
    next *= check.sign < 0 ? -1 : 1;
  }
  if (check.status == kCheckExact) {
    storeChecked(m, kind, check);
    m.ended = true;
  } else {
    if (m.kind != kMatchNone) {
      ambiguous(m);
      return;
    }
    m.put(P4ULST, check.listValue);
    m.put(P4OPER, check.oper - 1);
    m.put(P4ITEM, -kind);
  }
  m.put(P4MNOF, position);
  m.kind = kMatchTyped;
  m.link = next;
}

// The menus that depend on the material and property definitions of the model.
void fixedSwitches(int32_t& link) {
  const int32_t n = MNUCTL.answerCount;
  if (n != 2 && n != 3) return;
  const int32_t a1 = ITEM(1);
  const int32_t a2 = ITEM(2);
  const int32_t a3 = n == 3 ? ITEM(3) : 0;
  const bool table = std::find(kTableKeywords.begin(), kTableKeywords.end(), a2) != kTableKeywords.end();
  int32_t menu = 0;
  bool optional = false;
  auto counts = [](int32_t& materials, int32_t& properties) {
    ITMNAM(kStateWordMode, 0, materials);
    ITMNA2(kStateWordMode, 0, properties);
  };
  int32_t materials = 0;
  int32_t properties = 0;
  if (n == 2 && a1 == kDefineKeyword && a2 == kMaterialKeyword) {
    counts(materials, properties);
    menu = materials > 0 ? 8150 : 810;
  } else if (n == 3 && a1 == kListKeyword && table && a3 == kMaterialTableKeyword) {
    counts(materials, properties);
    if (materials > 0) menu = 9535;
    optional = true;
  } else if (n == 2 && a1 == kDefineKeyword && a2 == kBothKeyword) {
    counts(materials, properties);
    menu = materials > 0 ? (properties > 0 ? 8180 : 8181) : (properties > 0 ? 8183 : 830);
  } else if (n == 2 && a1 == kDefineKeyword && a2 == kPropertyKeyword) {
    counts(materials, properties);
    menu = properties > 0 ? 8200 : 820;
  } else if (n == 3 && a1 == kListKeyword && table && a3 == kPropertyTableKeyword) {
    counts(materials, properties);
    if (properties > 0) menu = 9538;
    optional = true;
  }
  if (menu == 0) return;
  int32_t record = 0;
  MNUFND(menu, record);
  link = optional ? -record : record;
}

// What follows a match: pick and cursor keywords, the repeat count, the fixed switches.
void afterMatch(Match& m, int32_t inputMode) {
  const int32_t number = m.kind == kMatchKeyword ? m.keyword : 0;
  if (number >= kFirstPickKeyword && number <= kLastPickKeyword) {
    if (IOMODE.inputMode == kInputTerminal && PLTDEV.recordCount == 0) {
      // No graphics device takes a pick: the keyword is refused.
      refuse(m);
      return;
    }
    if (inputMode == kParsePending) {
      PCKDLG(number, MNUCTL.answerCount);
    } else {
      PCKLBL(number);
    }
    if (number == kPickPointKeyword) {
      m.kind = kMatchPick;
    } else if (number == kFirstPickKeyword || (number >= 12 && number <= kLastCursorKeyword) ||
               number == kCursorKeyword) {
      m.kind = kMatchCursor;
    } else {
      m.kind = kMatchGraphics;
    }
    return;
  }
  int32_t verdict = 0;
  RPTCNT(m.link, verdict);
  if (verdict == -1) {
    refuse(m);
    return;
  }
  if (verdict == 1) return;
  fixedSwitches(m.link);
}

}  // namespace

void MNUMAT(int32_t inputMode, std::span<int32_t> context, int32_t tokenKind, int32_t first,
            int32_t& last, int32_t ivalue, float rvalue, int32_t& matchKind, int32_t& nextLink,
            int32_t& result) {
  matchKind = kMatchNone;
  nextLink = 0;
  result = 0;
  const int32_t record = CMDLIN.currentMenu;
  if (record == 0) return;
  first = std::clamp(first, 1, kLineCodes);
  last = std::clamp(last, first, kLineCodes);

  Match m;
  m.work.fill(kBlankCode);
  m.length = last - first + 1;
  std::copy_n(CMDLIN.lineCodes.begin() + (first - 1), m.length, m.work.begin());
  UPCCOD(m.work, 1, m.length);
  m.answer = ++MNUCTL.answerCount;

  const int32_t items = itemCount(record);
  for (int32_t k = 1; k <= items && !m.ended; ++k) {
    const int32_t item = mnuWord(record + 2 * k);
    const int32_t link = mnuWord(record + 2 * k + 1);
    if (item > 0) {
      const int32_t number = mnuWord(item) / kKeywordHeaderBase;
      if (number >= 1 && number <= kLastTokenClass) {
        matchClass(m, number, k, link, tokenKind, first, last, ivalue, rvalue);
      } else {
        matchKeyword(m, item, k, link);
      }
    } else if (item == 0) {
      matchFreeText(m, first, last, k, link);
    } else {
      matchTyped(m, context, inputMode, magnitude(item), first, last, k, link);
    }
  }

  if (m.result == 0 && m.status == 0 && m.kind != kMatchNone) afterMatch(m, inputMode);
  // A failed put leaves the answer incomplete: the line is dropped.
  if (m.status != 0) m.result = -3;
  matchKind = m.result == 0 ? m.kind : kMatchNone;
  nextLink = m.link;
  result = m.result;
}

void MNUFND(int32_t menuId, int32_t& record) {
  const int32_t id = magnitude(menuId);
  const int32_t start = MNUCTL.menuStart;
  // Every record takes two words or more, so the walk ends within the menu area.
  for (int32_t r = start; r >= 1 && r < MNUCTL.menuEnd; r += 2 + 2 * itemCount(r)) {
    if (mnuWord(r) == id) {
      record = r;
      return;
    }
  }
  record = start;
}

void MNUCHK(int32_t menuId, std::span<const int32_t> line, int32_t first, int32_t last,
            int32_t& found) {
  found = 0;
  const int32_t n = static_cast<int32_t>(line.size());
  first = std::max(first, 1);
  last = std::min(last, n);
  if (first > last) return;
  std::array<int32_t, kLineCodes> work{};
  work.fill(kBlankCode);
  const int32_t length = std::min(last - first + 1, kLineCodes);
  std::copy_n(line.begin() + (first - 1), length, work.begin());
  UPCCOD(work, 1, length);

  int32_t record = 0;
  MNUFND(menuId, record);
  int32_t abbreviations = 0;
  const int32_t items = itemCount(record);
  for (int32_t k = 1; k <= items; ++k) {
    const int32_t item = mnuWord(record + 2 * k);
    int32_t compared = -1;
    if (item > 0) {
      const int32_t header = mnuWord(item);
      const int32_t number = header / kKeywordHeaderBase;
      if (number >= 1 && number <= kLastTokenClass) break;
      if (number == kTerminatorKeyword ||
          (number >= kFirstSkippedKeyword && number <= kLastSkippedKeyword)) {
        continue;
      }
      const int32_t count = header % kKeywordHeaderBase * std::max(MNUCTL.charsPerWord, 1);
      CODCMP(MNUTAB.words, item + 1, item + count, work, 1, length, compared);
    } else if (item <= -kFirstNameKind && item >= -kLastNameKind) {
      const auto& slot = IOMODE.nameSlot(-item - kNameSlotBase);
      const int32_t used = std::clamp(slot.count, 0, IoMode::kNameSlotCodes);
      if (used == 0) continue;
      CODCMP(slot.codes, 1, used, work, 1, length, compared);
    }
    if (compared == 0) {
      found = 1;
      return;
    }
    if (compared > 0) ++abbreviations;
  }
  found = abbreviations == 1 ? 1 : 0;
}

void PRSLIN(std::span<int32_t> context, int32_t menuId, FText text, int32_t inputMode,
            int32_t& nextLink) {
  nextLink = 0;
  if (inputMode == kParseKeyboard) CMDLIN.pending = 0;
  const bool fromFile = IOMODE.inputMode != kInputTerminal;
  const int32_t state = MNUCTL.inputState;
  // A reply typed at a prompt always starts a new command: after ":" or "=" the prompt
  // parses the whole answer line again.
  const bool continued = inputMode != kParseKeyboard &&
                         (state == kStateColon || (state == kStateEquals && fromFile));
  if (!continued && !startCommand(menuId)) {
    reject();
    return;
  }

  gEchoLine.codes.fill(kBlankCode);
  gEchoLine.length = 0;
  if (CMDLIN.pending < 1 || CMDLIN.pending > kLineCodes || (fromFile && state == kStateEquals)) {
    CMDLIN.lineCodes.fill(kBlankCode);
    int32_t last = 0;
    TXTCOD(text, 1, CMDLIN.lineCodes, last);
    CMDLIN.pending = 1;
  }
  CMDLIN.parseStart = CMDLIN.pending;
  const int32_t end = lineEnd();

  Token t = readToken(CMDLIN.pending, kLexPick);
  bool taken = false;
  int32_t link = 0;
  for (;;) {
    if (t.kind == kTokenNone || t.kind == kTokenSemicolon || t.kind == kTokenColon ||
        t.kind == kTokenEquals || t.kind == kTokenStar) {
      break;
    }
    int32_t matchKind = kMatchNone;
    int32_t result = 0;
    int32_t last = t.last;
    MNUMAT(inputMode, context, t.kind, t.first, last, t.ivalue, t.rvalue, matchKind, link, result);
    if (result == -2) {
      reject();
      return;
    }
    if (result == -3) {
      leaveCommandFile();
      reject();
      return;
    }
    if (result > 0) {
      leaveCommandFile();
      if (inputMode == kParsePending) showRejected(t.first);
      reject();
      return;
    }
    if (matchKind == kMatchNone) {
      leaveCommandFile();
      reject();
      reportIncorrect(inputMode, t.first);
      return;
    }
    if (matchKind == kMatchPick || matchKind == kMatchCursor || matchKind == kMatchGraphics) {
      MNUCTL.inputState = kStateGraphics;
      nextLink = link;
      return;
    }
    ANSSET(matchKind, t.first, last, gEchoLine.length, gEchoLine.codes);
    last = std::max(last, t.first);
    // A text between double quotes: the parse goes on after the closing quote. Only
    // positions inside the line are looked at; the line has nothing before 1 or past 255.
    if (t.kind == kTokenText && t.first > 1 && last < kLineCodes &&
        isCode(CMDLIN.line(t.first - 1), '"') && isCode(CMDLIN.line(last + 1), '"')) {
      ++last;
    }
    CMDLIN.currentMenu = magnitude(link);
    taken = true;
    if (link != 0) {
      appendEcho(' ');
      t = readToken(last + 1, kLexPick);
    } else if (last >= end) {
      t = readToken(last + 1, kLexSeparator);
      break;
    } else {
      t = readToken(last + 1, kLexPick);
    }
  }

  if (!taken) {
    if (t.kind == kTokenNone || t.kind == kTokenSemicolon) {
      if (menuId >= 0) {
        reject();
        return;
      }
    } else {
      reject();
      reportIncorrect(inputMode, t.first);
      return;
    }
  }

  int32_t newState = kStateComplete;
  if (link >= 1) {
    newState = t.kind == kTokenEquals ? kStateEquals
               : t.kind == kTokenColon ? kStateColon
                                       : kStateNeedsMore;
    if (newState == kStateNeedsMore) leaveCommandFile();
    CMDLIN.pending = 0;
  } else if (t.kind == kTokenColon) {
    newState = kStateColon;
  } else if (t.kind == kTokenEquals && link < 0) {
    newState = kStateEquals;
    CMDLIN.pending = 0;
  } else if (t.kind == kTokenSemicolon) {
    newState = kStateMorePending;
    appendEcho(';');
    const Token next = readToken(t.last + 1, kLexPick);
    CMDLIN.pending = next.kind == kTokenNone ? 0 : next.first;
  } else {
    CMDLIN.pending = 0;
  }
  if (newState == kStateColon) {
    appendEcho(':');
    CMDLIN.pending = 0;
    ++CMDLIN.continuations;
  }
  MNUCTL.inputState = newState;

  if (newState == kStateMorePending || newState == kStateComplete || newState == kStateColon) {
    if (SYNSTA.echo != 0) {
      std::string echo = echoText();
      HCCMD1(FText(echo));
    }
    if (inputMode == kParseKeyboard) {
      logEcho(kLogAppend);
      if (IOMODE.inputMode == kInputTerminal && link != 0) buildPrompt(context, link);
    } else {
      int32_t found = 0;
      int32_t remembered = 0;
      PCKRST(kPickRemember, 0, 0, found, remembered);
      logEcho(CMDLIN.continuations < 2 ? kLogAppend : kLogSpill);
    }
  } else if (newState == kStateNeedsMore || newState == kStateEquals) {
    if (inputMode == kParseKeyboard) {
      if (IOMODE.inputMode == kInputTerminal) buildPrompt(context, link);
    } else if (!fromFile) {
      int32_t found = 0;
      PCKPRM(link, kPickGeometry, found);
      if (found == 0) PCKPRM(link, kPickAny, found);
      if (found == 0) {
        std::string echo = echoText();
        HCCMD2(FText(echo));
      }
    } else if (newState == kStateEquals) {
      logEcho(kLogAppend);
      if (SYNSTA.echo != 0) {
        std::string echo = echoText(" =");
        HCCMD1(FText(echo));
      }
    }
  }
  nextLink = link;
}

}  // namespace kvr
