// The load queries: a load with its targets and values (ULOAD4), its first target alone
// (ULOADP), and per target record of the session its entity with the meshing state
// (ULOADE) and its relation to the load's second target (ULODE2).
//
// A load is the attribute entry of type 9 with a name and REAL values: 1 its description
// entry (type -5), 2 the target code (number x 10 + kind), 3 a word, 4 the second target
// code, 5 and 6 the first and last target record + 0.1 (written by the session start), 7
// to 10 four words, 11 on the load's values. In the first target, kind 5 stands for entity
// kind 42, kind 6 for kind 46 with the number less 1, and kind 7 (a set) has its number
// less 1; in the second, kind 7 has its number less 1. The description has INTEGER values:
// 3 the load type, 6 a flag word.
#include <algorithm>
#include <array>

#include "modeldb/attlst.h"
#include "modeldb/entrec.h"
#include "modelquery/adjqry.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "modelquery/session.h"
#include "platform/fmtedit.h"
#include "runtime/modcnt.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kOutOfRange = 1;
constexpr int32_t kMissing = 2;
constexpr int32_t kTypeRefused = 3;
constexpr int32_t kNoFlag = 4;
constexpr int32_t kTooSmall = 9;
constexpr int32_t kLoadType = 9;
constexpr int32_t kDescriptionType = -5;
constexpr int32_t kHeaderValues = 10;
constexpr int32_t kDescriptionValues = 6;
constexpr int32_t kRefusedLoadType = 3;
constexpr int32_t kKindNone = 0;
constexpr int32_t kKindPoint = 1;
constexpr int32_t kKindLine = 2;
constexpr int32_t kKindSurface = 3;
constexpr int32_t kKindBody = 4;
constexpr int32_t kKind42 = 5;
constexpr int32_t kKind46 = 6;
constexpr int32_t kKindSet = 7;
constexpr int32_t kMeshedLine = 1;
constexpr int32_t kBareLine = 2;
constexpr int32_t kMeshedSurface = 3;
constexpr int32_t kBareSurface = 4;

// The entry (TYPE, ID) with ID at least 1 (an ID of 0 would search by label): its name
// words and value count, 0 when there is none.
int32_t findEntry(int32_t type, int32_t id, std::array<int32_t, 2>& name) {
  if (id < 1) return 0;
  int32_t key = id;
  int32_t count = 0;
  ATTFND(kRead, name, type, key, count);
  return count;
}

// The header values 1..10 of load ID with C values; those beyond C are 0.
std::array<float, kHeaderValues> loadHeader(int32_t id, int32_t c) {
  std::array<float, kHeaderValues> v{};
  int32_t n = std::min(c, kHeaderValues);
  if (n > 0) ATTVLR(kRead, kLoadType, id, 1, n, std::span<float>(v).first(static_cast<size_t>(n)));
  return v;
}

// Code split into kind (code mod 10) and number (code div 10).
struct Target {
  int32_t kind;
  int32_t number;
};
Target split(int32_t code) { return {code % 10, code / 10}; }

// The number less 1, kept within the int32_t range.
int32_t lessOne(int32_t n) { return clampWord(int64_t{n} - 1); }

// A target record's number lies within the records that the session appended behind the
// node records: N + 1 .. N + the three run counts.
bool targetRecord(int32_t record) {
  const int64_t first = int64_t{highestNode()} + 1;
  const int64_t last = int64_t{highestNode()} + MODCNT.word(kCntLoadTargets) +
                       MODCNT.word(kCntConditionTargets) + MODCNT.word(kCntEntryTargets);
  return record >= first && record <= last && recordsHeld(kArrNodeConditions, record, record);
}

// The three words of target record RECORD.
std::array<int32_t, kNodeConditionWords> readTarget(int32_t record) {
  std::array<int32_t, kNodeConditionWords> w{};
  RECIO(kRead, kArrNodeConditions, record, w);
  return w;
}

// The first element of the mesh of line, surface or body NUMBER; 0 for a number whose
// record the store does not hold.
int32_t firstElement(int32_t kind, int32_t number) {
  int32_t first = 0, last = 0, word = 0;
  switch (kind) {
    case kKindLine:
      if (entityHeld(kArrLines, kLineWords, number, MODCNT.word(kCntLines))) {
        ELRNGL(number, first, last, word);
      }
      break;
    case kKindSurface:
      if (entityHeld(kArrSurfaces, kSurfaceWords, number, MODCNT.word(kCntSurfaces))) {
        ELRNGS(number, first, last, word);
      }
      break;
    case kKindBody:
      if (entityHeld(kArrBodies, kBodyWords, number, MODCNT.word(kCntBodies))) {
        ELRNGB(number, first, last, word);
      }
      break;
    default:
      break;
  }
  return first;
}

// The relation of a target of KIND to a neighbour of KIND2.
int32_t relationOf(int32_t kind, int32_t kind2) {
  struct Pair {
    int32_t kind;
    int32_t kind2;
    int32_t relation;
  };
  static constexpr std::array<Pair, 8> kRelations = {{
      {kKindPoint, kKindPoint, 6},
      {kKindPoint, kKindLine, 7},
      {kKindLine, kKindLine, 1},
      {kKindLine, kKindSurface, 2},
      {kKindLine, kKindBody, 8},
      {kKindSurface, kKindSurface, 3},
      {kKindSurface, kKindBody, 4},
      {kKindBody, kKindBody, 5},
  }};
  for (const Pair& p : kRelations) {
    if (p.kind == kind && p.kind2 == kind2) return p.relation;
  }
  return 0;
}

// The relation of a target of KIND to a second target that is a set.
int32_t setRelationOf(int32_t kind) {
  switch (kind) {
    case kKindPoint:
      return 7;
    case kKindLine:
      return 2;
    case kKindSurface:
      return 4;
    default:
      return 0;
  }
}

}  // namespace

void ULOAD4(const int32_t& number, FText name, FText description, int32_t& word3, int32_t& type,
            int32_t& word7, int32_t& word8, int32_t& word9, int32_t& word10, int32_t& kind,
            int32_t& entity, int32_t& kind2, int32_t& entity2, int32_t& count,
            std::span<float> values, const int32_t& size, int32_t& status) {
  status = 0;
  if (number < 1 || number > MODCNT.word(kCntLoads)) {
    status = kOutOfRange;
    return;
  }
  std::array<int32_t, 2> label{};
  const int32_t c = findEntry(kLoadType, number, label);
  if (c == 0) {
    status = kMissing;
    return;
  }
  count = c - kHeaderValues;
  if (count > size) {
    status = kTooSmall;
    return;
  }
  writeName(label, name);
  const std::array<float, kHeaderValues> v = loadHeader(number, c);
  auto value = [&v](int32_t k) { return intOf(v[static_cast<size_t>(k - 1)]); };

  // The description, cleared first: a missing entry gives a blank name, type 0 and the
  // flag 0 (status 4), not the words of an earlier load.
  const int32_t d = value(1);
  std::array<int32_t, 2> dlabel{};
  std::array<int32_t, kDescriptionValues> dv{};
  const int32_t dc = findEntry(kDescriptionType, d, dlabel);
  if (dc > 0) {
    writeName(dlabel, description);
    int32_t n = std::min(dc, kDescriptionValues);
    ATTVLI(kRead, kDescriptionType, d, 1, n, std::span<int32_t>(dv).first(static_cast<size_t>(n)));
  } else {
    description.fill(' ');
  }

  const Target first = split(value(2));
  kind = first.kind;
  entity = first.number;
  if (first.kind == kKind42) kind = 42;
  if (first.kind == kKind46) {
    kind = 46;
    entity = lessOne(first.number);
  }
  if (first.kind == kKindSet) entity = lessOne(first.number);
  const Target second = split(value(4));
  kind2 = second.kind;
  entity2 = second.kind == kKindSet ? lessOne(second.number) : second.number;
  word3 = value(3);
  word7 = value(7);
  word8 = value(8);
  word9 = value(9);
  word10 = value(10);

  type = dv[2];
  if (type == kRefusedLoadType) {
    status = kTypeRefused;
    return;
  }
  if (dv[5] == 0) status = kNoFlag;
  if (type >= 2 && first.kind != kKindNone && first.kind != kKind42 && first.kind != kKind46) {
    kind = nintOf(v[4]);
    entity = nintOf(v[5]);
  }
  if (count > 0) {
    int32_t n = count;
    const auto room =
        static_cast<size_t>(std::min<int64_t>(count, static_cast<int64_t>(values.size())));
    ATTVLR(kRead, kLoadType, number, kHeaderValues + 1, n, values.first(room));
  }
}

void ULOADP(const int32_t& number, int32_t& kind, int32_t& entity, int32_t& status) {
  status = 0;
  if (number < 1 || number > MODCNT.word(kCntLoads)) {
    status = kOutOfRange;
    return;
  }
  std::array<int32_t, 2> label{};
  const int32_t c = findEntry(kLoadType, number, label);
  if (c == 0) {
    status = kMissing;
    return;
  }
  const std::array<float, kHeaderValues> v = loadHeader(number, c);
  const Target first = split(intOf(v[1]));
  kind = first.kind;
  entity = first.kind == kKind46 || first.kind == kKindSet ? lessOne(first.number) : first.number;
}

void ULOADE(const int32_t& record, int32_t& kind, int32_t& entity, int32_t& meshed,
            int32_t& status) {
  status = 0;
  if (record == 0) {
    kind = entity = meshed = 0;
    return;
  }
  if (record > 0) {
    // A number that is no target record reads nothing: the store would end the run.
    if (!targetRecord(record)) {
      kind = entity = meshed = 0;
      status = 1;
      return;
    }
    const Target t = split(readTarget(record)[1]);
    kind = t.kind;
    entity = t.number;
  }
  switch (kind) {
    case kKindLine:
      meshed = firstElement(kind, entity) > 0 ? kMeshedLine : kBareLine;
      break;
    case kKindSurface:
      meshed = firstElement(kind, entity) > 0 ? kMeshedSurface : kBareSurface;
      break;
    case kKindNone:
    case kKindPoint:
    case kKindBody:
      meshed = 0;
      break;
    default:
      break;
  }
}

void ULODE2(const int32_t& record, int32_t& kind, int32_t& entity, int32_t& kind2, int32_t& entity2,
            int32_t& relation, int32_t& apart) {
  apart = 0;
  auto zeros = [&] { kind = entity = kind2 = entity2 = relation = 0; };
  // A number that is no target record, or one whose load has no entry, is answered as
  // record 0.
  if (record <= 0 || !targetRecord(record)) {
    zeros();
    return;
  }
  const std::array<int32_t, kNodeConditionWords> w = readTarget(record);
  std::array<int32_t, 2> label{};
  const int32_t c = findEntry(kLoadType, w[0], label);
  if (c == 0) {
    zeros();
    return;
  }
  const Target t = split(w[1]);
  kind = t.kind;
  entity = t.number;
  const std::array<float, kHeaderValues> v = loadHeader(w[0], c);
  const Target second = split(intOf(v[3]));
  kind2 = second.kind;
  if (kind2 == kKindSet) {
    entity2 = lessOne(second.number);
    relation = setRelationOf(kind);
    return;
  }
  relation = 0;
  entity2 = second.number;
  int32_t count = 0;
  ADJSRC(kind, entity, kind2, entity2, count, {}, 0);
  if (count <= 0) {
    apart = 1;
    kind2 = entity2 = relation = 0;
    return;
  }
  relation = relationOf(kind, kind2);
}

}  // namespace kvr
