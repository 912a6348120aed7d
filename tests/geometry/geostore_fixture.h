// The fixture of the kernel routines that read the model: the machine constants of
// start-up and the full model registry with empty arrays, into which a test writes the
// control points, knots, weights, points and geometry records it evaluates. A stop (a
// read the store refuses) is trapped and fails the test.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "geometry/georec.h"
#include "machine_fixture.h"
#include "modeldb/arrreg.h"
#include "modeldb/corsto.h"
#include "runtime/msgarg.h"
#include "runtime/reghed.h"
#include "testsupport.h"

namespace kvr::test {

using Point = std::array<float, 3>;

class GeoStore : public MachineConstants {
 protected:
  void SetUp() override {
    MachineConstants::SetUp();
    release();
    MSGARG.suppress() = 1;
    int32_t stat = -1;
    ARRNUM(1);
    ARRREG(2, 1, stat);
    ASSERT_EQ(stat, 0);
  }
  void TearDown() override {
    release();
    MSGARG = {};
    MachineConstants::TearDown();
  }
  static void release() {
    CoreFreeFile(-1);
    REGHED = {};
  }

  // Writes REALS into named array K from record FIRST on (the array grows as needed).
  static void putReals(int32_t k, int32_t first, std::vector<float> reals) {
    int32_t stat = 0;
    const auto n = static_cast<int32_t>(reals.size()) / REGHED.ARRWID(k);
    ARRIO(-1, k, first, n, 1, {}, reals, stat);
  }
  // Points as records of a three-word array from record FIRST on.
  static void putPoints(int32_t k, int32_t first, const std::vector<Point>& points) {
    std::vector<float> reals;
    for (const Point& p : points) reals.insert(reals.end(), p.begin(), p.end());
    putReals(k, first, reals);
  }
  // GEOREC record ID with the given words (number, value), the others 0.
  static void putGeoRecord(int32_t id, std::initializer_list<std::pair<int32_t, float>> words) {
    std::vector<float> rec(kGeoRecordWords, 0.0f);
    for (auto [k, v] : words) rec[static_cast<size_t>(k - 1)] = v;
    putReals(kArrGeoRecords, (id - 1) * kGeoRecordWords + 1, rec);
  }

  StopTrap trap;
};

}  // namespace kvr::test
