// Load evaluation: ULEVAL (queries.h) answers, point by point, whether a distributed load
// applies, its factor and its local axes; DSTFUN evaluates the parametric distribution
// functions and VAREVL the spatial ones.
//
// DSTREC, the type -8 entry of a distribution number (INTEGER values, REAL words held as
// bits): word 1 the kind (1 line, 2 surface, 3 body, 4 spatial), word 2 the function, form
// or direction, 3 the spatial form, 4 the count of table or corner values, 5-6 a line's t0
// and t1, 9 a spatial system, from word 11 the amplitude and exponent, the corner values,
// the edge or direction sub-records of 11 words (code = function x 10, plus the pair count
// of a table) or a table's pairs.
// VARREC, the type -9 entry of a variation number: word 1 the signed kind (1-3 limits on
// that many parametric coordinates, above 3 a box; negative: the load applies outside),
// word 2 the box's system, words 11-16 the limits lo1, hi1, lo2, hi2, lo3, hi3 (REAL).
//
// Owns two session caches: ULEVAL's (the system frame by columns, the distribution kind and
// value count, the variation and the box frame by rows), valid only after a first call
// that read the records, and VAREVL's last spatial frame. resetLoadEvaluation empties both
// when a query session starts.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// The value of the parametric distribution RECORD (its first SIZE words; a word beyond
// them counts as 0) at PARAMETERS (u, v, w) into VALUE; VALUE is left as the caller had it
// where the function has no value there (a table above its last abscissa, a surface
// without edge functions, a kind or surface form that has none). STATUS 0; 1 an unknown
// line function or a body form other than 1.
void DSTFUN(std::span<const float, 3> parameters, std::span<const int32_t> record, int32_t size,
            float& value, int32_t& status);

// The value of the spatial distribution RECORD (its first SIZE words) at POSITION, which
// becomes the local coordinates in the record's system (word 9) when that system has a
// frame. STATUS 0; 1 a record of another kind, an unknown function or direction, or a
// system whose local coordinates fail (the global position is then used).
void VAREVL(std::span<float, 3> position, std::span<const int32_t> record, int32_t size,
            float& value, int32_t& status);

// Empties the caches of ULEVAL and VAREVL (a session start).
void resetLoadEvaluation();

}  // namespace kvr
