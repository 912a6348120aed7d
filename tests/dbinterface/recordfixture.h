// A fixture for the record routines: three temporary units (the third connected to
// /dev/full, so that its stream cannot be written), a message file, the element-type
// table built, and helpers that open a dataset on a unit, read a unit's stream back with
// TMPRD and check what a refused record left behind.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "dbinterface/diblocks.h"
#include "dbinterface/dimsg.h"
#include "dbinterface/direcs.h"
#include "dbinterface/tmpstream.h"
#include "difixture.h"
#include "modeldb/elttab.h"
#include "platform/unitio.h"

namespace kvr::test {

// The error flags of unit indexes 1 to 3.
using Flags = std::array<int32_t, 3>;

// One refusal of a record routine: its call on unit index K after PREPARE, under LUOPT
// and number format FORMAT, with the code, the flags and the line it must leave.
struct RefusalCase {
  const char* what;
  int32_t luopt, format, k;
  std::function<void()> prepare;
  std::function<int32_t()> call;
  int32_t code;
  Flags flags;
  std::string line;
};

class RecordFixture : public WritingRoadFixture {
 protected:
  static constexpr int32_t kMessageUnit = 30;
  static constexpr std::array<int32_t, 3> kUnits = {41, 42, 43};
  static constexpr int32_t kFullUnit = 3;  // unit index whose unit is /dev/full

  void SetUp() override {
    WritingRoadFixture::SetUp();
    ELTBLD(0);
    openUnit(kMessageUnit, "msg.txt", io::Form::Formatted);
    for (int32_t k = 1; k <= 2; ++k) connect(k, "t" + std::to_string(k));
    connect(kFullUnit, "/dev/full");
    configure(kOutputDatabase, kFormatI5E12);
  }

  // Starts again from a cleared state with the output option and number format given:
  // every unit free and its stream empty, the message file kept.
  void configure(int32_t luopt, int32_t numberFormat) {
    resetBlocks();
    DICTL.luopt = luopt;
    DICTL.numberFormat = numberFormat;
    DICTL.itfnum = static_cast<int32_t>(kUnits.size());
    for (int32_t k = 1; k <= DICTL.itfnum; ++k) {
      DICTL.tempUnit(k) = kUnits[static_cast<std::size_t>(k - 1)];
      io::unitRewind(kUnits[static_cast<std::size_t>(k - 1)]);
    }
    DICTL.lumsg1 = kMessageUnit;
    DICTL.lumsg2 = kNoMessageUnit;
  }

  // A dataset of KEY is open on unit index K, as an accepted header leaves it (the
  // header record itself is not written, so a stream read back starts at the records).
  static void openDataset(int32_t k, int32_t key) {
    DISTAT.datasetKey(k) = key;
    DISTAT.datasetComplete(k) = 0;
    DISTAT.groupStarted(k) = 0;
    DISTAT.lastId(k) = 0;
  }

  static int32_t unitNumber(int32_t k) { return kUnits[static_cast<std::size_t>(k - 1)]; }

  // The next append to unit index K writes a full record: on the /dev/full unit it fails.
  static void fillBuffer(int32_t k) { TMPBUF.channel(k).position = kStreamRecordWords - 1; }

  // The words appended to unit K's stream: flushed, rewound and read back one by one.
  static std::vector<int32_t> stream(int32_t k) {
    int32_t flag = 0;
    TMPFLS(k, flag);
    EXPECT_EQ(flag, 0);
    TMPRST(k);
    std::vector<int32_t> words;
    int32_t w = 0;
    for (;;) {
      TMPRD(std::span<int32_t>(&w, 1), k, flag);
      if (flag != 0) break;
      words.push_back(w);
    }
    return words;
  }

  static int32_t position(int32_t k) { return TMPBUF.channel(k).position; }

  std::vector<std::string> messages() { return linesOf(kMessageUnit, "msg.txt"); }

  static std::array<int32_t, 3> flags() {
    return {DISTAT.errorFlag(1), DISTAT.errorFlag(2), DISTAT.errorFlag(3)};
  }

  // The error line of CODE under ROUTINE, as written (without trailing blanks), with no
  // value, a number or a name.
  static std::string errorLine(int32_t code, const std::string& routine) {
    return trimmed(lineStart(code, routine));
  }
  static std::string errorLine(int32_t code, const std::string& routine, int32_t number) {
    char value[16];
    std::snprintf(value, sizeof value, "%8d", number);
    return lineStart(code, routine) + " (" + value + std::string(12, ' ') + ")";
  }
  static std::string errorLine(int32_t code, const std::string& routine, const std::string& name) {
    std::string field = trimmed(name);
    field.resize(20, ' ');
    return lineStart(code, routine) + " (" + field + ")";
  }
  // An information line with a number.
  static std::string infoLine(const std::string& routine, const std::string& text, int32_t number) {
    std::string t = text;
    t.resize(50, ' ');
    std::string r = routine;
    r.resize(6, ' ');
    char value[16];
    std::snprintf(value, sizeof value, "%10d", number);
    return " DI    : " + r + ": " + t + " : (" + value + ")";
  }

  // Runs each case from a cleared state with a dataset of KEY open on its unit, then
  // AFTER (when given) for the checks a routine adds of its own.
  void runRefusals(const std::vector<RefusalCase>& cases, int32_t key,
                   const std::function<void(const RefusalCase&)>& after = {}) {
    for (const RefusalCase& c : cases) {
      configure(c.luopt, c.format);
      openDataset(c.k, key);
      c.prepare();
      expectRefused(c.what, c.k, c.call, c.code, c.flags, c.line);
      if (after) after(c);
    }
  }

  // Runs CALL as a refused record: it must answer CODE, write LINE as the one new message
  // line, leave the flags FLAGS and append nothing to unit K's stream.
  void expectRefused(const std::string& what, int32_t k, const std::function<int32_t()>& call,
                     int32_t code, std::array<int32_t, 3> wantFlags, const std::string& line) {
    const std::size_t before = messages().size();
    const int32_t at = position(k);
    EXPECT_EQ(call(), code) << what;
    const std::vector<std::string> got = messages();
    ASSERT_EQ(got.size(), before + 1) << what;
    EXPECT_EQ(got.back(), line) << what;
    EXPECT_EQ(flags(), wantFlags) << what;
    EXPECT_EQ(position(k), at) << what << ": nothing may be appended";
  }

 private:
  void connect(int32_t k, const std::string& file) {
    io::OpenSpec want;
    want.file = file;
    want.form = io::Form::Unformatted;
    ASSERT_EQ(io::unitOpen(unitNumber(k), want), io::kIosOk) << file;
  }

  static std::string trimmed(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
  }

  static std::string lineStart(int32_t code, const std::string& routine) {
    char head[8];
    std::snprintf(head, sizeof head, "%03d", code);
    std::string text(dietabText(code));
    text.resize(50, ' ');
    std::string r = routine;
    r.resize(6, ' ');
    return std::string(" DI") + head + " : " + r + ": " + text + " :";
  }
};

}  // namespace kvr::test
