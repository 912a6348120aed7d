// Analytic surface intersections: SRFINT takes two surfaces as packed codes (shape number
// x 100 + surface type t), reads their shape records (20 REALs of named array 10, integer
// words truncated, point numbers of named array 2), builds a local frame for each and
// hands the pair by kinds to one case routine, whose result is an ISXTYP. This header
// holds the dispatch, the surface frames and the cases of planes and spheres; the cases
// with cylinders and cones are in sixcyl.h.
//
// A shape record: word 2 truncated = class x 100 + sub-code x 10 + kind; class 0 a
// surface, class 3 a solid; kind 1 plane (box for class 3), 2 sphere, 3 cylinder, 4 cone.
// Plane, sub-code 0: words 3-5 three points; other sub-codes: words 3-5 a normal, word 1
// the offset d (n . x = d), word 16 a coordinate system (1 or more: n and d are given in
// it). Sphere: word 3 the centre point, 4 the radius. Cylinder and cone: word 3 the first
// axis point A, 4 the second B, 5 the radius at A, 1 the radius at B (cone); solids also
// word 16 the axial position of the first end face and word 20 the distance to the second.
// Box: sub-code 0, word 3 the origin and 4-6 a point on each edge; 1, word 3 the origin, 4
// the opposite corner; 2, word 3 the origin, 10-12 the edge lengths; 3, words 7-9 the
// origin coordinates, 10-12 the edge lengths; sub-codes 1-3 word 16 a coordinate system.
//
// A surface frame is the global-to-local transformation of the surface: the local axes
// as rows, -(axes . local origin) in column 4, the homogeneous scale 1. The local z axis
// is the plane normal, or the cylinder or cone axis.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "geometry/axes3.h"
#include "geometry/isxtyp.h"
#include "geometry/matrix4.h"

namespace kvr {

inline constexpr int32_t kShapeRecordWords = 20;
using ShapeRecord = std::span<const float, kShapeRecordWords>;

// The intersection of the surfaces of CODE1 and CODE2. RESULT.status 0 a curve was found;
// 1 a surface cannot be used: a shape number beyond the records of array 10 (nothing
// posted), a refused shape (message 2165 with the shape's name), a frame that cannot be
// built, a kind pair without a case; 2 no intersection, with the other fields as the case
// left them.
void SRFINT(int32_t code1, int32_t code2, IsxTyp& result);

// The surface frame of a class-0 shape record S (plane, sphere, cylinder, cone), starting
// from the identity. STATUS 0; 1 with message 2020 for another class or kind, a vector or
// frame that cannot be built, a point number outside the model's points or a coordinate
// system that cannot be read.
void SRFFRM(ShapeRecord s, InvFrame4R& frame, int32_t& status);

// The frame of face t of the class-3 solid of packed CODE (a box's faces 1-6; a cylinder
// or cone: its axis frame as SRFFRM builds it for class 0, face 1 the end plane at axial
// position word 16, face 2 the far end plane with the normal reversed). MODE other than 1
// also gives the face as the quadric Q (Q(1..6) 0, Q(7..9) the normal, Q(10) the offset).
// STATUS 0; 1 when no frame can be built (the record is missing, the box cannot be read,
// another kind, or the cylinder's axis frame fails, which posts 2020).
void SRFFRX(int32_t code, InvFrame4R& frame, std::span<float, 10> q, int32_t mode,
            int32_t& status);

// The origin, axes (as rows) and edge lengths of the box of class-3 record S. STATUS 0; 1
// for another class, kind or sub-code, or when a point or the coordinate system cannot be
// read or the axes cannot be built.
void SRFFRR(ShapeRecord s, std::array<float, 3>& origin, RowAxes& axes, float& l1, float& l2,
            float& l3, int32_t& status);

// Plane and plane: X 11, form 1, the line P(1..3) + t P(4..6). FOUND 1, or 0 for parallel
// planes or a line that cannot be placed.
void SIXCS5(const InvFrame4R& frame1, const InvFrame4R& frame2, IsxTyp& result, int32_t& found);

// Plane and sphere: X 12, form 3, the circle of the plane about the foot of the centre
// (P(9) = 1, P(11) the radius). FOUND 1, or 0 when the plane misses the sphere.
void SIXPSP(const InvFrame4R& plane, std::span<const float, 3> centre, float radius,
            IsxTyp& result, int32_t& found);

// Sphere and sphere: X 22, form 3, the circle about the axis of the centres. FOUND 1; 0
// when they do not meet or the centres coincide; 99 when the frame cannot be built.
void SIXSSP(std::span<const float, 3> centre1, float radius1, std::span<const float, 3> centre2,
            float radius2, IsxTyp& result, int32_t& found);

}  // namespace kvr
