#include "platform/stop.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/unitio.h"

namespace kvr {
namespace {

std::vector<PreStopAction>& preStopActions() {
  static std::vector<PreStopAction> actions;
  return actions;
}

std::vector<PreStopAction>& exitActions() {
  static std::vector<PreStopAction> actions;
  return actions;
}

void runExitActions() {
  for (PreStopAction action : exitActions()) action();
}

StopHook& stopHook() {
  static StopHook hook;
  return hook;
}

// The exception the hook threw last, kept so that it can be told from any other.
std::exception_ptr& hookException() {
  static std::exception_ptr thrown;
  return thrown;
}

}  // namespace

void registerPreStop(PreStopAction action) {
  auto& actions = preStopActions();
  for (PreStopAction a : actions) {
    if (a == action) return;
  }
  actions.push_back(action);
}

void registerExitAction(PreStopAction action) {
  auto& actions = exitActions();
  for (PreStopAction a : actions) {
    if (a == action) return;
  }
  // Registered after the unit table exists, the actions run before its closing at exit.
  if (actions.empty()) {
    io::unitIsOpen(io::kStdoutUnit);
    std::atexit(runExitActions);
  }
  actions.push_back(action);
}

void setStopHook(StopHook hook) { stopHook() = std::move(hook); }

bool thrownByStopHook(const std::exception_ptr& e) {
  return e != nullptr && e == hookException();
}

void processStop(int32_t status, bool abort) {
  // An action may itself end in a stop (a failing close); run each one at most once.
  static bool stopping = false;
  if (!stopping) {
    stopping = true;
    for (PreStopAction action : preStopActions()) action();
    io::closeAllUnits();
    std::fflush(nullptr);
    stopping = false;
  }
  if (stopHook()) {
    try {
      stopHook()(status, abort);
    } catch (...) {
      hookException() = std::current_exception();
      throw;
    }
  }
  if (abort) std::abort();
  std::exit(status);
}

}  // namespace kvr
