#include "runtime/msgarg.h"

#include <gtest/gtest.h>

#include "msgfixture.h"
#include "runtime/codtxt.h"

namespace kvr {
namespace {

using test::Lines;

// The composer writes M messages only while commands are echoed; with the echo on, each
// composer call leaves one line on the message unit.
class Posting : public test::MessageFixture {
 protected:
  void SetUp() override {
    MessageFixture::SetUp();
    SYNSTA.echo = 1;
  }
};

TEST_F(Posting, SuppressedPostingSetsOnlyTheFlags) {
  MSGARG.suppress() = 1;
  MSGQIN(1500, 4);
  EXPECT_EQ(MSGARG.warningFlag(), 1);
  EXPECT_EQ(MSGARG.errorFlag(), 0);
  EXPECT_EQ(MSGARG.count(), 0);
  EXPECT_EQ(MSGARG.number(), 0);
  EXPECT_EQ(MSGARG.value(1), 0);
  MSGQ0(2500);
  EXPECT_EQ(MSGARG.errorFlag(), 1);
  EXPECT_TRUE(messages().empty());
}

TEST_F(Posting, NegativeNumbersQueueValuesAndAPositiveOneComposes) {
  MSGQRL(-5, 7);
  EXPECT_EQ(MSGARG.count(), 1);
  EXPECT_TRUE(messages().empty());
  MSGQIN(13, 3);
  EXPECT_EQ(MSGARG.value(1), 0x40E00000);  // 7.0
  EXPECT_EQ(MSGARG.type(1), MsgArg::kReal);
  EXPECT_EQ(MSGARG.value(2), 3);
  EXPECT_EQ(MSGARG.type(2), MsgArg::kInteger);
  EXPECT_EQ(MSGARG.number(), 13);
  EXPECT_EQ(MSGARG.count(), 0);
  EXPECT_EQ(messages(), (Lines{" M0013:Next number for new node must be 7"}));
  EXPECT_EQ(MSGARG.warningFlag(), 0);
}

TEST_F(Posting, NumberZeroQueuesWithoutComposing) {
  MSGQIN(0, 9);
  EXPECT_EQ(MSGARG.count(), 1);
  EXPECT_EQ(MSGARG.number(), 0);
  MsgArg before = MSGARG;
  MSGQ0(0);
  MSGQ0(-3);
  EXPECT_EQ(MSGARG.words, before.words);
  EXPECT_TRUE(messages().empty());
}

TEST_F(Posting, PostingWithoutValueComposesWithTheQueuedValues) {
  MSGQIN(-2500, 1);
  EXPECT_EQ(MSGARG.warningFlag(), 0);  // the signed number decides
  MSGQ0(2500);
  EXPECT_EQ(MSGARG.warningFlag(), 1);
  EXPECT_EQ(MSGARG.errorFlag(), 1);
  EXPECT_EQ(MSGARG.number(), 2500);
  EXPECT_EQ(MSGARG.count(), 0);     // composed: the queue is empty again
  EXPECT_TRUE(messages().empty());  // though 0500 lies beyond the catalogue
}

TEST_F(Posting, AnEleventhValueIsDropped) {
  for (int32_t k = 1; k <= 11; ++k) MSGQIN(-7, k);
  EXPECT_EQ(MSGARG.count(), 10);
  EXPECT_EQ(MSGARG.value(10), 10);
  EXPECT_EQ(MSGARG.warningFlag(), 0);  // word 30 is not a value slot
  MSGQIN(7, 12);
  EXPECT_EQ(MSGARG.count(), 0);
  EXPECT_EQ(messages(), (Lines{" M0007: Invalid input offset"}));
}

TEST_F(Posting, WordsFollowTheBlockOrder) {
  MSGARG.errorFlag() = 11;
  MSGARG.count() = 22;
  MSGARG.suppress() = 44;
  MSGARG.number() = 77;
  MSGARG.value(1) = 81;
  MSGARG.type(10) = 27;
  MSGARG.warningFlag() = 30;
  EXPECT_EQ(MSGARG.word(1), 11);
  EXPECT_EQ(MSGARG.word(2), 22);
  EXPECT_EQ(MSGARG.word(4), 44);
  EXPECT_EQ(MSGARG.word(7), 77);
  EXPECT_EQ(MSGARG.word(8), 81);
  EXPECT_EQ(MSGARG.word(27), 27);
  EXPECT_EQ(MSGARG.word(30), 30);
}

TEST_F(Posting, EntityLabelsArePostedAsTwoWords) {
  MSGENT(-2025, 3, 7);  // no model database yet: a blank label
  EXPECT_EQ(MSGARG.count(), 2);
  EXPECT_EQ(MSGARG.value(1), kBlankCode);
  EXPECT_EQ(MSGARG.value(2), kBlankCode);
  EXPECT_EQ(MSGARG.type(2), MsgArg::kInteger);

  MSGARG = {};
  setEntityLabelReader([](int32_t entity, int32_t kind, int32_t& w1, int32_t& w2) {
    w1 = entity;
    w2 = kind;
  });
  MSGENT(-2025, 3, 7);
  EXPECT_EQ(MSGARG.value(1), 3);
  EXPECT_EQ(MSGARG.value(2), 7);

  MSGARG = {};
  MSGENT(-2025, 15, 8);  // a node: its number as one real value
  EXPECT_EQ(MSGARG.count(), 1);
  EXPECT_EQ(MSGARG.value(1), 0x41700000);  // 15.0
}

TEST_F(Posting, FourValuesArePostedAsMessage3000) {
  static int dumps = 0;
  dumps = 0;
  setDatabaseDumper([] { ++dumps; });
  MSGQV4(8, 2, 3, 4);
  EXPECT_EQ(dumps, 1);
  EXPECT_EQ(MSGARG.number(), 3000);
  EXPECT_EQ(MSGARG.errorFlag(), 1);
  EXPECT_EQ(MSGARG.value(4), 0x40800000);  // 4.0
  EXPECT_EQ(MSGARG.count(), 0);
  EXPECT_EQ(messages(), (Lines{" F0000: 8 2 3 4 . Please report error."}));
  MSGQV4(17, 2, 3, 4);
  EXPECT_EQ(dumps, 1);
}

}  // namespace
}  // namespace kvr
