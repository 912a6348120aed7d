// The format upgrade of a loaded model: the steps that bring the arrays and the saved
// model state of an older format generation up to the current one. The load runs DBUPAL
// after every load and the other steps by the stored format (DBFMT):
//
//   below 9036 DBUP36; below 9060 DBUP60; below 9061 DBUP61 then DBUP63 (9037 and 9038:
//   DBUP63 alone); 9061 and 9062 DBUP63; below 9066 DBUP66; below 9070 DBUP70.
//
// The model state is saved in three attribute entries (attlst.h): (-1, 1) the INTEGER
// state record (words 1-91 MODCNT words 3-93, words 92-160 the 69 words of MODSTA), (1, 1)
// the REAL state record (GEOSTA words 1-80) and (-1, 2) the display record (VWDFLT words
// 12-91). Moves within a record read from a copy of the old record, so that no word is
// read after it was overwritten. Every step works only on records the arrays hold, so a
// count of the file beyond its arrays cannot stop the run.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace kvr {

// Reads the three state records into MODCNT, MODSTA, GEOSTA and VWDFLT (160 and 80 words
// from format 9064 on, 80 and 25 below) and brings their layouts up to date: the INTEGER
// words move on one word below 9062, 9064, 9066 and 9071 each, an 18-slot name-sequence
// table is refilled from the defaults (its slots put back in the 8-digit form), a 24-slot
// table gains slot 25, and slots 22 to 24 get their defaults where the format lacked them.
void DBUPAL();

// Moves the references encoded above 1000000 above the id limit B of IDPACK: node word 1
// and the words of the packed lists (above 1500000: B / 2 x 3 + the rest).
void DBUP36();

// Moves the element connectivity from the groups of G = MODCNT word 14 elements in
// 42-word records to one record of MODCNT word 12 + 1 words per element. STATUS 0; 1 the
// group size or record width is not positive or a group lies outside the array (E1150,
// E2190).
void DBUP60(int32_t& status);

// The parameter (word 3) of the points of type 300, 400 and 700 becomes word 3 / 32767 as
// a REAL.
void DBUP61();

// Splits word 5 of the type-3 lines: word 5 div 1000 stays, word 5 mod 1000 goes to word
// 16.
void DBUP63();

// Clears the mesh references of points, lines, surfaces and bodies that lie beyond the
// highest node and element numbers or the packed lists.
void DBUP66();

// Fills word 2 of the node records from word 1: (word 1 / 1000) x N in single precision
// (N the line-position scale of MACHCN) for 0 < word 1 < the id limit; for -id limit <
// word 1 < 0 the position in word 2 is recomputed as 1000 x (r + (s - r) / 1000000), s
// being word 2 as a REAL and r = s mod 1000000.
void DBUP70();

// The signed bit mask of decimal digit list D: flag d (+ 16 in MODE 1) for every digit d
// of 1..8; D = 0, 9 or above 999999999 sets flags 1 to 6, D = 10 or 11 flag D. The mask is
// negative when D is 0 or below.
int32_t DIGMSK(int32_t d, int32_t mode);

// Test seam: OBSERVER sees the name of every upgrade step ("DBUPAL", "DBUP36", ..) as it
// starts; an empty function removes it.
using UpgradeObserver = std::function<void(std::string_view step)>;
void setUpgradeObserver(UpgradeObserver observer);

}  // namespace kvr
