// Damaged model files at the session start: copies of the query model with chosen words
// changed open with status 2 or open without reading what the store does not hold, and
// never end the process; a failed start leaves no session behind.
#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "modeldb/arrdef.h"
#include "modeldb/entrsl.h"
#include "modeldb/setrec.h"
#include "platform/stop.h"
#include "queryfixture.h"
#include "runtime/modcnt.h"

namespace kvr::test {
namespace {

// The words of a saved model file, addressed by named array, record and word as the load
// reads them: page 1 the header with the array counts from word 11, the arrays' records
// in order from page 2 on.
class ModelWords {
 public:
  explicit ModelWords(const std::string& path) : path_(path) {
    const std::string bytes = readFile(path);
    words_.resize(bytes.size() / 4);
    std::copy_n(bytes.data(), words_.size() * 4, reinterpret_cast<char*>(words_.data()));
  }

  int32_t count(int32_t k) const { return at(kCountsBefore + k); }

  // Word W of record J of named array K.
  int32_t& word(int32_t k, int32_t j, int32_t w) {
    int64_t p = kPageWords;
    for (int32_t i = 1; i < k; ++i) p += int64_t{count(i)} * arrayDef(i).shape.width;
    return words_.at(static_cast<size_t>(p + int64_t{j - 1} * arrayDef(k).shape.width + w - 1));
  }

  // MODCNT word M as saved: word M - 2 of the values of attribute entry (-1, 1).
  int32_t& state(int32_t m) {
    for (int32_t i = 1; i <= count(kArrEntries); ++i) {
      if (word(kArrEntries, i, 1) == -1 && word(kArrEntries, i, 2) == 1) {
        return word(kArrIntegerValues, word(kArrEntries, i, 3) + m - 3, 1);
      }
    }
    ADD_FAILURE() << "no saved state record";
    return words_.front();
  }

  void save() const {
    writeFile(path_, std::string(reinterpret_cast<const char*>(words_.data()), words_.size() * 4));
  }

 private:
  static constexpr int64_t kPageWords = 2000;
  static constexpr int32_t kCountsBefore = 10;
  int32_t at(int64_t w) const { return words_.at(static_cast<size_t>(w - 1)); }

  std::string path_;
  std::vector<int32_t> words_;
};

class DamagedModel : public QuerySession {
 protected:
  // A copy of the query model named STEM + ".DMP", changed by DAMAGE.
  template <class Damage>
  std::string damaged(const std::string& stem, Damage damage) {
    const std::string path = dir.file(stem + ".DMP");
    std::filesystem::copy_file(model, path, std::filesystem::copy_options::overwrite_existing);
    ModelWords words(path);
    damage(words);
    words.save();
    return path;
  }

  static std::array<int32_t, 20> sizes() {
    std::array<int32_t, 20> s{};
    USIZE(s);
    return s;
  }
  static std::array<int32_t, 50> wideSizes() {
    std::array<int32_t, 50> s{};
    USIZ2(s);
    return s;
  }
};

// The copy unchanged is the good model: the helper finds the words the damages change.
TEST_F(DamagedModel, TheWordsFoundAreTheModelsOwn) {
  ModelWords words(model);
  EXPECT_EQ(words.state(kCntSets), QueryModel::kAllStoredSets);
  EXPECT_EQ(words.state(kCntHighestNode), QueryModel::kAllNodes);
  EXPECT_EQ(words.count(kArrSets), QueryModel::kAllStoredSets);
  EXPECT_EQ(words.word(kArrSets, 6, 1), 5);  // COMPOS begins at member block 5
}

// A count of the saved state above the records its arrays hold refuses the file, which
// then leaves no session: every size 0, as before any opening.
TEST_F(DamagedModel, ACountBeyondTheStoredRecordsRefusesTheFile) {
  struct Case {
    const char* what;
    int32_t word;  // MODCNT word raised by one
  };
  const Case cases[] = {
      {"points", kCntPoints},          {"lines", kCntLines},
      {"surfaces", kCntSurfaces},      {"bodies", kCntBodies},
      {"shapes", kCntShapes},          {"nodes", kCntHighestNode},
      {"elements", kCntHighestElement}, {"sets", kCntSets},
      {"kind 42", kCntKind42},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = damaged("count", [&](ModelWords& w) { ++w.state(c.word); });
    ASSERT_EQ(open(model, 2 * kN), 0);
    ASSERT_NE(sizes(), (std::array<int32_t, 20>{}));
    gLines.clear();
    EXPECT_EQ(open(path, 4 * kN), 2);
    EXPECT_EQ(sizes(), (std::array<int32_t, 20>{}));
    EXPECT_EQ(wideSizes(), (std::array<int32_t, 50>{}));
    EXPECT_NE(std::find(gLines.begin(), gLines.end(), "E2190: Array count error"), gLines.end());
  }
  // The good model opens again afterwards.
  EXPECT_EQ(open(model, 2 * kN), 0);
  EXPECT_EQ(sizes()[8], QueryModel::kAllStoredSets - 1);
}

// Any failed start after a good one leaves no session: a file that is no model, one that
// cannot be opened, and a name too long.
TEST_F(DamagedModel, AFailedStartForgetsTheEarlierModel) {
  const std::string zero = damaged("zero", [](ModelWords&) {});
  setFileWord(zero, 1, 0);
  const std::string names[] = {zero, dir.file("missing.DMP"), std::string(129, 'x')};
  for (const std::string& name : names) {
    SCOPED_TRACE(name.substr(0, 40));
    ASSERT_EQ(open(model, 2 * kN), 0);
    EXPECT_NE(open(name, 2 * kN), 0);
    EXPECT_EQ(sizes(), (std::array<int32_t, 20>{}));
  }
}

// A set's member chain that names a block the store does not hold, within word 54: the
// set-up of the condition on that set stops at the blocks held instead of ending the run
// (the stop hook would throw here).
TEST_F(DamagedModel, ASetChainPastTheHeldBlocksEndsThere) {
  const std::string path = damaged("chain", [](ModelWords& w) {
    const int32_t held = w.count(kArrMemberBlocks);
    w.state(kCntSetBlockTop) = held + 10;
    w.word(kArrSets, 6, 1) = held + 5;  // COMPOS, the set of condition 4
  });
  ASSERT_EQ(open(path, 2 * kN), 0);
  EXPECT_EQ(MODCNT.word(kCntSetBlockTop), REGHED.ARRLEN(kArrMemberBlocks) + 10);
  // The other conditions are set up as in the good model: FIX (1) marks every node.
  EXPECT_EQ(nodeRecord(20)[0] & 5, 5);
}

// SETNDL itself: a set above the records held, and a chain past the blocks held.
TEST_F(DamagedModel, SetNodesStopAtTheRecordsHeld) {
  start();
  std::vector<int32_t> list(4 * kN);
  int32_t count = -1, stat = 0;
  SETNDL(REGHED.ARRLEN(kArrSets) + 1, count, list, static_cast<int32_t>(list.size()), stat);
  EXPECT_EQ(count, 0);

  MODCNT.word(kCntSets) = REGHED.ARRLEN(kArrSets) + 5;
  SETNDL(REGHED.ARRLEN(kArrSets) + 1, count, list, static_cast<int32_t>(list.size()), stat);
  EXPECT_EQ(count, 0);

  MODCNT.word(kCntSetBlockTop) = REGHED.ARRLEN(kArrMemberBlocks) + 3;
  SetRec r;
  RECIO(1, kArrSets, 2, r.words);
  r.word(kSetFirstBlock) = REGHED.ARRLEN(kArrMemberBlocks) + 2;
  RECIO(-1, kArrSets, 2, r.words);
  SETNDL(2, count, list, static_cast<int32_t>(list.size()), stat);
  EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace kvr::test
