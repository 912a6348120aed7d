#include "command/ansrec.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "../runtime/msgfixture.h"
#include "command/cmdlin.h"
#include "modeldb/arrreg.h"
#include "modeldb/corsto.h"
#include "platform/memory.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

using test::Lines;

// The answer store set up as the reading road does (ARRREG mode 4), with the message unit
// written to a file.
class AnswerStore : public test::MessageFixture {
 protected:
  void SetUp() override {
    MessageFixture::SetUp();
    CHRSET();
    CoreFreeFile(-1);
    ARRDSC = {};
    CMDLIN = {};
    int32_t stat = -1;
    ARRREG(4, 0, stat);
    ASSERT_EQ(stat, 0);
  }
  void TearDown() override {
    CoreFreeFile(-1);
    ARRDSC = {};
    CMDLIN = {};
    MessageFixture::TearDown();
  }

  static int32_t& size() { return ARRDSC.ARRLEN(1); }

  // Word W of the answer array, read past the accessors.
  static int32_t storeWord(int32_t w) {
    std::vector<int32_t> word(1);
    int32_t stat = -1;
    CoreGet(ARRDSC.file, ARRDSC.ARRCOR(1), w, 1, -1, word, {}, stat);
    EXPECT_EQ(stat, 0) << w;
    return word[0];
  }

  // The two lines of M830 as the message unit holds them.
  static Lines m830(int32_t status, const std::string& name, int32_t record) {
    return {" M830: Error with command processor memory",
            " Error < " + std::to_string(status) + " >  Function < " + name +
                " >  Menu offset < " + std::to_string(record) + " >"};
  }
};

TEST_F(AnswerStore, GetsBeforeAnyPutFailWithStatus6) {
  EXPECT_EQ(size(), 0);
  EXPECT_EQ(ITEM(1), 0);
  EXPECT_EQ(messages(), m830(6, "ITEM", 1));
  EXPECT_EQ(size(), 0);
}

TEST_F(AnswerStore, PutsGrowTheStoreByTheMissingWordsOnly) {
  int32_t status = -1;
  P4ULS2(100, 0, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(size(), 800);
  EXPECT_EQ(ITEM(100), 0);
  EXPECT_EQ(ITEM(101), 0);
  P4ULS2(101, 0, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(size(), 808);
  // A put inside the size does not grow it.
  P4ITEM(3, 5, status);
  EXPECT_EQ(size(), 808);
  EXPECT_EQ(ITEM(0), 0);
  EXPECT_EQ(MMUTYP(200), 2);
  EXPECT_EQ(MMUTYP(-3), 2);
  Lines expected = m830(6, "ITEM", 101);
  for (const Lines& more : {m830(5, "ITEM", 0), m830(6, "MMUTYP", 200), m830(5, "MMUTYP", -3)}) {
    expected.insert(expected.end(), more.begin(), more.end());
  }
  EXPECT_EQ(messages(), expected);
  // A record number far out of range is refused, not wrapped into the store.
  EXPECT_EQ(INTS(2147483647), 0);
  EXPECT_EQ(INTS(-2147483647 - 1), 0);
}

TEST_F(AnswerStore, EachAccessorReachesItsWordOfTheRecord) {
  struct Field {
    const char* name;
    std::function<void(int32_t, int32_t, int32_t&)> put;
    std::function<int32_t(int32_t)> get;  // nullptr: no get accessor
    int32_t word;                         // in record 1
  };
  const Field fields[] = {
      {"ITEM", P4ITEM, ITEM, 1},    {"MNOF", P4MNOF, MENOFF, 2},  {"INT", P4INT, INTS, 3},
      {"ULST", P4ULST, MMULST, 5},  {"OPER", P4OPER, MMOPER, 6},  {"UTYP", P4UTYP, MMUTYP, 7},
      {"ULS2", P4ULS2, nullptr, 8},
  };
  int32_t value = 1000;
  for (const Field& f : fields) {
    int32_t status = -1;
    f.put(2, ++value, status);
    EXPECT_EQ(status, 0) << f.name;
    EXPECT_EQ(storeWord(8 + f.word), value) << f.name;
    if (f.get) {
      EXPECT_EQ(f.get(2), value) << f.name;
    }
  }
  EXPECT_EQ(storeWord(11), 1003);  // P4INT(2, ...) is word 11
  EXPECT_EQ(messages(), Lines{});
}

TEST_F(AnswerStore, RealsPassBitForBit) {
  int32_t status = -1;
  P4REAL(2, -0.0f, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(std::bit_cast<uint32_t>(REALS(2)), 0x80000000u);
  EXPECT_EQ(static_cast<uint32_t>(storeWord(12)), 0x80000000u);
  P4REAL(3, std::bit_cast<float>(0x7FC00001u), status);
  EXPECT_EQ(std::bit_cast<uint32_t>(REALS(3)), 0x7FC00001u);
  EXPECT_EQ(REALS(50), 0.0f);
  EXPECT_EQ(messages(), m830(6, "REALS", 50));
}

TEST_F(AnswerStore, FailuresNameTheAccessorAsSpelled) {
  // Without a set-up the answer array is outside the store's arrays: status 3 everywhere.
  CoreFreeFile(-1);
  ARRDSC = {};
  const std::function<int32_t(int32_t)> gets[] = {ITEM, MENOFF, INTS, MMULST, MMOPER};
  for (const auto& get : gets) EXPECT_EQ(get(1), 0);
  EXPECT_EQ(MMUTYP(1), 2);
  EXPECT_EQ(REALS(1), 0.0f);
  const std::function<void(int32_t, int32_t, int32_t&)> puts[] = {
      P4ITEM, P4MNOF, P4INT, P4ULST, P4OPER, P4UTYP, P4ULS2};
  for (const auto& put : puts) {
    int32_t status = -1;
    put(1, 9, status);
    EXPECT_EQ(status, 1);
  }
  int32_t status = -1;
  P4REAL(1, 1.0f, status);
  EXPECT_EQ(status, 1);
  Lines expected;
  for (const char* name : {"ITEM", "MENOFF", "INTS", "MMULST", "MMOPER", "MMUTYP", "REALS",
                           "P4ITEM", "P4MNOF", "P4INT", "P4ULST", "P4OPER", "P4UTYP", "P4ULS2",
                           "P4REAL"}) {
    const Lines lines = m830(3, name, 1);
    expected.insert(expected.end(), lines.begin(), lines.end());
  }
  EXPECT_EQ(messages(), expected);
}

TEST_F(AnswerStore, AGrowthWithoutMemoryFailsWithStatus4) {
  int32_t status = -1;
  {
    mem::ScopedHook hook;
    mem::hook::failAll();
    P4ITEM(5, 1, status);
  }
  EXPECT_EQ(status, 1);
  EXPECT_EQ(size(), 0);
  EXPECT_EQ(messages(), m830(4, "P4ITEM", 5));
}

TEST_F(AnswerStore, AccessChecksInTheirOrder) {
  std::vector<int32_t> words(2, -1);
  int32_t sizeWord = 3;
  int32_t status = -1;
  const int32_t file = ARRDSC.file;
  const int32_t array = ARRDSC.ARRCOR(1);
  ANSACC(0, file, 4, 5, 0, 1, -1, sizeWord, words, {}, status);
  EXPECT_EQ(status, 3);
  ANSACC(0, file, 4, 0, 1, 1, -1, sizeWord, words, {}, status);
  EXPECT_EQ(status, 3);
  ANSACC(-1, file, 4, array, 0, 1, -1, sizeWord, words, {}, status);
  EXPECT_EQ(status, 5);
  ANSACC(0, file, 4, array, 2, 2, -1, sizeWord, words, {}, status);  // words 2 and 3
  EXPECT_EQ(status, 2);  // inside the size, but no page yet
  ANSACC(0, file, 4, array, 3, 2, -1, sizeWord, words, {}, status);  // words 3 and 4
  EXPECT_EQ(status, 6);
  EXPECT_EQ(sizeWord, 3);
  words = {7, 8};
  ANSACC(-1, file, 4, array, 3, 2, -1, sizeWord, words, {}, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(sizeWord, 4);
  ANSACC(-1, 2, 4, array, 1, 1, -1, sizeWord, words, {}, status);  // no such array in file 2
  EXPECT_EQ(status, 1);
}

class AnswerTexts : public AnswerStore {
 protected:
  // Puts TEXT into the answer text store from position START on.
  static void store(const std::string& text, int32_t start) {
    for (size_t k = 0; k < text.size(); ++k) {
      CMDLIN.text(start + static_cast<int32_t>(k)) = codeOf(text[k]);
    }
  }
  struct Resolved {
    std::string text;  // the line as characters
    int32_t count;
    int32_t length;
  };
  static Resolved txtref(int32_t reference, int32_t maximum, size_t capacity = 12) {
    std::vector<int32_t> line(capacity, codeOf('#'));
    Resolved r{"", -1, -1};
    TXTREF(reference, maximum, line, r.count, r.length);
    for (int32_t code : line) r.text.push_back(charOf(code));
    return r;
  }
};

TEST_F(AnswerTexts, ReferencesResolveInsideTheStore) {
  store("\"ab cd\"", 1);
  store("ABCDE", 12);
  store("\"", 20);
  store("LAST12", 250);
  EXPECT_EQ(textReference(12, 5), -3077);
  struct Case {
    int32_t reference;
    int32_t maximum;
    size_t capacity;
    const char* text;
    int32_t count;
    int32_t length;
  };
  const Case cases[] = {
      {-3077, 3, 6, "ABC###", 3, 5},
      {-3077, 8, 10, "ABCDE   ##", 5, 5},
      {-263, 10, 10, "ab cd     ", 5, 5},      // the quotes dropped
      {-5121, 3, 4, "\"  #", 1, 1},             // a lone quote stays
      {-(256 * 250 + 10), 10, 10, "LAST12    ", 6, 10},  // runs past 255
      {-(256 * 250 + 10), 4, 6, "LAST##", 4, 10},
      {0, 4, 6, "    ##", 0, 0},
      {5, 4, 6, "    ##", 0, 0},
      {-3077, 20, 6, "ABCDE ", 5, 5},            // cut at the line's capacity
      {-3077, 0, 3, "###", 0, 5},
      {-3077, -4, 3, "###", 0, 5},
      {-(256 * 256 + 3), 3, 3, "   ", 0, 3},     // starts beyond the store
      {-3, 3, 3, "   ", 0, 3},                   // starts before it
      {-2147483647 - 1, 3, 3, "   ", 0, 0},
  };
  for (const Case& c : cases) {
    const Resolved r = txtref(c.reference, c.maximum, c.capacity);
    EXPECT_EQ(r.text, c.text) << c.reference << " max " << c.maximum;
    EXPECT_EQ(r.count, c.count) << c.reference << " max " << c.maximum;
    EXPECT_EQ(r.length, c.length) << c.reference << " max " << c.maximum;
  }
}

TEST_F(AnswerTexts, AnstxtKeepsTheQuotes) {
  store("\"ab cd\"", 1);
  int32_t status = -1;
  P4ITEM(1, -263, status);
  ASSERT_EQ(status, 0);
  std::vector<int32_t> line(10, 0);
  int32_t count = -1;
  int32_t length = -1;
  ANSTXT(1, 10, line, count, length);
  EXPECT_EQ(count, 7);
  EXPECT_EQ(length, 7);
  EXPECT_EQ(line[0], codeOf('"'));
  EXPECT_EQ(line[6], codeOf('"'));
  EXPECT_EQ(line[7], kBlankCode);
  // A record that cannot be read names no text.
  ANSTXT(40, 10, line, count, length);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(line[0], kBlankCode);
  EXPECT_EQ(messages(), m830(6, "ITEM", 40));
}

}  // namespace
}  // namespace kvr
