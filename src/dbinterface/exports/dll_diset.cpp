#include <algorithm>
#include <cstddef>

#include "dbinterface/dimodel.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

namespace {

constexpr int32_t kSetNameLength = 8;
constexpr int32_t kSetTitleLength = 30;

}  // namespace

extern "C" KVR_EXPORT void dll_diset(char* setnam, char* stitle, int32_t* ids, int32_t* nids,
                                     int32_t* ierr, int32_t* iunt) {
  // A record that could not be finished is refused.
  kvr::forwardCall(
      [&] {
        const std::span<const int32_t> list(ids, static_cast<std::size_t>(std::max(*nids, 0)));
        kvr::DISET(kvr::FText(setnam, kSetNameLength), kvr::FText(stitle, kSetTitleLength), list,
                   *nids, *ierr, *iunt);
      },
      [&] { *ierr = 129; });
}
