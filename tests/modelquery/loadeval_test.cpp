// The load evaluation through the exported routine: distributions, variations, local
// axes and the cache between the points of one load.
#include <array>
#include <bit>
#include <cmath>
#include <string>
#include <vector>

#include "kvr7dbio.h"
#include "modelquery/loadeval.h"
#include "queryfixture.h"

namespace kvr::test {
namespace {

using F3 = std::array<float, 3>;
using Axes = std::array<float, 9>;

int32_t bits(float r) { return std::bit_cast<int32_t>(r); }

constexpr int32_t kGiven = -5;  // the position holds the parametric coordinates

// A line distribution of FUNCTION over T0..T1 with amplitude F.
std::vector<int32_t> line(int32_t function, float f, float t0 = 0, float t1 = 1) {
  return {1, function, 0, 0, bits(t0), bits(t1), 0, 0, 0, 0, bits(f), 0};
}

void addEntry(int32_t type, int32_t id, std::vector<int32_t> v) {
  std::array<int32_t, 2> rval = {0x20202020, 0x20202020};
  int32_t key = id;
  int32_t count = static_cast<int32_t>(v.size());
  ATTFND(-1, rval, type, key, count);
  count = static_cast<int32_t>(v.size());
  int32_t stat = 0;
  ATTVAL(-1, type, id, 1, count, v, {}, stat);
}

// Distributions of this file, beside the query model's 141-146.
enum : int32_t {
  kTriangle = 1,
  kTriangleShifted,
  kGauss,
  kSine,
  kSineHalf,
  kLongTable,  // (0, 0), (1, 10) with word 4 claiming 40 table words: 14 values
  kUnknown,
  kBodyForm2,
  kDeleted,
  kEdges,      // surface form 2: edge 1 function 5 amplitude 2, edge 3 amplitude 4
  kSpatialTable,
};
constexpr int32_t kInverted = 1;  // variation: -1, limits 0.2..0.6
constexpr int32_t kTenPoint = 64;  // (10, 0, 0)
constexpr int32_t kTenLine = 64;   // the origin to (10, 0, 0), 10 divisions

struct Eval {
  int32_t mode = 0, distribution = 0, applies = -7, status = -7;
  float value = -7;
  Axes axes{};
};

class LoadEvaluation : public QuerySession {
 protected:
  void SetUp() override {
    QuerySession::SetUp();
    file = variant("loads", [] {
      addEntry(-8, kTriangle, line(1, 2));
      addEntry(-8, kTriangleShifted, line(1, 2, 0.3f, 0.9f));
      addEntry(-8, kGauss, line(4, 1));
      addEntry(-8, kSine, line(5, 3));
      addEntry(-8, kSineHalf, line(5, 3, 0, 0.5f));
      addEntry(-8, kLongTable, {1, 7, 0, 40, 0, 0, 0, 0, 0, 0, bits(0), bits(0), bits(1), bits(10)});
      addEntry(-8, kUnknown, line(8, 1));
      addEntry(-8, kBodyForm2, {3, 2, 0, 8, 0, 0, 0, 0, 0, 0, bits(1)});
      addEntry(-8, kDeleted, line(5, 3));
      std::vector<int32_t> edges(44, 0);
      edges[0] = 2;
      edges[1] = 2;
      edges[10] = 50;
      edges[12] = bits(1);
      edges[13] = bits(2);
      edges[32] = 50;
      edges[34] = bits(1);
      edges[35] = bits(4);
      addEntry(-8, kEdges, edges);
      addEntry(-8, kSpatialTable,
               {4, 2, 2, 4, 0, 0, 0, 0, 0, 0, bits(0), bits(0), bits(4), bits(8)});
      std::array<int32_t, 2> rval{};
      int32_t key = kDeleted, count = 0;
      ATTFND(-2, rval, -8, key, count);
      // Line 64 straight from Q63 (the origin) to point 64 at (10, 0, 0), 10 divisions.
      int32_t stat = 0;
      std::vector<int32_t> pointRecord(kPointWords, 0), lineRecord(kLineWords, 0);
      std::vector<float> xyz = {10, 0, 0};
      ARRIO(-1, kArrPoints, (kTenPoint - 1) * kPointWords + 1, kPointWords / REGHED.ARRWID(kArrPoints),
            -1, pointRecord, {}, stat);
      ARRIO(-1, 2, kTenPoint, 1, 1, {}, xyz, stat);
      lineRecord[1] = QueryModel::kQ0;
      lineRecord[2] = kTenPoint;
      lineRecord[3] = 10;
      lineRecord[6] = 100;
      ARRIO(-1, kArrLines, (kTenLine - 1) * kLineWords + 1, kLineWords / REGHED.ARRWID(kArrLines),
            -1, lineRecord, {}, stat);
      MODCNT.word(kCntPoints) = kTenPoint;
      MODCNT.word(kCntLines) = kTenLine;
      addEntry(-9, kInverted, {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, bits(0.2f), bits(0.6f), 0, 0, 0, 0});
    });
    ASSERT_EQ(open(file, 2 * kN), 0);
  }

  // dll_uleval with the record kept between calls.
  Eval eval(int32_t mode, int32_t variation, int32_t distribution, int32_t system, F3 position,
            int32_t kind = kGiven, int32_t entity = 1, int32_t size = 64) {
    Eval e;
    e.mode = mode;
    e.distribution = distribution;
    e.axes.fill(-7);
    record.resize(static_cast<size_t>(std::max(size, 1)), 0);
    dll_uleval(&e.mode, &variation, &e.distribution, &system, position.data(), &kind, &entity,
               &e.applies, &e.value, e.axes.data(), record.data(), &size, &e.status);
    return e;
  }
  std::vector<int32_t> record;
  std::string file;
};

constexpr Axes kIdentity = {1, 0, 0, 0, 1, 0, 0, 0, 1};

TEST_F(LoadEvaluation, NothingGivenAppliesWithFactorOne) {
  const Eval e = eval(0, 0, 0, 0, {0.5f, 0, 0});
  EXPECT_EQ(e.status, 0);
  EXPECT_EQ(e.applies, 1);
  EXPECT_EQ(e.value, 1.0f);
  EXPECT_EQ(e.axes, kIdentity);
  EXPECT_EQ(e.mode, 1);
}

TEST_F(LoadEvaluation, NumbersOutOfRangeFail) {
  const struct {
    const char* what;
    int32_t variation, distribution, system;
  } cases[] = {
      {"variation above the count", QueryModel::kVariations + 1, 0, 0},
      {"distribution above the count", 0, QueryModel::kDistributions + 1, 0},
      {"system above the count", 0, 0, QueryModel::kAllCoordSystems + 1},
      {"negative variation", -1, 0, 0},
      {"negative distribution", 0, -1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Eval e = eval(0, c.variation, c.distribution, c.system, {0.5f, 0, 0});
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.applies, 0);
    EXPECT_EQ(e.value, 1.0f);
    EXPECT_EQ(e.mode, 0);
  }
}

TEST_F(LoadEvaluation, ARecordLongerThanSizeOrMissing) {
  EXPECT_EQ(eval(0, 0, kLongTable, 0, {0.5f, 0, 0}, kGiven, 1, 13).status, 9);
  EXPECT_EQ(eval(0, 0, kLongTable, 0, {0.5f, 0, 0}, kGiven, 1, 14).status, 0);
  const Eval e = eval(0, 0, kDeleted, 0, {0.5f, 0, 0});
  EXPECT_EQ(e.status, 0);
  EXPECT_EQ(e.distribution, 0);
  EXPECT_EQ(e.applies, 1);
  EXPECT_EQ(e.value, 1.0f);
}

TEST_F(LoadEvaluation, LineDistributions) {
  const float gauss = 1.0f / (0.5f * 2.5066283f);
  const struct {
    int32_t distribution;
    float u, value, within;
  } cases[] = {
      {kTriangle, 0.5f, 2.0f, 0},        {kTriangle, 0.25f, 1.0f, 0},
      {kTriangleShifted, 0.5f, 2.0f, 0}, {kTriangleShifted, 0.25f, 1.0f, 0},
      {kGauss, 0.5f, gauss, 1e-6f},      {kSine, 0.5f, 3.0f, 1e-6f},
      {kSine, 0.0f, 0.0f, 0},            {kSine, 1.0f, 0.0f, 6e-7f},
      {kSineHalf, 1.0f, 3.0f, 1e-6f},
      {QueryModel::kLineTable, 0.3f, 3.0f, 1e-6f},
      {QueryModel::kLineTable, -1.0f, 0.0f, 0},
      {QueryModel::kLineTable, 2.0f, 1.0f, 0},  // above the last abscissa: unchanged
      {kLongTable, 0.3f, 3.0f, 1e-6f},          // only the pairs the entry holds
      {kLongTable, 2.0f, 1.0f, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.distribution << " at " << c.u);
    const Eval e = eval(0, 0, c.distribution, 0, {c.u, 0, 0});
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.applies, 1);
    EXPECT_NEAR(e.value, c.value, c.within);
  }
  EXPECT_EQ(eval(0, 0, kUnknown, 0, {0.5f, 0, 0}).status, 1);
}

TEST_F(LoadEvaluation, SurfaceAndBodyDistributions) {
  const struct {
    int32_t distribution, count;
    F3 at;
    float value;
  } cases[] = {
      {QueryModel::kSurfaceCorners, 2, {0.5f, 0.5f, 0}, 2.5f},
      {QueryModel::kSurfaceCorners, 2, {1, 1, 0}, 3.0f},
      {QueryModel::kBodyCorners, 3, {0.5f, 0.5f, 0.5f}, 4.5f},
      {QueryModel::kBodyCorners, 3, {1, 1, 1}, 7.0f},
      {kEdges, 2, {0.5f, 0.5f, 0}, 3.0f},  // opposite edges: 2 + (4 - 2) v
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.distribution);
    const Eval e = eval(0, 0, c.distribution, 0, c.at, kGiven, c.count);
    EXPECT_EQ(e.status, 0);
    EXPECT_NEAR(e.value, c.value, 1e-6f);
  }
  EXPECT_EQ(eval(0, 0, kBodyForm2, 0, {0.5f, 0.5f, 0.5f}, kGiven, 3).status, 1);
}

TEST_F(LoadEvaluation, ParametricLimitsRescaleOrSwitchOff) {
  const struct {
    int32_t variation;
    float u;
    int32_t applies;
    float value;
  } cases[] = {
      {QueryModel::kLimitVariation, 0.4f, 1, 3.0f},  // rescaled to 0.5
      {QueryModel::kLimitVariation, 0.7f, 0, 1.0f},
      {kInverted, 0.7f, 1, 3.0f * std::sin(0.25f * 3.1415925f)},  // rescaled to 0.25
      {kInverted, 0.4f, 0, 1.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.variation << " at " << c.u);
    const Eval e = eval(0, c.variation, kSine, 0, {c.u, 0, 0});
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.applies, c.applies);
    EXPECT_NEAR(e.value, c.value, 1e-6f);
  }
  // Fewer parametric coordinates than the variation limits: no load.
  EXPECT_EQ(eval(0, QueryModel::kLimitVariation, kSine, 0, {0.4f, 0, 0}, kGiven, 0).applies, 0);
}

TEST_F(LoadEvaluation, SpatialDistributionsAndBoxes) {
  const struct {
    int32_t variation, distribution;
    F3 at;
    int32_t applies;
    float value, within;
  } cases[] = {
      {0, QueryModel::kSpatialGlobal, {5, 0, 0}, 1, 2.0f, 1e-6f},
      {0, QueryModel::kSpatialGlobal, {10, 0, 0}, 1, 0.0f, 4e-7f},
      {0, QueryModel::kSpatialGlobal, {12, 0, 0}, 1, 0.0f, 0},
      // CARTSYS's first axis is the global y axis.
      {0, QueryModel::kSpatialCartesian, {0, 5, 0}, 1, 2.0f, 1e-6f},
      {0, QueryModel::kSpatialCartesian, {5, 0, 0}, 1, 0.0f, 0},
      // FARSYS names a node above the highest: global coordinates.
      {0, QueryModel::kSpatialFarNode, {5, 0, 0}, 1, 2.0f, 1e-6f},
      {0, kSpatialTable, {9, 2, 0}, 1, 4.0f, 1e-6f},  // form 2 in direction 2
      {0, kSpatialTable, {0, 5, 0}, 1, 0.0f, 0},
      {QueryModel::kBoxVariation, 0, {0.5f, 7, -3}, 1, 1.0f, 0},
      {QueryModel::kBoxVariation, 0, {1.5f, 0, 0}, 0, 1.0f, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.distribution << " " << c.at[0] << " " << c.at[1]);
    const F3 before = c.at;
    const Eval e = eval(0, c.variation, c.distribution, 0, c.at, 2, 1);
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.applies, c.applies);
    EXPECT_NEAR(e.value, c.value, c.within);
    EXPECT_EQ(c.at, before);
  }
}

TEST_F(LoadEvaluation, TheSystemGivesTheLocalAxes) {
  Eval e = eval(0, 0, 0, QueryModel::kCartesianSystem, {3, 4, 5});
  EXPECT_EQ(e.status, 0);
  const Axes want = {0, 1, 0, 0, 0, 1, 1, 0, 0};
  for (size_t k = 0; k < 9; ++k) EXPECT_NEAR(e.axes[k], want[k], 1e-6f) << k;
  // A system without entry leaves the identity; one that cannot be read fails.
  e = eval(0, 0, 0, 100, {3, 4, 5});
  EXPECT_EQ(e.status, 0);
  EXPECT_EQ(e.axes, kIdentity);
  EXPECT_EQ(eval(0, 0, 0, QueryModel::kFarNodeSystem, {3, 4, 5}).status, 1);
}

TEST_F(LoadEvaluation, FollowingPointsReuseTheRecordsOfTheFirst) {
  // Without a first call of this session, mode 1 reads the records afresh.
  Eval e = eval(1, 0, QueryModel::kLineTable, 0, {0.3f, 0, 0});
  EXPECT_EQ(e.status, 0);
  EXPECT_NEAR(e.value, 3.0f, 1e-6f);
  // The record passed back is what is evaluated, within the entry's value count.
  e = eval(e.mode, 0, QueryModel::kLineTable, 0, {0.7f, 0, 0});
  EXPECT_NEAR(e.value, 7.0f, 1e-5f);
  record[13] = bits(20);
  e = eval(e.mode, 0, QueryModel::kLineTable, 0, {0.7f, 0, 0});
  EXPECT_NEAR(e.value, 14.0f, 1e-5f);
  // A new session forgets the cache: the surface's kind is not used for the line.
  e = eval(0, 0, QueryModel::kSurfaceCorners, 0, {0.5f, 0.5f, 0}, kGiven, 2);
  EXPECT_NEAR(e.value, 2.5f, 1e-6f);
  ASSERT_EQ(open(file, 2 * kN), 0);
  std::fill(record.begin(), record.end(), 0);
  e = eval(1, 0, kSine, 0, {0.5f, 0, 0});
  EXPECT_EQ(e.status, 0);
  EXPECT_NEAR(e.value, 3.0f, 1e-6f);
}

TEST_F(LoadEvaluation, ALineDistributionAlongALine) {
  // The first call of the session computes afresh whatever its mode says.
  Eval e = eval(1, 0, QueryModel::kLineTable, 0, {3, 0, 0}, 2, kTenLine);
  EXPECT_EQ(e.status, 0);
  EXPECT_EQ(e.mode, 1);
  EXPECT_NEAR(e.value, 3.0f, 1e-5f);
  e = eval(0, 0, QueryModel::kLineTable, 0, {3, 0, 0}, 2, kTenLine);
  EXPECT_NEAR(e.value, 3.0f, 1e-5f);
  e = eval(e.mode, 0, QueryModel::kLineTable, 0, {7, 0, 0}, 2, kTenLine);
  EXPECT_EQ(e.status, 0);
  EXPECT_NEAR(e.value, 7.0f, 1e-5f);
  // The limits 0.2..0.6 on t: 0.4 of the line is rescaled to 0.5.
  e = eval(0, QueryModel::kLimitVariation, QueryModel::kLineTable, 0, {4, 0, 0}, 2, kTenLine);
  EXPECT_EQ(e.applies, 1);
  EXPECT_NEAR(e.value, 5.0f, 1e-5f);
  e = eval(e.mode, QueryModel::kLimitVariation, QueryModel::kLineTable, 0, {7, 0, 0}, 2, kTenLine);
  EXPECT_EQ(e.applies, 0);
  // A point ENTPAR cannot place: a line that does not exist.
  EXPECT_EQ(eval(0, 0, QueryModel::kLineTable, 0, {3, 0, 0}, 2, 50).status, 1);
}

}  // namespace
}  // namespace kvr::test
