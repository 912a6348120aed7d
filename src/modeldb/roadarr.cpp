// Checked record input and output of the writing road's named arrays.
#include "modeldb/roadarr.h"

#include <algorithm>

#include "modeldb/arrreg.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 0;
constexpr int32_t kWrite = -1;
constexpr int32_t kIntegers = -1;

// The named-array number of handle word HANDLE in the registry in force, 0 for none.
int32_t namedArray(int32_t handle) {
  if (handle < 1 || handle > AppSta::kHandles) return 0;
  const int32_t k = APPSTA.ARRHND(handle);
  return k >= 1 && k <= std::min(REGHED.top, RegHed::kArrays) ? k : 0;
}

}  // namespace

int32_t roadRecords(int32_t handle) {
  const int32_t k = namedArray(handle);
  return k == 0 ? 0 : REGHED.ARRLEN(k);
}

RoadArray::RoadArray(int32_t handle) {
  const int32_t k = namedArray(handle);
  if (k == 0) return;
  length_ = &REGHED.ARRLEN(k);
  store_ = CoreRecords(REGHED.file, REGHED.ARRCOR(k));
}

bool roadRecordsExist(int32_t handle, int64_t first, int64_t n) {
  return first >= 1 && n >= 0 && first + n - 1 <= roadRecords(handle);
}

void getRoadWords(int32_t handle, int32_t first, std::span<int32_t> words) {
  int32_t stat = 0;
  ARRIO(kRead, APPSTA.ARRHND(handle), first, static_cast<int32_t>(words.size()), kIntegers,
        words, {}, stat);
}

void putRoadWords(int32_t handle, int32_t first, std::span<int32_t> words) {
  int32_t stat = 0;
  ARRIO(kWrite, APPSTA.ARRHND(handle), first, static_cast<int32_t>(words.size()), kIntegers,
        words, {}, stat);
}

}  // namespace kvr
