// The load-case list of a model. Results, beam loads, scans and combinations belong to a
// load case; a model's load cases are control records of class 104 (48 words, two per
// index page, pages chained by word 4) from word 8 of its record 103:
//   1      state: 1 in use, 0 free (the end of the used entries), below 0 deleted
//   2-7    name, 6 character codes (only 6 count)
//   8      page of its first results-attribute record (class 106; word 1 of that record
//          is 0 while no attribute uses it)
//   9      first page of its scan or combination dataset (type 100), 0 none
//   10     first page of its beam-load dataset (type 28), 0 none
//   11, 12 type (1 time, 2 frequency, 3 load, 0 or below static) and number
//   13, 14 two REAL values, bit for bit
//   15-34  the 20-word list (the dataset header's title)
//   35-44  the type's text, or for a type above 3 the caller's 10-word list
//
// The load case found or added last is the current record 104 (CTLREC); the loaders of
// keys 28, 29, 31, 100 and 300 record their datasets in it, so the processing registers
// the load case (registerLoadCase) before it runs one of them. The results loaders and the
// assembly build use the current load case the same way.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// LCFIND results.
inline constexpr int32_t kLoadCaseExact = 0;
inline constexpr int32_t kLoadCaseMissing = -1;
inline constexpr int32_t kLoadCaseAmbiguous = -2;
inline constexpr int32_t kAnyLoadCaseNumber = -1;

// Looks up the first token of codes 1-6 of NAME among the load cases in use, only those
// of number NUMBER unless it is -1. RESULT 0 for an exact match (FULLNAME then receives
// NAME's 6 codes), n above 0 when the token abbreviates the names of one load case only
// (n codes matched; FULLNAME receives its name), -1 when nothing matches, -2 when the
// token abbreviates load cases of different names. POSITION: the entries walked up to
// the one found, deleted ones included. Found: the load case is the current record 104
// and its first attribute record the current record 106. A model record not in use:
// M012 (4001 and its word 1), result -1, the run goes on. FULLNAME takes at most 6 codes.
void LCFIND(std::span<const int32_t> name, int32_t number, std::span<int32_t> fullName,
            int32_t& result, int32_t& position);

// Adds the load case NAME (its first 6 codes) of TYPE and NUMBER with VALUE1, VALUE2, the
// 20-word LIST20 and the 10-word LIST10 (replaced by the type's text for a type of 3 or
// below) in the first free entry of the list, or in entry 1 of a new page linked behind
// its last one; deleted entries are not reused. A new first attribute record (class 106,
// word 1 = 0) is allocated for it. The load case becomes current. WORK is a buffer of at
// least one index page for the page allocation. STATUS 0 added; 1 not added, with M012:
// 3801 when the model record is not in use (word 1 of record 104 then 0), 3802 when a
// load case of that name and number exists.
void LCADD(std::span<const int32_t> name, std::span<int32_t> work, float value1, float value2,
           int32_t type, int32_t number, std::span<const int32_t> list20,
           std::span<const int32_t> list10, int32_t& status);

// The registration of a dataset's load case before its loader runs: the load case NAME
// of number NUMBER is looked up; unless found exactly it is added (LCADD with VALUE, 0.0,
// TYPE, NUMBER, TITLE, TEXT) and the load-case counter of DICNT goes up, the date and
// time going into words 49-53 of record 103 when it becomes 1. A model record of state 2
// then gets state 3. Both are written back at once. STATUS is LCADD's: on 1 nothing else
// changes.
void registerLoadCase(std::span<const int32_t> name, std::span<int32_t> work, float value,
                      int32_t type, int32_t number, std::span<const int32_t> title,
                      std::span<const int32_t> text, int32_t& status);

}  // namespace kvr
