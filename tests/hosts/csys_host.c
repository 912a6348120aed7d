/* Host program: opens the query model (the file named by KVR_QUERY_MODEL, written by the
   support step) through dll_ustrt2 and reads its cylindrical coordinate system through
   dll_ucsys2, then asks dll_ucocyl for local directions, as an analysis program does when
   it turns conditions into local axes. The system's second node is stored as 4.9999 and
   read as node 5; nodes cross the interface from 1000 on. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

enum { NODE0 = 1000, SYSTEM = 41, ROOM = 256 };

static int near(const float* got, const float* want, int n) {
  int k;
  for (k = 0; k < n; ++k) {
    float d = got[k] - want[k];
    if (d > 1.0e-5f || d < -1.0e-5f) return 0;
  }
  return 1;
}

int main(void) {
  int32_t work[ROOM], nodes[ROOM], sizes[20];
  int32_t size = ROOM, status = -1, number, type, node1, node2, node3, count, k;
  float axes[6];
  static const float unitAxes[6] = {1, 0, 0, 0, 1, 0};

  status = openQueryModel(work, size);
  if (status < 0) return 1;
  dll_usize(sizes);
  expect(sizes[15] >= SYSTEM, "dll_usize 16 counts the cylindrical system");

  /* The system: cylindrical, on nodes 1, 5 and 2, its line's nodes 14 to 16 ascending. */
  number = SYSTEM;
  size = sizes[5];
  dll_ucsys2(&number, &type, axes, &node1, &node2, &node3, &count, nodes, &size, &status);
  expect(status == 0 && type == 3, "dll_ucsys2 reads a cylindrical system");
  expect(node1 == 1 && node2 == 5 && node3 == 2, "dll_ucsys2 reads 4.9999 as node 5");
  expect(near(axes, unitAxes, 6), "dll_ucsys2 axes");
  expect(count == 3, "dll_ucsys2 three nodes refer to the system");
  for (k = 0; k < 3 && k < count; ++k) {
    expect(nodes[k] == NODE0 + 14 + k, "dll_ucsys2 the referring nodes ascending");
  }

  /* A work array one short of the highest node: 9 before anything else. */
  size = sizes[5] - 1;
  number = 0;
  status = -1;
  dll_ucsys2(&number, &type, axes, &node1, &node2, &node3, &count, nodes, &size, &status);
  expect(status == 9, "dll_ucsys2 size first");
  /* No such system, and a number beyond the count. */
  size = sizes[5];
  number = 2;
  dll_ucsys2(&number, &type, axes, &node1, &node2, &node3, &count, nodes, &size, &status);
  expect(status == 2, "dll_ucsys2 a system without record");
  number = sizes[15] + 1;
  dll_ucsys2(&number, &type, axes, &node1, &node2, &node3, &count, nodes, &size, &status);
  expect(status == 1, "dll_ucsys2 a number out of range");

  /* Directions at points of the system. */
  {
    static const float origin[3] = {0, 0, 0};
    static const float onAxis[3] = {0, 0, 5};
    static const float aside[3] = {0, 2, 3};
    static const float pole[3] = {0, 3, 0};
    static const float radial[6] = {0, 1, 0, -1, 0, 0};
    static const float meridian[6] = {0, 1, 0, 0, 0, 1};
    float directions[6];
    int32_t t = 3;
    dll_ucocyl(&t, axes, (float*)origin, (float*)onAxis, directions);
    expect(near(directions, unitAxes, 6), "dll_ucocyl on the axis gives the axes");
    dll_ucocyl(&t, axes, (float*)origin, (float*)aside, directions);
    expect(near(directions, radial, 6), "dll_ucocyl cylindrical directions");
    t = 2;
    dll_ucocyl(&t, axes, (float*)origin, (float*)pole, directions);
    expect(near(directions, meridian, 6), "dll_ucocyl spherical on the second axis");
    t = 5;
    for (k = 0; k < 6; ++k) directions[k] = -7.0f;
    dll_ucocyl(&t, axes, (float*)origin, (float*)aside, directions);
    expect(directions[0] == -7.0f && directions[5] == -7.0f, "dll_ucocyl type 5 writes nothing");
  }
  return report();
}
