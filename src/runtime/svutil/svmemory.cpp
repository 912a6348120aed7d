#include "runtime/svutil/svmemory.h"

#include <limits>
#include <string>

#include "platform/memory.h"
#include "platform/stop.h"

namespace kvr {
namespace {

struct MemFuncs {
  SvReleaseFunc release[kSvMaxMemFuncs] = {};
  int32_t releaseCount = 0;
  SvHappyFunc happy[kSvMaxMemFuncs] = {};
  int32_t happyCount = 0;
  int32_t probeCounter = 0;  // allocations since the last probe, 0..256
};

MemFuncs& funcs() {
  static MemFuncs f;
  return f;
}

// Writes TAG and WHAT to the standard error stream and ends the process with status 1.
[[noreturn]] void allocationFailed(const char* tag, const char* what) {
  std::string line = tag ? tag : "";
  line += what;
  sv::errorLine(line);
  processStop(1);
}

// Runs ATTEMPT; when it gives nothing and a release function frees memory, once more.
template <class Attempt>
void* withRetry(Attempt attempt) {
  void* p = attempt();
  if (p == nullptr && funcs().releaseCount > 0 && SvRunRelease() == 1) p = attempt();
  return p;
}

template <class Func>
int32_t addFunc(Func* list, int32_t& count, Func func, const char* full) {
  for (int32_t i = 0; i < count; ++i) {
    if (list[i] == func) return i;
  }
  if (count >= kSvMaxMemFuncs) {
    sv::errorLine(full);
    return -1;
  }
  list[count] = func;
  return count++;
}

template <class Func>
int32_t delFunc(Func* list, int32_t& count, Func func, const char* missing) {
  for (int32_t i = 0; i < count; ++i) {
    if (list[i] != func) continue;
    for (int32_t k = i + 1; k < count; ++k) list[k - 1] = list[k];
    list[--count] = nullptr;
    return 0;
  }
  sv::errorLine(missing);
  return -1;
}

}  // namespace

void SvMemProbe(std::size_t size) {
  MemFuncs& f = funcs();
  if (f.releaseCount == 0 && f.happyCount == 0) return;
  ++f.probeCounter;
  if (f.probeCounter <= kSvProbeEvery && size <= kSvProbeLarge) return;
  f.probeCounter = 0;
  // A size so large that the reserve cannot be added cannot be had either.
  std::size_t want = size > std::numeric_limits<std::size_t>::max() - kSvProbeReserve
                         ? std::numeric_limits<std::size_t>::max()
                         : size + kSvProbeReserve;
  void* block = mem::allocate(want);
  if (block == nullptr) {
    SvRunRelease();
  } else {
    SvRunHappy();
    mem::release(block);
  }
}

int32_t SvRunRelease() {
  MemFuncs& f = funcs();
  for (int32_t i = f.releaseCount - 1; i >= 0; --i) {
    if (f.release[i](0) == 1) return 1;
  }
  return 0;
}

void SvRunHappy() {
  MemFuncs& f = funcs();
  for (int32_t i = 0; i < f.happyCount; ++i) f.happy[i]();
}

int32_t SvAddRelease(SvReleaseFunc func) {
  return addFunc(funcs().release, funcs().releaseCount, func, "Can't add malloc release function");
}

int32_t SvAddHappy(SvHappyFunc func) {
  return addFunc(funcs().happy, funcs().happyCount, func, "Can't add malloc happy function");
}

int32_t SvDelRelease(SvReleaseFunc func) {
  return delFunc(funcs().release, funcs().releaseCount, func, "Can't remove malloc release function");
}

int32_t SvDelHappy(SvHappyFunc func) {
  return delFunc(funcs().happy, funcs().happyCount, func, "Can't remove malloc happy function");
}

int32_t SvZero(int32_t) { return 0; }

void* SvMalloc(std::size_t size, const char* tag) { return SvMallocStat(size, tag, nullptr); }

void* SvMallocStat(std::size_t size, const char* tag, int32_t* failed) {
  if (failed) *failed = 0;
  if (size == 0) return nullptr;
  SvMemProbe(size);
  void* p = withRetry([size] { return mem::allocate(size); });
  if (p != nullptr) return p;
  if (failed == nullptr) allocationFailed(tag, ": Memory allocation failed (SvMalloc)");
  *failed = 1;
  return nullptr;
}

void* SvCalloc(std::size_t count, std::size_t size, const char* tag) {
  if (count == 0 || size == 0) return nullptr;
  std::size_t total = count <= std::numeric_limits<std::size_t>::max() / size
                          ? count * size
                          : std::numeric_limits<std::size_t>::max();
  SvMemProbe(total);
  void* p = withRetry([count, size] { return mem::allocateZeroed(count, size); });
  if (p == nullptr) allocationFailed(tag, ": Memory allocation failed (SvCalloc)");
  return p;
}

void* SvRealloc(void* block, std::size_t size, const char* tag, int32_t* failed) {
  if (failed) *failed = 0;
  SvMemProbe(size);
  if (size == 0) {
    mem::release(block);
    return nullptr;
  }
  void* p = withRetry([block, size] {
    return block == nullptr ? mem::allocate(size) : mem::reallocate(block, size);
  });
  if (p != nullptr) return p;
  if (failed == nullptr) allocationFailed(tag, ": Memory reallocation failed (SvRealloc)");
  *failed = 1;
  return nullptr;
}

void* SvReallocX(void* block, std::size_t size, const char* tag) {
  return SvRealloc(block, size, tag, nullptr);
}

int32_t SvFree(void* block, const char*) {
  if (block != nullptr) mem::release(block);
  return 0;
}

}  // namespace kvr
