/* Host program: a whole analysis run through the exported routines alone, in the
   directory it is started in (CTest gives it a fresh one: a second create of PLATE there
   would be refused).

   First session (LUOPT 3, NFORM 5, page size 2040): the message file, the progress log,
   the neutral file and three scratch temporary units opened with dll_opntldbf; the
   version 0.0 before dll_diini2 and 0.0001 after it; the model "PLATE", a square plate of
   3 x 3 nodes and 2 x 2 QU4 elements:

       7---8---9
       | 3 | 4 |
       4---5---6
       | 1 | 2 |
       1---2---3

   sent as the model header and the nodes on one unit, the elements, the node set "FIXED"
   (the bottom edge), the constraints of that edge, the nodal results "DISPL" of load case
   "LOAD1" (DX, DY, DZ) and the element results "STRESS" of the same load case (IRTYPE 3:
   per element a header and one repeat at each of its 4 nodes, SX, SY, SXY), each dataset
   processed with dll_dilim; dll_distp.

   Second session (LUOPT 1): "PLATE" opened to append, its header on the same unit as the
   nodal results of load case "LOAD2", processed together; dll_distp.

   Every IERR and IOSTAT must be 0. The files are checked afterwards by
   check_plate_files.cmake, against plate.neu for the neutral file; the Fortran host
   plate_host.f90 makes the same calls and must leave the same files. */
#include <stdio.h>
#include <string.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

enum { MSG = 20, LOG = 21, NEU = 22, DB8 = 18, DB7 = 17 };

static int32_t units[3] = {31, 32, 33};

static void expectZero(int32_t code, const char* what) {
  if (code == 0) {
    ++passed;
  } else {
    ++failed;
    printf("FAILED %s: %d\n", what, (int)code);
  }
}

/* Opens NAME on UNIT: IMODE 2 (a new file) or 0 (as it is), formatted, sequential or
   appended; or, with a blank NAME, a scratch unformatted stream. */
static void openFile(int32_t unit, int32_t imode, const char* name, int32_t iacces) {
  char fname[KVR_OPNTLDBF_FNAME_LENGTH];
  int32_t istat = name[0] == '\0' ? 2 : 1, iform = name[0] == '\0' ? 1 : 2, irecl = 0;
  int32_t iostat = -1;
  pad(fname, KVR_OPNTLDBF_FNAME_LENGTH, name);
  dll_opntldbf(&unit, &imode, fname, &istat, &iform, &iacces, &irecl, &iostat);
  expectZero(iostat, "dll_opntldbf");
}

static void closeFile(int32_t unit) {
  int32_t iostat = -1;
  dll_clstldbf(&unit, &iostat);
  expectZero(iostat, "dll_clstldbf");
}

static void logLine(int32_t mode, int32_t step) {
  int32_t unit = LOG, sub = 1;
  char typtxt[KVR_WRTTLLOG_TYPTXT_LENGTH];
  pad(typtxt, KVR_WRTTLLOG_TYPTXT_LENGTH, "STATIC");
  dll_wrttllog(&unit, &mode, &step, &sub, typtxt);
}

static void expectVersion(float want, const char* what) {
  int32_t day, month, year, hour, minute, second, letter;
  float version = -1.0f;
  dll_vrpre(&day, &month, &year, &hour, &minute, &second, &version, &letter);
  expect(version == want, what);
}

/* A dataset header of KEY named NAME on UNIT; IOPCOD 1 create, 2 append. */
static void header(int32_t key, int32_t iopcod, const char* name, int32_t unit) {
  char hname[KVR_DIHED2_NAME_LENGTH], htitle[KVR_DIHED2_HTITLE_LENGTH];
  char htext[KVR_DIHED2_HTEXT_LENGTH];
  int32_t hnumbr = key == 100 ? 1 : 0, hflag = 0, ierr = -1;
  float hvalue = key == 100 ? 1.0f : 0.0f;
  pad(hname, KVR_DIHED2_NAME_LENGTH, name);
  pad(htitle, KVR_DIHED2_HTITLE_LENGTH, key == 100 ? "Plate load" : "");
  pad(htext, KVR_DIHED2_HTEXT_LENGTH, "");
  dll_dihed2(&key, &iopcod, hname, &hvalue, &hnumbr, htitle, &hflag, htext, &ierr, &unit);
  expectZero(ierr, "dll_dihed2");
}

static void process(int32_t unit) {
  int32_t ierr = -1;
  dll_dilim(&ierr, &unit);
  expectZero(ierr, "dll_dilim");
}

static void start(int32_t luopt) {
  int32_t ludb8 = DB8, ludb7 = DB7, luneu = NEU, itfnum = 3, ikeep = 0, nform = 5;
  int32_t lumsg1 = MSG, lumsg2 = 99, ipgsiz = 2040, ierr = -1, arg1 = 0, opened = 0;
  int32_t arg5 = 0;
  char text6[KVR_DIDBI_TEXT6_LENGTH], text79[KVR_DIDBI_TEXT79_LENGTH];
  dll_diini2(&luopt, &ludb8, &ludb7, &luneu, units, &itfnum, &ikeep, &nform, &lumsg1, &lumsg2,
             &ipgsiz, &ierr);
  expectZero(ierr, "dll_diini2");
  pad(text6, KVR_DIDBI_TEXT6_LENGTH, "");
  pad(text79, KVR_DIDBI_TEXT79_LENGTH, "");
  dll_didbi(&arg1, &opened, text6, text79, &arg5, &ierr);
  expectZero(ierr, "dll_didbi");
}

static void stop(void) {
  int32_t ierr = -1;
  dll_distp(&ierr);
  expectZero(ierr, "dll_distp");
}

/* The nodal results DISPL of load case CASE on UNIT, scaled by SCALE: node n moves by
   (0, SCALE * row, 0), row 0 at the bottom. */
static void displacements(const char* loadCase, float scale, int32_t unit) {
  static const char* names[3] = {"DX", "DY", "DZ"};
  char attnam[KVR_DIRHA_ATTNAM_LENGTH], compnm[KVR_DIRHB_COMPNM_LENGTH];
  char ncalc[KVR_DIRHB_NCALC_LENGTH], compn2[KVR_DIRHB_COMPN2_LENGTH];
  int32_t ncomps = 3, irtype = 1, numvar = 0, ierr = -1, k, node;
  header(100, 1, loadCase, unit);
  pad(attnam, KVR_DIRHA_ATTNAM_LENGTH, "DISPL");
  dll_dirha(attnam, &ncomps, &irtype, &numvar, &ierr, &unit);
  expectZero(ierr, "dll_dirha DISPL");
  for (k = 0; k < 3; ++k) {
    int32_t inmenu = 1, ctype = 2, index1 = k + 1, index2 = 0, iexist = 0;
    pad(compnm, KVR_DIRHB_COMPNM_LENGTH, names[k]);
    pad(ncalc, KVR_DIRHB_NCALC_LENGTH, "");
    pad(compn2, KVR_DIRHB_COMPN2_LENGTH, "");
    dll_dirhb(compnm, &inmenu, &ctype, &index1, &index2, &iexist, ncalc, compn2, &ierr, &unit);
    expectZero(ierr, "dll_dirhb DISPL");
  }
  for (node = 1; node <= 9; ++node) {
    float values[3];
    int32_t numres = 3;
    values[0] = 0.0f;
    values[1] = scale * (float)((node - 1) / 3);
    values[2] = 0.0f;
    dll_dinia(&node, values, &numres, &ierr, &unit);
    expectZero(ierr, "dll_dinia");
  }
}

static void firstSession(void) {
  static const int32_t topology[4][4] = {{1, 2, 5, 4}, {2, 3, 6, 5}, {4, 5, 8, 7}, {5, 6, 9, 8}};
  int32_t ierr = -1, k, node, elem;

  openFile(MSG, 2, "plate.msg", 1);
  openFile(LOG, 2, "plate.log", 1);
  openFile(NEU, 2, "plate.neu", 1);
  for (k = 0; k < 3; ++k) openFile(units[k], 0, "", 1);

  expectVersion(0.0f, "dll_vrpre 0.0 before dll_diini2");
  start(3);
  expectVersion(0.0001f, "dll_vrpre 0.0001 after dll_diini2");
  logLine(1, 0);
  logLine(2, 0);

  /* The model header and the nodes on one unit, processed together. */
  header(1, 1, "PLATE", units[0]);
  header(2, 1, "", units[0]);
  for (node = 1; node <= 9; ++node) {
    float x = (float)((node - 1) % 3), y = (float)((node - 1) / 3), z = 0.0f;
    int32_t isys = 0;
    dll_dicor(&node, &x, &y, &z, &isys, &ierr, &units[0]);
    expectZero(ierr, "dll_dicor");
  }
  process(units[0]);

  header(3, 1, "", units[1]);
  for (elem = 1; elem <= 4; ++elem) {
    int32_t itype = 9, ieatt1 = 1, ieatt2 = 1, isys = 0, nodes[4];
    memcpy(nodes, topology[elem - 1], sizeof nodes);
    dll_ditop(&elem, &itype, &ieatt1, &ieatt2, nodes, &isys, &ierr, &units[1]);
    expectZero(ierr, "dll_ditop");
  }
  process(units[1]);

  header(18, 1, "", units[2]);
  {
    char setnam[KVR_DISET_SETNAM_LENGTH], stitle[KVR_DISET_STITLE_LENGTH];
    int32_t ids[3] = {1, 2, 3}, nids = 3;
    pad(setnam, KVR_DISET_SETNAM_LENGTH, "FIXED");
    pad(stitle, KVR_DISET_STITLE_LENGTH, "Clamped edge");
    dll_diset(setnam, stitle, ids, &nids, &ierr, &units[2]);
    expectZero(ierr, "dll_diset");
  }
  process(units[2]);

  header(41, 1, "", units[0]);
  for (node = 1; node <= 3; ++node) {
    int32_t idof = 9, isys = 0, iedof = 0;
    dll_dicon(&node, &idof, &isys, &iedof, &ierr, &units[0]);
    expectZero(ierr, "dll_dicon");
  }
  process(units[0]);

  logLine(3, 1);
  displacements("LOAD1", 0.001f, units[1]);
  process(units[1]);

  /* Element results at the nodes of each element: a header, then one repeat a node. */
  header(100, 1, "LOAD1", units[2]);
  {
    static const char* names[3] = {"SX", "SY", "SXY"};
    char attnam[KVR_DIRHA_ATTNAM_LENGTH], compnm[KVR_DIRHB_COMPNM_LENGTH];
    char ncalc[KVR_DIRHB_NCALC_LENGTH], compn2[KVR_DIRHB_COMPN2_LENGTH];
    int32_t ncomps = 3, irtype = 3, numvar = 0;
    pad(attnam, KVR_DIRHA_ATTNAM_LENGTH, "STRESS");
    dll_dirha(attnam, &ncomps, &irtype, &numvar, &ierr, &units[2]);
    expectZero(ierr, "dll_dirha STRESS");
    for (k = 0; k < 3; ++k) {
      int32_t inmenu = 1, ctype = 3, index1 = k + 1, index2 = 0, iexist = 0;
      pad(compnm, KVR_DIRHB_COMPNM_LENGTH, names[k]);
      pad(ncalc, KVR_DIRHB_NCALC_LENGTH, "");
      pad(compn2, KVR_DIRHB_COMPN2_LENGTH, "");
      dll_dirhb(compnm, &inmenu, &ctype, &index1, &index2, &iexist, ncalc, compn2, &ierr,
                &units[2]);
      expectZero(ierr, "dll_dirhb STRESS");
    }
    for (elem = 1; elem <= 4; ++elem) {
      int32_t itype = 9, ieatt1 = 1, ivar = 0, npoint = 4, nlayer = 1, ilocal = 0;
      dll_dienh(&elem, &itype, &ieatt1, &ivar, &npoint, &nlayer, &ilocal, NULL, &ierr,
                &units[2]);
      expectZero(ierr, "dll_dienh");
      for (k = 0; k < 4; ++k) {
        int32_t id = topology[elem - 1][k], numres = 3;
        float values[3];
        values[0] = 100.0f * (float)elem + (float)k;
        values[1] = -50.0f * (float)elem;
        values[2] = 0.25f * (float)id;
        dll_dienr(&id, values, &numres, &ierr, &units[2]);
        expectZero(ierr, "dll_dienr");
      }
    }
  }
  process(units[2]);

  stop();
  closeFile(NEU);
}

static void secondSession(void) {
  start(1);
  logLine(3, 2);
  /* The append header shares its unit with the results it opens the model for. */
  header(1, 2, "PLATE", units[0]);
  displacements("LOAD2", 0.002f, units[0]);
  process(units[0]);
  stop();
}

int main(void) {
  int k;
  firstSession();
  secondSession();
  for (k = 0; k < 3; ++k) closeFile(units[k]);
  closeFile(LOG);
  closeFile(MSG);
  return report();
}
