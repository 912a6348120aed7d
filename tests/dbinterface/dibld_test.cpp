#include "dbinterface/dibld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "dbinterface/dbhdrr.h"
#include "dbinterface/dihed2.h"
#include "dbinterface/dipnc.h"
#include "loaderfixture.h"
#include "modeldb/dbmsg.h"
#include "runtime/dspsta.h"
#include "runtime/hostcb.h"
#include "runtime/iounit.h"

namespace kvr {
namespace {

constexpr int32_t kHE8 = 1;
constexpr int32_t kQU4 = 9;
constexpr int32_t kBE2 = 11;

struct Node {
  int32_t id;
  float x, y, z;
};

struct Element {
  int32_t id;
  int32_t type;
  std::vector<int32_t> nodes;
  int32_t ieatt1 = 1;
  int32_t ieatt2 = 2;
};

using Record = std::vector<int32_t>;

class DisplayBuild : public test::LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    startAndCreate();
    saved_ = DSPSTA;
    watchMessageUnit();
    setDbMessageObserver([this](int32_t n, std::span<const int32_t> v, std::span<const int32_t>) {
      posted.push_back({n, std::vector<int32_t>(v.begin(), v.end())});
    });
  }
  void TearDown() override {
    setDbMessageObserver(nullptr);
    setLineWriterObserver(nullptr);
    DSPSTA = saved_;
    LoaderFixture::TearDown();
  }

  // Loads NODES into dataset 5 and ELEMENTS (when there are any) into dataset 6, and
  // makes the build pending with both states entered, as a create leaves them.
  static void load(const std::vector<Node>& nodes, const std::vector<Element>& elements) {
    beginDataset(2);
    for (const Node& n : nodes) node(n.id, n.x, n.y, n.z);
    endDataset();
    ASSERT_EQ(LoaderFixture::load(DIPNC), 0);
    if (!elements.empty()) {
      beginDataset(3);
      for (const Element& e : elements) element(e.id, e.type, e.nodes, e.ieatt1, e.ieatt2);
      endDataset();
      ASSERT_EQ(LoaderFixture::load(DIPET), 0);
    }
    DISTAT.coordinatesState = 2;
    DISTAT.topologyState = 2;
    DISTAT.displayBuildPending = 1;
  }

  static int32_t build() {
    int32_t ierr = -1;
    DIBLD(ierr);
    return ierr;
  }

  // Opens the database of MODEL again after a build closed it.
  static void reopen(const std::string& model = "beam") {
    std::vector<int32_t> buffer(kLargestPageWords);
    int32_t status = -1;
    TLBOPN(buffer, test::codes(model, 20), static_cast<int32_t>(model.size()), status);
    ASSERT_EQ(status, 0) << model;
  }

  // The records of dataset TYPE in the order of its pages, each as long as its word 2
  // (every dataset the build writes but 5 and 6 has its length there).
  static std::vector<Record> records(int32_t type) {
    std::vector<Record> out;
    int32_t p = recorded(type);
    for (int32_t pages = 0; p > 0 && pages < 1000; ++pages) {
      const DbPage pg = page(p);
      for (int32_t q = DBLEVL.pageHeaderWords + 1; q <= pg.word(5);) {
        const int32_t length = pg.word(q + 1);
        if (length < 1) break;
        out.push_back(words(pg, q, length));
        q += length;
      }
      p = pg.word(4);
    }
    return out;
  }

  // Node entries (dataset 5) and element entries (dataset 6) of a first page.
  static std::vector<Record> nodeEntries(int32_t n) {
    const DbPage pg = page(recorded(kNodeDataset));
    std::vector<Record> out;
    for (int32_t k = 0; k < n; ++k) {
      out.push_back(words(pg, DBLEVL.pageHeaderWords + 1 + k * DBLEVL.nodeEntryWords, 3));
    }
    return out;
  }
  static std::vector<Record> elementEntries(int32_t n) {
    const DbPage pg = page(recorded(kElementDataset));
    std::vector<Record> out;
    int32_t q = DBLEVL.pageHeaderWords + 1;
    for (int32_t k = 0; k < n; ++k) {
      const int32_t length = RECCLS(pg.word(q + 2));
      out.push_back(words(pg, q, length));
      q += length;
    }
    return out;
  }

  // Words 13-15 of the model record as the index file holds it.
  static std::vector<int32_t> modelCounts() {
    DbPage p(kIndexPageSize);
    PAGRD(kModelClass, CTLREC.page(kModelClass), p);
    const int32_t base = kEntryBase + recordLength(kModelClass) * (CTLREC.entry(kModelClass) - 1);
    return {p.word(base + 13), p.word(base + 14), p.word(base + 15)};
  }

  static std::vector<int32_t> allFlags() {
    std::vector<int32_t> f;
    for (int32_t k = 1; k <= kMaxTempUnits; ++k) f.push_back(DISTAT.errorFlag(k));
    return f;
  }

  // The lines handed to the line writers of the message unit since the fixture began,
  // each up to its last non-blank character.
  static std::vector<std::string>& handed() {
    static std::vector<std::string> lines;
    return lines;
  }
  static void watchMessageUnit() {
    handed().clear();
    setLineWriterObserver([](LineWriter, int32_t, FText text) {
      std::string line(text.view());
      line.erase(line.find_last_not_of(' ') + 1);
      handed().push_back(line);
    });
  }

  // Information lines written under "DIBLD ".
  std::vector<std::string> buildInformation() {
    std::vector<std::string> out;
    for (const std::string& line : messages()) {
      if (line.rfind(" DI    : DIBLD ", 0) == 0) out.push_back(line);
    }
    return out;
  }

  std::vector<std::pair<int32_t, std::vector<int32_t>>> posted;

 private:
  DspSta saved_;
};

std::vector<Node> square(int32_t first = 1) {
  return {{first, 0, 0, 0}, {first + 1, 1, 0, 0}, {first + 2, 1, 1, 0}, {first + 3, 0, 1, 0}};
}

// ---- The checks ------------------------------------------------------------------

TEST_F(DisplayBuild, ChecksInTheirOrder) {
  load(square(), {{1, kQU4, {1, 2, 3, 4}}});
  struct Case {
    const char* what;
    int32_t flaggedUnit;  // 0 none
    int32_t itfnum;
    int32_t luopt;
    int32_t topologyState;
    int32_t pending;
    int32_t code;
  };
  const Case cases[] = {
      {"an error pending on unit A", kA, 6, kOutputDatabase, 2, 1, 32},
      {"an error pending comes before everything", kB, 6, kOutputNeutral, 1, 0, 32},
      {"a flag past ITFNUM is no unit of the host's", kE, 2, kOutputDatabase, 2, 0, 44},
      {"the neutral file only", 0, 6, kOutputNeutral, 1, 0, 42},
      {"the topology not completed", 0, 6, kOutputDatabase, 1, 0, 43},
      {"no build pending", 0, 6, kOutputDatabase, 2, 0, 44},
  };
  for (const Case& c : cases) {
    for (int32_t k = 1; k <= kMaxTempUnits; ++k) DISTAT.clearErrorFlag(k);
    if (c.flaggedUnit != 0) DISTAT.raiseErrorFlag(c.flaggedUnit, c.flaggedUnit == kA ? 1 : 2);
    DICTL.itfnum = c.itfnum;
    DICTL.luopt = c.luopt;
    DISTAT.topologyState = c.topologyState;
    DISTAT.displayBuildPending = c.pending;
    EXPECT_EQ(build(), c.code) << c.what;
    EXPECT_EQ(messages().back(), errorLine(c.code, "DIBLD")) << c.what;
    EXPECT_EQ(recorded(kSummaryDataset), 0) << c.what;
  }
  EXPECT_EQ(modelCounts(), (std::vector<int32_t>{0, 0, 0})) << "a refused build leaves record 103";
}

// ---- A whole build ---------------------------------------------------------------

TEST_F(DisplayBuild, SuccessfulBuildAndASecondCall) {
  load(square(), {{1, kQU4, {1, 2, 3, 4}}});
  DICNT.loadCaseCount = 3;
  ASSERT_EQ(build(), 0);
  EXPECT_EQ(buildInformation(),
            (std::vector<std::string>{infoLine("DIBLD", "BUILDING NODAL CONNECTIVITY"),
                                      infoLine("DIBLD", "BUILDING QUICK DRAW DATA"),
                                      infoLine("DIBLD", "VIEW DATA COMPLETE")}));
  EXPECT_EQ(DISTAT.displayBuildPending, 0);
  EXPECT_EQ(IOUNIT.openFlag(7), 0) << "the database is closed";
  EXPECT_EQ(IOUNIT.openFlag(8), 0);
  EXPECT_EQ(allFlags(), std::vector<int32_t>(10, 0));

  reopen();
  EXPECT_EQ(modelCounts(), (std::vector<int32_t>{4, 1, 3}));
  for (const int32_t type : {4, 7, 9, 10}) EXPECT_GT(recorded(type), 0) << "dataset " << type;

  EXPECT_EQ(build(), 44);
  EXPECT_EQ(messages().back(),
            " DI044 : DIBLD : NO NEED TO BUILD DISPLAY DATASETS                  :");
}

// ---- Sequence numbers ------------------------------------------------------------

TEST_F(DisplayBuild, SequenceNumbersConsecutiveAndBisected) {
  struct Case {
    const char* what;
    std::vector<int32_t> ids;
  };
  const Case cases[] = {{"ids 1..4, s = id", {1, 2, 3, 4}}, {"ids 10, 20, 30, 40", {10, 20, 30, 40}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string model = "seq" + std::to_string(c.ids[0]);
    createDatabase(model);
    std::vector<Node> nodes;
    for (std::size_t k = 0; k < c.ids.size(); ++k) nodes.push_back({c.ids[k], float(k), 0, 0});
    // Node 2 (id 20) is used by both beams, node 4 by none.
    load(nodes, {{7, kBE2, {c.ids[0], c.ids[1]}}, {8, kBE2, {c.ids[1], c.ids[2]}}});
    ASSERT_EQ(build(), 0);
    reopen(model);
    const std::vector<Record> n = nodeEntries(4);
    EXPECT_EQ(n[0], (Record{1, c.ids[0], 1}));
    EXPECT_EQ(n[1], (Record{2, c.ids[1], 2})) << "found by bisection when the ids are not 1..N";
    EXPECT_EQ(n[2], (Record{1, c.ids[2], 3}));
    EXPECT_EQ(n[3], (Record{0, c.ids[3], 4}));
    const std::vector<Record> e = elementEntries(2);
    // Node k at word 6 + 2k, its sequence number after it.
    EXPECT_EQ((Record{e[0][7], e[0][8], e[0][9], e[0][10]}), (Record{c.ids[0], 1, c.ids[1], 2}));
    EXPECT_EQ((Record{e[1][7], e[1][8], e[1][9], e[1][10]}), (Record{c.ids[1], 2, c.ids[2], 3}));
    DBCLOS();
  }
}

TEST_F(DisplayBuild, UnknownNodeFailsStepTwo) {
  load({{10, 0, 0, 0}, {20, 1, 0, 0}, {30, 2, 0, 0}},
       {{5, kBE2, {10, 20}}, {6, kBE2, {20, 30}}});
  // An element naming node 25, which no node has: the record routines would refuse it,
  // so its entry is changed in place.
  DbPage pg = page(recorded(kElementDataset));
  const int32_t q = DBLEVL.pageHeaderWords + 1 + RECCLS(kBE2);
  ASSERT_EQ(pg.word(q + 9), 30) << "node 2 at entry word 10";
  pg.word(q + 9) = 25;
  PAGWR(kElementDataset, recorded(kElementDataset), pg);

  EXPECT_EQ(build(), 223);
  EXPECT_EQ(posted, (std::vector<std::pair<int32_t, std::vector<int32_t>>>{{24, {6, 25}}}));
  EXPECT_EQ(messages().back(),
            " DI223 : DIBLD : ERROR BUILDING DISPLAY DATA SETS                   : (       2            )");
  EXPECT_EQ(allFlags(), std::vector<int32_t>(10, 2));
  EXPECT_EQ(DISTAT.displayBuildPending, 0);
  EXPECT_EQ(modelCounts(), (std::vector<int32_t>{0, 0, 0}));
  EXPECT_EQ(buildInformation(),
            (std::vector<std::string>{infoLine("DIBLD", "BUILDING NODAL CONNECTIVITY")}));
  // The stopped build still leaves the nodes found with their sequence numbers in the
  // stored entries; node 25 keeps the word after it.
  const std::vector<Record> e = elementEntries(2);
  EXPECT_EQ((Record{e[0][7], e[0][8], e[0][9], e[0][10]}), (Record{10, 1, 20, 2}));
  EXPECT_EQ((Record{e[1][7], e[1][8], e[1][9], e[1][10]}), (Record{20, 2, 25, 0}));
}

// ---- Connectivity ----------------------------------------------------------------

TEST_F(DisplayBuild, NodeToElementListsInDatasetSeven) {
  load({{1, 0, 0, 0}, {2, 1, 0, 0}, {3, 1, 1, 0}, {4, 0, 1, 0}, {5, 2, 0, 0}},
       {{1, kQU4, {1, 2, 3, 4}, 11, 12}, {2, kBE2, {2, 5}, 21, 22}});
  ASSERT_EQ(build(), 0);
  reopen();
  EXPECT_EQ(records(kConnectivityDataset),
            (std::vector<Record>{{1, 5, 1, 12, 11},
                                 {2, 8, 1, 12, 11, -2, 22, 21},
                                 {1, 5, 1, 12, 11},
                                 {1, 5, 1, 12, 11},
                                 {1, 5, -2, 22, 21}}));
}

TEST_F(DisplayBuild, LongestListOnOnePage) {
  // With pages of 2040 words a list holds at most (2040 - 40) / 3 = 666 elements.
  for (const int32_t beams : {666, 667}) {
    SCOPED_TRACE(beams);
    createDatabase("hub" + std::to_string(beams));
    posted.clear();
    std::vector<Node> nodes;
    std::vector<Element> elements;
    for (int32_t k = 1; k <= beams + 1; ++k) nodes.push_back({k, float(k), 0, 0});
    for (int32_t k = 1; k <= beams; ++k) elements.push_back({k, kBE2, {1, k + 1}});
    load(nodes, elements);
    const int32_t ierr = build();
    if (beams == 666) {
      EXPECT_EQ(ierr, 0);
      EXPECT_TRUE(posted.empty());
      continue;
    }
    EXPECT_EQ(ierr, 223);
    EXPECT_EQ(posted, (std::vector<std::pair<int32_t, std::vector<int32_t>>>{{38, {1, 667}}}));
    EXPECT_EQ(messages().back(), errorLine(223, "DIBLD", 4));
    EXPECT_EQ(modelCounts(), (std::vector<int32_t>{0, 0, 0}));
    for (const int32_t type : {4, 7, 9, 10}) EXPECT_EQ(recorded(type), 0) << "dataset " << type;
  }
}

// ---- Quick-draw and drawn edges --------------------------------------------------

// Two squares sharing the edge from node 2 to node 3; the second turned about it by PHI.
std::vector<Node> hinge(double phi) {
  const auto c = static_cast<float>(std::cos(phi * M_PI / 180.0));
  const auto s = static_cast<float>(std::sin(phi * M_PI / 180.0));
  return {{1, 0, 0, 0}, {2, 1, 0, 0}, {3, 1, 1, 0}, {4, 0, 1, 0}, {5, 1 + c, 0, s}, {6, 1 + c, 1, s}};
}

TEST_F(DisplayBuild, ShellEdgesSharedOnceAndDrawnByTheFaceTest) {
  for (const double phi : {0.0, 90.0}) {
    SCOPED_TRACE(phi);
    const std::string model = "hinge" + std::to_string(static_cast<int>(phi));
    createDatabase(model);
    load(hinge(phi), {{1, kQU4, {1, 2, 3, 4}}, {2, kQU4, {2, 5, 6, 3}}});
    ASSERT_EQ(build(), 0);
    reopen(model);
    const std::vector<Record> edges = records(kQuickDrawDataset);
    ASSERT_EQ(edges.size(), 7u);
    // Element 1 emits its four edges, element 2 the three it does not share.
    EXPECT_EQ(edges[1], (Record{2, 7, 2, 2, 3, 1, 2})) << "the shared edge, with both keys";
    std::vector<Record> single;
    for (const Record& r : edges) {
      if (r[2] == 1) single.push_back(r);
    }
    ASSERT_EQ(single.size(), 6u);
    for (const Record& r : single) EXPECT_EQ(r[1], 6);
    EXPECT_EQ(single[0], (Record{2, 6, 1, 1, 2, 1}));
    EXPECT_EQ(single[3], (Record{2, 6, 1, 2, 5, 2}));

    // Dataset 4: the records without their keys; coplanar, the shared edge is not drawn.
    std::vector<Record> expected;
    for (const Record& r : edges) {
      if (r[2] == 2 && phi == 0.0) continue;
      expected.push_back({r[0], r[1] - r[2], r[2], r[3], r[4]});
    }
    EXPECT_EQ(records(kDrawnEdgeDataset), expected);
    EXPECT_EQ(expected.size(), phi == 0.0 ? 6u : 7u);
    for (const Record& r : records(kDrawnEdgeDataset)) {
      if (r[2] == 1) {
        EXPECT_EQ(r[1], 5);
      }
    }
    DBCLOS();
  }
}

TEST_F(DisplayBuild, LineElementAloneIsDrawn) {
  load({{1, 0, 0, 0}, {2, 1, 0, 0}}, {{1, kBE2, {1, 2}}});
  ASSERT_EQ(build(), 0);
  reopen();
  EXPECT_EQ(records(kQuickDrawDataset), (std::vector<Record>{{2, 6, 1, 1, 2, -1}}));
  EXPECT_EQ(records(kDrawnEdgeDataset), (std::vector<Record>{{2, 5, 1, 1, 2}}));
}

TEST_F(DisplayBuild, BricksSharingAFace) {
  load({{1, 0, 0, 0}, {2, 1, 0, 0}, {3, 1, 1, 0}, {4, 0, 1, 0}, {5, 0, 0, 1}, {6, 1, 0, 1},
        {7, 1, 1, 1}, {8, 0, 1, 1}, {9, 2, 0, 0}, {10, 2, 1, 0}, {11, 2, 0, 1}, {12, 2, 1, 1}},
       {{1, kHE8, {1, 2, 3, 4, 5, 6, 7, 8}}, {2, kHE8, {2, 9, 10, 3, 6, 11, 12, 7}}});
  ASSERT_EQ(build(), 0);
  reopen();
  const std::vector<Record> e = elementEntries(2);
  const auto faceWords = [](const Record& entry) {
    const int32_t base = ELTBLN(kHE8);
    return Record(entry.begin() + base, entry.begin() + base + 6);
  };
  EXPECT_EQ(faceWords(e[0]), (Record{0, 4, 0, 0, 0, 0})) << "face 2 of A: twice key 2";
  EXPECT_EQ(faceWords(e[1]), (Record{0, 0, 0, 2, 0, 0})) << "face 4 of B: twice key 1";

  const std::vector<Record> edges = records(kQuickDrawDataset);
  ASSERT_EQ(edges.size(), 20u);
  const auto shared = std::count_if(edges.begin(), edges.end(), [](const Record& r) { return r[2] == 2; });
  EXPECT_EQ(shared, 4);
  std::vector<Record> single;
  for (const Record& r : edges) {
    if (r[2] == 1) single.push_back({r[0], r[1] - 1, r[2], r[3], r[4]});
  }
  EXPECT_EQ(records(kDrawnEdgeDataset), single) << "the shared face's edges are not drawn";
}

TEST_F(DisplayBuild, ElementWhoseListsOverflowTheWorkAreaIsLeftOut) {
  // Pages of 2040 words give a work area of 4080. Nodes 1, 2 and 3 are used by both
  // shells and by 460 beams each: three lists of 3 x 462 + 2 = 1388 words do not fit.
  std::vector<Node> nodes = {{1, 0, 0, 0}, {2, 1, 0, 0}, {3, 1, 1, 0}, {4, 0, 1, 0}, {5, 2, 2, 0}};
  std::vector<Element> elements = {{1, kQU4, {1, 2, 3, 4}}, {2, kQU4, {1, 2, 3, 5}}};
  int32_t id = 10;
  for (int32_t hub = 1; hub <= 3; ++hub) {
    for (int32_t k = 0; k < 460; ++k, ++id) {
      nodes.push_back({id, float(id), 5, 0});
      elements.push_back({id, kBE2, {hub, id}});
    }
  }
  load(nodes, elements);
  ASSERT_EQ(build(), 0) << "the build goes on without the shells";
  EXPECT_EQ(handed(), (std::vector<std::string>{"", " ERROR : INSUFFICIENT SPACE FOR CONNECTIVITY DATA",
                                                " DATABASE WILL BE INCOMPLETELY BUILT"}))
      << "once per build";
  reopen();
  const std::vector<Record> edges = records(kQuickDrawDataset);
  EXPECT_EQ(edges.size(), 3u * 460u);
  for (const Record& r : edges) ASSERT_LT(r.back(), 0) << "only the beams' edges";
  const std::vector<Record> e = elementEntries(2);
  EXPECT_EQ(e[0][ELTBLN(kQU4)], 0);
}

// ---- The summary record ----------------------------------------------------------

TEST_F(DisplayBuild, SummaryRecord) {
  load({{3, -1, 2, 0}, {5, 4, -3, 1}, {6, 0, 0, 7}, {7, 1, 1, 1}},
       {{11, kBE2, {3, 5}, 1, 2}, {12, kBE2, {5, 6}, 1, 3}, {14, kQU4, {3, 5, 6, 7}, 4, 3}});
  DICNT.loadCaseCount = 2;
  ASSERT_EQ(build(), 0);
  reopen();
  const int32_t first = recorded(kSummaryDataset);
  ASSERT_GT(first, 0);
  const DbPage before = page(first);
  EXPECT_EQ(before.word(10), 5001);
  const std::array<float, 6> extents = {-1, -3, 0, 4, 2, 7};
  for (int32_t k = 0; k < 6; ++k) {
    EXPECT_EQ(std::bit_cast<float>(before.word(39 + k)), extents[static_cast<std::size_t>(k)]) << k;
  }
  // Node 5 has IEATT2 values 2, 3, 3 and IEATT1 values 1, 1, 4.
  EXPECT_EQ(words(before, 45, 18),
            (std::vector<int32_t>{4, 3, 2, 1, 1, 0, 1, 4, 1, 3, 2, 4, 2, 0, 7, 14, -1, -1}));

  // Mode 2 changes the load-case counter only; mode 1 finds the record and writes nothing.
  DICNT.loadCaseCount = 9;
  BLDSUM(LDPAGE, LDSCR, kSummaryLoadCases);
  DbPage after = page(first);
  EXPECT_EQ(after.word(47), 9);
  after.word(47) = before.word(47);
  EXPECT_TRUE(std::equal(after.words().begin(), after.words().end(), before.words().begin()));
  const std::string dataFile = test::readFile(dir.file("BEAM.V71"));
  DICNT.loadCaseCount = 1;
  BLDSUM(LDPAGE, LDSCR, kSummaryWrite);
  EXPECT_EQ(page(first).word(47), 9);
  EXPECT_EQ(test::readFile(dir.file("BEAM.V71")), dataFile);
}

TEST_F(DisplayBuild, FirstIdsOfConsecutiveNumbers) {
  load(square(5), {{1, kQU4, {5, 6, 7, 8}}});
  ASSERT_EQ(build(), 0);
  reopen();
  EXPECT_EQ(words(page(recorded(kSummaryDataset)), 55, 8),
            (std::vector<int32_t>{1, 4, 1, 0, 8, 1, 5, 1}));
}

// ---- Missing datasets ------------------------------------------------------------

TEST_F(DisplayBuild, MissingTopologyOnTheMessageUnit) {
  load(square(), {});
  EXPECT_EQ(build(), 223);
  EXPECT_EQ(handed(), (std::vector<std::string>{"", " ERROR : ELEMENT TOPOLOGY DATA SET NOT FOUND"}))
      << "a blank line, then the error";
  const std::vector<std::string> lines = stdoutLines();
  ASSERT_EQ(lines.size(), 2u) << "unit 6";
  EXPECT_EQ(lines[1], "  ERROR : ELEMENT TOPOLOGY DATA SET NOT FOUND") << "list-directed: a blank first";
  EXPECT_EQ(messages().back(), errorLine(223, "DIBLD", 2));
  for (const std::string& line : messages()) {
    EXPECT_EQ(line.find("ELEMENT TOPOLOGY DATA SET"), std::string::npos) << "not on LUMSG1";
  }
}

// ---- From the dataset header -----------------------------------------------------

TEST_F(DisplayBuild, NextModelHeaderBuildsThePreviousModel) {
  load(square(), {{1, kQU4, {1, 2, 3, 4}}});
  DISTAT.modelState = 1;
  DISTAT.modelActive = 1;
  int32_t ierr = -1;
  DIHED2(1, 1, FixedText(20, "next"), 0.0f, 0, FixedText(20, "Title"), 0, FixedText(10, ""),
         ierr, unit(kB));
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(DISTAT.displayBuildPending, 1) << "pending again, for the new model";
  EXPECT_EQ(buildInformation().back(), infoLine("DIBLD", "VIEW DATA COMPLETE"));
  reopen();
  EXPECT_GT(recorded(kSummaryDataset), 0);
}

}  // namespace
}  // namespace kvr
