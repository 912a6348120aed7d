/* Host program: opens the query model (the file named by KVR_QUERY_MODEL, written by the
   support step) through dll_ustrt2 and asks for the elements of its entities and the
   owners of its elements through dll_uelemg and dll_ugelem alone, as an analysis program
   does when it reads a mesh back. Element numbers cross the interface from 5000 on. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

struct range {
  int32_t first, last, eltype, units, material, property, group, status;
};

static struct range uelemg(int32_t kind, int32_t number) {
  struct range r = {-7, -7, -7, -7, -7, -7, -7, -7};
  dll_uelemg(&kind, &number, &r.first, &r.last, &r.eltype, &r.units, &r.material,
             &r.property, &r.group, &r.status);
  return r;
}

struct owner {
  int32_t kind, number, eltype, units, material, group, status;
};

static struct owner ugelem(int32_t element) {
  struct owner o = {-7, -7, -7, -7, -7, -7, -7};
  /* The seventh argument, the property, is handed over by value: the library keeps it. */
  dll_ugelem(&element, &o.kind, &o.number, &o.eltype, &o.units, &o.material, 0, &o.group,
             &o.status);
  return o;
}

int main(void) {
  int32_t work[1024]; /* twice the highest node of the model, with room to spare */
  int32_t size = 1024;
  int32_t status = -1;
  struct range r;
  struct owner o;
  int32_t sizes[20];

  status = openQueryModel(work, size);
  if (status < 0) return 1;

  /* Point 9 carries element 5, a point element. */
  r = uelemg(1, 9);
  expect(r.status == 0 && r.first == 5005 && r.last == 5005 && r.eltype == 20,
         "the point's element");
  /* Surface 7: QU4 (element-type code 7), units part 0 in the file, material 6 and
     property 8. */
  r = uelemg(3, 7);
  expect(r.status == 0 && r.first == 5006 && r.last == 5007 && r.eltype == 9 && r.units == 1 &&
             r.material == 6 && r.property == 8,
         "the QU4 surface");
  /* Line 4 is composite: units and group 0, the other outputs untouched. */
  r = uelemg(2, 4);
  expect(r.status == 3 && r.units == 0 && r.group == 0 && r.first == -7 && r.last == -7 &&
             r.eltype == -7 && r.material == -7 && r.property == -7,
         "a composite line");
  r = uelemg(2, 1);
  expect(r.status == 4 && r.first == 0 && r.last == 0, "an unmeshed line");
  /* The whole model: its first and last element (model-size position 8). */
  dll_usize(sizes);
  r = uelemg(0, 0);
  expect(r.status == 0 && r.first == 5001 && r.last == 5000 + sizes[7] && r.eltype == 0,
         "the whole model");
  r = uelemg(5, 1);
  expect(r.status == 1, "an unknown kind");

  /* Element 6's centroid lies on the edge of the polygon region R3 (material 1). */
  o = ugelem(5006);
  expect(o.status == 0 && o.kind == 3 && o.number == 7 && o.eltype == 9 && o.material == 1,
         "the owner of element 6");
  /* Element 7, from the same owner: one node leaves the box R2, the segment R4 applies. */
  o = ugelem(5007);
  expect(o.status == 0 && o.kind == 3 && o.number == 7 && o.material == 1,
         "the owner of element 7");
  /* Element 5 lies below the range of surface 7: the search starts at the points; every
     node lies in the box R2 (material 6). */
  o = ugelem(5005);
  expect(o.status == 0 && o.kind == 1 && o.number == 9 && o.eltype == 20 && o.material == 6,
         "the owner of element 5");
  /* No entity owns element 3. */
  o = ugelem(5003);
  expect(o.status == 0 && o.kind == 0 && o.number == 0 && o.eltype == 0 && o.group == 0,
         "an element without owner");
  o = ugelem(5000);
  expect(o.status == 1 && o.kind == 0 && o.number == 0, "an element out of range");
  return report();
}
