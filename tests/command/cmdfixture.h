// The fixture of the prompt, argument and echo tests: the message unit and both journal
// channels write to files, the character tables are set, the answer store is set up as the
// reading road does (ARRREG mode 4), and the menu table is built (ordinary vocabulary) and
// converted. Every block these routines own or read starts in its load state.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../runtime/msgfixture.h"
#include "command/ansrec.h"
#include "command/cmdlin.h"
#include "command/mnuctl.h"
#include "command/mnutab.h"
#include "modeldb/arrreg.h"
#include "modeldb/corsto.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/prmlst.h"
#include "runtime/reghed.h"

namespace kvr::test {

class CommandFixture : public MessageFixture {
 protected:
  void SetUp() override {
    MessageFixture::SetUp();
    CHRSET();
    clearCommandBlocks();
    CoreFreeFile(-1);
    ARRDSC = {};
    int32_t status = -1;
    ARRREG(4, 0, status);
    ASSERT_EQ(status, 0);
    MNUTBA();
    MNUCNV(status);
    ASSERT_EQ(status, 0);
    MNUCTL.menuLevel = kMenuLevel;
  }

  void TearDown() override {
    CoreFreeFile(-1);
    ARRDSC = {};
    clearCommandBlocks();
    MessageFixture::TearDown();
  }

  static void clearCommandBlocks() {
    CMDLIN = {};
    MNUCTL = {};
    MNUTAB = {};
    PRMLST = {};
  }

  // The code line of TEXT.
  static std::vector<int32_t> codes(std::string_view text) {
    std::vector<int32_t> line;
    for (char c : text) line.push_back(codeOf(c));
    return line;
  }

  // Codes F..L of LINE as characters.
  static std::string chars(std::span<const int32_t> line, int32_t f, int32_t l) {
    std::string s;
    for (int32_t k = f; k <= l; ++k) s.push_back(charOf(line[static_cast<size_t>(k - 1)]));
    return s;
  }

  // Puts TEXT into the answer text store from position START on and answers its reference.
  static int32_t storeText(std::string_view text, int32_t start) {
    for (size_t k = 0; k < text.size(); ++k) {
      CMDLIN.text(start + static_cast<int32_t>(k)) = codeOf(text[k]);
    }
    return textReference(start, static_cast<int32_t>(text.size()));
  }

  // Puts TEXT on the command line from position 1 on, blanks after it.
  static void setCommandLine(std::string_view text) {
    CMDLIN.lineCodes.fill(kBlankCode);
    for (size_t k = 0; k < text.size(); ++k) CMDLIN.line(static_cast<int32_t>(k) + 1) = codeOf(text[k]);
  }

  // The word index of the menu record with id ID, walked from the menu-area start.
  static int32_t record(int32_t id) {
    for (int32_t r = MNUCTL.menuStart; r < MNUCTL.menuEnd; r += 2 + 2 * MNUTAB.word(r + 1)) {
      if (MNUTAB.word(r) == id) return r;
    }
    return 0;
  }

  // Composes entries past the menu area, as a table with a trailing part would hold them.
  // Each answers the word index of what it wrote.
  int32_t addKeyword(int32_t number, std::string_view spelling) {
    const int32_t at = free_;
    MNUTAB.word(at) = number * kKeywordHeaderBase + static_cast<int32_t>(spelling.size());
    for (size_t k = 0; k < spelling.size(); ++k) {
      MNUTAB.word(at + 1 + static_cast<int32_t>(k)) = codeOf(spelling[k]);
    }
    free_ += 1 + static_cast<int32_t>(spelling.size());
    return at;
  }
  struct Item {
    int32_t item;  // a keyword entry's word index, 0 any text, -kind a typed argument
    int32_t link;
  };
  int32_t addMenu(int32_t id, std::initializer_list<Item> items) {
    const int32_t at = free_;
    MNUTAB.word(at) = id;
    MNUTAB.word(at + 1) = static_cast<int32_t>(items.size());
    int32_t w = at + 2;
    for (const Item& i : items) {
      MNUTAB.word(w) = i.item;
      MNUTAB.word(w + 1) = i.link;
      w += 2;
    }
    free_ = w;
    return at;
  }

  // The keyword entry of keyword NUMBER in the built table.
  static int32_t keywordEntry(int32_t number) {
    for (int32_t i = 1; i < MNUCTL.menuStart; i += 1 + MNUTAB.word(i) % kKeywordHeaderBase) {
      if (MNUTAB.word(i) / kKeywordHeaderBase == number) return i;
    }
    return 0;
  }

  // Display entry K of PRMLST, trimmed.
  static std::string shown(int32_t k) { return PRMLST.text(k).trimmed(); }

 private:
  int32_t free_ = 14000;  // far past the menu area of either vocabulary
};

}  // namespace kvr::test
