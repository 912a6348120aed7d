// REPLYB: the reply buffer of the console, 255 characters, which receives the line read
// by a prompt (opcode 21 and MENPRM). The prompt text of opcode 21 lies directly after
// it, in the same block.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

struct ReplyB {
  static constexpr int32_t kLength = 255;

  std::array<char, kLength> reply = blank();
  std::array<char, kLength> prompt = blank();

  FText replyText() { return FText(reply.data(), kLength); }
  FText promptText() { return FText(prompt.data(), kLength); }

 private:
  static constexpr std::array<char, kLength> blank() {
    std::array<char, kLength> a{};
    a.fill(' ');
    return a;
  }
};

static_assert(offsetof(ReplyB, prompt) == ReplyB::kLength);

inline ReplyB REPLYB;

}  // namespace kvr
