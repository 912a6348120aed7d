// The command line of the process: the arguments the host program was started with,
// argument 0 the program itself. Read once, on first use, from /proc/self/cmdline (the
// arguments separated by NUL bytes). Tests replace it with an argument list of their own.
#pragma once

#include <string>
#include <vector>

namespace kvr {

// The arguments, argument 0 first. Empty only when /proc/self/cmdline cannot be read.
const std::vector<std::string>& commandLine();

// Test seam: ARGS stands for the command line until clearCommandLineOverride().
void setCommandLineOverride(std::vector<std::string> args);
void clearCommandLineOverride();

}  // namespace kvr
