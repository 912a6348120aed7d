// Element ownership: the element range and element data of a point, line, surface or
// body (UELEMG, in queries.h), the owner of an element (UGELEM, in queries.h) with the
// owner cache it keeps, and the element attribute regions (ELCORD) that override the
// material and property of single elements.
//
// The owner cache: the answer of UGELEM's last successful owner search (owner kind and
// number, element type, units part, material, property, group and the owner's first and
// last element, external numbers) and whether it holds one. Every session start empties
// it (resetOwnerCache in the session resets), since it describes the previous model.
//
// Element attribute regions: the attribute entries of type -10 (their count is model-size
// position 30), each a region kind, a test mode, a material, a property and up to 93 REAL
// values: kind 1 a polygon of (u, v) pairs tested on x and y (PINP2D, its boundary
// included), 2 a box by two corners (PINBOX), 3 a prism on a planar polygon of (x, y, z)
// vertices translated through a last point Q (PINPOL), 4 a segment and a distance
// (PONSEG). Mode 1 tests the element's centroid, mode 2 passes when one node passes, any
// other mode when every node does.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// The most node coordinates ELCORD holds for one element, and the most vertices of a
// polygon region.
inline constexpr int32_t kElcordPoints = 32;
inline constexpr int32_t kRegionVertices = 30;

// Empties the owner cache of UGELEM.
void resetOwnerCache();

// Tests element ELEMENT (internal number) against the element attribute regions in order;
// the first that holds it sets FOUND 1 and gives its MATERIAL and PROPERTY (left as they
// were otherwise, FOUND 0). An ELEMENT of 1 or more has its node coordinates read into X,
// Y, Z and their number into COUNT (nothing is done when its connectivity or a node
// cannot be read); an ELEMENT below 1 tests the COUNT points given in X, Y, Z instead. No
// points pass no region. Regions that cannot be read, of another kind or with too many
// vertices or too few values are skipped.
void ELCORD(int32_t element, std::span<float> x, std::span<float> y, std::span<float> z,
            int32_t& count, int32_t& found, int32_t& material, int32_t& property);

}  // namespace kvr
