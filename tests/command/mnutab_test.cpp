#include "command/mnutab.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "command/mnuctl.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"

namespace {

using kvr::MNUCTL;
using kvr::MNUTAB;

// The record indices of the ordinary vocabulary, in table order: menu id, word index.
struct Record {
  int32_t id;
  int32_t index;
};
const Record kRecords[] = {
    {48, 1263},   {49, 1267},    {50, 1273},    {51, 1277},    {52, 1281},    {53, 1285},
    {54, 1289},   {55, 1293},    {57, 1297},    {58, 1303},    {61, 1309},    {62, 1313},
    {64, 1317},   {65, 1323},    {66, 1327},    {72, 1331},    {74, 1337},    {77, 1341},
    {85, 1347},   {86, 1351},    {87, 1355},    {88, 1359},    {89, 1363},    {96, 1367},
    {140, 1371},  {1401, 1375},  {100, 1381},   {210, 1399},   {215, 1403},   {220, 1407},
    {222, 1411},  {223, 1415},   {225, 1419},   {197, 1423},   {235, 1427},   {238, 1431},
    {260, 1435},  {261, 1457},   {262, 1463},   {3010, 1467},  {4010, 1491},  {4020, 1501},
    {4050, 1525}, {4051, 1535},  {4052, 1539},  {4053, 1543},  {4054, 1549},  {4055, 1553},
    {4056, 1557}, {4059, 1561},  {5010, 1585},  {5011, 1591},  {4070, 1597},  {4080, 1603},
    {4090, 1617}, {4091, 1627},  {4092, 1639},  {4093, 1647},  {4094, 1657},  {4096, 1673},
    {4097, 1679}, {4098, 1683},  {4095, 1689},  {4099, 1693},  {4120, 1697},  {3020, 1701},
    {3030, 1719}, {3031, 1725},  {3032, 1729},  {3040, 1733},  {3060, 1737},  {3071, 1745},
    {3080, 1749}, {3081, 1753},  {3082, 1757},  {263, 1761},   {2631, 1765},  {6001, 1769},
    {6002, 1777}, {10000, 1783}, {10001, 1797}, {10002, 1817}, {10003, 1833}, {10004, 1837},
    {10005, 1849}, {10007, 1855}, {10009, 1861}, {10010, 1867}, {10011, 1879},
};

class MenuTable : public ::testing::Test {
 protected:
  void SetUp() override {
    kvr::CHRSET();
    MNUTAB = {};
    MNUCTL = {};
  }
  void TearDown() override {
    MNUTAB = {};
    MNUCTL = {};
  }

  // The word indices of the keyword headers, walked from word 1; by keyword number.
  static std::map<int32_t, int32_t> keywordHeaders() {
    std::map<int32_t, int32_t> headers;
    for (int32_t i = 1; i < MNUCTL.menuStart; i += 1 + MNUTAB.word(i) % 64) {
      headers[MNUTAB.word(i) / 64] = i;
    }
    return headers;
  }

  // The menu records walked from the menu-area start: word index by menu id.
  static std::map<int32_t, int32_t> records() {
    std::map<int32_t, int32_t> found;
    for (int32_t r = MNUCTL.menuStart; r < MNUCTL.menuEnd; r += 2 + 2 * MNUTAB.word(r + 1)) {
      found[MNUTAB.word(r)] = r;
    }
    return found;
  }

  // The characters of the keyword entry at word I, as built (character values).
  static std::string spelling(int32_t i) {
    std::string s;
    for (int32_t k = 1; k <= MNUTAB.word(i) % 64; ++k) s.push_back(static_cast<char>(MNUTAB.word(i + k)));
    return s;
  }

  // Follows WORDS from the menu with id 100, matching each word in full against the
  // keyword items of the current record (as built, before MNUCNV); "{c}" stands for token
  // class c, "{0}" for any text, "{-k}" for a typed argument of kind k. Answers the menu
  // ids passed through (0 for a complete command) and the keyword numbers matched.
  struct Walk {
    std::vector<int32_t> menus;
    std::vector<int32_t> keywords;
  };
  static Walk walk(const std::vector<std::string>& words) {
    std::map<int32_t, int32_t> ids;
    for (const auto& [id, index] : records()) ids[index] = id;
    Walk w;
    int32_t r = records().at(100);
    for (const std::string& word : words) {
      w.menus.push_back(MNUTAB.word(r));
      int32_t link = -1;
      for (int32_t e = 1; e <= MNUTAB.word(r + 1) % 64; ++e) {
        const int32_t item = MNUTAB.word(r + 2 * e);
        const bool keyword = item > 0 && MNUTAB.word(item + 1) > 10;
        const int32_t label = item > 0 ? MNUTAB.word(item + 1) : item;
        if (keyword ? spelling(item) == word : word == "{" + std::to_string(label) + "}") {
          if (keyword) w.keywords.push_back(MNUTAB.word(item) / 64);
          link = MNUTAB.word(r + 2 * e + 1);
          break;
        }
      }
      if (link == -1) return w;  // no match
      if (link == 0) {
        w.menus.push_back(0);
        return w;
      }
      r = link < 0 ? -link : link;
    }
    w.menus.push_back(MNUTAB.word(r));
    return w;
  }
};

TEST_F(MenuTable, OrdinaryVocabularyControlWordsAndFirstEntries) {
  kvr::MNUTBA();
  EXPECT_EQ(MNUCTL.capacity, 15000);
  EXPECT_EQ(MNUCTL.charsPerWord, 1);
  EXPECT_EQ(MNUCTL.menuStart, 1263);
  EXPECT_EQ(MNUCTL.menuCount, 89);
  EXPECT_EQ(MNUCTL.menuEnd, 1883);
  EXPECT_EQ(MNUCTL.trailingCount, 0);
  EXPECT_EQ(MNUTAB.word(1), 65);
  EXPECT_EQ(MNUTAB.word(2), 1);
  EXPECT_EQ(MNUTAB.word(19), 647);
  EXPECT_EQ(spelling(19), "/CURSOR");
  EXPECT_EQ(MNUTAB.word(20), 47);
  EXPECT_EQ(keywordHeaders().at(1066), 1247);
  EXPECT_EQ(keywordHeaders().size(), 159u);

  int32_t status = -1;
  kvr::MNUCNV(status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(MNUTAB.word(1), 65);
  EXPECT_EQ(MNUTAB.word(2), 1);
  const std::string cursor = "/CURSOR";
  for (int32_t k = 0; k < 7; ++k) {
    EXPECT_EQ(MNUTAB.word(20 + k), kvr::codeOf(cursor[static_cast<size_t>(k)])) << k;
  }
  EXPECT_EQ(static_cast<uint32_t>(MNUTAB.word(20)), 0x2020202Fu);
}

TEST_F(MenuTable, RootAndLastRecordWordForWord) {
  kvr::MNUTBA();
  const int32_t root[] = {100,  8,   -201, 1399, -202, 1407, 589, 1423, 149,
                          1411, 690, 1431, 712,  1403, 699,  1435, 707, 0};
  for (int32_t k = 0; k < 18; ++k) EXPECT_EQ(MNUTAB.word(1381 + k), root[k]) << 1381 + k;
  const int32_t last[] = {10011, 1, -405, 1293};
  for (int32_t k = 0; k < 4; ++k) EXPECT_EQ(MNUTAB.word(1879 + k), last[k]) << 1879 + k;
}

TEST_F(MenuTable, EveryRecordAtItsIndexAndEveryLinkOnARecord) {
  for (int32_t shift : {0, 3}) {
    MNUTAB = {};
    if (shift == 0) kvr::MNUTBA();
    if (shift == 3) kvr::MNUTBB();
    const std::map<int32_t, int32_t> found = records();
    ASSERT_EQ(found.size(), 89u) << shift;
    for (const Record& r : kRecords) {
      EXPECT_EQ(found.at(r.id), r.index - shift) << "menu " << r.id << " shift " << shift;
    }
    std::set<int32_t> indices;
    for (const auto& [id, index] : found) indices.insert(index);
    std::set<int32_t> headers;
    for (const auto& [number, index] : keywordHeaders()) headers.insert(index);
    for (const auto& [id, r] : found) {
      const int32_t n = MNUTAB.word(r + 1);
      ASSERT_GE(n, 1) << id;
      for (int32_t e = 1; e <= n; ++e) {
        const int32_t item = MNUTAB.word(r + 2 * e);
        const int32_t link = MNUTAB.word(r + 2 * e + 1);
        EXPECT_TRUE(item <= 0 || headers.count(item)) << "menu " << id << " item " << e;
        EXPECT_TRUE(link == 0 || indices.count(link < 0 ? -link : link)) << "menu " << id;
      }
    }
  }
}

TEST_F(MenuTable, WalksThroughTheGrammar) {
  kvr::MNUTBA();
  Walk w = walk({"UTILITY", "SETUP", "SYNONYMS", "ADD", "{0}", "{1}", "{5}"});
  EXPECT_EQ(w.menus, (std::vector<int32_t>{100, 260, 3010, 4080, 88, 89, 55, 0}));
  EXPECT_EQ(w.keywords, (std::vector<int32_t>{225, 61, 78, 121}));

  w = walk({"UTILITY", "SETUP", "PLOTTER", "FORMAT", "HARDCOPY"});
  EXPECT_EQ(w.menus, (std::vector<int32_t>{100, 260, 3010, 4050, 4059, 5011}));
  const int32_t hardcopy = records().at(4059) + 2 * 10;
  EXPECT_EQ(MNUTAB.word(hardcopy + 1), -records().at(5011));

  w = walk({"UTILITY", "SETUP", "FEEDBACK", "MESHING", "MERGE", "DIALOGUE", "ON"});
  EXPECT_EQ(w.menus, (std::vector<int32_t>{100, 260, 3010, 4090, 4097, 4098, 72, 0}));
  EXPECT_EQ(w.keywords.back(), 93);

  MNUTAB = {};
  kvr::MNUTBB();
  w = walk({"UTILITY", "SETUP", "FEEDBACK", "GRID", "MERGE", "DIALOGUE", "ON"});
  EXPECT_EQ(w.menus, (std::vector<int32_t>{100, 260, 3010, 4090, 4097, 4098, 72, 0}));
  EXPECT_EQ(w.keywords, (std::vector<int32_t>{225, 61, 79, 220, 221, 131, 93}));
}

TEST_F(MenuTable, GridVocabularyDiffersInKeyword220Only) {
  kvr::MNUTBB();
  EXPECT_EQ(MNUCTL.menuStart, 1260);
  EXPECT_EQ(MNUCTL.menuEnd, 1880);
  EXPECT_EQ(MNUCTL.menuCount, 89);
  EXPECT_EQ(MNUTAB.word(676), 14084);
  EXPECT_EQ(spelling(676), "GRID");
  EXPECT_EQ(MNUTAB.word(1378), 100);
  EXPECT_EQ(MNUTAB.word(1381), 1396);
  EXPECT_EQ(MNUTAB.word(1614), 4090);
  EXPECT_EQ(MNUTAB.word(1614 + 6), 676);
  EXPECT_EQ(MNUTAB.word(1614 + 7), 1676);
  const std::vector<int32_t> grid(MNUTAB.words.begin(), MNUTAB.words.begin() + 1879);

  MNUTAB = {};
  kvr::MNUTBA();
  EXPECT_EQ(spelling(676), "MESHING");
  EXPECT_EQ(MNUTAB.word(1617 + 6), 676);
  EXPECT_EQ(MNUTAB.word(1617 + 7), 1679);
  // Before keyword 220 the words are the same; after it every word is three further on,
  // and links and keyword items beyond it three greater.
  for (int32_t k = 1; k < 676; ++k) EXPECT_EQ(MNUTAB.word(k), grid[static_cast<size_t>(k - 1)]) << k;
  for (int32_t k = 684; k <= 1882; ++k) {
    const int32_t b = grid[static_cast<size_t>(k - 4)];
    const int32_t a = MNUTAB.word(k);
    if (a == b) continue;
    EXPECT_TRUE(a == b + 3 || a == b - 3) << "word " << k << ": " << a << " and " << b;
  }
}

TEST_F(MenuTable, WordsPastTheMenuAreaKeepWhatTheyHeld) {
  MNUTAB.word(1883) = 12345;
  MNUTAB.word(15000) = -7;
  kvr::MNUTBA();
  EXPECT_EQ(MNUTAB.word(1883), 12345);
  EXPECT_EQ(MNUTAB.word(15000), -7);
}

TEST_F(MenuTable, AnUnconvertibleCharacterStopsTheConversion) {
  kvr::MNUTBA();
  // "SAVE" (keyword 50) with a lower-case "a".
  const int32_t save = keywordHeaders().at(50);
  ASSERT_EQ(spelling(save), "SAVE");
  MNUTAB.word(save + 2) = 'a';
  int32_t status = -1;
  kvr::MNUCNV(status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(MNUTAB.word(20), kvr::codeOf('/'));             // an entry before it
  EXPECT_EQ(MNUTAB.word(save + 1), kvr::codeOf('S'));       // its own first letter
  EXPECT_EQ(MNUTAB.word(save + 3), 'V');                    // left as it was
  EXPECT_EQ(MNUTAB.word(keywordHeaders().at(51) + 1), 'F');  // FILE, after it

  for (int32_t bad : {int32_t{' '}, int32_t{'_'}, 39, 91}) {
    MNUTAB = {};
    kvr::MNUTBA();
    MNUTAB.word(save + 2) = bad;
    kvr::MNUCNV(status);
    EXPECT_EQ(status, 1) << bad;
  }
}

TEST_F(MenuTable, ASecondConversionFails) {
  kvr::MNUTBA();
  int32_t status = -1;
  kvr::MNUCNV(status);
  ASSERT_EQ(status, 0);
  kvr::MNUCNV(status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(MNUTAB.word(20), kvr::codeOf('/'));
}

}  // namespace
