// A small reader of PCL printer jobs, written from the published PCL rules, so that the
// tests can check what a job prints rather than how its bytes happen to be laid out.
//
//  - ESC followed by a character from 48 to 126 is a two-character sequence ("E").
//  - ESC followed by a parameterised character (33..47, "&" or "*") and a group character
//    (96..126) starts a parameterised sequence: a value field (digits, sign, decimal
//    point), then a parameter character; a lower-case one continues the sequence with a
//    further value, an upper-case one ends it. Each value and parameter is one command,
//    read here as its whole text: "*b300W", "&a0128H".
//  - The raster transfers ESC "*b" n "V" (a plane) and ESC "*b" n "W" (the last plane, which
//    ends the row) are followed by n bytes of data, decoded by the compression method in
//    force (ESC "*b" m "M": 0 none, 1 pairs of repeat count and byte).
//  - A raster block runs from ESC "*r" ... "A" to ESC "*r" ... "B"; each is one printed
//    page. A pixel of a printed row has bit p - 1 set when plane p has its bit set.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace kvr::test {

struct PclPage {
  std::vector<std::vector<uint8_t>> rows;  // pixel values of each printed row
  std::vector<int32_t> recordCounts;       // the byte count of every raster transfer
  std::vector<int32_t> planesPerRow;

  uint8_t pixel(size_t row, size_t column) const {
    if (row >= rows.size() || column >= rows[row].size()) return 0;
    return rows[row][column];
  }
  size_t inked() const {
    size_t n = 0;
    for (const auto& r : rows) {
      for (uint8_t p : r) n += p != 0;
    }
    return n;
  }
};

struct PclJob {
  std::vector<std::string> commands;  // every command, in order, ESC dropped
  std::vector<PclPage> pages;
  bool wellFormed = true;  // no stray byte outside a sequence, no transfer cut short
  std::string fault;

  // How often COMMAND occurs.
  size_t count(const std::string& command) const {
    size_t n = 0;
    for (const auto& c : commands) n += c == command;
    return n;
  }
  // The commands other than raster transfers (what precedes and follows the rows).
  std::vector<std::string> controls() const {
    std::vector<std::string> out;
    for (const auto& c : commands) {
      const bool transfer = c.size() > 2 && c.compare(0, 2, "*b") == 0 && (c.back() == 'V' || c.back() == 'W');
      if (!transfer) out.push_back(c);
    }
    return out;
  }
};

inline PclJob readPcl(const std::string& bytes) {
  PclJob job;
  size_t at = 0;
  int compression = 0;
  bool inRaster = false;
  PclPage page;
  std::vector<std::vector<uint8_t>> planes;
  auto fail = [&](const std::string& why) {
    job.wellFormed = false;
    if (job.fault.empty()) job.fault = why + " at byte " + std::to_string(at);
  };
  auto endRow = [&] {
    size_t width = 0;
    for (const auto& p : planes) width = std::max(width, p.size() * 8);
    std::vector<uint8_t> row(width, 0);
    for (size_t p = 0; p < planes.size(); ++p) {
      for (size_t i = 0; i < planes[p].size() * 8; ++i) {
        if ((planes[p][i / 8] >> (7 - i % 8)) & 1) row[i] |= static_cast<uint8_t>(1u << p);
      }
    }
    page.planesPerRow.push_back(static_cast<int32_t>(planes.size()));
    page.rows.push_back(std::move(row));
    planes.clear();
  };
  while (at < bytes.size()) {
    if (bytes[at] != '\x1b') {
      fail("a byte outside a sequence");
      ++at;
      continue;
    }
    ++at;
    if (at >= bytes.size()) {
      fail("ESC at the end");
      break;
    }
    const auto c = static_cast<unsigned char>(bytes[at]);
    if (c >= 48 && c <= 126) {
      job.commands.push_back(std::string(1, static_cast<char>(c)));
      ++at;
      continue;
    }
    if (c < 33 || c > 47 || at + 1 >= bytes.size()) {
      fail("a bad sequence");
      continue;
    }
    const char param = static_cast<char>(c);
    const char group = bytes[at + 1];
    at += 2;
    for (;;) {
      std::string value;
      while (at < bytes.size() && (std::isdigit(static_cast<unsigned char>(bytes[at])) || bytes[at] == '+' ||
                                   bytes[at] == '-' || bytes[at] == '.')) {
        value.push_back(bytes[at++]);
      }
      if (at >= bytes.size()) {
        fail("a sequence without its parameter character");
        break;
      }
      const char term = bytes[at++];
      const bool last = term >= 64 && term <= 94;
      const char upper = last ? term : static_cast<char>(term - 32);
      job.commands.push_back(std::string(1, param) + group + value + upper);
      const int n = value.empty() ? 0 : std::stoi(value);
      if (param == '*' && group == 'b' && upper == 'M') compression = n;
      if (param == '*' && group == 'r' && upper == 'A') {
        inRaster = true;
        page = {};
      }
      if (param == '*' && group == 'r' && upper == 'B') {
        if (!inRaster) fail("end of raster without a start");
        if (!planes.empty()) fail("a row without its last plane");
        job.pages.push_back(std::move(page));
        page = {};
        inRaster = false;
      }
      if (param == '*' && group == 'b' && (upper == 'V' || upper == 'W')) {
        if (n < 0 || at + static_cast<size_t>(n) > bytes.size()) {
          fail("a transfer cut short");
          at = bytes.size();
          break;
        }
        const std::string data = bytes.substr(at, static_cast<size_t>(n));
        at += static_cast<size_t>(n);
        page.recordCounts.push_back(n);
        std::vector<uint8_t> plane;
        if (compression == 1) {
          if (data.size() % 2 != 0) fail("an odd count of pair bytes");
          for (size_t i = 0; i + 1 < data.size(); i += 2) {
            plane.insert(plane.end(), static_cast<size_t>(static_cast<unsigned char>(data[i])) + 1,
                         static_cast<uint8_t>(data[i + 1]));
          }
        } else {
          plane.assign(data.begin(), data.end());
        }
        if (!inRaster) fail("a transfer outside raster graphics");
        planes.push_back(std::move(plane));
        if (upper == 'W') endRow();
      }
      if (last) break;
    }
  }
  if (inRaster) fail("raster graphics not ended");
  return job;
}

}  // namespace kvr::test
