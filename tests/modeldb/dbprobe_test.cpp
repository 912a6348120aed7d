#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "modeldb/dbprobe.h"
#include "platform/unitio.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/fouvre.h"
#include "runtime/iounit.h"
#include "runtime/modelname.h"
#include "testsupport.h"

namespace kvr {
namespace {

struct Probe {
  int32_t geoGens = -9, geoExists = -9, modelGens = -9, modelExists = -9;
};

Probe probe(const std::string& name, int32_t n = -1) {
  FixedText text(static_cast<int32_t>(name.size()), name);
  Probe p;
  DBPROB(text, n < 0 ? static_cast<int32_t>(name.size()) : n, p.geoGens, p.geoExists, p.modelGens,
         p.modelExists);
  return p;
}

struct Located {
  int32_t status = -9, geoFound = -9, modelFound = -9;
  std::vector<int32_t> name;
};

std::vector<int32_t> lineOf(const std::string& text) {
  std::vector<int32_t> line(20, kBlankCode);
  for (size_t k = 0; k < text.size() && k < 20; ++k) line[k] = codeOf(text[k]);
  return line;
}

Located locate(const std::string& text) {
  const std::vector<int32_t> line = lineOf(text);
  Located l;
  l.name.assign(20, 0x12345678);
  DBLOCN(line, l.name, l.status, l.geoFound, l.modelFound);
  return l;
}

// A temporary directory as the current directory, the character tables set, the unit
// slots at their defaults.
class FileProbe : public ::testing::Test {
 protected:
  void SetUp() override {
    IOUNIT = {};
    setDefaultUnitSlots();
    CHRSET();
  }
  void TearDown() override {
    io::closeAllUnits();
    IOUNIT = {};
  }
  void touch(const std::string& name) {
    std::filesystem::create_directories(std::filesystem::path(dir.file(name)).parent_path());
    test::writeFile(dir.file(name), "");
  }

  test::TempDir dir;
};

TEST_F(FileProbe, CountsTheNewestOlderGeneration) {
  touch("m.V63");
  touch("m.M63");
  Probe p = probe("m");
  EXPECT_EQ(p.modelGens, 8);
  EXPECT_EQ(p.modelExists, 0);
  EXPECT_EQ(p.geoGens, 0);
  EXPECT_EQ(p.geoExists, 0);
  // The newest older generation wins; a data file without its index file does not count.
  touch("m.V70");
  EXPECT_EQ(probe("m").modelGens, 8);
  touch("m.M70");
  EXPECT_EQ(probe("m").modelGens, 10);
  touch("m.G40");
  touch("m.G20");
  EXPECT_EQ(probe("m").geoGens, 2);
  touch("m.G71");
  EXPECT_EQ(probe("m").geoExists, 1);
}

TEST_F(FileProbe, Generation20IndexIsBesideTheModel) {
  touch("d/m.V20");
  touch("kvrindex.m20");
  EXPECT_EQ(probe("d/m").modelGens, 0);
  touch("d/kvrindex.m20");
  EXPECT_EQ(probe("d/m").modelGens, 1);
  // A long name in the working directory still probes "kvrindex.m20" itself.
  touch("longmodelname.V20");
  EXPECT_EQ(probe("longmodelname").modelGens, 1);
}

TEST_F(FileProbe, ProbesNothingWithoutAName) {
  touch(".G71");
  touch(".V71");
  touch(".M71");
  touch("-.V71");
  touch("-.M71");
  for (const Probe& p : {probe("m", 0), probe("m", -3), probe("   "), probe(" ", 1)}) {
    EXPECT_EQ(p.geoExists, 0);
    EXPECT_EQ(p.modelExists, 0);
    EXPECT_EQ(p.geoGens, 0);
    EXPECT_EQ(p.modelGens, 0);
  }
  // A file name beyond 128 characters is never probed.
  const std::string name(125, 'a');
  EXPECT_EQ(probe(name).geoExists, 0);
  const std::string shorter(124, 'a');
  touch(std::string(124, 'A') + ".G71");
  EXPECT_EQ(probe(shorter).geoExists, 1);
}

TEST_F(FileProbe, FindsTheFilesTheOpenerCreates) {
  DBPARM.fileSlot(2).pageSize = 2040;
  for (const std::string model : {"model1", "Model2"}) {
    const std::vector<int32_t> codes = lineOf(model);
    for (int32_t type : {7, 8}) {
      int32_t status = -1;
      FOUVRE(type, codes, static_cast<int32_t>(model.size()), 3, 1, status);
      ASSERT_EQ(status, 0) << model << " " << type;
    }
    io::closeAllUnits();
    EXPECT_EQ(probe(model).modelExists, 1) << model;
  }
  touch("MODEL3.V63");
  touch("MODEL3.M63");
  EXPECT_EQ(probe("model3").modelGens, 8);
}

TEST_F(FileProbe, LocatesTheModelOfTheFirstToken) {
  touch("m.G71");
  Located l = locate("m rest of line");
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.geoFound, 1);
  EXPECT_EQ(l.modelFound, 0);
  EXPECT_EQ(l.name, lineOf("m rest of line"));

  touch("v.V71");
  l = locate("  v");
  EXPECT_EQ(l.status, -1);
  EXPECT_EQ(l.modelFound, 0);
  EXPECT_EQ(l.name, lineOf(""));
  touch("v.M71");
  l = locate("  v");
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.modelFound, 1);
  EXPECT_EQ(l.name, lineOf("  v"));
}

// A model name with a directory is one word: its files are those the model-file-name
// builder names, found as DBPROB finds them.
TEST_F(FileProbe, LocatesAModelInADirectory) {
  for (const char* model : {"beam", "out/beam"}) {
    for (ModelFileKind kind : {ModelFileKind::Index, ModelFileKind::Data}) {
      touch(modelFileName(model, kind));
    }
  }
  ASSERT_TRUE(std::filesystem::exists(dir.file("out/BEAM.M71")));
  struct Case {
    const char* line;
    const char* model;
    int32_t status, modelFound;
  };
  const Case cases[] = {
      {"beam", "beam", 0, 1},
      {"out/beam rest of line", "out/beam", 0, 1},
      {"  out/beam", "out/beam", 0, 1},
      {"out/missing", "out/missing", -1, 0},
      {"out/", "out/", -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const Located l = locate(c.line);
    EXPECT_EQ(l.status, c.status);
    EXPECT_EQ(l.modelFound, c.modelFound);
    EXPECT_EQ(l.modelFound, probe(c.model).modelExists);
    EXPECT_EQ(l.geoFound, 0);
    EXPECT_EQ(l.name, c.status == 0 ? lineOf(c.line) : lineOf(""));
  }
}

TEST_F(FileProbe, BlankLineFindsNothing) {
  touch(".V71");
  touch(".M71");
  touch(".G71");
  Located l = locate("");
  EXPECT_EQ(l.status, -1);
  EXPECT_EQ(l.geoFound, 0);
  EXPECT_EQ(l.modelFound, 0);
  EXPECT_EQ(l.name, lineOf(""));
}

}  // namespace
}  // namespace kvr
