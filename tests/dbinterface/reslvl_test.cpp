#include "dbinterface/reslvl.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <filesystem>
#include <string>
#include <vector>

#include "../modeldb/dbopenfixture.h"
#include "dbinterface/diblocks.h"
#include "dbinterface/ressel.h"
#include "modeldb/cmptrf.h"
#include "modeldb/ctlrec.h"
#include "modeldb/ctlwords.h"
#include "modeldb/dbopen.h"
#include "modeldb/dbpage.h"
#include "modeldb/lcfind.h"
#include "platform/unitio.h"
#include "runtime/iounit.h"

namespace kvr {
namespace {

using test::DbOpenFixture;

using Matrix = std::array<float, 16>;

Matrix translation(float x, float y, float z) {
  Matrix m{};
  for (size_t k : {0u, 5u, 10u, 15u}) m[k] = 1.0f;
  m[12] = x;
  m[13] = y;
  m[14] = z;
  return m;
}

// One entry of a component list: n = 0 carries no transformation.
struct Component {
  std::string name;
  int32_t n = 0;
  int32_t flag = 0;
  Matrix m{};
  int32_t nodeOffset = 0;
  int32_t elementOffset = 0;
};

class Walk : public DbOpenFixture {
 protected:
  void SetUp() override {
    DbOpenFixture::SetUp();
    resetWalk();
  }
  void TearDown() override {
    resetWalk();
    DbOpenFixture::TearDown();
  }
  static void resetWalk() {
    DICTL = {};
    RESWLK = {};
    CMPTRF = {};
    RESSEL = {};
    RESCMP = {};
    RESSE2 = {};
  }

  // Creates the plain model NAME, marked by MARK in word 13 of its record 103.
  void plain(const std::string& name, int32_t mark) { model(name, mark, 1, {}, 20); }

  // Creates the assembly NAME (record 103 word 1 = 2) whose list holds PAGES of entries
  // with names of NAMECODES codes; no pages: no list.
  void assembly(const std::string& name, int32_t mark,
                const std::vector<std::vector<Component>>& pages, int32_t nameCodes = 20) {
    model(name, mark, 2, pages, nameCodes);
  }

  void model(const std::string& name, int32_t mark, int32_t kind,
             const std::vector<std::vector<Component>>& pages, int32_t nameCodes) {
    ASSERT_EQ(create(name, kind), 0) << name;
    std::vector<int32_t> numbers;
    for (size_t k = 0; k < pages.size(); ++k) {
      int32_t page = 0, freeHead = 0;
      PGNEW(buffer, kComponentClass, page, freeHead);
      numbers.push_back(page);
    }
    for (size_t k = 0; k < pages.size(); ++k) {
      PGINIT(kComponentClass, numbers[k], PGCUR.page());
      PGCUR.word(kClassChainWord) = k + 1 < pages.size() ? numbers[k + 1] : 0;
      int32_t w = 6;
      const auto put = [&](int32_t v) { PGCUR.word(w++) = v; };
      for (const Component& c : pages[k]) {
        for (int32_t code : codes(c.name, static_cast<size_t>(nameCodes))) put(code);
        put(c.n);
        if (c.n > 0) {
          for (int32_t id = 1; id <= c.n; ++id) put(id);
          put(c.flag);
          for (float v : c.m) put(std::bit_cast<int32_t>(v));
        }
        put(c.nodeOffset);
        put(c.elementOffset);
      }
      PGCUR.word(kUsedLengthWord) = w - 1;
      PAGWR(kComponentClass, numbers[k], PGCUR.page());
    }
    CTLREC.word(kModelClass, 54) = numbers.empty() ? 0 : numbers.front();
    CTLREC.word(kModelClass, 13) = mark;
    CRPUT(kModelClass);
    DBCLOS();
  }

  // The model DIHED2 accepted last.
  void current(const std::string& given, const std::string& upper) {
    const auto g = codes(given);
    const auto u = codes(upper);
    std::copy(g.begin(), g.end(), DICTL.modelGiven.words.begin());
    std::copy(u.begin(), u.end(), DICTL.modelName.words.begin());
  }

  struct Step {
    int32_t level, results, second, done, error;
  };
  Step step(int32_t level, int32_t mode = 0) {
    Step s{level, -9, -9, -9, -9};
    RESLVL(buffer, resultsPage, mode, s.level, s.results, s.second, s.done, s.error);
    return s;
  }

  // In the database open: the load case LOAD1 with the attribute DISP (type 1, one
  // component) whose values word is RESULTS.
  void loadCaseWithAttribute(int32_t results) {
    int32_t status = -9;
    LCADD(codes("LOAD1", 6), buffer, 0.0f, 0.0f, 0, 1, {}, {}, status);
    ASSERT_EQ(status, 0);
    const int32_t size = DBPARM.fileSlot(kDataFileSlot).pageSize;
    std::vector<int32_t> page(static_cast<size_t>(size), 0);
    int32_t header = 0, freeHead = 0;
    PGNEW(buffer, kLastDataClass, header, freeHead);
    // One component "U" of type 1 on the menu, then one variant (id 10, 1 word, position 1).
    std::vector<int32_t> words = {1, 1, 0, 0, 0};
    for (int32_t k = 0; k < 24; ++k) words.push_back(k == 0 ? codeOf('U') : kBlankCode);
    for (int32_t v : {1, 10, 1, 1}) words.push_back(v);
    std::copy(words.begin(), words.end(), page.begin() + 38);
    page[4] = 38 + static_cast<int32_t>(words.size());
    PAGWR(kLastDataClass, header, page);
    CTLREC.word(kResultsClass, 1) = -1;
    CTLREC.word(kResultsClass, 2) = 1;
    const std::vector<int32_t> name = codes("DISP", 8);
    std::copy(name.begin(), name.end(), CTLREC.record(kResultsClass).begin() + 2);
    CTLREC.word(kResultsClass, 11) = header;
    CTLREC.word(kResultsClass, 12) = results;
    CTLREC.word(kResultsClass, 14) = 1;
    CRPUT(kResultsClass);
  }

  // The mark of the model whose database is open.
  static int32_t openMark() {
    int32_t nodes = 0, elements = 0, cases = 0;
    DBCTRW(nodes, elements, cases);
    return nodes;
  }
  static std::array<int32_t, 2> offsets() { return {DBLEVL.nodeOffset, DBLEVL.elementOffset}; }
  static std::array<float, 3> moved(float x, float y, float z) {
    XFMPNT(x, y, z);
    return {x, y, z};
  }

  std::vector<int32_t> resultsPage = std::vector<int32_t>(32640, 0);
};

constexpr int32_t kAsm = 100;
constexpr int32_t kC1 = 101;
constexpr int32_t kC2 = 102;
constexpr int32_t kSub = 103;

TEST_F(Walk, TwoComponentsOneLeafPerCall) {
  plain("C1", kC1);
  plain("C2", kC2);
  const Component c1{"C1", 0, 0, {}, 0, 0};
  const Component c2{"C2", 1, 0, translation(10, 0, 0), 5, 3};
  assembly("ASM", kAsm, {{c1, c2}});
  current("ASM", "ASM");

  Step s = step(0);
  EXPECT_EQ(s.level, 1);
  EXPECT_EQ(s.done, 0);
  EXPECT_EQ(s.error, 0);
  EXPECT_EQ(s.results, -1);
  EXPECT_EQ(s.second, 0);
  EXPECT_EQ(openMark(), kC1);
  EXPECT_EQ(offsets(), (std::array<int32_t, 2>{0, 0}));
  EXPECT_EQ(CMPTRF.flag, 0);

  s = step(s.level);
  EXPECT_EQ(s.done, 0);
  EXPECT_EQ(openMark(), kC2);
  EXPECT_EQ(offsets(), (std::array<int32_t, 2>{5, 3}));
  EXPECT_EQ(CMPTRF.flag, 1);
  EXPECT_EQ(moved(0, 0, 0), (std::array<float, 3>{10, 0, 0}));

  s = step(s.level);
  EXPECT_EQ(s.done, 1);
  EXPECT_EQ(s.error, 0);
  s = step(-1);
  EXPECT_EQ(s.done, 1);
  EXPECT_EQ(s.error, 0);
  EXPECT_EQ(openMark(), kAsm);
  // Between walks the transformation stays as the last component left it.
  EXPECT_EQ(CMPTRF.flag, 1);

  // A flag of its own in the entry is the flag in force.
  assembly("ASM3", kAsm + 3, {{Component{"C2", 1, 3, translation(10, 0, 0), 5, 3}}});
  current("ASM3", "ASM3");
  s = step(0);
  EXPECT_EQ(openMark(), kC2);
  EXPECT_EQ(CMPTRF.flag, 3);
}

TEST_F(Walk, NestedAssemblyComposesAndReturnsToItsParent) {
  plain("C1", kC1);
  plain("C2", kC2);
  assembly("SUB", kSub, {{Component{"C1", 0, 0, {}, 1, 1}}});
  // The list of ASM goes on on a second page after SUB.
  assembly("ASM", kAsm,
           {{Component{"SUB", 1, 0, translation(0, 5, 0), 2, 2}},
            {Component{"C2", 1, 0, translation(10, 0, 0), 5, 3}}});
  current("ASM", "ASM");

  Step s = step(0);
  EXPECT_EQ(s.level, 2);
  EXPECT_EQ(s.error, 0);
  EXPECT_EQ(openMark(), kC1);
  EXPECT_EQ(offsets(), (std::array<int32_t, 2>{3, 3}));
  EXPECT_EQ(CMPTRF.flag, 1);
  EXPECT_EQ(moved(1, 1, 1), (std::array<float, 3>{1, 6, 1}));

  s = step(s.level);
  EXPECT_EQ(s.level, 1);
  EXPECT_EQ(s.done, 0);
  EXPECT_EQ(openMark(), kC2);
  EXPECT_EQ(offsets(), (std::array<int32_t, 2>{5, 3}));
  EXPECT_EQ(moved(0, 0, 0), (std::array<float, 3>{10, 0, 0}));

  s = step(s.level);
  EXPECT_EQ(s.done, 1);
  step(-1);
  EXPECT_EQ(openMark(), kAsm);
}

TEST_F(Walk, ShortNamesOfOlderDatabasesAndNamesWithBlanks) {
  plain("C1", kC1);
  plain("PART A", kC2);
  EXPECT_TRUE(std::filesystem::exists(dir.file("PART-A.M71")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("PART-A.V71")));
  assembly("ASM", kAsm,
           {{Component{"C1", 0, 0, {}, 0, 0}, Component{"PART A", 1, 0, translation(10, 0, 0), 5, 3}}},
           6);
  const int32_t dataPage = DBPARM.fileSlot(kDataFileSlot).pageSize;
  setFileWord("ASM.M71", 100, 1, 9, 5003);
  setFileWord("ASM.V71", dataPage, 1, 9, 5003);
  current("ASM", "ASM");

  Step s = step(0);
  EXPECT_EQ(s.error, 0);
  EXPECT_EQ(openMark(), kC1);
  s = step(s.level);
  EXPECT_EQ(openMark(), kC2);
  EXPECT_EQ(offsets(), (std::array<int32_t, 2>{5, 3}));
  EXPECT_EQ(moved(0, 0, 0), (std::array<float, 3>{10, 0, 0}));
  EXPECT_EQ(step(s.level).done, 1);
  step(-1);
  EXPECT_EQ(DBLEVL.openTypeCode, 5003);
  EXPECT_EQ(openMark(), kAsm);
}

TEST_F(Walk, EmptyListsEndAtOnce) {
  // The end of a walk that never began has no model to reopen.
  Step s = step(-1);
  EXPECT_EQ(s.done, 1);
  EXPECT_EQ(s.error, 1);

  assembly("ASM", kAsm, {{}});
  assembly("BARE", kAsm + 1, {});
  for (const char* name : {"ASM", "BARE"}) {
    current(name, name);
    s = step(0);
    EXPECT_EQ(s.done, 1) << name;
    EXPECT_EQ(s.error, 0) << name;
    EXPECT_EQ(openMark(), name == std::string("ASM") ? kAsm : kAsm + 1);
    // A further call without a walk in progress stays done.
    EXPECT_EQ(step(1).done, 1);
  }
}

TEST_F(Walk, MissingComponentStopsAndReopensTheAssembly) {
  assembly("ASM", kAsm, {{Component{"C9", 0, 0, {}, 0, 0}}});
  current("ASM", "ASM");
  named.clear();
  const Step s = step(0);
  EXPECT_EQ(s.error, 1);
  EXPECT_EQ(s.done, 0);
  ASSERT_FALSE(named.empty());
  EXPECT_EQ(named.back(), (std::pair<int32_t, std::string>{7, "ASM" + std::string(17, ' ')}));
  EXPECT_EQ(openMark(), kAsm);
  // The walk is over: continuing it finds nothing more.
  EXPECT_EQ(step(1).done, 1);
}

TEST_F(Walk, ReopensTheStartingModelByTheNameAsGiven) {
  plain("C1", kC1);
  std::filesystem::create_directory(dir.file("d"));
  assembly("d/asm", kAsm, {{Component{"C1", 0, 0, {}, 0, 0}}});
  EXPECT_TRUE(std::filesystem::exists(dir.file("d/ASM.M71")));
  current("d/asm", "D/ASM");

  Step s = step(0);
  EXPECT_EQ(openMark(), kC1);
  EXPECT_EQ(step(s.level).done, 1);
  s = step(-1);
  EXPECT_EQ(s.error, 0);
  EXPECT_EQ(openMark(), kAsm);
  const std::string index = io::unitFileName(DBPARM.fileSlot(kIndexFileSlot).unit);
  EXPECT_EQ(std::filesystem::path(index).filename(), "ASM.M71");
  EXPECT_EQ(std::filesystem::path(index).parent_path().filename(), "d");
}

TEST_F(Walk, NestingPastTwentyLevelsStopsLikeAFailedOpen) {
  plain("C1", kC1);
  // A1 lists A2, ..., A21 lists C1: the 21st level is never entered.
  for (int32_t k = 21; k >= 1; --k) {
    const std::string below = k == 21 ? "C1" : "A" + std::to_string(k + 1);
    assembly("A" + std::to_string(k), k, {{Component{below, 0, 0, {}, 1, 1}}});
  }
  // An assembly that lists itself nests without end.
  assembly("SELF", kAsm, {{Component{"SELF", 0, 0, {}, 1, 1}}});

  for (const auto& [name, mark] : {std::pair<std::string, int32_t>{"A1", 1}, {"SELF", kAsm}}) {
    current(name, name);
    named.clear();
    const Step s = step(0);
    EXPECT_EQ(s.error, 1) << name;
    ASSERT_FALSE(named.empty());
    EXPECT_EQ(named.back().first, 7);
    EXPECT_EQ(openMark(), mark) << name;
    EXPECT_EQ(RESWLK.depth, 0);
  }

  // Twenty levels are walked.
  current("A2", "A2");
  const Step s = step(0);
  EXPECT_EQ(s.error, 0);
  EXPECT_EQ(s.level, 20);
  EXPECT_EQ(openMark(), kC1);
  EXPECT_EQ(offsets(), (std::array<int32_t, 2>{20, 20}));
}

// With a selection mode, each leaf that holds the current load case gives the values
// word of the selected attribute, one without it -1; the end of the walk selects again in
// the starting model when the load case is found there, else leaves the selection.
TEST_F(Walk, SelectsTheResultsOfTheCurrentLoadCase) {
  plain("C1", kC1);
  plain("C2", kC2);
  ASSERT_EQ(open("C1"), 0);
  loadCaseWithAttribute(7);
  DBCLOS();
  const std::vector<Component> list = {Component{"C1", 0, 0, {}, 0, 0},
                                       Component{"C2", 0, 0, {}, 0, 0}};
  assembly("ASM", kAsm, {list});
  assembly("BARE", kAsm + 1, {list});
  ASSERT_EQ(open("ASM"), 0);
  loadCaseWithAttribute(9);
  DBCLOS();
  RESSEL.type = 1;
  RESSEL.name = {};
  const std::vector<int32_t> disp = codes("DISP", 8);
  std::copy(disp.begin(), disp.end(), RESSEL.name.begin());

  for (const char* name : {"ASM", "BARE"}) {
    SCOPED_TRACE(name);
    current(name, name);
    S104W2(codes("LOAD1", 6));
    Step s = step(0, 1);
    EXPECT_EQ(openMark(), kC1);
    EXPECT_EQ(s.results, 7);
    EXPECT_EQ(s.second, 0);
    EXPECT_EQ(RESSEL.valid, 1);
    EXPECT_EQ(RESSEL.resultsWord, 7);
    s = step(s.level, 1);
    EXPECT_EQ(openMark(), kC2);
    EXPECT_EQ(s.results, -1);
    EXPECT_EQ(step(s.level, 1).done, 1);

    RESSEL.valid = 0;
    s = step(-1, 1);
    EXPECT_EQ(s.error, 0);
    EXPECT_EQ(openMark(), name == std::string("ASM") ? kAsm : kAsm + 1);
    if (name == std::string("ASM")) {
      EXPECT_EQ(RESSEL.valid, 1);
      EXPECT_EQ(RESSEL.resultsWord, 9);
    } else {
      EXPECT_EQ(RESSEL.valid, 0);
      EXPECT_EQ(RESSEL.resultsWord, 7);
    }
  }
}

}  // namespace
}  // namespace kvr
