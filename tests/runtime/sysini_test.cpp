#include "runtime/sysini.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/unitio.h"
#include "runtime/flsunt.h"
#include "runtime/iomode.h"
#include "runtime/machcn.h"
#include "runtime/platrtn.h"
#include "settingsfixture.h"

namespace kvr {
namespace {

// The settings fixture with the plot and bell variables cleared as well.
class Sysini : public test::SettingsFixture {
 protected:
  void SetUp() override {
    SettingsFixture::SetUp();
    for (const char* name : {"TL_PLOT", "TL_COMM", "TL_NOBELLS"}) {
      const char* v = std::getenv(name);
      saved_.push_back({name, v != nullptr ? std::optional<std::string>(v) : std::nullopt});
      unsetenv(name);
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
    bellsOffSwitch() = 0;
    IOMODE = {};
    SettingsFixture::TearDown();
  }
  void settings(const std::string& lines) { test::writeFile(dir.file("quorin.ini"), lines); }
  static void env(const char* name, const char* value) {
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(Sysini, MachineConstants) {
  SYSINI();
  const int32_t integers[] = {31, 1, 4, 4, 2147483647, 2147483647, 1073741824};
  for (int32_t k = 1; k <= 7; ++k) EXPECT_EQ(MACHCN.word(k), integers[k - 1]) << k;
  EXPECT_EQ(MACHCN.real(8), 3.4028235e38f);
  EXPECT_EQ(MACHCN.real(9), 1.8446743e19f);
  EXPECT_EQ(MACHCN.real(10), 1.0e-32f);
  EXPECT_EQ(MACHCN.real(11), 1.1920929e-7f);
  EXPECT_EQ(MACHCN.word(12), 38);
  EXPECT_EQ(MACHCN.word(13), -38);
}

TEST_F(Sysini, UnitSlotsGetTheirDefaultUnits) {
  IOUNIT.slot(8) = 77;
  SYSINI();
  EXPECT_EQ(IOUNIT.slot(1), 5);
  EXPECT_EQ(IOUNIT.slot(2), 6);
  EXPECT_EQ(IOUNIT.slot(8), 4);
  EXPECT_EQ(IOUNIT.slot(9), 8);
  EXPECT_EQ(IOUNIT.slot(22), 15);
}

TEST_F(Sysini, PlotModeFromTheEnvironment) {
  struct Case {
    const char* plot;
    const char* command;
    std::string mode;
  };
  const Case cases[] = {
      {"p", nullptr, "NONE"},  // no command: nothing to hand a plot file to
      {"Xyz", "printcmd", "    "},
      {"b", "printcmd", "BOTH"},
      {"BOTH", "printcmd", "BOTH"},
      {"h", "printcmd", "HARD"},
      {"Plot", "printcmd", "PLOT"},
      {nullptr, "printcmd", "NONE"},
      {" P", "printcmd", "NONE"},
  };
  for (const Case& c : cases) {
    env("TL_PLOT", c.plot);
    env("TL_COMM", c.command);
    SYSINI();
    EXPECT_EQ(std::string(IOUNIT.plotModeWord().view()), c.mode)
        << (c.plot ? c.plot : "unset") << " " << (c.command ? c.command : "unset");
    EXPECT_EQ(IOUNIT.plotCommandText().trimmed(), c.command ? c.command : "");
  }
}

TEST_F(Sysini, NoBellsFromTheCommandLineTheSettingsOrTheEnvironment) {
  struct Case {
    std::vector<std::string> args;
    std::string settings;
    const char* variable;
    bool noBells;
  };
  const Case cases[] = {
      {{"prog", "-NoBells"}, "", nullptr, true},
      {{"prog"}, "", "true", true},
      {{"prog"}, "", "false", false},
      {{"prog"}, "", nullptr, false},
      {{"prog"}, "Quorin.*.HCI.NoBells: T\n", nullptr, true},
      // A setting that is found decides; the variable is not asked.
      {{"prog"}, "Quorin.*.HCI.NoBells: F\n", "true", false},
  };
  for (const Case& c : cases) {
    setArguments(c.args);
    settings(c.settings);
    env("TL_NOBELLS", c.variable);
    SYSINI();
    EXPECT_EQ(IOUNIT.noBells != 0, c.noBells) << c.args.size() << " " << c.settings;
    EXPECT_EQ(bellsOffSwitch(), c.noBells ? 1 : 0);
  }
}

TEST_F(Sysini, IoDebugWord) {
  struct Case {
    std::vector<std::string> args;
    std::string settings;
    std::string word;
  };
  const Case cases[] = {
      {{"prog", "-IODebug"}, "", "ON "},
      {{"prog", "-IODebug", "-Verbose"}, "", "TFM"},
      {{"prog", "-Verbose"}, "", "OFF"},
      {{"prog"}, "Quorin.*.*.IODebug: YES\n", "OFF"},
      {{"prog"}, "Quorin.*.*.IODebug: true\nQuorin.*.*.Verbose: T\n", "TFM"},
      {{"prog"}, "", "OFF"},
  };
  for (const Case& c : cases) {
    setArguments(c.args);
    settings(c.settings);
    SYSINI();
    EXPECT_EQ(std::string(IOUNIT.ioDebugWord().view()), c.word) << c.settings;
  }
}

TEST_F(Sysini, ForceFileFlushSwitches) {
  struct Case {
    std::string settings;
    bool commandFile;
    bool otherInput;
  };
  const Case cases[] = {
      {"Quorin.*.HCI.ForceFileFlush: Batch\n", true, false},
      {"Quorin.*.HCI.ForceFileFlush: Never\n", false, false},
      {"Quorin.*.HCI.ForceFileFlush: always\n", true, true},
      {"Quorin.*.HCI.ForceFileFlush: Interactive\n", false, true},
      {"Quorin.*.HCI.ForceFileFlush: Sometimes\n", false, true},
      {"", false, true},
  };
  for (const Case& c : cases) {
    settings(c.settings);
    IOUNIT.forceFlush = 1;
    SYSINI();
    EXPECT_EQ(IOUNIT.flushCommandFile != 0, c.commandFile) << c.settings;
    EXPECT_EQ(IOUNIT.flushOtherInput != 0, c.otherInput) << c.settings;
    EXPECT_EQ(IOUNIT.forceFlush, 0);
  }
}

TEST_F(Sysini, FlsuntFlushesByTheSwitchOfTheInputMode) {
  struct Case {
    int32_t commandFileSwitch;
    int32_t otherSwitch;
    int32_t inputMode;
    int32_t force;
    bool flushed;
  };
  const Case cases[] = {
      {0, -1, 0, 0, true},  {0, -1, 1, 0, false}, {-1, 0, 1, 0, true},
      {-1, 0, 0, 0, false}, {-1, 0, 0, -1, true}, {0, 0, 0, 0, false},
  };
  const std::string name = dir.file("journal.txt");
  for (const Case& c : cases) {
    io::OpenSpec want;
    want.file = name;
    ASSERT_EQ(io::unitOpen(41, want), io::kIosOk);
    ASSERT_EQ(io::writeRecord(41, "line"), io::kIosOk);
    IOUNIT.flushCommandFile = c.commandFileSwitch;
    IOUNIT.flushOtherInput = c.otherSwitch;
    IOUNIT.forceFlush = c.force;
    IOMODE.inputMode = c.inputMode;
    FLSUNT(41);
    EXPECT_EQ(test::readFile(name) == "line\n", c.flushed)
        << c.commandFileSwitch << c.otherSwitch << c.inputMode << c.force;
    io::unitClose(41, true);
  }
}

}  // namespace
}  // namespace kvr
