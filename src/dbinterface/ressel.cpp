// The results selection: the attribute search RAFIND, the choice of component and
// operator RESPRS, and its two entry points.
#include "dbinterface/ressel.h"

#include <algorithm>

#include "messages/catalog.h"
#include "modeldb/codcmp.h"
#include "modeldb/ctlrec.h"
#include "modeldb/ctlwords.h"
#include "modeldb/dbpage.h"
#include "runtime/iounit.h"
#include "runtime/nxttkn.h"

namespace kvr {
namespace {

// Words of record 106 and of record 104.
constexpr int32_t kLinkWord = 1;
constexpr int32_t kNameWord = 3;
constexpr int32_t kComponentPageWord = 11;
constexpr int32_t kResultsWord = 12;
constexpr int32_t kKeyFlagWord = 13;
constexpr int32_t kComponentCountWord = 14;
constexpr int32_t kListPageWord = 54;
constexpr int32_t kEndOfChain = -1;

// The header page of an attribute: the last used word, the first component entry and
// the words of an entry.
constexpr int32_t kLastUsedWord = 5;
constexpr int32_t kFirstComponentWord = 39;
constexpr int32_t kComponentWords = 29;
constexpr int32_t kValuesClass = 100;

// Words of a component entry, from 0.
constexpr int32_t kMenuFlag = 0;
constexpr int32_t kTypeCode = 1;
constexpr int32_t kIndex1 = 2;
constexpr int32_t kIndex2 = 3;
constexpr int32_t kIndicator = 4;
constexpr int32_t kName = 5;
constexpr int32_t kCalculationName = 13;
constexpr int32_t kSourceName = 21;

constexpr int32_t kCalculated = 1;
constexpr int32_t kIgnoreResultsWord = 1;  // the mode that accepts a results word below 1

// Catalogue errors E3480 and E3490.
constexpr int32_t kNotAnOperator = 480;
constexpr int32_t kNoSuchComponent = 490;

constexpr int32_t kStatusFailed = 1;
constexpr int32_t kStatusNoAttribute = 2;

// Value counts of the component types 0 to 5.
constexpr std::array<int32_t, 6> kValueCounts = {1, 1, 6, 12, 6, 16};

// The component type of a type code: its units digit, where 6 (stored as 6 or 16)
// counts as 4.
int32_t componentType(int32_t typeCode) {
  const int32_t t = typeCode % 10;
  return t == 6 ? 4 : t;
}

int32_t valueCount(int32_t type) {
  return type >= 0 && type < static_cast<int32_t>(kValueCounts.size())
             ? kValueCounts[static_cast<size_t>(type)]
             : 0;
}

bool sameName(std::span<const int32_t> stored, std::span<const int32_t> name) {
  int32_t result = -1;
  CODCMP(stored, 1, kAttributeNameCodes, name, 1, kAttributeNameCodes, result);
  return result == 0;
}

// Loads the record 106 on index page PAGE; false when the page holds none.
bool loadAttributeRecord(int32_t page) {
  PAGRD(kResultsClass, page, PGCUR.page());
  if (PGCUR.word(kPageClassWord) != kResultsClass) return false;
  CTLGET(kResultsClass, 1);
  return true;
}

// The components of an attribute's header page, as far as its last used word holds them.
class Components {
 public:
  explicit Components(std::span<const int32_t> page) : page_(page) {}

  int32_t count = 0;

  // Word W (from 0) of the entry of component C.
  int32_t word(int32_t c, int32_t w) const {
    return at(int64_t{kFirstComponentWord} + int64_t{kComponentWords} * (c - 1) + w);
  }
  // The 8 codes of a name from word W of the entry of component C.
  AttributeName name(int32_t c, int32_t w) const {
    AttributeName codes;
    for (int32_t k = 0; k < kAttributeNameCodes; ++k) codes[static_cast<size_t>(k)] = word(c, w + k);
    return codes;
  }
  // The word after the last component entry: the variant count.
  int64_t variantWord() const {
    return int64_t{kFirstComponentWord} + int64_t{kComponentWords} * count;
  }
  int32_t at(int64_t k) const {
    return k >= 1 && k <= static_cast<int64_t>(page_.size()) ? page_[static_cast<size_t>(k - 1)]
                                                              : 0;
  }
  int64_t lastUsed() const {
    return std::min<int64_t>(at(kLastUsedWord), static_cast<int64_t>(page_.size()));
  }
  bool isValueComponent(int32_t c) const { return word(c, kIndicator) <= 0; }

 private:
  std::span<const int32_t> page_;
};

// Reads the header page of the current record 106 (found on index page RECORDPAGE) into
// PAGE and takes its counts into SELECTION; false when there is none, or when its
// components or its variant table would run past the page's last used word.
bool loadComponents(std::span<int32_t> page, int32_t recordPage, ResultsSelection& selection,
                    Components& components) {
  selection.recordPage = recordPage;
  R6GW11(selection.componentPage);
  int32_t count = 0;
  R6GW14(count);
  components.count = count;
  selection.componentCount = std::clamp(count, 0, kSelectionComponents);
  if (selection.componentPage <= 0 || count < 1) return false;
  PAGRD(kValuesClass, selection.componentPage, page);
  const int64_t lastUsed = components.lastUsed();
  if (components.variantWord() > lastUsed) return false;
  const int64_t variants = std::max(components.at(components.variantWord()), 0);
  return components.variantWord() + variants * (2 + int64_t{count}) <= lastUsed;
}

// Step 4 of the choice: the component SELECTOR names, or 0 when it names none.
int32_t chooseComponent(const Components& comps, int32_t& selector,
                        std::span<const int32_t> name) {
  if (selector > 0) {
    int32_t menu = 0;
    for (int32_t c = 1; c <= comps.count; ++c) {
      if (comps.word(c, kMenuFlag) > 0 && ++menu == selector) return c;
    }
    selector = 0;  // above the menu count: the default below
  } else if (selector < 0) {
    if (comps.count == 1 && comps.word(1, kMenuFlag) <= 0) return 1;
    for (int32_t c = 1; c <= comps.count; ++c) {
      if (sameName(comps.name(c, kName), name)) return c;
    }
    return 0;
  }
  for (int32_t c = 1; c <= comps.count; ++c) {
    if (comps.word(c, kTypeCode) > 0) return c;
  }
  return 1;
}

// Applies operator N of RESOPS to CHOICE: its types, value count, pairs and index lists.
void applyOperator(int32_t n, ComponentChoice& choice) {
  AttributeName name = blankAttributeName();
  int32_t number = n;
  RESOPS(name, number, choice.neededType, choice.type, choice.valueCount, choice.pairs,
         choice.firstIndices, choice.secondIndices);
}

// Fills the type and index lists of SELECTION from the value components, and copies the
// variants (at most 5, with at most 20 component words each).
void fillLists(const Components& comps, ResultsSelection& selection) {
  selection.types.fill(-1);
  selection.firstIndices.fill(-1);
  selection.secondIndices.fill(-1);
  size_t place = 0;
  for (int32_t c = 1; c <= comps.count && place < selection.types.size(); ++c) {
    if (!comps.isValueComponent(c)) continue;
    int32_t code = comps.word(c, kTypeCode);
    if (code == 16) code = 14;
    if (code == 6) code = 4;
    selection.types[place] = code;
    selection.firstIndices[place] = comps.word(c, kIndex1);
    selection.secondIndices[place] = comps.word(c, kIndex2);
    ++place;
  }

  const int64_t countWord = comps.variantWord();
  const int32_t stored = comps.at(countWord);
  selection.variantCount = std::clamp(stored, 0, kSelectionVariants);
  const int32_t words = std::min(comps.count, kSelectionComponents);
  for (auto& v : selection.variants) v.fill(0);
  for (int32_t v = 0; v < selection.variantCount; ++v) {
    const int64_t first = countWord + 1 + int64_t{v} * (2 + comps.count);
    auto& row = selection.variants[static_cast<size_t>(v)];
    for (int32_t w = 0; w < 2 + words; ++w) row[static_cast<size_t>(w)] = comps.at(first + w);
  }
}

}  // namespace

void RAFIND(int32_t k, std::span<int32_t, kAttributeNameCodes> name, int32_t& type,
            int32_t& page, int32_t& status) {
  status = kStatusFailed;
  int32_t next = 0;
  G104W8(next);
  // A chain that runs in a circle ends after as many records as the file has pages.
  const int32_t limit = DBPARM.fileSlot(kIndexFileSlot).nextPage;
  int32_t matched = 0;
  for (int32_t steps = 0; next > 0 && steps < limit; ++steps) {
    if (!loadAttributeRecord(next)) return;
    const int32_t link = CTLREC.word(kResultsClass, kLinkWord);
    if (link == 0) return;
    int32_t stored = 0;
    R6GW2(stored);
    const auto storedName = CTLREC.record(kResultsClass).subspan(kNameWord - 1, kAttributeNameCodes);
    bool found = false;
    if (k == 0) {
      found = stored == type && sameName(storedName, name);
    } else if (k < 0 || stored == type || (type == 2 && stored == 1)) {
      found = ++matched == (k < 0 ? -int64_t{k} : k);
    }
    if (found) {
      if (k != 0) {
        type = stored;
        std::copy(storedName.begin(), storedName.end(), name.begin());
      }
      page = next;
      status = 0;
      return;
    }
    if (link <= kEndOfChain) return;
    next = link;
  }
}

void RESPRS(int32_t mode, std::span<int32_t> resultsPage, int32_t search, int32_t& selector,
            int32_t type, int32_t operatorCode, std::span<const int32_t, kAttributeNameCodes> name,
            ResultsSelection& selection, ComponentChoice& choice, int32_t& status) {
  status = 0;
  AttributeName wanted;
  std::copy(name.begin(), name.end(), wanted.begin());
  int32_t recordPage = 0;
  int32_t found = 0;
  RAFIND(search, wanted, type, recordPage, found);
  if (found != 0) {
    status = kStatusNoAttribute;
    return;
  }
  Components comps(resultsPage);
  if (!loadComponents(resultsPage, recordPage, selection, comps)) {
    status = kStatusFailed;
    return;
  }

  // A name that holds no token asks for the default component.
  if (selector < 0) {
    int32_t kind = 0, first = 0, last = 0, ivalue = 0;
    float rvalue = 0.0f;
    NXTTKN(choice.name, 1, kAttributeNameCodes, kLexRest, kind, first, last, ivalue, rvalue);
    if (kind == kTokenNone || kind == kTokenSlash) selector = 0;
  }
  int32_t chosen = chooseComponent(comps, selector, choice.name);
  if (chosen == 0) {
    MSGE3(kNoSuchComponent);
    status = kStatusFailed;
    return;
  }
  choice.number = 0;
  for (int32_t c = 1; c <= chosen; ++c) {
    if (comps.isValueComponent(c)) ++choice.number;
  }

  const int32_t t = componentType(comps.word(chosen, kTypeCode));
  const int32_t indicator = comps.word(chosen, kIndicator);
  choice.type = t;
  choice.neededType = t;
  choice.valueCount = valueCount(t);
  choice.firstIndices.fill(0);
  choice.secondIndices.fill(0);
  choice.firstIndices[0] = comps.word(chosen, kIndex1);
  choice.secondIndices[0] = comps.word(chosen, kIndex2);
  choice.operatorWord = indicator;
  choice.pairs = 1;
  if (selector == 0) {
    choice.name = blankAttributeName();
  } else {
    choice.name = comps.name(chosen, kName);
  }

  // A tensor held in several components: pair j is (j, INDEX2) of the component j - 1
  // places after the chosen one. The pairs end at the first component that is not a
  // part of the tensor, so no pair is left undefined.
  if (indicator <= 0 && (t == 2 || t == 3) && comps.word(chosen, kIndex1) == 1) {
    for (int32_t j = 2; j <= t + 1; ++j) {
      const int32_t c = chosen + j - 1;
      if (c > comps.count || comps.word(c, kMenuFlag) != 0 || comps.word(c, kTypeCode) != t ||
          comps.word(c, kIndex1) != j) {
        break;
      }
      choice.firstIndices[static_cast<size_t>(j - 1)] = j;
      choice.secondIndices[static_cast<size_t>(j - 1)] = comps.word(c, kIndex2);
      choice.pairs = j;
    }
  }

  if (t != 0 && indicator < 0) {
    MSGE3(kNoSuchComponent);
    status = kStatusFailed;
    return;
  }

  int32_t entry = 0;
  if (indicator == 0 && operatorCode > 0) {
    entry = operatorCode % 100;
    // An operator code that names no entry leaves the component as chosen.
    if (entry > kOperatorCount) entry = 0;
    if (entry != 0) {
      applyOperator(entry, choice);
      choice.operatorWord = operatorCode;
      const int32_t quotient = operatorCode / 100;
      if (quotient > 0) {
        if (choice.type == 3 && choice.pairs == 4) {
          for (size_t k = 0; k < 4; ++k) choice.secondIndices[k] += 10 * quotient;
        } else if (entry >= 6 && entry <= 9) {
          choice.secondIndices[0] = 10 * quotient;
        }
      }
    }
  } else if (indicator == kCalculated) {
    AttributeName calculation = comps.name(chosen, kCalculationName);
    int32_t needs = 0, result = 0, count = 0, pairs = 0;
    IndexList first{}, second{};
    RESOPS(calculation, entry, needs, result, count, pairs, first, second);
    if (entry == 0) {
      MSGE3(kNotAnOperator);
      status = kStatusFailed;
      return;
    }
    applyOperator(entry, choice);
    choice.operatorWord = entry;
    AttributeName sourceName = comps.name(chosen, kSourceName);
    if (sourceName[0] != kBlankCode) {
      // The values come from the attribute of that name and of the same type.
      int32_t sourceType = type;
      RAFIND(0, sourceName, sourceType, recordPage, found);
      if (found != 0) {
        status = kStatusNoAttribute;
        return;
      }
      if (!loadComponents(resultsPage, recordPage, selection, comps)) {
        status = kStatusFailed;
        return;
      }
    }
  }
  if (entry != 0) {
    chosen = 0;
    int32_t position = 0;
    for (int32_t c = 1; c <= comps.count && chosen == 0; ++c) {
      if (comps.word(c, kIndicator) != 0) continue;
      ++position;
      if (componentType(comps.word(c, kTypeCode)) == choice.neededType) chosen = c;
    }
    if (chosen == 0) {
      MSGE3(kNoSuchComponent);
      status = kStatusFailed;
      return;
    }
    choice.number = position;
  }

  fillLists(comps, selection);
  R6GW12(kValuesClass, selection.resultsWord);
  if (selection.resultsWord < 1 && mode != kIgnoreResultsWord) status = kStatusFailed;
}

void RESSL1(std::span<int32_t> resultsPage, int32_t& status) {
  int32_t selector = -1;
  int32_t result = 0;
  RESPRS(0, resultsPage, 0, selector, RESSEL.type, RESCMP.operatorWord, RESSEL.name, RESSEL,
         RESCMP, result);
  status = result == 0 ? 0 : 1;
  RESSEL.valid = status == 0 ? 1 : 0;
}

void RESSL2(std::span<int32_t> resultsPage, int32_t& status) {
  int32_t selector = -1;
  int32_t result = 0;
  ComponentChoice choice = RESSE2.choice;
  RESPRS(0, resultsPage, 0, selector, RESSE2.selection.type, RESSE2.choice.operatorWord,
         RESSE2.selection.name, RESSE2.selection, choice, result);
  if (result != 0) choice.operatorWord = RESSE2.choice.operatorWord;
  RESSE2.choice = choice;
  status = result == 0 ? 0 : 1;
}

void R3GW54(int32_t& value) { value = CTLREC.word(kModelClass, kListPageWord); }
void R3SW54(int32_t value) { CTLREC.word(kModelClass, kListPageWord) = value; }
void R6GW11(int32_t& value) { value = CTLREC.word(kResultsClass, kComponentPageWord); }
void R6GW12(int32_t, int32_t& value) { value = CTLREC.word(kResultsClass, kResultsWord); }
void R6GW13(int32_t& value) { value = CTLREC.word(kResultsClass, kKeyFlagWord); }
void R6GW14(int32_t& value) { value = CTLREC.word(kResultsClass, kComponentCountWord); }

}  // namespace kvr
