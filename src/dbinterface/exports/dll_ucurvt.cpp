#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A curve that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_ucurvt(int32_t* number, int32_t* mode, char* name, int32_t* type,
                                      float* fillet, int32_t* repeat, int32_t* work,
                                      int32_t* wsize, float* values, int32_t* vsize,
                                      int32_t* written, int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UCURVT(*number, *mode, kvr::FText(name, kvr::kUCURVTNameLength), *type, *fillet,
                    *repeat, std::span<int32_t>(work, static_cast<size_t>(std::max(*wsize, 0))),
                    *wsize, std::span<float>(values, static_cast<size_t>(std::max(*vsize, 0))),
                    *vsize, *written, *status);
      },
      [&] { *status = 1; });
}
