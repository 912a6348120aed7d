#include "dbinterface/dipasm.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <string>
#include <vector>

#include "dbinterface/dbhdrr.h"
#include "dbinterface/dipmat.h"
#include "dbinterface/dipnc.h"
#include "dbinterface/reslvl.h"
#include "loaderfixture.h"
#include "modeldb/cmptrf.h"
#include "modeldb/ctlwords.h"
#include "platform/procid.h"

namespace kvr {
namespace {

using Matrix = std::array<float, 16>;

Matrix identity() {
  Matrix m{};
  for (size_t k : {0u, 5u, 10u, 15u}) m[k] = 1.0f;
  return m;
}
Matrix translationX(float x) {
  Matrix m = identity();
  m[12] = x;
  return m;
}
Matrix scale(float s) {
  Matrix m = identity();
  m[0] = m[5] = m[10] = s;
  return m;
}
Matrix rotationZ(double degrees) {
  const auto c = static_cast<float>(std::cos(degrees * M_PI / 180.0));
  const auto s = static_cast<float>(std::sin(degrees * M_PI / 180.0));
  Matrix m = identity();
  m[0] = c;
  m[1] = s;
  m[4] = -s;
  m[5] = c;
  return m;
}

std::vector<int32_t> bits(const Matrix& m) {
  std::vector<int32_t> w;
  for (float v : m) w.push_back(std::bit_cast<int32_t>(v));
  return w;
}

struct Transformation {
  int32_t id;
  int32_t flag;
  Matrix m;
};

// A component model: NODES nodes (the first eight at the corners of the unit box, the
// others at its centre), ELEMENTS elements, its transformations, its load-case counter;
// its summary record written unless SUMMARY is false.
struct Model {
  std::string name;
  int32_t nodes = 8;
  int32_t elements = 1;
  std::vector<Transformation> transformations;
  int32_t loadCases = 0;
  bool summary = true;
};

class Assembly : public test::LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    startAndCreate();
    ASMACC = {};
    CMPTRF = {};
    RESWLK = {};
  }
  void TearDown() override {
    ASMACC = {};
    CMPTRF = {};
    RESWLK = {};
    LoaderFixture::TearDown();
  }

  static void make(const Model& m) {
    DISTAT.modelState = 0;
    createDatabase(m.name);
    if (m.nodes > 0) {
      beginDataset(2);
      for (int32_t k = 1; k <= m.nodes; ++k) {
        const int32_t c = k - 1;
        if (k <= 8) {
          node(k, static_cast<float>(c & 1), static_cast<float>(c >> 1 & 1),
               static_cast<float>(c >> 2 & 1));
        } else {
          node(k, 0.5f, 0.5f, 0.5f);
        }
      }
      endDataset();
      ASSERT_EQ(load(DIPNC), 0);
      beginDataset(3);
      for (int32_t id = 1; id <= m.elements; ++id) element(id, 9, {1, 2, 3, 4});
      endDataset();
      ASSERT_EQ(load(DIPET), 0);
    }
    if (!m.transformations.empty()) {
      beginDataset(50);
      for (const Transformation& t : m.transformations) {
        raw({-1, t.id, t.flag});
        raw(bits(t.m));
      }
      endDataset();
      ASSERT_EQ(load(DIPTRF), 0);
    }
    DICNT.loadCaseCount = m.loadCases;
    if (m.summary) {
      int32_t status = -1;
      writeModelSummary(LDPAGE, LDSCR, DICNT, status);
      ASSERT_EQ(status, 0);
    }
    S103WB(DICNT.nodeCount, DICNT.elementCount, m.loadCases);
    CRPUT(kModelClass);
    DBCLOS();
  }

  // Creates the assembly NAME to build (model record word 1 = 2) as the model header
  // leaves it: the database open, its name the model given.
  static void assembly(const std::string& name) {
    DBCLOS();
    const std::vector<int32_t> n = test::codes(name, 20);
    const std::vector<int32_t> record = {2, 0, 0};
    const std::vector<int32_t> title(20, kBlankCode);
    std::vector<int32_t> buffer(kLargestPageWords);
    int32_t status = -1;
    FBCFIG(buffer, n, record, title, status);
    ASSERT_EQ(status, 0);
    std::copy(n.begin(), n.end(), DICTL.modelGiven.words.begin());
    DICNT = {};
    ASMACC = {};
    DISTAT.modelState = kModelModeBuild;
  }

  static std::vector<int32_t> component(const std::string& name, int32_t nt) {
    std::vector<int32_t> r = {-1};
    const std::vector<int32_t> c = test::codes(name, 20);
    r.insert(r.end(), c.begin(), c.end());
    r.push_back(nt);
    return r;
  }

  // Runs DIPASM over RECORDS on a new assembly NAME.
  static int32_t build(const std::string& name, const std::vector<std::vector<int32_t>>& records) {
    assembly(name);
    dataset(1, records);
    return load(DIPASM);
  }

  static int32_t record103(int32_t k) { return CTLREC.word(kModelClass, k); }
  static std::vector<int32_t> listPage(int32_t p) {
    std::vector<int32_t> w(kIndexPageSize);
    PAGRD(kComponentClass, p, w);
    return w;
  }
  static std::vector<int32_t> slice(const std::vector<int32_t>& w, int32_t from, int32_t n) {
    return {w.begin() + from - 1, w.begin() + from - 1 + n};
  }
  static std::vector<int32_t> joined(std::initializer_list<std::vector<int32_t>> parts) {
    std::vector<int32_t> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  }
};

const Transformation kShift7{7, 4, translationX(1.0f)};
const Transformation kScale3{3, 5, scale(2.0f)};

TEST_F(Assembly, ComponentsListedWithTheirTransformationsAndOffsets) {
  make({"PART A", 8, 2, {kShift7, kScale3}, 3});
  make({"PART B", 9, 4, {}, 5});
  make({"PART C", 8, 1, {kScale3, kShift7}, 7});
  ASSERT_EQ(build("ASM", {component("PART A", 2), {7, 3}, component("PART B", 0),
                          component("PART C", 2), {7, 3}}),
            0);

  // M = T3 x T7: (1, 1, 1) moved by 7, then by 3; the third component's is current.
  const Matrix m = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 2, 0, 0, 1};
  EXPECT_EQ(CMPTRF.flag, 5);
  EXPECT_EQ(CMPTRF.m, m);
  float x = 1, y = 1, z = 1;
  XFMPNT(x, y, z);
  EXPECT_EQ((std::array<float, 3>{x, y, z}), (std::array<float, 3>{4, 2, 2}));

  const int32_t first = record103(54);
  ASSERT_GT(first, 0);
  const std::vector<int32_t> one = listPage(first);
  const std::vector<int32_t> partA = joined({test::codes("PART-A", 20), {2, 7, 3, 5}, bits(m), {0, 0}});
  EXPECT_EQ(slice(one, 6, 42), partA);
  EXPECT_EQ(slice(one, 48, 23), joined({test::codes("PART-B", 20), {0, 8, 2}}));
  EXPECT_EQ(one[4], 70);
  ASSERT_GT(one[3], 0);
  const std::vector<int32_t> two = listPage(one[3]);
  EXPECT_EQ(slice(two, 6, 42),
            joined({test::codes("PART-C", 20), {2, 7, 3, 5}, bits(m), {17, 6}}));
  EXPECT_EQ(two[3], 0);
  EXPECT_EQ(two[4], 47);

  EXPECT_EQ(record103(13), 25);
  EXPECT_EQ(record103(14), 7);
  EXPECT_EQ(record103(15), 3);

  // The walk finds the components by their stored names, with these offsets.
  std::vector<int32_t> page(kLargestPageWords), results(kLargestPageWords);
  const std::vector<std::array<int32_t, 2>> offsets = {{0, 0}, {8, 2}, {17, 6}};
  int32_t level = 0, found = 0, second = 0, done = 0, error = 0;
  for (const auto& o : offsets) {
    RESLVL(page, results, 0, level, found, second, done, error);
    ASSERT_EQ(error, 0);
    ASSERT_EQ(done, 0);
    EXPECT_EQ(DBLEVL.nodeOffset, o[0]);
    EXPECT_EQ(DBLEVL.elementOffset, o[1]);
  }
  RESLVL(page, results, 0, level, found, second, done, error);
  EXPECT_EQ(done, 1);
  level = -1;
  RESLVL(page, results, 0, level, found, second, done, error);
  EXPECT_EQ(error, 0);
}

TEST_F(Assembly, SummaryBoundsTheMovedBoxes) {
  make({"BOX", 8, 1, {}, 0});
  make({"TURNED", 8, 1, {{1, 1, rotationZ(45.0)}}, 0});
  ASSERT_EQ(build("ASM", {component("BOX", 0), component("TURNED", 1), {1}}), 0);
  const int32_t first = recorded(kSummaryDataset);
  ASSERT_GT(first, 0);
  const DbPage p = page(first);
  EXPECT_EQ(p.word(10), 5001);
  const std::vector<float> want = {-0.70711f, 0.0f, 0.0f, 1.0f, 1.41421f, 1.0f};
  for (int32_t k = 0; k < 6; ++k) {
    EXPECT_NEAR(std::bit_cast<float>(p.word(39 + k)), want[static_cast<size_t>(k)], 1.0e-5) << k;
  }
  EXPECT_EQ(p.word(45), 16);
  EXPECT_EQ(p.word(46), 2);
  EXPECT_EQ(p.word(58), 0);
  EXPECT_EQ(p.word(61), -1);
  EXPECT_EQ(p.word(62), -1);

  int32_t status = -1;
  DICNT = {};
  // As an opening reads them: the counts from record 103, the rest from the summary.
  DBCTRW(DICNT.nodeCount, DICNT.elementCount, DICNT.loadCaseCount);
  DBHDRR(LDPAGE, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(DICNT.nodeCount, 16);
  EXPECT_EQ(DICNT.firstNodeId, -1);
  EXPECT_NEAR(DICNT.minimum[0], -0.70711f, 1.0e-5);
}

TEST_F(Assembly, Refusals) {
  std::vector<Transformation> fifteen;
  for (int32_t id = 1; id <= 15; ++id) fifteen.push_back({id, 1, translationX(1.0f)});
  make({"PART A", 8, 1, {kShift7, kScale3}, 0});
  make({"EMPTY", 0, 0, {}, 0});
  make({"NOSUM", 8, 1, {}, 0, false});
  make({"NOTRF", 8, 1, {}, 0});
  make({"MANY", 8, 1, fifteen, 0});
  std::vector<int32_t> ids15(15, 7);

  struct Case {
    const char* what;
    std::vector<std::vector<int32_t>> records;
    int32_t ierr;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"end record alone", {}, 226, errorLine(226, "DILIM")},
      {"no component files", {component("NOWHERE", 0)}, 226, errorLine(226, "DILIM", "NOWHERE")},
      {"no nodes", {component("EMPTY", 0)}, 226, errorLine(226, "DILIM", "EMPTY")},
      {"no summary", {component("NOSUM", 0)}, 227, errorLine(227, "DILIM", "NOSUM")},
      {"no transformations", {component("NOTRF", 2), {7, 3}}, 228, errorLine(228, "DILIM")},
      {"id 9 not stored", {component("PART A", 2), {7, 9}}, 228, errorLine(228, "DILIM")},
      {"all of fifteen", {component("MANY", -1)}, 234, errorLine(234, "DILIM")},
      {"fifteen ids", {component("PART A", 15), ids15}, 234, errorLine(234, "DILIM")},
  };
  int32_t k = 0;
  for (const Case& c : cases) {
    const std::string name = "ASM" + std::to_string(++k);
    EXPECT_EQ(build(name, c.records), c.ierr) << c.what;
    EXPECT_EQ(messages().back(), c.line) << c.what;
    // Nothing listed, and the assembly is the database open again.
    EXPECT_EQ(record103(54), 0) << c.what;
    EXPECT_EQ(recorded(kSummaryDataset), 0) << c.what;
    int32_t held = 0;
    DBLOCK(1, held);
    EXPECT_EQ(held, 1) << c.what;
  }
}

TEST_F(Assembly, EveryStoredTransformationInStoredOrder) {
  make({"THREE", 8, 1, {{4, 1, translationX(1.0f)}, {8, 2, scale(3.0f)}, {2, 0, identity()}}, 0});
  ASSERT_EQ(build("ASM", {component("THREE", -1)}), 0);
  const std::vector<int32_t> one = listPage(record103(54));
  // (x + 1) x 3: the translation first; the flag of the last, 0, stored as 1.
  const Matrix m = {3, 0, 0, 0, 0, 3, 0, 0, 0, 0, 3, 0, 3, 0, 0, 1};
  EXPECT_EQ(slice(one, 26, 23), joined({{3, 4, 8, 2, 1}, bits(m), {0, 0}}));
}

TEST_F(Assembly, LockedOrSummarisedAssemblyRefused) {
  make({"PART A", 8, 1, {}, 0});
  assembly("LOCKED");
  std::vector<int32_t> index(kIndexPageSize);
  PAGRD(kIndexHeaderClass, kHeaderPage, index);
  const int32_t other = 1;  // init: another process, alive
  index[17] = other;
  PAGWR(kIndexHeaderClass, kHeaderPage, index);
  dataset(1, {component("PART A", 0)});
  EXPECT_EQ(load(DIPASM), 272);
  EXPECT_EQ(messages().back(), errorLine(272, "DILIM", other));

  assembly("DONE");
  int32_t status = -1;
  writeModelSummary(LDPAGE, LDSCR, Dicnt{}, status);
  ASSERT_EQ(status, 0);
  dataset(1, {component("PART A", 0)});
  EXPECT_EQ(load(DIPASM), 274);
  EXPECT_EQ(messages().back(), errorLine(274, "DILIM"));
}

}  // namespace
}  // namespace kvr
