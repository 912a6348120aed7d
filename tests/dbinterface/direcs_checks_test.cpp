#include "dbinterface/direcs_checks.h"

#include <gtest/gtest.h>

#include <vector>

#include "dbinterface/dimodel.h"
#include "dbinterface/diresult.h"
#include "recordfixture.h"

namespace kvr {
namespace {

using test::RecordFixture;

TEST(NeutralFieldLimits, FiveDigitFieldsAndSystemFields) {
  struct Case {
    int32_t luopt, format, id;
    bool fiveDigit, neutral;
  };
  const Case cases[] = {
      {1, 0, 100000, false, false},  // the database has no such limit
      {2, 0, 99999, false, false},   {2, 0, 100000, true, true},
      {3, 0, 100000, true, true},    {2, 1, 100000, false, true},
      {3, 2, 100000, false, true},   {2, 0, -100000, false, false},
      {2, 2, 2147483647, false, true},
  };
  for (const Case& c : cases) {
    DICTL.luopt = c.luopt;
    DICTL.numberFormat = c.format;
    EXPECT_EQ(overFiveDigitField(c.id), c.fiveDigit) << c.luopt << "/" << c.format << "/" << c.id;
    EXPECT_EQ(overNeutralField(c.id), c.neutral) << c.luopt << "/" << c.format << "/" << c.id;
  }
  DICTL = {};
}

TEST(ConstraintCodes, DigitsOneToSixEachOnce) {
  for (int32_t code : {0, 9, 1, 6, 12, 21, 356, 654, 65432, 12345, 23456, 61}) {
    EXPECT_TRUE(isConstraintCode(code)) << code;
  }
  for (int32_t code : {-1, -12, 7, 8, 10, 17, 102, 112, 99, 65433, 65442, 123456, 99999,
                       2147483647}) {
    EXPECT_FALSE(isConstraintCode(code)) << code;
  }
}

TEST(CalculationNames, SeventeenNamesOfEightCharacters) {
  ASSERT_EQ(kCalculationNames.size(), 17u);
  for (const char* name : {"ALL     ", "VONMISES", "QMAX-PRN", "ALL-STRS", "P-YIELD "}) {
    EXPECT_TRUE(isCalculationName(FixedText(8, name))) << name;
  }
  // Compared as sent: case, leading blanks and a shorter text all count.
  for (const char* name : {"vonmises", " ALL    ", "        ", "VONMISE "}) {
    EXPECT_FALSE(isCalculationName(FixedText(8, name))) << name;
  }
  EXPECT_FALSE(isCalculationName(FixedText(7, "P1-STRE")));
}

// Every record routine begins with the same two steps under its own name.
class CommonFirstSteps : public RecordFixture {
 protected:
  struct Routine {
    const char* name;
    std::function<int32_t(int32_t iunt)> call;
  };

  static std::vector<Routine> routines() {
    static std::array<float, 9> axes{};
    static std::vector<float> values(20, 1.0f);
    static std::vector<int32_t> nodes(32, 1);
    auto e = [](auto f) {
      return [f](int32_t iunt) {
        int32_t ierr = -1;
        f(ierr, iunt);
        return ierr;
      };
    };
    return {
        {"DICOR", e([](int32_t& r, int32_t u) { DICOR(1, 0, 0, 0, 0, r, u); })},
        {"DITOP", e([](int32_t& r, int32_t u) { DITOP(1, 9, 0, 0, nodes, 0, r, u); })},
        {"DISET", e([](int32_t& r, int32_t u) {
           DISET(FixedText(8, "S"), FixedText(30), nodes, 1, r, u);
         })},
        {"DICON", e([](int32_t& r, int32_t u) { DICON(1, 9, 0, 0, r, u); })},
        {"DILXC", e([](int32_t& r, int32_t u) {
           int32_t idum = 0;
           DILXC(1, idum, axes, r, u);
         })},
        {"DIRHA", e([](int32_t& r, int32_t u) { DIRHA(FixedText(8, "A"), 1, 1, 0, r, u); })},
        {"DIRHB", e([](int32_t& r, int32_t u) {
           DIRHB(FixedText(8, "C"), 0, 1, 0, 0, 0, FixedText(8), FixedText(8), r, u);
         })},
        {"DINIA", e([](int32_t& r, int32_t u) { DINIA(1, values, 1, r, u); })},
        {"DIENH", e([](int32_t& r, int32_t u) { DIENH(1, 9, 0, 0, 0, 0, 0, nullptr, r, u); })},
        {"DIENR", e([](int32_t& r, int32_t u) { DIENR(1, values, 1, r, u); })},
        {"DIECH", e([](int32_t& r, int32_t u) { DIECH(1, 9, 0, 0, 0, 0, nullptr, r, u); })},
        {"DIECR", e([](int32_t& r, int32_t u) { DIECR(1, values, 1, r, u); })},
        {"DIEGH", e([](int32_t& r, int32_t u) { DIEGH(1, 9, 0, 0, 1, 1, 0, 0, r, u); })},
        {"DIEGR", e([](int32_t& r, int32_t u) { DIEGR(1, 0, 0, 0, values, 1, r, u); })},
        {"DIGXH", e([](int32_t& r, int32_t u) { DIGXH(1, 9, 0, 1, 1, r, u); })},
        {"DIGXD", e([](int32_t& r, int32_t u) { DIGXD(1, axes, r, u); })},
        {"DIEXH", e([](int32_t& r, int32_t u) { DIEXH(1, 9, 0, 1, 1, r, u); })},
        {"DIEXD", e([](int32_t& r, int32_t u) { DIEXD(1, axes, r, u); })},
    };
  }
};

TEST_F(CommonFirstSteps, UnknownUnitAndPendingError) {
  for (const Routine& r : routines()) {
    // An unknown unit: every unit has the model to abandon; the line counts against the
    // unit that was current before.
    configure(1, 0);
    DISTAT.currentUnit = 2;
    expectRefused(std::string(r.name) + " unknown unit", 1, [&] { return r.call(99); }, 211,
                  {2, 2, 2}, errorLine(211, r.name, 99));
    EXPECT_EQ(DISTAT.currentUnit, 2) << r.name;
    EXPECT_EQ(DISTAT.messageCount(2), 1) << r.name;

    // An error pending on the unit: refused with no flag changed; the unit becomes current.
    configure(1, 0);
    DISTAT.raiseErrorFlag(2, 1);
    expectRefused(std::string(r.name) + " pending", 2, [&] { return r.call(unitNumber(2)); }, 32,
                  {0, 1, 0}, errorLine(32, r.name));
    EXPECT_EQ(DISTAT.currentUnit, 2) << r.name;
    EXPECT_EQ(DISTAT.messageCount(2), 1) << r.name;
  }
}

}  // namespace
}  // namespace kvr
