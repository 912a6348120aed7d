#include "runtime/svutil/svmemory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/memory.h"
#include "runtime/svutil/svstrings.h"
#include "svutil_testing.h"

namespace kvr {
namespace {

using svtest::StderrCapture;

constexpr const char* kTag = "file=strings line=698";
constexpr std::size_t kBig = 200000;  // above the 102400 bytes that probe at once

std::vector<int> calls;      // which release or happy functions ran, in order
int32_t releaseAnswer2 = 0;  // what release function 2 answers

int32_t release1(int32_t) {
  calls.push_back(1);
  return 0;
}
int32_t release2(int32_t) {
  calls.push_back(2);
  return releaseAnswer2;
}
void happy1() { calls.push_back(101); }
void happy2() { calls.push_back(102); }

template <int N>
int32_t numbered(int32_t) {
  return N;
}

// Registers the given functions for the test and removes them afterwards.
class SvMemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    releaseAnswer2 = 0;
  }
  void TearDown() override {
    for (SvReleaseFunc f : {release1, release2}) {
      StderrCapture quiet;
      SvDelRelease(f);
    }
    for (SvHappyFunc f : {happy1, happy2}) {
      StderrCapture quiet;
      SvDelHappy(f);
    }
  }
  // A large allocation probes and so starts the probe counter again at 0.
  void restartCounter() { SvFree(SvMalloc(kBig, kTag), kTag); }
};

TEST_F(SvMemTest, ZeroSizeAnswersNoneWithoutProbingOrCounting) {
  SvAddRelease(release1);
  restartCounter();
  mem::ScopedHook hook;
  std::vector<void*> blocks;
  for (int i = 0; i < 256; ++i) blocks.push_back(SvMalloc(8, kTag));
  EXPECT_EQ(hook.sizesAsked().size(), 256u);  // no probe among the first 256
  EXPECT_EQ(SvMalloc(0, kTag), nullptr);
  EXPECT_EQ(SvCalloc(0, 4, kTag), nullptr);
  EXPECT_EQ(hook.sizesAsked().size(), 256u);
  blocks.push_back(SvMalloc(8, kTag));  // the 257th counted allocation probes
  EXPECT_EQ(hook.sizesAsked(), [] {
    std::vector<std::size_t> want(256, 8);
    want.push_back(8 + kSvProbeReserve);
    want.push_back(8);
    return want;
  }());
  for (void* b : blocks) SvFree(b, kTag);
}

TEST_F(SvMemTest, LargeAllocationsProbeAtOnceAndNothingProbesWithoutFunctions) {
  struct Case {
    bool registered;
    std::size_t size;
    std::vector<std::size_t> asked;
  } cases[] = {
      {true, kSvProbeLarge, {kSvProbeLarge}},
      {true, kSvProbeLarge + 1, {kSvProbeLarge + 1 + kSvProbeReserve, kSvProbeLarge + 1}},
      {false, kBig, {kBig}},
  };
  for (const Case& c : cases) {
    if (c.registered) SvAddRelease(release1);
    restartCounter();
    mem::ScopedHook hook;
    SvFree(SvMalloc(c.size, kTag), kTag);
    EXPECT_EQ(hook.sizesAsked(), c.asked) << c.size;
    StderrCapture quiet;
    SvDelRelease(release1);
  }
}

TEST_F(SvMemTest, FailedProbeRunsReleaseFunctionsFromTheLastAndASuccessfulOneTheHappyOnes) {
  SvAddRelease(release1);
  SvAddRelease(release2);
  SvAddHappy(happy1);
  SvAddHappy(happy2);
  {
    mem::ScopedHook hook;
    hook.failNth(1);  // the probe
    void* p = SvMalloc(kBig, kTag);
    EXPECT_NE(p, nullptr);
    SvFree(p, kTag);
  }
  EXPECT_EQ(calls, (std::vector<int>{2, 1}));
  calls.clear();
  SvFree(SvMalloc(kBig, kTag), kTag);
  EXPECT_EQ(calls, (std::vector<int>{101, 102}));
}

TEST_F(SvMemTest, AFailedAllocationIsRetriedOnceWhenAReleaseFunctionFreedMemory) {
  SvAddRelease(release1);
  SvAddRelease(release2);
  releaseAnswer2 = 1;
  mem::ScopedHook hook;
  hook.failNth(1);  // the probe: release 2 answers 1, release 1 is not asked
  hook.failNth(2);  // the allocation: released again, then retried
  void* p = SvMalloc(kBig, kTag);
  EXPECT_NE(p, nullptr);
  EXPECT_EQ(calls, (std::vector<int>{2, 2}));
  EXPECT_EQ(hook.sizesAsked(), (std::vector<std::size_t>{kBig + kSvProbeReserve, kBig, kBig}));
  SvFree(p, kTag);
}

TEST(SvMemDeathTest, FailureEndsWithStatusOneAndTheTaggedLine) {
  struct Case {
    const char* name;
    void (*allocate)();
    const char* line;
  } cases[] = {
      {"SvMalloc", [] { SvMalloc(16, kTag); }, "file=strings line=698: Memory allocation failed \\(SvMalloc\\)"},
      {"SvCalloc", [] { SvCalloc(4, 4, kTag); }, "file=strings line=698: Memory allocation failed \\(SvCalloc\\)"},
      {"SvRealloc", [] { SvReallocX(nullptr, 16, kTag); },
       "file=strings line=698: Memory reallocation failed \\(SvRealloc\\)"},
      {"SvStrdup", [] { SvStrdup("abc"); }, "file=strings line=[0-9]+: Memory allocation failed \\(SvMalloc\\)"},
  };
  for (const Case& c : cases) {
    EXPECT_EXIT(
        {
          mem::hook::failAll();
          c.allocate();
        },
        ::testing::ExitedWithCode(1), c.line)
        << c.name;
  }
}

TEST(SvMemFailure, AFailedFlagIsSetToOneInsteadOfEnding) {
  int32_t failed = 7;
  void* p = SvMallocStat(16, kTag, &failed);
  EXPECT_EQ(failed, 0);
  mem::ScopedHook hook;
  hook.failAll();
  EXPECT_EQ(SvMallocStat(16, kTag, &failed), nullptr);
  EXPECT_EQ(failed, 1);
  failed = 7;
  EXPECT_EQ(SvRealloc(p, 64, kTag, &failed), nullptr);
  EXPECT_EQ(failed, 1);
  hook.failAll(false);
  std::memset(p, 'x', 16);  // the block is still whole after the failed reallocation
  p = SvRealloc(p, 64, kTag, &failed);
  EXPECT_EQ(failed, 0);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(static_cast<char*>(p)[15], 'x');
  EXPECT_EQ(SvRealloc(p, 0, kTag, &failed), nullptr);  // size 0 frees
  EXPECT_EQ(SvFree(nullptr, kTag), 0);
}

TEST_F(SvMemTest, AtMostTenFunctionsEachAndRemovalMessages) {
  SvReleaseFunc funcs[] = {numbered<0>, numbered<1>, numbered<2>, numbered<3>, numbered<4>, numbered<5>,
                           numbered<6>, numbered<7>, numbered<8>, numbered<9>, numbered<10>};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(SvAddRelease(funcs[i]), i);
  EXPECT_EQ(SvAddRelease(funcs[3]), 3);  // already there
  {
    StderrCapture err;
    EXPECT_EQ(SvAddRelease(funcs[10]), -1);
    EXPECT_EQ(err.text(), "Can't add malloc release function\n");
  }
  EXPECT_EQ(SvDelRelease(funcs[0]), 0);
  EXPECT_EQ(SvAddRelease(funcs[10]), 9);  // the later ones moved up
  EXPECT_EQ(SvAddRelease(funcs[1]), 0);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(SvDelRelease(funcs[i]), 0);
  {
    StderrCapture err;
    EXPECT_EQ(SvDelRelease(funcs[0]), -1);
    EXPECT_EQ(SvDelHappy(happy1), -1);
    EXPECT_EQ(err.text(), "Can't remove malloc release function\nCan't remove malloc happy function\n");
  }
  EXPECT_EQ(SvRunRelease(), 0);
  EXPECT_EQ(SvZero(5), 0);
}

}  // namespace
}  // namespace kvr
