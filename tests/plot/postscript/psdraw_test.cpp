// The drawing opcodes, objects, pages and end of document of the PostScript driver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/fmtedit.h"
#include "plot/defcol.h"
#include "psfixture.h"
#include "runtime/filcls.h"
#include "runtime/pltctb.h"

namespace kvr {
namespace {

using namespace test;  // Lines and the opcodes of the fixture

class PsDraw : public PostScriptFixture {
 protected:
  // Monochrome output with Q = 0.5: the picture window 0..15750 by 0..10000 raised by
  // two character heights of 10.
  void monochromeHalf() {
    PLTDEV.window = {0.0f, 15750.0f, 0.0f, 10000.0f};
    open(2);
    ASSERT_FLOAT_EQ(LASSTA.q, 0.5f);
    fresh();
  }
};

TEST_F(PsDraw, TextsAreEscapedAndCut) {
  PLTDEV.window = {0.0f, 15750.0f, 0.0f, 10000.0f};
  open(2);
  EXPECT_TRUE(has(fresh(), "    1 setlinewidth"));
  at(kOpMove, 100, 200);
  text("f(x)");
  EXPECT_EQ(fresh(), (Lines{"0 setgray", "gsave", "LargeFont setfont", "(f\\(x\\))  200   400 gt",
                            "grestore"}));
  text("a\\b");
  EXPECT_EQ(fresh().at(2), "(a\\\\b)  200   400 gt");
  EXPECT_EQ(PLTPAR.textCount, 4);
  // An escaped "(" that would pass the 80 characters is left out whole.
  const std::string letters(79, 'a');
  text(letters + "(");
  EXPECT_EQ(fresh().at(2), "(" + letters + ")  200   400 gt");
  EXPECT_EQ(PLTPAR.textCount, 79);
  // A text past 80 characters is cut there; a trailing backslash stays escaped.
  text(std::string(78, 'b') + "\\" + std::string(20, 'c'));
  EXPECT_EQ(fresh().at(2), "(" + std::string(78, 'b') + "\\\\)  200   400 gt");
  // Sizes 2 and 4 draw in the small font, without gsave; the offsets move by the cell.
  PLTPAR.characterSize = 2;
  PLTDSP(kOpCharacterSize);
  PLTPAR.textOffsetX = 1.0f;
  PLTPAR.textOffsetY = -0.5f;
  text("s");
  const int32_t dx = intOf(PLTDEV.cellWidth / 0.5f);
  const int32_t dy = intOf(-0.5f * PLTDEV.cellHeight / 0.5f);
  EXPECT_EQ(fresh(), (Lines{"(s)" + fmt::editI(200 + dx, 5) + " " + fmt::editI(400 + dy, 5) +
                            " gt"}));
  // An inquiry draws nothing.
  PLTPAR.textCount = -1;
  PLTDSP(kOpText);
  EXPECT_EQ(PLTCTB.textAnswer, kTextInquiryAnswer);
  EXPECT_TRUE(fresh().empty());
}

TEST_F(PsDraw, MarkersTakeTheSolidThinLine) {
  monochromeHalf();
  at(kOpMove, 100, 200);
  PLTPAR.marker = 12;
  PLTDSP(kOpMarker);
  EXPECT_EQ(fresh(), (Lines{"[] 0 setdash", "0 setgray",
                            "     1.00000     1.00000   200   400 mi "}));
  EXPECT_EQ(PLTPAR.marker, 8);
  EXPECT_EQ(PLTDEV.lineAttribute, 1);
  // A wider line is made thin for the marker and given back after it.
  PLTPAR.lineAttribute = -1;
  PLTDSP(kOpLineAttribute);
  EXPECT_EQ(fresh(), Lines{"    2 setlinewidth"});
  PLTPAR.marker = 0;
  PLTPAR.markerScale = 2.0f;
  PLTDSP(kOpMarker);
  EXPECT_EQ(fresh(), (Lines{"    1 setlinewidth", "     2.00000     2.00000   200   400  pl",
                            "    2 setlinewidth"}));
}

TEST_F(PsDraw, LineStyles) {
  monochromeHalf();
  const struct {
    int32_t value;
    Lines lines;
  } cases[] = {{1, {"[] 0 setdash"}}, {2, {"[150] 0 setdash"}}, {3, {"[300] 0 setdash"}},
               {4, {}},   {0, {"    1 setlinewidth"}}, {-3, {"    4 setlinewidth"}}};
  for (const auto& c : cases) {
    PLTPAR.lineAttribute = c.value;
    PLTDSP(kOpLineAttribute);
    EXPECT_EQ(fresh(), c.lines) << c.value;
  }
  EXPECT_EQ(PLTDEV.lineAttribute, 4);
}

TEST_F(PsDraw, FillsInMonochrome) {
  monochromeHalf();
  std::vector<std::pair<float, float>> seven;
  for (int i = 0; i < 7; ++i) seven.emplace_back(10.0f * i, 20.0f * i);
  points(kOpFill, seven, 8);
  EXPECT_EQ(fresh(), (Lines{" 1.0000 setgray",
                            "     0     0    20    40    40    80    60   120    80   160",
                            "   100   200   120   240  7 gp"}));
  points(kOpFill, {{0, 0}, {10, 0}, {10, 10}}, -3);
  EXPECT_EQ(fresh(), (Lines{" 0.0929 setgray", "     0     0    20     0    20    20 3 gp"}));
  // The same grey again is not written again; shade 1 is a grey of its own.
  points(kOpFill, {{0, 0}, {10, 0}, {10, 10}}, -3);
  EXPECT_EQ(fresh().size(), 1u);
  points(kOpFill, {{0, 0}, {10, 0}, {10, 10}}, -1);
  EXPECT_EQ(fresh().at(0), " 0.0310 setgray");
  // Nothing for no point, or for points whose offsets from the first sum to 0.
  points(kOpFill, {}, 2);
  points(kOpFill, {{5, 5}, {5, 5}, {5, 5}}, 2);
  points(kOpFill, {{0, 0}, {1, 1}, {-1, -1}}, 2);
  EXPECT_TRUE(fresh().empty());
  // Twenty points take four lines.
  std::vector<std::pair<float, float>> twenty(20, {1.0f, 1.0f});
  twenty[0] = {0.0f, 0.0f};
  points(kOpFill, twenty, 2);
  const Lines lines = fresh();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[4].substr(lines[4].size() - 6), " 20 gp");
  // Opcode 35 leaves the colour count of monochrome output.
  PLTPAR.colourTable = 4;
  PLTDSP(kOpColourTable);
  EXPECT_EQ(PLTDEV.colourCount, 31);
  EXPECT_EQ(PLTDEV.colourTableCount, 4);
}

TEST_F(PsDraw, LinesAndPolylines) {
  monochromeHalf();
  at(kOpMove, 10, 10);
  at(kOpDraw, 20, 10);
  at(kOpDraw, 20.2f, 10.2f);  // the same integer point: nothing, but the point moves
  at(kOpDraw, 30, 10);
  EXPECT_EQ(fresh(), (Lines{"0 setgray", "    40    20    20    20 gv",
                            "    60    20    40    20 gv"}));
  points(kOpPolyline, {{0, 0}, {10, 0}, {10, 10}});
  EXPECT_EQ(fresh(), (Lines{"    0     0", "   20     0", "   20    20", "    3 gpv"}));
  points(kOpPolyline, {{3, 3}});
  EXPECT_TRUE(fresh().empty());
  // A selected transformation maps the points and writes them back.
  PLTDEV.selectedTransform = 2;
  PLTDEV.mapScale = 2.0f;
  at(kOpDraw, 50, 10);
  EXPECT_EQ(fresh(), Lines{"   200    40    60    20 gv"});
  EXPECT_FLOAT_EQ(PLTPAR.pointX, 100.0f);
}

// Colour output on white paper: basic colours 1 and 8 trade places while the document is
// open, and come back at its end.
TEST_F(PsDraw, ColourOnWhite) {
  open(4);
  EXPECT_EQ(PLTCTB.shade(kBasicColourTable, 2, 1), 8);
  EXPECT_EQ(PLTDEV.colourCount, 12);
  EXPECT_EQ(PLTDEV.colourCount2, 12);
  fresh();
  colour(2);
  at(kOpMove, 10, 10);
  at(kOpDraw, 20, 10);
  at(kOpDraw, 30, 10);
  points(kOpFill, {{0, 0}, {10, 0}, {10, 10}}, 5);
  at(kOpDraw, 40, 10);
  const Lines lines = fresh();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), " 0.8235 0.0000 0.0000 C"), 2);
  EXPECT_EQ(lines.at(0), " 0.8235 0.0000 0.0000 C");
  EXPECT_EQ(lines.at(3), " 0.0000 1.0000 0.0000 C");
  EXPECT_EQ(lines.at(5), " 0.8235 0.0000 0.0000 C");
  colour(8);
  at(kOpDraw, 50, 10);
  colour(1);
  at(kOpDraw, 60, 10);
  colour(9);
  at(kOpDraw, 70, 10);
  const Lines greys = fresh();
  EXPECT_EQ(greys.at(0), "1 setgray");
  EXPECT_EQ(greys.at(2), "0 setgray");
  EXPECT_EQ(greys.at(4), " 0.4314 setgray");
  // Within one integer point (Q = 100 / 31500) nothing is written.
  at(kOpMove, 10.5f, 10);
  at(kOpDraw, 10.501f, 10);
  EXPECT_TRUE(fresh().empty());
  // A table outside 0..10 leaves both counts.
  PLTPAR.colourTable = 11;
  PLTDSP(kOpColourTable);
  EXPECT_EQ(PLTDEV.colourCount, 12);
  EXPECT_EQ(PLTDEV.colourCount2, 12);
  PLTPAR.colourTable = 4;
  PLTDSP(kOpColourTable);
  EXPECT_EQ(PLTDEV.colourCount, 21);
  EXPECT_EQ(PLTDEV.colourCount2, 21);

  commandLine("PLOT (A)\\");
  PLTDSP(kOpClose);
  const Lines end = fresh();
  ASSERT_EQ(end.size(), 12u);
  EXPECT_EQ(end[0], "gsave");
  EXPECT_EQ(end[1], "TitleFont setfont");
  EXPECT_EQ(end[2].size(), 19u);
  EXPECT_EQ(end[2].substr(12), " moveto");
  EXPECT_EQ(end[3], "0 setgray");
  EXPECT_EQ(end[4], "(PLOT \\(A\\)\\\\)");
  EXPECT_EQ((Lines(end.begin() + 5, end.end())),
            (Lines{"centretext", "grestore", "%%EndObject", "showpage", "saveobj restore",
                   "%%Trailer", "%%Pages:   1"}));
  // The device and the colours of the console are back; the current colour is 0.
  EXPECT_EQ(PLTDEV.currentColour, 0);
  EXPECT_EQ(PLTDEV.colourCount, 12);
  for (int32_t row = 1; row <= 3; ++row) {
    EXPECT_EQ(PLTCTB.shade(kBasicColourTable, row, 1), 1);
    EXPECT_EQ(PLTCTB.shade(kBasicColourTable, row, 8), 8);
  }
  EXPECT_EQ(PLTCTB.count(4), 21);
  EXPECT_EQ(PLTCAP.word(1), 1);
}

// A fill takes the colour table its record names (PLTPAR word 624), also before any
// opcode 35 has selected one on the device.
TEST_F(PsDraw, AShadedFillTakesTheTableOfItsRecord) {
  open(4);
  ASSERT_EQ(PLTDEV.colourTableCount, 0);
  auto colourLine = [](int32_t pen) {
    return fmt::editF(LASSTA.red(pen), 7, 4) + fmt::editF(LASSTA.green(pen), 7, 4) +
           fmt::editF(LASSTA.blue(pen), 7, 4) + " C";
  };
  for (int32_t table : {4, 6}) {
    SCOPED_TRACE(table);
    fresh();
    PLTPAR.colourTable = table;
    points(kOpFill, {{0, 0}, {10, 0}, {10, 10}}, -3);
    const int32_t pen = PENCOL(table, -3, 3) + 1;
    ASSERT_NE(pen, PENCOL(0, -3, 3) + 1) << "the table makes a difference";
    EXPECT_EQ(fresh().at(0), colourLine(pen));
  }
}

TEST_F(PsDraw, PagesAndTitles) {
  open(2);
  fresh();
  PLTDSP(kOpNewPage);
  PLTDSP(kOpNewPage);
  commandLine("");
  PLTDSP(kOpClose);
  const Lines lines = fresh();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "copypage"), 2);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "erasepage"), 2);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "TitleFont setfont"), 2);  // not the blank
  EXPECT_EQ(lines.back(), "%%Pages:   3");

  // A title of 77 letters and "(" keeps the letters; leading blanks are dropped.
  ASSERT_TRUE(openPlotFile("title.ps"));
  PLTDSP(kOpOpen);
  fresh();
  commandLine("   " + std::string(77, 't') + "(");
  PLTDSP(kOpClose);
  EXPECT_TRUE(has(fresh(), "(" + std::string(77, 't') + ")"));
}

TEST_F(PsDraw, ObjectKinds) {
  settings({{"Background", "Black"}});
  open(2);
  fresh();
  PLTPAR.objectKind = 3;
  PLTDSP(kOpObjectKind);
  PLTPAR.objectKind = 4;
  PLTDSP(kOpObjectKind);
  PLTPAR.objectKind = 99;
  PLTDSP(kOpObjectKind);
  EXPECT_EQ(fresh(), (Lines{"gsave {1 exch sub}", " currenttransfer concatprocs", "settransfer",
                            "erasepage grestore", "%%BeginObject: BORDER_TO_SCREEN/TABLE_ETC  3",
                            "%%EndObject", "%%BeginObject: PROMPTS                     4",
                            "%%EndObject", "%%BeginObject: UNKNOWN_OBJECT_TYPE        99"}));
  EXPECT_EQ(PLTDEV.objectKind, 99);
  // On black paper lines and texts are drawn in grey 1, and fills in colour 8 are black.
  text("t");
  points(kOpFill, {{0, 0}, {10, 0}, {10, 10}}, 8);
  const Lines lines = fresh();
  EXPECT_EQ(lines.at(0), "1 setgray");
  EXPECT_TRUE(has(lines, " 0.0000 setgray"));
  // A new page is erased white: its first object makes it black again.
  PLTDSP(kOpNewPage);
  fresh();
  PLTPAR.objectKind = 3;
  PLTDSP(kOpObjectKind);
  PLTDSP(kOpObjectKind);
  const Lines page = fresh();
  EXPECT_EQ(std::count(page.begin(), page.end(), "settransfer"), 1);
  EXPECT_EQ(page.at(0), "gsave {1 exch sub}");
}

TEST_F(PsDraw, ColourLinesAndEscapes) {
  const struct {
    float r, g, b;
    const char* line;
  } colours[] = {{0.0f, 0.0f, 0.0f, "0 setgray"},
                 {1.0f, 1.0f, 1.0f, "1 setgray"},
                 {0.5f, 0.5f, 0.5f, " 0.5000 setgray"},
                 {0.5f, 0.5004f, 0.5f, " 0.5000 setgray"},  // equal to a thousandth
                 {1.0f, 0.5f, 0.0f, " 1.0000 0.5000 0.0000 C"}};
  open(2);
  fresh();
  for (const auto& c : colours) PSCOLW(PLTPAR.outUnit, c.r, c.g, c.b);
  Lines expected;
  for (const auto& c : colours) expected.push_back(c.line);
  EXPECT_EQ(fresh(), expected);

  const struct {
    const char* text;
    int32_t capacity;
    const char* escaped;
  } escapes[] = {{"abc", 80, "abc"},       {"(a)", 80, "\\(a\\)"}, {"a\\", 80, "a\\\\"},
                 {"ab(", 3, "ab"},         {"ab(", 4, "ab\\("},   {"\\\\", 3, "\\\\"},
                 {"abcdef", 4, "abcd"},    {"", 80, ""}};
  for (const auto& e : escapes) {
    FixedText t(80, e.text);
    int32_t n = static_cast<int32_t>(std::string(e.text).size());
    PSESC(t, n, e.capacity);
    EXPECT_EQ(std::string(t.view().substr(0, static_cast<size_t>(n))), e.escaped) << e.text;
    EXPECT_EQ(t.text().trimmedLength(), n) << e.text;  // blank after it
  }
}

// Drawing records before any opcode 1, with no plot unit connected, are refused by the
// unit layer: no file appears, and the driver runs on its load state.
TEST_F(PsDraw, RecordsBeforeTheFirstOpenWriteNothing) {
  FILCLS(kPlotFileType);
  std::filesystem::remove(dir.file("picture.ps"));
  PLTPAR.outUnit = 0;
  useDriver(2, PSMONO);
  at(kOpDraw, 1, 1);
  points(kOpFill, {{0, 0}, {1, 0}, {1, 1}}, -2);
  text("abc");
  PLTDSP(kOpMarker);
  PLTPAR.outUnit = 78;
  LASPLT(kOpDraw);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "str"));
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_TRUE(entry.is_directory()) << entry.path();
  }
}

}  // namespace
}  // namespace kvr
