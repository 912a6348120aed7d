// A TIFF picture written by the TIFF writer against the plain-I/O floor: the same image
// bytes written with fwrite.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/unitio.h"
#include "plot/tiff/tifwrite.h"

namespace {

constexpr int32_t kWidth = 1600;
constexpr int32_t kHeight = 1200;

std::string benchFile() { return kvr::io::tempDirectory() + "/kvr_bench_picture.tif"; }

void BM_TifPalettePicture(benchmark::State& state) {
  for (auto _ : state) {
    kvr::TifOpen(benchFile(), kWidth, kHeight, 0, 0, 64);
    for (int32_t x = 1; x <= kWidth; ++x) kvr::TifPixel(x, x % kHeight + 1, 71, 0);
    kvr::TifFlush();
    kvr::TifClose();
  }
  std::filesystem::remove(benchFile());
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}
BENCHMARK(BM_TifPalettePicture);

void BM_TifFwriteFloor(benchmark::State& state) {
  std::vector<unsigned char> row(kWidth, 64);
  for (auto _ : state) {
    std::FILE* f = std::fopen(benchFile().c_str(), "wb");
    for (int32_t y = 0; y < kHeight; ++y) std::fwrite(row.data(), 1, row.size(), f);
    std::fclose(f);
  }
  std::filesystem::remove(benchFile());
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}
BENCHMARK(BM_TifFwriteFloor);

}  // namespace
