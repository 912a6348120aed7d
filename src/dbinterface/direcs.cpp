#include "dbinterface/direcs.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "runtime/codtxt.h"

namespace kvr {
namespace {

// Minus VALUE; the most negative integer stays as it is instead of overflowing.
int32_t negated(int32_t value) {
  return static_cast<int32_t>(0u - static_cast<uint32_t>(value));
}

void putAxes(StreamRecord& r, std::span<const float, kAxesReals> axes) {
  for (float a : axes) r.putReal(a);
}

}  // namespace

int32_t repeatCount(int32_t a, int32_t b) {
  const int64_t n = int64_t{std::max(a, 1)} * int64_t{std::max(b, 1)};
  return static_cast<int32_t>(std::min<int64_t>(n, std::numeric_limits<int32_t>::max()));
}

void StreamRecord::putReal(float value) { put(std::bit_cast<int32_t>(value)); }

void StreamRecord::putCodes(FText text, int32_t n, bool upper) {
  std::array<int32_t, kCapacity> codes;
  int32_t count = std::clamp(n, 0, kCapacity);
  textCodes(text, std::span<int32_t>(codes.data(), static_cast<std::size_t>(count)), upper);
  for (int32_t k = 0; k < count; ++k) put(codes[static_cast<std::size_t>(k)]);
}

void textCodes(FText text, std::span<int32_t> codes, bool upper) {
  std::fill(codes.begin(), codes.end(), kBlankCode);
  if (codes.empty()) return;
  int32_t last = 0;
  TXTCOD(text, 1, codes, last);
  if (upper) UPCCOD(codes, 1, static_cast<int32_t>(codes.size()));
}

int32_t opcodeLetter(int32_t opcode) {
  switch (opcode) {
    case 1: return codeOf('C');
    case 2: return codeOf('A');
    case 3: return codeOf('B');
    default: return 0;
  }
}

void headerRecord(StreamRecord& r, int32_t key, int32_t letter, FText name, float hvalue,
                  FText title, int32_t hflag, int32_t hnumbr, FText text) {
  r.clear();
  r.put(key);
  r.put(letter);
  r.putCodes(name, kHeaderNameCodes, true);
  r.putReal(hvalue);
  r.putCodes(title, kHeaderTitleCodes);
  r.put(hflag);
  r.put(hnumbr);
  r.putCodes(text, kHeaderTextCodes, true);
}

void nodeRecord(StreamRecord& r, int32_t node, float x, float y, float z, int32_t isys) {
  r.clear();
  r.put(kTagRecord);
  r.put(node);
  r.putReal(x);
  r.putReal(y);
  r.putReal(z);
  r.put(isys);
}

void elementRecord(StreamRecord& r, int32_t ielem, int32_t itype, int32_t ieatt1,
                   int32_t ieatt2, int32_t isys) {
  r.clear();
  r.put(kTagRecord);
  r.put(ielem);
  r.put(itype);
  r.put(ieatt1);
  r.put(ieatt2);
  r.put(isys);
  r.put(0);
}

void setHeaderRecord(StreamRecord& r, FText name, FText title) {
  r.clear();
  r.put(kTagRecord);
  r.putCodes(name, kSetNameCodes);
  r.putCodes(title, kSetTitleCodes);
}

void setMemberRecord(StreamRecord& r, std::span<const int32_t> ids) {
  r.clear();
  r.put(kTagRepeat);
  // The count says what the record holds: never more ids than it can carry.
  auto n = std::min<std::size_t>(ids.size(), StreamRecord::kCapacity - 2);
  r.put(static_cast<int32_t>(n));
  for (std::size_t k = 0; k < n; ++k) r.put(ids[k]);
}

void constraintRecord(StreamRecord& r, int32_t node, int32_t idof, int32_t isys,
                      int32_t iedof) {
  r.clear();
  r.put(kTagRecord);
  r.put(node);
  r.put(idof);
  r.put(isys);
  r.put(iedof);
}

void localSystemRecord(StreamRecord& r, int32_t isys, std::span<const float, kAxesReals> axes) {
  r.clear();
  r.put(kTagRecord);
  r.put(isys);
  r.put(0);
  putAxes(r, axes);
}

void attributeRecord(StreamRecord& r, FText name, int32_t ncomps, int32_t irtype,
                     int32_t numvar) {
  r.clear();
  r.put(kTagAttribute);
  r.putCodes(name, kAttributeNameCodes);
  r.put(ncomps);
  r.put(irtype);
  r.put(numvar);
}

void componentRecord(StreamRecord& r, FText compnm, int32_t inmenu, int32_t ctype,
                     int32_t index1, int32_t index2, int32_t iexist, FText ncalc,
                     FText compn2) {
  r.clear();
  r.put(kTagComponent);
  r.putCodes(compnm, kAttributeNameCodes);
  r.put(inmenu);
  r.put(ctype);
  r.put(index1);
  r.put(index2);
  r.put(iexist);
  r.putCodes(ncalc, kAttributeNameCodes);
  r.putCodes(compn2, kAttributeNameCodes);
}

void nodalValuesRecord(StreamRecord& r, int32_t node, int32_t numres) {
  r.clear();
  r.put(kTagRecord);
  r.put(node);
  r.put(numres);
}

namespace {

void entityHeader(StreamRecord& r, int32_t ielem, int32_t itype, int32_t ieatt1, int32_t ivar,
                  int32_t w6, int32_t w7, int32_t w8, int32_t ilocal, int32_t w10) {
  r.clear();
  r.put(kTagRecord);
  r.put(ielem);
  r.put(itype);
  r.put(ieatt1);
  r.put(ivar);
  r.put(w6);
  r.put(w7);
  r.put(w8);
  r.put(negated(ilocal));
  r.put(w10);
}

}  // namespace

void elementValuesHeader(StreamRecord& r, int32_t ielem, int32_t itype, int32_t ieatt1,
                         int32_t ivar, int32_t npoint, int32_t nlayer, int32_t ilocal) {
  entityHeader(r, ielem, itype, ieatt1, ivar, npoint, nlayer, 0, ilocal, 0);
}

void centroidValuesHeader(StreamRecord& r, int32_t ielem, int32_t itype, int32_t ieatt1,
                          int32_t ivar, int32_t nlayer, int32_t ilocal) {
  entityHeader(r, ielem, itype, ieatt1, ivar, 0, nlayer, 0, ilocal, 0);
}

void gaussValuesHeader(StreamRecord& r, int32_t ielem, int32_t itype, int32_t ieatt1,
                       int32_t ivar, int32_t npoint, int32_t nlayer, int32_t ilocal,
                       int32_t igflag) {
  entityHeader(r, ielem, itype, ieatt1, ivar, 0, nlayer, npoint, ilocal, igflag);
}

void repeatRecord(StreamRecord& r, int32_t id, int32_t numres) {
  r.clear();
  r.put(kTagRepeat);
  r.put(id);
  r.put(numres);
}

void pointRecord(StreamRecord& r, int32_t id, float x, float y, float z) {
  r.clear();
  r.put(kTagRepeat);
  r.put(id);
  r.putReal(x);
  r.putReal(y);
  r.putReal(z);
}

void axisHeaderRecord(StreamRecord& r, int32_t ielem, int32_t itype, int32_t ieatt1,
                      int32_t npoint, int32_t nlayer) {
  r.clear();
  r.put(kTagRecord);
  r.put(ielem);
  r.put(itype);
  r.put(ieatt1);
  r.put(npoint);
  r.put(nlayer);
}

void axesRecord(StreamRecord& r, int32_t id, std::span<const float, kAxesReals> axes) {
  r.clear();
  r.put(kTagRepeat);
  r.put(id);
  putAxes(r, axes);
}

}  // namespace kvr
