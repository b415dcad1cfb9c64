// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Ausschnitt wählen" on Qt Widgets: the photo with the frame over it, the
// live Face beside it, "Übernehmen" and "Abbrechen". The Faces are worked
// out on a thread of their own, a newer frame superseding an older one.

#include <QWidget>

#include "platform/framing_dialog.h"

namespace velmora {

class QtFramingDialog final : public FramingDialog {
 public:
  explicit QtFramingDialog(QWidget& window) : window_(window) {}
  [[nodiscard]] std::optional<framing::Frame> ChooseFrame(const PhotoView& picture, framing::Frame first,
                                                         const FaceOfFrame& faces) override;

 private:
  QWidget& window_;
};

}  // namespace velmora
