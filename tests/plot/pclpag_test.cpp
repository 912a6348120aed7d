#include "plot/pcl/pclpag.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "pclfixture.h"
#include "plot/pcl/pclsta.h"
#include "plot/raster/rasfile.h"

namespace kvr {
namespace {

using test::kDeskjet;
using test::kLaserjet;
using test::kPaintjet;
using test::PclJob;
using test::readPcl;

const std::string kEsc = "\x1b";


TEST(Pclrle, EncodesRunsAsCountAndBytePairs) {
  struct Case {
    std::vector<uint8_t> data;
    std::vector<uint8_t> pairs;
  };
  const Case cases[] = {
      {{}, {}},
      {{7}, {0, 7}},
      {std::vector<uint8_t>(300, 0xB), {0xFF, 0xB, 0x2B, 0xB}},
      {std::vector<uint8_t>(256, 1), {0xFF, 1}},
      {std::vector<uint8_t>(257, 1), {0xFF, 1, 0, 1}},
      {{1, 2, 2, 3}, {0, 1, 1, 2, 0, 3}},
      {std::vector<uint8_t>(90, 0), {89, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data.size());
    std::vector<uint8_t> pairs(2 * c.data.size() + 2, 0xEE);
    int32_t n = -1;
    PCLRLE(c.data, pairs, n);
    EXPECT_EQ(n, static_cast<int32_t>(c.pairs.size()));
    EXPECT_EQ(std::vector<uint8_t>(pairs.begin(), pairs.begin() + std::max(n, 0)), c.pairs);
    EXPECT_EQ(pairs[static_cast<size_t>(std::max(n, 0))], 0xEE);
  }
  // Bytes that never repeat take twice their room, and no more than the room given.
  std::vector<uint8_t> data(225);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
  std::vector<uint8_t> pairs(450 + 1, 0xEE);
  int32_t n = 0;
  PCLRLE(data, std::span<uint8_t>(pairs).first(450), n);
  EXPECT_EQ(n, 450);
  EXPECT_EQ(pairs[450], 0xEE);
  PCLRLE(data, std::span<uint8_t>(pairs).first(9), n);
  EXPECT_EQ(n, 8);
}

using PclJobs = test::PclFixture;

TEST_F(PclJobs, APlaneRecordCountsItsPairs) {
  RasOpen(dir.file("record.pcl"));
  writePlaneRecord('V', std::vector<uint8_t>(300, 0xB), true);
  writePlaneRecord('W', std::vector<uint8_t>{1, 2, 3}, false);
  RasClose();
  EXPECT_EQ(test::readFile(dir.file("record.pcl")),
            kEsc + "*b004V\xFF\x0B\x2B\x0B" + kEsc + "*b003W\x01\x02\x03");
}

TEST_F(PclJobs, APaintjetAtNinetyDotsSendsItsPalette) {
  settings("Quorin.*.Paintjet.LowRes: TRUE\n");
  open(kPaintjet);
  EXPECT_EQ(PCLSTA.wpix, 896);
  EXPECT_EQ(PCLSTA.outputRows, 720);
  const std::string b = close();
  const PclJob job = readPcl(b);
  ASSERT_TRUE(job.wellFormed) << job.fault;
  const std::vector<std::string> controls = job.controls();
  ASSERT_EQ(controls.size(), 3u + 64u + 8u);
  EXPECT_EQ(std::vector<std::string>(controls.begin(), controls.begin() + 11),
            (std::vector<std::string>{"E", "*t90R", "*r4U", "*v90A", "*v88B", "*v85C", "*v00I", "*v04A", "*v04B",
                                      "*v06C", "*v01I"}));
  for (int32_t k = 0; k < 16; ++k) {
    EXPECT_EQ(controls[static_cast<size_t>(3 + 4 * k + 3)], "*v" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "I");
  }
  EXPECT_EQ(std::vector<std::string>(controls.begin() + 67, controls.end()),
            (std::vector<std::string>{"&a0128H", "&a0192V", "*r0720S", "*r1A", "*b1M", "*r0B", "*b0M", "E"}));
  // A blank row: the pair (89, 0) in each of four planes.
  const std::string row = kEsc + "*b002V\x59" + std::string(1, '\0') + kEsc + "*b002V\x59" + std::string(1, '\0') +
                          kEsc + "*b002V\x59" + std::string(1, '\0') + kEsc + "*b002W\x59" + std::string(1, '\0');
  const size_t first = b.find(kEsc + "*b1M") + 5;
  size_t wrongRows = 0;
  for (size_t k = 0; k < 896; ++k) wrongRows += b.compare(first + k * row.size(), row.size(), row) != 0;
  EXPECT_EQ(wrongRows, 0u);
  EXPECT_EQ(b.substr(first + 896 * row.size()), kEsc + "*r0B" + kEsc + "*b0M" + kEsc + "E");

  setenv("TL_RASRLE", "F", 1);
  open(kPaintjet);
  const PclJob plain = readPcl(close());
  EXPECT_EQ(plain.count("*b1M"), 0u);
  EXPECT_EQ(plain.count("*b090V"), 3u * 896u);
  EXPECT_EQ(plain.count("*b090W"), 896u);
  EXPECT_EQ(plain.pages.at(0).inked(), 0u);
}

TEST_F(PclJobs, APaintjetAtHighResolutionDithersInThreePlanes) {
  settings("Quorin.*.Paintjet.Quality: Presentation\nQuorin.*.Paintjet.Transparency: true\n");
  setenv("TL_DEBUG", "T", 1);
  open(kPaintjet);
  EXPECT_EQ(PCLSTA.wpix, 1800);
  EXPECT_EQ(PCLSTA.outputRows, 1440);
  const std::string b = close();
  const PclJob job = readPcl(b);
  ASSERT_TRUE(job.wellFormed) << job.fault;
  const std::vector<std::string> controls = job.controls();
  EXPECT_EQ(controls, (std::vector<std::string>{"E", "*t180R", "*r3U", "*o1Q", "&k3W", "&a0128H", "&a0192V",
                                                "*r1440S", "*r1A", "*b1M", "*r0B", "*b0M", "E"}));
  // White paper is every plane on: 180 bytes FF, the pair (179, FF).
  EXPECT_EQ(job.count("*b002V"), 2u * 1800u);
  EXPECT_NE(b.find(kEsc + "*b002V\xB3\xFF" + kEsc + "*b002V\xB3\xFF" + kEsc + "*b002W\xB3\xFF"), std::string::npos);
  const std::vector<std::string> lines = unit6Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), " Presentation Mode is ON"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), " Transparency Mode is ON"), lines.end());
}

TEST_F(PclJobs, PaintjetQualityAndTransparencySettings) {
  struct Case {
    std::string settings;
    std::vector<std::string> commands;  // between the planes and the palette
    std::string quality, transparency;  // the debug lines
  };
  const Case cases[] = {
      {"", {}, " Presentation Mode is as per keypad", " Transparency Mode is as per keypad"},
      {"Quorin.*.Paintjet.Quality: NORMAL\nQuorin.*.Paintjet.Transparency: no\n", {"*o0Q"},
       " Presentation Mode is OFF", " Transparency Mode is OFF"},
      {"Quorin.*.Paintjet.Quality: best\nQuorin.*.Paintjet.Transparency: TRUE\n", {"&k3W"},
       " Presentation Mode is as per keypad", " Transparency Mode is ON"},
  };
  setenv("TL_DEBUG", "T", 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    settings(c.settings + "Quorin.*.Paintjet.LowRes: TRUE\n");
    const size_t before = unit6Lines().size();
    open(kPaintjet);
    const PclJob job = readPcl(close());
    const std::vector<std::string> controls = job.controls();
    EXPECT_EQ(std::vector<std::string>(controls.begin() + 3, controls.begin() + 3 + static_cast<long>(c.commands.size())),
              c.commands);
    EXPECT_EQ(controls[3 + c.commands.size()], "*v90A");
    const std::vector<std::string> lines = unit6Lines();
    const std::vector<std::string> added(lines.begin() + static_cast<long>(before), lines.end());
    EXPECT_NE(std::find(added.begin(), added.end(), c.quality), added.end());
    EXPECT_NE(std::find(added.begin(), added.end(), c.transparency), added.end());
  }
}

TEST_F(PclJobs, ADeskjetSendsDepletionShinglingQualityAndTransparency) {
  struct Case {
    std::string settings;
    std::vector<std::string> commands;  // from the depletion to the start of raster
    bool shinglingReset;
    std::string transparencyLine;
  };
  const Case cases[] = {
      {"", {"*o2D", "*o0Q", "*r1A"}, false, " Transparency Mode is OFF"},
      {"Quorin.*.Deskjet.Depletion: 5\n", {"*o2D", "*o0Q", "*r1A"}, false, " Transparency Mode is OFF"},
      {"Quorin.*.Deskjet.Depletion: 3 heavy\nQuorin.*.Deskjet.Shingle: 2\n", {"*o3D", "*o2Q", "*r1A"}, false,
       " Transparency Mode is OFF"},
      {"Quorin.*.Deskjet.Shingle: 1\nQuorin.*.Deskjet.Transparency: TRUE\n", {"*o2D", "*o1Q", "*r1A"}, false,
       " Transparency Mode is ON"},
      {"Quorin.*.Deskjet.Transparency: TRUE\nQuorin.*.Deskjet.Quality: Draft\n",
       {"*o2D", "*o0Q", "*r1Q", "*o1Q", "*r1A"}, true, " Transparency Mode is ON"},
      {"Quorin.*.Deskjet.Quality: HIGH\nQuorin.*.Deskjet.Shingle: 7\n", {"*o2D", "*o0Q", "*r2Q", "*r1A"}, false,
       " Transparency Mode is OFF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    settings(c.settings + "Quorin.*.Deskjet.Debug: TRUE\n");
    const size_t before = unit6Lines().size();
    open(kDeskjet);
    const PclJob job = readPcl(close());
    ASSERT_TRUE(job.wellFormed) << job.fault;
    const std::vector<std::string> controls = job.controls();
    EXPECT_EQ(std::vector<std::string>(controls.begin(), controls.begin() + 6),
              (std::vector<std::string>{"E", "*t150R", "*r+3U", "&a0128H", "&a0192V", "*r1200S"}));
    EXPECT_EQ(std::vector<std::string>(controls.begin() + 6, controls.begin() + 6 + static_cast<long>(c.commands.size())),
              c.commands);
    const std::vector<std::string> lines = unit6Lines();
    const std::vector<std::string> added(lines.begin() + static_cast<long>(before), lines.end());
    auto has = [&](const std::string& line) { return std::find(added.begin(), added.end(), line) != added.end(); };
    EXPECT_TRUE(has(c.transparencyLine));
    EXPECT_EQ(has(" Graphics Shingling reset to 1"), c.shinglingReset);
  }
}

TEST_F(PclJobs, ALaserjetPageInPortraitIsAssembledFromTheBands) {
  settings("Quorin.*.Laserjet.Orientation: Portrait\n");
  open(kLaserjet);
  // One pixel in each of the eight rows of a band, in eight columns of one byte.
  for (int32_t k = 1; k <= 8; ++k) RASPIX(8 + k, PCLSTA.hpix - (16 + k) + 1, 0);
  const PclJob job = readPcl(close());
  ASSERT_EQ(job.pages.size(), 1u);
  const test::PclPage& page = job.pages[0];
  EXPECT_EQ(page.inked(), 8u);
  for (int32_t k = 1; k <= 8; ++k) EXPECT_EQ(page.pixel(static_cast<size_t>(16 + k - 1), static_cast<size_t>(8 + k - 1)), 1) << k;
}

TEST_F(PclJobs, ANumberWithMoreDigitsThanItsFieldIsWrittenInFull) {
  setenv("TL_RASGEOM", "8x10+20+1", 1);
  open(kLaserjet);
  EXPECT_EQ(PCLSTA.xOffset, 14400);
  const PclJob job = readPcl(close());
  EXPECT_EQ(job.count("&a14400H"), 1u);
  EXPECT_EQ(job.count("&a0720V"), 1u);
}

}  // namespace
}  // namespace kvr
