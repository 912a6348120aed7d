#include <algorithm>
#include <cstddef>

#include "dbinterface/diblocks.h"
#include "dbinterface/diini.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_diini2(int32_t* luopt, int32_t* ludb8, int32_t* ludb7,
                                      int32_t* luneu, int32_t* iunits, int32_t* itfnum,
                                      int32_t* ikeep, int32_t* nform, int32_t* lumsg1,
                                      int32_t* lumsg2, int32_t* ipgsiz, int32_t* ierr) {
  // A start that could not be finished is no start.
  kvr::forwardCall(
      [&] {
        // Only a count of 1 to 10 is ever used; never look further into the host's list.
        const auto count = static_cast<std::size_t>(std::clamp(*itfnum, 0, kvr::kMaxTempUnits));
        const std::span<const int32_t> units(iunits, count);
        kvr::DIINI(*luopt, *ludb8, *ludb7, *luneu, units, *itfnum, *ikeep, *nform, *lumsg1, *lumsg2,
                   *ipgsiz, *ierr);
      },
      [&] { *ierr = 28; });
}
