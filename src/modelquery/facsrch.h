// The face search: which elements carry a point, line or surface, and how. UFACG2
// (queries.h) finds the carrier, the entity whose mesh touches the entity (the entity
// itself when meshed, else a neighbouring line, surface or body, or the one given, or
// the first among a set's members), lists those of its elements whose end, edge or face
// lies on the entity through UEFAC2, and describes the face of the first of them.
//
// The work array of UFACG2 holds at least 80000 words: words 1 to 40000 receive the
// element list, the words from 40001 on are scratch for the entity's node list, the
// neighbour list of UEFAC2 and a restricting set's members.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

inline constexpr int32_t kFaceSearchWork = 80000;
inline constexpr int32_t kFaceSearchElements = 40000;

// OUT = the node list IN (N nodes, host numbers, in the edge-walk order of ELRORD) of an
// element of SHAPE in its orientation: turned by ELORNT with DIRECTION (1: plane elements
// are never turned; a solid of negative volume is) and REVERSED 1 when it was. A list the
// orders cannot take is copied unchanged (REVERSED 0).
void NODORD(int32_t shape, std::span<const int32_t> in, int32_t n, int32_t direction,
            std::span<int32_t> out, int32_t& reversed);

// The face node list of a whole plane element of SHAPE with N nodes, corners first: the
// list UFACG2 gives for the elements of a surface (at most 32 positions).
int32_t planeFaceOrder(int32_t shape, int32_t n, std::span<int32_t> order);

}  // namespace kvr
