// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/traps.h"

#include <new>

#include "platform/services.h"

namespace velmora {

void RunShowingErrors(MessageBoxes& messages, const std::function<void()>& work) {
  try {
    work();
  } catch (const Error& error) {
    messages.MsgBox(error.description(), kMsgBoxExclamation);
  } catch (const std::bad_alloc&) {
    messages.MsgBox(DescriptionOf(kErrOutOfMemory), kMsgBoxExclamation);
  } catch (const std::exception&) {
    // Library texts are English; the user reads German only.
    messages.MsgBox(DescriptionOf(kErrApplicationDefined), kMsgBoxExclamation);
  }
}

}  // namespace velmora
