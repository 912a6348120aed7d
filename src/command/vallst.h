// Typed-argument dispatch. VALLST builds the value list that a prompt shows for an argument
// kind, VALCHK checks one token of a command line against it; both hand the kind, by its
// range, to the family that owns it:
//
//   1 to 100               special kinds             SPCLST / SPCCHK (spclst.h)
//   101 to 200             existing objects          OBJLST / OBJCHK with kind - 100
//   201 to 300 but 203     one name of the slots     here
//   203                    a graph-file column       here (GRFRD2)
//   301 to 400             property words            PRPLST / PRPCHK
//   403                    translator options        K403LS / K403CK
//   every other above 400  analysis-program filters  FLTLST / FLTCHK
//
// The name kinds read the name slots of IOMODE: kind k slot k - 199, a slot beyond the
// table reading as empty. The column kind reads the graph file named by answer 4 of the
// current command: a text file whose first token that is not a comment begins "KAVRO GRAPH
// FORMAT #2", then lines "COL" separator name, up to the first number.
#pragma once

#include <cstdint>
#include <span>

#include "command/argval.h"
#include "runtime/ftext.h"

namespace kvr {

inline constexpr int32_t kColumnKind = 203;

// Value-list statuses.
inline constexpr int32_t kListDone = 0;
inline constexpr int32_t kListFailed = 1;   // a message was shown; the list is as it was
inline constexpr int32_t kListFull = 2;
inline constexpr int32_t kListNoColumns = 3;

// Appends the values of argument KIND to LIST. CONTEXT (the caller's work array) goes to
// the object-type builder only. STATUS as the builder of the kind answers it: 0, 1, 2, or
// 3 (the graph file defines no column).
void VALLST(std::span<int32_t> context, int32_t kind, ValueList& list, int32_t& status);

// Checks the token FIRST..LAST of LINE, the command line being parsed, against argument
// KIND; the checker compares an upper-cased work copy of the token, made at the same
// positions. INPUTMODE goes to the object-type and special checkers; CONTEXT to the
// object-type checker.
void VALCHK(std::span<int32_t> context, int32_t kind, std::span<const int32_t> line,
            int32_t first, int32_t last, int32_t inputMode, ArgumentCheck& check);

// Appends the columns of the graph file FILENAME (its trimmed length) to LIST, entry kind
// -203, the name's first 12 characters upper-cased and its length (at most 12) as value;
// a name this call has already added is skipped. Bit 0 of QUIET suppresses the messages.
// COLUMNS counts the names met, duplicates included. STATUS 0; 1 the file cannot be used
// (E3380 cannot be opened, E3110 no header); 2 the list is full (one place left: it takes
// the placeholder "'header'"); 3 a header but no column (E3140). A name that cannot be
// opened and reads "'file'" gives the placeholder, room permitting, and status 0.
void GRFRD2(FText fileName, ValueList& list, int32_t quiet, int32_t& columns, int32_t& status);

// Takes the text answer of answer record RECORD (double quotes dropped) as a file name:
// LINE receives its first MAXIMUM codes (LINE blank-filled to MAXIMUM), FILENAME the same
// characters. MISSING 1 when no file of that name exists, else 0.
void ANSFIL(int32_t record, int32_t maximum, FText fileName, std::span<int32_t> line,
            int32_t& missing);

}  // namespace kvr
