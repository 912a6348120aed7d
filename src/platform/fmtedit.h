// Fortran editing: the one place in the library where numbers become text and back.
//
// Output edit descriptors follow the Fortran rules the stored files and the message
// texts were written with: Iw right-justified (w asterisks when the value does not fit),
// Fw.d, Ew.d in the "0.12345E+05" form, Gw.d (F editing with four trailing blanks when
// 0.1 <= |x| < 10**d after rounding, otherwise E editing). Rounding is to nearest, exact
// ties to even. -0.0 keeps its sign; NaN and Infinity print as "NaN" and "Infinity"
// right-justified, or asterisks where they do not fit.
//
// Input edit descriptors: Iw, Fw.d, Gw.d with blanks ignored, D or E exponents (or a
// signed exponent alone), an all-blank field reading 0, and a bad field a read error.
//
// Beside them: a small format interpreter for the formats the library writes records
// with ("(1X,A)", "(1X,80A1)", "(I8,2E12.5)" ...), with repeat counts, groups, quoted
// literals, "/" and format reversion; and list-directed output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kvr::fmt {

// Single edit descriptors, each giving exactly W characters (none for W below 1, except
// that editI with W = 0 gives the integer in its minimal width, as I0 does, and I0.0 of
// zero one blank). Ew.d and Gw.d need D of 1 or more and give W asterisks otherwise. An
// exponent beyond 99 is written without its letter ("0.12345+100"). When a number needs
// one column more than W and starts with "0.", the optional zero is dropped
// (".12345E+05").
std::string editI(int64_t value, int w);
std::string editF(double value, int w, int d);
std::string editE(double value, int w, int d);
std::string editG(double value, int w, int d);
// editI and editE appended to OUT, for a caller that builds a line of many fields.
void appendI(std::string& out, int64_t value, int w);
void appendE(std::string& out, double value, int w, int d);

// Input editing of one field. Answer true and set VALUE, or false on a bad field (VALUE
// is then left alone). Blanks anywhere in the field are ignored; an all-blank field reads
// 0. A lone sign, a lone decimal point or an exponent without digits is a bad field, and
// so is an integer beyond the int32_t range or a real that rounds beyond the range of its
// type (a real too small for it reads as zero). A float is rounded once from the digits,
// never through a double. Fw.d without a decimal point in the field takes the last d
// digits of the mantissa as decimals; the exponent is "E" or "D" (either case) followed
// by a signed or unsigned integer, or a signed integer alone ("1.5+2").
bool readI(std::string_view field, int32_t& value);
bool readF(std::string_view field, int d, double& value);
bool readF(std::string_view field, int d, float& value);
inline bool readG(std::string_view field, int d, double& value) { return readF(field, d, value); }
inline bool readG(std::string_view field, int d, float& value) { return readF(field, d, value); }

// One item of an output list. A float is edited from its own value (widened exactly).
using Item = std::variant<int32_t, int64_t, float, double, std::string_view>;

// Edits ITEMS under FORMAT (with or without its outer parentheses) and answers the
// records it makes: "/" and format reversion start new records. A format that cannot be
// read gives one record of the text "?FORMAT?" so that a fault shows in the output.
//
// Descriptors: Iw and Iw.m, Fw.d, Ew.d, Gw.d, A and Aw, nX, 'text' and "text" (a doubled
// quote stands for one), "/", with repeat counts before data descriptors, "/" and
// parenthesised groups; blanks outside quotes are ignored, letters may be lower case and
// the commas between items may be left out.
// Output stops at the first data descriptor for which no item remains; literals before
// it are still written. nX moves the position n columns on: its blanks are written only
// when a literal or an item follows in the same record, so "(1X)" makes an empty record.
// When items remain at the final ")", a new record starts and the format resumes at the
// last top-level group, with its repeat count, or at its beginning when it has no group.
// An item of a type the descriptor cannot edit (a text for I, a number for A) gives w
// asterisks; Gw.d edits an integer as Iw and a text as Aw. A format without a data
// descriptor that is given items (or whose reversion part has none) counts as unreadable.
// So does a format whose one pass, its nested repeat counts multiplied out, would make
// more than 100,000 columns, records and group repetitions together.
std::vector<std::string> format(std::string_view fmt, const std::vector<Item>& items);
// The same, for a format known to make one record: answers the first record only.
std::string format1(std::string_view fmt, const std::vector<Item>& items);

// List-directed output: one leading blank, texts as they stand (adjacent texts are not
// separated), each number but a first item preceded by one blank; integers in minimal
// width, a float as G15.7 and a double as G23.15, either with its blanks trimmed.
std::string listDirected(const std::vector<Item>& items);

}  // namespace kvr::fmt

namespace kvr {

// The one real-to-integer conversion of the library: as Fortran INT (truncating toward
// zero) and NINT (nearest, halves away from zero), clamped to the int32_t range; NaN
// gives 0.
int32_t intOf(double value);
int32_t nintOf(double value);

}  // namespace kvr
