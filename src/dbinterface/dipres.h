// The readers of a results dataset's attribute definitions: the attribute header, each
// component definition and each variant, read from the current unit's stream and checked
// before anything of them is stored.
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
