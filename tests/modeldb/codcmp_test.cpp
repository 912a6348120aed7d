#include "modeldb/codcmp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/codtxt.h"

namespace kvr {
namespace {

std::vector<int32_t> codes(const std::string& text) {
  std::vector<int32_t> line;
  for (char c : text) line.push_back(codeOf(c));
  return line;
}

int32_t compare(const std::string& stored, const std::string& pattern) {
  const std::vector<int32_t> a = codes(stored);
  const std::vector<int32_t> b = codes(pattern);
  int32_t result = 99;
  CODCMP(a, 1, static_cast<int32_t>(a.size()), b, 1, static_cast<int32_t>(b.size()), result);
  return result;
}

TEST(Codcmp, ExactAbbreviatedAndDifferent) {
  struct Case {
    const char* stored;
    const char* pattern;
    int32_t result;
  };
  const Case cases[] = {
      {"SUPERV ", "SUP", 3},       // the pattern abbreviates the stored word
      {"SUPERV ", "SUPERV", 0},    // the stored word's next code is a blank: exact
      {"SUPERV ", "SUPERVX", -1},  // a different code
      {"SUPERV ", "", -1},         // an empty pattern
      {"SUPERV ", "SUQ", -1},
      {"SUPERV", "SUPERV", 0},    // both run out together
      {"SUPERV", "SUPERV ", 0},   // the pattern goes on with a blank
      {"SUPERV", "SUPERVX", -1},  // the pattern goes on with another code
      {"", "", 0},                // an empty stored word
      {"", " X", 0},
      {"", "X", -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(compare(c.stored, c.pattern), c.result)
        << '"' << c.stored << "\" \"" << c.pattern << '"';
  }
}

TEST(Codcmp, ComparesTheGivenRangesOnly) {
  const std::vector<int32_t> a = codes("xxNONAME ");
  const std::vector<int32_t> b = codes("  NON  ");
  int32_t result = 99;
  CODCMP(a, 3, 9, b, 3, 5, result);
  EXPECT_EQ(result, 3);
  // A range that runs past the end of its line reads only what the line holds.
  CODCMP(a, 3, 40, b, 3, 5, result);
  EXPECT_EQ(result, 3);
}

}  // namespace
}  // namespace kvr
