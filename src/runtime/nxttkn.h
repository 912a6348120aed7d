// NXTTKN: the lexer of the command language. It finds the next token of a code line,
// tells its kind and its first and last position, and converts numbers; it keeps no
// state, so a caller walks a line by calling it again after the token it just got.
//
// Characters are recognised by equality of their whole code word with the character-set
// tables (LEXCOD, LEXSPC, CHRTAB), so the tables must have been set up (CHRSET) first.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Token kinds.
inline constexpr int32_t kTokenNone = 0;          // only blanks from the start on
inline constexpr int32_t kTokenText = 1;          // a name, a word, quoted text
inline constexpr int32_t kTokenInteger = 2;
inline constexpr int32_t kTokenReal = 3;          // in mode 3 also an integer
inline constexpr int32_t kTokenSemicolon = 4;
inline constexpr int32_t kTokenColon = 5;
inline constexpr int32_t kTokenComma = 6;
inline constexpr int32_t kTokenEquals = 7;
inline constexpr int32_t kTokenStar = 8;          // "*" or "!"
inline constexpr int32_t kTokenDollar = 9;
inline constexpr int32_t kTokenSlash = -1;        // "/" standing alone
inline constexpr int32_t kTokenDoubleSlash = -11; // "//" standing alone
inline constexpr int32_t kTokenNotInteger = -2;   // mode 2: no integer
inline constexpr int32_t kTokenBadNumber = -3;    // malformed number
inline constexpr int32_t kTokenNotSeparator = -4; // mode 4: no one-character token
inline constexpr int32_t kTokenBadQuote = -6;     // quoted text missing or unterminated

// Modes: how the extent of a token that is no one-character token is found, and whether
// numbers are converted.
inline constexpr int32_t kLexToken = 0;      // ordinary token or quoted text; numbers
inline constexpr int32_t kLexName = 1;       // ordinary token, always a name
inline constexpr int32_t kLexInteger = 2;    // an integer is expected
inline constexpr int32_t kLexNumber = 3;     // a number is expected
inline constexpr int32_t kLexSeparator = 4;  // only one-character tokens
inline constexpr int32_t kLexRest = 5;       // the rest of the line is one name
inline constexpr int32_t kLexQuoted = 6;     // quoted text only
inline constexpr int32_t kLexWord = 7;       // up to the next blank, or quoted text
inline constexpr int32_t kLexClock = 8;      // ":" belongs to the token; numbers
inline constexpr int32_t kLexPick = 9;       // as mode 0; "/PICK-" tokens may hold a "*"

// Reads the next token of LINE that begins at or after START and ends at or before END,
// in MODE 0 to 9. KIND receives its kind; FIRST and LAST its positions; IVALUE and RVALUE
// the value of an integer (kind 2, or 3 in mode 3), RVALUE alone that of a real.
// With nothing but blanks: kind 0 and FIRST = LAST = END; with END below START: kind 0,
// LAST = END, FIRST untouched. Out-arguments that a kind does not name keep their values.
// A MODE outside 0..9 answers kind 0 and sets nothing else. Nothing outside LINE is read:
// a START below 1 reads from 1 and an END beyond LINE stops at its last word.
void NXTTKN(std::span<const int32_t> line, int32_t start, int32_t end, int32_t mode,
            int32_t& kind, int32_t& first, int32_t& last, int32_t& ivalue, float& rvalue);

}  // namespace kvr
