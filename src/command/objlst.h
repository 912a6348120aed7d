// The object-type argument kinds 101 to 200: the existing objects of object type
// kind - 100 (results attributes and components, windows, model files, load cases, sets,
// shapes, line objects, symbol sets, montages, element types, nodes and elements).
//
// Interim: no object type offers a value or accepts a token yet. OBJLST adds nothing and
// answers status 0; OBJCHK answers no match (-1).
#pragma once

#include <cstdint>
#include <span>

#include "command/argval.h"

namespace kvr {

// Appends the objects of TYPE to LIST: MODE 1 count, 2 deliver from FIRSTNUMBER on, 3 list
// all (the typed-argument dispatch passes 3, 0 and LIMIT 0). CONTEXT is the caller's work
// array, which must hold one database page (for the database opens). STATUS 0 done,
// 1 failed with a message, 2 the list is full, 3 nothing can be offered (with a message).
void OBJLST(std::span<int32_t> context, int32_t type, int32_t mode, int32_t firstNumber,
            int32_t limit, ValueList& list, int32_t& status);

// Checks the token FIRST..LAST of LINE (the upper-cased work copy of the command line)
// against object TYPE. INPUTMODE is the parse loop's.
void OBJCHK(std::span<int32_t> context, int32_t type, std::span<const int32_t> line,
            int32_t first, int32_t last, int32_t inputMode, ArgumentCheck& check);

}  // namespace kvr
