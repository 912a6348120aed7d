// The cases of the surface intersection in which a circular cylinder or cone takes part.
// Each writes the case code, the form, the parameters and the result frame of an ISXTYP
// (the result frame's z axis on the axis of a cylinder or cone, so that the curve can be
// walked generator by generator) and reports FOUND: 1 a curve, any other value none. No
// case posts a message.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "geometry/isxtyp.h"
#include "geometry/matrix4.h"

namespace kvr {

// A cylinder or cone: a point on its axis, the axis direction (unit), the radius at the
// point and the slope (radius + slope z at axial distance z; 0 for a cylinder), and its
// surface frame (the axis as row 3).
struct AxialSurface {
  std::array<float, 3> base{};
  std::array<float, 3> axis{};
  float radius = 0.0f;
  float slope = 0.0f;
  InvFrame4R frame{};
};

// Plane and cylinder (X 13) or cone (X 14). FOUND 0 for an axis of no length or a plane
// that misses.
void SIXCS4(const InvFrame4R& plane, std::span<const float, 3> base,
            std::span<const float, 3> axis, float radius, float slope, IsxTyp& result,
            int32_t& found);

// Sphere and cylinder (X 23) or cone (X 24). RADIUS receives the radius at the local
// origin (the foot of the centre on the axis). FOUND -1 for an axis of no length, 99 for a
// frame that cannot be built or an inconsistent classification, 0 when they do not meet.
void SIXCS3(std::span<const float, 3> centre, float sphereRadius, const InvFrame4R& sphere,
            std::span<const float, 3> base, std::span<const float, 3> axis, float& radius,
            float slope, const InvFrame4R& cylinder, IsxTyp& result, int32_t& found);

// Cylinder (first) and cone (second), X 34. A second surface of slope 0 is handed to
// SIXCS1 as a pair of cylinders.
void SIXCS2(AxialSurface& first, AxialSurface& second, IsxTyp& result, int32_t& found);

// Two cylinders (X 33), two cones (X 44), or a cone with a cylinder of the same record
// kind (X 34). The first surface's radius receives its radius at the local origin.
void SIXCS1(AxialSurface& first, AxialSurface& second, IsxTyp& result, int32_t& found);

// The result frame about the first surface's axis and the second surface as a quadric in
// it (P(1..10)), with P(11) the first surface's radius at the local origin (written back
// into FIRST) and P(12) its slope. STATUS 0, or 1 when the frame cannot be built.
void SIXFR2(AxialSurface& first, const AxialSurface& second, IsxTyp& result, int32_t& status);

// The range of generator angles (degrees) on which CONRAD finds a point of the curve P:
// 401 samples 0.9 degrees apart, each change refined by 10 bisections, START the last
// change into points and END the last change out of them (0 when there is none). FLAG 0
// for none or one range, 4 for exactly four changes (two separate ranges), else the
// number of changes.
void ANGSCN(std::span<const float, 14> p, float& start, float& end, int32_t& flag);

}  // namespace kvr
