// The lines of the display build that name what made it fail: the catalogue message and
// one line in the host's message file with the element or node, and for a node list no
// page holds, the smallest page size whose page would hold it.
#pragma once

#include <cstdint>
#include <string>

namespace kvr {

// The data page sizes a database may have, smallest first.
inline constexpr int32_t kDataPageSizes[] = {2040, 4080, 8160, 16320, 32640};

// The smallest data page size whose page, after HEADER words, holds WORDS words; 0 when
// none does.
int32_t smallestPageHolding(int64_t words, int32_t header);

// The message-file line of element ELEMENT naming node NODE, which was never sent.
std::string missingNodeLine(int32_t element, int32_t node);

// The message-file line of node NODE used by ELEMENTS elements, whose list of WORDS words
// no page of the database's size holds (HEADER words of a page before its entries).
std::string longNodeListLine(int32_t node, int32_t elements, int64_t words, int32_t header);

// M024 and the line of missingNodeLine.
void reportMissingNode(int32_t element, int32_t node);

// M038 and the line of longNodeListLine.
void reportLongNodeList(int32_t node, int32_t elements, int64_t words, int32_t header);

}  // namespace kvr
