// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `velmora --header`: a picture file's Face header on standard output, for
// scripts and mail programs, without a window.

#include <ostream>

#include "app/command_line.h"
#include "platform/file_system.h"

namespace velmora {

// Prints the header (folded on request) and returns kStatusDone; a picture
// that is not kFaceSide x kFaceSide is printed too, with a warning on `err`.
// With --fit, a picture that is no Face yet (too long, or of another size) is
// fitted first, in memory. A file that
// gives no Face (too long without --fit, unreadable, no PNG picture) prints
// nothing on `out`, the reason in German on `err`, and returns kStatusRefused.
int PrintHeader(FileSystem& files, const HeaderRequest& request, std::ostream& out, std::ostream& err);

}  // namespace velmora
