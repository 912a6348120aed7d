// The registry files and the archive reader: a fuzzed registry file looked up with a
// fuzzed name, a fuzzed text with %VAR% references expanded, and a fuzzed revision
// archive read line by line and in blocks.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

#include "fuzzsupport.h"
#include "platform/registry.h"
#include "runtime/svutil/rcsio.h"
#include "runtime/svutil/svenv.h"

using namespace kvr;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  setenv("KVR_REGISTRY_USER", "user.reg", 1);
  setenv("KVR_REGISTRY_MACHINE", "machine.reg", 1);
  setenv("KVRFUZZ", "value", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string name = in.ConsumeRandomLengthString(40);
  const std::string text = in.ConsumeRandomLengthString(200);
  const std::string archive = in.ConsumeRandomLengthString(4000);
  const std::string registry = in.ConsumeRemainingBytesAsString();

  fuzz::writeFile("user.reg", registry);
  fuzz::writeFile("machine.reg", archive);
  SvRegClose();
  SvGetRegistry(name.c_str());
  registry::Hive hive;
  if (hive.open("user.reg")) hive.find(name);
  registry::expandEnvironment(text);

  fuzz::writeFile("text,v", archive);
  if (SvRcsFile* r = SvRcsOpen("text", "r")) {
    char line[64];
    while (SvRcsGets(line, sizeof line, r) != nullptr) {
    }
    if (SvRcsRewind(r) == 0) {
      char block[100];
      while (SvRcsRead(block, 1, sizeof block, r) > 0) {
      }
    }
    SvRcsClose(r);
  }
  return 0;
}
