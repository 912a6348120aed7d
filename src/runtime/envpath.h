// The environment and the standard directories, as the settings lookup and the file-type
// opener read them. Paths are built whole, without a length limit: a path that the
// system refuses is a file that cannot be opened, never a cut path that names another.
#pragma once

#include <string>

namespace kvr {

// The value of the environment variable NAME (an installed option table's symbol, the
// process environment or the registry files) without trailing blanks; empty when unset.
std::string environmentValue(const char* name);

// The directory of the shared standard files: the executable's directory followed by
// "../Custom/"; empty when the executable's directory cannot be had.
std::string customDirectory();

// PATH with each directory name that a ".." step follows removed with that step.
std::string collapsePath(std::string path);

}  // namespace kvr
