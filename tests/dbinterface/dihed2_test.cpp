#include "dbinterface/dihed2.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "dbinterface/diblocks.h"
#include "dbinterface/diini.h"
#include "dbinterface/dilim.h"
#include "dbinterface/dimodel.h"
#include "dbinterface/tmpstream.h"
#include "modeldb/arrreg.h"
#include "modeldb/dbopen.h"
#include "runtime/iounit.h"
#include "startfixture.h"

namespace kvr {
namespace {

class Headers : public test::StartFixture {
 protected:
  // Starts the road with LUOPT; DIDBI too when READY.
  void begin(int32_t luopt, bool ready) {
    ASSERT_EQ(start(luopt), 0);
    if (ready) {
      int32_t opened = 0;
      int32_t ierr = -1;
      DIDBI(opened, ierr);
    }
  }

  // A header of KEY with OPCODE and NAME on unit index K (0: a unit that is none of
  // them); IERR is answered.
  static int32_t header(int32_t key, int32_t opcode, const std::string& name, int32_t k) {
    int32_t ierr = -1;
    DIHED2(key, opcode, FixedText(20, name), 0.0f, 0, FixedText(20, "Title"), 0,
           FixedText(10, ""), ierr, k == 0 ? 99 : unit(k));
    return ierr;
  }

  static std::array<int32_t, 4> flags() {
    return {DISTAT.errorFlag(kA), DISTAT.errorFlag(kB), DISTAT.errorFlag(kC),
            DISTAT.errorFlag(kD)};
  }
};

// One step of a case: a header, or (key 0) node 1 sent to the coordinates on unit K.
struct Step {
  int32_t key;
  int32_t opcode;
  const char* name;
  int32_t k;
  int32_t code;
};

struct Case {
  const char* what;
  int32_t luopt;
  std::vector<Step> steps;
};

// Each case from a fresh start; every step must answer its code.
TEST_F(Headers, CodesOfTheChecksInTheirOrder) {
  const std::vector<Case> cases = {
      {"unknown unit, then every unit refuses", 2,
       {{1, 1, "BEAM", 0, 211}, {1, 1, "BEAM", kA, 32}, {2, 1, "", kC, 32}}},
      {"unknown key and opcode", 2, {{4, 1, "", kA, 112}, {1, 4, "BEAM", kB, 113}}},
      {"no model active", 2,
       {{2, 1, "", kA, 114}, {3, 1, "", kB, 119}, {41, 1, "", kC, 193}}},
      {"results before coordinates", 2, {{1, 1, "BEAM", kA, 0}, {100, 1, "LOAD", kB, 126}}},
      {"blank load-case name after an append", 2,
       {{1, 2, "BEAM", kA, 0},
        {100, 1, "      X", kB, 128},
        {300, 1, "", kC, 0},
        {2, 1, "", kE, 115},
        {3, 1, "", kF, 121}}},
      {"a build", 2,
       {{1, 3, "ASSY", kA, 0},
        {2, 1, "", kB, 116},
        {3, 1, "", kC, 122},
        {18, 1, "", kD, 124},
        {19, 1, "", kE, 124},
        {20, 1, "", kF, 125}}},
      {"coordinates twice, opcode not 1", 2,
       {{1, 1, "BEAM", kA, 0},
        {2, 2, "", kB, 118},
        {2, 1, "", kC, 0},
        {2, 1, "", kE, 117},
        {100, 1, "LOAD", kF, 126}}},
      {"topology missing", 2,
       {{1, 1, "BEAM", kA, 0}, {2, 1, "", kB, 0}, {0, 0, "", kB, 0}, {3, 1, "", kC, 0},
        {3, 1, "", kE, 123}, {100, 1, "LOAD", kF, 127}}},
      {"a model header needs a free unit", 2,
       {{1, 1, "BEAM", kA, 0}, {1, 2, "BEAM", kA, 111}}},
      {"a second dataset on the unit of the first", 2,
       {{1, 1, "BEAM", kA, 0}, {2, 1, "", kA, 0}, {3, 1, "", kA, 111}}},
      {"database output without DIDBI", 3, {{1, 1, "BEAM", kA, 29}, {2, 1, "", kA, 29}}},
      {"the header cannot be written", 2, {{1, 1, "BEAM", kD, 0}}},
  };
  for (const Case& c : cases) {
    resetBlocks();
    ASSERT_EQ(start(c.luopt), 0) << c.what;
    int32_t step = 0;
    for (const Step& s : c.steps) {
      ++step;
      if (s.key == 0) {
        int32_t ierr = -1;
        DICOR(1, 0.0f, 0.0f, 0.0f, 0, ierr, unit(s.k));
        EXPECT_EQ(ierr, s.code) << c.what << ", step " << step;
      } else {
        EXPECT_EQ(header(s.key, s.opcode, s.name, s.k), s.code) << c.what << ", step " << step;
      }
    }
  }
}

TEST_F(Headers, FlagsOfTheRefusals) {
  begin(kOutputNeutral, false);
  EXPECT_EQ(header(1, 1, "BEAM", 0), 211);
  EXPECT_EQ(messages().back(), errorLine(211, "DIHED2", 99));
  EXPECT_EQ(flags(), (std::array<int32_t, 4>{2, 2, 2, 2}));
  for (int32_t k = 5; k <= kMaxTempUnits; ++k) EXPECT_EQ(DISTAT.errorFlag(k), 2);
  // An unknown key on a unit whose model must be abandoned leaves its flag at 2.
  EXPECT_EQ(header(4, 1, "", kA), 112);
  EXPECT_EQ(header(1, 9, "", kA), 113);
  EXPECT_EQ(flags(), (std::array<int32_t, 4>{2, 2, 2, 2}));
  EXPECT_EQ(messages().back(), errorLine(113, "DIHED2", 9));

  resetBlocks();
  begin(kOutputNeutral, false);
  EXPECT_EQ(header(4, 1, "", kA), 112);
  EXPECT_EQ(messages().back(), errorLine(112, "DIHED2", 4));
  EXPECT_EQ(header(1, 1, "BEAM", kB), 0);
  EXPECT_EQ(header(1, 1, "BEAM", kB), 111);
  EXPECT_EQ(messages().back(), errorLine(111, "DIHED2", unit(kB)));
  EXPECT_EQ(header(1, 1, "BEAM", kC), 0);
  EXPECT_EQ(header(100, 1, "LOAD", kC), 126);
  EXPECT_EQ(messages().back(), errorLine(126, "DIHED2"));
  EXPECT_EQ(flags(), (std::array<int32_t, 4>{1, 1, 1, 0}));

  // 129: unit D's stream cannot take a full record.
  TMPBUF.channel(kD).position = kStreamRecordWords - 10;
  EXPECT_EQ(header(1, 1, "OTHER", kD), 129);
  EXPECT_EQ(messages().back(), errorLine(129, "DIHED2", unit(kD)));
  EXPECT_EQ(DISTAT.errorFlag(kD), 1);
  EXPECT_EQ(DISTAT.datasetKey(kD), 0);
}

TEST_F(Headers, ModelHeaderRecordAndState) {
  begin(kOutputBoth, true);
  int32_t ierr = -1;
  DIHED2(1, 1, FixedText(20, "beam"), 1.5f, 7, FixedText(20, "Mixed Case"), 3,
         FixedText(10, "abc"), ierr, unit(kA));
  ASSERT_EQ(ierr, 0);
  EXPECT_EQ(messages().back(),
            " DI    : DIHED2: MODEL OPENED TO CREATE                             : "
            "(BEAM                )");
  EXPECT_EQ(DISTAT.modelActive, 1);
  EXPECT_EQ(DISTAT.modelState, 1);
  EXPECT_EQ(DISTAT.coordinatesState, 0);
  EXPECT_EQ(DISTAT.topologyState, 0);
  EXPECT_EQ(DISTAT.displayBuildPending, 1);
  EXPECT_EQ(DISTAT.datasetKey(kA), 1);
  EXPECT_EQ(DISTAT.datasetComplete(kA), 1);
  EXPECT_EQ(DISTAT.messageCount(kA), 0);
  EXPECT_EQ(DICTL.modelName.word(1), codeOf('B'));
  EXPECT_EQ(DICTL.modelName.word(5), kBlankCode);
  // The name as the host gave it opens the model's files later.
  EXPECT_EQ(DICTL.modelGiven.word(1), codeOf('b'));
  EXPECT_EQ(DICTL.modelGiven.word(5), kBlankCode);

  // The record as it stands on the file once flushed.
  int32_t flag = 0;
  TMPFLS(kA, flag);
  ASSERT_EQ(flag, 0);
  const std::string bytes = test::readFile(dir.file("a.tmp"));
  ASSERT_EQ(bytes.size(), 4104u);
  std::vector<int32_t> words(1026);
  std::memcpy(words.data(), bytes.data(), bytes.size());
  EXPECT_EQ(words[0], 4096);
  EXPECT_EQ(words[1025], 4096);
  std::vector<int32_t> want = {56, 1, 0x20202043};
  auto codes = [&want](const std::string& text, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) want.push_back(i < text.size() ? codeOf(text[i]) : kBlankCode);
  };
  codes("BEAM", 20);
  want.push_back(0x3FC00000);
  codes("Mixed Case", 20);
  want.push_back(3);
  want.push_back(7);
  codes("ABC", 10);
  EXPECT_EQ(std::vector<int32_t>(words.begin() + 1, words.begin() + 57), want);
  EXPECT_EQ(words[57], 0) << "the tail of the record is zero";
}

TEST_F(Headers, DatasetHeaderResetsItsUnit) {
  begin(kOutputNeutral, false);
  ASSERT_EQ(header(1, 1, "BEAM", kA), 0);
  EXPECT_EQ(DISTAT.displayBuildPending, 0) << "nothing to build for the neutral file";
  DISTAT.groupStarted(kA) = 1;
  DISTAT.lastId(kA) = 40;
  DISTAT.processing2(kA).word(2) = 5;
  DICTL.nodeCount = 9;
  ASSERT_EQ(header(2, 1, "", kA), 0);
  EXPECT_EQ(DISTAT.datasetKey(kA), 2);
  EXPECT_EQ(DISTAT.datasetComplete(kA), 0);
  EXPECT_EQ(DISTAT.groupStarted(kA), 0);
  EXPECT_EQ(DISTAT.lastId(kA), 0);
  EXPECT_EQ(DISTAT.processing2(kA).word(2), 0);
  EXPECT_EQ(DISTAT.coordinatesState, 1);
  EXPECT_EQ(DICTL.nodeCount, 0);
  ASSERT_EQ(header(3, 1, "", kB), 0);
  EXPECT_EQ(DISTAT.topologyState, 1);

  // DIDBI drops the active model: the next dataset has none.
  int32_t opened = 0;
  int32_t ierr = -1;
  DIDBI(opened, ierr);
  EXPECT_EQ(header(41, 1, "", kC), 193);
}

// The 51st line against a unit is the suppression line and the 52nd is dropped; an
// accepted header on the unit lets its lines through again.
TEST_F(Headers, AcceptedHeaderEndsTheSuppression) {
  begin(kOutputBoth, false);
  for (int32_t n = 1; n <= 52; ++n) ASSERT_EQ(header(1, 1, "BEAM", kA), 29);
  std::vector<std::string> lines = messages();
  ASSERT_EQ(lines.size(), 2u + 51u);
  EXPECT_EQ(lines.back(), " DI    : DIMSG : *** FURTHER ERROR MESSAGES WILL BE SUPPRESSED ***  :");
  int32_t opened = 0;
  int32_t ierr = -1;
  DIDBI(opened, ierr);
  ASSERT_EQ(header(1, 1, "BEAM", kA), 0);
  EXPECT_EQ(messages().size(), lines.size()) << "the header's own line is still suppressed";
  EXPECT_EQ(header(1, 1, "BEAM", kA), 111);
  EXPECT_EQ(messages().back(), errorLine(111, "DIHED2", unit(kA)));
}

class ModelFiles : public Headers {
 protected:
  void SetUp() override {
    Headers::SetUp();
    begin(kOutputDatabase, true);
  }
  void makeModel(const std::string& base) {
    test::writeFile(dir.file(base + ".M71"), "");
    test::writeFile(dir.file(base + ".V71"), "");
  }
};

TEST_F(ModelFiles, ExistingModel) {
  makeModel("BEAM");
  EXPECT_EQ(header(1, 1, "BEAM", kA), 38);
  EXPECT_EQ(messages().back(), errorLine(38, "DIHED2", "BEAM"));
  EXPECT_EQ(flags(), (std::array<int32_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(header(1, 3, "beam", kA), 39);
  EXPECT_EQ(messages().back(), errorLine(39, "DIHED2", "BEAM"));
  EXPECT_EQ(header(1, 2, "beam", kA), 0);
  EXPECT_EQ(messages().back(), infoLine("DIHED2", "MODEL OPENED TO APPEND", "BEAM"));
  EXPECT_EQ(DISTAT.displayBuildPending, 0);
  EXPECT_EQ(header(2, 1, "", kB), 115);
  EXPECT_EQ(header(100, 1, "LOAD 1", kA), 0);

  // A blank name after the release leaves no model active and no database open.
  DISTAT.databaseOpen = 1;
  EXPECT_EQ(header(1, 1, "", kC), 36);
  EXPECT_EQ(messages().back(), errorLine(36, "DIHED2"));
  EXPECT_EQ(DISTAT.modelActive, 0);
  EXPECT_EQ(DISTAT.databaseOpen, 0);
  EXPECT_EQ(DISTAT.errorFlag(kC), 0);
  EXPECT_EQ(header(100, 1, "LOAD 2", kC), 193);
}

TEST_F(ModelFiles, MissingModel) {
  connect(kLudb8, "in-use.dat", io::Form::Formatted);
  EXPECT_EQ(header(1, 1, "beam", kA), 0);
  EXPECT_EQ(DISTAT.displayBuildPending, 1);
  // The next model header finds the display datasets of the last one not built, and
  // releases its database, which no processing has opened.
  DISTAT.databaseOpen = 1;
  EXPECT_EQ(header(1, 2, "other model name 12345", kB), 37);
  // The build is refused: no coordinates or topology were entered for that model, which
  // is abandoned.
  const std::vector<std::string> lines = messages();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[lines.size() - 4],
            infoLine("DIHED2", "DISPLAY DATASETS FOR LAST MODEL NOT BUILT"));
  EXPECT_EQ(lines[lines.size() - 3], errorLine(43, "DIBLD"));
  EXPECT_EQ(lines[lines.size() - 2], infoLine("DIERR", "WHOLE MODEL ABANDONED", "BEAM"));
  // The name as the header holds it: upper-cased, cut at 20.
  EXPECT_EQ(lines.back(), errorLine(37, "DIHED2", "OTHER MODEL NAME 123"));
  EXPECT_EQ(DISTAT.modelActive, 0);
  EXPECT_EQ(DISTAT.databaseOpen, 0);
  std::array<int32_t, 20> name{};
  for (int32_t k = 1; k <= 20; ++k) name[static_cast<std::size_t>(k - 1)] = DICTL.modelName.word(k);
  EXPECT_EQ(name[0], codeOf('O'));
  EXPECT_EQ(name[19], codeOf('3'));
  EXPECT_EQ(header(1, 3, "assy", kB), 0) << "a build of a new assembly";
  EXPECT_TRUE(io::unitIsOpen(kLudb8)) << "no database was open: the release touches nothing";
}

// A model header releases the database that the processing opened for the previous
// model: its files are closed and this process's lock in them is cleared.
TEST_F(ModelFiles, ReleaseClosesThePreviousDatabase) {
  ASSERT_EQ(header(1, 1, "PREV", kA), 0);
  ASSERT_EQ(header(2, 1, "", kA), 0);
  int32_t ierr = -1;
  DICOR(1, 0.0f, 0.0f, 0.0f, 0, ierr, unit(kA));
  ASSERT_EQ(ierr, 0);
  DILIM(ierr, unit(kA));
  ASSERT_EQ(ierr, 0);
  ASSERT_TRUE(io::unitIsOpen(kLudb7));
  ASSERT_EQ(DISTAT.databaseOpen, 1);

  EXPECT_EQ(header(1, 2, "prev", kB), 0);
  EXPECT_EQ(IOUNIT.openFlag(7), 0);
  EXPECT_EQ(IOUNIT.openFlag(8), 0);
  EXPECT_FALSE(io::unitIsOpen(kLudb7));
  EXPECT_FALSE(io::unitIsOpen(kLudb8));
  EXPECT_EQ(DISTAT.databaseOpen, 0);
  const std::string index = test::readFile(dir.file("PREV.M71"));
  ASSERT_GE(index.size(), 400u);
  int32_t lock = -1;
  std::memcpy(&lock, index.data() + 4 * 17, 4);
  EXPECT_EQ(lock, 0) << "word 18 of index page 1, the write lock";
  ARRREL();
}

// The files of a model are looked for by the name they are written under.
TEST_F(ModelFiles, NameWithBlanks) {
  makeModel("MY-MODEL");
  EXPECT_EQ(header(1, 1, "my model", kA), 38);
  test::writeFile(dir.file("MY.M71"), "");
  test::writeFile(dir.file("MY.V71"), "");
  std::remove(dir.file("MY-MODEL.V71").c_str());
  EXPECT_EQ(header(1, 1, "my model", kA), 0);
}

}  // namespace
}  // namespace kvr
