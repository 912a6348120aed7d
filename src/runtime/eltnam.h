// ELTNAM: the element-type names and entity-kind codes that the menus of the command
// interpreter are built from, four characters to a word (A4 line), set by the model
// start-up.
//
// The names are ten literal lists packed one after the other (47 words): "BE2 BE3 ",
// "BE4 BE5 P-EL", "TR3 ----QU4 ----TR6 QU7 QU8 QU9 ", "PE6 TE4 HE8 PE15HE16TE10HE20HE27",
// "TR9 QU12TR12QU16TR15 ", "TE16PE24HE32", "IP11IL22IL32IL33IL44IL55",
// "IS33IS44IS84IS66IS88", "SP8  SP10", "ALL     SUP ". The 25 entity-kind codes ("T",
// "G", "M", ... "AX", "PA", "xxxx") form one list. Beside them: a blank word, the count
// word (31), and the two spline tolerances of the mesh settings (REAL).
#pragma once

#include <array>
#include <cstdint>

namespace kvr {

struct EltNam {
  static constexpr int32_t kNameWords = 47;
  static constexpr int32_t kKindCodes = 25;

  std::array<int32_t, kNameWords> names{};
  std::array<int32_t, kKindCodes> kindCodes{};
  int32_t blank = 0;
  int32_t count = 0;
  float splineAngleTolerance = 0.0f;
  float splineWarpTolerance = 0.0f;
};

inline EltNam ELTNAM;

}  // namespace kvr
