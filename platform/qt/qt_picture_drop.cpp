#include "platform/qt/qt_picture_drop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/browser_state.h"
#include "platform/text.h"

namespace velmora {
namespace {

std::optional<std::u16string> PictureOf(const QMimeData& dropped) {
  std::vector<std::u16string> paths;
  for (const QUrl& url : dropped.urls()) {
    if (!url.isLocalFile()) return std::nullopt;
    // The path's own bytes, percent-encoded in the URL: a name that is not
    // UTF-8 must reach the same file.
    paths.push_back(FromNativeName(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString()));
  }
  return DroppablePicture(paths);
}

// The picture a drag brings, accepted as a copy (a source told that its file
// moved would delete it); none, and refused, for anything else.
std::optional<std::u16string> AcceptPicture(QDropEvent& event) {
  std::optional<std::u16string> picture;
  if (event.possibleActions() & Qt::CopyAction) picture = PictureOf(*event.mimeData());
  if (!picture) {
    event.ignore();
    return picture;
  }
  event.setDropAction(Qt::CopyAction);
  event.accept();
  return picture;
}

}  // namespace

PictureDropTarget::PictureDropTarget(QWidget& window, const EventRouter& events) : events_(events) {
  window.setAcceptDrops(true);
  window.installEventFilter(this);
}

bool PictureDropTarget::eventFilter(QObject* /*watched*/, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
      (void)AcceptPicture(*static_cast<QDropEvent*>(event));
      return true;
    case QEvent::Drop:
      if (auto picture = AcceptPicture(*static_cast<QDropEvent*>(event))) {
        // After the drop has ended: the handler may open message boxes, which
        // must not hold up the program the file came from.
        QTimer::singleShot(0, this, [this, path = std::move(*picture)] {
          events_.Raise(&FormEvents::Form_DropFile, path);
        });
      }
      return true;
    default:
      return false;
  }
}

}  // namespace velmora
