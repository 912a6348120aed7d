#include "dbinterface/dipes.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dbinterface/dipnc.h"
#include "dbinterface/direcs.h"
#include "dbinterface/ldframe.h"
#include "loaderfixture.h"
#include "runtime/codtxt.h"
#include "runtime/dattim.h"
#include "runtime/iounit.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

using test::codes;

std::vector<int32_t> wordRange(const DbPage& p, int32_t first, int32_t last) {
  std::vector<int32_t> w;
  for (int32_t k = first; k <= last; ++k) w.push_back(p.word(k));
  return w;
}

class SetLoader : public test::LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    setClockOverride(LocalTime{2026, 3, 14, 9, 26, 53});
    startAndCreate();
  }
  void TearDown() override {
    setClockOverride(std::nullopt);
    LoaderFixture::TearDown();
  }

  void loadNodes(const std::vector<int32_t>& ids) {
    beginDataset(2);
    for (int32_t id : ids) node(id, 0, 0, 0);
    endDataset();
    ASSERT_EQ(load(DIPNC), 0);
  }
  void loadNodeRange(int32_t last) {
    std::vector<int32_t> ids;
    for (int32_t id = 1; id <= last; ++id) ids.push_back(id);
    loadNodes(ids);
  }
  void loadElements(const std::vector<int32_t>& ids) {
    beginDataset(3);
    for (int32_t id : ids) element(id, 9, {1, 2, 3, 4});
    endDataset();
    ASSERT_EQ(load(DIPET), 0);
  }

  // A set dataset of KEY (18 nodes, 19 elements) through DISET, one call per member list
  // of LISTS, loaded; IERR answered.
  static int32_t loadSet(int32_t key, const std::string& name,
                         const std::vector<std::vector<int32_t>>& lists,
                         const std::string& title = "") {
    beginDataset(key);
    for (const std::vector<int32_t>& ids : lists) {
      FixedText n(8, name);
      FixedText t(30, title);
      int32_t ierr = -1;
      DISET(n, t, ids, static_cast<int32_t>(ids.size()), ierr, unit(kA));
      EXPECT_EQ(ierr, 0);
    }
    endDataset();
    return runDipes(key == 18 ? kNodeSet : kElementSet);
  }
  static int32_t runDipes(int32_t selector) {
    int32_t ierr = -1;
    DIPES(LDPAGE, LDSCR, selector, ierr);
    return ierr;
  }

  // Directory entry E of the directory's first page.
  static std::vector<int32_t> directoryEntry(int32_t e) {
    const DbPage p = page(recorded(kSetDirectoryType));
    const int32_t q = 39 + (e - 1) * kSetEntryWords;
    return wordRange(p, q, q + kSetEntryWords - 1);
  }
  // Sets word 1 of directory entry E to STATUS, on the file.
  static void markEntry(int32_t e, int32_t status) {
    DbPage p = page(recorded(kSetDirectoryType));
    p.word(39 + (e - 1) * kSetEntryWords) = status;
    PAGWR(kSetDirectoryType, recorded(kSetDirectoryType), p);
  }

  struct Found {
    int32_t status, kind, word2, first, corrupt;
    std::vector<int32_t> name;
  };
  static Found find(const std::string& name) {
    Found f{};
    f.name.assign(8, 0);
    const std::vector<int32_t> c = codes(name);
    SETFND(LDPAGE, c, f.status, f.name, f.kind, f.word2, f.first, f.corrupt);
    return f;
  }
};

// Members 2, 4, 4: the second 4 meets the same node again. The map covers nodes 1..5 on
// one page; the directory entry carries the name, the date and the title.
TEST_F(SetLoader, NodeSetGoesIntoMapAndDirectory) {
  loadNodeRange(5);
  const std::size_t before = messages().size();
  ASSERT_EQ(loadSet(18, "TOP", {{2, 4, 4}}, "Top nodes"), 0);
  const int32_t directory = recorded(kSetDirectoryType);
  ASSERT_GT(directory, 0);
  const std::vector<int32_t> entry = directoryEntry(1);
  const int32_t map = entry[2];
  std::vector<int32_t> want = {1, 5002, map, 2, 0};
  for (int32_t c : codes("TOP")) want.push_back(c);
  for (int32_t w : {14, 3, 2026}) want.push_back(w);
  for (int32_t c : codes("Top nodes", 30)) want.push_back(c);
  EXPECT_EQ(entry, want);
  EXPECT_EQ(directoryEntry(2)[0], 0);

  const DbPage m = page(map);
  EXPECT_EQ(wordRange(m, 2, 5), (std::vector<int32_t>{map, 10, -1, 0}));
  EXPECT_EQ(m.word(39), 5);
  EXPECT_EQ(m.word(40), 10);
  EXPECT_EQ(m.word(41), 0);
  const DbPage d = page(directory);
  EXPECT_EQ(wordRange(d, 2, 5), (std::vector<int32_t>{directory, 2, -1, 0}));
  EXPECT_EQ(page(1).word(6), DBPARM.fileSlot(kDataFileSlot).nextPage)
      << "the data file's next-page word is saved";
  EXPECT_EQ(messages().size(), before) << "no line";
}

// Members the walk cannot take give information lines; the set keeps the others.
TEST_F(SetLoader, MembersNotFoundAreLeftOut) {
  loadNodeRange(5);
  const std::size_t before = messages().size();
  ASSERT_EQ(loadSet(18, "TOP", {{2, 9}, {3}}), 0);
  EXPECT_EQ(page(directoryEntry(1)[2]).word(40), 2);
  const std::vector<std::string> lines = messages();
  EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(before), lines.end()), (std::vector<std::string>{
                       " DI    : DIPES : NODE          9 AND ANY AFTER NOT ADDED TO SET     : "
                       "(TOP                 )",
                       " DI    : DIPES : NODES IN SET MUST BE IN ASCENDING ORDER            :"}));

  createDatabase("gap");
  loadNodes({1, 2, 4, 5});
  ASSERT_EQ(loadSet(18, "TOP", {{3, 4}}), 0);
  EXPECT_EQ(page(directoryEntry(1)[2]).word(40), 4) << "node 4 has sequence number 3";
  EXPECT_EQ(messages().back(),
            " DI    : DIPES : NODE          3 NOT FOUND AND NOT ADDED TO SET     : "
            "(TOP                 )");

  // Element 4 is the third of the topology; element 3 lies behind the walk then, and the
  // stream is read to its end past the next member record.
  createDatabase("elements");
  loadElements({5, 3, 4});
  ASSERT_EQ(loadSet(19, "ESET", {{4, 3}, {5}}), 0);
  const std::vector<int32_t> entry = directoryEntry(1);
  EXPECT_EQ(entry[3], kElementSet);
  const DbPage m = page(entry[2]);
  EXPECT_EQ(m.word(39), 3);
  EXPECT_EQ(m.word(40), 4);
  const std::vector<std::string> after = messages();
  ASSERT_GE(after.size(), 2u);
  EXPECT_EQ(after[after.size() - 2],
            " DI    : DIPES : ELEMENT          3 AND ANY AFTER NOT ADDED TO SET  : "
            "(ESET                )");
  EXPECT_EQ(after.back(),
            " DI    : DIPES : ELEMENTS IN SET MUST BE IN SAME ORDER AS TOPOLOGY  :");
}

// The exact name of a stored set is refused, an abbreviation of it is a new set; a
// deleted entry is taken again; a status outside 1, 0, -1 is a corrupt directory.
TEST_F(SetLoader, DirectoryEntries) {
  loadNodeRange(5);
  ASSERT_EQ(loadSet(18, "TOP", {{1}}), 0);
  EXPECT_EQ(loadSet(18, "TOP", {{2}}), 231);
  EXPECT_EQ(messages().back(),
            " DI231 : DILIM : NAMED SET ALREADY EXISTS                           : "
            "(TOP                 )");
  ASSERT_EQ(loadSet(18, "TO", {{2}}), 0);
  EXPECT_EQ(directoryEntry(2)[5], codeOf('T'));
  EXPECT_EQ(directoryEntry(3)[0], 0);

  markEntry(2, -1);
  ASSERT_EQ(loadSet(18, "TAIL", {{3}}), 0);
  EXPECT_EQ(directoryEntry(2)[0], 1);
  EXPECT_EQ(directoryEntry(2)[5], codeOf('T'));
  EXPECT_EQ(directoryEntry(2)[6], codeOf('A'));
  EXPECT_EQ(directoryEntry(3)[0], 0);

  markEntry(3, 7);
  EXPECT_EQ(loadSet(18, "OTHER", {{4}}), 229);
  EXPECT_EQ(messages().back(), errorLine(229, "DILIM"));
  EXPECT_EQ(find("NONE").corrupt, 1);
}

// A page of 2040 words holds 43 entries: the 44th set opens a second directory page,
// linked after the first, and is found there.
TEST_F(SetLoader, FullDirectoryPageChainsANewOne) {
  loadNodeRange(5);
  for (int32_t k = 1; k <= 44; ++k) {
    ASSERT_EQ(loadSet(18, "S" + std::to_string(k), {{1}}), 0) << k;
  }
  const DbPage one = page(recorded(kSetDirectoryType));
  EXPECT_EQ(one.word(39 + 42 * kSetEntryWords), 1) << "entry 43 in use";
  ASSERT_GT(one.word(4), 0);
  const DbPage two = page(one.word(4));
  EXPECT_EQ(wordRange(two, 2, 5), (std::vector<int32_t>{one.word(4), 2, -1, 0}));
  EXPECT_EQ(wordRange(two, 39, 40), (std::vector<int32_t>{1, 5002}));
  EXPECT_EQ(two.word(39 + kSetEntryWords), 0);
  EXPECT_EQ(page(1).word(6), DBPARM.fileSlot(kDataFileSlot).nextPage);

  const Found last = find("S44");
  EXPECT_EQ(last.status, 0);
  EXPECT_EQ(last.first, two.word(41));
  EXPECT_EQ(find("S4").status, 0) << "an exact match wins over S40 to S44";
}

TEST_F(SetLoader, SetfndMatchesWholeNamesAndAbbreviations) {
  loadNodeRange(5);
  EXPECT_EQ(find("TOP").status, -1) << "no directory";
  ASSERT_EQ(loadSet(18, "TOP", {{1}}), 0);
  ASSERT_EQ(loadSet(18, "TAIL", {{2}}), 0);
  const std::vector<int32_t> top = directoryEntry(1);

  const Found exact = find("TOP");
  EXPECT_EQ(exact.status, 0);
  EXPECT_EQ(exact.name, codes("TOP"));
  EXPECT_EQ(exact.kind, kNodeSet);
  EXPECT_EQ(exact.word2, 5002);
  EXPECT_EQ(exact.first, top[2]);
  EXPECT_EQ(exact.corrupt, 0);

  const Found abbreviated = find("TO");
  EXPECT_EQ(abbreviated.status, 2);
  EXPECT_EQ(abbreviated.first, top[2]);
  EXPECT_EQ(abbreviated.name, codes("TOP"));

  for (const auto& [name, status] : std::vector<std::pair<std::string, int32_t>>{
           {"T", -2}, {"X", -1}, {"TOPS", -1}, {"", -1}}) {
    EXPECT_EQ(find(name).status, status) << '"' << name << '"';
  }
}

// With P = 2040 page 1 of a map holds 31 x 2001 = 62031 bits: one node more needs a
// second page, even for a set of node 1.
TEST_F(SetLoader, MapCoversEveryEntity) {
  struct Case {
    int32_t nodes;
    int32_t member;
    int32_t pages;
  };
  for (const Case& c : {Case{62031, 62031, 1}, Case{62032, 1, 2}}) {
    createDatabase("map" + std::to_string(c.nodes));
    loadNodeRange(c.nodes);
    ASSERT_EQ(loadSet(18, "ALL", {{c.member}}), 0) << c.nodes;
    const DbPage one = page(directoryEntry(1)[2]);
    EXPECT_EQ(one.word(39), c.nodes);
    EXPECT_EQ(one.word(5), 0);
    if (c.pages == 1) {
      EXPECT_EQ(one.word(4), -1);
      EXPECT_EQ(one.word(2040), 1 << 30) << "bit 62031 is the last bit of word 2040";
    } else {
      EXPECT_EQ(one.word(40), 1);
      ASSERT_GT(one.word(4), 0);
      const DbPage two = page(one.word(4));
      EXPECT_EQ(two.word(3), kSetMapType);
      EXPECT_EQ(two.word(4), -1);
      EXPECT_EQ(two.word(5), 0);
      EXPECT_EQ(two.word(39), 0);
    }
  }
}

// A bit beyond the first page goes to the page that holds it.
TEST_F(SetLoader, BitsOfLaterPages) {
  loadNodeRange(62031 + 40);
  ASSERT_EQ(loadSet(18, "LAST", {{62031 + 32}}), 0);
  const DbPage one = page(directoryEntry(1)[2]);
  const DbPage two = page(one.word(4));
  EXPECT_EQ(two.word(39), 0);
  EXPECT_EQ(two.word(40), 1) << "bit 32 of page 2 is bit 1 of its second word";
}

TEST_F(SetLoader, Refusals) {
  struct Case {
    const char* what;
    bool nodes;
    std::function<void()> send;
    int32_t code;
    std::string line;
  };
  const auto header = [] {
    StreamRecord r;
    setHeaderRecord(r, FixedText(8, "S"), FixedText(30, "T"));
    raw(r.words());
  };
  const std::vector<Case> cases = {
      {"a member count of 16", true,
       [&] {
         header();
         std::vector<int32_t> r = {kTagRepeat, 16};
         for (int32_t k = 1; k <= 16; ++k) r.push_back(k);
         raw(r);
       },
       299, errorLine(299, "DIPES", 9550)},
      {"a member count below 0", true, [&] { header(); raw({kTagRepeat, -1}); }, 299,
       errorLine(299, "DIPES", 9550)},
      {"a member record tagged -1", true, [&] { header(); raw({kTagRecord, 1, 1}); }, 299,
       errorLine(299, "DIPES", 9550)},
      {"no member record", true, [&] { header(); }, 299, errorLine(299, "DIPES", 9800)},
      {"a header tagged -3", true,
       [] {
         std::vector<int32_t> r(39, kBlankCode);
         r[0] = kTagEnd;
         raw(r);
       },
       299, errorLine(299, "DIPES", 9800)},
      {"only the end record", true, [] {}, 225, errorLine(225, "DILIM", unit(kA))},
      {"a header tagged -2", true,
       [] {
         std::vector<int32_t> r(39, kBlankCode);
         r[0] = kTagRepeat;
         raw(r);
       },
       225, errorLine(225, "DILIM", unit(kA))},
      {"no node dataset", false, [&] { header(); raw({kTagRepeat, 1, 1}); }, 299,
       errorLine(299, "DIPES", 9600)},
  };
  int32_t n = 0;
  for (const Case& c : cases) {
    createDatabase("refuse" + std::to_string(++n));
    if (c.nodes) loadNodeRange(5);
    beginDataset(18);
    c.send();
    endDataset();
    EXPECT_EQ(runDipes(kNodeSet), c.code) << c.what;
    EXPECT_EQ(messages().back(), c.line) << c.what;
    EXPECT_EQ(recorded(kSetDirectoryType), 0) << c.what;
  }
}

TEST(Flgput, SetsAndClearsOneBitOfTheAbsoluteWord) {
  MACHCN.word(kMachBitsLessOne) = 31;
  struct Case {
    int32_t word, k, v, result;
  };
  for (const Case& c : {Case{-5, 2, 1, 7}, Case{7, 1, 0, 6}, Case{0, 31, 1, 1 << 30},
                        Case{6, 3, 1, 6}}) {
    std::vector<int32_t> w = {c.word, 0};
    FLGPUT(w, c.k, c.v);
    EXPECT_EQ(w[0], c.result) << c.word << " " << c.k;
    EXPECT_EQ(w[1], 0);
  }
  std::vector<int32_t> w = {0, 0};
  FLGPUT(w, 32, 1);
  EXPECT_EQ(w, (std::vector<int32_t>{0, 1})) << "bit 32 opens the second word";
  FLGPUT(w, 63, 1);
  EXPECT_EQ(w, (std::vector<int32_t>{0, 1})) << "beyond the words nothing changes";
}

}  // namespace
}  // namespace kvr
