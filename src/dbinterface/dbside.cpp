#include "dbinterface/dbside.h"

#include <algorithm>
#include <string_view>

#include "dbinterface/diblocks.h"
#include "modeldb/dbopen.h"
#include "modeldb/dbprobe.h"
#include "runtime/codtxt.h"
#include "runtime/iounit.h"

namespace kvr {
namespace {

// File types of the database's index and data files.
constexpr int32_t kIndexFileType = 7;
constexpr int32_t kDataFileType = 8;

}  // namespace

bool modelFilesExist(FText name) {
  const int32_t n = std::min(textExtent(name), Dictl::kModelNameCodes);
  FixedText probe(n, name.view().substr(0, static_cast<std::size_t>(n)));
  int32_t geoGens = 0;
  int32_t geoExists = 0;
  int32_t modelGens = 0;
  int32_t exists = 0;
  DBPROB(probe, n, geoGens, geoExists, modelGens, exists);
  return exists == 1;
}

std::span<const int32_t> givenModelCodes() { return DICTL.modelGiven.words; }

bool currentModelFilesExist() {
  FixedText name(Dictl::kModelNameCodes);
  CODTXT(givenModelCodes(), Dictl::kModelNameCodes, name);
  return modelFilesExist(name);
}

void releaseDatabase() {
  if (IOUNIT.openFlag(kIndexFileType) == 0 && IOUNIT.openFlag(kDataFileType) == 0) return;
  DBCLOS();
}

}  // namespace kvr
