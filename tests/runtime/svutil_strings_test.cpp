#include "runtime/svutil/svstrings.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "runtime/svutil/svmemory.h"

namespace kvr {
namespace {

constexpr const char* kTag = "file=test line=1";

// A heap copy of exactly the bytes of S and its NUL, so that a sanitizer sees any read
// past them.
std::unique_ptr<char[]> exact(const char* s) {
  std::size_t n = std::strlen(s) + 1;
  auto p = std::make_unique<char[]>(n);
  std::memcpy(p.get(), s, n);
  return p;
}

std::string take(char* s) {
  std::string out = s ? s : "<none>";
  SvFree(s, kTag);
  return out;
}

TEST(SvStrings, CopiesAndJoins) {
  auto ab = exact("ab");
  EXPECT_EQ(take(SvStrndup(ab.get(), 5)), "ab");  // never reads past the NUL
  EXPECT_EQ(take(SvStrndup("abcdef", 3)), "abc");
  EXPECT_EQ(take(SvStrndupChk(ab.get(), 1)), "a");
  EXPECT_EQ(take(SvStrdup("xyz")), "xyz");
  EXPECT_EQ(take(SvStrdupChk("")), "");
  EXPECT_EQ(SvStrdup(nullptr), nullptr);
  EXPECT_EQ(take(SvStrcat({"a", "bc", "", "d"})), "abcd");
  EXPECT_EQ(take(SvStrcat({"a", nullptr, "ignored"})), "a");
  EXPECT_EQ(SvStrcat({nullptr, "b"}), nullptr);
  EXPECT_EQ(take(SvStrcatChk({"x", "y"})), "xy");
  EXPECT_EQ(SvStrnlen(ab.get(), 10), 2u);
  EXPECT_EQ(SvStrnlen("abcdef", 4), 4u);
}

TEST(SvStrings, ComparisonsIgnoringCase) {
  auto ab = exact("ab");
  auto AB = exact("AB");
  EXPECT_EQ(SvStrnicmp(ab.get(), AB.get(), 10), 0);  // stops where both end
  EXPECT_EQ(SvStricmp("abc", "ABC"), 0);
  EXPECT_LT(SvStricmp("abc", "ABD"), 0);
  EXPECT_EQ(SvStricmp("ab", "abc"), -'c');  // raw characters where one string ends
  EXPECT_EQ(SvStrnicmp("abX", "ABY", 2), 0);
  EXPECT_GT(SvStrnicmp("abY", "ABX", 3), 0);
  EXPECT_LT(SvStrnicmp("ab", "ABC", 5), 0);
}

TEST(SvStrings, TextEqualityIgnoresTrailingBlanksOfTheLonger) {
  struct Case {
    const char* a;
    int32_t la;
    const char* b;
    int32_t lb;
    int32_t eq;
  } cases[] = {
      {"ABC", 3, "ABC  ", 5, 1}, {"ABC", 3, "ABCD", 4, 0}, {"ABC  ", 5, "ABC", 3, 1},
      {"ABC", 3, "ABD", 3, 0},   {"AB\0X", 4, "AB\0Y", 4, 1},  // compared as strings
      {"", 0, "   ", 3, 1},      {"ABC", 2, "ABX", 2, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SvTextEq(c.a, c.la, c.b, c.lb), c.eq) << c.a << "|" << c.b;
  }
}

TEST(SvStrings, TableIndexWholeOrPrefix) {
  std::array<const char*, 2> table{"abc", "ab"};
  EXPECT_EQ(SvStrIndex("ab", table, 0), 1);
  EXPECT_EQ(SvStrIndex("ab", table, 1), 0);
  EXPECT_EQ(SvStrIndex("abcd", table, 1), -1);
  EXPECT_EQ(SvStrIndex("AB", table, 0), -1);
  EXPECT_EQ(SvStriIndex("AB", table, 0), 1);
  EXPECT_EQ(SvStriIndex("AbC", table, 0), 0);
  std::array<const char*, 2> holes{nullptr, "x"};
  EXPECT_EQ(SvStrIndex("x", holes, 0), 1);
}

TEST(SvStrings, SearchFamily) {
  const char* t = "abcABCabc";
  const char nul[] = {'a', '\0', 'b', 'c'};
  struct Case {
    const char* name;
    std::function<const char*()> search;
    const char* base;
    int position;  // -1: none
  } cases[] = {
      {"Strstrn", [&] { return SvStrstrn(t, "bcx", 2); }, t, 1},
      {"Strstrn long n", [&] { return SvStrstrn(t, "c", 10); }, t, 2},
      {"Memstrn", [&] { return SvMemstrn(t, 9, "ABx", 2); }, t, 3},
      {"Memstr", [&] { return SvMemstr(t, 9, "Cab"); }, t, 5},
      {"Memstr short text", [&] { return SvMemstr(t, 2, "abc"); }, t, -1},
      {"Memstr bound", [&] { return SvMemstr(t, 5, "ABC"); }, t, -1},
      {"Strrstr", [&] { return SvStrrstr(t, "abc"); }, t, 6},
      {"Strrstrn", [&] { return SvStrrstrn(t, "abX", 2); }, t, 6},
      {"Memrstrn", [&] { return SvMemrstrn(t, 7, "abX", 2); }, t, 0},
      {"Memrstr", [&] { return SvMemrstr("abaa", 3, "a"); }, "abaa", 2},
      {"Strichr", [&] { return SvStrichr("xAy", 'a'); }, "xAy", 1},
      {"Strnichr outside", [&] { return SvStrnichr("xyA", 2, 'a'); }, "xyA", -1},
      {"Strnichr", [&] { return SvStrnichr("xyA", 3, 'a'); }, "xyA", 2},
      {"Strirchr", [&] { return SvStrirchr("aXa", 'A'); }, "aXa", 2},
      {"Stristr", [&] { return SvStristr(t, "CAB"); }, t, 2},
      {"Stristrn", [&] { return SvStristrn(t, "BCz", 2); }, t, 1},
      {"Memistrn", [&] { return SvMemistrn(t, 9, "ABCz", 3); }, t, 0},
      {"Memistr across NUL", [&] { return SvMemistr(nul, 4, "BC"); }, nul, 2},
      {"Strirstr", [&] { return SvStrirstr(t, "ABC"); }, t, 6},
      {"Strirstrn", [&] { return SvStrirstrn(t, "ABCz", 3); }, t, 6},
      {"Memirstrn", [&] { return SvMemirstrn(t, 6, "abcz", 3); }, t, 3},
      {"Memirstr bound", [&] { return SvMemirstr(t, 5, "abc"); }, t, 0},
      {"none text", [&] { return SvStrstrn(nullptr, "a", 1); }, t, -1},
  };
  for (const Case& c : cases) {
    const char* got = c.search();
    if (c.position < 0) {
      EXPECT_EQ(got, nullptr) << c.name;
    } else {
      EXPECT_EQ(got, c.base + c.position) << c.name;
    }
  }
}

}  // namespace
}  // namespace kvr
