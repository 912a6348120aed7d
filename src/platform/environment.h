// Environment: the process environment, read and set as the library has always done on
// Windows. Setting a variable to an empty value removes it, as the Windows runtime's
// "NAME=" does. Names are case-sensitive here (Windows ignores their case).
//
// These are the raw routines. The library reads its variables through SvGetenv, which
// also asks an installed option table and the registry files; only the registry reader
// itself (which SvGetenv falls back to) uses get directly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kvr::env {

// The value of NAME, or nullptr when it is not set. The pointer stays valid until the
// variable is next set or removed.
const char* get(const std::string& name);

// Sets NAME to VALUE; an empty VALUE removes NAME. Answers 0, or -1 with errno set (an
// empty name or one holding "=" is EINVAL).
int32_t set(std::string_view name, std::string_view value);

// Removes NAME. Answers 0, or -1 with errno set.
int32_t unset(std::string_view name);

// Takes one assignment "NAME=value", split at its first "=". Without "=" answers -1 with
// errno EINVAL.
int32_t put(std::string_view assignment);

}  // namespace kvr::env
