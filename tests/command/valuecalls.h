// Value-list builders and token checkers called as the typed-argument dispatch calls
// them: a builder fills a value list of entries of 80 characters, a checker tests one
// token of a line and copies what it answers into the text store. The character tables
// must be set (CHRSET).
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "command/argval.h"
#include "runtime/codtxt.h"

namespace kvr::test {

struct ValueCalls {
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

  // BUILD(KIND, list, status) over a value list of MAXIMUM entries of 80 characters.
  template <class Builder>
  static Listed listWith(Builder build, int32_t kind, int32_t maximum) {
    ValueList values(maximum, 80);
    Listed l;
    build(kind, values, l.status);
    for (int32_t k = 1; k <= values.count; ++k) {
      l.entries.push_back({values.kind(k), values.value(k), values.text(k).trimmed()});
    }
    return l;
  }

  struct Checked {
    ArgumentCheck check;
    std::vector<int32_t> store;
    // The codes the check copied into the text store.
    std::string text() const {
      std::string s;
      for (int32_t k = 0; k < check.listValue && k < static_cast<int32_t>(store.size()); ++k) {
        s.push_back(charOf(store[static_cast<size_t>(k)]));
      }
      return s;
    }
  };

  // RUN(line, first, last, check) on TOKEN, standing from position 3 of a line with a
  // blank and more after it; next menu 64, sign 1 and value code -77 coming in, ROOM codes
  // of text store left.
  template <class Checker>
  static Checked checkWith(Checker run, const std::string& token, size_t room) {
    Checked c;
    c.store.assign(room, kBlankCode);
    c.check.text = c.store;
    c.check.nextMenu = 64;
    c.check.sign = 1;
    c.check.valueCode = -77;
    std::vector<int32_t> line;
    for (char ch : "  " + token + " Z") line.push_back(codeOf(ch));
    run(line, 3, static_cast<int32_t>(token.size()) + 2, c.check);
    return c;
  }
};

}  // namespace kvr::test
