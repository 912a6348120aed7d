// The header check and the load of a model file: the refusals of HDRCHK with their
// messages, the header directory of the older formats (DBADIR), and the loads that a
// damaged or truncated file must fail instead of reading past it.
#include <gtest/gtest.h>

#include <sstream>

#include "modelfilefixture.h"
#include "platform/memory.h"

namespace kvr::test {
namespace {

class HeaderCheck : public ModelFileFixture {
 protected:
  // A small model saved as "m.mdl": three points and a line, the state entries.
  void SetUp() override {
    ModelFileFixture::SetUp();
    model();
    save("m.mdl");
  }

  static void model() {
    MODCNT.word(kCntPoints) = 3;
    MODCNT.word(kCntLines) = 1;
    MODCNT.word(kCntOldGroupSize) = 1;
    fill(1, 3, 100);
    fill(2, 3, 200);
    fill(3, 1, 300);
    fill(4, 16, 400);
    fill(24, 36, 2400);
  }

  // The tags of the message lines written since the last call ("E1150:", "M431:"..).
  std::vector<std::string> tags() {
    std::vector<std::string> all = messageLines();
    std::vector<std::string> out;
    for (size_t k = consumed_; k < all.size(); ++k) {
      std::istringstream in(all[k]);
      std::string tag;
      in >> tag;
      // The further lines of a message carry no tag.
      if (tag.size() > 2 && tag.back() == ':' && std::isupper(static_cast<unsigned char>(tag[0]))) {
        out.push_back(tag);
      }
    }
    consumed_ = all.size();
    return out;
  }

  int32_t check(int32_t mode, const std::string& name = "m.mdl") {
    seen.clear();
    tags();
    openModel(name);
    int32_t status = -9;
    HDRCHK(mode, kModelUnit, status);
    closeModel();
    return status;
  }

 private:
  size_t consumed_ = 0;
};

TEST_F(HeaderCheck, RefusalsPostTheirCauseAndValues) {
  struct Case {
    int32_t mode, word, value;
    std::vector<std::string> tags;
    Message message;
  };
  const Case cases[] = {
      {1, kHeadValidity, 0, {"E1150:", "E1130:", "M431:"}, {431, {0, 9071, 2000}}},
      {1, kHeadPageSize, 1000, {"E1150:", "E1110:", "M432:"}, {432, {1000, 9071, 2000}}},
      {1, kHeadFormat, 9072, {"E1150:", "E1100:", "M433:"}, {433, {9072, 9071}}},
      {1, kHeadFormat, 9030, {"E1150:", "E1120:", "M433:"}, {433, {9030, 9071}}},
      {1, kHeadFormat, 9069, {"E1150:", "E1120:", "M433:"}, {433, {9069, 9071}}},
      {1, kHeadFormat, 9070, {"E1150:", "W2100:", "M433:"}, {433, {9070, 9071}}},
      {1, kHeadFormat, 9033, {"E1150:", "W2100:", "M433:"}, {433, {9033, 9071}}},
      {2, kHeadFormat, 9071, {"E1150:", "W2100:", "M433:"}, {433, {9071, 9071}}},
      {2, kHeadFormat, 9039, {"E1150:", "E1120:", "M433:"}, {433, {9039, 9071}}},
  };
  for (const Case& c : cases) {
    save("m.mdl");
    setHead("m.mdl", c.word, c.value);
    EXPECT_EQ(check(c.mode), 1) << c.value;
    const std::vector<std::string> t = tags();
    // W2100 reaches the journals only; the message unit shows the others.
    std::vector<std::string> want;
    for (const std::string& s : c.tags) {
      if (s != "W2100:") want.push_back(s);
    }
    EXPECT_EQ(t, want) << c.value;
    EXPECT_EQ(seen, (std::vector<Message>{c.message})) << c.value;
    EXPECT_EQ(REGHED.ARRLEN(1), 3) << "nothing loaded";
  }
  const Lines j = journal1();
  EXPECT_TRUE(std::any_of(j.begin(), j.end(), [](const std::string& l) {
    return l.find("W2100: Database is wrong type for required action") != std::string::npos;
  }));
}

TEST_F(HeaderCheck, ANewModelNeedsOnlyTheBuffer) {
  DBFMT = 0;
  DBHEAD.title.fill(0);
  EXPECT_EQ(check(0), 0);
  EXPECT_EQ(DBFMT, 9071);
  EXPECT_TRUE(std::all_of(DBHEAD.title.begin(), DBHEAD.title.end(),
                          [](int32_t c) { return c == kBlankCode; }));
  EXPECT_TRUE(tags().empty());

  DBPARM.pageFactor2 = 3;  // PS 6000 does not fit a buffer of 4000 words
  EXPECT_EQ(check(0), 1);
  EXPECT_EQ(tags(), (std::vector<std::string>{"E1150:", "E1140:"}));
  EXPECT_EQ(DBHEAD.pageSize, 6000);
}

TEST_F(HeaderCheck, AnEmptyFileIsRefusedAsAPageOutOfRange) {
  writeFile(dir.file("empty.mdl"), "");
  EXPECT_EQ(check(1, "empty.mdl"), 1);
  EXPECT_EQ(tags(), (std::vector<std::string>{"E1150:", "E2180:"}));
  EXPECT_TRUE(seen.empty());
}

TEST_F(HeaderCheck, CurrentFormatLoadsInModeOne) {
  const Image before = image();
  forget();
  EXPECT_EQ(check(1), 0);
  EXPECT_EQ(image(), before);
  EXPECT_EQ(steps, (std::vector<std::string>{"DBUPAL"}));
  EXPECT_EQ(DBFMT, 9071);
}

TEST_F(HeaderCheck, OlderFormatsLoadInModeTwo) {
  setHead("m.mdl", kHeadFormat, 9070);
  forget();
  EXPECT_EQ(check(2), 0);
  EXPECT_EQ(DBFMT, 9071);
  EXPECT_EQ(REGHED.ARRLEN(24), 36);
  // Points kept their record counts: 9070 counts need no correction.
  EXPECT_EQ(words(1), (std::vector<int32_t>{101, 102, 103, 104, 105, 106}));
}

TEST_F(HeaderCheck, DirectoryReadsTheCountsOfEachFormat) {
  // Only page 1 is read: a one-page file with counts 1..37 = 1..37.
  struct Case {
    int32_t format;
    int32_t n;
    bool oldTitle;
    bool display;
  };
  const Case cases[] = {{9071, 37, false, true}, {9066, 37, false, true}, {9065, 33, false, false},
                        {9064, 32, false, false}, {9063, 30, false, false},
                        {9062, 30, false, false}, {9061, 26, true, false}};
  for (const Case& c : cases) {
    std::vector<int32_t> page(kPs, 0);
    page[0] = 1;
    page[1] = kPs;
    page[3] = c.format;
    for (int32_t k = 1; k <= 37; ++k) page[static_cast<size_t>(9 + k)] = k;
    for (int32_t j = 0; j < 240; ++j) page[static_cast<size_t>(200 + j)] = 5000 + j;
    for (int32_t j = 0; j < 20; ++j) page[static_cast<size_t>(120 + j)] = 6000 + j;
    for (int32_t j = 0; j < 50; ++j) page[static_cast<size_t>(501 + j)] = 7000 + j;
    page[150] = 151;
    page[100] = 101;
    page[106] = 107;
    page[500] = 501;
    writeWords("h.mdl", page);
    openModel("h.mdl");
    freshRegistry();
    std::array<int32_t, DbHead::kRecordWords> record{};
    std::array<int32_t, 37> counts{};
    std::array<int32_t, 240> title{};
    std::array<int32_t, 50> display{};
    int32_t status = -1;
    DBADIR(1, kModelUnit, record, counts, title, display, status);
    closeModel();
    ASSERT_EQ(status, 0) << c.format;
    EXPECT_EQ(record[0], c.format);
    EXPECT_EQ(record[1], c.n);
    EXPECT_EQ(record[2], 151);
    EXPECT_EQ(record[8], 101);
    EXPECT_EQ(record[15], 107);
    EXPECT_EQ(record[21], 501);
    for (int32_t k = 1; k <= 37; ++k) {
      // Below 9070 the entity arrays held their counts in records.
      int32_t factor = 1;
      if (c.format < 9070) {
        factor = k == 4 ? 16 : k == 6 ? 14 : k == 8 ? 15 : k == 10 ? 20 : k == 24 ? 12 : 1;
      }
      const int32_t want = k <= c.n ? k * factor : 0;
      EXPECT_EQ(REGHED.ARRLEN(k), want) << c.format << " array " << k;
      EXPECT_EQ(counts[static_cast<size_t>(k - 1)], want) << c.format << " array " << k;
    }
    EXPECT_EQ(title[0], c.oldTitle ? 6000 : 5000) << c.format;
    EXPECT_EQ(title[19], c.oldTitle ? 6019 : 5019) << c.format;
    EXPECT_EQ(title[20], c.oldTitle ? kBlankCode : 5020) << c.format;
    EXPECT_EQ(title[239], c.oldTitle ? kBlankCode : 5239) << c.format;
    EXPECT_EQ(display[0], c.display ? 7000 : kBlankCode) << c.format;
    EXPECT_EQ(display[49], c.display ? 7049 : kBlankCode) << c.format;
  }
}

TEST_F(HeaderCheck, DirectoryCorrectsOldCounts) {
  struct Case {
    int32_t format, array, stored, records;
  };
  const Case cases[] = {{9065, 4, 2, 32}, {9038, 13, 2, 84}, {9060, 13, 2, 2}, {9070, 24, 2, 2}};
  for (const Case& c : cases) {
    std::vector<int32_t> page(kPs, 0);
    page[0] = 1;
    page[1] = kPs;
    page[3] = c.format;
    page[static_cast<size_t>(9 + c.array)] = c.stored;
    writeWords("h.mdl", page);
    openModel("h.mdl");
    std::array<int32_t, DbHead::kRecordWords> record{};
    std::array<int32_t, 37> counts{};
    std::array<int32_t, 240> title{};
    std::array<int32_t, 50> display{};
    int32_t status = -1;
    DBADIR(1, kModelUnit, record, counts, title, display, status);
    closeModel();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(REGHED.ARRLEN(c.array), c.records) << c.format;
  }
}

TEST_F(HeaderCheck, DirectoryStatuses) {
  struct Case {
    int32_t word, value, status;
  };
  const Case cases[] = {{kHeadFormat, 9033, 1}, {kHeadFormat, 9067, 2}, {kHeadValidity, 2, 3},
                        {kHeadPageSize, 4000, 4}};
  for (const Case& c : cases) {
    save("m.mdl");
    setHead("m.mdl", c.word, c.value);
    openModel("m.mdl");
    std::array<int32_t, DbHead::kRecordWords> record{};
    std::array<int32_t, 37> counts{};
    std::array<int32_t, 240> title{};
    std::array<int32_t, 50> display{};
    int32_t status = -1;
    DBADIR(1, kModelUnit, record, counts, title, display, status);
    closeModel();
    EXPECT_EQ(status, c.status) << c.value;
    if (c.status == 2) {
      EXPECT_EQ(record[0], 9067);
    }
  }
}

// Counts that need more pages than the file holds, a negative count, or a file cut short
// after its header: the load fails before reading past the file, and every array is
// released.
TEST_F(HeaderCheck, CountsBeyondTheFileFailTheLoad) {
  struct Case {
    const char* what;
    int32_t word, value;
    int64_t keepBytes;  // 0: the whole file
  };
  const Case cases[] = {{"count past the pages", kHeadCountsBefore + 24, 5000, 0},
                        {"negative count", kHeadCountsBefore + 1, -3, 0},
                        {"file cut after the header", 0, 0, 4 * kPs}};
  for (const Case& c : cases) {
    forget();
    model();
    save("m.mdl");
    if (c.word != 0) setHead("m.mdl", c.word, c.value);
    if (c.keepBytes != 0) writeFile(dir.file("m.mdl"), readFile(dir.file("m.mdl")).substr(0, c.keepBytes));
    forget();
    EXPECT_EQ(check(1), 1) << c.what;
    EXPECT_EQ(tags(), (std::vector<std::string>{"E1150:", "E2180:"})) << c.what;
    EXPECT_EQ(REGHED.mode, 0) << c.what;
    EXPECT_TRUE(steps.empty()) << c.what;
  }
}

TEST_F(HeaderCheck, TheLoadReadsEachArrayAcrossPagesAndRecords) {
  // Records of 2, 3 and 63 words run on across the pages of 2000 words: pages of the file
  // end inside records, and the runs read into the store's pages (10000 records of nodes,
  // 400 of the 63-word blocks) end inside pages of the file. Every word must land where
  // the records put it, and the store's pages stay clear past the last record.
  forget();
  model();
  MODCNT.word(kCntHighestNode) = 10001;
  fill(11, 10001, 11000000);
  fill(12, 10001, 12000000);
  fill(20, 401, 20000000);
  save("runs.mdl");
  const Image before = image();
  forget();
  EXPECT_EQ(check(1, "runs.mdl"), 0);
  EXPECT_EQ(image(), before);
  for (const auto& [k, count] : {std::pair{12, 10001}, std::pair{20, 401}}) {
    CoreRecords records(REGHED.file, REGHED.ARRCOR(k));
    const auto rest = static_cast<int32_t>(records.addressable() - count);
    ASSERT_GT(rest, 0) << k;
    std::vector<int32_t> tail(static_cast<size_t>(rest) * static_cast<size_t>(REGHED.ARRWID(k)), -1);
    ASSERT_TRUE(records.get(count + 1, rest, std::span<int32_t>(tail))) << k;
    EXPECT_EQ(std::count(tail.begin(), tail.end(), 0), static_cast<std::ptrdiff_t>(tail.size())) << k;
  }
}

TEST_F(HeaderCheck, ALastPageCutShortReadsAsZerosPastTheEnd) {
  // The file ends three words before the last record's end, inside its last page: those
  // words read as zeros, as a page partly present always did; the rest loads unchanged.
  Image want = image();
  int32_t last = 0;
  for (const auto& [k, w] : want.arrays) {
    if (!w.empty()) last = k;
  }
  ASSERT_NE(last, 0);
  int64_t words = kPs;
  for (const auto& [k, w] : want.arrays) words += static_cast<int64_t>(w.size());
  std::vector<int32_t>& tail = want.arrays[last];
  std::fill(tail.end() - 3, tail.end(), 0);
  const std::string bytes = readFile(dir.file("m.mdl"));
  ASSERT_LT(4 * (words - 3), static_cast<int64_t>(bytes.size()));
  writeFile(dir.file("m.mdl"), bytes.substr(0, static_cast<size_t>(4 * (words - 3))));
  forget();
  EXPECT_EQ(check(1), 0);
  EXPECT_EQ(image().arrays, want.arrays);
}

TEST_F(HeaderCheck, AnEmptyModelIsRefused) {
  for (int32_t k = 1; k <= 37; ++k) setHead("m.mdl", kHeadCountsBefore + k, 0);
  forget();
  EXPECT_EQ(check(1), 1);
  EXPECT_EQ(tags(), (std::vector<std::string>{"E1150:", "E1160:"}));
}

TEST_F(HeaderCheck, AFailedExtensionReportsTheArray) {
  forget();
  MODCNT.word(kCntSurfaces) = 60;
  MODCNT.word(kCntOldGroupSize) = 1;
  fill(5, 60, 500);
  fill(6, 60 * 14, 600);
  save("s.mdl");
  forget();
  mem::ScopedHook heap;
  heap.failAll();
  const int32_t status = check(1, "s.mdl");
  heap.failAll(false);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(REGHED.mode, 0);
  const std::vector<std::string> lines = messageLines();
  ASSERT_GE(lines.size(), 4u);
  const std::vector<std::string> last(lines.end() - 4, lines.end());
  EXPECT_EQ(last, (Lines{" E1150: Cannot load database", " E2100: Error with dynamic memory allocation",
                         " E2130: Insufficient memory currently available",
                         "  * Trying to allocate memory for < 60 > records of array < 5 >"}));
  const std::vector<std::string> j = journal1();
  EXPECT_NE(std::find(j.begin(), j.end(), "  * Trying to allocate memory for < 60 > records of array < 5 >"),
            j.end());
}

TEST_F(HeaderCheck, LoadStatusTwoWithoutMemory) {
  forget();
  MODCNT.word(kCntSurfaces) = 60;
  MODCNT.word(kCntOldGroupSize) = 1;
  fill(5, 60, 500);
  fill(6, 60 * 14, 600);
  save("s.mdl");
  forget();
  openModel("s.mdl");
  mem::ScopedHook heap;
  heap.failAll();
  int32_t status = -1;
  DBLOAD(kModelUnit, status);
  heap.failAll(false);
  closeModel();
  EXPECT_EQ(status, 2);
  EXPECT_EQ(REGHED.mode, 0);
}

TEST_F(HeaderCheck, PageTransferCrossesPages) {
  // Writing 5 values at position 3 of 4-word pages writes page 7 and goes on on page 8;
  // reading them back crosses the same boundary.
  openModel("x.mdl", 1);
  std::vector<int32_t> page(4, 0);
  int32_t counter = 7;
  int32_t position = 3;
  std::array<int32_t, 5> in = {1, 2, 3, 4, 5};
  int32_t status = -1;
  PAGXFR(kModelUnit, 4, page, counter, position, 5, -1, -1, in, {}, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(counter, 8);
  EXPECT_EQ(position, 4);
  EXPECT_EQ(page, (std::vector<int32_t>{3, 4, 5, 0}));
  RANDIO(page, counter, 4, 1, kModelUnit);

  std::vector<int32_t> back(4, 0);
  RANDIO(back, 7, 4, 0, kModelUnit);
  counter = 7;
  position = 3;
  std::array<float, 5> out{};
  PAGXFR(kModelUnit, 4, back, counter, position, 5, 1, 1, {}, out, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(std::bit_cast<int32_t>(out[0]), 1);
  EXPECT_EQ(std::bit_cast<int32_t>(out[4]), 5);
  // A read past the end of the file answers -1.
  counter = 8;
  position = 5;
  PAGXFR(kModelUnit, 4, back, counter, position, 1, 1, -1, in, {}, status);
  EXPECT_EQ(status, -1);
  closeModel();
}

}  // namespace
}  // namespace kvr::test
