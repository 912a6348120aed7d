// The translators of the analysis programs: what a program accepts of property names and
// element shapes (TRNDSP) and which options it offers (TRNOPT). Each program code of the
// table (aprgnm.h) leads through one dispatch table to a translator entry: a TRNSTB entry
// for TRNDSP and a TRNNUL entry for TRNOPT, the same entry number for both. Codes 4, 32 and
// 40 share the entry of code 4, codes 21 and 27 the entry of "SELVO"; 36 to 38 and codes
// outside 1..52 have none (46 entries).
//
// No translator is present in this library: every TRNSTB entry shows "Error: <name>
// Translator not loaded" and answers 99, every TRNNUL entry leaves an empty option list.
// The entries keep nothing between calls, so each call shows its message again.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

inline constexpr int32_t kTranslatorEntries = 46;

// TRNDSP statuses.
inline constexpr int32_t kTranslatorAccepts = 0;
inline constexpr int32_t kTranslatorNoProgram = 1;
inline constexpr int32_t kTranslatorMissing = 99;

// TRNOPT statuses: 0 an entry with more to follow, -n the last of n entries, 1 none.
inline constexpr int32_t kOptionNone = 1;

// TRNLST: the option list that a TRNNUL entry fills for TRNOPT: the count (0 to 50) and
// per entry a 50-character text and a 10-character option name.
struct TrnLst {
  static constexpr int32_t kEntries = 50;
  static constexpr int32_t kTextLength = 50;
  static constexpr int32_t kNameLength = 10;

  int32_t count = 0;
  std::array<char, kEntries * kTextLength> texts{};
  std::array<char, kEntries * kNameLength> names{};

  // Entry K, 1..50.
  FText text(int32_t k) {
    return FText(texts.data() + static_cast<std::size_t>(k - 1) * kTextLength, kTextLength);
  }
  FText name(int32_t k) {
    return FText(names.data() + static_cast<std::size_t>(k - 1) * kNameLength, kNameLength);
  }
};

inline TrnLst TRNLST;

// The translator entry of program CODE (1..46), or 0 where the code has none.
int32_t translatorEntry(int32_t code);

// The program whose name the message of ENTRY shows (code 4 for the entry that codes 4, 32
// and 40 share, 27 for the entry of codes 21 and 27); 0 for an entry outside 1..46.
int32_t translatorMessageProgram(int32_t entry);

// The answer of program CODE's translator for ITEM in VARIANT (their meaning is the
// caller's). STATUS 0: the program accepts the variant and NAME holds its name; 99: the
// translator is not present; 1: the code has no program (outside 1..52); any other value:
// no such variant. Codes 36 to 38 answer 0 with NAME untouched.
void TRNDSP(int32_t code, int32_t item, int32_t variant, FText name, int32_t& status);

// Entry J of program CODE's option list: TEXT (50 characters) and OPTION (10 characters)
// are blanked, then filled from the entry. STATUS 0 an entry with more to follow, -n the
// last of n entries, 1 no such entry (J below 1, beyond the list, or a code without a
// translator entry).
void TRNOPT(int32_t code, int32_t j, FText text, FText option, int32_t& status);

// Translator entry ENTRY (1..46) of the TRNDSP family: shows the entry's message and
// answers 99; NAME stays untouched. An entry outside 1..46 answers 1.
void TRNSTB(int32_t entry, int32_t item, int32_t variant, FText name, int32_t& status);

// Translator entry ENTRY of the TRNOPT family: fills OPTIONS. Every entry here sets the
// count to 0.
void TRNNUL(int32_t entry, TrnLst& options);

// Shows TEXT (up to its terminator "*.") on the message unit and journals " ! " and its
// first 80 characters, on channel 2 and then on channel 1.
void TRNMSG(FText text);

}  // namespace kvr
