// The results attribute loader. A results dataset (key 100 or 300) carries one results
// attribute of the current load case and then its values. DIPRES stores the attribute:
//  - its record 106 in the load case's chain (from word 8 of record 104; word 1 the link:
//    0 a record not yet used, -1 the last one used, above 0 the page of the next): the
//    first record of link 0 takes it, or a new record linked behind the last one. Words:
//    2 IRTYPE, 3-10 the name, 11 the header page, 12 the first values page (-1 none), 13 1
//    for key 300, 14 NCOMPS, 15 the menu rows, 16-95 rows 1-10 (the names of the
//    components with INMENU not 0), 96 the page of a continuation record holding the next
//    ten rows from word 16 (0 none);
//  - its header page (class 100): from word 39 one 29-word entry per component (INMENU,
//    CTYPE, INDEX1, INDEX2, IEXIST, name, NCALC, second name; INDEX2 0 of a CTYPE mod 10
//    = 3 numbered (k - 1) / 4 + 1 for the k-th such component), then the variant count V
//    and per variant its id, its value word count and one position word per component
//    (where its value begins in the variant's values, 0 when not in it; a CTYPE above 10
//    takes two words). Without variant records the one variant, id 1, holds the value
//    components (IEXIST 0 or below) in component order;
//  - its values through DIPNR or DIPER (dipnr.h), when it has a value component, and the
//    words of RESSEL that readers of the attribute use.
// RAMAKE adds the derived record that an element values header can ask for.
//
// The readers of the attribute definitions read the attribute header, each component
// definition and each variant from the current unit's stream and check them before
// anything of them is stored.
//
// Codes and locations: a failed read 225 ("DILIM ", the unit); a header with the wrong key
// or tag 299 "DIPAT " 9250, NCOMPS outside 1..20 9300, IRTYPE outside 1..5 9400, NUMVAR
// outside 0..5 9500 (the room of the selection's variant table); a component: number above
// 20 299 "DIPCO " 9200, tag 9300, INMENU not 0 or 1 9400, CTYPE mod 10 outside 0..6 9500,
// INDEX1 below 0 where CTYPE mod 10 >= 2 9600, INDEX2 below 0 where CTYPE mod 10 >= 4 9700,
// then IEXIST 1 with a blank calculation name 248 ("DILIM ", the name); a variant: tag 299
// "DIPAV " 9200, id below 0 9300, n outside 0..20 or a component number outside 1..NCOMPS
// 9400.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

inline constexpr int32_t kResultsNameCodes = 8;
inline constexpr int32_t kMostComponents = 20;
inline constexpr int32_t kMostVariants = 5;

// The loader of a results dataset of KEY (100 or 300; 300 becomes 100 in the caller's
// variable). Besides the codes of the readers and of DIPNR and DIPER: 235 ("DILIM ", the
// name) when the load case has an attribute of that name and IRTYPE; 299 ("DIPRES", 9100)
// when the load case has no attribute record chain to take it.
void DIPRES(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& key, int32_t& ierr);

// Appends a derived attribute record to the current load case's chain for the attribute
// of RESSEL: link -1, RESSEL's type and name, the key-300 flag of the attribute's record,
// no values (-1), and a header page holding the attribute's value components (IEXIST 0 or
// below) with their menu rows, the variants and those components' position words. RESSEL
// then names the new header page and record, with a values word of 0. MODE 1 refuses an
// attribute with a value component of CTYPE 3 (E4150; the record is left unused, link 0).
// STATUS 0, or 1 when refused or the chain is unusable.
void RAMAKE(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t mode, int32_t& status);

// The attribute header: NAME (8 codes, upper-cased), NCOMPS, IRTYPE, NUMVAR.
void DIPAT(int32_t key, std::span<int32_t> name, int32_t& ncomps, int32_t& irtype,
           int32_t& numvar, int32_t& ierr);

// Component C's definition; NAME, NCALC and NAME2 (8 codes each) upper-cased.
void DIPCO(int32_t key, int32_t c, std::span<int32_t> name, int32_t& inmenu, int32_t& ctype,
           int32_t& index1, int32_t& index2, int32_t& iexist, std::span<int32_t> ncalc,
           std::span<int32_t> name2, int32_t& ierr);

// Variant I of an attribute of NCOMPS components: its ID, N and the N component numbers in
// LIST (room for 20).
void DIPAV(int32_t key, int32_t i, int32_t ncomps, int32_t& id, int32_t& n,
           std::span<int32_t> list, int32_t& ierr);

}  // namespace kvr
