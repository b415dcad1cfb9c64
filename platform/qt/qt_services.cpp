// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_services.h"

#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QRegularExpression>

#include "platform/line_breaks.h"
#include "platform/qt/qt_string.h"
#include "platform/version.h"

namespace velmora {

std::u16string QtApplication::Path() const { return FromQString(QCoreApplication::applicationDirPath()); }

int QtApplication::Major() const { return kVersionMajor; }

int QtApplication::Minor() const { return kVersionMinor; }

int QtApplication::Revision() const { return kVersionRevision; }

char16_t QtApplication::DecimalSeparator() const { return QLocale::system().decimalPoint().front().unicode(); }

// Line breaks come as the program that copied the text wrote them.
std::u16string QtClipboard::GetText(int /*format*/) {
  return CrLfText(FromQString(QGuiApplication::clipboard()->text()));
}

// Other programs get the system's line break: a CR pasted into a mail header
// would stay in it as a stray character.
void QtClipboard::SetText(const std::u16string& text) {
  QGuiApplication::clipboard()->setText(ToQString(ShownText(text)));
}

namespace {

const QString kPngMimeType = QStringLiteral("image/png");
// zlib's fastest level: the file goes straight to a decoder, never to disk,
// and a screenshot of a large screen is written in about two thirds of the
// default level's time.
constexpr int kFastPngQuality = 80;

const QMimeData* ClipboardContent() { return QGuiApplication::clipboard()->mimeData(); }

// The image types the clipboard's owner offers. The X11 clipboard reports
// them as an image Qt can read as well; a clipboard of this process does not.
QStringList PictureFormats(const QMimeData& content) {
  return content.formats().filter(QRegularExpression(QStringLiteral("^image/")));
}

// "" for a null image.
std::string PngFileOf(const QImage& image) {
  if (image.isNull()) return {};
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG", kFastPngQuality)) return {};
  return png.toStdString();
}

}  // namespace

bool QtClipboard::HasPicture() {
  const QMimeData* content = ClipboardContent();
  return content != nullptr && (content->hasImage() || !PictureFormats(*content).isEmpty());
}

std::string QtClipboard::GetPicture() {
  const QMimeData* content = ClipboardContent();
  if (content == nullptr) return {};
  // A PNG file offered as it is keeps its exact pixels, depth and alpha.
  if (content->hasFormat(kPngMimeType)) {
    const QByteArray png = content->data(kPngMimeType);
    if (!png.isEmpty()) return png.toStdString();
  }
  if (content->hasImage()) return PngFileOf(qvariant_cast<QImage>(content->imageData()));
  for (const QString& format : PictureFormats(*content)) {
    const QImage image = QImage::fromData(content->data(format));
    if (!image.isNull()) return PngFileOf(image);
  }
  return {};
}

void QtMessageBoxes::MsgBox(const std::u16string& prompt, int style) {
  const QMessageBox::Icon icon = style == kMsgBoxExclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
  QMessageBox box(icon, QStringLiteral("Velmora"), ToQString(ShownText(prompt)), QMessageBox::Ok, &window_);
  box.setObjectName(QStringLiteral("MsgBox"));
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void QtEventPump::DoEvents() { QCoreApplication::processEvents(); }

}  // namespace velmora
