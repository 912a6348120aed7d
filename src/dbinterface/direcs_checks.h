// What the record routines of the writing road share: finding the unit of a call, the
// reports and flags of a refused record, the limits of the neutral text file's fields,
// the constraint-code rule and the calculation names of the results components.
//
// Every record routine first finds its temporary unit (211 when IUNT is none of them,
// the flags of units 1..ITFNUM raised to 2) and refuses a unit that has an error pending
// (32). A refusal reports through DIMSG under the routine's six-character name and
// raises flags only through DISTAT's setter, so a flag is never lowered.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "runtime/ftext.h"

namespace kvr {

// Identification numbers and system numbers above this do not fit the five-digit fields
// of the neutral text file (number format 0), nor its system fields in any format.
inline constexpr int32_t kNeutralFieldMax = 99999;
// System numbers (and Gauss-point ids) above this are refused whatever the output.
inline constexpr int32_t kSystemIdMax = 999999;

// Neutral output with number format 0 and ID above 99999: the id does not fit the
// five-digit integer fields of the text file.
bool overFiveDigitField(int32_t id);

// Neutral output (LUOPT not 1) and ID above 99999, whatever the number format.
bool overNeutralField(int32_t id);

// A constraint code (IDOF, IEDOF): 0 none, 9 all, otherwise one to five decimal digits,
// each a degree of freedom 1 to 6 and none twice (12, 356, 65432).
bool isConstraintCode(int32_t code);

// The 17 names a calculated results component may carry, eight characters each.
inline constexpr std::array<std::string_view, 17> kCalculationNames = {
    "ALL     ", "VONMISES", "P1-STRES", "P2-STRES", "P3-STRES", "Q1-STRES",
    "Q2-STRES", "Q3-STRES", "QMAX    ", "P-YIELD ", "Q1-PRINC", "Q2-PRINC",
    "Q3-PRINC", "QMAX-PRN", "PRESSURE", "ALL-PRNC", "ALL-STRS"};

// NCALC (eight characters, blank-padded) is one of the 17 calculation names.
bool isCalculationName(FText ncalc);

// Which error flags a refusal raises.
enum class RaiseFlags {
  None,      // none
  Unit,      // the unit's own flag to 1: the dataset must be abandoned
  AllUnits,  // the flags of units 1..ITFNUM to 2: the whole model must be abandoned
};

// One call of a record routine: its name, its IERR and, once found, its unit index.
class RecordCall {
 public:
  // ROUTINE is the six-character name the messages show ("DICOR ").
  RecordCall(std::string_view routine, int32_t& ierr) : routine_(routine), ierr_(ierr) {}

  // The common first steps: finds IUNT among the temporary units and makes its index
  // current, then refuses a unit whose error flag is set. False when refused (211 with
  // the flags of units 1..ITFNUM raised to 2 and IUNT shown; 32 with no value).
  bool begin(int32_t iunt);

  // The unit's dataset key is one of KEYS; otherwise WRONGKEY ("current dataset is")
  // with the unit's key shown and the unit's flag raised to 1.
  bool requireKey(std::span<const int32_t> keys, int32_t wrongKey);

  // Refuses the record with CODE: IERR = CODE, the error line with no value, a number or
  // a name, and the flags of FLAGS raised.
  void refuse(int32_t code, RaiseFlags flags);
  void refuse(int32_t code, RaiseFlags flags, int32_t number);
  void refuse(int32_t code, RaiseFlags flags, FText name);

  // The information line TEXT with NUMBER under the routine's name.
  void inform(std::string_view text, int32_t number);

  // Appends WORDS to the unit's stream; false when a record could not be written.
  bool append(std::span<const int32_t> words);
  bool append(std::span<const float> reals);

  int32_t unit() const { return k_; }

 private:
  void report(int32_t code, RaiseFlags flags, int32_t kind, FText name, int32_t number);

  std::string_view routine_;
  int32_t& ierr_;
  int32_t k_ = 0;
  int32_t iunt_ = 0;
};

}  // namespace kvr
