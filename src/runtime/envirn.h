// The environment lookup of the library's own code: every setting it takes from the
// environment is read here or through SvGetenv, so that an installed option table and
// the registry files answer for a variable that is not set.
#pragma once

#include "runtime/ftext.h"

namespace kvr {

// VALUE receives what SvGetenv finds for NAME (trailing blanks removed), cut or
// blank-padded to its length; all blanks when the variable is set nowhere or NAME is
// blank.
void ENVIRN(FText name, FText value);

}  // namespace kvr
