// Memory: the heap routines every allocation of the library goes through, so that tests
// can make an allocation fail and see what sizes were asked for.
//
// allocate, allocateZeroed, reallocate and release behave as malloc, calloc, realloc and
// free. Each call of the first three is one "allocation request" for the test hook; a
// request that the hook fails answers nullptr without touching the heap (reallocate then
// leaves BLOCK as it was, as realloc does on failure).
//
// The hook is process-wide and off by default. It is meant for tests only: the library
// never sets it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kvr::mem {

void* allocate(std::size_t size);
// COUNT x SIZE zero-filled bytes; a product that overflows fails.
void* allocateZeroed(std::size_t count, std::size_t size);
// BLOCK nullptr allocates. A size of 0 is passed on to realloc unchanged.
void* reallocate(void* block, std::size_t size);
void release(void* block);

// Test hook.
namespace hook {

// Makes the Nth allocation request from now fail (1 = the next one). Several may be
// planned; each fails once.
void failNth(int64_t n);
// While ON, every allocation request fails.
void failAll(bool on = true);
// While ON, the size of every request (failed or not) is recorded; allocateZeroed
// records COUNT x SIZE (the largest size_t when that overflows).
void recordSizes(bool on = true);
// The sizes recorded since recording began, oldest first.
const std::vector<std::size_t>& sizesAsked();
// No failures planned, recording off, recorded sizes forgotten.
void reset();

}  // namespace hook

// Resets the hook and records sizes while it lives; resets it again when it ends. The
// usual way for a test to use the hook.
class ScopedHook {
 public:
  ScopedHook();
  ~ScopedHook();
  ScopedHook(const ScopedHook&) = delete;
  ScopedHook& operator=(const ScopedHook&) = delete;

  void failNth(int64_t n) { hook::failNth(n); }
  void failAll(bool on = true) { hook::failAll(on); }
  const std::vector<std::size_t>& sizesAsked() const { return hook::sizesAsked(); }
};

}  // namespace kvr::mem
