#include "command/argkwd.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "command/elttxt.h"
#include "runtime/codtxt.h"
#include "runtime/gridmd.h"

namespace kvr {
namespace {

struct Written {
  std::string text;  // the codes from position 1 to LAST
  int32_t last;
  int32_t status;
};

Written keyword(int32_t code, int32_t position = 1) {
  std::array<int32_t, 40> line;
  line.fill(kBlankCode);
  Written w{"", -9, -9};
  ARGKWD(code, position, line, w.last, w.status);
  for (int32_t k = 1; k <= w.last; ++k) w.text.push_back(charOf(line[static_cast<size_t>(k - 1)]));
  return w;
}

class Keywords : public ::testing::Test {
 protected:
  void TearDown() override { gApplicationMode = 0; }
};

TEST_F(Keywords, OrdinaryVocabulary) {
  const struct {
    int32_t code;
    std::string text;
  } cases[] = {
      {1, "'point-old'"},  {11, "'load-old'"},    {14, "'node-old'"},     {15, "'elem-old'"},
      {20, "'re-set-old'"}, {21, "'point-new'"},  {31, "'load-new'"},     {38, "'phydf-new'"},
      {39, "'lodef-new'"},  {41, "'fe-prog'"},    {51, "'old-name'"},     {52, "'new-name'"},
      {62, "'lmdef-old'"},  {77, "'re-set-new'"}, {79, "'fcdef-new'"},    {101, "'attribute'"},
      {103, "'component'"}, {105, "'component'"}, {109, "'name'"},        {110, "'model'"},
      {116, "'model'"},     {111, "'load'"},      {117, "'load'"},        {112, "'set-old'"},
      {125, "'elem-type'"}, {131, "'sym-set-old'"}, {135, "'montage-old'"}, {136, "'node-old'"},
      {137, "'elem-old'"},  {138, "'name'"},      {202, "'name'"},        {203, "'header'"},
      {204, "'name'"},      {299, "'name'"},      {300, "'value'"},       {2000000000, "'value'"},
  };
  for (const auto& c : cases) {
    const Written w = keyword(c.code);
    EXPECT_EQ(w.text, c.text) << c.code;
    EXPECT_EQ(w.last, static_cast<int32_t>(c.text.size())) << c.code;
    EXPECT_EQ(w.status, 0) << c.code;
  }
  EXPECT_EQ(keyword(110).last, 7);
}

TEST_F(Keywords, GridVocabularyForms) {
  gApplicationMode = kGridVocabularyMode;
  const struct {
    int32_t code;
    std::string text;
  } cases[] = {
      {11, "'bound-old'"}, {14, "'vertex-old'"}, {15, "'cell-old'"},   {19, "'bnddef-old'"},
      {31, "'bound-new'"}, {34, "'vertex-new'"}, {35, "'cell-new'"},   {39, "'bnddef-new'"},
      {41, "'models'"},    {62, "'bcmdef-old'"}, {72, "'bcmdef-new'"}, {111, "'case'"},
      {117, "'case'"},     {125, "'cell-type'"}, {136, "'vertex-old'"}, {137, "'cell-old'"},
      {1, "'point-old'"},  {110, "'model'"},
  };
  for (const auto& c : cases) EXPECT_EQ(keyword(c.code).text, c.text) << c.code;
}

TEST_F(Keywords, CodesWithoutKeyword) {
  for (int32_t code : {40, 42, 50, 53, 59, 67, 69, 80, 99, 106, 108, 118, 121, 133}) {
    const Written w = keyword(code);
    EXPECT_EQ(w.status, 1) << code;
    EXPECT_EQ(w.last, 0) << code;
  }
  for (int32_t code : {0, -5, 100}) {
    const Written w = keyword(code);
    EXPECT_EQ(w.status, 0) << code;
    EXPECT_EQ(w.last, 0) << code;
  }
}

TEST_F(Keywords, WrittenFromThePositionAndCutAtTheLineEnd) {
  std::array<int32_t, 10> line;
  line.fill(kBlankCode);
  int32_t last = -9, status = -9;
  ARGKWD(131, 4, line, last, status);  // "'sym-set-old'" has 13 characters
  EXPECT_EQ(last, 10);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(line[0], kBlankCode);
  EXPECT_EQ(charOf(line[3]), '\'');
  EXPECT_EQ(charOf(line[9]), 'e');
}

std::string typeName(int32_t type, int32_t start, int32_t& last) {
  std::array<int32_t, 10> line;
  line.fill(kBlankCode);
  last = -9;
  ELTTXT(type, start, line, last);
  std::string s;
  for (int32_t code : line) s.push_back(charOf(code));
  return s;
}

TEST(ElementTypeNames, ByTypeAndByShapeCode) {
  int32_t last = 0;
  EXPECT_EQ(typeName(9, 5, last), "    QU4   ");
  EXPECT_EQ(last, 8);
  EXPECT_EQ(typeName(-13, 1, last), "HE8       ");  // shape 13 is element type 1
  EXPECT_EQ(last, 4);
  EXPECT_EQ(typeName(1, 1, last).substr(0, 4), "HE8 ");
  EXPECT_EQ(typeName(20, 1, last).substr(0, 4), "P-EL");
  EXPECT_EQ(typeName(25, 1, last).substr(0, 4), "----");
  EXPECT_EQ(typeName(60, 1, last).substr(0, 4), "SP8 ");
  EXPECT_EQ(typeName(61, 1, last).substr(0, 4), "SP10");
  for (int32_t type : {-4, 62, 0, -62}) {  // shape 4 has no element type
    EXPECT_EQ(typeName(type, 1, last), std::string(10, ' ')) << type;
    EXPECT_EQ(last, 0) << type;
  }
  EXPECT_EQ(typeName(9, 9, last), "        QU");  // cut at the line's end
  EXPECT_EQ(last, 10);
}

TEST(ElementTypeNames, NameToType) {
  const auto find = [](const std::string& text) {
    std::array<int32_t, 6> name;
    name.fill(kBlankCode);
    for (size_t k = 0; k < text.size(); ++k) name[k] = codeOf(text[k]);
    int32_t type = -9;
    ELTNMS(2, type, name);
    return type;
  };
  EXPECT_EQ(find("QU4"), 9);
  EXPECT_EQ(find("HE8"), 1);
  EXPECT_EQ(find("SP10"), 61);
  EXPECT_EQ(find("QU"), 0);  // an abbreviation names no type
  EXPECT_EQ(find("QU4X"), 0);
  EXPECT_EQ(find(""), 0);

  std::array<int32_t, 4> name;
  name.fill(kBlankCode);
  int32_t type = 31;
  ELTNMS(1, type, name);
  EXPECT_EQ(charOf(name[0]), 'Q');
  EXPECT_EQ(charOf(name[2]), '9');
}

}  // namespace
}  // namespace kvr
