// The face test of the display build: whether a line drawing of the model shows an edge
// that several elements share. It is shown where two of the faces meeting at it fold
// against each other (their normals between 35 and 145 degrees apart, modulo 180), not
// where they continue one surface. The elements come from the work arrays of TOPARR.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// 1 when bit (K - 1) mod M of word (K - 1) div M of the selection bit map is set, M the
// bits per word less one (31). The map's first word is word SELECTION of BUFFER. 0 for
// K below 1 and for a word outside BUFFER.
int32_t ELMSEL(std::span<const int32_t> buffer, int32_t k, int32_t selection);

// The fold test of two face normals ANGLE degrees apart: ANGLE modulo 180 lies strictly
// between 35 and 145.
bool foldShown(float angle);

// The face test for the edge record at word Q of EDGES (its end nodes A and B the
// sequence numbers of its nodes 1 and 2, then its sharing elements' keys). For every
// sharing element of key 0 or more (with the element filter on, only those the selection
// map holds) the faces meeting at its first edge from A to B (either way) are taken; a
// solid's face with a neighbour element across it (with the filter on, a selected one)
// is inside the body and left out. DRAWN is 1 as soon as a face's normal and one taken
// before fold (foldShown), else 0. WORK is the work buffer of ELMXYZ and FACLST. The
// displacement switch is off while the test runs and has its old value on return. A
// repeated key is taken once: its faces would only repeat the normals taken already.
void FACVIS(std::span<const int32_t> edges, std::span<int32_t> work, int32_t q, int32_t& drawn);

}  // namespace kvr
