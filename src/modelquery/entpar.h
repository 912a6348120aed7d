// ENTPAR: where a point lies inside a geometric entity, as parametric coordinates from 0 to
// 1: t along a line, (u, v) in a surface patch, (u, v, w) in a hexahedral body. The load
// evaluation asks it for many points of one entity in a row, so the entity's geometry is
// kept between calls and recomputed only when the caller's cache flag asks for it.
//
// The cache holds the geometry of the last computing call (flag 0) together with its kind
// and whether the computation completed: the line's end points, divisions and grading;
// the surface's patch (SRFCLS) and size; the body's face corners and mean edges. It is
// not keyed on the entity number: a cached surface answers for any surface number passed.
// A new query session empties it (resetEntityCache).
//
// ENTPAR is the one routine that changes the model tolerance (GEOSTA word 8): the surface
// branch sets it to the patch's size for its constructions, and every return restores the
// caller's value bit for bit.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

inline constexpr int32_t kEntityLine = 2;
inline constexpr int32_t kEntitySurface = 3;
inline constexpr int32_t kEntityBody = 4;

// The parameters of POINT in entity ENTITY of KIND (2 line, 3 surface, 4 body).
// FLAG: 0 computes the entity's geometry and caches it (FLAG becomes 1 once it is cached;
// for a body at once, before anything is read), 1 uses the cache; any other value counts
// as 0 and is set to 0. On success PARAMETERS = (t, 0, 0), (u, v, 0) or (u, v, w) and
// COUNT = 1, 2 or 3, STATUS 0. STATUS 1, with PARAMETERS and COUNT unwritten, for another
// kind, a cached call whose cache holds no completed geometry of KIND, a line that is
// composite, not measurable or of no divisions, a point the line evaluation cannot place,
// a surface that is no simple patch or whose construction fails, a body not of type 1,
// with a face that is no flat four-straight-sided patch, whose topology fails (BODTOP may
// post 2030), or whose projection or construction fails.
void ENTPAR(int32_t& flag, int32_t kind, int32_t entity, std::span<const float, 3> point,
            std::span<float, 3> parameters, int32_t& count, int32_t& status);

// Empties the cache of ENTPAR (a session reset of USTRT2).
void resetEntityCache();

}  // namespace kvr
