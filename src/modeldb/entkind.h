// The entity kinds of the in-memory model, as one constant table: per kind its count word
// and deleted-count words of MODCNT, where its existence is stored, and how the query layer
// tests it. The existence test ENTEXS and the per-kind routines of the query layer
// (existence, name lookup, counts) all read this table.
#pragma once

#include <cstdint>

namespace kvr {

// Where a kind's existence is stored.
enum class KindTest : int32_t {
  kNameRecord,  // the name record of the entity in a name array (SOURCE the array;
                // 0 the array of handle word 21)
  kAttribute,   // an attribute-list entry of attribute type SOURCE
  kInRange,     // nothing stored: every number up to the count exists
  kElement,     // the element's connectivity record
};

struct EntityKind {
  int32_t kind;
  int32_t countWord;  // MODCNT word of the count; 0 none
  int32_t deleted1;   // MODCNT word of the deleted count; 0 none
  int32_t deleted2;   // a second deleted-count word added to the first; 0 none
  KindTest test;
  int32_t source;
  bool rangeTested;   // ENTEXS answers 0 above the count word
  bool guarded;       // the query layer answers 0 while the count word is 0 or less
  bool valueCount;    // the query layer tests the attribute entry's value count instead
  bool reservedFirst; // entity 1 is never a live entity of the kind
};

// The highest kind number the table knows.
inline constexpr int32_t kMaxEntityKind = 47;

// The row of KIND; nullptr for a kind within 1..47 that the table does not list. A kind
// of 0 or below or above 47 answers the point row.
const EntityKind* entityKind(int32_t kind);

}  // namespace kvr
