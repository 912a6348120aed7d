// The entity query layer: per entity kind its existence test, its lookup by name, its
// count, live count and count setter, all over the kind table (entkind.h), the existence
// test ENTEXS and the attribute list; the node and element tests in the external
// numbering, the packing modulus, the name syntax tests and a few single words.
//
// A kind with a guarded test answers 0 while its count is 0 or less, without a search.
// Sets and kind 46 never count entity 1, which is reserved. Name lookups pack at most
// eight characters of TEXT (up to "*.", a NUL or its trimmed end) and compare the packed
// words exactly; a longer name finds nothing. Counts are MODCNT words; the counted live
// numbers (LIVK36, LIVK37, LIVELM, NSPLOD, and the class counts of kind 42) test every
// number once.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "runtime/ftext.h"

namespace kvr {

// NAPRG and the four program-flag words APRFLG that follow it in its block: the number of
// analysis-program codes that the program prompts offer and their switches. Nothing in the
// library writes them; 0 at load.
struct NapBlk {
  static constexpr int32_t kWords = 5;
  std::array<int32_t, kWords> words{};
  int32_t& NAPRG() { return words[0]; }
  int32_t& APRFLG(int32_t k) { return words[static_cast<size_t>(k)]; }  // k = 1..4
};
inline NapBlk NAPBLK;

// Existence tests: -1 the entity exists, 0 not.
int32_t PNTEXS(int32_t id);
int32_t LINEXS(int32_t id);
int32_t SRFEXS(int32_t id);
int32_t BODEXS(int32_t id);
int32_t K05EXS(int32_t id);
int32_t SHPEXS(int32_t id);
int32_t SETEXS(int32_t id);
int32_t MATEXS(int32_t id);
int32_t PHYEXS(int32_t id);
int32_t CSYEXS(int32_t id);
int32_t LODEXS(int32_t id);
int32_t CNDEXS(int32_t id);
int32_t K34EXS(int32_t id);
int32_t K35EXS(int32_t id);
int32_t K36EXS(int32_t id);
int32_t K37EXS(int32_t id);
int32_t K38EXS(int32_t id);
int32_t CRVEXS(int32_t id);
int32_t K40EXS(int32_t id);
int32_t K41EXS(int32_t id);
int32_t K42EXS(int32_t id);
int32_t K44EXS(int32_t id);
int32_t K46EXS(int32_t id);
int32_t K47EXS(int32_t id);

// Node and element N in the external numbering (stored number plus the offset of MODCNT
// word 61 or 62). Every node below the node floor (word 19, when positive) exists. An
// element exists when its shape has nodes and its first node is positive.
int32_t NODEXS(int32_t n);
int32_t ELMEXS(int32_t n);

// Name lookups: the number of the entity named TEXT, 0 when none.
int32_t PNTNID(FText text);
int32_t LINNID(FText text);
int32_t SRFNID(FText text);
int32_t BODNID(FText text);
int32_t K05NID(FText text);
int32_t SHPNID(FText text);
int32_t SETNID(FText text);
int32_t MATNID(FText text);
int32_t PHYNID(FText text);
int32_t CSYNID(FText text);
int32_t LODNID(FText text);
int32_t CNDNID(FText text);
int32_t K34NID(FText text);
int32_t K35NID(FText text);
int32_t CRVNID(FText text);
int32_t K40NID(FText text);
int32_t K41NID(FText text);
int32_t K42NID(FText text);
int32_t K44NID(FText text);
int32_t K47NID(FText text);

// REC = the record of name array ARR (1, 3, 5, 7, 9, 14, 18, 27 or the array of handle
// word 21) that holds NAME, within the array's count; 0 none. Another ARR leaves REC.
void NAMFND(std::span<const int32_t, 2> name, int32_t arr, int32_t& rec);

// Count getters (the count word), live counts (less the deleted) and setters.
int32_t CNTPNT();
int32_t CNTLIN();
int32_t CNTSRF();
int32_t CNTBOD();
int32_t CNTK05();
int32_t CNTSHP();
int32_t CNTSET();
int32_t CNTMAT();
int32_t CNTPHY();
int32_t CNTCSY();
int32_t CNTLOD();
int32_t CNTCND();
int32_t CNTK34();
int32_t CNTK35();
int32_t CNTK36();
int32_t CNTK37();
int32_t CNTK38();
int32_t CNTCRV();
int32_t CNTK40();
int32_t CNTK41();
int32_t CNTK42();
int32_t CNTK44();
int32_t CNTK46();
int32_t CNTK47();

int32_t LIVPNT();
int32_t LIVLIN();
int32_t LIVSRF();
int32_t LIVBOD();
int32_t LIVK05();
int32_t LIVSHP();
int32_t LIVSET();
int32_t LIVMAT();
int32_t LIVPHY();
int32_t LIVCSY();
int32_t LIVLOD();
int32_t LIVCND();
int32_t LIVK34();
int32_t LIVK35();
int32_t LIVK36();  // counted: K36EXS over 1..word 69
int32_t LIVK37();  // counted: K37EXS over 1..word 70
int32_t LIVCRV();
int32_t LIVK40();
int32_t LIVK41();
int32_t LIVK42();
int32_t LIVK44();
int32_t LIVK46();
int32_t LIVK47();

void STCPNT(int32_t n);
void STCLIN(int32_t n);
void STCSRF(int32_t n);
void STCBOD(int32_t n);
void STCK05(int32_t n);
void STCSHP(int32_t n);
void STCSET(int32_t n);
void STCMAT(int32_t n);
void STCPHY(int32_t n);
void STCCSY(int32_t n);
void STCLOD(int32_t n);
void STCCND(int32_t n);
void STCK34(int32_t n);
void STCK35(int32_t n);
void STCCRV(int32_t n);
void STCK40(int32_t n);
void STCK41(int32_t n);
void STCK42(int32_t n);
void STCK44(int32_t n);
void STCK46(int32_t n);
void STCK47(int32_t n);

// Single words of MODCNT.
int32_t CNTNDS();  // 10 highest node
int32_t CNTELM();  // 11 highest element
int32_t ELMWID();  // 12 node slots of a connectivity record
int32_t NODFLR();  // 19 node floor
void STCNFL(int32_t n);
int32_t NODFLX();  // 20
void STCNFX(int32_t n);
int32_t MBLTOP();  // 54 highest set-member block
void STCMBT(int32_t n);
int32_t NODOFS();  // 61 node offset
int32_t ELMOFS();  // 62 element offset
int32_t CNTW63();  // 63

// Counted: elements of the external numbers word 62 + 1 .. word 62 + word 11 that exist;
// loads 1..word 52 that are special (LODSPC).
int32_t LIVELM();
int32_t NSPLOD();

// The packing modulus of IDPACK.
int32_t IDMODG();
void IDMODS(int32_t m);

// -1 when TEXT (its declared length) is a valid entity name: a letter first, then none of
// "*.?[]!^&$/\" (blanks allowed). NAMCHR: -1 unless the first character is one of those
// eleven; CHRLET: -1 when the first character is an ASCII letter. An empty text gives 0.
int32_t NAMSYN(FText text);
int32_t NAMCHR(FText ch);
int32_t CHRLET(FText ch);

// Words 1..N of BUF (at most its size) set to the blank word of MODCON.
void BLKFIL(std::span<int32_t> buf, int32_t n);

// The word I places after NAPRG in its block (0..4); 0 for any other I.
int32_t NAPGET(int32_t i);

// The smallest real of MACHCN (1.0e-32).
float TINYRL();

}  // namespace kvr
