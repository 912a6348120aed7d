// Element faces from marked nodes: FACSEL names the face or edge of an element that the
// marked local positions make up, by the sum of the first few of them and their
// smallest. UEFACE (queries.h) marks the nodes of an element that lie on an entity and
// asks FACSEL; UPFN gives the local node list of a face or edge, the inverse question.
//
// Face numbers: the edges of plane elements and the faces of solids from 1, the edges of
// solids negative from -1, 0 the whole element or a side of an interface element that is
// no face, kNoFace none.
//
// The two tables live in facsel_data.cpp, as constant data in the order of the shape
// codes: how many leading marked positions are summed and whether an edge of a solid is
// meant, and, per shape, the sums of its faces and of its edges.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace kvr {

inline constexpr int32_t kNoFace = -9999;

// The marked list holds as many positions as the largest element has nodes.
inline constexpr int32_t kMarkedPositions = 32;

// How many leading marked positions make up a face (step 2 of FACSEL).
enum class FaceCount : int32_t {
  kNone,       // the shape has no table: status 2
  kFixed,      // C positions
  kWedge,      // 3 when the face node count is 3, 6 or 9, else 4 (PE6, PE15, PE24)
  kWedgeIS33,  // 3 when the face node count is 3, else 4
  kWedgeIS66,  // 3 when the first two marked positions add up to 6 or 16, else 4
  kSpring,     // 2, or 4 when the face node count is 4
};

// A row of the first table: shape codes FIRST..LAST; an edge of a solid is meant when
// the face node count lies below EDGEBELOW (0 never), and then 2 positions are summed.
struct CountRule {
  int32_t first;
  int32_t last;
  int32_t edgeBelow;
  FaceCount face;
  int32_t c;  // for kFixed
};

// A row of the second table: the sum SUM gives FACE, or OTHER when the smallest summed
// position is not M (M 0: no condition).
struct SumRule {
  int32_t sum;
  int32_t face;
  int32_t m = 0;
  int32_t other = 0;
};

struct ShapeSums {
  std::span<const SumRule> faces;
  std::span<const SumRule> edges;
};

// The first table's row of SHAPE; empty for a shape without one.
std::optional<CountRule> countRuleOf(int32_t shape);

// The sums of SHAPE's faces and edges (both empty for a shape without them).
ShapeSums sumsOf(int32_t shape);

// The shape whose face is the marked position itself (IP11).
inline constexpr int32_t kPositionIsFace = 41;

// The face or edge of an element of SHAPE with N nodes NODES (internal node numbers)
// that the first marked positions of MARKED make up, A of them marked: FACE, and the
// ORIENTATION of the element's numbering for the solid and interface shapes (+1 or -1; 0
// for the others, or when the element's nodes have no coordinates). STATUS 0, or 2 with
// FACE kNoFace when the shape or the sum has no entry. A = N is the whole element.
void FACSEL(std::span<const int32_t> nodes, int32_t n, int32_t shape, int32_t a,
            std::span<const int32_t> marked, int32_t& face, int32_t& orientation,
            int32_t& status);

}  // namespace kvr
