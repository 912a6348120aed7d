// The results attributes and components that the object types 1 to 8 list and check: the
// records 106 of the selected load case's chain (from word 8 of its record 104), each
// with its link to the next (word 1: 0 an unused record, below 0 the last one), its kind
// (word 2, 1 to 5), its name (words 3-10) and its components (word 15 their number, ten
// 8-code slots from word 16, word 96 the page of the record with the next ten).
//
// Every walk ends: a chain stops at a page it has read already, at a page the index file
// does not hold, or at a page of another class, and counts as ended there.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace kvr {

using ObjectName = std::array<int32_t, 8>;

struct ResultsAttribute {
  ObjectName name{};
  int32_t kind = 0;
  int32_t components = 0;  // word 15
  int32_t page = 0;        // the index page of its record
};

// Whether a load case is selected: the count of DBLEVL at least 1.
bool caseSelected();

// Makes the selected load case (by its name) the current record 104; false when none is
// selected or the load-case list does not hold its name exactly.
bool selectSelectedCase();

// The attributes of the selected load case's chain, in chain order; none when the case
// cannot be selected.
std::vector<ResultsAttribute> resultsAttributes();

// The attribute kind that answer ANSWER chooses by its keyword (182 kind 2, 161 kind 3,
// 183 kind 4, 184 kind 5); 0 for none (and for an answer that is not of the command).
int32_t chosenAttributeKind(int32_t answer);

// Whether an attribute of STORED kind is one of KIND: with EXACT the kinds must be equal,
// else kind 1 counts as kind 2.
bool ofKind(int32_t stored, int32_t kind, bool exact);

// The names of the components of ATTRIBUTE, in order, its record and the records its
// word 96 leads to read in turn (each record in memory written back before the next is
// read). Empty when its component count is below 1.
std::vector<ObjectName> componentNames(const ResultsAttribute& attribute);

}  // namespace kvr
