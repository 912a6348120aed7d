// The control records of a model database and its dataset directories.
//
// The index file holds fixed-length control records of seven classes in chains of
// 100-word pages. They form a tree: user levels (class 101), project levels (102) under
// a user level, models (103) under a project level, and under a model its load cases
// (104), its dataset directory (105), its results attributes (106) and the component
// list of an assembly (107). An index page carries its number in word 2, its class in
// word 3 and the next page of its class's chain in word 4 (0 for the last); entry I of a
// class of record length L occupies words 5 + L x (I - 1) to 4 + L x I. Record lengths,
// entries per page and name words are those of IDXLAY.
//
// The writing road keeps one record of each class in memory (CTLREC) with the (page,
// entry) it came from, loads it from the index page buffer PGCUR, changes it through the
// word accessors (ctlwords.h) and writes it back with CRPUT.
//
// Record words of state: word 1 above 0 is an entry in use, 0 a free entry (and the end
// of the used entries of its page), below 0 a deleted entry. Names are 6 character codes
// (code lines) in words 2-7 and are compared with CODCMP.
//
// Easy to get wrong: every routine here shares PGCUR, so after any of them the buffer may
// hold another page; CRPUT reads the record's page again when it does not hold it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "modeldb/dbpage.h"

namespace kvr {

inline constexpr int32_t kUserLevelClass = 101;
inline constexpr int32_t kProjectLevelClass = 102;
inline constexpr int32_t kModelClass = 103;
inline constexpr int32_t kLoadCaseClass = 104;
inline constexpr int32_t kDirectoryClass = 105;
inline constexpr int32_t kResultsClass = 106;
inline constexpr int32_t kComponentClass = 107;
inline constexpr int32_t kFirstControlClass = kUserLevelClass;
inline constexpr int32_t kLastControlClass = kComponentClass;

// The first page of the user-level chain.
inline constexpr int32_t kUserLevelPage = 2;
// Words of a control-record page before its first entry.
inline constexpr int32_t kEntryBase = 4;
// Codes of a level or model name.
inline constexpr int32_t kNameCodes = 6;
// The dataset directory: triples of key, first page and a spare word.
inline constexpr int32_t kDirectoryTriples = 32;

// PGCUR: the index page buffer, one 100-word page of the index file.
struct PgCur {
  std::array<int32_t, kIndexPageSize> words{};

  int32_t& word(int32_t k) { return words[static_cast<size_t>(k - 1)]; }
  std::span<int32_t> page() { return words; }
};

inline PgCur PGCUR;

// CTLREC: one in-memory record per class, with the (page, entry) it was loaded from (0
// for none). Every record has room for the longest class.
struct CtlRec {
  static constexpr int32_t kClasses = kLastControlClass - kFirstControlClass + 1;
  static constexpr int32_t kRecordWords = 96;

  std::array<int32_t, kClasses> pages{};
  std::array<int32_t, kClasses> entries{};
  std::array<std::array<int32_t, kRecordWords>, kClasses> records{};

  static constexpr bool isClass(int32_t cls) {
    return cls >= kFirstControlClass && cls <= kLastControlClass;
  }
  int32_t& page(int32_t cls) { return pages[index(cls)]; }
  int32_t& entry(int32_t cls) { return entries[index(cls)]; }
  // Word K (1..96) of the record of class CLS.
  int32_t& word(int32_t cls, int32_t k) { return records[index(cls)][static_cast<size_t>(k - 1)]; }
  std::span<int32_t> record(int32_t cls) { return records[index(cls)]; }

 private:
  static size_t index(int32_t cls) { return static_cast<size_t>(cls - kFirstControlClass); }
};

inline CtlRec CTLREC;

// The layout of control-record class CLS from IDXLAY: record length, entries per page,
// name words. 0 for a class outside 101..107.
int32_t recordLength(int32_t cls);
int32_t entriesPerPage(int32_t cls);
int32_t nameWords(int32_t cls);

// What a chain walk does after an entry.
enum class ChainStep { Next, Stop };

// Walks the chain of class CLS from page FIRST: every page is read into PGCUR and its
// entries are loaded one by one into the record of CLS (CTLGET) and handed to VISIT,
// with the page and the entry's number; an entry whose word 1 is 0 is handed over too
// and ends that page's entries only: the walk goes on with the page in word 4 until it
// is 0, so the pages linked behind a page with free entries stay reachable. A damaged
// chain (longer than the index file, or coming back to a page it walked) ends the walk as
// one that was not stopped. Answers true when VISIT stopped it; LAST receives the last
// page read (0 for none), which PGCUR then holds.
using ChainVisit = std::function<ChainStep(int32_t page, int32_t entry)>;
bool walkControlChain(int32_t cls, int32_t first, int32_t& last, const ChainVisit& visit);

// Copies entry I of the page in PGCUR into the record of class K and records (the
// buffer's page number, I) for K. When the buffer holds a page of another class,
// IDXERR(14, 1201, that class) ends the run.
void CTLGET(int32_t k, int32_t i);

// For every class after K up to 107: its (page, entry) forgotten and word 1 of its
// record 0. Nothing for K of 107 or more.
void CTLCLR(int32_t k);

// Sets the (page, entry) pair of class CLS.
void SPAIRS(int32_t cls, int32_t page, int32_t entry);

// Writes the record of class K (101..107) back into its page: the page of its (page,
// entry) pair is read into PGCUR unless the buffer holds it already, the record's words
// are copied into the entry and the page is written.
void CRPUT(int32_t k);

// Reports M012 "Database index error" with VALUE1 and VALUE2; a CODE whose units digit
// is 4 then ends the run (STOPRN with the abort flag).
void IDXERR(int32_t code, int32_t value1, int32_t value2);

// Finds the user level NAME (6 codes) in the class-101 chain from page 2. STATUS 2 when
// it is the first entry in use, 0 when found after other entries in use, -1 when absent.
// Found: record 101 holds it. Absent: word 1 of record 101 is 0. STORED receives the
// name words of the last entry compared (at most its capacity). Classes after 101 are
// forgotten on every path.
void CTLF01(std::span<const int32_t> name, std::span<int32_t> stored, int32_t& status);

// Finds a project level under the loaded user level by the first token of codes 1-6 of
// NAME: STATUS 0 for an exact match, N > 0 when the token abbreviates exactly one entry
// (N codes matched), -1 when nothing matches, -2 when it abbreviates more than one.
// Found: record 102 holds the entry and FOUND its 6 name words. Without a user level in
// use: IDXERR(13, 2901, its word 1). Classes after 102 are forgotten on every path.
void CTLF02(std::span<const int32_t> name, std::span<int32_t> found, int32_t& status);

// As CTLF02 for a model under the loaded project level (IDXERR 13, 3901 without one);
// with TYPECODE above 5000 the first model in use is taken without comparing names.
// Found: record 103 holds the model and record 105 its dataset directory. Classes after
// 103 are forgotten on every path.
void CTLF03(std::span<const int32_t> name, int32_t typeCode, std::span<int32_t> found,
            int32_t& status);

// Adds the user level NAME: an existing one is reported as M012 (1301) and nothing is
// added (word 1 of record 101 then 0). Otherwise the first free entry of the chain takes
// it, or a new page at the chain's end; record 101 holds it. WORK is a buffer of at least
// one index page for the page allocation.
void CTLA01(std::span<const int32_t> name, std::span<int32_t> work);

// Allocates a page of class CLS (WORK, a buffer of at least one index page, for the
// allocation) and links it behind page LAST, the last page of its chain, which PGCUR
// holds: LAST is written with the new page in word 4, the new page is set up in PGCUR
// (not yet written) and its entry 1 becomes the current entry of CLS.
void appendControlPage(int32_t cls, int32_t last, std::span<int32_t> work);

// Adds the project level NAME with words 9-11 = V1, V2, V3 under the loaded user level,
// on a page of its own that becomes the head of the user level's chain (its word 4 the
// previous head). Without a user level in use: M012 (2701) and word 1 of record 102 0.
void CTLA02(std::span<const int32_t> name, std::span<int32_t> work, int32_t v1, int32_t v2,
            int32_t v3);

// Adds a model under the loaded project level, on a page of its own that becomes the
// head of the project level's chain: word 1 from word 1 of MODEL, NAME, the 20-word
// TITLE and the date and time of creation; a new empty dataset directory page, loaded as
// record 105. Without a project level in use: M012 (3701) and word 1 of record 103 0.
void CTLA03(std::span<int32_t> work, std::span<const int32_t> model, std::span<const int32_t> name,
            std::span<const int32_t> title, int32_t day, int32_t month, int32_t year, int32_t hour,
            int32_t minute);

// The first page stored for dataset KEY in the loaded directory (record 105); 0 when
// the key is absent.
void DSDIRF(int32_t key, int32_t& page);

// Stores PAGE for KEY in the loaded directory: beside the key where it is present, else
// in the first free triple (key 0 or below). A full directory: IDXERR(14, 3301, KEY),
// which ends the run.
void DIRSET(int32_t key, int32_t page);

// Finishes a dataset: page 1 of the file of class CLS is read into BUFFER, its words 6
// and 7 set to that file's next-page word and free-page head, and written back. Then the
// dataset's FIRST page is recorded by KIND: 2 in word 12 of record 106, 3 in word 10 of
// record 104, 4 in word 9 of record 104, any other in the directory under CLS; the
// record is written back.
void DSCLOS(std::span<int32_t> buffer, int32_t kind, int32_t cls, int32_t first);

}  // namespace kvr
