// LCFIND, LCADD and the registration of a dataset's load case.
#include "dbinterface/lcfind.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "command/nxttkn.h"
#include "dbinterface/ldframe.h"
#include "modeldb/codcmp.h"
#include "modeldb/ctlrec.h"
#include "modeldb/ctlwords.h"
#include "modeldb/dbopen.h"
#include "runtime/codtxt.h"
#include "runtime/dattim.h"

namespace kvr {
namespace {

constexpr int32_t kStateWord = 1;
constexpr int32_t kNameWord = 2;
constexpr int32_t kNumberWord = 12;
constexpr int32_t kInUse = 1;
constexpr int32_t kFree = 0;

// IDXERR codes and values.
constexpr int32_t kCodeSearch = 13;
constexpr int32_t kCodeWarning = 3;
constexpr int32_t kNoModelToSearch = 4001;
constexpr int32_t kNoModelToAdd = 3801;
constexpr int32_t kLoadCaseExists = 3802;

// A model record of state 2 takes state 3 with its first registered dataset.
constexpr int32_t kStateBeforeLoadCase = 2;
constexpr int32_t kStateWithLoadCase = 3;

constexpr int32_t kTypeTextCodes = 10;
constexpr int32_t kLastNamedType = 3;

using LoadCaseName = std::array<int32_t, kNameCodes>;

// The first 6 codes of NAME, blank-padded.
LoadCaseName sixCodes(std::span<const int32_t> name) {
  LoadCaseName codes;
  codes.fill(kBlankCode);
  std::copy_n(name.begin(), std::min(name.size(), codes.size()), codes.begin());
  return codes;
}

std::span<int32_t> storedName() {
  return CTLREC.record(kLoadCaseClass).subspan(kNameWord - 1, kNameCodes);
}

void giveName(std::span<const int32_t> name, std::span<int32_t> to) {
  std::copy_n(name.begin(), std::min(name.size(), to.size()), to.begin());
}

// The load case's first attribute record becomes the current record 106.
void loadFirstAttribute() {
  int32_t page = 0;
  G104W8(page);
  if (page <= 0) {
    // A record without an attribute page: nothing may be written through record 106.
    SPAIRS(kResultsClass, 0, 0);
    CTLREC.word(kResultsClass, kStateWord) = 0;
    return;
  }
  PAGRD(kResultsClass, page, PGCUR.page());
  CTLGET(kResultsClass, 1);
}

// The text that a type of 3 or below puts into words 35-44, as 10 codes.
std::array<int32_t, kTypeTextCodes> typeText(int32_t type) {
  const std::string_view text = type == 1   ? "TIME"
                                : type == 2 ? "FREQUENCY"
                                : type == 3 ? "LOAD"
                                            : "STATIC";
  std::array<int32_t, kTypeTextCodes> codes;
  codes.fill(kBlankCode);
  for (size_t k = 0; k < text.size(); ++k) codes[k] = codeOf(text[k]);
  return codes;
}

}  // namespace

void LCFIND(std::span<const int32_t> name, int32_t number, std::span<int32_t> fullName,
            int32_t& result, int32_t& position) {
  result = kLoadCaseMissing;
  position = 0;
  const LoadCaseName line = sixCodes(name);
  int32_t kind = kTokenNone, first = 1, last = 0, ivalue = 0;
  float rvalue = 0.0f;
  NXTTKN(line, 1, kNameCodes, kLexName, kind, first, last, ivalue, rvalue);
  if (kind == kTokenNone) last = first - 1;  // no token: matches nothing

  const int32_t model = CTLREC.word(kModelClass, kStateWord);
  if (model < 1) {
    IDXERR(kCodeSearch, kNoModelToSearch, model);
    return;
  }
  int32_t head = 0;
  G103W8(head);
  if (head == 0) return;

  bool exact = false;
  int32_t matched = 0;  // codes matched by the first abbreviation; negative: ambiguous
  int32_t matchPage = 0, matchEntry = 0, matchPosition = 0;
  LoadCaseName full{};
  int32_t lastPage = 0;
  walkControlChain(kLoadCaseClass, head, lastPage, [&](int32_t page, int32_t entry) {
    ++position;
    const int32_t state = CTLREC.word(kLoadCaseClass, kStateWord);
    if (state < 0) return ChainStep::Next;
    if (state == kFree) return ChainStep::Stop;
    int32_t r = -1;
    CODCMP(storedName(), 1, kNameCodes, line, first, last, r);
    if (r < 0) return ChainStep::Next;
    if (number != kAnyLoadCaseNumber && CTLREC.word(kLoadCaseClass, kNumberWord) != number) {
      return ChainStep::Next;
    }
    if (r == 0) {
      exact = true;
      return ChainStep::Stop;
    }
    const std::span<int32_t> stored = storedName();
    if (matched == 0) {
      matched = r;
      matchPage = page;
      matchEntry = entry;
      matchPosition = position;
      std::copy(stored.begin(), stored.end(), full.begin());
    } else if (matched > 0 && !std::equal(stored.begin(), stored.end(), full.begin())) {
      matched = -matched;
    }
    return ChainStep::Next;
  });

  if (exact) {
    result = kLoadCaseExact;
    giveName(line, fullName);
    loadFirstAttribute();
    return;
  }
  if (matched == 0) return;
  giveName(full, fullName);
  if (matched < 0) {
    result = kLoadCaseAmbiguous;
    return;
  }
  result = matched;
  position = matchPosition;
  PAGRD(kLoadCaseClass, matchPage, PGCUR.page());
  CTLGET(kLoadCaseClass, matchEntry);
  loadFirstAttribute();
}

void LCADD(std::span<const int32_t> name, std::span<int32_t> work, float value1, float value2,
           int32_t type, int32_t number, std::span<const int32_t> list20,
           std::span<const int32_t> list10, int32_t& status) {
  status = 1;
  const int32_t model = CTLREC.word(kModelClass, kStateWord);
  if (model < 1) {
    IDXERR(kCodeSearch, kNoModelToAdd, model);
    S104W1(0);
    return;
  }
  LoadCaseName full{};
  int32_t found = kLoadCaseMissing, position = 0;
  LCFIND(name, number, full, found, position);
  if (found == kLoadCaseExact) {
    IDXERR(kCodeWarning, kLoadCaseExists, 0);
    return;
  }

  int32_t head = 0;
  G103W8(head);
  int32_t page = 0, freeHead = 0;
  if (head <= 0) {
    PGNEW(work, kLoadCaseClass, page, freeHead);
    S103W8(page);
    CRPUT(kModelClass);
    PGINIT(kLoadCaseClass, page, PGCUR.page());
    SPAIRS(kLoadCaseClass, page, 1);
  } else {
    int32_t last = 0;
    // Only a free entry is taken: a deleted one may still be named by datasets.
    const bool free = walkControlChain(kLoadCaseClass, head, last, [](int32_t, int32_t) {
      return CTLREC.word(kLoadCaseClass, kStateWord) == kFree ? ChainStep::Stop : ChainStep::Next;
    });
    if (!free) appendControlPage(kLoadCaseClass, last, work);
  }

  // The whole record is written: nothing of the entry loaded before stays in it.
  std::span<int32_t> record = CTLREC.record(kLoadCaseClass);
  std::fill_n(record.begin(), recordLength(kLoadCaseClass), 0);
  S104W1(kInUse);
  S104W2(sixCodes(name));
  S104WB(type, number, value1, value2);
  S104L1(list20);
  if (type <= kLastNamedType) {
    S104L2(typeText(type));
  } else {
    S104L2(list10);
  }

  int32_t attributes = 0;
  PGNEW(work, kResultsClass, attributes, freeHead);
  S104W8(attributes);
  S104W9(0);
  S104WA(0);
  CRPUT(kLoadCaseClass);
  PGINIT(kResultsClass, attributes, PGCUR.page());
  PAGWR(kResultsClass, attributes, PGCUR.page());
  CTLGET(kResultsClass, 1);
  R6PW1(0);
  CRPUT(kResultsClass);
  status = 0;
}

void registerLoadCase(std::span<const int32_t> name, std::span<int32_t> work, float value,
                      int32_t type, int32_t number, std::span<const int32_t> title,
                      std::span<const int32_t> text, int32_t& status) {
  status = 0;
  LoadCaseName full{};
  int32_t found = kLoadCaseMissing, position = 0;
  LCFIND(name, number, full, found, position);
  if (found != kLoadCaseExact) {
    LCADD(name, work, value, 0.0f, type, number, title, text, status);
    if (status != 0) return;
    if (++DICNT.loadCaseCount == 1) {
      int32_t day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
      DATTIM(day, month, year, hour, minute, second);
      S103WC(day, month, year, hour, minute);
      CRPUT(kModelClass);
    }
  }
  int32_t state = 0;
  DBSTAT(state);
  if (state == kStateBeforeLoadCase) {
    S103W1(kStateWithLoadCase);
    CRPUT(kModelClass);
  }
}

}  // namespace kvr
