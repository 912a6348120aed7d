// The fixture of the definition-table tests: the full model registry (empty arrays, MODCNT
// set by each test), the answer store beside it as the reading road sets them up, the
// character tables, and helpers that write the tables through REC7A/REC7B and the record
// stores, the entity attributes through ATTFND/ATTVLR, the blocks into named array 17 and
// the answers through the answer-store puts.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../modeldb/modelfixture.h"
#include "command/ansrec.h"
#include "command/atrrec.h"
#include "command/cmdlin.h"
#include "command/mnuctl.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/reghed.h"

namespace kvr::test {

class DefinitionFixture : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    CHRSET();
    MNUCTL = {};
    CMDLIN = {};
    ARRDSC = {};
    int32_t stat = -1;
    ARRREG(4, 0, stat);
    ASSERT_EQ(stat, 0);
  }
  void TearDown() override {
    MNUCTL = {};
    CMDLIN = {};
    ARRDSC = {};
    ModelFixture::TearDown();
  }

  using Table = DefinitionTable;
  static constexpr Table kMat = Table::Material;
  static constexpr Table kPhy = Table::Property;

  static int32_t arrayOf(Table t) { return t == kMat ? kArrMaterialTable : kArrPropertyTable; }

  struct Dir {
    int32_t state, headers, headerStart, texts, textStart, values, valueStart;
  };
  static void directory(Table t, Dir d) {
    (t == kMat ? REC7A : REC7B)(1, d.state, d.headers, d.texts, d.values, d.headerStart,
                                d.textStart, d.valueStart);
  }
  static void setState(Table t, int32_t state) {
    int32_t a1, a2, a3, a4, b1, b2, b3;
    auto rec = t == kMat ? REC7A : REC7B;
    rec(2, a1, a2, a3, a4, b1, b2, b3);
    a1 = state;
    rec(1, a1, a2, a3, a4, b1, b2, b3);
  }

  static std::array<int32_t, kHeaderChildren> headerChildren(std::vector<int32_t> c) {
    std::array<int32_t, kHeaderChildren> a{};
    for (size_t k = 0; k < c.size() && k < a.size(); ++k) a[k] = c[k];
    return a;
  }
  static std::array<int32_t, kTextChildren> textChildren(std::vector<int32_t> c) {
    std::array<int32_t, kTextChildren> a{};
    for (size_t k = 0; k < c.size() && k < a.size(); ++k) a[k] = c[k];
    return a;
  }

  static void header(Table t, int32_t index, std::string_view name, std::string_view code,
                     std::vector<int32_t> children) {
    FixedText n(80, name), c(8, code);
    auto ch = headerChildren(children);
    int32_t status = -1;
    headerRecord(t, kRecordStore, index, n, c, ch, status);
    ASSERT_EQ(status, 0);
  }
  static void option(Table t, int32_t index, int32_t key, int32_t kind, std::string_view code,
                     std::vector<int32_t> children, int32_t extra = 0) {
    FixedText n(80, code), c(8, code);
    auto ch = textChildren(children);
    int32_t status = -1;
    textRecord(t, kRecordStore, index, key, kind, n, c, extra, ch, status);
    ASSERT_EQ(status, 0);
  }
  static void field(Table t, int32_t index, int32_t key, int32_t kind, std::string_view code,
                    int32_t flags = 0, std::array<int32_t, 3> ints = {},
                    std::array<float, 3> reals = {}, std::string_view text = {}) {
    FixedText n(80, code), c(8, code), x(kFieldTextLength, text);
    int32_t status = -1;
    valueRecord(t, kRecordStore, index, key, kind, n, c, flags, ints, reals, x, status);
    ASSERT_EQ(status, 0);
  }

  // The attribute of TYPE of ENTITY with the given real values.
  static void attribute(int32_t type, int32_t entity, std::vector<float> values) {
    Label lab = nameOf("DEF");
    int32_t id = entity;
    auto count = static_cast<int32_t>(values.size());
    ATTFND(-1, lab, type, id, count);
    count = static_cast<int32_t>(values.size());
    ATTVLR(-1, type, entity, 1, count, values);
  }

  // Answer I: ITEM and ULST.
  static void answer(int32_t i, int32_t item, int32_t ulst = 0) {
    int32_t status = 0;
    P4ITEM(i, item, status);
    ASSERT_EQ(status, 0);
    P4ULST(i, ulst, status);
    ASSERT_EQ(status, 0);
  }

  static std::vector<int32_t> codeLine(std::string_view text) {
    std::vector<int32_t> line;
    for (char c : text) line.push_back(codeOf(c));
    return line;
  }
};

}  // namespace kvr::test
