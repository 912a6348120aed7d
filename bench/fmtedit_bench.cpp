// Fortran editing for the neutral-file writer, which makes millions of E12.5 fields,
// against the floor of printing the same numbers with snprintf("%12.5E").
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/fmtedit.h"

namespace {

// A spread of magnitudes and signs, as coordinates and results have.
std::vector<double> sampleValues() {
  std::vector<double> values;
  double x = 0.000123456789;
  for (int k = 0; k < 1024; ++k) {
    values.push_back((k % 3 == 0 ? -x : x) * (1 + k % 7));
    x *= 1.0137;
  }
  return values;
}

void BM_EditE12_5(benchmark::State& state) {
  const std::vector<double> values = sampleValues();
  for (auto _ : state) {
    for (double v : values) {
      std::string field = kvr::fmt::editE(v, 12, 5);
      benchmark::DoNotOptimize(field.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * int64_t(values.size()));
}
BENCHMARK(BM_EditE12_5);

void BM_SnprintfE12_5Floor(benchmark::State& state) {
  const std::vector<double> values = sampleValues();
  char field[32];
  for (auto _ : state) {
    for (double v : values) {
      std::snprintf(field, sizeof field, "%12.5E", v);
      benchmark::DoNotOptimize(field);
    }
  }
  state.SetItemsProcessed(state.iterations() * int64_t(values.size()));
}
BENCHMARK(BM_SnprintfE12_5Floor);

// One neutral-file coordinate line: an identifier and three reals.
void BM_FormatI10_3E12_5(benchmark::State& state) {
  const std::vector<double> values = sampleValues();
  for (auto _ : state) {
    for (size_t k = 0; k + 3 <= values.size(); k += 3) {
      std::vector<std::string> records = kvr::fmt::format(
          "(I10,3E12.5)", {int32_t(k), values[k], values[k + 1], values[k + 2]});
      benchmark::DoNotOptimize(records.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * int64_t(values.size() / 3));
}
BENCHMARK(BM_FormatI10_3E12_5);

void BM_SnprintfI10_3E12_5Floor(benchmark::State& state) {
  const std::vector<double> values = sampleValues();
  char line[64];
  for (auto _ : state) {
    for (size_t k = 0; k + 3 <= values.size(); k += 3) {
      std::snprintf(line, sizeof line, "%10d%12.5E%12.5E%12.5E", int(k), values[k], values[k + 1],
                    values[k + 2]);
      benchmark::DoNotOptimize(line);
    }
  }
  state.SetItemsProcessed(state.iterations() * int64_t(values.size() / 3));
}
BENCHMARK(BM_SnprintfI10_3E12_5Floor);

}  // namespace
