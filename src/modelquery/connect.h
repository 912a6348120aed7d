// The two ways in which a connection list is built, which the connection query and the
// rigid-beam query share. UCONCT and CONMSH are declared with the queries (queries.h).
//
// A connection list holds, from position 1, one entry per dependent node: the node, the
// count n of the nodes it follows, those n nodes; an entry whose node is 0 ends it. Node
// numbers are external (the node-number offset added). Both ways read the matching mode
// from position 1 of the list at entry: 1 asks the chain way to confirm the run direction
// by shape and the pairing way to pair by position about each side's centroid; any other
// value means plain distances.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// The chain way: the lines of side 1 and side 2 (a line, or a set of lines) ordered into
// chains whose meshes pair a fine chain of 2c - 1 nodes with a coarse one of c nodes. The
// tail of LIST is scratch for the chain builder: the highest node number H of words at
// its end, before them 12 L and 7 L words (L the number of lines, at least 1). STATUS 0
// done; 1 the chain counts are no fine and coarse pair; 2 no room for the scratch, the
// chains or an entry with its closing 0; 3 no nodes in the model, or a mesh collection
// refused for want of room; 4 a side that is not a line or a set of lines.
void CONLST(int32_t kind1, int32_t entity1, int32_t kind2, int32_t entity2,
            std::span<int32_t> list, int32_t size, int32_t& status);

// The pairing way. TYPE 5 (rigid beam): the first node of side 2 is the master; every
// node of side 1 but the master follows it. TYPE 7 (connection): each node of side 1
// follows the nearest node of side 2 not yet taken, unless that is the node itself.
// STATUS 0 done; 3 no nodes in the model; 4 sides of different or no node counts, or, in
// mode 1, a side whose first node lies at its centroid; 5 another TYPE; 9 an entry or the
// closing 0 finds no room within SIZE; otherwise the failing status of a side's node list.
void CONNOD(int32_t type, int32_t kind1, int32_t entity1, int32_t kind2, int32_t entity2,
            std::span<int32_t> list, int32_t size, int32_t& status);

// The capacity CONMSH asks of its element list, and the elements it lists at most.
inline constexpr int32_t kMeshCapacity = 80000;
inline constexpr int32_t kMeshElementsMax = 40000;

// The warning of a connection whose sides are paired node by node, written when both
// hold this many nodes or more.
inline constexpr int32_t kSlowPairingNodes = 500;

}  // namespace kvr
