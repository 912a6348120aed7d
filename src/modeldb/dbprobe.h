// The probes of a model's database files, by the extension chains of dbnames.h.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/dbnames.h"
#include "runtime/ftext.h"

namespace kvr {

// The longest file name the probes build.
inline constexpr int32_t kMaxProbeName = 128;
// The shared index file of generation 20.
inline constexpr char kGeneration20Index[] = "kvrindex.m20";

// Probes the files of the model named by the first N characters of NAME:
//  - GEOEXISTS 1 when its current geometry file exists;
//  - GEOGENS: of the older geometry generations, 11 - j for the newest that exists, the
//    j-th older one (".G70" gives 10, ".G20" gives 1);
//  - MODELEXISTS 1 when its current data and index files both exist;
//  - MODELGENS: the same count for the newest older generation whose data and index
//    files both exist.
// Each result is 0 unless set. Nothing is probed for N below 1, a blank name, or a file
// name longer than 128 characters.
void DBPROB(FText name, int32_t n, int32_t& geoGens, int32_t& geoExists, int32_t& modelGens,
            int32_t& modelExists);

// Takes the model name from the first blank-delimited word of the 20-code line LINE (so
// a name with a directory, "out/beam", is one name) and probes its files as DBPROB does. GEOFOUND is 1 when the current geometry file exists, MODELFOUND 1 when the
// current data and index files both exist. When either was found STATUS is 0 and NAME
// (a code line) receives the first 20 codes of LINE; otherwise STATUS is -1 and NAME is
// blank in positions 1 to 20. A blank line probes nothing.
void DBLOCN(std::span<const int32_t> line, std::span<int32_t> name, int32_t& status,
            int32_t& geoFound, int32_t& modelFound);

}  // namespace kvr
