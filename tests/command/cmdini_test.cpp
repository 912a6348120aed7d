#include "command/cmdini.h"

#include <gtest/gtest.h>

#include <cstring>

#include "../runtime/settingsfixture.h"
#include "command/cmdlin.h"
#include "command/mnuctl.h"
#include "messages/synsta.h"
#include "runtime/chrset.h"
#include "runtime/iomode.h"

namespace {

using kvr::CMDLIN;
using kvr::MNUCTL;

class Cmdini : public kvr::test::SettingsFixture {
 protected:
  void SetUp() override {
    SettingsFixture::SetUp();
    kvr::CHRSET();
    kvr::SYNSTA.echo = 0;
    kvr::SYNSTA.active = 1;
    kvr::SYNSTA.count = 5;
    // Every word CMDINI resets holds something else.
    MNUCTL = {};
    MNUCTL.menuLevel = 9;
    MNUCTL.answerCount = 12;
    MNUCTL.charsPerWord = 4;
    MNUCTL.integerCount = 5;
    CMDLIN.pending = 17;
    CMDLIN.continuations = 2;
    CMDLIN.textFill = 6;
    kvr::gLastValues = {7, 1.5f, 2.5f, 3.5f, 4.5f, {5.5f, 6.5f}};
  }
  void TearDown() override {
    MNUCTL = {};
    CMDLIN = {};
    kvr::gLastValues = {};
    kvr::SYNSTA = {};
    SettingsFixture::TearDown();
  }
};

TEST_F(Cmdini, ResetsTheCommandProcessor) {
  // The input words of IOMODE belong to the input sources and stay as they are.
  kvr::IOMODE.inputUnit = 40;
  kvr::IOMODE.inputMode = kvr::kInputCommandFile;
  kvr::IOMODE.endOfInput = 1;
  kvr::IOMODE.commandFileLength = 3;
  const kvr::IoMode before = kvr::IOMODE;

  int32_t status = -1;
  kvr::CMDINI(status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(MNUCTL.menuLevel, 2);
  EXPECT_EQ(MNUCTL.answerCount, 0);
  EXPECT_EQ(MNUCTL.charsPerWord, 1);
  EXPECT_EQ(CMDLIN.pending, 0);
  EXPECT_EQ(CMDLIN.continuations, 0);
  const kvr::LastValues& last = kvr::gLastValues;
  EXPECT_EQ(last.integer, 0);
  EXPECT_EQ(last.real, 0.0f);
  EXPECT_EQ(last.x, 0.0f);
  EXPECT_EQ(last.y, 0.0f);
  EXPECT_EQ(last.z, 0.0f);
  EXPECT_EQ(last.ndc[0], 0.0f);
  EXPECT_EQ(last.ndc[1], 0.0f);
  EXPECT_EQ(kvr::SYNSTA.echo, 1);
  EXPECT_EQ(kvr::SYNSTA.active, 0);
  // The synonym file was read: there is none here, so the table is empty.
  EXPECT_EQ(kvr::SYNSTA.count, 0);
  // Words of the parse loop that are not CMDINI's stay.
  EXPECT_EQ(MNUCTL.integerCount, 5);
  EXPECT_EQ(CMDLIN.textFill, 6);
  EXPECT_EQ(std::memcmp(&before, &kvr::IOMODE, sizeof before), 0);
}

TEST_F(Cmdini, ExpertMenusRaiseTheMenuLevel) {
  struct Case {
    const char* setting;  // nullptr: none
    int32_t level;
  };
  const Case cases[] = {{"Quorin.*.HCI.ExpertMenus: TRUE", 3},
                        {"Quorin.*.HCI.ExpertMenus: t", 3},
                        {"Quorin.*.HCI.ExpertMenus: FALSE", 2},
                        {"Quorin.*.MESH.ExpertMenus: TRUE", 2},
                        {nullptr, 2}};
  for (const Case& c : cases) {
    kvr::test::writeFile(dir.file("quorin.ini"), c.setting ? std::string(c.setting) + "\n" : "");
    int32_t status = -1;
    kvr::CMDINI(status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(MNUCTL.menuLevel, c.level) << (c.setting ? c.setting : "no setting");
  }
}

}  // namespace
