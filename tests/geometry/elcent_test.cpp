// Element centroids: the centre rule of each order class for faces and edges, on the nodes
// of the query model (read through the node query with the node offset), and the counts
// and nodes that leave no centre.
#include "geometry/elcent.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "linemodel_fixture.h"

namespace kvr::test {
namespace {

constexpr float kSentinel = -77.0f;
using V3 = std::array<float, 3>;

// Nodes 1-16 of the query model moved to (k, 10 - k, k^2 / 4): mid-side nodes lie off the
// midpoints of their edges.
class Centroids : public LineModel {
 protected:
  void SetUp() override {
    LineModel::SetUp();
    for (int32_t k = 1; k <= QueryModel::kNodes; ++k) putReals(kArrNodeCoordinates, k, coordinates(k));
  }

  static std::vector<float> coordinates(int32_t k) {
    const auto f = static_cast<float>(k);
    return {f, 10.0f - f, 0.25f * f * f};
  }
  // The mean of the nodes, or the sum with a factor per node.
  static V weighted(std::initializer_list<std::pair<int32_t, float>> terms) {
    V c{};
    for (auto [node, factor] : terms) {
      const std::vector<float> p = coordinates(node);
      for (size_t i = 0; i < 3; ++i) c[i] += factor * p[i];
    }
    return c;
  }
  static V mean(std::vector<int32_t> nodes) {
    V c{};
    for (int32_t node : nodes) {
      const std::vector<float> p = coordinates(node);
      for (size_t i = 0; i < 3; ++i) c[i] += p[i];
    }
    for (float& x : c) x /= static_cast<float>(nodes.size());
    return c;
  }
  // An element node list of COUNT positions: position k holds node (k - 1) mod 16 + 1.
  static std::vector<int32_t> element(int32_t count) {
    std::vector<int32_t> nodes;
    for (int32_t k = 1; k <= count; ++k) nodes.push_back((k - 1) % QueryModel::kNodes + 1);
    return nodes;
  }
  static std::vector<int32_t> range(int32_t first, int32_t last) {
    std::vector<int32_t> r;
    for (int32_t k = first; k <= last; ++k) r.push_back(k);
    return r;
  }
};

struct Case {
  std::string what;
  int32_t shape;
  std::vector<int32_t> nodes;
  std::vector<int32_t> face;
  int32_t target;
  V3 want;
  int32_t status = 0;
  int32_t n = -1;  // the face list's length unless given
};

void check(const Case& c) {
  V3 centre = {kSentinel, kSentinel, kSentinel};
  int32_t status = -1;
  const int32_t n = c.n >= 0 ? c.n : static_cast<int32_t>(c.face.size());
  ELCENT(c.shape, c.nodes, c.face, n, c.target, centre, status);
  EXPECT_EQ(status, c.status) << c.what;
  for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(centre[i], c.want[i], 1.0e-4f) << c.what << " " << i;
}

TEST_F(Centroids, FacesByOrderClass) {
  const auto e27 = element(27);
  const Case cases[] = {
      {"shape 0", 0, {1, 2, 3, 4}, {1, 2, 3, 4}, 3, {0, 0, 0}, 1},
      {"class 0", 4, {1, 2, 3, 4}, {1, 2, 3, 4}, 3, {0, 0, 0}, 0},
      {"QU4", 5, {13, 14, 15, 16}, {1, 2, 3, 4}, 3, mean({13, 14, 15, 16})},
      {"QU8 serendipity", 9, range(1, 8), range(1, 8), 3,
       weighted({{5, 0.5f}, {6, 0.5f}, {7, 0.5f}, {8, 0.5f},
                 {1, -0.25f}, {2, -0.25f}, {3, -0.25f}, {4, -0.25f}})},
      {"QU8 listed backwards", 9, range(1, 8), {8, 7, 6, 5, 4, 3, 2, 1}, 3,
       weighted({{4, 0.5f}, {3, 0.5f}, {2, 0.5f}, {1, 0.5f},
                 {8, -0.25f}, {7, -0.25f}, {6, -0.25f}, {5, -0.25f}})},
      {"TR6", 7, range(1, 6), range(1, 6), 3, mean(range(1, 6))},
      {"HE20 face of four", 17, range(1, 16), {2, 4, 6, 8}, 3, mean({2, 4, 6, 8})},
      {"HE27 face", 18, e27, {1, 3, 9, 7, 2, 6, 8, 4, 21}, 4, mean({5})},
      {"QU9 face", 10, range(1, 9), range(1, 9), 3, mean({9})},
      {"QU12", 24, range(1, 12), {1, 4, 7, 10}, 3, mean({2, 3, 5, 6, 8, 9, 11, 12})},
      {"TR9", 23, range(1, 9), range(1, 9), 3, mean(range(1, 9))},
      {"PE24 nine", 29, element(24), range(1, 9), 3, mean(range(1, 9))},
      {"PE24 twelve", 29, element(24), range(1, 12), 3, mean(range(5, 12))},
      {"HE32", 30, element(32), {17, 18, 19, 20, 1, 2, 3, 4}, 3, mean({1, 2, 3, 4})},
      {"BE4 face", 21, range(1, 4), range(1, 4), 3, {0, 0, 0}, 0},
      {"sixteen nodes", 26, range(1, 16), range(1, 16), 3, mean({6, 9, 12, 15})},
      {"TR15", 27, range(1, 15), range(1, 15), 3, mean(range(1, 12))},
      {"TR12", 25, range(1, 12), range(1, 12), 3, mean(range(1, 12))},
  };
  for (const Case& c : cases) check(c);
}

TEST_F(Centroids, EdgesByOrderClass) {
  const auto e27 = element(27);
  const Case cases[] = {
      {"BE3", 2, {1, 2, 3}, {1, 2, 3}, 1, mean({3})},
      {"IL32 across", 43, range(1, 9), {4, 5, 6}, 2, mean({4, 5})},
      {"IL32 along", 43, range(1, 9), {1, 2, 3}, 2, mean({3})},
      {"HE16 even", 15, range(1, 16), {1, 3, 2}, 8, mean({1, 3})},
      {"HE16 odd", 15, range(1, 16), {1, 2, 9}, 8, mean({9})},
      {"IS84 upper", 49, range(1, 12), {9, 10, 11}, 1, mean({9, 10})},
      {"IS84 lower", 49, range(1, 12), {1, 2, 5}, 1, mean({5})},
      {"QU9 target 2", 10, range(1, 9), {1, 2, 5}, 2, mean({5})},
      {"HE27 target 8", 18, e27, {1, 2, 9, 10}, 8, mean({9, 10})},
      {"BE4", 21, range(1, 4), {1, 2, 3, 4}, 1, mean({3, 4})},
      {"BE5", 22, range(1, 5), {1, 2, 3, 4, 5}, 2, mean({3, 4, 5})},
      {"IL22", 42, {5, 6, 7, 8}, {1, 2}, 1, mean({5, 6})},
  };
  for (const Case& c : cases) check(c);
}

TEST_F(Centroids, NoCentreWithoutItsNodes) {
  const auto e27 = element(27);
  const Case cases[] = {
      // A failed node read: the node above the highest node.
      {"beyond the highest node", 5, {1, 2, 3, 17}, {1, 2, 3, 4}, 3, {0, 0, 0}, 1},
      {"beyond, single node", 2, {1, 2, 17}, {1, 2, 3}, 1, {0, 0, 0}, 1},
      {"beyond, QU12", 24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 17}, {1, 4, 7, 10}, 3, {0, 0, 0}, 1},
      // Counts below the positions the rule reads.
      {"HE27 three positions", 18, e27, {1, 2, 9}, 8, {0, 0, 0}, 1},
      {"mean of none", 5, {1, 2, 3, 4}, {1, 2, 3, 4}, 3, {0, 0, 0}, 1, 0},
      {"class 2 face of three", 17, range(1, 16), {1, 2, 3}, 3, {0, 0, 0}, 1},
      {"IS84 of one", 49, range(1, 12), {9}, 1, {0, 0, 0}, 1},
      {"HE32 of four", 30, element(32), {1, 2, 3, 4}, 3, {0, 0, 0}, 1},
      {"TR15 of three", 27, range(1, 15), {1, 2, 3}, 3, {0, 0, 0}, 1},
      {"count beyond the list", 5, {1, 2, 3, 4}, {1, 2, 3, 4}, 3, {0, 0, 0}, 1, 5},
      // Positions outside the element's node list.
      {"position 0", 5, {1, 2, 3, 4}, {1, 2, 3, 0}, 3, {0, 0, 0}, 1},
      {"position 5 of 4", 5, {1, 2, 3, 4}, {1, 2, 3, 5}, 3, {0, 0, 0}, 1},
      {"QU12 of eleven nodes", 24, range(1, 11), {1, 4, 7, 10}, 3, {0, 0, 0}, 1},
  };
  for (const Case& c : cases) check(c);
}

TEST(ElementOrderClass, TableOfShapes) {
  const std::vector<int32_t> linear = {1, 3, 5, 11, 12, 13, 16, 20, 41, 42, 47, 48, 60, 61};
  const std::vector<int32_t> quadratic = {2, 7, 9, 14, 15, 17, 43, 44, 49, 50, 51};
  const std::vector<int32_t> cubic = {10, 18, 21, 23, 24, 28, 29, 30, 45};
  const std::vector<int32_t> quartic = {22, 25, 26, 27, 46};
  std::array<int32_t, 62> want{};
  for (int32_t s : linear) want[static_cast<size_t>(s)] = 1;
  for (int32_t s : quadratic) want[static_cast<size_t>(s)] = 2;
  for (int32_t s : cubic) want[static_cast<size_t>(s)] = 3;
  for (int32_t s : quartic) want[static_cast<size_t>(s)] = 4;
  for (int32_t s = 0; s <= 61; ++s) EXPECT_EQ(elementOrderClass(s), want[static_cast<size_t>(s)]) << s;
  EXPECT_EQ(elementOrderClass(62), 0);
  EXPECT_EQ(elementOrderClass(-5), 0);
}

}  // namespace
}  // namespace kvr::test
