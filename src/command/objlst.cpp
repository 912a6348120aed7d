#include "command/objlst.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "command/ansrec.h"
#include "command/argkwd.h"
#include "command/dbflst.h"
#include "command/dspfnd.h"
#include "command/dumnam.h"
#include "command/elttxt.h"
#include "command/lstfnd.h"
#include "command/mnuctl.h"
#include "command/objrec.h"
#include "command/objsrc.h"
#include "messages/catalog.h"
#include "modeldb/codcmp.h"
#include "modeldb/ctlrec.h"
#include "modeldb/ctlwords.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbopen.h"
#include "modeldb/elmarr.h"
#include "modeldb/elttab.h"
#include "modeldb/lcfind.h"
#include "modeldb/setdir.h"
#include "runtime/codtxt.h"
#include "runtime/fileutil.h"
#include "runtime/nxttkn.h"
#include "runtime/slttab.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kTypeBase = 100;  // argument kind = object type + 100

// Object types.
constexpr int32_t kComponentType = 3;
constexpr int32_t kNoListType = 5;
constexpr int32_t kKindOneType = 6;
constexpr int32_t kKindOneComponentType = 7;
constexpr int32_t kKindFiveType = 8;
constexpr int32_t kLastResultsType = 8;
constexpr int32_t kWindowType = 9;
constexpr int32_t kAnyModelType = 10;
constexpr int32_t kLoadCaseType = 11;
constexpr int32_t kSetType = 12;
constexpr int32_t kPlaceholderModelType = 16;
constexpr int32_t kOtherCaseType = 21;
constexpr int32_t kShapeType = 24;
constexpr int32_t kElementTypeType = 25;
constexpr int32_t kLineObjectType = 27;
constexpr int32_t kSystemType = 29;
constexpr int32_t kSymbolSetType = 31;
constexpr int32_t kHeaderType = 33;
constexpr int32_t kMontageType = 35;
constexpr int32_t kNodeType = 36;
constexpr int32_t kElementType = 37;
constexpr int32_t kFirstOtherWindowType = 38;
constexpr int32_t kLastType = 100;

// Placeholder codes that are not 100 + type.
constexpr int32_t kNamePlaceholder = 109;
constexpr int32_t kModelPlaceholder = 110;
constexpr int32_t kLoadPlaceholder = 111;
constexpr int32_t kHeaderPlaceholder = 203;

// Entry values.
constexpr int32_t kNameValue = kObjectNameCodes;
constexpr int32_t kWindowNameChars = SlotTable::kNameChars;
constexpr int32_t kElementNameValue = 4;

// Window slots listed: those of type word 4.
constexpr int32_t kWindowSlotType = 4;
constexpr int32_t kMostModelFiles = 500;
constexpr int32_t kSelectedCaseOnly = 1;

// Load cases: the words of a record 104 and its load-case kinds.
constexpr int32_t kStateWord = 1;
constexpr int32_t kCaseNameWord = 2;
constexpr int32_t kCaseTypeWord = 11;
constexpr int32_t kCaseNumberWord = 12;
constexpr int32_t kCaseInUse = 1;

// Catalogue errors (less 3000).
constexpr int32_t kE3380 = 380;   // Failed to open input file
constexpr int32_t kE3400 = 400;   // No attributes
constexpr int32_t kE3430 = 430;   // Loadcase not selected
constexpr int32_t kE4380 = 1380;  // Cannot interrogate directory

// OBJLST statuses.
constexpr int32_t kDone = 0;
constexpr int32_t kFailed = 1;
constexpr int32_t kFull = 2;
constexpr int32_t kNothingOffered = 3;

// OBJCHK answers.
constexpr int32_t kTextValueCode = 0;
constexpr int32_t kListValueCode = 1;
constexpr int32_t kIntegerValueCode = 2;
constexpr int32_t kFoundValueCode = 4;
constexpr int32_t kNoComponentsMenu = 4905;

// The builder's delivery of objects into the value list, by its mode.
class Delivery {
 public:
  Delivery(ValueList& list, int32_t mode, int32_t firstNumber, int32_t limit)
      : list_(list), mode_(mode), firstNumber_(firstNumber), limit_(limit) {}

  // Offers one object; false once the list can take no more. KEEPLAST keeps the last
  // place of a listing (mode 3) for the placeholder.
  bool offer(int32_t kind, int32_t value, std::string_view text, bool keepLast) {
    if (full_) return false;
    ++number_;
    if (mode_ == kCountObjects) {
      ++list_.count;
      ++added_;
      return true;
    }
    if (mode_ == kDeliverObjects) {
      if (number_ < firstNumber_) return true;
      if ((limit_ > 0 && added_ >= limit_) || list_.full()) return stop();
    } else {
      const int32_t room = list_.maximum() - (keepLast ? 1 : 0);
      if (list_.count >= room) return stop();
    }
    list_.append(kind, value, text);
    ++added_;
    return true;
  }

  // The placeholder entry of argument-type CODE, when listing every object (mode 3); a
  // full list takes nothing and is full.
  void placeholder(int32_t code) {
    if (mode_ != kListObjects) return;
    const std::string_view keyword = argumentKeyword(code);
    if (keyword.empty()) return;
    if (list_.full()) {
      full_ = true;
      return;
    }
    list_.append(kPlaceholderEntry, static_cast<int32_t>(keyword.size()), keyword);
  }

  // The placeholder when nothing was listed or the list is full.
  void placeholderIfEmptyOrFull(int32_t code) {
    if (added_ == 0 || full_) placeholder(code);
  }

  bool full() const { return full_; }
  int32_t added() const { return added_; }
  int32_t mode() const { return mode_; }
  int32_t status() const { return full_ ? kFull : kDone; }

 private:
  bool stop() {
    full_ = true;
    return false;
  }

  ValueList& list_;
  int32_t mode_;
  int32_t firstNumber_;
  int32_t limit_;
  int32_t number_ = 0;  // objects offered
  int32_t added_ = 0;   // entries filled (mode 1: objects counted)
  bool full_ = false;
};

std::string textOf(std::span<const int32_t> codes) {
  std::string s;
  for (int32_t c : codes) s.push_back(charOf(c));
  return s;
}

// The codes of the 8-word name at word FIRST of RECORD.
std::string nameAt(std::span<const int32_t> record, int32_t first) {
  return textOf(record.subspan(static_cast<std::size_t>(first - 1), kObjectNameCodes));
}

bool usesLevels(int32_t type) {
  return DBLEVL.levelMode == DbLevl::kLevelMode &&
         (type == kSetType || type == kSymbolSetType || type == kMontageType);
}

// --- results attributes and components (types 1 to 8) ---

// The attribute kind of TYPE with the answers up to LATEST: 0 when none is chosen.
// EXACT: kind 1 is not counted as kind 2.
int32_t attributeKind(int32_t type, int32_t latest, bool& exact) {
  exact = type == kKindOneType || type == kKindOneComponentType;
  switch (type) {
    case kKindOneType:
    case kKindOneComponentType: return 1;
    case kKindFiveType: return 5;
    case kComponentType: return chosenAttributeKind(latest - 1);
    default: return chosenAttributeKind(latest);
  }
}

// The attributes of the chosen kind that the list of TYPE shows.
std::vector<ResultsAttribute> attributesOfKind(int32_t kind, bool exact) {
  std::vector<ResultsAttribute> all = resultsAttributes();
  std::erase_if(all, [&](const ResultsAttribute& a) { return !ofKind(a.kind, kind, exact); });
  return all;
}

// The attribute whose components type 3 or 7 lists: the one at the list value of answer
// LATEST among the attributes of KIND. False when there is none.
bool chosenAttribute(int32_t kind, bool exact, int32_t latest, ResultsAttribute& chosen) {
  if (latest < 1 || latest > MNUCTL.answerCount) return false;
  const int32_t position = MMULST(latest);
  const std::vector<ResultsAttribute> all = attributesOfKind(kind, exact);
  if (position < 1 || position > static_cast<int32_t>(all.size())) return false;
  chosen = all[static_cast<std::size_t>(position - 1)];
  return true;
}

void listResults(int32_t type, Delivery& out, int32_t& status) {
  if (!caseSelected()) {
    MSGE3(kE3430);
    status = kNothingOffered;
    return;
  }
  if (type == kNoListType) return;
  const int32_t code = kTypeBase + type;
  bool exact = false;
  const int32_t kind = attributeKind(type, MNUCTL.answerCount, exact);
  if (kind == 0) {
    out.placeholder(code);
    status = out.status();
    return;
  }
  const int32_t entryKind = -code;
  if (type == kComponentType || type == kKindOneComponentType) {
    ResultsAttribute chosen;
    if (!chosenAttribute(kind, exact, MNUCTL.answerCount, chosen)) {
      MSGE3(kE3400);
      status = kNothingOffered;
      return;
    }
    if (chosen.components < 1) {
      status = kFailed;
      return;
    }
    for (const ObjectName& name : componentNames(chosen)) {
      if (!out.offer(entryKind, kNameValue, textOf(name), false)) break;
    }
    status = out.status();
    return;
  }
  for (const ResultsAttribute& a : attributesOfKind(kind, exact)) {
    if (!out.offer(entryKind, kNameValue, textOf(a.name), true)) break;
  }
  out.placeholderIfEmptyOrFull(code);
  status = out.status();
}

// --- windows, model files, load cases ---

void listWindows(Delivery& out) {
  FixedText current(SlotTable::kDirectoryChars);
  CURDIR(current);
  int32_t inUse = 0;
  WINCNT(inUse);
  FixedText name(kWindowNameChars);
  FixedText directory(SlotTable::kDirectoryChars);
  for (int32_t k = 1; k <= inUse; ++k) {
    int32_t key = 0, typeWord = 0, flag1 = 0, flag2 = 0, notFound = 1;
    WINSLT(-k, key, name, typeWord, flag1, flag2, directory, notFound);
    if (notFound != 0 || typeWord != kWindowSlotType) continue;
    if (TXTCMP(directory, current, 0) != -1) continue;
    if (!out.offer(-(kTypeBase + kWindowType), kWindowNameChars, name.view(), true)) break;
  }
  out.placeholder(kNamePlaceholder);
}

int32_t modelSelection(int32_t type) {
  switch (type) {
    case 13: return 2;
    case 14: return 5;
    case 15: return 3;
    default: return 1;
  }
}

void listModels(int32_t type, Delivery& out) {
  if (type != kPlaceholderModelType) {
    std::vector<ModelFile> files(kMostModelFiles);
    int32_t count = 0;
    int32_t status = 0;
    DBFLST(modelSelection(type), 0, 0, kMostModelFiles, files, count, status);
    if (status == 1) {
      MSGE3(kE4380);
      count = 0;
    }
    for (int32_t k = 0; k < count; ++k) {
      const ModelFile& f = files[static_cast<std::size_t>(k)];
      const std::string_view name(f.name.data(), f.name.size());
      if (!out.offer(-(kTypeBase + kAnyModelType), kModelNameChars, name, true)) break;
    }
  }
  out.placeholder(kModelPlaceholder);
}

// Whether a load case of KIND (LCKIND) is one of TYPE.
bool caseOfType(int32_t type, int32_t kind) {
  switch (type) {
    case 17: return kind == 1;
    case 18: return kind == 2;
    case 19: return kind == 4;
    case kOtherCaseType: return kind != 1 && kind != 2 && kind != 4;
    default: return true;
  }
}

// The text of the load case in memory: the first token of its name (at most 6
// characters) and, when its type word is not 0, a blank and its number.
std::string caseText() {
  const std::span<int32_t> record = CTLREC.record(kLoadCaseClass);
  const std::span<const int32_t> name =
      std::span<const int32_t>(record).subspan(kCaseNameWord - 1, DbLevl::kCaseNameCodes);
  int32_t kind = kTokenNone, first = 0, last = 0, ivalue = 0;
  float rvalue = 0.0f;
  NXTTKN(name, 1, DbLevl::kCaseNameCodes, kLexName, kind, first, last, ivalue, rvalue);
  std::array<int32_t, 2 * DbLevl::kCaseNameCodes + 14> codes;
  codes.fill(kBlankCode);
  int32_t end = 0;
  if (kind != kTokenNone && first >= 1) {
    for (int32_t k = first; k <= last && end < DbLevl::kCaseNameCodes; ++k) {
      codes[static_cast<std::size_t>(end++)] = name[static_cast<std::size_t>(k - 1)];
    }
  }
  if (CTLREC.word(kLoadCaseClass, kCaseTypeWord) != 0) {
    INTCOD(CTLREC.word(kLoadCaseClass, kCaseNumberWord), end + 2, codes, end);
  }
  return textOf(std::span<const int32_t>(codes).first(static_cast<std::size_t>(end)));
}

void listLoadCases(int32_t type, Delivery& out) {
  int32_t first = 0;
  G103W8(first);
  std::array<int32_t, kIndexPageSize> buffer{};
  int32_t lastPage = 0;
  walkControlChain(kLoadCaseClass, first, lastPage, [&](int32_t page, int32_t entry) {
    const int32_t state = CTLREC.word(kLoadCaseClass, kStateWord);
    if (state < 0 || state == 0) return ChainStep::Next;  // deleted, or a page's free end
    if (state != kCaseInUse) return ChainStep::Stop;
    int32_t kind = 0;
    if (type != kLoadCaseType && type != 20) {
      LCKIND(entry, buffer, page, kind);
      if (!caseOfType(type, kind)) return ChainStep::Next;
    }
    const std::string text = caseText();
    return out.offer(-(kTypeBase + kLoadCaseType), static_cast<int32_t>(text.size()), text, true)
               ? ChainStep::Next
               : ChainStep::Stop;
  });
  if (type == kLoadCaseType) {
    out.placeholderIfEmptyOrFull(kLoadPlaceholder);
  } else {
    out.placeholder(kLoadPlaceholder);
  }
  // A selected case that the list does not hold exactly is no longer selected.
  if (DBLEVL.selectedCases == kSelectedCaseOnly && !selectSelectedCase()) DBLEVL.selectedCases = 0;
}

// --- the display datasets, element types, header names ---

std::string_view systemKind(int32_t objectType) {
  switch (objectType) {
    case 11: return "(Rectangular)";
    case 12: return "(Spherical)";
    case 13: return "(Cylindrical)";
    default: return "(Conical)";
  }
}

// The record layout of the dataset of TYPE, and whether a record in use is of TYPE.
constexpr int32_t kRecordTypeWord = 3;

bool shapeOfType(int32_t type, int32_t objectType) {
  return type == kShapeType ? objectType >= 1 && objectType <= 4
                            : objectType >= 11 && objectType <= 14;
}

void listDataset(int32_t type, std::span<int32_t> context, Delivery& out) {
  const int32_t entryKind = -(kTypeBase + type);
  // Each visit answers true to stop the walk: when the list can take no more.
  const auto offerName = [&](std::span<const int32_t> record, int32_t nameWord) {
    return !out.offer(entryKind, kNameValue, nameAt(record, nameWord), true);
  };
  switch (type) {
    case kSetType:
      walkFixedRecords(kSetDataset, kSetRecordWords, context,
                       [&](std::span<const int32_t> r) { return offerName(r, kSetNameWord); });
      break;
    case kMontageType:
      walkFixedRecords(kMontageDataset, kMontageRecordWords, context,
                       [&](std::span<const int32_t> r) {
                         return r[kRecordTypeWord - 1] == kMontageRecordType &&
                                offerName(r, kMontageNameWord);
                       });
      break;
    case kShapeType:
    case kSystemType:
      walkFixedRecords(kShapeDataset, shapeRecordWords(), context, [&](std::span<const int32_t> r) {
        const int32_t objectType = r[kRecordTypeWord - 1];
        if (!shapeOfType(type, objectType)) return false;
        if (type == kSystemType && out.mode() == kDeliverObjects) {
          std::string text = nameAt(r, kShapeNameWord) + " ";
          text += systemKind(objectType);
          return !out.offer(entryKind, static_cast<int32_t>(text.size()), text, true);
        }
        return offerName(r, kShapeNameWord);
      });
      break;
    case kLineObjectType:
      walkChainedRecords(kLineObjectDataset, context,
                         [&](std::span<const int32_t> r) { return offerName(r, kChainedNameWord); });
      break;
    case kSymbolSetType:
      walkChainedRecords(kSymbolDataset, context,
                         [&](std::span<const int32_t> r) { return offerName(r, kChainedNameWord); });
      break;
    default: break;
  }
  out.placeholderIfEmptyOrFull(kTypeBase + type);
}

void listElementTypes(Delivery& out) {
  int32_t nodes = 0, elements = 0, cases = 0;
  DBCTRW(nodes, elements, cases);
  std::array<bool, kElementTypes + 1> marked{};
  // ELMXYZ reads the element's work record into this buffer; no node is asked for.
  std::vector<int32_t> work(kIndexPageSize * 4, 0);
  for (int32_t k = 1; k <= elements; ++k) {
    int32_t id = 0, t = 0, a1 = 0, a2 = 0, status = 1;
    ELMXYZ(work, k, id, t, a1, a2, {}, {}, {}, {}, {}, status);
    // A type outside 1..61 would mark outside the table: it is no element type.
    if (status == 0 && t >= 1 && t <= kElementTypes) marked[static_cast<std::size_t>(t)] = true;
  }
  for (int32_t t = 1; t <= kElementTypes; ++t) {
    if (!marked[static_cast<std::size_t>(t)]) continue;
    if (!out.offer(-(kTypeBase + kElementTypeType), kElementNameValue, elementTypeName(t), false)) {
      break;
    }
  }
}

void listHeaderNames(Delivery& out, ValueList& list, int32_t& status) {
  FixedText fileName(kListFileNameChars);
  answerFileName(MNUCTL.answerCount, fileName);
  const bool opened = readHeaderNames(fileName, false, [&](std::span<const int32_t> name) {
    return !out.offer(-(kTypeBase + kHeaderType), static_cast<int32_t>(name.size()), textOf(name),
                      true);
  });
  if (!opened) {
    MSGE3(kE3380);
    status = kFailed;
    return;
  }
  if (out.full()) {
    // One place was kept for the placeholder.
    const std::string_view keyword = argumentKeyword(kHeaderPlaceholder);
    if (out.mode() == kListObjects && !list.full()) {
      list.append(kPlaceholderEntry, static_cast<int32_t>(keyword.size()), keyword);
    }
  }
  status = out.status();
}

// --- the checks ---

// The token's word after its operator sign.
struct Word {
  int32_t first = 0;
  int32_t last = -1;
  int32_t length() const { return last - first + 1; }
};

int32_t codeAt(std::span<const int32_t> line, int32_t k) {
  return k >= 1 && k <= static_cast<int32_t>(line.size()) ? line[static_cast<std::size_t>(k - 1)]
                                                           : kBlankCode;
}

// Takes the word as text: its codes copied into the check's text, cut to the room left.
void takeText(std::span<const int32_t> line, Word w, int32_t valueCode, ArgumentCheck& check) {
  const auto n = static_cast<int32_t>(
      std::min<std::size_t>(static_cast<std::size_t>(std::max(w.length(), 0)), check.text.size()));
  for (int32_t k = 0; k < n; ++k) check.text[static_cast<std::size_t>(k)] = codeAt(line, w.first + k);
  check.status = kCheckExact;
  check.valueCode = valueCode;
  check.listValue = n;
}

void checkWord(std::span<const int32_t> line, Word w, int32_t most, ArgumentCheck& check) {
  if (w.length() < 1 || w.length() > most) return;
  takeText(line, w, kTextValueCode, check);
}

// The first 8 codes of the word, blank-padded.
ObjectName nameOf(std::span<const int32_t> line, Word w) {
  ObjectName name;
  name.fill(kBlankCode);
  for (int32_t k = 0; k < kObjectNameCodes && k < w.length(); ++k) {
    name[static_cast<std::size_t>(k)] = codeAt(line, w.first + k);
  }
  return name;
}

// Whether an object of TYPE has the name of the word's first 8 codes, exactly.
bool objectExists(int32_t type, std::span<int32_t> context, const ObjectName& name) {
  int32_t result = -1;
  ObjectName matched{};
  switch (type) {
    case kSetType: {
      // SETFND reads the set directory into page-buffer slot 1 of its buffer.
      const auto words = static_cast<std::size_t>(2 * std::max(DBLEVL.dataPageSize, 0));
      std::vector<int32_t> own;
      std::span<int32_t> buffer = context;
      if (buffer.size() < words) {
        own.assign(words, 0);
        buffer = own;
      }
      int32_t kind = 0, word2 = 0, firstPage = 0, corrupt = 0;
      SETFND(buffer, name, result, matched, kind, word2, firstPage, corrupt);
      return result == 0;
    }
    case kShapeType:
    case kSystemType: {
      int32_t objectType = 0, failure = 0;
      SHPFND(context, type == kShapeType ? 1 : 2, name, result, matched, objectType, failure);
      return result == 0;
    }
    case kLineObjectType:
      LINFND(context, name, result, matched);
      return result == 0;
    case kSymbolSetType:
      SYMFND(name, context, result);
      return result == 0;
    case kMontageType:
      MONFND(name, context, result);
      return result == 0;
    default: return false;
  }
}

void checkObject(int32_t type, std::span<int32_t> context, std::span<const int32_t> line, Word w,
                 ArgumentCheck& check) {
  if (w.length() < 1) return;
  int32_t failed = 0;
  const bool levels = usesLevels(type) && type != kMontageType;
  if (levels) {
    LVLCHK(context, 1, failed);
    if (failed != 0) return;
  }
  const bool exists = objectExists(type, context, nameOf(line, w));
  if (levels) LVLCHK(context, 2, failed);
  if (exists) takeText(line, w, kFoundValueCode, check);
}

void checkHeaderName(std::span<const int32_t> line, Word w, ArgumentCheck& check) {
  if (w.length() < 1) return;
  std::array<int32_t, kHeaderNameCodes> name{};
  const int32_t n = std::min(w.length(), kHeaderNameCodes);
  for (int32_t k = 0; k < n; ++k) name[static_cast<std::size_t>(k)] = codeAt(line, w.first + k);
  int32_t seen = 0, status = 1;
  LSTFND(MNUCTL.answerCount - 1, name, n, seen, status);
  if (status != 0) return;
  check.status = kCheckExact;
  check.valueCode = kListValueCode;
  check.listValue = seen;
}

void checkNumber(int32_t type, std::span<const int32_t> line, Word w, ArgumentCheck& check) {
  if (w.length() < 1) return;
  int32_t kind = kTokenNone, first = 0, last = 0, value = 0;
  float real = 0.0f;
  NXTTKN(line, w.first, w.last, kLexInteger, kind, first, last, value, real);
  if (kind != kTokenInteger || first != w.first || last != w.last) return;
  int32_t nodes = 0, elements = 0, cases = 0;
  DBCTRW(nodes, elements, cases);
  const int32_t count = type == kNodeType ? nodes : elements;
  // Numbers count from 1: a node or element 0 does not exist.
  if (value < 1 || value > count) return;
  check.status = kCheckExact;
  check.valueCode = kIntegerValueCode;
  check.listValue = value;
}

void checkResults(int32_t type, std::span<const int32_t> line, Word w, ArgumentCheck& check) {
  if (!caseSelected() || type == kNoListType || w.length() < 1) return;
  const int32_t latest = MNUCTL.answerCount - 1;
  bool exact = false;
  const int32_t kind = attributeKind(type, latest, exact);
  if (kind == 0) return;

  std::vector<ObjectName> names;
  std::vector<int32_t> components;
  if (type == kComponentType || type == kKindOneComponentType) {
    ResultsAttribute chosen;
    if (!chosenAttribute(kind, exact, latest, chosen)) return;
    names = componentNames(chosen);
  } else {
    for (const ResultsAttribute& a : attributesOfKind(kind, exact)) {
      names.push_back(a.name);
      components.push_back(a.components);
    }
  }

  int32_t position = 0;
  int32_t matched = 0;
  int32_t abbreviations = 0;
  for (std::size_t k = 0; k < names.size(); ++k) {
    int32_t r = -1;
    CODCMP(names[k], 1, kObjectNameCodes, line, w.first, w.last, r);
    if (r == 0) {
      position = static_cast<int32_t>(k) + 1;
      matched = 0;
      abbreviations = 0;
      break;
    }
    if (r > 0 && ++abbreviations == 1) {
      position = static_cast<int32_t>(k) + 1;
      matched = r;
    }
  }
  if (abbreviations > 1) {
    check.status = kCheckAmbiguous;
  } else if (position > 0) {
    check.status = matched;
    check.valueCode = kListValueCode;
    check.listValue = position;
  }
  const bool choosesComponents = type == 2 || type == 4 || type == kKindOneType;
  if (choosesComponents &&
      (check.status == kCheckNoMatch ||
       (position > 0 && components[static_cast<std::size_t>(position - 1)] < 1))) {
    check.nextMenu = kNoComponentsMenu;
    check.sign = -1;
  }
}

bool hasPlaceholderAnswer(int32_t type) {
  return type == kSetType || (type >= 22 && type <= 24) || (type >= 26 && type <= 32) ||
         (type >= 34 && type <= kElementType);
}

}  // namespace

void OBJLST(std::span<int32_t> context, int32_t type, int32_t mode, int32_t firstNumber,
            int32_t limit, ValueList& list, int32_t& status) {
  status = kDone;
  Delivery out(list, mode, firstNumber, limit);
  if (type >= 1 && type <= kLastResultsType) {
    listResults(type, out, status);
    return;
  }
  switch (type) {
    case kWindowType:
      listWindows(out);
      break;
    case kAnyModelType:
    case 13:
    case 14:
    case 15:
    case kPlaceholderModelType:
      listModels(type, out);
      break;
    case kLoadCaseType:
    case 17:
    case 18:
    case 19:
    case 20:
    case kOtherCaseType:
      listLoadCases(type, out);
      break;
    case kSetType:
    case kShapeType:
    case kLineObjectType:
    case kSystemType:
    case kSymbolSetType:
    case kMontageType: {
      int32_t failed = 0;
      const bool levels = usesLevels(type);
      if (levels) {
        LVLCHK(context, 1, failed);
        if (failed != 0) {
          status = kFailed;
          return;
        }
      }
      listDataset(type, context, out);
      if (levels) LVLCHK(context, 2, failed);
      break;
    }
    case kElementTypeType:
      listElementTypes(out);
      break;
    case kHeaderType:
      listHeaderNames(out, list, status);
      return;
    case 22:
    case 23:
    case 26:
    case 28:
    case 30:
    case 32:
    case 34:
    case kNodeType:
    case kElementType:
      out.placeholder(kTypeBase + type);
      break;
    default:
      if (type >= kFirstOtherWindowType && type <= kLastType) listWindows(out);
      break;
  }
  status = out.status();
}

void OBJCHK(std::span<int32_t> context, int32_t type, std::span<const int32_t> line,
            int32_t first, int32_t last, int32_t inputMode, ArgumentCheck& check) {
  check.status = kCheckNoMatch;
  check.valueCode = kListValueCode;
  check.real = 0.0f;
  if ((inputMode == 2 || inputMode == 3) && codeAt(line, first) == codeOf('\'') &&
      hasPlaceholderAnswer(type)) {
    DUMOLD(type, line, first, last, check);
    return;
  }

  Word w{first, last};
  const int32_t sign = codeAt(line, first);
  check.oper = 1;
  if (sign == codeOf('*') || sign == codeOf('+') || sign == codeOf('-')) {
    check.oper = sign == codeOf('*') ? 1 : sign == codeOf('+') ? 2 : 3;
    ++w.first;
  }

  if (type >= 1 && type <= kLastResultsType) {
    checkResults(type, line, w, check);
    return;
  }
  switch (type) {
    case kWindowType:
    case kAnyModelType:
    case 13:
    case 14:
    case 15:
    case kPlaceholderModelType:
      checkWord(line, w, kModelNameChars, check);
      break;
    case kLoadCaseType:
    case 17:
    case 18:
    case 19:
    case 20:
      checkWord(line, w, DbLevl::kCaseNameCodes, check);
      break;
    case 22:
    case 23:
    case 26:
    case 28:
    case 30:
    case 32:
    case 34:
      checkWord(line, w, kObjectNameCodes, check);
      break;
    case kElementTypeType:
      checkWord(line, w, kElementNameValue, check);
      break;
    case kSetType:
    case kShapeType:
    case kLineObjectType:
    case kSystemType:
    case kSymbolSetType:
    case kMontageType:
      checkObject(type, context, line, w, check);
      break;
    case kHeaderType:
      checkHeaderName(line, w, check);
      break;
    case kNodeType:
    case kElementType:
      checkNumber(type, line, w, check);
      break;
    default: break;  // 5, 21 and 38 and above: no check
  }
}

}  // namespace kvr
