// The CGM driver through the dispatcher (device 10): the metafile and picture starts in
// both encodings, the settings, attributes written once before their primitive, the
// drawing switch and StripBorder, markers, pictures of a job, the close, and records
// sent outside a job. Every metafile written is read back with the tests' own reader.
#include "plot/cgm/cgmdrv.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cgmreader.h"
#include "command/cmdlin.h"
#include "platform/fmtedit.h"
#include "plot/cgm/cgmenc.h"
#include "plot/plrgb.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "plot/raster/rasfile.h"
#include "rasterfixture.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/pltcap.h"
#include "runtime/pltctb.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"
#include "testsupport.h"

namespace kvr {
namespace {

namespace cgm = test::cgm;
using Element = std::pair<int, int>;

constexpr int32_t kCgm = 10;

std::string hex(const std::string& pairs) {
  std::istringstream in(pairs);
  std::string out;
  std::string pair;
  while (in >> pair) out.push_back(static_cast<char>(std::stoi(pair, nullptr, 16)));
  return out;
}

size_t occurrences(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The CGM driver as the dispatcher reaches it (device 10), the plot file "picture.cgm"
// opened in the directory, the picture window 0..100 by 0..80 and the previous cell of
// the plot fixture, no transformation (1); the driver and encoder states and the
// variables it reads as at process start.
class CgmDriver : public test::RasterFixture {
 protected:
  void SetUp() override {
    RasterFixture::SetUp();
    env_ = std::make_unique<test::SavedEnv>(std::vector<std::string>{"TL_DEBUG", "TL_CGM_ENCODING"});
    unsetenv("TL_DEBUG");
    unsetenv("TL_CGM_ENCODING");
    CGMSTA = CgmSta{};
    CGMENC = CgmEnc{};
    CMDLIN = CmdLin{};
    useDriver(kCgm, CGMDRV);
    PLTDEV.selectedTransform = 1;
  }
  void TearDown() override {
    RasClose();
    CGMSTA = CgmSta{};
    CGMENC = CgmEnc{};
    CMDLIN = CmdLin{};
    env_.reset();
    RasterFixture::TearDown();
  }

  static void settings(const std::string& lines) { test::writeFile("quorin.ini", lines); }

  static void commandLine(const std::string& s) {
    for (size_t k = 0; k < s.size() && k < CMDLIN.lineCodes.size(); ++k) CMDLIN.lineCodes[k] = codeOf(s[k]);
  }

  void open(const std::string& name = "picture.cgm") {
    ASSERT_TRUE(openPlotFile(name));
    file_ = name;
    PLTDSP(kOpOpen);
  }

  // Closes the job and answers the metafile's bytes.
  std::string close() {
    PLTDSP(kOpClose);
    return test::readFile(dir.file(file_));
  }

  // Closes the job and reads the metafile back; any element that does not read fails.
  test::CgmFile closeAndRead() {
    const bool character = CGMSTA.encoding == kCgmCharacter;
    const std::string b = close();
    test::CgmFile f = character ? test::readCharacterCgm(b) : test::readBinaryCgm(b);
    EXPECT_EQ(f.error, "");
    return f;
  }

  static void kind(int32_t k) {
    PLTPAR.objectKind = k;
    PLTDSP(kOpObjectKind);
  }
  static void colour(int32_t c) {
    PLTPAR.colour = c;
    PLTDSP(kOpColour);
  }
  static void line(int32_t a) {
    PLTPAR.lineAttribute = a;
    PLTDSP(kOpLineAttribute);
  }
  static void size(int32_t k) {
    PLTPAR.characterSize = k;
    PLTDSP(kOpCharacterSize);
  }
  static void move(float x, float y) {
    PLTPAR.pointX = x;
    PLTPAR.pointY = y;
    PLTDSP(kOpMove);
  }
  static void draw(float x, float y) {
    PLTPAR.pointX = x;
    PLTPAR.pointY = y;
    PLTDSP(kOpDraw);
  }
  static void points(const std::vector<std::array<float, 2>>& p) {
    PLTPAR.pointCount = static_cast<int32_t>(p.size());
    for (size_t k = 0; k < p.size(); ++k) {
      PLTPAR.x[k] = p[k][0];
      PLTPAR.y[k] = p[k][1];
    }
  }
  static void fill(int32_t c, const std::vector<std::array<float, 2>>& p) {
    PLTPAR.colour = c;
    points(p);
    PLTDSP(kOpFill);
  }
  static void polyline(const std::vector<std::array<float, 2>>& p) {
    points(p);
    PLTDSP(kOpPolyline);
  }
  static void text(const std::string& s) {
    for (size_t k = 0; k < s.size(); ++k) PLTPAR.text[k] = codeOf(s[k]);
    PLTPAR.textCount = static_cast<int32_t>(s.size());
    PLTDSP(kOpText);
  }
  static void marker(int32_t m) {
    PLTPAR.marker = m;
    PLTDSP(kOpMarker);
  }

  // A picture point in VDC as the driver maps it: its real, and its integer.
  static float vdcX(float x) { return (x - PLXFRM.pageOriginX) * PLXFRM.pageScale + PLXFRM.pageOffsetX; }
  static float vdcY(float y) { return (y - PLXFRM.pageOriginY) * PLXFRM.pageScale + PLXFRM.pageOffsetY; }
  static int64_t ix(float x) { return intOf(vdcX(x) + 0.5f); }
  static int64_t iy(float y) { return intOf(vdcY(y) + 0.5f); }

 private:
  std::unique_ptr<test::SavedEnv> env_;
  std::string file_;
};

// The elements of each picture, from BEGIN PICTURE to END PICTURE.
std::vector<std::vector<test::CgmItem>> pictures(const test::CgmFile& f) {
  std::vector<std::vector<test::CgmItem>> out;
  bool in = false;
  for (const test::CgmItem& i : f.items) {
    const Element e{i.cls, i.id};
    if (e == cgm::BeginPicture) {
      out.emplace_back();
      in = true;
    }
    if (in) out.back().push_back(i);
    if (e == cgm::EndPicture) in = false;
  }
  return out;
}

// The elements a picture draws: after its CLIP INDICATOR, before END PICTURE.
std::vector<test::CgmItem> body(const std::vector<test::CgmItem>& picture) {
  std::vector<test::CgmItem> out;
  bool in = false;
  for (const test::CgmItem& i : picture) {
    const Element e{i.cls, i.id};
    if (e == cgm::EndPicture) break;
    if (in) out.push_back(i);
    if (e == cgm::ClipIndicator) in = true;
  }
  return out;
}
std::vector<test::CgmItem> body(const test::CgmFile& f) { return body(pictures(f).back()); }

std::vector<Element> sequence(const std::vector<test::CgmItem>& items) {
  std::vector<Element> s;
  for (const test::CgmItem& i : items) s.emplace_back(i.cls, i.id);
  return s;
}

// The element sequence of a picture's start: BEGIN PICTURE to CLIP INDICATOR with
// ENTRIES colour table elements.
std::vector<Element> pictureStart(size_t entries) {
  std::vector<Element> s{cgm::BeginPicture, cgm::ScalingMode, cgm::ColourSelectionMode,
                         cgm::LineWidthMode, cgm::MarkerSizeMode, cgm::VdcExtent,
                         cgm::BackgroundColour, cgm::BeginPictureBody};
  s.insert(s.end(), entries, cgm::ColourTable);
  s.insert(s.end(), {cgm::VdcRealPrecision, cgm::Transparency, cgm::ClipIndicator});
  return s;
}

const std::string kBinaryStart =
    hex("00 30 0F") + "Quorin Metafile" + hex("10 22 00 01 10 5F 00 21 20") +
    "Quorin Ltd Metafile Driver V1.24" +
    hex("00 10 62 00 00 10 82 00 10 10 A6 00 01 00 10 00 10 10 C2 00 10 10 E2 00 08 "
        "11 02 00 10 11 22 00 FF 11 46 00 00 00 FF FF FF 11 66 00 01 FF FF 00 01");

const std::string kCharacterStart =
    hex("30 20 1B 5C 1B 58") + "Quorin Metafile" + hex("1B 5C 31 20 41 31 21 1B 58") +
    "Quorin Ltd Metafile Driver V1.24" +
    hex("1B 5C 31 22 40 31 23 4A 31 24 4A 5A 5A 41 31 25 4A 31 26 46 31 27 4A 31 28 67 5F "
        "31 29 40 40 40 7F 7F 7F 31 2A 1B 58 41 1B 5C");

TEST_F(CgmDriver, BinaryDefaultsWriteTheMetafileStartAndOnePicture) {
  open();
  EXPECT_EQ(PLTCAP.deviceName().trimmed(), "CGM");
  EXPECT_EQ(PLTCAP.words, (std::array<int32_t, 18>{2, 9, 1, 3, 1, 2, 6, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0}));
  EXPECT_EQ(PLTPAR.markerScale, 1.0f);
  // The picture window's top raised by two cells of the previous device (9 high).
  EXPECT_FLOAT_EQ(PLXFRM.pageScale, 32767.0f / 100.0f);
  EXPECT_FLOAT_EQ(PLXFRM.pageOriginY, 49.0f);
  EXPECT_EQ(PLXFRM.pageOffsetX, 16383.5f);
  EXPECT_EQ(PLTDEV.colourCount, 12);
  EXPECT_FLOAT_EQ(PLTDEV.cellHeight, 1.3f * 491.505f / PLXFRM.pageScale);
  EXPECT_FLOAT_EQ(PLTDEV.cellWidth, 0.85f * 491.505f / PLXFRM.pageScale);
  EXPECT_EQ(PLTDEV.characterSizeBase, 1);
  const std::string b = close();
  ASSERT_EQ(b.size(), 1690u);

  // BEGIN PICTURE with one NUL as its name; SCALING MODE 0, 0.0; COLOUR SELECTION MODE 0;
  // LINE WIDTH MODE 1; MARKER SIZE MODE 0; VDC EXTENT;
  // BACKGROUND COLOUR white with its pad byte; BEGIN PICTURE BODY.
  const std::string picture =
      hex("00 62 01 00 20 26 00 00 00 00 00 00 20 42 00 00 20 62 00 01 20 82 00 00 "
          "20 C8 00 00 00 00 7F FF 7F FF 20 E3 FF FF FF 00 00 80");
  EXPECT_EQ(b.substr(0, kBinaryStart.size()), kBinaryStart);
  EXPECT_EQ(b.substr(kBinaryStart.size(), picture.size()), picture);
  // 190 COLOUR TABLE elements: palette entry i at CGM index 63 + i.
  const size_t table = kBinaryStart.size() + picture.size();
  for (size_t i = 1; i <= 190; ++i) {
    const std::string entry = b.substr(table + 8 * (i - 1), 8);
    EXPECT_EQ(entry.substr(0, 4), hex("54 45 00") + static_cast<char>(63 + i)) << i;
    EXPECT_EQ(entry[7], '\0') << i;
  }
  EXPECT_EQ(b.substr(table, 8), hex("54 45 00 40 FF FF FF 00"));
  EXPECT_EQ(b.substr(table + 8 * 189, 8), hex("54 45 00 FD FF 6E FF 00"));
  // VDC REAL PRECISION, TRANSPARENCY, CLIP INDICATOR, END PICTURE, END METAFILE.
  EXPECT_EQ(b.substr(table + 8 * 190),
            hex("30 46 00 01 00 10 00 10 30 82 00 01 30 C2 00 01 00 A0 00 40"));

  const test::CgmFile f = test::readBinaryCgm(b);
  EXPECT_EQ(f.error, "");
  const std::vector<Element> head{cgm::BeginMetafile, cgm::MetafileVersion, cgm::MetafileDescription,
                                  cgm::VdcType, cgm::IntegerPrecision, cgm::RealPrecision,
                                  cgm::IndexPrecision, cgm::ColourPrecision, cgm::ColourIndexPrecision,
                                  cgm::MaximumColourIndex, cgm::ColourValueExtent, cgm::MetafileElementList};
  std::vector<Element> want = head;
  for (const Element& e : pictureStart(190)) want.push_back(e);
  want.insert(want.end(), {cgm::EndPicture, cgm::EndMetafile});
  EXPECT_EQ(f.sequence(), want);
  EXPECT_EQ(f.items[2].text, "Quorin Ltd Metafile Driver V1.24");
}

TEST_F(CgmDriver, TheEncodingSettingOrItsVariableChoosesTheEncoding) {
  struct Case {
    std::string setting;
    const char* variable;
    bool character;
  };
  const Case cases[] = {
      {"character", nullptr, true}, {"CHAR", nullptr, true},   {"c1", nullptr, true},
      {"Binary", nullptr, false},   {"x", nullptr, false},     {"", nullptr, false},
      {"-", nullptr, false},        {"-", "c", true},          {"Binary", "c", false},
      {"", "Character", false},     {"-", "binary", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting + " / " + (c.variable ? c.variable : "(no variable)"));
    // "-": no key at all; "": the key with an empty value, which is set and reads binary.
    settings(c.setting == "-" ? "" : "Quorin.*.CGM.Encoding: " + c.setting + "\n");
    if (c.variable) {
      setenv("TL_CGM_ENCODING", c.variable, 1);
    } else {
      unsetenv("TL_CGM_ENCODING");
    }
    open();
    const std::string b = close();
    const std::string& start = c.character ? kCharacterStart : kBinaryStart;
    EXPECT_EQ(b.substr(0, start.size()), start);
    const test::CgmFile f = c.character ? test::readCharacterCgm(b) : test::readBinaryCgm(b);
    EXPECT_EQ(f.error, "");
  }
}

TEST_F(CgmDriver, TheCharacterEncodingWritesItsOwnForms) {
  settings("Quorin.*.CGM.Encoding: character\n");
  open();
  const std::string b = close();
  const std::string picture = hex("30 22 1B 58 00 1B 5C");
  EXPECT_EQ(b.substr(kCharacterStart.size(), picture.size()), picture);
  // BACKGROUND COLOUR 63, 63, 63, BEGIN PICTURE BODY, then palette entry 1 at index 64
  // with the integer 0 before its colour.
  EXPECT_EQ(occurrences(b, hex("32 26 7F 7F 7F 30 23 36 30 62 40 40 7F 7F 7F")), 1u);
  EXPECT_EQ(b.substr(b.size() - 4), hex("30 24 30 21"));
  const test::CgmFile f = test::readCharacterCgm(b);
  ASSERT_EQ(f.error, "");
  EXPECT_TRUE(f.items[0].strayTerminator);
  EXPECT_EQ(f.items[0].text, "Quorin Metafile");
  const auto tables = f.all(5, 34);
  ASSERT_EQ(tables.size(), 190u);
  // Entry 22 (37, 235, 255) on 63: 9, 58, 63.
  EXPECT_EQ(tables[21].numbers, std::vector<int64_t>{85});
  EXPECT_EQ(tables[21].colours[0], (std::array<int64_t, 3>{9, 58, 63}));
  EXPECT_EQ(f.all(1, 10)[0].colours, (std::vector<std::array<int64_t, 3>>{{0, 0, 0}, {63, 63, 63}}));
}

TEST_F(CgmDriver, TheFirstWordOfBackgroundChoosesBlack) {
  struct Case {
    std::string setting;
    bool black;
  };
  const Case cases[] = {{"", false},          {"black", true},     {"BLACK", true},
                        {"Black and white", true}, {"blackish", false}, {"white", false}};
  for (const char* encoding : {"binary", "character"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(encoding) + " / " + c.setting);
      std::string lines = std::string("Quorin.*.CGM.Encoding: ") + encoding + "\n";
      if (!c.setting.empty()) lines += "Quorin.*.CGM.Background: " + c.setting + "\n";
      settings(lines);
      open();
      // White paper: basic colours 1 and 8 trade palette entries.
      EXPECT_EQ(PLTCTB.shade(10, 2, 1), c.black ? 1 : 8);
      EXPECT_EQ(PLTCTB.shade(10, 3, 8), c.black ? 8 : 1);
      const test::CgmFile f = closeAndRead();
      const int64_t top = std::string(encoding) == "binary" ? 255 : 63;
      const std::array<int64_t, 3> want = c.black ? std::array<int64_t, 3>{0, 0, 0}
                                                  : std::array<int64_t, 3>{top, top, top};
      ASSERT_EQ(f.count(2, 7), 1u);
      EXPECT_EQ(f.all(2, 7)[0].colours[0], want);
    }
  }
}

TEST_F(CgmDriver, ThePictureNameIsTheCommandLineStripped) {
  commandLine("   plot the  beam   ");
  open();
  test::CgmFile f = closeAndRead();
  EXPECT_EQ(f.all(0, 3)[0].text, "plot the  beam");

  commandLine(std::string(3, ' ') + std::string(100, 'x'));
  open();
  f = closeAndRead();
  EXPECT_EQ(f.all(0, 3)[0].text, std::string(77, 'x'));

  CMDLIN = CmdLin{};
  commandLine(std::string(80, ' ') + "beyond the name");
  open();
  f = closeAndRead();
  EXPECT_EQ(f.all(0, 3)[0].text, std::string(1, '\0'));
}

TEST_F(CgmDriver, AttributesAreWrittenOnceJustBeforeTheirPrimitive) {
  open();
  kind(1);
  colour(3);
  colour(3);
  move(10.0f, 10.0f);
  draw(20.0f, 30.0f);
  draw(40.0f, 30.0f);
  text("AB");
  const float cellHeight = PLTDEV.cellHeight;
  size(5);  // no such size: nothing changes
  EXPECT_EQ(PLTDEV.cellHeight, cellHeight);
  EXPECT_EQ(PLTDEV.characterSizeBase, 1);
  text("CD");
  line(0);
  line(-2);
  fill(3, {{10.0f, 10.0f}, {20.0f, 20.0f}});  // two points: nothing
  polyline({});
  text("");
  text(std::string(80, 'x') + std::string(20, 'y'));
  const std::string b = close();
  const test::CgmFile f = test::readBinaryCgm(b);
  ASSERT_EQ(f.error, "");

  const std::vector<test::CgmItem> items = body(f);
  EXPECT_EQ(sequence(items),
            (std::vector<Element>{cgm::LineColour, cgm::Polyline, cgm::Polyline, cgm::TextPrecision,
                                  cgm::TextColour, cgm::CharacterHeight, cgm::Text, cgm::Text,
                                  cgm::Polyline, cgm::Text, cgm::Text}));
  EXPECT_EQ(occurrences(b, hex("50 82 00 42")), 1u);  // LINE COLOUR 66, colour 3
  EXPECT_EQ(occurrences(b, hex("51 E2 01 EC")), 1u);  // CHARACTER HEIGHT 492
  EXPECT_EQ(items[1].numbers, (std::vector<int64_t>{ix(10), iy(10), ix(20), iy(30)}));
  EXPECT_EQ(items[2].numbers, (std::vector<int64_t>{ix(20), iy(30), ix(40), iy(30)}));
  EXPECT_EQ(items[3].numbers, std::vector<int64_t>{2});   // stroke precision
  EXPECT_EQ(items[4].numbers, std::vector<int64_t>{66});
  EXPECT_EQ(items[6].text, "AB");
  EXPECT_EQ(items[6].numbers, (std::vector<int64_t>{ix(40), iy(30), 1}));  // final flag 1
  EXPECT_EQ(items[7].text, "CD");
  EXPECT_TRUE(items[8].numbers.empty());  // the empty POLYLINE of n = 0
  EXPECT_NE(b.find(hex("40 20")), std::string::npos);
  EXPECT_TRUE(items[9].hasText);
  EXPECT_EQ(items[9].text, "");
  EXPECT_EQ(items[10].text, std::string(80, 'x'));
}

TEST_F(CgmDriver, ALineTypeIsWrittenBeforeTheNextLine) {
  open();
  kind(1);
  line(2);
  move(10.0f, 10.0f);
  draw(20.0f, 20.0f);
  line(2);
  draw(30.0f, 20.0f);
  line(1);
  draw(40.0f, 20.0f);
  const test::CgmFile f = closeAndRead();
  const std::vector<test::CgmItem> items = body(f);
  EXPECT_EQ(sequence(items), (std::vector<Element>{cgm::LineType, cgm::Polyline, cgm::Polyline,
                                                   cgm::LineType, cgm::Polyline}));
  EXPECT_EQ(items[0].numbers, std::vector<int64_t>{2});
  EXPECT_EQ(items[3].numbers, std::vector<int64_t>{1});
}

TEST_F(CgmDriver, CharacterSizesAndTheirScales) {
  struct Case {
    int32_t size;
    std::string settings;
    int64_t height;
  };
  const Case cases[] = {
      {1, "", 492},
      {3, "", 492},
      {1, "Quorin.*.CGM.FontSizeScale: 2.0\n", 983},
      {2, "", 369},
      {4, "Quorin.*.CGM.SmallFontSizeScale: 2\n", 737},
      {-3, "Quorin.*.CGM.TitleFontSizeScale: 0.5\n", 246},
      {-3, "Quorin.*.CGM.FontSizeScale: 2.0\n", 983},  // the title scale follows it
      {1, "Quorin.*.CGM.FontSizeScale: big\n", 0},     // not a number: 0.0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + " " + c.settings);
    settings(c.settings);
    open();
    kind(1);
    size(c.size);
    EXPECT_EQ(PLTDEV.characterSizeBase, c.size);
    text("A");
    const test::CgmFile f = closeAndRead();
    const auto heights = f.all(5, 15);
    ASSERT_FALSE(heights.empty());
    EXPECT_EQ(heights.back().numbers, std::vector<int64_t>{c.height});
  }
}

TEST_F(CgmDriver, NothingIsDrawnBeforeTheFirstObjectKindButMarkers) {
  open();
  PLTPAR.colour = 2;
  move(10.0f, 10.0f);
  draw(20.0f, 20.0f);
  fill(2, {{10.0f, 10.0f}, {20.0f, 20.0f}, {30.0f, 10.0f}});
  text("no");
  polyline({{10.0f, 10.0f}, {20.0f, 20.0f}});
  marker(1);
  const test::CgmFile f = closeAndRead();
  EXPECT_EQ(sequence(body(f)), (std::vector<Element>{cgm::LineColour, cgm::Polyline, cgm::Polyline}));
  EXPECT_EQ(body(f)[0].numbers, std::vector<int64_t>{64 + 1});  // colour 2: palette entry 2
}

TEST_F(CgmDriver, StripBorderDropsKindThreeButItsMarkers) {
  settings("Quorin.*.CGM.StripBorder: TRUE\n");
  auto everything = [&] {
    move(10.0f, 10.0f);
    draw(20.0f, 20.0f);
    fill(2, {{10.0f, 10.0f}, {20.0f, 20.0f}, {30.0f, 10.0f}});
    text("t");
    polyline({{10.0f, 10.0f}, {20.0f, 20.0f}});
    marker(8);
  };
  open();
  EXPECT_EQ(CGMSTA.stripKind, 3);
  kind(3);
  everything();
  kind(4);
  everything();
  const test::CgmFile f = closeAndRead();
  // Kind 3: the marker alone. Kind 4: the line, the fill, the text (no colour was set
  // for it), the polyline and the marker.
  const std::vector<Element> withAttributes{cgm::LineColour, cgm::Polyline,
                                            cgm::Polyline, cgm::InteriorStyle, cgm::FillColour,
                                            cgm::Polygon, cgm::TextPrecision,
                                            cgm::CharacterHeight, cgm::Text, cgm::Polyline,
                                            cgm::Polyline};
  EXPECT_EQ(sequence(body(f)), withAttributes);

  // Without StripBorder kind 3 draws.
  settings("");
  open();
  EXPECT_EQ(CGMSTA.stripKind, -1);
  kind(3);
  move(10.0f, 10.0f);
  draw(20.0f, 20.0f);
  EXPECT_EQ(closeAndRead().count(4, 1), 1u);
}

TEST_F(CgmDriver, TheDrawingSwitchOutlivesAJob) {
  open();
  kind(1);
  close();
  open();
  move(10.0f, 10.0f);
  draw(20.0f, 20.0f);
  EXPECT_EQ(closeAndRead().count(4, 1), 1u);
}

TEST_F(CgmDriver, MarkersAreDrawnAsPolylines) {
  struct Case {
    int32_t marker;
    size_t polylines;
  };
  const Case cases[] = {{1, 2}, {2, 4}, {3, 2}, {4, 1}, {5, 1}, {6, 3},
                        {7, 1}, {8, 1}, {9, 5}, {0, 5}, {-1, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.marker);
    open();
    move(50.0f, 40.0f);
    marker(c.marker);
    EXPECT_EQ(closeAndRead().count(4, 1), c.polylines);
  }

  // A square of half size s = cell height x page scale / 3 x SymbolScale around the point.
  settings("Quorin.*.CGM.SymbolScale: 2\n");
  open();
  move(50.0f, 40.0f);
  line(3);
  marker(4);
  EXPECT_EQ(PLTDEV.lineAttribute, 1);
  const float s = PLTDEV.cellHeight * PLXFRM.pageScale / 3.0f * 2.0f;
  const float x = vdcX(50.0f);
  const float y = vdcY(40.0f);
  auto i = [](float v) { return static_cast<int64_t>(intOf(v + 0.5f)); };
  const test::CgmFile f = closeAndRead();
  const std::vector<test::CgmItem> items = body(f);
  // Line type 3, then 1 for the marker: the last value set goes out.
  ASSERT_EQ(sequence(items), (std::vector<Element>{cgm::LineType, cgm::LineColour, cgm::Polyline}));
  EXPECT_EQ(items[0].numbers, std::vector<int64_t>{1});
  EXPECT_EQ(items[2].numbers, (std::vector<int64_t>{i(x - s), i(y - s), i(x + s), i(y - s), i(x + s),
                                                    i(y + s), i(x - s), i(y + s), i(x - s), i(y - s)}));
}

TEST_F(CgmDriver, DebugLinesFollowTheSettingOrTheVariable) {
  settings("Quorin.*.CGM.Debug: TRUE\n");
  open();
  close();
  const std::vector<std::string> lines = unit6Lines();
  const std::vector<std::string> wanted{
      "CGMDRV: CGM Driver Version", "CGMDRV: Binary encoding", "CGMDRV: Border will be drawn",
      "CGMDRV: FontSizeScale      : ", "CGMDRV: SmallFontSizeScale : ",
      "CGMDRV: TitleFontSizeScale : ", "CGMDRV: SymbolScale        : ",
      "CGMDRV: Using WHITE background"};
  ASSERT_EQ(lines.size(), wanted.size());
  for (size_t k = 0; k < wanted.size(); ++k) EXPECT_NE(lines[k].find(wanted[k]), std::string::npos) << lines[k];
  EXPECT_NE(lines[0].find("26"), std::string::npos);
  EXPECT_NE(lines[3].find("1."), std::string::npos);

  // The variable stands in for a missing key; a key that is not TRUE wins over it. A new
  // page writes no background line.
  setenv("TL_DEBUG", "t", 1);
  settings("Quorin.*.CGM.Encoding: c\nQuorin.*.CGM.StripBorder: T\nQuorin.*.CGM.Background: black\n");
  open();
  PLTDSP(kOpNewPage);
  close();
  const std::vector<std::string> more = unit6Lines();
  ASSERT_EQ(more.size(), 16u);
  EXPECT_NE(more[9].find("CGMDRV: Character encoding"), std::string::npos);
  EXPECT_NE(more[10].find("CGMDRV: Border will NOT be drawn"), std::string::npos);
  EXPECT_NE(more[15].find("CGMDRV: Using BLACK background"), std::string::npos);
  settings("Quorin.*.CGM.Debug: FALSE\n");
  open();
  close();
  EXPECT_EQ(unit6Lines().size(), 16u);
}

TEST_F(CgmDriver, EveryPictureOfAJobSetsItsAttributesAgain) {
  PLRGB.red(1) = 12;
  PLTCTB.count(10) = 3;
  PLTCTB.shade(10, 2, 1) = 77;
  PLTDEV.currentColour = 5;
  open();
  kind(1);
  colour(3);
  auto drawing = [&] {
    fill(3, {{10.0f, 10.0f}, {20.0f, 20.0f}, {30.0f, 10.0f}});
    move(50.0f, 40.0f);
    text("T");
    polyline({{10.0f, 10.0f}, {20.0f, 20.0f}});
  };
  drawing();
  PLTDSP(kOpNewPage);
  drawing();
  const test::CgmFile f = closeAndRead();
  const auto pics = pictures(f);
  ASSERT_EQ(pics.size(), 2u);
  EXPECT_EQ(f.count(0, 1), 1u);
  EXPECT_EQ(f.count(0, 2), 1u);
  const std::vector<Element> drawn{cgm::InteriorStyle, cgm::FillColour,   cgm::Polygon,
                                   cgm::TextPrecision, cgm::TextColour,   cgm::CharacterHeight,
                                   cgm::Text,          cgm::LineColour,   cgm::Polyline};
  for (const auto& p : pics) {
    std::vector<Element> want = pictureStart(190);
    want.insert(want.end(), drawn.begin(), drawn.end());
    want.push_back(cgm::EndPicture);
    EXPECT_EQ(sequence(p), want);
    const std::vector<test::CgmItem> items = body(p);
    EXPECT_EQ(items[0].numbers, std::vector<int64_t>{1});     // solid
    EXPECT_EQ(items[1].numbers, std::vector<int64_t>{66});    // colour 3
    EXPECT_EQ(items[3].numbers, std::vector<int64_t>{2});     // stroke
    EXPECT_EQ(items[5].numbers, std::vector<int64_t>{492});
    EXPECT_EQ(items[7].numbers, std::vector<int64_t>{66});
  }
  EXPECT_EQ(PLRGB.red(1), 12);
  EXPECT_EQ(PLTCTB.count(10), 3);
  EXPECT_EQ(PLTCTB.shade(10, 2, 1), 77);
  EXPECT_EQ(PLTDEV.currentColour, 0);
  EXPECT_EQ(PLTDEV.cellHeight, 9.0f);
}

TEST_F(CgmDriver, CloseGivesTheDeviceWordsBack) {
  PLTCAP.words = {1, 9, 1, 3, 1, 2, 6, 0, 1, 0, 0, 0, 0, 0, 4, 0, 0, 0};
  PLTDEV.colourCount = 5;
  PLTDEV.colourCount2 = 6;
  PLTDEV.colourTableCount = 4;
  open();
  PLTPAR.textCount = -3;
  PLTDSP(kOpText);  // an inquiry draws nothing
  EXPECT_EQ(PLTCTB.textAnswer, -99);
  PLTPAR.colourTable = 3;
  PLTDSP(kOpColourTable);
  EXPECT_EQ(PLTDEV.colourCount, 21);
  PLTPAR.colourTable = 11;  // no such table: the counts stay
  PLTDSP(kOpColourTable);
  EXPECT_EQ(PLTDEV.colourTableCount, 11);
  EXPECT_EQ(PLTDEV.colourCount, 21);
  EXPECT_EQ(PLTDEV.colourCount2, 21);
  const test::CgmFile f = closeAndRead();
  EXPECT_EQ(f.count(4, 4), 0u);
  EXPECT_EQ(PLTCAP.words[0], 1);
  EXPECT_EQ(PLTCAP.words[8], 1);
  EXPECT_EQ(PLTDEV.colourCount, 5);
  EXPECT_EQ(PLTDEV.colourCount2, 6);
  EXPECT_EQ(PLTDEV.colourTableCount, 0);

  // A close, or a new page, without a job changes nothing and writes nothing.
  PLTDEV.colourCount = 7;
  PLRGB.red(2) = 3;
  PLTDSP(kOpClose);
  PLTDSP(kOpNewPage);
  EXPECT_EQ(PLTDEV.colourCount, 7);
  EXPECT_EQ(PLRGB.red(2), 3);
  EXPECT_EQ(PLTCAP.words[0], 1);
}

TEST_F(CgmDriver, ASecondOpenEndsTheJobBefore) {
  PLTCAP.words[0] = 1;
  open("first.cgm");
  kind(1);
  move(10.0f, 10.0f);
  draw(20.0f, 20.0f);
  open("second.cgm");
  const test::CgmFile second = closeAndRead();
  EXPECT_EQ(second.count(4, 1), 0u);
  const test::CgmFile first = test::readBinaryCgm(test::readFile(dir.file("first.cgm")));
  EXPECT_EQ(first.error, "");
  EXPECT_EQ(first.count(4, 1), 1u);
  EXPECT_EQ(first.items.back().cls, 0);
  EXPECT_EQ(first.items.back().id, 2);  // END METAFILE
  EXPECT_EQ(PLTCAP.words[0], 1);
}

TEST_F(CgmDriver, PointsAreWrittenBackInVdc) {
  open();
  kind(1);
  polyline({{10.0f, 20.0f}, {90.0f, 70.0f}});
  EXPECT_EQ(PLTPAR.x[0], vdcX(10.0f));
  EXPECT_EQ(PLTPAR.y[1], vdcY(70.0f));
  move(30.0f, 30.0f);
  draw(60.0f, 50.0f);
  EXPECT_EQ(PLTPAR.pointX, vdcX(60.0f));
  // A text stands off the current point by its offsets in character cells.
  PLTPAR.textOffsetX = 1.0f;
  PLTPAR.textOffsetY = -0.5f;
  text("off");
  const float x = vdcX(60.0f) + PLTDEV.cellWidth * PLXFRM.pageScale;
  const float y = vdcY(50.0f) - 0.5f * PLTDEV.cellHeight * PLXFRM.pageScale;
  const test::CgmFile f = closeAndRead();
  const auto texts = f.all(4, 4);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].numbers, (std::vector<int64_t>{intOf(x + 0.5f), intOf(y + 0.5f), 1}));
}

TEST_F(CgmDriver, ADegenerateWindowMapsWithAnExtentOfOne) {
  PLTDEV.window = {5.0f, 5.0f, 3.0f, 3.0f};
  open();
  EXPECT_FLOAT_EQ(PLXFRM.pageScale, 32767.0f / 18.0f);
  kind(1);
  polyline({{5.0f, 3.0f}, {5.0f, 21.0f}});
  const test::CgmFile f = closeAndRead();
  const auto lines = f.all(4, 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].numbers, (std::vector<int64_t>{16384, 0, 16384, 32767}));
}

TEST_F(CgmDriver, AColourMapOfMoreThan192LinesStaysWithinIndex255) {
  CHRSET();
  std::string map;
  for (int k = 0; k < 200; ++k) map += "U S C C  1 0.0 0.0 1.0\n";
  test::writeFile(dir.file("map.txt"), map);
  settings("Quorin.*.CGM.Colourmap: map.txt\n");
  open();
  EXPECT_EQ(PLRGB.highest, 200);
  EXPECT_EQ(CGMSTA.paletteIndex[255], 192);  // device colour 256
  const test::CgmFile f = closeAndRead();
  const auto tables = f.all(5, 34);
  ASSERT_EQ(tables.size(), 192u);
  EXPECT_EQ(tables.front().numbers, std::vector<int64_t>{64});
  EXPECT_EQ(tables.back().numbers, std::vector<int64_t>{255});
  EXPECT_EQ(tables[12].colours[0], (std::array<int64_t, 3>{0, 0, 255}));  // entry 13
  EXPECT_EQ(CGMSTA.paletteIndex[255], 0);  // given back at the close
}

TEST_F(CgmDriver, AMarkerBeforeAnyJobWritesNothing) {
  std::set<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) files.insert(e.path().filename());
  PLTPAR.marker = 9;
  PLTPAR.colour = 3;
  CGMDRV(kOpMarker);
  CGMDRV(kOpText);
  CGMDRV(kOpPolyline);
  CGMDRV(kOpClose);
  CGMDRV(kOpNewPage);
  std::set<std::string> after;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) after.insert(e.path().filename());
  EXPECT_EQ(after, files);
  EXPECT_EQ(CGMENC.encoding, kCgmNoEncoding);
  // Opcodes outside the driver's list, and outside 1..36, return at once.
  for (int32_t op : {0, 3, 7, 21, 27, 36, 37, -1}) CGMDRV(op);
}

// The bytes of golden file NAME (hexadecimal pairs, "#" comments).
std::string goldenBytes(const std::string& name) {
  const char* source = std::getenv("KVR_TEST_SOURCE");
  EXPECT_NE(source, nullptr) << "KVR_TEST_SOURCE names the tests folder";
  std::istringstream in(test::readFile(std::string(source ? source : ".") + "/plot/golden/" + name));
  std::string bytes;
  std::string line;
  while (std::getline(in, line)) bytes += hex(line.substr(0, line.find('#')));
  return bytes;
}

TEST_F(CgmDriver, SmallPicturesMatchTheirGoldenFiles) {
  CHRSET();
  test::writeFile(dir.file("map.txt"), "U S C P  1 1.0 0.0 0.0\n");
  for (const std::string encoding : {"character", "binary"}) {
    SCOPED_TRACE(encoding);
    settings("Quorin.*.CGM.Encoding: " + encoding +
             "\nQuorin.*.CGM.Background: black\nQuorin.*.CGM.Colourmap: map.txt\n");
    commandLine("golden");
    open();
    kind(1);
    colour(1);
    move(10.0f, 10.0f);
    draw(90.0f, 70.0f);
    text("Hi");
    const std::string b = close();
    EXPECT_EQ(b, goldenBytes("cgm-" + encoding + ".hex"));
    const test::CgmFile f = encoding == "binary" ? test::readBinaryCgm(b) : test::readCharacterCgm(b);
    EXPECT_EQ(f.error, "");
  }
}

TEST_F(CgmDriver, BothEncodingsDecodeToTheSamePicture) {
  auto picture = [&] {
    commandLine("both encodings");
    PLTPAR.colourTable = 1;
    open();
    kind(1);
    colour(4);
    line(2);
    move(10.0f, 10.0f);
    draw(30.0f, 60.0f);
    fill(-5, {{10.0f, 10.0f}, {50.0f, 20.0f}, {40.0f, 70.0f}, {5.0f, 60.0f}});
    size(2);
    text("Hello, world");
    polyline({{0.0f, 0.0f}, {100.0f, 80.0f}, {100.0f, 0.0f}});
    move(70.0f, 30.0f);
    marker(2);
    PLTDSP(kOpNewPage);
    kind(3);
    text("page 2");
    return closeAndRead();
  };
  const test::CgmFile binary = picture();
  settings("Quorin.*.CGM.Encoding: character\n");
  const test::CgmFile character = picture();
  ASSERT_EQ(binary.sequence(), character.sequence());
  // Precisions, the element list and direct colours differ by their encoding; the rest
  // is the same.
  const std::set<Element> ownForms{cgm::IntegerPrecision, cgm::RealPrecision, cgm::IndexPrecision,
                                   cgm::ColourPrecision, cgm::ColourIndexPrecision,
                                   cgm::MetafileElementList, cgm::VdcRealPrecision};
  for (size_t k = 0; k < binary.items.size(); ++k) {
    const test::CgmItem& b = binary.items[k];
    const test::CgmItem& c = character.items[k];
    SCOPED_TRACE(std::to_string(k) + ": (" + std::to_string(b.cls) + ", " + std::to_string(b.id) + ")");
    if (ownForms.count({b.cls, b.id}) == 0) {
      EXPECT_EQ(b.numbers, c.numbers);
    }
    EXPECT_EQ(b.text, c.text);
    EXPECT_EQ(b.reals, c.reals);
    ASSERT_EQ(b.colours.size(), c.colours.size());
    for (size_t j = 0; j < b.colours.size(); ++j) {
      for (size_t n = 0; n < 3; ++n) {
        EXPECT_EQ(c.colours[j][n], std::trunc(static_cast<float>(b.colours[j][n]) / 255.0f * 63.0f + 0.5f));
      }
    }
  }
  EXPECT_EQ(binary.all(0, 3)[0].text, "both encodings");
  EXPECT_EQ(binary.count(4, 4), 2u);  // kind 3 draws when StripBorder is off
  EXPECT_EQ(binary.count(4, 7), 1u);
}

}  // namespace
}  // namespace kvr
