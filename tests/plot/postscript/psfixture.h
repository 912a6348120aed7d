// A fixture for the PostScript driver on the plot fixture: the plot options of start-up,
// the console as the device before (its colour tables and palette built, 12 colours, a
// character cell 7 wide and 10 high, current colour 5), transformation 1, the clock at
// 5 March 2024, release 1, no user level found, the command line "PLOT ALL", no colour
// map, and the plot file "picture.ps" open as the plot unit. Settings are written to the
// directory's settings file by a test; the driver's environment variables are cleared.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "../plotfixture.h"
#include "command/cmdlin.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "plot/defcol.h"
#include "plot/postscript/lasplt.h"
#include "runtime/codtxt.h"
#include "runtime/dattim.h"
#include "runtime/idxlay.h"
#include "runtime/iomode.h"
#include "testsupport.h"

namespace kvr::test {

using Lines = std::vector<std::string>;

class PostScriptFixture : public PlotFixture {
 protected:
  void SetUp() override {
    PlotFixture::SetUp();
    for (const char* name : {"TL_DEBUG", "TL_PSTRANS", "TL_PSLOGO", "TL_PSLWIDTH"}) {
      unsetenv(name);
    }
    std::filesystem::create_directory(dir.file("str"));
    setenv("KVRSTR", dir.file("str").c_str(), 1);
    const int32_t options[] = {-1, 1, 4, 120, 90, 60, 60, 90, 60, 50, 50, 1, 1, 1, 1};
    for (int32_t k = 1; k <= 15; ++k) PLTOPT.word(k) = options[k - 1];
    PLTCAP.deviceName().assign("Alpha");
    PLTCAP.words = {1, 9, 1, 3, 1, 2, 6, 0, 1, 0, 0, 0, 0, 0, 4, 0, 0, 0};
    DEFCOL();
    PLTDEV.colourCount = 12;
    PLTDEV.colourCount2 = 12;
    PLTDEV.currentColour = 5;
    PLTDEV.cellHeight = 10.0f;
    PLTDEV.selectedTransform = 1;
    setClockOverride(LocalTime{2024, 3, 5, 10, 30, 0});
    IOMODE = {};
    IOMODE.release = 1;
    DBLEVL = {};
    LASSTA = {};
    PSCSAV = {};
    commandLine("PLOT ALL");
    PLTDEV.outputMode = kOutputGraphics;
    ASSERT_TRUE(openPlotFile("picture.ps"));
    PLTPAR.outUnit = plotUnit();
  }

  void TearDown() override {
    setClockOverride(std::nullopt);
    IOMODE = {};
    DBLEVL = {};
    CTLREC = {};
    IDXLAY = {};
    CMDLIN = {};
    LASSTA = {};
    PSCSAV = {};
    PlotFixture::TearDown();
  }

  static void commandLine(const std::string& s) {
    CMDLIN.lineCodes.fill(kBlankCode);
    for (size_t k = 0; k < s.size() && k < CMDLIN.lineCodes.size(); ++k) {
      CMDLIN.lineCodes[k] = codeOf(s[k]);
    }
  }

  // The settings file holds KEY: VALUE in the section "Postscript" for each entry.
  void settings(const std::map<std::string, std::string>& values) {
    std::string text;
    for (const auto& [key, value] : values) text += "Quorin.*.Postscript." + key + ": " + value + "\n";
    writeFile(dir.file("quorin.ini"), text);
  }

  // Opens device DEVICE (2 monochrome, 4 colour) on the plot file.
  void open(int32_t device) {
    useDriver(device, device == 2 ? PSMONO : PSCOLR);
    PLTDSP(kOpOpen);
  }

  static void at(int32_t opcode, float x, float y) {
    PLTPAR.pointX = x;
    PLTPAR.pointY = y;
    PLTDSP(opcode);
  }
  static void colour(int32_t c) {
    PLTPAR.colour = c;
    PLTDSP(kOpColour);
  }
  static void text(const std::string& s) {
    for (size_t k = 0; k < s.size(); ++k) PLTPAR.text[k] = codeOf(s[k]);
    PLTPAR.textCount = static_cast<int32_t>(s.size());
    PLTDSP(kOpText);
  }
  // A fill (opcode 16) or polyline (29) through POINTS in colour C.
  static void points(int32_t opcode, const std::vector<std::pair<float, float>>& pts,
                     int32_t c = 0) {
    PLTPAR.pointCount = static_cast<int32_t>(pts.size());
    for (size_t k = 0; k < pts.size(); ++k) {
      PLTPAR.x[k] = pts[k].first;
      PLTPAR.y[k] = pts[k].second;
    }
    PLTPAR.colour = c;
    PLTDSP(opcode);
  }

  // The lines written since the last call (the first call: since the file was opened).
  Lines fresh() {
    Lines all = plotLines();
    if (seen_ > all.size()) seen_ = 0;
    Lines out(all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end());
    seen_ = all.size();
    return out;
  }

  static bool has(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

 private:
  size_t seen_ = 0;
};

}  // namespace kvr::test
