#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "platform/unitio.h"

// Closes the unit and deletes its file. The host is told nothing, so a close that fails
// is passed over: the unit is disconnected all the same.
extern "C" KVR_EXPORT void dll_kvclose(int32_t* iunit) {
  kvr::forwardCall([&] { kvr::io::unitClose(*iunit, true); });
}
