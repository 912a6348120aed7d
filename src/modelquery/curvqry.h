// The curve geometry query: UCURVT (queries.h) answers a model curve, the type -7
// attribute entry of a curve number, as its parameters or as a list of points (x, y);
// CRVGEO rounds the corners of such a list with circular fillets.
//
// CRVREC, the curve entry's INTEGER values (REAL words held as bits): word 1 type x 10000
// + m (m the points generated for a function), 2-3 the x and y offsets, 4-5 the x and y
// scales, 6-7 the x range, 8 the fillet factor, 9 the repeat count, 10 the count of table
// values, from word 11 the table (x1, y1, x2, y2, ...) or the function's parameters. Types:
// 1 table, 2 step, 3 ramp, 4 sine, 5 exponential.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Rounds the interior corners of the polyline of N points (x, y pairs) at the front of W
// (SIZE words) with circular fillets of radius |FACTOR| x the shorter neighbouring segment,
// nine arc points a corner, in the plane z = 0; a corner within 2 degrees of straight is
// kept. The new list is built behind the old one and moved to the front; N becomes its
// length. Fewer than three points are left alone. STATUS 0; 1 a radius below the real
// epsilon, an offset or intersection that fails (its message is posted) or a tangent
// point beyond its segment; 9 the new list does not fit in W. On a failure N and the
// points at the front of W are not changed.
void CRVGEO(std::span<float> w, int32_t size, int32_t& n, float factor, int32_t& status);

}  // namespace kvr
