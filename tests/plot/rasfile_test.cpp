#include "plot/raster/rasfile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "rasterfixture.h"
#include "runtime/iounit.h"
#include "testsupport.h"

namespace kvr {
namespace {

using test::readFile;
using test::writeFile;

class RasterFile : public test::RasterFixture {
 protected:
  void TearDown() override {
    RasClose();
    RasterFixture::TearDown();
  }
  static void write(const std::vector<uint8_t>& bytes) {
    RasWrite(static_cast<int32_t>(bytes.size()), bytes);
  }
};

TEST_F(RasterFile, ReplacesAnExistingFileAndPassesEveryByteUnchanged) {
  const std::string name = dir.file("job.prn");
  writeFile(name, std::string(100, 'x'));
  RasOpen(name);
  write({0x00, 0x0A, 0x0D, 0x1A, 0x1B, 0xFF});
  RasClose();
  EXPECT_EQ(readFile(name), std::string("\x00\x0A\x0D\x1A\x1B\xFF", 6));
}

TEST_F(RasterFile, WritesOnlyTheCountGivenAndNoMoreThanTheBytes) {
  const std::string name = dir.file("count.prn");
  RasOpen(name);
  const std::vector<uint8_t> bytes{'a', 'b', 'c'};
  RasWrite(2, bytes);
  RasWrite(0, bytes);
  RasWrite(-4, bytes);
  RasWrite(9, bytes);
  RasClose();
  EXPECT_EQ(readFile(name), "ababc");
}

TEST_F(RasterFile, ASecondOpenClosesTheFirstStreamWithAllItsBytes) {
  const std::string first = dir.file("first.prn");
  const std::string second = dir.file("second.prn");
  RasOpen(first);
  write(std::vector<uint8_t>(5000, 0x41));
  RasOpen(second);
  write({0x42});
  EXPECT_EQ(readFile(first), std::string(5000, 'A'));
  RasClose();
  EXPECT_EQ(readFile(second), "B");
}

TEST_F(RasterFile, AFailedCreateIsReportedOnceAndLeavesNoStream) {
  const std::string name = dir.file("missing/job.prn");
  RasOpen(name);
  write({1, 2, 3});
  RasClose();
  RasClose();
  EXPECT_EQ(unit6Lines(), std::vector<std::string>{"Raster Driver: Could not create " + name});
  EXPECT_FALSE(io::fileExists(name));
}

TEST_F(RasterFile, WriteAndCloseWithoutAnyOpenDoNothing) {
  write({1, 2, 3});
  RasClose();
  EXPECT_TRUE(unit6Lines().empty());
}

TEST_F(RasterFile, RasopnDeletesThePlotFileAndOpensItsNameRaw) {
  ASSERT_TRUE(openPlotFile("picture.plt"));
  const int32_t unit = plotUnit();
  io::writeRecord(unit, "a formatted record");
  io::unitFlush(unit);
  ASSERT_TRUE(io::fileExists(dir.file("picture.plt")));

  RASOPN();
  EXPECT_FALSE(io::unitIsOpen(unit));
  EXPECT_EQ(IOUNIT.openFlag(3), 0);
  write({0x1B, 'E'});
  RasClose();
  EXPECT_EQ(readFile(dir.file("picture.plt")), "\x1B" "E");
}

TEST_F(RasterFile, TheStreamNameLosesBlanksTabsAndNulsAroundIt) {
  IOUNIT.plotFileName = std::string("  \tout/plot.tif ") + '\0' + "  ";
  EXPECT_EQ(plotStreamName(), "out/plot.tif");
  IOUNIT.plotFileName = "   ";
  EXPECT_EQ(plotStreamName(), "");
}

}  // namespace
}  // namespace kvr
