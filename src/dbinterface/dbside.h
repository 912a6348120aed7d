// The database of the current model as the writing road names it and lets it go.
//
// A model's files are named from the name the host gave in its model header
// (DICTL.modelGiven), through the one model-file-name rule (runtime/modelname.h): the
// header's probe, the create and the open of the dataset processing, and the deletion of
// the clean-up all name the same files. "out/beam" is out/BEAM.M71 and out/BEAM.V71,
// whatever the upper-cased copy in DICTL.modelName or in the header record says.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/ftext.h"

namespace kvr {

// True when the current index and data files of the model NAME, as the host gave it (the
// first 20 characters at most), both exist.
bool modelFilesExist(FText name);

// The name of the current model as the host gave it: 20 character codes.
std::span<const int32_t> givenModelCodes();

// modelFilesExist for the current model.
bool currentModelFilesExist();

// Releases the database of the model last opened: its lock and its files. Nothing is
// touched while neither file is open (a model whose datasets were never processed, or
// whose files were closed already): the host's database units may serve something else.
void releaseDatabase();

}  // namespace kvr
