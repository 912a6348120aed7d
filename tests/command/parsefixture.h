// The fixture of the parse loop and the input sources: the command fixture, with the echo
// on, the echo line, log, pick words and last values cleared, the host's command callbacks
// recorded, and the console prompt reading the operator's replies from unit 5.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cmdfixture.h"
#include "command/cmdfile.h"
#include "command/cmdlog.h"
#include "command/pckprm.h"
#include "command/prslin.h"
#include "modeldb/inpsrc.h"
#include "modeldb/seqtab.h"
#include "platform/unitio.h"
#include "runtime/hostcb.h"
#include "runtime/iounit.h"
#include "runtime/pltopt.h"
#include "runtime/pltpar.h"
#include "runtime/replyb.h"

namespace kvr::test {

// One call of a host command callback: the callback, its text(s) trimmed and the position.
struct HostCall {
  HostCommand callback;
  std::string first;
  int32_t position;
  std::string second;
  bool operator==(const HostCall&) const = default;
};

inline std::vector<HostCall> gHostCalls;

class ParseFixture : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    // The units of the file types (the command file's among them), the journals kept.
    setDefaultUnitSlots();
    IOUNIT.slot(kSlotJournalFile) = kJournal1Unit;
    IOUNIT.slot(kSlotLogFile) = kLogUnit;
    clearParseBlocks();
    SYNSTA.echo = 1;
    PLTPAR.inUnit = io::kStdinUnit;
    gHostCalls.clear();
    setHostCommandObserver([](HostCommand callback, int32_t position, int32_t, FText first,
                              FText second, FText) {
      gHostCalls.push_back({callback, first.trimmed(), position, second.trimmed()});
    });
  }

  void TearDown() override {
    io::redirectStandardUnit(io::kStdinUnit, -1);
    clearParseBlocks();
    gHostCalls.clear();
    CommandFixture::TearDown();
  }

  static void clearParseBlocks() {
    gEchoLine = {};
    gCommandLog = {};
    gPickCounters = {};
    gPickMemory = {};
    gLastValues = {};
    gParseSwitches = {};
    gCommandFile = {};
    REPLYB = {};
    VWDFLT = {};
    PLTOPT.interruptFlag = 0;
    PLTOPT.interruptEndedInput = 0;
  }

  // Parses LINE (blank-padded to 255) in menu MENU with input mode MODE; answers the link.
  int32_t parse(int32_t menu, std::string_view line, int32_t mode = kParseKeyboard) {
    std::string text(line);
    text.resize(255, ' ');
    int32_t next = -99;
    PRSLIN(context_, menu, FText(text), mode, next);
    return next;
  }

  // The lines the operator types, each ended by a new line; the input ends after them.
  void replies(const std::string& text) { scriptStandardInput(dir.file("console.in"), text); }

  // Writes a command file NAME holding TEXT and makes it the input.
  void commandFile(const std::string& name, const std::string& text) {
    writeFile(dir.file(name), text);
    const std::vector<int32_t> codes = CommandFixture::codes(name);
    INPSRC(codes, static_cast<int32_t>(codes.size()));
    ASSERT_EQ(IOMODE.inputMode, kInputCommandFile);
  }

  static std::string echo() { return chars(gEchoLine.codes, 1, gEchoLine.length); }
  static std::string log() { return chars(gCommandLog.codes, 1, gCommandLog.length); }

  // The text of answer record I.
  static std::string answerText(int32_t i) {
    std::array<int32_t, 255> line{};
    int32_t count = 0;
    int32_t length = 0;
    ANSTXT(i, 255, line, count, length);
    return chars(line, 1, count);
  }

  static std::vector<HostCall> callsOf(HostCommand callback) {
    std::vector<HostCall> calls;
    for (const HostCall& c : gHostCalls) {
      if (c.callback == callback) calls.push_back(c);
    }
    return calls;
  }

  std::array<int32_t, 255> context_{};
};

}  // namespace kvr::test
