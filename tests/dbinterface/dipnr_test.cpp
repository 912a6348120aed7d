#include "dbinterface/dipnr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "dbinterface/dbhdrr.h"
#include "dbinterface/dipasm.h"
#include "dbinterface/reslvl.h"
#include "modeldb/cmptrf.h"
#include "modeldb/dbopen.h"
#include "resultsfixture.h"

namespace kvr {
namespace {

using test::bits;
using test::calculated;
using test::codes;
using test::Comp;

class ValueLoader : public test::ResultsFixture {
 protected:
  // The values page of the attribute stored last: words FROM .. FROM + N - 1.
  static std::vector<int32_t> values(int32_t n, int32_t from = 39) {
    return words(page(valuesPage()), from, n);
  }
  static int32_t valuesPage() {
    int32_t p = 0;
    R6GW12(0, p);
    return p;
  }
  // A stress attribute of V value components of IRTYPE.
  static void stress(int32_t irtype, int32_t v = 1, const std::string& name = "stress") {
    std::vector<Comp> comps;
    for (int32_t k = 1; k <= v; ++k) comps.push_back({"s" + std::to_string(k)});
    attribute(name, irtype, comps);
  }
  static std::vector<int32_t> group(int32_t id, std::initializer_list<float> values) {
    std::vector<int32_t> g = {id};
    for (float v : values) g.push_back(bits(v));
    return g;
  }
};

// Full heads start a page and a run; entities that follow their predecessor in the
// stored order take short heads.
TEST_F(ValueLoader, NodalHeadsFollowTheStoredOrder) {
  nodes({1, 2, 3, 4, 5});
  stress(1, 3);
  for (int32_t id : {1, 2, 3, 5}) nodal(id, {float(id), 0.5f, 0.25f});
  ASSERT_EQ(store(), 0);
  EXPECT_EQ(values(31), join({{1, 1, 1, 1, 1, 0, 0}, group(bits(1), {0.5f, 0.25f}), {2, 2},
                              group(bits(2), {0.5f, 0.25f}), {3, 3}, group(bits(3), {0.5f, 0.25f}),
                              {5, 5, 1, 1, 1, 0, 0}, group(bits(5), {0.5f, 0.25f}), {0}}));
  EXPECT_EQ(page(valuesPage()).word(5), 68);
  EXPECT_EQ(page(valuesPage()).word(4), -1);
}

// A node that is not stored: its values are dropped, and the next node is found after it.
TEST_F(ValueLoader, ValuesOfANodeNotStoredAreDropped) {
  nodes({1, 2, 3, 5});
  stress(1, 3);
  nodal(4, {1, 2, 3});
  nodal(5, {4, 5, 6});
  ASSERT_EQ(store(), 0);
  EXPECT_EQ(messages().back(),
            " DI    : DILIM : INVALID NODE FOUND, RESULTS DATA WILL BE IGNORED   : (         4)");
  EXPECT_EQ(values(11), join({{5, 4, 1, 1, 1, 0, 0}, {bits(4), bits(5), bits(6)}, {0}}));
}

// A run of short heads that reaches the end of a page goes on with a full head on the
// next one.
TEST_F(ValueLoader, ARunGoesOnWithAFullHeadOnTheNextPage) {
  // V = 3: a full entry takes 10 words, a short one 5; 48 + 5 x 398 = 2038.
  std::vector<int32_t> ids;
  for (int32_t id = 1; id <= 450; ++id) ids.push_back(id);
  nodes(ids);
  stress(1, 3);
  for (int32_t id : ids) nodal(id, {1, 2, 3});
  ASSERT_EQ(store(), 0);
  const DbPage one = page(valuesPage());
  EXPECT_EQ(one.word(5), 2038);
  ASSERT_GT(one.word(4), 0);
  const DbPage two = page(one.word(4));
  EXPECT_EQ(words(two, 39, 9), (std::vector<int32_t>{400, 400, 1, 1, 1, 0, 0, bits(1), bits(2)}));
  EXPECT_EQ(words(two, 49, 2), (std::vector<int32_t>{401, 401}));
  EXPECT_EQ(two.word(4), -1);
  EXPECT_EQ(two.word(5), 48 + 5 * 50);
}

// An entry that ends exactly at the page's last word stays on its page.
TEST_F(ValueLoader, AnEntryMayEndAtTheLastWord) {
  // V = 1: full entries of 8 words, short ones of 3; two runs (node 101 has no values)
  // of 1 + 99 and 1 + 563 entries end at 38 + 16 + 3 x 662 = 2040.
  std::vector<int32_t> ids;
  for (int32_t id = 1; id <= 700; ++id) ids.push_back(id);
  nodes(ids);
  stress(1, 1);
  for (int32_t id = 1; id <= 666; ++id) {
    if (id != 101) nodal(id, {float(id)});
  }
  ASSERT_EQ(store(), 0);
  const DbPage one = page(valuesPage());
  EXPECT_EQ(one.word(5), 2040);
  EXPECT_EQ(words(one, 2038, 3), (std::vector<int32_t>{665, 665, bits(665)}));
  const DbPage two = page(one.word(4));
  EXPECT_EQ(words(two, 39, 8), (std::vector<int32_t>{666, 666, 1, 1, 1, 0, 0, bits(666)}));
}

// IRTYPE 2: a header per node and its layers x points records, each group the id word
// and the values; an entity cut short by the end is not stored.
TEST_F(ValueLoader, NodalGroupsOfHeaderAndRecords) {
  nodes({1, 2, 3});
  stress(2, 2);
  for (int32_t id : {1, 2}) {
    raw({-1, id, 2, 1, 0, 9});
    rawValues(-2, 10 * id + 1, {1, 2});
    rawValues(-2, 10 * id + 2, {3, 4});
  }
  raw({-1, 3, 2, 1, 0, 9});
  rawValues(-2, 31, {5, 6});
  ASSERT_EQ(store(), 0);
  EXPECT_EQ(values(21), join({{1, 1, 1, 2, 1, 9, 0}, group(11, {1, 2}), group(12, {3, 4}),
                              {2, 2}, group(21, {1, 2}), group(22, {3, 4})}));
  EXPECT_EQ(page(valuesPage()).word(5), 38 + 21);
  EXPECT_EQ(values(6, 60), std::vector<int32_t>(6, 0));
}

// Kind-3 values are stored in the element's stored node order; a header that counts the
// nodes by its type (NPOINT 0) gives the same entry; the next element in order takes a
// short head.
TEST_F(ValueLoader, NodeValuesInStoredNodeOrder) {
  elements({{7, 21, {11, 12, 13, 14}}, {8, 21, {1, 2, 3, 4}}});
  for (int32_t npoint : {4, 0}) {
    SCOPED_TRACE(npoint);
    stress(3, 1, npoint == 4 ? "at-four" : "at-zero");
    pointsHeader(7, 21, npoint, 1);
    for (int32_t k = 1; k <= 4; ++k) repeat(k, {float(k)});
    pointsHeader(8, 21, npoint, 1);
    for (int32_t k = 1; k <= 4; ++k) repeat(k, {float(10 * k)});
    ASSERT_EQ(store(), 0);
    EXPECT_EQ(values(25), join({{7, 1, 1, 4, 1, 0, 0}, group(11, {1}), group(14, {4}),
                                group(12, {2}), group(13, {3}), {8, 2}, group(1, {10}),
                                group(4, {40}), group(2, {20}), group(3, {30})}));
  }
}

// Kind 5: one group per layer, points 1; minus ILOCAL in the head breaks a run.
TEST_F(ValueLoader, LayerValues) {
  elements({{7, 21, {11, 12, 13, 14}}, {8, 21, {1, 2, 3, 4}}});
  stress(5, 1);
  layersHeader(7, 21, 0);
  layerRepeat(5, {9});
  int32_t ierr = -1;
  DIECH(8, 21, 0, 0, 2, 1, nullptr, ierr, unit(kA));
  ASSERT_EQ(ierr, 0);
  layerRepeat(6, {1});
  layerRepeat(7, {2});
  ASSERT_EQ(store(), 0);
  EXPECT_EQ(values(20), join({{7, 1, 1, 1, 1, 0, 0}, group(5, {9}), {8, 2, 2, 1, 1, -1, 0},
                              group(6, {1}), group(7, {2})}));
}

// Kind 4: every group carries its point record; its id and coordinates are stored under
// IGFLAG 0 only, and the next header is read in step either way.
TEST_F(ValueLoader, GaussPointValues) {
  elements({{7, 21, {11, 12, 13, 14}}, {8, 21, {1, 2, 3, 4}}});
  stress(4, 1);
  gaussHeader(7, 21, 2, 1, 0);
  gaussRepeat(101, 0.5f, 1.5f, 2.5f, {7});
  gaussRepeat(102, 3.5f, 4.5f, 5.5f, {8});
  gaussHeader(8, 21, 2, 1, 1);
  gaussRepeat(103, 0, 0, 0, {9});
  gaussRepeat(104, 0, 0, 0, {10});
  ASSERT_EQ(store(), 0);
  EXPECT_EQ(values(28),
            join({{7, 1, 1, 2, 1, 0, 0}, {101, bits(0.5f), bits(1.5f), bits(2.5f), bits(7)},
                  {102, bits(3.5f), bits(4.5f), bits(5.5f), bits(8)}, {8, 2, 1, 2, 1, 0, 1},
                  group(103, {9}), group(104, {10})}));
  EXPECT_EQ(page(valuesPage()).word(5), 38 + 17 + 11);

  // NPOINT 0: one group per layer.
  stress(4, 1, "layers");
  gaussHeader(7, 21, 0, 2, 0);
  gaussRepeat(1, 1, 2, 3, {4});
  gaussRepeat(2, 5, 6, 7, {8});
  ASSERT_EQ(store(), 0);
  EXPECT_EQ(values(17), join({{7, 1, 2, 1, 1, 0, 0}, {1, bits(1), bits(2), bits(3), bits(4)},
                              {2, bits(5), bits(6), bits(7), bits(8)}}));
}

// What the loaders refuse, with the line they leave.
TEST_F(ValueLoader, Refusals) {
  nodes({1, 2, 3});
  elements({{7, 21, {11, 12, 13, 14}}, {9, 9, {1, 2, 3, 4}}});
  const std::string notDetected9200 = errorLine(299, "DIPER", 9200);
  struct Case {
    const char* what;
    std::function<void()> records;
    bool cut;
    int32_t code;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"variant 2", [] { stress(3); pointsHeader(7, 21, 4, 1, 2);
                         for (int32_t k = 1; k <= 4; ++k) repeat(k, {1}); },
       false, 241, errorLine(241, "DILIM")},
      {"element not stored", [] { stress(5); layersHeader(8, 21, 1); layerRepeat(1, {1}); },
       false, 239, errorLine(239, "DILIM")},
      {"type 99", [] { stress(5); layersHeader(7, 99, 1); layerRepeat(1, {1}); },
       false, 239, errorLine(239, "DILIM")},
      {"type 99 of IRTYPE 3", [] { stress(3); pointsHeader(7, 99, 0, 1); repeat(1, {1}); },
       false, 239, errorLine(239, "DILIM")},
      {"type 0 over a QU4", [] { stress(3); pointsHeader(9, 0, 0, 1); repeat(1, {1}); },
       false, 299, notDetected9200},
      {"NUMRES 5, V 3, nodal", [] { stress(1, 3); rawValues(-1, 1, {1, 2, 3, 4, 5}); },
       false, 237, errorLine(237, "DILIM")},
      {"NUMRES 5, V 3, element", [] { stress(5, 3); raw({-1, 7, 21, 0, 0, 0, 1, 0, 0, 0});
                                      rawValues(-2, 1, {1, 2, 3, 4, 5}); },
       false, 243, errorLine(243, "DILIM")},
      {"node past the last", [] { stress(1); nodal(4, {1}); }, false, 238,
       errorLine(238, "DILIM", 4)},
      {"variant 3 of IRTYPE 2", [] { stress(2); raw({-1, 1, 1, 1, 3, 0}); }, false, 236,
       errorLine(236, "DILIM")},
      {"a header too large", [] { stress(2); raw({-1, 1, 1000, 1000, 1, 0});
                                  rawValues(-2, 1, {1}); },
       false, 262, errorLine(262, "DILIM")},
      {"point record cut", [] { stress(4); raw({-1, 7, 21, 0, 0, 0, 1, 1, 0, 0});
                                raw({-2, 1, 1}); },
       true, 242, errorLine(242, "DILIM")},
      {"element header cut", [] { stress(5); raw({-1, 7, 21}); }, true, 241,
       errorLine(241, "DILIM")},
      {"only the end, nodal", [] { stress(1); }, false, 249, errorLine(249, "DILIM")},
      {"only the end, element", [] { stress(5); }, false, 251, errorLine(251, "DILIM")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RESSEL = {};
    c.records();
    if (c.cut) {
      cutDataset();
    } else {
      endDataset();
    }
    int32_t key = 100, ierr = -1;
    DIPRES(LDPAGE, LDSCR, key, ierr);
    EXPECT_EQ(ierr, c.code);
    EXPECT_EQ(messages().back(), c.line);
    // A refused attribute leaves its record unused, so the next one takes the same name.
    EXPECT_EQ(record106(firstRecord())[0], 0);
  }
}

class AssemblyValues : public ValueLoader {
 protected:
  void SetUp() override {
    ValueLoader::SetUp();
    ASMACC = {};
    CMPTRF = {};
    RESWLK = {};
  }
  void TearDown() override {
    ASMACC = {};
    CMPTRF = {};
    RESWLK = {};
    ValueLoader::TearDown();
  }

  // A component model NAME with nodes 1 to N and one element, id 1, on nodes 1 to 4.
  static void component(const std::string& name, int32_t n) {
    DISTAT.modelState = 0;
    createDatabase(name);
    std::vector<int32_t> ids;
    for (int32_t id = 1; id <= n; ++id) ids.push_back(id);
    nodes(ids);
    elements({{1, 9, {1, 2, 3, 4}}});
    int32_t status = -1;
    writeModelSummary(LDPAGE, LDSCR, DICNT, status);
    ASSERT_EQ(status, 0);
    S103WB(DICNT.nodeCount, DICNT.elementCount, 0);
    CRPUT(kModelClass);
    DBCLOS();
  }

  // The assembly NAME of the components NAMES, built by DIPASM and left open as the
  // current model, with the load case LOAD1.
  static void assembly(const std::string& name, const std::vector<std::string>& names) {
    DBCLOS();
    const std::vector<int32_t> n = codes(name, 20);
    const std::vector<int32_t> record = {2, 0, 0};
    const std::vector<int32_t> title(20, kBlankCode);
    std::vector<int32_t> buffer(kLargestPageWords);
    int32_t status = -1;
    FBCFIG(buffer, n, record, title, status);
    ASSERT_EQ(status, 0);
    std::copy(n.begin(), n.end(), DICTL.modelGiven.words.begin());
    DICNT = {};
    DISTAT.modelState = kModelModeBuild;
    std::vector<std::vector<int32_t>> records;
    for (const std::string& c : names) {
      std::vector<int32_t> r = {-1};
      const std::vector<int32_t> codes20 = codes(c, 20);
      r.insert(r.end(), codes20.begin(), codes20.end());
      r.push_back(0);
      records.push_back(r);
    }
    dataset(1, records);
    ASSERT_EQ(load(DIPASM), 0);
    DISTAT.modelState = 0;
    ASSERT_EQ(loadCase("LOAD1"), 0);
  }
};

// In an assembly the entities are matched component after component, with the numbering
// offsets in their sequence numbers; the values go into the assembly's database, and the
// components' files are not written.
TEST_F(AssemblyValues, ValuesOfEveryComponentGoIntoTheAssembly) {
  component("C1", 4);
  component("C2", 5);
  assembly("ASM", {"C1", "C2"});
  ASSERT_EQ(DBLEVL.numberingMode, 2);
  const auto c1 = std::filesystem::file_size(dir.file("C1.V71"));
  const auto c2 = std::filesystem::file_size(dir.file("C2.V71"));

  stress(1, 1);
  for (int32_t id : {1, 2, 3, 4}) nodal(id, {float(id)});
  for (int32_t id : {2, 5}) nodal(id, {float(10 * id)});
  ASSERT_EQ(store(), 0);
  const int32_t record = firstRecord();
  EXPECT_EQ(record106(record)[0], -1);
  // Node 2 of C2 is assembly node 6: no run from node 4.
  EXPECT_EQ(values(33), join({{1, 1, 1, 1, 1, 0, 0, bits(1)}, {2, 2, bits(2)}, {3, 3, bits(3)},
                              {4, 4, bits(4)}, {2, 6, 1, 1, 1, 0, 0, bits(20)},
                              {5, 9, 1, 1, 1, 0, 0, bits(50)}}));

  stress(5, 1, "layers");
  layersHeader(1, 9, 1);
  layerRepeat(1, {1});
  layersHeader(1, 9, 1);
  layerRepeat(1, {2});
  ASSERT_EQ(store(), 0);
  EXPECT_EQ(values(13), join({{1, 1, 1, 1, 1, 0, 0}, {1, bits(1)}, {1, 2}, {1, bits(2)}}));
  const int32_t layers = record106(record)[0];
  EXPECT_EQ(record106(layers)[1], 5);

  // A derived record asked for in an assembly has no values page.
  stress(3, 1, "derived");
  raw({-1, 1, 9, 0, 0, 4, 1, 4, 0, 0});
  for (int32_t k = 1; k <= 4; ++k) rawValues(-2, k, {float(k)});
  ASSERT_EQ(store(), 0);
  const int32_t own = record106(layers)[0];
  const std::vector<int32_t> derived = record106(record106(own)[0]);
  EXPECT_EQ(derived[1], 4);
  EXPECT_EQ(derived[11], -1);
  EXPECT_EQ(slice(derived, 3, 8), codes("DERIVED"));

  EXPECT_EQ(std::filesystem::file_size(dir.file("C1.V71")), c1);
  EXPECT_EQ(std::filesystem::file_size(dir.file("C2.V71")), c2);
}

// A node past the last of the last component is refused, and the assembly is open again.
TEST_F(AssemblyValues, ANodePastTheLastComponentIsRefused) {
  component("C1", 4);
  component("C2", 4);
  assembly("ASM", {"C1", "C2"});
  stress(1, 1);
  nodal(3, {1});
  nodal(2, {1});
  nodal(9, {1});
  EXPECT_EQ(store(), 238);
  EXPECT_EQ(messages().back(), errorLine(238, "DILIM", 9));
  EXPECT_EQ(record106(firstRecord())[0], 0);
  int32_t nodes = 0, elements = 0, cases = 0;
  DBCTRW(nodes, elements, cases);
  EXPECT_EQ(nodes, 8);
}

// The header page of an attribute appended to an assembly is taken before the walk over
// the components closes and reopens the assembly's database: the values get a page of
// their own, and the header page keeps its component entries, in the building process
// and after the assembly is opened again, as a later run opens it.
TEST_F(AssemblyValues, HeaderAndValuesPagesStayApart) {
  component("C1", 4);
  component("C2", 5);
  assembly("ASM", {"C1", "C2"});
  std::vector<int32_t> pages;
  std::vector<std::pair<int32_t, std::vector<int32_t>>> headers;
  const auto attributeStored = [&](const std::string& name) {
    stress(1, 1, name);
    for (int32_t id : {1, 2, 5}) nodal(id, {float(id)});
    ASSERT_EQ(store(), 0) << name;
    int32_t record = firstRecord();
    while (record106(record)[0] > 0) record = record106(record)[0];
    const std::vector<int32_t> r = record106(record);
    const int32_t header = r[10], values = r[11];
    EXPECT_NE(header, values) << name;
    pages.push_back(header);
    pages.push_back(values);
    headers.push_back({header, words(page(header), 1, DBLEVL.dataPageSize)});
  };
  attributeStored("first");
  attributeStored("second");

  DBCLOS();
  int32_t status = -1;
  TLBOPN(LDPAGE, codes("ASM", 20), 20, status);
  ASSERT_EQ(status, 0);
  ASSERT_NE(CTLREC.word(kModelClass, 1), 1) << "the record says assembly";
  ASSERT_EQ(loadCase("LOAD2"), 0);
  attributeStored("third");
  std::vector<int32_t> sorted = pages;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end())
      << "no page handed out twice";
  for (const auto& [header, held] : headers) {
    EXPECT_EQ(words(page(header), 1, DBLEVL.dataPageSize), held) << "header page " << header;
  }
}

}  // namespace
}  // namespace kvr
