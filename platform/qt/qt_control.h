// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The common base of the control adapters, by which the platform keeps them.

#include <QObject>

namespace velmora {

class QtControl {
 public:
  QtControl() = default;
  QtControl(const QtControl&) = delete;
  QtControl& operator=(const QtControl&) = delete;
  virtual ~QtControl() = default;

 protected:
  // The context of the adapter's signal connections: they end with the
  // adapter, so a widget that outlives it (the window deletes its widgets
  // last) cannot call into it.
  QObject& connections() { return connections_; }

 private:
  QObject connections_;
};

}  // namespace velmora
