/* Host test of dll_tlmknm: a directory and a file name joined into a path of 150
   characters, as an analysis program calls it. Exit status 0 when every case passes. */
#include <stdio.h>
#include <string.h>

#include "kvr7dbio.h"

static int failures = 0;

/* Calls dll_tlmknm with DIR (its length LENGTH) and FILE padded to 10 characters, and
   compares the path with EXPECTED followed by blanks up to 150 characters. */
static void check(const char* dir, int32_t length, const char* file, const char* expected) {
  char dirText[200];
  char fileText[10];
  char path[151];
  char want[150];
  size_t n = strlen(expected);
  memset(dirText, '#', sizeof dirText);
  memcpy(dirText, dir, strlen(dir));
  memset(fileText, ' ', sizeof fileText);
  memcpy(fileText, file, strlen(file));
  memset(path, '?', sizeof path);
  memset(want, ' ', sizeof want);
  memcpy(want, expected, n);
  dll_tlmknm(dirText, &length, fileText, path);
  if (memcmp(path, want, sizeof want) != 0) {
    printf("dll_tlmknm(\"%s\", %d, \"%s\") gave \"%.150s\"\n", dir, (int)length, file, path);
    ++failures;
  }
  if (path[150] != '?') {
    printf("dll_tlmknm(\"%s\", %d, \"%s\") wrote past the path\n", dir, (int)length, file);
    ++failures;
  }
}

int main(void) {
  char longDir[200];
  char cut[151];
  check("/a/b/..", 7, "x.dat", "/a/x.dat");
  check("/a/b/", 5, "x.dat", "/a/b//x.dat");
  check("/a/b/..", -1, "x.dat", "/x.dat");
  check("/a/b/..", 0, "x.dat", "/x.dat");
  check("   ", 3, "x.dat", "/x.dat");
  /* A directory of 160 characters: the path is cut at 150, nothing written past it. */
  memset(longDir, 'd', 160);
  longDir[0] = '/';
  longDir[160] = '\0';
  memcpy(cut, longDir, 150);
  cut[150] = '\0';
  check(longDir, 160, "x.dat", cut);
  if (failures == 0) printf("dll_tlmknm: all cases pass\n");
  return failures == 0 ? 0 : 1;
}
