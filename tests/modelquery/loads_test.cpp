// The load queries through the exported routines: a load's targets, description and
// values; its first target alone; and per target record of the session the target's
// meshing state and its relation to the load's second target.
#include <array>
#include <string>
#include <vector>

#include "kvr7dbio.h"
#include "queryfixture.h"

namespace kvr::test {
namespace {

constexpr float kUntouched = -7.0f;

struct Load {
  std::string name = "########";
  std::string description = "########";
  int32_t word3 = -1, type = -1, word7 = -1, word8 = -1, word9 = -1, word10 = -1;
  int32_t kind = -1, entity = -1, kind2 = -1, entity2 = -1;
  int32_t count = -99;
  std::vector<float> values;
  int32_t status = -1;
};

class Loads : public QuerySession {
 protected:
  void SetUp() override {
    QuerySession::SetUp();
    start();
  }

  static Load uload4(int32_t number, int32_t size = 16) {
    Load l;
    l.values.assign(static_cast<size_t>(size), kUntouched);
    dll_uload4(&number, l.name.data(), l.description.data(), &l.word3, &l.type, &l.word7, &l.word8,
               &l.word9, &l.word10, &l.kind, &l.entity, &l.kind2, &l.entity2, &l.count,
               l.values.data(), &size, &l.status);
    return l;
  }

  // The first and last target record of load NUMBER (its values 5 and 6).
  static std::pair<int32_t, int32_t> range(int32_t number) {
    const std::vector<float> v = values(9, number, 10);
    return {static_cast<int32_t>(v[4]), static_cast<int32_t>(v[5])};
  }
};

TEST_F(Loads, TargetsDecodedByKind) {
  struct Case {
    int32_t load;
    int32_t kind, entity;
  };
  const Case cases[] = {
      {4, 42, 3},  // code 35: kind 5 stands for 42
      {5, 46, 2},  // code 36: kind 46, stored one higher
      {6, 7, 2},   // code 37: a set, stored one higher
      {7, 0, 3},   // code 30
      {1, 2, 4},   // code 42: a line of a load of type 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.load);
    const Load l = uload4(c.load);
    EXPECT_EQ(l.status, 0);
    EXPECT_EQ(l.type, 1);
    EXPECT_EQ(l.description, "DESC1   ");
    EXPECT_EQ(l.kind, c.kind);
    EXPECT_EQ(l.entity, c.entity);
  }
  const Load l = uload4(4);
  EXPECT_EQ(l.name, "LK5     ");
  EXPECT_EQ((std::array<int32_t, 4>{l.word7, l.word8, l.word9, l.word10}),
            (std::array<int32_t, 4>{1, 2, 3, 4}));
  EXPECT_EQ(l.count, 1);
  EXPECT_EQ(l.values[0], 9.5f);
  EXPECT_EQ(l.values[1], kUntouched);
}

TEST_F(Loads, TheFirstTargetAsStored) {
  struct Case {
    int32_t load, kind, entity, status;
  };
  const Case cases[] = {
      {4, 5, 3, 0}, {5, 6, 2, 0},   {6, 7, 2, 0},
      {7, 0, 3, 0}, {0, -1, -1, 1}, {QueryModel::kAllLoads + 1, -1, -1, 1},
  };
  for (const Case& c : cases) {
    int32_t number = c.load, kind = -1, entity = -1, status = -1;
    dll_uloadp(&number, &kind, &entity, &status);
    EXPECT_EQ(status, c.status) << c.load;
    EXPECT_EQ(kind, c.kind) << c.load;
    EXPECT_EQ(entity, c.entity) << c.load;
  }
}

TEST_F(Loads, ALoadOfTypeTwoOnALineAnswersItsTargetRecords) {
  Load l = uload4(8);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.type, 2);
  EXPECT_EQ(l.word3, 5);
  EXPECT_EQ(std::pair(l.kind, l.entity), range(8));
  EXPECT_EQ(l.kind2, 7);  // the second target, a set
  EXPECT_EQ(l.entity2, 2);
  EXPECT_EQ(l.count, 2);

  // Values 101.1 and 104.1 are rounded.
  std::vector<float> v = values(9, 8, 10);
  v[4] = 101.1f;
  v[5] = 104.1f;
  int32_t n = 10;
  ATTVLR(-1, 9, 8, 1, n, v);
  l = uload4(8);
  EXPECT_EQ(l.kind, 101);
  EXPECT_EQ(l.entity, 104);
}

TEST_F(Loads, DescriptionStatuses) {
  // Without its flag: status 4, every output written.
  Load l = uload4(16);
  EXPECT_EQ(l.status, 4);
  EXPECT_EQ(l.description, "DESC0   ");
  EXPECT_EQ(l.kind, 2);
  EXPECT_EQ(l.entity, 1);
  EXPECT_EQ(l.count, 0);
  EXPECT_EQ(l.word10, 4);

  // Type 3 is refused: the values are not read.
  l = uload4(15);
  EXPECT_EQ(l.status, 3);
  EXPECT_EQ(l.type, 3);
  EXPECT_EQ(l.kind, 2);

  // A missing description, asked after one of type 3: blank, type 0, status 4.
  l = uload4(14);
  EXPECT_EQ(l.status, 4);
  EXPECT_EQ(l.description, "        ");
  EXPECT_EQ(l.type, 0);
  EXPECT_EQ(l.kind, 2);
  EXPECT_EQ(l.entity, 1);
}

TEST_F(Loads, CountAndRoom) {
  // 25 stored values, room for 14: only the count is written.
  Load l = uload4(13, 14);
  EXPECT_EQ(l.status, 9);
  EXPECT_EQ(l.count, 15);
  EXPECT_EQ(l.name, "########");
  EXPECT_EQ(l.values, std::vector<float>(14, kUntouched));

  l = uload4(13, 15);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.values[14], 15.0f);

  // Ten stored values: count 0, nothing read.
  l = uload4(5, 1);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.count, 0);
  EXPECT_EQ(l.values[0], kUntouched);

  EXPECT_EQ(uload4(0).status, 1);
  EXPECT_EQ(uload4(QueryModel::kAllLoads + 1).status, 1);
}

TEST_F(Loads, TheMeshingStateOfATargetRecord) {
  struct Case {
    int32_t load;
    int32_t kind, entity, meshed;
  };
  const Case cases[] = {
      {9, 2, 6, 1},                  // M1
      {10, 2, 8, 2},                 // U2
      {11, 3, 5, 4},                 // SU
      {12, 4, 1, 0},                 // a body
      {7, 0, 3, 0},  {4, 5, 3, -3},  // kind 5: left as it was
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.load);
    int32_t record = range(c.load).first, kind = -3, entity = -3, meshed = -3, status = -1;
    dll_uloade(&record, &kind, &entity, &meshed, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(kind, c.kind);
    EXPECT_EQ(entity, c.entity);
    EXPECT_EQ(meshed, c.meshed);
  }
  // A negative record takes the caller's entity: the meshed surface SM.
  int32_t record = -1, kind = 3, entity = 4, meshed = -3, status = -1;
  dll_uloade(&record, &kind, &entity, &meshed, &status);
  EXPECT_EQ(meshed, 3);
  // A line beyond the count has no record read: not meshed.
  kind = 2;
  entity = QueryModel::kAllLines + 1;
  dll_uloade(&record, &kind, &entity, &meshed, &status);
  EXPECT_EQ(meshed, 2);
}

TEST_F(Loads, RecordsThatAreNoTargetRecordsGiveZeros) {
  const int32_t last = kN + MODCNT.word(kCntLoadTargets) + MODCNT.word(kCntConditionTargets) +
                       MODCNT.word(kCntEntryTargets);
  for (const int32_t r : {0, 1, kN, last + 1}) {
    SCOPED_TRACE(r);
    int32_t record = r, kind = -3, entity = -3, meshed = -3, status = -1;
    dll_uloade(&record, &kind, &entity, &meshed, &status);
    EXPECT_EQ(kind + entity + meshed, 0);
    EXPECT_EQ(status, r == 0 ? 0 : 1);
    int32_t kind2 = -3, entity2 = -3, relation = -3, apart = -3;
    kind = entity = -3;
    dll_ulode2(&record, &kind, &entity, &kind2, &entity2, &relation, &apart);
    EXPECT_EQ(kind + entity + kind2 + entity2 + relation + apart, 0);
  }
  // The last target record is one (a condition's).
  int32_t record = last, kind = -3, entity = -3, meshed = -3, status = -1;
  dll_uloade(&record, &kind, &entity, &meshed, &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(kind, 2);
}

TEST_F(Loads, TheRelationToTheSecondTarget) {
  struct Case {
    int32_t load;
    int32_t kind2, entity2, relation, apart;
  };
  const Case cases[] = {
      {8, 7, 2, 2, 0},   // a line with a set: 2, without a search
      {9, 3, 4, 2, 0},   // a line with the meshed surface SM
      {10, 0, 0, 0, 1},  // a line with SU, which has no elements: apart
      {17, 2, 6, 7, 0},  // a point with a point: the point's meshed line M1
      {1, 0, 0, 0, 1},   // L1 without a second target: it has no elements itself
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.load);
    int32_t record = range(c.load).first, kind = -3, entity = -3, kind2 = -3, entity2 = -3,
            relation = -3, apart = -3;
    dll_ulode2(&record, &kind, &entity, &kind2, &entity2, &relation, &apart);
    EXPECT_EQ(kind2, c.kind2);
    EXPECT_EQ(entity2, c.entity2);
    EXPECT_EQ(relation, c.relation);
    EXPECT_EQ(apart, c.apart);
  }
}

TEST_F(Loads, ARecordWhoseLoadIsMissingGivesZeros) {
  // The first target record of load 9 names load 99.
  const int32_t r = range(9).first;
  std::array<int32_t, 3> w{};
  RECIO(1, kArrNodeConditions, r, w);
  w[0] = 99;
  RECIO(-1, kArrNodeConditions, r, w);
  int32_t record = r, kind = -3, entity = -3, kind2 = -3, entity2 = -3, relation = -3, apart = -3;
  dll_ulode2(&record, &kind, &entity, &kind2, &entity2, &relation, &apart);
  EXPECT_EQ(kind + entity + kind2 + entity2 + relation + apart, 0);
}

}  // namespace
}  // namespace kvr::test
