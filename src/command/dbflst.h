// DBFLST: the models of the current directory, found by their database files (geometry,
// index and data files of the current or an earlier generation), for the model-file
// lists of the object types.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace kvr {

inline constexpr int32_t kModelNameChars = 20;

// One model of the list.
struct ModelFile {
  std::array<char, kModelNameChars> name{};  // blank-padded, in the case of its file
  int32_t length = 0;       // with the lengths switch 1: the name's length
  int32_t geoGens = 0;      // with the probe switch 1: DBPROB's generations back of the
  int32_t modelGens = 0;    //   newest older geometry file and model files, and whether
  int32_t geoExists = 0;    //   the current geometry file and the current model files
  int32_t modelExists = 0;  //   exist (1)
};

// Lists the models of the current directory into FILES (their names blanked first; at
// most MAXIMUM of them, and no more than FILES holds). SELECTION chooses the files
// listed and the models kept, by DBPROB's probe of each model's files:
//   1 "*.?71": a current geometry file or current model files;
//   2 "*.G71": a current geometry file;
//   3 "*.?71": current model files;
//   4 "*.???": any current or older file;
//   5 "*.???": no current file but an older one.
// A listed file counts when its last four characters are a geometry, index or data
// extension of the current or an earlier generation, compared without regard to case;
// the model name is the file name without them (at most 20 characters), in the file's
// case. A name equal, without regard to case, to the one taken just before or to one in
// the list is skipped. With LENGTHSSWITCH 1 each name's length, with PROBESWITCH 1 the
// probe's results are kept beside it. A model that finds the list full writes "E4070:
// Insufficient array space" and ends the listing. COUNT receives the names listed;
// STATUS 0, or 1 when the directory cannot be listed (no scratch file).
void DBFLST(int32_t selection, int32_t probeSwitch, int32_t lengthsSwitch, int32_t maximum,
            std::span<ModelFile> files, int32_t& count, int32_t& status);

}  // namespace kvr
