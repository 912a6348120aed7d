// MNUCTL: the control words of the command processor. The six table words say where the
// parts of MNUTAB lie (MNUTBA, MNUTBB); the menu level says how much the prompts show
// (CMDINI); the answer, integer and real counts are the rows of the answer records in use
// (the parse loop; the answer store's accessors read them); the input state tells the
// answer-line reader how the last line ended. All 0 at load.
#pragma once

#include <cstdint>

namespace kvr {

struct MnuCtl {
  int32_t capacity = 0;       // words of MNUTAB (15000)
  int32_t charsPerWord = 0;   // characters per table word (1)
  int32_t menuStart = 0;      // word index of the first menu record
  int32_t menuCount = 0;      // number of menu records
  int32_t menuEnd = 0;        // first word after the menu area
  int32_t trailingCount = 0;  // entries of the trailing text list
  int32_t menuLevel = 0;      // 2, or 3 for expert menus
  int32_t answerCount = 0;    // answer records in use
  int32_t integerCount = 0;   // the row whose INT takes the next integer
  int32_t realCount = 0;      // the row whose REAL takes the next real
  int32_t inputState = 0;     // how the parse loop left the last line
};

inline MnuCtl MNUCTL;

inline constexpr int32_t kMenuLevel = 2;
inline constexpr int32_t kExpertMenuLevel = 3;

}  // namespace kvr
