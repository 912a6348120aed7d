// The definition walks: a material or physical property is defined in the command line by
// walking its definition table, a header first, then options below it, then one value per
// value field of the chosen option, each step one typed argument. For every step a list
// builder offers what may come next and a checker judges one token against the same
// choices. ATVLST and ATRWLK walk PHYDF; ATVLS2 and ATRWL2 are their twins over MATDF.
//
// Each accepted step leaves an answer whose ITEM is the negated argument kind and whose
// ULST is index x 10 + level: 1 a header (its record number), 2 an option (its text-record
// key), 3 a number and 4 a text for a value field (the value record's key). The walk
// answers are those whose ITEM is -18 or -302 (materials -17 or -301). Kinds 68 and 69 name
// an existing property (material) by an earlier answer of ITEM -9 (-8).
//
// The menu ids that the checks return and the keyword numbers they test belong to a menu
// table that carries the walk; they are plain numbers here.
#pragma once

#include <cstdint>
#include <span>

#include "command/argval.h"

namespace kvr {

// Appends the choices of argument KIND that the answers so far leave open. STATUS 0 done;
// 1 the property (material) or its attribute is missing (kinds 68 and 69); 2 the list is
// full.
void ATVLST(int32_t kind, ValueList& list, int32_t& status);
void ATVLS2(int32_t kind, ValueList& list, int32_t& status);

// Checks the token FIRST..LAST of LINE (the upper-cased work copy of the command line)
// against argument KIND, the answers 1 to count - 1 being the walk so far. The list value
// is set to 0 first and the status is -1 unless the token is accepted; NEXTMENU and SIGN
// keep what the caller put in them unless the step decides them.
void ATRWLK(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check);
void ATRWL2(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check);

// The next menu after a definition's values by the kinds of object they may refer to (the
// curve, kind-47 and variation flags of ATRDSP); 0 when they refer to none.
int32_t referenceMenu(int32_t curve, int32_t kind47, int32_t variation);

}  // namespace kvr
