#include "command/vallst.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cmdfixture.h"
#include "runtime/iomode.h"

namespace kvr {
namespace {

using test::Lines;

class TypedArguments : public test::CommandFixture {
 protected:
  // Writes LINES as the graph file NAME and answers its path.
  std::string graphFile(const std::string& name, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& l : lines) bytes += l + "\n";
    test::writeFile(dir.file(name), bytes);
    return dir.file(name);
  }

  struct Read {
    int32_t status = -9;
    int32_t columns = -9;
  };
  static Read read(const std::string& name, ValueList& list, int32_t quiet = 0) {
    Read r;
    FixedText text(255, name);
    GRFRD2(text, list, quiet, r.columns, r.status);
    return r;
  }

  // Entry K of LIST as (kind, value, trimmed text).
  struct Entry {
    int32_t kind;
    int32_t value;
    std::string text;
    bool operator==(const Entry&) const = default;
  };
  static Entry entry(ValueList& list, int32_t k) {
    return {list.kind(k), list.value(k), list.text(k).trimmed()};
  }
  static std::vector<Entry> entries(ValueList& list) {
    std::vector<Entry> all;
    for (int32_t k = 1; k <= list.count; ++k) all.push_back(entry(list, k));
    return all;
  }

  // LIST filled with COUNT entries "V1", "V2", ...
  static void fill(ValueList& list, int32_t count) {
    for (int32_t k = 1; k <= count; ++k) list.append(-110, 2, "V" + std::to_string(k));
  }

  // Answer 4 of the current command names TEXT.
  static void answerFourNames(const std::string& text) {
    int32_t status = -1;
    P4ITEM(4, storeText(text, 1), status);
    ASSERT_EQ(status, 0);
  }

  static void setSlot(int32_t k, const std::string& name) {
    auto& slot = IOMODE.nameSlot(k);
    for (size_t j = 0; j < name.size(); ++j) slot.codes[j] = codeOf(name[j]);
    slot.count = static_cast<int32_t>(name.size());
  }

  // VALCHK of TOKEN (the whole line) for KIND, next menu 64 and sign -1 coming in, with
  // ROOM positions of the text store left.
  struct Checked {
    ArgumentCheck check;
    std::vector<int32_t> text;
  };
  static Checked check(int32_t kind, const std::string& token, size_t room = 255) {
    Checked c;
    c.text.assign(room, kBlankCode);
    c.check.text = c.text;
    c.check.nextMenu = 64;
    c.check.sign = -1;
    const std::vector<int32_t> line = codes(token);
    VALCHK({}, kind, line, 1, static_cast<int32_t>(line.size()), 4, c.check);
    return c;
  }

  static const std::vector<std::string> kTimeAndStress;
};

const std::vector<std::string> TypedArguments::kTimeAndStress = {
    "kavro graph format #2 (test)", "COL, TIME", "COL: STRESS-XX-MAXIMUM", "COL, TIME",
    "1.0 2.0", "COL, LATE"};

TEST_F(TypedArguments, GraphFileColumnsUpToTheFirstNumber) {
  ValueList list(100, 80);
  const Read r = read(graphFile("g.grf", kTimeAndStress), list);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.columns, 3);
  EXPECT_EQ(entries(list), (std::vector<Entry>{{-203, 4, "TIME"}, {-203, 12, "STRESS-XX-MA"}}));
  EXPECT_EQ(messages(), Lines{});
}

TEST_F(TypedArguments, GraphFileLinesAndTheirColumns) {
  struct Case {
    std::vector<std::string> body;  // the lines after the header
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {{"COL, lower"}, {"LOWER"}},
      {{"COLUMN; A B"}, {"A"}},
      {{"XCOL, A"}, {}},
      {{"COL, , A"}, {}},                // a second separator ends the line
      {{"COL X Y: Z"}, {"Z"}},           // tokens before the separator are skipped
      {{"COL, 5 Z"}, {"Z"}},             // after it a number is skipped, not the end
      {{"COL, AB*.CD"}, {"AB"}},         // the text ends at the terminator
      {{"COL, #NAME"}, {"NAME"}},        // a leading "#" is passed over
      {{"COL, ! A"}, {}},                // the rest of the line is a comment
      {{"COL, A", "", "COL, B"}, {"A", "B"}},
      {{"COL, A", "NAME 7", "COL, B"}, {"A"}},  // the number ends the header part
      {{"COL, " + std::string(300, 'Q')}, {"QQQQQQQQQQQQ"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> file{"KAVRO GRAPH FORMAT #2"};
    file.insert(file.end(), c.body.begin(), c.body.end());
    ValueList list(100, 80);
    const Read r = read(graphFile("c.grf", file), list, 1);
    std::vector<std::string> names;
    for (int32_t k = 1; k <= list.count; ++k) names.push_back(list.text(k).trimmed());
    EXPECT_EQ(names, c.names) << c.body.front();
    EXPECT_EQ(r.status, c.names.empty() ? 3 : 0) << c.body.front();
  }
}

TEST_F(TypedArguments, CommentsAndAHashComeBeforeTheHeader) {
  ValueList list(100, 80);
  const Read r = read(graphFile("h.grf", {"! comment", "", "* also", "# KAVRO GRAPH FORMAT #2 and more",
                                          "COL, A"}),
                      list);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(entries(list), (std::vector<Entry>{{-203, 1, "A"}}));
}

TEST_F(TypedArguments, GraphFileFaultsAndTheirMessages) {
  struct Case {
    std::vector<std::string> lines;
    int32_t status;
    const char* message;
  };
  const Case cases[] = {
      {{"KAVRO GRAPH FORMAT #2", "1.0 2.0", "COL, A"}, 3, " E3140: No header lines found in file"},
      {{"COL, A"}, 1, " E3110: Incompatible file format"},
      {{"KAVRO GRAPH FORMAT #1", "COL, A"}, 1, " E3110: Incompatible file format"},
      {{"", "! only a comment"}, 1, " E3110: Incompatible file format"},
      {{"1.0 KAVRO GRAPH FORMAT #2"}, 1, " E3110: Incompatible file format"},
  };
  for (const Case& c : cases) {
    for (int32_t quiet : {0, 1, 3}) {
      ValueList list(100, 80);
      list.append(-110, 1, "X");
      const Read r = read(graphFile("f.grf", c.lines), list, quiet);
      EXPECT_EQ(r.status, c.status) << c.lines.front();
      EXPECT_EQ(list.count, 1) << c.lines.front();
    }
    // Only the call with quiet flags 0 speaks.
    EXPECT_EQ(messages(), Lines{c.message}) << c.lines.front();
    io::unitClose(kMessageUnit);
    openUnit(kMessageUnit, "messages.txt");
  }
}

TEST_F(TypedArguments, AFullListEndsWithTheHeaderPlaceholder) {
  const std::string name = graphFile("g.grf", kTimeAndStress);
  ValueList nearly(100, 80);
  fill(nearly, 99);
  Read r = read(name, nearly);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(nearly.count, 100);
  EXPECT_EQ(entry(nearly, 100), (Entry{5, 8, "'header'"}));

  ValueList full(100, 80);
  fill(full, 100);
  r = read(name, full);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(full.count, 100);
  EXPECT_EQ(entry(full, 100), (Entry{-110, 2, "V100"}));
  EXPECT_EQ(messages(), Lines{});

  // A column equal to an entry of an earlier call is no duplicate of this one.
  ValueList earlier(100, 80);
  earlier.append(-203, 4, "TIME");
  r = read(name, earlier);
  EXPECT_EQ(earlier.count, 3);
}

TEST_F(TypedArguments, AFileThatCannotBeOpened) {
  ValueList list(100, 80);
  Read r = read(dir.file("absent.grf"), list);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(list.count, 0);
  EXPECT_EQ(messages(), Lines{" E3380: Failed to open input file"});

  r = read(dir.file("absent.grf"), list, 1);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(messages(), Lines{" E3380: Failed to open input file"});

  r = read("'file'", list);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(entries(list), (std::vector<Entry>{{5, 8, "'header'"}}));
  ValueList full(1, 80);
  fill(full, 1);
  r = read("'file'", full);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(entry(full, 1), (Entry{-110, 2, "V1"}));
}

TEST_F(TypedArguments, TheColumnKindReadsTheFileOfAnswerFour) {
  ValueList list(100, 80);
  answerFourNames(dir.file("missing.grf"));
  int32_t status = -9;
  VALLST({}, 203, list, status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(list.count, 0);
  EXPECT_EQ(messages(), Lines{" E3100: Cannot find specified file"});

  // Double quotes around the name are dropped.
  answerFourNames("\"" + graphFile("g.grf", kTimeAndStress) + "\"");
  VALLST({}, 203, list, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(list.count, 2);

  answerFourNames("'file'");
  VALLST({}, 203, list, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(entry(list, 3), (Entry{5, 8, "'header'"}));
  EXPECT_EQ(messages(), Lines{" E3100: Cannot find specified file"});
}

TEST_F(TypedArguments, AnsfilGivesTheNameAndWhetherItIsMissing) {
  const std::string path = graphFile("g.grf", {});
  answerFourNames(path);
  FixedText name(255);
  std::array<int32_t, 300> line{};
  int32_t missing = -1;
  ANSFIL(4, 255, name, line, missing);
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(name.trimmed(), path);
  EXPECT_EQ(chars(line, 1, static_cast<int32_t>(path.size())), path);
  EXPECT_EQ(line[path.size()], kBlankCode);
  EXPECT_EQ(line[255], 0);  // beyond the maximum nothing is touched

  // Cut to the maximum: the first three characters name no file.
  ANSFIL(4, 3, name, line, missing);
  EXPECT_EQ(missing, 1);
  EXPECT_EQ(name.trimmed(), path.substr(0, 3));
}

TEST_F(TypedArguments, NameKindsReadTheirSlot) {
  ValueList list(100, 80);
  int32_t status = -9;
  VALLST({}, 201, list, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(entries(list), (std::vector<Entry>{{-201, 0, ""}}));
  EXPECT_EQ(check(201, "A").check.status, -1);

  setSlot(2, "ABC");
  setSlot(3, "XY");
  VALLST({}, 201, list, status);
  VALLST({}, 202, list, status);
  VALLST({}, 250, list, status);  // slot 51: beyond the table, empty
  EXPECT_EQ(entry(list, 2), (Entry{-201, 3, "ABC"}));
  EXPECT_EQ(entry(list, 3), (Entry{-202, 2, "XY"}));
  EXPECT_EQ(entry(list, 4), (Entry{-250, 0, ""}));

  struct Case {
    int32_t kind;
    const char* token;
    int32_t status;
    int32_t listValue;
  };
  const Case cases[] = {{201, "ab", 2, 3}, {201, "ABC", 0, 3}, {201, "ABCD", -1, 3},
                        {201, "X", -1, 3}, {202, "x", 1, 4},   {250, "A", -1, 52}};
  for (const Case& c : cases) {
    const Checked r = check(c.kind, c.token);
    EXPECT_EQ(r.check.status, c.status) << c.token;
    EXPECT_EQ(r.check.valueCode, 1) << c.token;
    EXPECT_EQ(r.check.oper, 1) << c.token;
    EXPECT_EQ(r.check.listValue, c.listValue) << c.token;
    EXPECT_EQ(r.check.nextMenu, 64) << c.token;
    EXPECT_EQ(r.check.sign, -1) << c.token;
  }

  ValueList full(1, 80);
  fill(full, 1);
  VALLST({}, 201, full, status);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(full.count, 1);
}

TEST_F(TypedArguments, AColumnAnswerIsAnyTextOfTwelveCodes) {
  Checked r = check(203, "abcdefghijkl");
  EXPECT_EQ(r.check.status, 0);
  EXPECT_EQ(r.check.valueCode, 0);
  EXPECT_EQ(r.check.oper, 1);
  EXPECT_EQ(r.check.real, 0.0f);
  EXPECT_EQ(r.check.listValue, 12);
  EXPECT_EQ(chars(r.text, 1, 13), "ABCDEFGHIJKL ");
  EXPECT_EQ(r.check.nextMenu, 64);
  EXPECT_EQ(r.check.sign, -1);

  r = check(203, "ABCDEFGHIJKLM");
  EXPECT_EQ(r.check.status, -1);
  EXPECT_EQ(r.text[0], kBlankCode);

  // The copy stops where the answer text store ends.
  r = check(203, "ABCDEFGHIJKL", 5);
  EXPECT_EQ(r.check.status, 0);
  EXPECT_EQ(r.check.listValue, 5);
  EXPECT_EQ(chars(r.text, 1, 5), "ABCDE");
}

TEST_F(TypedArguments, KindsOfOtherFamiliesReachTheirBuilders) {
  // A special kind offers its keyword (kind 100 has none); the property words expect
  // nothing at load, and no analysis program is switched on. None takes "ANY" here.
  struct Case {
    int32_t kind;
    std::vector<std::string> texts;
  } cases[] = {{1, {"'point-old'"}}, {100, {""}}, {301, {}}, {400, {}},
               {401, {}},            {402, {}},   {403, {}}, {405, {}}};
  for (const Case& c : cases) {
    ValueList list(100, 80);
    int32_t status = -9;
    VALLST({}, c.kind, list, status);
    EXPECT_EQ(status, 0) << c.kind;
    std::vector<std::string> texts;
    for (int32_t k = 1; k <= list.count; ++k) texts.push_back(list.text(k).trimmed());
    EXPECT_EQ(texts, c.texts) << c.kind;
    EXPECT_EQ(check(c.kind, "ANY").check.status, -1) << c.kind;
  }
  EXPECT_EQ(messages(), Lines{});
}

TEST_F(TypedArguments, TheCheckLeavesTheCommandLineAlone) {
  const std::vector<int32_t> line = codes("x abc y");
  std::vector<int32_t> text(255, kBlankCode);
  ArgumentCheck c;
  c.text = text;
  VALCHK({}, 203, line, 3, 5, 1, c);
  EXPECT_EQ(chars(line, 1, 7), "x abc y");
  EXPECT_EQ(chars(text, 1, 3), "ABC");
}

}  // namespace
}  // namespace kvr
