// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What assistive technology reads out of the window where Qt's own accessible
// interfaces would read it wrongly on Linux:
// - a drop-down list that has a name is read out by it, its current entry as
//   its value (Qt names it by its current entry there, and leaves the name to
//   a label beside it, which the window does not have);
// - the picture box is a picture, not a frame;
// - the window itself is a window, not a client area.

namespace velmora {

class AccessibleControls {
 public:
  // Installs these interfaces for the application's lifetime, before any
  // control is built: Qt keeps the interface it gave a widget first. Installing
  // them again changes nothing.
  AccessibleControls();
};

}  // namespace velmora
