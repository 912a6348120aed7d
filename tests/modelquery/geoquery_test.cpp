// The line, surface and body queries and the line length on the query model: its lines,
// surface and body of numbers 61 on, and further records written into the loaded model by
// each test (numbers 64 to 80), with the model size 10 and the tolerance 0.001.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "geometry/georec.h"
#include "geometry/linegeo.h"
#include "kvr7dbio.h"
#include "modeldb/elttab.h"
#include "modeldb/linrec.h"
#include "modelquery/linlen.h"
#include "queryfixture.h"
#include "runtime/codtxt.h"
#include "runtime/modcon.h"

namespace kvr::test {
namespace {

using Desc = std::array<int32_t, 16>;
using WordList = std::vector<std::pair<int32_t, int32_t>>;
constexpr int32_t kUnset = -7;
constexpr float kUnsetLength = -7.5f;
constexpr int32_t kOff = QueryModel::kElementOffset;

struct LineAnswer {
  std::string name;
  Desc desc;
  float length = kUnsetLength;
  int32_t status = -1;
};

class GeoQuery : public QuerySession {
 protected:
  void SetUp() override {
    QuerySession::SetUp();
    start();
    GEOSTA.setReal(kGeoModelSize, 10.0f);
    GEOSTA.setReal(kGeoModelTolerance, 0.001f);
  }

  static void put(int32_t k, int32_t first, std::vector<int32_t> w) {
    int32_t stat = 0;
    const auto n = static_cast<int32_t>(w.size()) / REGHED.ARRWID(k);
    ARRIO(-1, k, first, n, -1, w, {}, stat);
  }
  static void putReals(int32_t k, int32_t first, std::vector<float> r) {
    int32_t stat = 0;
    const auto n = static_cast<int32_t>(r.size()) / REGHED.ARRWID(k);
    ARRIO(-1, k, first, n, 1, {}, r, stat);
  }
  static std::vector<int32_t> record(int32_t width, const WordList& words) {
    std::vector<int32_t> r(static_cast<size_t>(width), 0);
    for (auto [k, v] : words) r[static_cast<size_t>(k - 1)] = v;
    return r;
  }
  static void putName(int32_t k, int32_t id, const std::string& name) {
    const std::string padded = (name + "        ").substr(0, 8);
    put(k, id, {a4Word(padded.substr(0, 4)), a4Word(padded.substr(4))});
  }
  // Line ID (64..80) with the given words; the line count raised to it.
  static void putLine(int32_t id, const WordList& words) {
    put(kArrLines, (id - 1) * kLineWords + 1, record(kLineWords, words));
    putName(3, id, "T" + std::to_string(id));
    MODCNT.word(kCntLines) = std::max(MODCNT.word(kCntLines), id);
  }
  static void putPoint(int32_t id, float x, float y, float z) {
    putReals(kArrGeoPoints, id, {x, y, z});
    MODCNT.word(kCntPoints) = std::max(MODCNT.word(kCntPoints), id);
  }
  static void putGeoRecord(int32_t id, std::initializer_list<std::pair<int32_t, float>> words) {
    std::vector<float> rec(kGeoRecordWords, 0.0f);
    for (auto [k, v] : words) rec[static_cast<size_t>(k - 1)] = v;
    putReals(kArrGeoRecords, (id - 1) * kGeoRecordWords + 1, rec);
  }
  static int32_t lineWord1(int32_t id) { return LNG01(id); }

  static LineAnswer uline(int32_t number, bool three = false) {
    LineAnswer a;
    a.desc.fill(kUnset);
    char name[8];
    std::fill(name, name + 8, '#');
    int32_t n = number;
    if (three) {
      std::array<int32_t, 36> wide{};
      wide.fill(kUnset);
      dll_uline3(&n, name, wide.data(), &a.length, &a.status);
      std::copy(wide.begin(), wide.begin() + 16, a.desc.begin());
      gWide = wide;
    } else {
      dll_uline2(&n, name, a.desc.data(), &a.length, &a.status);
    }
    a.name.assign(name, 8);
    return a;
  }
  static std::pair<int32_t, float> linlen(int32_t line) {
    float length = kUnsetLength;
    int32_t status = -1;
    LINLEN(line, length, status);
    return {status, length};
  }
  static inline std::array<int32_t, 36> gWide{};
};

TEST_F(GeoQuery, TheFixturesStraightLineAndArc) {
  LineAnswer a = uline(QueryModel::kStraight);
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.name, "STRAIGHT");
  EXPECT_EQ(a.desc, (Desc{0, 63, 61, 2, 0, 0, 0, kOff, kOff, 0, 0, 0, 0, 1, 0, 0}));
  EXPECT_FLOAT_EQ(a.length, 1.0f);
  EXPECT_EQ(lineWord1(QueryModel::kStraight), 3276);  // 1 / 10 x 32767

  a = uline(QueryModel::kArc);
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.name, "ARC     ");
  EXPECT_EQ(a.desc, (Desc{0, 61, 62, 3, 0, 63, 0, kOff, kOff, 0, 0, 0, 0, 2, 0, 0}));
  EXPECT_NEAR(a.length, 1.5707964f, 1.5707964f * 1.0e-5f);
  EXPECT_EQ(lineWord1(QueryModel::kArc), 5147);

  // ULINE3 answers a line that is not composite as ULINE2 does.
  a = uline(QueryModel::kArc, true);
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.desc, (Desc{0, 61, 62, 3, 0, 63, 0, kOff, kOff, 0, 0, 0, 0, 2, 0, 0}));
  EXPECT_EQ(gWide[16], kUnset);
}

TEST_F(GeoQuery, CompositeLinesStopAfterTheirType) {
  LineAnswer a = uline(QueryModel::kComposite);
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.name, "COMP    ");
  EXPECT_EQ(a.desc, (Desc{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, kUnset, kUnset}));
  EXPECT_EQ(a.length, kUnsetLength);

  a = uline(QueryModel::kComposite, true);
  EXPECT_EQ(a.status, 0);
  // Position 4 the divisions of the members (2 + 3), 6 their count, 17 on the members.
  EXPECT_EQ(a.desc, (Desc{0, 0, 0, 5, 0, 2, 0, 0, 0, 0, 0, 0, 0, 9, kUnset, kUnset}));
  EXPECT_EQ(gWide[16], QueryModel::kStraight);
  EXPECT_EQ(gWide[17], QueryModel::kArc);
  EXPECT_EQ(gWide[18], kUnset);
  EXPECT_EQ(a.length, kUnsetLength);

  // A composite of six members (three in the record, the rest in the value list).
  int32_t list = 0;
  int32_t stat = 0;
  ARRALC(kArrIntegerValues, 3, list, stat);
  put(kArrIntegerValues, list, {QueryModel::kArc, QueryModel::kStraight, 1});
  putLine(64, {{6, 6}, {7, 900}, {8, 1}, {9, 2}, {10, QueryModel::kStraight}, {11, list}});
  a = uline(64, true);
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.desc[5], 6);
  // Divisions 1 + 1 + 2 + 3 + 2 + 1.
  EXPECT_EQ(a.desc[3], 10);
  EXPECT_EQ(std::vector<int32_t>(gWide.begin() + 16, gWide.begin() + 23),
            (std::vector<int32_t>{1, 2, QueryModel::kStraight, QueryModel::kArc,
                                  QueryModel::kStraight, 1, kUnset}));
}

TEST_F(GeoQuery, DescriptionPositionsByLineType) {
  const int32_t m = IDPACK.modulus;
  ASSERT_GT(m, 0);
  const int32_t half = std::bit_cast<int32_t>(0.5f);
  // Word 4 = -(100 x 1 + 7): 7 divisions; meshed by elements 2-3; system 2 with flag 5;
  // material 3, property 4; group 7 with units part 5.
  const WordList common = {{2, 63}, {3, 61}, {4, -107}, {8, 2}, {9, 3}, {10, 25},
                           {11, 3 * m + 4}, {12, 705}};
  struct Case {
    int32_t word7, word5, word6, word15;
    int32_t p4, p5, p6, p14, p15;
  };
  const Case cases[] = {
      {103, 0, 0, 0, 7, 0, 0, 1, 3},            // straight: no type words
      {204, 0, 63, 0, 7, 0, 63, 2, 4},          // arc: axis point, centre
      {305, 11, 12, 0, 7, 11, 12, 3, 5},        //
      {406, 13, 14, 0, 7, 13, 14, 4, 6},        // first and last node
      {507, 9, 8, 0, 7, 9, 0, 5, 7},            //
      {608, half, 0, 66, half, 66, 0, 6, 8},    // the REAL bits of word 5
      {9901, 5, 6, 0, 7, 0, 0, 99, 1},          //
      {1001, 5, 6, 0, 7, 0, 0, 0, 1},           // type 10 is no line type
  };
  for (const Case& c : cases) {
    WordList w = common;
    w.insert(w.end(), {{7, c.word7}, {5, c.word5}, {6, c.word6}, {15, c.word15}});
    putLine(64, w);
    const LineAnswer a = uline(64);
    EXPECT_EQ(a.desc, (Desc{0, 63, 61, c.p4, c.p5, c.p6, 0, kOff + 2, kOff + 3, 2, 3, 4, 7, c.p14,
                            c.p15, 5}))
        << c.word7;
    EXPECT_EQ(a.name, "T64     ");
    // ULINE3 keeps the divisions in position 4 for type 6.
    EXPECT_EQ(uline(64, true).desc[3], 7) << c.word7;
  }
}

TEST_F(GeoQuery, LengthsByLineType) {
  putPoint(64, 2, 0, 0);       // on the ellipse of semi-axes 2 and 1 about the origin
  putPoint(65, 0, 2, 0);       // radius 2
  putPoint(66, 5, 0, 0);       // on the ellipse's first axis
  putPoint(67, 1.0005f, 0, 0);  // 0.0005 from Q1
  putPoint(68, 2, 0.5f, 0);
  putPoint(69, -2, 0.5f, 0);   // level with 68 across the centre
  // Stored points of a type-3 line: a header giving n = 3 and the two points between.
  int32_t c = 0;
  int32_t stat = 0;
  ARRALC(kArrGeoLinePoints, 3, c, stat);
  putReals(kArrGeoLinePoints, c, {0, -103.0f, 0, 0, 1, 0, 1, 1, 0});
  const int32_t q0 = QueryModel::kQ0, q1 = QueryModel::kQ1, q2 = QueryModel::kQ2;
  const float pi = std::numbers::pi_v<float>;
  struct Case {
    const char* what;
    WordList words;
    int32_t status;
    float length;
    float tolerance = 1.0e-5f;
  };
  const Case cases[] = {
      {"straight", {{2, q0}, {3, 67}, {7, 100}}, 0, 1.0005f},
      {"negative end stored", {{2, -q0}, {3, q1}, {7, 100}}, 0, 1.0f},
      {"spiral", {{2, q1}, {3, 65}, {6, q0}, {7, 200}}, 0, 2.566043f},
      {"half turn", {{2, q1}, {3, 64}, {6, 67}, {7, 200}}, 4, 1.0f},  // centre on the chord
      {"ellipse", {{2, 64}, {3, q2}, {5, 66}, {6, q0}, {7, 200}}, 0, 2.4221121f, 1.0e-4f},
      {"stored points", {{2, q0}, {3, q1}, {7, 300}, {15, c}}, 0, 3.0f},
      {"type 5 without points", {{2, q0}, {3, q2}, {7, 500}}, 0, 1.0f},
      {"nodes 13-14", {{2, q0}, {3, q1}, {5, 13}, {6, 14}, {7, 400}}, 0, 7.0f},
      {"nodes reversed", {{2, q0}, {3, 65}, {5, 14}, {6, 13}, {7, 400}}, 0, 2.0f},
      {"type 7", {{2, q0}, {3, 68}, {7, 700}}, 0, std::hypot(2.0f, 0.5f)},
      {"type 8", {{2, q1}, {3, q2}, {7, 812}}, 0, std::sqrt(2.0f)},
      {"shorter than the tolerance", {{2, q1}, {3, 67}, {7, 100}}, 3, 0.0005f, 1.0e-3f},
      {"type 99", {{2, q0}, {3, q1}, {7, 9900}}, 5, 0.0f},
      {"type 0", {{2, q0}, {3, q1}, {7, 12}}, 5, 0.0f},
      {"end point outside", {{2, q0}, {3, 1 << 30}, {7, 100}}, 5, 0.0f},
      {"end point 0", {{2, 0}, {3, q1}, {7, 100}}, 5, 0.0f},
      // Chord fallbacks (status 4).
      {"centre on an end", {{2, q0}, {3, q1}, {6, q0}, {7, 200}}, 4, 1.0f},
      {"centre outside", {{2, q1}, {3, q2}, {6, 1 << 30}, {7, 200}}, 4, std::sqrt(2.0f)},
      {"axis point outside", {{2, 64}, {3, q2}, {5, 1 << 30}, {6, q0}, {7, 200}}, 4,
       std::sqrt(5.0f)},
      {"circle with an axis point", {{2, q1}, {3, q2}, {5, 66}, {6, q0}, {7, 200}}, 0,
       pi / 2},
      {"ellipse undetermined", {{2, 68}, {3, 69}, {5, 66}, {6, q0}, {7, 200}}, 4, 4.0f},
      {"axis point at the centre", {{2, 64}, {3, q2}, {5, q0}, {6, q0}, {7, 200}}, 4,
       std::sqrt(5.0f)},
      {"stored points outside", {{2, q0}, {3, q1}, {7, 500}, {15, 1 << 30}}, 4, 1.0f},
      {"nodes beyond the highest",
       {{2, q0}, {3, q1}, {5, 13}, {6, QueryModel::kAllNodes + 1}, {7, 400}}, 4, 1.0f},
      {"node 0", {{2, q0}, {3, q1}, {5, 0}, {6, 2}, {7, 400}}, 4, 1.0f},
  };
  for (const Case& k : cases) {
    putLine(70, k.words);
    put(kArrLines, 69 * kLineWords + 1, {-5});  // word 1
    const LineAnswer a = uline(70);
    EXPECT_EQ(a.status, k.status) << k.what;
    EXPECT_NEAR(a.length, k.length, k.tolerance * std::max(1.0f, k.length)) << k.what;
    const auto [s, l] = linlen(70);
    EXPECT_EQ(s, a.status == 0 ? 0 : a.status - 2) << k.what;
    EXPECT_EQ(l, a.length) << k.what;
    // The length code only when the length was measured and long enough.
    const int32_t code = a.status == 0 ? static_cast<int32_t>(a.length / 10.0f * 32767.0f) : -5;
    EXPECT_NEAR(lineWord1(70), code, 1) << k.what;
  }
}

TEST_F(GeoQuery, LengthCodeNeedsAModelSize) {
  for (float size : {0.0f, -1.0f, 1.0e-33f}) {
    GEOSTA.setReal(kGeoModelSize, size);
    put(kArrLines, (QueryModel::kArc - 1) * kLineWords + 1, {-5});
    const LineAnswer a = uline(QueryModel::kArc);
    EXPECT_EQ(a.status, 0) << size;
    EXPECT_NEAR(a.length, 1.5707964f, 1.0e-5f) << size;
    EXPECT_EQ(lineWord1(QueryModel::kArc), -5) << size;
  }
  // A huge ratio is held to the largest code.
  GEOSTA.setReal(kGeoModelSize, 1.0e-30f);
  (void)uline(QueryModel::kArc);
  EXPECT_EQ(lineWord1(QueryModel::kArc), 2147483647);
}

TEST_F(GeoQuery, CurvesOnGeometryRecords) {
  const int32_t q0 = QueryModel::kQ0, q1 = QueryModel::kQ1;
  const auto bits = [](float v) { return std::bit_cast<int32_t>(v); };
  // 71: straight along x; 72: code 113 (type 3 by its last digit, 13 by its last two),
  // wrapping; 73: code 111; 74: a spline whose control points lie outside the store;
  // 75: class 2.
  putGeoRecord(71, {{2, 101.001f}, {6, 1}});
  putGeoRecord(72, {{2, 113.001f}, {18, 301.001f}});
  putGeoRecord(73, {{2, 111.001f}, {6, 1}});
  putGeoRecord(74, {{1, 1.0e9f}, {2, 105.001f}, {3, 1.001f}, {4, 1.001f}, {6, 0}, {7, 1}});
  putGeoRecord(75, {{2, 201.001f}, {6, 1}});
  const int32_t beyond = REGHED.ARRLEN(kArrGeoRecords) / kGeoRecordWords + 1;
  struct Case {
    const char* what;
    int32_t record, branch;
    float t0, t1;
    int32_t a, b;  // the line's end points
    int32_t status;
    float length;
  };
  const Case cases[] = {
      {"forward", 71, 1, 0.0f, 1.0f, q0, q1, 0, 1.0f},
      {"part of the range", 71, 1, 0.5f, 1.0f, q0, q1, 0, 1.0f},  // Q0, 0.55 .. 0.95, Q1
      {"backward", 71, -1, 1.0f, 0.0f, q1, q0, 0, 1.0f},
      {"forward the wrong way", 71, 1, 1.0f, 0.0f, q0, q1, 4, 1.0f},
      {"backward the wrong way", 71, -2, 0.0f, 1.0f, q0, q1, 4, 1.0f},
      // Wrapping is allowed, but the line geometry knows no type 13: no length.
      {"wrapping on type 13", 72, 1, 0.75f, 0.25f, q0, q1, 3, 0.0f},
      {"type 11", 73, 1, 0.0f, 1.0f, q0, q1, 3, 0.0f},
      {"record outside", beyond, 1, 0.0f, 1.0f, q0, q1, 4, 1.0f},
      {"control points outside", 74, 1, 0.0f, 1.0f, q0, q1, 4, 1.0f},
      {"class 2", 75, 1, 0.0f, 1.0f, q0, q1, 4, 1.0f},
  };
  for (const Case& c : cases) {
    putLine(71, {{2, c.a}, {3, c.b}, {4, 4}, {5, bits(c.t0)}, {6, bits(c.t1)}, {7, 600},
                 {15, c.record}, {16, c.branch}});
    const LineAnswer a = uline(71);
    EXPECT_EQ(a.status, c.status) << c.what;
    EXPECT_NEAR(a.length, c.length, 1.0e-5f) << c.what;
    EXPECT_EQ(a.desc[3], bits(c.t0)) << c.what;
    EXPECT_EQ(a.desc[4], c.record) << c.what;
    EXPECT_EQ(a.desc[13], 6) << c.what;
    const LineAnswer b = uline(71, true);
    EXPECT_EQ(b.desc[3], 4) << c.what;
    EXPECT_EQ(b.status, c.status) << c.what;
  }
}

TEST_F(GeoQuery, ClosedIntersectionCurvesWrap) {
  // The circle of radius 4 in which the plane z = 0 cuts the sphere of radius 5 about
  // (0, 0, 3): shapes 76 and 77; line definitions 78 (closed: word 18 above 300) and 79.
  putPoint(76, 0, 0, 3);
  putGeoRecord(76, {{2, 11.001f}, {5, 1}});
  putGeoRecord(77, {{2, 2.001f}, {3, 76.001f}, {4, 5}});
  putGeoRecord(78, {{2, 103.001f}, {18, 301.001f}, {19, 7600.001f}, {20, 7700.001f}});
  putGeoRecord(79, {{2, 103.001f}, {18, 300.001f}, {19, 7600.001f}, {20, 7700.001f}});
  // The line's ends: the curve at 0.75 and at 0.25, half a turn apart.
  std::array<float, 3> a{}, b{};
  int32_t status = -1;
  LINDEF(0.75f, 1, 78, a, status);
  ASSERT_EQ(status, 0);
  LINDEF(0.25f, 1, 78, b, status);
  ASSERT_EQ(status, 0);
  putPoint(77, a[0], a[1], a[2]);
  putPoint(78, b[0], b[1], b[2]);
  const auto bits = [](float v) { return std::bit_cast<int32_t>(v); };
  // Forward from 0.75 over 0 to 0.25: ten chords of a half circle of radius 4.
  putLine(72, {{2, 77}, {3, 78}, {5, bits(0.75f)}, {6, bits(0.25f)}, {7, 600}, {15, 78},
               {16, 1}});
  LineAnswer l = uline(72);
  EXPECT_EQ(l.status, 0);
  EXPECT_NEAR(l.length, 80.0f * std::sin(std::numbers::pi_v<float> / 20), 1.0e-4f);
  // Backward from 0.25 over 0 to 0.75 the same.
  putLine(72, {{2, 78}, {3, 77}, {5, bits(0.25f)}, {6, bits(0.75f)}, {7, 600}, {15, 78},
               {16, -1}});
  l = uline(72);
  EXPECT_EQ(l.status, 0);
  EXPECT_NEAR(l.length, 80.0f * std::sin(std::numbers::pi_v<float> / 20), 1.0e-4f);
  // Word 18 of 300 does not close the curve: the chord.
  putLine(72, {{2, 77}, {3, 78}, {5, bits(0.75f)}, {6, bits(0.25f)}, {7, 600}, {15, 79},
               {16, 1}});
  l = uline(72);
  EXPECT_EQ(l.status, 4);
  EXPECT_NEAR(l.length, 8.0f, 1.0e-4f);
}

TEST_F(GeoQuery, LinesOutOfRangeOrMissing) {
  MODCNT.word(kCntDelLines) = 1;
  putLine(72, {{2, 61}, {3, 62}, {7, 100}});
  put(3, 72, {MODCON.word(kModDeletedMarker), kBlankCode});
  for (const auto& [n, want] : {std::pair{72, 2}, {0, 1}, {-3, 1}, {999, 1}}) {
    for (bool three : {false, true}) {
      const LineAnswer a = uline(n, three);
      EXPECT_EQ(a.status, want) << n;
      EXPECT_EQ(a.name, "########") << n;
      EXPECT_TRUE(std::all_of(a.desc.begin(), a.desc.end(), [](int32_t v) { return v == kUnset; }))
          << n;
      EXPECT_EQ(a.length, kUnsetLength) << n;
    }
  }
}

class EntityQuery : public GeoQuery {
 protected:
  static std::pair<int32_t, Desc> usurf(int32_t number, std::string* name = nullptr) {
    Desc d;
    d.fill(kUnset);
    char text[8];
    std::fill(text, text + 8, '#');
    int32_t n = number;
    int32_t status = -1;
    dll_usurf2(&n, text, d.data(), &status);
    if (name != nullptr) name->assign(text, 8);
    return {status, d};
  }
  static std::pair<int32_t, Desc> ubody(int32_t number, std::string* name = nullptr) {
    Desc d;
    d.fill(kUnset);
    char text[8];
    std::fill(text, text + 8, '#');
    int32_t n = number;
    int32_t status = -1;
    dll_ubody2(&n, text, d.data(), &status);
    if (name != nullptr) name->assign(text, 8);
    return {status, d};
  }
  static void putSurface(int32_t id, WordList words) {
    put(kArrSurfaces, (id - 1) * kSurfaceWords + 1, record(kSurfaceWords, words));
    MODCNT.word(kCntSurfaces) = std::max(MODCNT.word(kCntSurfaces), id);
  }
  static void putBody(int32_t id, WordList words) {
    put(kArrBodies, (id - 1) * kBodyWords + 1, record(kBodyWords, words));
    MODCNT.word(kCntBodies) = std::max(MODCNT.word(kCntBodies), id);
  }
};

TEST_F(EntityQuery, TheFixturesSurfaceAndBody) {
  std::string name;
  auto [status, d] = usurf(QueryModel::kPlainSurface, &name);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(name, "SQ      ");
  EXPECT_EQ(d, (Desc{0, 61, 62, 61, 0, 0, 0, kOff, kOff, 0, 0, 0, 0, 1, 0, 0}));
  std::tie(status, d) = ubody(QueryModel::kPlainBody, &name);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(name, "BQ      ");
  EXPECT_EQ(d, (Desc{1, 61, 0, 0, 0, 0, 0, kOff, kOff, 0, 0, 0, 0, 1, 0, 0}));
}

TEST_F(EntityQuery, SurfacePositions) {
  const int32_t m = IDPACK.modulus;
  struct Case {
    int32_t word2, word6;
    int32_t p2, p6, p14, p15;
  };
  const Case cases[] = {
      {-3, 30705, -2, 3, 7, 7},   // type 7: position 2 one step toward zero
      {0, 30705, 0, 3, 7, 7},
      {4, 600, 3, 0, 6, 0},       // type 6, no element-type code
      {-3, 505, -3, 0, 5, 7},     // type 5 keeps its word 2
      {9, 9905, 8, 0, 99, 7},
  };
  for (const Case& c : cases) {
    putSurface(64, {{1, 11}, {2, c.word2}, {3, 13}, {4, 14}, {5, 15}, {6, c.word6}, {7, 4},
                    {8, 6}, {9, 31}, {10, 1203}, {11, 6 * m + 8}, {12, 77}});
    const auto [status, d] = usurf(64);
    EXPECT_EQ(status, 0) << c.word6;
    EXPECT_EQ(d, (Desc{11, c.p2, 13, 14, 15, c.p6, 77, kOff + 4, kOff + 6, 3, 6, 8, 12, c.p14,
                       c.p15, 3}))
        << c.word2 << " " << c.word6;
  }
  // Unmeshed: positions 8 and 9 hold the offset.
  putSurface(64, {{6, 100}});
  EXPECT_EQ(usurf(64).second, (Desc{0, 0, 0, 0, 0, 0, 0, kOff, kOff, 0, 0, 0, 0, 1, 0, 0}));
}

TEST_F(EntityQuery, BodyPositions) {
  const int32_t m = IDPACK.modulus;
  struct Case {
    int32_t type, word4, word8;
    int32_t p4, p15;
  };
  const Case cases[] = {
      {4, -5, 1207, -4, 17}, {5, 6, 1207, 5, 17}, {4, 0, 1207, 0, 17},
      {1, -5, 1200, -5, 0},  {3, 2, 1, 2, 11},
  };
  for (const Case& c : cases) {
    putBody(64, {{1, c.type}, {2, 21}, {3, 22}, {4, c.word4}, {5, 23}, {6, 24}, {7, 25},
                 {8, c.word8}, {9, 1}, {10, 2}, {11, 99}, {12, 6 * m + 7}, {13, 405},
                 {14, 83}, {15, 98}});
    const auto [status, d] = ubody(64);
    EXPECT_EQ(status, 0) << c.type;
    EXPECT_EQ(d, (Desc{c.type, 21, 22, c.p4, 23, 24, 25, kOff + 1, kOff + 2, 8, 6, 7, 4, c.type,
                       c.p15, 5}))
        << c.type << " " << c.word4;
  }
}

TEST_F(EntityQuery, OutOfRangeOrMissing) {
  MODCNT.word(kCntDelSurfaces) = 1;
  MODCNT.word(kCntDelBodies) = 1;
  putSurface(64, {{6, 100}});
  putBody(64, {{1, 1}});
  put(5, 64, {MODCON.word(kModDeletedMarker), kBlankCode});
  put(7, 64, {MODCON.word(kModDeletedMarker), kBlankCode});
  for (const auto& [n, want] : {std::pair{64, 2}, {0, 1}, {999, 1}, {-1, 1}}) {
    std::string name;
    auto [status, d] = usurf(n, &name);
    EXPECT_EQ(status, want) << n;
    EXPECT_EQ(name, "########") << n;
    EXPECT_TRUE(std::all_of(d.begin(), d.end(), [](int32_t v) { return v == kUnset; })) << n;
    std::tie(status, d) = ubody(n, &name);
    EXPECT_EQ(status, want) << n;
    EXPECT_EQ(name, "########") << n;
    EXPECT_TRUE(std::all_of(d.begin(), d.end(), [](int32_t v) { return v == kUnset; })) << n;
  }
}

}  // namespace
}  // namespace kvr::test
