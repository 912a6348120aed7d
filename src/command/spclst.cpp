// The special kinds: the value lists and the checks of the argument kinds 1 to 100.
#include "command/spclst.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "command/ansrec.h"
#include "command/argkwd.h"
#include "command/atrrec.h"
#include "command/atrwlk.h"
#include "command/dumnam.h"
#include "command/mnuctl.h"
#include "command/mnutab.h"
#include "command/mshcan.h"
#include "command/numsfx.h"
#include "command/prpseq.h"
#include "command/prslin.h"
#include "command/seqnxt.h"
#include "command/vallst.h"
#include "command/xltsta.h"
#include "messages/synsta.h"
#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/codcmp.h"
#include "modeldb/entnam.h"
#include "modeldb/entqry.h"
#include "modeldb/seqtab.h"
#include "platform/fmtedit.h"
#include "runtime/codtxt.h"
#include "runtime/nxttkn.h"
#include "runtime/platrtn.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

// ----- Kinds ---------------------------------------------------------------------------------

constexpr int32_t kNodeKind = 14;
constexpr int32_t kElementKind = 15;
constexpr int32_t kNewNodeKind = 34;
constexpr int32_t kNewElementKind = 35;
constexpr int32_t kAllKind = 40;
constexpr int32_t kAnyOldName = 51;
constexpr int32_t kAnyNewName = 52;
constexpr int32_t kMaterialKind = 8;
constexpr int32_t kPropertyKind = 9;
constexpr int32_t kLoadKind = 11;
constexpr int32_t kConditionKind = 63;
constexpr int32_t kMaterialDefinitionKind = 17;
constexpr int32_t kPropertyDefinitionKind = 18;
constexpr int32_t kLoadDefinitionKind = 19;
constexpr int32_t kConditionDefinitionKind = 64;
constexpr int32_t kFirstStepKind = 67;  // the steps of a definition, 67 to 69
constexpr int32_t kLastStepKind = 69;
constexpr int32_t kHeaderStepKind = 69;  // its answers name a header: list value h x 10 + 1
constexpr int32_t kPointKind = 1;

bool isDefinitionKind(int32_t k) {
  constexpr std::array<int32_t, 11> kinds = {17, 18, 19, 37, 38, 39, 64, 67, 68, 69, 74};
  return std::find(kinds.begin(), kinds.end(), k) != kinds.end();
}
bool isNumberKind(int32_t k) {
  return k == kNodeKind || k == kElementKind || k == kNewNodeKind || k == kNewElementKind;
}
bool isNewObjectKind(int32_t k) {
  return (k >= 21 && k <= 59 && k != kAnyOldName && k != kAnyNewName) || (k >= 70 && k <= 77) ||
         k == 79;
}

// The object code of a kind (CODMAP column 2); 0 for a kind of no class.
int32_t objectCode(int32_t kind) {
  int32_t code = 0;
  CODMAP(2, kind, code);
  return code;
}
// The existing-object kind of an object code (CODMAP column 3); 0 for a code without one.
int32_t existingKind(int32_t code) {
  int32_t kind = 0;
  CODMAP(3, code, kind);
  return kind;
}
// The index of a kind's translation flag (CODMAP column 5): 1 to 28 for the new-object
// kinds 21 to 39 and 70 to 78, 0 for a kind without one.
int32_t flagIndex(int32_t kind) {
  int32_t index = 0;
  CODMAP(5, kind, index);
  return index >= 1 && index <= XltSta::kKindFlags ? index : 0;
}

// The class code a new-object kind needs of an object that already carries the name.
constexpr int32_t kDefaultClass = 11;
int32_t ownClass(int32_t kind) {
  const int32_t code = objectCode(kind);
  return code != 0 ? code : kDefaultClass;
}

// Where an existing object of a kind is looked up: a named array within a count, or the
// attribute names of an attribute type.
struct Lookup {
  bool byArray;
  int32_t array;  // named array, or attribute type
  int32_t (*count)();
};
Lookup lookupOf(int32_t kind) {
  switch (kind) {
    case 2: return {true, 3, CNTLIN};
    case 3: return {true, 5, CNTSRF};
    case 4: return {true, 7, CNTBOD};
    case 5: return {true, 18, CNTSET};
    case 6: return {true, 9, CNTSHP};
    case 20: return {true, 35, CNTK46};
    case 65: return {true, 27, CNTK42};
    case 7: return {false, 2, nullptr};
    case 8: return {false, 4, nullptr};
    case 9: return {false, 3, nullptr};
    case 10: return {false, 8, nullptr};
    case 11:
    case 63: return {false, 9, nullptr};
    case 12: return {false, 5, nullptr};
    case 13: return {false, 6, nullptr};
    case 16: return {false, -6, nullptr};
    case 60: return {false, -7, nullptr};
    case 61: return {false, -8, nullptr};
    case 62: return {false, -9, nullptr};
    case 66: return {false, -10, nullptr};
    case 78: return {false, -11, nullptr};
    default: return {true, 1, CNTPNT};
  }
}

constexpr int32_t kSetNames = 18;

// The name array of the class of a "#" number that translation moves; 0 for a kind whose
// numbers are not moved (its array 2k - 1 holds no names of its class).
int32_t translatedArray(int32_t kind) {
  switch (kind) {
    case 1: case 21: return 1;
    case 2: case 22: return 3;
    case 3: case 23: return 5;
    case 4: case 24: return 7;
    case 5: case 25: return kSetNames;
    case 6: case 26: return 9;
    case 20: case 77: return 35;
    case 65: case 75: return 27;
    default: return 0;
  }
}

// ----- Attribute types and counts ---------------------------------------------------------------

constexpr int32_t kMaterialType = 4;
constexpr int32_t kPropertyType = 3;
constexpr int32_t kLoadType = 9;
constexpr int32_t kMaterialDefinitionType = -3;
constexpr int32_t kPropertyDefinitionType = -2;
constexpr int32_t kLoadDefinitionType = -5;
constexpr int32_t kCurveType = -7;      // tcdef
constexpr int32_t kVariationType = -8;  // scdef
constexpr int32_t kKind47Type = -11;    // fcdef

constexpr int32_t kRecordOffsetWord = 6;  // REGHED: the replayed file's record offset
constexpr int32_t kNameWords = 2;
constexpr int32_t kNameChars = 8;

// ----- Answers and menus ---------------------------------------------------------------------

constexpr int32_t kListKeyword = 118;
constexpr int32_t kReferenceKeyword = 283;
constexpr int32_t kMaterialKeyword = 432;
constexpr int32_t kPropertyKeyword = 434;
constexpr int32_t kFirstAnswers = 5;  // kind 40 reads the definition from five answers on
constexpr int32_t kLevelBase = 10;
constexpr int32_t kHeaderLevel = 1;

constexpr std::array<int32_t, 2> kLoadValueMenus = {8520, 8523};
constexpr int32_t kLoadDoneMenu = 8528;
constexpr int32_t kLoadDefinitionDoneMenu = 8525;

constexpr int32_t kRootMenu = 100;
constexpr int32_t kLastTokenClassWord = 10;  // a keyword entry's first word up to 10: a class
constexpr int32_t kFirstUncountedKeyword = 601;
constexpr int32_t kLastUncountedKeyword = 607;
constexpr int32_t kKeywordAbbreviation = 4;  // a root keyword abbreviated this far is refused

// ----- Check results -------------------------------------------------------------------------

constexpr int32_t kCodeText = 0;
constexpr int32_t kCodeObject = 1;
constexpr int32_t kRequired = 1;
constexpr int32_t kFailure = -1000;
constexpr int32_t kFailureNoDefinition = 10;
constexpr int32_t kFailureForbidden = 20;
constexpr int32_t kFailureMeshLock = 30;

constexpr int32_t kWorkCodes = 16;  // the characters of a token that the check keeps

bool translating() { return XltSta::translating() == 1; }

// ----- Lists ---------------------------------------------------------------------------------

bool add(ValueList& list, int32_t kind, int32_t value, std::string_view text, int32_t& status) {
  if (list.append(kind, value, text)) return true;
  status = kListFull;
  return false;
}

// The eight characters of a name held in two A4 words.
std::string nameText(std::span<const int32_t> words) {
  std::string s;
  for (int32_t w : words) {
    for (int32_t b = 0; b < 4; ++b) s.push_back(static_cast<char>((static_cast<uint32_t>(w) >> (8 * b)) & 0xFFu));
  }
  return s;
}

// The label of attribute entry (TYPE, ID); false when there is none.
bool attributeName(int32_t type, int32_t id, std::array<int32_t, kNameWords>& label) {
  if (id < 1 || attributeEntry(type, id) == 0) return false;
  int32_t key = id;
  int32_t count = 0;
  ATTFND(1, label, type, key, count);
  return true;
}

// Appends the names of the objects of attribute type TYPE, 1..COUNT, that KEEP passes.
template <class Keep>
void listNames(int32_t kind, int32_t type, int32_t count, ValueList& list, int32_t& status,
               Keep keep) {
  for (int32_t i = 1; i <= count; ++i) {
    std::array<int32_t, kNameWords> label{};
    if (!attributeName(type, i, label) || !keep(i)) continue;
    if (!add(list, -kind, kNameChars, nameText(label), status)) return;
  }
}

// The keyword entry: the kind's keyword (at most 12 characters) and its length.
constexpr std::size_t kKeywordChars = 12;
void listKeyword(int32_t kind, ValueList& list, int32_t& status) {
  const std::string_view word = argumentKeyword(kind).substr(0, kKeywordChars);
  add(list, kPlaceholderEntry, static_cast<int32_t>(word.size()), word, status);
}

bool tablePresent(DefinitionTable t) { return tableState(t) > 0; }

// Whether the definition of material or property I refers to an object the model has: a
// tcdef, scdef or fcdef object that exists.
bool refersToLiveObject(int32_t i, bool property) {
  int32_t curve = 0, kind47 = 0, variation = 0;
  ATRDSP(i, property ? 1 : 2, -1, -1, curve, kind47, variation);
  return curve != 0 || kind47 != 0 || variation != 0;
}

void listMaterialsOrProperties(int32_t kind, ValueList& list, int32_t& status) {
  const bool property = kind == kPropertyKind;
  if ((property ? LIVPHY() : LIVMAT()) <= 0) return;
  const bool referring = MNUCTL.answerCount == 2 && ITEM(1) == kListKeyword &&
                         ITEM(2) == kReferenceKeyword;
  if (referring && LIVCRV() <= 0 && LIVK40() <= 0 && LIVK47() <= 0) return;
  listNames(kind, property ? kPropertyType : kMaterialType, property ? CNTPHY() : CNTMAT(), list,
            status, [&](int32_t i) { return !referring || refersToLiveObject(i, property); });
}

// The sixth integer of load definition I; 0 when it has none.
int32_t loadDefinitionWord6(int32_t i) {
  std::array<int32_t, 6> v{};
  int32_t count = 6;
  ATTVLI(1, kLoadDefinitionType, i, 1, count, v);
  return v[5];
}

}  // namespace

void SPCLST(int32_t kind, ValueList& list, int32_t& status) {
  status = kListDone;
  switch (kind) {
    case kMaterialKind:
    case kPropertyKind:
      listMaterialsOrProperties(kind, list, status);
      return;
    case kMaterialDefinitionKind:
    case kPropertyDefinitionKind: {
      const bool property = kind == kPropertyDefinitionKind;
      if (tablePresent(property ? DefinitionTable::Property : DefinitionTable::Material)) {
        (property ? ATVLST : ATVLS2)(kind, list, status);
      } else if (const int32_t n = property ? CNTK37() : CNTK36(); n > 0) {
        listNames(kind, property ? kPropertyDefinitionType : kMaterialDefinitionType, n, list,
                  status, [](int32_t) { return true; });
      } else {
        listKeyword(kind, list, status);
      }
      return;
    }
    case kLoadDefinitionKind:
    case kConditionDefinitionKind: {
      const int32_t n = CNTK38();
      if (n <= 0) {
        listKeyword(kind, list, status);
        return;
      }
      const int32_t excluded = kind == kLoadDefinitionKind ? 0 : 1;
      listNames(kind, kLoadDefinitionType, n, list, status,
                [excluded](int32_t i) { return loadDefinitionWord6(i) != excluded; });
      return;
    }
    case kAllKind:
      add(list, -kAllKind, 3, "ALL", status);
      return;
    case 60:
      if (LIVCRV() > 0) listNames(kind, kCurveType, CNTCRV(), list, status, [](int32_t) { return true; });
      return;
    case 61:
      if (LIVK40() > 0) listNames(kind, kVariationType, CNTK40(), list, status, [](int32_t) { return true; });
      return;
    case 78:
      if (LIVK47() > 0) listNames(kind, kKind47Type, CNTK47(), list, status, [](int32_t) { return true; });
      return;
    default:
      break;
  }
  if (kind >= kFirstStepKind && kind <= kLastStepKind) {
    const int32_t third = ITEM(3);
    if ((third == kMaterialKeyword || third == -kMaterialKind) && tablePresent(DefinitionTable::Material)) {
      ATVLS2(kind, list, status);
    } else if ((third == kPropertyKeyword || third == -kPropertyKind) &&
               tablePresent(DefinitionTable::Property)) {
      ATVLST(kind, list, status);
    } else {
      status = kListFailed;
    }
    return;
  }
  listKeyword(kind, list, status);
}

namespace {

// ----- The check ---------------------------------------------------------------------------

// The token as the check holds it: its first 16 characters in a work line, the operator,
// and the answer text (the characters after the operator) at START..START + N - 1.
struct Token {
  std::array<int32_t, kWorkCodes> work{};
  int32_t oper = 1;
  int32_t start = 1;
  int32_t n = 0;

  int32_t at(int32_t k) const {
    return k >= 1 && k <= kWorkCodes ? work[static_cast<std::size_t>(k - 1)] : kBlankCode;
  }
  int32_t end() const { return start + n - 1; }
  // The answer text from its K-th character on (K from 1).
  std::span<const int32_t> text(int32_t k = 1) const {
    const int32_t from = std::clamp(start + k - 1, 1, kWorkCodes + 1);
    const int32_t to = std::clamp(end(), from - 1, kWorkCodes);
    return std::span<const int32_t>(work).subspan(static_cast<std::size_t>(from - 1),
                                                  static_cast<std::size_t>(to - from + 1));
  }
};

Token tokenOf(std::span<const int32_t> line, int32_t first, int32_t last) {
  Token t;
  t.work.fill(kBlankCode);
  const int32_t size = static_cast<int32_t>(line.size());
  const int32_t f = std::max(first, 1);
  const int32_t l = std::min({last, size, f + kWorkCodes - 1});
  for (int32_t k = f; k <= l; ++k) t.work[static_cast<std::size_t>(k - f)] = line[static_cast<std::size_t>(k - 1)];
  const int32_t length = std::max(l - f + 1, 0);
  const int32_t c = t.at(1);
  if (length > 0 && (c == codeOf('*') || c == codeOf('+') || c == codeOf('-'))) {
    t.oper = c == codeOf('*') ? 1 : c == codeOf('+') ? 2 : 3;
    t.start = 2;
  }
  t.n = std::max(length - t.start + 1, 0);
  return t;
}

// The codes of CODES, cut to the room left in the check's text; the list value counts them.
void answerText(std::span<const int32_t> codes, ArgumentCheck& check) {
  const int32_t n = std::min(static_cast<int32_t>(codes.size()), static_cast<int32_t>(check.text.size()));
  std::copy_n(codes.begin(), n, check.text.begin());
  check.status = kCheckExact;
  check.valueCode = kCodeText;
  check.listValue = n;
}

void acceptObject(int32_t number, ArgumentCheck& check) {
  check.status = kCheckExact;
  check.valueCode = kCodeObject;
  check.listValue = number;
}

void fail(int32_t e, ArgumentCheck& check) { check.status = kFailure - e; }

// The translated answer text: CODES, cut or blank-padded to eight.
void setTranslatedText(std::span<const int32_t> codes) {
  XLTSTA.text.fill(kBlankCode);
  std::copy_n(codes.begin(), std::min(codes.size(), XLTSTA.text.size()), XLTSTA.text.begin());
}

// The code line of the eight characters of a name.
std::array<int32_t, kNameChars> nameCodes(std::span<const int32_t> words) {
  const std::string s = nameText(words);
  std::array<int32_t, kNameChars> codes{};
  for (std::size_t k = 0; k < codes.size(); ++k) codes[k] = codeOf(k < s.size() ? s[k] : ' ');
  return codes;
}
// The characters of a name without its trailing blanks, as codes.
std::vector<int32_t> trimmedName(std::span<const int32_t> words) {
  const std::array<int32_t, kNameChars> codes = nameCodes(words);
  auto n = static_cast<std::ptrdiff_t>(codes.size());
  while (n > 0 && codes[static_cast<std::size_t>(n - 1)] == kBlankCode) --n;
  return std::vector<int32_t>(codes.begin(), codes.begin() + n);
}

// The first eight characters of CODES as two A4 words, blank-padded.
std::array<int32_t, kNameWords> packName(std::span<const int32_t> codes) {
  std::array<int32_t, kNameWords> name = {kBlankCode, kBlankCode};
  int32_t end = 0;
  FMTVAL(codes, 1, std::min(static_cast<int32_t>(codes.size()), kNameChars), 1, name, end);
  return name;
}

// ----- Step 4: ALL -----------------------------------------------------------------------

void checkAll(const Token& t, ArgumentCheck& check) {
  static constexpr std::array<int32_t, 3> kAll = {codeOf('A'), codeOf('L'), codeOf('L')};
  int32_t result = kCheckNoMatch;
  CODCMP(kAll, 1, 3, t.work, t.start, t.end(), result);
  if (result < 0) return;
  acceptObject(1, check);
  const int32_t count = MNUCTL.answerCount;
  if (count < kFirstAnswers) return;
  const bool material = ITEM(1) == kListKeyword && ITEM(2) == kReferenceKeyword &&
                        ITEM(3) == -kMaterialKind;
  if (!material && ITEM(3) != -kPropertyKind) return;
  // The object and the header come from the earlier answers.
  int32_t object = 0, header = 0;
  bool property = false, objectFound = false;
  for (int32_t i = 1; i < count; ++i) {
    const int32_t item = ITEM(i);
    if (!objectFound && (item == -kPropertyKind || item == -kMaterialKind)) {
      objectFound = true;
      object = MMULST(i);
      property = item == -kPropertyKind;
    }
    if (header == 0 && item == -kHeaderStepKind && MMULST(i) % kLevelBase == kHeaderLevel) {
      header = MMULST(i) / kLevelBase;
    }
  }
  if (!objectFound || header == 0) {
    fail(kFailureNoDefinition, check);
    return;
  }
  int32_t curve = 0, kind47 = 0, variation = 0;
  ATRDSP(object, property ? 1 : 2, header, -1, curve, kind47, variation);
  if (const int32_t menu = referenceMenu(curve, kind47, variation); menu != 0) check.nextMenu = menu;
}

// ----- Step 5: node and element numbers -----------------------------------------------------

void checkNumber(int32_t kind, const Token& t, ArgumentCheck& check) {
  const bool node = kind == kNodeKind || kind == kNewNodeKind;
  if (translating()) {
    if (XLTSTA.meshLock > 0) {
      fail(kFailureMeshLock, check);
      return;
    }
    if (XLTSTA.nodeBase < CNTNDS()) MSHCAN();
  }
  int32_t from = t.start;
  if (t.n > 0 && t.at(from) == codeOf(node ? 'N' : 'E')) ++from;
  if (from > t.end()) return;
  int32_t kindOut = 0, f = 0, l = 0, value = 0;
  float real = 0.0f;
  NXTTKN(t.work, from, t.end(), kLexInteger, kindOut, f, l, value, real);
  if (kindOut != kTokenInteger || f != from || l != t.end()) return;
  int64_t v = value;
  if (translating()) {
    v += node ? XLTSTA.nodeBase : XLTSTA.elementBase;
    v = std::clamp<int64_t>(v, INT32_MIN, INT32_MAX);
    std::array<int32_t, 12> digits{};
    digits.fill(kBlankCode);
    int32_t last = 0;
    INTCOD(static_cast<int32_t>(v), 1, digits, last);
    setTranslatedText(std::span<const int32_t>(digits).first(static_cast<std::size_t>(std::max(last, 0))));
  }
  if (kind == kNodeKind || kind == kElementKind) {
    const int64_t offset = node ? NODOFS() : ELMOFS();
    const int64_t count = node ? CNTNDS() : CNTELM();
    if (v <= offset || v > offset + count) return;
  }
  acceptObject(static_cast<int32_t>(v), check);
}

// ----- Step 6: "#" answers -----------------------------------------------------------------

// "#<number><kind>": the object number; under translation moved by the replayed file's
// record offset of the class's name array and named by that record.
void checkReference(int32_t kind, const Token& t, ArgumentCheck& check) {
  const std::span<const int32_t> digits = t.text(2);
  int32_t number = 0;
  NUMSFX(digits, static_cast<int32_t>(digits.size()), kind, number);
  if (number == 0) return;
  const int32_t array = translating() ? translatedArray(kind) : 0;
  if (array != 0) {
    const int64_t moved = int64_t{number} + REGHED.word(kRecordOffsetWord, array) -
                          (array == kSetNames ? 1 : 0);
    // The name is read from the record; a record the array does not hold names nothing.
    if (moved < 1 || moved > REGHED.ARRLEN(array)) return;
    number = static_cast<int32_t>(moved);
    std::vector<int32_t> record(static_cast<std::size_t>(std::max(REGHED.ARRWID(array), kNameWords)));
    int32_t stat = 0;
    ARRIO(1, array, number, 1, -1, record, {}, stat);
    setTranslatedText(nameCodes(std::span<const int32_t>(record).first(kNameWords)));
  }
  acceptObject(number, check);
}

// "#NAME" for a new object: the name after "#"; under translation a name of the class's
// sequence in its place, which the map then gives for the typed one.
void checkNewName(int32_t kind, const Token& t, ArgumentCheck& check) {
  std::span<const int32_t> typed = t.text(2);
  if (typed.empty()) return;  // "#" alone names nothing, and would map a blank key
  if (isDefinitionKind(kind)) typed = typed.first(std::min<std::size_t>(typed.size(), kNameChars));
  const int32_t code = objectCode(kind);
  if (!translating()) {
    if (code != 0) {
      int32_t result = 0;
      SEQNOT(typed, static_cast<int32_t>(typed.size()), code, 1, result);
    }
    answerText(typed, check);
    return;
  }
  if (const int32_t index = flagIndex(kind); index != 0) {
    if (XLTSTA.kindFlag(index) == 1) {
      fail(kFailureForbidden, check);
      return;
    }
    if (XLTSTA.kindFlag(index) == -1) XLTSTA.kindFlag(index) = 0;
  }
  // A kind of no class has no sequence to draw a name from: the typed name stays.
  if (code == 0) {
    setTranslatedText(typed);
    answerText(typed, check);
    return;
  }
  NameWords name{};
  SEQNXT(name, code);
  std::string key(kNameChars, ' ');
  for (std::size_t k = 0; k < key.size() && k < typed.size(); ++k) key[k] = charOf(typed[k]);
  std::string value = nameText(name);
  int32_t status = 0;
  NameMapInsert(FText(key), FText(value), status);
  if (status != 0) {
    fail(status, check);
    return;
  }
  setTranslatedText(nameCodes(name));
  answerText(trimmedName(name), check);
}

// ----- Step 9: names that clash with the command words --------------------------------------

bool isSynonym(const Token& t) {
  if (SYNSTA.active != 1) return false;
  const int32_t count = std::clamp(SYNSTA.count, 0, SynSta::kMaxSynonyms);
  for (int32_t i = 1; i <= count; ++i) {
    int32_t r = kCheckNoMatch;
    CODCMP(SYNSTA.name(i), 1, SynSta::kNameCodes, t.work, t.start, t.end(), r);
    if (r == kCheckExact || (r > 0 && r >= SYNSTA.searchNumber(i))) return true;
  }
  return false;
}

bool isRootKeyword(const Token& t) {
  int32_t record = 0;
  MNUFND(kRootMenu, record);
  if (mnuWord(record) != kRootMenu) return false;
  const int32_t items = mnuWord(record + 1);
  for (int32_t k = 1; k <= items; ++k) {
    const int32_t item = mnuWord(record + 2 * k);
    if (item <= 0 || item >= MnuTab::kWords) continue;
    const int32_t header = mnuWord(item);
    const int32_t number = header / kKeywordHeaderBase;
    if (header <= kLastTokenClassWord ||
        (number >= kFirstUncountedKeyword && number <= kLastUncountedKeyword)) {
      continue;
    }
    const int32_t count = header % kKeywordHeaderBase;
    int32_t r = kCheckNoMatch;
    CODCMP(MNUTAB.words, item + 1, item + count, t.work, t.start, t.end(), r);
    if (r == kCheckExact || r >= kKeywordAbbreviation) return true;
  }
  return false;
}

// ----- Steps 11 to 14: the sequences of definitions -----------------------------------------

// Integer values 1..N of attribute (TYPE, ID), 0 where it holds none.
template <std::size_t N>
std::array<int32_t, N> integers(int32_t type, int32_t id) {
  std::array<int32_t, N> v{};
  if (id < 1) return v;  // id 0 would search by label
  auto count = static_cast<int32_t>(N);
  ATTVLI(1, type, id, 1, count, v);
  return v;
}
// The first real of attribute (TYPE, ID), truncated.
int32_t firstReal(int32_t type, int32_t id) {
  std::array<float, 1> v{};
  if (id < 1) return 0;
  int32_t count = 1;
  ATTVLR(1, type, id, 1, count, v);
  return intOf(v[0]);
}

int32_t clampedCount(int64_t n) { return static_cast<int32_t>(std::clamp<int64_t>(n, 0, INT32_MAX)); }

void materialSequence(int32_t definition) {
  const auto v = integers<2>(kMaterialDefinitionType, definition);
  SequenceWriter w;
  if (v[1] == 1) {
    w.add(3);
    w.add(-3, clampedCount(int64_t{v[0]} - 1));
  } else if (v[1] == 2) {
    w.add(6);
    w.add(-6, 3);
  } else {
    w.add(3);
  }
  w.end();
}

void propertySequence(int32_t definition) {
  const auto v = integers<4>(kPropertyDefinitionType, definition);
  const int64_t n = int64_t{v[1]} * 3 + v[0] + int64_t{v[2]} * 6;
  SequenceWriter w;
  if (v[3] == 1) {
    w.add(3);
    w.add(-3, clampedCount(n - 1));
  } else if (v[3] == 2) {
    w.add(6);
    w.add(-6, 3);
  } else {
    w.add(3);
  }
  w.end();
}

// The load definition DEFINITION of a load (CONDITION false) or initial condition: refused
// (false) when it is of the other sort; otherwise either the next menu DONEMENU (values
// already given) or the sequence of the values it wants.
bool loadSequence(int32_t definition, bool condition, int32_t doneMenu, ArgumentCheck& check) {
  const auto v = integers<6>(kLoadDefinitionType, definition);
  if (!condition && v[5] == 0) return false;
  if (condition && (v[5] == 1 || v[2] == 3)) return false;
  if (v[2] == 3 && std::find(kLoadValueMenus.begin(), kLoadValueMenus.end(), check.nextMenu) !=
                       kLoadValueMenus.end()) {
    check.nextMenu = doneMenu;
    check.sign = kRequired;
    return true;
  }
  SequenceWriter w;
  if (v[1] == 5) {
    w.add(3);
    w.add(-2);
  } else if (v[1] != 0) {
    w.add(3);
    w.add(-3, clampedCount(int64_t{v[0]} - 1));
  }
  if (v[3] == 3) {
    w.add(-3, 6);
  } else if (v[3] == -3) {
    w.add(-1);
    w.add(1);
  }
  if (v[4] == 2) {
    w.add(-3, 6);
  } else if (v[4] == -2) {
    w.add(-1);
    w.add(1);
  }
  if (v[4] == 2 || v[4] == -2) {
    if (v[1] == 5) {
      w.add(-3);
    } else {
      w.add(-3, v[0]);
    }
  }
  w.end();
  return true;
}

// The definition of type TYPE (1..COUNT) named by the first eight characters of the
// answer text: an exact name at once, else the one name it abbreviates (STATUS its
// length); 0 when none, or more than one, is named so.
int32_t definitionNamed(int32_t type, int32_t count, const Token& t, int32_t& status) {
  const int32_t last = std::min(t.end(), t.start + kNameChars - 1);
  int32_t chosen = 0;
  int32_t abbreviations = 0;
  for (int32_t i = 1; i <= count; ++i) {
    std::array<int32_t, kNameWords> label{};
    if (!attributeName(type, i, label)) continue;
    const std::array<int32_t, kNameChars> codes = nameCodes(label);
    int32_t r = kCheckNoMatch;
    CODCMP(codes, 1, kNameChars, t.work, t.start, last, r);
    if (r == kCheckExact) {
      status = kCheckExact;
      return i;
    }
    if (r > 0 && ++abbreviations == 1) {
      chosen = i;
      status = r;
    }
  }
  return abbreviations == 1 ? chosen : 0;
}

// ----- Step 10: existing objects ----------------------------------------------------------

// The existing object of KIND's class named NAME (the answer text of T); 0 when there is
// none. With names of eight characters a name above its sequence's highest number is
// carried by no object yet; any other numbered name starts the search at its number.
int32_t existingObject(int32_t kind, const Token& t, const std::array<int32_t, kNameWords>& name) {
  int32_t hint = 1;
  if (seqNameMode() == kEightCharacterNames) {
    int32_t result = 0;
    SEQNOT(t.text(), t.n, objectCode(kind), 0, result);
    if (result == 0) return 0;
    hint = -result;
  }
  const Lookup where = lookupOf(kind);
  if (where.byArray) return ARRFND(name, where.array, hint, where.count());
  int32_t stat = -1, id = 0;
  ENTNAM(name, where.array, stat, id);
  return stat == 0 ? id : 0;
}

// Kinds 17 and 18, and 67 to 69 by answer 3: the walk of the definition table, or the
// definitions by name and the sequence of the one named.
void checkMaterialOrPropertyDefinition(int32_t kind, const Token& t,
                                       const std::array<int32_t, kNameWords>& name,
                                       ArgumentCheck& check) {
  bool material = kind == kMaterialDefinitionKind;
  bool property = kind == kPropertyDefinitionKind;
  if (kind >= kFirstStepKind && kind <= kLastStepKind) {
    const int32_t third = ITEM(3);
    material = third == kMaterialKeyword || third == -kMaterialKind;
    property = !material && (third == kPropertyKeyword || third == -kPropertyKind);
  }
  if (!material && !property) {
    // Any other answer 3: a step names a point.
    if (const int32_t r = existingObject(kPointKind, t, name); r != 0) acceptObject(r, check);
    return;
  }
  const DefinitionTable table = property ? DefinitionTable::Property : DefinitionTable::Material;
  if (tablePresent(table)) {
    const int32_t last = std::min(t.end(), t.start + kNameChars - 1);
    (property ? ATRWLK : ATRWL2)(kind, t.work, t.start, last, check);
    return;
  }
  int32_t status = kCheckNoMatch;
  const int32_t d = property ? definitionNamed(kPropertyDefinitionType, CNTK37(), t, status)
                             : definitionNamed(kMaterialDefinitionType, CNTK36(), t, status);
  if (d == 0) return;
  check.status = status;
  check.valueCode = kCodeObject;
  check.listValue = d;
  if (property) {
    propertySequence(d);
  } else {
    materialSequence(d);
  }
}

void checkLoadDefinition(int32_t kind, const Token& t, ArgumentCheck& check) {
  int32_t status = kCheckNoMatch;
  const int32_t d = definitionNamed(kLoadDefinitionType, CNTK38(), t, status);
  if (d == 0) return;
  if (!loadSequence(d, kind == kConditionDefinitionKind, kLoadDefinitionDoneMenu, check)) return;
  check.status = status;
  check.valueCode = kCodeObject;
  check.listValue = d;
}

void checkExisting(int32_t kind, const Token& t, const std::array<int32_t, kNameWords>& name,
                   ArgumentCheck& check) {
  const int32_t r = existingObject(kind, t, name);
  if (r == 0) return;
  if (kind == kMaterialKind || kind == kPropertyKind) {
    const bool property = kind == kPropertyKind;
    if (!tablePresent(property ? DefinitionTable::Property : DefinitionTable::Material)) {
      const int32_t d = firstReal(property ? kPropertyType : kMaterialType, r);
      if (property) {
        propertySequence(d);
      } else {
        materialSequence(d);
      }
    }
  } else if (kind == kLoadKind || kind == kConditionKind) {
    if (!loadSequence(firstReal(kLoadType, r), kind == kConditionKind, kLoadDoneMenu, check)) return;
  }
  acceptObject(r, check);
}

void checkNewObject(int32_t kind, const Token& t, const std::array<int32_t, kNameWords>& name,
                    ArgumentCheck& check) {
  const int32_t code = objectCode(kind);
  // Only the first eight characters of a definition's name count, for its sequence too.
  const std::span<const int32_t> typed =
      isDefinitionKind(kind) ? t.text().first(std::min<std::size_t>(t.n, kNameChars)) : t.text();
  if (seqNameMode() == kEightCharacterNames && code != 0) {
    int32_t result = 0;
    SEQNOT(typed, static_cast<int32_t>(typed.size()), code, 1, result);
    if (result == 0) {
      answerText(typed, check);
      return;
    }
  }
  int32_t c = 0, r = 0;
  ENTARR(1, name, c, r);
  if (r == 0) {
    answerText(typed, check);
  } else if (c == ownClass(kind)) {
    acceptObject(r, check);
  }
}

}  // namespace

void SPCCHK(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            int32_t inputMode, ArgumentCheck& check) {
  check.status = kCheckNoMatch;
  check.real = 0.0f;
  check.valueCode = kCodeText;
  check.listValue = 0;
  check.oper = 1;
  // Step 2: the placeholder answer of the kind's keyword.
  if ((inputMode == 2 || inputMode == 3) && first >= 1 && first <= last &&
      first <= static_cast<int32_t>(line.size()) &&
      line[static_cast<std::size_t>(first - 1)] == codeOf('\'')) {
    DUMNAM(kind, line, first, last, check);
    return;
  }
  // Step 3: the operator and the answer text.
  Token t = tokenOf(line, first, last);
  check.oper = t.oper;
  if (kind == kAllKind) {
    checkAll(t, check);
    return;
  }
  if (isNumberKind(kind)) {
    checkNumber(kind, t, check);
    return;
  }
  if (t.n > 0 && t.at(t.start) == codeOf('#')) {
    const int32_t next = t.n > 1 ? t.at(t.start + 1) : kBlankCode;
    if (next >= codeOf('1') && next <= codeOf('9')) {
      checkReference(kind, t, check);
    } else if (isNewObjectKind(kind)) {
      checkNewName(kind, t, check);
    }
    return;
  }
  // Step 7: a name begins with a letter; a name kind has eight characters at most.
  const bool definition = isDefinitionKind(kind);
  if (t.n < 1 || t.at(t.start) < codeOf('A') || t.at(t.start) > codeOf('Z')) return;
  if (!definition && t.n > kNameChars) return;
  // Step 8: the names of a translated file are the model's.
  if (translating()) {
    if (!definition && objectCode(kind) != 0) {
      int32_t length = t.n;
      int32_t status = 0;
      NAMXLT(t.work, t.start, length, kind, status);
      if (status == kCheckNoMatch) return;
      if (status != 0) {
        fail(status, check);
        return;
      }
      t.n = length;
      while (t.n > 0 && t.at(t.end()) == kBlankCode) --t.n;
      if (const int32_t index = flagIndex(kind); index != 0) XLTSTA.kindFlag(index) = -1;
    }
    setTranslatedText(t.text().first(std::min<std::size_t>(t.n, kNameChars)));
  }
  // Step 9: no name may be taken for a synonym or a command word.
  if (!definition && (isSynonym(t) || isRootKeyword(t))) return;
  const std::array<int32_t, kNameWords> name = packName(t.text());

  // Step 10 and on, by kind.
  if (kind == kAnyOldName || kind == kAnyNewName) {
    int32_t c = 0, r = 0;
    ENTARR(1, name, c, r);
    const bool found = c != 0 || r != 0;
    if (kind == kAnyNewName) {
      if (!found) answerText(t.text(), check);
      return;
    }
    // "ALL", and an attribute name of a type of no class, have no existing-object kind.
    const int32_t existing = found ? existingKind(c) : 0;
    if (existing == 0) return;
    check.status = kCheckExact;
    check.valueCode = -existing;
    check.listValue = r;
    return;
  }
  if (kind == kMaterialDefinitionKind || kind == kPropertyDefinitionKind ||
      (kind >= kFirstStepKind && kind <= kLastStepKind)) {
    checkMaterialOrPropertyDefinition(kind, t, name, check);
    return;
  }
  if (kind == kLoadDefinitionKind || kind == kConditionDefinitionKind) {
    checkLoadDefinition(kind, t, check);
    return;
  }
  if (isNewObjectKind(kind)) {
    checkNewObject(kind, t, name, check);
    return;
  }
  checkExisting(kind, t, name, check);
}

}  // namespace kvr
