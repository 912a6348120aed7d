// Entity records, the attribute list, the entity query layer and the entity texts, on
// small fixtures in the full model registry.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <string>
#include <vector>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/corsto.h"
#include "modeldb/elttab.h"
#include "modeldb/entnam.h"
#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "modelfixture.h"
#include "runtime/codtxt.h"
#include "runtime/dspsta.h"
#include "runtime/gridmd.h"
#include "runtime/idpack.h"
#include "runtime/incftb.h"
#include "runtime/iomode.h"
#include "runtime/iounit.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/msgarg.h"
#include "runtime/reghed.h"
#include "runtime/slttab.h"
#include "testsupport.h"

namespace kvr {
namespace {

using Entities = ModelFixture;

TEST_F(Entities, EntexsReadsCountDeletedWordsThenTheStoredTest) {
  MODCNT.word(kCntLines) = 4;
  put(3, 5, {kMarker, kBlank});  // line 5's name record says deleted
  EXPECT_EQ(ENTEXS(5, 2), 0);
  MODCNT.word(kCntLines) = 6;
  EXPECT_EQ(ENTEXS(5, 2), -1);  // no deletions: the record is not read
  MODCNT.word(kCntDelLines) = 1;
  EXPECT_EQ(ENTEXS(5, 2), 0);
  put(3, 5, {a4Word("L5"), kBlank});
  EXPECT_EQ(ENTEXS(5, 2), -1);

  MODCNT.word(kCntHighestNode) = 3;
  for (int32_t n = 1; n <= 3; ++n) EXPECT_EQ(ENTEXS(n, 8), -1) << n;
  EXPECT_EQ(ENTEXS(0, 8), 0);
  EXPECT_EQ(ENTEXS(4, 8), 0);
  EXPECT_EQ(ENTEXS(1, 36), 0);  // empty list

  // Kinds without a count word in the old table: 0 and above the count are absent.
  MODCNT.word(kCntMaterials) = 2;
  EXPECT_EQ(MATEXS(0), 0);
  EXPECT_EQ(ENTEXS(3, 10), 0);
  EXPECT_EQ(ENTEXS(2, 10), -1);
  EXPECT_EQ(ENTEXS(-1, 10), 0);
}

TEST_F(Entities, EntexsKindsOutsideTheTable) {
  MODCNT.word(kCntPoints) = 2;
  MODCNT.word(kCntDelPoints) = 1;
  put(1, 1, {a4Word("P1"), kBlank, kMarker, kBlank});
  entry(0, 7, "X", {1});
  struct Case {
    int32_t id, kind, want;
  } cases[] = {{1, 0, -1}, {2, -3, 0}, {1, 48, -1}, {2, 99, 0},  // tested as points
               {7, 12, -1}, {8, 12, 0}, {7, 45, -1}};              // attribute type 0
  for (const Case& c : cases) EXPECT_EQ(ENTEXS(c.id, c.kind), c.want) << c.id << " " << c.kind;
}

TEST_F(Entities, ElconnWritesReadsAndRefuses) {
  MODCNT.word(kCntElementNodes) = 8;
  MODCNT.word(kCntHighestElement) = 7;
  std::array<int32_t, kElementNodes> nodes = {11, 12, 13};
  int32_t nnod = 3, shape = 5, stat = -1;
  ELCONN(-7, nodes, nnod, shape, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(get(13, 55, 9), (Words{-5, 11, 12, 13, 0, 0, 0, 0, 0}));
  nodes = {};
  ELCONN(7, nodes, nnod, shape, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(shape, 5);
  EXPECT_EQ(nnod, SHPNOD(5));
  EXPECT_EQ(nnod, 4);
  EXPECT_EQ((std::array<int32_t, 4>{nodes[0], nodes[1], nodes[2], nodes[3]}),
            (std::array<int32_t, 4>{11, 12, 13, 0}));

  for (int32_t id : {0, 8, -8}) {
    ELCONN(id, nodes, nnod, shape, stat);
    EXPECT_EQ(stat, 1) << id;
  }
  nnod = 9;
  ELCONN(-6, nodes, nnod, shape, stat);
  EXPECT_EQ(stat, 1);
  EXPECT_EQ(get(13, 46, 1), Words{0});  // nothing written
  nnod = -1;
  ELCONN(-6, nodes, nnod, shape, stat);
  EXPECT_EQ(stat, 1);
  // A shape with more nodes than the record holds is refused on reading too.
  int32_t big = 1;
  while (SHPNOD(big) <= 8) ++big;
  put(13, 1, {-big, 1, 2, 3, 4, 5, 6, 7, 8});
  ELCONN(1, nodes, nnod, shape, stat);
  EXPECT_EQ(stat, 1);
  EXPECT_EQ(ENTEXS(1, 9), 0);
  EXPECT_EQ(ENTEXS(7, 9), -1);
}

TEST_F(Entities, ElconnRefusesElementsBeyondTheStoredRecords) {
  // A damaged highest element beyond the records the store holds: those elements are out
  // of range, not a read past the store; the stored ones still read.
  MODCNT.word(kCntElementNodes) = 8;
  MODCNT.word(kCntHighestElement) = 2;
  std::array<int32_t, kElementNodes> nodes = {1, 2, 3, 4};
  int32_t nnod = 4, shape = 5, stat = -1;
  ELCONN(-2, nodes, nnod, shape, stat);
  ASSERT_EQ(stat, 0);
  MODCNT.word(kCntHighestElement) = 0x7FFFFFFF;
  const int64_t held = REGHED.ARRLEN(13);
  for (const int32_t id : {3, 1000, 0x7FFFFFFF}) {
    ELCONN(id, nodes, nnod, shape, stat);
    EXPECT_EQ(stat, 1) << id;
  }
  EXPECT_EQ(REGHED.ARRLEN(13), held);
  ELCONN(2, nodes, nnod, shape, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(nnod, 4);
}

TEST_F(Entities, RecordReadsAndElementRanges) {
  Words w(36);
  for (int32_t k = 0; k < 36; ++k) w[static_cast<size_t>(k)] = k + 1;
  put(24, 1, w);
  std::array<int32_t, kPointWords> point{};
  RECIO(1, 24, 3, point);
  EXPECT_EQ(point[0], 25);
  EXPECT_EQ(point[11], 36);

  MODCNT.word(kCntHighestElement) = 10;
  Words surface(kSurfaceWords, 0);
  surface[5] = 305;
  surface[6] = 11;
  surface[7] = 12;
  put(6, 1, surface);
  int32_t first = -9, last = -9, sub = -9;
  ELRNGS(1, first, last, sub);
  EXPECT_EQ((std::array{first, last, sub}), (std::array{0, 0, 5}));

  MODCNT.word(kCntLines) = 4;
  struct Case {
    int32_t word7, first, last, sub;
  } cases[] = {{102, 3, 4, 2}, {750, -2, -2, 50}, {901, 0, 0, 1}, {9921, 3, 4, 21}};
  for (int32_t i = 0; i < 4; ++i) {
    Words line(kLineWords, 0);
    line[6] = cases[i].word7;
    line[7] = 3;
    line[8] = 4;
    put(4, i * kLineWords + 1, line);
    put(3, i + 1, {a4Word("L"), kBlank});
  }
  for (int32_t i = 0; i < 4; ++i) {
    ELRNGL(i + 1, first, last, sub);
    EXPECT_EQ((std::array{first, last, sub}),
              (std::array{cases[i].first, cases[i].last, cases[i].sub}))
        << cases[i].word7;
  }
  ELRNGL(5, first, last, sub);  // missing: its record is beyond the array, never read
  EXPECT_EQ((std::array{first, last, sub}), (std::array{-1, -1, -1}));
}

TEST_F(Entities, AttfndCreatesDeletesAndCreatesAgain) {
  Label lab = nameOf("STEEL");
  int32_t id = 12, count = 3;
  ATTFND(-1, lab, 4, id, count);
  EXPECT_EQ(get(15, 1, 1), (Words{4, 12, 1, 3, 0}));
  EXPECT_EQ(REGHED.ARRLEN(16), 3);
  EXPECT_EQ(get(14, 1, 1), (Words{lab[0], lab[1]}));
  count = 10;
  ATTFND(-1, lab, -10, id, count);
  EXPECT_EQ(get(15, 2, 1), (Words{-10, 12, 1, 10, 0}));

  count = 0;
  ATTFND(-2, lab, 4, id, count);
  EXPECT_EQ(get(14, 1, 1), (Words{kMarker, kBlank}));
  count = 5;
  ATTFND(1, lab, 4, id, count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(ENTEXS(12, 10), 0);

  lab = nameOf("IRON");
  count = 5;
  ATTFND(-1, lab, 4, id, count);
  EXPECT_EQ(REGHED.ARRLEN(15), 3);
  Label back{};
  count = 0;
  ATTFND(1, back, 4, id, count);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(back, nameOf("IRON"));
  EXPECT_EQ(ATTCUR.words, (std::array<int32_t, 5>{4, 12, 4, 5, 0}));
  ATTVAL(2, 4, 12, 1, count, {}, {}, id);
  EXPECT_EQ(count, 5);

  // By label: MODE 2 answers the entity.
  int32_t found = 0;
  back = nameOf("IRON");
  ATTFND(2, back, 4, found, count);
  EXPECT_EQ(found, 12);

  // A create without values makes nothing.
  count = 0;
  id = 13;
  ATTFND(-1, lab, 4, id, count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(REGHED.ARRLEN(15), 3);
}

TEST_F(Entities, KeySearchFollowsTheListItIsGiven) {
  entry(4, 1, "A", {1});
  EXPECT_EQ(attributeEntry(4, 1), 1);
  int32_t stat = -1;
  ARRREG(2, 1, stat);  // a new model: the old entries are gone
  EXPECT_EQ(attributeEntry(4, 1), 0);
  put(15, 1, {4, 2, 1, 1, 0});  // entries written past ATTFND are found too
  put(14, 1, {kBlank, kBlank});
  EXPECT_EQ(attributeEntry(4, 2), 1);
  put(15, 1, {4, 3, 1, 1, 0});  // rewritten in place
  attributeListChanged();
  EXPECT_EQ((std::array{attributeEntry(4, 2), attributeEntry(4, 3)}), (std::array{0, 1}));
}

TEST_F(Entities, AttvalClipsReadsAndWritesOnlyStoredPositions) {
  entry(-3, 1, "V", {10, 20, 30, 40, 50});
  struct Case {
    int32_t mode, start, count;
    Words buffer, stored, read;
  } cases[] = {
      {1, 3, 10, Words(10, 0), {10, 20, 30, 40, 50}, {30, 40, 50, 0, 0, 0, 0, 0, 0, 0}},
      {1, -2, 2, Words(3, 0), {10, 20, 30, 40, 50}, {10, 0, 0}},
      {1, 9, 1, Words(2, 0), {10, 20, 30, 40, 50}, {50, 0}},
      {-1, 6, 1, {99}, {10, 20, 30, 40, 50}, {99}},
      {-1, 4, 3, {7, 8, 9}, {10, 20, 30, 7, 8}, {7, 8, 9}},
      {-1, 0, 2, {5, 6}, {6, 20, 30, 7, 8}, {5, 6}},
  };
  for (Case& c : cases) {
    int32_t count = c.count, stat = -1;
    ATTVAL(c.mode, -3, 1, c.start, count, c.buffer, {}, stat);
    EXPECT_EQ(count, c.count);
    EXPECT_EQ(stat, 0);
    EXPECT_EQ(c.buffer, c.read) << c.mode << " " << c.start;
    EXPECT_EQ(get(17, 1, 5), c.stored) << c.mode << " " << c.start;
  }
  int32_t count = 4;
  ATTVLI(1, -3, 2, 1, count, {});
  EXPECT_EQ(count, 0);
}

TEST_F(Entities, AttvalTakesValuesOutsideTheStoreAsNoEntry) {
  // A damaged entry whose value pointer (word 3) lies before or past the value array: a
  // read or a write would end the run or grow the store to the damaged position.
  entry(-3, 1, "V", {10, 20, 30});
  const int32_t held = REGHED.ARRLEN(17);
  for (const int32_t pointer : {0, -4, held - 1, held + 1, 0x7FFFFFF0}) {
    Words record = get(15, 1, 1);
    record[2] = pointer;
    put(15, 1, record);
    attributeListChanged();
    for (const int32_t mode : {1, -1}) {
      Words buffer = {7, 8, 9};
      int32_t count = 3, stat = -1;
      ATTVAL(mode, -3, 1, 1, count, buffer, {}, stat);
      EXPECT_EQ(count, 0) << pointer << " " << mode;
      EXPECT_EQ(buffer, (Words{7, 8, 9})) << pointer << " " << mode;
      EXPECT_EQ(REGHED.ARRLEN(17), held) << pointer << " " << mode;
    }
  }
}

TEST_F(Entities, AttfndCountAboveStoredPostsAndDumps) {
  entry(4, 3, "M", {1, 2, 3, 4, 5});
  MSGARG.suppress() = 0;
  ::testing::internal::CaptureStdout();
  Label lab = nameOf("NEW");
  int32_t id = 3, count = 6;
  ATTFND(-1, lab, 4, id, count);
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(gDumps, 1);
  EXPECT_EQ(MSGARG.number(), 3000);
  EXPECT_EQ(get(15, 1, 1), (Words{4, 3, 1, 5, 0}));
  EXPECT_EQ(get(14, 1, 1), (Words{nameOf("M")[0], kBlank}));
}

TEST_F(Entities, SevenWordRecordsAndItemNames) {
  int32_t a1 = 1, a2 = 2, a3 = 3, a4 = 4, b1 = 5, b2 = 6, b3 = 7;
  int32_t out = -1;
  ITMNAM(2, 0, out);
  EXPECT_EQ(out, 0);
  REC7A(0, a1, a2, a3, a4, b1, b2, b3);  // nothing stored: all 0
  EXPECT_EQ((std::array{a1, a2, a3, a4, b1, b2, b3}), (std::array{0, 0, 0, 0, 0, 0, 0}));
  a1 = 1, a2 = 2, a3 = 3, a4 = 4, b1 = 5, b2 = 6, b3 = 7;
  REC7A(1, a1, a2, a3, a4, b1, b2, b3);
  EXPECT_EQ(get(APPSTA.ARRHND(13), 1, 7), (Words{1, 5, 2, 6, 3, 7, 4}));
  a1 = a2 = a3 = a4 = b1 = b2 = b3 = 0;
  REC7A(2, a1, a2, a3, a4, b1, b2, b3);
  EXPECT_EQ((std::array{a1, a2, a3, a4, b1, b2, b3}), (std::array{1, 2, 3, 4, 5, 6, 7}));
  ITMNAM(2, 0, out);
  EXPECT_EQ(out, 1);

  static int32_t seen[3];
  DSCDSP.material = [](const int32_t& code, const int32_t& level, std::span<const int32_t>,
                       FTextArray, const int32_t&, int32_t& count, int32_t& answer) {
    seen[0] = code;
    seen[1] = level;
    seen[2] = count;
    answer = 100;
  };
  ITMNAM(1, 77, out);
  EXPECT_EQ((std::array{seen[0], seen[1], seen[2], out}), (std::array{77, 0, 0, 100}));
  ITMNA2(1, 77, out);  // the interim property dispatch
  EXPECT_EQ(out, 0);
}

TEST_F(Entities, AttelmStatuses) {
  std::array<float, 4> values{};
  Label lab{};
  int32_t v1, v2, ref4, ref3, n, stat;
  ATTELM(1, 4, lab, v1, v2, ref4, ref3, n, values, stat);
  EXPECT_EQ(stat, 1);

  put(16, 1, {std::bit_cast<int32_t>(1.5f), std::bit_cast<int32_t>(2.5f)});
  entry(4, 8, "MAT", {0});
  entry(-10, 1, "E1", {21, 22, 1, 2, 8, 0, 9, 0, 0, 0});
  ATTELM(1, 4, lab, v1, v2, ref4, ref3, n, values, stat);
  EXPECT_EQ((std::array{stat, v1, v2, ref4, ref3, n}), (std::array{0, 21, 22, 8, 0, 2}));
  EXPECT_EQ(values[1], 2.5f);
  ATTELM(1, 1, lab, v1, v2, ref4, ref3, n, values, stat);
  EXPECT_EQ(stat, 4);
  entry(-10, 2, "E2", {0, 0, 1, 0});
  ATTELM(2, 4, lab, v1, v2, ref4, ref3, n, values, stat);
  EXPECT_EQ(stat, 2);
  // Values beyond the value store, or before its start, are none (no stop).
  entry(-10, 3, "E3", {1, 1, 1000000, 2, 0, 0, 0});
  ATTELM(3, 4, lab, v1, v2, ref4, ref3, n, values, stat);
  EXPECT_EQ(stat, 2);
  entry(-10, 4, "E4", {1, 1, -3, 2, 0, 0, 0});
  ATTELM(4, 4, lab, v1, v2, ref4, ref3, n, values, stat);
  EXPECT_EQ(stat, 2);
}

TEST_F(Entities, EqtermListsTheTermsOfAHead) {
  MODCNT.word(kCntConditions) = 4;
  entry(5, 1, "EQ1", {8, 0, 0, 0, 2, 0});
  entry(5, 2, "T", {8, 0, 0, 0, 1, 1});
  entry(5, 3, "T", {8, 0, 0, 0, 1, 2});
  entry(5, 4, "EQ1", {8, 0, 0, 0, 1, 1});
  std::array<int32_t, 4> list{};
  int32_t nlist = 0, stat = -1;
  EQTERM(1, list, 4, nlist, stat);
  EXPECT_EQ((std::array{stat, nlist, list[0], list[1]}), (std::array{0, 2, 2, 4}));
  EQTERM(1, list, 1, nlist, stat);
  EXPECT_EQ(stat, 9);
  EQTERM(2, list, 4, nlist, stat);  // a term is no head
  EXPECT_EQ(stat, 1);
  EQTERM(4, list, 4, nlist, stat);
  EXPECT_EQ(stat, 1);
}

TEST_F(Entities, QueryLayerTests) {
  MODCNT.word(kCntSets) = 5;
  MODCNT.word(kCntDelSets) = 1;
  put(18, 1, {a4Word("S1"), kBlank});
  EXPECT_EQ(SETEXS(1), 0);
  EXPECT_EQ(LIVSET(), 3);

  entry(4, 3, "MAT", {1});
  EXPECT_EQ(MATEXS(3), 0);  // no materials counted
  MODCNT.word(kCntMaterials) = 3;
  MODCNT.word(kCntDelMaterials) = 1;
  EXPECT_EQ(MATEXS(3), -1);

  entry(-3, 2, "K", {1});
  MODCNT.word(kCntKind36) = 3;
  EXPECT_EQ(LIVK36(), 1);
  EXPECT_EQ(K36EXS(0), 0);

  MODCNT.word(kCntNodeFloor) = 10;
  EXPECT_EQ(NODEXS(7), -1);
  MODCNT.word(kCntNodeFloor) = 0;
  MODCNT.word(kCntNodeOffset) = 100;
  MODCNT.word(kCntHighestNode) = 50;
  EXPECT_EQ((std::array{NODEXS(150), NODEXS(151), NODEXS(100)}), (std::array{-1, 0, 0}));

  MODCNT.word(kCntElementNodes) = 8;
  MODCNT.word(kCntHighestElement) = 3;
  MODCNT.word(kCntElementOffset) = 10;
  ASSERT_EQ(SHPNOD(55), 0);
  put(13, 1, {-5, 1, 2, 3, 4, 0, 0, 0, 0, -55, 1, 0, 0, 0, 0, 0, 0, 0, -5, -1, 2, 3, 4});
  put(13, 27, {0});
  EXPECT_EQ((std::array{ELMEXS(11), ELMEXS(12), ELMEXS(13), ELMEXS(14), ELMEXS(10)}),
            (std::array{-1, 0, 0, 0, 0}));
  EXPECT_EQ(LIVELM(), 1);

  IDMODS(1000);
  EXPECT_EQ(IDMODG(), 1000);
  NAPBLK.APRFLG(4) = 9;
  EXPECT_EQ((std::array{NAPGET(4), NAPGET(5), NAPGET(-1)}), (std::array{9, 0, 0}));
}

TEST_F(Entities, NameLookupsAndNameTests) {
  MODCNT.word(kCntPoints) = 2;
  put(1, 1, {a4Word("P2"), kBlank, a4Word("P1"), kBlank});
  struct Case {
    const char* text;
    int32_t want;
  } cases[] = {{"p1", 0}, {"P1", 2}, {"P1*.COMMENTS", 2}, {"P1234567X", 0}, {"P2      ", 1}};
  for (const Case& c : cases) {
    std::string t = c.text;
    EXPECT_EQ(PNTNID(FText(t)), c.want) << c.text;
  }
  Label name = nameOf("P1");
  int32_t rec = -5;
  NAMFND(name, 2, rec);
  EXPECT_EQ(rec, -5);
  NAMFND(name, 1, rec);
  EXPECT_EQ(rec, 2);

  struct Syn {
    const char* text;
    int32_t syn, chr, let;
  } syn[] = {{"A*", 0, -1, -1}, {"1A", 0, -1, 0}, {"A", -1, -1, -1}, {"A B", -1, -1, -1},
             {"!", 0, 0, 0},    {"z\\", 0, -1, -1}, {"", 0, 0, 0}};
  for (const Syn& s : syn) {
    std::string t = s.text;
    EXPECT_EQ((std::array{NAMSYN(FText(t)), NAMCHR(FText(t)), CHRLET(FText(t))}),
              (std::array{s.syn, s.chr, s.let}))
        << s.text;
  }
  std::array<int32_t, 3> buf = {1, 2, 3};
  BLKFIL(buf, 2);
  EXPECT_EQ(buf, (std::array{kBlank, kBlank, 3}));
}

TEST_F(Entities, NamesCarriedByEntriesOfTwoTypes) {
  MODCNT.word(kCntMaterials) = 1;
  MODCNT.word(kCntProperties) = 2;
  entry(4, 1, "STEEL", {1});
  entry(3, 2, "STEEL", {1});
  std::string steel = "STEEL";
  EXPECT_EQ(MATNID(FText(steel)), 1);
  EXPECT_EQ(PHYNID(FText(steel)), 2);
  std::string iron = "IRON";
  EXPECT_EQ(PHYNID(FText(iron)), 0);
}

TEST_F(Entities, LoadNamesAndSpecialLoads) {
  MODCNT.word(kCntLoads) = 3;
  entry(9, 1, "LOAD1", {5});     // names entity 5, special
  entry(-5, 5, "", {0, 0, 0, 0, 0, 0});
  entry(9, 2, "LOAD2", {6});     // entity 6 is not special
  entry(-5, 6, "", {0, 0, 0, 0, 0, 1});
  entry(9, 3, "LOAD3", {7});     // entity 7 has no type -5 entry
  EXPECT_EQ((std::array{LODSPC(1), LODSPC(2), LODSPC(3)}), (std::array{-1, 0, 0}));
  EXPECT_EQ(NSPLOD(), 1);

  FixedText text(8, "XXXXXXXX");
  int32_t stat = -1;
  LODNAM(1, text, stat);
  EXPECT_EQ(stat, 1);
  EXPECT_EQ(text.view(), "        ");
  LODNMS(1, text, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(text.view(), "LOAD1   ");
  LODNAM(2, text, stat);
  EXPECT_EQ(text.view(), "LOAD2   ");

  // A load without its type-9 entry: no earlier name, not special after a special one.
  MODCNT.word(kCntLoads) = 4;
  EXPECT_EQ(LODSPC(1), -1);
  EXPECT_EQ(LODSPC(4), 0);
  LODNAM(4, text, stat);
  EXPECT_EQ(stat, 1);
  EXPECT_EQ(text.view(), "        ");
}

TEST_F(Entities, Kind42And46Texts) {
  MODCNT.word(kCntKind42) = 3;
  put(27, 1, {a4Word("G1"), kBlank, a4Word("G2"), kBlank, a4Word("G3"), kBlank});
  put(28, 1, {3, 0, 1, 0, 3, 0});
  EXPECT_EQ((std::array{K42CP3(1), K42CP3(2), K42CP1(2), K42CP3(4)}), (std::array{-1, 0, -1, 0}));
  EXPECT_EQ(K42CL3(), 2);
  gApplicationMode = kGridVocabularyMode;
  EXPECT_EQ(GRIDLG(), -1);
  EXPECT_EQ(K42CL3(), 0);
  gApplicationMode = 0;
  FixedText text(10);
  int32_t stat = -1;
  K42CN3(3, text, stat);
  EXPECT_EQ((std::pair{stat, std::string(text.view())}), (std::pair{0, std::string("G3        ")}));
  K42CN3(2, text, stat);
  EXPECT_EQ((std::pair{stat, std::string(text.view())}), (std::pair{1, std::string(10, ' ')}));
  K42NAM(2, text, stat);
  EXPECT_EQ(text.trimmed(), "G2");

  MODCNT.word(kCntKind46) = 2;
  put(35, 1, {a4Word("R1"), kBlank, a4Word("R2"), kBlank});
  K46NAM(1, text, stat);
  EXPECT_EQ(stat, 1);
  K46NAM(2, text, stat);
  EXPECT_EQ((std::pair{stat, text.trimmed()}), (std::pair{0, std::string("R2")}));
}

TEST_F(Entities, StateWordsAndCatalogueTexts) {
  struct Case {
    int32_t state, code;
  } cases[] = {{1, 3}, {-1, 2}, {4, 4}, {-2, 1}, {0, 1}};
  for (const Case& c : cases) {
    GFXDFS.state(0) = c.state;
    EXPECT_EQ(VWSCOD(), c.code) << c.state;
  }
  FixedText twenty(20, "X"), ten(10, "X");
  CATX21(twenty);
  EXPECT_EQ(twenty.view(), std::string(20, ' '));
  CATX10(0, ten);
  EXPECT_EQ(ten.view(), std::string(10, ' '));
  auto& slot = IOMODE.nameSlot(2);
  for (int32_t k = 0; k < IoMode::kNameSlotCodes; ++k) slot.codes[static_cast<size_t>(k)] = codeOf('N');
  slot.count = IoMode::kNameSlotCodes;
  CATX20(2, twenty);
  EXPECT_EQ(twenty.view(), std::string(20, 'N'));  // clipped to 20 codes
  CATX20(4, twenty);
  EXPECT_EQ(twenty.view(), std::string(20, ' '));
  IOMODE.tenCodeLine(3).codes[0] = codeOf('T');
  IOMODE.tenCodeLine(3).count = 1;
  CATX10(3, ten);
  EXPECT_EQ(ten.trimmed(), "T");

  IOUNIT.journal1Enable = 1;
  EXPECT_EQ(IOSWON(), -1);
  IOUNIT.journal1Enable = 2;
  EXPECT_EQ(IOSWON(), 0);
  IOUNIT.journal1Enable = 0;
}

TEST_F(Entities, EntityLabelsForMessages) {
  put(5, 2, {a4Word("SURF"), a4Word("ACE2")});
  entry(4, 1, "M", {1});
  installEntityLabels();
  MSGARG.suppress() = 0;
  ::testing::internal::CaptureStdout();
  MSGENT(-2025, 2, 3);
  EXPECT_EQ((std::array{MSGARG.value(1), MSGARG.value(2)}), (std::array{a4Word("SURF"), a4Word("ACE2")}));
  MSGARG.count() = 0;
  MSGENT(-2025, 1, 10);  // a material: the label of its type-4 entry
  EXPECT_EQ((std::array{MSGARG.value(1), MSGARG.value(2)}), nameOf("M"));
  MSGARG.count() = 0;
  MSGENT(-2025, 1, 11);  // no type-3 entry: blank
  EXPECT_EQ((std::array{MSGARG.value(1), MSGARG.value(2)}), (std::array{kBlank, kBlank}));
  ::testing::internal::GetCapturedStdout();
  setEntityLabelReader(nullptr);
}

}  // namespace
}  // namespace kvr
