// Entity records, element connectivity and the existence test.
#include "modeldb/entrec.h"

#include <bit>
#include <cstdlib>
#include <limits>
#include <vector>

#include "messages/catalog.h"
#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/corsto.h"
#include "modeldb/elttab.h"
#include "modeldb/entkind.h"
#include "modeldb/seqtab.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/msgarg.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kWrite = -1;
constexpr int32_t kIntegers = -1;
constexpr int32_t kReals = 1;
constexpr int32_t kAttributeTypeColumn = 6;

// A record position as ARRIO takes it; a position beyond the word range is held at its
// largest value, which ARRIO refuses as beyond the array.
int32_t position(int64_t p) {
  return p > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                 : static_cast<int32_t>(p);
}

// The element connectivity records of the registry in force, looked up again only when
// the registry or the array's place in the store changes.
const CoreRecords& connectivityRecords() {
  static CoreRecords records;
  static uint64_t generation = std::numeric_limits<uint64_t>::max();
  static int32_t file = 0;
  static int32_t array = 0;
  const uint64_t now = registryGeneration();
  if (now != generation || file != REGHED.file || array != REGHED.ARRCOR(kArrConnectivity)) {
    generation = now;
    file = REGHED.file;
    array = REGHED.ARRCOR(kArrConnectivity);
    records = CoreRecords(file, array);
  }
  return records;
}

int32_t entityWidth(int32_t k) {
  switch (k) {
    case kArrLines: return kLineWords;
    case kArrSurfaces: return kSurfaceWords;
    case kArrBodies: return kBodyWords;
    case kArrPoints: return kPointWords;
    default: return 0;
  }
}

// The name array of a name-record kind.
int32_t nameArray(const EntityKind& row) {
  return row.source != 0 ? row.source : APPSTA.ARRHND(kHandleKind46Names);
}

// Record I of named array K is within the registry in force and its allocated records.
bool recordHeld(int32_t k, int32_t i) {
  return k >= 1 && k <= REGHED.top && k <= RegHed::kArrays && i >= 1 && i <= REGHED.ARRLEN(k);
}

// The two words of name record ID of array K; false when the record is not held.
bool nameRecord(int32_t k, int32_t id, std::array<float, 2>& name) {
  if (!recordHeld(k, id)) return false;
  ARRREA(kRead, k, id, name);
  return true;
}

// The first word of a deleted entity's or entry's label.
float deletionMarker() { return MODCON.real(kModDeletedMarker); }

// MSGENT's label of entity E of KIND: the name record for the kinds that keep one, else
// the label of the entity's attribute entry of the type that CODMAP converts KIND to.
void entityLabel(int32_t e, int32_t kind, int32_t& word1, int32_t& word2) {
  const EntityKind* row = kind >= 1 && kind <= kMaxEntityKind ? entityKind(kind) : nullptr;
  std::array<float, 2> name{};
  if (row != nullptr && row->test == KindTest::kNameRecord) {
    if (!nameRecord(nameArray(*row), e, name)) return;
  } else {
    int32_t type = 0;
    CODMAP(kAttributeTypeColumn, kind, type);
    const int32_t r = attributeEntry(type, e);
    if (r == 0 || !nameRecord(kArrLabels, r, name)) return;
  }
  word1 = std::bit_cast<int32_t>(name[0]);
  word2 = std::bit_cast<int32_t>(name[1]);
}

}  // namespace

void RECIO(int32_t mode, int32_t k, int32_t id, std::span<int32_t> rec) {
  int32_t stat = 0;
  const int32_t w = entityWidth(k);
  if (w == 0) {
    ARRIO(mode, k, id, 1, kIntegers, rec, {}, stat);
    return;
  }
  // A number below 1 keeps its own value, so that ARRIO names it as the bad record.
  const int32_t first = id < 1 ? id : position(int64_t{id - 1} * w + 1);
  ARRIO(mode, k, first, w, kIntegers, rec, {}, stat);
}

void ARRREA(int32_t mode, int32_t k, int32_t i, std::span<float> rbuf) {
  int32_t stat = 0;
  ARRIO(mode, k, i, 1, kReals, {}, rbuf, stat);
}

void ARRREC(int32_t mode, int32_t k, int32_t id, std::span<float> rbuf) {
  if (k != kArrShapes) {
    ARRREA(mode, k, id, rbuf);
    return;
  }
  int32_t stat = 0;
  const int32_t first = id < 1 ? id : position(int64_t{id} * kShapeWords - (kShapeWords - 1));
  ARRIO(mode, k, first, kShapeWords, kReals, {}, rbuf, stat);
}

void ELCONN(int32_t id, std::span<int32_t> nodes, int32_t& nnod, int32_t& shape, int32_t& stat) {
  stat = 1;
  const int32_t m = MODCNT.word(kCntElementNodes);
  const int64_t e = std::llabs(int64_t{id});
  if (id == 0 || e > MODCNT.word(kCntHighestElement) || m < 0) return;
  const int32_t first = position((e - 1) * (int64_t{m} + 1) + 1);
  const auto room = static_cast<int32_t>(nodes.size());
  int32_t io = 0;
  if (id > 0) {
    // A record the store does not hold (a highest element beyond the stored ones in a
    // damaged file) would end the run: the element is out of range.
    const int64_t held = REGHED.top >= kArrConnectivity ? REGHED.ARRLEN(kArrConnectivity) : 0;
    if (first < 1 || first > held) return;
    // The records lie within the records in use, as ARRIO would require: they are copied
    // straight from the store, the array looked up once for every element read.
    const CoreRecords& records = connectivityRecords();
    std::array<int32_t, 1> head{};
    records.get(first, 1, std::span<int32_t>(head));
    shape = head[0] == std::numeric_limits<int32_t>::min() ? 0 : std::abs(head[0]);
    nnod = SHPNOD(shape);
    // More nodes than the record or NODES holds would be read from the next element or
    // written past the caller's array.
    if (nnod == 0 || nnod > m || nnod > room || int64_t{first} + nnod > held) return;
    records.get(first + 1, nnod, nodes);
    stat = nodes[0] < 0 ? 1 : 0;
    return;
  }
  // Nodes beyond M would be dropped without a word.
  if (nnod < 0 || nnod > m || nnod > room || SHPNOD(shape) > m) return;
  static std::vector<int32_t> record;
  record.assign(static_cast<size_t>(m) + 1, 0);
  record[0] = -shape;
  for (int32_t i = 1; i <= nnod; ++i) record[static_cast<size_t>(i)] = nodes[static_cast<size_t>(i - 1)];
  ARRIO(kWrite, kArrConnectivity, first, m + 1, kIntegers, record, {}, io);
  stat = 0;
}

int32_t ENTEXS(int32_t id, int32_t kind) {
  // No entity has a number below 1, whatever the deleted counts say.
  if (id < 1) return 0;
  const EntityKind* row = entityKind(kind);
  if (row == nullptr) return attributeEntry(0, id) != 0 ? -1 : 0;
  // Numbers above the count never exist, also for the kinds whose count the existence
  // test used not to read.
  if (row->countWord != 0 && row->rangeTested && id > MODCNT.word(row->countWord)) return 0;
  if (row->deleted1 != 0) {
    int64_t deleted = MODCNT.word(row->deleted1);
    if (row->deleted2 != 0) deleted += MODCNT.word(row->deleted2);
    if (deleted <= 0) return -1;
  }
  switch (row->test) {
    case KindTest::kInRange:
      return -1;
    case KindTest::kElement: {
      std::array<int32_t, kElementNodes> nodes{};
      int32_t nnod = 0;
      int32_t shape = 0;
      int32_t stat = 0;
      ELCONN(id, nodes, nnod, shape, stat);
      return stat == 0 ? -1 : 0;
    }
    case KindTest::kAttribute:
      return attributeEntry(row->source, id) != 0 ? -1 : 0;
    case KindTest::kNameRecord: {
      std::array<float, 2> name{};
      if (!nameRecord(nameArray(*row), id, name)) return 0;
      return name[0] == deletionMarker() ? 0 : -1;
    }
  }
  return 0;
}

void ELRNGB(int32_t id, int32_t& first, int32_t& last, int32_t& typw) {
  RECIO(kRead, kArrBodies, id, ENTBUF.body);
  typw = ENTBUF.body[7];
  first = ENTBUF.body[8];
  last = ENTBUF.body[9];
  if (first > MODCNT.word(kCntHighestElement)) first = last = 0;
}

void ELRNGS(int32_t id, int32_t& first, int32_t& last, int32_t& sub) {
  RECIO(kRead, kArrSurfaces, id, ENTBUF.surface);
  sub = ENTBUF.surface[5] % 100;
  first = ENTBUF.surface[6];
  last = ENTBUF.surface[7];
  if (first > MODCNT.word(kCntHighestElement)) first = last = 0;
}

void ELRNGL(int32_t id, int32_t& first, int32_t& last, int32_t& sub) {
  if (ENTEXS(id, 2) == 0) {
    sub = first = last = -1;
    return;
  }
  RECIO(kRead, kArrLines, id, ENTBUF.line);
  const int32_t word7 = ENTBUF.line[6];
  sub = lineSubtypeOf(word7);
  const int32_t type = lineTypeOf(word7);
  if (type == 0) {
    first = last = -2;
    return;
  }
  first = last = 0;
  if (type == kCompositeLine) return;
  first = ENTBUF.line[7];
  last = ENTBUF.line[8];
  if (first > MODCNT.word(kCntHighestElement)) first = last = 0;
}

void installEntityLabels() { setEntityLabelReader(entityLabel); }

ModelTextHooks TXTHOOKS{ARRREA};

}  // namespace kvr
