// INTERIM: the display build and the clean-up of a whole model, as the dataset header
// calls them when a model header finds the display datasets of the previous model still
// to be built. The display build and the stop and error clean-up replace this file (and
// dibld_interim.cpp) whole.
#pragma once

#include <cstdint>

namespace kvr {

// Builds the display datasets of the current model. Interim: builds nothing; IERR 0.
void DIBLD(int32_t& ierr);

// Abandons the dataset on unit IUNT (ILEVEL 1) or the whole model (ILEVEL 2). Interim:
// does nothing; IERR 0.
void DIERR(int32_t ilevel, int32_t& ierr, int32_t iunt);

}  // namespace kvr
