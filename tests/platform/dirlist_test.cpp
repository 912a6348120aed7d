// The directory listing: which names a pattern matches, and in what order.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/dirlist.h"
#include "testsupport.h"

namespace kvr::os {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class DirListing : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : {"b.M71", "A.m71", "c.txt", "sub/inner.m71", "sub/other.txt"}) {
      fs::create_directories(fs::path(f).parent_path().empty() ? "." : fs::path(f).parent_path());
      test::writeFile(f, "x");
    }
  }
  test::TempDir tmp_;
};

TEST_F(DirListing, PatternsMatchIgnoringCaseAndListSorted) {
  struct Case {
    std::string pattern;
    Names names;
  };
  const Case cases[] = {
      {"*.M71", {"A.m71", "b.M71"}},
      {"*.m71", {"A.m71", "b.M71"}},
      {"*", {".", "..", "A.m71", "b.M71", "c.txt", "sub"}},
      {"*.*", {".", "..", "A.m71", "b.M71", "c.txt", "sub"}},
      {"?.TXT", {"c.txt"}},
      {"[ab].m71", {"A.m71", "b.M71"}},
      {"nothing*", {}},
      {"sub/*.M71", {"inner.m71"}},
      {"sub/", {}},
  };
  for (const Case& c : cases) {
    bool ok = false;
    EXPECT_EQ(listDirectory(c.pattern, ok), c.names) << c.pattern;
    EXPECT_TRUE(ok) << c.pattern;
  }
}

TEST_F(DirListing, AbsolutePatternNamesWithoutTheirDirectory) {
  bool ok = false;
  EXPECT_EQ(listDirectory(tmp_.path().string() + "/*.txt", ok), Names{"c.txt"});
  EXPECT_TRUE(ok);
}

TEST_F(DirListing, MissingDirectoryIsNotReadable) {
  bool ok = true;
  EXPECT_TRUE(listDirectory("nodir/*", ok).empty());
  EXPECT_FALSE(ok);
}

TEST_F(DirListing, OneSearchWalksItsNamesAndANewSearchReplacesIt) {
  std::string name;
  ASSERT_TRUE(searchOpen("*.m71", name));
  EXPECT_EQ(name, "A.m71");
  ASSERT_TRUE(searchOpen("*.txt", name));
  EXPECT_EQ(name, "c.txt");
  EXPECT_FALSE(searchNext(name));
  ASSERT_TRUE(searchOpen("*.m71", name));
  ASSERT_TRUE(searchNext(name));
  EXPECT_EQ(name, "b.M71");
  searchClose();
  EXPECT_FALSE(searchNext(name));
  EXPECT_FALSE(searchOpen("none*", name));
  searchClose();
}

}  // namespace
}  // namespace kvr::os
