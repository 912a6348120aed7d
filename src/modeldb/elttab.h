// The element library's two numberings and their tables.
//
// The element-type number (1..61) is what a host passes for an element's topology and
// what the element entries of the topology dataset carry. For it the library keeps the
// static property table ELTPRP and the element-type table ELTTAB built from it, whose
// entry lengths follow the record layout of the database in use.
//
// The shape code (1..61) keys the connectivity records of the in-memory model, the local
// topology lists and the node orderings. For it the library keeps a node count and a
// four-character name per code (SHPCOD), and the map SHPMAP from shape code to element
// type.
//
// Both numberings have holes: element types 17 to 19, 25, 26, 32 to 40 and 52 to 59 and
// shape codes 4, 6, 19, 31 to 40 and 52 to 59 are nothing, and their rows are all 0.
// Shapes 8, 15, 18, 25 and 26 have no element type; element types 13 to 16 no shape.
//
// Every reader here answers 0 for a number outside its table, so a type or shape code
// read from stored data can never index past a table.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "runtime/ftext.h"

namespace kvr {

inline constexpr int32_t kElementTypes = 61;  // element-type numbers 1..61
inline constexpr int32_t kShapeCodes = 61;    // shape codes 1..61

// The record-layout word (the open database's type code) that selects the long element
// entry layout; every other value gives the short one.
inline constexpr int32_t kLongEntryLayout = 5000;

// One row of ELTPRP, the columns in the system's order.
struct EltProps {
  int32_t nodes = 0;
  int32_t edges = 0;
  int32_t dimension = 0;  // 1 line, 2 surface, 3 solid, 4 point
  int32_t faces = 0;      // solid: its faces; surface: 1; line: its segments
  int32_t corners = 0;
  int32_t order = 0;      // 0 linear, 1 quadratic, 2 cubic, 3 quartic
  int32_t interior = 0;   // interior nodes
};

// ELTPRP row T (0..63; rows 1..61 are the element types). Any other T gives an empty row.
const EltProps& ELTPRP(int32_t t);

// ELTTAB: 61 entries of 9 words, entry T for element type T, rebuilt by ELTBLD. Empty at
// load; the entries of numbers that are no element type stay all 0.
class EltTab {
 public:
  static constexpr int32_t kWords = 9;
  // Word numbers of an entry.
  static constexpr int32_t kNodes = 1;
  static constexpr int32_t kEdges = 2;
  static constexpr int32_t kEntryLength = 3;  // words of the element's topology entry
  static constexpr int32_t kFaces = 4;
  static constexpr int32_t kCorners = 5;
  static constexpr int32_t kBaseLength = 6;
  static constexpr int32_t kOrder = 7;
  static constexpr int32_t kInterior = 8;
  static constexpr int32_t kDimension = 9;

  // Word K (1..9) of the entry of element type T; 0 for T or K out of range.
  int32_t word(int32_t t, int32_t k) const;
  // Sets word K of entry T; nothing for T or K out of range.
  void set(int32_t t, int32_t k, int32_t value);
  void clear() { entries_ = {}; }

 private:
  std::array<std::array<int32_t, kWords>, kElementTypes> entries_{};
};

extern EltTab ELTTAB;

// Clears ELTTAB and fills the entries of the element types from ELTPRP. RECORDLAYOUT is
// the record-layout word of the database in use (the session block's word, 0 while no
// database is open): base length = a + (a - 5) x nodes, with a = 3w + 7 (w the integer
// words per REAL, 1) for the long layout 5000 and a = 7 otherwise; entry length = base
// length + faces, the base length alone for a line element, and one more for types 13
// and 15. Rows with no nodes are no element type and stay all 0.
void ELTBLD(int32_t recordLayout);

// One-word readers of ELTTAB for element type T; each answers 0 for T outside 1..61 and
// for a number that is no element type, so ELTDIM(T) = 0 means "no such type".
int32_t ELNCNT(int32_t t);  // nodes
int32_t ELTDIM(int32_t t);  // dimension
int32_t RECCLS(int32_t t);  // entry length in the topology dataset
int32_t ELTCOR(int32_t t);  // corner nodes
int32_t ELTEDG(int32_t t);  // edges
int32_t ELTFAC(int32_t t);  // faces
int32_t ELTBLN(int32_t t);  // base length

// Node count of shape code S; 0 for S outside 1..61 and for codes that are no shape.
int32_t SHPNOD(int32_t s);

// The element type of shape code S; 0 for S outside 1..61 and where there is none.
int32_t SHPMAP(int32_t s);

// The name of shape code S as one A4LINE word (blank word where the shape has no name).
int32_t shapeNameWord(int32_t s);

// The shape code S whose name is NAME, a text of length 3 or 4, compared after blank
// padding to four characters and upper-casing (so "qu4" and "QU4 " both give QU4). Any
// other length, or a name that no shape has, gives S = 0.
void SHPNAM(FText name, int32_t& s);

// Packs up to four characters of TEXT into one A4LINE word, as TXTA4 packs a text: the
// first character in the lowest byte, blank-padded. Usable at compile time, so the name
// tables are constant data.
constexpr int32_t a4Word(std::string_view text) {
  uint32_t word = 0;
  for (int k = 3; k >= 0; --k) {
    const char c = static_cast<size_t>(k) < text.size() ? text[static_cast<size_t>(k)] : ' ';
    word = (word << 8) | static_cast<unsigned char>(c);
  }
  return static_cast<int32_t>(word);
}

}  // namespace kvr
