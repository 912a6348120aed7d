// Closing files by type. FILCLS closes the file of one file type, or of every type marked
// open, and clears the open flags that FOUVRE set. UNTCLS does the close: it never closes
// the host's terminal units 5 and 6, deletes the file on request and, when the unit
// closed is the plot file's and the plot mode is "PLOT" or "BOTH", hands the finished
// plot file to the plot-file command (TL_COMM).
//
// The plot-file command runs as  /bin/sh -c '<command> "$1" "$2"' sh <file> <device>
// and is waited for: the command is the user's own text, interpreted by the shell, but
// the file name and the device number reach it as arguments and are never pasted into
// the shell line, whatever characters they hold. The traditional command line,
// "<command> <file>  <device>" (the file in double quotes when it holds a blank), is
// kept for diagnostics.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kvr {

// Units 5 and 6: nothing. A negative unit: unit -UNIT closed, its file deleted. Any other
// unit: closed, its file kept, then the plot-file command step.
void UNTCLS(int32_t unit);

// TYPE 1..28: UNTCLS on the type's unit and its open flag cleared (type 24, which has no
// unit, and 15, which does not exist, do nothing). TYPE -1: the same for every type whose
// open flag is set, in increasing order.
void FILCLS(int32_t type);

// The traditional command line of the plot-file command: COMMAND, one blank, NAME (in
// double quotes when it holds a blank), two blanks and DEVICE as a two-character integer.
std::string plotCommandLine(std::string_view command, std::string_view name, int32_t device);

// The command line of the last plot-file command run; empty before the first.
const std::string& lastPlotCommandLine();

}  // namespace kvr
