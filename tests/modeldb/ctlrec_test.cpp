#include "modeldb/ctlrec.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>
#include <vector>

#include "dbopenfixture.h"
#include "modeldb/ctlwords.h"

namespace kvr {
namespace {

using test::DbOpenFixture;
using test::StopCalled;

constexpr int32_t kIndexPage = 100;

// A new database "M1" is open.
class CtlRec : public DbOpenFixture {
 protected:
  void SetUp() override {
    DbOpenFixture::SetUp();
    settings("Quorin.Telvora.database.page_size: SIZE4080\n");
    ASSERT_EQ(create("M1"), 0);
    seen.clear();
  }

  int32_t index(int32_t p, int32_t k) { return fileWord("M1.M71", kIndexPage, p, k); }

  static std::vector<int32_t> name(const std::string& s) { return codes(s, 6); }

  int32_t findUser(const std::string& s) {
    std::array<int32_t, 6> stored{};
    int32_t status = -9;
    CTLF01(name(s), stored, status);
    return status;
  }

  int32_t findProject(const std::string& s) {
    std::array<int32_t, 6> found{};
    int32_t status = -9;
    CTLF02(name(s), found, status);
    return status;
  }
};

TEST_F(CtlRec, FindsUserLevels) {
  EXPECT_EQ(findUser("SUPERV"), 2);  // the first entry in use
  EXPECT_EQ(findUser("GUEST"), -1);
  int32_t state = -9;
  G101W1(state);
  EXPECT_EQ(state, 0);
  EXPECT_EQ(findUser("NONAME"), 0);
  G101W1(state);
  EXPECT_EQ(state, 1);
  std::array<int32_t, 6> words{};
  G101W2(words);
  EXPECT_EQ(std::vector<int32_t>(words.begin(), words.end()), name("NONAME"));
}

TEST_F(CtlRec, AnExistingUserLevelIsNotAddedAgain) {
  CTLA01(name("SUPERV"), buffer);
  EXPECT_EQ(seen, (std::vector<Message>{{12, {1301, 0}}}));
  for (int32_t k = 21; k <= 28; ++k) EXPECT_EQ(index(2, k), 0) << k;

  CTLA01(name("GUEST"), buffer);
  EXPECT_EQ(index(2, 21), 1);
  EXPECT_EQ(index(2, 22), codeOf('G'));
  EXPECT_EQ(findUser("GUEST"), 0);
}

TEST_F(CtlRec, UserLevelsFillTheirPageThenChainANewOne) {
  // Page 2 holds 12 user levels: SUPERV, NONAME and ten more.
  for (int32_t i = 1; i <= 11; ++i) CTLA01(name("U" + std::to_string(i)), buffer);
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(index(2, 4), 6);  // the 12th level went to a new page behind page 2
  EXPECT_EQ(index(6, 3), 101);
  EXPECT_EQ(index(6, 5), 1);
  EXPECT_EQ(index(6, 6), codeOf('U'));
  EXPECT_EQ(findUser("U11"), 0);
  EXPECT_EQ(CTLREC.page(kUserLevelClass), 6);
  EXPECT_EQ(findUser("U10"), 0);
  EXPECT_EQ(CTLREC.page(kUserLevelClass), 2);
}

TEST_F(CtlRec, AChainThatLoopsIsWalkedOnce) {
  for (int32_t i = 1; i <= 10; ++i) CTLA01(name("U" + std::to_string(i)), buffer);
  setFileWord("M1.M71", kIndexPage, 2, 4, 2);  // the full page 2 names itself as next
  EXPECT_EQ(findUser("ABSENT"), -1);
}

// A loop through two pages ends the walk within the pages the index file holds, however
// many pages the next-page word claims.
TEST_F(CtlRec, ALoopOfTwoPagesEndsWithinTheFile) {
  for (int32_t i = 1; i <= 11; ++i) CTLA01(name("U" + std::to_string(i)), buffer);
  ASSERT_EQ(index(2, 4), 6);
  setFileWord("M1.M71", kIndexPage, 6, 4, 2);
  DBPARM.fileSlot(kIndexFileSlot).nextPage = std::numeric_limits<int32_t>::max();
  int64_t reads = 0;
  setPageReadObserver([&](int32_t, int32_t) { ++reads; });
  EXPECT_EQ(findUser("ABSENT"), -1);
  setPageReadObserver(nullptr);
  EXPECT_GE(reads, 2);
  EXPECT_LE(reads, static_cast<int64_t>(test::readFile(dir.file("M1.M71")).size()) / 400);
}

TEST_F(CtlRec, ProjectLevelsStayReachableFromTheChainHead) {
  ASSERT_EQ(findUser("NONAME"), 0);
  CTLA02(name("ALPHA1"), buffer, 1, 1, 1);
  CTLA02(name("ALPHA2"), buffer, 1, 1, 1);
  EXPECT_EQ(index(6, 3), 102);
  EXPECT_EQ(index(6, 4), 3);  // linked to the previous head
  EXPECT_EQ(index(7, 3), 102);
  EXPECT_EQ(index(7, 4), 6);
  EXPECT_EQ(index(2, 20), 7);  // word 8 of record 101 "NONAME"
  int32_t head = 0;
  G101W8(head);
  EXPECT_EQ(head, 7);

  EXPECT_EQ(findProject("ALPHA1"), 0);
  EXPECT_EQ(findProject("ALPHA2"), 0);
  EXPECT_EQ(findProject("NONAME"), 0);
  EXPECT_EQ(CTLREC.page(kProjectLevelClass), 3);
  EXPECT_EQ(findProject("ALPH"), -2);
  int32_t state = -9;
  G102W1(state);
  EXPECT_EQ(state, 0);  // nothing found: nothing loaded
  EXPECT_EQ(findProject("NON"), 3);
  EXPECT_EQ(CTLREC.page(kProjectLevelClass), 3);
  G102W1(state);
  EXPECT_EQ(state, 1);
}

TEST_F(CtlRec, SearchesNeedTheirParentLevel) {
  ASSERT_EQ(findUser("GUEST"), -1);
  EXPECT_EQ(findProject("NONAME"), -1);
  std::array<int32_t, 6> found{};
  int32_t status = -9;
  CTLF03(name("NONAME"), 5006, found, status);
  EXPECT_EQ(status, -1);
  CTLA02(name("X"), buffer, 1, 1, 1);
  CTLA03(buffer, std::vector<int32_t>{1}, name("X"), title(), 1, 2, 2003, 4, 5);
  EXPECT_EQ(seen, (std::vector<Message>{
                      {12, {2901, 0}}, {12, {3901, 0}}, {12, {2701, 0}}, {12, {3701, 0}}}));
}

TEST_F(CtlRec, ModelsAndTheirDirectories) {
  ASSERT_EQ(findUser("NONAME"), 0);
  ASSERT_EQ(findProject("NONAME"), 0);
  CTLA03(buffer, std::vector<int32_t>{2}, name("BEAM"), title(), 1, 2, 2003, 4, 5);
  // Model page 6, its directory page 7, linked to the model added at creation.
  EXPECT_EQ(index(6, 3), 103);
  EXPECT_EQ(index(6, 4), 4);
  EXPECT_EQ(index(6, 5), 2);
  EXPECT_EQ(index(6, 13), 7);
  EXPECT_EQ(index(7, 3), 105);
  EXPECT_EQ(CTLREC.page(kDirectoryClass), 7);

  std::array<int32_t, 6> found{};
  int32_t status = -9;
  CTLF03(name("NONAME"), 5000, found, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(CTLREC.page(kModelClass), 4);
  EXPECT_EQ(CTLREC.page(kDirectoryClass), 5);
  CTLF03(name("BE"), 5000, found, status);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(CTLREC.page(kDirectoryClass), 7);
  // Above type 5000 the newest model is taken, whatever the name.
  CTLF03(name("OTHER"), 5006, found, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(std::vector<int32_t>(found.begin(), found.end()), name("BEAM"));
}

TEST_F(CtlRec, DirectoryHoldsThirtyTwoKeys) {
  for (int32_t key = 1; key <= 32; ++key) DIRSET(key, 100 + key);
  DIRSET(5, 55);  // a present key: its page alone changes
  int32_t page = -9;
  DSDIRF(5, page);
  EXPECT_EQ(page, 55);
  EXPECT_EQ(CTLREC.word(kDirectoryClass, 13), 5);
  EXPECT_EQ(CTLREC.word(kDirectoryClass, 15), 0);
  DSDIRF(40, page);
  EXPECT_EQ(page, 0);
  EXPECT_THROW(DIRSET(40, 7), StopCalled);
  EXPECT_EQ(seen, (std::vector<Message>{{12, {3301, 40}}}));
}

TEST_F(CtlRec, LoadingFromAPageOfAnotherClassStops) {
  PAGRD(kUserLevelClass, 2, PGCUR.page());
  EXPECT_THROW(CTLGET(kProjectLevelClass, 1), StopCalled);
  EXPECT_EQ(seen, (std::vector<Message>{{12, {1201, 101}}}));
}

TEST_F(CtlRec, DatasetEndRecordsItsFirstPage) {
  DBPARM.fileSlot(kDataFileSlot).nextPage = 9;
  DBPARM.fileSlot(kDataFileSlot).freeHead = 4;
  std::vector<int32_t> scratch(2 * 4080);
  DSCLOS(scratch, 1, 5, 7);
  EXPECT_EQ(fileWord("M1.V71", 4080, 1, 6), 9);
  EXPECT_EQ(fileWord("M1.V71", 4080, 1, 7), 4);
  EXPECT_EQ(fileWord("M1.V71", 4080, 1, 4), 4080);
  EXPECT_EQ(index(5, 5), 5);
  EXPECT_EQ(index(5, 6), 7);
}

TEST_F(CtlRec, WriteBackReadsThePageOnlyWhenNotHeld) {
  ASSERT_EQ(findUser("NONAME"), 0);  // record 101 from page 2, entry 2
  // Page 2 is held: a word changed in the buffer reaches the file with the record.
  PAGRD(kUserLevelClass, 2, PGCUR.page());
  PGCUR.word(30) = 77;
  CRPUT(kUserLevelClass);
  EXPECT_EQ(index(2, 30), 77);
  // Another page is held: page 2 is read first, so the buffer's words are not written.
  PAGRD(kProjectLevelClass, 3, PGCUR.page());
  PGCUR.word(30) = 88;
  S101W8(42);
  CRPUT(kUserLevelClass);
  EXPECT_EQ(index(2, 20), 42);
  EXPECT_EQ(index(2, 30), 77);
  EXPECT_EQ(index(3, 30), 0);
}

}  // namespace
}  // namespace kvr
