// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What Velmora's command line asks for. Only the window needs a display, and
// Qt's application object, which the parser's German texts need, must be of
// the right kind from the start. So the window's command line (no option, at
// most one file) is recognised before Qt starts; everything else is parsed by
// Qt's parser under a QCoreApplication, without a display.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "platform/form.h"

namespace velmora {

inline constexpr char kProgramName[] = "velmora";

inline constexpr int kStatusDone = 0;
inline constexpr int kStatusRefused = 1;   // the file gives no Face header
inline constexpr int kStatusBadUsage = 2;  // the command line is wrong

// The window, opened on the picture when there is one.
struct WindowRequest {
  std::optional<std::string> picture;  // the argument's bytes
};

// A square of the picture in its pixels after the EXIF turn: --crop LEFT,TOP,SIZE.
struct CropSquare {
  int left;
  int top;
  int size;  // at least 1
};

// --header [--fold] [--fit [--crop LEFT,TOP,SIZE]] FILE
struct HeaderRequest {
  std::u16string picture;  // as the logic holds paths (FromNativeName)
  bool folded = false;
  bool fitted = false;
  std::optional<CropSquare> crop;  // only with fitted
};

// What is printed instead of a header: help or version on standard output,
// or why the command line is wrong on standard error.
struct Reply {
  std::string text;  // UTF-8
  int status = kStatusDone;
};

// The window's request when the command line has no option and at most one
// file, where "--" ends the options and "-" alone is a file; none otherwise.
[[nodiscard]] std::optional<WindowRequest> WindowRequestOf(std::span<char* const> arguments);

// Any other command line. Needs a QCoreApplication, with Qt's German texts
// installed before the call.
[[nodiscard]] std::variant<HeaderRequest, Reply> ParseCommandLine(std::span<char* const> arguments);

// Opens the picture as dropping it onto the window does; a relative path is
// taken from the working folder.
void OpenPicture(FormEvents& window, std::string_view picture, std::u16string_view workingFolder);

}  // namespace velmora
