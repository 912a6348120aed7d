// What the benchmarks of the two roads share: a work directory of their own, the peak
// resident memory of the process, and the padding of text arguments.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/unitio.h"

namespace kvr::bench {

// The directory the runs work in, made on first use under the temporary directory and
// removed at the end of the program.
class WorkDirectory {
 public:
  static const std::string& path() {
    static WorkDirectory dir;
    return dir.path_;
  }
  ~WorkDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

 private:
  WorkDirectory() {
    std::string pattern = kvr::io::tempDirectory() + "/kvr_benchXXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  std::string path_;
};

// Works in the benchmark's directory while it lives.
class InWorkDirectory {
 public:
  InWorkDirectory() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(WorkDirectory::path());
  }
  ~InWorkDirectory() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

// The peak resident memory of the process since the last reset, in bytes (0 unknown).
inline int64_t peakResident() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stoll(line.substr(6)) * 1024;
  }
  return 0;
}

// Sets the peak resident memory back to what the process holds now.
inline void resetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
}

// A text argument of an exported routine: S blank-padded (or cut) to the routine's length.
template <std::size_t N>
void pad(char (&text)[N], std::string_view s) {
  std::string padded(s);
  padded.resize(N, ' ');
  padded.copy(text, N);
}

}  // namespace kvr::bench
