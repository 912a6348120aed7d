#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "runtime/envirn.h"

namespace {

constexpr int32_t kNameLength = 30;
constexpr int32_t kValueLength = 150;

}  // namespace

extern "C" KVR_EXPORT void dll_envirn(char* name, char* value) {
  kvr::FText text(value, kValueLength);
  // An environment that cannot be read is not set.
  kvr::forwardCall([&] { kvr::ENVIRN(kvr::FText(name, kNameLength), text); },
                   [&] { text.fill(' '); });
}
