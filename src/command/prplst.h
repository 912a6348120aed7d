// The property-word argument kinds 301 to 400: the words and values of a material or
// physical-property definition, in the order its expected-answer sequence (PRPSEQ,
// prpseq.h) gives.
//
//   301  the value, name or definition a material expects next (the material walk
//        ATVLS2/ATRWL2 when the material definition table is present)
//   302  the same for a physical property, after its ORIENTATE and OFFSET options (the
//        property walk ATVLST/ATRWLK when the property table is present)
//   303  a point name, NORMAL or a degree of freedom, a value or a name
//   304  a position in the sequence ("P3"), from which the rest turns optional
//   305  the property names the analysis program's translator supplies (TRNDSP)
//   306  the degree-of-freedom names of DOFNAM
//   307  the element shapes of a property type (ELSHPN)
//   308 to 400: nothing
//
// Keyword numbers (116, 265, 446, 743), the program kind 404 and the menu ids 6550, 6551
// and 6554 belong to a menu table that carries property words; they are plain numbers.
#pragma once

#include <cstdint>
#include <span>

#include "command/argval.h"

namespace kvr {

// Appends the entries of property KIND to LIST. STATUS 0 done, 2 the list is full (the
// entries added stay), or the status of the definition walk it hands over to.
void PRPLST(int32_t kind, ValueList& list, int32_t& status);

// Checks the token FIRST..LAST of LINE (the upper-cased work copy of the command line)
// against property KIND. The check starts at status -1, operator 1, list value and real 0;
// its next menu and sign pass through unless the kind decides them. An accepted token
// advances the sequence; a refused one leaves it as it was (kind 304 aside).
void PRPCHK(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check);

}  // namespace kvr
