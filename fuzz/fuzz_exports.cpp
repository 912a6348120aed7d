// The exported writing-road routines: the road is started on a neutral file and scratch
// temporary units as a host starts it, then a sequence of record and header calls is
// decoded from the input, each with its arguments and with arrays sized exactly as the
// decoded counts say.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "dbinterface/diblocks.h"
#include "dbinterface/tmpstream.h"
#include "fuzzsupport.h"
#include "kvr7dbio.h"

using namespace kvr;

namespace {

constexpr int32_t kMessageUnit = 30;
constexpr int32_t kNeutralUnit = 44;
int32_t gUnits[3] = {41, 42, 43};

// A blank-padded text of N characters from the input, in a buffer of exactly N.
struct Text {
  Text(FuzzedDataProvider& in, size_t n) : chars(new char[n]) {
    std::string s = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(0, n));
    std::fill(chars.get(), chars.get() + n, ' ');
    std::copy(s.begin(), s.end(), chars.get());
  }
  std::unique_ptr<char[]> chars;
  char* get() { return chars.get(); }
};

// Small numbers mostly, so that keys, types and counts meet the library's ranges.
int32_t number(FuzzedDataProvider& in) {
  return in.ConsumeBool() ? in.ConsumeIntegralInRange(-2, 130) : in.ConsumeIntegral<int32_t>();
}

float real(FuzzedDataProvider& in) { return in.ConsumeFloatingPoint<float>(); }

// COUNT reals, exactly (a count below 1 gives an empty array).
std::unique_ptr<float[]> reals(FuzzedDataProvider& in, int32_t count) {
  const size_t n = count > 0 ? size_t(count) : 0;
  std::unique_ptr<float[]> v(new float[n]);
  for (size_t k = 0; k < n; ++k) v[k] = real(in);
  return v;
}

std::unique_ptr<int32_t[]> ints(FuzzedDataProvider& in, int32_t count) {
  const size_t n = count > 0 ? size_t(count) : 0;
  std::unique_ptr<int32_t[]> v(new int32_t[n]);
  for (size_t k = 0; k < n; ++k) v[k] = number(in);
  return v;
}

int32_t open(int32_t unit, const char* name, int32_t istat, int32_t iform) {
  int32_t mode = 0, iacces = 1, irecl = 0, iostat = -1;
  char fname[80];
  std::fill(fname, fname + 80, ' ');
  std::copy(name, name + std::strlen(name), fname);
  dll_opntldbf(&unit, &mode, fname, &istat, &iform, &iacces, &irecl, &iostat);
  return iostat;
}

void call(FuzzedDataProvider& in) {
  int32_t ierr = 0;
  int32_t iunt = in.ConsumeBool() ? gUnits[in.ConsumeIntegralInRange(0, 2)] : number(in);
  int32_t a = number(in), b = number(in), c = number(in), d = number(in), e = number(in),
          f = number(in), g = number(in);
  float x = real(in), y = real(in), z = real(in);
  switch (in.ConsumeIntegralInRange(0, 18)) {
    case 0: {
      Text name(in, 20), title(in, 20), text(in, 10);
      dll_dihed2(&a, &b, name.get(), &x, &c, title.get(), &d, text.get(), &ierr, &iunt);
      break;
    }
    case 1: dll_dicor(&a, &x, &y, &z, &b, &ierr, &iunt); break;
    case 2: {
      // Every element type has at most 27 nodes; the host gives that many.
      auto nodes = ints(in, 27);
      dll_ditop(&a, &b, &c, &d, nodes.get(), &e, &ierr, &iunt);
      break;
    }
    case 3: {
      Text name(in, 8), title(in, 30);
      int32_t nids = in.ConsumeIntegralInRange(-1, 40);
      auto ids = ints(in, nids);
      dll_diset(name.get(), title.get(), ids.get(), &nids, &ierr, &iunt);
      break;
    }
    case 4: dll_dicon(&a, &b, &c, &d, &ierr, &iunt); break;
    case 5: {
      auto axes = reals(in, 9);
      dll_dilxc(&a, &b, axes.get(), &ierr, &iunt);
      break;
    }
    case 6: {
      Text name(in, 8);
      dll_dirha(name.get(), &a, &b, &c, &ierr, &iunt);
      break;
    }
    case 7: {
      Text name(in, 8), calc(in, 8), name2(in, 8);
      dll_dirhb(name.get(), &a, &b, &c, &d, &e, calc.get(), name2.get(), &ierr, &iunt);
      break;
    }
    case 8:
    case 10:
    case 12: {
      int32_t numres = in.ConsumeIntegralInRange(-1, 40);
      auto values = reals(in, numres);
      auto routine = a % 3 == 0 ? dll_dinia : a % 3 == 1 ? dll_dienr : dll_diecr;
      routine(&b, values.get(), &numres, &ierr, &iunt);
      break;
    }
    case 9: dll_dienh(&a, &b, &c, &d, &e, &f, &g, nullptr, &ierr, &iunt); break;
    case 11: dll_diech(&a, &b, &c, &d, &e, &f, nullptr, &ierr, &iunt); break;
    case 13: {
      int32_t flag = number(in);
      dll_diegh(&a, &b, &c, &d, &e, &f, &g, &flag, &ierr, &iunt);
      break;
    }
    case 14: {
      int32_t numres = in.ConsumeIntegralInRange(-1, 40);
      auto values = reals(in, numres);
      dll_diegr(&a, &x, &y, &z, values.get(), &numres, &ierr, &iunt);
      break;
    }
    case 15: dll_digxh(&a, &b, &c, &d, &e, &ierr, &iunt); break;
    case 16: dll_diexh(&a, &b, &c, &d, &e, &ierr, &iunt); break;
    default: {
      auto axes = reals(in, 9);
      (a % 2 ? dll_digxd : dll_diexd)(&b, axes.get(), &ierr, &iunt);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  fuzz::isolateSettings();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  io::closeAllUnits();
  DICTL = {};
  DIUNIT = {};
  DISTAT = {};
  TMPBUF = {};
  DIBLNK = kBlankCode;
  if (open(kMessageUnit, "/dev/null", 1, 2) != 0 || open(kNeutralUnit, "/dev/null", 1, 2) != 0) {
    std::abort();
  }
  for (int32_t unit : gUnits) {
    if (open(unit, "", 2, 1) != 0) std::abort();
  }
  int32_t luopt = 2, ludb8 = 0, ludb7 = 0, luneu = kNeutralUnit, itfnum = 3, ikeep = 0;
  int32_t nform = in.PickValueInArray({5, 10, 0}), lumsg1 = kMessageUnit, lumsg2 = 99;
  int32_t ipgsiz = 2040, ierr = -1;
  try {
    dll_diini2(&luopt, &ludb8, &ludb7, &luneu, gUnits, &itfnum, &ikeep, &nform, &lumsg1,
               &lumsg2, &ipgsiz, &ierr);
    for (int k = 0; k < 200 && in.remaining_bytes() > 0; ++k) call(in);
  } catch (const fuzz::Stopped&) {
  }
  return 0;
}
