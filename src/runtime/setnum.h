// SETNUM: the 44 numbered settings. Each row fixes where its text comes from (a settings
// lookup with application word "Quorin", or the host's resource reader), how the text
// becomes the integer, real or text result, and the default when nothing passes.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kvr {

enum class SettingSource : uint8_t {
  Lookup,    // the settings lookup: program, section, key
  Resource,  // the host's resource reader: section, key
};

enum class SettingConversion : uint8_t {
  Prefixes,       // the integer of the first prefix the value begins with, else the default
  LowWritten,     // "LOW": 0 or 1 by the writing road's highest numbers, else the default
  LowModel,       // "LOW": 0 or 1 by the model counts and offsets, else the default
  TokenInteger,   // the first token when it is an integer, else the default
  TokenReal,      // the first token as a real when it is a number, else 0.0
  TokenAnyKind,   // the token reader's integer, whatever the token's kind
  ReadReal,       // the value read as a real, else three times the model tolerance
  ReadInteger,    // the value read as an integer, else the default
  Text,           // the text is the value
  StatusAndText,  // the integer is the lookup status, the text the value
  Filter,         // key "FILTER-" + filter name; the integer is the value's length
};

// A value that begins with TEXT (compared exactly, from the first character) gives VALUE.
struct SettingPrefix {
  std::string_view text;
  int32_t value = 0;
};

struct SettingRow {
  SettingSource source;
  std::string_view program;  // lookups only
  std::string_view section;
  std::string_view key;
  bool isSwitch;             // the lookup takes the key as a switch
  int32_t valueLength;       // the value text the lookup reads into
  SettingConversion conversion;
  int32_t defaultValue;
  std::array<SettingPrefix, 4> prefixes;  // tried in order; an empty text ends the list
};

inline constexpr int32_t kSettingCount = 44;

// Row N (1..44) of the table.
const SettingRow& settingRow(int32_t n);

}  // namespace kvr
