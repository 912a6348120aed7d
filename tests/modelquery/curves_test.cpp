// The curve geometry query through the exported routine, and the fillets of CRVGEO.
#include <array>
#include <bit>
#include <cmath>
#include <string>
#include <vector>

#include "kvr7dbio.h"
#include "modelquery/curvqry.h"
#include "queryfixture.h"
#include "runtime/machcn.h"

namespace kvr::test {
namespace {

int32_t bits(float r) { return std::bit_cast<int32_t>(r); }

struct Curve {
  std::string name;
  int32_t type = -7, repeat = -7, written = -7, status = -7;
  float fillet = -7;
  std::vector<float> values;
  std::vector<int32_t> work;
};

Curve ucurvt(int32_t number, int32_t mode, int32_t wsize = 200, int32_t vsize = 100) {
  Curve c;
  std::string name(KVR_UCURVT_NAME_LENGTH, '?');
  c.work.assign(static_cast<size_t>(std::max(wsize, 1)), -7);
  c.values.assign(static_cast<size_t>(std::max(vsize, 1)), -7);
  dll_ucurvt(&number, &mode, name.data(), &c.type, &c.fillet, &c.repeat, c.work.data(), &wsize,
             c.values.data(), &vsize, &c.written, &c.status);
  c.name = name;
  if (c.written >= 0 && c.written <= vsize) c.values.resize(static_cast<size_t>(c.written));
  return c;
}

// The curve record: type x 10000 + m, offsets, scales, range, fillet, repeats, the data.
struct CurveSpec {
  int32_t id, typeWord;
  float xOffset, yOffset, xScale, yScale, lower, upper, fillet;
  int32_t repeats;
  std::vector<float> data;
  int32_t countWord = -1;  // the value count of word 10; -1: the data's size
};

void addCurve(const CurveSpec& s) {
  std::vector<int32_t> v = {s.typeWord,     bits(s.xOffset), bits(s.yOffset), bits(s.xScale),
                            bits(s.yScale), bits(s.lower),   bits(s.upper),   bits(s.fillet),
                            s.repeats,      s.countWord < 0 ? static_cast<int32_t>(s.data.size()) : s.countWord};
  for (float d : s.data) v.push_back(bits(d));
  std::array<int32_t, 2> rval = {0x20202020, 0x20202020};
  int32_t key = s.id;
  int32_t count = static_cast<int32_t>(v.size());
  ATTFND(-1, rval, -7, key, count);
  count = static_cast<int32_t>(v.size());
  int32_t stat = 0;
  ATTVAL(-1, -7, s.id, 1, count, v, {}, stat);
}

// Test-only curves, beside the query model's.
const std::vector<CurveSpec> kCurves = {
    {1, 20000, 0, 0, 1, 1, 0, 0, 0, 0, {2, 5, 3, 0}},                 // step with a < c
    {2, 10000, 1, 0, 1, 2, 1, 2, 0, 0, {0, 1, 1, 2}},                 // offset and scale
    {3, 10000, 0, 0, 1, 1, 0, 1, 0, 2, {0, 0, 1, 1}},                 // two repeats
    {4, 10000, 0, 0, 0, 1, 0, 1, 0, 0, {0, 0, 1, 1}},                 // x scale 0
    {5, 40000, 0, 0, 1, 1, 0, 0, 0, 0, {4, 1, 0, 0, 0}},              // sine with m 0
    {6, 10000, 0, 0, 1, 1, 0, 1, 0, 0, {0, 0, 1, 1}, 40},             // claims 40 values
    {7, 40004, 0, 0, 1, 1, 0, 0, 0, 0, {0, 1, 0, 0, 0}},              // sine of period 0
    {8, 10000, 0, 0, 1, 1, 0, 10, 0.2f, 0, {0, 0, 10, 0, 10, 10}},    // a filleted corner
    {9, 10000, 0, 0, 1, 1, 0, 1, 0, -1, {0, 0, 1, 1}},                // negative repeats
};

class Curves : public QuerySession {
 protected:
  void SetUp() override {
    QuerySession::SetUp();
    const std::string file = variant("curves", [] {
      for (const CurveSpec& s : kCurves) addCurve(s);
    });
    ASSERT_EQ(open(file, 2 * kN), 0);
  }
};

void expectPoints(const Curve& c, const std::vector<float>& want, float within = 1.0e-5f) {
  ASSERT_EQ(c.status, 0);
  ASSERT_EQ(c.written, static_cast<int32_t>(want.size()));
  for (size_t k = 0; k < want.size(); ++k) EXPECT_NEAR(c.values[k], want[k], within) << k;
}

TEST_F(Curves, ModeZeroAnswersAFunctionsParametersAndATablesPoints) {
  Curve c = ucurvt(QueryModel::kSineCurve, 0);
  EXPECT_EQ(c.type, 4);
  EXPECT_EQ(c.name, "SINE           ");
  expectPoints(c, {4, 1, 0, 0, 0});
  c = ucurvt(QueryModel::kStepCurve, 0);
  expectPoints(c, {2, 5, 0, 0});
  c = ucurvt(QueryModel::kTableCurve, 0);
  EXPECT_EQ(c.type, 1);
  expectPoints(c, {0, 7, 0.5f, 7, 1.5f, 8});
}

TEST_F(Curves, FunctionsBecomePoints) {
  const struct {
    int32_t number;
    std::vector<float> points;
  } cases[] = {
      {QueryModel::kSineCurve, {0, 0, 1, 1, 2, 0, 3, -1, 4, 0}},
      {QueryModel::kStepCurve, {0, 5, 2, 5}},
      {QueryModel::kRampCurve, {0, 0, 2, 0, 3, 3, 6, 3}},
      {QueryModel::kExpCurve,
       {0, 3, 1, 2 * std::exp(-1.0f) + 1, 2, 2 * std::exp(-2.0f) + 1, 3,
        2 * std::exp(-3.0f) + 1, 4, 2 * std::exp(-4.0f) + 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    expectPoints(ucurvt(c.number, 1), c.points);
  }
}

TEST_F(Curves, TablesAreScaledClippedAndRepeated) {
  const struct {
    int32_t number;
    std::vector<float> points;
  } cases[] = {
      // (1, 7), (2, 8) over 0.5..2 gains (0.5, 7) in front; x from the lower end.
      {QueryModel::kTableCurve, {0, 7, 0.5f, 7, 1.5f, 8}},
      {2, {0, 2, 1, 4}},
      {3, {0, 0, 1, 1, 1, 0, 2, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    expectPoints(ucurvt(c.number, 1), c.points);
  }
}

TEST_F(Curves, AFilletedTableRoundsItsCornerBeforeItIsClipped) {
  // (0, 0), (10, 0), (10, 10) over 0..10: the arc ends at (10, 2), the first point at the
  // upper end, where the list stops.
  const Curve c = ucurvt(8, 1);
  ASSERT_EQ(c.status, 0);
  ASSERT_EQ(c.written, 20);
  EXPECT_NEAR(c.values[2], 8.0f, 1.0e-5f);
  EXPECT_NEAR(c.values[19], 2.0f, 1.0e-5f);
  EXPECT_EQ(c.fillet, 0.2f);
}

TEST_F(Curves, BadCallsAndRecordsAreRefused) {
  const struct {
    const char* what;
    int32_t number, mode, wsize, vsize, status;
  } cases[] = {
      {"curve 0", 0, 1, 200, 100, 1},
      {"above the count", QueryModel::kCurves + 1, 1, 200, 100, 1},
      {"no entry", 20, 1, 200, 100, 1},
      {"mode 2", QueryModel::kStepCurve, 2, 200, 100, 3},
      {"step with a below c", 1, 1, 200, 100, 3},
      {"x scale 0", 4, 1, 200, 100, 3},
      {"sine with m 0", 5, 0, 200, 100, 3},
      {"table beyond its entry", 6, 1, 200, 100, 3},
      {"sine of period 0", 7, 1, 200, 100, 3},
      {"negative repeats", 9, 1, 200, 100, 3},
      {"values for two points in 3", QueryModel::kStepCurve, 1, 200, 3, 4},
      {"work below the need", QueryModel::kTableCurve, 1, 30, 100, 3},
      {"fillets below the need", 8, 1, 86, 100, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ucurvt(c.number, c.mode, c.wsize, c.vsize).status, c.status);
  }
}

TEST_F(Curves, AnEntryLongerThanTheWorkLeavesItUntouched) {
  // The table entry holds 14 values.
  const Curve c = ucurvt(QueryModel::kTableCurve, 1, 13);
  EXPECT_EQ(c.status, 3);
  EXPECT_EQ(c.work, std::vector<int32_t>(13, -7));
  EXPECT_EQ(c.written, 0);
}

// CRVGEO on the points P (x, y pairs) in a work array of SIZE words.
struct Rounded {
  std::vector<float> w;
  int32_t n = 0, status = -7;
};
Rounded crvgeo(const std::vector<float>& p, int32_t size, float factor) {
  Rounded r;
  r.w.assign(static_cast<size_t>(size), -7.0f);
  std::copy(p.begin(), p.end(), r.w.begin());
  r.n = static_cast<int32_t>(p.size() / 2);
  CRVGEO(r.w, size, r.n, factor, r.status);
  return r;
}

class Fillets : public QuerySession {};

TEST_F(Fillets, ACornerGainsNinePointsOfItsArc) {
  start();
  const Rounded r = crvgeo({0, 0, 10, 0, 10, 10}, 40, 0.2f);
  ASSERT_EQ(r.status, 0);
  ASSERT_EQ(r.n, 11);
  EXPECT_EQ(r.w[0], 0.0f);
  EXPECT_EQ(r.w[1], 0.0f);
  EXPECT_NEAR(r.w[2], 8.0f, 1.0e-5f);
  EXPECT_NEAR(r.w[3], 0.0f, 1.0e-5f);
  EXPECT_NEAR(r.w[18], 10.0f, 1.0e-5f);
  EXPECT_NEAR(r.w[19], 2.0f, 1.0e-5f);
  for (int32_t k = 1; k <= 9; ++k) {
    const float x = r.w[static_cast<size_t>(2 * k)], y = r.w[static_cast<size_t>(2 * k + 1)];
    EXPECT_NEAR(std::hypot(x - 8.0f, y - 2.0f), 2.0f, 1.0e-5f) << k;
  }
  EXPECT_NEAR(r.w[10], 8.0f + std::sqrt(2.0f), 1.0e-5f);
  EXPECT_NEAR(r.w[11], 2.0f - std::sqrt(2.0f), 1.0e-5f);
  EXPECT_EQ(r.w[20], 10.0f);
  EXPECT_EQ(r.w[21], 10.0f);
}

TEST_F(Fillets, TwoPointsAndStraightCornersStay) {
  start();
  Rounded r = crvgeo({0, 0, 10, 0}, 20, 0.2f);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.n, 2);
  EXPECT_EQ(std::vector<float>(r.w.begin(), r.w.begin() + 4), (std::vector<float>{0, 0, 10, 0}));
  r = crvgeo({0, 0, 5, 0, 10, 0}, 20, 0.2f);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.n, 3);
  EXPECT_EQ(std::vector<float>(r.w.begin(), r.w.begin() + 6),
            (std::vector<float>{0, 0, 5, 0, 10, 0}));
}

TEST_F(Fillets, TooLittleRoomOrNoRadiusFails) {
  start();
  // The old list (6 words) and the new one (22) need 28 words.
  Rounded r = crvgeo({0, 0, 10, 0, 10, 10}, 27, 0.2f);
  EXPECT_EQ(r.status, 9);
  EXPECT_EQ(r.n, 3);
  EXPECT_EQ(crvgeo({0, 0, 10, 0, 10, 10}, 28, 0.2f).status, 0);
  r = crvgeo({0, 0, 10, 0, 10, 10}, 40, 0.0f);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.n, 3);
}

}  // namespace
}  // namespace kvr::test
