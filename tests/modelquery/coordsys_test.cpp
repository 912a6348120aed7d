// Coordinate systems: the host's system query and local directions through the exported
// routines, and the frames, local coordinates and local axes behind the load evaluation
// and the surface frames.
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "geometry/axes3.h"
#include "kvr7dbio.h"
#include "modelquery/coordsys.h"
#include "runtime/modcon.h"
#include "queryfixture.h"

namespace kvr::test {
namespace {

using F3 = std::array<float, 3>;
using F6 = std::array<float, 6>;

struct System {
  int32_t type = -7, node1 = -7, node2 = -7, node3 = -7, count = -7, status = -7;
  F6 axes = {-7, -7, -7, -7, -7, -7};
  std::vector<int32_t> nodes;
};

System ucsys2(int32_t number, int32_t size) {
  System s;
  s.nodes.assign(static_cast<size_t>(std::max(size, 1)), -7);
  dll_ucsys2(&number, &s.type, s.axes.data(), &s.node1, &s.node2, &s.node3, &s.count,
             s.nodes.data(), &size, &s.status);
  return s;
}

class CoordinateSystems : public QuerySession {
 protected:
  // The query model with system 40 on nodes stored as 1.0, 4.9999 and 3.0, nodes 5 and 3
  // moved to (0, 0, 2) and (3, 0, 0); system 39 with a node above the highest, 38 with
  // node 0.
  void startWithSystems() {
    const std::string file = variant("systems", [] {
      int32_t stat = 0;
      std::vector<float> p5 = {0, 0, 2}, p3 = {3, 0, 0};
      ARRIO(-1, kArrNodeCoordinates, 5, 1, 1, {}, p5, stat);
      ARRIO(-1, kArrNodeCoordinates, 3, 1, 1, {}, p3, stat);
      addSystem(40, {3.0f, 1.0f, 4.9999f, 3.0f});
      addSystem(39, {1.0f, 1.0f, static_cast<float>(QueryModel::kAllNodes + 1), 3.0f});
      addSystem(38, {1.0f, 0.0f, 2.0f, 3.0f});
    });
    ASSERT_EQ(open(file, 2 * kN), 0);
  }
  static void addSystem(int32_t id, std::vector<float> values) {
    std::array<int32_t, 2> rval = {0x20202020, 0x20202020};
    int32_t key = id;
    int32_t count = static_cast<int32_t>(values.size());
    ATTFND(-1, rval, 8, key, count);
    count = static_cast<int32_t>(values.size());
    int32_t stat = 0;
    ATTVAL(-1, 8, id, 1, count, {}, values, stat);
  }
};

TEST_F(CoordinateSystems, TheFixtureSystemAndItsNodes) {
  start();
  const System s = ucsys2(QueryModel::kCylSystem, kN);
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.type, 3);
  EXPECT_EQ(s.node1, 1);
  EXPECT_EQ(s.node2, 5);  // stored as 4.9999
  EXPECT_EQ(s.node3, 2);
  EXPECT_EQ(s.axes, (F6{1, 0, 0, 0, 1, 0}));
  ASSERT_EQ(s.count, 3);
  EXPECT_EQ(std::vector<int32_t>(s.nodes.begin(), s.nodes.begin() + 3),
            (std::vector<int32_t>{1014, 1015, 1016}));
  EXPECT_EQ(s.nodes[3], -7);
}

TEST_F(CoordinateSystems, StatusesInTheirOrder) {
  start();
  // The size comes first, even for a number out of range, and nothing is written.
  System s = ucsys2(0, kN - 1);
  EXPECT_EQ(s.status, 9);
  EXPECT_EQ(s.type, -7);
  EXPECT_EQ(s.count, -7);
  struct Case {
    int32_t number;
    int32_t status;
  };
  // 0 and above USZVEC 16 out of range; 2 (named by L3) and 1 have no record.
  for (const Case c : {Case{0, 1}, Case{-1, 1}, Case{QueryModel::kAllCoordSystems + 1, 1}, Case{2, 2},
                       Case{1, 2}}) {
    s = ucsys2(c.number, kN);
    EXPECT_EQ(s.status, c.status) << c.number;
    EXPECT_EQ(s.type, -7) << c.number;
    EXPECT_EQ(s.node1, -7) << c.number;
  }
}

TEST_F(CoordinateSystems, NodesRoundedAndAxesFromTheirCoordinates) {
  startWithSystems();
  // Nodes 1, 5 and 3 at (0, 0, 0), (0, 0, 2) and (3, 0, 0); no node refers to system 40.
  const System s = ucsys2(40, kN);
  EXPECT_EQ(s.status, 3);
  EXPECT_EQ(s.type, 3);
  EXPECT_EQ(s.node1, 1);
  EXPECT_EQ(s.node2, 5);
  EXPECT_EQ(s.node3, 3);
  EXPECT_EQ(s.count, 0);
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(s.axes[i], (F6{1, 0, 0, 0, 1, 0})[i], 1e-6f) << i;
}

TEST_F(CoordinateSystems, DefiningNodeOutsideTheModelIsNoSystem) {
  startWithSystems();
  for (int32_t number : {39, 38}) {
    const System s = ucsys2(number, kN);
    EXPECT_EQ(s.status, 2) << number;
    EXPECT_EQ(s.type, -7) << number;
    EXPECT_EQ(s.axes[0], -7.0f) << number;
    EXPECT_EQ(s.count, -7) << number;
  }
  // The frame of the load evaluation: the identity, failed.
  for (int32_t number : {39, 38}) {
    int32_t type = -7, failed = -7;
    F3 origin = {-7, -7, -7};
    ColumnAxes frame;
    frame.values.fill(-7);
    LCSFRM(number, type, origin, frame, failed);
    EXPECT_EQ(failed, 1) << number;
    EXPECT_EQ(type, 1) << number;
    EXPECT_EQ(frame.values, ColumnAxes{}.values) << number;
  }
  // The defining points that the surface frames read.
  F3 a{}, b{}, c{};
  int32_t status = -1;
  systemPoints(39, a, b, c, status);
  EXPECT_EQ(status, 1);
  systemPoints(40, a, b, c, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(b, (F3{0, 0, 2}));
}

TEST_F(CoordinateSystems, FrameOfTheLoadEvaluation) {
  startWithSystems();
  int32_t type = -7, failed = -7;
  F3 origin = {-7, -7, -7};
  ColumnAxes frame;
  // System 40: axis 3 towards node 5 (z), axis 2 normal to the nodes' plane (y), axis 1
  // towards node 3 (x), as columns.
  LCSFRM(40, type, origin, frame, failed);
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(type, 3);
  EXPECT_EQ(origin, (F3{0, 0, 0}));
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) EXPECT_NEAR(frame(i, j), i == j ? 1.0f : 0.0f, 1e-6f);
  }
  // No system, and a number of 0: the identity, type 1, not failed.
  for (int32_t number : {0, 2}) {
    frame.values.fill(-7);
    origin = {-7, -7, -7};
    LCSFRM(number, type, origin, frame, failed);
    EXPECT_EQ(failed, 0) << number;
    EXPECT_EQ(type, 1) << number;
    EXPECT_EQ(frame.values, ColumnAxes{}.values) << number;
    EXPECT_EQ(origin[0], -7.0f) << number;
  }
}

// The two words of the geometric constants that the routines without a model read (the
// model start-up sets them), put back afterwards.
class Constants : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = GEOCON;
    GEOCON.setReal(2, 0.01745329f);
    GEOCON.setReal(3, 0.001f);
  }
  void TearDown() override { GEOCON = saved_; }

 private:
  ConstantWords<10> saved_;
};

class LocalDirections : public Constants {};
class LocalCoordinates : public Constants {};

TEST_F(LocalDirections, ByTypeOfSystem) {
  const F6 axes = {1, 0, 0, 0, 1, 0};
  F3 origin = {0, 0, 0};
  struct Case {
    int32_t type;
    F3 point;
    F6 want;
  };
  const Case cases[] = {
      {1, {4, 5, 6}, {1, 0, 0, 0, 1, 0}},
      {3, {0, 0, 5}, {1, 0, 0, 0, 1, 0}},  // on the axis: the axes unchanged
      {3, {0, 2, 3}, {0, 1, 0, -1, 0, 0}},
      {2, {0, 3, 0}, {0, 1, 0, 0, 0, 1}},  // along B: the third axis for the second
      {2, {3, 0, 4}, {0.6f, 0, 0.8f, 0, 1, 0}},
  };
  for (const Case& c : cases) {
    F6 d{};
    int32_t type = c.type;
    dll_ucocyl(&type, const_cast<float*>(axes.data()), origin.data(), const_cast<float*>(c.point.data()),
               d.data());
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(d[i], c.want[i], 1e-6f) << c.type << " " << i;
  }
  F6 d = {-7, -7, -7, -7, -7, -7};
  int32_t type = 5;
  F3 p = {1, 2, 3};
  dll_ucocyl(&type, const_cast<float*>(axes.data()), origin.data(), p.data(), d.data());
  EXPECT_EQ(d, (F6{-7, -7, -7, -7, -7, -7}));
}

TEST(FrameFromPoints, TheNormalInRowJ) {
  const F3 o = {0, 0, 0}, p1 = {1, 0, 0}, p2 = {0, 0, 1};
  struct Case {
    int32_t i, j;
    std::array<F3, 3> rows;
    int32_t status;
  };
  const Case cases[] = {
      {1, 2, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 0},
      {1, 3, {{{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}}, 0},
      {3, 2, {{{0, 0, 1}, {0, -1, 0}, {1, 0, 0}}}, 0},
      {1, 1, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 1},
      {0, 2, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 1},
  };
  for (const Case& c : cases) {
    RowAxes m;
    m.values.fill(-7);
    int32_t status = -1;
    FRMAXN(o, c.i, p1, c.j, p2, m, status);
    EXPECT_EQ(status, c.status) << c.i << c.j;
    for (int k = 1; k <= 3; ++k) {
      for (int m2 = 1; m2 <= 3; ++m2) {
        EXPECT_NEAR(m(k, m2), c.rows[k - 1][m2 - 1], 1e-6f) << c.i << c.j << " row " << k;
      }
    }
  }
  // Collinear points and a point at the origin.
  for (const F3& q : {F3{2, 0, 0}, F3{0, 0, 0}}) {
    RowAxes m;
    int32_t status = -1;
    FRMAXN(o, 1, p1, 2, q, m, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(m.values, RowAxes{}.values);
  }
}

TEST_F(LocalCoordinates, ByType) {
  const RowAxes identity;
  const F3 origin = {0, 0, 0};
  struct Case {
    int32_t type;
    F3 point;
    F3 want;
  };
  const Case cases[] = {
      {1, {1, -2, 3}, {1, -2, 3}},
      {3, {0, -1, 5}, {1, 270, 5}},
      {4, {0, -1, 5}, {1, 270, 5}},
      {2, {0, -1, 0}, {1, 90, -90}},
      {2, {0, 0, -2}, {2, 180, 0}},
      {1, {0, 0, 0}, {0, 0, 0}},
      {2, {0, 0, 0}, {0, 0, 0}},
      {3, {0, 0, 0}, {0, 0, 0}},
      {3, {1, -1.0e-7f, 0}, {1, 0, 0}},  // an angle below 0.001 degree is 0, not 360
  };
  for (const Case& c : cases) {
    F3 local = {-7, -7, -7};
    int32_t status = -1;
    LCSCRD(c.type, origin, identity, c.point, local, status);
    EXPECT_EQ(status, 0) << c.type;
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(local[i], c.want[i], 1e-4f) << c.type << " " << i;
  }
  for (int32_t type : {0, 5, -1}) {
    F3 local = {-7, -7, -7};
    int32_t status = -1;
    LCSCRD(type, origin, identity, F3{1, 1, 1}, local, status);
    EXPECT_EQ(status, 1) << type;
    EXPECT_EQ(local[0], -7.0f) << type;
  }
  // Rows of a turned frame, about a shifted origin.
  RowAxes turned;
  turned.values = {0, -1, 0, 1, 0, 0, 0, 0, 1};  // rows (0, 1, 0), (-1, 0, 0), (0, 0, 1)
  F3 local{};
  int32_t status = -1;
  LCSCRD(1, F3{1, 1, 1}, turned, F3{3, 4, 5}, local, status);
  EXPECT_EQ(local, (F3{3, -2, 4}));
}

TEST(LocalAxes, ColumnsAtAPoint) {
  const ColumnAxes identity;
  const F3 origin = {0, 0, 0};
  struct Case {
    int32_t type;
    float slope;
    F3 point;
    std::array<F3, 3> columns;
  };
  const float h = std::sqrt(0.5f);
  const Case cases[] = {
      {3, 0, {0, 2, 0}, {{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}}},
      {3, 0, {0, 0, 4}, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},  // on the axis
      {1, 0, {5, 5, 5}, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
      {2, 0, {2, 0, 0}, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
      {2, 0, {0, 0, 3}, {{{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}}}},  // along the third axis
      {4, 1, {1, 0, 0}, {{{h, 0, -h}, {0, 1, 0}, {h, 0, h}}}},
      {3, 0, {0, 0, 0}, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},  // at the origin
  };
  for (const Case& c : cases) {
    ColumnAxes axes;
    axes.values.fill(-7);
    int32_t status = -1;
    LCSAXP(c.type, origin, identity, c.slope, c.point, axes, status);
    EXPECT_EQ(status, 0);
    for (int col = 1; col <= 3; ++col) {
      for (int i = 1; i <= 3; ++i) {
        EXPECT_NEAR(axes(i, col), c.columns[col - 1][i - 1], 1e-6f) << c.type << " column " << col;
      }
    }
  }
  // A turned frame: the radial direction of the local point (1, 0, 0) is the frame's
  // first column.
  ColumnAxes turned;
  turned.values = {0, 1, 0, -1, 0, 0, 0, 0, 1};  // columns (0, 1, 0), (-1, 0, 0), (0, 0, 1)
  ColumnAxes axes;
  int32_t status = -1;
  LCSAXP(3, origin, turned, 0, F3{0, 3, 1}, axes, status);
  EXPECT_NEAR(axes(2, 1), 1.0f, 1e-6f);
  EXPECT_NEAR(axes(1, 2), -1.0f, 1e-6f);
  // Types 0 and below write nothing.
  axes.values.fill(-7);
  LCSAXP(0, origin, identity, 0, F3{1, 2, 3}, axes, status);
  EXPECT_EQ(axes.values[0], -7.0f);
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace kvr::test
