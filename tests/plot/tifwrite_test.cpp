#include "plot/tiff/tifwrite.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/memory.h"
#include "rasterfixture.h"
#include "testsupport.h"

namespace kvr {
namespace {

using test::be16;
using test::be32;
using test::byteAt;
using test::Directory;
using test::directoryOf;
using test::Entry;
using test::readFile;

// The bytes of a golden file written as hexadecimal pairs, "#" starting a comment.
std::string goldenBytes(const std::string& name) {
  const char* source = std::getenv("KVR_TEST_SOURCE");
  EXPECT_NE(source, nullptr) << "KVR_TEST_SOURCE names the tests folder";
  std::istringstream in(test::readFile(std::string(source ? source : ".") + "/plot/golden/" + name));
  std::string bytes;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string pair;
    while (words >> pair) bytes.push_back(static_cast<char>(std::stoi(pair, nullptr, 16)));
  }
  return bytes;
}

class TiffWriter : public test::RasterFixture {
 protected:
  void TearDown() override {
    TifClose();
    TifText("", 1);
    TifText("", 2);
    TifText("", 3);
    RasterFixture::TearDown();
  }

  // Writes a palette image of WIDTH x HEIGHT with DESCRIPTION; answers its bytes.
  std::string palette(int32_t width, int32_t height, const std::string& description = "picture",
                      const std::string& name = "palette.tif") {
    TifOpen(dir.file(name), width, height, 0, 0, 0);
    TifText(description, 1);
    TifText("prog 1.2-03 ", 2);
    TifFlush();
    TifClose();
    return readFile(dir.file(name));
  }
};

TEST_F(TiffWriter, APaletteImageHasItsHeaderStripAndDirectoryWhereTheyBelong) {
  const std::string b = palette(100, 50, "0123456789");
  ASSERT_EQ(b.substr(0, 8), std::string("MM\x00\x2A\x00\x00\x13\x90", 8));  // directory 5008
  const Directory d = directoryOf(b);
  EXPECT_EQ(d.tags, (std::vector<uint32_t>{256, 257, 258, 259, 262, 270, 273, 277, 278, 279,
                                           282, 283, 296, 305, 320}));
  auto value = [&](uint32_t tag) { return be32(b, d.entries.at(tag).field); };
  auto shortValue = [&](uint32_t tag) { return be16(b, d.entries.at(tag).field); };
  EXPECT_EQ(shortValue(256), 100u);
  EXPECT_EQ(shortValue(257), 50u);
  EXPECT_EQ(shortValue(262), 3u);
  EXPECT_EQ(value(273), 8u);
  EXPECT_EQ(value(279), 5000u);
  EXPECT_EQ(value(278), 50u);
  EXPECT_EQ(d.entries.at(270).count, 12u);
  EXPECT_EQ(value(270), 5194u);  // 5008 + 2 + 15 x 12 + 4
  EXPECT_EQ(b.substr(5194, 12), std::string("0123456789\0\0", 12));
  EXPECT_EQ(value(282), 5206u);
  EXPECT_EQ(value(283), 5214u);
  for (size_t at : {5206u, 5214u}) {
    EXPECT_EQ(be32(b, at), 1000u);
    EXPECT_EQ(be32(b, at + 4), 100u);
  }
  EXPECT_EQ(d.entries.at(320).count, 768u);
  EXPECT_EQ(b.size(), value(320) + 1536u);
  test::expectTiffinfoReads(dir.file("palette.tif"));
  const test::ToolRun dump = test::runTool("tiffdump", dir.file("palette.tif"));
  EXPECT_EQ(dump.status, 0) << dump.output;
  for (const char* entry : {"ImageWidth (256) SHORT (3) 1<100>", "ImageLength (257) SHORT (3) 1<50>",
                            "Photometric (262) SHORT (3) 1<3>", "StripOffsets (273) LONG (4) 1<8>",
                            "RowsPerStrip (278) LONG (4) 1<50>", "StripByteCounts (279) LONG (4) 1<5000>",
                            "ResolutionUnit (296) SHORT (3) 1<3>", "Colormap (320) SHORT (3) 768<"}) {
    EXPECT_NE(dump.output.find(entry), std::string::npos) << entry << "\n" << dump.output;
  }
}

TEST_F(TiffWriter, ImagesOfMoreThan8192BytesAreCutIntoStrips) {
  struct Case {
    int32_t width, height;
    uint32_t rows, strips, lastBytes;
  };
  for (const Case& c : {Case{1000, 100, 8, 13, 4000}, Case{9000, 3, 1, 3, 9000},
                        Case{4096, 4, 2, 2, 8192}}) {
    SCOPED_TRACE(c.width);
    const std::string b = palette(c.width, c.height);
    const Directory d = directoryOf(b);
    const Entry offsets = d.entries.at(273);
    const Entry counts = d.entries.at(279);
    EXPECT_EQ(be32(b, d.entries.at(278).field), c.rows);
    ASSERT_EQ(offsets.count, c.strips);
    ASSERT_EQ(counts.count, c.strips);
    const uint32_t offsetArray = be32(b, offsets.field);
    const uint32_t countArray = be32(b, counts.field);
    const uint32_t full = c.rows * static_cast<uint32_t>(c.width);
    for (uint32_t k = 0; k < c.strips; ++k) {
      EXPECT_EQ(be32(b, offsetArray + 4 * k), 8 + k * full);
      EXPECT_EQ(be32(b, countArray + 4 * k), k + 1 < c.strips ? full : c.lastBytes);
    }
    EXPECT_EQ(countArray, offsetArray + 4 * c.strips);  // counts follow the offsets
    test::expectTiffinfoReads(dir.file("palette.tif"));
  }
}

TEST_F(TiffWriter, AnOddImageSizeIsFollowedByOneZeroByte) {
  TifOpen(dir.file("odd.tif"), 3, 3, 0, 0, 0x1FF);
  TifFlush();
  TifClose();
  const std::string b = readFile(dir.file("odd.tif"));
  EXPECT_EQ(b.substr(8, 9), std::string(9, '\xFF'));
  EXPECT_EQ(byteAt(b, 17), 0u);
  EXPECT_EQ(be32(b, 4), 18u);
  EXPECT_EQ(be32(b, directoryOf(b).entries.at(279).field), 9u);
  test::expectTiffinfoReads(dir.file("odd.tif"));
}

TEST_F(TiffWriter, TextCountsHoldTheNulAndAnEvenPad) {
  struct Case {
    std::string text;
    uint32_t count;
  };
  const std::string eighty(80, 'x');
  for (const Case& c : {Case{"0123456789", 12}, Case{"0123456789A", 12}, Case{"", 2},
                        Case{eighty, 80}, Case{std::string("abc\0de", 6), 4}}) {
    SCOPED_TRACE(c.text);
    const std::string b = palette(4, 2, c.text);
    const Directory d = directoryOf(b);
    const Entry e = d.entries.at(270);
    EXPECT_EQ(e.count, c.count);
    const size_t kept = std::min<size_t>(c.text.substr(0, c.text.find('\0')).size(), 79);
    const std::string expected = c.text.substr(0, kept) + std::string(c.count - kept, '\0');
    const size_t at = c.count <= 4 ? e.field : be32(b, e.field);
    EXPECT_EQ(b.substr(at, c.count), expected);
  }
}

TEST_F(TiffWriter, AOneCharacterTextStandsInItsEntry) {
  const std::string b = palette(4, 2, "Q");
  const Directory d = directoryOf(b);
  const Entry e = d.entries.at(270);
  EXPECT_EQ(e.count, 2u);
  EXPECT_EQ(b.substr(e.field, 4), std::string("Q\0\0\0", 4));
  // The offset data then begins with the X resolution.
  EXPECT_EQ(be32(b, d.entries.at(282).field), d.at + 2 + 15 * 12 + 4);
}

TEST_F(TiffWriter, CellsGiveTheirLowByteAndPixelsOutsideTheRasterAreIgnored) {
  TifOpen(dir.file("cells.tif"), 4, 2, 0, 0, 7);
  TifPixel(1, 1, 300, 0);
  TifPixel(4, 2, 0x41, 0);
  for (auto [x, y] : {std::pair{0, 1}, std::pair{5, 1}, std::pair{1, 0}, std::pair{1, 3},
                      std::pair{-7, -7}}) {
    TifPixel(x, y, 99, 0);
  }
  TifFlush();
  TifClose();
  const std::string b = readFile(dir.file("cells.tif"));
  EXPECT_EQ(b.substr(8, 8), std::string("\x2C\x07\x07\x07\x07\x07\x07\x41", 8));
}

TEST_F(TiffWriter, ColourMapEntriesAreScaledTo16BitsAndIndexesOutsideItAreSkipped) {
  const std::array<int32_t, 3> red{255, 9, 9};
  const std::array<int32_t, 3> green{0, 9, 9};
  const std::array<int32_t, 3> blue{128, 9, 9};
  const std::array<int32_t, 1> one{1};
  TifColMap(one, one, one, 200, 1);
  TifColMap(red, green, blue, 5, 1);
  TifColMap(red, green, blue, 255, 3);  // entries 256 and 257 do not exist
  TifColMap(red, green, blue, -1, 1);
  const std::string b = palette(2, 2);
  const uint32_t map = be32(b, directoryOf(b).entries.at(320).field);
  auto entry = [&](uint32_t component, uint32_t k) { return be16(b, map + 512 * component + 2 * k); };
  EXPECT_EQ(entry(0, 5), 65535u);
  EXPECT_EQ(entry(1, 5), 0u);
  EXPECT_EQ(entry(2, 5), 32896u);
  EXPECT_EQ(entry(0, 255), 65535u);
  EXPECT_EQ(entry(2, 255), 32896u);
  EXPECT_EQ(entry(0, 200), 257u);
  EXPECT_EQ(entry(0, 0), 0u);
  EXPECT_EQ(entry(0, 4), 0u);
}

TEST_F(TiffWriter, GreyImageByteForByte) {
  TifText("not written", 1);
  TifOpen(dir.file("grey.tif"), 2, 1, 1, 1, 5);
  TifPixel(1, 1, 0x111, 0x1FF);
  TifText(std::string("A\0B\0C", 5), 3);
  TifSetHdr(96, 200, 1.5f, -0.25f, 0.004f);
  TifFlush();
  TifClose();
  EXPECT_EQ(readFile(dir.file("grey.tif")), goldenBytes("grey2x1.hex"));
}

TEST_F(TiffWriter, GreyImageHasTwoBytesAPixelAndThePrivateTags) {
  TifText("a description", 1);
  TifOpen(dir.file("grey.tif"), 30, 20, 1, 1, 0);
  TifPixel(2, 1, 96, 255);
  TifText(std::string("A\0B\0", 4), 3);
  TifSetHdr(512, -512, 0.0f, 0.0f, 0.0f);
  TifFlush();
  TifClose();
  const std::string b = readFile(dir.file("grey.tif"));
  const Directory d = directoryOf(b);
  EXPECT_EQ(d.tags, (std::vector<uint32_t>{256, 257, 258, 259, 262, 273, 277, 278, 279, 282, 283,
                                           296, 338, 65000, 65001, 65002, 65003}));
  EXPECT_EQ(d.at, 8u + 30 * 20 * 2);
  EXPECT_EQ(b.substr(8, 4), std::string("\0\0\x60\xFF", 4));
  EXPECT_EQ(b.substr(d.entries.at(65000).field, 4), std::string("\x02\x00\xFE\x00", 4));
  EXPECT_EQ(d.entries.at(65003).count, 4u);
  EXPECT_EQ(b.substr(d.entries.at(65003).field, 4), std::string("A\0B\0", 4));
  const uint32_t reals = be32(b, d.entries.at(65001).field);
  EXPECT_EQ(be32(b, d.entries.at(65002).field), reals + 16);
  for (uint32_t k = 0; k < 3; ++k) {
    EXPECT_EQ(be32(b, reals + 8 * k), 0u);
    EXPECT_EQ(be32(b, reals + 8 * k + 4), 100u);
  }
  test::expectTiffinfoReads(dir.file("grey.tif"));
  const test::ToolRun dump = test::runTool("tiffdump", dir.file("grey.tif"));
  EXPECT_EQ(dump.status, 0) << dump.output;
  for (const char* tag : {"ImageWidth (256) SHORT (3) 1<30>", "ImageLength (257) SHORT (3) 1<20>",
                          "BitsPerSample (258) SHORT (3) 2<8 8>", "ExtraSamples (338) SHORT (3) 1<1>",
                          "65000 (0xfde8) SHORT (3) 2<512 65024>", "65003 (0xfdeb) BYTE (1) 4<0x41 00 0x42 00>"}) {
    EXPECT_NE(dump.output.find(tag), std::string::npos) << tag << "\n" << dump.output;
  }
}

TEST_F(TiffWriter, AFailedCreateIsReportedOnceAndWritesNothing) {
  const std::string name = dir.file("missing/picture.tif");
  TifOpen(name, 10, 10, 0, 0, 0);
  EXPECT_TRUE(TifImageOpen());  // drawing goes on in memory
  TifPixel(1, 1, 5, 0);
  TifFlush();
  TifClose();
  EXPECT_FALSE(TifImageOpen());
  EXPECT_EQ(unit6Lines(), std::vector<std::string>{"TIFF Driver: Could not create " + name});
}

TEST_F(TiffWriter, SizesATiffCannotHoldAreRefusedWithoutAsking) {
  struct Case {
    int32_t width, height, twoChannels;
  };
  for (const Case& c : {Case{70000, 10, 0}, Case{10, 70000, 0}, Case{0, 10, 0}, Case{10, -1, 0},
                        Case{65535, 65535, 1}, Case{65535, 65530, 0}}) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    mem::ScopedHook hook;
    const std::string name = dir.file("big.tif");
    TifOpen(name, c.width, c.height, c.twoChannels, 0, 0);
    EXPECT_FALSE(TifImageOpen());
    EXPECT_TRUE(hook.sizesAsked().empty());
    TifPixel(1, 1, 5, 0);
    TifFlush();
    TifClose();
    EXPECT_FALSE(io::fileExists(name));
  }
  EXPECT_EQ(unit6Lines().size(), 6u);
}

TEST_F(TiffWriter, ASizeWithin4GiBAsksForItsRaster) {
  mem::ScopedHook hook;
  hook.failAll();
  TifOpen(dir.file("big.tif"), 65535, 65500, 0, 0, 0);
  EXPECT_FALSE(TifImageOpen());
  ASSERT_EQ(hook.sizesAsked().size(), 1u);
  EXPECT_EQ(hook.sizesAsked()[0], size_t{65535} * 65500 * 2);
  EXPECT_EQ(unit6Lines(), std::vector<std::string>{"TIFF Driver: Could not create " + dir.file("big.tif")});
}

TEST_F(TiffWriter, AFailedAllocationIsACreateFailure) {
  for (int64_t nth : {1, 2}) {
    mem::ScopedHook hook;
    hook.failNth(nth);
    TifOpen(dir.file("grey.tif"), 10, 10, 1, 1, 0);
    EXPECT_FALSE(TifImageOpen());
    TifFlush();
    TifClose();
    EXPECT_FALSE(io::fileExists(dir.file("grey.tif")));
  }
  EXPECT_EQ(unit6Lines().size(), 2u);
}

TEST_F(TiffWriter, OpeningAgainReleasesTheImageBeforeWritingNothing) {
  TifOpen(dir.file("first.tif"), 10, 10, 1, 1, 0);
  TifOpen(dir.file("second.tif"), 2, 2, 0, 0, 3);
  TifFlush();
  TifClose();
  EXPECT_EQ(readFile(dir.file("first.tif")), "");
  EXPECT_EQ(be32(readFile(dir.file("second.tif")), 4), 12u);
}

TEST_F(TiffWriter, APrivateBlockReplacesTheOneBeforeAndKeeps80Bytes) {
  TifText(std::string(300, 'z'), 3);
  TifText("xyz", 3);
  TifOpen(dir.file("grey.tif"), 2, 2, 1, 1, 0);
  TifFlush();
  TifClose();
  std::string b = readFile(dir.file("grey.tif"));
  Entry e = directoryOf(b).entries.at(65003);
  EXPECT_EQ(e.count, 4u);
  EXPECT_EQ(b.substr(e.field, 4), std::string("xyz\0", 4));

  TifText(std::string(300, 'z'), 3);
  TifOpen(dir.file("grey.tif"), 2, 2, 1, 1, 0);
  TifFlush();
  TifClose();
  b = readFile(dir.file("grey.tif"));
  e = directoryOf(b).entries.at(65003);
  EXPECT_EQ(e.count, 80u);
  EXPECT_EQ(b.size(), be32(b, e.field) + 80u);
}

}  // namespace
}  // namespace kvr
