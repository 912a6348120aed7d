// The query session start: the statuses of USTRT2 on good and bad model files, and the
// session data it derives from the query model (node conditions, target records, load
// ranges, element groups).
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "modeldb/attlst.h"
#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "queryfixture.h"
#include "runtime/modcnt.h"

namespace kvr::test {
namespace {

using Session = QuerySession;

TEST_F(Session, NamesThatOpenNoModelAnswerOne) {
  EXPECT_EQ(open("", 100), 1);
  EXPECT_EQ(open("   \t ", 100), 1);
  EXPECT_EQ(open(dir.file("missing.DMP"), 100), 1);
  EXPECT_TRUE(gLines.empty());
}

TEST_F(Session, FilesThatAreNoModelAnswerTwo) {
  // An empty file and a header whose status word is 0 are refused before the header
  // check: no message.
  writeFile(dir.file("empty.DMP"), "");
  EXPECT_EQ(open(dir.file("empty.DMP"), 100), 2);
  std::filesystem::copy_file(model, dir.file("zero.DMP"));
  setFileWord(dir.file("zero.DMP"), 1, 0);
  EXPECT_EQ(open(dir.file("zero.DMP"), 100), 2);
  EXPECT_TRUE(gLines.empty());

  // An older format is refused by the header check with its messages.
  std::filesystem::copy_file(model, dir.file("old.DMP"));
  setFileWord(dir.file("old.DMP"), 4, 9070);
  EXPECT_EQ(open(dir.file("old.DMP"), 100), 2);
  EXPECT_NE(std::find(gLines.begin(), gLines.end(), "E1150: Cannot load database"), gLines.end());
  EXPECT_NE(std::find(gLines.begin(), gLines.end(),
                      "M433: Database type found < 9070 >  Current database type < 9071 >"),
            gLines.end());
}

TEST_F(Session, TheWorkArrayMustHoldTwiceTheNodes) {
  EXPECT_EQ(open(model, 2 * kN - 1), 9);
  // The file stays open after a failure; the next start opens it again.
  EXPECT_EQ(open(model, 2 * kN), 0);
  // The model file is found whatever the case of its name.
  std::string lower = model;
  lower.replace(lower.size() - 3, 3, "dmp");
  EXPECT_EQ(open(lower, 2 * kN), 0);
}

TEST_F(Session, AReadOnlyModelOpens) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
  ASSERT_EQ(::chmod(model.c_str(), 0444), 0);
  EXPECT_EQ(open(model, 2 * kN), 0);
}

TEST_F(Session, TheNameIsStrippedAndKeptForTheDump) {
  const std::string padded = " \t" + model + "  ";
  FixedText text(kUSTRT2NameLength, padded);
  std::vector<int32_t> work(2 * kN, -7);
  int32_t status = -1;
  USTRT2(text, work, 2 * kN, status);
  EXPECT_EQ(status, 0);
  // The host's work array and its name are only read.
  EXPECT_EQ(work, std::vector<int32_t>(2 * kN, -7));
  EXPECT_EQ(text.trimmed(), " \t" + model);
  EXPECT_EQ(MDLFIL.text().trimmed(), model);

  // A name longer than 128 characters is refused before any open.
  FixedText longName(200, std::string(129, 'a'));
  USTRT2(longName, work, 2 * kN, status);
  EXPECT_EQ(status, 3);
}

TEST_F(Session, ConditionsMarkTheNodesFromNodesDownToPoints) {
  start();
  // Word 1 the flags, word 2 the coordinate system, word 3 the last condition. FIX (mask
  // 5, every node) reaches all; ONCOMP (the set of the composite lines) nodes 1, 10-13
  // and 16; TIE (type 2) the nodes of L3 and of P3 without flags; PNT (mask 8) P1's node.
  // Of the conditions appended later: CONNPTS on the set TRIO1 (nodes 2, 3), EQT2 on PN5
  // (node 5), RBEAM and then EQT1 on L3 (nodes 10-12), EQLONE last on PN11 (node 11).
  for (int32_t n = 1; n <= QueryModel::kNodes; ++n) {
    int32_t flags = 5;
    int32_t system = 0;
    int32_t last = 1;
    if (n == 1) {
      flags = 13;
      last = 2;
    }
    if (n >= 10 && n <= 13) last = 3;
    if (n == 16) last = 4;
    if (n == 2 || n == 3) last = 39;
    if (n == 5) last = 33;
    if (n == 10 || n == 12) last = 32;
    if (n == 11) last = 34;
    if (n >= 10 && n <= 12) system = 2;  // L3's coordinate system
    if (n >= QueryModel::kCylSystemFirstNode && n <= QueryModel::kCylSystemLastNode) {
      system = QueryModel::kCylSystem;  // CYLLINE's
    }
    EXPECT_EQ(nodeRecord(n), (Words{flags, system, last})) << "node " << n;
  }
}

TEST_F(Session, NodeRecordsTheStoreHeldAlreadyAreBuiltAfresh) {
  // Node condition records the store holds before they are built (a model saved with
  // them) are cleared first; the records behind the nodes are not the nodes' to clear.
  start();
  std::vector<Words> want;
  for (int32_t n = 1; n <= kN; ++n) want.push_back(nodeRecord(n));
  reset();
  SYSINI();
  CHRSET();
  MDLCON();
  buildQueryModel();
  installNodeQueries();
  Words stale(static_cast<size_t>(kN + 2) * kNodeConditionWords, 7);
  int32_t stat = 0;
  ARRIO(-1, kArrNodeConditions, 1, kN + 2, -1, stale, {}, stat);
  UNDATR();
  for (int32_t n = 1; n <= kN; ++n) EXPECT_EQ(nodeRecord(n), want[static_cast<size_t>(n - 1)]) << n;
  EXPECT_EQ(nodeRecord(kN + 1), (Words{7, 7, 7}));
  EXPECT_EQ(REGHED.ARRLEN(kArrNodeConditions), kN + 2);
}

TEST_F(Session, CoordinateSystemsFromBodiesDownToPoints) {
  // The body in system 3, S1 in 4, L3 in 2, CYLLINE in 41, P1 in 5: a later kind
  // overrides an earlier.
  const std::string file = variant("systems", [] {
    std::array<int32_t, kBodyWords> b{};
    RECIO(1, kArrBodies, 1, b);
    b[13] = 30;
    RECIO(-1, kArrBodies, 1, b);
    std::array<int32_t, kSurfaceWords> s{};
    RECIO(1, kArrSurfaces, 1, s);
    s[8] = 40;
    RECIO(-1, kArrSurfaces, 1, s);
    std::array<int32_t, kPointWords> p{};
    RECIO(1, kArrPoints, 1, p);
    p[9] = 50;
    RECIO(-1, kArrPoints, 1, p);
  });
  ASSERT_EQ(open(file, 2 * kN), 0);
  for (int32_t n = 1; n <= QueryModel::kNodes; ++n) {
    int32_t system = n <= 12 ? 3 : 4;
    if (n >= 10 && n <= 12) system = 2;
    if (n >= QueryModel::kCylSystemFirstNode && n <= QueryModel::kCylSystemLastNode) {
      system = QueryModel::kCylSystem;  // lines come after the surfaces
    }
    if (n == 1) system = 5;
    EXPECT_EQ(nodeRecord(n)[1], system) << "node " << n;
  }
}

TEST_F(Session, TargetRecordsFollowTheNodesLoadsFirst) {
  start();
  // LC on C1: its two members; LSET on the set of composite lines: none; LEMPTY: none.
  // Loads 4-17 one record each, the codes of kinds 0, 5 and 6 as they stand, but LK7 one
  // per surface of its set. Then every condition: FIX (code 0), PNT, TIE (its first
  // target), and ONCOMP's two composite lines, which a condition keeps. The conditions
  // appended later one each, codes of kind 8 as they stand, but CONNPTS one per point of
  // its set TRIO1, and PRESC the line of its set NODELINE.
  const std::vector<Words> expected = {
      {1, 12, 12},  {1, 22, 22},  {4, 35, 35},  {5, 36, 36},  {6, 13, 13},  {6, 23, 23},
      {7, 30, 30},  {8, 12, 12},  {9, 62, 62},  {10, 82, 82}, {11, 53, 53}, {12, 14, 14},
      {13, 12, 12}, {14, 12, 12}, {15, 12, 12}, {16, 12, 12}, {17, 51, 51}, {1, 0, 0},
      {2, 11, 11},  {3, 32, 32},  {4, 42, 42},  {4, 52, 52},
      {21, 10338, 10338}, {22, 10338, 10338}, {23, 10408, 10408}, {24, 10408, 10408},
      {25, 10408, 10408}, {26, 10408, 10408}, {27, 32, 32}, {28, 10408, 10408}, {29, 32, 32},
      {30, 281, 281}, {31, 281, 281}, {32, 32, 32}, {33, 291, 291}, {34, 281, 281},
      {35, 212, 212}, {36, 212, 212}, {37, 212, 212}, {38, 262, 262}, {39, 11, 11},
      {39, 301, 301}, {39, 311, 311}, {40, 262, 262}};
  for (size_t k = 0; k < expected.size(); ++k) {
    EXPECT_EQ(nodeRecord(kN + 1 + static_cast<int32_t>(k)), expected[k]) << "record " << kN + 1 + k;
  }
  EXPECT_EQ(MODCNT.word(kCntLoadTargets), 17);
  EXPECT_EQ(MODCNT.word(kCntConditionTargets), 27);
  EXPECT_EQ(MODCNT.word(kCntEntryTargets), 0);
  EXPECT_EQ(MODCNT.word(kCntTargetsSpare), 0);
}

TEST_F(Session, EveryLoadGetsItsRangeOfTargetRecords) {
  start();
  auto range = [](int32_t load) {
    const std::vector<float> v = values(9, load, 10);
    return std::pair{v[4], v[5]};
  };
  const float n = static_cast<float>(kN);
  EXPECT_EQ(range(1), std::pair(n + 1 + 0.1f, n + 2 + 0.1f));
  // No record: an empty range, also for the set without members, whose stored values
  // would otherwise stay.
  EXPECT_EQ(range(2), std::pair(n + 3 + 0.1f, n + 2 + 0.1f));
  EXPECT_EQ(range(3), std::pair(n + 3 + 0.1f, n + 2 + 0.1f));
  EXPECT_FLOAT_EQ(values(9, 1, 10)[1], 42.0f);  // the other values are kept
}

TEST_F(Session, ElementGroupsJoinEqualCombinations) {
  start();
  // P9 opens group 1; L1 (units part 0, counted as 1) and L2 (units part 1) share group
  // 2, and L1's units part becomes 1; S3 opens group 3, S4 group 4, the body group 5.
  EXPECT_EQ(LNG12B(1), 2);
  EXPECT_EQ(LNG12(1), 1);
  EXPECT_EQ(LNG12B(2), 2);
  EXPECT_EQ(LNG12B(3), 0);
  std::array<int32_t, kSurfaceWords> s{};
  RECIO(1, kArrSurfaces, 3, s);
  EXPECT_EQ(s[9], 301);
  RECIO(1, kArrSurfaces, QueryModel::kOwnedSurface, s);
  EXPECT_EQ(s[9], 401);
  std::array<int32_t, kPointWords> p{};
  RECIO(1, kArrPoints, QueryModel::kPointElementOwner, p);
  EXPECT_EQ(p[7], 101);  // the point's units part is its element-type code
  std::array<int32_t, kBodyWords> b{};
  RECIO(1, kArrBodies, 1, b);
  EXPECT_EQ(b[12], 501);
  EXPECT_EQ(SESCNT.word(1), 6);
  EXPECT_EQ(SESCNT.word(2), 7);
}

TEST_F(Session, AGroupOfAnEarlierSessionIsNumberedAfresh) {
  // Group parts stored in the file are cleared first: a line saved in group 9 joins
  // group 2 with its partner.
  const std::string file = variant("grouped", [] {
    int32_t stat = 0;
    LNP12(2, 9, stat);
  });
  ASSERT_EQ(open(file, 2 * kN), 0);
  EXPECT_EQ(LNG12B(2), 2);
  EXPECT_EQ(SESCNT.word(1), 6);
}

TEST_F(Session, AModelWithoutNodesOrLoads) {
  const std::string file = variant("bare", [] {
    MODCNT.word(kCntHighestNode) = 0;
    MODCNT.word(kCntHighestElement) = 0;
    MODCNT.word(kCntLoads) = 0;
  });
  // Any work size passes; the target records are numbered from 1.
  ASSERT_EQ(open(file, 0), 0);
  EXPECT_EQ(nodeRecord(1), (Words{1, 0, 0}));
  EXPECT_EQ(SESCNT.word(2), 0);
}

TEST_F(Session, TheQueriesReachTheDatabaseThroughItsTable) {
  start();
  EXPECT_EQ(DSCDSP.pointNodes, &NDPNT);
  EXPECT_EQ(DSCDSP.lineNodes, &NDLIN);
  EXPECT_EQ(DSCDSP.surfaceNodes, &NDSRF);
  EXPECT_EQ(DSCDSP.bodyNodes, &NDBOD);
  EXPECT_EQ(DSCDSP.setMembers, &USET2);
  EXPECT_EQ(DSCDSP.entityNodes, &UNODEG);
  EXPECT_EQ(DSCDSP.lineMesh, &CONMSH);
}

}  // namespace
}  // namespace kvr::test
