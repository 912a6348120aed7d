// A fixture for the database open and the control records: a temporary directory as the
// current directory with the settings file named by QUORIN_INIT in it (nothing else is
// searched), the process stop trapped, a fixed clock and process id, the console on
// files (its input empty), the catalogue lines on a message file, and the writing road's
// start-up run (INICON, GFXDEF, LOGOPN, SETDEF) over blocks in their load state.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbmsg.h"
#include "modeldb/dbopen.h"
#include "modeldb/dbpage.h"
#include "modeldb/elttab.h"
#include "platform/cmdline.h"
#include "platform/exedir.h"
#include "platform/procid.h"
#include "platform/unitio.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/dattim.h"
#include "runtime/idxlay.h"
#include "runtime/iomode.h"
#include "runtime/iounit.h"
#include "runtime/msgarg.h"
#include "runtime/pltcap.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"
#include "runtime/replyb.h"
#include "runtime/resget.h"
#include "runtime/startup.h"
#include "runtime/svutil/svenv.h"
#include "testsupport.h"

namespace kvr::test {

class DbOpenFixture : public ::testing::Test {
 protected:
  static constexpr int32_t kOurPid = 31337;
  // Another live process (init): a holder that no longer exists would be taken over.
  static constexpr int32_t kOtherPid = 1;
  static constexpr int32_t kMessageUnit = 30;
  static constexpr int32_t kLogUnit = 7;
  static constexpr LocalTime kMoment{2024, 3, 5, 14, 30, 15};

  struct Message {
    int32_t number;
    std::vector<int32_t> values;
    bool operator==(const Message&) const = default;
  };

  void SetUp() override {
    for (const char* name : {"QUORIN_GLOBAL_INIT", "KVRKEY"}) unsetenv(name);
    setenv("QUORIN_INIT", dir.file("settings.ini").c_str(), 1);
    setenv("HOME", dir.path().c_str(), 1);
    setenv("KVR_REGISTRY_USER", dir.file("no-registry").c_str(), 1);
    setenv("KVR_REGISTRY_MACHINE", dir.file("no-registry").c_str(), 1);
    SvRegClose();
    setCommandLineOverride({"prog"});
    resetCommandLineProbe();
    os::setExecutableDirectoryOverride(dir.file("p/bin/"));
    os::setProcessIdOverride(kOurPid);
    setClockOverride(kMoment);
    settings("");

    resetBlocks();
    setDefaultUnitSlots();
    redirect(io::kStdoutUnit, "console.out", O_WRONLY | O_CREAT | O_TRUNC);
    scriptStandardInput(dir.file("console.in"), "");
    openText(kLogUnit, "kvrlog.log");
    IOUNIT.slot(kSlotLogFile) = kLogUnit;

    CHRSET();
    INICON();
    GFXDEF();
    LOGOPN(1, 1);
    SETDEF();
    // The catalogue lines go to the message unit.
    openText(kMessageUnit, "messages.txt");
    PLTPAR.outUnit = kMessageUnit;
    setDbMessageObserver(
        [this](int32_t n, std::span<const int32_t> values, std::span<const int32_t> name) {
          seen.push_back({n, std::vector<int32_t>(values.begin(), values.end())});
          std::string text;
          for (int32_t c : name) text += static_cast<char>(c & 0xFF);
          named.push_back({n, text});
        });
  }

  void TearDown() override {
    setDbMessageObserver(nullptr);
    io::redirectStandardUnit(io::kStdinUnit, -1);
    io::redirectStandardUnit(io::kStdoutUnit, -1);
    io::closeAllUnits();
    resetBlocks();
    setClockOverride(std::nullopt);
    os::setProcessIdOverride(std::nullopt);
    os::setExecutableDirectoryOverride(std::nullopt);
    clearCommandLineOverride();
    resetCommandLineProbe();
    SvRegClose();
  }

  static void resetBlocks() {
    IOUNIT = {};
    IOMODE = {};
    PLTPAR = {};
    PLTDEV = {};
    PLTCAP = {};
    REPLYB = {};
    MSGARG = {};
    DBLEVL = {};
    IDXLAY = {};
    PGCUR = {};
    CTLREC = {};
    ELTTAB.clear();
  }

  // The settings file: LINES, one setting a line.
  void settings(const std::string& lines) { writeFile(dir.file("settings.ini"), lines); }

  void redirect(int32_t unit, const std::string& name, int flags) {
    int fd = ::open(dir.file(name).c_str(), flags, 0644);
    ASSERT_GE(fd, 0) << name;
    io::redirectStandardUnit(unit, fd);
    ::close(fd);
  }

  void openText(int32_t unit, const std::string& name) {
    io::OpenSpec want;
    want.file = dir.file(name);
    ASSERT_EQ(io::unitOpen(unit, want), io::kIosOk) << name;
  }

  // NAME as LENGTH character codes, blank-padded.
  static std::vector<int32_t> codes(const std::string& name, size_t length = 20) {
    std::vector<int32_t> line(std::max(length, name.size()), kBlankCode);
    for (size_t k = 0; k < name.size(); ++k) line[k] = codeOf(name[k]);
    return line;
  }

  // The title list of the tests' models: 20 words 1001, 1002, ...
  static std::vector<int32_t> title() {
    std::vector<int32_t> t(20);
    for (int32_t k = 0; k < 20; ++k) t[static_cast<size_t>(k)] = 1001 + k;
    return t;
  }

  // Creates the database of MODEL (model record word 1 = MODE).
  int32_t create(const std::string& model, int32_t mode = 1) {
    const std::vector<int32_t> record{mode, 0, 0};
    int32_t status = -9;
    FBCFIG(buffer, codes(model), record, title(), status);
    return status;
  }

  int32_t open(const std::string& model) {
    int32_t status = -9;
    TLBOPN(buffer, codes(model), static_cast<int32_t>(model.size()), status);
    return status;
  }

  int32_t lock() {
    int32_t result = 0;
    DBLOCK(1, result);
    return result;
  }

  // Word K of page P of a file whose pages are SIZE words, read from the disk.
  int32_t fileWord(const std::string& name, int32_t size, int32_t p, int32_t k) {
    const std::string bytes = readFile(dir.file(name));
    const size_t at =
        4 * (static_cast<size_t>(p - 1) * static_cast<size_t>(size) + static_cast<size_t>(k - 1));
    if (at + 4 > bytes.size()) return 0;
    uint32_t w = 0;
    for (int b = 3; b >= 0; --b)
      w = (w << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(b)]);
    return static_cast<int32_t>(w);
  }

  // Overwrites word K of page P of a closed file whose pages are SIZE words.
  void setFileWord(const std::string& name, int32_t size, int32_t p, int32_t k, int32_t value) {
    std::string bytes = readFile(dir.file(name));
    const size_t at =
        4 * (static_cast<size_t>(p - 1) * static_cast<size_t>(size) + static_cast<size_t>(k - 1));
    ASSERT_LE(at + 4, bytes.size());
    for (int b = 0; b < 4; ++b) {
      bytes[at + static_cast<size_t>(b)] =
          static_cast<char>((static_cast<uint32_t>(value) >> (8 * b)) & 0xFF);
    }
    writeFile(dir.file(name), bytes);
  }

  // The catalogue and error lines written so far.
  std::vector<std::string> messageLines() {
    io::unitFlush(kMessageUnit);
    return readLines(dir.file("messages.txt"));
  }

  std::string console() {
    io::unitFlush(io::kStdoutUnit);
    return readFile(dir.file("console.out"));
  }

  TempDir dir;
  StopTrap stop;
  std::vector<Message> seen;
  // The number and the name codes (as text) of every message, in order.
  std::vector<std::pair<int32_t, std::string>> named;
  std::vector<int32_t> buffer = std::vector<int32_t>(32640, 0);

 private:
  SavedEnv savedEnv_{{"QUORIN_INIT", "QUORIN_GLOBAL_INIT", "KVRKEY", "HOME", "KVR_REGISTRY_USER",
                      "KVR_REGISTRY_MACHINE"}};
};

}  // namespace kvr::test
