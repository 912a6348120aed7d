// Whole PostScript documents: one kept as a golden file, and two read by a PostScript
// interpreter.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "psfixture.h"

namespace kvr {
namespace {

using namespace test;  // Lines and the opcodes of the fixture

class PsDocument : public PostScriptFixture {
 protected:
  // A document of two pages on the fixture's window (0..100 by 0..80): on each page an
  // object with a frame of lines, a fill, a dashed polyline, two texts (one in the small
  // size, one with parentheses and a backslash) and the eight markers in a row; the
  // command line as the title of both pages.
  void document(int32_t device) {
    commandLine("PLOT (DOCUMENT) C:\\TEMP");
    open(device);
    for (int page = 1; page <= 2; ++page) {
      PLTPAR.objectKind = 2;
      PLTDSP(kOpObjectKind);
      colour(page == 1 ? 1 : 3);
      at(kOpMove, 0, 0);
      at(kOpDraw, 100, 0);
      at(kOpDraw, 100, 80);
      at(kOpDraw, 0, 80);
      at(kOpDraw, 0, 0);
      PLTPAR.colourTable = 1;
      PLTDSP(kOpColourTable);
      points(kOpFill, {{10, 10}, {40, 10}, {40, 30}, {25, 40}, {10, 30}, {5, 20}, {8, 12}},
             -page * 5);
      PLTPAR.lineAttribute = 2;
      PLTDSP(kOpLineAttribute);
      colour(-20);
      points(kOpPolyline, {{50, 10}, {60, 30}, {70, 10}, {80, 30}});
      PLTPAR.lineAttribute = 1;
      PLTDSP(kOpLineAttribute);
      PLTPAR.objectKind = 12;
      PLTDSP(kOpObjectKind);
      colour(2);
      at(kOpMove, 10, 60);
      text("Page " + std::to_string(page) + ": f(x) = a\\b");
      PLTPAR.characterSize = 2;
      PLTDSP(kOpCharacterSize);
      at(kOpMove, 10, 50);
      text("small text");
      PLTPAR.characterSize = 1;
      PLTDSP(kOpCharacterSize);
      PLTPAR.lineAttribute = -1;
      PLTDSP(kOpLineAttribute);
      for (int32_t m = 1; m <= 8; ++m) {
        colour(m);
        at(kOpMove, 10.0f * static_cast<float>(m), 45);
        PLTPAR.marker = m;
        PLTDSP(kOpMarker);
      }
      PLTPAR.lineAttribute = 0;
      PLTDSP(kOpLineAttribute);
      if (page == 1) PLTDSP(kOpNewPage);
    }
    PLTDSP(kOpClose);
  }

  // Runs the interpreter on FILE; answers its exit status and its output in LOG.
  int interpret(const std::string& file, std::string& log) {
    const std::string out = dir.file("gs.log");
    const std::string command =
        "gs -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage " + file + " > " + out + " 2>&1";
    const int status = std::system(command.c_str());
    log = readFile(out);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

// The golden document: colour output on black paper (setting "Background" "BLACK"), the
// clock at 5 March 2024, release 1. Against the white-paper documents it shows the
// concatprocs procedure set, the transfer that turns the page black written once before
// the first object, basic colour 1 drawn white (no exchange of shades 1 and 8), and
// texts and titles in grey 1. The colours are the built-in palette's; the fills are shades
// 5 and 10 of table 1, the polyline shade 20.
TEST_F(PsDocument, GoldenColourDocumentOnBlack) {
  settings({{"Background", "BLACK"}});
  document(4);
  const char* source = std::getenv("KVR_TEST_SOURCE");
  ASSERT_NE(source, nullptr) << "KVR_TEST_SOURCE names the tests folder";
  EXPECT_EQ(plotLines(), readLines(std::string(source) + "/plot/postscript/colour-on-black.ps"));
}

// Both kinds of document read without an error: monochrome on white and colour on black.
TEST_F(PsDocument, AnInterpreterReadsTheDocuments) {
  if (std::system("command -v gs > /dev/null 2>&1") != 0) {
    GTEST_SKIP() << "no PostScript interpreter (gs) on this machine";
  }
  document(2);
  settings({{"Background", "BLACK"}});
  ASSERT_TRUE(openPlotFile("colour.ps"));
  document(4);
  for (const char* name : {"picture.ps", "colour.ps"}) {
    std::string log;
    EXPECT_EQ(interpret(dir.file(name), log), 0) << name << "\n" << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << name << "\n" << log;
  }
}

}  // namespace
}  // namespace kvr
