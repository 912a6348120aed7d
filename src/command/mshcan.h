// The mesh cancel: a pending mesh run is undone when a replayed command file numbers its
// nodes below the model's node count. The node and element counts go back to those saved
// when the run began, the divisions of the lines, surfaces and bodies that the run meshed
// are cleared, the temporary entries of the display selection list go, and the current
// BINSET (the set of the parts that could not be meshed) is emptied by deleting it.
//
// The mesh words are MODCNT's (modcnt.h): mesh-open, the saved counts, the mesh stamp and
// its saved value, the further mesh-state word. The BINSET name is GEOSTA words 17 and 18.
// Sets keep their names in named array 18, their chain heads in array 19 (record 1 the
// head of the free chain) and their member blocks in array 20, word 63 linking a block to
// the next (setrec.h); a head word of a format 9031 model holds the block number in the
// low 12 bits of its magnitude.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Cancels the pending mesh run, when the mesh-open word is 1: with fewer elements saved
// than there are, reports W0133 and " *** MESH CANCELLED ***", marks the list entries of
// codes 3, -9 and -10 for redraw and removes every negative code, and deletes the current
// BINSET (M0084); then restores the counts and the stamp, sets the current window's state
// word to 1, clears the further mesh-state and mesh-open words, and clears words 8 and 9
// of the lines (not of type 9) divided after the restored stamp, words 7 and 8 of the
// surfaces whose word 13 is above 0 and words 9 and 10 of the bodies whose word 11 is 0 or
// above.
void MSHCAN();

// Deletes set S: its entry of the displayed-sets list goes, its number is given back to
// the set naming sequence, its name record becomes the deletion marker and a blank word,
// and its chain of member blocks goes to the front of the free chain. The set's head word
// and the set counts are left as they are. A set already deleted, or S outside
// 2..MODCNT word 53, changes nothing; a head of 0 or below, or a chain that leaves the
// blocks in use (MODCNT word 54) or does not end within that many blocks, frees no block.
void SETDEL(int32_t s);

// True when the first word of NAME is not four blanks; the second is not looked at.
bool NONBLK(std::span<const int32_t, 2> name);

}  // namespace kvr
