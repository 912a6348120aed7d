// Record copies in and out of the in-memory store against the floor: memcpy of the same
// words. One million records of width 3, in pages of 10000 records; once as one call for
// all records, once record by record (as the named-array layer mostly calls).
#include <benchmark/benchmark.h>

#include <cstring>
#include <numeric>
#include <span>
#include <vector>

#include "modeldb/corsto.h"

namespace {

constexpr int32_t kFile = 50;
constexpr int32_t kWidth = 3;
constexpr int32_t kPerPage = 10000;
constexpr int32_t kRecords = 1000000;
constexpr int64_t kBytes = int64_t{kRecords} * kWidth * 4;

// A store array holding kRecords addressable records, released at the end of the run.
class BenchArray {
 public:
  BenchArray() {
    int32_t stat = 0;
    kvr::CoreCreate(kFile, kWidth, kPerPage, array_, stat);
    kvr::CoreExtend(kFile, array_, 1, kRecords, stat);
  }
  ~BenchArray() { kvr::CoreFreeFile(kFile); }
  int32_t number() const { return array_; }

 private:
  int32_t array_ = 0;
};

std::vector<int32_t> words() {
  std::vector<int32_t> w(static_cast<size_t>(kRecords) * kWidth);
  std::iota(w.begin(), w.end(), 0);
  return w;
}

void BM_CorePut(benchmark::State& state) {
  BenchArray a;
  const std::vector<int32_t> buf = words();
  int32_t stat = 0;
  for (auto _ : state) {
    kvr::CorePut(kFile, a.number(), 1, kRecords, -1, buf, {}, stat);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_CorePut);

void BM_CoreGet(benchmark::State& state) {
  BenchArray a;
  std::vector<int32_t> buf = words();
  int32_t stat = 0;
  kvr::CorePut(kFile, a.number(), 1, kRecords, -1, buf, {}, stat);
  for (auto _ : state) {
    kvr::CoreGet(kFile, a.number(), 1, kRecords, -1, buf, {}, stat);
    benchmark::DoNotOptimize(buf.data());
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_CoreGet);

void BM_CorePutRecordByRecord(benchmark::State& state) {
  BenchArray a;
  const std::vector<int32_t> buf = words();
  std::span<const int32_t> all(buf);
  int32_t stat = 0;
  for (auto _ : state) {
    for (int32_t r = 1; r <= kRecords; ++r) {
      const auto record = all.subspan(static_cast<size_t>(r - 1) * kWidth, kWidth);
      kvr::CorePut(kFile, a.number(), r, 1, -1, record, {}, stat);
    }
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_CorePutRecordByRecord);

void BM_CoreGetRecordByRecord(benchmark::State& state) {
  BenchArray a;
  std::vector<int32_t> buf = words();
  std::span<int32_t> all(buf);
  int32_t stat = 0;
  kvr::CorePut(kFile, a.number(), 1, kRecords, -1, buf, {}, stat);
  for (auto _ : state) {
    for (int32_t r = 1; r <= kRecords; ++r) {
      const auto record = all.subspan(static_cast<size_t>(r - 1) * kWidth, kWidth);
      kvr::CoreGet(kFile, a.number(), r, 1, -1, record, {}, stat);
    }
    benchmark::DoNotOptimize(buf.data());
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_CoreGetRecordByRecord);

void BM_MemcpyFloor(benchmark::State& state) {
  const std::vector<int32_t> from = words();
  std::vector<int32_t> to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), static_cast<size_t>(kBytes));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_MemcpyFloor);

}  // namespace
