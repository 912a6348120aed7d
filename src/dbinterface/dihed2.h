// The dataset header: every dataset the host sends begins with DIHED2, which opens a
// dataset of one of the 23 keys (DIKEYS) on a temporary unit, checks that the key may be
// entered in the current state of the model, writes the header as the first record of
// the unit's stream and sets the unit's state for the record routines of that key.
//
// Keys 1 and 111 are model headers: they name a model to create (opcode 1), append to
// (2) or build as an assembly (3), and close the model that was current. After a create,
// coordinates (key 2) and topology (key 3) must each be entered once before any other
// dataset; after an append or a build both count as entered and may not be sent again.
#pragma once

#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

// Opens a dataset of key IKEY with opcode IOPCOD (1 create, 2 append, 3 build; 1 for
// every key but a model header) on temporary unit IUNT. NAME (20 characters) is the
// model name of a model header, else the dataset's name (for key 100 the load-case name,
// whose first six characters must not be blank). HVALUE, HNUMBR, HTITLE (20 characters),
// HFLAG and HTEXT (10 characters) are carried into the header record; name and text
// upper-cased, the title as sent.
//
// A model header needs its unit free. With database output it builds the display
// datasets still due for the previous model, releases that model's database, and looks
// for the model's files (named by the model-file-name rule): a blank name answers 36,
// an append to a missing model 37, a create or a build over an existing one 38 or 39;
// each of these leaves no model active and no database open, and no unit flag set.
// Any other header needs a unit that holds no dataset or only a model header: two
// datasets in one stream would be read back as one.
//
// IERR 0 when the header is accepted, else the code reported (211 unknown unit, every
// unit's flag raised to 2; 112, 113, 111, 114-128, 193, 118 and 129 raise the unit's
// flag to 1; 29, 32 and 36-39 raise none). A flag is never lowered.
void DIHED2(int32_t ikey, int32_t iopcod, FText name, float hvalue, int32_t hnumbr,
            FText htitle, int32_t hflag, FText htext, int32_t& ierr, int32_t iunt);

}  // namespace kvr
