// The line records: the accessor table and the routines built from it.
#include "modeldb/linrec.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "modeldb/shprec.h"
#include "runtime/modcnt.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kWrite = -1;
constexpr int32_t kIntegers = -1;
constexpr int32_t kArrLineNames = 3;
constexpr int32_t kArrSets = 19;
constexpr int32_t kInlineMembers = 4;
constexpr int32_t kDefaultModulus = 10000;

constexpr NameKind kLineNames = {kArrLineNames, kCntLines, 1, 1, LINEXS};

// The types a field belongs to, one bit per type as LNG07B gives it (bit 10 for 99).
using TypeSet = uint32_t;
constexpr TypeSet bitOf(int32_t t) { return t == 99 ? 1u << 10 : (t >= 0 && t <= 9 ? 1u << t : 0u); }
constexpr TypeSet kAnyType = 0x7FFu;
constexpr TypeSet kTyped = kAnyType & ~bitOf(0) & ~bitOf(kCompositeLine);
constexpr TypeSet kNotComposite = kAnyType & ~bitOf(kCompositeLine);

// How a field sits in its word.
enum class Part {
  kWhole,
  kCode,     // c of s x (100 d + c)
  kDigit,    // d, signed
  kLow10,
  kHigh10,
  kLowM,
  kHighM,
  kLow100,
  kHigh100,
  kSubtype,  // word 7 mod 100
  kType,     // word 7 div 100
};

int32_t modulus() { return IDMODG() > 0 ? IDMODG() : kDefaultModulus; }

int32_t extract(Part p, int32_t w) {
  const int64_t x = w;
  switch (p) {
    case Part::kWhole: return w;
    case Part::kCode: return static_cast<int32_t>(std::llabs(x % 100));
    case Part::kDigit: return static_cast<int32_t>(x / 100 % 10);
    case Part::kLow10: return static_cast<int32_t>(x % 10);
    case Part::kHigh10: return static_cast<int32_t>(x / 10);
    case Part::kLowM: return static_cast<int32_t>(x % modulus());
    case Part::kHighM: return static_cast<int32_t>(x / modulus());
    case Part::kLow100:
    case Part::kSubtype: return static_cast<int32_t>(x % 100);
    case Part::kHigh100: return static_cast<int32_t>(x / 100);
    case Part::kType: return lineTypeOf(w);
  }
  return 0;
}

// Word W with the field replaced by V; the arithmetic is done in 64 bits and the word
// keeps its low 32 bits.
int32_t insert(Part p, int32_t w, int32_t v) {
  const int64_t x = w;
  const int64_t m = modulus();
  int64_t r = v;
  switch (p) {
    case Part::kWhole: break;
    case Part::kCode: {
      const int64_t h = x / 100;
      r = (h < 0 ? -1 : 1) * (v + 100 * std::llabs(h));
      break;
    }
    case Part::kDigit: r = (v < 0 ? -1 : 1) * (100 * std::llabs(int64_t{v}) + std::llabs(x % 100)); break;
    case Part::kLow10: r = 10 * (x / 10) + v; break;
    case Part::kHigh10: r = 10 * int64_t{v} + x % 10; break;
    case Part::kLowM: r = m * (x / m) + v; break;
    case Part::kHighM: r = int64_t{v} * m + x % m; break;
    case Part::kLow100: r = 100 * (x / 100) + v; break;
    case Part::kHigh100: r = 100 * int64_t{v} + x % 100; break;
    case Part::kSubtype: r = 100 * (x / 100) + v; break;
    case Part::kType: r = 100 * int64_t{v} + x % 100; break;
  }
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(r)));
}

// A get accessor: its field, the types it reads, and its answers for a missing line,
// another type and a line without a type.
struct GetRule {
  int32_t word;
  Part part;
  TypeSet types;
  int32_t missing;
  int32_t otherType;
  int32_t noType;
};

// Value checks of put accessors: 0 accepted, else the refusal.
using Check = int32_t (*)(int32_t v);
int32_t anyValue(int32_t) { return 0; }
int32_t aPoint(int32_t v) { return PNTEXS(v) != 0 ? 0 : -2; }
int32_t aCode(int32_t v) { return v >= 1 && v <= 99 ? 0 : -2; }
int32_t aDigit(int32_t v) { return v >= -9 && v <= 9 ? 0 : -2; }
int32_t aSubtype(int32_t v) {
  return v == 0 || v == 1 || v == 2 || v == 21 || v == 22 || v == 41 ? 0 : -2;
}
int32_t aFlag(int32_t v) { return (v >= 0 && v <= 4) || v == 7 ? 0 : -2; }
// 0, or an entity counted in word W that exists.
bool zeroOr(int32_t v, int32_t w, int32_t (*exists)(int32_t)) {
  return v == 0 || (MODCNT.word(w) > 0 && exists(v) != 0);
}
int32_t aSystem(int32_t v) { return zeroOr(v, kCntCoordSystems, CSYEXS) ? 0 : -2; }
int32_t aMaterial(int32_t v) { return zeroOr(v, kCntMaterials, MATEXS) ? 0 : -2; }
int32_t aProperty(int32_t v) { return zeroOr(v, kCntProperties, PHYEXS) ? 0 : -2; }
// A set other than set 1 whose record holds type 3 (either sign) and kind 1.
int32_t aPointSet(int32_t v) {
  if (v == 1 || SETEXS(v) == 0) return -3;
  std::array<int32_t, 4> rec{};
  RECIO(kRead, kArrSets, v, rec);
  return std::abs(rec[1]) == 3 && rec[3] == 1 ? 0 : -4;
}

// A put accessor: its field, the types it writes (others refused with WRONGTYPE), and the
// check of the value.
struct PutRule {
  int32_t word;
  Part part;
  TypeSet types;
  int32_t wrongType;
  Check check;
};

// The accessor table.
constexpr GetRule kG01{kLnStatus, Part::kWhole, kAnyType, 0, 0, 0};
constexpr GetRule kG02{kLnEnd1, Part::kWhole, kAnyType, -1, 0, 0};
constexpr GetRule kG03{kLnEnd2, Part::kWhole, kAnyType, -1, 0, 0};
constexpr GetRule kG04{kLnCode, Part::kCode, kTyped, -1, 0, -1};
constexpr GetRule kG04B{kLnCode, Part::kDigit, kTyped, 0, 0, 0};
constexpr GetRule kG05C{kLnWord5, Part::kWhole, bitOf(4), -1, 0, 0};
constexpr GetRule kG06C{kLnWord6, Part::kWhole, bitOf(4), -1, 0, 0};
constexpr GetRule kG05D{kLnWord5, Part::kWhole, bitOf(5), -1, 0, 0};
constexpr GetRule kG06{kLnWord6, Part::kWhole, bitOf(2), -1, 0, 0};
constexpr GetRule kG06D2{kLnWord6, Part::kWhole, bitOf(2), -1, 0, 0};
constexpr GetRule kG06D3{kLnWord5, Part::kWhole, bitOf(3), -1, 0, 0};
constexpr GetRule kG06E{kLnWord6, Part::kWhole, bitOf(kCompositeLine), -1, -2, -2};
constexpr GetRule kG07{kLnType, Part::kSubtype, kAnyType, -1, 0, 0};
constexpr GetRule kG07B{kLnType, Part::kType, kAnyType, -1, 0, 0};
constexpr GetRule kG08{kLnFirst, Part::kWhole, kTyped, -1, -2, -2};
constexpr GetRule kG09{kLnLast, Part::kWhole, kTyped, -1, -2, -2};
constexpr GetRule kG10{kLnSystem, Part::kLow10, kAnyType, -1, 0, 0};
constexpr GetRule kG10B{kLnSystem, Part::kHigh10, kAnyType, -1, 0, 0};
constexpr GetRule kG11{kLnMatProp, Part::kHighM, kAnyType, -1, 0, 0};
constexpr GetRule kG11B{kLnMatProp, Part::kLowM, kAnyType, -1, 0, 0};
constexpr GetRule kG12{kLnWord12, Part::kLow100, kAnyType, -1, 0, 0};
constexpr GetRule kG12B{kLnWord12, Part::kHigh100, kAnyType, -1, 0, 0};
constexpr GetRule kG13B{kLnNodeList, Part::kWhole, kAnyType, 0, 0, 0};
constexpr GetRule kG14{kLnWord14, Part::kWhole, kAnyType, 0, 0, 0};
constexpr GetRule kG15B{kLnWord15, Part::kWhole, kAnyType, -1, 0, 0};

constexpr PutRule kP01{kLnStatus, Part::kWhole, kAnyType, 0, anyValue};
constexpr PutRule kP02{kLnEnd1, Part::kWhole, kAnyType, 0, aPoint};
constexpr PutRule kP03{kLnEnd2, Part::kWhole, kAnyType, 0, aPoint};
constexpr PutRule kP04{kLnCode, Part::kCode, kNotComposite, -3, aCode};
constexpr PutRule kP04B{kLnCode, Part::kDigit, kNotComposite, -3, aDigit};
constexpr PutRule kP05D{kLnWord5, Part::kWhole, bitOf(4), -2, anyValue};
constexpr PutRule kP06D{kLnWord6, Part::kWhole, bitOf(4), -2, anyValue};
constexpr PutRule kP05C{kLnWord5, Part::kWhole, bitOf(5), -2, aPointSet};
constexpr PutRule kP06C{kLnWord6, Part::kWhole, bitOf(2), -3, aPoint};
constexpr PutRule kP06B2{kLnWord6, Part::kWhole, bitOf(2), -3, aPoint};
constexpr PutRule kP06B3{kLnWord5, Part::kWhole, bitOf(3), -3, anyValue};
constexpr PutRule kP07{kLnType, Part::kType, kAnyType, 0, anyValue};
constexpr PutRule kP07B{kLnType, Part::kSubtype, kNotComposite, -3, aSubtype};
constexpr PutRule kP08{kLnFirst, Part::kWhole, kNotComposite, -2, anyValue};
constexpr PutRule kP09{kLnLast, Part::kWhole, kNotComposite, -2, anyValue};
constexpr PutRule kP10{kLnSystem, Part::kHigh10, kAnyType, 0, aSystem};
constexpr PutRule kP10B{kLnSystem, Part::kLow10, kAnyType, 0, aFlag};
constexpr PutRule kP11{kLnMatProp, Part::kHighM, kAnyType, 0, aMaterial};
constexpr PutRule kP11B{kLnMatProp, Part::kLowM, kAnyType, 0, aProperty};
constexpr PutRule kP12{kLnWord12, Part::kHigh100, kAnyType, 0, anyValue};
constexpr PutRule kP12B{kLnWord12, Part::kLow100, kAnyType, 0, anyValue};
constexpr PutRule kP13{kLnNodeList, Part::kWhole, kAnyType, 0, anyValue};
constexpr PutRule kP14{kLnWord14, Part::kWhole, kAnyType, 0, anyValue};
constexpr PutRule kP15B{kLnWord15, Part::kWhole, kAnyType, 0, anyValue};

LinRec readLine(int32_t id) {
  LinRec r;
  RECIO(kRead, kArrLines, id, r.words);
  return r;
}

void writeLine(int32_t id, LinRec& r) { RECIO(kWrite, kArrLines, id, r.words); }

int32_t typeOf(LinRec& r) { return lineTypeOf(r.word(kLnType)); }

bool hasType(TypeSet types, int32_t t) { return (types & bitOf(t)) != 0; }

int32_t get(const GetRule& g, int32_t id) {
  if (LINEXS(id) == 0) return g.missing;
  LinRec r = readLine(id);
  const int32_t t = typeOf(r);
  if (!hasType(g.types, t)) return t == 0 ? g.noType : g.otherType;
  return extract(g.part, r.word(g.word));
}

// The line of a put accessor that may be changed: STAT -1 missing, the rule's refusal for
// another type.
bool putTarget(int32_t id, TypeSet types, int32_t wrongType, LinRec& r, int32_t& stat) {
  stat = -1;
  if (LINEXS(id) == 0) return false;
  r = readLine(id);
  stat = wrongType;
  if (!hasType(types, typeOf(r))) return false;
  stat = 0;
  return true;
}

void put(const PutRule& p, int32_t id, int32_t v, int32_t& stat) {
  LinRec r;
  if (!putTarget(id, p.types, p.wrongType, r, stat)) return;
  stat = p.check(v);
  if (stat != 0) return;
  r.word(p.word) = insert(p.part, r.word(p.word), v);
  writeLine(id, r);
}

void realWord(int32_t id, int32_t w, float& value, int32_t& stat) {
  value = 0.0f;
  stat = -1;
  if (LINEXS(id) == 0) return;
  LinRec r = readLine(id);
  stat = 1;
  if (typeOf(r) != 6) return;
  value = std::bit_cast<float>(r.word(w));
  stat = 0;
}

void putRealWord(int32_t id, int32_t w, float value, int32_t& stat) {
  LinRec r;
  if (!putTarget(id, bitOf(6), -2, r, stat)) return;
  r.word(w) = std::bit_cast<int32_t>(value);
  writeLine(id, r);
}

// The members of composite record R into LIST (at most 20 and its size); their count.
int32_t readMembers(LinRec& r, std::span<int32_t> list) {
  // A damaged count would fill past the members' room.
  const auto room = static_cast<int32_t>(std::min<std::size_t>(list.size(), kMaxMembers));
  const int32_t n = std::clamp(r.word(kLnWord6), 0, room);
  if (n <= kInlineMembers) {
    for (int32_t i = 0; i < n; ++i) list[static_cast<std::size_t>(i)] = r.word(kLnFirst + i);
    return n;
  }
  // Members 4.. at a position the store does not hold (a damaged record) would end the
  // run: the line is answered as one without members.
  const int32_t at = r.word(kLnMatProp);
  const int64_t held = REGHED.top >= kArrIntegerValues ? REGHED.ARRLEN(kArrIntegerValues) : 0;
  if (at < 1 || int64_t{at} + n - 4 > held) return 0;
  for (int32_t i = 0; i < 3; ++i) list[static_cast<std::size_t>(i)] = r.word(kLnFirst + i);
  int32_t stat = 0;
  ARRIO(kRead, kArrIntegerValues, at, n - 3, kIntegers, list.subspan(3, static_cast<std::size_t>(n - 3)), {}, stat);
  return n;
}

// Stores the N members LIST into R, members 4.. in fresh records of array 17.
void writeMembers(LinRec& r, std::span<const int32_t> list, int32_t n) {
  if (n <= kInlineMembers) {
    for (int32_t i = 0; i < kInlineMembers; ++i) r.word(kLnFirst + i) = i < n ? list[static_cast<std::size_t>(i)] : 0;
  } else {
    int32_t first = 0;
    int32_t stat = 0;
    ARRALC(kArrIntegerValues, n - 3, first, stat);
    std::array<int32_t, kMaxMembers> rest{};
    std::copy(list.begin() + 3, list.begin() + n, rest.begin());
    ARRIO(kWrite, kArrIntegerValues, first, n - 3, kIntegers, std::span<int32_t>(rest).first(static_cast<std::size_t>(n - 3)), {}, stat);
    for (int32_t i = 0; i < 3; ++i) r.word(kLnFirst + i) = list[static_cast<std::size_t>(i)];
    r.word(kLnMatProp) = first;
  }
  r.word(kLnWord6) = n;
}

}  // namespace

int32_t LNG01(int32_t id) { return get(kG01, id); }
int32_t LNG02(int32_t id) { return get(kG02, id); }
int32_t LNG03(int32_t id) { return get(kG03, id); }
int32_t LNG04(int32_t id) { return get(kG04, id); }
int32_t LNG04B(int32_t id) { return get(kG04B, id); }
int32_t LNG05C(int32_t id) { return get(kG05C, id); }
int32_t LNG06C(int32_t id) { return get(kG06C, id); }
int32_t LNG05D(int32_t id) { return get(kG05D, id); }
int32_t LNG06(int32_t id) { return get(kG06, id); }
int32_t LNG06D(int32_t id) { return LNG07B(id) == 3 ? get(kG06D3, id) : get(kG06D2, id); }
int32_t LNG06E(int32_t id) { return get(kG06E, id); }
int32_t LNG07(int32_t id) { return get(kG07, id); }
int32_t LNG07B(int32_t id) { return get(kG07B, id); }
int32_t LNG08(int32_t id) { return get(kG08, id); }
int32_t LNG09(int32_t id) { return get(kG09, id); }
int32_t LNG10(int32_t id) { return get(kG10, id); }
int32_t LNG10B(int32_t id) { return get(kG10B, id); }
int32_t LNG11(int32_t id) { return get(kG11, id); }
int32_t LNG11B(int32_t id) { return get(kG11B, id); }
int32_t LNG12(int32_t id) { return get(kG12, id); }
int32_t LNG12B(int32_t id) { return get(kG12B, id); }
bool LNG13(int32_t id) { return get(kG13B, id) != 0; }
int32_t LNG13B(int32_t id) { return get(kG13B, id); }
bool LNG13C(int32_t id) { return get(kG13B, id) < 0; }
int32_t LNG14(int32_t id) { return get(kG14, id); }
int32_t LNG15B(int32_t id) { return get(kG15B, id); }

void LNG05(int32_t id, std::span<int32_t, 2> v, int32_t& stat) {
  stat = -1;
  if (LINEXS(id) == 0) return;
  LinRec r = readLine(id);
  stat = 0;
  v[0] = v[1] = 0;
  if (typeOf(r) != 3) return;
  v[0] = r.word(kLnWord5);
  v[1] = r.word(kLnWord16);
  stat = 1;
}

void LNG05B(int32_t id, float& r, int32_t& stat) { realWord(id, kLnWord5, r, stat); }
void LNG06B(int32_t id, float& r, int32_t& stat) { realWord(id, kLnWord6, r, stat); }

void LNG08B(int32_t id, std::span<int32_t> list, int32_t& n) {
  n = -1;
  if (LINEXS(id) == 0) return;
  LinRec r = readLine(id);
  n = 0;
  if (typeOf(r) != kCompositeLine) return;
  n = readMembers(r, list);
}

void LNG15(int32_t id, int32_t& v15, int32_t& v16) {
  v15 = -1;
  if (LINEXS(id) == 0) return;
  LinRec r = readLine(id);
  v15 = 0;
  if (typeOf(r) != 6) return;
  v15 = r.word(kLnWord15);
  v16 = r.word(kLnWord16);
}

void LNP01(int32_t id, int32_t v, int32_t& stat) { put(kP01, id, v, stat); }
void LNP02(int32_t id, int32_t v, int32_t& stat) { put(kP02, id, v, stat); }
void LNP03(int32_t id, int32_t v, int32_t& stat) { put(kP03, id, v, stat); }
void LNP04(int32_t id, int32_t v, int32_t& stat) { put(kP04, id, v, stat); }
void LNP04B(int32_t id, int32_t v, int32_t& stat) { put(kP04B, id, v, stat); }
void LNP05D(int32_t id, int32_t v, int32_t& stat) { put(kP05D, id, v, stat); }
void LNP06D(int32_t id, int32_t v, int32_t& stat) { put(kP06D, id, v, stat); }
void LNP05C(int32_t id, int32_t v, int32_t& stat) { put(kP05C, id, v, stat); }
void LNP06C(int32_t id, int32_t v, int32_t& stat) { put(kP06C, id, v, stat); }
void LNP06B(int32_t id, int32_t v, int32_t& stat) {
  put(LNG07B(id) == 3 ? kP06B3 : kP06B2, id, v, stat);
}
void LNP07(int32_t id, int32_t v, int32_t& stat) {
  put(kP07, id, v, stat);
  if (stat != 0 || v != 1) return;
  LinRec r = readLine(id);
  r.word(kLnWord5) = r.word(kLnWord6) = r.word(kLnWord15) = 0;
  writeLine(id, r);
}
void LNP07B(int32_t id, int32_t v, int32_t& stat) { put(kP07B, id, v, stat); }
void LNP08(int32_t id, int32_t v, int32_t& stat) { put(kP08, id, v, stat); }
void LNP09(int32_t id, int32_t v, int32_t& stat) { put(kP09, id, v, stat); }
void LNP10(int32_t id, int32_t v, int32_t& stat) { put(kP10, id, v, stat); }
void LNP10B(int32_t id, int32_t v, int32_t& stat) { put(kP10B, id, v, stat); }
void LNP11(int32_t id, int32_t v, int32_t& stat) { put(kP11, id, v, stat); }
void LNP11B(int32_t id, int32_t v, int32_t& stat) { put(kP11B, id, v, stat); }
void LNP12(int32_t id, int32_t v, int32_t& stat) { put(kP12, id, v, stat); }
void LNP12B(int32_t id, int32_t v, int32_t& stat) { put(kP12B, id, v, stat); }
void LNP13(int32_t id, int32_t v, int32_t& stat) { put(kP13, id, v, stat); }
void LNP14(int32_t id, int32_t v, int32_t& stat) { put(kP14, id, v, stat); }
void LNP15B(int32_t id, int32_t v, int32_t& stat) { put(kP15B, id, v, stat); }

void LNP05B(int32_t id, std::span<const int32_t, 2> v, int32_t& stat) {
  LinRec r;
  if (!putTarget(id, bitOf(3), -2, r, stat)) return;
  if (SHPEXS(v[0]) == 0 || SHPEXS(v[1]) == 0) {
    stat = -3;
    return;
  }
  if (SHPTYP(v[0]) >= 100 || SHPTYP(v[1]) >= 100) {
    stat = -4;
    return;
  }
  r.word(kLnWord5) = v[0];
  r.word(kLnWord16) = v[1];
  writeLine(id, r);
}

void LNP05(int32_t id, float r, int32_t& stat) { putRealWord(id, kLnWord5, r, stat); }
void LNP06(int32_t id, float r, int32_t& stat) { putRealWord(id, kLnWord6, r, stat); }

void LNP08B(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat) {
  LinRec r;
  if (!putTarget(id, bitOf(kCompositeLine), -2, r, stat)) return;
  if (n < 2 || n > kMaxMembers || static_cast<std::size_t>(n) > list.size()) {
    stat = -5;
    return;
  }
  for (int32_t i = 0; i < n; ++i) {
    const int32_t m = list[static_cast<std::size_t>(i)];
    if (LINEXS(m) == 0) {
      stat = -3;
      return;
    }
    if (LNG07B(m) == kCompositeLine) {
      stat = -4;
      return;
    }
  }
  writeMembers(r, list, n);
  writeLine(id, r);
}

void LNP15(int32_t id, int32_t p, int32_t q, int32_t& stat) {
  LinRec r;
  if (!putTarget(id, bitOf(6), -2, r, stat)) return;
  if (SHPEXS(p) == 0) {
    stat = -3;
    return;
  }
  const int32_t t = SHPTYP(p);
  if (t != 103 && t != 105) {
    stat = -4;
    return;
  }
  int32_t stored = q;
  if (t == 103) {
    if (q == 0) {
      stored = 1;
    } else if (q != 1 && q != 2 && q != -1 && q != -2) {
      stat = -5;
      return;
    }
  }
  r.word(kLnWord15) = p;
  r.word(kLnWord16) = stored;
  writeLine(id, r);
}

void LNGALL(int32_t id, const LineFields& f) {
  LinRec r = readLine(id);
  const auto set = [](int32_t* out, int32_t v) {
    if (out != nullptr) *out = v;
  };
  set(f.type, typeOf(r));
  set(f.word1, r.word(kLnStatus));
  set(f.end1, r.word(kLnEnd1));
  set(f.end2, r.word(kLnEnd2));
  set(f.point, r.word(kLnWord6));
  set(f.shape1, r.word(kLnWord5));
  set(f.word5, r.word(kLnWord5));
  set(f.shape2, r.word(kLnWord16));
  set(f.word6, r.word(kLnWord6));
  set(f.firstNode, r.word(kLnWord5));
  set(f.lastNode, r.word(kLnWord6));
  set(f.set, r.word(kLnWord5));
  set(f.shape, r.word(kLnWord15));
  if (f.real5 != nullptr) *f.real5 = std::bit_cast<float>(r.word(kLnWord5));
  if (f.real6 != nullptr) *f.real6 = std::bit_cast<float>(r.word(kLnWord6));
  set(f.qualifier, r.word(kLnWord16));
  if (f.memberCount != nullptr || f.members != nullptr) {
    std::array<int32_t, kMaxMembers> m{};
    const int32_t n = readMembers(r, m);
    set(f.memberCount, n);
    if (f.members != nullptr) std::copy(m.begin(), m.begin() + n, f.members);
  }
  set(f.first, r.word(kLnFirst));
  set(f.last, r.word(kLnLast));
  set(f.code, extract(Part::kCode, r.word(kLnCode)));
  set(f.digit, extract(Part::kHigh100, r.word(kLnCode)));
  set(f.subtype, extract(Part::kSubtype, r.word(kLnType)));
  set(f.low12, extract(Part::kLow100, r.word(kLnWord12)));
  set(f.high12, extract(Part::kHigh100, r.word(kLnWord12)));
  // Word 10 is 10 x system + flag, as LNG10 and LNG10B read it.
  set(f.flag, extract(Part::kLow10, r.word(kLnSystem)));
  set(f.material, extract(Part::kHighM, r.word(kLnMatProp)));
  set(f.property, extract(Part::kLowM, r.word(kLnMatProp)));
  set(f.system, extract(Part::kHigh10, r.word(kLnSystem)));
  set(f.word13, r.word(kLnNodeList));
  set(f.word14, r.word(kLnWord14));
  set(f.word15, r.word(kLnWord15));
}

void LNPALL(int32_t id, const LineFields& f) {
  LinRec r = readLine(id);
  const auto whole = [&r](int32_t w, const int32_t* in) {
    if (in != nullptr) r.word(w) = *in;
  };
  const auto part = [&r](int32_t w, Part p, const int32_t* in) {
    if (in != nullptr) r.word(w) = insert(p, r.word(w), *in);
  };
  part(kLnType, Part::kType, f.type);
  whole(kLnStatus, f.word1);
  whole(kLnEnd1, f.end1);
  whole(kLnEnd2, f.end2);
  whole(kLnWord6, f.point);
  whole(kLnWord5, f.shape1);
  whole(kLnWord5, f.word5);
  whole(kLnWord16, f.shape2);
  whole(kLnWord6, f.word6);
  whole(kLnWord5, f.firstNode);
  whole(kLnWord6, f.lastNode);
  whole(kLnWord5, f.set);
  whole(kLnWord15, f.shape);
  if (f.real5 != nullptr) r.word(kLnWord5) = std::bit_cast<int32_t>(*f.real5);
  if (f.real6 != nullptr) r.word(kLnWord6) = std::bit_cast<int32_t>(*f.real6);
  whole(kLnWord16, f.qualifier);
  if (f.memberCount != nullptr && f.members != nullptr) {
    // The member list holds at most 20.
    const int32_t n = std::clamp(*f.memberCount, 0, kMaxMembers);
    writeMembers(r, std::span<const int32_t>(f.members, static_cast<std::size_t>(n)), n);
  }
  whole(kLnFirst, f.first);
  whole(kLnLast, f.last);
  part(kLnCode, Part::kCode, f.code);
  part(kLnCode, Part::kHigh100, f.digit);
  part(kLnType, Part::kSubtype, f.subtype);
  part(kLnWord12, Part::kLow100, f.low12);
  if (f.high12 != nullptr) {
    r.word(kLnWord12) = static_cast<int32_t>(static_cast<uint32_t>(
        static_cast<uint64_t>(int64_t{r.word(kLnWord12)} + 100 * int64_t{*f.high12})));
  }
  part(kLnSystem, Part::kLow10, f.flag);
  part(kLnMatProp, Part::kHighM, f.material);
  part(kLnMatProp, Part::kLowM, f.property);
  part(kLnSystem, Part::kHigh10, f.system);
  whole(kLnNodeList, f.word13);
  whole(kLnWord14, f.word14);
  whole(kLnWord15, f.word15);
  writeLine(id, r);
}

void LNCPY(int32_t p, int32_t q) {
  LinRec r = readLine(p);
  writeLine(q, r);
}

namespace {
void writeEmpty(int32_t id) {
  LinRec r;
  r.word(kLnStatus) = -1;
  writeLine(id, r);
}
}  // namespace

void LNCLR(int32_t id, int32_t& stat) {
  stat = -1;
  if (LINEXS(id) == 0) return;
  stat = 0;
  writeEmpty(id);
}

void LNCLR2(int32_t id, int32_t& stat) {
  stat = -1;
  // Line 0 has no record: writing it would end the run in the record access.
  if (id < 1) return;
  stat = 0;
  writeEmpty(id);
}

bool LNTYOK(int32_t t) { return (t >= 1 && t <= 6) || t == kCompositeLine || t == 99; }

void LNNAMG(int32_t id, NameWords& name, int32_t& stat) { nameLabel(kLineNames, id, name, stat); }
void LNNAMT(int32_t id, FText text, int32_t& stat) { nameText(kLineNames, id, text, stat); }
void LNNAMP(int32_t id, int32_t& stat, const FText* text, const NameWords* name, const bool* check) {
  nameSet(kLineNames, id, stat, text, name, check);
}
int32_t LNFIND(const FText* text, const NameWords* name) { return nameFind(kLineNames, text, name); }

}  // namespace kvr
