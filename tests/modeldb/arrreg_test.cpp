#include "modeldb/arrreg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../runtime/consolefixture.h"
#include "modeldb/arrdef.h"
#include "modeldb/corsto.h"
#include "platform/memory.h"
#include "plot/pltdsp.h"
#include "runtime/codtxt.h"
#include "runtime/dspsta.h"
#include "runtime/hostcb.h"
#include "runtime/incftb.h"
#include "runtime/journal.h"
#include "runtime/msgarg.h"
#include "runtime/reghed.h"
#include "runtime/slttab.h"

namespace kvr {
namespace {

using Lines = std::vector<std::string>;

int gDumps = 0;
Lines gMessages;  // every line handed to a line writer or the host's message hook

// The registry, the store and the console in their load state; the message lines seen
// through the line writers, the journals written to files, the dump hook counting its
// calls, and every stop caught.
class NamedArrays : public test::ConsoleFixture {
 protected:
  static constexpr int32_t kJournal1Unit = 71;
  static constexpr int32_t kLogUnit = 72;

  void SetUp() override {
    ConsoleFixture::SetUp();
    resetBlocks();
    fresh();
    setDatabaseDumper([] { ++gDumps; });
    setLineWriterObserver(
        [](LineWriter, int32_t, FText text) { gMessages.push_back(text.trimmed()); });
  }

  void TearDown() override {
    setDatabaseDumper(nullptr);
    setLineWriterObserver(nullptr);
    resetBlocks();
    ConsoleFixture::TearDown();
  }

  static void resetBlocks() {
    CoreFreeFile(-1);
    REGHED = {};
    ARRDSC = {};
    APPSTA = {};
    WINSTA.undoArrays = {};
    WINSTA.undoOn = 0;
    GFXDFS = {};
    DSPSTA.currentWindow = 0;
    SLTTAB = {};
    INCFTB = {};
    JRNFLG = {};
  }

  // A fresh console with REPLIES to come, empty journals and no lines seen; the console
  // output mode is entered, so that message boxes are shown.
  void fresh(const std::string& replyText = "") {
    freshConsole();
    replies(replyText);
    openJournal(kJournal1Unit, "journal1.txt");
    openJournal(kLogUnit, "journal2.txt");
    IOUNIT.slot(kSlotJournalFile) = kJournal1Unit;
    IOUNIT.slot(kSlotLogFile) = kLogUnit;
    JRNFLG.channel1.enable = 1;
    JRNFLG.channel2.enable = 1;
    IOUNIT.journal1Enable = 1;
    PLTALP();
    gMessages.clear();
    gDumps = 0;
  }

  void openJournal(int32_t unit, const std::string& name) {
    test::writeFile(dir.file(name), "");
    io::OpenSpec want;
    want.file = dir.file(name);
    want.status = io::Status::Unknown;
    ASSERT_EQ(io::unitOpen(unit, want), io::kIosOk) << name;
  }

  Lines journal(int32_t unit, const std::string& name) {
    if (io::unitIsOpen(unit)) io::unitFlush(unit);
    return test::readLines(dir.file(name));
  }
  Lines journal1() { return journal(kJournal1Unit, "journal1.txt"); }
  Lines journal2() { return journal(kLogUnit, "journal2.txt"); }

  // The full model registry, set up as the reading road does.
  static void fullModel() {
    int32_t stat = -1;
    ARRNUM(1);
    ARRREG(2, 1, stat);
    ASSERT_EQ(stat, 0);
  }

  // Runs F, which must end in a stop, and answers the stop.
  static test::StopCalled stopOf(const std::function<void()>& f) {
    ::testing::internal::CaptureStderr();  // the abort line of the run's end
    try {
      f();
    } catch (const test::StopCalled& stop) {
      ::testing::internal::GetCapturedStderr();
      return stop;
    }
    ::testing::internal::GetCapturedStderr();
    ADD_FAILURE() << "no stop";
    return test::StopCalled(0, false);
  }

  static int32_t countOf(const Lines& lines, const std::string& line) {
    return static_cast<int32_t>(std::count(lines.begin(), lines.end(), line));
  }

  test::StopTrap trap;
};

// ----- ARRNUM -----------------------------------------------------------------------

TEST(Arrnum, FillsTheHandleWordsOfEachMode) {
  const std::map<int32_t, int32_t> mode1 = {
      {1, 41},  {2, 42},  {3, 43},  {4, 44},  {5, 45},  {6, 46},  {7, 31},  {8, 52},  {9, 48},
      {10, 49}, {11, 50}, {12, 51}, {13, 32}, {14, 33}, {15, 53}, {16, 54}, {17, 55}, {18, 56},
      {19, 34}, {20, 57}, {21, 35}, {22, 36}, {23, 37}, {24, 38}, {29, 39}, {30, 40}};
  std::map<int32_t, int32_t> mode3 = mode1;
  mode3[7] = 47;
  struct Case {
    int32_t mode;
    std::map<int32_t, int32_t> words;
  };
  const Case cases[] = {
      {1, mode1},
      {2, {{8, 1}, {5, 2}, {6, 3}, {1, 4}, {9, 5}, {10, 6}, {11, 7}, {12, 8}}},
      {3, mode3},
      {4, {{7, 1}, {24, 2}}},
      {5, {{25, 1}, {26, 2}, {27, 3}, {28, 4}, {31, 15}, {32, 41}}},
      {0, {}},
      {6, {}},
  };
  constexpr int32_t kUntouched = -9;
  for (const Case& c : cases) {
    APPSTA.handles.fill(kUntouched);
    ARRNUM(c.mode);
    for (int32_t w = 1; w <= AppSta::kHandles; ++w) {
      const auto it = c.words.find(w);
      EXPECT_EQ(APPSTA.ARRHND(w), it == c.words.end() ? kUntouched : it->second)
          << "mode " << c.mode << " word " << w;
    }
  }
  APPSTA = {};
}

// ----- ARRREG and ARRREL ------------------------------------------------------------

TEST_F(NamedArrays, FullModelFillsTheNinetyOneArraysOfItsFile) {
  int32_t stat = -1;
  ARRREG(2, 1, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(REGHED.mode, 2);
  EXPECT_EQ(REGHED.top, 57);
  EXPECT_EQ(REGHED.file, 2);  // no window slot keeps a file
  EXPECT_EQ(CORSTO.count(2), 91);
  for (int32_t k = 1; k <= kModelArrays; ++k) {
    const ArrayShape& s = arrayDef(k).shape;
    EXPECT_EQ(REGHED.ARRCOR(k), k);
    EXPECT_EQ(REGHED.ARRLEN(k), 0);
    EXPECT_EQ(REGHED.ARRSGN(k), s.sign);
    EXPECT_EQ(REGHED.ARRWID(k), s.width);
    EXPECT_EQ(REGHED.ARRPPG(k), s.perPage);
    EXPECT_EQ(CORSTO.header(2, k).width, s.width);
    EXPECT_EQ(CORSTO.header(2, k).perPage, s.perPage);
  }
  // The copies of 1..20, 23..30 and 32..37, in that order, as 58..91.
  int32_t next = 58;
  for (int32_t k = 1; k <= 37; ++k) {
    if (k == 21 || k == 22 || k == 31) {
      EXPECT_EQ(WINSTA.UNDARR(k), 0) << k;
      continue;
    }
    EXPECT_EQ(WINSTA.UNDARR(k), next) << k;
    EXPECT_EQ(CORSTO.header(2, next).width, REGHED.ARRWID(k)) << k;
    EXPECT_EQ(CORSTO.header(2, next).perPage, REGHED.ARRPPG(k)) << k;
    ++next;
  }
  EXPECT_EQ(next, 92);

  // Already in force: nothing is created, not even a page table.
  mem::ScopedHook hook;
  ARRREG(2, 0, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_TRUE(hook.sizesAsked().empty());
  EXPECT_EQ(CORSTO.count(2), 91);
}

TEST_F(NamedArrays, SmallerLayoutsAndUnknownModes) {
  struct Case {
    int32_t mode;
    int32_t stat;
    int32_t regmod;  // REGMOD afterwards
    int32_t file;    // the store file that holds the arrays
    int32_t arrays;  // arrays in that file
  };
  const Case cases[] = {
      {1, 0, 1, 2, 8}, {3, 0, 3, 2, 2}, {4, 0, 0, 1, 4}, {0, 1, 0, 0, 0}, {5, 1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    resetBlocks();
    int32_t stat = -1;
    ARRREG(c.mode, 1, stat);
    EXPECT_EQ(stat, c.stat) << c.mode;
    EXPECT_EQ(REGHED.mode, c.regmod) << c.mode;
    for (int32_t f = 1; f <= kCoreFiles; ++f) {
      EXPECT_EQ(CORSTO.count(f), f == c.file ? c.arrays : 0) << c.mode << " file " << f;
    }
  }
  // The writing road's layout in the head; the answer store in its own.
  resetBlocks();
  int32_t stat = -1;
  ARRREG(1, 1, stat);
  EXPECT_EQ(REGHED.top, 8);
  for (int32_t k = 1; k <= 8; ++k) {
    const ArrayShape& s = kWritingRoadLayout[static_cast<size_t>(k - 1)];
    EXPECT_EQ((ArrayShape{REGHED.ARRWID(k), REGHED.ARRSGN(k), REGHED.ARRPPG(k)}), s) << k;
    EXPECT_EQ(REGHED.ARRCOR(k), k);
  }
  ARRREG(4, 0, stat);  // done whatever FORCE says
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(ARRDSC.top, 4);
  EXPECT_EQ(ARRDSC.file, 1);
  EXPECT_EQ(REGHED.mode, 1);
  for (int32_t k = 1; k <= 4; ++k) {
    EXPECT_EQ((ArrayShape{ARRDSC.ARRWID(k), ARRDSC.ARRSGN(k), ARRDSC.ARRPPG(k)}),
              (ArrayShape{1, -1, 800}));
    EXPECT_EQ(ARRDSC.ARRCOR(k), k);
  }
}

TEST_F(NamedArrays, TheReadingRoadSetsUpAgainInTheSameProcess) {
  // Each model opening: the answer store, then the full model registry.
  for (int32_t opening = 1; opening <= 2; ++opening) {
    int32_t stat4 = -1;
    int32_t stat2 = -1;
    ARRNUM(5);
    ARRREG(4, 1, stat4);
    ARRNUM(1);
    ARRREG(2, 1, stat2);
    EXPECT_EQ(stat4, 0) << opening;
    EXPECT_EQ(stat2, 0) << opening;
    EXPECT_EQ(CORSTO.count(1), 4) << opening;
    EXPECT_EQ(CORSTO.count(2), 91) << opening;
    EXPECT_EQ(REGHED.ARRCOR(57), 57) << opening;
  }
  EXPECT_TRUE(gMessages.empty());
}

TEST_F(NamedArrays, ASetUpLeavesTheFileOfASavedWindowAlone) {
  // Slot 1 keeps its registry in file 2.
  SLTTAB.key(1) = 7;
  INCFTB.storeFile(1) = 2;
  int32_t a = 0;
  int32_t stat = 0;
  CoreCreate(2, 1, 10, a, stat);
  ASSERT_EQ(a, 1);
  ARRREG(1, 1, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(REGHED.file, 3);
  EXPECT_EQ(CORSTO.count(2), 1);
  EXPECT_EQ(CORSTO.registered(2, 1), 1);
  EXPECT_EQ(CORSTO.count(3), 8);
}

TEST_F(NamedArrays, AFailedCreationReportsAndReleases) {
  struct Case {
    int64_t failing;  // the allocation request that fails
    Lines lines;
  };
  const Case cases[] = {
      {1,
       {"E1150: Cannot load database", "E2100: Error with dynamic memory allocation",
        "E2170: Cannot register array", "E2130: Insufficient memory currently available"}},
      {58,  // the first UNDO copy
       {"E1150: Cannot load database", "E2100: Error with dynamic memory allocation",
        "E2210: Cannot register array for UNDO",
        "E2130: Insufficient memory currently available"}},
  };
  for (const Case& c : cases) {
    resetBlocks();
    fresh();
    mem::ScopedHook hook;
    hook.failNth(c.failing);
    int32_t stat = -1;
    ARRREG(2, 1, stat);
    EXPECT_EQ(stat, 1) << c.failing;
    EXPECT_EQ(REGHED.mode, 0) << c.failing;
    EXPECT_EQ(CORSTO.count(2), 0) << "the arrays created are released";
    EXPECT_EQ(gMessages, c.lines) << c.failing;
  }
}

// A failed answer-store set-up leaves the head naming only what file 1 still holds, and
// the next set-up starts from an empty file.
TEST_F(NamedArrays, AFailedAnswerStoreNamesOnlyTheArraysLeft) {
  int32_t stat = -1;
  ARRREG(4, 0, stat);
  ASSERT_EQ(ARRDSC.top, 4);
  {
    mem::ScopedHook hook;
    hook.failNth(2);
    ARRREG(4, 0, stat);
  }
  EXPECT_EQ(stat, 1);
  EXPECT_EQ(ARRDSC.top, CORSTO.count(1));
  EXPECT_LT(ARRDSC.top, 4);
  for (int32_t k = 1; k <= ARRDSC.top; ++k) {
    EXPECT_EQ(CORSTO.registered(1, ARRDSC.ARRCOR(k)), 1) << k;
  }
  for (int32_t k = ARRDSC.top + 1; k <= 4; ++k) EXPECT_EQ(ARRDSC.ARRCOR(k), 0) << k;

  ARRREG(4, 0, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(ARRDSC.top, 4);
  EXPECT_EQ(CORSTO.count(1), 4);
}

TEST_F(NamedArrays, ArrrelReleasesTheStoreFileAndKeepsTheHead) {
  fullModel();
  ARRREL();
  EXPECT_EQ(REGHED.mode, 0);
  EXPECT_EQ(REGHED.top, 57);
  EXPECT_EQ(REGHED.file, 2);
  EXPECT_EQ(CORSTO.count(2), 0);
  EXPECT_EQ(CORSTO.registered(2, 91), 0);
  REGHED.file = 0;  // no store file: nothing to release
  ARRREL();
  EXPECT_EQ(REGHED.mode, 0);
}

// ----- ARRIO ------------------------------------------------------------------------

TEST_F(NamedArrays, WritesGrowTheArrayOverTheGap) {
  fullModel();
  constexpr int32_t k = 12;  // width 3
  std::vector<float> out(30);
  for (size_t j = 0; j < out.size(); ++j) out[j] = static_cast<float>(j) + 0.5f;
  int32_t stat = -1;
  ARRIO(-1, k, 1, 10, 1, {}, out, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(REGHED.ARRLEN(k), 10);
  std::vector<float> in(30, -1.0f);
  ARRIO(0, k, 1, 10, 1, {}, in, stat);
  EXPECT_EQ(in, out);

  int32_t first = 0;
  ARRALC(k, 40, first, stat);
  ASSERT_EQ(REGHED.ARRLEN(k), 50);
  ARRIO(-1, k, 101, 10, 1, {}, out, stat);
  EXPECT_EQ(REGHED.ARRLEN(k), 110);
  std::vector<float> gap(150, -1.0f);
  ARRIO(1, k, 51, 50, 1, {}, gap, stat);
  EXPECT_TRUE(std::all_of(gap.begin(), gap.end(), [](float v) { return v == 0.0f; }));
  ARRIO(1, k, 101, 10, 1, {}, in, stat);
  EXPECT_EQ(in, out);
  EXPECT_TRUE(gMessages.empty());
}

TEST_F(NamedArrays, TheTypeChoosesTheBufferAndWordsMoveBitForBit) {
  fullModel();
  constexpr int32_t k = 16;  // REAL attribute values, width 1
  const std::vector<int32_t> bits = {0x7FC01234, static_cast<int32_t>(0x80000000), 0x00000001,
                                     0x3F800000};
  std::vector<int32_t> ibuf = bits;
  std::vector<float> unused(4, 9.0f);
  int32_t stat = -1;
  ARRIO(-1, k, 1, 4, -1, ibuf, unused, stat);
  std::vector<float> reals(4, 0.0f);
  std::vector<int32_t> untouched(4, 7);
  ARRIO(0, k, 1, 4, 1, untouched, reals, stat);
  for (size_t j = 0; j < bits.size(); ++j) {
    EXPECT_EQ(std::bit_cast<int32_t>(reals[j]), bits[j]) << j;
  }
  EXPECT_EQ(untouched, std::vector<int32_t>(4, 7));
  EXPECT_EQ(unused, std::vector<float>(4, 9.0f));
}

TEST_F(NamedArrays, ArrioFailuresStopTheRunAfterTheOfferedDump) {
  struct Case {
    std::string what;
    int32_t mode, k, i, n;
    int32_t viewState;
    Lines lines;
  };
  const Case cases[] = {
      {"read one past the end", 0, 5, 1, 21, -1,
       {"M809: Error : Attempt to read record < 21 > from array < 5 >", "Max record in array is < 20 >"}},
      {"read one past the end", 0, 5, 21, 1, 0,
       {"M809: Error : Attempt to read record < 21 > from array < 5 >", "Max record in array is < 20 >"}},
      {"array 0", 0, 0, 1, 1, -2, {"M807: Error : Array id < 0 > is illegal", "Array does not exist"}},
      {"array beyond REGTOP", -1, 58, 1, 1, 0, {"M807: Error : Array id < 58 > is illegal", "Array does not exist"}},
      {"record 0", -1, 5, 0, 1, -1,
       {"M808: Error : Illegal record number < 0 >. Array id < 5 >", "Record number must be > 0"}},
      {"buffer too short", -1, 5, 1, 99, 1,
       {"M805: Error : Writing < 99 > records to array < 5 >. Start record < 1 >",
        "E2100: Error with dynamic memory allocation",
        "E2150: Memory not allocated for I/O operation"}},
  };
  for (const Case& c : cases) {
    resetBlocks();
    fullModel();
    int32_t first = 0;
    int32_t stat = 0;
    ARRALC(5, 20, first, stat);  // width 2
    fresh();
    GFXDFS.state(0) = c.viewState;
    std::vector<int32_t> ibuf(40);
    const test::StopCalled stop = stopOf([&] { ARRIO(c.mode, c.k, c.i, c.n, -1, ibuf, {}, stat); });
    EXPECT_TRUE(stop.abort) << c.what;
    EXPECT_EQ(gMessages, c.lines) << c.what;
    EXPECT_EQ(gDumps, c.viewState == -1 || c.viewState == -2 ? 1 : 0) << c.what;
  }
}

TEST_F(NamedArrays, ArrioOnAReleasedArrayReportsItUnregistered) {
  fullModel();
  REGHED.ARRLEN(5) = 3;
  CoreFreeFile(REGHED.file);
  std::vector<int32_t> ibuf(6);
  const test::StopCalled stop = stopOf([&] {
    int32_t stat = 0;
    ARRIO(0, 5, 1, 3, -1, ibuf, {}, stat);
  });
  EXPECT_TRUE(stop.abort);
  EXPECT_EQ(gMessages, (Lines{"M806: Error : Reading < 3 > records from array < 5 >. Start record < 1 >",
                              "E2100: Error with dynamic memory allocation",
                              "E2110: Array not registered for memory allocation"}));
  EXPECT_EQ(gDumps, 0);
}

// ----- ARRFND -----------------------------------------------------------------------

class Arrfnd : public NamedArrays {
 protected:
  static constexpr int32_t kNames = 1;  // point names, width 2
  static constexpr int32_t kName[2] = {0x4E494F50, 0x20202054};  // "POINT   "

  void SetUp() override {
    NamedArrays::SetUp();
    fullModel();
    // Ten names, the one looked for only at record 3.
    std::vector<int32_t> names(20);
    for (int32_t r = 1; r <= 10; ++r) {
      names[static_cast<size_t>(2 * r - 2)] = 0x20202041 + r;
      names[static_cast<size_t>(2 * r - 1)] = kBlankCode;
    }
    names[4] = kName[0];
    names[5] = kName[1];
    int32_t stat = 0;
    ARRIO(-1, kNames, 1, 10, -1, names, {}, stat);
  }
};

TEST_F(Arrfnd, TheHintChoosesWhereTheSearchStarts) {
  struct Case {
    int32_t hint, last, found;
  };
  const Case cases[] = {
      {5, 10, 0},  {-5, 10, 3}, {12, 10, 3}, {-12, 10, 3}, {0, 10, 3},  {3, 10, 3},
      {4, 10, 0},  {-4, 10, 3}, {1, 10, 3},  {-1, 10, 3},  {1, 0, 0},   {-5, 0, 0},
      {1, 2, 0},   {-2, 2, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ARRFND(kName, kNames, c.hint, c.last), c.found) << c.hint << " " << c.last;
  }
  EXPECT_TRUE(gMessages.empty());
  EXPECT_EQ(gDumps, 0);
}

TEST_F(Arrfnd, ASearchOutsideTheStoreDumpsAndStops) {
  struct Case {
    int32_t k, last;
    Lines lines;
  };
  const std::string search = "M818: Problem searching dynamic memory for name POINT";
  const Case cases[] = {
      // One page of 2000 records is allocated.
      {kNames, 2001,
       {"M819: Problem searching dynamic memory for name POINT", "in Array 1 between limits 1 and 2001",
        "Attempting to search unallocated space."}},
      {58, 10, {search, "in Array 58 between limits 1 and 10.  Array is not registered."}},
      {0, 10, {search, "in Array 0 between limits 1 and 10.  Array is not registered."}},
  };
  for (const Case& c : cases) {
    fresh();
    const test::StopCalled stop = stopOf([&] { ARRFND(kName, c.k, 1, c.last); });
    EXPECT_TRUE(stop.abort) << c.k;
    EXPECT_EQ(gMessages, c.lines) << c.k;
    EXPECT_EQ(gDumps, 1) << "whatever the view state";
  }
}

// ----- ARRALC -----------------------------------------------------------------------

class Arralc : public NamedArrays {
 protected:
  void SetUp() override {
    NamedArrays::SetUp();
    fullModel();
  }
  static constexpr const char* kLine = "* Trying to allocate < 60 > records to array < 5 >";
  static constexpr const char* kAbortText = "ABORT to stop.";
  static constexpr const char* kDumpText = "ABORT to dump database and stop.";
};

TEST_F(Arralc, ShortageShowsTheBoxAndAbortStopsAtOnce) {
  struct Case {
    std::string replyText;
    int32_t viewState;
  };
  const Case cases[] = {
      {"a\n", 0},
      {"A\n", -1},
      {"", -2},  // the end of console input is an Abort, never a Retry
      {"", 0},
  };
  for (const Case& c : cases) {
    fresh(c.replyText);
    GFXDFS.state(0) = c.viewState;
    const bool dump = c.viewState != 0;
    mem::ScopedHook hook;
    hook.failAll();
    int32_t first = 0;
    int32_t stat = 0;
    const test::StopCalled stop = stopOf([&] { ARRALC(5, 60, first, stat); });
    hook.failAll(false);
    EXPECT_FALSE(stop.abort) << "a stop without the orderly close";
    EXPECT_EQ(stop.status, 1);
    EXPECT_EQ(gDumps, dump ? 1 : 0) << c.replyText;
    EXPECT_EQ(gMessages, (Lines{"E2100: Error with dynamic memory allocation",
                                "E2130: Insufficient memory currently available",
                                std::string(" ") + kLine}));
    for (const Lines& j : {journal1(), journal2()}) {
      EXPECT_EQ(countOf(j, std::string("  ") + kLine), 1);
    }
    const std::string out = output();
    EXPECT_NE(out.find("=== ERROR : Insufficient Memory Available ==="), std::string::npos);
    EXPECT_NE(out.find(dump ? kDumpText : kAbortText), std::string::npos);
    EXPECT_NE(out.find(dump ? "RETRY to release UNDO memory and retry," : "RETRY to retry,"),
              std::string::npos);
    EXPECT_NE(out.find("(can you logoff other processes?)"), std::string::npos);
    EXPECT_NE(out.find("Abort/Retry ? [Retry]"), std::string::npos) << out;
    EXPECT_EQ(REGHED.ARRLEN(5), 0);
  }
}

TEST_F(Arralc, RetryAfterTheShortageGrowsTheArray) {
  int32_t first = 0;
  int32_t stat = -1;
  ARRALC(5, 2000, first, stat);  // page 0 full
  ASSERT_EQ(first, 1);
  ASSERT_EQ(REGHED.ARRLEN(5), 2000);
  IOMODE.inputMode = kInputCommandFile;
  fresh("r\n");
  mem::ScopedHook hook;
  hook.failNth(1);  // page 1
  ARRALC(5, 60, first, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(first, 2001);
  EXPECT_EQ(REGHED.ARRLEN(5), 2060);
  EXPECT_EQ(CORSTO.header(REGHED.file, 5).lastPage, 1);
  EXPECT_EQ(IOMODE.inputMode, 0) << "command-file input ended";
  EXPECT_EQ(countOf(gMessages, "E2130: Insufficient memory currently available"), 1);
  EXPECT_EQ(gDumps, 0);
}

TEST_F(Arralc, TheFirstRetryWithTheDumpOfferGivesUpUndo) {
  WINSTA.undoOn = 1;
  GFXDFS.state(0) = -1;
  fresh("r\nr\n");
  mem::ScopedHook hook;
  hook.failNth(1);
  hook.failNth(2);
  int32_t first = 0;
  int32_t stat = -1;
  ARRALC(5, 60, first, stat);
  EXPECT_EQ(REGHED.ARRLEN(5), 60);
  EXPECT_EQ(WINSTA.undoOn, 0);
  EXPECT_EQ(CORSTO.count(REGHED.file), 57);
  EXPECT_EQ(CORSTO.registered(REGHED.file, 58), 0);
  EXPECT_EQ(CORSTO.registered(REGHED.file, 57), 1);
  EXPECT_EQ(countOf(gMessages, "W2190: UNDO facility is now switched off"), 1);
  EXPECT_EQ(countOf(gMessages, "E2130: Insufficient memory currently available"), 2);
  EXPECT_EQ(countOf(journal1(), "  UTILITY SETUP UNDO OFF"), 1);
  EXPECT_EQ(countOf(journal2(), "  UTILITY SETUP UNDO OFF"), 0) << "channel 1 only";
  EXPECT_EQ(gDumps, 0);
  int32_t a = 0;
  CoreCreate(REGHED.file, 1, 10, a, stat);
  EXPECT_EQ(a, 58);
}

TEST_F(Arralc, WithoutTheDumpOfferRetryKeepsUndo) {
  WINSTA.undoOn = 1;
  fresh("r\n");
  mem::ScopedHook hook;
  hook.failNth(1);
  int32_t first = 0;
  int32_t stat = -1;
  ARRALC(5, 60, first, stat);
  EXPECT_EQ(REGHED.ARRLEN(5), 60);
  EXPECT_EQ(WINSTA.undoOn, 1);
  EXPECT_EQ(CORSTO.count(REGHED.file), 91);
  EXPECT_EQ(countOf(gMessages, "W2190: UNDO facility is now switched off"), 0);
}

TEST_F(Arralc, AnUnregisteredArrayStopsWithoutABox) {
  struct Case {
    int32_t k;
    int32_t viewState;
  };
  const Case cases[] = {{5, 0}, {5, -1}, {58, 0}, {0, 0}};
  for (const Case& c : cases) {
    resetBlocks();
    fullModel();
    if (c.k == 5) CoreFreeFile(REGHED.file);
    fresh("r\n");
    GFXDFS.state(0) = c.viewState;
    int32_t first = 0;
    int32_t stat = 0;
    const test::StopCalled stop = stopOf([&] { ARRALC(c.k, 60, first, stat); });
    EXPECT_FALSE(stop.abort);
    const std::string line = " * Trying to allocate < 60 > records to array < " +
                             std::to_string(c.k) + " >";
    EXPECT_EQ(gMessages, (Lines{"E2100: Error with dynamic memory allocation",
                                "E2110: Array not registered for memory allocation", line}))
        << c.k;
    EXPECT_EQ(output().find("Insufficient Memory"), std::string::npos);
    EXPECT_EQ(gDumps, c.viewState == -1 ? 1 : 0);
  }
}

TEST_F(Arralc, NothingToAddChangesNothing) {
  int32_t first = 0;
  int32_t stat = -1;
  ARRALC(5, 7, first, stat);
  for (int32_t nmore : {0, -5}) {
    ARRALC(5, nmore, first, stat);
    EXPECT_EQ(first, 8);
    EXPECT_EQ(stat, 0);
    EXPECT_EQ(REGHED.ARRLEN(5), 7);
  }
}

}  // namespace
}  // namespace kvr
