/* An analysis program in miniature: writes a block of 3 x 3 x 3 HE8 elements (64 nodes),
   clamped at x = 0 and bent downwards, with its nodal displacements and its element
   stresses, to the model database DEMO and to a neutral text file, through the exported
   routines of libKvr7dbio alone.

   Usage: kvr7-demo [DIRECTORY]

   The files go to DIRECTORY (made when missing; kvr7-demo/ under the current directory
   when none is given): DEMO.M71 and DEMO.V71 (the database), demo.neu (the neutral text
   file), demo.msg (the writing road's messages) and demo.log (the progress log). The
   files of a previous run there are removed first. The absolute path of each file is
   printed, one a line. When a routine refuses, the program prints its name and the code
   it answered, and exits with status 1. */
#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "kvr7dbio.h"

enum {
  MSG_UNIT = 20, /* the message file */
  LOG_UNIT = 21, /* the progress log */
  NEU_UNIT = 22, /* the neutral text file */
  DB8_UNIT = 18, /* the database's data file */
  DB7_UNIT = 17, /* the database's index file */
  N = 3,         /* elements along each edge of the block */
  NODES_A_ROW = N + 1
};

static const char* const kFiles[] = {"DEMO.M71", "DEMO.V71", "demo.neu", "demo.msg",
                                     "demo.log"};
static int32_t tempUnits[2] = {31, 32};

/* Ends the program when CODE is not 0, naming the routine that answered it. */
static void check(int32_t code, const char* routine, const char* what) {
  if (code == 0) return;
  fprintf(stderr, "kvr7-demo: %s answered %s %d\n", routine, what, (int)code);
  exit(1);
}

/* Fills TEXT of LENGTH characters with S, blank-padded; no NUL. */
static void pad(char* text, int length, const char* s) {
  size_t n = strlen(s);
  memset(text, ' ', (size_t)length);
  memcpy(text, s, n < (size_t)length ? n : (size_t)length);
}

/* Opens NAME on UNIT as a new formatted file, or a blank NAME as a scratch stream. */
static void openFile(int32_t unit, const char* name) {
  char fname[KVR_OPNTLDBF_FNAME_LENGTH];
  int32_t scratch = name[0] == '\0';
  int32_t imode = scratch ? 0 : 2, istat = scratch ? 2 : 1, iform = scratch ? 1 : 2;
  int32_t iacces = 1, irecl = 0, iostat = -1;
  pad(fname, KVR_OPNTLDBF_FNAME_LENGTH, name);
  dll_opntldbf(&unit, &imode, fname, &istat, &iform, &iacces, &irecl, &iostat);
  check(iostat, "dll_opntldbf", "IOSTAT");
}

static void closeFile(int32_t unit) {
  int32_t iostat = -1;
  dll_clstldbf(&unit, &iostat);
  check(iostat, "dll_clstldbf", "IOSTAT");
}

static void logLine(int32_t mode) {
  int32_t unit = LOG_UNIT, step = 1, sub = 1;
  char typtxt[KVR_WRTTLLOG_TYPTXT_LENGTH];
  pad(typtxt, KVR_WRTTLLOG_TYPTXT_LENGTH, "STATIC");
  dll_wrttllog(&unit, &mode, &step, &sub, typtxt);
}

/* Opens a dataset of KEY named NAME (the model's, or the load case's) on UNIT. */
static void header(int32_t key, const char* name, int32_t unit) {
  char hname[KVR_DIHED2_NAME_LENGTH], htitle[KVR_DIHED2_HTITLE_LENGTH];
  char htext[KVR_DIHED2_HTEXT_LENGTH];
  int32_t iopcod = 1, hnumbr = key == 100 ? 1 : 0, hflag = 0, ierr = -1;
  float hvalue = key == 100 ? 1.0f : 0.0f;
  pad(hname, KVR_DIHED2_NAME_LENGTH, name);
  pad(htitle, KVR_DIHED2_HTITLE_LENGTH,
      key == 1 ? "Demonstration block" : key == 100 ? "Tip load" : "");
  pad(htext, KVR_DIHED2_HTEXT_LENGTH, "");
  dll_dihed2(&key, &iopcod, hname, &hvalue, &hnumbr, htitle, &hflag, htext, &ierr, &unit);
  check(ierr, "dll_dihed2", "IERR");
}

static void process(int32_t unit) {
  int32_t ierr = -1;
  dll_dilim(&ierr, &unit);
  check(ierr, "dll_dilim", "IERR");
}

/* The results attribute NAME of NCOMPS components COMPONENTS of type CTYPE, with INDEX1
   and INDEX2 per component, for results of type IRTYPE. */
static void attribute(const char* name, int32_t irtype, int32_t ctype, int32_t ncomps,
                      const char* const* components, const int32_t* index1,
                      const int32_t* index2, int32_t unit) {
  char attnam[KVR_DIRHA_ATTNAM_LENGTH], compnm[KVR_DIRHB_COMPNM_LENGTH];
  char ncalc[KVR_DIRHB_NCALC_LENGTH], compn2[KVR_DIRHB_COMPN2_LENGTH];
  int32_t numvar = 0, ierr = -1, k;
  pad(attnam, KVR_DIRHA_ATTNAM_LENGTH, name);
  dll_dirha(attnam, &ncomps, &irtype, &numvar, &ierr, &unit);
  check(ierr, "dll_dirha", "IERR");
  pad(ncalc, KVR_DIRHB_NCALC_LENGTH, "");
  pad(compn2, KVR_DIRHB_COMPN2_LENGTH, "");
  for (k = 0; k < ncomps; ++k) {
    int32_t inmenu = 1, iexist = 0, i1 = index1[k], i2 = index2[k];
    pad(compnm, KVR_DIRHB_COMPNM_LENGTH, components[k]);
    dll_dirhb(compnm, &inmenu, &ctype, &i1, &i2, &iexist, ncalc, compn2, &ierr, &unit);
    check(ierr, "dll_dirhb", "IERR");
  }
}

/* The number of the node at grid position (I, J, K), each 0 to N. */
static int32_t nodeAt(int i, int j, int k) {
  return (int32_t)(1 + i + NODES_A_ROW * (j + NODES_A_ROW * k));
}

static void writeModel(void) {
  static const char* const displ[3] = {"DX", "DY", "DZ"};
  static const int32_t displIndex1[3] = {1, 2, 3}, displIndex2[3] = {0, 0, 0};
  static const char* const stress[6] = {"SX", "SY", "SZ", "SXY", "SYZ", "SZX"};
  static const int32_t stressIndex1[6] = {1, 2, 3, 1, 2, 3}, stressIndex2[6] = {1, 2, 3, 2, 3, 1};
  int32_t luopt = 3, ludb8 = DB8_UNIT, ludb7 = DB7_UNIT, luneu = NEU_UNIT, itfnum = 2;
  int32_t ikeep = 0, nform = 5, lumsg1 = MSG_UNIT, lumsg2 = 99, ipgsiz = 2040, ierr = -1;
  int32_t arg1 = 0, opened = 0, arg5 = 0, isys = 0, unit;
  char text6[KVR_DIDBI_TEXT6_LENGTH], text79[KVR_DIDBI_TEXT79_LENGTH];
  int i, j, k;

  openFile(MSG_UNIT, "demo.msg");
  openFile(LOG_UNIT, "demo.log");
  openFile(NEU_UNIT, "demo.neu");
  openFile(tempUnits[0], "");
  openFile(tempUnits[1], "");

  dll_diini2(&luopt, &ludb8, &ludb7, &luneu, tempUnits, &itfnum, &ikeep, &nform, &lumsg1,
             &lumsg2, &ipgsiz, &ierr);
  check(ierr, "dll_diini2", "IERR");
  pad(text6, KVR_DIDBI_TEXT6_LENGTH, "");
  pad(text79, KVR_DIDBI_TEXT79_LENGTH, "");
  dll_didbi(&arg1, &opened, text6, text79, &arg5, &ierr);
  check(ierr, "dll_didbi", "IERR");
  logLine(1);
  logLine(2);

  /* The model header and the nodes on one unit: the nodes' dataset creates the model. */
  unit = tempUnits[0];
  header(1, "DEMO", unit);
  header(2, "", unit);
  for (k = 0; k <= N; ++k) {
    for (j = 0; j <= N; ++j) {
      for (i = 0; i <= N; ++i) {
        int32_t node = nodeAt(i, j, k);
        float x = (float)i, y = (float)j, z = (float)k;
        dll_dicor(&node, &x, &y, &z, &isys, &ierr, &unit);
        check(ierr, "dll_dicor", "IERR");
      }
    }
  }
  process(unit);

  unit = tempUnits[1];
  header(3, "", unit);
  for (k = 0; k < N; ++k) {
    for (j = 0; j < N; ++j) {
      for (i = 0; i < N; ++i) {
        int32_t elem = (int32_t)(1 + i + N * (j + N * k)), itype = 1, ieatt1 = 1, ieatt2 = 1;
        int32_t nodes[8];
        nodes[0] = nodeAt(i, j, k);
        nodes[1] = nodeAt(i + 1, j, k);
        nodes[2] = nodeAt(i + 1, j + 1, k);
        nodes[3] = nodeAt(i, j + 1, k);
        nodes[4] = nodeAt(i, j, k + 1);
        nodes[5] = nodeAt(i + 1, j, k + 1);
        nodes[6] = nodeAt(i + 1, j + 1, k + 1);
        nodes[7] = nodeAt(i, j + 1, k + 1);
        dll_ditop(&elem, &itype, &ieatt1, &ieatt2, nodes, &isys, &ierr, &unit);
        check(ierr, "dll_ditop", "IERR");
      }
    }
  }
  process(unit);

  /* The displacements: the block bends down, more the farther from the clamped face. */
  logLine(3);
  unit = tempUnits[0];
  header(100, "TIP", unit);
  attribute("DISPL", 1, 2, 3, displ, displIndex1, displIndex2, unit);
  for (k = 0; k <= N; ++k) {
    for (j = 0; j <= N; ++j) {
      for (i = 0; i <= N; ++i) {
        int32_t node = nodeAt(i, j, k), numres = 3;
        float values[3];
        values[0] = 0.0f;
        values[1] = 0.0f;
        values[2] = -0.001f * (float)(i * i);
        dll_dinia(&node, values, &numres, &ierr, &unit);
        check(ierr, "dll_dinia", "IERR");
      }
    }
  }
  process(unit);

  /* The stresses: one set of six per element, at its centre (one layer). */
  unit = tempUnits[1];
  header(100, "TIP", unit);
  attribute("STRESS", 5, 4, 6, stress, stressIndex1, stressIndex2, unit);
  for (k = 0; k < N; ++k) {
    for (j = 0; j < N; ++j) {
      for (i = 0; i < N; ++i) {
        int32_t elem = (int32_t)(1 + i + N * (j + N * k)), itype = 1, ieatt1 = 1, ivar = 0;
        int32_t nlayer = 1, ilocal = 0, numres = 6;
        float bending = 10.0f * (float)(N - i) * ((float)k + 0.5f - 0.5f * (float)N);
        float values[6] = {bending, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
        dll_diech(&elem, &itype, &ieatt1, &ivar, &nlayer, &ilocal, NULL, &ierr, &unit);
        check(ierr, "dll_diech", "IERR");
        dll_diecr(&elem, values, &numres, &ierr, &unit);
        check(ierr, "dll_diecr", "IERR");
      }
    }
  }
  process(unit);

  dll_distp(&ierr);
  check(ierr, "dll_distp", "IERR");
  closeFile(tempUnits[0]);
  closeFile(tempUnits[1]);
  closeFile(NEU_UNIT);
  closeFile(LOG_UNIT);
  closeFile(MSG_UNIT);
}

int main(int argc, char** argv) {
  const char* directory = argc > 1 ? argv[1] : "kvr7-demo/";
  char cwd[4096];
  size_t k;

  if (mkdir(directory, 0777) != 0 && errno != EEXIST) {
    fprintf(stderr, "kvr7-demo: cannot make the directory %s: %s\n", directory, strerror(errno));
    return 1;
  }
  if (chdir(directory) != 0 || getcwd(cwd, sizeof cwd) == NULL) {
    fprintf(stderr, "kvr7-demo: cannot work in %s: %s\n", directory, strerror(errno));
    return 1;
  }
  /* A create over the database files of an earlier run would be refused. */
  for (k = 0; k < sizeof kFiles / sizeof kFiles[0]; ++k) remove(kFiles[k]);

  writeModel();

  for (k = 0; k < sizeof kFiles / sizeof kFiles[0]; ++k) {
    printf("%s%s%s\n", cwd, strcmp(cwd, "/") == 0 ? "" : "/", kFiles[k]);
  }
  return 0;
}
