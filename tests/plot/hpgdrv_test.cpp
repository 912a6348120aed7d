// The HP-GL pen-plotter driver through the dispatcher (device 7): the job start and its
// three variables, pens, line types, sizes, markers, coordinates and labels, pages and
// the close, and records sent before any job. Every HP-GL file a test writes is read by
// an HP-GL reader (hp2xx) when the test ends.
#include "plot/hpgl/hpgdrv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "hg2fixture.h"
#include "plot/hpgl/hg2buf.h"
#include "plot/pltdrv.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "runtime/pltcap.h"
#include "runtime/pltctb.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"

namespace kvr {
namespace {

using test::kEscS;

constexpr int32_t kPenPlotter = 7;
const std::string kInit = kEscS + ".I127;;17:" + kEscS + ".N;19:" + "IN;SP1;SC 0,9999,0,7200;PA;";
const std::string kNormalSize = "SI0.1500,0.2160;";
const std::string kLabelEnd = "\x03";

bool hasReader() { return std::system("command -v hp2xx >/dev/null 2>&1") == 0; }

// Runs COMMAND through the shell; answers its exit status and what it printed.
std::pair<int, std::string> run(const std::string& command, const std::string& log) {
  const int status = std::system((command + " >" + log + " 2>&1 </dev/null").c_str());
  return {status, test::readFile(log)};
}

// The job without the escape sequences of the plotter's handshake and Y-cable, which draw
// nothing and are not HP-GL commands.
std::string withoutEscapes(std::string bytes) {
  for (const std::string& escape :
       {kEscS + ".I127;;17:", kEscS + ".N;19:", kEscS + ".Y", kEscS + ".Z"}) {
    for (size_t at = bytes.find(escape); at != std::string::npos; at = bytes.find(escape, at)) {
      bytes.erase(at, escape.size());
    }
  }
  return bytes;
}

// Every count the reader printed after LABEL (one a page) is 0.
void expectNoneReported(const std::string& log, const std::string& label) {
  const std::regex count(label + " *([0-9]+)");
  size_t pages = 0;
  for (auto it = std::sregex_iterator(log.begin(), log.end(), count); it != std::sregex_iterator();
       ++it, ++pages) {
    EXPECT_EQ((*it)[1], "0") << log;
  }
  EXPECT_GT(pages, 0U) << log;
}

class PenPlotter : public test::Hg2Fixture {
 protected:
  void SetUp() override {
    Hg2Fixture::SetUp();
    HPGSTA = {};
    // Picture window 0..9999 by 0..7200 and no character height before: page scale 1,
    // device x = x + 0.5, device y = y.
    PLTDEV.window = {0.0f, 9999.0f, 0.0f, 7200.0f};
    PLTDEV.cellHeight = 0.0f;
    for (const char* name : {"TL_NUMPENS", "TL_YCABLE", "TL_TRANSP"}) unsetenv(name);
    useDriver(kPenPlotter, HPGDRV);
  }

  void TearDown() override {
    if (started_) {
      if (HPGSTA.open) PLTDSP(kOpClose);
      FILCLS(kPlotFileType);
      readerCheck();
    }
    HPGSTA = {};
    Hg2Fixture::TearDown();
  }

  // Opens the plot file and enters the graphics mode, which sends opcode 1.
  void begin() {
    ASSERT_TRUE(openPlotFile(name()));
    started_ = true;
    PLTGRA();
  }

  // Closes the job and its file, has it read, and starts the next job in a new file.
  void nextJob() {
    if (HPGSTA.open) PLTDSP(kOpClose);
    FILCLS(kPlotFileType);
    readerCheck();
    ++job_;
    begin();
  }

  // The records of the job so far, and what the buffer holds as the last.
  std::vector<std::string> records() {
    std::vector<std::string> r = plotLines();
    if (!HG2BUF.text.empty()) r.push_back(HG2BUF.text);
    return r;
  }

  // A line across the page, so that the reader has a picture of some size.
  std::string sketch() {
    moveTo(99.5f, 100);
    return drawTo(999.5f, 1000);
  }
  std::string drawTo(float x, float y) {
    PLTPAR.pointX = x;
    PLTPAR.pointY = y;
    return send(15);
  }

 private:
  std::string name() const { return "job" + std::to_string(job_) + ".hgl"; }

  // The reader takes the job (its escape sequences cut), ends normally with a picture,
  // and reports no command ignored and no unexpected event on any page.
  void readerCheck() {
    const std::string file = dir.file(name());
    if (!std::filesystem::exists(file) || !hasReader()) return;
    SCOPED_TRACE(name());
    const std::string input = dir.file("reader.hgl");
    test::writeFile(input, withoutEscapes(test::readFile(file)));
    const std::string output = dir.file("reader.png");
    std::filesystem::remove(output);
    const auto [status, log] = run("hp2xx -m png -f " + output + " " + input, dir.file("reader.log"));
    EXPECT_EQ(status, 0) << log;
    ASSERT_TRUE(std::filesystem::exists(output)) << log;
    EXPECT_GT(std::filesystem::file_size(output), 0U) << log;
    expectNoneReported(log, "HPGL command\\(s\\) ignored:");
    expectNoneReported(log, "Unexpected event\\(s\\):");
  }

  bool started_ = false;
  int job_ = 1;
  test::SavedEnv savedEnv_{{"TL_NUMPENS", "TL_YCABLE", "TL_TRANSP"}};
};

// ---- the job start and the close

TEST_F(PenPlotter, AJobWithATitleIsOneRecordOfEightyCharacters) {
  commandLine("ABC");
  begin();
  PLTDSP(kOpClose);
  const std::vector<std::string> got = records();
  ASSERT_EQ(got.size(), 1U);
  EXPECT_EQ(got[0], kInit + kNormalSize + "PU4831,81;LBABC" + kLabelEnd + "SP0");
  EXPECT_EQ(got[0].size(), 80U);
}

TEST_F(PenPlotter, OpenTakesTheDeviceAndCloseGivesItBack) {
  PLTCAP.words = {1, 9, 1, 3, 1, 2, 6, 0, 1, 0, 0, 7, 0, 0, 4, 0, 0, 0};
  PLTDEV.colourCount = 12;
  PLTDEV.colourCount2 = 11;
  PLTDEV.currentColour = 4;
  PLTDEV.colourTableCount = 2;
  PLTDEV.lineAttribute = 3;
  PLTDEV.cellWidth = 7.0f;
  const auto words = PLTCAP.words;
  begin();
  EXPECT_EQ(PLTCAP.deviceName().trimmed(), "HPGL");
  EXPECT_EQ(PLTCAP.words, (DeviceWords{2, 1, 0, 3, 1, 2, 6, 0, 0, 0, 0, 7, 0, 0, 4, 0, 0, 0}));
  EXPECT_EQ(PLTDEV.colourCount, 5);
  EXPECT_EQ(PLTDEV.colourCount2, 5);
  EXPECT_EQ(PLTDEV.currentColour, 0);
  EXPECT_EQ(PLTDEV.colourTableCount, 0);
  EXPECT_EQ(PLTDEV.lineAttribute, 0);
  EXPECT_EQ(PLTDEV.characterSizeBase, 1);
  EXPECT_EQ(PLTPAR.markerScale, 1.0f);
  EXPECT_FLOAT_EQ(PLXFRM.pageScale, 1.0f);
  EXPECT_FLOAT_EQ(PLXFRM.pageOriginX, 4999.5f);
  EXPECT_FLOAT_EQ(PLXFRM.pageOriginY, 3600.0f);
  EXPECT_FLOAT_EQ(PLTDEV.cellWidth, 112.5f);
  EXPECT_FLOAT_EQ(PLTDEV.cellHeight, 162.0f);

  // Opcode 35 sets the table and leaves the pen counts.
  PLTPAR.colourTable = 3;
  EXPECT_EQ(send(kOpColourTable), "");
  EXPECT_EQ(PLTDEV.colourTableCount, 3);
  EXPECT_EQ(PLTDEV.colourCount, 5);

  sketch();
  PLTDSP(kOpClose);
  EXPECT_EQ(PLTCAP.words, words);
  EXPECT_EQ(PLTDEV.colourCount, 12);
  EXPECT_EQ(PLTDEV.colourCount2, 11);
  EXPECT_EQ(PLTDEV.currentColour, 0);
  EXPECT_EQ(PLTDEV.colourTableCount, 0);
  EXPECT_EQ(PLTDEV.lineAttribute, 0);
  EXPECT_EQ(PLTDEV.cellWidth, 7.0f);
  EXPECT_EQ(PLTDEV.cellHeight, 0.0f);
}

TEST_F(PenPlotter, TransparencyAndTheYCableComeFromTheEnvironment) {
  struct Case {
    const char* transparency;  // TL_TRANSP, or none
    bool vs10;
  };
  for (const Case& c : {Case{"TRUE", true}, Case{"t", true}, Case{"FALSE", false},
                        Case{" TRUE", false}, Case{nullptr, false}}) {
    SCOPED_TRACE(c.transparency ? c.transparency : "unset");
    if (c.transparency) {
      setenv("TL_TRANSP", c.transparency, 1);
    } else {
      unsetenv("TL_TRANSP");
    }
    nextJob();
    EXPECT_EQ(records()[0], kInit + kNormalSize + (c.vs10 ? "VS10;" : ""));
    sketch();
  }
  unsetenv("TL_TRANSP");

  for (const char* ycable : {"TRUE", "true"}) {
    SCOPED_TRACE(ycable);
    setenv("TL_YCABLE", ycable, 1);
    nextJob();
    sketch();
    PLTDSP(kOpClose);
    const std::vector<std::string> got = records();
    EXPECT_EQ(got, (std::vector<std::string>{kEscS + ".Y" + kInit + kNormalSize + "PU100,100;",
                                             "PD1000,1000;SP0", kEscS + ".Z"}));
  }
  setenv("TL_YCABLE", "FALSE", 1);
  nextJob();
  sketch();
  PLTDSP(kOpClose);
  EXPECT_EQ(records(), (std::vector<std::string>{kInit + kNormalSize + "PU100,100;", "PD1000,1000;SP0"}));
}

TEST_F(PenPlotter, ANewPageRepeatsTheTitleAtItsPoint) {
  commandLine("  ABC  ");
  begin();
  sketch();
  EXPECT_EQ(send(8), "PG;PU4831,81;LBABC" + kLabelEnd);
  sketch();
  EXPECT_EQ(send(8), "PG;PU4831,81;LBABC" + kLabelEnd);
  sketch();

  // A blank command line has no title: only "PG;".
  for (const std::string& blank : {std::string(""), std::string("   "), std::string("\t")}) {
    commandLine(blank);
    nextJob();
    EXPECT_EQ(records()[0], kInit + kNormalSize);
    sketch();
    EXPECT_EQ(send(8), "PG;");
    sketch();
  }
}

TEST_F(PenPlotter, TheTitleIsCentredHalfACharacterAboveTheBottom) {
  // Page scale 0.5: the cell is 225 by 324 picture units, 112.5 by 162 device units, so
  // x = 5000 - 10 x 112.5 x 0.5 and y = 0.5 x 162. The label does not fit the record.
  PLTDEV.window = {0.0f, 19998.0f, 0.0f, 14400.0f};
  commandLine("PLOT TITLE");
  begin();
  EXPECT_FLOAT_EQ(PLXFRM.pageScale, 0.5f);
  EXPECT_EQ(records(), (std::vector<std::string>{kInit + kNormalSize + "PU4437,81;",
                                                 "LBPLOT TITLE" + kLabelEnd}));
  EXPECT_FLOAT_EQ(HPGSTA.titleX, 4437.5f);
  EXPECT_FLOAT_EQ(HPGSTA.titleY, 81.0f);
  sketch();
}

// ---- pens and line types

TEST_F(PenPlotter, PensFollowTheColourWithinTheNumberOfPens) {
  begin();
  EXPECT_EQ(colour(9), "PUSP6;");
  EXPECT_EQ(colour(9), "");   // the same pen
  EXPECT_EQ(colour(6), "");
  EXPECT_EQ(colour(-1), "PUSP5;");
  EXPECT_EQ(colour(-7), "PUSP1;");
  EXPECT_EQ(colour(-6), "");  // 0 pens down from the last: pen 1 as well
  EXPECT_EQ(colour(0), "");   // no pen
  EXPECT_EQ(PLTDEV.currentColour, 0);
  EXPECT_EQ(colour(2), "PUSP2;");
  EXPECT_EQ(colour(std::numeric_limits<int32_t>::min()), "PUSP1;");
  EXPECT_EQ(colour(std::numeric_limits<int32_t>::max()), "PUSP6;");
  sketch();
}

TEST_F(PenPlotter, TheNumberOfPensIsOneDigit) {
  struct Case {
    const char* value;
    int32_t pens;
  };
  const std::vector<Case> cases = {
      {"8", 8}, {"9", 9}, {"1", 1}, {"3 pens", 3},  // the characters before the first blank
      {"12", 6}, {"0", 6}, {"x", 6}, {"-3", 6}, {" 8", 6}, {"", 6},
      {"99999999999999999999999", 6},  // read with saturation
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    setenv("TL_NUMPENS", c.value, 1);
    nextJob();
    EXPECT_EQ(PLTDEV.colourCount, c.pens - 1);
    EXPECT_EQ(PLTDEV.colourCount2, c.pens - 1);
    // The reader knows 8 pens: pen 9 is shown by the counts, and by the shade below it.
    if (c.pens < 9) {
      EXPECT_EQ(colour(9), "PUSP" + std::to_string(c.pens) + ";");
    }
    EXPECT_EQ(colour(-1), c.pens == 1 ? "" : "PUSP" + std::to_string(c.pens - 1) + ";");
    sketch();
  }
  unsetenv("TL_NUMPENS");
}

TEST_F(PenPlotter, LineTypesFromTheAttributeBeforeTheRecord) {
  begin();
  EXPECT_EQ(line(2), "LT2,3,1;");
  EXPECT_EQ(line(2), "");
  EXPECT_EQ(line(-1), "");  // widths mean nothing to a pen plotter
  EXPECT_EQ(line(0), "");
  EXPECT_EQ(PLTDEV.lineAttribute, 2);
  EXPECT_EQ(line(3), "LT3,3,1;");
  EXPECT_EQ(line(1), "LT,;");
  EXPECT_EQ(line(4), "LT,;");
  EXPECT_EQ(line(1), "LT,;");
  sketch();
}

// ---- sizes, markers, coordinates and labels

TEST_F(PenPlotter, CharacterSizesAreAbsolute) {
  begin();
  struct Case {
    int32_t sizeClass;
    std::string command;
    float width;
    float height;
  };
  for (const Case& c : {Case{2, "SI0.1000,0.1420;", 75, 106.5f}, Case{3, kNormalSize, 112.5f, 162},
                        Case{4, "SI0.1000,0.1420;", 75, 106.5f}, Case{1, kNormalSize, 112.5f, 162},
                        Case{-3, "SI0.1000,0.1420;", 75, 106.5f}, Case{5, "SI0.1000,0.1420;", 75, 106.5f}}) {
    SCOPED_TRACE(c.sizeClass);
    EXPECT_EQ(size(c.sizeClass), c.command);
    EXPECT_FLOAT_EQ(PLTDEV.cellWidth, c.width);
    EXPECT_FLOAT_EQ(PLTDEV.cellHeight, c.height);
    EXPECT_EQ(PLTDEV.characterSizeBase, c.sizeClass);
  }
  sketch();
}

TEST_F(PenPlotter, MarkersAreCoordinateListsInTheSolidLineType) {
  begin();
  line(2);
  moveTo(4999.5f, 3600);
  // Half size: 162 / 3 = 54 device units.
  EXPECT_EQ(marker(1), "LT,;PU4946,3600;PD5054,3600;PU5000,3546;PD5000,3654;");
  EXPECT_EQ(PLTDEV.lineAttribute, 1);
  EXPECT_EQ(marker(8), "LT,;PU4946,3600;PD5054,3600;");
  PLTPAR.markerScale = 2.0f;
  PLTPAR.colour = 3;
  EXPECT_EQ(marker(3), "LT,;PU4892,3708;PD5108,3492;PU4892,3492;PD5108,3708;");
  EXPECT_EQ(PLTDEV.currentColour, 3);
}

TEST_F(PenPlotter, CoordinatesLabelsAndPolylines) {
  begin();
  // A point off the page is written whole.
  EXPECT_EQ(drawTo(11999.5f, 100), "PD12000,100;");
  EXPECT_EQ(PLTPAR.pointX, 12000.0f);  // a draw puts the device point back
  EXPECT_EQ(moveTo(-1500.5f, 100), "PU-1500,100;");
  EXPECT_EQ(moveTo(-1500.5f, 100), "");
  points({});
  EXPECT_EQ(send(29), "");
  points({{99.5f, 100}, {199.5f, 100}, {199.5f, 200}});
  EXPECT_EQ(send(29), "PU100,100;PD200,100;PD200,200;");

  // Labels at the current position moved by the text offsets, cut to 80 characters.
  moveTo(999.5f, 1000);
  PLTPAR.textOffsetX = 1.0f;
  PLTPAR.textOffsetY = -0.5f;
  EXPECT_EQ(label("A(B)"), "PU1112,919;LBA(B)" + kLabelEnd);
  PLTPAR.textOffsetX = 0.0f;
  PLTPAR.textOffsetY = 0.0f;
  const std::string hundred = std::string(60, 'L') + std::string(40, 'M');
  EXPECT_EQ(label(hundred), "PU1000,1000;LB" + hundred.substr(0, 80) + kLabelEnd);
  EXPECT_EQ(label(""), "PU1000,1000;LB" + kLabelEnd);
  PLTPAR.textCount = -4;
  EXPECT_EQ(send(kOpText), "");
  EXPECT_EQ(PLTCTB.textAnswer, -99);
  sketch();
}

TEST_F(PenPlotter, FillsAndOpcodesOutsideTheListWriteNothing) {
  begin();
  moveTo(999.5f, 1000);
  points({{0, 0}, {100, 0}, {100, 100}});
  PLTPAR.colour = 3;
  EXPECT_EQ(send(16), "");
  EXPECT_EQ(PLTDEV.currentColour, 0);
  for (int32_t op : {0, -1, 3, 4, 5, 6, 7, 9, 13, 17, 20, 21, 22, 23, 24, 26, 27, 28, 30, 32, 34, 36,
                     37, 48, 1000}) {
    SCOPED_TRACE(op);
    EXPECT_EQ(send(op), "");
  }
  PLTPAR.objectKind = 4;
  EXPECT_EQ(send(kOpObjectKind), "");
  EXPECT_EQ(PLTDEV.objectKind, 4);
  sketch();
}

TEST_F(PenPlotter, ADegeneratePictureWindowMapsWithExtentOne) {
  PLTDEV.window = {5.0f, 5.0f, 0.0f, 7200.0f};
  begin();
  EXPECT_FLOAT_EQ(PLXFRM.pageScale, 1.0f);  // 9999 / 1 against 7200 / 7200
  EXPECT_EQ(drawTo(5, 100), "PD5000,100;");
  sketch();
  PLTDEV.window = {5.0f, 5.0f, 3.0f, 3.0f};
  nextJob();
  EXPECT_FLOAT_EQ(PLXFRM.pageScale, 7200.0f);
  EXPECT_TRUE(std::isfinite(PLTDEV.cellHeight));
  EXPECT_EQ(drawTo(5, 3), "PD5000,3600;");
  EXPECT_EQ(drawTo(4.5f, 3.125f), "PD1400,4500;");
}

// ---- before any job

TEST_F(PenPlotter, RecordsBeforeTheFirstJobReachNoFile) {
  const auto words = PLTCAP.words;
  for (int32_t op : {10, 11, 12, 14, 15, 16, 18, 19, 29, 8, 2}) {
    PLTPAR.colour = 3;
    PLTPAR.pointCount = 3;
    PLTPAR.textCount = 4;
    PLTPAR.characterSize = 2;
    PLTPAR.lineAttribute = 2;
    PLTDSP(op);
  }
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_TRUE(entry.is_directory()) << entry.path();  // only the fixture's home
  }
  EXPECT_EQ(HG2BUF.unit, 0);
  EXPECT_TRUE(std::isfinite(PLTDEV.cellWidth));
  EXPECT_EQ(PLTCAP.words, words);  // no close without a job
}

}  // namespace
}  // namespace kvr
