// The set directory and the bit maps of the named sets, which the set loader of the
// writing road fills and the object lists of the command interpreter search.
//
// A named set of nodes (key 18) or elements (key 19) is stored as a bit map over every
// node or element of the model, one bit per entity in the order of the nodal coordinates
// or the element topology (bit k for the entity of sequence number k), and one entry of
// the set directory (dataset type 2).
//
// Bit map (dataset type 10, pages chained as every loader page, word 5 = 0): page 1 keeps
// the entity count in word H + 1 and its bits from word H + 2, every later page its bits
// from word H + 1; B bits per word (MACHCN word 1, 31), so page 1 holds B x (P - H - 1)
// bits and every other page B x (P - H). The map always has the pages to cover every
// entity of its kind.
//
// Set directory: pages chained by word 4 (-1 on the last), (P - H) div 46 entries of 46
// words from word H + 1. Entry: status (1 in use, 0 never used, -1 deleted; any other
// value is a corrupt directory), 5002, the map's first page, the kind (2 nodes, 1
// elements), 0, the name as 8 codes, day, month and year of loading, the title as 30
// codes.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

inline constexpr int32_t kSetNameCodes = 8;
inline constexpr int32_t kSetTitleCodes = 30;

inline constexpr int32_t kSetDirectoryType = 2;
inline constexpr int32_t kSetMapType = 10;
inline constexpr int32_t kSetEntryWords = 46;

// Kinds of a set (the selector of DIPES and word 4 of a directory entry).
inline constexpr int32_t kElementSet = 1;
inline constexpr int32_t kNodeSet = 2;

// Finds the set NAME (8 codes) in the directory, reading its pages into page area 1 of
// BUFFER. NAME is compared with each stored name up to NAME's last non-blank code (CODCMP),
// so a shorter NAME abbreviates. STATUS: 0 an exact match; n above 0, NAME abbreviates
// exactly one set by n codes; -2 it abbreviates more than one; -1 no match, an all-blank
// NAME, or no directory. For 0 and n the outputs describe the set found: NAMEOUT its 8
// codes, KIND word 4 (1 where it is 0), WORD2 and FIRSTPAGE words 2 and 3 of its entry
// (otherwise blank codes and 0). CORRUPT is 1 when the search met an entry of a status
// other than 1, 0 and -1, and stopped there (STATUS then -1).
void SETFND(std::span<int32_t> buffer, std::span<const int32_t> name, int32_t& status,
            std::span<int32_t> nameOut, int32_t& kind, int32_t& word2, int32_t& firstPage,
            int32_t& corrupt);

// Adds the directory entry of a loaded set: NAME (8 codes), KIND, TITLE (30 codes), the
// map's FIRSTPAGE, dated by DATTIM. It takes the first entry of status 0 or -1; with none
// a new directory page, linked after the last one, or recorded as the directory when
// there is none. STATUS is 0.
void SETADD(std::span<int32_t> ldpage, std::span<int32_t> ldscr, std::span<const int32_t> name,
            int32_t kind, std::span<const int32_t> title, int32_t firstPage, int32_t& status);

// Sets bit (K - 1) mod B of word (K - 1) div B + 1 of WORDS to V (0 or 1), keeping the
// other bits of the word, which is first taken as its absolute value. A K below 1 or
// beyond WORDS changes nothing.
void FLGPUT(std::span<int32_t> words, int32_t k, int32_t v);

// Page-buffer slot SLOT (1 or 2) of BUFFER forgets its page (DBLEVL), FIRST receives the
// slot's first word, and the P words from there are set to FILL (cut at BUFFER's end).
// Another slot answers FIRST 0 and changes nothing.
void BUFCLR(std::span<int32_t> buffer, int32_t slot, int32_t fill, int32_t& first);

// Page 1 of the file of class CLS is read into LDSCR, its words 6 and 7 set to the file's
// next-page word and free-page head, and written back; then, unless MODE is 2, word 4 of
// page R of CLS is set to S (a page R of 0 or below is left alone).
void HDRPUT(std::span<int32_t> ldscr, int32_t mode, int32_t cls, int32_t r, int32_t s);

}  // namespace kvr
