// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `velmora --header`: a picture file's Face header on standard output, for
// scripts and mail programs, without a window.

#include <ostream>

#include "app/command_line.h"
#include "platform/file_system.h"
#include "platform/picture_reader.h"

namespace velmora {

// Prints the header (folded on request) and returns kStatusDone; a picture
// that is not kFaceSide x kFaceSide is printed too, with a warning on `err`.
// With --fit, a picture that is no Face yet (too long, of another size, or
// of another format, read by `reader`) is fitted first, in memory; with
// --crop only the square is. A file that gives no Face (too long without
// --fit, unreadable, no picture, a square wholly outside it) prints nothing
// on `out`, the reason in German on `err`, and returns kStatusRefused.
int PrintHeader(FileSystem& files, PictureReader& reader, const HeaderRequest& request, std::ostream& out,
                std::ostream& err);

}  // namespace velmora
