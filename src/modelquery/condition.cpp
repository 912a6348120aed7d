// The constraint queries: the flags and coordinate system of a node (UCONE3, UCONS3), and
// the records of the condition table: prescribed values (UPRESC), rigid beams (URBEAM),
// equations (UEQUA) and boundary records read field by field (UBDRY3). Connections
// (type 7) are answered in connect.cpp. Nothing is written back to the model.
#include "modelquery/condition.h"

#include <algorithm>
#include <limits>

#include "modeldb/attlst.h"
#include "modeldb/entrec.h"
#include "modelquery/connect.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "modelquery/session.h"
#include "platform/fmtedit.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kDone = 0;
constexpr int32_t kOutOfRange = 1;
constexpr int32_t kMissing = 2;
constexpr int32_t kNoTerm = 3;
constexpr int32_t kWrongType = 5;
constexpr int32_t kTooSmall = 9;
constexpr int32_t kSetKind = 7;
constexpr int32_t kHeadForm = 2;
constexpr int32_t kUpperHalfType = 4;  // a boundary record of type 4 keeps the upper flags
constexpr int32_t kLastBoundaryType = 4;
constexpr int32_t kClearedFlags = 6;   // UBDRY3 clears positions 1 to 6 of both arrays

// NODCND word 1 (flags) and word 2 (coordinate system) of external node NODE; false for
// a node outside 1..the highest node, or one the store holds no record for.
bool nodeCondition(int32_t node, int32_t& flags, int32_t& system) {
  const int64_t internal = int64_t{node} - nodeOffset();
  if (internal < 1 || internal > highestNode() ||
      !recordsHeld(kArrNodeConditions, internal, internal)) {
    return false;
  }
  std::array<int32_t, kNodeConditionWords> rec{};
  RECIO(kRead, kArrNodeConditions, static_cast<int32_t>(internal), rec);
  flags = rec[0];
  system = rec[1];
  return true;
}

}  // namespace

// ---- The condition reader, the flag decoder, targets and node lists -------------------

int32_t ConditionRecord::word(int32_t k) const { return intOf(value(k)); }

int32_t readCondition(int32_t number, ConditionRecord& r) {
  if (number < 1 || number > MODCNT.word(kCntConditions)) return kConditionOutOfRange;
  std::array<int32_t, 2> name{};
  int32_t key = number;
  int32_t count = 0;
  ATTFND(kRead, name, kConditionEntryType, key, count);
  if (count == 0) return kConditionMissing;
  r = {};
  r.name = name;
  int32_t want = kConditionRecordValues;
  ATTVLR(kRead, kConditionEntryType, number, 1, want, r.values);
  return kConditionRead;
}

int32_t setCorrected(int32_t code) {
  return code % 10 == kSetKind ? clampWord(int64_t{code} - 10) : code;
}

EntityTarget splitTarget(int32_t code) {
  const int32_t c = setCorrected(code);
  return {c % 10, c / 10};
}

std::array<int32_t, 31> decodeFlags(int32_t word, FlagSign sign) {
  // The magnitude as an unsigned word: the most negative word has no flag (its only bit
  // is the 32nd), where taking its absolute value as an integer would overflow.
  const uint32_t magnitude = word < 0 ? 0u - static_cast<uint32_t>(word) : static_cast<uint32_t>(word);
  const int32_t factor = sign == FlagSign::kSigned && word < 0 ? -1 : 1;
  std::array<int32_t, 31> flags{};
  for (int32_t i = 1; i <= 31; ++i) {
    flags[static_cast<size_t>(i - 1)] = static_cast<int32_t>((magnitude >> (i - 1)) & 1u) * factor;
  }
  return flags;
}

void flagHalf(int32_t word, FlagSign sign, FlagHalf half, std::span<int32_t, kFlagPositions> out) {
  const std::array<int32_t, 31> flags = decodeFlags(word, sign);
  if (half == FlagHalf::kLower) {
    std::copy_n(flags.begin(), kFlagPositions, out.begin());
    return;
  }
  std::copy_n(flags.begin() + kFlagPositions, kFlagPositions - 1, out.begin());
  out[kFlagPositions - 1] = 0;
}

int32_t entityNodes(int32_t kind, int32_t number, std::vector<int32_t>& nodes) {
  // Every node of the model fits: a set or the whole model needs one word per node.
  const int32_t room = std::max(highestNode(), 1);
  nodes.assign(static_cast<size_t>(room), 0);
  int32_t count = 0;
  int32_t status = 0;
  UNODEG(kind, number, count, nodes, room, status);
  nodes.resize(static_cast<size_t>(std::clamp(count, 0, room)));
  return status;
}

// ---- Node queries -------------------------------------------------------------------

void UCONE3(const int32_t& node, std::span<int32_t, 16> flags, int32_t& system,
            int32_t& status) {
  int32_t word = 0, s = 0;
  if (!nodeCondition(node, word, s)) {
    status = kOutOfRange;
    return;
  }
  system = s;
  flagHalf(word, FlagSign::kUnsigned, FlagHalf::kUpper, flags);
  status = kDone;
}

void UCONS3(const int32_t& node, std::span<int32_t, 16> flags, int32_t& system,
            int32_t& spare, int32_t& status) {
  int32_t word = 0, s = 0;
  if (!nodeCondition(node, word, s)) {
    status = kOutOfRange;
    return;
  }
  system = s;
  flagHalf(word, FlagSign::kUnsigned, FlagHalf::kLower, flags);
  spare = 0;
  status = kDone;
}

// ---- Prescribed values, rigid beams, equations, boundary records ----------------------

void UPRESC(const int32_t& number, FText name, int32_t& kind, int32_t& entity,
            int32_t& dof, float& value, int32_t& ivalue, int32_t& status) {
  kind = entity = dof = 0;
  value = 0.0f;
  ConditionRecord r;
  if (readCondition(number, r) != kConditionRead) {
    status = kOutOfRange;
    return;
  }
  writeName(r.name, name);
  if (r.word(1) != kPrescribedType) {
    status = kMissing;
    return;
  }
  const EntityTarget t = splitTarget(r.word(3));
  kind = t.kind;
  entity = t.number;
  ivalue = nintOf(r.value(4));
  value = r.value(6);
  std::array<int32_t, kFlagPositions> flags{};
  flagHalf(r.word(2), FlagSign::kUnsigned, FlagHalf::kLower, flags);
  const auto first = std::find(flags.begin(), flags.end(), 1);
  if (first == flags.end()) {
    status = kMissing;
    return;
  }
  dof = static_cast<int32_t>(first - flags.begin()) + 1;
  status = kDone;
}

void URBEAM(const int32_t& number, std::span<int32_t> list, const int32_t& size,
            std::span<int32_t, 16> flags, int32_t& status) {
  ConditionRecord r;
  if (const int32_t s = readCondition(number, r); s != kConditionRead) {
    status = s;
    return;
  }
  if (r.word(1) != kRigidBeamType) {
    status = kWrongType;
    return;
  }
  const EntityTarget slaves = splitTarget(r.word(3));
  const EntityTarget master = splitTarget(r.word(5));
  CONNOD(kRigidBeamType, slaves.kind, slaves.number, master.kind, master.number, list, size,
         status);
  flagHalf(r.word(2), FlagSign::kSigned, FlagHalf::kLower, flags);
}

void UEQUA(const int32_t& number, std::span<int32_t> list, const int32_t& size,
           int32_t& node, std::span<int32_t, 16> flags, float& value6, int32_t& terms,
           std::span<int32_t> termflags, std::span<float> factors, float& value4,
           int32_t& status) {
  // 1. The head record.
  terms = 0;
  const int32_t h = highestNode();
  ConditionRecord head;
  if (const int32_t s = readCondition(number, head); s != kConditionRead) {
    status = s;
    return;
  }
  // 2. An equation's head: type 8, form 2.
  if (head.word(1) != kEquationType) {
    status = kWrongType;
    return;
  }
  const EntityTarget dependent = splitTarget(head.word(3));
  if (head.word(5) != kHeadForm) {
    status = kWrongType;
    return;
  }
  value6 = head.value(6);
  value4 = head.value(4);

  // 3. The dependent node: the first of its target's nodes.
  std::vector<int32_t> nodes;
  if (entityNodes(dependent.kind, dependent.number, nodes) != 0 || nodes.empty()) {
    status = kNoTerm;
    return;
  }
  node = nodes.front();

  // 4. The head's flags.
  flagHalf(head.word(2), FlagSign::kSigned, FlagHalf::kLower, flags);

  // 5. The term records, at most one per node of the model, in a list of the query's
  // own: the host's list would have to give up its last H words for them, and a list of
  // H words or fewer would be written before its start.
  std::vector<int32_t> termList(static_cast<size_t>(std::max(h, 0)));
  int32_t found = 0;
  int32_t s = 0;
  EQTERM(number, termList, h, found, s);
  if (s != 0) {
    status = s;
    return;
  }
  terms = found;

  // 6, 7. Each term's node count and nodes (the dependent node left out), then a 0. The
  // whole list must fit within SIZE: nothing is written past it.
  const auto room = static_cast<int32_t>(std::clamp<int64_t>(size, 0, static_cast<int64_t>(list.size())));
  int32_t t = 1;
  for (int32_t j = 1; j <= found; ++j) {
    ConditionRecord term;
    readCondition(termList[static_cast<size_t>(j - 1)], term);
    const EntityTarget target = splitTarget(term.word(3));
    if (const int32_t ns = entityNodes(target.kind, target.number, nodes); ns != 0) {
      status = ns;
      return;
    }
    // The host's arrays hold 16 flags and a factor per term.
    if (static_cast<size_t>(16 * j) > termflags.size() || static_cast<size_t>(j) > factors.size()) {
      status = kTooSmall;
      return;
    }
    flagHalf(term.word(2), FlagSign::kSigned, FlagHalf::kLower,
             std::span<int32_t, kFlagPositions>(termflags.subspan(static_cast<size_t>(16 * (j - 1)), kFlagPositions)));
    factors[static_cast<size_t>(j - 1)] = term.value(4);
    std::erase(nodes, node);
    const auto count = static_cast<int32_t>(nodes.size());
    if (int64_t{t} + count > room) {
      status = kTooSmall;
      return;
    }
    list[static_cast<size_t>(t - 1)] = count;
    std::copy(nodes.begin(), nodes.end(), list.begin() + t);
    t += 1 + count;
  }
  if (t > room) {
    status = kTooSmall;
    return;
  }
  list[static_cast<size_t>(t - 1)] = 0;
  status = kDone;
}

void UBDRY3(const int32_t& number, FText name, int32_t& type, int32_t& code1,
            std::span<int32_t, 16> flags1, int32_t& code2, std::span<int32_t, 16> flags2,
            float& value, int32_t& status) {
  value = 0.0f;
  code1 = code2 = 0;
  ConditionRecord r;
  if (const int32_t s = readCondition(number, r); s != kConditionRead) {
    status = s;
    return;
  }
  writeName(r.name, name);
  std::fill_n(flags1.begin(), kClearedFlags, 0);
  std::fill_n(flags2.begin(), kClearedFlags, 0);
  type = r.word(1) % 100;
  code1 = setCorrected(r.word(3));
  code2 = setCorrected(r.word(5));
  value = r.value(6);
  status = kDone;
  if (type > kLastBoundaryType) return;
  const FlagHalf half = type == kUpperHalfType ? FlagHalf::kUpper : FlagHalf::kLower;
  flagHalf(r.word(2), FlagSign::kSigned, half, flags1);
  const int32_t second = r.word(4) != 0 ? r.word(4) : r.word(2);
  flagHalf(second, FlagSign::kSigned, half, flags2);
}

}  // namespace kvr
