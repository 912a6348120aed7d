// The format upgrade: which steps a stored format runs, the saved model state brought
// to the current layout (DBUPAL), each step on the arrays it changes, and the digit-list
// mask.
#include <gtest/gtest.h>

#include "modelfilefixture.h"

namespace kvr::test {
namespace {

class Upgrade : public ModelFileFixture {
 protected:
  void SetUp() override {
    ModelFileFixture::SetUp();
    MODCNT.word(kCntOldGroupSize) = 1;
  }

  // Saves the model, stamps the file with FORMAT and loads it afresh; answers the status.
  int32_t reload(int32_t format) {
    save("u.mdl");
    setHead("u.mdl", kHeadFormat, format);
    forget();
    steps.clear();
    openModel("u.mdl");
    int32_t status = -1;
    HDRCHK(format == kFormatCurrent ? 1 : 2, kModelUnit, status);
    closeModel();
    return status;
  }

  // Display word D (VWDFLT word D + 11).
  static int32_t& display(int32_t d) { return VWDFLT.word(d + 11); }

  // The INTEGER state record numbered: record word k (MODCNT word k + 2) holds 1000 + k,
  // but for the words the count table of the file reads: no entities, no elements, no
  // packed list, and the old group size 1.
  static void numberedState() {
    for (int32_t k = 3; k <= 93; ++k) MODCNT.word(k) = 1000 + k - 2;
    for (int32_t k : {kCntPoints, kCntLines, kCntSurfaces, kCntBodies, kCntShapes, kCntHighestNode,
                      kCntHighestElement, kCntSets, kCntKind42, kCntKind46, kCntDelPoints,
                      kCntDelLines, kCntDelLines2, kCntDelSurfaces, kCntDelBodies, 76}) {
      MODCNT.word(k) = 0;
    }
    MODCNT.word(kCntPackedListEnd) = 1;
    MODCNT.word(kCntOldGroupSize) = 1;
  }
};

TEST_F(Upgrade, StepsRunByTheStoredFormat) {
  const std::vector<std::string> from9060 = {"DBUPAL", "DBUP61", "DBUP63", "DBUP66", "DBUP70"};
  struct Case {
    int32_t format;
    std::vector<std::string> steps;
  };
  const Case cases[] = {
      {9071, {"DBUPAL"}},
      {9070, {"DBUPAL"}},
      {9066, {"DBUPAL", "DBUP70"}},
      {9065, {"DBUPAL", "DBUP66", "DBUP70"}},
      {9063, {"DBUPAL", "DBUP66", "DBUP70"}},
      {9062, {"DBUPAL", "DBUP63", "DBUP66", "DBUP70"}},
      {9061, {"DBUPAL", "DBUP63", "DBUP66", "DBUP70"}},
      {9060, from9060},
      {9038, {"DBUPAL", "DBUP60", "DBUP63", "DBUP66", "DBUP70"}},
      {9037, {"DBUPAL", "DBUP60", "DBUP63", "DBUP66", "DBUP70"}},
      {9036, {"DBUPAL", "DBUP60", "DBUP61", "DBUP63", "DBUP66", "DBUP70"}},
      {9035, {"DBUPAL", "DBUP36", "DBUP60", "DBUP61", "DBUP63", "DBUP66", "DBUP70"}},
  };
  for (const Case& c : cases) {
    // Each load moves the state words of its format on; start from the same state.
    MODCNT = {};
    MODCNT.word(kCntOldGroupSize) = 1;
    EXPECT_EQ(reload(c.format), 0) << c.format;
    EXPECT_EQ(steps, c.steps) << c.format;
    EXPECT_EQ(DBFMT, 9071);
  }
}

TEST_F(Upgrade, AGroupSizeOfZeroFailsTheLoad) {
  MODCNT.word(kCntOldGroupSize) = 0;
  EXPECT_EQ(reload(9038), 1);
  EXPECT_EQ(REGHED.mode, 0);
  const Lines lines = messageLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(Lines(lines.end() - 2, lines.end()),
            (Lines{" E1150: Cannot load database", " E2190: Array count error"}));
}

TEST_F(Upgrade, AFourDigitModelOfFormat9070) {
  // The 24-slot layout: codes 1-24, numeric parts 25-48, form flag 49 (0: the 4-digit
  // form), further words 50-73, display words 74-80.
  for (int32_t d = 1; d <= 24; ++d) display(d) = 100 + d;
  for (int32_t d = 25; d <= 48; ++d) display(d) = 200 + d;
  display(49) = 0;
  for (int32_t d = 50; d <= 80; ++d) display(d) = 300 + d;
  numberedState();
  ASSERT_EQ(reload(9070), 0);
  for (int32_t d = 1; d <= 24; ++d) EXPECT_EQ(display(d), 100 + d) << d;
  for (int32_t d = 26; d <= 49; ++d) EXPECT_EQ(display(d), 200 + d - 1) << d;
  EXPECT_EQ(display(51), 0);
  EXPECT_EQ(display(25), 2623);
  EXPECT_EQ(display(50), -1);
  EXPECT_EQ(display(76), 0);
  for (int32_t d = 52; d <= 75; ++d) EXPECT_EQ(display(d), 300 + d - 2) << d;
  EXPECT_EQ(display(77), 373);
  EXPECT_EQ(display(78), 374);
  EXPECT_EQ(display(79), 375);
  EXPECT_EQ(display(80), 380);
  // INTEGER words 41-89 moved on one word; 41 and 91 cleared.
  EXPECT_EQ(MODCNT.word(41 + 2), 0);
  EXPECT_EQ(MODCNT.word(42 + 2), 1041);
  EXPECT_EQ(MODCNT.word(89 + 2), 1088);
  EXPECT_EQ(MODCNT.word(91 + 2), 0);
  EXPECT_EQ(MODCNT.word(40 + 2), 1040);
}

TEST_F(Upgrade, StateOfAFormatBelow9062) {
  numberedState();
  for (int32_t k = 1; k <= ModSta::kWords; ++k) MODSTA.word(k) = 5000 + k;
  for (int32_t k = 1; k <= 80; ++k) GEOSTA.word(k) = 7000 + k;
  const ModCnt saved = MODCNT;
  ASSERT_EQ(reload(9061), 0);
  auto in = [](int32_t k) { return k <= 91 ? MODCNT.word(k + 2) : MODSTA.word(k - 91); };
  EXPECT_EQ(in(37), 1037);
  for (int32_t k = 38; k <= 41; ++k) EXPECT_EQ(in(k), 0) << k;
  EXPECT_EQ(in(42), 1038);
  EXPECT_EQ(in(53), 1049);
  EXPECT_EQ(in(54), 1052);
  EXPECT_EQ(in(80), 1078);
  for (int32_t k = 81; k <= 160; ++k) ASSERT_EQ(in(k), 0) << k;
  // 25 REAL words were kept; the array name is blank and the rest 0.0.
  EXPECT_EQ(GEOSTA.word(16), 7016);
  EXPECT_EQ(GEOSTA.word(17), kBlankCode);
  EXPECT_EQ(GEOSTA.word(18), kBlankCode);
  for (int32_t k = 19; k <= 80; ++k) ASSERT_EQ(GEOSTA.word(k), 0) << k;
  EXPECT_EQ(MODCNT.word(kCntOldGroupSize), saved.words[kCntOldGroupSize - 1]);
}

TEST_F(Upgrade, AnEighteenSlotDisplayRecord) {
  for (int32_t d = 1; d <= 80; ++d) display(d) = 400 + d;
  MODCNT.word(76) = 1;  // INTEGER word 74
  for (int32_t form : {1, 0}) {
    for (int32_t d = 1; d <= 80; ++d) display(d) = 400 + d;
    display(41) = form;
    ASSERT_EQ(reload(9071), 0);
    EXPECT_EQ(display(51), form);
    EXPECT_EQ(display(77), 462);
    EXPECT_EQ(display(79), 464);
    EXPECT_EQ(display(80), 480);
    if (form == 1) {
      EXPECT_EQ(display(1), 401);
      EXPECT_EQ(display(18), 418);
      EXPECT_NE(display(19), 419) << "a default";
      EXPECT_EQ(display(26), 421);
      EXPECT_EQ(display(43), 438);
      EXPECT_EQ(display(44), 1);
      EXPECT_EQ(display(52), 442);
      EXPECT_EQ(display(69), 459);
      EXPECT_EQ(display(70), 0);
    } else {
      EXPECT_EQ(display(1), 3600);
      EXPECT_EQ(display(26), -1);
      EXPECT_EQ(display(52), 0);
    }
    MODCNT.word(76) = 1;
  }
}

TEST_F(Upgrade, SlotsOlderFormatsLacked) {
  struct Case {
    int32_t format;
    int32_t form;
    std::array<int32_t, 3> codes;  // slots 22, 23, 24
    std::array<int32_t, 3> numbers;
  };
  const Case cases[] = {
      {9065, 0, {222, 223, 3839}, {246, 247, -1}},
      {9063, 0, {3825, 3335, 3839}, {-1, -1, -1}},
      {9063, 1, {38250000, 33350000, 38390000}, {1, 1, 1}},
      {9066, 0, {222, 223, 224}, {246, 247, 248}},
  };
  for (const Case& c : cases) {
    // A 24-slot record: slot k's code in word k, numeric part in word 24 + k.
    for (int32_t d = 1; d <= 80; ++d) display(d) = 200 + d;
    display(49) = c.form;
    MODCNT.word(76) = 0;
    MODCNT.word(kCntOldGroupSize) = 1;
    MODCNT.word(kCntPackedListEnd) = 1;
    ASSERT_EQ(reload(c.format), 0) << c.format;
    for (int32_t s = 0; s < 3; ++s) {
      EXPECT_EQ(display(22 + s), c.codes[static_cast<size_t>(s)]) << c.format << " slot " << 22 + s;
      EXPECT_EQ(display(47 + s), c.numbers[static_cast<size_t>(s)]) << c.format << " slot " << 22 + s;
    }
  }
}

TEST_F(Upgrade, PointParameters) {
  fill(24, 4 * 12, 0);
  const int32_t kinds[] = {300, 400, 700, 500};
  for (int32_t p = 1; p <= 4; ++p) {
    setEntityWord(24, 12, p, 4, kinds[p - 1]);
    setEntityWord(24, 12, p, 3, 32767);
  }
  DBUP61();
  for (int32_t p = 1; p <= 3; ++p) EXPECT_EQ(entityWord(24, 12, p, 3), 0x3F800000) << p;
  EXPECT_EQ(entityWord(24, 12, 4, 3), 32767);
  EXPECT_EQ(entityWord(24, 12, 1, 5), 5);
}

TEST_F(Upgrade, LineWordFiveIsSplit) {
  fill(4, 3 * 16, 0);
  setEntityWord(4, 16, 1, 7, 301);
  setEntityWord(4, 16, 1, 5, 12345);
  setEntityWord(4, 16, 2, 7, 401);
  setEntityWord(4, 16, 2, 5, 12345);
  setEntityWord(4, 16, 3, 7, 300);
  setEntityWord(4, 16, 3, 5, -12345);
  DBUP63();
  EXPECT_EQ(entityWord(4, 16, 1, 5), 12);
  EXPECT_EQ(entityWord(4, 16, 1, 16), 345);
  EXPECT_EQ(entityWord(4, 16, 2, 5), 12345);
  EXPECT_EQ(entityWord(4, 16, 2, 16), 32);
  EXPECT_EQ(entityWord(4, 16, 3, 5), -12);
  EXPECT_EQ(entityWord(4, 16, 3, 16), -345);
}

TEST_F(Upgrade, ReferencesMoveAboveTheIdLimit) {
  fill(11, 3, 0);
  const std::array<int32_t, 2> n1 = {1000005, 7};
  const std::array<int32_t, 2> n2 = {1000000, 7};
  const std::array<int32_t, 2> n3 = {1000009, 7};  // beyond the highest node
  storePut(11, 1, 1, n1);
  storePut(11, 2, 1, n2);
  storePut(11, 3, 1, n3);
  MODCNT.word(kCntHighestNode) = 2;
  fill(23, 2, 0);
  std::array<int32_t, 32> block{};
  block[0] = 1500007;
  block[1] = 1000003;
  block[2] = 999999;
  block[3] = 1500000;
  storePut(23, 1, 1, block);
  block[0] = 1000001;  // word 1 of block 2: within L = 34
  block[1] = 1000001;  // word 2: beyond it
  storePut(23, 2, 1, block);
  MODCNT.word(kCntPackedListEnd) = 34;
  DBUP36();
  EXPECT_EQ(words(11), (std::vector<int32_t>{100000005, 7, 1000000, 7, 1000009, 7}));
  const std::vector<int32_t> lists = words(23);
  EXPECT_EQ(lists[0], 150000007);
  EXPECT_EQ(lists[1], 100000003);
  EXPECT_EQ(lists[2], 999999);
  EXPECT_EQ(lists[3], 100500000);
  EXPECT_EQ(lists[32], 100000001);
  EXPECT_EQ(lists[33], 1000001);

  // No packed list (end word 1, or 0) changes no block.
  for (int32_t end : {1, 0}) {
    const std::vector<int32_t> before = words(23);
    MODCNT.word(kCntPackedListEnd) = end;
    storePut(23, 1, 1, std::array<int32_t, 32>{1500007});
    DBUP36();
    EXPECT_EQ(words(23)[0], 1500007) << end;
  }
}

TEST_F(Upgrade, NodePositions) {
  fill(11, 5, 0);
  const std::array<std::array<int32_t, 2>, 5> nodes = {{
      {1234567, 0},
      {-5, std::bit_cast<int32_t>(2000005.0f)},
      {-5, std::bit_cast<int32_t>(1500.0f)},
      {0, 42},
      {100000000, 43},
  }};
  for (int32_t i = 1; i <= 5; ++i) storePut(11, i, 1, nodes[static_cast<size_t>(i - 1)]);
  DBUP70();
  EXPECT_EQ(words(11), (std::vector<int32_t>{1234567, 18518506, -5, 7000, -5, 1500000, 0, 42,
                                             100000000, 43}));
}

TEST_F(Upgrade, ConnectivityLeavesItsGroups) {
  MODCNT.word(kCntElementNodes) = 2;  // records of 3 words
  MODCNT.word(kCntOldGroupSize) = 2;
  MODCNT.word(kCntHighestElement) = 3;
  fill(13, 84, 0);  // two groups of 42 words: words 1..84 = 1..84
  int32_t status = -1;
  DBUP60(status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(REGHED.ARRLEN(13), 9);
  EXPECT_EQ(words(13), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 43, 44, 45}));

  // More elements than the groups hold, or no group size, fail.
  for (auto [group, elements] : {std::pair{2, 60}, std::pair{0, 1}, std::pair{-1, 1}}) {
    fill(13, 84, 0);
    MODCNT.word(kCntOldGroupSize) = group;
    MODCNT.word(kCntHighestElement) = elements;
    DBUP60(status);
    EXPECT_EQ(status, 1) << group << " " << elements;
  }
}

TEST_F(Upgrade, MeshReferencesBeyondTheModelAreCleared) {
  MODCNT.word(kCntHighestNode) = 8;
  MODCNT.word(kCntHighestElement) = 5;
  MODCNT.word(kCntPackedListEnd) = 11;  // positions up to 10
  MODCNT.word(kCntPoints) = 3;
  MODCNT.word(kCntLines) = 3;
  MODCNT.word(kCntSurfaces) = 1;
  MODCNT.word(kCntBodies) = 1;
  fill(24, 3 * 12, 0);
  fill(4, 3 * 16, 0);
  fill(6, 14, 0);
  fill(8, 15, 0);
  // Points: node 9 (beyond), element 6 (beyond), both within.
  setEntityWord(24, 12, 1, 6, 9);
  setEntityWord(24, 12, 1, 5, 1);
  setEntityWord(24, 12, 2, 6, 1);
  setEntityWord(24, 12, 2, 5, 6);
  setEntityWord(24, 12, 3, 6, 8);
  setEntityWord(24, 12, 3, 5, 5);
  // Lines: a list position beyond, a composite line beyond (kept), one within.
  for (int32_t l = 1; l <= 3; ++l) {
    setEntityWord(4, 16, l, 7, l == 2 ? 901 : 201);
    setEntityWord(4, 16, l, 8, 1);
    setEntityWord(4, 16, l, 9, 2);
    setEntityWord(4, 16, l, 13, l == 3 ? -10 : -11);
  }
  setEntityWord(6, 14, 1, 8, 6);
  setEntityWord(8, 15, 1, 11, 10);
  setEntityWord(8, 15, 1, 10, 5);
  setEntityWord(8, 15, 1, 9, 4);
  DBUP66();
  EXPECT_EQ(entityWord(24, 12, 1, 6), 0);
  EXPECT_EQ(entityWord(24, 12, 1, 5), 0);
  EXPECT_EQ(entityWord(24, 12, 2, 6), 0);
  EXPECT_EQ(entityWord(24, 12, 3, 6), 8);
  EXPECT_EQ(entityWord(4, 16, 1, 8), 0);
  EXPECT_EQ(entityWord(4, 16, 1, 13), 0);
  EXPECT_EQ(entityWord(4, 16, 2, 13), -11);
  EXPECT_EQ(entityWord(4, 16, 3, 13), -10);
  EXPECT_EQ(entityWord(4, 16, 3, 8), 1);
  EXPECT_EQ(entityWord(6, 14, 1, 8), 0);
  EXPECT_EQ(entityWord(8, 15, 1, 9), 4);
  EXPECT_EQ(entityWord(8, 15, 1, 11), 10);

  // Counts beyond the arrays: only the records held are visited.
  MODCNT.word(kCntPoints) = 2000000000;
  setEntityWord(24, 12, 3, 6, 99);
  DBUP66();
  EXPECT_EQ(entityWord(24, 12, 3, 6), 0);
}

TEST(DigitMask, Table) {
  struct Case {
    int32_t list, mode, mask;
  };
  const Case cases[] = {
      {1358, 0, 149},  {1358, 1, 9764864}, {-1358, 0, -149},     {0, 0, -63},
      {10, 0, 512},    {11, 0, 1024},      {9, 0, 63},           {0, 1, -63 * 65536},
      {19, 0, 1},      {1000000000, 0, 63}, {123456789, 0, 255}, {-2147483647 - 1, 0, -63},
  };
  for (const Case& c : cases) EXPECT_EQ(DIGMSK(c.list, c.mode), c.mask) << c.list << " " << c.mode;
}

}  // namespace
}  // namespace kvr::test
