// The HP-GL command buffer and the command writers, called directly: how commands fill
// records, and the text of each command.
#include "plot/hpgl/hg2buf.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "hg2fixture.h"
#include "platform/fmtedit.h"
#include "plot/hpgl/hg2drv.h"
#include "plot/plxfrm.h"
#include "runtime/pltdev.h"

namespace kvr {
namespace {

using test::kEscS;

class Hg2Writers : public test::Hg2Fixture {
 protected:
  void SetUp() override {
    Hg2Fixture::SetUp();
    writersOnPlotFile();
  }

  // The commands a writer call added.
  template <class F>
  std::string added(F call) {
    const size_t mark = commands().size();
    call();
    return since(mark);
  }
};

TEST_F(Hg2Writers, RecordsHoldWholeCommandsUpTo80Characters) {
  const std::string pc = "PC064,255,255,255;";  // 18 characters
  for (int i = 0; i < 5; ++i) HG2PUT(pc);
  EXPECT_EQ(HG2BUF.freeCount(), 80 - 18);
  EXPECT_EQ(HG2BUF.nextPosition(), 19);
  HG2PUT(std::string(62, 'x'));  // exactly the free count: stays
  HG2PUT(";");                    // one more: the record goes out first
  HG2WRT(HG2BUF.text);
  EXPECT_EQ(plotLines(), (std::vector<std::string>{pc + pc + pc + pc, pc + std::string(62, 'x'), ";"}));
  EXPECT_EQ(HG2BUF.nextPosition(), 1);
}

TEST_F(Hg2Writers, ALongLabelIsARecordOfItsOwnLength) {
  const std::string text(78, 'A');
  HG2LBL(text, 78);  // the buffer is empty: an empty record goes first
  EXPECT_EQ(HG2BUF.freeCount(), -1);
  HG2PUT("PU1,1;");
  HG2LBL(text, 78);  // after a command: that command's record goes first
  HG2PUT("PA;");
  HG2WRT(HG2BUF.text);
  const std::string record = "LB" + text + "\x03";
  ASSERT_EQ(record.size(), 81U);
  EXPECT_EQ(plotLines(), (std::vector<std::string>{"", record, "PU1,1;", record, "PA;"}));
}

TEST_F(Hg2Writers, LabelsAreCutToTheTextGivenAndForgetTheLastPair) {
  EXPECT_EQ(added([] { HG2LBL("RUN", 3); }), "LB" "RUN" "\x03");
  EXPECT_EQ(added([] { HG2LBL("RUN", 0); }), "LB\x03");
  EXPECT_EQ(added([] { HG2LBL("RUN", -4); }), "LB\x03");
  EXPECT_EQ(added([] { HG2LBL("RUN", 99); }), "LB" "RUN" "\x03");
  HG2XY(10.0f, 20.0f, false);
  HG2LBL("A", 1);
  EXPECT_EQ(added([] { HG2XY(10.0f, 20.0f, false); }), "PU10,20;");
}

TEST_F(Hg2Writers, WritesNothingWithoutAPlotUnit) {
  HG2BUF.unit = 0;
  HG2PUT("PA;");
  HG2WRT(HG2BUF.text);
  EXPECT_TRUE(HG2BUF.text.empty());
  EXPECT_TRUE(plotLines().empty());
}

TEST_F(Hg2Writers, CoordinatePairs) {
  struct Case {
    float x, y;
    bool down;
    std::string want;
  };
  const float huge = 1.0e12f;
  const std::vector<Case> cases = {
      {4955.81f, 3600.2f, false, "PU4955,3600;"},
      {5044.19f, 3600.0f, true, "PD5044,3600;"},
      {-0.7f, -3.2f, true, "PD0,-3;"},              // truncated toward zero
      {12345.0f, 3600.0f, false, "PU12345,3600;"},  // off the page: written whole
      {-1000.5f, 10000.0f, true, "PD-1000,10000;"},
      {huge, -huge, false, "PU2147483647,-2147483648;"},
      {std::nanf(""), 7.0f, false, "PU0,7;"},
  };
  for (const Case& c : cases) {
    HG2BUF.lastX = Hg2Buf::kNoPoint;
    HG2BUF.lastY = Hg2Buf::kNoPoint;
    EXPECT_EQ(added([&] { HG2XY(c.x, c.y, c.down); }), c.want) << c.x << "," << c.y;
    EXPECT_EQ(HG2BUF.lastX, intOf(c.x));
  }
}

TEST_F(Hg2Writers, APairEqualToTheLastIsNotWrittenAgain) {
  HG2XY(100.2f, 200.9f, false);
  EXPECT_EQ(added([] { HG2XY(100.7f, 200.1f, false); }), "");
  EXPECT_EQ(added([] { HG2XY(100.0f, 200.0f, true); }), "");  // a draw to it as well
  EXPECT_EQ(added([] { HG2XY(101.0f, 200.0f, true); }), "PD101,200;");
}

TEST_F(Hg2Writers, CoordinateLists) {
  const std::array<float, 3> x = {1.0f, 2.0f, 3.0f};
  const std::array<float, 3> y = {4.0f, 5.0f, 6.0f};
  EXPECT_EQ(added([&] { HG2PTS(3, x, y); }), "PU1,4;PD2,5;PD3,6;");
  for (int32_t n : {0, -1, std::numeric_limits<int32_t>::min()}) {
    EXPECT_EQ(added([&] { HG2PTS(n, x, y); }), "") << n;  // no stale first point
  }
  HG2BUF.lastX = Hg2Buf::kNoPoint;
  EXPECT_EQ(added([&] { HG2PTS(9, x, y); }), "PU1,4;PD2,5;PD3,6;");  // held to the points given
}

TEST_F(Hg2Writers, MarkerShapes) {
  // Box 90..110 by 190..210 around 100, 200.
  const std::string plus = "PU90,200;PD110,200;PU100,190;PD100,210;";
  const std::string cross = "PU90,210;PD110,190;PU90,190;PD110,210;";
  const std::string square = "PU90,190;PD110,190;PD110,210;PD90,210;PD90,190;";
  struct Case {
    int32_t symbol;
    std::string want;
  };
  const std::vector<Case> cases = {
      {1, plus},
      {2, plus + cross},
      {3, cross},
      {4, square},
      {5, "PU90,200;PD100,190;PD110,200;PD100,210;PD90,200;"},
      {6, cross + square},
      {7, "PU90,190;PD110,190;PD100,210;PD90,190;"},
      {8, "PU90,200;PD110,200;"},
      {0, plus + cross + square},
      {9, plus + cross + square},
      {-5, plus + cross + square},
  };
  for (const Case& c : cases) {
    HG2BUF.lastX = Hg2Buf::kNoPoint;
    HG2BUF.lastY = Hg2Buf::kNoPoint;
    EXPECT_EQ(added([&] { HG2SYM(100.0f, 200.0f, c.symbol, 10.0f); }), c.want) << c.symbol;
  }
}

TEST_F(Hg2Writers, FilledPolygon) {
  const std::array<float, 3> x = {1000.0f, 2000.0f, 2000.0f};
  const std::array<float, 3> y = {1000.0f, 1000.0f, 2000.0f};
  EXPECT_EQ(added([&] { HG2FIL(3, x, y); }),
            "PU1000,1000;PM;PD2000,1000;PD2000,2000;PD1000,1000;PM2;FP;");
  EXPECT_EQ(added([&] { HG2FIL(0, x, y); }), "");
}

TEST_F(Hg2Writers, PenColoursPensLineTypesAndWidths) {
  EXPECT_EQ(added([] { HG2PC(255, 0, 178, 64); }), "PC064,255,000,178;");
  EXPECT_EQ(added([] { HG2PC(7, 80, 255, 253); }), "PC253,007,080,255;");
  EXPECT_EQ(added([] { HG2PEN(65); }), "PUSP065;");
  EXPECT_EQ(added([] { HG2PEN(65); }), "");
  EXPECT_EQ(added([] { HG2PEN(0); }), "PUSP000;");
  struct Case {
    int32_t value;
    std::string lineType, width;
  };
  const std::vector<Case> cases = {
      {0, "LT;", "PW0.00;"},  {1, "LT;", "PW0.15;"},      {2, "LT2,3,1;", "PW9.99;"},
      {3, "LT3,3,1;", "PW0.00;"}, {4, "LT;", "PW0.00;"}, {-1, "LT;", "PW0.00;"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(added([&] { HG2LTY(c.value); }), c.lineType) << c.value;
    EXPECT_EQ(added([&] { HG2PW(c.value, 0.0f, 0.15f, 9.99f); }), c.width) << c.value;
  }
}

TEST_F(Hg2Writers, FillShading) {
  PLTDEV.colourCount = 12;
  struct Case {
    int32_t colour;
    std::string want;
  };
  const std::vector<Case> cases = {
      {-99, ""},          {0, "FT10,000;"},  {0, ""},  // the same colour again
      {3, "FT10,075;"},   {1, "FT10,092;"},  {12, "FT10,000;"},
      {20, "FT10,000;"},  // beyond the table: held to 0
      {-99, ""},          {20, "FT10,000;"},  // forgotten: written again
  };
  for (const Case& c : cases) EXPECT_EQ(added([&] { HG2FT(c.colour); }), c.want) << c.colour;
  PLTDEV.colourCount = 0;  // table 0: no colours to divide by
  EXPECT_EQ(added([] { HG2FT(3); }), "");
  EXPECT_EQ(HG2STA.fillColour, 20);
}

TEST_F(Hg2Writers, CharacterSizes) {
  PLXFRM.pageScale = 1.0f;
  struct Case {
    int32_t sizeClass;
    std::string want;
    float width, height;
  };
  const std::vector<Case> cases = {
      {1, "SR 0.60, 1.25;", 89.991f, 132.5625f},
      {3, "SR 0.60, 1.25;", 89.991f, 132.5625f},
      {2, "SR 0.80, 1.66;", 119.988f, 176.043f},  // small scale 2
      {4, "SR 0.80, 1.66;", 119.988f, 176.043f},
      {-3, "SR 1.80, 3.75;", 269.973f, 397.6875f},  // title scale 3
  };
  for (const Case& c : cases) {
    float width = 0.0f;
    float height = 0.0f;
    EXPECT_EQ(added([&] { HG2CSZ(c.sizeClass, width, height, 1.0f, 2.0f, 3.0f); }), c.want);
    EXPECT_NEAR(width, c.width, 1.0e-3f) << c.sizeClass;
    EXPECT_NEAR(height, c.height, 1.0e-3f) << c.sizeClass;
    EXPECT_EQ(PLTDEV.characterSizeBase, c.sizeClass);
  }
  for (int32_t other : {0, 5, -1, -4}) {
    float width = 7.0f;
    float height = 9.0f;
    EXPECT_EQ(added([&] { HG2CSZ(other, width, height, 1.0f, 1.0f, 1.0f); }), "") << other;
    EXPECT_EQ(width, 7.0f);
    EXPECT_EQ(height, 9.0f);
    EXPECT_EQ(PLTDEV.characterSizeBase, -3);
  }
}

TEST_F(Hg2Writers, PageEndWritesTheRecord) {
  HG2PUT("PA;");
  HG2PAG();
  EXPECT_EQ(plotLines(), (std::vector<std::string>{"PA;SP0;" + kEscS + "E"}));
  EXPECT_TRUE(HG2BUF.text.empty());
}

}  // namespace
}  // namespace kvr
