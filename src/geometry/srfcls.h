// Surface patch classification: whether a four-sided surface is one of nine simple patch
// shapes whose points can be given parametric coordinates by construction, with its
// corners and arc centres; and its companions, the reduction of a composite boundary line
// to one straight line or one arc, the ordering of an edge table into a chain, and the warp
// of four corners.
//
// The classes (sides in loop order: side 1 = P1P2, side 2 = P2P3, side 3 = P3P4, side 4 =
// P4P1):
//   1 flat, four straight sides
//   2 flat, arcs on sides 1 and 3 with their centres in the plane, sides 2 and 4 straight
//   3 flat, arcs on sides 2 and 4 with their centres in the plane, sides 1 and 3 straight
//   4 cylindrical, arcs of equal radius on sides 1 and 3, sides 2 and 4 along the axis
//   5 cylindrical, arcs of equal radius on sides 2 and 4, sides 1 and 3 along the axis
//   6 to 9 a circular sector: side 1, 2, 3 or 4 shrunk to a point, the opposite side an
//     arc, the other two straight
// The kernel reads the surfaces and the points through the query entries of GEODSP
// (USURF2, UPNT2) and the lines through the line-record accessors.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kvr {

// The edge table of a composite line: per row (1 to 20) its start point, end point and a
// third value (the centre point of an arc, or 0).
struct EdgeTable {
  static constexpr int32_t kRows = 20;
  std::array<std::array<int32_t, 3>, kRows> rows{};

  // Row R (1..20), column C (1 start, 2 end, 3 third value).
  int32_t& at(int32_t r, int32_t c) {
    return rows[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)];
  }
};

// The patch of a classified surface: the corners P1 to P4 in loop order, the centres A
// and B of its curved sides (zero where the class has none), and the class 1 to 9.
struct PatchGeometry {
  std::array<double, 3> p1{}, p2{}, p3{}, p4{};
  std::array<double, 3> a{}, b{};
  int32_t patchClass = 0;
};

// Classifies SURFACE (of type 1 or 3, four boundary lines each straight, an arc or a
// composite line that reduces to one) into PATCH. STATUS 0; 1 when it is no simple patch,
// a line or point cannot be read, or the corners warp by more than the tolerance (the
// shortest side chord / 1000, or the model tolerance below the real epsilon); PATCH is
// written only on success.
void SRFCLS(int32_t surface, PatchGeometry& patch, int32_t& status);

// Reduces the composite LINE (at most 20 members, all straight or all arcs, chaining from
// its first end point) to one: KIND 1 straight with CENTRE 0, or 2 an arc about CENTRE (the
// centre point of its last member); FIRST and SECOND its own end points. STATUS 0; 1 for
// any other line, members that do not chain, bend, or lie off one circle within the
// tolerance (the end points' distance / 1000, or the model tolerance), with the other
// outputs unwritten.
void BNDLIN(int32_t line, int32_t& kind, int32_t& first, int32_t& second, int32_t& centre,
            int32_t& status);

// Orders rows 1..N (at most 20) of TABLE into a chain that starts at point P0: first the
// first row with P0 at either end, then in each pass the first remaining row that shares a
// point with the row placed last, each row copied as stored. The placed rows are written
// back into rows 1.. in their order, the rows not placed as zeros after them. Answers the
// number of rows placed.
int32_t EDGORD(EdgeTable& table, int32_t n, int32_t p0);

// WARP = how far the corners P1 to P4 lie from a common plane: the spread of their
// projections on the normal of the diagonals P3 - P1 and P4 - P2 (0 when the diagonals are
// parallel).
void WARP4(std::span<const float, 3> p1, std::span<const float, 3> p2,
           std::span<const float, 3> p3, std::span<const float, 3> p4, float& warp);

// INDEX = the first position (from 1) of the largest (MODE 1) or smallest (any other mode)
// of VALUES(1..N); 1 when N <= 1. N is cut to what VALUES holds.
void IXMXMN(int32_t mode, std::span<const float> values, int32_t n, int32_t& index);

}  // namespace kvr
