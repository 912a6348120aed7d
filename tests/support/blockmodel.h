// The block model: a saved model of k x k x k HE8 elements on (k + 1)^3 nodes, written by
// the database dump as a pre-processor would save it. The reading road's benchmark opens
// it at a million elements, its tests at a few hundred. A slab of k x k x m elements (m
// layers) is made the same way.
//
// Node n = 1 + i + (k + 1) (j + (k + 1) l) lies at (i, j, l), 0 <= i, j, l <= k; element
// e = 1 + i + k (j + k l) has the corners of cell (i, j, l), the bottom four counter-
// clockwise seen from above, then the top four. No numbering offsets.
// Points 1-4 "C1".."C4" at the bottom corners (0, 0, 0), (k, 0, 0), (k, k, 0), (0, k, 0)
// with their nodes. Lines 1-4 "EDGE1".."EDGE4" of type 1 from corner to corner round the
// bottom, without mesh, each with the packed list of its k + 1 nodes. Surface 1 "BOTTOM"
// of type 1 on those lines with the list of the (k + 1)^2 nodes of z = 0, surface 2 "TOP"
// with those of z = m (k for a block); neither is meshed. Body 1 "BLOCK" of type 1 on both surfaces,
// meshed by every element (element-type word 3: HE8, no neighbour list). The node list
// bound is twice the node count.
// Condition 1 "FIX" (type 1, mask 7) on BOTTOM, so that its nodes carry flags; load 1
// "PRESS" on TOP.
#pragma once

#include <cstdint>
#include <string>

namespace kvr::test {

struct BlockModel {
  static int64_t nodes(int32_t k, int32_t layers) { return int64_t{k + 1} * (k + 1) * (layers + 1); }
  static int64_t nodes(int32_t k) { return nodes(k, k); }
  static int64_t elements(int32_t k, int32_t layers) { return int64_t{k} * k * layers; }
  static int64_t elements(int32_t k) { return elements(k, k); }
  static int32_t node(int32_t k, int32_t i, int32_t j, int32_t l) {
    return 1 + i + (k + 1) * (j + (k + 1) * l);
  }
  static constexpr int32_t kPoints = 4;
  static constexpr int32_t kLines = 4;
  static constexpr int32_t kBottom = 1;
  static constexpr int32_t kTop = 2;
  static constexpr int32_t kSurfaces = 2;
  static constexpr int32_t kBody = 1;
};

// Builds the block of LAYERS layers into the full model registry, which it sets up afresh (the reading
// road's constants must be in force: MDLCON).
void buildBlockModel(int32_t k, int32_t layers);

// Builds the block (LAYERS 0: k layers) and writes it through the database dump as STEM +
// ".DMP", whose name is answered (empty when the dump failed). Runs the start-up the dump
// needs.
std::string writeBlockModel(const std::string& stem, int32_t k, int32_t layers = 0);

}  // namespace kvr::test
