// Projection onto patch surfaces: a surface bounded by three or four model lines, whose
// points are the transfinite blend of its boundary lines, and the search of its parameters
// for the point nearest to a given point.
//
// A four-sided patch is parametrised by (u, v) on the unit square: corner 1 at (0, 0),
// corner 2 at (1, 0), corner 3 at (1, 1), corner 4 at (0, 1). A three-sided patch by (u, v)
// with w = 1 - u - v, inside when u, v and w are not negative: corner 1 at (0, 1), corner 2
// at (0, 0), corner 3 at (1, 0). Side k runs from corner k to corner k + 1.
//
// The search probes 16 parameter points a level, nine levels deep, each level within the
// cell or small triangle of the nearest probe of the level before. Probes whose distances
// differ from the smallest by less than the real epsilon tie: two ties are resolved by a
// search along their bisector in the parameter plane, three by the meeting point of two
// bisectors. Arithmetic is in REAL; corners and line ends coincide when each coordinate
// differs by less than the real epsilon of MACHCN (absolute, not the model tolerance).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kvr {

// The patch of a surface as PCHCRN builds it: the boundary line of each side in order
// around it, +1 when the line runs from corner k to corner k + 1 (-1 the other way), and
// the corners, corner SIDES + 1 closing onto corner 1.
struct Patch {
  static constexpr int32_t kMaxSides = 4;
  int32_t sides = 0;
  std::array<int32_t, kMaxSides> lines{};
  std::array<int32_t, kMaxSides> directions{};
  std::array<std::array<float, 3>, kMaxSides + 1> corners{};

  int32_t& line(int32_t k) { return lines[static_cast<std::size_t>(k - 1)]; }
  int32_t line(int32_t k) const { return lines[static_cast<std::size_t>(k - 1)]; }
  int32_t& direction(int32_t k) { return directions[static_cast<std::size_t>(k - 1)]; }
  int32_t direction(int32_t k) const { return directions[static_cast<std::size_t>(k - 1)]; }
  std::array<float, 3>& corner(int32_t k) { return corners[static_cast<std::size_t>(k - 1)]; }
  const std::array<float, 3>& corner(int32_t k) const {
    return corners[static_cast<std::size_t>(k - 1)];
  }
};

// The boundary points of one blend, B1 to B6 (four used for four sides).
struct BoundaryWork {
  std::array<std::array<float, 3>, 6> points{};
  std::array<float, 3>& point(int32_t k) { return points[static_cast<std::size_t>(k - 1)]; }
};

// Moves POINT onto the four-sided patch SURFACE (patch type 1 or 3): MOVED = the patch
// point nearest to it that the search finds. STATUS 0; 1 when SURFACE is no four-sided
// patch, its boundary cannot be evaluated or does not close, no probe could be evaluated,
// or the final evaluation failed. MOVED is written only when a probe or the final
// evaluation supplies it. POINT and MOVED may be the same array.
void PRJQAD(int32_t surface, std::span<const float, 3> point, std::span<float, 3> moved,
            int32_t& status);

// As PRJQAD for the three-sided patch SURFACE (patch type 2 or 4).
void PRJTRI(int32_t surface, std::span<const float, 3> point, std::span<float, 3> moved,
            int32_t& status);

// Builds the patch of SURFACE: its boundary lines (surface words 2 to 4 or 5, in any order
// and orientation) evaluated at both ends and joined corner to corner, lines closed on
// themselves tried last. STATUS 0 when the sides join and the boundary closes; 1 for a
// surface that does not exist or whose patch type (word 6 div 100 mod 100) is not 1 to 4,
// a side that cannot be evaluated at its ends, sides that do not join, or a boundary that
// does not close. PATCH is complete only on status 0.
void PCHCRN(int32_t surface, Patch& patch, int32_t& status);

// POINT = the point at (U, V) of the patch of N sides (3 or 4), and DISTANCE its distance
// to TARGET. The boundary points go into WORK. STATUS 1 for N other than 3 or 4 (nothing
// computed); otherwise 1 when a boundary point could not be evaluated (its WORK point then
// keeps what it held, and POINT and DISTANCE are still computed), else 0. On a three-sided
// patch a corner, where the blend would divide by 0, gives the corner: u = 1 corner 3, v =
// 1 corner 1, w = 1 corner 2.
void PCHPNT(int32_t n, std::span<const float, 3> target, float u, float v, const Patch& patch,
            BoundaryWork& work, std::span<float, 3> point, float& distance, int32_t& status);

// What the level search ended with: how many probes of its last level tied (0 to 16) and
// the parameters of the first three, in probe order; and whether a probe's point was
// taken.
struct PatchTies {
  int32_t count = 0;
  std::array<float, 3> u{};
  std::array<float, 3> v{};
  bool found = false;
};

// The level search over the patch of N sides (3 or 4) for the point nearest to TARGET:
// nine levels of 16 probes, each level about the single tie of the level before, until a
// level has two or more ties. RESULT takes the point of each of the first three ties of a
// level (it is left alone while no probe ties).
void patchLevels(int32_t n, const Patch& patch, std::span<const float, 3> target,
                 BoundaryWork& work, PatchTies& ties, std::span<float, 3> result);

// The search along the bisector of the two ties (U1, V1) and (U2, V2) in the parameter
// plane of the patch of N sides (3 or 4): its ends the first inside sample of k / 130 from
// k = 1 up and the second from k = 129 down, then 17 halvings towards the end nearer to
// TARGET. RESULT = the point at the last midpoint. STATUS 1 when that point could not be
// evaluated (RESULT left alone); 0 otherwise, also when fewer than two samples lie inside
// the patch, which leaves RESULT alone.
void bisectorSearch(int32_t n, const Patch& patch, std::span<const float, 3> target,
                    BoundaryWork& work, float u1, float v1, float u2, float v2,
                    std::span<float, 3> result, int32_t& status);

// (U, V) = the parameters equidistant from the three ties (U(1..3), V(1..3)): where the
// bisector of ties 1 and 2 meets that of ties 2 and 3; the mean of the three when the
// bisectors are parallel; u the mean and v = V(1) when both are lines of constant u. On a
// three-sided patch (N = 3) a v of exactly 1 becomes 0.99999.
void threeTieParameters(int32_t n, std::span<const float, 3> u, std::span<const float, 3> v,
                        float& uOut, float& vOut);

}  // namespace kvr
