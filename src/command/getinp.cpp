#include "command/getinp.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "command/synsta.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/iounit.h"

namespace kvr {
namespace {

// The unit of a terminal slot, or the standard unit while start-up has not filled it.
int32_t terminalUnit(int32_t slot, int32_t standard) {
  const int32_t unit = IOUNIT.slot(slot);
  return unit != 0 ? unit : standard;
}

// TEXT from its first to its last blank-free character.
std::string_view stripBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

void GETINP(int32_t echo, int32_t /*journal2*/, int32_t /*journal1*/, int32_t /*listMode*/,
            int32_t /*menuId*/, FText /*title*/, std::span<const int32_t> prompt,
            int32_t promptLength, int32_t upcase, std::span<int32_t> answer,
            int32_t answerMax, int32_t& result) {
  const int32_t savedActive = SYNSTA.active;
  SYNSTA.active = 0;

  const int32_t n = std::clamp(promptLength, 0,
                               std::min(kMaxTextCodes, static_cast<int32_t>(prompt.size())));
  FixedText promptText(kMaxTextCodes);
  CODTXT(prompt, n, promptText);
  const std::string shown(stripBlanks(promptText.view()));

  const int32_t out = terminalUnit(kSlotTerminalOutput, io::kStdoutUnit);
  if (echo > 0) io::writeRecord(out, " " + shown);
  io::writeNonAdvancing(out, shown);

  std::string reply;
  const int32_t iostat = io::readRecord(terminalUnit(kSlotTerminalInput, io::kStdinUnit), reply);
  reply.resize(std::min(reply.size(), reply.find('\0')));
  const std::string_view given = stripBlanks(reply);

  const int32_t room = std::clamp(answerMax, 0, static_cast<int32_t>(answer.size()));
  std::fill_n(answer.begin(), room, kBlankCode);
  if (iostat != io::kIosOk || given == "/") {
    result = kInputCancelled;
  } else if (given.empty()) {
    result = kInputEmpty;
  } else {
    const size_t count = std::min(given.size(), static_cast<size_t>(room));
    for (size_t k = 0; k < count; ++k) {
      char c = given[k];
      if (upcase == 1 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      answer[k] = codeOf(c);
    }
    result = kInputGiven;
  }
  SYNSTA.active = savedActive;
}

}  // namespace kvr
