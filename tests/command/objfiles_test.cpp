// The object types that read no model database: model files of the current directory,
// window names, header names of a list file, and the checks of plain words.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cmdfixture.h"
#include "command/dbflst.h"
#include "command/lstfnd.h"
#include "command/objrec.h"
#include "objfixture.h"
#include "runtime/fileutil.h"
#include "runtime/slttab.h"

namespace kvr {
namespace {

using test::Lines;

class ObjectFiles : public test::CommandFixture, public test::ObjectCalls {
 protected:
  void SetUp() override {
    test::CommandFixture::SetUp();
    SLTTAB = {};
  }
  void TearDown() override {
    SLTTAB = {};
    test::CommandFixture::TearDown();
  }

  void touch(const std::vector<std::string>& names) {
    for (const std::string& n : names) test::writeFile(dir.file(n), "x");
  }

  static std::vector<std::string> modelNames(int32_t selection, int32_t maximum = 10,
                                             int32_t* status = nullptr) {
    std::vector<ModelFile> files(10);
    int32_t count = -1, st = -1;
    DBFLST(selection, 1, 1, maximum, files, count, st);
    if (status != nullptr) *status = st;
    std::vector<std::string> names;
    for (int32_t k = 0; k < count; ++k) {
      const ModelFile& f = files[static_cast<size_t>(k)];
      names.push_back(std::string(f.name.data(), static_cast<size_t>(f.length)));
    }
    return names;
  }

  static const Entry kModel;
};

const test::ObjectCalls::Entry ObjectFiles::kModel{5, 7, "'model'"};

TEST_F(ObjectFiles, ModelFilesBySelection) {
  touch({"A.G71", "A.M71", "A.V71", "B.G70", "notes.txt", "C.X71"});
  const Entry a{-110, 20, "A"};
  const Entry b{-110, 20, "B"};
  Listed l = list(10);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.entries, (Entries{a, kModel}));
  EXPECT_EQ(list(13).entries, (Entries{a, kModel}));
  EXPECT_EQ(list(15).entries, (Entries{a, kModel}));
  EXPECT_EQ(list(14).entries, (Entries{b, kModel}));
  EXPECT_EQ(list(16).entries, (Entries{kModel}));
  EXPECT_EQ(modelNames(4), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(messages(), Lines{});
}

TEST_F(ObjectFiles, ModelFilesInAnyCase) {
  // Extensions count without regard to case; the model keeps its file's case.
  touch({"a.m71", "a.v71", "A.G70"});
  EXPECT_EQ(list(15).entries, (Entries{{-110, 20, "a"}, kModel}));
  EXPECT_EQ(list(13).entries, (Entries{kModel}));
  // The model of A.G70 and that of a.m71 are one: listed once.
  EXPECT_EQ(modelNames(4), (std::vector<std::string>{"A"}));
}

TEST_F(ObjectFiles, ModelProbeKeptBesideTheName) {
  touch({"BEAM.G71", "BEAM.M64", "BEAM.V64"});
  std::vector<ModelFile> files(3);
  int32_t count = -1, status = -1;
  DBFLST(1, 1, 1, 3, files, count, status);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(files[0].length, 4);
  EXPECT_EQ(files[0].geoExists, 1);
  EXPECT_EQ(files[0].modelExists, 0);
  EXPECT_EQ(files[0].geoGens, 0);
  EXPECT_EQ(files[0].modelGens, 9);  // .M64 is the second generation back of ten
  EXPECT_EQ(std::string(files[1].name.data(), 20), std::string(20, ' '));

  DBFLST(1, 0, 0, 3, files, count, status);  // without the switches only the names
  EXPECT_EQ(files[0].length, 0);
  EXPECT_EQ(files[0].modelGens, 0);
}

TEST_F(ObjectFiles, FullModelListEndsWithE4070) {
  touch({"A.G71", "B.G71", "C.G71"});
  int32_t status = -1;
  EXPECT_EQ(modelNames(1, 1, &status), (std::vector<std::string>{"A"}));
  EXPECT_EQ(status, 0);
  EXPECT_EQ(messages(), (Lines{" E4070: Insufficient array space"}));

  // In the value list the last place takes the placeholder.
  const Listed l = list(10, {}, 2);
  EXPECT_EQ(l.status, 2);
  EXPECT_EQ(l.entries, (Entries{{-110, 20, "A"}, kModel}));
}

TEST_F(ObjectFiles, DirectoryThatCannotBeListed) {
  touch({"A.G71"});
  test::SavedEnv saved({"TMPDIR"});
  setenv("TMPDIR", dir.file("missing").c_str(), 1);
  const Listed l = list(10);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.entries, (Entries{kModel}));
  EXPECT_EQ(messages(), (Lines{" E4380: Cannot interrogate directory"}));
  int32_t status = -1;
  modelNames(1, 10, &status);
  EXPECT_EQ(status, 1);
}

TEST_F(ObjectFiles, WindowNamesOfTheCurrentDirectory) {
  FixedText current(255);
  CURDIR(current);
  const struct {
    int32_t slot, key, type;
    std::string name;
    bool here;
  } slots[] = {{2, 7, 4, "WIN-A", true}, {3, 8, 3, "PLOT", true}, {5, 9, 4, "ELSEWHERE", false},
               {9, 4, 4, "WIN-B", true}};
  for (const auto& s : slots) {
    SLTTAB.key(s.slot) = s.key;
    SLTTAB.typeWord(s.slot) = s.type;
    SLTTAB.name(s.slot).assign(s.name);
    SLTTAB.directory(s.slot).assign(s.here ? current.view() : "/elsewhere");
  }
  const Listed l = list(9);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.entries, (Entries{{-109, 20, "WIN-A"}, {-109, 20, "WIN-B"}, {5, 6, "'name'"}}));
  EXPECT_EQ(list(60).entries, l.entries);
  EXPECT_EQ(list(9, {}, 2).entries, (Entries{{-109, 20, "WIN-A"}, {5, 6, "'name'"}}));

  int32_t count = -1;
  WINCNT(count);
  EXPECT_EQ(count, 4);
  FixedText name(20), directory(255);
  int32_t inUse = 0, type = 0, flag1 = 0, flag2 = 0, missing = -1;
  SLTTAB.flag(2, 5) = 12;
  WINSLT(-3, inUse, name, type, flag1, flag2, directory, missing);
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(inUse, 9);
  EXPECT_EQ(name.trimmed(), "ELSEWHERE");
  EXPECT_EQ(flag2, 12);
  EXPECT_EQ(directory.trimmed(), "/elsewhere");
  WINSLT(4, inUse, name, type, flag1, flag2, directory, missing);  // by key
  EXPECT_EQ(name.trimmed(), "WIN-B");
  for (int32_t slot : {-5, 5, 0}) {
    WINSLT(slot, inUse, name, type, flag1, flag2, directory, missing);
    EXPECT_EQ(missing, 1) << slot;
  }
}

TEST_F(ObjectFiles, WordsOfLimitedLength) {
  const struct {
    int32_t type;
    std::string token;
    int32_t status;
  } cases[] = {
      {16, std::string(20, 'M'), 0}, {16, std::string(21, 'M'), -1}, {9, "WINDOW", 0},
      {11, "LOAD12", 0},             {11, "LOAD123", -1},            {20, "ABCDEF", 0},
      {26, "LINE1234", 0},           {26, "LINE12345", -1},          {25, "QU4", 0},
      {25, "HE20X", -1},             {21, "ANY", -1},                {5, "ANY", -1},
      {38, "ANY", -1},               {100, "ANY", -1},
  };
  for (const auto& c : cases) {
    const Checked r = check(c.type, c.token);
    EXPECT_EQ(r.check.status, c.status) << c.type << " " << c.token;
    if (c.status != 0) continue;
    EXPECT_EQ(r.check.valueCode, 0) << c.type;
    EXPECT_EQ(r.check.oper, 1) << c.type;
    EXPECT_EQ(r.text(), c.token) << c.type;
    EXPECT_EQ(r.check.nextMenu, 64);
  }
  const Checked r = check(16, std::string(20, 'M'));
  EXPECT_EQ(r.check.listValue, 20);
}

TEST_F(ObjectFiles, OperatorSignsAreSkipped) {
  Checked r = check(9, "-NAME");
  EXPECT_EQ(r.check.status, 0);
  EXPECT_EQ(r.check.oper, 3);
  EXPECT_EQ(r.check.listValue, 4);
  EXPECT_EQ(r.text(), "NAME");
  EXPECT_EQ(check(9, "+NAME").check.oper, 2);
  EXPECT_EQ(check(9, "*NAME").check.oper, 1);
  EXPECT_EQ(check(11, "-ABCDEF").check.status, 0);  // the sign does not count
  EXPECT_EQ(check(9, "-").check.status, -1);        // no word after it

  // The copy stops where the answer text store ends.
  r = check(9, "WINDOW", 1, {}, 3);
  EXPECT_EQ(r.check.status, 0);
  EXPECT_EQ(r.check.listValue, 3);
  EXPECT_EQ(r.text(), "WIN");
}

TEST_F(ObjectFiles, PlaceholderAnswersInInputModesTwoAndThree) {
  for (int32_t mode : {2, 3}) {
    const Checked r = check(26, "'LINE-NEW'", mode);
    EXPECT_EQ(r.check.status, 0) << mode;
    EXPECT_EQ(r.text(), "DUMMYLIN") << mode;
    EXPECT_EQ(r.check.oper, 1);
  }
  for (int32_t mode : {1, 4}) EXPECT_EQ(check(26, "'LINE-NEW'", mode).check.status, -1) << mode;
  EXPECT_EQ(check(36, "'NODE-OLD'", 2).check.listValue, 1);
  EXPECT_EQ(check(25, "'ELEM'", 2).check.status, -1);  // no placeholder answer for 25
}

TEST_F(ObjectFiles, OnlyThePlaceholder) {
  const struct {
    int32_t type;
    Entry placeholder;
  } cases[] = {{22, {5, 9, "'set-new'"}},     {23, {5, 11, "'shape-new'"}},
               {26, {5, 10, "'line-new'"}},   {28, {5, 10, "'csys-new'"}},
               {30, {5, 13, "'sym-set-new'"}}, {32, {5, 10, "'name-old'"}},
               {34, {5, 13, "'montage-new'"}}, {36, {5, 10, "'node-old'"}},
               {37, {5, 10, "'elem-old'"}}};
  for (const auto& c : cases) {
    const Listed l = list(c.type);
    EXPECT_EQ(l.status, 0) << c.type;
    EXPECT_EQ(l.entries, Entries{c.placeholder}) << c.type;
  }
  // A full list takes nothing.
  ValueList full(1, 80);
  full.append(-110, 1, "X");
  int32_t status = -1;
  OBJLST({}, 22, kListObjects, 0, 0, full, status);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(full.count, 1);
  // Counting (mode 1) offers no placeholder.
  ValueList counted(10, 80);
  OBJLST({}, 22, kCountObjects, 0, 0, counted, status);
  EXPECT_EQ(counted.count, 0);
}

class HeaderNames : public ObjectFiles {
 protected:
  // The list file NAME, its lines LINES, is named by answer K of K answers (ITEM a text).
  void namedBy(int32_t k, const std::string& name, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& l : lines) bytes += l + "\r\n";  // lines as Windows writes them
    test::writeFile(dir.file(name), bytes);
    std::vector<int32_t> items(static_cast<size_t>(k), 7);
    items.back() = text("\"" + name + "\"");
    answers(items);
  }
};

TEST_F(HeaderNames, TheFirstLineWithANameIsTheHeader) {
  namedBy(2, "list.txt", {"! note", "TIME STRESS ! the rest", "STRAIN"});
  Listed l = list(33);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.entries, (Entries{{-133, 4, "TIME"}, {-133, 6, "STRESS"}}));

  // While the check runs, its token is the latest answer: the file is named by the one
  // before.
  namedBy(3, "list.txt", {"! note", "TIME 1.5 , STRESS", "STRAIN"});
  MNUCTL.answerCount = 3;
  answers({7, text("\"list.txt\""), 0});
  Checked r = check(33, "STRESS");
  EXPECT_EQ(r.check.status, 0);
  EXPECT_EQ(r.check.valueCode, 1);
  EXPECT_EQ(r.check.listValue, 2);
  EXPECT_EQ(check(33, "STRAIN").check.status, -1);
  EXPECT_EQ(check(33, "STRES").check.status, -1);  // a name is taken whole
  EXPECT_EQ(check(33, "TIME").check.listValue, 1);
}

TEST_F(HeaderNames, NamesAreCutAtTwelveAndMatchedWithoutCase) {
  namedBy(1, "l.txt", {"* comment", "", "displacement-x Y"});
  EXPECT_EQ(list(33).entries, (Entries{{-133, 12, "displacement"}, {-133, 1, "Y"}}));
  int32_t seen = -1, status = -1;
  std::vector<int32_t> name;
  for (char c : std::string("DISPLACEMENT")) name.push_back(codeOf(c));
  LSTFND(1, name, 12, seen, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(seen, 1);
  LSTFND(2, name, 12, seen, status);  // no such answer
  EXPECT_EQ(status, 1);
}

TEST_F(HeaderNames, FullListEndsWithTheHeaderPlaceholder) {
  namedBy(1, "l.txt", {"A B C D"});
  const Listed l = list(33, {}, 3);
  EXPECT_EQ(l.status, 2);
  EXPECT_EQ(l.entries, (Entries{{-133, 1, "A"}, {-133, 1, "B"}, {5, 8, "'header'"}}));
  EXPECT_EQ(list(33, {}, 4).entries.size(), 4u);
}

TEST_F(HeaderNames, FileThatCannotBeOpened) {
  answers({text("missing.txt")});
  const Listed l = list(33);
  EXPECT_EQ(l.status, 1);
  EXPECT_EQ(l.entries, Entries{});
  EXPECT_EQ(messages(), (Lines{" E3380: Failed to open input file"}));
  answers({7, text("missing.txt"), 0});
  EXPECT_EQ(check(33, "TIME").check.status, -1);
}

}  // namespace
}  // namespace kvr
