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
#include "valuecalls.h"

namespace kvr::test {

struct ObjectCalls : ValueCalls {
  // OBJLST of TYPE in mode 3 into a list of MAXIMUM entries.
  static Listed list(int32_t type, std::span<int32_t> context = {}, int32_t maximum = 100) {
    return listWith([&](int32_t t, ValueList& values, int32_t& status) {
      OBJLST(context, t, kListObjects, 0, 0, values, status);
    }, type, maximum);
  }

  // OBJCHK of TOKEN for TYPE in INPUTMODE (see checkWith).
  static Checked check(int32_t type, const std::string& token, int32_t inputMode = 1,
                       std::span<int32_t> context = {}, size_t room = 255) {
    return checkWith([&](std::span<const int32_t> line, int32_t first, int32_t last,
                         ArgumentCheck& check) {
      OBJCHK(context, type, line, first, last, inputMode, check);
    }, token, room);
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
