#include "kvr7dbio.h"
#include "runtime/envirn.h"

namespace {

constexpr int32_t kNameLength = 30;
constexpr int32_t kValueLength = 150;

}  // namespace

extern "C" KVR_EXPORT void dll_envirn(char* name, char* value) {
  kvr::FText text(value, kValueLength);
  try {
    kvr::ENVIRN(kvr::FText(name, kNameLength), text);
  } catch (...) {
    // Nothing may cross into the host: an environment that cannot be read is not set.
    text.fill(' ');
  }
}
