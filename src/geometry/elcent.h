// Element centroids: the centre point of one element face or edge from the coordinates of
// its nodes, by the polynomial order class of the element's shape, so that for higher-order
// shapes the mid-side or interior nodes give the centre.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// The order class (0 to 4) of element shape code SHAPE (0 to 61; any other code class 0):
// 1 linear, 2 quadratic, 3 cubic, 4 quartic, 0 a shape without a centre rule.
int32_t elementOrderClass(int32_t shape);

// CENTRE = the centre of the face or edge whose nodes are NODES(FACE(1..N)): NODES the
// element's internal node numbers in its local order, FACE local positions into it. TARGET
// is the kind of what faces are sought on: 1, 2 and 8 ask for an edge, any other value for
// a face. Coordinates are read through UNODE (GEODSP) with the node offset added.
// STATUS 0; 1 for shape code 0, for N below the highest face position the shape's rule
// reads (below 1 for a mean), or for a position outside NODES; the status of a node read
// that failed. CENTRE is (0, 0, 0) whenever STATUS is not 0, and for a shape of class 0
// (status 0).
void ELCENT(int32_t shape, std::span<const int32_t> nodes, std::span<const int32_t> face,
            int32_t n, int32_t target, std::span<float, 3> centre, int32_t& status);

}  // namespace kvr
