// The TIFF file writer. The image lives in static storage (one image at a time); its
// rasters come from the platform heap, one block of width x height 16-bit cells each, row
// 1 (the top row) first.
//
// File layout (byte offsets, every number most significant byte first):
//   0  "MM", 42, the offset of the directory (written last)
//   8  the image data, S = width x height x samples bytes, rows from the top, in strips
//      of at most 8192 bytes; one zero byte after an odd S keeps the directory on a word
//      boundary
//      the directory: its entry count, the 12-byte entries in ascending tag order, 0
//      the offset data of the entries whose values take more than 4 bytes, in tag order
#include "plot/tiff/tifwrite.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/fmtedit.h"
#include "platform/memory.h"
#include "platform/unitio.h"

namespace kvr {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int64_t kStripBytes = 8192;
constexpr int64_t kLargestFile = 0xFFFFFFFFLL;  // offsets are 32-bit
constexpr int32_t kColours = 256;
constexpr int32_t kTextBytes = kTifMaxText + 1;
constexpr float kResolution = 10.0f;  // pixels per centimetre
constexpr int32_t kRationalScale = 100;

// Field types.
constexpr uint16_t kByte = 1;
constexpr uint16_t kAscii = 2;
constexpr uint16_t kShort = 3;
constexpr uint16_t kLong = 4;
constexpr uint16_t kRational = 5;

// Directory entries: 15 of a palette image, 17 of a two-channel grey one.
constexpr int32_t kMostEntries = 17;

struct TifImage {
  int32_t width = 0;
  int32_t height = 0;
  int32_t twoChannels = 0;
  int32_t grey = 0;
  uint16_t* raster = nullptr;
  uint16_t* raster2 = nullptr;
  std::FILE* file = nullptr;

  std::array<std::array<uint16_t, kColours>, 3> colourMap{};
  std::array<char, kTextBytes> description{};  // NUL-terminated
  std::array<char, kTextBytes> software{};
  std::array<uint8_t, kTifMaxBlock> block{};
  int32_t blockLength = 0;
  std::array<int16_t, 2> range{};
  std::array<float, 3> reals{};
};

TifImage gTif;

int32_t samples() { return gTif.twoChannels != 0 ? 2 : 1; }

// The strips of an image of S bytes in rows of ROWBYTES: rows per strip, the bytes of a
// full strip and the number of strips. Rows longer than a strip make strips of one row.
struct Strips {
  int64_t rows = 0;
  int64_t bytes = 0;
  int64_t count = 0;
};

Strips stripsOf(int64_t s, int64_t rowBytes, int64_t height) {
  if (s <= kStripBytes) return {height, s, 1};
  Strips strips;
  strips.rows = std::max<int64_t>(1, kStripBytes / rowBytes);
  strips.bytes = strips.rows * rowBytes;
  strips.count = (s + strips.bytes - 1) / strips.bytes;
  return strips;
}

// The largest file an image of this size can make: image data, directory and every item
// of offset data at its largest.
int64_t largestFile(int64_t width, int64_t height, int64_t samplesPerPixel) {
  const int64_t s = width * height * samplesPerPixel;
  const Strips strips = stripsOf(s, width * samplesPerPixel, height);
  const int64_t directory = 2 + 12 * kMostEntries + 4;
  const int64_t stripArrays = strips.count > 1 ? 8 * strips.count : 0;
  const int64_t offsetData = 2 * kTextBytes + stripArrays + 16 + 6 * kColours + 24 + kTifMaxBlock;
  return 8 + s + (s & 1) + directory + offsetData;
}

void releaseImage() {
  if (gTif.file != nullptr) std::fclose(gTif.file);
  mem::release(gTif.raster);
  mem::release(gTif.raster2);
  gTif.file = nullptr;
  gTif.raster = nullptr;
  gTif.raster2 = nullptr;
  gTif.width = 0;
  gTif.height = 0;
}

void couldNotCreate(const std::string& path) {
  io::writeRecord(io::kStdoutUnit, "TIFF Driver: Could not create " + path);
}

// Appends N items of SIZE bytes each (1, 2 or 4), read from ITEMS in the machine's order,
// most significant byte first.
void TifPutItems(Bytes& out, const void* items, size_t n, int size) {
  const auto* p = static_cast<const uint8_t*>(items);
  for (size_t k = 0; k < n; ++k, p += size) {
    uint32_t v = 0;
    if (size == 1) v = *p;
    if (size == 2) {
      uint16_t h = 0;
      std::memcpy(&h, p, 2);
      v = h;
    }
    if (size == 4) std::memcpy(&v, p, 4);
    for (int b = size - 1; b >= 0; --b) out.push_back(static_cast<uint8_t>(v >> (8 * b)));
  }
}

void putShort(Bytes& out, uint16_t v) { TifPutItems(out, &v, 1, 2); }
void putLong(Bytes& out, uint32_t v) { TifPutItems(out, &v, 1, 4); }

void write(const Bytes& bytes) {
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), gTif.file);
}

// The 8-byte header, its directory offset 0 until the directory is written.
void TifHeader() {
  Bytes header{'M', 'M'};
  putShort(header, 42);
  putLong(header, 0);
  write(header);
}

// The image data: the low byte of each cell, with two channels followed by the low byte
// of its second cell, row by row from the top; one zero byte after an odd count. Answers
// the strip offsets and byte counts.
void TifStrips(std::vector<uint32_t>& offsets, std::vector<uint32_t>& counts, int64_t& rows) {
  const int64_t rowBytes = int64_t{gTif.width} * samples();
  const int64_t s = rowBytes * gTif.height;
  const Strips strips = stripsOf(s, rowBytes, gTif.height);
  rows = strips.rows;
  for (int64_t k = 0; k < strips.count; ++k) {
    offsets.push_back(static_cast<uint32_t>(8 + k * strips.bytes));
    counts.push_back(static_cast<uint32_t>(std::min(strips.bytes, s - k * strips.bytes)));
  }

  std::array<uint8_t, kStripBytes> chunk{};
  size_t used = 0;
  const size_t cells = static_cast<size_t>(gTif.width) * static_cast<size_t>(gTif.height);
  for (size_t c = 0; c < cells; ++c) {
    chunk[used++] = static_cast<uint8_t>(gTif.raster[c]);
    if (gTif.twoChannels != 0) chunk[used++] = static_cast<uint8_t>(gTif.raster2[c]);
    if (used + 2 > chunk.size()) {
      std::fwrite(chunk.data(), 1, used, gTif.file);
      used = 0;
    }
  }
  if (s % 2 != 0) chunk[used++] = 0;
  std::fwrite(chunk.data(), 1, used, gTif.file);
}

// One entry of the directory being built.
struct Field {
  uint16_t tag;
  uint16_t type;
  uint32_t count;
  Bytes data;  // the value, big-endian, count x the type's size
};

// Writes one 12-byte entry into DIRECTORY: a value of at most 4 bytes stands in the
// entry, left-justified and padded with zero bytes; a longer one goes to OFFSETDATA and
// the entry holds its offset NEXT, which moves on past it.
void TifEntry(Bytes& directory, Bytes& offsetData, const Field& f, uint32_t& next) {
  putShort(directory, f.tag);
  putShort(directory, f.type);
  putLong(directory, f.count);
  if (f.data.size() <= 4) {
    Bytes value = f.data;
    value.resize(4, 0);
    directory.insert(directory.end(), value.begin(), value.end());
  } else {
    putLong(directory, next);
    offsetData.insert(offsetData.end(), f.data.begin(), f.data.end());
    next += static_cast<uint32_t>(f.data.size());
  }
}

Field shortField(uint16_t tag, std::vector<uint16_t> values) {
  Field f{tag, kShort, static_cast<uint32_t>(values.size()), {}};
  TifPutItems(f.data, values.data(), values.size(), 2);
  return f;
}

Field longField(uint16_t tag, const std::vector<uint32_t>& values) {
  Field f{tag, kLong, static_cast<uint32_t>(values.size()), {}};
  TifPutItems(f.data, values.data(), values.size(), 4);
  return f;
}

// A real V as the rational trunc(V x 100 + 0.5) / 100.
Field rationalField(uint16_t tag, std::vector<float> values) {
  Field f{tag, kRational, static_cast<uint32_t>(values.size()), {}};
  for (float v : values) {
    putLong(f.data, static_cast<uint32_t>(intOf(v * kRationalScale + 0.5f)));
    putLong(f.data, kRationalScale);
  }
  return f;
}

// The characters of TEXT up to its NUL, the NUL, and one zero byte more when that makes
// an odd count.
Field textField(uint16_t tag, const std::array<char, kTextBytes>& text) {
  const size_t n = strnlen(text.data(), text.size() - 1);
  Field f{tag, kAscii, 0, {}};
  TifPutItems(f.data, text.data(), n, 1);
  f.data.push_back(0);
  if (f.data.size() % 2 != 0) f.data.push_back(0);
  f.count = static_cast<uint32_t>(f.data.size());
  return f;
}

Field blockField(uint16_t tag) {
  Field f{tag, kByte, 0, {}};
  TifPutItems(f.data, gTif.block.data(), static_cast<size_t>(gTif.blockLength), 1);
  if (f.data.size() % 2 != 0) f.data.push_back(0);
  f.count = static_cast<uint32_t>(f.data.size());
  return f;
}

// The directory at offset AT and its offset data behind it.
void TifIfd(uint32_t at, const std::vector<uint32_t>& offsets, const std::vector<uint32_t>& counts,
            int64_t rows) {
  const bool palette = gTif.grey == 0;
  const bool twoChannels = gTif.twoChannels != 0;
  const uint16_t width = static_cast<uint16_t>(gTif.width);
  const uint16_t height = static_cast<uint16_t>(gTif.height);

  std::vector<Field> fields;
  fields.push_back(shortField(256, {width}));
  fields.push_back(shortField(257, {height}));
  fields.push_back(shortField(258, twoChannels ? std::vector<uint16_t>{8, 8} : std::vector<uint16_t>{8}));
  fields.push_back(shortField(259, {1}));
  fields.push_back(shortField(262, {static_cast<uint16_t>(palette ? 3 : 1)}));
  if (palette) fields.push_back(textField(270, gTif.description));
  fields.push_back(longField(273, offsets));
  fields.push_back(shortField(277, {static_cast<uint16_t>(samples())}));
  fields.push_back(longField(278, {static_cast<uint32_t>(rows)}));
  fields.push_back(longField(279, counts));
  fields.push_back(rationalField(282, {kResolution}));
  fields.push_back(rationalField(283, {kResolution}));
  fields.push_back(shortField(296, {3}));
  if (palette) {
    fields.push_back(textField(305, gTif.software));
    std::vector<uint16_t> map;
    for (const auto& component : gTif.colourMap) map.insert(map.end(), component.begin(), component.end());
    fields.push_back(shortField(320, std::move(map)));
  }
  if (twoChannels) fields.push_back(shortField(338, {1}));
  if (!palette) {
    fields.push_back(shortField(65000, {static_cast<uint16_t>(gTif.range[0]),
                                        static_cast<uint16_t>(gTif.range[1])}));
    fields.push_back(rationalField(65001, {gTif.reals[0], gTif.reals[1]}));
    fields.push_back(rationalField(65002, {gTif.reals[2]}));
    fields.push_back(blockField(65003));
  }

  Bytes directory;
  Bytes offsetData;
  putShort(directory, static_cast<uint16_t>(fields.size()));
  uint32_t next = at + 2 + 12 * static_cast<uint32_t>(fields.size()) + 4;
  for (const Field& f : fields) TifEntry(directory, offsetData, f, next);
  putLong(directory, 0);
  write(directory);
  write(offsetData);
}

void TifWrite() {
  TifHeader();
  std::vector<uint32_t> offsets;
  std::vector<uint32_t> counts;
  int64_t rows = 0;
  TifStrips(offsets, counts, rows);
  const int64_t s = int64_t{gTif.width} * gTif.height * samples();
  const uint32_t at = static_cast<uint32_t>(8 + s + (s & 1));
  TifIfd(at, offsets, counts, rows);
  std::fseek(gTif.file, 4, SEEK_SET);
  Bytes offset;
  putLong(offset, at);
  write(offset);
}

void copyText(std::array<char, kTextBytes>& target, std::string_view text) {
  const size_t n = std::min<size_t>(text.substr(0, text.find('\0')).size(), kTifMaxText);
  target.fill('\0');
  std::memcpy(target.data(), text.data(), n);
}

}  // namespace

void TifOpen(const std::string& name, int32_t width, int32_t height, int32_t twoChannels,
             int32_t grey, uint16_t background) {
  // The image before would otherwise keep its rasters and its file for ever.
  releaseImage();
  const std::string path(name.c_str());
  gTif.twoChannels = twoChannels;
  gTif.grey = grey;

  // Width and height are SHORT fields, and every offset of the file is 32-bit.
  const int64_t samplesPerPixel = samples();
  if (width < 1 || width > kTifMaxSide || height < 1 || height > kTifMaxSide ||
      largestFile(width, height, samplesPerPixel) > kLargestFile) {
    couldNotCreate(path);
    return;
  }
  const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
  gTif.raster = static_cast<uint16_t*>(mem::allocate(cells * sizeof(uint16_t)));
  if (gTif.raster != nullptr && twoChannels != 0) {
    gTif.raster2 = static_cast<uint16_t*>(mem::allocateZeroed(cells, sizeof(uint16_t)));
  }
  if (gTif.raster == nullptr || (twoChannels != 0 && gTif.raster2 == nullptr)) {
    releaseImage();
    couldNotCreate(path);
    return;
  }
  std::fill(gTif.raster, gTif.raster + cells, background);
  gTif.width = width;
  gTif.height = height;

  gTif.file = std::fopen(path.c_str(), "wb");
  if (gTif.file == nullptr) couldNotCreate(path);
}

bool TifImageOpen() { return gTif.raster != nullptr; }

void TifPixel(int32_t x, int32_t y, uint16_t value, uint16_t second) {
  // A cell outside the raster belongs to no row of it.
  if (gTif.raster == nullptr || x < 1 || x > gTif.width || y < 1 || y > gTif.height) return;
  const size_t cell = static_cast<size_t>(y - 1) * static_cast<size_t>(gTif.width) +
                      static_cast<size_t>(x - 1);
  gTif.raster[cell] = value;
  if (gTif.raster2 != nullptr) gTif.raster2[cell] = second;
}

void TifColMap(std::span<const int32_t> red, std::span<const int32_t> green,
               std::span<const int32_t> blue, int32_t first, int32_t count) {
  const int64_t n = std::min<int64_t>({count, static_cast<int64_t>(red.size()),
                                       static_cast<int64_t>(green.size()),
                                       static_cast<int64_t>(blue.size())});
  for (int64_t i = 0; i < n; ++i) {
    const int64_t entry = int64_t{first} + i;
    // The map has 256 entries; any other index would write past it.
    if (entry < 0 || entry >= kColours) continue;
    const auto k = static_cast<size_t>(i);
    const auto e = static_cast<size_t>(entry);
    gTif.colourMap[0][e] = static_cast<uint16_t>(int64_t{red[k]} * 257);
    gTif.colourMap[1][e] = static_cast<uint16_t>(int64_t{green[k]} * 257);
    gTif.colourMap[2][e] = static_cast<uint16_t>(int64_t{blue[k]} * 257);
  }
}

void TifText(std::string_view text, int32_t kind) {
  if (kind == 1) {
    copyText(gTif.description, text);
  } else if (kind == 2) {
    copyText(gTif.software, text);
  } else {
    const size_t n = std::min<size_t>(text.size(), kTifMaxBlock);
    std::memcpy(gTif.block.data(), text.data(), n);
    gTif.blockLength = static_cast<int32_t>(n);
  }
}

void TifSetHdr(int16_t first, int16_t second, float r1, float r2, float r3) {
  gTif.range = {first, second};
  gTif.reals = {r1, r2, r3};
}

void TifFlush() {
  // After a failed create there is no file to write to.
  if (gTif.file == nullptr || gTif.raster == nullptr) return;
  TifWrite();
}

void TifClose() { releaseImage(); }

}  // namespace kvr
