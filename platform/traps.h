// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window logic's two error traps besides try/catch (the error branch).

#include <functional>

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

// Runs one event's work for the platform's dispatch. An error escaping it is
// shown in a warning box instead of reaching the event loop.
void RunShowingErrors(MessageBoxes& messages, const std::function<void()>& work);

}  // namespace velmora
