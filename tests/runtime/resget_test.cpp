#include "runtime/resget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/unitio.h"
#include "runtime/filext.h"
#include "runtime/pltpar.h"
#include "settingsfixture.h"

namespace kvr {
namespace {

using test::readLines;
using test::writeFile;

class SettingsLookup : public test::SettingsFixture {};

// ---- The command line ---------------------------------------------------------------

struct CommandLineCase {
  const char* what;
  std::vector<std::string> args;
  const char* key;
  bool isSwitch;
  int32_t valueLength;
  std::string value;
  int32_t status;  // -4: the command line gave nothing and the files were searched
};

TEST_F(SettingsLookup, CommandLineDecidesBeforeAnyFile) {
  // QUORIN_INIT names a missing file: a lookup that reaches the files answers -4.
  setenv("QUORIN_INIT", dir.file("missing.ini").c_str(), 1);
  const std::string long0 = "/" + std::string(129, 'a');
  const CommandLineCase cases[] = {
      {"switch", {"prog", "-NoBells"}, "NoBells", true, 8, "TRUE", 4},
      {"switch among others", {"prog", "x", "-NoBells", "y"}, "NoBells", true, 8, "TRUE", 4},
      {"value option last", {"prog", "-Key"}, "Key", false, 8, "", -1},
      {"value", {"prog", "-Key", "abc"}, "Key", false, 8, "abc", 3},
      {"value cut", {"prog", "-Key", "abcdef"}, "Key", false, 3, "abc", 3},
      {"case folded", {"prog", "-key", "v"}, "Key", false, 8, "v", 1},
      {"double dash", {"prog", "--Key", "v"}, "Key", false, 8, "", -4},
      {"no dash", {"prog", "Key", "v"}, "Key", false, 8, "", -4},
      {"empty argument ends", {"prog", "", "-NoBells"}, "NoBells", true, 8, "", -4},
      {"empty value", {"prog", "-Key", "", "v"}, "Key", false, 8, "", -1},
      {"empty argument 0 shifts", {"", "-NoBells"}, "NoBells", true, 8, "", -4},
      {"empty argument 0, real arguments from 2", {"", "x", "-NoBells"}, "NoBells", true, 8,
       "TRUE", 4},
      {"long argument 0 shifts nothing", {long0, "-NoBells"}, "NoBells", true, 8, "TRUE", 4},
      {"argument cut at 128", {"prog", "-Key", std::string(200, 'v')}, "Key", false, 200,
       std::string(128, 'v'), 128},
  };
  for (const CommandLineCase& c : cases) {
    setArguments(c.args);
    Lookup r = lookup("*", "HCI", c.key, c.isSwitch, c.valueLength);
    EXPECT_EQ(r.value, c.value) << c.what;
    EXPECT_EQ(r.status, c.status) << c.what;
  }
}

TEST_F(SettingsLookup, ArgumentsAreReadThroughTheProbe) {
  FixedText text(10);
  int32_t length = -1;
  setArguments({"", "first", "second word"});
  ARGSTR(1, text, length);
  EXPECT_EQ(text.trimmed(), "second");  // a blank ends an argument
  EXPECT_EQ(length, 6);
  ARGSTR(2, text, length);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(text.trimmed(), "");

  setArguments({"prog", "first"});
  ARGSTR(1, text, length);
  EXPECT_EQ(text.trimmed(), "first");
  EXPECT_EQ(length, 5);
  ARGSTR(0, text, length);
  EXPECT_EQ(text.trimmed(), "prog");
}

// ---- Settings file lines ------------------------------------------------------------

struct LineCase {
  const char* what;
  std::string file;
  int32_t valueLength;
  const char* value;
  int32_t status;
};

TEST_F(SettingsLookup, LinesOfASettingsFile) {
  const LineCase cases[] = {
      {"application word is case-sensitive", "quorin.*.HCI.NoBells: T\n", 8, "", 0},
      {"other words ignore case", "Quorin.*.hci.nobells: T\n", 8, "T", 1},
      {"key ends at a blank, comment dropped", "Quorin.*.HCI.NoBells : TRUE ! note\n", 8, "TRUE", 4},
      {"empty value is one blank", "Quorin.*.HCI.NoBells:\n", 8, "", 1},
      {"comment line", "#Quorin.*.HCI.NoBells: T\n", 8, "", 0},
      {"first match wins", "Quorin.*.HCI.NoBells: one\nQuorin.*.HCI.NoBells: two\n", 8, "one", 3},
      {"value cut, full length", "Quorin.*.HCI.NoBells: 123456789012\n", 5, "12345", 12},
      {"CRLF line ends", "Quorin.*.HCI.NoBells: TRUE\r\nQuorin.*.HCI.Other: x\r\n", 8, "TRUE", 4},
      {"tabs read as blanks", "Quorin.*.HCI.NoBells:\tT\t! x\n", 8, "T", 1},
      {"wildcard section in the file", "Quorin.*.*.NoBells: W\n", 8, "W", 1},
      {"too few words", "Quorin.HCI.NoBells: T\n", 8, "", 0},
      {"other application", "Quorinx.*.HCI.NoBells: T\n", 8, "", 0},
      {"no colon", "Quorin.*.HCI.NoBells T\n", 8, "", 0},
      {"line cut at 128", "Quorin.*.HCI.NoBells: xxxxxxxxxx" + std::string(140, 'x') + "\n", 8,
       "xxxxxxxx", 106},
      {"longer key", "Quorin.*.HCI.NoBellsX: T\n", 8, "", 0},
  };
  for (const LineCase& c : cases) {
    writeFile("quorin.ini", c.file);
    Lookup r = lookup("*", "HCI", "NoBells", false, c.valueLength);
    EXPECT_EQ(r.value, c.value) << c.what;
    EXPECT_EQ(r.status, c.status) << c.what;
  }
}

TEST_F(SettingsLookup, RequestWildcardsMatchAnyWord) {
  writeFile("quorin.ini", "Quorin.Telvora.database.page_size: SIZE8160\n");
  EXPECT_EQ(lookup("*", "database", "page_size").value, "SIZE8160");
  EXPECT_EQ(lookup("Telvora", "*", "page_size").value, "SIZE8160");
  EXPECT_EQ(lookup("Zorlak", "database", "page_size").status, 0);
}

TEST_F(SettingsLookup, EmptyValueGoesOnToTheNextFile) {
  writeFile("quorin.ini", "Quorin.*.HCI.NoBells:! not here\nQuorin.*.HCI.NoBells: late\n");
  writeFile(dir.file("home/quorin.ini"), "Quorin.*.HCI.NoBells: home\n");
  EXPECT_EQ(lookup("*", "HCI", "NoBells").value, "home");
  writeFile("quorin.ini", "Quorin.*.HCI.NoBells: here\n");
  EXPECT_EQ(lookup("*", "HCI", "NoBells").value, "here");  // the home file is never read
}

// ---- The files searched --------------------------------------------------------------

TEST_F(SettingsLookup, UnopenableNamedFilesEndTheSearch) {
  writeFile("quorin.ini", "Quorin.*.HCI.NoBells: T\n");
  setenv("QUORIN_INIT", dir.file("missing.ini").c_str(), 1);
  EXPECT_EQ(lookup("*", "HCI", "NoBells").status, -4);
  // A name the system refuses (far beyond any path length) is a file that cannot be opened.
  setenv("QUORIN_INIT", ("/" + std::string(5000, 'n')).c_str(), 1);
  EXPECT_EQ(lookup("*", "HCI", "NoBells").status, -4);
  unsetenv("QUORIN_INIT");
  setenv("QUORIN_GLOBAL_INIT", dir.file("missing.ini").c_str(), 1);
  EXPECT_EQ(lookup("*", "HCI", "Other").status, -5);
  EXPECT_EQ(lookup("*", "HCI", "NoBells").status, 1);  // found before the global file
}

TEST_F(SettingsLookup, EveryFileOfTheSearchOrderIsRead) {
  writeFile("init.ini", "Quorin.*.A.Init: i\n");
  setenv("QUORIN_INIT", dir.file("init.ini").c_str(), 1);
  writeFile("quorin.ini", "Quorin.*.A.Local: l\n");
  writeFile(dir.file("home/quorin.ini"), "Quorin.*.A.Home: h\n");
  makeDirectories("p/Custom");
  writeFile(dir.file("p/Custom/quorin.ini"), "Quorin.*.A.Global: g\n");
  EXPECT_EQ(lookup("*", "A", "Init").value, "i");
  EXPECT_EQ(lookup("*", "A", "Local").value, "l");
  EXPECT_EQ(lookup("*", "A", "Home").value, "h");
  EXPECT_EQ(lookup("*", "A", "Global").value, "g");

  makeDirectories("key");
  writeFile(dir.file("key/quorin.ini"), "Quorin.*.A.Global: k\n");
  setenv("KVRKEY", dir.file("key").c_str(), 1);
  EXPECT_EQ(lookup("*", "A", "Global").value, "k");
  writeFile("global.ini", "Quorin.*.A.Global: named\n");
  setenv("QUORIN_GLOBAL_INIT", dir.file("global.ini").c_str(), 1);
  EXPECT_EQ(lookup("*", "A", "Global").value, "named");
}

TEST_F(SettingsLookup, HomeDirectoryByItsLength) {
  makeDirectories("h");
  writeFile("h/quorin.ini", "Quorin.*.A.Home: short\n");
  setenv("HOME", "h", 1);  // one character: taken as unset
  EXPECT_EQ(lookup("*", "A", "Home").status, 0);
  FixedText text(20);
  int32_t length = -1;
  HOMDIR(text, length);
  EXPECT_EQ(length, 0);

  // Paths are not cut at 128 characters.
  std::string deep = std::string(60, 'd') + "/" + std::string(60, 'e') + "/" + std::string(20, 'f');
  makeDirectories(deep);
  writeFile(dir.file(deep + "/quorin.ini"), "Quorin.*.A.Home: deep\n");
  setenv("HOME", dir.file(deep).c_str(), 1);
  EXPECT_GT(dir.file(deep).size(), 128u);
  EXPECT_EQ(lookup("*", "A", "Home").value, "deep");
  HOMDIR(text, length);
  EXPECT_EQ(length, 20);
}

// ---- The search-order listing ---------------------------------------------------------

class SearchOrder : public test::SettingsFixture {
 protected:
  void SetUp() override {
    SettingsFixture::SetUp();
    io::OpenSpec want;
    want.file = "messages.txt";
    ASSERT_EQ(io::unitOpen(kMessageUnit, want), io::kIosOk);
    PLTPAR.outUnit = kMessageUnit;
  }
  std::vector<std::string> listing() {
    RESORD();
    io::unitFlush(kMessageUnit);
    return readLines(dir.file("messages.txt"));
  }
  static constexpr int32_t kMessageUnit = 30;
};

using Lines = std::vector<std::string>;

TEST_F(SearchOrder, ListsTheFilesThatOpen) {
  EXPECT_EQ(listing(), Lines{" No Resource Files will be searched"});
}

TEST_F(SearchOrder, CurrentDirectoryOnly) {
  writeFile("quorin.ini", "\n");
  EXPECT_EQ(listing(), (Lines{" Resource File search order:", " (Current Directory) :quorin.ini"}));
}

TEST_F(SearchOrder, CustomDirectoryOfTheExecutable) {
  makeDirectories("p/Custom");
  writeFile(dir.file("p/Custom/quorin.ini"), "Quorin.*.A.Global: g\n");
  EXPECT_EQ(listing(), (Lines{" Resource File search order:",
                              " (CUSTOM Directory)  :" + dir.file("p/Custom/quorin.ini")}));
  EXPECT_EQ(lookup("*", "A", "Global").value, "g");
}

TEST_F(SearchOrder, EveryLabel) {
  writeFile("init.ini", "\n");
  writeFile("quorin.ini", "\n");
  writeFile(dir.file("home/quorin.ini"), "\n");
  makeDirectories("key");
  writeFile(dir.file("key/quorin.ini"), "\n");
  setenv("QUORIN_INIT", "init.ini", 1);
  setenv("KVRKEY", dir.file("key").c_str(), 1);
  EXPECT_EQ(listing(), (Lines{" Resource File search order:",
                              " (QUORIN_INIT)       :init.ini",
                              " (Current Directory) :quorin.ini",
                              " (Home Directory)    :" + dir.file("home/quorin.ini"),
                              " (KVRKEY Directory)  :" + dir.file("key/quorin.ini")}));
}

TEST_F(SearchOrder, WarnsOfNamedFilesThatDoNotOpen) {
  writeFile("quorin.ini", "\n");
  writeFile("global.ini", "\n");
  setenv("QUORIN_INIT", "missing.ini", 1);
  setenv("QUORIN_GLOBAL_INIT", "global.ini", 1);
  EXPECT_EQ(listing(), (Lines{" Warning: unable to open QUORIN_INIT file",
                              " Resource File search order:",
                              " (Current Directory) :quorin.ini",
                              " (QUORIN_GLOBAL_INIT):global.ini"}));
}

TEST_F(SearchOrder, WarnsOfAGlobalFileThatDoesNotOpen) {
  setenv("QUORIN_GLOBAL_INIT", "missing.ini", 1);
  EXPECT_EQ(listing(), (Lines{" Warning: unable to open QUORIN_GLOBAL_INIT file",
                              " No Resource Files will be searched"}));
}

// ---- The merged copy ------------------------------------------------------------------

TEST_F(SettingsLookup, MergedCopyOfTheLocalFiles) {
  writeFile("init.ini", "one\ntwo\n");
  setenv("QUORIN_INIT", "init.ini", 1);
  writeFile("quorin.ini", "three\nfour\nfive\r\n");
  makeDirectories("p/Custom");
  writeFile(dir.file("p/Custom/quorin.ini"), "global\n");
  test::SavedEnv env({"TMPDIR"});
  makeDirectories("tmp");
  setenv("TMPDIR", dir.file("tmp").c_str(), 1);

  int32_t count = -1;
  int32_t unit = RESMRG(0, count);
  ASSERT_GE(unit, 40);
  EXPECT_EQ(count, 5);
  std::string name = io::unitFileName(unit);
  EXPECT_TRUE(std::filesystem::is_empty(dir.file("tmp")));  // nothing to leave behind
  Lines lines;
  for (std::string line; io::readRecord(unit, line) == io::kIosOk;) lines.push_back(line);
  EXPECT_EQ(lines, (Lines{"one", "two", "three", "four", "five"}));
  EXPECT_EQ(RESMRG(-1, count), 0);
  EXPECT_FALSE(io::unitIsOpen(unit));
  EXPECT_FALSE(std::filesystem::exists(name));

  unit = RESMRG(1, count);
  EXPECT_EQ(count, 6);  // mode 1 takes the global file too
  EXPECT_EQ(RESMRG(-1, count), 0);
}

// ---- Driver file extensions -------------------------------------------------------------

TEST_F(SettingsLookup, FileExtensionOfADriver) {
  struct Case {
    const char* line;
    const char* driver;
    const char* extension;
    int32_t status;
  } cases[] = {
      {"Quorin.*.FileExtension.Postscript: .ps\n", "Postscript", "ps", 3},
      {"Quorin.*.FileExtension.Postscript: eps\n", "Postscript", "eps", 3},
      {"\n", "Postscript", "", 0},
  };
  for (const Case& c : cases) {
    writeFile("quorin.ini", c.line);
    FixedText driver(10, c.driver);
    FixedText extension(80, "stale");
    int32_t status = 99;
    FILEXT(driver, extension, false, status);
    EXPECT_EQ(extension.trimmed(), c.extension) << c.line;
    EXPECT_EQ(status, c.status) << c.line;
  }

  // The status counts the whole value; only the 80 characters the text holds are looked at.
  std::string value = std::string(89, 'v') + "." + std::string(10, 'x');
  writeFile("quorin.ini", "Quorin.*.FileExtension.CGM:" + value + "\n");
  FixedText driver(3, "CGM");
  FixedText extension(100);
  int32_t status = 0;
  FILEXT(driver, extension, false, status);
  EXPECT_EQ(status, 100);
  EXPECT_EQ(extension.trimmed(), value.substr(0, 80));
}

}  // namespace
}  // namespace kvr
