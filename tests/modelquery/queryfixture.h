// A fixture for the query session: the settings fixture (a temporary current directory,
// no settings files, the default unit slots), standard input at its end and standard
// output caught in a file, the message lines seen, the stop trapped, and the query model
// written as "querymodel.DMP" in the directory. start() opens it through USTRT2 as a host
// does; everything the session set up is released afterwards.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "../runtime/settingsfixture.h"
#include "geometry/geodsp.h"
#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/corsto.h"
#include "modeldb/dbdump.h"
#include "modeldb/dbhead.h"
#include "modeldb/entrec.h"
#include "modelquery/elemown.h"
#include "modelquery/queries.h"
#include "modelquery/session.h"
#include "modelquery/setqry.h"
#include "platform/unitio.h"
#include "querymodel.h"
#include "runtime/chrset.h"
#include "runtime/dspsta.h"
#include "runtime/geosta.h"
#include "runtime/gridmd.h"
#include "runtime/hostcb.h"
#include "runtime/idpack.h"
#include "runtime/modcnt.h"
#include "runtime/msgarg.h"
#include "runtime/reghed.h"
#include "runtime/startup.h"
#include "runtime/sysini.h"
#include "testsupport.h"

namespace kvr::test {

// The lines handed to the message unit's writers (the message hook's are left out).
inline std::vector<std::string> gLines;

class QuerySession : public SettingsFixture {
 protected:
  using Words = std::vector<int32_t>;
  static constexpr int32_t kN = QueryModel::kAllNodes;

  void SetUp() override {
    SettingsFixture::SetUp();
    reset();
    scriptStandardInput(dir.file("console.in"), "");
    const int fd = ::open(dir.file("stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    io::redirectStandardUnit(io::kStdoutUnit, fd);
    ::close(fd);
    model = writeQueryModel(dir.file("querymodel"));
    ASSERT_FALSE(model.empty());
    reset();
    gLines.clear();
    setLineWriterObserver([](LineWriter writer, int32_t, FText text) {
      if (writer != LineWriter::HCMSG) gLines.push_back(text.trimmed());
    });
  }

  void TearDown() override {
    setLineWriterObserver(nullptr);
    setEntityLabelReader(nullptr);
    setDatabaseDumper(nullptr);
    io::closeAllUnits();
    io::redirectStandardUnit(io::kStdinUnit, -1);
    io::redirectStandardUnit(io::kStdoutUnit, -1);
    reset();
    SettingsFixture::TearDown();
  }

  static void reset() {
    CoreFreeFile(-1);
    REGHED = {};
    ARRDSC = {};
    APPSTA = {};
    MODCNT = {};
    MODSTA = {};
    GEOSTA = {};
    DBHEAD = {};
    MDLFIL = {};
    DSPSTA = {};
    MSGARG = {};
    DSCDSP = {};
    GEODSP = {};
    resetOwnerCache();
    SESCNT = {};
    SETCNT = {};
    ENTBUF = {};
    IDPACK = {};
    gApplicationMode = 0;
  }

  // USTRT2 on NAME with a work array of SIZE words; answers the status.
  static int32_t open(const std::string& name, int32_t size) {
    FixedText text(kUSTRT2NameLength, name);
    std::vector<int32_t> work(static_cast<size_t>(std::max(size, 0)), -7);
    int32_t status = -1;
    USTRT2(text, work, size, status);
    return status;
  }
  // The query model as CHANGE leaves it, written as STEM + ".DMP" in the directory; the
  // store is released again. Answers the file's name.
  template <class Change>
  std::string variant(const std::string& stem, Change change) {
    SYSINI();
    CHRSET();
    MDLCON();
    DSPRST(1, 0);
    buildQueryModel();
    change();
    MDLFIL.text().assign(dir.file(stem));
    EXPECT_EQ(DBDUMP(0), 0);
    reset();
    return dir.file(stem) + ".DMP";
  }

  // Word K (from 1) of file PATH set to VALUE, little-endian.
  static void setFileWord(const std::string& path, int32_t k, int32_t value) {
    std::string bytes = readFile(path);
    for (int b = 0; b < 4; ++b) {
      bytes[static_cast<size_t>(4 * (k - 1) + b)] =
          static_cast<char>((static_cast<uint32_t>(value) >> (8 * b)) & 0xFF);
    }
    writeFile(path, bytes);
  }

  // The query model opened with room for its session data.
  void start() { ASSERT_EQ(open(model, 2 * kN), 0); }

  // Record R of the node-condition array.
  static Words nodeRecord(int32_t r) {
    Words w(kNodeConditionWords);
    int32_t stat = 0;
    ARRIO(1, kArrNodeConditions, r, 1, -1, w, {}, stat);
    return w;
  }

  // The REAL values of entry (TYPE, ID).
  static std::vector<float> values(int32_t type, int32_t id, int32_t n) {
    std::vector<float> v(static_cast<size_t>(n));
    int32_t count = n;
    ATTVLR(1, type, id, 1, count, v);
    return v;
  }

  std::string model;
};

}  // namespace kvr::test
