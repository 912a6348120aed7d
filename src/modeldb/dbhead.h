// The model file: a saved model (or a database dump) is one paged file that holds an image
// of the in-memory model, read and written through RANDIO in pages of PS words, PS being
// the model page size of DBPARM (the product of its two page-size factors, 2000 words).
//
// Page 1 is the header (DBHEAD holds it in memory; word numbers below). Pages 2 onward
// hold, for named array k = 1 to n with a count, its records 1 to count in order, each of
// ARRWID(k) words, REAL words bit for bit; records run on across page boundaries and the
// last page is written whole. Format 9071 is current; the load accepts the generations
// 9034-9038, 9060-9066 and 9070 and brings them up to date (dbupgr.h), and 9033, an
// indexed layout of its own, is read by DBLOLD alone.
//
// HDRCHK checks the header of a file and loads it (DBLOAD or DBLOLD); DBADIR reads page 1
// into the header record, the count table, the title and the display words. Every
// refusal posts E1150 first, then its cause; a load that fails after the arrays were
// extended releases every named array (ARRREL). Nothing read from a file is trusted: a
// page past its end, or a count, offset or page number that does not fit the file, fails
// the load with E2180.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kvr {

// Words of the header page.
inline constexpr int32_t kHeadValidity = 1;      // 1 complete; 0 while a dump is written
inline constexpr int32_t kHeadPageSize = 2;      // PS
inline constexpr int32_t kHeadFormat = 4;        // the format code
inline constexpr int32_t kHeadCountsBefore = 10; // count of named array k in word 10 + k
inline constexpr int32_t kHeadCreated = 101;     // 101-106 day .. second, written new
inline constexpr int32_t kHeadRewritten = 107;   // 107-112 the same, last rewritten
inline constexpr int32_t kHeadOldTitle = 121;    // 121-140 the title, formats below 9062
inline constexpr int32_t kHeadTotals = 151;      // 151-156 the entity totals
inline constexpr int32_t kHeadTitle = 201;       // 201-440 the title, 240 codes
inline constexpr int32_t kHeadModelState = 501;  // MODCNT word 72
inline constexpr int32_t kHeadDisplay = 502;     // 502-551 the display words
inline constexpr int32_t kHeadWords = 551;       // the last word the header uses

// Format codes.
inline constexpr int32_t kFormatCurrent = 9071;
inline constexpr int32_t kFormatIndexed = 9033;  // the indexed layout of DBLOLD
inline constexpr int32_t kFormatOldest = 9031;   // below it no format is known

// The header record that DBADIR fills, as the model opening reads it.
inline constexpr int32_t kRecordFormat = 1;
inline constexpr int32_t kRecordCounts = 2;      // n, the number of array counts
inline constexpr int32_t kRecordTotals = 3;      // 3-8 header words 151-156
inline constexpr int32_t kRecordCreated = 9;     // 9-14 header words 101-106
inline constexpr int32_t kRecordRewritten = 16;  // 16-21 header words 107-112
inline constexpr int32_t kRecordModelState = 22; // header word 501

// DBHEAD: the header page in memory and the model's session words: the format code of the
// file being loaded (DBFMT), the model page size kept by HDRCHK, the header record, and
// the model's title (240 codes) and display words (50). All zero at load.
struct DbHead {
  static constexpr int32_t kRecordWords = 22;
  static constexpr int32_t kMaxCounts = 37;
  static constexpr int32_t kTitleCodes = 240;
  static constexpr int32_t kOldTitleCodes = 20;
  static constexpr int32_t kDisplayWords = 50;
  static constexpr int32_t kTotals = 6;
  static constexpr int32_t kMoment = 6;

  // Never shorter than the words the header uses, whatever the page size.
  std::vector<int32_t> page = std::vector<int32_t>(kHeadWords, 0);
  int32_t format = 0;
  int32_t pageSize = 0;
  std::array<int32_t, kRecordWords> record{};
  std::array<int32_t, kTitleCodes> title{};
  std::array<int32_t, kDisplayWords> display{};

  int32_t& word(int32_t k) { return page[static_cast<std::size_t>(k - 1)]; }
  int32_t& recordWord(int32_t k) { return record[static_cast<std::size_t>(k - 1)]; }
};

inline DbHead DBHEAD;
inline int32_t& DBFMT = DBHEAD.format;

// HDRCHK statuses and those of the loads.
inline constexpr int32_t kLoadDone = 0;
inline constexpr int32_t kLoadFailed = 1;
inline constexpr int32_t kLoadNoMemory = 2;

// Checks the header of the model file on UNIT and loads it. PS becomes the model page
// size word first. MODE 0 or below prepares a new model: the title blank and DBFMT 9071
// (E1150, E1140 when PS exceeds the store's buffer size). MODE 1 loads format 9071 only
// (DBLOAD); the older formats are refused with W2100. MODE 2 or above upgrades: 9033
// through DBLOLD, 9034-9038, 9060-9066 and 9070 through DBLOAD, DBFMT 9071 afterwards;
// 9071 itself is refused with W2100. A validity word other than 1 (M431), a page size
// other than PS (M432) and an unknown format (M433) are refused. STATUS 0 loaded or
// ready; 1 refused or the load failed.
void HDRCHK(int32_t mode, int32_t unit, int32_t& status);

// Reads page 1 of UNIT into DBHEAD and fills the header RECORD, the array COUNTS (n of
// them, at most what COUNTS holds), the TITLE and the DISPLAY words. MODE 1 also copies the
// counts into the records-in-use words ARRLEN. n is 37 from format 9066, 33 for 9065, 32
// for 9064, 30 for 9062 and 9063, 26 below; counts of older formats are corrected to the
// current record widths (below 9060 count 13 x 42; below 9070 counts 4, 6, 8, 10 and 24 x
// 16, 14, 15, 20 and 12). The title comes from words 201-440, below 9062 from words 121-140
// with the rest blank; the display words from 502-551 from 9066 on, else blank. STATUS 0
// usable; 1 format 9033; 2 an unknown format (its code in record word 1); 3 a validity
// word other than 1; 4 a page size other than PS; 5 page 1 lies past the end of the file.
void DBADIR(int32_t mode, int32_t unit, std::span<int32_t, DbHead::kRecordWords> record,
            std::span<int32_t> counts, std::span<int32_t, DbHead::kTitleCodes> title,
            std::span<int32_t, DbHead::kDisplayWords> display, int32_t& status);

// Loads the model file on UNIT (formats 9034 to 9071) into the named arrays of the model
// registry in force, then runs the upgrade chain of its format (DBFMT). STATUS 0 done; 1 a
// read, count or format failure, or a failed upgrade; 2 no memory (ALCMSG).
void DBLOAD(int32_t unit, int32_t& status);

// Loads a format-9033 file on UNIT through its index pages, rewrites its attribute list to
// the later layout, converts its flag attributes (DIGMSK) and runs every upgrade step.
// STATUS as DBLOAD.
void DBLOLD(int32_t unit, int32_t& status);

// Moves N values between the caller's array and the page buffer PAGE (PS words) from word
// POSITION on: MODE 1 reads, any other MODE writes. Whenever the position passes the end
// of the page and values remain, a read advances PAGECOUNTER and reads that page, a write
// writes the buffer as page PAGECOUNTER, clears it and advances; the position restarts at
// 1. TYPE -1 moves through IBUF, any other TYPE through RBUF, bit for bit; never more
// than the caller's buffer holds. STATUS 0; -1 a page read past the end of the file.
void PAGXFR(int32_t unit, int32_t ps, std::span<int32_t> page, int32_t& pageCounter,
            int32_t& position, int32_t n, int32_t mode, int32_t type, std::span<int32_t> ibuf,
            std::span<float> rbuf, int32_t& status);

// Reports a failed extension of named ARRAY to COUNT records during a load: E1150, E2100,
// then E2130 for an extension STATUS of 2 or 3, else E2110, and the line " * Trying to
// allocate memory for < COUNT > records of array < ARRAY >" on the message unit and both
// journal channels.
void ALCMSG(int32_t status, int32_t count, int32_t array);

}  // namespace kvr
