// The fixture of the property-word and special-kind tests: the parse fixture (messages and
// journals in files, the answer store, the converted menu table, the console replies
// scripted), the full model registry with empty arrays beside it, the model constants of
// the name sequences, and every block these kinds share (PRPSEQ, DOFNAM, XLTSTA, the name
// map) in its load state. Names go into the name arrays and attribute entries with their
// MODCNT counts; answers through the answer-store puts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "command/argval.h"
#include "command/prpseq.h"
#include "command/seqnxt.h"
#include "command/xltsta.h"
#include "messages/synsta.h"
#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/elttab.h"
#include "parsefixture.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/platrtn.h"
#include "runtime/reghed.h"
#include "valuecalls.h"

namespace kvr::test {

class SpecialFixture : public ParseFixture, public ValueCalls {
 protected:
  void SetUp() override {
    ParseFixture::SetUp();
    const std::string_view table = " 0123456789-+=*/(),.ABCDEFGHIJKLMNOPQRSTUVWXYZ'";
    for (int32_t e = 1; e <= kModCharacters; ++e) {
      MODCON.word(kModFirstCode + e - 1) = codeOf(table[static_cast<size_t>(e - 1)]);
    }
    MODCON.word(kModWordsPerValue) = 1;
    clearModel();
    ARRNUM(1);
    int32_t stat = -1;
    ARRREG(2, 1, stat);
    ASSERT_EQ(stat, 0);
    NameMapFree();
  }
  void TearDown() override {
    NameMapFree();
    clearModel();
    MODCON = {};
    ParseFixture::TearDown();
  }
  static void clearModel() {
    REGHED = {};
    APPSTA = {};
    MODCNT = {};
    PRPSEQ = {};
    DOFNAM = {};
    XLTSTA = {};
    SYNSTA = {};
  }

  // ----- The model ----------------------------------------------------------------------

  using Name = std::array<int32_t, 2>;
  // The two A4 words of a name of up to eight characters.
  static Name nameWords(std::string_view s) {
    std::string t(s.substr(0, 8));
    t.resize(8, ' ');
    Name w{};
    for (int32_t k = 0; k < 8; ++k) {
      const auto byte = static_cast<uint32_t>(static_cast<unsigned char>(t[static_cast<size_t>(k)]));
      w[static_cast<size_t>(k / 4)] =
          static_cast<int32_t>(static_cast<uint32_t>(w[static_cast<size_t>(k / 4)]) | byte << (8 * (k % 4)));
    }
    return w;
  }
  static void putName(int32_t array, int32_t record, std::string_view name) {
    Name w = nameWords(name);
    int32_t stat = 0;
    ARRIO(-1, array, record, 1, -1, w, {}, stat);
  }
  // NAMES into records 1.. of ARRAY, the count word COUNTWORD set to their number; an empty
  // name leaves its record unwritten.
  static void names(int32_t array, int32_t countWord, std::vector<std::string_view> list) {
    for (size_t k = 0; k < list.size(); ++k) {
      if (!list[k].empty()) putName(array, static_cast<int32_t>(k + 1), list[k]);
    }
    MODCNT.word(countWord) = static_cast<int32_t>(list.size());
  }
  static void points(std::vector<std::string_view> list) { names(1, kCntPoints, list); }

  // Attribute entry (TYPE, ID) labelled NAME with integer (type 0 or below) or real values.
  static void attribute(int32_t type, int32_t id, std::string_view name, std::vector<int32_t> ints,
                        std::vector<float> reals = {}) {
    Name label = nameWords(name);
    int32_t key = id;
    auto count = static_cast<int32_t>(type > 0 ? reals.size() : ints.size());
    ATTFND(-1, label, type, key, count);
    int32_t stat = 0;
    count = static_cast<int32_t>(type > 0 ? reals.size() : ints.size());
    ATTVAL(-1, type, id, 1, count, ints, reals, stat);
  }

  // ----- The command --------------------------------------------------------------------

  struct Answer {
    int32_t item;
    int32_t ulst = 0;
    int32_t mnof = 0;
  };
  // The answers of the command so far; the count is their number, and one more when
  // CHECKING (the token being checked takes the next answer).
  static void answers(const std::vector<Answer>& all, bool checking) {
    for (size_t k = 0; k < all.size(); ++k) {
      const auto i = static_cast<int32_t>(k) + 1;
      int32_t status = -1;
      P4ITEM(i, all[k].item, status);
      ASSERT_EQ(status, 0);
      P4ULST(i, all[k].ulst, status);
      P4MNOF(i, all[k].mnof, status);
    }
    MNUCTL.answerCount = static_cast<int32_t>(all.size()) + (checking ? 1 : 0);
  }

  // The sequence: the position and entries 1..N.
  static std::vector<int32_t> sequence(int32_t n) {
    std::vector<int32_t> s;
    for (int32_t k = 1; k <= n; ++k) s.push_back(PRPSEQ.entry(k));
    return s;
  }
  static void setSequence(int32_t position, std::vector<int32_t> entries) {
    PRPSEQ = {};
    PRPSEQ.position = position;
    for (size_t k = 0; k < entries.size(); ++k) PRPSEQ.entry(static_cast<int32_t>(k) + 1) = entries[k];
  }

  // Degree-of-freedom name K of the first set.
  static void dofName(int32_t k, std::string_view name) {
    std::string t(name);
    t.resize(12, ' ');
    for (int32_t w = 0; w < 3; ++w) DOFNAM.name(k)[static_cast<size_t>(w)] = a4Word(t.substr(static_cast<size_t>(4 * w), 4));
  }
};

}  // namespace kvr::test
