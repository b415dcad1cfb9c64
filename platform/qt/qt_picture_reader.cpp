// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_picture_reader.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageIOHandler>
#include <QImageReader>
#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

// Reads from the file's bytes in place; they must outlive the reader.
class Reading {
 public:
  explicit Reading(std::string_view file)
      : bytes_(QByteArray::fromRawData(file.data(), static_cast<qsizetype>(file.size()))), buffer_(&bytes_) {
    buffer_.open(QIODevice::ReadOnly);
    reader_.setDevice(&buffer_);
    reader_.setAutoTransform(true);
  }

  // The size as stored, before the EXIF turn; invalid when unreadable.
  [[nodiscard]] QSize StoredSize() const { return reader_.size(); }

  [[nodiscard]] bool Turned() const {
    return (reader_.transformation() & QImageIOHandler::TransformationRotate90) != 0;
  }

  [[nodiscard]] std::variant<UprightSize, PictureReadError> Size() const {
    const QSize stored = StoredSize();
    if (!stored.isValid() || stored.isEmpty()) return PictureReadError::kUnreadable;
    if (static_cast<std::uint64_t>(stored.width()) * static_cast<std::uint64_t>(stored.height()) >
        kMostPicturePixels) {
      return PictureReadError::kTooManyPixels;
    }
    return Turned() ? UprightSize{stored.height(), stored.width()} : UprightSize{stored.width(), stored.height()};
  }

  QImageReader& reader() { return reader_; }

 private:
  QByteArray bytes_;
  QBuffer buffer_;
  QImageReader reader_;
};

// The stored size to read at so that the longer side stays at least
// `longestSide`: JPEG reads at a half, a quarter or an eighth almost for
// free.
QSize ReducedSize(QSize stored, int longestSide) {
  const int longer = std::max(stored.width(), stored.height());
  if (longer <= longestSide) return stored;
  const double scale = static_cast<double>(longestSide) / longer;
  return {std::max(1, static_cast<int>(std::ceil(stored.width() * scale))),
          std::max(1, static_cast<int>(std::ceil(stored.height() * scale)))};
}

// What Qt may allocate for a picture, in MiB: kMostPicturePixels at 4 bytes
// each, and some to spare. Qt's own limit of 128 MiB stops at 32 megapixels.
constexpr int kAllocationMegabytes = static_cast<int>(kMostPicturePixels * 4 / (1u << 20)) + 16;

}  // namespace

QtPictureReader::QtPictureReader() { QImageReader::setAllocationLimit(kAllocationMegabytes); }

std::variant<UprightSize, PictureReadError> QtPictureReader::SizeOf(std::string_view file) {
  return Reading(file).Size();
}

std::variant<UprightPicture, PictureReadError> QtPictureReader::Read(std::string_view file, int longestSide) {
  Reading reading(file);
  const auto size = reading.Size();
  if (const auto* error = std::get_if<PictureReadError>(&size)) return *error;
  const UprightSize full = std::get<UprightSize>(size);
  if (reading.reader().supportsOption(QImageIOHandler::ScaledSize)) {
    reading.reader().setScaledSize(ReducedSize(reading.StoredSize(), longestSide));
  }
  QImage image = reading.reader().read();
  if (image.isNull()) return PictureReadError::kUnreadable;
  image.convertTo(QImage::Format_RGBA8888);
  // Rows of 4-byte pixels follow each other without a gap.
  const uchar* bits = image.constBits();
  return UprightPicture{image.width(), image.height(), {bits, bits + image.sizeInBytes()},
                        static_cast<double>(image.width()) / full.width};
}

}  // namespace velmora
