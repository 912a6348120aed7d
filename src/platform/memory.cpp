#include "platform/memory.h"

#include <cstdlib>
#include <limits>
#include <set>

namespace kvr::mem {
namespace {

// The hook's state. The library runs on its host's one thread, so no locking.
struct HookState {
  int64_t requests = 0;        // allocation requests made since the last reset
  std::set<int64_t> planned;   // request numbers that are to fail
  bool failAll = false;
  bool record = false;
  std::vector<std::size_t> sizes;
};

HookState& state() {
  static HookState s;
  return s;
}

// Counts one request of SIZE bytes and answers whether it must fail.
bool requestFails(std::size_t size) {
  HookState& s = state();
  ++s.requests;
  if (s.record) s.sizes.push_back(size);
  if (s.failAll) return true;
  if (s.planned.empty()) return false;
  return s.planned.erase(s.requests) > 0;
}

}  // namespace

void* allocate(std::size_t size) {
  if (requestFails(size)) return nullptr;
  return std::malloc(size);
}

void* allocateZeroed(std::size_t count, std::size_t size) {
  bool overflows = size != 0 && count > std::numeric_limits<std::size_t>::max() / size;
  std::size_t total = overflows ? std::numeric_limits<std::size_t>::max() : count * size;
  if (requestFails(total) || overflows) return nullptr;
  return std::calloc(count, size);
}

void* reallocate(void* block, std::size_t size) {
  if (requestFails(size)) return nullptr;
  return std::realloc(block, size);
}

void release(void* block) { std::free(block); }

namespace hook {

void failNth(int64_t n) {
  if (n >= 1) state().planned.insert(state().requests + n);
}

void failAll(bool on) { state().failAll = on; }

void recordSizes(bool on) { state().record = on; }

const std::vector<std::size_t>& sizesAsked() { return state().sizes; }

void reset() {
  HookState& s = state();
  s.requests = 0;
  s.planned.clear();
  s.failAll = false;
  s.record = false;
  s.sizes.clear();
}

}  // namespace hook

ScopedHook::ScopedHook() {
  hook::reset();
  hook::recordSizes(true);
}

ScopedHook::~ScopedHook() { hook::reset(); }

}  // namespace kvr::mem
