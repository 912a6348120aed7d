// The definition-table records, the definition assembly, the reference scan and the
// helpers, on small tables written through the directory routines and the record stores.
#include "command/atrrec.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "atrfixture.h"
#include "runtime/modcnt.h"

namespace kvr {
namespace {

using test::DefinitionFixture;

class DefinitionRecords : public DefinitionFixture {
 protected:
  // PHYDF: state 3; 2 headers from word 8, 3 texts from 80, 4 values from 245.
  void propertyDirectory(int32_t texts = 3) {
    directory(kPhy, {3, 2, 8, texts, 80, 4, 245});
  }
  static std::string name32() { return "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"; }
};

TEST_F(DefinitionRecords, HeaderStoreWritesItsWordsAndFetchGivesThirtyCharacters) {
  propertyDirectory();
  FixedText name(80, name32()), code(8, "HB");
  auto children = headerChildren({21, 22, 0, 23});
  int32_t status = -1;
  ATRHDA(1, 2, name, code, children, status);
  EXPECT_EQ(status, 0);
  const Words words = get(kArrPropertyTable, 44, 36);
  EXPECT_EQ(words[0], a4Word("ABCD"));
  EXPECT_EQ(words[7], a4Word("2345"));
  EXPECT_EQ(words[8], a4Word("HB"));
  EXPECT_EQ(words[9], a4Word(""));
  EXPECT_EQ(words[10], 2) << "word 54: the child count stops at the first 0";
  EXPECT_EQ((Words(words.begin() + 11, words.begin() + 15)), (Words{21, 22, 0, 23}));

  FixedText gotName(80, "x"), gotCode(8, "x");
  std::array<int32_t, kHeaderChildren> got{};
  ATRHDA(-1, 2, gotName, gotCode, got, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(gotName.view(), name32().substr(0, 30) + std::string(50, ' '));
  EXPECT_EQ(gotCode.view(), "HB      ");
  EXPECT_EQ(got, children);

  header(kPhy, 1, "SHELL", "SH", {});
  ATRHDA(-1, 1, gotName, gotCode, got, status);
  EXPECT_EQ(gotName.view(), "SHELL" + std::string(75, ' '));

  std::vector<int32_t> all(25);
  for (int32_t k = 0; k < 25; ++k) all[static_cast<size_t>(k)] = 100 + k;
  header(kPhy, 1, "FULL", "F", all);
  EXPECT_EQ(get(kArrPropertyTable, 8 + 10, 1), Words{25});
}

TEST_F(DefinitionRecords, HeaderIndexesAndModes) {
  propertyDirectory();
  header(kPhy, 1, "A", "A", {1});
  header(kPhy, 2, "B", "B", {2});
  FixedText name(80), code(8);
  std::array<int32_t, kHeaderChildren> children{};
  struct Case {
    int32_t mode, index, status;
  } cases[] = {{-1, 0, 2}, {-1, 3, 2}, {-1, 1, 0}, {5, 1, 1}, {-2, 1, 1}, {1, 0, 2}, {1, -4, 2}};
  for (const Case& c : cases) {
    int32_t status = -9;
    ATRHDA(c.mode, c.index, name, code, children, status);
    EXPECT_EQ(status, c.status) << c.mode << " " << c.index;
  }
}

// A store with an index below 1 would write over the directory in front of the records.
TEST_F(DefinitionRecords, StoreBelowRecordOneWritesNothing) {
  directory(kPhy, {3, 2, 37, 1, 80, 1, 160});  // header 0 would be words 1..36
  const Words before = get(kArrPropertyTable, 1, 7);
  FixedText name(80, "X"), code(8, "X");
  auto hc = headerChildren({1});
  auto tc = textChildren({1});
  std::array<int32_t, 3> ints{1, 2, 3};
  std::array<float, 3> reals{};
  int32_t status = -1, index = 0, key = 5, kind = 1, extra = 0, flags = 0;
  ATRHDA(1, 0, name, code, hc, status);
  EXPECT_EQ(status, 2);
  ATRTXA(1, index, key, kind, name, code, extra, tc, status);
  EXPECT_EQ(status, 2);
  ATRVLA(1, index, key, kind, name, code, flags, ints, reals, name, status);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(get(kArrPropertyTable, 1, 7), before);
}

TEST_F(DefinitionRecords, TextFindByKey) {
  propertyDirectory();
  option(kPhy, 1, 21, 0, "OPA", {});
  option(kPhy, 2, 22, 4, "OPB", {101, 102}, 5);
  option(kPhy, 3, 23, 0, "OPC", {});
  FixedText name(80), code(8);
  std::array<int32_t, kTextChildren> children{};
  int32_t index = 0, key = 22, kind = -1, extra = -1, status = -1;
  ATRTXA(-2, index, key, kind, name, code, extra, children, status);
  EXPECT_EQ((std::array{status, index, kind, extra}), (std::array{0, 2, 4, 5}));
  EXPECT_EQ(code.view(), "OPB     ");
  EXPECT_EQ(children[1], 102);
  EXPECT_EQ(get(kArrPropertyTable, 80 + 55 + 13, 1), Words{2}) << "word 14: the child count";

  key = 99;
  ATRTXA(-2, index, key, kind, name, code, extra, children, status);
  EXPECT_EQ((std::array{status, index}), (std::array{3, 4}));

  propertyDirectory(0);
  index = 7;
  key = 22;
  ATRTXA(-2, index, key, kind, name, code, extra, children, status);
  EXPECT_EQ((std::array{status, index}), (std::array{3, 7}));
}

TEST_F(DefinitionRecords, MaterialTextRecordsHaveNoFlagsWord) {
  directory(kMat, {3, 1, 8, 2, 44, 1, 152});
  option(kMat, 2, 20, 4, "OPT", {101, 102, 0, 104}, 77);
  // 54 words from word 98: key, name, code, kind, count (word 13), children from word 14.
  const Words words = get(kArrMaterialTable, 98, 54);
  EXPECT_EQ(words[0], 20);
  EXPECT_EQ(words[11], 4);
  EXPECT_EQ(words[12], 2);
  EXPECT_EQ((Words(words.begin() + 13, words.begin() + 17)), (Words{101, 102, 0, 104}));
  EXPECT_EQ(REGHED.ARRLEN(kArrMaterialTable), 151) << "nothing beyond its 54 words";
}

TEST_F(DefinitionRecords, ValueStoreRefusesAnUnknownKind) {
  propertyDirectory();
  FixedText name(80, "V"), code(8, "V"), text(255);
  std::array<int32_t, 3> ints{1, 2, 3};
  std::array<float, 3> reals{};
  int32_t index = 1, key = 101, kind = 3, flags = 0, status = -1;
  const int32_t length = REGHED.ARRLEN(kArrPropertyTable);
  ATRVLA(1, index, key, kind, name, code, flags, ints, reals, text, status);
  EXPECT_EQ(status, 4);
  EXPECT_EQ(REGHED.ARRLEN(kArrPropertyTable), length);
}

TEST_F(DefinitionRecords, TextFieldsTakeWholeWords) {
  directory(kMat, {3, 1, 8, 1, 44, 2, 98});
  directory(kPhy, {3, 1, 8, 1, 44, 2, 99});
  const std::string given = "ABCDEFGHIJKLMNOP";
  FixedText name(80, "T"), code(8, "T"), text(255, given);
  std::array<int32_t, 3> ints{};
  std::array<float, 3> reals{};
  int32_t index = 1, key = 101, kind = 4, flags = 10, status = -1;
  ATRVLB(1, index, key, kind, name, code, flags, ints, reals, text, status);
  EXPECT_EQ((std::array{status, flags}), (std::array{0, 12}));
  EXPECT_EQ(get(kArrMaterialTable, 98 + 12, 4),
            (Words{10, a4Word("ABCD"), a4Word("EFGH"), a4Word("IJ")}));

  flags = 10;
  ATRVLA(1, index, key, kind, name, code, flags, ints, reals, text, status);
  EXPECT_EQ((std::array{status, flags}), (std::array{0, 10}));
  EXPECT_EQ(get(kArrPropertyTable, 99 + 12, 5),
            (Words{10, a4Word("ABCD"), a4Word("EFGH"), a4Word("IJKL"), 0}));

  FixedText back(255, "x");
  kind = 0;
  ATRVLA(-1, index, key, kind, name, code, flags, ints, reals, back, status);
  EXPECT_EQ((std::array{status, kind, flags}), (std::array{0, 4, 10}));
  EXPECT_EQ(back.view(), given.substr(0, 12) + std::string(243, ' '));

  // 256 is not part of the count; a count beyond 252 keeps 63 words.
  flags = 256 + 5;
  ATRVLB(1, index, key, kind, name, code, flags, ints, reals, text, status);
  EXPECT_EQ(flags, 8);
  EXPECT_EQ(get(kArrMaterialTable, 98 + 12, 1), Words{261});
  flags = 600;
  ATRVLB(1, index, key, kind, name, code, flags, ints, reals, text, status);
  EXPECT_EQ(flags, 252);
}

TEST_F(DefinitionRecords, RealFieldsKeepTheirBits) {
  propertyDirectory();
  FixedText name(80, "R"), code(8, "R"), text(255);
  std::array<int32_t, 3> ints{};
  std::array<float, 3> reals{-0.0f, std::bit_cast<float>(0x7FC00001), 2.5f};
  int32_t index = 2, key = 102, kind = 2, flags = 1, status = -1;
  ATRVLA(1, index, key, kind, name, code, flags, ints, reals, text, status);
  ASSERT_EQ(status, 0);
  std::array<float, 3> back{};
  key = 102;
  index = 0;
  ATRVLA(-2, index, key, kind, name, code, flags, ints, back, text, status);
  EXPECT_EQ((std::array{status, index, kind, flags}), (std::array{0, 2, 2, 1}));
  EXPECT_EQ(std::bit_cast<uint32_t>(back[0]), 0x80000000u);
  EXPECT_EQ(std::bit_cast<uint32_t>(back[1]), 0x7FC00001u);
  EXPECT_EQ(back[2], 2.5f);
}

TEST(DefinitionHelpers, Seqtxt) {
  std::string full(255, ' ');
  for (size_t k = 0; k < full.size(); ++k) full[k] = static_cast<char>('A' + k % 26);
  std::vector<int32_t> words(64);
  for (size_t w = 0; w < 64; ++w) {
    words[w] = a4Word(std::string_view(full).substr(4 * w, 4));
  }
  FixedText text(255, "x");
  SEQTXT(255, words, text);
  EXPECT_EQ(text.view(), full);

  SEQTXT(5, words, text);
  EXPECT_EQ(text.view(), full.substr(0, 8) + std::string(247, ' ')) << "whole words";
  SEQTXT(0, words, text);
  EXPECT_TRUE(text.text().isBlank());
  FixedText shorter(10, "x");
  SEQTXT(255, std::span<const int32_t>(words).first(2), shorter);  // never past either
  EXPECT_EQ(shorter.view(), full.substr(0, 8) + "  ");
}

TEST(DefinitionHelpers, Locint) {
  const std::array<int32_t, 4> list{5, 7, 0, 9};
  struct Case {
    int32_t count, value, want;
  } cases[] = {{4, 0, 2}, {4, 4, 4}, {0, 0, 0}, {-3, 5, -3}, {4, 5, 0}, {9, 4, 4}};
  for (const Case& c : cases) EXPECT_EQ(LOCINT(list, c.count, c.value), c.want) << c.count;
}

TEST(DefinitionHelpers, Pkbit2) {
  const std::array<int32_t, 2> flags{-(1 << 30), 1};
  struct Case {
    int32_t n, want;
  } cases[] = {{31, 1}, {30, 0}, {32, 1}, {33, 0}, {0, 0}, {-5, 0}, {63, 0}, {999, 0}};
  for (const Case& c : cases) EXPECT_EQ(PKBIT2(flags, c.n), c.want) << c.n;
  const std::array<int32_t, 1> one{5};
  EXPECT_EQ(PKBIT2(one, 1), 1);
  EXPECT_EQ(PKBIT2(one, 2), 0);
  EXPECT_EQ(PKBIT2(one, 3), 1);
}

// ----- Assembly ---------------------------------------------------------------------------

// MATDF (state 3, one header): header "MATL" with option 10; option 10 (kind 0) leads to
// option 20 (kind 4) with fields 101 integer, 102 integer (flags 33, default 9), 103
// integer (flags 64, third integer 5), 104 text, 105 text " ABC ". Material 1's type-4
// values 1.0 and 10.0 point at the block from record 1 of named array 17.
class DefinitionAssembly : public DefinitionFixture {
 protected:
  void SetUp() override {
    DefinitionFixture::SetUp();
    directory(kMat, {3, 1, 8, 2, 44, 5, 152});
    header(kMat, 1, "MATL", "MATL", {10});
    option(kMat, 1, 10, 0, "PLAIN", {20});
    option(kMat, 2, 20, 4, "FIELDS", {101, 102, 103, 104, 105});
    field(kMat, 1, 101, 1, "I1");
    field(kMat, 2, 102, 1, "I2", 33, {0, 0, 9});
    field(kMat, 3, 103, 1, "I3", 64, {0, 0, 5});
    field(kMat, 4, 104, 4, "T1", 4, {}, {}, "TEXT");
    field(kMat, 5, 105, 4, "T2", 5, {}, {}, " ABC ");
    attribute(4, 1, {1.0f, 10.0f, 0.0f, 0.0f});
    block({2, 1, 0, 1, 10, 20, 7, 5, a4Word("STEE"), a4Word("L")});
  }

  static void block(Words words, int32_t record = 1) { put(kArrIntegerValues, record, words); }

  struct Result {
    int32_t status = -9;
    Label label{};
    int32_t pathLength = -9, k = -9;
    std::array<int32_t, 25> path{}, keys{}, kinds{}, ints{};
    std::array<float, 25> reals{};
    std::array<char, 25 * 255> texts{};
    std::array<int32_t, 25> lengths{};
    std::string text(int32_t j) {
      return FText(texts.data() + (j - 1) * 255, 255).trimmed();
    }
  };
  // ATRRDB with the given capacities (25 by default).
  static Result assemble(int32_t entity, int32_t h, int32_t w = 100, size_t pathCap = 25,
                         size_t keyCap = 25, size_t intCap = 25) {
    Result r;
    std::vector<int32_t> work(100);
    ATRRDB(entity, h, 25, work, w, r.label, r.pathLength, std::span(r.path).first(pathCap),
           r.k, std::span(r.keys).first(keyCap), std::span(r.kinds).first(keyCap),
           std::span(r.ints).first(intCap), r.reals, FTextArray(r.texts.data(), 255, 25),
           r.lengths, r.status);
    return r;
  }
};

TEST_F(DefinitionAssembly, StoredValuesThenDefaults) {
  Result r = assemble(1, 1);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.label, nameOf("DEF"));
  EXPECT_EQ(r.pathLength, 2);
  EXPECT_EQ((std::array{r.path[0], r.path[1]}), (std::array{10, 20}));
  EXPECT_EQ(r.k, 5);
  EXPECT_EQ((std::array{r.keys[0], r.keys[4]}), (std::array{101, 105}));
  EXPECT_EQ((std::array{r.kinds[0], r.kinds[1], r.kinds[2], r.kinds[3], r.kinds[4]}),
            (std::array{1, 1, 1, 4, 4}));
  EXPECT_EQ((std::array{r.ints[0], r.ints[1], r.ints[2]}), (std::array{7, 9, 0}))
      << "a default with flag 1, else 0";
  EXPECT_EQ(r.text(1), "STEEL");
  EXPECT_EQ(r.text(2), "ABC");
  EXPECT_EQ((std::array{r.lengths[0], r.lengths[1]}), (std::array{5, 3}));
}

TEST_F(DefinitionAssembly, PlainOptionGivesNoFields) {
  option(kMat, 2, 20, 0, "FIELDS", {101, 102});
  Result r = assemble(1, 1);
  EXPECT_EQ((std::array{r.status, r.k, r.pathLength, r.path[1], r.ints[0]}),
            (std::array{0, 0, 2, 20, 7}));
  EXPECT_EQ(r.text(1), "STEEL");
}

TEST_F(DefinitionAssembly, MissingValueRecordHasKindZero) {
  option(kMat, 2, 20, 4, "FIELDS", {101, 999, 102});
  Result r = assemble(1, 1);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.k, 3);
  EXPECT_EQ((std::array{r.keys[1], r.kinds[1], r.kinds[2]}), (std::array{999, 0, 1}));
  EXPECT_EQ((std::array{r.ints[0], r.ints[1], r.ints[2]}), (std::array{7, 9, 0}))
      << "the missing field takes no slot";
}

TEST_F(DefinitionAssembly, Statuses) {
  struct Case {
    const char* what;
    std::function<void()> change;
    int32_t entity, h, w, status;
  };
  const Case cases[] = {
      {"state 0", [] { setState(kMat, 0); }, 1, 1, 100, 1},
      {"state -1", [] { setState(kMat, -1); }, 1, 1, 100, 2},
      {"h above the headers", [] {}, 1, 2, 100, 4},
      {"h 0", [] {}, 1, 0, 100, 4},
      {"no attribute", [] {}, 2, 1, 100, 5},
      {"entity 0", [] {}, 0, 1, 100, 5},
      {"first record 0", [] { attribute(4, 3, {0.0f, 10.0f}); }, 3, 1, 100, 3},
      {"no option 30", [] { block({2, 1, 0, 1, 10, 30, 7, 5, a4Word("STEE"), a4Word("L")}); }, 1,
       1, 100, 6},
      {"empty path", [] { block({0, 1, 0, 1, 7, 5, a4Word("STEE"), a4Word("L"), 0, 0}); }, 1, 1,
       100, 6},
      {"W 9", [] {}, 1, 1, 9, 9},
      {"c2 -1", [] { block({2, -1, 0, 1}); }, 1, 1, 100, 9},
      {"text count 9", [] { block({2, 1, 0, 1, 10, 20, 7, 9, a4Word("STEE"), a4Word("L")}); }, 1,
       1, 100, 9},
      {"text count 2^31 - 1",
       [] { block({2, 1, 0, 1, 10, 20, 7, INT32_MAX, a4Word("STEE"), a4Word("L")}); }, 1, 1,
       100, 9},
      {"text count 2^31 - 3",
       [] { block({2, 1, 0, 1, 10, 20, 7, INT32_MAX - 2, a4Word("STEE"), a4Word("L")}); }, 1,
       1, 100, 9},
      {"L 3", [] { attribute(4, 3, {1.0f, 3.0f}); }, 3, 1, 100, 9},
      {"counts past L", [] { block({2, 1, 3, 1, 10, 20, 7, 5, a4Word("STEE"), a4Word("L")}); },
       1, 1, 100, 9},
      {"block beyond array 17", [] { attribute(4, 3, {5.0f, 60.0f}); }, 3, 1, 100, 9},
  };
  for (const Case& c : cases) {
    c.change();
    EXPECT_EQ(assemble(c.entity, c.h, c.w).status, c.status) << c.what;
    TearDown();
    SetUp();
  }
}

// Counts and defaults that do not fit the caller's arrays give 9, writing nothing past them.
TEST_F(DefinitionAssembly, OutArraysBoundTheLists) {
  EXPECT_EQ(assemble(1, 1, 100, 1).status, 9) << "path of 2 into 1";
  EXPECT_EQ(assemble(1, 1, 100, 25, 4).status, 9) << "5 fields into 4 keys";
  EXPECT_EQ(assemble(1, 1, 100, 25, 25, 2).status, 9) << "the default of integer 3";
  EXPECT_EQ(assemble(1, 1, 100, 25, 25, 3).status, 0);
}

// ----- Reference scan ---------------------------------------------------------------------

class ReferenceScan : public DefinitionAssembly {
 protected:
  void SetUp() override {
    DefinitionAssembly::SetUp();
    MODCNT.word(kCntCurves) = 1;  // one tcdef, none deleted
    MODCNT.word(kCntDelCurves) = 0;
    MODCNT.word(kCntKind40) = 1;  // one scdef, deleted
    MODCNT.word(kCntDelKind40) = 1;
    MODCNT.word(kCntKind47) = 0;
  }
  static std::array<int32_t, 3> scan(int32_t h, int32_t v, int32_t selector = 2) {
    std::array<int32_t, 3> r{9, 9, 9};
    ATRDSP(1, selector, h, v, r[0], r[1], r[2]);
    return r;
  }
};

TEST_F(ReferenceScan, FlagsOfLiveKinds) {
  EXPECT_EQ(scan(-1, -1), (std::array{-1, 0, 0}));
  MODCNT.word(kCntDelKind40) = 0;
  EXPECT_EQ(scan(-1, -1), (std::array{-1, 0, -1}));
  field(kMat, 2, 102, 1, "I2", 129, {0, 0, 9});
  MODCNT.word(kCntKind47) = 1;
  EXPECT_EQ(scan(-1, -1), (std::array{0, -1, -1}));
  EXPECT_EQ(scan(-1, 2), (std::array{0, -1, 0}));
  EXPECT_EQ(scan(-1, 6), (std::array{0, 0, 0})) << "beyond the fields";
  EXPECT_EQ(scan(-1, -1, 1), (std::array{0, 0, 0})) << "PHYDF is empty";
}

TEST_F(ReferenceScan, OlderFormatsReadLowFlagsAsBoth) {
  setState(kMat, 2);
  MODCNT.word(kCntDelKind40) = 0;
  EXPECT_EQ(scan(1, 1), (std::array{-1, 0, -1})) << "field 101, flags 0";
  MODCNT.word(kCntKind47) = 1;
  field(kMat, 1, 101, 1, "I1", 128 + 32);
  EXPECT_EQ(scan(1, 1), (std::array{0, 0, 0})) << "128: refers to nothing";
}

TEST_F(ReferenceScan, NothingLiveOrEmptyTable) {
  MODCNT.word(kCntDelCurves) = 1;
  EXPECT_EQ(scan(-1, -1), (std::array{0, 0, 0}));
  MODCNT.word(kCntDelCurves) = 0;
  setState(kMat, 0);
  EXPECT_EQ(scan(-1, -1), (std::array{0, 0, 0}));
}

TEST_F(ReferenceScan, TextAndMissingFieldsArePassedOver) {
  option(kMat, 2, 20, 4, "FIELDS", {104, 999});
  field(kMat, 4, 104, 4, "T1", 32, {}, {}, "TEXT");
  EXPECT_EQ(scan(-1, -1), (std::array{0, 0, 0}));
}

}  // namespace
}  // namespace kvr
