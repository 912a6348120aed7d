#include "dbinterface/lcfind_interim.h"

namespace kvr {

void LCFIND(std::span<const int32_t>, int32_t, std::span<int32_t>, int32_t& result,
            int32_t& position) {
  result = -1;
  position = 0;
}

}  // namespace kvr
