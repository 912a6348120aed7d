// The database dump: when the in-memory model cannot go on, it is written whole to a file
// in the model-file format (dbhead.h), so that it can be opened again.
//
// DBDUMP is the one dump hook of the library (dumpDatabase, runtime/msgarg.h), installed at
// start-up; the named-array registry and MSGQV4 call it before a fatal end. While a dump
// runs the hook does nothing, so a failure inside a dump never starts another. The dump
// file is named after the model: the first word of the model-name line (the display
// title, positions 1-20), else the model file the reading road opened less its last
// extension, followed by ".DMP"; it goes through file type 22 as any other name (a bare
// name takes the case of its first letter). An earlier file of the name is deleted first,
// so a second dump replaces the first whole. When the file cannot be opened the user is
// asked for another name, taken as typed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "modeldb/dbhead.h"
#include "runtime/ftext.h"

namespace kvr {

// MDLFIL: the name of the model file that the reading road opened, 128 characters,
// blank-padded (blank until a model is opened).
struct MdlFil {
  static constexpr int32_t kLength = 128;
  std::array<char, kLength> name = [] {
    std::array<char, kLength> a{};
    a.fill(' ');
    return a;
  }();
  FText text() { return FText(name.data(), kLength); }
};

inline MdlFil MDLFIL;

inline constexpr int32_t kStateIntegerWords = 160;
inline constexpr int32_t kStateRealWords = 80;
inline constexpr int32_t kStateDisplayWords = 80;

// Dumps the in-memory model of the full model registry (nothing without one). UNIT is the
// message unit of the caller's reports, where CODPRT writes its lines. Answers 0, or -1
// when the user cancels the name prompt (a lone "/" or the end of input), nothing written.
int32_t DBDUMP(int32_t unit);

// Makes DBDUMP, with the message unit, the dump hook of dumpDatabase.
void installDatabaseDump();

// The INTEGER state record (words 1-91 MODCNT words 3-93, words 92-160 the 69 words of
// MODSTA) and the REAL state record (GEOSTA words 1-80, as their bits), in the layout in
// which DBUPAL reads them back.
void DMPVST(std::span<int32_t, kStateIntegerWords> integers,
            std::span<int32_t, kStateRealWords> reals);

// Entry K (1..37) of the array-count table of the header: the records of named array K
// that the model uses, from MODCNT and the records-in-use words; 0 for any other K.
int32_t dumpCount(int32_t k);

// Writes the model-file image on UNIT with pages of PS words: MODE 0 a new header (date
// and time into words 101-106, TITLE into words 201-440), MODE 1 over the header already
// in the file (date and time into words 107-112). The header is written with validity 0
// first and set to 1 once every record is written. A record the store cannot give
// (M811) ends the run with E2200, the header left at validity 0.
void DMPCNT(int32_t unit, int32_t ps, int32_t mode,
            std::span<const int32_t, DbHead::kTitleCodes> title);

}  // namespace kvr
