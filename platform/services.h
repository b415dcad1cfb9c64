// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application-wide services the window logic calls.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/controls.h"

namespace velmora {

class Application {
 public:
  virtual ~Application() = default;
  // The folder that holds the program file.
  [[nodiscard]] virtual std::u16string Path() const = 0;
  [[nodiscard]] virtual int Major() const = 0;
  [[nodiscard]] virtual int Minor() const = 0;
  [[nodiscard]] virtual int Revision() const = 0;
  // The user's decimal separator, from the system locale (',' in German).
  [[nodiscard]] virtual char16_t DecimalSeparator() const = 0;
};

inline constexpr int kClipboardText = 1;

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The clipboard's text in the given format; "" when it holds none.
  [[nodiscard]] virtual std::u16string GetText(int format) = 0;
  // Replaces the clipboard's content by the text.
  virtual void SetText(const std::u16string& text) = 0;
  // Whether the clipboard holds a picture, as a screenshot tool, a browser or
  // an image editor puts one there.
  [[nodiscard]] virtual bool HasPicture() = 0;
  // That picture as a PNG file; "" when the clipboard holds none.
  [[nodiscard]] virtual std::string GetPicture() = 0;
};

enum MsgBoxStyle : int { kMsgBoxOkOnly = 0, kMsgBoxExclamation = 48 };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A modal box with the prompt, the title "Velmora" and the style's button
  // and icon; returns when the user closes it.
  virtual void MsgBox(const std::u16string& prompt, int style) = 0;
};

class EventPump {
 public:
  virtual ~EventPump() = default;
  // Processes every pending window event, running their handlers nested.
  virtual void DoEvents() = 0;
};

// The picture library in the shape of GDI+'s flat interface: every call
// returns a status, 0 on success. Handles are released by dropping them.
using PictureStatus = int;
inline constexpr PictureStatus kPictureOk = 0;

class Image {
 public:
  virtual ~Image() = default;
};

class Graphics {
 public:
  virtual ~Graphics() = default;
};

class PictureLibrary {
 public:
  virtual ~PictureLibrary() = default;
  virtual PictureStatus Startup() = 0;
  virtual void Shutdown() = 0;
  // Opens and decodes a picture file (PNG at least).
  virtual PictureStatus LoadImageFromFile(const std::u16string& path, std::unique_ptr<Image>& image) = 0;
  // The picture's size in pixels.
  virtual PictureStatus GetImageDimension(const Image& image, float& width, float& height) = 0;
  // A drawing surface on a picture box's persistent image.
  virtual PictureStatus CreateFromHDC(DeviceContext& hdc, std::unique_ptr<Graphics>& graphics) = 0;
  // Draws the whole picture with its top-left corner at (x, y), at the given size.
  virtual PictureStatus DrawImageRect(Graphics& graphics, const Image& image, float x, float y, float width,
                                      float height) = 0;
};

}  // namespace velmora
