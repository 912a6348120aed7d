#include "runtime/setget.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <string>
#include <vector>

#include "runtime/chrset.h"
#include "runtime/geosta.h"
#include "runtime/modcnt.h"
#include "settingsfixture.h"

namespace {

struct Setting {
  int32_t integer;
  float real;
  std::string text;  // trimmed
};

// What a test resource reader saw and answers: the answer to a key (section and key as
// the reader receives them, up to their NUL), written with a NUL after it.
struct ReaderLog {
  std::vector<std::string> sections;
  std::vector<std::string> keys;
  std::vector<int32_t> leads;
  std::vector<int32_t> fieldLengths;  // section, key, answer buffer, length word
};
ReaderLog gLog;
std::map<std::string, std::string> gAnswers;

std::string upToNul(kvr::FText text) {
  std::string_view v = text.view();
  return std::string(v.substr(0, v.find('\0')));
}

void testReader(int32_t& lead1, int32_t& lead2, kvr::FText section, kvr::FText key,
                kvr::FText value, int32_t& length, int32_t& status) {
  gLog.sections.push_back(std::string(section.view()));
  gLog.keys.push_back(std::string(key.view()));
  gLog.leads.insert(gLog.leads.end(), {lead1, lead2});
  gLog.fieldLengths.insert(gLog.fieldLengths.end(),
                           {section.length(), key.length(), value.length(), length});
  status = 1;
  auto it = gAnswers.find(upToNul(key));
  if (it == gAnswers.end()) return;  // "not found": the buffer is not touched
  std::string answer = it->second + '\0';
  std::copy(answer.begin(), answer.end(), value.data());
  status = 0;
}

int32_t gNode = 0;
int32_t gElement = 0;
kvr::WrittenHighest highest() { return {gNode, gElement}; }

class Setget : public kvr::test::SettingsFixture {
 protected:
  void SetUp() override {
    SettingsFixture::SetUp();
    kvr::CHRSET();
    kvr::MODCNT = {};
    kvr::GEOSTA = {};
    gLog = {};
    gAnswers.clear();
  }
  void TearDown() override {
    kvr::setHostResourceReader(nullptr);
    kvr::setWrittenHighestSource(nullptr);
    kvr::MODCNT = {};
    kvr::GEOSTA = {};
    SettingsFixture::TearDown();
  }

  // The settings file of the current directory holds LINES.
  void settings(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& l : lines) bytes += l + "\n";
    kvr::test::writeFile(dir.file("quorin.ini"), bytes);
  }

  static Setting get(int32_t number, const std::string& input = "") {
    kvr::FixedText text(300, input);
    Setting s{-99, -99.0f, ""};
    kvr::SETGET(number, s.integer, s.real, text);
    s.text = text.trimmed();
    return s;
  }
};

TEST_F(Setget, PageSizesOfTheDatabaseGenerations) {
  struct Case {
    int32_t number;
    const char* section;
    const char* value;  // nullptr: no setting
    int32_t integer;
  };
  const Case cases[] = {
      {9, "database", "SIZE8160X", 8160},     {9, "database", "SIZE32640", 32640},
      {9, "database", "SIZE16320", 16320},    {9, "database", "SIZE4080", 4080},
      {9, "database", "size8160", 2040},      {9, "database", nullptr, 2040},
      {8, "pre_KAVRO63", "SIZE4080", 4080},   {8, "pre_KAVRO63", "SIZE8160", 2040},
      {8, "pre_KAVRO63", nullptr, 2040},
  };
  for (const Case& c : cases) {
    settings(c.value != nullptr ? std::vector<std::string>{std::string("Quorin.Telvora.") +
                                                           c.section + ".page_size: " + c.value}
                                : std::vector<std::string>{});
    Setting s = get(c.number, "stale");
    EXPECT_EQ(s.integer, c.integer) << c.number << " " << (c.value ? c.value : "unset");
    EXPECT_EQ(s.real, 0.0f);
    EXPECT_EQ(s.text, "");  // a number setting leaves the text blank
  }
}

TEST_F(Setget, DialogueSwitchComparesCase) {
  const std::pair<const char*, int32_t> cases[] = {{"Yes", 1}, {"yes", 2}, {"No", 0}, {"", 2}};
  for (const auto& [value, expected] : cases) {
    settings({std::string("Quorin.Zorlak.Start.Dialogue: ") + value});
    EXPECT_EQ(get(7).integer, expected) << value;
  }
}

TEST_F(Setget, NeutralFileFormatByTheWritingRoadsHighestNumbers) {
  kvr::setWrittenHighestSource(highest);
  EXPECT_EQ(get(2).integer, 2);
  settings({"Quorin.Telvora.Neutral_file.Format: LOW"});
  gNode = 9999;
  gElement = 500;
  EXPECT_EQ(get(2).integer, 0);
  gNode = 12000;
  EXPECT_EQ(get(2).integer, 1);
  gNode = 10;
  gElement = 10000;
  EXPECT_EQ(get(2).integer, 1);
}

TEST_F(Setget, NeutralFileFormatByTheModelCountsAndOffsets) {
  settings({"Quorin.Zorlak.Neutral_file.Format: LOW"});
  kvr::MODCNT.word(10) = 9000;
  kvr::MODCNT.word(11) = 100;
  kvr::MODCNT.word(61) = 999;
  kvr::MODCNT.word(62) = 0;
  EXPECT_EQ(get(5).integer, 0);
  kvr::MODCNT.word(61) = 1000;
  EXPECT_EQ(get(5).integer, 1);
  // The line names program Zorlak: the Telvora rows keep their default.
  EXPECT_EQ(get(2).integer, 2);
  EXPECT_EQ(get(37).integer, 2);

  settings({"Quorin.Telvora.Neutral_file.Format: LOWER"});
  EXPECT_EQ(get(37).integer, 1);
  kvr::MODCNT.word(61) = 0;
  EXPECT_EQ(get(37).integer, 0);
}

TEST_F(Setget, ValuesReadAsNumbers) {
  EXPECT_EQ(get(12).real, 0.0f);  // three times a tolerance of 0.0
  kvr::GEOSTA.setReal(kvr::kGeoModelTolerance, 0.5f);
  EXPECT_EQ(get(12).real, 1.5f);
  EXPECT_EQ(get(36).integer, 10);

  settings({"Quorin.*.IGES.IGES_Gtol: 0.25", "Quorin.Zorlak.Neutral_file.Max_per_line: 8"});
  Setting s = get(12);
  EXPECT_EQ(s.real, 0.25f);
  EXPECT_EQ(s.integer, 0);
  EXPECT_EQ(get(36).integer, 8);

  settings({"Quorin.*.IGES.IGES_Gtol: abc", "Quorin.Zorlak.Neutral_file.Max_per_line: x8"});
  EXPECT_EQ(get(12).real, 0.0f);
  EXPECT_EQ(get(36).integer, 0);

  // The largest REAL as it is written with eight digits.
  settings({"Quorin.*.IGES.IGES_Gtol: 3.4028235E+38"});
  EXPECT_EQ(get(12).real, std::numeric_limits<float>::max());
}

TEST_F(Setget, SwitchesAndChoices) {
  struct Case {
    int32_t number;
    const char* line;  // nullptr: no setting
    int32_t integer;
  };
  const Case cases[] = {
      {33, "Quorin.*.HCI.ExpertMenus: true", 1},
      {33, "Quorin.*.HCI.ExpertMenus: False", 0},
      {33, nullptr, 0},
      {6, "Quorin.Telvora.P-TRACK.ALGORITHM: BUFFERED", 2},
      {6, "Quorin.Telvora.P-TRACK.ALGORITHM: BUFFER", 1},
      {6, nullptr, 1},
      {4, "Quorin.Telvora.RESULTS_RANGE.SURFACE_TOP: LASTONE", 0},
      {4, nullptr, 1},
      {10, "Quorin.Zorlak.Neutral_file.Solid_Elements_Volume: CHECK", 1},
      {10, nullptr, 0},
      {31, "Quorin.Telvora.MESH.Keep_Properties: tRUE", 1},
      {31, "Quorin.Telvora.MESH.Keep_Properties: yes", 0},
  };
  for (const Case& c : cases) {
    settings(c.line != nullptr ? std::vector<std::string>{c.line} : std::vector<std::string>{});
    EXPECT_EQ(get(c.number).integer, c.integer) << c.number << " " << (c.line ? c.line : "");
  }
}

TEST_F(Setget, StatusAndValueOfThePlotSettings) {
  setArguments({"prog", "-StripBorder"});
  Setting s = get(18);
  EXPECT_EQ(s.integer, 4);
  EXPECT_EQ(s.text, "TRUE");

  setArguments({"prog"});
  settings({"Quorin.*.PLOTS.DefaultPlotter: CGM"});
  s = get(19);
  EXPECT_EQ(s.integer, 3);
  EXPECT_EQ(s.text, "CGM");
  s = get(18);
  EXPECT_EQ(s.integer, 0);
  EXPECT_EQ(s.text, "");
}

TEST_F(Setget, ResourceSettingsTakeTheirDefaultsWithTheLibrarysReader) {
  struct Case {
    int32_t number;
    int32_t integer;
  };
  const Case cases[] = {{11, 20}, {3, 2}, {15, 1}, {1, 0}, {35, 0}, {43, 0}, {20, 0},
                        {13, 0},  {14, 0}, {16, 0}, {17, 0}, {30, 0}, {44, 0}, {0, 0}, {45, 0}};
  for (const Case& c : cases) {
    Setting s = get(c.number, "XYZ");
    EXPECT_EQ(s.integer, c.integer) << c.number;
    EXPECT_EQ(s.real, 0.0f) << c.number;
    EXPECT_EQ(s.text, "") << c.number;
  }
}

TEST_F(Setget, ResourceReaderCallAndConversions) {
  kvr::setHostResourceReader(testReader);
  gAnswers = {{"TETMESHER-MEMORY", "42"}};
  EXPECT_EQ(get(11).integer, 42);
  ASSERT_EQ(gLog.sections.size(), 1u);
  EXPECT_EQ(gLog.sections[0], std::string("MESH\0", 5) + std::string(20, ' '));
  EXPECT_EQ(gLog.keys[0], std::string("TETMESHER-MEMORY\0", 17) + std::string(8, ' '));
  EXPECT_EQ(gLog.leads, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(gLog.fieldLengths, (std::vector<int32_t>{25, 25, 255, 255}));

  // The next call finds nothing and leaves the buffer alone: the default, not 42.
  gAnswers.clear();
  EXPECT_EQ(get(11).integer, 20);

  struct Case {
    int32_t number;
    const char* key;
    const char* answer;
    int32_t integer;
    float real;
  };
  const Case cases[] = {
      {11, "TETMESHER-MEMORY", "  -7 MB", -7, 0.0f},
      {11, "TETMESHER-MEMORY", "7.5", 20, 0.0f},
      {13, "2DSPLINE-ANGLETOLERANCE", "2.5 degrees", 0, 2.5f},
      {14, "2DSPLINE-WARPTOLERANCE", "3", 0, 3.0f},
      {14, "2DSPLINE-WARPTOLERANCE", "x3", 0, 0.0f},
      {35, "MERGE-CURVES-IPOINTS", "12", 12, 0.0f},
      {35, "MERGE-CURVES-IPOINTS", "1.5", 0, 0.0f},
      {1, "TL-LABEL-FORMAT", "NAMES", 1, 0.0f},
      {3, "STRUCTURED", "ON", 1, 0.0f},
      {3, "STRUCTURED", "OFF", 0, 0.0f},
      {3, "STRUCTURED", "on", 2, 0.0f},
      {15, "REGION-ALGORITHM", "PAVING", 2, 0.0f},
      {22, "CHECK-SPLINE-ELEMS", "ONLY", 1, 0.0f},
      {34, "MERGE-CURVES-BY", "IPOINTS", 1, 0.0f},
      {34, "MERGE-CURVES-BY", "IPOINT", 0, 0.0f},
      {42, "SUMMARY", "ON", 1, 0.0f},
  };
  for (const Case& c : cases) {
    gAnswers = {{c.key, c.answer}};
    Setting s = get(c.number);
    EXPECT_EQ(s.integer, c.integer) << c.number << " " << c.answer;
    EXPECT_FLOAT_EQ(s.real, c.real) << c.number << " " << c.answer;
    EXPECT_EQ(s.text, "") << c.number;
  }
}

TEST_F(Setget, TextSettingsAndTheFilter) {
  kvr::setHostResourceReader(testReader);
  gAnswers = {{"FILTER-XYZ", "abc"}, {"SOLVER-COMMAND", "run solver"}};
  Setting s = get(43, "XYZ");
  EXPECT_EQ(gLog.keys.back().substr(0, 11), std::string("FILTER-XYZ\0", 11));
  EXPECT_EQ(s.integer, 3);
  EXPECT_EQ(s.text, "abc");

  s = get(44);
  EXPECT_EQ(s.integer, 0);
  EXPECT_EQ(s.text, "run solver");

  // A long filter name is cut to the 25 characters of the key, whose NUL then takes
  // the last place.
  get(43, std::string(30, 'F'));
  EXPECT_EQ(gLog.keys.back(), "FILTER-" + std::string(17, 'F') + '\0');
}

TEST_F(Setget, TextResultSetsAtMost255Characters) {
  kvr::setHostResourceReader(testReader);
  gAnswers = {{"DEF-ANALYSISPROG", std::string(254, 'A')}};
  std::string store(300, '#');
  kvr::FText text(store.data(), 300);
  int32_t integer = 0;
  float real = 0.0f;
  kvr::SETGET(16, integer, real, text);
  EXPECT_EQ(store.substr(0, 255), std::string(254, 'A') + " ");
  EXPECT_EQ(store.substr(255), std::string(45, '#'));
}

}  // namespace
