/* Host program: reads environment variables through dll_envirn, as an analysis program
   does, with blank-padded texts of 30 and 150 characters. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "kvr7dbio.h"

static int passed = 0;
static int failed = 0;

static void pad(char* text, int length, const char* s) {
  size_t n = strlen(s);
  memset(text, ' ', (size_t)length);
  memcpy(text, s, n < (size_t)length ? n : (size_t)length);
}

static void check(const char* what, const char* name, const char* expected) {
  char text[30];
  char value[151];
  char want[150];
  pad(text, 30, name);
  memset(value, 'x', sizeof value);
  value[150] = '#'; /* a guard: nothing may be written past the 150 characters */
  pad(want, 150, expected);
  dll_envirn(text, value);
  if (memcmp(value, want, 150) == 0 && value[150] == '#') {
    ++passed;
  } else {
    ++failed;
    printf("FAILED %s: got \"%.150s\"\n", what, value);
  }
}

int main(void) {
  char longValue[201];
  setenv("KVR_HOST_VALUE", "/opt/kavro/data", 1);
  unsetenv("KVR_HOST_UNSET");
  memset(longValue, 'v', 200);
  longValue[200] = '\0';
  setenv("KVR_HOST_LONG", longValue, 1);
  /* No registry files: nothing answers for an unset variable. */
  setenv("KVR_REGISTRY_USER", "/nonexistent/kvr-user-registry", 1);
  setenv("KVR_REGISTRY_MACHINE", "/nonexistent/kvr-machine-registry", 1);

  check("set value", "KVR_HOST_VALUE", "/opt/kavro/data");
  check("unset name", "KVR_HOST_UNSET", "");
  check("blank name", "", "");
  check("value cut at 150", "KVR_HOST_LONG", longValue);

  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
