// A fixture for the HP-GL/2 driver on the plot fixture: the driver's state and command
// buffer in their load state, a blank pending command line, the plotter format "HPGL2
// Colour", transformation 1 selected, the driver's TL_ variables unset (and put back
// afterwards), and device 8 routed to HG2DRV. The console's colour tables and palette
// (DEFCOL) stand for what the previous device left.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "command/cmdlin.h"
#include "plot/defcol.h"
#include "plot/hpgl/hg2buf.h"
#include "plot/hpgl/hg2drv.h"
#include "plotfixture.h"

namespace kvr::test {

inline constexpr char kEsc = '\x1B';
inline const std::string kEscS(1, kEsc);

class Hg2Fixture : public PlotFixture {
 protected:
  static constexpr int32_t kHpgl2 = 8;

  void SetUp() override {
    PlotFixture::SetUp();
    for (const char* name : kVariables) unsetenv(name);
    HG2BUF = {};
    HG2STA = {};
    CMDLIN = {};
    commandLine("");
    PLTOPT.word(kOptHpgl2Colour) = -1;
    PLTDEV.selectedTransform = 1;
    PLTCAP.deviceName().assign("Alpha");
    DEFCOL();
    useDriver(kHpgl2, HG2DRV);
  }

  void TearDown() override {
    HG2BUF = {};
    HG2STA = {};
    CMDLIN = {};
    PlotFixture::TearDown();
  }

  // The pending command line: TEXT, blank-padded.
  static void commandLine(const std::string& text) {
    for (int32_t k = 1; k <= CmdLin::kLineCodes; ++k) {
      CMDLIN.line(k) = k <= static_cast<int32_t>(text.size()) ? codeOf(text[static_cast<size_t>(k - 1)])
                                                               : kBlankCode;
    }
  }

  // Settings of section HPGL2 in the current directory's settings file, "Key: value"
  // lines.
  void settings(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += "Quorin.*.HPGL2." + line + "\n";
    writeFile(dir.file("quorin.ini"), text);
  }

  // Opens the plot file and starts the job.
  void start() {
    ASSERT_TRUE(openPlotFile("picture.hgl"));
    PLTDSP(kOpOpen);
  }

  // Closes the job and the plot file, and removes the file, so that the next start()
  // begins a new one.
  void endJob() {
    PLTDSP(kOpClose);
    FILCLS(kPlotFileType);
    std::filesystem::remove(dir.file("picture.hgl"));
  }

  // Opens the plot file for the writers alone: the buffer writes to it.
  void writersOnPlotFile() {
    ASSERT_TRUE(openPlotFile("writers.hgl"));
    HG2BUF.unit = plotUnit();
  }

  // A frame with page scale 1: picture window 0..9999 by 0..7050 and a previous
  // character height of 10, so that device x = x + 0.5 and device y = y + 65.
  static void unitFrame() {
    PLTDEV.window = {0.0f, 9999.0f, 0.0f, 7050.0f};
    PLTDEV.cellHeight = 10.0f;
  }

  // Every command so far: the records written, joined, and what the buffer holds.
  std::string commands() {
    std::string all;
    for (const std::string& line : plotLines()) all += line;
    return all + HG2BUF.text;
  }

  // The commands written since MARK (a length of commands()).
  std::string since(size_t mark) { return commands().substr(mark); }

  // Sends OPCODE and answers the commands it added.
  std::string send(int32_t opcode) {
    const size_t mark = commands().size();
    PLTDSP(opcode);
    return since(mark);
  }

  // A move (14) to picture point X, Y.
  std::string moveTo(float x, float y) {
    PLTPAR.pointX = x;
    PLTPAR.pointY = y;
    return send(kOpMove);
  }

  // Colour C (opcode 10).
  std::string colour(int32_t c) {
    PLTPAR.colour = c;
    return send(kOpColour);
  }
  // Line attribute A (opcode 11).
  std::string line(int32_t a) {
    PLTPAR.lineAttribute = a;
    return send(kOpLineAttribute);
  }
  // Character size K (opcode 12).
  std::string size(int32_t k) {
    PLTPAR.characterSize = k;
    return send(kOpCharacterSize);
  }
  // Marker M (opcode 19) at the current position.
  std::string marker(int32_t m) {
    PLTPAR.marker = m;
    return send(kOpMarker);
  }

  // Text TEXT (18) at the current position.
  std::string label(const std::string& text) {
    for (size_t k = 0; k < text.size() && k < PLTPAR.text.size(); ++k) PLTPAR.text[k] = codeOf(text[k]);
    PLTPAR.textCount = static_cast<int32_t>(text.size());
    return send(kOpText);
  }

  // Points of opcodes 16 and 29.
  static void points(const std::vector<std::pair<float, float>>& p) {
    PLTPAR.pointCount = static_cast<int32_t>(p.size());
    for (size_t i = 0; i < p.size(); ++i) {
      PLTPAR.x[i] = p[i].first;
      PLTPAR.y[i] = p[i].second;
    }
  }

 private:
  static constexpr const char* kVariables[] = {"TL_DEBUG", "TL_GLLAND", "TL_GL2_AUTO",
                                               "TL_GLSCALE", "TL_GLMONO", "TL_TRANSP"};
  SavedEnv savedEnv_{std::vector<std::string>(std::begin(kVariables), std::end(kVariables))};
};

}  // namespace kvr::test
