// The settings-file lookup: a fuzzed settings file and a fuzzed request of four words.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fuzzsupport.h"
#include "runtime/resget.h"

using namespace kvr;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::string words[4];
  for (std::string& w : words) w = in.ConsumeRandomLengthString(24);
  const int32_t valueLength = in.ConsumeIntegralInRange(0, 200);
  fuzz::writeFile("settings.ini", in.ConsumeRemainingBytesAsString());

  std::string name = "settings.ini";
  std::string value(static_cast<size_t>(valueLength), '#');
  int32_t status = 0;
  int32_t openStatus = 0;
  RESONE(FText(name), static_cast<int32_t>(name.size()), FText(words[0]), FText(words[1]),
         FText(words[2]), FText(words[3]), false, FText(value), status, openStatus);
  return 0;
}
