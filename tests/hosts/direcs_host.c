/* Host program: sends a small model and its results through the writing road, as an
   analysis program does, in a temporary directory with both outputs (the database and
   the neutral text file): a model header with its nodes, a QU4 element, a node set,
   constraints, a local system, nodal and element results, each dataset on its own
   temporary unit and processed with dll_dilim; then a few records the routines must
   refuse, each on a dataset of its own that dll_dierr abandons; dll_distp last.

   Before any of that, every record routine must refuse a unit the road does not know,
   which it can do before the initialisation. */
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

#define MSG_UNIT 20
#define NUNITS 10

static int32_t units[NUNITS] = {31, 32, 33, 34, 35, 36, 37, 38, 39, 40};

static void expectCode(int32_t got, int32_t want, const char* what) {
  if (got == want) {
    ++passed;
  } else {
    ++failed;
    printf("FAILED %s: IERR %d, expected %d\n", what, (int)got, (int)want);
  }
}

/* A dataset header of KEY named NAME on unit index K (0-based). */
static int32_t header(int32_t key, const char* name, int k) {
  char hname[21], htitle[21], htext[11];
  int32_t opcode = 1, hnumbr = 0, hflag = 0, ierr = -1;
  float hvalue = 0.0f;
  pad(hname, 20, name);
  pad(htitle, 20, "Host test");
  pad(htext, 10, "");
  hname[20] = htitle[20] = htext[10] = '#';
  dll_dihed2(&key, &opcode, hname, &hvalue, &hnumbr, htitle, &hflag, htext, &ierr, &units[k]);
  return ierr;
}

static int32_t node(int32_t id, float x, float y, int k) {
  float z = 0.0f;
  int32_t isys = 0, ierr = -1;
  dll_dicor(&id, &x, &y, &z, &isys, &ierr, &units[k]);
  return ierr;
}

static int32_t component(const char* name, int32_t ctype, int32_t index1, int k) {
  char compnm[9], ncalc[9], compn2[9];
  int32_t inmenu = 1, index2 = 0, iexist = 0, ierr = -1;
  pad(compnm, 8, name);
  pad(ncalc, 8, "");
  pad(compn2, 8, "");
  compnm[8] = ncalc[8] = compn2[8] = '#';
  dll_dirhb(compnm, &inmenu, &ctype, &index1, &index2, &iexist, ncalc, compn2, &ierr, &units[k]);
  expect(compnm[8] == '#' && ncalc[8] == '#' && compn2[8] == '#', "dll_dirhb reads 8 characters");
  return ierr;
}

static int32_t attribute(const char* name, int32_t ncomps, int32_t irtype, int k) {
  char attnam[9];
  int32_t numvar = 0, ierr = -1;
  pad(attnam, 8, name);
  attnam[8] = '#';
  dll_dirha(attnam, &ncomps, &irtype, &numvar, &ierr, &units[k]);
  return ierr;
}

/* The message lines written so far, the last one in LAST (without its line end). */
static int messageLines(char* last, size_t size) {
  char line[256];
  int count = 0;
  int32_t unit = MSG_UNIT, iostat = -1;
  FILE* f;
  dll_clstldbf(&unit, &iostat);
  f = fopen("direcs_host.msg", "r");
  if (f == NULL) return -1;
  last[0] = '\0';
  while (fgets(line, sizeof line, f) != NULL) {
    line[strcspn(line, "\n")] = '\0';
    snprintf(last, size, "%s", line);
    ++count;
  }
  fclose(f);
  /* Reopened to append: the message unit stays in use. */
  {
    char fname[80];
    int32_t mode = 0, istat = 1, iform = 2, iacces = 2, irecl = 0;
    pad(fname, 80, "direcs_host.msg");
    dll_opntldbf(&unit, &mode, fname, &istat, &iform, &iacces, &irecl, &iostat);
  }
  return count;
}

static void expectLastLine(const char* want, const char* what) {
  char last[256];
  messageLines(last, sizeof last);
  if (strcmp(last, want) == 0) {
    ++passed;
  } else {
    ++failed;
    printf("FAILED %s:\n  got  \"%s\"\n  want \"%s\"\n", what, last, want);
  }
}

static int32_t dilim(int k) {
  int32_t ierr = -1;
  dll_dilim(&ierr, &units[k]);
  return ierr;
}

/* Cleans the dataset on unit index K after a refusal: dll_dierr level 1. */
static void cleanUp(int k, const char* what) {
  int32_t level = 1, ierr = -1;
  dll_dierr(&level, &ierr, &units[k]);
  expectCode(ierr, 0, what);
}

/* The last line of NAME (without its line end) into LAST; the count of lines. */
static int lastLineOf(const char* name, char* last, size_t size) {
  char line[256];
  int count = 0;
  FILE* f = fopen(name, "r");
  if (f == NULL) return -1;
  last[0] = '\0';
  while (fgets(line, sizeof line, f) != NULL) {
    line[strcspn(line, "\n")] = '\0';
    snprintf(last, size, "%s", line);
    ++count;
  }
  fclose(f);
  return count;
}

static int fileExists(const char* name) {
  FILE* f = fopen(name, "rb");
  if (f == NULL) return 0;
  fclose(f);
  return 1;
}

static void sendModel(void) {
  int32_t luopt = 3, ludb8 = 18, ludb7 = 17, luneu = 21, itfnum = NUNITS, ikeep = 0;
  int32_t nform = 5, lumsg1 = MSG_UNIT, lumsg2 = 99, ipgsiz = 2040, ierr = -1;
  int32_t arg1 = 0, opened = 0, arg5 = 0;
  char text6[6], text79[79], last[256];
  int32_t id, k;

  expect(openUnit(MSG_UNIT, 2, "direcs_host.msg", 1, 2) == 0, "open message file");
  expect(openUnit(luneu, 2, "direcs_host.neu", 1, 2) == 0, "open neutral file");
  for (k = 0; k < NUNITS; ++k) expect(openUnit(units[k], 0, "", 2, 1) == 0, "open scratch unit");
  dll_diini2(&luopt, &ludb8, &ludb7, &luneu, units, &itfnum, &ikeep, &nform, &lumsg1, &lumsg2,
             &ipgsiz, &ierr);
  expectCode(ierr, 0, "dll_diini2");
  pad(text6, 6, "");
  pad(text79, 79, "");
  dll_didbi(&arg1, &opened, text6, text79, &arg5, &ierr);
  expectCode(ierr, 0, "dll_didbi");

  /* The model header and the nodes on one unit, processed together. */
  expectCode(header(1, "HOSTPLATE", 0), 0, "model header");
  expectCode(header(2, "", 0), 0, "coordinates header");
  expectCode(node(1, 0.0f, 0.0f, 0), 0, "node 1");
  expectCode(node(2, 1.0f, 0.0f, 0), 0, "node 2");
  expectCode(node(3, 1.0f, 1.0f, 0), 0, "node 3");
  expectCode(node(4, 0.0f, 1.0f, 0), 0, "node 4");
  expectCode(dilim(0), 0, "process model and nodes");
  expect(fileExists("HOSTPLATE.M71") && fileExists("HOSTPLATE.V71"), "database created");

  /* A QU4 element (type 9). */
  expectCode(header(3, "", 1), 0, "topology header");
  {
    int32_t ielem = 1, itype = 9, ieatt1 = 1, ieatt2 = 1, isys = 0;
    int32_t nodes[4] = {1, 2, 3, 4};
    dll_ditop(&ielem, &itype, &ieatt1, &ieatt2, nodes, &isys, &ierr, &units[1]);
    expectCode(ierr, 0, "QU4 element");
  }
  expectCode(dilim(1), 0, "process topology");

  /* A node set. */
  expectCode(header(18, "", 2), 0, "node set header");
  {
    char setnam[9], stitle[31];
    int32_t ids[4] = {1, 2, 3, 4}, nids = 4;
    pad(setnam, 8, "CORNERS");
    pad(stitle, 30, "The four corners");
    setnam[8] = stitle[30] = '#';
    dll_diset(setnam, stitle, ids, &nids, &ierr, &units[2]);
    expectCode(ierr, 0, "node set");
  }
  expectCode(dilim(2), 0, "process node set");

  /* Constraints: node 1 fixed, node 2 in its first two directions. */
  expectCode(header(41, "", 3), 0, "constraints header");
  {
    int32_t n = 1, idof = 9, isys = 0, iedof = 0;
    dll_dicon(&n, &idof, &isys, &iedof, &ierr, &units[3]);
    expectCode(ierr, 0, "constraint of node 1");
    n = 2;
    idof = 12;
    dll_dicon(&n, &idof, &isys, &iedof, &ierr, &units[3]);
    expectCode(ierr, 0, "constraint of node 2");
  }
  expectCode(dilim(3), 0, "process constraints");

  /* A local system. */
  expectCode(header(43, "", 4), 0, "local systems header");
  {
    int32_t isys = 1, idum = 7;
    float axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    dll_dilxc(&isys, &idum, axes, &ierr, &units[4]);
    expectCode(ierr, 0, "local system");
    expect(idum == 0, "IDUM set to 0");
  }
  expectCode(dilim(4), 0, "process local system");

  /* Nodal results: three displacements per node. */
  expectCode(header(100, "LOAD 1", 5), 0, "nodal results header");
  expectCode(attribute("DISPLACE", 3, 1, 5), 0, "nodal attribute");
  expectCode(component("DX", 2, 1, 5), 0, "component DX");
  expectCode(component("DY", 2, 2, 5), 0, "component DY");
  expectCode(component("DZ", 2, 3, 5), 0, "component DZ");
  for (id = 1; id <= 4; ++id) {
    float values[3] = {0.1f * (float)id, 0.0f, -0.5f};
    int32_t numres = 3;
    dll_dinia(&id, values, &numres, &ierr, &units[5]);
    expectCode(ierr, 0, "nodal values");
  }
  expectCode(dilim(5), 0, "process nodal results");

  /* Element results at the element's nodes: one value each. The eighth argument of
     dll_dienh is not read, and may be a null pointer. */
  expectCode(header(100, "LOAD 1", 6), 0, "element results header");
  expectCode(attribute("STRESS", 1, 3, 6), 0, "element attribute");
  expectCode(component("SX", 1, 0, 6), 0, "component SX");
  {
    int32_t ielem = 1, itype = 9, ieatt1 = 0, ivar = 0, npoint = 0, nlayer = 1, ilocal = 0;
    dll_dienh(&ielem, &itype, &ieatt1, &ivar, &npoint, &nlayer, &ilocal, NULL, &ierr, &units[6]);
    expectCode(ierr, 0, "element entity header");
  }
  for (id = 1; id <= 4; ++id) {
    float value = 10.0f * (float)id;
    int32_t numres = 1;
    dll_dienr(&id, &value, &numres, &ierr, &units[6]);
    expectCode(ierr, 0, "element node value");
  }
  expectCode(dilim(6), 0, "process element results");

  /* Refusals, each on a dataset of its own that then is abandoned: they set only their
     unit's flag. A fifth repeat of a four-node group has no header left. */
  expectCode(header(100, "LOAD 2", 7), 0, "third results header");
  expectCode(attribute("STRESS", 1, 3, 7), 0, "third attribute");
  expectCode(component("SX", 1, 0, 7), 0, "third component SX");
  {
    int32_t ielem = 1, itype = 9, ieatt1 = 0, ivar = 0, npoint = 0, nlayer = 1, ilocal = 0;
    float value = 1.0f;
    int32_t numres = 1;
    dll_dienh(&ielem, &itype, &ieatt1, &ivar, &npoint, &nlayer, &ilocal, NULL, &ierr, &units[7]);
    expectCode(ierr, 0, "third entity header");
    for (id = 1; id <= 4; ++id) {
      dll_dienr(&id, &value, &numres, &ierr, &units[7]);
      expectCode(ierr, 0, "third values");
    }
    id = 5;
    dll_dienr(&id, &value, &numres, &ierr, &units[7]);
    expectCode(ierr, 198, "fifth repeat");
    expectLastLine(" DI198 : DIENR : CANNOT ENTER DATA, ENTITY HEADER NOT ENTERED       :",
                   "fifth repeat line");
  }
  cleanUp(7, "clean-up after the fifth repeat");

  /* A point count that is neither 0 nor the type's node count (type 10, eight nodes). */
  expectCode(header(100, "LOAD 2", 8), 0, "fourth results header");
  expectCode(attribute("STRESS", 1, 3, 8), 0, "fourth attribute");
  expectCode(component("SX", 1, 0, 8), 0, "fourth component SX");
  {
    int32_t ielem = 2, itype = 10, ieatt1 = 0, ivar = 0, npoint = 5, nlayer = 1, ilocal = 0;
    int32_t notRead = -1;
    dll_dienh(&ielem, &itype, &ieatt1, &ivar, &npoint, &nlayer, &ilocal, &notRead, &ierr,
              &units[8]);
    expectCode(ierr, 171, "NPOINT 5 of an eight-node type");
    expectLastLine(" DI171 : DIENH : INVALID LENGTH FOR CURRENT ENUMERATIVE LIST        : "
                   "(       5            )",
                   "NPOINT line");
  }
  cleanUp(8, "clean-up after NPOINT 5");

  /* A constraint code with a digit twice; while the unit's error is pending, every record
     on it is refused. */
  expectCode(header(41, "", 3), 0, "second constraints header");
  {
    int32_t n = 3, idof = 112, isys = 0, iedof = 0;
    dll_dicon(&n, &idof, &isys, &iedof, &ierr, &units[3]);
    expectCode(ierr, 196, "IDOF 112");
    idof = 9;
    dll_dicon(&n, &idof, &isys, &iedof, &ierr, &units[3]);
    expectCode(ierr, 32, "the unit's error is pending");
    expectCode(dilim(3), 32, "no processing while the error is pending");
  }
  cleanUp(3, "clean-up after IDOF 112");

  /* A set without a name; a member above 99999 cannot be written to the five-digit text
     file. */
  {
    char setnam[8], stitle[30];
    int32_t ids[2] = {1, 100000}, nids = 2;
    pad(setnam, 8, "");
    pad(stitle, 30, "No name");
    expectCode(header(18, "", 2), 0, "second node set header");
    dll_diset(setnam, stitle, ids, &nids, &ierr, &units[2]);
    expectCode(ierr, 134, "blank set name");
    cleanUp(2, "clean-up after the blank set name");
    pad(setnam, 8, "FAR");
    expectCode(header(18, "", 2), 0, "third node set header");
    dll_diset(setnam, stitle, ids, &nids, &ierr, &units[2]);
    expectCode(ierr, 143, "member 100000");
    cleanUp(2, "clean-up after member 100000");
  }
  /* A flag of one unit leaves the others free: a further dataset is still processed. */
  expectCode(header(41, "", 9), 0, "third constraints header");
  {
    int32_t n = 4, idof = 1, isys = 0, iedof = 0;
    dll_dicon(&n, &idof, &isys, &iedof, &ierr, &units[9]);
    expectCode(ierr, 0, "constraint of node 4");
  }
  expectCode(dilim(9), 0, "process third constraints");

  /* The stop builds the display datasets and ends the neutral file. */
  dll_distp(&ierr);
  expectCode(ierr, 0, "dll_distp");
  dll_distp(&ierr);
  expectCode(ierr, 28, "a second dll_distp");
  {
    int32_t unit = luneu, iostat = -1;
    dll_clstldbf(&unit, &iostat);
  }
  expect(lastLineOf("direcs_host.neu", last, sizeof last) > 2 && strcmp(last, " 9999") == 0,
         "the neutral file ends with 9999");

  {
    int32_t unit = MSG_UNIT, iostat = -1;
    dll_clstldbf(&unit, &iostat);
  }
  for (k = 0; k < NUNITS; ++k) dll_kvclose(&units[k]);
}

/* Before the initialisation no unit is a temporary unit: each routine answers 211. Texts
   are passed at their fixed lengths exactly, the not-read argument as a null pointer. */
static void refuseUnknownUnit(void) {
  int32_t u = 31, id = 1, itype = 9, zero = 0, one = 1, ierr;
  int32_t nodes[4] = {1, 2, 3, 4};
  float x = 0.0f, values[3] = {0}, axes[9] = {0};
  char name8[8], title30[30];
  pad(name8, 8, "NAME");
  pad(title30, 30, "");
#define REFUSED(call, what) \
  ierr = -1;                \
  call;                     \
  expectCode(ierr, 211, what)
  REFUSED(dll_dicor(&id, &x, &x, &x, &zero, &ierr, &u), "dll_dicor");
  REFUSED(dll_ditop(&id, &itype, &zero, &zero, nodes, &zero, &ierr, &u), "dll_ditop");
  REFUSED(dll_diset(name8, title30, nodes, &one, &ierr, &u), "dll_diset");
  REFUSED(dll_dicon(&id, &one, &zero, &zero, &ierr, &u), "dll_dicon");
  {
    int32_t idum = 7;
    REFUSED(dll_dilxc(&id, &idum, axes, &ierr, &u), "dll_dilxc");
    expect(idum == 0, "dll_dilxc sets IDUM to 0 when it fails");
  }
  REFUSED(dll_dirha(name8, &one, &one, &zero, &ierr, &u), "dll_dirha");
  REFUSED(dll_dirhb(name8, &one, &one, &zero, &zero, &zero, name8, name8, &ierr, &u), "dll_dirhb");
  REFUSED(dll_dinia(&id, values, &one, &ierr, &u), "dll_dinia");
  REFUSED(dll_dienh(&id, &itype, &zero, &zero, &zero, &one, &zero, NULL, &ierr, &u), "dll_dienh");
  REFUSED(dll_dienr(&id, values, &one, &ierr, &u), "dll_dienr");
  REFUSED(dll_diech(&id, &itype, &zero, &zero, &one, &zero, NULL, &ierr, &u), "dll_diech");
  REFUSED(dll_diecr(&id, values, &one, &ierr, &u), "dll_diecr");
  REFUSED(dll_diegh(&id, &itype, &zero, &zero, &one, &one, &zero, &zero, &ierr, &u), "dll_diegh");
  REFUSED(dll_diegr(&id, &x, &x, &x, values, &one, &ierr, &u), "dll_diegr");
  REFUSED(dll_digxh(&id, &itype, &zero, &one, &one, &ierr, &u), "dll_digxh");
  REFUSED(dll_digxd(&id, axes, &ierr, &u), "dll_digxd");
  REFUSED(dll_diexh(&id, &itype, &zero, &one, &one, &ierr, &u), "dll_diexh");
  REFUSED(dll_diexd(&id, axes, &ierr, &u), "dll_diexd");
#undef REFUSED
}

/* Removes every file of the directory NAME, then the directory. */
static void removeDirectory(const char* name) {
  DIR* d = opendir(name);
  struct dirent* e;
  char path[512];
  if (d != NULL) {
    while ((e = readdir(d)) != NULL) {
      if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) continue;
      snprintf(path, sizeof path, "%s/%s", name, e->d_name);
      remove(path);
    }
    closedir(d);
  }
  rmdir(name);
}

int main(void) {
  char work[] = "/tmp/direcs_hostXXXXXX";
  char previous[512];
  if (getcwd(previous, sizeof previous) == NULL || mkdtemp(work) == NULL || chdir(work) != 0) {
    printf("FAILED no temporary directory\n");
    return 1;
  }
  refuseUnknownUnit();
  sendModel();
  if (chdir(previous) != 0) printf("cannot return to %s\n", previous);
  removeDirectory(work);
  return report();
}
