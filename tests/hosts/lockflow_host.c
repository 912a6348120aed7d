/* Host program: the write lock across processes. Child processes create a model or append
   to it and end without dll_distp, by exit (a forgotten stop) or killed; the parent then
   appends results to the model. A normal end leaves no lock behind; the lock of a killed
   process is taken over with one information line naming it; a lock held by a live
   process still refuses with 272. */
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include "hostcheck.h"

enum { MSG = 40, UNIT = 41, LUNEU = 43 };
static const char* kIndex = "LOCKFLOW.M71";

static int32_t header(int32_t key, int32_t opcode, const char* name) {
  char hname[20], htitle[20], htext[10];
  int32_t hnumbr = 0, hflag = 0, ierr = -1, unit = UNIT;
  float hvalue = 0.0f;
  pad(hname, 20, name);
  pad(htitle, 20, "Lock flow");
  pad(htext, 10, "");
  dll_dihed2(&key, &opcode, hname, &hvalue, &hnumbr, htitle, &hflag, htext, &ierr, &unit);
  return ierr;
}

static int32_t dilim(void) {
  int32_t ierr = -1, unit = UNIT;
  dll_dilim(&ierr, &unit);
  return ierr;
}

/* Starts the road with database output on the message file NAME; answers the sum of the
   statuses. */
static int32_t start(const char* messages) {
  int32_t units[1] = {UNIT}, itfnum = 1, luopt = 1, ludb8 = 18, ludb7 = 17, luneu = LUNEU;
  int32_t ikeep = 0, nform = 5, lumsg1 = MSG, lumsg2 = 99, ipgsiz = 2040, ierr = -1;
  int32_t arg1 = 0, opened = 0, arg5 = 0, sum = 0;
  char text6[6], text79[79];
  sum += openUnit(MSG, 2, messages, 1, 2) != 0;
  sum += openUnit(UNIT, 0, "", 2, 1) != 0;
  dll_diini2(&luopt, &ludb8, &ludb7, &luneu, units, &itfnum, &ikeep, &nform, &lumsg1, &lumsg2,
             &ipgsiz, &ierr);
  sum += ierr != 0;
  pad(text6, 6, "");
  pad(text79, 79, "");
  dll_didbi(&arg1, &opened, text6, text79, &arg5, &ierr);
  return sum + (ierr != 0);
}

/* The model created: four nodes of a square and one QU4, each dataset processed; answers
   the number of calls that did not answer 0. */
static int32_t create(void) {
  const float xy[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  int32_t nodes[4] = {1, 2, 3, 4}, failures = start("lockflow_create.msg");
  int32_t id, ierr, unit = UNIT, qu4 = 9, one = 1, zero = 0;
  float z = 0.0f;
  failures += header(1, 1, "lockflow") != 0;
  failures += header(2, 1, "") != 0;
  for (id = 1; id <= 4; ++id) {
    float x = xy[id - 1][0], y = xy[id - 1][1];
    ierr = -1;
    dll_dicor(&id, &x, &y, &z, &zero, &ierr, &unit);
    failures += ierr != 0;
  }
  failures += dilim() != 0;
  failures += header(3, 1, "") != 0;
  ierr = -1;
  dll_ditop(&one, &qu4, &one, &one, nodes, &zero, &ierr, &unit);
  failures += ierr != 0;
  failures += dilim() != 0;
  return failures;
}

/* The model header of an append and a node set named NAME; answers the first status
   that is not 0. */
static int32_t appendRecords(const char* name) {
  int32_t ierr = -1, unit = UNIT, two = 2, ids[2] = {1, 2};
  char setnam[8], stitle[30];
  if ((ierr = header(1, 2, "lockflow")) != 0) return ierr;
  if ((ierr = header(18, 1, "")) != 0) return ierr;
  pad(setnam, 8, name);
  pad(stitle, 30, "Corners");
  dll_diset(setnam, stitle, ids, &two, &ierr, &unit);
  if (ierr != 0) return ierr;
  return dilim();
}

/* Appends the node set NAME in this process, with the message file MESSAGES, and stops
   the road when STOP is not 0; answers the first status that is not 0 (the model
   header's, a record's, dll_dilim's or dll_distp's). */
static int32_t append(const char* messages, const char* name, int stop) {
  int32_t first = start(messages) != 0 ? -1 : appendRecords(name), ierr = -1;
  if (stop) {
    dll_distp(&ierr);
    if (first == 0) first = ierr;
  }
  return first;
}

/* Word 18 of index page 1: the lock holder. */
static int32_t holder(void) {
  int32_t words[18] = {0};
  FILE* f = fopen(kIndex, "rb");
  if (f == NULL) return -1;
  if (fread(words, sizeof words[0], 18, f) != 18) words[17] = -1;
  fclose(f);
  return words[17];
}
static void setHolder(int32_t pid) {
  FILE* f = fopen(kIndex, "r+b");
  if (f == NULL) return;
  fseek(f, 17 * 4, SEEK_SET);
  fwrite(&pid, sizeof pid, 1, f);
  fclose(f);
}

/* How many lines of the standard output file OUT hold TEXT. */
static int linesWith(const char* out, const char* text) {
  char line[512];
  int n = 0;
  FILE* f = fopen(out, "r");
  if (f == NULL) return -1;
  while (fgets(line, sizeof line, f) != NULL) n += strstr(line, text) != NULL;
  fclose(f);
  return n;
}

/* A child runs WORK: 0 creates the model without dll_distp, 1 creates it with
   dll_distp, 2 appends without dll_distp; it then ends by exit, or killed when KILLED is
   not 0. Answers the child's process id after its end. */
static pid_t inChild(int work, int killed) {
  pid_t child;
  fflush(NULL);
  child = fork();
  if (child == 0) {
    int32_t failures = 0, ierr = -1;
    if (work == 2) {
      failures = append("lockflow_child.msg", "SETC", 0) != 0;
    } else {
      failures = create();
      if (work == 1) {
        dll_distp(&ierr);
        failures += ierr != 0;
      }
    }
    if (killed) {
      fflush(NULL);
      if (failures == 0) kill(getpid(), SIGKILL);
      _exit(1);
    }
    exit(failures == 0 ? 0 : 1);
  }
  if (child > 0) waitpid(child, NULL, 0);
  return child;
}

static void removeModel(void) {
  remove("LOCKFLOW.M71");
  remove("LOCKFLOW.V71");
}

int main(void) {
  char stale[128];
  pid_t child;
  int32_t status;
  int saved, out;

  /* A model created by a process that ends with exit, without dll_distp: its lock goes
     with it. Without the stop the model has no counts: the append answers 35, not 272. */
  removeModel();
  child = inChild(0, 0);
  expect(child > 0 && holder() == 0, "a normal end without dll_distp releases the lock");
  expect(append("lockflow_append0.msg", "SET0", 1) == 35, "an uncounted model refuses 35");

  /* A complete model; a process appends and ends with exit, without dll_distp. */
  removeModel();
  child = inChild(1, 0);
  expect(child > 0 && holder() == 0, "the creator released its lock at its stop");
  child = inChild(2, 0);
  expect(child > 0 && holder() == 0, "an appending process's normal end releases its lock");
  expect(append("lockflow_append1.msg", "SET1", 1) == 0, "the next process appends");

  /* A process that appends is killed while it holds the lock. */
  child = inChild(2, 1);
  expect(child > 0 && holder() == (int32_t)child, "a killed holder leaves its lock");
  snprintf(stale, sizeof stale, "Write lock of process %d, which no longer exists, taken over",
           (int)child);
  fflush(stdout);
  saved = dup(1);
  out = open("lockflow_append2.out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(out, 1);
  status = append("lockflow_append2.msg", "SET2", 1);
  fflush(stdout);
  dup2(saved, 1);
  close(out);
  close(saved);
  expect(status == 0, "the lock of a process that no longer exists is taken over");
  expect(linesWith("lockflow_append2.out", stale) == 1, "one line names the old holder");
  expect(holder() == 0, "the appending process released the lock at its stop");

  /* A live holder (init) keeps its lock. */
  setHolder(1);
  status = append("lockflow_append3.msg", "SET3", 1);
  expect(status == 272, "a lock held by a live process refuses with 272");
  expect(holder() == 1, "the live holder's lock stays");

  removeModel();
  if (failed == 0) {
    const char* files[] = {"lockflow_create.msg", "lockflow_child.msg", "lockflow_append0.msg",
                           "lockflow_append1.msg", "lockflow_append2.msg",
                           "lockflow_append3.msg", "lockflow_append2.out"};
    size_t k;
    for (k = 0; k < sizeof files / sizeof files[0]; ++k) remove(files[k]);
  }
  return report();
}
