// A fixture for the plot drivers: the settings fixture (a temporary current directory,
// no settings files but those a test writes, the default unit slots), the plot blocks in
// their load state, a picture window of 0..100 by 0..80, the character cell of a
// previous device (9.0 high, 7.0 wide), and the plot file (file type 3) opened in the
// directory when a test asks for it. A test installs its driver entry for a device
// number, sends opcodes through the dispatcher and reads the plot file back; the
// entries it installed are put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../runtime/settingsfixture.h"
#include "platform/unitio.h"
#include "plot/plrgb.h"
#include "plot/pltdrv.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "runtime/codtxt.h"
#include "runtime/dspsta.h"
#include "runtime/filcls.h"
#include "runtime/fouvre.h"
#include "runtime/iounit.h"
#include "runtime/pltcap.h"
#include "runtime/pltctb.h"
#include "runtime/pltdev.h"
#include "runtime/pltopt.h"
#include "runtime/pltpar.h"
#include "testsupport.h"

namespace kvr::test {

class PlotFixture : public SettingsFixture {
 protected:
  static constexpr int32_t kPlotFileType = 3;

  void SetUp() override {
    SettingsFixture::SetUp();
    resetPlotBlocks();
    PLTDEV.window = {0.0f, 100.0f, 0.0f, 80.0f};
    PLTDEV.cellHeight = 9.0f;
    PLTDEV.cellWidth = 7.0f;
  }

  void TearDown() override {
    for (auto it = installed_.rbegin(); it != installed_.rend(); ++it) {
      installDriver(it->first, it->second);
    }
    FILCLS(kPlotFileType);
    resetPlotBlocks();
    SettingsFixture::TearDown();
  }

  static void resetPlotBlocks() {
    PLTPAR = {};
    PLTDEV = {};
    PLTCAP = {};
    PLTCTB = {};
    PLTOPT.words = {};
    PLRGB = {};
    PLXFRM = {};
    VIEWMT = {};
    jobOpened(nullptr);  // no job of an earlier test is ended by this one's opcode 1
  }

  // Installs ENTRY for DEVICE (put back at the end) and makes DEVICE the device number.
  void useDriver(int32_t device, PlotDriver entry) {
    installed_.emplace_back(device, installDriver(device, entry));
    PLTDEV.device = device;
  }

  // Opens the plot file NAME (file type 3) in the directory; false when the open fails.
  bool openPlotFile(const std::string& name = "picture.plt") {
    std::vector<int32_t> codes;
    for (char c : name) codes.push_back(codeOf(c));
    int32_t status = -1;
    FOUVRE(kPlotFileType, codes, static_cast<int32_t>(codes.size()), kFormatted, kUnknown,
           status);
    plotFile_ = dir.file(name);
    return status == 0;
  }

  static int32_t plotUnit() { return IOUNIT.slot(kSlotPlotFile); }

  // The lines of the plot file so far.
  std::vector<std::string> plotLines() {
    io::unitFlush(plotUnit());
    return readLines(plotFile_);
  }

 private:
  static constexpr int32_t kFormatted = 1;
  static constexpr int32_t kUnknown = 6;  // made when missing
  std::vector<std::pair<int32_t, PlotDriver>> installed_;
  std::string plotFile_;
};

}  // namespace kvr::test
