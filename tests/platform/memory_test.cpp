#include "platform/memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace kvr::mem {
namespace {

TEST(MemoryHook, FailsTheNthRequestFromNowOnceAndRecordsEverySize) {
  ScopedHook hook;
  hook.failNth(2);
  hook.failNth(4);
  void* a = allocate(10);
  void* b = allocateZeroed(3, 4);
  void* c = reallocate(a, 20);
  void* d = reallocate(c, 30);
  void* e = allocate(50);
  EXPECT_NE(a, nullptr);
  EXPECT_EQ(b, nullptr);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(d, nullptr);  // a failed reallocation leaves the block as it was
  EXPECT_NE(e, nullptr);
  EXPECT_EQ(hook.sizesAsked(), (std::vector<std::size_t>{10, 12, 20, 30, 50}));
  release(c);
  release(e);
}

TEST(MemoryHook, FailAllUntilTurnedOffAndResetOnScopeEnd) {
  {
    ScopedHook hook;
    hook.failAll();
    EXPECT_EQ(allocate(1), nullptr);
    EXPECT_EQ(allocateZeroed(1, 1), nullptr);
    hook.failAll(false);
    void* p = allocate(1);
    EXPECT_NE(p, nullptr);
    release(p);
    hook.failNth(1);
  }
  // The planned failure and the recording end with the scope.
  void* p = allocate(8);
  EXPECT_NE(p, nullptr);
  EXPECT_TRUE(hook::sizesAsked().empty());
  release(p);
}

TEST(Memory, ZeroedBlocksAreZeroAndAnOverflowingProductFails) {
  auto* p = static_cast<unsigned char*>(allocateZeroed(16, 4));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(p[i], 0);
  release(p);
  ScopedHook hook;
  EXPECT_EQ(allocateZeroed(std::numeric_limits<std::size_t>::max() / 2, 4), nullptr);
  EXPECT_EQ(hook.sizesAsked().back(), std::numeric_limits<std::size_t>::max());
}

}  // namespace
}  // namespace kvr::mem
