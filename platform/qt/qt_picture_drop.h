#pragma once
// Drops onto the window: a picture file dropped anywhere on it goes to the
// handlers; the pointer refuses anything else (see DroppablePicture). Text
// dropped onto the code box is the box's own affair.

#include <QObject>
#include <QWidget>

#include "platform/event_router.h"

namespace velmora {

class PictureDropTarget final : public QObject {
 public:
  PictureDropTarget(QWidget& window, const EventRouter& events);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const EventRouter& events_;
};

}  // namespace velmora
