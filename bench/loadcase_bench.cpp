// Load cases by the thousand through the exports, as a transient or frequency run writes
// one load case a step: a model of four nodes and one QU4 element, then N load cases of
// one nodal value each (a results dataset of one component for node 1), each sent on its
// own and processed with dll_dilim, and the stop (LUOPT 1, page size 2040). Finding and
// adding a load case costs the same whatever the count before it, so the time grows with
// N, not with N squared: per_load_case stays flat from N = 250 to 4000. Argument: N.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "benchfiles.h"
#include "kvr7dbio.h"
#include "platform/unitio.h"

namespace {

using kvr::bench::pad;

constexpr int32_t kDataUnit = 18;
constexpr int32_t kIndexUnit = 17;
constexpr int32_t kNeutralUnit = 22;
constexpr int32_t kNone = 99;
constexpr int32_t kQu4 = 9;

int32_t gUnits[2] = {41, 42};

// The first non-zero code of a session; every later call is skipped.
class Steps {
 public:
  bool ok() const { return code_ == 0; }
  int32_t code() const { return code_; }
  void check(int32_t code) {
    if (code_ == 0) code_ = code;
  }

  void open(int32_t unit) {
    char fname[KVR_OPNTLDBF_FNAME_LENGTH];
    pad(fname, "");
    int32_t imode = 0, istat = 2, iform = 1, iacces = 1, irecl = 0, iostat = -1;
    dll_opntldbf(&unit, &imode, fname, &istat, &iform, &iacces, &irecl, &iostat);
    check(iostat);
  }

  void header(int32_t key, const std::string& name, int32_t unit) {
    char hname[KVR_DIHED2_NAME_LENGTH], htitle[KVR_DIHED2_HTITLE_LENGTH];
    char htext[KVR_DIHED2_HTEXT_LENGTH];
    pad(hname, name);
    pad(htitle, "");
    pad(htext, "");
    int32_t iopcod = 1, hnumbr = 0, hflag = 0, ierr = -1;
    float hvalue = 0.0f;
    if (ok()) dll_dihed2(&key, &iopcod, hname, &hvalue, &hnumbr, htitle, &hflag, htext, &ierr, &unit);
    check(ierr);
  }

  void process(int32_t unit) {
    int32_t ierr = -1;
    if (ok()) dll_dilim(&ierr, &unit);
    check(ierr);
  }

 private:
  int32_t code_ = 0;
};

// One session: the model, N load cases, the stop. Answers the first failing code.
int32_t writeLoadCases(int32_t n) {
  Steps s;
  s.open(gUnits[0]);
  s.open(gUnits[1]);
  int32_t luopt = 1, ludb8 = kDataUnit, ludb7 = kIndexUnit, luneu = kNeutralUnit, itfnum = 2;
  int32_t ikeep = 0, nform = 10, lumsg = kNone, ipgsiz = 2040, ierr = -1;
  dll_diini2(&luopt, &ludb8, &ludb7, &luneu, gUnits, &itfnum, &ikeep, &nform, &lumsg, &lumsg,
             &ipgsiz, &ierr);
  s.check(ierr);
  int32_t arg1 = 0, opened = 0, arg5 = 0;
  char text6[KVR_DIDBI_TEXT6_LENGTH], text79[KVR_DIDBI_TEXT79_LENGTH];
  pad(text6, "");
  pad(text79, "");
  if (s.ok()) dll_didbi(&arg1, &opened, text6, text79, &arg5, &ierr);
  s.check(ierr);

  int32_t unit = gUnits[0], isys = 0;
  s.header(1, "STEPS", unit);
  s.header(2, "", unit);
  for (int32_t node = 1; node <= 4 && s.ok(); ++node) {
    float x = static_cast<float>((node - 1) % 2), y = static_cast<float>((node - 1) / 2), z = 0.0f;
    dll_dicor(&node, &x, &y, &z, &isys, &ierr, &unit);
    s.check(ierr);
  }
  s.process(unit);
  unit = gUnits[1];
  s.header(3, "", unit);
  int32_t element = 1, itype = kQu4, ieatt = 1, quad[4] = {1, 2, 4, 3};
  if (s.ok()) dll_ditop(&element, &itype, &ieatt, &ieatt, quad, &isys, &ierr, &unit);
  s.check(ierr);
  s.process(unit);

  unit = gUnits[0];
  char attnam[KVR_DIRHA_ATTNAM_LENGTH], compnm[KVR_DIRHB_COMPNM_LENGTH];
  char ncalc[KVR_DIRHB_NCALC_LENGTH], compn2[KVR_DIRHB_COMPN2_LENGTH];
  pad(attnam, "DISPL");
  pad(compnm, "DX");
  pad(ncalc, "");
  pad(compn2, "");
  for (int32_t step = 1; step <= n && s.ok(); ++step) {
    s.header(100, "S" + std::to_string(step), unit);
    int32_t ncomps = 1, irtype = 1, numvar = 0;
    if (s.ok()) dll_dirha(attnam, &ncomps, &irtype, &numvar, &ierr, &unit);
    s.check(ierr);
    int32_t inmenu = 1, ctype = 2, index1 = 1, index2 = 0, iexist = 0;
    if (s.ok()) {
      dll_dirhb(compnm, &inmenu, &ctype, &index1, &index2, &iexist, ncalc, compn2, &ierr, &unit);
    }
    s.check(ierr);
    int32_t node = 1, numres = 1;
    float value = 0.001f * static_cast<float>(step);
    if (s.ok()) dll_dinia(&node, &value, &numres, &ierr, &unit);
    s.check(ierr);
    s.process(unit);
  }
  dll_distp(&ierr);
  s.check(ierr);
  for (int32_t& u : gUnits) dll_kvclose(&u);
  return s.code();
}

void BM_LoadCases(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  std::string dir = kvr::io::tempDirectory() + "/kvr_loadcase_benchXXXXXX";
  if (mkdtemp(dir.data()) == nullptr) {
    state.SkipWithError("no work directory");
    return;
  }
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  for (auto _ : state) {
    state.PauseTiming();
    std::remove("STEPS.M71");
    std::remove("STEPS.V71");
    state.ResumeTiming();
    const int32_t code = writeLoadCases(n);
    if (code != 0) {
      state.SkipWithError(("a call answered " + std::to_string(code)).c_str());
      break;
    }
  }
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);
  // The time a load case takes, shown by the benchmark's own units (per second inverted).
  state.counters["per_load_case"] = benchmark::Counter(
      static_cast<double>(n) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_LoadCases)->ArgName("N")->Arg(250)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace
