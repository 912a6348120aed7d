// Sv word splitting: words separated by delimiters, quoted with double quotes or
// apostrophes (a doubled quote stands for one), a backslash taking the next character
// literally.
#pragma once

#include <cstdint>

namespace kvr {

using SvCaseFunc = int (*)(int);

struct SvWordInfo {
  const char* end = nullptr;   // after the word; nullptr at the end of the string
  const char* stop = nullptr;  // where copying stopped when the output was full
  int32_t quote = 0;           // the quote character the word began with, or 0
};

// Reads the next word of S into WORD (at most N - 1 characters, NUL-terminated). Blanks,
// tabs and newlines before it are skipped; DELIMITERS (nullptr: blank, tab, newline and
// comma) end an unquoted word, and the delimiter is consumed. Unquoted, unescaped
// characters pass through CASEFN when given. Answers the position after the word and
// the blanks, tabs and newlines that follow it; nullptr at the end of the string, or
// after "No end quote seen in string <S>" (WORD then empty).
const char* SvNextToken(const char* s, char* word, int32_t n, const char* delimiters, SvCaseFunc caseFn,
                        SvWordInfo* info);
const char* SvNextWord(const char* s, char* word, int32_t n, const char* delimiters, SvCaseFunc caseFn);

// Splits LINE into words (blank, tab and newline; words cut at 255 characters); *VECTOR
// receives a new vector of copies ended by nullptr. Answers the count, or -1 when the
// vector cannot grow.
int32_t SvWords(const char* line, char*** vector);
// The words of VECTOR joined with one blank; a word that needs quoting is put in double
// quotes. A new string.
char* SvJoinWords(char* const* vector);
// 1 when S holds a blank, tab, newline or ";".
int32_t SvNeedQuote(const char* s);
// Frees every word and the vector.
void SvFreeWords(char** vector);

}  // namespace kvr
