// The attribute definition tables: MATDF (materials, named array 32) and PHYDF (physical
// properties, named array 33). Each is a tree of records in its named array: header
// records (the top-level choices), text records (options below a header, and options
// whose children are value fields) and value records (typed fields with limits, a default
// and flags). A material or property that uses a table keeps, in its attribute of type 4
// (material) or 3 (property), one group of four reals per header: the first record and the
// length of its definition block in named array 17.
//
// Directory, array words 1..7: state (0 empty, -1 unusable, 1 or 2 an older format, 3 or
// more the current one), header start, header count, text start, text count, value start,
// value count, read and written only through REC7A (MATDF) and REC7B (PHYDF). Record n of
// a kind of length L lies in words start + (n - 1)L .. start + nL - 1.
//
// Header record (36 words): 1-8 name (32 characters), 9-10 code, 11 child count, 12-36 the
// 25 child keys.
// Text record (PHYDF 55 words, MATDF 54): 1 key, 2-9 name, 10-11 code, 12 kind (0 an
// option without fields, 4 an option whose children are its value fields), PHYDF 13 option
// flags, then the child count and children 1..41 (the count covers children 1..25).
// Value record (76 words): 1 key, 2-9 name, 10-11 code, 12 kind (1 integer, 2 real, 4 text),
// 13 flags (kind 4: the character count, 256 not part of it), 14-16 three integers or
// reals (the third the default), or for kind 4 the text in words 14-76.
// Texts in the records are A4 words; reals are kept as their bits.
//
// Definition block (named array 17): c1..c4 (path length, integer, real and text counts),
// PHYDF 20 words more, then the path of text-record keys (the last the chosen option),
// c2 integers, c3 reals, c4 texts (each a count c and max(1, ceil(c/4)) A4 words).
//
// Every routine reads the directory and the state word again; nothing here is kept from
// call to call.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "runtime/ftext.h"
#include "runtime/ftextarray.h"

namespace kvr {

inline constexpr int32_t kArrMaterialTable = 32;  // MATDF
inline constexpr int32_t kArrPropertyTable = 33;  // PHYDF

// The two tables; the routines of both are one implementation over their differences.
enum class DefinitionTable { Material, Property };

inline constexpr int32_t kHeaderChildren = 25;
inline constexpr int32_t kTextChildren = 41;     // children stored in a text record
inline constexpr int32_t kCountedChildren = 25;  // children the child count covers
inline constexpr int32_t kValueNumbers = 3;      // integers or reals of a value record
inline constexpr int32_t kFieldTextLength = 255; // the text argument callers use

// Record modes.
inline constexpr int32_t kRecordStore = 1;
inline constexpr int32_t kRecordFetch = -1;
inline constexpr int32_t kRecordFind = -2;

// Record statuses.
inline constexpr int32_t kRecordDone = 0;
inline constexpr int32_t kRecordBadMode = 1;
inline constexpr int32_t kRecordBadIndex = 2;  // also a store with an index below 1
inline constexpr int32_t kRecordNoKey = 3;
inline constexpr int32_t kRecordBadKind = 4;

// Text-record (option) kinds and value-record (field) kinds. A value key that no record
// has is given the field kind kFieldMissing.
inline constexpr int32_t kOptionPlain = 0;
inline constexpr int32_t kOptionFields = 4;
inline constexpr int32_t kFieldMissing = 0;
inline constexpr int32_t kFieldInteger = 1;
inline constexpr int32_t kFieldReal = 2;
inline constexpr int32_t kFieldText = 4;

// Flags of integer and real fields.
inline constexpr int32_t kFlagDefault = 1;     // the third number is the default
inline constexpr int32_t kFlagCurve = 32;      // may refer to a tcdef object
inline constexpr int32_t kFlagVariation = 64;  // may refer to an scdef object
inline constexpr int32_t kFlagKind47 = 128;    // may refer to an fcdef object (current format)
inline constexpr int32_t kTextCountExtra = 256;  // in a text field's count: not part of it

// Assembly statuses.
inline constexpr int32_t kDefinitionDone = 0;
inline constexpr int32_t kDefinitionEmpty = 1;
inline constexpr int32_t kDefinitionUnusable = 2;
inline constexpr int32_t kDefinitionNoBlock = 3;
inline constexpr int32_t kDefinitionNoHeader = 4;
inline constexpr int32_t kDefinitionNoAttribute = 5;
inline constexpr int32_t kDefinitionNoOption = 6;
inline constexpr int32_t kDefinitionDoesNotFit = 9;

// ----- Records ---------------------------------------------------------------------------

// Header record INDEX. MODE 1 stores NAME (its first 32 characters), CODE (8) and the 25
// CHILDREN with their child count; MODE -1 fetches them, NAME receiving the first 30
// characters, blank after. STATUS 0; 1 another mode; 2 a fetch outside 1..the header count,
// or a store with INDEX below 1 (nothing is written).
void ATRHDA(int32_t mode, int32_t index, FText name, FText code,
            std::span<int32_t, kHeaderChildren> children, int32_t& status);
void ATRHDB(int32_t mode, int32_t index, FText name, FText code,
            std::span<int32_t, kHeaderChildren> children, int32_t& status);

// Text record INDEX: KEY, KIND, NAME, CODE, the option flags EXTRA (PHYDF only) and the
// 41 CHILDREN. MODE 1 stores, -1 fetches, -2 finds the first record whose key is KEY,
// fetches it and answers its number in INDEX. STATUS 0; 1 another mode; 2 as for headers;
// 3 no record has KEY: INDEX becomes the text count + 1 (unchanged when there is none).
void ATRTXA(int32_t mode, int32_t& index, int32_t& key, int32_t& kind, FText name, FText code,
            int32_t& extra, std::span<int32_t, kTextChildren> children, int32_t& status);
void ATRTXB(int32_t mode, int32_t& index, int32_t& key, int32_t& kind, FText name, FText code,
            std::span<int32_t, kTextChildren> children, int32_t& status);

// Value record INDEX: KEY, KIND, NAME, CODE, FLAGS, three INTEGERS (kind 1), three REALS
// (kind 2, bit for bit) or TEXT (kind 4, as many A4 words as the count in FLAGS needs, at
// most 63; a fetch blanks TEXT after them). Modes and statuses as for text records, and 4
// a store of a kind other than 1, 2 or 4 (nothing is stored). Storing a text, ATRVLA takes
// word count x 4 characters of TEXT; ATRVLB takes the count's characters, blank-pads the
// last word and answers word count x 4 in FLAGS (the record keeps the count given).
void ATRVLA(int32_t mode, int32_t& index, int32_t& key, int32_t& kind, FText name, FText code,
            int32_t& flags, std::span<int32_t, kValueNumbers> integers,
            std::span<float, kValueNumbers> reals, FText text, int32_t& status);
void ATRVLB(int32_t mode, int32_t& index, int32_t& key, int32_t& kind, FText name, FText code,
            int32_t& flags, std::span<int32_t, kValueNumbers> integers,
            std::span<float, kValueNumbers> reals, FText text, int32_t& status);

// The same routines with the table as an argument.
void headerRecord(DefinitionTable table, int32_t mode, int32_t index, FText name, FText code,
                  std::span<int32_t, kHeaderChildren> children, int32_t& status);
void textRecord(DefinitionTable table, int32_t mode, int32_t& index, int32_t& key,
                int32_t& kind, FText name, FText code, int32_t& extra,
                std::span<int32_t, kTextChildren> children, int32_t& status);
void valueRecord(DefinitionTable table, int32_t mode, int32_t& index, int32_t& key,
                 int32_t& kind, FText name, FText code, int32_t& flags,
                 std::span<int32_t, kValueNumbers> integers,
                 std::span<float, kValueNumbers> reals, FText text, int32_t& status);

// The state word of TABLE (ITMNAM / ITMNA2 mode 2), and its header count (REC7A / REC7B),
// cut to the header records the named array holds.
int32_t tableState(DefinitionTable table);
int32_t tableHeaders(DefinitionTable table);

// ----- Definition assembly ----------------------------------------------------------------

// Turns the definition block of ENTITY for header H and the table's records into flat
// lists. Integer values, real values and text lengths 1..M are cleared first. LABEL
// receives the attribute's two label words; PATH (PATHLENGTH keys) the path; K the value
// fields of the chosen option, with KEYS and KINDS (kind 0 for a key that has no value
// record); INTEGERS, REALS and TEXTS (with TEXTLENGTHS) the stored values in field order,
// then the defaults of the fields beyond them. WORK (W words, at most its size) receives
// the block. STATUS 0; 1 the table is empty; 2 unusable; 3 the block's first record below
// 1; 4 H outside 1..the header count; 5 no attribute, or none with values; 6 the option at
// the end of the path has no text record or a kind other than 0 and 4; 9 the block is
// shorter than its four counts or longer than W, or its lists do not fit the block or
// the out-arrays.
void ATRRDA(int32_t entity, int32_t h, int32_t m, std::span<int32_t> work, int32_t w,
            std::span<int32_t, 2> label, int32_t& pathLength, std::span<int32_t> path,
            int32_t& k, std::span<int32_t> keys, std::span<int32_t> kinds,
            std::span<int32_t> integers, std::span<float> reals, FTextArray texts,
            std::span<int32_t> textLengths, int32_t& status);
void ATRRDB(int32_t entity, int32_t h, int32_t m, std::span<int32_t> work, int32_t w,
            std::span<int32_t, 2> label, int32_t& pathLength, std::span<int32_t> path,
            int32_t& k, std::span<int32_t> keys, std::span<int32_t> kinds,
            std::span<int32_t> integers, std::span<float> reals, FTextArray texts,
            std::span<int32_t> textLengths, int32_t& status);

// An assembled definition with the 25 slots the callers in this library use.
inline constexpr int32_t kDefinitionSlots = 25;
struct Definition {
  std::array<int32_t, 2> label{};
  int32_t pathLength = 0;
  std::array<int32_t, kDefinitionSlots> path{};
  int32_t count = 0;  // K
  std::array<int32_t, kDefinitionSlots> keys{};
  std::array<int32_t, kDefinitionSlots> kinds{};
  std::array<int32_t, kDefinitionSlots> integers{};
  std::array<float, kDefinitionSlots> reals{};
  std::array<char, kDefinitionSlots * kFieldTextLength> texts{};
  std::array<int32_t, kDefinitionSlots> textLengths{};
  int32_t status = 0;

  FText text(int32_t j) { return FText(texts.data() + (j - 1) * kFieldTextLength, kFieldTextLength); }
};

// The assembly of ENTITY's definition for header H (clear count 25) with a work buffer of
// WORKCAPACITY words.
void assembleDefinition(DefinitionTable table, int32_t entity, int32_t h, int32_t workCapacity,
                        Definition& d);

// ----- Reference scan ---------------------------------------------------------------------

// Which other entity kinds the definition values of ENTITY may refer to, in the table of
// SELECTOR (1 PHYDF, any other MATDF), over header H (-1 all) and value field V (-1 all):
// CURVE (tcdef), KIND47 (fcdef) and VARIATION (scdef), each -1 true or 0 false, and true
// only while the model has live objects of that kind.
void ATRDSP(int32_t entity, int32_t selector, int32_t h, int32_t v, int32_t& curve,
            int32_t& kind47, int32_t& variation);

// ----- Helpers ----------------------------------------------------------------------------

// The number of entries before the first entry equal to VALUE among LIST 1..COUNT (COUNT
// cut to the list's size), or that count when there is none; COUNT itself when it is 0 or
// below.
int32_t LOCINT(std::span<const int32_t> list, int32_t count, int32_t value);

// TEXT receives the C characters packed in WORDS: words 1..63 into positions 1..252 and
// up to three characters of word 64 into 253..255, blanks elsewhere; never more than
// WORDS holds or TEXT's length.
void SEQTXT(int32_t c, std::span<const int32_t> words, FText text);

// Flag N (from 1) of the flag words FLAGS, 0 or 1: 31 flags a word, flag N in word
// (N - 1)/31 + 1 at bit (N - 1) mod 31 of the word's absolute value. N below 1, or a word
// beyond FLAGS, answers 0.
int32_t PKBIT2(std::span<const int32_t> flags, int32_t n);

}  // namespace kvr
