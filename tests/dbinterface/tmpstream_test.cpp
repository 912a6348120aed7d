#include "dbinterface/tmpstream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "dbinterface/tlfiles.h"
#include "difixture.h"

namespace kvr {
namespace {

using kvr::test::readFile;
using kvr::test::WritingRoadFixture;

constexpr int32_t kUnit = 20;
constexpr int32_t kChannel = 2;  // a stream on the second temporary unit

// Word K (from 1) of the file's bytes, as stored: little-endian.
int32_t fileWord(const std::string& bytes, std::size_t k) {
  uint32_t w = 0;
  for (int b = 3; b >= 0; --b) w = w << 8 | static_cast<unsigned char>(bytes[(k - 1) * 4 + b]);
  return static_cast<int32_t>(w);
}

std::vector<int32_t> words(int32_t n, int32_t first = 1) {
  std::vector<int32_t> v(static_cast<std::size_t>(n));
  std::iota(v.begin(), v.end(), first);
  return v;
}

class Streams : public WritingRoadFixture {
 protected:
  void SetUp() override {
    WritingRoadFixture::SetUp();
    DICTL.itfnum = 2;
    DICTL.tempUnit(1) = 19;
    DICTL.tempUnit(kChannel) = kUnit;
    openUnit(kUnit, "stream.tmp", io::Form::Unformatted);
    TMPRST(kChannel);
  }

  void write(const std::vector<int32_t>& w) {
    int32_t flag = -1;
    TMPWRT(w, kChannel, flag);
    ASSERT_EQ(flag, 0);
  }

  void flush() {
    int32_t flag = -1;
    TMPFLS(kChannel, flag);
    ASSERT_EQ(flag, 0);
  }

  std::string bytes() { return readFile(dir.file("stream.tmp")); }
};

TEST_F(Streams, RecordsOf1024WordsCountTheirUsedWords) {
  write(words(1023, 100));
  EXPECT_EQ(TMPBUF.channel(kChannel).position, 1);
  flush();  // nothing left for it to write
  std::string b = bytes();
  ASSERT_EQ(b.size(), 4104u);
  EXPECT_EQ(fileWord(b, 1), 4096);     // record marker
  EXPECT_EQ(fileWord(b, 2), 1024);     // word 1: all used
  EXPECT_EQ(fileWord(b, 3), 100);      // the stream's first word
  EXPECT_EQ(fileWord(b, 1025), 1122);  // its 1023rd
  EXPECT_EQ(fileWord(b, 1026), 4096);
}

TEST_F(Streams, LastRecordHoldsItsCountAndZerosBehindIt) {
  // Stale words in the buffer must not reach the file.
  TMPBUF.channel(kChannel).buffer.fill(-7);
  write(words(1024, 1));
  flush();
  std::string b = bytes();
  ASSERT_EQ(b.size(), 8208u);
  const std::size_t second = 1026;  // marker of the second record
  EXPECT_EQ(fileWord(b, second + 1), 4096);
  EXPECT_EQ(fileWord(b, second + 2), 2);
  EXPECT_EQ(fileWord(b, second + 3), 1024);
  for (std::size_t k = 3; k <= 1024; ++k) ASSERT_EQ(fileWord(b, second + 1 + k), 0) << k;
  EXPECT_EQ(TMPBUF.channel(kChannel).position, 1);
}

TEST_F(Streams, ReadingBackGivesTheSameWordsThenEndOfFile) {
  for (int32_t n : {1, 5, 1022, 1023, 1024, 2046, 2047, 3100}) {
    SCOPED_TRACE(n);
    openUnit(kUnit, "stream.tmp", io::Form::Unformatted);
    io::unitRewind(kUnit);
    TMPRST(kChannel);
    std::vector<int32_t> sent = words(n, 7 * n);
    write(sent);
    flush();
    TMPRST(kChannel);
    // Read in pieces of uneven size, crossing record ends.
    std::vector<int32_t> got;
    int32_t flag = 0;
    for (int32_t piece = 1; static_cast<int32_t>(got.size()) < n; piece = piece % 700 + 333) {
      int32_t left = n - static_cast<int32_t>(got.size());
      std::vector<int32_t> part(static_cast<std::size_t>(std::min(piece, left)));
      TMPRD(part, kChannel, flag);
      ASSERT_EQ(flag, 0);
      got.insert(got.end(), part.begin(), part.end());
    }
    EXPECT_EQ(got, sent);
    int32_t positionBefore = TMPBUF.channel(kChannel).position;
    std::vector<int32_t> more(1);
    TMPRD(more, kChannel, flag);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(TMPBUF.channel(kChannel).position, positionBefore);
  }
}

TEST_F(Streams, ResetWithoutRewindStartsTheBufferAgainAndTheFileGoesOn) {
  write(words(1025, 1));  // one record out, two words in the buffer
  TMPRST(kChannel);
  write({501, 502});
  flush();
  std::string b = bytes();
  ASSERT_EQ(b.size(), 8208u);
  EXPECT_EQ(fileWord(b, 1026 + 2), 3);
  EXPECT_EQ(fileWord(b, 1026 + 3), 501);
  EXPECT_EQ(fileWord(b, 1026 + 4), 502);
}

TEST_F(Streams, RecordsThatAreNoStreamRecordsAnswerFlag1) {
  struct Case {
    const char* what;
    std::vector<int32_t> record;
  };
  const Case cases[] = {
      {"count word 0", {0, 5, 6}},
      {"count word 1 (nothing to hand out)", {1, 5, 6}},
      {"count word beyond the record", {5, 5, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    openUnit(kUnit, "bad.tmp", io::Form::Unformatted);
    ASSERT_EQ(io::writeUnformatted(kUnit, c.record), io::kIosOk);
    io::unitRewind(kUnit);
    TMPRST(kChannel);
    std::vector<int32_t> got(1);
    int32_t flag = 0;
    TMPRD(got, kChannel, flag);
    EXPECT_EQ(flag, 1);
  }
}

TEST_F(Streams, WriteToAnUnconnectedUnitFailsAndKeepsThePosition) {
  io::unitClose(kUnit);
  int32_t flag = 0;
  std::vector<int32_t> few = words(10);
  TMPWRT(few, kChannel, flag);  // buffered: nothing goes out yet
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(TMPBUF.channel(kChannel).position, 11);
  std::vector<int32_t> many = words(2000);
  TMPWRT(many, kChannel, flag);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(TMPBUF.channel(kChannel).position, 11);
  EXPECT_FALSE(std::filesystem::exists("fort.20"));

  TMPFLS(kChannel, flag);
  EXPECT_EQ(flag, 1);
  std::vector<std::string> out = stdoutLines();
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0], " write error: iunt, idbuf, ipos =  20 2 11");
  EXPECT_EQ(out[1], " write error: iostat =  32");
}

TEST_F(Streams, FlushOfAnEmptyChannelOnAnUnconnectedUnitIsQuiet) {
  io::unitClose(kUnit);
  int32_t flag = -1;
  TMPFLS(kChannel, flag);
  EXPECT_EQ(flag, 0);
  EXPECT_TRUE(stdoutLines().empty());
}

TEST_F(Streams, FailingFlushOnAFullDeviceReportsAndDoesNotRewind) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  for (bool throughOpen : {false, true}) {
    SCOPED_TRACE(throughOpen ? "OPNTLDBF mode 0" : "unit layer");
    if (throughOpen) {
      // Mode 0 neither checks nor deletes: modes 2 and 3 would replace an existing file.
      FixedText name(80, "/dev/full");
      int32_t iostat = -1;
      OPNTLDBF(kUnit, 0, name, 1, 1, 1, 0, iostat);
      ASSERT_EQ(iostat, 0);
    } else {
      io::OpenSpec want;
      want.file = "/dev/full";
      want.form = io::Form::Unformatted;
      ASSERT_EQ(io::unitOpen(kUnit, want), io::kIosOk);
    }
    TMPRST(kChannel);
    write(words(5));
    int32_t flag = 0;
    TMPFLS(kChannel, flag);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(TMPBUF.channel(kChannel).position, 6);  // not reset: nothing went out
    std::vector<std::string> out = stdoutLines();
    ASSERT_GE(out.size(), 2u);
    EXPECT_EQ(out[out.size() - 2].rfind(" write error: iunt, idbuf, ipos = ", 0), 0u);
    EXPECT_EQ(out.back(), " write error: iostat =  608");
    io::unitClose(kUnit);
  }
}

}  // namespace
}  // namespace kvr
