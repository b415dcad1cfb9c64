#include "platform/traps.h"

#include "platform/services.h"
#include "platform/text.h"

namespace velmora {

void RunShowingErrors(MessageBoxes& messages, const std::function<void()>& work) {
  try {
    work();
  } catch (const Error& error) {
    messages.MsgBox(error.description(), kMsgBoxExclamation);
  } catch (const std::exception& error) {
    messages.MsgBox(FromUtf8(error.what()), kMsgBoxExclamation);
  }
}

}  // namespace velmora
