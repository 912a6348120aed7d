// The results selection: which results attribute of the current load case, which of its
// components and which derived quantity (operator) a reader of results values uses.
//
// A results attribute is a control record of class 106 (chained from word 8 of the load
// case's record 104) with a header page of class 100 in the data file: from word 39 one
// entry of 29 words per component (menu flag, type code, INDEX1, INDEX2, calculation
// indicator, name (8 codes), calculation name (8), source attribute name (8)), then the
// variant count and per variant its id, its value word count and one word per component.
// Word 5 of the page is its last used word. Components with a calculation indicator of 0
// or below carry values ("value components"); indicator 1 marks a component calculated
// by the operator its calculation name names.
//
// RESSEL is the selection that readers of results use, RESCMP the component chosen in it;
// RESSE2 is a second selection with its own choice. RESSL1 and RESSL2 fill them through
// RESPRS from the attribute type and name and the choice held in them.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "dbinterface/direcs.h"
#include "runtime/codtxt.h"

namespace kvr {

inline constexpr int32_t kSelectionComponents = 20;  // list places
inline constexpr int32_t kSelectionVariants = 5;
inline constexpr int32_t kVariantTableWords = 2 + kSelectionComponents;
inline constexpr int32_t kIndexListLength = 16;
inline constexpr int32_t kOperatorCount = 23;

using AttributeName = std::array<int32_t, kAttributeNameCodes>;
using IndexList = std::array<int32_t, kIndexListLength>;

constexpr AttributeName blankAttributeName() {
  AttributeName name{};
  name.fill(kBlankCode);
  return name;
}

// The words of one results selection, in the order they are used.
struct ResultsSelection {
  int32_t datasetClass = 0;  // 100: set by the results loader
  int32_t valid = 0;         // 1 after a successful RESSL1, 0 after a failed one
  int32_t type = 0;          // the attribute's type and name, by which it is found
  AttributeName name = blankAttributeName();
  int32_t componentPage = 0;   // header page of the attribute (record 106 word 11)
  int32_t resultsWord = 0;     // first page of its values (word 12)
  int32_t recordPage = 0;      // page of its record 106
  int32_t componentCount = 0;  // its components (word 14), at most 20
  int32_t variantCount = 0;    // variants held in the table, at most 5
  // Per variant: its id, its value word count, one word per component.
  std::array<std::array<int32_t, kVariantTableWords>, kSelectionVariants> variants{};
  // Per value component in order: type code, INDEX1, INDEX2; -1 after the last.
  std::array<int32_t, kSelectionComponents> types{};
  std::array<int32_t, kSelectionComponents> firstIndices{};
  std::array<int32_t, kSelectionComponents> secondIndices{};
};

// The component chosen in a selection.
struct ComponentChoice {
  int32_t number = 0;  // its number among the value components
  AttributeName name = blankAttributeName();  // the name to choose by; blank: the default
  int32_t type = 0;
  int32_t pairs = 0;  // index pairs used
  IndexList firstIndices{};
  IndexList secondIndices{};
  int32_t operatorWord = 0;  // the operator code to choose by; after a choice, the operator
  int32_t neededType = 0;    // the component type the operator needs
  int32_t valueCount = 0;    // values of the chosen type
};

struct SecondSelection {
  ResultsSelection selection;
  ComponentChoice choice;
};

inline ResultsSelection RESSEL;
inline ComponentChoice RESCMP;
inline SecondSelection RESSE2;

// The operator table. With NUMBER 0 looks NAME up (an exact match of its 8 codes; an
// abbreviation does not count) and answers its number in NUMBER, 0 when none matches;
// with NUMBER 1..23 sets NAME to that entry's name; any other NUMBER becomes 0. Then the
// entry's component type needed, result type, value count and index pairs (all 0 for
// number 0) and its two index lists, cleared first.
void RESOPS(std::span<int32_t, kAttributeNameCodes> name, int32_t& number, int32_t& needs,
            int32_t& result, int32_t& count, int32_t& pairs, IndexList& first,
            IndexList& second);

// Finds a results attribute record of the current load case, from word 8 of record 104
// along the links. K 0: the record of type TYPE and name NAME (all 8 codes). K not 0: the
// |K|-th record of any type (K below 0) or of type TYPE (K above 0; a stored type 1
// counts as 2 when 2 is asked), whose type and name are answered in TYPE and NAME.
// STATUS 0 found (the record is the current record 106, PAGE its page), 1 not found. The
// walk stops at a record of link 0 (not compared), after a record of link -1, at a page
// that holds no record 106, and after as many records as the index file has pages.
void RAFIND(int32_t k, std::span<int32_t, kAttributeNameCodes> name, int32_t& type,
            int32_t& page, int32_t& status);

// Chooses the component and operator of the attribute of TYPE and NAME (SEARCH 0; else
// the SEARCH-th attribute as RAFIND finds it) and fills SELECTION's pages, counts,
// variant table and lists and CHOICE. SELECTOR: below 0 by the name in CHOICE, 0 the
// default (first component with a type code above 0), above 0 by menu position; it
// becomes 0 when it chooses nothing. OPERATORCODE: entry (code mod 100) of RESOPS for a
// value component, with code / 100 giving the second index. RESULTSPAGE receives the
// attribute's header page. STATUS 0; 1 no usable component or operator (E3480, E3490), a
// header page whose components or variants run past its last used word, or a results
// word below 1 in a MODE other than 1; 2 no such attribute (or source attribute).
void RESPRS(int32_t mode, std::span<int32_t> resultsPage, int32_t search, int32_t& selector,
            int32_t type, int32_t operatorCode, std::span<const int32_t, kAttributeNameCodes> name,
            ResultsSelection& selection, ComponentChoice& choice, int32_t& status);

// RESPRS by the component name and operator held in RESCMP, for the attribute type and
// name of RESSEL; fills RESSEL and RESCMP and sets the selection-valid word. STATUS 0, or
// 1 for any failure.
void RESSL1(std::span<int32_t> resultsPage, int32_t& status);

// As RESSL1 for RESSE2; its operator word takes the operator chosen only on success.
void RESSL2(std::span<int32_t> resultsPage, int32_t& status);

// Word 54 of record 103 (the first page of the model's component list).
void R3GW54(int32_t& value);
void R3SW54(int32_t value);
// Words 11, 12, 13 and 14 of record 106. R6GW12 does not read its first argument.
void R6GW11(int32_t& value);
void R6GW12(int32_t unused, int32_t& value);
void R6GW13(int32_t& value);
void R6GW14(int32_t& value);

}  // namespace kvr
