#include "dbinterface/dipsl.h"

#include <gtest/gtest.h>

#include <bit>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "loaderfixture.h"
#include "modeldb/ctlrec.h"
#include "modeldb/ctlwords.h"

namespace kvr {
namespace {

std::vector<int32_t> nameCodes(const std::string& name) {
  std::vector<int32_t> codes(6, kBlankCode);
  for (size_t k = 0; k < name.size() && k < codes.size(); ++k) codes[k] = codeOf(name[k]);
  return codes;
}

// A record of TAG, NAME (6 codes), INTEGER and, for a combination, the factor's word.
std::vector<int32_t> named(int32_t tag, const std::string& name, int32_t integer,
                           std::optional<float> factor = std::nullopt) {
  std::vector<int32_t> r = {tag};
  for (int32_t c : nameCodes(name)) r.push_back(c);
  r.push_back(integer);
  if (factor) r.push_back(std::bit_cast<int32_t>(*factor));
  return r;
}

class ScanAndCombination : public test::LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    startAndCreate();
  }

  // The scan or combination page recorded in the current load case, 0 for none.
  static int32_t recordedInLoadCase() {
    int32_t first = -1;
    G104W9(first);
    return first;
  }
};

TEST_F(ScanAndCombination, ScanEntriesAndTheirCountOnPageOne) {
  ASSERT_EQ(loadCase("SCAN1"), 0);
  beginDataset(31);
  raw({-1, 3});
  raw(named(-2, "LOAD1", 0));
  raw(named(-2, "LOAD2", 2));
  endDataset();
  int32_t tag = 0;
  ASSERT_EQ(load(DIPSL, tag), 0);
  EXPECT_EQ(tag, -3);
  const int32_t first = recordedInLoadCase();
  ASSERT_GT(first, 0);
  EXPECT_EQ(recorded(100), 0) << "recorded in the load case, not the directory";
  const DbPage p = page(first);
  EXPECT_EQ(words(p, 3, 3), (std::vector<int32_t>{100, -1, 57}));
  EXPECT_EQ(words(p, 39, 3), (std::vector<int32_t>{-2, 2, 3}));
  std::vector<int32_t> entries = nameCodes("LOAD1");
  for (int32_t w : {-1, 0}) entries.push_back(w);
  for (int32_t w : nameCodes("LOAD2")) entries.push_back(w);
  for (int32_t w : {2, 0}) entries.push_back(w);
  EXPECT_EQ(words(p, 42, 16), entries);

  // Over two pages: 249 entries of 8 words fill page 1 from word 42 up to word 2033; the
  // count is written into page 1 at the end.
  ASSERT_EQ(loadCase("SCAN2"), 0);
  beginDataset(31);
  raw({-1, 0});
  for (int32_t k = 1; k <= 251; ++k) raw(named(-2, "L", k));
  endDataset();
  ASSERT_EQ(load(DIPSL, tag), 0);
  const DbPage one = page(recordedInLoadCase());
  EXPECT_EQ(words(one, 39, 3), (std::vector<int32_t>{-2, 251, 0}));
  EXPECT_EQ(one.word(5), 2033);
  const DbPage two = page(one.word(4));
  EXPECT_EQ(two.word(5), 38 + 16);
  EXPECT_EQ(two.word(39), codeOf('L'));
  EXPECT_EQ(two.word(45), 250);
}

TEST_F(ScanAndCombination, CombinationThenNeitherScanNorCombinationAgain) {
  ASSERT_EQ(loadCase("COMB"), 0);
  beginDataset(29);
  raw(named(-1, "LOAD1", 0, 1.5f));
  endDataset();
  int32_t tag = 0;
  ASSERT_EQ(load(DIPCL, tag), 0);
  EXPECT_EQ(tag, -3);
  const DbPage p = page(recordedInLoadCase());
  std::vector<int32_t> expected = {1};
  for (int32_t w : nameCodes("LOAD1")) expected.push_back(w);
  for (int32_t w : {-1, 0, 0x3FC00000}) expected.push_back(w);
  EXPECT_EQ(words(p, 39, 10), expected);
  EXPECT_EQ(p.word(5), 48);

  for (const auto& [key, code] : {std::pair{31, 263}, std::pair{29, 244}}) {
    beginDataset(key);
    raw(named(-1, "LOAD2", 0, 2.0f));
    endDataset();
    EXPECT_EQ(load(key == 31 ? DIPSL : DIPCL, tag), code);
    EXPECT_EQ(messages().back(), errorLine(code, "DILIM"));
  }
}

TEST_F(ScanAndCombination, Refusals) {
  struct Case {
    const char* what;
    int32_t key;
    std::vector<std::vector<int32_t>> records;
    bool end;
    int32_t code;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"scan of one entry", 31, {{-1, 2}, named(-2, "LOAD1", 0)}, true, 264,
       " DI264 : DILIM : NO LOADCASES FOR SCAN                              :"},
      {"scan without records", 31, {}, true, 264, errorLine(264, "DILIM")},
      {"scan head of tag -2", 31, {{-2, 2}}, true, 299, errorLine(299, "DIPSL", 9200)},
      {"scan entry of tag -1", 31, {{-1, 2}, named(-1, "LOAD1", 0)}, true, 299,
       errorLine(299, "DIPSL", 9200)},
      {"scan cut short", 31, {{-1, 2}, named(-2, "LOAD1", 0)}, false, 225,
       errorLine(225, "DILIM", unit(kA))},
      {"empty combination", 29, {}, true, 245, errorLine(245, "DILIM")},
      {"combination of tag -2", 29, {named(-2, "LOAD1", 0, 1.0f)}, true, 299,
       errorLine(299, "DIPCL", 9200)},
  };
  int32_t n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(loadCase("LC" + std::to_string(++n)), 0);
    dataset(c.key, c.records, !c.end);
    int32_t tag = 0;
    EXPECT_EQ(load(c.key == 31 ? DIPSL : DIPCL, tag), c.code);
    EXPECT_EQ(messages().back(), c.line);
    EXPECT_EQ(recordedInLoadCase(), 0);
  }
}

}  // namespace
}  // namespace kvr
