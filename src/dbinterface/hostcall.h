// The one way an exported routine calls into the library: nothing unwinds into
// the host.
//
// forwardCall runs BODY; an exception thrown inside it answers REFUSAL, the
// routine's own refusal (a code that tells the host the call was not taken), so
// a C or Fortran caller never sees an exception. The one exception let through
// is the stop's test hook's (setStopHook), which tests throw to come back from
// a stop; a normal build sets no hook.
#pragma once

#include <exception>

#include "platform/stop.h"

namespace kvr {

template <class Body, class Refusal>
void forwardCall(Body&& body, Refusal&& refusal) {
  try {
    body();
  } catch (...) {
    if (thrownByStopHook(std::current_exception())) throw;
    refusal();
  }
}

// A routine without an out-argument: a failed call simply has no effect.
template <class Body>
void forwardCall(Body&& body) {
  forwardCall(static_cast<Body&&>(body), [] {});
}

}  // namespace kvr
