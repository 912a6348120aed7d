#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A load that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_uload4(int32_t* number, char* name, char* description,
                                      int32_t* word3, int32_t* type, int32_t* word7, int32_t* word8,
                                      int32_t* word9, int32_t* word10, int32_t* kind,
                                      int32_t* entity, int32_t* kind2, int32_t* entity2,
                                      int32_t* count, float* values, int32_t* size,
                                      int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::ULOAD4(*number, kvr::FText(name, kvr::kULOAD4NameLength),
                    kvr::FText(description, kvr::kULOAD4DescriptionLength), *word3, *type, *word7,
                    *word8, *word9, *word10, *kind, *entity, *kind2, *entity2, *count,
                    std::span<float>(values, static_cast<size_t>(std::max(*size, 0))), *size,
                    *status);
      },
      [&] { *status = 2; });
}
