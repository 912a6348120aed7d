#include "geometry/edgmat.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "geometry/geodsp.h"
#include "runtime/geosta.h"
#include "runtime/modcon.h"

namespace {

using P = std::array<float, 3>;

TEST(Segint, RelationOfTwoSegments) {
  struct Case {
    P p3, p4;
    int32_t code;
    bool hasPoint;
    P point;
  };
  // Against (0, 0, 0) - (1, 0, 0), tolerance 0.001.
  const Case cases[] = {
      {{0.5f, -1, 0}, {0.5f, 1, 0}, kvr::kSegCross, true, {0.5f, 0, 0}},
      {{2, -1, 0}, {2, 1, 0}, kvr::kSegLinesCross, true, {2, 0, 0}},
      {{0.5f, 0.2f, 0}, {0.5f, 1, 0}, kvr::kSegLinesCross, true, {0.5f, 0, 0}},  // v stops short
      {{0, 1, 0}, {1, 1, 0}, kvr::kSegParallel, false, {}},
      {{2, 0, 0}, {3, 0, 0}, kvr::kSegCollinear, false, {}},
      {{-3, 0, 0}, {-2, 0, 0}, kvr::kSegCollinear, false, {}},
      {{0.5f, 0, 0}, {3, 0, 0}, kvr::kSegOverlap, true, {0, 0, 0}},
      {{0.5f, -1, 1}, {0.5f, 1, 1}, kvr::kSegSkew, false, {}},
      {{0.5f, -1, -1}, {0.5f, 1, -1}, kvr::kSegSkew, false, {}},
      {{0.5f, 0, 0}, {0.5005f, 0, 0}, kvr::kSegTooShort, false, {}},
  };
  const P p1{0, 0, 0}, p2{1, 0, 0};
  for (const Case& c : cases) {
    P point{7, 7, 7};
    int32_t code = -1;
    kvr::SEGINT(p1, p2, c.p3, c.p4, 0.001f, point, code);
    EXPECT_EQ(code, c.code) << c.p3[0] << " " << c.p3[1] << " " << c.p3[2];
    const P expected = c.hasPoint ? c.point : P{7, 7, 7};
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(point[k], expected[k], 1e-6f) << c.code << " " << k;
  }
  // A first segment shorter than the tolerance.
  int32_t code = -1;
  P point{};
  kvr::SEGINT(p1, P{0.0002f, 0, 0}, P{0, -1, 0}, P{0, 1, 0}, 0.001f, point, code);
  EXPECT_EQ(code, kvr::kSegTooShort);
}

TEST(Segint, PointMayBeAnInput) {
  P p1{0, 0, 0}, p2{1, 0, 0}, p3{0.5f, -1, 0}, p4{0.5f, 1, 0};
  int32_t code = -1;
  kvr::SEGINT(p1, p2, p3, p4, 0.001f, p3, code);
  EXPECT_EQ(code, kvr::kSegCross);
  EXPECT_EQ(p3, (P{0.5f, 0, 0}));
}

// Node coordinates of the chains, by node number, read through the kernel's query table.
std::map<int32_t, P> gNodes;

void tableNode(const int32_t& node, std::span<float, 3> xyz, int32_t& status) {
  const auto it = gNodes.find(node);
  if (it == gNodes.end()) {
    status = 1;
    return;
  }
  std::copy(it->second.begin(), it->second.end(), xyz.begin());
  status = 0;
}

class Edgmat : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDsp_ = kvr::GEODSP;
    savedGeocon_ = kvr::GEOCON;
    savedGeosta_ = kvr::GEOSTA;
    kvr::GEODSP.nodeCoordinates = tableNode;
    kvr::GEOCON.setReal(3, 0.001f);
    kvr::GEOSTA.setReal(kvr::kGeoModelTolerance, 0.0001f);
    gNodes.clear();
  }
  void TearDown() override {
    kvr::GEODSP = savedDsp_;
    kvr::GEOCON = savedGeocon_;
    kvr::GEOSTA = savedGeosta_;
  }

  // Numbers the points of both chains (from 101 on) and returns the list of both.
  std::vector<int32_t> chains(const std::vector<P>& first, const std::vector<P>& second) {
    std::vector<int32_t> list;
    int32_t next = 101;
    for (const auto* chain : {&first, &second}) {
      for (const P& p : *chain) {
        gNodes[next] = p;
        list.push_back(next++);
      }
    }
    return list;
  }

  struct Answer {
    int32_t reversed = -1, agreement = -1, status = -1;
  };
  Answer match(const std::vector<P>& first, const std::vector<P>& second) {
    const std::vector<int32_t> list = chains(first, second);
    Answer r;
    kvr::EDGMAT(static_cast<int32_t>(first.size()), static_cast<int32_t>(second.size()),
                r.reversed, r.agreement, list, r.status);
    return r;
  }

 private:
  kvr::GeoDsp savedDsp_;
  kvr::ConstantWords<10> savedGeocon_;
  kvr::GeoSta savedGeosta_;
};

std::vector<P> reversedChain(std::vector<P> chain) {
  return {chain.rbegin(), chain.rend()};
}

TEST_F(Edgmat, CountsMustMatchWithAWholeStep) {
  const std::vector<P> five{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}};
  const std::vector<P> three{{0, 1, 0}, {2, 1, 0}, {4, 1, 0}};
  const std::vector<P> four{{0, 1, 0}, {1, 1, 0}, {2, 1, 0}, {4, 1, 0}};
  Answer r = match(five, three);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.reversed, 0);
  r = match(three, five);  // the first chain the longer
  EXPECT_EQ(r.status, 0);
  r = match(five, four);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.reversed, 0);
  EXPECT_EQ(r.agreement, 0);
  r = match({{0, 0, 0}}, three);
  EXPECT_EQ(r.status, 1);
  r = match(three, {{0, 0, 0}});
  EXPECT_EQ(r.status, 1);
  // A list shorter than both chains.
  const std::vector<int32_t> list = chains(three, three);
  int32_t reversed = -1, agreement = -1, status = -1;
  kvr::EDGMAT(3, 3, reversed, agreement, std::span<const int32_t>(list).first(5), status);
  EXPECT_EQ(status, 1);
}

TEST_F(Edgmat, StraightChainsSideBySideDecideByTheEndSegments) {
  const std::vector<P> one{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}};
  const std::vector<P> two{{0, 1, 0}, {1, 1, 0}, {2, 1, 0}};
  Answer r = match(one, two);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.agreement, 2);
  EXPECT_EQ(r.reversed, 0);
  r = match(one, reversedChain(two));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.agreement, 2);
  EXPECT_EQ(r.reversed, 1);
}

TEST_F(Edgmat, AsymmetricShapeTellsTheWay) {
  // An L with legs 2 and 1, and the same L moved 5 along z.
  const std::vector<P> el{{0, 0, 0}, {2, 0, 0}, {2, 1, 0}};
  const std::vector<P> moved{{0, 0, 5}, {2, 0, 5}, {2, 1, 5}};
  Answer r = match(el, moved);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.agreement, 1);
  EXPECT_EQ(r.reversed, 0);
  r = match(el, reversedChain(moved));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.agreement, 1);
  EXPECT_EQ(r.reversed, 1);
  // The longer chain stepped: chain 1 has five nodes, every second one matched.
  const std::vector<P> fine{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 0.5f, 0}, {2, 1, 0}};
  r = match(fine, reversedChain(moved));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.agreement, 1);
  EXPECT_EQ(r.reversed, 1);
  // The mirror image in its plane is the same shape turned over.
  r = match(el, {{0, 0, 5}, {2, 0, 5}, {2, -1, 5}});
  EXPECT_EQ(r.agreement, 1);
  EXPECT_EQ(r.reversed, 0);
  // Legs 2 and 3 match neither frame; the end segments decide.
  r = match(el, {{0, 0, 5}, {2, 0, 5}, {2, 3, 5}});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.agreement, 0);
  EXPECT_EQ(r.reversed, 0);
}

TEST_F(Edgmat, ShortFirstSegmentAndMissingNodes) {
  const std::vector<P> shortStart{{0, 0, 0}, {0.0005f, 0, 0}, {1, 0, 0}};
  const std::vector<P> three{{0, 1, 0}, {1, 1, 0}, {2, 1, 0}};
  Answer r = match(shortStart, three);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.reversed, 0);
  EXPECT_EQ(r.agreement, 0);
  // The end frame of chain 2 is laid on its last segment.
  r = match(three, {{0, 0, 0}, {1, 0, 0}, {1.0005f, 0, 0}});
  EXPECT_EQ(r.status, 2);

  std::vector<int32_t> list = chains(three, three);
  list[4] = 999;  // no such node
  int32_t reversed = -1, agreement = -1, status = -1;
  kvr::EDGMAT(3, 3, reversed, agreement, list, status);
  EXPECT_EQ(status, 3);
  // Before a session the kernel has no node coordinates.
  kvr::GEODSP.nodeCoordinates = kvr::noNodeCoordinates;
  list = chains(three, three);
  kvr::EDGMAT(3, 3, reversed, agreement, list, status);
  EXPECT_EQ(status, 3);
}

}  // namespace
