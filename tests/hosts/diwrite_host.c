/* Host program: opens, writes, closes and deletes its files through dll_opntldbf,
   dll_wrttllog, dll_clstldbf and dll_kvclose, as an analysis program does around the
   writing road, with blank-padded texts of 80 and 20 characters; then starts the road
   on a message file and two scratch temporary units (dll_diini2, dll_didbi), opens a
   model and its coordinates (dll_dihed2), and checks the message file's lines. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

static int32_t opn(int32_t unit, int32_t mode, const char* name, int32_t istat, int32_t iform) {
  char fname[81];
  int32_t iacces = 1, irecl = 0, iostat = -99;
  pad(fname, 80, name);
  fname[80] = '#'; /* a guard: nothing past the 80 characters is read or written */
  dll_opntldbf(&unit, &mode, fname, &istat, &iform, &iacces, &irecl, &iostat);
  expect(fname[80] == '#', "name guard");
  return iostat;
}

static void logline(int32_t unit, int32_t mode, int32_t step, int32_t sub, const char* type) {
  char typtxt[20];
  pad(typtxt, 20, type);
  dll_wrttllog(&unit, &mode, &step, &sub, typtxt);
}

static int fileIs(const char* name, const char* expected) {
  char buffer[1024];
  size_t n;
  FILE* f = fopen(name, "rb");
  if (f == NULL) return 0;
  n = fread(buffer, 1, sizeof buffer, f);
  fclose(f);
  return n == strlen(expected) && memcmp(buffer, expected, n) == 0;
}

/* The lines of NAME, without their line ends, into LINES (at most MAX of them). */
static int readLines(const char* name, char lines[][128], int max) {
  int count = 0;
  FILE* f = fopen(name, "r");
  if (f == NULL) return -1;
  while (count < max && fgets(lines[count], 128, f) != NULL) {
    lines[count][strcspn(lines[count], "\n")] = '\0';
    ++count;
  }
  fclose(f);
  return count;
}

static int32_t dataset(int32_t key, int32_t opcode, const char* name, int32_t unit) {
  char hname[21], htitle[21], htext[11];
  int32_t hnumbr = 7, hflag = 3, ierr = -1;
  float hvalue = 1.5f;
  pad(hname, 20, name);
  pad(htitle, 20, "Mixed Case");
  pad(htext, 10, "abc");
  hname[20] = htitle[20] = htext[10] = '#';
  dll_dihed2(&key, &opcode, hname, &hvalue, &hnumbr, htitle, &hflag, htext, &ierr, &unit);
  expect(hname[20] == '#' && htitle[20] == '#' && htext[10] == '#', "dll_dihed2 text guards");
  return ierr;
}

static void writingRoad(void) {
  int32_t msgUnit = 40, units[2] = {41, 42}, itfnum = 2, luopt = 2, ludb8 = 0, ludb7 = 0;
  int32_t luneu = 43, ikeep = 0, nform = 10, lumsg2 = 99, ipgsiz = 2040, ierr = -1;
  int32_t arg1 = 0, opened = 0, arg5 = 0, iostat = -1;
  char text6[7], text79[80], lines[16][128];
  int n, hour, minute, day, month, year;

  expect(opn(msgUnit, 2, "diwrite_host.msg", 1, 2) == 0, "open message file");
  expect(opn(units[0], 0, "", 2, 1) == 0, "scratch temporary unit 1");
  expect(opn(units[1], 0, "", 2, 1) == 0, "scratch temporary unit 2");

  dll_diini2(&luopt, &ludb8, &ludb7, &luneu, units, &itfnum, &ikeep, &nform, &msgUnit, &lumsg2,
             &ipgsiz, &ierr);
  expect(ierr == 0, "dll_diini2");
  pad(text6, 6, "ABCDEF");
  pad(text79, 79, "");
  text6[6] = text79[79] = '#';
  dll_didbi(&arg1, &opened, text6, text79, &arg5, &ierr);
  expect(ierr == 0 && opened == 1, "dll_didbi");
  expect(text6[6] == '#' && text79[79] == '#' && text6[0] == 'A', "dll_didbi texts untouched");

  expect(dataset(1, 1, "beam", units[0]) == 0, "model header BEAM");
  expect(dataset(2, 1, "", units[1]) == 0, "coordinates header");
  expect(dataset(3, 1, "", units[1]) == 111, "a second dataset on the same unit");
  expect(dataset(4, 1, "", units[0]) == 112, "unknown key");

  logline(msgUnit, 1, 0, 0, "");
  logline(msgUnit, 2, 0, 0, "");
  dll_clstldbf(&msgUnit, &iostat);
  expect(iostat == 0, "close message file");

  n = readLines("diwrite_host.msg", lines, 16);
  expect(n == 7, "seven lines");
  if (n == 7) {
    expect(strcmp(lines[0], " DI    : DIINI : DATABASE INTERFACE ROUTINES VERSION 1.402B         :") == 0,
           "banner");
    expect(strcmp(lines[1], " DI    :       : I10, E12.5 FORMAT NEUTRAL FILE OPTION CHOSEN       :") == 0,
           "format line");
    expect(strcmp(lines[2], " DI    : DIHED2: MODEL OPENED TO CREATE                             : "
                            "(BEAM                )") == 0,
           "model line");
    expect(strcmp(lines[3], " DI111 : DIHED2: A MODEL DATASET IS STILL ACTIVE ON UNIT (IUNT)     : "
                            "(      42            )") == 0,
           "line of 111");
    expect(strcmp(lines[4], " DI112 : DIHED2: INVALID DATASET HEADER KEY                         : "
                            "(       4            )") == 0,
           "line of 112");
    expect(strlen(lines[5]) == 33 &&
               sscanf(lines[5], " TIME AND DATE : %2d:%2d %2d-%2d-%4d", &hour, &minute, &day,
                      &month, &year) == 5 &&
               hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && day >= 1 && day <= 31 &&
               month >= 1 && month <= 12 && year >= 2024,
           "time and date line");
    expect(strcmp(lines[6], " PROCESSING MESH DATA") == 0, "mesh line");
  }
  dll_kvclose(&units[0]);
  dll_kvclose(&units[1]);
  remove("diwrite_host.msg");
}

int main(void) {
  int32_t logUnit = 30, tmp1 = 31, tmp2 = 32, iostat = -1;
  FILE* f;

  /* A log that already exists is replaced by an empty one. */
  f = fopen("diwrite_host.log", "w");
  fputs("stale\n", f);
  fclose(f);
  expect(opn(logUnit, 2, "diwrite_host.log", 1, 2) == 0, "open log");
  expect(fileIs("diwrite_host.log", ""), "log emptied");

  /* Two scratch temporary streams and a missing file that must exist. */
  expect(opn(tmp1, 0, "", 2, 1) == 0, "scratch unit 1");
  expect(opn(tmp2, 0, "", 2, 1) == 0, "scratch unit 2");
  expect(opn(33, 1, "diwrite_host_missing.dat", 1, 1) == 1, "missing file answers 1");

  logline(logUnit, 2, 0, 0, "");
  logline(logUnit, 3, 5, 2, "STATIC");
  logline(logUnit, -7, 0, 0, "");
  logline(logUnit, 0, 0, 0, "");
  logline(logUnit, 4, 0, 0, "");
  dll_clstldbf(&logUnit, &iostat);
  expect(iostat == 0, "close log");
  logline(logUnit, 2, 0, 0, ""); /* closed: nothing */
  expect(fileIs("diwrite_host.log",
                " PROCESSING MESH DATA\n"
                " PROCESSING LOAD STEP      5, SUB-STEP      2, TYPE STATIC              \n"
                " ERROR      7 FOUND\n"),
         "log lines");

  dll_clstldbf(&tmp1, &iostat);
  expect(iostat == 0, "close scratch 1");
  dll_kvclose(&tmp2);

  /* dll_kvclose deletes the file of its unit. */
  expect(opn(34, 0, "diwrite_host.tmp", 1, 1) == 0, "open named stream");
  expect(access("diwrite_host.tmp", F_OK) == 0, "named stream made");
  tmp2 = 34;
  dll_kvclose(&tmp2);
  expect(access("diwrite_host.tmp", F_OK) != 0, "kvclose deletes");
  remove("diwrite_host.log");

  writingRoad();

  return report();
}
