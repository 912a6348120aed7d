// A fixture for the console: the settings fixture (a temporary current directory, no
// settings files but those a test writes, the default unit slots), with units 5 and 6 on
// files in that directory. The replies the user would type are written to the input file
// beforehand (end of input after the last one), and the console lines are read back from
// the output file. The console's blocks start in their load state, with PLTPAR words 1
// and 2 on units 6 and 5.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/stop.h"
#include "platform/unitio.h"
#include "runtime/iomode.h"
#include "runtime/iounit.h"
#include "runtime/pltcap.h"
#include "runtime/pltctb.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"
#include "runtime/replyb.h"
#include "settingsfixture.h"
#include "testsupport.h"

namespace kvr::test {

class ConsoleFixture : public SettingsFixture {
 protected:
  void SetUp() override {
    SettingsFixture::SetUp();
    freshConsole();
  }

  // The console blocks in their load state, an empty output file and no input.
  void freshConsole() {
    resetBlocks();
    setDefaultUnitSlots();
    PLTPAR.outUnit = io::kStdoutUnit;
    PLTPAR.inUnit = io::kStdinUnit;
    int fd = ::open(dir.file("console.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    io::redirectStandardUnit(io::kStdoutUnit, fd);
    ::close(fd);
    replies("");
  }

  void TearDown() override {
    io::redirectStandardUnit(io::kStdinUnit, -1);
    io::redirectStandardUnit(io::kStdoutUnit, -1);
    resetBlocks();
    SettingsFixture::TearDown();
  }

  static void resetBlocks() {
    PLTPAR = {};
    PLTDEV = {};
    PLTCAP = {};
    PLTCTB = {};
    IOMODE = {};
    IOUNIT = {};
    REPLYB = {};
  }

  // The lines the user types, each ended by a new line; the input ends after them.
  void replies(const std::string& text) {
    kvr::test::scriptStandardInput(dir.file("console.in"), text);
  }

  // Everything written to the console so far.
  std::string output() {
    io::unitFlush(io::kStdoutUnit);
    return readFile(dir.file("console.out"));
  }
  std::vector<std::string> lines() {
    io::unitFlush(io::kStdoutUnit);
    return readLines(dir.file("console.out"));
  }

  // Settings lines in the current directory's settings file.
  void settings(const std::string& lines) { writeFile(dir.file("quorin.ini"), lines); }
};

}  // namespace kvr::test
