#include "platform/unitio.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <span>
#include <vector>

#include "testsupport.h"

namespace kvr::io {
namespace {

using kvr::test::readFile;
using kvr::test::SavedEnv;
using kvr::test::TempDir;
using kvr::test::writeFile;

OpenSpec want(const std::string& file, Form form, Access access = Access::Sequential,
              Status status = Status::Unknown, int32_t recl = 0) {
  OpenSpec s;
  s.file = file;
  s.form = form;
  s.access = access;
  s.status = status;
  s.recl = recl;
  return s;
}

// Everything that can be read from FD now, without waiting for more.
std::string drain(int fd) {
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  std::string got;
  char buf[256];
  for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) got.append(buf, static_cast<size_t>(n));
  return got;
}

class UnitIo : public ::testing::Test {
 protected:
  void TearDown() override { closeAllUnits(); }
  TempDir dir;
};

TEST_F(UnitIo, FormattedRecordsWriteOneLineEachAndReadBackWithoutCarriageReturn) {
  ASSERT_EQ(unitOpen(20, want("f.txt", Form::Formatted)), kIosOk);
  EXPECT_EQ(writeRecord(20, " abc"), kIosOk);
  EXPECT_EQ(writeNonAdvancing(20, "pro"), kIosOk);
  EXPECT_EQ(writeRecord(20, "mpt"), kIosOk);
  unitClose(20);
  EXPECT_EQ(readFile("f.txt"), " abc\nprompt\n");

  writeFile("w.txt", "T\r\nlast");
  ASSERT_EQ(unitOpen(21, want("w.txt", Form::Formatted, Access::Sequential, Status::Old)), kIosOk);
  std::string rec;
  char text[128];
  EXPECT_EQ(readRecord(21, text, 128), kIosOk);
  EXPECT_EQ(std::string(text, 128), "T" + std::string(127, ' '));
  EXPECT_EQ(readRecord(21, rec), kIosOk);
  EXPECT_EQ(rec, "last");
  EXPECT_EQ(readRecord(21, rec), kIosEnd);
}

// A bounded read keeps at most its bound of each record and reads past the rest: the next
// read starts at the next line, a carriage return is dropped only at the record's end,
// and the largest record kept is what the reads cost.
TEST_F(UnitIo, ABoundedReadKeepsTheBoundAndSkipsTheRestOfTheLine) {
  const std::string longLine(10'000'000, 'x');
  writeFile("b.txt", "abcdef\r\nabc\r\nab\rcd\n" + longLine + "\r\nend");
  ASSERT_EQ(unitOpen(22, want("b.txt", Form::Formatted, Access::Sequential, Status::Old)), kIosOk);
  resetLargestRecordRead();
  struct Case {
    std::size_t bound;
    std::string record;
  };
  const Case cases[] = {
      {4, "abcd"},        // cut: the carriage return is past the bound
      {4, "abc"},         // whole: its carriage return dropped
      {3, "ab\r"},        // cut inside the line: the carriage return is data
      {80, std::string(80, 'x')},
      {80, "end"},
  };
  for (const Case& c : cases) {
    std::string rec;
    EXPECT_EQ(readRecord(22, rec, c.bound), kIosOk);
    EXPECT_EQ(rec, c.record);
  }
  std::string rec;
  EXPECT_EQ(readRecord(22, rec, 80), kIosEnd);
  EXPECT_EQ(largestRecordRead(), 80u);

  // The fixed-length read is bounded by its length.
  writeFile("c.txt", longLine + "\nnext\n");
  ASSERT_EQ(unitOpen(23, want("c.txt", Form::Formatted, Access::Sequential, Status::Old)), kIosOk);
  resetLargestRecordRead();
  char text[80];
  EXPECT_EQ(readRecord(23, text, 80), kIosOk);
  EXPECT_EQ(std::string(text, 80), std::string(80, 'x'));
  EXPECT_EQ(readRecord(23, text, 80), kIosOk);
  EXPECT_EQ(std::string(text, 80), "next" + std::string(76, ' '));
  EXPECT_EQ(largestRecordRead(), 80u);
}

TEST_F(UnitIo, WriteAfterRewindEndsTheFileThere) {
  ASSERT_EQ(unitOpen(20, want("f.txt", Form::Formatted)), kIosOk);
  writeRecord(20, "one");
  writeRecord(20, "two");
  writeRecord(20, "three");
  ASSERT_EQ(unitRewind(20), kIosOk);
  std::string rec;
  EXPECT_EQ(readRecord(20, rec), kIosOk);
  EXPECT_EQ(writeRecord(20, "new"), kIosOk);
  unitClose(20);
  EXPECT_EQ(readFile("f.txt"), "one\nnew\n");
}

TEST_F(UnitIo, UnformattedRecordsCarryLengthMarkers) {
  ASSERT_EQ(unitOpen(30, want("u.bin", Form::Unformatted)), kIosOk);
  std::vector<int32_t> big(1024);
  for (int32_t k = 0; k < 1024; ++k) big[k] = k * 7 - 3000;
  const std::vector<std::vector<int32_t>> records = {{}, {0x12345678}, big};
  for (const auto& r : records) ASSERT_EQ(writeUnformatted(30, r), kIosOk);
  ASSERT_EQ(unitRewind(30), kIosOk);
  for (const auto& r : records) {
    std::vector<int32_t> back(1024, -1);
    int32_t count = -1;
    ASSERT_EQ(readUnformatted(30, back, count), kIosOk);
    ASSERT_EQ(count, static_cast<int32_t>(r.size()));
    EXPECT_TRUE(std::equal(r.begin(), r.end(), back.begin()));
  }
  int32_t count = 0;
  std::vector<int32_t> any(4);
  EXPECT_EQ(readUnformatted(30, any, count), kIosEnd);
  unitClose(30);

  std::string bytes = readFile("u.bin");
  ASSERT_EQ(bytes.size(), 8u + 12u + (8u + 4096u));
  EXPECT_EQ(bytes.substr(0, 8), std::string(8, '\0'));
  EXPECT_EQ(bytes.substr(8, 12), std::string("\x04\0\0\0\x78\x56\x34\x12\x04\0\0\0", 12));
  EXPECT_EQ(bytes.substr(20, 4), std::string("\0\x10\0\0", 4));
}

TEST_F(UnitIo, DirectRecordsAreZeroFilledAndEndOfFileIsReported) {
  ASSERT_EQ(unitOpen(40, want("d.dat", Form::Unformatted, Access::Direct, Status::Unknown, 100)), kIosOk);
  std::vector<int32_t> rec(100, 7);
  ASSERT_EQ(writeDirect(40, 3, rec), kIosOk);
  EXPECT_EQ(unitRecords(40), 3);
  std::vector<int32_t> back(100, -1);
  EXPECT_EQ(readDirect(40, 5, back), kIosEnd);
  EXPECT_EQ(back, std::vector<int32_t>(100, 0));
  back.assign(100, -1);
  EXPECT_EQ(readDirect(40, 4, back), kIosEnd) << "the record that begins at the end";
  EXPECT_EQ(back, std::vector<int32_t>(100, 0));
  EXPECT_EQ(readDirect(40, 3, std::span<int32_t>()), kIosOk) << "an empty read of a record";
  EXPECT_EQ(readDirect(40, 4, std::span<int32_t>()), kIosEnd);
  EXPECT_EQ(readDirect(40, 1, back), kIosOk);
  EXPECT_EQ(back, std::vector<int32_t>(100, 0));
  EXPECT_EQ(writeDirect(40, 0, rec), kIosBadRecord);
  // A short write is zero-filled to the record length.
  std::vector<int32_t> shortRec = {1, 2};
  ASSERT_EQ(writeDirect(40, 1, shortRec), kIosOk);
  EXPECT_EQ(readDirect(40, 1, back), kIosOk);
  EXPECT_EQ(back[0], 1);
  EXPECT_EQ(back[1], 2);
  EXPECT_EQ(back[2], 0);
  unitClose(40);
  std::string bytes = readFile("d.dat");
  ASSERT_EQ(bytes.size(), 1200u);
  EXPECT_EQ(bytes.substr(400, 400), std::string(400, '\0'));
  EXPECT_EQ(unitRecords(40), 0);  // not connected

  // A record only partly present counts.
  writeFile("p.dat", std::string(401, '\1'));
  ASSERT_EQ(unitOpen(40, want("p.dat", Form::Unformatted, Access::Direct, Status::Old, 100)), kIosOk);
  EXPECT_EQ(unitRecords(40), 2);
}

TEST_F(UnitIo, DirectRecordBeyondFourGigabytes) {
  ASSERT_EQ(unitOpen(41, want("big.dat", Form::Unformatted, Access::Direct, Status::Unknown, 32640)), kIosOk);
  std::vector<int32_t> rec(32640);
  for (int32_t k = 0; k < 32640; ++k) rec[k] = k ^ 0x5a5a5a5a;
  ASSERT_EQ(writeDirect(41, 40000, rec), kIosOk);
  std::vector<int32_t> back(32640);
  ASSERT_EQ(readDirect(41, 40000, back), kIosOk);
  EXPECT_EQ(back, rec);
  unitClose(41);
  EXPECT_EQ(std::filesystem::file_size("big.dat"), 5222400000u);
  // Record 40000 starts at (40000 - 1) * 4 * 32640 bytes.
  FILE* f = std::fopen("big.dat", "rb");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(fseeko(f, 5222269440LL, SEEK_SET), 0);
  unsigned char first[4];
  ASSERT_EQ(std::fread(first, 1, 4, f), 4u);
  std::fclose(f);
  EXPECT_EQ(first[0], 0x5a);
}

TEST_F(UnitIo, OpenStatusesAndErrors) {
  writeFile("exists.txt", "x\n");
  EXPECT_EQ(unitOpen(20, want("missing.txt", Form::Formatted, Access::Sequential, Status::Old)), kIosFileNotFound);
  EXPECT_EQ(unitOpen(20, want("exists.txt", Form::Formatted, Access::Sequential, Status::New)), kIosFileExists);
  EXPECT_FALSE(unitIsOpen(20));
  EXPECT_EQ(unitOpen(20, want("", Form::Formatted)), kIosOpenError);
  EXPECT_EQ(unitOpen(20, want("nodir/x.txt", Form::Formatted)), kIosFileNotFound);
  EXPECT_EQ(unitOpen(20, want(".", Form::Formatted)), kIosOpenError);
  EXPECT_EQ(unitOpen(kStdoutUnit, want("x", Form::Formatted)), kIosOpenError);

  // Read-only connections refuse writes; a wrong record kind is refused.
  OpenSpec ro = want("exists.txt", Form::Formatted, Access::Sequential, Status::Old);
  ro.action = Action::Read;
  ASSERT_EQ(unitOpen(21, ro), kIosOk);
  EXPECT_EQ(writeRecord(21, "no"), kIosReadOnly);
  EXPECT_EQ(writeUnformatted(21, std::vector<int32_t>{1}), kIosReadOnly);
  ro.action = Action::ReadWrite;
  ASSERT_EQ(unitOpen(21, ro), kIosOk);  // reopening a connected unit closes it first
  EXPECT_EQ(writeUnformatted(21, std::vector<int32_t>{1}), kIosWrongForm);
  unitClose(21);
  EXPECT_EQ(readFile("exists.txt"), "x\n");
}

TEST_F(UnitIo, FormattedDirectIsRefusedAndEveryRecordCallChecksFormAndAccess) {
  // Once opened and then crashing at the first record: now refused at the open.
  EXPECT_EQ(unitOpen(30, want("fd.dat", Form::Formatted, Access::Direct, Status::Unknown, 10)), kIosOpenError);
  EXPECT_FALSE(unitIsOpen(30));
  std::string text;
  char fixed[4];
  std::vector<int32_t> words(10, 0);
  int32_t count = 0;
  EXPECT_EQ(writeRecord(30, "x"), kIosNotConnected);
  EXPECT_EQ(readRecord(30, text), kIosNotConnected);

  // Each connection answers only its own record calls; the others get the wrong-form
  // status. Order: formatted write, read, fixed read, unformatted write, read, direct
  // write, read.
  struct Case {
    Form form;
    Access access;
    std::vector<int32_t> rc;
  } cases[] = {
      {Form::Formatted, Access::Sequential, {0, 0, -1, 48, 48, 48, 48}},
      {Form::Unformatted, Access::Sequential, {48, 48, 48, 0, 0, 48, 48}},
      {Form::Unformatted, Access::Direct, {48, 48, 48, 48, 48, 0, 0}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(unitOpen(31, want("any.dat", c.form, c.access, Status::Scratch, 10)), kIosOk);
    std::vector<int32_t> got = {
        writeRecord(31, "x"),          (unitRewind(31), readRecord(31, text)),
        readRecord(31, fixed, 4),      writeUnformatted(31, words),
        (unitRewind(31), readUnformatted(31, words, count)),
        writeDirect(31, 1, words),     readDirect(31, 1, words)};
    EXPECT_EQ(got, c.rc) << int(c.form) << int(c.access);
    unitClose(31);
  }
}

TEST_F(UnitIo, PermissionDeniedAnswersNine) {
  if (geteuid() == 0) GTEST_SKIP() << "root is never denied";
  writeFile("locked.txt", "x\n");
  chmod("locked.txt", 0444);
  EXPECT_EQ(unitOpen(20, want("locked.txt", Form::Formatted, Access::Sequential, Status::Old)), kIosPermission);
}

TEST_F(UnitIo, NoSpaceLeftAnswers608) {
  OpenSpec s = want("/dev/full", Form::Formatted, Access::Sequential, Status::Old);
  s.action = Action::Write;
  ASSERT_EQ(unitOpen(20, s), kIosOk);
  writeRecord(20, "x");
  EXPECT_EQ(unitFlush(20), kIosNoSpace);
  s.form = Form::Unformatted;
  s.access = Access::Direct;
  s.recl = 4;
  ASSERT_EQ(unitOpen(21, s), kIosOk);
  EXPECT_EQ(writeDirect(21, 1, std::vector<int32_t>{1, 2, 3, 4}), kIosNoSpace);
}

// A file's records are buffered in large blocks; a unit the program never closes still
// has every record in its file when the process ends through exit, also those of a last
// block that was never full.
TEST_F(UnitIo, RecordsOfAUnitLeftOpenReachTheFileAtTheProcessEnd) {
  const std::string name = dir.file("open.txt");
  std::string expected;
  for (int k = 1; k <= 20000; ++k) expected += "record " + std::to_string(k) + "\n";
  std::fflush(nullptr);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int status = unitOpen(20, want(name, Form::Formatted)) == kIosOk ? 0 : 2;
    for (int k = 1; k <= 20000 && status == 0; ++k) {
      if (writeRecord(20, "record " + std::to_string(k)) != kIosOk) status = 3;
    }
    std::exit(status);
  }
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(readFile(name), expected);
}

TEST_F(UnitIo, WriteToUnconnectedUnitCreatesNothing) {
  EXPECT_EQ(writeRecord(77, "x"), kIosNotConnected);
  EXPECT_EQ(writeUnformatted(77, std::vector<int32_t>{1}), kIosNotConnected);
  std::string rec;
  EXPECT_EQ(readRecord(77, rec), kIosNotConnected);
  EXPECT_FALSE(std::filesystem::exists("fort.77"));
  EXPECT_EQ(unitClose(77), kIosOk);
}

// Scratch files are named in the temporary directory but never stay there: a process that
// ends without closing them leaves nothing behind.
TEST_F(UnitIo, ScratchFilesLeaveTheTemporaryDirectoryEmptyAndStillReadBack) {
  SavedEnv env({"TMPDIR"});
  std::filesystem::create_directory("tmp");
  setenv("TMPDIR", dir.file("tmp").c_str(), 1);
  const OpenSpec named = want("ignored", Form::Unformatted, Access::Sequential, Status::Scratch);
  ASSERT_EQ(unitOpen(50, named), kIosOk);
  ASSERT_EQ(unitOpen(51, want("", Form::Formatted, Access::Sequential, Status::Scratch)), kIosOk);
  ASSERT_EQ(unitOpen(52, want("", Form::Unformatted, Access::Direct, Status::Scratch, 2)), kIosOk);
  EXPECT_TRUE(std::filesystem::is_empty("tmp"));
  EXPECT_FALSE(std::filesystem::exists("ignored"));
  for (int32_t unit : {50, 51, 52}) {
    EXPECT_EQ(std::filesystem::path(unitFileName(unit)).parent_path(), dir.file("tmp")) << unit;
  }
  EXPECT_NE(unitFileName(50), unitFileName(51));

  ASSERT_EQ(writeUnformatted(50, std::vector<int32_t>{1, 2}), kIosOk);
  ASSERT_EQ(writeRecord(51, "one"), kIosOk);
  ASSERT_EQ(writeDirect(52, 3, std::vector<int32_t>{5, 6}), kIosOk);
  ASSERT_EQ(unitRewind(50), kIosOk);
  ASSERT_EQ(unitRewind(51), kIosOk);
  std::vector<int32_t> words(2);
  int32_t count = 0;
  EXPECT_EQ(readUnformatted(50, words, count), kIosOk);
  EXPECT_EQ(words, (std::vector<int32_t>{1, 2}));
  std::string rec;
  EXPECT_EQ(readRecord(51, rec), kIosOk);
  EXPECT_EQ(rec, "one");
  EXPECT_EQ(readDirect(52, 3, words), kIosOk);
  EXPECT_EQ(words, (std::vector<int32_t>{5, 6}));

  // A file made later under a scratch unit's name is not the unit's to delete.
  writeFile(unitFileName(51), "kept\n");
  std::string other = unitFileName(51);
  EXPECT_EQ(unitClose(51, true), kIosOk);
  EXPECT_EQ(readFile(other), "kept\n");
  std::filesystem::remove(other);
  EXPECT_TRUE(std::filesystem::is_empty("tmp"));
}

// A unit on a stream that cannot seek takes every record in order, also the first after
// the open and the first after a read; formatted and unformatted alike.
TEST_F(UnitIo, PipesAndFifosTakeEveryRecord) {
  const std::string framed("\x04\0\0\0\x07\0\0\0\x04\0\0\0", 12);
  for (Form form : {Form::Formatted, Form::Unformatted}) {
    const bool formatted = form == Form::Formatted;
    auto write = [&](int32_t unit, int32_t n) {
      return formatted ? writeRecord(unit, std::to_string(n))
                       : writeUnformatted(unit, std::vector<int32_t>{n});
    };
    const std::string expected = formatted ? "7\n7\n" : framed + framed;

    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(unitOpen(40, want("/dev/fd/" + std::to_string(fds[1]), form)), kIosOk);
    ::close(fds[1]);
    EXPECT_EQ(write(40, 7), kIosOk);
    EXPECT_EQ(write(40, 7), kIosOk);
    EXPECT_EQ(unitClose(40), kIosOk);
    EXPECT_EQ(drain(fds[0]), expected) << formatted;
    ::close(fds[0]);

    // A FIFO opened for reading and writing reads back its own first record, then writes.
    std::filesystem::remove("f.fifo");
    ASSERT_EQ(::mkfifo("f.fifo", 0600), 0);
    int reader = ::open("f.fifo", O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_EQ(unitOpen(41, want("f.fifo", form)), kIosOk);
    EXPECT_EQ(write(41, 7), kIosOk);
    if (formatted) {
      std::string rec;
      EXPECT_EQ(readRecord(41, rec), kIosOk);
      EXPECT_EQ(rec, "7");
      EXPECT_EQ(write(41, 7), kIosOk);
      EXPECT_EQ(write(41, 7), kIosOk);
    } else {
      EXPECT_EQ(write(41, 7), kIosOk);
    }
    EXPECT_EQ(unitClose(41), kIosOk);
    EXPECT_EQ(drain(reader), expected) << formatted;
    ::close(reader);
  }
}

TEST_F(UnitIo, ATerminalTakesEveryRecord) {
  int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    GTEST_SKIP() << "no pseudo-terminal on this machine: " << std::strerror(errno);
  }
  const std::string slave = ::ptsname(master);
  // Held open here too, so that what the unit wrote stays readable after its close.
  int held = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(unitOpen(42, want(slave, Form::Formatted)), kIosOk);
  EXPECT_EQ(writeRecord(42, " PROCESSING MESH DATA"), kIosOk);
  EXPECT_EQ(writeRecord(42, " two"), kIosOk);
  EXPECT_EQ(unitClose(42), kIosOk);
  std::string got = drain(master);
  std::erase(got, '\r');
  EXPECT_EQ(got, " PROCESSING MESH DATA\n two\n");
  ::close(held);
  ::close(master);
}

TEST_F(UnitIo, ExistingFilesAreFoundIgnoringCaseWhenTheMatchIsUnique) {
  writeFile("Model1.TLI", "m\n");
  std::string actual;
  EXPECT_TRUE(fileExists("model1.tli"));
  ASSERT_TRUE(findExistingFile("MODEL1.tli", actual));
  EXPECT_EQ(actual, "Model1.TLI");
  ASSERT_EQ(unitOpen(20, want("MODEL1.TLI", Form::Formatted, Access::Sequential, Status::Old)), kIosOk);
  EXPECT_EQ(unitFileName(20), "Model1.TLI");
  writeFile("MODEL1.tli", "other\n");
  EXPECT_TRUE(fileExists("MODEL1.tli"));    // the exact name wins
  EXPECT_FALSE(fileExists("model1.TLI"));   // two matches: none is taken
}

TEST_F(UnitIo, AppendPositionWritesAfterTheExistingRecords) {
  writeFile("log.txt", "first\n");
  OpenSpec s = want("log.txt", Form::Formatted, Access::Sequential, Status::Old);
  s.action = Action::Write;
  s.position = Position::Append;
  ASSERT_EQ(unitOpen(20, s), kIosOk);
  writeRecord(20, "second");
  closeAllUnits();
  EXPECT_EQ(readFile("log.txt"), "first\nsecond\n");
}

}  // namespace
}  // namespace kvr::io
