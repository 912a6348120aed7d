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

StopHook& stopHook() {
  static StopHook hook;
  return hook;
}

}  // namespace

void registerPreStop(PreStopAction action) {
  auto& actions = preStopActions();
  for (PreStopAction a : actions) {
    if (a == action) return;
  }
  actions.push_back(action);
}

void setStopHook(StopHook hook) { stopHook() = std::move(hook); }

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
  if (stopHook()) stopHook()(status, abort);
  if (abort) std::abort();
  std::exit(status);
}

}  // namespace kvr
