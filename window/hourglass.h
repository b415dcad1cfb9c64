// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hourglass over the window while a long job runs.

#include "platform/controls.h"

namespace velmora {

class Hourglass {
 public:
  explicit Hourglass(Window& window) : window_(window) { window_.SetMousePointer(MousePointer::kHourglass); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;
  ~Hourglass() { window_.SetMousePointer(MousePointer::kDefault); }

 private:
  Window& window_;
};

}  // namespace velmora
