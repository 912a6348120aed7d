/* Host program: reads environment variables through dll_envirn, as an analysis program
   does, with blank-padded texts of 30 and 150 characters. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

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

  return report();
}
