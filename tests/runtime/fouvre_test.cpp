#include "runtime/fouvre.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/filcls.h"
#include "runtime/filtyp.h"
#include "runtime/genopen.h"
#include "runtime/iounit.h"
#include "runtime/pltdev.h"
#include "settingsfixture.h"

namespace kvr {
namespace {

namespace fs = std::filesystem;
using test::writeFile;

constexpr int32_t kFormatted = 1;
constexpr int32_t kDirect = 3;
constexpr int32_t kUnknown = 6;  // opens the file, making it when missing

class FilesByType : public test::SettingsFixture {
 protected:
  void SetUp() override {
    SettingsFixture::SetUp();
    DBPARM.pageFactor1 = 2000;
    DBPARM.pageFactor2 = 1;
    DBPARM.fileSlot(2).pageSize = 2040;
    DBPARM.recordLength = 500;
  }
  void TearDown() override {
    setAccessCheck(nullptr);
    SettingsFixture::TearDown();
  }

  // FOUVRE with NAME as character codes.
  static int32_t fouvre(int32_t type, const std::string& name, int32_t form, int32_t mode) {
    std::vector<int32_t> codes(name.size());
    for (size_t k = 0; k < name.size(); ++k) codes[k] = codeOf(name[k]);
    int32_t status = 12345;
    FOUVRE(type, codes, static_cast<int32_t>(codes.size()), form, mode, status);
    return status;
  }

  // The unit a type is opened on.
  static int32_t unitOf(int32_t type) { return IOUNIT.slot(fileTypeRow(type)->openSlot); }

  // The name of the file TYPE is open on, relative to the fixture directory.
  std::string openedName(int32_t type) {
    std::string name = io::unitFileName(unitOf(type));
    std::string prefix = dir.path().string() + "/";
    return name.rfind(prefix, 0) == 0 ? name.substr(prefix.size()) : name;
  }
};

struct NameCase {
  int32_t type;
  const char* name;
  const char* existing;  // a file made before the open, or nullptr
  const char* opened;
};

TEST_F(FilesByType, NamesByType) {
  makeDirectories("d");
  makeDirectories("a.b");
  makeDirectories("out dir");
  const NameCase cases[] = {
      {4, "", nullptr, "kvrlst.lst"},
      {5, "", nullptr, "kvrlog.log"},
      {6, "", nullptr, "kvrmodel.tli"},
      {9, "", nullptr, "kvrarc.tla"},
      {14, "", nullptr, "kvrbatch.bat"},
      {20, "", nullptr, "kvrmodelo.kva"},
      {25, "", nullptr, "kvrmodelo.anl"},
      {27, "", nullptr, "kvrmodelo.his"},
      {6, "MODEL1", "MODEL1", "MODEL1"},
      {6, "MODEL1", nullptr, "MODEL1.TLI"},
      {6, "Model1", nullptr, "MODEL1.TLI"},
      {6, "model1", nullptr, "model1.tli"},
      {6, "d/Model1", nullptr, "d/Model1.tli"},
      {14, "run", "run", "run"},
      {4, "a.b/file", nullptr, "a.b/file.lst"},
      {4, "  List  ", nullptr, "LIST.LST"},
      {4, "x.txt", nullptr, "x.txt"},
      {22, "dump", nullptr, "dump.bak"},
      {7, "my model", nullptr, "MY-MODEL.M71"},
      {8, "out dir/beam 2", nullptr, "out dir/BEAM-2.V71"},
      {21, "Model1", nullptr, "MODEL1.G71"},
      {7, "v1.2", nullptr, "V1.2.M71"},
      {8, "v1.2", nullptr, "V1.2.V71"},
      {12, "slots.tmp", nullptr, "slots.tmp"},
  };
  for (const NameCase& c : cases) {
    if (c.existing != nullptr) writeFile(c.existing, "");
    EXPECT_EQ(fouvre(c.type, c.name, kFormatted, kUnknown), 0) << c.type << " " << c.name;
    EXPECT_EQ(openedName(c.type), c.opened) << c.type << " " << c.name;
    EXPECT_EQ(IOUNIT.openFlag(c.type), 1);
    io::closeAllUnits();
    IOUNIT.openFlags = {};
    for (const auto& e : fs::directory_iterator(dir.path())) {
      if (e.is_regular_file()) fs::remove(e.path());
    }
  }
}

TEST_F(FilesByType, ListFileOnItsDefaultUnit) {
  EXPECT_EQ(fouvre(4, "", kFormatted, 1), 0);
  EXPECT_TRUE(io::unitIsOpen(2));
  EXPECT_TRUE(fs::exists("kvrlst.lst"));
  EXPECT_EQ(fouvre(4, "", kFormatted, 1), io::kIosFileExists);  // mode 1 wants a new file
}

TEST_F(FilesByType, RecordLengthsOfTheDirectAccessTypes) {
  const struct {
    int32_t type;
    const char* name;
    int32_t recl;
  } cases[] = {{7, "m", 100}, {8, "m", 2040}, {21, "m", 2000}, {22, "m", 2000},
               {12, "s12", 500}, {13, "s13", 500}, {23, "s23", 500}, {26, "s26", 1000}};
  for (const auto& c : cases) {
    EXPECT_EQ(fouvre(c.type, c.name, kDirect, kUnknown), 0) << c.type;
    EXPECT_EQ(io::unitRecl(unitOf(c.type)), c.recl) << c.type;
  }
}

TEST_F(FilesByType, PlotFileByDevice) {
  const struct {
    int32_t device;
    int32_t raster;
    const char* setting;
    const char* opened;
  } cases[] = {
      {4, 0, "", "kvrplt.ps"},
      {4, 0, "Quorin.*.FileExtension.Postscript: .eps\n", "kvrplt.eps"},
      {2, 0, "Quorin.*.FileExtension.Postscript: eps ! colour\n", "kvrplt.eps"},
      {0, 0, "", "kvrplt.png"},
      {0, 1, "", "kvrplt.bmp"},
      {11, 0, "Quorin.*.FileExtension.Hardcopy: jpg\n", "kvrplt.jpg"},
      {10, 0, "", "kvrplt.cgm"},
      {8, 0, "", "kvrplt.hgl"},
      {12, 0, "", "kvrplt.tif"},
      {1, 0, "Quorin.*.FileExtension.Neutral: x\n", "kvrplt.dat"},
  };
  for (const auto& c : cases) {
    writeFile("quorin.ini", c.setting);
    PLTDEV.device = c.device;
    PLTDEV.rasterFormat = c.raster;
    EXPECT_EQ(fouvre(3, "", kFormatted, kUnknown), 0) << c.opened;
    EXPECT_EQ(openedName(3), c.opened);
    EXPECT_EQ(IOUNIT.plotFileName, c.opened);
    io::unitClose(unitOf(3), true);
  }

  // The plot-file command gets the whole name, however long.
  std::string longName = std::string(150, 'p') + ".ps";
  EXPECT_EQ(fouvre(3, longName, kFormatted, kUnknown), 0);
  EXPECT_EQ(IOUNIT.plotFileName, longName);
}

TEST_F(FilesByType, StandardDirectories) {
  makeDirectories("std");
  makeDirectories("p/bin");
  makeDirectories("p/Custom");
  const struct {
    int32_t type;
    const char* variable;
    const char* value;  // nullptr: unset
    const char* name;
    const char* opened;
  } cases[] = {
      {19, "KVRSYN", "std", "", "std/kvrsyn.syn"},
      {19, "KVRSYN", "std/", "", "std/kvrsyn.syn"},
      {19, "KVRSYN", nullptr, "", "p/bin/../Custom/kvrsyn.syn"},
      {19, "KVRSYN", "std", "Mine", "MINE.SYN"},
      {28, "KVRSTR", nullptr, "", "p/bin/../Custom/kvrcmap.str"},
      {16, "KVRSTR", "std", "ignored", "std/kvrstr.str"},
  };
  for (const auto& c : cases) {
    if (c.value != nullptr) {
      setenv(c.variable, c.value, 1);
    } else {
      unsetenv(c.variable);
    }
    EXPECT_EQ(fouvre(c.type, c.name, kFormatted, kUnknown), 0) << c.opened;
    EXPECT_EQ(openedName(c.type), c.opened);
    io::unitClose(unitOf(c.type), true);
  }
}

TEST_F(FilesByType, StatusesWithoutAnOpen) {
  const struct {
    int32_t type;
    const char* name;
    int32_t status;
  } cases[] = {
      {7, "", 2}, {8, "  ", 2}, {21, "", 2}, {22, "", 2}, {-7, "", 2},
      {17, "x", 1}, {18, "x", 1}, {24, "x", 1}, {15, "x", 1},
      {0, "x", 1}, {29, "x", 1}, {-29, "x", 1},
      {-28, "", 0}, {-12, "x", 0}, {-4, "", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fouvre(c.type, c.name, kFormatted, 1), c.status) << c.type;
  }
  for (int32_t unit = 1; unit <= 30; ++unit) {
    if (unit != 5 && unit != 6) {
      EXPECT_FALSE(io::unitIsOpen(unit)) << unit;
    }
  }
  EXPECT_EQ(IOUNIT.openFlags, (std::array<int32_t, 28>{}));

  makeDirectories("p/bin");
  makeDirectories("p/Custom");
  writeFile("p/Custom/kvrcmap.str", "");
  EXPECT_EQ(fouvre(-28, "", kFormatted, 1), 1);
  EXPECT_FALSE(io::unitIsOpen(unitOf(28)));
}

TEST_F(FilesByType, TerminalTypesAreOnlyMarked) {
  for (int32_t type : {1, 2, 10, -11}) {
    EXPECT_EQ(fouvre(type, "", kFormatted, 1), 0);
    EXPECT_EQ(IOUNIT.openFlag(type < 0 ? -type : type), 1);
  }
}

TEST_F(FilesByType, ExistenceTestAndDeletion) {
  EXPECT_EQ(fouvre(-7, "my model", kDirect, 1), 0);
  EXPECT_EQ(fouvre(7, "my model", kDirect, 1), 0);
  io::closeAllUnits();
  EXPECT_EQ(fouvre(-7, "my model", kDirect, 1), 1);
  EXPECT_EQ(fouvre(7, "my model", kDirect, -2), 0);
  EXPECT_FALSE(fs::exists("MY-MODEL.M71"));
  EXPECT_EQ(fouvre(-7, "my model", kDirect, 1), 0);

  writeFile("old.lst", "x\n");
  EXPECT_EQ(fouvre(4, "old", kFormatted, -2), 0);
  EXPECT_FALSE(fs::exists("old.lst"));
  EXPECT_EQ(fouvre(4, "old", kFormatted, -2), 1);
  EXPECT_EQ(fouvre(12, "scratch", kFormatted, -2), 1);  // scratch types have no name
}

TEST_F(FilesByType, NamesDifferingInCaseFromAFileOnDisk) {
  writeFile("MODEL1.TLI", "x\n");
  EXPECT_EQ(fouvre(6, "model1", kFormatted, 2), 0);
  EXPECT_EQ(openedName(6), "MODEL1.TLI");
  EXPECT_EQ(fouvre(-6, "model1", kFormatted, 1), 1);
  io::closeAllUnits();
  writeFile("Model1.tli", "y\n");
  EXPECT_EQ(fouvre(6, "model1", kFormatted, 2), 1);  // two candidates: none taken
  EXPECT_EQ(fouvre(-6, "model1", kFormatted, 1), 0);
}

TEST_F(FilesByType, ExistingFileModesFindANameDifferingInCase) {
  makeDirectories("d");
  writeFile("d/Old.Txt", "x\n");
  for (int32_t mode : {2, 3, 4, -2}) {
    FixedText name(20, "d/old.txt");
    int32_t status = 99;
    TLFOPN(name, 20, 0, 0, 20, kFormatted, mode, 0, status);
    EXPECT_EQ(status, 0) << mode;
    EXPECT_EQ(io::unitFileName(20), "d/Old.Txt") << mode;
    io::unitClose(20);
  }
  FixedText name(20, "D/OLD.TXT");
  int32_t result = -1;
  FEXIST(name, 9, 0, 0, result);
  EXPECT_EQ(result, 0);  // the directory part is taken as given
  name.text().assign("d/OLD.TXT");
  FEXIST(name, 9, 0, 0, result);
  EXPECT_EQ(result, 1);
}

TEST_F(FilesByType, UnitRefusedByTheAccessCheckIsStillClosedByType) {
  writeFile("kvrlst.lst", "x\n");
  setAccessCheck([](std::string_view, int32_t want) { return want == 2 ? -1 : 0; });
  EXPECT_EQ(fouvre(4, "", kFormatted, 2), -1);
  EXPECT_TRUE(io::unitIsOpen(2));
  EXPECT_EQ(IOUNIT.openFlag(4), 1);
  FILCLS(-1);
  EXPECT_FALSE(io::unitIsOpen(2));
  EXPECT_EQ(IOUNIT.openFlag(4), 0);
}

TEST_F(FilesByType, DefaultExtensionAndCaseOfAText) {
  const struct {
    const char* name;
    int32_t type;
    const char* result;
  } cases[] = {
      {"Model1", 6, "MODEL1.TLI"},  {"model1", 6, "model1.tli"}, {"d/Model1", 6, "d/Model1.tli"},
      {"a.b/file", 4, "a.b/file.lst"}, {"X.y", 4, "X.Y"},        {"9Abc", 5, "9ABC.LOG"},
      {"1234", 5, "1234.log"},      {"m", 7, "m.m71"},           {"x", 12, "x"},
  };
  for (const auto& c : cases) {
    FixedText name(20, c.name);
    int32_t length = name.text().trimmedLength();
    DEFEXT(name, length, c.type);
    EXPECT_EQ(name.trimmed(), c.result) << c.name;
    EXPECT_EQ(length, static_cast<int32_t>(std::string(c.result).size()));
  }
  FixedText cut(8, "abcdefgh");
  int32_t length = 8;
  DEFEXT(cut, length, 4);  // no room for the extension: cut at the text's length
  EXPECT_EQ(length, 8);
  EXPECT_EQ(std::string(cut.view()), "abcdefgh");

  FixedText mixed(10, "aBC dEf");
  NAMCAS(mixed, 3);
  EXPECT_EQ(std::string(mixed.view()), "abc dEf   ");
}

TEST(DefaultUnitSlots, EverySlotHasItsUnit) {
  IOUNIT = {};
  setDefaultUnitSlots();
  const std::array<int32_t, 27> expected{5, 6, 3, 2, 7, 1, 11, 4, 8, 5, 6, 9, 14, 12,
                                         0, 12, 17, 18, 19, 10, 26, 15, 21, 22, 23, 24, 25};
  EXPECT_EQ(IOUNIT.slots, expected);
  EXPECT_EQ(std::string(IOUNIT.ioDebug.data(), 3), "OFF");
  EXPECT_EQ(ioDebugWord().view(), "OFF");
  EXPECT_EQ(IOUNIT.journal1Enable, 0);
  IOUNIT = {};
}

}  // namespace
}  // namespace kvr
