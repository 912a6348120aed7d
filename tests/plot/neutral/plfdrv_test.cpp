#include "plot/neutral/plfdrv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../plotfixture.h"
#include "command/cmdlin.h"
#include "runtime/codtxt.h"
#include "testsupport.h"

namespace kvr {
namespace {

using Lines = std::vector<std::string>;

// The neutral plot file on the plot fixture: the plot options of start-up, the console
// as the device before (12 colours, a character cell 7 wide and 10 high), transformation
// 1, the command line "PLOT ALL", and the plot file open as the plot unit.
class Neutral : public test::PlotFixture {
 protected:
  void SetUp() override {
    PlotFixture::SetUp();
    const int32_t options[] = {-1, 1, 4, 120, 90, 60, 60, 90, 60, 50, 50, 1, 1, 1, 1};
    for (int32_t k = 1; k <= 15; ++k) PLTOPT.word(k) = options[k - 1];
    PLTCAP.words = {1, 9, 1, 3, 1, 2, 6, 0, 1, 0, 0, 0, 0, 0, 4, 0, 0, 0};
    PLTDEV.colourCount = 12;
    PLTDEV.currentColour = 5;
    PLTDEV.cellHeight = 10.0f;
    PLTDEV.selectedTransform = 1;
    PLFSTA = {};
    commandLine("PLOT ALL");
    useDriver(1, PLFDRV);
    PLTDEV.outputMode = kOutputGraphics;
    ASSERT_TRUE(openPlotFile());
    PLTPAR.outUnit = plotUnit();
  }

  void TearDown() override {
    CMDLIN = {};
    PLFSTA = {};
    PlotFixture::TearDown();
  }

  static void commandLine(const std::string& s) {
    CMDLIN.lineCodes.fill(kBlankCode);
    for (size_t k = 0; k < s.size(); ++k) CMDLIN.lineCodes[k] = codeOf(s[k]);
  }

  static void send(int32_t opcode) { PLTDSP(opcode); }
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

  // The lines written after the NSKIP lines of opcode 1.
  Lines after(size_t skip) {
    Lines all = plotLines();
    return Lines(all.begin() + static_cast<std::ptrdiff_t>(std::min(skip, all.size())), all.end());
  }
  static constexpr size_t kOpenLines = 13;
};

TEST_F(Neutral, OpenWritesTheHeadTheFrameAndTheSizes) {
  send(kOpOpen);
  const Lines expected = {
      " 1 2", "   2   6   1  12", "PLOT ALL" + std::string(72, ' '),
      "13 1", "   09999   09999",
      "14 1", " 1  90 120 1", "14 1", " 2  60  90 1",
      "14 1", " 3  50  60 1", "14 1", " 4  50  60 1"};
  EXPECT_EQ(plotLines(), expected);
  EXPECT_EQ(PLTCAP.deviceName().trimmed(), "Plotter");
  EXPECT_EQ(PLTCAP.words, (std::array<int32_t, 18>{2, 9, 1, 0, 0, 2, 1, 0, 0, 0, 0, 0, 0, 0,
                                                    4, 0, 0, 0}));
  EXPECT_EQ(PLTDEV.colourCount, 12);
  EXPECT_EQ(PLTDEV.currentColour, 0);
  EXPECT_EQ(PLTDEV.lineAttribute, 0);
  EXPECT_EQ(PLTPAR.colourTable, 1);
  EXPECT_EQ(PLTDEV.colourTableCount, 1);
  // The inherited cell times the character-size factor 4.
  EXPECT_FLOAT_EQ(PLTDEV.cellHeight, 40.0f);
  EXPECT_FLOAT_EQ(PLTDEV.cellWidth, 28.0f);
  EXPECT_FLOAT_EQ(PLXFRM.pageScale, 99.99f);

  // Opcode 2 gives the device before back, its current colour included.
  send(kOpClose);
  EXPECT_EQ(after(kOpenLines), Lines{" 8 1"});
  EXPECT_EQ(PLTCAP.words, (std::array<int32_t, 18>{1, 9, 1, 3, 1, 2, 6, 0, 1, 0, 0, 0, 0, 0,
                                                    4, 0, 0, 0}));
  EXPECT_EQ(PLTDEV.colourCount, 12);
  EXPECT_EQ(PLTDEV.currentColour, 5);
  EXPECT_FLOAT_EQ(PLTDEV.cellHeight, 10.0f);
  EXPECT_FLOAT_EQ(PLTDEV.cellWidth, 7.0f);
}

TEST_F(Neutral, TheColourCountOptionIsHeldTo31) {
  const struct {
    int32_t option;
    const char* record;
    int32_t count;
  } cases[] = {{-1, "   2   6   1  12", 12}, {0, "   2   6   1  12", 12},
               {1, "   2   6   1   1", 1},   {31, "   2   6   1  31", 31},
               {40, "   2   6   1  31", 31}};
  for (const auto& c : cases) {
    ASSERT_TRUE(openPlotFile("option.plt"));
    PLTDEV.colourCount = 12;
    PLTOPT.word(kOptColourCount) = c.option;
    send(kOpOpen);
    EXPECT_EQ(plotLines().at(1), c.record) << c.option;
    EXPECT_EQ(PLTDEV.colourCount, c.count) << c.option;
    send(kOpClose);
  }
}

TEST_F(Neutral, ABlankCommandLineIsAnEightyBlankRecord) {
  commandLine("");
  send(kOpOpen);
  EXPECT_EQ(plotLines().at(2), std::string(80, ' '));
  // Only the first 80 codes of a longer line.
  commandLine(std::string(79, 'a') + "bc");
  ASSERT_TRUE(openPlotFile("long.plt"));
  send(kOpOpen);
  EXPECT_EQ(plotLines().at(2), std::string(79, 'a') + "b");
}

TEST_F(Neutral, DrawsWriteTheMoveOnlyWhenThePenIsElsewhere) {
  send(kOpOpen);
  colour(3);
  at(kOpMove, 10, 10);
  at(kOpDraw, 20, 10);
  at(kOpDraw, 30, 10);
  at(kOpMove, 30, 10);  // where the pen stands: no move record
  at(kOpDraw, 40, 10);
  at(kOpMove, 50, 10);
  at(kOpDraw, 50, 20);
  EXPECT_EQ(after(kOpenLines),
            (Lines{" 5 1", " 3-1", " 2 1", "10001000", " 3 1", "20001000", " 3 1", "30001000",
                   " 3 1", "40001000", " 2 1", "50001000", " 3 1", "50002000"}));
}

TEST_F(Neutral, AMoveAfterATextOrAMarkerIsAlwaysWritten) {
  send(kOpOpen);
  at(kOpMove, 10, 10);
  at(kOpDraw, 20, 10);
  at(kOpMove, 20, 10);
  send(kOpMarker);
  at(kOpMove, 20, 10);
  at(kOpDraw, 30, 10);
  const Lines lines = after(kOpenLines);
  const Lines tail(lines.end() - 4, lines.end());
  EXPECT_EQ(tail, (Lines{" 2 1", "20001000", " 3 1", "30001000"}));
}

TEST_F(Neutral, APenRecordIsWrittenOnlyWhenItChanges) {
  send(kOpOpen);
  const struct {
    int32_t colour;
    int32_t opcode;
    const char* pen;  // nullptr: no pen record
  } cases[] = {
      {-2, kOpMarker, " 2-1"},  // a marker's pen is |c|
      {-2, kOpDraw, "10-1"},    // a draw's is |c| + 8
      {-2, kOpDraw, nullptr},   // unchanged
      {0, kOpDraw, " 0-1"},
      {7, kOpMarker, " 7-1"},
      {INT32_MIN, kOpDraw, "**-1"},  // too wide for its field
  };
  size_t seen = kOpenLines;
  for (const auto& c : cases) {
    colour(c.colour);
    at(kOpMove, 10, 10);
    at(c.opcode, 20, 10);
    const Lines lines = after(seen);
    seen += lines.size();
    if (c.pen == nullptr) {
      EXPECT_NE(lines.front(), " 5 1") << c.colour;
    } else {
      ASSERT_GE(lines.size(), 2u);
      EXPECT_EQ(lines[0], " 5 1") << c.colour;
      EXPECT_EQ(lines[1], c.pen) << c.colour;
    }
  }
  // A new colour table changes the pair.
  PLTPAR.colourTable = 4;
  send(kOpColourTable);
  at(kOpDraw, 30, 10);
  EXPECT_EQ(after(seen).at(1), "**-4");
}

TEST_F(Neutral, AFillKeepsNinePoints) {
  send(kOpOpen);
  PLTPAR.colour = -2;
  PLTPAR.pointCount = 12;
  for (int32_t i = 0; i < 12; ++i) {
    PLTPAR.x[static_cast<size_t>(i)] = 10.0f * static_cast<float>(i);
    PLTPAR.y[static_cast<size_t>(i)] = 10.0f;
  }
  send(kOpFill);
  // x 0, 10, ..., 80 at 99.99 device units each, truncated; y 10 throughout.
  std::string points = "   01000200030004000500059996999" "7999";
  for (int i = 0; i < 9; ++i) points += "1000";
  EXPECT_EQ(after(kOpenLines), (Lines{" 5 1", "10-1", " 7 2", "   9", points}));
  EXPECT_EQ(PLTPAR.pointCount, 9);
  EXPECT_EQ(PLTDEV.currentColour, -2);
}

TEST_F(Neutral, TextsAreWrittenEightyCodesARecord) {
  send(kOpOpen);
  at(kOpMove, 10, 10);
  text(std::string(80, 'a') + std::string(20, 'b'));
  EXPECT_EQ(after(kOpenLines), (Lines{" 5 1", " 0-1", " 2 1", "10001000", " 6 2", "**",
                                      std::string(80, 'a'), std::string(20, 'b')}));
  // Length 0 is one empty record; the offsets shift by the character cell (28 x 40).
  PLTPAR.textOffsetX = 0.5f;
  PLTPAR.textOffsetY = 0.25f;
  text("");
  EXPECT_EQ(after(kOpenLines + 8), (Lines{" 2 1", "24002000", " 6 2", " 0", ""}));
  // An inquiry writes nothing.
  PLTPAR.textCount = -3;
  send(kOpText);
  EXPECT_EQ(PLTCTB.textAnswer, kTextInquiryAnswer);
  EXPECT_EQ(after(kOpenLines + 13), Lines{});
}

TEST_F(Neutral, AttributesAreWrittenWhenTheyChange) {
  send(kOpOpen);
  const auto line = [](int32_t v) {
    PLTPAR.lineAttribute = v;
    PLTDSP(kOpLineAttribute);
  };
  const auto size = [](int32_t k) {
    PLTPAR.characterSize = k;
    PLTDSP(kOpCharacterSize);
  };
  line(2);
  line(2);
  line(0);  // a width: ignored
  line(-3);
  EXPECT_EQ(PLTDEV.lineAttribute, 2);
  size(2);
  size(2);
  EXPECT_EQ(PLTDEV.characterSizeBase, 2);
  EXPECT_FLOAT_EQ(PLTDEV.cellWidth, 60.0f / 99.99f);
  EXPECT_FLOAT_EQ(PLTDEV.cellHeight, 90.0f / 99.99f);
  // A size number outside the tables changes nothing, the number included.
  size(5);
  size(0);
  EXPECT_EQ(PLTDEV.characterSizeBase, 2);
  EXPECT_FLOAT_EQ(PLTDEV.cellHeight, 90.0f / 99.99f);
  PLTPAR.objectKind = 12;
  send(kOpObjectKind);
  send(kOpPolyline);  // not a neutral opcode
  EXPECT_EQ(after(kOpenLines), (Lines{" 4 1", " 2", "15 1", " 2", "10 1", "12"}));
}

TEST_F(Neutral, ASelectedTransformationMapsThePointsAndWritesThemBack) {
  send(kOpOpen);
  PLTDEV.selectedTransform = 2;
  PLTDEV.mapScale = 2.0f;
  PLTDEV.mapOriginX = 0.0f;
  PLTDEV.mapOriginY = 0.0f;
  PLTDEV.mapOffsetX = 10.0f;
  PLTDEV.mapOffsetY = 0.0f;
  at(kOpMove, 5, 5);
  at(kOpDraw, 10, 5);
  EXPECT_EQ(after(kOpenLines), (Lines{" 5 1", " 0-1", " 2 1", "20001000", " 3 1", "30001000"}));
  EXPECT_FLOAT_EQ(PLTPAR.pointX, 30.0f);
  EXPECT_FLOAT_EQ(PLTPAR.pointY, 10.0f);
}

// Drawing records before any opcode 1, with no plot unit connected, are refused by the
// unit layer: no file appears, and nothing reads outside the driver's state.
TEST_F(Neutral, RecordsBeforeTheFirstOpenWriteNothing) {
  FILCLS(kPlotFileType);
  std::filesystem::remove(dir.file("picture.plt"));
  PLTPAR.outUnit = 0;
  PLTPAR.pointCount = 3;
  at(kOpDraw, 1, 1);
  send(kOpFill);
  text("abc");
  send(kOpMarker);
  PLTPAR.outUnit = 77;
  at(kOpDraw, 2, 2);
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().extension(), "") << entry.path();
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("fort.77")));
}

// The golden picture: a frame of four draws in colour 1, a fill in shade 3 of table 1, a
// marker, a text with a half-cell offset, a dashed line, an object kind and the close.
// The file shows every record code the driver writes, each group as it is laid out.
TEST_F(Neutral, GoldenPicture) {
  commandLine("PLOT GOLDEN");
  send(kOpOpen);
  PLTPAR.objectKind = 2;
  send(kOpObjectKind);
  colour(1);
  at(kOpMove, 0, 0);
  at(kOpDraw, 100, 0);
  at(kOpDraw, 100, 80);
  at(kOpDraw, 0, 80);
  at(kOpDraw, 0, 0);
  PLTPAR.colour = -3;
  PLTPAR.pointCount = 3;
  PLTPAR.x = {10, 50, 30};
  PLTPAR.y = {10, 10, 40};
  send(kOpFill);
  PLTPAR.marker = 4;
  at(kOpMove, 50, 50);
  send(kOpMarker);
  PLTPAR.characterSize = 2;
  send(kOpCharacterSize);
  PLTPAR.textOffsetX = 0.5f;
  text("Neutral (picture)");
  PLTPAR.lineAttribute = 3;
  send(kOpLineAttribute);
  at(kOpMove, 60, 60);
  at(kOpDraw, 90, 70);
  send(kOpClose);

  const char* source = std::getenv("KVR_TEST_SOURCE");
  ASSERT_NE(source, nullptr) << "KVR_TEST_SOURCE names the tests folder";
  const std::string golden = std::string(source) + "/plot/neutral/picture.plt";
  EXPECT_EQ(plotLines(), test::readLines(golden));
}

}  // namespace
}  // namespace kvr
