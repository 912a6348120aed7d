// The name sequences: next free names in both name modes, the prompt for a new sequence
// and its checks, typed names noted and given back, lookups by name and name translation,
// on names put into the name arrays and attribute entries of the full model registry.
#include "command/seqnxt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "parsefixture.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/platrtn.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kBlank = 0x20202020;

// The lines handed to the host's message hook.
std::vector<std::string> gHookLines;

// An A4 name of up to eight characters.
NameWords nameOf(std::string_view s) {
  std::string t(s);
  t.resize(8, ' ');
  NameWords w{};
  for (int32_t k = 0; k < 8; ++k) {
    const auto byte = static_cast<uint32_t>(static_cast<unsigned char>(t[static_cast<size_t>(k)]));
    w[static_cast<size_t>(k / 4)] = static_cast<int32_t>(static_cast<uint32_t>(w[static_cast<size_t>(k / 4)]) |
                                                         byte << (8 * (k % 4)));
  }
  return w;
}

std::string textOf(const NameWords& w) {
  std::string s;
  for (int32_t k = 0; k < 8; ++k) {
    s.push_back(static_cast<char>(static_cast<uint32_t>(w[static_cast<size_t>(k / 4)]) >> (8 * (k % 4))));
  }
  return s;
}

class NameSequences : public test::ParseFixture {
 protected:
  void SetUp() override {
    ParseFixture::SetUp();
    const std::string_view table = " 0123456789-+=*/(),.ABCDEFGHIJKLMNOPQRSTUVWXYZ'";
    for (int32_t e = 1; e <= kModCharacters; ++e) {
      MODCON.word(kModFirstCode + e - 1) = codeOf(table[static_cast<size_t>(e - 1)]);
    }
    MODCON.word(kModWordsPerValue) = 1;
    REGHED = {};
    APPSTA = {};
    MODCNT = {};
    ARRNUM(1);
    int32_t stat = -1;
    ARRREG(2, 1, stat);
    ASSERT_EQ(stat, 0);
    NameMapFree();
    gHookLines.clear();
    setLineWriterObserver([](LineWriter w, int32_t, FText text) {
      if (w == LineWriter::HCMSG) gHookLines.push_back(text.trimmed());
    });
  }
  void TearDown() override {
    NameMapFree();
    REGHED = {};
    APPSTA = {};
    MODCNT = {};
    MODCON = {};
    gHookLines.clear();
    ParseFixture::TearDown();
  }

  static void putName(int32_t array, int32_t record, std::string_view name) {
    NameWords w = nameOf(name);
    int32_t stat = 0;
    ARRIO(-1, array, record, 1, -1, w, {}, stat);
  }
  // Names in a list whose count word is COUNTWORD, from record 1 on.
  static void names(int32_t array, int32_t countWord, std::vector<std::string_view> list) {
    for (size_t k = 0; k < list.size(); ++k) putName(array, static_cast<int32_t>(k + 1), list[k]);
    MODCNT.word(countWord) = static_cast<int32_t>(list.size());
  }
  static void points(std::vector<std::string_view> list) { names(1, kCntPoints, list); }
  // Attribute entry RECORD: its label NAME, its type and entity.
  static void attribute(int32_t record, std::string_view name, int32_t type, int32_t entity) {
    putName(kArrLabels, record, name);
    std::array<int32_t, kEntryWords> entry = {type, entity, 1, 0, 0};
    int32_t stat = 0;
    ARRIO(-1, kArrEntries, record, 1, -1, entry, {}, stat);
  }

  static void slot(int32_t k, int32_t alpha, int32_t next, int32_t highest = 0) {
    seqAlpha(k) = alpha;
    seqNext(k) = next;
    seqHighest(k) = highest;
  }
  static NameWords next(int32_t code) {
    NameWords n{-1, -1};
    SEQNXT(n, code);
    return n;
  }

  // The records that hold TAG, from the blank before it on: a message follows the
  // prompt, which is written without a new line, on the same line of the file.
  test::Lines linesWith(const test::Lines& lines, const std::string& tag) {
    test::Lines found;
    for (const std::string& l : lines) {
      const size_t at = l.find(tag);
      if (at != std::string::npos) found.push_back(l.substr(at > 0 ? at - 1 : 0));
    }
    return found;
  }
  int64_t prompts() {
    io::unitFlush(kMessageUnit);
    const std::string all = test::readFile(dir.file("messages.txt"));
    int64_t n = 0;
    const std::string p = "Enter alpha and numeric part of new sequence =>";
    for (size_t at = all.find(p); at != std::string::npos; at = all.find(p, at + 1)) ++n;
    return n;
  }
};

TEST_F(NameSequences, EightCharacterNamesSkipTakenNumbersUpToTheHighest) {
  DEFCOD(2);
  points({"P1"});
  // Above the highest number no lookup is made: P1 is given although a point carries it.
  EXPECT_EQ(next(11), (NameWords{0x20203150, kBlank}));
  EXPECT_EQ(VWDFLT.word(37), 2);
  EXPECT_EQ(VWDFLT.word(63), 1);

  points({"P1", "P2"});
  slot(1, 36000000, 1, 2);
  EXPECT_EQ(textOf(next(11)), "P3      ");
  EXPECT_EQ(seqNext(1), 4);
  EXPECT_EQ(seqHighest(1), 3);

  // "ALL" is never a name: number 0 gives the bare letters, which count as taken.
  slot(1, 21323200, 0, 5);
  EXPECT_EQ(textOf(next(11)), "ALL1    ");
  EXPECT_EQ(seqNext(1), 2);
  EXPECT_EQ(seqHighest(1), 5);

  // An attribute name of any type takes the name of a sequence too.
  slot(8, 33210000, 1, 3);
  attribute(1, "MA1", 4, 1);
  attribute(2, "MA2", 77, 2);
  EXPECT_EQ(textOf(next(18)), "MA3     ");
}

TEST_F(NameSequences, ScanRaisesTheHighestNumberFromEveryList) {
  DEFCOD(2);
  slot(1, 21220000, 1, 0);
  points({"AB7"});
  names(3, kCntLines, {"AB12X"});
  names(18, kCntSets, {"ABC3"});
  int32_t status = -1;
  SEQSCN(1, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(seqHighest(1), 7);

  // Every list counts, the attribute names and the last lists among them; a higher number
  // beyond a list's count is not read.
  attribute(1, "AB20", -7, 1);
  names(35, kCntKind46, {"XX", "AB31"});
  putName(27, 1, "AB99");
  SEQSCN(1, status);
  EXPECT_EQ(seqHighest(1), 31);
  MODCNT.word(kCntKind42) = 1;
  SEQSCN(1, status);
  EXPECT_EQ(seqHighest(1), 99);
}

TEST_F(NameSequences, TheLastNameWarnsAndAsksForTheNextSequence) {
  enableJournals();
  DEFCOD(2);
  slot(15, 21222324, 9999);
  replies("A1\nAB,100\nAB -5\nSE 1\nAB 100\n");
  EXPECT_EQ(next(9), (NameWords{0x44434241, 0x39393939}));
  // One warning, then the replies in turn.
  EXPECT_EQ(gHookLines, (std::vector<std::string>{"W1100: Next name is the last in this sequence"}));
  EXPECT_EQ(linesWith(journal1(), "W1100").size(), 1u);
  EXPECT_EQ(linesWith(journal2(), "W1100").size(), 1u);
  EXPECT_EQ(linesWith(messages(), "E14"),
            (test::Lines{" E1400: Illegal letter in name", " E1440: Alpha part of name already in use"}));
  EXPECT_EQ(prompts(), 2 * 5);  // each prompt written as a line of its own and as the prompt
}

TEST_F(NameSequences, ARepliedSequenceIsSet) {
  DEFCOD(2);
  slot(15, 21222324, 9999);
  replies("A1\nAB,100\nAB -5\nSE 1\nAB 100\n");
  NameWords n{};
  SEQNXT(n, 9);
  EXPECT_EQ(textOf(n), "ABCD9999");
  EXPECT_EQ(seqAlpha(15), 21220000);
  EXPECT_EQ(seqNext(15), 100);
  EXPECT_EQ(seqHighest(15), 9999);

  // The slot's own letters again: only the next number changes.
  const VwDflt before = VWDFLT;
  replies("P 50\n");
  EXPECT_EQ(SEQPRM(1), kSequenceAccepted);
  VwDflt want = before;
  want.word(37) = 50;
  EXPECT_EQ(VWDFLT.words, want.words);

  // Letters alone give the number 1.
  replies("QR\n");
  EXPECT_EQ(SEQPRM(2), kSequenceAccepted);
  EXPECT_EQ(seqAlpha(2), 37380000);
  EXPECT_EQ(seqNext(2), 1);
}

TEST_F(NameSequences, FourCharacterChecks) {
  DEFCOD(1);
  replies("ABC 1\nA 1000\n");
  EXPECT_EQ(SEQPRM(1), kSequenceCancelled);
  EXPECT_EQ(linesWith(messages(), "E14"),
            (test::Lines{" E1410: Max 2 characters allowed in alpha part",
                         " E1430: Too many digits in numeric part"}));
  EXPECT_EQ(seqAlpha(1), 2100);  // stored before the number was refused
  EXPECT_EQ(seqNext(1), -1);

  // 8-character mode: five letters, the limits by letters, another slot's letters.
  DEFCOD(2);
  struct Case {
    const char* letters;
    int32_t number, status;
    const char* message;
  } cases[] = {{"ABCDE", 1, 1, " E1420: Max 4 characters allowed in alpha part"},
               {"ABCD", 9999, 0, nullptr},
               {"ABCD", 10000, 1, " E1430: Too many digits in numeric part"},
               {"A", 9999999, 0, nullptr},
               {"A", 10000000, 1, " E1430: Too many digits in numeric part"},
               {"AB*", 1, 1, " E1400: Illegal letter in name"},
               {"LO", 3, 1, " E1440: Alpha part of name already in use"}};
  size_t shown = linesWith(messages(), "E14").size();
  for (const Case& c : cases) {
    const std::vector<int32_t> alpha = codes(c.letters);
    int32_t status = -1;
    SEQCHK(15, alpha, static_cast<int32_t>(alpha.size()), c.number, status);
    EXPECT_EQ(status, c.status) << c.letters << " " << c.number;
    const test::Lines now = linesWith(messages(), "E14");
    ASSERT_EQ(now.size(), shown + (c.message != nullptr ? 1 : 0)) << c.letters;
    if (c.message != nullptr) {
      EXPECT_EQ(now.back(), c.message);
    }
    shown = now.size();
  }
  EXPECT_EQ(seqAlpha(15), 21000000);
  EXPECT_EQ(seqNext(15), 9999999);
}

TEST_F(NameSequences, FourCharacterNamesCarryIntoTheLetter) {
  DEFCOD(1);
  struct Case {
    int32_t alpha, next;
    int32_t word;
    int32_t after;
  } cases[] = {
      {3600, 1000, 0x30303051, 1001},  // Q000
      {3600, 999, 0x39393950, 1000},   // P999
      {3600, 5, 0x20203550, 6},        // P5
      {3600, -1, 0x20203150, 2},       // P1: the magnitude
      {4600, 1000, 0x30303041, 1001},  // Z carried to A
      {4600, 27000, 0x30303041, 27001},  // carried twice round
      {3925, 100, 0x30304653, 101},    // SF00
      {3925, 7, 0x20374553, 8},        // SE7
  };
  for (const Case& c : cases) {
    slot(1, c.alpha, c.next);
    const NameWords n = next(11);
    EXPECT_EQ(n[0], c.word) << c.alpha << " " << c.next << " " << textOf(n);
    EXPECT_EQ(n[1], kBlank);
    EXPECT_EQ(seqNext(1), c.after) << c.alpha << " " << c.next;
  }

  // Taken names are skipped; the next number follows each name tried.
  points({"P5", "P6"});
  slot(1, 3600, 5);
  EXPECT_EQ(textOf(next(11)), "P7      ");
  EXPECT_EQ(seqNext(1), 8);
}

TEST_F(NameSequences, AFullRoundOfFourCharacterNamesEndsTheSearch) {
  DEFCOD(1);
  // Every name of the two-letter sequence SE, SE00 to SD99, made a point: the names repeat
  // after 26 x 100 numbers, so the search stops after one round.
  slot(5, 3925, 0);
  std::vector<std::string> made;
  for (int32_t k = 0; k < 2600; ++k) made.push_back(textOf(next(15)));
  EXPECT_EQ(made.front(), "SE00    ");
  EXPECT_EQ(made.back(), "SD99    ");
  EXPECT_EQ(std::set<std::string>(made.begin(), made.end()).size(), 2600u);
  for (size_t k = 0; k < made.size(); ++k) putName(1, static_cast<int32_t>(k + 1), made[k]);
  MODCNT.word(kCntPoints) = 2600;
  slot(5, 3925, 0);
  EXPECT_EQ(textOf(next(15)), "SD99    ");
  EXPECT_EQ(seqNext(5), 2600);
  slot(5, 3925, -7);
  SEQUPD(15);
  EXPECT_EQ(seqNext(5), 2607);
}

TEST_F(NameSequences, NotedNamesInEightCharacterMode) {
  DEFCOD(2);
  struct Case {
    const char* typed;
    int32_t commit;
    int32_t result, next, highest;
  } cases[] = {
      {"P3", 1, 3, 4, 5},  {"P9", 1, 0, 3, 9}, {"P9", 0, 0, 3, 5}, {"P0", 1, 1, 3, 5},
      {"Q1", 1, 1, 3, 5},  {"P", 1, 1, 3, 5},  {"P3X", 1, 1, 3, 5}, {"P5", 0, 5, 3, 5},
  };
  for (const Case& c : cases) {
    slot(1, 36000000, 3, 5);
    const std::vector<int32_t> typed = codes(c.typed);
    int32_t result = -9;
    SEQNOT(typed, static_cast<int32_t>(typed.size()), 11, c.commit, result);
    EXPECT_EQ(result, c.result) << c.typed;
    EXPECT_EQ(seqNext(1), c.next) << c.typed;
    EXPECT_EQ(seqHighest(1), c.highest) << c.typed;
  }
  // The first slot whose letters begin the name and leave a number decides: S leaves "E4".
  slot(5, 39250000, 4, 0);
  const std::vector<int32_t> typed = codes("SE4");
  int32_t result = -9;
  SEQNOT(typed, 3, 13, 1, result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(seqNext(5), 5);
  EXPECT_EQ(seqHighest(5), 4);
  EXPECT_EQ(seqNext(3), 1);
}

TEST_F(NameSequences, NotedAndReturnedNamesInFourCharacterMode) {
  DEFCOD(1);
  struct Case {
    int32_t alpha, next;
    const char* typed;
    int32_t after;
  } cases[] = {
      {3600, 5, "P5", 6},    {3600, 5, "P6", 5},     {3600, 5, "Q5", 5},
      {3600, 1000, "Q000", 1001}, {3600, 1000, "Q0", 1001}, {4600, 1000, "A000", 1001},
      {3925, 100, "SF00", 101}, {3925, 100, "SE00", 100},
  };
  for (const Case& c : cases) {
    slot(1, c.alpha, c.next);
    const std::vector<int32_t> typed = codes(c.typed);
    int32_t result = -9;
    SEQNOT(typed, static_cast<int32_t>(typed.size()), 11, 1, result);
    EXPECT_EQ(seqNext(1), c.after) << c.alpha << " " << c.typed;
    EXPECT_EQ(result, -9) << c.typed;  // no result in this mode
  }
  // A sequence not yet settled is settled first.
  points({"P1", "P2"});
  slot(1, 3600, -1);
  int32_t result = 0;
  const std::vector<int32_t> p3 = codes("P3");
  SEQNOT(p3, 2, 11, 1, result);
  EXPECT_EQ(seqNext(1), 4);
  slot(1, 3600, -1);
  SEQUPD(11);
  EXPECT_EQ(seqNext(1), 3);

  // Given back: a lower number becomes the next.
  struct Back {
    int32_t alpha, next;
    const char* name;
    int32_t after;
  } back[] = {
      {3600, 10, "P5", 5},     {3600, 10, "Q5", 10},     {3600, 10, "P", 10},
      {3600, 2000, "Q5", 1005}, {3600, 2000, "A5", 2000}, {3925, 300, "SF5", 105},
      {3925, 300, "TE5", 300},  {3925, 300, "S5", 300},   {3600, -20, "P7", 7},
  };
  points({});
  for (const Back& b : back) {
    slot(1, b.alpha, b.next);
    SEQRET(nameOf(b.name), 11);
    EXPECT_EQ(seqNext(1), b.after) << b.alpha << " " << b.name;
  }
  // Nothing in 8-character mode.
  DEFCOD(2);
  slot(1, 36000000, 10, 10);
  SEQRET(nameOf("P5"), 11);
  EXPECT_EQ(seqNext(1), 10);
}

TEST_F(NameSequences, LookupsByName) {
  points({"P1", "P2", "P3", "ROOF"});
  attribute(1, "TC1", -7, 6);
  attribute(2, "ODD", 7, 8);
  names(18, kCntSets, {"SE1", "SETA"});
  struct Case {
    int32_t mode;
    NameWords name;
    int32_t code, number;
  } cases[] = {
      {1, nameOf("ALL"), 0, -1},
      {2, nameOf("ALL"), 0, -1},
      {2, {std::bit_cast<int32_t>(12.0f), 0}, 5, 12},
      {2, {std::bit_cast<int32_t>(2.95f), 0}, 5, 3},
      {2, {std::bit_cast<int32_t>(-1.0e20f), 0}, 5, -2147483647 - 1},  // clamped
      {1, nameOf("ROOF"), 11, 4},
      {1, nameOf("TC1"), 37, 6},
      {1, nameOf("ODD"), 99, 8},
      {1, nameOf("SETA"), 15, 2},
      {1, nameOf("NONE"), 0, 0},
  };
  for (const Case& c : cases) {
    int32_t code = -9;
    int32_t number = -9;
    ENTARR(c.mode, c.name, code, number);
    EXPECT_EQ(code, c.code) << textOf(c.name);
    EXPECT_EQ(number, c.number) << textOf(c.name);
  }
  // Beyond the count a name is not found.
  MODCNT.word(kCntPoints) = 3;
  int32_t record = -1;
  int32_t array = -1;
  int32_t fourth = -1;
  seq::NAMFND(nameOf("ROOF"), record, array, fourth);
  EXPECT_EQ((std::array{record, array, fourth}), (std::array{0, 0, 0}));
  seq::NAMFND(nameOf("SE1"), record, array, fourth);
  EXPECT_EQ((std::array{record, array, fourth}), (std::array{1, 18, 0}));
}

TEST_F(NameSequences, NameTranslation) {
  DEFCOD(2);
  std::vector<int32_t> line = codes("PT          ");
  int32_t length = 2;
  int32_t status = -9;
  NAMXLT(line, 1, length, 21, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(length, 8);
  EXPECT_EQ(chars(line, 1, 12), "P1          ");
  EXPECT_EQ(seqNext(1), 2);

  // The second PT takes P1 from the map; an existing-object kind finds it too.
  line = codes("PT");
  line.resize(10, codeOf('X'));
  length = 2;
  NAMXLT(line, 1, length, 21, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(chars(line, 1, 10), "P1      XX");
  EXPECT_EQ(seqNext(1), 2);
  line = codes("  PT");
  length = 2;
  NAMXLT(line, 3, length, 1, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(length, 2);  // only two positions were left in the line
  EXPECT_EQ(chars(line, 1, 4), "  P1");

  line = codes("QQ");
  length = 2;
  NAMXLT(line, 1, length, 1, status);
  EXPECT_EQ(status, -1);
  EXPECT_EQ(chars(line, 1, 2), "QQ");
  NAMXLT(line, 1, length, 34, status);
  EXPECT_EQ(status, 10);

  // The key is the first eight characters of the token.
  line = codes("LONGNAME12 ");
  length = 10;
  NAMXLT(line, 1, length, 22, status);
  EXPECT_EQ(chars(line, 1, 11), "L1      12 ");
  std::string value(8, '?');
  std::string key = "LONGNAME";
  int32_t entry = 0;
  NameMapLookup(FText(key), FText(value), entry);
  EXPECT_NE(entry, 0);
  EXPECT_EQ(value, "L1      ");
}

TEST_F(NameSequences, ACancelledPromptLeavesTheSequence) {
  DEFCOD(2);
  for (const char* typed : {"", "/\n", " / \n"}) {
    slot(15, 21222324, 9999);
    replies(typed);
    const VwDflt before = VWDFLT;
    EXPECT_EQ(textOf(next(9)), "ABCD9999") << typed;
    VwDflt want = before;
    want.word(62 + 15) = 9999;  // the highest number covers the name given
    EXPECT_EQ(VWDFLT.words, want.words) << typed;
  }

  // A typed ABCD9999 moves the next number past the limit: the next call asks before it
  // builds a name, and cancelled gives the last name without a ninth character.
  slot(15, 21222324, 9999, 9999);
  const std::vector<int32_t> typed = codes("ABCD9999");
  int32_t result = -1;
  SEQNOT(typed, 8, 9, 1, result);
  EXPECT_EQ(seqNext(15), 10000);
  gHookLines.clear();
  replies("");
  const int64_t before = prompts();
  EXPECT_EQ(textOf(next(9)), "ABCD9999");
  EXPECT_EQ(gHookLines.size(), 1u);
  EXPECT_EQ(prompts(), before + 2);
  EXPECT_EQ(seqNext(15), 10000);

  NameWords n{};
  int32_t letters = 0;
  SEQNM8(n, 9, 10000, letters);
  EXPECT_EQ(textOf(n), "ABCD    ");
  EXPECT_EQ(letters, 4);
  SEQNM8(n, 9, -3, letters);
  EXPECT_EQ(textOf(n), "ABCD    ");
  SEQNM8(n, 9, 0, letters);
  EXPECT_EQ(textOf(n), "ABCD    ");
  SEQNM8(n, 9, 12, letters);
  EXPECT_EQ(textOf(n), "ABCD12  ");
}

TEST_F(NameSequences, CodesWithoutASlotAndLettersOutsideTheTable) {
  DEFCOD(2);
  const VwDflt before = VWDFLT;
  for (int32_t code : {0, 10, 48, -1000, 2147483647, -2147483647 - 1}) {
    EXPECT_EQ(next(code), (NameWords{kBlank, kBlank})) << code;
    NameWords n{-1, -1};
    int32_t letters = -1;
    SEQNM8(n, code, 5, letters);
    EXPECT_EQ(n, (NameWords{kBlank, kBlank})) << code;
    EXPECT_EQ(letters, 0);
  }
  EXPECT_EQ(VWDFLT.words, before.words);
  // A negative code takes the slot of its magnitude.
  EXPECT_EQ(textOf(next(-12)), "L1      ");

  // A letter index outside the 47 entries is a blank.
  slot(1, 99480000, 5, 0);
  EXPECT_EQ(textOf(next(11)), "  5     ");
  DEFCOD(1);
  slot(1, 0, 5);  // a slot never filled
  EXPECT_EQ(textOf(next(11)), " 5      ");
}

TEST_F(NameSequences, PackedCharactersAndLimits) {
  int32_t word = 0x44434241;
  SEQCOD(3, word, codeOf('X'));
  EXPECT_EQ(word, 0x44584241);
  for (int32_t position : {0, 5, -1}) {
    SEQCOD(position, word, codeOf('Y'));
    EXPECT_EQ(word, 0x44584241);
  }
  struct Case {
    int32_t next, letters;
    bool below;
  } cases[] = {{9999998, 1, true}, {9999999, 1, false}, {999998, 2, true}, {999999, 2, false},
               {99999, 3, false},  {9998, 4, true},     {9999, 4, false},  {1, 0, false},
               {1, 5, false}};
  for (const Case& c : cases) {
    seqNext(3) = c.next;
    EXPECT_EQ(SEQLIM(3, c.letters), c.below) << c.next << " " << c.letters;
  }
}

}  // namespace
}  // namespace kvr
