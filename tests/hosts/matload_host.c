/* Host program: opens the query model (querymodel.DMP in the working directory) and asks
   for its materials, physical properties and their text items, the neighbours of its
   entities and its loads through the exported routines alone, as an analysis program
   does. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

static int same(const char* text, int length, const char* s) {
  char want[80];
  pad(want, length, s);
  return memcmp(text, want, (size_t)length) == 0;
}

static void materials(void) {
  char name[8], name2[8];
  int32_t number = 2, word = 0, count = 0, size = 4, status = -1;
  float values[6] = {0};

  dll_umat3(&number, name, name2, &word, &count, values, &size, &status);
  expect(status == 0 && count == 4, "umat3 status and count");
  expect(values[0] == 11.0f && values[3] == 14.0f, "umat3 values 11 to 14");
  expect(same(name, 8, "CONCRETE") && same(name2, 8, "GRADE") && word == 2,
         "umat3 names and the referred word");

  number = 3;
  dll_umat3(&number, name, name2, &word, &count, values, &size, &status);
  expect(status == 2 && count == -10, "umat3 of a missing material");

  /* The text items of material 5 as lines, by both text routines. */
  {
    float items[6];
    int32_t max = 4, lines = 0, lengths[4];
    char text[4 * 80];
    int32_t spare = 0;
    number = 5;
    size = 6;
    dll_umat3(&number, name, name2, &word, &count, items, &size, &status);
    expect(status == 0 && count == 6, "umat3 of the text items");
    dll_umate(items, &spare, &max, &lines, lengths, text, &status);
    expect(status == 0 && lines == 3, "umate line count");
    expect(lengths[0] == 1 && lengths[1] == 1 && lengths[2] == 8 && lengths[3] == 0,
           "umate lengths");
    expect(same(text, 80, "A") && same(text + 80, 80, "B") && same(text + 160, 80, "ABCDEFGH"),
           "umate lines");
    lines = 0;
    dll_uphyse(items, &spare, &max, &lines, lengths, text, &status);
    expect(status == 0 && lines == 3 && same(text + 160, 80, "ABCDEFGH"), "uphyse lines");
  }
}

static void properties(void) {
  char name[8], name2[8];
  int32_t number = 1, w2 = 0, w3 = 0, w4 = 0, count = 0, size = 9, status = -1;
  float v[9];
  const float want[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};

  dll_uphys4(&number, name, name2, &w4, &w2, &w3, &count, v, &size, &status);
  expect(status == 0 && count == 9, "uphys4 status and count");
  expect(memcmp(v, want, sizeof want) == 0, "uphys4 point references as coordinates");
  expect(w2 == 2 && w3 == 4 && w4 == 40, "uphys4 words");
  expect(same(name, 8, "PBOTH") && same(name2, 8, "SECT"), "uphys4 names");
}

static void neighbours(void) {
  int32_t kind = 2, number = 7, rkind = 0, rnumber = 0, nkind = 0, nnumber = 0;
  int32_t work[4] = {-1, -1, -1, -1};
  int32_t spare = 0, mode = 0, status = -1;

  dll_uadjge(&kind, &number, &rkind, &rnumber, &nkind, &nnumber, work, &spare, &mode, &status);
  expect(status == 0 && nkind == 3 && nnumber == 4, "uadjge: a line on a meshed surface");

  /* Set 7 holds four members; the work array holds them all. */
  rkind = 7;
  rnumber = 7;
  dll_uadjge(&kind, &number, &rkind, &rnumber, &nkind, &nnumber, work, &spare, &mode, &status);
  expect(status == 0 && nkind == 3 && nnumber == 4, "uadjge within a set");
  expect(work[0] == 5 && work[1] == 6 && work[2] == 5 && work[3] == 4, "uadjge set members");

  number = 8;
  rkind = 0;
  rnumber = 0;
  dll_uadjge(&kind, &number, &rkind, &rnumber, &nkind, &nnumber, work, &spare, &mode, &status);
  expect(status == 2, "uadjge: nothing adjacent");
}

static void loads(void) {
  char name[8], description[8];
  int32_t number = 4, word3, type, w7, w8, w9, w10, kind, entity, kind2, entity2;
  int32_t count = 0, size = 4, status = -1, first = 0;
  int32_t meshed = 0, relation = -1, apart = -1;
  float values[4];

  dll_uload4(&number, name, description, &word3, &type, &w7, &w8, &w9, &w10, &kind, &entity,
             &kind2, &entity2, &count, values, &size, &status);
  expect(status == 0 && kind == 42 && entity == 3, "uload4: target 35 is kind 42");
  expect(same(name, 8, "LK5") && same(description, 8, "DESC1") && type == 1, "uload4 names");
  expect(count == 1 && values[0] == 9.5f && w10 == 4, "uload4 values and words");

  dll_uloadp(&number, &kind, &entity, &status);
  expect(status == 0 && kind == 5 && entity == 3, "uloadp: the target as stored");

  /* Load 8 is of type 2 on a line: its target records; loads 9 and 10 follow, one record
     each. */
  number = 8;
  dll_uload4(&number, name, description, &word3, &type, &w7, &w8, &w9, &w10, &kind, &entity,
             &kind2, &entity2, &count, values, &size, &status);
  expect(status == 0 && type == 2 && entity == kind, "uload4 of type 2: one target record");
  first = kind;

  number = first + 1;
  dll_uloade(&number, &kind, &entity, &meshed, &status);
  expect(status == 0 && kind == 2 && entity == 6 && meshed == 1, "uloade: a meshed line");
  dll_ulode2(&number, &kind, &entity, &kind2, &entity2, &relation, &apart);
  expect(kind2 == 3 && entity2 == 4 && relation == 2 && apart == 0, "ulode2: line on surface");

  number = first + 2;
  dll_ulode2(&number, &kind, &entity, &kind2, &entity2, &relation, &apart);
  expect(apart == 1 && kind2 == 0 && relation == 0, "ulode2: not adjacent");

  number = 0;
  dll_uloade(&number, &kind, &entity, &meshed, &status);
  expect(status == 0 && kind == 0 && entity == 0 && meshed == 0, "uloade of record 0");
  number = 1;
  dll_uloade(&number, &kind, &entity, &meshed, &status);
  expect(status == 1 && kind == 0, "uloade of a node record");
}

int main(void) {
  char model[KVR_USTRT2_NAME_LENGTH];
  int32_t work[1024]; /* twice the highest node of the model, with room to spare */
  int32_t size = 1024, status = -1;

  pad(model, KVR_USTRT2_NAME_LENGTH, "querymodel.DMP");
  dll_ustrt2(model, work, &size, &status);
  expect(status == 0, "ustrt2 opens the query model");
  if (status != 0) return report();

  materials();
  properties();
  neighbours();
  loads();
  return report();
}
