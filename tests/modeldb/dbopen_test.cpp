#include "modeldb/dbopen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "dbopenfixture.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dbpage.h"
#include "platform/stop.h"
#include "plot/pltdsp.h"
#include "runtime/console.h"
#include "runtime/filcls.h"
#include "runtime/fouvre.h"
#include "runtime/startup.h"

namespace kvr {
namespace {

using test::DbOpenFixture;
using test::readFile;
using test::readLines;
using test::StopCalled;
using test::writeFile;

constexpr int32_t kIndexPage = 100;
constexpr int32_t kSize8160 = 8160;

class DbOpen : public DbOpenFixture {
 protected:
  int32_t index(int32_t p, int32_t k) { return fileWord("M1.M71", kIndexPage, p, k); }
  int32_t data(int32_t k, int32_t size = kSize8160) { return fileWord("M1.V71", size, 1, k); }
  void setIndex(int32_t p, int32_t k, int32_t v) { setFileWord("M1.M71", kIndexPage, p, k, v); }
  void setData(int32_t k, int32_t v, int32_t size = kSize8160) {
    setFileWord("M1.V71", size, 1, k, v);
  }

  // A closed database "M1" of 8160-word data pages.
  void createClosed() {
    settings("Quorin.Telvora.database.page_size: SIZE8160\n");
    ASSERT_EQ(create("M1"), 0);
    DBCLOS();
    seen.clear();
    named.clear();
  }

  // Expects word K.. of page P of the index file to hold WORDS.
  void expectIndex(int32_t p, int32_t k, const std::vector<int32_t>& words) {
    for (size_t i = 0; i < words.size(); ++i) {
      EXPECT_EQ(index(p, k + static_cast<int32_t>(i)), words[i])
          << "page " << p << " word " << k + i;
    }
  }

  static std::vector<int32_t> name(const std::string& s) { return codes(s, 6); }
};

TEST_F(DbOpen, CreateWritesTheHeaderPagesAndTheLevels) {
  settings("Quorin.Telvora.database.page_size: SIZE8160\n");
  ASSERT_EQ(create("M1"), 0);

  EXPECT_EQ(readFile(dir.file("M1.M71")).size(), 2000u);
  expectIndex(1, 1, {0, 1, 101, 100, 0, 6, 0, 2, 5006, 5000, 1, 5, 3, 2024, 14, 30, 15, kOurPid});
  for (int32_t k = 19; k <= 100; ++k) EXPECT_EQ(index(1, k), 0) << k;

  std::vector<int32_t> page2{2, 101, 0, 1};
  for (int32_t c : name("SUPERV")) page2.push_back(c);
  page2.insert(page2.end(), {0, 1});
  for (int32_t c : name("NONAME")) page2.push_back(c);
  page2.push_back(3);
  expectIndex(2, 2, page2);
  EXPECT_EQ(index(2, 21), 0);

  std::vector<int32_t> page3{3, 102, 0, 1};
  for (int32_t c : name("NONAME")) page3.push_back(c);
  page3.insert(page3.end(), {4, 1, 1, 1});
  expectIndex(3, 2, page3);

  std::vector<int32_t> page4{4, 103, 0, 1};
  for (int32_t c : name("NONAME")) page4.push_back(c);
  page4.insert(page4.end(), {0, 5});
  expectIndex(4, 2, page4);
  expectIndex(4, 23, title());
  expectIndex(4, 48, {5, 3, 2024, 14, 30});

  expectIndex(5, 2, {5, 105});
  for (int32_t k = 4; k <= 100; ++k) EXPECT_EQ(index(5, k), 0) << k;

  EXPECT_EQ(readFile(dir.file("M1.V71")).size(), 4u * kSize8160);
  const std::vector<int32_t> header{0,    1, 2, 8160, 0,    2,  0,  0, 5006,
                                    5000, 1, 5, 3,    2024, 14, 30, 15};
  for (int32_t k = 1; k <= kSize8160; ++k) {
    EXPECT_EQ(data(k), k <= 17 ? header[static_cast<size_t>(k - 1)] : 0) << k;
  }

  EXPECT_EQ(lock(), 1);
  EXPECT_EQ(DBLEVL.numberingMode, 1);
  EXPECT_EQ(ELTTAB.word(1, EltTab::kEntryLength), 29);  // HE8 in layout 5006

  EXPECT_EQ(create("M1"), 1);
  EXPECT_EQ(seen, (std::vector<Message>{{13, {}}, {14, {}}}));
  // Both messages name the model, as its 20 codes.
  const std::string name = "M1" + std::string(18, ' ');
  EXPECT_EQ(named, (std::vector<std::pair<int32_t, std::string>>{{13, name}, {14, name}}));
}

TEST_F(DbOpen, OwnLockIsTakenAndReleased) {
  createClosed();
  EXPECT_EQ(index(1, 18), 0);

  EXPECT_EQ(open("M1"), 0);
  EXPECT_EQ(index(1, 18), kOurPid);
  EXPECT_EQ(lock(), 1);
  EXPECT_EQ(DBPARM.fileSlot(kDataFileSlot).pageSize, kSize8160);
  DBCLOS();
  EXPECT_EQ(index(1, 18), 0);
  EXPECT_TRUE(seen.empty());
}

TEST_F(DbOpen, LockOfAnotherProcessIsLeftAsItIs) {
  createClosed();
  setIndex(1, 18, kOtherPid);
  EXPECT_EQ(open("M1"), 0);
  EXPECT_EQ(index(1, 18), kOtherPid);
  EXPECT_EQ(lock(), -kOtherPid);
  DBCLOS();
  EXPECT_EQ(index(1, 18), kOtherPid);
}

// A lock that another process took over while the database was open (after the word
// was cleared behind this process's back) stays with that process when this one closes.
TEST_F(DbOpen, ALockTakenOverMeanwhileStaysWithItsHolder) {
  createClosed();
  ASSERT_EQ(open("M1"), 0);
  ASSERT_EQ(index(1, 18), kOurPid);
  setIndex(1, 18, kOtherPid);
  DBCLOS();
  EXPECT_EQ(index(1, 18), kOtherPid);
}

// Every end of the run releases this process's own lock, and only that.
TEST_F(DbOpen, EndsOfTheRunReleaseOnlyTheOwnLock) {
  struct Case {
    const char* end;
    int32_t holder;    // word 18 before the open
    int32_t expected;  // word 18 after the end
  };
  const Case cases[] = {
      {"STOPRN", 0, 0},
      {"STOPRN", kOtherPid, kOtherPid},
      {"stop", 0, 0},
      {"stop", kOtherPid, kOtherPid},
  };
  createClosed();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.end) + " holder " + std::to_string(c.holder));
    setIndex(1, 18, c.holder);
    ASSERT_EQ(open("M1"), 0);
    ASSERT_EQ(index(1, 18), c.holder == 0 ? kOurPid : c.holder);
    if (std::string(c.end) == "STOPRN") {
      EXPECT_THROW(STOPRN(1), StopCalled);
    } else {
      EXPECT_THROW(processStop(1), StopCalled);
    }
    EXPECT_EQ(index(1, 18), c.expected);
    IOUNIT.openFlags = {};  // the stop closed every unit
  }
}

TEST_F(DbOpen, RefusedOpens) {
  struct Case {
    const char* what;
    int32_t indexType;  // word 9 of index page 1 (0: as created)
    int32_t dataType;   // word 9 of data page 1 (0: as created)
    int32_t kind;       // word 8 of index page 1 (0: as created)
    std::vector<Message> messages;
    const char* line;  // an error line expected, or ""
  };
  const Case cases[] = {
      {"index type 4999", 4999, 0, 0, {{31, {4999}}}, ""},
      {"index type 5007", 5007, 0, 0, {{31, {5007}}}, ""},
      {"data type 5005", 0, 5005, 0, {{32, {5006, 5005}}}, ""},
      {"database kind 3", 0, 0, 3, {}, " E4300: Cannot re-configure database"},
  };
  createClosed();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(create("M2"), 0);  // a fresh copy of the files for each case
    DBCLOS();
    std::remove(dir.file("M1.M71").c_str());
    std::remove(dir.file("M1.V71").c_str());
    std::rename(dir.file("M2.M71").c_str(), dir.file("M1.M71").c_str());
    std::rename(dir.file("M2.V71").c_str(), dir.file("M1.V71").c_str());
    if (c.indexType != 0) setIndex(1, 9, c.indexType);
    if (c.dataType != 0) setData(9, c.dataType);
    if (c.kind != 0) setIndex(1, 8, c.kind);
    seen.clear();
    EXPECT_EQ(open("M1"), 1);
    EXPECT_EQ(seen, c.messages);
    if (*c.line != '\0') {
      EXPECT_EQ(messageLines().back(), c.line);
    }
    DBCLOS();
  }
}

TEST_F(DbOpen, MissingOrEmptyDataFile) {
  createClosed();
  std::rename(dir.file("M1.V71").c_str(), dir.file("M1.SAVED").c_str());
  EXPECT_EQ(open("M1"), 1);
  EXPECT_EQ(seen, (std::vector<Message>{{2, {}}}));
  EXPECT_EQ(named, (std::vector<std::pair<int32_t, std::string>>{{2, "M1"}}));

  // An empty data file reads as a page of zeros: its type code 0 is refused, and no
  // transfer dialogue is shown.
  writeFile(dir.file("M1.V71"), "");
  seen.clear();
  EXPECT_EQ(open("M1"), 1);
  EXPECT_EQ(seen, (std::vector<Message>{{32, {5006, 0}}}));
  EXPECT_EQ(console().find('='), std::string::npos);
}

TEST_F(DbOpen, UnrecordedPageSizeComesFromSetting8) {
  for (const char* setting : {"", "Quorin.Telvora.pre_KAVRO63.page_size: SIZE4080\n"}) {
    SCOPED_TRACE(setting);
    settings("");
    DBLEVL.hostPageSize = 2040;
    ASSERT_EQ(create("P"), 0);
    DBCLOS();
    setFileWord("P.V71", 2040, 1, 4, 0);
    settings(setting);
    EXPECT_EQ(open("P"), 0);
    EXPECT_EQ(CLSPSZ(1), *setting == '\0' ? 2040 : 4080);
    DBCLOS();
    std::remove(dir.file("P.M71").c_str());
    std::remove(dir.file("P.V71").c_str());
  }
}

TEST_F(DbOpen, CreateRefusesAnInvalidPageSize) {
  DBLEVL.hostPageSize = 3000;
  EXPECT_EQ(create("M3"), 1);
  EXPECT_EQ(seen, (std::vector<Message>{{43, {3000}}}));
}

TEST_F(DbOpen, EndOfSessionEndsTheArchive) {
  const std::vector<int32_t> arch = codes("arch.tla", 8);
  int32_t status = -9;
  FOUVRE(9, arch, 8, 1, 1, status);
  ASSERT_EQ(status, 0);
  DBENDS();
  EXPECT_EQ(readLines(dir.file("arch.tla")), (std::vector<std::string>{" 9999"}));
  EXPECT_EQ(IOUNIT.openFlag(9), 0);

  // On a unit opened for reading the end record cannot be written: E4430 first.
  FOUVRE(9, arch, 8, 1, 4, status);
  ASSERT_EQ(status, 0);
  DBENDS();
  std::vector<std::string> lines = messageLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], " E4430: Cannot write to archive file");
  EXPECT_EQ(lines.back(), " Error detected on write");
  EXPECT_EQ(readLines(dir.file("arch.tla")), (std::vector<std::string>{" 9999"}));
  EXPECT_EQ(IOUNIT.openFlag(9), 0);
}

TEST_F(DbOpen, PlotCloseRequest) {
  // A record reaching the console while the graphics record count is set stops the
  // run: that shows whether the close request was sent.
  ASSERT_EQ(PLTDEV.outputMode, kOutputConsole);
  PLTDEV.recordCount = 1;
  EXPECT_NO_THROW(GFXRQ2(2));
  EXPECT_THROW(GFXRQ2(1), StopCalled);
  EXPECT_THROW(GFXCLS(1), StopCalled);
}

TEST_F(DbOpen, CountersWrittenIntoIndexPage1) {
  createClosed();
  ASSERT_EQ(open("M1"), 0);
  DBPARM.fileSlot(kIndexFileSlot).nextPage = 9;
  DBPARM.fileSlot(kIndexFileSlot).freeHead = 7;
  DBCNTW();
  EXPECT_EQ(index(1, 6), 9);
  EXPECT_EQ(index(1, 7), 7);
  EXPECT_EQ(index(1, 18), kOurPid);
}

TEST_F(DbOpen, ModelStateAndCounters) {
  createClosed();
  ASSERT_EQ(open("M1"), 0);
  CTLREC.word(kModelClass, 13) = 40;
  CTLREC.word(kModelClass, 14) = 50;
  CTLREC.word(kModelClass, 15) = 3;
  int32_t state = 0, nodes = 0, elements = 0, cases = 0;
  DBSTAT(state);
  DBCTRW(nodes, elements, cases);
  EXPECT_EQ(state, 1);
  EXPECT_EQ(nodes, 40);
  EXPECT_EQ(elements, 50);
  EXPECT_EQ(cases, 3);
}

// Every start-up begins the pseudo-units afresh: after the end of a run that wrote
// through them, the next run's first slot write is slot 1 again and its stream starts
// at record 1 (records of 100 words, 3 per slot).
TEST_F(DbOpen, EachStartUpBeginsThePseudoUnitsAfresh) {
  for (int32_t run = 1; run <= 2; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    GFXDEF();
    DBPARM.recordLength = 100;
    DBPARM.scratchSize1 = 600;
    DBPARM.scratchSize2 = 300;
    std::vector<int32_t> page(600, run);
    page[4] = 150;  // the used length: two stream records
    EXPECT_EQ(PAGDSP(page, 1, 0, 1, -1), 1);
    EXPECT_EQ(PAGDSP(page, 1, 0, 1, -4), 2);
    std::vector<int32_t> back(600, 0);
    EXPECT_EQ(PAGDSP(back, 1, 0, 0, -1), 3);
    EXPECT_EQ(back[299], run);
    // The end of the run closes the scratch files, which removes them.
    FILCLS(12);
    FILCLS(13);
  }
}

}  // namespace
}  // namespace kvr
