#include "modeldb/dbwords.h"

#include <cstdint>

#include "modeldb/dbopen_interim.h"

namespace kvr {
namespace {

constexpr int32_t kForgetHolder = 2;

}  // namespace

void resetDatabaseWords() {
  int32_t unused = 0;
  DBLOCK(kForgetHolder, unused);
}

}  // namespace kvr
