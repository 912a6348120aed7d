// The property descriptor tables and their dispatch: every defined slot of the material
// and physical tables against its table row, a few whole records column by column, and
// the dispatch by analysis-program code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "modeldb/attlst.h"
#include "modeldb/descriptors.h"
#include "modelquery/queries.h"
#include "platform/fmtedit.h"

namespace {

using kvr::FTextArray;

constexpr int32_t kLength = 255;

// A caller's record array: COUNT records of LENGTH characters, pre-filled with FILL.
struct Records {
  Records(int32_t count, char fill = '#', int32_t length = kLength)
      : length(length), data(static_cast<size_t>(count) * length, fill), count(count) {}
  FTextArray array() { return FTextArray(data.data(), length, count); }
  std::string record(int32_t k) const {
    return data.substr(static_cast<size_t>(k - 1) * length, static_cast<size_t>(length));
  }
  int32_t length;
  std::string data;
  int32_t count;
};

using Dispatcher = void (*)(const int32_t&, const int32_t&, std::span<const int32_t>, FTextArray,
                            const int32_t&, int32_t&, int32_t&);

struct Call {
  int32_t answer = -7;
  int32_t count = 0;
};

// Calls DSC for CODE and LEVEL with SLOTS, COUNT and CAPACITY into RECORDS.
Call call(Dispatcher dsc, int32_t code, int32_t level, std::vector<int32_t> slots,
          Records& records, int32_t capacity, int32_t count) {
  Call c;
  c.count = count;
  dsc(code, level, slots, records.array(), capacity, c.count, c.answer);
  return c;
}

// The records of SLOTS of LEVEL, read through code 27.
std::vector<std::string> read(Dispatcher dsc, int32_t level, std::vector<int32_t> slots) {
  Records records(static_cast<int32_t>(slots.size()));
  const int32_t n = static_cast<int32_t>(slots.size());
  Call c = call(dsc, 27, level, slots, records, n, n);
  EXPECT_EQ(c.answer, 0);
  std::vector<std::string> out;
  for (int32_t k = 1; k <= n; ++k) out.push_back(records.record(k));
  return out;
}

// Columns A to B (from 1) of R.
std::string cols(const std::string& r, size_t a, size_t b) { return r.substr(a - 1, b - a + 1); }
std::string blanks(size_t n) { return std::string(n, ' '); }

std::string rjust(std::string_view s, size_t w) {
  if (s.size() >= w) return std::string(s.substr(0, w));
  return blanks(w - s.size()) + std::string(s);
}

// ---- Every defined slot against its table row -----------------------------------------

enum class Layout { kList, kSection, kValue, kFile };

struct Row {
  int32_t slot;
  std::string title;
  std::string keyword;
  int32_t kind;  // kind or value type
  int32_t word;  // class or code word (section and value layouts)
  std::vector<int32_t> ints;
  std::vector<double> reals = {};
  std::string description = {};
};

void expectRecord(const std::string& rec, Layout layout, const Row& e) {
  SCOPED_TRACE("slot " + std::to_string(e.slot) + " " + e.keyword);
  ASSERT_EQ(rec.size(), 255u);
  EXPECT_EQ(cols(rec, 1, 30), rjust(e.title, 30));
  EXPECT_EQ(cols(rec, 31, 38), rjust(e.keyword, 8));
  EXPECT_EQ(cols(rec, 39, 42), rjust(std::to_string(e.kind), 4));
  size_t next = 43;
  if (layout == Layout::kSection || layout == Layout::kValue) {
    EXPECT_EQ(cols(rec, 43, 46), rjust(std::to_string(e.word), 4));
    next = 47;
  }
  if (layout == Layout::kFile) {
    EXPECT_EQ(cols(rec, 43, 242), rjust(e.description, 200));
    next = 243;
  }
  for (int32_t v : e.ints) {
    EXPECT_EQ(cols(rec, next, next + 5), rjust(std::to_string(v), 6));
    next += 6;
  }
  for (double v : e.reals) {
    double got = -1;
    EXPECT_TRUE(kvr::fmt::readG(cols(rec, next, next + 11), 5, got));
    EXPECT_NEAR(got, v, 1e-5 * std::max(1.0, std::fabs(v)));
    EXPECT_EQ(cols(rec, next + 8, next + 11), blanks(4));
    next += 12;
  }
  EXPECT_EQ(rec.substr(next - 1), blanks(256 - next));
}

// Reads slots 1 to SLOTS of LEVEL and checks the rows of TABLE; every other slot must
// read as UNDEFINED.
void expectStore(Dispatcher dsc, int32_t level, int32_t slots, Layout layout,
                 const std::vector<Row>& table, const std::string& undefined) {
  std::vector<int32_t> all(static_cast<size_t>(slots));
  for (int32_t k = 1; k <= slots; ++k) all[static_cast<size_t>(k - 1)] = k;
  const std::vector<std::string> got = read(dsc, level, all);
  std::vector<bool> defined(static_cast<size_t>(slots) + 1, false);
  for (const Row& r : table) {
    Layout l = layout == Layout::kValue && r.kind == 4 ? Layout::kFile : layout;
    expectRecord(got[static_cast<size_t>(r.slot - 1)], l, r);
    defined[static_cast<size_t>(r.slot)] = true;
  }
  for (int32_t k = 1; k <= slots; ++k) {
    if (!defined[static_cast<size_t>(k)]) {
      EXPECT_EQ(got[static_cast<size_t>(k - 1)], undefined) << "slot " << k;
    }
  }
}

const std::string kZeroRecord(255, '\0');
const std::string kZeroSection = std::string(150, '\0') + std::string(105, ' ');

TEST(Matcon, EveryGroupAndConceptAsTheTableGivesThem) {
  const std::vector<Row> groups = {
      {1, "Elasticity", "ELAST", 2, 0, {1, 2, 3, 4}},
      {2, "Plasticity", "PLAST", 2, 0, {7, 8, 9, 10, 40}},
      {3, "Hardening", "HARDEN", 2, 0, {11, 12, 39}},
      {4, "Cracking", "CRACK", 2, 0, {13, 14, 15}},
      {5, "Viscosity", "VISC", 2, 0, {16, 17}},
      {6, "Hyperelasticity - Deviatoric", "HYP-DEV", 2, 0, {20, 27, 32}},
      {7, "Hyperelasticity - Hydrostatic", "HYP-HYP", 2, 0, {33, 34, 35}},
  };
  expectStore(kvr::MATDSC, 1, 7, Layout::kList, groups, kZeroRecord);

  std::vector<int32_t> cp4 = {26, 27, 28, 29};
  for (int32_t s = 102; s <= 122; ++s) cp4.push_back(s);
  const std::vector<Row> concepts = {
      {1, "Concept 1 for elasticity", "CE1", 4, 0, {1, 2, 3, 4}},
      {2, "Concept 2 for elasticity", "CE2", 4, 0, {5, 6}},
      {3, "Concept 3 for elasticity", "CE3", 4, 0, {7, 8, 9}},
      {4, "Concept 4 for elasticity", "CE4", 4, 0, {10}},
      {7, "Concept 1 for plasticity", "CP1", 4, 0, {20, 21}},
      {8, "Concept 2 for plasticity", "CP2", 4, 0, {22, 35}},
      {9, "Concept 3 for plasticity", "CP3", 4, 0, {23, 24, 25}},
      {10, "Concept 4 for plasticity", "CP4", 4, 0, cp4},
      {11, "Concept 1 for hardening", "CH1", 4, 0, {30, 31}},
      {12, "Concept 2 for hardening", "CH2", 4, 0, {32, 33}},
      {13, "Concept 1 for cracking", "CC1", 4, 0, {40}},
      {14, "Concept 2 for cracking", "CC2", 4, 0, {41, 42}},
      {15, "Concept 3 for cracking", "CC3", 4, 0, {43, 44, 45}},
      {16, "Concept 1 for viscosity", "CV1", 4, 0, {46}},
      {17, "Concept 2 for viscosity", "CV2", 4, 0, {47, 48}},
      {20, "Concept 1 for Hyper-Dev", "CHD1", 2, 0, {21, 22, 23}},
      {21, "Sub concept 1.1 for HYP-DEV", "SHD11", 4, 0, {60, 61}},
      {22, "Sub concept 1.2 for HYP-DEV", "SHD12", 4, 0, {62, 63}},
      {23, "Sub concept 1.3 for HYP-DEV", "SHD13", 2, 0, {24, 25, 26}},
      {24, "Sub concept 1.3.1 for HYP-DEV", "SHD131", 4, 0, {64, 65}},
      {25, "Sub concept 1.3.2 for HYP-DEV", "SHD132", 4, 0, {66, 67, 68, 69}},
      {26, "Sub concept 1.3.3 for HYP-DEV", "SHD133", 4, 0, {70, 71, 72}},
      {27, "Concept 2 for Hyper-Dev", "CHD2", 2, 0, {28, 29, 30}},
      {28, "Sub concept 2.1 for HYP-DEV", "SHD21", 4, 0, {73, 74}},
      {29, "Sub concept 2.2 for HYP-DEV", "SHD22", 4, 0, {75}},
      {30, "Sub concept 2.3 for HYP-DEV", "SHD23", 4, 0, {76, 77, 78, 79}},
      {32, "Concept 3 for Hyper-Dev", "CHD3", 4, 0, {80, 81, 82}},
      {33, "Concept 1 for Hyper-Hyd", "CHH1", 4, 0, {83, 84, 85}},
      {34, "Concept 2 for Hyper-Hyd", "CHH2", 4, 0, {86, 87}},
      {35, "Concept 3 for Hyper-Hyd", "CHH3", 2, 0, {36, 37}},
      {36, "Sub concept 3.1 for HYP-HYD", "SHH31", 4, 0, {88, 89}},
      {37, "Sub concept 3.2 for HYP-HYD", "SHH32", 4, 0, {90}},
      {38, "Concept 4 for Hyper-Hyd", "CHH4", 4, 0, {91, 92, 93}},
      {39, "Concept 3 for hardening", "NONE", 0, 0, {}},
      {40, "Concept 5 for plasticity", "CP5", 2, 0, {94}},
      {94, "Sub Concept 5.1 for plasticity", "PP51", 2, 0, {95}},
      {95, "Sub Concept 5.1.1 for plasticity", "PP511", 2, 0, {96}},
      {96, "Sub Concept 5.1.1.1 for plasticity", "PP5111", 2, 0, {97}},
      {97, "Sub Concept 5.1.1.1.1 for plasticity", "PP51111", 2, 0, {98}},
      {98, "Sub Concept 5.1.1.1.1.1 for plasticity", "PP511111", 4, 0, {99, 100, 101}},
  };
  expectStore(kvr::MATDSC, 2, 150, Layout::kList, concepts, kZeroRecord);
}

TEST(Matcon, EveryParameterAsTheTableGivesIt) {
  // Names from the first slot of each run on.
  const std::vector<std::pair<int32_t, std::string>> runs = {
      {1, "E1A E1B E1C E1D E2A E2B E3A E3B E3C E4A"},
      {20, "P1A P1B P2A P3A P3B P3C P4A P4B P4C P4D H1A H1B H2A H2B"},
      {35, "P2B"},
      {40, "C1A C2A C2B C3A C3B C3C V1A V2A V2B"},
      {60, "HD11A HD11B HD12A HD12B HD131A HD131B HD132A HD132B HD132C HD132D HD133A HD133B "
           "HD133C HD21A HD21B HD22A HD23A HD23B HD23C HD23D HD3A HD3B HD3C HH1A HH1B HH1C "
           "HH2A HH2B HH31A HH31B HH32A HH4A HH4B HH4C"},
      {99, "P5A P5B P5C"},
      {102, "P4E P4F P4G P4H P4I P4J P4K P4L P4M P4N P4O P4P P4Q P4R P4S P4T P4U P4V P4W P4X "
            "P4Y"},
  };
  // The parameters that differ from value type 1, code word 11, values 0, 100, slot.
  const std::vector<Row> exceptions = {
      {1, "", "", 1, 19, {0, 100, 1}},
      {2, "", "", 1, 10, {0, 100, 2}},
      {3, "", "", 1, 21, {0, 100, 3}},
      {4, "", "", 1, 18, {0, 100, 4}},
      {6, "", "", 1, 9, {0, 0, 6}},
      {10, "", "", 1, 17, {9, 100, 10}},
      {20, "", "", 2, 20, {}, {0.1, 500, 20}},
      {22, "", "", 4, 0, {}, {}, "File data for 2nd plasticity concept,1st parameter"},
      {26, "", "", 1, 11, {26}},
      {35, "", "", 4, 0, {}, {}, "File data for 2nd plasticity concept,2st parameter"},
      {99, "", "", 2, 20, {}, {0.1, 510, 99}},
      {100, "", "", 4, 0, {}, {}, "File data for 5TH plasticity concept,2ND parameter"},
      {101, "", "", 2, 20, {}, {0.1, 500, 101}},
  };
  std::vector<Row> table;
  for (const auto& [first, names] : runs) {
    std::istringstream in(names);
    int32_t slot = first;
    for (std::string name; in >> name; ++slot) {
      size_t width = name.size() == 3 ? 17 : 19;
      if (slot <= 9) width = 16;
      if (slot >= 60 && slot <= 63) width = 20;
      std::string title = "Param for : " + name;
      title.resize(width, ' ');
      Row row{slot, title, name, 1, 11, {0, 100, slot}};
      if (slot == 5) row.keyword = "ParI1";
      if (slot == 6) row.keyword = "ParI2";
      for (const Row& x : exceptions) {
        if (x.slot == slot) {
          row.kind = x.kind;
          row.word = x.word;
          row.ints = x.ints;
          row.reals = x.reals;
          row.description = x.description;
        }
      }
      table.push_back(row);
    }
  }
  ASSERT_EQ(table.size(), 92u);
  expectStore(kvr::MATDSC, 3, 150, Layout::kValue, table, kZeroRecord);
}

TEST(Phytyp, EverySectionTypeAndParameterAsTheTableGivesThem) {
  Records type(1);
  call(kvr::PHYDSC, 27, 1, {}, type, 1, 0);
  expectRecord(type.record(1), Layout::kList,
               {1, "Physical Type", "TYPE", 2, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}});

  const std::vector<Row> sections = {
      {1, "Truss", "TRUSS", 4, 5, {11}},
      {2, "BEAM 2D", "BEAM_2D", 4, 5, {19, 20, 21, 22, 23}},
      {3, "BEAM 3D", "BEAM_3D", 4, 5, {30, 31, 32, 33, 34, 35}},
      {4, "Pipe section", "PIPE", 4, 5, {42, 43}},
      {5, "Box section", "BOX", 4, 5, {51, 52, 53, 54, 55, 56}},
      {6, "Rectangular section", "RECTAN", 4, 5, {71, 72}},
      {7, "Thickness", "THICK", 4, 0, {81}},
      {8, "I shape", "ISHAPE", 4, 5, {91, 92, 93, 94, 95, 96}},
      {9, "T shape", "TSHAPE", 4, 5, {111, 112, 113, 114}},
      {10, "U shape", "USHAPE", 4, 5, {131, 132, 133, 134, 135}},
      {11, "L shape", "LSHAPE", 4, 5, {121, 122, 123, 124}},
  };
  expectStore(kvr::PHYDSC, 2, 200, Layout::kSection, sections, kZeroSection);

  const std::vector<double> csa = {1, 100, 1.1}, b = {0, 20}, t = {0, 100}, tf = {0, 5, 0.3};
  const std::vector<Row> parameters = {
      {11, "Cross Section Area (CSA)", "CSA", 2, 0, {}},
      {19, "Cross Section Area (CSA)", "CSA", 2, 11, {}, csa},
      {20, "Mom. Inertia Iz", "Iz", 2, 0, {}},
      {21, "Mom. Inertia Iy", "Iy", 2, 0, {}},
      {22, "Mom. Inertia Iyz", "Iyz", 2, 0, {}},
      {23, "Mom. Inertia It", "It", 2, 0, {}},
      {30, "Cross Section Area (CSA)", "CSA", 2, 11, {}, csa},
      {31, "Torsional Rigidity (Wt)", "Wt", 2, 0, {}},
      {32, "Mom. Inertia Iz", "Iz", 2, 0, {}},
      {33, "Mom. Inertia Iy", "Iy", 2, 0, {}},
      {34, "Mom. Inertia Iyz", "Iyz", 2, 0, {}},
      {35, "Mom. Inertia It", "It", 2, 0, {}},
      {42, "Outer diameter (D)", "D", 2, 11, {}, {0, 100, 45}},
      {43, "Pipe thickness (T)", "T", 2, 10, {}, {0, 49}},
      {51, "Height (H)", "H", 2, 11, {}, csa},
      {52, "Width (B)", "B", 2, 10, {}, b},
      {53, "Thickness 1 (T1)", "T1", 2, 10, {}, t},
      {54, "Thickness 2 (T2)", "T2", 2, 10, {}, t},
      {55, "Thickness 3 (T3)", "T3", 2, 11, {}, tf},
      {56, "Thickness 4 (T4)", "T4", 2, 11, {}, tf},
      {71, "Height (H)", "H", 2, 11, {}, csa},
      {72, "Width (B)", "B", 2, 10, {}, b},
      {81, "Thickness", "THICK", 2, 0, {}},
      {91, "Height (H)", "H", 2, 11, {}, csa},
      {92, "Width (BU)", "BU", 2, 10, {}, b},
      {93, "Width (BL)", "BL", 2, 10, {}, b},
      {94, "Thickness (TBU)", "TBU", 2, 10, {}, t},
      {95, "Thickness (TBL)", "TBL", 2, 10, {}, t},
      {96, "Thickness (TH)", "TH", 2, 11, {}, tf},
      {111, "Height (H)", "H", 2, 11, {}, csa},
      {112, "Width (B)", "B", 2, 10, {}, b},
      {113, "Flange Thickness (TB)", "TB", 2, 11, {}, tf},
      {114, "Web Thickness (TH)", "TH", 2, 10, {}, t},
      {121, "Height (H)", "H", 2, 11, {}, csa},
      {122, "Width (B)", "B", 2, 10, {}, b},
      {123, "Flange Thickness (TB)", "TB", 2, 11, {}, tf},
      {124, "Web Thickness (TH)", "TH", 2, 10, {}, t},
      {131, "Height (H)", "H", 2, 11, {}, csa},
      {132, "Breadth (B)", "B", 2, 10, {}, b},
      {133, "Flange Thickness (TB)", "TB", 2, 11, {}, tf},
      {134, "Web Thickness 1 (TH1)", "TH1", 2, 10, {}, t},
      {135, "Web Thickness 2 (TH2)", "TH2", 2, 10, {}, t},
  };
  expectStore(kvr::PHYDSC, 3, 200, Layout::kValue, parameters, kZeroRecord);
}

// ---- Whole records, column by column -------------------------------------------------

TEST(Matcon, GroupsAndConceptRecordsColumnByColumn) {
  for (int32_t before : {0, 50}) {
    Records records(7);
    Call c = call(kvr::MATDSC, 27, 1, {}, records, 7, before);
    EXPECT_EQ(c.count, 7);
    EXPECT_EQ(c.answer, 0);
    const char* keywords[] = {"ELAST", "PLAST", "HARDEN", "CRACK", "VISC", "HYP-DEV", "HYP-HYP"};
    for (int32_t k = 1; k <= 7; ++k) {
      EXPECT_EQ(cols(records.record(k), 31, 38), rjust(keywords[k - 1], 8));
    }
    const std::string r = records.record(1);
    EXPECT_EQ(cols(r, 1, 30), blanks(20) + "Elasticity");
    EXPECT_EQ(cols(r, 31, 42), "   ELAST   2");
    EXPECT_EQ(cols(r, 43, 66), "     1     2     3     4");
    EXPECT_EQ(cols(r, 67, 255), blanks(189));
  }
  const std::string ce1 = read(kvr::MATDSC, 2, {1})[0];
  EXPECT_EQ(ce1, blanks(6) + "Concept 1 for elasticity" + blanks(5) + "CE1" + blanks(3) + "4" +
                     "     1     2     3     4" + blanks(189));

  const std::vector<std::string> chain = read(kvr::MATDSC, 2, {40, 94, 95, 96, 97, 98});
  const char* keys[] = {"CP5", "PP51", "PP511", "PP5111", "PP51111", "PP511111"};
  for (size_t k = 0; k < 6; ++k) EXPECT_EQ(cols(chain[k], 31, 38), rjust(keys[k], 8));
  EXPECT_EQ(cols(chain[5], 1, 46), "Sub Concept 5.1.1.1.1.1 for plPP511111   4    ");
  EXPECT_EQ(cols(chain[5], 47, 66), "99   100   101" + blanks(6));

  const std::string none = read(kvr::MATDSC, 2, {39})[0];
  EXPECT_EQ(cols(none, 31, 42), "    NONE   0");
  EXPECT_EQ(cols(none, 43, 255), blanks(213));
}

TEST(Matcon, ParameterRecordsColumnByColumn) {
  const std::vector<std::string> p = read(kvr::MATDSC, 3, {1, 64, 65, 120, 20, 26, 22, 35, 11});
  EXPECT_EQ(p[0], blanks(14) + "Param for : E1A " + "     E1A   1  19     0   100     1" +
                      blanks(191));
  EXPECT_EQ(cols(p[1], 31, 38), "  HD131A");
  EXPECT_EQ(cols(p[2], 31, 38), "  HD131B");
  EXPECT_EQ(cols(p[3], 31, 64), "     P4W   1  11     0   100   120");
  EXPECT_EQ(cols(p[4], 39, 82),
            std::string("   2  20") + " 0.10000    " + "  500.00    " + "  20.000    ");
  EXPECT_EQ(cols(p[4], 83, 255), blanks(173));
  EXPECT_EQ(cols(p[5], 39, 52), "   1  11    26");
  EXPECT_EQ(cols(p[5], 53, 255), blanks(203));
  EXPECT_EQ(cols(p[6], 39, 42), "   4");
  EXPECT_EQ(cols(p[6], 43, 192), blanks(150));
  EXPECT_EQ(cols(p[6], 193, 255),
            "File data for 2nd plasticity concept,1st parameter" + blanks(13));
  EXPECT_EQ(cols(p[7], 193, 242), "File data for 2nd plasticity concept,2st parameter");
  EXPECT_EQ(p[8], kZeroRecord);
}

TEST(Phytyp, RecordsColumnByColumn) {
  for (int32_t before : {0, 9}) {
    Records records(1);
    Call c = call(kvr::PHYDSC, 21, 1, {}, records, 1, before);
    EXPECT_EQ(c.count, 1);
    const std::string r = records.record(1);
    EXPECT_EQ(cols(r, 1, 42), blanks(17) + "Physical Type" + "    TYPE   2");
    EXPECT_EQ(cols(r, 43, 108),
              "     1     2     3     4     5     6     7     8     9    10    11");
    EXPECT_EQ(cols(r, 109, 255), blanks(147));
  }
  Records sections(4);
  call(kvr::PHYDSC, 21, 2, {7, 10, 11, 12}, sections, 4, 4);
  EXPECT_EQ(cols(sections.record(1), 31, 52), "   THICK   4   0    81");
  EXPECT_EQ(cols(sections.record(1), 53, 255), blanks(203));
  EXPECT_EQ(cols(sections.record(2), 31, 76), "  USHAPE   4   5   131   132   133   134   135");
  EXPECT_EQ(cols(sections.record(3), 31, 70), "  LSHAPE   4   5   121   122   123   124");
  EXPECT_EQ(sections.record(4), kZeroSection);

  Records params(4);
  call(kvr::PHYDSC, 21, 3, {11, 19, 43, 81}, params, 4, 4);
  EXPECT_EQ(cols(params.record(1), 31, 46), "     CSA   2   0");
  EXPECT_EQ(cols(params.record(1), 47, 255), blanks(209));
  EXPECT_EQ(cols(params.record(2), 31, 82),
            "     CSA   2  11  1.0000      100.00      1.1000    ");
  EXPECT_EQ(cols(params.record(3), 1, 70),
            blanks(12) + "Pipe thickness (T)       T   2  10  0.0000      49.000    ");
  EXPECT_EQ(cols(params.record(3), 71, 255), blanks(185));
  EXPECT_EQ(cols(params.record(4), 31, 46), "   THICK   2   0");
}

// ---- Capacity, slot range and record length ------------------------------------------

TEST(Descriptors, WriteOnlyWhatTheCallersArrayHolds) {
  for (Dispatcher dsc : {kvr::MATDSC, kvr::PHYDSC}) {
    // Count 3, capacity 2: two records, the third as it was.
    Records three(3);
    Call c = call(dsc, 27, 3, {1, 19, 20}, three, 2, 3);
    EXPECT_NE(three.record(1), std::string(255, '#'));
    EXPECT_NE(three.record(2), std::string(255, '#'));
    EXPECT_EQ(three.record(3), std::string(255, '#'));
    EXPECT_EQ(c.count, 3);
    // Count beyond the slot list: only the listed slots.
    Records listed(3);
    call(dsc, 27, 2, {1}, listed, 3, 3);
    EXPECT_EQ(listed.record(2), std::string(255, '#'));
    // Level 1 with capacity 0 sets the count and writes nothing.
    Records none(1);
    c = call(dsc, 21, 1, {}, none, 0, 0);
    EXPECT_GE(c.count, 1);
    EXPECT_EQ(none.record(1), std::string(255, '#'));
  }
  // Level 1 of the material table with room for 3 of its 7 groups.
  Records groups(3);
  Call c = call(kvr::MATDSC, 21, 1, {}, groups, 3, 0);
  EXPECT_EQ(c.count, 7);
  EXPECT_EQ(cols(groups.record(3), 31, 38), "  HARDEN");

  // Slots outside the stores read as undefined slots.
  EXPECT_EQ(read(kvr::MATDSC, 2, {0, 151}), (std::vector<std::string>{kZeroRecord, kZeroRecord}));
  EXPECT_EQ(read(kvr::MATDSC, 3, {-4}), std::vector<std::string>{kZeroRecord});
  EXPECT_EQ(read(kvr::PHYDSC, 2, {201, 0}), (std::vector<std::string>{kZeroSection, kZeroSection}));
  EXPECT_EQ(read(kvr::PHYDSC, 3, {201}), std::vector<std::string>{kZeroRecord});

  // Records shorter than 255 are cut at their length; longer ones blank-padded.
  Records shorter(2, '#', 40);
  shorter.data += "GUARD";
  call(kvr::MATDSC, 27, 2, {1, 39}, shorter, 2, 2);
  EXPECT_EQ(shorter.data, blanks(6) + "Concept 1 for elasticity" + blanks(5) + "CE1  " +
                              blanks(7) + "Concept 3 for hardening" + blanks(4) + "NONE  " +
                              "GUARD");
  Records longer(1, '#', 260);
  call(kvr::PHYDSC, 27, 1, {}, longer, 1, 0);
  EXPECT_EQ(cols(longer.record(1), 109, 260), blanks(152));
}

// ---- Dispatch ----------------------------------------------------------------------

TEST(Descriptors, DispatchByAnalysisProgramCode) {
  const std::string untouched(2 * 255, '#');
  for (Dispatcher dsc : {kvr::MATDSC, kvr::PHYDSC}) {
    // The probe: 100 for the two programs with tables, 0 for the others; nothing written.
    for (int32_t code : {21, 27, 1, 36, 52, 4}) {
      Records records(2);
      Call c = call(dsc, code, 0, {1}, records, 2, 5);
      EXPECT_EQ(c.answer, code == 21 || code == 27 ? 100 : 0) << code;
      EXPECT_EQ(c.count, 5);
      EXPECT_EQ(records.data, untouched);
    }
    // Codes outside the list at levels -1 to 3, and a level the tables do not have.
    std::vector<std::pair<int32_t, int32_t>> silent = {{27, -1}};
    for (int32_t code : {0, 53, -5}) {
      for (int32_t level = -1; level <= 3; ++level) silent.emplace_back(code, level);
    }
    for (const auto& [code, level] : silent) {
      Records records(2);
      Call c = call(dsc, code, level, {1}, records, 2, 1);
      EXPECT_EQ(c.answer, 0) << code << " " << level;
      EXPECT_EQ(c.count, 1);
      EXPECT_EQ(records.data, untouched) << code << " " << level;
    }
    // A level above 3 blanks the caller's records unless the program has tables.
    Records blanked(3);
    Call c = call(dsc, 3, 4, {1}, blanked, 2, 1);
    EXPECT_EQ(c.answer, 0);
    EXPECT_EQ(blanked.data, blanks(510) + std::string(255, '#'));
    Records kept(2);
    c = call(dsc, 21, 4, {1}, kept, 2, 1);
    EXPECT_EQ(c.answer, 0);
    EXPECT_EQ(kept.data, untouched);
    // Programs without tables answer 0 at every level and write nothing.
    Records stub(2);
    c = call(dsc, 40, 2, {1}, stub, 2, 1);
    EXPECT_EQ(c.answer, 0);
    EXPECT_EQ(stub.data, untouched);
  }
}

// The attribute list's item-name probe reaches the tables once the road has installed them.
TEST(Descriptors, ItemNameProbeReachesTheTables) {
  const kvr::DscDsp saved = kvr::DSCDSP;
  kvr::installDescriptorDispatch();
  int32_t out = -1;
  kvr::ITMNAM(1, 21, out);
  EXPECT_EQ(out, 100);
  kvr::ITMNAM(1, 4, out);
  EXPECT_EQ(out, 0);
  kvr::ITMNA2(1, 27, out);
  EXPECT_EQ(out, 100);
  kvr::DSCDSP = saved;
}

}  // namespace
