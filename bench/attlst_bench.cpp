// The attribute list: a key search per element of a list of N entries, as the element
// queries make one per element. Its cost per search must not grow with N.
#include <benchmark/benchmark.h>

#include <array>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/corsto.h"
#include "runtime/incftb.h"
#include "runtime/modcon.h"
#include "runtime/reghed.h"
#include "runtime/slttab.h"

namespace kvr {
namespace {

void fill(int32_t n) {
  CoreFreeFile(-1);
  REGHED = {};
  SLTTAB = {};
  INCFTB = {};
  MODCON.word(kModFirstCode) = 0x20202020;
  MODCON.word(kModDeletedMarker) = 0x2020202A;
  MODCON.word(kModWordsPerValue) = 1;
  int32_t stat = 0;
  ARRNUM(1);
  ARRREG(2, 1, stat);
  for (int32_t id = 1; id <= n; ++id) {
    std::array<int32_t, 2> label = {0x20202020, 0x20202020};
    int32_t key = id;
    int32_t count = 1;
    ATTFND(-1, label, -10, key, count);
  }
}

void BM_KeySearch(benchmark::State& state) {
  const auto n = static_cast<int32_t>(state.range(0));
  fill(n);
  int32_t id = 0;
  for (auto _ : state) {
    id = id % n + 1;
    benchmark::DoNotOptimize(attributeEntry(-10, id));
  }
  CoreFreeFile(-1);
}
BENCHMARK(BM_KeySearch)->Arg(1000)->Arg(100000);

}  // namespace
}  // namespace kvr
