// The constraint queries through the host's routines: the flag halves of a node, the
// prescribed values, the boundary records field by field, the rigid beams and the
// equations of the query model, and the decoding of flag words.
#include <array>
#include <limits>
#include <string>
#include <vector>

#include "kvr7dbio.h"
#include "modelquery/condition.h"
#include "modelquery/session.h"
#include "queryfixture.h"

namespace kvr::test {
namespace {

using Flags = std::array<int32_t, 16>;

// Flags with the positions given set to V, the rest 0.
Flags flags(std::initializer_list<int32_t> positions, int32_t v = 1) {
  Flags f{};
  for (const int32_t p : positions) f[static_cast<size_t>(p - 1)] = v;
  return f;
}

TEST(FlagWords, TheMagnitudeCarriesThirtyOneFlagsAndTheSignIsNone) {
  constexpr int32_t kLowest = std::numeric_limits<int32_t>::min();
  std::array<int32_t, 31> all{};
  all.fill(1);
  EXPECT_EQ(decodeFlags(0x7FFFFFFF, FlagSign::kUnsigned), all);
  // The most negative word has only its 32nd bit, which is no flag.
  EXPECT_EQ(decodeFlags(kLowest, FlagSign::kUnsigned), (std::array<int32_t, 31>{}));
  EXPECT_EQ(decodeFlags(kLowest, FlagSign::kSigned), (std::array<int32_t, 31>{}));
  EXPECT_EQ(decodeFlags(kLowest + 1, FlagSign::kSigned)[30], -1);
  // Signed: the bits times the sign.
  Flags f{};
  flagHalf(-3, FlagSign::kSigned, FlagHalf::kLower, f);
  EXPECT_EQ(f, flags({1, 2}, -1));
  flagHalf(-3, FlagSign::kUnsigned, FlagHalf::kLower, f);
  EXPECT_EQ(f, flags({1, 2}));
  // The upper half: flags 17 to 31 in positions 1 to 15, position 16 cleared.
  f.fill(7);
  flagHalf(0x7FFF0000, FlagSign::kSigned, FlagHalf::kUpper, f);
  Flags upper{};
  for (int32_t p = 1; p <= 15; ++p) upper[static_cast<size_t>(p - 1)] = 1;
  EXPECT_EQ(f, upper);
}

class Constraints : public QuerySession {
 protected:
  void SetUp() override {
    QuerySession::SetUp();
    start();
  }

  struct Node {
    Flags flags{};
    int32_t system = -7, spare = -7, status = -7;
  };
  static Node ucons3(int32_t node) {
    Node n;
    n.flags.fill(-7);
    dll_ucons3(&node, n.flags.data(), &n.system, &n.spare, &n.status);
    return n;
  }
  static Node ucone3(int32_t node) {
    Node n;
    n.flags.fill(-7);
    dll_ucone3(&node, n.flags.data(), &n.system, &n.status);
    return n;
  }
  // Word 1 of the node record of internal node N set to WORD.
  static void setFlagWord(int32_t n, int32_t word) {
    Words r = nodeRecord(n);
    r[0] = word;
    int32_t stat = 0;
    ARRIO(-1, kArrNodeConditions, n, 1, -1, r, {}, stat);
  }

  struct Presc {
    std::string name = "########";
    int32_t kind = -7, entity = -7, dof = -7, ivalue = -7, status = -7;
    float value = -7;
  };
  static Presc upresc(int32_t number) {
    Presc p;
    dll_upresc(&number, p.name.data(), &p.kind, &p.entity, &p.dof, &p.value, &p.ivalue, &p.status);
    return p;
  }

  struct Boundary {
    std::string name = "########";
    int32_t type = -7, code1 = -7, code2 = -7, status = -7;
    Flags flags1{}, flags2{};
    float value = -7;
  };
  static Boundary ubdry3(int32_t number) {
    Boundary b;
    b.flags1.fill(-7);
    b.flags2.fill(-7);
    dll_ubdry3(&number, b.name.data(), &b.type, &b.code1, b.flags1.data(), &b.code2,
               b.flags2.data(), &b.value, &b.status);
    return b;
  }

  static constexpr int32_t kSentinel = -7;
  struct Beam {
    Words list;
    Flags flags{};
    int32_t status = -7;
  };
  static Beam urbeam(int32_t number, int32_t size) {
    Beam b;
    b.list.assign(static_cast<size_t>(size) + 3, kSentinel);
    b.flags.fill(-7);
    dll_urbeam(&number, b.list.data(), &size, b.flags.data(), &b.status);
    return b;
  }

  struct Equation {
    Words list;
    int32_t node = -7, terms = -7, status = -7;
    Flags flags{};
    float value6 = -7, value4 = -7;
    Words termflags;
    std::vector<float> factors;
  };
  static Equation uequa(int32_t number, int32_t size) {
    Equation e;
    e.list.assign(static_cast<size_t>(size) + 3, kSentinel);
    e.flags.fill(-7);
    e.termflags.assign(16 * QueryModel::kAllNodes, -7);
    e.factors.assign(QueryModel::kAllNodes, -7);
    dll_uequa(&number, e.list.data(), &size, &e.node, e.flags.data(), &e.value6, &e.terms,
              e.termflags.data(), e.factors.data(), &e.value4, &e.status);
    return e;
  }
  // LIST(1..N) and whether nothing was written past SIZE.
  static Words first(const Words& list, size_t n) { return Words(list.begin(), list.begin() + n); }
  static bool untouchedFrom(const Words& list, size_t size) {
    return std::all_of(list.begin() + size, list.end(), [](int32_t v) { return v == kSentinel; });
  }
};

TEST_F(Constraints, ANodesFlagWordInTwoHalves) {
  // Node 33: FLAGON and FLAGOFF leave 65537 beside FIX: flags 1 and 17.
  const int32_t node = 1000 + QueryModel::kFlagNode;
  Node n = ucons3(node);
  EXPECT_EQ(n.status, 0);
  EXPECT_EQ(n.flags, flags({1}));
  EXPECT_EQ(n.system, 0);
  EXPECT_EQ(n.spare, 0);
  n = ucone3(node);
  EXPECT_EQ(n.status, 0);
  EXPECT_EQ(n.flags, flags({1}));
  EXPECT_EQ(n.system, 0);
  // A node's coordinate system: L3's 2 on node 10.
  EXPECT_EQ(ucons3(1010).system, 2);
  EXPECT_EQ(ucons3(1010).flags, flags({1, 3}));  // FIX's mask 5

  // A negative word decodes as its magnitude; the most negative has no flag.
  setFlagWord(QueryModel::kFlagNode, -65537);
  EXPECT_EQ(ucons3(node).flags, flags({1}));
  EXPECT_EQ(ucone3(node).flags, flags({1}));
  setFlagWord(QueryModel::kFlagNode, std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ucons3(node).flags, Flags{});
  EXPECT_EQ(ucone3(node).flags, Flags{});
  setFlagWord(QueryModel::kFlagNode, 0x7FFFFFFF);
  EXPECT_EQ(ucone3(node).flags, (Flags{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0}));

  // Out of range (node 1000 is internal node 0): status 1, the outputs untouched.
  for (const int32_t outside : {1000, 1001 + QueryModel::kAllNodes, -5}) {
    for (const Node& m : {ucons3(outside), ucone3(outside)}) {
      EXPECT_EQ(m.status, 1) << outside;
      EXPECT_EQ(m.flags, (Flags{-7, -7, -7, -7, -7, -7, -7, -7, -7, -7, -7, -7, -7, -7, -7, -7}));
      EXPECT_EQ(m.system, -7);
      EXPECT_EQ(m.spare, -7);
    }
  }
}

TEST_F(Constraints, PrescribedValues) {
  // PRESC: flags 3 and 4 (word 12), on the stored set 5 (NODELINE, set 4 of the queries),
  // 2.5 rounded away from zero.
  Presc p = upresc(27);
  EXPECT_EQ(p.status, 0);
  EXPECT_EQ(p.name, "PRESC   ");
  EXPECT_EQ(p.kind, 7);
  EXPECT_EQ(p.entity, 4);
  EXPECT_EQ(p.dof, 3);
  EXPECT_EQ(p.value, 7.25f);
  EXPECT_EQ(p.ivalue, 3);
  // PRESCUP sets only flag 17: status 2 with the record's values written, -2.5 gives -3.
  p = upresc(28);
  EXPECT_EQ(p.status, 2);
  EXPECT_EQ(p.kind, 8);
  EXPECT_EQ(p.entity, 1040);
  EXPECT_EQ(p.dof, 0);
  EXPECT_EQ(p.value, 1.75f);
  EXPECT_EQ(p.ivalue, -3);
  // A record of another type: only the name, the cleared outputs.
  p = upresc(29);
  EXPECT_EQ(p.status, 2);
  EXPECT_EQ(p.name, "RBEAM   ");
  EXPECT_EQ(p.kind, 0);
  EXPECT_EQ(p.entity, 0);
  EXPECT_EQ(p.dof, 0);
  EXPECT_EQ(p.value, 0.0f);
  EXPECT_EQ(p.ivalue, -7);
  // No such condition, or out of range: status 1, the name untouched.
  for (const int32_t number : {5, 0, QueryModel::kAllConditions + 1}) {
    p = upresc(number);
    EXPECT_EQ(p.status, 1) << number;
    EXPECT_EQ(p.name, "########") << number;
    EXPECT_EQ(p.kind, 0) << number;
  }
}

TEST_F(Constraints, BoundaryRecordsFieldByField) {
  struct Case {
    int32_t number;
    std::string name;
    int32_t type, code1, code2;
    Flags flags1, flags2;
    float value;
  };
  const Flags kept = {0, 0, 0, 0, 0, 0, -7, -7, -7, -7, -7, -7, -7, -7, -7, -7};
  const Case cases[] = {
      {21, "FLAGON  ", 1, 10338, 0, flags({1}), flags({1}), 0},     // flag 17 is upper
      {23, "BDRY2   ", 2, 10408, 10408, flags({1, 2}), flags({3, 4}), 1.5f},
      {24, "BDRY3   ", 3, 10408, 0, flags({1, 2}, -1), flags({1, 2}, -1), 2.5f},
      {25, "BDRY4   ", 4, 10408, 0, flags({1, 2}), flags({1, 2}), 0},  // flags 17, 18
      {26, "BDRY12  ", 12, 10408, 0, kept, kept, 3.5f},
      {27, "PRESC   ", 9, 47, 0, kept, kept, 7.25f},                 // the set 57 as 47
      {39, "CONNPTS ", 7, 217, 227, kept, kept, 0},
  };
  for (const Case& c : cases) {
    const Boundary b = ubdry3(c.number);
    EXPECT_EQ(b.status, 0) << c.number;
    EXPECT_EQ(b.name, c.name) << c.number;
    EXPECT_EQ(b.type, c.type) << c.number;
    EXPECT_EQ(b.code1, c.code1) << c.number;
    EXPECT_EQ(b.code2, c.code2) << c.number;
    EXPECT_EQ(b.flags1, c.flags1) << c.number;
    EXPECT_EQ(b.flags2, c.flags2) << c.number;
    EXPECT_EQ(b.value, c.value) << c.number;
  }
  for (const auto& [number, status] : {std::pair{0, 1}, {41, 1}, {5, 2}}) {
    const Boundary b = ubdry3(number);
    EXPECT_EQ(b.status, status) << number;
    EXPECT_EQ(b.name, "########") << number;
    EXPECT_EQ(b.value, 0.0f) << number;
    EXPECT_EQ(b.code1, 0) << number;
  }
}

TEST_F(Constraints, RigidBeamsPairEveryNodeButTheMaster) {
  // RBEAM from L3 (nodes 10-12) to PN11 (node 11): 11 is the master and follows nothing.
  const Words triples = {1010, 1, 1011, 1012, 1, 1011, 0};
  Beam b = urbeam(29, 20);
  EXPECT_EQ(b.status, 0);
  EXPECT_EQ(first(b.list, 7), triples);
  EXPECT_EQ(b.flags, flags({1, 2, 3}));
  // The closing 0 needs its word: with 6 the second triple is refused and the list holds
  // the first, closed; nothing past it is written.
  b = urbeam(29, 6);
  EXPECT_EQ(b.status, 9);
  EXPECT_EQ(first(b.list, 6), (Words{1010, 1, 1011, 0, kSentinel, kSentinel}));
  EXPECT_TRUE(untouchedFrom(b.list, 4));
  b = urbeam(29, 7);
  EXPECT_EQ(b.status, 0);
  EXPECT_EQ(first(b.list, 7), triples);
  b = urbeam(29, 3);
  EXPECT_EQ(b.status, 9);
  EXPECT_EQ(first(b.list, 3), (Words{0, kSentinel, kSentinel}));
  EXPECT_TRUE(untouchedFrom(b.list, 1));
  // RBSELF: the first target is the master alone, an empty list; flag word -3.
  b = urbeam(30, 5);
  EXPECT_EQ(b.status, 0);
  EXPECT_EQ(b.list[0], 0);
  EXPECT_EQ(b.flags, flags({1, 2}, -1));
  EXPECT_EQ(urbeam(30, 0).status, 9);
  // A connection's record, a missing one and a number out of range.
  b = urbeam(35, 20);
  EXPECT_EQ(b.status, 5);
  EXPECT_EQ(b.flags[0], -7);
  EXPECT_EQ(urbeam(5, 20).status, 2);
  EXPECT_EQ(urbeam(0, 20).status, 1);
  EXPECT_EQ(urbeam(QueryModel::kAllConditions + 1, 20).status, 1);
}

TEST_F(Constraints, EquationsListTheirTermsNodes) {
  // EQHEAD on PN11 (node 11) with EQT1 on L3 (10-12, the dependent node left out) and
  // EQT2 on PN5 (node 5). Six words: less than the model's nodes, whose number the term
  // list would have taken at the list's end.
  Equation e = uequa(31, 6);
  EXPECT_EQ(e.status, 0);
  EXPECT_EQ(e.node, 1011);
  EXPECT_EQ(e.terms, 2);
  EXPECT_EQ(first(e.list, 6), (Words{2, 1010, 1012, 1, 1005, 0}));
  EXPECT_TRUE(untouchedFrom(e.list, 6));
  EXPECT_EQ(e.flags, flags({1, 2}));
  EXPECT_EQ(e.value6, 4.5f);
  EXPECT_EQ(e.value4, 1.25f);
  EXPECT_EQ(first(e.termflags, 16), (Words{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Words(e.termflags.begin() + 16, e.termflags.begin() + 32),
            (Words{0, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(e.termflags[32], -7);
  EXPECT_EQ(e.factors[0], 2.0f);
  EXPECT_EQ(e.factors[1], -0.5f);
  EXPECT_EQ(e.factors[2], -7.0f);

  // A list without room for the counts, the nodes and the 0: status 9, nothing past it.
  for (const int32_t size : {5, 3, 0}) {
    e = uequa(31, size);
    EXPECT_EQ(e.status, 9) << size;
    EXPECT_TRUE(untouchedFrom(e.list, static_cast<size_t>(size))) << size;
  }
  // A head without terms; a term record, a rigid beam; missing and out of range.
  e = uequa(34, 6);
  EXPECT_EQ(e.status, 3);
  EXPECT_EQ(e.terms, 0);
  EXPECT_EQ(uequa(32, 6).status, 5);
  EXPECT_EQ(uequa(29, 6).status, 5);
  EXPECT_EQ(uequa(5, 6).status, 2);
  EXPECT_EQ(uequa(0, 6).status, 1);
}

}  // namespace
}  // namespace kvr::test
