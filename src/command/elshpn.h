// The element shapes that a physical property offers: ELSHPN takes a group of shapes out
// of the shape table SHPTAB by a selector (the property type), orders them by family and
// node count, and keeps the shapes that the model's analysis program accepts, as its
// translator answers (TRNDSP, trndsp.h).
//
// Families, in this order, by the first two characters of a name: "P-", "BE", "TR", "QU",
// "PE", "HE", "TE", "IP", "IL", "IS", "SP". Within a family the shapes go by node count
// (the name's digits: TR15 15, SP8 8), equal counts in table order.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace kvr {

// SHPTAB: seven columns of up to eight shapes, each an 8-character name and its shape code
// (the code of the shape tables in modeldb/elttab.h).
struct ShapeRow {
  std::string_view name;
  int32_t code;
};
struct ShapeColumn {
  int32_t rows;
  std::array<ShapeRow, 8> row;
};
inline constexpr int32_t kShapeColumns = 7;
inline constexpr int32_t kMaxShapeList = 40;  // ELSHPN answers at most 40 shapes

// Column C (1..7) of SHPTAB.
const ShapeColumn& shapeColumn(int32_t c);

// The shapes of group SELECTOR that program PROGRAM accepts: CODES receives their shape
// codes, NAMES their names as two A4 words each (the first four characters in word k, the
// next four in word 40 + k), COUNT their number. A selector that names no group gives 0.
// Programs 36 to 38 keep every shape; for any other program each shape is offered to its
// translator in variants 1 to 100 and kept when one is accepted. A translator that is not
// present (status 99) ends the list, or in the family "P-" only that family. The list
// ends where CODES ends; a name word beyond NAMES is not written.
void ELSHPN(int32_t selector, int32_t program, std::span<int32_t> codes,
            std::span<int32_t> names, int32_t& count);

}  // namespace kvr
