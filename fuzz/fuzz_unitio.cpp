// Unit I/O: a file of fuzzed bytes read as formatted sequential, unformatted sequential
// with record markers, and direct access; then every record call of the other kinds on
// the same connection, and a formatted direct open.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "fuzzsupport.h"
#include "platform/unitio.h"

using namespace kvr;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int kind = in.ConsumeIntegralInRange(0, 3);
  const int32_t recl = in.ConsumeIntegralInRange(1, 64);
  const size_t capacity = in.ConsumeIntegralInRange<size_t>(0, 80);
  fuzz::writeFile("unit.dat", in.ConsumeRemainingBytesAsString());

  constexpr int32_t kUnit = 20;
  io::OpenSpec want;
  want.file = "unit.dat";
  want.status = io::Status::Old;
  want.form = kind == 0 ? io::Form::Formatted : io::Form::Unformatted;
  want.access = kind == 2 ? io::Access::Direct : io::Access::Sequential;
  want.recl = recl;
  if (kind == 3) {
    want.form = io::Form::Formatted;
    want.access = io::Access::Direct;
  }
  if (io::unitOpen(kUnit, want) != io::kIosOk) return 0;

  std::string record;
  char fixed[16];
  std::vector<int32_t> words(capacity);
  int32_t count = 0;
  // Every record read consumes at least one byte of the file, or ends the loop.
  for (int k = 0; k < 100000; ++k) {
    int32_t rc = io::kIosOk;
    if (kind == 0) {
      rc = k % 2 ? io::readRecord(kUnit, fixed, sizeof fixed) : io::readRecord(kUnit, record);
    } else if (kind == 1) {
      rc = io::readUnformatted(kUnit, words, count);
    } else {
      rc = io::readDirect(kUnit, k + 1, words);
    }
    if (rc != io::kIosOk) break;
  }
  io::readRecord(kUnit, record);
  io::readUnformatted(kUnit, words, count);
  io::readDirect(kUnit, 1, words);
  io::writeRecord(kUnit, "x");
  io::writeUnformatted(kUnit, words);
  io::writeDirect(kUnit, 2, words);
  io::unitRewind(kUnit);
  io::unitRecords(kUnit);
  io::unitClose(kUnit);
  return 0;
}
