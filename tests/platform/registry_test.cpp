#include "platform/registry.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/environment.h"
#include "testsupport.h"

namespace kvr::registry {
namespace {

using kvr::test::SavedEnv;
using kvr::test::TempDir;
using kvr::test::writeFile;

TEST(RegistryHive, ReadsTypesIgnoresLinesWithoutEqualsAndMatchesNamesIgnoringCase) {
  TempDir dir;
  writeFile(dir.file("reg"),
            "# a comment line\n"
            "Kvrsyn=/s\r\n"
            "T:expand=%TEMP%/x\n"
            "N:dword=5\n"
            "Empty=\n"
            "kvrsyn=second\n"
            "Eq=a=b\n");
  Hive hive;
  ASSERT_TRUE(hive.open(dir.file("reg")));
  struct Case {
    const char* name;
    int32_t type;
    const char* data;
  } cases[] = {
      {"KVRSYN", kTypeString, "/s"},  // first line of a name counts; the CR is dropped
      {"t", kTypeExpandable, "%TEMP%/x"},
      {"N", kTypeUnexpected, "5"},
      {"Empty", kTypeString, ""},
      {"Eq", kTypeString, "a=b"},
  };
  for (const Case& c : cases) {
    const Value* v = hive.find(c.name);
    ASSERT_NE(v, nullptr) << c.name;
    EXPECT_EQ(v->type, c.type) << c.name;
    EXPECT_EQ(v->data, c.data) << c.name;
  }
  EXPECT_EQ(hive.find("# a comment line"), nullptr);
  EXPECT_EQ(hive.find("Missing"), nullptr);
  hive.close();
  EXPECT_FALSE(hive.isOpen());
  EXPECT_EQ(hive.find("Kvrsyn"), nullptr);
}

TEST(RegistryHive, AMissingFileStaysClosedAndNothingIsCreated) {
  TempDir dir;
  Hive hive;
  EXPECT_FALSE(hive.open(dir.file("none")));
  EXPECT_FALSE(hive.isOpen());
  EXPECT_FALSE(std::filesystem::exists(dir.file("none")));
}

TEST(RegistryFiles, OverridesThenXdgThenHome) {
  SavedEnv saved({"KVR_REGISTRY_USER", "KVR_REGISTRY_MACHINE", "XDG_CONFIG_HOME", "HOME"});
  env::set("KVR_REGISTRY_USER", "/u/reg");
  env::set("KVR_REGISTRY_MACHINE", "/m/reg");
  EXPECT_EQ(userFile(), "/u/reg");
  EXPECT_EQ(machineFile(), "/m/reg");
  env::unset("KVR_REGISTRY_USER");
  env::unset("KVR_REGISTRY_MACHINE");
  env::set("XDG_CONFIG_HOME", "/x");
  env::set("HOME", "/h");
  EXPECT_EQ(userFile(), "/x/quellix/selvo/9.3/registry");
  EXPECT_EQ(machineFile(), "/etc/quellix/selvo/9.3/registry");
  env::unset("XDG_CONFIG_HOME");
  EXPECT_EQ(userFile(), "/h/.config/quellix/selvo/9.3/registry");
  env::unset("HOME");
  EXPECT_EQ(userFile(), "");
}

TEST(RegistryExpand, ReplacesKnownNamesAndKeepsUnknownOnesAndLonePercents) {
  SavedEnv saved({"KVR_X_TEMP", "KVR_X_NOSUCH"});
  env::set("KVR_X_TEMP", "/tmp");
  env::unset("KVR_X_NOSUCH");
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"%KVR_X_TEMP%/x", "/tmp/x"},
      {"%KVR_X_NOSUCH%/x", "%KVR_X_NOSUCH%/x"},
      {"100%", "100%"},
      {"a%%b", "a%%b"},
      {"%KVR_X_NOSUCH%%KVR_X_TEMP%", "%KVR_X_NOSUCH%/tmp"},
      {"no references", "no references"},
  };
  for (const Case& c : cases) EXPECT_EQ(expandEnvironment(c.in), c.out) << c.in;
}

TEST(Environment, EmptyValueRemovesAndBadNamesAreRefused) {
  SavedEnv saved({"KVR_X_VAR"});
  EXPECT_EQ(env::set("KVR_X_VAR", "1"), 0);
  EXPECT_STREQ(env::get("KVR_X_VAR"), "1");
  EXPECT_EQ(env::put("KVR_X_VAR=two=2"), 0);
  EXPECT_STREQ(env::get("KVR_X_VAR"), "two=2");
  EXPECT_EQ(env::put("KVR_X_VAR="), 0);
  EXPECT_EQ(env::get("KVR_X_VAR"), nullptr);
  EXPECT_EQ(env::put("NOEQUALS"), -1);
  EXPECT_EQ(env::set("", "x"), -1);
  EXPECT_EQ(env::set("A=B", "x"), -1);
}

}  // namespace
}  // namespace kvr::registry
