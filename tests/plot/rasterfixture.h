// A fixture for the byte-stream drivers: the plot fixture (a temporary current directory,
// the plot blocks in their load state) with unit 6, where the "Could not create" lines
// and the debug lines go, on a file of that directory; helpers that read big-endian
// numbers from a file's bytes; and the TIFF tools (tiffinfo, tiffdump) run on a file.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/unitio.h"
#include "plotfixture.h"
#include "testsupport.h"

namespace kvr::test {

class RasterFixture : public PlotFixture {
 protected:
  void SetUp() override {
    PlotFixture::SetUp();
    int fd = ::open(dir.file("unit6.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    io::redirectStandardUnit(io::kStdoutUnit, fd);
    ::close(fd);
  }

  void TearDown() override {
    io::redirectStandardUnit(io::kStdoutUnit, -1);
    PlotFixture::TearDown();
  }

  // The lines written to unit 6 so far.
  std::vector<std::string> unit6Lines() {
    io::unitFlush(io::kStdoutUnit);
    return readLines(dir.file("unit6.out"));
  }
};

// The byte at OFFSET (from 0) and the big-endian 16- and 32-bit numbers starting there.
inline uint32_t byteAt(const std::string& b, size_t offset) {
  return static_cast<unsigned char>(b.at(offset));
}
inline uint32_t be16(const std::string& b, size_t offset) {
  return byteAt(b, offset) << 8 | byteAt(b, offset + 1);
}
inline uint32_t be32(const std::string& b, size_t offset) {
  return be16(b, offset) << 16 | be16(b, offset + 2);
}

// One directory entry as the file holds it: field type, count and where its 4-byte value
// field lies.
struct Entry {
  uint32_t type = 0;
  uint32_t count = 0;
  size_t field = 0;
};

struct Directory {
  uint32_t at = 0;
  std::vector<uint32_t> tags;  // in file order
  std::map<uint32_t, Entry> entries;
};

inline Directory directoryOf(const std::string& b) {
  Directory d;
  d.at = be32(b, 4);
  const uint32_t n = be16(b, d.at);
  for (uint32_t k = 0; k < n; ++k) {
    const size_t e = d.at + 2 + 12 * k;
    d.tags.push_back(be16(b, e));
    d.entries[be16(b, e)] = {be16(b, e + 2), be32(b, e + 4), e + 8};
  }
  return d;
}

// What a command printed (standard output and standard error together) and its status.
struct ToolRun {
  int status = -1;
  std::string output;
};

inline ToolRun runTool(const std::string& tool, const std::string& file) {
  ToolRun run;
  const std::string command = tool + " '" + file + "' 2>&1";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer{};
  size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
    run.output.append(buffer.data(), got);
  }
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// tiffinfo reads FILE with status 0 and names no error; it warns only of the private
// tags and of texts whose count holds a pad byte.
inline void expectTiffinfoReads(const std::string& file) {
  const ToolRun info = runTool("tiffinfo", file);
  ASSERT_NE(info.status, 127) << "tiffinfo is missing: install libtiff-tools";
  EXPECT_EQ(info.status, 0) << info.output;
  EXPECT_EQ(info.output.find("rror"), std::string::npos) << info.output;
  std::istringstream lines(info.output);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.find("Warning") == std::string::npos) continue;
    const bool privateTag = line.find("Unknown field with tag 6500") != std::string::npos;
    const bool padByte = line.find("contains null byte in value") != std::string::npos;
    EXPECT_TRUE(privateTag || padByte) << line;
  }
}

}  // namespace kvr::test
