// The CGM element encoder on its own: element classes, the binary headers and partitions,
// the integer, real, colour, point and string forms of both encodings, and the attribute
// state. Each test writes elements into a raw stream and compares the bytes.
#include "plot/cgm/cgmenc.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "cgmreader.h"
#include "plot/raster/rasfile.h"
#include "testsupport.h"

namespace kvr {
namespace {

// Bytes from hexadecimal pairs separated by blanks.
std::string hex(const std::string& pairs) {
  std::istringstream in(pairs);
  std::string out;
  std::string pair;
  while (in >> pair) out.push_back(static_cast<char>(std::stoi(pair, nullptr, 16)));
  return out;
}

class CgmEncoder : public ::testing::Test {
 protected:
  void SetUp() override { CGMENC = CgmEnc{}; }
  void TearDown() override {
    RasClose();
    CGMENC = CgmEnc{};
  }

  // A metafile stream in ENCODING with its start defaults.
  void start(int32_t encoding) {
    RasOpen(dir_.file("enc.cgm"));
    CGMENC.encoding = encoding;
    CGMDEF();
  }
  // The bytes written so far; the stream is closed.
  std::string bytes() {
    RasClose();
    return test::readFile(dir_.file("enc.cgm"));
  }

  test::TempDir dir_;
};

TEST_F(CgmEncoder, CgbclsGivesEveryElementItsClassAndId) {
  // The elements as the encoder's table lists them: code, class, id.
  struct Row {
    int32_t code, cls, id;
  };
  const Row rows[] = {
      {132, 0, 1},  {133, 0, 2},  {134, 0, 3},  {135, 0, 4},  {136, 0, 5},  {232, 1, 1},
      {233, 1, 2},  {234, 1, 3},  {235, 1, 4},  {236, 1, 5},  {237, 1, 6},  {238, 1, 7},
      {239, 1, 8},  {240, 1, 9},  {241, 1, 10}, {242, 1, 11}, {332, 2, 1},  {333, 2, 2},
      {334, 2, 3},  {335, 2, 4},  {337, 2, 6},  {338, 2, 7},  {433, 3, 2},  {435, 3, 4},
      {437, 3, 6},  {32, 4, 1},   {35, 4, 4},   {38, 4, 7},   {633, 5, 2},  {635, 5, 4},
      {650, 5, 11}, {653, 5, 14}, {654, 5, 15}, {733, 5, 22}, {734, 5, 23}, {748, 5, 34},
      // The rule beyond the table: class 4 from the q 5 codes, escape and externals.
      {532, 4, 12}, {832, 6, 1},  {833, 7, 1},
      // Codes the rule has no class for give the no-op element.
      {5, 0, 0},    {30, 0, 0},   {-132, 0, 0}, {932, 0, 0},  {1032, 0, 0},
  };
  for (const Row& r : rows) {
    int32_t cls = -1;
    int32_t id = -1;
    CGBCLS(r.code, cls, id);
    EXPECT_EQ(cls, r.cls) << r.code;
    EXPECT_EQ(id, r.id) << r.code;
  }
  ASSERT_EQ(kCgmElements.size(), 36u);
  for (const CgmElement& e : kCgmElements) {
    int32_t cls = -1;
    int32_t id = -1;
    CGBCLS(e.code, cls, id);
    EXPECT_EQ(cls, e.cls);
    EXPECT_EQ(id, e.id);
  }
}

TEST_F(CgmEncoder, CharacterIntegersHaveTheBasicForm) {
  struct Case {
    int64_t value;
    std::string bytes;
  };
  const Case cases[] = {
      {0, "40"},          {1, "41"},          {-1, "51"},          {15, "4F"},
      {16, "60 50"},      {31, "60 5F"},      {492, "6F 4C"},      {-5, "55"},
      {32767, "60 7F 7F 5F"}, {-32768, "71 60 60 40"}, {100, "63 44"}, {-10, "5A"},
  };
  start(kCgmCharacter);
  std::string want;
  for (const Case& c : cases) {
    CGMBEG(kCgmMetafileVersion);
    CGCINT(c.value);
    CGMEND();
    want += hex("31 20 " + c.bytes);
  }
  // Values past 32 bits keep the form: the reader gets them back.
  CGMBEG(kCgmMetafileVersion);
  CGCINT(-2147483648LL);
  CGMEND();
  const std::string b = bytes();
  EXPECT_EQ(b.substr(0, want.size()), want);
  const test::CgmFile f = test::readCharacterCgm(b);
  ASSERT_EQ(f.error, "");
  EXPECT_EQ(f.items.back().numbers, std::vector<int64_t>{-2147483648LL});
}

TEST_F(CgmEncoder, BinaryIntegersAreClampedToTheirPrecision) {
  start(kCgmBinary);
  CGMBEG(kCgmMetafileVersion);
  CGMINP(-5);
  CGMINP(40000);
  CGMINP(-40000);
  CGMIXP(-1);
  CGMI16(70000);
  CGMEND();
  CGMENC.colourIndexPrecision = 16;
  CGMBEG(kCgmMaximumColourIndex);
  CGMCOI(255);
  CGMCOI(70000);
  CGMCOI(-3);
  CGMEND();
  CGMBEG(kCgmCharacterHeight);
  CGMVDC(-5.0f, -5);
  CGMVDC(1e9f, 1000000000);
  CGMEND();
  EXPECT_EQ(bytes(), hex("10 2A FF FB 7F FF 80 00 FF FF 7F FF "
                         "11 26 00 FF FF FF 00 00 "
                         "51 E4 FF FB 7F FF"));
}

TEST_F(CgmEncoder, ACharacterPointListWritesDifferences) {
  start(kCgmCharacter);
  const std::array<float, 3> x{100.0f, 110.0f, 110.0f};
  const std::array<float, 3> y{100.0f, 90.0f, 90.0f};
  const std::array<int32_t, 3> ix{100, 110, 110};
  const std::array<int32_t, 3> iy{100, 90, 90};
  CGMBEG(kCgmPolyline);
  CGMPTS(3, x, y, ix, iy);
  CGMEND();
  // 100, 100, then 10, -10, then 0, 0.
  EXPECT_EQ(bytes(), hex("20 63 44 63 44 4A 5A 40 40"));
}

TEST_F(CgmEncoder, BinaryPointsAreWrittenWhole) {
  start(kCgmBinary);
  const std::array<float, 2> x{100.0f, 110.0f};
  const std::array<float, 2> y{100.0f, -5.0f};
  const std::array<int32_t, 2> ix{100, 110};
  const std::array<int32_t, 2> iy{100, -5};
  CGMBEG(kCgmPolyline);
  CGMPTS(2, x, y, ix, iy);
  CGMEND();
  EXPECT_EQ(bytes(), hex("40 28 00 64 00 64 00 6E FF FB"));
}

// An element of N parameter bytes (0x11 each) in the binary encoding.
void binaryElement(int32_t code, int32_t n) {
  CGMBEG(code);
  const std::vector<uint8_t> parameters(static_cast<size_t>(n), 0x11);
  CGBPUT(parameters);
  CGMEND();
}

TEST_F(CgmEncoder, BinaryHeadersAndPartitions) {
  struct Case {
    int32_t n;
    std::vector<std::string> pieces;  // hexadecimal headers, each followed by its bytes
    std::vector<int32_t> lengths;     // parameter bytes after each header
    bool pad;
  };
  const Case cases[] = {
      {0, {"40 20"}, {0}, false},
      {1, {"40 21"}, {1}, true},
      {26, {"40 3A"}, {26}, false},
      {27, {"40 3F 00 1B"}, {27}, true},
      {1019, {"40 3F 03 FB"}, {1019}, true},
      {1020, {"40 3F 83 FC", "00 00"}, {1020, 0}, false},
      {1021, {"40 3F 83 FC", "00 01"}, {1020, 1}, true},
      {1200, {"40 3F 83 FC", "00 B4"}, {1020, 180}, false},
      {2042, {"40 3F 83 FC", "83 FE", "00 00"}, {1020, 1022, 0}, false},
      {2045, {"40 3F 83 FC", "83 FE", "00 03"}, {1020, 1022, 3}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    start(kCgmBinary);
    binaryElement(kCgmPolyline, c.n);
    std::string want;
    for (size_t k = 0; k < c.pieces.size(); ++k) {
      want += hex(c.pieces[k]);
      want += std::string(static_cast<size_t>(c.lengths[k]), '\x11');
    }
    if (c.pad) want.push_back('\0');
    EXPECT_EQ(bytes(), want);
  }
}

TEST_F(CgmEncoder, ABinaryTextOf20CharactersHasTheLongForm) {
  start(kCgmBinary);
  for (const std::string& s : {std::string(19, 'a'), std::string(20, 'b')}) {
    CGMBEG(kCgmText);
    CGMPNT(1.0f, 2.0f, 1, 2);
    CGMI16(1);
    CGMSTR(s);
    CGMEND();
  }
  // 4 bytes of point, 2 of flag, a length byte and the characters: 26, then 27.
  const std::string want = hex("40 9A 00 01 00 02 00 01 13") + std::string(19, 'a') +
                           hex("40 9F 00 1B 00 01 00 02 00 01 14") + std::string(20, 'b') +
                           std::string(1, '\0');
  EXPECT_EQ(bytes(), want);
}

TEST_F(CgmEncoder, StringsAreNeverEscaped) {
  start(kCgmCharacter);
  CGMBEG(kCgmBeginPicture);
  CGMSTR(std::string("a\x1B" "b\0c", 5));
  CGMEND();
  EXPECT_EQ(bytes(), hex("30 22 1B 58 61 1B 62 00 63 1B 5C"));

  start(kCgmBinary);
  CGMBEG(kCgmBeginPicture);
  CGMSTR(std::string("a\x1B" "b", 3));
  CGMEND();
  EXPECT_EQ(bytes(), hex("00 64 03 61 1B 62"));
}

TEST_F(CgmEncoder, DirectColoursOfBothEncodings) {
  start(kCgmCharacter);
  CGMBEG(kCgmBackgroundColour);
  CGMDCL({63, 63, 63}, 6);
  CGMDCL({0, 0, 0}, 6);
  CGMDCL({32, 0, 0}, 6);
  CGMDCL({1, 2, 3}, 6);
  CGMDCL({127, 0, 1}, 7);  // an odd precision: the last bits in a byte of their own
  CGMDCL({300, -4, 63}, 6);  // beyond the precision: held to 0..63
  CGMEND();
  EXPECT_EQ(bytes(), hex("32 26 7F 7F 7F 40 40 40 60 40 40 40 40 5D 64 64 64 68 "
                         "6D 6D 6D"));

  start(kCgmBinary);
  CGMBEG(kCgmBackgroundColour);
  CGMDCL({255, 110, 0}, 8);
  CGMDCL({256, -1, 7}, 8);
  CGMEND();
  EXPECT_EQ(bytes(), hex("20 E6 FF 6E 00 FF 00 07"));
}

TEST_F(CgmEncoder, RealsOfBothEncodings) {
  start(kCgmBinary);
  CGMBEG(kCgmScalingMode);
  CGMI16(0);
  CGMREA(0.0f);
  CGMREA(1.5f);
  CGMREA(-0.25f);
  CGMEND();
  EXPECT_EQ(bytes(), hex("20 2E 00 00 00 00 00 00 00 01 80 00 FF FF C0 00"));

  start(kCgmCharacter);
  CGMBEG(kCgmScalingMode);
  CGMI16(0);
  CGMREA(0.0f);
  CGMREA(1.5f);  // 1536
  CGMEND();
  EXPECT_EQ(bytes(), hex("32 20 40 40 61 70 40"));
}

TEST_F(CgmEncoder, ALongCharacterElementIsWrittenInPieces) {
  start(kCgmCharacter);
  std::vector<float> x(600);
  std::vector<float> y(600);
  std::vector<int32_t> ix(600);
  std::vector<int32_t> iy(600);
  for (size_t k = 0; k < 600; ++k) {
    ix[k] = static_cast<int32_t>(k * 37 % 1000);
    iy[k] = static_cast<int32_t>(32767 - k * 53 % 32000);
  }
  CGMBEG(kCgmPolyline);
  CGMPTS(600, x, y, ix, iy);
  CGMEND();
  const std::string b = bytes();
  ASSERT_GT(b.size(), 2048u);
  const test::CgmFile f = test::readCharacterCgm(b);
  ASSERT_EQ(f.error, "");
  ASSERT_EQ(f.items.size(), 1u);
  ASSERT_EQ(f.items[0].numbers.size(), 1200u);
  for (size_t k = 0; k < 600; ++k) {
    EXPECT_EQ(f.items[0].numbers[2 * k], ix[k]);
    EXPECT_EQ(f.items[0].numbers[2 * k + 1], iy[k]);
  }
}

TEST_F(CgmEncoder, WithoutAnEncodingNothingIsWritten) {
  RasOpen(dir_.file("enc.cgm"));
  CGMBEG(kCgmPolyline);
  CGMINP(5);
  CGMSTR("abc");
  CGMDCL({1, 2, 3}, 8);
  CGMEND();
  cgmSetAttribute(CgmAttribute::LineColour, 9);
  cgmWriteAttributes(kCgmPolyline);
  EXPECT_EQ(bytes(), "");
}

TEST_F(CgmEncoder, AnAttributeIsWrittenOnceBeforeItsPrimitive) {
  start(kCgmBinary);
  CGMENC.colourIndexPrecision = 16;  // as the descriptor sets it
  cgmSetAttribute(CgmAttribute::LineColour, 66);
  cgmSetAttribute(CgmAttribute::LineColour, 66);
  EXPECT_TRUE(CGMSAM(CgmAttribute::LineColour, 66));
  cgmSetAttribute(CgmAttribute::LineType, 1);  // the default: nothing to write
  cgmSetAttribute(CgmAttribute::CharacterHeight, 492);
  cgmWriteAttributes(kCgmPolygon);  // neither belongs to a polygon
  cgmWriteAttributes(kCgmPolyline);
  cgmWriteAttributes(kCgmPolyline);
  cgmWriteAttributes(kCgmText);
  EXPECT_EQ(bytes(), hex("50 82 00 42 51 E2 01 EC"));

  // At a new picture what differs from its default is due again, in its order.
  start(kCgmBinary);
  CGMENC.colourIndexPrecision = 16;
  cgmSetAttribute(CgmAttribute::LineType, 2);
  cgmSetAttribute(CgmAttribute::LineColour, 66);
  cgmWriteAttributes(kCgmPolyline);
  cgmSetAttribute(CgmAttribute::FillColour, 70);
  cgmSetAttribute(CgmAttribute::FillColour, 1);
  cgmPictureAttributes();
  cgmWriteAttributes(kCgmPolyline);
  cgmWriteAttributes(kCgmPolygon);
  EXPECT_EQ(bytes(), hex("50 42 00 02 50 82 00 42 50 42 00 02 50 82 00 42"));
}

}  // namespace
}  // namespace kvr
