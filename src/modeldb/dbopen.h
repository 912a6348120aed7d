// Opening, creating, locking and closing a model database.
//
// A model's database is two paged files (dbpage.h): the index file (file type 7, the
// control records, 100-word pages) and the data file (file type 8, the datasets, pages of
// the database's page size). Page 1 of each is its header page, laid out below. FBCFIG
// creates a database, TLBOPN opens one, DBCLOS closes it and DBENDS closes everything at
// the end of a run.
//
// The write lock: word 18 of index page 1 holds the process id of the process that may
// write the database, 0 when nobody holds it. An open takes the lock only when the word
// is 0; DBLOCK tells whether this process holds it; a close clears it only when it is
// this process's. A lock of another process, dead or alive, is never touched. Every end
// of the run releases this process's own lock while the index file is still open: DBENDS
// before it closes the files, and a pre-stop action of the process stop for the ends
// that do not pass through DBENDS. Those two releases make one attempt each: a transfer
// that fails is let go, without a dialogue and without a second stop.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Index page 1 (100 words; words not listed are 0). Words 2-4 are the page head (page 1,
// class 101, page size 100); words 6 and 7 keep the file's next-page word and free-page
// head (dbpage.h).
inline constexpr int32_t kIndexHeaderClass = 101;
inline constexpr int32_t kKindWord = 8;       // the database kind, always 2
inline constexpr int32_t kTypeCodeWord = 9;   // type code of the database, 5000..5006
inline constexpr int32_t kConstantWord = 10;  // the constant 5000
inline constexpr int32_t kReleaseWord = 11;   // the release number
inline constexpr int32_t kCreatedWord = 12;   // 12-17: day, month, year, hour, minute, second
inline constexpr int32_t kLockWord = 18;      // write-lock holder's process id, 0 = free

// Data page 1 (one data page; words not listed are 0): page head (page 1, class 2), the
// data page size in word 4 (0 in databases that do not record it), next-page word and
// free-page head in words 6 and 7, then words 9 to 17 as on index page 1.
inline constexpr int32_t kDataHeaderClass = 2;

inline constexpr int32_t kDatabaseKind = 2;
inline constexpr int32_t kFirstTypeCode = 5000;
inline constexpr int32_t kLastTypeCode = 5006;
inline constexpr int32_t kNewTypeCode = 5006;  // written into new databases

// Creates the database of the model NAME (20 character codes). BUFFER is a work buffer
// of one data page. Word 1 of MODEL becomes the numbering mode and word 1 of the model
// entry; TITLE (20 words) is stored in the model entry. The data page size is the host's
// (DBLEVL), else numbered setting 9. STATUS 0 created, 1 failed (reported): either file
// exists (M013, M014), a file cannot be opened (E4360, E4370 with E4350), an invalid page
// size (M043), the index file cannot be opened again (M003, E4340). The new database
// holds the user levels "SUPERV" and "NONAME", the project level "NONAME" and the model
// "NONAME" with an empty dataset directory, and this process holds its lock.
void FBCFIG(std::span<int32_t> buffer, std::span<const int32_t> name,
            std::span<const int32_t> model, std::span<const int32_t> title, int32_t& status);

// Opens the database of the model named by the first LENGTH codes of NAME and takes its
// write lock when nobody holds it. On return BUFFER (one data page of the largest size
// the database may have) holds data page 1. STATUS 0 open, 1 failed (reported): a file is
// missing (M001, M002) or cannot be opened (M003, M004), the type code is not 5000..5006
// (M031), the database kind is not 2 or its levels are not found (E4300), the data file
// does not belong to the index file (M032), its page size is invalid (M043), the index
// file cannot be opened again after taking the lock (M003, E4340). Files opened stay
// open until the next DBCLOS.
void TLBOPN(std::span<int32_t> buffer, std::span<const int32_t> name, int32_t length,
            int32_t& status);

// Writes index pages 1 and 2 of a new database (the index file is closed and opened again
// in between) and data page 1 from BUFFER. This process becomes the lock holder. STATUS 1
// when the index file cannot be opened again, else 0.
void DBPG1I(std::span<int32_t> buffer, std::span<const int32_t> name, int32_t length,
            int32_t& status);

// MODE 1: RESULT = 1 when this process holds the lock, else minus the holder's process id
// (0 when nobody holds it); a holder below 0, no process id, answers as it stands, so it
// too reads as another process's lock. Any other MODE forgets the holder; RESULT is not
// touched.
void DBLOCK(int32_t mode, int32_t& result);

// Clears word 18 of index page 1: with MODE 1 only when this process holds the lock.
void LOCKCL(int32_t mode);

// Closes the database: the data file's next-page and free-head words written to its page
// 1 when a page was handed out since they were last (a reopening hands out no page
// twice); when the index file is open, the lock released (LOCKCL(1)), the file closed
// and the holder forgotten; then the data file closed.
void DBCLOS();

// Counts the creates, opens and closes of a database in this process: what a reader keeps
// of the open database's records in memory holds while the count stays.
uint64_t databaseOpenings();

// The end of the database session: the archive ended (JRNEND), the plot output closed
// (GFXCLS(1)), this process's lock released, every open file closed.
void DBENDS();

// When the archive file (file type 9) is open: its end record " 9999" (E4430 first when
// it cannot be written), and the file closed.
void JRNEND();

// GFXCLS and GFXRQ2: with the plot protocol (runtime/pltops.h).

// Writes the index file's next-page word and free-page head into words 6 and 7 of its
// page 1, when the next-page word is not 0.
void DBCNTW();

// Word 1 of the loaded model record (class 103): its state.
void DBSTAT(int32_t& value);

// Words 13, 14 and 15 of the loaded model record: node count, element count and
// load-case counter.
void DBCTRW(int32_t& nodes, int32_t& elements, int32_t& loadCases);

}  // namespace kvr
