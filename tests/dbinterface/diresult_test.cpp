#include "dbinterface/diresult.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "recordfixture.h"

namespace kvr {
namespace {

using test::Flags;
using test::RecordFixture;
using test::RefusalCase;

constexpr Flags kNone = {0, 0, 0};
constexpr Flags kUnitOne = {1, 0, 0};
constexpr Flags kFullOnly = {0, 0, 1};

int32_t bits(float x) { return std::bit_cast<int32_t>(x); }


class ResultRecords : public RecordFixture {
 protected:

  static int32_t rha(int32_t ncomps, int32_t irtype, int32_t numvar = 0, int32_t k = 1) {
    int32_t ierr = -1;
    DIRHA(FixedText(8, "STRESS"), ncomps, irtype, numvar, ierr, unitNumber(k));
    return ierr;
  }
  static int32_t rhb(int32_t ctype, int32_t iexist = 0, const char* ncalc = "",
                     int32_t index1 = -1, int32_t index2 = 1, int32_t inmenu = 1,
                     int32_t k = 1) {
    // The index the component type needs, unless one is given.
    if (index1 < 0) index1 = ctype % 10 == 1 ? 0 : 1;
    int32_t ierr = -1;
    DIRHB(FixedText(8, "SX"), inmenu, ctype, index1, index2, iexist, FixedText(8, ncalc),
          FixedText(8, "SX2"), ierr, unitNumber(k));
    return ierr;
  }
  // An attribute of IRTYPE with NCOMPS sent components of CTYPE 1 on unit index K.
  static void attribute(int32_t irtype, int32_t ncomps = 2, int32_t k = 1) {
    ASSERT_EQ(rha(ncomps, irtype, 0, k), 0);
    for (int32_t c = 0; c < ncomps; ++c) ASSERT_EQ(rhb(1, 0, "", -1, 1, 1, k), 0);
  }
  static int32_t nia(int32_t node, int32_t numres, int32_t k = 1) {
    std::vector<float> values(static_cast<std::size_t>(std::max(numres, 0)), 0.5f);
    int32_t ierr = -1;
    DINIA(node, values, numres, ierr, unitNumber(k));
    return ierr;
  }
  static int32_t enh(int32_t ielem, int32_t itype, int32_t npoint, int32_t nlayer,
                     int32_t ilocal = 0, int32_t k = 1) {
    int32_t ierr = -1;
    DIENH(ielem, itype, 4, 0, npoint, nlayer, ilocal, nullptr, ierr, unitNumber(k));
    return ierr;
  }
  static int32_t ech(int32_t ielem, int32_t itype, int32_t nlayer, int32_t ilocal = 0,
                     int32_t k = 1) {
    int32_t ierr = -1;
    DIECH(ielem, itype, 4, 0, nlayer, ilocal, nullptr, ierr, unitNumber(k));
    return ierr;
  }
  static int32_t egh(int32_t ielem, int32_t itype, int32_t npoint, int32_t nlayer,
                     int32_t ilocal = 0, int32_t igflag = 0, int32_t k = 1) {
    int32_t ierr = -1;
    DIEGH(ielem, itype, 4, 0, npoint, nlayer, ilocal, igflag, ierr, unitNumber(k));
    return ierr;
  }
  static int32_t enr(int32_t id, int32_t numres = 2, int32_t k = 1) {
    std::vector<float> values(static_cast<std::size_t>(std::max(numres, 0)), 2.5f);
    int32_t ierr = -1;
    DIENR(id, values, numres, ierr, unitNumber(k));
    return ierr;
  }
  static int32_t ecr(int32_t id, int32_t numres = 2, int32_t k = 1) {
    std::vector<float> values(static_cast<std::size_t>(std::max(numres, 0)), 2.5f);
    int32_t ierr = -1;
    DIECR(id, values, numres, ierr, unitNumber(k));
    return ierr;
  }
  static int32_t egr(int32_t id, int32_t numres = 2, int32_t k = 1) {
    std::vector<float> values(static_cast<std::size_t>(std::max(numres, 0)), 2.5f);
    int32_t ierr = -1;
    DIEGR(id, 1.0f, 2.0f, 3.0f, values, numres, ierr, unitNumber(k));
    return ierr;
  }
  static constexpr std::array<float, 9> kAxes = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  static int32_t exh(int32_t ielem, int32_t itype, int32_t npoint, int32_t nlayer, int32_t k = 1) {
    int32_t ierr = -1;
    DIEXH(ielem, itype, 0, npoint, nlayer, ierr, unitNumber(k));
    return ierr;
  }
  static int32_t gxh(int32_t ielem, int32_t itype, int32_t npoint, int32_t nlayer, int32_t k = 1) {
    int32_t ierr = -1;
    DIGXH(ielem, itype, 0, npoint, nlayer, ierr, unitNumber(k));
    return ierr;
  }
  static int32_t exd(int32_t id, int32_t k = 1) {
    int32_t ierr = -1;
    DIEXD(id, kAxes, ierr, unitNumber(k));
    return ierr;
  }
  static int32_t gxd(int32_t id, int32_t k = 1) {
    int32_t ierr = -1;
    DIGXD(id, kAxes, ierr, unitNumber(k));
    return ierr;
  }
};

TEST_F(ResultRecords, DirhaRefusals) {
  runRefusals({
          {"wrong dataset", 1, 0, 1, [] { openDataset(1, 2); }, [] { return rha(3, 1); }, 156,
           kUnitOne, errorLine(156, "DIRHA", 2)},
          {"second attribute", 1, 0, 1, [] { ASSERT_EQ(rha(3, 1), 0); }, [] { return rha(3, 1); },
           157, kUnitOne, errorLine(157, "DIRHA")},
          {"IRTYPE 0", 1, 0, 1, [] {}, [] { return rha(3, 0); }, 182, kUnitOne,
           errorLine(182, "DIRHA", 0)},
          {"IRTYPE 6", 1, 0, 1, [] {}, [] { return rha(3, 6); }, 182, kUnitOne,
           errorLine(182, "DIRHA", 6)},
          {"NCOMPS 0", 1, 0, 1, [] {}, [] { return rha(0, 1); }, 183, kUnitOne,
           errorLine(183, "DIRHA", 0)},
          {"NCOMPS 21", 1, 0, 1, [] {}, [] { return rha(21, 1); }, 183, kUnitOne,
           errorLine(183, "DIRHA", 21)},
          {"NUMVAR -1", 1, 0, 1, [] {}, [] { return rha(3, 1, -1); }, 184, kUnitOne,
           errorLine(184, "DIRHA", -1)},
          {"NUMVAR 6", 1, 0, 1, [] {}, [] { return rha(3, 1, 6); }, 184, kUnitOne,
           errorLine(184, "DIRHA", 6)},
          {"write failure", 1, 0, kFullUnit, [] { fillBuffer(kFullUnit); },
           [] { return rha(3, 1, 0, kFullUnit); }, 129, kFullOnly, errorLine(129, "DIRHA", 43)},
      },
      100);
}

TEST_F(ResultRecords, DirhaWritesTheAttribute) {
  openDataset(1, 300);
  ASSERT_EQ(rha(20, 5, 5), 0);
  const std::vector<int32_t> words = stream(1);
  ASSERT_EQ(words.size(), 12u);
  EXPECT_EQ(words[0], -4);
  EXPECT_EQ(words[1], codeOf('S'));
  EXPECT_EQ(words[8], kBlankCode);
  EXPECT_EQ((std::vector<int32_t>(words.begin() + 9, words.end())),
            (std::vector<int32_t>{20, 5, 5}));
  const ResultsState& r = DISTAT.results(1);
  EXPECT_EQ(r.attributeHeaderEntered, 1);
  EXPECT_EQ(r.componentsExpected, 20);
  EXPECT_EQ(r.irtype, 5);
  EXPECT_EQ(r.variantsExpected, 5);
  EXPECT_EQ(r.variantsComplete, 0);
  EXPECT_EQ(DICTL.variants(1).word(7), 20);
}

TEST_F(ResultRecords, DirhbRefusals) {
  const auto withAttribute = [] { ASSERT_EQ(rha(3, 1), 0); };
  std::vector<RefusalCase> cases = {
      {"no attribute", 1, 0, 1, [] {}, [] { return rhb(1); }, 161, kUnitOne,
       errorLine(161, "DIRHB")},
      {"fourth component", 1, 0, 1, [] { attribute(1, 3); }, [] { return rhb(1); }, 162,
       kUnitOne, errorLine(162, "DIRHB")},
      {"INMENU 2", 1, 0, 1, withAttribute, [] { return rhb(1, 0, "", 0, 1, 2); }, 185, kUnitOne,
       errorLine(185, "DIRHB", 2)},
      {"list of length 0", 1, 0, 1, withAttribute, [] { return rhb(0, 0); }, 171, kUnitOne,
       errorLine(171, "DIRHB", 0)},
      {"list of length 6", 1, 0, 1, withAttribute, [] { return rhb(0, -6); }, 171, kUnitOne,
       errorLine(171, "DIRHB", -6)},
      {"IEXIST 2", 1, 0, 1, withAttribute, [] { return rhb(1, 2); }, 189, kUnitOne,
       errorLine(189, "DIRHB", 2)},
      {"IEXIST -1 of a sent type", 1, 0, 1, withAttribute, [] { return rhb(2, -1); }, 189,
       kUnitOne, errorLine(189, "DIRHB", -1)},
      {"unknown calculation", 1, 0, 1, withAttribute, [] { return rhb(1, 1, "vonmises"); }, 191,
       kUnitOne, errorLine(191, "DIRHB", "vonmises")},
      {"blank calculation", 1, 0, 1, withAttribute, [] { return rhb(1, 1, ""); }, 191, kUnitOne,
       errorLine(191, "DIRHB", "")},
      {"calculation of a sent component", 1, 0, 1, withAttribute,
       [] { return rhb(1, 0, "VONMISES"); }, 191, kUnitOne, errorLine(191, "DIRHB", "VONMISES")},
      {"write failure", 1, 0, kFullUnit,
       [] {
         ASSERT_EQ(rha(3, 1, 0, kFullUnit), 0);
         fillBuffer(kFullUnit);
       },
       [] { return rhb(1, 0, "", 0, 1, 1, kFullUnit); }, 129, kFullOnly,
       errorLine(129, "DIRHB", 43)},
  };
  for (int32_t ctype : {-1, 7, 10, 15, 17}) {
    cases.push_back({"CTYPE", 1, 0, 1, withAttribute, [ctype] { return rhb(ctype); }, 186,
                     kUnitOne, errorLine(186, "DIRHB", ctype)});
  }
  // The index rules of sent components: CTYPE, INDEX1, INDEX2 and the code.
  struct IndexCase {
    int32_t ctype, index1, index2, code;
  };
  for (const IndexCase& i : {IndexCase{1, 1, 1, 187}, IndexCase{11, 2, 0, 187},
                             IndexCase{2, 0, 1, 187}, IndexCase{12, 7, 1, 187},
                             IndexCase{3, 5, 1, 187}, IndexCase{13, 0, 1, 187},
                             IndexCase{4, 5, 1, 187}, IndexCase{14, 1, 0, 188},
                             IndexCase{5, 4, 5, 188}, IndexCase{6, 0, 0, 187},
                             IndexCase{16, 2, 5, 188}}) {
    cases.push_back({"index rule", 1, 0, 1, withAttribute,
                     [i] { return rhb(i.ctype, 0, "", i.index1, i.index2); }, i.code, kUnitOne,
                     errorLine(i.code, "DIRHB", i.code == 187 ? i.index1 : i.index2)});
  }
  runRefusals(cases, 100);
}

TEST_F(ResultRecords, DirhbAcceptsAndWritesTheComponent) {
  struct Accepted {
    int32_t ctype, index1, index2;
  };
  // Unchecked where the rules do not ask: INDEX2 of types 1 to 3.
  for (const Accepted& a : {Accepted{1, 0, 99}, Accepted{2, 6, -5}, Accepted{12, 1, 0},
                            Accepted{3, 4, 0}, Accepted{4, 4, 4}, Accepted{14, 1, 1},
                            Accepted{5, 1, 4}, Accepted{6, 2, 3}, Accepted{16, 4, 1}}) {
    configure(1, 0);
    openDataset(1, 100);
    ASSERT_EQ(rha(1, 1), 0);
    EXPECT_EQ(rhb(a.ctype, 0, "", a.index1, a.index2), 0) << a.ctype;
  }
  // Each of the 17 calculation names.
  for (const char* name : {"ALL", "VONMISES", "P1-STRES", "P2-STRES", "P3-STRES", "Q1-STRES",
                           "Q2-STRES", "Q3-STRES", "QMAX", "P-YIELD", "Q1-PRINC", "Q2-PRINC",
                           "Q3-PRINC", "QMAX-PRN", "PRESSURE", "ALL-PRNC", "ALL-STRS"}) {
    configure(1, 0);
    openDataset(1, 100);
    ASSERT_EQ(rha(1, 1), 0);
    EXPECT_EQ(rhb(1, 1, name), 0) << name;
  }
  // A list skips the index and name checks.
  configure(1, 0);
  openDataset(1, 100);
  ASSERT_EQ(rha(2, 1), 0);
  ASSERT_EQ(rhb(0, -3, "junk", 9, 9), 0);
  ASSERT_EQ(rhb(11, 0, "", 0, 1, 0), 0);
  const std::vector<int32_t> words = stream(1);
  ASSERT_EQ(words.size(), 12u + 30u + 30u);
  const std::vector<int32_t> list(words.begin() + 12, words.begin() + 42);
  EXPECT_EQ(list[0], -5);
  EXPECT_EQ(list[1], codeOf('S'));
  EXPECT_EQ((std::vector<int32_t>(list.begin() + 9, list.begin() + 14)),
            (std::vector<int32_t>{1, 0, 9, 9, -3}));
  EXPECT_EQ(list[14], codeOf('j'));
  EXPECT_EQ(list[22], codeOf('S'));
  EXPECT_EQ(list[24], codeOf('2'));
  EXPECT_EQ(DISTAT.results(1).componentsComplete, 1);
  EXPECT_EQ(DIUNIT.components(1).word(1), 1);
  EXPECT_EQ(DIUNIT.components(1).word(2), 2);
}

TEST_F(ResultRecords, ValuesPerRecordFollowTheComponents) {
  struct Shape {
    const char* what;
    std::vector<std::array<int32_t, 2>> components;  // CTYPE, IEXIST
    int32_t values;
  };
  const Shape shapes[] = {
      {"three sent", {{1, 0}, {1, 0}, {1, 0}}, 3},
      {"one calculated", {{1, 0}, {1, 1}, {1, 0}}, 2},
      {"one of two values", {{1, 0}, {11, 0}, {1, 0}}, 4},
      {"a list", {{0, -2}, {1, 0}, {1, 0}}, 3},
      {"calculated of two values", {{11, 1}, {1, 0}, {1, 0}}, 2},
  };
  for (const Shape& s : shapes) {
    configure(1, 0);
    openDataset(1, 100);
    ASSERT_EQ(rha(3, 1), 0);
    for (const auto& c : s.components) {
      ASSERT_EQ(rhb(c[0], c[1], c[1] == 1 ? "VONMISES" : ""), 0) << s.what;
    }
    EXPECT_EQ(nia(1, s.values - 1), 167) << s.what;
    configure(1, 0);
    openDataset(1, 100);
    ASSERT_EQ(rha(3, 1), 0);
    for (const auto& c : s.components) rhb(c[0], c[1], c[1] == 1 ? "VONMISES" : "");
    EXPECT_EQ(nia(1, s.values), 0) << s.what;
  }
}

TEST_F(ResultRecords, DiniaRefusals) {
  runRefusals({
          {"no attribute", 1, 0, 1, [] {}, [] { return nia(1, 2); }, 165, kUnitOne,
           errorLine(165, "DINIA")},
          {"components incomplete", 1, 0, 1,
           [] {
             ASSERT_EQ(rha(2, 1), 0);
             ASSERT_EQ(rhb(1), 0);
           },
           [] { return nia(1, 2); }, 165, kUnitOne, errorLine(165, "DINIA")},
          {"attribute with variants", 1, 0, 1,
           [] {
             ASSERT_EQ(rha(1, 1, 1), 0);
             ASSERT_EQ(rhb(1), 0);
           },
           [] { return nia(1, 1); }, 165, kUnitOne, errorLine(165, "DINIA")},
          {"element results", 1, 0, 1, [] { attribute(3); }, [] { return nia(1, 2); }, 166,
           kUnitOne, errorLine(166, "DINIA", 3)},
          {"one value too many", 1, 0, 1, [] { attribute(1); }, [] { return nia(1, 3); }, 167,
           kUnitOne, errorLine(167, "DINIA", 3)},
          {"node 0", 1, 0, 1, [] { attribute(1); }, [] { return nia(0, 2); }, 141, kUnitOne,
           errorLine(141, "DINIA", 0)},
          {"node 100000, five digits", 2, 0, 1, [] { attribute(1); },
           [] { return nia(100000, 2); }, 143, kUnitOne, errorLine(143, "DINIA", 100000)},
          {"write failure", 1, 0, kFullUnit,
           [] {
             attribute(1, 2, kFullUnit);
             fillBuffer(kFullUnit);
           },
           [] { return nia(1, 2, kFullUnit); }, 129, kFullOnly, errorLine(129, "DINIA", 43)},
      },
      100);
}

TEST_F(ResultRecords, DiniaWritesTheValues) {
  configure(2, 1);
  openDataset(1, 100);
  attribute(1);
  EXPECT_EQ(DISTAT.datasetComplete(1), 0);
  const int32_t at = static_cast<int32_t>(12 + 2 * 30);
  ASSERT_EQ(nia(100000, 2), 0);
  ASSERT_EQ(nia(7, 2), 0);  // nodal records in any order
  const std::vector<int32_t> words = stream(1);
  EXPECT_EQ((std::vector<int32_t>(words.begin() + at, words.end())),
            (std::vector<int32_t>{-1, 100000, 2, bits(0.5f), bits(0.5f),  //
                                  -1, 7, 2, bits(0.5f), bits(0.5f)}));
  EXPECT_EQ(DISTAT.datasetComplete(1), 1);
}

TEST_F(ResultRecords, EntityHeaderRefusals) {
  // One row per code for each of the three headers, on an attribute of its own type.
  struct Header {
    const char* name;
    int32_t irtype;
    std::function<int32_t(int32_t ielem, int32_t itype, int32_t ilocal, int32_t k)> call;
  };
  const Header headers[] = {
      {"DIENH", 3, [](int32_t e, int32_t t, int32_t l, int32_t k) { return enh(e, t, 0, 1, l, k); }},
      {"DIECH", 5, [](int32_t e, int32_t t, int32_t l, int32_t k) { return ech(e, t, 1, l, k); }},
      {"DIEGH", 4, [](int32_t e, int32_t t, int32_t l, int32_t k) { return egh(e, t, 2, 1, l, 0, k); }},
  };
  for (const Header& h : headers) {
    const int32_t irtype = h.irtype;
    const auto call = h.call;
    const auto ready = [irtype] { attribute(irtype); };
    runRefusals(
        {
            {h.name, 1, 0, 1, [] {}, [call] { return call(1, 9, 0, 1); }, 165, kUnitOne,
             errorLine(165, h.name)},
            {h.name, 1, 0, 1, [] { ASSERT_EQ(rha(1, 1, 1), 0); ASSERT_EQ(rhb(1), 0); },
             [call] { return call(1, 9, 0, 1); }, 165, kUnitOne, errorLine(165, h.name)},
            {h.name, 1, 0, 1, [] { attribute(1); }, [call] { return call(1, 9, 0, 1); }, 166,
             kUnitOne, errorLine(166, h.name, 1)},
            {h.name, 1, 0, 1, [ready, call] { ready(); ASSERT_EQ(call(1, 9, 0, 1), 0); },
             [call] { return call(2, 9, 0, 1); }, 158, kUnitOne, errorLine(158, h.name)},
            {h.name, 1, 0, 1, ready, [call] { return call(0, 9, 0, 1); }, 141, kUnitOne,
             errorLine(141, h.name, 0)},
            {h.name, 2, 0, 1, ready, [call] { return call(100000, 9, 0, 1); }, 143, kUnitOne,
             errorLine(143, h.name, 100000)},
            {h.name, 1, 0, 1, ready, [call] { return call(1, 9, 2, 1); }, 177, kUnitOne,
             errorLine(177, h.name, 2)},
            {h.name, 1, 0, 1, ready, [call] { return call(1, 9, -1, 1); }, 177, kUnitOne,
             errorLine(177, h.name, -1)},
            {h.name, 1, 0, kFullUnit,
             [irtype] {
               attribute(irtype, 2, kFullUnit);
               fillBuffer(kFullUnit);
             },
             [call] { return call(1, 9, 0, kFullUnit); }, 129, kFullOnly,
             errorLine(129, h.name, 43)},
        },
        100);
  }
  // An element number beyond the five-digit field fits the database and ten digits.
  configure(3, 1);
  openDataset(1, 100);
  attribute(3);
  EXPECT_EQ(enh(100000, 9, 0, 1), 0);
}

TEST_F(ResultRecords, EntityHeadersWriteTheirLayouts) {
  openDataset(1, 100);
  attribute(3);
  const std::size_t start = 12 + 2 * 30;
  int32_t notRead = 0;
  int32_t ierr = -1;
  DIENH(7, 9, 4, 0, 4, 0, 1, &notRead, ierr, unitNumber(1));
  ASSERT_EQ(ierr, 0);
  std::vector<int32_t> words = stream(1);
  EXPECT_EQ((std::vector<int32_t>(words.begin() + start, words.end())),
            (std::vector<int32_t>{-1, 7, 9, 4, 0, 4, 0, 0, -1, 0}));

  // A variant key that no slot holds takes the value count of slot 1.
  configure(1, 0);
  openDataset(1, 100);
  attribute(3, 3);
  ierr = -1;
  DIENH(7, 9, 4, 7, 0, 1, 0, nullptr, ierr, unitNumber(1));
  ASSERT_EQ(ierr, 0);
  EXPECT_EQ(DISTAT.valuesPerRecord(1), 3);
  EXPECT_EQ(enr(1, 3), 0);

  configure(1, 0);
  openDataset(1, 100);
  attribute(5);
  ASSERT_EQ(ech(7, 9, 3, 1), 0);
  words = stream(1);
  EXPECT_EQ((std::vector<int32_t>(words.begin() + start, words.end())),
            (std::vector<int32_t>{-1, 7, 9, 4, 0, 0, 3, 0, -1, 0}));

  configure(1, 0);
  openDataset(1, 100);
  attribute(4);
  ASSERT_EQ(egh(7, 9, 8, 2, 1, 5), 0);
  words = stream(1);
  EXPECT_EQ((std::vector<int32_t>(words.begin() + start, words.end())),
            (std::vector<int32_t>{-1, 7, 9, 4, 0, 0, 2, 8, -1, 5}));
}

TEST_F(ResultRecords, PointElementResultsAreDiscarded) {
  struct Header {
    const char* name;
    int32_t irtype;
    std::function<int32_t()> call;
  };
  const Header headers[] = {
      {"DIENH", 3, [] { return enh(12, 20, 3, 1); }},  // the point count is not looked at
      {"DIECH", 5, [] { return ech(12, 20, 1); }},
      {"DIEGH", 4, [] { return egh(12, 20, 2, 1); }},
  };
  for (const Header& h : headers) {
    configure(1, 0);
    openDataset(1, 100);
    attribute(h.irtype);
    const int32_t at = position(1);
    EXPECT_EQ(h.call(), 0) << h.name;
    EXPECT_EQ(messages().back(), infoLine(h.name, "POINT ELEMENT RESULTS DISCARDED", 12));
    EXPECT_EQ(position(1), at) << h.name;
    EXPECT_EQ(DISTAT.entityHeaderEntered(1), 0) << h.name;
    EXPECT_EQ(DISTAT.groupStarted(1), 0) << h.name;
    EXPECT_EQ(DISTAT.results(1).repeatsExpected, 0) << h.name;
    EXPECT_EQ(flags(), kNone);
  }
}

TEST_F(ResultRecords, RepeatRefusals) {
  struct Repeat {
    const char* name;
    int32_t irtype;
    std::function<int32_t()> header;  // opens a group of two repeats
    std::function<int32_t(int32_t id, int32_t numres, int32_t k)> call;
  };
  const Repeat repeats[] = {
      {"DIENR", 3, [] { return enh(1, 11, 0, 1); },
       [](int32_t id, int32_t n, int32_t k) { return enr(id, n, k); }},
      {"DIECR", 5, [] { return ech(1, 11, 2); },
       [](int32_t id, int32_t n, int32_t k) { return ecr(id, n, k); }},
      {"DIEGR", 4, [] { return egh(1, 11, 2, 1); },
       [](int32_t id, int32_t n, int32_t k) { return egr(id, n, k); }},
  };
  for (const Repeat& r : repeats) {
    const int32_t irtype = r.irtype;
    const auto header = r.header;
    const auto call = r.call;
    const auto group = [irtype, header] {
      attribute(irtype);
      ASSERT_EQ(header(), 0);
    };
    // DIEGR's id limit is 999999 for the database, 99999 for any text file.
    const int32_t textFormat = irtype == 4 ? 2 : 0;
    std::vector<RefusalCase> cases = {
        {r.name, 1, 0, 1, [irtype] { attribute(irtype); }, [call] { return call(1, 2, 1); },
         198, kUnitOne, errorLine(198, r.name)},
        {r.name, 1, 0, 1,
         [group, call] {
           group();
           ASSERT_EQ(call(1, 2, 1), 0);
           ASSERT_EQ(call(2, 2, 1), 0);
           // The last repeat closes the header (a further repeat answers 198); a header
           // still marked entered with no repeat left answers 159.
           DISTAT.entityHeaderEntered(1) = 1;
         },
         [call] { return call(3, 2, 1); }, 159, kUnitOne, errorLine(159, r.name)},
        {r.name, 1, 0, 1, group, [call] { return call(1, 3, 1); }, 167, kUnitOne,
         errorLine(167, r.name, 3)},
        {r.name, 1, 0, 1, group, [call] { return call(0, 2, 1); }, 141, kUnitOne,
         errorLine(141, r.name, 0)},
        {r.name, 2, textFormat, 1, group, [call] { return call(100000, 2, 1); }, 143, kUnitOne,
         errorLine(143, r.name, 100000)},
        {r.name, 1, 0, kFullUnit,
         [irtype] {
           attribute(irtype, 2, kFullUnit);
           int32_t ierr = -1;
           if (irtype == 3) DIENH(1, 11, 4, 0, 0, 1, 0, nullptr, ierr, unitNumber(kFullUnit));
           if (irtype == 5) DIECH(1, 11, 4, 0, 2, 0, nullptr, ierr, unitNumber(kFullUnit));
           if (irtype == 4) DIEGH(1, 11, 4, 0, 2, 1, 0, 0, ierr, unitNumber(kFullUnit));
           ASSERT_EQ(ierr, 0);
           fillBuffer(kFullUnit);
         },
         [call] { return call(1, 2, kFullUnit); }, 129, kFullOnly, errorLine(129, r.name, 43)},
    };
    if (irtype == 4) {
      cases.push_back({r.name, 1, 0, 1, group, [call] { return call(1000000, 2, 1); }, 142,
                       kUnitOne, errorLine(142, r.name, 1000000)});
    }
    runRefusals(cases, 100);
  }
}

TEST_F(ResultRecords, RepeatsMustMatchTheHeadersPointRecords) {
  // A Gauss-point repeat carries a point record the readers of element-point and layer
  // values do not expect, and the other repeats lack the one Gauss-point readers do.
  openDataset(1, 100);
  attribute(3);
  ASSERT_EQ(enh(1, 11, 0, 1), 0);
  expectRefused("DIEGR after DIENH", 1, [] { return egr(1); }, 166, kUnitOne,
                errorLine(166, "DIEGR", 3));

  configure(1, 0);
  openDataset(1, 100);
  attribute(4);
  ASSERT_EQ(egh(1, 11, 2, 1), 0);
  expectRefused("DIENR after DIEGH", 1, [] { return enr(1); }, 166, kUnitOne,
                errorLine(166, "DIENR", 4));

  // The element-point and layer repeats share their layout.
  configure(1, 0);
  openDataset(1, 100);
  attribute(5);
  ASSERT_EQ(ech(1, 11, 1), 0);
  EXPECT_EQ(enr(1), 0);
}

TEST_F(ResultRecords, HeaderOfAnAbandonedDatasetOpensNoGroup) {
  // An abandoned dataset leaves its entity header entered; the next dataset on the unit
  // must not take repeats for it.
  openDataset(1, 100);
  attribute(3);
  DISTAT.entityHeaderEntered(1) = 1;
  DISTAT.results(1).repeatsExpected = 3;
  DISTAT.valuesPerRecord(1) = 2;
  expectRefused("stale header", 1, [] { return enr(1); }, 198, kUnitOne,
                errorLine(198, "DIENR"));
}

TEST_F(ResultRecords, ElementPointGroups) {
  openDataset(1, 100);
  attribute(3);
  // Type 10 has eight nodes: NPOINT 0 and two layers expect 16 repeats.
  ASSERT_EQ(enh(1, 10, 0, 2), 0);
  EXPECT_EQ(DISTAT.datasetComplete(1), 0);
  for (int32_t id = 1; id <= 15; ++id) ASSERT_EQ(enr(id), 0) << id;
  EXPECT_EQ(enh(2, 10, 0, 2), 158);

  configure(1, 0);
  openDataset(1, 100);
  attribute(3);
  ASSERT_EQ(enh(1, 10, 0, 2), 0);
  for (int32_t id = 1; id <= 16; ++id) ASSERT_EQ(enr(id), 0) << id;
  EXPECT_EQ(DISTAT.datasetComplete(1), 1);
  EXPECT_EQ(DISTAT.entityHeaderEntered(1), 0);
  EXPECT_EQ(enr(17), 198);

  // The point count is 0 or the type's node count; any other would disagree with the
  // readers of the stream.
  configure(1, 0);
  openDataset(1, 100);
  attribute(3);
  expectRefused("NPOINT 5 of type 10", 1, [] { return enh(1, 10, 5, 1); }, 171, kUnitOne,
                errorLine(171, "DIENH", 5));
  configure(1, 0);
  openDataset(1, 100);
  attribute(3);
  expectRefused("NPOINT -8 of type 10", 1, [] { return enh(1, 10, -8, 1); }, 171, kUnitOne,
                errorLine(171, "DIENH", -8));
  configure(1, 0);
  openDataset(1, 100);
  attribute(3);
  ASSERT_EQ(enh(1, 10, 8, 0), 0);
  EXPECT_EQ(DISTAT.results(1).repeatsExpected, 8);

  // The counts: NLAYER and the point count, 0 counting as 1; a type outside the table
  // has no node count, so its factor is 1.
  struct Count {
    int32_t itype, npoint, nlayer, repeats;
  };
  for (const Count& c : {Count{0, 0, 3, 3}, Count{99, 0, 2, 2}, Count{-4, 0, 0, 1},
                         Count{9, 0, 0, 4}, Count{9, 4, 3, 12}}) {
    configure(1, 0);
    openDataset(1, 100);
    attribute(3);
    ASSERT_EQ(enh(1, c.itype, c.npoint, c.nlayer), 0) << c.itype;
    EXPECT_EQ(DISTAT.results(1).repeatsExpected, c.repeats) << c.itype;
  }
}

TEST_F(ResultRecords, LayerAndGaussPointGroups) {
  struct Count {
    int32_t irtype, npoint, nlayer, repeats;
  };
  for (const Count& c : {Count{5, 0, 0, 1}, Count{5, 0, 3, 3}, Count{4, 0, 0, 1},
                         Count{4, 3, 0, 3}, Count{4, 3, 2, 6}}) {
    configure(1, 0);
    openDataset(1, 100);
    attribute(c.irtype);
    ASSERT_EQ(c.irtype == 5 ? ech(1, 9, c.nlayer) : egh(1, 9, c.npoint, c.nlayer), 0);
    EXPECT_EQ(DISTAT.results(1).repeatsExpected, c.repeats);
    for (int32_t id = 1; id <= c.repeats; ++id) {
      ASSERT_EQ(c.irtype == 5 ? ecr(id) : egr(id), 0) << id;
    }
    EXPECT_EQ(DISTAT.datasetComplete(1), 1);
    EXPECT_EQ(c.irtype == 5 ? ecr(9) : egr(9), 198);
  }

  // A Gauss-point repeat: its record, the point record, the values.
  configure(1, 0);
  openDataset(1, 100);
  attribute(4);
  ASSERT_EQ(egh(3, 9, 1, 1), 0);
  const int32_t at = 12 + 2 * 30 + 10;
  ASSERT_EQ(egr(999999), 0);
  const std::vector<int32_t> words = stream(1);
  EXPECT_EQ((std::vector<int32_t>(words.begin() + at, words.end())),
            (std::vector<int32_t>{-2, 999999, 2, -2, 999999, bits(1.0f), bits(2.0f), bits(3.0f),
                                  bits(2.5f), bits(2.5f)}));

  // 1000000 is refused with database output too.
  configure(1, 0);
  openDataset(1, 100);
  attribute(4);
  ASSERT_EQ(egh(3, 9, 1, 1), 0);
  EXPECT_EQ(egr(1000000), 142);
}

TEST_F(ResultRecords, LocalAxisHeaderRefusals) {
  struct Header {
    const char* name;
    int32_t key, otherKey;
    std::function<int32_t(int32_t ielem, int32_t k)> call;
  };
  const Header headers[] = {
      {"DIEXH", 33, 34, [](int32_t e, int32_t k) { return exh(e, 9, 0, 0, k); }},
      {"DIGXH", 34, 33, [](int32_t e, int32_t k) { return gxh(e, 9, 2, 0, k); }},
  };
  for (const Header& h : headers) {
    const auto call = h.call;
    const int32_t other = h.otherKey;
    runRefusals(
        {
            {h.name, 1, 0, 1, [other] { openDataset(1, other); }, [call] { return call(1, 1); },
             194, kUnitOne, errorLine(194, h.name, other)},
            {h.name, 1, 0, 1, [call] { ASSERT_EQ(call(1, 1), 0); },
             [call] { return call(2, 1); }, 158, kUnitOne, errorLine(158, h.name)},
            {h.name, 1, 0, 1, [] {}, [call] { return call(0, 1); }, 141, kUnitOne,
             errorLine(141, h.name, 0)},
            {h.name, 2, 0, 1, [] {}, [call] { return call(100000, 1); }, 143, kUnitOne,
             errorLine(143, h.name, 100000)},
            {h.name, 1, 0, kFullUnit, [] { fillBuffer(kFullUnit); },
             [call] { return call(1, kFullUnit); }, 129, kFullOnly, errorLine(129, h.name, 43)},
        },
        h.key);
  }

  // A point element's Gauss-point axes are discarded; its element axes are not.
  configure(1, 0);
  openDataset(1, 34);
  EXPECT_EQ(gxh(6, 20, 1, 1), 0);
  EXPECT_EQ(messages().back(),
            infoLine("DIGXH", "POINT ELEMENT GAUSS POINT LOCAL SYSTEM DISCARDED", 6));
  EXPECT_EQ(position(1), 1);
  EXPECT_EQ(DISTAT.localAxisRepeats(1), 0);
  configure(1, 0);
  openDataset(1, 33);
  EXPECT_EQ(exh(6, 20, 1, 1), 0);
  EXPECT_EQ(DISTAT.localAxisRepeats(1), 1);
}

TEST_F(ResultRecords, LocalAxisRecordRefusals) {
  struct Record {
    const char* name;
    int32_t key, otherKey;
    std::function<int32_t()> header;  // opens a group of two records
    std::function<int32_t(int32_t id, int32_t k)> call;
  };
  const Record records[] = {
      {"DIEXD", 33, 34, [] { return exh(1, 9, 2, 1); },
       [](int32_t id, int32_t k) { return exd(id, k); }},
      {"DIGXD", 34, 33, [] { return gxh(1, 9, 1, 2); },
       [](int32_t id, int32_t k) { return gxd(id, k); }},
  };
  for (const Record& r : records) {
    const auto header = r.header;
    const auto call = r.call;
    const int32_t key = r.key;
    const int32_t other = r.otherKey;
    const auto group = [header] { ASSERT_EQ(header(), 0); };
    std::vector<RefusalCase> cases = {
        // Before any header even the wrong dataset answers 159.
        {r.name, 1, 0, 1, [other] { openDataset(1, other); }, [call] { return call(1, 1); }, 159,
         kUnitOne, errorLine(159, r.name)},
        {r.name, 1, 0, 1,
         [group, other] {
           group();
           DISTAT.datasetKey(1) = other;
         },
         [call] { return call(1, 1); }, 194, kUnitOne, errorLine(194, r.name, other)},
        {r.name, 1, 0, 1, group, [call] { return call(0, 1); }, 141, kUnitOne,
         errorLine(141, r.name, 0)},
        {r.name, 2, 0, 1, group, [call] { return call(100000, 1); }, 143, kUnitOne,
         errorLine(143, r.name, 100000)},
        {r.name, 1, 0, kFullUnit,
         [key] {
           int32_t ierr = -1;
           if (key == 33) DIEXH(1, 9, 0, 2, 1, ierr, unitNumber(kFullUnit));
           if (key == 34) DIGXH(1, 9, 0, 2, 1, ierr, unitNumber(kFullUnit));
           ASSERT_EQ(ierr, 0);
           fillBuffer(kFullUnit);
         },
         [call] { return call(1, kFullUnit); }, 129, kFullOnly, errorLine(129, r.name, 43)},
    };
    if (key == 34) {
      cases.push_back({r.name, 1, 0, 1, group, [call] { return call(1000000, 1); }, 142,
                       kUnitOne, errorLine(142, r.name, 1000000)});
      // Gauss-point ids must fit five digits in any text file.
      cases.push_back({r.name, 2, 1, 1, group, [call] { return call(100000, 1); }, 143,
                       kUnitOne, errorLine(143, r.name, 100000)});
    }
    runRefusals(cases, key);
  }

  // Element ids fit the ten-digit formats.
  configure(2, 1);
  openDataset(1, 33);
  ASSERT_EQ(exh(1, 9, 1, 1), 0);
  EXPECT_EQ(exd(100000), 0);
}

TEST_F(ResultRecords, LocalAxisGroupsAndRecords) {
  openDataset(1, 33);
  ASSERT_EQ(exh(4, 9, 2, 3), 0);
  EXPECT_EQ(DISTAT.localAxisRepeats(1), 6);
  EXPECT_EQ(DISTAT.datasetComplete(1), 0);
  for (int32_t id = 1; id <= 5; ++id) ASSERT_EQ(exd(id), 0);
  EXPECT_EQ(exh(5, 9, 1, 1), 158);

  configure(1, 0);
  openDataset(1, 34);
  ASSERT_EQ(gxh(4, 9, 0, 0), 0);
  ASSERT_EQ(gxd(8), 0);
  EXPECT_EQ(DISTAT.datasetComplete(1), 1);
  EXPECT_EQ(DISTAT.localAxisHeaderEntered(1), 0);
  EXPECT_EQ(gxd(9), 159);
  std::vector<int32_t> want = {-1, 4, 9, 0, 0, 0, -2, 8};
  for (float a : kAxes) want.push_back(bits(a));
  EXPECT_EQ(stream(1), want);
}

}  // namespace
}  // namespace kvr
