// The HP-GL/2 driver through the dispatcher (device 8): the job start and its options,
// pens and fills, coordinates, markers, labels and the title, pages and the close, and
// records sent before any job.
#include "plot/hpgl/hg2drv.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "hg2fixture.h"
#include "platform/unitio.h"
#include "plot/hpgl/hg2buf.h"
#include "plot/plrgb.h"
#include "plot/plxfrm.h"
#include "runtime/chrset.h"
#include "runtime/pltcap.h"
#include "runtime/pltctb.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"

namespace kvr {
namespace {

using test::kEscS;

const std::string kRecord1 = kEscS + "&l1O" + kEscS + "%-1B;" + kEscS + ".I127;;17:" + kEscS +
                             ".N;19:" + "IN;NP256;PW0;SP1;SC 0,9999,0,7070,1;PA;TR0;";

size_t occurrences(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class Hg2Driver : public test::Hg2Fixture {
 protected:
  // A fill (16) in colour C of the points P.
  std::string fill(int32_t c, const std::vector<std::pair<float, float>>& p) {
    PLTPAR.colour = c;
    points(p);
    return send(16);
  }
  std::string table(int32_t t) {
    PLTPAR.colourTable = t;
    return send(kOpColourTable);
  }
};

// ---- the job start

// The golden file is the whole default job, opcode 1 then opcode 2: the initialisation
// record, "IR" with the default page layout and the first three of the 190 "PC" commands
// of the built-in palette, four "PC" commands a record, and a last record with the three
// last ones, the normal pen width and the page end.
TEST_F(Hg2Driver, DefaultJobMatchesTheGoldenFile) {
  start();
  PLTDSP(kOpClose);
  const std::vector<std::string> got = plotLines();
  ASSERT_EQ(got.size(), 49U);
  EXPECT_EQ(got[0], kRecord1);
  EXPECT_EQ(got[0].size(), 72U);
  EXPECT_EQ(got[1], "IR5,5,90,90;PC064,255,255,255;PC065,210,000,000;PC066,255,178,000;");
  for (size_t r = 2; r < 48; ++r) {
    EXPECT_EQ(got[r].size(), 72U) << r + 1;
    EXPECT_EQ(occurrences(got[r], "PC"), 4U) << r + 1;
  }
  EXPECT_EQ(got[48], "PC251,255,090,255;PC252,255,100,255;PC253,255,110,255;PW0.00;SP0;" +
                         kEscS + "E");
  const std::string all = commands();
  EXPECT_EQ(occurrences(all, "PC"), 190U);
  EXPECT_EQ(all.find("VS10;"), std::string::npos);
  EXPECT_EQ(all.find("SR"), std::string::npos);

  const char* source = std::getenv("KVR_TEST_SOURCE");
  ASSERT_NE(source, nullptr) << "KVR_TEST_SOURCE names the tests folder";
  const std::string golden = std::string(source) + "/plot/golden/hg2default.hgl";
  if (const char* update = std::getenv("KVR_UPDATE_GOLDEN"); update && std::string(update) == "1") {
    std::ofstream out(golden, std::ios::binary);
    for (const std::string& record : got) out << record << '\n';
  }
  EXPECT_EQ(test::readLines(golden), got);
}

// A colour map of 200 lines raises the highest colour index past the 190 entries it
// fills: the entries it leaves empty are written as black, never as asterisks.
TEST_F(Hg2Driver, EmptyPaletteEntriesAreWrittenBlack) {
  CHRSET();  // the map reader's lexer
  settings({"Colourmap: map.txt"});
  std::string map;
  for (int32_t k = 0; k < 200; ++k) map += "U S C P  1 1.0 0.0 0.0\n";
  test::writeFile(dir.file("map.txt"), map);
  start();
  PLTDSP(kOpClose);
  const std::string all = commands();
  EXPECT_EQ(occurrences(all, "PC"), 200U);
  EXPECT_EQ(all.find('*'), std::string::npos);
  for (int32_t pen = 254; pen <= 263; ++pen) {
    EXPECT_NE(all.find("PC" + std::to_string(pen) + ",000,000,000;"), std::string::npos) << pen;
  }
}

TEST_F(Hg2Driver, OptionsFromSettingsVariablesAndTheCommandLine) {
  const std::string autoRecord1 = kEscS + "&l1O" + kEscS + ".I127;;17:" + kEscS + ".N;19:" +
                                  "IN;NP256;PW0;SP1;SC 0,9999,0,7070,1;PA;TR0;IR5,5,90,90;";
  const std::string portrait1 = kEscS + "&l0O" + kEscS + "%-1B;" + kEscS + ".I127";
  const std::string landscape1 = kEscS + "&l1O" + kEscS + "%-1B;" + kEscS + ".I127";
  struct Case {
    const char* name;
    std::vector<std::string> settings;
    std::vector<std::pair<const char*, const char*>> variables;
    std::vector<std::string> args;
    std::string record1;   // exact, or its beginning when it ends in ".I127"
    std::string contains;  // in the commands of the job start
    std::string absent;
  };
  const std::vector<Case> cases = {
      {"TL_GLLAND FALSE", {}, {{"TL_GLLAND", "FALSE"}}, {}, portrait1, "", ""},
      {"TL_GLLAND f", {}, {{"TL_GLLAND", "f"}}, {}, portrait1, "", ""},
      {"TL_GLLAND TRUE", {}, {{"TL_GLLAND", "TRUE"}}, {}, landscape1, "", ""},
      {"Orientation Portrait", {"Orientation: Portrait"}, {}, {}, portrait1, "", ""},
      {"Orientation over TL_GLLAND", {"Orientation: PORTRAIT"}, {{"TL_GLLAND", "T"}}, {},
       portrait1, "", ""},
      {"Orientation upright", {"Orientation: upright"}, {{"TL_GLLAND", "FALSE"}}, {}, landscape1,
       "", ""},
      {"Orientation on the command line", {}, {}, {"prog", "-Orientation", "Portrait"},
       portrait1, "", ""},
      {"AutoSwitch TRUE", {"AutoSwitch: TRUE"}, {}, {}, autoRecord1, "", ""},
      {"TL_GL2_AUTO t", {}, {{"TL_GL2_AUTO", "t"}}, {}, autoRecord1, "", ""},
      {"bare -AutoSwitch", {}, {}, {"prog", "-AutoSwitch"}, autoRecord1, "", ""},
      {"AutoSwitch FALSE over TL_GL2_AUTO", {"AutoSwitch: FALSE"}, {{"TL_GL2_AUTO", "T"}}, {},
       kRecord1, "", ""},
      {"PageLayout", {"PageLayout: 10,10,80,80"}, {}, {}, kRecord1, "IR10,10,80,80; PC064,", ""},
      {"TL_GLSCALE", {}, {{"TL_GLSCALE", "10,10,80,80 rest"}}, {}, kRecord1,
       "IR10,10,80,80; PC064,", ""},
      {"TL_GLSCALE beginning with a blank", {}, {{"TL_GLSCALE", " 10,10"}}, {}, kRecord1,
       "IR5,5,90,90;PC064,", ""},
      {"Acetate TRUE", {"Acetate: TRUE"}, {}, {}, kRecord1, "PW0.00;VS10;", ""},
      {"TL_TRANSP T", {}, {{"TL_TRANSP", "T"}}, {}, kRecord1, "PW0.00;VS10;", ""},
      {"Acetate FALSE over TL_TRANSP", {"Acetate: FALSE"}, {{"TL_TRANSP", "T"}}, {}, kRecord1,
       "", "VS10;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    settings(c.settings);
    for (const auto& [name, value] : c.variables) setenv(name, value, 1);
    setArguments(c.args.empty() ? std::vector<std::string>{"prog"} : c.args);
    HG2BUF = {};
    start();
    const std::vector<std::string> got = plotLines();
    ASSERT_FALSE(got.empty());
    if (c.record1.ends_with(".I127")) {
      EXPECT_TRUE(got[0].starts_with(c.record1)) << got[0];
    } else {
      EXPECT_EQ(got[0], c.record1);
    }
    if (!c.contains.empty()) {
      EXPECT_NE(commands().find(c.contains), std::string::npos);
    }
    if (!c.absent.empty()) {
      EXPECT_EQ(commands().find(c.absent), std::string::npos);
    }
    endJob();
    for (const auto& [name, value] : c.variables) unsetenv(name);
  }
}

TEST_F(Hg2Driver, DebugLinesGoToUnitSix) {
  for (const bool fromVariable : {false, true}) {
    SCOPED_TRACE(fromVariable ? "TL_DEBUG" : "Debug");
    const std::string out = dir.file("debug.out");
    const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    io::redirectStandardUnit(io::kStdoutUnit, fd);
    ::close(fd);
    if (fromVariable) {
      settings({"Acetate: TRUE"});
      setenv("TL_DEBUG", "true", 1);
    } else {
      settings({"Debug: TRUE", "Acetate: TRUE"});
    }
    start();
    endJob();
    io::unitFlush(io::kStdoutUnit);
    io::redirectStandardUnit(io::kStdoutUnit, -1);
    unsetenv("TL_DEBUG");

    const std::vector<std::string> lines = test::readLines(out);
    ASSERT_GE(lines.size(), 5U);
    EXPECT_EQ(lines[0].find_first_not_of(' '), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("KAVRO HPGL/2 Driver:  Driver Version 18"), std::string::npos);
    EXPECT_EQ(lines[2].find_first_not_of(' '), std::string::npos) << lines[2];
    EXPECT_NE(lines[3].find(" Landscape Orientation"), std::string::npos) << lines[3];
    EXPECT_NE(lines[4].find(" Forcing switch to HPGL/2"), std::string::npos) << lines[4];
    std::string all;
    for (const std::string& l : lines) all += l + "\n";
    for (const char* want : {" PageLayout : IR5,5,90,90;", " FontSizeScale      : ",
                             " Thick Line Width    : ", " Assuming COLOUR output device",
                             " Transparency mode ON"}) {
      EXPECT_NE(all.find(want), std::string::npos) << want;
    }
  }
}

TEST_F(Hg2Driver, OpenTakesTheDeviceAndTheColourTables) {
  PLTDEV.colourCount = 31;
  start();
  EXPECT_EQ(PLTCAP.deviceName().trimmed(), "HPGL2");
  EXPECT_EQ(PLTCAP.words, (std::array<int32_t, 18>{2, 9, 1, 3, 1, 2, 6, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0}));
  EXPECT_EQ(PLTDEV.colourCount, 12);
  EXPECT_EQ(PLTDEV.colourCount2, 12);
  EXPECT_EQ(PLTPAR.colourTable, 1);
  EXPECT_EQ(PLTPAR.markerScale, 1.0f);
  for (int32_t row = 1; row <= 3; ++row) {
    EXPECT_EQ(PLTCTB.shade(kBasicColourTable, row, 1), 8);
    EXPECT_EQ(PLTCTB.shade(kBasicColourTable, row, 8), 1);
  }
  // The fixture's frame: 0..100 by 0..80 raised by 2 x 9.
  EXPECT_FLOAT_EQ(PLXFRM.pageScale, 7070.0f / 98.0f);
  EXPECT_FLOAT_EQ(PLXFRM.pageOriginY, 49.0f);
  EXPECT_EQ(HG2BUF.unit, plotUnit());
}

TEST_F(Hg2Driver, ADegeneratePictureWindowMapsWithExtentOne) {
  PLTDEV.window = {5.0f, 5.0f, 3.0f, 3.0f};
  PLTDEV.cellHeight = 0.0f;
  start();
  EXPECT_FLOAT_EQ(PLXFRM.pageScale, 7070.0f);
  EXPECT_EQ(moveTo(5.0f, 3.0f), "PU5000,3600;");
}

// ---- pens and fills

TEST_F(Hg2Driver, PensChangeOnlyWithTheColour) {
  start();
  EXPECT_EQ(colour(2), "PUSP065;");
  EXPECT_EQ(colour(2), "");
  EXPECT_EQ(colour(8), "PUSP064;");  // basic colours 1 and 8 trade entries
  EXPECT_EQ(colour(0), "");           // 0 is basic colour 8: the same pen
  EXPECT_EQ(colour(1), "PUSP071;");
  table(1);
  EXPECT_EQ(colour(-1), "PUSP076;");  // shade 1 of table 1
  EXPECT_EQ(PLTDEV.currentColour, -1);
}

TEST_F(Hg2Driver, MonochromeChoosesFillShading) {
  struct Case {
    const char* name;
    int32_t colourSwitch;
    const char* monoVariable;
    std::vector<std::string> settings;
    bool shaded;
  };
  const std::vector<Case> cases = {
      {"HPGL2 Colour", -1, nullptr, {}, false},
      {"HPGL2 Mono", 0, nullptr, {}, true},
      {"TL_GLMONO", -1, "T", {}, true},
      {"Colour over HPGL2 Mono", 0, nullptr, {"Colour: TRUE"}, false},
      {"Colour over TL_GLMONO", -1, "t", {"Colour: true"}, false},
      {"Monochrome after Colour", -1, nullptr, {"Colour: TRUE", "Monochrome: TRUE"}, true},
      {"Colour FALSE leaves HPGL2 Mono", 0, nullptr, {"Colour: FALSE"}, true},
  };
  const std::vector<std::pair<float, float>> triangle = {{10, 10}, {20, 10}, {20, 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PLTOPT.word(kOptHpgl2Colour) = c.colourSwitch;
    if (c.monoVariable) setenv("TL_GLMONO", c.monoVariable, 1);
    settings(c.settings);
    HG2BUF = {};
    HG2STA = {};
    start();
    const std::string first = fill(8, triangle);
    const std::string second = fill(8, triangle);
    EXPECT_EQ(occurrences(first + second, "FT10,000;"), c.shaded ? 1U : 0U) << first << second;
    endJob();
    unsetenv("TL_GLMONO");
  }
}

TEST_F(Hg2Driver, ShadingLevelsFollowTheColourCount) {
  PLTOPT.word(kOptHpgl2Colour) = 0;
  start();
  const std::vector<std::pair<float, float>> triangle = {{10, 10}, {20, 10}, {20, 20}};
  EXPECT_NE(fill(3, triangle).find("FT10,075;"), std::string::npos);
  EXPECT_NE(fill(20, triangle).find("FT10,000;"), std::string::npos);  // held to 0
  EXPECT_NE(fill(-3, triangle).find("FT10,075;"), std::string::npos);  // |c|
  table(0);  // no colours: no level to compute
  EXPECT_EQ(PLTDEV.colourCount, 0);
  EXPECT_EQ(fill(5, triangle).find("FT"), std::string::npos);
}

TEST_F(Hg2Driver, AFillSelectsItsPenAndGivesThePreviousBack) {
  PLTOPT.word(kOptHpgl2Colour) = 0;
  unitFrame();
  start();
  // Before any pen: none to give back.
  EXPECT_EQ(fill(2, {{99.5f, 35}, {199.5f, 35}, {199.5f, 135}}),
            "PUSP065;FT10,083;PU100,100;PM;PD200,100;PD200,200;PD100,100;PM2;FP;");
  EXPECT_EQ(PLTPAR.x[1], 200.0f);  // the device points replace the operands
  EXPECT_EQ(PLTPAR.y[2], 200.0f);
  colour(8);
  colour(2);
  EXPECT_EQ(fill(3, {{999.5f, 935}, {1999.5f, 935}, {1999.5f, 1935}}),
            "PUSP066;FT10,075;PU1000,1000;PM;PD2000,1000;PD2000,2000;PD1000,1000;PM2;FP;"
            "PUSP065;");
  EXPECT_EQ(fill(3, {{999.5f, 935}}), "");
  EXPECT_EQ(fill(3, {}), "");
}

// ---- coordinates, line attributes, sizes and markers on a page of scale 1

class Hg2Frame : public Hg2Driver {
 protected:
  void SetUp() override {
    Hg2Driver::SetUp();
    unitFrame();
    start();
    ASSERT_FLOAT_EQ(PLXFRM.pageScale, 1.0f);
  }
};

TEST_F(Hg2Frame, ARepeatedMoveIsWrittenOnceUnlessALabelComesBetween) {
  EXPECT_EQ(moveTo(4999.5f, 3535.0f), "PU5000,3600;");
  EXPECT_EQ(moveTo(4999.5f, 3535.0f), "");
  EXPECT_EQ(label("A"), "LBA\x03");
  EXPECT_EQ(moveTo(4999.5f, 3535.0f), "PU5000,3600;");
  EXPECT_EQ(moveTo(12344.5f, 3535.0f), "PU12345,3600;");  // off the page: whole
}

TEST_F(Hg2Frame, DrawsAndPolylines) {
  PLTPAR.pointX = 999.5f;
  PLTPAR.pointY = 935.0f;
  EXPECT_EQ(send(15), "PD1000,1000;");
  EXPECT_EQ(PLTPAR.pointX, 1000.0f);  // a draw puts the device point back
  EXPECT_EQ(PLTPAR.pointY, 1000.0f);
  points({{99.5f, 35}, {199.5f, 35}, {199.5f, 135}});
  EXPECT_EQ(send(29), "PU100,100;PD200,100;PD200,200;");
  points({});
  EXPECT_EQ(send(29), "");
}

TEST_F(Hg2Frame, TransformationsApplyAboveOneOrForFillsOtherThanOne) {
  PLTDEV.mapScale = 2.0f;
  PLTDEV.mapOriginX = 0.0f;
  PLTDEV.mapOriginY = 0.0f;
  PLTDEV.mapOffsetX = 0.0f;
  PLTDEV.mapOffsetY = 0.0f;
  PLTPAR.selectTransform = 2;
  send(kOpSelectTransform);
  EXPECT_EQ(moveTo(1000.0f, 1000.0f), "PU2000,2065;");
  PLTPAR.selectTransform = 0;
  send(kOpSelectTransform);
  EXPECT_EQ(moveTo(1000.0f, 1000.0f), "PU1000,1065;");
  points({{1000.0f, 1000.0f}, {2000.0f, 1000.0f}});
  EXPECT_EQ(send(29), "PD2000,1065;");  // from the current position, untransformed
  EXPECT_NE(fill(2, {{1000.0f, 1000.0f}, {2000.0f, 1000.0f}, {2000.0f, 2000.0f}}).find("PU2000,2065;PM;"),
            std::string::npos);
}

TEST_F(Hg2Frame, LineTypesAndWidths) {
  EXPECT_EQ(line(-1), "PW0.15;");
  EXPECT_EQ(line(-1), "");
  EXPECT_EQ(line(0), "PW0.00;");
  EXPECT_EQ(line(-2), "PW0.35;");
  EXPECT_EQ(line(2), "LT2,3,1;");
  EXPECT_EQ(line(2), "");
  EXPECT_EQ(line(3), "LT3,3,1;");
  EXPECT_EQ(line(1), "LT;");
  EXPECT_EQ(PLTDEV.lineAttribute, 1);
  EXPECT_EQ(line(-2147483647 - 1), "PW0.00;");  // no class to negate: a normal width
}

TEST_F(Hg2Frame, CharacterSizesAndMarkers) {
  EXPECT_EQ(size(1), "SR 0.60, 1.25;");
  EXPECT_EQ(PLTDEV.characterSizeBase, 1);
  EXPECT_FLOAT_EQ(PLTDEV.cellHeight, 132.5625f);
  EXPECT_EQ(size(5), "");  // unknown: cell and size number stay
  EXPECT_EQ(PLTDEV.characterSizeBase, 1);
  EXPECT_FLOAT_EQ(PLTDEV.cellHeight, 132.5625f);
  EXPECT_FLOAT_EQ(PLTDEV.cellWidth, 89.991f);

  moveTo(4999.5f, 3535.0f);
  PLTPAR.colour = 4;
  EXPECT_EQ(marker(8), "LT;PU4955,3600;PD5044,3600;");
  EXPECT_EQ(PLTDEV.currentColour, 4);
  EXPECT_EQ(PLTDEV.lineAttribute, 1);
  const std::string plusCrossSquare =
      "LT;PU4955,3600;PD5044,3600;PU5000,3555;PD5000,3644;PU4955,3644;PD5044,3555;"
      "PU4955,3555;PD5044,3644;PU4955,3555;PD5044,3555;PD5044,3644;PD4955,3644;PD4955,3555;";
  EXPECT_EQ(marker(0), plusCrossSquare);
  EXPECT_EQ(marker(9), plusCrossSquare);

  line(-1);  // a thick pen: the marker is drawn with the normal width
  EXPECT_EQ(marker(8), "LT;PW0.00;PU4955,3600;PD5044,3600;PW0.15;");
  PLTPAR.markerScale = 2.0f;
  EXPECT_EQ(marker(8), "LT;PW0.00;PU4911,3600;PD5088,3600;PW0.15;");
}

TEST_F(Hg2Frame, ColourTablesOutsideTheTablesLeaveTheCounts) {
  table(11);
  EXPECT_EQ(PLTDEV.colourTableCount, 11);
  EXPECT_EQ(PLTDEV.colourCount, 12);
  EXPECT_EQ(PLTDEV.colourCount2, 12);
  table(2);
  EXPECT_EQ(PLTDEV.colourCount, 21);
  EXPECT_EQ(PLTDEV.colourCount2, 21);
}

TEST_F(Hg2Frame, TextsAreLabelsOfAtMost80Characters) {
  size(1);
  moveTo(4999.5f, 3535.0f);
  PLTPAR.textOffsetX = 1.0f;
  PLTPAR.textOffsetY = -0.5f;
  EXPECT_EQ(label("AB"), "PU5089,3533;LBAB\x03");
  PLTPAR.textOffsetX = 0.0f;
  PLTPAR.textOffsetY = 0.0f;
  EXPECT_EQ(label(""), "PU5000,3600;LB\x03");
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += static_cast<char>('A' + i % 26);
  EXPECT_EQ(label(hundred), "PU5000,3600;LB" + hundred.substr(0, 80) + "\x03");

  PLTCTB.textAnswer = 0;
  PLTPAR.textCount = -5;
  EXPECT_EQ(send(kOpText), "");  // an inquiry
  EXPECT_EQ(PLTCTB.textAnswer, -99);
}

TEST_F(Hg2Frame, OpcodesOutsideTheListWriteNothing) {
  for (int32_t opcode : {0, -1, 3, 7, 9, 13, 17, 21, 22, 25, 27, 31, 33, 34, 36, 37, 48, 49}) {
    EXPECT_EQ(send(opcode), "") << opcode;
  }
}

// ---- the title

TEST_F(Hg2Driver, TheTitleIsTheCommandLineUnderThePlot) {
  struct Case {
    std::string line;
    std::vector<std::string> settings;
    std::string want;  // after the pen width; empty: no title
  };
  const std::vector<Case> cases = {
      {"RUN", {}, "SR 0.60, 1.25;PU4865,-198;LBRUN\x03SR 0.60, 1.25;"},
      {"   RUN  ", {}, "SR 0.60, 1.25;PU4865,-198;LBRUN\x03SR 0.60, 1.25;"},
      {"RUN", {"TitleFontSizeScale: 2"}, "SR 1.20, 2.50;PU4730,-397;LBRUN\x03SR 0.60, 1.25;"},
      {"RUN", {"FontSizeScale: 2"}, "SR 1.20, 2.50;PU4730,-397;LBRUN\x03SR 1.20, 2.50;"},
      {"", {}, ""},
      {"\t", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    commandLine(c.line);
    settings(c.settings);
    unitFrame();
    HG2BUF = {};
    start();
    const std::string all = commands();
    const size_t at = all.find("PW0.00;");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(all.substr(at + 7), c.want);
    endJob();
  }
  CMDLIN = {};  // codes 0 at load: NULs, no title either
  HG2BUF = {};
  start();
  EXPECT_EQ(commands().find("LB"), std::string::npos);
}

// ---- pages and the close

TEST_F(Hg2Driver, ANewPageRepeatsTheJobStartAndTheCloseGivesTheTablesBack) {
  const std::array<int32_t, 18> console = {1, 9, 1, 3, 1, 2, 6, 0, 1, 0, 0, 0, 0, 0, 4, 0, 0, 0};
  PLTCAP.words = console;
  PLRGB.red(5) = 17;
  PLTCTB.count(3) = 5;
  PLTDEV.colourCount = 31;
  PLTDEV.colourCount2 = 7;
  PLTDEV.currentColour = 5;
  PLTDEV.colourTableCount = 3;
  PLTDEV.lineAttribute = 2;
  const PltCtb tables = PLTCTB;
  const PlRgb palette = PLRGB;
  commandLine("RUN");

  start();
  colour(2);
  EXPECT_TRUE(commands().ends_with("LBRUN\x03SR 0.60, 1.25;PUSP065;"));
  EXPECT_TRUE(send(8).starts_with("SP0;" + kEscS + "E" + kRecord1));
  std::vector<std::string> lines = plotLines();
  size_t end = 0;
  while (end < lines.size() && !lines[end].ends_with("SP0;" + kEscS + "E")) ++end;
  ASSERT_LT(end + 1, lines.size());
  EXPECT_EQ(lines[end + 1], kRecord1);
  EXPECT_EQ(colour(2), "PUSP065;");  // the page end forgot the pen
  send(kOpClose);

  const std::string all = commands();
  EXPECT_EQ(occurrences(all, "PC064,"), 2U);
  EXPECT_EQ(occurrences(all, "LBRUN"), 2U);
  EXPECT_TRUE(plotLines().back().ends_with("PUSP065;SP0;" + kEscS + "E"));
  EXPECT_TRUE(HG2BUF.text.empty());

  EXPECT_EQ(PLTCTB.counts, tables.counts);
  EXPECT_EQ(PLTCTB.shades, tables.shades);  // shades 1 and 8 of table 10 back in place
  EXPECT_EQ(PLRGB.reds, palette.reds);
  EXPECT_EQ(PLRGB.greens, palette.greens);
  EXPECT_EQ(PLRGB.blues, palette.blues);
  EXPECT_EQ(PLRGB.deviceColours, palette.deviceColours);
  EXPECT_EQ(PLRGB.highest, palette.highest);
  EXPECT_EQ(PLTCAP.words, console);
  EXPECT_EQ(PLTDEV.colourCount, 31);
  EXPECT_EQ(PLTDEV.colourCount2, 7);
  EXPECT_EQ(PLTDEV.cellHeight, 9.0f);
  EXPECT_EQ(PLTDEV.cellWidth, 7.0f);
  EXPECT_EQ(PLTDEV.currentColour, 0);
  EXPECT_EQ(PLTDEV.colourTableCount, 0);
  EXPECT_EQ(PLTDEV.lineAttribute, 0);
}

// ---- records before any job

TEST_F(Hg2Driver, RecordsBeforeTheFirstJobReachNoFile) {
  const PltCtb tables = PLTCTB;
  const auto words = PLTCAP.words;
  for (int32_t opcode : {10, 11, 12, 14, 15, 16, 18, 19, 29, 8, 2}) {
    PLTPAR.colour = -3;
    PLTPAR.lineAttribute = -1;
    PLTPAR.characterSize = 1;
    PLTPAR.textCount = 4;
    points({{1, 2}, {3, 4}, {5, 6}});
    PLTDSP(opcode);
  }
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_TRUE(entry.is_directory()) << entry.path();  // only the fixture's home
  }
  EXPECT_EQ(HG2BUF.unit, 0);
  EXPECT_EQ(PLTCTB.shades, tables.shades);  // no page start, no close without a job
  EXPECT_EQ(PLTCAP.words, words);
}

// ---- a reader of HP-GL/2

// Runs COMMAND through the shell; answers its exit status and what it printed.
std::pair<int, std::string> run(const std::string& command, const std::string& log) {
  const int status = std::system((command + " >" + log + " 2>&1 </dev/null").c_str());
  return {status, test::readFile(log)};
}

// The file NAME without the PCL sequences around the job, which are not HP-GL/2.
std::string withoutPcl(std::string bytes) {
  for (const std::string& pcl :
       {kEscS + "&l0O", kEscS + "&l1O", kEscS + "%-1B;", kEscS + "E"}) {
    for (size_t at = bytes.find(pcl); at != std::string::npos; at = bytes.find(pcl, at)) {
      bytes.erase(at, pcl.size());
    }
  }
  return bytes;
}

TEST_F(Hg2Driver, AnHpglReaderTakesAColourAndAMonochromeJob) {
  if (std::system("command -v hp2xx >/dev/null 2>&1") != 0) GTEST_SKIP() << "hp2xx is not installed";
  const auto job = [&](const std::string& name, int32_t colourSwitch) {
    PLTOPT.word(kOptHpgl2Colour) = colourSwitch;
    ASSERT_TRUE(openPlotFile(name));
    commandLine("PLOT ALL ELEMENTS");
    HG2BUF = {};
    HG2STA = {};
    DEFCOL();
    PLTDSP(kOpOpen);
    for (int page = 0; page < 2; ++page) {
      colour(2 + page);
      moveTo(10, 10);
      PLTPAR.pointX = 90;
      PLTPAR.pointY = 70;
      send(15);
      line(2);
      points({{10, 70}, {50, 75}, {90, 10}});
      send(29);
      line(1);
      fill(3 + page, {{20, 20}, {40, 20}, {40, 40}, {20, 40}});
      table(2);
      fill(-5, {{60, 20}, {80, 20}, {70, 40}});
      size(2);
      moveTo(50, 50);
      label("FILLED (" + std::to_string(page + 1) + ")");
      for (int32_t m = 1; m <= 9; ++m) {
        moveTo(static_cast<float>(10 * m), 60);
        marker(m);
      }
      line(-2);
      moveTo(0, 0);
      PLTPAR.pointX = 100;
      PLTPAR.pointY = 0;
      send(15);
      if (page == 0) send(8);
    }
    PLTDSP(kOpClose);
  };
  job("colour.hgl", -1);
  job("mono.hgl", 0);
  FILCLS(kPlotFileType);

  // The reader implements no transparency mode: it reports every "TR" of the job start
  // as ignored, and only those are allowed.
  const std::regex ignored("([A-Z][A-Z]): ignored");
  const std::regex ignoredCount("HPGL command\\(s\\) ignored: *([0-9]+)");
  for (const char* name : {"colour", "mono"}) {
    SCOPED_TRACE(name);
    const std::string input = dir.file(std::string(name) + ".in.hgl");
    const std::string job = withoutPcl(test::readFile(dir.file(std::string(name) + ".hgl")));
    test::writeFile(input, job);
    const std::string output = dir.file(std::string(name) + ".png");
    const auto [status, log] = run("hp2xx -m png -f " + output + " " + input,
                                   dir.file(std::string(name) + ".log"));
    EXPECT_EQ(status, 0) << log;
    ASSERT_TRUE(std::filesystem::exists(output)) << log;
    EXPECT_GT(std::filesystem::file_size(output), 0U) << log;
    size_t reported = 0;
    for (auto it = std::sregex_iterator(log.begin(), log.end(), ignored); it != std::sregex_iterator();
         ++it, ++reported) {
      EXPECT_EQ((*it)[1], "TR") << log;
    }
    EXPECT_EQ(reported, occurrences(job, "TR0;"));
    EXPECT_EQ(reported, 2U);  // one job start per page
    std::smatch count;
    ASSERT_TRUE(std::regex_search(log, count, ignoredCount)) << log;
    EXPECT_EQ(std::stoul(count[1]), reported) << log;
    EXPECT_NE(log.find("Unexpected event(s):  0"), std::string::npos) << log;
  }
}

}  // namespace
}  // namespace kvr
