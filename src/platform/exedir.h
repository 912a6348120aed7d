// The directory of the running program: where the settings and the custom files that
// ship with the program are looked for.
#pragma once

#include <optional>
#include <string>

namespace kvr::os {

// The directory of the executable file of this process, up to and including its last
// "/"; empty when the name of the executable cannot be had.
std::string executableDirectory();

// Test seam: while set, executableDirectory answers DIR exactly as given (an empty text
// stands for a name that cannot be had); std::nullopt restores the real directory.
void setExecutableDirectoryOverride(std::optional<std::string> dir);

}  // namespace kvr::os
