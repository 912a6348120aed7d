#include "command/argkwd.h"

#include <array>
#include <cstddef>
#include <limits>

#include "runtime/codtxt.h"
#include "runtime/gridmd.h"

namespace kvr {
namespace {

// The keywords by code: each row covers codes FIRST..LAST; GRID, when set, is the form
// of the grid vocabulary. Codes that no row covers have no keyword.
struct KeywordRow {
  int32_t first;
  int32_t last;
  std::string_view word;
  std::string_view grid;
};

constexpr int32_t kLastCode = std::numeric_limits<int32_t>::max();

constexpr std::array<KeywordRow, 88> kKeywords{{
    {1, 1, "'point-old'", {}},
    {2, 2, "'line-old'", {}},
    {3, 3, "'surf-old'", {}},
    {4, 4, "'body-old'", {}},
    {5, 5, "'set-old'", {}},
    {6, 6, "'shape-old'", {}},
    {7, 7, "'trnsf-old'", {}},
    {8, 8, "'mat-old'", {}},
    {9, 9, "'phys-old'", {}},
    {10, 10, "'csyst-old'", {}},  // 10
    {11, 11, "'load-old'", "'bound-old'"},
    {12, 12, "'cnstr-old'", {}},
    {13, 13, "'param-old'", {}},
    {14, 14, "'node-old'", "'vertex-old'"},
    {15, 15, "'elem-old'", "'cell-old'"},
    {16, 16, "'merge-old'", {}},
    {17, 17, "'matdf-old'", {}},
    {18, 18, "'phydf-old'", {}},
    {19, 19, "'lodef-old'", "'bnddef-old'"},
    {20, 20, "'re-set-old'", {}},  // 20
    {21, 21, "'point-new'", {}},
    {22, 22, "'line-new'", {}},
    {23, 23, "'surf-new'", {}},
    {24, 24, "'body-new'", {}},
    {25, 25, "'set-new'", {}},
    {26, 26, "'shape-new'", {}},
    {27, 27, "'trnsf-new'", {}},
    {28, 28, "'mat-new'", {}},
    {29, 29, "'phys-new'", {}},
    {30, 30, "'csyst-new'", {}},  // 30
    {31, 31, "'load-new'", "'bound-new'"},
    {32, 32, "'cnstr-new'", {}},
    {33, 33, "'param-new'", {}},
    {34, 34, "'node-new'", "'vertex-new'"},
    {35, 35, "'elem-new'", "'cell-new'"},
    {36, 36, "'merge-new'", {}},
    {37, 37, "'matdf-new'", {}},
    {38, 38, "'phydf-new'", {}},
    {39, 39, "'lodef-new'", "'bnddef-new'"},
    {41, 41, "'fe-prog'", "'models'"},  // 40
    {51, 51, "'old-name'", {}},
    {52, 52, "'new-name'", {}},
    {60, 60, "'tcdef-old'", {}},
    {61, 61, "'scdef-old'", {}},
    {62, 62, "'lmdef-old'", "'bcmdef-old'"},
    {63, 63, "'ic-old'", {}},
    {64, 64, "'icdef-old'", {}},
    {65, 65, "'re-old'", {}},
    {66, 66, "'pmod-old'", {}},
    {70, 70, "'tcdef-new'", {}},  // 50
    {71, 71, "'scdef-new'", {}},
    {72, 72, "'lmdef-new'", "'bcmdef-new'"},
    {73, 73, "'ic-new'", {}},
    {74, 74, "'icdef-new'", {}},
    {75, 75, "'re-new'", {}},
    {76, 76, "'pmod-new'", {}},
    {77, 77, "'re-set-new'", {}},
    {78, 78, "'fcdef-old'", {}},
    {79, 79, "'fcdef-new'", {}},
    {101, 102, "'attribute'", {}},  // 60
    {103, 103, "'component'", {}},
    {104, 104, "'attribute'", {}},
    {105, 105, "'component'", {}},
    {109, 109, "'name'", {}},
    {110, 110, "'model'", {}},
    {111, 111, "'load'", "'case'"},
    {112, 112, "'set-old'", {}},
    {113, 116, "'model'", {}},
    {117, 117, "'load'", "'case'"},
    {122, 122, "'set-new'", {}},  // 70
    {123, 123, "'shape-new'", {}},
    {124, 124, "'shape-old'", {}},
    {125, 125, "'elem-type'", "'cell-type'"},
    {126, 126, "'line-new'", {}},
    {127, 127, "'line-old'", {}},
    {128, 128, "'csys-new'", {}},
    {129, 129, "'csys-old'", {}},
    {130, 130, "'sym-set-new'", {}},
    {131, 131, "'sym-set-old'", {}},
    {132, 132, "'name-old'", {}},  // 80
    {134, 134, "'montage-new'", {}},
    {135, 135, "'montage-old'", {}},
    {136, 136, "'node-old'", "'vertex-old'"},
    {137, 137, "'elem-old'", "'cell-old'"},
    {138, 202, "'name'", {}},
    {203, 203, "'header'", {}},
    {204, 299, "'name'", {}},
    {300, kLastCode, "'value'", {}},
}};

const KeywordRow* rowOf(int32_t code) {
  for (const KeywordRow& row : kKeywords) {
    if (code >= row.first && code <= row.last) return &row;
  }
  return nullptr;
}

}  // namespace

std::string_view argumentKeyword(int32_t code) {
  const KeywordRow* row = rowOf(code);
  if (row == nullptr) return {};
  return GRIDMD() == 1 && !row->grid.empty() ? row->grid : row->word;
}

void ARGKWD(int32_t code, int32_t position, std::span<int32_t> line, int32_t& last,
            int32_t& status) {
  last = 0;
  status = kKeywordWritten;
  if (code <= 0 || code == 100) return;
  const std::string_view word = argumentKeyword(code);
  if (word.empty()) {
    status = kNoKeyword;
    return;
  }
  int32_t k = position;
  for (char c : word) {
    if (k < 1 || k > static_cast<int32_t>(line.size())) break;
    line[static_cast<std::size_t>(k - 1)] = codeOf(c);
    last = k++;
  }
}

}  // namespace kvr
