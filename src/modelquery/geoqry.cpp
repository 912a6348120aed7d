// The queries of the geometric entities: a line (ULINE2, ULINE3), a surface (USURF2) and a
// body (UBODY2), each as its name and a 16-position description. Positions 8-16 mean the
// same for all three: the element range shifted by the element offset, the coordinate
// system, material, physical property, element group, the entity's type, its
// element-type code and the units part of its group word.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "modelquery/linlen.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "runtime/idpack.h"
#include "runtime/modcnt.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kOutOfRange = 1;
constexpr int32_t kMissing = 2;
constexpr int32_t kArrLineNames = 3;
constexpr int32_t kArrSurfaceNames = 5;
constexpr int32_t kArrBodyNames = 7;
constexpr int32_t kLineKind = 2;
constexpr int32_t kSurfaceKind = 3;
constexpr int32_t kBodyKind = 4;
constexpr int32_t kFirstMember = 17;
constexpr int32_t kSetSurfaceTypes = 6;  // surface types from 6 on hold a line set in word 2

// The positions of a description, numbered from 1; positions beyond the caller's array
// are not written.
class Desc {
 public:
  explicit Desc(std::span<int32_t> d) : d_(d) {}
  void set(int32_t k, int32_t v) {
    if (k >= 1 && static_cast<size_t>(k) <= d_.size()) d_[static_cast<size_t>(k - 1)] = v;
  }

 private:
  std::span<int32_t> d_;
};

int32_t modulus() { return IDPACK.modulus; }
int32_t packedHigh(int32_t w) { return modulus() > 0 ? w / modulus() : 0; }
int32_t packedLow(int32_t w) { return modulus() > 0 ? w % modulus() : w; }
int32_t shifted(int32_t element) { return clampWord(int64_t{element} + elementOffset()); }
// One step toward zero; 0 stays 0.
int32_t towardZero(int32_t v) { return v > 0 ? v - 1 : v < 0 ? v + 1 : 0; }

// The name of entity NUMBER from name array K.
void nameOf(int32_t k, int32_t number, FText name) {
  std::array<int32_t, 2> words{};
  if (nameWords(k, number, words)) writeName(words, name);
}

// The range and existence tests of the entity queries: 0 to go on, else the status.
int32_t entityStatus(int32_t array, int32_t width, int32_t countWord, int32_t kind,
                     int32_t number) {
  if (!entityHeld(array, width, number, MODCNT.word(countWord))) return kOutOfRange;
  if (ENTEXS(number, kind) == 0) return kMissing;
  return 0;
}

// |word 4 mod 100| of line L; 0 for a line the store does not hold.
int32_t divisionsOf(int32_t l) {
  if (!entityHeld(kArrLines, kLineWords, l, MODCNT.word(kCntLines))) return 0;
  LinRec rec;
  RECIO(kRead, kArrLines, l, rec.words);
  return std::abs(rec.word(kLnCode) % 100);
}

// ULINE2 (MEMBERS false) and ULINE3 (MEMBERS true).
void lineQuery(int32_t number, FText name, std::span<int32_t> out, float& length,
               int32_t& status, bool members) {
  status = entityStatus(kArrLines, kLineWords, kCntLines, kLineKind, number);
  if (status != 0) return;
  nameOf(kArrLineNames, number, name);
  LinRec rec;
  RECIO(kRead, kArrLines, number, rec.words);
  Desc desc(out);
  for (int32_t k = 1; k <= 14; ++k) desc.set(k, 0);
  const int32_t type = lineTypeOf(rec.word(kLnType));
  desc.set(2, rec.word(kLnEnd1));
  desc.set(3, rec.word(kLnEnd2));
  desc.set(4, std::abs(rec.word(kLnCode) % 100));
  desc.set(14, type);
  switch (type) {
    case 2:
    case 3:
    case 4:
      desc.set(5, rec.word(kLnWord5));
      desc.set(6, rec.word(kLnWord6));
      break;
    case 5:
      desc.set(5, rec.word(kLnWord5));
      break;
    case 6:
      desc.set(5, rec.word(kLnWord15));
      // The curve parameter at the line's start, a REAL, handed over bit for bit.
      if (!members) desc.set(4, rec.word(kLnWord5));
      break;
    case kCompositeLine: {
      desc.set(4, 0);
      if (!members) return;
      std::array<int32_t, kMaxMembers> list{};
      int32_t m = 0;
      LNG08B(number, list, m);
      m = std::clamp(m, 0, kMaxMembers);
      int32_t divisions = 0;
      for (int32_t i = 0; i < m; ++i) {
        const int32_t member = list[static_cast<size_t>(i)];
        desc.set(kFirstMember + i, member);
        divisions += divisionsOf(member);
      }
      desc.set(6, m);
      desc.set(4, divisions);
      return;
    }
    default:
      break;
  }
  desc.set(8, shifted(rec.word(kLnFirst)));
  desc.set(9, shifted(rec.word(kLnLast)));
  desc.set(10, rec.word(kLnSystem) / 10);
  desc.set(11, packedHigh(rec.word(kLnMatProp)));
  desc.set(12, packedLow(rec.word(kLnMatProp)));
  desc.set(13, rec.word(kLnWord12) / 100);
  desc.set(15, lineSubtypeOf(rec.word(kLnType)));
  desc.set(16, rec.word(kLnWord12) % 100);
  int32_t s = 0;
  LINLEN(number, length, s);
  if (s != 0) status = 2 + s;
}

}  // namespace

void ULINE2(const int32_t& number, FText name, std::span<int32_t, 16> desc, float& length,
            int32_t& status) {
  lineQuery(number, name, desc, length, status, false);
}

void ULINE3(const int32_t& number, FText name, std::span<int32_t> desc, float& length,
            int32_t& status) {
  lineQuery(number, name, desc, length, status, true);
}

void USURF2(const int32_t& number, FText name, std::span<int32_t, 16> out, int32_t& status) {
  status = entityStatus(kArrSurfaces, kSurfaceWords, kCntSurfaces, kSurfaceKind, number);
  if (status != 0) return;
  nameOf(kArrSurfaceNames, number, name);
  RECIO(kRead, kArrSurfaces, number, ENTBUF.surface);
  auto w = [](int32_t k) { return ENTBUF.surface[static_cast<size_t>(k - 1)]; };
  Desc desc(out);
  const int32_t type = (w(6) / 100) % 100;
  const int32_t code = w(6) % 100;
  desc.set(1, w(1));
  // From type 6 on word 2 holds a line set, stored one number higher than the host's.
  desc.set(2, type >= kSetSurfaceTypes ? towardZero(w(2)) : w(2));
  desc.set(3, w(3));
  desc.set(4, w(4));
  desc.set(5, w(5));
  desc.set(6, w(6) / 10000);
  desc.set(7, w(12));
  desc.set(8, shifted(w(7)));
  desc.set(9, shifted(w(8)));
  desc.set(10, w(9) / 10);
  desc.set(11, packedHigh(w(11)));
  desc.set(12, packedLow(w(11)));
  desc.set(13, w(10) / 100);
  desc.set(14, type);
  desc.set(15, code != 0 ? code + 2 : 0);
  desc.set(16, w(10) % 100);
}

void UBODY2(const int32_t& number, FText name, std::span<int32_t, 16> out, int32_t& status) {
  status = entityStatus(kArrBodies, kBodyWords, kCntBodies, kBodyKind, number);
  if (status != 0) return;
  nameOf(kArrBodyNames, number, name);
  RECIO(kRead, kArrBodies, number, ENTBUF.body);
  auto w = [](int32_t k) { return ENTBUF.body[static_cast<size_t>(k - 1)]; };
  Desc desc(out);
  for (int32_t k = 1; k <= kBodyWords; ++k) desc.set(k, w(k));
  const int32_t type = w(1);
  // Swept bodies hold a surface set in word 4, stored one number higher than the host's.
  if (type == 4 || type == 5) desc.set(4, towardZero(w(4)));
  const int32_t code = w(8) % 100;
  desc.set(8, shifted(w(9)));
  desc.set(9, shifted(w(10)));
  desc.set(10, w(14) / 10);
  desc.set(11, packedHigh(w(12)));
  desc.set(12, packedLow(w(12)));
  desc.set(13, w(13) / 100);
  desc.set(14, type);
  desc.set(15, code != 0 ? code + 10 : 0);
  desc.set(16, w(13) % 100);
}

}  // namespace kvr
