// A fixture for the settings lookup and the files by type: a temporary current directory,
// the environment variables they read cleared (HOME pointing into the directory, the
// registry files pointing nowhere), an injected command line holding only the program,
// the executable's directory at <dir>/p/bin/, and IOUNIT, DBPARM and PLTDEV in their load
// state with the default unit slots. Everything is put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/cmdline.h"
#include "platform/exedir.h"
#include "platform/unitio.h"
#include "runtime/iounit.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"
#include "runtime/resget.h"
#include "runtime/svutil/svenv.h"
#include "testsupport.h"

namespace kvr::test {

class SettingsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kVariables) {
      const char* v = std::getenv(name);
      saved_[name] = v != nullptr ? std::optional<std::string>(v) : std::nullopt;
      if (std::string(name) != "PATH") unsetenv(name);
    }
    setenv("KVR_REGISTRY_USER", dir.file("no-user-registry").c_str(), 1);
    setenv("KVR_REGISTRY_MACHINE", dir.file("no-machine-registry").c_str(), 1);
    std::filesystem::create_directory(dir.file("home"));
    setenv("HOME", dir.file("home").c_str(), 1);
    SvRegClose();
    os::setExecutableDirectoryOverride(dir.file("p/bin/"));
    setArguments({"prog"});
    IOUNIT = {};
    PLTDEV = {};
    PLTPAR = {};
    setDefaultUnitSlots();
  }

  void TearDown() override {
    io::closeAllUnits();
    clearCommandLineOverride();
    resetCommandLineProbe();
    os::setExecutableDirectoryOverride(std::nullopt);
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
    SvRegClose();
    IOUNIT = {};
    PLTDEV = {};
    PLTPAR = {};
  }

  // Replaces the command line (argument 0 first) and lets the probe run again.
  static void setArguments(std::vector<std::string> args) {
    setCommandLineOverride(std::move(args));
    resetCommandLineProbe();
  }

  // A settings request of the library: application "Quorin".
  struct Lookup {
    std::string value;  // trimmed
    int32_t status;
  };
  static Lookup lookup(const std::string& prog, const std::string& section,
                       const std::string& key, bool isSwitch = false, int32_t valueLength = 80) {
    FixedText app(6, "Quorin");
    FixedText p(16, prog);
    FixedText s(16, section);
    FixedText k(16, key);
    FixedText value(valueLength, "stale");
    int32_t status = 99;
    RESGET(app, p, s, k, isSwitch, value, status);
    return {value.trimmed(), status};
  }

  void makeDirectories(const std::string& path) {
    std::filesystem::create_directories(dir.file(path));
  }

  TempDir dir;

 private:
  static constexpr const char* kVariables[] = {
      "QUORIN_INIT", "QUORIN_GLOBAL_INIT", "KVRKEY", "HOME", "KVRSYN", "KVRSTR",
      "KVR_REGISTRY_USER", "KVR_REGISTRY_MACHINE", "PATH"};
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace kvr::test
