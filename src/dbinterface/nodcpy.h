// NODCPY: the coordinates of every node of the model in a named array, so that a loader
// or the display build can fetch a node's coordinates by its index.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Puts the x, y, z of the k-th node of the model into record k of the node coordinate
// array (handle word 1, three REALs), each read with NODXYZ, so with the component
// transformation in force. MODE 2 also puts the node id and its ISYS into record k of the
// node id array (handle word 8). BUFFER holds two data pages; the nodal coordinate pages
// are read into its second. An assembly (numbering mode not 1) is walked component by
// component with RESLVL, which is then called with -1 to return to the assembly. STATUS
// 1 when that return fails, else 0.
void NODCPY(int32_t mode, std::span<int32_t> buffer, int32_t& status);

}  // namespace kvr
