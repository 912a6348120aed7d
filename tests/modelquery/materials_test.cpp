// The material and physical-property queries through the exported routines: the order of
// their tests, the point references of a property, and the text items turned into lines.
#include <algorithm>
#include <array>
#include <bit>
#include <string>
#include <vector>

#include "kvr7dbio.h"
#include "modeldb/attlst.h"
#include "modeldb/elttab.h"
#include "queryfixture.h"

namespace kvr::test {
namespace {

constexpr float kUntouched = -7.0f;

struct Material {
  std::string name = "########";
  std::string name2 = "########";
  int32_t word = -1;
  int32_t count = -99;
  std::vector<float> values;
  int32_t status = -1;
};

class Materials : public QuerySession {
 protected:
  void SetUp() override {
    QuerySession::SetUp();
    start();
  }

  // dll_umat3 of NUMBER with a values array of ROOM reals and SIZE passed.
  static Material umat3(int32_t number, int32_t room, int32_t size) {
    Material m;
    m.values.assign(static_cast<size_t>(room), kUntouched);
    dll_umat3(&number, m.name.data(), m.name2.data(), &m.word, &m.count, m.values.data(), &size,
              &m.status);
    return m;
  }

  // The descriptor session arrays in use: word 1 of the seven-word record of the
  // material (A) or property (B) descriptors set to 1.
  static void descriptorsInUse(bool material) {
    int32_t one = 1, z = 0;
    if (material) {
      REC7A(1, one, z, z, z, z, z, z);
    } else {
      REC7B(1, one, z, z, z, z, z, z);
    }
  }
};

TEST_F(Materials, AMaterialWithItsReferredEntry) {
  const Material m = umat3(2, 4, 4);
  EXPECT_EQ(m.status, 0);
  EXPECT_EQ(m.count, 4);
  EXPECT_EQ(m.values, (std::vector<float>{11, 12, 13, 14}));
  EXPECT_EQ(m.name, "CONCRETE");
  EXPECT_EQ(m.name2, "GRADE   ");
  EXPECT_EQ(m.word, 2);  // INTEGER value 2 of the type -3 entry
}

TEST_F(Materials, StatusesInTheOrderOfTheTests) {
  struct Case {
    int32_t number, room, size;
    int32_t status, count;
    bool written;  // the names and values were written
  };
  const Case cases[] = {
      {2, 4, 3, 9, 4, false},    // too small: the count tells the room needed
      {2, 5, 5, 0, 4, true},     // more room than needed
      {4, 1, 1, 0, 0, true},     // only the header: no data value
      {3, 4, 4, 2, -10, false},  // no entry: count -10
      {0, 4, 4, 1, -99, false},  // out of range: count not written
      {QueryModel::kAllMaterials + 1, 4, 4, 1, -99, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    const Material m = umat3(c.number, c.room, c.size);
    EXPECT_EQ(m.status, c.status);
    EXPECT_EQ(m.count, c.count);
    EXPECT_EQ(m.name != "########", c.written);
  }
}

TEST_F(Materials, ACallersArrayOfNoRoomIsNeverWritten) {
  // Ten values pass the size test with size 0: the header values stay out of the array.
  std::array<float, 3> guard = {kUntouched, kUntouched, kUntouched};
  int32_t number = 4, size = 0, word = -1, count = -1, status = -1;
  char name[8], name2[8];
  dll_umat3(&number, name, name2, &word, &count, guard.data() + 1, &size, &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(guard, (std::array<float, 3>{kUntouched, kUntouched, kUntouched}));
  EXPECT_EQ(std::string(name2, 8), "GRADE   ");
}

TEST_F(Materials, DescriptorsInUseAnswerThreeBeforeAnyOtherTest) {
  descriptorsInUse(true);
  for (const int32_t number : {2, 0, 3}) {
    const Material m = umat3(number, 4, 4);
    EXPECT_EQ(m.status, 3) << number;
    EXPECT_EQ(m.count, -99) << number;
  }
  // The property descriptors are another array.
  std::array<float, 9> v{};
  int32_t number = 1, w2 = 0, w3 = 0, w4 = 0, count = 0, size = 9, status = -1;
  char name[8], name2[8];
  dll_uphys4(&number, name, name2, &w4, &w2, &w3, &count, v.data(), &size, &status);
  EXPECT_EQ(status, 0);
  descriptorsInUse(false);
  number = 0;
  dll_uphys4(&number, name, name2, &w4, &w2, &w3, &count, v.data(), &size, &status);
  EXPECT_EQ(status, 3);
}

struct Property {
  std::string name = "########";
  std::string name2 = "########";
  int32_t w2 = -1, w3 = -1, w4 = -1;
  int32_t count = -99;
  std::vector<float> values;
  int32_t status = -1;
};

Property uphys4(int32_t number, int32_t room) {
  Property p;
  p.values.assign(static_cast<size_t>(room), kUntouched);
  int32_t size = room;
  dll_uphys4(&number, p.name.data(), p.name2.data(), &p.w4, &p.w2, &p.w3, &p.count, p.values.data(),
             &size, &p.status);
  return p;
}

using Properties = Materials;

TEST_F(Properties, PointReferencesBecomeCoordinates) {
  // Points 5, 6 and 7 lie at (1, 2, 3), (4, 5, 6) and (7, 8, 9); point 2 is deleted.
  struct Case {
    int32_t number;
    int32_t room;
    std::vector<float> values;
    int32_t w2, w3;
  };
  const std::vector<Case> cases = {
      // Value 3 = 1 and bits 3: values(1), (4) and (7) replaced; w2 2, w3 4.
      {1, 9, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 2, 4},
      // Bits 2: only the second reference, at values(7); w3 3.
      {2, 9, {1, 2, 3, 6, 0, 0, 7, 8, 9}, 2, 3},
      // Value 3 = 0: values(1..3) stay, the references still from values(4) and (7).
      {3, 9, {5, 0, 0, 4, 5, 6, 7, 8, 9}, 1, 4},
      // Eight values: the reference at values(7) has no room for its three.
      {4, 8, {1, 2, 3, 4, 5, 6, 7, 0}, 2, 4},
      // A deleted point and no point at all: the values stay as read.
      {5, 9, {2, 0, 0, 2, 0, 0, 999, 0, 0}, 2, 4},
      // w2 0 in the referred entry: bit 1 names values(1).
      {6, 6, {4, 5, 6, 0, 0, 0}, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    const Property p = uphys4(c.number, c.room);
    EXPECT_EQ(p.status, 0);
    EXPECT_EQ(p.count, static_cast<int32_t>(c.values.size()));
    EXPECT_EQ(p.values, c.values);
    EXPECT_EQ(p.w2, c.w2);
    EXPECT_EQ(p.w3, c.w3);
  }
  const Property p = uphys4(1, 9);
  EXPECT_EQ(p.name, "PBOTH   ");
  EXPECT_EQ(p.name2, "SECT    ");
  EXPECT_EQ(p.w4, 40);
}

TEST_F(Properties, NoReplacementBeyondTheCallersSize) {
  // Size 9 for PBOTH, but the array holds one more: nothing is written past nine.
  std::vector<float> v(10, kUntouched);
  int32_t number = 1, size = 9, w2 = 0, w3 = 0, w4 = 0, count = 0, status = -1;
  char name[8], name2[8];
  dll_uphys4(&number, name, name2, &w4, &w2, &w3, &count, v.data(), &size, &status);
  EXPECT_EQ(v[9], kUntouched);

  // Too small: status 9, the count, the names blank.
  const Property small = uphys4(1, 8);
  EXPECT_EQ(small.status, 9);
  EXPECT_EQ(small.count, 9);
  EXPECT_EQ(small.name, "        ");
  EXPECT_EQ(small.values, std::vector<float>(8, kUntouched));

  const Property missing = uphys4(QueryModel::kProperties + 1, 9);
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.name2, "        ");
}

// ---- Text items --------------------------------------------------------------------------

struct Lines {
  int32_t count = -1;
  std::vector<int32_t> lengths;
  std::string lines;
  int32_t status = -1;
  std::string line(int32_t k) const { return lines.substr(static_cast<size_t>(80 * (k - 1)), 80); }
};

float word(std::string_view four) { return std::bit_cast<float>(a4Word(four)); }

Lines umate(std::vector<float> values, int32_t max, bool property = false) {
  Lines l;
  const auto room = static_cast<size_t>(std::max(max, 1));
  l.lengths.assign(room, -5);
  l.lines.assign(80 * room, '#');
  int32_t spare = 0;
  if (property) {
    dll_uphyse(values.data(), &spare, &max, &l.count, l.lengths.data(), l.lines.data(), &l.status);
  } else {
    dll_umate(values.data(), &spare, &max, &l.count, l.lengths.data(), l.lines.data(), &l.status);
  }
  return l;
}

std::string padded(const std::string& s) { return s + std::string(80 - s.size(), ' '); }

// The lexer's character tables are those the session start set up.
using TextItems = Materials;

TEST_F(TextItems, EachWordOfAnItemIsALine) {
  for (const bool property : {false, true}) {
    SCOPED_TRACE(property);
    Lines l = umate({1, 1, word("A B ")}, 3, property);
    EXPECT_EQ(l.status, 0);
    EXPECT_EQ(l.count, 2);
    EXPECT_EQ(l.lengths, (std::vector<int32_t>{1, 1, 0}));
    EXPECT_EQ(l.line(1), padded("A"));
    EXPECT_EQ(l.line(2), padded("B"));
    EXPECT_EQ(l.line(3), padded(""));  // blank-filled first

    l = umate({1, 1, word("A B ")}, 1, property);
    EXPECT_EQ(l.count, 1);
    EXPECT_EQ(l.line(1), padded("A"));
  }
}

TEST_F(TextItems, AWordCountAbove20IsRead20) {
  // Item 1 claims 25 words: 20 are read ("W000".."W019" as one word of 80 characters)
  // and item 2 starts 21 values on.
  std::vector<float> v = {2, 25};
  std::string all;
  for (int k = 0; k < 20; ++k) {
    const std::string w = "W0" + std::string(k < 10 ? "0" : "") + std::to_string(k);
    v.push_back(word(w));
    all += w;
  }
  v.insert(v.end(), {1, word("NEXT")});
  const Lines l = umate(v, 4);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.count, 2);
  EXPECT_EQ(l.lengths[0], 80);
  EXPECT_EQ(l.line(1), all);
  EXPECT_EQ(l.line(2), padded("NEXT"));
}

TEST_F(TextItems, CountsWithoutItemsAndWithoutRoom) {
  Lines l = umate({0, 1, word("A   ")}, 2);
  EXPECT_EQ(l.status, 1);
  EXPECT_EQ(l.count, 0);
  EXPECT_EQ(l.line(1), padded(""));

  l = umate({-3, 1, word("A   ")}, 2);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.count, 0);

  // No room: nothing at all is written.
  for (const int32_t max : {0, -1}) {
    l = umate({1, 1, word("A B ")}, max);
    EXPECT_EQ(l.status, 0);
    EXPECT_EQ(l.count, 0);
    EXPECT_EQ(l.lengths[0], -5);
    EXPECT_EQ(l.lines, std::string(80, '#'));
  }
}

TEST_F(Materials, TheTextsOfAMaterialBecomeLines) {
  // Material TEXTS holds two items after its header: "A B " and "ABCDEFGH".
  const Material m = umat3(5, 6, 6);
  ASSERT_EQ(m.status, 0);
  const Lines l = umate(m.values, 5);
  EXPECT_EQ(l.count, 3);
  EXPECT_EQ(l.lengths, (std::vector<int32_t>{1, 1, 8, 0, 0}));
  EXPECT_EQ(l.line(3), padded("ABCDEFGH"));
}

}  // namespace
}  // namespace kvr::test
