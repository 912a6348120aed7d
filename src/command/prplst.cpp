// The property words: lists and checks of the argument kinds 301 to 400.
#include "command/prplst.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "command/ansrec.h"
#include "command/atrrec.h"
#include "command/atrwlk.h"
#include "command/elshpn.h"
#include "command/mnuctl.h"
#include "command/prpseq.h"
#include "command/trndsp.h"
#include "command/vallst.h"
#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/codcmp.h"
#include "modeldb/entqry.h"
#include "platform/fmtedit.h"
#include "runtime/codtxt.h"
#include "runtime/modcnt.h"
#include "runtime/nxttkn.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

// The kinds.
constexpr int32_t kFirstPropertyKind = 300;
constexpr int32_t kMaterialWord = 301;
constexpr int32_t kPropertyWord = 302;
constexpr int32_t kDirectionWord = 303;
constexpr int32_t kPositionWord = 304;
constexpr int32_t kTranslatorNames = 305;
constexpr int32_t kDofNames = 306;
constexpr int32_t kShapes = 307;

// The expected answers of PRPSEQ.
constexpr int32_t kExpectPoint = 1;
constexpr int32_t kExpectDirection = 2;
constexpr int32_t kExpectValue = 3;
constexpr int32_t kExpectName = 4;
constexpr int32_t kExpectValueOrPoint = 5;
constexpr int32_t kExpectDefinition = 6;

// Value codes of the checks.
constexpr int32_t kCodeText = 0;
constexpr int32_t kCodeChoice = 1;
constexpr int32_t kCodeInteger = 2;
constexpr int32_t kCodeReal = 3;
constexpr int32_t kCodeQuotedText = 5;

constexpr int32_t kPlainOperator = 1;
constexpr int32_t kRequired = 1;
constexpr int32_t kOptional = -1;
constexpr int32_t kCommandEnds = 0;

// Entries: a text and the count of its characters that the prompt shows.
struct EntryText {
  std::string_view text;
  int32_t shown;
};
constexpr EntryText kValueEntry = {"'VALUE'", 9};
constexpr EntryText kNameEntry = {"'NAME'", 8};
constexpr EntryText kDefinitionEntry = {"'DEFN'", 8};
constexpr EntryText kPointEntry = {"'PNAM-O'", 10};
constexpr EntryText kDofEntry = {"'DOF'", 7};
constexpr EntryText kOrientate = {"ORIENTATE", 9};
constexpr EntryText kOffset = {"OFFSET", 6};
constexpr EntryText kNormal = {"NORMAL", 6};
constexpr int32_t kValueEntryKind = 2;
constexpr int32_t kPointEntryKind = 5;
constexpr int32_t kDofEntryKind = 1;

// The answers the kinds read.
constexpr int32_t kTypeAnswer = 3;     // the property (or its type record) of kind 302
constexpr int32_t kOptionAnswer = 4;   // kind 302: the answer that may hold an option
constexpr int32_t kProgramAnswer = 4;  // kinds 305 and 307
constexpr int32_t kTypeRecordGiven = 1;  // MENOFF of answer 3: it names the type record
constexpr int32_t kOptionsDone = 3;      // MENOFF of answer 4: the options are past

// The physical property and its type record.
constexpr int32_t kPropertyType = 3;         // attribute type of a physical property
constexpr int32_t kPropertyDefinition = -2;  // attribute type of its type record
constexpr int32_t kPropertyReals = 5;
constexpr int32_t kTypeWords = 4;
constexpr int32_t kOrientateWord = 2;
constexpr int32_t kOffsetWord = 3;

// Keyword numbers and kinds of a menu table that carries property words.
constexpr int32_t kShapeCommandA = 116;
constexpr int32_t kShapeCommandB = 265;
constexpr int32_t kDefaultSelector = 474;
constexpr int32_t kSecondDofSet = 446;
constexpr int32_t kWholeDofSet = 743;
constexpr int32_t kProgramKind = -404;

// Analysis programs without a translator.
constexpr int32_t kFirstUntranslated = 36;
constexpr int32_t kLastUntranslated = 38;
constexpr int32_t kVariants = 100;

// Kind 307: the next menus after a shape.
constexpr int32_t kShapeMenu = 6550;
constexpr int32_t kSolidShapeMenu = 6551;
constexpr int32_t kShellShapeMenu = 6554;
constexpr std::array<int32_t, 5> kSolidSelectors = {-4, 20, 667, 342, 343};
constexpr std::array<int32_t, 3> kShellSelectors = {-3, 19, 337};
constexpr int32_t kFirstSolidCode = 47;
constexpr int32_t kLastSolidCode = 51;
constexpr int32_t kFirstShellCode = 42;

// Names.
constexpr int32_t kNameChars = 8;
constexpr int32_t kDofChars = 12;
constexpr int32_t kDirectionDofs = 6;  // the names kind 303 offers and takes
constexpr int32_t kShapeWords = 80;
constexpr int32_t kShapeSecondWord = 40;  // the second word of shape k is word 40 + k
constexpr int32_t kPointNames = 1;        // the named array of the point names
constexpr std::string_view kNameFill = "    ";

int32_t magnitude(int32_t v) { return v < 0 ? -v : v; }

int32_t analysisProgram() { return MODCNT.word(kCntAnalysisProgram); }

bool untranslated(int32_t program) {
  return program >= kFirstUntranslated && program <= kLastUntranslated;
}

bool tablePresent(DefinitionTable t) { return tableState(t) > 0; }

// The expected answer: the magnitude of entry p; 0 when p lies outside 1..100.
int32_t expectedAnswer() { return magnitude(PRPSEQ.expected()); }

int32_t codeAt(std::span<const int32_t> line, int32_t k) {
  return k >= 1 && k <= static_cast<int32_t>(line.size()) ? line[static_cast<std::size_t>(k - 1)]
                                                          : kBlankCode;
}

// The code line of TEXT.
template <std::size_t N>
std::array<int32_t, N> codesOf(std::string_view text) {
  std::array<int32_t, N> codes{};
  codes.fill(kBlankCode);
  for (std::size_t k = 0; k < text.size() && k < N; ++k) codes[k] = codeOf(text[k]);
  return codes;
}

// The characters of the A4 words WORDS (four to a word, the first in the lowest byte).
std::string a4Text(std::span<const int32_t> words) {
  std::string s;
  for (int32_t w : words) {
    for (int32_t b = 0; b < 4; ++b) s.push_back(static_cast<char>((static_cast<uint32_t>(w) >> (8 * b)) & 0xFFu));
  }
  return s;
}

// TEXT without its leading and trailing blanks, tabs and NULs.
std::string stripped(std::string text) {
  FixedText t(static_cast<int32_t>(text.size()), text);
  int32_t n = static_cast<int32_t>(text.size());
  STRIPB(t, n);
  const std::string s(t.view().substr(0, static_cast<std::size_t>(std::max(n, 0))));
  // An all-blank text keeps one character, which counts as none.
  return s.find_first_not_of(std::string_view(" \t\0", 3)) == std::string::npos ? std::string() : s;
}

bool blankName(std::span<const int32_t> words) {
  return std::all_of(words.begin(), words.end(), [](int32_t w) { return w == kBlankCode; });
}

// Whether the token FIRST..LAST of LINE is exactly TEXT.
bool tokenIs(std::span<const int32_t> line, int32_t first, int32_t last, std::string_view text) {
  if (text.empty() || last - first + 1 != static_cast<int32_t>(text.size())) return false;
  for (int32_t k = 0; k < static_cast<int32_t>(text.size()); ++k) {
    if (codeAt(line, first + k) != codeOf(text[static_cast<std::size_t>(k)])) return false;
  }
  return true;
}

// CODCMP of the token against the stored word TEXT: 0 equal, n > 0 the token abbreviates
// it, -1 otherwise.
int32_t compareWord(std::string_view text, std::span<const int32_t> line, int32_t first,
                    int32_t last) {
  const auto codes = codesOf<kDofChars>(text);
  int32_t result = kCheckNoMatch;
  CODCMP(codes, 1, static_cast<int32_t>(std::min<std::size_t>(text.size(), kDofChars)), line, first,
         last, result);
  return result;
}

// Copies codes F..L of LINE into the check's text, cut to the room left there; the list
// value counts the codes copied.
void copyText(std::span<const int32_t> line, int32_t f, int32_t l, ArgumentCheck& check) {
  const int32_t n = std::clamp(l - f + 1, 0, static_cast<int32_t>(check.text.size()));
  for (int32_t k = 0; k < n; ++k) check.text[static_cast<std::size_t>(k)] = codeAt(line, f + k);
  check.listValue = n;
}
void copyText(std::string_view text, ArgumentCheck& check) {
  const int32_t n = std::clamp(static_cast<int32_t>(text.size()), 0, static_cast<int32_t>(check.text.size()));
  for (int32_t k = 0; k < n; ++k) check.text[static_cast<std::size_t>(k)] = codeOf(text[static_cast<std::size_t>(k)]);
  check.listValue = n;
}

// The point whose name is the token's first eight characters; 0 when none carries it.
int32_t pointNamed(std::span<const int32_t> line, int32_t first, int32_t last) {
  // Both words start as the blank word, so a name of four characters or less is held as
  // a point's name is.
  std::array<int32_t, 2> name = {kBlankCode, kBlankCode};
  int32_t end = 0;
  FMTVAL(line, first, std::min(last, first + kNameChars - 1), 1, name, end);
  return ARRFND(name, kPointNames, 1, CNTPNT());
}

// The lexer over the token in MODE.
struct Lexed {
  int32_t kind = kTokenNone;
  int32_t first = 0;
  int32_t last = 0;
  int32_t ivalue = 0;
  float rvalue = 0.0f;
};
Lexed lex(std::span<const int32_t> line, int32_t first, int32_t last, int32_t mode) {
  Lexed t;
  NXTTKN(line, first, last, mode, t.kind, t.first, t.last, t.ivalue, t.rvalue);
  return t;
}

// Moves the sequence on after an accepted token: p + 1, refused past entry 100 (p then
// stays); the new entry decides the next menu (0 ends the command) or the sign.
void advance(ArgumentCheck& check) {
  if (PRPSEQ.position >= PrpSeq::kEntries) {
    check.status = kCheckNoMatch;
    return;
  }
  ++PRPSEQ.position;
  check.status = kCheckExact;
  const int32_t next = PRPSEQ.expected();
  if (next == 0) {
    check.nextMenu = kCommandEnds;
  } else {
    check.sign = next > 0 ? kRequired : kOptional;
  }
}

// ----- Lists ----------------------------------------------------------------------------

bool add(ValueList& list, int32_t kind, int32_t value, std::string_view text, int32_t& status) {
  if (list.append(kind, value, text)) return true;
  status = kListFull;
  return false;
}
bool add(ValueList& list, int32_t kind, const EntryText& e, int32_t& status) {
  return add(list, kind, e.shown, e.text, status);
}

void listMaterialWord(ValueList& list, int32_t& status) {
  if (tablePresent(DefinitionTable::Material)) {
    ATVLS2(kMaterialWord, list, status);
    return;
  }
  // The words of the kind itself carry -(kind - 300).
  const int32_t own = -(kMaterialWord - kFirstPropertyKind);
  switch (expectedAnswer()) {
    case kExpectValue: add(list, kValueEntryKind, kValueEntry, status); break;
    case kExpectName: add(list, own, kNameEntry, status); break;
    case kExpectDefinition: add(list, own, kDefinitionEntry, status); break;
    default: break;
  }
}

// The ORIENTATE and OFFSET flags of the property type that answer 3 names: the type
// record itself, or the one that the first real of the property names.
struct TypeFlags {
  int32_t orientate = 0;
  int32_t offset = 0;
};
TypeFlags typeFlags() {
  int32_t record = MMULST(kTypeAnswer);
  if (MENOFF(kTypeAnswer) != kTypeRecordGiven) {
    std::array<float, kPropertyReals> reals{};
    int32_t count = kPropertyReals;
    ATTVLR(1, kPropertyType, record, 1, count, reals);
    record = intOf(reals[0]);
  }
  TypeFlags f;
  if (record < 1) return f;  // record 0 would be searched by label
  std::array<int32_t, kTypeWords> words{};
  int32_t count = kTypeWords;
  ATTVLI(1, kPropertyDefinition, record, 1, count, words);
  f.orientate = words[kOrientateWord - 1];
  f.offset = words[kOffsetWord - 1];
  return f;
}

void listPropertyWord(ValueList& list, int32_t& status) {
  if (tablePresent(DefinitionTable::Property)) {
    ATVLST(kPropertyWord, list, status);
    return;
  }
  const TypeFlags flags = typeFlags();
  const int32_t count = MNUCTL.answerCount;
  if (count == 3 || (count == 4 && MENOFF(kOptionAnswer) != kOptionsDone &&
                     ITEM(kOptionAnswer) != -kPropertyWord)) {
    if (flags.orientate == 1 && !add(list, -kPropertyWord, kOrientate, status)) return;
    if (flags.offset == 1 && !add(list, -kPropertyWord, kOffset, status)) return;
  }
  const int32_t own = -(kPropertyWord - kFirstPropertyKind);
  switch (expectedAnswer()) {
    case kExpectValue: add(list, kValueEntryKind, kValueEntry, status); break;
    case kExpectName: add(list, own, kNameEntry, status); break;
    case kExpectValueOrPoint:
      if (add(list, kValueEntryKind, kValueEntry, status)) add(list, kPointEntryKind, kPointEntry, status);
      break;
    case kExpectDefinition: add(list, own, kDefinitionEntry, status); break;
    default: break;
  }
}

void listDirectionWord(ValueList& list, int32_t& status) {
  switch (expectedAnswer()) {
    case kExpectPoint: add(list, kPointEntryKind, kPointEntry, status); break;
    case kExpectDirection:
      if (!add(list, -kDirectionWord, kNormal, status)) return;
      for (int32_t i = 1; i <= kDirectionDofs; ++i) {
        if (!add(list, -kDirectionWord, kDofChars, a4Text(DOFNAM.name(i)), status)) return;
      }
      add(list, kDofEntryKind, kDofEntry, status);
      break;
    case kExpectValue: add(list, kValueEntryKind, kValueEntry, status); break;
    case kExpectName: add(list, -(kDirectionWord - kFirstPropertyKind), kNameEntry, status); break;
    default: break;
  }
}

void listTranslatorNames(ValueList& list, int32_t& status) {
  const int32_t program = analysisProgram();
  if (untranslated(program)) return;
  const int32_t item = MMULST(kProgramAnswer);
  // Every variant is asked, whatever the translator answers: a missing one shows its
  // message once per variant.
  for (int32_t v = 1; v <= kVariants; ++v) {
    FixedText name(kNameChars);
    int32_t answer = 0;
    TRNDSP(program, item, v, name, answer);
    if (answer != kTranslatorAccepts) continue;
    if (!add(list, -(kTranslatorNames - kFirstPropertyKind), kNameChars, std::string(name.view()) + std::string(kNameFill), status)) {
      return;
    }
  }
}

// The names of DOFNAM that kind 306 offers: the set chosen by answer 3, and its list.
struct DofSet {
  int32_t first, last;     // names first..last
  int32_t shownLast;       // the last name a list shows
  bool second;             // the second set and list B
  bool whole;              // the whole set, and no list
};
DofSet dofSet() {
  const int32_t item = ITEM(kTypeAnswer);
  DofSet s{};
  s.second = item == kSecondDofSet;
  s.whole = item == kWholeDofSet;
  s.first = s.second ? 17 : 1;
  s.last = s.second ? DofNam::kNames : 16;
  s.shownLast = s.whole ? s.last : s.first + 6;
  return s;
}
int32_t listCount(bool second) {
  return std::clamp(second ? DOFNAM.countB : DOFNAM.countA, 0, DofNam::kListNames);
}
std::span<int32_t, DofNam::kNameWords> listName(bool second, int32_t k) {
  return second ? DOFNAM.nameB(k) : DOFNAM.nameA(k);
}

void listDofNames(ValueList& list, int32_t& status) {
  const DofSet s = dofSet();
  for (int32_t i = s.first; i <= s.shownLast; ++i) {
    if (blankName(DOFNAM.name(i))) continue;
    const std::string text = a4Text(DOFNAM.name(i));
    FixedText t(kDofChars, text);
    int32_t n = kDofChars;
    STRIPB(t, n);
    if (!add(list, -(kDofNames - kFirstPropertyKind), n, text, status)) return;
  }
  if (s.whole) return;
  for (int32_t k = 1; k <= listCount(s.second); ++k) {
    if (blankName(listName(s.second, k))) continue;
    if (!add(list, -(kDofNames - kFirstPropertyKind), kDofChars, a4Text(listName(s.second, k)), status)) {
      return;
    }
  }
}

// The shapes of kind 307: the selector and program the answers give.
struct ShapeQuery {
  bool shapeCommand;  // answers 1 and 2 are 116 and 265
  int32_t selector;
  int32_t program;
  int32_t count = 0;
  std::array<int32_t, kMaxShapeList> codes{};
  std::array<int32_t, kShapeWords> names{};

  std::string name(int32_t k) const {
    const std::array<int32_t, 2> words = {names[static_cast<std::size_t>(k - 1)],
                                          names[static_cast<std::size_t>(k - 1 + kShapeSecondWord)]};
    return a4Text(words);
  }
  int32_t code(int32_t k) const { return codes[static_cast<std::size_t>(k - 1)]; }
};
ShapeQuery shapesOf(bool listing) {
  ShapeQuery q;
  q.shapeCommand = ITEM(1) == kShapeCommandA && ITEM(2) == kShapeCommandB;
  q.selector = q.shapeCommand ? ITEM(kTypeAnswer) : kDefaultSelector;
  q.program = analysisProgram();
  if (listing && ITEM(kProgramAnswer) == kProgramKind) q.program = MMULST(kProgramAnswer);
  ELSHPN(q.selector, q.program, q.codes, q.names, q.count);
  q.count = std::clamp(q.count, 0, kMaxShapeList);
  return q;
}

void listShapes(ValueList& list, int32_t& status) {
  const ShapeQuery q = shapesOf(true);
  const int32_t value = q.shapeCommand && q.program == kLastUntranslated ? -kNameChars : kNameChars;
  for (int32_t k = 1; k <= q.count; ++k) {
    if (!add(list, -(kShapes - kFirstPropertyKind), value, q.name(k) + std::string(kNameFill), status)) {
      return;
    }
  }
}

// ----- Checks ---------------------------------------------------------------------------

void checkMaterialWord(std::span<const int32_t> line, int32_t first, int32_t last,
                       ArgumentCheck& check) {
  if (tablePresent(DefinitionTable::Material)) {
    ATRWL2(kMaterialWord, line, first, last, check);
    return;
  }
  if (PRPSEQ.position < 1 || PRPSEQ.position > PrpSeq::kEntries) return;
  const Lexed t = lex(line, first, last, expectedAnswer());
  if (t.kind < 0) return;
  if (t.kind == kTokenReal) {
    check.real = t.rvalue;
    check.valueCode = kCodeReal;
  } else {
    copyText(line, first, last, check);
    check.valueCode = kCodeQuotedText;
  }
  advance(check);
}

// The ORIENTATE and OFFSET options of kind 302. Each sets up the sequence of the values
// that follow it; p stays where it is.
constexpr std::array<int32_t, 4> kOrientateSequence = {5, -3, -3, 0};
constexpr std::array<int32_t, 7> kOffsetSequence = {5, -5, -3, -5, -3, -3, 0};

template <std::size_t N>
void setOptionSequence(const std::array<int32_t, N>& entries) {
  for (std::size_t k = 0; k < N; ++k) PRPSEQ.entry(static_cast<int32_t>(k) + 1) = entries[k];
}

// The options against the token. True when the check ends here (an option accepted).
bool checkOptions(const TypeFlags& flags, std::span<const int32_t> line, int32_t first,
                  int32_t last, ArgumentCheck& check) {
  int32_t chosen = 0;  // 1 ORIENTATE, 2 OFFSET
  int32_t status = kCheckNoMatch;
  bool orientateAbbreviated = false;
  if (flags.orientate == 1) {
    const int32_t r = compareWord(kOrientate.text, line, first, last);
    if (r >= 0) {
      chosen = 1;
      status = r;
      orientateAbbreviated = r > 0;
    }
  }
  if (status != kCheckExact && flags.offset == 1) {
    const int32_t r = compareWord(kOffset.text, line, first, last);
    if (r == kCheckExact || (r > 0 && !orientateAbbreviated)) {
      chosen = 2;
      status = r;
    } else if (r > 0) {
      chosen = 0;
      status = kCheckAmbiguous;
    }
  }
  check.status = status;
  if (chosen == 0) return false;
  // The sequence changes only for an option accepted, so an ambiguous token leaves it.
  check.valueCode = kCodeChoice;
  check.listValue = chosen;
  check.sign = kRequired;
  if (chosen == 1) {
    setOptionSequence(kOrientateSequence);
  } else {
    setOptionSequence(kOffsetSequence);
  }
  return true;
}

void checkPropertyWord(std::span<const int32_t> line, int32_t first, int32_t last,
                       ArgumentCheck& check) {
  if (tablePresent(DefinitionTable::Property)) {
    ATRWLK(kPropertyWord, line, first, last, check);
    return;
  }
  const TypeFlags flags = typeFlags();
  const int32_t count = MNUCTL.answerCount;
  if (count == 4 || (count == 5 && MENOFF(kOptionAnswer) != kOptionsDone)) {
    if (checkOptions(flags, line, first, last, check)) return;
  }
  if (PRPSEQ.position < 1 || PRPSEQ.position > PrpSeq::kEntries) return;
  switch (expectedAnswer()) {
    case kExpectValue: {
      const Lexed t = lex(line, first, last, kLexNumber);
      if (t.kind != kTokenReal) return;
      check.real = t.rvalue;
      check.valueCode = kCodeReal;
      break;
    }
    case kExpectValueOrPoint: {
      const Lexed t = lex(line, first, last, kLexNumber);
      if (t.kind == kTokenReal) {
        check.real = t.rvalue;
        check.valueCode = kCodeReal;
        break;
      }
      if (t.kind >= 0) return;
      const int32_t point = pointNamed(line, first, last);
      if (point < 1) return;
      check.listValue = point;
      check.valueCode = kCodeChoice;
      break;
    }
    case kExpectDefinition: {
      const Lexed t = lex(line, first, last, kLexQuoted);
      if (t.kind != kTokenText) return;
      copyText(line, t.first, t.last, check);
      check.valueCode = kCodeQuotedText;
      break;
    }
    default:
      return;
  }
  advance(check);
}

// Kind 303 expecting a direction: NORMAL, a degree-of-freedom name or its number.
bool checkDirection(std::span<const int32_t> line, int32_t first, int32_t last,
                    ArgumentCheck& check) {
  const Lexed t = lex(line, first, last, kLexToken);
  if (t.kind == kTokenInteger) {
    check.listValue = t.ivalue;
    check.valueCode = kCodeInteger;
    return true;
  }
  if (t.kind != kTokenText) return false;
  int32_t chosen = -1;
  int32_t abbreviations = 0;
  bool exact = false;
  auto offer = [&](int32_t result, int32_t value) {
    if (result == kCheckExact) {
      chosen = value;
      exact = true;
    } else if (result > 0 && ++abbreviations == 1) {
      chosen = value;
    }
  };
  offer(compareWord(kNormal.text, line, first, last), 0);
  for (int32_t i = 1; i <= kDirectionDofs && !exact; ++i) {
    // The name's first word, as the lexer finds it in its 12 characters.
    const std::array<int32_t, kDofChars> name = codesOf<kDofChars>(a4Text(DOFNAM.name(i)));
    const Lexed w = lex(name, 1, kDofChars, kLexName);
    if (w.kind == kTokenNone) continue;  // a blank name matches nothing
    int32_t result = kCheckNoMatch;
    CODCMP(name, w.first, w.last, line, first, last, result);
    offer(result, i);
  }
  if (!exact && abbreviations > 1) {
    check.status = kCheckAmbiguous;
    return false;
  }
  if (chosen < 0) return false;
  check.listValue = chosen;
  check.valueCode = kCodeInteger;
  return true;
}

void checkDirectionWord(std::span<const int32_t> line, int32_t first, int32_t last,
                        ArgumentCheck& check) {
  if (PRPSEQ.position < 1 || PRPSEQ.position > PrpSeq::kEntries) return;
  switch (expectedAnswer()) {
    case kExpectPoint: {
      const int32_t point = pointNamed(line, first, last);
      if (point == 0) return;
      check.listValue = point;
      check.valueCode = kCodeChoice;
      break;
    }
    case kExpectDirection:
      if (!checkDirection(line, first, last, check)) return;
      break;
    case kExpectValue: {
      const Lexed t = lex(line, first, last, kLexNumber);
      if (t.kind != kTokenReal) return;
      check.real = t.rvalue;
      check.valueCode = kCodeReal;
      break;
    }
    case kExpectName: {
      const Lexed t = lex(line, first, last, kLexToken);
      if (t.kind == kTokenInteger) {
        check.listValue = t.ivalue;
        check.valueCode = kCodeInteger;
      } else {
        copyText(line, first, last, check);
        check.valueCode = kCodeText;
      }
      break;
    }
    default:
      return;
  }
  advance(check);
}

void checkPositionWord(std::span<const int32_t> line, int32_t first, int32_t last,
                       ArgumentCheck& check) {
  const Lexed t = lex(line, first + 1, last, kLexInteger);
  // A position below 1 has no entry: the token is refused and nothing changes.
  if (t.kind != kTokenInteger || t.ivalue < 1) return;
  const int32_t n = t.ivalue;
  check.valueCode = kCodeText;
  copyText(line, first, last, check);
  PRPSEQ.position = n;
  for (int32_t k = n + 1; k <= PrpSeq::kEntries; ++k) {
    int32_t& e = PRPSEQ.entry(k);
    if (e == 0) {
      check.status = kCheckExact;
      return;
    }
    e = -magnitude(e);
  }
  // No ending 0 after entry n: refused, the changes kept.
}

void checkTranslatorNames(std::span<const int32_t> line, int32_t first, int32_t last,
                          ArgumentCheck& check) {
  const int32_t program = analysisProgram();
  if (untranslated(program)) return;
  const int32_t item = MMULST(kProgramAnswer);
  for (int32_t v = 1; v <= kVariants; ++v) {
    FixedText name(kNameChars);
    int32_t answer = 0;
    TRNDSP(program, item, v, name, answer);
    if (answer != kTranslatorAccepts || !tokenIs(line, first, last, stripped(std::string(name.view())))) {
      continue;
    }
    check.status = kCheckExact;
    check.valueCode = kCodeInteger;
    check.listValue = v;
    return;
  }
}

void checkDofNames(std::span<const int32_t> line, int32_t first, int32_t last,
                   ArgumentCheck& check) {
  const DofSet s = dofSet();
  auto take = [&](const std::string& name) {
    const std::string text = stripped(name);
    if (!tokenIs(line, first, last, text)) return false;
    check.status = kCheckExact;
    check.valueCode = kCodeText;
    copyText(text, check);
    return true;
  };
  for (int32_t i = s.first; i <= s.last; ++i) {
    if (take(a4Text(DOFNAM.name(i)).substr(0, kNameChars))) return;
  }
  for (int32_t k = 1; k <= listCount(s.second); ++k) {
    if (take(a4Text(listName(s.second, k)))) return;
  }
}

template <std::size_t N>
bool oneOf(int32_t v, const std::array<int32_t, N>& set) {
  return std::find(set.begin(), set.end(), v) != set.end();
}

void checkShapes(std::span<const int32_t> line, int32_t first, int32_t last,
                 ArgumentCheck& check) {
  const ShapeQuery q = shapesOf(false);
  for (int32_t k = 1; k <= q.count; ++k) {
    if (!tokenIs(line, first, last, stripped(q.name(k)))) continue;
    const int32_t code = q.code(k);
    check.status = kCheckExact;
    check.valueCode = kCodeChoice;
    check.listValue = code;
    if (q.shapeCommand) {
      check.sign = q.program == kLastUntranslated ? kOptional : kRequired;
      if (oneOf(q.selector, kSolidSelectors) && code >= kFirstSolidCode && code <= kLastSolidCode) {
        check.nextMenu = kSolidShapeMenu;
      } else if (oneOf(q.selector, kShellSelectors) && code >= kFirstShellCode) {
        check.nextMenu = kShellShapeMenu;
      } else {
        check.nextMenu = kShapeMenu;
      }
    }
    return;
  }
}

}  // namespace

void PRPLST(int32_t kind, ValueList& list, int32_t& status) {
  status = kListDone;
  switch (kind) {
    case kMaterialWord: listMaterialWord(list, status); break;
    case kPropertyWord: listPropertyWord(list, status); break;
    case kDirectionWord: listDirectionWord(list, status); break;
    case kTranslatorNames: listTranslatorNames(list, status); break;
    case kDofNames: listDofNames(list, status); break;
    case kShapes: listShapes(list, status); break;
    default: break;  // 304 and 308 to 400 list nothing
  }
}

void PRPCHK(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check) {
  check.status = kCheckNoMatch;
  check.valueCode = kCodeText;
  check.oper = kPlainOperator;
  check.listValue = 0;
  check.real = 0.0f;
  switch (kind) {
    case kMaterialWord: checkMaterialWord(line, first, last, check); break;
    case kPropertyWord: checkPropertyWord(line, first, last, check); break;
    case kDirectionWord: checkDirectionWord(line, first, last, check); break;
    case kPositionWord: checkPositionWord(line, first, last, check); break;
    case kTranslatorNames: checkTranslatorNames(line, first, last, check); break;
    case kDofNames: checkDofNames(line, first, last, check); break;
    case kShapes: checkShapes(line, first, last, check); break;
    default: break;  // 308 to 400 accept nothing
  }
}

}  // namespace kvr
