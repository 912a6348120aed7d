// The element-type names that the element-type lists show: four characters per element
// type 1 to 61 ("QU4 " for type 9, "----" for a type without a name).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kvr {

// The four characters of element type T (1..61); empty outside.
std::string_view elementTypeName(int32_t t);

// Writes the name of element type TYPE as four character codes into LINE from START on
// (cut at its end); LAST receives the last position written. A negative TYPE -c is the
// shape code c, turned into its element type by SHPMAP. A type outside 1..61 (and a shape
// without an element type) writes nothing and gives LAST 0.
void ELTTXT(int32_t type, int32_t start, std::span<int32_t> line, int32_t& last);

// MODE 1: the name of element type TYPE into NAME from position 1 (ELTTXT). Any other
// mode: TYPE receives the element type 1..61 whose name equals the word in NAME (its codes
// up to the last non-blank, compared by CODCMP), 0 when none has it.
void ELTNMS(int32_t mode, int32_t& type, std::span<int32_t> name);

}  // namespace kvr
