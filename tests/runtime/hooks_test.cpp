// The tables through which the runtime reaches the subsystems above it: what goes through
// each slot, and what an empty slot does (the subsystem absent).
#include <gtest/gtest.h>

#include <vector>

#include "msgfixture.h"
#include "runtime/console.h"
#include "runtime/msgarg.h"
#include "runtime/pltdev.h"
#include "runtime/pltops.h"
#include "runtime/pltpar.h"
#include "runtime/startup.h"

namespace kvr {
namespace {

std::vector<int32_t> gRecords;
int32_t gDatabaseEnds = 0;

void recordOpcode(int32_t opcode) { gRecords.push_back(opcode); }
void countDatabaseEnd() { ++gDatabaseEnds; }

// Each test changes the tables; the filled ones come back after it.
class Hooks : public test::MessageFixture {
 protected:
  void SetUp() override {
    MessageFixture::SetUp();
    SYNSTA.echo = 1;
    gRecords.clear();
    gDatabaseEnds = 0;
  }
  void TearDown() override {
    DSPHOOKS = savedDispatcher_;
    CATHOOKS = savedCatalogue_;
    RUNHOOKS = savedRun_;
    PLTDEV = {};
    MessageFixture::TearDown();
  }

 private:
  DispatcherHooks savedDispatcher_ = DSPHOOKS;
  CatalogueHooks savedCatalogue_ = CATHOOKS;
  RunHooks savedRun_ = RUNHOOKS;
};

TEST_F(Hooks, TheLinkedLibraryFillsEveryTable) {
  EXPECT_NE(DSPHOOKS.record, nullptr);
  EXPECT_NE(DSPHOOKS.console, nullptr);
  EXPECT_NE(DSPHOOKS.graphics, nullptr);
  EXPECT_NE(CONHOOKS.sharedStep, nullptr);
  EXPECT_NE(CONHOOKS.description, nullptr);
  EXPECT_NE(CONHOOKS.colourSetUp, nullptr);
  EXPECT_NE(CATHOOKS.compose, nullptr);
  EXPECT_NE(RUNHOOKS.resetDatabase, nullptr);
  EXPECT_NE(RUNHOOKS.endDatabase, nullptr);
}

// The operand goes into PLTPAR and one record to the dispatcher; the graphics close is
// held back in console mode only for X = 2.
TEST_F(Hooks, PlotRecordsOfTheRuntimeGoThroughTheDispatcherSlot) {
  DSPHOOKS.record = recordOpcode;
  PLTOBJ(3);
  EXPECT_EQ(PLTPAR.objectKind, 3);
  PLTCOL(4);
  EXPECT_EQ(PLTPAR.colour, 4);
  PLTDEV.outputMode = kOutputConsole;
  GFXCLS(2);
  GFXCLS(1);
  PLTDEV.outputMode = kOutputGraphics;
  GFXRQ2(2);
  EXPECT_EQ(gRecords, (std::vector<int32_t>{kOpObjectKind, kOpColour, kOpClose, kOpClose}));
}

TEST_F(Hooks, WithoutADispatcherRecordsAreDroppedAndABoxAnswersNothing) {
  DSPHOOKS = {};
  PLTPAR.answer = 5;
  PLTOBJ(7);
  EXPECT_EQ(PLTPAR.objectKind, 7);
  GFXCLS(1);
  FixedText title(8, "Title");
  FixedText text(8, "Text");
  EXPECT_EQ(MSGBOX(title, text, kIconError, kButtonsOk, 0), 0);
  LOGOPN(2, 1);
  EXPECT_EQ(PLTDEV.outputMode, kOutputNone);
}

TEST_F(Hooks, WithoutACatalogueAPostedMessageStaysQueued) {
  CATHOOKS = {};
  MSGQIN(13, 3);
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(MSGARG.number(), 13);
  EXPECT_EQ(MSGARG.count(), 1);
  EXPECT_EQ(MSGARG.value(1), 3);
}

TEST_F(Hooks, TheRunsEndAsksTheDatabaseSlotOnceAndGoesOnWithoutIt) {
  RUNHOOKS.endDatabase = countDatabaseEnd;
  STOPRN(0);
  EXPECT_EQ(gDatabaseEnds, 1);
  RUNHOOKS = {};
  STOPRN(0);
  EXPECT_EQ(gDatabaseEnds, 1);
}

}  // namespace
}  // namespace kvr
