#include "platform/fsys.h"

#include <sys/stat.h>
#include <unistd.h>

namespace kvr::os {

bool canAccess(const std::string& path, AccessWant want) {
  int mode = want == AccessWant::Write ? W_OK : want == AccessWant::Read ? R_OK : F_OK;
  return access(path.c_str(), mode) == 0;
}

bool currentDirectory(std::string& dir) {
  char buf[kMaxCwd + 1];
  if (getcwd(buf, sizeof buf) == nullptr) return false;
  dir = buf;
  return true;
}

bool changeDirectory(const std::string& path) { return chdir(path.c_str()) == 0; }

bool fileStatus(const std::string& path, FileStatus& status) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return false;
  status.size = static_cast<int64_t>(st.st_size);
  status.modified = static_cast<int64_t>(st.st_mtime);
  status.isDirectory = S_ISDIR(st.st_mode);
  status.isRegular = S_ISREG(st.st_mode);
  return true;
}

}  // namespace kvr::os
