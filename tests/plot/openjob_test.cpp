// A second opcode 1 without a close, on every graphics driver: the job open is ended
// first, so the close of the second gives back the words and colour tables the caller had
// before the first.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "plot/cgm/cgmdrv.h"
#include "plot/defcol.h"
#include "plot/frame/ilfdrv.h"
#include "plot/hpgl/hg2drv.h"
#include "plot/hpgl/hpgdrv.h"
#include "plot/neutral/plfdrv.h"
#include "plot/pcl/pcldrv.h"
#include "plot/postscript/lasplt.h"
#include "plot/tiff/tifdrv.h"
#include "plotfixture.h"

namespace kvr {
namespace {

using Words = std::array<int32_t, PltCap::kIntegerWords>;

constexpr Words kCallerWords = {1, 9, 1, 3, 1, 2, 6, 0, 1, 0, 0, 0, 0, 0, 4, 0, 0, 0};

// What the caller had before the job.
struct CallerState {
  Words words;
  int32_t colourCount;
  int32_t colourCount2;
  float cellWidth;
  float cellHeight;
  PltCtb tables;
  PlRgb palette;

  static CallerState now() {
    return {PLTCAP.words,     PLTDEV.colourCount, PLTDEV.colourCount2, PLTDEV.cellWidth,
            PLTDEV.cellHeight, PLTCTB,             PLRGB};
  }
};

class OpenJob : public test::PlotFixture {
 protected:
  void SetUp() override {
    PlotFixture::SetUp();
    for (const char* name : {"TL_DEBUG", "TL_PSTRANS", "TL_PSLOGO", "TL_PSLWIDTH", "TL_GLMONO"}) {
      unsetenv(name);
    }
    std::filesystem::create_directory(dir.file("str"));
    setenv("KVRSTR", dir.file("str").c_str(), 1);
    DEFCOL();
    PLTCAP.words = kCallerWords;
    PLTDEV.colourCount = 12;
    PLTDEV.colourCount2 = 12;
    PLTDEV.selectedTransform = 1;
    PLTDEV.outputMode = kOutputGraphics;
  }
};

TEST_F(OpenJob, ASecondOpenLeavesTheCallersStateToTheClose) {
  struct Driver {
    const char* name;
    int32_t device;
    PlotDriver entry;
  };
  const Driver drivers[] = {{"neutral", 1, PLFDRV},      {"PostScript mono", 2, PSMONO},
                            {"frame", 3, ILFDRV},        {"PostScript colour", 4, PSCOLR},
                            {"PCL", 5, PCLLAS},          {"HP-GL", 7, HPGDRV},
                            {"HP-GL/2", 8, HG2DRV},      {"CGM", 10, CGMDRV},
                            {"TIFF", 12, TIFDRV}};
  for (const Driver& d : drivers) {
    SCOPED_TRACE(d.name);
    useDriver(d.device, d.entry);
    const CallerState before = CallerState::now();
    for (int32_t opens = 1; opens <= 2; ++opens) {
      ASSERT_TRUE(openPlotFile("picture" + std::to_string(opens)));
      PLTPAR.outUnit = IOUNIT.slot(kSlotPlotFile);
      PLTDSP(kOpOpen);
    }
    PLTDSP(kOpClose);
    const CallerState after = CallerState::now();
    EXPECT_EQ(after.words, before.words);
    EXPECT_EQ(after.colourCount, before.colourCount);
    EXPECT_EQ(after.colourCount2, before.colourCount2);
    EXPECT_EQ(after.cellWidth, before.cellWidth);
    EXPECT_EQ(after.cellHeight, before.cellHeight);
    EXPECT_EQ(after.tables.counts, before.tables.counts);
    EXPECT_EQ(after.tables.shades, before.tables.shades);
    EXPECT_EQ(after.palette.reds, before.palette.reds);
    EXPECT_EQ(after.palette.deviceColours, before.palette.deviceColours);
    EXPECT_EQ(after.palette.greens, before.palette.greens);
    EXPECT_EQ(after.palette.blues, before.palette.blues);
  }
}

}  // namespace
}  // namespace kvr
