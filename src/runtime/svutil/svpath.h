// Sv path expansion and file search. Paths keep "/" as their separator; search paths,
// like PATH, are lists separated by ":".
#pragma once

#include <cstdint>

#include "runtime/svutil/rcsio.h"

namespace kvr {

inline constexpr int32_t kSvPathMax = 255;  // characters of an expanded path or candidate
inline constexpr int32_t kSvNameMax = 127;  // characters of a referenced name

// Expands the $NAME, $(NAME) and ${NAME} references of TEXT with SvGetenv (an unknown
// name gives nothing; "$$" gives "$"; a "$" at the end stays). A plain $NAME runs up to
// ":", "/", ".", blank, tab, newline, ";" or the end. Answers the result, valid until the
// next call, or nullptr for a missing bracket, a name above 127 characters or a result
// above 255.
const char* SvExpandPath(const char* text);
// Tries NAME (its first LENGTH characters) in each element of PATH (separated by
// SEPARATOR; each expanded; "." stands for NAME itself, any other gives ELEMENT/NAME, at
// most 255 characters) and answers the first for which STATUS succeeds, valid until the
// next search; nullptr when none does.
const char* SvSearchPath(const char* path, const char* name, int32_t length, int separator, SvStatFunc status);
// Expands NAME; an absolute name is the answer when STATUS succeeds on it, a relative one
// is searched along PATH (":"-separated).
const char* SvFindFileF(const char* name, const char* path, SvStatFunc status);
const char* SvFindFile(const char* name, const char* path);
// As SvFindFile, an archive (the name + ",v") counting as the file.
const char* SvFindFileRcs(const char* name, const char* path);
// 1 when PATH begins with "/".
int32_t SvIsAbsPath(const char* path);
// In place: every backslash becomes "/" (SvToSlash), or every "/" a backslash. Answer S.
char* SvToSlash(char* s);
char* SvToBackslash(char* s);
char* SvToBackslash2(char* s);

}  // namespace kvr
