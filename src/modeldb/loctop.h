// Element local topology: which of an element's own (local) node numbers make up the
// element as a whole, one of its faces, edges or ends, or one side of an interface
// element. Everything is a fixed table keyed by shape code and list index; nothing here
// keeps state.
//
// Local node numbers count from 1 in the node order of the shape's connectivity record.
// List index 0 is the whole element (line shapes: ends first, then interior nodes;
// surface shapes: all nodes; the spring shapes 60 and 61); solids and the interface shapes
// 42 to 51 have none. A positive index is an end of a line shape or of IP11, an edge of a
// surface or spring shape (corner, corner, then the edge's interior nodes), a face of a
// solid (corners first, turning so that the right-hand rule gives the outward normal of a
// right-handed element, then its other nodes), or a side of an interface shape. A
// negative index is an edge of a solid or of an interface shape with edges, -1 the first.
//
// The cubic solids TE16, PE24 and HE32 (shapes 28 to 30) are numbered two ways: corners
// first and then the edge nodes edge by edge, or, in the edge-walk numbering, each edge's
// interior nodes following its first corner. Their face and edge numbers differ between
// the two, so each numbering has its own lists.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace kvr {

// Statuses of LOCTOP.
inline constexpr int32_t kLocalListGiven = 0;
inline constexpr int32_t kShapeWithoutLists = 1;
inline constexpr int32_t kIndexWithoutList = 2;
inline constexpr int32_t kListTooLong = 9;

// The mode that selects the edge-walk numbering of shapes 28 to 30.
inline constexpr int32_t kEdgeWalkMode = 1;

// Gives in LIST the local nodes of list INDEX of shape code SHAPE, in the edge-walk
// numbering when MODE is 1. LIST's size is the capacity: it is cleared to 0 first, and on
// success holds the list followed by zeros. STATUS 0 with COUNT the list's length; 1 for a
// shape without lists (COUNT 0); 9 when the list asked for, or for an index without a
// list the kind asked for, is longer than the capacity (nothing written); else 2 for an
// index without a list for this shape. With status 2 or 9, COUNT is the
// room a list of the kind asked for needs: the node count for index 0, else the longest
// list of that sign (for a shape whose edges are its positive lists, a negative index
// counts as an edge too), or the length of the very list refused for want of room.
void LOCTOP(int32_t shape, int32_t index, int32_t mode, std::span<int32_t> list,
            int32_t& count, int32_t& status);

// The longest list of any shape.
inline constexpr int32_t kMaxLocalList = 15;

// One list of the table: shape code, list index, and the local nodes.
struct LocalList {
  constexpr LocalList(int32_t s, int32_t i, std::initializer_list<int32_t> nodes)
      : shape(s), index(i), count(static_cast<int32_t>(nodes.size())) {
    int32_t k = 0;
    for (int32_t n : nodes) node[static_cast<size_t>(k++)] = n;
  }
  std::span<const int32_t> nodes() const { return {node.data(), static_cast<size_t>(count)}; }

  int32_t shape;
  int32_t index;
  int32_t count;
  std::array<int32_t, kMaxLocalList> node{};
};

// The lists of shape code SHAPE in table order (index 0, then 1, 2, ..., then -1, -2,
// ...), in the edge-walk numbering when EDGEWALK is set and the shape has one. Empty for
// a code without lists.
std::span<const LocalList> localLists(int32_t shape, bool edgeWalk);

}  // namespace kvr
