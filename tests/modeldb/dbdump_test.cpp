// The database dump: the file it writes and loads back, the count table, the state
// records it stores, its name and the prompt for another, and its end when the store
// fails it.
#include <gtest/gtest.h>

#include <filesystem>

#include "modelfilefixture.h"
#include "command/mnutab.h"
#include "modeldb/arrreg.h"
#include "runtime/msgarg.h"

namespace kvr::test {
namespace {

class Dump : public ModelFileFixture {
 protected:
  static constexpr int32_t kDumpUnit = 19;

  // The model "M1" of three points (one deleted), two lines and eight nodes, with packed
  // lists up to 34 and the analysis program 5.
  void SetUp() override {
    ModelFileFixture::SetUp();
    modelName("M1");
    MODCNT.word(kCntPoints) = 3;
    MODCNT.word(kCntDelPoints) = 1;
    MODCNT.word(kCntLines) = 2;
    MODCNT.word(kCntHighestNode) = 8;
    MODCNT.word(kCntHighestElement) = 0;
    MODCNT.word(kCntPackedListEnd) = 34;
    MODCNT.word(kCntAnalysisProgram) = 5;
    MODCNT.word(kCntOldGroupSize) = 1;
    for (int32_t k = 1; k <= ModSta::kWords; ++k) MODSTA.word(k) = 9000 + k;
    for (int32_t k = 1; k <= 83; ++k) GEOSTA.word(k) = 7000 + k;
    for (int32_t k = 12; k <= 91; ++k) VWDFLT.word(k) = 8000 + k;
    fill(1, 3, 100);
    fill(2, 3, 200);
    fill(3, 2, 300);
    fill(4, 32, 400);
    fill(11, 8, 1100);
    fill(12, 8, 1200);
    fill(23, 2, 2300);
    fill(24, 36, 2400);
    fill(37, 2, 3700);
    fill(20, 1, 2000);
    // The console prompt reads the operator's replies from unit 5; the reply is parsed in
    // the menu table with the answer store, as after a model opening.
    PLTPAR.inUnit = io::kStdinUnit;
    int32_t status = -1;
    ARRREG(4, 0, status);
    ASSERT_EQ(status, 0);
    MNUTBA();
    MNUCNV(status);
    ASSERT_EQ(status, 0);
  }

  // What the console output unit shows: here it writes to the message unit.
  std::string consoleShown() {
    io::unitFlush(kMessageUnit);
    return readFile(dir.file("messages.txt"));
  }

  // The model-name line: TEXT, then blanks.
  static void modelName(const std::string& text) {
    DSPSTA.state.title.fill(kBlankCode);
    for (size_t k = 0; k < text.size(); ++k) DSPSTA.state.title[k] = codeOf(text[k]);
  }

  int32_t dump() { return DBDUMP(kMessageUnit); }

  static int64_t count(const Lines& lines, const std::string& line) {
    return std::count(lines.begin(), lines.end(), line);
  }

  static int64_t occurrences(const std::string& text, const std::string& what) {
    int64_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }

  // The message unit and both journals show LINE once, behind the blank of their record.
  void shownOnce(const std::string& line) {
    EXPECT_EQ(count(messageLines(), " " + line), 1) << line;
    EXPECT_EQ(count(journal1(), " " + line), 1) << line;
    EXPECT_EQ(count(journal2(), " " + line), 1) << line;
  }
};

TEST_F(Dump, WritesTheModelFile) {
  ASSERT_EQ(dump(), 0);
  const std::vector<int32_t> file = modelFileWords(dir.file("M1.DMP"));
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(file.size() % kPs, 0u) << "whole pages";
  auto word = [&file](int32_t k) { return file[static_cast<size_t>(k - 1)]; };
  EXPECT_EQ(word(1), 1);
  EXPECT_EQ(word(2), 2000);
  EXPECT_EQ(word(4), 9071);
  struct Count {
    int32_t word, value;
  };
  for (const Count& c : {Count{11, 3}, Count{12, 3}, Count{13, 2}, Count{14, 32}, Count{21, 8},
                         Count{22, 8}, Count{23, 0}, Count{30, 1}, Count{31, 0}, Count{32, 0},
                         Count{33, 2}, Count{34, 36}, Count{41, 0}, Count{44, 0}, Count{47, 2}}) {
    EXPECT_EQ(word(c.word), c.value) << "header word " << c.word;
  }
  EXPECT_EQ(word(10 + 17), REGHED.ARRLEN(17));
  for (int32_t k = 151; k <= 156; ++k) {
    const int32_t want[] = {2, 2, 0, 0, 8, 0};
    EXPECT_EQ(word(k), want[k - 151]) << k;
  }
  const int32_t moment[] = {5, 3, 2024, 14, 30, 15};
  for (int32_t k = 0; k < 6; ++k) EXPECT_EQ(word(101 + k), moment[k]);
  for (int32_t k = 107; k <= 112; ++k) EXPECT_EQ(word(k), 0);
  for (int32_t k = 201; k <= 440; ++k) ASSERT_EQ(word(k), 0x20202020) << k;
  EXPECT_EQ(word(501), 5);
  // Page 2 begins with the records of array 1.
  EXPECT_EQ(word(kPs + 1), 101);
  EXPECT_EQ(word(kPs + 6), 106);
  EXPECT_EQ(word(kPs + 7), 201);
  shownOnce(" *** DATA BASE DUMPED TO M1.DMP ****");
}

TEST_F(Dump, LoadsBackAsDumped) {
  ASSERT_EQ(dump(), 0);
  const Image dumped = image();
  forget();
  openModel("M1.DMP");
  int32_t status = -1;
  HDRCHK(1, kModelUnit, status);
  closeModel();
  ASSERT_EQ(status, 0);
  EXPECT_EQ(image(), dumped);
  EXPECT_EQ(MODSTA.word(69), 9069);
  EXPECT_EQ(GEOSTA.word(80), 7080);
  EXPECT_EQ(VWDFLT.word(91), 8091);
}

TEST_F(Dump, CountTable) {
  struct Case {
    int32_t word, value, array, count;
  };
  // A MODCNT word and the count of an array it gives.
  const Case cases[] = {
      {kCntPackedListEnd, 1, 23, 0},   {kCntPackedListEnd, 34, 23, 2},
      {kCntPackedListEnd, 0, 23, 0},   {kCntPackedListEnd, 2, 23, 1},
      {kCntHighestElement, 0, 13, 0},  {kCntHighestElement, 4, 13, 4 * 21},
      {kCntShapes, 2, 10, 40},         {kCntSurfaces, 3, 6, 42},
      {kCntBodies, 2, 8, 30},          {kCntSets, 4, 19, 4},
      {kCntKind42, 3, 28, 3},          {kCntKind46, 6, 36, 6},
      {kCntPoints, -4, 24, 0},
  };
  MODCNT.word(kCntElementNodes) = 20;
  for (const Case& c : cases) {
    const int32_t saved = MODCNT.word(c.word);
    MODCNT.word(c.word) = c.value;
    EXPECT_EQ(dumpCount(c.array), c.count) << "word " << c.word << " = " << c.value;
    MODCNT.word(c.word) = saved;
  }
  for (int32_t k : {21, 22, 31, 34, 38, 0}) EXPECT_EQ(dumpCount(k), 0) << k;
  EXPECT_EQ(dumpCount(37), 2);
}

TEST_F(Dump, StoresTheStateRecordsThroughTheirEntries) {
  // The INTEGER record's entry holds 80 values (an older model); the values of another
  // entry follow it.
  entry(-1, 1, std::vector<int32_t>(80, 11));
  entry(-3, 5, std::vector<int32_t>(80, 99));
  const int32_t end = REGHED.ARRLEN(17);
  ASSERT_EQ(dump(), 0);
  std::array<int32_t, 160> integers{};
  std::array<int32_t, 80> reals{};
  DMPVST(integers, reals);
  EXPECT_EQ(values(-1, 1), std::vector<int32_t>(integers.begin(), integers.end()));
  EXPECT_EQ(values(-3, 5), std::vector<int32_t>(80, 99));
  std::array<int32_t, kEntryWords> e{};
  storeGet(kArrEntries, attributeEntry(-1, 1), 1, e);
  EXPECT_EQ(e[2], end + 1) << "fresh values at the end of array 17";
  EXPECT_EQ(e[3], 160);
  EXPECT_EQ(values(1, 1), std::vector<int32_t>(reals.begin(), reals.end()));
  EXPECT_EQ(values(-1, 2), std::vector<int32_t>(VWDFLT.words.begin() + 11, VWDFLT.words.end()));
  EXPECT_EQ(integers[0], 3);
  EXPECT_EQ(integers[90], MODCNT.word(93));
  EXPECT_EQ(integers[91], 9001);
  EXPECT_EQ(reals[79], 7080);
}

TEST_F(Dump, ASecondDumpReplacesTheFirst) {
  fill(24, 2400, 0);
  MODCNT.word(kCntPoints) = 200;
  fill(1, 200, 0);
  fill(2, 200, 0);
  ASSERT_EQ(dump(), 0);
  const auto big = std::filesystem::file_size(dir.file("M1.DMP"));
  MODCNT.word(kCntPoints) = 3;
  ASSERT_EQ(dump(), 0);
  const auto small = std::filesystem::file_size(dir.file("M1.DMP"));
  EXPECT_LT(small, big);
  EXPECT_EQ(small % 8000, 0u);
  EXPECT_EQ(occurrences(consoleShown(), "Enter new name"), 0);
}

TEST_F(Dump, NamesOfTheDump) {
  modelName("m1");
  ASSERT_EQ(dump(), 0);
  EXPECT_TRUE(std::filesystem::exists(dir.file("m1.dmp")));
  shownOnce(" *** DATA BASE DUMPED TO m1.dmp ****");

  modelName("");
  const std::string beam = dir.file("beam.mdl");
  MDLFIL.text().assign(beam);
  ASSERT_EQ(dump(), 0);
  EXPECT_TRUE(std::filesystem::exists(dir.file("beam.DMP")));
}

TEST_F(Dump, APromptComesWhenTheFileCannotBeOpened) {
  std::filesystem::create_directory(dir.file("M1.DMP"));
  replies("\n=\nx.dmp\n");
  ASSERT_EQ(dump(), 0);
  const std::vector<int32_t> file = modelFileWords(dir.file("x.dmp"));
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(file[0], 1);
  const Lines messages = messageLines();
  const auto unable = std::find(messages.begin(), messages.end(), "  *** UNABLE TO DUMP TO FILE M1.DMP ****");
  ASSERT_NE(unable, messages.end());
  ASSERT_NE(unable, messages.begin());
  EXPECT_EQ(*(unable - 1), " E2000: Unable to open file");
  shownOnce(" *** UNABLE TO DUMP TO FILE M1.DMP ****");
  // The last prompt waits on its line for the reply, which scripted input does not echo,
  // so the report follows the prompt on that line.
  EXPECT_TRUE(messages.back().ends_with("  *** DATA BASE DUMPED TO x.dmp ****")) << messages.back();
  EXPECT_EQ(count(journal1(), "  *** DATA BASE DUMPED TO x.dmp ****"), 1);
  EXPECT_EQ(count(journal2(), "  *** DATA BASE DUMPED TO x.dmp ****"), 1);
  // The empty reply and the rejected reply "=" ask again; each prompt shows twice, as its
  // own line and before the reply.
  EXPECT_EQ(occurrences(consoleShown(), "Enter new name for DMP file =>"), 2 * 3);
}

// A new name may be a path, absolute or relative, kept as typed.
TEST_F(Dump, ThePromptTakesAPath) {
  std::filesystem::create_directory(dir.file("M1.DMP"));
  std::filesystem::create_directory(dir.file("runs"));
  const std::string absolute = dir.file("runs/Abs.dmp");
  replies(absolute + "\n");
  ASSERT_EQ(dump(), 0);
  EXPECT_FALSE(modelFileWords(absolute).empty());
  EXPECT_EQ(count(journal1(), "  *** DATA BASE DUMPED TO " + absolute + " ****"), 1);

  replies("runs/Rel.dmp\n");
  ASSERT_EQ(dump(), 0);
  EXPECT_FALSE(modelFileWords(dir.file("runs/Rel.dmp")).empty());

  replies("/\n");
  EXPECT_EQ(dump(), -1);
}

TEST_F(Dump, TheEndOfInputCancels) {
  std::filesystem::create_directory(dir.file("M1.DMP"));
  replies("\n");
  EXPECT_EQ(dump(), -1);
  EXPECT_EQ(occurrences(consoleShown(), "Enter new name for DMP file =>"), 2 * 2);
  EXPECT_EQ(count(messageLines(), "  *** DATA BASE DUMPED TO M1.DMP ****"), 0);
}

TEST_F(Dump, WithoutANameThePromptComesAtOnce) {
  modelName("");
  replies("y.dmp\n");
  ASSERT_EQ(dump(), 0);
  EXPECT_TRUE(std::filesystem::exists(dir.file("y.dmp")));
  EXPECT_EQ(count(messageLines(), " E2000: Unable to open file"), 0);
}

TEST_F(Dump, AStoreFailureStopsWithTheHeaderIncomplete) {
  MODCNT.word(kCntShapes) = 1;  // array 9 holds no record
  installDatabaseDump();
  int32_t nested = 0;
  setDbMessageObserver([&](int32_t n, std::span<const int32_t> v, std::span<const int32_t>) {
    seen.push_back({n, std::vector<int32_t>(v.begin(), v.end())});
    // A dump that fails must not start another.
    ++nested;
    dumpDatabase();
  });
  EXPECT_THROW(dumpDatabase(), StopCalled);
  io::unitClose(kDumpUnit);
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(seen, (std::vector<Message>{{811, {1, 9, 1}}}));
  const Lines messages = messageLines();
  ASSERT_GE(messages.size(), 4u);
  EXPECT_EQ(Lines(messages.end() - 3, messages.end()),
            (Lines{" E2100: Error with dynamic memory allocation",
                   " E2150: Memory not allocated for I/O operation", " E2200: Database save aborted"}));
  EXPECT_EQ(modelFileWords(dir.file("M1.DMP"))[0], 0);
  // The hook dumps again once the failed dump has ended.
  MODCNT.word(kCntShapes) = 0;
  dumpDatabase();
  EXPECT_EQ(modelFileWords(dir.file("M1.DMP"))[0], 1);
}

TEST_F(Dump, NothingWithoutTheModelRegistry) {
  int32_t stat = 0;
  ARRREG(1, 1, stat);
  EXPECT_EQ(dump(), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.file("M1.DMP")));
}

}  // namespace
}  // namespace kvr::test
