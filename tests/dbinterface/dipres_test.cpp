#include "dbinterface/dipres.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "dbinterface/direcs.h"
#include "loaderfixture.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dbpage.h"
#include "resultsfixture.h"
#include "runtime/iounit.h"
#include "runtime/codtxt.h"

namespace kvr {
namespace {

using test::codes;

class AttributeReaders : public test::LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    startAndCreate();
  }

  static void attribute(const std::string& name, int32_t ncomps, int32_t irtype,
                        int32_t numvar) {
    StreamRecord r;
    attributeRecord(r, FixedText(8, name), ncomps, irtype, numvar);
    raw(r.words());
  }
  static void component(const std::string& name, int32_t inmenu, int32_t ctype, int32_t index1,
                        int32_t index2, int32_t iexist, const std::string& ncalc) {
    StreamRecord r;
    componentRecord(r, FixedText(8, name), inmenu, ctype, index1, index2, iexist,
                    FixedText(8, ncalc), FixedText(8, "second"));
    raw(r.words());
  }
  // Starts a key-100 stream with RECORDS, ends it and leaves it ready to read.
  void stream(const std::function<void()>& records) {
    beginDataset(100);
    records();
    endDataset();
  }
};

TEST_F(AttributeReaders, HeaderAndComponentAreReadUpperCased) {
  stream([] {
    attribute("stress", 3, 1, 0);
    component("sx", 1, 13, 2, 0, 1, "vonmises");
  });
  std::array<int32_t, 8> name{};
  int32_t ncomps = 0, irtype = 0, numvar = -1, ierr = -1;
  DIPAT(300, name, ncomps, irtype, numvar, ierr);
  ASSERT_EQ(ierr, 0);
  EXPECT_EQ(std::vector<int32_t>(name.begin(), name.end()), codes("STRESS"));
  EXPECT_EQ(ncomps, 3);
  EXPECT_EQ(irtype, 1);
  EXPECT_EQ(numvar, 0);

  std::array<int32_t, 8> cname{}, ncalc{}, second{};
  int32_t inmenu = 0, ctype = 0, index1 = 0, index2 = -1, iexist = 0;
  DIPCO(100, 1, cname, inmenu, ctype, index1, index2, iexist, ncalc, second, ierr);
  ASSERT_EQ(ierr, 0);
  EXPECT_EQ(std::vector<int32_t>(cname.begin(), cname.end()), codes("SX"));
  EXPECT_EQ(std::vector<int32_t>(ncalc.begin(), ncalc.end()), codes("VONMISES"));
  EXPECT_EQ(std::vector<int32_t>(second.begin(), second.end()), codes("SECOND"));
  EXPECT_EQ((std::array{inmenu, ctype, index1, index2, iexist}), (std::array{1, 13, 2, 0, 1}));
}

TEST_F(AttributeReaders, RefusedHeadersAndComponents) {
  struct Case {
    std::function<void()> records;
    int32_t key;
    int32_t component;  // 0: the header is read
    int32_t code;
    std::string line;
  };
  const std::vector<Case> cases = {
      {[] { attribute("a", 1, 1, 0); }, 28, 0, 299, errorLine(299, "DIPAT", 9250)},
      {[] { component("a", 1, 1, 0, 0, 0, ""); }, 100, 0, 299, errorLine(299, "DIPAT", 9250)},
      {[] { attribute("a", 21, 1, 0); }, 100, 0, 299, errorLine(299, "DIPAT", 9300)},
      {[] { attribute("a", 0, 1, 0); }, 100, 0, 299, errorLine(299, "DIPAT", 9300)},
      {[] { attribute("a", 1, 6, 0); }, 100, 0, 299, errorLine(299, "DIPAT", 9400)},
      {[] { attribute("a", 1, 1, 6); }, 100, 0, 299, errorLine(299, "DIPAT", 9500)},
      {[] { component("a", 1, 1, 0, 0, 0, ""); }, 100, 21, 299, errorLine(299, "DIPCO", 9200)},
      {[] { raw(std::vector<int32_t>(30, kTagVariant)); }, 100, 1, 299,
       errorLine(299, "DIPCO", 9300)},
      {[] { component("a", 2, 1, 0, 0, 0, ""); }, 100, 1, 299, errorLine(299, "DIPCO", 9400)},
      {[] { component("a", 1, 7, 0, 0, 0, ""); }, 100, 1, 299, errorLine(299, "DIPCO", 9500)},
      {[] { component("a", 1, -1, 0, 0, 0, ""); }, 100, 1, 299, errorLine(299, "DIPCO", 9500)},
      {[] { component("a", 1, 12, -1, 0, 0, ""); }, 100, 1, 299, errorLine(299, "DIPCO", 9600)},
      {[] { component("a", 1, 4, 0, -1, 0, ""); }, 100, 1, 299, errorLine(299, "DIPCO", 9700)},
      {[] { component("a", 1, 1, 0, 0, 1, ""); }, 100, 1, 248, errorLine(248, "DILIM", "")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    stream(c.records);
    std::array<int32_t, 8> a{}, b{}, d{};
    int32_t w1 = 0, w2 = 0, w3 = 0, w4 = 0, w5 = 0, ierr = -1;
    if (c.component == 0) {
      DIPAT(c.key, a, w1, w2, w3, ierr);
    } else {
      DIPCO(c.key, c.component, a, w1, w2, w3, w4, w5, b, d, ierr);
    }
    EXPECT_EQ(ierr, c.code);
    EXPECT_EQ(messages().back(), c.line);
  }
}

TEST_F(AttributeReaders, VariantsAreCheckedAgainstTheComponentCount) {
  struct Case {
    std::vector<int32_t> words;
    int32_t code;
    int32_t location;
  };
  const std::vector<Case> cases = {
      {{kTagVariant, 1, 2, 3, 1}, 0, 0},
      {{kTagVariant, 2, 0}, 0, 0},
      {{kTagComponent, 1, 1, 1}, 299, 9200},
      {{kTagVariant, -1, 1, 1}, 299, 9300},
      {{kTagVariant, 1, 21}, 299, 9400},
      {{kTagVariant, 1, -1}, 299, 9400},
      {{kTagVariant, 1, 2, 1, 0}, 299, 9400},
      {{kTagVariant, 1, 2, 4, 1}, 299, 9400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words[1] * 100 + c.words[2]);
    stream([&] { raw(c.words); });
    std::array<int32_t, 20> list{};
    int32_t id = -5, n = -5, ierr = -1;
    DIPAV(100, 1, 3, id, n, list, ierr);
    EXPECT_EQ(ierr, c.code);
    if (c.code == 0) {
      EXPECT_EQ(id, c.words[1]);
      EXPECT_EQ(n, c.words[2]);
      EXPECT_EQ(std::vector<int32_t>(list.begin(), list.begin() + n),
                std::vector<int32_t>(c.words.begin() + 3, c.words.end()));
    } else {
      EXPECT_EQ(messages().back(), errorLine(299, "DIPAV", c.location));
    }
  }
}

class AttributeLoader : public test::ResultsFixture {
 protected:
  static std::vector<int32_t> page(int32_t p) {
    const DbPage w = LoaderFixture::page(p);
    return {w.words().begin(), w.words().end()};
  }
};

using test::bits;
using test::calculated;
using test::Comp;

// The record, its menu rows, the header page with the implicit variant of the value
// components, and the selection words.
TEST_F(AttributeLoader, RecordHeaderPageAndSelectionOfANodalAttribute) {
  nodes({1, 2});
  attribute("stress", 1, {{"sx"}, calculated("vm"), {"sz"}});
  nodal(1, {1.0f, 2.0f});
  nodal(2, {3.0f, 4.0f});
  ASSERT_EQ(store(), 0);

  const int32_t first = firstRecord();
  const std::vector<int32_t> r = record106(first);
  EXPECT_EQ(r[0], -1);
  EXPECT_EQ(r[1], 1);
  EXPECT_EQ(slice(r, 3, 8), codes("STRESS"));
  const int32_t header = r[10];
  const int32_t values = r[11];
  ASSERT_GT(header, 0);
  ASSERT_GT(values, 0);
  EXPECT_NE(header, values);
  EXPECT_EQ(slice(r, 13, 3), (std::vector<int32_t>{0, 3, 3}));
  EXPECT_EQ(slice(r, 16, 24), join({codes("SX"), codes("VM"), codes("SZ")}));
  EXPECT_EQ(slice(r, 40, 57), std::vector<int32_t>(57, 0));

  const std::vector<int32_t> h = page(header);
  EXPECT_EQ(slice(h, 39, 87), join({entry("SX", 1, 1, 0, 0, 0), entry("VM", 1, 1, 0, 0, 1, "VONMISES"),
                                    entry("SZ", 1, 1, 0, 0, 0)}));
  // One variant, id 1, two value words: SX first, VM none, SZ second.
  EXPECT_EQ(slice(h, 126, 6), (std::vector<int32_t>{1, 1, 2, 1, 0, 2}));
  EXPECT_EQ(h[3], -1);
  EXPECT_EQ(h[4], 131);

  EXPECT_EQ(slice(page(values), 39, 13),
            (std::vector<int32_t>{1, 1, 1, 1, 1, 0, 0, bits(1), bits(2), 2, 2, bits(3), bits(4)}));

  EXPECT_EQ(RESSEL.datasetClass, 100);
  EXPECT_EQ(RESSEL.type, 1);
  EXPECT_EQ(std::vector<int32_t>(RESSEL.name.begin(), RESSEL.name.end()), codes("STRESS"));
  EXPECT_EQ(RESSEL.componentPage, header);
  EXPECT_EQ(RESSEL.recordPage, first);
  EXPECT_EQ(RESSEL.componentCount, 2);
  EXPECT_EQ(RESSEL.variantCount, 1);
  EXPECT_EQ(RESSEL.variants[0][0], 1);
  EXPECT_EQ(RESSEL.variants[0][1], 2);
}

// Key 300 is recorded in word 13 and becomes 100 for the caller; the attribute takes a
// new record linked behind the last one used.
TEST_F(AttributeLoader, KeyThreeHundredAndTheChainOfRecords) {
  nodes({1});
  attribute("disp", 1, {{"u"}}, 0, 300);
  nodal(1, {1.0f});
  int32_t key = 300;
  ASSERT_EQ(store(key), 0);
  EXPECT_EQ(key, 100);
  const int32_t first = firstRecord();
  EXPECT_EQ(record106(first)[12], 1);

  attribute("temp", 1, {{"t"}});
  nodal(1, {2.0f});
  ASSERT_EQ(store(), 0);
  const int32_t second = record106(first)[0];
  ASSERT_GT(second, 0);
  EXPECT_NE(second, first);
  const std::vector<int32_t> r = record106(second);
  EXPECT_EQ(r[0], -1);
  EXPECT_EQ(slice(r, 3, 8), codes("TEMP"));
  EXPECT_EQ(r[12], 0);
}

// The same name and type again in the load case is refused; another type of the same
// name is stored in a new record.
TEST_F(AttributeLoader, NamesAreUniquePerType) {
  attribute("stress", 1, {calculated("vm")});
  ASSERT_EQ(store(), 0);
  attribute("stress", 1, {calculated("vm")});
  EXPECT_EQ(store(), 235);
  EXPECT_EQ(messages().back(),
            " DI235 : DILIM : ATTRIBUTE NAME ALREADY USED IN THIS LOADCASE       : (STRESS      "
            "        )");
  const int32_t first = firstRecord();
  EXPECT_EQ(record106(first)[0], -1);

  attribute("stress", 3, {calculated("vm")});
  ASSERT_EQ(store(), 0);
  const int32_t next = record106(first)[0];
  ASSERT_GT(next, 0);
  EXPECT_EQ(record106(next)[1], 3);
  EXPECT_EQ(slice(record106(next), 3, 8), codes("STRESS"));
}

// Rows beyond ten go on in a continuation record named in word 96.
TEST_F(AttributeLoader, MenuRowsContinueInASecondRecord) {
  std::vector<Comp> comps;
  for (int32_t k = 1; k <= 12; ++k) comps.push_back(calculated("c" + std::to_string(k)));
  comps.insert(comps.begin() + 4, calculated("hidden", 0));
  attribute("many", 5, comps);
  ASSERT_EQ(store(), 0);
  const std::vector<int32_t> r = record106(firstRecord());
  EXPECT_EQ(r[13], 13);
  EXPECT_EQ(r[14], 12);
  EXPECT_EQ(slice(r, 16, 8), codes("C1"));
  EXPECT_EQ(slice(r, 48, 8), codes("C5"));  // row 5: the component after HIDDEN
  EXPECT_EQ(slice(r, 88, 8), codes("C10"));
  ASSERT_GT(r[95], 0);
  const std::vector<int32_t> c = record106(r[95]);
  EXPECT_EQ(slice(c, 16, 16), join({codes("C11"), codes("C12")}));
  EXPECT_EQ(slice(c, 32, 8), std::vector<int32_t>(8, 0));
  EXPECT_EQ(c[95], 0);
  EXPECT_EQ(r[11], -1);  // no value component: no values dataset
}

// INDEX2 0 of the components of CTYPE mod 10 = 3 is numbered four by four; a calculated
// attribute has no values, and data page 1 still accounts for its header page.
TEST_F(AttributeLoader, SecondIndicesAndAnAttributeWithoutValues) {
  std::vector<Comp> comps;
  for (int32_t ctype : {3, 3, 13, 3, 1, 3}) {
    comps.push_back({"t", 0, ctype, 1, 0, 1, "P1-STRES"});
  }
  comps[4].index2 = 0;
  attribute("tensor", 1, comps);
  ASSERT_EQ(store(), 0);
  const std::vector<int32_t> r = record106(firstRecord());
  EXPECT_EQ(r[11], -1);
  EXPECT_EQ(r[14], 0);
  const int32_t header = r[10];
  const std::vector<int32_t> h = page(header);
  std::vector<int32_t> second;
  for (int32_t c = 0; c < 6; ++c) second.push_back(h[static_cast<size_t>(38 + 29 * c + 3)]);
  EXPECT_EQ(second, (std::vector<int32_t>{1, 1, 1, 1, 0, 2}));
  // One variant of no value words.
  EXPECT_EQ(slice(h, 39 + 6 * 29, 3), (std::vector<int32_t>{1, 1, 0}));
  const std::vector<int32_t> one = page(1);
  EXPECT_EQ(one[5], DBPARM.fileSlot(kDataFileSlot).nextPage);
  EXPECT_EQ(one[5], header + 1);
  EXPECT_EQ(one[6], DBPARM.fileSlot(kDataFileSlot).freeHead);
}

// Variant records give each component its position in the variant's values (two words
// for a CTYPE above 10); the nodal values take variant 1.
TEST_F(AttributeLoader, VariantRecordsPlaceTheirComponents) {
  nodes({1});
  attribute("mixed", 1, {{"a"}, {"b", 1, 11}, {"c"}}, 2);
  raw({kTagVariant, 1, 2});
  raw({3, 2});
  raw({kTagVariant, 7, 0});
  rawValues(-1, 1, {1.0f, 2.0f, 3.0f});
  ASSERT_EQ(store(), 0);
  const std::vector<int32_t> r = record106(firstRecord());
  const std::vector<int32_t> h = page(r[10]);
  EXPECT_EQ(slice(h, 39 + 3 * 29, 11), (std::vector<int32_t>{2, 1, 3, 0, 2, 1, 7, 0, 0, 0, 0}));
  EXPECT_EQ(h[4], 38 + 3 * 29 + 11);
  EXPECT_EQ(slice(page(r[11]), 39, 10),
            (std::vector<int32_t>{1, 1, 1, 1, 1, 0, 0, bits(1), bits(2), bits(3)}));
  EXPECT_EQ(RESSEL.variantCount, 2);
  EXPECT_EQ((std::array{RESSEL.variants[0][0], RESSEL.variants[0][1], RESSEL.variants[1][0],
                        RESSEL.variants[1][1]}),
            (std::array{1, 3, 7, 0}));
}

// Refused definitions leave the load case's record unused.
TEST_F(AttributeLoader, RefusedDefinitionsStoreNothing) {
  struct Case {
    std::function<void()> records;
    std::string line;
  };
  const std::vector<Case> cases = {
      {[] { raw({kTagAttribute, 65, 32, 32, 32, 32, 32, 32, 32, 1, 1, 6}); },
       errorLine(299, "DIPAT", 9500)},
      {[] {
         attribute("a", 1, {{"x"}, {"y"}, {"z"}}, 1);
         raw({kTagVariant, 1, 2});
         raw({1, 4});
       },
       errorLine(299, "DIPAV", 9400)},
      {[] {
         attribute("a", 1, {{"x"}}, 1);
         raw({kTagVariant, 1, 1});
         raw({0});
       },
       errorLine(299, "DIPAV", 9400)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    beginDataset(100);
    c.records();
    EXPECT_EQ(store(), 299);
    EXPECT_EQ(messages().back(), c.line);
    EXPECT_EQ(record106(firstRecord())[0], 0);
  }
}

// An element header that asks for a derived record: the attribute's record links to it,
// and it holds the value components, their menu rows and position words, type 4, and an
// empty values page.
TEST_F(AttributeLoader, DerivedRecordHoldsTheValueComponents) {
  elements({{7, 21, {11, 12, 13, 14}}});
  attribute("stress", 3, {{"sx"}, calculated("vm"), {"sz", 0}}, 0, 300);
  raw({-1, 7, 21, 0, 0, 4, 1, 4, 0, 0});
  for (int32_t k = 1; k <= 4; ++k) rawValues(-2, k, {float(k), float(10 * k)});
  int32_t key = 300;
  ASSERT_EQ(store(key), 0);

  const int32_t first = firstRecord();
  const std::vector<int32_t> own = record106(first);
  EXPECT_EQ(own[1], 3);
  const int32_t derivedPage = own[0];
  ASSERT_GT(derivedPage, 0);
  const std::vector<int32_t> d = record106(derivedPage);
  EXPECT_EQ(d[0], -1);
  EXPECT_EQ(d[1], 4);
  EXPECT_EQ(slice(d, 3, 8), codes("STRESS"));
  EXPECT_EQ(slice(d, 13, 11), join({{1, 2, 1}, codes("SX")}));
  EXPECT_EQ(d[95], 0);
  ASSERT_GT(d[11], 0);
  const std::vector<int32_t> empty = page(d[11]);
  EXPECT_EQ(slice(empty, 2, 4), (std::vector<int32_t>{d[11], 100, -1, 38}));

  const int32_t header = d[10];
  ASSERT_GT(header, 0);
  EXPECT_NE(header, own[10]);
  const std::vector<int32_t> h = page(header);
  EXPECT_EQ(slice(h, 39, 58), join({entry("SX", 1, 1, 0, 0, 0), entry("SZ", 0, 1, 0, 0, 0)}));
  EXPECT_EQ(slice(h, 97, 5), (std::vector<int32_t>{1, 1, 2, 1, 2}));
  EXPECT_EQ(h[4], 101);
  EXPECT_EQ(RESSEL.componentPage, header);
  EXPECT_EQ(RESSEL.recordPage, derivedPage);
  EXPECT_EQ(RESSEL.resultsWord, 0);

  // The next attribute is linked behind the derived record.
  attribute("other", 5, {calculated("vm")});
  ASSERT_EQ(store(), 0);
  EXPECT_GT(record106(derivedPage)[0], 0);
}

// In the mode that refuses principal stresses, a value component of CTYPE 3 leaves the
// new record unused and posts E4150.
TEST_F(AttributeLoader, DerivedRecordRefusedForPrincipalStresses) {
  nodes({1});
  attribute("princ", 1, {{"p", 1, 3, 1}});
  nodal(1, {1.0f});
  ASSERT_EQ(store(), 0);
  int32_t status = -1;
  RAMAKE(LDPAGE, LDSCR, 1, status);
  EXPECT_EQ(status, 1);
  const int32_t first = firstRecord();
  const int32_t made = record106(first)[0];
  ASSERT_GT(made, 0);
  EXPECT_EQ(record106(made)[0], 0);
  EXPECT_NE(stdoutLines().back().find("E4150"), std::string::npos);

  // The unused record takes the next attribute.
  attribute("next", 1, {calculated("vm")});
  ASSERT_EQ(store(), 0);
  EXPECT_EQ(record106(first)[0], made);
  EXPECT_EQ(slice(record106(made), 3, 8), codes("NEXT"));
}

}  // namespace
}  // namespace kvr
