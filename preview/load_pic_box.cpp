// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/load_pic_box.h"

#include <cmath>
#include <memory>

#include "platform/error.h"
#include "platform/text.h"
#include "preview/number_text.h"

namespace velmora {
namespace {

constexpr char16_t kMissingInput[] = u"Eingabeparameter fehlen";
constexpr char16_t kNoPictureData[] = u"Keine Bilddaten vorhanden";
constexpr char16_t kLibraryUnavailable[] = u"GDIPlus nicht verfügbar";
constexpr char16_t kCannotOpen[] = u"Bitmap kann nicht geöffnet werden";
constexpr char16_t kNoDimensions[] = u"Bitmap-Abmessungen nicht verfügbar";
constexpr char16_t kNoGraphics[] = u"Graphikobjekt nicht verfügbar";
constexpr char16_t kCannotDraw[] = u"Bild kann nicht gezeichnet werden";
constexpr double kTwipsPerReportedPixel = 15.0;
constexpr int kBorderNone = 0;

bool IsBlank(const std::u16string& text) { return text.find_first_not_of(u' ') == std::u16string::npos; }

// Twips to the nearest whole number, an exact half to the even neighbour,
// then back to reported pixels.
double ReportedSize(float twips) { return static_cast<std::int32_t>(std::nearbyint(twips)) / kTwipsPerReportedPixel; }

void WriteSizeReport(Form& form, const std::u16string& path, float width, float height) {
  Label& label = form.Label1;
  const PictureBox& box = form.Picture1;
  const double reportedWidth = ReportedSize(box.ScaleX(width));
  const double reportedHeight = ReportedSize(box.ScaleY(height));
  const char16_t separator = form.App.DecimalSeparator();
  const std::u16string size =
      GeneralNumberText(reportedWidth, separator) + u" x " + GeneralNumberText(reportedHeight, separator);

  if (reportedHeight > kMaxFacePixels || reportedWidth > kMaxFacePixels) {
    label.SetCaption(size + kLineBreak + kTooLargeForFace);
    label.SetForeColor(kColorRed);
    return;
  }
  label.SetForeColor(kColorButtonText);
  label.SetCaption(size + kLineBreak + DecimalText(form.Files.FileLen(path)) + u" Bytes" + kLineBreak + kLineBreak +
                   u"Face Size: " + kLineBreak +
                   DecimalText(form.txt.Text().size()) + u" Zeichen");
}

// The picture library's handles of one call, released in the order image,
// graphics, library whatever way the call ends.
class PictureSession {
 public:
  explicit PictureSession(PictureLibrary& library) : library_(library) {}
  PictureSession(const PictureSession&) = delete;
  PictureSession& operator=(const PictureSession&) = delete;
  ~PictureSession() {
    image.reset();
    graphics.reset();
    if (started_) library_.Shutdown();
  }
  [[nodiscard]] bool Start() { return started_ = library_.Startup() == kPictureOk; }

  std::unique_ptr<Image> image;
  std::unique_ptr<Graphics> graphics;

 private:
  PictureLibrary& library_;
  bool started_ = false;
};

// Steps 5 onward: returns the error text, "" once the picture is drawn.
std::u16string DrawPicture(Form& form, const std::u16string& path, PictureBox& box, bool report) {
  PictureLibrary& library = form.Pictures;
  PictureSession session(library);
  if (!session.Start()) return kLibraryUnavailable;
  if (library.LoadImageFromFile(path, session.image) != kPictureOk || !session.image) return kCannotOpen;
  float width = 0;
  float height = 0;
  if (library.GetImageDimension(*session.image, width, height) != kPictureOk) return kNoDimensions;

  box.SetAutoRedraw(true);
  box.SetBorderStyle(kBorderNone);
  box.ClearPicture();
  if (report) WriteSizeReport(form, path, width, height);

  if (library.CreateFromHDC(box.hDC(), session.graphics) != kPictureOk || !session.graphics) return kNoGraphics;
  if (library.DrawImageRect(*session.graphics, *session.image, 0.0f, 0.0f, width, height) != kPictureOk) {
    return kCannotDraw;
  }
  return u"";
}

}  // namespace

bool LoadPicBox(Form& form, const std::u16string& path, PictureBox* box, bool report, std::u16string& errorText) {
  if (IsBlank(path) || box == nullptr) {
    errorText = kMissingInput;
    return false;
  }
  try {
    // Hidden files and folders count as missing, like plain and read-only
    // files do not.
    if (form.Files.Dir(path, kAttrReadOnly).empty()) {
      errorText = kNoPictureData;
      box->ClearPicture();
      form.Label1.SetCaption(u"");
      return false;
    }
    errorText = DrawPicture(form, path, *box, report);
  } catch (const Error& error) {
    errorText = error.description();
  }
  return errorText.empty();
}

}  // namespace velmora
