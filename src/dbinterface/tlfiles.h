// The file routines that a host calls beside the writing road: it opens its neutral text
// file, its temporary streams and its log by name on units of its own choice, closes them,
// and writes progress lines to its log.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/ftext.h"

namespace kvr {

// Opens FNAME (trailing blanks dropped) on IUNIT. ISTAT 2 opens a scratch file, anything
// else a named file that is made when missing; IFORM 2 formatted, anything else
// unformatted; IACCES 2 appends to the file, anything else starts at its beginning. IMODE
// 1 or 4: the file must exist; 2 or 3: an existing file is deleted first; any other mode
// neither checks nor deletes. A record length (IRECL 1 or more) limits nothing on these
// sequential files. The name is resolved once, for the check, the deletion and the open:
// as given, else the one file of its directory that matches it ignoring case.
// IOSTAT: 0 success, 1 a missing file in mode 1 or 4 (nothing opened), else the status of
// the open or close that failed.
void OPNTLDBF(int32_t iunit, int32_t imode, FText fname, int32_t istat, int32_t iform,
              int32_t iacces, int32_t irecl, int32_t& iostat);

// Closes IUNIT, keeping its file. IOSTAT: 0, or the status of the failing close.
void CLSTLDBF(int32_t iunit, int32_t& iostat);

// Writes one progress line to IUNIT when it is open: IMODE 1 the time and date, 2 "
// PROCESSING MESH DATA", 3 the load step ISTEP, sub-step ISUB and the 20 characters of
// TYPTXT, a negative mode " ERROR " with the code and " FOUND"; 0 and modes above 3
// write nothing.
void WRTTLLOG(int32_t iunit, int32_t imode, int32_t istep, int32_t isub, FText typtxt);

// The line of WRTTLLOG mode 1: " TIME AND DATE : hh:mm dd-mm-yyyy".
std::string timeDateLine(int32_t hour, int32_t minute, int32_t day, int32_t month,
                         int32_t year);

}  // namespace kvr
