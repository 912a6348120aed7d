// The searches that the loaders of node and element data share: a record names a node or
// an element by its id, and the loader finds it in the stored nodes (dataset 5) or
// elements (dataset 6) by walking an EntryCursor forward from where the last search left
// it. Records must therefore come in the dataset's order; a record that names an entity
// the cursor has already passed cannot be matched.
#pragma once

#include <cstdint>
#include <span>

#include "dbinterface/ldframe.h"
#include "modeldb/dbwords.h"

namespace kvr {

// Codes of the searches, shown under "DILIM " (238 with the node id).
inline constexpr int32_t kNodeNotFound = 238;
inline constexpr int32_t kElementNotFound = 239;

// kMaxWordsPerReal and loaderWordsPerReal: with the database words (modeldb/dbwords.h).

// The outcome of a node search.
enum class NodeMatch {
  kFound,    // the cursor stands on the node
  kPassed,   // the cursor stands on a larger id: the node is not stored, or was passed
  kPastEnd,  // no node from the cursor on has the id or a larger one
};

// Moves CURSOR forward over the nodes whose ids are below ID. A caller that stores an
// entry for the node found moves the cursor on by one, so that the next search starts at
// the following node.
NodeMatch findNode(EntryCursor& cursor, int32_t id);

// Moves CURSOR (walking in PAGE) forward to the element entry with ID whose type equals
// TYPEFILTER and whose IEATT1 equals ATTRIBUTEFILTER (a filter of 0 or below matches
// anything); false when there is none from the cursor on.
bool findElement(EntryCursor& cursor, std::span<const int32_t> page, int32_t id,
                 int32_t typeFilter, int32_t attributeFilter);

}  // namespace kvr
