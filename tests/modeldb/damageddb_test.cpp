// Opening databases whose index file was damaged: the walk of a looping chain ends, and a
// lock word that is no process id is left alone.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "damageddbfixture.h"
#include "modeldb/dbopen.h"

namespace kvr {
namespace {

using test::DamagedDbFixture;

class DamagedDb : public DamagedDbFixture {};

// Page 2 (the user levels) names itself as the next page, "NONAME" is renamed so that no
// entry stops the walk, and the next-page word of page 1 claims more and more pages.
TEST_F(DamagedDb, ALoopingChainEndsWithinTheIndexFile) {
  for (const int32_t nextPage : {3, 100000, INT_MAX}) {
    SCOPED_TRACE("next-page word " + std::to_string(nextPage));
    damaged({{2, 4, 2}, {2, 14, codeOf('X')}, {1, 6, nextPage}});
    EXPECT_EQ(open("M1"), 1);
    EXPECT_EQ(messageLines().back(), " E4300: Cannot re-configure database");
    EXPECT_GE(indexChainReads, 1);
    EXPECT_LE(indexChainReads, indexPages());
    DBCLOS();
    EXPECT_EQ(index(1, 18), 0);
  }
}

// Word 18 holding no process id answers, as it stands, as another process's lock: never
// as this process's own (-1 negated would be 1) and never negated past the integer range.
TEST_F(DamagedDb, ALockWordBelowZeroIsAnotherProcesssLock) {
  struct Case {
    int32_t holder;
    int32_t answer;
  };
  const Case cases[] = {
      {INT_MIN, INT_MIN},
      {-1, -1},
      {-kOurPid, -kOurPid},
      {kOtherPid, -kOtherPid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("holder " + std::to_string(c.holder));
    damaged({{1, 18, c.holder}});
    ASSERT_EQ(open("M1"), 0);
    EXPECT_EQ(lock(), c.answer);
    LOCKCL(1);
    DBCLOS();
    EXPECT_EQ(index(1, 18), c.holder);
  }
}

}  // namespace
}  // namespace kvr
