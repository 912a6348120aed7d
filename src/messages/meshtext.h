// The engine of the meshing and geometry messages 0000-0349: each message is described by
// up to three lines in a small notation that the engine reads at every call.
//
//  - "text": a piece exactly as stored, its blanks included.
//  - {Nk}: the eight characters packed in value slots k and k+1, trailing blanks kept;
//    {Sk}: the same name without its trailing blanks; {Ck}: the four characters of slot
//    k; {ck}: its first character; {Ik}: the count held as a real in slot k, rounded back
//    as sign x whole part of (|x| + 0.1); {Tk}: the real cut toward zero; {Rk,d}: the real
//    with d significant digits.
//  - One blank between two pieces: the next starts two positions after the last one
//    filled. "&" between them: it starts directly after it.
//  - (col c) before the first piece places it at column c; otherwise line 1 starts at
//    column 2, after the severity letter, and lines 2 and 3 at column 1.
//
// A message whose pieces depend on its values has one description per variant, one after
// the other under the same number; the selector of the first picks the variant.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "runtime/codtxt.h"
#include "runtime/msgarg.h"

namespace kvr {

// The value slots of a message, as posted. A slot beyond the ten (the second word of a
// name in slot 10) reads as four blanks.
struct MeshSlots {
  std::array<int32_t, MsgArg::kMaxValues + 1> words;

  int32_t word(int32_t k) const {
    return k >= 1 && k <= MsgArg::kMaxValues ? words[static_cast<size_t>(k - 1)] : kBlankCode;
  }
  float real(int32_t k) const;
  // {Ik}: the count in slot K.
  int32_t count(int32_t k) const;
};

struct MeshText {
  int32_t number;
  std::string_view line1;
  std::string_view line2 = {};
  std::string_view line3 = {};
  // Picks variant v, the v-th description after this one (0 this one).
  int32_t (*select)(const MeshSlots&) = nullptr;
  // When not empty: a line composed first, behind the severity letter, and printed at
  // once to the message unit only; line 1 is then composed on a blank line, no letter.
  std::string_view printed = {};
};

// Composes and writes message CODE (the severity in its thousands digit) from TEXTS (in
// number order) with the values in SLOTS. A number of the range without a description is
// written as its tag alone.
void writeMeshMessage(int32_t code, std::span<const MeshText> texts, const MeshSlots& slots);

}  // namespace kvr
