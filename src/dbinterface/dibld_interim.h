// INTERIM: the clean-up of a whole model, as the dataset header calls it when the display
// build of the previous model fails. The stop and error clean-up replace this file (and
// dibld_interim.cpp) whole.
#pragma once

#include <cstdint>

namespace kvr {

// Abandons the dataset on unit IUNT (ILEVEL 1) or the whole model (ILEVEL 2). Interim:
// does nothing; IERR 0.
void DIERR(int32_t ilevel, int32_t& ierr, int32_t iunt);

}  // namespace kvr
