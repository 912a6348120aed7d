// The answer store: one answer record per matched menu entry of the last command, kept in
// named array 1 of store file 1 (set up by ARRREG mode 4; its head is ARRDSC) and reached
// only through the accessors below. A record is N + 7 words, N the words of one real (1):
//
//   1 ITEM  the answer: keyword number, text reference, or negated argument kind / value code
//   2 MNOF  the position of the matched entry in its menu record
//   3 INT   the i-th integer of the command
//   4 REAL  the i-th real of the command, as its bits
//   5 ULST  the value of a typed argument: a list value or a text reference
//   6 OPER  the operator (0 none or "*", 1 "+", 2 "-"), or a typed argument's operator
//   7 UTYP  the value type of a typed argument
//   8 ULS2  a second value: the text reference of a typed argument's text
//
// Record i starts at word (i - 1) x 8 + 1. The size word ARRDSC.ARRLEN(1) counts the words
// made addressable: a put beyond it grows the store by the missing words, a get beyond it
// fails. A failed access writes message M830 with its status, the record number and the
// accessor's name, then a get answers its failure value and a put status 1.
//
// Free texts live in the answer text store of CMDLIN and are named by text references
// -(256 x start + length).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kvr {

inline constexpr int32_t kAnswerRealWords = 1;  // N
inline constexpr int32_t kAnswerRecordWords = kAnswerRealWords + 7;

// ANSACC statuses.
inline constexpr int32_t kAnswerDone = 0;
inline constexpr int32_t kAnswerNotRegistered = 1;  // or another store failure
inline constexpr int32_t kAnswerBeyondPages = 2;
inline constexpr int32_t kAnswerBadArray = 3;
inline constexpr int32_t kAnswerNoMemory = 4;
inline constexpr int32_t kAnswerBadWord = 5;  // a first word below 1
inline constexpr int32_t kAnswerBeyondSize = 6;

// The text reference of LENGTH codes from position START of the answer text store.
constexpr int32_t textReference(int32_t start, int32_t length) { return -(256 * start + length); }

// Moves COUNT words from word FIRST of store array ARRAY (1..TOP) of store FILE: DIRECTION
// -1 puts them, any other value gets them; MODE negative through IBUF, else through RBUF,
// bit for bit. SIZE is the array's size word: a get beyond it fails with status 6, a put
// beyond it first grows the array (ANSGRW) by the missing words. STATUS 0 done; 1 array
// not registered or another store failure; 2 words beyond the last page allocated; 3 ARRAY
// outside 1..TOP; 4 no memory to grow; 5 FIRST below 1; 6 a get beyond SIZE.
void ANSACC(int32_t direction, int32_t file, int32_t top, int32_t array, int32_t first,
            int32_t count, int32_t mode, int32_t& size, std::span<int32_t> ibuf,
            std::span<float> rbuf, int32_t& status);

// Message M830 for a failed access of the store: its STATUS, the record or word number
// POSITION and the NAME of the routine (at most 8 characters).
void reportStoreFailure(int32_t status, int32_t position, std::string_view name);

// Makes words SIZE + 1 to SIZE + COUNT of store array ARRAY of FILE addressable and raises
// SIZE by COUNT; FIRSTNEW receives SIZE + 1 (the old size). STATUS 0; 1 the array is not
// registered (or another store failure); 3 no memory for the page table or a page. On a
// failure SIZE is unchanged.
void ANSGRW(int32_t file, int32_t array, int32_t count, int32_t& size, int32_t& firstNew,
            int32_t& status);

// The fields of answer record I. A get that fails answers 0 (MMUTYP 2, REALS 0.0).
int32_t ITEM(int32_t i);
int32_t MENOFF(int32_t i);
int32_t INTS(int32_t i);
float REALS(int32_t i);
int32_t MMULST(int32_t i);
int32_t MMOPER(int32_t i);
int32_t MMUTYP(int32_t i);

// Puts VALUE into a field of answer record I; STATUS 0, or 1 after the message.
void P4ITEM(int32_t i, int32_t value, int32_t& status);
void P4MNOF(int32_t i, int32_t value, int32_t& status);
void P4INT(int32_t i, int32_t value, int32_t& status);
void P4REAL(int32_t i, float value, int32_t& status);
void P4ULST(int32_t i, int32_t value, int32_t& status);
void P4OPER(int32_t i, int32_t value, int32_t& status);
void P4UTYP(int32_t i, int32_t value, int32_t& status);
void P4ULS2(int32_t i, int32_t value, int32_t& status);

// Resolves text REFERENCE into LINE: positions 1 to MAXIMUM (cut at LINE's capacity) are
// blanked, then the first COUNT = min(length, MAXIMUM) codes of the text are copied in.
// A text that begins and ends with a double quote (2 codes or more) loses its quotes.
// LENGTH receives the text's full length. Only positions 1 to 255 of the text store are
// read: a text running past 255 gives what lies inside, one starting outside nothing; a
// reference of 0 or above names no text (COUNT and LENGTH 0).
void TXTREF(int32_t reference, int32_t maximum, std::span<int32_t> line, int32_t& count,
            int32_t& length);

// As TXTREF for the text that ITEM of answer record I names, quotes kept.
void ANSTXT(int32_t i, int32_t maximum, std::span<int32_t> line, int32_t& count,
            int32_t& length);

}  // namespace kvr
