// A fixture for whole sessions of the writing road through its internal routines: the
// start fixture (a temporary current directory, message file, standard output caught),
// a fixed process id and clock, standard input at its end (every dialogue ends at once),
// the process stop trapped, the catalogue messages of the database seen, four temporary
// units of its own (B is unit 12) and the neutral text file on "out.neu".
//
// A test starts the road (begin), sends headers and records, and processes datasets with
// DILIM, cleans up with DIERR and stops with DISTP, as a host does; it then looks at the
// files: the database pages on disk, the neutral text file, the streams.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "dbinterface/diblocks.h"
#include "dbinterface/dihed2.h"
#include "dbinterface/diini.h"
#include "dbinterface/dilim.h"
#include "dbinterface/dimodel.h"
#include "dbinterface/dipasm.h"
#include "dbinterface/diresult.h"
#include "dbinterface/distp.h"
#include "dbinterface/ldframe.h"
#include "dbinterface/reslvl.h"
#include "dbinterface/tmpstream.h"
#include "loaderfixture.h"
#include "modeldb/arrreg.h"
#include "modeldb/cmptrf.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dbmsg.h"
#include "modeldb/dbopen.h"
#include "modeldb/dbpage.h"
#include "modeldb/elttab.h"
#include "platform/procid.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/dattim.h"
#include "runtime/setget.h"
#include "startfixture.h"
#include "testsupport.h"

namespace kvr::test {

class SessionFixture : public StartFixture {
 protected:
  static constexpr int32_t kOurPid = 31337;
  static constexpr LocalTime kMoment{2024, 3, 5, 14, 30, 15};
  static constexpr std::array<int32_t, 4> kSessionUnits = {51, 12, 53, 54};
  static constexpr int32_t kQU4 = 9;

  struct Message {
    int32_t number;
    std::vector<int32_t> values;
    bool operator==(const Message&) const = default;
  };

  void SetUp() override {
    StartFixture::SetUp();
    os::setProcessIdOverride(kOurPid);
    setClockOverride(kMoment);
    scriptStandardInput(dir.file("console.in"), "");
    for (int32_t k = 1; k <= 4; ++k) {
      connect(su(k), "s" + std::to_string(k) + ".tmp", io::Form::Unformatted);
    }
    connect(kLuneu, "out.neu", io::Form::Formatted);
    setDbMessageObserver([this](int32_t n, std::span<const int32_t> v, std::span<const int32_t>) {
      seen.push_back({n, std::vector<int32_t>(v.begin(), v.end())});
    });
  }

  void TearDown() override {
    setDbMessageObserver(nullptr);
    DBCLOS();
    ARRREL();
    setWrittenHighestSource(nullptr);
    DICNT = {};
    ASMACC = {};
    CMPTRF = {};
    RESWLK = {};
    PGCUR = {};
    CTLREC = {};
    ELTBLD(0);
    io::redirectStandardUnit(io::kStdinUnit, -1);
    setClockOverride(std::nullopt);
    os::setProcessIdOverride(std::nullopt);
    StartFixture::TearDown();
  }

  // The unit number of session unit index K.
  static int32_t su(int32_t k) { return kSessionUnits[static_cast<std::size_t>(k - 1)]; }

  // Starts the road with LUOPT over the four session units, DIDBI too unless only the
  // neutral file is written; DIINI's IERR is answered.
  static int32_t begin(int32_t luopt, int32_t ipgsiz = 2040, int32_t nform = 5) {
    int32_t ierr = -1;
    DIINI(luopt, kLudb8, kLudb7, kLuneu, kSessionUnits, 4, 0, nform, kMessageUnit,
          kNoMessageUnit, ipgsiz, ierr);
    if (ierr == 0 && luopt != kOutputNeutral) {
      int32_t opened = 0;
      DIDBI(opened, ierr);
    }
    return ierr;
  }

  static int32_t header(int32_t key, int32_t opcode, const std::string& name, int32_t k) {
    int32_t ierr = -1;
    DIHED2(key, opcode, FixedText(20, name), 0.0f, 0, FixedText(20, "Title"), 0,
           FixedText(10, ""), ierr, su(k));
    return ierr;
  }

  // Nodes 1 to 4 of a unit square on unit K.
  static void square(int32_t k) {
    const float xy[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int32_t id = 1; id <= 4; ++id) {
      int32_t ierr = -1;
      DICOR(id, xy[id - 1][0], xy[id - 1][1], 0.0f, 0, ierr, su(k));
      ASSERT_EQ(ierr, 0) << "node " << id;
    }
  }
  // Element 1, a QU4 on nodes 1 to 4, on unit K.
  static void quad(int32_t k) {
    const std::vector<int32_t> nodes = {1, 2, 3, 4};
    int32_t ierr = -1;
    DITOP(1, kQU4, 1, 1, nodes, 0, ierr, su(k));
    ASSERT_EQ(ierr, 0);
  }

  // A nodal results dataset of load case LOADCASE on unit K: three displacements at nodes 1
  // to 4.
  static void displacements(const std::string& loadCase, int32_t k) {
    ASSERT_EQ(header(100, 1, loadCase, k), 0);
    int32_t ierr = -1;
    DIRHA(FixedText(8, "DISPLACE"), 3, 1, 0, ierr, su(k));
    ASSERT_EQ(ierr, 0);
    const std::array<const char*, 3> names = {"DX", "DY", "DZ"};
    for (int32_t c = 1; c <= 3; ++c) {
      DIRHB(FixedText(8, names[static_cast<std::size_t>(c - 1)]), 1, 2, c, 0, 0, FixedText(8, ""),
            FixedText(8, ""), ierr, su(k));
      ASSERT_EQ(ierr, 0) << c;
    }
    for (int32_t id = 1; id <= 4; ++id) {
      const std::array<float, 3> values = {0.1f * static_cast<float>(id), 0.0f, -0.5f};
      DINIA(id, values, 3, ierr, su(k));
      ASSERT_EQ(ierr, 0);
    }
  }

  // The model NAME created with the square and its QU4, each dataset processed (the
  // model header goes with the nodes on unit A). KEY 1 or 111.
  static void createSquare(const std::string& name, int32_t key = 1) {
    ASSERT_EQ(header(key, 1, name, kA), 0);
    ASSERT_EQ(header(2, 1, "", kA), 0);
    square(kA);
    ASSERT_EQ(dilim(kA), 0);
    ASSERT_EQ(header(3, 1, "", kA), 0);
    quad(kA);
    ASSERT_EQ(dilim(kA), 0);
  }

  static int32_t dilim(int32_t k) {
    int32_t ierr = -1;
    DILIM(ierr, su(k));
    return ierr;
  }
  static int32_t distp() {
    int32_t ierr = -1;
    DISTP(ierr);
    return ierr;
  }
  static int32_t dierr(int32_t level, int32_t k) {
    int32_t ierr = -1;
    DIERR(level, ierr, k == 0 ? 77 : su(k));
    return ierr;
  }

  static std::vector<int32_t> allFlags() {
    std::vector<int32_t> f;
    for (int32_t k = 1; k <= kMaxTempUnits; ++k) f.push_back(DISTAT.errorFlag(k));
    return f;
  }
  static std::vector<int32_t> flagsAt(int32_t flag) {
    return std::vector<int32_t>(kMaxTempUnits, flag);
  }

  bool exists(const std::string& name) const { return std::filesystem::exists(dir.file(name)); }

  // Word K of page P of the file NAME of SIZE-word pages, as the disk holds it; 0 beyond
  // its end.
  int32_t diskWord(const std::string& name, int32_t size, int32_t p, int32_t k) {
    io::unitFlush(kLudb7);
    io::unitFlush(kLudb8);
    const std::string bytes = readFile(dir.file(name));
    const size_t at =
        4 * (static_cast<size_t>(p - 1) * static_cast<size_t>(size) + static_cast<size_t>(k - 1));
    if (at + 4 > bytes.size()) return 0;
    uint32_t w = 0;
    for (int b = 3; b >= 0; --b) w = (w << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(b)]);
    return static_cast<int32_t>(w);
  }
  void setDiskWord(const std::string& name, int32_t size, int32_t p, int32_t k, int32_t value) {
    std::string bytes = readFile(dir.file(name));
    const size_t at =
        4 * (static_cast<size_t>(p - 1) * static_cast<size_t>(size) + static_cast<size_t>(k - 1));
    ASSERT_LE(at + 4, bytes.size());
    for (int b = 0; b < 4; ++b) {
      bytes[at + static_cast<size_t>(b)] =
          static_cast<char>((static_cast<uint32_t>(value) >> (8 * b)) & 0xFF);
    }
    writeFile(dir.file(name), bytes);
  }

  // The words of the stream that the file of session unit K holds (records of 1024 words
  // framed by their lengths, word 1 the used words).
  std::vector<int32_t> streamWords(int32_t k) {
    io::unitFlush(su(k));
    const std::string bytes = readFile(dir.file("s" + std::to_string(k) + ".tmp"));
    const auto word = [&bytes](size_t at) {
      uint32_t w = 0;
      for (int b = 3; b >= 0; --b) w = (w << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(b)]);
      return static_cast<int32_t>(w);
    };
    std::vector<int32_t> words;
    constexpr size_t kRecord = 4 * kStreamRecordWords + 8;
    for (size_t at = 0; at + kRecord <= bytes.size(); at += kRecord) {
      const int32_t used = word(at + 4);
      for (int32_t j = 2; j <= used && j <= kStreamRecordWords; ++j) {
        words.push_back(word(at + 4 * static_cast<size_t>(j)));
      }
    }
    return words;
  }

  // The lines of the neutral text file.
  std::vector<std::string> neutralLines() {
    io::unitFlush(kLuneu);
    return readLines(dir.file("out.neu"));
  }

  // Opens the database of the model NAME again, as a reader would; its status.
  int32_t reopen(const std::string& name) {
    std::vector<int32_t> codes(20, kBlankCode);
    for (size_t j = 0; j < name.size() && j < codes.size(); ++j) codes[j] = codeOf(name[j]);
    TLBOPN(buffer, codes, 20, status_);
    return status_;
  }

  // The first page of dataset TYPE in the directory of the database open, 0 none.
  static int32_t recorded(int32_t type) {
    int32_t first = -1;
    DSDIRF(type, first);
    return first;
  }

  StopTrap stopTrap;
  std::vector<Message> seen;
  std::vector<int32_t> buffer = std::vector<int32_t>(kLargestPageWords, 0);

 private:
  int32_t status_ = 0;
};

}  // namespace kvr::test
