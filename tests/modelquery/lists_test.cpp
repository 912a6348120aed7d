// The services of the set and neighbour walks: the set member writers into the search work
// array, the chained list store of array 17 with its cursor, and the element of a point.
#include <array>
#include <vector>

#include "modelquery/setlst.h"
#include "queryfixture.h"

namespace kvr::test {
namespace {

class Lists : public QuerySession {
 protected:
  void SetUp() override {
    QuerySession::SetUp();
    start();
  }

  // Words FIRST..LAST of the search work array.
  static Words work(int32_t first, int32_t last) {
    Words w;
    for (int32_t k = first; k <= last; ++k) {
      int32_t v = 0;
      NAWORD(1, kArrSearchWork, k, v);
      w.push_back(v);
    }
    return w;
  }

  // Words AT..AT+N-1 of the chained list store.
  static Words store(int32_t at, int32_t n) {
    Words w(static_cast<size_t>(n));
    int32_t stat = 0;
    ARRIO(1, kArrListStore, at, n, -1, w, {}, stat);
    return w;
  }

  // FACSRC with the VALUES given; the count out and status.
  struct Answer {
    int32_t count = -9;
    int32_t status = -9;
    Words values;
  };
  static Answer facsrc(int32_t op, int32_t& position, int32_t count, Words values = Words(8, -5)) {
    Answer a;
    FACSRC(op, position, count, values, a.count, a.status);
    a.values = values;
    return a;
  }
  // A new list of ENTRIES; its position.
  static int32_t newList(Words entries) {
    int32_t position = 0;
    EXPECT_EQ(facsrc(kListWrite, position, static_cast<int32_t>(entries.size()), entries).status,
              0);
    return position;
  }
  // Reads N entries from the start of the list at POSITION.
  static Answer readList(int32_t position, int32_t n) {
    EXPECT_EQ(facsrc(kListStart, position, 0).status, 0);
    return facsrc(kListRead, position, n);
  }
};

TEST_F(Lists, SurfaceMembersOfASetAndItsNegative) {
  // ADJSET (stored 8) holds SU and SM among other kinds.
  int32_t position = 3;
  SETSRF(8, position);
  EXPECT_EQ(position, 4);
  EXPECT_EQ(work(3, 4), (Words{5, 4}));
  // Negated and in reverse order.
  position = 1;
  SETSRF(-8, position);
  EXPECT_EQ(position, 2);
  EXPECT_EQ(work(1, 2), (Words{-4, -5}));
  // A set of surfaces of type 3 (SURFS, stored 3) takes each first word's sign: 0 is +.
  position = 1;
  SETSRF(3, position);
  EXPECT_EQ(work(1, position), (Words{1, 2}));
}

TEST_F(Lists, LineMembersPassOverCompositeLines) {
  struct Case {
    int32_t set;
    Words written;
  };
  const Case cases[] = {
      {2, {1, 3}},      // MIXED: L1 and L3 (its point and surface left out)
      {6, {}},          // COMPOS: two composite lines
      {9, {14, -13}},   // SDLINES of type 4: the whole first word, CX passed over
      {-9, {13, -14}},  // negated and reversed
      {3, {}},          // a set of surfaces gives no line
      {0, {}},          // no set 0, nor stored set 1
      {1, {}},         {QueryModel::kAllStoredSets + 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.set);
    int32_t position = 5;
    SETLIN(c.set, position);
    EXPECT_EQ(position, 4 + static_cast<int32_t>(c.written.size()));
    EXPECT_EQ(work(5, position), c.written);
  }
  // A position below 1 writes nothing.
  int32_t position = 0;
  SETLIN(9, position);
  EXPECT_EQ(position, 0);
}

TEST_F(Lists, ANewListIsOneBlockAndEachAppendAnother) {
  const int32_t a = newList({42});
  EXPECT_EQ(store(a, 2), (Words{a, 42}));  // one entry: its header is its own position

  int32_t position = a;
  ASSERT_EQ(facsrc(kListWrite, position, 2, {7, 8}).status, 0);
  EXPECT_EQ(position, a);
  const int32_t b = a + 2;
  EXPECT_EQ(store(a, 2), (Words{b, 42}));        // the first block now points on
  EXPECT_EQ(store(b, 4), (Words{-a, 2, 7, 8}));  // and the new one back

  ASSERT_EQ(facsrc(kListWrite, position, 1, {9}).status, 0);
  EXPECT_EQ(store(b, 1), (Words{-(b + 4)}));  // the sign of a counted block stays
  EXPECT_EQ(store(b + 4, 2), (Words{a, 9}));

  const Answer r = readList(a, 4);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.count, 4);
  EXPECT_EQ(Words(r.values.begin(), r.values.begin() + 4), (Words{42, 7, 8, 9}));
}

TEST_F(Lists, ReadingPastTheRingAnswersMinusOne) {
  const int32_t a = newList({3, 4});
  EXPECT_EQ(store(a, 4), (Words{-a, 2, 3, 4}));
  Answer r = readList(a, 3);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.count, -1);
  EXPECT_EQ(Words(r.values.begin(), r.values.begin() + 3), (Words{3, 4, -5}));

  // The cursor moves on between reads.
  int32_t position = a;
  ASSERT_EQ(facsrc(kListStart, position, 0).count, 0);
  r = facsrc(kListRead, position, 1);
  EXPECT_EQ(r.values[0], 3);
  r = facsrc(kListRead, position, 1);
  EXPECT_EQ(r.values[0], 4);
  // Reread: the last entries read in the current block.
  r = facsrc(kListReread, position, 2);
  EXPECT_EQ(r.count, 2);
  EXPECT_EQ(Words(r.values.begin(), r.values.begin() + 2), (Words{3, 4}));
}

TEST_F(Lists, RemovedEntriesArePassedOver) {
  const int32_t a = newList({1, 2, 3});
  int32_t position = a;
  ASSERT_EQ(facsrc(kListWrite, position, 1, {2}).status, 0);
  EXPECT_EQ(facsrc(kListRemove, position, 2, {2, 9}).status, 0);
  EXPECT_EQ(store(a + 2, 3), (Words{1, 0, 3}));
  EXPECT_EQ(store(a + 5, 2), (Words{a, 0}));
  // Four entries are read, the two zeros removed from what is answered.
  const Answer r = readList(a, 4);
  EXPECT_EQ(r.count, 2);
  EXPECT_EQ(Words(r.values.begin(), r.values.begin() + 2), (Words{1, 3}));

  position = a;
  EXPECT_EQ(facsrc(kListRemove, position, 0, {1}).status, 1);
  position = 0;
  EXPECT_EQ(facsrc(kListRemove, position, 1, {1}).status, 1);
}

TEST_F(Lists, ARingThatNeverComesBackEndsWithStatusOne) {
  // Blocks A, B, C; C made to point back to B instead of A.
  const int32_t a = newList({1});
  int32_t position = a;
  facsrc(kListWrite, position, 1, {2});
  facsrc(kListWrite, position, 2, {3, 4});
  const int32_t b = a + 2;
  const int32_t c = b + 2;
  Words header = {-b};
  int32_t stat = 0;
  ARRIO(-1, kArrListStore, c, 1, -1, header, {}, stat);

  position = a;
  EXPECT_EQ(facsrc(kListWrite, position, 1, {5}).status, 1);
  EXPECT_EQ(facsrc(kListRemove, position, 1, {3}).status, 1);
  EXPECT_EQ(store(c, 4), (Words{-b, 2, 3, 4}));  // nothing removed

  // A long read ends too, and the cursor stays where the read began.
  std::vector<int32_t> many(1000);
  int32_t count = 0, status = 0;
  FACSRC(kListStart, position, 0, {}, count, status);
  FACSRC(kListRead, position, 1, many, count, status);
  ASSERT_EQ(many[0], 1);
  FACSRC(kListRead, position, 1000, many, count, status);
  EXPECT_EQ(status, 1);
  FACSRC(kListRead, position, 1, many, count, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(many[0], 2);
}

TEST_F(Lists, StoreFailuresAnswerOne) {
  int32_t position = REGHED.ARRLEN(kArrListStore) + 1;
  EXPECT_EQ(facsrc(kListStart, position, 0).status, 1);  // no block there
  position = 0;
  EXPECT_EQ(facsrc(kListStart, position, 0).status, 1);
  EXPECT_EQ(facsrc(5, position, 0).status, 1);            // no such operation
  EXPECT_EQ(facsrc(kListWrite, position, -1).status, 1);  // no block of -1 entries
}

TEST_F(Lists, TheSessionStartEmptiesTheCursor) {
  const int32_t a = newList({3, 4});
  int32_t position = a;
  ASSERT_EQ(facsrc(kListStart, position, 0).status, 0);
  ASSERT_EQ(open(model, 2 * kN), 0);
  EXPECT_EQ(facsrc(kListRead, position, 1).status, 1);
}

TEST_F(Lists, TheListOfASetDefinedSurface) {
  // SD keeps two further line sets in a ring of a one-entry and a counted block.
  std::array<int32_t, kSurfaceWords> s{};
  RECIO(1, kArrSurfaces, 6, s);
  const int32_t at = s[3];
  EXPECT_EQ(store(at, 5), (Words{at + 2, -9, -at, 1, 10}));
  Answer r = readList(at, 2);
  EXPECT_EQ(r.count, 2);
  EXPECT_EQ(Words(r.values.begin(), r.values.begin() + 2), (Words{-9, 10}));
  r = readList(at, 3);
  EXPECT_EQ(r.count, -1);
}

TEST_F(Lists, TheElementOfAPoint) {
  struct Case {
    int32_t point, first, last, type;
  };
  const Case cases[] = {
      {1, 0, 0, 20},  // no element
      {8, 4, 4, 20},
      {0, 0, 0, 0},  // no point
      {QueryModel::kAllPoints + 1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    int32_t first = -1, last = -1, type = -1;
    PNTELM(c.point, first, last, type);
    EXPECT_EQ(first, c.first) << c.point;
    EXPECT_EQ(last, c.last) << c.point;
    EXPECT_EQ(type, c.type) << c.point;
  }
  // An element above the highest: none.
  std::array<int32_t, kPointWords> p{};
  RECIO(1, kArrPoints, 8, p);
  p[4] = -(QueryModel::kAllElements + 1);
  RECIO(-1, kArrPoints, 8, p);
  int32_t first = -1, last = -1, type = -1;
  PNTELM(8, first, last, type);
  EXPECT_EQ(first + last + type, 0);
  p[4] = -3;  // taken in absolute value
  RECIO(-1, kArrPoints, 8, p);
  PNTELM(8, first, last, type);
  EXPECT_EQ(first, 3);
}

}  // namespace
}  // namespace kvr::test
