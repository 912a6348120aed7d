// The parser of the command interpreter as the model database reaches it: the prompt for
// a new dump-file name after a failed database dump asks for an answer line. The command
// interpreter stands above the model database and fills PRSHOOKS where it defines it
// (command/getinp.cpp).
#pragma once

#include <cstdint>
#include <span>

#include "runtime/ftext.h"

namespace kvr {

// Results of an answer (GETINP).
inline constexpr int32_t kInputGiven = 1;
inline constexpr int32_t kInputEmpty = 0;
inline constexpr int32_t kInputCancelled = -1;

struct ParserHooks {
  // GETINP (command/getinp.h), with its arguments. Empty (nullptr), as in a library
  // without a command interpreter: no answer line can be had, and the dump prompt takes
  // it as cancelled, as at the end of input.
  void (*answer)(int32_t echo, int32_t journal2, int32_t journal1, int32_t listMode,
                 int32_t menuId, FText title, std::span<const int32_t> prompt,
                 int32_t promptLength, int32_t upcase, std::span<int32_t> answer,
                 int32_t answerMax, int32_t& result) = nullptr;
};

extern ParserHooks PRSHOOKS;

}  // namespace kvr
