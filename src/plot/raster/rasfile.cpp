#include "plot/raster/rasfile.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/unitio.h"
#include "runtime/filcls.h"
#include "runtime/iounit.h"

namespace kvr {
namespace {

std::FILE* gStream = nullptr;

constexpr int32_t kPlotFileType = 3;

bool strippable(char c) { return c == ' ' || c == '\t' || c == '\0'; }

}  // namespace

void RasOpen(const std::string& name) {
  // A stream left open would lose what it still buffers, and its handle.
  RasClose();
  const std::string path(name.c_str());
  gStream = std::fopen(path.c_str(), "wb");
  if (gStream == nullptr) io::writeRecord(io::kStdoutUnit, "Raster Driver: Could not create " + path);
}

void RasWrite(int32_t n, std::span<const uint8_t> bytes) {
  // After a failed open there is no stream to write to.
  if (gStream == nullptr || n <= 0) return;
  const size_t count = std::min(static_cast<size_t>(n), bytes.size());
  std::fwrite(bytes.data(), 1, count, gStream);
}

void RasClose() {
  if (gStream == nullptr) return;
  std::fclose(gStream);
  gStream = nullptr;
}

std::string plotStreamName() {
  const std::string& name = IOUNIT.plotFileName;
  size_t first = 0;
  size_t last = name.size();
  while (first < last && strippable(name[first])) ++first;
  while (last > first && strippable(name[last - 1])) --last;
  return name.substr(first, last - first);
}

void closePlotFileDeleting() {
  const int32_t unit = IOUNIT.slot(kSlotPlotFile);
  if (unit > 0) UNTCLS(-unit);
  IOUNIT.openFlag(kPlotFileType) = 0;
}

void RASOPN() {
  closePlotFileDeleting();
  RasOpen(plotStreamName());
}

}  // namespace kvr
