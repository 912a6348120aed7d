#include "runtime/hostcb.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cmdline.h"

namespace kvr {
namespace {

class CommandLine : public ::testing::Test {
 protected:
  void TearDown() override { clearCommandLineOverride(); }
};

TEST_F(CommandLine, ArgumentsAfterTheProgramAreCountedAndFetched) {
  setCommandLineOverride({"prog", "-NoBells", "x"});
  EXPECT_EQ(ARGNUM(), 2);
  FixedText text(6, "junk");
  ARGGET(0, text);
  EXPECT_EQ(text.view(), "prog  ");
  ARGGET(1, text);
  EXPECT_EQ(text.view(), "-NoBel");  // cut at the text's length
  ARGGET(3, text);
  EXPECT_EQ(text.view(), "      ");
  ARGGET(-1, text);
  EXPECT_EQ(text.view(), "      ");
}

TEST_F(CommandLine, TheProcessCommandLineIsReadWithoutOverride) {
  // The test program itself was started with at least its own name.
  ASSERT_FALSE(commandLine().empty());
  EXPECT_NE(commandLine()[0].find("runtime_tests"), std::string::npos);
  EXPECT_EQ(ARGNUM(), static_cast<int32_t>(commandLine().size()) - 1);
}

TEST(HostCallbacks, ResourceReaderFindsNothing) {
  int32_t a = 1, b = 2, word = 3, status = 0;
  FixedText value(255, "default");
  RESHST(a, b, FixedText(25, "Alpha"), FixedText(25, "Geometry"), value, word, status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(value.trimmed(), "default");
}

TEST(HostCallbacks, ProgramNameIsNeutral) {
  FixedText a(10, "xxxxxxxxxx");
  FixedText b(4, "yyyy");
  int32_t i[5] = {1, 2, 3, 4, 5};
  int32_t flag = 9;
  EXPECT_EQ(PRGNAM(a, b, i[0], i[1], i[2], i[3], i[4], flag), 1);
  EXPECT_EQ(a.view(), "NEUTRAL   ");
  EXPECT_EQ(b.view(), "    ");
  for (int32_t v : i) EXPECT_EQ(v, 0);
}

struct SeenCall {
  HostCommand callback;
  int32_t position;
  int32_t code;
  std::string first;
  std::string second;
  std::string third;
  bool operator==(const SeenCall&) const = default;
};
std::vector<SeenCall> gSeen;

TEST(HostCallbacks, CommandCallbacksAreEmptyButObserved) {
  gSeen.clear();
  setHostCommandObserver([](HostCommand callback, int32_t position, int32_t code, FText first,
                            FText second, FText third) {
    gSeen.push_back({callback, position, code, first.trimmed(), second.trimmed(), third.trimmed()});
  });
  FixedText command(255, "FILE OPEN");
  FixedText rest(255, "X");
  FixedText pick(30, "pick node");
  HCCMD1(command);
  HCCMD2(command);
  HCCMD3(command, 6, rest);
  HCDLG(2, 8, command, rest, pick);
  setHostCommandObserver(nullptr);
  HCCMD1(command);
  EXPECT_EQ(gSeen, (std::vector<SeenCall>{
                       {HostCommand::HCCMD1, 0, 0, "FILE OPEN", "", ""},
                       {HostCommand::HCCMD2, 0, 0, "FILE OPEN", "", ""},
                       {HostCommand::HCCMD3, 6, 0, "FILE OPEN", "X", ""},
                       {HostCommand::HCDLG, 2, 8, "FILE OPEN", "X", "pick node"},
                   }));
  // The callbacks themselves change nothing.
  EXPECT_EQ(command.trimmed(), "FILE OPEN");
  EXPECT_EQ(pick.trimmed(), "pick node");
}

}  // namespace
}  // namespace kvr
