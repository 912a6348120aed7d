// The texts of the reinforcement and property errors that meshing messages append.
#include <array>
#include <string>
#include <string_view>

#include "messages/catalog.h"
#include "runtime/codtxt.h"

namespace kvr {
namespace {

struct Reason {
  int32_t code;
  std::string_view text;
};

constexpr Reason kReasons[] = {
    {1, "No physical properties"},
    {2, "Cannot decode physical properties"},
    {3, "Cannot decode coordinate system"},
    {4, "Cannot project point onto surface"},
    {5, "Cannot decode surface topology"},
    {6, "No shell elements on surface"},
    {11, "could not be recovered"},
    {12, "is not a bar section"},
    {13, "is not a grid section"},
    {99, "Cannot recover reinforcement definition"},
};

// The name of reinforcement section SECTION as stored, two words of four characters
// each. The record reader of the named arrays (array 27 holds these names) is not built
// yet, so every name reads as blanks.
std::array<int32_t, 2> sectionName(int32_t) { return {kBlankCode, kBlankCode}; }

int32_t append(std::string_view piece, int32_t at, std::span<int32_t> line) {
  std::string s(piece);
  s += "*.";
  int32_t last = at - 1;
  TXTCOD(FText(s.data(), static_cast<int32_t>(s.size())), at, line, last);
  return last;
}

}  // namespace

void REITXT(int32_t code, int32_t section, int32_t position, std::span<int32_t> line,
            int32_t& last) {
  const Reason* reason = nullptr;
  for (const Reason& r : kReasons) {
    if (r.code == code) reason = &r;
  }
  if (reason == nullptr) return;
  int32_t at = position;
  if (code >= 11 && code <= 13) {
    if (section < 1) {
      at = append("One reinforcement section", at, line) + 2;
    } else {
      at = append("Reinforcement section", at, line) + 2;
      REALCD(sectionName(section), 1, 8, at, line, last);
      at = last + 2;
    }
  }
  last = append(reason->text, at, line);
}

}  // namespace kvr
