#pragma once
// Routes the controls' events to the window's handlers. Until the platform
// starts there are no handlers, and events raise nothing.

#include <functional>

#include "platform/form.h"

namespace velmora {

using Handler = void (FormEvents::*)();

class EventRouter {
 public:
  explicit EventRouter(MessageBoxes& messages) : messages_(messages) {}
  void Attach(FormEvents& handlers) { handlers_ = &handlers; }
  // Runs the handler now; an error escaping it shows in a warning box.
  void Raise(Handler handler) const;
  // Runs a user's action that is no handler of its own (opening a folder in
  // the folder list) with the same guard: no error may reach the event loop.
  void RunGuarded(const std::function<void()>& action) const;

 private:
  MessageBoxes& messages_;
  FormEvents* handlers_ = nullptr;
};

}  // namespace velmora
