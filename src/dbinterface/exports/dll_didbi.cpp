#include "dbinterface/diini.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

// Arguments 1, 3 (6 characters), 4 (79 characters) and 5 are neither read nor written.
extern "C" KVR_EXPORT void dll_didbi(int32_t* /*arg1*/, int32_t* opened, char* /*text6*/,
                                     char* /*text79*/, int32_t* /*arg5*/, int32_t* ierr) {
  kvr::forwardCall([&] { kvr::DIDBI(*opened, *ierr); }, [&] { *ierr = 29; });
}
