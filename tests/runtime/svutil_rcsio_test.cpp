#include "runtime/svutil/rcsio.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>
#include <string>
#include <vector>

#include "svutil_testing.h"

namespace kvr {
namespace {

using svtest::SavedEnv;
using svtest::StderrCapture;
using test::TempDir;
using test::writeFile;

// The head revision text of kArchive, decoded.
const std::string kHeadText = "line one\nmail me @ home\n@@ twice @\nlast line @\n";

const std::string kArchive =
    "head\t1.2;\naccess;\nsymbols;\nlocks; strict;\ncomment\t@# @;\n\n\n"
    "1.2\ndate\t2001.03.05.12.00.00;\tauthor kvr;\tstate Exp;\nbranches;\nnext\t1.1;\n\n"
    "1.1\ndate\t99.01.02.03.04.05;\tauthor kvr;\tstate Exp;\nbranches;\nnext\t;\n\n\n"
    "desc\n@@\n\n\n"
    "1.2\nlog\n@second\n@\ntext\n"
    "@line one\nmail me @@ home\n@@@@ twice @@\nlast line @@\n@\n\n\n"
    "1.1\nlog\n@first\n@\ntext\n@d1 1\n@\n";

constexpr std::time_t kHeadDate = 983793600;  // 2001-03-05 12:00:00 UTC

std::string readAll(SvRcsFile* r, std::size_t chunk) {
  std::string out;
  std::vector<char> buf(chunk);
  std::size_t got;
  while ((got = SvRcsRead(buf.data(), 1, chunk, r)) > 0) out.append(buf.data(), got);
  return out;
}

TEST(SvRcs, ArchiveOnlyNameOpensAsItsHeadRevisionText) {
  TempDir dir;
  writeFile(dir.file("rc,v"), kArchive);
  SvRcsFile* r = SvRcsOpen("rc", "r");
  ASSERT_NE(r, nullptr);
  EXPECT_TRUE(r->archive);
  EXPECT_EQ(readAll(r, 64), kHeadText);
  EXPECT_EQ(readAll(r, 64), "");  // nothing after the closing "@"

  ASSERT_EQ(SvRcsRewind(r), 0);
  std::vector<std::string> lines;
  char line[80];
  while (SvRcsGets(line, sizeof line, r) != nullptr) lines.emplace_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"line one\n", "mail me @ home\n", "@@ twice @\n", "last line @\n"}));
  EXPECT_EQ(SvRcsClose(r), 0);

  // Given with its ",v" the archive reads the same; a plain file is read as it stands.
  r = SvRcsOpen("rc,v", "r");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(readAll(r, 7), kHeadText);
  SvRcsClose(r);
  writeFile(dir.file("plain"), "a@@b\n@\n");
  r = SvRcsOpen("plain", "r");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(readAll(r, 3), "a@@b\n@\n");
  SvRcsClose(r);
  EXPECT_EQ(SvRcsOpen("missing", "r"), nullptr);
}

TEST(SvRcs, ReadingInChunksOfEverySizeGivesTheSameText) {
  TempDir dir;
  writeFile(dir.file("rc,v"), kArchive);
  SvRcsFile* r = SvRcsOpen("rc", "r");
  ASSERT_NE(r, nullptr);
  for (std::size_t chunk = 1; chunk <= 8; ++chunk) {
    ASSERT_EQ(SvRcsRewind(r), 0);
    EXPECT_EQ(readAll(r, chunk), kHeadText) << "chunks of " << chunk;
    // Lines read through a buffer of CHUNK + 1 bytes split "@@" pairs as well.
    ASSERT_EQ(SvRcsRewind(r), 0);
    std::string joined;
    std::vector<char> line(chunk + 1);
    while (SvRcsGets(line.data(), static_cast<int32_t>(line.size()), r) != nullptr) joined += line.data();
    EXPECT_EQ(joined, kHeadText) << "lines of " << chunk;
  }
  // Whole items only are counted.
  ASSERT_EQ(SvRcsRewind(r), 0);
  std::vector<char> big(200);
  EXPECT_EQ(SvRcsRead(big.data(), 4, 50, r), kHeadText.size() / 4);
  SvRcsClose(r);
}

TEST(SvRcs, DescriptorReaderDeliversTheSameText) {
  TempDir dir;
  writeFile(dir.file("rc,v"), kArchive);
  for (std::size_t chunk : {1u, 3u, 8u, 100u}) {
    SvRcsFile* r = SvRcsOpenFd("rc", O_RDONLY, 0);
    ASSERT_NE(r, nullptr);
    std::string out;
    std::vector<char> buf(chunk);
    int64_t got;
    while ((got = SvRcsReadFd(r, buf.data(), chunk)) > 0) out.append(buf.data(), static_cast<std::size_t>(got));
    EXPECT_EQ(out, kHeadText) << chunk;
    EXPECT_EQ(SvRcsCloseFd(r), 0);
  }
  EXPECT_EQ(SvRcsOpenFd("missing", O_RDONLY, 0), nullptr);
}

TEST(SvRcs, ArchiveWithoutRevisionTextIsRefusedWithAMessage) {
  TempDir dir;
  writeFile(dir.file("bad,v"), "head\t1.1;\ndesc\n@@\n");
  StderrCapture err;
  EXPECT_EQ(SvRcsOpen("bad", "r"), nullptr);
  EXPECT_EQ(err.text(), "Can't find string \"^text\\n@\" in bad,v\n");
}

TEST(SvRcs, AccessAnswersWhichOfFileAndArchiveExist) {
  TempDir dir;
  writeFile(dir.file("both"), "x");
  writeFile(dir.file("both,v"), kArchive);
  writeFile(dir.file("plain"), "x");
  writeFile(dir.file("arch,v"), kArchive);
  struct Case {
    const char* path;
    int32_t access;
  } cases[] = {
      {"both", 3}, {"both,v", 3}, {"plain", 1}, {"plain,v", 1}, {"arch", 2}, {"arch,v", 2}, {"none", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(SvRcsAccess(c.path, F_OK), c.access) << c.path;
}

TEST(SvRcs, DateIsUniversalTimeInEveryZone) {
  TempDir dir;
  writeFile(dir.file("rc,v"), kArchive);
  writeFile(dir.file("old"), "date 99.01.02.03.04.05;\n");
  writeFile(dir.file("full"), "date\t1999.01.02.03.04.05;\n");
  writeFile(dir.file("nodate"), "dates 2001.03.05.12.00.00;\n");
  writeFile(dir.file("bad"), "date 2001.03;\n");
  SavedEnv saved({"TZ"});
  for (const char* zone : {"UTC0", "JST-9", "IST-5:30", "NPT-5:45", "EST5EDT"}) {
    env::set("TZ", zone);
    tzset();
    EXPECT_EQ(SvRcsDate("rc,v"), kHeadDate) << zone;
    EXPECT_EQ(SvRcsDate("old"), 915246245) << zone;  // 1999-01-02 03:04:05 UTC
    EXPECT_EQ(SvRcsDate("full"), 915246245) << zone;
    EXPECT_EQ(SvRcsDate("nodate"), 0) << zone;
    EXPECT_EQ(SvRcsDate("bad"), 0) << zone;
    EXPECT_EQ(SvRcsDate("missing"), 0) << zone;
  }
  env::unset("TZ");
  tzset();
}

TEST(SvRcs, StatOfAnArchiveGivesItsTextSizeAndDate) {
  TempDir dir;
  writeFile(dir.file("rc,v"), kArchive);
  writeFile(dir.file("plain"), "12345");
  struct stat st;
  EXPECT_EQ(SvRcsStat("rc", &st), 2);
  EXPECT_EQ(st.st_size, static_cast<off_t>(kHeadText.size()));
  EXPECT_EQ(st.st_mtime, kHeadDate);
  EXPECT_EQ(SvRcsStat("plain", &st), 1);
  EXPECT_EQ(st.st_size, 5);
  EXPECT_EQ(SvRcsStat("missing", &st), -1);
  EXPECT_EQ(SvRcsSize("rc"), static_cast<int64_t>(kHeadText.size()));
  EXPECT_EQ(SvRcsSize("plain"), 5);
  EXPECT_EQ(SvRcsSize("missing"), 0);
}

// A stream holding TEXT, read from its start.
std::FILE* streamOf(const std::string& text) {
  std::FILE* f = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  return f;
}

TEST(SvLines, ContinuedLineInEachMode) {
  struct Case {
    std::string input;
    int32_t size;
    int32_t mode;
    int32_t answer;
    std::string line;
  } cases[] = {
      {"a \\\nb\n", 80, 0, 2, "a b\n"},
      {"a \\\nb\n", 80, 1, 2, "a \nb\n"},
      {"a \\\nb\n", 80, 2, 2, "a \\\nb\n"},
      {std::string(30, 'x') + "\n", 10, 0, -1, std::string(9, 'x')},
      {"", 80, 0, 0, ""},
      {"last", 80, 0, 1, "last"},                   // the last line without a newline
      {"a\\\n", 80, 0, 1, "a"},                     // end of file after a continuation
      {"abcd\\\n\n", 6, 0, 2, "abcd\n"},            // a backslash that fills the buffer
      {"abcd\\\nx\n", 6, 1, -1, "abcd\\"},          // no room to keep its newline
      {"abcd\\yz\n", 6, 0, -1, "abcd\\"},           // a backslash not ending the line
      {"ab\\\ncd\\\nef\n", 80, 0, 3, "abcdef\n"},
      {"ab\\\ncdefgh\n", 6, 0, -2, "abcde"},        // the continuation overflows
  };
  for (const Case& c : cases) {
    std::FILE* f = streamOf(c.input);
    std::vector<char> buf(static_cast<std::size_t>(c.size), '#');
    EXPECT_EQ(fgetls(buf.data(), c.size, f, c.mode), c.answer) << c.input;
    EXPECT_EQ(std::string(buf.data()), c.line) << c.input;
    std::fclose(f);
  }
}

TEST(SvLines, AnIncompleteLineLeavesTheRestForTheNextRead) {
  std::FILE* f = streamOf("abcd\\yz\nabcd\\\nx\n");
  char buf[6];
  EXPECT_EQ(fgetls(buf, 6, f, 0), -1);
  EXPECT_EQ(fgetls(buf, 6, f, 0), 1);
  EXPECT_STREQ(buf, "yz\n");
  EXPECT_EQ(fgetls(buf, 6, f, 1), -1);
  EXPECT_EQ(fgetls(buf, 6, f, 1), 1);
  EXPECT_STREQ(buf, "\n");
  EXPECT_EQ(fgetls(buf, 6, f, 1), 1);
  EXPECT_STREQ(buf, "x\n");
  EXPECT_EQ(fgetls(buf, 6, f, 1), 0);
  std::fclose(f);
}

TEST(SvLines, ArchiveLinesContinueToo) {
  TempDir dir;
  writeFile(dir.file("rc,v"), "desc\n@@\n\n1.1\nlog\n@x\n@\ntext\n@k=1 \\\nv @@\nnext\n@\n");
  SvRcsFile* r = SvRcsOpen("rc", "r");
  ASSERT_NE(r, nullptr);
  char buf[80];
  EXPECT_EQ(SvRcsGetls(buf, sizeof buf, r, 0), 2);
  EXPECT_STREQ(buf, "k=1 v @\n");
  EXPECT_EQ(SvRcsGetls(buf, sizeof buf, r, 0), 1);
  EXPECT_STREQ(buf, "next\n");
  EXPECT_EQ(SvRcsGetls(buf, sizeof buf, r, 0), 0);
  SvRcsClose(r);
}

TEST(SvLines, PutlsEscapesInnerNewlinesAndCopyLineStopsAfterOne) {
  std::FILE* f = std::tmpfile();
  EXPECT_EQ(SvPutls("a\nb\n", f), 0);
  std::rewind(f);
  char buf[16] = {};
  std::size_t n = std::fread(buf, 1, sizeof buf - 1, f);
  EXPECT_EQ(std::string(buf, n), "a\\\nb\n");
  std::fclose(f);

  const char* src = "ab\ncd";
  char target[10];
  EXPECT_EQ(SvCopyLine(src, target, 10), src + 3);
  EXPECT_STREQ(target, "ab\n");
  EXPECT_EQ(SvCopyLine(src + 3, target, 10), src + 5);
  EXPECT_STREQ(target, "cd");
  EXPECT_EQ(SvCopyLine(src, target, 2), src + 1);
  EXPECT_STREQ(target, "a");
  EXPECT_EQ(SvCopyLine("", target, 10), nullptr);
}

}  // namespace
}  // namespace kvr
