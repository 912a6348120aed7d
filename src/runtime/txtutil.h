// Small utilities on fixed-length texts: trimmed length, blank stripping, NUL ending,
// case, comparison, word scanning, number conversion, and the copy of a 32-bit word
// between integer and real variables.
//
// "Trimmed" means trailing blanks removed; tabs and NULs are characters. Numbers become
// text and back only through the shared formatter.
#pragma once

#include <bit>
#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

// Position of the last non-blank character of TEXT; 0 for a blank text.
int32_t LENTRM(FText text);

// Removes the leading and trailing blanks, tabs and NULs of characters 1..N, moves the
// rest to position 1, blank-pads the text and sets N to the new length. Characters 1..N
// that are all blanks, tabs or NULs leave their last character at position 1 and N = 1,
// not 0: callers test a length of 1 for an empty value. Nothing changes when N is
// outside 1..255; an N beyond the declared length counts as the declared length.
void STRIPB(FText text, int32_t& n);

// Prepares TEXT for a routine that expects NUL termination: N = trimmed length (MODE 1
// strips leading blanks first); the NUL goes to position N+1, or replaces character N
// when the text is full. A blank text becomes a NUL at position 1.
void TXTNUL(FText text, int32_t mode);

// Over the trimmed length, MODE 1 turns a-z into A-Z, any other mode A-Z into a-z.
void CASCNV(FText text, int32_t mode);

// RESULT: the characters of TEXT, blank-padded or cut to RESULT's length, upper-cased
// when MODE begins with "U", lower-cased for "L", unchanged otherwise.
void CPYCAS(FText text, FText mode, FText result);

// -1 (true) when A and B are equal, blank padding ignored, 0 otherwise; MODE 1 compares
// them upper-cased. Only the first 255 characters of each take part.
int32_t TXTCMP(FText a, FText b, int32_t mode);

// The code (0..255) of the first character of TEXT.
int32_t CHRCOD(FText text);

// Finds the next word of TEXT from position POS on: it starts at the first non-blank
// character and ends before the next blank, except that a double quote reached before
// any blank makes the word run to the closing quote (both included). Answers 1 when a
// word was found, 0 when only blanks remain, -1 when the word is longer than WORD (START,
// END and LENGTH still set). WORD receives the word, blank-padded; POS moves past it.
int32_t NXTWRD(FText text, int32_t& pos, FText word, int32_t& start, int32_t& end,
               int32_t& length);

// Writes VALUE as I10 and strips it into TEXT (cut at its length); answers the length.
int32_t INTTXT(int32_t value, FText text);

// The first N characters of TEXT read as a real (Gn.0) or an integer (In), N at most 99;
// 0.0 and 0 when they do not read as a number.
float TXTREL(FText text, int32_t n);
int32_t TXTINT(FText text, int32_t n);

// Copies the 32-bit word of SOURCE into TARGET unchanged: an integer word into a real
// variable or back.
template <class T, class S>
  requires(sizeof(T) == 4 && sizeof(S) == 4)
void WRDCPY(T& target, const S& source) {
  target = std::bit_cast<T>(source);
}

// The word read as a real, bit for bit.
inline float WRDREA(int32_t word) { return std::bit_cast<float>(word); }

}  // namespace kvr
