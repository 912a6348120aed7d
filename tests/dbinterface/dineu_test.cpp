// The neutral text file. Each test builds a dataset's stream as the writing road does:
// the header record, the records through the record routines (keys 2, 3, 18, 19, 33, 34,
// 41, 43, 100, 300) or written word by word with TMPWRT (the keys that have no record
// routine, and assembly builds), then the end records, a flush and a reset of the channel;
// then it writes the dataset and compares the lines.
//
// The golden files under golden/ hold whole files of several datasets; each is described
// by the test that writes it. KVR_UPDATE_GOLDEN=1 makes those tests write them anew.

#include "dbinterface/dineu.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include "dbinterface/diblocks.h"
#include "dbinterface/diendrec.h"
#include "dbinterface/dimodel.h"
#include "dbinterface/direcs.h"
#include "dbinterface/diresult.h"
#include "dbinterface/tmpstream.h"
#include "difixture.h"
#include "modeldb/elttab.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/ftext.h"

namespace kvr {
namespace {

using Words = std::vector<int32_t>;

int32_t real(float x) { return std::bit_cast<int32_t>(x); }

// The character codes of TEXT, blank-padded to N.
Words codes(std::string_view text, size_t n) {
  Words w(n, kBlankCode);
  for (size_t j = 0; j < n && j < text.size(); ++j) w[j] = codeOf(text[j]);
  return w;
}

Words operator+(Words a, const Words& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Words range(int32_t first, int32_t last) {
  Words w(static_cast<size_t>(last - first + 1));
  std::iota(w.begin(), w.end(), first);
  return w;
}

std::string blanks(size_t n) { return std::string(n, ' '); }

// The header line of a dataset of KEY with a blank name, title and text, its value 0.0,
// its flag and number 0, in number format FORMAT.
std::string blankHeader(int32_t key, int32_t format) {
  std::string k = std::to_string(key);
  return " " + blanks(4 - k.size()) + k + "C" + blanks(6) + " 0.00000E+00" + blanks(32) + " 0" +
         "    0" + blanks(10) + " " + std::to_string(format);
}

// Integers right-justified in W columns each.
std::string ints(const Words& values, int w) {
  std::string s;
  for (int32_t v : values) {
    std::string t = std::to_string(v);
    s += blanks(static_cast<size_t>(w) - t.size()) + t;
  }
  return s;
}

class NeutralFile : public test::WritingRoadFixture {
 protected:
  static constexpr int32_t kUnit = 41;         // the temporary unit (channel 1)
  static constexpr int32_t kNeutralUnit = 42;  // LUNEU

  void SetUp() override {
    WritingRoadFixture::SetUp();
    ELTBLD(0);
    openUnit(kUnit, "t1", io::Form::Unformatted);
    newFile("out.neu");
    useFormat(kFormatI5E12);
  }

  static void useFormat(int32_t format) {
    DICTL.luopt = kOutputNeutral;
    DICTL.numberFormat = format;
    DICTL.itfnum = 1;
    DICTL.tempUnit(1) = kUnit;
    DICTL.luneu = kNeutralUnit;
    DICTL.lumsg1 = kNoMessageUnit;
    DICTL.lumsg2 = kNoMessageUnit;
  }

  // Connects LUNEU to a new file NAME of the test directory.
  void newFile(const std::string& name) {
    file_ = name;
    openUnit(kNeutralUnit, name, io::Form::Formatted);
  }
  std::vector<std::string> lines() { return linesOf(kNeutralUnit, file_); }

  static void append(const Words& words) {
    int32_t flag = 0;
    TMPWRT(words, 1, flag);
    ASSERT_EQ(flag, 0);
  }

  // A dataset of KEY opened on the unit as an accepted header leaves it, its header
  // record written. A model header (key 1 or 111) sets the model open mode.
  static void header(int32_t key, int32_t opcode = 1, std::string_view name = "",
                     float value = 0.0F, std::string_view title = "", int32_t hflag = 0,
                     int32_t hnumbr = 0, std::string_view text = "") {
    FixedText n(20, name);
    FixedText t(20, title);
    FixedText x(10, text);
    StreamRecord r;
    headerRecord(r, key, opcodeLetter(opcode), n, value, t, hflag, hnumbr, x);
    append(Words(r.words().begin(), r.words().end()));
    DISTAT.datasetKey(1) = key;
    DISTAT.datasetComplete(1) = key == 1 || key == 111 ? 1 : 0;
    DISTAT.groupStarted(1) = 0;
    DISTAT.lastId(1) = 0;
    if (key == 1 || key == 111) DISTAT.modelState = opcode;
  }

  // The text side of the dataset processing: the end records, a flush, a reset of the
  // channel, the lines; then the unit is freed for the next dataset.
  static int32_t process() {
    EndRecords end;
    endRecords(DISTAT.datasetKey(1), DISTAT.results(1).irtype, DISTAT.modelState, end);
    append(Words(end.words().begin(), end.words().end()));
    int32_t flag = 0;
    TMPFLS(1, flag);
    EXPECT_EQ(flag, 0);
    TMPRST(1);
    const int32_t status = writeNeutralDataset(1);
    free();
    return status;
  }

  // The unit holds no dataset and its stream starts again at its beginning.
  static void free() {
    io::unitRewind(kUnit);
    TMPRST(1);
    DISTAT.datasetKey(1) = 0;
    DISTAT.datasetComplete(1) = 0;
    DISTAT.results(1) = {};
    DISTAT.entityHeaderEntered(1) = 0;
    DISTAT.groupStarted(1) = 0;
    DISTAT.setHeaderWritten(1) = 0;
    DISTAT.localAxisHeaderEntered(1) = 0;
    DISTAT.localAxisRepeats(1) = 0;
    DICTL.variants(1) = {};
  }

  // ---- the record routines, each expected to accept its record
  static void node(int32_t id, float x, float y, float z, int32_t isys = 0) {
    int32_t ierr = -1;
    DICOR(id, x, y, z, isys, ierr, kUnit);
    ASSERT_EQ(ierr, 0) << "DICOR " << id;
  }
  static void element(int32_t id, int32_t type, const Words& nodes, int32_t att1 = 1,
                      int32_t att2 = 2, int32_t isys = 0) {
    int32_t ierr = -1;
    DITOP(id, type, att1, att2, nodes, isys, ierr, kUnit);
    ASSERT_EQ(ierr, 0) << "DITOP " << id;
  }
  static void set(std::string_view name, std::string_view title, const Words& ids) {
    FixedText n(8, name);
    FixedText t(30, title);
    int32_t ierr = -1;
    DISET(n, t, ids, static_cast<int32_t>(ids.size()), ierr, kUnit);
    ASSERT_EQ(ierr, 0) << "DISET";
  }
  static void attribute(std::string_view name, int32_t ncomps, int32_t irtype) {
    FixedText n(8, name);
    int32_t ierr = -1;
    DIRHA(n, ncomps, irtype, 0, ierr, kUnit);
    ASSERT_EQ(ierr, 0) << "DIRHA";
  }
  // A component of CTYPE 1 sent as one value, or calculated as NCALC.
  static void component(std::string_view name, std::string_view ncalc = "",
                        int32_t ctype = 1, int32_t index1 = 0) {
    FixedText n(8, name);
    FixedText c(8, ncalc);
    FixedText n2(8, "");
    int32_t ierr = -1;
    DIRHB(n, 1, ctype, index1, 0, ncalc.empty() ? 0 : 1, c, n2, ierr, kUnit);
    ASSERT_EQ(ierr, 0) << "DIRHB " << name;
  }
  static void nodal(int32_t id, const std::vector<float>& values) {
    int32_t ierr = -1;
    DINIA(id, values, static_cast<int32_t>(values.size()), ierr, kUnit);
    ASSERT_EQ(ierr, 0) << "DINIA " << id;
  }

  std::string file_;
};

// ---- single lines

TEST_F(NeutralFile, NodeLineInEachNumberFormat) {
  struct Case {
    int32_t format;
    float x;
    std::string line;
  };
  const Case cases[] = {
      {kFormatI5E12, 1.5F, " -1   12 0.15000E+01-0.20000E+01 0.00000E+00    0"},
      {kFormatI10E12, 1.5F, " -1        12 0.15000E+01-0.20000E+01 0.00000E+00    0"},
      {kFormatI10E14, 1.5F, " -1        12 0.1500000E+01-0.2000000E+01 0.0000000E+00    0"},
      {kFormatI5E12, -0.0F, " -1   12-0.00000E+00-0.20000E+01 0.00000E+00    0"},
  };
  int file = 0;
  for (const Case& c : cases) {
    newFile("node" + std::to_string(++file) + ".neu");
    useFormat(c.format);
    header(2);
    node(12, c.x, -2.0F, 0.0F);
    ASSERT_EQ(process(), kNeutralOk);
    EXPECT_EQ(lines(), (std::vector<std::string>{blankHeader(2, c.format), c.line, " -3"}))
        << "format " << c.format;
  }
  EXPECT_EQ(cases[0].line.size(), 49U);
}

TEST_F(NeutralFile, ModelHeaderWithItsFirstDataset) {
  header(1, 1, "Beam");
  header(2);
  node(12, 1.5F, -2.0F, 0.0F);
  node(13, 2.5F, 0.0F, 0.0F);
  ASSERT_EQ(process(), kNeutralOk);
  const std::vector<std::string> got = lines();
  ASSERT_EQ(got.size(), 5U);
  EXPECT_EQ(got[0], "    1CBEAM  " + blanks(61) + " 0");
  EXPECT_EQ(got[0].size(), 75U);
  EXPECT_EQ(got[1].substr(0, 6), "    2C");
  EXPECT_EQ(got[2], " -1   12 0.15000E+01-0.20000E+01 0.00000E+00    0");
  EXPECT_EQ(got[3], " -1   13 0.25000E+01 0.00000E+00 0.00000E+00    0");
  EXPECT_EQ(got[4], " -3");
}

TEST_F(NeutralFile, ModelNameShowsSixCharactersUnderKey1AndTwentyUnderKey111) {
  useFormat(kFormatI10E14);
  header(1, 2, "Cantilever beam");
  header(41);
  int32_t ierr = -1;
  DICON(3, 123, 0, 0, ierr, kUnit);
  ASSERT_EQ(ierr, 0);
  ASSERT_EQ(process(), kNeutralOk);
  header(111, 2, "ABCDEFGHIJKLMNOPQRST");
  header(41);
  DICON(4, 9, 0, 0, ierr, kUnit);
  ASSERT_EQ(ierr, 0);
  ASSERT_EQ(process(), kNeutralOk);

  const std::vector<std::string> got = lines();
  ASSERT_EQ(got.size(), 8U);
  EXPECT_EQ(got[0], "    1ACANTIL" + blanks(61) + " 2");
  EXPECT_EQ(got[2], " -1         3  123    0    0");
  EXPECT_EQ(got[4], "  111AABCDEFGHIJKLMNOPQRST" + blanks(61) + " 2");
  EXPECT_EQ(got[4].size(), 89U);
  EXPECT_EQ(got[6], " -1         4    9    0    0");
}

TEST_F(NeutralFile, DatasetHeaderLine) {
  header(100, 1, "load1", 1.5F, "Static run", 1, 3, "time");
  attribute("STRESS", 1, 1);
  component("SX");
  nodal(1, {2.0F});
  ASSERT_EQ(process(), kNeutralOk);
  const std::vector<std::string> got = lines();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got[0], "  100CLOAD1  0.15000E+01            Static run           1    3TIME       0");
  EXPECT_EQ(got[0].size(), 75U);
}

TEST_F(NeutralFile, ElementNodesOnContinuationLines) {
  struct Case {
    int32_t format;
    std::vector<std::string> lines;
  };
  const Words nodes = range(1, 20);
  const Case cases[] = {
      {kFormatI5E12,
       {" -1    5    4    1    2    0    0", " -2" + ints(range(1, 15), 5),
        " -2" + ints(range(16, 20), 5)}},
      {kFormatI10E12,
       {" -1         5    4    1    2    0    0", " -2" + ints(range(1, 10), 10),
        " -2" + ints(range(11, 20), 10)}},
      {kFormatI10E14,
       {" -1         5    4    1    2    0    0", " -2" + ints(range(1, 10), 10),
        " -2" + ints(range(11, 20), 10)}},
  };
  int file = 0;
  for (const Case& c : cases) {
    newFile("element" + std::to_string(++file) + ".neu");
    useFormat(c.format);
    header(3);
    element(5, 4, nodes);
    ASSERT_EQ(process(), kNeutralOk);
    std::vector<std::string> got = lines();
    ASSERT_EQ(got.size(), 5U) << "format " << c.format;
    EXPECT_EQ(std::vector<std::string>(got.begin() + 1, got.end() - 1), c.lines)
        << "format " << c.format;
    EXPECT_EQ(got.back(), " -3");
  }
}

TEST_F(NeutralFile, IntegerTooWideForItsFieldShowsAsterisks) {
  header(3);
  element(5, 4, range(1, 20), 123456, 2);
  ASSERT_EQ(process(), kNeutralOk);
  ASSERT_GE(lines().size(), 2U);
  EXPECT_EQ(lines()[1], " -1    5    4*****    2    0    0");
}

TEST_F(NeutralFile, SetHeaderAndMemberLines) {
  header(18);
  set("TOP", "Top nodes", range(1, 16));
  ASSERT_EQ(process(), kNeutralOk);
  const std::vector<std::string> got = lines();
  ASSERT_EQ(got.size(), 5U);
  EXPECT_EQ(got[1], " -1TOP       Top nodes                     ");
  EXPECT_EQ(got[1].size(), 43U);
  EXPECT_EQ(got[2], " -2" + ints(range(1, 15), 5));
  EXPECT_EQ(got[3], " -2   16");
  EXPECT_EQ(got[4], " -3");
}

// ---- results

TEST_F(NeutralFile, NodalValuesSixToALine) {
  header(100, 1, "LOAD1");
  attribute("STRESS", 7, 1);
  for (const char* name : {"SX", "SY", "SZ", "SXY", "SYZ", "SZX", "SEQ"}) component(name);
  nodal(7, {1.0F, 2.0F, 3.0F, 4.0F, 5.0F, 6.0F, 7.0F});
  ASSERT_EQ(process(), kNeutralOk);
  // An attribute whose only component is calculated: its records carry no value.
  header(100, 1, "LOAD2");
  attribute("STRESS", 1, 1);
  component("VM", "VONMISES");
  nodal(7, {});
  ASSERT_EQ(process(), kNeutralOk);

  const std::vector<std::string> got = lines();
  ASSERT_EQ(got.size(), 17U);
  EXPECT_EQ(got[1], " -4  STRESS      7    1    0");
  EXPECT_EQ(got[2], " -5  SX          1    1    0    0    0                ");
  EXPECT_EQ(got[9], " -1    7 0.10000E+01 0.20000E+01 0.30000E+01 0.40000E+01 0.50000E+01 0.60000E+01");
  EXPECT_EQ(got[10], " -1    7 0.70000E+01");
  EXPECT_EQ(got[11], " -3");
  EXPECT_EQ(got[13], " -4  STRESS      1    1    0");
  EXPECT_EQ(got[14], " -5  VM          1    1    0    0    1VONMISES        ");
  EXPECT_EQ(got[15], " -1    7");
  EXPECT_EQ(got[16], " -3");
}

TEST_F(NeutralFile, PointValuesRepeatOverNodesAndLayers) {
  header(100, 1, "LOAD1");
  attribute("STRAIN", 1, 3);
  component("EX");
  int32_t ierr = -1;
  DIENH(5, 10, 1, 0, 0, 2, 0, nullptr, ierr, kUnit);  // eight nodes, two layers
  ASSERT_EQ(ierr, 0);
  for (int32_t j = 1; j <= 16; ++j) {
    const float v = static_cast<float>(j);
    DIENR(j, std::span<const float>(&v, 1), 1, ierr, kUnit);
    ASSERT_EQ(ierr, 0) << j;
  }
  ASSERT_EQ(process(), kNeutralOk);
  const std::vector<std::string> got = lines();
  ASSERT_EQ(got.size(), 21U);
  EXPECT_EQ(got[3], " -1    5   10    1    0    0    2         0");
  EXPECT_EQ(got[4], " -2    1 0.10000E+01");
  EXPECT_EQ(got[19], " -2   16 0.16000E+02");
  EXPECT_EQ(got[20], " -3");
}

TEST_F(NeutralFile, GaussValuesReadThePointRecordOfEveryGroup) {
  header(100, 1, "LOAD1");
  attribute("STRESS", 1, 4);
  component("SX");
  int32_t ierr = -1;
  const float a = 1.5F;
  const float b = 3.0F;
  // Group 1 without point coordinates in the file; group 2 with them.
  DIEGH(5, 10, 1, 0, 2, 0, 0, 1, ierr, kUnit);
  ASSERT_EQ(ierr, 0);
  DIEGR(1, 9.0F, 9.0F, 9.0F, std::span<const float>(&a, 1), 1, ierr, kUnit);
  DIEGR(2, 9.0F, 9.0F, 9.0F, std::span<const float>(&b, 1), 1, ierr, kUnit);
  DIEGH(6, 10, 1, 0, 1, 0, 0, 0, ierr, kUnit);
  ASSERT_EQ(ierr, 0);
  DIEGR(1, 0.5F, -0.5F, 2.0F, std::span<const float>(&b, 1), 1, ierr, kUnit);
  ASSERT_EQ(ierr, 0);
  ASSERT_EQ(process(), kNeutralOk);
  const std::vector<std::string> got = lines();
  EXPECT_EQ(std::vector<std::string>(got.begin() + 3, got.end()),
            (std::vector<std::string>{
                " -1    5   10    1    0    0    0    2    0    1",
                " -2    1 0.15000E+01",
                " -2    2 0.30000E+01",
                " -1    6   10    1    0    0    0    1    0    0",
                " -2    1 0.50000E+00-0.50000E+00 0.20000E+01",
                " -2    1 0.30000E+01",
                " -3",
            }));
}

TEST_F(NeutralFile, ElementTypeOutsideTheTableHasNoNodesAndCountsAsOnePoint) {
  // Topology: no node record follows the unknown type, the next element reads in step.
  header(3);
  append(Words{-1, 5, 99, 1, 2, 0, 0});
  append(Words{-1, 6, 11, 1, 2, 0, 0, 7, 8});
  DISTAT.datasetComplete(1) = 1;
  ASSERT_EQ(process(), kNeutralOk);
  // Point values: NPOINT 0 of an unknown type stands for one point, times two layers.
  header(100, 1, "LOAD1");
  attribute("STRAIN", 1, 3);
  component("EX");
  int32_t ierr = -1;
  DIENH(5, 99, 1, 0, 0, 2, 0, nullptr, ierr, kUnit);
  ASSERT_EQ(ierr, 0);
  for (int32_t j = 1; j <= 2; ++j) {
    const float v = static_cast<float>(j);
    DIENR(j, std::span<const float>(&v, 1), 1, ierr, kUnit);
    ASSERT_EQ(ierr, 0);
  }
  ASSERT_EQ(process(), kNeutralOk);

  const std::vector<std::string> got = lines();
  ASSERT_EQ(got.size(), 12U);
  EXPECT_EQ(std::vector<std::string>(got.begin() + 1, got.begin() + 5),
            (std::vector<std::string>{" -1    5   99    1    2    0    0",
                                      " -1    6   11    1    2    0    0", " -2    7    8", " -3"}));
  EXPECT_EQ(std::vector<std::string>(got.begin() + 8, got.end()),
            (std::vector<std::string>{" -1    5   99    1    0    0    2         0",
                                      " -2    1 0.10000E+01", " -2    2 0.20000E+01", " -3"}));
}

// ---- datasets written word by word

TEST_F(NeutralFile, GaussPointCoordinatesRepeatOverEveryPointWithAZeroFactor) {
  header(30);
  append(Words{-1, 5, 9, 1, 3, 0});
  for (int32_t p = 1; p <= 3; ++p) {
    append(Words{-2, p, real(0.25F * static_cast<float>(p)), real(-1.0F), real(0.0F)});
  }
  DISTAT.datasetComplete(1) = 1;
  ASSERT_EQ(process(), kNeutralOk);
  const std::vector<std::string> got = lines();
  EXPECT_EQ(std::vector<std::string>(got.begin() + 1, got.end()),
            (std::vector<std::string>{
                " -1    5    9    1    0    0    3",
                " -2    1 0.25000E+00-0.10000E+01 0.00000E+00",
                " -2    2 0.50000E+00-0.10000E+01 0.00000E+00",
                " -2    3 0.75000E+00-0.10000E+01 0.00000E+00",
                " -3",
            }));
}

TEST_F(NeutralFile, DatasetOfOnlyItsEndRecordIsItsHeaderAndEndLine) {
  for (int32_t key : {20, 28, 29, 30, 31, 32, 42, 50, 53, 54, 55}) {
    header(key, 1, "X");
    ASSERT_EQ(process(), kNeutralOk) << "key " << key;
  }
  const std::vector<std::string> got = lines();
  ASSERT_EQ(got.size(), 22U);
  for (size_t j = 0; j < got.size(); j += 2) {
    EXPECT_EQ(got[j].size(), 75U) << got[j];
    EXPECT_EQ(got[j + 1], " -3") << got[j];
  }
}

TEST_F(NeutralFile, RecordsLongerThanALineContinueOnMinusTwoLines) {
  // An assembly build: components of a name and integers, 12 to a line.
  header(1, 3, "ASSY");
  append(Words{-1} + codes("PART1", 20) + Words{14} + range(1, 14));
  ASSERT_EQ(process(), kNeutralOk);
  // A multi-point constraint of type 1: one term record and its node ids, 10 to a line.
  header(42);
  append(Words{-1, 7, 1, 1, 10});
  append(Words{-2, 3, 2, 11, real(0.5F)} + range(1, 11));
  DISTAT.datasetComplete(1) = 1;
  ASSERT_EQ(process(), kNeutralOk);

  EXPECT_EQ(lines(), (std::vector<std::string>{
                     "    1BASSY  " + blanks(61) + " 0",
                     " -1 PART1 " + ints(range(1, 12), 5),
                     " -2   13   14",
                     " -3",
                     blankHeader(42, kFormatI5E12),
                     " -1    7    1    1   10",
                     " -2    3    2 0.50000E+00" + ints(range(1, 10), 5),
                     " -2   11",
                     " -3",
                 }));
}

TEST_F(NeutralFile, LastLineOfTheFile) {
  header(20);
  ASSERT_EQ(process(), kNeutralOk);
  ASSERT_EQ(writeNeutralEnd(), kNeutralOk);
  EXPECT_EQ(lines().back(), " 9999");
  EXPECT_EQ(lines().size(), 3U);
}

// ---- whole files

// Compares the lines GOT with the golden file NAME, or writes the file under
// KVR_UPDATE_GOLDEN=1.
void expectGolden(const std::string& name, const std::vector<std::string>& got) {
  const char* source = std::getenv("KVR_TEST_SOURCE");
  ASSERT_NE(source, nullptr) << "KVR_TEST_SOURCE names the tests folder";
  const std::string path = std::string(source) + "/dbinterface/golden/" + name;
  if (const char* update = std::getenv("KVR_UPDATE_GOLDEN"); update && std::string(update) == "1") {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& line : got) out << line << '\n';
    return;
  }
  const std::vector<std::string> want = test::readLines(path);
  ASSERT_EQ(got.size(), want.size()) << name;
  for (size_t j = 0; j < got.size(); ++j) EXPECT_EQ(got[j], want[j]) << name << " line " << j + 1;
}

const std::array<float, kAxesReals> kAxes = {1.0F, 0.0F, 0.0F, 0.0F, 0.70710677F,
                                             0.70710677F, 0.0F, -0.70710677F, 0.70710677F};

// model_f0.neu, model_f1.neu, model_f2.neu: one model in each number format, every dataset
// made by the record routines. A create header with its nodes (the largest five-digit
// node number, an exponent of 21, a tiny coordinate, a system); elements of 20, 4 and 2
// nodes; a node set of one call and an element set of two calls; two constraints; a local
// system; element local axes (2 points, 0 layers: 2 records) and Gauss-point local axes
// (2 points, 1 layer); the file's last line. The files differ in the id fields (I5 or
// I10), the node coordinates (E14.7 in format 2), the members per line (15 or 10) and
// the number format at the end of each header line.
TEST_F(NeutralFile, ModelFileInEachNumberFormat) {
  for (int32_t format : {kFormatI5E12, kFormatI10E12, kFormatI10E14}) {
    const std::string name = "model_f" + std::to_string(format) + ".neu";
    newFile(name);
    useFormat(format);
    header(1, 1, "Beam");
    header(2, 1, "nodes", 0.0F, "Mesh of the beam");
    node(1, 0.0F, 0.0F, 0.0F);
    node(2, 123.456F, -0.001F, 1.0e-10F);
    node(99999, -1.5e20F, 3.0F, 2.5F, 7);
    ASSERT_EQ(process(), kNeutralOk);
    header(3);
    element(1, 4, range(1, 20), 1, 2, 0);
    element(2, 9, Words{1, 2, 99999, 4}, 3, 0, 7);
    element(3, 11, Words{1, 2}, 0, 0, 0);
    ASSERT_EQ(process(), kNeutralOk);
    header(18);
    set("EDGE", "Nodes on the edge", range(1, 12) + Words{99999});
    ASSERT_EQ(process(), kNeutralOk);
    header(19);
    set("SOLID", "Solid elements", Words{1});
    set("SOLID", "", Words{2, 3});
    ASSERT_EQ(process(), kNeutralOk);
    int32_t ierr = -1;
    header(41);
    DICON(1, 123, 0, 0, ierr, kUnit);
    ASSERT_EQ(ierr, 0);
    DICON(2, 9, 7, 456, ierr, kUnit);
    ASSERT_EQ(ierr, 0);
    ASSERT_EQ(process(), kNeutralOk);
    header(43);
    int32_t idum = 0;
    DILXC(7, idum, kAxes, ierr, kUnit);
    ASSERT_EQ(ierr, 0);
    ASSERT_EQ(process(), kNeutralOk);
    header(33);
    DIEXH(2, 9, 3, 2, 0, ierr, kUnit);
    ASSERT_EQ(ierr, 0);
    DIEXD(1, kAxes, ierr, kUnit);
    DIEXD(2, kAxes, ierr, kUnit);
    ASSERT_EQ(ierr, 0);
    ASSERT_EQ(process(), kNeutralOk);
    header(34);
    DIGXH(1, 4, 1, 2, 1, ierr, kUnit);
    ASSERT_EQ(ierr, 0);
    DIGXD(1, kAxes, ierr, kUnit);
    DIGXD(2, kAxes, ierr, kUnit);
    ASSERT_EQ(ierr, 0);
    ASSERT_EQ(process(), kNeutralOk);
    ASSERT_EQ(writeNeutralEnd(), kNeutralOk);
    expectGolden(name, lines());
  }
}

// results_f0.neu, results_f1.neu: four results datasets made by the record routines.
// Nodal values of three components (one sent as two values, one calculated: three
// values a record); values at the nodes of a four-node element with ILOCAL 1; Gauss-point
// values of 2 points by 2 layers with their coordinates (key 300); values per layer of
// two elements. The id fields of the nodal, point and layer values switch to I10 in
// format 1, those of the Gauss-point groups stay I5.
TEST_F(NeutralFile, ResultsFileInTwoNumberFormats) {
  for (int32_t format : {kFormatI5E12, kFormatI10E12}) {
    const std::string name = "results_f" + std::to_string(format) + ".neu";
    newFile(name);
    useFormat(format);
    int32_t ierr = -1;
    header(100, 1, "load1", 0.0F, "First load", 0, 1, "static");
    attribute("STRESS", 3, 1);
    component("SX");
    component("SXY", "", 11);
    component("VM", "VONMISES");
    nodal(1, {1.0F, -2.0F, 3.0F});
    nodal(2, {0.125F, 1.0e-5F, -7.5e6F});
    ASSERT_EQ(process(), kNeutralOk);

    header(100, 1, "load1");
    attribute("DISPL", 1, 3);
    component("DX");
    DIENH(4, 9, 1, 0, 0, 0, 1, nullptr, ierr, kUnit);
    ASSERT_EQ(ierr, 0);
    for (int32_t j = 1; j <= 4; ++j) {
      const float v = 0.5F * static_cast<float>(j);
      DIENR(j, std::span<const float>(&v, 1), 1, ierr, kUnit);
      ASSERT_EQ(ierr, 0);
    }
    ASSERT_EQ(process(), kNeutralOk);

    header(300, 1, "mode1", 12.5F, "First mode", 2, 1, "frequency");
    attribute("STRAIN", 2, 4);
    component("EX");
    component("EY");
    DIEGH(1, 9, 1, 0, 2, 2, 0, 0, ierr, kUnit);
    ASSERT_EQ(ierr, 0);
    for (int32_t j = 1; j <= 4; ++j) {
      const float v[2] = {static_cast<float>(j), -static_cast<float>(j)};
      DIEGR(j, 0.1F * static_cast<float>(j), 0.2F, 0.0F, v, 2, ierr, kUnit);
      ASSERT_EQ(ierr, 0);
    }
    ASSERT_EQ(process(), kNeutralOk);

    header(100, 1, "load2");
    attribute("FORCE", 1, 5);
    component("FX");
    DIECH(2, 9, 3, 0, 3, 0, nullptr, ierr, kUnit);
    ASSERT_EQ(ierr, 0);
    for (int32_t j = 1; j <= 3; ++j) {
      const float v = 100.0F * static_cast<float>(j);
      DIECR(j, std::span<const float>(&v, 1), 1, ierr, kUnit);
      ASSERT_EQ(ierr, 0);
    }
    DIECH(3, 11, 0, 0, 0, 1, nullptr, ierr, kUnit);
    ASSERT_EQ(ierr, 0);
    const float last = -1.0F;
    DIECR(1, std::span<const float>(&last, 1), 1, ierr, kUnit);
    ASSERT_EQ(ierr, 0);
    ASSERT_EQ(process(), kNeutralOk);
    ASSERT_EQ(writeNeutralEnd(), kNeutralOk);
    expectGolden(name, lines());
  }
}

// fixtures_f0.neu, fixtures_f1.neu: the datasets that no record routine of the library
// makes, written word by word. Materials of kinds 1, 2 (2 + 5 further reals on two " -2"
// lines), 3 (2(1 + 2) further reals) and 7 (none); a beam with 1 point load and 1
// distributed load (3 parts, each a tag record and six reals, shown with an I5 field of
// 0); a combination of two load cases; a scan (two -2 records skipped, then its first
// record and two entries); nodal local axes of 2 x 0 records; two multi-point
// constraints, of type 12 (a + b = 2 term records) and of type 1 (one term record with 3
// node ids); a transformation; a symbol set of two symbols, the second not written (tag
// -1); node and element names; an assembly build of key 111 whose second component runs
// onto a " -2" line.
TEST_F(NeutralFile, DatasetsWithoutRecordRoutinesInTwoNumberFormats) {
  for (int32_t format : {kFormatI5E12, kFormatI10E12}) {
    const std::string name = "fixtures_f" + std::to_string(format) + ".neu";
    newFile(name);
    useFormat(format);
    const auto dataset = [](int32_t key, const std::vector<Words>& records) {
      header(key, 1, "D" + std::to_string(key));
      for (const Words& r : records) append(r);
      DISTAT.datasetComplete(1) = 1;
      ASSERT_EQ(process(), kNeutralOk) << "key " << key;
    };
    Words seven;
    for (int32_t j = 1; j <= 7; ++j) seven.push_back(real(0.5F * static_cast<float>(j)));
    dataset(20, {{-1, 1, 0, 0, 1, real(2.1e5F), real(0.3F), real(7.85e-9F), real(0.0F)},
                 {-1, 2, 2, 5, 2, real(1.0F), real(2.0F), real(3.0F), real(4.0F)}, seven,
                 {-1, 3, 1, 2, 3, real(1.0F), real(1.0F), real(1.0F), real(1.0F)},
                 Words(6, real(-1.0F)),
                 {-1, 7, 9, 9, 4, real(0.0F), real(0.0F), real(0.0F), real(-0.0F)}});
    Words load;
    for (int32_t j = 1; j <= 6; ++j) load.push_back(real(static_cast<float>(j)));
    dataset(28, {{-1, 10, 1, 1, 1, 0, 0, 0, 0}, {-2}, load, {-2}, load, {-2}, load});
    dataset(29, {Words{-1} + codes("LOAD1", 6) + Words{1, real(1.5F)},
                 Words{-1} + codes("LOAD2", 6) + Words{2, real(-0.5F)}});
    dataset(31, {{-2, 0}, {-2, 0}, {-1, 3}, Words{-2} + codes("LOAD1", 6) + Words{1},
                 Words{-2} + codes("LOAD2", 6) + Words{0}});
    Words axis = {-2, 1};
    for (float a : kAxes) axis.push_back(real(a));
    dataset(32, {{-1, 4, 2, 0}, axis, axis});
    dataset(42, {{-1, 1, 12, 1, 1}, {-2, 5, 1, 0, real(1.0F)}, {-2, 6, 2, 0, real(-1.0F)},
                 {-1, 2, 1, 1, 3}, {-2, 5, 3, 3, real(0.25F)}, {7, 8, 9}});
    Words matrix = {-1, 1, 0};
    for (int32_t j = 1; j <= 16; ++j) matrix.push_back(real(j % 5 == 1 ? 1.0F : 0.0F));
    dataset(50, {matrix});
    const auto symbol = [](int32_t tag, std::string_view shape) {
      return Words{tag} + codes(shape, 8) + codes("ON", 3) + codes(">=", 7) +
             Words{real(1.5F)} + codes("AND", 3) + codes("ABS<", 7) + Words{real(3.0F)} +
             codes("RED", 8) + codes("SCALED", 6) + codes("High stress", 20);
    };
    dataset(53, {Words{-1} + codes("SYMSET1", 8) + codes("STRESS", 8) + Words{2, 0},
                 symbol(-2, "TRIANGLE"), symbol(-1, "PLUS")});
    dataset(54, {Words{-1, 1} + codes("CORNER", 8), Words{-1, 99999} + codes("TIP", 8)});
    dataset(55, {Words{-1, 3} + codes("WEB", 8)});

    header(111, 3, "ASSEMBLY OF TWO PART");
    append(Words{-1} + codes("FIRST PART", 20) + Words{3, 1, 2, 3});
    append(Words{-1} + codes("SECOND PART", 20) + Words{13} + range(101, 113));
    ASSERT_EQ(process(), kNeutralOk);
    DISTAT.modelState = 1;
    ASSERT_EQ(writeNeutralEnd(), kNeutralOk);
    expectGolden(name, lines());
  }
}

// ---- failures

TEST_F(NeutralFile, StreamCutShortAnswersAReadFailureAndKeepsTheLinesBeforeIt) {
  // Cut before the end record.
  header(2);
  node(1, 1.0F, 0.0F, 0.0F);
  node(2, 2.0F, 0.0F, 0.0F);
  int32_t flag = 0;
  TMPFLS(1, flag);
  ASSERT_EQ(flag, 0);
  TMPRST(1);
  EXPECT_EQ(writeNeutralDataset(1), kNeutralReadFailed);
  EXPECT_EQ(lines().size(), 3U);
  EXPECT_EQ(lines().back(), " -1    2 0.20000E+01 0.00000E+00 0.00000E+00    0");
  free();

  // Cut inside a record: a value record whose count runs past the stream.
  newFile("cut.neu");
  header(100, 1, "LOAD1");
  append(Words{-4} + codes("STRESS", 8) + Words{1, 1, 0});
  append(Words{-5} + codes("SX", 8) + Words{1, 1, 0, 0, 0} + codes("", 16));
  append(Words{-1, 7, 1000000, real(1.0F)});
  TMPFLS(1, flag);
  TMPRST(1);
  EXPECT_EQ(writeNeutralDataset(1), kNeutralReadFailed);
  EXPECT_EQ(lines().size(), 3U);

  // A beam load whose distributed loads are counted below 0: its parts cannot be counted.
  newFile("beam.neu");
  free();
  header(28, 1, "LOAD1");
  append(Words{-1, 1, 0, 1, -1, 0, 0, 0, 0, -2} + Words(6, real(1.0F)));
  DISTAT.datasetComplete(1) = 1;
  EXPECT_EQ(process(), kNeutralReadFailed);
  EXPECT_EQ(lines().size(), 2U);

  // A model header alone: the dataset it opens is missing.
  newFile("model.neu");
  free();
  header(1, 1, "BEAM");
  EXPECT_EQ(process(), kNeutralReadFailed);
  EXPECT_EQ(lines().size(), 1U);
}

TEST_F(NeutralFile, RefusedLineAnswersAWriteFailure) {
  header(20);
  ASSERT_EQ(io::unitClose(kNeutralUnit), io::kIosOk);
  EXPECT_EQ(process(), kNeutralWriteFailed);
  EXPECT_EQ(writeNeutralEnd(), kNeutralWriteFailed);
}

}  // namespace
}  // namespace kvr
