#include "modeldb/elttab.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <set>
#include <string>

namespace kvr {
namespace {

// The element types as the system lists them, with the shape code and name that map to
// each (0 and "" where none).
struct TypeRow {
  int32_t type, nodes, edges, dim, faces, corners, order, interior, shape;
  const char* name;
};

constexpr TypeRow kTypes[] = {
    {1, 8, 12, 3, 6, 8, 0, 0, 13, "HE8"},     {2, 6, 9, 3, 5, 6, 0, 0, 11, "PE6"},
    {3, 4, 6, 3, 4, 4, 0, 0, 12, "TE4"},      {4, 20, 12, 3, 6, 8, 1, 0, 17, "HE20"},
    {5, 15, 9, 3, 5, 6, 1, 0, 14, "PE15"},    {6, 10, 6, 3, 4, 4, 1, 0, 16, "TE10"},
    {7, 3, 3, 2, 1, 3, 0, 0, 3, "TR3"},       {8, 6, 3, 2, 1, 3, 1, 0, 7, "TR6"},
    {9, 4, 4, 2, 1, 4, 0, 0, 5, "QU4"},       {10, 8, 4, 2, 1, 4, 1, 0, 9, "QU8"},
    {11, 2, 1, 1, 1, 2, 0, 0, 1, "BE2"},      {12, 3, 1, 1, 2, 2, 1, 0, 2, "BE3"},
    {13, 5, 7, 3, 4, 5, 0, 0, 0, ""},         {14, 7, 11, 3, 6, 7, 0, 0, 0, ""},
    {15, 12, 7, 3, 4, 5, 1, 0, 0, ""},        {16, 18, 11, 3, 6, 7, 1, 0, 0, ""},
    {20, 1, 0, 4, 0, 1, 0, 0, 20, "P-EL"},    {21, 4, 1, 1, 3, 2, 2, 0, 21, "BE4"},
    {22, 5, 1, 1, 4, 2, 3, 0, 22, "BE5"},     {23, 9, 3, 2, 1, 3, 2, 0, 23, "TR9"},
    {24, 12, 4, 2, 1, 4, 2, 0, 24, "QU12"},   {27, 15, 3, 2, 1, 3, 3, 3, 27, "TR15"},
    {28, 16, 6, 3, 4, 4, 2, 0, 28, "TE16"},   {29, 24, 9, 3, 5, 6, 2, 0, 29, "PE24"},
    {30, 32, 12, 3, 6, 8, 2, 0, 30, "HE32"},  {31, 9, 4, 2, 1, 4, 1, 1, 10, "QU9"},
    {41, 2, 1, 1, 1, 2, 0, 0, 41, "IP11"},    {42, 4, 4, 2, 1, 4, 0, 0, 42, "IL22"},
    {43, 5, 4, 2, 1, 4, 1, 0, 43, "IL32"},    {44, 6, 4, 2, 1, 4, 1, 0, 44, "IL33"},
    {45, 8, 4, 2, 1, 4, 2, 0, 45, "IL44"},    {46, 10, 4, 2, 1, 4, 3, 0, 46, "IL55"},
    {47, 6, 9, 3, 5, 6, 0, 0, 47, "IS33"},    {48, 8, 12, 3, 6, 8, 0, 0, 48, "IS44"},
    {49, 12, 12, 3, 6, 8, 1, 0, 49, "IS84"},  {50, 12, 9, 3, 5, 6, 1, 0, 50, "IS66"},
    {51, 16, 12, 3, 6, 8, 1, 0, 51, "IS88"},  {60, 8, 4, 2, 1, 4, 2, 0, 60, "SP8"},
    {61, 10, 4, 2, 1, 4, 3, 0, 61, "SP10"},
};

// The shape codes with their node counts and names ("" where a shape has none).
struct ShapeRow {
  int32_t code, nodes;
  const char* name;
};

constexpr ShapeRow kShapes[] = {
    {1, 2, "BE2"},    {2, 3, "BE3"},    {3, 3, "TR3"},    {5, 4, "QU4"},    {7, 6, "TR6"},
    {8, 8, ""},       {9, 8, "QU8"},    {10, 9, "QU9"},   {11, 6, "PE6"},   {12, 4, "TE4"},
    {13, 8, "HE8"},   {14, 15, "PE15"}, {15, 16, "HE16"}, {16, 10, "TE10"}, {17, 20, "HE20"},
    {18, 27, "HE27"}, {20, 1, "P-EL"},  {21, 4, "BE4"},   {22, 5, "BE5"},   {23, 9, "TR9"},
    {24, 12, "QU12"}, {25, 12, "TR12"}, {26, 16, ""},     {27, 15, "TR15"}, {28, 16, "TE16"},
    {29, 24, "PE24"}, {30, 32, "HE32"}, {41, 2, "IP11"},  {42, 4, "IL22"},  {43, 5, "IL32"},
    {44, 6, "IL33"},  {45, 8, "IL44"},  {46, 10, "IL55"}, {47, 6, "IS33"},  {48, 8, "IS44"},
    {49, 12, "IS84"}, {50, 12, "IS66"}, {51, 16, "IS88"}, {60, 8, "SP8"},   {61, 10, "SP10"},
};

const TypeRow* typeRow(int32_t t) {
  for (const TypeRow& r : kTypes) {
    if (r.type == t) return &r;
  }
  return nullptr;
}

const ShapeRow* shapeRow(int32_t s) {
  for (const ShapeRow& r : kShapes) {
    if (r.code == s) return &r;
  }
  return nullptr;
}

class ElementTable : public ::testing::Test {
 protected:
  void SetUp() override { ELTBLD(5006); }
  void TearDown() override { ELTTAB.clear(); }
};

TEST(A4Word, FirstCharacterInTheLowestByte) {
  EXPECT_EQ(a4Word("QU4"), 0x20345551);
  EXPECT_EQ(a4Word("P-EL"), 0x4C452D50);
  EXPECT_EQ(a4Word(""), 0x20202020);
}

TEST_F(ElementTable, EveryTypeRowAsListed) {
  for (int32_t t = 0; t <= 63; ++t) {
    SCOPED_TRACE("type " + std::to_string(t));
    const TypeRow* r = typeRow(t);
    const EltProps& p = ELTPRP(t);
    const TypeRow expected = r ? *r : TypeRow{t, 0, 0, 0, 0, 0, 0, 0, 0, ""};
    EXPECT_EQ(p.nodes, expected.nodes);
    EXPECT_EQ(p.edges, expected.edges);
    EXPECT_EQ(p.dimension, expected.dim);
    EXPECT_EQ(p.faces, expected.faces);
    EXPECT_EQ(p.corners, expected.corners);
    EXPECT_EQ(p.order, expected.order);
    EXPECT_EQ(p.interior, expected.interior);
    if (t < 1 || t > 61) continue;
    EXPECT_EQ(ELTTAB.word(t, EltTab::kNodes), expected.nodes);
    EXPECT_EQ(ELTTAB.word(t, EltTab::kEdges), expected.edges);
    EXPECT_EQ(ELTTAB.word(t, EltTab::kFaces), expected.faces);
    EXPECT_EQ(ELTTAB.word(t, EltTab::kCorners), expected.corners);
    EXPECT_EQ(ELTTAB.word(t, EltTab::kOrder), expected.order);
    EXPECT_EQ(ELTTAB.word(t, EltTab::kInterior), expected.interior);
    EXPECT_EQ(ELTTAB.word(t, EltTab::kDimension), expected.dim);
    if (r == nullptr) {
      // No element type: the whole entry stays 0, base and entry length included.
      for (int32_t k = 1; k <= EltTab::kWords; ++k) EXPECT_EQ(ELTTAB.word(t, k), 0) << k;
    }
  }
  EXPECT_EQ(ELTPRP(-1).nodes, 0);
  EXPECT_EQ(ELTPRP(64).nodes, 0);
}

TEST_F(ElementTable, EntryLengthsFollowTheRecordLayout) {
  struct Case {
    int32_t layout, type, base, entry;
  };
  const Case cases[] = {
      {5000, 1, 50, 56},  // HE8, long layout: 10 + 5 x 8, + 6 faces
      {5006, 1, 23, 29},  // HE8, short layout: 7 + 2 x 8, + 6 faces
      {0, 1, 23, 29},     // no database open
      {5001, 1, 23, 29},
      {5006, 12, 13, 13},  // BE3: a line element has no face words
      {5000, 12, 25, 25},
      {5006, 13, 17, 22},  // one word more than its faces give
      {5006, 15, 31, 36},
      {5000, 13, 35, 40},
      {5006, 14, 21, 27},  // type 14 has no extra word
      {5006, 20, 9, 9},    // the point element has no faces
      {5006, 30, 71, 77},
      {5000, 61, 60, 61},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("layout " + std::to_string(c.layout) + " type " + std::to_string(c.type));
    ELTBLD(c.layout);
    EXPECT_EQ(ELTBLN(c.type), c.base);
    EXPECT_EQ(RECCLS(c.type), c.entry);
  }
}

TEST_F(ElementTable, RowsWithoutNodesStayEmptyInEveryLayout) {
  for (int32_t layout : {5000, 5006}) {
    ELTBLD(layout);
    for (int32_t t : {17, 18, 19, 25, 26, 32, 36, 40, 52, 55, 59}) {
      EXPECT_EQ(ELTBLN(t), 0) << t;
      EXPECT_EQ(RECCLS(t), 0) << t;
      EXPECT_EQ(ELTDIM(t), 0) << t;
    }
  }
}

TEST_F(ElementTable, ReadersAnswerZeroOutsideTheTable) {
  for (int32_t t : {0, -1, 62, 1000, INT_MIN, INT_MAX}) {
    EXPECT_EQ(ELNCNT(t), 0) << t;
    EXPECT_EQ(ELTDIM(t), 0) << t;
    EXPECT_EQ(RECCLS(t), 0) << t;
    EXPECT_EQ(ELTCOR(t), 0) << t;
    EXPECT_EQ(ELTEDG(t), 0) << t;
    EXPECT_EQ(ELTFAC(t), 0) << t;
    EXPECT_EQ(ELTBLN(t), 0) << t;
  }
  EXPECT_EQ(ELTDIM(17), 0);
  EXPECT_EQ(ELTDIM(40), 0);
  EXPECT_EQ(ELTDIM(20), 4);
  EXPECT_EQ(ELNCNT(1), 8);
  EXPECT_EQ(ELTCOR(16), 7);
  EXPECT_EQ(ELTEDG(14), 11);
  EXPECT_EQ(ELTFAC(12), 2);
  EXPECT_EQ(ELTTAB.word(1, 0), 0);
  EXPECT_EQ(ELTTAB.word(1, 10), 0);
}

TEST(ShapeCodes, NodeCountsAndNamesAsListed) {
  for (int32_t s = -1; s <= 62; ++s) {
    SCOPED_TRACE("shape " + std::to_string(s));
    const ShapeRow* r = shapeRow(s);
    EXPECT_EQ(SHPNOD(s), r ? r->nodes : 0);
    EXPECT_EQ(shapeNameWord(s), a4Word(r ? r->name : ""));
  }
}

TEST(ShapeCodes, MapToElementTypes) {
  // Shape codes that map to another element type; 20 to 30, 41 to 51, 60 and 61 map to
  // themselves, everything else to 0.
  const std::pair<int32_t, int32_t> moved[] = {{1, 11}, {2, 12},  {3, 7},   {5, 9},  {7, 8},
                                               {8, 17}, {9, 10},  {10, 31}, {11, 2}, {12, 3},
                                               {13, 1}, {14, 5},  {15, 18}, {16, 6}, {17, 4},
                                               {18, 19}};
  for (int32_t s = -1; s <= 62; ++s) {
    int32_t expected = 0;
    if ((s >= 20 && s <= 30) || (s >= 41 && s <= 51) || s == 60 || s == 61) expected = s;
    for (auto [code, type] : moved) {
      if (code == s) expected = type;
    }
    EXPECT_EQ(SHPMAP(s), expected) << s;
  }
}

TEST_F(ElementTable, ShapesAndTypesAgree) {
  // Every type row that names a shape is the type that shape maps to, with as many nodes.
  for (const TypeRow& r : kTypes) {
    if (r.shape == 0) continue;
    EXPECT_EQ(SHPMAP(r.shape), r.type) << r.name;
    EXPECT_EQ(SHPNOD(r.shape), r.nodes) << r.name;
    EXPECT_EQ(shapeNameWord(r.shape), a4Word(r.name)) << r.name;
  }
  // Shapes 8, 15, 18, 25 and 26 map to rows that are no element type; types 13 to 16
  // have no shape.
  std::set<int32_t> mapped;
  for (int32_t s = 1; s <= 61; ++s) {
    const int32_t t = SHPMAP(s);
    if (t == 0) continue;
    mapped.insert(t);
    const bool emptyRow = s == 8 || s == 15 || s == 18 || s == 25 || s == 26;
    EXPECT_EQ(ELNCNT(t) == 0, emptyRow) << s;
    if (!emptyRow) {
      EXPECT_EQ(ELNCNT(t), SHPNOD(s)) << s;
    }
  }
  for (int32_t t = 13; t <= 16; ++t) EXPECT_EQ(mapped.count(t), 0u) << t;
}

TEST(Shpnam, FindsTheShapeOfAName) {
  struct Case {
    std::string name;
    int32_t code;
  };
  const Case cases[] = {
      {"qu4", 5},  {"QU4 ", 5},  {"QUAD", 0}, {"BE", 0},    {"HE8  ", 0}, {"", 0},
      {" QU4", 0}, {"QU4\t", 0}, {"p-el", 20}, {"Sp10", 61}, {"HE8", 13},  {"he27", 18},
      {"TR12", 25}, {"SP8 ", 60}, {"    ", 0},
  };
  for (const Case& c : cases) {
    FixedText name(static_cast<int32_t>(c.name.size()), c.name);
    int32_t s = -7;
    SHPNAM(name, s);
    EXPECT_EQ(s, c.code) << '"' << c.name << '"';
    EXPECT_EQ(name.view(), c.name) << "the name is not changed";
  }
}

TEST(Shpnam, EveryNamedShapeFoundByItsName) {
  int32_t named = 0;
  for (const ShapeRow& r : kShapes) {
    if (*r.name == '\0') continue;
    ++named;
    std::string lower(r.name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const std::string& text : {std::string(r.name), lower}) {
      FixedText name(static_cast<int32_t>(text.size()), text);
      int32_t s = 0;
      SHPNAM(name, s);
      EXPECT_EQ(s, r.code) << text;
    }
  }
  EXPECT_EQ(named, 38);
}

}  // namespace
}  // namespace kvr
