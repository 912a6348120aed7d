// The stop of the writing road and the clean-up after its errors, through whole sessions.

#include "dbinterface/distp.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "sessionfixture.h"

namespace kvr {
namespace {

class StopAndCleanUp : public test::SessionFixture {
 protected:
  // A constraint on node 99 of the four-node square, sent on unit K: its loader fails.
  static void constraintOnNode99(int32_t k) {
    ASSERT_EQ(header(41, 1, "", k), 0);
    int32_t ierr = -1;
    DICON(99, 9, 0, 0, ierr, su(k));
    ASSERT_EQ(ierr, 0);
  }

  static std::string infoLine(const std::string& routine, const std::string& text,
                              int32_t number) {
    char value[16];
    std::snprintf(value, sizeof value, "%10d", number);
    std::string t = text;
    t.resize(50, ' ');
    std::string r = routine;
    r.resize(6, ' ');
    return " DI    : " + r + ": " + t + " : (" + value + ")";
  }
  using SessionFixture::infoLine;

  // The message lines written after the first N.
  std::vector<std::string> linesAfter(size_t n) {
    const std::vector<std::string> all = messages();
    return {all.begin() + static_cast<std::ptrdiff_t>(std::min(n, all.size())), all.end()};
  }
};

// ---- DIERR -------------------------------------------------------------------------

TEST_F(StopAndCleanUp, LevelsAndUnitsRefused) {
  ASSERT_EQ(begin(kOutputDatabase), 0);
  EXPECT_EQ(dierr(3, kB), 45);
  EXPECT_EQ(messages().back(), errorLine(45, "DIERR", 3));
  EXPECT_EQ(allFlags(), flagsAt(0));
  EXPECT_EQ(dierr(3, 0), 211);
  EXPECT_EQ(messages().back(), errorLine(211, "DIERR", 77));
  EXPECT_EQ(allFlags(), flagsAt(2));
  EXPECT_EQ(dierr(1, kB), 46) << "a flag of 2 needs the model abandoned";
  EXPECT_EQ(messages().back(), errorLine(46, "DIERR"));
  EXPECT_EQ(dierr(2, 0), 0);
  EXPECT_EQ(allFlags(), flagsAt(0));
  EXPECT_EQ(distp(), 0);
  EXPECT_EQ(dierr(1, kB), 28);
  EXPECT_EQ(messages().back(), errorLine(28, "DIERR"));
}

// Level 1 on a unit without an error still empties it: a new header is taken.
TEST_F(StopAndCleanUp, LevelOneOnAUnitWithoutError) {
  ASSERT_EQ(begin(kOutputDatabase), 0);
  ASSERT_EQ(header(1, 1, "beam", kA), 0);
  ASSERT_EQ(header(2, 1, "", kA), 0);
  square(kA);
  const size_t before = messages().size();
  EXPECT_EQ(dierr(1, kA), 0);
  EXPECT_EQ(linesAfter(before),
            (std::vector<std::string>{
                infoLine("DIERR", "NO ERROR ON UNIT (IUNT)", su(kA)),
                infoLine("DIERR", "ABANDONED DATASET AND ERROR CLEANUP ON UNIT (IUNT)", su(kA))}));
  EXPECT_EQ(DISTAT.datasetKey(kA), 0);
  EXPECT_EQ(DICTL.nodeCount, 0);
  EXPECT_EQ(header(1, 1, "beam", kA), 0) << "the unit is free";
}

// Level 2 after a failed load deletes the files of the model being created, clears every
// flag and leaves the database closed: the next create of the same model goes through
// without a dialogue.
TEST_F(StopAndCleanUp, LevelTwoDeletesACreatedModel) {
  ASSERT_EQ(begin(kOutputDatabase), 0);
  createSquare("my model");
  constraintOnNode99(kB);
  ASSERT_EQ(dilim(kB), 238);
  EXPECT_EQ(dierr(2, 0), 0);
  EXPECT_EQ(messages().back(),
            " DI    : DIERR : WHOLE MODEL ABANDONED                              : (MY MODEL  "
            "          )");
  EXPECT_FALSE(exists("MY-MODEL.M71"));
  EXPECT_FALSE(exists("MY-MODEL.V71"));
  EXPECT_EQ(allFlags(), flagsAt(0));
  EXPECT_EQ(DISTAT.databaseOpen, 0);
  EXPECT_EQ(DISTAT.modelActive, 0);

  createSquare("my model");
  EXPECT_TRUE(exists("MY-MODEL.M71"));
  EXPECT_EQ(distp(), 0);
  EXPECT_TRUE(stdoutLines().empty()) << "no dialogue";
}

// After a failure in an appended model nothing is deleted.
TEST_F(StopAndCleanUp, LevelTwoKeepsAnAppendedModel) {
  ASSERT_EQ(begin(kOutputDatabase), 0);
  createSquare("beam");
  ASSERT_EQ(distp(), 0);
  ASSERT_EQ(begin(kOutputDatabase), 0);
  ASSERT_EQ(header(1, 2, "beam", kA), 0);
  constraintOnNode99(kA);
  ASSERT_EQ(dilim(kA), 238);
  EXPECT_EQ(dierr(2, 0), 0);
  EXPECT_TRUE(exists("BEAM.M71"));
  EXPECT_TRUE(exists("BEAM.V71"));
  EXPECT_EQ(allFlags(), flagsAt(0));
  EXPECT_EQ(distp(), 0);
}

// Files that cannot be deleted: 299, and the flags stay for a later attempt.
TEST_F(StopAndCleanUp, LevelTwoInAReadOnlyDirectory) {
  if (geteuid() == 0) GTEST_SKIP() << "root deletes from any directory";
  std::filesystem::create_directory(dir.file("ro"));
  ASSERT_EQ(begin(kOutputDatabase), 0);
  createSquare("ro/beam");
  constraintOnNode99(kB);
  ASSERT_EQ(dilim(kB), 238);
  ASSERT_EQ(::chmod(dir.file("ro").c_str(), 0555), 0);
  EXPECT_EQ(dierr(2, 0), 299);
  EXPECT_EQ(messages().back(), errorLine(299, "DIERR", "FOUVRE"));
  EXPECT_EQ(allFlags(), flagsAt(2));
  EXPECT_EQ(DISTAT.modelActive, 1);
  EXPECT_TRUE(exists("ro/BEAM.M71"));
  EXPECT_TRUE(exists("ro/BEAM.V71"));
  ASSERT_EQ(::chmod(dir.file("ro").c_str(), 0755), 0);
  EXPECT_EQ(dierr(2, 0), 0) << "a second attempt";
  EXPECT_FALSE(exists("ro/BEAM.M71"));
  EXPECT_EQ(distp(), 0);
}

// ---- DISTP -------------------------------------------------------------------------

TEST_F(StopAndCleanUp, StopBeforeStartOrTwice) {
  const std::string line =
      " DI028 : DISTP : D.I. ROUTINES HAVE NOT BEEN INITIALISED            :";
  EXPECT_EQ(distp(), 28);
  EXPECT_TRUE(messages().empty()) << "no message unit is known before the start";
  ASSERT_EQ(begin(kOutputNeutral), 0);
  EXPECT_EQ(distp(), 0);
  EXPECT_EQ(distp(), 28);
  EXPECT_EQ(messages().back(), line);
}

// A complete dataset left on a unit is processed by the stop.
TEST_F(StopAndCleanUp, DatasetLeftOnAUnitIsProcessed) {
  ASSERT_EQ(begin(kOutputDatabase), 0);
  createSquare("beam");
  ASSERT_EQ(header(41, 1, "", kB), 0);
  int32_t ierr = -1;
  DICON(2, 9, 0, 0, ierr, su(kB));
  ASSERT_EQ(ierr, 0);
  const size_t before = messages().size();
  EXPECT_EQ(distp(), 0);
  const std::vector<std::string> lines = linesAfter(before);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], infoLine("DISTP", "A DATASET IS STILL ACTIVE ON UNIT (IUNT)", 12));
  EXPECT_EQ(lines[1], infoLine("DISTP", "ATTEMPTING TO PROCESS DATASET ON UNIT (IUNT)", 12));
  ASSERT_EQ(reopen("beam"), 0);
  EXPECT_GT(recorded(41), 0);
  EXPECT_GT(recorded(4), 0) << "the display datasets built";
}

// A unit whose dataset blocks the model: the model is abandoned, the session ends.
TEST_F(StopAndCleanUp, UnitInErrorAbandonsTheModel) {
  ASSERT_EQ(begin(kOutputDatabase), 0);
  createSquare("beam");
  constraintOnNode99(kB);
  const size_t before = messages().size();
  EXPECT_EQ(distp(), 238) << "the last processing's code";
  const std::vector<std::string> lines = linesAfter(before);
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      infoLine("DISTP", "ERROR FOUND IN DATASET ON UNIT (IUNT)", 12)),
            lines.end());
  EXPECT_EQ(lines.back(), infoLine("DIERR", "WHOLE MODEL ABANDONED", "BEAM"));
  EXPECT_FALSE(exists("BEAM.M71"));
  EXPECT_EQ(DISTAT.initialised, 0);
  EXPECT_EQ(allFlags(), flagsAt(0));
}

// With the neutral file alone the datasets left on the units are written before the
// file's last line; a unit holding only a model header cannot be read to its end.
TEST_F(StopAndCleanUp, NeutralOutputWritesWhatIsLeft) {
  ASSERT_EQ(begin(kOutputNeutral), 0);
  ASSERT_EQ(header(1, 1, "beam", kA), 0);
  ASSERT_EQ(header(2, 1, "", kA), 0);
  square(kA);
  EXPECT_EQ(distp(), 0);
  std::vector<std::string> lines = neutralLines();
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0].substr(0, 12), "    1CBEAM  ");
  EXPECT_EQ(lines[6], " -3");
  EXPECT_EQ(lines[7], " 9999");

  ASSERT_EQ(begin(kOutputNeutral), 0);
  ASSERT_EQ(header(1, 1, "beam", kC), 0);
  EXPECT_EQ(distp(), 225);
  lines = neutralLines();
  EXPECT_EQ(lines.back(), " 9999");
  EXPECT_EQ(lines[lines.size() - 2].substr(0, 12), "    1CBEAM  ");
}

// A stopped session leaves its streams empty: a new session's dataset is the only one on
// its unit.
TEST_F(StopAndCleanUp, RestartedSessionStartsEveryStreamEmpty) {
  ASSERT_EQ(begin(kOutputNeutral), 0);
  ASSERT_EQ(header(1, 1, "beam", kA), 0);
  ASSERT_EQ(header(2, 1, "", kA), 0);
  for (int32_t id = 1; id <= 400; ++id) {
    int32_t ierr = -1;
    DICOR(id, 0.0f, 0.0f, 0.0f, 0, ierr, su(kA));
    ASSERT_EQ(ierr, 0);
  }
  ASSERT_EQ(distp(), 0);
  ASSERT_GT(streamWords(kA).size(), 2000u) << "the stream took several records";

  ASSERT_EQ(begin(kOutputNeutral), 0);
  ASSERT_EQ(header(1, 1, "beam", kA), 0);
  ASSERT_EQ(header(2, 1, "", kA), 0);
  square(kA);
  EXPECT_EQ(dilim(kA), 0);
  // Two headers, four nodes, the end record.
  EXPECT_EQ(streamWords(kA).size(), 55u + 55u + 4u * 6u + 6u);
}

}  // namespace
}  // namespace kvr
