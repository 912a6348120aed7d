#include "platform/oscmd.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace kvr::os {
namespace {

// Waits for the child PID, retrying when a signal interrupts the wait.
int waitChild(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

// Reports the error number ERR of a failed start through the pipe FD and ends the child
// without running the parent's exit handlers or flushing its copies of the streams.
[[noreturn]] void failChild(int fd, int err) {
  ssize_t n;
  do {
    n = write(fd, &err, sizeof err);
  } while (n < 0 && errno == EINTR);
  _exit(127);
}

}  // namespace

int32_t runShell(const std::string& command) {
  // Output still buffered here must come out before anything the command writes.
  std::fflush(nullptr);
  int status = std::system(command.c_str());
  if (status == -1 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::vector<std::string> splitArguments(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word.push_back(c);
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

int spawnProgram(const std::string& program, const std::vector<std::string>& args, bool wait) {
  // Everything the child needs is made before the fork: after it, the child only execs.
  std::vector<std::string> store;
  store.reserve(args.size() + 1);
  store.push_back(program);
  store.insert(store.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& s : store) argv.push_back(s.data());
  argv.push_back(nullptr);

  // The child writes the error number of a failed start into this pipe; a successful exec
  // closes the child's end (close-on-exec), so the parent reads end of file instead.
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return errno;
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid < 0) {
    int err = errno;
    close(fds[0]);
    close(fds[1]);
    return err;
  }
  if (pid == 0) {
    close(fds[0]);
    if (!wait) {
      // A program not waited for runs as a grandchild: its parent ends at once and is
      // reaped below, so the program is adopted by the system, which reaps it.
      pid_t grandchild = fork();
      if (grandchild < 0) failChild(fds[1], errno);
      if (grandchild > 0) _exit(0);
    }
    execvp(argv[0], argv.data());
    failChild(fds[1], errno);
  }
  close(fds[1]);
  int err = 0;
  ssize_t n;
  do {
    n = read(fds[0], &err, sizeof err);
  } while (n < 0 && errno == EINTR);
  if (n != static_cast<ssize_t>(sizeof err)) err = 0;
  close(fds[0]);
  waitChild(pid);
  return err;
}

}  // namespace kvr::os
