#include "dbinterface/direcs.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "dbinterface/diblocks.h"

namespace kvr {
namespace {

std::vector<int32_t> codes(const std::string& s, std::size_t n) {
  std::vector<int32_t> v(n, kBlankCode);
  for (std::size_t k = 0; k < s.size() && k < n; ++k) v[k] = codeOf(s[k]);
  return v;
}

std::vector<int32_t> operator+(std::vector<int32_t> a, const std::vector<int32_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<int32_t> wordsOf(const StreamRecord& r) { return {r.words().begin(), r.words().end()}; }

int32_t bits(float x) { return std::bit_cast<int32_t>(x); }

TEST(StreamRecords, DatasetHeaderCarriesNameAndTextUpperCasedAndTheTitleAsSent) {
  StreamRecord r;
  FixedText name(20, "beam"), title(20, "Mixed Case"), text(10, "abc");
  headerRecord(r, 1, opcodeLetter(1), name, 1.5f, title, 3, 7, text);
  std::vector<int32_t> want = std::vector<int32_t>{1, 0x20202043} + codes("BEAM", 20) +
                              std::vector<int32_t>{0x3FC00000} + codes("Mixed Case", 20) +
                              std::vector<int32_t>{3, 7} + codes("ABC", 10);
  EXPECT_EQ(r.size(), kHeaderRecordWords);
  EXPECT_EQ(wordsOf(r), want);

  // A name is cut at 20 characters and ends at its terminator; other opcodes carry 0.
  FixedText longName(25, "abcdefghijklmnopqrstuvwxy"), ended(20, "my*.model");
  headerRecord(r, 100, opcodeLetter(4), longName, 0.0f, title, 0, 0, FText());
  EXPECT_EQ(r.word(2), 0);
  EXPECT_EQ(std::vector<int32_t>(r.words().begin() + 2, r.words().begin() + 22),
            codes("ABCDEFGHIJKLMNOPQRST", 20));
  EXPECT_EQ(r.word(55), kBlankCode);
  headerRecord(r, 100, opcodeLetter(2), ended, 0.0f, title, 0, 0, FText());
  EXPECT_EQ(r.word(2), codeOf('A'));
  EXPECT_EQ(std::vector<int32_t>(r.words().begin() + 2, r.words().begin() + 22), codes("MY", 20));
  EXPECT_EQ(opcodeLetter(3), codeOf('B'));
}

TEST(StreamRecords, LayoutsOfTheDataRecords) {
  const std::array<float, 9> axes = {1, 0, 0, 0, 1, 0, 0, 0, -1};
  std::vector<int32_t> axisWords;
  for (float a : axes) axisWords.push_back(bits(a));
  FixedText set(8, "left"), setTitle(30, "Left edge"), comp(8, "SX"), calc(8, "VONM"),
      comp2(8, "");
  const int32_t ids[] = {4, 5, 9};

  struct Case {
    const char* what;
    std::function<void(StreamRecord&)> build;
    std::vector<int32_t> want;
  };
  const Case cases[] = {
      {"node", [](StreamRecord& r) { nodeRecord(r, 12, 1.0f, -2.0f, 0.5f, 3); },
       {-1, 12, bits(1.0f), bits(-2.0f), bits(0.5f), 3}},
      {"element", [](StreamRecord& r) { elementRecord(r, 7, 21, 2, 5, 0); },
       {-1, 7, 21, 2, 5, 0, 0}},
      {"set header", [&](StreamRecord& r) { setHeaderRecord(r, set, setTitle); },
       std::vector<int32_t>{-1} + codes("left", 8) + codes("Left edge", 30)},
      {"set members", [&](StreamRecord& r) { setMemberRecord(r, ids); }, {-2, 3, 4, 5, 9}},
      {"no set members", [](StreamRecord& r) { setMemberRecord(r, {}); }, {-2, 0}},
      {"constraint", [](StreamRecord& r) { constraintRecord(r, 8, 123, 0, 9); },
       {-1, 8, 123, 0, 9}},
      {"local system", [&](StreamRecord& r) { localSystemRecord(r, 4, axes); },
       std::vector<int32_t>{-1, 4, 0} + axisWords},
      {"attribute", [&](StreamRecord& r) { attributeRecord(r, comp, 6, 3, 0); },
       std::vector<int32_t>{-4} + codes("SX", 8) + std::vector<int32_t>{6, 3, 0}},
      {"component",
       [&](StreamRecord& r) { componentRecord(r, comp, 1, 11, 2, 3, 0, calc, comp2); },
       std::vector<int32_t>{-5} + codes("SX", 8) + std::vector<int32_t>{1, 11, 2, 3, 0} +
           codes("VONM", 8) + codes("", 8)},
      {"nodal values", [](StreamRecord& r) { nodalValuesRecord(r, 15, 6); }, {-1, 15, 6}},
      {"values at points", [](StreamRecord& r) { elementValuesHeader(r, 3, 21, 1, 2, 4, 5, 6); },
       {-1, 3, 21, 1, 2, 4, 5, 0, -6, 0}},
      {"values at centroids",
       [](StreamRecord& r) { centroidValuesHeader(r, 3, 21, 1, 2, 5, 6); },
       {-1, 3, 21, 1, 2, 0, 5, 0, -6, 0}},
      {"Gauss-point values",
       [](StreamRecord& r) { gaussValuesHeader(r, 3, 21, 1, 2, 4, 5, 6, 1); },
       {-1, 3, 21, 1, 2, 0, 5, 4, -6, 1}},
      {"most negative local indicator",
       [](StreamRecord& r) { centroidValuesHeader(r, 3, 21, 1, 2, 5, INT_MIN); },
       {-1, 3, 21, 1, 2, 0, 5, 0, INT_MIN, 0}},
      {"repeat", [](StreamRecord& r) { repeatRecord(r, 9, 6); }, {-2, 9, 6}},
      {"point", [](StreamRecord& r) { pointRecord(r, 9, 0.25f, 0.5f, 1.0f); },
       {-2, 9, bits(0.25f), bits(0.5f), bits(1.0f)}},
      {"local-axis header", [](StreamRecord& r) { axisHeaderRecord(r, 3, 21, 1, 4, 2); },
       {-1, 3, 21, 1, 4, 2}},
      {"local axes", [&](StreamRecord& r) { axesRecord(r, 2, axes); },
       std::vector<int32_t>{-2, 2} + axisWords},
  };
  StreamRecord r;
  for (const Case& c : cases) {
    r.put(99);  // a builder starts the record afresh
    c.build(r);
    EXPECT_EQ(wordsOf(r), c.want) << c.what;
  }
}

TEST(StreamRecords, MemberRecordNeverClaimsMoreIdsThanItHolds) {
  std::vector<int32_t> many(100, 5);
  StreamRecord r;
  setMemberRecord(r, many);
  EXPECT_EQ(r.size(), StreamRecord::kCapacity);
  EXPECT_EQ(r.word(2), StreamRecord::kCapacity - 2);
}

TEST(WritingRoadBlocks, UnitErrorFlagsAreNeverLowered) {
  Distat s;
  s.raiseErrorFlag(3, kUnitFlagModel);
  s.raiseErrorFlag(3, kUnitFlagDataset);
  EXPECT_EQ(s.errorFlag(3), kUnitFlagModel);
  s.raiseErrorFlag(4, kUnitFlagDataset);
  s.raiseErrorFlags(10, kUnitFlagModel);
  for (int32_t k = 1; k <= 10; ++k) EXPECT_EQ(s.errorFlag(k), kUnitFlagModel) << k;
  s.clearErrorFlag(3);
  EXPECT_EQ(s.errorFlag(3), kUnitFlagNone);
  s.raiseErrorFlags(2, kUnitFlagDataset);
  EXPECT_EQ(s.errorFlag(3), kUnitFlagNone);
}

TEST(WritingRoadBlocks, TemporaryUnitsAndKeys) {
  DICTL = {};
  DICTL.itfnum = 3;
  DICTL.tempUnit(1) = 21;
  DICTL.tempUnit(2) = 22;
  DICTL.tempUnit(3) = 23;
  DICTL.tempUnit(4) = 24;  // beyond ITFNUM: not one of the units
  EXPECT_EQ(findTempUnit(22), 2);
  EXPECT_EQ(findTempUnit(23), 3);
  EXPECT_EQ(findTempUnit(24), 0);
  EXPECT_EQ(findTempUnit(0), 0);
  DICTL = {};

  EXPECT_EQ(DIKEYS.size(), 23u);
  for (int32_t key : {1, 2, 3, 18, 19, 20, 28, 29, 30, 31, 32, 33, 34, 41, 42, 43, 50, 53, 54,
                      55, 100, 111, 300}) {
    EXPECT_TRUE(isDatasetKey(key)) << key;
  }
  for (int32_t key : {0, 4, 17, 99, 101, 110, 112, 299, 301, -1}) EXPECT_FALSE(isDatasetKey(key));
}

TEST(WritingRoadBlocks, ClearingKeepsTheHostsChoices) {
  DICTL = {};
  DISTAT = {};
  DICTL.luopt = kOutputBoth;
  DICTL.itfnum = 2;
  DICTL.tempUnit(2) = 22;
  DICTL.lumsg1 = 30;
  DICTL.nodeCount = 9;
  DICTL.variants(2).word(7) = 6;
  DICTL.modelName.word(1) = codeOf('X');
  DISTAT.initialised = 1;
  DISTAT.currentUnit = 2;
  DISTAT.modelActive = 1;
  DISTAT.databaseReady = 1;
  DISTAT.datasetKey(10) = 100;
  DISTAT.results(5).irtype = 3;
  DISTAT.raiseErrorFlag(10, kUnitFlagModel);
  DIUNIT.components(1).word(20) = 2;
  DIBLNK = kBlankCode;

  clearWritingState();
  EXPECT_EQ(DICTL.luopt, kOutputBoth);
  EXPECT_EQ(DICTL.tempUnit(2), 22);
  EXPECT_EQ(DICTL.lumsg1, 30);
  EXPECT_EQ(DICTL.nodeCount, 0);
  EXPECT_EQ(DICTL.variants(2).word(7), 0);
  for (int32_t k = 1; k <= Dictl::kModelNameCodes; ++k) {
    EXPECT_EQ(DICTL.modelName.word(k), kBlankCode);
  }
  EXPECT_EQ(DISTAT.initialised, 1);
  EXPECT_EQ(DISTAT.currentUnit, 2);
  EXPECT_EQ(DISTAT.modelActive, 0);
  EXPECT_EQ(DISTAT.databaseReady, 0);
  EXPECT_EQ(DISTAT.datasetKey(10), 0);
  EXPECT_EQ(DISTAT.results(5).irtype, 0);
  EXPECT_EQ(DISTAT.errorFlag(10), kUnitFlagNone);
  EXPECT_EQ(DIUNIT.components(1).word(20), 0);
  DICTL = {};
  DISTAT = {};
  DIUNIT = {};
}

}  // namespace
}  // namespace kvr
