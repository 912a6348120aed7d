// The named-array registry: every table of the in-memory model is a named array, an array
// of the in-memory store that the library addresses by a small fixed number (1..57)
// instead of by store file and array number. The head of the registry in force is REGHED
// (reghed.h); the answer store of the command interpreter has its own head, ARRDSC.
//
// Three layouts exist, one in force at a time: the full model registry of 57 arrays (set-up
// mode 2, with an UNDO copy of 34 of them), the writing road's 8 arrays (mode 1) and a
// two-array layout (mode 3); set-up mode 4 builds the 4-array answer store in store file 1.
// The handle words of ARRHND name the arrays that a group of routines uses, so that those
// routines work in either registry.
//
// ARRIO, ARRALC and ARRFND never report a failure to their caller: every failure ends in
// catalogue messages and a stop, offering the database dump first.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kvr {

// APPSTA: the application-state words that the registry keeps: the 32 handle words
// ARRHND, each the number of the named array that a group of routines uses.
struct AppSta {
  static constexpr int32_t kHandles = 32;
  std::array<int32_t, kHandles> handles{};

  // Handle word W (1..32).
  int32_t& ARRHND(int32_t w) { return handles[static_cast<std::size_t>(w - 1)]; }
};

inline AppSta APPSTA;

// Fills the handle words for MODE: 1 the full model registry, 2 the writing road's, 3 the
// two-array layout's words as mode 1 but word 7 (47), 4 the two-array layout's own, 5 the
// answer store's. Words a mode does not name keep their value; another MODE changes
// nothing.
void ARRNUM(int32_t mode);

// Sets up registry layout MODE: 1 writing road, 2 full model (with the UNDO copies, whose
// store numbers go to UNDARR), 3 two-array layout, each in the store file MEMFNO gives
// (REGFIL); 4 the answer store in store file 1 (ARRDSC). The target file is released first,
// so a layout set up again starts from an empty file. With FORCE 0 a mode 1..3 already in
// force is kept as it is. STAT 0 done (or already in force); 1 MODE unknown, or a store
// array could not be created (E1150, E2100, E2170 or E2210, and E2130 when memory ran out;
// the registry in force is then released).
void ARRREG(int32_t mode, int32_t force, int32_t& stat);

// Releases every array of the registry's store file (named arrays and UNDO copies) and
// sets REGMOD to 0; the other words of the head keep their values.
void ARRREL();

// MODE -1 writes N records of named array K from record I on, first growing the array
// (ARRALC) up to record I + N - 1 when that lies beyond its allocated records; any other
// MODE reads them, and a read beyond the allocated records is an error. TYPE < 0 moves
// the words through IBUF, any other TYPE through RBUF, bit for bit. An array number
// outside 1..REGTOP (M807), a record below 1 (M808), a read beyond the end (M809) or a
// failed store copy (M805 or M806 with E2100 and E2150 or E2110) dumps the database when
// the current view state is -1 or -2 and ends the run (STOPRN with abort). STAT is 0
// whenever the routine returns.
void ARRIO(int32_t mode, int32_t k, int32_t i, int32_t n, int32_t type, std::span<int32_t> ibuf,
           std::span<float> rbuf, int32_t& stat);

// Makes NMORE more records of named array K addressable; FIRST receives the first new
// record number (the old allocated count + 1). When memory is short the user is asked to
// Abort or Retry ("Insufficient Memory Available"); with the dump offer (current view state
// -1 or -2) a Retry first gives up the UNDO copies. Abort, the end of console input, or an
// array that is not registered dumps when offered and ends the process at once. STAT is 0
// whenever the routine returns.
void ARRALC(int32_t k, int32_t nmore, int32_t& first, int32_t& stat);

// The first record among 1..LAST of named array K whose first two words equal KEY, searched
// from record |HINT| (1 when HINT is 0 or |HINT| > LAST) to LAST; a negative HINT then
// wraps round to records 1..|HINT| - 1. 0 when there is none or LAST is below 1. A search
// of an array that is not registered (M818) or beyond its allocated pages (M819) dumps the
// database and ends the run (STOPRN with abort).
int32_t ARRFND(std::span<const int32_t, 2> key, int32_t k, int32_t hint, int32_t last);

// Counts the set-ups and releases of the model registry: a reader that keeps an index of a
// named array knows by it that the array was made afresh.
uint64_t registryGeneration();

}  // namespace kvr
