// Database files and their names.
//
// A model is stored under its model name in up to three files: the geometry file (kind
// letter "G"), the index file ("M", the control records, classes 101 to 107) and the data
// file ("V", the datasets, classes 1 to 100). The extension of a file is "." followed by
// the kind letter and the two digits of its format generation; the current generation
// is 71. Older generations, newest first: 70, 64, 63, 62, 61, 60, 51, 50, 40, 20. The
// index file of generation 20 is the shared file "kvrindex.m20" beside the data file.
//
// Extensions travel as 4-character texts. The probes of the model database
// (modeldb/dbprobe.h) name a model's files by the one model-file-name rule that the
// create, the open and the deletion use, so a model the library wrote is always found,
// and test them by the existence inquiry, which also finds a file whose name differs only
// in case.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/ftext.h"

namespace kvr {

// EXT receives ".G71", the current geometry-file extension.
void EXTG71(FText ext);

// EXT receives the current extension of KIND: 0 ".M71" (index file), 1 ".V71" (data
// file), any other kind four blanks.
void EXTMV(FText ext, int32_t kind);

// EXT receives the next older geometry extension after OLD (".G40" gives ".G20"); four
// blanks for ".G20" and for any text that is no geometry extension. OLD is compared as a
// blank-padded 4-character text and may be EXT itself.
void EXTGPR(FText ext, FText old);

// EXT receives the next older index or data extension after OLD, of the same kind
// (".M40" gives ".M20", ".V40" gives ".V20"); four blanks for ".M20", ".V20" and any text
// that is neither. OLD may be EXT itself.
void EXTMVP(FText ext, FText old);

// EXT receives ".G71" and ".V71" as 5-character texts, a NUL after the fourth character,
// for callers that want a NUL-terminated extension.
void EXTGNL(FText ext);
void EXTVNL(FText ext);

}  // namespace kvr
