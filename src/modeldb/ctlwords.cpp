#include "modeldb/ctlwords.h"

#include <algorithm>
#include <bit>

#include "modeldb/ctlrec.h"
#include "runtime/idxlay.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

// IDXLAY words: the name length of record 106 and the two list lengths of record 104.
constexpr int32_t kResultsNameWordsWord = 67;
constexpr int32_t kLoadCaseList1Word = 68;
constexpr int32_t kLoadCaseList2Word = 69;

constexpr int32_t kStateWord = 1;
constexpr int32_t kNameWord = 2;
constexpr int32_t kWord8 = 8;
constexpr int32_t kWord9 = 9;
constexpr int32_t kWord10 = 10;
constexpr int32_t kTypeWord = 11;     // record 104: load-case type, then its number
constexpr int32_t kRealsWord = 13;    // record 104: two REAL values
constexpr int32_t kWordsPerReal = 1;  // a REAL is one 32-bit word
constexpr int32_t kModelWord16 = 16;
constexpr int32_t kTitleWord = 19;
constexpr int32_t kTitleWords = 20;
constexpr int32_t kCountersWord = 13;  // record 103: node, element and load-case counts
constexpr int32_t kCreationWord = 44;
constexpr int32_t kFirstLoadCaseWord = 49;  // record 103: date and time of the first load case
constexpr int32_t kResultsTypeWord = 2;
constexpr int32_t kResultsNameWord = 3;
constexpr int32_t kResultsHeaderWord = 11;
constexpr int32_t kResultsValuesWord = 12;
constexpr int32_t kResultsKeyFlagWord = 13;
constexpr int32_t kResultsComponentsWord = 14;
constexpr int32_t kResultsRowsWord = 15;
constexpr int32_t kResultsFirstRowWord = 16;
constexpr int32_t kResultsRowWords = 8;
constexpr int32_t kResultsRowsPerRecord = 10;
constexpr int32_t kResultsContinuationWord = 96;

int32_t& at(int32_t cls, int32_t k) { return CTLREC.word(cls, k); }

// Words FIRST.. of the record of CLS: at most N, and never past the record.
std::span<int32_t> words(int32_t cls, int32_t first, int32_t n) {
  const int32_t room = CtlRec::kRecordWords - first + 1;
  return CTLREC.record(cls).subspan(static_cast<size_t>(first - 1),
                                    static_cast<size_t>(std::clamp(n, 0, room)));
}

void copyOut(int32_t cls, int32_t first, int32_t n, std::span<int32_t> to) {
  std::span<int32_t> from = words(cls, first, n);
  std::copy_n(from.begin(), std::min(from.size(), to.size()), to.begin());
}

// Copies N words of FROM into the record; words FROM does not have are left as they are.
void copyIn(int32_t cls, int32_t first, int32_t n, std::span<const int32_t> from) {
  std::span<int32_t> to = words(cls, first, n);
  std::copy_n(from.begin(), std::min(from.size(), to.size()), to.begin());
}

int32_t list1Words() { return IDXLAY.word(kLoadCaseList1Word); }
int32_t list2Words() { return IDXLAY.word(kLoadCaseList2Word); }
// Record 104's first list follows its two REAL values.
constexpr int32_t kList1Word = kRealsWord + 2 * kWordsPerReal;

}  // namespace

void G101W1(int32_t& value) { value = at(kUserLevelClass, kStateWord); }
void S101W1(int32_t value) { at(kUserLevelClass, kStateWord) = value; }
void G101W2(std::span<int32_t> name) {
  copyOut(kUserLevelClass, kNameWord, nameWords(kUserLevelClass), name);
}
void S101W2(std::span<const int32_t> name) {
  copyIn(kUserLevelClass, kNameWord, nameWords(kUserLevelClass), name);
}
void G101W8(int32_t& value) { value = at(kUserLevelClass, kWord8); }
void S101W8(int32_t value) { at(kUserLevelClass, kWord8) = value; }

void G102W1(int32_t& value) { value = at(kProjectLevelClass, kStateWord); }
void S102W1(int32_t value) { at(kProjectLevelClass, kStateWord) = value; }
void G102W2(std::span<int32_t> name) {
  copyOut(kProjectLevelClass, kNameWord, nameWords(kProjectLevelClass), name);
}
void S102W2(std::span<const int32_t> name) {
  copyIn(kProjectLevelClass, kNameWord, nameWords(kProjectLevelClass), name);
}
void G102W8(int32_t& value) { value = at(kProjectLevelClass, kWord8); }
void S102W8(int32_t value) { at(kProjectLevelClass, kWord8) = value; }
void S102W9(int32_t v1, int32_t v2, int32_t v3) {
  at(kProjectLevelClass, kWord9) = v1;
  at(kProjectLevelClass, kWord9 + 1) = v2;
  at(kProjectLevelClass, kWord9 + 2) = v3;
}

void S103W1(int32_t value) { at(kModelClass, kStateWord) = value; }
void G103W2(std::span<int32_t> name) {
  copyOut(kModelClass, kNameWord, nameWords(kModelClass), name);
}
void S103W2(std::span<const int32_t> name) {
  copyIn(kModelClass, kNameWord, nameWords(kModelClass), name);
}
void G103W8(int32_t& value) { value = at(kModelClass, kWord8); }
void S103W8(int32_t value) { at(kModelClass, kWord8) = value; }
void G103W9(int32_t& value) { value = at(kModelClass, kWord9); }
void S103W9(int32_t value) { at(kModelClass, kWord9) = value; }
void S103WG(int32_t value) { at(kModelClass, kModelWord16) = value; }
void S103LS(std::span<const int32_t> list) { copyIn(kModelClass, kTitleWord, kTitleWords, list); }
void S103WB(int32_t nodes, int32_t elements, int32_t loadCases) {
  const int32_t counts[] = {nodes, elements, loadCases};
  copyIn(kModelClass, kCountersWord, 3, counts);
}
void S103WS(int32_t day, int32_t month, int32_t year, int32_t hour, int32_t minute) {
  const int32_t created[] = {day, month, year, hour, minute};
  copyIn(kModelClass, kCreationWord, 5, created);
}
void S103WC(int32_t day, int32_t month, int32_t year, int32_t hour, int32_t minute) {
  const int32_t first[] = {day, month, year, hour, minute};
  copyIn(kModelClass, kFirstLoadCaseWord, 5, first);
}

void G104W1(int32_t& value) { value = at(kLoadCaseClass, kStateWord); }
void S104W1(int32_t value) { at(kLoadCaseClass, kStateWord) = value; }
void G104W2(std::span<int32_t> name) {
  copyOut(kLoadCaseClass, kNameWord, nameWords(kLoadCaseClass), name);
}
void S104W2(std::span<const int32_t> name) {
  copyIn(kLoadCaseClass, kNameWord, nameWords(kLoadCaseClass), name);
}
void G104W8(int32_t& value) { value = at(kLoadCaseClass, kWord8); }
void S104W8(int32_t value) { at(kLoadCaseClass, kWord8) = value; }
void G104W9(int32_t& value) { value = at(kLoadCaseClass, kWord9); }
void S104W9(int32_t value) { at(kLoadCaseClass, kWord9) = value; }
void S104WA(int32_t value) { at(kLoadCaseClass, kWord10) = value; }

void G104WB(int32_t& type, int32_t& number, float& value1, float& value2) {
  type = at(kLoadCaseClass, kTypeWord);
  number = at(kLoadCaseClass, kTypeWord + 1);
  value1 = WRDREA(at(kLoadCaseClass, kRealsWord));
  value2 = WRDREA(at(kLoadCaseClass, kRealsWord + kWordsPerReal));
}

void S104WB(int32_t type, int32_t number, float value1, float value2) {
  at(kLoadCaseClass, kTypeWord) = type;
  at(kLoadCaseClass, kTypeWord + 1) = number;
  at(kLoadCaseClass, kRealsWord) = std::bit_cast<int32_t>(value1);
  at(kLoadCaseClass, kRealsWord + kWordsPerReal) = std::bit_cast<int32_t>(value2);
}

void S104L1(std::span<const int32_t> list) {
  copyIn(kLoadCaseClass, kList1Word, list1Words(), list);
}
void S104L2(std::span<const int32_t> list) {
  copyIn(kLoadCaseClass, kList1Word + std::max(list1Words(), 0), list2Words(), list);
}

void R6PW1(int32_t value) { at(kResultsClass, kStateWord) = value; }
void R6LINK(int32_t& value) { value = at(kResultsClass, kStateWord); }
void R6PW2(int32_t value) { at(kResultsClass, kResultsTypeWord) = value; }
void R6GW2(int32_t& value) { value = at(kResultsClass, kResultsTypeWord); }
void R6PW3N(std::span<const int32_t> name) {
  copyIn(kResultsClass, kResultsNameWord, IDXLAY.word(kResultsNameWordsWord), name);
}
void R6PW11(int32_t value) { at(kResultsClass, kResultsHeaderWord) = value; }
void R6PW12(int32_t /*cls*/, int32_t value) { at(kResultsClass, kResultsValuesWord) = value; }
void R6PW13(int32_t value) { at(kResultsClass, kResultsKeyFlagWord) = value; }
void R6PW14(int32_t value) { at(kResultsClass, kResultsComponentsWord) = value; }
void R6PW15(int32_t value) { at(kResultsClass, kResultsRowsWord) = value; }
void R6PROW(int32_t j, std::span<const int32_t> name) {
  if (j < 1 || j > kResultsRowsPerRecord) return;
  copyIn(kResultsClass, kResultsFirstRowWord + kResultsRowWords * (j - 1), kResultsRowWords,
         name);
}
void R6PW96(int32_t value) { at(kResultsClass, kResultsContinuationWord) = value; }
void R6GW3N(std::span<int32_t> name) {
  copyOut(kResultsClass, kResultsNameWord, IDXLAY.word(kResultsNameWordsWord), name);
}

}  // namespace kvr
