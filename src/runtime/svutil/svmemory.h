// Sv allocation: tagged allocation with a fixed failure policy, and the low-memory
// scheme of release and happy functions.
//
// Every allocation passes a tag naming its source file and line ("file=strings
// line=698", see SV_TAG). When an allocation cannot be had, even after the release
// functions were asked to free memory, the tag and ": Memory allocation failed
// (SvMalloc)" are written to the standard error stream and the process ends with status
// 1 through the library's stop routine, unless the routine takes a failed flag and the
// caller passed one.
//
// The low-memory probe runs before each allocation while any release or happy function
// is registered: every 257th allocation, and every allocation above 102400 bytes, first
// tries to get size + 1048576 bytes. When that fails the release functions run (the
// last registered first); when it succeeds the happy functions run, and the block is
// given back at once.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/svutil/svdiag.h"

namespace kvr {

// A release function is called with 0 and answers 1 when it freed enough memory.
using SvReleaseFunc = int32_t (*)(int32_t);
// A happy function hears that memory is plentiful again.
using SvHappyFunc = void (*)();

inline constexpr int32_t kSvMaxMemFuncs = 10;
inline constexpr int32_t kSvProbeEvery = 256;             // the probe counter's limit
inline constexpr std::size_t kSvProbeLarge = 102400;      // sizes above this probe at once
inline constexpr std::size_t kSvProbeReserve = 1048576;   // extra bytes the probe asks for

// SIZE bytes, or nullptr for SIZE 0 (without probing).
void* SvMalloc(std::size_t size, const char* tag);
// As SvMalloc; with FAILED given, a failure sets *FAILED to 1 and answers nullptr instead
// of ending the process, and *FAILED is 0 otherwise.
void* SvMallocStat(std::size_t size, const char* tag, int32_t* failed);
// COUNT x SIZE zero-filled bytes, or nullptr when either is 0.
void* SvCalloc(std::size_t count, std::size_t size, const char* tag);
// Resizes BLOCK (nullptr allocates); SIZE 0 frees BLOCK and answers nullptr. With FAILED
// given, a failure sets it to 1, answers nullptr and leaves BLOCK as it was.
void* SvRealloc(void* block, std::size_t size, const char* tag, int32_t* failed);
void* SvReallocX(void* block, std::size_t size, const char* tag);
// Frees BLOCK when it is not nullptr; answers 0.
int32_t SvFree(void* block, const char* tag);

// The low-memory probe for an allocation of SIZE bytes.
void SvMemProbe(std::size_t size);
// Calls the release functions from the last registered to the first, each with 0, until
// one answers 1; answers 1 then, else 0.
int32_t SvRunRelease();
// Calls every happy function once, in registration order.
void SvRunHappy();

// Register a function; one already registered answers its index (from 0). With 10
// registered, "Can't add malloc release function" (or happy) goes to the standard error
// stream and -1 is the answer. A new function answers its new index.
int32_t SvAddRelease(SvReleaseFunc func);
int32_t SvAddHappy(SvHappyFunc func);
// Remove a function, the later ones moving up by one, and answer 0. One not registered
// gives "Can't remove malloc release function" (or happy) and -1.
int32_t SvDelRelease(SvReleaseFunc func);
int32_t SvDelHappy(SvHappyFunc func);

// A release function that frees nothing: answers 0.
int32_t SvZero(int32_t);

}  // namespace kvr
