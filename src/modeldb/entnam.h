// Entity record queries and attribute texts: the entity that carries a name, one REAL
// attribute value, the names of loads and of kind-42 and kind-46 entities as texts, the
// classes of kind-42 entities, and a few state tests and catalogue texts.
//
// Loads keep their name as the label of their type-9 entry, whose first value names an
// entity whose type -5 entry holds six INTEGER values: a load is special when the sixth is
// 0. Kind-42 entities have a two-word record in array 28 whose word 1 is their class 1..4,
// and their names in array 27; kind-46 names are in array 35. Texts are written with the
// two label words as eight characters; a missing entity or entry leaves them blank.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/ftext.h"

namespace kvr {

// STAT 0 and ID the entity of the first attribute entry of TYPE labelled NAME; STAT -1
// (ID untouched) when no entry of TYPE carries it.
void ENTNAM(std::span<const int32_t, 2> name, int32_t type, int32_t& stat, int32_t& id);

// One REAL value of entry (TYPE, ID) at value position START through ATTVAL: MODE 1 reads
// it into VALUE, MODE -1 writes VALUE; other modes pass to ATTVAL and leave VALUE.
void ATVAL1(int32_t mode, int32_t type, int32_t id, int32_t start, int32_t& count,
            float& value);

// -1 when load ID exists and is special, else 0 (also when the entity its first value
// names has no type -5 entry).
int32_t LODSPC(int32_t id);

// The name of load ID: LODNAM for a load that is not special, LODNMS for a special one.
// STAT 0 with the name; 1 with a blank text when the load is of the other sort, or has no
// named entry.
void LODNAM(int32_t id, FText text, int32_t& stat);
void LODNMS(int32_t id, FText text, int32_t& stat);

// The name of kind-46 or kind-42 entity ID; STAT 1 and a blank text when it does not exist.
void K46NAM(int32_t id, FText text, int32_t& stat);
void K42NAM(int32_t id, FText text, int32_t& stat);

// -1 when kind-42 entity ID exists and has class 1..4.
int32_t K42CP1(int32_t id);
int32_t K42CP2(int32_t id);
int32_t K42CP3(int32_t id);
int32_t K42CP4(int32_t id);

// The name of kind-42 entity ID when it has class 1..4; STAT 1 and a blank text otherwise.
void K42CN1(int32_t id, FText text, int32_t& stat);
void K42CN2(int32_t id, FText text, int32_t& stat);
void K42CN3(int32_t id, FText text, int32_t& stat);
void K42CN4(int32_t id, FText text, int32_t& stat);

// The number of kind-42 entities of class 1..4; 0 in the grid vocabulary.
int32_t K42CL1();
int32_t K42CL2();
int32_t K42CL3();
int32_t K42CL4();

// -1 in the grid vocabulary (GRIDMD 1), else 0.
int32_t GRIDLG();

// The state word of the current view as a code: 1 gives 3, -1 gives 2, 4 gives 4, any
// other value 1.
int32_t VWSCOD();

// Entry I of the ten-code lines of IOMODE (CATX10) or name slot I (CATX20; CATX21 slot 1)
// as a text, with at most 10 or 20 of its codes; blank for an I outside the table.
void CATX10(int32_t i, FText text);
void CATX20(int32_t i, FText text);
void CATX21(FText text);

// -1 when the second enable word of journal channel 1 is 1.
int32_t IOSWON();

}  // namespace kvr
