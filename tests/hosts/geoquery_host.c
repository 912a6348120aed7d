/* Host program: opens the query model (the file named by KVR_QUERY_MODEL, written by the
   support step) through dll_ustrt2 and reads its lines, surface and body through
   dll_uline2, dll_uline3, dll_usurf2 and dll_ubody2 alone, as an analysis program does
   when it takes over the geometry. Element numbers cross the interface from 5000 on. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

struct line {
  char name[8];
  int32_t desc[KVR_ULINE3_DESC_WORDS];
  float length;
  int32_t status;
};

static struct line uline(int32_t number, int three) {
  struct line l;
  int k;
  memset(l.name, '#', sizeof l.name);
  for (k = 0; k < KVR_ULINE3_DESC_WORDS; ++k) l.desc[k] = -7;
  l.length = -7.0f;
  l.status = -1;
  if (three) {
    dll_uline3(&number, l.name, l.desc, &l.length, &l.status);
  } else {
    dll_uline2(&number, l.name, l.desc, &l.length, &l.status);
  }
  return l;
}

/* Within 1.0e-5 relative of WANT. */
static int near(float got, float want) {
  float d = got - want;
  return (d < 0 ? -d : d) <= 1.0e-5f * (want < 0 ? -want : want);
}

static int named(const char* name, const char* want) { return memcmp(name, want, 8) == 0; }

int main(void) {
  char name[KVR_USTRT2_NAME_LENGTH];
  int32_t work[1024]; /* twice the highest node of the model, with room to spare */
  int32_t size = 1024;
  int32_t status = -1;
  int32_t number;
  int32_t desc[16];
  struct line l;

  status = openQueryModel(work, size);
  if (status < 0) return 1;

  /* Line 61 runs straight from point 63 (the origin) to point 61 (1, 0, 0). */
  l = uline(61, 0);
  expect(l.status == 0 && named(l.name, "STRAIGHT") && l.desc[1] == 63 && l.desc[2] == 61 &&
             l.desc[3] == 2 && l.desc[13] == 1 && l.desc[7] == 5000 && near(l.length, 1.0f),
         "the straight line");
  /* Line 62 is the quarter circle about point 63 from point 61 to point 62. */
  l = uline(62, 0);
  expect(l.status == 0 && named(l.name, "ARC     ") && l.desc[5] == 63 && l.desc[13] == 2 &&
             near(l.length, 1.5707964f),
         "the arc's length");
  /* Line 63 is composite: no length; dll_uline3 lists the members from position 17. */
  l = uline(63, 0);
  expect(l.status == 0 && named(l.name, "COMP    ") && l.desc[13] == 9 && l.desc[3] == 0 &&
             l.desc[14] == -7 && l.length == -7.0f,
         "the composite line");
  l = uline(63, 1);
  expect(l.status == 0 && l.desc[3] == 5 && l.desc[5] == 2 && l.desc[16] == 61 &&
             l.desc[17] == 62 && l.desc[18] == -7 && l.length == -7.0f,
         "the composite line's members");
  l = uline(999, 0);
  expect(l.status == 1 && l.name[0] == '#' && l.desc[0] == -7, "a line out of range");

  /* Surface 61 of type 1 and body 61 of type 1, neither meshed. */
  number = 61;
  memset(name, '#', 8);
  status = -1;
  dll_usurf2(&number, name, desc, &status);
  expect(status == 0 && named(name, "SQ      ") && desc[1] == 61 && desc[2] == 62 &&
             desc[7] == 5000 && desc[8] == 5000 && desc[13] == 1,
         "the surface");
  memset(name, '#', 8);
  status = -1;
  dll_ubody2(&number, name, desc, &status);
  expect(status == 0 && named(name, "BQ      ") && desc[0] == 1 && desc[1] == 61 &&
             desc[13] == 1 && desc[14] == 0,
         "the body");
  number = 999;
  status = -1;
  dll_ubody2(&number, name, desc, &status);
  expect(status == 1, "a body out of range");
  return report();
}
