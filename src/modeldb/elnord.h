// Element node orders and orientation: the two node-order conventions of the cubic solids,
// the interface line shapes and the springs (ELRORD, ELNPRM), the corner-first order of
// three interface shapes (CRNFST), the angle sum of two vectors against a third (ANGSUM),
// and the orientation test of an element from its node coordinates (ELORNT). Node lists
// are node numbers in the order of the shape code, as many as SHPNOD gives.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// The longest node list these routines handle.
inline constexpr int32_t kOrderNodes = 32;

// OUT = IN in edge-walk order. STAT 1 for a shape outside 1..61 or without a node count.
void ELRORD(std::span<const int32_t> in, int32_t shape, std::span<int32_t> out, int32_t& stat);

// The inverse of ELRORD. STAT 1 for a shape outside 1-30, 41-51, 60, 61 or without nodes.
void ELNPRM(std::span<const int32_t> in, int32_t shape, std::span<int32_t> out, int32_t& stat);

// OUT = IN with the corners first for shapes 49 to 51, a copy for the other shapes of
// 1-30, 41-51, 60, 61 with a node count; STAT 1 otherwise.
void CRNFST(std::span<const int32_t> in, int32_t shape, std::span<int32_t> out, int32_t& stat);

// DEG: the angle of U to W plus that of V to W, in degrees. STAT 1 and DEG 0 when U or V
// with W has a length product below the smallest real of MACHCN (or of 0).
void ANGSUM(const float u[3], const float v[3], const float w[3], float& deg, int32_t& stat);

// FLIP 1 and OUT the reversed node list when the element of SHAPE with nodes IN turns
// the wrong way; otherwise FLIP 0 and OUT = IN over N nodes (beyond 32: the shape's
// count). MODE 1 skips the test of surface shapes. Shapes without a corner layout and
// lists holding a node outside 1..the highest node are copied; shapes 31-40 and above 51
// (but 60, 61) leave OUT untouched.
void ELORNT(int32_t shape, std::span<const int32_t> in, int32_t n, int32_t mode,
            std::span<int32_t> out, int32_t& flip);

}  // namespace kvr
