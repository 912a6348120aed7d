// Fixtures shared by the Sv library tests: saved environment variables, registry files in
// a temporary directory, and the option table uninstalled around each test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/environment.h"
#include "runtime/svutil/svenv.h"
#include "runtime/svutil/svoptions.h"
#include "testsupport.h"

namespace kvr::svtest {

using kvr::test::SavedEnv;

// A temporary directory holding the user and machine registry files (empty at first),
// named through KVR_REGISTRY_USER and KVR_REGISTRY_MACHINE; no option table installed.
class SvEnvTest : public ::testing::Test {
 protected:
  SvEnvTest()
      : saved_({"KVR_REGISTRY_USER", "KVR_REGISTRY_MACHINE", "HOME", "PATH", "SVOBIN", "TEMP"}) {}

  void SetUp() override {
    userFile_ = dir_.file("user.reg");
    machineFile_ = dir_.file("machine.reg");
    writeUser("");
    writeMachine("");
    env::set("KVR_REGISTRY_USER", userFile_);
    env::set("KVR_REGISTRY_MACHINE", machineFile_);
    SvRegClose();
    SvInstallTable(nullptr);
  }

  void TearDown() override {
    SvInstallTable(nullptr);
    SvRegClose();
  }

  // Rewrites a registry file; the next lookup reads it afresh.
  void writeUser(const std::string& text) {
    test::writeFile(userFile_, text);
    SvRegClose();
  }
  void writeMachine(const std::string& text) {
    test::writeFile(machineFile_, text);
    SvRegClose();
  }

  test::TempDir dir_;
  SavedEnv saved_;
  std::string userFile_;
  std::string machineFile_;
};

// Captures what the code under test writes to the standard error stream.
class StderrCapture {
 public:
  StderrCapture() { ::testing::internal::CaptureStderr(); }
  ~StderrCapture() {
    if (!taken_) ::testing::internal::GetCapturedStderr();
  }
  std::string text() {
    taken_ = true;
    return ::testing::internal::GetCapturedStderr();
  }

 private:
  bool taken_ = false;
};

}  // namespace kvr::svtest
