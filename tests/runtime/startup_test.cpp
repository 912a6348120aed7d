#include "runtime/startup.h"

#include <gtest/gtest.h>

#include <bit>
#include <csignal>
#include <string>

#include "consolefixture.h"
#include "kvr7dbio.h"
#include "modeldb/corsto.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbopen.h"
#include "plot/pltdsp.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/console.h"
#include "runtime/dattim.h"
#include "runtime/dspsta.h"
#include "runtime/eltnam.h"
#include "runtime/fouvre.h"
#include "runtime/geosta.h"
#include "runtime/idpack.h"
#include "runtime/idxlay.h"
#include "runtime/incftb.h"
#include "runtime/iomode.h"
#include "runtime/iounit.h"
#include "runtime/machcn.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/msgarg.h"
#include "runtime/pltopt.h"
#include "runtime/reghed.h"
#include "runtime/slttab.h"
#include "runtime/sysini.h"

namespace kvr {
namespace {

TEST(Vrpre, AfterInitialisationGivesReleaseOneAndNoLetter) {
  IOMODE = {};
  INICON();
  EXPECT_EQ(IOMODE.databaseConstant, 5000);
  setClockOverride(LocalTime{2024, 2, 29, 13, 5, 9});
  int32_t v[6] = {};
  float version = -1.0f;
  int32_t letter = 0;
  dll_vrpre(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &version, &letter);
  setClockOverride(std::nullopt);
  EXPECT_EQ(v[0], 29);
  EXPECT_EQ(v[1], 2);
  EXPECT_EQ(v[2], 2024);
  EXPECT_EQ(v[3], 13);
  EXPECT_EQ(v[4], 5);
  EXPECT_EQ(v[5], 9);
  EXPECT_EQ(version, 0.0001f);
  EXPECT_EQ(letter, 0x20202020);
  IOMODE = {};
}

TEST(Vrpre, TheLetterIsACapitalOnly) {
  struct Case {
    int32_t index;
    int32_t letter;
  };
  const Case cases[] = {
      {1, codeOf('A')}, {2, codeOf('B')}, {26, codeOf('Z')}, {27, kBlankCode}, {-1, kBlankCode}};
  for (const Case& c : cases) {
    IOMODE = {};
    IOMODE.releaseLetter = c.index;
    IOMODE.release = 3;
    IOMODE.version = 93;
    int32_t d, m, y, h, mi, s, letter;
    float version;
    VRPRE(d, m, y, h, mi, s, version, letter);
    EXPECT_EQ(letter, c.letter) << c.index;
    EXPECT_EQ(version, 933.0f / 10000.0f);
  }
  IOMODE = {};
}

TEST(Sighnd, AnInterruptGivesTheFlagTheValueWord) {
  struct sigaction previous {};
  ::sigaction(SIGINT, nullptr, &previous);
  PLTOPT.interruptFlag = 3;
  PLTOPT.interruptValue = 7;
  SIGSET();
  EXPECT_EQ(PLTOPT.interruptFlag, 0);
  std::raise(SIGINT);
  EXPECT_EQ(PLTOPT.interruptFlag, 7);
  // The handler stays installed for the next interrupt.
  PLTOPT.interruptFlag = 0;
  std::raise(SIGINT);
  EXPECT_EQ(PLTOPT.interruptFlag, 7);
  ::sigaction(SIGINT, &previous, nullptr);
  PLTOPT = {};
}

TEST(Viewid, BothViewMatricesBecomeTheIdentity) {
  VIEWMT.view[1][2] = 5.0f;
  VIEWMT.view2[3][3] = 0.0f;
  VIEWID();
  for (const Matrix4* m : {&VIEWMT.view, &VIEWMT.view2}) {
    for (int i = 0; i < 4; ++i) {
      for (int j = 0; j < 4; ++j) EXPECT_EQ((*m)[i][j], i == j ? 1.0f : 0.0f);
    }
  }
}

TEST(Optrst, ClearsTheTablesAndSetsTheSwitches) {
  DSPOPT.records[4][49][98] = 7;
  DSPOPT.words[2][3] = 7;
  DSPOPT.records11[10][0] = 7;
  OPTRST();
  EXPECT_EQ(DSPOPT.records[4][49][98], 0);
  EXPECT_EQ(DSPOPT.words[2][3], 0);
  EXPECT_EQ(DSPOPT.records11[10][0], 0);
  for (int32_t s : DSPOPT.switches) EXPECT_EQ(s, 1);
  for (int32_t s : DSPOPT.list) EXPECT_EQ(s, 1);
}

TEST(Setdef, IndexLayoutAndIndexPageSize) {
  IDXLAY = {};
  IDXLAY.word(39) = 5;
  DBPARM.fileSlot(2).unit = 8;
  DBPARM.fileSlot(2).freeHead = 3;
  SETDEF();
  const int32_t lengths[] = {8, 11, 60, 48, 96, 96, 96};
  for (int32_t cls = 101; cls <= 107; ++cls)
    EXPECT_EQ(IDXLAY.recordLength(cls), lengths[cls - 101]);
  EXPECT_EQ(IDXLAY.word(39), 0);
  EXPECT_EQ(IDXLAY.word(43), 27);
  EXPECT_EQ(IDXLAY.word(53), 12);
  EXPECT_EQ(IDXLAY.word(56), 2);
  EXPECT_EQ(IDXLAY.word(66), 6);
  EXPECT_EQ(IDXLAY.word(68), 20);
  EXPECT_EQ(IDXLAY.word(69), 10);
  EXPECT_EQ(IDXLAY.word(82), 0);
  EXPECT_EQ(DBPARM.fileSlot(1).pageSize, 100);
  EXPECT_EQ(DBPARM.fileSlot(2).unit, 0);
  EXPECT_EQ(DBPARM.fileSlot(2).freeHead, 0);
  IDXLAY = {};
  IOUNIT = {};
}

TEST(Vwpset, ViewportsTakeTheTitleAndTheCurrentDirectory) {
  test::TempDir dir;
  VWPTAB = {};
  for (int32_t k = 0; k < 50; ++k)
    DSPSTA.state.title[static_cast<size_t>(k)] = codeOf('a' + k % 26);
  VWPSET(3, 2, 0);
  Viewport& p = VWPTAB.viewport(2);
  EXPECT_EQ(p.status, 1);
  EXPECT_EQ(p.name[0], codeOf('a'));
  EXPECT_EQ(p.name[19], codeOf('t'));
  EXPECT_EQ(p.directoryText().trimmed(), dir.path().string());
  VWPSET(4, 0, 2);
  EXPECT_EQ(VWPTAB.viewport(0).status, 1);
  EXPECT_EQ(VWPTAB.viewport(0).name, p.name);
  VWPSET(1, 2, 0);
  EXPECT_EQ(p.status, 0);
  EXPECT_EQ(p.name[0], kBlankCode);
  EXPECT_TRUE(p.directoryText().isBlank());
  VWPSET(5, 2, 0);
  EXPECT_EQ(p.status, 3);
  EXPECT_EQ(p.name[0], kBlankCode);
  VWPSET(6, 2, 0);
  EXPECT_EQ(p.status, 4);
  VWPSET(2, 5, 0);   // no viewport 5
  VWPSET(4, 1, -1);  // nor a source -1
  EXPECT_EQ(VWPTAB.viewport(1).status, 0);
  VWPTAB = {};
  DSPSTA = {};
}

using Logopn = test::ConsoleFixture;

TEST_F(Logopn, TheConsoleModeOpensTheConsole) {
  PLTPAR = {};
  LOGOPN(1, 1);
  EXPECT_EQ(PLTDEV.outputMode, kOutputConsole);
  EXPECT_EQ(PLTPAR.outUnit, 6);
  EXPECT_EQ(PLTPAR.inUnit, 5);
  EXPECT_EQ(PLTCAP.deviceName().trimmed(), "Alpha");
  EXPECT_EQ(PLTCAP.xMax, 679.0f);
  EXPECT_EQ(PLTCAP.yMax, 480.0f);
  EXPECT_EQ(PLTDEV.cellsAcross, 96);
  EXPECT_EQ(PLTDEV.cellsDown, 53);
}

// A close request reaches the console only where it is sent: a console record while the
// graphics record count is set stops the process, which makes the request visible.
TEST_F(Logopn, TheCloseRequestSparesTheConsoleOnlyForTwo) {
  test::StopTrap trap;
  LOGOPN(1, 1);
  PLTDEV.recordCount = 1;
  EXPECT_NO_THROW(GFXCLS(2));
  EXPECT_NO_THROW(GFXRQ2(2));
  EXPECT_THROW(GFXCLS(1), test::StopCalled);
}

class Dsprst : public ::testing::Test {
 protected:
  void SetUp() override {
    REGHED = {};
    DSPRST(1, 0);
  }
  void TearDown() override {
    REGHED = {};
    DSPRST(1, 0);
  }
  static int32_t slotOf(int32_t key) {
    int32_t s = 0;
    SLTFND(key, s);
    return s;
  }
};

TEST_F(Dsprst, AKeySavedTwiceKeepsItsSlot) {
  DSPRST(3, 7);
  DSPRST(3, 7);
  EXPECT_EQ(SLTTAB.count, 1);
  EXPECT_EQ(slotOf(7), 1);
  EXPECT_EQ(SLTTAB.age(1), 1);
}

TEST_F(Dsprst, AFullTableReusesTheSlotSavedLongestAgo) {
  for (int32_t key = 1; key <= 20; ++key) DSPRST(3, key);
  EXPECT_EQ(SLTTAB.count, 20);
  EXPECT_EQ(SLTTAB.age(slotOf(1)), 20);
  DSPRST(3, 21);
  EXPECT_EQ(slotOf(21), 1);
  EXPECT_EQ(slotOf(1), 0);
  EXPECT_EQ(SLTTAB.count, 20);
  EXPECT_EQ(SLTTAB.age(1), 1);
  // Key 2 is now the oldest, so it goes next.
  DSPRST(3, 22);
  EXPECT_EQ(slotOf(22), 2);
  EXPECT_EQ(SLTTAB.count, 20);
  // Saving a slot again makes it the youngest and ages only the younger ones.
  DSPRST(3, 20);
  EXPECT_EQ(SLTTAB.age(slotOf(20)), 1);
  EXPECT_EQ(SLTTAB.age(slotOf(22)), 2);
  EXPECT_EQ(SLTTAB.age(slotOf(21)), 3);
  EXPECT_EQ(SLTTAB.age(slotOf(3)), 20);
}

TEST_F(Dsprst, RestoreBringsBackTheSavedRegistryHead) {
  REGHED.mode = 2;
  REGHED.top = 3;
  REGHED.file = 4;
  for (int32_t w = 1; w <= 6; ++w) {
    for (int32_t k = 1; k <= 57; ++k) REGHED.word(w, k) = 100 * w + k;
  }
  DSPSTA.state.view = {10.0f, 20.0f, 30.0f};
  DSPRST(3, 9);
  EXPECT_EQ(INCFTB.storeFile(1), 4);

  const RegHed saved = REGHED;
  REGHED = {};
  REGHED.word(1, 4) = -5;  // beyond the saved top: not touched by the restore
  DSPSTA.state.view = {};
  DSPRST(4, 0);
  EXPECT_EQ(REGHED.mode, 0) << "key 0 does nothing";
  DSPRST(4, 8);
  EXPECT_EQ(REGHED.mode, 0) << "a key no slot holds does nothing";
  DSPRST(4, 9);
  EXPECT_EQ(REGHED.mode, 2);
  EXPECT_EQ(REGHED.top, 3);
  EXPECT_EQ(REGHED.file, 4);
  for (int32_t w = 1; w <= 6; ++w) {
    for (int32_t k = 1; k <= 3; ++k) EXPECT_EQ(REGHED.word(w, k), saved.words[w - 1][k - 1]);
  }
  EXPECT_EQ(REGHED.word(1, 4), -5);
  EXPECT_EQ(DSPSTA.state.view.distance, 30.0f);
}

TEST_F(Dsprst, KeyZeroSavesNothing) {
  DSPRST(3, 0);
  EXPECT_EQ(SLTTAB.count, 0);
  EXPECT_EQ(SLTTAB.key(1), 0);
}

TEST_F(Dsprst, ResetBlanksTheDisplayStateAndEmptiesTheSlots) {
  DSPRST(3, 5);
  DSPSTA.state.windowDefaults = {1, 1, 1};
  DSPSTA.state.title[3] = codeOf('X');
  DSPSEL.counts[4] = 9;
  DSPSL2.count = 1;
  DSPSL2.setNumber(1) = 3;
  DSPSTA.state.workText(2).assign("work");
  DSPRST(1, 0);
  EXPECT_EQ(SLTTAB.count, 0);
  EXPECT_EQ(SLTTAB.key(1), 0);
  EXPECT_EQ(SLTTAB.current, 0);
  EXPECT_EQ(SLTTAB.companion, 1);
  EXPECT_EQ(DSPSTA.state.windowDefaults, (std::array<int32_t, 3>{5, 4, 0}));
  EXPECT_EQ(DSPSTA.state.title[3], kBlankCode);
  EXPECT_EQ(DSPSEL.counts[4], 0);
  EXPECT_EQ(DSPSL2.count, 0);
  EXPECT_EQ(DSPSL2.setNumber(1), 0);
  EXPECT_TRUE(DSPSTA.state.workText(2).isBlank());
  EXPECT_TRUE(WINSTA.slot(1).state.workText(1).isBlank());
}

}  // namespace
}  // namespace kvr

namespace kvr {
namespace {

// Start-up with no settings but those a test writes.
class StartupSettings : public test::SettingsFixture {
 protected:
  void TearDown() override {
    struct sigaction dflt {};
    dflt.sa_handler = SIG_DFL;
    ::sigaction(SIGINT, &dflt, nullptr);
    PLTOPT = {};
    IOMODE = {};
    DSPSTA = {};
    SettingsFixture::TearDown();
  }
  void settings(const std::string& lines) { test::writeFile(dir.file("quorin.ini"), lines); }
};

TEST_F(StartupSettings, MdlconSetsTheModelConstants) {
  MSGARG.word(1) = 1;
  MSGARG.word(30) = 1;
  MDLCON();
  EXPECT_EQ(GEOCON.word(1), 0x40490FDC);
  const float reals[] = {0.01745329f, 0.001f, 0.001f, 1.0e-5f, 1.0e-7f};
  for (int32_t k = 2; k <= 6; ++k) EXPECT_EQ(GEOCON.real(k), reals[k - 2]) << k;
  EXPECT_EQ(GEOCON.word(7), 10);
  EXPECT_EQ(GEOCON.real(8), 15.0f);
  EXPECT_EQ(GEOCON.real(9), 165.0f);
  EXPECT_EQ(GEOCON.word(10), 12);

  EXPECT_EQ(MODCON.word(1), 4);
  EXPECT_EQ(MODCON.word(2), 47);
  const std::string characters = " 0123456789-+=*/(),.ABCDEFGHIJKLMNOPQRSTUVWXYZ'";
  for (int32_t k = 1; k <= 47; ++k) EXPECT_EQ(MODCON.word(2 + k), codeOf(characters[k - 1])) << k;
  EXPECT_EQ(MODCON.word(17), 0x2020202A);
  EXPECT_EQ(MODCON.word(50), 0);
  EXPECT_EQ(MODCON.word(51), 1);
  EXPECT_EQ(MODCON.real(52), 1.0e6f);
  EXPECT_EQ(MODCON.real(53), 32767.0f);
  EXPECT_EQ(MODCON.word(54), 6);
  EXPECT_EQ(MODCON.word(55), 6);
  EXPECT_EQ(MODCON.real(56), 9.0f);
  EXPECT_EQ(MODCON.word(57), 3);

  for (int32_t k = 1; k <= MsgArg::kWords; ++k) EXPECT_EQ(MSGARG.word(k), k == 3 ? 3 : 0) << k;
  EXPECT_EQ(MODCNT.word(72), 38);
  EXPECT_EQ(GEOSTA.word(17), kBlankCode);
  EXPECT_EQ(GEOSTA.word(18), kBlankCode);
  EXPECT_EQ(DSPSTA.state.title[49], kBlankCode);
  EXPECT_EQ(MACHCN.word(14), 15000);
  EXPECT_EQ(MACHCN.word(15), 9);
  EXPECT_EQ(IDPACK.idLimit, 100000000);
  EXPECT_EQ(ELTNAM.count, 31);
  EXPECT_EQ(DSPSEL.itemCount, 31);
  EXPECT_EQ(DSPSL2.count, 0);
  EXPECT_EQ(ELTNAM.splineAngleTolerance, 0.0f);
}

TEST_F(StartupSettings, MdlconPacksTheElementNamesListByList) {
  MDLCON();
  FixedText names(4 * EltNam::kNameWords);
  A4TXT(ELTNAM.names, 4 * EltNam::kNameWords, names);
  EXPECT_EQ(std::string(names.view()),
            "BE2 BE3 BE4 BE5 P-ELTR3 ----QU4 ----TR6 QU7 QU8 QU9 PE6 TE4 HE8 PE15HE16TE10HE20"
            "HE27TR9 QU12TR12QU16TR15    TE16PE24HE32IP11IL22IL32IL33IL44IL55IS33IS44IS84"
            "IS66IS88SP8  SP10   ALL     SUP ");
  FixedText kinds(4 * EltNam::kKindCodes);
  A4TXT(ELTNAM.kindCodes, 4 * EltNam::kKindCodes, kinds);
  EXPECT_EQ(std::string(kinds.view()),
            "T   G   M   P   L   S   B   SH  E   N   CS  LO  MA  "
            "CO  PH  SE  ET  FE  D   ME  xxxxEQ  AX  PA  xxxx");
  EXPECT_EQ(ELTNAM.blank, kBlankCode);
}

TEST_F(StartupSettings, DatabaseStartValuesFollowTheUnitSlots) {
  SYSINI();
  MDLCON();
  EXPECT_EQ(DBPARM.formatCode, 9071);
  EXPECT_EQ(DBPARM.pageFactor1, 2000);
  EXPECT_EQ(DBPARM.pageFactor2, 1);
  EXPECT_EQ(DBPARM.type18Unit, 22);
  EXPECT_EQ(DBPARM.pageHeaderLength, 4);
  EXPECT_EQ(DBPARM.bufferSize, 4000);
}

TEST_F(StartupSettings, PackingModulusFromPre7005) {
  struct Case {
    std::vector<std::string> args;
    std::string settings;
    int32_t modulus;
  };
  const Case cases[] = {
      {{"prog", "-Pre7005", "TRUE"}, "", 1000},
      {{"prog"}, "", 10000},
      {{"prog"}, "Quorin.*.*.Pre7005: true\n", 1000},
      {{"prog"}, "Quorin.*.*.Pre7005: FALSE\n", 10000},
  };
  for (const Case& c : cases) {
    setArguments(c.args);
    settings(c.settings);
    MDLCON();
    EXPECT_EQ(IDPACK.modulus, c.modulus) << c.settings;
  }
}

TEST_F(StartupSettings, SplineTolerancesComeFromTheMeshSettings) {
  // The host's resource reader answers nothing here, so both keep their default.
  ELTNAM.splineAngleTolerance = 5.0f;
  ELTNAM.splineWarpTolerance = 5.0f;
  MDLCON();
  EXPECT_EQ(ELTNAM.splineAngleTolerance, 0.0f);
  EXPECT_EQ(ELTNAM.splineWarpTolerance, 0.0f);
}

TEST_F(StartupSettings, PltfmtDecodesThePlotterFormat) {
  struct Case {
    std::string value;
    int32_t device;
    int32_t colour;  // the HP-GL/2 colour switch afterwards (starting at 5)
  };
  const Case cases[] = {
      {"hpgl2 colour", 8, -1}, {"HPGL2 Mono", 8, 0}, {"TIFF ", 12, 5},  {"Tiff file", 1, 5},
      {"CGM", 10, 5},          {"", 1, 5},           {"Neutral", 1, 5}, {"postscript COLOUR", 4, 5},
      {"Hardcopy", 11, 5},     {"Deskjet", 9, 5},    {"HPGL", 7, 5},
  };
  for (const Case& c : cases) {
    settings(c.value.empty() ? "" : "Quorin.*.PLOTS.DefaultPlotter: " + c.value + "\n");
    PLTOPT.word(kOptHpgl2Colour) = 5;
    int32_t device = -1;
    PLTFMT(device);
    EXPECT_EQ(device, c.device) << c.value;
    EXPECT_EQ(PLTOPT.word(kOptHpgl2Colour), c.colour) << c.value;
  }
}

TEST_F(StartupSettings, GfxdefResetsInputPlotAndInterruptWords) {
  IOMODE.inputUnit = 12;
  IOMODE.inputMode = 1;
  PLTDEV.openState1 = 2;
  PLTDEV.outputMode = kOutputConsole;
  PLTOPT.interruptValue = 4;
  PLTOPT.interruptFlag = 4;
  DBLEVL.lockHolder = 1234;
  const int32_t wordsPerReal = MACHCN.word(kMachWordsPerReal);
  MACHCN.word(kMachWordsPerReal) = 2;  // the node entry length follows the words per REAL
  settings("Quorin.Telvora.P-TRACK.ALGORITHM: BUFFERED\nQuorin.*.PLOTS.DefaultPlotter: CGM\n");
  GFXDEF();
  EXPECT_EQ(IOMODE.inputUnit, 5);
  EXPECT_EQ(IOMODE.inputMode, 0);
  EXPECT_EQ(PLTOPT.word(1), -1);
  EXPECT_EQ(PLTOPT.word(2), 1);
  EXPECT_EQ(PLTOPT.word(3), 4);
  EXPECT_EQ(PLTOPT.word(4), 120);
  EXPECT_EQ(PLTOPT.word(15), 1);
  EXPECT_EQ(PLTOPT.word(17), 100);
  EXPECT_EQ(PLTOPT.word(19), 5001);
  EXPECT_EQ(PLTOPT.word(33), 2000);
  EXPECT_EQ(PLTDEV.openState1, 1);
  EXPECT_EQ(PLTDEV.openState2, 1);
  EXPECT_EQ(PLTDEV.outputMode, 0);
  EXPECT_EQ(PLTDEV.plotFileDevice, 1);
  EXPECT_EQ(PLTDEV.device, 10);
  EXPECT_EQ(DSPSTA.pathTracking, 2);
  EXPECT_EQ(PLTOPT.interruptValue, 0);
  EXPECT_EQ(PLTOPT.interruptFlag, 0);
  EXPECT_EQ(DSPSTA.state.windowDefaults, (std::array<int32_t, 3>{5, 4, 0}));
  EXPECT_EQ(DSPSTA.validitySelectors, (std::array<int32_t, 4>{1, 2, 8, 10}));
  EXPECT_EQ(VIEWDF.angle, 30.0f);
  int32_t holder = 0;
  DBLOCK(1, holder);
  EXPECT_EQ(holder, 0) << "the lock holder is forgotten";
  EXPECT_EQ(DBLEVL.currentTypeCode, 5006);
  EXPECT_EQ(DBLEVL.pageHeaderWords, 38);
  EXPECT_EQ(DBLEVL.nodeEntryWords, 10);
  MACHCN.word(kMachWordsPerReal) = wordsPerReal;

  PLTOPT.interruptValue = 7;
  std::raise(SIGINT);
  EXPECT_EQ(PLTOPT.interruptFlag, 7);
  PLTOPT.interruptFlag = 0;
  std::raise(SIGINT);
  EXPECT_EQ(PLTOPT.interruptFlag, 7);
}

TEST_F(StartupSettings, GfxdefCentresTheViewOnThePageAsItStands) {
  PLTDEV.window = {1.0f, 679.0f, 1.0f, 480.0f};
  PLTDEV.coordMax = 32767.0f;
  GFXDEF();
  EXPECT_EQ(DSPSTA.state.view.centreX, 340.0f);
  EXPECT_EQ(DSPSTA.state.view.centreY, 240.5f);
  EXPECT_EQ(DSPSTA.state.view.distance, 65534.0f);
  GFXDEF();
  EXPECT_EQ(DSPSTA.pathTracking, 1);
  EXPECT_EQ(PLTDEV.device, 1);
}

}  // namespace
}  // namespace kvr

namespace kvr {
namespace {

using Roads = test::ConsoleFixture;

// The start-up sequences of the two roads leave the console ready for a dialogue.
TEST_F(Roads, BothRoadsStartWithTheConsoleReady) {
  struct sigaction previous {};
  ::sigaction(SIGINT, nullptr, &previous);
  for (int32_t road = 1; road <= 2; ++road) {
    freshConsole();
    SYSINI();
    CHRSET();
    int32_t status = -1;
    if (road == 1) {
      PLTDEV.openState1 = 2;  // left by an earlier session: the writing road resets it
      PLTDEV.openState2 = 2;
      INICON();
      GFXDEF();
      LOGOPN(1, 1);
      SETDEF();
      VIEWID();
    } else {
      MDLCON();
      USEMPT();
      FOUVRE(1, {}, 0, 1, 1, status);
      FOUVRE(2, {}, 0, 1, 1, status);
      LOGOPN(1, 1);
      DSPRST(1, 0);
      EXPECT_EQ(IOUNIT.openFlag(1), 1);
    }
    EXPECT_EQ(PLTDEV.outputMode, kOutputConsole) << road;
    EXPECT_EQ(PLTCAP.deviceName().trimmed(), "Alpha") << road;
    replies("y\n");
    EXPECT_EQ(MSGBOX(FixedText(4, "Road"), FixedText(8, "Go on?"), 3, 3, 2), 1) << road;
    EXPECT_NE(output().find(" > Yes/No ? [No] : "), std::string::npos) << road;
  }
  ::sigaction(SIGINT, &previous, nullptr);
  PLTOPT = {};
}

}  // namespace
}  // namespace kvr
