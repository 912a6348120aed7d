// Opcode 1 of the PostScript driver: the settings, the page layout and the prolog.
#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "modeldb/ctlwords.h"
#include "psfixture.h"
#include "runtime/startup.h"

namespace kvr {
namespace {

using namespace test;  // Lines and the opcodes of the fixture

class PsSetup : public test::PostScriptFixture {};

TEST_F(PsSetup, ThePrologWithoutSettings) {
  open(2);
  const Lines lines = fresh();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "%!PS-Adobe-2.0");
  EXPECT_EQ(lines.at(1), "%%Title: PLOT ALL" + std::string(63, ' '));
  EXPECT_EQ(lines.at(2),
            "%%Creator:   Telvora Software   Release No: 1  Postscript Driver Version: 54");
  EXPECT_EQ(lines.at(3), "%%CreationDate:  5/ 3/2024");
  EXPECT_EQ(lines.at(4), "%%BoundingBox:    35   35  560  802");
  EXPECT_EQ(lines.at(5), "%%Pages: (atend)");
  EXPECT_EQ(lines.at(6), "%%DocumentFonts: Courier");
  EXPECT_EQ(lines.at(7), "%%EndComments");
  EXPECT_EQ(lines.back(), "%%EndProlog");
  for (const char* line :
       {"0 0 translate", "% Page size:      8.26772 in x    11.62890 in",
        "% Margins  :      0.75000 in x     0.75000 in", " 90 rotate", "SmallFont setfont",
        "exch sub 2 div 0 rmoveto show} def", "%%BeginProcSet gpv ",
        "stroke grestore} def", "/mi      {newpath moveto gsave scale"}) {
    EXPECT_TRUE(has(lines, line)) << line;
  }
  EXPECT_FALSE(has(lines, "%%BeginProcSet concatprocs"));  // white paper

  // The device words and the cell after the prolog.
  EXPECT_EQ(PLTCAP.deviceName().trimmed(), "Postscript");
  EXPECT_EQ(PLTCAP.word(2), 2);
  EXPECT_EQ(PLTDEV.colourCount, 31);
  EXPECT_EQ(PLTDEV.colourCount2, 0);
  EXPECT_EQ(PLTPAR.markerScale, 1.0f);
  EXPECT_FLOAT_EQ(PLTDEV.cellHeight, 8.0f / LASSTA.s);
  EXPECT_FLOAT_EQ(PLTDEV.cellWidth, 0.6f * 8.0f / LASSTA.s);
}

TEST_F(PsSetup, TheUserKeyOnlyWhenTheUserLevelWasFound) {
  SETDEF();
  std::array<int32_t, 6> name{};
  for (size_t k = 0; k < name.size(); ++k) name[k] = codeOf("NONAME"[k]);
  S101W2(name);
  open(2);
  EXPECT_FALSE(has(fresh(), "%%For: User-key \"NONAME\""));
  DBLEVL.userLevelOpen = 1;
  ASSERT_TRUE(openPlotFile("found.ps"));
  PLTDSP(kOpOpen);
  const Lines lines = plotLines();
  EXPECT_EQ(lines.at(4), "%%For: User-key \"NONAME\"");
  EXPECT_EQ(lines.at(5), "%%BoundingBox:    35   35  560  802");
}

// The page settings, read in inches, millimetres or points.
TEST_F(PsSetup, PageSettings) {
  const struct {
    std::map<std::string, std::string> settings;
    std::vector<std::string> lines;
  } cases[] = {
      {{{"PageSizeUnits", "mm"}, {"PageSize", "210X297"}},
       {"% Page size:      8.26772 in x    11.69291 in"}},
      {{{"PageSizeUnits", "mm"}, {"PageSize", "a4"}},
       {"% Page size:      8.26772 in x    11.69291 in"}},
      {{{"PageSizeUnits", "MM"}, {"PageMargins", "10+20"}},
       {"% Margins  :      0.39370 in x     0.78740 in"}},
      {{{"PageMargins", "0+0"}}, {"% Margins  :      0.75000 in x     0.75000 in"}},
      {{{"PageSize", "8X10"}, {"PageMargins", "1+1"}},
       {"%%BoundingBox:    47   47  528  672", " 90 rotate"}},
      {{{"PageSize", "8X10"}, {"PageMargins", "1+1"}, {"Orientation", "PORTRAIT"}},
       {"%%BoundingBox:    47   47  528  672", "  0 rotate"}},
      {{{"PageSize", "8.5x11"}, {"PageSizeUnits", "inches"}},
       {"% Page size:      8.50000 in x    11.00000 in"}},
      {{{"PageSize", "612X792"}, {"PageSizeUnits", "points"}},
       {"% Page size:      8.50000 in x    11.00000 in"}},
      {{{"PageSize", "Quarto"}}, {"% Page size:      8.50000 in x    11.00000 in"}},
      // No X, a margin without "+", a size of 0: the defaults stay.
      {{{"PageSize", "1234"}, {"PageMargins", "12"}},
       {"% Page size:      8.26772 in x    11.62890 in",
        "% Margins  :      0.75000 in x     0.75000 in"}},
      {{{"PageSize", "0X9"}, {"PageMargins", "+5+0"}},  // the "+" after the first character
       {"% Page size:      8.26772 in x     9.00000 in",
        "% Margins  :      5.00000 in x     0.75000 in"}},
  };
  int file = 0;
  for (const auto& c : cases) {
    settings(c.settings);
    ASSERT_TRUE(openPlotFile("page" + std::to_string(++file) + ".ps"));
    open(2);
    const Lines lines = plotLines();
    for (const std::string& line : c.lines) {
      EXPECT_TRUE(has(lines, line)) << "case " << file << ": " << line;
    }
  }
}

TEST_F(PsSetup, PaperAndMarginTexts) {
  const struct {
    const char* text;
    float unit;
    int32_t status;
    float width, height;
  } papers[] = {
      {"A3", 25.4f, 1, 11.692914f, 16.535433f},
      {"XA4", 1.0f, 1, 8.267716f, 11.692914f},  // contains A4
      {"10X5", 2.0f, 1, 5.0f, 2.5f},
      {"1.25X2.5", 1.0f, 1, 1.25f, 2.5f},
      {"17X", 1.0f, 1, 17.0f, 2.0f},  // no height: kept
      {"7X", 1.0f, 0, 1.0f, 2.0f},    // shorter than three characters
      {"12", 1.0f, 0, 1.0f, 2.0f},
      {"", 1.0f, 0, 1.0f, 2.0f},
  };
  for (const auto& p : papers) {
    float w = 1.0f;
    float h = 2.0f;
    int32_t status = -1;
    PSPAPR(p.text, w, h, p.unit, status);
    EXPECT_EQ(status, p.status) << p.text;
    EXPECT_FLOAT_EQ(w, p.width) << p.text;
    EXPECT_FLOAT_EQ(h, p.height) << p.text;
  }
  float x = 0.75f;
  float y = 0.75f;
  int32_t status = -1;
  PSMARG("2.5+0.5", x, y, 1.0f, status);
  EXPECT_EQ(status, 1);
  EXPECT_FLOAT_EQ(x, 2.5f);
  EXPECT_FLOAT_EQ(y, 0.5f);
  PSMARG("7+", x, y, 1.0f, status);
  EXPECT_EQ(status, 0);
  EXPECT_FLOAT_EQ(x, 2.5f);
}

// "Colour" and "Monochrome", when set, decide by their first letter; "Monochrome" is read
// last. Colour output says so in description word 2 and writes " C" colour lines.
TEST_F(PsSetup, ColourAndMonochromeSettings) {
  const struct {
    int32_t device;
    std::map<std::string, std::string> settings;
    bool colour;
  } cases[] = {
      {4, {}, true},
      {2, {}, false},
      {4, {{"Colour", "FALSE"}}, false},
      {2, {{"Colour", "true"}}, true},
      {2, {{"Monochrome", "FALSE"}}, true},
      {4, {{"Colour", "TRUE"}, {"Monochrome", "T"}}, false},
      {2, {{"Colour", "F"}, {"Monochrome", "no"}}, true},
  };
  int file = 0;
  for (const auto& c : cases) {
    ++file;
    settings(c.settings);
    DEFCOL();
    ASSERT_TRUE(openPlotFile("colour" + std::to_string(file) + ".ps"));
    open(c.device);
    EXPECT_EQ(PLTCAP.word(2), c.colour ? 9 : 2) << file;
    EXPECT_EQ(PLTDEV.colourCount, c.colour ? 12 : 31) << file;
    colour(2);
    at(kOpMove, 10, 10);
    at(kOpDraw, 20, 10);
    const Lines lines = plotLines();
    EXPECT_EQ(has(lines, " 0.8235 0.0000 0.0000 C"), c.colour) << file;
    PLTDSP(kOpClose);
  }
}

TEST_F(PsSetup, FontsAndTheirSizes) {
  settings({{"LargeFont", "Helvetica"},
            {"SmallFont", "Times-Roman"},
            {"TitleFont", "Helvetica"},
            {"FontSize", "10"},
            {"SmallFontSize", "x"},  // not a number: 0.0
            {"SymbolScale", "2"}});
  PLTDEV.window = {0.0f, 15750.0f, 0.0f, 10000.0f};  // Q = 0.5
  open(2);
  const Lines lines = fresh();
  EXPECT_TRUE(has(lines, "%%DocumentFonts: Helvetica"));
  EXPECT_TRUE(has(lines, "%%+ Times-Roman"));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "%%+ Helvetica"), 0);
  EXPECT_TRUE(has(lines, "%%BeginFont: Times-Roman"));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "%%BeginFont: Helvetica"), 1);
  // s = 729.28 / 15750 points per picture unit; 10 points are 431.9 integer units.
  EXPECT_TRUE(has(lines, "/TitleFont /Helvetica findfont   431 scalefont def"));
  EXPECT_TRUE(has(lines, "/LargeFont /Helvetica findfont   431 scalefont def"));
  EXPECT_TRUE(has(lines, "/SmallFont /Times-Roman findfont     0 scalefont def"));
  // Markers sized from the small font size: 0.
  EXPECT_TRUE(has(lines, "    0     0 rmoveto"));
}

TEST_F(PsSetup, TranslationLogoAndLineWidth) {
  test::writeFile(dir.file("logo.ps"),
                  "% logo\n/logo { 0 0 moveto } def\n" + std::string(100, '%') + "\n");
  setenv("TL_PSTRANS", "10 20 translate", 1);
  setenv("TL_PSLOGO", "logo.ps", 1);
  settings({{"Linewidth", "0.25 extra"}});
  open(2);
  const Lines lines = fresh();
  EXPECT_TRUE(has(lines, "10 20 translate" + std::string(65, ' ')));
  EXPECT_FALSE(has(lines, "0 0 translate"));
  const auto logo = std::find(lines.begin(), lines.end(), "%%BeginProcSet Site_Logo");
  ASSERT_NE(logo, lines.end());
  EXPECT_EQ(*(logo + 1), "% logo" + std::string(74, ' '));
  EXPECT_EQ(*(logo + 3), std::string(100, '%'));  // a long line is copied whole
  EXPECT_EQ(*(logo + 4), "%%EndProcSet");
  EXPECT_TRUE(has(lines, "0.25 setlinewidth"));

  // The setting wins over the variable; a logo that does not open adds nothing.
  settings({{"Translate", "5 5 translate"}, {"Logo", "missing.ps"}});
  ASSERT_TRUE(openPlotFile("second.ps"));
  PLTDSP(kOpOpen);
  const Lines second = plotLines();
  EXPECT_TRUE(has(second, "5 5 translate" + std::string(67, ' ')));
  EXPECT_FALSE(has(second, "%%BeginProcSet Site_Logo"));
}

TEST_F(PsSetup, DebugLinesGoToTheStandardOutput) {
  const std::string out = dir.file("stdout.txt");
  const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  io::redirectStandardUnit(io::kStdoutUnit, fd);
  ::close(fd);
  settings({{"Debug", "TRUE"}, {"Background", "black"}});
  open(4);
  io::unitFlush(io::kStdoutUnit);
  io::redirectStandardUnit(io::kStdoutUnit, -1);
  const Lines lines = test::readLines(out);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], " LASPLT: Colour mode selected");
  EXPECT_EQ(lines[1], " LASPLT: LargeFont is Courier");
  EXPECT_EQ(lines[4].rfind(" LASPLT: LargeFontSize is ", 0), 0u);
  EXPECT_EQ(lines[8], " LASPLT: Using BLACK background");
  EXPECT_TRUE(has(fresh(), "%%BeginProcSet concatprocs"));
}

// A window of no extent after a character height of 0: the extents count as 1.0, so no
// size of the prolog is infinite or not a number, and no field overflows into asterisks.
TEST_F(PsSetup, ADegenerateWindowGivesAFiniteProlog) {
  PLTDEV.window = {5.0f, 5.0f, 5.0f, 5.0f};
  PLTDEV.cellHeight = 0.0f;
  open(4);
  for (const std::string& line : fresh()) {
    EXPECT_EQ(line.find("NaN"), std::string::npos) << line;
    EXPECT_EQ(line.find("Inf"), std::string::npos) << line;
    EXPECT_EQ(line.find("**"), std::string::npos) << line;
  }
  EXPECT_NEAR(LASSTA.q, 1.0f / 31500.0f, 1e-9f);
}

}  // namespace
}  // namespace kvr
