// What realises the control model (the Win32 adapter, the simulated
// desktop): told of every change the logic makes to its controls.
#pragma once

#include <cstdint>

namespace vitrolux::platform {

enum class Property : std::uint8_t {
  Caption,
  ToolTip,
  Visible,
  Rect,
  BackColor,
  ForeColor,
  Picture,
  OnTop,
  Interval,
  Rows,
  Selection,
};

// Realises the model: told after each change, with the new value in place.
class Toolkit {
 public:
  virtual ~Toolkit() = default;
  virtual void controlChanged(int index, Property property) = 0;
  // A control made while the frame runs, already in the model.
  virtual void controlAdded(int index) = 0;
  // A control about to go; the model still holds it.
  virtual void controlRemoved(int index) = 0;
};

}  // namespace vitrolux::platform
