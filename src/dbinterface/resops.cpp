// The operator table of the results selection: the derived quantities a reader may ask
// of a results component, with the component type each needs and what it yields.
#include <algorithm>
#include <string_view>

#include "dbinterface/ressel.h"
#include "modeldb/codcmp.h"

namespace kvr {
namespace {

struct Operator {
  std::string_view name;
  int32_t needs;   // component type the operator needs
  int32_t result;  // component type of its result
  int32_t count;   // value count reported with it
  int32_t pairs;   // index pairs of its result
};

constexpr std::array<Operator, kOperatorCount> kOperators = {{
    {"ALL     ", 2, 2, 3, 3},
    {"VONMISES", 4, 1, 6, 1},
    {"P1-STRES", 4, 3, 6, 4},
    {"P2-STRES", 4, 3, 6, 4},
    {"P3-STRES", 4, 3, 6, 4},
    {"Q1-STRES", 4, 1, 6, 1},
    {"Q2-STRES", 4, 1, 6, 1},
    {"Q3-STRES", 4, 1, 6, 1},
    {"QMAX    ", 4, 1, 6, 1},
    {"P-YIELD ", 4, 1, 6, 1},  // 10
    {"Q1-PRINC", 3, 1, 12, 1},
    {"Q2-PRINC", 3, 1, 12, 1},
    {"Q3-PRINC", 3, 1, 12, 1},
    {"QMAX-PRN", 3, 1, 12, 1},
    {"PRESSURE", 4, 1, 6, 1},
    {"ALL-PRNC", 3, 3, 12, 12},
    {"ALL-STRS", 4, 3, 6, 12},
    {"TRANSF-A", 0, 0, 0, 0},
    {"TRANSF-H", 0, 0, 0, 0},
    {"P1-ESTRA", 4, 3, 6, 4},  // 20
    {"P2-ESTRA", 4, 3, 6, 4},
    {"P3-ESTRA", 4, 3, 6, 4},
    {"ALL-ESTR", 4, 3, 6, 12},
}};

AttributeName codesOf(std::string_view text) {
  AttributeName codes = blankAttributeName();
  for (size_t k = 0; k < text.size() && k < codes.size(); ++k) codes[k] = codeOf(text[k]);
  return codes;
}

// The index lists of operator N by its rule.
void fillIndices(int32_t n, IndexList& first, IndexList& second) {
  if (n == 1) {
    for (int32_t k = 0; k < 3; ++k) first[static_cast<size_t>(k)] = k + 1;
  } else if ((n >= 3 && n <= 5) || (n >= 20 && n <= 22)) {
    // The principal value's number: 1, 2 or 3.
    const int32_t principal = n <= 5 ? n - 2 : n - 19;
    for (size_t k = 0; k < 4; ++k) {
      first[k] = static_cast<int32_t>(k) + 1;
      second[k] = principal;
    }
  } else if (n >= 6 && n <= 9) {
    first[0] = n - 5;
  } else if (n >= 11 && n <= 14) {
    first[0] = n - 10;
  } else if (n == 16 || n == 17 || n == 23) {
    for (size_t k = 0; k < 12; ++k) {
      first[k] = static_cast<int32_t>(k % 4) + 1;
      second[k] = static_cast<int32_t>(k / 4) + 1;
    }
  }
}

}  // namespace

void RESOPS(std::span<int32_t, kAttributeNameCodes> name, int32_t& number, int32_t& needs,
            int32_t& result, int32_t& count, int32_t& pairs, IndexList& first,
            IndexList& second) {
  if (number == 0) {
    for (int32_t n = 1; n <= kOperatorCount; ++n) {
      const AttributeName stored = codesOf(kOperators[static_cast<size_t>(n - 1)].name);
      int32_t compared = -1;
      CODCMP(stored, 1, kAttributeNameCodes, name, 1, kAttributeNameCodes, compared);
      if (compared == 0) {
        number = n;
        break;
      }
    }
  } else if (number >= 1 && number <= kOperatorCount) {
    const AttributeName stored = codesOf(kOperators[static_cast<size_t>(number - 1)].name);
    std::copy(stored.begin(), stored.end(), name.begin());
  } else {
    number = 0;
  }
  first.fill(0);
  second.fill(0);
  if (number == 0) {
    needs = result = count = pairs = 0;
    return;
  }
  const Operator& op = kOperators[static_cast<size_t>(number - 1)];
  needs = op.needs;
  result = op.result;
  count = op.count;
  pairs = op.pairs;
  fillIndices(number, first, second);
}

}  // namespace kvr
