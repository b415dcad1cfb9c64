// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_framing_dialog.h"

#include <QAccessible>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "platform/qt/qt_string.h"

namespace velmora {
namespace {

constexpr int kFaceSide = 48;
constexpr int kViewSide = 560;     // the view's preferred size, device-independent pixels
constexpr int kGripPixels = 10;    // how near a corner a press grips it, in view pixels
constexpr int kHandlePixels = 8;   // the corner handles' side
constexpr int kEnlarged = 4;       // the enlarged Face: 192 pixels
constexpr int kRestMilliseconds = 150;  // a frame this long unchanged gets its exact Face
constexpr int kWheelNotch = 120;

framing::Point ToPoint(QPointF point) { return {point.x(), point.y()}; }
QPointF ToQPoint(framing::Point point) { return {point.x, point.y}; }

// The shown copy in place, without copying it.
QImage ShownImage(const PhotoView& photo) {
  return {photo.shownRgba.data(), photo.shownWidth, photo.shownHeight, photo.shownWidth * 4, QImage::Format_RGBA8888};
}

// A picture of kFaceSide square pixels shown `times` as large with sharp
// pixels, in the screen's own pixels.
QPixmap SharpPixmap(const QImage& face, int times, qreal devicePixelRatio) {
  const int side = static_cast<int>(std::lround(kFaceSide * times * devicePixelRatio));
  QPixmap pixmap = QPixmap::fromImage(face.scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  pixmap.setDevicePixelRatio(devicePixelRatio);
  return pixmap;
}

QImage FaceImage(const FramedFace& face) {
  return QImage(face.rgba.data(), kFaceSide, kFaceSide, kFaceSide * 4, QImage::Format_RGBA8888).copy();
}

QImage XFaceImage(const FramedFace& face) {
  QImage image(kFaceSide, kFaceSide, QImage::Format_RGB32);
  for (int y = 0; y < kFaceSide; ++y) {
    for (int x = 0; x < kFaceSide; ++x) {
      const bool white = face.xFace[static_cast<std::size_t>(y * kFaceSide + x)] != 0;
      image.setPixel(x, y, white ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
  }
  return image;
}

// Works out Faces away from the user-interface thread: the newest request
// replaces one not yet started, and each result goes to `deliver`.
class PreviewWorker {
 public:
  using Deliver = std::function<void(int request, bool exact, FramedFace face)>;

  PreviewWorker(const FaceOfFrame& faces, Deliver deliver)
      : faces_(faces), deliver_(std::move(deliver)), thread_([this] { Run(); }) {}
  PreviewWorker(const PreviewWorker&) = delete;
  PreviewWorker& operator=(const PreviewWorker&) = delete;
  ~PreviewWorker() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }

  void Request(int request, framing::Frame frame, bool exact) {
    {
      const std::lock_guard lock(mutex_);
      pending_ = Job{request, frame, exact};
    }
    wake_.notify_one();
  }

 private:
  struct Job {
    int request;
    framing::Frame frame;
    bool exact;
  };

  void Run() {
    for (;;) {
      Job job{};
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
        if (stopping_) return;
        job = *pending_;
        pending_.reset();
      }
      deliver_(job.request, job.exact, job.exact ? faces_.Exact(job.frame) : faces_.Quick(job.frame));
    }
  }

  const FaceOfFrame& faces_;
  Deliver deliver_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> pending_;
  bool stopping_ = false;
  std::thread thread_;  // last: starts once the rest is ready
};

// The photo with the frame: dragged to move, its corners dragged to resize,
// the wheel and the keys as framing/frame.h says.
class FrameView final : public QWidget {
 public:
  FrameView(const PhotoView& picture, framing::Frame first, std::function<void()> changed)
      : shown_(ShownImage(picture)),
        size_(picture.size),
        frame_(framing::Clamped(first, size_)),
        changed_(std::move(changed)) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(kViewSide / 2, kViewSide / 2);
    setAccessibleName(QStringLiteral("Ausschnitt"));
    setAccessibleDescription(ToQString(framing::FrameDescription(frame_)));
  }

  [[nodiscard]] framing::Frame frame() const { return frame_; }
  [[nodiscard]] QSize sizeHint() const override { return {kViewSide, kViewSide}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    const framing::ViewMapping view = Mapping();
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    const QRectF pictureRect(ToQPoint(view.ToView({0, 0})), ToQPoint(view.ToView({double(size_.width),
                                                                                   double(size_.height)})));
    painter.drawImage(pictureRect, shown_);
    const QRectF frameRect = FrameRect(view);
    QPainterPath outside;
    outside.addRect(rect());
    outside.addRect(frameRect);
    painter.fillPath(outside, QColor(0, 0, 0, 140));  // odd-even fill: all but the frame
    painter.setPen(QPen(Qt::black, 3));
    painter.drawRect(frameRect);
    painter.setPen(QPen(hasFocus() ? palette().color(QPalette::Highlight) : QColor(Qt::white), 1.5));
    painter.drawRect(frameRect);
    for (const QPointF corner : {frameRect.topLeft(), frameRect.topRight(), frameRect.bottomLeft(),
                                 frameRect.bottomRight()}) {
      const QRectF handle(corner - QPointF(kHandlePixels / 2.0, kHandlePixels / 2.0),
                          QSizeF(kHandlePixels, kHandlePixels));
      painter.fillRect(handle, Qt::white);
      painter.setPen(QPen(Qt::black, 1));
      painter.drawRect(handle);
    }
  }

  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    const framing::ViewMapping view = Mapping();
    grip_ = framing::GripAt(frame_, view.ToPicture(ToPoint(event->position())), kGripPixels / view.Scale());
    pressedAt_ = view.ToPicture(ToPoint(event->position()));
    pressedFrame_ = frame_;
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    const framing::ViewMapping view = Mapping();
    const framing::Point pointer = view.ToPicture(ToPoint(event->position()));
    if (!(event->buttons() & Qt::LeftButton) || grip_ == framing::Grip::kNone) {
      setCursor(CursorFor(framing::GripAt(frame_, pointer, kGripPixels / view.Scale())));
      return;
    }
    if (grip_ == framing::Grip::kMove) {
      SetFrame(framing::Moved(pressedFrame_, static_cast<int>(std::lround(pointer.x - pressedAt_.x)),
                              static_cast<int>(std::lround(pointer.y - pressedAt_.y)), size_));
    } else {
      SetFrame(framing::DraggedCorner(pressedFrame_, CornerOf(grip_), pointer, size_));
    }
  }

  void mouseReleaseEvent(QMouseEvent*) override { grip_ = framing::Grip::kNone; }

  void wheelEvent(QWheelEvent* event) override {
    wheelRest_ += event->angleDelta().y();
    const int notches = wheelRest_ / kWheelNotch;
    wheelRest_ -= notches * kWheelNotch;
    if (notches != 0) SetFrame(framing::Wheeled(frame_, notches, Mapping().ToPicture(ToPoint(event->position())), size_));
    event->accept();
  }

  void keyPressEvent(QKeyEvent* event) override {
    const std::optional<framing::Key> key = KeyOf(event->key());
    if (!key) {
      QWidget::keyPressEvent(event);
      return;
    }
    SetFrame(framing::AfterKey(frame_, *key, (event->modifiers() & Qt::ShiftModifier) != 0, size_));
  }

  void focusInEvent(QFocusEvent*) override { update(); }
  void focusOutEvent(QFocusEvent*) override { update(); }

 private:
  [[nodiscard]] framing::ViewMapping Mapping() const { return {size_, double(width()), double(height())}; }

  [[nodiscard]] QRectF FrameRect(const framing::ViewMapping& view) const {
    const framing::Point topLeft = view.ToView({double(frame_.left), double(frame_.top)});
    const double side = frame_.size * view.Scale();
    return {topLeft.x, topLeft.y, side, side};
  }

  void SetFrame(framing::Frame frame) {
    if (frame == frame_) return;
    frame_ = frame;
    setAccessibleDescription(ToQString(framing::FrameDescription(frame_)));
    QAccessibleEvent accessibleEvent(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&accessibleEvent);
    update();
    changed_();
  }

  static framing::Corner CornerOf(framing::Grip grip) {
    switch (grip) {
      case framing::Grip::kTopRight: return framing::Corner::kTopRight;
      case framing::Grip::kBottomLeft: return framing::Corner::kBottomLeft;
      case framing::Grip::kBottomRight: return framing::Corner::kBottomRight;
      default: return framing::Corner::kTopLeft;
    }
  }

  static Qt::CursorShape CursorFor(framing::Grip grip) {
    switch (grip) {
      case framing::Grip::kMove: return Qt::SizeAllCursor;
      case framing::Grip::kTopLeft:
      case framing::Grip::kBottomRight: return Qt::SizeFDiagCursor;
      case framing::Grip::kTopRight:
      case framing::Grip::kBottomLeft: return Qt::SizeBDiagCursor;
      case framing::Grip::kNone: break;
    }
    return Qt::ArrowCursor;
  }

  static std::optional<framing::Key> KeyOf(int key) {
    switch (key) {
      case Qt::Key_Left: return framing::Key::kLeft;
      case Qt::Key_Right: return framing::Key::kRight;
      case Qt::Key_Up: return framing::Key::kUp;
      case Qt::Key_Down: return framing::Key::kDown;
      case Qt::Key_Plus: return framing::Key::kPlus;
      case Qt::Key_Minus: return framing::Key::kMinus;
      default: return std::nullopt;
    }
  }

  QImage shown_;
  framing::PictureSize size_;
  framing::Frame frame_;
  std::function<void()> changed_;
  framing::Grip grip_ = framing::Grip::kNone;
  framing::Point pressedAt_{};
  framing::Frame pressedFrame_{};
  int wheelRest_ = 0;
};

// The Face beside the photo: at 1:1, enlarged with sharp pixels, its bytes,
// and the X-Face.
class FacePanel final : public QWidget {
 public:
  FacePanel() {
    auto* layout = new QVBoxLayout(this);
    actual_ = AddLabel(layout, QStringLiteral("Face 1:1"));
    enlarged_ = AddLabel(layout, QStringLiteral("Face vergrößert"));
    bytes_ = new QLabel(this);
    layout->addWidget(bytes_);
    xFace_ = AddLabel(layout, QStringLiteral("X-Face"));
    layout->addStretch();
    enlarged_->setMinimumSize(kFaceSide * kEnlarged, kFaceSide * kEnlarged);
  }

  void Show(const FramedFace& face) {
    const qreal ratio = devicePixelRatioF();
    const QImage image = FaceImage(face);
    actual_->setPixmap(SharpPixmap(image, 1, ratio));
    enlarged_->setPixmap(SharpPixmap(image, kEnlarged, ratio));
    if (face.bytes > 0) {
      bytes_->setText(QStringLiteral("%1 Bytes").arg(face.bytes));
      if (!face.xFace.empty()) xFace_->setPixmap(SharpPixmap(XFaceImage(face), 1, ratio));
    } else {
      bytes_->setText(QStringLiteral("… Bytes"));
    }
  }

 private:
  QLabel* AddLabel(QVBoxLayout* layout, const QString& name) {
    auto* caption = new QLabel(name, this);
    auto* label = new QLabel(this);
    label->setAccessibleName(name);
    layout->addWidget(caption);
    layout->addWidget(label);
    return label;
  }

  QLabel* actual_;
  QLabel* enlarged_;
  QLabel* bytes_;
  QLabel* xFace_;
};

}  // namespace

std::optional<framing::Frame> QtFramingDialog::ChooseFrame(const PhotoView& picture, framing::Frame first,
                                                          const FaceOfFrame& faces) {
  QDialog dialog(&window_);
  dialog.setObjectName(QStringLiteral("framingDialog"));
  dialog.setWindowTitle(QStringLiteral("Ausschnitt wählen"));
  auto* panel = new FacePanel;
  int request = 0;
  QTimer rest;
  rest.setSingleShot(true);
  rest.setInterval(kRestMilliseconds);
  QPointer<QDialog> alive(&dialog);
  PreviewWorker worker(faces, [alive, panel, &request](int done, bool, FramedFace face) {
    QMetaObject::invokeMethod(
        alive.data(),
        [alive, panel, &request, done, face = std::move(face)] {
          if (alive && done == request) panel->Show(face);
        },
        Qt::QueuedConnection);
  });
  FrameView* view = nullptr;
  const auto changed = [&] {
    ++request;
    worker.Request(request, view->frame(), false);
    rest.start();
  };
  view = new FrameView(picture, first, changed);
  QObject::connect(&rest, &QTimer::timeout, &dialog, [&] { worker.Request(request, view->frame(), true); });

  auto* buttons = new QDialogButtonBox;
  QPushButton* accept = buttons->addButton(QStringLiteral("Übernehmen"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
  accept->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  auto* layout = new QGridLayout(&dialog);
  layout->addWidget(view, 0, 0);
  layout->addWidget(panel, 0, 1);
  layout->addWidget(buttons, 1, 0, 1, 2);
  layout->setColumnStretch(0, 1);
  layout->setRowStretch(0, 1);
  view->setFocus();
  changed();
  const bool accepted = dialog.exec() == QDialog::Accepted;
  if (!accepted) return std::nullopt;
  return view->frame();
}

}  // namespace velmora
