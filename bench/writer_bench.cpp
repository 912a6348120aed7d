// The writing road through its exports against the plain-I/O floor. A block of k x k x k
// nodes with its (k-1)^3 HE8 elements and one nodal results dataset of three values is
// sent as an analysis program sends it (page size 2040, two scratch temporary units, the
// model header on the unit of the nodes), with LUOPT 1 (the database; the display build
// at the stop included) and with LUOPT 2 (the neutral text file, NFORM 10). The floor
// writes the bytes of the files that run left, read once outside the timing, with fwrite.
//
// Both report bytes per second of those files. The writer also reports x_floor, its time
// over the floor's; stop_s, the seconds of its stop (with LUOPT 1 the display build, the
// datasets all processed before, and the closing of the database); ns_per_node; and
// rss_x_bytes, the peak resident memory of the process during its runs over the bytes of
// the files. The peak is set back before the runs
// (which also sets back what getrusage and time(1) report); it includes what the process
// holds already, such as the named arrays an earlier LUOPT 1 run left, so read it from a
// run of one benchmark alone. Arguments: LUOPT, k.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "benchfiles.h"
#include "kvr7dbio.h"

namespace {

constexpr int32_t kNeutralUnit = 22;
constexpr int32_t kDataUnit = 18;
constexpr int32_t kIndexUnit = 17;
constexpr int32_t kNone = 99;
constexpr int32_t kHe8 = 1;
constexpr size_t kFloorChunk = 8160;  // one database page of 2040 words

int32_t gTempUnits[2] = {31, 32};

using kvr::bench::InWorkDirectory;
using kvr::bench::pad;
using kvr::bench::peakResident;
using kvr::bench::resetPeakResident;

std::vector<std::string> outputFiles(int32_t luopt) {
  if (luopt == 1) return {"BLOCK.M71", "BLOCK.V71"};
  return {"block.neu"};
}

void removeOutput(int32_t luopt) {
  for (const std::string& name : outputFiles(luopt)) std::remove(name.c_str());
}

// Fills TEXT of LENGTH characters with S, blank-padded.
// One writing-road session. The first refusal is kept (routine and code) and every later
// step is skipped.
class Session {
 public:
  bool ok() const { return failedAt_.empty(); }
  std::string failure() const { return failedAt_ + " answered " + std::to_string(code_); }
  // The time the stop took in the last run, in seconds.
  double stopSeconds() const { return stopSeconds_; }

  void run(int k, int32_t luopt) {
    open(gTempUnits[0], "");
    open(gTempUnits[1], "");
    if (luopt != 1) open(kNeutralUnit, "block.neu");
    start(luopt);
    nodes(k);
    elements(k);
    displacements(k);
    // The stop also ends a session that failed part way, so the next one can start.
    // Every dataset is processed by then: with LUOPT 1 the stop's time is the display
    // build's, with the closing of the database.
    int32_t ierr = -1;
    const auto stopStart = std::chrono::steady_clock::now();
    dll_distp(&ierr);
    stopSeconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - stopStart)
                       .count();
    check(ierr, "dll_distp");
    if (luopt != 1) close(kNeutralUnit);
    close(gTempUnits[0]);
    close(gTempUnits[1]);
  }

 private:
  void check(int32_t code, const char* routine) {
    if (code == 0 || !ok()) return;
    failedAt_ = routine;
    code_ = code;
  }

  void open(int32_t unit, const char* name) {
    char fname[KVR_OPNTLDBF_FNAME_LENGTH];
    pad(fname, name);
    const bool scratch = name[0] == '\0';
    int32_t imode = scratch ? 0 : 2, istat = scratch ? 2 : 1, iform = scratch ? 1 : 2;
    int32_t iacces = 1, irecl = 0, iostat = -1;
    if (ok()) dll_opntldbf(&unit, &imode, fname, &istat, &iform, &iacces, &irecl, &iostat);
    check(iostat, "dll_opntldbf");
  }

  void close(int32_t unit) {
    int32_t iostat = -1;
    dll_clstldbf(&unit, &iostat);
    check(iostat, "dll_clstldbf");
  }

  void start(int32_t luopt) {
    int32_t ludb8 = kDataUnit, ludb7 = kIndexUnit, luneu = kNeutralUnit, itfnum = 2, ikeep = 0;
    int32_t nform = 10, lumsg1 = kNone, lumsg2 = kNone, ipgsiz = 2040, ierr = -1;
    if (ok()) {
      dll_diini2(&luopt, &ludb8, &ludb7, &luneu, gTempUnits, &itfnum, &ikeep, &nform, &lumsg1,
                 &lumsg2, &ipgsiz, &ierr);
    }
    check(ierr, "dll_diini2");
    int32_t arg1 = 0, opened = 0, arg5 = 0;
    char text6[KVR_DIDBI_TEXT6_LENGTH], text79[KVR_DIDBI_TEXT79_LENGTH];
    pad(text6, "");
    pad(text79, "");
    if (ok()) dll_didbi(&arg1, &opened, text6, text79, &arg5, &ierr);
    check(ierr, "dll_didbi");
  }

  void header(int32_t key, const char* name, int32_t unit) {
    char hname[KVR_DIHED2_NAME_LENGTH], htitle[KVR_DIHED2_HTITLE_LENGTH];
    char htext[KVR_DIHED2_HTEXT_LENGTH];
    pad(hname, name);
    pad(htitle, "");
    pad(htext, "");
    int32_t iopcod = 1, hnumbr = 0, hflag = 0, ierr = -1;
    float hvalue = 0.0f;
    if (ok()) {
      dll_dihed2(&key, &iopcod, hname, &hvalue, &hnumbr, htitle, &hflag, htext, &ierr, &unit);
    }
    check(ierr, "dll_dihed2");
  }

  void process(int32_t unit) {
    int32_t ierr = -1;
    if (ok()) dll_dilim(&ierr, &unit);
    check(ierr, "dll_dilim");
  }

  static int32_t nodeAt(int k, int i, int j, int l) { return 1 + i + k * (j + k * l); }

  void nodes(int k) {
    int32_t unit = gTempUnits[0], isys = 0, ierr = 0;
    header(1, "BLOCK", unit);
    header(2, "", unit);
    for (int l = 0; l < k && ok(); ++l) {
      for (int j = 0; j < k; ++j) {
        for (int i = 0; i < k; ++i) {
          int32_t node = nodeAt(k, i, j, l);
          float x = static_cast<float>(i), y = static_cast<float>(j), z = static_cast<float>(l);
          dll_dicor(&node, &x, &y, &z, &isys, &ierr, &unit);
          check(ierr, "dll_dicor");
        }
      }
    }
    process(unit);
  }

  void elements(int k) {
    int32_t unit = gTempUnits[1], itype = kHe8, ieatt = 1, isys = 0, ierr = 0, elem = 0;
    header(3, "", unit);
    for (int l = 0; l + 1 < k && ok(); ++l) {
      for (int j = 0; j + 1 < k; ++j) {
        for (int i = 0; i + 1 < k; ++i) {
          int32_t nodes[8] = {nodeAt(k, i, j, l),         nodeAt(k, i + 1, j, l),
                              nodeAt(k, i + 1, j + 1, l), nodeAt(k, i, j + 1, l),
                              nodeAt(k, i, j, l + 1),     nodeAt(k, i + 1, j, l + 1),
                              nodeAt(k, i + 1, j + 1, l + 1), nodeAt(k, i, j + 1, l + 1)};
          ++elem;
          dll_ditop(&elem, &itype, &ieatt, &ieatt, nodes, &isys, &ierr, &unit);
          check(ierr, "dll_ditop");
        }
      }
    }
    process(unit);
  }

  void displacements(int k) {
    int32_t unit = gTempUnits[0], ierr = 0;
    header(100, "LOAD1", unit);
    char attnam[KVR_DIRHA_ATTNAM_LENGTH];
    pad(attnam, "DISPL");
    int32_t ncomps = 3, irtype = 1, numvar = 0;
    if (ok()) dll_dirha(attnam, &ncomps, &irtype, &numvar, &ierr, &unit);
    check(ierr, "dll_dirha");
    const char* names[3] = {"DX", "DY", "DZ"};
    for (int32_t c = 1; c <= 3 && ok(); ++c) {
      char compnm[KVR_DIRHB_COMPNM_LENGTH], ncalc[KVR_DIRHB_NCALC_LENGTH];
      char compn2[KVR_DIRHB_COMPN2_LENGTH];
      pad(compnm, names[c - 1]);
      pad(ncalc, "");
      pad(compn2, "");
      int32_t inmenu = 1, ctype = 2, index1 = c, index2 = 0, iexist = 0;
      dll_dirhb(compnm, &inmenu, &ctype, &index1, &index2, &iexist, ncalc, compn2, &ierr, &unit);
      check(ierr, "dll_dirhb");
    }
    const int32_t count = k * k * k;
    for (int32_t node = 1; node <= count && ok(); ++node) {
      float values[3] = {0.001f * static_cast<float>(node % k), 0.0f, -0.002f};
      int32_t numres = 3;
      dll_dinia(&node, values, &numres, &ierr, &unit);
      check(ierr, "dll_dinia");
    }
    process(unit);
  }

  std::string failedAt_;
  int32_t code_ = 0;
  double stopSeconds_ = 0.0;
};

std::vector<std::vector<char>> readOutput(int32_t luopt) {
  std::vector<std::vector<char>> contents;
  for (const std::string& name : outputFiles(luopt)) {
    std::error_code failed;
    const auto size = std::filesystem::file_size(name, failed);
    std::vector<char>& bytes = contents.emplace_back(failed ? 0 : size);
    std::ifstream in(name, std::ios::binary);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  return contents;
}

int64_t byteCount(const std::vector<std::vector<char>>& contents) {
  int64_t bytes = 0;
  for (const auto& file : contents) bytes += static_cast<int64_t>(file.size());
  return bytes;
}

std::string floorFile(size_t f) { return "floor" + std::to_string(f) + ".dat"; }

// The floor's work: every file created and written with fwrite, a page at a time. The
// files of an earlier write are removed first, outside the timing, as the writer's are.
void removeFloor(const std::vector<std::vector<char>>& contents) {
  for (size_t f = 0; f < contents.size(); ++f) std::remove(floorFile(f).c_str());
}

void writeFloor(const std::vector<std::vector<char>>& contents) {
  for (size_t f = 0; f < contents.size(); ++f) {
    FILE* out = std::fopen(floorFile(f).c_str(), "wb");
    const std::vector<char>& bytes = contents[f];
    for (size_t at = 0; at < bytes.size(); at += kFloorChunk) {
      std::fwrite(bytes.data() + at, 1, std::min(kFloorChunk, bytes.size() - at), out);
    }
    std::fclose(out);
  }
}

double seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// Runs the writer once, leaving the files of LUOPT and k; answers its failure, or "".
std::string leaveOutput(int32_t luopt, int k) {
  removeOutput(luopt);
  Session session;
  session.run(k, luopt);
  return session.ok() ? std::string() : session.failure();
}

struct FloorOf {
  int64_t bytes = 0;
  double seconds = 0.0;  // the mean of a few floor writes
};

// The bytes of the files of LUOPT and k and the floor's time for them, measured once: a
// run of the writer leaves the files, the floor writes them three times (the mean kept,
// as the writer's time is its mean).
const FloorOf* floorOf(int32_t luopt, int k, std::string& failure) {
  static std::map<std::pair<int32_t, int>, FloorOf> known;
  auto found = known.find({luopt, k});
  if (found != known.end()) return &found->second;
  failure = leaveOutput(luopt, k);
  if (!failure.empty()) return nullptr;
  const std::vector<std::vector<char>> contents = readOutput(luopt);
  FloorOf floor;
  floor.bytes = byteCount(contents);
  constexpr int kRounds = 3;
  for (int round = 0; round < kRounds; ++round) {
    removeFloor(contents);
    auto t0 = std::chrono::steady_clock::now();
    writeFloor(contents);
    floor.seconds += seconds(t0) / kRounds;
  }
  removeFloor(contents);
  return &known.emplace(std::make_pair(luopt, k), floor).first->second;
}

void BM_WriteBlock(benchmark::State& state) {
  const auto luopt = static_cast<int32_t>(state.range(0));
  const auto k = static_cast<int>(state.range(1));
  InWorkDirectory here;
  std::string failure;
  const FloorOf* floor = floorOf(luopt, k, failure);
  if (floor == nullptr) {
    state.SkipWithError(failure.c_str());
    return;
  }
  resetPeakResident();
  double total = 0.0;
  double stops = 0.0;
  for (auto _ : state) {
    // A create over the files of the previous run would be refused; their removal is
    // not timed, nor is the floor's.
    removeOutput(luopt);
    Session session;
    auto t0 = std::chrono::steady_clock::now();
    session.run(k, luopt);
    const double took = seconds(t0);
    state.SetIterationTime(took);
    total += took;
    stops += session.stopSeconds();
    if (!session.ok()) {
      state.SkipWithError(session.failure().c_str());
      break;
    }
  }
  const auto runs = static_cast<double>(state.iterations());
  state.SetBytesProcessed(state.iterations() * floor->bytes);
  state.counters["x_floor"] = total / runs / floor->seconds;
  state.counters["stop_s"] = stops / runs;
  state.counters["ns_per_node"] = total / runs / (static_cast<double>(k) * k * k) * 1e9;
  state.counters["rss_x_bytes"] =
      static_cast<double>(peakResident()) / static_cast<double>(floor->bytes);
}

void BM_WriteBlockFloor(benchmark::State& state) {
  const auto luopt = static_cast<int32_t>(state.range(0));
  const auto k = static_cast<int>(state.range(1));
  InWorkDirectory here;
  const std::string failure = leaveOutput(luopt, k);
  if (!failure.empty()) {
    state.SkipWithError(failure.c_str());
    return;
  }
  const std::vector<std::vector<char>> contents = readOutput(luopt);
  for (auto _ : state) {
    removeFloor(contents);
    auto t0 = std::chrono::steady_clock::now();
    writeFloor(contents);
    state.SetIterationTime(seconds(t0));
  }
  removeFloor(contents);
  state.SetBytesProcessed(state.iterations() * byteCount(contents));
}

void blockSizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"luopt", "k"})->ArgsProduct({{1, 2}, {10, 22, 47, 100}});
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_WriteBlock)->Apply(blockSizes)->UseManualTime();
BENCHMARK(BM_WriteBlockFloor)->Apply(blockSizes)->UseManualTime();

}  // namespace
