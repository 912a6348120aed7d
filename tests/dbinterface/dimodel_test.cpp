#include "dbinterface/dimodel.h"

#include <gtest/gtest.h>

#include <bit>
#include <numeric>
#include <vector>

#include "recordfixture.h"

namespace kvr {
namespace {

using test::Flags;
using test::RecordFixture;
using test::RefusalCase;

constexpr Flags kNone = {0, 0, 0};
constexpr Flags kUnitOne = {1, 0, 0};
constexpr Flags kAll = {2, 2, 2};
// A write failure is provoked on unit index 3 (/dev/full).
constexpr Flags kFullOnly = {0, 0, 1};

int32_t bits(float x) { return std::bit_cast<int32_t>(x); }

class ModelRecords : public RecordFixture {
 protected:
  static int32_t cor(int32_t node, int32_t isys = 0, int32_t k = 1, float x = 1.5f) {
    int32_t ierr = -1;
    DICOR(node, x, -2.25f, 0.0f, isys, ierr, unitNumber(k));
    return ierr;
  }
  static int32_t top(int32_t ielem, int32_t itype, std::vector<int32_t> nodes, int32_t isys = 0,
                     int32_t k = 1) {
    nodes.resize(32, 1);  // room for the largest element type
    int32_t ierr = -1;
    DITOP(ielem, itype, 1, 2, nodes, isys, ierr, unitNumber(k));
    return ierr;
  }
  static int32_t set(const char* name, std::vector<int32_t> ids, int32_t nids, int32_t k = 1,
                     const char* title = "Outer nodes") {
    int32_t ierr = -1;
    DISET(FixedText(8, name), FixedText(30, title), ids, nids, ierr, unitNumber(k));
    return ierr;
  }
  static int32_t con(int32_t node, int32_t idof, int32_t isys = 0, int32_t iedof = 0,
                     int32_t k = 1) {
    int32_t ierr = -1;
    DICON(node, idof, isys, iedof, ierr, unitNumber(k));
    return ierr;
  }
  static int32_t lxc(int32_t isys, int32_t k = 1) {
    int32_t ierr = -1;
    int32_t idum = 7;
    std::array<float, 9> axes = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    DILXC(isys, idum, axes, ierr, unitNumber(k));
    EXPECT_EQ(idum, 0) << "IDUM is 0 whatever the outcome";
    return ierr;
  }
};

TEST_F(ModelRecords, DicorRefusals) {
  const std::vector<RefusalCase> cases = {
      {"wrong dataset", 1, 0, 1, [] { openDataset(1, 3); }, [] { return cor(1); }, 131, kUnitOne,
       errorLine(131, "DICOR", 3)},
      {"node 0 first", 1, 0, 1, [] {}, [] { return cor(0); }, 212, kAll, errorLine(212, "DICOR")},
      {"node not ascending", 1, 0, 1, [] { DISTAT.lastId(1) = 5; }, [] { return cor(5); }, 212,
       kAll, errorLine(212, "DICOR")},
      {"node 100000, five digits", 2, 0, 1, [] {}, [] { return cor(100000); }, 215, kAll,
       errorLine(215, "DICOR", 100000)},
      {"system -1", 1, 0, 1, [] {}, [] { return cor(1, -1); }, 253, kAll,
       errorLine(253, "DICOR", -1)},
      {"system 1000000", 1, 0, 1, [] {}, [] { return cor(1, 1000000); }, 254, kAll,
       errorLine(254, "DICOR", 1000000)},
      {"system 100000 in a text file", 2, 1, 1, [] {}, [] { return cor(1, 100000); }, 255, kAll,
       errorLine(255, "DICOR", 100000)},
      {"write failure", 1, 0, kFullUnit, [] { fillBuffer(kFullUnit); },
       [] { return cor(1, 0, kFullUnit); }, 216, kAll, errorLine(216, "DICOR", 43)},
  };
  runRefusals(cases, 2, [](const RefusalCase& c) {
      EXPECT_EQ(DISTAT.coordinatesState, 0) << c.what;
      EXPECT_EQ(DICTL.nodeCount, 0) << c.what;
  });

  // After node 0 every unit has the model to abandon.
  configure(1, 0);
  openDataset(1, 2);
  openDataset(2, 2);
  EXPECT_EQ(cor(0), 212);
  expectRefused("unit 2 after 212", 2, [] { return cor(1, 0, 2); }, 32, kAll,
                errorLine(32, "DICOR"));
}

TEST_F(ModelRecords, DicorAcceptsAndWritesTheNode) {
  struct Case {
    int32_t luopt, format, node;
  };
  // 100000 fits the database and the ten-digit text formats.
  for (const Case& c : {Case{1, 0, 100000}, Case{2, 1, 100000}, Case{3, 2, 100000},
                        Case{2, 0, 99999}}) {
    configure(c.luopt, c.format);
    openDataset(1, 2);
    EXPECT_EQ(cor(c.node), 0) << c.luopt << "/" << c.format;
  }
  // A system number above 99999 fits the database.
  configure(1, 0);
  openDataset(1, 2);
  EXPECT_EQ(cor(1, 999999), 0);

  configure(1, 0);
  openDataset(1, 2);
  ASSERT_EQ(cor(3, 7, 1, -0.0f), 0);
  ASSERT_EQ(cor(8, 99999, 1, 1e-40f), 0);
  EXPECT_EQ(cor(8), 212);  // strictly ascending
  EXPECT_EQ(stream(1), (std::vector<int32_t>{-1, 3, bits(-0.0f), bits(-2.25f), 0, 7,  //
                                             -1, 8, bits(1e-40f), bits(-2.25f), 0, 99999}));
  EXPECT_EQ(DISTAT.datasetComplete(1), 1);
  EXPECT_EQ(DISTAT.coordinatesState, 2);
  EXPECT_EQ(DICTL.nodeCount, 2);
  EXPECT_EQ(DISTAT.lastId(1), 8);
}

TEST_F(ModelRecords, DicorStreamThatCannotBeWritten) {
  // The key-2 header and 161 nodes fill 1021 words of the first record; the 162nd node
  // completes it, and the record cannot be written.
  openDataset(kFullUnit, 2);
  headerRecord(DIUNIT.record, 2, codeOf('C'), FixedText(20), 0.0f, FixedText(20), 0, 0,
               FixedText(10));
  int32_t flag = 0;
  TMPWRT(DIUNIT.record.words(), kFullUnit, flag);
  ASSERT_EQ(flag, 0);
  for (int32_t node = 1; node <= 161; ++node) ASSERT_EQ(cor(node, 0, kFullUnit), 0) << node;
  EXPECT_EQ(flags(), kNone);
  EXPECT_EQ(cor(162, 0, kFullUnit), 216);
  EXPECT_EQ(flags(), kAll);
  EXPECT_EQ(messages().back(), errorLine(216, "DICOR", 43));
}

TEST_F(ModelRecords, DitopRefusals) {
  const std::vector<RefusalCase> cases = {
      {"wrong dataset", 1, 0, 1, [] { openDataset(1, 2); }, [] { return top(1, 9, {1, 2, 3, 4}); },
       132, kUnitOne, errorLine(132, "DITOP", 2)},
      {"element 0", 1, 0, 1, [] {}, [] { return top(0, 9, {1, 2, 3, 4}); }, 217, kAll,
       errorLine(217, "DITOP", 0)},
      {"type 17", 1, 0, 1, [] {}, [] { return top(1, 17, {1}); }, 218, kAll,
       errorLine(218, "DITOP", 17)},
      {"type 99", 1, 0, 1, [] {}, [] { return top(1, 99, {1}); }, 218, kAll,
       errorLine(218, "DITOP", 99)},
      {"type 0", 1, 0, 1, [] {}, [] { return top(1, 0, {1}); }, 218, kAll,
       errorLine(218, "DITOP", 0)},
      {"node 0", 1, 0, 1, [] {}, [] { return top(1, 9, {1, 2, 0, 4}); }, 213, kAll,
       errorLine(213, "DITOP", 0)},
      {"node 100000, five digits", 2, 0, 1, [] {}, [] { return top(1, 9, {1, 100000, 3, 4}); },
       215, kAll, errorLine(215, "DITOP", 100000)},
      {"node 0 checked with the node limit", 2, 0, 1, [] {},
       [] { return top(1, 9, {100001, 0, 3, 4}); }, 215, kAll, errorLine(215, "DITOP", 100001)},
      {"element 100000, five digits", 3, 0, 1, [] {},
       [] { return top(100000, 9, {1, 2, 3, 4}); }, 221, kAll, errorLine(221, "DITOP", 100000)},
      {"system -1", 1, 0, 1, [] {}, [] { return top(1, 9, {1, 2, 3, 4}, -1); }, 253, kAll,
       errorLine(253, "DITOP", -1)},
      {"system 1000000", 1, 0, 1, [] {}, [] { return top(1, 9, {1, 2, 3, 4}, 1000000); }, 254,
       kAll, errorLine(254, "DITOP", 1000000)},
      {"system 100000 in a text file", 2, 2, 1, [] {},
       [] { return top(1, 9, {1, 2, 3, 4}, 100000); }, 255, kAll, errorLine(255, "DITOP", 100000)},
      {"write failure", 1, 0, kFullUnit, [] { fillBuffer(kFullUnit); },
       [] { return top(1, 9, {1, 2, 3, 4}, 0, kFullUnit); }, 216, kAll,
       errorLine(216, "DITOP", 43)},
  };
  runRefusals(cases, 3, [](const RefusalCase& c) {
      EXPECT_EQ(DISTAT.topologyState, 0) << c.what;
      EXPECT_EQ(DICTL.elementCount, 0) << c.what;
  });
}

TEST_F(ModelRecords, DitopWritesTheElementAndItsNodes) {
  openDataset(1, 3);
  EXPECT_EQ(top(5, 9, {1, 2, 3, 4}), 0);
  // Any order, and numbers beyond the text file's fields with database output only.
  EXPECT_EQ(top(3, 11, {100000, 2}, 0), 0);
  EXPECT_EQ(top(1000000, 11, {3, 4}, 999999), 0);
  EXPECT_EQ(stream(1), (std::vector<int32_t>{-1, 5,       9,  1, 2, 0,      0, 1,  2, 3, 4,  //
                                             -1, 3,       11, 1, 2, 0,      0, 100000, 2,  //
                                             -1, 1000000, 11, 1, 2, 999999, 0, 3,  4}));
  EXPECT_EQ(DISTAT.datasetComplete(1), 1);
  EXPECT_EQ(DISTAT.topologyState, 2);
  EXPECT_EQ(DICTL.elementCount, 3);
}

TEST_F(ModelRecords, DitopDiscardsThePointElement) {
  openDataset(1, 3);
  EXPECT_EQ(top(17, 20, {0}), 0);
  EXPECT_EQ(messages(), (std::vector<std::string>{
                            " DI    : DITOP : POINT ELEMENT DISCARDED                            "
                            ": (        17)"}));
  EXPECT_EQ(position(1), 1);
  EXPECT_EQ(DISTAT.topologyState, 0);
  EXPECT_EQ(DISTAT.datasetComplete(1), 0);
  EXPECT_EQ(DICTL.elementCount, 0);
  EXPECT_EQ(flags(), kNone);
}

TEST_F(ModelRecords, DisetRefusals) {
  const std::vector<RefusalCase> cases = {
      {"wrong dataset", 1, 0, 1, [] { openDataset(1, 41); }, [] { return set("EDGE", {1}, 1); },
       133, kUnitOne, errorLine(133, "DISET", 41)},
      {"blank name", 1, 0, 1, [] {}, [] { return set("", {1}, 1); }, 134, kUnitOne,
       errorLine(134, "DISET")},
      {"member 100000, five digits", 2, 0, 1, [] {},
       [] { return set("EDGE", {1, 2, 100000, 4}, 4); }, 143, kUnitOne,
       errorLine(143, "DISET", 100000)},
      {"write failure", 1, 0, kFullUnit, [] { fillBuffer(kFullUnit); },
       [] { return set("EDGE", {1}, 1, kFullUnit); }, 129, kFullOnly,
       errorLine(129, "DISET", 43)},
  };
  runRefusals(cases, 18, [](const RefusalCase& c) {
      EXPECT_EQ(DISTAT.setHeaderWritten(c.k), 0) << c.what;
      EXPECT_EQ(DISTAT.datasetComplete(c.k), 0) << c.what;
  });
  // 100000 fits the ten-digit formats.
  configure(2, 1);
  openDataset(1, 19);
  EXPECT_EQ(set("EDGE", {100000}, 1), 0);
}

TEST_F(ModelRecords, DisetCutsMembersIntoRecords) {
  std::vector<int32_t> ids(31);
  std::iota(ids.begin(), ids.end(), 1);
  // The record lengths the stream must show after the set header.
  auto memberCounts = [](const std::vector<int32_t>& words) {
    std::vector<int32_t> counts;
    for (std::size_t at = 39; at < words.size(); at += 2 + static_cast<std::size_t>(words[at + 1])) {
      EXPECT_EQ(words[at], -2);
      counts.push_back(words[at + 1]);
    }
    return counts;
  };

  openDataset(1, 18);
  ASSERT_EQ(set("edge", ids, 31), 0);
  std::vector<int32_t> words = stream(1);
  EXPECT_EQ(memberCounts(words), (std::vector<int32_t>{15, 15, 1}));
  EXPECT_EQ(words[0], -1);
  EXPECT_EQ(words[1], codeOf('e'));  // the set name as sent
  EXPECT_EQ(words[9], codeOf('O'));  // the title from word 10
  EXPECT_EQ(words[38], kBlankCode);
  EXPECT_EQ(words.back(), 31);

  configure(1, 1);
  openDataset(1, 19);
  ASSERT_EQ(set("EDGE", ids, 31), 0);
  // A second call of the dataset adds members and no second header; its name is not read.
  ASSERT_EQ(set("OTHER", {40, 41}, 2, 1, "Ignored"), 0);
  words = stream(1);
  EXPECT_EQ(memberCounts(words), (std::vector<int32_t>{10, 10, 10, 1, 2}));
  EXPECT_EQ(words[1], codeOf('E'));
  EXPECT_EQ(DISTAT.setHeaderWritten(1), 1);
  EXPECT_EQ(DISTAT.datasetComplete(1), 1);

  // No members, or a negative count: one member record of count 0.
  for (int32_t nids : {0, -3}) {
    configure(2, 0);
    openDataset(1, 18);
    ASSERT_EQ(set("EMPTY", {}, nids), 0) << nids;
    words = stream(1);
    ASSERT_EQ(words.size(), 41u) << nids;
    EXPECT_EQ(words[39], -2);
    EXPECT_EQ(words[40], 0);
  }
}

TEST_F(ModelRecords, DiconRefusals) {
  const std::vector<RefusalCase> cases = {
      {"wrong dataset", 1, 0, 1, [] { openDataset(1, 43); }, [] { return con(1, 9); }, 194,
       kUnitOne, errorLine(194, "DICON", 43)},
      {"node not above the last", 1, 0, 1, [] { DISTAT.lastId(1) = 4; },
       [] { return con(4, 9); }, 153, kUnitOne, errorLine(153, "DICON")},
      {"node 0", 1, 0, 1, [] {}, [] { return con(0, 9); }, 153, kUnitOne,
       errorLine(153, "DICON")},
      {"node 100000, five digits", 2, 0, 1, [] {}, [] { return con(100000, 9); }, 143, kUnitOne,
       errorLine(143, "DICON", 100000)},
      {"system -1", 1, 0, 1, [] {}, [] { return con(1, 9, -1); }, 141, kAll,
       errorLine(141, "DICON", -1)},
      {"system 1000000", 1, 0, 1, [] {}, [] { return con(1, 9, 1000000); }, 142, kAll,
       errorLine(142, "DICON", 1000000)},
      {"system 100000 in a text file", 3, 1, 1, [] {}, [] { return con(1, 9, 100000); }, 143,
       kAll, errorLine(143, "DICON", 100000)},
      {"IDOF 112", 1, 0, 1, [] {}, [] { return con(1, 112); }, 196, kUnitOne,
       errorLine(196, "DICON", 112)},
      {"IEDOF 77", 1, 0, 1, [] {}, [] { return con(1, 12, 0, 77); }, 197, kUnitOne,
       errorLine(197, "DICON", 77)},
      {"both 0", 1, 0, 1, [] {}, [] { return con(1, 0, 0, 0); }, 176, kUnitOne,
       errorLine(176, "DICON")},
      {"write failure", 1, 0, kFullUnit, [] { fillBuffer(kFullUnit); },
       [] { return con(1, 9, 0, 0, kFullUnit); }, 129, kFullOnly, errorLine(129, "DICON", 43)},
  };
  runRefusals(cases, 41, [](const RefusalCase& c) {
      EXPECT_EQ(DISTAT.datasetComplete(c.k), 0) << c.what;
  });
}

TEST_F(ModelRecords, DiconConstraintCodesAndRecord) {
  int32_t node = 0;
  for (int32_t idof : {12, 654, 9, 65432, 1, 356}) {
    configure(1, 0);
    openDataset(1, 41);
    EXPECT_EQ(con(++node, idof), 0) << idof;
    EXPECT_EQ(con(++node, 0, 0, idof), 0) << "IEDOF " << idof;
  }
  for (int32_t idof : {112, 17, 102, 65433, -1, 7, 10, 1212, 123456}) {
    configure(1, 0);
    openDataset(1, 41);
    EXPECT_EQ(con(1, idof), 196) << idof;
  }

  configure(2, 1);
  openDataset(1, 41);
  ASSERT_EQ(con(100000, 9, 99999, 0), 0);
  ASSERT_EQ(con(100002, 0, 0, 356), 0);
  EXPECT_EQ(stream(1), (std::vector<int32_t>{-1, 100000, 9, 99999, 0, -1, 100002, 0, 0, 356}));
  EXPECT_EQ(DISTAT.lastId(1), 100002);
  EXPECT_EQ(DISTAT.datasetComplete(1), 1);
}

TEST_F(ModelRecords, DilxcRefusals) {
  const std::vector<RefusalCase> cases = {
      {"unknown unit", 1, 0, 1, [] {}, [] {
         int32_t ierr = -1;
         int32_t idum = 7;
         std::array<float, 9> axes{};
         DILXC(1, idum, axes, ierr, 99);
         EXPECT_EQ(idum, 0);
         return ierr;
       },
       211, kAll, errorLine(211, "DILXC", 99)},
      {"wrong dataset", 1, 0, 1, [] { openDataset(1, 41); }, [] { return lxc(1); }, 194, kUnitOne,
       errorLine(194, "DILXC", 41)},
      {"system 3 after 5", 1, 0, 1, [] { DISTAT.lastId(1) = 5; }, [] { return lxc(3); }, 169,
       kUnitOne, errorLine(169, "DILXC")},
      {"system 0", 1, 0, 1, [] {}, [] { return lxc(0); }, 169, kUnitOne, errorLine(169, "DILXC")},
      {"system 1000000", 1, 0, 1, [] {}, [] { return lxc(1000000); }, 142, kUnitOne,
       errorLine(142, "DILXC", 1000000)},
      {"system 100000 in a text file", 2, 2, 1, [] {}, [] { return lxc(100000); }, 143, kUnitOne,
       errorLine(143, "DILXC", 100000)},
      {"write failure", 1, 0, kFullUnit, [] { fillBuffer(kFullUnit); },
       [] { return lxc(1, kFullUnit); }, 129, kFullOnly, errorLine(129, "DILXC", 43)},
  };
  runRefusals(cases, 43);

  configure(1, 0);
  openDataset(1, 43);
  ASSERT_EQ(lxc(5), 0);
  EXPECT_EQ(stream(1), (std::vector<int32_t>{-1, 5, 0, bits(1), 0, 0, 0, bits(1), 0, 0, 0,
                                             bits(1)}));
  EXPECT_EQ(DISTAT.lastId(1), 5);
  EXPECT_EQ(DISTAT.datasetComplete(1), 1);
}

}  // namespace
}  // namespace kvr
