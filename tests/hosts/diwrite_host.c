/* Host program: opens, writes, closes and deletes its files through dll_opntldbf,
   dll_wrttllog, dll_clstldbf and dll_kvclose, as an analysis program does around the
   writing road, with blank-padded texts of 80 and 20 characters. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "kvr7dbio.h"

static int passed = 0;
static int failed = 0;

static void pad(char* text, int length, const char* s) {
  size_t n = strlen(s);
  memset(text, ' ', (size_t)length);
  memcpy(text, s, n < (size_t)length ? n : (size_t)length);
}

static void expect(int ok, const char* what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    printf("FAILED %s\n", what);
  }
}

static int32_t opn(int32_t unit, int32_t mode, const char* name, int32_t istat, int32_t iform) {
  char fname[81];
  int32_t iacces = 1, irecl = 0, iostat = -99;
  pad(fname, 80, name);
  fname[80] = '#'; /* a guard: nothing past the 80 characters is read or written */
  dll_opntldbf(&unit, &mode, fname, &istat, &iform, &iacces, &irecl, &iostat);
  expect(fname[80] == '#', "name guard");
  return iostat;
}

static void logline(int32_t unit, int32_t mode, int32_t step, int32_t sub, const char* type) {
  char typtxt[20];
  pad(typtxt, 20, type);
  dll_wrttllog(&unit, &mode, &step, &sub, typtxt);
}

static int fileIs(const char* name, const char* expected) {
  char buffer[1024];
  size_t n;
  FILE* f = fopen(name, "rb");
  if (f == NULL) return 0;
  n = fread(buffer, 1, sizeof buffer, f);
  fclose(f);
  return n == strlen(expected) && memcmp(buffer, expected, n) == 0;
}

int main(void) {
  int32_t logUnit = 30, tmp1 = 31, tmp2 = 32, iostat = -1;
  FILE* f;

  /* A log that already exists is replaced by an empty one. */
  f = fopen("diwrite_host.log", "w");
  fputs("stale\n", f);
  fclose(f);
  expect(opn(logUnit, 2, "diwrite_host.log", 1, 2) == 0, "open log");
  expect(fileIs("diwrite_host.log", ""), "log emptied");

  /* Two scratch temporary streams and a missing file that must exist. */
  expect(opn(tmp1, 0, "", 2, 1) == 0, "scratch unit 1");
  expect(opn(tmp2, 0, "", 2, 1) == 0, "scratch unit 2");
  expect(opn(33, 1, "diwrite_host_missing.dat", 1, 1) == 1, "missing file answers 1");

  logline(logUnit, 2, 0, 0, "");
  logline(logUnit, 3, 5, 2, "STATIC");
  logline(logUnit, -7, 0, 0, "");
  logline(logUnit, 0, 0, 0, "");
  logline(logUnit, 4, 0, 0, "");
  dll_clstldbf(&logUnit, &iostat);
  expect(iostat == 0, "close log");
  logline(logUnit, 2, 0, 0, ""); /* closed: nothing */
  expect(fileIs("diwrite_host.log",
                " PROCESSING MESH DATA\n"
                " PROCESSING LOAD STEP      5, SUB-STEP      2, TYPE STATIC              \n"
                " ERROR      7 FOUND\n"),
         "log lines");

  dll_clstldbf(&tmp1, &iostat);
  expect(iostat == 0, "close scratch 1");
  dll_kvclose(&tmp2);

  /* dll_kvclose deletes the file of its unit. */
  expect(opn(34, 0, "diwrite_host.tmp", 1, 1) == 0, "open named stream");
  expect(access("diwrite_host.tmp", F_OK) == 0, "named stream made");
  tmp2 = 34;
  dll_kvclose(&tmp2);
  expect(access("diwrite_host.tmp", F_OK) != 0, "kvclose deletes");
  remove("diwrite_host.log");

  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
