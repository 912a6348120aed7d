// Character-code texts: the two word forms that texts take inside the library, and the
// conversions between them and fixed-length texts.
//
//  - A code line (CODLIN) holds one character per 32-bit word: the character in the
//    lowest byte, blanks in the other three, so "A" is 0x20202041 and the blank code is
//    0x20202020. Positions count from 1; codes are compared and copied as whole words.
//  - An A4 line (A4LINE) holds four characters per word in storage order, the first in
//    the lowest byte; n characters take (n+3)/4 words, the last one blank-padded.
//
// A text converted to codes ends at the terminator "*." when it holds one, else at its
// first NUL, else after its last non-blank character; blanks before a terminator or a
// NUL belong to the text. Routines that append to a line answer the last position they
// filled, or the start position minus 1 when they added nothing. Every routine that
// writes into a caller's array is given the array (its capacity) and stops at its end.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/ftext.h"

namespace kvr {

inline constexpr int32_t kBlankCode = 0x20202020;
// The longest text the conversions handle.
inline constexpr int32_t kMaxTextCodes = 255;

// The code-line word of character C, and the character of a code-line word.
constexpr int32_t codeOf(char c) {
  return static_cast<int32_t>(0x20202000u | static_cast<unsigned char>(c));
}
constexpr char charOf(int32_t code) { return static_cast<char>(code & 0xFF); }

// Number of characters of TEXT that a conversion takes (terminator rule above).
int32_t textExtent(FText text);

// Appends the characters of TEXT to CODES from position FIRST on. LAST receives the
// position of the last code written, or FIRST - 1 when nothing was.
void TXTCOD(FText text, int32_t first, std::span<int32_t> codes, int32_t& last);

// TEXT receives the characters of codes 1..N (N at most 255), blank-padded; N of 0 or
// less gives a blank text.
void CODTXT(std::span<const int32_t> codes, int32_t n, FText text);

// Packs the characters of TEXT four to a word from word FIRST on (at most 255 words).
// LAST receives the last word written, or FIRST - 1 for an empty text.
void TXTA4(FText text, int32_t first, std::span<int32_t> words, int32_t& last);

// TEXT receives the first (N+3)/4 words unpacked (at most 64 words), blank-padded.
void A4TXT(std::span<const int32_t> words, int32_t n, FText text);

// Appends characters F..L of the A4 line WORDS to CODES from position FIRST on; LAST
// receives FIRST + L - F (less where the code line ends).
void A4COD(std::span<const int32_t> words, int32_t f, int32_t l, int32_t first,
           std::span<int32_t> codes, int32_t& last);

// As A4COD: characters F..L of text packed four per word, appended from FIRST. The
// catalogues insert names held in message values with it.
void REALCD(std::span<const int32_t> words, int32_t f, int32_t l, int32_t first,
            std::span<int32_t> codes, int32_t& last);

// Appends VALUE as a left-justified decimal ("0" for zero, "-42" for -42).
void INTCOD(int32_t value, int32_t first, std::span<int32_t> codes, int32_t& last);

// Appends VALUE with at most D significant digits in the shortest form the messages
// use: no leading zero or plus sign, no trailing zeros, a compact exponent (".123E5",
// ".12E-1", "-.5"); "***" when the number cannot be formatted.
void REALTX(float value, int32_t d, int32_t first, std::span<int32_t> codes, int32_t& last);

// Appends the version text of the library in LAYOUT 1 to 5 (name and "Version" with the
// version number; the version number alone; "Release " with the release; ...). Any
// other layout appends nothing and leaves LAST as it was.
void VERTXT(std::span<int32_t> codes, int32_t layout, int32_t first, int32_t& last);

// Positions A..B of CODES set to the blank code; nothing unless 0 < A <= B.
void BLKCOD(std::span<int32_t> codes, int32_t a, int32_t b);

// Positions A..B of CODES upper-cased, through the text form and back.
void UPCCOD(std::span<int32_t> codes, int32_t a, int32_t b);

// Words 1..N of WORDS set to VALUE; nothing for N of 0 or less.
void IFILL(int32_t n, int32_t value, std::span<int32_t> words);

// Copies SOURCE words FIRST..LAST to TARGET words POSITION, POSITION + 1, ... and answers
// in LASTOUT the last position written (POSITION - 1 when FIRST > LAST). A FIRST of 0 or
// below copies nothing and leaves LASTOUT as it was. The copy stops at the end of SOURCE
// and of TARGET; LASTOUT then tells how far it went.
void ISLCPY(std::span<const int32_t> source, int32_t first, int32_t last, int32_t position,
            std::span<int32_t> target, int32_t& lastOut);

}  // namespace kvr
