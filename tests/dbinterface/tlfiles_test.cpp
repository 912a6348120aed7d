#include "dbinterface/tlfiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "difixture.h"
#include "kvr7dbio.h"
#include "runtime/dattim.h"

namespace kvr {
namespace {

using kvr::test::readFile;
using kvr::test::writeFile;
using kvr::test::WritingRoadFixture;

namespace fs = std::filesystem;

constexpr int32_t kUnit = 25;

class HostFiles : public WritingRoadFixture {
 protected:
  static int32_t open(const std::string& name, int32_t imode, int32_t istat = 1,
                      int32_t iform = 1, int32_t iacces = 1, int32_t irecl = 0,
                      int32_t unit = kUnit) {
    FixedText fname(80, name);
    int32_t iostat = -99;
    OPNTLDBF(unit, imode, fname, istat, iform, iacces, irecl, iostat);
    return iostat;
  }

  static void log(int32_t imode, int32_t istep = 0, int32_t isub = 0,
                  const std::string& type = "") {
    WRTTLLOG(kUnit, imode, istep, isub, FixedText(20, type));
  }
};

TEST_F(HostFiles, ModesOfTheOpen) {
  // Mode 1 or 4 on a missing file: 1 and nothing connected, nothing made.
  for (int32_t mode : {1, 4}) {
    EXPECT_EQ(open("missing.log", mode), 1);
    EXPECT_FALSE(io::unitIsOpen(kUnit));
    EXPECT_FALSE(fs::exists("missing.log"));
  }
  // Mode 2 (and 3) on an existing file: an empty file of that name, open.
  for (int32_t mode : {2, 3}) {
    writeFile("old.log", "old contents\n");
    ASSERT_EQ(open("old.log", mode, 1, 2), 0);
    EXPECT_TRUE(io::unitIsOpen(kUnit));
    EXPECT_EQ(readFile("old.log"), "");
    io::writeRecord(kUnit, "new");
    io::unitClose(kUnit);
    EXPECT_EQ(readFile("old.log"), "new\n");
  }
  // Modes 0 and 5 neither check nor delete; mode 1 opens an existing file as it stands.
  writeFile("kept.log", "kept\n");
  for (int32_t mode : {0, 1, 5}) {
    ASSERT_EQ(open("kept.log", mode, 1, 2), 0);
    std::string line;
    EXPECT_EQ(io::readRecord(kUnit, line), 0);
    EXPECT_EQ(line, "kept");
  }
  ASSERT_EQ(open("made.log", 0), 0);
  EXPECT_TRUE(fs::exists("made.log"));
}

TEST_F(HostFiles, ChoicesOtherThan2ActAs1) {
  for (int32_t choice : {0, 1, 3, -1}) {
    SCOPED_TRACE(choice);
    ASSERT_EQ(open("stream.tmp", 2, choice, choice, choice, choice), 0);
    // Unformatted and sequential from the start of a named file.
    EXPECT_EQ(io::unitFileName(kUnit), "stream.tmp");
    EXPECT_EQ(io::writeUnformatted(kUnit, std::vector<int32_t>(1024, 1)), 0);
    EXPECT_NE(io::writeRecord(kUnit, "text"), 0);
    io::unitClose(kUnit);
    EXPECT_EQ(fs::file_size("stream.tmp"), 4104u);
  }
}

TEST_F(HostFiles, FormattedAppendAndScratch) {
  writeFile("run.log", "first\n");
  ASSERT_EQ(open("run.log", 0, 1, 2, 2), 0);
  EXPECT_EQ(io::writeRecord(kUnit, "second"), 0);
  io::unitClose(kUnit);
  EXPECT_EQ(readFile("run.log"), "first\nsecond\n");

  // ISTAT 2: a scratch file, not the named one, never left in its directory.
  setenv("TMPDIR", dir.path().c_str(), 1);
  ASSERT_EQ(open("scratch.tmp", 0, 2), 0);
  unsetenv("TMPDIR");
  std::string name = io::unitFileName(kUnit);
  EXPECT_FALSE(fs::exists("scratch.tmp"));
  EXPECT_EQ(fs::path(name).parent_path(), dir.path());
  EXPECT_FALSE(fs::exists(name));  // held by the unit alone
  EXPECT_EQ(io::writeUnformatted(kUnit, std::vector<int32_t>{1}), 0);
  int32_t iostat = -1;
  CLSTLDBF(kUnit, iostat);
  EXPECT_EQ(iostat, 0);
  EXPECT_FALSE(fs::exists(name));
}

TEST_F(HostFiles, NameIsResolvedOnceIgnoringCase) {
  writeFile("Model.NEU", "old\n");
  ASSERT_EQ(open("model.neu", 1, 1, 2), 0);
  EXPECT_EQ(io::unitFileName(kUnit), "Model.NEU");
  // Mode 2 deletes and makes again the file it found, not a second one beside it.
  ASSERT_EQ(open("MODEL.neu", 2, 1, 2), 0);
  io::writeRecord(kUnit, "new");
  io::unitClose(kUnit);
  EXPECT_EQ(readFile("Model.NEU"), "new\n");
  EXPECT_FALSE(fs::exists("MODEL.neu"));
  EXPECT_FALSE(fs::exists("model.neu"));
}

TEST_F(HostFiles, CloseKeepsAndKvcloseDeletes) {
  ASSERT_EQ(open("keep.tmp", 0), 0);
  int32_t iostat = -1;
  CLSTLDBF(kUnit, iostat);
  EXPECT_EQ(iostat, 0);
  EXPECT_FALSE(io::unitIsOpen(kUnit));
  EXPECT_TRUE(fs::exists("keep.tmp"));
  CLSTLDBF(kUnit, iostat);  // not connected: nothing to do
  EXPECT_EQ(iostat, 0);

  ASSERT_EQ(open("keep.tmp", 0), 0);
  int32_t unit = kUnit;
  dll_kvclose(&unit);
  EXPECT_FALSE(io::unitIsOpen(kUnit));
  EXPECT_FALSE(fs::exists("keep.tmp"));
  dll_kvclose(&unit);  // not connected: silent
}

TEST_F(HostFiles, ProgressLines) {
  ASSERT_EQ(open("progress.log", 2, 1, 2), 0);
  log(2);
  log(3, 5, 2, "STATIC");
  log(-7);
  log(0);
  log(4);
  log(3, 1234567, -12345, "12345678901234567890");
  io::unitClose(kUnit);
  log(2);  // closed unit: nothing, no complaint
  EXPECT_EQ(kvr::test::readLines("progress.log"),
            (std::vector<std::string>{
                " PROCESSING MESH DATA",
                " PROCESSING LOAD STEP      5, SUB-STEP      2, TYPE STATIC              ",
                " ERROR      7 FOUND",
                " PROCESSING LOAD STEP ******, SUB-STEP -12345, TYPE 12345678901234567890",
            }));
  EXPECT_FALSE(fs::exists("fort.25"));
}

TEST_F(HostFiles, TimeAndDateLineFromTheClock) {
  setClockOverride(LocalTime{2024, 3, 5, 7, 9, 41});
  ASSERT_EQ(open("clock.log", 2, 1, 2), 0);
  log(1);
  setClockOverride(LocalTime{1999, 12, 31, 23, 59, 0});
  log(1);
  setClockOverride(std::nullopt);
  io::unitClose(kUnit);
  log(1);  // closed unit: nothing
  EXPECT_EQ(kvr::test::readLines("clock.log"),
            (std::vector<std::string>{" TIME AND DATE : 07:09 05-03-2024",
                                      " TIME AND DATE : 23:59 31-12-1999"}));
}

TEST(TimeDateLine, TwoDigitFieldsAndFourDigitYear) {
  EXPECT_EQ(timeDateLine(7, 9, 5, 3, 2024), " TIME AND DATE : 07:09 05-03-2024");
  EXPECT_EQ(timeDateLine(23, 59, 31, 12, 1999), " TIME AND DATE : 23:59 31-12-1999");
}

}  // namespace
}  // namespace kvr
