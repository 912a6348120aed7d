/* What the host programs share: blank-padded texts as the exported routines take them,
   and the count of checks passed and failed, reported as the last line of the run. */
#ifndef KVR_HOSTCHECK_H
#define KVR_HOSTCHECK_H

#include <stdint.h>
#include <stdio.h>
#include <string.h>

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

#endif
