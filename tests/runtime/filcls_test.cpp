#include "runtime/filcls.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/fouvre.h"
#include "runtime/iounit.h"
#include "runtime/pltdev.h"
#include "settingsfixture.h"

namespace kvr {
namespace {

namespace fs = std::filesystem;
using test::readLines;
using test::writeFile;

using Lines = std::vector<std::string>;

class ClosingFiles : public test::SettingsFixture {
 protected:
  static int32_t fouvre(int32_t type, const std::string& name, int32_t form, int32_t mode) {
    std::vector<int32_t> codes(name.size());
    for (size_t k = 0; k < name.size(); ++k) codes[k] = codeOf(name[k]);
    int32_t status = 12345;
    FOUVRE(type, codes, static_cast<int32_t>(codes.size()), form, mode, status);
    return status;
  }

  static void openOn(int32_t unit, const std::string& name) {
    io::OpenSpec want;
    want.file = name;
    ASSERT_EQ(io::unitOpen(unit, want), io::kIosOk);
  }
};

TEST_F(ClosingFiles, AllOpenTypesInOneGo) {
  ASSERT_EQ(fouvre(2, "", 1, 1), 0);
  ASSERT_EQ(fouvre(4, "", 1, 1), 0);
  ASSERT_EQ(fouvre(7, "model", 3, 1), 0);
  ASSERT_TRUE(io::unitIsOpen(2));
  ASSERT_TRUE(io::unitIsOpen(4));
  FILCLS(-1);
  EXPECT_FALSE(io::unitIsOpen(2));
  EXPECT_FALSE(io::unitIsOpen(4));
  EXPECT_TRUE(io::unitIsOpen(6));
  EXPECT_TRUE(fs::exists("kvrlst.lst"));
  EXPECT_TRUE(fs::exists("MODEL.M71"));
  EXPECT_EQ(IOUNIT.openFlags, (std::array<int32_t, 28>{}));
}

TEST_F(ClosingFiles, OneTypeByItsClosingSlot) {
  openOn(21, "t17.dat");
  openOn(22, "t18.dat");
  openOn(15, "syn.dat");
  IOUNIT.openFlag(17) = 1;
  FILCLS(17);
  EXPECT_FALSE(io::unitIsOpen(21));
  EXPECT_EQ(IOUNIT.openFlag(17), 0);
  FILCLS(18);  // closed whether or not it was marked open
  EXPECT_FALSE(io::unitIsOpen(22));
  FILCLS(19);
  EXPECT_FALSE(io::unitIsOpen(15));

  // Type 24 has no unit and 15 does not exist: nothing is closed, no flag touched.
  openOn(1, "one.dat");
  std::array<int32_t, 28> all{};
  all.fill(1);
  IOUNIT.openFlags = all;
  for (int32_t type : {24, 15, 0, 29, -2}) FILCLS(type);
  EXPECT_TRUE(io::unitIsOpen(1));
  EXPECT_EQ(IOUNIT.openFlags, all);
}

TEST_F(ClosingFiles, UnitCloseKeepsDeletesAndSparesTheTerminal) {
  openOn(12, "deleted.dat");
  openOn(13, "kept.dat");
  UNTCLS(-12);
  UNTCLS(13);
  EXPECT_FALSE(io::unitIsOpen(12));
  EXPECT_FALSE(fs::exists("deleted.dat"));
  EXPECT_FALSE(io::unitIsOpen(13));
  EXPECT_TRUE(fs::exists("kept.dat"));
  UNTCLS(5);
  UNTCLS(6);
  UNTCLS(-5);
  EXPECT_TRUE(io::unitIsOpen(5));
  EXPECT_TRUE(io::unitIsOpen(6));
}

// ---- The plot-file command ------------------------------------------------------------

class PlotFileCommand : public ClosingFiles {
 protected:
  void SetUp() override {
    ClosingFiles::SetUp();
    // "printcmd" records each argument it gets on a line of args.txt.
    makeDirectories("bin");
    writeFile(dir.file("bin/printcmd"),
              "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> " +
                  dir.file("args.txt") + "\n");
    chmod(dir.file("bin/printcmd").c_str(), 0755);
    setenv("PATH", (dir.file("bin") + ":" + std::getenv("PATH")).c_str(), 1);
    setMode("BOTH");
    setCommand("printcmd");
    PLTDEV.device = 4;
  }

  static void setMode(std::string_view mode) { IOUNIT.plotModeWord().assign(mode); }
  static void setCommand(std::string_view command) { IOUNIT.plotCommandText().assign(command); }

  Lines arguments() { return readLines(dir.file("args.txt")); }
  bool ran() { return fs::exists(dir.file("args.txt")); }
};

TEST_F(PlotFileCommand, ClosingThePlotUnitRunsTheCommand) {
  IOUNIT.plotFileName = "/plots/kvrplt.ps";
  UNTCLS(3);
  EXPECT_EQ(lastPlotCommandLine(), "printcmd /plots/kvrplt.ps   4");
  EXPECT_EQ(arguments(), (Lines{"/plots/kvrplt.ps", "4"}));
}

TEST_F(PlotFileCommand, AfterAnOpenOfThePlotFileByType) {
  setMode("PLOT");
  setCommand("  printcmd  ");
  PLTDEV.device = 12;
  ASSERT_EQ(fouvre(3, "", 1, 1), 0);
  FILCLS(3);
  EXPECT_EQ(lastPlotCommandLine(), "printcmd kvrplt.tif  12");
  EXPECT_EQ(arguments(), (Lines{"kvrplt.tif", "12"}));
  EXPECT_EQ(IOUNIT.openFlag(3), 0);
}

TEST_F(PlotFileCommand, NameReachesTheCommandAsOneArgument) {
  IOUNIT.plotFileName = "/my plots/a;b$c`d`\".ps";
  UNTCLS(3);
  EXPECT_EQ(lastPlotCommandLine(), "printcmd \"/my plots/a;b$c`d`\".ps\"   4");
  EXPECT_EQ(arguments(), (Lines{"/my plots/a;b$c`d`\".ps", "4"}));
}

TEST_F(PlotFileCommand, RunsOnlyWhenThereIsSomethingToHandOver) {
  const struct {
    const char* what;
    const char* mode;
    const char* command;
    const char* name;
    int32_t unit;
  } cases[] = {
      {"hard copy only", "HARD", "printcmd", "/plots/kvrplt.ps", 3},
      {"no plotting", "NONE", "printcmd", "/plots/kvrplt.ps", 3},
      {"mode of blanks", "    ", "printcmd", "/plots/kvrplt.ps", 3},
      {"no plot file opened", "BOTH", "printcmd", "", 3},
      {"blank plot file name", "BOTH", "printcmd", "   ", 3},
      {"no command", "BOTH", "", "/plots/kvrplt.ps", 3},
      {"another unit", "BOTH", "printcmd", "/plots/kvrplt.ps", 13},
      {"plot file deleted", "BOTH", "printcmd", "/plots/kvrplt.ps", -3},
  };
  for (const auto& c : cases) {
    setMode(c.mode);
    setCommand(c.command);
    IOUNIT.plotFileName = c.name;
    UNTCLS(c.unit);
    EXPECT_FALSE(ran()) << c.what;
  }
}

TEST(PlotCommandLine, TraditionalLayout) {
  EXPECT_EQ(plotCommandLine("lpr", "a.ps", 4), "lpr a.ps   4");
  EXPECT_EQ(plotCommandLine("lpr", "my a.ps", 10), "lpr \"my a.ps\"  10");
}

}  // namespace
}  // namespace kvr
