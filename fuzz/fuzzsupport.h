// What every fuzz target shares: a private working directory made once per process, the
// process stop turned into an exception that the target catches (a documented stop is a
// normal end of one input, not a crash), and small helpers for files.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/stop.h"
#include "platform/unitio.h"

namespace kvr::fuzz {

struct Stopped {
  int32_t status;
};

// Makes a fresh directory under the temporary directory the current one, sends units 5
// and 6 to /dev/null and traps the process stop. Call once, from LLVMFuzzerInitialize.
inline void setUp() {
  std::string dir = io::tempDirectory() + "/kvrfuzzXXXXXX";
  if (::mkdtemp(dir.data()) == nullptr || ::chdir(dir.c_str()) != 0) ::abort();
  int fd = ::open("/dev/null", O_RDWR);
  io::redirectStandardUnit(io::kStdinUnit, fd);
  io::redirectStandardUnit(io::kStdoutUnit, fd);
  ::close(fd);
  setStopHook([](int32_t status, bool) { throw Stopped{status}; });
}

inline void writeFile(const char* name, std::string_view bytes) {
  FILE* f = std::fopen(name, "wb");
  if (f == nullptr) ::abort();
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// Settings come only from an empty file named by QUORIN_INIT, and no registry file
// exists: nothing of the machine the target runs on reaches it.
inline void isolateSettings() {
  writeFile("settings.ini", "");
  for (const char* name : {"QUORIN_GLOBAL_INIT", "KVRKEY"}) ::unsetenv(name);
  ::setenv("QUORIN_INIT", "settings.ini", 1);
  ::setenv("KVR_REGISTRY_USER", "no-registry", 1);
  ::setenv("KVR_REGISTRY_MACHINE", "no-registry", 1);
}

inline std::string_view asText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace kvr::fuzz
