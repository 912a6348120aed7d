// Calls of the object-type lists and checks as the typed-argument dispatch makes them,
// and the answers of the command they read. The answer store must be set up (ARRREG
// mode 4) and the character tables set (CHRSET).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "command/ansrec.h"
#include "command/argval.h"
#include "command/cmdlin.h"
#include "command/mnuctl.h"
#include "command/objlst.h"
#include "runtime/codtxt.h"

namespace kvr::test {

struct ObjectCalls {
  struct Entry {
    int32_t kind;
    int32_t value;
    std::string text;  // trimmed
    bool operator==(const Entry&) const = default;
    friend void PrintTo(const Entry& e, std::ostream* os) {
      *os << "{" << e.kind << ", " << e.value << ", \"" << e.text << "\"}";
    }
  };
  using Entries = std::vector<Entry>;

  struct Listed {
    int32_t status = -9;
    Entries entries;
  };

  // OBJLST of TYPE in mode 3 into a list of MAXIMUM entries.
  static Listed list(int32_t type, std::span<int32_t> context = {}, int32_t maximum = 100) {
    ValueList values(maximum, 80);
    Listed l;
    OBJLST(context, type, kListObjects, 0, 0, values, l.status);
    for (int32_t k = 1; k <= values.count; ++k) {
      l.entries.push_back({values.kind(k), values.value(k), values.text(k).trimmed()});
    }
    return l;
  }

  struct Checked {
    ArgumentCheck check;
    std::vector<int32_t> text;
    std::string copied() const {
      std::string s;
      for (int32_t k = 0; k < check.listValue && k < static_cast<int32_t>(text.size()); ++k) {
        s.push_back(charOf(text[static_cast<size_t>(k)]));
      }
      return s;
    }
  };

  // OBJCHK of TOKEN (standing from position 3 of a line, a blank and more after it) for
  // TYPE in INPUTMODE, next menu 64 and sign 1 coming in, ROOM codes of text store left.
  static Checked check(int32_t type, const std::string& token, int32_t inputMode = 1,
                       std::span<int32_t> context = {}, size_t room = 255) {
    Checked c;
    c.text.assign(room, kBlankCode);
    c.check.text = c.text;
    c.check.nextMenu = 64;
    c.check.sign = 1;
    std::vector<int32_t> line;
    for (char ch : "  " + token + " Z") line.push_back(codeOf(ch));
    OBJCHK(context, type, line, 3, static_cast<int32_t>(token.size()) + 2, inputMode, c.check);
    return c;
  }

  // The answers of the command: record k has ITEM ITEMS[k - 1]; the count is their number.
  static void answers(const std::vector<int32_t>& items) {
    MNUCTL.answerCount = static_cast<int32_t>(items.size());
    for (size_t k = 0; k < items.size(); ++k) {
      int32_t status = -1;
      P4ITEM(static_cast<int32_t>(k) + 1, items[k], status);
      ASSERT_EQ(status, 0);
    }
  }

  // Record K (1..count) gets the list value VALUE.
  static void listValue(int32_t k, int32_t value) {
    int32_t status = -1;
    P4ULST(k, value, status);
    ASSERT_EQ(status, 0);
  }

  // The text reference of TEXT, put into the answer text store from position 1 on.
  static int32_t text(const std::string& t) {
    for (size_t k = 0; k < t.size(); ++k) CMDLIN.text(static_cast<int32_t>(k) + 1) = codeOf(t[k]);
    return textReference(1, static_cast<int32_t>(t.size()));
  }
};

}  // namespace kvr::test
