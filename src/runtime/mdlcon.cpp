// The model constants and the version words.
#include "runtime/iomode.h"
#include "runtime/startup.h"

namespace kvr {
namespace {

constexpr int32_t kRelease = 1;
constexpr int32_t kDatabaseConstant = 5000;

}  // namespace

void INICON() {
  IOMODE.release = kRelease;
  IOMODE.releaseLetter = 0;
  IOMODE.databaseConstant = kDatabaseConstant;
}

void USEMPT() {}

}  // namespace kvr
