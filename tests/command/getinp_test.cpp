#include "command/getinp.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "command/synsta.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/iounit.h"
#include "testsupport.h"

namespace {

std::vector<int32_t> codes(const std::string& text) {
  std::vector<int32_t> line;
  for (char c : text) line.push_back(kvr::codeOf(c));
  return line;
}

std::string text(const std::vector<int32_t>& line) {
  std::string s;
  for (int32_t code : line) s.push_back(kvr::charOf(code));
  return s;
}

// The terminal: standard input reads the file "in", standard output writes "out".
class Getinp : public ::testing::Test {
 protected:
  void TearDown() override {
    kvr::io::redirectStandardUnit(kvr::io::kStdinUnit, -1);
    kvr::io::redirectStandardUnit(kvr::io::kStdoutUnit, -1);
    kvr::IOUNIT.slot(kvr::kSlotTerminalInput) = 0;
    kvr::IOUNIT.slot(kvr::kSlotTerminalOutput) = 0;
  }

  void typeIn(const std::string& bytes) {
    kvr::test::writeFile(dir_.file("in"), bytes);
    int in = ::open(dir_.file("in").c_str(), O_RDONLY);
    int out = ::open(dir_.file("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    kvr::io::redirectStandardUnit(kvr::io::kStdinUnit, in);
    kvr::io::redirectStandardUnit(kvr::io::kStdoutUnit, out);
    ::close(in);
    ::close(out);
    kvr::IOUNIT.slot(kvr::kSlotTerminalInput) = kvr::io::kStdinUnit;
    kvr::IOUNIT.slot(kvr::kSlotTerminalOutput) = kvr::io::kStdoutUnit;
  }

  std::string shown() {
    kvr::io::unitFlush(kvr::io::kStdoutUnit);
    return kvr::test::readFile(dir_.file("out"));
  }

  // One prompt: answers the result and leaves the answer in ANSWER.
  int32_t ask(const std::string& prompt, int32_t echo, int32_t upcase, int32_t maximum,
              std::vector<int32_t>& answer) {
    std::vector<int32_t> line = codes(prompt);
    kvr::FixedText title(14, "Input required");
    int32_t result = 99;
    kvr::GETINP(echo, 0, 0, 1, 50, title, line, static_cast<int32_t>(line.size()), upcase,
                answer, maximum, result);
    return result;
  }

  kvr::test::TempDir dir_;
};

TEST_F(Getinp, EchoesThePromptThenAsksWithoutANewLine) {
  typeIn("  dump1\n");
  std::vector<int32_t> answer(12, 0);
  EXPECT_EQ(ask("Name =>", 2, 1, 10, answer), kvr::kInputGiven);
  EXPECT_EQ(shown(), " Name =>\nName =>");
  EXPECT_EQ(text(answer).substr(0, 10), "DUMP1     ");
  EXPECT_EQ(answer[10], 0);  // nothing past the maximum
}

TEST_F(Getinp, RepliesAndTheirResults) {
  struct Case {
    std::string typed;
    int32_t upcase;
    int32_t result;
    const char* answer;
  };
  const Case cases[] = {
      {"  dump1  \n", 0, 1, "dump1   "},
      {"a longer reply\n", 1, 1, "A LONGER"},  // cut at the maximum
      {std::string("ab\0cd\n", 6), 1, 1, "AB      "},  // cut at a NUL
      {"      \n", 1, 0, "        "},
      {"\n", 1, 0, "        "},
      {" / \n", 1, -1, "        "},
      {"", 1, -1, "        "},                   // end of input
  };
  for (const Case& c : cases) {
    typeIn(c.typed);
    std::vector<int32_t> answer(8, 0);
    EXPECT_EQ(ask("  Name =>  ", 0, c.upcase, 8, answer), c.result) << c.typed;
    EXPECT_EQ(text(answer), c.answer) << c.typed;
    EXPECT_EQ(shown(), "Name =>") << c.typed;
  }
}

TEST_F(Getinp, PutsTheSynonymsFlagBack) {
  typeIn("x\n");
  kvr::SYNSTA.active = 1;
  std::vector<int32_t> answer(4, 0);
  ask("?", 0, 1, 4, answer);
  EXPECT_EQ(kvr::SYNSTA.active, 1);
}

}  // namespace
