// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and the window as a whole: the title, closing, selecting the code.

#include <string>

#include "platform/text.h"
#include "window/frm_base64.h"

namespace velmora {
void FrmBase64::Form_Load() {
  f_.lstDrive.SetDrive(f_.App.Path());
  f_.frmBase64.SetCaption(f_.frmBase64.Caption() + u" - " + DecimalText(f_.App.Major()) + u"." +
                          DecimalText(f_.App.Minor()) + u"." + DecimalText(f_.App.Revision()));
}

void FrmBase64::Command1_Click() { f_.frmBase64.Unload(); }

void FrmBase64::txt_GotFocus() {
  f_.txt.SetSelStart(0);
  f_.txt.SetSelLength(static_cast<int>(f_.txt.Text().size()));
}

}  // namespace velmora
