#include "command/fltlst.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "command/ansrec.h"
#include "command/aprgnm.h"
#include "command/mnuctl.h"
#include "command/trndsp.h"
#include "modeldb/codcmp.h"
#include "modeldb/entqry.h"
#include "runtime/codtxt.h"
#include "runtime/modcnt.h"

namespace kvr {
namespace {

constexpr int32_t kSelvoCode = 27;
constexpr int32_t kExcludedCode = 29;     // never offered by kinds 401, 404 and 405
constexpr int32_t kFirstBlankCode = 36;   // 36 to 38: rows without a program
constexpr int32_t kLastBlankCode = 38;

// The name text of a candidate: the 12 positions of the name, after "FILTER-" for 405.
constexpr std::string_view kFilterPrefix = "FILTER-";
constexpr int32_t kNameCodes = 12;
constexpr int32_t kNameTextCodes = 7 + kNameCodes;

// Entry values of the lists.
constexpr int32_t kNameValue = 8;
constexpr int32_t kFilterValue = 15;
constexpr int32_t kOptionValue = 10;

// Check answers.
constexpr int32_t kListValueCode = 1;
constexpr int32_t kPlainOperator = 1;

// Kind 403 takes its program from the answer that names a kind-404 program.
constexpr int32_t kProgramAnswerFirst = 3;
constexpr int32_t kProgramAnswerSecond = 1;

bool isFilterKind(int32_t kind) {
  return kind == kProgramNameKind || kind == kSelvoKind || kind == kProgramOptionsKind ||
         kind == kFilterKind;
}

// The codes that the filter lists consider: 1 to the program count, no further than the
// four flag words reach.
int32_t lastCandidate() { return std::min(NAPBLK.NAPRG(), kProgramCodes); }

// The name text of CODE for KIND, when the code counts as a candidate of the kind: LINE
// receives it (blank-padded) and LAST its last position. False when the code does not
// count.
bool candidateName(int32_t kind, int32_t code, std::array<int32_t, kNameTextCodes>& line,
                   int32_t& last) {
  if (!isFilterKind(kind)) return false;
  if (kind == kSelvoKind) {
    if (code != kSelvoCode) return false;
  } else if (code == kExcludedCode || (code >= kFirstBlankCode && code <= kLastBlankCode)) {
    return false;
  }
  int32_t flag = 0;
  PKBITS(std::span<const int32_t>(NAPBLK.words).subspan(1, kFlagWords), code, flag,
         kFlagFieldsPerWord);
  if (flag == 0) return false;

  line.fill(kBlankCode);
  int32_t first = 1;
  if (kind == kFilterKind) {
    for (char c : kFilterPrefix) line[static_cast<std::size_t>(first++ - 1)] = codeOf(c);
  }
  int32_t codeA = 0;
  int32_t codeB = 0;
  APRGNM(code, first, std::span<int32_t>(line).first(static_cast<std::size_t>(first - 1 + kNameCodes)),
         last, codeA, codeB);
  return (kind == kSelvoKind ? codeA : codeB) > 0;
}

// The program whose options kind 403 offers: the list value of answer 3, else of answer
// 1, where that answer is a kind-404 program name; else the model's analysis program.
int32_t optionProgram() {
  // Only answers of the command being read count: a record past them belongs to an
  // earlier command, and a read past the store would show a store failure.
  for (int32_t i : {kProgramAnswerFirst, kProgramAnswerSecond}) {
    if (i <= MNUCTL.answerCount && ITEM(i) == -kProgramOptionsKind) return MMULST(i);
  }
  return MODCNT.word(kCntAnalysisProgram);
}

// Whether program CODE's translator offers any option.
bool hasOptions(int32_t code) {
  FixedText text(TrnLst::kTextLength);
  FixedText option(TrnLst::kNameLength);
  for (int32_t j = 1; j <= TrnLst::kEntries; ++j) {
    int32_t status = 0;
    TRNOPT(code, j, text, option, status);
    if (status < 1) return true;
  }
  return false;
}

}  // namespace

void FLTLST(int32_t kind, ValueList& list, int32_t& status) {
  status = 0;
  if (!isFilterKind(kind)) return;
  const int32_t value = kind == kFilterKind ? kFilterValue : kNameValue;
  std::array<int32_t, kNameTextCodes> line{};
  for (int32_t code = 1; code <= lastCandidate(); ++code) {
    int32_t last = 0;
    if (!candidateName(kind, code, line, last)) continue;
    if (list.full()) {
      status = 2;
      return;
    }
    // The entry text: the prefix and the 12 positions of the name, blanks included.
    const int32_t shown = (kind == kFilterKind ? static_cast<int32_t>(kFilterPrefix.size()) : 0) +
                          kNameCodes;
    std::string text;
    for (int32_t k = 1; k <= shown; ++k) text.push_back(charOf(line[static_cast<std::size_t>(k - 1)]));
    list.append(-kind, value, text);
  }
}

void FLTCHK(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check) {
  check.real = 0.0f;
  check.oper = kPlainOperator;
  check.listValue = 0;
  check.status = kCheckNoMatch;
  std::array<int32_t, kNameTextCodes> name{};
  bool taken = false;
  for (int32_t code = 1; code <= lastCandidate(); ++code) {
    int32_t nameLast = 0;
    if (!candidateName(kind, code, name, nameLast)) continue;
    int32_t result = kCheckNoMatch;
    CODCMP(name, 1, nameLast, line, first, last, result);
    if (result == kCheckExact) {
      check.status = kCheckExact;
      check.valueCode = kListValueCode;
      check.listValue = code;
      taken = true;
      break;
    }
    if (result > 0) {
      if (taken) {
        // A token that abbreviates two names is refused.
        check.status = kCheckNoMatch;
        return;
      }
      check.status = result;
      check.valueCode = kListValueCode;
      check.listValue = code;
      taken = true;
    }
  }
  if (!taken) {
    check.status = kCheckNoMatch;
    return;
  }
  if (kind == kProgramOptionsKind && !hasOptions(check.listValue)) {
    // No option can follow: the command ends after the program name.
    check.nextMenu = 0;
    check.sign = 0;
  }
}

void K403LS(int32_t kind, ValueList& list, int32_t& status) {
  status = 0;
  if (kind != kOptionKind) return;
  const int32_t program = optionProgram();
  FixedText text(TrnLst::kTextLength);
  FixedText option(TrnLst::kNameLength);
  for (int32_t j = 1; j <= TrnLst::kEntries; ++j) {
    int32_t entry = 0;
    TRNOPT(program, j, text, option, entry);
    if (entry >= 1) continue;
    if (list.full()) {
      status = 2;
      return;
    }
    list.append(-kOptionKind, kOptionValue, option.view());
    if (-entry == j) return;
  }
}

void K403CK(std::span<const int32_t> line, int32_t first, int32_t last, ArgumentCheck& check) {
  check.status = kCheckNoMatch;
  check.listValue = 0;
  check.oper = kPlainOperator;
  check.real = 0.0f;
  const int32_t program = optionProgram();
  FixedText text(TrnLst::kTextLength);
  FixedText option(TrnLst::kNameLength);
  std::array<int32_t, TrnLst::kNameLength> name{};
  for (int32_t j = 1; j <= TrnLst::kEntries; ++j) {
    int32_t entry = 0;
    TRNOPT(program, j, text, option, entry);
    if (entry >= 1) continue;
    // The option name up to its trimmed end.
    const int32_t nameLast = option.text().trimmedLength();
    for (int32_t k = 1; k <= nameLast; ++k) name[static_cast<std::size_t>(k - 1)] = codeOf(option.text().at(k));
    int32_t result = kCheckNoMatch;
    CODCMP(name, 1, nameLast, line, first, last, result);
    if (result == kCheckExact) {
      check.status = kCheckExact;
      check.valueCode = kListValueCode;
      check.listValue = j;
      return;
    }
    if (result > 0) {
      // An abbreviation records no list value: it is refused below.
      check.status = result;
      check.valueCode = kListValueCode;
      if (-entry == j) break;
    }
  }
  if (check.listValue == 0) check.status = kCheckNoMatch;
}

}  // namespace kvr
