#include "modeldb/inpsrc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command/cmdfile.h"
#include "consolefixture.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/iomode.h"
#include "runtime/platrtn.h"

namespace kvr {
namespace {

std::vector<int32_t> codesOf(const std::string& s) {
  std::vector<int32_t> codes;
  for (char c : s) codes.push_back(codeOf(c));
  return codes;
}

class Inpsrc : public test::ConsoleFixture {
 protected:
  void SetUp() override {
    ConsoleFixture::SetUp();
    gCommandFile = {};
    IOMODE.inputUnit = 5;
  }
  void TearDown() override {
    gCommandFile = {};
    ConsoleFixture::TearDown();
  }
  void switchTo(const std::string& name) {
    const std::vector<int32_t> codes = codesOf(name);
    INPSRC(codes, static_cast<int32_t>(codes.size()));
  }
  static std::string storedName() {
    std::string s;
    for (int32_t k = 1; k <= IOMODE.commandFileLength; ++k)
      s.push_back(charOf(IOMODE.commandFileCode(k)));
    return s;
  }
  static void expectTerminal() {
    EXPECT_EQ(IOMODE.inputMode, 0);
    EXPECT_EQ(IOMODE.inputUnit, 5);
  }
  static constexpr const char* kFailed = " E3370: Failed to open batch file";
};

TEST_F(Inpsrc, AMissingFileStaysAtTheTerminal) {
  switchTo("nofile");
  EXPECT_EQ(lines(), std::vector<std::string>{kFailed});
  expectTerminal();
}

TEST_F(Inpsrc, AnExistingFileBecomesTheInput) {
  test::writeFile(dir.file("cmds"), "LIST\n");
  gCommandFile.lineCounter = 9;
  switchTo("cmds");
  EXPECT_EQ(IOMODE.inputMode, 1);
  EXPECT_EQ(IOMODE.inputUnit, 12);
  EXPECT_EQ(gCommandFile.lineCounter, 0);
  EXPECT_EQ(storedName(), "cmds");
  EXPECT_EQ(IOMODE.commandFileCode(5), kBlankCode);
  std::string line;
  EXPECT_EQ(io::readRecord(12, line), io::kIosOk);
  EXPECT_EQ(line, "LIST");
  EXPECT_EQ(output(), "");
}

TEST_F(Inpsrc, ANameLongerThanTheStoredNameIsRefused) {
  const std::string name(81, 'c');
  test::writeFile(dir.file(name), "LIST\n");
  switchTo(name);
  EXPECT_EQ(lines(), std::vector<std::string>{kFailed});
  expectTerminal();
  EXPECT_EQ(IOMODE.commandFileLength, 0);

  // Also while a command file is read: that file is closed, the input is the terminal.
  test::writeFile(dir.file("cmds"), "LIST\n");
  switchTo("cmds");
  ASSERT_EQ(IOMODE.inputMode, 1);
  switchTo(name);
  expectTerminal();
  EXPECT_FALSE(io::unitIsOpen(12));
  EXPECT_EQ(storedName(), "cmds");
}

TEST_F(Inpsrc, ANewNameWhileReadingReplacesTheCommandFile) {
  test::writeFile(dir.file("first"), "ONE\n");
  test::writeFile(dir.file("second"), "TWO\n");
  switchTo("first");
  gCommandFile.lineCounter = 4;
  switchTo("second");
  EXPECT_EQ(IOMODE.inputMode, 1);
  EXPECT_EQ(gCommandFile.lineCounter, 0);
  std::string line;
  EXPECT_EQ(io::readRecord(12, line), io::kIosOk);
  EXPECT_EQ(line, "TWO");
}

TEST_F(Inpsrc, NoNameReturnsToTheTerminal) {
  test::writeFile(dir.file("cmds"), "LIST\n");
  switchTo("cmds");
  int32_t status = 0;
  NameMapInsert(FixedText(8, "KEY"), FixedText(8, "VALUE"), status);
  gCommandFile.nameMapInUse = 1;
  gCommandFile.state = 3;
  INPSRC({}, 0);
  expectTerminal();
  EXPECT_EQ(gCommandFile.nameMapInUse, 0);
  EXPECT_EQ(gCommandFile.state, 0);
  FixedText value(8);
  int32_t entry = -1;
  NameMapLookup(FixedText(8, "KEY"), value, entry);
  EXPECT_EQ(entry, 0) << "the name map was freed";
  EXPECT_EQ(output(), "");
}

TEST_F(Inpsrc, NoNameAtTheTerminalOpensTheDefaultCommandFile) {
  INPSRC({}, 0);
  EXPECT_EQ(lines(), std::vector<std::string>{kFailed});
  expectTerminal();
  test::writeFile(dir.file("kvrbatch.bat"), "LIST\n");
  INPSRC({}, 0);
  EXPECT_EQ(IOMODE.inputMode, 1);
  EXPECT_EQ(IOMODE.inputUnit, 12);
}

}  // namespace
}  // namespace kvr
