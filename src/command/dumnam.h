// The placeholder answers. A value list shows, for an argument that wants a name, the
// argument's keyword ("'line-old'", "'set-new'"). When that keyword comes back as the
// answer and is checked in input mode 2 or 3, it is not looked up: an existing-object
// argument takes it as object number 1, a new-object argument takes a fixed placeholder
// name (DUMMYxxx) in its place. DUMNAM answers for the special kinds 1 to 100, DUMOLD for
// the object types (argument kind less 100).
//
// The token (upper case) is compared over the keyword's length with the keyword in upper
// case, apostrophes included; what follows is not looked at. Where a kind has two
// keywords, the first is that of the grid vocabulary (GRIDMD 1).
#pragma once

#include <cstdint>
#include <span>

#include "command/argval.h"

namespace kvr {

// Checks the token FIRST..LAST of LINE as the placeholder answer of special KIND. The
// check starts at status -1, operator 1 and real 0; its next menu and sign pass through.
// An existing-object keyword that the token equals: status 0, value code 1, list value
// 1. A placeholder name: status 0, value code 0, the name copied into the check's text
// (cut to the room left there) and the number of codes copied as list value.
void DUMNAM(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check);

// The same for object TYPE (types 12, 22 to 24, 26 to 32 and 34 to 37 have placeholder
// answers; any other is refused).
void DUMOLD(int32_t type, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check);

}  // namespace kvr
