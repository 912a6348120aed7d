// Files by type: the library opens its standard files by a file-type number (FILTYP)
// rather than by unit and name. FOUVRE supplies the unit from the type's slot of IOUNIT,
// a default name and directory, a default extension and the record length of the
// direct-access types, then opens the file through TLFOPN, or, by the signs of its
// arguments, only tests that the file exists or deletes it. It marks the types it opened,
// so that FILCLS can close them, and keeps the name of the plot file for the plot-file
// command.
//
// Names: a name without an extension (no "." after its last "/") gets the type's default
// extension, and a name without any "/" takes the case of its first letter throughout
// (NAMCAS), so a bare name typed in capitals gets a capital extension. The database files
// of types 7, 8 and 21 are named by the model-file-name rule instead (modelname.h), as
// every other routine that names them does.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/ftext.h"

namespace kvr {

// TYPE is the file type (1..28), negative for an existence test; NAME holds COUNT
// character codes (0: no name); FORM and MODE are the codes of TLFOPN. STATUS:
//  - open (TYPE > 0, MODE > 0): TLFOPN's status (0, 1 missing, -1 no access, -999 no
//    name, a positive I/O code);
//  - existence test (TYPE < 0): 1 when the file exists, 0 when not or without a name;
//  - deletion (TYPE > 0, MODE 0 or below): 0 when the file was opened with |MODE| and
//    deleted, 1 when it has no name or cannot be opened or deleted;
//  - 1 for a type that cannot be opened (15, 17, 18, 24, outside 1..28);
//  - 2 for types 7, 8, 21 and 22 without a name.
// Types 1, 2, 10 and 11, the host's terminal units, are only marked open (status 0).
void FOUVRE(int32_t type, std::span<const int32_t> name, int32_t count, int32_t form,
            int32_t mode, int32_t& status);

// Appends the default extension of TYPE to the first LENGTH characters of NAME when they
// have none, and applies NAMCAS when they hold no "/"; LENGTH is updated. The text is cut
// at its declared length.
void DEFEXT(FText name, int32_t& length, int32_t type);

// Gives every letter of the first LENGTH characters of NAME the case of its first letter.
void NAMCAS(FText name, int32_t length);

}  // namespace kvr
