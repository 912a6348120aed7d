// The generic open and its companions: every file of the library is opened by TLFOPN,
// which turns a form code, a mode code and a record length into the specifiers of a
// unit open.
//
// Form: 1 formatted sequential, 2 unformatted sequential, 3 unformatted direct access;
// any other value opens unformatted sequential.
// Mode (absolute value; negative asks for a shared open):
//   0 READWRITE/REWIND/UNKNOWN   1 READWRITE/REWIND/NEW     2 READWRITE/REWIND/OLD
//   3 WRITE/APPEND/OLD           4 READ/REWIND/OLD          5 READWRITE/REWIND/SCRATCH
//   6 and above READWRITE/REWIND/UNKNOWN
// Modes 2, 3 and 4 need the file to exist.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/ftext.h"

namespace kvr {

// The I/O debug word of IOUNIT: "OFF", "ON " (announce each open) or "TFM" (describe each
// open in full on the standard output). Three characters, "OFF" at load.
FText ioDebugWord();

// Operating-system access check of a named file: WANT is 2 for write access, 4 for read
// access; the answer is 0 when allowed, -1 when denied. TLFOPN calls it after a
// successful open. Replaceable so that tests can deny; nullptr restores the default.
using AccessCheck = int32_t (*)(std::string_view name, int32_t want);
void setAccessCheck(AccessCheck check);
int32_t checkAccess(std::string_view name, int32_t want);

// Opens UNIT on the trimmed NAME. STATUS: 0 success; 1 an existing-file mode and the file
// does not exist (nothing opened); -1 opened, but the access check denies (the unit stays
// open); -999 a blank name and not a scratch open; a positive I/O code when the open
// failed. NAMLEN, EXTLEN and SPARE are accepted and not used.
void TLFOPN(FText name, int32_t namlen, int32_t extlen, int32_t spare, int32_t unit,
            int32_t form, int32_t mode, int32_t recl, int32_t& status);

// Opens the first N characters of NAME on the first free unit of 40 to 99 (the search
// starts at 40 every time). Answers the unit, -1 when all are open (STATUS unchanged) or
// -2 when the open failed (STATUS from TLFOPN).
int32_t OPNFRE(FText name, int32_t form, int32_t mode, int32_t recl, int32_t& status,
               int32_t n);

// RESULT 1 when a file named by the first LENGTH characters of NAME exists, else 0.
void FEXIST(FText name, int32_t length, int32_t spare1, int32_t spare2, int32_t& result);

// Deletes the file NAME by opening it on UNIT and closing it with deletion. STATUS 0 when
// deleted, 1 when the open failed or the close reported an error.
void FDELET(FText name, int32_t namlen, int32_t extlen, int32_t spare, int32_t unit,
            int32_t form, int32_t mode, int32_t recl, int32_t& status);

}  // namespace kvr
