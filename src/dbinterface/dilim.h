// The dataset processing: DILIM finishes the dataset the host has sent on one temporary
// unit. It closes the unit's stream with the end records of its dataset, reads it back
// and hands it on: with database output (LUOPT 1 or 3) to the model opening and the
// loader of its key, with neutral output (LUOPT 2 or 3) to the neutral text file; with
// LUOPT 3 the database side runs first and the stream is read a second time. Afterwards
// the unit is free for the next dataset.
//
// The database side. A stream begins with its dataset header; a model header (key 1 or
// 111) is followed in the same stream by the dataset it opens. A model header opens the
// model's database: an append opens the existing database and takes its write lock, a
// create or a build creates it (a build then builds the assembly from the component list
// behind the header). The files are named from the model name as the host gave it, by
// the model-file-name rule. The dataset after the header goes to the loader of its key;
// the datasets of a load case (keys 28, 29, 31, 100, 300) have the load case registered
// first. No dataset is loaded while no database is open.
//
// The text side writes the whole stream (model header included) as lines of the neutral
// text file, ending with the dataset's end line.
#pragma once

#include <cstdint>

namespace kvr {

// Processes the dataset on temporary unit IUNT. IERR 0 when it was processed and the
// unit is free; else the code reported under "DILIM ", and:
//  - 211 IUNT is not a temporary unit (shown; every unit's flag raised to 2);
//  - 32 the unit has an error pending (no flag changed);
//  - 181 the dataset is not complete (the unit shown, its flag raised to 1);
//  - 29 a dataset that is no model header while no database is open (its flag raised
//    to 1, nothing written to either output);
//  - 224 the stream could not be closed, 225 it could not be read back (the unit shown);
//    299 with "TLBOPN" (the model to append to is missing or cannot be opened), "FBCFIG"
//    (the model to create exists or cannot be created), "LCADD" (the load case cannot
//    be added) or "LUNEU" (the neutral text file refused a line); 272 the database's
//    write lock is held by the process shown; 35 the model to append to has no nodes,
//    no elements or no summary record; 271 with "ARRREG" (the named arrays cannot be set
//    up); a loader's own code: every unit's flag raised to 2.
// After a loader's failure with LUOPT 3 the neutral lines of the dataset are still written
// and the unit is freed; after any other failure the unit keeps its dataset for the
// clean-up (DIERR).
void DILIM(int32_t& ierr, int32_t iunt);

}  // namespace kvr
