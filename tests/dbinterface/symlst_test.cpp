#include "dbinterface/symlst.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <string>
#include <vector>

#include "../runtime/msgfixture.h"
#include "dbinterface/symtab.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/dspsta.h"

namespace kvr {
namespace {

constexpr int32_t kListUnit = 31;
constexpr int32_t kSentinel = 0x5A5A5A5A;

std::vector<int32_t> codes(const std::string& text, std::size_t length = 0) {
  std::vector<int32_t> c(std::max(length, text.size()), kBlankCode);
  for (std::size_t k = 0; k < text.size(); ++k) c[k] = codeOf(text[k]);
  return c;
}

std::string textOf(std::span<const int32_t> c) {
  std::string s;
  for (int32_t code : c) s.push_back(charOf(code));
  return s;
}

int32_t word(float v) { return std::bit_cast<int32_t>(v); }

class SymbolList : public test::MessageFixture {
 protected:
  void SetUp() override {
    MessageFixture::SetUp();
    CHRSET();
    IOUNIT.slot(4) = kListUnit;
    openUnit(kListUnit, "list.txt");
    SYMINI(0);
    DSPSTA.rangeDigits = 3;
  }
  void TearDown() override {
    SYMTAB = {};
    DSPSTA.rangeDigits = 0;
    DSPSTA.listingSwitch = 0;
    DSPSTA.resultsListingFile = 0;
    MessageFixture::TearDown();
  }

  test::Lines listFile() { return linesOf(kListUnit, "list.txt"); }

  // The TRIANGLE entry that a definition ">= 1.5 AND ABS< 3.0, RED, SCALED, ON" makes.
  static void triangleSet(const std::string& attribute) {
    SymbolEntry& e = SYMTAB.entry(7);
    e = {1, 312, word(1.5f), word(3.0f), 2, 1, e.description};
    SYMMRU(7);
    const std::vector<int32_t> a = codes(attribute, 8);
    std::copy(a.begin(), a.end(), SYMTAB.attribute.begin());
  }

  // The range text of CODE with values 1.5 and 3.0 written from position 3; LAST is
  // answered in LASTOUT.
  static std::string range(int32_t code, int32_t& lastOut) {
    std::vector<int32_t> line(80, kBlankCode);
    RNGTXT(code, 1.5f, 3.0f, 3, line, lastOut);
    return textOf(std::span<const int32_t>(line).subspan(2, static_cast<std::size_t>(std::max(lastOut - 2, 0))));
  }
};

TEST_F(SymbolList, RangeTextsFollowTheDigitsOfTheCode) {
  const struct {
    int32_t code;
    std::string text;
  } cases[] = {
      {312, ">= 1.5 and abs< 3"}, {300, "Abs< 3"},    {21, "> 1.5 or "},
      {0, "None"},                {901, "= 1.5"},     {902, "# 1.5"},
      {908, "Default"},           {909, "All values"}, {7, ""},
      {512, ">= 1.5 and "},       {424, "Abs>= 1.5 or abs<= 3"},
      {-12, ""},                  {999, ""},
  };
  for (const auto& c : cases) {
    int32_t last = -99;
    EXPECT_EQ(range(c.code, last), c.text) << c.code;
    EXPECT_EQ(last, 2 + static_cast<int32_t>(c.text.size())) << c.code;
  }
}

TEST_F(SymbolList, RangeTextStopsAtTheEndOfTheLine) {
  std::vector<int32_t> line(10, kSentinel);
  int32_t last = 0;
  RNGTXT(312, 1.5f, 3.0f, 2, std::span<int32_t>(line).first(6), last);
  EXPECT_EQ(textOf(std::span<const int32_t>(line).subspan(1, 5)), ">= 1.");
  EXPECT_LE(last, 6);
  EXPECT_EQ(line[6], kSentinel);
}

TEST_F(SymbolList, RecentlyUsedOrder) {
  SYMMRU(5);
  EXPECT_EQ(SYMTAB.order, (std::array<int32_t, 18>{5, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13,
                                                   14, 15, 16, 17, 18}));
  SYMMRU(18);
  EXPECT_EQ(SYMTAB.order, (std::array<int32_t, 18>{18, 5, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12,
                                                   13, 14, 15, 16, 17}));
  const auto before = SYMTAB.order;
  for (int32_t e : {18, 19, 0}) {
    SYMMRU(e);
    EXPECT_EQ(SYMTAB.order, before) << e;
  }
}

TEST_F(SymbolList, PackingThenUnpackingRestoresTheTable) {
  for (int32_t f = 1; f <= 18; ++f) {
    SymbolEntry& e = SYMTAB.entry(f);
    e = {f % 2, 100 + f, word(float(f) / 4), 0x7FC00001 + f, f % 8, f % 3, {}};
    for (int32_t c = 0; c < 20; ++c) e.description[static_cast<std::size_t>(c)] = codeOf(char('a' + (f + c) % 26));
  }
  for (int32_t e : {12, 3, 18}) SYMMRU(e);
  const std::vector<int32_t> names = codes("STAR    RING    BOX", 80);
  std::copy(names.begin(), names.end(), SYMTAB.userShapeNames.begin());
  SYMTAB.userShapeCount = 3;
  const std::vector<int32_t> attribute = codes("STRS", 8);
  std::copy(attribute.begin(), attribute.end(), SYMTAB.attribute.begin());
  SYMTAB.headerWord = 5;
  const SymTab packed = SYMTAB;

  std::vector<int32_t> page(700, kSentinel);
  const std::vector<int32_t> name = codes("SET1", 8);
  constexpr int32_t S = 10;
  int32_t position = S;
  SYMLST(kSymbolPack, name, page, position);
  EXPECT_EQ(position, S + 588);
  const auto at = [&](int32_t k) { return page[static_cast<std::size_t>(S + k - 1)]; };
  EXPECT_EQ(at(0), 2);
  for (int32_t k = 0; k < 8; ++k) {
    EXPECT_EQ(at(1 + k), name[static_cast<std::size_t>(k)]);
    EXPECT_EQ(at(9 + k), attribute[static_cast<std::size_t>(k)]);
  }
  EXPECT_EQ(at(17), 5);
  EXPECT_EQ((std::vector<int32_t>{at(18), at(19), at(20)}), (std::vector<int32_t>{18, 8, 10}));
  for (int32_t k = 1; k <= 18; ++k) EXPECT_EQ(at(20 + k), SYMTAB.orderAt(k));
  EXPECT_EQ(at(39 + 26 * 3 + 3), 0x7FC00001 + 4) << "value B of entry 4, bit for bit";
  EXPECT_EQ(at(587), 3);
  EXPECT_EQ(page[S - 2], kSentinel);
  EXPECT_EQ(page[S + 587], kSentinel);

  SYMINI(1);
  SYMLST(kSymbolUnpack, {}, page, position = S);
  EXPECT_EQ(position, S + 588);
  EXPECT_TRUE(SYMTAB == packed);
  EXPECT_TRUE(messages().empty());
}

TEST_F(SymbolList, VersionOneBlockUnpacksWithBlankDescriptions) {
  std::vector<int32_t> page(300, 0);
  constexpr int32_t S = 5;
  const auto at = [&](int32_t k) -> int32_t& { return page[static_cast<std::size_t>(S + k - 1)]; };
  at(0) = 1;
  const std::vector<int32_t> attribute = codes("DISP", 8);
  std::copy(attribute.begin(), attribute.end(), &at(9));
  at(17) = 18;
  at(18) = 8;
  at(19) = 10;
  for (int32_t k = 1; k <= 18; ++k) at(19 + k) = 19 - k;
  const int32_t entry9 = 38 + 6 * 8;
  at(entry9) = 1;
  at(entry9 + 1) = 21;
  at(entry9 + 2) = word(1.5f);
  at(entry9 + 3) = word(-2.0f);
  at(entry9 + 4) = 4;
  at(entry9 + 5) = 1;
  const std::vector<int32_t> star = codes("STAR", 8);
  std::copy(star.begin(), star.end(), &at(146));
  at(226) = 1;

  int32_t position = S;
  SYMLST(kSymbolUnpack, {}, page, position);
  EXPECT_EQ(position, S + 227);
  const SymbolEntry& e = SYMTAB.entry(9);
  EXPECT_EQ((std::vector<int32_t>{e.state, e.code, e.valueA, e.valueB, e.colour, e.sizeMode}),
            (std::vector<int32_t>{1, 21, word(1.5f), word(-2.0f), 4, 1}));
  std::array<int32_t, 20> blank{};
  blank.fill(kBlankCode);
  for (int32_t f = 1; f <= 18; ++f) EXPECT_EQ(SYMTAB.entry(f).description, blank) << f;
  EXPECT_EQ(SYMTAB.orderAt(1), 18);
  EXPECT_EQ(SYMTAB.userShapeCount, 1);
  EXPECT_EQ(SYMTAB.attribute[0], codeOf('D'));
  EXPECT_EQ(SYMTAB.headerWord, 0);
}

// A packed block of the TRIANGLE set whose words K (from S) are then set to VALUES.
struct Damage {
  std::vector<std::pair<int32_t, int32_t>> words;
  int32_t s;
  int32_t size;
  int32_t expected;  // position after SYMLST
};

TEST_F(SymbolList, IncompatibleBlocksPostE5170AndAreSkippedWithinThePage) {
  const Damage cases[] = {
      {{{20, 9}}, 10, 700, 10 + 580},                 // counts 18, 8, 9
      {{{21, 0}}, 10, 700, 10 + 588},                 // an order word 0
      {{{38, 19}}, 10, 700, 10 + 588},                // an order word 19
      {{{587, 11}}, 10, 700, 10 + 588},               // eleven user shapes
      {{{587, -1}}, 10, 700, 10 + 588},
      {{{18, 1000}}, 1, 700, 701},                    // a skip beyond the array
      {{{18, -100}}, 10, 700, 10 + 21},               // a skip that would go back
      {{}, 300, 600, 601},                            // a block cut by the end of the array
  };
  DSPSTA.listingSwitch = 1;
  DSPSTA.resultsListingFile = 1;
  for (int32_t mode : {kSymbolUnpack, 3}) {
    for (const Damage& d : cases) {
      SYMINI(0);
      triangleSet("STRS");
      std::vector<int32_t> page(static_cast<std::size_t>(d.size + 600), kSentinel);
      const std::span<int32_t> array = std::span<int32_t>(page).first(static_cast<std::size_t>(d.size));
      std::vector<int32_t> whole(588);
      int32_t position = 1;
      SYMLST(kSymbolPack, codes("SET1", 8), whole, position);
      std::copy_n(whole.begin(), std::min<int32_t>(588, d.size - d.s + 1), array.begin() + d.s - 1);
      for (auto [k, v] : d.words) array[static_cast<std::size_t>(d.s + k - 1)] = v;
      const test::Lines before = messages();

      position = d.s;
      SYMLST(mode, {}, array, position);
      EXPECT_EQ(position, d.expected) << "mode " << mode << " at " << d.s;
      const test::Lines after = messages();
      EXPECT_NE(std::find_if(after.begin() + static_cast<std::ptrdiff_t>(before.size()), after.end(),
                             [](const std::string& l) {
                               return l.find("E5170: Symbol set definition incompatible") != std::string::npos;
                             }),
                after.end())
          << "mode " << mode << " at " << d.s;
      if (mode == kSymbolUnpack) {
        SymTab reset = SYMTAB;
        SYMINI(0);
        EXPECT_TRUE(reset == SYMTAB) << "the table stays reset";
      }
    }
  }
  const test::Lines listed = listFile();
  EXPECT_EQ(std::count(listed.begin(), listed.end(), ";     Symbol set definition is incompatible"), 8);
}

TEST_F(SymbolList, ListingOfASetInTheListingFileAndTheMessageLines) {
  triangleSet("STRS ALT");
  std::vector<int32_t> page(600);
  int32_t position = 1;
  SYMLST(kSymbolPack, codes("SET1", 8), page, position);
  DSPSTA.listingSwitch = 1;
  DSPSTA.resultsListingFile = 1;
  SYMLST(0, {}, page, position = 1);
  EXPECT_EQ(position, 589);

  test::Lines texts = {"", "Symbol set: SET1", "Associated results attribute: STRS", "",
                       "Symbol    State  Colour    Size      Range",
                       "------    -----  ------    ----      -----", ""};
  for (std::string shape : {"Triangle", "Plus", "Asterisk", "Cross", "Square", "Diamond", "Flag",
                            "Minus"}) {
    shape.resize(10, ' ');
    texts.push_back(shape == "Triangle  " ? shape + "On     Red       Scaled    >= 1.5 and abs< 3"
                                          : shape + "Off    Modulate  Absmax    None");
    texts.emplace_back("");
  }
  texts.emplace_back("");
  test::Lines listing;
  for (const std::string& t : texts) listing.push_back("; " + t);
  EXPECT_EQ(listFile(), listing);
  test::Lines shown = messages();
  for (std::string& l : shown) l.erase(l.find_last_not_of(' ') + 1);
  test::Lines expected;
  for (const std::string& t : texts) expected.push_back(" " + t);
  for (std::string& l : expected) l.erase(l.find_last_not_of(' ') + 1);
  EXPECT_EQ(shown, expected);
}

TEST_F(SymbolList, ListingShowsUserShapesDescriptionsAndAMissingAttribute) {
  SymbolEntry& star = SYMTAB.entry(9);
  star.state = 1;
  star.colour = 9;
  star.sizeMode = 0;
  const std::vector<int32_t> description = codes("peak stress", 20);
  std::copy(description.begin(), description.end(), star.description.begin());
  const std::vector<int32_t> name = codes("STAR", 8);
  std::copy(name.begin(), name.end(), SYMTAB.userShapeNames.begin());
  SYMTAB.userShapeCount = 1;
  SYMTAB.headerWord = 1;
  SYMMRU(9);
  std::vector<int32_t> page(600);
  int32_t position = 1;
  SYMLST(kSymbolPack, codes("S", 8), page, position);

  SYMLST(0, {}, page, position = 1);
  EXPECT_TRUE(messages().empty()) << "the listing switch is 0";
  EXPECT_EQ(position, 589);

  DSPSTA.listingSwitch = 1;
  SYMLST(0, {}, page, position = 1);
  EXPECT_TRUE(listFile().empty()) << "the listing-file switch is 0";
  const test::Lines shown = messages();
  ASSERT_EQ(shown.size(), 26u);
  EXPECT_EQ(shown[2], " Associated results attribute: None given");
  EXPECT_EQ(shown[7], " STAR      On     Modulate  Fixed     peak stress");
  EXPECT_EQ(shown[9].substr(0, 5), " Plus");
}

TEST_F(SymbolList, ListingLines) {
  const std::vector<int32_t> text = codes("a b  c   ", 12);
  const struct {
    int32_t mode, separator, listing, switchWord, maxLength;
    std::string file, message;
  } cases[] = {
      {1, 1, 0, 0, 12, "  a,b, c", "-"}, {1, 0, 0, 0, 12, "  a b  c", "-"},
      {1, 0, 1, 1, 12, "; a b  c", "-"}, {1, 1, 1, 1, 12, "  a,b, c", "-"},
      {1, 0, 1, 0, 12, "-", "-"},        {1, 0, 0, 0, 4, "  a b", "-"},
      {0, 0, 0, 0, 12, "-", " a b  c"},  {2, 0, 1, 1, 12, "; a b  c", " a b  c"},
  };
  std::size_t files = 0;
  std::size_t shown = 0;
  for (const auto& c : cases) {
    DSPSTA.listingSwitch = c.switchWord;
    LSTLIN(text, 12, c.mode, c.separator, c.listing, c.maxLength);
    const test::Lines f = listFile();
    const test::Lines m = messages();
    EXPECT_EQ(f.size() > files ? f.back() : "-", c.file) << c.mode << c.separator << c.listing;
    EXPECT_EQ(m.size() > shown ? m.back() : "-", c.message) << c.mode << c.separator << c.listing;
    files = f.size();
    shown = m.size();
  }
}

}  // namespace
}  // namespace kvr
