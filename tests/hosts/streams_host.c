/* Host program: a progress log on streams that cannot seek, and scratch units that leave
   nothing behind. Each case runs this program again as a child, as a host program runs:
   - "log NAME": opens NAME as a formatted log unit, writes the mesh line and a load-step
     line, closes it; the exit status is 0 when every IOSTAT was 0;
   - "tty NAME": the same on "/dev/tty", with the terminal NAME made the controlling one;
   - "scratch END": opens three scratch units, writes on each, ends by END ("return" from
     main, "exit", or "signal") without closing any; status 3 when a scratch file was seen
     in TMPDIR during the run.
   The parent gives the log child its standard output as a pipe, then a FIFO, then a
   pseudo-terminal (skipped, saying why, when the machine has none), and reads the lines;
   it sets TMPDIR to a private empty directory and checks that it stays empty. */
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

#define LOG_UNIT 20

static const char kExpectedLog[] =
    " PROCESSING MESH DATA\n"
    " PROCESSING LOAD STEP      1, SUB-STEP      2, TYPE STATIC              \n";

static int32_t opn(int32_t unit, const char* name, int32_t istat) {
  char fname[80];
  int32_t mode = 3, iform = 2, iacces = 1, irecl = 0, iostat = -99;
  pad(fname, 80, name);
  dll_opntldbf(&unit, &mode, fname, &istat, &iform, &iacces, &irecl, &iostat);
  return iostat;
}

static void logLine(int32_t unit, int32_t mode) {
  int32_t istep = 1, isub = 2;
  char typtxt[20];
  pad(typtxt, 20, "STATIC");
  dll_wrttllog(&unit, &mode, &istep, &isub, typtxt);
}

static int writeLog(const char* name) {
  int32_t unit = LOG_UNIT, iostat = -99;
  int32_t opened = opn(unit, name, 1);
  if (opened != 0) {
    fprintf(stderr, "open of %s: IOSTAT %d\n", name, (int)opened);
    return 1;
  }
  logLine(unit, 2);
  logLine(unit, 3);
  dll_clstldbf(&unit, &iostat);
  if (iostat != 0) fprintf(stderr, "close of %s: IOSTAT %d\n", name, (int)iostat);
  return iostat == 0 ? 0 : 1;
}

/* The number of entries of directory PATH besides "." and "..", or -1. */
static int entries(const char* path) {
  DIR* d = opendir(path);
  struct dirent* e;
  int n = 0;
  if (d == NULL) return -1;
  while ((e = readdir(d)) != NULL) {
    if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0) ++n;
  }
  closedir(d);
  return n;
}

static int child(int argc, char** argv) {
  if (argc < 3) return 2;
  if (strcmp(argv[1], "log") == 0) return writeLog(argv[2]);
  if (strcmp(argv[1], "tty") == 0) {
    /* A new session whose first terminal opened becomes its controlling one. */
    if (setsid() < 0 || open(argv[2], O_RDWR) < 0) return 2;
    return writeLog("/dev/tty");
  }
  if (strcmp(argv[1], "scratch") == 0) {
    int32_t unit;
    int status = 0;
    for (unit = 31; unit <= 33; ++unit) {
      if (opn(unit, "", 2) != 0) status = 1;
      logLine(unit, 2);
    }
    if (entries(getenv("TMPDIR")) != 0) status = 3;
    if (strcmp(argv[2], "exit") == 0) exit(status);
    if (strcmp(argv[2], "signal") == 0) raise(SIGKILL);
    return status;
  }
  return 2;
}

/* Starts this program with ARG1 and ARG2, its standard output on OUT when OUT >= 0. */
static pid_t start(const char* arg1, const char* arg2, int out) {
  pid_t pid;
  fflush(stdout);
  pid = fork();
  if (pid == 0) {
    if (out >= 0 && dup2(out, 1) < 0) _exit(2);
    execl("/proc/self/exe", "streams_host", arg1, arg2, (char*)NULL);
    _exit(2);
  }
  return pid;
}

/* Waits for PID; answers its exit status, 128 + the signal that ended it, or -1. */
static int finish(pid_t pid) {
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

/* What can be read from FD now, without its carriage returns, in TEXT (SIZE bytes). */
static void drain(int fd, char* text, size_t size) {
  size_t used = 0;
  char c;
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  while (read(fd, &c, 1) == 1) {
    if (c != '\r' && used + 1 < size) text[used++] = c;
  }
  text[used] = '\0';
}

static void checkLog(const char* what, int status, const char* text) {
  char line[160];
  snprintf(line, sizeof line, "%s: the child's IOSTATs", what);
  expect(status == 0, line);
  snprintf(line, sizeof line, "%s: both lines arrive, in order", what);
  expect(strcmp(text, kExpectedLog) == 0, line);
  if (strcmp(text, kExpectedLog) != 0) printf("got [%s]\n", text);
}

int main(int argc, char** argv) {
  char base[4096], scratch[4200], fifo[4200], text[1024];
  const char* tmp = getenv("TMPDIR");
  const char* endings[] = {"return", "exit", "signal"};
  const int endStatus[] = {0, 0, 128 + SIGKILL};
  int fds[2], reader, master, held, k;
  pid_t pid;

  if (argc > 1) return child(argc, argv);

  snprintf(base, sizeof base, "%s/streams_hostXXXXXX", tmp != NULL && *tmp != '\0' ? tmp : "/tmp");
  if (mkdtemp(base) == NULL) {
    printf("FAILED no private directory: %s\n", strerror(errno));
    return 1;
  }
  snprintf(scratch, sizeof scratch, "%s/tmp", base);
  snprintf(fifo, sizeof fifo, "%s/log.fifo", base);
  mkdir(scratch, 0700);
  setenv("TMPDIR", scratch, 1);

  /* Standard output a pipe: the log opened as "/dev/stdout". */
  if (pipe(fds) == 0) {
    pid = start("log", "/dev/stdout", fds[1]);
    close(fds[1]);
    k = finish(pid);
    drain(fds[0], text, sizeof text);
    close(fds[0]);
    checkLog("pipe", k, text);
  } else {
    expect(0, "pipe made");
  }

  /* A FIFO, its reader open before the writer comes and gone. */
  expect(mkfifo(fifo, 0600) == 0, "FIFO made");
  reader = open(fifo, O_RDONLY | O_NONBLOCK);
  expect(reader >= 0, "FIFO opened for reading");
  if (reader >= 0) {
    k = finish(start("log", fifo, -1));
    drain(reader, text, sizeof text);
    close(reader);
    checkLog("FIFO", k, text);
  }
  unlink(fifo);

  /* A terminal: "/dev/tty" of a child whose controlling terminal is a pseudo-terminal,
     held open here too so that its lines stay readable after the child's end. */
  master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    printf("SKIPPED terminal case: no pseudo-terminal on this machine (%s)\n", strerror(errno));
  } else {
    held = open(ptsname(master), O_RDWR | O_NOCTTY);
    expect(held >= 0, "pseudo-terminal opened");
    k = finish(start("tty", ptsname(master), -1));
    drain(master, text, sizeof text);
    checkLog("terminal", k, text);
    if (held >= 0) close(held);
  }
  if (master >= 0) close(master);

  /* Scratch units never closed: TMPDIR is empty during the run and after it. */
  for (k = 0; k < 3; ++k) {
    char what[80];
    int status = finish(start("scratch", endings[k], -1));
    snprintf(what, sizeof what, "scratch child ending by %s: its status", endings[k]);
    expect(status == endStatus[k], what);
    if (status != endStatus[k]) printf("status %d\n", status);
    snprintf(what, sizeof what, "scratch child ending by %s: TMPDIR left empty", endings[k]);
    expect(entries(scratch) == 0, what);
  }

  rmdir(scratch);
  rmdir(base);
  return report();
}
