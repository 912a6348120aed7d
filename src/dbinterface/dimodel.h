// The model record routines of the writing road: once a dataset header has opened a
// dataset on a temporary unit, the host sends its records one call each. Each routine
// finds its unit, checks that the unit has no error pending and holds a dataset of its
// key, checks the record's numbers, appends the record to the unit's stream and updates
// the unit's state. IERR is 0 when the record is accepted, else the code reported.
//
// Nodes, constraints and local systems arrive in strictly ascending order of their
// numbers within a dataset (the unit's last accepted id starts at 0); elements and set
// members in any order. With neutral output every identification number must fit the
// text file's fields: five digits with number format 0, and system numbers five digits
// in any format.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "dbinterface/direcs.h"
#include "runtime/ftext.h"

namespace kvr {

// A node and its coordinates (key 2). A refused node raises every unit's flag to 2: the
// coordinates of a model cannot be left part entered.
void DICOR(int32_t node, float x, float y, float z, int32_t isys, int32_t& ierr, int32_t iunt);

// Test seam: while set, DICOR calls PROBE with the node number before anything else, so
// that a test can make the routine throw or stop part way; nullptr removes it.
void setDicorProbe(std::function<void(int32_t node)> probe);

// An element (key 3) of element type ITYPE with the type's node count of node numbers in
// NODES (which must hold them). IEATT1 and IEATT2 are carried unchecked. A point element
// (type 20) is reported and dropped. A refused element raises every unit's flag to 2.
void DITOP(int32_t ielem, int32_t itype, int32_t ieatt1, int32_t ieatt2,
           std::span<const int32_t> nodes, int32_t isys, int32_t& ierr, int32_t iunt);

// Members of a node or element set (keys 18, 19): the first call of the dataset writes
// the set header from SETNAM (8 characters) and STITLE (30); every call writes its
// NIDS members of IDS in records of 15 (number format 0) or 10. NIDS below 0 counts as 0.
void DISET(FText setnam, FText stitle, std::span<const int32_t> ids, int32_t nids, int32_t& ierr,
           int32_t iunt);

// A nodal constraint (key 41): constraint codes IDOF and IEDOF, not both 0.
void DICON(int32_t node, int32_t idof, int32_t isys, int32_t iedof, int32_t& ierr, int32_t iunt);

// A local axis system (key 43) numbered ISYS with its nine reals AXES. IDUM is set to 0
// before anything else, whatever the outcome.
void DILXC(int32_t isys, int32_t& idum, std::span<const float, kAxesReals> axes, int32_t& ierr,
           int32_t iunt);

}  // namespace kvr
