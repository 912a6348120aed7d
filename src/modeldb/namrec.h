// The names of lines, shapes and sets: one implementation of their label and text
// getters, their find by name and their rename, parametrised by what differs between the
// three kinds: the name array, the count word, the first record of the label searches and
// the existence test.
//
// A name is two words of four characters (eight characters, blank-padded). Texts are
// compared ignoring case as blank-padded texts, the shorter padded to the longer: "L1"
// does not find "L10", and a text with a non-blank after its eighth character finds no
// name. A rename compares and stores the first eight characters of its text, upper-cased.
// Optional arguments are absent as null pointers.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

using NameWords = std::array<int32_t, 2>;

struct NameKind {
  int32_t array;        // the name array
  int32_t countWord;    // MODCNT word of the number of entities
  int32_t findHint;     // first record of the find by label
  int32_t renameHint;   // first record of the rename's search by label
  int32_t (*exists)(int32_t id);
};

// STAT 0 and LABEL the name words of entity ID; STAT -1 (LABEL untouched) when it does
// not exist.
void nameLabel(const NameKind& kind, int32_t id, NameWords& label, int32_t& stat);

// As nameLabel, the name written into TEXT as eight characters (cut at its length).
void nameText(const NameKind& kind, int32_t id, FText text, int32_t& stat);

// The number of the entity named TEXT (when given, ignoring case) or LABEL (word for
// word); 0 none; -1 neither given. Deleted entities have no name.
int32_t nameFind(const NameKind& kind, const FText* text, const NameWords* label);

// Gives entity ID the name TEXT or, without TEXT, LABEL (stored as given). STAT 0 done;
// -1 ID does not exist (below 1, above the count, or deleted); -2 neither given; -3 the
// name is another entity's; -5 CHECK (true when absent) and TEXT is not a valid name. An
// empty TEXT (length 0) changes nothing, with STAT 0.
void nameSet(const NameKind& kind, int32_t id, int32_t& stat, const FText* text,
             const NameWords* label, const bool* check);

}  // namespace kvr
