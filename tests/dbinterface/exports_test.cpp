// The exported layer: the routines' C signatures and text lengths, the null unread
// argument of the entity headers, and the one forwarding rule that keeps every exception
// but the stop hook's out of the host.
#include <gtest/gtest.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "dbinterface/dimodel.h"
#include "kvr7dbio.h"
#include "platform/stop.h"
#include "recordfixture.h"
#include "testsupport.h"

namespace kvr::test {
namespace {

// The shape of an exported routine: the number of arguments, for each text its 1-based
// position, and the positions of the integers taken by value (every other argument is an
// address).
struct Shape {
  std::size_t pointers = 0;
  std::vector<std::size_t> texts;
  bool allPointers = true;
  std::vector<std::size_t> values;
};

template <class... A>
Shape shapeOf(void (*)(A...)) {
  Shape s;
  std::size_t position = 0;
  (
      [&] {
        ++position;
        using T = A;
        if (std::is_same_v<T, char*>) s.texts.push_back(position);
        if (std::is_same_v<T, int32_t>) s.values.push_back(position);
        if (!std::is_same_v<T, char*> && !std::is_same_v<T, int32_t*> &&
            !std::is_same_v<T, float*> && !std::is_same_v<T, int32_t>) {
          s.allPointers = false;
        }
      }(),
      ...);
  s.pointers = position;
  return s;
}

struct ExportCase {
  const char* name;
  Shape shape;
  std::size_t pointers;
  std::vector<std::size_t> texts;
  std::vector<int> lengths;  // the lengths the header names, in the order of TEXTS
  std::vector<int> wanted;   // the lengths of the table of exported routines
  std::vector<std::size_t> byValue = {};  // the integers taken by value
};

TEST(ExportTable, EveryRoutineHasTheTableShape) {
  const std::vector<ExportCase> cases = {
      {"dll_dihed2", shapeOf(&dll_dihed2), 10, {3, 6, 8},
       {KVR_DIHED2_NAME_LENGTH, KVR_DIHED2_HTITLE_LENGTH, KVR_DIHED2_HTEXT_LENGTH}, {20, 20, 10}},
      {"dll_dirhb", shapeOf(&dll_dirhb), 10, {1, 7, 8},
       {KVR_DIRHB_COMPNM_LENGTH, KVR_DIRHB_NCALC_LENGTH, KVR_DIRHB_COMPN2_LENGTH}, {8, 8, 8}},
      {"dll_diset", shapeOf(&dll_diset), 6, {1, 2},
       {KVR_DISET_SETNAM_LENGTH, KVR_DISET_STITLE_LENGTH}, {8, 30}},
      {"dll_didbi", shapeOf(&dll_didbi), 6, {3, 4},
       {KVR_DIDBI_TEXT6_LENGTH, KVR_DIDBI_TEXT79_LENGTH}, {6, 79}},
      {"dll_opntldbf", shapeOf(&dll_opntldbf), 8, {3}, {KVR_OPNTLDBF_FNAME_LENGTH}, {80}},
      {"dll_wrttllog", shapeOf(&dll_wrttllog), 5, {5}, {KVR_WRTTLLOG_TYPTXT_LENGTH}, {20}},
      {"dll_envirn", shapeOf(&dll_envirn), 2, {1, 2},
       {KVR_ENVIRN_NAME_LENGTH, KVR_ENVIRN_VALUE_LENGTH}, {30, 150}},
      {"dll_tlmknm", shapeOf(&dll_tlmknm), 4, {1, 3, 4},
       {0, KVR_TLMKNM_FILE_LENGTH, KVR_TLMKNM_PATH_LENGTH}, {0, 10, 150}},
      {"dll_dirha", shapeOf(&dll_dirha), 6, {1}, {KVR_DIRHA_ATTNAM_LENGTH}, {8}},
      {"dll_dilim", shapeOf(&dll_dilim), 2, {}, {}, {}},
      {"dll_distp", shapeOf(&dll_distp), 1, {}, {}, {}},
      {"dll_dierr", shapeOf(&dll_dierr), 3, {}, {}, {}},
      {"dll_diini2", shapeOf(&dll_diini2), 12, {}, {}, {}},
      {"dll_dicor", shapeOf(&dll_dicor), 7, {}, {}, {}},
      {"dll_ditop", shapeOf(&dll_ditop), 8, {}, {}, {}},
      {"dll_dicon", shapeOf(&dll_dicon), 6, {}, {}, {}},
      {"dll_dilxc", shapeOf(&dll_dilxc), 5, {}, {}, {}},
      {"dll_dinia", shapeOf(&dll_dinia), 5, {}, {}, {}},
      {"dll_dienh", shapeOf(&dll_dienh), 10, {}, {}, {}},
      {"dll_dienr", shapeOf(&dll_dienr), 5, {}, {}, {}},
      {"dll_diech", shapeOf(&dll_diech), 9, {}, {}, {}},
      {"dll_diecr", shapeOf(&dll_diecr), 5, {}, {}, {}},
      {"dll_diegh", shapeOf(&dll_diegh), 10, {}, {}, {}},
      {"dll_diegr", shapeOf(&dll_diegr), 8, {}, {}, {}},
      {"dll_digxh", shapeOf(&dll_digxh), 7, {}, {}, {}},
      {"dll_digxd", shapeOf(&dll_digxd), 4, {}, {}, {}},
      {"dll_diexh", shapeOf(&dll_diexh), 7, {}, {}, {}},
      {"dll_diexd", shapeOf(&dll_diexd), 4, {}, {}, {}},
      {"dll_vrpre", shapeOf(&dll_vrpre), 8, {}, {}, {}},
      {"dll_clstldbf", shapeOf(&dll_clstldbf), 2, {}, {}, {}},
      {"dll_kvclose", shapeOf(&dll_kvclose), 1, {}, {}, {}},
  };
  EXPECT_EQ(cases.size(), 31u);
  for (const ExportCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(c.shape.allPointers);
    EXPECT_EQ(c.shape.pointers, c.pointers);
    EXPECT_EQ(c.shape.texts, c.texts);
    EXPECT_EQ(c.lengths, c.wanted);
    EXPECT_EQ(c.shape.values, c.byValue);
  }
}

TEST(ExportTable, EveryQueryRoutineHasTheTableShape) {
  const std::vector<ExportCase> cases = {
      {"dll_ustrt2", shapeOf(&dll_ustrt2), 4, {1}, {KVR_USTRT2_NAME_LENGTH}, {80}},
      {"dll_usize", shapeOf(&dll_usize), 1, {}, {}, {}},
      {"dll_usiz2", shapeOf(&dll_usiz2), 1, {}, {}, {}},
      {"dll_upnt2", shapeOf(&dll_upnt2), 4, {2}, {KVR_UPNT2_NAME_LENGTH}, {8}},
      {"dll_unode", shapeOf(&dll_unode), 3, {}, {}, {}},
      {"dll_uelem", shapeOf(&dll_uelem), 4, {}, {}, {}},
      {"dll_unamg2", shapeOf(&dll_unamg2), 4, {3}, {KVR_UNAMG2_NAME_LENGTH}, {8}},
      {"dll_ua1cha", shapeOf(&dll_ua1cha), 3, {3}, {KVR_UA1CHA_TEXT_LENGTH}, {80}},
      {"dll_uslcha", shapeOf(&dll_uslcha), 5, {1}, {0}, {0}},
      {"dll_ucconv", shapeOf(&dll_ucconv), 3, {}, {}, {}},
      {"dll_udecod", shapeOf(&dll_udecod), 9, {}, {}, {}},
      {"dll_uline2", shapeOf(&dll_uline2), 5, {2}, {KVR_ULINE2_NAME_LENGTH}, {8}},
      {"dll_uline3", shapeOf(&dll_uline3), 5, {2}, {KVR_ULINE3_NAME_LENGTH}, {8}},
      {"dll_usurf2", shapeOf(&dll_usurf2), 4, {2}, {KVR_USURF2_NAME_LENGTH}, {8}},
      {"dll_ubody2", shapeOf(&dll_ubody2), 4, {2}, {KVR_UBODY2_NAME_LENGTH}, {8}},
      {"dll_uset2", shapeOf(&dll_uset2), 7, {3}, {KVR_USET2_NAME_LENGTH}, {8}},
      {"dll_unodeg", shapeOf(&dll_unodeg), 6, {}, {}, {}},
      {"dll_uelemg", shapeOf(&dll_uelemg), 10, {}, {}, {}},
      // The one argument of the library taken by value: the property of dll_ugelem.
      {"dll_ugelem", shapeOf(&dll_ugelem), 9, {}, {}, {}, {7}},
  };
  for (const ExportCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(c.shape.allPointers);
    EXPECT_EQ(c.shape.pointers, c.pointers);
    EXPECT_EQ(c.shape.texts, c.texts);
    EXPECT_EQ(c.lengths, c.wanted);
    EXPECT_EQ(c.shape.values, c.byValue);
  }
}

TEST(ExportTable, EveryMaterialLoadAndAdjacencyQueryHasTheTableShape) {
  const std::vector<ExportCase> cases = {
      {"dll_umat3", shapeOf(&dll_umat3), 8, {2, 3},
       {KVR_UMAT3_NAME_LENGTH, KVR_UMAT3_NAME2_LENGTH}, {8, 8}},
      {"dll_uphys4", shapeOf(&dll_uphys4), 10, {2, 3},
       {KVR_UPHYS4_NAME_LENGTH, KVR_UPHYS4_NAME2_LENGTH}, {8, 8}},
      {"dll_umate", shapeOf(&dll_umate), 7, {6}, {KVR_UMATE_LINE_LENGTH}, {80}},
      {"dll_uphyse", shapeOf(&dll_uphyse), 7, {6}, {KVR_UPHYSE_LINE_LENGTH}, {80}},
      {"dll_uadjge", shapeOf(&dll_uadjge), 10, {}, {}, {}},
      {"dll_ucsys2", shapeOf(&dll_ucsys2), 10, {}, {}, {}},
      {"dll_ucocyl", shapeOf(&dll_ucocyl), 5, {}, {}, {}},
      {"dll_uload4", shapeOf(&dll_uload4), 17, {2, 3},
       {KVR_ULOAD4_NAME_LENGTH, KVR_ULOAD4_DESCRIPTION_LENGTH}, {8, 8}},
      {"dll_uloadp", shapeOf(&dll_uloadp), 4, {}, {}, {}},
      {"dll_uloade", shapeOf(&dll_uloade), 5, {}, {}, {}},
      {"dll_ulode2", shapeOf(&dll_ulode2), 7, {}, {}, {}},
      {"dll_uleval", shapeOf(&dll_uleval), 13, {}, {}, {}},
      {"dll_ucurvt", shapeOf(&dll_ucurvt), 12, {3}, {KVR_UCURVT_NAME_LENGTH}, {15}},
  };
  for (const ExportCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(c.shape.allPointers);
    EXPECT_EQ(c.shape.pointers, c.pointers);
    EXPECT_EQ(c.shape.texts, c.texts);
    EXPECT_EQ(c.lengths, c.wanted);
  }
}

TEST(ExportTable, EveryConstraintConnectionAndFaceQueryHasTheTableShape) {
  const std::vector<ExportCase> cases = {
      {"dll_ucone3", shapeOf(&dll_ucone3), 4, {}, {}, {}},
      {"dll_ucons3", shapeOf(&dll_ucons3), 5, {}, {}, {}},
      {"dll_upresc", shapeOf(&dll_upresc), 8, {2}, {KVR_UPRESC_NAME_LENGTH}, {8}},
      {"dll_urbeam", shapeOf(&dll_urbeam), 5, {}, {}, {}},
      {"dll_uequa", shapeOf(&dll_uequa), 11, {}, {}, {}},
      {"dll_ubdry3", shapeOf(&dll_ubdry3), 9, {2}, {KVR_UBDRY3_NAME_LENGTH}, {8}},
      {"dll_uconct", shapeOf(&dll_uconct), 5, {}, {}, {}},
      {"dll_ueface", shapeOf(&dll_ueface), 11, {}, {}, {}},
      {"dll_uefac2", shapeOf(&dll_uefac2), 15, {}, {}, {}},
      {"dll_ufacg2", shapeOf(&dll_ufacg2), 14, {}, {}, {}},
      {"dll_upfn", shapeOf(&dll_upfn), 7, {}, {}, {}},
  };
  for (const ExportCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(c.shape.allPointers);
    EXPECT_EQ(c.shape.pointers, c.pointers);
    EXPECT_EQ(c.shape.texts, c.texts);
    EXPECT_EQ(c.lengths, c.wanted);
    EXPECT_EQ(c.shape.values, c.byValue);
  }
}

class ExportForwarding : public RecordFixture {
 protected:
  void TearDown() override {
    setDicorProbe(nullptr);
    RecordFixture::TearDown();
  }
  int32_t dicor(int32_t node) {
    float x = 1.5f, y = 0.0f, z = 0.0f;
    int32_t isys = 0, ierr = -1, iunt = unitNumber(1);
    dll_dicor(&node, &x, &y, &z, &isys, &ierr, &iunt);
    return ierr;
  }
};

TEST_F(ExportForwarding, AnExceptionInsideARoutineAnswersItsRefusal) {
  openDataset(1, 2);
  setDicorProbe([](int32_t node) {
    if (node == 1) throw std::runtime_error("failure inside the routine");
  });
  EXPECT_EQ(dicor(1), 216);
  // Nothing is kept between calls: the next node goes through.
  EXPECT_EQ(dicor(2), 0);
  EXPECT_EQ(DISTAT.lastId(1), 2);
}

TEST_F(ExportForwarding, TheStopHooksExceptionPassesThroughUnchanged) {
  openDataset(1, 2);
  StopTrap trap;
  setDicorProbe([](int32_t) { processStop(7); });
  try {
    dicor(1);
    FAIL() << "the stop did not reach the caller";
  } catch (const StopCalled& stop) {
    EXPECT_EQ(stop.status, 7);
  }
  // A later exception that is not the hook's is a refusal again.
  setDicorProbe([](int32_t) { throw std::runtime_error("failure"); });
  EXPECT_EQ(dicor(1), 216);
}

TEST_F(ExportForwarding, EntityHeadersTakeANullUnreadArgument) {
  openDataset(1, 100);
  int32_t ierr = -1, iunt = unitNumber(1);
  char attnam[] = "STRESS  ";
  int32_t ncomps = 1, irtype = 3, numvar = 0;
  dll_dirha(attnam, &ncomps, &irtype, &numvar, &ierr, &iunt);
  ASSERT_EQ(ierr, 0);
  char compnm[] = "SX      ", ncalc[] = "        ", compn2[] = "SX2     ";
  int32_t inmenu = 1, ctype = 1, index1 = 0, index2 = 1, iexist = 0;
  dll_dirhb(compnm, &inmenu, &ctype, &index1, &index2, &iexist, ncalc, compn2, &ierr, &iunt);
  ASSERT_EQ(ierr, 0);
  int32_t ielem = 7, itype = 9, ieatt1 = 4, ivar = 0, npoint = 4, nlayer = 0, ilocal = 0;
  dll_dienh(&ielem, &itype, &ieatt1, &ivar, &npoint, &nlayer, &ilocal, nullptr, &ierr, &iunt);
  EXPECT_EQ(ierr, 0);

  configure(1, 0);
  openDataset(1, 100);
  irtype = 5;
  dll_dirha(attnam, &ncomps, &irtype, &numvar, &ierr, &iunt);
  ASSERT_EQ(ierr, 0);
  dll_dirhb(compnm, &inmenu, &ctype, &index1, &index2, &iexist, ncalc, compn2, &ierr, &iunt);
  ASSERT_EQ(ierr, 0);
  nlayer = 3;
  ilocal = 1;
  dll_diech(&ielem, &itype, &ieatt1, &ivar, &nlayer, &ilocal, nullptr, &ierr, &iunt);
  EXPECT_EQ(ierr, 0);
}

}  // namespace
}  // namespace kvr::test
