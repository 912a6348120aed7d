// The node index of the writing road: the position of a node in the nodal coordinate
// dataset (its sequence number, 1 for the first node), found from its id.
//
// With consecutive node ids (DICNT.firstNodeId not -1) the index is id - first id + 1.
// Otherwise BLDNIX has to have written the node ids into the list index (handle word 6),
// record s = the id of node s, ascending, and the index is found there by bisection.
//
// Writing-road named arrays used (ARRHND words): 8 the node table (3 INTEGERs per record:
// element count, node id, s), 6 the list index, 1 the node coordinates (3 REALs per node,
// NODCPY); the display build also uses 5, the list store.
#pragma once

#include <cstdint>
#include <span>

#include "modeldb/elmarr.h"

namespace kvr {

// kNodeCoordinateHandle: with the element work arrays (modeldb/elmarr.h).
inline constexpr int32_t kListStoreHandle = 5;
inline constexpr int32_t kListIndexHandle = 6;
inline constexpr int32_t kNodeTableHandle = 8;

// Walks dataset 5 in page-buffer slot 2 of BUFFER (two data pages): node table record s =
// the entry's words 1-3 (0, id, s); when the node ids are not consecutive, list index
// record s = the id. STATUS 1 when dataset 5 does not exist, else 0.
void BLDNIX(std::span<int32_t> buffer, int32_t& status);

// The index of node ID; 0 when it has none (an id below the first, an index above the
// node count, an id not in the list index).
int32_t nodeIndex(int32_t id);

}  // namespace kvr
