// The object types that read the model database: sets, symbol sets, shapes and coordinate
// systems, line objects, montages, element types, node and element numbers, load cases and
// results attributes with their components. A database made in a temporary directory,
// its datasets filled by the loaders where they exist, else page by page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "../dbinterface/resultsfixture.h"
#include "command/dspfnd.h"
#include "command/objrec.h"
#include "dbinterface/symtab.h"
#include "dbinterface/toparr.h"
#include "modeldb/arrreg.h"
#include "modeldb/corsto.h"
#include "modeldb/ctlwords.h"
#include "modeldb/dblevl.h"
#include "objfixture.h"
#include "runtime/chrset.h"
#include "runtime/gridmd.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

using Codes = std::vector<int32_t>;
using test::Comp;

class ObjectDatabase : public test::ResultsFixture, public test::ObjectCalls {
 protected:
  void SetUp() override {
    test::ResultsFixture::SetUp();
    CHRSET();
    CMDLIN = {};
    MNUCTL = {};
    ARRDSC = {};
    int32_t status = -1;
    ARRREG(4, 0, status);
    ASSERT_EQ(status, 0);
  }
  void TearDown() override {
    setPageReadObserver(nullptr);
    CoreFreeFile(1);
    ARRDSC = {};
    CMDLIN = {};
    MNUCTL = {};
    gApplicationMode = 0;
    test::ResultsFixture::TearDown();
  }

  static int32_t h() { return DBLEVL.pageHeaderWords; }

  // Writes dataset KEY on new pages, page i holding CONTENTS[i] from word H + 1, chained
  // in order and recorded in the directory; answers the page numbers.
  static std::vector<int32_t> byPage(int32_t key, const std::vector<Codes>& contents) {
    std::vector<int32_t> pages;
    for (size_t i = 0; i < contents.size(); ++i) {
      int32_t p = 0, freeHead = 0;
      PGNEW(LDSCR, key, p, freeHead);
      pages.push_back(p);
    }
    for (size_t i = 0; i < contents.size(); ++i) {
      DbPage page(DBLEVL.dataPageSize);
      page.word(2) = pages[i];
      page.word(3) = key;
      page.word(4) = i + 1 < pages.size() ? pages[i + 1] : -1;
      page.word(5) = h() + static_cast<int32_t>(contents[i].size());
      for (size_t k = 0; k < contents[i].size(); ++k) {
        page.word(h() + 1 + static_cast<int32_t>(k)) = contents[i][k];
      }
      PAGWR(key, pages[i], page);
    }
    DSCLOS(LDSCR, kRecordInDirectory, key, pages.front());
    return pages;
  }

  // Sets word K of data page P of class KEY.
  static void setPageWord(int32_t key, int32_t p, int32_t k, int32_t value) {
    DbPage page(DBLEVL.dataPageSize);
    PAGRD(key, p, page);
    page.word(k) = value;
    PAGWR(key, p, page);
  }

  // A fixed record of N words: STATE, the words of HEAD from word 2, NAME from word AT.
  static Codes fixed(int32_t n, int32_t state, Codes head, const std::string& name, int32_t at) {
    Codes r(static_cast<size_t>(n), 0);
    r[0] = state;
    std::copy(head.begin(), head.end(), r.begin() + 1);
    const Codes c = test::codes(name);
    std::copy(c.begin(), c.end(), r.begin() + at - 1);
    return r;
  }
  static Codes montage(const std::string& name, int32_t state = 1, int32_t type = 3) {
    return fixed(kMontageRecordWords, state, {0, type}, name, kMontageNameWord);
  }
  static Codes shape(const std::string& name, int32_t type, int32_t state = 1) {
    return fixed(shapeRecordWords(), state, {0, type}, name, kShapeNameWord);
  }
  static Codes set(const std::string& name, int32_t state = 1) {
    return fixed(kSetRecordWords, state, {5002, 0, 1, 0}, name, kSetNameWord);
  }
  static Codes join(std::initializer_list<Codes> parts) {
    Codes all;
    for (const Codes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  }

  // One page of chained records named NAMES (a name beginning with "-" is deleted), each
  // linked to the next, the last to the terminating 0.
  static Codes chained(const std::vector<std::string>& names) {
    Codes words;
    for (size_t i = 0; i < names.size(); ++i) {
      const bool deleted = names[i][0] == '-';
      const int32_t next = h() + 1 + 10 * static_cast<int32_t>(i + 1);
      words.push_back(deleted ? -next : next);
      words.push_back(2);
      const Codes c = test::codes(deleted ? names[i].substr(1) : names[i]);
      words.insert(words.end(), c.begin(), c.end());
    }
    words.push_back(0);
    return words;
  }

  // Symbol sets NAMES through their loader.
  static void symbolSets(const std::vector<std::string>& names) {
    beginDataset(kSymbolSetDataset);
    for (const std::string& n : names) {
      Codes r{-1};
      const Codes name = test::codes(n), attribute = test::codes("STRS");
      r.insert(r.end(), name.begin(), name.end());
      r.insert(r.end(), attribute.begin(), attribute.end());
      r.push_back(0);
      r.push_back(0);
      raw(r);
    }
    endDataset();
    int32_t tag = 0;
    ASSERT_EQ(load(DIPSY, tag), 0);
  }

  // The 8 codes of NAME.
  static Codes name8(const std::string& name) { return test::codes(name); }

  // Selects the load case NAME.
  static void select(const std::string& name, int32_t count = 1) {
    DBLEVL.selectedCases = count;
    const Codes c = test::codes(name, DbLevl::kCaseNameCodes);
    std::copy(c.begin(), c.end(), DBLEVL.selectedCase.begin());
  }

  // Both level names name this model's database, or LEVEL1 names another.
  static void levels(const std::string& level1 = "beam") {
    DBLEVL.levelMode = 2;
    const Codes one = test::codes(level1, 20), two = test::codes("beam", 20);
    std::copy(one.begin(), one.end(), DBLEVL.levelName1.begin());
    std::copy(two.begin(), two.end(), DBLEVL.levelName2.begin());
  }

  bool posted(const std::string& text) {
    for (const auto& lines : {messages(), stdoutLines()}) {
      for (const std::string& l : lines) {
        if (l.find(text) != std::string::npos) return true;
      }
    }
    return false;
  }

  static Entries objects(int32_t kind, int32_t value, const std::vector<std::string>& names) {
    Entries e;
    for (const std::string& n : names) e.push_back({kind, value, n});
    return e;
  }

  std::vector<int32_t> context = std::vector<int32_t>(32640, 0);
};

TEST_F(ObjectDatabase, SetsMustExistExactly) {
  EXPECT_EQ(list(12, context).entries, (Entries{{5, 9, "'set-old'"}}));
  byPage(kSetDataset, {join({set("GAMMA", -1), set("ALPHA"), set("BETA")})});
  const Listed l = list(12, context);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.entries, objects(-112, 8, {"ALPHA", "BETA"}));

  Checked r = check(12, "ALPHA", 1, context);
  EXPECT_EQ(r.check.status, 0);
  EXPECT_EQ(r.check.valueCode, 4);
  EXPECT_EQ(r.text(), "ALPHA");
  EXPECT_EQ(check(12, "ALP", 1, context).check.status, -1);
  EXPECT_EQ(check(12, "GAMMA", 1, context).check.status, -1);  // deleted
  EXPECT_EQ(check(12, "'SET-OLD'", 2, context).check.listValue, 1);
}

TEST_F(ObjectDatabase, LevelsAroundSetLists) {
  byPage(kSetDataset, {set("ALPHA")});
  levels();
  EXPECT_EQ(list(12, context).entries, objects(-112, 8, {"ALPHA"}));
  EXPECT_EQ(check(12, "ALPHA", 1, context).check.status, 0);

  levels("nothere");
  const Listed l = list(12, context);
  EXPECT_EQ(l.status, 1);
  EXPECT_EQ(l.entries, Entries{});
  EXPECT_EQ(check(12, "ALPHA", 1, context).check.status, -1);
  int32_t status = -1;
  MONFND(name8("M1"), context, status);
  EXPECT_EQ(status, 2);
}

TEST_F(ObjectDatabase, SymbolSets) {
  EXPECT_EQ(list(31, context).entries, (Entries{{5, 13, "'sym-set-old'"}}));
  int32_t status = -1;
  SYMFND(name8("S1"), context, status);
  EXPECT_EQ(status, 1);

  symbolSets({"S1", "S2", "S3"});
  const Listed l = list(31, context);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.entries, objects(-131, 8, {"S1", "S2", "S3"}));
  SYMFND(name8("S3"), context, status);
  EXPECT_EQ(status, 0);
  SYMFND(name8("S"), context, status);  // exact names only
  EXPECT_EQ(status, 1);
  EXPECT_EQ(check(31, "S2", 1, context).check.valueCode, 4);
  EXPECT_EQ(check(31, "S", 1, context).check.status, -1);

  // A full list keeps its last place for the placeholder.
  EXPECT_EQ(list(31, context, 2).entries, (Entries{{-131, 8, "S1"}, {5, 13, "'sym-set-old'"}}));
  EXPECT_EQ(list(31, context, 2).status, 2);
}

TEST_F(ObjectDatabase, ShapesAndCoordinateSystems) {
  byPage(kShapeDataset, {join({shape("BEAM1", 1), shape("OLD", 2, -1), shape("CS1", 11),
                               shape("BEAM2", 4), shape("COLUMN", 3)})});
  const struct {
    int32_t selection;
    std::string name;
    int32_t result;
    std::string matched;
    int32_t type;
  } cases[] = {{1, "BEAM", -2, "BEAM1", 1}, {1, "BEAM1", 0, "BEAM1", 1}, {1, "BEAM2", 0, "BEAM2", 4},
               {1, "COL", 3, "COLUMN", 3},  {1, "CS1", -1, "", 0},       {1, "OLD", -1, "", 0},
               {2, "CS", 2, "CS1", 11},     {2, "BEAM1", -1, "", 0},     {1, "", -1, "", 0}};
  for (const auto& c : cases) {
    Codes matched(8, 0);
    int32_t result = -9, type = -9, failure = -9;
    SHPFND(context, c.selection, name8(c.name), result, matched, type, failure);
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(matched, test::codes(c.matched)) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(failure, 0) << c.name;
  }
  EXPECT_EQ(list(24, context).entries, objects(-124, 8, {"BEAM1", "BEAM2", "COLUMN"}));
  EXPECT_EQ(list(29, context).entries, objects(-129, 8, {"CS1"}));
  EXPECT_EQ(check(24, "BEAM1", 1, context).check.status, 0);
  EXPECT_EQ(check(24, "BEAM", 1, context).check.status, -1);
  EXPECT_EQ(check(29, "CS1", 1, context).check.status, 0);

  // Delivering (mode 2) shows a coordinate system's kind after its name.
  ValueList delivered(10, 40);
  int32_t status = -1;
  OBJLST(context, 29, kDeliverObjects, 1, 0, delivered, status);
  ASSERT_EQ(delivered.count, 1);
  EXPECT_EQ(delivered.text(1).trimmed(), "CS1      (Rectangular)");
  EXPECT_EQ(delivered.value(1), 22);
}

TEST_F(ObjectDatabase, ShapeListWithADamagedState) {
  byPage(kShapeDataset, {join({shape("BEAM1", 1), shape("BAD", 1, 7), shape("BEAM2", 1)})});
  Codes matched(8, 0);
  int32_t result = -9, type = -9, failure = -9;
  SHPFND(context, 1, name8("BEAM2"), result, matched, type, failure);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(failure, 1);
  EXPECT_TRUE(posted("E3320: Shape index corrupt"));
  // The list ends there.
  EXPECT_EQ(list(24, context).entries, objects(-124, 8, {"BEAM1"}));
}

TEST_F(ObjectDatabase, MontagesByExactName) {
  byPage(kMontageDataset, {join({montage("GONE", -1), montage("VIEW", 1, 2), montage("M1")})});
  const struct {
    std::string name;
    int32_t status;
  } cases[] = {{"M1", 0}, {"M", 1}, {"VIEW", 1}, {"GONE", 1}};
  for (const auto& c : cases) {
    int32_t status = -9;
    MONFND(name8(c.name), context, status);
    EXPECT_EQ(status, c.status) << c.name;
  }
  EXPECT_EQ(list(35, context).entries, objects(-135, 8, {"M1"}));
  EXPECT_EQ(check(35, "M1", 1, context).check.status, 0);
  levels();
  int32_t status = -9;
  MONFND(name8("M1"), context, status);
  EXPECT_EQ(status, 0);
}

TEST_F(ObjectDatabase, MontageListWithADamagedState) {
  byPage(kMontageDataset, {join({montage("M0"), montage("X", 7), montage("M1")})});
  int32_t status = -9;
  MONFND(name8("M1"), context, status);
  EXPECT_EQ(status, 2);
  MONFND(name8("M0"), context, status);
  EXPECT_EQ(status, 0);
}

TEST_F(ObjectDatabase, LineObjectsAcrossPages) {
  // The first page continues on the second: its last link leads back to word H + 1.
  Codes first = chained({"L1", "-OLD", "LEFT"});
  first.back() = -(h() + 1);  // in place of the terminating 0
  first.push_back(0);
  byPage(kLineObjectDataset, {first, chained({"LONG", "L2"})});
  EXPECT_EQ(list(27, context).entries, objects(-127, 8, {"L1", "LEFT", "LONG", "L2"}));

  const struct {
    std::string name;
    int32_t result;
    std::string matched;
  } cases[] = {{"L1", 0, "L1"}, {"LO", 2, "LONG"}, {"L", -2, "L1"}, {"OLD", -1, ""}, {"X", -1, ""}};
  for (const auto& c : cases) {
    Codes matched(8, 0);
    int32_t result = -9;
    LINFND(context, name8(c.name), result, matched);
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(matched, test::codes(c.matched)) << c.name;
  }
  EXPECT_EQ(check(27, "L2", 1, context).check.status, 0);
  EXPECT_EQ(check(27, "LO", 1, context).check.status, -1);
}

TEST_F(ObjectDatabase, ChainsThatComeBackEnd) {
  // Item: a page chain whose page names itself, a record 106 linking to its own page.
  const std::vector<int32_t> lines = byPage(kLineObjectDataset, {chained({"L1", "L2"})});
  setPageWord(kLineObjectDataset, lines[0], 4, lines[0]);
  // A page full of deleted montages that names itself as the next.
  Codes deleted;
  for (int32_t k = 0; k < (DBLEVL.dataPageSize - h()) / kMontageRecordWords; ++k) {
    deleted = join({deleted, montage("M0", -1)});
  }
  const std::vector<int32_t> montages = byPage(kMontageDataset, {deleted});
  setPageWord(kMontageDataset, montages[0], 4, montages[0]);
  // A record link that leads back within its page goes on with the next page.
  Codes looped = chained({"S1"});
  looped[0] = h() + 1;
  byPage(kSymbolDataset, {looped});

  int32_t reads = 0;
  setPageReadObserver([&](int32_t, int32_t) { ++reads; });
  Codes matched(8, 0);
  int32_t result = -9;
  LINFND(context, name8("NONE"), result, matched);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(list(27, context).entries, objects(-127, 8, {"L1", "L2"}));
  int32_t status = -9;
  MONFND(name8("M1"), context, status);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(list(31, context).entries, objects(-131, 8, {"S1"}));

  // No walk reads more pages than the data file holds.
  const int32_t pages = DBPARM.fileSlot(kDataFileSlot).nextPage;
  for (int32_t type : {27, 31, 35}) {
    reads = 0;
    list(type, context);
    EXPECT_LE(reads, pages) << type;
  }
}

TEST_F(ObjectDatabase, ElementTypesThatOccur) {
  // The element work records: type, id and two words each, no nodes.
  const std::vector<int32_t> types = {9, 7, 9, 70};
  std::vector<int32_t> starts, records;
  for (size_t k = 0; k < types.size(); ++k) {
    starts.push_back(static_cast<int32_t>(4 * k + 1));
    records.insert(records.end(), {types[k], static_cast<int32_t>(k + 1), 1, 2});
  }
  starts.push_back(static_cast<int32_t>(4 * types.size() + 1));
  int32_t stat = -1;
  ARRIO(-1, APPSTA.ARRHND(kElementStartHandle), 1, static_cast<int32_t>(starts.size()), -1, starts,
        {}, stat);
  ARRIO(-1, APPSTA.ARRHND(kElementRecordHandle), 1, static_cast<int32_t>(records.size()), -1,
        records, {}, stat);
  S103WB(100, 4, 1);

  const Listed l = list(25, context);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.entries, objects(-125, 4, {"TR3", "QU4"}));
  EXPECT_EQ(list(25, context, 1).entries, objects(-125, 4, {"TR3"}));
  EXPECT_EQ(list(25, context, 1).status, 2);
}

TEST_F(ObjectDatabase, NodeAndElementNumbers) {
  S103WB(100, 40, 1);
  const struct {
    int32_t type;
    std::string token;
    int32_t status;
  } cases[] = {{36, "12", 0},  {36, "100", 0}, {36, "101", -1}, {36, "A", -1}, {36, "0", -1},
               {36, "1.5", -1}, {36, "12A", -1}, {37, "40", 0},  {37, "41", -1}, {36, "-12", 0}};
  for (const auto& c : cases) {
    const Checked r = check(c.type, c.token, 1, context);
    EXPECT_EQ(r.check.status, c.status) << c.type << " " << c.token;
    if (c.status == 0) {
      EXPECT_EQ(r.check.valueCode, 2);
    }
  }
  const Checked r = check(36, "12", 1, context);
  EXPECT_EQ(r.check.listValue, 12);
  EXPECT_EQ(check(36, "-12", 1, context).check.oper, 3);
}

class ResultsObjects : public ObjectDatabase {
 protected:
  // Node 1's header and one group of N values, as kind 2 sends them.
  static void kindTwoValues(size_t n) {
    raw({-1, 1, 1, 1, 0, 9});
    rawValues(-2, 11, std::vector<float>(n, 1.0f));
  }

  void SetUp() override {
    ObjectDatabase::SetUp();
    // The values datasets need the model's nodes and elements.
    nodes({1, 2, 3, 4});
    elements({{1, 9, {1, 2, 3, 4}}});
    attribute("A1", 1, {Comp("X")});
    nodal(1, {1.0f});
    ASSERT_EQ(store(), 0);
    attribute("A2", 2, {Comp("Y", 0)});  // no component in the menu
    kindTwoValues(1);
    ASSERT_EQ(store(), 0);
    attribute("A3", 3, {Comp("Z")});
    pointsHeader(1, 9, 4, 1);
    for (int32_t k = 1; k <= 4; ++k) repeat(k, {1.0f});
    ASSERT_EQ(store(), 0);
    std::vector<Comp> twelve;
    for (int32_t k = 1; k <= 12; ++k) twelve.push_back(Comp("C" + std::to_string(k)));
    attribute("B12", 2, twelve);
    kindTwoValues(12);
    ASSERT_EQ(store(), 0);
  }
};

TEST_F(ResultsObjects, NoLoadCaseSelected) {
  for (int32_t type : {1, 3}) {
    const Listed l = list(type, context);
    EXPECT_EQ(l.status, 3) << type;
    EXPECT_EQ(l.entries, Entries{}) << type;
  }
  EXPECT_TRUE(posted("E3430: Loadcase not selected"));
  answers({182, 0});
  EXPECT_EQ(check(1, "A1", 1, context).check.status, -1);
}

TEST_F(ResultsObjects, AttributesByTheChosenKind) {
  select("LOAD1");
  answers({182});
  EXPECT_EQ(list(1, context).entries, objects(-101, 8, {"A1", "A2", "B12"}));
  EXPECT_EQ(list(6, context).entries, objects(-106, 8, {"A1"}));
  EXPECT_EQ(list(8, context).entries, Entries{});  // no kind 5, and no keyword for 108
  EXPECT_EQ(list(5, context).entries, Entries{});
  answers({161});
  EXPECT_EQ(list(2, context).entries, objects(-102, 8, {"A3"}));
  answers({184});
  EXPECT_EQ(list(4, context).entries, (Entries{{5, 11, "'attribute'"}}));
  answers({99});  // no kind chosen: the placeholder alone
  EXPECT_EQ(list(1, context).entries, (Entries{{5, 11, "'attribute'"}}));
  EXPECT_EQ(list(3, context).entries, (Entries{{5, 11, "'component'"}}));
  answers({182});
  EXPECT_EQ(list(1, context, 2).entries, (Entries{{-101, 8, "A1"}, {5, 11, "'attribute'"}}));
  EXPECT_EQ(list(1, context, 2).status, 2);
}

TEST_F(ResultsObjects, ComponentsAcrossTheLinkedRecord) {
  select("LOAD1");
  answers({182, -101});
  listValue(2, 3);  // B12, the third attribute of kind 2
  std::vector<std::string> names;
  for (int32_t k = 1; k <= 12; ++k) names.push_back("C" + std::to_string(k));
  Listed l = list(3, context);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.entries, objects(-103, 8, names));
  l = list(3, context, 11);
  EXPECT_EQ(l.status, 2);
  EXPECT_EQ(l.entries.size(), 11u);

  listValue(2, 1);  // A1, whose one component is X
  EXPECT_EQ(list(3, context).entries, objects(-103, 8, {"X"}));
  listValue(2, 2);  // A2 has none in its menu
  EXPECT_EQ(list(3, context).status, 1);
  listValue(2, 7);
  l = list(3, context);
  EXPECT_EQ(l.status, 3);
  EXPECT_TRUE(posted("E3400: No attributes"));
  answers({99, -106});
  listValue(2, 1);
  EXPECT_EQ(list(7, context).entries, objects(-107, 8, {"X"}));
}

TEST_F(ResultsObjects, ChecksMatchWhatTheListShows) {
  select("LOAD1");
  // While checking, the token's own answer is the last one.
  answers({182, 0});
  Checked r = check(1, "A1", 1, context);
  EXPECT_EQ(r.check.status, 0);
  EXPECT_EQ(r.check.valueCode, 1);
  EXPECT_EQ(r.check.listValue, 1);
  EXPECT_EQ(check(1, "A", 1, context).check.status, -2);
  r = check(1, "B", 1, context);
  EXPECT_EQ(r.check.status, 1);
  EXPECT_EQ(r.check.listValue, 3);
  EXPECT_EQ(check(1, "A3", 1, context).check.status, -1);

  // Types 2, 4 and 6 lead to menu 4905 for a name without components.
  r = check(2, "A2", 1, context);
  EXPECT_EQ(r.check.status, 0);
  EXPECT_EQ(r.check.nextMenu, 4905);
  EXPECT_EQ(r.check.sign, -1);
  r = check(2, "NONE", 1, context);
  EXPECT_EQ(r.check.status, -1);
  EXPECT_EQ(r.check.nextMenu, 4905);
  r = check(2, "B12", 1, context);
  EXPECT_EQ(r.check.nextMenu, 64);
  EXPECT_EQ(check(1, "NONE", 1, context).check.nextMenu, 64);

  answers({182, -101, 0});
  listValue(2, 3);
  r = check(3, "C11", 1, context);
  EXPECT_EQ(r.check.status, 0);
  EXPECT_EQ(r.check.listValue, 11);
  EXPECT_EQ(check(3, "C", 1, context).check.status, -2);
  EXPECT_EQ(check(5, "C1", 1, context).check.status, -1);
  answers({99, 0});
  EXPECT_EQ(check(1, "A1", 1, context).check.status, -1);
}

TEST_F(ResultsObjects, AttributeChainThatComesBack) {
  select("LOAD1");
  answers({182});
  // The first attribute's record links to its own page.
  const int32_t first = firstRecord();
  std::vector<int32_t> page(kIndexPageSize);
  PAGRD(kResultsClass, first, page);
  page[kEntryBase] = first;
  PAGWR(kResultsClass, first, page);
  EXPECT_EQ(list(1, context).entries, objects(-101, 8, {"A1"}));
}

TEST_F(ResultsObjects, LoadCases) {
  int32_t status = -1;
  const Codes title(20, kBlankCode), text(10, kBlankCode);
  const struct {
    std::string name;
    int32_t type, number;
  } cases[] = {{"LC2", 3, 4}, {"LC3", -2, 0}, {"LC4", -41, 0}, {"LC5", -4, 0}, {"LC6", -3, 0}};
  for (const auto& c : cases) {
    registerLoadCase(test::codes(c.name, 20), LDSCR, 0.0f, c.type, c.number, title, text, status);
    ASSERT_EQ(status, 0) << c.name;
  }
  Listed l = list(11, context);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.entries, (Entries{{-111, 5, "LOAD1"},
                                {-111, 5, "LC2 4"},
                                {-111, 5, "LC3 0"},
                                {-111, 5, "LC4 0"},
                                {-111, 5, "LC5 0"},
                                {-111, 5, "LC6 0"}}));
  const Entry load{5, 6, "'load'"};
  EXPECT_EQ(list(17, context).entries, (Entries{{-111, 5, "LC2 4"}, load}));
  EXPECT_EQ(list(18, context).entries, (Entries{{-111, 5, "LC3 0"}, load}));
  EXPECT_EQ(list(19, context).entries, (Entries{{-111, 5, "LC5 0"}, load}));
  EXPECT_EQ(list(21, context).entries,
            (Entries{{-111, 5, "LOAD1"}, {-111, 5, "LC4 0"}, {-111, 5, "LC6 0"}, load}));
  EXPECT_EQ(list(11, context, 2).entries, (Entries{{-111, 5, "LOAD1"}, load}));
  gApplicationMode = kGridVocabularyMode;
  EXPECT_EQ(list(17, context).entries.back(), (Entry{5, 6, "'case'"}));
  gApplicationMode = 0;

  // The load-case kinds from the type words 3, -2, -41, -4, -3 (LOAD1 is type 0).
  std::map<std::string, int32_t> kinds;
  std::vector<int32_t> buffer(kIndexPageSize);
  int32_t page = 0, last = 0;
  G103W8(page);
  walkControlChain(kLoadCaseClass, page, last, [&](int32_t p, int32_t entry) {
    if (CTLREC.word(kLoadCaseClass, 1) != 1) return ChainStep::Next;
    int32_t kind = -9;
    LCKIND(entry, buffer, p, kind);
    std::string name;
    for (int32_t k = 2; k <= 4; ++k) name.push_back(charOf(CTLREC.word(kLoadCaseClass, k)));
    kinds[name] = kind;
    return ChainStep::Next;
  });
  EXPECT_EQ(kinds, (std::map<std::string, int32_t>{
                       {"LOA", -1}, {"LC2", 1}, {"LC3", 2}, {"LC4", 3}, {"LC5", 4}, {"LC6", -1}}));
  int32_t kind = -9;
  LCKIND(1, buffer, 0, kind);
  EXPECT_EQ(kind, 0);
}

TEST_F(ResultsObjects, SelectionOfAMissingCaseIsCleared) {
  select("LC2");
  list(11, context);
  EXPECT_EQ(DBLEVL.selectedCases, 0);
  select("LOAD1");
  list(11, context);
  EXPECT_EQ(DBLEVL.selectedCases, 1);
  select("LOAD", 2);  // only a single selection is looked up
  list(11, context);
  EXPECT_EQ(DBLEVL.selectedCases, 2);
}

}  // namespace
}  // namespace kvr
