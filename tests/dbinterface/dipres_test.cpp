#include "dbinterface/dipres.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "dbinterface/direcs.h"
#include "loaderfixture.h"
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

}  // namespace
}  // namespace kvr
