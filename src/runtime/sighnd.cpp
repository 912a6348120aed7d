#include <csignal>

#include "runtime/pltopt.h"
#include "runtime/startup.h"

namespace kvr {
namespace {

void install() {
  struct sigaction action{};
  action.sa_handler = SIGHND;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  ::sigaction(SIGINT, &action, nullptr);
}

}  // namespace

void SIGSET() {
  PLTOPT.interruptFlag = 0;
  install();
}

// Runs asynchronously: it touches only the two volatile words and sigaction, which may be
// called from a signal handler.
void SIGHND(int) {
  PLTOPT.interruptFlag = 0;
  install();
  PLTOPT.interruptFlag = PLTOPT.interruptValue;
}

}  // namespace kvr
