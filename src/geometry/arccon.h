// Line and arc constructions: the offset of a straight line or a circular arc towards a
// guide point, the intersection of two curves each a line or an arc, and the point at a
// fraction of an arc.
//
// A curve is three points and a kind: kind 1 the straight line from P1 to P2 (the third
// point unused), kind 2 the circular arc from P1 to P2 about the third point, its centre.
// A guide point chooses the side of an offset, or the nearer of two crossings (the first
// on a tie). Lines are unbounded. Lengths, coplanarity and equal radii are tested against
// the model tolerance (GEOSTA word 8); point triples that must span a plane against the
// angle window 0.1 to 179.9 degrees.
//
// OFFTRF and CRVINT report a failure as a mesh and geometry message (posted with the value
// 0) and status 1; the line wording of a message gives way to the reinforcement wording
// while the class of the current entity (CURENT) is 801. The intersection routines LLINTS,
// LCINTS and CCINTS post nothing: their status says why they failed.
#pragma once

#include <cstdint>
#include <span>

#include "geometry/matrix4.h"

namespace kvr {

using Point3R = std::span<const float, 3>;
using Point3D = std::span<const double, 3>;

// The curve kinds.
inline constexpr int32_t kCurveLine = 1;
inline constexpr int32_t kCurveArc = 2;

// Offsets the curve (P1, P2, CENTRE, KIND) by DISTANCE towards GUIDE. A line moves
// DISTANCE along the perpendicular in the plane of the guide, towards it; an arc is
// scaled about its centre so that its radius grows by DISTANCE when the guide lies
// outside it and shrinks by DISTANCE when it lies inside. Q1, Q2 receive P1 and P2
// transformed, QGUIDE (arcs only) the guide transformed and MATRIX the transformation.
// STATUS 0; 1 with a message and nothing else written: 2142 a guide on the line, or one so
// near it that no perpendicular can be normalised; 2141 an arc whose ends lie at radii
// differing by the tolerance or more (or of no radius at all); 2143 (2332) a guide on the
// arc's radius; 2144 a radius that would shrink to 2^-23 of itself or less; 2140 (2331)
// another kind.
void OFFTRF(Point3R p1, Point3R p2, Point3R centre, int32_t kind, Point3R guide, float distance,
            std::span<float, 3> q1, std::span<float, 3> q2, std::span<float, 3> qguide,
            Frame4D& matrix, int32_t& status);

// POINT = the crossing of curve A (A1, A2, AC, KINDA) with curve B, the one nearer GUIDE,
// computed in double. STATUS 0; 1 with a message: 2140 (2331) a kind not 1 or 2, else the
// failure of the intersection: 2142 no plane for the points, 2148 (2335) curves not
// coplanar, 2141 an arc of unequal radii, 2149 coincident arc centres, 2150 (2336) no
// crossing, 2151 (2337) parallel lines. POINT is written only on success.
void CRVINT(Point3R a1, Point3R a2, Point3R ac, int32_t kinda, Point3R b1, Point3R b2,
            Point3R bc, int32_t kindb, Point3R guide, std::span<float, 3> point,
            int32_t& status);

// POINT = the crossing of the unbounded lines A1A2 and B1B2. STATUS 0; 1 neither end of
// the second line spans a plane with the first line (angle at A1 within 0.1 degree of 0 or
// 180); 2 the lines are not coplanar; 6 they are parallel. POINT is written only on
// success.
void LLINTS(Point3D a1, Point3D a2, Point3D b1, Point3D b2, std::span<double, 3> point,
            int32_t& status);

// POINT = the crossing of the circle of the arc P1P2 about CENTRE with the unbounded line
// L1L2 nearer GUIDE (a tangent line gives its one point). STATUS 0; 1 the arc's ends and
// centre span no plane (angle at the centre outside 0.1 to 179.9 degrees); 2 the line is
// off the arc's plane; 3 the arc's ends lie at different radii; 5 no crossing, or L1 =
// L2. POINT is written only on success.
void LCINTS(Point3D p1, Point3D p2, Point3D centre, Point3D l1, Point3D l2, Point3D guide,
            std::span<double, 3> point, int32_t& status);

// POINT = the crossing of the circles of the arcs A1A2 about AC and B1B2 about BC nearer
// GUIDE (two touching circles give their one point). STATUS 0; 4 the centres lie within
// the tolerance of each other (tested first); 1 no arc point spans a plane with the two
// centres; 2 an arc point off that plane; 3 an arc whose ends lie at different radii; 5
// the circles do not meet. POINT is written only on success.
void CCINTS(Point3D a1, Point3D a2, Point3D ac, Point3D b1, Point3D b2, Point3D bc,
            Point3D guide, std::span<double, 3> point, int32_t& status);

// POINT = the point at fraction T (0 to 1) of the arc from START to END about CENTRE, the
// shorter way round; the radius changes linearly from that of START to that of END. Ends
// diametrically opposite turn counter-clockwise about the z axis (about the x axis when
// they lie on the z axis). STATUS 0; 1 with POINT unwritten: T outside 0 to 1, or an end
// at the centre.
void ARCPNT(Point3R centre, Point3R start, Point3R end, float t, std::span<float, 3> point,
            int32_t& status);

// The arc point of ARCPNT in single precision without its tests of T; false (POINT
// unwritten) when an end lies within the smallest real of the centre. Line evaluation
// places the points of circular arcs with it.
bool arcPoint(Point3R centre, Point3R start, Point3R end, float t, std::span<float, 3> point);

}  // namespace kvr
