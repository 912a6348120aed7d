// The model constants, the database layout words and the version words.
#include <array>

#include "modeldb/idxlay.h"
#include "runtime/iomode.h"
#include "runtime/iounit.h"
#include "runtime/startup.h"

namespace kvr {
namespace {

constexpr int32_t kRelease = 1;
constexpr int32_t kDatabaseConstant = 5000;
constexpr int32_t kIndexPageWords = 100;

// IDXLAY words 39 to 82; words 73-79 are the record lengths of control classes 101-107.
constexpr int32_t kLayoutFirst = 39;
constexpr std::array<int32_t, 44> kLayout = {
    0, 0, 0, 0, 27, 0, 0, 0, 0, 0,     // 39-48
    0, 0, 0, 0, 12, 8, 1, 2, 1, 1,     // 49-58
    1, 0, 0, 0, 6, 6, 6, 6, 8, 20,     // 59-68
    10, 0, 0, 0, 8, 11, 60, 48, 96, 96,  // 69-78
    96, 0, 0, 0,                       // 79-82
};

}  // namespace

void INICON() {
  IOMODE.release = kRelease;
  IOMODE.releaseLetter = 0;
  IOMODE.databaseConstant = kDatabaseConstant;
}

void USEMPT() {}

void SETDEF() {
  for (size_t k = 0; k < kLayout.size(); ++k) {
    IDXLAY.word(kLayoutFirst + static_cast<int32_t>(k)) = kLayout[k];
  }
  DBPARM.fileSlot(1).pageSize = kIndexPageWords;
  DBPARM.fileSlot(2) = {};
}

}  // namespace kvr
