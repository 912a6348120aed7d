// A fixture for the database page layer and the file probes: a temporary directory as the
// current directory, the process stop trapped, the terminal output (unit 6) on a file,
// the operator's replies scripted on unit 5 (end of input after the last), the log file
// on unit 7, and the console output mode entered. The database blocks start from their
// load state with the default unit slots.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "modeldb/dblevl.h"
#include "modeldb/dbpage.h"
#include "platform/unitio.h"
#include "plot/pltdsp.h"
#include "runtime/genopen.h"
#include "runtime/idxlay.h"
#include "runtime/iomode.h"
#include "runtime/iounit.h"
#include "runtime/pltcap.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"
#include "runtime/replyb.h"
#include "testsupport.h"

namespace kvr::test {

class DatabaseFixture : public ::testing::Test {
 protected:
  static constexpr int32_t kLogUnit = 7;
  static constexpr int32_t kIndexUnit = 4;
  static constexpr int32_t kDataUnit = 8;

  void SetUp() override {
    resetBlocks();
    setDefaultUnitSlots();
    int fd = ::open(dir.file("console.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    io::redirectStandardUnit(io::kStdoutUnit, fd);
    ::close(fd);
    replies("");
    io::OpenSpec log;
    log.file = dir.file("kvrlog.log");
    ASSERT_EQ(io::unitOpen(kLogUnit, log), io::kIosOk);
    IOUNIT.slot(kSlotLogFile) = kLogUnit;
    PLTALP();
  }

  void TearDown() override {
    io::redirectStandardUnit(io::kStdinUnit, -1);
    io::redirectStandardUnit(io::kStdoutUnit, -1);
    io::closeAllUnits();
    resetBlocks();
  }

  static void resetBlocks() {
    IOUNIT = {};
    IOMODE = {};
    PLTPAR = {};
    PLTDEV = {};
    PLTCAP = {};
    REPLYB = {};
    DBLEVL = {};
    PSEUDO = {};
    IDXLAY = {};
  }

  // The lines the operator types, each ended by a new line; the input ends after them.
  void replies(const std::string& text) {
    kvr::test::scriptStandardInput(dir.file("console.in"), text);
  }

  std::vector<std::string> console() {
    io::unitFlush(io::kStdoutUnit);
    return readLines(dir.file("console.out"));
  }
  std::vector<std::string> log() {
    io::unitFlush(kLogUnit);
    return readLines(dir.file("kvrlog.log"));
  }

  // Opens NAME on UNIT for direct access with records of RECL words (MODE as TLFOPN's).
  void openDirect(int32_t unit, const std::string& name, int32_t recl, int32_t mode = 0) {
    FixedText text(static_cast<int32_t>(name.size()), name);
    int32_t status = -5;
    TLFOPN(text, static_cast<int32_t>(name.size()), 0, 0, unit, 3, mode, recl, status);
    ASSERT_EQ(status, 0) << name;
  }

  // A database of index file "db.M71" on unit 4 and data file "db.V71" on unit 8, data
  // page size P.
  void openDatabase(int32_t p) {
    DBPARM.fileSlot(kIndexFileSlot).unit = kIndexUnit;
    DBPARM.fileSlot(kIndexFileSlot).pageSize = kIndexPageSize;
    DBPARM.fileSlot(kDataFileSlot).unit = kDataUnit;
    PAGSET(p);
    openDirect(kIndexUnit, "db.M71", kIndexPageSize);
    openDirect(kDataUnit, "db.V71", p);
  }

  TempDir dir;
  StopTrap stop;
};

// The words of a file, read as little-endian 32-bit words.
inline std::vector<int32_t> fileWords(const std::string& path) {
  const std::string bytes = readFile(path);
  std::vector<int32_t> words(bytes.size() / 4);
  for (size_t k = 0; k < words.size(); ++k) {
    uint32_t w = 0;
    for (int b = 3; b >= 0; --b) w = (w << 8) | static_cast<unsigned char>(bytes[4 * k + b]);
    words[k] = static_cast<int32_t>(w);
  }
  return words;
}

}  // namespace kvr::test
