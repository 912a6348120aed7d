// The texts of the meshing and geometry messages, posted as the routines post them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <string>
#include <vector>

#include "catfixture.h"
#include "runtime/codtxt.h"
#include "runtime/modcon.h"
#include "runtime/msgarg.h"

namespace kvr {
namespace {

using test::Catalogue;
using test::gCalls;
using test::Lines;

// One posted value: a name (two words), a count (through MSGQRL) or a real (its bits).
struct Value {
  enum Kind { Name, Count, Real } kind;
  std::string name = {};
  int32_t count = 0;
  float real = 0.0f;
};
Value name(std::string text) { return {Value::Name, std::move(text), 0, 0.0f}; }
Value count(int32_t n) { return {Value::Count, {}, n, 0.0f}; }
Value real(float x) { return {Value::Real, {}, 0, x}; }

int32_t packedWord(const std::string& text, size_t from) {
  uint32_t w = 0;
  for (size_t c = from + 4; c-- > from;) w = (w << 8) | static_cast<unsigned char>(c < text.size() ? text[c] : ' ');
  return static_cast<int32_t>(w);
}

// Posts CODE with VALUES in slot order, the last posting carrying the code.
void post(int32_t code, const std::vector<Value>& values) {
  std::vector<std::pair<bool, int32_t>> words;  // (count, word)
  for (const Value& v : values) {
    if (v.kind == Value::Name) {
      words.push_back({false, packedWord(v.name, 0)});
      words.push_back({false, packedWord(v.name, 4)});
    } else if (v.kind == Value::Count) {
      words.push_back({true, v.count});
    } else {
      words.push_back({false, std::bit_cast<int32_t>(v.real)});
    }
  }
  if (words.empty()) return MSGQ0(code);
  for (size_t k = 0; k < words.size(); ++k) {
    int32_t m = k + 1 == words.size() ? code : -code;
    words[k].first ? MSGQRL(m, words[k].second) : MSGQIN(m, words[k].second);
  }
}

Lines unit(std::initializer_list<std::string> lines) {
  Lines out;
  for (const std::string& l : lines) out.push_back(" " + l);
  return out;
}

int gDumps = 0;

// Reads back only the lines written since the last mark.
class MeshTexts : public Catalogue {
 protected:
  void mark() {
    marks_ = {messages().size(), journal1().size(), journal2().size()};
    gCalls.clear();
  }
  Lines unitSince() { return tail(messages(), marks_[0]); }
  Lines journal1Since() { return tail(journal1(), marks_[1]); }
  Lines journal2Since() { return tail(journal2(), marks_[2]); }

 private:
  static Lines tail(const Lines& all, size_t from) {
    return Lines(all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end());
  }
  std::array<size_t, 3> marks_{};
};

TEST_F(MeshTexts, MeshTextsFatalAndCountedForms) {
  gDumps = 0;
  setDatabaseDumper([] { ++gDumps; });
  MSGQV4(9, 4, 7, 12);
  setDatabaseDumper(nullptr);
  EXPECT_EQ(gDumps, 1);
  EXPECT_EQ(messages(), unit({"F0000: 9 4 7 12 . Please report error."}));
  EXPECT_EQ(journal1(), (Lines{"  * F0000: 9 4 7 12 . Please report error."}));

  struct Case {
    int32_t code;
    std::vector<Value> values;
    Lines lines;  // as the message unit holds them
  };
  const Case cases[] = {
      {2057, {count(1), count(0)}, unit({"E0057: 1 LINE does not have a physical property"})},
      {2057, {count(2), count(1)}, unit({"E0057: 2 LINES and 1 SURFACE do not have a physical property"})},
      {2057, {count(1), count(4)}, unit({"E0057: 1 LINE and 4 SURFACES do not have a physical property"})},
      {2057, {count(0), count(3)}, unit({"E0057: 3 SURFACES do not have a physical property"})},
      {2057, {count(0), count(1)}, unit({"E0057: 1 SURFACE does not have a physical property"})},
      {2057, {count(0), count(0)}, unit({"E"})},
      {2137, {count(2), count(0), count(3)}, unit({"E0137: 2 coordinate systems and  3 shapes deleted during merge"})},
      {2137, {count(1), count(1), count(1)},
       unit({"E0137: 1 coordinate systems,  1 transforms and  1 shapes deleted during merge"})},
      {2137, {count(0), count(0), count(0)}, unit({"E0137: deleted during merge"})},
      {2138, {count(4), count(0), count(1)}, unit({"E0138: 4  constraints  1 loads deleted during merge."})},
      {2138, {count(-1), count(0), count(0)}, unit({"E0138: deleted during merge."})},
      {2161, {count(40), count(42)}, unit({"E0161:Bad number of triangles in initial mesh: 40 . Expected number: 42"})},
      {2121, {count(1), count(2), count(3), count(2)},
       unit({"E0121: 1 points, 2 lines and 3 surfaces merged", "2 bodies became degenerate and were deleted."})},
      {2121, {count(1), count(2), count(3), count(0)}, unit({"E0121: 1 points, 2 lines and 3 surfaces merged"})},
      {2195, {count(1)}, unit({"E0195: General Body Pre-check:-  1 surface has not been amended.",
                               "The surface has a locked mesh attached to it."})},
      {2210, {count(3)}, unit({"E0210:  3 surfaces have been flipped."})},
      {2073, {count(2), count(1)}, unit({"E0073: 2  physical property parameter(s) found outside allowable range"})},
      {2305, {count(7), count(12)},
       unit({"E0305: Error number 7 found while reading hierarchical physical concepts"})},
      {2305, {count(7), count(4)}, unit({"E0305: Error number 7"})},
  };
  for (const Case& c : cases) {
    mark();
    post(c.code, c.values);
    EXPECT_EQ(unitSince(), c.lines) << c.code;
    EXPECT_EQ(MSGARG.count(), 0);
  }
  mark();
  post(2057, {count(0), count(0)});
  post(2121, {count(1), count(2), count(3), count(2)});
  EXPECT_EQ(journal2Since(), (Lines{"  * E", "  * E0121: 1 points, 2 lines and 3 surfaces merged",
                               "  *        2 bodies became degenerate and were deleted."}));
}

TEST_F(MeshTexts, MeshAffectedCountsPrintTheirFirstPartEarly) {
  const std::string first = "E0094:Command will affect up to 5 points, 2 lines";
  post(2094, {count(5), count(2), count(0), count(0), count(0), count(0)});
  EXPECT_EQ(messages(), unit({first}));
  EXPECT_EQ(journal1(), (Lines{"  * " + first}));

  const std::string more = "      3 surfaces, 0 bodies and 0 transforms";
  const std::string arcs = "      Including 4 arc lines which will become straight";
  for (int32_t arcCount : {0, 4}) {
    mark();
    post(2094, {count(5), count(2), count(3), count(0), count(arcCount), count(0)});
    Lines want = unit({first, more.substr(6)});
    Lines journal{"  * " + more};
    if (arcCount > 0) {
      want.push_back(" " + arcs.substr(6));
      journal.push_back("  * " + arcs);
    }
    EXPECT_EQ(unitSince(), want);
    EXPECT_EQ(journal1Since(), journal);
    EXPECT_EQ(journal2Since(), journal);
  }
}

TEST_F(MeshTexts, MeshNamesTrimmedOrWholeAndSetVariants) {
  struct Case {
    int32_t code;
    std::vector<Value> values;
    Lines lines;
  };
  const Case cases[] = {
      {2261, {name("ABC"), name("ABCD"), name("AB")}, unit({"E0261:The surface ABC appears in sets  ABCD and  AB"})},
      {2212, {name("")}, unit({"E0212:ALL the surfaces cannot be oriented consistently."})},
      {2212, {name("S1")}, unit({"E0212:The surfaces in set S1       cannot be oriented consistently."})},
      {2218, {name("S1"), name("")},
       unit({"E0218:The surface  S1        is not a valid reference surface.", "The surface centroid is too close  to the focal point"})},
      {2218, {name("S1"), name("SET")},
       unit({"E0218:The surface  S1        is not a valid reference surface for set SET",
             "The surface centroid is too close  to the focal point"})},
      {2211, {name(""), name("L1"), name("Q")},
       unit({"E0211:Consistent flip not possible on ALL surfaces",
             "The line L1       has been used to define three or more surfaces ."})},
      {2053, {name("BAR1"), count(12), count(0)},
       unit({"E0053: Cannot display reinforcement BAR1     : One reinforcement section is not a bar section"})},
      {2076, {name("BAR1"), count(4), count(0)},
       unit({"E0076: Cannot label reinforcement BAR1     : Cannot project point onto surface"})},
      {2074, {count(7), count(0)}, unit({"E0074: Cannot validate reinforcement:"})},
  };
  for (const Case& c : cases) {
    mark();
    post(c.code, c.values);
    EXPECT_EQ(unitSince(), c.lines) << c.code;
  }

  mark();
  MSGQIN(-2030, 0);
  MSGQIN(-2030, kBlankCode);
  post(2030, {name("SURF1")});
  EXPECT_EQ(unitSince(), unit({"E0030: Incorrect definition of body at surface SURF1"}));
  EXPECT_EQ(journal1Since(), (Lines{"  * E0030: Incorrect definition of body at surface SURF1   "}));
  mark();
  post(2030, {name("BODY"), name("SURF1")});
  EXPECT_EQ(unitSince(), unit({"E0030: Incorrect definition of body BODY     at surface SURF1"}));

  mark();
  gCalls.clear();
  post(1323, {name("ABC")});
  EXPECT_EQ(test::Catalogue::handed(),
            (Lines{"W0323:  ABC      is not an independent part of the display", "so it cannot be removed from it."}));
  EXPECT_EQ(journal2().back(), "  *  so it cannot be removed from it.");
}

TEST_F(MeshTexts, MeshValueSelectedTexts) {
  MODWRK = 0;
  struct Case {
    int32_t code;
    std::vector<Value> values;
    Lines lines;
  };
  const Case cases[] = {
      {2295, {real(-2.0f)}, unit({"E0295: Minimum limit in v-direction exceeds maximum limit.", "No parts removed from set."})},
      {2295, {real(1.0f)}, unit({"E0295: Minimum limit in u-direction exceeds maximum limit.", "No parts appended to set."})},
      {2295, {real(5.0f)}, unit({"E", "No parts appended to set."})},
      {2295, {real(0.0f)}, unit({"E"})},
      {2326, {real(22.0f)}, unit({"E0326: Cannot locate nodes in pick list."})},
      {2326, {real(5.0f)}, unit({"E0326: Cannot locate requested item in pick list."})},
      {2037, {count(2)}, unit({"E0037:Cut-point not found. bad start point? (max iterations)"})},
      {2037, {count(4)}, unit({"E0037:Cut-point not found."})},
      {2183, {real(0.5f)}, unit({"E0183:Invalid meshing density :  .5"})},
      {2043, {count(3), count(7)},
       unit({"E0043: Inadequate work array for command. Contact your support centre.",
             "LLCORF is currently set at 0 but it needs to be 5"})},
      {2139, {count(3), count(10), count(20)},
       unit({"E0139: Contact your support centre to get faster merging of surface data.",
             "LLCORF needs to be increased from  10 to  20"})},
      {2159, {name("BIN"), count(2)}, unit({"E0159:Setting BINSET for unmeshable parts to BIN      from existing database"})},
  };
  for (const Case& c : cases) {
    mark();
    post(c.code, c.values);
    EXPECT_EQ(unitSince(), c.lines) << c.code;
  }
}

TEST_F(MeshTexts, MeshNumbersWithoutTextAndTheWholeRange) {
  for (int32_t code : {2260, 2268, 2269, 2339, 2197, 2199}) {
    gCalls.clear();
    MSGQIN(-code, 7);
    MSGQ0(code);
    EXPECT_TRUE(gCalls.empty()) << code;
    EXPECT_EQ(MSGARG.count(), 0) << code;
  }
  mark();
  for (int32_t code : {2338, 2128, 2344}) MSGQ0(code);
  EXPECT_EQ(unitSince(), unit({"E", "E0128:", "E0344:"}));
  EXPECT_EQ(journal1().back(), "  * E0344: ");

  int32_t written = 0;
  for (int32_t n = 0; n <= 349; ++n) {
    gCalls.clear();
    for (int32_t k = 0; k < MsgArg::kMaxValues; ++k) MSGQIN(-(2000 + n), kBlankCode);
    MSGQ0(2000 + n);
    written += gCalls.empty() ? 0 : 1;
  }
  EXPECT_EQ(written, 344);
}

}  // namespace
}  // namespace kvr
