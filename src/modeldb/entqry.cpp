// The entity query layer: the per-kind routines over the kind table.
#include "modeldb/entqry.h"

#include <cstdlib>
#include <limits>
#include <string_view>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/elttab.h"
#include "modeldb/entkind.h"
#include "modeldb/entnam.h"
#include "modeldb/entrec.h"
#include "runtime/codtxt.h"
#include "runtime/idpack.h"
#include "runtime/machcn.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kNameChars = 8;
constexpr std::string_view kSpecialChars = "*.?[]!^&$/\\";

const EntityKind& rowOf(int32_t kind) { return *entityKind(kind); }
int32_t& word(int32_t k) { return MODCNT.word(k); }

int32_t kindExists(int32_t kind, int32_t id) {
  const EntityKind& row = rowOf(kind);
  if (row.guarded && word(row.countWord) <= 0) return 0;
  // No entity has a number below 1; an attribute search with ID 0 would search by label.
  if (id < 1) return 0;
  if (row.reservedFirst && id == 1) return 0;
  if (row.valueCount) {
    std::array<int32_t, 2> label{};
    int32_t key = id;
    int32_t count = 0;
    ATTFND(1, label, row.source, key, count);
    return count != 0 ? -1 : 0;
  }
  return ENTEXS(id, kind);
}

int32_t kindCount(int32_t kind) { return word(rowOf(kind).countWord); }

int32_t kindLive(int32_t kind) {
  const EntityKind& row = rowOf(kind);
  int64_t live = word(row.countWord);
  if (row.deleted1 != 0) live -= word(row.deleted1);
  if (row.deleted2 != 0) live -= word(row.deleted2);
  if (row.reservedFirst) live -= 1;
  return static_cast<int32_t>(live);
}

void setKindCount(int32_t kind, int32_t n) { word(rowOf(kind).countWord) = n; }

// How many of 1..BOUND pass TEST.
template <typename Test>
int32_t counted(int64_t from, int64_t bound, Test test) {
  int32_t total = 0;
  for (int64_t n = from; n <= bound; ++n) {
    if (test(static_cast<int32_t>(n)) == -1) ++total;
  }
  return total;
}

int32_t kindNameId(int32_t kind, FText text) {
  std::array<int32_t, 2> name = {kBlankCode, kBlankCode};
  // A longer name would be cut to another entity's name, or packed past the work name.
  if (textExtent(text) > kNameChars) return 0;
  int32_t last = 0;
  TXTA4(text, 1, name, last);
  const EntityKind& row = rowOf(kind);
  if (row.test == KindTest::kNameRecord) return ARRFND(name, row.source, 1, word(row.countWord));
  int32_t stat = 0;
  int32_t id = 0;
  ENTNAM(name, row.source, stat, id);
  return stat == 0 ? id : 0;
}

bool special(char c) { return kSpecialChars.find(c) != std::string_view::npos; }
bool letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

int32_t PNTEXS(int32_t id) { return kindExists(1, id); }
int32_t LINEXS(int32_t id) { return kindExists(2, id); }
int32_t SRFEXS(int32_t id) { return kindExists(3, id); }
int32_t BODEXS(int32_t id) { return kindExists(4, id); }
int32_t K05EXS(int32_t id) { return kindExists(5, id); }
int32_t SHPEXS(int32_t id) { return kindExists(6, id); }
int32_t SETEXS(int32_t id) { return kindExists(7, id); }
int32_t MATEXS(int32_t id) { return kindExists(10, id); }
int32_t PHYEXS(int32_t id) { return kindExists(11, id); }
int32_t CSYEXS(int32_t id) { return kindExists(25, id); }
int32_t LODEXS(int32_t id) { return kindExists(30, id); }
int32_t CNDEXS(int32_t id) { return kindExists(33, id); }
int32_t K34EXS(int32_t id) { return kindExists(34, id); }
int32_t K35EXS(int32_t id) { return kindExists(35, id); }
int32_t K36EXS(int32_t id) { return kindExists(36, id); }
int32_t K37EXS(int32_t id) { return kindExists(37, id); }
int32_t K38EXS(int32_t id) { return kindExists(38, id); }
int32_t CRVEXS(int32_t id) { return kindExists(39, id); }
int32_t K40EXS(int32_t id) { return kindExists(40, id); }
int32_t K41EXS(int32_t id) { return kindExists(41, id); }
int32_t K42EXS(int32_t id) { return kindExists(42, id); }
int32_t K44EXS(int32_t id) { return kindExists(44, id); }
int32_t K46EXS(int32_t id) { return kindExists(46, id); }
int32_t K47EXS(int32_t id) { return kindExists(47, id); }

int32_t NODEXS(int32_t n) {
  const int32_t floor = word(kCntNodeFloor);
  if (floor > 0 && n < floor) return -1;
  const int64_t i = int64_t{n} - word(kCntNodeOffset);
  return i > 0 && i <= word(kCntHighestNode) ? -1 : 0;
}

int32_t ELMEXS(int32_t n) {
  const int64_t i = int64_t{n} - word(kCntElementOffset);
  const int32_t w = word(kCntElementNodes);
  if (i <= 0 || i > word(kCntHighestElement) || w < 0) return 0;
  const int64_t at = (i - 1) * (int64_t{w} + 1) + 1;
  // A record beyond the array would end the run in the middle of an existence test.
  if (REGHED.top < kArrConnectivity || at + 1 > REGHED.ARRLEN(kArrConnectivity)) return 0;
  std::array<int32_t, 1> v{};
  int32_t stat = 0;
  ARRIO(1, kArrConnectivity, static_cast<int32_t>(at), 1, -1, v, {}, stat);
  const int32_t shape = v[0] == std::numeric_limits<int32_t>::min() ? 0 : std::abs(v[0]);
  if (SHPNOD(shape) <= 0) return 0;
  // Only the first node decides.
  ARRIO(1, kArrConnectivity, static_cast<int32_t>(at + 1), 1, -1, v, {}, stat);
  return v[0] > 0 ? -1 : 0;
}

int32_t PNTNID(FText text) { return kindNameId(1, text); }
int32_t LINNID(FText text) { return kindNameId(2, text); }
int32_t SRFNID(FText text) { return kindNameId(3, text); }
int32_t BODNID(FText text) { return kindNameId(4, text); }
int32_t K05NID(FText text) { return kindNameId(5, text); }
int32_t SHPNID(FText text) { return kindNameId(6, text); }
int32_t SETNID(FText text) { return kindNameId(7, text); }
int32_t MATNID(FText text) { return kindNameId(10, text); }
int32_t PHYNID(FText text) { return kindNameId(11, text); }
int32_t CSYNID(FText text) { return kindNameId(25, text); }
int32_t LODNID(FText text) { return kindNameId(30, text); }
int32_t CNDNID(FText text) { return kindNameId(33, text); }
int32_t K34NID(FText text) { return kindNameId(34, text); }
int32_t K35NID(FText text) { return kindNameId(35, text); }
int32_t CRVNID(FText text) { return kindNameId(39, text); }
int32_t K40NID(FText text) { return kindNameId(40, text); }
int32_t K41NID(FText text) { return kindNameId(41, text); }
int32_t K42NID(FText text) { return kindNameId(42, text); }
int32_t K44NID(FText text) { return kindNameId(44, text); }
int32_t K47NID(FText text) { return kindNameId(47, text); }

void NAMFND(std::span<const int32_t, 2> name, int32_t arr, int32_t& rec) {
  int32_t bound = 0;
  switch (arr) {
    case 1: bound = word(kCntPoints); break;
    case 3: bound = word(kCntLines); break;
    case 5: bound = word(kCntSurfaces); break;
    case 7: bound = word(kCntBodies); break;
    case 9: bound = word(kCntShapes); break;
    case kArrLabels: bound = REGHED.top >= kArrLabels ? REGHED.ARRLEN(kArrLabels) : 0; break;
    case 18: bound = word(kCntSets); break;
    case 27: bound = word(kCntKind42); break;
    default:
      if (arr != APPSTA.ARRHND(kHandleKind46Names)) return;
      bound = word(kCntKind46);
  }
  rec = ARRFND(name, arr, 1, bound);
}

int32_t CNTPNT() { return kindCount(1); }
int32_t CNTLIN() { return kindCount(2); }
int32_t CNTSRF() { return kindCount(3); }
int32_t CNTBOD() { return kindCount(4); }
int32_t CNTK05() { return kindCount(5); }
int32_t CNTSHP() { return kindCount(6); }
int32_t CNTSET() { return kindCount(7); }
int32_t CNTMAT() { return kindCount(10); }
int32_t CNTPHY() { return kindCount(11); }
int32_t CNTCSY() { return kindCount(25); }
int32_t CNTLOD() { return kindCount(30); }
int32_t CNTCND() { return kindCount(33); }
int32_t CNTK34() { return kindCount(34); }
int32_t CNTK35() { return kindCount(35); }
int32_t CNTK36() { return kindCount(36); }
int32_t CNTK37() { return kindCount(37); }
int32_t CNTK38() { return kindCount(38); }
int32_t CNTCRV() { return kindCount(39); }
int32_t CNTK40() { return kindCount(40); }
int32_t CNTK41() { return kindCount(41); }
int32_t CNTK42() { return kindCount(42); }
int32_t CNTK44() { return kindCount(44); }
int32_t CNTK46() { return kindCount(46); }
int32_t CNTK47() { return kindCount(47); }

int32_t LIVPNT() { return kindLive(1); }
int32_t LIVLIN() { return kindLive(2); }
int32_t LIVSRF() { return kindLive(3); }
int32_t LIVBOD() { return kindLive(4); }
int32_t LIVK05() { return kindLive(5); }
int32_t LIVSHP() { return kindLive(6); }
int32_t LIVSET() { return kindLive(7); }
int32_t LIVMAT() { return kindLive(10); }
int32_t LIVPHY() { return kindLive(11); }
int32_t LIVCSY() { return kindLive(25); }
int32_t LIVLOD() { return kindLive(30); }
int32_t LIVCND() { return kindLive(33); }
int32_t LIVK34() { return kindLive(34); }
int32_t LIVK35() { return kindLive(35); }
int32_t LIVK36() { return counted(1, word(kCntKind36), K36EXS); }
int32_t LIVK37() { return counted(1, word(kCntKind37), K37EXS); }
int32_t LIVCRV() { return kindLive(39); }
int32_t LIVK40() { return kindLive(40); }
int32_t LIVK41() { return kindLive(41); }
int32_t LIVK42() { return kindLive(42); }
int32_t LIVK44() { return kindLive(44); }
int32_t LIVK46() { return kindLive(46); }
int32_t LIVK47() { return kindLive(47); }

void STCPNT(int32_t n) { setKindCount(1, n); }
void STCLIN(int32_t n) { setKindCount(2, n); }
void STCSRF(int32_t n) { setKindCount(3, n); }
void STCBOD(int32_t n) { setKindCount(4, n); }
void STCK05(int32_t n) { setKindCount(5, n); }
void STCSHP(int32_t n) { setKindCount(6, n); }
void STCSET(int32_t n) { setKindCount(7, n); }
void STCMAT(int32_t n) { setKindCount(10, n); }
void STCPHY(int32_t n) { setKindCount(11, n); }
void STCCSY(int32_t n) { setKindCount(25, n); }
void STCLOD(int32_t n) { setKindCount(30, n); }
void STCCND(int32_t n) { setKindCount(33, n); }
void STCK34(int32_t n) { setKindCount(34, n); }
void STCK35(int32_t n) { setKindCount(35, n); }
void STCCRV(int32_t n) { setKindCount(39, n); }
void STCK40(int32_t n) { setKindCount(40, n); }
void STCK41(int32_t n) { setKindCount(41, n); }
void STCK42(int32_t n) { setKindCount(42, n); }
void STCK44(int32_t n) { setKindCount(44, n); }
void STCK46(int32_t n) { setKindCount(46, n); }
void STCK47(int32_t n) { setKindCount(47, n); }

int32_t CNTNDS() { return word(kCntHighestNode); }
int32_t CNTELM() { return word(kCntHighestElement); }
int32_t ELMWID() { return word(kCntElementNodes); }
int32_t NODFLR() { return word(kCntNodeFloor); }
void STCNFL(int32_t n) { word(kCntNodeFloor) = n; }
int32_t NODFLX() { return word(kCntNodeFloorNext); }
void STCNFX(int32_t n) { word(kCntNodeFloorNext) = n; }
int32_t MBLTOP() { return word(kCntSetBlockTop); }
void STCMBT(int32_t n) { word(kCntSetBlockTop) = n; }
int32_t NODOFS() { return word(kCntNodeOffset); }
int32_t ELMOFS() { return word(kCntElementOffset); }
int32_t CNTW63() { return word(kCntWord63); }

int32_t LIVELM() {
  const int64_t offset = word(kCntElementOffset);
  return counted(offset + 1, offset + word(kCntHighestElement), ELMEXS);
}

int32_t NSPLOD() { return counted(1, word(kCntLoads), LODSPC); }

int32_t IDMODG() { return IDPACK.modulus; }
void IDMODS(int32_t m) { IDPACK.modulus = m; }

int32_t NAMSYN(FText text) {
  const int32_t l = text.length();
  if (l <= 0 || !letter(text.at(1))) return 0;
  for (int32_t k = 2; k <= l; ++k) {
    if (special(text.at(k))) return 0;
  }
  return -1;
}

int32_t NAMCHR(FText ch) { return ch.length() > 0 && !special(ch.at(1)) ? -1 : 0; }

int32_t CHRLET(FText ch) { return ch.length() > 0 && letter(ch.at(1)) ? -1 : 0; }

void BLKFIL(std::span<int32_t> buf, int32_t n) {
  for (int64_t k = 0; k < n && k < static_cast<int64_t>(buf.size()); ++k) {
    buf[static_cast<size_t>(k)] = MODCON.word(kModFirstCode);
  }
}

int32_t NAPGET(int32_t i) {
  return i >= 0 && i < NapBlk::kWords ? NAPBLK.words[static_cast<size_t>(i)] : 0;
}

float TINYRL() { return MACHCN.real(kMachTolerance); }

}  // namespace kvr
