// The document-frame driver through the dispatcher (device 3): the frame and its
// mapping, dashed and solid lines, texts, markers, fills and polylines, the close, and
// records sent before any frame. Every frame document a test writes is read back by
// the frame reader when the test ends.
#include "plot/frame/ilfdrv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "framereader.h"
#include "platform/fmtedit.h"
#include "plot/pltdrv.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "plotfixture.h"
#include "runtime/pltcap.h"
#include "runtime/pltctb.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"

namespace kvr {
namespace {

constexpr int32_t kFrameDevice = 3;
constexpr int32_t kMove = 14;
constexpr int32_t kDraw = 15;
constexpr int32_t kFill = 16;
constexpr int32_t kMarker = 19;
constexpr int32_t kPolyline = 29;

// The segments of the acceptance frame, where 1 picture unit is 0.1 inch and the
// picture point (33, 33) is the frame's centre (3.3, 3.3).
const std::string kDash1 = "(v4,    1,0,  0.30000,  3.30000,  0.43200,  3.30000,17,1,0)";
const std::string kDash2 = "(v4,    1,0,  0.56400,  3.30000,  0.69600,  3.30000,17,1,0)";

class FrameDriver : public test::PlotFixture {
 protected:
  void SetUp() override {
    PlotFixture::SetUp();
    ILFSTA = {};
    PLTDEV.selectedTransform = 1;
    // Page extents 0..66 by 0..66, the picture window's top at 66 and no character
    // height before: page scale 0.1 and page origin (33, 33).
    PLTDEV.window2 = {0.0f, 66.0f, 0.0f, 66.0f};
    PLTDEV.window = {0.0f, 66.0f, 0.0f, 66.0f};
    PLTDEV.cellHeight = 0.0f;
    useDriver(kFrameDevice, ILFDRV);
  }

  // Every document written is closed and must read.
  void TearDown() override {
    if (started_) {
      if (ILFSTA.open) PLTDSP(kOpClose);
      const test::FrameDocument doc = test::readFrame(plotLines());
      EXPECT_EQ(doc.error, "");
    }
    ILFSTA = {};
    PlotFixture::TearDown();
  }

  // Opens the plot file and enters the graphics mode, which sends opcode 1.
  void start() {
    ASSERT_TRUE(openPlotFile("picture.doc"));
    started_ = true;
    PLTGRA();
  }

  std::vector<std::string> lines() { return plotLines(); }

  // Closes the frame and its file, which must read, and starts a new document.
  void newDocument() {
    if (ILFSTA.open) PLTDSP(kOpClose);
    EXPECT_EQ(test::readFrame(plotLines()).error, "");
    FILCLS(kPlotFileType);
    std::filesystem::remove(dir.file("picture.doc"));
    start();
  }

  // Sends OPCODE and answers the records it wrote.
  std::vector<std::string> send(int32_t opcode) {
    const size_t mark = lines().size();
    PLTDSP(opcode);
    std::vector<std::string> all = lines();
    return {all.begin() + static_cast<std::ptrdiff_t>(mark), all.end()};
  }

  std::vector<std::string> moveTo(float x, float y) {
    PLTPAR.pointX = x;
    PLTPAR.pointY = y;
    return send(kMove);
  }
  std::vector<std::string> drawTo(float x, float y) {
    PLTPAR.pointX = x;
    PLTPAR.pointY = y;
    return send(kDraw);
  }
  std::vector<std::string> line(int32_t a) {
    PLTPAR.lineAttribute = a;
    return send(kOpLineAttribute);
  }
  std::vector<std::string> size(int32_t k) {
    PLTPAR.characterSize = k;
    return send(kOpCharacterSize);
  }
  std::vector<std::string> label(const std::string& text) {
    for (size_t k = 0; k < text.size() && k < PLTPAR.text.size(); ++k) PLTPAR.text[k] = codeOf(text[k]);
    PLTPAR.textCount = static_cast<int32_t>(text.size());
    return send(kOpText);
  }
  std::vector<std::string> marker(int32_t m) {
    PLTPAR.marker = m;
    return send(kMarker);
  }
  static void points(const std::vector<std::pair<float, float>>& p) {
    PLTPAR.pointCount = static_cast<int32_t>(p.size());
    for (size_t i = 0; i < p.size(); ++i) {
      PLTPAR.x[i] = p[i].first;
      PLTPAR.y[i] = p[i].second;
    }
  }
  // N points along y = 33 from x = 3 on, 1 apart.
  static void row(int32_t n) {
    std::vector<std::pair<float, float>> p;
    for (int32_t i = 0; i < n; ++i) p.emplace_back(3.0f + static_cast<float>(i), 33.0f);
    points(p);
  }

 private:
  bool started_ = false;
};

using Lines = std::vector<std::string>;

// ---- the frame

TEST_F(FrameDriver, OpenWritesTheHeadAndCloseTheEnd) {
  start();
  EXPECT_EQ(lines(), test::kFrameHead);
  EXPECT_EQ(send(kOpClose), (Lines{")", "<End Frame>"}));
  EXPECT_EQ(test::readFrame(lines()).error, "");
}

TEST_F(FrameDriver, OpenTakesTheDeviceAndCloseGivesItBack) {
  PLTCAP.deviceName().assign("Alpha");
  PLTCAP.words = {1, 9, 1, 3, 1, 2, 6, 0, 1, 0, 0, 7, 0, 0, 4, 0, 0, 0};
  PLTDEV.colourCount = 12;
  PLTDEV.colourCount2 = 11;
  PLTDEV.currentColour = 4;
  PLTDEV.colourTableCount = 2;
  PLTDEV.lineAttribute = 3;
  PLTDEV.cellWidth = 7.0f;
  PLTDEV.cellHeight = 9.0f;
  PLTOPT.word(kOptSecond) = 5;
  const auto words = PLTCAP.words;
  start();
  EXPECT_EQ(PLTCAP.deviceName().trimmed(), "Interleaf");
  EXPECT_EQ(PLTCAP.words, (DeviceWords{2, -9, 5, 1, 0, 2, 0, 0, 0, 0, 0, 7, 0, 0, 4, 0, 0, 0}));
  EXPECT_EQ(PLTDEV.colourCount, 6);
  EXPECT_EQ(PLTDEV.colourCount2, 1);
  EXPECT_EQ(PLTDEV.currentColour, 0);
  EXPECT_EQ(PLTDEV.colourTableCount, 0);
  EXPECT_EQ(PLTDEV.lineAttribute, 0);
  EXPECT_EQ(PLTPAR.colourTable, 1);
  EXPECT_EQ(PLTPAR.markerScale, 1.0f);
  // The window's top is raised by 2 x 9: scale min(6.6 / 66, 6.6 / 84).
  const float s = 6.6f / 84.0f;
  EXPECT_FLOAT_EQ(PLXFRM.pageScale, s);
  EXPECT_FLOAT_EQ(PLXFRM.pageOriginX, 33.0f);
  EXPECT_FLOAT_EQ(PLXFRM.pageOriginY, 42.0f);
  EXPECT_FLOAT_EQ(PLTDEV.cellWidth, 0.0833333f / s);
  EXPECT_FLOAT_EQ(PLTDEV.cellHeight, 0.138889f / s);

  // Opcode 35 sets the table and leaves the colour count.
  PLTPAR.colourTable = 3;
  EXPECT_EQ(send(kOpColourTable), Lines{});
  EXPECT_EQ(PLTDEV.colourTableCount, 3);
  EXPECT_EQ(PLTDEV.colourCount, 6);

  PLTDSP(kOpClose);
  EXPECT_EQ(PLTCAP.words, words);
  EXPECT_EQ(PLTDEV.colourCount, 12);
  EXPECT_EQ(PLTDEV.colourCount2, 11);
  EXPECT_EQ(PLTDEV.currentColour, 4);
  EXPECT_EQ(PLTDEV.colourTableCount, 2);
  EXPECT_EQ(PLTDEV.lineAttribute, 3);
  EXPECT_EQ(PLTDEV.cellWidth, 7.0f);
  EXPECT_EQ(PLTDEV.cellHeight, 9.0f);
}

// ---- lines

TEST_F(FrameDriver, LinesAreDashedUntilALineAttributeOfOne) {
  start();
  EXPECT_EQ(moveTo(3, 33), Lines{});
  EXPECT_EQ(drawTo(8, 33), (Lines{"(g9,    1,0", kDash1, kDash2, ")"}));
  // A draw answers its frame point in the operands.
  EXPECT_FLOAT_EQ(PLTPAR.pointX, 0.8f);
  EXPECT_FLOAT_EQ(PLTPAR.pointY, 3.3f);
  EXPECT_EQ(line(2), Lines{});
  EXPECT_EQ(line(0), Lines{});  // below 1: ignored, still dashed
  EXPECT_EQ(line(-1), Lines{});
  moveTo(12.5f, 33);
  EXPECT_EQ(drawTo(13, 33), (Lines{"(g9,    2,0", "(v4,    2,0,  1.25000,  3.30000,  1.30000,  3.30000,17,1,0)", ")"}));
  EXPECT_EQ(line(1), Lines{});
  EXPECT_EQ(PLTDEV.lineAttribute, 1);
  moveTo(12.5f, 33);
  EXPECT_EQ(drawTo(25, 33), Lines{"(v4,    3,0,  1.25000,  3.30000,  2.50000,  3.30000,17,1,0)"});
  // The draw's end is the current point.
  EXPECT_EQ(drawTo(25, 43), Lines{"(v4,    4,0,  2.50000,  3.30000,  2.50000,  2.30000,17,1,0)"});
}

TEST_F(FrameDriver, AfterOpcodeElevenWithOneTheFirstLineIsSolidAndNumberedTwo) {
  start();
  moveTo(3, 33);
  drawTo(8, 33);
  line(1);
  moveTo(12.5f, 33);
  EXPECT_EQ(drawTo(25, 33), Lines{"(v4,    2,0,  1.25000,  3.30000,  2.50000,  3.30000,17,1,0)"});
}

// Dashes of 0.132 inch along x from (1, 2), for lines of several lengths.
TEST_F(FrameDriver, DashesAndGapsOfEqualLengthTheLastCut) {
  ASSERT_TRUE(openPlotFile("dashes.doc"));
  struct Case {
    float length;
    std::vector<std::pair<double, double>> dashes;  // from, to, in inches from the start
  };
  const std::vector<Case> cases = {
      {0.1f, {{0.0, 0.1}}},                    // shorter than a dash: one segment
      {0.132f, {{0.0, 0.132}}},                // one dash, the gap reaches past the end
      {0.3f, {{0.0, 0.132}, {0.264, 0.3}}},    // the second dash cut at the end
      {0.5f, {{0.0, 0.132}, {0.264, 0.396}}},  // the end falls in a gap
      {0.6f, {{0.0, 0.132}, {0.264, 0.396}, {0.528, 0.6}}},
  };
  for (const Case& c : cases) ILFDSH(plotUnit(), 1.0f, 2.0f, 1.0f + c.length, 2.0f, 7, 0.132f);
  // A dashed line longer than any frame is one segment, and so is any line for a dash
  // length that is not positive.
  ILFDSH(plotUnit(), 0.0f, 0.0f, 3000.0f, 0.0f, 8, 0.132f);
  ILFDSH(plotUnit(), 0.0f, 0.0f, 1.0f, 0.0f, 9, 0.0f);

  const std::vector<std::string> got = plotLines();
  size_t k = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    for (const auto& [from, to] : c.dashes) {
      ASSERT_LT(k, got.size());
      const std::string expected = "(v4,    7,0," + fmt::editF(1.0 + from, 9, 5) + ",  2.00000," +
                                   fmt::editF(1.0 + to, 9, 5) + ",  2.00000,17,1,0)";
      EXPECT_EQ(got[k++], expected);
    }
  }
  ASSERT_EQ(got.size(), k + 2);
  EXPECT_EQ(got[k], "(v4,    8,0,  0.00000,  0.00000,*********,  0.00000,17,1,0)");
  EXPECT_EQ(got[k + 1], "(v4,    9,0,  0.00000,  0.00000,  1.00000,  0.00000,17,1,0)");
}

TEST_F(FrameDriver, TransformationsApplyAboveOneToLinesAndOtherThanOneToFillsAndPolylines) {
  // Mapping: x' = 2 (x - 10) + 20, y' = 2 (y - 10) + 20.
  PLTDEV.mapScale = 2.0f;
  PLTDEV.mapOriginX = 10.0f;
  PLTDEV.mapOriginY = 10.0f;
  PLTDEV.mapOffsetX = 20.0f;
  PLTDEV.mapOffsetY = 20.0f;
  start();
  line(1);
  struct Case {
    int32_t transform;
    bool lines;  // moves and draws mapped
    bool areas;  // fills and polylines mapped
  };
  for (const Case& c : {Case{2, true, true}, Case{1, false, false}, Case{0, false, true}}) {
    SCOPED_TRACE(c.transform);
    PLTDEV.selectedTransform = c.transform;
    moveTo(13, 33);  // x 13 maps to 26: frame x 2.6, else 1.3
    const Lines drawn = drawTo(13, 33);
    ASSERT_EQ(drawn.size(), 1U);
    EXPECT_EQ(drawn[0].substr(12, 9), c.lines ? "  2.60000" : "  1.30000");
    points({{13, 33}, {14, 33}});
    const Lines poly = send(kPolyline);
    ASSERT_EQ(poly.size(), 3U);
    EXPECT_EQ(poly[1].substr(12, 9), c.areas ? "  2.60000" : "  1.30000");
    EXPECT_FLOAT_EQ(PLTPAR.x[0], c.areas ? 26.0f : 13.0f);  // mapped in place
  }
}

// ---- texts and markers

TEST_F(FrameDriver, TextsAreEscapedAndCutBetweenWholeUnits) {
  start();
  moveTo(12.5f, 33);
  EXPECT_EQ(label("a(b)"), Lines{"(t8,    1,4,  1.25000,  3.30000,0,17,typw10,a\\(b\\))"});
  struct Case {
    std::string text;
    std::string written;
  };
  const std::string l38(38, 'x');
  const std::vector<Case> cases = {
      {std::string(50, 'q'), std::string(39, 'q')},
      {l38 + "(", l38},                 // "\(" would make 40: cut before it
      {l38 + "\\", l38},                // and never a lone backslash at the end
      {std::string(37, 'x') + "\\", std::string(37, 'x') + "\\\\"},
      {"", ""},
      {"a b,c<d>e\\f", "a\\ b\\,c\\<d\\>e\\\\f"},
      {std::string(100, 'z'), std::string(39, 'z')},
  };
  int32_t object = 2;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const Lines got = label(c.text);
    ASSERT_EQ(got.size(), 1U);
    EXPECT_EQ(got[0], "(t8," + fmt::editI(object++, 5) + ",4,  1.25000,  3.30000,0,17,typw10," +
                          c.written + ")");
  }

  // A text inquiry answers -99 and writes nothing.
  PLTPAR.textCount = -3;
  EXPECT_EQ(send(kOpText), Lines{});
  EXPECT_EQ(PLTCTB.textAnswer, -99);
}

TEST_F(FrameDriver, CharacterSizesChooseTheFontAndTheTextCellMovesTheText) {
  start();
  moveTo(12.5f, 33);
  EXPECT_EQ(size(2), Lines{});
  EXPECT_EQ(PLTDEV.characterSizeBase, 2);
  EXPECT_FLOAT_EQ(PLTDEV.cellWidth, 5.0f / 72.0f / 0.1f);
  EXPECT_FLOAT_EQ(PLTDEV.cellHeight, 8.0f / 72.0f / 0.1f);
  EXPECT_EQ(label("A"), Lines{"(t8,    1,4,  1.25000,  3.30000,0,17,typw8 ,A)"});

  // Offsets count cells of the last opcode 12 (6 by 10 points): right and up.
  size(3);
  PLTPAR.textOffsetX = 1.2f;
  PLTPAR.textOffsetY = 7.2f;
  EXPECT_EQ(label("B"), Lines{"(t8,    2,4,  1.35000,  2.30000,0,17,typw10,B)"});
  EXPECT_EQ(PLTPAR.textOffsetX, 0.0f);
  EXPECT_EQ(PLTPAR.textOffsetY, 0.0f);

  // The text cell persists into the next frame; the font starts again as "typw10".
  size(4);
  newDocument();
  moveTo(12.5f, 33);
  PLTPAR.textOffsetX = 7.2f;
  EXPECT_EQ(label("C"), Lines{"(t8,    1,4,  1.75000,  3.30000,0,17,typw10,C)"});
}

TEST_F(FrameDriver, MarkersAreGlyphsOfTheirFonts) {
  start();
  moveTo(12.5f, 33);
  struct Case {
    int32_t marker;
    std::string font;
    char glyph;
  };
  const std::vector<Case> cases = {{1, "symb10", 'g'}, {2, "symb10", ':'}, {3, "symb10", 'L'},
                                   {4, "symb10", 'j'}, {5, "symb10", 'Z'}, {6, "symb10", 'Y'},
                                   {7, "symb10", 'Y'}, {8, "typw10", '-'}, {0, "symb10", 'g'},
                                   {9, "symb10", 'g'}, {-1, "symb10", 'g'}};
  int32_t object = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.marker);
    EXPECT_EQ(marker(c.marker), Lines{"(t8," + fmt::editI(object++, 5) + ",4,  1.20833,  3.34167,0,17," +
                                      c.font + "," + c.glyph + ")"});
  }
}

// ---- fills and polylines

TEST_F(FrameDriver, AFillOfTwelvePointsWritesNineEdges) {
  start();
  PLTPAR.colour = 3;
  row(12);
  const Lines got = send(kFill);
  ASSERT_EQ(got.size(), 12U);
  EXPECT_EQ(got[0], "(p6,    1,24,16");
  EXPECT_EQ(got[1], "  (g9,    1,0");
  for (size_t k = 2; k < 10; ++k) {
    const float from = 0.3f + 0.1f * static_cast<float>(k - 2);
    EXPECT_EQ(got[k], "(v4,    1,0," + fmt::editF(from, 9, 5) + ",  3.30000," +
                          fmt::editF(from + 0.1f, 9, 5) + ",  3.30000,17,0,0)");
  }
  EXPECT_EQ(got[10], "(v4,    1,0,  1.10000,  3.30000,  0.30000,  3.30000,17,0,0)");  // closing
  EXPECT_EQ(got[11], "))");
  EXPECT_EQ(PLTPAR.pointCount, 9);
  EXPECT_EQ(PLTDEV.currentColour, 3);
  EXPECT_EQ(ILFSTA.object, 2);
}

TEST_F(FrameDriver, FillPatternsFollowTheColour) {
  start();
  // With 6 colours: p = 6 - |c| + 13, then 20 -> 17 and 17..19 -> p + 1.
  const std::vector<std::pair<int32_t, std::string>> cases = {
      {0, "20"}, {1, "19"}, {-1, "19"}, {2, "18"}, {3, "16"}, {4, "15"}, {5, "14"}, {6, "13"},
      {-7, "13"}, {20, "13"}, {30, "13"}, {-2147483647 - 1, "13"}};  // held to the last colour
  for (const auto& [c, pattern] : cases) {
    SCOPED_TRACE(c);
    PLTPAR.colour = c;
    row(3);
    const Lines got = send(kFill);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got[0].substr(13), pattern);
  }
  // A colour count of 7 makes pattern 20 of colour 0, which becomes 17.
  PLTDEV.colourCount = 7;
  PLTPAR.colour = 0;
  row(3);
  EXPECT_EQ(send(kFill)[0].substr(13), "17");
}

TEST_F(FrameDriver, AFillWithoutPointsWritesNothingAndKeepsTheNumber) {
  start();
  PLTPAR.colour = 2;
  row(0);
  EXPECT_EQ(send(kFill), Lines{});
  EXPECT_EQ(ILFSTA.object, 1);
  // One point: the closing edge from the point to itself.
  row(1);
  EXPECT_EQ(send(kFill), (Lines{"(p6,    1,24,18", "  (g9,    1,0",
                                "(v4,    1,0,  0.30000,  3.30000,  0.30000,  3.30000,17,0,0)", "))"}));
  EXPECT_EQ(ILFSTA.object, 2);
}

TEST_F(FrameDriver, APolylineNumbersItsSegmentsFromItsGroup) {
  start();
  moveTo(12.5f, 33);
  for (int32_t m = 1; m <= 4; ++m) marker(1);  // objects 1 to 4
  row(4);
  EXPECT_EQ(send(kPolyline), (Lines{"  (g9,    5,0",
                                    "(v4,    5,0,  0.30000,  3.30000,  0.40000,  3.30000,17,0,0)",
                                    "(v4,    6,0,  0.40000,  3.30000,  0.50000,  3.30000,17,0,0)",
                                    "(v4,    7,0,  0.50000,  3.30000,  0.60000,  3.30000,17,0,0)",
                                    ")"}));
  EXPECT_EQ(ILFSTA.object, 9);
  row(1);
  EXPECT_EQ(send(kPolyline), (Lines{"  (g9,    9,0", ")"}));
  row(0);
  EXPECT_EQ(send(kPolyline), (Lines{"  (g9,   10,0", ")"}));
  EXPECT_EQ(ILFSTA.object, 11);
}

// ---- fields and limits

TEST_F(FrameDriver, ValuesTooWideForTheirFieldsAreAsterisks) {
  start();
  line(1);
  ILFSTA.object = 100000;
  moveTo(33, 33);
  // 10000 picture units right is 1000 inches: too wide for F9.5.
  EXPECT_EQ(drawTo(10033, 33), Lines{"(v4,*****,0,  3.30000,  3.30000,*********,  3.30000,17,1,0)"});
  EXPECT_EQ(drawTo(33, -10000), Lines{"(v4,*****,0,*********,  3.30000,  3.30000,*********,17,1,0)"});
  EXPECT_EQ(drawTo(33, 1033), Lines{"(v4,*****,0,  3.30000,*********,  3.30000,-96.70000,17,1,0)"});
}

TEST_F(FrameDriver, ADegenerateWindowMapsWithExtentOne) {
  struct Case {
    PlotWindow extents;
    float top;  // of the picture window
    float scale;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<Case> cases = {
      {{5, 5, 0, 66}, 66, 0.1f},    // x 5 to 5: 6.6 / 1 against 6.6 / 66
      {{5, 4, 0, 66}, 66, 0.1f},    // reversed
      {{0, 66, 10, 0}, 10, 0.1f},   // y from 10 up to 10
      {{5, 5, 10, 0}, 10, 6.6f},    // both: the frame holds one unit each way
      {{0, nan, 0, 66}, 66, 0.1f},  // not finite
  };
  start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale);
    PLTDEV.window2 = c.extents;
    PLTDEV.window.yMax = c.top;
    newDocument();
    EXPECT_FLOAT_EQ(PLXFRM.pageScale, c.scale);
    EXPECT_TRUE(std::isfinite(PLTDEV.cellWidth));
    EXPECT_TRUE(std::isfinite(PLTDEV.cellHeight));
    if (std::isnan(c.extents.xMax)) continue;  // the page origin is not a number
    line(1);
    moveTo(5, 10);
    EXPECT_EQ(drawTo(5.5f, 10).size(), 1U);
  }
}

TEST_F(FrameDriver, OpcodesOutsideTheListWriteNothing) {
  start();
  moveTo(12.5f, 33);
  const auto before = PLTDEV.lineAttribute;
  for (int32_t op : {0, -1, 3, 4, 5, 6, 7, 8, 9, 13, 17, 20, 21, 22, 23, 24, 26, 27, 28, 30, 32, 34,
                     36, 37, 48, 49, 1000}) {
    SCOPED_TRACE(op);
    EXPECT_EQ(send(op), Lines{});
  }
  PLTPAR.objectKind = 4;
  EXPECT_EQ(send(kOpObjectKind), Lines{});
  EXPECT_EQ(PLTDEV.objectKind, 4);
  PLTPAR.colour = 5;
  EXPECT_EQ(send(kOpColour), Lines{});
  EXPECT_EQ(PLTDEV.currentColour, 5);
  PLTPAR.selectTransform = 2;
  EXPECT_EQ(send(kOpSelectTransform), Lines{});
  PLTPAR.defineTransform = 2;
  EXPECT_EQ(send(kOpDefineTransform), Lines{});
  EXPECT_EQ(PLTDEV.lineAttribute, before);
  EXPECT_EQ(ILFSTA.object, 1);
}

// ---- the reader of the tests

// The reader refuses what would break a frame document, so that the documents it reads
// in the other tests are known to be whole.
TEST(FrameReader, RefusesBrokenDocuments) {
  const std::string seg = "(v4,    1,0,  0.30000,  3.30000,  0.43200,  3.30000,17,1,0)";
  const auto doc = [](std::vector<std::string> body) {
    std::vector<std::string> lines = test::kFrameHead;
    lines.insert(lines.end(), body.begin(), body.end());
    lines.push_back(")");
    lines.push_back("<End Frame>");
    return lines;
  };
  EXPECT_EQ(test::readFrame(doc({})).error, "");
  EXPECT_EQ(test::readFrame(doc({"(g9,    1,0", seg, ")", "(p6,    2,24,16", "  (g9,    2,0", seg,
                                 "))", "(t8,    3,4,  1.25000,  3.30000,0,17,typw10,a\\\\\\))"}))
                .error,
            "");
  struct Case {
    const char* why;
    std::vector<std::string> lines;
  };
  std::vector<std::string> noEnd = doc({});
  noEnd.pop_back();
  std::vector<std::string> badHead = doc({});
  badHead[7] = "(g9,    1,0";
  const std::vector<Case> cases = {
      {"no end line", noEnd},
      {"a head line changed", badHead},
      {"a group left open", doc({"(g9,    1,0", seg})},
      {"a group closed twice", doc({"(g9,    1,0", ")", ")"})},
      {"a fill closed by one", doc({"(p6,    2,24,16", "  (g9,    2,0", seg, ")", ")"})},
      {"a fill without its group", doc({"(p6,    2,24,16", seg, "))"})},
      {"a fill's group of another number", doc({"(p6,    2,24,16", "  (g9,    3,0", "))"})},
      {"\"))\" without a fill", doc({"(g9,    1,0", "  (g9,    1,0", "))"})},
      {"a narrow number", doc({"(v4,   1,0,  0.30000,  3.30000,  0.43200,  3.30000,17,1,0)"})},
      {"four decimals", doc({"(v4,    1,0,   0.3000,  3.30000,  0.43200,  3.30000,17,1,0)"})},
      {"a lone backslash", doc({"(t8,    3,4,  1.25000,  3.30000,0,17,typw10,a\\)"})},
      {"an unescaped blank", doc({"(t8,    3,4,  1.25000,  3.30000,0,17,typw10,a b)"})},
      {"40 characters", doc({"(t8,    3,4,  1.25000,  3.30000,0,17,typw10," + std::string(40, 'x') + ")"})},
      {"a short font", doc({"(t8,    3,4,  1.25000,  3.30000,0,17,typw8,x)"})},
      {"an unknown record", doc({"(x1,    1,0"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_NE(test::readFrame(c.lines).error, "");
  }
}

// ---- before any frame

TEST_F(FrameDriver, RecordsBeforeTheFirstFrameReachNoFile) {
  PLTPAR.outUnit = 0;
  const auto words = PLTCAP.words;
  for (int32_t op : {10, 11, 12, 14, 15, 16, 18, 19, 29, 2}) {
    PLTPAR.pointCount = 3;
    PLTPAR.textCount = 4;
    PLTPAR.characterSize = 2;
    PLTPAR.lineAttribute = 2;
    PLTDSP(op);
  }
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_TRUE(entry.is_directory()) << entry.path();  // only the fixture's home
  }
  EXPECT_TRUE(std::isfinite(PLTDEV.cellWidth));
  EXPECT_EQ(PLTCAP.words, words);  // no close without a frame
}

// ---- a whole frame

// The golden frame: a dashed line across the centre, a solid one down, a title in the
// small font under the picture, a plus marker, a filled triangle in colour 2 and an open
// polyline of three points, each a numbered object of the frame's group.
TEST_F(FrameDriver, AWholeFrameMatchesTheGoldenFile) {
  start();
  moveTo(13, 33);
  drawTo(53, 33);
  line(1);
  moveTo(33, 13);
  drawTo(33, 53);
  size(2);
  moveTo(20, 5);
  label("Frame <1>, 2 lines");
  moveTo(33, 33);
  marker(1);
  PLTPAR.colour = 2;
  points({{40, 40}, {50, 40}, {45, 50}});
  send(kFill);
  points({{10, 50}, {20, 60}, {30, 50}});
  send(kPolyline);
  PLTDSP(kOpClose);
  const Lines got = lines();

  const test::FrameDocument doc = test::readFrame(got);
  ASSERT_EQ(doc.error, "");
  size_t texts = 0;
  size_t segments = 0;
  for (const test::FrameRecord& r : doc.records) {
    texts += r.kind == test::FrameRecord::Text;
    segments += r.kind == test::FrameRecord::Segment;
  }
  EXPECT_EQ(texts, 2U);
  EXPECT_GT(segments, 6U);

  const char* source = std::getenv("KVR_TEST_SOURCE");
  ASSERT_NE(source, nullptr) << "KVR_TEST_SOURCE names the tests folder";
  const std::string golden = std::string(source) + "/plot/golden/ilfframe.doc";
  if (const char* update = std::getenv("KVR_UPDATE_GOLDEN"); update && std::string(update) == "1") {
    std::ofstream out(golden, std::ios::binary);
    for (const std::string& record : got) out << record << '\n';
  }
  EXPECT_EQ(test::readLines(golden), got);
}

}  // namespace
}  // namespace kvr
