// The reading road through its exports against one read() of the model file. A block of
// k x k x k HE8 elements on (k + 1)^3 nodes (tests/support/blockmodel.h) is saved as a
// model file by the library's own database dump, in a child process, so that none of
// its memory stays with the process measured. Then:
//  - BM_OpenBlock: dll_ustrt2 on the file, the store of the previous run given back first
//    (untimed), so that each run takes its memory afresh. Bytes per second of the file; x_read, its
//    fastest run over the fastest of five floors (the file opened, read whole with read()
//    into memory freshly mapped for it, closed: the model's words land in memory the
//    process did not hold, as the store's do); rss_x_file, the peak resident memory of the
//    process during its runs over the file's bytes (read it from a run of this benchmark
//    alone: the peak includes what the process holds already, held_x_file the part it held
//    before the first run, over the file's bytes). The host's work array is
//    taken but never touched, as the library never writes it.
//  - BM_ReadFloor: that floor alone.
//  - BM_QueryBlock: dll_unode over every node and dll_uelem over every element.
//  - BM_FaceSearch: dll_ufacg2 on the bottom face (k^2 elements, (k + 1)^2 nodes); every
//    element of the block is tested, as the search walks the carrier's elements.
//  - BM_FaceSearchSlab: the same on a slab of k x k x 1 elements, whose carrier grows with
//    its face (faces of 1,681, 6,561 and 25,921 nodes).
// Argument: k.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <utility>
#include <memory>
#include <string>
#include <vector>

#include "benchfiles.h"
#include "blockmodel.h"
#include "kvr7dbio.h"
#include "modeldb/corsto.h"

namespace {

using kvr::bench::InWorkDirectory;
using kvr::test::BlockModel;

constexpr int32_t kFaceWork = 80000;

double seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// The model file of the block of K (LAYERS 0: k layers), written once by a child process;
// empty when it could not be written.
std::string modelFile(int k, int layers = 0) {
  static std::map<std::pair<int, int>, std::string> known;
  if (auto found = known.find({k, layers}); found != known.end()) return found->second;
  const std::string stem = kvr::bench::WorkDirectory::path() + "/block" + std::to_string(k) + "x" +
                           std::to_string(layers);
  std::string file;
  const pid_t child = fork();
  if (child == 0) {
    const bool written = !kvr::test::writeBlockModel(stem, k, layers).empty();
    _exit(written ? 0 : 1);
  }
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
      WEXITSTATUS(status) == 0) {
    file = stem + ".DMP";
  }
  return known.emplace(std::make_pair(k, layers), file).first->second;
}

int64_t fileBytes(const std::string& file) {
  struct stat st{};
  return ::stat(file.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;
}

// One read() of the whole file into memory mapped for it, as the pages of a model the
// process did not hold before; false when it failed.
bool readWhole(const std::string& file, int64_t bytes) {
  const int fd = ::open(file.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const auto length = static_cast<size_t>(bytes);
  void* memory = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) {
    ::close(fd);
    return false;
  }
  char* buffer = static_cast<char*>(memory);
  int64_t done = 0;
  while (done < bytes) {
    const ssize_t r = ::read(fd, buffer + done, static_cast<size_t>(bytes - done));
    if (r <= 0) break;
    done += r;
  }
  ::close(fd);
  benchmark::DoNotOptimize(buffer);
  ::munmap(memory, length);
  return done == bytes;
}

// The fastest of five floors of the file of K, measured once.
double floorSeconds(int k, const std::string& file) {
  static std::map<int, double> known;
  if (auto found = known.find(k); found != known.end()) return found->second;
  double best = std::numeric_limits<double>::max();
  for (int round = 0; round < 5; ++round) {
    auto t0 = std::chrono::steady_clock::now();
    readWhole(file, fileBytes(file));
    best = std::min(best, seconds(t0));
  }
  return known.emplace(k, best).first->second;
}

// Opens FILE, a block of K (LAYERS 0: k layers), as a host does; answers the status of
// dll_ustrt2.
int32_t openModel(const std::string& file, int k, int layers = 0) {
  char name[KVR_USTRT2_NAME_LENGTH];
  std::string padded(file);
  padded.resize(KVR_USTRT2_NAME_LENGTH, ' ');
  padded.copy(name, KVR_USTRT2_NAME_LENGTH);
  int32_t size = static_cast<int32_t>(2 * BlockModel::nodes(k, layers == 0 ? k : layers));
  // Taken, not touched: the library only checks its size.
  std::unique_ptr<int32_t[]> work(new int32_t[static_cast<size_t>(size)]);
  int32_t status = -1;
  dll_ustrt2(name, work.get(), &size, &status);
  return status;
}

// Gives back the store of the session open (untimed): each opening starts as a host's
// first does, with none of its memory held by the process.
void releaseSession() {
  kvr::CoreFreeFile(-1);
  malloc_trim(0);
}

// The model file of the benchmark's block, or the benchmark skipped.
std::string fileOrSkip(benchmark::State& state, int k, int layers = 0) {
  std::string file = modelFile(k, layers);
  if (file.empty()) state.SkipWithError("the block model could not be written");
  return file;
}

void BM_OpenBlock(benchmark::State& state) {
  const auto k = static_cast<int>(state.range(0));
  InWorkDirectory here;
  const std::string file = fileOrSkip(state, k);
  if (file.empty()) return;
  const int64_t bytes = fileBytes(file);
  const double floor = floorSeconds(k, file);
  releaseSession();
  kvr::bench::resetPeakResident();
  const int64_t before = kvr::bench::peakResident();
  double fastest = std::numeric_limits<double>::max();
  for (auto _ : state) {
    releaseSession();
    auto t0 = std::chrono::steady_clock::now();
    const int32_t status = openModel(file, k);
    const double took = seconds(t0);
    state.SetIterationTime(took);
    fastest = std::min(fastest, took);
    if (status != 0) {
      state.SkipWithError(("dll_ustrt2 answered " + std::to_string(status)).c_str());
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["x_read"] = fastest / floor;
  state.counters["floor_ms"] = floor * 1e3;
  state.counters["fastest_ms"] = fastest * 1e3;
  state.counters["rss_x_file"] =
      static_cast<double>(kvr::bench::peakResident()) / static_cast<double>(bytes);
  state.counters["held_x_file"] = static_cast<double>(before) / static_cast<double>(bytes);
}

void BM_ReadFloor(benchmark::State& state) {
  const auto k = static_cast<int>(state.range(0));
  InWorkDirectory here;
  const std::string file = fileOrSkip(state, k);
  if (file.empty()) return;
  const int64_t bytes = fileBytes(file);
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    if (!readWhole(file, bytes)) {
      state.SkipWithError("the model file could not be read");
      break;
    }
    state.SetIterationTime(seconds(t0));
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_QueryBlock(benchmark::State& state) {
  const auto k = static_cast<int>(state.range(0));
  InWorkDirectory here;
  const std::string file = fileOrSkip(state, k);
  if (file.empty()) return;
  if (openModel(file, k) != 0) {
    state.SkipWithError("dll_ustrt2 failed");
    return;
  }
  const auto nodes = static_cast<int32_t>(BlockModel::nodes(k));
  const auto elements = static_cast<int32_t>(BlockModel::elements(k));
  int64_t failures = 0;
  double total = 0.0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    float xyz[3];
    int32_t status = 0;
    for (int32_t n = 1; n <= nodes; ++n) {
      dll_unode(&n, xyz, &status);
      failures += status != 0;
    }
    int32_t corners[20];
    int32_t count = 0;
    for (int32_t e = 1; e <= elements; ++e) {
      dll_uelem(&e, corners, &count, &status);
      failures += status != 0;
    }
    const double took = seconds(t0);
    state.SetIterationTime(took);
    total += took;
  }
  if (failures != 0) state.SkipWithError("a node or element query failed");
  state.counters["ns_per_entity"] = total / static_cast<double>(state.iterations()) /
                                    static_cast<double>(nodes + elements) * 1e9;
}

// dll_ufacg2 on the bottom face of the block of K (LAYERS 0: k layers).
void faceSearch(benchmark::State& state, int k, int layers) {
  InWorkDirectory here;
  const std::string file = fileOrSkip(state, k, layers);
  if (file.empty()) return;
  if (openModel(file, k, layers) != 0) {
    state.SkipWithError("dll_ustrt2 failed");
    return;
  }
  std::vector<int32_t> work(kFaceWork);
  for (auto _ : state) {
    int32_t kind = 3, number = BlockModel::kBottom, rkind = 0, rnumber = 0;
    int32_t carrierKind = 0, carrier = 0, faceNodeCount = 0, face = 0, orientation = 0;
    int32_t elementCount = 0, size = kFaceWork, status = -1;
    int32_t faceNodes[16];
    auto t0 = std::chrono::steady_clock::now();
    dll_ufacg2(&kind, &number, &rkind, &rnumber, &carrierKind, &carrier, &faceNodeCount,
               faceNodes, &face, &orientation, &elementCount, work.data(), &size, &status);
    state.SetIterationTime(seconds(t0));
    if (status != 0 || elementCount != k * k) {
      state.SkipWithError(("dll_ufacg2 answered " + std::to_string(status) + " with " +
                           std::to_string(elementCount) + " elements")
                              .c_str());
      break;
    }
  }
  state.counters["face_nodes"] = static_cast<double>((k + 1) * (k + 1));
}

void BM_FaceSearch(benchmark::State& state) { faceSearch(state, static_cast<int>(state.range(0)), 0); }

void BM_FaceSearchSlab(benchmark::State& state) {
  faceSearch(state, static_cast<int>(state.range(0)), 1);
}

void blockSizes(benchmark::internal::Benchmark* b) {
  b->ArgName("k")->Arg(10)->Arg(22)->Arg(47)->Arg(100);
  b->Unit(benchmark::kMillisecond)->UseManualTime();
}

BENCHMARK(BM_OpenBlock)->Apply(blockSizes);
BENCHMARK(BM_ReadFloor)->Apply(blockSizes);
BENCHMARK(BM_QueryBlock)->Apply(blockSizes);
BENCHMARK(BM_FaceSearch)->Apply(blockSizes);
// Slabs of one layer: the carrier's elements grow with the face, as the face itself.
BENCHMARK(BM_FaceSearchSlab)
    ->ArgName("k")
    ->Arg(10)
    ->Arg(40)
    ->Arg(80)
    ->Arg(160)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

}  // namespace
