// The adjacency search: the entity of the next kinds up that carries the elements touching
// a point, line or surface. A point's neighbours are the meshed lines that end in it; a
// line's the meshed surfaces that hold it (then, in search mode 0, the meshed bodies one of
// whose surfaces holds it); a surface's the meshed bodies that hold it. UADJGE (queries.h)
// is the host's query; ADJSRC the search itself, also used by the load queries.
//
// Meshed: the entity's own element range (PNTELM, ELRNGL, ELRNGS, ELRNGB) starts above 0.
// A candidate line is meshed when its first-element word is above 0, a candidate surface
// when its word 7 is not 0, a candidate body when its word 9 is not 0. A number that lies
// outside its kind's count, or whose record the store does not hold, is never read: such
// an entity is not meshed and holds nothing.
//
// The surfaces of types 5 to 8 and the bodies of types 4 and 5 name sets of lines or
// surfaces (a set word and a list of further sets in the chained list store); their
// members are expanded into the search work array (named array 21) from position 1 on.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kvr {

// Searches the neighbours of entity NUMBER of KIND. COUNT is the number found (0 none);
// NKIND and NNUMBER the first. On entry NKIND and NNUMBER restrict the search:
//  - NKIND 0 or less: none; in MODE 0 the entity itself is first tested: NKIND, NNUMBER
//    become KIND, NUMBER, and a meshed entity is its own answer (COUNT 1).
//  - NKIND 2, 3 or 4: COUNT 1 when entity NNUMBER of that kind is meshed, else 0.
//  - NKIND 7: the candidates are the members of stored set NNUMBER, of which WORK receives
//    as many as it holds (points, lines, composite lines, surfaces, bodies in turn).
// MODE 1 searches only the surfaces of a line and leaves NKIND 3 even when none is found.
void ADJSRC(int32_t kind, int32_t number, int32_t& nkind, int32_t& nnumber, int32_t& count,
            std::span<int32_t> work, int32_t mode);

// The number of ways in which LINE bounds SURFACE: as a boundary word of a surface of type
// 1 to 4 (a composite boundary line counting through its members), or among the line
// members of the sets of a surface of type 5 to 8. 0 for a number that is no surface.
int32_t lineWaysOnSurface(int32_t line, int32_t surface);

// The surfaces of BODY as the searches collect them: words 2 to 7, 2 to 6 and 2 to 5 of a
// body of type 1, 2 and 3, the surfaces of its sets for types 4 and 5 (in absolute value).
// Empty for a number that is no body.
std::vector<int32_t> surfacesOfBody(int32_t body);

// The number of members that the work array of the host's adjacency query must hold for a
// restriction of RKIND and RNUMBER: the members of set RNUMBER (stored as RNUMBER + 1) for
// RKIND 7, else 0.
int32_t restrictingSetSize(int32_t rkind, int32_t rnumber);

}  // namespace kvr
