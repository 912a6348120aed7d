// The constant tables of the element library and their readers: the element properties
// by element type, the shape codes with their node counts and names, the map from shape
// code to element type, and the order in which SHPNAM compares the names.

#include <array>

#include "modeldb/elttab.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

// ELTPRP, rows 0..63: nodes, edges, dimension, faces, corners, order, interior nodes.
constexpr std::array<EltProps, 64> kEltprp = {{
    {0, 0, 0, 0, 0, 0, 0},     // 0
    {8, 12, 3, 6, 8, 0, 0},    // 1 HE8
    {6, 9, 3, 5, 6, 0, 0},     // PE6
    {4, 6, 3, 4, 4, 0, 0},     // TE4
    {20, 12, 3, 6, 8, 1, 0},   // HE20
    {15, 9, 3, 5, 6, 1, 0},    // PE15
    {10, 6, 3, 4, 4, 1, 0},    // TE10
    {3, 3, 2, 1, 3, 0, 0},     // TR3
    {6, 3, 2, 1, 3, 1, 0},     // TR6
    {4, 4, 2, 1, 4, 0, 0},     // QU4
    {8, 4, 2, 1, 4, 1, 0},     // 10 QU8
    {2, 1, 1, 1, 2, 0, 0},     // BE2
    {3, 1, 1, 2, 2, 1, 0},     // BE3
    {5, 7, 3, 4, 5, 0, 0},     // 13
    {7, 11, 3, 6, 7, 0, 0},    // 14
    {12, 7, 3, 4, 5, 1, 0},    // 15
    {18, 11, 3, 6, 7, 1, 0},   // 16
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {1, 0, 4, 0, 1, 0, 0},     // 20 P-EL
    {4, 1, 1, 3, 2, 2, 0},     // BE4
    {5, 1, 1, 4, 2, 3, 0},     // BE5
    {9, 3, 2, 1, 3, 2, 0},     // TR9
    {12, 4, 2, 1, 4, 2, 0},    // QU12
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {15, 3, 2, 1, 3, 3, 3},    // TR15
    {16, 6, 3, 4, 4, 2, 0},    // TE16
    {24, 9, 3, 5, 6, 2, 0},    // PE24
    {32, 12, 3, 6, 8, 2, 0},   // 30 HE32
    {9, 4, 2, 1, 4, 1, 1},     // QU9
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},     // 40
    {2, 1, 1, 1, 2, 0, 0},     // IP11
    {4, 4, 2, 1, 4, 0, 0},     // IL22
    {5, 4, 2, 1, 4, 1, 0},     // IL32
    {6, 4, 2, 1, 4, 1, 0},     // IL33
    {8, 4, 2, 1, 4, 2, 0},     // IL44
    {10, 4, 2, 1, 4, 3, 0},    // IL55
    {6, 9, 3, 5, 6, 0, 0},     // IS33
    {8, 12, 3, 6, 8, 0, 0},    // IS44
    {12, 12, 3, 6, 8, 1, 0},   // IS84
    {12, 9, 3, 5, 6, 1, 0},    // 50 IS66
    {16, 12, 3, 6, 8, 1, 0},   // IS88
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},
    {8, 4, 2, 1, 4, 2, 0},     // 60 SP8
    {10, 4, 2, 1, 4, 3, 0},    // SP10
    {0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0},     // 63
}};

// SHPCOD, shape codes 1..61: node count and name.
struct ShapeRow {
  int32_t nodes = 0;
  int32_t name = a4Word("");
};

constexpr std::array<ShapeRow, kShapeCodes> kShpcod = {{
    {2, a4Word("BE2")},    // 1
    {3, a4Word("BE3")},
    {3, a4Word("TR3")},
    {0, a4Word("")},
    {4, a4Word("QU4")},    // 5
    {0, a4Word("")},
    {6, a4Word("TR6")},
    {8, a4Word("")},
    {8, a4Word("QU8")},
    {9, a4Word("QU9")},    // 10
    {6, a4Word("PE6")},
    {4, a4Word("TE4")},
    {8, a4Word("HE8")},
    {15, a4Word("PE15")},
    {16, a4Word("HE16")},  // 15
    {10, a4Word("TE10")},
    {20, a4Word("HE20")},
    {27, a4Word("HE27")},
    {0, a4Word("")},
    {1, a4Word("P-EL")},   // 20
    {4, a4Word("BE4")},
    {5, a4Word("BE5")},
    {9, a4Word("TR9")},
    {12, a4Word("QU12")},
    {12, a4Word("TR12")},  // 25
    {16, a4Word("")},
    {15, a4Word("TR15")},
    {16, a4Word("TE16")},
    {24, a4Word("PE24")},
    {32, a4Word("HE32")},  // 30
    {0, a4Word("")},
    {0, a4Word("")},
    {0, a4Word("")},
    {0, a4Word("")},
    {0, a4Word("")},       // 35
    {0, a4Word("")},
    {0, a4Word("")},
    {0, a4Word("")},
    {0, a4Word("")},
    {0, a4Word("")},       // 40
    {2, a4Word("IP11")},
    {4, a4Word("IL22")},
    {5, a4Word("IL32")},
    {6, a4Word("IL33")},
    {8, a4Word("IL44")},   // 45
    {10, a4Word("IL55")},
    {6, a4Word("IS33")},
    {8, a4Word("IS44")},
    {12, a4Word("IS84")},
    {12, a4Word("IS66")},  // 50
    {16, a4Word("IS88")},
    {0, a4Word("")},
    {0, a4Word("")},
    {0, a4Word("")},
    {0, a4Word("")},       // 55
    {0, a4Word("")},
    {0, a4Word("")},
    {0, a4Word("")},
    {0, a4Word("")},
    {8, a4Word("SP8")},    // 60
    {10, a4Word("SP10")},
}};

// SHPMAP, shape codes 1..61: the element type, 0 where there is none.
constexpr std::array<int32_t, kShapeCodes> kShpmap = {
    11, 12, 7,  0,  9,  0,  8,  17, 10, 31,  // 1
    2,  3,  1,  5,  18, 6,  4,  19, 0,  20,  // 11
    21, 22, 23, 24, 25, 26, 27, 28, 29, 30,  // 21
    0,  0,  0,  0,  0,  0,  0,  0,  0,  0,   // 31
    41, 42, 43, 44, 45, 46, 47, 48, 49, 50,  // 41
    51, 0,  0,  0,  0,  0,  0,  0,  0,  60,  // 51
    61,                                      // 61
};

// The shape codes in the order SHPNAM compares their names.
constexpr std::array<int32_t, 38> kShapeNameOrder = {
    13, 11, 12, 17, 14, 16, 3,  7,  5,  9,   // HE8 .. QU8
    1,  2,  15, 18, 20, 21, 22, 23, 24, 25,  // BE2 .. TR12
    27, 28, 29, 30, 10, 41, 42, 43, 44, 45,  // TR15 .. IL44
    46, 47, 48, 49, 50, 51, 60, 61,          // IL55 .. SP10
};

}  // namespace

const EltProps& ELTPRP(int32_t t) {
  static constexpr EltProps kEmpty{};
  if (t < 0 || t >= static_cast<int32_t>(kEltprp.size())) return kEmpty;
  return kEltprp[static_cast<size_t>(t)];
}

int32_t SHPNOD(int32_t s) {
  if (s < 1 || s > kShapeCodes) return 0;
  return kShpcod[static_cast<size_t>(s - 1)].nodes;
}

int32_t SHPMAP(int32_t s) {
  if (s < 1 || s > kShapeCodes) return 0;
  return kShpmap[static_cast<size_t>(s - 1)];
}

int32_t shapeNameWord(int32_t s) {
  if (s < 1 || s > kShapeCodes) return a4Word("");
  return kShpcod[static_cast<size_t>(s - 1)].name;
}

void SHPNAM(FText name, int32_t& s) {
  s = 0;
  if (name.length() != 3 && name.length() != 4) return;
  // A four-character work text, blank-padded, upper-cased over its trimmed length.
  FixedText work(4, name.view());
  CASCNV(work, 1);
  const int32_t word = a4Word(work.view());
  for (int32_t code : kShapeNameOrder) {
    if (kShpcod[static_cast<size_t>(code - 1)].name == word) {
      s = code;
      return;
    }
  }
}

}  // namespace kvr
