// The results record routines of the writing road. A results dataset (key 100 or 300)
// carries one attribute: its header (DIRHA), one definition per component (DIRHB), then
// the data. By the attribute's results type IRTYPE the data are nodal records (1, DINIA)
// or element groups, each an entity header followed by exactly its number of repeats:
// values at the element's points (3, DIENH/DIENR), at Gauss points with their coordinates
// (4, DIEGH/DIEGR) or per layer (5, DIECH/DIECR). Local axes per element (key 33,
// DIEXH/DIEXD) and per Gauss point (key 34, DIGXH/DIGXD) come in groups the same way.
//
// Every routine finds its unit and refuses one with an error pending, then enforces the
// order of header, definitions, entity headers and repeats and the number of values per
// record. Any other refusal raises the unit's flag to 1. IERR is 0 when the record is
// accepted. A dataset may be processed after a nodal record or after the last repeat of
// a group; an entity header reopens it until its repeats are in.
#pragma once

#include <cstdint>
#include <span>

#include "dbinterface/direcs.h"
#include "runtime/ftext.h"

namespace kvr {

// The attribute header: name ATTNAM (8 characters), NCOMPS 1..20 components, results
// type IRTYPE 1..5, NUMVAR 0..5 variants (an attribute with variants can carry no data
// through this interface: its data routines answer 165).
void DIRHA(FText attnam, int32_t ncomps, int32_t irtype, int32_t numvar, int32_t& ierr,
           int32_t iunt);

// A component definition (COMPNM, NCALC and COMPN2 of 8 characters). A calculated
// component (IEXIST 1) carries no value in the data records, a sent one of CTYPE 11 or
// more two values; the values per record follow from the definitions.
void DIRHB(FText compnm, int32_t inmenu, int32_t ctype, int32_t index1, int32_t index2,
           int32_t iexist, FText ncalc, FText compn2, int32_t& ierr, int32_t iunt);

// The values of one node (IRTYPE 1): NUMRES reals of VALUES.
void DINIA(int32_t node, std::span<const float> values, int32_t numres, int32_t& ierr,
           int32_t iunt);

// Entity headers of element results. NOTREAD is passed by the host and never read.
// DIENH (IRTYPE 3) expects NLAYER times NPOINT repeats, NPOINT 0 standing for the node
// count of ITYPE; DIEGH (IRTYPE 4) NLAYER times NPOINT; DIECH (IRTYPE 5) NLAYER. A
// factor of 0 counts as 1. A point element (type 20) is reported and dropped.
void DIENH(int32_t ielem, int32_t itype, int32_t ieatt1, int32_t ivar, int32_t npoint,
           int32_t nlayer, int32_t ilocal, const int32_t* notRead, int32_t& ierr, int32_t iunt);
void DIECH(int32_t ielem, int32_t itype, int32_t ieatt1, int32_t ivar, int32_t nlayer,
           int32_t ilocal, const int32_t* notRead, int32_t& ierr, int32_t iunt);
void DIEGH(int32_t ielem, int32_t itype, int32_t ieatt1, int32_t ivar, int32_t npoint,
           int32_t nlayer, int32_t ilocal, int32_t igflag, int32_t& ierr, int32_t iunt);

// The repeats of an entity header: NUMRES reals of VALUES for ID; DIEGR with the point's
// coordinates X, Y, Z.
void DIENR(int32_t id, std::span<const float> values, int32_t numres, int32_t& ierr, int32_t iunt);
void DIECR(int32_t id, std::span<const float> values, int32_t numres, int32_t& ierr, int32_t iunt);
void DIEGR(int32_t id, float x, float y, float z, std::span<const float> values, int32_t numres,
           int32_t& ierr, int32_t iunt);

// Local-axis entity headers: DIEXH per element (key 33), DIGXH per Gauss point (key 34,
// a point element reported and dropped); each expects NPOINT times NLAYER records, a
// factor of 0 counting as 1.
void DIEXH(int32_t ielem, int32_t itype, int32_t ieatt1, int32_t npoint, int32_t nlayer,
           int32_t& ierr, int32_t iunt);
void DIGXH(int32_t ielem, int32_t itype, int32_t ieatt1, int32_t npoint, int32_t nlayer,
           int32_t& ierr, int32_t iunt);

// The local axes of ID: nine reals.
void DIEXD(int32_t id, std::span<const float, kAxesReals> axes, int32_t& ierr, int32_t iunt);
void DIGXD(int32_t id, std::span<const float, kAxesReals> axes, int32_t& ierr, int32_t iunt);

}  // namespace kvr
