/* Host program: reads the saved query model back through the exported query routines
   alone, as an analysis program does. The model file is named by the first argument or,
   without one, by the environment variable KVR_QUERY_MODEL (CTest sets it to the file
   that the set-up step of tests/support writes, relative to the host's own directory).

   The model (tests/support/querymodel.h describes it) begins with 16 nodes numbered
   from 1001, elements from 5001 (two HE8 sharing a face, an IL22 stored as 5 6 7 8, a
   QU4 on nodes 13 to 16), points P1, P2 (deleted), P3, P4, lines L1, L2, L3 (type 4 from
   node 10 to 12), C1 and C2 (composite), surfaces S1 to S3, the body BLOCK001 of both
   HE8, sets MIXED, SURFS, EMPTY, NODELINE, COMPOS and PNTSRF, 4 conditions, 3 loads and
   a material. Entities appended to it later are never checked by value here: the counts
   are checked against the model's own size vector and names.

   dll_ustrt2 opens it (a blank name and a missing file answer 1; a work array short of
   twice the highest node 9, and the next call opens it all the same, also named in lower
   case); the other twelve routines are then asked for its sizes, points, nodes,
   elements, names, set members and node lists, and the text-code utilities are run on
   lines of their own. */
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

enum { NODE0 = 1000, ELEM0 = 5000, MAXNODES = 20, ROOMY = 1 << 16 };

/* The highest node of the model, read from its size vector once it is open. */
static int32_t N = 0;

static void expectInt(int32_t got, int32_t want, const char* what) {
  if (got == want) {
    ++passed;
  } else {
    ++failed;
    printf("FAILED %s: %d, not %d\n", what, (int)got, (int)want);
  }
}

/* The first n of GOT are WANT. */
static void expectList(const int32_t* got, const int32_t* want, int n, const char* what) {
  int k;
  for (k = 0; k < n; ++k) {
    if (got[k] != want[k]) {
      ++failed;
      printf("FAILED %s: entry %d is %d, not %d\n", what, k + 1, (int)got[k], (int)want[k]);
      return;
    }
  }
  ++passed;
}

static void expectText(const char* got, const char* want, int length, const char* what) {
  char padded[128];
  pad(padded, length, want);
  if (memcmp(got, padded, (size_t)length) == 0) {
    ++passed;
  } else {
    ++failed;
    printf("FAILED %s: \"%.*s\", not \"%.*s\"\n", what, length, got, length, padded);
  }
}

static int32_t code(char c) { return (int32_t)(0x20202000u | (unsigned char)c); }

/* The status of dll_ustrt2 on FILE with a work array of SIZE words. */
static int32_t start(const char* file, int32_t size) {
  char name[KVR_USTRT2_NAME_LENGTH];
  int32_t* work = calloc((size_t)(size > 0 ? size : 1), sizeof(int32_t));
  int32_t status = -1;
  pad(name, KVR_USTRT2_NAME_LENGTH, file);
  dll_ustrt2(name, work, &size, &status);
  free(work);
  return status;
}

static void openModel(const char* file) {
  char lower[KVR_USTRT2_NAME_LENGTH + 1];
  size_t n = strlen(file);
  if (n > KVR_USTRT2_NAME_LENGTH) {
    expect(0, "the model's name fits 80 characters");
    return;
  }
  expectInt(start("", ROOMY), 1, "dll_ustrt2 blank name");
  expectInt(start("no_such_model.DMP", ROOMY), 1, "dll_ustrt2 missing file");
  expectInt(start(file, ROOMY), 0, "dll_ustrt2");
  {
    int32_t sizes[20];
    dll_usize(sizes);
    N = sizes[5];
  }
  if (N < 16 || N > ROOMY / 2) {
    printf("FAILED the highest node is %d\n", (int)N);
    ++failed;
    N = 16;
  }
  expectInt(start(file, 2 * N - 1), 9, "dll_ustrt2 work of 2N - 1");
  expectInt(start(file, 2 * N), 0, "dll_ustrt2 after a failed start");
  /* The same file named in lower case (ending ".dmp"). */
  memcpy(lower, file, n + 1);
  if (n >= 4 && strcmp(lower + n - 4, ".DMP") == 0) memcpy(lower + n - 4, ".dmp", 4);
  expectInt(start(lower, 2 * N), 0, "dll_ustrt2 lower-case name");
}

/* The status of dll_unamg2 for entity NUMBER of KIND. */
static int32_t nameStatus(int32_t kind, int32_t number) {
  char name[KVR_UNAMG2_NAME_LENGTH];
  int32_t status = -1;
  dll_unamg2(&kind, &number, name, &status);
  return status;
}

static void sizes(void) {
  /* The counts of the model's first part: appended entities only raise them. */
  static const struct {
    int position, least;
    const char* what;
  } counts[] = {{1, 4, "points"},       {2, 5, "lines"},      {3, 3, "surfaces"},
                {4, 1, "bodies"},       {6, 16, "nodes"},     {8, 4, "elements"},
                {9, 6, "sets"},         {10, 1, "materials"}, {12, 4, "conditions"},
                {13, 3, "loads"},       {16, 0, "systems"},   {19, 3, "groups"},
                {20, 7, "load value 3"}};
  static const int32_t fixed[4][2] = {{7, 20}, {15, 20}, {17, NODE0}, {18, ELEM0}};
  int32_t narrow[20], wide[50], k, status, number, list[MAXNODES], count;
  char name[KVR_UPNT2_NAME_LENGTH], what[64];
  float xyz[3];
  int zero = 1;
  dll_usize(narrow);
  for (k = 0; k < (int32_t)(sizeof counts / sizeof counts[0]); ++k) {
    snprintf(what, sizeof what, "dll_usize %d (%s) at least %d", counts[k].position,
             counts[k].what, counts[k].least);
    expect(narrow[counts[k].position - 1] >= counts[k].least, what);
  }
  for (k = 0; k < 4; ++k) {
    snprintf(what, sizeof what, "dll_usize %d", (int)fixed[k][0]);
    expectInt(narrow[fixed[k][0] - 1], fixed[k][1], what);
  }
  /* The counts name the last entity of their kind: sets (stored sets less one), lines,
     points and elements. */
  expectInt(nameStatus(7, narrow[8]), 0, "dll_usize 9 names the last set");
  expectInt(nameStatus(7, narrow[8] + 1), 2, "dll_usize 9 + 1 is no set");
  expectInt(nameStatus(2, narrow[1]), 0, "dll_usize 2 names the last line");
  expectInt(nameStatus(2, narrow[1] + 1), 2, "dll_usize 2 + 1 is no line");
  number = narrow[0] + 1;
  dll_upnt2(&number, name, xyz, &status);
  expectInt(status, 1, "dll_usize 1 + 1 is no point");
  number = ELEM0 + narrow[7];
  dll_uelem(&number, list, &count, &status);
  expectInt(status, 0, "dll_usize 8 is the last element");
  number = ELEM0 + narrow[7] + 1;
  dll_uelem(&number, list, &count, &status);
  expectInt(status, 1, "dll_usize 8 + 1 is no element");

  for (k = 0; k < 50; ++k) wide[k] = -1;
  dll_usiz2(wide);
  expectList(wide, narrow, 20, "dll_usiz2 positions 1 to 20 as dll_usize");
  for (k = 21; k <= 50; ++k) {
    if ((k >= 22 && k <= 29) || k > 32) zero = zero && wide[k - 1] == 0;
  }
  expect(zero, "dll_usiz2 positions 22 to 29 and 33 to 50 are 0");
}

static void points(void) {
  char name[KVR_UPNT2_NAME_LENGTH];
  float xyz[3];
  int32_t number = 3, status = -1;
  dll_upnt2(&number, name, xyz, &status);
  expectInt(status, 0, "dll_upnt2 P3");
  expectText(name, "P3", KVR_UPNT2_NAME_LENGTH, "dll_upnt2 P3 name");
  expect(xyz[0] == 3.0f && xyz[1] == 0.0f && xyz[2] == 0.0f, "dll_upnt2 P3 at (3, 0, 0)");
  /* The deleted point and a number past the last leave the outputs alone. */
  number = 2;
  pad(name, KVR_UPNT2_NAME_LENGTH, "########");
  xyz[0] = xyz[1] = xyz[2] = -9.0f;
  dll_upnt2(&number, name, xyz, &status);
  expectInt(status, 2, "dll_upnt2 deleted P2");
  expectText(name, "########", KVR_UPNT2_NAME_LENGTH, "dll_upnt2 deleted P2 name");
  expect(xyz[0] == -9.0f && xyz[1] == -9.0f && xyz[2] == -9.0f, "dll_upnt2 deleted P2 xyz");
  number = 0;
  dll_upnt2(&number, name, xyz, &status);
  expectInt(status, 1, "dll_upnt2 point 0");
}

static void nodes(void) {
  float xyz[3] = {-9.0f, -9.0f, -9.0f};
  int32_t node = NODE0, status = -1;
  dll_unode(&node, xyz, &status);
  expectInt(status, 1, "dll_unode 1000");
  expect(xyz[0] == -9.0f && xyz[1] == -9.0f && xyz[2] == -9.0f, "dll_unode 1000 xyz untouched");
  node = NODE0 + 16;
  dll_unode(&node, xyz, &status);
  expectInt(status, 0, "dll_unode 1016");
  expect(xyz[0] == 3.0f && xyz[1] == 1.0f && xyz[2] == 0.0f, "dll_unode 1016 at (3, 1, 0)");
  node = NODE0 + 11;
  dll_unode(&node, xyz, &status);
  expectInt(status, 0, "dll_unode 1011");
  expect(xyz[0] == 1.0f && xyz[1] == 1.0f && xyz[2] == 2.0f, "dll_unode 1011 at (1, 1, 2)");
  node = NODE0 + N + 1;
  dll_unode(&node, xyz, &status);
  expectInt(status, 1, "dll_unode past the highest node");
}

static void elements(void) {
  static const int32_t il22[4] = {1005, 1006, 1008, 1007};
  static const int32_t he8[8] = {1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012};
  int32_t list[MAXNODES], element = ELEM0 + 3, count = -1, status = -1, k;
  for (k = 0; k < MAXNODES; ++k) list[k] = -1;
  dll_uelem(&element, list, &count, &status);
  expectInt(status, 0, "dll_uelem IL22");
  expectInt(count, 4, "dll_uelem IL22 count");
  expectList(list, il22, 4, "dll_uelem IL22 nodes, its second side reversed");
  element = ELEM0 + 2;
  dll_uelem(&element, list, &count, &status);
  expectInt(count, 8, "dll_uelem HE8 count");
  expectList(list, he8, 8, "dll_uelem HE8 nodes");
  element = ELEM0;
  dll_uelem(&element, list, &count, &status);
  expectInt(status, 1, "dll_uelem 5000");
  expectInt(count, 0, "dll_uelem 5000 count");
}

static void names(void) {
  static const struct {
    int32_t kind, number;
    const char* name;
    int32_t status;
  } cases[] = {
      {7, 1, "MIXED", 0},     {7, 6, "PNTSRF", 0}, {1, 1, "P1", 0},
      {2, 5, "C2", 0},        {3, 1, "S1", 0},     {4, 1, "BLOCK001", 0},
      {10, 1, "STEEL", 0},    {30, 3, "LEMPTY", 0}, {33, 1, "FIX", 0},
      {0, 1, "", 0},          /* the model: eight blanks */
      {8, 1, "????????", 1},  /* a kind without names */
      {-1, 1, "????????", 1}, {1, 2, "########", 2}, /* deleted: the name is left */
      {7, 0, "########", 2},  /* stored set 1 is no set */
  };
  char name[KVR_UNAMG2_NAME_LENGTH], what[64];
  size_t k;
  for (k = 0; k < sizeof cases / sizeof cases[0]; ++k) {
    int32_t kind = cases[k].kind, number = cases[k].number, status = -1;
    pad(name, KVR_UNAMG2_NAME_LENGTH, "########");
    dll_unamg2(&kind, &number, name, &status);
    snprintf(what, sizeof what, "dll_unamg2 (%d, %d)", (int)kind, (int)number);
    expectInt(status, cases[k].status, what);
    expectText(name, cases[k].name, KVR_UNAMG2_NAME_LENGTH, what);
  }
}

static void textCodes(void) {
  int32_t codes[260], n, k, length, first, last, startAt;
  char text[KVR_UA1CHA_TEXT_LENGTH + 1], want[KVR_UA1CHA_TEXT_LENGTH], line[8];
  int ok;

  /* Codes to text: none gives 80 blanks; 100 give the first 80 and nothing past them. */
  for (k = 0; k < 100; ++k) codes[k] = code((char)('A' + k % 26));
  n = 0;
  memset(text, '#', sizeof text);
  dll_ua1cha(codes, &n, text);
  expectText(text, "", KVR_UA1CHA_TEXT_LENGTH, "dll_ua1cha 0 codes");
  n = 100;
  dll_ua1cha(codes, &n, text);
  for (k = 0; k < KVR_UA1CHA_TEXT_LENGTH; ++k) want[k] = (char)('A' + k % 26);
  expect(memcmp(text, want, KVR_UA1CHA_TEXT_LENGTH) == 0 && text[KVR_UA1CHA_TEXT_LENGTH] == '#',
         "dll_ua1cha 100 codes give the first 80");

  /* Text to codes: up to "*.", nothing for a blank text, a negative length or start 0. */
  for (k = 0; k < 4; ++k) codes[k] = -5;
  memcpy(line, "AB*.CD", 6);
  length = 6;
  startAt = 1;
  dll_uslcha(line, &length, &startAt, codes, &last);
  expectInt(last, 2, "dll_uslcha AB*.CD last");
  expect(codes[0] == code('A') && codes[1] == code('B') && codes[2] == -5,
         "dll_uslcha AB*.CD codes");
  memcpy(line, "      ", 6);
  startAt = 3;
  dll_uslcha(line, &length, &startAt, codes, &last);
  expectInt(last, 2, "dll_uslcha blank text last");
  length = -4;
  memcpy(line, "XY", 2);
  dll_uslcha(line, &length, &startAt, codes, &last);
  expectInt(last, 2, "dll_uslcha negative length last");
  length = 2;
  startAt = 0;
  dll_uslcha(line, &length, &startAt, codes, &last);
  expectInt(last, -1, "dll_uslcha start 0 last");
  expect(codes[2] == -5 && codes[3] == -5, "dll_uslcha stores nothing more");

  /* Upper case at 250 to 260 changes 250 to 255 only. */
  for (k = 0; k < 260; ++k) codes[k] = code('a');
  first = 250;
  last = 260;
  dll_ucconv(codes, &first, &last);
  ok = 1;
  for (k = 1; k <= 260; ++k) ok = ok && codes[k - 1] == code(k >= 250 && k <= 255 ? 'A' : 'a');
  expect(ok, "dll_ucconv 250 to 260");

  /* The next token of "  12  ". */
  {
    int32_t decodeStart = 1, decodeLast = 6, mode = 0, kind = -9, tokenFirst = 0, end = 0;
    int32_t ivalue = 0;
    float rvalue = 0.0f;
    const char* s = "  12  ";
    for (k = 0; k < 6; ++k) codes[k] = code(s[k]);
    dll_udecod(codes, &decodeStart, &decodeLast, &mode, &kind, &tokenFirst, &end, &ivalue,
               &rvalue);
    expectInt(kind, 2, "dll_udecod kind");
    expectInt(tokenFirst, 3, "dll_udecod first");
    expectInt(end, 4, "dll_udecod end");
    expectInt(ivalue, 12, "dll_udecod integer");
    expect(rvalue == 12.0f, "dll_udecod real");
  }
}

static void sets(void) {
  static const int32_t mixedLines[2] = {1, 3};
  static const int32_t surfaces[2] = {1, 2};
  char name[KVR_USET2_NAME_LENGTH];
  int32_t list[10] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  int32_t set = 1, kind = 2, size = 10, count = -1, status = -1;
  dll_uset2(&set, &kind, name, list, &size, &count, &status);
  expectInt(status, 0, "dll_uset2 MIXED lines");
  expectText(name, "MIXED", KVR_USET2_NAME_LENGTH, "dll_uset2 MIXED name");
  expectInt(count, 2, "dll_uset2 MIXED line count");
  expectList(list, mixedLines, 2, "dll_uset2 MIXED lines");
  set = 2;
  dll_uset2(&set, &kind, name, list, &size, &count, &status);
  expectInt(status, 3, "dll_uset2 SURFS lines");
  kind = 3;
  dll_uset2(&set, &kind, name, list, &size, &count, &status);
  expectInt(status, 0, "dll_uset2 SURFS surfaces");
  expectInt(count, 2, "dll_uset2 SURFS surface count");
  expectList(list, surfaces, 2, "dll_uset2 SURFS surfaces");
  set = 1;
  kind = 2;
  size = 0;
  list[0] = -1;
  dll_uset2(&set, &kind, name, list, &size, &count, &status);
  expectInt(status, 9, "dll_uset2 size 0");
  expectInt(count, 0, "dll_uset2 size 0 count");
  expectInt(list[0], -1, "dll_uset2 size 0 writes no member");
}

/* Whether the line LINE (without its line end) is among the lines of file NAME, each
   taken without its leading blanks. */
static int fileHasLine(const char* name, const char* line) {
  char buffer[256];
  int found = 0;
  FILE* f = fopen(name, "r");
  if (f == NULL) return 0;
  while (!found && fgets(buffer, sizeof buffer, f) != NULL) {
    const char* s = buffer + strspn(buffer, " ");
    buffer[strcspn(buffer, "\n")] = '\0';
    found = strcmp(s, line) == 0;
  }
  fclose(f);
  return found;
}

/* dll_unodeg of (KIND, NUMBER) into a list of SIZE: the status, COUNT and the list. */
static int32_t nodeList(int32_t kind, int32_t number, int32_t size, int32_t* list,
                        int32_t* count) {
  int32_t status = -1;
  *count = -1;
  dll_unodeg(&kind, &number, count, list, &size, &status);
  return status;
}

static void nodeLists(void) {
  static const int32_t line3[3] = {1010, 1011, 1012};
  static const int32_t body[12] = {1001, 1002, 1003, 1004, 1005, 1006,
                                    1007, 1008, 1009, 1010, 1011, 1012};
  int32_t* all = malloc(sizeof(int32_t) * (size_t)(N + 1));
  int32_t list[MAXNODES], count, k;
  int ok = 1;
  for (k = 0; k < MAXNODES; ++k) list[k] = -1;

  /* Every node, 1001 to 1000 + N, in an array of N; none in one of N - 1. */
  for (k = 0; k <= N; ++k) all[k] = -1;
  expectInt(nodeList(0, 0, N, all, &count), 0, "dll_unodeg all nodes");
  expectInt(count, N, "dll_unodeg all nodes count");
  for (k = 0; k < N; ++k) ok = ok && all[k] == NODE0 + 1 + k;
  expect(ok, "dll_unodeg all nodes 1001 to 1000 + N");
  for (k = 0; k <= N; ++k) all[k] = -1;
  expectInt(nodeList(0, 0, N - 1, all, &count), 9, "dll_unodeg all nodes in N - 1");
  expectInt(count, 0, "dll_unodeg all nodes in N - 1 count");
  expectInt(all[N - 1], -1, "dll_unodeg writes nothing past the array");
  free(all);

  expectInt(nodeList(2, 3, MAXNODES, list, &count), 0, "dll_unodeg type-4 line");
  expectInt(count, 3, "dll_unodeg type-4 line count");
  expectList(list, line3, 3, "dll_unodeg type-4 line nodes");
  expectInt(nodeList(3, 2, MAXNODES, list, &count), 3, "dll_unodeg surface listing 0 first");
  expectInt(nodeList(2, 0, MAXNODES, list, &count), 1, "dll_unodeg line 0");

  /* The body's 12 nodes exceed half the limit of 20: status 2, the nodes returned, and
     the message line on standard output (caught in a file for the call). */
  {
    int saved, caught;
    int32_t status;
    fflush(stdout);
    saved = dup(1);
    caught = open("unodeg.out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    expect(saved >= 0 && caught >= 0 && dup2(caught, 1) == 1, "standard output caught");
    status = nodeList(4, 1, MAXNODES, list, &count);
    fflush(stdout);
    if (saved >= 0) dup2(saved, 1);
    if (saved >= 0) close(saved);
    if (caught >= 0) close(caught);
    expectInt(status, 2, "dll_unodeg BLOCK001");
    expect(fileHasLine("unodeg.out", "E0025:Too many nodes on BLOCK001 . Max is 20"),
           "dll_unodeg BLOCK001 message line");
  }
  expectInt(count, 12, "dll_unodeg BLOCK001 count");
  expectList(list, body, 12, "dll_unodeg BLOCK001 nodes");

  /* A set of a node, an element and a line: the line's nodes. */
  expectInt(nodeList(7, 4, MAXNODES, list, &count), 0, "dll_unodeg set NODELINE");
  expectInt(count, 3, "dll_unodeg set NODELINE count");
  expectList(list, line3, 3, "dll_unodeg set NODELINE nodes");
}

int main(int argc, char** argv) {
  const char* file = argc > 1 ? argv[1] : getenv("KVR_QUERY_MODEL");
  if (file == NULL || file[0] == '\0') {
    printf("FAILED: no model file (an argument or KVR_QUERY_MODEL)\n");
    return 1;
  }
  openModel(file);
  sizes();
  points();
  nodes();
  elements();
  names();
  textCodes();
  sets();
  nodeLists();
  return report();
}
