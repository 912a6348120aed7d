#include "runtime/svutil/svpath.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/svutil/svmemory.h"
#include "runtime/svutil/svwords.h"
#include "svutil_testing.h"

namespace kvr {
namespace {

using svtest::SavedEnv;
using svtest::StderrCapture;

std::string orNone(const char* s) { return s ? s : "<none>"; }

class SvPaths : public svtest::SvEnvTest {
 protected:
  SavedEnv vars_{{"KVR_T_DIR", "KVR_T_LONG"}};
};

TEST_F(SvPaths, ExpandPathReplacesReferencesAndKeepsSlashes) {
  env::unset("HOME");
  env::set("KVR_T_DIR", "/data/dir");
  writeUser("KVR_T_REG=/reg\n");
  std::string name127(127, 'N');
  std::string name128(128, 'N');
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"$HOME/x", "/x"},
      {"ab$", "ab$"},
      {"a$$b", "a$b"},
      {"$KVR_T_DIR/f.txt", "/data/dir/f.txt"},
      {"$(KVR_T_DIR)x", "/data/dirx"},
      {"${KVR_T_DIR}:$KVR_T_REG", "/data/dir:/reg"},  // the registry answers too
      {"$KVR_T_DIR.d", "/data/dir.d"},
      {"${KVR_T_DIR", "<none>"},
      {"$(" + name127 + ")/x", "/x"},
      {"$(" + name128 + ")/x", "<none>"},
      {"$" + name128, "<none>"},
      {std::string(255, 'p'), std::string(255, 'p')},
      {std::string(256, 'p'), "<none>"},
      {"$KVR_T_DIR/" + std::string(246, 'p'), "<none>"},
      {"a\\b/c", "a\\b/c"},
  };
  for (const Case& c : cases) EXPECT_EQ(orNone(SvExpandPath(c.in.c_str())), c.out) << c.in;
}

TEST_F(SvPaths, SearchAlongColonSeparatedPathsAndArchives) {
  namespace fs = std::filesystem;
  fs::create_directories(dir_.file("one"));
  fs::create_directories(dir_.file("two"));
  test::writeFile(dir_.file("two/f.dat"), "x");
  test::writeFile(dir_.file("one/g.dat,v"), "desc\n@@\n\n1.1\nlog\n@x\n@\ntext\n@g\n@\n");
  test::writeFile(dir_.file("here.dat"), "x");
  env::set("KVR_T_DIR", dir_.file("two"));
  std::string abs = dir_.file("two/f.dat");
  struct Case {
    const char* what;
    std::string got;
    std::string want;
  } cases[] = {
      {"second element", orNone(SvFindFile("f.dat", "one:two")), "two/f.dat"},
      {"skipped blanks", orNone(SvFindFile("f.dat", " : one ::\ttwo")), "two/f.dat"},
      {"expanded element", orNone(SvFindFile("f.dat", "one:$KVR_T_DIR")), dir_.file("two") + "/f.dat"},
      {"dot", orNone(SvFindFile("here.dat", "one:.")), "here.dat"},
      {"absolute", orNone(SvFindFile(abs.c_str(), "one")), abs},
      {"absolute missing", orNone(SvFindFile((abs + "x").c_str(), "two")), "<none>"},
      {"missing", orNone(SvFindFile("f.dat", "one")), "<none>"},
      {"archive not a file", orNone(SvFindFile("g.dat", "one:two")), "<none>"},
      {"archive counts", orNone(SvFindFileRcs("g.dat", "two:one")), "one/g.dat"},
      {"name expanded", orNone(SvFindFile("$KVR_T_DIR/f.dat", "")), dir_.file("two") + "/f.dat"},
      {"name length", orNone(SvSearchPath("one:two", "f.datXYZ", 5, ':', SvRcsStat)), "two/f.dat"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;

  // A candidate longer than 255 characters is not tried.
  std::string deep = std::string(250, 'd');
  fs::create_directories(dir_.file(deep));
  test::writeFile(dir_.file(deep + "/f.dat"), "x");
  EXPECT_EQ(orNone(SvFindFile("f.dat", (deep + ":two").c_str())), "two/f.dat");
}

TEST(SvPathNames, AbsoluteMeansALeadingSlashAndSlashConversionsWorkInPlace) {
  EXPECT_EQ(SvIsAbsPath("/a"), 1);
  EXPECT_EQ(SvIsAbsPath("a/b"), 0);
  EXPECT_EQ(SvIsAbsPath("C:/a"), 0);
  EXPECT_EQ(SvIsAbsPath("\\a"), 0);
  char s[] = "a\\b/c";
  EXPECT_STREQ(SvToSlash(s), "a/b/c");
  EXPECT_STREQ(SvToBackslash(s), "a\\b\\c");
  char t[] = "x/y";
  EXPECT_STREQ(SvToBackslash2(t), "x\\y");
}

TEST(SvTokens, QuotingEscapesDelimitersAndCase) {
  struct Case {
    const char* in;
    const char* delimiters;
    bool upper;
    const char* word;
    const char* rest;  // nullptr: the answer is none
    int32_t quote;
  } cases[] = {
      {"\"a\"\"b\"", nullptr, false, "a\"b", "", '"'},
      {"'a b'c d", nullptr, false, "a bc", "d", '\''},
      {"  ab  cd", nullptr, false, "ab", "cd", 0},
      {"ab,cd", nullptr, false, "ab", "cd", 0},
      {"a\\ b c", nullptr, false, "a b", "c", 0},
      {"ab:c d", ":", false, "ab", "c d", 0},
      {"ab 'cd'", ":", true, "AB 'CD'", "", 0},
      {"'ab'cd", nullptr, true, "abCD", "", '\''},
      {"a\\bc", nullptr, true, "AbC", "", 0},
      {"   ", nullptr, false, "", nullptr, 0},
  };
  for (const Case& c : cases) {
    char word[32];
    SvWordInfo info;
    const char* rest = SvNextToken(c.in, word, sizeof word, c.delimiters, c.upper ? ::toupper : nullptr, &info);
    EXPECT_STREQ(word, c.word) << c.in;
    EXPECT_EQ(orNone(rest), orNone(c.rest)) << c.in;
    EXPECT_EQ(info.quote, c.quote) << c.in;
  }
}

TEST(SvTokens, WordInformationAndAnUnclosedQuote) {
  const char* s = "abcdef ghi";
  char word[4];
  SvWordInfo info;
  EXPECT_EQ(SvNextToken(s, word, sizeof word, nullptr, nullptr, &info), s + 7);
  EXPECT_STREQ(word, "abc");
  EXPECT_EQ(info.stop, s + 3);
  EXPECT_EQ(info.end, s + 6);
  EXPECT_EQ(SvNextWord(s + 7, word, sizeof word, nullptr, nullptr), s + 10);
  EXPECT_STREQ(word, "ghi");
  StderrCapture err;
  const char* u = "x \"open";
  EXPECT_EQ(SvNextToken(u, word, sizeof word, nullptr, nullptr, &info), u + 2);
  EXPECT_EQ(SvNextToken(u + 2, word, sizeof word, nullptr, nullptr, &info), nullptr);
  EXPECT_STREQ(word, "");
  EXPECT_EQ(err.text(), "No end quote seen in string <\"open>\n");
}

TEST(SvWordLists, SplitJoinAndFree) {
  char** v = nullptr;
  std::string line = "one \"two three\"\tfour;five\n" + std::string(300, 'w');
  ASSERT_EQ(SvWords(line.c_str(), &v), 4);
  EXPECT_STREQ(v[0], "one");
  EXPECT_STREQ(v[1], "two three");
  EXPECT_STREQ(v[2], "four;five");
  EXPECT_EQ(std::string(v[3]), std::string(255, 'w'));  // cut to the word buffer
  EXPECT_EQ(v[4], nullptr);
  v[3][3] = '\0';
  char* joined = SvJoinWords(v);
  EXPECT_STREQ(joined, "one \"two three\" \"four;five\" www");
  SvFree(joined, "test");
  EXPECT_EQ(SvNeedQuote("a b"), 1);
  EXPECT_EQ(SvNeedQuote("ab"), 0);
  SvFreeWords(v);
  ASSERT_EQ(SvWords("", &v), 0);
  EXPECT_EQ(v[0], nullptr);
  SvFreeWords(v);
  std::string many;
  for (int i = 0; i < 40; ++i) many += std::string{'w', static_cast<char>('a' + i / 10), static_cast<char>('a' + i % 10), ' '};
  ASSERT_EQ(SvWords(many.c_str(), &v), 40);
  EXPECT_STREQ(v[39], "wdj");
  SvFreeWords(v);
}

}  // namespace
}  // namespace kvr
