// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drops onto the window: a picture file dropped anywhere on it goes to the
// handlers; the pointer refuses anything else (see DroppablePicture). Text
// dropped onto the code box is the box's own affair.

#include <QDropEvent>
#include <QObject>
#include <QWidget>
#include <optional>
#include <string>

#include "platform/event_router.h"
#include "platform/file_system.h"

namespace velmora {

class PictureDropTarget final : public QObject {
 public:
  PictureDropTarget(QWidget& window, const EventRouter& events, FileSystem& files);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The picture a drag brings, accepted as a copy (a source told that its
  // file moved would delete it); none, and refused, for anything else.
  std::optional<std::u16string> AcceptPicture(QDropEvent& event);

  const EventRouter& events_;
  FileSystem& files_;
};

}  // namespace velmora
