// The process stop: every fatal end of the library comes here.
//
// processStop runs the pre-stop actions that other subsystems registered (the release of
// this process's own database write lock among them), flushes and closes every unit, then
// ends the process with STATUS, or by abort() when ABORT is set. Tests install a hook that
// is called in place of the end, after the actions and the closing; the hook may throw to
// unwind back into the test (the one exception thrown inside the library).
#pragma once

#include <cstdint>
#include <exception>
#include <functional>

namespace kvr {

using PreStopAction = void (*)();

// Registers ACTION to run before the units are closed; an action registered twice runs
// once. Actions run in the order they were registered.
void registerPreStop(PreStopAction action);

// Registers ACTION to run when the process ends normally (exit, or a return from main),
// before the units still open are closed; an action registered twice runs once.
void registerExitAction(PreStopAction action);

[[noreturn]] void processStop(int32_t status, bool abort = false);

// Test seam: with a hook set, processStop calls it instead of ending the process. The
// hook must not return (throw); if it does, the process ends as without a hook.
using StopHook = std::function<void(int32_t status, bool abort)>;
void setStopHook(StopHook hook);

// True when E is the exception that the stop hook threw last, on its way back to the test
// (the exported routines let it pass and answer every other exception with a refusal).
bool thrownByStopHook(const std::exception_ptr& e);

}  // namespace kvr
