// Element ownership on the query model: the element range and data of an entity
// (dll_uelemg), the owner of an element with its cache (dll_ugelem, UGELEM) and the
// element attribute regions (ELCORD).
#include <array>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "geometry/edgmat.h"
#include "kvr7dbio.h"
#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/entrec.h"
#include "queryfixture.h"

namespace kvr::test {
namespace {

constexpr int32_t kOffset = QueryModel::kElementOffset;
constexpr int32_t kP9 = QueryModel::kPointElementOwner;
constexpr int32_t kS4 = QueryModel::kOwnedSurface;
constexpr int32_t kAlu = QueryModel::kAlu;
constexpr int32_t kPlate = QueryModel::kPlate;
constexpr int32_t kShell = QueryModel::kShell;

struct Range {
  int32_t first = -7, last = -7, eltype = -7, units = -7, material = -7, property = -7,
          group = -7, status = -7;
};

Range uelemg(int32_t kind, int32_t number) {
  Range r;
  dll_uelemg(&kind, &number, &r.first, &r.last, &r.eltype, &r.units, &r.material,
             &r.property, &r.group, &r.status);
  return r;
}

struct Owner {
  int32_t kind = -7, number = -7, eltype = -7, units = -7, material = -7, property = -7,
          group = -7, status = -7;
};

// UGELEM itself, whose property the exported routine keeps to itself.
Owner ugelem(int32_t element) {
  Owner o;
  UGELEM(element, o.kind, o.number, o.eltype, o.units, o.material, o.property, o.group,
         o.status);
  return o;
}

class ElementOwnership : public QuerySession {
 protected:
  void SetUp() override {
    QuerySession::SetUp();
    start();
  }

  // Word K of the record of surface ID set to VALUE in the store.
  static void setSurfaceWord(int32_t id, int32_t k, int32_t value) {
    std::array<int32_t, kSurfaceWords> s{};
    RECIO(1, kArrSurfaces, id, s);
    s[static_cast<size_t>(k - 1)] = value;
    RECIO(-1, kArrSurfaces, id, s);
  }
};

TEST_F(ElementOwnership, RangeAndDataOfEachKind) {
  struct Case {
    int32_t kind, number;
    Range want;
  };
  // Groups as the session numbers them: P9 1, L1 and L2 2, S3 3, S4 4, the body 5.
  const Case cases[] = {
      {1, kP9, {kOffset + 5, kOffset + 5, 20, 1, 0, 0, 1, 0}},         // the point's element
      {3, kS4, {kOffset + 6, kOffset + 7, 9, 1, kAlu, kShell, 4, 0}},  // QU4: code 7 + 2
      {3, 3, {kOffset + 4, kOffset + 4, 7, 1, 0, 0, 3, 0}},
      {4, 1, {kOffset + 1, kOffset + 2, 11, 1, 0, 0, 5, 0}},  // code 1 + 10
      {0, 0, {kOffset + 1, kOffset + QueryModel::kAllElements, 0, 0, 0, 0, 0, 0}},
      {0, 99, {kOffset + 1, kOffset + QueryModel::kAllElements, 0, 0, 0, 0, 0, 0}},
      // Not meshed: first and last 0, units and group 0, nothing else written.
      {2, 1, {0, 0, -7, 0, -7, -7, 0, 4}},
      {1, 1, {0, 0, -7, 0, -7, -7, 0, 4}},
      {3, 1, {0, 0, -7, 0, -7, -7, 0, 4}},
      // A composite line, a deleted point, numbers and kinds out of range.
      {2, 4, {-7, -7, -7, 0, -7, -7, 0, 3}},
      {1, 2, {-7, -7, -7, 0, -7, -7, 0, 2}},
      {1, QueryModel::kAllPoints + 1, {-7, -7, -7, 0, -7, -7, 0, 1}},
      {3, 0, {-7, -7, -7, 0, -7, -7, 0, 1}},
      {5, 1, {-7, -7, -7, 0, -7, -7, 0, 1}},
      {-1, 1, {-7, -7, -7, 0, -7, -7, 0, 1}},
  };
  for (const Case& c : cases) {
    const Range r = uelemg(c.kind, c.number);
    const Range& w = c.want;
    EXPECT_EQ((std::array{r.first, r.last, r.eltype, r.units, r.material, r.property, r.group,
                          r.status}),
              (std::array{w.first, w.last, w.eltype, w.units, w.material, w.property, w.group,
                          w.status}))
        << c.kind << "," << c.number;
  }
}

TEST_F(ElementOwnership, UnitsPartZeroCountsAsOne) {
  // Before the session numbers its groups, S4's group word is 0.
  setSurfaceWord(kS4, 10, 0);
  Range r = uelemg(3, kS4);
  EXPECT_EQ(r.units, 1);
  EXPECT_EQ(r.group, 0);
  setSurfaceWord(kS4, 10, 703);
  r = uelemg(3, kS4);
  EXPECT_EQ(r.units, 3);
  EXPECT_EQ(r.group, 7);
}

TEST_F(ElementOwnership, TheModelDatabaseAndTheKernelReachTheQueries) {
  EXPECT_EQ(DSCDSP.elementRange, &UELEMG);
  EXPECT_EQ(GEODSP.nodeCoordinates, &UNODE);
  // The edge matching reads the model's nodes: two L-shaped chains one above the other.
  const std::vector<int32_t> chains = {1001, 1002, 1003, 1005, 1006, 1007};
  int32_t reversed = -1, agreement = -1, status = -1;
  EDGMAT(3, 3, reversed, agreement, chains, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(agreement, 2);
  const std::vector<int32_t> unknown = {1001, 1002, 1003, 1005, 1006, 1099};
  EDGMAT(3, 3, reversed, agreement, unknown, status);
  EXPECT_EQ(status, 3);
}

TEST_F(ElementOwnership, OwnersAndTheirRegions) {
  struct Case {
    int32_t element;
    Owner want;
  };
  const Case cases[] = {
      // Element 1 belongs first to line M1 (before the body), its centroid on the edge of
      // R3; the body's element 2 lies inside R1.
      {kOffset + 1, {2, 6, 3, 1, 1, kPlate, 2, 0}},
      {kOffset + 2, {4, 1, 11, 1, 1, 0, 5, 0}},
      // Every node of element 4 and of the point element lies in the box R2. Element 4
      // belongs first to point P8, which has no element-type code (before S3).
      {kOffset + 4, {1, 8, 0, 0, kAlu, kPlate, 0, 0}},
      {kOffset + 5, {1, kP9, 20, 1, kAlu, kPlate, 1, 0}},
      // S4: element 6's centroid on the edge of R3; element 7 has one node outside the
      // box R2 (every node must pass), so the segment R4 after it applies.
      {kOffset + 6, {3, kS4, 9, 1, 1, kPlate, 4, 0}},
      {kOffset + 7, {3, kS4, 9, 1, 1, kShell, 4, 0}},
      // No entity owns element 3: owner 0, no element data, the regions still tested.
      {kOffset + 3, {0, 0, 0, 0, 1, kPlate, 0, 0}},
      // Out of range: status 1 and everything 0.
      {kOffset, {0, 0, 0, 0, 0, 0, 0, 1}},
      {kOffset + QueryModel::kAllElements + 1, {0, 0, 0, 0, 0, 0, 0, 1}},
  };
  for (const Case& c : cases) {
    const Owner o = ugelem(c.element);
    const Owner& w = c.want;
    EXPECT_EQ((std::array{o.kind, o.number, o.eltype, o.units, o.material, o.property, o.group,
                          o.status}),
              (std::array{w.kind, w.number, w.eltype, w.units, w.material, w.property, w.group,
                          w.status}))
        << c.element;
  }
}

TEST_F(ElementOwnership, TheSecondElementOfAnOwnerComesFromTheCache) {
  EXPECT_EQ(ugelem(kOffset + 6).group, 4);
  // The store changes behind the cache: the next element of S4 is answered from it.
  setSurfaceWord(kS4, 10, 901);
  Owner o = ugelem(kOffset + 7);
  EXPECT_EQ((std::array{o.kind, o.number, o.group}), (std::array{3, kS4, 4}));
  // An element below the cached range: the search starts again at the points.
  o = ugelem(kOffset + 5);
  EXPECT_EQ((std::array{o.kind, o.number, o.group}), (std::array{1, kP9, 1}));
  // Above the cached point: the search goes on from it and reads S4 afresh.
  o = ugelem(kOffset + 7);
  EXPECT_EQ((std::array{o.kind, o.number, o.group}), (std::array{3, kS4, 9}));
  // Below S4's range: the body, from the points on.
  o = ugelem(kOffset + 2);
  EXPECT_EQ((std::array{o.kind, o.number}), (std::array{4, 1}));
  // Above the body's range but owned by an entity before it: the search from the body
  // finds nothing and runs once more from the first point, which finds P8.
  o = ugelem(kOffset + 4);
  EXPECT_EQ((std::array{o.kind, o.number, o.group}), (std::array{1, 8, 0}));
  // Below P8's element: the search starts again at the points and finds line M1 before
  // the body.
  o = ugelem(kOffset + 1);
  EXPECT_EQ((std::array{o.kind, o.number}), (std::array{2, 6}));
  // No owner: the cache is dropped, and the next search starts at the points again.
  o = ugelem(kOffset + 3);
  EXPECT_EQ((std::array{o.kind, o.number}), (std::array{0, 0}));
  o = ugelem(kOffset + 2);
  EXPECT_EQ((std::array{o.kind, o.number}), (std::array{4, 1}));
}

TEST_F(ElementOwnership, ANewSessionEmptiesTheCache) {
  // The same model with S4 meshed by QU8 (element-type code 8).
  const std::string other = variant("qu8", [] { setSurfaceWord(kS4, 6, 9908); });
  start();
  EXPECT_EQ(ugelem(kOffset + 6).eltype, 9);
  ASSERT_EQ(open(other, 2 * kN), 0);
  EXPECT_EQ(ugelem(kOffset + 7).eltype, 10);
}

TEST_F(ElementOwnership, TheExportedRoutineTakesThePropertyByValue) {
  int32_t element = kOffset + 6, kind = -1, number = -1, eltype = -1, units = -1,
          material = -1, group = -1, status = -1;
  dll_ugelem(&element, &kind, &number, &eltype, &units, &material, 77, &group, &status);
  EXPECT_EQ((std::array{kind, number, eltype, units, material, group, status}),
            (std::array{3, kS4, 9, 1, 1, 4, 0}));
}

// Adds element attribute region ID (after the model's four) of KIND and MODE giving
// material 1 and property 1, with VALUES in fresh records of the value store.
void addRegion(int32_t id, int32_t kind, int32_t mode, const std::vector<float>& values) {
  const auto n = static_cast<int32_t>(values.size());
  int32_t first = 0, stat = 0;
  ARRALC(kArrRealValues, n, first, stat);
  std::vector<float> v = values;
  ARRIO(-1, kArrRealValues, first, n, 1, {}, v, stat);
  std::array<int32_t, 7> ints = {kind, mode, first, n, 1, 0, 1};
  std::array<int32_t, 2> label = {0x20202020, 0x20202020};
  int32_t key = id, count = static_cast<int32_t>(ints.size());
  ATTFND(-1, label, -10, key, count);
  count = static_cast<int32_t>(ints.size());
  ATTVAL(-1, -10, id, 1, count, ints, {}, stat);
  MODCNT.word(kCntKind44) = id;
}

// The vertices of a regular polygon of N corners about (-50, -50) on x and y.
std::vector<float> polygon(int n) {
  std::vector<float> v;
  for (int k = 0; k < n; ++k) {
    const float a = 6.2831853f * static_cast<float>(k) / static_cast<float>(n);
    v.push_back(-50.0f + 10.0f * std::cos(a));
    v.push_back(-50.0f + 10.0f * std::sin(a));
  }
  return v;
}

TEST_F(ElementOwnership, RegionsThatCannotBeTestedAreSkipped) {
  // R3 of an unknown kind: element 6 passes on to R4 (two of its nodes lie on the
  // segment), and with R4 unknown too it keeps the material and property of its owner.
  std::array<int32_t, 1> kind = {7};
  int32_t count = 1, stat = 0;
  ATTVAL(-1, -10, 3, 1, count, kind, {}, stat);
  Owner o = ugelem(kOffset + 6);
  EXPECT_EQ((std::array{o.material, o.property}), (std::array{1, kShell}));
  ATTVAL(-1, -10, 4, 1, count, kind, {}, stat);
  o = ugelem(kOffset + 6);
  EXPECT_EQ((std::array{o.material, o.property}), (std::array{kAlu, kShell}));

  // A polygon of 30 vertices is tested, one of 31 is skipped.
  std::array<float, kElcordPoints> x{-50}, y{-50}, z{};
  int32_t points = 1, found = -1, material = 0, property = 0;
  addRegion(5, 1, 1, polygon(30));
  ELCORD(0, x, y, z, points, found, material, property);
  EXPECT_EQ(found, 1);
  addRegion(6, 1, 1, polygon(31));
  ATTVAL(-1, -10, 5, 1, count, kind, {}, stat);  // region 5 out of the way
  ELCORD(0, x, y, z, points, found, material, property);
  EXPECT_EQ(found, 0);
  // Too few values for a box or a segment.
  addRegion(7, 2, 1, {-60, -60, -1, -40, -40});
  addRegion(8, 4, 1, {-60, -50, 0, -40, -50, 0});
  ELCORD(0, x, y, z, points, found, material, property);
  EXPECT_EQ(found, 0);
  // With its sixth value the box holds the point.
  addRegion(9, 2, 1, {-60, -60, -1, -40, -40, 1});
  ELCORD(0, x, y, z, points, found, material, property);
  EXPECT_EQ(found, 1);
}

TEST_F(ElementOwnership, ElcordTestsGivenPointsAndNoPointsPassNothing) {
  std::array<float, kElcordPoints> x{}, y{}, z{};
  int32_t count = 2, found = -1, material = -1, property = -1;
  // Two points inside the box R2.
  x[0] = 2;
  x[1] = 4.5f;
  y[0] = y[1] = 0.5f;
  ELCORD(0, x, y, z, count, found, material, property);
  EXPECT_EQ((std::array{found, material, property}), (std::array{1, kAlu, kPlate}));
  // No points: the centroid of nothing is no point, and every node of none passes none.
  count = 0;
  material = property = -1;
  ELCORD(0, x, y, z, count, found, material, property);
  EXPECT_EQ((std::array{found, material, property}), (std::array{0, -1, -1}));
  // An element's own nodes: element 7's four corners.
  count = 0;
  ELCORD(7, x, y, z, count, found, material, property);
  EXPECT_EQ(count, 4);
  EXPECT_EQ((std::array{x[0], x[1], x[2], x[3]}), (std::array{1.0f, 3.0f, 3.0f, 1.0f}));
  EXPECT_EQ((std::array{found, material, property}), (std::array{1, 1, kShell}));
  // A region count from a damaged file walks no further than the entries held.
  MODCNT.word(kCntKind44) = INT_MAX;
  count = 1;
  x[0] = -50;
  ELCORD(0, x, y, z, count, found, material, property);
  EXPECT_EQ(found, 0);
  // No regions: nothing is tested.
  MODCNT.word(kCntKind44) = 0;
  x[0] = 2;
  ELCORD(0, x, y, z, count, found, material, property);
  EXPECT_EQ(found, 0);
}

}  // namespace
}  // namespace kvr::test
