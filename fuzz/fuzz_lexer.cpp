// The command lexer: a fuzzed line walked token by token in a fuzzed mode, with fuzzed
// start and end positions for the first token.
#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/nxttkn.h"

using namespace kvr;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  CHRSET();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int32_t mode = in.ConsumeIntegralInRange(-1, 10);
  const int32_t start = in.ConsumeIntegralInRange(-2, 300);
  const int32_t end = in.ConsumeIntegralInRange(-2, 300);
  const bool rawCodes = in.ConsumeBool();
  std::vector<int32_t> line;
  while (in.remaining_bytes() > 0) {
    line.push_back(rawCodes ? in.ConsumeIntegral<int32_t>() : codeOf(in.ConsumeIntegral<char>()));
  }
  const auto length = static_cast<int32_t>(line.size());

  int32_t kind = 0, first = 0, last = 0, ivalue = 0;
  float rvalue = 0;
  NXTTKN(line, start, end, mode, kind, first, last, ivalue, rvalue);
  // Then the whole line as a caller walks it: each token after the last one.
  for (int32_t at = 1; at <= length;) {
    kind = 0;
    last = at - 1;
    NXTTKN(line, at, length, mode, kind, first, last, ivalue, rvalue);
    if (kind == kTokenNone || last < at) break;
    at = last + 1;
  }
  return 0;
}
