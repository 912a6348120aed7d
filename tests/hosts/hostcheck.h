/* What the host programs share: blank-padded texts as the exported routines take them,
   and the count of checks passed and failed, reported as the last line of the run. */
#ifndef KVR_HOSTCHECK_H
#define KVR_HOSTCHECK_H

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "kvr7dbio.h"

static int passed = 0;
static int failed = 0;

/* Fills TEXT of LENGTH characters with S, cut or padded with blanks; no NUL. */
static inline void pad(char* text, int length, const char* s) {
  size_t n = strlen(s);
  memset(text, ' ', (size_t)length);
  memcpy(text, s, n < (size_t)length ? n : (size_t)length);
}

static inline void expect(int ok, const char* what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    printf("FAILED %s\n", what);
  }
}

/* Prints the closing count and answers the program's exit status. */
static inline int report(void) {
  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}

/* Opens the file NAME on UNIT through dll_opntldbf (sequential access) with MODE, ISTAT
   and IFORM as it takes them; answers its IOSTAT. */
static inline int32_t openUnit(int32_t unit, int32_t mode, const char* name, int32_t istat,
                               int32_t iform) {
  char fname[80];
  int32_t iacces = 1, irecl = 0, iostat = -99;
  pad(fname, 80, name);
  dll_opntldbf(&unit, &mode, fname, &istat, &iform, &iacces, &irecl, &iostat);
  return iostat;
}

/* Opens the query model, the file named by KVR_QUERY_MODEL, through dll_ustrt2 with the
   work array WORK of SIZE words, counting the opening as a check: the status it answers,
   or -1 (said on the output) when the variable is not set. */
static inline int32_t openQueryModel(int32_t* work, int32_t size) {
  const char* model = getenv("KVR_QUERY_MODEL");
  char name[KVR_USTRT2_NAME_LENGTH];
  int32_t status = -1;
  if (model == NULL) {
    printf("KVR_QUERY_MODEL is not set\n");
    return -1;
  }
  pad(name, KVR_USTRT2_NAME_LENGTH, model);
  dll_ustrt2(name, work, &size, &status);
  expect(status == 0, "the query model opens");
  return status;
}

#endif
