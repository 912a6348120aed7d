// Connection edge matching: whether a second node chain along one edge runs the same way
// as the first (EDGMAT), and the relation of two 3-D segments (SEGINT).
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// SEGINT codes.
inline constexpr int32_t kSegTooShort = 0;     // a segment shorter than the tolerance
inline constexpr int32_t kSegLinesCross = 1;   // the lines cross, not within both segments
inline constexpr int32_t kSegParallel = 2;     // parallel and apart
inline constexpr int32_t kSegSkew = 3;         // not coplanar
inline constexpr int32_t kSegCross = 4;        // the segments cross
inline constexpr int32_t kSegCollinear = 5;    // collinear without overlap
inline constexpr int32_t kSegOverlap = 6;      // collinear and overlapping

// The relation of segment u (P1 to P2) and segment v (P3 to P4), in single precision with
// tolerance TOL: CODE one of kSeg...; POINT the crossing of the two lines for codes 1 and
// 4 and P1 for code 6, untouched otherwise. POINT may be one of the inputs.
void SEGINT(std::span<const float, 3> p1, std::span<const float, 3> p2,
            std::span<const float, 3> p3, std::span<const float, 3> p4, float tol,
            std::span<float, 3> point, int32_t& code);

// Compares the shape of chain 2 (LIST(A + 1 .. A + B), external node numbers) with that of
// chain 1 (LIST(1 .. A)) to tell whether it runs the opposite way. The longer chain must
// have (m - 1) s + 1 nodes when the shorter has m; its every s-th node is matched. Frames
// are laid at the start of chain 1 and at both ends of chain 2 (first axis along the
// first matched segment, normal from the first later matched node off that line, lengths
// in units of the first segment) and the local coordinates of the matched nodes compared
// within the tolerance 0.001 of GEOCON. AGREEMENT counts the frames of chain 2 that
// matched (0 to 2); with exactly one, REVERSED is 1 when it is the end frame. With none
// or both, the segments joining the chains' first nodes and their last nodes decide
// (SEGINT with the model tolerance): REVERSED 1 when they cross. STATUS 0; 1 a count
// below 2, counts that do not match, or a LIST shorter than A + B; 2 a first matched
// segment shorter than 0.001; 3 a node without coordinates (UNODE through GEODSP).
void EDGMAT(int32_t a, int32_t b, int32_t& reversed, int32_t& agreement,
            std::span<const int32_t> list, int32_t& status);

}  // namespace kvr
