#include "command/dumnam.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cmdfixture.h"
#include "runtime/gridmd.h"

namespace kvr {
namespace {

class Placeholders : public test::CommandFixture {
 protected:
  void TearDown() override {
    gApplicationMode = 0;
    test::CommandFixture::TearDown();
  }

  struct Result {
    ArgumentCheck check;
    std::vector<int32_t> text;
  };

  // Checks TOKEN (from position 3 of a line) as special KIND or, with OBJECT, object type
  // KIND; ROOM codes are left in the answer text store.
  static Result check(int32_t kind, const std::string& token, bool object = false,
                      size_t room = 255) {
    Result r;
    r.text.assign(room, kBlankCode);
    std::vector<int32_t> line = codes("  " + token + " X");
    r.check.text = r.text;
    r.check.nextMenu = 77;
    r.check.sign = -1;
    r.check.valueCode = -9;
    r.check.oper = -9;
    r.check.listValue = -9;
    r.check.real = 5.0f;
    const auto last = static_cast<int32_t>(token.size()) + 2;
    if (object) {
      DUMOLD(kind, line, 3, last, r.check);
    } else {
      DUMNAM(kind, line, 3, last, r.check);
    }
    return r;
  }
  static std::string text(const Result& r) {
    return chars(r.text, 1, r.check.listValue);
  }
};

TEST_F(Placeholders, NewObjectKindsTakeTheirName) {
  const Result r = check(22, "'LINE-NEW'");
  EXPECT_EQ(r.check.status, 0);
  EXPECT_EQ(r.check.valueCode, 0);
  EXPECT_EQ(r.check.listValue, 8);
  EXPECT_EQ(text(r), "DUMMYLIN");
  EXPECT_EQ(r.check.oper, 1);
  EXPECT_EQ(r.check.real, 0.0f);
  EXPECT_EQ(r.check.nextMenu, 77);  // passed through
  EXPECT_EQ(r.check.sign, -1);

  const struct {
    int32_t kind;
    std::string name;
  } names[] = {{21, "DUMMYPNT"}, {30, "DUMMYCYS"}, {31, "DUMMYLOD"}, {39, "DUMMYLOD"},
               {45, "DUMMYPNT"}, {52, "DUMMYNAM"}, {70, "DUMMYTCD"}, {77, "DUMMYRES"},
               {79, "DUMMYPNT"}};
  for (const auto& n : names) EXPECT_EQ(text(check(n.kind, "'X'")), n.name) << n.kind;
}

TEST_F(Placeholders, TheNameIsCutToTheRoomLeft) {
  const Result r = check(22, "'LINE-NEW'", false, 3);
  EXPECT_EQ(r.check.status, 0);
  EXPECT_EQ(r.check.listValue, 3);
  EXPECT_EQ(chars(r.text, 1, 3), "DUM");
}

TEST_F(Placeholders, ExistingObjectKindsNeedTheirKeyword) {
  const struct {
    int32_t kind;
    std::string token;
    int32_t status;
  } cases[] = {
      {2, "'LINE-OLD'", 0},      {2, "'LINE-OLDX'", -1},  {2, "'LINE-OLD'X", 0},
      {2, "'LINE-OL", -1},       {1, "'POINT-OLD'", 0},   {11, "'LOAD-OLD'", 0},
      {11, "'BOUND-OLD'", -1},   {14, "'NODE-OLD'", 0},   {62, "'LMDEF-OLD'", 0},
      {66, "'PMOD-OLD'", 0},     {78, "'POINT-OLD'", 0},  {100, "'POINT-OLD'", 0},
      {34, "ANYTHING", 0},       {35, "'X'", 0},
  };
  for (const auto& c : cases) {
    const Result r = check(c.kind, c.token);
    EXPECT_EQ(r.check.status, c.status) << c.kind << " " << c.token;
    if (c.status == 0) {
      EXPECT_EQ(r.check.valueCode, 1) << c.kind;
      EXPECT_EQ(r.check.listValue, 1) << c.kind;
    }
  }
}

TEST_F(Placeholders, KindsWithoutPlaceholderRefuse) {
  for (int32_t kind : {8, 9, 17, 18, 19, 51, 60, 61, 64, 0, 101, -3}) {
    EXPECT_EQ(check(kind, "'POINT-OLD'").check.status, -1) << kind;
  }
}

TEST_F(Placeholders, GridVocabularyKeywords) {
  gApplicationMode = kGridVocabularyMode;
  EXPECT_EQ(check(14, "'NODE-OLD'").check.status, -1);
  const Result r = check(14, "'VERTEX-OLD'");
  EXPECT_EQ(r.check.status, 0);
  EXPECT_EQ(r.check.listValue, 1);
  EXPECT_EQ(check(15, "'CELL-OLD'").check.status, 0);
  EXPECT_EQ(check(11, "'BOUND-OLD'").check.status, 0);
  EXPECT_EQ(check(62, "'BCMDEF-OLD'").check.status, 0);
  EXPECT_EQ(check(2, "'LINE-OLD'").check.status, 0);  // no grid form of its own
}

TEST_F(Placeholders, DefinitionKindsFollowAnswer3) {
  EXPECT_EQ(check(67, "'POINT-OLD'").check.status, 0);  // fewer than three answers
  MNUCTL.answerCount = 3;
  int32_t status = -1;
  for (int32_t a3 : {432, 434, -8, -9}) {
    P4ITEM(3, a3, status);
    for (int32_t kind : {67, 68, 69}) {
      EXPECT_EQ(check(kind, "'POINT-OLD'").check.status, -1) << kind << " " << a3;
    }
  }
  P4ITEM(3, 433, status);
  EXPECT_EQ(check(68, "'POINT-OLD'").check.status, 0);
}

TEST_F(Placeholders, ObjectTypes) {
  EXPECT_EQ(text(check(26, "'LINE-NEW'", true)), "DUMMYLIN");
  EXPECT_EQ(text(check(28, "'CSYS-NEW'", true)), "DUMMYSYS");
  EXPECT_EQ(text(check(34, "'X'", true)), "DUMMYMON");
  EXPECT_EQ(check(12, "'SET-OLD'", true).check.status, 0);
  EXPECT_EQ(check(31, "'SYM-SET-OLD'", true).check.status, 0);
  EXPECT_EQ(check(31, "'SYM-SET-NEW'", true).check.status, -1);
  EXPECT_EQ(check(36, "'NODE-OLD'", true).check.listValue, 1);
  for (int32_t type : {1, 11, 25, 33, 38}) {
    EXPECT_EQ(check(type, "'SET-OLD'", true).check.status, -1) << type;
  }
}

}  // namespace
}  // namespace kvr
