// The node and element searches of the loaders.

#include "dbinterface/ldsearch.h"

#include <algorithm>

#include "dbinterface/elnord.h"
#include "runtime/machcn.h"

namespace kvr {

NodeMatch findNode(EntryCursor& cursor, int32_t id) {
  while (cursor.atEntry() && cursor.nodeId() < id) cursor.next();
  if (!cursor.atEntry()) return NodeMatch::kPastEnd;
  return cursor.nodeId() == id ? NodeMatch::kFound : NodeMatch::kPassed;
}

bool findElement(EntryCursor& cursor, std::span<const int32_t> page, int32_t id,
                 int32_t typeFilter, int32_t attributeFilter) {
  for (; cursor.atEntry(); cursor.next()) {
    if (cursor.elementId() != id) continue;
    if (typeFilter > 0 && cursor.elementType() != typeFilter) continue;
    if (attributeFilter > 0 && ENTW3(page, cursor.q()) != attributeFilter) continue;
    return true;
  }
  return false;
}

}  // namespace kvr
