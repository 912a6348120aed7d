// File-system queries: access rights, the current directory and file status.
#pragma once

#include <cstdint>
#include <string>

namespace kvr::os {

// The current directory is read into a buffer of this many characters (its NUL not
// counted); a longer directory cannot be read.
inline constexpr size_t kMaxCwd = 255;

enum class AccessWant { Exists, Read, Write };

// True when PATH exists (Exists) or the process may read or write it.
bool canAccess(const std::string& path, AccessWant want);

// The current directory; false (DIR untouched) when it cannot be read or is longer
// than kMaxCwd characters.
bool currentDirectory(std::string& dir);

// Makes PATH the current directory; false when it cannot.
bool changeDirectory(const std::string& path);

struct FileStatus {
  int64_t size = 0;           // bytes
  int64_t modified = 0;       // seconds since 1970-01-01 00:00 UTC
  bool isDirectory = false;
  bool isRegular = false;
};

// The status of PATH (symbolic links followed); false when it cannot be had.
bool fileStatus(const std::string& path, FileStatus& status);

}  // namespace kvr::os
