#include "testsupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/stop.h"
#include "platform/unitio.h"

namespace kvr::test {

TempDir::TempDir() {
  std::string base = std::filesystem::temp_directory_path().string() + "/kvrtest-XXXXXX";
  std::vector<char> buf(base.begin(), base.end());
  buf.push_back('\0');
  if (mkdtemp(buf.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = buf.data();
  previous_ = std::filesystem::current_path();
  std::filesystem::current_path(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::current_path(previous_, ec);
  std::filesystem::remove_all(path_, ec);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::vector<std::string> readLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

void scriptStandardInput(const std::string& path, const std::string& text) {
  writeFile(path, text);
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) throw std::runtime_error("cannot open the scripted input " + path);
  io::redirectStandardUnit(io::kStdinUnit, fd);
  ::close(fd);
}

SavedEnv::SavedEnv(std::vector<std::string> names) : names_(std::move(names)) {
  for (const auto& n : names_) {
    const char* v = std::getenv(n.c_str());
    saved_.emplace_back(v != nullptr, v != nullptr ? v : "");
  }
}

SavedEnv::~SavedEnv() {
  for (size_t i = 0; i < names_.size(); ++i) {
    if (saved_[i].first) {
      ::setenv(names_[i].c_str(), saved_[i].second.c_str(), 1);
    } else {
      ::unsetenv(names_[i].c_str());
    }
  }
}

StopTrap::StopTrap() {
  setStopHook([](int32_t status, bool abort) { throw StopCalled(status, abort); });
}

StopTrap::~StopTrap() { setStopHook(nullptr); }

}  // namespace kvr::test
