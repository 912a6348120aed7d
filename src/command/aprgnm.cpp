#include "command/aprgnm.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <string>

#include "runtime/codtxt.h"
#include "runtime/ftext.h"

namespace kvr {
namespace {

// APRTAB: one row per program code. The name of a row with a program has at most eight
// characters; the blank rows (36 to 38) have a one-blank name and code outputs of 0.
struct ProgramRow {
  std::string_view name;
  int32_t codeA;
  int32_t codeB;
};

constexpr std::array<ProgramRow, kProgramCodes> APRTAB{{
    {"PROG01", 1, 1},   {"PROG02", 2, 2},   {"PROG03", 3, 3},   {"PROG04", 4, 4},
    {"PROG05", 5, 5},   {"PROG06", 6, 6},   {"PROG07", 7, 7},   {"PROG08", 8, 8},
    {"PROG09", 9, 9},   {"PROG10", 10, 10},  // 10
    {"PROG11", 11, 11}, {"PROG12", 12, 12}, {"PROG13", 13, 13}, {"PROG14", 14, 14},
    {"PROG15", 15, 15}, {"PROG16", 16, 16}, {"PROG17", 17, 17}, {"PROG18", 18, 18},
    {"PROG19", 19, 19}, {"PROG20", 20, 20},  // 20
    {"KAVRO+", 21, 21}, {"PROG22", 22, 22}, {"PROG23", 23, 23}, {"PROG24", 24, 24},
    {"PROG25", 25, 25}, {"PROG26", 26, 26}, {"SELVO", 27, 27},  {"PROG28", 28, 28},
    {"PROG29", 29, 29}, {"PROG30", 30, 30},  // 30
    {"PROG31", 31, 31}, {"PROG32", 32, 32}, {"PROG33", 33, 33}, {"PROG34", 34, 34},
    {"PROG35", 35, 35}, {" ", 0, 0},        {" ", 0, 0},        {" ", 0, 0},
    {"PROG39", 39, 39}, {"PROG40", 40, 40},  // 40
    {"PROG41", 41, 41}, {"PROG42", 42, 42}, {"PROG43", 43, 43}, {"PROG44", 44, 44},
    {"PROG45", 45, 45}, {"PROG46", 46, 46}, {"PROG47", 47, 47}, {"PROG48", 48, 48},
    {"PROG49", 49, 49}, {"PROG50", 50, 50},  // 50
    {"PROG51", 51, 51}, {"PROG52", 52, 52},
}};

// The row of CODE, or null outside 1..52.
const ProgramRow* row(int32_t code) {
  if (code < 1 || code > kProgramCodes) return nullptr;
  return &APRTAB[static_cast<std::size_t>(code - 1)];
}

}  // namespace

std::string_view programName(int32_t code) {
  const ProgramRow* r = row(code);
  return r != nullptr ? r->name : std::string_view{};
}

void APRGNM(int32_t code, int32_t first, std::span<int32_t> line, int32_t& last, int32_t& codeA,
            int32_t& codeB) {
  last = first;
  codeA = 0;
  codeB = 0;
  // The magnitude taken in 64 bits: the most negative word has none in 32.
  const int64_t magnitude = code < 0 ? -static_cast<int64_t>(code) : code;
  const ProgramRow* r = magnitude <= kProgramCodes ? row(static_cast<int32_t>(magnitude)) : nullptr;
  if (r == nullptr) return;
  std::string text(r->name);
  text += "*.";
  TXTCOD(FText(text), first, line, last);
  codeA = r->codeA;
  codeB = r->codeB;
}

void PKBITS(std::span<const int32_t> words, int32_t field, int32_t& value, int32_t fields) {
  value = 0;
  if (field < 1 || fields < 1 || fields > 32) return;
  const int32_t w = (field - 1) / fields + 1;
  if (w > static_cast<int32_t>(words.size())) return;
  const int32_t j = field - fields * (w - 1);
  // The magnitude in 64 bits: in 32 a word of -2147483648 has none, and its shift would be
  // undefined.
  const int64_t word = words[static_cast<std::size_t>(w - 1)];
  const int64_t magnitude = word < 0 ? -word : word;
  const int64_t field64 = j < fields ? (magnitude >> (j - 1)) & 1 : magnitude >> (fields - 1);
  // Only one field per word (FIELDS 1) can exceed the word range: it is held at the largest
  // word, which keeps it switched on.
  value = static_cast<int32_t>(std::min<int64_t>(field64, std::numeric_limits<int32_t>::max()));
}

}  // namespace kvr
