// The special argument kinds 1 to 100: names of existing objects of a class, names for new
// objects, any existing or any free name, node and element numbers, the word ALL, and the
// steps of a material or property definition.
//
//   1-13, 16-20, 60-66, 78   an existing object of the kind's class
//   14, 15 / 34, 35          an existing node or element number / any number
//   21-33, 36-39, 70-77, 79  a name for a new object of the class (or that object itself)
//   40                       ALL (or its abbreviation)
//   41-50, 53-59             a new name of no class of its own
//   51, 52                   any existing name / any free name
//   67, 68, 69               a step of a material or property definition
//   80-100                   an existing point
//
// The definition kinds 17, 18, 19, 37, 38, 39, 64, 67, 68, 69 and 74 take names of any
// length, of which the first eight characters count, and are not tested against the
// command words; every other kind is a name kind (eight characters at most, no synonym and
// no root-menu keyword).
//
// A replayed command file may be translated (XLTSTA, xltsta.h): its names go through the
// name map, its node and element numbers and "#<number><kind>" references are moved by the
// file's bases, and "#NAME" names of new objects get names of the model's sequences.
//
// When a material, property, load or initial condition is named, or one of their
// definitions, the answers its definition wants next are set up in PRPSEQ (prpseq.h).
// Keyword numbers (118, 283, 432, 434) and menu ids (8186-8195, 8520-8528) belong to a
// menu table that carries these kinds; they are plain numbers.
#pragma once

#include <cstdint>
#include <span>

#include "command/argval.h"

namespace kvr {

// Appends the values of special KIND to LIST (entry texts of the list's text length).
// STATUS 0 done, 1 no list can be offered (kinds 67 to 69 without their definition
// table), 2 the list is full, or the status of the definition list it hands over to.
void SPCLST(int32_t kind, ValueList& list, int32_t& status);

// Checks the token FIRST..LAST of LINE (the upper-cased work copy of the command line)
// against special KIND. INPUTMODE is the parse loop's (1 a pending or command-file line,
// 2 and 3 the placeholder modes, 4 a reply typed at a prompt). STATUS 0 accepted (or the
// length of an abbreviation of a definition's name), -1 refused, -1000 - e a failure e
// the parse loop reports: 10 kind 40 without the material or property answers it needs,
// 20 a "#" name the translation forbids, 30 a number under the mesh lock, or a status of
// the name map or name translation.
void SPCCHK(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            int32_t inputMode, ArgumentCheck& check);

}  // namespace kvr
