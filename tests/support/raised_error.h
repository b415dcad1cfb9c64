// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The number of the velmora::Error an action raises.

#include <functional>

#include "platform/error.h"

namespace velmora::test {

// 0 when the action raises no error.
inline int RaisedError(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.number();
  }
  return 0;
}

}  // namespace velmora::test
