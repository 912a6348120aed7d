#include "command/numsfx.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/nxttkn.h"

namespace kvr {
namespace {

class NumberSuffix : public ::testing::Test {
 protected:
  void SetUp() override { CHRSET(); }
};

TEST_F(NumberSuffix, TakesTheNumberWhenItsLastTwoDigitsAreTheKind) {
  struct Case {
    std::string text;
    int32_t kind;
    int32_t want;
  };
  for (const Case& c : {Case{"1201", 1, 12}, Case{"1201", 2, 0}, Case{"1260", 60, 12},
                        Case{"101", 1, 1}, Case{"01", 1, 0}, Case{"7", 7, 0}, Case{"NEW", 22, 0},
                        Case{"12A1", 1, 0}, Case{"", 1, 0}}) {
    std::vector<int32_t> line;
    for (char ch : c.text) line.push_back(codeOf(ch));
    line.resize(20, kBlankCode);
    int32_t result = -9;
    NUMSFX(line, static_cast<int32_t>(c.text.size()), c.kind, result);
    EXPECT_EQ(result, c.want) << '"' << c.text << "\" kind " << c.kind;
  }
}

}  // namespace
}  // namespace kvr
