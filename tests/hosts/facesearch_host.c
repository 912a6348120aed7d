/* Host program: opens the query model (the file named by KVR_QUERY_MODEL) and asks, as an
   analysis program applying an edge load does, which elements carry the unmeshed line 165
   (dll_ufacg2), then which edges of each of them lie on it (dll_uefac2, mode 0 for the
   first element and 1 for the rest), and gets the first element's edge again. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

#define WORK 80000

static int32_t work[WORK];
static int32_t scratch[WORK];

int main(void) {
  int32_t size = 1024, status = -1;
  int32_t kind = 2, number = 165, rkind = 0, rnumber = 0;
  int32_t carrierKind = -1, carrierNumber = -1, faceNodeCount = -1, face = -1;
  int32_t orientation = -9, elementCount = -1, faceNodes[16];
  int32_t k, firstFace = -1;

  status = openQueryModel(work, size);
  if (status < 0) return 1;

  size = WORK;
  dll_ufacg2(&kind, &number, &rkind, &rnumber, &carrierKind, &carrierNumber, &faceNodeCount,
             faceNodes, &face, &orientation, &elementCount, work, &size, &status);
  expect(status == 0 && carrierKind == 3 && carrierNumber == 162, "the line's first surface");
  expect(elementCount == 1 && work[0] == 5006, "its QU4 element with an edge on the line");
  expect(face == 2 && faceNodeCount == 2 && faceNodes[0] == 2 && faceNodes[1] == 3 &&
             orientation == 0,
         "the edge of the first element");

  for (k = 0; k < elementCount && k < 2; ++k) {
    int32_t mode = k == 0 ? 0 : 1, element = work[k], shape = 5, target = 2, nodeCount = 0;
    int32_t start = 0, faces[6], faceCount = -1;
    dll_uefac2(&mode, &element, &shape, &kind, &number, &rkind, &rnumber, &target, &nodeCount,
               scratch, &size, &start, faces, &faceCount, &status);
    expect(status == 0 && faceCount == 1, "dll_uefac2 finds one edge");
    if (k == 0) firstFace = faces[0];
  }
  {
    int32_t mode = 1, element = work[0], shape = 5, target = 2, nodeCount = 0, start = 0;
    int32_t faces[6], faceCount = -1;
    dll_uefac2(&mode, &element, &shape, &kind, &number, &rkind, &rnumber, &target, &nodeCount,
               scratch, &size, &start, faces, &faceCount, &status);
    expect(status == 0 && faceCount == 1 && faces[0] == firstFace && firstFace == face,
           "the first element's edge again");
  }
  return report();
}
