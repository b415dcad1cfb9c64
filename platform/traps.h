#pragma once
// The window logic's two error traps besides try/catch (the error branch).

#include <string>

#include "platform/error.h"

namespace velmora {

// Resume-next: runs one step; a failing step is abandoned and the routine
// carries on with the next.
template <class Step>
void ResumeNext(Step&& step) {
  try {
    step();
  } catch (const Error&) {
  }
}

// A test under resume-next: when evaluating it fails, the routine goes on
// with what the test governs, as if it had passed.
template <class Test>
[[nodiscard]] bool ResumeNextTest(Test&& test) {
  try {
    return test();
  } catch (const Error&) {
    return true;
  }
}

class MessageBoxes;
class FormEvents;

// Runs one handler for the platform's event dispatch. An error escaping it
// is shown in a warning box instead of reaching the event loop.
void RunHandlerGuarded(MessageBoxes& messages, FormEvents& handlers, void (FormEvents::*handler)());

}  // namespace velmora
