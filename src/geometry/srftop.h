// Surface boundary and body topology: the stored boundary of a surface or body turned into
// ordered, oriented chains of lines and points, with the division counts and grading codes
// of the lines.
//
// SIDCHN, a side chain: 5 x 21 words stored column by column. Column 1 is the header: word
// 1 the owner type (first chain of a table only, else 0), word 2 the start point, word 3
// the total number of divisions, word 4 the number of segments m (at most 20), word 5 the
// side's line (a composite line keeps its own number). Column k + 1 is segment k: word 2
// its end point (the start of segment k + 1), word 3 its divisions, word 4 its line, word
// 5 its grading code, negated when the line runs against its own direction.
// SIDTAB, a side table: four chains one after the other (420 words). For a surface the
// chains are its sides 1 to 4 in loop order (chain 4 all zero for three sides), word 1 of
// chain 1 the surface type, and corner i is word 2 of chain i. A set-defined surface
// (types 5 to 8) and the list of a swept body hold instead: word 1 the type, word 2 the
// set, word 3 the number of list entries and the entries from word 4 on (at most 417).
// BODFAC, the faces of a body: six entries of six words; word 1 of entry k is the k-th
// surface: the bottom, the top (0 for none), then the side faces.
//
// Surface record (array 6): words 2 to 5 the boundary lines in loop order (word 5 0 for
// three sides), the type (word 6 / 100) mod 100: 1 and 3 four-sided, 2 and 4 three-sided,
// 5 to 8 set-defined (word 2 a line set, word 3 a count n, word 4 the stored list of n
// further entries), 99 and above no boundary. Body record (array 8): word 1 mod 100 the
// type, words 2 to 7 the bottom, the top and the side faces; types 4 and 5 hold a surface
// set in word 4, a count n in word 5 and their stored list from word 6 (type 4) or 7
// (type 5).
//
// Messages (mesh and geometry, error severity): 2019 the surface and the line that could
// not be divided or the point where the loop breaks; 2030 the body and a surface; 2082 the
// line and the division limit. The sets, the list store and the search work array are
// reached through GEODSP.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct SidChn {
  static constexpr int32_t kWords = 5;
  static constexpr int32_t kColumns = 21;
  static constexpr int32_t kSegments = kColumns - 1;
  std::array<int32_t, kWords * kColumns> words{};

  // Word W (1..5) of column C (1..21).
  int32_t& at(int32_t w, int32_t c) { return words[index(w, c)]; }
  int32_t at(int32_t w, int32_t c) const { return words[index(w, c)]; }

  static constexpr std::size_t index(int32_t w, int32_t c) {
    return static_cast<std::size_t>((c - 1) * kWords + (w - 1));
  }
};

struct SidTab {
  static constexpr int32_t kChains = 4;
  static constexpr int32_t kWords = kChains * SidChn::kWords * SidChn::kColumns;
  static constexpr int32_t kListFirst = 4;                  // the first list entry
  static constexpr int32_t kListEntries = kWords - kListFirst + 1;  // 417
  std::array<SidChn, kChains> chains{};

  // Chain I (1..4).
  SidChn& chain(int32_t i) { return chains[static_cast<std::size_t>(i - 1)]; }
  const SidChn& chain(int32_t i) const { return chains[static_cast<std::size_t>(i - 1)]; }
  // Word W (1..5) of column C (1..84, chain 1 in columns 1 to 21).
  int32_t& at(int32_t w, int32_t c) {
    return chain((c - 1) / SidChn::kColumns + 1).at(w, (c - 1) % SidChn::kColumns + 1);
  }
  // Word K (1..420) of the table read as one list.
  int32_t& word(int32_t k) { return chain(chainOf(k)).words[offsetOf(k)]; }
  int32_t word(int32_t k) const { return chain(chainOf(k)).words[offsetOf(k)]; }

 private:
  static constexpr int32_t kChainWords = SidChn::kWords * SidChn::kColumns;
  static constexpr int32_t chainOf(int32_t k) { return (k - 1) / kChainWords + 1; }
  static constexpr std::size_t offsetOf(int32_t k) {
    return static_cast<std::size_t>((k - 1) % kChainWords);
  }
};

struct BodFac {
  static constexpr int32_t kEntries = 6;
  static constexpr int32_t kWords = 6;
  std::array<int32_t, kEntries * kWords> words{};

  // Word W (1..6) of entry E (1..6).
  int32_t& at(int32_t w, int32_t e) { return words[index(w, e)]; }
  int32_t at(int32_t w, int32_t e) const { return words[index(w, e)]; }

  static constexpr std::size_t index(int32_t w, int32_t e) {
    return static_cast<std::size_t>((e - 1) * kWords + (w - 1));
  }
};

// The side chain of LINE into CHAIN (cleared first): one segment, or for a composite line
// one segment per member walked end to end from the first member's first point (its
// second when the first is an end of the second member), members run backwards carrying
// their grading negated. STATUS 0; 1 when the line does not exist, a composite has no
// member or more than a chain holds (nothing written past segment 20), or the divisions
// exceed the limit 15000 / (9 + 1) of MACHCN words 14 and 15 (message 2082 with the line
// and the limit).
void LINDIV(int32_t line, SidChn& chain, int32_t& status);

// Reverses CHAIN in place: its points in reverse order, its segments too, each grading
// negated; the header's words 1, 3, 4, 5 and word 1 of every segment stay.
void LOPREV(SidChn& chain);

// Renumbers the chains of TABLE (four when word 4 of chain 4 is not 0, else three)
// cyclically: ORIENTATION +1 moves old chain 1 to position START (the others after it in
// order); -1 takes them in the reverse order, old chain 1 at position START, and reverses
// every chain. Word 1 of every column stays where it is, so the table keeps its type.
void CYCREN(int32_t orientation, int32_t start, SidTab& table);

// The side table of SURFACE, its sides joined into one closed loop (a side reversed where
// its ends require it). STATUS 0 also for a surface number of 0 or less and a surface
// without boundary (the table empty); 1 for a surface that does not exist (no message), a
// side that cannot be divided or a loop that does not close (message 2019), or a stored
// list of more than 417 entries (the first 417 kept).
void SRFTOP(int32_t surface, SidTab& table, int32_t& status);

// The topology of BODY (a negative number: the same body, none of the messages 2030): for
// types 1 to 3 the bottom's side table, the top's renumbered so that its corner i lies
// above the bottom's corner i (type 3, an apex body: only word 2 of the top, the apex),
// the side faces in the order of the bottom's sides (FACES entry i + 2 on bottom side i)
// and one EDGES chain per bottom corner running up from it, word 1 of EDGES the body type.
// Type 4 (a swept body) checks its set-defined bottom, top and side faces loop by loop;
// type 5 answers only its stored list in EDGES. STATUS 0; 1 on any failure (tables
// written so far keep what they hold), for a body that does not exist (nothing written)
// and for another type.
void BODTOP(int32_t body, SidTab& bottom, SidTab& top, SidTab& edges, BodFac& faces,
            int32_t& status);

// Appends the start-side words of the surface members of stored set |SET| to the search
// work array from POSITION on: a set whose members carry their kinds gives 1 per surface,
// a set of surfaces each member's first word; all times the sign of SET, and the stretch
// written reversed for a negative SET. POSITION returns as the last position written, or
// unchanged when nothing was (no such set, or POSITION below 1).
void LOPFND(int32_t set, int32_t& position);

}  // namespace kvr
