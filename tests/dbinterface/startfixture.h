// A fixture for the start of the writing road and its dataset headers: the settings
// fixture (a temporary current directory, no settings files, the default unit slots), the
// blocks of the road cleared, standard output caught in a file, a message file, and four
// temporary units: A, B, C, E and F on files of the directory, D on /dev/full so that
// its stream cannot be written. start() runs DIINI as a host does; what the start-up changes
// beyond the road's own blocks (the interrupt handler, the plot options) is put back.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "../runtime/settingsfixture.h"
#include "dbinterface/diblocks.h"
#include "dbinterface/diini.h"
#include "dbinterface/dimsg.h"
#include "dbinterface/tmpstream.h"
#include "modeldb/dblevl.h"
#include "platform/unitio.h"
#include "runtime/pltopt.h"

namespace kvr::test {

class StartFixture : public SettingsFixture {
 protected:
  static constexpr int32_t kMessageUnit = 30;
  static constexpr std::array<int32_t, 6> kUnits = {41, 42, 43, 44, 45, 46};
  static constexpr int32_t kA = 1, kB = 2, kC = 3, kD = 4, kE = 5, kF = 6;  // unit indices
  static constexpr int32_t kLudb8 = 18, kLudb7 = 17, kLuneu = 21;

  void SetUp() override {
    SettingsFixture::SetUp();
    ::sigaction(SIGINT, nullptr, &previousInterrupt_);
    resetBlocks();
    int fd = ::open(dir.file("stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    io::redirectStandardUnit(io::kStdoutUnit, fd);
    ::close(fd);
    connect(kMessageUnit, "msg.txt", io::Form::Formatted);
    connect(unit(kA), "a.tmp", io::Form::Unformatted);
    connect(unit(kB), "b.tmp", io::Form::Unformatted);
    connect(unit(kC), "c.tmp", io::Form::Unformatted);
    connect(unit(kD), "/dev/full", io::Form::Unformatted);
    connect(unit(kE), "e.tmp", io::Form::Unformatted);
    connect(unit(kF), "f.tmp", io::Form::Unformatted);
  }

  void TearDown() override {
    io::closeAllUnits();
    io::redirectStandardUnit(io::kStdoutUnit, -1);
    resetBlocks();
    PLTOPT = {};
    ::sigaction(SIGINT, &previousInterrupt_, nullptr);
    SettingsFixture::TearDown();
  }

  static void resetBlocks() {
    DICTL = {};
    DIUNIT = {};
    DISTAT = {};
    TMPBUF = {};
    DBLEVL = {};
    DIBLNK = kBlankCode;
  }

  // DIINI with the six units, message file and number format 5; IERR is answered.
  static int32_t start(int32_t luopt, int32_t itfnum = 6, int32_t ipgsiz = 2040,
                       int32_t nform = 5) {
    int32_t ierr = -1;
    DIINI(luopt, kLudb8, kLudb7, kLuneu, kUnits, itfnum, 0, nform, kMessageUnit,
          kNoMessageUnit, ipgsiz, ierr);
    return ierr;
  }

  static int32_t unit(int32_t k) { return kUnits[static_cast<std::size_t>(k - 1)]; }

  static void connect(int32_t u, const std::string& file, io::Form form) {
    io::OpenSpec want;
    want.file = file;
    want.form = form;
    ASSERT_EQ(io::unitOpen(u, want), io::kIosOk) << file;
  }

  std::vector<std::string> messages() {
    io::unitFlush(kMessageUnit);
    return readLines(dir.file("msg.txt"));
  }

  std::vector<std::string> stdoutLines() {
    io::unitFlush(io::kStdoutUnit);
    return readLines(dir.file("stdout.txt"));
  }

  // The error line of CODE under ROUTINE as written: without a value, with a number or
  // with a name.
  static std::string errorLine(int32_t code, const std::string& routine) {
    std::string line = lineStart(code, routine);
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
  }
  static std::string errorLine(int32_t code, const std::string& routine, int32_t number) {
    char value[16];
    std::snprintf(value, sizeof value, "%8d", number);
    return lineStart(code, routine) + " (" + value + std::string(12, ' ') + ")";
  }
  static std::string errorLine(int32_t code, const std::string& routine,
                               const std::string& name) {
    std::string field = name;
    field.resize(20, ' ');
    return lineStart(code, routine) + " (" + field + ")";
  }
  // An information line without a value, or with a name.
  static std::string infoLine(const std::string& routine, const std::string& text) {
    std::string line = infoStart(routine, text);
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
  }
  static std::string infoLine(const std::string& routine, const std::string& text,
                              const std::string& name) {
    std::string field = name;
    field.resize(20, ' ');
    return infoStart(routine, text) + " (" + field + ")";
  }

 private:
  static std::string padded(const std::string& s, std::size_t n) {
    std::string t = s;
    t.resize(n, ' ');
    return t;
  }
  static std::string lineStart(int32_t code, const std::string& routine) {
    char head[8];
    std::snprintf(head, sizeof head, "%03d", code);
    return std::string(" DI") + head + " : " + padded(routine, 6) + ": " +
           padded(std::string(dietabText(code)), 50) + " :";
  }
  static std::string infoStart(const std::string& routine, const std::string& text) {
    return " DI    : " + padded(routine, 6) + ": " + padded(text, 50) + " :";
  }

  struct sigaction previousInterrupt_ {};
};

}  // namespace kvr::test
