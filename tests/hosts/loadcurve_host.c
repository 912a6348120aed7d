/* Host program: opens the query model (the file named by KVR_QUERY_MODEL, written by the
   support step) through dll_ustrt2, evaluates its line distribution (the table (0, 0),
   (1, 10), number 141) at three points of a line through dll_uleval, the first with mode
   0 and the next ones with the flag word it returned, and reads its table and step curves
   (141 and 142) as points through dll_ucurvt, as an analysis program does when it applies
   a distributed load and a load history. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

enum { ROOM = 256, DISTRIBUTION = 141, TABLE = 141, STEP = 142, RECORD = 64 };

static int near(float got, float want) { return got - want < 1.0e-5f && want - got < 1.0e-5f; }

int main(void) {
  char curveName[KVR_UCURVT_NAME_LENGTH];
  int32_t work[ROOM], record[RECORD];
  int32_t size = ROOM, status = -1, mode = 0, variation = 0, distribution = DISTRIBUTION;
  int32_t system = 0, kind = -5, entity = 1, applies = -1, recordSize = RECORD, k;
  int32_t number, curveMode = 1, type, repeat, wsize = ROOM, vsize = 20, written;
  float value, axes[9], position[3], fillet, values[20];
  static const float at[3] = {0.3f, 0.5f, 0.7f};
  static const float table[6] = {0, 7, 0.5f, 7, 1.5f, 8};
  static const float step[4] = {0, 5, 2, 5};

  status = openQueryModel(work, size);
  if (status < 0) return 1;

  /* The parametric position along the line is given: kind -5 with one coordinate. */
  for (k = 0; k < 3; ++k) {
    position[0] = at[k];
    position[1] = position[2] = 0.0f;
    dll_uleval(&mode, &variation, &distribution, &system, position, &kind, &entity, &applies,
               &value, axes, record, &recordSize, &status);
    expect(status == 0, "dll_uleval status 0");
    expect(applies == 1, "dll_uleval applies");
    expect(mode == 1, "dll_uleval returns the flag word 1");
    expect(near(value, 10.0f * at[k]), "dll_uleval interpolates the table");
    expect(axes[0] == 1.0f && axes[4] == 1.0f && axes[8] == 1.0f && axes[1] == 0.0f,
           "dll_uleval axes the identity");
    expect(position[0] == at[k], "dll_uleval leaves the position");
  }

  number = TABLE;
  dll_ucurvt(&number, &curveMode, curveName, &type, &fillet, &repeat, work, &wsize, values,
             &vsize, &written, &status);
  expect(status == 0 && type == 1 && written == 6, "dll_ucurvt reads the table");
  for (k = 0; k < 6 && written == 6; ++k) expect(near(values[k], table[k]), "table point");
  expect(curveName[0] == 'T' && curveName[5] == ' ' && curveName[14] == ' ', "the table's name");

  number = STEP;
  dll_ucurvt(&number, &curveMode, curveName, &type, &fillet, &repeat, work, &wsize, values,
             &vsize, &written, &status);
  expect(status == 0 && type == 2 && written == 4, "dll_ucurvt reads the step");
  for (k = 0; k < 4 && written == 4; ++k) expect(near(values[k], step[k]), "step point");

  number = 0;
  dll_ucurvt(&number, &curveMode, curveName, &type, &fillet, &repeat, work, &wsize, values,
             &vsize, &written, &status);
  expect(status == 1, "dll_ucurvt curve 0 is out of range");
  return report();
}
