#include "dbinterface/direcs_checks.h"

#include <algorithm>
#include <bit>
#include <cstddef>

#include "dbinterface/diblocks.h"
#include "dbinterface/dimsg.h"
#include "dbinterface/tmpstream.h"

namespace kvr {

namespace {

constexpr int32_t kUnknownUnit = 211;
constexpr int32_t kErrorPending = 32;

// The most digits a constraint code holds (one per degree of freedom 1..6, five at most).
constexpr int32_t kConstraintCodeMax = 65432;
constexpr int32_t kConstraintAll = 9;

// Reals go to the stream as their bit patterns, this many at a time.
constexpr std::size_t kRealChunk = 64;

bool neutralOutput() { return DICTL.luopt != kOutputDatabase; }

}  // namespace

bool overFiveDigitField(int32_t id) {
  return neutralOutput() && DICTL.numberFormat == kFormatI5E12 && id > kNeutralFieldMax;
}

bool overNeutralField(int32_t id) { return neutralOutput() && id > kNeutralFieldMax; }

bool isConstraintCode(int32_t code) {
  if (code == 0 || code == kConstraintAll) return true;
  if (code < 0 || code > kConstraintCodeMax) return false;
  bool seen[7] = {};
  for (int32_t rest = code; rest > 0; rest /= 10) {
    const int32_t dof = rest % 10;
    if (dof < 1 || dof > 6 || seen[dof]) return false;
    seen[dof] = true;
  }
  return true;
}

bool isCalculationName(FText ncalc) {
  const std::string_view name = ncalc.view();
  return std::find(kCalculationNames.begin(), kCalculationNames.end(), name) !=
         kCalculationNames.end();
}

bool RecordCall::begin(int32_t iunt) {
  iunt_ = iunt;
  k_ = findTempUnit(iunt);
  if (k_ == 0) {
    // The line counts against the unit that was current before.
    refuse(kUnknownUnit, RaiseFlags::AllUnits, iunt);
    return false;
  }
  DISTAT.currentUnit = k_;
  if (DISTAT.errorFlag(k_) != kUnitFlagNone) {
    refuse(kErrorPending, RaiseFlags::None);
    return false;
  }
  return true;
}

bool RecordCall::requireKey(std::span<const int32_t> keys, int32_t wrongKey) {
  const int32_t key = DISTAT.datasetKey(k_);
  if (std::find(keys.begin(), keys.end(), key) != keys.end()) return true;
  refuse(wrongKey, RaiseFlags::Unit, key);
  return false;
}

void RecordCall::refuse(int32_t code, RaiseFlags flags) {
  report(code, flags, kDiNoValue, FText(), 0);
}

void RecordCall::refuse(int32_t code, RaiseFlags flags, int32_t number) {
  report(code, flags, kDiNumber, FText(), number);
}

void RecordCall::refuse(int32_t code, RaiseFlags flags, FText name) {
  report(code, flags, kDiName, name, 0);
}

void RecordCall::report(int32_t code, RaiseFlags flags, int32_t kind, FText name, int32_t number) {
  ierr_ = code;
  FixedText routnm(6, routine_);
  DIMSG(ierr_, routnm, kind, name, number);
  switch (flags) {
    case RaiseFlags::None:
      break;
    case RaiseFlags::Unit:
      DISTAT.raiseErrorFlag(k_, kUnitFlagDataset);
      break;
    case RaiseFlags::AllUnits:
      DISTAT.blockModel(ierr_, DICTL.itfnum);
      break;
  }
}

void RecordCall::inform(std::string_view text, int32_t number) {
  FixedText routnm(6, routine_);
  FixedText line(kDiTextLength, text);
  FText noName;
  DIINF(routnm, line, kDiNumber, noName, number);
}

bool RecordCall::append(std::span<const int32_t> words) {
  int32_t flag = 0;
  TMPWRT(words, k_, flag);
  return flag == 0;
}

bool RecordCall::append(std::span<const float> reals) {
  std::array<int32_t, kRealChunk> words;
  while (!reals.empty()) {
    const std::size_t n = std::min(reals.size(), kRealChunk);
    for (std::size_t i = 0; i < n; ++i) words[i] = std::bit_cast<int32_t>(reals[i]);
    if (!append(std::span<const int32_t>(words.data(), n))) return false;
    reals = reals.subspan(n);
  }
  return true;
}

}  // namespace kvr
