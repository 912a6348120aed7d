#include <cstddef>

#include "dbinterface/dimodel.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modeldb/elttab.h"

extern "C" KVR_EXPORT void dll_ditop(int32_t* ielem, int32_t* itype, int32_t* ieatt1,
                                     int32_t* ieatt2, int32_t* nodes, int32_t* isys, int32_t* ierr,
                                     int32_t* iunt) {
  // A record that could not be finished is refused.
  kvr::forwardCall(
      [&] {
        // The host's node list holds as many numbers as the element type has nodes.
        const std::span<const int32_t> list(nodes, static_cast<std::size_t>(kvr::ELNCNT(*itype)));
        kvr::DITOP(*ielem, *itype, *ieatt1, *ieatt2, list, *isys, *ierr, *iunt);
      },
      [&] { *ierr = 216; });
}
