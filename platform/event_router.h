// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Routes the controls' events to the window's handlers. Until the platform
// starts there are no handlers, and events raise nothing.

#include <functional>
#include <type_traits>

#include "platform/form.h"

namespace velmora {

using Handler = void (FormEvents::*)();

class EventRouter {
 public:
  explicit EventRouter(MessageBoxes& messages) : messages_(messages) {}
  void Attach(FormEvents& handlers) { handlers_ = &handlers; }
  // Runs the handler now; an error escaping it shows in a warning box.
  void Raise(Handler handler) const;
  // The same for a handler that takes the event's details.
  template <class Detail>
  void Raise(void (FormEvents::*handler)(Detail), std::type_identity_t<Detail> detail) const {
    if (handlers_ != nullptr) RunGuarded([this, handler, &detail] { (handlers_->*handler)(detail); });
  }
  // The handlers' answer to what the platform asks before it shows something
  // (a menu entry's state, a tooltip); the empty answer before they attach
  // or when answering fails.
  template <class Answer>
  [[nodiscard]] Answer Ask(Answer (FormEvents::*query)()) const {
    Answer answer{};
    if (handlers_ != nullptr) RunGuarded([this, query, &answer] { answer = (handlers_->*query)(); });
    return answer;
  }
  // Runs a user's action that is no handler of its own (opening a folder in
  // the folder list) with the same guard: no error may reach the event loop.
  void RunGuarded(const std::function<void()>& action) const;

 private:
  MessageBoxes& messages_;
  FormEvents* handlers_ = nullptr;
};

}  // namespace velmora
