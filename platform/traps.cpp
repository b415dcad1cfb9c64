#include "platform/traps.h"

#include "platform/form.h"
#include "platform/text.h"

namespace velmora {

void RunHandlerGuarded(MessageBoxes& messages, FormEvents& handlers, void (FormEvents::*handler)()) {
  try {
    (handlers.*handler)();
  } catch (const Error& error) {
    messages.MsgBox(error.description(), kMsgBoxExclamation);
  } catch (const std::exception& error) {
    messages.MsgBox(FromUtf8(error.what()), kMsgBoxExclamation);
  }
}

}  // namespace velmora
