// The set loader DIPES. It stores a named set of nodes (key 18) or elements (key 19) as a
// bit map over every node or element of the model and one entry of the set directory,
// laid out as the model database keeps them (modeldb/setdir.h).
//
// Reports of DIPES: 225 under "DILIM " (a stream that cannot be read, or a header whose
// tag is neither -1 nor -3); 299 under "DIPES " with 9800 (the end record in place of the
// header or of the first member record), 9600 (no node or element dataset, or one whose
// sequence numbers lie outside the entity count), 9550 (a member record of another tag,
// or whose count lies outside 0..15); 229 under "DILIM " (a corrupt directory); 231 under
// "DILIM " with the name (a set of that exact name exists). Members that are not found
// give information lines under "DIPES " with the set name and are left out; the set is
// stored with the others, IERR 0.
#pragma once

#include <cstdint>
#include <span>

#include "modeldb/setdir.h"

namespace kvr {

// Loads the set whose stream the current unit holds: SELECTOR 2 a node set, any other an
// element set.
void DIPES(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t selector, int32_t& ierr);

}  // namespace kvr
