// CGM polylines written by the element encoder, one byte a RasWrite call, against the
// plain-I/O floor: the same number of bytes written with fwrite.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/unitio.h"
#include "plot/cgm/cgmenc.h"
#include "plot/raster/rasfile.h"

namespace {

constexpr int32_t kLines = 2000;
constexpr int32_t kPoints = 20;
// A binary POLYLINE of 20 points: a long-form header of 4 bytes and 80 parameter bytes.
constexpr int64_t kBytesPerLine = 84;

std::string benchFile() { return kvr::io::tempDirectory() + "/kvr_bench_lines.cgm"; }

void BM_CgmBinaryPolylines(benchmark::State& state) {
  std::array<float, kPoints> x{};
  std::array<float, kPoints> y{};
  std::array<int32_t, kPoints> ix{};
  std::array<int32_t, kPoints> iy{};
  for (int32_t k = 0; k < kPoints; ++k) {
    ix[static_cast<size_t>(k)] = 100 * k;
    iy[static_cast<size_t>(k)] = 32767 - 50 * k;
  }
  for (auto _ : state) {
    kvr::RasOpen(benchFile());
    kvr::CGMENC.encoding = kvr::kCgmBinary;
    kvr::CGMDEF();
    for (int32_t n = 0; n < kLines; ++n) {
      kvr::CGMBEG(kvr::kCgmPolyline);
      kvr::CGMPTS(kPoints, x, y, ix, iy);
      kvr::CGMEND();
    }
    kvr::RasClose();
  }
  kvr::CGMENC = kvr::CgmEnc{};
  std::filesystem::remove(benchFile());
  state.SetBytesProcessed(state.iterations() * kLines * kBytesPerLine);
}
BENCHMARK(BM_CgmBinaryPolylines);

void BM_CgmFwriteFloor(benchmark::State& state) {
  std::vector<unsigned char> element(kBytesPerLine, 0x40);
  for (auto _ : state) {
    std::FILE* f = std::fopen(benchFile().c_str(), "wb");
    for (int32_t n = 0; n < kLines; ++n) std::fwrite(element.data(), 1, element.size(), f);
    std::fclose(f);
  }
  std::filesystem::remove(benchFile());
  state.SetBytesProcessed(state.iterations() * kLines * kBytesPerLine);
}
BENCHMARK(BM_CgmFwriteFloor);

}  // namespace
