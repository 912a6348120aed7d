#include "dbinterface/diini.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "dbinterface/diblocks.h"
#include "dbinterface/tmpstream.h"
#include "modeldb/dblevl.h"
#include "platform/unitio.h"
#include "runtime/iounit.h"
#include "runtime/pltdev.h"
#include "startfixture.h"

namespace kvr {
namespace {

using Start = test::StartFixture;

const std::string kBanner =
    " DI    : DIINI : DATABASE INTERFACE ROUTINES VERSION 1.402B         :";

TEST_F(Start, RefusedArgumentsAfterTheBanner) {
  struct Case {
    int32_t luopt, itfnum, ipgsiz, nform;
    int32_t code;
    std::string formatLine, errorLine;
  };
  const std::string i10e14 =
      " DI    :       : I10, E14.7 FORMAT NEUTRAL FILE OPTION CHOSEN       :";
  const std::vector<Case> cases = {
      {7, 4, 2040, 7, 12, i10e14,
       " DI012 : DIINI : INVALID INITIALISATION OPTION (LUOPT)              : "
       "(       7            )"},
      {0, 4, 2040, 5, 12,
       " DI    :       : I5, E12.5 FORMAT NEUTRAL FILE OPTION CHOSEN        :",
       errorLine(12, "DIINI", 0)},
      {2, 0, 2040, 10, 13,
       " DI    :       : I10, E12.5 FORMAT NEUTRAL FILE OPTION CHOSEN       :",
       errorLine(13, "DIINI", 0)},
      {1, 11, 2040, 7, 13, i10e14, errorLine(13, "DIINI", 11)},
      {1, 4, 2000, 7, 25, i10e14, errorLine(25, "DIINI", 2000)},
      {2, 4, 0, 7, 25, i10e14, errorLine(25, "DIINI", 0)},
  };
  for (const Case& c : cases) {
    const std::size_t before = messages().size();
    EXPECT_EQ(start(c.luopt, c.itfnum, c.ipgsiz, c.nform), c.code) << c.errorLine;
    const std::vector<std::string> lines = messages();
    ASSERT_EQ(lines.size(), before + 3) << c.errorLine;
    EXPECT_EQ(lines[before], kBanner);
    EXPECT_EQ(lines[before + 1], c.formatLine);
    EXPECT_EQ(lines[before + 2], c.errorLine);
    EXPECT_EQ(DISTAT.initialised, 0);
    EXPECT_EQ(DICTL.tempUnit(1), 0) << "the unit list is not copied";
  }
  // An invalid option or count is never stored.
  EXPECT_EQ(DICTL.luopt, 2);
  EXPECT_EQ(DICTL.itfnum, 4);
}

TEST_F(Start, NeutralOutputStopsAfterTheSystemStartUp) {
  ASSERT_EQ(start(kOutputNeutral, 3), 0);
  EXPECT_EQ(messages().size(), 2u);
  EXPECT_EQ(DISTAT.initialised, 1);
  EXPECT_EQ(DICTL.itfnum, 3);
  EXPECT_EQ(DICTL.tempUnit(3), unit(kC));
  EXPECT_EQ(DICTL.tempUnit(4), 0);
  EXPECT_EQ(DICTL.numberFormat, kFormatI5E12);
  EXPECT_EQ(DICTL.modelName.word(20), kBlankCode);
  EXPECT_EQ(DBLEVL.userLevelOpen, 1);
  EXPECT_EQ(DBLEVL.projectLevelOpen, 1);
  // No database side: no page size, database units or console.
  EXPECT_EQ(DBLEVL.hostPageSize, 0);
  EXPECT_NE(IOUNIT.slot(9), kLudb8);
  EXPECT_NE(IOUNIT.slot(8), kLudb7);
  EXPECT_NE(PLTDEV.outputMode, kOutputConsole);
}

TEST_F(Start, DatabaseOutputPreparesTheDatabaseSide) {
  ASSERT_EQ(start(kOutputDatabase, 10, 8160), 0);
  EXPECT_EQ(DICTL.itfnum, 10);
  EXPECT_EQ(DBLEVL.hostPageSize, 8160);
  EXPECT_EQ(DBLEVL.userLevelOpen, 1);
  EXPECT_EQ(DBLEVL.projectLevelOpen, 1);
  EXPECT_EQ(IOUNIT.slot(9), kLudb8);  // file type 8, the data file
  EXPECT_EQ(IOUNIT.slot(8), kLudb7);  // file type 7, the index file
  EXPECT_EQ(IOUNIT.openFlag(1), 1);
  EXPECT_EQ(IOUNIT.openFlag(2), 1);
  EXPECT_EQ(PLTDEV.outputMode, kOutputConsole);
}

TEST_F(Start, SecondCallTakesOnlyValidChoices) {
  ASSERT_EQ(start(kOutputNeutral), 0);
  DISTAT.modelActive = 1;
  DISTAT.messageCount(2) = 7;
  int32_t ierr = -1;
  const int32_t units[] = {51, 52};
  DIINI(7, 70, 71, 72, units, 50, 9, 10, kMessageUnit, 31, 4080, ierr);
  EXPECT_EQ(ierr, 11);
  EXPECT_EQ(messages().back(), errorLine(11, "DIINI"));
  // LUOPT 7 and ITFNUM 50 are not stored; the rest of the choices are.
  EXPECT_EQ(DICTL.luopt, kOutputNeutral);
  EXPECT_EQ(DICTL.itfnum, 6);
  EXPECT_EQ(DICTL.numberFormat, kFormatI10E12);
  EXPECT_EQ(DICTL.ludb8, 70);
  EXPECT_EQ(DICTL.ludb7, 71);
  EXPECT_EQ(DICTL.luneu, 72);
  EXPECT_EQ(DICTL.lumsg2, 31);
  // Nothing else: the unit list and the model state stay, the counts start again.
  EXPECT_EQ(DICTL.tempUnit(1), unit(kA));
  EXPECT_EQ(DISTAT.modelActive, 1);
  EXPECT_EQ(DISTAT.messageCount(2), 0);

  // A valid count in a refused call is stored, but the list stays the old one.
  DIINI(2, 70, 71, 72, units, 2, 9, 5, kMessageUnit, kNoMessageUnit, 2040, ierr);
  EXPECT_EQ(ierr, 11);
  EXPECT_EQ(DICTL.itfnum, 2);
  EXPECT_EQ(DICTL.tempUnit(1), unit(kA));
}

// A start after a stop (which leaves the initialised flag 0) begins from a clear state,
// and every temporary stream starts again at its beginning.
TEST_F(Start, RestartClearsTheStateAndRewindsTheStreams) {
  ASSERT_EQ(start(kOutputNeutral), 0);
  std::vector<int32_t> old(1500, 7);
  int32_t flag = 0;
  TMPWRT(old, kA, flag);  // one full record is on the file
  ASSERT_EQ(flag, 0);
  DISTAT.raiseErrorFlag(kB, kUnitFlagModel);
  DISTAT.datasetKey(kC) = 100;
  DISTAT.modelState = 1;
  DISTAT.databaseReady = 1;
  DICTL.nodeCount = 12;
  DICTL.modelName.word(1) = codeOf('X');
  io::unitClose(unit(kC));  // a unit that is not open is passed over

  DISTAT.initialised = 0;
  ASSERT_EQ(start(kOutputNeutral), 0);
  EXPECT_EQ(DISTAT.errorFlag(kB), 0);
  EXPECT_EQ(DISTAT.datasetKey(kC), 0);
  EXPECT_EQ(DISTAT.modelState, 0);
  EXPECT_EQ(DISTAT.databaseReady, 0);
  EXPECT_EQ(DICTL.nodeCount, 0);
  EXPECT_EQ(DICTL.modelName.word(1), kBlankCode);
  EXPECT_EQ(TMPBUF.channel(kA).position, 1);
  EXPECT_FALSE(io::unitIsOpen(unit(kC)));

  // The new stream replaces the old one on the file.
  const std::vector<int32_t> fresh = {1, 2, 3};
  TMPWRT(fresh, kA, flag);
  TMPFLS(kA, flag);
  ASSERT_EQ(flag, 0);
  TMPRST(kA);
  std::vector<int32_t> back(3);
  TMPRD(back, kA, flag);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(back, fresh);
  TMPRD(std::span<int32_t>(back.data(), 1), kA, flag);
  EXPECT_EQ(flag, 1) << "nothing of the old stream is left behind";
}

TEST_F(Start, DidbiMarksTheDatabaseReady) {
  DISTAT.modelActive = 1;
  int32_t opened = 0;
  int32_t ierr = -1;
  DIDBI(opened, ierr);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(DISTAT.modelActive, 0);
  EXPECT_EQ(DISTAT.databaseReady, 1);
}

}  // namespace
}  // namespace kvr
