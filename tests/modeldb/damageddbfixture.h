// A fixture for damaged databases: a fresh database "FRESH" is created and closed once per
// test, and each damaged database "M1" is a copy of it with chosen words of its index file
// changed. Every page read through PAGRD is counted.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "dbopenfixture.h"
#include "modeldb/dbopen.h"
#include "modeldb/dbpage.h"

namespace kvr::test {

class DamagedDbFixture : public DbOpenFixture {
 protected:
  static constexpr int32_t kIndexPage = 100;

  // Word WORD of index page PAGE becomes VALUE.
  struct Change {
    int32_t page, word, value;
  };

  void SetUp() override {
    DbOpenFixture::SetUp();
    ASSERT_EQ(create("FRESH"), 0);
    DBCLOS();
    setPageReadObserver([this](int32_t cls, int32_t page) {
      if (cls > kLastDataClass && page != kHeaderPage) ++indexChainReads;
    });
  }

  void TearDown() override {
    setPageReadObserver(nullptr);
    DbOpenFixture::TearDown();
  }

  // Closes any open database and makes "M1" a copy of the fresh one with CHANGES made.
  void damaged(std::initializer_list<Change> changes) {
    DBCLOS();
    for (const char* ext : {".M71", ".V71"}) {
      writeFile(dir.file(std::string("M1") + ext), readFile(dir.file(std::string("FRESH") + ext)));
    }
    for (const Change& c : changes) setFileWord("M1.M71", kIndexPage, c.page, c.word, c.value);
    seen.clear();
    named.clear();
    indexChainReads = 0;
  }

  int32_t index(int32_t p, int32_t k) { return fileWord("M1.M71", kIndexPage, p, k); }

  // The pages the index file of "M1" holds.
  int64_t indexPages() {
    return static_cast<int64_t>(readFile(dir.file("M1.M71")).size()) / (4 * kIndexPage);
  }

  // Index pages other than page 1 read since the last damaged().
  int64_t indexChainReads = 0;
};

}  // namespace kvr::test
