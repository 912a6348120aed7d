// The start of the writing road: DIINI stores the host's choices, prints its banner,
// clears the whole state of the road and runs the system start-up; DIDBI then marks the
// database side ready for the dataset headers.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Starts the writing road. LUOPT: 1 database only, 2 neutral text file only, 3 both.
// LUDB8 and LUDB7 are the units of the data and index files, LUNEU that of the neutral
// text file, IUNITS(1..ITFNUM) the temporary units (1 to 10 of them), IKEEP is stored and
// never read, NFORM the neutral number format (5: I5 and E12.5, 10: I10 and E12.5, any
// other value I10 and E14.7), LUMSG1 and LUMSG2 the message units (99 none), IPGSIZ the
// database page size (2040, 4080, 8160, 16320 or 32640 words).
//
// The message units, the file units, IKEEP and the number format are stored first, in
// every call; LUOPT and ITFNUM only when they are valid, so that no later routine runs
// past the ten per-unit tables or writes nothing while it answers 0. The banner and the
// number-format line are printed before any check. IERR: 0 started; 11 already started
// (only the stored values changed); 12 LUOPT, 13 ITFNUM, 25 IPGSIZ invalid (nothing else
// changed). Every call resets the message counts of all units.
//
// Once started: the state of every unit and of the model is cleared, the element-type
// table is built, the temporary channels are reset and each temporary unit that is open
// is rewound (a unit restarted after a stop begins an empty stream), the level flags of
// the database session are set, the system start-up runs and the model database's entity
// labels, descriptor dispatch and database dump are installed. Unless only the neutral
// text file is written, the page size and the database units are installed and the
// database constants, the display defaults and the console output are set up.
void DIINI(int32_t luopt, int32_t ludb8, int32_t ludb7, int32_t luneu,
           std::span<const int32_t> iunits, int32_t itfnum, int32_t ikeep, int32_t nform,
           int32_t lumsg1, int32_t lumsg2, int32_t ipgsiz, int32_t& ierr);

// Marks the database ready for dataset headers: the model-active flag 0, the
// database-ready flag 1. OPENED becomes 1 and IERR 0.
void DIDBI(int32_t& opened, int32_t& ierr);

}  // namespace kvr
