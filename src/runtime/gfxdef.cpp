// The writing road's display, plot and input defaults, the output mode switch, and the
// display options.
#include <array>
#include <cctype>
#include <string>
#include <string_view>

#include "runtime/dspsta.h"
#include "runtime/hostcb.h"
#include "runtime/iomode.h"
#include "runtime/iounit.h"
#include "runtime/journal.h"
#include "runtime/pltdev.h"
#include "runtime/pltops.h"
#include "runtime/pltopt.h"
#include "runtime/setget.h"
#include "runtime/startup.h"

namespace kvr {
namespace {

constexpr int32_t kGraphicsMode = 2;
constexpr int32_t kEndGraphics = 2;

int32_t gPlotFormatWord = 0;

constexpr int32_t kPathTrackingSetting = 6;
constexpr int32_t kPlotterSetting = 19;
constexpr int32_t kTextLength = 255;
constexpr int32_t kViewports = 5;
constexpr float kViewAngle = 30.0f;
constexpr float kScale = 0.25f;
constexpr float kTableValue = 0.5f;
constexpr int32_t kTableSixth = 6;
constexpr int32_t kWindowDefault = 5;
constexpr int32_t kWindowDefault2 = 4;
constexpr int32_t kClosed = 1;
// The entries of the picture-validity row that a change of the display selection voids.
constexpr std::array<int32_t, DspSta::kValiditySelectors> kValiditySelectors = {1, 2, 8, 10};

// PLTOPT words 1-15 and 17-33; word 16, the HP-GL/2 colour switch, is the plotter
// format's.
constexpr std::array<int32_t, 15> kOptions = {-1, 1, 4, 120, 90, 60, 60, 90,
                                              60, 50, 50, 1, 1, 1, 1};
constexpr std::array<int32_t, 17> kOptionsAfterColour = {
    100,  100,  5001, 5002, 2301, 5003, 4605, 4603, 4602,  // 17-25
    5005, 6001, 6002, 2105, 6004, 49,   6003, 2000};       // 26-33

// The plotter formats, compared without regard to case; any other value is device 1.
struct PlotterFormat {
  std::string_view name;
  int32_t device;
  int32_t colour;  // the HP-GL/2 colour switch it sets, or 1 for none
};
constexpr int32_t kNoColour = 1;
constexpr PlotterFormat kPLTDNO[] = {
    {"Neutral", 1, kNoColour},
    {"Postscript Mono", 2, kNoColour},
    {"Interleaf", 3, kNoColour},
    {"Postscript Colour", 4, kNoColour},
    {"Laserjet", 5, kNoColour},
    {"Paintjet", 6, kNoColour},
    {"HPGL", 7, kNoColour},
    {"HPGL2 Mono", 8, 0},
    {"HPGL2 Colour", 8, -1},
    {"Deskjet", 9, kNoColour},  // 10
    {"CGM", 10, kNoColour},
    {"Hardcopy", 11, kNoColour},
    {"TIFF", 12, kNoColour},
};

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    if (std::toupper(static_cast<unsigned char>(a[k])) !=
        std::toupper(static_cast<unsigned char>(b[k]))) {
      return false;
    }
  }
  return true;
}

void viewDefaults() {
  VIEWDF.angle = kViewAngle;
  VIEWDF.directionComponents = {0.70711f, -0.70711f, 0.57735f, -0.57735f};
  VIEWDF.scales.fill(kScale);
  for (auto& table : VIEWDF.tables) {
    table.fill(kTableValue);
    table[kTableSixth - 1] = 1.0f;
  }
  for (auto& table : VIEWDF.zeroTables) table.fill(0.0f);
  // The page as the plot device words stand now.
  ViewWords& view = DSPSTA.state.view;
  view.centreX = (PLTDEV.window.xMin + PLTDEV.window.xMax) / 2.0f;
  view.centreY = (PLTDEV.window.yMin + PLTDEV.window.yMax) / 2.0f;
  view.distance = 2.0f * PLTDEV.coordMax;
}

void plotDefaults() {
  PLTDEV.openState1 = kClosed;
  PLTDEV.openState2 = kClosed;
  PLTDEV.outputMode = kOutputNone;
  PLTDEV.plotFileDevice = 1;
  for (size_t k = 0; k < kOptions.size(); ++k) {
    PLTOPT.word(static_cast<int32_t>(k) + 1) = kOptions[k];
  }
  for (size_t k = 0; k < kOptionsAfterColour.size(); ++k) {
    PLTOPT.word(kOptAfterColour + static_cast<int32_t>(k)) = kOptionsAfterColour[k];
  }
}

}  // namespace

void GFXDEF() {
  JRNFLG.channel2.used = 0;
  OPTRST();
  DSPSTA.state.words = {};
  DSPSTA.validitySelectors = kValiditySelectors;
  DSPRST(1, 0);
  DSPSTA.currentWindow = 0;
  DSPSTA.state.windowDefaults[0] = kWindowDefault;
  HCWIN(DSPSTA.currentWindow, DSPSTA.state.windowDefaults[0]);
  DSPSTA.state.windowDefaults[1] = kWindowDefault2;
  for (int32_t v = 0; v < kViewports; ++v) VWPSET(1, v, 0);

  viewDefaults();

  IOMODE.inputUnit = IOUNIT.slot(kSlotTerminalInput);
  IOMODE.inputMode = kInputTerminal;

  if (RUNHOOKS.resetDatabase != nullptr) RUNHOOKS.resetDatabase();

  plotDefaults();

  SETGT1(kPathTrackingSetting, DSPSTA.pathTracking);
  PLTFMT(PLTDEV.device);
  PLTOPT.interruptFlag = 0;
  PLTOPT.interruptValue = 0;
  PLTOPT.interruptEndedInput = 0;
  SIGSET();
  PFWCLR();
}

void SETGT1(int32_t number, int32_t& value) {
  float real = 0.0f;
  FixedText text(kTextLength);
  SETGET(number, value, real, text);
}

void PLTFMT(int32_t& device) {
  int32_t status = 0;
  float real = 0.0f;
  FixedText value(kTextLength);
  SETGET(kPlotterSetting, status, real, value);
  const std::string format = value.trimmed();
  device = 1;
  for (const PlotterFormat& f : kPLTDNO) {
    if (!sameIgnoringCase(format, f.name)) continue;
    device = f.device;
    if (f.colour != kNoColour) PLTOPT.word(kOptHpgl2Colour) = f.colour;
    return;
  }
}

void LOGOPN(int32_t mode, int32_t end) {
  if (end == kEndGraphics) GFXCLS(kEndGraphics);
  if (mode == kGraphicsMode) {
    if (DSPHOOKS.graphics != nullptr) DSPHOOKS.graphics();
  } else {
    if (DSPHOOKS.console != nullptr) DSPHOOKS.console();
  }
}

void VIEWID() {
  for (Matrix4* m : {&VIEWMT.view, &VIEWMT.view2}) {
    for (int32_t i = 0; i < 4; ++i) {
      for (int32_t j = 0; j < 4; ++j) (*m)[i][j] = i == j ? 1.0f : 0.0f;
    }
  }
}

void OPTRST() {
  DSPOPT.records = {};
  DSPOPT.words = {};
  DSPOPT.records11 = {};
  DSPOPT.switches.fill(1);
  DSPOPT.list.fill(1);
}

void PFWCLR() { gPlotFormatWord = 0; }
void PFWSET(int32_t value) { gPlotFormatWord = value; }
int32_t PFWGET() { return gPlotFormatWord; }

}  // namespace kvr
