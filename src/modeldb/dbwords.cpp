#include "modeldb/dbwords.h"

#include <algorithm>
#include <cstdint>

#include "modeldb/dblevl.h"
#include "modeldb/dbopen.h"
#include "modeldb/dbpage.h"
#include "runtime/machcn.h"
#include "runtime/startup.h"

namespace kvr {
namespace {

constexpr int32_t kForgetHolder = 2;
constexpr int32_t kLoaderPageHeader = 38;

}  // namespace

int32_t loaderWordsPerReal() {
  return std::clamp(MACHCN.word(kMachWordsPerReal), 1, kMaxWordsPerReal);
}

void resetDatabaseWords() {
  DBLEVL.currentTypeCode = kNewTypeCode;
  DBLEVL.pageHeaderWords = kLoaderPageHeader;
  // Node entry: 0, id, sequence number, system, then x, y, z of w words each.
  DBLEVL.nodeEntryWords = 3 * MACHCN.word(kMachWordsPerReal) + 4;
  int32_t unused = 0;
  DBLOCK(kForgetHolder, unused);
  resetPseudoUnits();
}

RunHooks RUNHOOKS{resetDatabaseWords, DBENDS};

}  // namespace kvr
