/* Host program: the writing road over several runs, each session a process of its own,
   as an analysis program writes its model in one run and its results in later ones. The
   program starts itself again (through /proc/self/exe) with the session to run as its
   arguments, and reads the files the sessions leave with a small reader of its own.

   - A plain model created with load case LC1, then three appends, LC2 to LC4, each in a
     process of its own: every IERR 0, the four load cases listed in order, each with its
     values, record 103 word 15 = 4, and the first load case's date (words 49-53) kept.
   - A model created with its mesh alone, then two appends: the date the first append
     stamps is kept by the second.
   - Two models created, then one session appending FOR1 to M1 on one unit and FOR2 to M2
     on another, processed in both orders: each model holds its own load case alone.
   - A "spider" of 700 BE2 elements on one node at page size 2040, and an element naming
     a node never sent: the call that runs the display build answers 223, the message
     file names the node (and for the spider the page size that would hold its list),
     and the model is gone.
   - dll_dierr level 2 with no unit at all.
   The reader also checks the files of the Fortran host sessions_host.f90, which
   run_sessions_f.cmake runs: "sessions_host mark NAME" and "sessions_host check NAME
   CASES" (the steps of the first flow), ending with status 0 when every check passed.

   The reader: an index file is pages of 100 little-endian words; word 3 of a page is its
   class, entries start at word 5. The model record (class 103, one a page) names the
   first load-case page in word 8; load cases (class 104, 48 words, two a page, the next
   page in word 4) hold their state in word 1, the name in words 2-7 (one character a
   word, in its lowest byte) and their first attribute record's page in word 8; an
   attribute record (class 106) names its values in word 12. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

enum { MSG = 20, NEU = 22, DB8 = 18, DB7 = 17 };

static int32_t units[2] = {31, 32};

/* ---- the sessions -------------------------------------------------------------- */

static void openFile(int32_t unit, const char* name) {
  char fname[KVR_OPNTLDBF_FNAME_LENGTH];
  int32_t imode = name[0] == '\0' ? 0 : 2, istat = name[0] == '\0' ? 2 : 1;
  int32_t iform = name[0] == '\0' ? 1 : 2, iacces = 1, irecl = 0, iostat = -1;
  pad(fname, KVR_OPNTLDBF_FNAME_LENGTH, name);
  dll_opntldbf(&unit, &imode, fname, &istat, &iform, &iacces, &irecl, &iostat);
  expect(iostat == 0, "dll_opntldbf");
}

static int32_t start(const char* session, int32_t ipgsiz) {
  int32_t luopt = 1, ludb8 = DB8, ludb7 = DB7, luneu = NEU, itfnum = 2, ikeep = 0;
  int32_t nform = 10, lumsg1 = MSG, lumsg2 = 99, ierr = -1, arg1 = 0, opened = 0, arg5 = 0;
  char text6[KVR_DIDBI_TEXT6_LENGTH], text79[KVR_DIDBI_TEXT79_LENGTH], msg[64];
  snprintf(msg, sizeof msg, "%s.msg", session);
  openFile(MSG, msg);
  openFile(units[0], "");
  openFile(units[1], "");
  dll_diini2(&luopt, &ludb8, &ludb7, &luneu, units, &itfnum, &ikeep, &nform, &lumsg1, &lumsg2,
             &ipgsiz, &ierr);
  if (ierr != 0) return ierr;
  pad(text6, KVR_DIDBI_TEXT6_LENGTH, "");
  pad(text79, KVR_DIDBI_TEXT79_LENGTH, "");
  dll_didbi(&arg1, &opened, text6, text79, &arg5, &ierr);
  return ierr;
}

static int32_t header(int32_t key, int32_t iopcod, const char* name, int32_t unit) {
  char hname[KVR_DIHED2_NAME_LENGTH], htitle[KVR_DIHED2_HTITLE_LENGTH];
  char htext[KVR_DIHED2_HTEXT_LENGTH];
  int32_t hnumbr = key == 100 ? 1 : 0, hflag = 0, ierr = -1;
  float hvalue = 0.0f;
  pad(hname, KVR_DIHED2_NAME_LENGTH, name);
  pad(htitle, KVR_DIHED2_HTITLE_LENGTH, "");
  pad(htext, KVR_DIHED2_HTEXT_LENGTH, "");
  dll_dihed2(&key, &iopcod, hname, &hvalue, &hnumbr, htitle, &hflag, htext, &ierr, &unit);
  return ierr;
}

static int32_t process(int32_t unit) {
  int32_t ierr = -1;
  dll_dilim(&ierr, &unit);
  return ierr;
}

static int32_t stop(void) {
  int32_t ierr = -1, iostat = -1, k, msg = MSG;
  dll_distp(&ierr);
  for (k = 0; k < 2; ++k) dll_kvclose(&units[k]);
  dll_clstldbf(&msg, &iostat);
  return ierr;
}

/* Nodes 1 to N on UNIT: node 1 at the origin, the others on a circle around it. */
static int32_t nodes(int32_t n, int32_t unit) {
  int32_t ierr = header(2, 1, "", unit), node;
  for (node = 1; node <= n && ierr == 0; ++node) {
    float x = node == 1 ? 0.0f : (float)(node % 97), y = node == 1 ? 0.0f : (float)(node / 97);
    float z = 0.0f;
    int32_t isys = 0;
    dll_dicor(&node, &x, &y, &z, &isys, &ierr, &unit);
  }
  return ierr == 0 ? process(unit) : ierr;
}

static int32_t element(int32_t id, int32_t itype, int32_t* list, int32_t unit) {
  int32_t ieatt1 = 1, ieatt2 = 1, isys = 0, ierr = -1;
  dll_ditop(&id, &itype, &ieatt1, &ieatt2, list, &isys, &ierr, &unit);
  return ierr;
}

/* The nodal results DISPL of load case NAME for nodes 1 to 4 on UNIT (its header first). */
static int32_t results(const char* loadCase, float scale, int32_t unit) {
  static const char* names[3] = {"DX", "DY", "DZ"};
  char attnam[KVR_DIRHA_ATTNAM_LENGTH], compnm[KVR_DIRHB_COMPNM_LENGTH];
  char ncalc[KVR_DIRHB_NCALC_LENGTH], compn2[KVR_DIRHB_COMPN2_LENGTH];
  int32_t ncomps = 3, irtype = 1, numvar = 0, ierr = header(100, 1, loadCase, unit), k, node;
  if (ierr != 0) return ierr;
  pad(attnam, KVR_DIRHA_ATTNAM_LENGTH, "DISPL");
  dll_dirha(attnam, &ncomps, &irtype, &numvar, &ierr, &unit);
  for (k = 0; k < 3 && ierr == 0; ++k) {
    int32_t inmenu = 1, ctype = 2, index1 = k + 1, index2 = 0, iexist = 0;
    pad(compnm, KVR_DIRHB_COMPNM_LENGTH, names[k]);
    pad(ncalc, KVR_DIRHB_NCALC_LENGTH, "");
    pad(compn2, KVR_DIRHB_COMPN2_LENGTH, "");
    dll_dirhb(compnm, &inmenu, &ctype, &index1, &index2, &iexist, ncalc, compn2, &ierr, &unit);
  }
  for (node = 1; node <= 4 && ierr == 0; ++node) {
    float values[3] = {scale * (float)node, 0.0f, -scale};
    int32_t numres = 3;
    dll_dinia(&node, values, &numres, &ierr, &unit);
  }
  return ierr;
}

/* A session's first failing code, 0 when every call answered 0. */
static int32_t first(int32_t sofar, int32_t code) { return sofar != 0 ? sofar : code; }

/* A plain model NAME of one QU4 on nodes 1 to 4, with load case CASE unless it is "-". */
static int32_t createSession(const char* name, const char* loadCase) {
  int32_t quad[4] = {1, 2, 3, 4};
  int32_t code = start(name, 2040);
  code = first(code, header(1, 1, name, units[0]));
  code = first(code, nodes(4, units[0]));
  code = first(code, header(3, 1, "", units[1]));
  code = first(code, element(1, 9, quad, units[1]));
  code = first(code, process(units[1]));
  if (strcmp(loadCase, "-") != 0) {
    code = first(code, results(loadCase, 0.001f, units[0]));
    code = first(code, process(units[0]));
  }
  return first(code, stop());
}

/* Load case CASE appended to the model NAME, its header on the unit of the results. */
static int32_t appendSession(const char* name, const char* loadCase) {
  int32_t code = start(loadCase, 2040);
  code = first(code, header(1, 2, name, units[0]));
  code = first(code, results(loadCase, 0.002f, units[0]));
  code = first(code, process(units[0]));
  return first(code, stop());
}

/* FOR1 appended to M1 on the first unit and FOR2 to M2 on the second, both headers sent
   before either unit is processed; ORDER "21" processes the second unit first. */
static int32_t twoModelSession(const char* order) {
  int32_t code = start(strcmp(order, "21") == 0 ? "two21" : "two12", 2040);
  code = first(code, header(1, 2, "m1", units[0]));
  code = first(code, results("FOR1", 0.003f, units[0]));
  code = first(code, header(1, 2, "m2", units[1]));
  code = first(code, results("FOR2", 0.004f, units[1]));
  if (strcmp(order, "21") == 0) {
    code = first(code, process(units[1]));
    code = first(code, process(units[0]));
  } else {
    code = first(code, process(units[0]));
    code = first(code, process(units[1]));
  }
  return first(code, stop());
}

/* A model whose display build fails: "spider", 700 BE2 elements on node 1, or "missing",
   a QU4 naming node 99, which is never sent. The build runs in dll_distp, or, with WHERE
   "header", in the dll_dihed2 of the next model's header. Answers the code of the call
   that ran it, and 0 only when every other call answered 0. */
static int32_t failedBuildSession(const char* kind, const char* where) {
  const int spider = strcmp(kind, "spider") == 0;
  const char* name = spider ? "SPIDER" : "MISSING";
  int32_t code = start(kind, 2040), e, built;
  code = first(code, header(1, 1, name, units[0]));
  code = first(code, nodes(spider ? 701 : 4, units[0]));
  code = first(code, header(3, 1, "", units[1]));
  if (spider) {
    for (e = 1; e <= 700; ++e) {
      int32_t beam[2] = {1, e + 1};
      code = first(code, element(e, 11, beam, units[1]));
    }
  } else {
    int32_t quad[4] = {1, 2, 99, 4};
    code = first(code, element(1, 9, quad, units[1]));
  }
  code = first(code, process(units[1]));
  if (code != 0) return -code;
  if (strcmp(where, "header") == 0) {
    built = header(1, 1, "NEXT", units[0]);
    stop();
  } else {
    built = stop();
  }
  return built;
}

/* Runs the session ARGS in a process of its own: its exit status, the session's code. */
static int session(const char* a, const char* b, const char* c) {
  char* args[5] = {"sessions_host", (char*)a, (char*)b, (char*)c, NULL};
  int status = -1;
  pid_t pid = fork();
  if (pid == 0) {
    execv("/proc/self/exe", args);
    _exit(127);
  }
  if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

/* ---- the reader ------------------------------------------------------------------- */

typedef struct {
  int32_t* w;
  long pages;
} Index;

static int readIndex(const char* path, Index* ix) {
  FILE* f = fopen(path, "rb");
  long bytes;
  ix->w = NULL;
  ix->pages = 0;
  if (f == NULL) return 0;
  fseek(f, 0, SEEK_END);
  bytes = ftell(f);
  fseek(f, 0, SEEK_SET);
  ix->pages = bytes / 400;
  ix->w = calloc((size_t)ix->pages * 100 + 1, sizeof(int32_t));
  if (ix->w != NULL && fread(ix->w, 400, (size_t)ix->pages, f) != (size_t)ix->pages) ix->pages = 0;
  fclose(f);
  return ix->pages > 0;
}

/* Word K (from 1) of page P (from 1), 0 outside the file. */
static int32_t word(const Index* ix, long p, int k) {
  if (p < 1 || p > ix->pages || k < 1 || k > 100) return 0;
  return ix->w[(p - 1) * 100 + (k - 1)];
}

/* The page of the model record, 0 when there is none. */
static long modelPage(const Index* ix) {
  long p;
  for (p = 2; p <= ix->pages; ++p) {
    if (word(ix, p, 3) == 103) return p;
  }
  return 0;
}

static int32_t modelWord(const Index* ix, int k) { return word(ix, modelPage(ix), 4 + k); }

/* The load cases in use, in list order: their names, "/"-separated, into NAMES; each
   one's values page (word 12 of its first attribute record) into VALUES. The count. */
static int loadCases(const Index* ix, char* names, size_t size, int32_t* values, int max) {
  long page = modelWord(ix, 8);
  int count = 0, guard = 0;
  names[0] = '\0';
  while (page > 0 && ++guard <= ix->pages) {
    int e;
    for (e = 0; e < 2; ++e) {
      int base = 4 + 48 * e, k;
      char name[7];
      if (word(ix, page, base + 1) != 1) continue;
      for (k = 0; k < 6; ++k) name[k] = (char)(word(ix, page, base + 2 + k) & 0xff);
      name[6] = '\0';
      while (strlen(name) > 0 && name[strlen(name) - 1] == ' ') name[strlen(name) - 1] = '\0';
      if (strlen(names) + strlen(name) + 2 < size) {
        if (count > 0) strcat(names, "/");
        strcat(names, name);
      }
      if (count < max) values[count] = word(ix, word(ix, page, base + 8), 4 + 12);
      ++count;
    }
    page = word(ix, page, 4);
  }
  return count;
}

static void readModel(const char* name, Index* ix) {
  char path[64];
  snprintf(path, sizeof path, "%s.M71", name);
  readIndex(path, ix);
}

/* Words 49-53 of the model record of NAME set to 1 January 2001, 01:01, in its file. */
static void markDate(const char* name) {
  char path[64];
  Index ix;
  long p;
  FILE* f;
  int k;
  snprintf(path, sizeof path, "%s.M71", name);
  if (!readIndex(path, &ix) || (p = modelPage(&ix)) == 0) {
    expect(0, "the model record to mark");
    free(ix.w);
    return;
  }
  f = fopen(path, "r+b");
  for (k = 49; k <= 53; ++k) {
    int32_t v = k == 51 ? 2001 : 1;
    fseek(f, (p - 1) * 400 + (4 + k - 1) * 4, SEEK_SET);
    fwrite(&v, 4, 1, f);
  }
  fclose(f);
  free(ix.w);
}

static int dateMarked(const Index* ix) {
  return modelWord(ix, 49) == 1 && modelWord(ix, 50) == 1 && modelWord(ix, 51) == 2001 &&
         modelWord(ix, 52) == 1 && modelWord(ix, 53) == 1;
}

/* True when the file NAME holds a line equal to LINE. */
static int hasLine(const char* name, const char* line) {
  char buffer[256];
  int found = 0;
  FILE* f = fopen(name, "r");
  if (f == NULL) return 0;
  while (!found && fgets(buffer, sizeof buffer, f) != NULL) {
    buffer[strcspn(buffer, "\n")] = '\0';
    while (strlen(buffer) > 0 && buffer[strlen(buffer) - 1] == ' ') buffer[strlen(buffer) - 1] = '\0';
    found = strcmp(buffer, line) == 0;
  }
  fclose(f);
  return found;
}

static void removeModel(const char* name) {
  char path[64];
  snprintf(path, sizeof path, "%s.M71", name);
  remove(path);
  snprintf(path, sizeof path, "%s.V71", name);
  remove(path);
}

/* ---- the flows -------------------------------------------------------------------- */

/* The model NAME, created with one load case and its date marked (markDate), then
   appended to: it lists the load cases CASES ("/"-separated) in that order, each with its
   values, record 103 word 15 counts them, and the marked date is kept. */
static void checkAppends(const char* name, const char* cases) {
  char names[128];
  int32_t values[8];
  Index ix;
  int k, n, count = 1;
  for (k = 0; cases[k] != '\0'; ++k) count += cases[k] == '/';
  readModel(name, &ix);
  n = loadCases(&ix, names, sizeof names, values, 8);
  expect(n == count && strcmp(names, cases) == 0, "the load cases in order");
  for (k = 0; k < n && k < 8; ++k) expect(values[k] > 0, "each load case has its values");
  expect(modelWord(&ix, 15) == count, "record 103 word 15 counts the load cases");
  expect(dateMarked(&ix), "the first load case's date is kept");
  if (n != count || strcmp(names, cases) != 0) printf("load cases: %s\n", names);
  free(ix.w);
}

static void appendsFromNewProcesses(void) {
  static const char* cases[3] = {"LC2", "LC3", "LC4"};
  int k;
  removeModel("APPENDS");
  expect(session("create", "APPENDS", "LC1") == 0, "create APPENDS with LC1");
  markDate("APPENDS");
  for (k = 0; k < 3; ++k) expect(session("append", "APPENDS", cases[k]) == 0, cases[k]);
  checkAppends("APPENDS", "LC1/LC2/LC3/LC4");
}

static void appendsToAMeshOnlyModel(void) {
  char names[128];
  int32_t values[4];
  Index ix;
  removeModel("MESHONLY");
  expect(session("create", "MESHONLY", "-") == 0, "create MESHONLY without load cases");
  expect(session("append", "MESHONLY", "ML1") == 0, "ML1");
  markDate("MESHONLY");
  expect(session("append", "MESHONLY", "ML2") == 0, "ML2");
  readModel("MESHONLY", &ix);
  expect(loadCases(&ix, names, sizeof names, values, 4) == 2 && strcmp(names, "ML1/ML2") == 0,
         "ML1 and ML2");
  expect(modelWord(&ix, 15) == 2, "record 103 word 15 counts two load cases");
  expect(dateMarked(&ix), "the second append keeps the first one's date");
  free(ix.w);
}

static void twoModelsOnTwoUnits(void) {
  static const char* orders[2] = {"12", "21"};
  char names[128];
  int32_t values[4];
  Index ix;
  int k;
  for (k = 0; k < 2; ++k) {
    removeModel("M1");
    removeModel("M2");
    expect(session("create", "m1", "-") == 0, "create M1");
    expect(session("create", "m2", "-") == 0, "create M2");
    expect(session("two", orders[k], "") == 0, orders[k]);
    readModel("M1", &ix);
    expect(loadCases(&ix, names, sizeof names, values, 4) == 1 && strcmp(names, "FOR1") == 0,
           "M1 holds FOR1 alone");
    expect(values[0] > 0, "FOR1 has its values");
    free(ix.w);
    readModel("M2", &ix);
    expect(loadCases(&ix, names, sizeof names, values, 4) == 1 && strcmp(names, "FOR2") == 0,
           "M2 holds FOR2 alone");
    expect(values[0] > 0, "FOR2 has its values");
    free(ix.w);
  }
}

static void failedDisplayBuilds(void) {
  static const char* where[2] = {"stop", "header"};
  int k;
  for (k = 0; k < 2; ++k) {
    removeModel("SPIDER");
    removeModel("MISSING");
    expect(session("build", "spider", where[k]) == 223, "the spider's build answers 223");
    expect(access("SPIDER.M71", F_OK) != 0, "the spider's model is gone");
    expect(hasLine("spider.msg",
                   " NODE 1 IS USED BY 700 ELEMENTS: ITS LIST NEEDS PAGE SIZE 4080 OR MORE"),
           "the spider's node and the page size that holds its list");
    expect(session("build", "missing", where[k]) == 223, "the missing node's build answers 223");
    expect(access("MISSING.M71", F_OK) != 0, "the model naming a missing node is gone");
    expect(hasLine("missing.msg", " ELEMENT 1 NAMES NODE 99, WHICH IS NOT AMONG THE NODES SENT"),
           "the element and the node it names");
  }
}

static void modelCleanUpWithoutUnit(void) {
  int32_t level = 2, ierr = -1, code = start("dierr", 2040);
  expect(code == 0, "the road started");
  dll_dierr(&level, &ierr, NULL);
  expect(ierr == 0, "dll_dierr level 2 reads no unit");
  stop();
}

/* A session, or a step of the reader for files other hosts write (run_sessions_f.cmake):
   "mark NAME" marks the date of the model NAME, "check NAME CASES" checks its appends. */
static int runSession(int argc, char** argv) {
  int32_t code = -1;
  if (strcmp(argv[1], "mark") == 0 && argc == 3) {
    markDate(argv[2]);
    code = 0;
  }
  if (strcmp(argv[1], "check") == 0 && argc == 4) {
    checkAppends(argv[2], argv[3]);
    printf("%d passed, %d failed\n", passed, failed);
    code = 0;
  }
  if (strcmp(argv[1], "create") == 0 && argc == 4) code = createSession(argv[2], argv[3]);
  if (strcmp(argv[1], "append") == 0 && argc == 4) code = appendSession(argv[2], argv[3]);
  if (strcmp(argv[1], "two") == 0 && argc >= 3) code = twoModelSession(argv[2]);
  if (strcmp(argv[1], "build") == 0 && argc == 4) code = failedBuildSession(argv[2], argv[3]);
  if (failed != 0) return 254;
  return code < 0 ? 255 : code > 253 ? 253 : (int)code;
}

int main(int argc, char** argv) {
  if (argc > 1) return runSession(argc, argv);
  appendsFromNewProcesses();
  appendsToAMeshOnlyModel();
  twoModelsOnTwoUnits();
  failedDisplayBuilds();
  modelCleanUpWithoutUnit();
  return report();
}
