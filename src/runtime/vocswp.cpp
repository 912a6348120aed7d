#include "runtime/vocswp.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "runtime/codtxt.h"
#include "runtime/gridmd.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

struct Swap {
  std::string_view word;         // upper case
  std::string_view replacement;  // as the grid vocabulary spells it
};

// Tried in this order; the first exact match wins.
constexpr Swap kSwaps[] = {
    {"NODE", "Vertex"},
    {"NODES", "Vertices"},
    {"NODE(S)", "VERTEX(S)"},
    {"NODE...)", "VERTEX...)"},
    {"NODE:", "vertex:"},
    {"NBASE", "Vbase"},
    {"EBASE", "Cbase"},
    {"ELEM", "Cell"},
    {"ELEMS", "Cells"},
    {"ELEMENT", "Cell"},
    // 10
    {"ELEMENTS", "Cells"},
    {"ELEMENT(S)", "CELL(S)"},
    {"ELEMENT...)", "CELL...)"},
    {"ELEMENT-RANGE", "Cell-range"},
    {"NODES/ELEM", "Verts/cell"},
    {"MESH", "Grid"},
    {"MESHES", "Grids"},
    {"MESHING", "Grid"},
    {"(MESHING", "(GRID"},
    {"AT-NODE", "At-vertex"},
    // 20
    {"NODOFF", "Veroff"},
    {"ELSIZE", "Cellsize"},
    {"ELTYPE", "Celltype"},
    {"PROP", "Prob"},
    {"PROPERTY", "Problem"},
    {"PROPERTIES", "Problems"},
    {"(PROPERTY...)", "(PROBLEM...)"},
    {"FE-PROG", "Models"},
    {"LOAD", "Boundary"},
    {"LOADS", "Boundary"},
    // 30
    {"LOADS:", "BOUNDARY:"},
    {"LOADING", "Boundary"},
    {"LOADPATH:", "BCPATH:"},
    {"LMASK", "BCmask"},
    {"MESHFILL", "Gridfill"},
    {"LCAS", "Case"},
    {"LOADCASE", "Case"},
    {"LOADCASES", "Cases"},
    {"LOADCASE(S)", "CASE(S)"},
    {"NODAL", "Vertex"},
    // 40
    {"NODAL:", "VERTX:"},
    {"INVARIANT", "Cell"},
    {"INVAR:", "CELL :"},
};
static_assert(std::size(kSwaps) == 43);

bool isCapital(char c) { return c >= 'A' && c <= 'Z'; }
bool isSmall(char c) { return c >= 'a' && c <= 'z'; }

// The grid word for WORD as written, or WORD itself when it has none.
std::string swapped(const std::string& word) {
  FixedText upper(static_cast<int32_t>(word.size()), word);
  CASCNV(upper, 1);
  for (const Swap& swap : kSwaps) {
    if (upper.view() != swap.word) continue;
    FixedText result(static_cast<int32_t>(swap.replacement.size()), swap.replacement);
    if (isCapital(word.front()) && isCapital(word.back())) {
      CASCNV(result, 1);
    } else if (isSmall(word.front()) && isSmall(word.back())) {
      CASCNV(result, 0);
    }
    return std::string(result.view());
  }
  return word;
}

}  // namespace

void VOCSWP(std::span<int32_t> codes, int32_t& n) {
  if (GRIDMD() != 1 || n < 1) return;
  // A replacement longer than its word could carry the line past its end: it is cut there.
  int32_t capacity = std::min(static_cast<int32_t>(codes.size()), kMaxTextCodes);
  FixedText text(kMaxTextCodes);
  CODTXT(codes, n, text);
  BLKCOD(codes, 1, std::min(n, capacity));

  FixedText word(kMaxTextCodes);
  int32_t pos = 1;
  int32_t previousEnd = 0;
  int32_t count = 0;
  int32_t start = 0, end = 0, length = 0;
  while (NXTWRD(text, pos, word, start, end, length) != 0) {
    std::string written(text.view().substr(static_cast<size_t>(start - 1), static_cast<size_t>(length)));
    std::string grid = swapped(written);
    int32_t at = count + (start - previousEnd - 1);
    for (char c : grid) {
      if (++at > capacity) break;
      codes[static_cast<size_t>(at - 1)] = codeOf(c);
      count = at;
    }
    previousEnd = end;
    if (at >= capacity) break;
  }
  n = count;
}

}  // namespace kvr
