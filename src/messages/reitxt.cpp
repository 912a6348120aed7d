// The texts of the reinforcement and property errors that meshing messages append.
#include <array>
#include <bit>
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

// Named array 27 holds the names of the reinforcement sections, two words each.
constexpr int32_t kSectionNames = 27;

// The name of reinforcement section SECTION as stored, four characters per word.
std::array<int32_t, 2> sectionName(int32_t section) {
  std::array<float, 2> name{};
  if (TXTHOOKS.recordIo != nullptr) TXTHOOKS.recordIo(1, kSectionNames, section, name);
  return {std::bit_cast<int32_t>(name[0]), std::bit_cast<int32_t>(name[1])};
}

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
  // Each part starts after the one before; LAST becomes the last position really filled,
  // so a part cut off at the line's end does not move it.
  int32_t end = position - 1;
  int32_t at = position;
  auto advance = [&](int32_t filled) {
    if (filled >= at) end = filled;
    at = filled + 2;
  };
  if (code >= 11 && code <= 13) {
    advance(append(section < 1 ? "One reinforcement section" : "Reinforcement section", at, line));
    if (section >= 1) {
      int32_t filled = at - 1;
      REALCD(sectionName(section), 1, 8, at, line, filled);
      advance(filled);
    }
  }
  advance(append(reason->text, at, line));
  last = end;
}

}  // namespace kvr
