// dll_tlmknm: the host's entry to TLMKNM. The directory is a text of the length the host
// passes in the second argument (a negative length counts as 0); that length is not
// passed on. The file name is a text of 10 characters, the path a text of 150.
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "runtime/fileutil.h"

namespace {

constexpr int32_t kFileLength = 10;
constexpr int32_t kPathLength = 150;

}  // namespace

extern "C" KVR_EXPORT void dll_tlmknm(char* directory, int32_t* length, char* file, char* path) {
  if (path == nullptr) return;
  // A path that could not be built is blank.
  kvr::forwardCall(
      [&] {
        int32_t n = length != nullptr && *length > 0 && directory != nullptr ? *length : 0;
        kvr::FText dir(directory, n);
        kvr::FText name = file != nullptr ? kvr::FText(file, kFileLength) : kvr::FText();
        kvr::TLMKNM(dir, name, kvr::FText(path, kPathLength));
      },
      [&] { kvr::FText(path, kPathLength).fill(' '); });
}
