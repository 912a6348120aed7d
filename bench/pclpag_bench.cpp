// A PCL page sent by the page output against the plain-I/O floor: the same number of
// bytes written with fwrite, one printer row a call.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/unitio.h"
#include "plot/pcl/pclpag.h"
#include "plot/pcl/pclsta.h"
#include "plot/pcl/raspag.h"
#include "plot/raster/rasfile.h"

namespace {

std::string benchFile() { return kvr::io::tempDirectory() + "/kvr_bench_page.pcl"; }

// A page of the model as the page set-up leaves it (10 x 7.5 inches).
void page(int32_t model, int32_t dpi, bool landscape, bool monochrome) {
  kvr::PclSta& s = kvr::PCLSTA;
  s.model = model;
  s.dpi = dpi;
  s.monochrome = monochrome;
  s.dithering = true;
  s.runLength = !monochrome;
  s.formFeed = true;
  s.landscape = landscape;
  s.wpix = 10 * dpi;
  s.hpix = 2248 * dpi / 300;
  s.outputRows = landscape ? 8 * dpi : s.hpix;
  s.xOffset = 128;
  s.yOffset = 192;
  // A pattern that neither compresses to nothing nor doubles.
  for (size_t k = 0; k < kvr::RasPag::kBytes; ++k) kvr::RASPAG.bytes[k] = static_cast<uint8_t>((k / 7) % 5);
}

void BM_PclLaserjetLandscape(benchmark::State& state) {
  page(kvr::kModelLaser, 300, true, true);
  for (auto _ : state) {
    kvr::RasOpen(benchFile());
    kvr::PCLLJR(false, 300);
    kvr::RasClose();
  }
  std::filesystem::remove(benchFile());
  state.SetBytesProcessed(state.iterations() * int64_t{3000} * 307);
}
BENCHMARK(BM_PclLaserjetLandscape);

void BM_PclLaserjetPortrait(benchmark::State& state) {
  page(kvr::kModelLaser, 300, false, true);
  for (auto _ : state) {
    kvr::RasOpen(benchFile());
    kvr::PCLLJR(false, 300);
    kvr::RasClose();
  }
  std::filesystem::remove(benchFile());
  state.SetBytesProcessed(state.iterations() * int64_t{2248} * 382);
}
BENCHMARK(BM_PclLaserjetPortrait);

void BM_PclDeskjetCompressed(benchmark::State& state) {
  page(kvr::kModelDesk, 150, true, false);
  for (auto _ : state) {
    kvr::RasOpen(benchFile());
    kvr::PCLDJJ(false, 150);
    kvr::RasClose();
  }
  std::filesystem::remove(benchFile());
  state.SetBytesProcessed(state.iterations() * int64_t{1500} * 1200);
}
BENCHMARK(BM_PclDeskjetCompressed);

void BM_PclFwriteFloor(benchmark::State& state) {
  std::vector<unsigned char> row(307, 0);
  for (auto _ : state) {
    std::FILE* f = std::fopen(benchFile().c_str(), "wb");
    for (int32_t k = 0; k < 3000; ++k) std::fwrite(row.data(), 1, row.size(), f);
    std::fclose(f);
  }
  std::filesystem::remove(benchFile());
  state.SetBytesProcessed(state.iterations() * int64_t{3000} * 307);
}
BENCHMARK(BM_PclFwriteFloor);

}  // namespace
