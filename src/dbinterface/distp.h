// The stop of the writing road and the clean-up after its errors.
//
// DISTP ends a session: it processes the datasets still open on the temporary units,
// cleans up after the errors it finds, builds the display datasets of the last model when
// they are still due, releases and closes the database, writes the neutral text file's
// last line and leaves the road uninitialised (DIINI may start it again).
//
// DIERR is the host's clean-up after an error. Level 1 abandons the dataset on one unit,
// which is then free for a new dataset header; level 2 abandons the whole current model,
// deleting the database files it was creating or building. A unit whose error flag is 2
// can only be cleaned by level 2.
#pragma once

#include <cstdint>

namespace kvr {

// Abandons the dataset on temporary unit IUNT (ILEVEL 1) or the whole current model
// (ILEVEL 2; IUNT is not looked at). IERR 0, or the code reported under "DIERR ":
//  - 211 (levels other than 2) IUNT is not a temporary unit: shown, every unit's flag
//    raised to 2;
//  - 45 ILEVEL is neither 1 nor 2 (shown); 28 the road is not initialised;
//  - 46 (level 1) the unit's flag is 2: the model must be abandoned first;
//  - 299 with "FOUVRE" (level 2) a database file of the model could not be deleted;
//    nothing else has changed, but the database is closed.
// Level 1 clears every dataset word of the unit, its message count and its flag, the
// model's node and element counts, restarts its stream, and says "NO ERROR ON UNIT" first
// when the unit had none.
// Level 2: when the model was being created or built, its database open with database
// output and a unit 1..ITFNUM has an error, its index and data files are deleted and the
// database is marked closed. Then no model is active, every unit 1 to 10 is cleared and
// its flag 0, every stream restarted.
void DIERR(int32_t ilevel, int32_t& ierr, int32_t iunt);

// Ends the session. IERR 28 when the road is not initialised (also after a DISTP); else
// what the last dataset processing DISTP ran left (0 when it ran none), or 299 with
// "LUNEU" when the neutral text file refused its last line. Each unit 1..ITFNUM holding a
// dataset is processed (the text side alone with neutral output only) unless its flag
// is set; a unit whose flag is 1 is cleaned with DIERR level 1, one whose flag is 2
// abandons the model (DIERR level 2) and the session goes straight to its end. With
// database output the pending display build of the last model runs (a failed build
// abandons it), the database is released and the database session ended; with neutral
// output the file ends with " 9999". The whole state of the road is cleared and every
// temporary unit rewound.
void DISTP(int32_t& ierr);

}  // namespace kvr
