// The fixture of the catalogue tests: the message unit and both journal channels write to
// files, and every line handed to a line writer or the host's message hook is recorded
// with its writer and flag.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "../runtime/msgfixture.h"
#include "runtime/codtxt.h"
#include "runtime/msglin.h"

namespace kvr::test {

struct Call {
  LineWriter writer;
  int32_t flag;
  std::string text;
};
inline std::vector<Call> gCalls;

class Catalogue : public MessageFixture {
 protected:
  void SetUp() override {
    MessageFixture::SetUp();
    enableJournals();
    gCalls.clear();
    setLineWriterObserver([](LineWriter w, int32_t flag, FText text) {
      gCalls.push_back({w, flag, text.trimmed()});
    });
  }
  // The journal copy of LINE, as both channels hold it.
  static std::string journalled(const std::string& line) { return "  * " + line; }
  // The texts handed to the writers since the last clear.
  static Lines handed() {
    Lines lines;
    for (const Call& c : gCalls) lines.push_back(c.text);
    return lines;
  }
  // The code line of TEXT.
  static std::vector<int32_t> codes(std::string_view text) {
    std::vector<int32_t> line;
    for (char c : text) line.push_back(codeOf(c));
    return line;
  }
};

}  // namespace kvr::test
