// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// modLoadPicBox: draws a picture file into a picture box and, on request,
// writes its size report into the window's label Label1.

#include <string>

#include "face/face_limits.h"
#include "platform/form.h"

namespace velmora {

inline constexpr int kMaxFacePixels = face::kFaceSide;
inline constexpr char16_t kTooLargeForFace[] = u"Die Datei ist zu groß für die Verwendung als Face!";

// Draws the picture at `path` unscaled at the box's top-left corner. With
// `report`, checks its size against kMaxFacePixels x kMaxFacePixels and
// writes the report into form.Label1: the size, the file's bytes and the
// length of form.txt's text, or in red the size and "too large for a Face".
// Returns true when the picture was drawn (an oversize one included);
// `errorText` is "" then, otherwise it says in German what failed.
[[nodiscard]] bool LoadPicBox(Form& form, const std::u16string& path, PictureBox* box, bool report,
                              std::u16string& errorText);

}  // namespace velmora
