// The fixture of the kernel routines that evaluate model lines and classify surfaces: the
// query model built into the full model registry after the reading road's start-up
// constants, with the entity labels and the query entries of the kernel installed, the
// model size 10 and the tolerance 0.001. A test adds the points, lines, surfaces, shapes
// and geometry records it needs, numbered 81 to 100 (nodes 81 to 100 for the stored points
// of polylines), and may read the messages it posts in MSGARG.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "geometry/curent.h"
#include "geometry/geodsp.h"
#include "geometry/georec.h"
#include "geometry/linevl.h"
#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/corsto.h"
#include "modeldb/elttab.h"
#include "modeldb/entrec.h"
#include "modelquery/session.h"
#include "querymodel.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/geosta.h"
#include "runtime/machcn.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/msgarg.h"
#include "runtime/reghed.h"
#include "runtime/startup.h"
#include "runtime/sysini.h"
#include "testsupport.h"

namespace kvr::test {

class LineModel : public ::testing::Test {
 protected:
  using V = std::array<float, 3>;
  using Words = std::initializer_list<std::pair<int32_t, int32_t>>;

  static constexpr int32_t kArrPointNames = 1;
  static constexpr int32_t kArrLineNames = 3;
  static constexpr int32_t kArrSurfaceNames = 5;
  static constexpr int32_t kArrShapeNames = 9;

  void SetUp() override {
    savedMachine_ = MACHCN;
    savedGeometry_ = GEOCON;
    savedModel_ = MODCON;
    SYSINI();
    CHRSET();
    MDLCON();
    buildQueryModel();
    installEntityLabels();
    installNodeQueries();
    GEOSTA = {};
    GEOSTA.setReal(kGeoModelSize, 10.0f);
    GEOSTA.setReal(kGeoModelTolerance, 0.001f);
    MSGARG = {};
    CURTAB = {};
  }
  void TearDown() override {
    setArcLengthSearch(nullptr);
    setEntityLabelReader(nullptr);
    GEODSP = {};
    DSCDSP = {};
    GEOSTA = {};
    MSGARG = {};
    CoreFreeFile(-1);
    REGHED = {};
    MODCNT = {};
    MACHCN = savedMachine_;
    GEOCON = savedGeometry_;
    MODCON = savedModel_;
  }

  static void putInts(int32_t k, int32_t first, std::vector<int32_t> w) {
    int32_t stat = 0;
    const auto n = static_cast<int32_t>(w.size()) / REGHED.ARRWID(k);
    ARRIO(-1, k, first, n, -1, w, {}, stat);
  }
  static void putReals(int32_t k, int32_t first, std::vector<float> r) {
    int32_t stat = 0;
    const auto n = static_cast<int32_t>(r.size()) / REGHED.ARRWID(k);
    ARRIO(-1, k, first, n, 1, {}, r, stat);
  }
  static std::vector<int32_t> record(int32_t width, Words words) {
    std::vector<int32_t> r(static_cast<size_t>(width), 0);
    for (auto [k, v] : words) r[static_cast<size_t>(k - 1)] = v;
    return r;
  }
  static void putName(int32_t k, int32_t id, const std::string& name) {
    const std::string padded = (name + "        ").substr(0, 8);
    putInts(k, id, {a4Word(padded.substr(0, 4)), a4Word(padded.substr(4))});
  }
  // The bits of a REAL, for the line words that hold one.
  static int32_t bits(float r) { return std::bit_cast<int32_t>(r); }

  // Point ID named "P<ID>" at XYZ.
  static int32_t point(int32_t id, V xyz) {
    putInts(kArrPoints, (id - 1) * kPointWords + 1, record(kPointWords, {}));
    putName(kArrPointNames, id, "P" + std::to_string(id));
    putReals(kArrGeoPoints, id, {xyz[0], xyz[1], xyz[2]});
    MODCNT.word(kCntPoints) = std::max(MODCNT.word(kCntPoints), id);
    return id;
  }
  // Line ID named NAME (or "L<ID>") with the given words.
  static int32_t line(int32_t id, Words words, const std::string& name = {}) {
    putInts(kArrLines, (id - 1) * kLineWords + 1, record(kLineWords, words));
    putName(kArrLineNames, id, name.empty() ? "L" + std::to_string(id) : name);
    MODCNT.word(kCntLines) = std::max(MODCNT.word(kCntLines), id);
    return id;
  }
  static int32_t straight(int32_t id, int32_t from, int32_t to) {
    return line(id, {{2, from}, {3, to}, {7, 100}});
  }
  // The unit square at z = 0: points FIRST..FIRST + 3 counter-clockwise from the origin
  // and the straight lines FIRST..FIRST + 3 around it in loop order.
  static void unitSquare(int32_t first) {
    point(first, {0, 0, 0});
    point(first + 1, {1, 0, 0});
    point(first + 2, {1, 1, 0});
    point(first + 3, {0, 1, 0});
    for (int32_t k = 0; k < 4; ++k) straight(first + k, first + k, first + (k + 1) % 4);
  }
  static int32_t arc(int32_t id, int32_t from, int32_t to, int32_t centre) {
    return line(id, {{2, from}, {3, to}, {6, centre}, {7, 200}});
  }
  // A composite line of the MEMBERS (at most four).
  static int32_t composite(int32_t id, std::vector<int32_t> members, int32_t from, int32_t to) {
    std::vector<std::pair<int32_t, int32_t>> w = {
        {2, from}, {3, to}, {6, static_cast<int32_t>(members.size())}, {7, 900}};
    for (size_t i = 0; i < members.size(); ++i) w.emplace_back(8 + static_cast<int32_t>(i), members[i]);
    std::vector<int32_t> r(kLineWords, 0);
    for (auto [k, v] : w) r[static_cast<size_t>(k - 1)] = v;
    putInts(kArrLines, (id - 1) * kLineWords + 1, r);
    putName(kArrLineNames, id, "C" + std::to_string(id));
    MODCNT.word(kCntLines) = std::max(MODCNT.word(kCntLines), id);
    return id;
  }
  // Surface ID of TYPE bounded by the four LINES.
  static int32_t surface(int32_t id, int32_t type, std::array<int32_t, 4> lines) {
    putInts(kArrSurfaces, (id - 1) * kSurfaceWords + 1,
            record(kSurfaceWords,
                   {{2, lines[0]}, {3, lines[1]}, {4, lines[2]}, {5, lines[3]}, {6, type * 100}}));
    putName(kArrSurfaceNames, id, "S" + std::to_string(id));
    MODCNT.word(kCntSurfaces) = std::max(MODCNT.word(kCntSurfaces), id);
    return id;
  }
  // GEOREC (or shape) record ID with the given words (number, value), the others 0.
  static void geoRecord(int32_t id, std::initializer_list<std::pair<int32_t, float>> words) {
    std::vector<float> rec(kGeoRecordWords, 0.0f);
    for (auto [k, v] : words) rec[static_cast<size_t>(k - 1)] = v;
    putReals(kArrGeoRecords, (id - 1) * kGeoRecordWords + 1, rec);
  }
  // Shape ID of TYPE (a record of array 10 with its name), the kind-6 count raised to it.
  static void shape(int32_t id, int32_t type, std::initializer_list<std::pair<int32_t, float>> words) {
    std::vector<float> rec(kGeoRecordWords, 0.0f);
    rec[1] = static_cast<float>(type) + 0.001f;
    for (auto [k, v] : words) rec[static_cast<size_t>(k - 1)] = v;
    putReals(kArrGeoRecords, (id - 1) * kGeoRecordWords + 1, rec);
    putName(kArrShapeNames, id, "SH" + std::to_string(id));
    MODCNT.word(kCntShapes) = std::max(MODCNT.word(kCntShapes), id);
  }

 private:
  MachCn savedMachine_;
  decltype(GEOCON) savedGeometry_;
  decltype(MODCON) savedModel_;
};

}  // namespace kvr::test
