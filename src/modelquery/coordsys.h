// Coordinate systems: the frames of the model's local coordinate systems, local
// coordinates and local directions at a point. UCSYS2 and UCOCYL (queries.h) answer the
// host; the routines here serve the load evaluation and, through GEODSP, the surface
// frames of the geometry kernel.
//
// LCSREC, the attribute entry of type 8 of system number 1..USZVEC 16: value 1 the type (1
// Cartesian, 2 spherical, 3 cylindrical, 4 conical), values 2-4 the internal numbers of
// node 1 (the origin), node 2 (on the third axis) and node 3 (in the plane of the first
// and third axes, on the positive side of the first), each read as the integer part of
// value + 0.1. A defining node outside 1..USZVEC 6 makes the system unreadable: no
// coordinate is read for it.
#pragma once

#include <cstdint>
#include <span>

#include "geometry/axes3.h"

namespace kvr {

// The frame of system NUMBER for the load evaluation: TYPE 1, FRAME the identity and
// FAILED 0 on entry; a NUMBER below 1 or a system without entry leaves them so. Otherwise
// TYPE is value 1, ORIGIN node 1's coordinates and FRAME the axes as columns (axis 3
// towards node 2, axis 2 normal to the plane of the nodes); FAILED 1, with the identity,
// for a degenerate direction or a defining node outside the model.
void LCSFRM(int32_t number, int32_t& type, std::span<float, 3> origin, ColumnAxes& frame,
            int32_t& failed);

// The frame of ORIGIN, POINT1 and POINT2 with the axes as rows: axis I towards POINT1,
// axis J normal to the plane of the three points, the third axis in that plane on
// POINT2's side, right-handed in either order (computed in double). STATUS 0; 1 with the
// identity when I = J, an axis number lies outside 1..3, a point equals ORIGIN or the
// points are collinear.
void FRMAXN(std::span<const float, 3> origin, int32_t i, std::span<const float, 3> point1,
            int32_t j, std::span<const float, 3> point2, RowAxes& frame, int32_t& status);

// The local coordinates of POINT about ORIGIN in FRAME (axes as rows) by TYPE: 1
// Cartesian; 2 spherical (radius, polar angle 0..180, azimuth -180..180); 3 and 4
// cylindrical (radius, angle 0..360, axial coordinate). Angles in degrees, those below
// 0.001 degree in magnitude 0. STATUS 0; 1 for another TYPE, LOCAL unwritten.
void LCSCRD(int32_t type, std::span<const float, 3> origin, const RowAxes& frame,
            std::span<const float, 3> point, std::span<float, 3> local, int32_t& status);

// The local axes at POINT of the system of TYPE about ORIGIN with axes FRAME (columns),
// as the columns of AXES (computed in double): 1 the frame itself; 2 radial, tangential,
// meridional; 3 radial, tangential, axial; 4 as 3 with the axial and radial directions
// leaning by SLOPE. A point at the origin, or on the axis of types 3 and 4, gives the
// frame. Other types write nothing. STATUS is 0.
void LCSAXP(int32_t type, std::span<const float, 3> origin, const ColumnAxes& frame, float slope,
            std::span<const float, 3> point, ColumnAxes& axes, int32_t& status);

// The coordinates of the three defining nodes of system NUMBER. STATUS 0; 1 when the
// system has no entry or a defining node lies outside the model, nothing written.
void systemPoints(int32_t number, std::span<float, 3> origin, std::span<float, 3> onAxis,
                  std::span<float, 3> inPlane, int32_t& status);

// Makes FRMAXN, LCSCRD and systemPoints the geometry kernel's entries (GEODSP). USTRT2
// calls it at each session start.
void installCoordinateQueries();

}  // namespace kvr
