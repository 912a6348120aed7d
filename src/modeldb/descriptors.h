// The property descriptor tables of the analysis programs that have them: the material
// concept table MATCON and the physical type table PHYTYP, and the descriptor record
// DSCREC they are both written in.
//
// A table is read in levels: 0 a probe (ANSWER 100), 1 the top records, 2 the
// second-level records whose slots the caller lists, 3 the parameter records whose slots
// the caller lists. Every record is 255 characters. The stores behind the tables are
// composed once and never change; a slot the table does not define reads as zero bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "modeldb/qrylen.h"
#include "runtime/ftextarray.h"

namespace kvr {

inline constexpr int32_t kDescriptorLength = 255;

// The layouts of a descriptor record. Every one begins with the title right-justified in
// columns 1-30 (a longer title keeps its first 30 characters), the keyword right-justified
// in 31-38 and the kind or value type in 39-42 (I4). Then:
//   list:    child slots, I6 each from column 43, at most 25;
//   section: the class word (I4) in 43-46, then child slots, I6 each, at most 25;
//   value:   the code word (I4) in 43-46, then up to three values: integers I6 (value
//            type 1) or reals G12.5 (value type 2);
//   file:    the description right-justified in columns 43-242.
// Only the fields given are written; the record is blank after them up to column 255.
enum class DescriptorLayout { kList, kSection, kValue, kFile };

struct Descriptor {
  DescriptorLayout layout = DescriptorLayout::kList;
  std::string_view title;
  std::string_view keyword;
  int32_t kind = 0;                        // kind (list, section) or value type
  int32_t word = 0;                        // class word (section) or code word (value)
  std::span<const int32_t> integers = {};  // child slots, or integer values
  std::span<const float> reals = {};       // real values
  std::string_view description = {};      // file layout
};

// DSCREC: the 255 characters of descriptor D.
std::string DSCREC(const Descriptor& d);

// ---- The constant tables, in slot order -------------------------------------------

inline constexpr int32_t kMaxChildren = 25;

// A record of the list or section layout. CHILDREN ends at its first 0.
struct ListEntry {
  int32_t slot;
  std::string_view title;
  std::string_view keyword;
  int32_t kind;
  int32_t word;  // section class word; unused in the list layout
  std::array<int32_t, kMaxChildren> children;
};

// A material parameter: its slot and name. Unless it is listed among the exceptions it
// has value type 1, code word 11 and the values 0, 100 and its slot number.
struct ParameterName {
  int32_t slot;
  std::string_view name;
};

// The values of a parameter record: value type 1 (integers), 2 (reals) or 4 (file
// data), the code word, and the first COUNT of VALUE, or the file description.
struct ParameterValues {
  int32_t slot;
  int32_t type;
  int32_t code;
  int32_t count;
  std::array<float, 3> value;
  std::string_view description;
};

// A physical section parameter: its title, keyword and values.
struct SectionParameter {
  std::string_view title;
  std::string_view keyword;
  ParameterValues values;
};

std::span<const ListEntry> materialGroups();
std::span<const ListEntry> materialConcepts();
std::span<const ParameterName> materialParameterNames();
std::span<const ParameterValues> materialParameterExceptions();
const ListEntry& physicalTypeEntry();
std::span<const ListEntry> physicalSectionTypes();
std::span<const SectionParameter> physicalParameters();

// ---- The tables ---------------------------------------------------------------------

// Both take what their dispatcher passes after the code. Level 0 answers 100 and writes
// nothing; every other level answers 0. Level 1 sets COUNT (7 material groups, 1 physical
// type record) and writes the first of them that CAPACITY holds; levels 2 and 3 write for
// i = 1 to COUNT the record of the slot in entry i of SLOTS, never more than CAPACITY
// records nor more than SLOTS lists. Records are cut at RECORDS' declared length and
// blank-padded past 255 characters.
void MATCON(const int32_t& level, std::span<const int32_t> slots, FTextArray records,
            const int32_t& capacity, int32_t& count, int32_t& answer);

// PHYTYP's type and section-type records are 150 characters; each is handed out
// followed by 105 blanks.
void PHYTYP(const int32_t& level, std::span<const int32_t> slots, FTextArray records,
            const int32_t& capacity, int32_t& count, int32_t& answer);

// Makes ITMNAM and ITMNA2 of the attribute list ask MATDSC and PHYDSC; each road's start
// calls it.
void installDescriptorDispatch();

// The descriptor records of analysis program CODE at LEVEL (0 the probe: ANSWER 100 when
// the program has tables, else 0); RECORDS holds CAPACITY records.
void MATDSC(const int32_t& code, const int32_t& level, std::span<const int32_t> slots,
            FTextArray records, const int32_t& capacity, int32_t& count, int32_t& answer);
inline constexpr int32_t kPHYDSCRecordLength = 255;
void PHYDSC(const int32_t& code, const int32_t& level, std::span<const int32_t> slots,
            FTextArray records, const int32_t& capacity, int32_t& count, int32_t& answer);

}  // namespace kvr
