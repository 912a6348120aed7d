// A fixture for the writing road: its blocks and stream buffers start cleared, the test
// runs in a temporary directory, and what the library writes to standard output goes to a
// file there that the test can read back.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "dbinterface/diblocks.h"
#include "dbinterface/tmpstream.h"
#include "platform/unitio.h"
#include "testsupport.h"

namespace kvr::test {

class WritingRoadFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    resetBlocks();
    int fd = ::open(dir.file("stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    io::redirectStandardUnit(io::kStdoutUnit, fd);
    ::close(fd);
  }

  void TearDown() override {
    io::closeAllUnits();
    io::redirectStandardUnit(io::kStdoutUnit, -1);
    resetBlocks();
  }

  static void resetBlocks() {
    DICTL = {};
    DIUNIT = {};
    DISTAT = {};
    TMPBUF = {};
    DIBLNK = kBlankCode;
  }

  // Connects UNIT to the file NAME of the test directory.
  static void openUnit(int32_t unit, const std::string& name, io::Form form) {
    io::OpenSpec want;
    want.file = name;
    want.form = form;
    ASSERT_EQ(io::unitOpen(unit, want), io::kIosOk) << name;
  }

  std::vector<std::string> stdoutLines() {
    io::unitFlush(io::kStdoutUnit);
    return readLines(dir.file("stdout.txt"));
  }

  std::vector<std::string> linesOf(int32_t unit, const std::string& name) {
    io::unitFlush(unit);
    return readLines(dir.file(name));
  }

  TempDir dir;
};

}  // namespace kvr::test
