// ELSHAP: the edge and face tables of the element type last selected by ELFAM, read by
// the face test of the display build. Local node numbers are those of the element-type
// table. One global block, overwritten by every ELFAM call; words that a type does not
// write keep what an earlier type left there.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace kvr {

struct ElShap {
  static constexpr int32_t kMaxEdges = 12;
  static constexpr int32_t kMaxFaces = 6;
  static constexpr int32_t kEdgeNodes = 5;
  static constexpr int32_t kFaceNodes = 12;

  // Edge j (1..12): node count, then up to five local nodes (end nodes first).
  std::array<std::array<int32_t, kEdgeNodes + 1>, kMaxEdges> edges{};
  int32_t edgeCount = 0;
  // Face f (1..6): node count, then up to twelve local nodes in the face's cyclic order.
  // For a line type the faces are its segments.
  std::array<std::array<int32_t, kFaceNodes + 1>, kMaxFaces> faces{};
  // Per face of a surface or solid type: the start node of the neighbour search, its
  // edges (0 in the fourth place for a three-sided face), the flag word (1) and the shape
  // word (1 three-sided, 2 four-sided).
  std::array<int32_t, kMaxFaces> startNode{};
  std::array<std::array<int32_t, 4>, kMaxFaces> faceEdges{};
  std::array<int32_t, kMaxFaces> faceFlag{};
  std::array<int32_t, kMaxFaces> faceShape{};
  // Per edge: the (up to two) faces whose edge lists hold it, 0 for none.
  std::array<std::array<int32_t, 2>, kMaxEdges> edgeFaces{};

  int32_t edgeNode(int32_t j, int32_t k) const { return edges[idx(j)][idx(k) + 1]; }
  int32_t faceNode(int32_t f, int32_t k) const { return faces[idx(f)][idx(k) + 1]; }
  int32_t faceNodeCount(int32_t f) const { return faces[idx(f)][0]; }
  int32_t edgeNodeCount(int32_t j) const { return edges[idx(j)][0]; }

 private:
  static std::size_t idx(int32_t n) { return static_cast<std::size_t>(n - 1); }
};

ElShap& elshap();

// The number of faces ELFAM filled for element type T (0 for a type without tables); a
// type outside 1..61 counts as type 1.
int32_t shapeFaceCount(int32_t t);

// Fills ELSHAP for element type T. Types 17 to 20, 25, 26, 32 to 40 and 52 to 59 have no
// tables and leave ELSHAP as it is; a type outside 1..61 fills the tables of type 1.
void ELFAM(int32_t t);

}  // namespace kvr

namespace kvr {

// The three points of face F that FACVIS takes its normal from, by the tables of ELSHAP:
// the two end nodes of edge E and the end node, not on E, of the edge that follows E on
// the face (cyclic). X, Y, Z hold the element's node coordinates by local node number.
// STAT 1 when E is not an edge of F or the following edge does not meet E.
void FACEDG(int32_t f, int32_t e, std::span<const float> x, std::span<const float> y,
            std::span<const float> z, std::span<float, 3> xo, std::span<float, 3> yo,
            std::span<float, 3> zo, int32_t& stat);

// The unit normal of a face of N nodes (only every d-th node is a corner: d = 1 up to 5
// nodes, 2 for 6 to 8, 3 for 9, 5 for 10, 3 above). At each corner in turn the normalised
// cross product of the unit directions to the previous and the next corner. Mode 3 (any
// mode but 1 and 2) answers the first normal found. Mode 2 turns it to positive z, mode 1
// along the direction from the reference point to the corners' centroid; the face then
// counts as seen when normal . view exceeds THRESHOLD, else the next corner is tried.
// STAT 1 when no corner gives a normal, which is then (1, 1, 1) if a degenerate direction
// occurred.
void FACNRM(int32_t n, std::span<const float> x, std::span<const float> y,
            std::span<const float> z, int32_t mode, float rx, float ry, float rz, float vx,
            float vy, float vz, float threshold, float& nx, float& ny, float& nz, int32_t& stat);

}  // namespace kvr
