// Block M001-M830: information lines and error reports of the model database, of
// database and memory handling, and of the command processor. Each message names its
// own line writer (WRTLN1 for errors, WRTLIN for information lines, HCMSG for the host)
// and takes its values as arguments; its lines hold up to 255 positions.
#include <algorithm>
#include <array>
#include <bit>
#include <iterator>
#include <string_view>

#include "messages/catalog.h"
#include "messages/catline.h"
#include "runtime/codtxt.h"

namespace kvr {
namespace {

constexpr int32_t kLineLength = 255;

// One message: its number, its writer ('1' WRTLN1, 'L' WRTLIN, 'H' HCMSG) and its lines
// as composed, each piece directly after the one before. The inserts are marked in
// braces: {n} the name, {m} the second name, {1} to {3} the integers, {r} the real, {8}
// the eight characters packed in the real argument's two words, {p1} and {p2} the
// program-name texts, {v} and {w} the version and the release text.
struct Text {
  int32_t number;
  char writer;
  std::string_view line1;
  std::string_view line2 = {};
  std::string_view line3 = {};
};

constexpr Text kTexts[] = {
    {1, '1', "M001: No {p2} index file for model < {n} > "},
    {2, '1', "M002: No {p2} database file for model < {n} >"},
    {3, '1', "M003: Cannot open existing {p2} index file for model < {n} > "},
    {4, '1', "M004: Cannot open existing {p2} database file for model < {n} >"},
    {5, '1', "M005: Cannot open existing {p2} index file to update model < {n} >"},
    {6, '1', "M006: Cannot open existing {p2} database file to update model < {n} >"},
    {7, '1', "M007: Processing of assembly < {n} > is incomplete"},
    {8, '1', "M008: Attribute < {n} > already exists as element nodal results"},
    {9, '1', "M009: Attribute < {n} > already exists as nodal results"},
    {10, '1', "M010: Assembly < {n} > has no assembly definition"},
    // M011
    {11, '1', "M011: Set < {n} > does not exist.  Probably deleted"},
    {12, '1', "M012: Database index error < {1} >  parameter < {2} >", "Database index probably corrupt"},
    {13, '1', "M013: {p2} index file for model < {n} > already exists"},
    {14, '1', "M014: {p2} database file for model < {n} > already exists"},
    {15, '1', "M015: Transfer of model < {n} > to {p2} aborted"},
    {16, '1', "M016: Shape < {n} > does not exist"},
    {17, '1', "M017: Shape < {n} > must be a plane"},
    {18, 'L', "M018: Loadcase < {n} > selected"},
    {19, 'L', "M019: Loadcase < {n} >  step < {1} > selected"},
    {20, 'L', "M020: The results stack {n} contains < {1} > items"},
    // M021
    {21, '1', "M021: Error : Reading co-ordinates : line number = {r}", "Node number < {1} > is invalid data", "Node numbers must be greater than zero"},
    {22, '1', "M022: Error : Reading co-ordinates : line number = {r}", "Node number < {1} > is invalid data", "Node numbers must be in ascending order"},
    {23, '1', "M023: Error : Reading co-ordinates : line number = {r}", "Data set is empty"},
    {24, '1', "M024: Error : In definition of element < {1} >", "Node < {2} > Not found in co-ordinate list"},
    {25, '1', "M025: Error: To add to this surface scan loadcase", "      the source loadcase must be < {n} > step < {1} >"},
    {26, 'L', "M026: Not all loadcases graphed over are in the < {n} > domain"},
    {27, 'L', "M027: Mapping element set to nodes"},
    {28, 'L', "M028: Mapping node set to elements"},
    {29, 'L', "M029: New element set"},
    {30, 'L', "M030: New node set"},
    // M031
    {31, '1', "M031: This {p2} database has type code < {1} >", "It is incompatible with {v} {w}"},
    {32, '1', "M032: Database index and data files are incompatible", "Type codes are < {1} > and < {2} > respectively"},
    {33, '1', "M033: Results values for < {n} > are all zero"},
    {34, 'L', "M034: Symbol set < {n} > recovered"},
    {35, 'L', "M035: < {1} > symbols turned on"},
    {36, '1', "M036: Node name < {n} > not found"},
    {37, '1', "M037: Element name < {n} > not found"},
    {38, '1', "M038: Nodal connectivity for node < {1} > is < {2} >", "Record is too large for database"},
    {39, '1', "M039: Cannot graph < {n} > against < {m} >"},
    {40, '1', "M040: Co-ordinate system < {n} > does not exist"},
    // M041
    {41, '1', "M041: Database is locked for write access by process < {1} >"},
    {42, '1', "M042: Write access not permitted. Database locked by process < {1} >"},
    {43, '1', "M043: Database page size < {1} > is invalid"},
    {44, 'L', "M044: New overlay < {1} > started"},
    {45, 'H', "M045: Overlay < {1} > does not exist"},
    {46, 'H', "M046: Overlay < {1} > is the active overlay and cannot be made invisible"},
    {47, 'L', "M047 Montage mode not active:"},
    {48, 'H', "M048: Cannot delete base overlay"},
    {49, 'L', "M049: Base overlay is now the active overlay"},
    {50, 'L', "M050: Montage mode active"},
    // M051
    {51, 'H', "M051: Element type < {n} > ignored for integral calculation. Not handled."},
    {52, 'L', "M052: Only face 1 of element type < {n} > considered for integral calculation."},
    {53, '1', "E053: {n}"},
    {54, '1', "M054:"},
    {55, '1', "M055:"},
    {56, '1', "M056:"},
    {57, '1', "M057:"},
    {58, '1', "M058:"},
    {59, '1', "M059:"},
    {60, '1', "M060:"},
    // M401
    {401, '1', "M401: No {p1} database file for model < {n} > "},
    {402, '1', "M402: Cannot open existing {p1} database file for model < {n} >"},
    {403, '1', "M403: Cannot open existing {p1} database file to update model < {n} >"},
    {404, '1', "M404: Cannot open new {p1} database file for model < {n} >"},
    {405, 'H', "M405: Invalid Time/Frequency Curve Definition"},
    {406, 'H', "M406: Invalid Space Curve Definition"},
    {407, 'H', "M407: Time/Frequency Curve does not exist"},
    {408, 'H', "M408: Space Curve does not exist"},
    {409, 'H', "M409: Unable to graph this type of space curve"},
    {410, 'H', "M410: Cannot modify curve < {n} >"},
    // M411
    {411, '1', "M411: Error in reading file at line {1}"},
    {412, 'L', "M412: No Time/Frequency Curves exist"},
    {413, 'L', "M413: No Space Curves exist"},
    {414, '1', "M414: Unable to open file < {n} >"},
    {415, '1', "M415: Work array overflow"},
    {416, 'L', "M416: No Load Masks exist"},
    {417, '1', "M417: Invalid Load Mask Definition"},
    {418, '1', "M418: {p1} database file for model < {n} > already exists"},
    {419, 'H', "M419: Unsupported geometry for parametric SCURVE or LMASK"},
    {420, 'H', "M420: CSYST cannot be attached to parametric LMASK or SCURVE"},
    // M421
    {421, '1', "M421: Cannot open backup database file for model < {n} >"},
    {422, 'L', "M422: Saved to backup file"},
    {423, 'L', "M423: Saved to database file"},
    {424, 'L', "M424: No changes since last save"},
    {425, 'L', "M425:{n}"},
    {426, 'L', "M426: UNDO is already on"},
    {427, 'L', "M427: UNDO is already off"},
    {428, '1', "M428: Cannot read header page of {p1} database file for model < {n} >"},
    {429, 'L', "M429: No {p1} sets exist for this model", "but < {1} > parts can be transfered as {p2} sets"},
    {430, 'L', "M430: No property modifiers exist"},
    // M431
    {431, '1', "M431: Status code < {1} >  Database type < {2} >  Page size < {3} >"},
    {432, '1', "M432: Page size < {1} >  Database type < {2} >  Required size < {3} >"},
    {433, '1', "M433: Database type found < {1} >  Current database type < {2} >"},
    {434, '1', "M434: Error in Interface Program.", "With material aspect definitions"},
    {435, '1', "M435: Error in Interface Program", "Material parameter type < {1} > is invalid"},
    {436, '1', "M436: Error in Interface Program", "Format error with material aspect < {1} >"},
    {437, '1', "M437: Error in Interface Program", "Format error with material concept ID < {1} >"},
    {438, '1', "M438: Error in Interface Program", "Format error with material parameter ID < {1} >"},
    {439, 'L', "M439: Reinforcement modelling is currently only available", "in the SELVO analysis environment"},
    {440, '1', "M440: Group of surfaces containing < {n} > is not IJK regular"},
    // Group 45: the two curve messages answer to 441 and 442.
    {441, 'H', "M451: A Frequency Curve is attached to this load"},
    {442, 'H', "M452: A Time Curve is attached to this load"},
    // M801
    {801, '1', "M801: Incorrect command", "< {n} > does not exist, is inappropriate or too long"},
    {802, '1', "M802: Value must be in range {n}"},
    {803, '1', "< {n} > invalid part or set name"},
    {804, 'L', "M804: Menu limited to < {1} > items.  Menu truncated"},
    {805, '1', "M805: Error : Writing < {1} > records to array < {2} >. Start record < {3} >"},
    {806, '1', "M806: Error : Reading < {1} > records from array < {2} >. Start record < {3} >"},
    {807, '1', "M807: Error : Array id < {1} > is illegal", "Array does not exist"},
    {808, '1', "M808: Error : Illegal record number < {1} >. Array id < {2} >", "Record number must be > 0"},
    {809, '1', "M809: Error : Attempt to read record < {1} > from array < {2} >", "Max record in array is < {3} >"},
    {810, '1', "M810: {n}"},
    // M811
    {811, '1', "M811: Error : Reading < {1} > records from array < {2} >.", "Fails at record < {3} >"},
    {812, '1', "M812: Sort routine INDEXX exhausted, array of {1} elements insufficient."},
    {813, '1', "M813: {n}"},
    {814, '1', "M814: {n}"},
    {815, '1', "M815: Cannot open current directory for viewport < {1} > "},
    {816, '1', "M816: {n}"},
    {817, '1', "     {n}"},
    {818, '1', "M818: Problem searching dynamic memory for name {8}", "in Array {1} between limits {2} and {3}.  Array is not registered."},
    {819, '1', "M819: Problem searching dynamic memory for name {8}", "in Array {1} between limits {2} and {3}", "Attempting to search unallocated space."},
    {820, '1', "M820: Tet Meshing {n}"},
    // M821
    {821, '1', "M821: Document < {1} > does not exist"},
    {822, 'L', "M822: Working directory set to:", "{n}"},
    {823, '1', "M823: Cannot set working directory to:", "{n}"},
    {824, '1', "E3200: Incorrect command"},
    {825, '1', "M825:"},
    {826, '1', "M826:"},
    {827, '1', "M827:"},
    {828, '1', "M828:"},
    {829, '1', "M829:"},
    {830, '1', "M830: Error with command processor memory", "Error < {1} >  Function < {n} >  Menu offset < {2} >"},
};
static_assert(std::size(kTexts) == 132);
static_assert(std::is_sorted(std::begin(kTexts), std::end(kTexts),
                             [](const Text& a, const Text& b) { return a.number < b.number; }));

// The values of one call. A value the caller's arrays do not hold reads as 0 (a packed
// name word as four blanks), so a short array never reads past its end.
struct Values {
  std::span<const int32_t> ints;
  std::span<const float> real;
  std::span<const int32_t> name;
  std::span<const int32_t> lengths;

  int32_t integer(size_t k) const { return k <= ints.size() ? ints[k - 1] : 0; }
  int32_t length(size_t k) const { return k <= lengths.size() ? lengths[k - 1] : 0; }
  float firstReal() const { return real.empty() ? 0.0f : real[0]; }
  std::array<int32_t, 2> packedName() const {
    std::array<int32_t, 2> words{kBlankCode, kBlankCode};
    for (size_t k = 0; k < words.size() && k < real.size(); ++k) {
      words[k] = std::bit_cast<int32_t>(real[k]);
    }
    return words;
  }
  int32_t nameSize() const { return static_cast<int32_t>(name.size()); }
  // Codes FIRST..LAST of the name (nothing when LAST < FIRST).
  NameInsert codes(int32_t first, int32_t last) const {
    size_t skip = static_cast<size_t>(std::clamp(first - 1, 0, nameSize()));
    return {name.subspan(skip), last - first + 1};
  }
};

// Line K (1..3) of message N as the values choose it.
std::string_view lineOf(const Text& t, int32_t k, const Values& v) {
  const int32_t n = t.number;
  if (k == 1) {
    if (n == 20 && v.integer(1) == 1) return "M020: The results stack {n} contains < {1} > item";
    if (n == 35 && v.integer(1) == 1) return "M035: < {1} > symbol turned on";
    if (n == 817 && v.integer(1) == 1) return "M817:{n}";
    return t.line1;
  }
  if (k == 2) {
    if (n == 25 && v.integer(1) <= 0) return "      the source loadcase must be < {n} >";
    if (n >= 434 && n <= 438 && v.integer(2) == 1) {
      constexpr std::string_view kPhysical[] = {
          "With physical aspect definitions",
          "Physical parameter type < {1} > is invalid",
          "Format error with physical aspect < {1} >",
          "Format error with physical concept ID < {1} >",
          "Format error with physical parameter ID < {1} >",
      };
      return kPhysical[n - 434];
    }
    return t.line2;
  }
  return t.line3;
}

// Composes TEXT into LINE from position 1, each piece and insert directly after the one
// before.
void compose(std::string_view text, const Values& v, CatLine& line) {
  int32_t at = 1;
  while (!text.empty()) {
    size_t open = text.find('{');
    if (open != 0) at = line.put(text.substr(0, open), at) + 1;
    if (open == std::string_view::npos) break;
    size_t close = text.find('}', open);
    if (close == std::string_view::npos) break;
    std::string_view insert = text.substr(open + 1, close - open - 1);
    text.remove_prefix(close + 1);
    if (insert == "n") {
      at = line.insert({v.name, v.length(1)}, at) + 1;
    } else if (insert == "m") {
      // The second name follows the first in the same code line.
      int32_t first = std::clamp(v.length(1), 0, v.nameSize()) + 1;
      at = line.insert(v.codes(first, first + v.length(2) - 1), at) + 1;
    } else if (insert == "r") {
      at = line.putReal(v.firstReal(), 8, at) + 1;
    } else if (insert == "8") {
      at = line.putWords(v.packedName(), 1, 8, at) + 1;
    } else if (insert == "p1" || insert == "p2") {
      at = line.insert(programNameText(insert == "p1" ? 1 : 2), at) + 1;
    } else if (insert == "v" || insert == "w") {
      at = line.putVersion(insert == "v" ? 1 : 2, at) + 1;
    } else {
      at = line.putInt(v.integer(static_cast<size_t>(insert[0] - '0')), at) + 1;
    }
  }
}

// M820: the integers 1 to length word 2 one blank apart after line 1 while they start by
// position 100, the rest on line 2 from position 2 while they start by position 75.
// Answers the number of lines.
size_t listIntegers(const Values& v, std::span<CatLine> lines) {
  constexpr int32_t kLastStart1 = 100;
  constexpr int32_t kLastStart2 = 75;
  const size_t count = static_cast<size_t>(std::max(v.length(2), 0));
  size_t k = 0;
  for (; k < count && k < v.ints.size(); ++k) {
    if (lines[0].length() + 2 > kLastStart1) break;
    lines[0].putInt(v.ints[k], lines[0].length() + 2);
  }
  if (k >= count || k >= v.ints.size()) return 1;
  for (; k < count && k < v.ints.size(); ++k) {
    if (lines[1].length() + 2 > kLastStart2) break;
    lines[1].putInt(v.ints[k], lines[1].length() + 2);
  }
  return 2;
}

// M824: the command line after "E3200: Incorrect command" with codes I..J marked, J cut
// to 1..N and I to 1..J, N being length word 1 (cut to the name's size).
void markCommand(const Values& v, CatLine& line) {
  const int32_t n = std::min(v.length(1), v.nameSize());
  if (n < 1 || line.length() + n + 6 >= kLineLength) return;
  const int32_t j = std::clamp(v.integer(2), 1, n);
  const int32_t i = std::clamp(v.integer(1), 1, j);
  int32_t at = line.length() + 1;
  if (i == 1) {
    at = line.put(": < ", at) + 1;
  } else {
    at = line.put(": ", at) + 1;
    at = line.insert(v.codes(1, i - 1), at) + 1;
    at = line.put("< ", at) + 1;
  }
  at = line.insert(v.codes(i, j), at) + 1;
  at = line.put(" >", at) + 1;
  line.insert(v.codes(j + 1, n), at);
}

// M801 and M803 go to the message unit only.
bool journalled(int32_t number) { return number != 801 && number != 803; }

UnitWriter writerOf(char c) {
  switch (c) {
    case 'L':
      return UnitWriter::WRTLIN;
    case 'H':
      return UnitWriter::HCMSG;
    default:
      return UnitWriter::WRTLN1;
  }
}

}  // namespace

void MSGM(int32_t n, std::span<const int32_t> ints, std::span<const float> real,
          std::span<const int32_t> name, std::span<const int32_t> lengths) {
  const auto* found = std::lower_bound(std::begin(kTexts), std::end(kTexts), n,
                                       [](const Text& t, int32_t number) { return t.number < number; });
  if (found == std::end(kTexts) || found->number != n) return;
  const Values v{ints, real, name, lengths};

  std::array<CatLine, 3> lines{CatLine(kLineLength), CatLine(kLineLength), CatLine(kLineLength)};
  size_t count = 0;
  for (int32_t k = 1; k <= 3; ++k) {
    std::string_view text = lineOf(*found, k, v);
    if (text.empty()) break;
    compose(text, v, lines[count++]);
  }
  if (n == 820) count = listIntegers(v, lines);
  if (n == 824) markCommand(v, lines[0]);
  writeCatalogue(std::span(lines).first(count), writerOf(found->writer), journalled(n));
}

}  // namespace kvr
