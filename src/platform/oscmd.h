// Operating-system commands: a command line for the shell, or a program started directly
// with its own argument list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvr::os {

// Runs COMMAND through "/bin/sh -c" and waits for it. Answers the command's exit status,
// or -1 when no shell could be started or the command did not end normally.
int32_t runShell(const std::string& command);

// Splits TEXT into words at blanks and tabs. A double quote begins or ends a group whose
// blanks belong to the word; the quote itself is dropped, and a word made only of quotes
// ("") is an empty word. No other character is special.
std::vector<std::string> splitArguments(std::string_view text);

// Starts PROGRAM (looked for along PATH when it holds no "/") with ARGS following the
// program's own name as argument 0; no shell sees the words. With WAIT the call returns
// when the program has ended; without, it returns as soon as the program has started,
// and the program, handed over to the system, leaves no zombie behind in this process.
// Answers 0 when the program started, else the system's error number of the failed start.
int spawnProgram(const std::string& program, const std::vector<std::string>& args, bool wait);

}  // namespace kvr::os
