/* Host program: opens the query model (the file named by KVR_QUERY_MODEL, written by the
   support step) through dll_ustrt2 and reads its constraints, prescribed values, rigid
   beams, equations and connections, and the faces of its elements, through the exported
   routines alone, as an analysis program does. Node numbers cross the interface from
   1000 on, elements from 5000 (tests/support/querymodel.h describes the model). */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

enum { SENTINEL = -7, ROOMY = 100000 };

/* The first N of GOT are WANT. */
static int same(const int32_t* got, const int32_t* want, int n) {
  int k;
  for (k = 0; k < n; ++k) {
    if (got[k] != want[k]) return 0;
  }
  return 1;
}

static void fill(int32_t* list, int n) {
  int k;
  for (k = 0; k < n; ++k) list[k] = SENTINEL;
}

static void nodes(void) {
  int32_t flags[16], node = 1033, system = SENTINEL, spare = SENTINEL, status = SENTINEL;
  static const int32_t first[16] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  /* Node 33's flag word is 65537: flag 1 in the lower half, flag 17 in the upper. */
  dll_ucons3(&node, flags, &system, &spare, &status);
  expect(status == 0 && same(flags, first, 16) && system == 0 && spare == 0,
         "dll_ucons3 node 1033");
  dll_ucone3(&node, flags, &system, &status);
  expect(status == 0 && same(flags, first, 16), "dll_ucone3 node 1033");
  node = 1000;
  fill(flags, 16);
  dll_ucone3(&node, flags, &system, &status);
  expect(status == 1 && flags[0] == SENTINEL, "dll_ucone3 node 1000 is out of range");
}

static void records(void) {
  char name[KVR_UPRESC_NAME_LENGTH];
  int32_t number = 27, kind = 0, entity = 0, dof = 0, ivalue = 0, status = SENTINEL;
  int32_t type = 0, code1 = 0, code2 = 0, flags1[16], flags2[16];
  float value = 0.0f;
  /* PRESC on the stored set 5 (set 4 of the queries), flags 3 and 4, 2.5 rounded up. */
  dll_upresc(&number, name, &kind, &entity, &dof, &value, &ivalue, &status);
  expect(status == 0 && memcmp(name, "PRESC   ", 8) == 0 && kind == 7 && entity == 4 &&
             dof == 3 && ivalue == 3 && value == 7.25f,
         "dll_upresc PRESC");
  number = 28;
  dll_upresc(&number, name, &kind, &entity, &dof, &value, &ivalue, &status);
  expect(status == 2 && ivalue == -3 && dof == 0, "dll_upresc with flag 17 alone");
  /* BDRY4: type 4 takes the upper flags, word 4 being 0 for both arrays. */
  number = 25;
  dll_ubdry3(&number, name, &type, &code1, flags1, &code2, flags2, &value, &status);
  expect(status == 0 && type == 4 && code1 == 10408 && flags1[0] == 1 && flags1[1] == 1 &&
             flags1[2] == 0 && flags1[15] == 0 && flags2[0] == 1 && flags2[1] == 1,
         "dll_ubdry3 BDRY4");
  number = 27;
  dll_ubdry3(&number, name, &type, &code1, flags1, &code2, flags2, &value, &status);
  expect(status == 0 && type == 9 && code1 == 47, "dll_ubdry3 a set target as 47");
}

static void beamsAndEquations(void) {
  int32_t list[24], flags[16], termflags[16 * 64], number = 29, size = 20, status = SENTINEL;
  int32_t node = 0, terms = 0;
  float factors[64], value6 = 0.0f, value4 = 0.0f;
  static const int32_t triples[7] = {1010, 1, 1011, 1012, 1, 1011, 0};
  static const int32_t termList[6] = {2, 1010, 1012, 1, 1005, 0};
  /* RBEAM from L3 (nodes 10-12) to the point on node 11, the master. */
  fill(list, 24);
  dll_urbeam(&number, list, &size, flags, &status);
  expect(status == 0 && same(list, triples, 7) && flags[0] == 1 && flags[2] == 1 &&
             flags[3] == 0,
         "dll_urbeam RBEAM");
  fill(list, 24);
  size = 6;
  dll_urbeam(&number, list, &size, flags, &status);
  expect(status == 9 && list[6] == SENTINEL, "dll_urbeam in 6 words");
  /* EQHEAD on node 11: terms on L3 (without node 11) and on node 5. */
  number = 31;
  fill(list, 24);
  dll_uequa(&number, list, &size, &node, flags, &value6, &terms, termflags, factors, &value4,
            &status);
  expect(status == 0 && node == 1011 && terms == 2 && same(list, termList, 6) &&
             list[6] == SENTINEL && factors[0] == 2.0f && factors[1] == -0.5f &&
             termflags[17] == -1 && value6 == 4.5f && value4 == 1.25f,
         "dll_uequa EQHEAD");
  size = 5;
  dll_uequa(&number, list, &size, &node, flags, &value6, &terms, termflags, factors, &value4,
            &status);
  expect(status == 9, "dll_uequa in 5 words");
  number = 34;
  dll_uequa(&number, list, &size, &node, flags, &value6, &terms, termflags, factors, &value4,
            &status);
  expect(status == 3, "dll_uequa of a head without terms");
}

static void connections(void) {
  int32_t* list = malloc(ROOMY * sizeof(int32_t));
  int32_t flags[16], number = 35, size = ROOMY, status = SENTINEL;
  static const int32_t pairs[18] = {1021, 1, 1026, 1022, 2, 1026, 1027, 1023, 1, 1027,
                                    1024, 2, 1027, 1028, 1025, 1, 1028, 0};
  if (list == NULL) {
    expect(0, "a list for the connections");
    return;
  }
  /* The fine edge (5 nodes) with the coarse one (3), and with the coarse one reversed. */
  dll_uconct(&number, list, &size, flags, &status);
  expect(status == 0 && same(list, pairs, 18) && flags[0] == 1 && flags[1] == 1,
         "dll_uconct fine and coarse edges");
  number = 36;
  dll_uconct(&number, list, &size, flags, &status);
  expect(status == 0 && same(list, pairs, 18), "dll_uconct the coarse edge reversed");
  number = 37;
  dll_uconct(&number, list, &size, flags, &status);
  expect(status == 5, "dll_uconct chains of 5 and 4 nodes");
  /* Two sets of three points: three entries and the 0 do not fit into 9 words. */
  number = 39;
  size = 9;
  fill(list, 12);
  dll_uconct(&number, list, &size, flags, &status);
  expect(status == 9 && list[9] == SENTINEL, "dll_uconct in 9 words");
  free(list);
}

static void faces(void) {
  int32_t work[64], element = 5004, shape = 5, kind = 2, number = 2, target = 2, count = 2;
  int32_t size = 64, start = 0, face = SENTINEL, status = SENTINEL, spare = 0, capacity = 15;
  int32_t local[16];
  static const int32_t face5[15] = {1, 10, 7, 4, 2, 3, 5, 6, 8, 9, 11, 12, 0, 0, 0};
  /* The QU4 element 4 and L2 through its nodes 1 and 4: edge 4. */
  dll_ueface(&element, &shape, &kind, &number, &target, &count, work, &size, &start, &face,
             &status);
  expect(status == 0 && face == 4, "dll_ueface QU4 on L2");
  count = 3;
  dll_ueface(&element, &shape, &kind, &number, &target, &count, work, &size, &start, &face,
             &status);
  expect(status == 5, "dll_ueface three nodes asked, two found");
  /* HE32 face 5 in the edge-walk numbering; HE8 face 1 does not fit three words. */
  shape = 30;
  number = 5;
  fill(local, 16);
  dll_upfn(&shape, &number, &spare, &capacity, local, &count, &status);
  expect(status == 0 && count == 12 && same(local, face5, 15) && local[15] == SENTINEL,
         "dll_upfn HE32 face 5");
  shape = 13;
  number = 1;
  capacity = 3;
  fill(local, 16);
  dll_upfn(&shape, &number, &spare, &capacity, local, &count, &status);
  expect(status == 9 && local[0] == 0 && local[2] == 0 && local[3] == SENTINEL,
         "dll_upfn a list too long for its capacity");
}

int main(void) {
  static int32_t work[1024]; /* twice the highest node of the model, with room to spare */
  int32_t size = 1024;
  int32_t status = -1;

  status = openQueryModel(work, size);
  if (status < 0) return 1;
  if (status != 0) return report();
  nodes();
  records();
  beamsAndEquations();
  connections();
  faces();
  return report();
}
