#include "modeldb/lcfind.h"

#include <gtest/gtest.h>

#include <bit>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "loaderfixture.h"
#include "modeldb/ctlrec.h"
#include "modeldb/ctlwords.h"
#include "modeldb/dbmsg.h"
#include "runtime/dattim.h"

namespace kvr {
namespace {

std::vector<int32_t> codes(const std::string& text, size_t n = 6) {
  std::vector<int32_t> line(n, kBlankCode);
  for (size_t k = 0; k < text.size() && k < n; ++k) line[k] = codeOf(text[k]);
  return line;
}

std::vector<int32_t> numbers(int32_t from, int32_t n) {
  std::vector<int32_t> v;
  for (int32_t k = 0; k < n; ++k) v.push_back(from + k);
  return v;
}

class LoadCaseList : public test::LoaderFixture {
 protected:
  using Message = std::pair<int32_t, std::vector<int32_t>>;

  void SetUp() override {
    LoaderFixture::SetUp();
    startAndCreate();
    setClockOverride(LocalTime{2024, 3, 5, 14, 30, 15});
    setDbMessageObserver([this](int32_t n, std::span<const int32_t> v, std::span<const int32_t>) {
      seen.push_back({n, std::vector<int32_t>(v.begin(), v.end())});
    });
  }
  void TearDown() override {
    setDbMessageObserver(nullptr);
    setClockOverride(std::nullopt);
    LoaderFixture::TearDown();
  }

  // LCADD with the REALs 1.5 and 0.0, the list 1001.. of 20 and 2001.. of 10.
  static int32_t add(const std::string& name, int32_t type = 2, int32_t number = 4) {
    int32_t status = -9;
    LCADD(codes(name), LDSCR, 1.5f, 0.0f, type, number, numbers(1001, 20), numbers(2001, 10),
          status);
    return status;
  }

  struct Found {
    int32_t result = -9;
    int32_t position = -9;
    std::vector<int32_t> full = std::vector<int32_t>(6, 0);
  };
  static Found find(const std::string& name, int32_t number = kAnyLoadCaseNumber) {
    Found f;
    LCFIND(codes(name), number, f.full, f.result, f.position);
    return f;
  }

  // Words 1..LENGTH of the record of CLS at (PAGE, ENTRY) as the index file holds them.
  static std::vector<int32_t> stored(int32_t cls, int32_t page, int32_t entry, int32_t length) {
    DbPage p(kIndexPageSize);
    PAGRD(cls, page, p);
    const int32_t base = 4 + length * (entry - 1);
    std::vector<int32_t> r;
    for (int32_t k = 1; k <= length; ++k) r.push_back(p.word(base + k));
    return r;
  }
  static std::vector<int32_t> storedLoadCase(int32_t page, int32_t entry) {
    return stored(kLoadCaseClass, page, entry, 48);
  }
  static std::vector<int32_t> storedModel() {
    return stored(kModelClass, CTLREC.page(kModelClass), CTLREC.entry(kModelClass), 60);
  }
  static int32_t firstLoadCasePage() {
    int32_t page = 0;
    G103W8(page);
    return page;
  }
  static int32_t indexPagesHandedOut() { return DBPARM.fileSlot(kIndexFileSlot).nextPage; }

  std::vector<Message> seen;
};

TEST_F(LoadCaseList, FindsExactAbbreviatedAmbiguousAndByNumber) {
  ASSERT_EQ(add("LOAD1", 2, 4), 0);
  ASSERT_EQ(add("LOAD2", 2, 5), 0);
  const int32_t page = firstLoadCasePage();

  EXPECT_EQ(find("LOAD").result, kLoadCaseAmbiguous);
  Found f = find("LOAD1");
  EXPECT_EQ(f.result, kLoadCaseExact);
  EXPECT_EQ(f.position, 1);
  EXPECT_EQ(f.full, codes("LOAD1"));
  EXPECT_EQ(CTLREC.page(kLoadCaseClass), page);
  EXPECT_EQ(CTLREC.entry(kLoadCaseClass), 1);
  EXPECT_EQ(CTLREC.page(kResultsClass), storedLoadCase(page, 1)[7]);
  EXPECT_EQ(CTLREC.entry(kResultsClass), 1);
  EXPECT_EQ(find("LOAD2").position, 2);
  EXPECT_EQ(find("LOAD2", 4).result, kLoadCaseMissing);
  EXPECT_EQ(find("LOAD2", 5).result, kLoadCaseExact);
  // The first token of the six codes is looked for; a blank name names nothing.
  EXPECT_EQ(find(" LOAD1").result, kLoadCaseExact);
  EXPECT_EQ(find("").result, kLoadCaseMissing);
  EXPECT_EQ(find("LOAD3").result, kLoadCaseMissing);

  createDatabase("other");
  ASSERT_EQ(add("LOAD1", 2, 4), 0);
  f = find("LOA");
  EXPECT_EQ(f.result, 3);
  EXPECT_EQ(f.position, 1);
  EXPECT_EQ(f.full, codes("LOAD1"));
  EXPECT_EQ(find("LOAD1", 5).result, kLoadCaseMissing);
  // The same name under two numbers is one name: still an abbreviation, of the first.
  ASSERT_EQ(add("LOAD1", 2, 5), 0);
  f = find("LOA");
  EXPECT_EQ(f.result, 3);
  EXPECT_EQ(CTLREC.entry(kLoadCaseClass), 1) << "the entry found is loaded again";
  EXPECT_EQ(CTLREC.word(kLoadCaseClass, 12), 4);
  EXPECT_TRUE(seen.empty());
}

TEST_F(LoadCaseList, AModelRecordNotInUseIsReportedAndNothingAdded) {
  CTLREC.word(kModelClass, 1) = 0;
  const int32_t pages = indexPagesHandedOut();
  EXPECT_EQ(find("LOAD1").result, kLoadCaseMissing);
  EXPECT_EQ(seen, (std::vector<Message>{{12, {4001, 0}}}));
  seen.clear();
  CTLREC.word(kLoadCaseClass, 1) = 1;
  EXPECT_EQ(add("LOAD1"), 1);
  EXPECT_EQ(seen, (std::vector<Message>{{12, {3801, 0}}}));
  EXPECT_EQ(CTLREC.word(kLoadCaseClass, 1), 0);
  EXPECT_EQ(indexPagesHandedOut(), pages);
}

TEST_F(LoadCaseList, AddStoresTheWholeRecordAndItsFirstAttributeRecord) {
  ASSERT_EQ(add("LOAD1", 2, 4), 0);
  const int32_t page = firstLoadCasePage();
  ASSERT_GT(page, 0);
  EXPECT_EQ(storedModel()[7], page) << "record 103 written back";
  const std::vector<int32_t> r = storedLoadCase(page, 1);
  EXPECT_EQ(r[0], 1);
  EXPECT_EQ(std::vector<int32_t>(r.begin() + 1, r.begin() + 7), codes("LOAD1"));
  EXPECT_EQ((std::vector<int32_t>{r[8], r[9], r[10], r[11], r[12], r[13]}),
            (std::vector<int32_t>{0, 0, 2, 4, std::bit_cast<int32_t>(1.5f), 0}));
  EXPECT_EQ(std::vector<int32_t>(r.begin() + 14, r.begin() + 34), numbers(1001, 20));
  EXPECT_EQ(std::vector<int32_t>(r.begin() + 34, r.begin() + 44), codes("FREQUENCY", 10));
  EXPECT_EQ(std::vector<int32_t>(r.begin() + 44, r.end()), std::vector<int32_t>(4, 0));
  const int32_t attributes = r[7];
  EXPECT_GT(attributes, page);
  DbPage p(kIndexPageSize);
  PAGRD(kResultsClass, attributes, p);
  EXPECT_EQ((std::vector<int32_t>{p.word(2), p.word(3), p.word(5)}),
            (std::vector<int32_t>{attributes, kResultsClass, 0}));
  EXPECT_EQ(CTLREC.page(kResultsClass), attributes);
  EXPECT_EQ(CTLREC.entry(kResultsClass), 1);

  // Types of 3 or below put their text in words 35-44; others keep the caller's list.
  struct Case {
    int32_t type;
    std::vector<int32_t> words;
  };
  const std::vector<Case> cases = {{1, codes("TIME", 10)},   {3, codes("LOAD", 10)},
                                   {0, codes("STATIC", 10)}, {-4, codes("STATIC", 10)},
                                   {7, numbers(2001, 10)}};
  for (const Case& c : cases) {
    const std::string name = "T" + std::to_string(c.type);
    ASSERT_EQ(add(name, c.type, 1), 0) << c.type;
    const std::vector<int32_t> s =
        storedLoadCase(CTLREC.page(kLoadCaseClass), CTLREC.entry(kLoadCaseClass));
    EXPECT_EQ(std::vector<int32_t>(s.begin() + 34, s.begin() + 44), c.words) << c.type;
    EXPECT_EQ(s[10], c.type);
  }
}

TEST_F(LoadCaseList, DeletedEntriesAreNotReusedAndAnExistingLoadCaseIsRefused) {
  ASSERT_EQ(add("LOAD1"), 0);
  ASSERT_EQ(add("LOAD2"), 0);
  const int32_t page = firstLoadCasePage();
  ASSERT_EQ(CTLREC.page(kLoadCaseClass), page);
  ASSERT_EQ(CTLREC.entry(kLoadCaseClass), 2);
  // Entry 2 deleted.
  DbPage p(kIndexPageSize);
  PAGRD(kLoadCaseClass, page, p);
  p.word(4 + 48 + 1) = -1;
  PAGWR(kLoadCaseClass, page, p);
  PGCUR = {};

  ASSERT_EQ(add("LOAD3"), 0);
  const int32_t next = CTLREC.page(kLoadCaseClass);
  EXPECT_NE(next, page);
  EXPECT_EQ(CTLREC.entry(kLoadCaseClass), 1);
  PAGRD(kLoadCaseClass, page, p);
  EXPECT_EQ(p.word(4), next) << "linked behind the last page";
  EXPECT_EQ(p.word(4 + 48 + 1), -1);
  EXPECT_EQ(storedLoadCase(next, 1)[0], 1);
  EXPECT_EQ(find("LOAD2").result, kLoadCaseMissing);
  Found f = find("LOAD3");
  EXPECT_EQ(f.result, kLoadCaseExact);
  EXPECT_EQ(f.position, 3);

  const int32_t pages = indexPagesHandedOut();
  EXPECT_EQ(add("LOAD1"), 1);
  EXPECT_EQ(seen, (std::vector<Message>{{12, {3802, 0}}}));
  EXPECT_EQ(indexPagesHandedOut(), pages);
  EXPECT_EQ(add("LOAD1", 2, 6), 0) << "another number is another load case";
}

TEST_F(LoadCaseList, RegistrationCountsAndDatesTheFirstLoadCase) {
  CTLREC.word(kModelClass, 1) = 2;
  ASSERT_EQ(loadCase("LOAD1", 4), 0);
  EXPECT_EQ(DICNT.loadCaseCount, 1);
  std::vector<int32_t> m = storedModel();
  EXPECT_EQ(m[0], 3);
  EXPECT_EQ(std::vector<int32_t>(m.begin() + 48, m.begin() + 53),
            (std::vector<int32_t>{5, 3, 2024, 14, 30}));
  const std::vector<int32_t> r =
      storedLoadCase(CTLREC.page(kLoadCaseClass), CTLREC.entry(kLoadCaseClass));
  EXPECT_EQ((std::vector<int32_t>{r[10], r[11]}), (std::vector<int32_t>{0, 4}));

  const int32_t pages = indexPagesHandedOut();
  ASSERT_EQ(loadCase("LOAD1", 4), 0);
  EXPECT_EQ(DICNT.loadCaseCount, 1);
  EXPECT_EQ(indexPagesHandedOut(), pages);

  // Only the first load case dates the model.
  setClockOverride(LocalTime{2025, 1, 2, 3, 4, 5});
  ASSERT_EQ(loadCase("LOAD2"), 0);
  EXPECT_EQ(DICNT.loadCaseCount, 2);
  m = storedModel();
  EXPECT_EQ(std::vector<int32_t>(m.begin() + 48, m.begin() + 53),
            (std::vector<int32_t>{5, 3, 2024, 14, 30}));
  EXPECT_TRUE(seen.empty());

  // A load case that is not added changes nothing else.
  CTLREC.word(kModelClass, 1) = 0;
  EXPECT_EQ(loadCase("LOAD3"), 1);
  EXPECT_EQ(DICNT.loadCaseCount, 2);
}

// Registration finds a load case as the walk of LCFIND does, whatever the list's length:
// a name is found by the token before its first blank, a shorter token abbreviates and is
// another load case, a number filters. An entry deleted in the file behind the
// registration's back is not found again.
TEST_F(LoadCaseList, RegistrationFindsWhatTheWalkFinds) {
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {"S1", 1}, {"S10", 1}, {"S1", 2}, {"AB CD", 1}, {"ABC", 1}, {"S2", 1}, {"S3", 1},
      {"S4", 1}, {"S5", 1}};
  for (const auto& [name, number] : cases) ASSERT_EQ(loadCase(name, number), 0) << name;
  ASSERT_EQ(DICNT.loadCaseCount, 9);

  // Registered again: found where LCFIND finds it, nothing added.
  const int32_t pages = indexPagesHandedOut();
  for (const auto& [name, number] : cases) {
    ASSERT_EQ(loadCase(name, number), 0) << name;
    const int32_t page = CTLREC.page(kLoadCaseClass), entry = CTLREC.entry(kLoadCaseClass);
    const Found f = find(name, number);
    EXPECT_EQ(f.result, kLoadCaseExact) << name;
    EXPECT_EQ(CTLREC.page(kLoadCaseClass), page) << name;
    EXPECT_EQ(CTLREC.entry(kLoadCaseClass), entry) << name;
  }
  EXPECT_EQ(DICNT.loadCaseCount, 9);
  EXPECT_EQ(indexPagesHandedOut(), pages);
  // "AB" is found exactly in "AB CD"; "S" abbreviates S1 and S10 and is a load case of
  // its own.
  ASSERT_EQ(loadCase("AB", 1), 0);
  EXPECT_EQ(DICNT.loadCaseCount, 9);
  ASSERT_EQ(loadCase("S", 1), 0);
  EXPECT_EQ(DICNT.loadCaseCount, 10);

  // S3 deleted in the file: registered anew, behind the last one.
  ASSERT_EQ(loadCase("S3", 1), 0);
  const int32_t page = CTLREC.page(kLoadCaseClass), entry = CTLREC.entry(kLoadCaseClass);
  DbPage p(kIndexPageSize);
  PAGRD(kLoadCaseClass, page, p);
  p.word(4 + 48 * (entry - 1) + 1) = -1;
  PAGWR(kLoadCaseClass, page, p);
  ASSERT_EQ(loadCase("S3", 1), 0);
  EXPECT_EQ(DICNT.loadCaseCount, 11);
  EXPECT_EQ(find("S3", 1).position, 11) << "behind the ten entries, the deleted one among them";
}

}  // namespace
}  // namespace kvr
