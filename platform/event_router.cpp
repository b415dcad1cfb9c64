// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/event_router.h"

#include "platform/traps.h"

namespace velmora {

void EventRouter::Raise(Handler handler) const {
  if (handlers_ != nullptr) RunGuarded([this, handler] { (handlers_->*handler)(); });
}

void EventRouter::RunGuarded(const std::function<void()>& action) const { RunShowingErrors(messages_, action); }

}  // namespace velmora
