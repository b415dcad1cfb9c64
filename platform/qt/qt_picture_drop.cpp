// SPDX-License-Identifier: GPL-3.0-or-later
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

// The dropped paths; none at all when one of them is not a local file.
std::vector<std::u16string> PathsOf(const QMimeData& dropped) {
  std::vector<std::u16string> paths;
  for (const QUrl& url : dropped.urls()) {
    if (!url.isLocalFile()) return {};
    // The path's own bytes, percent-encoded in the URL: a name that is not
    // UTF-8 must reach the same file.
    paths.push_back(FromNativeName(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString()));
  }
  return paths;
}

}  // namespace

std::optional<std::u16string> PictureDropTarget::AcceptPicture(QDropEvent& event) {
  std::optional<std::u16string> picture;
  if (event.possibleActions() & Qt::CopyAction) picture = DroppablePicture(files_, PathsOf(*event.mimeData()));
  if (!picture) {
    event.ignore();
    return picture;
  }
  event.setDropAction(Qt::CopyAction);
  event.accept();
  return picture;
}

PictureDropTarget::PictureDropTarget(QWidget& window, const EventRouter& events, FileSystem& files)
    : events_(events), files_(files) {
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
