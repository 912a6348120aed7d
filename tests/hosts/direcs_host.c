/* Host program: sends a small model and its results through the record routines of the
   writing road, as an analysis program does: a model header, nodes, a QU4 element, a node
   set, constraints, a local system, nodal and element results, each dataset on its own
   temporary unit (neutral output only, so nothing is processed yet); then a few records
   the routines must refuse, checked by their codes and message lines.

   Before any of that, every record routine must refuse a unit the road does not know,
   which it can do before the initialisation. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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

static int32_t opn(int32_t unit, int32_t mode, const char* name, int32_t istat, int32_t iform) {
  char fname[80];
  int32_t iacces = 1, irecl = 0, iostat = -99;
  pad(fname, 80, name);
  dll_opntldbf(&unit, &mode, fname, &istat, &iform, &iacces, &irecl, &iostat);
  return iostat;
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

static void sendModel(void) {
  int32_t luopt = 2, ludb8 = 0, ludb7 = 0, luneu = 21, itfnum = NUNITS, ikeep = 0;
  int32_t nform = 5, lumsg1 = MSG_UNIT, lumsg2 = 99, ipgsiz = 2040, ierr = -1;
  int32_t id, k;

  expect(opn(MSG_UNIT, 2, "direcs_host.msg", 1, 2) == 0, "open message file");
  expect(opn(luneu, 2, "direcs_host.neu", 1, 2) == 0, "open neutral file");
  for (k = 0; k < NUNITS; ++k) expect(opn(units[k], 0, "", 2, 1) == 0, "open scratch unit");
  dll_diini2(&luopt, &ludb8, &ludb7, &luneu, units, &itfnum, &ikeep, &nform, &lumsg1, &lumsg2,
             &ipgsiz, &ierr);
  expectCode(ierr, 0, "dll_diini2");

  /* The model header and the nodes. */
  expectCode(header(1, "HOSTPLATE", 0), 0, "model header");
  expectCode(header(2, "", 1), 0, "coordinates header");
  expectCode(node(1, 0.0f, 0.0f, 1), 0, "node 1");
  expectCode(node(2, 1.0f, 0.0f, 1), 0, "node 2");
  expectCode(node(3, 1.0f, 1.0f, 1), 0, "node 3");
  expectCode(node(4, 0.0f, 1.0f, 1), 0, "node 4");

  /* A QU4 element (type 9). */
  expectCode(header(3, "", 2), 0, "topology header");
  {
    int32_t ielem = 1, itype = 9, ieatt1 = 1, ieatt2 = 1, isys = 0;
    int32_t nodes[4] = {1, 2, 3, 4};
    dll_ditop(&ielem, &itype, &ieatt1, &ieatt2, nodes, &isys, &ierr, &units[2]);
    expectCode(ierr, 0, "QU4 element");
  }

  /* A node set. */
  expectCode(header(18, "", 3), 0, "node set header");
  {
    char setnam[9], stitle[31];
    int32_t ids[4] = {1, 2, 3, 4}, nids = 4;
    pad(setnam, 8, "CORNERS");
    pad(stitle, 30, "The four corners");
    setnam[8] = stitle[30] = '#';
    dll_diset(setnam, stitle, ids, &nids, &ierr, &units[3]);
    expectCode(ierr, 0, "node set");
  }

  /* Constraints: node 1 fixed, node 2 in its first two directions. */
  expectCode(header(41, "", 4), 0, "constraints header");
  {
    int32_t n = 1, idof = 9, isys = 0, iedof = 0;
    dll_dicon(&n, &idof, &isys, &iedof, &ierr, &units[4]);
    expectCode(ierr, 0, "constraint of node 1");
    n = 2;
    idof = 12;
    dll_dicon(&n, &idof, &isys, &iedof, &ierr, &units[4]);
    expectCode(ierr, 0, "constraint of node 2");
  }

  /* A local system. */
  expectCode(header(43, "", 5), 0, "local systems header");
  {
    int32_t isys = 1, idum = 7;
    float axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    dll_dilxc(&isys, &idum, axes, &ierr, &units[5]);
    expectCode(ierr, 0, "local system");
    expect(idum == 0, "IDUM set to 0");
  }

  /* Nodal results: three displacements per node. */
  expectCode(header(100, "LOAD 1", 6), 0, "nodal results header");
  expectCode(attribute("DISPLACE", 3, 1, 6), 0, "nodal attribute");
  expectCode(component("DX", 2, 1, 6), 0, "component DX");
  expectCode(component("DY", 2, 2, 6), 0, "component DY");
  expectCode(component("DZ", 2, 3, 6), 0, "component DZ");
  for (id = 1; id <= 4; ++id) {
    float values[3] = {0.1f * (float)id, 0.0f, -0.5f};
    int32_t numres = 3;
    dll_dinia(&id, values, &numres, &ierr, &units[6]);
    expectCode(ierr, 0, "nodal values");
  }

  /* Element results at the element's nodes: one value each. The eighth argument of
     dll_dienh is not read, and may be a null pointer. */
  expectCode(header(100, "LOAD 1", 7), 0, "element results header");
  expectCode(attribute("STRESS", 1, 3, 7), 0, "element attribute");
  expectCode(component("SX", 1, 0, 7), 0, "component SX");
  {
    int32_t ielem = 1, itype = 9, ieatt1 = 0, ivar = 0, npoint = 0, nlayer = 1, ilocal = 0;
    dll_dienh(&ielem, &itype, &ieatt1, &ivar, &npoint, &nlayer, &ilocal, NULL, &ierr, &units[7]);
    expectCode(ierr, 0, "element entity header");
  }
  for (id = 1; id <= 4; ++id) {
    float value = 10.0f * (float)id;
    int32_t numres = 1;
    dll_dienr(&id, &value, &numres, &ierr, &units[7]);
    expectCode(ierr, 0, "element node value");
  }

  /* Refusals. A fifth repeat of the four-node group has no header left. */
  {
    float value = 1.0f;
    int32_t numres = 1;
    id = 5;
    dll_dienr(&id, &value, &numres, &ierr, &units[7]);
    expectCode(ierr, 198, "fifth repeat");
    expectLastLine(" DI198 : DIENR : CANNOT ENTER DATA, ENTITY HEADER NOT ENTERED       :",
                   "fifth repeat line");
  }
  /* A point count that is neither 0 nor the type's node count (type 10, eight nodes). */
  expectCode(header(100, "LOAD 2", 8), 0, "second element results header");
  expectCode(attribute("STRESS", 1, 3, 8), 0, "second element attribute");
  expectCode(component("SX", 1, 0, 8), 0, "second component SX");
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
  /* A constraint code with a digit twice, then one that is no degree of freedom. */
  {
    int32_t n = 3, idof = 112, isys = 0, iedof = 0;
    dll_dicon(&n, &idof, &isys, &iedof, &ierr, &units[4]);
    expectCode(ierr, 196, "IDOF 112");
    dll_dicon(&n, &idof, &isys, &iedof, &ierr, &units[4]);
    expectCode(ierr, 32, "the unit's error is pending");
  }
  /* A member above 99999 cannot be written to the five-digit text file. */
  {
    char setnam[8], stitle[30];
    int32_t ids[2] = {5, 100000}, nids = 2;
    pad(setnam, 8, "CORNERS");
    pad(stitle, 30, "");
    dll_diset(setnam, stitle, ids, &nids, &ierr, &units[3]);
    expectCode(ierr, 143, "member 100000");
  }
  /* A node below the last one: every unit has the model to abandon. */
  expectCode(node(4, 0.0f, 0.0f, 1), 212, "node 4 again");
  expectCode(node(5, 0.0f, 0.0f, 1), 32, "nodes after 212");
  {
    int32_t ielem = 2, itype = 9, ieatt1 = 1, ieatt2 = 1, isys = 0;
    int32_t nodes[4] = {1, 2, 3, 4};
    dll_ditop(&ielem, &itype, &ieatt1, &ieatt2, nodes, &isys, &ierr, &units[2]);
    expectCode(ierr, 32, "elements after 212");
  }
  {
    int32_t unknown = 99;
    float axes[9] = {0};
    id = 1;
    dll_diexd(&id, axes, &ierr, &unknown);
    expectCode(ierr, 211, "unknown unit");
  }

  {
    int32_t unit = MSG_UNIT, iostat = -1;
    dll_clstldbf(&unit, &iostat);
  }
  remove("direcs_host.msg");
  remove("direcs_host.neu");
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

int main(void) {
  refuseUnknownUnit();
  sendModel();
  return report();
}
