// The constant data of the element face extraction, in the order of the shape codes: the
// FACTYP table, the mid nodes per edge of the plane shapes, the order class and corner
// count of the solids, the face and edge corner tables and the renumbering of the faces of
// the cubic solids.
#include <algorithm>
#include <array>

#include "modelquery/elfaces.h"

namespace kvr {
namespace {

// A FACTYP row: the corner sum SUM gives FACE; with M set, only when the smallest corner
// position is M, else OTHER (0: this row does not match).
struct TypeRule {
  int32_t sum;
  int32_t face;
  int32_t m = 0;
  int32_t other = 0;
};

struct TypeRow {
  std::array<int32_t, 5> shapes;  // 0 ends the list
  std::span<const TypeRule> faces;
  std::span<const int32_t> sides;  // sums of the sides of an interface element
};

constexpr TypeRule kTR3[] = {{3, 1}, {5, 2}, {4, 3}};
constexpr TypeRule kQU4[] = {{3, 1}, {5, 4, 1, 2}, {7, 3}};
constexpr TypeRule kTR6[] = {{4, 1}, {8, 2}, {6, 3}};
constexpr TypeRule kQU8[] = {{4, 1}, {8, 4, 1, 2}, {12, 3}};
constexpr TypeRule kPrism[] = {{6, 1}, {15, 2}, {12, 3}, {16, 4}, {14, 5}};
constexpr TypeRule kTet[] = {{6, 1}, {7, 2}, {9, 3}, {8, 4}};
constexpr TypeRule kHex[] = {{10, 1}, {26, 2}, {14, 3}, {18, 6, 1, 4}, {22, 5}};
constexpr TypeRule kTR9[] = {{5, 1}, {11, 2}, {8, 3}};
constexpr TypeRule kQU12[] = {{5, 1}, {11, 4, 1, 2}, {17, 3}};
constexpr TypeRule kTR12[] = {{6, 1}, {14, 2}, {10, 3}};
constexpr TypeRule kIL22[] = {{3, 1}, {7, 2}};
constexpr TypeRule kIL32[] = {{4, 1}, {9, 2}};
constexpr TypeRule kIL33[] = {{4, 1}, {10, 2}};
constexpr TypeRule kIL44[] = {{5, 1}, {13, 2}};
constexpr TypeRule kIL55[] = {{6, 1}, {16, 2}};
constexpr TypeRule kIS33[] = {{6, 1}, {15, 2}};
constexpr TypeRule kIS44[] = {{10, 1}, {26, 2}};
constexpr TypeRule kIS84[] = {{16, 1}, {42, 2}};
constexpr TypeRule kIS66[] = {{9, 1}, {27, 2}};
constexpr TypeRule kIS88[] = {{16, 1}, {48, 2}};
constexpr TypeRule kSP8[] = {{9, 1, 1, 0}, {9, 2, 4, 0}};
constexpr TypeRule kSP10[] = {{11, 1, 1, 0}, {11, 2, 5, 0}};

constexpr int32_t kIL22Sides[] = {5};
constexpr int32_t kIL32Sides[] = {6, 7};
constexpr int32_t kIL33Sides[] = {7};
constexpr int32_t kIL44Sides[] = {9};
constexpr int32_t kIL55Sides[] = {11};
constexpr int32_t kIS33Sides[] = {12, 14, 16};
constexpr int32_t kIS44Sides[] = {14, 18, 22};
constexpr int32_t kIS84Sides[] = {23, 29, 35};
constexpr int32_t kIS66Sides[] = {20, 24, 28};
constexpr int32_t kIS88Sides[] = {24, 32, 40};

const std::array<TypeRow, 22> kTypeRows = {{
    {{3}, kTR3, {}},
    {{5}, kQU4, {}},
    {{7}, kTR6, {}},
    {{9, 10}, kQU8, {}},
    {{11, 14, 29}, kPrism, {}},
    {{12, 16, 28}, kTet, {}},
    {{13, 15, 17, 18, 30}, kHex, {}},
    {{23}, kTR9, {}},
    {{24}, kQU12, {}},
    {{25, 27}, kTR12, {}},
    {{42}, kIL22, kIL22Sides},  // 10
    {{43}, kIL32, kIL32Sides},
    {{44}, kIL33, kIL33Sides},
    {{45}, kIL44, kIL44Sides},
    {{46}, kIL55, kIL55Sides},
    {{47}, kIS33, kIS33Sides},
    {{48}, kIS44, kIS44Sides},
    {{49}, kIS84, kIS84Sides},
    {{50}, kIS66, kIS66Sides},
    {{51}, kIS88, kIS88Sides},
    {{60}, kSP8, {}},  // 20
    {{61}, kSP10, {}},
}};

// Face corner tables.
constexpr CornerRow kTetFaces[] = {{1, 2, 3}, {1, 2, 4}, {2, 3, 4}, {1, 3, 4}};
constexpr CornerRow kPrismFaces[] = {{1, 2, 3}, {4, 5, 6}, {1, 2, 5, 4}, {2, 3, 6, 5}, {1, 3, 6, 4}};
constexpr CornerRow kHexFaces[] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {1, 2, 6, 5},
                                   {2, 3, 7, 6}, {3, 4, 8, 7}, {1, 4, 8, 5}};
constexpr CornerRow kIS66Faces[] = {{1, 3, 5}, {7, 9, 11}};
constexpr CornerRow kIS84Faces[] = {{1, 3, 5, 7}, {9, 10, 11, 12}};
constexpr CornerRow kIS88Faces[] = {{1, 3, 5, 7}, {9, 11, 13, 15}};

// Edge corner tables.
constexpr CornerRow kTetEdges[] = {{1, 2}, {2, 3}, {3, 1}, {1, 4}, {2, 4}, {3, 4}};
constexpr CornerRow kPrismEdges[] = {{1, 2}, {2, 3}, {3, 1}, {4, 5}, {5, 6},
                                     {6, 4}, {1, 4}, {2, 5}, {3, 6}};
constexpr CornerRow kHexEdges[] = {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {5, 6},  {6, 7},
                                   {7, 8}, {8, 5}, {1, 5}, {2, 6}, {3, 7}, {4, 8}};
constexpr CornerRow kIS66Edges[] = {{1, 3}, {3, 5}, {5, 1}, {7, 9}, {9, 11}, {11, 7}};
constexpr CornerRow kIS84Edges[] = {{1, 3}, {3, 5}, {5, 7}, {7, 1},
                                    {9, 10}, {10, 11}, {11, 12}, {12, 9}};
constexpr CornerRow kIS88Edges[] = {{1, 3}, {3, 5}, {5, 7}, {7, 1},
                                    {9, 11}, {11, 13}, {13, 15}, {15, 9}};

constexpr int32_t kShapeIS33 = 47;
constexpr int32_t kShapeIS44 = 48;
constexpr int32_t kShapeIS88 = 51;

// Renumbered faces of TE16, PE24, HE32 (faces 1, 2, ...).
constexpr int32_t kTE16Faces[] = {4, 3, 1, 2};
constexpr int32_t kPE24Faces[] = {1, 2, 5, 3, 4};
constexpr int32_t kHE32Faces[] = {5, 6, 3, 2, 4, 1};

}  // namespace

void FACTYP(int32_t shape, int32_t sum, int32_t m, int32_t& face, int32_t& status) {
  face = 0;
  const auto row = std::find_if(kTypeRows.begin(), kTypeRows.end(), [&](const TypeRow& r) {
    return std::find(r.shapes.begin(), r.shapes.end(), shape) != r.shapes.end() && shape != 0;
  });
  if (row == kTypeRows.end()) {
    status = 2;
    return;
  }
  for (const TypeRule& r : row->faces) {
    if (r.sum != sum) continue;
    if (r.m == 0 || r.m == m) {
      face = r.face;
    } else if (r.other != 0) {
      face = r.other;
    } else {
      continue;
    }
    status = 0;
    return;
  }
  status = std::find(row->sides.begin(), row->sides.end(), sum) != row->sides.end() ? 1 : 3;
}

int32_t midNodesPerEdge(int32_t shape) {
  switch (shape) {
    case 3: case 5: case 42:
      return 0;
    case 23: case 24: case 45: case 60:
      return 2;
    case 25: case 26: case 27: case 46: case 61:
      return 3;
    default:
      return 1;
  }
}

SolidClass solidClassOf(int32_t shape) {
  switch (shape) {
    case 11: return {0, 6};
    case 12: return {0, 4};
    case 13: case 48: return {0, 8};
    case 47: return {0, 6};
    case 28: return {2, 4};
    case 29: return {2, 6};
    case 30: return {2, 8};
    case 14: case 50: return {1, 6};
    case 16: return {1, 4};
    default: return {1, 8};
  }
}

bool interfaceShape(int32_t shape) { return (shape >= 43 && shape <= 51) || shape == 60 || shape == 61; }

std::span<const CornerRow> cornerTable(int32_t shape, bool edges) {
  const SolidClass c = solidClassOf(shape);
  if (interfaceShape(shape) && c.order == 1) {
    if (c.corners == 6) return edges ? std::span<const CornerRow>(kIS66Edges) : kIS66Faces;
    if (shape == kShapeIS88) return edges ? std::span<const CornerRow>(kIS88Edges) : kIS88Faces;
    return edges ? std::span<const CornerRow>(kIS84Edges) : kIS84Faces;
  }
  std::span<const CornerRow> rows;
  switch (c.corners) {
    case 4: rows = edges ? std::span<const CornerRow>(kTetEdges) : kTetFaces; break;
    case 6: rows = edges ? std::span<const CornerRow>(kPrismEdges) : kPrismFaces; break;
    default: rows = edges ? std::span<const CornerRow>(kHexEdges) : kHexFaces; break;
  }
  // IS33 and IS44 have only the two sides of the interface and their edges.
  if (shape == kShapeIS33 || shape == kShapeIS44) {
    rows = rows.first(edges ? (shape == kShapeIS33 ? 6 : 8) : 2);
  }
  return rows;
}

int32_t renumberedFace(int32_t shape, int32_t face) {
  std::span<const int32_t> table;
  switch (shape) {
    case 28: table = kTE16Faces; break;
    case 29: table = kPE24Faces; break;
    case 30: table = kHE32Faces; break;
    default: return face;
  }
  if (face < 1 || face > static_cast<int32_t>(table.size())) return face;
  return table[static_cast<size_t>(face - 1)];
}

}  // namespace kvr
