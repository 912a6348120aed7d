#include "platform/unitio.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "testsupport.h"

namespace kvr::io {
namespace {

using kvr::test::readFile;
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

TEST_F(UnitIo, WriteToUnconnectedUnitCreatesNothing) {
  EXPECT_EQ(writeRecord(77, "x"), kIosNotConnected);
  EXPECT_EQ(writeUnformatted(77, std::vector<int32_t>{1}), kIosNotConnected);
  std::string rec;
  EXPECT_EQ(readRecord(77, rec), kIosNotConnected);
  EXPECT_FALSE(std::filesystem::exists("fort.77"));
  EXPECT_EQ(unitClose(77), kIosOk);
}

TEST_F(UnitIo, ScratchFilesLiveInTheTemporaryDirectoryAndVanishAtClose) {
  setenv("TMPDIR", dir.path().c_str(), 1);
  OpenSpec s = want("ignored", Form::Unformatted, Access::Sequential, Status::Scratch);
  ASSERT_EQ(unitOpen(50, s), kIosOk);
  std::string name = unitFileName(50);
  unsetenv("TMPDIR");
  EXPECT_EQ(std::filesystem::path(name).parent_path(), dir.path());
  EXPECT_TRUE(std::filesystem::exists(name));
  EXPECT_FALSE(std::filesystem::exists("ignored"));
  unitClose(50);
  EXPECT_FALSE(std::filesystem::exists(name));
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
