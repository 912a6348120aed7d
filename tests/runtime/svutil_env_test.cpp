#include "runtime/svutil/svenv.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "runtime/envirn.h"
#include "runtime/svutil/svmemory.h"
#include "runtime/svutil/svstrings.h"
#include "svutil_testing.h"

namespace kvr {
namespace {

using svtest::SavedEnv;
using svtest::StderrCapture;

std::string envOr(const char* name, const char* otherwise = "<unset>") {
  const char* v = env::get(name);
  return v ? v : otherwise;
}

std::string lookup(const char* name) {
  const char* v = SvGetenv(name);
  return v ? v : "<none>";
}

class SvEnv : public svtest::SvEnvTest {
 protected:
  SavedEnv vars_{{"KVR_T_ORDER", "KVR_T_A", "KVR_T_LONG", "KVRSYN", "KVR_T_X"}};
};

TEST_F(SvEnv, LookupOrderIsTableThenEnvironmentThenUserThenMachineFile) {
  writeUser("KVR_T_ORDER=user\n");
  writeMachine("KVR_T_ORDER=machine\n");
  env::set("KVR_T_ORDER", "environment");
  SvOption table[] = {{.kind = kSvOptSymbol, .name = "KVR_T_ORDER", .value = SvStrdup("table")}, {}};
  SvInstallTable(table);
  EXPECT_EQ(lookup("KVR_T_ORDER"), "table");
  SvInstallTable(nullptr);
  EXPECT_EQ(lookup("KVR_T_ORDER"), "environment");
  env::unset("KVR_T_ORDER");
  EXPECT_EQ(lookup("KVR_T_ORDER"), "user");
  writeUser("");
  EXPECT_EQ(lookup("KVR_T_ORDER"), "machine");
  writeMachine("");
  EXPECT_EQ(lookup("KVR_T_ORDER"), "<none>");
  SvFree(table[0].value, "test");
}

TEST_F(SvEnv, RegistryNamesIgnoreCaseAndExpandableValuesAreExpanded) {
  env::set("TEMP", "/tmp");
  writeUser("Kvrsyn=/s\nT:expand=%TEMP%/x\nU:expand=%KVR_T_NOSUCH%/y\n");
  EXPECT_EQ(lookup("KVRSYN"), "/s");
  EXPECT_EQ(lookup("T"), "/tmp/x");
  EXPECT_EQ(lookup("U"), "%KVR_T_NOSUCH%/y");
  // The environment is case-sensitive and comes first.
  env::set("KVRSYN", "/env");
  EXPECT_EQ(lookup("KVRSYN"), "/env");
  EXPECT_EQ(lookup("Kvrsyn"), "/s");
}

TEST_F(SvEnv, ValuesTooLongOrOfAnotherTypeFallThroughToTheMachineFile) {
  writeUser("LONG=" + std::string(4096, 'v') + "\nFITS=" + std::string(4095, 'w') + "\nN:dword=5\n" +
            "E:expand=" + std::string(4088, 'e') + "%TEMP%\n");
  writeMachine("LONG=machine\nN=machine\nE=machine\n");
  env::set("TEMP", "/tmp/dir");
  StderrCapture err;
  EXPECT_EQ(lookup("LONG"), "machine");
  EXPECT_EQ(lookup("FITS"), std::string(4095, 'w'));
  EXPECT_EQ(lookup("N"), "machine");
  EXPECT_EQ(lookup("E"), "machine");  // its expansion needs 4097 bytes
  EXPECT_EQ(err.text(),
            "SvGetRegistry: Symbol LONG to long 4097\n"
            "SvGetRegistry: Unexpected symbol type(0) for symbol N\n"
            "SvGetRegistry: Symbol E to long 4097\n");
}

TEST_F(SvEnv, RegistryFilesAreNeverWrittenOrCreated) {
  writeUser("A=1\n");
  std::filesystem::remove(machineFile_);
  auto before = std::filesystem::last_write_time(userFile_);
  EXPECT_EQ(lookup("A"), "1");
  EXPECT_EQ(lookup("MISSING"), "<none>");
  SvRegClose();
  SvRegOpen();
  EXPECT_EQ(std::filesystem::last_write_time(userFile_), before);
  EXPECT_EQ(test::readFile(userFile_), "A=1\n");
  EXPECT_FALSE(std::filesystem::exists(machineFile_));
}

TEST_F(SvEnv, TextLookupCutsPadsAndSkipsBlankNames) {
  env::set("KVR_T_LONG", "abcdefghijklmnopqrstuvwxy");
  writeUser("=registry value of the empty name\n");
  struct Case {
    const char* name;
    int32_t length;
    const char* value;
  } cases[] = {
      {"KVR_T_LONG", 10, "abcdefghij"},
      {"KVR_T_LONG   ", 30, "abcdefghijklmnopqrstuvwxy     "},
      {"     ", 8, "        "},  // no lookup, though the registry has an empty name
      {"KVR_T_UNSET", 6, "      "},
  };
  for (const Case& c : cases) {
    FixedText name(30, c.name);
    FixedText value(c.length, "stale value that must go");
    SvTextGetenv(name, value);
    EXPECT_EQ(value.view(), c.value) << c.name;
    FixedText envirnValue(c.length, "stale");
    ENVIRN(name, envirnValue);
    EXPECT_EQ(envirnValue.view(), c.value) << c.name;
  }
}

TEST_F(SvEnv, TextConversions) {
  std::string text(600, 'x');
  EXPECT_EQ(std::string(SvTextToStr(text.c_str(), 600)), std::string(511, 'x'));
  EXPECT_STREQ(SvTextToStr("ab  c   ", 8), "ab  c");
  EXPECT_STREQ(SvTextToStr("abc", 0), "");
  EXPECT_EQ(SvTextToStr("abc", -1), nullptr);
  FixedText t(4);
  EXPECT_EQ(SvStrToText("ab", t), 4);
  EXPECT_EQ(t.view(), "ab  ");
  EXPECT_EQ(SvStrToText("abcdef", t), -2);
  EXPECT_EQ(t.view(), "abcd");
  FixedText name(10, "KVR_T_X"), value(10, "set by text");
  EXPECT_EQ(SvTextSetenv(name, value), 0);
  EXPECT_EQ(envOr("KVR_T_X"), "set by tex");
}

TEST_F(SvEnv, SettersRemoveOnEmptyLeaveAnEqualValueAloneAndRefuseLongResults) {
  EXPECT_EQ(SvPutenv("KVR_T_A", "1"), 0);
  EXPECT_EQ(envOr("KVR_T_A"), "1");
  const char* before = env::get("KVR_T_A");
  EXPECT_EQ(vputenv("%s=%s", "KVR_T_A", "1"), 0);
  EXPECT_EQ(env::get("KVR_T_A"), before);  // untouched: not even set again
  EXPECT_EQ(vputenv("KVR_T_A=%d", 2), 0);
  EXPECT_EQ(envOr("KVR_T_A"), "2");
  EXPECT_EQ(SvPutenv("KVR_T_A", ""), 0);
  EXPECT_EQ(envOr("KVR_T_A"), "<unset>");

  std::string fits = "KVR_T_A=" + std::string(4094 - 8, 'v');
  std::string tooLong = fits + "v";
  StderrCapture err;
  EXPECT_EQ(vputenv("%s", tooLong.c_str()), -1);
  EXPECT_EQ(vSvSetenv("%s", tooLong.c_str()), -1);
  EXPECT_EQ(vSvSetenv("no equals sign"), -1);
  EXPECT_EQ(SvPutenv("", "x"), -1);
  EXPECT_EQ(err.text(),
            "vputenv: Internal buffer to small to update environment\n"
            "vSvSetenv: Internal buffer to small to update environment\n"
            "putenv: Invalid argument\n");
  EXPECT_EQ(envOr("KVR_T_A"), "<unset>");
  EXPECT_EQ(vputenv("%s", fits.c_str()), 0);
  EXPECT_EQ(envOr("KVR_T_A").size(), 4094u - 8);
}

TEST_F(SvEnv, SetenvAlsoSetsTheInstalledTablesSymbol) {
  SvOption table[] = {{.kind = kSvOptSymbol, .name = "KVR_T_A", .value = SvStrdup("old")}, {}};
  SvInstallTable(table);
  EXPECT_EQ(vSvSetenv("KVR_T_A=%s", "new"), 0);
  EXPECT_STREQ(table[0].value, "new");
  EXPECT_EQ(envOr("KVR_T_A"), "new");
  SvInstallTable(nullptr);
  SvFree(table[0].value, "test");
}

}  // namespace
}  // namespace kvr
