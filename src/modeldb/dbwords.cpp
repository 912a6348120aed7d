#include "modeldb/dbwords.h"

#include <cstdint>

#include "modeldb/dblevl.h"
#include "modeldb/dbopen.h"
#include "modeldb/dbpage.h"

namespace kvr {
namespace {

constexpr int32_t kForgetHolder = 2;

}  // namespace

void resetDatabaseWords() {
  DBLEVL.currentTypeCode = kNewTypeCode;
  int32_t unused = 0;
  DBLOCK(kForgetHolder, unused);
  resetPseudoUnits();
}

}  // namespace kvr
