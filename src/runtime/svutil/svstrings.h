// Sv strings: NUL-terminated byte strings; "none" is nullptr. Routines that make a new
// string take it from SvMalloc (so a failed allocation ends the process with the tagged
// message), the Chk variants from SvMallocStat (a failed allocation answers nullptr).
// New strings are freed with SvFree.
//
// Indices and positions count from 0, as in every Sv routine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace kvr {

// A new string holding PARTS in order, up to the first nullptr among them; nullptr when
// the first is nullptr.
char* SvStrcat(std::initializer_list<const char*> parts);
char* SvStrcatChk(std::initializer_list<const char*> parts);
// A copy of S; nullptr for nullptr.
char* SvStrdup(const char* s);
char* SvStrdupChk(const char* s);
// A copy of at most N characters of S (never reading past its NUL).
char* SvStrndup(const char* s, std::size_t n);
char* SvStrndupChk(const char* s, std::size_t n);
// The length of S, at most N.
std::size_t SvStrnlen(const char* s, std::size_t n);

// Compare ignoring case: the difference of the first unequal lower-cased characters, or
// of the raw characters where one string ends; 0 when equal.
int32_t SvStricmp(const char* a, const char* b);
// As SvStricmp over at most N characters; stops where both strings end.
int32_t SvStrnicmp(const char* a, const char* b, std::size_t n);
// 1 when the first min(LA, LB) characters compare equal as strings and the rest of the
// longer text is all blanks; else 0.
int32_t SvTextEq(const char* a, int32_t la, const char* b, int32_t lb);
// The first index of TABLE whose entry begins with S and, unless PREFIX is set, is as
// long as S; -1 when there is none. SvStriIndex ignores case.
int32_t SvStrIndex(const char* s, std::span<const char* const> table, int32_t prefix);
int32_t SvStriIndex(const char* s, std::span<const char* const> table, int32_t prefix);

// The search family: each answers a pointer to the match, or nullptr.
//  - "Str" texts end at their NUL; "Mem" texts are T bytes long (NULs are characters) and
//    only positions 0 to T minus the pattern length are tried;
//  - an "n" routine uses only the first N characters of PATTERN (fewer when it is
//    shorter); the others the whole pattern;
//  - "r" routines find the last match, the others the first; "i" routines ignore case.
const char* SvStrstrn(const char* text, const char* pattern, std::size_t n);
const char* SvMemstrn(const char* text, std::size_t t, const char* pattern, std::size_t n);
const char* SvMemstr(const char* text, std::size_t t, const char* pattern);
const char* SvStrrstr(const char* text, const char* pattern);
const char* SvStrrstrn(const char* text, const char* pattern, std::size_t n);
const char* SvMemrstrn(const char* text, std::size_t t, const char* pattern, std::size_t n);
const char* SvMemrstr(const char* text, std::size_t t, const char* pattern);
const char* SvStrichr(const char* text, int c);
// The first C among the first N characters of TEXT (it also ends at its NUL).
const char* SvStrnichr(const char* text, std::size_t n, int c);
const char* SvStrirchr(const char* text, int c);
const char* SvStristr(const char* text, const char* pattern);
const char* SvStristrn(const char* text, const char* pattern, std::size_t n);
const char* SvMemistrn(const char* text, std::size_t t, const char* pattern, std::size_t n);
const char* SvMemistr(const char* text, std::size_t t, const char* pattern);
const char* SvStrirstr(const char* text, const char* pattern);
const char* SvStrirstrn(const char* text, const char* pattern, std::size_t n);
const char* SvMemirstrn(const char* text, std::size_t t, const char* pattern, std::size_t n);
const char* SvMemirstr(const char* text, std::size_t t, const char* pattern);

}  // namespace kvr
