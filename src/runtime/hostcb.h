// Host callbacks: the routines an interactive application would supply to the shared
// machinery (a message writer, a message hook, command echoes, display refreshes, a
// resource reader, the command line). The library carries its own bodies so that it
// runs inside any host analysis program: the line writers write to the console output
// unit, the command line comes from the process, and the others do nothing. A host that
// wants more replaces the bodies and keeps the argument lists.
#pragma once

#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

// The three line writers: one list-directed record holding TEXT up to its last non-blank
// character, to the console output unit (PLTPAR word 1). FLAG is not used.
void WRTLIN(int32_t flag, FText text);
void WRTLN1(int32_t flag, FText text);
void WRTLN8(int32_t flag, FText text);

// The host's message hook: does nothing.
void HCMSG(int32_t flag, FText text);

// Command echoes, dialogue and display notices: nothing.
void HCCMD1(FText command);
void HCCMD2(FText command);
void HCCMD3(FText command, int32_t position, FText second);
// A graphics pick offered to the host: the answer POSITION, the pick CODE, the command so
// far and the rest of its line (255 characters each) and the pick text (30 characters),
// each NUL-terminated after its last non-blank character.
void HCDLG(int32_t position, int32_t code, FText command, FText rest, FText pick);
void HCWIN(int32_t& window, int32_t& defaultWindow);
void HCDSP(int32_t displayCode, int32_t viewport);

// Tells the host display of VIEWPORT's new DISPLAYCODE (HCDSP with the two swapped).
void HCDSPF(int32_t viewport, int32_t displayCode);

// The host resource reader: STATUS 1 (not found); VALUE is not touched, so every
// setting read this way keeps its default.
void RESHST(int32_t& lead1, int32_t& lead2, FText section, FText key, FText value,
            int32_t& word, int32_t& status);

// The number of command-line arguments after argument 0 (the program).
int32_t ARGNUM();

// TEXT receives argument N (0 the program), blank-padded; blank beyond the arguments.
void ARGGET(int32_t n, FText text);

// The host program's name: A "NEUTRAL", B blank, the five integers 0; answers 1.
int32_t PRGNAM(FText a, FText b, int32_t& i1, int32_t& i2, int32_t& i3, int32_t& i4,
               int32_t& i5, int32_t& flag);

// Test seam: sees every line handed to a line writer or to the message hook, before the
// writer acts. nullptr removes it.
enum class LineWriter { WRTLIN, WRTLN1, WRTLN8, HCMSG };
using LineWriterObserver = void (*)(LineWriter writer, int32_t flag, FText text);
void setLineWriterObserver(LineWriterObserver observer);

// Test seam: sees every call of the command callbacks and the pick dialogue, with the
// arguments that callback has (0 and empty texts for the others): HCCMD1 and HCCMD2 their
// text as FIRST; HCCMD3 its text, the POSITION and its second text; HCDLG all five.
// nullptr removes it.
enum class HostCommand { HCCMD1, HCCMD2, HCCMD3, HCDLG };
using HostCommandObserver = void (*)(HostCommand callback, int32_t position, int32_t code,
                                     FText first, FText second, FText third);
void setHostCommandObserver(HostCommandObserver observer);

}  // namespace kvr
