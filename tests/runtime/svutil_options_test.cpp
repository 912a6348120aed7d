#include "runtime/svutil/svoptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/svutil/svmemory.h"
#include "runtime/svutil/svstrings.h"
#include "runtime/svutil/svwords.h"
#include "svutil_testing.h"

namespace kvr {
namespace {

using svtest::SavedEnv;
using svtest::StderrCapture;

std::string envOr(const char* name) {
  const char* v = env::get(name);
  return v ? v : "<unset>";
}

std::vector<std::string> words(char** vector, int32_t count) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < count; ++i) out.emplace_back(vector[i] ? vector[i] : "<none>");
  return out;
}

// A table of a counting flag v, a flag o with an argument (default "def.txt"), and the
// symbols X, A, B and F (a file looked for along "sub"); values freed at the end.
class SvOptions : public svtest::SvEnvTest {
 protected:
  void SetUp() override {
    SvEnvTest::SetUp();
    table_[0] = {.kind = kSvOptCount, .name = "v", .counter = &verbose_};
    table_[1] = {.kind = kSvOptArg, .name = "output", .variable = &output_, .defaultValue = "def.txt"};
    table_[2] = {.kind = kSvOptSymbol, .name = "X"};
    table_[3] = {.kind = kSvOptSymbol, .name = "A"};
    table_[4] = {.kind = kSvOptSymbol, .name = "B", .defaultValue = "$(A)/b"};
    table_[5] = {.kind = kSvOptSymbol, .name = "F", .searchPath = "sub"};
    table_[6] = {};
    for (const char* n : {"X", "A", "B", "F", "Y"}) env::unset(n);
  }
  void TearDown() override {
    for (SvOption& o : table_) SvFree(o.value, "test");
    SvFree(output_, "test");
    SvFreeWords(out_);
    SvEnvTest::TearDown();
  }

  // Scans WORDS into a fresh output of capacity CAPACITY; answers the count.
  int32_t scan(std::vector<const char*> w, int32_t overwrite, int32_t capacity = 16) {
    SvFreeWords(out_);
    out_ = static_cast<char**>(SvCalloc(static_cast<std::size_t>(capacity), sizeof(char*), "test"));
    return SvScanArgs(static_cast<int32_t>(w.size()), w.data(), table_, out_, 0, capacity, overwrite);
  }

  int32_t configure(std::vector<const char*> w, const char* rcName = nullptr, const char* rcPath = nullptr) {
    SvFreeWords(out_);
    out_ = nullptr;
    return SvConfigure(static_cast<int32_t>(w.size()), w.data(), table_, rcName, rcPath, &out_);
  }

  SvOption table_[7];
  int32_t verbose_ = 0;
  char* output_ = nullptr;
  char** out_ = nullptr;
  SavedEnv names_{{"X", "A", "B", "F", "Y"}};
};

TEST_F(SvOptions, CountingFlagsCountWithOverwriteAndOnlySetWithout) {
  EXPECT_EQ(scan({"-vv"}, 1), 0);
  EXPECT_EQ(verbose_, 2);
  EXPECT_EQ(scan({"-vv"}, 0), 0);
  EXPECT_EQ(verbose_, 2);
  verbose_ = 0;
  EXPECT_EQ(scan({"-v", "-v"}, 0), 0);
  EXPECT_EQ(verbose_, 1);
}

TEST_F(SvOptions, FlagArgumentsAreKeptWithoutOverwriteAndAlwaysConsumed) {
  EXPECT_EQ(scan({"-o", "out.txt"}, 1), 0);
  EXPECT_STREQ(output_, "out.txt");
  EXPECT_EQ(scan({"-o", "other.txt"}, 0), 0);  // nothing passed on
  EXPECT_STREQ(output_, "out.txt");
  EXPECT_EQ(scan({"-ov", "third.txt", "rest"}, 1), 1);  // letters after o are ignored
  EXPECT_STREQ(output_, "third.txt");
  EXPECT_EQ(verbose_, 0);
  EXPECT_EQ(words(out_, 1), (std::vector<std::string>{"rest"}));
}

TEST_F(SvOptions, SymbolWordsSetTheSymbolAndTheEnvironmentOthersArePassedOn) {
  EXPECT_EQ(scan({"X=1", "Y=1", "--long", "-qv", "plain"}, 1), 4);
  EXPECT_EQ(words(out_, 4), (std::vector<std::string>{"Y=1", "--long", "-q", "plain"}));
  EXPECT_EQ(out_[4], nullptr);
  EXPECT_STREQ(table_[2].value, "1");
  EXPECT_EQ(envOr("X"), "1");
  EXPECT_EQ(envOr("Y"), "<unset>");
  EXPECT_EQ(verbose_, 1);
  EXPECT_EQ(scan({"X=2"}, 0), 0);  // kept without overwrite, and consumed
  EXPECT_STREQ(table_[2].value, "1");
  EXPECT_EQ(envOr("X"), "1");
}

TEST_F(SvOptions, ScanningErrorsPrintOneLineAndAnswerMinusOne) {
  SvOption zero[] = {{.kind = kSvOptCount, .name = "z"}, {}};
  StderrCapture err;
  EXPECT_EQ(scan({"-o"}, 1), -1);
  EXPECT_EQ(scan({"a", "b", "c"}, 1, 3), -1);
  std::vector<const char*> w{"-z"};
  char* out[4] = {};
  EXPECT_EQ(SvScanArgs(1, w.data(), zero, out, 0, 4, 1), -1);
  EXPECT_EQ(err.text(),
            "Argument Flag without argument\n"
            "Too many arguments in SvScanArgs (2)\n"
            "Zero address for Flag Argument z\n");
}

TEST_F(SvOptions, SymbolRecordsFlagsAndSetting) {
  EXPECT_EQ(SvFindSymRec(table_, "A"), &table_[3]);
  EXPECT_EQ(SvFindSymRec(table_, "a"), nullptr);  // exact names
  EXPECT_EQ(SvFindSymRec(table_, "v"), nullptr);  // flags are not symbols
  EXPECT_EQ(SvFindFlag(table_, 'o'), &table_[1]);
  EXPECT_EQ(SvFindFlag(table_, 'X'), nullptr);
  EXPECT_EQ(SvSetSymbol(table_, "1", "A", 0), 1);
  EXPECT_EQ(SvSetSymbol(table_, "2", "A", 0), 1);
  EXPECT_STREQ(SvFindSymbol(table_, "A"), "1");
  EXPECT_EQ(SvSetSymbol(table_, "3", "A", 1), 1);
  EXPECT_STREQ(SvFindSymbol(table_, "A"), "3");
  EXPECT_EQ(SvSetSymbol(table_, "3", "NOPE", 1), 0);
}

TEST_F(SvOptions, ReferencesAreReplacedFromTheTableOthersKeptAsBraces) {
  SvSetSymbol(table_, "/a", "A", 1);
  struct Case {
    const char* value;
    int32_t replaced;
    const char* result;
  } cases[] = {
      {"$(A)/x", 1, "/a/x"}, {"${A}$A", 2, "/a/a"},           {"$NOPE", 0, "${N}OPE"},
      {"$(NOPE)/y", 0, "${NOPE}/y"}, {"end$", 0, "end$"},     {"$(A", 0, "$(A"},
  };
  for (const Case& c : cases) {
    SvSetSymbol(table_, c.value, "X", 1);
    StderrCapture quiet;
    EXPECT_EQ(SvHandleEnvir(&table_[2], table_), c.replaced) << c.value;
    EXPECT_STREQ(table_[2].value, c.result) << c.value;
  }
  StderrCapture err;
  SvSetSymbol(table_, "a${B", "X", 1);
  EXPECT_EQ(SvHandleEnvir(&table_[2], table_), 0);
  EXPECT_EQ(err.text(), "SvHandleEnvir Missing } in a${B\n");
}

TEST_F(SvOptions, ConfigureFillsFromCommandLineEnvironmentRegistryAndDefaults) {
  test::writeFile(dir_.file("user.reg"), "A=/from/registry\n");
  SvRegClose();
  std::filesystem::create_directory(dir_.file("sub"));
  test::writeFile(dir_.file("sub/data.txt"), "x");
  env::set("F", "data.txt");
  EXPECT_EQ(configure({"prog", "-v", "X=1", "file1"}), 2);
  EXPECT_EQ(words(out_, 3), (std::vector<std::string>{"prog", "file1", "<none>"}));
  EXPECT_EQ(SvInstalledTable(), table_);
  EXPECT_EQ(verbose_, 1);
  EXPECT_STREQ(output_, "def.txt");
  EXPECT_STREQ(SvFindSymbol(table_, "X"), "1");
  EXPECT_STREQ(SvFindSymbol(table_, "A"), "/from/registry");
  EXPECT_STREQ(SvFindSymbol(table_, "B"), "/from/registry/b");
  EXPECT_STREQ(SvFindSymbol(table_, "F"), "sub/data.txt");
  EXPECT_STREQ(SvGetenv("X"), "1");

  FILE* f = std::tmpfile();
  SvPrintConfig(f);
  std::rewind(f);
  std::string printed;
  for (int c; (c = std::fgetc(f)) != EOF;) printed += static_cast<char>(c);
  std::fclose(f);
  EXPECT_EQ(printed,
            "Active Configuration symbols:\n"
            "  X = \"1\"\n"
            "  A = \"/from/registry\"\n"
            "  B = \"/from/registry/b\"\n"
            "  F = \"sub/data.txt\"\n"
            "Active Configuration flags:\n"
            "  -v (count = 1)\n"
            "  -output def.txt\n");
}

TEST_F(SvOptions, SelfReferringValuesLetConfigurationEnd) {
  EXPECT_EQ(configure({"prog", "A=$A", "X=$(B)", "B=x$X"}), 1);
  EXPECT_STREQ(SvFindSymbol(table_, "A"), "$A");
  // X and B refer to each other: whatever the passes left, the references are still there.
  EXPECT_NE(std::string(SvFindSymbol(table_, "X")).find('$'), std::string::npos);
}

TEST_F(SvOptions, SvobinGoesInFrontOfPathOnce) {
  env::set("PATH", "/usr/bin:/bin");
  env::set("SVOBIN", "/opt/x/bin");
  configure({"prog"});
  EXPECT_EQ(envOr("PATH"), "/opt/x/bin:/usr/bin:/bin");
  configure({"prog"});
  EXPECT_EQ(envOr("PATH"), "/opt/x/bin:/usr/bin:/bin");
  env::unset("SVOBIN");
  env::set("PATH", "/usr/bin");
  configure({"prog"});
  EXPECT_EQ(envOr("PATH"), "/usr/bin");
}

TEST_F(SvOptions, RcFileWordsDoNotOverrideTheCommandLine) {
  std::filesystem::create_directory(dir_.file("etc"));
  test::writeFile(dir_.file("etc/app.rc"),
                  "# a comment line\n"
                  "-o rc.txt X=rc \\\n"
                  "  A=/a # the rest is a comment\n"
                  "rcword\n");
  EXPECT_EQ(configure({"prog", "X=cmd", "arg"}, "app.rc", "nothere:etc"), 3);
  EXPECT_EQ(words(out_, 3), (std::vector<std::string>{"prog", "arg", "rcword"}));
  EXPECT_STREQ(output_, "rc.txt");
  EXPECT_STREQ(SvFindSymbol(table_, "X"), "cmd");
  EXPECT_STREQ(SvFindSymbol(table_, "A"), "/a");

  // Kept in an archive, the rc file is read through its head revision.
  std::filesystem::remove(dir_.file("etc/app.rc"));
  test::writeFile(dir_.file("etc/app.rc,v"), "desc\n@@\n\n1.1\nlog\n@x\n@\ntext\n@A=/arch@@ive\n@\n");
  SvFree(table_[3].value, "test");
  table_[3].value = nullptr;
  EXPECT_EQ(configure({"prog"}, "app.rc", "etc"), 1);
  EXPECT_STREQ(SvFindSymbol(table_, "A"), "/arch@ive");
}

TEST_F(SvOptions, ExportPutsEverySymbolWithAValueIntoTheEnvironment) {
  SvSetSymbol(table_, "1", "X", 1);
  SvSetSymbol(table_, "/a", "A", 1);
  SvExportSymbols(table_);
  EXPECT_EQ(envOr("X"), "1");
  EXPECT_EQ(envOr("A"), "/a");
  EXPECT_EQ(envOr("B"), "<unset>");
}

}  // namespace
}  // namespace kvr
