// The shape records.
#include "modeldb/shprec.h"

#include <algorithm>
#include <initializer_list>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/entnam.h"
#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "modeldb/shpdef.h"
#include "runtime/modcnt.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kWrite = -1;
constexpr int32_t kReals = 1;
constexpr int32_t kParameterValueType = 6;
constexpr int32_t kValueWord2 = 4;     // type 2: the value
constexpr int32_t kValueWord3 = 5;     // types 3, 13, 23: the value; 4, 14, 24: the first
constexpr int32_t kSecondValueWord = 1;  // types 4, 14, 24
constexpr int32_t kPointWord = 3;      // type 2

constexpr NameKind kShapeNames = {kArrShapes - 1, kCntShapes, 1, 1, SHPEXS};

using Types = std::initializer_list<int32_t>;

bool oneOf(int32_t t, Types types) { return std::find(types.begin(), types.end(), t) != types.end(); }

ShpDef readShape(int32_t id) {
  ShpDef s;
  ARRREC(kRead, kArrShapes, id, s.words);
  return s;
}

void writeShape(int32_t id, ShpDef& s) { ARRREC(kWrite, kArrShapes, id, s.words); }

// Writes word W of shape ID.
void writeWord(int32_t id, int32_t w, float value, int32_t& stat) {
  std::array<float, 1> v = {value};
  ARRIO(kWrite, kArrShapes, (id - 1) * ShpDef::kWords + w, 1, kReals, {}, v, stat);
}

// The value of word VW, or of the kind-34 entity that reference word RW names.
void parameterValue(const ShpDef& s, int32_t rw, int32_t vw, float& value, int32_t& ref) {
  ref = s.integer(rw);
  if (ref > 0) {
    int32_t stat = 0;
    K34VAL(ref, value, stat);
  } else {
    value = s.words[static_cast<std::size_t>(vw - 1)];
  }
}

void singleParameter(int32_t id, Types types, int32_t vw, float& value, int32_t& ref) {
  value = 0.0f;
  ref = -1;
  if (SHPEXS(id) == 0) return;
  if (!oneOf(SHPTYP(id), types)) {
    ref = -2;
    return;
  }
  parameterValue(readShape(id), kShapeRef1Word, vw, value, ref);
}

// STAT -1 missing, -2 another type; the record when 0.
bool typed(int32_t id, Types types, ShpDef& s, int32_t& stat) {
  stat = -1;
  if (SHPEXS(id) == 0) return false;
  stat = -2;
  if (!oneOf(SHPTYP(id), types)) return false;
  s = readShape(id);
  stat = 0;
  return true;
}

template <std::size_t N>
void reals(int32_t id, Types types, int32_t first, std::span<float, N> value, int32_t& stat,
           bool clearFirst) {
  if (clearFirst) std::fill(value.begin(), value.end(), 0.0f);
  ShpDef s;
  if (!typed(id, types, s, stat)) return;
  for (std::size_t i = 0; i < N; ++i) value[i] = s.word(first + static_cast<int32_t>(i));
}

void real(int32_t id, Types types, int32_t w, float& value, int32_t& stat, bool clearFirst) {
  reals(id, types, w, std::span<float, 1>(&value, 1), stat, clearFirst);
}

int32_t integer(int32_t id, Types types, int32_t w) {
  if (SHPEXS(id) == 0) return -1;
  if (!oneOf(SHPTYP(id), types)) return 0;
  return readShape(id).integer(w);
}

// A type-2 shape's setter: STAT -1 missing, -2 another type.
bool typeTwo(int32_t id, int32_t& stat) {
  stat = -1;
  if (SHPEXS(id) == 0) return false;
  stat = -2;
  if (SHPTYP(id) != 2) return false;
  stat = 0;
  return true;
}

constexpr Types kShapeTypes = {1, 2, 3, 4, 11, 13, 14, 23, 24, 103, 105, 205, 301, 311, 321, 331};
constexpr Types k105 = {105, 205};

}  // namespace

int32_t SHPTYP(int32_t id) {
  if (SHPEXS(id) == 0) return -1;
  const int32_t t = readShape(id).integer(kShapeTypeWord);
  return SHPTOK(t) ? t : 0;
}

bool SHPTOK(int32_t type) { return oneOf(type, kShapeTypes); }

void SHPREF(int32_t id, std::span<int32_t, 4> refs, int32_t& n) {
  std::fill(refs.begin(), refs.end(), 0);
  n = -1;
  const int32_t t = SHPTYP(id);
  if (t < 0) return;
  n = 0;
  if (t == 1) {
    n = 3;
  } else if (oneOf(t, {2, 321})) {
    n = 1;
  } else if (oneOf(t, {3, 4, 13, 14, 23, 24, 311})) {
    n = 2;
  } else if (t == 301) {
    n = 4;
  }
  if (n == 0) return;
  const ShpDef s = readShape(id);
  for (int32_t i = 0; i < n; ++i) refs[static_cast<std::size_t>(i)] = s.integer(3 + i);
}

void SHPPR1(int32_t id, float& value, int32_t& ref) { singleParameter(id, {2}, kValueWord2, value, ref); }

void SHPPR3(int32_t id, float& value, int32_t& ref) {
  singleParameter(id, {3, 13, 23}, kValueWord3, value, ref);
}

void SHPPR4(int32_t id, std::span<float, 2> value, std::span<int32_t, 2> ref) {
  value[0] = value[1] = 0.0f;
  ref[0] = ref[1] = -1;
  if (SHPEXS(id) == 0) return;
  if (!oneOf(SHPTYP(id), {4, 14, 24})) {
    ref[0] = ref[1] = -2;
    return;
  }
  const ShpDef s = readShape(id);
  parameterValue(s, kShapeRef1Word, kValueWord3, value[0], ref[0]);
  parameterValue(s, kShapeRef2Word, kSecondValueWord, value[1], ref[1]);
}

void K34VAL(int32_t k, float& value, int32_t& stat) {
  value = 0.0f;
  stat = -1;
  if (K34EXS(k) == 0) return;
  int32_t count = 1;
  ATVAL1(kRead, kParameterValueType, k, 1, count, value);
  stat = 0;
}

void K34LAB(int32_t id, NameWords& label, int32_t& stat) {
  stat = -1;
  if (K34EXS(id) == 0) return;
  stat = 0;
  int32_t key = id;
  int32_t count = 0;
  ATTFND(kRead, label, kParameterValueType, key, count);
}

void SHR01(int32_t id, std::span<float, 3> v, int32_t& stat) { reals(id, {11}, 3, v, stat, true); }
void SHR02(int32_t id, float& v, int32_t& stat) { real(id, {11}, 1, v, stat, true); }
void SHR03(int32_t id, float& v, int32_t& stat) { real(id, {24}, 16, v, stat, true); }
void SHR04(int32_t id, float& v, int32_t& stat) { real(id, {23}, 16, v, stat, true); }
void SHR05(int32_t id, float& v, int32_t& stat) { real(id, {23}, 20, v, stat, true); }
void SHR06(int32_t id, float& v, int32_t& stat) { real(id, {24}, 20, v, stat, true); }
void SHR07(int32_t id, std::span<float, 3> v, int32_t& stat) { reals(id, {331}, 7, v, stat, false); }
void SHR08(int32_t id, std::span<float, 3> v, int32_t& stat) {
  reals(id, {321, 331}, 10, v, stat, false);
}
void SHR09(int32_t id, float& v, int32_t& stat) { real(id, k105, 6, v, stat, false); }
void SHR10(int32_t id, float& v, int32_t& stat) { real(id, k105, 7, v, stat, false); }
void SHR11(int32_t id, float& v, int32_t& stat) { real(id, {205}, 9, v, stat, false); }
void SHR12(int32_t id, float& v, int32_t& stat) { real(id, {205}, 8, v, stat, false); }

void SHR13(int32_t id, std::span<int32_t, 2> v, int32_t& stat) {
  ShpDef s;
  if (!typed(id, {103}, s, stat)) return;
  v[0] = s.integer(19) / 100;
  v[1] = s.integer(20) / 100;
}

int32_t SHI01(int32_t id) { return integer(id, {11, 301, 311, 321, 331}, 16); }
int32_t SHI02(int32_t id) { return integer(id, k105, 3); }
int32_t SHI03(int32_t id) { return integer(id, k105, 4); }
int32_t SHI04(int32_t id) { return integer(id, {205}, 18); }
int32_t SHI05(int32_t id) { return integer(id, {205}, 19); }
int32_t SHI06(int32_t id) { return integer(id, k105, 1); }
int32_t SHI07(int32_t id) { return integer(id, k105, 5); }
int32_t SHI08(int32_t id) { return integer(id, {205}, 20); }
int32_t SHI09(int32_t id) { return integer(id, k105, 16); }

void SHPLAB(int32_t id, NameWords& label, int32_t& stat) { nameLabel(kShapeNames, id, label, stat); }
void SHPNMT(int32_t id, FText text, int32_t& stat) { nameText(kShapeNames, id, text, stat); }
int32_t SHPFNM(const FText* text, const NameWords* label) { return nameFind(kShapeNames, text, label); }
void SHPRNM(int32_t id, int32_t& stat, const FText* text, const NameWords* label, const bool* check) {
  nameSet(kShapeNames, id, stat, text, label, check);
}

void SHPSTY(int32_t id, int32_t type, int32_t& stat) {
  stat = -1;
  if (SHPEXS(id) == 0) return;
  stat = 0;
  writeWord(id, kShapeTypeWord, shapeInteger(type), stat);
}

void SHPSPR(int32_t id, int32_t k, int32_t& stat) {
  if (!typeTwo(id, stat)) return;
  if (K34EXS(k) == 0) {
    stat = -6;
    return;
  }
  writeWord(id, kShapeRef1Word, shapeInteger(k), stat);
}

void SHPSVL(int32_t id, float v, int32_t& stat) {
  if (!typeTwo(id, stat)) return;
  // A NaN is no positive value either.
  if (!(v > 0.0f)) {
    stat = -6;
    return;
  }
  writeWord(id, kValueWord2, v, stat);
}

void SHPSPT(int32_t id, int32_t p, int32_t& stat) {
  if (!typeTwo(id, stat)) return;
  if (PNTEXS(p) == 0) {
    stat = -7;
    return;
  }
  writeWord(id, kPointWord, shapeInteger(p), stat);
}

void SHPCLR(int32_t id, int32_t& stat) {
  stat = -1;
  if (SHPEXS(id) == 0) return;
  stat = 0;
  ShpDef s;
  writeShape(id, s);
}

}  // namespace kvr
