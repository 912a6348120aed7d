// Direct-access page writes through the unit layer against the plain-I/O floor: the same
// bytes written with fwrite.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/unitio.h"

namespace {

constexpr int32_t kRecl = 8160;
constexpr int kPages = 256;

std::string benchFile() { return kvr::io::tempDirectory() + "/kvr_bench_pages.dat"; }

void BM_DirectPageWrites(benchmark::State& state) {
  kvr::io::OpenSpec want;
  want.file = benchFile();
  want.access = kvr::io::Access::Direct;
  want.form = kvr::io::Form::Unformatted;
  want.recl = kRecl;
  kvr::io::unitOpen(90, want);
  std::vector<int32_t> page(kRecl, 42);
  for (auto _ : state) {
    for (int p = 1; p <= kPages; ++p) kvr::io::writeDirect(90, p, page);
  }
  kvr::io::unitClose(90, true);
  state.SetBytesProcessed(state.iterations() * kPages * kRecl * 4);
}
BENCHMARK(BM_DirectPageWrites);

void BM_FwriteFloor(benchmark::State& state) {
  std::vector<int32_t> page(kRecl, 42);
  FILE* f = std::fopen(benchFile().c_str(), "wb");
  for (auto _ : state) {
    std::fseek(f, 0, SEEK_SET);
    for (int p = 1; p <= kPages; ++p) std::fwrite(page.data(), 4, kRecl, f);
    std::fflush(f);
  }
  std::fclose(f);
  std::filesystem::remove(benchFile());
  state.SetBytesProcessed(state.iterations() * kPages * kRecl * 4);
}
BENCHMARK(BM_FwriteFloor);

void BM_UnformattedStreamRecords(benchmark::State& state) {
  kvr::io::OpenSpec want;
  want.status = kvr::io::Status::Scratch;
  want.form = kvr::io::Form::Unformatted;
  kvr::io::unitOpen(91, want);
  std::vector<int32_t> rec(1024, 7);
  for (auto _ : state) {
    kvr::io::unitRewind(91);
    for (int k = 0; k < kPages; ++k) kvr::io::writeUnformatted(91, rec);
  }
  kvr::io::unitClose(91);
  state.SetBytesProcessed(state.iterations() * kPages * 1024 * 4);
}
BENCHMARK(BM_UnformattedStreamRecords);

}  // namespace
