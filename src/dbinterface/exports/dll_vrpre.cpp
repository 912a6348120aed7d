// dll_vrpre: the host's entry to VRPRE, the current date and time with the library's
// version number and release letter. Eight addresses, no texts.
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "runtime/dattim.h"

extern "C" KVR_EXPORT void dll_vrpre(int32_t* day, int32_t* month, int32_t* year, int32_t* hour,
                                     int32_t* minute, int32_t* second, float* version,
                                     int32_t* letter) {
  if (day == nullptr || month == nullptr || year == nullptr || hour == nullptr ||
      minute == nullptr || second == nullptr || version == nullptr || letter == nullptr) {
    return;
  }
  kvr::forwardCall(
      [&] { kvr::VRPRE(*day, *month, *year, *hour, *minute, *second, *version, *letter); });
}
