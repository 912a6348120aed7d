// The two tables of FACSEL, in the order of the shape codes.
#include <array>

#include "modelquery/facsel.h"

namespace kvr {
namespace {

constexpr int32_t kNever = 0;

// Which leading marked positions are summed: shape codes, edge when the face node count
// lies below, the face rule and its count.
constexpr std::array<CountRule, 24> kCountRules = {{
    {1, 2, kNever, FaceCount::kFixed, 4},  // BE2, BE3: no sums
    {3, 10, kNever, FaceCount::kFixed, 2},
    {11, 11, 3, FaceCount::kWedge, 0},     // PE6
    {12, 12, 3, FaceCount::kFixed, 3},     // TE4
    {13, 13, 3, FaceCount::kFixed, 4},     // HE8
    {14, 14, 4, FaceCount::kWedge, 0},     // PE15
    {15, 15, 4, FaceCount::kFixed, 4},
    {16, 16, 4, FaceCount::kFixed, 3},     // TE10
    {17, 18, 4, FaceCount::kFixed, 4},
    {19, 22, kNever, FaceCount::kNone, 0},
    {23, 27, kNever, FaceCount::kFixed, 2},  // 10
    {28, 28, 5, FaceCount::kFixed, 3},     // TE16
    {29, 29, 5, FaceCount::kWedge, 0},     // PE24
    {30, 30, 5, FaceCount::kFixed, 4},     // HE32
    {31, 40, kNever, FaceCount::kNone, 0},
    {41, 41, kNever, FaceCount::kFixed, 1},  // IP11
    {42, 46, kNever, FaceCount::kFixed, 2},  // IL22 to IL55
    {47, 47, 3, FaceCount::kWedgeIS33, 0},
    {48, 48, 3, FaceCount::kFixed, 4},     // IS44
    {49, 49, 4, FaceCount::kFixed, 4},     // IS84
    {50, 50, 4, FaceCount::kWedgeIS66, 0},  // 20
    {51, 51, 4, FaceCount::kFixed, 4},     // IS88
    {52, 59, kNever, FaceCount::kNone, 0},
    {60, 61, kNever, FaceCount::kSpring, 0},  // SP8, SP10
}};

// The sums of faces and edges: {sum, face} or {sum, face when m is M, M, face otherwise}.
constexpr SumRule kTR3[] = {{3, 1}, {5, 2}, {4, 3}};
constexpr SumRule kQU4[] = {{3, 1}, {5, 4, 1, 2}, {7, 3}};
constexpr SumRule kTR6[] = {{4, 1}, {8, 2}, {6, 3}};
constexpr SumRule kShape8[] = {{4, 1}, {8, 2}, {7, 3}, {11, 3}};
constexpr SumRule kQU8[] = {{4, 1}, {8, 4, 1, 2}, {12, 3}};
constexpr SumRule kPrismFaces[] = {{6, 1}, {15, 2}, {12, 3}, {16, 4}, {14, 5}};
constexpr SumRule kPrismEdges[] = {{3, -1}, {5, -2, 2, -7}, {4, -3}, {9, -4, 4, -9},
                                   {11, -5}, {10, -6}, {7, -8}};
constexpr SumRule kTetFaces[] = {{6, 1}, {7, 2}, {9, 3}, {8, 4}};
constexpr SumRule kTetEdges[] = {{3, -1}, {5, -2, 2, -4}, {4, -3}, {6, -5}, {7, -6}};
constexpr SumRule kHexFaces[] = {{10, 1}, {26, 2}, {14, 3}, {18, 6, 1, 4}, {22, 5}};
constexpr SumRule kHexEdges[] = {{3, -1},  {5, -2, 2, -4}, {7, -3},  {11, -5},  {13, -6, 6, -8},
                                 {15, -7}, {6, -9},        {8, -10}, {10, -11}, {12, -12}};
constexpr SumRule kTR9[] = {{5, 1}, {11, 2}, {8, 3}};
constexpr SumRule kQU12[] = {{5, 1}, {11, 4, 1, 2}, {17, 3}};
constexpr SumRule kTR12[] = {{6, 1}, {14, 2}, {10, 3}};
constexpr SumRule kTE16Faces[] = {{27, 1}, {24, 2}, {21, 3}, {12, 4}};
constexpr SumRule kTE16Edges[] = {{5, -1}, {11, -2}, {8, -3}, {17, -4}, {20, -5}, {23, -6}};
constexpr SumRule kPE24Faces[] = {{12, 1}, {57, 2}, {52, 3}, {46, 4}, {40, 5}};
constexpr SumRule kPE24Edges[] = {{5, -1},  {11, -2}, {8, -3},  {35, -4}, {41, -5},
                                  {38, -6}, {17, -7}, {23, -8}, {29, -9}};
constexpr SumRule kHE32Faces[] = {{62, 1, 1, 2}, {50, 3}, {74, 4}, {22, 5}, {102, 6}};
constexpr SumRule kHE32Edges[] = {{5, -1},  {11, -2, 4, -4},   {17, -3},  {45, -5},  {51, -6, 24, -8},
                                  {57, -7}, {22, -9},          {28, -10}, {34, -11}, {40, -12}};
constexpr SumRule kIL22[] = {{3, 1}, {7, 2}, {4, 0}, {6, 0}};
constexpr SumRule kIL32[] = {{4, 1}, {9, 2}, {5, 0}, {8, 0}};
constexpr SumRule kIL33[] = {{4, 1}, {10, 2}, {5, 0}, {9, 0}};
constexpr SumRule kIL44[] = {{5, 1}, {13, 2}, {6, 0}, {12, 0}};
constexpr SumRule kIL55[] = {{6, 1}, {16, 2}, {7, 0}, {15, 0}};
constexpr SumRule kIS33Faces[] = {{6, 1}, {15, 2}, {12, 0}, {14, 0}, {16, 0}};
constexpr SumRule kIS33Edges[] = {{3, -1}, {5, -2}, {4, -3}, {9, -4}, {11, -5}, {10, -6}};
constexpr SumRule kIS44Faces[] = {{10, 1}, {26, 2}, {14, 0}, {18, 0}, {22, 0}};
constexpr SumRule kIS44Edges[] = {{3, -1}, {5, -2, 2, -4}, {7, -3}, {11, -5}, {13, -6, 6, -8}, {15, -7}};
constexpr SumRule kIS84Faces[] = {{16, 1}, {42, 2}, {23, 0}, {29, 0}, {35, 0}};
constexpr SumRule kIS84Edges[] = {{4, -1}, {8, -2, 3, -4}, {12, -3}, {19, -5}, {21, -6, 10, -8}, {23, -7}};
constexpr SumRule kIS66Faces[] = {{9, 1}, {27, 2}, {20, 0}, {24, 0}, {28, 0}};
constexpr SumRule kIS66Edges[] = {{4, -1}, {8, -2}, {6, -3}, {16, -4}, {20, -5}, {18, -6}};
constexpr SumRule kIS88Faces[] = {{16, 1}, {48, 2}, {24, 0}, {32, 0}, {40, 0}};
constexpr SumRule kIS88Edges[] = {{4, -1}, {8, -2, 3, -4}, {12, -3}, {20, -5}, {24, -6, 11, -8}, {28, -7}};
constexpr SumRule kSP8[] = {{6, 1}, {12, 2}, {18, 0}};
constexpr SumRule kSP10[] = {{7, 1}, {15, 2}, {22, 0}};

}  // namespace

std::optional<CountRule> countRuleOf(int32_t shape) {
  for (const CountRule& r : kCountRules) {
    if (shape >= r.first && shape <= r.last) return r;
  }
  return std::nullopt;
}

ShapeSums sumsOf(int32_t shape) {
  switch (shape) {
    case 3: return {kTR3, {}};
    case 5: return {kQU4, {}};
    case 7: return {kTR6, {}};
    case 8: return {kShape8, {}};
    case 9:
    case 10: return {kQU8, {}};  // QU8, QU9
    case 11:
    case 14: return {kPrismFaces, kPrismEdges};  // PE6, PE15
    case 12:
    case 16: return {kTetFaces, kTetEdges};  // TE4, TE10
    case 13:
    case 15:
    case 17:
    case 18: return {kHexFaces, kHexEdges};
    case 23: return {kTR9, {}};
    case 24: return {kQU12, {}};
    case 25:
    case 27: return {kTR12, {}};  // TR12, TR15
    case 28: return {kTE16Faces, kTE16Edges};
    case 29: return {kPE24Faces, kPE24Edges};
    case 30: return {kHE32Faces, kHE32Edges};
    case 42: return {kIL22, {}};
    case 43: return {kIL32, {}};
    case 44: return {kIL33, {}};
    case 45: return {kIL44, {}};
    case 46: return {kIL55, {}};
    case 47: return {kIS33Faces, kIS33Edges};
    case 48: return {kIS44Faces, kIS44Edges};
    case 49: return {kIS84Faces, kIS84Edges};
    case 50: return {kIS66Faces, kIS66Edges};
    case 51: return {kIS88Faces, kIS88Edges};
    case 60: return {kSP8, {}};
    case 61: return {kSP10, {}};
    default: return {};
  }
}

}  // namespace kvr
