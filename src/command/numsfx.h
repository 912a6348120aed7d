// NUMSFX: the object number of a command-file reference "#<number><kind>". A command file
// written with name translation refers to an object by its number followed by the two
// digits of its argument kind, so "#1201" names object 12 of kind 1.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Reads positions 1..LENGTH of LINE as an integer (the lexer in its integer mode). When it
// is one and its last two decimal digits equal KIND, RESULT is the integer divided by 100;
// otherwise 0.
void NUMSFX(std::span<const int32_t> line, int32_t length, int32_t kind, int32_t& result);

}  // namespace kvr
