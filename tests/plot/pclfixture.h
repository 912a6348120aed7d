// A fixture for the PCL printer driver: the raster fixture (a temporary current
// directory, the plot blocks in their load state, unit 6 on a file) with the driver's
// environment variables unset and put back afterwards, a blank command line, no
// transformation (1), and the driver's state and colour tables in their load state. A
// test opens a job on device 5, 6 or 9 with the plot file "picture.pcl", draws in the
// picture window 0..100 by 0..80, and reads the job back with the PCL reader.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "command/cmdlin.h"
#include "pclreader.h"
#include "platform/fmtedit.h"
#include "plot/pcl/pcldrv.h"
#include "plot/pcl/pclsta.h"
#include "plot/pcl/raspag.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "plot/raster/rasfile.h"
#include "rasterfixture.h"
#include "runtime/codtxt.h"
#include "runtime/pltpar.h"
#include "testsupport.h"

namespace kvr::test {

inline constexpr int32_t kLaserjet = 5;
inline constexpr int32_t kPaintjet = 6;
inline constexpr int32_t kDeskjet = 9;

class PclFixture : public RasterFixture {
 protected:
  static constexpr int32_t kOpNewPage = 8;
  static constexpr int32_t kOpMove = 14;
  static constexpr int32_t kOpDraw = 15;
  static constexpr int32_t kOpFill = 16;
  static constexpr int32_t kOpMarker = 19;
  static constexpr int32_t kOpPolyline = 29;

  void SetUp() override {
    RasterFixture::SetUp();
    env_ = std::make_unique<SavedEnv>(std::vector<std::string>(std::begin(kVariables), std::end(kVariables)));
    for (const char* name : kVariables) unsetenv(name);
    PCLSTA = PclSta{};
    PCLCTB = PclCtb{};
    CMDLIN = CmdLin{};
    PLTDEV.selectedTransform = 1;
  }

  void TearDown() override {
    RasClose();
    PCLSTA = PclSta{};
    PCLCTB = PclCtb{};
    CMDLIN = CmdLin{};
    env_.reset();
    RasterFixture::TearDown();
  }

  static void settings(const std::string& lines) { writeFile("quorin.ini", lines); }

  static void commandLine(const std::string& s) {
    for (size_t k = 0; k < s.size() && k < CMDLIN.lineCodes.size(); ++k) CMDLIN.lineCodes[k] = codeOf(s[k]);
  }

  // Starts a job on DEVICE: the plot file opened, then opcode 1.
  void open(int32_t device) {
    static constexpr std::array<PlotDriver, 10> kEntries{nullptr, nullptr, nullptr, nullptr, nullptr,
                                                         PCLLAS,  PCLPNT,  nullptr, nullptr, PCLDSK};
    useDriver(device, kEntries[static_cast<size_t>(device)]);
    ASSERT_TRUE(openPlotFile("picture.pcl"));
    PLTDSP(kOpOpen);
  }

  // Ends the job and answers the file's bytes.
  std::string close() {
    PLTDSP(kOpClose);
    return readFile(dir.file("picture.pcl"));
  }

  static void move(float x, float y) {
    PLTPAR.pointX = x;
    PLTPAR.pointY = y;
    PLTDSP(kOpMove);
  }
  static void draw(float x, float y) {
    PLTPAR.pointX = x;
    PLTPAR.pointY = y;
    PLTDSP(kOpDraw);
  }
  static void fillWith(int32_t colour, const std::vector<std::array<float, 2>>& points) {
    PLTPAR.colour = colour;
    PLTPAR.pointCount = static_cast<int32_t>(points.size());
    for (size_t k = 0; k < points.size(); ++k) {
      PLTPAR.x[k] = points[k][0];
      PLTPAR.y[k] = points[k][1];
    }
    PLTDSP(kOpFill);
  }
  static void square(int32_t colour, float x, float y, float side) {
    fillWith(colour, {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}});
  }
  static void text(const std::string& s) {
    for (size_t k = 0; k < s.size(); ++k) PLTPAR.text[k] = codeOf(s[k]);
    PLTPAR.textCount = static_cast<int32_t>(s.size());
    PLTDSP(kOpText);
  }
  static void colour(int32_t c) {
    PLTPAR.colour = c;
    PLTDSP(kOpColour);
  }
  static void colourTable(int32_t n) {
    PLTPAR.colourTable = n;
    PLTDSP(kOpColourTable);
  }

  // The bitmap pixel (column X, bitmap row R) of picture point (X, Y) on the current page.
  static std::array<int32_t, 2> pixelOf(float x, float y) {
    const float dx = pageXOf(x);
    const float dy = pageYOf(y);
    const int32_t column = intOf(dx * PCLSTA.engine.sx) + 1;
    const int32_t height = intOf(dy * PCLSTA.engine.sy) + 1;
    return {column, PCLSTA.hpix - height + 1};
  }
  static float pageXOf(float x) { return (x - PLXFRM.pageOriginX) * PLXFRM.pageScale + PLXFRM.pageOffsetX; }
  static float pageYOf(float y) { return (y - PLXFRM.pageOriginY) * PLXFRM.pageScale + PLXFRM.pageOffsetY; }

  // Ink at bitmap pixel (X, R) of the band layout, and the byte of a byte-layout pixel.
  static bool ink(int32_t x, int32_t r) { return ((RASPAG.band((r - 1) / 8 + 1, x) >> (7 - (r - 1) % 8)) & 1) != 0; }
  static uint8_t byteAt(int32_t x, int32_t r) { return RASPAG.pixel(x, r); }

  // The printed pixel of bitmap pixel (X, R) on PAGE: turned for a landscape page.
  static uint8_t printed(const PclPage& page, int32_t x, int32_t r) {
    if (PCLSTA.landscape) return page.pixel(static_cast<size_t>(PCLSTA.wpix - x), static_cast<size_t>(r - 1));
    return page.pixel(static_cast<size_t>(r - 1), static_cast<size_t>(x - 1));
  }

 private:
  static constexpr const char* kVariables[] = {"TL_DEBUG", "TL_RAS180", "TL_RASLAND",
                                                "TL_RASRLE", "TL_RASFF", "TL_RASGEOM"};
  std::unique_ptr<SavedEnv> env_;
};

}  // namespace kvr::test
