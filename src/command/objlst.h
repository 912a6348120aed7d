// The object-type argument kinds 101 to 200: the existing objects of object type
// kind - 100 (results attributes and components, windows, model files, load cases, sets,
// shapes, line objects, symbol sets, montages, element types, header-line names, nodes
// and elements). OBJLST lists them for a prompt, OBJCHK judges a typed token.
//
// Types: 1, 2, 4 results attributes of the kind that the latest answer's keyword chooses
// (182 kind 2, 161 kind 3, 183 kind 4, 184 kind 5; kind 1 counts as 2), 6 of kind 1, 8 of
// kind 5; 3 and 7 the components of the attribute that the two latest answers choose; 5
// nothing; 9 and 38 to 100 window names; 10 and 13 to 16 model files; 11 and 17 to 21 load
// cases (all, or by load-case kind); 12 sets; 24 shapes; 29 coordinate systems; 27 line
// objects; 31 symbol sets; 35 montages; 25 element types; 33 the header line of the file
// that the latest answer names; 22, 23, 26, 28, 30, 32, 34, 36, 37 only the placeholder
// (the keyword of ARGKWD code 100 + type). The results types need a selected load case.
//
// While a check runs, the token's own answer is the latest of the command: the answers
// that choose an attribute, its component or the header file are then one further back
// than for the list.
#pragma once

#include <cstdint>
#include <span>

#include "command/argval.h"

namespace kvr {

// OBJLST modes.
inline constexpr int32_t kCountObjects = 1;    // count the objects only
inline constexpr int32_t kDeliverObjects = 2;  // deliver from FIRSTNUMBER on, up to LIMIT
inline constexpr int32_t kListObjects = 3;     // list every object

// Appends the objects of TYPE to LIST. MODE 1 raises the list's count by one per object
// and fills no entry; MODE 2 delivers the objects numbered FIRSTNUMBER on, until LIMIT
// (when above 0) or the maximum is reached; MODE 3 lists every object and the
// placeholder (the typed-argument dispatch passes 3, 0 and 0). An object entry has kind
// -(100 + TYPE) (-109 for every window type, -110 for every model-file type), the
// object's name and the length it counts. CONTEXT is the caller's work array, for the
// database opens and page reads (a buffer of its own is taken when it holds less than a
// page). STATUS 0 done; 2 the list is full; 3 no load case selected (E3430, types 1 to 8),
// or the attribute that chooses the components not found (E3400, types 3 and 7); 1 a
// database level cannot be opened, the attribute has no components, or the header file
// cannot be opened (E3380).
void OBJLST(std::span<int32_t> context, int32_t type, int32_t mode, int32_t firstNumber,
            int32_t limit, ValueList& list, int32_t& status);

// Checks the token FIRST..LAST of LINE (the upper-cased work copy of the command line)
// against object TYPE. In INPUTMODE 2 or 3 a token that begins with an apostrophe is a
// placeholder answer (DUMOLD) for the types that have one. Otherwise a leading "*", "+"
// or "-" gives the operator 1, 2 or 3 and is skipped, and the rest of the token is the
// word checked: a name of at most 20 (types 9, 10, 13-16), 6 (11, 17-20), 8 (22, 23, 26,
// 28, 30, 32, 34) or 4 (25) characters is taken as text; a set, shape, coordinate
// system, line object, symbol set or montage must exist under its first 8 characters
// (value code 4, the word as text); a header name must stand on the header line (its
// position); a node or element number must lie in 1 to the model's count (value code 2);
// a results name is matched, or abbreviated, among those the list would show (its
// position). Texts are copied into the check's text, cut to the room left, the number of
// codes copied being the list value.
void OBJCHK(std::span<int32_t> context, int32_t type, std::span<const int32_t> line,
            int32_t first, int32_t last, int32_t inputMode, ArgumentCheck& check);

}  // namespace kvr
