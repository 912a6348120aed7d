// PLTPAR: the operand block of the plot opcodes. A plot opcode record is one word, the
// opcode; everything it needs lies here, and answers come back here too. 711 words of
// 32 bits (integers signed, reals single precision), in block order; the word numbers
// in the comments are those the drivers address.
//
// A message-box request (MBXREQ, opcode 49) lies inside: the answer word, the title in
// text codes 1..200, then the icon style, the button set and the default button in text
// codes 201..203, and the box text in the second text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct PltPar {
  static constexpr int32_t kMaxPoints = 20;
  static constexpr int32_t kMaxText = 255;

  int32_t outUnit = 0;          // 1: console output (or plot) unit
  int32_t inUnit = 0;           // 2: console input unit
  int32_t status = 0;           // 3: operand word, cleared by opcode 34
  int32_t marker = 0;           // 4: marker number (19)
  int32_t colour = 0;           // 5: colour index (10)
  int32_t lineAttribute = 0;    // 6: line attribute (11)
  int32_t characterSize = 0;    // 7: character size number (12)
  float pointX = 0.0f;          // 8: point of opcodes 14 and 15
  float pointY = 0.0f;          // 9
  int32_t unused10 = 0;
  int32_t pointCount = 0;       // 11: points of opcodes 16 and 29
  std::array<float, kMaxPoints> x{};  // 12-31
  std::array<float, kMaxPoints> y{};  // 32-51
  std::array<int32_t, 20> unused52{};
  int32_t answer = 0;           // 72: the pressed button of a message box (49)
  std::array<int32_t, kMaxText> text{};  // 73-327: text codes of opcodes 18, 22, 48, 49
  int32_t textCount = 0;        // 328: negative for a text inquiry (18)
  int32_t selectTransform = 0;  // 329: operand of opcode 31
  int32_t unused330 = 0;
  std::array<int32_t, kMaxText> text2{};  // 331-585: the message-box text
  int32_t text2Count = 0;       // 586
  int32_t objectKind = 0;       // 587: operand of opcode 25
  std::array<float, 16> deviceMatrix{};  // 588-603: answered by opcode 27
  std::array<int32_t, 18> unused604{};
  float textOffsetY = 0.0f;     // 622
  float textOffsetX = 0.0f;     // 623
  int32_t colourTable = 0;      // 624: operand of opcode 35
  int32_t defineTransform = 0;  // 625: operand of opcode 33
  std::array<int32_t, 82> unused626{};
  float markerScale = 0.0f;     // 708
  std::array<int32_t, 3> unused709{};
};

static_assert(sizeof(PltPar) == 711 * 4);
static_assert(offsetof(PltPar, answer) == (72 - 1) * 4);
static_assert(offsetof(PltPar, textCount) == (328 - 1) * 4);
static_assert(offsetof(PltPar, objectKind) == (587 - 1) * 4);
static_assert(offsetof(PltPar, colourTable) == (624 - 1) * 4);
static_assert(offsetof(PltPar, markerScale) == (708 - 1) * 4);

inline PltPar PLTPAR;

}  // namespace kvr
