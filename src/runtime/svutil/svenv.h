// Sv environment lookup: every environment variable the library reads comes through
// SvGetenv (or ENVIRN over SvTextGetenv), which asks, in order, the installed option
// table, the process environment and the two registry files (the current user's, then
// the machine's). The setters serve the option-table configuration.
#pragma once

#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

inline constexpr int32_t kSvRegistryBuffer = 4096;  // bytes a registry value may take, NUL included
inline constexpr int32_t kSvTextToStrMax = 511;     // characters SvTextToStr keeps
inline constexpr int32_t kSvPutenvMax = 4094;       // characters vputenv takes
inline constexpr int32_t kSvSetenvMax = 4094;       // characters vSvSetenv takes

// The value of NAME: the installed option table's symbol of that name (exact match) when
// it has a value, else the process environment's, else the registry's; nullptr when
// none has it. The answer stays valid until the next lookup or change of that source.
const char* SvGetenv(const char* name);

// The registry value NAME (ignoring case), from the user file, else the machine file;
// nullptr when neither has it. An expandable value comes back with its %VAR% references
// expanded. A value that does not fit the 4096-byte buffer prints "SvGetRegistry: Symbol
// NAME to long SIZE" (the bytes it needs) and the next file is tried; a value of another
// type prints "SvGetRegistry: Unexpected symbol type(0) for symbol NAME" and the next
// file is tried. The answer stays valid until the next registry read. The files are read
// on first use and again after SvRegClose.
const char* SvGetRegistry(const char* name);
// Reads both registry files; one that cannot be read is skipped.
void SvRegOpen();
// Forgets both files.
void SvRegClose();

// VALUE receives, blank-padded or cut to its length, what SvGetenv finds for NAME
// (trailing blanks removed); all blanks when nothing is found or NAME is blank.
void SvTextGetenv(FText name, FText value);
// SvPutenv of NAME and VALUE, each without trailing blanks.
int32_t SvTextSetenv(FText name, FText value);
// The first N characters of TEXT (at most 511) without trailing blanks, NUL-terminated,
// valid until the next call; "" for N 0, nullptr for N below 0.
const char* SvTextToStr(const char* text, int32_t n);
// Copies S into TEXT and blank-pads it; answers TEXT's length, or that length minus the
// length of S (negative) when S did not fit and was cut.
int32_t SvStrToText(const char* s, FText text);

// Sets NAME=VALUE in the process environment (an empty VALUE removes NAME). On failure
// the system's error text is printed with the prefix "putenv"; answers 0, or -1.
int32_t SvPutenv(const char* name, const char* value);
// Formats "NAME=value" (printf FORMAT). Above 4094 characters "vputenv: Internal buffer
// to small to update environment" is printed and -1 answered; when the environment holds
// exactly that value already nothing is done and 0 answered; otherwise it is set (0, or
// -1 when it cannot be, as for a result without "=").
int32_t vputenv(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Formats "NAME=value"; from 4095 characters "vSvSetenv: Internal buffer to small to
// update environment" and -1; without "=" -1. Otherwise the installed option table's
// symbol NAME is set (overwriting) and vputenv sets the environment; answers its result.
int32_t vSvSetenv(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kvr
