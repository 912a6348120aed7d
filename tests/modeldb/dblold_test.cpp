// The load of the oldest format, 9033, whose records come through index pages: files
// built here word by word, with groups never written, the attribute list of the old
// layout and flag attributes, and damaged page-1 words that must fail the load.
#include <gtest/gtest.h>

#include "modelfilefixture.h"

namespace kvr::test {
namespace {

// Page 1 of a 9033 file: B = 1 index page, 25 descriptors at K = 100, spacing V = 1, the
// index-page table at D = 50 naming page 2. Data pages follow from page 3, one page per
// group of records.
class OldFormat : public ModelFileFixture {
 protected:
  static constexpr int32_t kK = 100;
  static constexpr int32_t kD = 50;

  struct OldArray {
    int32_t array;
    std::vector<int32_t> words;  // count x width words
    int32_t perPage = 10;
    std::vector<int32_t> missing;  // groups (from 0) whose index word is 0
  };

  std::vector<int32_t> build(const std::vector<OldArray>& arrays) {
    std::vector<int32_t> file(2 * kPs, 0);
    auto w = [&file](int32_t page, int32_t k) -> int32_t& {
      return file[static_cast<size_t>(page - 1) * kPs + static_cast<size_t>(k - 1)];
    };
    w(1, 1) = 1;
    w(1, 2) = kPs;
    w(1, 3) = 1;
    w(1, 4) = 9033;
    w(1, 6) = 25;
    w(1, 7) = kK;
    w(1, 8) = 1;
    w(1, 11) = kD;
    w(1, kD + 1) = 2;
    int32_t position = 1;
    int32_t page = 3;
    for (const OldArray& a : arrays) {
      const int32_t width = REGHED.ARRWID(a.array);
      const auto count = static_cast<int32_t>(a.words.size()) / width;
      const int32_t d = kK + 8 * (a.array - 1);
      w(1, d + 1) = position;
      w(1, d + 3) = width;
      w(1, d + 5) = 1;
      w(1, d + 6) = a.perPage;
      w(1, d + 7) = count;
      const int32_t groups = (count + a.perPage - 1) / a.perPage;
      for (int32_t q = 0; q < groups; ++q) {
        const bool gone = std::find(a.missing.begin(), a.missing.end(), q) != a.missing.end();
        w(2, position + q) = gone ? 0 : page;
        file.resize(static_cast<size_t>(page) * kPs, 0);
        for (int32_t r = 0; r < a.perPage && q * a.perPage + r < count; ++r) {
          for (int32_t j = 0; j < width; ++j) {
            w(page, r * width + j + 1) = a.words[static_cast<size_t>((q * a.perPage + r) * width + j)];
          }
        }
        ++page;
      }
      position += groups;
    }
    return file;
  }

  int32_t load(const std::vector<int32_t>& file) {
    writeWords("old.mdl", file);
    forget();
    steps.clear();
    seen.clear();
    openModel("old.mdl");
    int32_t status = -1;
    HDRCHK(2, kModelUnit, status);
    closeModel();
    return status;
  }

  // The last N message lines.
  Lines lastLines(size_t n) {
    const Lines all = messageLines();
    return Lines(all.end() - static_cast<std::ptrdiff_t>(std::min(n, all.size())), all.end());
  }

  static int32_t real(float f) { return std::bit_cast<int32_t>(f); }

  // An old model: its attribute list (array 15), labels (14), REAL values (16) and
  // INTEGER values (17), as the rewrite and the flag conversion find them.
  std::vector<OldArray> model() {
    std::vector<int32_t> state(80, 0);
    state[11] = 1;  // record word 12: MODCNT word 14, the old group size
    for (int32_t k = 30; k <= 80; ++k) state[static_cast<size_t>(k - 1)] = 500 + k;
    std::vector<int32_t> ints = state;  // values 1-80: the state record
    ints.push_back(41);               // 81-82: a type -5 entry
    ints.push_back(42);
    ints.resize(100, 77);             // 83-100: 91-100 never written
    const std::vector<int32_t> reals = {
        real(1), real(2), real(3),                    // 1-3: type 3, entity 7
        real(11), real(12), real(13), real(14),       // 4-7: type 9 with 4 values
        real(4), real(1358), real(0), real(1358),     // 8-11: flags of entity 4
        real(2), real(1358), real(0), real(25),       // 12-15: of entity 6
        real(8), real(10), real(0), real(7.9f),       // 16-19: of entity 9
    };
    const std::vector<int32_t> entries = {
        -1, 1, 1,  80, 0,  //
        3,  7, 1,  3,  0,  //
        9,  2, 4,  4,  0,  //
        -5, 3, 81, 2,  0,  //
        5,  4, 8,  4,  0,  //
        5,  6, 12, 4,  0,  //
        5,  9, 16, 4,  0,  //
    };
    return {{14, std::vector<int32_t>(14, kBlankCode), 10, {}},
            {15, entries, 10, {}},
            {16, reals, 10, {}},
            {17, ints, 10, {9}}};
  }
};

TEST_F(OldFormat, LoadsAndRewritesTheOldLayout) {
  ASSERT_EQ(load(build(model())), 0);
  EXPECT_EQ(DBFMT, 9071);
  EXPECT_EQ(steps, (std::vector<std::string>{"DBUPAL", "DBUP36", "DBUP60", "DBUP61", "DBUP63",
                                             "DBUP66", "DBUP70"}));
  // The group never written reads as INTEGER 0.
  const std::vector<int32_t> ints = words(17);
  for (int32_t j = 91; j <= 100; ++j) EXPECT_EQ(ints[static_cast<size_t>(j - 1)], 0) << j;
  EXPECT_EQ(ints[82], 77);
  // Type 3: value 1, nine zeros, the rest; type 9 with 4 values is left as it is.
  EXPECT_EQ(values(3, 7), (std::vector<int32_t>{real(1), 0, 0, 0, 0, 0, 0, 0, 0, 0, real(2), real(3)}));
  EXPECT_EQ(values(9, 2), (std::vector<int32_t>{real(11), real(12), real(13), real(14)}));
  EXPECT_EQ(values(-5, 3), (std::vector<int32_t>{41, 42, 1}));
  std::array<int32_t, kEntryWords> e{};
  storeGet(kArrEntries, attributeEntry(3, 7), 1, e);
  EXPECT_EQ(e[2], 20) << "appended after the 19 old values";
  EXPECT_EQ(e[4], 0);
  // The state record in place: values 35-77 moved to 38-80.
  const std::vector<int32_t> state = values(-1, 1);
  ASSERT_EQ(state.size(), 80u);
  EXPECT_EQ(state[33], 534);
  EXPECT_EQ(state[34], 0);
  EXPECT_EQ(state[36], 0);
  EXPECT_EQ(state[37], 535);
  EXPECT_EQ(state[79], 577);
  // Flag attributes: digit lists became masks.
  EXPECT_EQ(values(5, 4), (std::vector<int32_t>{real(4), real(9764864), real(0), real(9764864)}));
  EXPECT_EQ(values(5, 6), (std::vector<int32_t>{real(2), real(149), real(0), real(18)}));
  EXPECT_EQ(values(5, 9), (std::vector<int32_t>{real(8), real(512), real(0), real(7)}));
}

// Entries too short for their new layout are left as they are: types 3 and 4 without
// values, and the state record with fewer than 80.
TEST_F(OldFormat, ShortEntriesStayAsTheyAre) {
  std::vector<OldArray> arrays = model();
  std::vector<int32_t>& entries = arrays[1].words;
  entries[3] = 40;  // the state record: 40 values
  entries.insert(entries.end(), {4, 8, 5, 0, 0});
  arrays[0].words.insert(arrays[0].words.end(), {kBlankCode, kBlankCode});
  ASSERT_EQ(load(build(arrays)), 0);
  const std::vector<int32_t> state = values(-1, 1);
  ASSERT_EQ(state.size(), 40u);
  EXPECT_EQ(state[34], 535);
  EXPECT_EQ(state[37], 538);
  std::array<int32_t, kEntryWords> e{};
  storeGet(kArrEntries, attributeEntry(4, 8), 1, e);
  EXPECT_EQ(e, (std::array<int32_t, kEntryWords>{4, 8, 5, 0, 0}));
}

TEST_F(OldFormat, AGroupOfAnotherArrayNeverWrittenFails) {
  std::vector<OldArray> arrays = model();
  arrays.push_back({5, std::vector<int32_t>(40, 3), 10, {1}});
  EXPECT_EQ(load(build(arrays)), 1);
  EXPECT_EQ(lastLines(2), (Lines{" E1150: Cannot load database", " E2180: Page number out of range"}));
  EXPECT_EQ(REGHED.mode, 0);
}

TEST_F(OldFormat, DamagedPageOneFailsTheLoad) {
  struct Case {
    const char* what;
    int32_t word, value;
    const char* cause;
  };
  const int32_t d17 = kK + 8 * 16;
  const Case cases[] = {
      {"24 descriptors", 6, 24, " E2190: Array count error"},
      {"count beyond the file", d17 + 7, 100000, " E2180: Page number out of range"},
      {"no records per page", d17 + 6, 0, " E2180: Page number out of range"},
      {"records beyond the page", d17 + 5, 1995, " E2180: Page number out of range"},
      {"index page beyond the file", kD + 1, 99, " E2180: Page number out of range"},
      {"no index page", 3, 0, " E2180: Page number out of range"},
      {"descriptors beyond the page", 7, 1900, " E2180: Page number out of range"},
      {"index word beyond the run", d17 + 1, 1999, " E2180: Page number out of range"},
  };
  for (const Case& c : cases) {
    std::vector<int32_t> file = build(model());
    file[static_cast<size_t>(c.word - 1)] = c.value;
    EXPECT_EQ(load(file), 1) << c.what;
    EXPECT_EQ(lastLines(2), (Lines{" E1150: Cannot load database", c.cause})) << c.what;
    EXPECT_TRUE(steps.empty()) << c.what;
  }
}

TEST_F(OldFormat, AnIndexWordBeyondTheFileFails) {
  std::vector<int32_t> file = build(model());
  file[kPs] = 500;  // index word 1: the first data page of array 14
  EXPECT_EQ(load(file), 1);
  EXPECT_EQ(lastLines(2), (Lines{" E1150: Cannot load database", " E2180: Page number out of range"}));
  EXPECT_EQ(REGHED.mode, 0);
}

TEST_F(OldFormat, AnEmptyModelIsRefused) {
  std::vector<int32_t> file = build({});
  EXPECT_EQ(load(file), 1);
  EXPECT_EQ(lastLines(2), (Lines{" E1150: Cannot load database", " E1160: Database is empty"}));
}

}  // namespace
}  // namespace kvr::test
