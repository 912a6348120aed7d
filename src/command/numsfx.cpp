#include "command/numsfx.h"

#include "runtime/nxttkn.h"

namespace kvr {

void NUMSFX(std::span<const int32_t> line, int32_t length, int32_t kind, int32_t& result) {
  result = 0;
  int32_t token = kTokenNone;
  int32_t first = 1;
  int32_t last = 0;
  int32_t value = 0;
  float real = 0.0f;
  NXTTKN(line, 1, length, kLexInteger, token, first, last, value, real);
  if (token != kTokenInteger) return;
  if (value % 100 == kind) result = value / 100;
}

}  // namespace kvr
