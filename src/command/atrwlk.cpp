// The definition walks over MATDF and PHYDF: one implementation of the lists and checks,
// parametrised by the differences between the property walk and the material walk.
#include "command/atrwlk.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "command/ansrec.h"
#include "command/atrrec.h"
#include "command/mnuctl.h"
#include "command/vallst.h"
#include "modeldb/attlst.h"
#include "modeldb/codcmp.h"
#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "platform/fmtedit.h"
#include "runtime/codtxt.h"
#include "runtime/nxttkn.h"
#include "runtime/platrtn.h"

namespace kvr {
namespace {

// Argument kinds with rules of their own.
constexpr int32_t kAllHeadersKind = 67;    // every header, whatever the answers
constexpr int32_t kReferringKind = 68;     // the fields that may refer to other entities
constexpr int32_t kHeadersInUseKind = 69;  // the headers a property uses

// Keyword numbers the walk tests.
constexpr int32_t kListKeyword = 118;
constexpr int32_t kInUseKeyword = 119;
constexpr int32_t kInUseKeywordA = 295;
constexpr int32_t kInUseKeywordB = 296;
constexpr int32_t kNoValueKeywordA = 369;
constexpr int32_t kNoValueKeywordB = 370;

// Walk answer levels: ULST = index x 10 + level.
constexpr int32_t kLevelBase = 10;
constexpr int32_t kLevelHeader = 1;
constexpr int32_t kLevelOption = 2;
constexpr int32_t kLevelNumber = 3;
constexpr int32_t kLevelText = 4;

// The walk-list value KEY x 10 + LEVEL, computed wide: a key of a stored definition too
// large for it has no value (nullopt) and is not offered.
std::optional<int32_t> walkValue(int32_t key, int32_t level) {
  const int64_t v = int64_t{key} * kLevelBase + level;
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(v);
}

// Value codes of the checks.
constexpr int32_t kCodeChoice = 1;
constexpr int32_t kCodeInteger = 6;
constexpr int32_t kCodeReal = 7;
constexpr int32_t kCodeText = 8;

// Entries.
constexpr int32_t kCodeChars = 8;
constexpr int32_t kEndsHere = 8;       // entry value of a choice that needs nothing more
constexpr int32_t kLeadsFurther = -8;  // entry value of an option with more below it
constexpr std::string_view kIntegerPlaceholder = "'integer'";
constexpr int32_t kIntegerPlaceholderValue = 11;
constexpr std::string_view kRealPlaceholder = "'real'";
constexpr std::string_view kFilePlaceholder = "'file'";
constexpr int32_t kOtherPlaceholderValue = 8;

// Next-menu ids.
constexpr int32_t kCommandEnds = 0;
constexpr int32_t kOptionalLink = -1;
constexpr int32_t kPlainLink = 1;
constexpr int32_t kMenuFlag1 = 8261;      // first option's flag 1
constexpr int32_t kMenuFlag3 = 8262;      // first option's flag 3
constexpr int32_t kMenuFlags13 = 8263;    // both
constexpr int32_t kMenuAllThree = 8186;   // curve, variation and kind 47
constexpr int32_t kMenuCurve = 8187;
constexpr int32_t kMenuVariation = 8189;
constexpr int32_t kMenuKind47 = 8192;
constexpr int32_t kMenuCurveVariation = 8193;
constexpr int32_t kMenuCurveKind47 = 8194;
constexpr int32_t kMenuVariationKind47 = 8195;

constexpr int32_t kOptionToHeaderMenu = 2;  // an option of this kind leads to the header menu
constexpr int32_t kWalkWork = 1000;  // the work buffer of the walk's assemblies
constexpr int32_t kGroupValues = 4;
constexpr int32_t kOptionFlag1 = 1;
constexpr int32_t kOptionFlag3 = 3;
constexpr int32_t kThirdAnswer = 3;
constexpr int32_t kFlagAnswers = 4;

// The differences between the property walk and the material walk.
struct Twin {
  DefinitionTable table;
  int32_t scanSelector;
  int32_t attributeType;
  int32_t entityItem;             // ITEM of the answer naming the entity
  std::array<int32_t, 2> walkItems;
  int32_t allHeadersKeyword;      // answers 118 and this list every header
  int32_t entityKind;             // existing entities tested for headers in use
  int32_t valueMenu;              // while values remain
  int32_t headerMenu;             // after a header or an option of kind 2
  bool flagMenus;                 // the first option's flags choose 8261..8263
  bool keywordsRefuseValues;      // an answer 369 or 370 refuses every value
};

constexpr Twin kPropertyWalk = {DefinitionTable::Property, 1, 3, -9, {-18, -302}, 282, 11,
                                8270, 8260, true, true};
constexpr Twin kMaterialWalk = {DefinitionTable::Material, 2, 4, -8, {-17, -301}, 281, 10,
                                8170, 8160, false, false};

// The walk answers among answers 1..LAST.
struct Walk {
  int32_t headers = 0;
  int32_t lastHeader = 0;
  int32_t options = 0;
  int32_t lastOption = 0;
  int32_t values = 0;
  bool noValueKeyword = false;  // an answer 369 or 370
};

// Counts the walk answers of answers 1..LAST; LISTING leaves out those whose ULST is 0, 1
// or 2.
Walk countWalk(const Twin& t, int32_t last, bool listing) {
  Walk w;
  for (int32_t i = 1; i <= last; ++i) {
    const int32_t item = ITEM(i);
    if (item == kNoValueKeywordA || item == kNoValueKeywordB) w.noValueKeyword = true;
    if (item != t.walkItems[0] && item != t.walkItems[1]) continue;
    const int32_t ulst = MMULST(i);
    if (listing && ulst >= 0 && ulst <= kLevelOption) continue;
    switch (ulst % kLevelBase) {
      case kLevelHeader:
        ++w.headers;
        w.lastHeader = ulst / kLevelBase;
        break;
      case kLevelOption:
        ++w.options;
        w.lastOption = ulst / kLevelBase;
        break;
      case kLevelNumber:
      case kLevelText:
        ++w.values;
        break;
      default:
        break;
    }
  }
  return w;
}

// The first of answers 1..LAST whose ITEM is ITEM; 0 when there is none.
int32_t findAnswer(int32_t item, int32_t last) {
  for (int32_t i = 1; i <= last; ++i) {
    if (ITEM(i) == item) return i;
  }
  return 0;
}

// The first of answers 1..LAST whose ITEM is ITEM and whose ULST has level 1.
int32_t findHeaderAnswer(int32_t item, int32_t last) {
  for (int32_t i = 1; i <= last; ++i) {
    if (ITEM(i) == item && MMULST(i) % kLevelBase == kLevelHeader) return i;
  }
  return 0;
}

// ITEM of answer I, or 0 when the command has fewer than I answers.
int32_t itemOf(int32_t i, int32_t count) { return i <= count ? ITEM(i) : 0; }

// ----- Records --------------------------------------------------------------------------

struct Header {
  FixedText code{kCodeChars};
  std::array<int32_t, kHeaderChildren> children{};
};

bool fetchHeader(const Twin& t, int32_t h, Header& header) {
  FixedText name(kFieldTextLength);
  int32_t status = 0;
  headerRecord(t.table, kRecordFetch, h, name, header.code, header.children, status);
  return status == kRecordDone;
}

struct Option {
  int32_t key = 0;
  int32_t kind = 0;
  int32_t extra = 0;
  FixedText code{kCodeChars};
  std::array<int32_t, kTextChildren> children{};
};

bool findOption(const Twin& t, int32_t key, Option& option) {
  FixedText name(kFieldTextLength);
  int32_t index = 0, status = 0;
  option.key = key;
  textRecord(t.table, kRecordFind, index, option.key, option.kind, name, option.code,
             option.extra, option.children, status);
  return status == kRecordDone;
}

struct Field {
  int32_t key = 0;
  int32_t kind = kFieldMissing;
  FixedText code{kCodeChars};
};

bool findField(const Twin& t, int32_t key, Field& field) {
  FixedText name(kFieldTextLength), text(kFieldTextLength);
  std::array<int32_t, kValueNumbers> ints{};
  std::array<float, kValueNumbers> reals{};
  int32_t index = 0, flags = 0, status = 0;
  field.key = key;
  valueRecord(t.table, kRecordFind, index, field.key, field.kind, name, field.code, flags, ints,
              reals, text, status);
  if (status != kRecordDone) field.kind = kFieldMissing;
  return status == kRecordDone;
}

// The first value of ENTITY's group of header H (the first record of its block), truncated;
// 0 when the attribute holds no such value. A read past the stored values would answer the
// last of them, so a group beyond them is tested against the stored count first.
int32_t groupStart(const Twin& t, int32_t entity, int32_t h) {
  std::array<float, 1> first{};
  const int64_t position = int64_t{kGroupValues} * h - (kGroupValues - 1);
  if (entity < 1 || position < 1 || position > INT32_MAX) return 0;
  int32_t stored = 0;
  ATTVLR(2, t.attributeType, entity, 1, stored, first);
  if (position > stored) return 0;
  int32_t count = 1;
  ATTVLR(1, t.attributeType, entity, static_cast<int32_t>(position), count, first);
  return intOf(first[0]);
}

// Whether ENTITY has an attribute of the walk's type.
bool hasAttribute(const Twin& t, int32_t entity) {
  if (entity < 1) return false;  // entity 0 would search by label
  std::array<int32_t, 2> label{};
  int32_t id = entity, count = 0;
  ATTFND(1, label, t.attributeType, id, count);
  return count != 0;
}

// The reference scan of ENTITY for header H and field V: any flag set.
struct Refs {
  int32_t curve = 0, kind47 = 0, variation = 0;
  bool any() const { return curve != 0 || kind47 != 0 || variation != 0; }
};
Refs scan(const Twin& t, int32_t entity, int32_t h, int32_t v) {
  Refs r;
  ATRDSP(entity, t.scanSelector, h, v, r.curve, r.kind47, r.variation);
  return r;
}

// ----- Matching -------------------------------------------------------------------------

// The token FIRST..LAST of LINE against the 8-character CODE: 0 exact, n > 0 the token
// abbreviates the code, -1 no match.
int32_t compareCode(FText code, std::span<const int32_t> line, int32_t first, int32_t last) {
  std::array<int32_t, kCodeChars> codes{};
  for (int32_t k = 1; k <= kCodeChars; ++k) {
    codes[static_cast<size_t>(k - 1)] = codeOf(k <= code.length() ? code.at(k) : ' ');
  }
  int32_t kind = 0, f = 0, l = 0, ivalue = 0;
  float rvalue = 0.0f;
  NXTTKN(codes, 1, kCodeChars, kLexName, kind, f, l, ivalue, rvalue);
  if (kind == kTokenNone) return kCheckNoMatch;  // a blank code matches nothing
  int32_t result = kCheckNoMatch;
  CODCMP(codes, f, l, line, first, last, result);
  return result;
}

// The choices offered to one token: an exact match wins and ends the search; one
// abbreviation is accepted with its length as the status; a second refuses the token.
struct Match {
  int32_t status = kCheckNoMatch;
  int32_t listValue = 0;
  int32_t tag = 0;
  int32_t abbreviations = 0;

  // True when the search ends.
  bool offer(int32_t result, int32_t value, int32_t what) {
    if (result == kCheckExact) {
      status = kCheckExact;
      listValue = value;
      tag = what;
      return true;
    }
    if (result > 0 && ++abbreviations == 1) {
      status = result;
      listValue = value;
      tag = what;
    }
    return false;
  }
  bool accepted() const { return status == kCheckExact || (status > 0 && abbreviations == 1); }

  // Fills CHECK with an accepted choice; false when the token is refused.
  bool answer(ArgumentCheck& check) const {
    if (!accepted()) return false;
    check.status = status;
    check.valueCode = kCodeChoice;
    check.listValue = listValue;
    return true;
  }
};

// ----- Where the walk stands ----------------------------------------------------------------

enum class Step { Headers, Options, Field, Nothing };

struct Position {
  Step step = Step::Nothing;
  std::array<int32_t, kTextChildren> children{};  // Options: the candidates' keys
  Field field;                                     // Field: the next value field
  bool lastField = false;
};

Position positionOf(const Twin& t, const Walk& w, bool allHeaders) {
  Position p;
  if (allHeaders || w.headers == 0) {
    p.step = Step::Headers;
    return p;
  }
  if (w.options == 0) {
    Header header;
    if (!fetchHeader(t, w.lastHeader, header)) return p;
    std::copy(header.children.begin(), header.children.end(), p.children.begin());
    p.step = Step::Options;
    return p;
  }
  Option option;
  if (!findOption(t, w.lastOption, option)) return p;
  if (option.kind != kOptionFields) {
    p.children = option.children;
    p.step = Step::Options;
    return p;
  }
  // A field number above the option's child count reads no child beyond it, and a key
  // without a value record offers nothing: the walk is at its end either way.
  const int32_t fieldNumber = w.values + 1;
  const int32_t childCount = LOCINT(option.children, kCountedChildren, 0);
  if (fieldNumber < 1 || fieldNumber > childCount) return p;
  if (!findField(t, option.children[static_cast<size_t>(fieldNumber - 1)], p.field)) return p;
  p.lastField = fieldNumber == childCount;
  p.step = Step::Field;
  return p;
}

// ----- Lists --------------------------------------------------------------------------------

// Appends an entry; false (and STATUS 2) when the list is full.
bool add(ValueList& list, int32_t kind, int32_t value, std::string_view text, int32_t& status) {
  if (list.append(kind, value, text)) return true;
  status = kListFull;
  return false;
}

// Kind 69: the headers the property uses whose fields may refer to other entities (or all
// it uses after the answers 119 and 295 or 296).
void listHeadersInUse(const Twin& t, int32_t kind, int32_t count, ValueList& list,
                      int32_t& status) {
  const int32_t named = findAnswer(t.entityItem, count);
  const int32_t entity = named == 0 ? 0 : MMULST(named);
  if (named == 0 || !hasAttribute(t, entity)) {
    status = kListFailed;
    return;
  }
  const int32_t second = itemOf(2, count);
  const bool all = itemOf(1, count) == kInUseKeyword &&
                   (second == kInUseKeywordA || second == kInUseKeywordB);
  const int32_t headers = tableHeaders(t.table);
  for (int32_t h = 1; h <= headers; ++h) {
    if (groupStart(t, entity, h) <= 0) continue;
    if (!all && !scan(t, entity, h, -1).any()) continue;
    Header header;
    if (!fetchHeader(t, h, header)) {
      status = kListFailed;
      return;
    }
    if (!add(list, -kind, kEndsHere, header.code.view(), status)) return;
  }
}

// Kind 68: the value fields of the property's chosen option (for the header of the kind-69
// answer) that may refer to other entities.
void listReferringFields(const Twin& t, int32_t kind, int32_t count, ValueList& list,
                         int32_t& status) {
  const int32_t named = findAnswer(t.entityItem, count);
  const int32_t headerAnswer = findHeaderAnswer(-kHeadersInUseKind, count);
  if (named == 0 || headerAnswer == 0) {
    status = kListFailed;
    return;
  }
  const int32_t entity = MMULST(named);
  const int32_t h = MMULST(headerAnswer) / kLevelBase;
  Definition d;
  assembleDefinition(t.table, entity, h, kWalkWork, d);
  if (d.status != kDefinitionDone) {
    status = kListFailed;
    return;
  }
  for (int32_t i = 1; i <= d.count; ++i) {
    if (!scan(t, entity, h, i).any()) continue;
    Field field;
    if (!findField(t, d.keys[static_cast<size_t>(i - 1)], field)) continue;
    if (!add(list, -kind, kEndsHere, field.code.view(), status)) return;
  }
}

// Whether some existing entity of the walk's kind uses header H.
bool headerInUse(const Twin& t, int32_t h) {
  const int32_t entities = t.entityKind == kPropertyWalk.entityKind ? CNTPHY() : CNTMAT();
  for (int32_t i = 1; i <= entities; ++i) {
    if (ENTEXS(i, t.entityKind) != 0 && groupStart(t, i, h) > 0) return true;
  }
  return false;
}

void listWalk(const Twin& t, int32_t kind, ValueList& list, int32_t& status) {
  const int32_t count = MNUCTL.answerCount;
  const bool allHeaders = kind == kAllHeadersKind;
  const Walk w = allHeaders ? Walk{} : countWalk(t, count, true);
  const Position p = positionOf(t, w, allHeaders);
  switch (p.step) {
    case Step::Headers: {
      const bool all = itemOf(1, count) == kListKeyword && itemOf(2, count) == t.allHeadersKeyword;
      const int32_t headers = tableHeaders(t.table);
      for (int32_t h = 1; h <= headers; ++h) {
        Header header;
        if (!fetchHeader(t, h, header)) return;
        if (!all && !headerInUse(t, h)) continue;
        if (!add(list, -kind, kEndsHere, header.code.view(), status)) return;
      }
      return;
    }
    case Step::Options: {
      const int32_t n = LOCINT(p.children, kCountedChildren, 0);
      for (int32_t j = 1; j <= n; ++j) {
        Option option;
        if (!findOption(t, p.children[static_cast<size_t>(j - 1)], option)) continue;
        const int32_t value = option.kind == kOptionPlain ? kEndsHere : kLeadsFurther;
        if (!add(list, -kind, value, option.code.view(), status)) return;
      }
      return;
    }
    case Step::Field:
      if (p.field.kind == kFieldInteger) {
        add(list, kPlaceholderEntry, kIntegerPlaceholderValue, kIntegerPlaceholder, status);
      } else if (p.field.kind == kFieldReal) {
        add(list, kPlaceholderEntry, kOtherPlaceholderValue, kRealPlaceholder, status);
      } else {
        add(list, kPlaceholderEntry, kOtherPlaceholderValue, kFilePlaceholder, status);
      }
      return;
    case Step::Nothing:
      return;
  }
}

void listFor(const Twin& t, int32_t kind, ValueList& list, int32_t& status) {
  status = kListDone;
  if (kind == kHeadersInUseKind) {
    listHeadersInUse(t, kind, MNUCTL.answerCount, list, status);
  } else if (kind == kReferringKind) {
    listReferringFields(t, kind, MNUCTL.answerCount, list, status);
  } else {
    listWalk(t, kind, list, status);
  }
}

// ----- Checks ---------------------------------------------------------------------------------

struct Token {
  std::span<const int32_t> line;
  int32_t first;
  int32_t last;
};

// Kind 69: the token against the codes of the headers the property uses.
void checkHeaderInUse(const Twin& t, const Token& token, ArgumentCheck& check) {
  const int32_t named = findAnswer(t.entityItem, MNUCTL.answerCount - 1);
  const int32_t entity = named == 0 ? 0 : MMULST(named);
  if (named == 0 || !hasAttribute(t, entity)) return;
  Match m;
  const int32_t headers = tableHeaders(t.table);
  for (int32_t h = 1; h <= headers; ++h) {
    Header header;
    if (groupStart(t, entity, h) <= 0 || !fetchHeader(t, h, header)) continue;
    if (m.offer(compareCode(header.code, token.line, token.first, token.last),
                h * kLevelBase + kLevelHeader, h)) {
      break;
    }
  }
  m.answer(check);
}

// The next menu of a field by the entity kinds it may refer to; 0 when it refers to none.
int32_t referenceMenu(const Refs& r) { return kvr::referenceMenu(r.curve, r.kind47, r.variation); }

// Kind 68: the token against the codes of the chosen option's fields.
void checkReferringField(const Twin& t, const Token& token, ArgumentCheck& check) {
  const int32_t before = MNUCTL.answerCount - 1;
  const int32_t named = findAnswer(t.entityItem, before);
  const int32_t headerAnswer = findHeaderAnswer(-kHeadersInUseKind, before);
  if (named == 0 || headerAnswer == 0) return;
  const int32_t entity = MMULST(named);
  const int32_t h = MMULST(headerAnswer) / kLevelBase;
  Definition d;
  assembleDefinition(t.table, entity, h, kWalkWork, d);
  if (d.status != kDefinitionDone) return;
  Match m;
  for (int32_t i = 1; i <= d.count; ++i) {
    Field field;
    if (!findField(t, d.keys[static_cast<size_t>(i - 1)], field)) continue;
    const std::optional<int32_t> value = walkValue(field.key, kLevelNumber);
    if (!value) continue;
    if (m.offer(compareCode(field.code, token.line, token.first, token.last), *value, i)) {
      break;
    }
  }
  if (!m.answer(check)) return;
  if (const int32_t menu = referenceMenu(scan(t, entity, h, m.tag)); menu != 0) {
    check.nextMenu = menu;
  }
}

// A value for the next field of the chosen option.
void checkValue(const Twin& t, const Position& p, const Token& token, ArgumentCheck& check) {
  int32_t kind = 0, f = 0, l = 0, ivalue = 0;
  float rvalue = 0.0f;
  const bool text = p.field.kind != kFieldInteger && p.field.kind != kFieldReal;
  const std::optional<int32_t> value = walkValue(p.field.key, text ? kLevelText : kLevelNumber);
  if (!value) return;
  if (p.field.kind == kFieldInteger) {
    NXTTKN(token.line, token.first, token.last, kLexInteger, kind, f, l, ivalue, rvalue);
    if (kind != kTokenInteger) return;
    check.valueCode = kCodeInteger;
    check.real = static_cast<float>(ivalue);
  } else if (p.field.kind == kFieldReal) {
    NXTTKN(token.line, token.first, token.last, kLexNumber, kind, f, l, ivalue, rvalue);
    if (kind != kTokenReal) return;
    check.valueCode = kCodeReal;
    check.real = rvalue;
  } else {
    NXTTKN(token.line, token.first, token.last, kLexQuoted, kind, f, l, ivalue, rvalue);
    if (kind != kTokenText) return;
    // The copy stops where the answer text store ends; the real counts what was copied.
    const int32_t copied = std::clamp(l - f + 1, 0, static_cast<int32_t>(check.text.size()));
    for (int32_t k = 0; k < copied; ++k) {
      check.text[static_cast<size_t>(k)] = token.line[static_cast<size_t>(f - 1 + k)];
    }
    check.valueCode = kCodeText;
    check.real = static_cast<float>(copied);
  }
  check.status = kCheckExact;
  check.listValue = *value;
  check.nextMenu = p.lastField ? kCommandEnds : t.valueMenu;
  check.sign = p.lastField ? kPlainLink : kOptionalLink;
}

// The next menu after a header when the command names an existing property in answer 3 of
// four: chosen by flags 1 and 3 of the first option of each header whose definition
// assembles, the last such header deciding. MENU is kept when none assembles.
void flagMenu(const Twin& t, int32_t& menu) {
  const int32_t entity = MMULST(kThirdAnswer);
  const int32_t headers = tableHeaders(t.table);
  for (int32_t h = 1; h <= headers; ++h) {
    Definition d;
    assembleDefinition(t.table, entity, h, kWalkWork, d);
    Option option;
    if (d.status != kDefinitionDone || d.pathLength < 1 || !findOption(t, d.path[0], option)) {
      continue;
    }
    const bool flag1 = BITTS1(option.extra, kOptionFlag1) != 0;
    const bool flag3 = BITTS1(option.extra, kOptionFlag3) != 0;
    menu = flag1 && flag3 ? kMenuFlags13 : flag1 ? kMenuFlag1 : flag3 ? kMenuFlag3 : t.headerMenu;
  }
}

void checkWalk(const Twin& t, int32_t kind, const Token& token, ArgumentCheck& check) {
  const int32_t count = MNUCTL.answerCount;
  const bool allHeaders = kind == kAllHeadersKind;
  const Walk w = allHeaders ? Walk{} : countWalk(t, count - 1, false);
  const Position p = positionOf(t, w, allHeaders);
  Match m;
  switch (p.step) {
    case Step::Field:
      if (t.keywordsRefuseValues && w.noValueKeyword) return;
      checkValue(t, p, token, check);
      return;
    case Step::Options: {
      const int32_t n = LOCINT(p.children, kCountedChildren, 0);
      for (int32_t j = 1; j <= n; ++j) {
        Option option;
        if (!findOption(t, p.children[static_cast<size_t>(j - 1)], option)) continue;
        const std::optional<int32_t> value = walkValue(option.key, kLevelOption);
        if (!value) continue;
        if (m.offer(compareCode(option.code, token.line, token.first, token.last), *value,
                    option.kind)) {
          break;
        }
      }
      if (!m.answer(check)) return;
      if (m.tag == kOptionToHeaderMenu) {
        check.nextMenu = t.headerMenu;
        check.sign = kPlainLink;
      } else if (m.tag == kOptionFields) {
        check.nextMenu = t.valueMenu;
        check.sign = kOptionalLink;
      } else {
        check.nextMenu = kCommandEnds;
        check.sign = kPlainLink;
      }
      return;
    }
    case Step::Headers: {
      const int32_t headers = tableHeaders(t.table);
      for (int32_t h = 1; h <= headers; ++h) {
        Header header;
        if (!fetchHeader(t, h, header)) break;
        if (m.offer(compareCode(header.code, token.line, token.first, token.last),
                    h * kLevelBase + kLevelHeader, h)) {
          break;
        }
      }
      if (!m.answer(check) || allHeaders) return;
      check.sign = kPlainLink;
      if (t.flagMenus && count == kFlagAnswers && ITEM(kThirdAnswer) == t.entityItem) {
        flagMenu(t, check.nextMenu);
      } else {
        check.nextMenu = t.headerMenu;
      }
      return;
    }
    case Step::Nothing:
      return;
  }
}

void checkFor(const Twin& t, int32_t kind, std::span<const int32_t> line, int32_t first,
              int32_t last, ArgumentCheck& check) {
  check.listValue = 0;
  check.status = kCheckNoMatch;
  const Token token{line, first, last};
  if (kind == kHeadersInUseKind) {
    checkHeaderInUse(t, token, check);
  } else if (kind == kReferringKind) {
    checkReferringField(t, token, check);
  } else {
    checkWalk(t, kind, token, check);
  }
}

}  // namespace

int32_t referenceMenu(int32_t curve, int32_t kind47, int32_t variation) {
  const bool c = curve != 0, v = variation != 0, k = kind47 != 0;
  if (c && v && k) return kMenuAllThree;
  if (c && v) return kMenuCurveVariation;
  if (c && k) return kMenuCurveKind47;
  if (v && k) return kMenuVariationKind47;
  if (c) return kMenuCurve;
  if (v) return kMenuVariation;
  if (k) return kMenuKind47;
  return 0;
}

void ATVLST(int32_t kind, ValueList& list, int32_t& status) {
  listFor(kPropertyWalk, kind, list, status);
}

void ATVLS2(int32_t kind, ValueList& list, int32_t& status) {
  listFor(kMaterialWalk, kind, list, status);
}

void ATRWLK(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check) {
  checkFor(kPropertyWalk, kind, line, first, last, check);
}

void ATRWL2(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check) {
  checkFor(kMaterialWalk, kind, line, first, last, check);
}

}  // namespace kvr
