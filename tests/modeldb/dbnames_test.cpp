#include "runtime/dbnames.h"

#include <gtest/gtest.h>

#include <string>

namespace kvr {
namespace {

std::string current(void (*routine)(FText)) {
  FixedText ext(4, "xxxx");
  routine(ext);
  return std::string(ext.view());
}

std::string currentOfKind(int32_t kind) {
  FixedText ext(4, "xxxx");
  EXTMV(ext, kind);
  return std::string(ext.view());
}

std::string older(void (*routine)(FText, FText), const std::string& old, int32_t length = 4) {
  FixedText in(length, old);
  FixedText ext(4, "xxxx");
  routine(ext, in);
  return std::string(ext.view());
}

TEST(Extensions, CurrentGeneration) {
  EXPECT_EQ(current(EXTG71), ".G71");
  EXPECT_EQ(currentOfKind(0), ".M71");
  EXPECT_EQ(currentOfKind(1), ".V71");
  EXPECT_EQ(currentOfKind(2), "    ");
  EXPECT_EQ(currentOfKind(-1), "    ");
}

TEST(Extensions, GenerationChainsStepBackOneGeneration) {
  const char* digits[] = {"71", "70", "64", "63", "62", "61", "60", "51", "50", "40", "20"};
  for (size_t k = 0; k + 1 < std::size(digits); ++k) {
    const std::string from = digits[k];
    const std::string to = digits[k + 1];
    EXPECT_EQ(older(EXTGPR, ".G" + from), ".G" + to);
    EXPECT_EQ(older(EXTMVP, ".M" + from), ".M" + to);
    EXPECT_EQ(older(EXTMVP, ".V" + from), ".V" + to);
  }
}

TEST(Extensions, EndOfChainAndForeignTextsGiveBlanks) {
  struct Case {
    void (*routine)(FText, FText);
    std::string old;
    int32_t length;
  };
  const Case cases[] = {
      {EXTGPR, ".G20", 4}, {EXTGPR, ".M71", 4},  {EXTGPR, ".g40", 4},  {EXTGPR, "", 4},
      {EXTMVP, ".M20", 4}, {EXTMVP, ".V20", 4},  {EXTMVP, ".G71", 4},  {EXTMVP, ".V4", 3},
      {EXTMVP, "V40", 4},  {EXTMVP, ".V40x", 5}, {EXTGPR, " .G4", 4},
  };
  for (const Case& c : cases) EXPECT_EQ(older(c.routine, c.old, c.length), "    ") << c.old;
}

TEST(Extensions, OldTextIsComparedBlankPadded) {
  EXPECT_EQ(older(EXTGPR, ".G40", 8), ".G20");
  EXPECT_EQ(older(EXTMVP, ".V63", 12), ".V62");
}

TEST(Extensions, OutputMayBeTheInputText) {
  FixedText ext(4, ".G71");
  int32_t steps = 0;
  for (; !ext.text().isBlank(); ++steps) EXTGPR(ext, ext);
  EXPECT_EQ(steps, 11);
  FixedText data(4, ".V71");
  EXTMVP(data, data);
  EXPECT_EQ(data.view(), ".V70");
}

TEST(Extensions, NulTerminatedForms) {
  FixedText ext(5, "xxxxx");
  EXTGNL(ext);
  EXPECT_EQ(std::string(ext.view()), std::string(".G71\0", 5));
  EXTVNL(ext);
  EXPECT_EQ(std::string(ext.view()), std::string(".V71\0", 5));
}

}  // namespace
}  // namespace kvr
