// DIRECS: the records of a dataset's temporary stream, and the record being assembled.
//
// A stream holds one dataset: its 55-word header record first, then its data records in
// the order the host sent them, then the end record. Records carry no length; a reader
// knows each length from the record's tag and from the header, attribute and entity
// records before it. Integers are stored as they are, reals as their 32-bit pattern, texts
// as character codes, one character per word.
//
// The builders below fill a StreamRecord with one record layout each; the routine that
// accepted the record appends its words to the unit's stream (TMPWRT). Records that are
// the caller's own arrays (the node numbers of an element, the values of a data record)
// go to the stream as they stand.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>

#include "modeldb/setdir.h"
#include "runtime/ftext.h"

namespace kvr {

// Record tags.
inline constexpr int32_t kTagRecord = -1;     // a data record or an entity header
inline constexpr int32_t kTagRepeat = -2;     // a repeat or continuation record
inline constexpr int32_t kTagEnd = -3;        // the end of the dataset
inline constexpr int32_t kTagAttribute = -4;  // a results attribute
inline constexpr int32_t kTagComponent = -5;  // a component definition
inline constexpr int32_t kTagVariant = -6;    // an attribute variant

inline constexpr int32_t kHeaderRecordWords = 55;

// Words of the dataset header record where its fields begin.
inline constexpr int32_t kHeaderKey = 1;
inline constexpr int32_t kHeaderLetter = 2;   // the opcode letter's code
inline constexpr int32_t kHeaderName = 3;     // 20 codes
inline constexpr int32_t kHeaderValue = 23;   // HVALUE, a REAL
inline constexpr int32_t kHeaderTitle = 24;   // 20 codes
inline constexpr int32_t kHeaderFlag = 44;
inline constexpr int32_t kHeaderNumber = 45;
inline constexpr int32_t kHeaderText = 46;    // 10 codes

// Text lengths of the records.
inline constexpr int32_t kHeaderNameCodes = 20;
inline constexpr int32_t kHeaderTitleCodes = 20;
inline constexpr int32_t kHeaderTextCodes = 10;
// kSetNameCodes and kSetTitleCodes: with the set directory (modeldb/setdir.h).
inline constexpr int32_t kAttributeNameCodes = 8;
inline constexpr int32_t kAxesReals = 9;

// The words of one stream record, numbered from 1. Words past the capacity are dropped.
class StreamRecord {
 public:
  static constexpr int32_t kCapacity = 64;

  void clear() { size_ = 0; }
  void put(int32_t word) {
    if (size_ < kCapacity) words_[static_cast<std::size_t>(size_++)] = word;
  }
  void putReal(float value);
  // The character codes of TEXT (to its terminator or last non-blank character, at most
  // N), blank codes up to N; upper-cased when UPPER is set.
  void putCodes(FText text, int32_t n, bool upper = false);

  int32_t size() const { return size_; }
  int32_t word(int32_t k) const {
    assert(k >= 1 && k <= size_);
    return words_[static_cast<std::size_t>(k - 1)];
  }
  std::span<const int32_t> words() const {
    return {words_.data(), static_cast<std::size_t>(size_)};
  }

 private:
  std::array<int32_t, kCapacity> words_{};
  int32_t size_ = 0;
};

// The number of repeat records that follow a group header whose two factors are A and B
// (points and layers): their product, each factor of 0 or below counting as 1, held at
// the largest integer. The record routines, the neutral text file and the dataset
// loaders all count a group's records by this one rule.
int32_t repeatCount(int32_t a, int32_t b);

// CODES receives the character codes of TEXT, ending at its terminator "*.", a NUL or its
// last non-blank character, cut at the size of CODES and blank-padded to it; upper-cased
// when UPPER is set.
void textCodes(FText text, std::span<int32_t> codes, bool upper);

// The letter code that a dataset header carries for opcode 1 (create, "C"), 2 (append,
// "A") or 3 (build, "B"); 0 for any other opcode.
int32_t opcodeLetter(int32_t opcode);

// The dataset header: key; opcode letter code; the name as 20 codes (upper-cased); the
// header real; the title as 20 codes (as sent); HFLAG; HNUMBR; the text as 10 codes
// (upper-cased).
void headerRecord(StreamRecord& r, int32_t key, int32_t letter, FText name, float hvalue,
                  FText title, int32_t hflag, int32_t hnumbr, FText text);

// A node: -1, NODE, X, Y, Z, ISYS.
void nodeRecord(StreamRecord& r, int32_t node, float x, float y, float z, int32_t isys);

// An element: -1, IELEM, ITYPE, IEATT1, IEATT2, ISYS, 0. Its node numbers follow as a
// record of their own without a tag.
void elementRecord(StreamRecord& r, int32_t ielem, int32_t itype, int32_t ieatt1,
                   int32_t ieatt2, int32_t isys);

// A set header: -1, the set name as 8 codes, the set title as 30 codes.
void setHeaderRecord(StreamRecord& r, FText name, FText title);

// Set members: -2, the count, the member ids.
void setMemberRecord(StreamRecord& r, std::span<const int32_t> ids);

// A nodal constraint: -1, NODE, IDOF, ISYS, IEDOF.
void constraintRecord(StreamRecord& r, int32_t node, int32_t idof, int32_t isys,
                      int32_t iedof);

// A local axis system: -1, ISYS, 0, nine reals.
void localSystemRecord(StreamRecord& r, int32_t isys, std::span<const float, kAxesReals> axes);

// A results attribute: -4, the attribute name as 8 codes, NCOMPS, IRTYPE, NUMVAR.
void attributeRecord(StreamRecord& r, FText name, int32_t ncomps, int32_t irtype,
                     int32_t numvar);

// A component definition: -5, the component name as 8 codes, INMENU, CTYPE, INDEX1,
// INDEX2, IEXIST, NCALC as 8 codes, the second name as 8 codes.
void componentRecord(StreamRecord& r, FText compnm, int32_t inmenu, int32_t ctype,
                     int32_t index1, int32_t index2, int32_t iexist, FText ncalc,
                     FText compn2);

// Nodal values: -1, NODE, NUMRES; the NUMRES reals follow without a tag.
void nodalValuesRecord(StreamRecord& r, int32_t node, int32_t numres);

// Element entity headers, ten words each: -1, IELEM, ITYPE, IEATT1, IVAR, then
//  - values at points:    NPOINT, NLAYER, 0, minus ILOCAL, 0;
//  - values at centroids: 0, NLAYER, 0, minus ILOCAL, 0;
//  - Gauss-point values:  0, NLAYER, NPOINT, minus ILOCAL, IGFLAG.
void elementValuesHeader(StreamRecord& r, int32_t ielem, int32_t itype, int32_t ieatt1,
                         int32_t ivar, int32_t npoint, int32_t nlayer, int32_t ilocal);
void centroidValuesHeader(StreamRecord& r, int32_t ielem, int32_t itype, int32_t ieatt1,
                          int32_t ivar, int32_t nlayer, int32_t ilocal);
void gaussValuesHeader(StreamRecord& r, int32_t ielem, int32_t itype, int32_t ieatt1,
                       int32_t ivar, int32_t npoint, int32_t nlayer, int32_t ilocal,
                       int32_t igflag);

// A repeat: -2, ID, NUMRES; the NUMRES reals follow without a tag.
void repeatRecord(StreamRecord& r, int32_t id, int32_t numres);

// The point of a Gauss-point repeat: -2, ID, X, Y, Z.
void pointRecord(StreamRecord& r, int32_t id, float x, float y, float z);

// A local-axis entity header: -1, IELEM, ITYPE, IEATT1, NPOINT, NLAYER.
void axisHeaderRecord(StreamRecord& r, int32_t ielem, int32_t itype, int32_t ieatt1,
                      int32_t npoint, int32_t nlayer);

// Local axes: -2, ID, nine reals.
void axesRecord(StreamRecord& r, int32_t id, std::span<const float, kAxesReals> axes);

}  // namespace kvr
