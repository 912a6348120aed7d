// The neutral text writer and TMPRD over fuzzed temporary-stream contents: the stream
// file is either the fuzzed bytes as they stand (record markers included) or fuzzed words
// framed as stream records, so that the writer's decoding is reached as well as the
// reader's checks.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dbinterface/diblocks.h"
#include "dbinterface/dineu.h"
#include "dbinterface/tmpstream.h"
#include "fuzzsupport.h"
#include "modeldb/elttab.h"

using namespace kvr;

namespace {

constexpr int32_t kTempUnit = 41;
constexpr int32_t kNeutralUnit = 42;

void putWord(std::string& out, uint32_t w) {
  for (int b = 0; b < 4; ++b) out += static_cast<char>((w >> (8 * b)) & 0xFF);
}

// WORDS as stream records of 1024 words, each framed by its length markers.
std::string framed(const std::vector<int32_t>& words) {
  std::string out;
  constexpr size_t kCarried = kStreamRecordWords - 1;
  for (size_t at = 0; at == 0 || at < words.size(); at += kCarried) {
    const size_t n = std::min(kCarried, words.size() - at);
    putWord(out, kStreamRecordWords * 4);
    putWord(out, static_cast<uint32_t>(n + 1));
    for (size_t k = 0; k < kCarried; ++k) putWord(out, k < n ? static_cast<uint32_t>(words[at + k]) : 0);
    putWord(out, kStreamRecordWords * 4);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  ELTBLD(0);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int mode = in.ConsumeIntegralInRange(0, 2);
  const int32_t format = in.ConsumeIntegralInRange(0, 2);
  if (mode == 0) {
    fuzz::writeFile("stream.tmp", in.ConsumeRemainingBytesAsString());
  } else {
    std::vector<int32_t> words;
    while (in.remaining_bytes() >= 4) words.push_back(in.ConsumeIntegral<int32_t>());
    fuzz::writeFile("stream.tmp", framed(words));
  }

  DICTL = {};
  DIUNIT = {};
  DISTAT = {};
  TMPBUF = {};
  DIBLNK = kBlankCode;
  DICTL.luopt = kOutputNeutral;
  DICTL.numberFormat = format;
  DICTL.itfnum = 1;
  DICTL.tempUnit(1) = kTempUnit;
  DICTL.luneu = kNeutralUnit;
  io::OpenSpec want;
  want.file = "stream.tmp";
  want.form = io::Form::Unformatted;
  want.status = io::Status::Old;
  if (io::unitOpen(kTempUnit, want) != io::kIosOk) return 0;
  want.file = "/dev/null";
  want.form = io::Form::Formatted;
  if (io::unitOpen(kNeutralUnit, want) != io::kIosOk) return 0;

  if (mode == 2) {
    // Reads of every size up to two records, until the stream ends.
    std::vector<int32_t> words(2 * kStreamRecordWords);
    int32_t flag = 0;
    for (size_t n = 1; flag == 0; n = n * 7 % words.size() + 1) {
      TMPRD(std::span<int32_t>(words.data(), n), 1, flag);
    }
  } else {
    // Datasets follow each other until the stream fails or ends.
    for (int k = 0; k < 1000 && writeNeutralDataset(1) == kNeutralOk; ++k) {
    }
    writeNeutralEnd();
  }
  io::unitClose(kTempUnit);
  io::unitClose(kNeutralUnit);
  return 0;
}
