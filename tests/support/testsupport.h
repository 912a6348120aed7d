// Shared test fixtures: a temporary directory per test, file helpers, and the stop hook
// that turns a process stop into an exception the test can catch.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kvr::test {

// A fresh directory under the temporary directory, made the current directory for the
// test's lifetime and removed afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
std::vector<std::string> readLines(const std::string& path);

// Makes unit 5 read TEXT, written to the file PATH, as if typed; the input ends after it.
// kvr::io::redirectStandardUnit(5, -1) gives unit 5 back its standard input.
void scriptStandardInput(const std::string& path, const std::string& text);

// Saves the named environment variables and puts them back (or removes them) at its end.
class SavedEnv {
 public:
  explicit SavedEnv(std::vector<std::string> names);
  ~SavedEnv();
  SavedEnv(const SavedEnv&) = delete;
  SavedEnv& operator=(const SavedEnv&) = delete;

 private:
  std::vector<std::string> names_;
  std::vector<std::pair<bool, std::string>> saved_;
};

// Thrown by the stop hook of StopTrap in place of ending the process.
struct StopCalled : std::runtime_error {
  StopCalled(int32_t s, bool a) : std::runtime_error("process stop"), status(s), abort(a) {}
  int32_t status;
  bool abort;
};

// While alive, processStop throws StopCalled instead of ending the process.
class StopTrap {
 public:
  StopTrap();
  ~StopTrap();
};

}  // namespace kvr::test
