#include "modeldb/dbpage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "dbfixture.h"
#include "runtime/filtyp.h"

namespace kvr {
namespace {

using PageLayer = test::DatabaseFixture;
using Lines = std::vector<std::string>;

// A page of P words 1000 x TAG + k.
DbPage tagged(int32_t p, int32_t tag) {
  DbPage page(p);
  for (int32_t k = 1; k <= p; ++k) page.word(k) = 1000 * tag + k;
  return page;
}

bool isZero(int32_t w) { return w == 0; }

size_t count(const Lines& lines, const std::string& text) {
  return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
    return l.find(text) != std::string::npos;
  }));
}

TEST(PageChecks, ValidDataPageSizes) {
  for (int32_t n : {2040, 4080, 8160, 16320, 32640}) EXPECT_EQ(PAGSIZ(n), -1) << n;
  for (int32_t n : {2039, 2041, 2048, 0, -2040, 100, 65280}) EXPECT_EQ(PAGSIZ(n), 0) << n;
}

TEST(PageChecks, ClassesAbove100LiveInTheIndexFile) {
  EXPECT_EQ(PAGCLS(100), kDataFileSlot);
  EXPECT_EQ(PAGCLS(1), kDataFileSlot);
  EXPECT_EQ(PAGCLS(101), kIndexFileSlot);
  EXPECT_EQ(PAGCLS(107), kIndexFileSlot);
}

TEST_F(PageLayer, PageIsTheRecordOfItsNumber) {
  openDatabase(2040);
  DbPage page = tagged(2040, 3);
  page.word(7) = -2;  // little-endian on disk: FE FF FF FF
  PAGWR(1, 3, page);
  io::unitFlush(kDataUnit);
  const std::string bytes = test::readFile(dir.file("db.V71"));
  ASSERT_EQ(bytes.size(), 24480u);
  EXPECT_TRUE(std::all_of(bytes.begin(), bytes.begin() + 16320, [](char c) { return c == 0; }));
  const std::vector<int32_t> words = test::fileWords(dir.file("db.V71"));
  EXPECT_TRUE(std::equal(page.words().begin(), page.words().end(), words.begin() + 4080));
  EXPECT_EQ(bytes.substr(16320 + 24, 4), std::string("\xFE\xFF\xFF\xFF", 4));
  EXPECT_EQ(bytes.substr(16320, 4), std::string("\xB9\x0B\x00\x00", 4));  // 3001

  DbPage back(2040);
  PAGRD(1, 3, back);
  EXPECT_TRUE(std::equal(page.words().begin(), page.words().end(), back.words().begin()));
  // Index classes go to the index file with its 100-word pages.
  DbPage control = tagged(100, 5);
  PAGWR(101, 2, control);
  io::unitFlush(kIndexUnit);
  EXPECT_EQ(test::readFile(dir.file("db.M71")).size(), 800u);
}

TEST_F(PageLayer, PageInitialisationSetsTheHead) {
  openDatabase(2040);
  DbPage page = tagged(2040, 9);
  PGINIT(7, 12, page);
  EXPECT_EQ(page.word(1), 0);
  EXPECT_EQ(page.word(2), 12);
  EXPECT_EQ(page.word(3), 7);
  EXPECT_TRUE(std::all_of(page.words().begin() + 3, page.words().end(), isZero));
  // An index class clears its 100 words; a buffer shorter than the page is cut.
  DbPage control = tagged(120, 9);
  PGINIT(103, 4, control);
  EXPECT_EQ(control.word(100), 0);
  EXPECT_EQ(control.word(101), 9101);
  DbPage tiny = tagged(2, 1);
  PGINIT(103, 4, tiny);
  EXPECT_EQ(tiny.word(2), 4);
}

TEST_F(PageLayer, NewDataPageTakesEndOfFileOrFreeHeadAndWritesNothing) {
  openDatabase(2040);
  DbFileSlot& data = DBPARM.fileSlot(kDataFileSlot);
  data.nextPage = 5;
  DbPage buffer(2040);
  int32_t page = 0;
  int32_t head = -1;
  PGNEW(buffer, 40, page, head);
  EXPECT_EQ(page, 5);
  EXPECT_EQ(head, 0);
  EXPECT_EQ(data.nextPage, 6);

  // Free chain 3 -> 9: page 3 is handed out, 9 becomes the head.
  DbPage free3(2040);
  free3.word(1) = 9;
  PAGWR(40, 3, free3);
  io::unitFlush(kDataUnit);
  const std::string before = test::readFile(dir.file("db.V71"));
  data.freeHead = 3;
  PGNEW(buffer, 40, page, head);
  EXPECT_EQ(page, 3);
  EXPECT_EQ(head, 9);
  EXPECT_EQ(data.freeHead, 9);
  EXPECT_EQ(data.nextPage, 6);
  io::unitFlush(kDataUnit);
  EXPECT_EQ(test::readFile(dir.file("db.V71")), before);
}

TEST_F(PageLayer, NewIndexPageUpdatesPageOneAtOnce) {
  openDatabase(2040);
  DbFileSlot& index = DBPARM.fileSlot(kIndexFileSlot);
  DbPage header = tagged(100, 1);
  PAGWR(101, 1, header);
  DbPage free2(100);
  free2.word(1) = 0;
  PAGWR(101, 2, free2);
  index.nextPage = 3;
  index.freeHead = 2;

  DbPage buffer(100);
  int32_t page = 0;
  int32_t head = -1;
  PGNEW(buffer, 102, page, head);
  EXPECT_EQ(page, 2);
  EXPECT_EQ(head, 0);
  DbPage disk(100);
  PAGRD(101, 1, disk);
  EXPECT_EQ(disk.word(6), 3);
  EXPECT_EQ(disk.word(7), 0);
  EXPECT_EQ(disk.word(5), 1005);
  EXPECT_EQ(disk.word(8), 1008);
  EXPECT_EQ(buffer.word(2), 1002);  // the buffer holds page 1

  PGNEW(buffer, 105, page, head);
  EXPECT_EQ(page, 3);
  EXPECT_EQ(index.nextPage, 4);
  PAGRD(101, 1, disk);
  EXPECT_EQ(disk.word(6), 4);
  EXPECT_EQ(disk.word(7), 0);
}

TEST_F(PageLayer, PageBufferSlotsMoveOnlyWhatChanges) {
  openDatabase(2040);
  for (int32_t p = 1; p <= 4; ++p) {
    DbPage page = tagged(2040, p);
    PAGWR(30, p, page);
  }
  std::vector<int32_t> work(2 * 2040, 0);
  int32_t offset = 0;
  PGSLOT(work, 2, 30, 1, offset);
  EXPECT_EQ(offset, 1);
  EXPECT_EQ(work[0], 2001);
  EXPECT_EQ(DBLEVL.heldPage(1), 2);
  EXPECT_EQ(DBLEVL.heldClass(1), 30);

  // Held as it is, or held modified: no read and no write.
  work[9] = -1;
  PGSLOT(work, 2, 30, 1, offset);
  EXPECT_EQ(work[9], -1);
  DBLEVL.heldPage(1) = -2;
  PGSLOT(work, 2, 30, 1, offset);
  EXPECT_EQ(work[9], -1);
  DbPage disk(2040);
  PAGRD(30, 2, disk);
  EXPECT_EQ(disk.word(10), 2010);

  // Another page: the modified one is written back first.
  PGSLOT(work, 3, 30, 1, offset);
  EXPECT_EQ(work[0], 3001);
  EXPECT_EQ(DBLEVL.heldPage(1), 3);
  PAGRD(30, 2, disk);
  EXPECT_EQ(disk.word(10), -1);

  // The second slot lies behind the first; the same page of another class is another page.
  PGSLOT(work, 4, 30, 2, offset);
  EXPECT_EQ(offset, 2041);
  EXPECT_EQ(work[2040], 4001);
  EXPECT_EQ(work[0], 3001);
  work[2040] = 77;
  PGSLOT(work, 4, 31, 2, offset);
  EXPECT_EQ(work[2040], 4001);
  EXPECT_EQ(DBLEVL.heldClass(2), 31);

  offset = -1;
  PGSLOT(work, 4, 30, 3, offset);
  EXPECT_EQ(offset, 0);
}

TEST_F(PageLayer, PageSizeSetsSlotsAndEmptiesThem) {
  DBLEVL.heldPage(1) = -5;
  DBLEVL.heldClass(2) = 9;
  PAGSET(4080);
  EXPECT_EQ(DBLEVL.dataPageSize, 4080);
  EXPECT_EQ(DBPARM.fileSlot(kDataFileSlot).pageSize, 4080);
  EXPECT_EQ(CLSPSZ(100), 4080);
  EXPECT_EQ(DBLEVL.slotOffset(1), 1);
  EXPECT_EQ(DBLEVL.slotOffset(2), 4081);
  for (int32_t s : {1, 2}) {
    EXPECT_EQ(DBLEVL.heldPage(s), 0);
    EXPECT_EQ(DBLEVL.heldClass(s), 0);
  }
}

TEST(Cpywrd, CopiesWordsUpToEitherCapacity) {
  std::vector<int32_t> source = {1, 2, 3, 4, 5};
  std::vector<int32_t> target(3, 0);
  CPYWRD(2, source, target);
  EXPECT_EQ(target, (std::vector<int32_t>{1, 2, 0}));
  CPYWRD(5, source, target);
  EXPECT_EQ(target, (std::vector<int32_t>{1, 2, 3}));
  CPYWRD(-1, source, target);
  EXPECT_EQ(target, (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(PageLayer, PageZeroOrBelowEndsTheRunWithoutTransfer) {
  openDatabase(2040);
  DbPage buffer = tagged(2040, 4);
  try {
    PAGRD(1, 0, buffer);
    FAIL() << "no stop";
  } catch (const test::StopCalled& s) {
    EXPECT_TRUE(s.abort);
  }
  EXPECT_EQ(buffer.word(1), 4001);
  EXPECT_EQ(console(), (Lines{" ERROR 300 : DATA BASE ERROR :",
                              " ATTEMPT TO READ A PAGE WHICH IS OUTSIDE",
                              " THE RANGE ASSIGNED TO THIS FILE",
                              " PAGE NUMBER =         0          UNIT =   8",
                              " *** RUN TERMINATED ***", " DATA BASE DATA FILE"}));
}

TEST_F(PageLayer, PageBelowZeroWrittenEndsTheRunWithoutFileLine) {
  openDatabase(2040);
  DbPage buffer = tagged(2040, 4);
  EXPECT_THROW(PAGWR(1, -1, buffer), test::StopCalled);
  EXPECT_EQ(console(), (Lines{" ERROR 300 : DATA BASE ERROR :",
                              " ATTEMPT TO WRITE A PAGE WHICH IS OUTSIDE",
                              "  THE RANGE ASSIGNED TO THIS FILE",
                              " PAGE NUMBER =        -1          UNIT =   8",
                              " *** RUN TERMINATED ***"}));
  EXPECT_EQ(test::readFile(dir.file("db.V71")).size(), 0u);
}

TEST_F(PageLayer, IndexFilePageZeroNamesTheIndexFile) {
  openDatabase(2040);
  DbPage buffer(100);
  EXPECT_THROW(PAGRD(103, 0, buffer), test::StopCalled);
  const Lines lines = console();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[3], " PAGE NUMBER =         0          UNIT =   4");
  EXPECT_EQ(lines[5], " DATA BASE INDEX FILE");
}

TEST_F(PageLayer, FailedWriteAsksRetryThenConfirmsTheEnd) {
  DBPARM.fileSlot(kDataFileSlot).unit = kDataUnit;
  PAGSET(2040);
  test::writeFile(dir.file("ro.V71"), std::string(8160, '\0'));
  openDirect(kDataUnit, "ro.V71", 2040, 4);
  replies("R\nA\nC\nA\nO\n");
  DbPage buffer = tagged(2040, 1);
  try {
    PAGWR(1, 5, buffer);
    FAIL() << "no stop";
  } catch (const test::StopCalled& s) {
    EXPECT_TRUE(s.abort);
  }
  const std::string line =
      " !RANDIO Error: LUN =    8 Page Number =        5 Page Size =     2040 Status Returned = "
      "      47";
  EXPECT_EQ(log(), (Lines{line, line}));
  const Lines out = console();
  EXPECT_EQ(count(out, " QUESTION : Write Error "), 3u);
  EXPECT_EQ(count(out, "=   Write to READONLY file"), 3u);
  EXPECT_EQ(count(out, "> Abort/Retry ? [Abort] :"), 3u);
  EXPECT_EQ(count(out, " WARNING : Caution! "), 2u);
  EXPECT_EQ(count(out, "=   This will terminate KAVRO"), 2u);
  EXPECT_EQ(count(out, "> OK/Cancel ? [OK] :"), 2u);
  EXPECT_EQ(test::readFile(dir.file("ro.V71")), std::string(8160, '\0'));
}

TEST_F(PageLayer, FailedTransferAtEndOfInputShowsEachBoxOnce) {
  DBPARM.fileSlot(kDataFileSlot).unit = kDataUnit;
  PAGSET(2040);
  test::writeFile(dir.file("ro.V71"), "");
  openDirect(kDataUnit, "ro.V71", 2040, 4);
  DbPage buffer(2040);
  EXPECT_THROW(PAGWR(1, 5, buffer), test::StopCalled);
  const Lines out = console();
  EXPECT_EQ(count(out, " QUESTION : Write Error "), 1u);
  EXPECT_EQ(count(out, " WARNING : Caution! "), 1u);
  EXPECT_EQ(log().size(), 1u);
}

TEST_F(PageLayer, ReadPastTheEndGivesZerosWithoutDialogue) {
  openDatabase(2040);
  DbPage page = tagged(2040, 2);
  PAGWR(1, 2, page);
  DbPage buffer = tagged(2040, 7);
  PAGRD(1, 9, buffer);
  EXPECT_TRUE(std::all_of(buffer.words().begin(), buffer.words().end(), isZero));
  EXPECT_EQ(RANDIO(page, 9, 2040, 0, kDataUnit), -1);
  EXPECT_TRUE(console().empty());
  EXPECT_TRUE(log().empty());
}

TEST_F(PageLayer, TransferIsCutAtTheBuffer) {
  openDatabase(2040);
  DbPage page = tagged(2040, 2);
  PAGWR(1, 1, page);
  std::vector<int32_t> small(10, -3);
  EXPECT_EQ(RANDIO(small, 1, 2040, 0, kDataUnit), 0);
  EXPECT_EQ(small[9], 2010);
  // A negative size moves no words: the record written is all zero.
  EXPECT_EQ(RANDIO(page, 1, -4, 1, kDataUnit), 0);
  DbPage back = tagged(2040, 5);
  PAGRD(1, 1, back);
  EXPECT_EQ(back.word(1), 0);
  EXPECT_EQ(back.word(2040), 0);
}

// Pseudo-units with B = 100, S1 = 600, S2 = 300: pieces of 100 words, 3 pieces per slot.
class PseudoUnitTest : public test::DatabaseFixture {
 protected:
  void SetUp() override {
    DatabaseFixture::SetUp();
    DBPARM.recordLength = 100;
    DBPARM.scratchSize1 = 600;
    DBPARM.scratchSize2 = 300;
  }

  // Record R of the scratch file of file type TYPE.
  std::vector<int32_t> record(int32_t type, int64_t r) {
    std::vector<int32_t> words(100, -9);
    EXPECT_EQ(io::readDirect(IOUNIT.slot(fileTypeRow(type)->openSlot), r, words), io::kIosOk) << r;
    return words;
  }
};

std::vector<int32_t> counting(size_t n) {
  std::vector<int32_t> words(n);
  std::iota(words.begin(), words.end(), 1);
  return words;
}

std::vector<int32_t> range(int32_t first, int32_t last) {
  std::vector<int32_t> words(static_cast<size_t>(last - first + 1));
  std::iota(words.begin(), words.end(), first);
  return words;
}

TEST_F(PseudoUnitTest, SlotsCountFromOneAndFillUpToTheSlotWritten) {
  std::vector<int32_t> buffer = counting(600);
  EXPECT_EQ(PAGDSP(buffer, 1, 0, 1, -7), 2);
  EXPECT_EQ(IOUNIT.openFlag(12), 1);
  for (int32_t r = 1; r <= 6; ++r) {
    EXPECT_EQ(record(12, r), range(100 * ((r - 1) % 3) + 1, 100 * ((r - 1) % 3) + 100)) << r;
  }
  std::vector<int32_t> read(600, 0);
  EXPECT_EQ(PAGDSP(read, 1, 0, 0, -1), 3);
  EXPECT_EQ(std::vector<int32_t>(read.begin(), read.begin() + 300), range(1, 300));
  EXPECT_EQ(read[300], 0);
  EXPECT_TRUE(console().empty());

  // Below the high-water mark a write moves the slot's pieces and answers N2; page 2 of
  // -1 is slot 4, above it.
  buffer = range(5001, 5600);
  EXPECT_EQ(PAGDSP(buffer, 1, 0, 1, -3), 3);
  EXPECT_EQ(record(12, 1)[0], 5001);
  EXPECT_EQ(PAGDSP(buffer, 2, 0, 1, -1), 4);
  EXPECT_EQ(record(12, 10)[0], 5001);
}

TEST_F(PseudoUnitTest, SharedSlotWritesClearTheOtherMarkers) {
  for (int32_t k = 1; k <= 4; ++k) PSEUDO.marker(k) = 7;
  std::vector<int32_t> buffer = counting(600);
  EXPECT_EQ(PAGDSP(buffer, 1, 0, 1, -6), 0);
  EXPECT_EQ(PSEUDO.marker(1), 0);
  EXPECT_EQ(PSEUDO.marker(2), 7);
  EXPECT_EQ(PSEUDO.marker(3), 0);
  EXPECT_EQ(PSEUDO.marker(4), 0);
  std::vector<int32_t> read(600, 0);
  EXPECT_EQ(PAGDSP(read, 1, 0, 0, -10), 3);  // slot 3, records 7 to 9
  EXPECT_EQ(read[299], 300);
}

TEST_F(PseudoUnitTest, StreamsAreReadBackInTheOrderWritten) {
  std::vector<int32_t> first = counting(300);
  first[4] = 150;
  EXPECT_EQ(PAGDSP(first, 1, 0, 1, -4), 2);
  std::vector<int32_t> second = range(7001, 7300);
  second[4] = 50;
  EXPECT_EQ(PAGDSP(second, 1, 0, 1, -8), 3);
  EXPECT_EQ(record(13, 2), range(101, 200));
  EXPECT_EQ(record(13, 3)[0], 7001);

  std::vector<int32_t> read(300, 0);
  EXPECT_EQ(PAGDSP(read, 1, 0, 0, -4), 2);
  std::vector<int32_t> expected = counting(200);
  expected[4] = 150;
  EXPECT_EQ(std::vector<int32_t>(read.begin(), read.begin() + 200), expected);
  EXPECT_EQ(read[200], 0);
  // The next page of the stream continues at the cursor: here the page of -8.
  EXPECT_EQ(PAGDSP(read, 2, 0, 0, -4), 3);
  EXPECT_EQ(read[0], 7001);
}

TEST_F(PseudoUnitTest, HalfBufferPagesAreBlocksOfN2Records) {
  std::vector<int32_t> buffer = counting(300);
  EXPECT_EQ(PAGDSP(buffer, 2, 0, 1, -2), 3);
  EXPECT_EQ(record(23, 4), range(1, 100));
  EXPECT_EQ(record(23, 6), range(201, 300));
}

TEST_F(PseudoUnitTest, NoRecordLengthMovesNothing) {
  DBPARM.recordLength = 0;
  std::vector<int32_t> buffer = counting(300);
  EXPECT_EQ(PAGDSP(buffer, 1, 0, 1, -7), 0);
  EXPECT_EQ(IOUNIT.openFlag(12), 0);
}

}  // namespace
}  // namespace kvr
