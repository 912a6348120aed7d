// The dataset processing, through whole sessions of the writing road: datasets sent with
// the header and record routines, processed with DILIM, the session ended with DISTP; the
// database and the neutral text file then read from the disk.

#include "dbinterface/dilim.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "dbinterface/dipes.h"
#include "modeldb/lcfind.h"
#include "runtime/reghed.h"
#include "sessionfixture.h"

namespace kvr {
namespace {

class Processing : public test::SessionFixture {
 protected:
  // The words of record 103 of the database open, FROM to TO.
  static std::vector<int32_t> modelWords(int32_t from, int32_t to) {
    std::vector<int32_t> w;
    for (int32_t k = from; k <= to; ++k) w.push_back(CTLREC.word(kModelClass, k));
    return w;
  }

  // The stream words of unit K from its end: the last N.
  std::vector<int32_t> streamTail(int32_t k, size_t n) {
    const std::vector<int32_t> w = streamWords(k);
    if (w.size() < n) return w;
    return {w.end() - static_cast<std::ptrdiff_t>(n), w.end()};
  }

  // A set dataset of KEY on unit K with the set NAME of members 1 and 2.
  static void nodeSet(const std::string& name, int32_t k) {
    ASSERT_EQ(header(18, 1, "", k), 0);
    const std::vector<int32_t> ids = {1, 2};
    int32_t ierr = -1;
    DISET(FixedText(8, name), FixedText(30, "Corners"), ids, 2, ierr, su(k));
    ASSERT_EQ(ierr, 0);
  }
  int32_t setFound(const std::string& name) {
    std::vector<int32_t> codes(8, kBlankCode);
    for (size_t j = 0; j < name.size(); ++j) codes[j] = codeOf(name[j]);
    std::vector<int32_t> nameOut(8);
    int32_t status = 0, kind = 0, word2 = 0, firstPage = 0, corrupt = 0;
    SETFND(buffer, codes, status, nameOut, kind, word2, firstPage, corrupt);
    return status;
  }
};

// A created model is written dataset by dataset; the stop builds its display datasets
// and releases its lock. A second session appends results to it.
TEST_F(Processing, CreateStopAndAppend) {
  ASSERT_EQ(begin(kOutputDatabase), 0);
  ASSERT_EQ(header(1, 1, "my model", kA), 0);
  ASSERT_EQ(header(2, 1, "", kA), 0);
  square(kA);
  EXPECT_EQ(dilim(kA), 0);
  EXPECT_TRUE(exists("MY-MODEL.M71"));
  EXPECT_TRUE(exists("MY-MODEL.V71"));
  EXPECT_EQ(diskWord("MY-MODEL.M71", 100, 1, kLockWord), kOurPid);
  EXPECT_EQ(DISTAT.databaseOpen, 1);
  EXPECT_EQ(DISTAT.datasetKey(kA), 0) << "the unit is free";

  ASSERT_EQ(header(3, 1, "", kA), 0);
  quad(kA);
  EXPECT_EQ(dilim(kA), 0);
  EXPECT_EQ(distp(), 0);
  EXPECT_EQ(diskWord("MY-MODEL.M71", 100, 1, kLockWord), 0);
  EXPECT_EQ(DISTAT.initialised, 0);

  ASSERT_EQ(reopen("my model"), 0);
  for (int32_t type : {5, 6, 7, 9, 4, 10}) EXPECT_GT(recorded(type), 0) << "dataset " << type;
  EXPECT_EQ(modelWords(13, 15), (std::vector<int32_t>{4, 1, 0}));
  DBCLOS();

  // The second session: nodal results of load case LOAD1.
  ASSERT_EQ(begin(kOutputDatabase), 0);
  ASSERT_EQ(header(1, 2, "my model", kA), 0);
  displacements("LOAD1", kA);
  EXPECT_EQ(dilim(kA), 0);
  EXPECT_EQ(distp(), 0);
  EXPECT_TRUE(seen.empty()) << "no catalogue message";

  ASSERT_EQ(reopen("my model"), 0);
  std::vector<int32_t> full(6);
  int32_t result = -9, position = 0;
  LCFIND(test::codes("LOAD1", 6), kAnyLoadCaseNumber, full, result, position);
  EXPECT_EQ(result, kLoadCaseExact) << "record 104 names LOAD1";
  EXPECT_EQ(modelWords(49, 53), (std::vector<int32_t>{5, 3, 2024, 14, 30}));
  EXPECT_EQ(modelWords(13, 15), (std::vector<int32_t>{4, 1, 1}));
}

// The files of a model are named from the name as the host gave it: the directory as it
// stands, the file name upper-cased with "-" for its blanks; the header record holds the
// whole name upper-cased.
TEST_F(Processing, ModelNameWithADirectory) {
  std::filesystem::create_directory(dir.file("out dir"));
  const std::string index = "out dir/BEAM-2.M71";
  const std::string data = "out dir/BEAM-2.V71";

  // Created, then abandoned after a failure: its files go.
  ASSERT_EQ(begin(kOutputDatabase), 0);
  ASSERT_EQ(header(1, 1, "out dir/beam 2", kA), 0);
  ASSERT_EQ(header(2, 1, "", kA), 0);
  square(kA);
  ASSERT_EQ(dilim(kA), 0);
  EXPECT_TRUE(exists(index));
  EXPECT_TRUE(exists(data));
  const std::vector<int32_t> stream = streamWords(kA);
  ASSERT_GE(stream.size(), 22u);
  EXPECT_EQ(std::vector<int32_t>(stream.begin() + 2, stream.begin() + 22),
            test::codes("OUT DIR/BEAM 2", 20))
      << "the header record holds the name upper-cased";
  ASSERT_EQ(header(3, 1, "", kA), 0);
  quad(kA);
  ASSERT_EQ(dilim(kA), 0);
  ASSERT_EQ(header(41, 1, "", kB), 0);
  int32_t ierr = -1;
  DICON(99, 9, 0, 0, ierr, su(kB));
  ASSERT_EQ(ierr, 0);
  EXPECT_EQ(dilim(kB), 238);
  EXPECT_EQ(dierr(2, 0), 0);
  EXPECT_FALSE(exists(index));
  EXPECT_FALSE(exists(data));
  EXPECT_EQ(distp(), 0);

  // Created again, then appended to.
  ASSERT_EQ(begin(kOutputDatabase), 0);
  createSquare("out dir/beam 2");
  EXPECT_EQ(distp(), 0);
  ASSERT_EQ(begin(kOutputDatabase), 0);
  ASSERT_EQ(header(1, 2, "out dir/beam 2", kA), 0);
  displacements("LOAD1", kA);
  EXPECT_EQ(dilim(kA), 0);
  EXPECT_EQ(distp(), 0);
  EXPECT_TRUE(exists(index));
  EXPECT_FALSE(exists("OUT-DIR/BEAM-2.M71"));
  EXPECT_FALSE(exists("out dir/BEAM 2.M71"));
}

// With both outputs the database is the same and the neutral file is the one the neutral
// output alone writes, byte for byte.
TEST_F(Processing, BothOutputsAndTheNeutralFileAlone) {
  ASSERT_EQ(begin(kOutputBoth), 0);
  createSquare("my model", 111);
  EXPECT_EQ(distp(), 0);
  ASSERT_EQ(reopen("my model"), 0);
  for (int32_t type : {5, 6, 7, 9, 4, 10}) EXPECT_GT(recorded(type), 0) << "dataset " << type;
  DBCLOS();
  const std::vector<std::string> both = neutralLines();
  ASSERT_GE(both.size(), 4u);
  EXPECT_EQ(both.front().substr(0, 26), "  111CMY MODEL            ");
  EXPECT_EQ(std::count(both.begin(), both.end(), " -3"), 2);
  EXPECT_EQ(both.back(), " 9999");

  std::filesystem::remove(dir.file("MY-MODEL.M71"));
  std::filesystem::remove(dir.file("MY-MODEL.V71"));
  io::unitClose(kLuneu);
  std::filesystem::rename(dir.file("out.neu"), dir.file("both.neu"));
  connect(kLuneu, "out.neu", io::Form::Formatted);
  ASSERT_EQ(begin(kOutputNeutral), 0);
  createSquare("my model", 111);
  EXPECT_EQ(distp(), 0);
  io::unitFlush(kLuneu);
  EXPECT_EQ(test::readFile(dir.file("out.neu")), test::readFile(dir.file("both.neu")));
  EXPECT_FALSE(exists("MY-MODEL.M71"));
  EXPECT_FALSE(exists("MY-MODEL.V71"));
}

// ---- The entry checks and the closing of the stream ----------------------------------

TEST_F(Processing, UnknownUnitBlocksEveryUnit) {
  ASSERT_EQ(begin(kOutputDatabase), 0);
  int32_t ierr = -1;
  DILIM(ierr, 77);
  EXPECT_EQ(ierr, 211);
  EXPECT_EQ(messages().back(), errorLine(211, "DILIM", 77));
  EXPECT_EQ(allFlags(), flagsAt(2));
}

TEST_F(Processing, PendingErrorChangesNoFlag) {
  ASSERT_EQ(begin(kOutputDatabase), 0);
  DISTAT.raiseErrorFlag(kB, 1);
  EXPECT_EQ(dilim(kB), 32);
  EXPECT_EQ(messages().back(), errorLine(32, "DILIM"));
  EXPECT_EQ(allFlags(), (std::vector<int32_t>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// A materials dataset has no record routine: it never becomes complete.
TEST_F(Processing, IncompleteDatasetRaisesItsUnit) {
  ASSERT_EQ(begin(kOutputNeutral), 0);
  ASSERT_EQ(header(1, 1, "beam", kA), 0);
  ASSERT_EQ(header(2, 1, "", kA), 0);
  square(kA);
  ASSERT_EQ(header(3, 1, "", kC), 0);
  quad(kC);
  ASSERT_EQ(header(20, 1, "", kB), 0);
  EXPECT_EQ(dilim(kB), 181);
  EXPECT_EQ(messages().back(),
            " DI181 : DILIM : CANNOT PROCESS INCOMPLETE DATASET ON UNIT (IUNT)   : (      12  "
            "          )");
  EXPECT_EQ(allFlags(), (std::vector<int32_t>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// The end records follow the unit's key, its results type and the model open mode. The
// stream is kept as it was closed when the dataset cannot be loaded (no database open).
TEST_F(Processing, StreamClosedWithTheEndRecordsOfItsDataset) {
  for (const int32_t opcode : {2, 3}) {
    SCOPED_TRACE(opcode);
    ASSERT_EQ(begin(kOutputDatabase), 0);
    if (opcode == 2) {
      test::writeFile(dir.file("BEAM.M71"), "");
      test::writeFile(dir.file("BEAM.V71"), "");
    }
    ASSERT_EQ(header(1, opcode, "beam", kA), 0);
    ASSERT_EQ(header(100, 1, "LOAD1", kB), 0);
    int32_t ierr = -1;
    DIRHA(FixedText(8, "STRESS"), 1, 4, 0, ierr, su(kB));
    DIRHB(FixedText(8, "SX"), 1, 1, 0, 0, 0, FixedText(8, ""), FixedText(8, ""), ierr, su(kB));
    DIEGH(1, kQU4, 0, 0, 1, 1, 0, 0, ierr, su(kB));
    const std::array<float, 1> value = {7.0f};
    DIEGR(1, 0.5f, 0.5f, 0.0f, value, 1, ierr, su(kB));
    ASSERT_EQ(ierr, 0);
    EXPECT_EQ(dilim(kB), 29);
    std::vector<int32_t> end(10, 0);
    end[0] = -3;
    if (opcode == 3) {
      end.push_back(-3);
      end.resize(end.size() + 21, 0);
    }
    EXPECT_EQ(streamTail(kB, end.size()), end);
    EXPECT_EQ(streamTail(kB, end.size() + 1).front(), std::bit_cast<int32_t>(7.0f));
    EXPECT_EQ(dierr(2, 0), 0);
    EXPECT_EQ(distp(), 0);
    std::filesystem::remove(dir.file("BEAM.M71"));
    std::filesystem::remove(dir.file("BEAM.V71"));
  }
}

// The header loop reads on past a model header: a unit holding only one has created the
// database and then finds its stream at its end.
TEST_F(Processing, UnitHoldingOnlyAModelHeader) {
  ASSERT_EQ(begin(kOutputDatabase), 0);
  ASSERT_EQ(header(1, 1, "beam", kA), 0);
  EXPECT_EQ(dilim(kA), 225);
  EXPECT_EQ(messages().back(), errorLine(225, "DILIM", su(kA)));
  EXPECT_TRUE(exists("BEAM.M71"));
  EXPECT_TRUE(exists("BEAM.V71"));
  EXPECT_EQ(allFlags(), flagsAt(2));
  EXPECT_EQ(DISTAT.datasetKey(kA), 1) << "the unit keeps its dataset for the clean-up";
}

// Every set dataset on a unit carries its own set header, whether the one before it was
// processed or abandoned.
TEST_F(Processing, SecondSetOnAUnitKeepsItsHeader) {
  ASSERT_EQ(begin(kOutputDatabase), 0);
  createSquare("beam");
  nodeSet("FIRST", kB);
  EXPECT_EQ(dilim(kB), 0);
  nodeSet("SECOND", kB);
  EXPECT_EQ(dilim(kB), 0);
  nodeSet("THIRD", kC);
  EXPECT_EQ(dierr(1, kC), 0);
  nodeSet("FOURTH", kC);
  EXPECT_EQ(dilim(kC), 0);
  EXPECT_EQ(setFound("FIRST"), 0);
  EXPECT_EQ(setFound("SECOND"), 0);
  EXPECT_EQ(setFound("THIRD"), -1);
  EXPECT_EQ(setFound("FOURTH"), 0);
}

// A line the neutral file refuses is a dataset lost.
TEST_F(Processing, NeutralFileNotConnected) {
  io::unitClose(kLuneu);
  ASSERT_EQ(begin(kOutputNeutral), 0);
  ASSERT_EQ(header(1, 1, "beam", kA), 0);
  ASSERT_EQ(header(2, 1, "", kA), 0);
  square(kA);
  EXPECT_EQ(dilim(kA), 299);
  EXPECT_EQ(messages().back(), errorLine(299, "DILIM", "LUNEU"));
  EXPECT_EQ(allFlags(), flagsAt(2));
  EXPECT_EQ(DISTAT.datasetKey(kA), 2) << "not completed";
}

// ---- The database side -----------------------------------------------------------

// A dataset whose model header was not processed finds no database: nothing is written,
// neither to a database nor to the neutral file.
TEST_F(Processing, NoDatabaseOpen) {
  ASSERT_EQ(begin(kOutputBoth), 0);
  ASSERT_EQ(header(1, 1, "my model", kA), 0);
  ASSERT_EQ(header(2, 1, "", kB), 0);
  square(kB);
  EXPECT_EQ(dilim(kB), 29);
  EXPECT_EQ(messages().back(),
            " DI029 : DILIM : DATABASE HAS NOT BEEN OPENED                       :");
  EXPECT_EQ(allFlags(), (std::vector<int32_t>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(exists("MY-MODEL.M71"));
  EXPECT_FALSE(exists("MY-MODEL.V71"));
  EXPECT_TRUE(neutralLines().empty());
}

// The refusals of an append, each in a session of its own over a model created first:
// another process's lock in the index file, the data file gone after the header.
TEST_F(Processing, AppendRefusals) {
  const int32_t other = static_cast<int32_t>(getppid());
  const std::vector<std::string> lines = {errorLine(272, "DILIM", other),
                                          errorLine(299, "DILIM", "TLBOPN")};
  const std::vector<int32_t> codes = {272, 299};
  for (size_t c = 0; c < codes.size(); ++c) {
    SCOPED_TRACE(codes[c]);
    ASSERT_EQ(begin(kOutputDatabase), 0);
    createSquare("beam");
    ASSERT_EQ(distp(), 0);
    if (c == 0) setDiskWord("BEAM.M71", 100, 1, kLockWord, other);
    ASSERT_EQ(begin(kOutputDatabase), 0);
    ASSERT_EQ(header(1, 2, "beam", kA), 0);
    displacements("LOAD1", kA);
    if (c == 1) std::filesystem::remove(dir.file("BEAM.V71"));
    EXPECT_EQ(dilim(kA), codes[c]);
    EXPECT_EQ(messages().back(), lines[c]);
    EXPECT_EQ(allFlags(), flagsAt(2));
    EXPECT_EQ(dierr(2, 0), 0);
    EXPECT_EQ(distp(), 0);
    std::filesystem::remove(dir.file("BEAM.M71"));
    std::filesystem::remove(dir.file("BEAM.V71"));
  }
}

// A model whose nodes were never counted into its record 103 cannot take results: it is
// refused before the named arrays are set up.
TEST_F(Processing, AppendToAModelWithoutCounts) {
  ASSERT_EQ(begin(kOutputDatabase), 0);
  ASSERT_EQ(header(1, 1, "beam", kA), 0);
  ASSERT_EQ(header(2, 1, "", kA), 0);
  square(kA);
  ASSERT_EQ(dilim(kA), 0);
  ASSERT_EQ(distp(), 0) << "the display build cannot run without topology";
  ASSERT_TRUE(exists("BEAM.M71"));

  ASSERT_EQ(begin(kOutputDatabase), 0);
  ASSERT_EQ(header(1, 2, "beam", kA), 0);
  displacements("LOAD1", kA);
  EXPECT_EQ(dilim(kA), 35);
  EXPECT_EQ(messages().back(), errorLine(35, "DILIM"));
  EXPECT_EQ(REGHED.mode, 0) << "no named array set up";
  EXPECT_EQ(allFlags(), flagsAt(2));
}

// A model record that is not in use takes no load case: nothing is loaded.
TEST_F(Processing, LoadCaseNotAdded) {
  ASSERT_EQ(begin(kOutputDatabase), 0);
  createSquare("beam");
  CTLREC.word(kModelClass, 1) = 0;
  displacements("LOAD1", kB);
  EXPECT_EQ(dilim(kB), 299);
  EXPECT_EQ(seen, (std::vector<Message>{{12, {4001, 0}}, {12, {3801, 0}}}));
  EXPECT_EQ(messages().back(), errorLine(299, "DILIM", "LCADD"));
  EXPECT_EQ(allFlags(), flagsAt(2));
  EXPECT_EQ(recorded(100), 0);
}

// A loader's failure with both outputs: its code, every unit blocked, the dataset still
// written to the neutral file and the unit freed. The name loaders are no exception.
TEST_F(Processing, LoaderFailureWithBothOutputs) {
  ASSERT_EQ(begin(kOutputBoth), 0);
  createSquare("beam");
  ASSERT_EQ(header(41, 1, "", kB), 0);
  int32_t ierr = -1;
  DICON(99, 9, 0, 0, ierr, su(kB));
  ASSERT_EQ(ierr, 0);
  EXPECT_EQ(dilim(kB), 238);
  EXPECT_EQ(messages().back(), errorLine(238, "DILIM", 99));
  EXPECT_EQ(allFlags(), flagsAt(2));
  EXPECT_EQ(DISTAT.datasetKey(kB), 0);
  std::vector<std::string> lines = neutralLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines.back(), " -3");
  EXPECT_EQ(lines[lines.size() - 2].substr(0, 8), " -1   99");

  // Node names, a key without record routines: its stream is written as the host would.
  EXPECT_EQ(dierr(2, 0), 0);
  ASSERT_EQ(distp(), 0);
  std::filesystem::remove(dir.file("BEAM.M71"));
  std::filesystem::remove(dir.file("BEAM.V71"));
  ASSERT_EQ(begin(kOutputBoth), 0);
  createSquare("beam");
  ASSERT_EQ(header(54, 1, "", kC), 0);
  std::vector<int32_t> name = {kTagRecord, 99};
  for (int32_t c : test::codes("N99")) name.push_back(c);
  int32_t flag = -1;
  TMPWRT(name, kC, flag);
  ASSERT_EQ(flag, 0);
  DISTAT.datasetComplete(kC) = 1;
  EXPECT_EQ(dilim(kC), 238);
  EXPECT_EQ(allFlags(), flagsAt(2));
  EXPECT_EQ(DISTAT.datasetKey(kC), 0);
  lines = neutralLines();
  EXPECT_EQ(lines.back(), " -3");
}

// Each model opened for an append is walked as its own model record says, whatever model
// the process created or built before: after the build of an assembly, results appended
// to a plain model are matched by its own numbers; after the create of a plain model,
// results appended to the assembly walk its components.
TEST_F(Processing, AppendsWalkEachModelAsItsOwnRecordSays) {
  ASSERT_EQ(begin(kOutputDatabase), 0);
  createSquare("c1");
  createSquare("c2");
  ASSERT_EQ(header(1, 3, "assy", kA), 0);
  for (const char* component : {"C1", "C2"}) {
    std::vector<int32_t> r = {kTagRecord};
    for (int32_t c : test::codes(component, 20)) r.push_back(c);
    r.push_back(0);
    int32_t flag = -1;
    TMPWRT(r, kA, flag);
    ASSERT_EQ(flag, 0);
  }
  ASSERT_EQ(dilim(kA), 0);

  struct Step {
    const char* model;
    const char* loadCase;
    bool plain;  // word 1 of its model record is 1 (an assembly's is 2, or 3 once it
                 // has a load case)
  };
  for (const Step& step : {Step{"c1", "PLAIN", true}, Step{"assy", "ASSY", false}}) {
    SCOPED_TRACE(step.model);
    ASSERT_EQ(header(1, 2, step.model, kB), 0);
    displacements(step.loadCase, kB);
    EXPECT_EQ(dilim(kB), 0);
    EXPECT_EQ(DBLEVL.numberingMode == 1, step.plain);
    EXPECT_GT(CTLREC.word(kLoadCaseClass, 8), 0) << "the results are recorded";
    // The next step opens its model after a plain one is created in the process.
    createSquare(std::string("p") + step.loadCase);
  }
  EXPECT_EQ(distp(), 0);
}

// One beam-load stream, processed with both outputs, is read alike by the loader and the
// neutral file: a point load and a distributed load (three parts) on element 1, then a
// point moment on it by its type. Each part is a tag record and six reals; the loader
// stores them after the header words, the neutral file shows them one line each.
TEST_F(Processing, BeamLoadsReadAlikeByBothSides) {
  ASSERT_EQ(begin(kOutputBoth), 0);
  createSquare("beam");
  ASSERT_EQ(header(28, 1, "LOAD1", kB), 0);
  const auto part = [](int32_t p) {
    std::vector<int32_t> w;
    for (int32_t j = 1; j <= 6; ++j) w.push_back(std::bit_cast<int32_t>(10.0f * p + j));
    return w;
  };
  const std::vector<std::vector<int32_t>> stream = {
      {kTagRecord, 1, 0, 1, 1, 0, 0, 5, 6}, {kTagRepeat}, part(1), {kTagRepeat}, part(2),
      {kTagRepeat}, part(3), {kTagRecord, 1, kQU4, 0, 0, 1, 0, 0, 0}, {kTagRepeat}, part(4)};
  for (const std::vector<int32_t>& r : stream) {
    int32_t flag = -1;
    TMPWRT(r, kB, flag);
    ASSERT_EQ(flag, 0);
  }
  DISTAT.datasetComplete(kB) = 1;
  ASSERT_EQ(dilim(kB), 0);

  const int32_t first = CTLREC.word(kLoadCaseClass, 10);
  ASSERT_GT(first, 0);
  DbPage page(DBLEVL.dataPageSize);
  PAGRD(1, first, page);
  std::vector<int32_t> expected = {1, 1, 27, 1, 1, 0, 0, 5, 6};
  for (int32_t p = 1; p <= 3; ++p) {
    for (int32_t w : part(p)) expected.push_back(w);
  }
  for (int32_t w : std::vector<int32_t>{1, 1, 15, 0, 0, 1, 0, 0, 0}) expected.push_back(w);
  for (int32_t w : part(4)) expected.push_back(w);
  const std::span<const int32_t> entries = std::span<const int32_t>(page.words()).subspan(38);
  EXPECT_EQ(std::vector<int32_t>(entries.begin(), entries.begin() + 42), expected);
  EXPECT_EQ(page.word(5), 38 + 42);

  const std::vector<std::string> lines = neutralLines();
  ASSERT_GE(lines.size(), 8u);
  const std::vector<std::string> tail(lines.end() - 7, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{
                      " -1    1    0    1    1    0    0    5    6",
                      " -2    0 0.11000E+02 0.12000E+02 0.13000E+02 0.14000E+02 0.15000E+02 0.16000E+02",
                      " -2    0 0.21000E+02 0.22000E+02 0.23000E+02 0.24000E+02 0.25000E+02 0.26000E+02",
                      " -2    0 0.31000E+02 0.32000E+02 0.33000E+02 0.34000E+02 0.35000E+02 0.36000E+02",
                      " -1    1    9    0    0    1    0    0    0",
                      " -2    0 0.41000E+02 0.42000E+02 0.43000E+02 0.44000E+02 0.45000E+02 0.46000E+02",
                      " -3"}));
  EXPECT_EQ(lines[lines.size() - 8].substr(0, 12), "   28CLOAD1 ");
  EXPECT_EQ(distp(), 0);
}

}  // namespace
}  // namespace kvr
