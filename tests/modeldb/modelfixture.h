// The fixture of the entity tests: the full model registry with empty arrays, MODCNT set by
// each test, the model constants that mark names and labels, the stop trapped and the dump
// counted.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/corsto.h"
#include "modeldb/elttab.h"
#include "modeldb/entqry.h"
#include "runtime/dspsta.h"
#include "runtime/gridmd.h"
#include "runtime/incftb.h"
#include "runtime/iomode.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/msgarg.h"
#include "runtime/reghed.h"
#include "runtime/slttab.h"
#include "testsupport.h"

namespace kvr {

constexpr int32_t kBlank = 0x20202020;
constexpr int32_t kMarker = 0x2020202A;
using Words = std::vector<int32_t>;
using Label = std::array<int32_t, 2>;

inline int gDumps = 0;

inline Label nameOf(const char* s) {
  const std::string t(s);
  return {a4Word(t.substr(0, std::min<size_t>(4, t.size()))),
          t.size() > 4 ? a4Word(t.substr(4)) : kBlank};
}

// The full model registry with empty arrays, MODCNT set by each test, the model constants
// that mark names and labels, the stop trapped and the dump counted.
class ModelFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    MODCON.word(kModFirstCode) = kBlank;
    MODCON.word(kModDeletedMarker) = kMarker;
    MODCON.word(kModWordsPerValue) = 1;
    int32_t stat = -1;
    ARRNUM(1);
    ARRREG(2, 1, stat);
    ASSERT_EQ(stat, 0);
    MSGARG.suppress() = 1;
    setDatabaseDumper([] { ++gDumps; });
    gDumps = 0;
  }
  void TearDown() override {
    setDatabaseDumper(nullptr);
    reset();
  }
  static void reset() {
    CoreFreeFile(-1);
    REGHED = {};
    APPSTA = {};
    SLTTAB = {};
    INCFTB = {};
    MODCNT = {};
    MSGARG = {};
    GFXDFS = {};
    IOMODE = {};
    NAPBLK = {};
    DSCDSP = {};
    gApplicationMode = 0;
  }

  static void put(int32_t k, int32_t first, Words w) {
    int32_t stat = 0;
    const auto n = static_cast<int32_t>(w.size()) / REGHED.ARRWID(k);
    ARRIO(-1, k, first, n, -1, w, {}, stat);
  }
  static Words get(int32_t k, int32_t first, int32_t n) {
    Words w(static_cast<size_t>(n * REGHED.ARRWID(k)));
    int32_t stat = 0;
    ARRIO(1, k, first, n, -1, w, {}, stat);
    return w;
  }
  // Entry (TYPE, ID) made through ATTFND with the label NAME and the given values.
  static void entry(int32_t type, int32_t id, const char* name, Words values) {
    Label lab = nameOf(name);
    int32_t key = id;
    auto count = static_cast<int32_t>(values.size());
    ATTFND(-1, lab, type, key, count);
    int32_t stat = 0;
    std::vector<float> reals(values.begin(), values.end());
    count = static_cast<int32_t>(values.size());
    ATTVAL(-1, type, id, 1, count, values, reals, stat);
  }

  test::StopTrap trap;
};

}  // namespace kvr
