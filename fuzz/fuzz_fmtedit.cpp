// Fortran editing: a format and its items, single edit descriptors and input fields, all
// taken from the input.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "platform/fmtedit.h"

using namespace kvr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string format = in.ConsumeRandomLengthString(200);
  std::vector<std::string> texts;  // the views among the items point here
  texts.reserve(64);
  std::vector<fmt::Item> items;
  while (items.size() < 64 && in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange(0, 4)) {
      case 0: items.emplace_back(in.ConsumeIntegral<int32_t>()); break;
      case 1: items.emplace_back(in.ConsumeIntegral<int64_t>()); break;
      case 2: items.emplace_back(in.ConsumeFloatingPoint<float>()); break;
      case 3: items.emplace_back(in.ConsumeFloatingPoint<double>()); break;
      default:
        texts.push_back(in.ConsumeRandomLengthString(40));
        items.emplace_back(std::string_view(texts.back()));
    }
  }
  fmt::format(format, items);
  fmt::listDirected(items);

  // Single descriptors over the width range the format interpreter allows.
  FuzzedDataProvider field(data, size);
  const double x = field.ConsumeFloatingPoint<double>();
  const int w = field.ConsumeIntegralInRange(-2, 400);
  const int d = field.ConsumeIntegralInRange(-2, 400);
  fmt::editI(field.ConsumeIntegral<int64_t>(), w);
  fmt::editF(x, w, d);
  fmt::editE(x, w, d);
  fmt::editG(x, w, d);
  const std::string text = field.ConsumeRemainingBytesAsString();
  int32_t i = 0;
  double r = 0;
  float f = 0;
  fmt::readI(text, i);
  fmt::readF(text, d, r);
  fmt::readF(text, d, f);
  intOf(x);
  nintOf(x);
  return 0;
}
