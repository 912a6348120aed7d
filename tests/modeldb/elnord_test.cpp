// Element node orders and the orientation test, with node coordinates in the full model
// registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <vector>

#include "modeldb/elnord.h"
#include "modeldb/elttab.h"
#include "modeldb/entrec.h"
#include "modelfixture.h"
#include "runtime/machcn.h"
#include "runtime/modcnt.h"

namespace kvr {
namespace {

using List = std::vector<int32_t>;

List iota(int32_t n, int32_t from = 1) {
  List l(static_cast<size_t>(n));
  std::iota(l.begin(), l.end(), from);
  return l;
}

List run(void (*f)(std::span<const int32_t>, int32_t, std::span<int32_t>, int32_t&), List in,
         int32_t shape, int32_t& stat) {
  List out(kOrderNodes, -7);
  in.resize(kOrderNodes);
  f(in, shape, out, stat);
  out.resize(static_cast<size_t>(std::max(SHPNOD(shape), 0)));
  return out;
}

TEST(ElementOrder, PermutationsTableByTable) {
  int32_t stat = -1;
  struct Case {
    int32_t shape;
    List edgeWalk;  // ELRORD of 1..n
    List cornerFirst;  // ELNPRM of 1..n
  };
  const Case cases[] = {
      {28, {1, 5, 6, 2, 7, 8, 3, 9, 10, 11, 13, 15, 12, 14, 16, 4},
       {1, 4, 7, 16, 2, 3, 5, 6, 8, 9, 10, 13, 11, 14, 12, 15}},
      {29, {1, 7, 8, 2, 9, 10, 3, 11, 12, 19, 21, 23, 20, 22, 24, 4, 13, 14, 5, 15, 16, 6, 17, 18},
       {1, 4, 7, 16, 19, 22, 2, 3, 5, 6, 8, 9, 17, 18, 20, 21, 23, 24, 10, 13, 11, 14, 12, 15}},
      {30, {1, 9, 10, 2, 11, 12, 3, 13, 14, 4, 15, 16, 25, 27, 29, 31,
            26, 28, 30, 32, 5, 17, 18, 6, 19, 20, 7, 21, 22, 8, 23, 24},
       {1, 4, 7, 10, 21, 24, 27, 30, 2, 3, 5, 6, 8, 9, 11, 12,
        22, 23, 25, 26, 28, 29, 31, 32, 13, 17, 14, 18, 15, 19, 16, 20}},
      {42, {1, 2, 4, 3}, {1, 2, 4, 3}},
      {43, {1, 2, 3, 5, 4}, {1, 2, 3, 5, 4}},
      {44, {1, 2, 3, 6, 5, 4}, {1, 2, 3, 6, 5, 4}},
      {45, {1, 2, 3, 4, 8, 7, 6, 5}, {1, 2, 3, 4, 8, 7, 6, 5}},
      {60, {1, 2, 3, 4, 8, 7, 6, 5}, {1, 2, 3, 4, 8, 7, 6, 5}},
      {46, {1, 2, 3, 4, 5, 10, 9, 8, 7, 6}, {1, 2, 3, 4, 5, 10, 9, 8, 7, 6}},
      {61, {1, 2, 3, 4, 5, 10, 9, 8, 7, 6}, {1, 2, 3, 4, 5, 10, 9, 8, 7, 6}},
      {13, iota(8), iota(8)},
  };
  for (const Case& c : cases) {
    const int32_t n = SHPNOD(c.shape);
    EXPECT_EQ(run(ELRORD, iota(n), c.shape, stat), c.edgeWalk) << c.shape;
    EXPECT_EQ(stat, 0);
    EXPECT_EQ(run(ELNPRM, iota(n), c.shape, stat), c.cornerFirst) << c.shape;
    EXPECT_EQ(stat, 0);
    // Each undoes the other on any list.
    const List nodes = iota(n, 101);
    EXPECT_EQ(run(ELNPRM, run(ELRORD, nodes, c.shape, stat), c.shape, stat), nodes) << c.shape;
  }
  for (const int32_t shape : {4, 62, 0}) {
    run(ELRORD, iota(8), shape, stat);
    EXPECT_EQ(stat, 1) << shape;
  }
  run(ELNPRM, iota(8), 35, stat);
  EXPECT_EQ(stat, 1);

  EXPECT_EQ(run(CRNFST, iota(12), 49, stat), (List{1, 3, 5, 7, 9, 10, 11, 12, 2, 4, 6, 8}));
  EXPECT_EQ(run(CRNFST, iota(12), 50, stat), (List{1, 3, 5, 7, 9, 11, 2, 4, 6, 8, 10, 12}));
  EXPECT_EQ(run(CRNFST, iota(16), 51, stat),
            (List{1, 3, 5, 7, 9, 11, 13, 15, 2, 4, 6, 8, 10, 12, 14, 16}));
  EXPECT_EQ(run(CRNFST, iota(8), 13, stat), iota(8));
  EXPECT_EQ(stat, 0);
  run(CRNFST, iota(8), 35, stat);
  EXPECT_EQ(stat, 1);
}

TEST(ElementOrder, AngleSum) {
  MACHCN.setReal(kMachTolerance, 1.0e-32F);
  const float u[3] = {1, 0, 0}, v[3] = {0, 1, 0}, w[3] = {1, 1, 0}, zero[3] = {0, 0, 0};
  float deg = -1;
  int32_t stat = -1;
  ANGSUM(u, v, w, deg, stat);
  EXPECT_NEAR(deg, 90.0F, 1e-4);
  EXPECT_EQ(stat, 0);
  // Parallel vectors whose rounded cosine passes 1 still give an angle.
  const float a[3] = {0.1F, 0.1F, 0.1F}, b[3] = {0.3F, 0.3F, 0.3F};
  ANGSUM(a, a, b, deg, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_FALSE(std::isnan(deg));
  ANGSUM(u, v, zero, deg, stat);
  EXPECT_EQ(deg, 0.0F);
  EXPECT_EQ(stat, 1);
  MACHCN = {};
}

class Orientation : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    MACHCN.setReal(kMachTolerance, 1.0e-32F);
  }
  void TearDown() override {
    MACHCN = {};
    ModelFixture::TearDown();
  }
  // Nodes 1.. at the given points; MODCNT word 10 their count.
  static void nodesAt(const std::vector<std::array<float, 3>>& points) {
    int32_t node = 0;
    for (auto p : points) ARRREA(-1, kArrNodeCoordinates, ++node, p);
    MODCNT.word(kCntHighestNode) = node;
  }
  static List orient(int32_t shape, List in, int32_t mode, int32_t& flip) {
    const auto n = static_cast<int32_t>(in.size());
    List out(kOrderNodes, -7);
    in.resize(kOrderNodes);
    ELORNT(shape, in, n, mode, out, flip);
    out.resize(static_cast<size_t>(n));
    return out;
  }
};

const std::vector<std::array<float, 3>> kCube = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                                 {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};

TEST_F(Orientation, SurfacesAndSolids) {
  nodesAt(kCube);
  int32_t flip = -1;
  // A quadrilateral running clockwise seen from +z.
  EXPECT_EQ(orient(5, {1, 4, 3, 2}, 0, flip), (List{1, 2, 3, 4}));
  EXPECT_EQ(flip, 1);
  EXPECT_EQ(orient(5, {1, 4, 3, 2}, 1, flip), (List{1, 4, 3, 2}));
  EXPECT_EQ(flip, 0);
  EXPECT_EQ(orient(5, {1, 2, 3, 4}, 0, flip), (List{1, 2, 3, 4}));
  EXPECT_EQ(flip, 0);

  EXPECT_EQ(orient(13, iota(8), 0, flip), iota(8));
  EXPECT_EQ(flip, 0);
  EXPECT_EQ(orient(13, {5, 6, 7, 8, 1, 2, 3, 4}, 1, flip), iota(8));
  EXPECT_EQ(flip, 1);

  // A tetrahedron with its apex (node 5, at z = 1) above 1 2 4 seen anticlockwise: kept;
  // with the apex below the plane of its base: reversed.
  EXPECT_EQ(orient(12, {1, 2, 4, 5}, 0, flip), (List{1, 2, 4, 5}));
  EXPECT_EQ(flip, 0);
  nodesAt({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, -1}});
  EXPECT_EQ(orient(12, {1, 2, 3, 4}, 0, flip), (List{1, 3, 2, 4}));
  EXPECT_EQ(flip, 1);
}

TEST_F(Orientation, JudgedAtTheBestShapedCorner) {
  auto cube = kCube;
  cube[0] = {0.9F, 0.9F, 0.05F};
  nodesAt(cube);
  int32_t flip = -1;
  EXPECT_EQ(orient(13, iota(8), 0, flip), iota(8));
  EXPECT_EQ(flip, 0);
}

TEST_F(Orientation, CopiedWhereNothingCanBeJudged) {
  nodesAt(kCube);
  int32_t flip = -1;
  // No corner layout; a node beyond the highest; a copied shape; a point.
  EXPECT_EQ(orient(8, {1, 4, 3, 2, 5, 6}, 0, flip), (List{1, 4, 3, 2, 5, 6}));
  EXPECT_EQ(flip, 0);
  EXPECT_EQ(orient(5, {1, 4, 3, 9}, 0, flip), (List{1, 4, 3, 9}));
  EXPECT_EQ(flip, 0);
  EXPECT_EQ(orient(5, {1, 4, 0, 2}, 0, flip), (List{1, 4, 0, 2}));
  EXPECT_EQ(flip, 0);
  EXPECT_EQ(orient(1, {7, 3, 9}, 0, flip), (List{7, 3, 9}));
  EXPECT_EQ(orient(20, {7, 3}, 0, flip), (List{7, -7}));
  EXPECT_EQ(orient(35, {7, 3}, 0, flip), (List{-7, -7}));
  // A count above 32 copies the shape's node count.
  List in = iota(kOrderNodes, 11), out(kOrderNodes, -7);
  ELORNT(1, in, 1000, 0, out, flip);
  EXPECT_EQ(out[1], 12);
  EXPECT_EQ(out[2], -7);
}

}  // namespace
}  // namespace kvr
