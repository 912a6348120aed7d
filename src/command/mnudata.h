// The constant description of the menu keyword table: its keyword entries and its menu
// records in table order. MNUTBA and MNUTBB lay them out word by word in MNUTAB; every
// word index (of a keyword entry, of a menu record, of a link's target) follows from the
// order, so the description names keywords by number and menus by id only.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kvr::mnu {

// A keyword entry: its number and its characters (upper case, values 40 to 90). The
// token classes have no characters: their one word holds the class code, equal to the
// number.
struct KeywordEntry {
  int32_t number;
  std::string_view spelling;
};
constexpr KeywordEntry tokenClass(int32_t code) { return {code, {}}; }

// The token classes.
inline constexpr int32_t kInteger = 1;
inline constexpr int32_t kReal = 2;
inline constexpr int32_t kNdc3 = 3;  // first of a pair of ndc values
inline constexpr int32_t kNdc4 = 4;  // second of the pair
inline constexpr int32_t kText = 5;
inline constexpr int32_t kFile = 6;
inline constexpr int32_t kXCoord = 7;
inline constexpr int32_t kYCoord = 8;
inline constexpr int32_t kZCoord = 9;
inline constexpr int32_t kLastTokenClass = 9;

// The keyword whose spelling depends on the vocabulary.
inline constexpr int32_t kVocabularyKeyword = 220;
inline constexpr std::string_view kOrdinarySpelling = "MESHING";
inline constexpr std::string_view kGridSpelling = "GRID";

// One row of the menu description: a menu record's head (its id), or one of its items
// with the id of the menu that follows it: negative when that menu's input may be left
// out, 0 when the command is complete.
enum class Row : int8_t { Menu, Keyword, AnyText, Typed };
struct MenuRow {
  Row row;
  int32_t value;  // menu id, keyword number (token classes included), or argument kind
  int32_t next;
};
inline constexpr int32_t kEnd = 0;
constexpr int32_t opt(int32_t menuId) { return -menuId; }
constexpr MenuRow menu(int32_t id) { return {Row::Menu, id, 0}; }
constexpr MenuRow kw(int32_t keyword, int32_t next) { return {Row::Keyword, keyword, next}; }
constexpr MenuRow cls(int32_t code, int32_t next) { return {Row::Keyword, code, next}; }
constexpr MenuRow anyText(int32_t next) { return {Row::AnyText, 0, next}; }
constexpr MenuRow typed(int32_t kind, int32_t next) { return {Row::Typed, kind, next}; }

inline constexpr int32_t kKeywordCount = 159;
inline constexpr int32_t kMaxKeywordNumber = 1066;
inline constexpr int32_t kMenuCount = 89;
inline constexpr int32_t kMenuRowCount = 310;  // the 89 heads and their 221 items

extern const std::array<KeywordEntry, kKeywordCount> kKeywords;
extern const std::array<MenuRow, kMenuRowCount> kMenus;

}  // namespace kvr::mnu
