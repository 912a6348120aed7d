/* Host program: asks for the date, time and version through dll_vrpre alone, as an
   analysis program does before anything else. The date and time must be the host's own
   local time, read just before or just after the call (a second may tick between). No
   initialisation ran, so the version is 0.0 and there is no release letter. */
#include <stdint.h>
#include <stdio.h>
#include <time.h>

#include "kvr7dbio.h"

static int same(const struct tm* t, const int32_t v[6]) {
  return v[0] == t->tm_mday && v[1] == t->tm_mon + 1 && v[2] == t->tm_year + 1900 &&
         v[3] == t->tm_hour && v[4] == t->tm_min && v[5] == t->tm_sec;
}

int main(void) {
  int32_t v[6] = {-1, -1, -1, -1, -1, -1};
  float version = -1.0f;
  int32_t letter = 0;
  struct tm before;
  struct tm after;
  time_t t0 = time(NULL);
  time_t t1;
  int failed = 0;

  localtime_r(&t0, &before);
  dll_vrpre(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &version, &letter);
  t1 = time(NULL);
  localtime_r(&t1, &after);

  if (!same(&before, v) && !same(&after, v)) {
    printf("FAILED date and time: %d-%d-%d %d:%d:%d\n", v[2], v[1], v[0], v[3], v[4], v[5]);
    ++failed;
  }
  if (version != 0.0f) {
    printf("FAILED version: %g\n", (double)version);
    ++failed;
  }
  if (letter != 0x20202020) {
    printf("FAILED release letter: 0x%08x\n", (unsigned)letter);
    ++failed;
  }
  printf("%s\n", failed == 0 ? "passed" : "failed");
  return failed == 0 ? 0 : 1;
}
