#include "dbinterface/toparr.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "dbinterface/dbhdrr.h"
#include "dbinterface/dipasm.h"
#include "dbinterface/reslvl.h"
#include "modeldb/cmptrf.h"
#include "modeldb/ctlwords.h"
#include "runtime/reghed.h"
#include "workarrayfixture.h"

namespace kvr {
namespace {

using test::Point;
using test::TestElement;

class WorkArrays : public test::WorkArrayFixture {
 protected:
  // A unit square (nodes 1-4) and a beam from node 5 to node 6.
  static std::vector<Point> shellAndBeamNodes() {
    return {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}, {3, 0, 0}};
  }
};

// An element of N nodes read back by ELMXYZ.
struct ReadBack {
  int32_t id = 0, type = 0, ieatt1 = 0, ieatt2 = 0, status = -1;
  std::array<float, 32> x{}, y{}, z{};
  std::array<int32_t, 32> ids{}, sequences{};
};

ReadBack elmxyz(int32_t key) {
  ReadBack r;
  std::vector<int32_t> work(200);
  ELMXYZ(work, key, r.id, r.type, r.ieatt1, r.ieatt2, r.x, r.y, r.z, r.ids, r.sequences, r.status);
  return r;
}

TEST_F(WorkArrays, ShellThenBeamRecordsAndStartPositions) {
  build(shellAndBeamNodes(), {{10, 9, {1, 2, 3, 4}, {2}}, {20, 11, {5, 6}}});
  // QU4: 4 + 2 x 4 words; BE2: 4 + 2 x 2; the end marker after them.
  EXPECT_EQ(records(kElementStartHandle, 1, 3), (std::vector<int32_t>{1, 13, 21}));
  EXPECT_EQ(records(kElementRecordHandle, 1, 20),
            (std::vector<int32_t>{9, 10, 1, 2, 1, 1, 2, 2, 3, 3, 4, 4,  //
                                  11, 20, 1, 2, 5, 5, 6, 6}));
  // One key per face of the shell (the element across it), one key 0 for the beam.
  EXPECT_EQ(records(kFaceKeyStartHandle, 1, 3), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(records(kFaceKeyHandle, 1, 2), (std::vector<int32_t>{2, 0}));
}

TEST_F(WorkArrays, ElementsReadBackByKey) {
  const std::vector<Point> nodes = shellAndBeamNodes();
  build(nodes, {{10, 9, {1, 2, 3, 4}, {2}}, {20, 11, {5, 6}}});
  const ReadBack shell = elmxyz(1);
  EXPECT_EQ(shell.status, 0);
  EXPECT_EQ(shell.id, 10);
  EXPECT_EQ(shell.type, 9);
  EXPECT_EQ(shell.ieatt1, 1);
  EXPECT_EQ(shell.ieatt2, 2);
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(shell.ids[k], static_cast<int32_t>(k + 1));
    EXPECT_EQ(shell.sequences[k], static_cast<int32_t>(k + 1));
    EXPECT_EQ((Point{shell.x[k], shell.y[k], shell.z[k]}), nodes[k]) << k;
  }
  const ReadBack beam = elmxyz(2);
  EXPECT_EQ(beam.status, 0);
  EXPECT_EQ(beam.type, 11);
  EXPECT_EQ(beam.x[1], 3.0f);

  std::vector<int32_t> work(20);
  std::array<int32_t, 6> keys{};
  int32_t count = -1, status = -1;
  FACLST(work, 1, keys, count, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(keys[0], 2);
  FACLST(work, 2, keys, count, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(keys[0], 0);

  // Keys outside the arrays, as a damaged edge record could hold, answer 1 rather than
  // end the run; so does a work buffer too small for the record.
  for (int32_t key : {0, -1, 3, 1000}) {
    EXPECT_EQ(elmxyz(key).status, 1) << key;
    FACLST(work, key, keys, count, status);
    EXPECT_EQ(status, 1) << key;
  }
  std::vector<int32_t> small(6);
  ReadBack r;
  ELMXYZ(small, 1, r.id, r.type, r.ieatt1, r.ieatt2, r.x, r.y, r.z, r.ids, r.sequences, r.status);
  EXPECT_EQ(r.status, 1);
}

// A named array reached directly ends at the records allocated to it, as ARRIO's reads
// do, though the store's page has room beyond them; a handle word outside the registry
// reaches no array.
TEST_F(WorkArrays, DirectAccessEndsAtTheRecordsAllocated) {
  build(shellAndBeamNodes(), {{10, 9, {1, 2, 3, 4}, {2}}, {20, 11, {5, 6}}});
  const RoadArray starts(kElementStartHandle);
  ASSERT_EQ(starts.records(), 3);
  EXPECT_EQ(starts.records(), roadRecords(kElementStartHandle));
  std::array<int32_t, 2> words{};
  ASSERT_TRUE(starts.get(2, 2, words));
  EXPECT_EQ(words, (std::array<int32_t, 2>{13, 21}));
  EXPECT_FALSE(starts.get(3, 2, words));
  EXPECT_FALSE(starts.put(4, 1, words));
  EXPECT_TRUE(starts.exist(4, 0));
  EXPECT_FALSE(starts.exist(0, 1));
  // A write inside the records does not grow the array.
  words = {13, 22};
  ASSERT_TRUE(starts.put(2, 2, words));
  EXPECT_EQ(records(kElementStartHandle, 1, 3), (std::vector<int32_t>{1, 13, 22}));
  EXPECT_EQ(starts.records(), 3);
  for (const int32_t handle : {0, 3, 99}) {
    const RoadArray none(handle);
    EXPECT_EQ(none.records(), 0) << handle;
    EXPECT_FALSE(none.get(1, 1, words)) << handle;
  }
}

TEST_F(WorkArrays, NodeWithoutCoordinatesAnswersOne) {
  const std::vector<Point> nodes = shellAndBeamNodes();
  const std::vector<TestElement> elements = {{10, 9, {1, 2, 3, 4}}, {20, 11, {5, 6}}};
  load(nodes, elements);
  link(elements);
  int32_t status = -1;
  TOPARR(kElementDataset, LDPAGE, status);
  ASSERT_EQ(status, 0);
  coordinates({nodes.begin(), nodes.begin() + 4});
  EXPECT_EQ(elmxyz(1).status, 0);
  EXPECT_EQ(elmxyz(2).status, 1);
}

TEST_F(WorkArrays, MissingTopologyAnswersOne) {
  beginDataset(2);
  node(1, 0, 0, 0);
  endDataset();
  ASSERT_EQ(LoaderFixture::load(DIPNC), 0);
  int32_t status = -1;
  TOPARR(kElementDataset, LDPAGE, status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(REGHED.ARRLEN(APPSTA.ARRHND(kElementStartHandle)), 0);
}

// The full model registry has the displacement array (handle word 2) beside the work
// arrays.
TEST_F(WorkArrays, DisplacementsAddedInsideTheirRangeOnly) {
  const std::vector<Point> nodes = shellAndBeamNodes();
  load(nodes, {{10, 9, {1, 2, 3, 4}}});
  link({{10, 9, {1, 2, 3, 4}}});
  ARRNUM(1);
  int32_t stat = -1;
  ARRREG(2, 1, stat);
  ASSERT_EQ(stat, 0);
  TOPARR(kElementDataset, LDPAGE, stat);
  ASSERT_EQ(stat, 0);
  coordinates(nodes);
  // Nodes 2 to 4 have displacements: records 1 to 3.
  DSPSTA.displacementFirst = 2;
  DSPSTA.displacementLast = 4;
  DSPSTA.displacementScale = 10.0f;
  for (int32_t r = 1; r <= 3; ++r) {
    std::array<float, 3> d{0.1f * static_cast<float>(r), 0, 1};
    ARRIO(-1, APPSTA.ARRHND(kDisplacementHandle), r, 1, 1, {}, d, stat);
  }
  struct Case {
    int32_t s;
    Point moved;
  };
  const Case cases[] = {{1, {5, 5, 5}}, {2, {6, 5, 15}}, {4, {8, 5, 15}}, {5, {5, 5, 5}}};
  for (const Case& c : cases) {
    float x = 5, y = 5, z = 5;
    DSPADD(c.s, x, y, z);
    EXPECT_EQ((Point{x, y, z}), c.moved) << c.s;
  }
  // ELMXYZ moves the nodes only with the displacement switch on.
  EXPECT_EQ(elmxyz(1).x[1], 1.0f);
  DSPSTA.displacementSwitch = 1;
  const ReadBack moved = elmxyz(1);
  EXPECT_EQ(moved.x[0], 0.0f);
  EXPECT_EQ(moved.x[1], 2.0f);
  EXPECT_EQ(moved.z[3], 10.0f);
}

// An assembly of two one-shell components: their elements follow one another in the
// work arrays, with the numbering offsets of their place in the assembly.
TEST_F(WorkArrays, AssemblyComponentsWithTheirOffsets) {
  const std::vector<Point> square = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  const std::vector<TestElement> shell = {{7, 9, {1, 2, 3, 4}, {1}}};
  for (const char* name : {"PART A", "PART B"}) {
    DISTAT.modelState = 0;
    createDatabase(name);
    load(square, shell);
    link(shell);
    int32_t status = -1;
    writeModelSummary(LDPAGE, LDSCR, DICNT, status);
    ASSERT_EQ(status, 0);
    S103WB(DICNT.nodeCount, DICNT.elementCount, 0);
    CRPUT(kModelClass);
    DBCLOS();
  }
  DBCLOS();
  const std::vector<int32_t> name = test::codes("ASM", 20);
  const std::vector<int32_t> title(20, kBlankCode);
  std::vector<int32_t> buffer(kLargestPageWords);
  int32_t status = -1;
  FBCFIG(buffer, name, std::vector<int32_t>{2, 0, 0}, title, status);
  ASSERT_EQ(status, 0);
  std::copy(name.begin(), name.end(), DICTL.modelGiven.words.begin());
  DICNT = {};
  ASMACC = {};
  CMPTRF = {};
  RESWLK = {};
  DISTAT.modelState = kModelModeBuild;
  std::vector<std::vector<int32_t>> list;
  for (const char* part : {"PART A", "PART B"}) {
    std::vector<int32_t> r = {-1};
    const std::vector<int32_t> c = test::codes(part, 20);
    r.insert(r.end(), c.begin(), c.end());
    r.push_back(0);
    list.push_back(r);
  }
  dataset(1, list);
  ASSERT_EQ(LoaderFixture::load(DIPASM), 0);

  TOPARR(kElementDataset, LDPAGE, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(records(kElementStartHandle, 1, 3), (std::vector<int32_t>{1, 13, 25}));
  // The second shell's nodes are 5 to 8 of the assembly and its face key is 1 + 1.
  EXPECT_EQ(records(kElementRecordHandle, 13, 12),
            (std::vector<int32_t>{9, 7, 1, 2, 1, 5, 2, 6, 3, 7, 4, 8}));
  EXPECT_EQ(records(kFaceKeyHandle, 1, 2), (std::vector<int32_t>{1, 2}));
  // The walk ends in the assembly again.
  EXPECT_EQ(DBLEVL.numberingMode, 2);
  CMPTRF = {};
  RESWLK = {};
  ASMACC = {};
}

}  // namespace
}  // namespace kvr
